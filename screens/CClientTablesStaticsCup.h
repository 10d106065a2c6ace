#pragma once
// Any domestic cup or European competition round by round (screen 15): the
// pairings and results of a knock-out round with both clubs' shirts (two-leg
// ties with the totals over both legs in the second-leg view), or a
// mini-league group's table with its fixtures. It is also a screen of the
// match-day sequence after a cup day.
#include "screens/FixtureScreenParts.h"
#include "shell/CGameClient.h"

#include "common/CDate.h"

#include <memory>
#include <string>
#include <vector>

class CCupFixturesDatabase;
class CDatabaseHandler;
class CXListBox;
struct CUP;
struct ITEMCUPROUNDINFORMATION;
struct ITEMCUPSTRUCTUREINFORMATION;
struct MINILEAGUEGROUP;

class CClientTablesStaticsCup : public CGameClient {
public:
    enum : uint32_t {
        ID_FIXTURES = 177,
        ID_GROUP = 184,
        ID_SCROLLBAR = 901,
        ID_GROUP_SCROLLBAR = 902,
        ID_COUNTRY_CHOICE = 799,
        ID_CUP_CHOICE = 800,
        ID_ROUND_CHOICE = 801,
        ID_LEG_CHOICE = 806,
        ID_HOME_HEADER = 1159,
        ID_SCORE_HEADER = 1157,
        ID_AWAY_HEADER = 1160,
    };
    // The screen parameter of the first European competition, whose cup
    // number is 0.
    static constexpr uint32_t kFirstEuropeanCup = 244;
    // The marks beside a group's qualifying places: the first two, and the
    // third when the round has eight groups.
    static constexpr COLORREF kQualifyMark = 0x0000FF00;
    static constexpr COLORREF kThirdPlaceMark = 0x00FF0000;

    CClientTablesStaticsCup();
    ~CClientTablesStaticsCup() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnPrint() override;
    void ConstructScreen() override;
    int32_t GetPreviousFixture() override;
    int32_t GetNextFixture() override;

    // The middle cell of a knock-out row. One match: its score with the
    // extra-time or penalty wording. Two legs, first-leg view: the first
    // leg's score. Second-leg view (the row's clubs as they play the second
    // leg): "-" until it is played, then "(home total) score (away total)".
    static std::string TieScore(CDatabaseHandler& database, const CCupFixturesDatabase& fixture, bool bTwoLegs,
                                bool bSecondLegView);

    // What is shown, for the program and its tests.
    const CUP* GetCup() const { return m_pCup; }
    int GetCountryID() const { return m_nCountry; }
    int GetRound() const { return m_nRound; }
    int GetLegOrGroup() const { return m_nLegOrGroup; }
    bool IsMatchDay() const { return m_bMatchDay; }
    CXListBox* GetFixtureList() const;
    CXListBox* GetGroupList() const;
    const FixtureKitRow* GetRow(int nListRow) const;
    const std::vector<COLORREF>& GetGroupMarks() const { return m_GroupMarks; }
    // Shows another round (1-based) or leg/group row of the selectors;
    // false for one not to be had.
    bool ChooseRound(int nRound);
    bool ChooseLegOrGroup(int nRow);

private:
    const ITEMCUPSTRUCTUREINFORMATION* Definition() const;
    const ITEMCUPROUNDINFORMATION* RoundInfo() const;
    bool RoundDate(bool bSecondLeg, CDate& date) const;
    void SelectCup(int nCountry, int nKind);
    void FillCountrySelector();
    void FillCupSelector();
    void FillRoundSelector();
    void FillLegSelector();
    void SelectCurrentRound();
    void DrawRound();
    void FillFixtures();
    void ShowGroup();
    void FreeKits();
    int CurrentRound(bool bRoundBefore) const;
    bool InGroupStageInPlay() const;
    const MINILEAGUEGROUP* SelectedGroup() const;
    void TakeSelection();

    uint32_t m_nCupNumber = 0;
    int m_nCountry = 0;  // 0: the European competitions
    int m_nKind = 0;
    int m_nRound = 0;
    int m_nLegOrGroup = 0;
    CUP* m_pCup = nullptr;
    bool m_bMatchDay = false;
    bool m_bFilling = false;
    fixture_screens::KitRows m_Rows;
    std::vector<COLORREF> m_GroupMarks;
};
