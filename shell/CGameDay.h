#pragma once
// The game day as the continue command runs it, on behalf of the home
// screen: the day loop up to the next stop, then the day's remaining
// fixtures and the screens queued to show them.
class CDatabaseHandler;
class CDate;

class CGameDay {
public:
    // Enters the days up to the continue date (the day loop plays every
    // passed day's fixtures); answers the days entered.
    static int ProcessDay(CDatabaseHandler& database);
    // Plays today's remaining fixtures, the humans' own among them (there is
    // no match screen yet), and queues the day's screens: the fixtures table
    // (the human's division) or the cup table when the human's club played
    // today, then the home screen. Answers the fixtures played.
    static int QueueMatchDayScreens(CDatabaseHandler& database);
    // A new game's world is set back a month (or to a month before the
    // season start of a country whose season is under way on the target)
    // and runs to the target, showing its progress; the world then stands on
    // the target.
    static void ProcessDaysToDate(CDatabaseHandler& database, const CDate& target);
    // The day the run of ProcessDaysToDate starts from.
    static CDate GetRunStartDate(const CDatabaseHandler& database, const CDate& target);
};
