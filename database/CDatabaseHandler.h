#pragma once
// The one root of the game world. It owns the countries (and through them
// divisions, clubs and their people), the grounds, fixtures, offers and
// markets, the identifier tables that find players, managers, staff and clubs
// by identifier, the human managers' slots, the name dictionaries with the
// nationality name pools, and the fixed stadium tables read at start-up.
//
// Start-up data that is missing or malformed is logged and leaves
// AreFixedTablesLoaded() false; the program that built the root then refuses
// to start. Nothing here throws.
#include "common/CDate.h"
#include "common/CPointerArray.h"
#include "common/CXList.h"
#include "common/Identifiers.h"
#include "database/CGameTables.h"
#include "database/CPlayOffTemplates.h"
#include "database/CNameDictionary.h"
#include "database/CPlayerOfferList.h"
#include "database/CWorkingFileImage.h"
#include "database/IdentifierEntries.h"
#include "database/NationalityTable.h"
#include "database/StadiumTables.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class CSaveGame;
class CStaffDatabase;
class CCountryDatabase;
class CGroundDatabase;
class CClubDatabase;
class CCupFixturesDatabase;
class CBuyOfferDatabase;
class CLoanOfferDatabase;
class CEuropeanCupDatabase;
class CListMarketEntry;
class CLoanMarketEntry;
class CBinaryReader;
class CBinaryWriter;
class CDivisionDatabase;
class CEventsDatabase;
class CRefereeDatabase;
struct CUP;
struct ITEMCUPMATCHRULES;
struct CUPEXTRA;
struct CUPTIE;
struct ITEMCUPSTRUCTUREINFORMATION;
struct MATCHPARAMETERS;
struct MATCHSIDERECORD;
struct MATCHHISTORYHEADER;
struct MATCHRECORDBODY;
struct HOMEMATCHSTANDS;
struct PLAYERCONTRACT;

// A completed deal that waits for its date.
struct PENDINGTRANSFER {
    uint32_t dwDate = 0;
    CBuyOfferDatabase* pOffer = nullptr;
};

constexpr int HUMAN_SLOTS = 4;
constexpr int RETIRED_CACHE_SLOTS = 10;
constexpr int WORLD_BLOCK_BYTES = 7040;

enum NAMEDICTIONARY { NAMEDICTIONARY_FIRST = 0, NAMEDICTIONARY_LAST = 1 };

class CDatabaseHandler {
public:
    // Builds the empty world and reads the dictionaries, the name pools and
    // the six stadium tables from the current folder.
    CDatabaseHandler();
    ~CDatabaseHandler();
    CDatabaseHandler(const CDatabaseHandler&) = delete;
    CDatabaseHandler& operator=(const CDatabaseHandler&) = delete;

    // True when every dictionary, pool and table was read; false means the
    // installation is damaged and the log says which file.
    bool AreFixedTablesLoaded() const { return m_bFixedTablesLoaded; }

    // ---- world lifecycle ----
    // Frees the loaded world, keeps the fixed tables; only when a world is loaded.
    void DeleteDatabase();
    bool IsDatabaseLoaded() const { return m_nDatabaseLoaded != 0; }
    // Drops the world in memory, humans included, as a refused load does.
    void UnloadWorld()
    {
        FreeWorld();
        m_nDatabaseLoaded = 0;
    }
    void SetDatabaseLoaded(bool bLoaded) { m_nDatabaseLoaded = bLoaded ? 1 : 0; }
    // Keeps the cup fixture just played for the match screen; null clears it.
    void SetPendingCupFixture(CCupFixturesDatabase* pFixture);
    CCupFixturesDatabase* GetPendingCupFixture() const { return m_pPendingCupFixture; }
    bool HasPendingCupFixture() const { return m_byPendingCupFixture != 0; }
    // The human whose turn it is; null for an empty slot.
    CSaveGame* GetCurrentSaveGame() const;
    int GetCurrentHumanIndex() const { return m_byCurrentHuman; }
    // Game length in seasons and the two other settings: 5, 0, 6.
    void SetDefaultGameSettings();
    uint8_t GetGameSetting(int nIndex) const { return nIndex >= 0 && nIndex < 3 ? m_byGameSettings[nIndex] : 0; }
    void SetGameSetting(int nIndex, uint8_t byValue)
    {
        if (nIndex >= 0 && nIndex < 3)
            m_byGameSettings[nIndex] = byValue;
    }
    const CDate& GetGameDate() const { return m_GameDate; }

    // ---- identifiers ----
    CPlayerDatabase* GetPlayerFromID(ID_PLAYER idPlayer);
    CYouthDatabase* GetYouthFromID(ID_PLAYER idPlayer);
    CManagerDatabase* GetManagerFromID(ID_MANAGER idManager);
    uint8_t GetManagerState(ID_MANAGER idManager) const;
    CManagerDatabase* GetPoolManager(ID_MANAGER idManager) const;
    CManagerDatabase* GetEmployedManager(ID_MANAGER idManager) const;
    // Asked for every man of every club's staff several times a week: the
    // usual answer inline, a retired man's record read back out of line.
    CStaffDatabase* GetStaffFromID(ID_STAFF idStaff)
    {
        const LPITEMSTAFFINFORMATION pEntry = GetStaffInformation(idStaff);
        if (pEntry && !(pEntry->dwFlags & STAFFINFO_RETIRED))
            return pEntry->pStaff;
        return pEntry ? ReloadRetiredStaff(idStaff) : nullptr;
    }
    CClubDatabase* GetClubFromID(ID_CLUB idClub) const;
    // The table entries themselves; null when there is none.
    LPITEMPLAYERINFORMATION GetPlayerInformation(ID_PLAYER idPlayer) const;
    LPITEMMANAGERINFORMATION GetManagerInformation(ID_MANAGER idManager) const;
    LPITEMSTAFFINFORMATION GetStaffInformation(ID_STAFF idStaff) const
    {
        return idStaff == 0 ? nullptr : static_cast<LPITEMSTAFFINFORMATION>(m_StaffTable.GetAt(idStaff));
    }

    void AddManagerToIDTable(ID_MANAGER idManager, CManagerDatabase* pManager, uint8_t byState);
    void AddStaffToIDTable(ID_STAFF idStaff, CStaffDatabase* pStaff, uint32_t dwFlags);
    // A player; with bReuse the identifier's existing entry takes him.
    void AddPlayerToIDTable(ID_PLAYER idPlayer, CPlayerDatabase* pPlayer, bool bReuse);
    // A youth player.
    void AddPlayerToIDTable(ID_PLAYER idPlayer, CYouthDatabase* pYouth);
    // The entry stays; with bClear its flags become 0.
    void RemovePlayerFromIDTable(bool bYouth, ID_PLAYER idPlayer, bool bClear);
    // The club table is rebuilt after a load: sized to the club total, then
    // every club entered at its identifier.
    void ResetClubTable(int nClubTotal);
    void SetClubInTable(ID_CLUB idClub, CClubDatabase* pClub);
    int GetClubTotal() const { return m_nClubTotal; }
    int GetPlayersInTable() const { return m_nPlayersInTable; }
    int GetYouthsInTable() const { return m_nYouthsInTable; }
    int GetPlayerTableSize() const { return m_PlayerTable.GetSize(); }
    int GetManagerTableSize() const { return m_ManagerTable.GetSize(); }
    int GetStaffTableSize() const { return m_StaffTable.GetSize(); }

    // Identifiers given back are handed out again before new ones.
    void AddFreeIdentifier(uint32_t dwIdentifier);
    uint32_t GetFreeIdentifier();
    int GetFreeIdentifierCount() const { return m_lstFreeIdentifiers.GetCount(); }

