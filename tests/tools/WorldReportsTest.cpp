// worldtool run --results, tables, scorers and moves: the real program over
// one run that crosses a season turn.
#include "tools/worldtool/ResultsLog.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

// Output and exit status of a shell command, its standard error included.
std::string Shell(const std::string& command, int& nStatus)
{
    std::string output;
    FILE* pPipe = popen((command + " 2>&1").c_str(), "r");
    if (!pPipe) {
        nStatus = -1;
        return output;
    }
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pPipe))
        output += buffer.data();
    nStatus = pclose(pPipe);
    return output;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// One CSV record into its cells; quoted cells lose their quotes and their
// doubled inner quotes.
std::vector<std::string> Cells(const std::string& line)
{
    std::vector<std::string> cells(1);
    bool bQuoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (bQuoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            cells.back() += line[++i];
        else if (c == '"')
            bQuoted = !bQuoted;
        else if (c == ',' && !bQuoted)
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

// The season turns on 3 July 2000: a run of 430 days ends in its second
// season, with the second season's league under way.
constexpr int kDays = 430;
constexpr const char* kSecondSeason = "2000-07-03";

class WorldReports : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char szTemplate[] = "/tmp/brellox_reports_XXXXXX";
        s_folder = mkdtemp(szTemplate);
        s_summary = Shell(Tool() + " run --data '" + BRELLOX_GAME_DIR + "' --days " + std::to_string(kDays) +
                              " --seed 7 --out '" + World() + "' --results '" + (s_folder / "results.csv").string() +
                              "'",
                          s_nRunStatus);
    }
    static void TearDownTestSuite() { fs::remove_all(s_folder); }

    static std::string Tool() { return std::string("'") + WORLDTOOL + "'"; }
    static std::string World() { return (s_folder / "w.bin").string(); }
    // A report of the run's world, read with the runtime tree's names.
    static std::vector<std::string> Report(const char* pszCommand)
    {
        int nStatus = 0;
        const std::string output =
            Shell(Tool() + " " + pszCommand + " '" + World() + "' --data '" + BRELLOX_GAME_DIR + "'", nStatus);
        EXPECT_EQ(nStatus, 0) << output;
        return Lines(output);
    }

    static fs::path s_folder;
    static std::string s_summary;
    static int s_nRunStatus;
};

fs::path WorldReports::s_folder;
std::string WorldReports::s_summary;
int WorldReports::s_nRunStatus = -1;

TEST_F(WorldReports, ResultsListEveryMatchOnceAcrossTheSeasonTurn)
{
    ASSERT_EQ(s_nRunStatus, 0) << s_summary;
    std::smatch summary;
    ASSERT_TRUE(std::regex_match(s_summary, summary, std::regex(R"(days \d+ fixtures (\d+) goals (\d+) players \d+\n)")))
        << s_summary;
    std::ifstream in(s_folder / "results.csv");
    const std::vector<std::string> lines =
        Lines(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "date,competition,home,away,home_goals,away_goals");
    EXPECT_EQ(static_cast<long>(lines.size()) - 1, std::stol(summary[1])) << "one line per match of the run";

    const std::regex date(R"(\d{4}-\d{2}-\d{2})");
    std::set<std::tuple<std::string, std::string, std::string>> seen;
    long nGoals = 0, nFirstSeasonLeague = 0, nSecondSeasonLeague = 0;
    std::map<std::string, std::string> firstDates;  // competition: its first match day
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> cells = Cells(lines[i]);
        ASSERT_EQ(cells.size(), 6u) << lines[i];
        EXPECT_TRUE(std::regex_match(cells[0], date)) << lines[i];
        EXPECT_FALSE(cells[1].empty() || cells[2].empty() || cells[3].empty()) << lines[i];
        EXPECT_TRUE(seen.insert({cells[0], cells[2], cells[3]}).second) << "listed twice: " << lines[i];
        nGoals += std::stol(cells[4]) + std::stol(cells[5]);
        if (cells[1] == "league")
            ++(cells[0] < kSecondSeason ? nFirstSeasonLeague : nSecondSeasonLeague);
        firstDates.emplace(cells[1], cells[0]);
    }
    // Each English cup under its own name: the league cup starts in August,
    // the country's cup in November.
    ASSERT_TRUE(firstDates.count("England league cup") && firstDates.count("England cup"));
    EXPECT_EQ(firstDates["England league cup"].substr(5, 2), "08");
    EXPECT_EQ(firstDates["England cup"].substr(5, 2), "11");
    EXPECT_EQ(firstDates.count("England second cup"), 0u);
    EXPECT_EQ(nGoals, std::stol(summary[2]));
    EXPECT_GT(nFirstSeasonLeague, 5000);

    // The second season's league matches are exactly those of its tables.
    long nPlayedInTables = 0;
    const std::regex row(R"(\s*\d+  .{30} +(\d+) .*)");
    for (const std::string& line : Report("tables")) {
        std::smatch match;
        if (std::regex_match(line, match, row))
            nPlayedInTables += std::stol(match[1]);
    }
    ASSERT_GT(nSecondSeasonLeague, 0);
    EXPECT_EQ(nPlayedInTables, 2 * nSecondSeasonLeague);
}

