#pragma once
// Data/Data.bin, the starting database: the nine countries of data/world/
// with their divisions, clubs and grounds, and the people of every club made
// by the database's own generators from a fixed seed, written by the same
// CDatabaseHandler::Save that saves games. The file is read back and saved
// again before it is accepted, so that what the game loads resaves unchanged.
#include "tools/worldtool/Generator.h"

#include <cstdint>
#include <string>
#include <vector>

class CDatabaseHandler;
class CClubDatabase;

namespace tools {

class WorldGenerator : public Generator {
public:
    static constexpr unsigned kSeed = 1999;

    const char* name() const override { return "world"; }
    // Needs Data/Names and Data/Tables in the output tree already.
    bool generate(const GeneratorContext& context) override;

    struct ClubSource {
        int division = 0;
        std::string name, shortName, ground;
        int reputation = 0, support = 0, capacity = 0;
        int64_t balance = 0;
        int homeColours[2] = {}, awayColours[2] = {};
    };
    struct DivisionSource {
        int id = 0, number = 0, promotions = 0, relegations = 0, playOffPlaces = 0, playOffPromotions = 0;
        std::string name;
    };
    struct CountrySource {
        int id = 0, economy = 0, climate = 0, level = 0;
        std::string name, nationalGround;
        int nationalCapacity = 0;
        int european[8] = {};
        std::vector<DivisionSource> divisions;
        std::vector<ClubSource> clubs;
    };

    // A club's following (supporters, 1-99) from its support, its ground's
    // capacity and its division's number (1 = top).
    static int clubFollowing(int support, int capacity, int divisionNumber);

    // Reads and checks every data/world/*.txt, in file-name order.
    static bool readWorld(const std::string& sourceDir, std::vector<CountrySource>& countries);

private:
    bool buildWorld(CDatabaseHandler& handler, const std::vector<CountrySource>& countries);
    void buildPeople(CDatabaseHandler& handler, CClubDatabase* club, int divisionNumber);
};

}  // namespace tools
