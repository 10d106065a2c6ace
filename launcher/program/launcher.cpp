// launcher: starts the game that lies beside it, after the intro movie; with
// the game already running it only asks that game to come to the front.
#include "launcher/CLauncher.h"

#include <climits>
#include <cstdio>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc > 1) {
        std::fprintf(stderr, "launcher: takes no arguments; run it in the game's folder\n");
        return 2;
    }
    // The game is the program Brellox in the launcher's own folder.
    char szSelf[PATH_MAX] = {};
    const ssize_t nLength = readlink("/proc/self/exe", szSelf, sizeof szSelf - 1);
    std::string folder = nLength > 0 ? std::string(szSelf, static_cast<size_t>(nLength)) : std::string(argv[0]);
    const size_t nSlash = folder.rfind('/');
    folder = nSlash == std::string::npos ? std::string(".") : folder.substr(0, nSlash);
    return CLauncher(folder + "/Brellox").Run();
}