    // ---- names ----
    bool CreateNameGenerationTables();
    void DeleteNameGenerationTables();
    const CNameDictionary& GetNameDictionary(int nDictionary) const
    {
        return nDictionary == NAMEDICTIONARY_LAST ? m_LastNames : m_FirstNames;
    }
    // Halving search of a dictionary (NAMEDICTIONARY_FIRST or _LAST).
    bool FindName(int nDictionary, const char* pszName, uint32_t& dwOffset, const char** ppName = nullptr) const;
    // The name at an offset stored in a record; null when the offset is not
    // the start of a name of the dictionary.
    const char* GetFirstNameFromOffset(uint32_t dwOffset) const { return m_FirstNames.GetNameAtOffset(dwOffset); }
    const char* GetLastNameFromOffset(uint32_t dwOffset) const { return m_LastNames.GetNameAtOffset(dwOffset); }
    // Nationality 1-101; null otherwise or when the pools did not load.
    const NATIONALITYROW* GetNationalityRow(int nNationality) const;
    // With a country (its identifier byte; 0 for none) 98 in 100 people share
    // its nationality; the rest, and everyone without a country, get any.
    const NATIONALITYROW* PickNationality(ID_COUNTRY idCountry) const;
    // A random name of the row's pools.
    const char* DrawFirstName(const NATIONALITYROW& row) const;
    const char* DrawLastName(const NATIONALITYROW& row) const;
    // Draws a first and a last name from the row's pools and finds both in
    // the dictionaries; false (logged) when a drawn name is not there.
    bool GenerateName(const NATIONALITYROW& row, uint32_t& dwFirstOffset, uint32_t& dwLastOffset) const;
    // Appearance type 0, 3 or 4 and its variant for a nationality (1-101).
    void DrawAppearance(int nNationality, uint8_t& byType, uint8_t& byVariant) const;

    // ---- stadium tables and value rules ----
    // Position class of a stand position 0-7 (clockwise from the top side):
    // 0 long sides, 1 ends, 2 corners.
    static int GetStadiumPositionKind(int nPosition);
    // Keyed by stand position 0-7 (turned into its class), kind, size, option.
    const STANDTABLERECORD* GetStandTableRecord(int nPosition, int nKind, int nSize, int nOption) const;
    const STANDADJUSTMENTTABLERECORD* GetStandAdjustmentTableRecord(int nPosition, int nKind, int nSize,
                                                                    int nOption) const;
    const STANDPARTTABLERECORD* GetStandPartTableRecord(int nPosition, int nKind, int nSize, int nPart) const;
    const FACILITYTABLERECORD* GetFacilityTableRecord(int nType, int nSize) const;
    const FACILITYTABLERECORD* GetExtraFacilityTableRecord(int nType, int nSize) const;
    // The row for a value (a ground capacity) among the rows of one key pair;
    // null when the table has no row of that key pair.
    const STADIUMSIZETABLERECORD* GetStadiumSizeTableRecord(int nKey1, int nKey2, uint32_t dwValue) const;
    const STADIUMSIZETABLERECORD* GetStadiumSizeTableRow(int nIndex) const;
    void SortStadiumSizeTable();
    static const FACILITYCOMPONENTTABLERECORD* GetFacilityComponentTableRecordFromTypeAndSize(int nType, int nSize);

    // The plan of a ground: 62 x 44 cells of 10 pixels from (8, 30), the
    // pitch 11 x 8 cells with its top-left cell at (26, 18).
    static constexpr int kPlanOriginX = 8;
    static constexpr int kPlanOriginY = 30;
    static constexpr int kPlanCellPixels = 10;
    static constexpr int kPitchCellX = 26;
    static constexpr int kPitchCellY = 18;
    static constexpr int kPitchWidthCells = 11;
    static constexpr int kPitchHeightCells = 8;
    // The plan cell next to the pitch where a stand of the position starts.
    static bool GetStadiumPositionCell(int nPosition, int& nX, int& nY);
    // A stand's rectangle on the plan from its size (0-5, one cell deeper per
    // step) and position, in cells and in client pixels.
    static bool GetStadiumComponentGridRect(int nSize, int nPosition, int& nX, int& nY, int& nWidth, int& nHeight);
    static bool GetStadiumComponentScreenRect(int nSize, int nPosition, int& nX, int& nY, int& nWidth,
                                              int& nHeight);

    static void BuildAttendanceCurve();
    // Entry 0-99 (clamped) of the attendance curve.
    static float GetAttendanceCurveEntry(int nIndex);
    static int32_t RoundMoneyValue(int32_t nAmount);
    // The merchandise, restriction and match-day cost rows of Data\Tables.
    const CGameTables& GetGameTables() const { return m_GameTables; }
    // The divisions' play-off rounds, by country and place in its list.
    const CPlayOffTemplates& GetPlayOffTemplates() const { return m_PlayOffTemplates; }
    CPlayOffTemplates& GetPlayOffTemplates() { return m_PlayOffTemplates; }
    // 100 at a, 0 at b, linear between; 100 when a equals b.
    static float GetPercentageInRange(float fValue, float fA, float fB);
    static void MergeClubRecords(CLUBRECORDENTRY* pTarget, const CLUBRECORDENTRY* pOther);

    // ---- cup numbers and money tiers ----
    // CUP_NUMBER_NONE (logged) when the type or the country does not fit.
    static CUP_NUMBER MakeCupNumber(int nCupType, ID_COUNTRY idCountry);
    static int GetCupTypeFromCupNumber(CUP_NUMBER cupNumber) { return cupNumber / 20; }
    static ID_COUNTRY GetCountryFromCupNumber(CUP_NUMBER cupNumber) { return static_cast<ID_COUNTRY>(cupNumber % 20); }
    // Level 0 gives 25,000 rising to 162,000 at level 4 and above.
    static int32_t GetMoneyTier(int nLevel);

