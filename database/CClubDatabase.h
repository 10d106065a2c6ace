#pragma once
// One club of the world: its league rows, names, money, confidence values,
// cup status and records, and the people it owns (squad, youth squad, staff
// and manager). A division owns the club; the club owns its people. Staff
// and the manager are held by identifier and found through the root's
// identifier tables.
#include "common/CDate.h"
#include "common/CPointerArray.h"
#include "common/CXList.h"
#include "common/Identifiers.h"
#include "database/StadiumTables.h"

#include <cstdint>
#include <vector>

class CBinaryReader;
class CBinaryWriter;
class CCountryDatabase;
class CDivisionDatabase;
class CDatabaseHandler;
class CGroundDatabase;
class CPlayerDatabase;
class CYouthDatabase;
class CManagerDatabase;
class CNewsItem;
class CNewspaperStory;
class CStaffDatabase;
struct STANDATTENDANCE;

constexpr int CLUB_RECORD_BYTES = 936;
constexpr int CLUB_NAME_BYTES = 31;
constexpr int CLUB_SHORT_NAME_BYTES = 22;
constexpr int CLUB_SQUAD_LIMIT = 50;
constexpr int CLUB_CUP_SLOTS = 7;
constexpr int CLUB_STAFF_KINDS = 6;
// The staff kind whose places hold the club's scouts.
constexpr int CLUB_STAFF_KIND_SCOUT = 2;
constexpr int CLUB_STAFF_PLACES = 10;
constexpr int CLUB_RECORD_SLOTS = 15;
constexpr int CLUB_FACILITY_ROWS = 17;     // match-day facility rows
constexpr int CLUB_SALES_ROWS = 10;        // of them, the ones also sold between matches
constexpr int CLUB_MATCHDAY_COST_ROWS = 7;
constexpr int CLUB_FINANCE_GROUPS = 15;
constexpr int CLUB_POSITION_SLOTS = 16;
constexpr int CLUB_POSITION_GROUPS = 4;
constexpr int CLUB_CUP_ENTRY_KINDS = 11;

// Ground ownership.
constexpr uint8_t CLUB_GROUND_RENTED = 0;
constexpr uint8_t CLUB_GROUND_OWNED = 1;
constexpr uint8_t CLUB_GROUND_SHARED = 2;

// Reasons a cup entry is made.
constexpr uint8_t REASON_EUROPEAN_CUP = 2;
constexpr uint8_t REASON_LOAD = 5;

// Places used of each staff kind.
extern const int g_anClubStaffPlaces[CLUB_STAFF_KINDS];

// Goals against, drawn, goals for, lost, played, won: the order on file.
struct CLUBLEAGUEROW {
    uint8_t byGoalsAgainst = 0;
    uint8_t byDrawn = 0;
    uint8_t byGoalsFor = 0;
    uint8_t byLost = 0;
    uint8_t byPlayed = 0;
    uint8_t byWon = 0;
};

struct CLUBCUPSTATUS {
    uint8_t byStage = 0xFF;
    uint8_t byRound = 0xFF;
};

struct CLUBFEERECORD {
    int32_t idPlayer = 0;
    int32_t idClub = 0;
    int32_t nAmount = 0;
};

// One of a club's four match records, 8 bytes each in its record bytes
// (entry 0 biggest home defeat, 1 away defeat, 2 home win, 3 away win): the
// two clubs, the margin for the club that keeps it and the score.
struct CLUBMATCHRECORD {
    static constexpr int kBytes = 8;
    static constexpr int kEntries = 4;
    uint16_t wHomeClub = 0;
    uint16_t wAwayClub = 0;
    int8_t nMargin = 0;
    uint8_t byHomeGoals = 0;
    uint8_t byAwayGoals = 0;

    static CLUBMATCHRECORD Read(const uint8_t* pbyRecords, int nEntry);
    void Write(uint8_t* pbyRecords, int nEntry) const;
};

struct CLUBATTENDANCE {
    int32_t nAverage = 0;
    int32_t nHighest = 0;
    int32_t nLowest = 0;
    uint16_t wHighestOpponent = 0;
    uint16_t wLowestOpponent = 0;
};

struct CLUBFUTUREPAYMENT {
    uint8_t abyData[16] = {};
};

// The player stays an identifier on file; the pointer is found after loading.
struct CLUBPENDINGPAYMENT {
    ID_PLAYER idPlayer = 0;
    uint32_t adwFields[2] = {};
    CPlayerDatabase* pPlayer = nullptr;
};

struct CLUBSCOUTQUERY {
    ID_STAFF idStaff = 0;
    uint32_t dwField = 0;
    CStaffDatabase* pStaff = nullptr;
};

struct CLUBTRANSFERTARGET {
    uint8_t abyData[16] = {};
};

