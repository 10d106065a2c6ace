#pragma once
// The record of one human manager: his club, name and country, team sheet
// and tactics, the club's money books and bank requests, his lists and the
// event history. At most four exist, held in the database root's slots; each
// is written to and read from the .sav file of a saved game.
//
// Nothing here throws: a bad file or a bad name is logged and refused.
#include "common/CDate.h"
#include "common/CXList.h"
#include "common/Identifiers.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class CBinaryReader;
class CBinaryWriter;
class CBuyOfferDatabase;
class CLoanOfferDatabase;
class CClubDatabase;
class CCountryDatabase;
class CDatabaseHandler;
class CEventsDatabase;
class CNewsItem;
class CNewspaperManager;
class CNewspaperStoryList;
class CNoticeList;
class CSponsorManager;
class CHoardingsManager;
class CPlayerDatabase;
class CScoutManager;
class CScoutPlayerQuery;
class CTrainingManager;
struct TRAININGCAMP;

constexpr int SAVEGAME_SHEET_PLACES = 50;
constexpr int SAVEGAME_SETPIECE_PLACES = 8;
constexpr int SAVEGAME_LINEUP = 11;
// The set-piece place of the penalty taker.
constexpr int SAVEGAME_PENALTY_TAKER = 7;
// The eight match orders (0-100, 50 the standard), the two team options and
// how far a line-up place may stray from each team value.
constexpr int SAVEGAME_TEAM_ORDERS = 8;
constexpr int SAVEGAME_TEAM_OPTIONS = 2;
// The team options: keep the team's shape, and man-to-man marking (each
// place marks the opponent its formation names).
constexpr int SAVEGAME_OPTION_KEEP_SHAPE = 0;
constexpr int SAVEGAME_OPTION_MAN_MARKING = 1;
constexpr int SAVEGAME_ORDER_STANDARD = 50;
constexpr int SAVEGAME_ORDER_ADJUSTMENT_LIMIT = 20;
constexpr int SAVEGAME_NAME_BYTES = 80;
// Names the user types are at most this long.
constexpr int SAVEGAME_MAX_TYPED_NAME = 39;
constexpr int SAVEGAME_DESCRIPTOR_BYTES = 100;
constexpr int SAVEGAME_NAVIGATION_ALERTS = 10;
constexpr int FINANCE_CATEGORIES = 103;
constexpr int FINANCE_GROUPS = 15;
constexpr int FINANCE_MONTHS_KEPT = 12;
constexpr int FINANCE_PROJECTED_MONTHS = 6;
constexpr int TICKET_ROWS = 17;
constexpr int TICKET_ROW_BYTES = 28;
constexpr int STAND_PRICE_ENTRIES = 32;
constexpr int STAND_PRICE_BYTES = 12;
// The seven i32 fields of a ticket row (a match-day facility row).
enum {
    TICKET_FIELD_COST = 0,
    TICKET_FIELD_PRICE = 1,
    TICKET_FIELD_STOCK = 2,
    TICKET_FIELD_LAST_BUYERS = 3,
    TICKET_FIELD_LAST_PROFIT = 4,
    TICKET_FIELD_SEASON_BUYERS = 5,
    TICKET_FIELD_SEASON_PROFIT = 6,
};
// The u16 fields of a stand price entry (entry = stand x 4 + section).
enum {
    STAND_PRICE_FRIENDLY = 0,
    STAND_PRICE_LEAGUE = 1,
    STAND_PRICE_CUP = 2,
    STAND_PRICE_SEASON = 3,
    STAND_PRICE_SOLD = 4,
};
// Per stand and section what a match brought: income, attendance.
struct STANDATTENDANCE {
    uint32_t dwIncome = 0;
    uint16_t wAttendance = 0;
};
constexpr int FORMATION_ZONES = 30;
constexpr int FORMATION_NAME_BYTES = 40;
constexpr int SETPIECE_POINTS = 11;
constexpr int SETPIECE_TARGETS = 7;
constexpr int FREEKICK_ZONES = 29;
constexpr int SETPIECE_ROUTINES = 3;
constexpr int FREEKICK_ROUTINE_TOTAL = FREEKICK_ZONES * SETPIECE_ROUTINES;
constexpr int CORNER_ROUTINE_TOTAL = 2 * SETPIECE_ROUTINES * 2;
constexpr uint16_t FORMATION_FILE_MAGIC = 4080;
constexpr uint16_t FORMATION_FILE_VERSION = 261;
constexpr uint16_t SETPIECE_FILE_MAGIC = 4095;
constexpr uint16_t SETPIECE_FILE_VERSION = 256;
constexpr uint16_t SAVEGAME_DESCRIPTOR_MAGIC = 48880;
constexpr uint8_t SAVEGAME_DESCRIPTOR_MARK = 224;
constexpr uint8_t BOARD_OBJECTIVE_NONE = 255;
constexpr int SAVEGAME_DELEGATION_TRAINING = 2;
// Who keeps the prices of the 17 match-day rows: 0 the manager by hand, 1 the
// standard prices, 2 and 3 the standard ratio to the cost.
constexpr int SAVEGAME_DELEGATION_PRODUCT_PRICES = 7;

