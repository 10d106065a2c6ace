#pragma once
// One output of `worldtool generate`: each generator reads its sources under
// data/ and writes its part of the runtime tree. New outputs (the starting
// database) are added as further generators.
#include <string>

namespace tools {

struct GeneratorContext {
    std::string sourceDir;  // the data/ folder of the repository
    std::string outputDir;  // the runtime tree, e.g. build/game
};

class Generator {
public:
    virtual ~Generator() = default;
    virtual const char* name() const = 0;
    // Writes the output; false with a message on standard error.
    virtual bool generate(const GeneratorContext& context) = 0;
};

}  // namespace tools
