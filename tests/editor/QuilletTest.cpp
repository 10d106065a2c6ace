// Quillet used as a person would, through its script driver, in a private
// runtime folder: an edited club and a renamed player saved to disk through
// the three file pickers, files typed into the pickers (bad ones refused),
// a cancelled and a failed save that write nothing, and a damaged database
// or name dictionary met with a message instead of a crash.
#include "EditorFolder.h"

#include "../shell/ScriptedProgram.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CNameDictionary.h"
#include "database/CPlayerDatabase.h"
#include "database/NationalityTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <string>

namespace {

using editor_test::EditorFolder;
using editor_test::ReadBytes;
namespace fs = std::filesystem;

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
const std::string kNo = "click 452 362\n";
const std::string kOk = "click 400 362\n";
// The file picker's buttons; its name field has the keys when it opens.
const std::string kPickerSave = "click 620 437\n";
const std::string kPickerCancel = "click 620 471\n";
const std::string kClearName = Repeated("key Backspace\n", 60);
// The About button and the About box's OK.
const std::string kAbout = "click 673 25\n";
const std::string kAboutOk = "click 400 360\n";

// Takes the proposed file in the picker that is open, replacing it.
const std::string kTakeProposed = kPickerSave + "wait 50\n" + kYes + "wait 50\n";

// A shot for a person to look at, when BRELLOX_SHOTS names a folder.
std::string Shot(const std::string& name)
{
    const char* pszFolder = std::getenv("BRELLOX_SHOTS");
    return pszFolder ? "shot " + std::string(pszFolder) + "/" + name + "\n" : std::string();
}

std::string Type(const std::string& text) { return kClearName + "type " + text + "\n"; }

// Renames the third club of the list and applies it.
const std::string kRenameClub = kPickClub + kLongName + Repeated("key Backspace\n", 30) + "type Wendelmoor Athletic\n" + kApply;

TEST(Quillet, SavesAnEditedClubAndARenamedPlayerWithTheirDictionary)
{
    EditorFolder folder;
    const std::string lastNamesBefore = ReadBytes(folder.LastNames());
    // Each picker proposes the file that was read; taking it asks before
    // replacing.
    const std::string script = "wait 100\n" + Shot("editor-main.png") + kRenameClub + kEditFirstPlayer +
                               "wait 100\n" + Shot("editor-player.png") + kPlayerLastName +
                               Repeated("key Backspace\n", 26) + "type Aabelmeer\n" + kPlayerOk + kSave +
                               "wait 100\n" + kYes + "wait 100\n" + Shot("editor-picker.png") + kPickerSave +
                               "wait 50\n" + Shot("editor-replace.png") + kYes + "wait 50\n" + kTakeProposed +
                               kTakeProposed + Shot("editor-saved.png") + kOk + kQuit + kYes + "wait 2000\nquit\n";
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

// The nationality of the manager of the club of that name in a saved
// database; 0 when there is no such club or manager.
int ManagerNationality(const EditorFolder& folder, const std::string& clubName)
{
    CurrentFolder current(folder.Path());
    CDatabaseHandler handler;
    if (!handler.AreFixedTablesLoaded() || !handler.LoadFile("Data\\Data.bin"))
        return 0;
    handler.SetupPointers();
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
                if (clubName == pClub->GetName() && pClub->GetManager())
                    return pClub->GetManager()->m_byNationality;
    return 0;
}

TEST(Quillet, ANationalityFarDownTheDropDownIsReachedThroughItsScrollBar)
{
    EditorFolder folder;
    // The manager's drop-down opened, its bar's down arrow held to the end
    // of the list, and the last row taken.
    const std::string script = "wait 100\n" + kRenameClub + "click 758 228\nwait 50\n" +
                               Repeated("click 758 507\n", 120) + Shot("editor-nationalities.png") +
                               "click 600 498\nwait 50\n" + kApply + kSave + "wait 100\n" + kYes + "wait 100\n" +
                               kTakeProposed + kTakeProposed + kTakeProposed + kOk + kQuit + kYes +
                               "wait 2000\nquit\n";
    const ScriptedRun run = RunScriptedProgram("Quillet", folder.Path().string(), script, false, 120,
                                               folder.Path().c_str());
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    EXPECT_EQ(ManagerNationality(folder, "Wendelmoor Athletic"), NATIONALITY_COUNT);
}

// The birth date of the player of that last name in a saved database; all
// zero when there is none.
DATERECORD BirthDateOf(const EditorFolder& folder, const std::string& lastName)
{
    CurrentFolder current(folder.Path());
    CDatabaseHandler handler;
    if (!handler.AreFixedTablesLoaded() || !handler.LoadFile("Data\\Data.bin"))
        return {};
    handler.SetupPointers();
    for (int i = 1; i <= handler.GetPlayerTableSize(); ++i)
        if (const CPlayerDatabase* pPlayer = handler.GetPlayerFromID(static_cast<ID_PLAYER>(i)))
            if (lastName == pPlayer->GetLastName())
                return pPlayer->m_DateOfBirth;
    return {};
}

TEST(Quillet, ABirthDateIsTypedFieldByFieldThroughADayItsMonthLacks)
{
    EditorFolder folder;
    // February first, then the 30th (no such day yet), then April; the
    // player is renamed to be found again.
    const std::string kDay = "click 490 130\n", kMonth = "click 520 130\n";
    const std::string kClear = Repeated("key Backspace\n", 4);
    const std::string script = "wait 100\n" + kPickClub + kEditFirstPlayer + "wait 100\n" + kPlayerLastName +
                               Repeated("key Backspace\n", 26) + "type Aabelmeer\n" + kMonth + kClear +
                               "type 2\n" + kDay + kClear + "type 30\n" + kMonth + kClear + "type 4\n" +
                               kPlayerLastName + "wait 50\n" + Shot("editor-birth-date.png") + kPlayerOk + kSave +
                               "wait 100\n" + kYes + "wait 100\n" + kTakeProposed + kTakeProposed + kTakeProposed +
                               kOk + kQuit + kYes + "wait 2000\nquit\n";
    const ScriptedRun run = RunScriptedProgram("Quillet", folder.Path().string(), script, false, 120,
                                               folder.Path().c_str());
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    const DATERECORD birth = BirthDateOf(folder, "Aabelmeer");
    EXPECT_EQ(birth.byDay, 30);
    EXPECT_EQ(birth.byMonth, 4);
}

TEST(Quillet, SavesToFilesTypedInThePickersAfterRefusingBadOnes)
{
    EditorFolder folder;
    const fs::path out = folder.Path() / "out";
    fs::create_directories(out);
    const std::string dir = folder.Path().string();
    // A folder that does not exist, then a file of the first picker typed
    // again in the second, then a folder typed to open it and a name
    // without its extension.
    const std::string script =
        "wait 100\n" + kAbout + "wait 50\n" + Shot("editor-about.png") + kAboutOk + kSave + "wait 100\n" + kYes +
        "wait 100\n" + Type(dir + "/nowhere/First") + kPickerSave + "wait 50\n" + Shot("editor-no-folder.png") +
        kOk + Type(dir + "/out/First") + kPickerSave + "wait 50\n" + Type(dir + "/out/First.dat") + kPickerSave +
        "wait 50\n" + Shot("editor-taken.png") + kOk + Type(dir + "/out/Last.dat") + kPickerSave + "wait 50\n" +
        Type(dir + "/out") + kPickerSave + "wait 50\n" + "type World\n" + Shot("editor-typed.png") + kPickerSave +
        "wait 100\n" + kOk + kQuit + kYes + "wait 2000\nquit\n";
    const ScriptedRun run = RunScriptedProgram("Quillet", dir, script, false, 120, folder.Path().c_str());
    ASSERT_EQ(run.nExitCode, 0) << run.output;

    EXPECT_FALSE(fs::exists(folder.Path() / "nowhere"));
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(out))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"First.dat", "Last.dat", "World.bin"}));
    // Nothing was edited: the three are the files that were read.
    EXPECT_EQ(ReadBytes(out / "First.dat"), ReadBytes(EditorFolder::Generated("Data/Names/FirstNames.dat")));
    EXPECT_EQ(ReadBytes(out / "Last.dat"), ReadBytes(EditorFolder::Generated("Data/Names/LastNames.dat")));
    EXPECT_EQ(ReadBytes(out / "World.bin"), ReadBytes(folder.Database()));
}