// One player's place in a formation: base point, the order in which places
// are listed and stored, and a byte kept as it stands.
struct FORMATIONENTRY {
    uint16_t wX = 0;
    uint16_t wY = 0;
    uint8_t byOrder = 0;
    uint8_t byExtra = 0;
};

// Where one player stands in each zone, in grid units (match units / 25).
struct POSITIONBLOCK {
    int32_t anFirst[FORMATION_ZONES][2] = {};
    int32_t anSecond[FORMATION_ZONES][2] = {};
    int32_t nValue = 0;
    int32_t nExtra = 0;
};

struct FORMATIONRECORD {
    FORMATIONENTRY aEntries[SAVEGAME_LINEUP];
    char szName[FORMATION_NAME_BYTES] = {};
    uint8_t byShipped = 0;
    uint8_t byExtra = 0;
};

// The eleven places and blocks of one formation file.
struct FORMATIONDATA {
    FORMATIONENTRY aEntries[SAVEGAME_LINEUP];
    POSITIONBLOCK aBlocks[SAVEGAME_LINEUP];
};

struct SETPIECEROUTINE {
    bool bHasPoints = false;
    uint16_t awPoints[SETPIECE_POINTS][2] = {};
    uint16_t awTargetX[SETPIECE_TARGETS] = {};
    uint16_t awTargetY[SETPIECE_TARGETS] = {};
    uint8_t byTaker = 255;
    uint8_t byTargetCount = 0;
    uint8_t abyExtra[2] = {};
    bool IsSet() const { return bHasPoints || byTargetCount != 0; }
};

// The match engine's team layout of one player.
struct MATCHLAYOUTENTRY {
    int32_t anFirst[FORMATION_ZONES][2] = {};
    int32_t anSecond[FORMATION_ZONES][2] = {};
    int32_t nValue = 0;
    uint16_t wSlot = 0;
};

// A set-piece routine in match units.
struct MATCHSETPIECE {
    int16_t anPoints[SETPIECE_POINTS][2] = {};
    uint16_t awTargetX[SETPIECE_TARGETS] = {};
    uint16_t awTargetY[SETPIECE_TARGETS] = {};
    uint8_t byTaker = 255;
    uint8_t byTargetCount = 0;
    uint8_t byHasPoints = 0;
};

struct FINANCEENTRY {
    int32_t nIncome = 0;
    int32_t nExpense = 0;
};

// The parameter is kept as the identifier of what it names (a club, staff
// member, manager, component or schedule) or as its plain value, so that a
// book written and read back names the same records.
struct FINANCETRANSACTION {
    int32_t nIncome = 0;
    int32_t nExpense = 0;
    uint32_t dwCategory = 0;
    uint32_t dwParameter = 0;
};

struct BALANCERECORD {
    uint16_t wYear = 0;
    uint8_t byMonth = 0;
    uint8_t byDay = 0;
    int32_t nAmount = 0;
    int32_t nBalanceAfter = 0;
    uint16_t wParameter = 0;
    uint16_t wKind = 0;  // 0 opening, 1 deposit, 2 withdrawal, 3 interest, 4 debit
};

struct FINANCECATEGORY {
    uint8_t byParameterKind;
    uint8_t byBalance;  // 1 moves the club's bank balance
    uint8_t byGroup;
};

struct JOBAPPLICATION {
    CDate Applied;
    CDate Decision;
    uint32_t dwClubId = 0;
    uint32_t dwStatus = 0;  // 0 new, 1 waiting, 2 refused, 3 offered, 6 closed
};

struct STAFFNEGOTIATION {
    uint16_t wStaffId = 0;
    int32_t nOffer = 0;
    CDate Made;
    CDate Decision;
    uint8_t byStatus = 0;
};

struct SQUADENTRY {
    CPlayerDatabase* pPlayer = nullptr;
    int32_t nValue1 = 0;
    int32_t nValue2 = 0;
};

struct EVENTHISTORYRECORD {
    CEventsDatabase* pEvent = nullptr;
    void* pData = nullptr;
};

class CSaveGame {
public:
    CSaveGame();
    ~CSaveGame();
    CSaveGame(const CSaveGame&) = delete;
    CSaveGame& operator=(const CSaveGame&) = delete;

    // The root every human works in, set while it exists.
    static CDatabaseHandler* m_pDatabaseHandler;
    static int GetHumanCount() { return m_nHumanCount; }
    // Never the same for two humans of a run, so that a screen holding a
    // human can tell him from one a load put at the same address.
    uint32_t GetSerial() const { return m_dwSerial; }

