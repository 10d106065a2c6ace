#include "tools/worldtool/TablesGenerator.h"

#include "tools/worldtool/SourceFile.h"
#include "database/CPlayOffTemplates.h"
#include "platform/SafeFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace tools {
namespace {

constexpr int kPositionClasses = 3;
constexpr int kQualities = 3;

int64_t roundToThousands(int64_t value) { return (value + 500) / 1000 * 1000; }

bool fail(const std::string& path, const char* what)
{
    std::fprintf(stderr, "worldtool: %s: %s\n", path.c_str(), what);
    return false;
}

bool inRange(const std::vector<int64_t>& row, size_t first, size_t last, int64_t low, int64_t high)
{
    for (size_t i = first; i <= last && i < row.size(); ++i)
        if (row[i] < low || row[i] > high)
            return false;
    return true;
}

}  // namespace

bool TablesGenerator::buildStandTables(const std::string& sourceDir)
{
    SourceFile source;
    if (!source.load(sourceDir + "/tables/stands.txt"))
        return false;
    Rows kinds, tiers, qualities, roofs, parts, allocation;
    if (!source.integerRows("kinds", 7, kinds) || !source.integerRows("tiers", 3, tiers) ||
        !source.integerRows("qualities", 4, qualities) || !source.integerRows("roofs", 4, roofs) ||
        !source.integerRows("parts", 9, parts) || !source.integerRows("allocation", 1, allocation))
        return false;
    if (kinds.size() != 10)
        return fail(source.path(), "[kinds] must list 10 stand kinds");
    if (tiers.size() != 4 || qualities.size() != kQualities || roofs.size() != 3 || parts.size() != 3 ||
        allocation.size() != 1)
        return fail(source.path(), "[tiers] needs 4 rows, [qualities], [roofs] and [parts] 3, [allocation] 1");
    for (size_t i = 0; i < tiers.size(); ++i)
        if (tiers[i][0] != static_cast<int64_t>(i))
            return fail(source.path(), "[tiers] must list tier codes 0-3 in order");
    for (size_t i = 0; i < 3; ++i)
        if (qualities[i][0] != static_cast<int64_t>(i) || roofs[i][0] != static_cast<int64_t>(i + 1) ||
            parts[i][0] != static_cast<int64_t>(i))
            return fail(source.path(), "[qualities], [roofs] and [parts] must be in order");

    int64_t previousTotal = 0;
    std::set<std::pair<int64_t, int64_t>> seenKinds;
    for (const std::vector<int64_t>& kind : kinds) {
        if (kind[0] < 0 || kind[0] > 3 || kind[1] < 0 || kind[1] > 5 || !seenKinds.insert({kind[0], kind[1]}).second)
            return fail(source.path(), "[kinds] needs distinct tier codes 0-3 and sizes 0-5");
        // The game splits a stand into sections by its tier code and size; a
        // stand of two or three tiers of size 0 or 3 has none to sell.
        if (kind[0] >= 2 && kind[1] % 3 == 0)
            return fail(source.path(), "[kinds] a stand of two or three tiers needs size 1, 2, 4 or 5");
        if (!inRange(kind, 2, 4, 1, 100000) || !inRange(kind, 5, 6, 1, 255))
            return fail(source.path(), "[kinds] seats or weeks out of range");
        const int64_t total = 2 * kind[2] + 2 * kind[3] + 4 * kind[4];
        if (total <= previousTotal)
            return fail(source.path(), "[kinds] must grow in total capacity");
        previousTotal = total;
    }

    stadiums_.clear();
    roofing_.clear();
    standParts_.clear();
    stadiumSizes_.clear();
    for (int positionClass = 0; positionClass < kPositionClasses; ++positionClass) {
        for (const std::vector<int64_t>& kind : kinds) {
            const int64_t tier = kind[0];
            const int64_t size = kind[1];
            const int64_t seats = kind[2 + positionClass];
            const bool corner = positionClass == 2;
            const int64_t buildWeeks = corner ? (kind[5] * 2 + 2) / 3 : kind[5];
            // One row each per quality (stands), roof grade - 1 (roofs) and part (parts).
            for (int quality = 0; quality < kQualities; ++quality) {
                const int64_t cost = roundToThousands(seats * tiers[tier][1] * qualities[quality][1] / 100);
                const int64_t yearly = seats * tiers[tier][2] * qualities[quality][2] / 100;
                stadiums_.push_back({positionClass, tier, size, quality, qualities[quality][3], cost, seats, yearly,
                                     buildWeeks, kind[6], roundToThousands(cost / 10)});
                const std::vector<int64_t>& roof = roofs[quality];
                roofing_.push_back({positionClass, tier, size, quality, roof[3] + size + 1, 0, 0, -roof[2],
                                    roundToThousands(seats * roof[1])});
                const std::vector<int64_t>& part = parts[quality];
                const bool absent = part[8] != 0 && tier == 0;
                int64_t minimum = absent ? 0 : part[4] + part[5] * size;
                int64_t maximum = absent ? 0 : part[6] + part[7] * size;
                if (corner) {
                    minimum /= 2;
                    maximum /= 2;
                }
                if (minimum * part[2] > seats)
                    return fail(source.path(), "[parts] boxes would hold more seats than their stand");
                standParts_.push_back({positionClass, tier, size, quality, part[1], part[2], part[3], minimum, maximum});
            }
        }
    }
    for (int quality = 0; quality < kQualities; ++quality)
        for (const std::vector<int64_t>& kind : kinds)
            stadiumSizes_.push_back({allocation[0][0], kind[0], kind[1], quality,
                                     2 * kind[2] + 2 * kind[3] + 4 * kind[4]});
    return true;
}

