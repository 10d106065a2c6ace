#pragma once
// A game started on a window of its own in a private working folder (the
// runtime tree linked in, working files and user folders its own), with the
// fixture's screen as its start screen and the game's global popups in
// place. Frame() runs one frame, so that a queued screen change happens.
#include "../shell/GameInPlay.h"

#include "popups/GamePopups.h"
#include "shell/CGame.h"
#include "platform/Window.h"
#include "xframework/CXPopup.h"

#include <gtest/gtest.h>

#include <memory>

class GameOnScreen : public ::testing::Test {
protected:
    explicit GameOnScreen(CXClient& start) : m_rStart(start) {}

    void SetUp() override
    {
        m_pFolder = std::make_unique<shell_test::GameFolder>();
        CreateGamePopups();
        m_pWindow = plat::Window::create("Corravin", 800, 600);
        ASSERT_NE(m_pWindow, nullptr) << plat::Window::lastError();
        m_game.m_hWnd = m_pWindow;
        g_pGame = &m_game;
        g_pStartScreen = &m_rStart;
        ASSERT_TRUE(m_game.OnGameStart(false, 800, 600));
    }
    void TearDown() override
    {
        while (CXPopup::TopPopup())
            CXPopup::TopPopup()->Close();
        m_game.OnGameEnd(false);
        g_pGame = nullptr;
        g_pStartScreen = nullptr;
        g_pCurrentClient = nullptr;
        g_pNextClient = nullptr;
        delete m_pWindow;
        m_pFolder.reset();
    }
    void Frame() { m_game.Update(); }

    std::unique_ptr<shell_test::GameFolder> m_pFolder;
    plat::Window* m_pWindow = nullptr;
    CXClient& m_rStart;
    CGame m_game;
};
