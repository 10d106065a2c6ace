#pragma once
// One league division of a country: its rules, its clubs (owned), its league
// fixtures, the season's transfer and loan records and its archive of past
// seasons. It keeps the league table by sorting its clubs.
#include "database/SeasonArchiveRecords.h"
#include "common/CDate.h"
#include "common/CXList.h"
#include "common/Identifiers.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CHistoryEntries.h"
#include "database/CWorkingFileImage.h"
#include "season/CupStructureTable.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

class CBinaryReader;
class CBinaryWriter;
class CClubDatabase;
class CCountryDatabase;
class CDatabaseHandler;
class CDivisionFixturesDatabase;
class CRefereeDatabase;
struct MATCHPARAMETERS;

constexpr int DIVISION_RECORD_BYTES = 232;
constexpr int DIVISION_NAME_BYTES = 21;
constexpr int DIVISION_ARCHIVE_BYTES = 408;
constexpr int DIVISION_PERIOD_ELEVEN = 11;

constexpr uint8_t DIVISION_KIND_LEAGUE = 1;
constexpr uint8_t DIVISION_KIND_BOTTOM_OTHER = 2;

// The round byte of a division fixture: a league match or a play-off match.
constexpr uint8_t DIVISION_FIXTURE_LEAGUE = 0;
constexpr uint8_t DIVISION_FIXTURE_PLAYOFF = 1;

// Finance category of television and level payments.
constexpr int FINANCE_TELEVISION_AND_LEVEL = 57;

struct DIVISIONMATCHRULES {
    int32_t nRules = 0;
    uint8_t byLast = 0;
    // The five rule bytes as a match reads them.
    ITEMCUPMATCHRULES AsMatchRules() const
    {
        const auto dw = static_cast<uint32_t>(nRules);
        return ITEMCUPMATCHRULES{static_cast<uint8_t>(dw & 0xFF), static_cast<uint8_t>((dw >> 8) & 0xFF),
                                 static_cast<uint8_t>((dw >> 16) & 0xFF), static_cast<uint8_t>(dw >> 24), byLast};
    }
};

// One club's ten ratings in the order of its weekly history record:
// financial stability, reputation, support level, extra support, average
// rating, average potential, average morale, the manager's ability (0
// without a manager), board confidence and fan confidence. Stability and
// the two confidences are signed.
constexpr int CLUB_RATING_COUNT = 10;
struct CLUBRATINGS {
    int anRating[CLUB_RATING_COUNT] = {};
};

// One club's row of the division history after one of its match days:
// home and away figures side by side (played, won, drawn, lost, goals for,
// goals against), the points and the place in the table that day.
struct DIVISIONHISTORYROW {
    uint32_t dwDate = 0;
    uint8_t abyPlayed[2] = {};
    uint8_t abyWon[2] = {};
    uint8_t abyDrawn[2] = {};
    uint8_t abyLost[2] = {};
    uint8_t abyGoalsFor[2] = {};
    uint8_t abyGoalsAgainst[2] = {};
    uint8_t byPoints = 0;
    uint8_t byPosition = 0;
};

struct DIVISIONPERIODENTRY {
    int32_t idClub = 0;
    int32_t idPlayer = 0;
    int32_t nPoints = 0;
};

struct DIVISIONARCHIVERECORD {
    uint8_t abyData[DIVISION_ARCHIVE_BYTES] = {};
    uint8_t GetKey() const { return abyData[division_archive::kKey]; }
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