    // ---- people: registration, history slots and the retired-record files ----
    // (CDatabaseHandlerPeople.cpp, CDatabaseHandlerRetired.cpp)
    // Sets the class-wide root pointer of the people records for as long as
    // this root exists.
    struct PEOPLELINK {
        explicit PEOPLELINK(CDatabaseHandler* pHandler);
        ~PEOPLELINK();
        PEOPLELINK(const PEOPLELINK&) = delete;
        PEOPLELINK& operator=(const PEOPLELINK&) = delete;
    };
    void SetGameDate(const CDate& date) { m_GameDate = date; }
    // A player read from a file: one more identifier issued, entered at his id.
    void RegisterPlayer(CPlayerDatabase* pPlayer);
    // His entry stays (with the flags cleared) but no longer points at him.
    void UnregisterPlayer(CPlayerDatabase* pPlayer);
    int GetPlayerCount() const { return m_nPlayerCount; }
    void SetPlayerCount(int nCount) { m_nPlayerCount = nCount; }
    // State MANAGERSTATE_EMPLOYED or MANAGERSTATE_POOL; raises the next identifier.
    void RegisterManager(CManagerDatabase* pManager, uint8_t byState);
    ID_MANAGER GetNextManagerID() const { return m_wNextManagerID; }
    int GetPoolManagerCount() const { return m_wPoolManagers; }
    // STAFFINFO_EMPLOYED or STAFFINFO_POOL (which also joins the staff pool list).
    void RegisterStaff(CStaffDatabase* pStaff, uint32_t dwState);
    ID_STAFF GetNextStaffID() const { return m_wNextStaffID; }
    int GetStaffPoolCount() const { return m_lstStaffPool.GetCount(); }
    CCountryDatabase* GetFirstCountry() const;
    // One of the first nine countries at random; null (and no draw) without any.
    CCountryDatabase* GetRandomLeadingCountry() const;
    // Slots of the weekly player history file in use: the largest slot read.
    int GetHistorySlotCount() const { return m_nHistorySlots; }
    void RaiseHistorySlotCount(int nSlot)
    {
        if (nSlot > m_nHistorySlots)
            m_nHistorySlots = nSlot;
    }
    // Retiring writes the record to "temp.rtp", "temp.rtm" or "temp.rts" in
    // the current folder and destroys it; the entry keeps its file position.
    bool SavePlayerRetired(LPITEMPLAYERINFORMATION pPlayerInfo);
    bool RetireManager(ID_MANAGER idManager);
    bool RetireStaff(ID_STAFF idStaff);
    // Reloads into a ring of ten: valid until ten further reloads of the kind.
    CPlayerDatabase* LoadPlayerRetired(LPITEMPLAYERINFORMATION pPlayerInfo);
    CManagerDatabase* LoadRetiredManager(ID_MANAGER idManager);
    CStaffDatabase* LoadRetiredStaff(ID_STAFF idStaff);
    // The same, asked for by identifier (GetStaffFromID).
    CStaffDatabase* ReloadRetiredStaff(ID_STAFF idStaff);
    // After a world is read: enters every record of the three files.
    bool LoadRetiredPlayers();
    bool LoadRetiredManagers();
    bool LoadRetiredStaff();
    void FreeRetiredCaches();
    int GetRetiredPlayerCount() const { return m_nRetiredPlayers; }
    int GetRetiredManagerCount() const { return m_wRetiredManagers; }
    int GetRetiredStaffCount() const { return m_wRetiredStaff; }
    // What a cache slot (0-9) holds now; null when empty.
    const CPlayerDatabase* GetRetiredPlayerCacheSlot(int nSlot) const
    {
        return nSlot >= 0 && nSlot < RETIRED_CACHE_SLOTS ? m_pRetiredPlayers[nSlot] : nullptr;
    }
    const CManagerDatabase* GetRetiredManagerCacheSlot(int nSlot) const
    {
        return nSlot >= 0 && nSlot < RETIRED_CACHE_SLOTS ? m_pRetiredManagers[nSlot] : nullptr;
    }

private:
    int32_t m_nHistorySlots = 0;
    PEOPLELINK m_PeopleLink{this};
    // ---- end of people ----

public:
    // ---- fixtures, referees and grounds ----
    // (season/CDatabaseHandlerGrounds.cpp)
    // Sets the class-wide root pointer of the referee and ground records for
    // as long as this root exists.
    struct RECORDSLINK {
        explicit RECORDSLINK(CDatabaseHandler* pHandler);
        ~RECORDSLINK();
        RECORDSLINK(const RECORDSLINK&) = delete;
        RECORDSLINK& operator=(const RECORDSLINK&) = delete;
    };
    // The next ground component identifier; the counter then rises by one.
    uint32_t TakeNextComponentID();
    uint32_t GetNextComponentID() const { return m_dwGroundComponentID; }
    void SetNextComponentID(uint32_t dwID) { m_dwGroundComponentID = dwID; }
    // The ground with that identifier, with the list position after it.
    CGroundDatabase* GetGroundFromID(ID_GROUND idGround, LPXLISTNODE* ppNext = nullptr) const;

private:
    RECORDSLINK m_RecordsLink{this};
    // ---- end of fixtures, referees and grounds ----

public:
    // ---- clubs, divisions and youths ----
    // (CDatabaseHandlerClubs.cpp)
    // Sets the class-wide root pointer of the club and division records for
    // as long as this root exists.
    struct CLUBSLINK {
        explicit CLUBSLINK(CDatabaseHandler* pHandler);
        ~CLUBSLINK();
        CLUBSLINK(const CLUBSLINK&) = delete;
        CLUBSLINK& operator=(const CLUBSLINK&) = delete;
    };
    // The league statistics that shape generated youths, kept in the world
    // block: per level 0-4, attribute 0-21 and role group 0-7 a sum and a
    // count. False for a cell outside the block.
    bool GetLeagueStatistic(int nLevel, int nAttribute, int nGroup, uint32_t& dwSum, uint32_t& dwCount) const;
    bool SetLeagueStatistic(int nLevel, int nAttribute, int nGroup, uint32_t dwSum, uint32_t dwCount);
    // While set, loading a club attaches its manager with notice and counts
    // the European places its cup entries take.
    bool IsCountingEuropeanPlaces() const { return m_byFlags[0] != 0; }
    void SetCountingEuropeanPlaces(bool bCount) { m_byFlags[0] = bCount ? 1 : 0; }

private:
    CLUBSLINK m_ClubsLink{this};
    // ---- end of clubs, divisions and youths ----

public:
    // ---- countries and cups ----
    // (CDatabaseHandlerCountries.cpp)
    // Sets the class-wide root pointer of the country, story and cup records
    // for as long as this root exists.
    struct COUNTRIESLINK {
        explicit COUNTRIESLINK(CDatabaseHandler* pHandler);
        ~COUNTRIESLINK();
        COUNTRIESLINK(const COUNTRIESLINK&) = delete;
        COUNTRIESLINK& operator=(const COUNTRIESLINK&) = delete;
    };
    // The country with that identifier byte (or second identifier), with the
    // list position after it; null when absent.
    CCountryDatabase* GetCountryFromID(ID_COUNTRY idCountry, LPXLISTNODE* ppNext = nullptr) const;
    CCountryDatabase* GetCountryFromSecondID(uint8_t bySecondID, LPXLISTNODE* ppNext = nullptr) const;
    const CXList& GetCountries() const { return m_lstCountries; }
    int GetCountryCount() const { return m_nCountryCount; }
    // The root takes the country; its divisions join the division total.
    void AddCountry(CCountryDatabase* pCountry);
    int GetDivisionTotal() const { return m_nDivisionTotal; }
    // The division with that identifier in any country.
    CDivisionDatabase* GetDivisionFromID(uint8_t byDivisionID) const;
    // The referee with that identifier in any country.
    CRefereeDatabase* FindReferee(uint16_t wRefereeID) const;
    // Country 0 of the number asks the European competitions, any other the
    // domestic cups of that country; null when there is no such cup.
    CUP* GetCupFromCupNumber(CUP_NUMBER byCup) const;
    // Whether the cup's definition ties a player who has played in it to
    // his club for the season.
    bool AppliesCupTiedRule(const CUP* pCup) const;
    // After a cup match: everyone who took part has played in the cup.
    void MarkCupTiedPlayers(CUP_NUMBER byCup, const std::vector<class CPlayerDatabase*>& tookPart) const;
    // The cup of the club's next cup fixture from today, none without one.
    const CUP* GetNextCupForClub(const CClubDatabase* pClub) const;
    // The club's earliest cup fixture from today (friendlies only when
    // asked for); null when it has none.
    const class CCupFixturesDatabase* FindNextCupFixture(const CClubDatabase* pClub, bool bWithFriendlies) const;
    // The rules of the club's next match (its division's for a league
    // match, its cup round's for a cup match, the friendly rules
    // {0, 5, 7, 7, 0} for a friendly or without a fixture) and its match
    // kind (MATCHKIND_*, league without a fixture). False without a fixture.
    bool GetNextMatchRules(const CClubDatabase* pClub, ITEMCUPMATCHRULES& rules, int* pnMatchKind) const;
    // The match rules of the cup's current round, none when it has none.
    const struct ITEMCUPMATCHRULES* GetCupRoundRules(const CUP* pCup) const;
    // Friendlies: the fixture is entered at once and the second club answers
    // the next day (event 46); a refused one is removed.
    CCupFixturesDatabase* OrganiseFriendlyFixture(CClubDatabase* pClub1, CClubDatabase* pClub2, const CDate& date,
                                                  bool bSwap);
    bool RemoveFriendlyFixture(CCupFixturesDatabase* pFixture);
    void AnswerFriendlyRequest(uint32_t dwFixtureID);
    // No league, cup or friendly fixture of the club on the date (the given
    // fixture aside).
    bool IsClubFreeOnDate(const CClubDatabase* pClub, const CDate& date,
                          const CCupFixturesDatabase* pExcept = nullptr) const;
    // The one European competitions object, made with the root.
    CEuropeanCupDatabase* GetEuropeanCups() const { return m_pEuropeanCups; }
    void AddEventToAllCountries(uint8_t byType, const CDate& date, uint32_t dwDataID);
    // Every country whose name has a fixed calendar gets it.
    void AttachCupCalendars();
    // The root's cup and friendly fixtures: added fixtures are linked to
    // their European cup and lower the earliest cup date.
    void AddCupFixture(CCupFixturesDatabase* pFixture);
    const CXList& GetCupFixtures() const { return m_lstCupFixtures; }
    void SortCupFixtures();
    // The root's list first, then each country's.
    CCupFixturesDatabase* FindCupFixtureByMatchId(uint32_t dwMatchID) const;