TEST(Quillet, ACancelledOrFailedSaveWritesNothing)
{
    EditorFolder folder;
    const std::string databaseBefore = ReadBytes(folder.Database());
    // A club and a player renamed (a new last name). The first save: not
    // replacing the proposed file keeps the picker open; the second picker
    // is cancelled. The second save picks a database file that cannot be
    // created (refused by the picker, or by the save for a user who may
    // write anywhere); the dictionaries taken before it are not written.
    const std::string script = "wait 100\n" + kRenameClub + kEditFirstPlayer + "wait 100\n" + kPlayerLastName +
                               Repeated("key Backspace\n", 26) + "type Aabelmeer\n" + kPlayerOk + kSave + "wait 100\n" + kYes + "wait 100\n" +
                               kPickerSave + "wait 50\n" + kNo + "wait 50\n" + kTakeProposed + kPickerCancel +
                               "wait 50\n" + kSave + "wait 100\n" + kYes + "wait 100\n" + kTakeProposed +
                               kTakeProposed + Type("/proc/self/World.bin") + kPickerSave + "wait 100\n" +
                               Shot("editor-failed.png") + kOk + kPickerCancel + "wait 50\n" + kQuit + kYes +
                               "wait 2000\nquit\n";
    const ScriptedRun run = RunScriptedProgram("Quillet", folder.Path().string(), script, false, 120,
                                               folder.Path().c_str());
    ASSERT_EQ(run.nExitCode, 0) << run.output;

    EXPECT_EQ(ReadBytes(folder.Database()), databaseBefore);
    EXPECT_EQ(ReadBytes(folder.FirstNames()), ReadBytes(EditorFolder::Generated("Data/Names/FirstNames.dat")));
    EXPECT_EQ(ReadBytes(folder.LastNames()), ReadBytes(EditorFolder::Generated("Data/Names/LastNames.dat")));
    for (const auto& entry : fs::directory_iterator(folder.Path() / "Data" / "Names"))
        EXPECT_TRUE(entry.is_symlink() || entry.path().extension() == ".dat") << entry.path();
}

