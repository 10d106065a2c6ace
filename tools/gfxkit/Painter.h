#pragma once
// The bitmap painter of the data kit. A description file lists archives and
// the bitmaps inside them, each painted by a few drawing commands:
//
//   archive Main.BFS
//   bitmap curX1.bmp 12 20
//   fill key
//   poly #000000 0 0 0 16 4 12 ...
//
// Colours are #rrggbb, "key" for the transparent magenta, or a name given by
// "colour NAME #rrggbb" (in the file, or in a file of colour lines read with
// "palette FILE", beside the description). Commands:
//   fill C | rect x y w h C | frame x y w h C [t] | bevel x y w h LIGHT DARK
//   hgradient x y w h C1 C2 | vgradient x y w h C1 C2
//   bands x y w h size C1 C2 [horizontal|vertical]
//   ellipse x y w h C | ring x y w h C [t] | line x0 y0 x1 y1 C [t]
//   poly C x0 y0 x1 y1 ... | text x y height weight C left|center|right words...
//   adverts SEED COUNT (the advertisers' logos, AdvertDesign.h)
// and, in place of a bitmap, "groundpreviews": the ground popup's preview
// pictures (GroundPreviewDesign.h), each a bitmap of the archive.
// Lines starting with # are comments.
#include "tools/gfxkit/BfsWriter.h"

#include <string>
#include <vector>

namespace tools {

struct PaintedArchive {
    std::string name;
    std::vector<BfsMember> members;
};

// Paints every bitmap of the description; false with "file:line: reason".
// Archives of the same name in several descriptions are merged by the caller.
bool paintDescription(const std::string& path, std::vector<PaintedArchive>& archives, std::string& error);

}  // namespace tools