    // ---- cup rounds and ties (CDatabaseHandlerCups.cpp) ----
    // Settles the cup's current round: 0 when a round before the last was
    // decided (the caller advances and draws), 1 otherwise.
    int ProcessCupRound(uint8_t byKind, const CDate& date, CCountryDatabase* pCountry);
    void AdvanceCupWinners(uint8_t byKind, CCountryDatabase* pCountry);
    void EnterCupRoundClubs(CUP* pCup);
    void PrepareCupRoundDraw(CUP* pCup, CCountryDatabase* pCountry);
    // The whole step after a knock-out round: settle, advance, enter, draw.
    void SettleAndDrawCupRound(uint8_t byKind, CCountryDatabase* pCountry);
    // Whether the current round has played fixtures not yet settled.
    bool CupRoundNeedsSettling(const CUP* pCup, CCountryDatabase* pCountry) const;
    // The next season's European places of a cup final's winner: his
    // country's rules for a domestic cup; for a European cup the winner
    // defends it and plays the European super cup.
    void QualifyForEuropeanCups(CClubDatabase* pWinner, CClubDatabase* pLoser, uint8_t byKind,
                                CCountryDatabase* pCountry);
    // The cup shown at a competition index: 0-3 the country's domestic
    // kinds 0, 1, 3, 5; 4-6 the European kinds 0, 1, 3; null otherwise.
    CUP* GetCupByCompetitionIndex(int nIndex, const CCountryDatabase* pCountry) const;
    // The first round from the cup's present one whose first match is after
    // the date (with bRoundBefore the round before it); the cup's own round
    // when none is.
    int GetCurrentCupRound(const CDate& date, const CUP* pCup, bool bRoundBefore) const;
    // The group match days of the European cup played before the reference
    // round, for the cup tables screen (with bIncludeToday, today's too).
    int GetCupRoundsPlayed(const struct ITEMCUPROUNDINFORMATION* pReference,
                           const ITEMCUPSTRUCTUREINFORMATION* pDefinition, bool bIncludeToday) const;
    // The window keeps its length and starts today.
    void ShiftDateWindow(CDate& start, CDate& end) const;
    // ---- replays of level ties (CDatabaseHandlerCupReplays.cpp) ----
    // The next free replay record of the cup for the tie, or null when the
    // cup keeps none.
    static CUPEXTRA* TakeCupReplayRecord(CUP* pCup, const CUPTIE& tie);
    // Whether a level tie of the cup's current round is played again: the
    // rule of the round after it asks for replays and the cup keeps them.
    bool IsReplayRound(const CUP* pCup) const;
    // The definition the cup was installed from; null for none.
    const struct ITEMCUPSTRUCTUREINFORMATION* GetCupDefinition(const CUP* pCup) const;
    // The replay's fixture, the clubs' grounds swapped; a day on which either
    // club has another cup match moves it on to the next day free for both.
    void MakeCupReplayFixture(CUPEXTRA* pRecord, CUP* pCup);
    // On a cup's match day: each played replay's winner takes the stand-in's
    // place in the next round; how many were settled.
    int SettleCupReplays(uint8_t byKind, const CDate& date, CCountryDatabase* pCountry);
    // A league fixture of the club within a day of the date moves elsewhere;
    // a friendly of the club on the date is called off (a human manager is
    // told).
    void ClearClubDateForCup(ID_CLUB idClub, const CDate& date);
    // A free referee for the date: neutral to both clubs when bNeutral;
    // null when none is free.
    class CRefereeDatabase* ChooseCupReferee(const CDate& date, ID_CLUB idHome, ID_CLUB idAway, bool bNeutral,
                                             const CCountryDatabase* pOnly) const;
    // New game: European places, domestic cups and byes, European cups.
    void InstallNewGameCups();
    // Season change of every country's cups; the European places go by the
    // finished first-division tables, one per country in list order.
    void StartCupSeason(const std::vector<std::vector<ID_CLUB>>& finishedTables);
    // Frees every fixture of the root's cup and friendly list (referees'
    // European assignments must be cleared first).
    void FreeCupFixtures();
    // Entry nIndex of the per-country cup table of the country with that
    // identifier; null for a country without a row or an index beyond it.
    const ITEMCUPSTRUCTUREINFORMATION* GetCountryCupEntry(int nIndex, ID_COUNTRY idCountry) const;
    // Event key of a European cup round event: the low byte is 200 + kind.
    static constexpr uint32_t EUROPEAN_CUP_EVENT_BASE = 200;

private:
    COUNTRIESLINK m_CountriesLink{this};
    // ---- end of countries and cups ----

public:
    // ---- the whole-database file ----
    // (CDatabaseHandlerFile.cpp)
    // Reads a whole world from the stream's position to its end. Every count
    // is checked against the bytes that follow and every identifier against
    // its range; a short or damaged file is logged, the half-built world is
    // freed and the answer is false.
    bool Load(FILE* pFile);
    // The same from a whole file, read in one piece.
    bool LoadFile(const std::string& gamePath);
    // Writes the whole world; false (logged) when a record cannot be written.
    // The world is built in memory and goes out in one write.
    bool Save(FILE* pFile);

private:
    bool LoadFromBytes(const std::vector<uint8_t>& bytes);
    bool SaveToBytes(std::vector<uint8_t>& bytes);
    // The size of the last world read or built, so that the next one built
    // takes its buffer at once.
    size_t m_nLastWorldBytes = 0;
    // The world file's bytes as last read or built: every load and save
    // reuses this storage instead of asking the system for fresh pages.
    std::vector<uint8_t> m_worldBytes;

public:
    // After Load: the countries' pointer pass and the referees of the cup fixtures.
    void SetupPointers();
    // Links the root's cup fixtures to their running cups.
    void AttachCupFixturesToCups();
    // The current human as written to file: his place among the occupied
    // slots, which is where loading the humans puts him (0 when his slot is empty).
    static uint8_t PackHumanIndex(const bool abOccupied[HUMAN_SLOTS], uint8_t byCurrent);

