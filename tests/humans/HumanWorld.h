#pragma once
// The starting world in a private working folder whose Data links to the
// generated tree except for Data/Saves, which is the folder's own, with one
// human created as the new-game popup does and given a club.
#include "../database/GameTree.h"
#include "common/CBinaryFile.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/Random.h"
#include "season/CSaveGame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <stdlib.h>

namespace humans_test {

namespace fs = std::filesystem;

class HumanFolder {
public:
    HumanFolder()
    {
        char szTemplate[] = "/tmp/brellox_humans_XXXXXX";
        m_path = mkdtemp(szTemplate);
        const fs::path game = fs::path(BRELLOX_GAME_DIR) / "Data";
        fs::create_directories(m_path / "Data" / "Saves");
        for (const char* pszPart : {"Names", "Tables", "Configs", "Tactics", "Training"})
            if (fs::exists(game / pszPart))
                fs::create_directory_symlink(game / pszPart, m_path / "Data" / pszPart);
        fs::create_symlink(game / "Data.bin", m_path / "Data" / "Data.bin");
        m_pCurrent = std::make_unique<CurrentFolder>(m_path);
    }
    ~HumanFolder()
    {
        m_pCurrent.reset();
        fs::remove_all(m_path);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
    std::unique_ptr<CurrentFolder> m_pCurrent;
};

inline std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::unique_ptr<CDatabaseHandler> LoadStartingWorld()
{
    auto handler = std::make_unique<CDatabaseHandler>();
    if (!handler->AreFixedTablesLoaded())
        return nullptr;
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    FILE* pFile = std::fopen("Data/Data.bin", "rb");
    if (!pFile)
        return nullptr;
    const bool bLoaded = handler->Load(pFile);
    std::fclose(pFile);
    if (!bLoaded)
        return nullptr;
    handler->SetupPointers();
    return handler;
}

class HumanWorld : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_handler = LoadStartingWorld();
        ASSERT_NE(m_handler, nullptr) << "the generated starting world did not load";
        plat::srand(1999);
        m_pHuman = CSaveGame::CreateNewHuman(*m_handler, 0, "Ada Lovell", 7, 1);
        ASSERT_NE(m_pHuman, nullptr);
        m_pClub = m_handler->GetClubFromID(1);
        ASSERT_NE(m_pClub, nullptr);
        m_pHuman->TakeOverClub(m_pClub);
        ASSERT_TRUE(m_handler->SetUpNewGameRecords());
    }
    void TearDown() override { m_handler.reset(); }

    // The continue command one day at a time, then the match-day screens' part.
    void RunDays(int nDays)
    {
        for (int i = 0; i < nDays; ++i) {
            m_handler->ProcessDay();
            m_handler->DoMatchDay(m_handler->GetGameDate());
        }
    }
    CDatabaseHandler& H() { return *m_handler; }

    HumanFolder m_folder;
    std::unique_ptr<CDatabaseHandler> m_handler;
    CSaveGame* m_pHuman = nullptr;
    CClubDatabase* m_pClub = nullptr;
};

}  // namespace humans_test