    // ---- league fixtures and match dates (CDivisionFixtures.cpp) ----
    // Match days of one all-play-all cycle: n - 1 for an even club count, n
    // for an odd one (each club rests one day).
    int GetRoundsPerCycle() const;
    // The league dates a season needs: rounds per cycle x meetings. With the
    // games per club of UpdateGameCounts both follow GetMeetings.
    int GetLeagueDateCount() const;
    // The (home, away) places (1-based, table order) of match m of day d
    // (both 0-based) of the all-play-all template for n clubs, days 0 ..
    // 2 x rounds per cycle - 1, the second half the first with grounds
    // swapped. An odd count uses the template of n + 1, whose last place is
    // a rest day: false for that match.
    static bool GetTemplatePair(int nClubs, int nDay, int nMatch, int& nHome, int& nAway);
    // Frees the league fixtures and makes the season's (not for kind 2).
    void GenerateLeagueFixtures();
    // nCount sorted dates from the season start; fewer only when the season
    // cannot hold them (logged).
    int MakeLeagueDates(std::vector<CDate>& dates, int nCount) const;
    bool IsDateFreeForDivision(const CDate& date) const;
    bool IsDateFreeForClubs(const CDate& date, ID_CLUB idHome, ID_CLUB idAway) const;
    // The first season or midweek date from the week after dateFrom on that
    // suits both clubs; 3 days before dateTo (logged) when none does.
    void GetNextFreeDateForTeamsBetweenDates(CDate& date, const CDate& dateFrom, const CDate& dateTo, ID_CLUB idHome,
                                             ID_CLUB idAway) const;
    // Moves a fixture of this division to a free date of the rest of the
    // season; its referee joins plstReferees (CRefereeDatabase) when given.
    void ScheduleExtraFixture(CDivisionFixturesDatabase* pFixture, CXList* plstReferees);
    // News 266 to the human manager of either club, naming the other.
    void TellClubsOfExtraFixture(const CDivisionFixturesDatabase& fixture) const;
    // Distinct dates of the club's fixtures up to and including the date
    // (direction 0) or before it (direction 1); a play-off fixture ends the
    // walk unless bIncludePlayOffs.
    int CountClubMatchDays(const CDate& date, ID_CLUB idClub, int nDirection, bool bIncludePlayOffs) const;
    // The same walk over the list: the cursor is left at the first fixture
    // not passed (null at the end); answers the club's fixtures passed - 1.
    int AdvanceFixtureCursor(const CDate& date, ID_CLUB idClub, LPXLISTNODE& pCursor, int nDirection,
                             bool bIncludePlayOffs) const;
    bool GetNextFixtureDateForClub(ID_CLUB idClub, const CDate& date, CDate& next) const;
    // The club's last fixture before the date; kind is its round byte.
    bool GetPreviousFixtureForClub(ID_CLUB idClub, const CDate& date, CDate& previous, int* pnKind = nullptr,
                                   CDivisionFixturesDatabase** ppFixture = nullptr) const;
    // The earlier of the next league fixture after the date and the next
    // friendly of one of the division's clubs.
    bool GetNextMatchDate(const CDate& date, CDate& next) const;
    // The club's fixture in the window round the date (0: date - days ..
    // date, 1: date .. date + days, 2: both sides); the opponent's id or -1.
    int GetFixtureOpponent(ID_CLUB idClub, const CDate& date, int nDays, int nWindow,
                           CDivisionFixturesDatabase** ppFixture = nullptr) const;
    bool GetLastFixtureDate(CDate& date) const;
    // From the newest: the play-off fixture with the two clubs swapped.
    CDivisionFixturesDatabase* GetReverseFixture(const CDivisionFixturesDatabase* pFixture) const;
    CDivisionFixturesDatabase* FindFixtureByMatchNumber(uint32_t dwNumber) const;
    // The season's league fixtures (n(n-1)/2 per meeting) and the play-off
    // fixtures made so far; 0 while there are none.
    int GetTotalFixtureCount() const;
    // The match number of the first played fixture of the two clubs (either
    // way round), with its date; -1 when none.
    int64_t FindPlayedFixtureBetween(ID_CLUB idClub1, ID_CLUB idClub2, CDate& date) const;
    // The first fixture of the club from today on: the opponent's id or -1;
    // home flag 1 at home, competition 255 (league). Outputs may be null.
    int GetNextLeagueFixture(ID_CLUB idClub, uint8_t* pbyHome, uint8_t* pbyCompetition, CDate* pDate) const;
    // The division of the same country numbered this number plus the offset.
    CDivisionDatabase* GetNeighbourDivision(int nOffset) const;

    // ---- television, targets and payments (CDivisionFixtures.cpp) ----
    void PickTelevisedMatches();
    // False when the moved date would not lie after today.
    bool MoveFixtureForTelevision(CDivisionFixturesDatabase* pFixture);
    void PayTelevisionMoney(CClubDatabase* pHome, CClubDatabase* pAway);
    int GetTelevisedCount(ID_CLUB idClub) const;
    void SetClubTargetBands();
    void AnnounceTableZones();
    static int32_t GetPaymentPerClub(int nDivisionNumber, int nCount);
    int32_t GetPaymentPerClub(int nCount) const { return GetPaymentPerClub(m_byDivisionNumber, nCount); }
    void ApplyLevelPayments(int nCount);

