#pragma once
// A started game with one human manager at club 1 a day into the season (or
// out of work), in a private working folder, the built screens registered and
// reached through the navigation bar; frames go to PNG files.
#include "../shell/GameInPlay.h"

#include "screens/CClientFootballToday.h"
#include "screens/GameScreens.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/COptions.h"
#include "platform/OptionStore.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"
#include "platform/PngWriter.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

class ScreenGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pFolder = std::make_unique<shell_test::GameFolder>();
        m_pWindow = plat::Window::create("Corravin", 800, 600);
        ASSERT_NE(m_pWindow, nullptr) << plat::Window::lastError();
        m_game.m_hWnd = m_pWindow;
        g_pGame = &m_game;
        m_start.SetScreenID(SCREEN_STARTUP);
        g_pStartScreen = &m_start;
        RegisterGameScreens();
        if (m_bOneDayAContinue) {
            auto pKey = GetRegistryKey(COptions::kOptionsKey);
            ASSERT_TRUE(pKey->setString("ProcessGame", "0"));
        }
        ASSERT_TRUE(m_game.OnGameStart(false, 800, 600));
        // The start's own world goes first: a world sets the class-wide
        // links of its records when it is made and clears them when it goes.
        m_game.SetDatabase(nullptr);
        auto world = m_bWithoutClub ? StartWithoutClub() : shell_test::StartGameInPlay(1);
        ASSERT_NE(world, nullptr) << "the generated starting world did not load";
        m_pWorld = world.get();
        m_game.SetDatabase(std::move(world));
    }
    void TearDown() override
    {
        m_game.OnGameEnd(false);
        g_pGame = nullptr;
        g_pStartScreen = nullptr;
        g_pCurrentClient = nullptr;
        g_pNextClient = nullptr;
        g_ClientList.clear();
        delete m_pWindow;
        m_pFolder.reset();
    }

    CClientFootballToday& Home() { return GetFootballTodayScreen(); }
    CSaveGame& Human() { return *m_pWorld->GetCurrentSaveGame(); }

    // The home screen shown afresh, as the bar's home button shows it.
    void ShowHome()
    {
        ASSERT_NE(g_pNavigationBar, nullptr);
        g_pNavigationBar->OnClientChange(SCREEN_FOOTBALL_TODAY, true);
        m_game.Update();
        m_game.Update();
        ASSERT_EQ(g_pCurrentClient, &Home());
    }
    // The frame on the display as a PNG in the folder BRELLOX_SHOTS names
    // (the test's own folder otherwise); answers its path.
    std::string Shoot(const std::string& name)
    {
        m_game.Update();
        const char* pszFolder = std::getenv("BRELLOX_SHOTS");
        const std::string path =
            (pszFolder ? std::string(pszFolder) : m_pFolder->Path().string()) + "/" + name + ".png";
        const CXSurface* pFront = m_game.GetFrontSurface();
        EXPECT_TRUE(pFront && pFront->m_pSurface && plat::writePng(*pFront->m_pSurface, path)) << path;
        return path;
    }

    // The starting world with one human manager out of work.
    static std::unique_ptr<CDatabaseHandler> StartWithoutClub()
    {
        auto world = std::make_unique<CDatabaseHandler>();
        if (!world->AreFixedTablesLoaded())
            return nullptr;
        CDatabaseHandler::BuildAttendanceCurve();
        CPlayerDatabase::InitialisePlayerValueTables();
        if (!world->LoadFile("Data/Data.bin"))
            return nullptr;
        world->SetupPointers();
        plat::srand(1999);
        if (!CSaveGame::CreateNewHuman(*world, 0, "Ada Lovell", 7, 1) || !world->SetUpNewGameRecords())
            return nullptr;
        return world;
    }

    bool m_bWithoutClub = false;
    // The option that makes every continue one day, set before the start.
    bool m_bOneDayAContinue = false;
    std::unique_ptr<shell_test::GameFolder> m_pFolder;
    plat::Window* m_pWindow = nullptr;
    CPlaceholderScreen m_start;
    CGame m_game;
    CDatabaseHandler* m_pWorld = nullptr;
};
