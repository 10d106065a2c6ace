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

TEST(ControlGallery, DrawsEveryControlAsReviewedBeforeDuringAndAfterUse)
{
    char pattern[] = "/tmp/brellox-gallery-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    // The plain toggle on; two radio buttons in turn; the swap button; the
    // repeat button once; the disabled button; the list's down arrow three
    // times; its thumb dragged down; the slider dragged right; the list's
    // name header twice (sorted down), a row picked; the clickable label; a
    // value cell edited in its popup; one branch of the tree opened and one
    // closed; the money edit retyped; a drag within a drag list, one across
    // to the other list, one onto its disabled row; a formation chosen in
    // the drop-down; the date drop-down opened (the middle shot) and a match
    // day chosen; the costs series hidden; New Game, which opens a popup
    // with its title buttons.
    auto repeated = [](const std::string& line, int n) {
        std::string lines;
        for (int i = 0; i < n; ++i)
            lines += line;
        return lines;
    };
    const std::string script = "shot " + dir + "/before.png\n"
                               "click 62 109\nclick 262 109\nclick 362 109\nclick 482 109\n"
                               "click 262 49\nclick 532 49\n"
                               "click 284 488\nclick 284 488\nclick 284 488\n"
                               "drag 284 360 284 420\n"
                               "drag 350 369 450 369\n"
                               "click 60 328\nclick 60 328\nclick 60 392\n"
                               "click 180 265\n"
                               "dblclick 160 408\n" +
                               repeated("key Backspace\n", 8) +
                               "type 654321\nkey Return\n"
                               "dblclick 650 108\ndblclick 650 44\n"
                               "click 730 235\n" +
                               repeated("key Backspace\n", 6) +
                               "type 1750000\nkey Return\n"
                               "drag 580 326 580 374\ndrag 580 342 710 342\ndrag 580 390 710 374\n"
                               "click 428 448\nclick 340 496\n"
                               "click 552 448\n"
                               "shot " + dir + "/dropdown.png\n"
                               "click 533 538\n"
                               "click 732 565\n"
                               "click 62 49\n"
                               "shot " + dir + "/after.png\nquit\n";
    const ScriptedRun run = RunScriptedProgram("ControlGallery", dir, script, false, 120);
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    bool bAllAsReviewed = true;
    for (const char* pszShot : {"before.png", "dropdown.png", "after.png"}) {
        const std::string difference = CompareWithGolden(dir + "/" + pszShot, pszShot);
        EXPECT_EQ(difference, "");
        bAllAsReviewed = bAllAsReviewed && difference.empty();
    }
    if (bAllAsReviewed)
        std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
