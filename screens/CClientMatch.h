#pragma once
// The match screen (screen 3): a human club's match of the day played by
// the 3-D match engine in front of the manager. The view (or, without 3-D,
// the radar plan alone), the clock, the score with the totals of a tie over
// two legs, and below it one of four panels: the statistics with both
// sides' incidents, the players on the pitch with their condition, shots,
// passes or long passes, the commentary, or the other results of the day
// as far as the match has gone. The title bar's lists choose the panel,
// the players' figures and the camera; the keys of the view reach the
// engine (P pauses the match, which dims the view). The navigation bar's
// match button plays the rest through, records the result once and lets
// the game day go on; the tactics rows hand the human's side to the pitch
// tactics screen and come back to the running match.
#include "shell/CGameClient.h"

#include "match/MatchTypes.h"
#include "matchday/CMatchCommentator.h"
#include "matchday/CMatchEventHandler.h"
#include "matchday/CMatchEventOutput.h"
#include "shell/CGameDay.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CClubDatabase;
class CDatabaseHandler;
class CXListBox;
class CXStatic;
class CXSurface;

// One other match of the day: the clubs and the minutes of each side's goals.
struct OTHERRESULT {
    std::string Home, Away;
    std::vector<uint8_t> HomeGoalMinutes, AwayGoalMinutes;
};

class CClientMatch : public CGameClient, public CMatchEventOutput {
public:
    enum : uint32_t {
        ID_HOME_PLAYERS = 43,
        ID_AWAY_PLAYERS = 44,
        ID_HOME_INCIDENTS = 45,
        ID_AWAY_INCIDENTS = 46,
        ID_COMMENTARY = 47,
        ID_RESULTS = 53,
        ID_CAPTION = 54,
        ID_DISPLAY_MODE = 797,
        ID_PLAYER_FIGURES = 798,
        ID_CAMERA = 807,
        ID_SCORE = 939,
        ID_CLOCK = 940,
        ID_FIRST_HOME_STATISTIC = 941,  // 11 home values, then 11 away values
    };
    enum : uint8_t { MODE_STATISTICS = 0, MODE_PLAYERS, MODE_COMMENTARY, MODE_RESULTS, MODE_HOME_TACTICS,
                     MODE_AWAY_TACTICS, MODE_COUNT };
    enum : uint8_t { FIGURES_CONDITION = 0, FIGURES_SHOTS, FIGURES_PASSES, FIGURES_LONG_PASSES, FIGURES_COUNT };
    static constexpr int kStatisticRows = 11;
    // The camera without a 3-D view: the radar plan fills the view.
    static constexpr uint8_t kPlanCamera = 2;
    static constexpr int kCameraCount = 8;

    CClientMatch();
    ~CClientMatch() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    // The event outputs of the running match.
    void AddToCommentary(const ITEMMATCHEVENTINFORMATION& event) override;
    void QueueCrowdSound(int nCategory, uint32_t dwDelay) override;
    void PlayCrowdSound(int nCategory) override;
    void UpdateCrowdMood(CMatchClub* pClub, int nCode) override;
    void PlayCrowdReaction(CMatchClub* pClub, int nCode) override;
    void ShowIncident(const ITEMINCIDENTINFORMATION& incident) override;

    // Plays what is left of the match through, records it once and lets the
    // game day go on; false when there was no match to end.
    bool EndMatch();
    void SetDisplayMode(uint8_t byMode);
    void SetCamera(uint8_t byCamera);
    // One frame of the match: the engine moves on unless halted, then the
    // view, the clock, the score and the panel.
    void UpdateFrame();

    // The score line: "%2d - %2d", with the totals of both legs around it
    // in a tie over two legs.
    static std::string FormatScore(int nHome, int nAway, bool bTwoLegs, int nFirstLegHome, int nFirstLegAway);
    // A result of another match as it stood at the minute.
    static std::string FormatResultAt(const OTHERRESULT& result, int nMinute);

    uint8_t GetDisplayMode() const { return m_byDisplayMode; }
    uint8_t GetCamera() const { return m_byCamera; }
    bool IsHalted() const { return m_bHalted; }
    const std::vector<OTHERRESULT>& GetOtherResults() const { return m_Results; }
    uint8_t GetFirstLegHome() const { return m_byFirstLegHome; }
    uint8_t GetFirstLegAway() const { return m_byFirstLegAway; }
    const MATCHDAYFIXTURE& GetFixture() const { return m_Fixture; }
    std::string ControlText(uint32_t dwID) const;
    CXListBox* GetList(uint32_t dwID) const;
    const CMatchCommentator* GetCommentator() const { return m_pCommentator.get(); }

private:
    bool SetupFixture(CDatabaseHandler& database);
    bool StartMatch(CDatabaseHandler& database);
    uint8_t GetMatchAttendanceAsPercentage(CDatabaseHandler& database) const;
    void SendKickOffEvents(CDatabaseHandler& database);
    void BuildControls();
    void FillTitleBarLists();
    void FillLatestResults(CDatabaseHandler& database);
    void RefreshModePanel(bool bRebuild);
    void DrawStatistics(bool bForce);
    void RefreshPlayers(bool bRebuild);
    void RefreshIncidents();
    void RefreshCommentary();
    void RefreshResults(bool bForce);
    void DrawView();
    void DrawRadarPlan(plat::Surface& target) const;
    void UpdateClockAndScore();
    void SetContinueIcon();
    bool IsMatchRunning() const;

    MATCHDAYFIXTURE m_Fixture;
    ITEMMATCHRULESINFORMATION m_Rules;
    CClubDatabase* m_pHomeClub = nullptr;
    CClubDatabase* m_pAwayClub = nullptr;
    uint8_t m_byFirstLegHome = 0, m_byFirstLegAway = 0;
    uint8_t m_byAttendancePercent = 0;
    uint8_t m_byDisplayMode = MODE_STATISTICS;
    uint8_t m_byFigures = FIGURES_CONDITION;
    uint8_t m_byCamera = 0;
    bool m_bHalted = false;
    bool m_bRecorded = false;
    int m_nSavedHuman = 0;
    uint32_t m_dwShownScore = 0xFFFFFFFF;
    uint32_t m_dwShownSecond = 0xFFFFFFFF;
    int m_nResultsMinute = -1;
    size_t m_nShownIncidents = 0;
    size_t m_nShownLines = 0;
    std::array<uint8_t, 2 * kStatisticRows> m_abyShownStatistics{};
    bool m_bStatisticsShown = false;
    std::array<std::array<int, 3>, 2 * 11> m_anShownFigures{};
    std::vector<OTHERRESULT> m_Results;
    std::unique_ptr<CXSurface> m_pView;
    std::unique_ptr<CMatchCommentator> m_pCommentator;
    std::unique_ptr<CMatchEventHandler> m_pHandler;
    bool m_bOwn3D = false;
    bool m_bForceCaption = true;
};

CClientMatch& GetMatchScreen();
