#pragma once
// One football nation: it owns its divisions (and through them the clubs),
// its cup fixtures, referees, unattached players, scheduled events,
// newspaper stories and domestic cup set. Holds the economy index and the
// weather of the day, the season dates and the country's fixed calendar.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/CDate.h"
#include "common/CXList.h"
#include "common/Identifiers.h"
#include "database/CWorkingFileImage.h"

class CBinaryReader;
class CBinaryWriter;
class CClubDatabase;
class CCupFixturesDatabase;
class CDatabaseHandler;
class CDivisionDatabase;
class CDomesticCupsDatabase;
class CEventsDatabase;
class CNewspaperStoryList;
class CRefereeDatabase;
struct COUNTRYCALENDAR;
struct ITEMCUPSTRUCTUREINFORMATION;
struct CUP;

class CCountryDatabase {
public:
    static constexpr int NAME_SIZE = 21;
    static constexpr int BLOCK_SIZE = 152;
    static constexpr int CUP_BYES = 8;
    static constexpr int STORED_VALUES = 9;
    static constexpr int MORE_VALUES = 6;
    static constexpr int LATER_VALUES = 5;
    static constexpr int RAW_RECORD_LARGE = 232;
    static constexpr int RAW_RECORD_SMALL = 8;
    static constexpr int ECONOMY_MIN = 300;
    static constexpr int ECONOMY_MAX = 800;
    // Newspaper stories of a change of the economy index.
    static constexpr uint16_t STORY_ECONOMY_RISE = 316;
    static constexpr uint16_t STORY_ECONOMY_FALL = 317;

    // Empty lists and dates, counts 0, a domestic cup set and a story list.
    CCountryDatabase();
    ~CCountryDatabase();
    CCountryDatabase(const CCountryDatabase&) = delete;
    CCountryDatabase& operator=(const CCountryDatabase&) = delete;

    // The class-wide root: game date, referee and player lookups.
    static CDatabaseHandler* m_pDatabaseHandler;

    // Reads the country with everything it owns; its domestic cup
    // definitions are installed from its name first. False (logged) for a
    // short or damaged record; what was read stays owned and is freed by the
    // destructor.
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;
    // Pointer pass after the whole world is loaded: divisions, stories, the
    // country's cup fixtures with their referees, the national ground.
    void SetupPointers();

    // ---- lookups ----
    CDivisionDatabase* FindDivision(uint8_t byDivisionID, LPXLISTNODE* ppNext = nullptr) const;
    // The n-th club (0-based) over the divisions in list order; null beyond the last.
    CClubDatabase* GetClubByIndex(int nIndex) const;
    CClubDatabase* IsClubOfCountry(ID_CLUB idClub) const;
    CRefereeDatabase* GetRefereeFromID(uint16_t wRefereeID) const;
    CCupFixturesDatabase* FindCupFixture(uint32_t dwFixtureID, LPXLISTNODE* ppNext = nullptr) const;
    int GetClubCount() const;

