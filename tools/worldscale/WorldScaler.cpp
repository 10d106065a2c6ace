#include "tools/worldscale/WorldScaler.h"

#include "tools/worldtool/SourceFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace tools {
namespace {

constexpr int kMaxDivisions = 9;
constexpr int kMinClubs = 8;
constexpr int kMaxClubs = 24;
// Field limits of the world sources (characters).
constexpr size_t kNameLimit = 30, kShortNameLimit = 21, kGroundLimit = 31, kDivisionNameLimit = 20;
// Club cells: division, name, short name, reputation, support, ground,
// capacity, balance, home colours, away colours.
enum { kDivision, kName, kShortName, kReputation, kSupport, kGround, kCapacity, kBalance, kClubCells = 10 };

// Invented places are a town of the country and one of these.
const char* const kPlaceWords[] = {"Heath", "Vale",  "Green", "Marsh",  "Cross", "Moor", "Ford",
                                   "Brook", "Hill",  "Common", "Bridge", "Mill", "Leigh", "Wick"};
constexpr int kPlaceWordCount = sizeof(kPlaceWords) / sizeof(kPlaceWords[0]);

std::vector<std::string> splitCells(const std::string& line)
{
    std::vector<std::string> cells;
    std::stringstream in(line);
    std::string cell;
    while (std::getline(in, cell, ',')) {
        const size_t first = cell.find_first_not_of(" \t");
        const size_t last = cell.find_last_not_of(" \t");
        cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
    }
    return cells;
}

bool toInt(const std::string& text, long long& value)
{
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0';
}

std::string join(const std::vector<std::string>& cells)
{
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i)
        line += (i ? "," : "") + cells[i];
    return line;
}

// A figure of a club some divisions lower: smaller by `scale`, within limits.
std::string lowered(const std::string& text, double scale, long long low, long long high)
{
    long long value = 0;
    toInt(text, value);
    return std::to_string(std::clamp(static_cast<long long>(std::llround(value * scale)), low, high));
}

}  // namespace

std::vector<int> WorldScaler::divisionSizes(const std::vector<int>& sizes, int target)
{
    std::vector<int> result = sizes;
    int sum = 0;
    for (int size : sizes)
        sum += size;
    int rest = target - sum;
    const int room = kMaxDivisions - static_cast<int>(sizes.size());
    const int added = std::min(room, (rest + kMaxClubs - 1) / kMaxClubs);
    if (added > 0 && rest / added >= kMinClubs) {
        const int each = std::min(kMaxClubs, rest / added / 2 * 2);
        int extra = rest - each * added;
        for (int i = 0; i < added; ++i) {
            const int more = std::min({kMaxClubs - each, extra / 2 * 2});
            result.push_back(each + more);
            extra -= more;
            rest -= each + more;
        }
    }
    for (size_t i = 0; i < sizes.size() && rest >= 2; ++i) {
        const int more = std::min(kMaxClubs - result[i], rest) / 2 * 2;
        result[i] += more;
        rest -= more;
    }
    return result;
}

bool WorldScaler::readCountry(const std::string& path, Country& country)
{
    SourceFile source;
    if (!source.load(path))
        return false;
    country.fileName = fs::path(path).filename().string();
    country.country = source.lines("country");
    country.european = source.lines("european");
    country.national = source.lines("national");
    for (const std::string& line : source.lines("divisions")) {
        const auto cells = splitCells(line);
        long long id = 0, promotions = 0, relegations = 0;
        // Two optional play-off columns follow the relegations.
        if ((cells.size() != 5 && cells.size() != 7) || !toInt(cells[0], id) || !toInt(cells[3], promotions) ||
            !toInt(cells[4], relegations)) {
            std::fprintf(stderr, "worldscale: %s: bad division \"%s\"\n", path.c_str(), line.c_str());
            return false;
        }
        country.divisions.push_back(
            {static_cast<int>(id), cells[2], static_cast<int>(promotions), static_cast<int>(relegations),
             cells.size() == 7 ? cells[5] + "," + cells[6] : std::string()});
    }
    for (const std::string& line : source.lines("clubs")) {
        Club club;
        club.cells = splitCells(line);
        long long division = 0;
        if (club.cells.size() != kClubCells || !toInt(club.cells[kDivision], division) || division < 1 ||
            division > static_cast<long long>(country.divisions.size())) {
            std::fprintf(stderr, "worldscale: %s: bad club \"%s\"\n", path.c_str(), line.c_str());
            return false;
        }
        club.division = static_cast<int>(division);
        country.clubs.push_back(club);
        takenNames_.push_back(club.cells[kName]);
    }
    if (country.country.empty() || country.divisions.empty() || country.clubs.empty()) {
        std::fprintf(stderr, "worldscale: %s holds no country, divisions or clubs\n", path.c_str());
        return false;
    }
    return true;
}

