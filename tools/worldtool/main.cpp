// worldtool: builds the runtime data tree from the sources in data/.
//   worldtool generate DIR [--data SOURCE_DIR]
#include "tools/worldtool/NamesGenerator.h"
#include "tools/worldtool/TablesGenerator.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#ifndef BRELLOX_DATA_DIR
#define BRELLOX_DATA_DIR "data"
#endif

namespace {

int usage()
{
    std::fprintf(stderr, "usage: worldtool generate DIR [--data SOURCE_DIR]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || std::strcmp(argv[1], "generate") != 0)
        return usage();
    tools::GeneratorContext context{BRELLOX_DATA_DIR, argv[2]};
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc)
            context.sourceDir = argv[++i];
        else
            return usage();
    }

    std::vector<std::unique_ptr<tools::Generator>> generators;
    generators.push_back(std::make_unique<tools::NamesGenerator>());
    generators.push_back(std::make_unique<tools::TablesGenerator>());
    for (const auto& generator : generators) {
        if (!generator->generate(context)) {
            std::fprintf(stderr, "worldtool: generating %s failed\n", generator->name());
            return 1;
        }
    }
    return 0;
}
