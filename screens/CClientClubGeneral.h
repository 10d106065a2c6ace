#pragma once
// One club's facts for one season (screen 24): its manager, division,
// ground and the board's expectation, the league record, four league
// figures (final, best, worst and previous place), five money figures with
// their total, its cup runs, and a graph of its points and place match day
// by match day. The title bar's selectors choose the club and the season; a
// finished season is read from the division's season summaries. For the
// human's own club the bottom bar offers resigning and asking the board for
// a decision; for any other club applying for its job, withdrawing the
// application and, once the club offers the job, taking it.
#include "shell/CGameClient.h"

#include "common/Identifiers.h"

#include <array>
#include <cstdint>
#include <string>

class CClubDatabase;
class CDatabaseHandler;
class CDivisionDatabase;
class CSaveGame;
class CXGraph;
class CXListBox;

// The fields of a club's 364-byte season summary that the screen shows.
struct CLUBSEASONSUMMARY {
    static constexpr int kBytes = 364;
    std::array<uint8_t, 7> abyCupRound{};
    std::array<int32_t, 5> anMoney{};
    int32_t nCapacity = 0;
    uint16_t wClubId = 0;
    uint16_t wManagerId = 0;
    // Played, won, drawn, lost, goals for, goals against, points.
    std::array<uint8_t, 7> abyRecord{};
    // Final, best, worst and previous place.
    std::array<uint8_t, 4> abyPlaces{};
    uint8_t byTargetBand = 0;
    uint8_t byDivisionId = 0;

    // False when fewer than kBytes bytes are given.
    bool Read(const uint8_t* pRecord, size_t nBytes);
};

class CClientClubGeneral : public CGameClient {
public:
    enum : uint32_t {
        ID_POSITION_LINE = 11,
        ID_POINTS_LINE = 12,
        ID_RESIGN = 273,
        ID_BOARD_DECISION = 274,
        ID_APPLY = 275,
        ID_GRAPH = 276,
        ID_RECORD_LIST = 278,
        ID_CUP_LIST = 279,
        ID_WITHDRAW = 282,
        ID_ACCEPT = 283,
        ID_SCENARIO = 277,
        ID_CUP_BAR = 901,
        ID_MANAGER = 939,
        ID_DIVISION = 940,
        ID_EXPECTATION = 941,
        ID_GROUND = 942,
        ID_CAPACITY = 943,
        ID_FIRST_MONEY = 944,
        ID_FIRST_FIGURE = 959,
        ID_MONEY_TOTAL = 10001,
        ID_SEASON_CHOICE = 1141,
    };
    // Graph lines.
    enum : int { LINE_POINTS = 0, LINE_POSITION = 1 };
    // Messages of the bottom buttons' questions.
    enum : int {
        MESSAGE_BOARD_DECISION = 12,
        MESSAGE_APPLY = 13,
        MESSAGE_RESIGN = 14,
        MESSAGE_WITHDRAW = 48,
        MESSAGE_ACCEPT = 49,
    };
    static constexpr int kSeasonBase = 1999;
    static constexpr int kSeasonSelector = 6;

    // The change parameter: the club in bits 0-15, and from bit 16 the
    // season index plus one (0 for the current season).
    // The club and season the title bar's selectors name after a change of
    // control dwID; false when dwID is none of them (or the bars are
    // missing), and the screen leaves the change to its base.
    static bool ReadClubSelectors(uint32_t dwID, int nSelectedSeason, const CClubDatabase*& pChosen, int& nSeason);
    static uint32_t MakeParameter(uint16_t wClubID, int nSeasonIndex)
    {
        return wClubID | (static_cast<uint32_t>(nSeasonIndex + 1) << 16);
    }

    CClientClubGeneral();
    ~CClientClubGeneral() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnEndMessageBoxPopup() override;
    void OnPrint() override;
    void ConstructScreen() override;

    void Refresh(bool bRefillSeasons);
    void FillSeasonSelector();
    // Reads the club's summary of the selected finished season; false (with
    // a log line) when no division's file holds one.
    bool UpdateSeasonData();
    // The title bar's season selector: the seasons the game keeps up to the
    // current one, the selected one chosen. Shared by the club screens.
    static void FillSeasonSelector(int nCurrentSeason, int nSelectedSeason);
    // The club's summary of the season nBack seasons before the current one,
    // from the division files that hold the finished seasons.
    static bool FindSeasonSummary(const CDatabaseHandler& database, const CClubDatabase& club, int nBack,
                                  CLUBSEASONSUMMARY& summary);
    void FillGraph();

    const CClubDatabase* GetClub() const { return m_pClub; }
    int GetCurrentSeason() const { return m_nCurrentSeason; }
    int GetSelectedSeason() const { return m_nSelectedSeason; }
    const CLUBSEASONSUMMARY& GetSeasonSummary() const { return m_Summary; }
    CXGraph* GetGraph() const;
    CXListBox* GetRecordList() const;
    CXListBox* GetCupList() const;
    // The text of a label (empty when there is none).
    std::string LabelText(uint32_t dwID) const;

private:
    bool IsHumanClub() const;
    CSaveGame* Human() const;
    void ShowButton(uint32_t dwID, bool bShown);
    void ShowFacts(const CLUBSEASONSUMMARY& facts, const CDivisionDatabase* pDivision);
    void ShowBottomButtons();
    // The current season's facts in the form of a summary.
    CLUBSEASONSUMMARY CurrentFacts() const;

    CClubDatabase* m_pClub = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    int m_nCurrentSeason = 0;
    int m_nSelectedSeason = 0;
    CLUBSEASONSUMMARY m_Summary;
    // The manager the screen names, whose details his name opens.
    ::ID_MANAGER m_idShownManager = 0;
    bool m_bSummaryFound = false;
    // The line buttons as they were when the screen last closed, given back
    // when its own selectors open it again.
    std::array<uint8_t, 2> m_abyKeptLines{1, 1};
    bool m_bRestore = false;
};

CClientClubGeneral& GetClubGeneralScreen();