    // The root's own lists; the root takes ownership of what is added.
    void AddGround(CGroundDatabase* pGround);
    const CXList& GetGrounds() const { return m_lstGrounds; }
    int GetGroundCount() const { return m_nGroundCount; }
    void AddYouth(CYouthDatabase* pYouth);
    const CXList& GetYouths() const { return m_lstYouths; }
    int GetYouthCount() const { return m_nYouthCount; }
    void AddBuyOffer(CBuyOfferDatabase* pOffer);
    void AddLoanOffer(CLoanOfferDatabase* pOffer);
    void AddListMarketEntry(CListMarketEntry* pEntry);
    void AddLoanMarketEntry(CLoanMarketEntry* pEntry);
    void AddPendingTransfer(uint32_t dwDate, CBuyOfferDatabase* pOffer);
    const CXList& GetBuyOffers() const { return m_lstBuyOffers.List(); }
    const CXList& GetLoanOffers() const { return m_lstLoanOffers.List(); }
    // One player's offers, in list order.
    const std::vector<LPXLISTNODE>& GetPlayerBuyOffers(ID_PLAYER idPlayer) const
    {
        return m_lstBuyOffers.OfPlayer(idPlayer);
    }
    const std::vector<LPXLISTNODE>& GetPlayerLoanOffers(ID_PLAYER idPlayer) const
    {
        return m_lstLoanOffers.OfPlayer(idPlayer);
    }
    const CXList& GetListMarket() const { return m_lstListMarket.List(); }
    // The lists' digest while the computer clubs choose their targets
    // together (DoClubsTransferPlanning); null otherwise.
    const class CMarketDigest* GetMarketDigest() const { return m_pMarketDigest; }
    const CXList& GetLoanMarket() const { return m_lstLoanMarket.List(); }
    const CXList& GetPendingTransfers() const { return m_lstPendingTransfers; }
    // The pools hold identifiers. A manager joins the unemployed pool in
    // state 4, and leaves it for a club in state 2.
    void AddManagerToFreePool(ID_MANAGER idManager);
    void RemoveManagerFromFreePool(ID_MANAGER idManager);
    const CXList& GetUnemployedManagers() const { return m_lstUnemployedManagers; }
    const CXList& GetStaffPool() const { return m_lstStaffPool; }
    // Takes a staff member off the pool list for a club's employ (state 2);
    // false when he is not in the pool.
    bool TakeStaffFromPool(ID_STAFF idStaff);
    int GetPlayerLimit() const { return m_nPlayerLimit; }
    uint32_t GetIdentifierCounter(int nIndex) const;
    void SetIdentifierCounter(int nIndex, uint32_t dwValue);
    void SetCurrentHumanIndex(uint8_t byIndex) { m_byCurrentHuman = byIndex; }

private:
    bool LoadWorld(CBinaryReader& reader);
    bool CheckWorldIdentifiers();
    bool SaveWorld(CBinaryWriter& writer);
    // ---- end of the whole-database file ----

public:
    // ---- human managers ----
    // (season/CDatabaseHandlerHumans.cpp) The four slots own their records.
    CSaveGame* GetHumanSlot(int nSlot) const { return nSlot >= 0 && nSlot < HUMAN_SLOTS ? m_pHumanSlots[nSlot] : nullptr; }
    void SetHumanSlot(int nSlot, CSaveGame* pHuman);
    int GetHumanCount() const;
    // The slot of a human, -1 when he is in none.
    int GetIndexForHumanPlayer(const CSaveGame* pHuman) const;
    // The human who runs the club, or null. Asked millions of times a season
    // for every club's books and match days: a world without humans (the one
    // run without a screen) answers from the empty slots without a call.
    CSaveGame* GetSaveGameForClub(const CClubDatabase* pClub) const
    {
        return HasHumans() ? FindSaveGameForClub(pClub) : nullptr;
    }
    // Whether any slot holds a human, from the slots alone.
    bool HasHumans() const
    {
        for (const CSaveGame* pHuman : m_pHumanSlots)
            if (pHuman)
                return true;
        return false;
    }
    // The human whose manager record this is, or null.
    CSaveGame* GetSaveGameForManager(const class CManagerDatabase* pManager) const;
    // The humans take their turns in slot order: the next occupied slot
    // after the current one, from the first occupied slot again after the
    // last; the current slot when it is the only one.
    int GetNextHumanPlayerIndex() const;
    // Makes the next human current and answers him (null without humans).
    CSaveGame* SelectNextHumanPlayer();
    // A scout query or a training camp booking by identifier, over the
    // humans in slot order; ppHuman (optional) receives its human.
    class CScoutPlayerQuery* GetScoutQueryFromID(uint32_t dwId, CSaveGame** ppHuman = nullptr) const;
    struct TRAININGCAMP* GetTrainingCampFromID(uint32_t dwId, CSaveGame** ppHuman = nullptr) const;
    void DeleteHumans();
    // The .sav file: count, descriptors, bodies. Loading puts the humans in
    // slots 0..count-1 (the current human of the .bin already names his
    // packed place); a damaged file is refused and leaves no human behind.
    bool SaveHumans(FILE* pFile) const;
    bool LoadHumans(FILE* pFile);
    // The humans' part of the day, month and new game.
    void DoHumansDailyUpdate();
    void CloseHumansFinanceMonth();
    void SetUpHumansForNewGame();
    void DoHumansPeriodicReview();
    // Each human's books move into the season file and his season restarts.
    void DoHumansNewSeason();
    // The current human's scouts count the day.
    void DoHumanScoutingDay(int nDays);
    // Whether the fixtures of the humans' clubs wait for the match screen
    // (the option MatchType: 0 quick results for every fixture). The shell
    // sets it from the options; without a shell every fixture is played.
    void SetMatchType(uint8_t byMatchType) { m_byMatchType = byMatchType; }
    uint8_t GetMatchType() const { return m_byMatchType; }
    // True when the fixture of these clubs is the match screen's.
    bool IsFixtureHeldForMatchScreen(const CClubDatabase* pHome, const CClubDatabase* pAway) const;
    // Each human's quarterly reports on his club.
    void DoHumansQuarterlyUpdate(bool bFlag);
    // ---- end of human managers ----

public:
    // ---- quick-match pools ----
    // (season/CDatabaseHandlerQuickMatch.cpp)
    // The memory chunks of the quick-match sides and player records: taken
    // as the pools grow, given back only when the root goes.
    struct MATCHCHUNKS {
        explicit MATCHCHUNKS(CDatabaseHandler* pHandler);
        ~MATCHCHUNKS();
        MATCHCHUNKS(const MATCHCHUNKS&) = delete;
        MATCHCHUNKS& operator=(const MATCHCHUNKS&) = delete;
        CDatabaseHandler* pHandler;
        CXList lstChunks;
    };
    int GetMatchChunkCount() const { return m_MatchChunks.lstChunks.GetCount(); }

private:
    MATCHCHUNKS m_MatchChunks{this};
    // ---- end of quick-match pools ----

public:
    // ---- fixture numbers, grounds and free dates ----
    // (CDatabaseHandlerFixtures.cpp)
    // The next match number of a new fixture; the counter then rises by one.
    uint32_t TakeNextFixtureID() { return m_dwFixtureID++; }
    uint32_t GetNextFixtureID() const { return m_dwFixtureID; }
    void SetNextFixtureID(uint32_t dwID) { m_dwFixtureID = dwID; }
    // Where a cup, play-off or friendly fixture is played by the venue byte
    // of its match rules (0 home ground, 1 the home country's choice, 2 the
    // national ground, 3 a third country); 0 (logged) for another venue.
    ID_GROUND GenerateFixtureGround(uint8_t byVenue, ID_CLUB idHome, ID_CLUB idAway) const;
    // A ground in one of the first nine countries that is neither club's;
    // without such a country the home country chooses (logged).
    ID_GROUND GetNeutralCountryGround(ID_CLUB idHome, ID_CLUB idAway) const;
    // No home league match from the day before to the day after, and its
    // ground free of cup and friendly fixtures on the date.
    bool CanClubHostOnDate(const CDate& date, const CClubDatabase* pClub) const;
    bool IsGroundFreeOnDate(const CDate& date, ID_GROUND idGround) const;
    // The club's fixture in the window round the date (0: date - days ..
    // date, 1: date .. date + days, 2: both sides): its country's league and
    // cup fixtures first, then the root's list. Kind 0 league (the fixture a
    // CDivisionFixturesDatabase), 1 the country's cups, 2 the root's cups, 3
    // a friendly (all CCupFixturesDatabase). Null when there is none.
    CClubDatabase* GetFixtureOpponent(ID_CLUB idClub, const CDate& date, int nDays, int nWindow,
                                      void** ppFixture = nullptr, int* pnKind = nullptr) const;
    // The club's cup or friendly fixture on the date (its country's list,
    // then the root's); null when it has none.
    class CCupFixturesDatabase* FindCupFixtureOnDate(ID_CLUB idClub, const CDate& date) const;
    // The day before the first Monday of July that ends the present season.
    void GetSeasonEndDate(CDate& date) const;
    // The building schedule with that identifier on any ground; null when none.
    class CComponentScheduleDatabase* FindComponentSchedule(uint32_t dwScheduleID) const;

