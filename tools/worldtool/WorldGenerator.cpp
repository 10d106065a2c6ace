#include "tools/worldtool/WorldGenerator.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/Random.h"
#include "platform/SafeFile.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSavedGameSet.h"
#include "tools/worldtool/SourceFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace tools {
namespace {

// Kit colours by name; a club keeps the index of each in its attribute
// bytes: home first and second colour at 0 and 1, away at 2 and 3.
const char* const kColours[] = {"red",   "white", "blue",   "sky",   "navy",   "yellow", "green",
                                "black", "orange", "claret", "amber", "maroon", "purple", "grey"};
constexpr int kColourCount = sizeof(kColours) / sizeof(kColours[0]);

// The starting database's day: the season turns in July.
constexpr int kStartYear = 1999;
constexpr int kStartMonth = 7;
constexpr int kStartDay = 1;
// Saturday league days, Wednesday midweek, August to the second week of May.
constexpr uint8_t kSaturday = 6;
constexpr uint8_t kWednesday = 3;
constexpr int kSeasonStartMonth = 8;
constexpr int kSeasonEndMonth = 5;
constexpr int kSeasonEndWeek = 2;
// League match rules: no extra time or shoot-out (a league match may end
// drawn), 3 substitutions from 5 named, then 5; venue 0.
constexpr int32_t kLeagueMatchRules = 3 << 8 | 5 << 16 | 5 << 24;
// A hemisphere byte of 4 places a club nowhere on the map.
constexpr uint8_t kNoMapPosition = 4;

// Squad shape: goalkeepers, defenders, midfielders, attackers.
constexpr int kSquadBase[PLAYER_POSITION_COUNT] = {2, 7, 7, 4};

// A squad player's potential centres on his club's standing: a base and a
// share of its reputation (the base keeps the lowest divisions playing
// football, not missing chances), less a little for each division below the
// top; players spread around it so that a squad has its stars and reserves.
constexpr int kPotentialBase = 15;
constexpr int kPotentialPerReputation = 80;  // per cent
constexpr int kPotentialPerDivision = 3;
constexpr int kPotentialSpread = 10;
constexpr int kPotentialLowest = 20;
constexpr int kPotentialHighest = 99;

int squadPotential(int reputation, int divisionNumber)
{
    const int centre =
        kPotentialBase + reputation * kPotentialPerReputation / 100 - kPotentialPerDivision * (divisionNumber - 1);
    // Two draws make the middle likelier than the ends.
    const int offset = plat::rand() % (kPotentialSpread + 1) + plat::rand() % (kPotentialSpread + 1) - kPotentialSpread;
    return std::clamp(centre + offset, kPotentialLowest, kPotentialHighest);
}

// A club's following (how many people count themselves its supporters,
// 0-100) blends how strongly its town backs it with how many its ground
// holds, on a log scale from 2,000 (nothing) to 70,000 (everything), and
// thins a little in each lower division, where fewer people follow football.
constexpr double kFollowingEmptyGround = 2000.0;
constexpr double kFollowingFullGround = 70000.0;
constexpr int kFollowingPerDivision = 4;

std::string trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> splitCells(const std::string& line, char separator = ',')
{
    std::vector<std::string> cells;
    std::stringstream stream(line);
    std::string cell;
    while (std::getline(stream, cell, separator))
        cells.push_back(trim(cell));
    return cells;
}

bool toInt(const std::string& cell, int64_t low, int64_t high, int64_t& value)
{
    char* end = nullptr;
    value = std::strtoll(cell.c_str(), &end, 10);
    return !cell.empty() && *end == '\0' && value >= low && value <= high;
}

int colourIndex(const std::string& name)
{
    for (int i = 0; i < kColourCount; ++i)
        if (name == kColours[i])
            return i;
    return -1;
}

class Reporter {
public:
    explicit Reporter(std::string path) : path_(std::move(path)) {}
    bool fail(const std::string& section, const std::string& line, const char* problem) const
    {
        std::fprintf(stderr, "worldtool: %s [%s]: \"%s\": %s\n", path_.c_str(), section.c_str(), line.c_str(), problem);
        return false;
    }

private:
    std::string path_;
};

bool readCountry(const SourceFile& source, WorldGenerator::CountrySource& country)
{
    const Reporter report(source.path());
    const auto& countryLines = source.lines("country");
    if (countryLines.size() != 1)
        return report.fail("country", "", "one line expected");
    auto cells = splitCells(countryLines[0]);
    int64_t v[4] = {};
    if (cells.size() != 5 || !toInt(cells[0], 1, 19, v[0]) || !toInt(cells[2], CCountryDatabase::ECONOMY_MIN,
                                                                        CCountryDatabase::ECONOMY_MAX, v[1]) ||
        !toInt(cells[3], 0, 2, v[2]) || !toInt(cells[4], 45, 255, v[3]) || cells[1].empty() ||
        cells[1].size() >= CCountryDatabase::NAME_SIZE)
        return report.fail("country", countryLines[0], "identifier, name, economy, climate, level expected");
    country.id = static_cast<int>(v[0]);
    country.name = cells[1];
    country.economy = static_cast<int>(v[1]);
    country.climate = static_cast<int>(v[2]);
    country.level = static_cast<int>(v[3]);

    const auto& europeanLines = source.lines("european");
    cells = europeanLines.size() == 1 ? splitCells(europeanLines[0]) : std::vector<std::string>();
    if (cells.size() != 8)
        return report.fail("european", "", "one line of eight entry counts expected");
    for (int i = 0; i < 8; ++i) {
        int64_t count = 0;
        if (!toInt(cells[i], 0, 32, count))
            return report.fail("european", europeanLines[0], "counts of 0-32 expected");
        country.european[i] = static_cast<int>(count);
    }

    const auto& nationalLines = source.lines("national");
    cells = nationalLines.size() == 1 ? splitCells(nationalLines[0]) : std::vector<std::string>();
    int64_t capacity = 0;
    if (cells.size() != 2 || cells[0].empty() || cells[0].size() >= CGroundDatabase::NAME_SIZE ||
        !toInt(cells[1], 50, 150000, capacity))
        return report.fail("national", nationalLines.empty() ? "" : nationalLines[0], "name, capacity expected");
    country.nationalGround = cells[0];
    country.nationalCapacity = static_cast<int>(capacity);

    for (const std::string& line : source.lines("divisions")) {
        cells = splitCells(line);
        WorldGenerator::DivisionSource division;
        int64_t d[6] = {};
        // The two play-off columns may be left out: no play-off.
        if ((cells.size() != 5 && cells.size() != 7) || !toInt(cells[0], 1, 255, d[0]) ||
            !toInt(cells[1], 1, 9, d[1]) || !toInt(cells[3], 0, 6, d[2]) || !toInt(cells[4], 0, 6, d[3]) ||
            (cells.size() == 7 && (!toInt(cells[5], 0, 8, d[4]) || !toInt(cells[6], 0, 4, d[5]) ||
                                   (d[4] > 0) != (d[5] > 0) || d[5] > d[4])) ||
            cells[2].empty() || cells[2].size() >= DIVISION_NAME_BYTES)
            return report.fail("divisions", line,
                               "identifier, number, name, promotions, relegations[, play-off places, play-off "
                               "promotions] expected");
        division.id = static_cast<int>(d[0]);
        division.number = static_cast<int>(d[1]);
        division.name = cells[2];
        division.promotions = static_cast<int>(d[2]);
        division.relegations = static_cast<int>(d[3]);
        division.playOffPlaces = static_cast<int>(d[4]);
        division.playOffPromotions = static_cast<int>(d[5]);
        if (division.number != static_cast<int>(country.divisions.size()) + 1)
            return report.fail("divisions", line, "divisions are numbered 1, 2, ... from the top");
        country.divisions.push_back(division);
    }
    if (country.divisions.empty())
        return report.fail("divisions", "", "no divisions");

    for (const std::string& line : source.lines("clubs")) {
        cells = splitCells(line);
        WorldGenerator::ClubSource club;
        int64_t c[6] = {};
        if (cells.size() != 10 || !toInt(cells[0], 1, static_cast<int64_t>(country.divisions.size()), c[0]) ||
            !toInt(cells[3], 1, 100, c[1]) || !toInt(cells[4], 1, 99, c[2]) || !toInt(cells[6], 50, 150000, c[3]) ||
            !toInt(cells[7], -100000000, 2000000000, c[4]))
            return report.fail("clubs", line,
                               "division, name, short name, reputation, support, ground, capacity, balance, home "
                               "colours, away colours expected");
        if (cells[1].empty() || cells[1].size() >= CLUB_NAME_BYTES || cells[2].empty() ||
            cells[2].size() >= CLUB_SHORT_NAME_BYTES || cells[5].empty() || cells[5].size() >= CGroundDatabase::NAME_SIZE)
            return report.fail("clubs", line, "names of 30, short names of 21 and grounds of 31 characters at most");
        const auto home = splitCells(cells[8], '/');
        const auto away = splitCells(cells[9], '/');
        if (home.size() != 2 || away.size() != 2)
            return report.fail("clubs", line, "colours are written first/second");
        for (int i = 0; i < 2; ++i) {
            club.homeColours[i] = colourIndex(home[i]);
            club.awayColours[i] = colourIndex(away[i]);
            if (club.homeColours[i] < 0 || club.awayColours[i] < 0)
                return report.fail("clubs", line, "unknown colour");
        }
        club.division = static_cast<int>(c[0]);
        club.name = cells[1];
        club.shortName = cells[2];
        club.reputation = static_cast<int>(c[1]);
        club.support = static_cast<int>(c[2]);
        club.ground = cells[5];
        club.capacity = static_cast<int>(c[3]);
        club.balance = c[4];
        country.clubs.push_back(club);
    }
    // League divisions play all against all: even sizes of 8 to 24.
    for (const auto& division : country.divisions) {
        const auto size = std::count_if(country.clubs.begin(), country.clubs.end(),
                                        [&](const auto& club) { return club.division == division.number; });
        if (size < 8 || size > 24 || size % 2 != 0) {
            std::fprintf(stderr, "worldtool: %s: %s has %d clubs; a league holds an even number of 8 to 24\n",
                         source.path().c_str(), division.name.c_str(), static_cast<int>(size));
            return false;
        }
    }
    return true;
}

// A contract that runs from today to the end of June some seasons ahead.
uint32_t contractEnd(int seasons)
{
    return CDate(kStartYear + seasons, 6, 30).GetValue();
}

}  // namespace

