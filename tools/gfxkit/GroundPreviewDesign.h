#pragma once
// The pictures of the ground development popup's preview without 3-D, one
// 190 x 161 picture per stand, facility and pitch feature the popup can
// plan, under the names the popup asks for: a stand by its kind code (ST,
// DT, TT for one, two or three tiers), size digit, position code (NN an
// end, EE a side, NE a corner), "S" for seats and "R" for a roof; a
// facility by its code and size digit; a feature by its own name. Each
// picture is a list of the painter's drawing commands over the named
// colours of Palette.gfx, so the painter draws them as it draws any bitmap.
#include <string>
#include <vector>

namespace tools {

struct PreviewDrawing {
    std::string name;
    std::vector<std::string> commands;
};

constexpr int kPreviewPictureWidth = 190;
constexpr int kPreviewPictureHeight = 161;

// Every preview picture, stands first, then facilities, then features.
std::vector<PreviewDrawing> groundPreviewDrawings();

}  // namespace tools
