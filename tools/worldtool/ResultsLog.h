#pragma once
// The matches a world run plays, counted, and for worldtool run --results
// written one comma-separated line each (date, competition, home club, away
// club, home goals, away goals) under a header line.
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/CDate.h"

class CDatabaseHandler;

namespace tools {

class ResultsLog {
public:
    ResultsLog() = default;
    ~ResultsLog();
    ResultsLog(const ResultsLog&) = delete;
    ResultsLog& operator=(const ResultsLog&) = delete;

    // Starts the file under a temporary name beside it; false when it cannot
    // be created.
    bool open(const std::filesystem::path& file);
    bool isOpen() const { return m_pFile != nullptr; }
    // Takes the played fixtures dated after the last call and up to today
    // (written when a file is open). Called after each day's matches, before
    // the next day can archive them at a season turn, it sees every match
    // exactly once.
    void addPlayedUpTo(const CDatabaseHandler& handler, const CDate& today);
    // Renames the whole file into place; false (and no file) on a failed write.
    bool close();
    long matches() const { return m_nMatches; }
    long goals() const { return m_nGoals; }

    // A field as a CSV cell: quoted when it holds a comma, a quote or a line
    // break, inner quotes doubled.
    static std::string quote(const std::string& field);
    // "league", or the cup's owner and kind ("friendly" for a friendly).
    static std::string competitionName(const CDatabaseHandler& handler, uint8_t byCupNumber);

private:
    void add(const CDatabaseHandler& handler, const CDate& date, const std::string& competition, uint16_t wHome,
               uint16_t wAway, int nHomeGoals, int nAwayGoals);

    std::FILE* m_pFile = nullptr;
    std::filesystem::path m_file;
    std::filesystem::path m_partial;
    CDate m_lastDate;
    long m_nMatches = 0;
    long m_nGoals = 0;
};

}  // namespace tools