    // ---- the new-game popup ----
    // Creates a human in an empty slot with his own manager record (both
    // ratings 40). The name is split at the first blank into first name and
    // surname. Null (logged) for a taken or bad slot or a bad name.
    static CSaveGame* CreateNewHuman(CDatabaseHandler& handler, int nSlot, const char* pszName,
                                     uint8_t byNationality, ID_COUNTRY idCountry);
    // A name the user typed: not empty and at most 39 characters.
    static bool IsValidTypedName(const char* pszName);
    // A file name the user typed: a valid name without path separators,
    // drive marks or a leading dot.
    static bool IsValidFileName(const char* pszName);

    // ---- season and club ----
    void InitialiseSeason(uint8_t byClearSavings, uint32_t dwFlag);
    void SetupClub(uint32_t dwFlag, uint8_t byKeepCountry);
    void TakeOverClub(CClubDatabase* pClub);
    void LeaveClub();
    void Resign();
    // Asks the board to decide on his future; the next daily update answers.
    void RequestBoardDecision() { m_byBoardRequest = 1; }
    void DoDailyUpdate();
    void DoPeriodicReview();
    uint32_t GetColourForClub() const;

    // ---- the .sav file ----
    bool WriteSaveDescriptor(FILE* pFile) const;
    bool Save(FILE* pFile) const;
    // False (logged) when the body is cut short or a count is larger than
    // what follows; the record may then hold part of the body.
    bool Load(FILE* pFile);

    // ---- formations and set pieces ----
    // Writes the working formation as "Data\Saves\<name>.ct"; false (logged)
    // for a bad name or a file that cannot be written.
    bool SaveTactics(const char* pszName);
    // Applies a formation file to the working formation; with bShipped the
    // game's "Data\Tactics\<name>.pdt", else the player's ".ct". A missing
    // or bad file leaves the working formation as it was.
    bool LoadTactics(const char* pszName, bool bShipped);
    // A shipped formation straight into the match layout; an empty layout
    // when the file is missing or bad.
    static bool LoadTactics(const char* pszName, MATCHLAYOUTENTRY* pLayout);
    void GetMatchFormation(MATCHLAYOUTENTRY* pLayout) const;
    bool SaveFreeKicks(const char* pszName);
    bool LoadFreeKicks(const char* pszName, bool bShipped);
    bool SaveCorners(const char* pszName);
    bool LoadCorners(const char* pszName, bool bShipped);
    int GetFreeKickRoutineCount(int nZone) const;
    int GetCornerRoutineCount(int nSide, int nVariant) const;
    bool GetFreeKickRoutine(MATCHSETPIECE& out, int nZone, int nRoutine) const;
    bool GetCornerRoutine(MATCHSETPIECE& out, int nSide, int nVariant, int nRoutine) const;
    SETPIECEROUTINE& FreeKickRoutine(int nZone, int nRoutine) { return m_aFreeKicks[nZone * 3 + nRoutine]; }
    SETPIECEROUTINE& CornerRoutine(int nSide, int nVariant, int nRoutine)
    {
        return m_aCorners[(nSide * 3 + nRoutine) * 2 + nVariant];
    }
    // The file forms, shared with the data kit's generator.
    static void WritePositionBlock(CBinaryWriter& writer, const POSITIONBLOCK& block);
    // False, with the reader failed, when the block is cut short or holds a
    // position or value off the pitch (match units are 25 times larger).
    static bool ReadPositionBlock(CBinaryReader& reader, POSITIONBLOCK& block);
    static bool WriteFormationFile(const std::string& path, const FORMATIONDATA& data);
    static bool ReadFormationFile(const std::string& path, FORMATIONDATA& data);
    static bool WriteSetPieceFile(const std::string& path, const SETPIECEROUTINE* pRoutines, int nCount);
    static bool ReadSetPieceFile(const std::string& path, SETPIECEROUTINE* pRoutines, int nCount);