// One cup entry that a club's cup-entry flags ask for when the file is
// loaded. byCounterRound 0 means the country's European-place counter is
// not raised; bFurtherCounter picks the second counter of that kind and round.
struct CLUBCUPENTRY {
    uint16_t wFlag = 0;
    bool bEuropean = false;
    uint8_t byCupKind = 0;
    uint8_t byRound = 0;
    uint8_t byReason = 0;
    uint8_t byCounterRound = 0;
    bool bFurtherCounter = false;
};

class CClubDatabase {
public:
    CClubDatabase();
    ~CClubDatabase();
    CClubDatabase(const CClubDatabase&) = delete;
    CClubDatabase& operator=(const CClubDatabase&) = delete;

    // Reads one club and its people. False (logged) for a short or damaged
    // club; whatever was read stays owned by the club, so deleting it leaves
    // nothing behind in the identifier tables.
    bool Load(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision);
    bool Save(CBinaryWriter& writer) const;
    // Turns the identifiers read by Load into pointers and links the ground.
    // An owner that shares its ground finds its tenant itself, so the link
    // does not depend on the order in which clubs are set up. Needs the
    // root's club table.
    void SetupPointers();

    // The entries asked for by the cup-entry flags, in the order they are to
    // be made; the cups register them while the world loads.
    int GetCupEntries(CLUBCUPENTRY aEntries[CLUB_CUP_ENTRY_KINDS]) const;
    static const CLUBCUPENTRY* GetCupEntryTable();

    // Squad bookkeeping; the counters follow the lists.
    void AddPlayer(CPlayerDatabase* pPlayer, bool bNotify);
    bool RemovePlayer(CPlayerDatabase* pPlayer, bool bNotify);
    void AddYouthPlayer(CYouthDatabase* pYouth);
    bool RemoveYouth(CYouthDatabase* pYouth);
    int AddLoanIn(CPlayerDatabase* pPlayer);
    bool RemoveLoanIn(CPlayerDatabase* pPlayer);
    void RemoveRetiredLoanIns();
    void AddStaff(ID_STAFF idStaff);
    void RemoveStaff(ID_STAFF idStaff);
    void UpdateSquadAverages();
    // Every squad player younger than the age is made that old (his birthday
    // moved back whole years); answers how many were changed.
    int MakeSquadVeterans(int nAge = 31);
    // Starts loading the squad's player records ahead of a walk over them,
    // and with bCareers their current career entries (the season's match
    // counts): after a few seasons of transfers a squad's records lie
    // scattered, and a walk would wait for each in turn.
    void PrefetchSquad(bool bCareers) const;
    // The squad-size and position checks written to the log; nLargeSquad is
    // the size above which a squad counts as large.
    void LogSquadDiagnostics(int nLargeSquad) const;

    // Manager.
    CManagerDatabase* GetManager() const;
    // Without bNotify only the identifier changes; with it the old manager
    // leaves the club and the new one joins it.
    void SetManager(ID_MANAGER idManager, bool bNotify);
    // The manager's second rating byte where the board and stability rules
    // ask for it; 50 for a club without a manager.
    int GetManagerTerm() const;

    // A news item for the human who runs the club, naming the club; null
    // for a computer-run club.
    CNewsItem* AddNewsItem(uint16_t wType) const;
    // Each staff member's week by his kind's workload and the table; a
    // human hears of unhappy ones.
    void ReviewStaffWorkload();
    // Whether the human of this club already has an incoming letter of the
    // kind about the staff member, written today.
    bool HasStaffLetterToday(uint16_t wNews, ID_STAFF idStaff) const;
    // Mean ability of the kind's places (a member of another kind counts a
    // quarter); 0 without anyone.
    int GetStaffQuality(int nType) const;
    // Shirt numbers: the lowest nobody wears (0 when all are taken), given
    // by a computer club to every player without one.
    uint8_t GetLowestFreeSquadNumber() const;
    void AssignSquadNumbers();
    // Every player without a number gets the lowest free one, whoever runs
    // the club (the human's players screen asks for this).
    void GiveFreeSquadNumbers();
    // A computer club without a manager looks for one: the search ends with
    // event 45, when the best man of the pool who would come is appointed,
    // or the search begins again.
    void StartManagerSearch();
    void OnManagerSearchEvent();
    // 1 in the top fifth of the table, -1 in the bottom fifth, else 0.
    int GetTableZone() const;
    // The bank balance, with a human's savings.
    int64_t GetTotalFunds() const;
    // 0 no opening (and outside the league divisions), 1 no manager, 2 the
    // board has lost faith in him.
    int GetManagerVacancyStatus() const;
    // 2 he would take the job, 1 he would not, 0 he cannot be had.
    int WouldManagerAcceptJob(ID_MANAGER idManager) const;
    // The board's verdict on the season's target; true when met.
    bool CheckSeasonTarget();
    // The squad's best figures into 15 record slots; the season's records
    // then join the all-time ones.
    void UpdateClubRecords(CLUBRECORDENTRY* pRecords) const;
    // The club's part of its division's season archive record: a manager
    // who did better than the one named, its fees of the season, its
    // players' places in the season's awards (pTopList: the country's five
    // top scorers, null to leave them) and its records merged slot by slot.
    void AddToSeasonArchive(uint8_t* pTopList, struct DIVISIONARCHIVERECORD& archive) const;
    void CloseSeasonClubRecords();
    // A friendly asked of this club: refused against a club of its own
    // division, a second friendly between the two, or a day either already
    // plays; a human who asked hears the answer.
    bool AcceptFriendlyRequest(const class CCupFixturesDatabase& fixture, const CClubDatabase& requesting) const;
    // A pending story naming the club, its country and division, when the
    // papers follow its division (the top one, or one a human plays in).
    CNewspaperStory* AddNewspaperStory(uint8_t byKind, uint16_t wType) const;

