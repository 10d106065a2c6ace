// worldscale SOURCE_DIR OUT_DIR FACTOR: writes a world source folder FACTOR
// times the size of SOURCE_DIR's (2 to 4) for `worldtool generate --data`.
#include "tools/worldscale/WorldScaler.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const int factor = argc == 4 ? std::atoi(argv[3]) : 0;
    if (argc != 4 || factor < 2 || factor > 4 || std::strspn(argv[3], "0123456789") != std::strlen(argv[3])) {
        std::fprintf(stderr, "usage: worldscale SOURCE_DIR OUT_DIR FACTOR (2 to 4)\n");
        return 2;
    }
    tools::WorldScaler scaler;
    return scaler.scale(argv[1], argv[2], factor) ? 0 : 1;
}