bool TablesGenerator::buildFacilityTables(const std::string& sourceDir)
{
    SourceFile source;
    if (!source.load(sourceDir + "/tables/facilities.txt") || !source.integerRows("facilities", 5, facilities_) ||
        !source.integerRows("features", 5, features_))
        return false;
    // Every kind the ground code builds must be there, once.
    const std::set<std::pair<int64_t, int64_t>> facilityKeys = {{4, 0}, {4, 1}, {5, 0},  {5, 1},  {5, 2}, {6, 0},
                                                                {6, 1}, {7, 1}, {7, 2},  {8, 1},  {8, 2}, {9, 0},
                                                                {9, 1}, {9, 2}, {10, 2}, {11, 1}, {11, 2}};
    const std::set<std::pair<int64_t, int64_t>> featureKeys = {{12, 0}, {13, 0}, {13, 1}, {14, 0},
                                                               {14, 1}, {15, 0}, {16, 0}};
    const std::pair<const Rows*, const std::set<std::pair<int64_t, int64_t>>*> checks[] = {
        {&facilities_, &facilityKeys}, {&features_, &featureKeys}};
    for (const auto& [rows, keys] : checks) {
        std::set<std::pair<int64_t, int64_t>> seen;
        for (const std::vector<int64_t>& row : *rows) {
            if (!inRange(row, 2, 4, 0, 0xFFFFFFFFLL) || !seen.insert({row[0], row[1]}).second)
                return fail(source.path(), "a facility row is repeated or has a value out of range");
        }
        if (seen != *keys)
            return fail(source.path(), "[facilities] or [features] does not hold exactly the kinds the game uses");
    }
    return true;
}

