#pragma once
// The knock-out cups of one country: the definitions installed for its name,
// the running cup of each kind, the clubs waiting for a round (pending) and
// those that took part this season (listed), and their record on file.
// Kinds 0, 1, 3 and 5 exist; every operation on another kind does nothing or
// answers false/null.
#include <cstdint>

#include "common/CDate.h"
#include "common/CXList.h"
#include "season/CupRecords.h"

class CBinaryReader;
class CBinaryWriter;
class CCountryDatabase;

// The current round of a cup as the country's clubs allow: the clubs it
// holds and how many of them play in its ties (the others go through to the
// next round without playing).
struct CUPROUNDPLAN {
    int nClubs = 0;
    int nPlaying = 0;
};

class CDomesticCupsDatabase {
public:
    static constexpr int LIST_COUNT = 4;
    static constexpr int KIND_COUNT = 6;

    explicit CDomesticCupsDatabase(CCountryDatabase* pCountry);
    ~CDomesticCupsDatabase();
    CDomesticCupsDatabase(const CDomesticCupsDatabase&) = delete;
    CDomesticCupsDatabase& operator=(const CDomesticCupsDatabase&) = delete;

    CCountryDatabase* GetCountry() const { return m_pCountry; }

    // ---- definitions and running cups ----
    const ITEMCUPSTRUCTUREINFORMATION* GetDefinition(int nKind) const;
    void SetDefinition(int nKind, const ITEMCUPSTRUCTUREINFORMATION* pDefinition);
    void ClearDefinitions();
    CUP* GetCup(int nKind) const;
    // Replaces (and frees) the running cup of the kind.
    void SetCup(int nKind, CUP* pCup);
    // The definition's round entry table; null without a definition.
    const ITEMCUPENTRYRULE* GetCupStructure(int nKind) const;
    // The round definition, index 0-based; null outside the cup.
    const ITEMCUPROUNDINFORMATION* GetRound(int nKind, int nIndex) const;
    // The date of a round's first match (or second with bSecondLeg) in the
    // country's season; false (and an empty date) without one.
    bool GetRoundDate(const ITEMCUPROUNDINFORMATION* pRound, bool bSecondLeg, CDate& date, int nKind) const;

    // Creates (or reuses) the running cup at round 1; without a definition
    // the cup is freed and the answer is false.
    bool InstallCup(int nKind);
    // New game: installs every cup of the country and schedules its draw and
    // match-date events, then sorts the country's cup fixtures.
    void InstallCups();
    void ResetCup(int nKind);

    // ---- clubs of each kind ----
    static int GetKindFromCupNumber(CUP_NUMBER byCup) { return byCup / 20; }
    // Slot of a kind in a club's cup status table: 0, 1, 2, 3 for kinds 0,
    // 1, 3, 5 and 4 for any other.
    static int GetCupStatusSlot(int nKind);
    const CXList* GetPendingList(int nKind) const;
    const CXList* GetListedList(int nKind) const;
    // The reason is accepted for the callers' sake and not stored.
    bool AddPending(int nKind, uint32_t dwClub, int nRound, int nReason);
    bool AddListed(int nKind, uint32_t dwClub, int nRound);
    // Pending for the kind, or (with at least two clubs drawn) in a tie in use.
    bool IsClubInCup(int nKind, uint32_t dwClub) const;
    bool IsClubListed(int nKind, uint32_t dwClub) const;
    // The new season forgets who took part.
    void ClearListed();

    // ---- round sizes (CDomesticCupsPlan.cpp) ----
    // The divisions (0-based, in the country's order) whose clubs enter the
    // round: false when it brings in none. Divisions the country does not
    // have are left out.
    bool GetEntryDivisions(int nKind, int nRound, int& nFirst, int& nLast) const;
    CUPROUNDPLAN PlanRound(int nKind) const;

    // ---- draws and cup-tied players (CDomesticCupsDraw.cpp) ----
    // Moves the clubs pending for the round into the ties while the round's
    // plan has places for them; those the plan lets through wait for the
    // next round, and any beyond are logged and dropped.
    void DrawRound(int nKind, int nRound);
    // Puts the club into the next draw position and lists it; does nothing
    // (and answers true) when the ties are full.
    bool AddToDraw(int nKind, uint32_t dwClub);
    // Random clubs of the country that are neither in the cup nor listed
    // this season become pending for the round; answers how many.
    int AddEmergencyClubs(int nKind, int nNeeded, int nRound);
    // The player's cup-tied bits of the running cups of kinds 0 and 1 are
    // carried into his mask for rule cups.
    void MarkPlayerCupTied(class CPlayerDatabase* pPlayer) const;
    // A player who changes club loses both cups' bits from both masks.
    void ClearPlayerCupMarks(class CPlayerDatabase* pPlayer) const;
    // Pending entries of the kind waiting for the round.
    int CountPending(int nKind, int nRound) const;

    // ---- file form ----
    // The record of one kind: header, ties, pending entries, extra records,
    // then the listed clubs (u16 count). A kind without a running cup writes
    // its empty header only.
    bool Save(CBinaryWriter& writer, int nKind) const;
    // Reads what Save wrote; the ties' fixtures are found in the country's
    // cup fixture list. False (logged) on a cut or damaged record.
    bool Load(CBinaryReader& reader, int nKind);

    const CDate& GetDate() const { return m_Date; }
    void SetDate(const CDate& date) { m_Date = date; }

private:
    CXList* PendingList(int nKind);
    CXList* ListedList(int nKind);

    CDate m_Date;
    CXList m_lstPending[LIST_COUNT];  // CUPENTRY, kinds 1, 0, 3, 5
    CXList m_lstListed[LIST_COUNT];   // CUPENTRY, kinds 1, 0, 3, 5
    CCountryDatabase* m_pCountry = nullptr;
    CUP* m_pCups[LIST_COUNT] = {};    // kinds 1, 0, 3, 5
    const ITEMCUPSTRUCTUREINFORMATION* m_pDefinitions[KIND_COUNT] = {};
};