    // Fee records: the season's largest fee this club paid (first kind) and
    // received (second kind), and the largest ever of each. A new all-time
    // record paid raises the award flag, which the match day posts as a
    // story (PostFeeRecordAward).
    void NoteFeeOfFirstKind(const CPlayerDatabase* pPlayer, int32_t nAmount, CClubDatabase* pOtherClub);
    void NoteFeeOfSecondKind(const CPlayerDatabase* pPlayer, int32_t nAmount);
    // Clears the award flag; the story when the record player still plays here.
    CNewspaperStory* PostFeeRecordAward();

    // Queries that the table and the generators use.
    int GetClubRating() const { return (m_bySupportLevel + m_byReputation) / 2; }
    // How strongly the club's supporters back it, 0-100.
    uint8_t GetSupportLevel() const { return m_bySupportLevel; }
    CCountryDatabase* GetCountry() const { return m_pCountry; }
    CGroundDatabase* GetGround() const { return m_pGround; }
    // Goals scored or goal difference by the division's rule.
    int GetGoalValue() const;
    int GetGoalsFor() const { return m_HomeRow.byGoalsFor + m_AwayRow.byGoalsFor; }
    int GetGoalsAgainst() const { return m_HomeRow.byGoalsAgainst + m_AwayRow.byGoalsAgainst; }
    const char* GetName() const { return m_szName; }
    const char* GetShortName() const { return m_szShortName; }
    void SetName(const char* pszName);
    void SetShortName(const char* pszShortName);
    ID_CLUB GetID() const { return m_wClubId; }
    bool HasStaff(ID_STAFF idStaff) const;
    // Whether the member stands in any used staff place, of any kind.
    bool IsStaffPlaced(ID_STAFF idStaff) const;
    // Loan-in identifiers not yet turned into players.
    int GetPendingLoanInCount() const { return static_cast<int>(m_PendingLoanIns.size()); }

    // Team selection (CClubDatabaseTeam.cpp). The eleven roles of the club's
    // standard formation (index above 5 counts as 0).
    const uint8_t* GetFormation() const;
    static const uint8_t* GetStandardFormation(int nIndex);
    // The role a substitute place 0-6 is picked for.
    static int GetSubstituteRole(int nPlace);
    // Fills apPlayers with the eleven of the formation's roles followed by
    // nSubstitutes substitutes; places nobody can fill stay null.
    void SelectTeam(const uint8_t* pbyFormation, CPlayerDatabase** apPlayers, int nMatchKind, int nSubstitutes);
    CPlayerDatabase* PickBestPlayerForRole(int nRole, int nMatchKind) const;
    CPlayerDatabase* PickBestSubstitute(int nRole, int nMatchKind) const;
    void ClearSelection();
    // Squad players who cannot play a match of the kind.
    int CountUnavailable(int nMatchKind) const;
    static bool IsAvailable(const CPlayerDatabase* pPlayer, int nMatchKind);
    // Map distance to another club in degrees; a large value when either
    // club has no map position.
    float GetMapDistance(const CClubDatabase* pOther) const;
    // The club's mood that a match result starts from, around 0.
    int GetMoraleValue() const;