    // ---- lists ----
    const CXList& GetDivisions() const { return m_lstDivisions; }
    const CXList& GetReferees() const { return m_lstReferees; }
    const CXList& GetCupFixtures() const { return m_lstCupFixtures; }
    const CXList& GetEvents() const { return m_lstEvents; }
    const CXList& GetUnattachedPlayers() const { return m_lstUnattachedPlayers; }
    // Records of 232 and 8 bytes kept as they were read.
    const CXList& GetLargeRecords() const { return m_lstLargeRecords; }
    const CXList& GetSmallRecords() const { return m_lstSmallRecords; }
    // The country takes ownership of what is added.
    void AddDivision(CDivisionDatabase* pDivision);
    void AddReferee(CRefereeDatabase* pReferee);
    void AddCupFixture(CCupFixturesDatabase* pFixture);
    // The fixture is freed; false when it is not the country's.
    bool RemoveCupFixture(CCupFixturesDatabase* pFixture);
    void SortCupFixtures();
    // The country's free players: a player released by his club joins the
    // list (which owns him) and points at the country; one signed by a club
    // leaves it. PurgeLeftPlayers retires every player of the list marked as
    // leaving the game (one the retired file cannot take stays) and gives
    // the number gone.
    void AddCountryPlayer(class CPlayerDatabase* pPlayer);
    // Points the free players' list at records laid out again.
    void UpdatePlayerPlaces(const class CPlayerRelocation& relocation);
    bool RemoveCountryPlayer(class CPlayerDatabase* pPlayer);
    int PurgeLeftPlayers();
    void AddLargeRecord(const uint8_t* pRecord);
    void AddSmallRecord(const uint8_t* pRecord);
    // Clubs looking for a manager (8-byte entries: date, club id, rating):
    // adding one starts its search (event 45 in one to three weeks);
    // removing one with notify closes the humans' applications for the job.
    void AddClubReview(CClubDatabase* pClub);
    uint8_t* FindClubReview(const CClubDatabase* pClub, LPXLISTNODE* ppNode) const;
    bool RemoveClubReview(uint8_t* pEntry, bool bNotify);
    // The clubs under review with the day each search began, in list order.
    struct MANAGERVACANCY {
        CDate date;
        CClubDatabase* pClub;
    };
    std::vector<MANAGERVACANCY> GetManagerVacancies() const;
    // Inserts the event before the first later one, so that events of one
    // date keep the order they were added in.
    CEventsDatabase* AddEvent(uint8_t byType, const CDate& date, uint32_t dwDataID);
    CDomesticCupsDatabase* GetDomesticCups() const { return m_pDomesticCups; }
    CNewspaperStoryList* GetNewspaperStories() const { return m_pStories; }

    // ---- cups and calendars ----
    // Takes every cup definition row owned by this country's name into the
    // domestic cup set (European kinds 2 and 4 and unknown kinds are logged).
    void InstallDomesticCups();
    // When the name has a fixed calendar, both calendar pointers are set and
    // the period dates are made for the season; false otherwise.
    bool AttachCupCalendars();
    const COUNTRYCALENDAR* GetLeagueCalendar() const { return m_pLeagueCalendar; }
    const ITEMCUPSTRUCTUREINFORMATION* GetCupCalendar() const { return m_pCupCalendar; }
    int GetCalendarPeriodCount() const { return m_nCalendarPeriods; }
    // Period i of the season: kind and computed first and last day; false
    // outside the periods.
    bool GetCalendarPeriod(int nIndex, uint8_t& byKind, CDate& start, CDate& end) const;
    // Recomputes the period dates from the season start year.
    void BuildCalendarDates();
    // The day after the latest of the domestic cup finals (kinds 3, 1, 0)
    // and the last league match days.
    void CalculateSeasonEndDate();

    // ---- scheduled events (CCountryEvents.cpp) ----
    // Takes the event out of the list (the caller frees it); false (logged)
    // when it is not there.
    bool RemoveEvent(CEventsDatabase* pEvent);
    // The first event of the type about that object, with its node.
    CEventsDatabase* FindEvent(uint8_t byType, uint32_t dwDataID, LPXLISTNODE* ppNode = nullptr) const;
    void SortEvents();
    // Runs, in list order, every event dated on or before the date, then
    // frees it; an unknown type is logged and dropped.
    void DoSpecialEvent(const CDate& date);
    // The event being run by DoSpecialEvent; null otherwise.
    static CEventsDatabase* GetCurrentEvent() { return m_pCurrentEvent; }
    // At the new season: drops the events whose offer or player is gone.
    void DoDeleteRedundantEvents();
    // The four events of each blocked period of the season (start, end and
    // the notices 14 days before each); a period already scheduled is kept.
    void ScheduleBlockedPeriodEvents();

