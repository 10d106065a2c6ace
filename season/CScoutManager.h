#pragma once
// One human manager's scouts: four scout slots with their search criteria,
// the player queries that send a scout to watch a list of players or youth
// players, and the reports that come back. A report carries the scout's
// judgement: each figure blurred by an error that shrinks with his judging.
#include <cstdint>

#include "common/CDate.h"
#include "common/CXList.h"
#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;
class CPersonDatabase;
class CSaveGame;
class CStaffDatabase;

constexpr int SCOUT_SLOTS = 4;
constexpr int SCOUT_SLOT_BYTES = 36;
constexpr int SCOUT_REPORT_ERRORS = 10;
constexpr int SCOUT_REPORT_BYTES = 24;
constexpr int SCOUT_QUERY_HEADER_BYTES = 20;
constexpr int SCOUT_QUERY_ENTRY_BYTES = 8;
constexpr int SCOUT_MAX_REPORTS = 300;
constexpr uint8_t EVENT_SCOUT_COMPLETE = 34;

struct SCOUTSLOT {
    uint32_t dwMoneyLimitA = 2000;
    uint32_t dwMoneyLimitB = 10000000;
    uint16_t wStaffId = 0;  // 0: a free slot
    uint8_t abyCriteria[4] = {2, 4, 16, 0};
    uint8_t abyRanges[9][2] = {{1, 100}, {1, 100}, {1, 100}, {1, 100}, {1, 100},
                               {1, 100}, {1, 100}, {1, 100}, {1, 100}};
    uint8_t byRangeMinimum = 14;
    uint8_t byRangeMaximum = 45;
};

// The people a query watches and its scout are held by identifier: a player
// may retire, a youth be promoted or a scout leave while the scout is out.
struct SCOUTQUERYENTRY {
    uint32_t dwFlags = 0;  // bit 0: a youth player
    uint32_t dwPersonId = 0;
    bool IsYouth() const { return (dwFlags & 1) != 0; }
    // The player or youth, or null when he is no longer in the world.
    CPersonDatabase* GetPerson() const;
};

class CScoutPlayerQuery {
public:
    CScoutPlayerQuery() = default;
    CScoutPlayerQuery(const CScoutPlayerQuery&) = delete;
    CScoutPlayerQuery& operator=(const CScoutPlayerQuery&) = delete;
    ~CScoutPlayerQuery();

    void AddPlayer(const CPersonDatabase* pPerson, bool bYouth);
    int GetEntryCount() const { return m_lstEntries.GetCount(); }
    const CXList& GetEntries() const { return m_lstEntries; }
    void SetScout(const CStaffDatabase* pScout);
    // Null when he is no longer in the world.
    CStaffDatabase* GetScout() const;

    uint32_t m_dwID = 0;
    uint32_t m_dwSecond = 0;  // the search screens'
    ID_STAFF m_idScout = 0;
    uint16_t m_wValue = 0;  // the search screens'
    uint16_t m_wDaysElapsed = 0;

private:
    friend class CScoutManager;
    CXList m_lstEntries;  // SCOUTQUERYENTRY
};

struct SCOUTREPORT {
    uint32_t dwPersonId = 0;
    uint32_t dwScoutId = 0;
    CDate Date;
    int8_t anErrors[SCOUT_REPORT_ERRORS] = {};
    uint8_t byYouth = 0;
};

class CScoutManager {
public:
    explicit CScoutManager(CSaveGame* pOwner) : m_pOwner(pOwner) {}
    ~CScoutManager();
    CScoutManager(const CScoutManager&) = delete;
    CScoutManager& operator=(const CScoutManager&) = delete;

    // Slots back to their first criteria, then the club's scouts take them.
    void ResetScouts();
    SCOUTSLOT* FindScoutSlot(uint16_t wStaffId);
    SCOUTSLOT* GetFreeScoutSlot() { return FindScoutSlot(0); }
    const SCOUTSLOT& GetSlot(int n) const { return m_aSlots[n]; }

    // Takes ownership unless the scout is busy (logged, false: the caller
    // keeps the query).
    bool AddScoutPlayerQuery(CScoutPlayerQuery* pQuery);
    // The search screens' road: the query gets an identifier when it has
    // none, is added, and its completion (event 34) is booked in the
    // manager's country nDays ahead. False (the caller keeps the query) when
    // the scout is busy or the manager has no country.
    bool SendScout(CScoutPlayerQuery* pQuery, int nDays);
    void RemoveQuery(CScoutPlayerQuery* pQuery);
    // A scout called back: his completion event leaves the manager's country
    // and the query is freed. What he cost stays paid.
    void DeleteQuery(CScoutPlayerQuery* pQuery);
    CScoutPlayerQuery* FindScoutPlayerQuery(uint32_t dwId, LPXLISTNODE* ppNode = nullptr) const;
    CScoutPlayerQuery* FindQueryByScout(uint16_t wStaffId) const;
    CScoutPlayerQuery* GetScoutQueryFromID(uint32_t dwId) const { return FindScoutPlayerQuery(dwId); }
    bool IsScoutWatchingPlayer(const CStaffDatabase* pScout, const CPersonDatabase* pPlayer) const;
    bool IsScoutWatchingYouth(const CStaffDatabase* pScout, const CPersonDatabase* pYouth) const;
    bool IsPersonBeingScouted(const CPersonDatabase* pPerson) const;
    void AddDaysToQueries(int nDays);
    int GetQueryCount() const { return m_byQueryCount; }

    const SCOUTREPORT* FindReport(uint32_t dwPersonId, LPXLISTNODE* ppNode = nullptr) const;
    const CXList& GetReports() const { return m_lstReports; }
    // The query's reports, the news and the notice; the query is freed.
    void CompleteScoutQuery(CScoutPlayerQuery* pQuery);
    // The error band of a scout's judging ability: {minimum, maximum}.
    static void GetJudgingBand(int nAbility, int& nMinimum, int& nMaximum);
    // The judging ability of a staff member.
    static int GetJudgingAbility(const CStaffDatabase& scout);

    void DoDeleteScoutPlayerQueries(bool bDeleteEvents);
    void RemoveAll();

    bool Save(CBinaryWriter& writer) const;
    // False (logged) for a cut-short section, counts larger than what
    // follows, or a scout, player or youth who is not in the world.
    bool Load(CBinaryReader& reader);

private:
    // Takes the query's completion event out of the manager's country.
    void RemoveCompletionEvent(const CScoutPlayerQuery& query);

    CXList m_lstQueries;  // CScoutPlayerQuery
    uint8_t m_byQueryCount = 0;
    CXList m_lstReports;  // SCOUTREPORT
    SCOUTSLOT m_aSlots[SCOUT_SLOTS];
    CSaveGame* m_pOwner = nullptr;
};