    // ---- line-up ----
    // The club's best line-up for its next fixture in a formation onto the
    // team sheet, then every other squad player. The formation becomes the
    // current one; without one the team-picking preference (delegation
    // byte 1) names it: 1 the second, 2 the first, 3 the third of the
    // formation list, and 0 keeps the current formation.
    void PickTeam(const FORMATIONRECORD* pFormation = nullptr);
    // The eleven and nSubstitutes substitutes the human named, for a quick
    // match; false (nothing filled) when a line-up place is empty or its
    // player cannot play a match of the kind, so that the club picks.
    bool GetMatchSheet(CPlayerDatabase** apPlayers, int nMatchKind, int nSubstitutes) const;
    // The team value (0-100) of one of the eight match orders, and a
    // line-up place's signed adjustment to it. A stored byte out of range
    // (a damaged saved game) reads as the nearest valid value.
    uint8_t GetTeamOrderValue(int nOrder) const
    {
        return nOrder >= 0 && nOrder < SAVEGAME_TEAM_ORDERS
                   ? uint8_t(std::clamp<int>(int8_t(m_abyInstructions[0][nOrder]), 0, 100))
                   : SAVEGAME_ORDER_STANDARD;
    }
    int8_t GetTeamOrderAdjustment(int nLineUp, int nOrder) const
    {
        return nLineUp >= 0 && nLineUp < SAVEGAME_LINEUP && nOrder >= 0 && nOrder < SAVEGAME_TEAM_ORDERS
                   ? int8_t(std::clamp<int>(int8_t(m_abyInstructions[1 + nLineUp][nOrder]),
                                            -SAVEGAME_ORDER_ADJUSTMENT_LIMIT, SAVEGAME_ORDER_ADJUSTMENT_LIMIT))
                   : 0;
    }
    bool GetTeamOrderOption(int nOption) const
    {
        return nOption >= 0 && nOption < SAVEGAME_TEAM_OPTIONS && m_abyInstructions[0][SAVEGAME_TEAM_ORDERS + nOption];
    }
    // The setters keep to the same ranges; an order or place out of range
    // changes nothing.
    void SetTeamOrderValue(int nOrder, int nValue);
    void SetTeamOrderAdjustment(int nLineUp, int nOrder, int nValue);
    void SetTeamOrderOption(int nOption, bool bSet);
    void ResetFormationPositions();
    void InsertPlayerIntoLineup(CPlayerDatabase* pPlayer);
    void CompactTeamSheet();
    CPlayerDatabase* GetSheetPlayer(int nPlace) const
    {
        return nPlace >= 0 && nPlace < SAVEGAME_SHEET_PLACES ? m_apTeamSheet[nPlace] : nullptr;
    }
    void SetSheetPlayer(int nPlace, CPlayerDatabase* pPlayer)
    {
        if (nPlace >= 0 && nPlace < SAVEGAME_SHEET_PLACES)
            m_apTeamSheet[nPlace] = pPlayer;
    }
    // The eleven line-up places in the order their players take the kicks
    // of a penalty shoot-out: the penalty taker's place first when he
    // starts, then the order last stored, then the places it left out.
    void GetPenaltyOrder(uint8_t abyPlaces[SAVEGAME_LINEUP]) const;
    // Keeps an order of the eleven places, each once, and makes the player
    // of its first place the penalty taker; false (nothing kept) for any
    // other list or an empty first place.
    bool SetPenaltyOrder(const uint8_t abyPlaces[SAVEGAME_LINEUP]);
    CPlayerDatabase* GetSetPiecePlayer(int n) const
    {
        return n >= 0 && n < SAVEGAME_SETPIECE_PLACES ? m_apSetPieces[n] : nullptr;
    }
    void SetSetPiecePlayer(int n, CPlayerDatabase* pPlayer)
    {
        if (n >= 0 && n < SAVEGAME_SETPIECE_PLACES)
            m_apSetPieces[n] = pPlayer;
    }
    // The formation record in use: the human's own when his custom
    // formation is current, else the formation list's record of the
    // current name (null when the list has none of that name).
    const FORMATIONRECORD* GetCurrentFormation() const;
    bool IsCustomFormationInUse() const { return m_abyFormationBytes[0] != 0; }
    // The human's own record (its entries are those of the last time the
    // custom formation was made current).
    const FORMATIONRECORD& GetCustomFormation() const { return m_OwnFormation; }
    // Makes a record current: his own record makes the working formation
    // (entries and blocks) his custom formation; a listed one is loaded
    // from its file. False, with nothing changed, when the file is missing
    // or bad.
    bool SelectFormation(const FORMATIONRECORD* pFormation);
    // Moves the base point of a working place (a custom layout); the custom
    // record follows when it is current. Points off the pitch (x 100-500,
    // y 4-304) are clamped onto it.
    void SetWorkingEntryPoint(int nPlace, int nX, int nY);
    // A starter's place gets another role; the eleven places (players,
    // entries and blocks together) are sorted by role again, equal roles
    // keeping their order. The place the player now holds, -1 for a bad
    // place or role.
    int SetLineupRole(int nPlace, int nRole);
    // The tactics board's formation becomes the working one: its places
    // (entries and blocks) sorted by role with the eleven starters going
    // with their places, equal roles keeping their order; the custom record
    // follows when it is current.
    void SetWorkingFormation(const FORMATIONDATA& data);

    // ---- money ----
    static const FINANCECATEGORY& GetFinanceCategory(int nCategory);
    void AddFinanceTransaction(int nCategory, int32_t nIncome, int32_t nExpense, uint32_t dwParameter,
                               uint16_t wValue);
    void AddBalanceRecord(const BALANCERECORD& record);
    void ClearFinanceMonth();
    void CloseFinanceMonth();
    uint8_t CountFinanceMonths() const;
    void NewSeason();
    void DoBankUpdate();
    // Six months of projected books from the current month on.
    bool WriteProjectedFinance() const;
    const char* GetHistoryFileName() const;
    const char* GetFinanceHistoryFileName() const;
    const char* GetProjectedFinanceFileName() const;
    bool WriteFinance(CBinaryWriter& writer) const;
    // One category of one projected month: income and expense added to the outs.
    void ComputeProjectedFinance(int nCategory, int nMonth, int nYear, int64_t& nIncome, int64_t& nExpense) const;