    // ---- transfers: negotiation, targets and planning ----
    // (CClubDatabaseTransfers.cpp) Answers to offers for this club's players:
    // the margin by which the offer beats the club's figure (accepted when
    // above 0), or 0 after a refusal.
    int NegotiateBuyTransfer(class CBuyOfferDatabase* pOffer);
    int NegotiateLoanTransfer(class CLoanOfferDatabase* pOffer);
    bool NegotiateExtendLoanTransfer(class CLoanOfferDatabase* pOffer);
    // 150 minus the mean of the reasons to keep him, with the strongest one.
    int GetBuyAcceptancePercent(const CPlayerDatabase* pPlayer, int* pnReason) const;
    int GetLoanAcceptancePercent(const CPlayerDatabase* pPlayer, int* pnReason) const;
    // The club's asking terms (the buy offer's 11 term words) for a player.
    void BuildAskingTerms(uint32_t* pdwTerms, const CPlayerDatabase* pPlayer) const;
    static int32_t GetTermsTotal(const uint32_t* pdwTerms);
    // What a set of terms is worth to the selling club: the sum of five
    // parts (instalments, further amount, two position parts and the first
    // pair), each written into pnParts when it is given. Many instalments
    // are worth less than one payment.
    int64_t EvaluateTransferTerms(const CPlayerDatabase* pPlayer, const uint32_t* pdwTerms, int64_t* pnParts) const;
    // One part of a term pair's worth against the division's payment figure
    // nPayment, weighted by nWeight per cent; never below 0.
    static int64_t ScaleTermFigure(int nPercent, int64_t nFirst, int64_t nSecond, int nWeight, int32_t nPayment);
    // Funds a club may spend: its bank balance, never below 0.
    int32_t GetTransferFunds() const;
    // Transfer targets (16-byte records, at most 10).
    int GetTransferTargetCount() const { return m_byTransferTargetCount; }
    CLUBTRANSFERTARGET* GetTransferTarget(int nIndex) const;
    bool HasTransferTarget(ID_PLAYER idPlayer) const;
    // Re-arm a target whose bid (or loan offer) has ended.
    void ClearTargetFlag(ID_PLAYER idPlayer);
    // More loans taken this season than a club may take.
    bool HasUsedSeasonLoans() const;
    void ClearTargetOfferMade(ID_PLAYER idPlayer);
    void AddTransferTarget(const CLUBTRANSFERTARGET& target);
    void RemoveTransferTarget(int nIndex);
    void RemoveTransferTargetByPlayer(ID_PLAYER idPlayer);
    void ClearTransferTargets();
    bool NoteTransferTarget(const CPlayerDatabase* pPlayer, int nReason, ID_CLUB idClub, bool bLoan);
    void CheckTransferTargets();
    // Monthly: the weakest area (representative role 0-15, 16 none) and a
    // search of the lists and one other club.
    void ChooseTransferTargets();
    int ChooseWeakestArea(int nMean, const int anRoleMeans[CLUB_POSITION_SLOTS]);
    void SearchTransferTargets();
    // One club drawn at random (from any country with the flag) and its
    // first suitable player noted.
    void SearchRandomClub(bool bAnyCountry);
    bool FindTargetInClub(const CClubDatabase* pOther, bool bAnyCountry, bool bLoan);
    bool IsSuitableTarget(int nArea, const CPlayerDatabase* pPlayer, bool bAnyCountry, int64_t nPrice) const;
    // What a search for targets reads of a player, to be kept side by side
    // for many searches (CMarketDigest).
    struct TargetFacts {
        const CClubDatabase* pClub = nullptr;
        const CCountryDatabase* pCountry = nullptr;
        const CDivisionDatabase* pDivision = nullptr;
        uint32_t dwFlags = 0;
        uint32_t dwYearlyWage = 0;
        uint8_t byRating = 0;
        uint8_t byRole = 0;
        uint8_t byTransferState = 0;
        static TargetFacts Of(const CPlayerDatabase& player);
    };
    bool IsSuitableTarget(int nArea, const TargetFacts& facts, bool bAnyCountry, int64_t nPrice) const;
    // The area (0-7) of a role a search looks in; -1 outside the roles.
    static int GetRoleArea(int nRole);
    // Weekly: bids and loan offers for the targets, listings and renewals.
    void MakeTargetBids();
    void MakeTargetOffers();
    bool ConsiderListingPlayer(CPlayerDatabase* pPlayer);
    bool ConsiderLoanListing(CPlayerDatabase* pPlayer);
    void RenewExpiringContracts();
    void DoWeeklyTransferPlanning();
    // Country events 5 and 17 for one of this club's players.
    void AnswerBuyOffers(CPlayerDatabase* pPlayer);
    void AnswerLoanOffers(CPlayerDatabase* pPlayer);
    void ProposeBuyContract(class CBuyOfferDatabase* pOffer);
    // Country event 19: a club asks to keep one of this club's players on
    // loan for longer; the extension is granted.
    void AnswerLoanExtension(class CLoanOfferDatabase* pOffer);
    // The squad and money rules that stop a move; each true means refuse,
    // with news to a human club on either side. pOther is the human record
    // of the other club, when it has one.
    bool MustRefusePurchase(const CPlayerDatabase* pPlayer, int64_t nFee, class CSaveGame* pOther);
    bool MustRefuseSale(const CPlayerDatabase* pPlayer, int64_t nFee, class CSaveGame* pOther, bool bTellContract);
    bool MustRefuseLoanIn(const CPlayerDatabase* pPlayer, class CSaveGame* pOther);
    bool MustRefuseLoanOut(const CPlayerDatabase* pPlayer, class CSaveGame* pOther);
    // Search marks, never saved.
    int32_t m_nFundsMark = 0;
    uint8_t m_bySearchMinRating = 0;
    uint8_t m_bySearchArea = 16;
    // ---- end of transfers ----