bool WorldGenerator::readWorld(const std::string& sourceDir, std::vector<CountrySource>& countries)
{
    countries.clear();
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(sourceDir) / "world", error))
        if (entry.path().extension() == ".txt")
            files.push_back(entry.path());
    if (error || files.empty()) {
        std::fprintf(stderr, "worldtool: no world sources in %s\n", (fs::path(sourceDir) / "world").string().c_str());
        return false;
    }
    std::sort(files.begin(), files.end());
    std::set<int> countryIds, divisionIds;
    std::set<std::string> clubNames;
    for (const fs::path& file : files) {
        SourceFile source;
        CountrySource country;
        if (!source.load(file.string()) || !readCountry(source, country))
            return false;
        if (!countryIds.insert(country.id).second) {
            std::fprintf(stderr, "worldtool: %s: country %d is described twice\n", file.string().c_str(), country.id);
            return false;
        }
        for (const auto& division : country.divisions) {
            if (!divisionIds.insert(division.id).second) {
                std::fprintf(stderr, "worldtool: %s: division %d is used twice\n", file.string().c_str(), division.id);
                return false;
            }
        }
        for (const auto& club : country.clubs) {
            if (!clubNames.insert(club.name).second) {
                std::fprintf(stderr, "worldtool: %s: club \"%s\" is described twice\n", file.string().c_str(),
                             club.name.c_str());
                return false;
            }
        }
        countries.push_back(std::move(country));
    }
    if (!countryIds.count(1)) {
        std::fprintf(stderr, "worldtool: the world needs a country with identifier 1\n");
        return false;
    }
    return true;
}