    // ---- blocked periods and the transfer window (CCountrySeason.cpp) ----
    // Whether the date lies in one of the season's blocked periods.
    bool IsDateBlocked(const CDate& date) const;
    // False only inside a period whose kind holds transfers back.
    bool IsTransferWindowOpenToday() const;
    // The first period containing today decides: kind 1 open, kind 2 closed
    // (with its end date); no such period: open.
    bool GetTransferWindowState(CDate* pEndDate) const;

    // ---- referees, scenario club and season work (CCountrySeason.cpp) ----
    // Club count / 2 referees, numbered from wNextRefereeID on (which is
    // raised), named from the country's nationality pools.
    int GenerateReferees(uint16_t& wNextRefereeID);
    // The club a scenario start (0-7) gives the first human; null (logged)
    // for another scenario or an empty start division.
    CClubDatabase* GetScenarioClub(int nScenario) const;
    void ClearEuropeanRefereeAssignments();
    void StartRefereesNewSeason();
    // The club's next fixture from today among its division's league
    // fixtures and the country's cup fixtures: the opponent's id or -1.
    int GetNextFixtureForClub(const CDivisionDatabase* pDivision, ID_CLUB idClub, uint8_t* pbyHome,
                              uint8_t* pbyCompetition, CDate* pDate) const;
    // False when a cup fixture of the country on that date names the club.
    bool IsClubFreeOfCupFixture(const CDate& date, ID_CLUB idClub) const;
    // Season start = earliest division start, end = latest division end in
    // the same year (kind 2 skipped); a date that is not valid takes the
    // first country's.
    void CalculateSeasonDates();
    // The season's dates from the rule bytes of the country and its
    // divisions, for the season beginning in nYear.
    void SetSeasonDates(int nYear);
    // (level byte / 10 + 5) x 10.
    int GetCountryLevel() const { return (GetLevel() / 10 + 5) * 10; }
    // The budget figure and every division's level payments.
    void ApplyCountryLevel();
    int32_t GetBudgetFigure() const { return m_nBudgetFigure; }
    // The season's league fixtures: the blocked periods' dates and events,
    // the referees' league assignments cleared, then every league division.
    void GenerateLeagueFixtures();
    // Every division sets its clubs' season targets.
    void SetClubTargetBands();
    // The winner of the domestic cup of the kind once its final is played;
    // null before.
    CClubDatabase* GetCupWinner(int nKind) const;
    // Clubs waiting for the first two European cups skip the early rounds of
    // the national cups (kinds 0 and 1) whose entry rule gives byes: they
    // wait for the round after it, up to the rule's count.
    void DoDomesticByesFromEuropeanPending();
    // The season record (232 bytes) whose key byte is the key; null when none.
    const uint8_t* FindSeasonRecord(uint8_t byKey) const;
    int GetSeasonRecordCount() const { return m_lstLargeRecords.GetCount(); }
    // Splits a packed calendar value into bits 0-3, bits 5-9 and bit 16.
    static void UnpackCalendarCode(uint32_t dwCode, int& nLow, int& nMiddle, int& nFlag);
    // A ground of this country for a match of the two clubs: the largest
    // ground of a club of the country that is neither club's own, else the
    // home club's; 0 without any.
    ID_GROUND ChooseGroundForClubs(ID_CLUB idHome, ID_CLUB idAway) const;

    // ---- the day's work (CCountryDays.cpp) ----
    // "Temp%d.mhs" with the country's identifier byte.
    std::string GetMatchHistoryFileName() const;
    // Plays every division's league fixtures of the date, gathering their
    // records for the country's match history file, then picks the day's
    // weather. Answers the fixtures played.
    int ProcessMatchDay(const CDate& date);
    // Appends the gathered match records to the country's match history file.
    bool FlushMatchHistory();
    // Deletes the country's match history file with the records not yet appended.
    void DeleteMatchHistory();
    // Forgets the records not yet appended.
    void DiscardMatchHistory() { m_MatchHistory.Discard(); }
    // Where the records of the country's match history file gather until the next flush.
    CWorkingFileAppends& GetMatchHistory() { return m_MatchHistory; }
    // Weekly (byWeekly set): every division writes its club rating history.
    void ProcessDivisions(uint8_t byWeekly);
    // The monthly run: economy, televised matches and every division's awards.
    void ProcessAwards(uint8_t byFlag);
    // The story of the player the stored values name, when there is one.
    void AddStoryPlayerStory();
    // On the season end date: league prize money and managers' bonuses, then
    // the table zones.
    void DoSeasonEndSteps();

