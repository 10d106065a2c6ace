#pragma once
// Data/Tactics: the shipped formations (".pdt") from data/tactics/
// formations.txt, and the empty free-kick and corner sets "none" that a new
// human starts with.
#include "tools/worldtool/Generator.h"

namespace tools {

class TacticsGenerator : public Generator {
public:
    const char* name() const override { return "tactics"; }
    bool generate(const GeneratorContext& context) override;
};

}  // namespace tools