    // ---- ticket prices and the match-day rows (CSaveGameTickets.cpp) ----
    int32_t GetTicketField(int nRow, int nField) const;
    void SetTicketField(int nRow, int nField, int32_t nValue);
    uint16_t GetStandPrice(int nStand, int nSection, int nField) const;
    void SetStandPrice(int nStand, int nSection, int nField, uint16_t wValue);
    static int GetTicketType(int nKind);
    int GetStandardTicketPrices(int nStand, int nField) const;
    void SetStandTicketPrice(int nField, int nStand, int nSection, uint16_t wPrice, float fFactor);
    void SetStandPrices(float fFactor);
    void ApplyTicketPolicy();
    void KeepTicketPriceRatio();
    void SetStandardTicketPrices();
    // Reprices the 17 match-day rows by the product pricing delegation; by
    // hand (0) the prices stay as set.
    void ApplyProductPricing();
    // The club's own rows at their standard cost and price, its stock and
    // its stands at the standard prices: a club taken over starts so.
    void SetUpTicketTables();
    int32_t GetProjectedTicketIncome(int nKind) const;
    // The season tickets of every open stand; with the projection flag the
    // sold counts are worked out on a copy and left as they were.
    int32_t ComputeSeasonTicketIncome(bool bProjection);
    // The income of the season-ticket sale; the counts sold per stand-price
    // entry go to pSold (32 entries) when given.
    int32_t SellSeasonTickets(uint16_t* pSold) const;
    void UpdateAttendanceTrend(int32_t nValue);
    const int32_t* GetAttendanceTrend() const { return m_anAttendanceTrend; }
    // The gate of a home match of the club: attendance, receipts and what
    // each stand and section took; books the receipts by match kind.
    // pStands, when given, takes STAND_SIDES x STAND_SECTIONS entries.
    int GetMatchAttendance(CClubDatabase* pOpponent, int nKind, int32_t* pnReceipts, STANDATTENDANCE* pStands);
    const FINANCEENTRY& GetMonthEntry(int nCategory) const { return m_aMonthFinance[nCategory]; }
    const FINANCEENTRY& GetSeasonEntry(int nCategory) const { return m_aSeasonFinance[nCategory]; }
    const CXList& GetTransactions() const { return m_lstTransactions; }
    const CXList& GetBalanceRecords() const { return m_lstBalanceRecords; }

    // ---- lists ----
    // The existing entry when he is listed already, else null after adding him.
    class CShortlistEntry* AddToShortlist(CPlayerDatabase* pPlayer);
    bool RemoveFromShortlist(const CPlayerDatabase* pPlayer);
    bool IsShortlisted(ID_PLAYER idPlayer) const;
    void RemoveRetiredFromShortlist();
    const CXList& GetShortlist() const { return m_lstShortlist; }
    JOBAPPLICATION* ApplyForJob(const CClubDatabase* pClub);
    // Takes the job the club offered on his application: his present club
    // receives the compensation owed by the new one and lets him go, and he
    // takes the new club over. False (nothing changed) without an offer.
    bool AcceptJobOffer(CClubDatabase* pClub);
    JOBAPPLICATION* FindJobApplication(const CClubDatabase* pClub) const;
    void RemoveJobApplication(JOBAPPLICATION* pApplication);
    void SetJobApplicationOutcome(JOBAPPLICATION* pApplication, bool bHired);
    void UpdateJobApplications();
    // The club's answer to an application whose decision date has come.
    void DecideJobApplication(JOBAPPLICATION* pApplication);
    bool IsClubAppliedForByOtherHuman(const CClubDatabase* pClub) const;
    STAFFNEGOTIATION* AddStaffNegotiation(ID_STAFF idStaff, int32_t nOffer);
    STAFFNEGOTIATION* FindStaffNegotiation(ID_STAFF idStaff) const;
    // The open staff negotiations in the order they were begun.
    const CXList& GetStaffNegotiations() const { return m_lstNegotiations; }
    void RemoveStaffNegotiation(STAFFNEGOTIATION* pNegotiation);
    void UpdateStaffNegotiations();
    // The staff member's answer once his decision date has come.
    void DecideStaffNegotiation(STAFFNEGOTIATION* pNegotiation);
    // What the club may pay its staff a week, at a percentage of its balance.
    int32_t GetStaffWageBudget(int nPercentage) const;
    SQUADENTRY* AddSquadEntry(CPlayerDatabase* pPlayer);
    SQUADENTRY* FindSquadEntry(ID_PLAYER idPlayer) const;
    void RemoveSquadEntry(const CPlayerDatabase* pPlayer);
    void ClearSquadList();
    const CXList& GetSquadList() const { return m_lstSquad; }
    void OnPlayerLeft(CPlayerDatabase* pPlayer);
    // Points the team sheet, the set-piece takers and the squad list at the
    // players' records where the database has laid them out again.
    void UpdatePlayerPlaces(const class CPlayerRelocation& relocation);
    void OnPlayerJoined(CPlayerDatabase* pPlayer, int nHow);
    // 1 met, 0 failed, 2 not decided yet.
    int CheckBoardObjective();
    void SetBoardObjective(uint8_t byType, uint8_t byCountdown)
    {
        m_byObjectiveType = byType;
        m_byObjectiveCountdown = byCountdown;
    }
    uint8_t GetObjectiveType() const { return m_byObjectiveType; }
    uint8_t GetObjectiveCountdown() const { return m_byObjectiveCountdown; }
    // The scenario this manager plays (SCENARIO_NONE outside one) and the
    // seasons its goal allows.
    static constexpr uint8_t SCENARIO_NONE = 255;
    uint8_t GetScenario() const { return m_byScenario; }
    uint8_t GetScenarioValue() const { return m_byScenarioValue; }
    void SetScenario(uint8_t byScenario, uint8_t byValue)
    {
        m_byScenario = byScenario;
        m_byScenarioValue = byValue;
    }
    // Whether the help of a screen (0-99) has opened by itself for this
    // manager; it does so once per screen.
    static constexpr int HELP_SEEN_SCREENS = 100;
    bool IsHelpSeen(int nScreen) const;
    void SetHelpSeen(int nScreen);
    void AddEventHistoryRecord();
    void DeleteEventHistoryRecord(EVENTHISTORYRECORD* pRecord);
    const CXList& GetEventHistory() const { return m_lstEventHistory; }
    void SetNavigationAlert(int nIndex, int8_t nValue);
    // The first problem of the team sheet for a match of the kind (1 a
    // player unavailable, 2 suspended, 4 cup-tied, 6 without a permit), 0
    // when there is none or nothing to check.
    int CheckTeamSheet(int nKind) const;
    // Raises the alerts of what waits: news, stories, a worried board, an
    // unavailable player and a team-sheet problem.
    void UpdateNavigationAlerts();
    void ClearNavigationAlerts();
    int8_t GetNavigationAlert(int nIndex) const;
    void MarkNavigationAlertShown(int nIndex);

