// The control gallery drawn by the program itself, played through its script
// driver, and compared pixel for pixel with the reviewed pictures in golden/.
// When a drawing change is meant, the pictures are renewed in the same commit:
// a failing run keeps its shots and names them.
#include "../shell/ScriptedProgram.h"
#include "../xframework/PngPicture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Pixels that differ, and the first of them.
std::string CompareWithGolden(const std::string& shotPath, const std::string& name)
{
    Picture shot, golden;
    if (!ReadPng(shotPath, shot))
        return "no shot at " + shotPath;
    if (!ReadPng(std::string(GALLERY_GOLDEN_DIR) + "/" + name, golden))
        return "no reviewed picture " + name + "; the new shot is " + shotPath;
    if (shot.width != golden.width || shot.height != golden.height)
        return name + ": the shot has another size; it is " + shotPath;
    int nDiffering = 0, nFirstX = -1, nFirstY = -1;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.At(x, y) != golden.At(x, y) && nDiffering++ == 0) {
                nFirstX = x;
                nFirstY = y;
            }
    if (nDiffering == 0)
        return "";
    return name + ": " + std::to_string(nDiffering) + " pixels differ, the first at " + std::to_string(nFirstX) +
           "," + std::to_string(nFirstY) + "; the shot is " + shotPath;
}

TEST(ControlGallery, DrawsEveryControlAsReviewedBeforeAndAfterUse)
{
    char pattern[] = "/tmp/brellox-gallery-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    // The plain toggle on; two radio buttons in turn; the swap
    // button; the repeat button once; the disabled button; the list's down
    // arrow three times; its thumb dragged down; the slider dragged right;
    // the list's name header twice (sorted down), a row picked; the
    // clickable label; New Game, which opens a popup with its title buttons.
    const std::string script = "shot " + dir + "/before.png\n"
                               "click 62 109\nclick 262 109\nclick 362 109\nclick 482 109\n"
                               "click 262 49\nclick 532 49\n"
                               "click 284 488\nclick 284 488\nclick 284 488\n"
                               "drag 284 360 284 420\n"
                               "drag 350 369 450 369\n"
                               "click 60 328\nclick 60 328\nclick 60 392\n"
                               "click 180 265\nclick 62 49\n"
                               "shot " + dir + "/after.png\nquit\n";
    const ScriptedRun run = RunScriptedProgram("ControlGallery", dir, script, false, 120);
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    const std::string before = CompareWithGolden(dir + "/before.png", "before.png");
    const std::string after = CompareWithGolden(dir + "/after.png", "after.png");
    EXPECT_EQ(before, "");
    EXPECT_EQ(after, "");
    if (before.empty() && after.empty())
        std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
