#pragma once
// The game day as the continue command runs it, on behalf of the home
// screen: the day loop up to the next stop, then the day's remaining
// fixtures and the screens queued to show them.
class CDatabaseHandler;

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
};
