#pragma once
// A game started from one of eight prepared scenarios, or the scenario of the
// game in progress shown again. Choosing: the arrows page through the
// scenarios (picture, title, description, starting money, who set the goal
// and the time it allows), the player types his name and picks his
// nationality, and OK loads the scenario's world (the starting world, or
// for the sinking ship a world of its own half a season on) and makes him
// its one human manager with the scenario's number; the start-up screen
// behind then hands him the scenario's club. Showing: the running scenario's page, read-only,
// with the text of its introduction, its failure or its success; after a
// failure or success OK leads back to the start-up screen.
#include "shell/CGamePopup.h"
#include "shell/CFileManager.h"

#include <cstdint>
#include <memory>

class CXComboBox;
class CXEdit;
class CXSurface;

// One scenario: its picture, text items, the board objective its goal is
// judged by, its starting money, and the goal's time (kind 0 this season,
// 1 the value in seasons, 2 this season from the bottom two).
struct SCENARIORECORD {
    const char* pszPicture;
    uint8_t byTextItem;
    uint8_t byGoalItem;
    uint16_t wObjective;
    int32_t nMoney;
    uint8_t byGoalKind;
    uint8_t byGoalValue;
    uint16_t wSpare;
};

class CPopupScenario : public CGameScenarioPopup {
public:
    static constexpr int kScenarios = 8;
    enum : uint8_t { TEXT_INTRODUCTION = 0, TEXT_FAILED = 1, TEXT_ACHIEVED = 2 };
    enum : uint32_t {
        ID_PREVIOUS = 763,
        ID_NEXT = 764,
        ID_OUTCOME_TEXT = 765,
        ID_DESCRIPTION = 766,
        ID_NAME = 768,
        ID_NATIONALITY = 769,
        ID_NUMBER = 770,
        ID_GOAL_SETTER = 940,
        ID_MONEY = 1132,
        ID_GOAL_TIME = 1133,
        ID_TITLE = 1056,
    };

    CPopupScenario();
    ~CPopupScenario() override;

    // The scenario's record; null outside 0..7.
    static const SCENARIORECORD* GetScenario(int nScenario);
    // The seasons a scenario's goal allows: its value for kind 1, else 1.
    static uint8_t GoalSeasons(const SCENARIORECORD& record);

    // Opens the popup: kChoosing to choose a scenario for a new game, or a
    // running scenario's number with the text kind to show.
    bool Show(uint8_t byFixedScenario, uint8_t byTextKind) override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    int GetShownScenario() const { return m_byScenario; }
    bool IsChoosing() const { return m_byFixedScenario == kChoosing; }
    uint8_t GetTextKind() const { return m_byTextKind; }
    // The manager made by the last confirmation in choosing mode.
    bool HasCreatedManager() const { return m_bCreated; }
    // Why the last confirmation made no manager (empty when one was made).
    const char* GetRefusal() const { return m_pszRefusal; }

private:
    void DrawPage();
    void Confirm();
    CXEdit* NameEdit();
    CXComboBox* NationalityBox();

    uint8_t m_byScenario = 0;
    uint8_t m_byFixedScenario = kChoosing;
    uint8_t m_byTextKind = TEXT_INTRODUCTION;
    bool m_bCreated = false;
    const char* m_pszRefusal = "";
    CFileManager m_Archive;
    std::unique_ptr<CXSurface> m_pArrowFaces;
};
