#pragma once
// Data/Tables: the stand tables (Stadiums.txt, Roofing.txt, StaExtra.txt,
// StadAlloc.txt) built from the rules of data/tables/stands.txt, and the
// facility, feature and match-day tables (Facilities.txt, Features.txt,
// M&C.txt, MatchDay.txt, OtherRestrictions.txt) from data/tables/facilities.txt
// and matchday.txt, and the sponsor and hoardings money tables (Kit.TXT,
// Shirt.TXT, Advert.TXT, Hoard.TXT) from sponsors.txt.
#include "tools/worldtool/Generator.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tools {

class TablesGenerator : public Generator {
public:
    const char* name() const override { return "tables"; }
    bool generate(const GeneratorContext& context) override;

private:
    using Rows = std::vector<std::vector<int64_t>>;
    bool buildStandTables(const std::string& sourceDir);
    bool buildFacilityTables(const std::string& sourceDir);
    bool buildMatchDayTables(const std::string& sourceDir);
    // Kit.TXT, Shirt.TXT, Advert.TXT and Hoard.TXT from data/tables/sponsors.txt.
    bool buildRangeTables(const std::string& sourceDir);
    // PlayOffs.txt from data/tables/playoffs.txt, checked by the game's reader.
    bool buildPlayOffTables(const std::string& sourceDir);
    // Writes rows as "a,b,c" lines; refuses lines longer than the game reads.
    static bool writeTable(const std::string& path, const Rows& rows);

    Rows stadiums_, roofing_, standParts_, stadiumSizes_, facilities_, features_, merchandise_, matchDayCosts_,
        restrictions_, playOffs_;
    std::vector<std::pair<std::string, std::string>> rangeTables_;  // file name, text
};

}  // namespace tools