    // ---- the season turnover (CCountryTurnover.cpp) ----
    // The old season's close: archives, rating rescale, the season record,
    // final places, promotion and relegation.
    void DoSeasonClose();
    // The new season's open (after the new dates are set): clean tables and
    // history files, targets, new league fixtures and level payments.
    void DoSeasonOpen();
    void DoRelegationAndPromotion();
    void RescaleRatings();
    // The 232-byte record of the season just ended, appended and the list
    // cut to the game length.
    void AddSeasonRecord(uint8_t* pRecord);
    // "TempDomCup%d.shs": the season's cup fixtures of the country.
    bool WriteCupHistory(int nSeasonIndex, int nSeasons);
    void PayLeaguePrizeMoney();
    // The season's number for the archives, 1 for the first.
    int GetSeasonIndex() const;
    // How many closed seasons the archives keep (the game's length).
    int GetSeasonsKept() const;

    // ---- cups in play (CCountryCups.cpp) ----
    // Draws the current round of the domestic cup: emergency clubs for a
    // short round, the shuffle, referees, fixtures and clashing league
    // fixtures moved.
    void MakeCupDraw(int nKind);
    // The same for a European cup (run by one country for the world); group
    // rounds go to the group draw.
    void MakeEuropeanCupDraw(int nKind);
    // Puts clubs of the divisions first..last (list indices) into the cup's
    // current round as pending, up to the round's count; answers how many.
    int CupPlaceTeamsFromDivision(CUP* pCup, int nFirst, int nLast);
    // Random clubs of the divisions first..last become pending for the next
    // round, up to nCount of them.
    int PlaceRandomPendingEntries(CUP* pCup, int nFirst, int nLast, int nCount);
    // Plays the country's cup fixtures of the date into the file and dates
    // the settlement of the rounds played; answers the fixtures played.
    int PlayCupFixtures(const CDate& date, CBinaryWriter* pHistory);
    // The cup round event (type 41): draw preparation, settlement, draw.
    void RunCupRoundEvent(uint32_t dwValue);
    // The first division's clubs in table order, as the season ended.
    std::vector<ID_CLUB> GetFirstDivisionTable() const;
    // European places for the new season from the first division's table:
    // the one given (the season just finished), else the table as it stands.
    void EnterEuropeanClubsFromLeague(const std::vector<ID_CLUB>* pTable = nullptr);
    // After a domestic final: the winner's super cup and European places.
    void CupWinnerEuropeanEntry(CClubDatabase* pWinner, CClubDatabase* pOther, int nKind);
    // The new season of the country's cups: old fixtures freed, cups back at
    // round 1 with their events, domestic byes.
    void StartCupSeason();

    // ---- weather and economy ----
    void UpdateWeather();
    // A random move of the index (with a story) or its trend, kept within
    // 300-800; a move stopped at either bound gives no story.
    void UpdateEconomyIndex();

