#pragma once
// The meshes of the full-screen ground view for the mesh kit, from
// data/meshes/Ground.txt: the flat tiles of the surroundings (grass and road
// pieces, 10 file units a side), the table the ground stands on, the room
// round it and the block a facility is drawn as.
#include "tools/meshkit/SceneryKit.h"

namespace tools {

class GroundKit {
public:
    // Every ground file; throws KitError on a malformed source.
    std::vector<KitFile> Build(const std::vector<KitLine>& lines) const;
};

}  // namespace tools