    // ---- next match ----
    int32_t GetNextFixture(uint8_t* pbyHome, uint8_t* pbyCompetition, uint32_t* pdwDate, uint8_t* pbyCountry) const;
    void UpdateNextFixture();

    // ---- identity ----
    CClubDatabase* GetClub() const { return m_pClub; }
    CCountryDatabase* GetCountry() const { return m_pCountry; }
    void SetCountry(CCountryDatabase* pCountry) { m_pCountry = pCountry; }
    ID_MANAGER GetManagerID() const { return m_idManager; }
    bool GetAutomaticSquadNumbers() const { return m_byAutomaticSquadNumbers != 0; }
    void SetAutomaticSquadNumbers(bool bOn) { m_byAutomaticSquadNumbers = bOn ? 1 : 0; }
    uint8_t GetPlayerNumber() const { return m_byPlayerNumber; }
    const char* GetFirstName() const { return m_szFirstName; }
    const char* GetSurname() const { return m_szSurname; }
    void SetNames(const char* pszFirstName, const char* pszSurname);
    // Points the manager record's names at this record's name buffers.
    void LinkManagerNames() const;
    const CDate& GetSeasonStart() const { return m_SeasonStart; }
    // Reminder dates 0-3: when the line-up, the squad and the ticket prices
    // were last seen to.
    CDate GetReminderDate(int n) const { return n >= 0 && n < 4 ? m_aReminders[n] : CDate(); }
    void SetReminderDate(int n, const CDate& date)
    {
        if (n >= 0 && n < 4)
            m_aReminders[n] = date;
    }
    // The last visits of the transfer list (0) and of the loan list (1): the
    // market screen tells listings newer than these apart.
    CDate GetLastMarketVisit(int nList) const { return nList == 0 || nList == 1 ? m_aMarketVisits[nList] : CDate(); }
    void SetLastMarketVisit(int nList, const CDate& date)
    {
        if (nList == 0 || nList == 1)
            m_aMarketVisits[nList] = date;
    }
    const CXList& GetJobApplications() const { return m_lstJobApplications; }
    const CDate& GetSeasonEnd() const { return m_SeasonEnd; }
    uint32_t GetWeeksInSeason() const { return m_dwWeeksInSeason; }
    int32_t GetSavings() const { return m_nSavings; }
    uint8_t GetDelegation(int n) const { return n >= 0 && n < 9 ? m_abyDelegation[n] : 0; }
    void SetDelegation(int n, uint8_t by)
    {
        if (n >= 0 && n < 9)
            m_abyDelegation[n] = by;
    }
    const char* GetFormationName() const { return m_szFormationName; }
    const FORMATIONENTRY& GetWorkingEntry(int n) const { return m_aWorkingEntries[n]; }
    const POSITIONBLOCK& GetWorkingBlock(int n) const { return m_aWorkingBlocks[n]; }
    // The opponent's line-up place (0-10) that a line-up place of the
    // working formation marks; -1 for none or a place out of range.
    int GetMarkingTarget(int nLineUp) const
    {
        const int n = nLineUp >= 0 && nLineUp < SAVEGAME_LINEUP ? m_aWorkingBlocks[nLineUp].nExtra : -1;
        return n >= 0 && n < SAVEGAME_LINEUP ? n : -1;
    }
    bool IsFormationModified() const { return m_byModified != 0; }

