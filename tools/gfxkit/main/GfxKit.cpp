// gfxkit OUTPUT_FOLDER DESCRIPTION...
// Paints the bitmaps of each description and packs them into the BFS archives
// it names, written into the output folder.
// gfxkit --movie FILE
// Paints the intro movie into FILE.
#include "tools/gfxkit/BfsWriter.h"
#include "tools/gfxkit/IntroMovie.h"
#include "tools/gfxkit/Painter.h"

#include "platform/Files.h"

#include <cstdio>
#include <map>

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--movie") {
        std::string error;
        if (!tools::writeIntroMovie(argv[2], error)) {
            std::fprintf(stderr, "gfxkit: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: gfxkit OUTPUT_FOLDER DESCRIPTION... | gfxkit --movie FILE\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!plat::makeDirectories(folder)) {
        std::fprintf(stderr, "gfxkit: cannot make %s\n", folder.c_str());
        return 1;
    }
    // Several descriptions may fill one archive; each archive is written once, whole.
    std::map<std::string, std::vector<tools::BfsMember>> merged;
    for (int i = 2; i < argc; ++i) {
        std::vector<tools::PaintedArchive> archives;
        std::string error;
        if (!tools::paintDescription(argv[i], archives, error)) {
            std::fprintf(stderr, "gfxkit: %s\n", error.c_str());
            return 1;
        }
        for (tools::PaintedArchive& archive : archives) {
            std::vector<tools::BfsMember>& members = merged[archive.name];
            for (tools::BfsMember& member : archive.members)
                members.push_back(std::move(member));
        }
    }
    for (const auto& [name, members] : merged) {
        std::string error;
        if (!tools::writeBfs(members, folder + "/" + name, error)) {
            std::fprintf(stderr, "gfxkit: %s: %s\n", name.c_str(), error.c_str());
            return 1;
        }
        std::printf("gfxkit: %s with %zu bitmaps\n", name.c_str(), members.size());
    }
    return 0;
}