bool WorldGenerator::buildWorld(CDatabaseHandler& handler, const std::vector<CountrySource>& countries)
{
    const CDate today(kStartYear, kStartMonth, kStartDay);
    handler.SetGameDate(today);
    handler.GetEuropeanCups()->SetSeasonDate(today);
    handler.SetDefaultGameSettings();
    handler.SetNextComponentID(1);

    ID_GROUND nextGround = 1;
    ID_CLUB nextClub = 1;
    std::vector<std::pair<CClubDatabase*, int>> clubs;
    for (const CountrySource& source : countries) {
        auto* country = new CCountryDatabase;
        country->SetName(source.name.c_str());
        country->SetID(static_cast<ID_COUNTRY>(source.id));
        country->SetSecondID(static_cast<uint8_t>(source.id));
        country->SetLevel(static_cast<uint8_t>(source.level));
        country->SetEconomyIndex(source.economy);
        country->SetClimate(static_cast<uint8_t>(source.climate));
        for (int i = 0; i < 8; ++i)
            country->SetCupByes(i, static_cast<uint8_t>(source.european[i]));
        country->InstallDomesticCups();

        auto* national = new CGroundDatabase;
        national->SetID(nextGround++);
        national->SetName(source.nationalGround.c_str());
        national->SetCapacity(source.nationalCapacity);
        handler.AddGround(national);
        country->SetNationalGroundID(national->GetID());

        std::vector<CDivisionDatabase*> divisions;
        for (const DivisionSource& divisionSource : source.divisions) {
            auto* division = new CDivisionDatabase;
            division->SetName(divisionSource.name.c_str());
            division->m_byDivisionId = static_cast<uint8_t>(divisionSource.id);
            division->m_byKind = DIVISION_KIND_LEAGUE;
            division->m_byDivisionNumber = static_cast<uint8_t>(divisionSource.number);
            division->m_bySeasonWeekday = kSaturday;
            division->m_byMidweekWeekday = kWednesday;
            division->m_byStartMonth = kSeasonStartMonth;
            division->m_byStartWeek = 1;
            division->m_byEndMonth = kSeasonEndMonth;
            division->m_byEndWeek = kSeasonEndWeek;
            division->m_SeasonStart.SetNthWeekday(kSeasonStartMonth, kStartYear, kSaturday, 1);
            division->m_SeasonEnd.SetNthWeekday(kSeasonEndMonth, kStartYear + 1, kSaturday, kSeasonEndWeek);
            division->m_byAutomaticPromotions = static_cast<uint8_t>(divisionSource.promotions);
            division->m_byAutomaticRelegations = static_cast<uint8_t>(divisionSource.relegations);
            division->m_byPromotionZone = static_cast<uint8_t>(divisionSource.promotions);
            division->m_byRelegationZone = static_cast<uint8_t>(divisionSource.relegations);
            division->m_byPlayOffPlaces = static_cast<uint8_t>(divisionSource.playOffPlaces);
            division->m_byPlayOffPromotions = static_cast<uint8_t>(divisionSource.playOffPromotions);
            // Small leagues meet four times a season.
            const auto clubCount = std::count_if(source.clubs.begin(), source.clubs.end(), [&](const ClubSource& c) {
                return c.division == divisionSource.number;
            });
            division->m_byMeetingsRule = clubCount <= 10 ? 1 : 0;
            division->m_byGoalValueRule = 1;
            division->m_bySquadNumbers = divisionSource.number == 1 ? 1 : 0;
            division->m_MatchRules.nRules = kLeagueMatchRules;
            division->m_MatchRules.byLast = 0;
            country->AddDivision(division);
            divisions.push_back(division);
        }

        for (const ClubSource& clubSource : source.clubs) {
            CDivisionDatabase* division = divisions[static_cast<size_t>(clubSource.division - 1)];
            auto* ground = new CGroundDatabase;
            ground->SetID(nextGround++);
            ground->SetName(clubSource.ground.c_str());
            ground->SetCapacity(clubSource.capacity);
            handler.AddGround(ground);

            auto* club = new CClubDatabase;
            club->m_wClubId = nextClub++;
            club->m_wHomeGroundId = ground->GetID();
            club->SetName(clubSource.name.c_str());
            club->SetShortName(clubSource.shortName.c_str());
            club->m_byReputation = static_cast<uint8_t>(clubSource.reputation);
            club->m_bySupportLevel = static_cast<uint8_t>(clubSource.support);
            club->m_bySupportExtra = static_cast<uint8_t>(
                clubFollowing(clubSource.support, clubSource.capacity, clubSource.division));
            club->m_byGroundOwnership = clubSource.reputation >= 50 ? CLUB_GROUND_OWNED : CLUB_GROUND_RENTED;
            club->m_nBankBalance = static_cast<int32_t>(clubSource.balance);
            club->m_nPreviousBalance = club->m_nBankBalance;
            club->m_nFanConfidence = static_cast<int8_t>(55 + plat::rand() % 30);
            club->m_nBoardConfidence = static_cast<int8_t>(55 + plat::rand() % 30);
            club->m_byFinancialStability = static_cast<uint8_t>(40 + plat::rand() % 50);
            club->m_byFormation = static_cast<uint8_t>(plat::rand() % 6);
            club->m_byPitchCondition = static_cast<uint8_t>(70 + plat::rand() % 30);
            club->m_abyAttributes[0] = static_cast<uint8_t>(clubSource.homeColours[0]);
            club->m_abyAttributes[1] = static_cast<uint8_t>(clubSource.homeColours[1]);
            club->m_abyAttributes[2] = static_cast<uint8_t>(clubSource.awayColours[0]);
            club->m_abyAttributes[3] = static_cast<uint8_t>(clubSource.awayColours[1]);
            club->m_abyLatitude[2] = kNoMapPosition;
            club->m_abyLongitude[2] = kNoMapPosition;
            division->AppendClub(club);
            club->m_byLeaguePosition = static_cast<uint8_t>(division->GetClubCount());
            clubs.emplace_back(club, clubSource.division);
        }
        for (CDivisionDatabase* division : divisions)
            division->SortClubsByID();
        country->UpdateWeather();
        handler.AddCountry(country);
    }

    // The club table first: the people generators look clubs up.
    handler.ResetClubTable(static_cast<int>(clubs.size()));
    for (const auto& [club, divisionNumber] : clubs)
        handler.SetClubInTable(club->m_wClubId, club);
    for (const auto& [club, divisionNumber] : clubs)
        buildPeople(handler, club, divisionNumber);

    // Small pools of people without a club; a new game fills them up.
    for (int kind = 0; kind < STAFF_KINDS; ++kind) {
        for (int i = 0; i < 2; ++i) {
            auto* staff = new CStaffDatabase;
            staff->GenerateRecord(kind);
            if (staff->m_byRating == 0)
                staff->m_byRating = staff->m_byPreviousRating = 1;
        }
    }
    for (int i = 0; i < 8; ++i) {
        auto* manager = new CManagerDatabase;
        manager->GenerateRecord();
        handler.RemoveManagerFromFreePool(manager->GetId());
        handler.AddManagerToFreePool(manager->GetId());
    }
    for (int position = 0; position < PLAYER_POSITION_COUNT; ++position)
        for (int i = 0; i < 2; ++i)
            handler.AddYouth(new CYouthDatabase(nullptr, position));
    return true;
}