    // ---- the day's work (CDivisionDays.cpp) ----
    static constexpr int HISTORY_RECORD_BYTES = 24;
    // Plays the division's league fixtures of the date that are still
    // unplayed through the root's ProcessMatch, writing their records to
    // pHistory (may be null), and posts them to the table. Nothing before the
    // season start. Answers the fixtures played.
    int PostLeagueResults(const CDate& date, CBinaryWriter* pHistory);
    // The parameter block of a league round's fixture.
    void MakeLeagueMatchBlock(const CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome, CClubDatabase* pAway,
                              MATCHPARAMETERS& block) const;
    // A played league fixture's result (the block's goals and result code)
    // into the fixture and the table.
    void RecordLeagueResult(CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome, CClubDatabase* pAway,
                            const MATCHPARAMETERS& block);
    // The block of a play-off fixture: its stage's rules and the first leg.
    void MakePlayOffMatchBlock(const CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome, CClubDatabase* pAway,
                               MATCHPARAMETERS& block) const;
    // The same for a play-off fixture, into its tie; true when it ended the round.
    bool RecordPlayOffResult(CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome, CClubDatabase* pAway,
                             const MATCHPARAMETERS& block);
    // "TempDivision%d.dhs": one block of games-per-club records of 24 bytes
    // per club in id order; record k is the club's row after its (k+1)-th
    // match day. Created zero-filled. The grid is kept in memory and reaches
    // the file when it is flushed (FlushHistoryFiles).
    std::string GetHistoryFileName() const;
    // The club's row after its nMatchDay-th match day (from 1); all zeros
    // for a club of another division, a match day out of range or a history
    // that cannot be had.
    DIVISIONHISTORYROW GetClubHistoryRow(ID_CLUB idClub, int nMatchDay);
    // Records of each club in the history.
    int GetHistoryRecordsPerClub() const { return m_nGamesPerClub; }
    int64_t GetHistoryFileBytes() const;
    bool CreateDivisionHistory();
    // Writes the division history and the club rating history to their
    // files when they changed since the last flush.
    bool FlushHistoryFiles();
    // Drops both held in memory: the next write reads the files again.
    void CloseHistoryFiles();
    // After a day whose results changed the table: sorts it and writes each
    // club's row. A file that is missing or short is made again; a record
    // beyond the club's block is logged and never written.
    bool WriteDivisionHistory();
    // The club's history records (HISTORY_RECORD_BYTES each) of its first
    // nRecords match days, fewer when the file holds fewer; none for a club
    // not in the division or without a readable history.
    std::vector<uint8_t> ReadClubHistory(ID_CLUB idClub, int nRecords);
    // Distinct dates up to the date of each club's played league fixtures,
    // in the order of the clubs given.
    std::vector<int> CountPlayedMatchDays(const CDate& date, const std::vector<ID_CLUB>& clubs) const;
    // Sets the season-started flag once the date lies after the first
    // fixture's; never clears it.
    bool UpdateSeasonStarted(const CDate& date);

    // ---- the season turnover (CDivisionSeason.cpp) ----
    // Every club notes this division's id and its final table index.
    void RecordSeasonEndPlaces();
    // A new zero-filled archive record for the season of the key, appended
    // and the list cut from the front to nKeep records.
    DIVISIONARCHIVERECORD* AddSeasonArchiveRecord(uint8_t byKey, int nKeep);
    DIVISIONARCHIVERECORD* GetNewestArchiveRecord() const;
    // Every club in table order adds its season to the archive record (and
    // its scorers to the country's top list, when given); then the humans
    // hear of their people named in it.
    void FillSeasonArchive(DIVISIONARCHIVERECORD& archive, uint8_t* pTopList) const;
    // 0 added, 1 refused (its parent club plays here), 2 added and the
    // reserve club that played here was sent down.
    int AddClub(CClubDatabase* pClub);
    bool RemoveClub(CClubDatabase* pClub);
    void PromoteClubs(DIVISIONARCHIVERECORD* pRecord);
    void RelegateClubs(DIVISIONARCHIVERECORD* pRecord);
    void DoPromotionAndRelegation();
    // Clears the clubs' league rows, frees the fixtures and makes the
    // division history file afresh.
    bool StartDivisionSeason();
    // The weekly set of every club's ratings in "TempDivision%d.chs" (at most
    // 52 sets are kept), held in memory until the history files are flushed.
    bool WriteClubHistory();
    std::string GetClubHistoryFileName() const;
    // The club's ratings now, as the weekly set records them.
    static CLUBRATINGS GetClubRatings(const CClubDatabase& club);
    // The club's weekly ratings, oldest first; empty for a club not in this
    // division. A damaged history yields only its whole sets.
    std::vector<CLUBRATINGS> ReadClubHistory(const CClubDatabase& club);
    // The season's fixtures appended to "TempDivision%d.shs" (the oldest
    // season dropped beyond nSeasons); nSeasonIndex counts from 1.
    bool WriteScheduleHistory(int nSeasonIndex, int nSeasons);
    // The fixtures of "TempDivision%d.shs" dated from one day up to before
    // another (a finished season); a damaged tail is logged and left out.
    std::vector<CDivisionFixturesDatabase> ReadScheduleHistory(const CDate& from, const CDate& before) const;
    // The season's transfer and loan records appended to "temp%d.ths" and
    // "temp%d.lhs", then both lists emptied.
    bool ArchiveTransfers(int nSeasonIndex, int nSeasons);
    // The completed transfers or loans of the season that began in the
    // year: the running season's from memory, a closed one's from its block
    // of "temp%d.ths" or "temp%d.lhs"; empty for a season the archive does
    // not hold. A damaged archive gives nothing for the seasons past the
    // damage (logged).
    std::vector<TRANSFERHISTORYVALUES> GetSeasonTransfers(int nSeasonYear) const;
    std::vector<LOANHISTORYVALUES> GetSeasonLoans(int nSeasonYear) const;
    // Appends a completed move to the season's transfer or loan records.
    void AddTransferRecord(const TRANSFERHISTORYVALUES& values);
    void AddLoanRecord(const LOANHISTORYVALUES& values);
    // The season's latest loan of the player to the club; null when none.
    const LOANHISTORYVALUES* FindSeasonLoan(uint32_t idPlayer, ID_CLUB idBorrower) const;
    // The monthly run: player, manager and eleven of the period and the race
    // stories.
    void ProcessAwards(uint8_t byFinance);
    bool IsStoryDue(int nStoryCode) const;
    // The parent (link 1) or reserve (link 2) club of a club sharing a ground.
    static CClubDatabase* GetLinkedClub(const CClubDatabase* pClub, int nLinkType);

