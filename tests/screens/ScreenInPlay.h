#pragma once
// A game object on a window of its own over a game in play (the starting
// world with one human manager at club 1, some days into the season), with
// the game's screens registered, for the screens' tests.
#include "../shell/GameInPlay.h"

#include "screens/GameScreens.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CScreenRegistry.h"
#include "screens/CClientStartup.h"

#include "database/CDatabaseHandler.h"
#include "platform/PngWriter.h"
#include "platform/Window.h"
#include "season/CSaveGame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

class ScreenInPlay : public ::testing::Test {
protected:
    explicit ScreenInPlay(int nDays = 1) : m_nDays(nDays) {}

    void SetUp() override
    {
        m_pWindow = plat::Window::create("Corravin", 800, 600);
        ASSERT_NE(m_pWindow, nullptr) << plat::Window::lastError();
        m_game.m_hWnd = m_pWindow;
        g_pGame = &m_game;
        g_pStartScreen = &m_start;
        ASSERT_TRUE(m_game.OnGameStart(false, 800, 600));
        RegisterGameScreens();
        // The world the game started with goes first: a world freed after
        // another was built would unlink the new one's records.
        m_game.SetDatabase(nullptr);
        auto world = shell_test::StartGameInPlay(m_nDays);
        ASSERT_NE(world, nullptr) << "the generated starting world did not load";
        m_game.SetDatabase(std::move(world));
        m_pHuman = Database()->GetCurrentSaveGame();
        m_pClub = m_pHuman->GetClub();
    }
    void TearDown() override
    {
        m_game.OnGameEnd(false);
        g_pGame = nullptr;
        g_pStartScreen = nullptr;
        g_pCurrentClient = nullptr;
        g_pNextClient = nullptr;
        delete m_pWindow;
    }

    CDatabaseHandler* Database() { return m_game.GetDatabase(); }
    // Opens a screen through the navigation bar and draws a frame.
    void OpenScreen(int nScreenID)
    {
        g_pNavigationBar->OnClientChange(nScreenID, true);
        m_game.Update();
        ASSERT_EQ(g_pCurrentClient, GetScreenObject(nScreenID));
        m_game.Update();
    }
    // The frame as a PNG in the folder BRELLOX_SHOTS names, when it names one.
    void Shoot(const char* pszName)
    {
        m_game.Update();
        const char* pszFolder = std::getenv("BRELLOX_SHOTS");
        if (pszFolder && GetScreenSurface() && GetScreenSurface()->m_pSurface)
            plat::writePng(*GetScreenSurface()->m_pSurface, std::string(pszFolder) + "/" + pszName);
    }

    int m_nDays;
    shell_test::GameFolder m_folder;
    plat::Window* m_pWindow = nullptr;
    CClientStartup m_start;
    CGame m_game;
    CSaveGame* m_pHuman = nullptr;
    CClubDatabase* m_pClub = nullptr;
};
