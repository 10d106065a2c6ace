#pragma once
// A game object started on a window of its own from the runtime data tree,
// with its settings and saves in a scratch folder and the derived fixture's
// screen as its start screen.
#include "shell/CGame.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class StartedGame : public ::testing::Test {
protected:
    // The screen is a member of the derived fixture: it is only used once
    // SetUp runs, when it has been built.
    explicit StartedGame(CXClient& start) : m_rStart(start) {}

    void SetUp() override
    {
        char pattern[] = "/tmp/brellox-game-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_config = pattern;
        ::setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
        ::setenv("XDG_DATA_HOME", m_config.c_str(), 1);
        m_previousDir = std::filesystem::current_path();
        std::filesystem::current_path(BRELLOX_GAME_DIR);
        m_pWindow = plat::Window::create("Corravin", 800, 600);
        ASSERT_NE(m_pWindow, nullptr) << plat::Window::lastError();
        m_game.m_hWnd = m_pWindow;
        g_pGame = &m_game;
        g_pStartScreen = &m_rStart;
        ASSERT_TRUE(m_game.OnGameStart(false, 800, 600));
    }
    void TearDown() override
    {
        m_game.OnGameEnd(false);
        g_pGame = nullptr;
        g_pStartScreen = nullptr;
        g_pCurrentClient = nullptr;
        g_pNextClient = nullptr;
        delete m_pWindow;
        std::filesystem::current_path(m_previousDir);
        std::filesystem::remove_all(m_config);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
    }

    std::string m_config;
    std::filesystem::path m_previousDir;
    plat::Window* m_pWindow = nullptr;
    CXClient& m_rStart;
    CGame m_game;
};
