#pragma once
// Data/Names: the nationality name pools <n>FN.dat / <n>LN.dat and the two
// sorted dictionaries FirstNames.dat and LastNames.dat, whose byte offsets
// person records store, all from data/names/<n>-<nationality>.txt.
#include "tools/worldtool/Generator.h"

#include <map>
#include <string>
#include <vector>

namespace tools {

class NamesGenerator : public Generator {
public:
    const char* name() const override { return "names"; }
    bool generate(const GeneratorContext& context) override;

    struct Pool {
        std::vector<std::string> firstNames;
        std::vector<std::string> lastNames;
    };
    // Reads every pool source; false with a message when one is missing or bad.
    static bool readPools(const std::string& sourceDir, std::map<int, Pool>& pools);
};

}  // namespace tools