    // Bank requests and state the screens set.
    int32_t m_nLoanRequest = 0;
    int32_t m_nLoanRequest2 = 0;
    int32_t m_nLoanFee = 0;
    uint16_t m_wLoanInterest = 0;
    uint8_t m_byLoanTerm = 0;
    uint8_t m_byLoanKind = 0;
    int32_t m_nOverdraftRequest = 0;
    int32_t m_nOverdraftFee = 0;
    uint8_t m_byOverdraftTerm = 0;
    uint8_t m_byOverdraftKind = 0;
    uint8_t m_byRefusals = 0;
    uint8_t m_byDaysInRed = 0;
    uint8_t m_byResign = 0;
    uint8_t m_byBoardRequest = 0;
    uint8_t m_byBoardPending = 0;
    uint8_t m_bySquadWarning = 0;
    uint8_t m_byQualification = 0;
    int32_t m_nCompensation = 0;
    uint16_t m_wLeaveReason = 135;
    uint8_t m_abyStatus[3] = {};
    // ---- offers handed to this human (CSaveGameOffers.cpp) ----
    // An ended buy offer of his club: a report of it (age 0) and the offer
    // itself, which this record then owns.
    void TakeEndedBuyOffer(CBuyOfferDatabase* pOffer);
    void TakeEndedLoanOffer(CLoanOfferDatabase* pOffer);
    // Reports grow older by the days; one older than two weeks is dropped.
    void AgeTransferOfferReports(int nDays);
    void AgeLoanOfferReports(int nDays);
    const CXList& GetTransferOfferReports() const { return m_lstTransferReports; }
    const CXList& GetLoanOfferReports() const { return m_lstLoanReports; }
    const CXList& GetEndedBuyOffers() const { return m_lstBuyOffers; }
    const CXList& GetEndedLoanOffers() const { return m_lstLoanOffers; }
    // Age in days of a report block.
    static int GetTransferReportAge(const uint8_t* pReport);
    static int GetLoanReportAge(const uint8_t* pReport);

    // A news item for this human, dated today, naming the club (when given)
    // as its first club; the caller fills the other slots it needs.
    CNewsItem* PostNews(uint16_t wCode, const CClubDatabase* pClub = nullptr);
    CNewspaperManager& GetNews() const { return *m_pNews; }
    // The scrapbook of stories he keeps.
    CNewspaperStoryList& GetScrapbook() const { return *m_pScrapbook; }
    CNoticeList& GetNotices() const { return *m_pNotices; }
    CScoutManager& GetScoutManager() const { return *m_pScouts; }
    CTrainingManager& GetTrainingManager() const { return *m_pTraining; }
    CScoutPlayerQuery* GetScoutQueryFromID(uint32_t dwId) const;
    TRAININGCAMP* GetTrainingCampFromID(uint32_t dwId) const;
    // The scout whose report arrived last and whether it was on youths.
    void SetScoutReport(uint16_t wStaffId, uint8_t byYouth)
    {
        m_wScoutReportStaff = wStaffId;
        m_byScoutReportKind = byYouth;
    }
    uint16_t GetScoutReportStaff() const { return m_wScoutReportStaff; }
    uint8_t GetScoutReportKind() const { return m_byScoutReportKind; }
    CSponsorManager& GetSponsors() const { return *m_pSponsors; }
    CHoardingsManager& GetHoardings() const { return *m_pHoardings; }

private:
    static uint32_t s_dwNextSerial;
    const uint32_t m_dwSerial = ++s_dwNextSerial;
    // The month's bookings that wait for its close move into the bank.
    void SettleFinanceMonth();
    // A human leaving his club mid-month: his open month settles into the
    // club's bank and the club's books start empty for its next manager.
    void SettleFinanceOnLeaving();
    // Empties the offer reports and the human's buy and loan offers.
    void ClearOfferLists();
    void ClearTeamSheet();
    void FreeLists();
    void ResetNewsAndNotices();
    void SetDefaultFormation();
    void ApplyFormation(const FORMATIONDATA& data);
    bool ReadBody(CBinaryReader& reader);
    const char* FileNameForSlot(const char* pszFormat, char* pszBuffer, size_t nBytes) const;

    static int m_nHumanCount;