    // The root, set while it exists.
    static CDatabaseHandler* m_pDatabaseHandler;

    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    CLUBLEAGUEROW m_AwayRow;
    ID_CLUB m_wClubId = 0;
    ID_GROUND m_wHomeGroundId = 0;
    uint8_t m_byLeaguePosition = 0;
    uint8_t m_byDivisionId = 0;
    uint8_t m_byBestPosition = 0;
    CLUBLEAGUEROW m_HomeRow;
    uint8_t m_byWorstPosition = 0;
    uint8_t m_byPoints = 0;
    uint8_t m_byPreviousPosition = 0;
    char m_szName[CLUB_NAME_BYTES] = {};
    char m_szShortName[CLUB_SHORT_NAME_BYTES] = {};
    uint8_t m_abyLatitude[3] = {};
    uint8_t m_abyLongitude[3] = {};
    uint16_t m_awResultTotals[2] = {};
    uint8_t m_byFormation = 0;
    uint8_t m_abyAttributes[12] = {};
    uint8_t m_byTargetKind = 0;
    uint8_t m_byTargetPosition = 0;
    uint8_t m_byTargetDivision = 0;
    int32_t m_nSquadValue = 0;
    int32_t m_nYouthValue = 0;
    uint8_t m_byReputation = 0;
    uint8_t m_abyStaffAverages[2] = {};
    int32_t m_nSeasonCounter1 = 0;
    uint16_t m_wSeasonCounter2 = 0;
    uint16_t m_wSeasonCounter3 = 0;
    int32_t m_nSeasonCounter4 = 0;
    int32_t m_nLoan = 0;
    int32_t m_nLoanRepaid = 0;
    int32_t m_nLoanInstalment = 0;
    uint8_t m_byLoanByte = 0;
    uint8_t m_byInstalmentsLeft = 0;
    uint16_t m_wLoanWord = 0;
    int32_t m_nOverdraft = 0;
    uint8_t m_byOverdraftActive = 0;
    uint8_t m_byOverdraftRunsLeft = 0;
    int32_t m_nBankBalance = 0;
    int32_t m_nPreviousBalance = 0;
    uint8_t m_bySupportLevel = 0;
    uint8_t m_bySupportExtra = 0;
    uint8_t m_byPitchCondition = 0;
    uint8_t m_byGroundOwnership = 0;
    int8_t m_nFanConfidence = 0;
    int8_t m_nBoardConfidence = 0;
    uint8_t m_byStatusA = 0;
    uint8_t m_bySeasonLoans = 0;
    uint8_t m_byStatusB = 0;
    uint16_t m_wCupEntryFlags = 0;
    int8_t m_nSeasonMarker = 0;
    // Squad averages: recomputed, never saved.
    int32_t m_nAverageWage = 0;
    uint8_t m_byAverageFitness = 0;
    uint8_t m_byAverageMorale = 0;
    uint8_t m_byAveragePotential = 0;
    uint8_t m_byAverageReputation = 0;
    uint8_t m_byAverageRating = 0;
    CLUBCUPSTATUS m_aCupStatus[CLUB_CUP_SLOTS];
    uint8_t m_abyResultRuns[3][6] = {};
    uint8_t m_abyBestRuns[3][3] = {};
    uint8_t m_abySeasonStatistics[32] = {};
    uint8_t m_abyStatistics[32] = {};
    int32_t m_nSeasonResult = 0;
    uint16_t m_wSeasonResult = 0;
    int32_t m_nRecordResult = 0;
    uint16_t m_wRecordResult = 0;
    CLUBFEERECORD m_aFeeRecords[4];
    CLUBATTENDANCE m_SeasonAttendance;
    CLUBATTENDANCE m_RecordAttendance;
    CLUBRECORDENTRY m_aClubRecords[CLUB_RECORD_SLOTS] = {};
    CLUBRECORDENTRY m_aSeasonClubRecords[CLUB_RECORD_SLOTS] = {};
    int32_t m_anFinanceAccumulators[CLUB_FINANCE_GROUPS] = {};
    ID_STAFF m_awStaffSlots[CLUB_STAFF_KINDS][CLUB_STAFF_PLACES] = {};
    int32_t m_anClubValues[5] = {};
    int32_t m_nPlayerCount = 0;
    int32_t m_nYouthCount = 0;
    int32_t m_nLoanInCount = 0;
    uint8_t m_abyPlayersByPosition[CLUB_POSITION_SLOTS] = {};
    uint8_t m_abyYouthByPosition[CLUB_POSITION_SLOTS] = {};
    uint8_t m_abyPlayersByGroup[CLUB_POSITION_GROUPS] = {};
    uint8_t m_abyYouthByGroup[CLUB_POSITION_GROUPS] = {};
    int32_t m_nFuturePaymentCount = 0;
    int32_t m_nPendingPaymentCount = 0;
    uint16_t m_wScoutQueryCount = 0;
    uint8_t m_byLoadMarker = 0;
    int32_t m_nAwardFlag = 0;
    CClubDatabase* m_pAwardClub = nullptr;
    bool m_bBalanceRaised = false;  // at this season's start, story still to tell
    CXList m_lstStaff;  // ID_STAFF values
    CXList m_lstPlayers;
    CXList m_lstYouths;
    CXList m_lstLoanIns;
    ID_MANAGER m_wManagerId = 0;
    CGroundDatabase* m_pGround = nullptr;
    CClubDatabase* m_pTenant = nullptr;
    CXList m_lstFuturePayments;   // CLUBFUTUREPAYMENT
    CXList m_lstPaymentReceipts;  // CLUBFUTUREPAYMENT
    CXList m_lstPendingPayments;  // CLUBPENDINGPAYMENT
    CXList m_lstScoutQueries;     // CLUBSCOUTQUERY
    CPointerArray m_TransferTargets;  // CLUBTRANSFERTARGET
    uint8_t m_byTransferTargetCount = 0;
    uint8_t m_byFinancialStability = 0;

