#pragma once
// Data/Training: the built-in training plans (".ptp") from data/training/
// plans.txt.
#include "tools/worldtool/Generator.h"

namespace tools {

class TrainingGenerator : public Generator {
public:
    const char* name() const override { return "training"; }
    bool generate(const GeneratorContext& context) override;
};

}  // namespace tools