bool TablesGenerator::buildMatchDayTables(const std::string& sourceDir)
{
    SourceFile source;
    if (!source.load(sourceDir + "/tables/matchday.txt") || !source.integerRows("merchandise", 18, merchandise_) ||
        !source.integerRows("costs", 14, matchDayCosts_) || !source.integerRows("restrictions", 15, restrictions_))
        return false;
    if (merchandise_.size() != 17 || matchDayCosts_.size() != 7 || restrictions_.size() != 3)
        return fail(source.path(), "[merchandise] needs 17 rows, [costs] 7 and [restrictions] 3");
    for (const std::vector<int64_t>& row : restrictions_) {
        const auto kinds = std::count_if(row.begin(), row.end(), [](int64_t v) { return v > 0; });
        if (!inRange(row, 0, 14, 0, 1000000) || row[3] != 0 || kinds > 6)
            return fail(source.path(), "a restrictions row needs values of 0 or more, none in the fourth column, "
                                       "and at most 6 kinds");
    }
    for (const std::vector<int64_t>& row : merchandise_) {
        int stocks = 0;
        for (size_t i = 3; i < row.size(); ++i)
            stocks += row[i] > 0;
        // The price divides the club's price comparisons, and a row holds six stocks.
        if (row[2] <= 0 || row[0] < 0 || row[1] < 0 || stocks > 6 || row[6] != 0)
            return fail(source.path(), "a merchandise row needs a price above 0 and at most 6 stocks");
    }
    for (const std::vector<int64_t>& row : matchDayCosts_)
        if (row[0] < 0 || !inRange(row, 1, 13, 0, 255))
            return fail(source.path(), "a match-day cost row has a value out of range");
    return true;
}

bool TablesGenerator::buildPlayOffTables(const std::string& sourceDir)
{
    SourceFile source;
    if (!source.load(sourceDir + "/tables/playoffs.txt") ||
        !source.integerRows("playoffs", CPlayOffTemplates::COLUMNS, playOffs_))
        return false;
    if (playOffs_.empty() || playOffs_.size() > static_cast<size_t>(CPlayOffTemplates::MAX_ROWS))
        return fail(source.path(), "[playoffs] needs 1 to 64 rounds");
    // The game's own reader decides what a sound table is.
    CPlayOffTemplates templates;
    int nBadRow = 0;
    if (const char* reason = templates.Build(playOffs_, nBadRow))
        return fail(source.path(), ("[playoffs] round " + std::to_string(nBadRow + 1) + ": " + reason).c_str());
    return true;
}

namespace {

// Band b's figure on the even proportional climb from band 0 to band 9.
double bandFigure(int64_t band0, int64_t band9, int band)
{
    if (band0 <= 0)
        return static_cast<double>(band0 + (band9 - band0) * band / 9);
    return static_cast<double>(band0) * std::pow(static_cast<double>(band9) / static_cast<double>(band0), band / 9.0);
}

// Money rounded to a figure a board would quote.
int64_t roundMoney(double value)
{
    const int64_t whole = static_cast<int64_t>(value + 0.5);
    const int64_t step = whole >= 100000 ? 1000 : whole >= 1000 ? 100 : 1;
    return (whole + step / 2) / step * step;
}

std::string rangeLine(const std::vector<std::pair<int64_t, int64_t>>& cells)
{
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i)
            line += ',';
        line += std::to_string(cells[i].first) + "-" + std::to_string(cells[i].second);
    }
    return line;
}

}  // namespace