    // ---- week-to-week life: money, gate, confidence, form and staff ----
    // (CClubDatabaseFinance.cpp) Finance group 1-14 of a category 1-102, 0
    // when the category is unknown.
    static int FindFinanceCategory(int nCategory);
    void AddFinanceTransaction(int nCategory, int32_t nIncome, int32_t nExpense, uint32_t dwItem = 0,
                               uint32_t dwExtra = 0);
    // (CClubDatabaseCups.cpp) The squad's and the manager's bonuses for a
    // won cup final, European or domestic.
    void PayCupFinalBonuses(uint8_t byEuropean);
    // A cup tie won or lost in the round: fans, board and the cup status of
    // that cup (CClubDatabaseCups.cpp); bFinal spares the beaten finalist
    // the news of his exit.
    void OnCupTieWon(CUP_NUMBER byCup, int nRound);
    void OnCupTieLost(CUP_NUMBER byCup, int nRound, bool bFinal);
    // The club's status in the cup: the round reached and its stage.
    void SetCupStatus(CUP_NUMBER byCup, int nRound, int nStage);
    // The same by the club's cup slot (0-6); the manager's career entry for
    // this club keeps the pair too. A slot out of range changes nothing.
    void SetCupSlotStatus(int nSlot, int nRound, int nStage);
    // Category 57 for a paid tie of a domestic cup round.
    void AddCupRoundPayment(const struct CUP* pCup);
    // What the future payments of a kind fall due in a month: paid by this
    // club, or, with bReceipts, to be received by it.
    int64_t GetFuturePaymentsDue(int nKind, int nMonth, int nYear, bool bReceipts) const;
    // The monthly finance run: loan, wages, payments, then the books close.
    void DoFinance();
    // A payment the next finance run makes to a player (kind 0: the rest of
    // a released player's pay).
    void AddPendingPayment(CPlayerDatabase* pPlayer, int32_t nAmount, uint8_t byKind);
    const CXList& GetPendingPayments() const { return m_lstPendingPayments; }
    // A scout sent out by the club: his bill waits for the month's finance
    // run, which books it as scouting.
    void AddScoutPlayerQuery(ID_STAFF idScout, int32_t nCost);
    // (CClubDatabaseClauses.cpp) What a squad player's contract and transfer
    // terms make due this month besides his wage: allowances, bonuses, the
    // insurance premiums, a signing-on fee, and to his former club the
    // instalments and the amounts its conditions tie to his matches.
    void PayContractClauses(CPlayerDatabase& player);
    // A club that lets him go before his fee is paid off pays the rest now.
    void PayOutstandingInstalments(CPlayerDatabase& player);
    CClubDatabase* FindFormerClub(const CPlayerDatabase& player) const;
    // Books a payment to the club a player came from, and its receipt there.
    void PayFormerClub(CClubDatabase* pFormer, ID_CLUB idFormer, int nCategory, int32_t nAmount, uint32_t idPlayer);
    // A computer club's booked money goes into its bank balance.
    void BankFinanceAccumulators();
    // Told of every booking and of every balance set outside the books (the
    // season's lowest balance): the checks of the books watch through it.
    struct FINANCEOBSERVER {
        virtual ~FINANCEOBSERVER() = default;
        virtual void OnTransaction(const CClubDatabase& club, int nCategory, int32_t nIncome, int32_t nExpense) = 0;
        virtual void OnBalanceSet(const CClubDatabase& club, int32_t nOld, int32_t nNew) = 0;
        // A computer club's accumulators are about to go into its balance.
        virtual void OnBanked(const CClubDatabase& club) = 0;
    };
    static FINANCEOBSERVER* s_pFinanceObserver;
    // Bank rates in percent, by the club's rating band.
    int GetRatingBand() const;
    double GetBaseInterestRate() const;
    double GetLoanInterestRate() const;
    double GetOverdraftInterestRate() const;
    double GetExcessOverdraftInterestRate() const;
    // Money the bank would still lend, with the rate and term it offers.
    int32_t GetAvailableLoan(double* pdRate, int32_t* pnTerm) const;
    // A loan's total with its interest: one rate (a fraction, 0.095 for
    // 9.5 %) on the whole principal, whatever the number of payments.
    static double GetLoanTotal(double dAmount, double dRate, int nPayments);
    // One payment of that total spread over the payments; 0 without payments.
    static double GetLoanRepayment(double dAmount, double dRate, int nPayments);
    int32_t GetAvailableOverdraft(double* pdRate, double* pdExcessRate) const;
    // A payment to another club due in a later month (kind 0-3), with the
    // other club's copy of what it will receive.
    void AddFuturePayment(int32_t nAmount, uint32_t dwItem, ID_CLUB idOther, const CDate& due, uint8_t byKind);
    void DoFuturePaymentsToOtherClubs();
    void RemoveDuePayments();
    int GetStandardTicketPrices(int nTicketType) const;
    float GetAttendanceFactor(const CClubDatabase* pOpponent, int nMatchType) const;
    int GetAttendanceCapacity() const;
    // The gate money of a home match by match type: the home club's share and
    // costs, the visitor's share.
    void BookGate(CClubDatabase* pOpponent, int nMatchType, double dReceipts);
    // The season's and the record's highest, lowest and average crowds.
    void NoteMatchAttendance(int nAttendance, const CClubDatabase* pOpponent);
    // The crowd at this club's ground and the gate money booked for both
    // clubs; pnReceipts may be null. A human club's gate comes from its
    // ticket prices, stand by stand into pStands (32 entries) when given.
    int GetMatchAttendance(CClubDatabase* pOpponent, int nMatchType, int32_t* pnReceipts,
                           STANDATTENDANCE* pStands = nullptr);
    // The crowd as a percentage of the capacity the crowd was drawn from.
    int GetMatchAttendanceAsPercentage(CClubDatabase* pOpponent, int nMatchType, int32_t* pnReceipts,
                                       int* pnAttendance, STANDATTENDANCE* pStands = nullptr);
    // A third of the gate at a neutral ground goes to each club; a friendly
    // there takes no gate.
    void BookNeutralGate(CClubDatabase* pOpponent, int nMatchType, int nAttendance);
    static int32_t GetMoneyScaleEntry(int nIndex);