void WorldGenerator::buildPeople(CDatabaseHandler& handler, CClubDatabase* club, int divisionNumber)
{
    const CDate today = handler.GetGameDate();

    // The squad: youths drawn for the club, grown up to their age and promoted.
    int counts[PLAYER_POSITION_COUNT];
    for (int position = 0; position < PLAYER_POSITION_COUNT; ++position)
        counts[position] = kSquadBase[position] + plat::rand() % (position == PLAYER_POSITION_GOALKEEPER ? 2 : 3);
    int squadNumber = 0;
    for (int position = 0; position < PLAYER_POSITION_COUNT; ++position) {
        for (int i = 0; i < counts[position]; ++i) {
            auto* youth = new CYouthDatabase(club, position);
            youth->m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] =
                static_cast<uint16_t>(squadPotential(club->m_byReputation, divisionNumber) * 100);
            // His roles follow the potential he now has.
            youth->m_wRoleMask = 0;
            youth->GenerateRoles(true);
            const int age = 18 + plat::rand() % 16;
            youth->m_DateOfBirth.wYear = static_cast<uint16_t>(kStartYear - age - 1);
            youth->m_DateOfBirth.byMonth = static_cast<uint8_t>(plat::rand() % 12 + 1);
            youth->m_DateOfBirth.byDay = static_cast<uint8_t>(
                plat::rand() % CDate(2001, youth->m_DateOfBirth.byMonth, 1).GetDaysInMonth() + 1);
            const int ageIndex = youth->GetAge() - PERSON_AGE_CURVE_FIRST_AGE;
            const int potential = youth->m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] / 100;
            for (int attribute = 0; attribute < PLAYER_SKILL_COUNT; ++attribute) {
                if (CPersonDatabase::s_abyRoleTargets[youth->m_byRole][attribute] == 0)
                    continue;
                const int peak = youth->GetAttributeForAge(attribute, ageIndex, potential);
                const int low = peak * 8 / 10;
                const int value = std::clamp(low + plat::rand() % (peak - low + 1), 0, 100);
                youth->m_awAttributes[attribute] = static_cast<uint16_t>(value * 100);
            }
            youth->UpdateValueAndWage();

            auto* player = new CPlayerDatabase(youth);
            delete youth;
            player->m_bySquadNumber = static_cast<uint8_t>(++squadNumber);
            player->m_Contract.dwStartDate = today.GetValue();
            player->m_Contract.dwEndDate = contractEnd(1 + plat::rand() % 4);
            // To the nearest 10 a week above the floor, so that wages follow
            // values instead of sharing the money scale's coarse steps.
            const int32_t weekly =
                std::max<int32_t>(500, static_cast<int32_t>(std::lround(player->m_dwValue * 0.0003)) * 10);
            player->m_Contract.dwYearlyWage = static_cast<uint32_t>(weekly) * 52;
            club->AddPlayer(player, false);
        }
    }

    // A few youths of the club's own.
    const int youths = 2 + plat::rand() % 3;
    for (int i = 0; i < youths; ++i)
        club->AddYouthPlayer(new CYouthDatabase(club, plat::rand() % PLAYER_POSITION_COUNT));

    // The manager.
    auto* manager = new CManagerDatabase;
    manager->GenerateRecord();
    MANAGERCONTRACTTERMS terms;
    terms.bHasDivision = true;
    terms.nDivisionLevel = divisionNumber;
    terms.nSeasonStartYear = kStartYear;
    manager->GenerateManagerContract(terms);
    handler.RemoveManagerFromFreePool(manager->GetId());
    club->SetManager(manager->GetId(), true);
    manager->AddCareerEntry(0, club->m_wClubId);

    // Staff: more coaches and scouts at the bigger clubs.
    const int reputation = club->m_byReputation;
    const int perKind[STAFF_KINDS] = {1 + (reputation > 60) + (reputation > 80), 1 + (reputation > 70), 1, 1, 1, 1};
    for (int kind = 0; kind < STAFF_KINDS; ++kind) {
        for (int i = 0; i < perKind[kind]; ++i) {
            auto* staff = new CStaffDatabase;
            handler.TakeStaffFromPool(staff->GetId());
            staff->SetClub(club);
            staff->m_pCountry = club->m_pCountry;
            staff->m_pDivision = club->m_pDivision;
            staff->GenerateRecord(kind);
            // The wage scale has no entry 0.
            if (staff->m_byRating == 0)
                staff->m_byRating = staff->m_byPreviousRating = 1;
            club->AddStaff(staff->GetId());
        }
    }
    club->UpdateSquadAverages();
}