    // ---- end of fixture numbers, grounds and free dates ----

public:
    // ---- the day advance, match play and the working history files ----
    // (CDatabaseHandlerDays.cpp, CDatabaseHandlerMatches.cpp,
    // CDatabaseHandlerHistory.cpp)
    // The world's part of starting a new game once its humans are chosen:
    // referees for a country without any, the history slots and "temp.phs",
    // the season dates of every country for the season beginning in 1999,
    // the game date 1 July 1999, the season start (the first Monday of July),
    // the league fixtures of every division with their history files and the
    // countries' level payments. The caller seeds the generator. False
    // (logged) without a world or when a working file cannot be made.
    bool SetUpNewGameRecords();
    // Enters the next day and runs its work in order: the countries' and
    // divisions' daily steps, the week (Mondays), the month (the 1st), the
    // quarter (1 March, June, September, December), the season turn (only
    // with bySeasonChange non-zero), the countries' scheduled events. The
    // flags come back 0 or 1; the new-month flag is only ever set here.
    void DoNextDay(CDate& date, uint8_t& byNewWeek, uint8_t& byNewMonth, uint8_t& byNewSeason,
                   uint8_t bySeasonChange);
    // The reduced step of the pre-start run: the date is not moved.
    void DoDayEnd(CDate& date, uint8_t& byNewWeek, uint8_t& byNewMonth);
    // The day up to which the continue command runs: tomorrow in continue
    // mode 0 or without a human manager, else the earliest stop of the humans.
    void GetContinueDate(CDate& date) const;
    // One human's stop from today: the reference club's next match date
    // (today + 7 without one), or sooner the next Sunday (or, for a division
    // with a fixed weekday, that weekday's next day); a human without a club
    // stops on the Sunday or weekday day only.
    CDate GetContinueStopForClub(const CClubDatabase* pClub, bool bHasClub) const;
    uint8_t GetContinueMode() const { return m_byContinueMode; }
    void SetContinueMode(uint8_t byMode) { m_byContinueMode = byMode; }
    // The continue command: enters days up to the continue date, playing
    // every day's fixtures except the last day's, which are left for the
    // match-day screens (DoMatchDay). Answers the days entered; the flag
    // (when given) tells whether a new season began on the way, and the
    // callback (when given) hears after each day entered how many of how
    // many are done.
    int ProcessDay(bool* pbNewSeason = nullptr, const std::function<void(int, int)>& onDay = {});
    // The pre-start run of a new game up to (not including) the target,
    // reporting its progress week by week (progress message 21).
    void ProcessDaysToDate(const CDate& target);
    // Plays every fixture of the date: the root's cup and friendly fixtures,
    // then each country's league fixtures. Answers the fixtures played.
    int DoMatchDay(const CDate& date);
    // Every club's new fee record becomes its newspaper story.
    void PostClubPlayerAwards();
    void DoNewWeek();
    void DoWeeklyUpdate();
    void DoNewMonth(uint8_t byFlag);
    void DoQuarterUpdate(uint8_t byFlag);
    void DoNewSeason();
    void DoCountriesNewSeason();
    void UpdateHumanNextFixtures();
    void SaveProjectedFinance();
    // Empties the club table and enters every club of every division again.
    void RebuildClubIDTable();
    // Lays the records of the clubs' players out again squad after squad,
    // in the order the weekly steps walk the clubs, and points every holder
    // at the new places. Answers the records that moved.
    int RelayPlayerRecords();
    // The first Monday of July of the present season, kept in the European
    // competitions object.
    CDate GetSeasonStartDate() const;

    // Plays one fixture through the quick result engine and appends its
    // record through pHistory (none written when null): the 52-byte header,
    // both line-ups of 11 + S entries, both sides' events. A record is never
    // written with counts that disagree with what follows.
    void ProcessMatch(MATCHPARAMETERS* pBlock, ID_GROUND idGround, CBinaryWriter* pHistory);
    // A played match into the world, whichever engine played it: the gate,
    // the record through pHistory (header from pBlock->pHeader with the
    // engine's result fields, both line-ups, the events of the block's lists,
    // which are freed), the clubs' results and the home pitch. The players'
    // own records are the engine's (RecordPlayersMatch). Who took part goes
    // to pBlock->pTookPart when given.
    void RecordMatch(MATCHPARAMETERS* pBlock, ID_GROUND idGround, CBinaryWriter* pHistory,
                     const MATCHSIDERECORD& home, const MATCHSIDERECORD& away);
    // The block of a cup or friendly fixture of the root's list: the round's
    // rules (a friendly's own without them) and the first leg of a tie.
    void MakeCupMatchBlock(const CCupFixturesDatabase* pFixture, CClubDatabase* pHome, CClubDatabase* pAway,
                           const ITEMCUPMATCHRULES* pRoundRules, MATCHPARAMETERS& block) const;
    // A played cup or friendly fixture's leg state and goals into it; its
    // players become cup-tied where the cup says so.
    void RecordCupResult(CCupFixturesDatabase* pFixture, const MATCHPARAMETERS& block) const;
    // Where the records of "temp.mhs" gather until the next flush.
    CWorkingFileAppends& GetCupMatchHistory() { return m_CupMatchHistory; }
    // The home club's match-day sales and costs; for a human home club its
    // 204- and 28-byte parts, the gate value and the stands' 256-byte block
    // follow the record (nothing is written without a writer).
    void WriteMatchRecordExtras(CBinaryWriter* pWriter, CClubDatabase* pHome, CClubDatabase* pAway,
                                uint32_t dwAttendance, int32_t nValue, const struct STANDATTENDANCE* pStands,
                                uint32_t dwItem);
    // The root's cup and friendly fixtures of the date, into "temp.mhs"
    // (gathered in memory, appended when the working files are flushed).
    int PlayCupAndFriendlyFixtures(const CDate& date);
    // Reads the record at the stream's position: false at the end of the
    // file or (logged) for a record cut short. pBody may be null.
    static bool ReadNextMatchRecord(FILE* pFile, MATCHHISTORYHEADER& header, MATCHRECORDBODY* pBody);
    // From nPosition on (updated to the record's start), the record of the
    // match id; false when the file ends first.
    static bool FindMatchInHistoryFile(MATCHHISTORYHEADER& header, MATCHRECORDBODY* pBody, uint32_t dwMatchID,
                                       FILE* pFile, long& nPosition);
    // "temp.mhs", then each country's file: the first that holds the match.
    // The records gathered in memory are appended first.
    bool FindMatchRecord(MATCHHISTORYHEADER& header, MATCHRECORDBODY* pBody, uint32_t dwMatchID);
    // Every match record's header, "temp.mhs" first, then each country's
    // file in the countries' order (the records gathered in memory appended
    // first); a missing file gives nothing, a damaged one its whole records.
    void ReadAllMatchHeaders(const std::function<void(const MATCHHISTORYHEADER&)>& visit);
    // Every record of "temp.mhs", then of each country's file in list order
    // (the records gathered in memory appended first), until visit answers
    // false; a file that does not open is passed over.
    void ForEachMatchRecord(const std::function<bool(const MATCHHISTORYHEADER&, const MATCHRECORDBODY&)>& visit);
    // Appends the gathered cup and friendly match records to "temp.mhs".
    bool FlushCupMatchHistory();
    // The match history files, "temp.mhs" first, with every record gathered
    // in memory appended.
    std::vector<std::string> FlushMatchHistoryFiles();
    // Deletes "temp.mhs" with the records not yet appended to it.
    void DeleteCupMatchHistory();
    // The club's next fixture from today (league or the root's list): the
    // opponent's id or -1; competition 255 league, 200 friendly, else the cup type.
    int GetNextFixture(const CClubDatabase* pClub, uint8_t* pbyHome, uint8_t* pbyCompetition, CDate* pDate) const;
    // Whether the club has a match after the date, and its date.
    bool GetNextMatchDate(const CClubDatabase* pClub, const CDate& date, CDate& next) const;
    // The club's home matches at its own ground up to today, oldest first,
    // each with its record's stand block when the record was found (today's
    // match counts only once it is played).
    std::vector<HOMEMATCHSTANDS> GetHomeMatchStands(const CClubDatabase* pClub);

    // Week 1 is the week of 1 January 1999.
    static int GetWeekNumber(const CDate& date);
    static CDate GetDateFromWeekNumber(int nWeek);
    // "temp.phs": a directory of N u16 week numbers, then a ring of 52
    // weekly blocks of N ten-byte records, N the history slots.
    static int64_t GetPlayerHistoryFileBytes(int nSlots) { return 522LL * nSlots; }
    // The history is kept in memory and reaches "temp.phs" when the working
    // files are flushed; a new one is all zeros.
    bool CreatePlayerHistoryFile();
    // Writes this week's record of every player with a history slot; a slot
    // above N is logged and skipped. The file must hold the whole layout.
    bool SavePlayerHistory(FILE* pFile);
    // Writes this week's records into the history, which is read from
    // "temp.phs" first when none is held and made again zero-filled when
    // that file is missing or short.
    bool WritePlayerHistory();
    // nBytes of the history from nOffset (the layout of "temp.phs"); false
    // when they lie outside it.
    bool ReadPlayerHistory(int64_t nOffset, uint8_t* pDest, size_t nBytes);
    // Holds the history in memory in the layout of nSlots slots. New youths
    // take slots beyond the file's count, so a history of fewer slots is laid
    // out again with every record kept; a missing or damaged one is made
    // again zero-filled (false).
    bool OpenPlayerHistory(int nSlots);

