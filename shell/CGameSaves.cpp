// The game object's saved games: the set of a game name in the saves folder,
// written, loaded and deleted as a whole through CSavedGameSet.
#include "shell/CGame.h"
#include "shell/CFormScript.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameDay.h"
#include "shell/COptions.h"
#include "shell/UserFolders.h"

#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "platform/Files.h"
#include "season/CSaveGame.h"
#include "season/CSavedGameSet.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <stdlib.h>
#include <sys/stat.h>

namespace {

constexpr int64_t kSaveSpaceBytes = 104857600;  // 100 MiB
constexpr const char* kLastSaveGameValue = "LastSaveGame";
constexpr const char* kStartingWorldPath = "Data/Data.bin";

// Every extension a set may hold, the scenario file last.
constexpr const char* kSetExtensions[] = {".bin", ".chs", ".dhs", ".fty", ".fhs", ".pfn", ".lhs",
                                          ".mhs", ".phs", ".shs", ".ths", ".sav", ".wmh", ".hhs",
                                          ".eml", ".rtp", ".rtm", ".rts", ".sum", ".sc"};

// A private folder where a load keeps the running game until the new one stands.
class KeepFolder {
public:
    KeepFolder()
    {
        std::error_code ec;
        std::string pattern = (std::filesystem::temp_directory_path(ec) / "brellox_keep_XXXXXX").string();
        if (!ec && ::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~KeepFolder()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    KeepFolder(const KeepFolder&) = delete;
    KeepFolder& operator=(const KeepFolder&) = delete;
    bool IsMade() const { return !m_path.empty(); }
    std::string WorldPath() const { return m_path + "/running.bin"; }

private:
    std::string m_path;
};

}  // namespace

void CGame::SetDatabase(std::unique_ptr<CDatabaseHandler> pDatabase)
{
    m_pDatabase = std::move(pDatabase);
    CFormScript::SetDatabase(m_pDatabase.get());
}

std::string CGame::GetSavePath(const char* pszName)
{
    if (!pszName || !*pszName || std::strlen(pszName) > SAVEGAME_MAX_TYPED_NAME || std::strpbrk(pszName, "/\\") ||
        std::strcmp(pszName, ".") == 0 || std::strcmp(pszName, "..") == 0)
        return "";
    return GetSavesFolder() + "/" + pszName;
}

bool CGame::CheckDiskSpace()
{
    const std::string folder = GetSavesFolder();
    plat::makeDirectories(folder);
    return plat::freeDiskBytes(folder) >= kSaveSpaceBytes;
}

void CGame::DeleteTempFiles() { CSavedGameSet::DeleteWorkingFiles(); }

bool CGame::SetUpNewGame()
{
    DeleteTempFiles();
    return m_pDatabase && m_pDatabase->SetUpNewGameRecords();
}

bool CGame::LoadStartingWorld() { return LoadWorldSet(kStartingWorldPath, false); }

bool CGame::LoadScenarioWorld(const char* pszWorldPath)
{
    // An earlier game's working files must not mix with the set's own.
    DeleteTempFiles();
    return LoadWorldSet(pszWorldPath ? pszWorldPath : "", true);
}

bool CGame::LoadWorldSet(const std::string& worldPath, bool bScenario)
{
    m_FileError.clear();
    if (!m_pDatabase) {
        m_FileError = "the game's database is not set up";
        return false;
    }
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    std::string error;
    if (!CSavedGameSet(worldPath).Load(*m_pDatabase, error)) {
        m_FileError = error;
        DebugLog(0, "[CGame::LoadWorldSet] %s", error.c_str());
        return false;
    }
    m_pDatabase->SetDefaultGameSettings();
    m_bScenario = bScenario;
    return true;
}

bool CGame::BeginNewGame()
{
    m_FileError.clear();
    if (!SetUpNewGame()) {
        m_FileError = "the new game could not be set up";
        return false;
    }
    const CDate start = m_pDatabase->GetGameDate();
    CGameDay::ProcessDaysToDate(*m_pDatabase, start);
    return true;
}

bool CGame::SaveGame(const char* pszName)
{
    m_FileError.clear();
    const std::string stem = GetSavePath(pszName);
    if (stem.empty())
        m_FileError = "the name of a saved game is 1 to 39 characters without a folder separator";
    else if (!m_pDatabase || !m_pDatabase->IsDatabaseLoaded())
        m_FileError = "there is no game to save";
    else if (!plat::makeDirectories(GetSavesFolder()) && !plat::directoryExists(GetSavesFolder()))
        m_FileError = "cannot make the folder " + GetSavesFolder();
    else if (!CheckDiskSpace())
        m_FileError = "less than 100 MiB is free in " + GetSavesFolder();
    else if (std::string error; !CSavedGameSet(stem + ".bin").Save(*m_pDatabase, error))
        m_FileError = error;
    if (m_pNavigationBar)
        m_pNavigationBar->EndProgress();
    if (!m_FileError.empty()) {
        DebugLog(0, "[CGame::SaveGame] %s: %s", pszName ? pszName : "", m_FileError.c_str());
        return false;
    }
    // Only a whole set becomes the game to continue.
    auto pKey = GetRegistryKey(COptions::kOptionsKey);
    SetRegistryString(*pKey, kLastSaveGameValue, pszName);
    return true;
}

bool CGame::LoadGame(const char* pszName, bool bScenario)
{
    m_FileError.clear();
    auto fail = [this, pszName](const std::string& reason) {
        m_FileError = reason;
        DebugLog(0, "[CGame::LoadGame] %s: %s", pszName ? pszName : "", reason.c_str());
        return false;
    };
    const std::string stem = GetSavePath(pszName);
    if (stem.empty())
        return fail("the name of a saved game is 1 to 39 characters without a folder separator");
    if (!m_pDatabase)
        return fail("the game's database is not set up");
    const CSavedGameSet set(stem + ".bin");
    // What can be checked without touching the running game is checked first.
    if (!plat::fileExists(set.GetWorldPath()))
        return fail("cannot open " + set.GetWorldPath());
    const std::string humans = set.GetMemberPath(".sav");
    if (plat::fileExists(humans)) {
        if (const std::vector<std::string> missing = set.GetMissingMembers(); !missing.empty())
            return fail("the saved game lacks " + missing.front());
        std::vector<uint8_t> bytes;
        if (!plat::readWholeFile(humans, bytes) || bytes.empty() || bytes[0] > HUMAN_SLOTS)
            return fail(humans + " names more human managers than the game holds");
    }

    // The running game goes aside whole, to come back on any refusal.
    KeepFolder keep;
    const bool bKeep = m_pDatabase->IsDatabaseLoaded();
    if (bKeep) {
        std::string error;
        if (!keep.IsMade() || !CSavedGameSet(keep.WorldPath()).Save(*m_pDatabase, error))
            return fail("cannot keep the running game aside: " + error);
    }
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    std::string error;
    const bool bLoaded = set.Load(*m_pDatabase, error);
    if (m_pNavigationBar)
        m_pNavigationBar->EndProgress();
    if (!bLoaded) {
        if (bKeep) {
            std::string restoreError;
            if (!CSavedGameSet(keep.WorldPath()).Load(*m_pDatabase, restoreError))
                DebugLog(0, "[CGame::LoadGame] The running game did not come back: %s", restoreError.c_str());
        }
        return fail(error);
    }
    m_bScenario = bScenario;
    return true;
}

void CGame::DeleteSaveGame(const char* pszName)
{
    const std::string stem = GetSavePath(pszName);
    if (stem.empty())
        return;
    for (const char* pszExtension : kSetExtensions)
        plat::removeFile(stem + pszExtension);
}

std::vector<CGame::SavedGameEntry> CGame::ListSavedGames()
{
    std::vector<SavedGameEntry> games;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(GetSavesFolder(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::filesystem::path& path = it->path();
        const std::string stem = path.stem().string();
        if (path.extension() != ".sav" || stem.size() < 2 || stem[0] != '!' || !it->is_regular_file(ec))
            continue;
        const std::string name = stem.substr(1);
        if (GetSavePath(GetSavedGameSet(name).c_str()).empty())
            continue;
        struct stat info = {};
        if (::stat(path.c_str(), &info) != 0)
            continue;
        games.push_back({name, static_cast<int64_t>(info.st_mtime)});
    }
    return games;
}

std::string CGame::GetUsableLastSaveGame()
{
    auto pKey = GetRegistryKey(COptions::kOptionsKey);
    char szName[255] = {};
    if (!GetRegistryString(*pKey, kLastSaveGameValue, szName))
        return "";
    const std::string stem = GetSavePath(szName);
    if (stem.empty())
        return "";
    // A human's descriptor follows the count: its magic word and mark.
    FILE* pFile = plat::openFile(stem + ".sav", "rb");
    if (!pFile)
        return "";
    uint8_t abyHead[4] = {};
    const bool bRead = std::fread(abyHead, 1, sizeof abyHead, pFile) == sizeof abyHead;
    std::fclose(pFile);
    const bool bMarked = bRead && abyHead[0] >= 1 && abyHead[0] <= HUMAN_SLOTS &&
                         (abyHead[1] | abyHead[2] << 8) == SAVEGAME_DESCRIPTOR_MAGIC &&
                         abyHead[3] == SAVEGAME_DESCRIPTOR_MARK;
    return bMarked ? std::string(szName) : "";
}