TEST_F(WorldReports, TablesRunTopToBottomWithConsistentColumns)
{
    ASSERT_EQ(s_nRunStatus, 0) << s_summary;
    const std::regex row(R"(\s*(\d+)  .{30} +(\d+) +(\d+) +(\d+) +(\d+) +(\d+) +(\d+) +(\d+))");
    int nDivisions = 0, nExpectedPosition = 1, nPreviousPoints = 0;
    long nGoalsFor = 0, nGoalsAgainst = 0;
    auto endDivision = [&] {
        EXPECT_EQ(nGoalsFor, nGoalsAgainst) << "every goal is scored against a club of the same division";
        nGoalsFor = nGoalsAgainst = 0;
    };
    for (const std::string& line : Report("tables")) {
        std::smatch m;
        if (line.find(" pos  club") == 0) {
            ++nDivisions;
            nExpectedPosition = 1;
        }
        else if (std::regex_match(line, m, row)) {
            const int nPosition = std::stoi(m[1]), nPlayed = std::stoi(m[2]), nWon = std::stoi(m[3]),
                      nDrawn = std::stoi(m[4]), nLost = std::stoi(m[5]), nPoints = std::stoi(m[8]);
            EXPECT_EQ(nPosition, nExpectedPosition++) << line;
            EXPECT_EQ(nPlayed, nWon + nDrawn + nLost) << line;
            EXPECT_EQ(nPoints, 3 * nWon + nDrawn) << line;
            if (nPosition > 1)
                EXPECT_LE(nPoints, nPreviousPoints) << line;
            nPreviousPoints = nPoints;
            nGoalsFor += std::stol(m[6]);
            nGoalsAgainst += std::stol(m[7]);
        }
        else if (line.empty())
            endDivision();
    }
    EXPECT_GT(nDivisions, 9);
}

TEST_F(WorldReports, ScorersAndMovesOfTheSeason)
{
    ASSERT_EQ(s_nRunStatus, 0) << s_summary;
    const std::regex scorer(R"(.{30} .{30} +(\d+))");
    int nScorers = 0, nInCountry = 0, nPreviousGoals = 0;
    for (const std::string& line : Report("scorers")) {
        std::smatch m;
        if (line.empty())
            nInCountry = 0;
        else if (std::regex_match(line, m, scorer) && line.find("player ") != 0) {
            const int nGoals = std::stoi(m[1]);
            EXPECT_GT(nGoals, 0) << line;
            if (nInCountry > 0)
                EXPECT_LE(nGoals, nPreviousGoals) << line;
            nPreviousGoals = nGoals;
            ++nScorers;
            EXPECT_LE(++nInCountry, 10) << line;
        }
    }
    EXPECT_GT(nScorers, 0);

    // The first season's moves went to the archives at the turn: only the
    // second season's remain, each listed once.
    const std::regex move(R"((\d{4}-\d{2}-\d{2}) (transfer|loan) .* -> .* (fee|days) (\d+))");
    std::map<std::string, int> kinds;
    std::set<std::string> seen;
    for (const std::string& line : Report("moves")) {
        std::smatch m;
        if (!std::regex_match(line, m, move))
            continue;
        EXPECT_GE(m[1].str(), kSecondSeason) << line;
        ++kinds[m[2]];
        if (m[2] == "loan")
            EXPECT_GT(std::stoi(m[4]), 0) << line;
    }
    EXPECT_GT(kinds["transfer"], 0);
    EXPECT_GT(kinds["loan"], 0);
}

TEST(WorldToolReports, BadArgumentsGetUsageOrAClearMessage)
{
    char szTemplate[] = "/tmp/brellox_reports_XXXXXX";
    const fs::path folder = mkdtemp(szTemplate);
    const std::string tool = std::string("'") + WORLDTOOL + "'";
    const std::string game = std::string(" --data '") + BRELLOX_GAME_DIR + "'";
    // The names and tables must not be read as a world; nor may the run's
    // starting world be read without them.
    const std::string notAWorld = std::string(BRELLOX_GAME_DIR) + "/Data/Tables/Stadiums.txt";
    const std::string world = std::string(BRELLOX_GAME_DIR) + "/Data/Data.bin";
    const struct {
        std::string arguments;
        const char* pszMessage;
    } cases[] = {
        {"tables", "usage"},
        {"scorers '" + world + "' --data", "usage"},
        {"moves '" + world + "' extra" + game, "usage"},
        {"resave '" + world + "'" + game, "usage"},
        {"tables '" + (folder / "none.bin").string() + "'" + game, "cannot open"},
        {"tables '" + notAWorld + "'" + game, "is refused"},
        {"tables '" + world + "' --data '" + folder.string() + "'", "are missing or damaged"},
        {"run --data '" + std::string(BRELLOX_GAME_DIR) + "' --days 1 --seed 1 --out '" + (folder / "x.bin").string() +
             "' --results /nonexistent/r.csv",
         "cannot write /nonexistent/r.csv"},
    };
    for (const auto& c : cases) {
        int nStatus = 0;
        const std::string output = Shell(tool + " " + c.arguments, nStatus);
        EXPECT_NE(nStatus, 0) << c.arguments;
        EXPECT_NE(output.find(c.pszMessage), std::string::npos) << c.arguments << "\n" << output;
    }
    EXPECT_FALSE(fs::exists(folder / "x.bin")) << "a run that cannot write its results does not start";
    fs::remove_all(folder);
}

TEST(ResultsLogTest, QuotesOnlyTheNamesThatNeedIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Drumworth Rovers", "Drumworth Rovers"},
        {"Rovers, Reserves", "\"Rovers, Reserves\""},
        {"The \"Blues\"", "\"The \"\"Blues\"\"\""},
        {"", ""},
    };
    for (const auto& [pszName, pszCell] : cases)
        EXPECT_EQ(tools::ResultsLog::quote(pszName), pszCell) << pszName;
}

}  // namespace
