#pragma once
// The European competitions of the whole game: the three European cups
// (kind 1 with its group stages, kind 0 and the super cup, kind 3), the
// clubs waiting for their rounds, the mini-league groups of the group
// stages and their record in the whole-database file.
#include <cstdint>

#include "common/CDate.h"
#include "common/CXList.h"
#include "season/CupRecords.h"

class CBinaryReader;
class CBinaryWriter;
class CDatabaseHandler;

// One club's line in a mini-league group.
struct MINILEAGUEROW {
    uint8_t byWon = 0;
    uint8_t byDrawn = 0;
    uint8_t byLost = 0;
    uint8_t byGoalsFor = 0;
    uint8_t byGoalsAgainst = 0;
    uint8_t byPosition = 0;  // table place, 1-based
    uint8_t byOpponents = 0;
    uint32_t dwClub = 0;
    uint32_t dwDayField = 0;
    CXList lstFixtures;                  // CCupFixturesDatabase, not owned
    uint32_t* pHomeMatches = nullptr;    // byOpponents... group size - 1 match identifiers
};

struct MINILEAGUEGROUP {
    // A group of nRows rows numbered 1..nRows, each with nRows - 1 home-match slots.
    explicit MINILEAGUEGROUP(int nRows);
    ~MINILEAGUEGROUP();
    MINILEAGUEGROUP(const MINILEAGUEGROUP&) = delete;
    MINILEAGUEGROUP& operator=(const MINILEAGUEGROUP&) = delete;

    MINILEAGUEROW* pRows = nullptr;
    uint8_t bySize = 0;
    uint8_t byFilled = 0;
};

class CEuropeanCupDatabase {
public:
    static constexpr int KIND_COUNT = 6;
    static constexpr int CUP_COUNT = 3;
    static constexpr int GROUP_ROW_FILE_SIZE = 16;

    CEuropeanCupDatabase();
    ~CEuropeanCupDatabase();
    CEuropeanCupDatabase(const CEuropeanCupDatabase&) = delete;
    CEuropeanCupDatabase& operator=(const CEuropeanCupDatabase&) = delete;

    static void SetDatabaseHandler(CDatabaseHandler* pHandler) { m_pDatabaseHandler = pHandler; }

    // ---- definitions and running cups ----
    // Takes every "European" row of the cup definitions into the slot of its
    // kind (0, 1 or 3); other kinds are logged and skipped.
    void InstallDefinitions();
    const ITEMCUPSTRUCTUREINFORMATION* GetDefinition(int nKind) const;
    // Slot of a kind among the three cups: 0, 1, 2 for kinds 1, 0, 3; -1 otherwise.
    static int GetCupIndex(int nKind);
    CUP* GetCup(int nKind) const;
    void SetCup(int nKind, CUP* pCup);
    const ITEMCUPENTRYRULE* GetCupStructure(const CUP* pCup) const;
    const ITEMCUPROUNDINFORMATION* GetRound(int nKind, int nIndex) const;
    // First matches lie on or after the European season date.
    bool GetRoundDate(const ITEMCUPROUNDINFORMATION* pRound, bool bSecondLeg, CDate& date) const;
    bool InstallCup(int nKind);
    // New game: installs the three cups and gives every country their draw
    // and match-date events, then sorts the root's cup fixtures.
    void InstallCups();
    void ResetCup(int nKind);
    // Competition slot of a European kind in a club's cup status table and
    // the season records: 4, 5, 6 for kinds 0, 1, 3, and 4 otherwise.
    static int GetCompetitionSlot(int nKind);

    // ---- clubs waiting for rounds ----
    const CXList* GetPendingList(int nKind) const;
    bool IsClubPending(int nKind, uint32_t dwClub) const;
    // Appends the entry; a club already entered in either of the first two
    // cups is reported and kept.
    bool AddPending(int nKind, uint32_t dwClub, int nRound, int nReason);
    // The round the club waited for, 0 when it was not pending.
    int RemovePending(int nKind, uint32_t dwClub);