TEST(Quillet, ADamagedDatabaseIsReportedAndNothingIsWritten)
{
    EditorFolder folder;
    const std::string whole = ReadBytes(folder.Database());
    const std::string damaged = whole.substr(0, whole.size() / 3);
    std::ofstream(folder.Database(), std::ios::binary | std::ios::trunc) << damaged;
    // The load message, then a save that has nothing to save, then quit.
    const std::string script = "wait 100\n" + Shot("editor-refused.png") + kOk + kSave +
                               "wait 100\n" + kOk + kQuit + kYes + "wait 2000\nquit\n";
    const ScriptedRun run = RunScriptedProgram("Quillet", folder.Path().string(), script, false, 120,
                                               folder.Path().c_str());
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    EXPECT_EQ(ReadBytes(folder.Database()), damaged);
    EXPECT_EQ(ReadBytes(folder.LastNames()), ReadBytes(EditorFolder::Generated("Data/Names/LastNames.dat")));
}

TEST(Quillet, ADamagedNameDictionaryIsToldInItsMessageBoxAndItsOkEndsTheProgram)
{
    EditorFolder folder;
    const std::string whole = ReadBytes(folder.FirstNames());
    const std::string damaged = whole.substr(0, whole.size() / 3);
    std::ofstream(folder.FirstNames(), std::ios::binary | std::ios::trunc) << damaged;
    // No quit in the script: the message box's OK alone ends the program.
    const std::string script = "wait 100\n" + Shot("editor-names-refused.png") + kOk + "wait 5000\n";
    const ScriptedRun run = RunScriptedProgram("Quillet", folder.Path().string(), script, false, 60,
                                               folder.Path().c_str());
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    EXPECT_EQ(ReadBytes(folder.FirstNames()), damaged);
    EXPECT_EQ(ReadBytes(folder.Database()), ReadBytes(EditorFolder::Generated("Data/Data.bin")));
}

}  // namespace
