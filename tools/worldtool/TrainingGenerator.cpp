#include "tools/worldtool/TrainingGenerator.h"

#include "platform/Files.h"
#include "season/CTrainingManager.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tools {

namespace {

bool writePlan(const std::string& outputDir, const std::string& name, const std::vector<uint8_t>& week)
{
    if (week.size() != TRAINING_WEEK_SLOTS) {
        std::fprintf(stderr, "worldtool: training plan %s has %zu slots, not %d\n", name.c_str(), week.size(),
                     TRAINING_WEEK_SLOTS);
        return false;
    }
    const std::string path = outputDir + "/Data/Training/" + name + ".ptp";
    if (!CTrainingManager::WritePlanFile(path.c_str(), week.data())) {
        std::fprintf(stderr, "worldtool: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool TrainingGenerator::generate(const GeneratorContext& context)
{
    const std::string source = context.sourceDir + "/training/plans.txt";
    std::ifstream in(source);
    if (!in) {
        std::fprintf(stderr, "worldtool: cannot read %s\n", source.c_str());
        return false;
    }
    if (!plat::makeDirectories(context.outputDir + "/Data/Training")) {
        std::fprintf(stderr, "worldtool: cannot make Data/Training\n");
        return false;
    }
    std::string line, name;
    std::vector<uint8_t> week;
    int nPlans = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("plan ", 0) == 0) {
            if (!name.empty() && !writePlan(context.outputDir, name, week))
                return false;
            name = line.substr(5);
            week.clear();
            ++nPlans;
            continue;
        }
        std::istringstream fields(line);
        int nKind = 0;
        int nSlots = 0;
        while (fields >> nKind) {
            if (nKind < 0 || nKind >= TRAINING_ACTIVITY_KINDS)
                break;
            week.push_back(static_cast<uint8_t>(nKind));
            ++nSlots;
        }
        if (name.empty() || nSlots != TRAINING_SLOTS_PER_DAY || !fields.eof()) {
            std::fprintf(stderr, "worldtool: %s: bad line \"%s\"\n", source.c_str(), line.c_str());
            return false;
        }
    }
    return nPlans > 0 && writePlan(context.outputDir, name, week);
}

}  // namespace tools
