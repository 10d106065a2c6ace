#pragma once
// The starting world as a new game, run in a private working folder (the
// game's working files land in the current folder) whose Data is the
// generated tree's.
#include "../database/GameTree.h"
#include "common/CBinaryFile.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/Random.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <stdlib.h>

namespace dayloop_test {

namespace fs = std::filesystem;

class WorkFolder {
public:
    WorkFolder()
    {
        char szTemplate[] = "/tmp/brellox_dayloop_XXXXXX";
        m_path = mkdtemp(szTemplate);
        fs::create_directory_symlink(fs::path(BRELLOX_GAME_DIR) / "Data", m_path / "Data");
        m_pCurrent = std::make_unique<CurrentFolder>(m_path);
    }
    ~WorkFolder()
    {
        m_pCurrent.reset();
        fs::remove_all(m_path);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
    std::unique_ptr<CurrentFolder> m_pCurrent;
};

// A root with its fixed tables and the value tables every world needs.
inline bool MakeRoot(std::unique_ptr<CDatabaseHandler>& handler)
{
    handler = std::make_unique<CDatabaseHandler>();
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    return handler->AreFixedTablesLoaded();
}

class DayLoopWorld : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MakeRoot(m_handler));
        FILE* pFile = std::fopen("Data/Data.bin", "rb");
        ASSERT_NE(pFile, nullptr) << "Data/Data.bin was not generated";
        const bool bLoaded = m_handler->Load(pFile);
        std::fclose(pFile);
        ASSERT_TRUE(bLoaded);
        m_handler->SetupPointers();
        plat::srand(1999);
        ASSERT_TRUE(m_handler->SetUpNewGameRecords());
    }
    void TearDown() override { m_handler.reset(); }

    // The continue command in mode 0, then the match-day screens' part.
    void RunDays(int nDays)
    {
        for (int i = 0; i < nDays; ++i) {
            ASSERT_EQ(m_handler->ProcessDay(), 1);
            m_handler->DoMatchDay(m_handler->GetGameDate());
        }
    }
    CDatabaseHandler& H() { return *m_handler; }

    std::vector<CDivisionDatabase*> Divisions()
    {
        std::vector<CDivisionDatabase*> divisions;
        for (CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
            for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
                divisions.push_back(pDivision);
        return divisions;
    }
    static std::string ReadFile(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    WorkFolder m_folder;
    std::unique_ptr<CDatabaseHandler> m_handler;
};

}  // namespace dayloop_test
