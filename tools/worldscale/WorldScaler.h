#pragma once
// Writes a world source folder a whole number of times larger than another:
// every country keeps its divisions and clubs, gains divisions below them
// (and, where nine divisions are not enough, fuller ones) filled with
// invented clubs drawn after its lowest clubs. Countries that cannot grow
// that far pass the rest to the others.
#include <string>
#include <vector>

namespace tools {

class WorldScaler {
public:
    struct Division {
        int id = 0;
        std::string name;
        int promotions = 0;
        int relegations = 0;
        // The play-off places and the promotions they give, as written;
        // empty for a division without a play-off.
        std::string playOff;
    };
    struct Club {
        int division = 0;                // 1 = top
        std::vector<std::string> cells;  // as written: division first
    };
    struct Country {
        std::string fileName;
        std::vector<std::string> country, european, national;
        std::vector<Division> divisions;
        std::vector<Club> clubs;
    };

    // Reads sourceDir/world, writes outDir/world scaled by factor and links
    // every other folder of sourceDir into outDir. False with a message.
    bool scale(const std::string& sourceDir, const std::string& outDir, int factor);

    // The club counts of the divisions of a country grown to `target` clubs
    // from the given sizes: new divisions of up to 24 clubs below, at most
    // nine in all, then fuller divisions from the top; every size even.
    static std::vector<int> divisionSizes(const std::vector<int>& sizes, int target);

private:
    bool readCountry(const std::string& path, Country& country);
    void grow(Country& country, int target, int& nextDivisionId);
    bool writeCountry(const std::string& path, const Country& country) const;

    std::vector<std::string> takenNames_;
};

}  // namespace tools