    // (CClubDatabaseMatchday.cpp) Match-day facility income and costs, the
    // weekly sales between matches and a human club's stock. The writer,
    // when given, takes a human home club's parts of the match record.
    int CountFinishedFacilities(int nType, int nSize) const;
    bool GetFacilityPrices(int nRow, int32_t& nCost, int32_t& nPrice) const;
    int GetExpectedBuyers(int nRow, int nCrowd) const;
    void AddMatchdayFacilityIncome(CBinaryWriter* pWriter, int nCrowd, uint32_t dwItem);
    uint16_t GetMatchdayCostUnits(int nRow, int nCrowd) const;
    void BookMatchdayCosts(CBinaryWriter* pWriter, int nCrowd, uint32_t dwItem);
    void UpdateGroundFacilityTotals();
    void DoWeeklyFacilitySales();
    // Home matches of the club in a month of any year (its country's cups,
    // the root's cup and friendly list and, unless cups only, its league).
    int CountHomeMatchesInMonth(int nMonth, bool bCupsOnly) const;
    // A human club's projected month by category; nothing for other clubs.
    void ProjectFacilityMatchIncome(int nCategory, int nMonth, int64_t& nIncome, int64_t& nExpense) const;
    int64_t ProjectCategoryMatchIncome(int nCategory, int nMonth) const;
    void GetProjectedMatchIncome(int nCategory, int nMonth, int64_t& nIncome, int64_t& nExpense) const;
    int32_t GetMinimumBalance() const;
    int32_t GetTotalStaffWages() const;
    // Positions in minutes of arc; a club without a position is near none.
    bool IsNearClub(const CClubDatabase* pOther, int nTolerance) const;

