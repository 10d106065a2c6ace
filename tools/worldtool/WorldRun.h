#pragma once
// worldtool run: a new game of a data tree's starting database, advanced day
// by day the way the continue command does, without a human manager.
#include <string>

namespace tools {

struct RunOptions {
    std::string dataDir;  // holds Data/Data.bin, Data/Names and Data/Tables
    int days = 0;
    unsigned seed = 0;
    std::string outFile;
    std::string resultsFile;  // empty: no list of results
    // When set, one line of the world's head counts is written to it after
    // every season turn and at the end of the run.
    std::string seasonsFile;
    // When set, every club's bookings of the run, summed by finance
    // category, are written to it.
    std::string booksFile;
};

// What the run played, over every season it spans.
struct RunResult {
    int days = 0;
    long fixtures = 0;
    long goals = 0;
    long players = 0;  // under contract at clubs at the end
};

// Works in a fresh temporary folder (the game's working files land in the
// current folder), so that runs never see each other's files. False with a
// message on standard error when the tree cannot be read or the result
// cannot be written.
bool runWorld(const RunOptions& options, RunResult& result);

}  // namespace tools
