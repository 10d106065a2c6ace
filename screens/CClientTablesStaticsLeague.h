#pragma once
// The league table of one division as it stood on a match date (screen 8)
// and its twin split into home and away figures (screen 9). The standings
// are rebuilt from the division's history and ranked here, with an arrow
// for each club's move since the match day before and the promotion,
// play-off and relegation places marked beside the list.
#include "shell/CGameClient.h"

#include "common/CDate.h"
#include "database/CDivisionDatabase.h"
#include "xframework/CXListBox.h"

#include <memory>
#include <string>
#include <vector>

class CClubDatabase;
class CCountryDatabase;
class CXAnimation;
class CXComboBox;
class CXListBox;

class CClientTablesStaticsLeague : public CGameClient {
public:
    enum : uint32_t {
        ID_TABLE = 1036,
        ID_SCROLLBAR = 901,
        ID_COUNTRY_CHOICE = 1138,
        ID_DIVISION_CHOICE = 1139,
        ID_DATE_CHOICE = 1143,
        ID_RANK_HEADER = 1035,
    };
    // Colours of the zone boxes beside the list.
    static constexpr COLORREF kPromotionColour = 0x0000FF00;
    static constexpr COLORREF kPlayOffColour = 0x00FF0000;
    static constexpr COLORREF kLowerPlayOffColour = 0x0000FFFF;
    static constexpr COLORREF kRelegationColour = 0x000000FF;

    // One club's standing: the club (with its name) and its history row.
    struct STANDING {
        const CClubDatabase* pClub = nullptr;
        std::string name;
        DIVISIONHISTORYROW row;
        int Points() const { return row.byPoints; }
        int GoalsFor() const { return row.abyGoalsFor[0] + row.abyGoalsFor[1]; }
        int GoalsAgainst() const { return row.abyGoalsAgainst[0] + row.abyGoalsAgainst[1]; }
    };

    explicit CClientTablesStaticsLeague(bool bHomeAndAway = false);
    ~CClientTablesStaticsLeague() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    void OnSort(uint32_t dwHeaderID) override;
    // A figure of a club's row opens the matches behind it.
    void OnDoubleClicked(uint32_t dwID) override;
    // The list of matches behind a column of the table (-1 for none).
    static int MatchListOfColumn(uint16_t wHeaderID);
    void OnPrint() override;
    void ConstructScreen() override;

    // True when the second standing ranks above the first: more points,
    // then the larger goal difference (or goals for), then the name first
    // in byte order.
    static bool CompareStandings(const STANDING& first, const STANDING& second, bool bGoalDifference);
    // A bubble sort by CompareStandings: equal standings keep their order.
    static void SortStandings(std::vector<STANDING>& standings, bool bGoalDifference);

    // The table as shown, for the program and its tests.
    virtual void FillTable();
    CDivisionDatabase* GetDivision() const { return m_pDivision; }
    const CDate& GetViewDate() const { return m_dateView; }
    CXListBox* GetTable() const;
    // The zone colour beside each row of the last drawing (0: none).
    const std::vector<COLORREF>& GetZoneColours() const { return m_ZoneColours; }
    // The arrow of each row: 1 up, -1 down, 0 the same, 2 none.
    const std::vector<int>& GetMoves() const { return m_Moves; }
    // Shows another match date of the date list (its row); false for a row
    // not to be had.
    bool ChooseDateRow(int nRow);

protected:
    // The two rankings of the division for the view date: as of the club's
    // last counted match day and one match day earlier.
    struct RANKING {
        std::vector<STANDING> current;
        std::vector<STANDING> previous;
        int nMostMatchDays = 0;
        bool bGoalDifference = false;
    };
    // A screen of the family: its id, whether it has the date choice and
    // whether a date after the season's end shows the day after the end.
    CClientTablesStaticsLeague(uint16_t wScreenID, bool bDateChoice, bool bClampToSeasonEnd);

    // Adjusts the view date and ranks the division as of it.
    RANKING RankDivision();
    // The arrow of a row for a move (1 up, -1 down, 0 the same; 2 none),
    // kept for GetMoves.
    void AddMoveArrow(CXListBox& list, int nRow, int nMove);
    // The move of the club at a rank of the current ranking (2: none
    // before the second match day).
    static int MoveOf(const RANKING& ranking, int nRank);
    // Clears the list and the moves and lays the list out for the columns.
    void StartTable(CXListBox& list, const LISTCOLUMN* pColumns, int nRows);
    // The caption tab over the list, the choices, then the list sorted by
    // rank and shown.
    void ShowTable(CXListBox& list, int nCaptionSet);
    // The row colour of a club: its human manager's colour, else white.
    COLORREF ClubColour(const CClubDatabase& club) const;

    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    CDate m_dateView;

private:
    // The title bar's country, division and (when the screen has it) date
    // selectors on the shown division, the last past date chosen.
    void ShowChoices();
    void SelectLastPastDate();
    CXComboBox* DateChoice() const;
    void AdjustViewDate();
    std::vector<COLORREF> ComputeZones() const;
    void DrawZones(bool bShow);

    bool m_bHomeAndAway = false;
    bool m_bDateChoice = true;
    bool m_bClampToSeasonEnd = true;
    bool m_bFilling = false;
    std::vector<COLORREF> m_ZoneColours;
    std::vector<int> m_Moves;
    std::unique_ptr<CXSurface> m_pArrowSurfaces[3];
    std::unique_ptr<CXAnimation> m_pIconUp;
    std::unique_ptr<CXAnimation> m_pIconDown;
    std::unique_ptr<CXAnimation> m_pIconSame;
};

// Screen 9: the same standings with home and away figures side by side.
class CClientTablesStaticsHomeAndAway : public CClientTablesStaticsLeague {
public:
    CClientTablesStaticsHomeAndAway() : CClientTablesStaticsLeague(true) {}
};