bool WorldGenerator::generate(const GeneratorContext& context)
{
    std::vector<CountrySource> countries;
    if (!readWorld(context.sourceDir, countries))
        return false;

    const fs::path outDir = fs::absolute(context.outputDir);
    const fs::path binPath = outDir / "Data" / "Data.bin";
    const fs::path previous = fs::current_path();
    std::error_code error;
    fs::current_path(outDir, error);
    if (error) {
        std::fprintf(stderr, "worldtool: cannot enter %s\n", outDir.string().c_str());
        return false;
    }
    // Working files an earlier game left here would be read into the new world.
    CSavedGameSet::DeleteWorkingFiles();
    bool ok = false;
    {
        CDatabaseHandler handler;
        if (!handler.AreFixedTablesLoaded()) {
            std::fprintf(stderr, "worldtool: the names and tables of %s do not load\n", outDir.string().c_str());
        } else {
            // Staff wages are read off the attendance curve, which the game
            // builds at its start.
            CDatabaseHandler::BuildAttendanceCurve();
            plat::srand(kSeed);
            buildWorld(handler, countries);
            ok = plat::writeFileSafely(binPath.string(), [&handler](FILE* file) { return handler.Save(file); });
            if (!ok)
                std::fprintf(stderr, "worldtool: cannot write %s\n", binPath.string().c_str());
        }
        // What the game will load must read back and save to the same bytes.
        if (ok) {
            FILE* in = std::fopen(binPath.string().c_str(), "rb");
            FILE* again = std::tmpfile();
            ok = in && again && handler.Load(in);
            if (ok) {
                handler.SetupPointers();
                ok = handler.Save(again);
            }
            if (ok) {
                std::rewind(in);
                std::rewind(again);
                int a = 0, b = 0;
                do {
                    a = std::fgetc(in);
                    b = std::fgetc(again);
                } while (a == b && a != EOF);
                ok = a == b;
            }
            if (in)
                std::fclose(in);
            if (again)
                std::fclose(again);
            if (!ok)
                std::fprintf(stderr, "worldtool: %s does not read back to the same bytes\n", binPath.string().c_str());
        }
    }
    fs::current_path(previous, error);
    return ok;
}

int WorldGenerator::clubFollowing(int support, int capacity, int divisionNumber)
{
    const double dGround = std::log(std::max(1.0, capacity / kFollowingEmptyGround)) /
                           std::log(kFollowingFullGround / kFollowingEmptyGround);
    const int groundShare = static_cast<int>(std::lround(std::clamp(dGround, 0.0, 1.0) * 100.0));
    const int following = (support + groundShare) / 2 - kFollowingPerDivision * (std::max(divisionNumber, 1) - 1);
    return std::clamp(following, 1, 99);
}

}  // namespace tools
