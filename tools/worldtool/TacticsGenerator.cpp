#include "tools/worldtool/TacticsGenerator.h"

#include "platform/Files.h"
#include "season/CSaveGame.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tools {

namespace {

// Zones 0-24 are a 5 x 5 grid of ball positions over the pitch, zones 25-29
// the restarts (corners at the far and near touch line, kick-off, goal kick,
// penalty). With the ball a player leans a fifth of the way from his base
// point towards the ball; at the kick-off he waits in his own half.
void fillBlock(POSITIONBLOCK& block, int x, int y)
{
    static const int kRestartBall[5][2] = {{400, 300}, {400, 0}, {200, 150}, {30, 150}, {355, 150}};
    for (int z = 0; z < FORMATION_ZONES; ++z) {
        int ballX, ballY;
        if (z < 25) {
            ballX = 400 * (2 * (z % 5) + 1) / 10;
            ballY = 300 * (2 * (z / 5) + 1) / 10;
        } else {
            ballX = kRestartBall[z - 25][0];
            ballY = kRestartBall[z - 25][1];
        }
        block.anFirst[z][0] = x + (ballX - x) / 5;
        block.anFirst[z][1] = y + (ballY - y) / 5;
        // With the ball lost the side drops back towards its own goal.
        block.anSecond[z][0] = block.anFirst[z][0] * 4 / 5;
        block.anSecond[z][1] = block.anFirst[z][1];
        if (z == 27) {
            block.anFirst[z][0] = block.anSecond[z][0] = x < 190 ? x : 190;
            block.anFirst[z][1] = block.anSecond[z][1] = y;
        }
    }
    block.nValue = 40;
    block.nExtra = -1;  // marks nobody until the manager names a man
}

bool writeFormation(const std::string& outputDir, const std::string& name, const std::vector<std::vector<int>>& places)
{
    if (places.size() != SAVEGAME_LINEUP) {
        std::fprintf(stderr, "worldtool: formation %s has %zu places, not 11\n", name.c_str(), places.size());
        return false;
    }
    FORMATIONDATA data;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        const int x = places[i][0], y = places[i][1], order = places[i][2];
        if (x < 0 || x > 400 || y < 0 || y > 300 || order < 0 || order > 15) {
            std::fprintf(stderr, "worldtool: formation %s place %d is off the pitch\n", name.c_str(), i + 1);
            return false;
        }
        data.aEntries[i].wX = static_cast<uint16_t>(x + 100);
        data.aEntries[i].wY = static_cast<uint16_t>(y + 4);
        data.aEntries[i].byOrder = static_cast<uint8_t>(order);
        fillBlock(data.aBlocks[i], x, y);
    }
    return CSaveGame::WriteFormationFile(outputDir + "/Data/Tactics/" + name + ".pdt", data);
}

}  // namespace

bool TacticsGenerator::generate(const GeneratorContext& context)
{
    const std::string source = context.sourceDir + "/tactics/formations.txt";
    std::ifstream in(source);
    if (!in) {
        std::fprintf(stderr, "worldtool: cannot read %s\n", source.c_str());
        return false;
    }
    if (!plat::makeDirectories(context.outputDir + "/Data/Tactics") ||
        !plat::makeDirectories(context.outputDir + "/Data/Saves")) {
        std::fprintf(stderr, "worldtool: cannot make Data/Tactics\n");
        return false;
    }
    std::string line, name;
    std::vector<std::vector<int>> places;
    int nFormations = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("formation ", 0) == 0) {
            if (!name.empty() && !writeFormation(context.outputDir, name, places))
                return false;
            name = line.substr(10);
            places.clear();
            ++nFormations;
            continue;
        }
        std::istringstream fields(line);
        std::vector<int> place(3);
        if (name.empty() || !(fields >> place[0] >> place[1] >> place[2])) {
            std::fprintf(stderr, "worldtool: %s: bad line \"%s\"\n", source.c_str(), line.c_str());
            return false;
        }
        places.push_back(place);
    }
    if (nFormations == 0 || !writeFormation(context.outputDir, name, places))
        return false;
    SETPIECEROUTINE aFreeKicks[FREEKICK_ROUTINE_TOTAL];
    SETPIECEROUTINE aCorners[CORNER_ROUTINE_TOTAL];
    return CSaveGame::WriteSetPieceFile(context.outputDir + "/Data/Tactics/none.frk", aFreeKicks,
                                        FREEKICK_ROUTINE_TOTAL) &&
           CSaveGame::WriteSetPieceFile(context.outputDir + "/Data/Tactics/none.crn", aCorners, CORNER_ROUTINE_TOTAL);
}

}  // namespace tools
