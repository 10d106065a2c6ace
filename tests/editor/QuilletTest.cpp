// Quillet used as a person would, through its script driver, in a private
// runtime folder: an edited club and a renamed player saved to disk, and a
// damaged database met with a message instead of a crash.
#include "EditorFolder.h"

#include "../shell/ScriptedProgram.h"

#include "database/CNameDictionary.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using editor_test::EditorFolder;
using editor_test::ReadBytes;

std::string Repeated(const std::string& line, int n)
{
    std::string lines;
    for (int i = 0; i < n; ++i)
        lines += line;
    return lines;
}

// The screen's places: the third club of the list, the long-name field, the
// apply button, the first squad row, the player popup's last-name field and
// OK, the save and quit buttons, and the answers of a question.
const std::string kPickClub = "click 240 270\n";
const std::string kLongName = "click 240 115\n";
const std::string kApply = "click 740 545\n";
const std::string kEditFirstPlayer = "dblclick 530 316\n";
const std::string kPlayerLastName = "click 315 130\n";
const std::string kPlayerOk = "click 662 118\n";
const std::string kSave = "click 544 545\n";
const std::string kQuit = "click 642 545\n";
const std::string kYes = "click 348 362\n";
const std::string kOk = "click 400 362\n";

TEST(Quillet, SavesAnEditedClubAndARenamedPlayerWithTheirDictionary)
{
    EditorFolder folder;
    const std::string lastNamesBefore = ReadBytes(folder.LastNames());
    const std::string script = "wait 100\n" + kPickClub + kLongName + Repeated("key Backspace\n", 30) +
                               "type Wendelmoor Athletic\n" + kApply + kEditFirstPlayer + "wait 100\n" +
                               kPlayerLastName + Repeated("key Backspace\n", 26) + "type Aabelmeer\n" + kPlayerOk +
                               kSave + "wait 100\n" + kYes + "wait 100\n" + kOk + kQuit + kYes + "wait 2000\nquit\n";
    const ScriptedRun run = RunScriptedProgram("Quillet", folder.Path().string(), script, false, 120,
                                               folder.Path().c_str());
    ASSERT_EQ(run.nExitCode, 0) << run.output;

    EXPECT_NE(ReadBytes(folder.Database()).find("Wendelmoor Athletic"), std::string::npos);
    CNameDictionary before, after;
    ASSERT_TRUE(before.Load(EditorFolder::Generated("Data/Names/LastNames.dat").c_str(), true));
    ASSERT_TRUE(after.Load(folder.LastNames().c_str(), true));
    EXPECT_EQ(after.GetCount(), before.GetCount() + 1);
    EXPECT_STREQ(after.GetName(0), "Aabelmeer");
    EXPECT_EQ(ReadBytes(folder.FirstNames()), ReadBytes(EditorFolder::Generated("Data/Names/FirstNames.dat")));
}

TEST(Quillet, ADamagedDatabaseIsReportedAndNothingIsWritten)
{
    EditorFolder folder;
    const std::string whole = ReadBytes(folder.Database());
    const std::string damaged = whole.substr(0, whole.size() / 3);
    std::ofstream(folder.Database(), std::ios::binary | std::ios::trunc) << damaged;
    // The load message, then a save that has nothing to save, then quit.
    const std::string script = "wait 100\nshot " + folder.Path().string() + "/refused.png\n" + kOk + kSave +
                               "wait 100\n" + kOk + kQuit + kYes + "wait 2000\nquit\n";
    const ScriptedRun run = RunScriptedProgram("Quillet", folder.Path().string(), script, false, 120,
                                               folder.Path().c_str());
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    EXPECT_EQ(ReadBytes(folder.Database()), damaged);
    EXPECT_EQ(ReadBytes(folder.LastNames()), ReadBytes(EditorFolder::Generated("Data/Names/LastNames.dat")));
}

}  // namespace