void WorldScaler::grow(Country& country, int target, int& nextDivisionId)
{
    const int oldDivisions = static_cast<int>(country.divisions.size());
    std::vector<int> sizes(static_cast<size_t>(oldDivisions), 0);
    std::vector<std::string> towns;
    for (const Club& club : country.clubs) {
        ++sizes[static_cast<size_t>(club.division - 1)];
        towns.push_back(club.cells[kShortName]);
    }
    const std::vector<int> grown = divisionSizes(sizes, target);

    size_t nextPlace = 0;
    auto inventName = [&]() {
        for (;; ++nextPlace) {
            const std::string& town = towns[nextPlace % towns.size()];
            const size_t round = nextPlace / towns.size();
            std::string place = town + " " + kPlaceWords[round % kPlaceWordCount];
            if (round >= static_cast<size_t>(kPlaceWordCount))
                place += " " + std::string(kPlaceWords[(round / kPlaceWordCount + round) % kPlaceWordCount]);
            if (place.size() <= kShortNameLimit &&
                std::find(takenNames_.begin(), takenNames_.end(), place) == takenNames_.end()) {
                takenNames_.push_back(place);
                ++nextPlace;
                return place;
            }
        }
    };
    // New clubs look like the clubs of the division they join, or, below
    // the old lowest division, like its clubs a little smaller each step.
    auto addClubs = [&](int division, int count, int modelDivision, int depth) {
        std::vector<Club> models;  // copies: the clubs list grows below
        for (const Club& club : country.clubs)
            if (club.division == modelDivision)
                models.push_back(club);
        const double scale = std::pow(0.85, depth);
        for (int i = 0; i < count; ++i) {
            const Club& model = models[static_cast<size_t>(i) % models.size()];
            Club club;
            club.division = division;
            const std::string place = inventName();
            club.cells = model.cells;
            club.cells[kDivision] = std::to_string(division);
            club.cells[kName] = place;
            club.cells[kShortName] = place;
            club.cells[kReputation] = lowered(model.cells[kReputation], scale, 1, 100);
            club.cells[kSupport] = lowered(model.cells[kSupport], scale, 1, 99);
            const std::string ground = place + " Park";
            club.cells[kGround] = ground.size() <= kGroundLimit ? ground : place;
            club.cells[kCapacity] = lowered(model.cells[kCapacity], scale, 800, 150000);
            club.cells[kBalance] = lowered(model.cells[kBalance], std::pow(0.7, depth), -100000000, 2000000000);
            country.clubs.push_back(club);
        }
    };
    for (int i = 0; i < oldDivisions; ++i)
        addClubs(i + 1, grown[static_cast<size_t>(i)] - sizes[static_cast<size_t>(i)], i + 1, 0);
    for (int number = oldDivisions + 1; number <= static_cast<int>(grown.size()); ++number) {
        const int size = grown[static_cast<size_t>(number - 1)];
        const int exchange = size >= 16 ? 3 : 2;
        // The division above now relegates as many as this one promotes.
        country.divisions.back().relegations = exchange;
        Division division;
        division.id = nextDivisionId++;
        division.name = "Regional League " + std::to_string(number);
        division.name.resize(std::min(division.name.size(), kDivisionNameLimit));
        division.promotions = exchange;
        division.relegations = 0;
        country.divisions.push_back(division);
        addClubs(number, size, oldDivisions, number - oldDivisions);
    }
    // Clubs listed division by division, as the sources are.
    std::stable_sort(country.clubs.begin(), country.clubs.end(),
                     [](const Club& a, const Club& b) { return a.division < b.division; });
    for (const Club& club : country.clubs)
        if (club.cells[kName].size() > kNameLimit)
            std::fprintf(stderr, "worldscale: %s is too long a name\n", club.cells[kName].c_str());
}

