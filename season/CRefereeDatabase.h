#pragma once
// One referee of a country: name, a few attribute bytes, match statistics by
// competition and the fixtures he is assigned to.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/CXList.h"

class CBinaryReader;
class CBinaryWriter;
class CCountryDatabase;
class CDatabaseHandler;
class CDivisionFixturesDatabase;
class CCupFixturesDatabase;

// Assignment kinds: league fixtures, cup fixtures of a country, the handler's
// cup and friendly fixtures. Other kinds are not counted by IsAvailable.
enum {
    REFEREE_ASSIGNMENT_LEAGUE = 0,
    REFEREE_ASSIGNMENT_COUNTRY_CUP = 1,
    REFEREE_ASSIGNMENT_CUP = 2,
};

struct REFEREEASSIGNMENT {
    CDivisionFixturesDatabase* pLeagueFixture = nullptr;  // set for league fixtures
    CCupFixturesDatabase* pCupFixture = nullptr;          // set for cup fixtures
    uint32_t dwKind = 0;
};

// Statistics of one competition kind (0-3).
struct REFEREESTATISTICS {
    uint16_t wBookings = 0;
    uint16_t wFouls = 0;
    uint8_t bySendingsOff = 0;
    uint8_t byMatches = 0;
    uint8_t byPenalties = 0;
};

class CRefereeDatabase {
public:
    static constexpr int FILE_SIZE = 48;
    static constexpr int COMPETITIONS = 4;

    CRefereeDatabase() = default;
    ~CRefereeDatabase();
    CRefereeDatabase(const CRefereeDatabase&) = delete;
    CRefereeDatabase& operator=(const CRefereeDatabase&) = delete;

    // The handler whose surname dictionary the names point into.
    static void SetDatabaseHandler(CDatabaseHandler* pHandler) { m_pDatabaseHandler = pHandler; }

    // Reads the 48-byte record. A surname offset that is not the start of a
    // name of the dictionary leaves the surname empty.
    bool Load(CBinaryReader& reader, CCountryDatabase* pCountry);
    bool Save(CBinaryWriter& writer) const;

    // "I. Surname", or the surname alone without an initial, in one shared
    // buffer that the next call overwrites.
    const char* GetName() const;
    // False when a league or cup assignment is on that date. Fixtures are
    // assigned season by season, and each new one asks every referee of its
    // country: looked up, not walked, and the index read again only when it
    // was dropped or fixtures have moved since he last looked.
    bool IsAvailable(uint32_t dwDate) const
    {
        if (!m_bBusyDatesKnown || m_dwSeenLogRound != s_dwMovedLogRound ||
            m_nSeenMoves != s_adwMovedFixtureReferees.size())
            RefreshBusyDates();
        return !std::binary_search(m_adwBusyDates.begin(), m_adwBusyDates.end(), dwDate);
    }
    // A fixture calls this with its referee's identifier when a date it
    // already had changes, so that he reads his dates again.
    static void NoteFixtureDateChanged(uint32_t dwRefereeID);

    void AddAssignment(CDivisionFixturesDatabase* pFixture, uint32_t dwKind);
    void AddAssignment(CCupFixturesDatabase* pFixture, uint32_t dwKind);
    // Forgets the assignment to a fixture that is being freed.
    void RemoveAssignment(const void* pFixture);
    void RemoveAllAssignments();
    void RemoveEuropeanAssignments();
    int GetAssignmentCount() const { return m_lstAssignments.GetCount(); }

    // Competition 0-3: bytes are bookings, sendings-off, fouls, penalties.
    void AddMatchStatistics(int nCompetition, const uint8_t abyStats[4]);
    const REFEREESTATISTICS& GetStatistics(int nCompetition) const;
    // The statistics are the season's: a new season starts them from zero.
    void StartNewSeason();

    void Set(uint16_t wID, char chInitial, uint32_t dwSurnameOffset);
    uint16_t GetID() const { return m_wID; }
    char GetInitial() const { return m_chInitial; }
    const char* GetSurname() const { return m_pszSurname; }
    uint32_t GetSurnameOffset() const { return m_dwSurnameOffset; }
    CCountryDatabase* GetCountry() const { return m_pCountry; }
    void SetCountry(CCountryDatabase* pCountry) { m_pCountry = pCountry; }
    uint8_t GetAttributeA() const { return m_byAttributeA; }
    uint8_t GetAttributeB() const { return m_byAttributeB; }
    uint16_t GetAttributeC() const { return m_wAttributeC; }
    uint8_t GetAttributeD() const { return m_byAttributeD; }
    void SetAttributes(uint8_t byA, uint8_t byB, uint16_t wC, uint8_t byD);

private:
    void ResolveSurname();

    void AddAssignment(REFEREEASSIGNMENT* p);
    void RefreshBusyDates() const;

    static CDatabaseHandler* m_pDatabaseHandler;
    // The referees of the fixtures moved since the log was last emptied;
    // emptying it starts a new round, after which every index is read again.
    static std::vector<uint32_t> s_adwMovedFixtureReferees;
    static uint32_t s_dwMovedLogRound;

    uint16_t m_wID = 0;
    uint8_t m_byAttributeA = 0;
    uint8_t m_byAttributeB = 0;
    uint16_t m_wAttributeC = 0;
    uint8_t m_byAttributeD = 0;
    char m_chInitial = 0;
    const char* m_pszSurname = "";
    uint32_t m_dwSurnameOffset = 0;
    REFEREESTATISTICS m_Statistics[COMPETITIONS];
    CCountryDatabase* m_pCountry = nullptr;
    CXList m_lstAssignments;  // REFEREEASSIGNMENT
    // The dates of the league and cup assignments, sorted: an index over the
    // list, read again when it was dropped or one of his fixtures moved.
    mutable std::vector<uint32_t> m_adwBusyDates;
    mutable bool m_bBusyDatesKnown = false;
    mutable uint32_t m_dwSeenLogRound = 0;
    mutable size_t m_nSeenMoves = 0;
};