    // ---- fields ----
    const char* GetName() const { return m_szName; }
    void SetName(const char* pszName);
    ID_COUNTRY GetID() const { return m_byID; }
    void SetID(ID_COUNTRY byID) { m_byID = byID; }
    uint8_t GetSecondID() const { return m_bySecondID; }
    void SetSecondID(uint8_t byID) { m_bySecondID = byID; }
    // The three stored setting bytes: the level byte (prize and television
    // money, transfer reach), then the week bytes of the season start and end.
    uint8_t GetLevel() const { return m_abySettings[0]; }
    void SetLevel(uint8_t byLevel) { m_abySettings[0] = byLevel; }
    uint8_t GetSetting(int nIndex) const { return nIndex >= 0 && nIndex < 3 ? m_abySettings[nIndex] : 0; }
    void SetSetting(int nIndex, uint8_t byValue)
    {
        if (nIndex >= 0 && nIndex < 3)
            m_abySettings[nIndex] = byValue;
    }
    int GetEconomyIndex() const { return m_wEconomyIndex; }
    void SetEconomyIndex(int nIndex) { m_wEconomyIndex = static_cast<uint16_t>(nIndex); }
    int GetPreviousEconomyIndex() const { return m_wPreviousEconomyIndex; }
    int GetEconomyTrend() const { return m_nEconomyTrend; }
    void SetEconomyTrend(int nTrend) { m_nEconomyTrend = static_cast<int16_t>(nTrend); }
    uint8_t GetClimate() const { return m_byClimate; }
    void SetClimate(uint8_t byClimate) { m_byClimate = byClimate; }
    uint8_t GetWeather() const { return m_byWeather; }
    void SetWeather(uint8_t byWeather) { m_byWeather = byWeather; }
    // Non-zero asks the loader to rebuild the calendar and season end dates.
    uint8_t GetSeasonFlag() const { return m_bySeasonFlag; }
    void SetSeasonFlag(uint8_t byFlag) { m_bySeasonFlag = byFlag; }
    uint8_t GetMoreByte(int nIndex) const { return nIndex >= 0 && nIndex < 3 ? m_abyMore[nIndex] : 0; }
    void SetMoreByte(int nIndex, uint8_t byValue)
    {
        if (nIndex >= 0 && nIndex < 3)
            m_abyMore[nIndex] = byValue;
    }
    // The first of the three more bytes: 1 keeps the country's clubs out of
    // the European top-ups.
    uint8_t GetEuropeanExclusion() const { return m_abyMore[0]; }
    // Stored 32-bit values: nine (0-8), six more (9-14), one (15) and five (16-20).
    static constexpr int VALUE_SLOTS = STORED_VALUES + MORE_VALUES + 1 + LATER_VALUES;
    int32_t GetStoredValue(int nSlot) const { return nSlot >= 0 && nSlot < VALUE_SLOTS ? m_anValues[nSlot] : 0; }
    void SetStoredValue(int nSlot, int32_t nValue)
    {
        if (nSlot >= 0 && nSlot < VALUE_SLOTS)
            m_anValues[nSlot] = nValue;
    }
    ID_GROUND GetNationalGroundID() const { return m_wNationalGround; }
    void SetNationalGroundID(ID_GROUND wGround) { m_wNationalGround = wGround; }
    class CGroundDatabase* GetNationalGround() const { return m_pNationalGround; }
    // European entry counts, one per name of the cup definitions' bye table.
    uint8_t GetCupByes(int nIndex) const { return nIndex >= 0 && nIndex < CUP_BYES ? m_abyCupByes[nIndex] : 0; }
    void SetCupByes(int nIndex, uint8_t byCount)
    {
        if (nIndex >= 0 && nIndex < CUP_BYES)
            m_abyCupByes[nIndex] = byCount;
    }
    uint8_t GetFlag(int nIndex) const { return nIndex >= 0 && nIndex < 2 ? m_abyFlags[nIndex] : 0; }
    void SetFlag(int nIndex, uint8_t byValue)
    {
        if (nIndex >= 0 && nIndex < 2)
            m_abyFlags[nIndex] = byValue;
    }
    // Season start, league season end and season end (the day after the last
    // cup final or league match day).
    const CDate& GetSeasonStartDate() const { return m_SeasonStart; }
    void SetSeasonStartDate(const CDate& date) { m_SeasonStart = date; }
    const CDate& GetLeagueEndDate() const { return m_LeagueEnd; }
    void SetLeagueEndDate(const CDate& date) { m_LeagueEnd = date; }
    const CDate& GetSeasonEndDate() const { return m_SeasonEnd; }
    void SetSeasonEndDate(const CDate& date) { m_SeasonEnd = date; }
    // The year the country's season began: its season start's, or from the
    // game date (seasons turn in July) while it has none.
    int GetSeasonYear() const;

private:
    void FreeAll();
    void FreeCalendarDates();
    bool LoadBlock(CBinaryReader& reader, uint32_t& dwCupFixtures, uint32_t& dwUnattached, uint32_t& dwEvents,
                   uint8_t& byDivisions, uint8_t& byReferees, uint8_t& byLarge, uint8_t& bySmall);
    void LinkCountryFixtures();
    CDate GameDate() const;