    std::unique_ptr<CNewspaperManager> m_pNews;
    std::unique_ptr<CNewspaperStoryList> m_pScrapbook;
    std::unique_ptr<CNoticeList> m_pNotices;
    std::unique_ptr<CScoutManager> m_pScouts;
    std::unique_ptr<CTrainingManager> m_pTraining;
    uint16_t m_wScoutReportStaff = 0;
    uint8_t m_byScoutReportKind = 0;
    std::unique_ptr<CSponsorManager> m_pSponsors;
    std::unique_ptr<CHoardingsManager> m_pHoardings;

    CClubDatabase* m_pClub = nullptr;
    ID_MANAGER m_idManager = 0;
    CCountryDatabase* m_pCountry = nullptr;
    uint8_t m_byPlayerNumber = 0;
    char m_szFirstName[SAVEGAME_NAME_BYTES] = {};
    char m_szSurname[SAVEGAME_NAME_BYTES] = {};

    CDate m_SeasonStart;
    CDate m_SeasonEnd;
    uint32_t m_dwWeeksInSeason = 0;
    CDate m_aMarketVisits[2];  // last visits of the transfer and loan lists
    CDate m_aReminders[4];
    uint8_t m_abySeasonBytes[2] = {};

    uint8_t m_byObjectiveType = BOARD_OBJECTIVE_NONE;
    uint8_t m_byObjectiveCountdown = 0;
    uint8_t m_byScenario = SCENARIO_NONE;
    uint8_t m_byScenarioValue = 0;

    int32_t m_nSavings = 0;
    int32_t m_nSavingsAtClose = 0;

    CPlayerDatabase* m_apTeamSheet[SAVEGAME_SHEET_PLACES] = {};
    CPlayerDatabase* m_apSetPieces[SAVEGAME_SETPIECE_PLACES] = {};
    uint8_t m_abyInstructions[12][10] = {};
    char m_szFormationName[SAVEGAME_NAME_BYTES] = {};
    FORMATIONENTRY m_aWorkingEntries[SAVEGAME_LINEUP];
    POSITIONBLOCK m_aWorkingBlocks[SAVEGAME_LINEUP];
    FORMATIONRECORD m_OwnFormation;
    POSITIONBLOCK m_aOwnBlocks[SAVEGAME_LINEUP];
    FORMATIONENTRY m_aSavedEntries[SAVEGAME_LINEUP];
    uint8_t m_byModified = 0;
    uint8_t m_abyFormationBytes[2] = {};
    char m_szFreeKickSet[SAVEGAME_NAME_BYTES] = {};
    SETPIECEROUTINE m_aFreeKicks[FREEKICK_ROUTINE_TOTAL];
    SETPIECEROUTINE m_aCorners[CORNER_ROUTINE_TOTAL];
    uint8_t m_abyDelegation[9] = {};

    FINANCEENTRY m_aMonthFinance[FINANCE_CATEGORIES];
    FINANCEENTRY m_aSeasonFinance[FINANCE_CATEGORIES];
    CXList m_lstTransactions;    // FINANCETRANSACTION
    CXList m_lstBalanceRecords;  // BALANCERECORD
    uint8_t m_abyTickets[TICKET_ROWS][TICKET_ROW_BYTES] = {};
    uint8_t m_abyStandPrices[STAND_PRICE_ENTRIES][STAND_PRICE_BYTES] = {};
    int32_t m_anAttendanceTrend[2] = {};

    CXList m_lstTransferReports;  // 132-byte blocks
    CXList m_lstLoanReports;      // 36-byte blocks
    CXList m_lstBuyOffers;        // CBuyOfferDatabase
    CXList m_lstLoanOffers;       // CLoanOfferDatabase
    CXList m_lstShortlist;        // CShortlistEntry
    CXList m_lstJobApplications;  // JOBAPPLICATION
    CXList m_lstNegotiations;     // STAFFNEGOTIATION
    CXList m_lstSquad;            // SQUADENTRY
    CXList m_lstEventHistory;     // EVENTHISTORYRECORD

    int8_t m_anAlerts[SAVEGAME_NAVIGATION_ALERTS] = {};
    int32_t m_nNextOpponent = -1;
    uint8_t m_byNextCompetition = 255;
    uint8_t m_byNextHome = 1;
    CDate m_NextDate;
    uint8_t m_byNextCountry = 0;
    uint8_t m_byNextExtra = 0;
    uint32_t m_dwHandOverValue = 0;
    uint8_t m_byHandOver = 0;
    // Set once the manager lets the program number his squad; the players
    // screen then numbers newcomers at every entry.
    uint8_t m_byAutomaticSquadNumbers = 0;
    // The shoot-out order as place + 1 per kick (0: none stored), in the
    // record's spare bytes, so that older saves read as no order.
    uint8_t m_abyPenaltyOrder[SAVEGAME_LINEUP] = {};
    uint8_t m_byFurther = 0;
    uint8_t m_abyHelpSeen[(HELP_SEEN_SCREENS + 7) / 8] = {};
};