bool TablesGenerator::buildRangeTables(const std::string& sourceDir)
{
    SourceFile source;
    if (!source.load(sourceDir + "/tables/sponsors.txt"))
        return false;
    Rows groups;
    if (!source.integerRows("groups", 5, groups) || groups.size() != 1 || !inRange(groups[0], 0, 4, 1, 1000))
        return fail(source.path(), "[groups] needs one row of five percentages from 1 to 1000");
    // One line of five ranges for a band: money scaled by the id groups, or
    // the same whole-number range for every group.
    auto lineFor = [&](const std::vector<int64_t>& rule, int band, bool money) {
        std::vector<std::pair<int64_t, int64_t>> cells;
        for (int column = 0; column < 5; ++column) {
            const double scale = money ? groups[0][static_cast<size_t>(column)] / 100.0 : 1.0;
            int64_t low = roundMoney(bandFigure(rule[0], rule[2], band) * scale);
            int64_t high = roundMoney(bandFigure(rule[1], rule[3], band) * scale);
            high = std::max(low, high);
            cells.emplace_back(low, high);
        }
        return rangeLine(cells);
    };
    auto rule = [&](const char* section, int64_t highest, std::vector<int64_t>& out) {
        Rows rows;
        if (!source.integerRows(section, 4, rows) || rows.size() != 1 || !inRange(rows[0], 0, 3, 0, highest) ||
            rows[0][0] > rows[0][1] || rows[0][2] > rows[0][3])
            return fail(source.path(), "a rule needs one row: band 0 min and max, band 9 min and max, in range");
        out = rows[0];
        return true;
    };
    struct OUTPUT {
        const char* file;
        std::vector<const char*> sections;  // one line per band each
        std::vector<bool> money;
        int64_t highest;
    };
    const OUTPUT outputs[] = {
        {"Kit.TXT", {"kit", "kitterms"}, {true, false}, 100000000},
        {"Shirt.TXT", {"shirt", "shirtterms"}, {true, false}, 100000000},
        {"Advert.TXT", {"advert", "advertterms"}, {true, false}, 100000000},
        // Hoardings amounts are kept in tens in a 16-bit field.
        {"Hoard.TXT", {"hoardamount", "hoardboards", "hoardpayments"}, {true, false, false}, 5000},
    };
    for (const OUTPUT& output : outputs) {
        std::vector<std::vector<int64_t>> rules(output.sections.size());
        for (size_t i = 0; i < rules.size(); ++i)
            if (!rule(output.sections[i], i == 0 ? output.highest : 120, rules[i]))
                return false;
        std::string text;
        for (int band = 0; band < 10; ++band)
            for (size_t i = 0; i < rules.size(); ++i)
                text += lineFor(rules[i], band, output.money[i]) + "\r\n";
        rangeTables_.emplace_back(output.file, text);
    }
    return true;
}

bool TablesGenerator::writeTable(const std::string& path, const Rows& rows)
{
    std::string text;
    for (const std::vector<int64_t>& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            if (i)
                line += ',';
            line += std::to_string(row[i]);
        }
        if (line.size() > 80)
            return fail(path, "a line is longer than 80 characters");
        text += line + "\r\n";
    }
    return plat::writeWholeFile(path, text.data(), text.size()) || fail(path, "cannot be written");
}

bool TablesGenerator::generate(const GeneratorContext& context)
{
    if (!buildStandTables(context.sourceDir) || !buildFacilityTables(context.sourceDir) ||
        !buildMatchDayTables(context.sourceDir) || !buildRangeTables(context.sourceDir) ||
        !buildPlayOffTables(context.sourceDir))
        return false;
    const fs::path outDir = fs::path(context.outputDir) / "Data" / "Tables";
    std::error_code error;
    fs::create_directories(outDir, error);
    if (error)
        return fail(outDir.string(), "cannot be created");
    const std::pair<const char*, const Rows*> outputs[] = {
        {"Stadiums.txt", &stadiums_},     {"Roofing.txt", &roofing_},       {"StaExtra.txt", &standParts_},
        {"StadAlloc.txt", &stadiumSizes_}, {"Facilities.txt", &facilities_}, {"Features.txt", &features_},
        {"M&C.txt", &merchandise_},       {"MatchDay.txt", &matchDayCosts_}, {"OtherRestrictions.txt", &restrictions_},
        {"PlayOffs.txt", &playOffs_},
    };
    for (const auto& [file, rows] : outputs)
        if (!writeTable((outDir / file).string(), *rows))
            return false;
    for (const auto& [file, text] : rangeTables_)
        if (!plat::writeWholeFile((outDir / file).string().c_str(), text.data(), text.size()))
            return fail((outDir / file).string(), "cannot be written");
    return true;
}

}  // namespace tools