    // Records of "Temp%d.mhs" not yet appended.
    CWorkingFileAppends m_MatchHistory;
    char m_szName[NAME_SIZE] = {};
    ID_COUNTRY m_byID = 0;
    uint8_t m_bySecondID = 0;
    uint8_t m_abySettings[3] = {};
    uint16_t m_wEconomyIndex = ECONOMY_MIN;
    uint16_t m_wPreviousEconomyIndex = ECONOMY_MIN;
    int16_t m_nEconomyTrend = 0;
    uint8_t m_byClimate = 0;
    uint8_t m_byWeather = 0;
    uint8_t m_bySeasonFlag = 0;
    int32_t m_anValues[VALUE_SLOTS] = {};
    ID_GROUND m_wNationalGround = 0;
    uint8_t m_abyMore[3] = {};
    CDate m_SeasonStart;
    CDate m_LeagueEnd;
    CDate m_SeasonEnd;
    const COUNTRYCALENDAR* m_pLeagueCalendar = nullptr;
    const ITEMCUPSTRUCTUREINFORMATION* m_pCupCalendar = nullptr;
    CDate* m_pCalendarStart = nullptr;
    CDate* m_pCalendarEnd = nullptr;
    uint8_t* m_pCalendarKinds = nullptr;
    int m_nCalendarPeriods = 0;
    uint8_t m_abyCupByes[CUP_BYES] = {};
    uint8_t m_abyFlags[2] = {};
    CXList m_lstCupFixtures;        // CCupFixturesDatabase
    CXList m_lstDivisions;          // CDivisionDatabase
    CXList m_lstReferees;           // CRefereeDatabase
    // The first referee of each identifier: every match looks its own up.
    std::unordered_map<uint16_t, CRefereeDatabase*> m_RefereesByID;
    CXList m_lstEvents;             // CEventsDatabase, date order
    // How many listed events have each type and data identifier, and the node
    // of the only one when it is known: a search finds an absent event (the
    // usual case) or the only one of its kind at once, and walks the list
    // only for a kind listed more than once or not yet found since.
    struct EventKeyEntry {
        int nCount = 0;
        LPXLISTNODE pOnly = nullptr;
    };
    mutable std::unordered_map<uint64_t, EventKeyEntry> m_EventsByKey;
    // The listed events' nodes by date, those of one date in list order:
    // where a new event goes is looked up, not walked to.
    std::multimap<uint32_t, LPXLISTNODE> m_EventNodesByDate;
    CXList m_lstLargeRecords;       // 232-byte blocks
    CXList m_lstSmallRecords;       // 8-byte blocks
    CXList m_lstUnattachedPlayers;  // CPlayerDatabase
    CDomesticCupsDatabase* m_pDomesticCups = nullptr;
    CNewspaperStoryList* m_pStories = nullptr;
    class CGroundDatabase* m_pNationalGround = nullptr;
    int32_t m_nBudgetFigure = 0;
    // The cup winners' European places used this season (KAVOCUP1C, 2C).
    bool m_abCupWinnerPlaceUsed[2] = {};
    static CEventsDatabase* m_pCurrentEvent;

    // Every change to m_lstEvents goes through these two, which keep the
    // key counts true.
    // In date order after the events of its date, or at the end as a file
    // lists them.
    void ListEvent(CEventsDatabase* pEvent, bool bInDateOrder);
    void UnlistEvent(LPXLISTNODE pNode);
    void IndexEventDates();
};