bool WorldScaler::writeCountry(const std::string& path, const Country& country) const
{
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial);
        out << "# " << country.fileName << ", enlarged by worldscale: a benchmark input, not a shipped world.\n";
        auto section = [&out](const char* name, const std::vector<std::string>& lines) {
            out << "\n[" << name << "]\n";
            for (const std::string& line : lines)
                out << line << "\n";
        };
        section("country", country.country);
        section("european", country.european);
        section("national", country.national);
        std::vector<std::string> lines;
        for (size_t i = 0; i < country.divisions.size(); ++i) {
            const Division& d = country.divisions[i];
            lines.push_back(std::to_string(d.id) + "," + std::to_string(i + 1) + "," + d.name + "," +
                            std::to_string(d.promotions) + "," + std::to_string(d.relegations) +
                            (d.playOff.empty() ? "" : "," + d.playOff));
        }
        section("divisions", lines);
        lines.clear();
        for (const Club& club : country.clubs)
            lines.push_back(join(club.cells));
        section("clubs", lines);
        if (!out.flush()) {
            std::fprintf(stderr, "worldscale: cannot write %s\n", partial.c_str());
            return false;
        }
    }
    std::error_code error;
    fs::rename(partial, path, error);
    if (error)
        std::fprintf(stderr, "worldscale: cannot write %s: %s\n", path.c_str(), error.message().c_str());
    return !error;
}

bool WorldScaler::scale(const std::string& sourceDir, const std::string& outDir, int factor)
{
    std::error_code error;
    const fs::path source = fs::absolute(sourceDir, error);
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(source / "world", error))
        if (entry.path().extension() == ".txt")
            files.push_back(entry.path());
    if (error || files.empty()) {
        std::fprintf(stderr, "worldscale: no world sources in %s\n", (source / "world").c_str());
        return false;
    }
    std::sort(files.begin(), files.end());
    std::vector<Country> countries(files.size());
    int nextDivisionId = 1, clubsBefore = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        if (!readCountry(files[i].string(), countries[i]))
            return false;
        for (const Division& d : countries[i].divisions)
            nextDivisionId = std::max(nextDivisionId, d.id + 1);
        clubsBefore += static_cast<int>(countries[i].clubs.size());
    }

    // Each country grows by the factor as far as nine full divisions allow;
    // the clubs it cannot take go to the countries after it, then before it.
    std::vector<int> targets;
    int unplaced = 0;
    for (const Country& country : countries) {
        const int wanted = factor * static_cast<int>(country.clubs.size());
        targets.push_back(std::min(wanted, kMaxDivisions * kMaxClubs));
        unplaced += wanted - targets.back();
    }
    for (int& target : targets) {
        const int more = std::min(unplaced, kMaxDivisions * kMaxClubs - target);
        target += more;
        unplaced -= more;
    }

    const fs::path world = fs::path(outDir) / "world";
    fs::create_directories(world, error);
    for (const fs::directory_entry& entry : fs::directory_iterator(world, error))
        if (entry.path().extension() == ".txt")
            fs::remove(entry.path(), error);
    int clubsAfter = 0, divisionsAfter = 0;
    for (size_t i = 0; i < countries.size(); ++i) {
        grow(countries[i], targets[i], nextDivisionId);
        if (!writeCountry((world / countries[i].fileName).string(), countries[i]))
            return false;
        clubsAfter += static_cast<int>(countries[i].clubs.size());
        divisionsAfter += static_cast<int>(countries[i].divisions.size());
    }
    // The other sources (names, tables, tactics) are the source folder's own.
    for (const fs::directory_entry& entry : fs::directory_iterator(source, error)) {
        const fs::path link = fs::path(outDir) / entry.path().filename();
        if (entry.path().filename() == "world" || fs::exists(fs::symlink_status(link)))
            continue;
        fs::create_directory_symlink(entry.path(), link, error);
        if (error) {
            std::fprintf(stderr, "worldscale: cannot link %s: %s\n", link.c_str(), error.message().c_str());
            return false;
        }
    }
    std::printf("worldscale: %d clubs in %d divisions (from %d clubs)\n", clubsAfter, divisionsAfter, clubsBefore);
    return true;
}

}  // namespace tools
