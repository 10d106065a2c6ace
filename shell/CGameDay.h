#pragma once
// The game day, the one road every continue takes (the navigation bar's
// continue command and the start of a new game call it; the home screen
// shows what it did): the day loop up to the next stop with the humans'
// notices, the newspapers' pending stories and the scenario objective; each
// human's daily mail filed by the mail scripts; the day's remaining fixtures
// and the screens queued to show them; the pre-start run of a new game.
#include "common/CDate.h"

#include <cstdint>

class CDatabaseHandler;
class CSaveGame;

// The fixture the match screen plays for a human slot: a league fixture
// (kind 0) or a cup or friendly fixture (kinds 1-3); none while null.
struct MATCHDAYFIXTURE {
    void* pFixture = nullptr;
    uint8_t byKind = 0;
};
constexpr int MATCHDAY_FIXTURE_SLOTS = 4;
extern MATCHDAYFIXTURE g_aMatchDayFixtures[MATCHDAY_FIXTURE_SLOTS];

// A filed item older than this many days is dropped.
constexpr int MAIL_KEEP_DAYS = 28;
// The navigation alert of unread mail.
constexpr int MAIL_NAVIGATION_ALERT = 9;
// The random story of a club and its manager.
constexpr uint16_t STORY_CLUB_AND_MANAGER = 297;
// The news item that greets a manager at his club when a game begins.
constexpr uint16_t NEWS_WELCOME_TO_CLUB = 152;

class CGameDay {
public:
    enum : int { SCENARIO_UNDECIDED = 0, SCENARIO_FAILED = 1, SCENARIO_ACHIEVED = 2 };

    // One continue: the seen notices dropped, the days up to the continue
    // date entered (each passed day's fixtures played), the pending stories
    // published, the notices raised again; at the current human's season
    // end (or on every continue of a human without a club while an
    // objective is set) the scenario objective is decided; a new season
    // opens the end-of-season screen. Answers the days entered.
    static int ProcessDay(CDatabaseHandler& database);
    // Files the current human's incoming news items under their senders by
    // the mail scripts; an item no entry fits is deleted, an item of a type
    // no sender writes stays incoming, and so does every item of a sender
    // whose script cannot be read. Raises the unread-mail alert. Answers the
    // items filed.
    static int ProcessDailyNews(CDatabaseHandler& database);
    // Now and then a story of a computer club and its manager; then every
    // pending story of every country is printed with the script entry of its
    // form id, or dropped when the script has none. Without the script the
    // stories stay pending. Answers the stories printed.
    static int PublishPendingStories(CDatabaseHandler& database);
    // Plays today's remaining fixtures and queues the match day's screens:
    // the match screen once for each human fixture (once for two humans who
    // meet; only when the match screen is built and the options hold the
    // humans' matches for it), the result table of each human's competition
    // (once for humans who share it), the home screen last. Answers the
    // fixtures played.
    static int QueueMatchDayScreens(CDatabaseHandler& database);
    // Fills g_aMatchDayFixtures with today's unplayed fixtures of the humans'
    // clubs, a fixture between two humans for the lower slot only. Answers
    // how many were filled.
    static int FindMatchDayFixtures(const CDatabaseHandler& database);
    // A new game's world is set back a month (or to a month before the
    // season start of a country whose season is under way on the target)
    // and runs to the target, showing its progress; then each human's
    // welcome and notices and his mail.
    static void ProcessDaysToDate(CDatabaseHandler& database, const CDate& target);
    // The day the run of ProcessDaysToDate starts from.
    static CDate GetRunStartDate(const CDatabaseHandler& database, const CDate& target);
    // The look of the continue button for today (CGameNavigationBar looks).
    static int GetContinueLookForDay(const CDatabaseHandler& database);
    // Mode 0 asks the board, mode 1 fails the objective; answers the outcome
    // (nothing for a human without an objective) and keeps it for the home
    // screen to tell.
    static int CheckScenarioObjective(CDatabaseHandler& database, int nMode);
    // The decided objective outcome not yet told, cleared by taking it.
    static int TakeScenarioOutcome();
    static int PeekScenarioOutcome() { return s_nScenarioOutcome; }

private:
    static int s_nScenarioOutcome;
};