    // Writes every working file held in memory that changed (the player
    // history, the division histories, the match records waiting to be
    // appended): what a saved game or a reader of the files needs first.
    bool FlushWorkingFiles();
    // Drops what is held in memory of the working files, unwritten changes
    // and all, so that files replaced on disk (a saved game's set unpacked)
    // are read again when next needed.
    void CloseWorkingFiles();
    // Appends the season's cup and friendly fixtures to "TempEuroCup.shs".
    bool SaveEuroCupSchedule();
    // "Temp*.wmh", "Temp*.hhs" and "Temp.eml" in the current folder.
    void DeleteTempHistoryFiles();
    // Deletes the files of the folder (the current one for null) that
    // match the pattern; answers how many.
    static int DeleteMatchingFiles(const char* pszPattern, const char* pszFolder);

private:
    // News 265 to every human whose club plays in the country.
    void TellHumansOfNewSeason(const CCountryDatabase& country) const;
    // The room kept for a history of nBytes, so that new slots (a quarter
    // more) do not copy the whole history into a new buffer.
    static size_t PlayerHistoryRoom(size_t nBytes);
    // Copies this week's records into the directory and the week's block.
    void FillPlayerHistoryWeek(uint8_t* pDirectory, uint8_t* pBlock, int nSlots, int nWeek) const;
    // "temp.phs" while the game runs.
    CWorkingFileImage m_PlayerHistoryFile;
    // Records of "temp.mhs" not yet appended.
    CWorkingFileAppends m_CupMatchHistory;
    uint8_t m_byContinueMode = 0;
    int32_t m_nYouthReleaseCounter = 0;
    // ---- end of the day advance ----

public:
    // ---- markets, offers, transfers and the people pools ----
    // (CDatabaseHandlerMarkets.cpp, CDatabaseHandlerPools.cpp)
    // Listing: 2 when the player is already on a market (state not 0), else 0.
    // Days 65535 means no limit; a free transfer (state 4) never expires.
    int AddPlayerToListMarket(CPlayerDatabase* pPlayer, uint32_t dwAskingPrice, uint8_t byState, uint16_t wDays);
    int AddPlayerToLoanMarket(CPlayerDatabase* pPlayer, uint16_t wDays);
    // Kind 3 withdraws the buy and loan offers, 4 the buy offers, 5 the loan
    // offers, anything else none; true when the player left the market.
    bool RemovePlayerFromListMarket(CPlayerDatabase* pPlayer, ID_CLUB idClub, int nMode, int nKind);
    bool RemovePlayerFromLoanMarket(CPlayerDatabase* pPlayer, ID_CLUB idClub, int nMode, int nKind);
    CListMarketEntry* FindListMarketEntry(ID_PLAYER idPlayer) const;
    CLoanMarketEntry* FindLoanMarketEntry(ID_PLAYER idPlayer) const;
    // Offers still open for a player, counted from the lists.
    int CountOpenBuyOffers(ID_PLAYER idPlayer) const;
    int CountOpenLoanOffers(ID_PLAYER idPlayer) const;
    // Whether a buy or loan offer for one of the club's players (an
    // extension: for one it has lent) still waits for the club's answer.
    bool HasOfferAwaitingAnswer(const CClubDatabase* pClub);
    CBuyOfferDatabase* GetBuyOffer(ID_PLAYER idPlayer, ID_CLUB idClub) const;
    CLoanOfferDatabase* GetLoanOffer(ID_PLAYER idPlayer, ID_CLUB idClub) const;
    CBuyOfferDatabase* FindBuyOfferByID(uint32_t dwOfferID) const;
    CLoanOfferDatabase* FindLoanOfferByID(uint32_t dwOfferID) const;
    bool IsPendingTransfer(ID_PLAYER idPlayer) const;
    // A fee bid: 0 made, 2 refused (no player, a pending move, too many open
    // offers, not enough funds or a closed window). A computer club's second
    // bid is refused; a human's replaces his standing one, answers and all. dwValue1 names the
    // bidder's player offered in part exchange (0 none). For the club's own
    // player it is a new-contract offer: no fee, agreed with the club at
    // once, refused only when one is open or he is about to move.
    int MakeBuyOfferToClub(CPlayerDatabase* pPlayer, CClubDatabase* pClub, int32_t nTotal, const uint32_t* pTerms,
                           uint32_t dwValue1, uint32_t dwValue2);
    int MakeLoanOffer(CPlayerDatabase* pPlayer, uint8_t byKind, ID_CLUB idClub, uint16_t wDays, uint32_t dwWage);
    int WithdrawBuyOffer(ID_PLAYER idPlayer, ID_CLUB idClub, bool bNotify);
    int WithdrawLoanOffer(ID_PLAYER idPlayer, ID_CLUB idClub, bool bNotify);
    // Mode 1 ends the offers where they stand, 2 removes them; the kept
    // club's offer is closed rather than freed.
    void WithdrawPlayerBuyOffers(CPlayerDatabase* pPlayer, ID_CLUB idClub, int nMode, bool bKeep);
    void WithdrawPlayerLoanOffers(CPlayerDatabase* pPlayer, ID_CLUB idClub, int nMode, bool bKeep);
    // Completes an accepted fee offer: the player, his new contract and the
    // fee move; the offer is freed. 0 done, 2 refused (logged).
    int TransferPlayer(CBuyOfferDatabase* pOffer);
    // With bLoan the player goes on loan to the club for wDays; without it a
    // loaned player comes back to his club. 0 done, 2 refused.
    int TransferPlayerLoan(CPlayerDatabase* pPlayer, ID_CLUB idClub, bool bLoan, uint16_t wDays);
    void ExtendLoan(CPlayerDatabase* pPlayer, int nDays);
    // A player given in part exchange goes from the club that made the offer
    // (his club) to the club that receives him, for no fee. False when he is
    // not that club's.
    bool TransferPlayerExchange(CPlayerDatabase* pPlayer, CClubDatabase* pOfferingClub, CClubDatabase* pReceiver);
    // An accepted offer of his own club: he signs the contract it proposed
    // (TransferPlayer calls it for such an offer). The offer is freed; 0.
    int SignNewContract(CPlayerDatabase* pPlayer, CBuyOfferDatabase* pOffer);
    // The club puts the proposed contract to the player it bids for; he
    // answers within a week. 2 when the club has no offer for him, else 0.
    int MakeOfferToPlayer(ID_PLAYER idPlayer, ID_CLUB idClub, const PLAYERCONTRACT& contract);
    // The daily steps of the two markets and their offers.
    void DoTransferBuyEventsUpdate(const CDate& previous);
    void DoTransferLoanEventsUpdate(const CDate& previous);
    // A country event of the markets (types 3-26); false for another type.
    bool RunMarketEvent(CEventsDatabase* pEvent);
    // The market events that follow a human manager's offers and listings.
    void RunHumanNegotiationEvent(uint8_t byType, uint32_t dwID);
    // Weekly and monthly transfer work of every computer-run club.
    void DoClubsTransferPlanning(bool bWeek, bool bMonth);
    // Takes a retired or released player off both markets, his offers and
    // the moves held back for him.
    void RemoveRetiredFromMarkets(CPlayerDatabase* pPlayer);
    // A player marked retiring leaves the game: off the markets, back from a
    // loan, out of his club and into the retired file. False when he is not
    // marked or cannot be written (he then stays where he was).
    bool RetirePlayer(CPlayerDatabase* pPlayer);
    // A club lets a player go into its country's free players (off the
    // markets, without number, listing or contract; the club's papers tell
    // of it); a free player released again is marked to leave the game.
    // False when nothing changed.
    bool SackPlayer(CPlayerDatabase* pPlayer);
    // The best free player of the club's country in the position group
    // signs for the club on a free transfer, while the window is open; null
    // when none could be signed.
    CPlayerDatabase* SignFreePlayer(CClubDatabase* pClub, int nGroup);
    // The season's turn for the free players: those at the end of their
    // careers are marked, every one starts the season, and the marked leave
    // for the retired file. Gives the number gone.
    int StartFreePlayersSeason();