    // ---- dates ----
    const CDate& GetSeasonDate() const { return m_SeasonDate; }
    void SetSeasonDate(const CDate& date) { m_SeasonDate = date; }
    const CDate& GetEarliestCupDate() const { return m_EarliestCupDate; }
    void LowerEarliestCupDate(const CDate& date);
    void ResetEarliestCupDate();

    // ---- mini-league groups ----
    const CXList& GetGroups() const { return m_lstGroups; }
    MINILEAGUEGROUP* AddGroup(int nRows);
    void FreeGroups();
    // Appends one snapshot of every group table to the file ("temp.eml" in
    // the current folder); nothing without groups or when it cannot be opened.
    bool AppendGroupTables(const char* pszPath = "temp.eml") const;

    // ---- rounds, draws and groups (CEuropeanCupRounds.cpp) ----
    // Moves the clubs pending for the round into the ties (not listed).
    void DrawRound(int nKind, int nRound);
    bool AddToDraw(int nKind, uint32_t dwClub);
    // True while the club holds a draw position in the cup's current round.
    bool IsClubDrawn(int nKind, uint32_t dwClub) const;
    // Tops the cup up with first-division clubs: the country's first (when
    // given), then every country's not excluded; answers how many.
    int AddPendingClubs(int nKind, int nNeeded, int nRound, const class CCountryDatabase* pCountry);
    int CountPending(int nKind, int nRound) const;
    // The clubs of a group round drawn into groups of the round's size, with
    // their fixtures; false when the round has no group size.
    bool DrawGroups(CUP* pCup, const CXList* plstReferees);
    // After a group match day: rows updated from the day's results, groups
    // sorted; true once every row has played the whole stage.
    bool UpdateGroupTables(int nDayCount);
    // Ranks by points, goal difference, goals for; only positions move.
    // Answers the passes made.
    static int SortGroup(MINILEAGUEGROUP& group);
    // Passes the qualifiers of a finished group stage into the next round.
    void EnterQualifiedClubs(CUP* pCup);
    // The European season change: fixtures freed, cups reset and drawn.
    void StartSeason();
    // Prize money of a settled tie to the winner (A) and the loser (B).
    static void PayCupPrize(const ITEMCUPSTRUCTUREINFORMATION* pDefinition, const CUP* pCup, CClubDatabase* pClubA,
                            CClubDatabase* pClubB, bool bDrawn);
    // The final's winner once the final is settled; 0 before.
    uint32_t GetCupWinner(int nKind) const;
    void MarkPlayerCupTied(class CPlayerDatabase* pPlayer) const;
    void ClearPlayerCupMarks(class CPlayerDatabase* pPlayer) const;

    // ---- file form ----
    // The cup record of the kind (header, ties, pending entries, extra
    // records), followed by the group rows while the current round is a
    // group match day. Kind 5 and a kind without a cup write an empty header.
    bool Save(CBinaryWriter& writer, int nKind) const;
    // Reads what Save wrote; ties and group rows find their fixtures in the
    // root's cup fixture list. False (logged) on a cut or damaged record.
    bool Load(CBinaryReader& reader, int nKind);
    // Frees the running cups, the pending entries and the groups.
    void RemoveAll();

private:
    CXList* PendingList(int nKind);
    bool SaveGroups(CBinaryWriter& writer) const;
    bool LoadGroups(CBinaryReader& reader, const CUP& cup);

    static CDatabaseHandler* m_pDatabaseHandler;

    CXList m_lstGroups;               // MINILEAGUEGROUP
    CXList m_lstPending[CUP_COUNT];   // CUPENTRY, kinds 1, 0, 3
    CDate m_EarliestCupDate;
    CDate m_SeasonDate;
    const ITEMCUPSTRUCTUREINFORMATION* m_pDefinitions[KIND_COUNT] = {};
    CUP* m_pCups[CUP_COUNT] = {};     // kinds 1, 0, 3
};
