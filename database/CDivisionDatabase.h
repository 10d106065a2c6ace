#pragma once
// One league division of a country: its rules, its clubs (owned), its league
// fixtures, the season's transfer and loan records and its archive of past
// seasons. It keeps the league table by sorting its clubs.
#include "common/CDate.h"
#include "common/CXList.h"
#include "common/Identifiers.h"

#include <cstdint>
#include <vector>

class CBinaryReader;
class CBinaryWriter;
class CClubDatabase;
class CCountryDatabase;
class CDatabaseHandler;
class CDivisionFixturesDatabase;

constexpr int DIVISION_RECORD_BYTES = 232;
constexpr int DIVISION_NAME_BYTES = 21;
constexpr int DIVISION_ARCHIVE_BYTES = 408;
constexpr int DIVISION_PERIOD_ELEVEN = 11;

constexpr uint8_t DIVISION_KIND_LEAGUE = 1;
constexpr uint8_t DIVISION_KIND_BOTTOM_OTHER = 2;

struct DIVISIONMATCHRULES {
    int32_t nRules = 0;
    uint8_t byLast = 0;
};

struct DIVISIONPERIODENTRY {
    int32_t idClub = 0;
    int32_t idPlayer = 0;
    int32_t nPoints = 0;
};

struct DIVISIONARCHIVERECORD {
    uint8_t abyData[DIVISION_ARCHIVE_BYTES] = {};
    uint8_t GetKey() const { return abyData[404]; }
};

struct PLAYOFFENTRY {
    uint32_t idClub = 0;
    int32_t nTieGoals = -1;
};

// What of a play-off lives in the file; the round tables come from the
// play-off templates when the play-off is run.
struct PLAYOFFRECORD {
    uint8_t byCurrentRound = 0;
    uint8_t byEntrantsLeft = 0;
    std::vector<PLAYOFFENTRY> Entries;
};

class CDivisionDatabase {
public:
    CDivisionDatabase();
    ~CDivisionDatabase();
    CDivisionDatabase(const CDivisionDatabase&) = delete;
    CDivisionDatabase& operator=(const CDivisionDatabase&) = delete;

    // Reads a division with its clubs, fixtures and records. False (logged)
    // for a short or damaged one; what was read stays owned and is freed by
    // the destructor.
    bool Load(CBinaryReader& reader, CCountryDatabase* pCountry);
    bool Save(CBinaryWriter& writer) const;
    // The pointer pass of every club; the league fixtures find their
    // referees through the country that owns them.
    void SetupPointers();

    CClubDatabase* GetClubFromID(ID_CLUB idClub) const;
    // Appends a club to both club lists (no clash rule).
    void AppendClub(CClubDatabase* pClub);
    // Sorts the table (top first); with bUpdatePositions every club takes its
    // place and its best and worst places follow.
    void SortLeagueTable(bool bUpdatePositions);
    void SortClubsByID();
    void SortFixturesByDate();
    // True when club A ranks above club B: points, then goal value, then name.
    bool CompareLeagueRows(const CClubDatabase* pA, const CClubDatabase* pB) const;
    void UpdateLeagueTableForResult(CClubDatabase* pHome, CClubDatabase* pAway, int nHomeGoals, int nAwayGoals);

    int GetLeagueMatchDayCount() const;
    int GetMeetings() const;
    // Games per club and club appearances from the club count and the rule.
    void UpdateGameCounts();
    DIVISIONARCHIVERECORD* GetSeasonArchiveRecord(uint8_t byKey, LPXLISTNODE* ppNode = nullptr) const;
    bool IsMidSeasonDate(const CDate& date) const;
    // The earliest fixture date on or after the date; no date without one.
    CDate FindNextMatchDate(const CDate& today) const;
    int GetStartMonth() const { return m_byStartMonth ? m_byStartMonth : 8; }
    int GetEndMonth() const { return m_byEndMonth ? m_byEndMonth : 5; }
    const char* GetName() const { return m_szName; }
    void SetName(const char* pszName);
    int GetClubCount() const { return m_lstClubsByTable.GetCount(); }
    bool HasPlayOff() const { return m_pPlayOff != nullptr; }

    // The root, set while it exists.
    static CDatabaseHandler* m_pDatabaseHandler;

    char m_szName[DIVISION_NAME_BYTES] = {};
    uint8_t m_byDivisionId = 0;
    uint8_t m_bySpare1 = 0;
    CCountryDatabase* m_pCountry = nullptr;
    uint8_t m_byKind = DIVISION_KIND_LEAGUE;
    int32_t m_nManagerOfPeriod = 0;
    int32_t m_nPlayerOfPeriod = 0;
    uint8_t m_byDivisionNumber = 0;
    uint8_t m_bySeasonWeekday = 0;
    uint8_t m_byMidweekWeekday = 0;
    uint8_t m_byStartMonth = 0;
    uint8_t m_byStartWeek = 0;
    uint8_t m_byEndMonth = 0;
    uint8_t m_byEndWeek = 0;
    uint8_t m_byPromotionZone = 0;
    uint8_t m_byRelegationZone = 0;
    uint8_t m_byAutomaticPromotions = 0;
    uint8_t m_byAutomaticRelegations = 0;
    uint8_t m_bySpare2 = 0;
    uint8_t m_byLowerPlayOffPlaces = 0;
    uint8_t m_byPlayOffPromotions = 0;
    uint8_t m_byPlayOffRelegations = 0;
    uint8_t m_byPlayOffPlaces = 0;
    uint8_t m_bySeasonStarted = 0;
    uint8_t m_byTableChanged = 0;
    uint8_t m_byMeetingsRule = 0;
    uint8_t m_byGoalValueRule = 0;
    uint8_t m_bySquadNumbers = 0;
    int32_t m_anFigures[5] = {};
    DIVISIONMATCHRULES m_MatchRules;
    DIVISIONPERIODENTRY m_aEleven[DIVISION_PERIOD_ELEVEN];
    int32_t m_nClubCount = 0;
    int32_t m_nTransferCount = 0;
    int32_t m_nLoanCount = 0;
    CDate m_SeasonStart;
    CDate m_SeasonEnd;
    PLAYOFFRECORD* m_pPlayOff = nullptr;
    CDate m_NextMatchDate;
    int32_t m_nClubAppearances = 0;
    int32_t m_nGamesPerClub = 0;
    uint8_t m_byTelevisedAverage = 0;
    CXList m_lstClubsByTable;
    CXList m_lstClubsByID;
    CXList m_lstFixtures;        // CDivisionFixturesDatabase
    CXList m_lstSeasonTransfers; // CTransferHistoryEntry
    CXList m_lstSeasonLoans;     // CLoanHistoryEntry
    CXList m_lstSeasonArchive;   // DIVISIONARCHIVERECORD

private:
    void FreeAll();
};