    // Pools. Staff kinds 0-5; youth positions 0-3.
    void SackManager(ID_MANAGER idManager, bool bRecord);
    void DoJoinManagerToClub(ID_MANAGER idManager, CClubDatabase* pClub);
    // The best-rated manager of the pool for the club; null when it is empty.
    CManagerDatabase* PickPoolManager() const;
    // The best-rated man of the pool who would take the club's job.
    CManagerDatabase* PickPoolManager(const CClubDatabase* pClub) const;
    void TopUpManagerPool();
    // Managers of 66 or more retire to file, a computer club's own manager
    // too (the club then looks for another).
    void RetireOldManagers();
    void AddStaffToPool(ID_STAFF idStaff);
    bool RemoveStaffFromPool(ID_STAFF idStaff);
    int GetStaffPoolCount(int nKind) const;
    int HireStaff(ID_STAFF idStaff, CClubDatabase* pClub);
    void SackStaff(ID_STAFF idStaff);
    // The next pool staff member of the kind from the cursor (0 = from the
    // pool's start), the cursor then after him; null at the pool's end.
    CStaffDatabase* FindNextStaffByType(uint8_t byKind, int& nCursor) const;
    // A staff member hired by one human's club: every other human's open
    // offer to him closes, with news.
    void CancelOtherHumanStaffOffers(ID_STAFF idStaff, const CSaveGame* pWinner);
    void TopUpStaffPool();
    void AddYouthToPool(CYouthDatabase* pYouth);
    void ReleaseYouth(CYouthDatabase* pYouth);
    bool HireYouth(CYouthDatabase* pYouth, CClubDatabase* pClub);
    // As HireYouth, with a new youth of his position generated for the pool.
    bool HireYouthAndRegenerate(CYouthDatabase* pYouth, CClubDatabase* pClub);
    CYouthDatabase* GetFirstPoolYouth() const;
    int GetYouthPoolCount(int nPosition) const;
    void TopUpYouthPool();
    int GetYouthReleaseCounter() const { return m_nYouthReleaseCounter; }
    // Clubs without a manager appoint one from the pool.
    void FillManagerVacancies();
    // Monthly: a computer club whose board has lost patience sacks a manager
    // who is not new in the job; every vacancy is then filled.
    void ReviewManagers();
    static constexpr int kManagerPoolSize = 50;
    static constexpr int kYouthPoolPerPosition = 30;
    // ---- end of markets and pools ----

private:
    // MakeBuyOfferToClub's offer of a new contract to the club's own player.
    int OfferNewContract(CPlayerDatabase* pPlayer, CClubDatabase* pClub);
    bool LoadNameDictionaries();
    bool LoadStadiumTables();
    // Frees every record and entry of the world that exists; safe when empty.
    void FreeWorld();

    CPointerArray m_PlayerTable;  // element id - 1
    int32_t m_nCountryCount = 0;
    int32_t m_nGroundCount = 0;
    int32_t m_nCupFixtureCount = 0;
    int32_t m_nBuyOfferCount = 0;
    int32_t m_nLoanOfferCount = 0;
    int32_t m_nYouthCount = 0;
    int32_t m_nDivisionTotal = 0;
    int32_t m_nClubTotal = 0;
    int32_t m_nPlayerCount = 0;
    int32_t m_nPlayersInTable = 0;
    int32_t m_nYouthsInTable = 0;
    int32_t m_nPlayerLimit = 0;
    CSaveGame* m_pHumanSlots[HUMAN_SLOTS] = {};
    CSaveGame* FindSaveGameForClub(const CClubDatabase* pClub) const;
    uint8_t m_byCurrentHuman = 0;
    uint8_t m_byMatchType = 0;
    CNameDictionary m_FirstNames;
    CNameDictionary m_LastNames;
    uint8_t m_WorldBlock[WORLD_BLOCK_BYTES] = {};
    uint32_t m_dwOfferID = 0;
    uint32_t m_dwLoanOfferID = 0;
    uint32_t m_dwFixtureID = 0;
    uint32_t m_dwGroundComponentID = 0;
    uint32_t m_dwScoutQueryID = 0;
    uint32_t m_dwTrainingCampID = 0;
    uint8_t m_byGameSettings[3] = {};
    STANDTABLERECORD m_StandTable[STAND_TABLE_ROWS] = {};
    STANDADJUSTMENTTABLERECORD m_StandAdjustmentTable[STAND_ADJUSTMENT_TABLE_ROWS] = {};
    STANDPARTTABLERECORD m_StandPartTable[STAND_PART_TABLE_ROWS] = {};
    FACILITYTABLERECORD m_FacilityTable[FACILITY_TABLE_ROWS] = {};
    CGameTables m_GameTables;
    CPlayOffTemplates m_PlayOffTemplates;
    FACILITYTABLERECORD m_ExtraFacilityTable[EXTRA_FACILITY_TABLE_ROWS] = {};
    STADIUMSIZETABLERECORD m_StadiumSizeTable[STADIUM_SIZE_TABLE_ROWS] = {};
    uint32_t m_dwLastFreeIdentifier = 0;
    int32_t m_nYouthsPerHuman[HUMAN_SLOTS] = {};
    uint8_t m_byFlags[2] = {};
    CEuropeanCupDatabase* m_pEuropeanCups = nullptr;
    CXList m_lstCupFixtures;
    uint8_t m_byPendingCupFixture = 0;
    CCupFixturesDatabase* m_pPendingCupFixture = nullptr;
    CManagerDatabase* m_pRetiredManagers[RETIRED_CACHE_SLOTS] = {};
    int32_t m_nRetiredManagerRing = 0;
    CPlayerDatabase* m_pRetiredPlayers[RETIRED_CACHE_SLOTS] = {};
    int32_t m_nRetiredPlayerRing = 0;
    CStaffDatabase* m_pRetiredStaff[RETIRED_CACHE_SLOTS] = {};
    int32_t m_nRetiredStaffRing = 0;
    CXList m_lstCountries;
    CXList m_lstGrounds;
    // The grounds by identifier (null where none), for the lookups of every
    // match day and club week.
    std::vector<CGroundDatabase*> m_groundsById;
    CPlayerOfferList<CListMarketEntry> m_lstListMarket;
    const class CMarketDigest* m_pMarketDigest = nullptr;
    CPlayerOfferList<CLoanMarketEntry> m_lstLoanMarket;
    CPlayerOfferList<CBuyOfferDatabase> m_lstBuyOffers;
    CPlayerOfferList<CLoanOfferDatabase> m_lstLoanOffers;
    CXList m_lstPendingTransfers;  // PENDINGTRANSFER
    CXList m_lstYouths;
    CXList m_lstUnemployedManagers;  // identifiers
    CXList m_lstStaffPool;           // identifiers
    int32_t m_nDatabaseLoaded = 0;
    CXList m_lstFreeIdentifiers;  // heap cells of one uint32_t

    // Identifier tables and counters of the people.
    CPointerArray m_ManagerTable;  // element id; 0 holds no entry
    CPointerArray m_StaffTable;    // element id; 0 holds no entry
    CPointerArray m_ClubTable;     // element id - 1
    uint16_t m_wNextManagerID = 1;
    uint16_t m_wRetiredManagers = 0;
    uint16_t m_wPoolManagers = 0;
    uint16_t m_wManagerCounter = 0;
    uint16_t m_wNextStaffID = 1;
    uint16_t m_wRetiredStaff = 0;
    uint16_t m_wPoolStaff = 0;
    uint16_t m_wStaffCounter = 0;
    int32_t m_nRetiredPlayers = 0;

    // Names: the nationality rows with their pools, and the rows last used
    // for generated manager and staff names.
    NATIONALITYROW* m_pNationalityRows = nullptr;
    const NATIONALITYROW* m_pManagerNameRow = nullptr;
    const NATIONALITYROW* m_pStaffNameRow = nullptr;

    CDate m_GameDate;
    bool m_bFixedTablesLoaded = false;
};
