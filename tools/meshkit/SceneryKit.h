#pragma once
// The fixed objects of the match scene for the mesh kit, from
// data/meshes/Scenery.txt: ball, net, corner flag, card, spray can, sky dome,
// skylines, dugout, and the stands, roofs and walls by the names the match
// scene builds from a stand's kind, size, segment and state.
#include "render3d/XFileData.h"
#include "tools/meshkit/KitSource.h"

#include <map>
#include <string>
#include <vector>

namespace tools {

struct KitFile {
    std::string name;
    XFileData data;
};

class SceneryKit {
public:
    // Every scenery file; throws KitError on a malformed source.
    std::vector<KitFile> Build(const std::vector<KitLine>& lines) const;
};

}  // namespace tools