    // ---- play-offs (CDivisionPlayOffs.cpp) ----
    void MakePlayOffs();
    void CreatePlayOffFixtures();
    // Answers true when the fixture finished the current round.
    bool PlayOffResult(CClubDatabase* pHome, CClubDatabase* pAway, CDivisionFixturesDatabase* pFixture);
    void NextPlayOffRound();
    void ResetPlayOff();
    // Plays one play-off match; true when it ended the round.
    bool PlayPlayOffFixture(CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome, CClubDatabase* pAway,
                            CBinaryWriter* pHistory);
    // The rules of the play-off's current stage; null without a play-off.
    const ITEMCUPMATCHRULES* GetPlayOffMatchRules() const;
    // After the last match of a small league: its table, whose leaders (as
    // many as the play-off promotes) stay as the entries.
    void PlayOffLeagueResult();
    // The template of this division's play-off (by its country and its place
    // in the country's list) and the round being played; null without.
    const struct PLAYOFFTEMPLATE* GetPlayOffTemplate() const;
    const struct PLAYOFFROUND* GetPlayOffRound() const;
    // The date of a round's date rule in this season, after the given date.
    CDate GetPlayOffDate(const CUPROUNDDATE& rule, const CDate& after) const;
    // Whether this division runs a play-off (it has a template and places).
    bool HasPlayOffTemplate() const;

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
    // Every change to m_lstFixtures calls this: the walk of the day's
    // results starts from the head again.
    void ForgetPostedFixtures() { m_pFirstFixtureNotPosted = nullptr; }

    void FreeAll();
    // Frees the fixtures and takes them off their referees.
    void FreeFixtures();
    // Whether a first or second leg of a domestic cup round open to one of
    // the division numbers lies within 2 days of the date.
    bool IsNearCupDate(const CDate& date, int nNumberA, int nNumberB) const;
    bool HasFixtureNear(ID_CLUB idClub, const CDate& date, int nDays) const;

    // "TempDivision%d.dhs" and "TempDivision%d.chs" while the game runs.
    CWorkingFileImage m_HistoryFile;
    CWorkingFileImage m_ClubHistoryFile;
    // Bytes at the front of the club history's image that the newest sets
    // have pushed out: they go a year's worth at a time, or before the image
    // is read or written, rather than moving every set each week.
    size_t m_nClubHistoryPushedOut = 0;
    void DropPushedOutClubHistory();
    // Televised matches of each club this season, not kept on file.
    std::vector<std::pair<ID_CLUB, uint8_t>> m_TelevisedCounts;
    CDate m_LastTelevisionMove;
    // Where the last walk of the day's results met the first fixture not
    // before its date: every fixture ahead of it is of an earlier date.
    LPXLISTNODE m_pFirstFixtureNotPosted = nullptr;
    CDate m_FirstFixtureNotPostedDate;
};
