// One frame of the game object: a queued screen change is served before any
// drawing, a still frame is not shown again, popups are drawn over the
// screen, and only activations after the first deactivation rebuild the screen.
#include "shell/CGame.h"

#include "xframework/CXPopup.h"

#include "platform/Window.h"

#include "StartedGame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// A screen of one colour that counts how it is made and emptied.
class PlainScreen : public CXClient {
public:
    explicit PlainScreen(COLORREF crColour) : m_crColour(crColour) { SetClientRect(0, 0, 800, 600); }
    bool OnInitDialog() override
    {
        ++m_nInits;
        delete m_pBackground;
        m_pBackground = new CXSurface;
        m_pBackground->Create(Width(), Height(), false, false);
        m_pBackground->Fill(m_crColour);
        return CXClient::OnInitDialog();
    }
    void OnDestroy() override
    {
        ++m_nDestroys;
        CXClient::OnDestroy();
    }
    COLORREF m_crColour;
    int m_nInits = 0;
    int m_nDestroys = 0;
};

class PlainPopup : public CXPopup {
public:
    PlainPopup() { SetClientRect(300, 200, 100, 80); }
    bool OnInitDialog() override
    {
        delete m_pBackground;
        m_pBackground = new CXSurface;
        m_pBackground->Create(Width(), Height(), false, false);
        m_pBackground->Fill(plat::RGB(255, 255, 255));
        return CXPopup::OnInitDialog();
    }
};

class GameFrame : public StartedGame {
protected:
    GameFrame() : StartedGame(m_start) {}
    uint16_t Shown(int x, int y) const { return m_game.GetFrontSurface()->m_pSurface->pixel(x, y); }
    uint16_t Pixel(COLORREF crColour) const { return plat::colorToPixel(crColour, plat::PixelFormat::Rgb565); }

    PlainScreen m_start{plat::RGB(0, 0, 255)};
};

TEST_F(GameFrame, TheStartScreenIsLiveAndAStillFrameIsShownOnce)
{
    EXPECT_EQ(g_pCurrentClient, &m_start);
    EXPECT_EQ(m_start.m_nInits, 1);
    EXPECT_EQ(m_game.GetScreenHistory().GetIndex(), 0);
    m_game.Update();
    m_game.Update();
    m_game.Update();
    EXPECT_EQ(m_game.GetFramesComposed(), 3u);
    EXPECT_EQ(m_game.GetFramesShown(), 1u);
    EXPECT_EQ(Shown(20, 300), Pixel(plat::RGB(0, 0, 255)));
    // A change on the screen is shown with the next frame.
    m_start.m_pDrawingSurface->Fill(plat::RGB(255, 0, 0));
    m_game.Update();
    EXPECT_EQ(m_game.GetFramesShown(), 2u);
    EXPECT_EQ(Shown(20, 300), Pixel(plat::RGB(255, 0, 0)));
}

TEST_F(GameFrame, AQueuedScreenChangeWinsOverDrawingAndPopupsDrawOverTheScreen)
{
    PlainPopup popup;
    ASSERT_TRUE(popup.Open());
    m_game.Update();
    EXPECT_EQ(Shown(350, 240), Pixel(plat::RGB(255, 255, 255)));
    EXPECT_EQ(Shown(20, 300), Pixel(plat::RGB(0, 0, 255)));
    popup.Close();

    PlainScreen next(plat::RGB(0, 255, 0));
    m_start.SetNextClient(&next, 42);
    const uint32_t dwComposed = m_game.GetFramesComposed();
    m_game.Update();
    EXPECT_EQ(m_game.GetFramesComposed(), dwComposed);
    EXPECT_EQ(g_pCurrentClient, &next);
    EXPECT_EQ(g_pNextClient, nullptr);
    EXPECT_EQ(next.m_dwChangeParameter, 42u);
    EXPECT_EQ(m_start.m_nDestroys, 1);
    EXPECT_EQ(next.m_nInits, 1);
    m_game.Update();
    EXPECT_EQ(Shown(20, 300), Pixel(plat::RGB(0, 255, 0)));
    next.OnDestroy();
    g_pCurrentClient = &m_start;
}

TEST_F(GameFrame, OnlyActivationsAfterTheFirstDeactivationRebuildTheScreen)
{
    PlainPopup popup;
    ASSERT_TRUE(popup.Open());
    m_game.OnActivate(true);
    EXPECT_EQ(m_start.m_nInits, 1);
    EXPECT_EQ(CXPopup::TopPopup(), &popup);
    m_game.OnActivate(false);
    m_game.OnActivate(true);
    // Rebuilt, and the popups over it are gone.
    EXPECT_EQ(m_start.m_nInits, 2);
    EXPECT_EQ(CXPopup::TopPopup(), nullptr);
}

TEST_F(GameFrame, ARestartRequestEndsAndStartsTheGameAtTheStartScreen)
{
    PlainScreen other(plat::RGB(0, 255, 0));
    m_start.SetNextClient(&other, 0);
    m_game.Update();
    ASSERT_EQ(g_pCurrentClient, &other);
    m_game.m_bRestartRequest = 1;
    m_game.Update();
    EXPECT_EQ(m_game.m_bRestartRequest, 0);
    EXPECT_EQ(g_pCurrentClient, &m_start);
    EXPECT_EQ(other.m_nDestroys, 1);
    EXPECT_EQ(m_start.m_nInits, 2);
    // The history starts again from the start screen alone.
    EXPECT_EQ(m_game.GetScreenHistory().GetIndex(), 0);
    m_game.Update();
    EXPECT_EQ(Shown(20, 300), Pixel(plat::RGB(0, 0, 255)));
}

}  // namespace
