#pragma once
// The matches behind one figure of a table: a club's wins, draws, defeats,
// goals or cards of a season, its last six home or away results, the
// matches in which a player played, scored, was booked or sent off or was
// the player of the match, or those a referee took charge of. Each row has
// the date, both clubs, the result for the club, the score and the crowd; a
// match of the running season opens its details, whose arrows step through
// this list. A list without rows does not open.
#include "popups/CPopupAdvancedMatchDetails.h"

#include "common/CDate.h"
#include "common/Identifiers.h"

#include <cstdint>
#include <string>
#include <vector>

class CClubDatabase;
class CDatabaseHandler;
class CXListBox;

class CPopupGeneralMatchDetails : public CMatchListPopup {
public:
    static constexpr uint16_t kScreenID = 54;
    static constexpr uint8_t kRunningSeason = 255;
    enum : uint32_t { ID_LIST = 531, ID_SCROLLBAR = 901 };
    enum : int {
        TYPE_CLUB_PLAYED = 0,          // 1-6 won, drawn, lost, scored, conceded, unbeaten
        TYPE_CLUB_HOME_WON = 7,        // 7-11 as 1-5 at home
        TYPE_CLUB_AWAY_WON = 12,       // 12-16 as 1-5 away
        TYPE_HOME_FORM = 17,
        TYPE_AWAY_FORM = 18,
        TYPE_PLAYER_APPEARANCES = 19,
        TYPE_PLAYER_GOALS = 20,
        TYPE_PLAYER_BOOKINGS = 21,
        TYPE_PLAYER_SENDINGS_OFF = 22,
        TYPE_PLAYER_AWARDS = 23,
        TYPE_CLUB_BOOKINGS = 24,
        TYPE_CLUB_SENDINGS_OFF = 25,
        TYPE_REFEREE_BOOKINGS = 26,
        TYPE_REFEREE_SENDINGS_OFF = 27,
        TYPE_REFEREE_MATCHES = 28,
        TYPE_REFEREE_PENALTIES = 29,
        TYPE_REFEREE_FOULS = 30,
        TYPE_COUNT
    };

    // One row: the match, its date (none when its fixture is gone), both
    // clubs, the result for the listed club and the crowd (none when unknown).
    struct ROW {
        uint32_t dwMatchID = 0;
        CDate date;
        ID_CLUB idHome = 0;
        ID_CLUB idAway = 0;
        std::string score;
        std::string word;
        bool bAttendance = false;
        uint32_t dwAttendance = 0;
        uint8_t byKind = 0;
    };

    CPopupGeneralMatchDetails();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void ConstructScreen() override;
    int32_t GetPreviousMatch() override;
    int32_t GetNextMatch() override;

    // Who the list is about, set by the opener before Show.
    void SetPerson(ID_PLAYER idPerson) { m_idPerson = idPerson; }
    void SetReferee(uint16_t wReferee) { m_wReferee = wReferee; }
    void SetClub(ID_CLUB idClub) { m_idClub = idClub; }
    void SetReferenceDate(const CDate& date) { m_ReferenceDate = date; }
    // Opens the list of a type (0-30) over the top popup or the screen; the
    // mask's low byte admits the match kinds by bit; a season index other
    // than the running one (or 255) reads a finished season's league
    // (types 0-16 only). False, with nothing opened, when no match is listed.
    bool Show(int nType, uint32_t dwMask, uint8_t bySeason);

    // The rows of the list as set up, in date order.
    std::vector<ROW> BuildRows() const;
    const std::vector<ROW>& GetRows() const { return m_Rows; }
    bool IsRunningSeason() const { return m_bLive; }
    int GetType() const { return m_nType; }
    CXListBox* GetList() const;

private:
    std::vector<ROW> ClubResults(CDatabaseHandler& database, const CClubDatabase& club) const;
    std::vector<ROW> ClubForm(const CClubDatabase& club) const;
    std::vector<ROW> HistoryRows(CDatabaseHandler& database) const;
    void FillList();
    // The list's selection moved as by the key (Up 38, Down 40): the match
    // of the row it lands on, -1 when it did not move.
    int32_t StepSelection(uint32_t dwKey);
    std::string TitleText() const;
    // The club, player or referee whose matches are listed.
    std::string SubjectName() const;

    ID_PLAYER m_idPerson = 0;
    uint16_t m_wReferee = 0;
    ID_CLUB m_idClub = 0;
    CDate m_ReferenceDate;
    int m_nType = 0;
    uint8_t m_byMask = 0xFF;
    uint8_t m_bySeason = kRunningSeason;
    bool m_bLive = true;
    std::vector<ROW> m_Rows;
};

// The one list of matches of the game.
CPopupGeneralMatchDetails& GetGeneralMatchDetailsPopup();