    // (CClubDatabaseLife.cpp) Confidence codes as the match, finance and
    // season steps raise them.
    void UpdateFanConfidence(uint8_t byModifier);
    void UpdateBoardConfidence(uint8_t byModifier, int32_t nAmount);
    void UpdateFinancialStability(uint8_t byModifier);
    // Group 0 all matches, 1 home, 2 away; result 0 loss, 1 win, 2 draw.
    void UpdateResultRuns(int nGroup, int nResult);
    void DoMatchResultUpdate(uint8_t byKind, int nGoalsFor, int nGoalsAgainst, bool bHome,
                             const CClubDatabase* pOpponent);
    // The season's and the all-time match records and highest-scoring match
    // after a competitive match: a win replaces the win record of its venue
    // when its margin is larger, a defeat the defeat record when its margin
    // is more negative, a draw neither; the highest-scoring match takes a
    // larger total of goals.
    void NoteMatchRecords(int nGoalsFor, int nGoalsAgainst, bool bHome, const CClubDatabase* pOpponent);
    // After a match: the result update and a match served by banned players.
    void UpdateAfterMatch(uint8_t byKind, int nGoalsFor, int nGoalsAgainst, bool bHome,
                          const CClubDatabase* pOpponent);
    static int PositionBand(int nPosition, int nClubs);
    // The weekly (bWeekly) club step: development, injuries, averages, mood.
    void ClubPeriodicStep(bool bWeekly);
    // (CClubDatabaseWeek.cpp) A human club's week of training: the figures
    // of its training manager and its coaches set the rate, threshold and
    // cap that player development reads.
    void DoWeeklyTraining(class CTrainingManager& training);
    // The coaches' workload target; fQuality their rating as a fraction.
    int GetCoachingFigures(float& fQuality) const;
    void AddStaffMorale(int nChange);
    class CStaffDatabase* GetFirstStaffOfKind(int nKind) const;
    // The pitch after a home match: worn by the weather, helped by pitch
    // items and ground staff, kept within 0-100.
    void UpdatePitchCondition();
    // Start-of-game ratings: standing from the division's level when it is
    // missing, the fans' and board's confidence, the pitch and the balance.
    void GenerateMissingRatings();
    void ClubMonthlyStep(bool bFinance);
    void UpdateStaffAverages();
    int GetStaffCount(int nType) const;
    int GetStaffNeeded(int nType) const;
    // 0 overloaded, 1 right, 2 underused.
    int GetStaffWorkloadStatus(int nType, int nCount) const;
    // (CClubDatabaseSquad.cpp) Squad upkeep of a computer club. Players held
    // count the squad and the loaned-in players.
    int GetPlayersHeld() const;
    int CountSquadOfGroup(int nGroup) const;
    int CountYouthOfGroup(int nGroup) const;
    CYouthDatabase* FindYouthOfGroup(int nGroup) const;
    // The youth becomes a squad player; null when he is not this club's.
    CPlayerDatabase* PromoteYouth(CYouthDatabase* pYouth);
    // New youths up to each group's minimum; how many were made.
    int FillYouthSquad();
    CPlayerDatabase* FindWeakestOfGroup(int nGroup) const;
    // The squad that counts against the group sizes: players neither listed,
    // out on loan, leaving nor released.
    int CountSquadForLimits() const;
    // A computer club's squad is above the size it wants, the player's group
    // above its minimum and he rates below the squad's average: the club can
    // do without him when his contract runs out.
    bool IsSurplusPlayer(const CPlayerDatabase* pPlayer) const;
    // A computer club decides on its youths of 18 and over: promoted when
    // ready or worth a place, else released to the youth pool.
    void SeasonYouthReview();
    // A computer club fills short groups and releases surplus players; a
    // human's squad is his own.
    void MaintainSquad();
    // Hands every player marked retiring to the root's retirement; how many
    // went.
    int ReleaseRetired();
    void ClubQuarterlyStep(bool bFlag);
    // A computer club's periodic upkeep: its squad kept in shape and its
    // shirts numbered. Nothing for a human's club.
    void DoSquadUpkeep();
    int CountStaffOfType(int nType) const;
    // The club's own season reset: a computer club's balance is raised to
    // its lowest, the season's form, crowds, counters and books start again.
    void StartNewSeason();
    // The story of a balance raised at the season's start, told once the
    // new season's papers are empty (they are cleared after the clubs' start).
    void TellOfBalanceRaise();
    // Monthly staffing by need: at a computer club surplus staff are sacked,
    // and with bFlag the missing ones hired from the pool; a human club's
    // manager is only told (with bFlag) what is missing.
    void OnEventMonthly(bool bFlag);
    // ---- end of week-to-week life ----

private:
    void AccumulateFinance(int nCategory, int32_t nIncome, int32_t nExpense);
    // A transaction an observer, a human's record or the log is to hear of.
    [[gnu::noinline]] void AddWatchedFinanceTransaction(int nCategory, int32_t nIncome, int32_t nExpense,
                                                        uint32_t dwItem, uint32_t dwExtra);
    void CountPlayer(int nRole, int nPosition, int nStep, bool bYouth);
    void FreePeople();
    void FreeLists();

    std::vector<ID_PLAYER> m_PendingLoanIns;
};
