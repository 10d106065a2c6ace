// The window's messages as the screens receive them: SDL events pushed as the
// desktop would send them, taken from the queue by the message loop's calls
// and handed to the window procedure.
#include "shell/WinMain.h"

#include "platform/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class RecordingGame : public CGameHost {
public:
    bool OnGameStart(bool, uint32_t, uint32_t) override { return true; }
    void OnGameEnd(bool) override {}
    void Update() override {}
    void DispatchMessage(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        if (message != plat::WM_ACTIVATEAPP && message != plat::WM_MOUSEMOVE)
            received.push_back({message, wParam, lParam});
    }
    void OnActivateApp(bool bActive) override { activations.push_back(bActive); }
    std::vector<plat::Message> received;
    std::vector<bool> activations;
};

class InputDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pWindow = plat::Window::create("Corravin", 800, 600);
        ASSERT_NE(m_pWindow, nullptr) << plat::Window::lastError();
        m_game.m_hWnd = m_pWindow;
        g_pGame = &m_game;
    }
    void TearDown() override
    {
        g_pGame = nullptr;
        delete m_pWindow;
    }
    // Runs the loop's message half until the queue is empty.
    void Pump()
    {
        while (plat::peekMessage()) {
            plat::Message msg;
            if (!plat::getMessage(msg)) {
                m_quitCode = static_cast<int>(msg.wParam);
                m_quit = true;
                continue;
            }
            MainWndProc(msg.message, msg.wParam, msg.lParam);
        }
    }
    void PushButton(bool down, int x, int y, int clicks, uint8_t button = SDL_BUTTON_LEFT)
    {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = button;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = static_cast<Uint8>(clicks);
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }
    void PushKey(bool down, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = KMOD_NONE)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = scancode;
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    void PushText(const char* utf8)
    {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
        SDL_PushEvent(&e);
    }
    std::vector<uint32_t> Messages() const
    {
        std::vector<uint32_t> out;
        for (const plat::Message& m : m_game.received)
            out.push_back(m.message);
        return out;
    }

    plat::Window* m_pWindow = nullptr;
    RecordingGame m_game;
    bool m_quit = false;
    int m_quitCode = -1;
};

TEST_F(InputDispatch, ClicksAndDoubleClicksArriveInFrameCoordinates)
{
    Pump();
    m_game.received.clear();
    PushButton(true, 120, 80, 1);
    PushButton(false, 120, 80, 1);
    PushButton(true, 121, 80, 2);
    PushButton(false, 121, 80, 2);
    PushButton(true, 700, 590, 1, SDL_BUTTON_RIGHT);
    Pump();
    // The second press of a double click replaces its button-down.
    const std::vector<uint32_t> expected = {plat::WM_LBUTTONDOWN, plat::WM_LBUTTONUP, plat::WM_LBUTTONDBLCLK,
                                            plat::WM_LBUTTONUP, plat::WM_RBUTTONDOWN};
    ASSERT_EQ(Messages(), expected);
    EXPECT_EQ(plat::loWord(m_game.received[0].lParam), 120);
    EXPECT_EQ(plat::hiWord(m_game.received[0].lParam), 80);
    EXPECT_EQ(plat::loWord(m_game.received[2].lParam), 121);
    EXPECT_EQ(plat::loWord(m_game.received[4].lParam), 700);
    EXPECT_EQ(plat::hiWord(m_game.received[4].lParam), 590);
}

TEST_F(InputDispatch, KeysCarryTheirCodeRepeatCountAndCharacter)
{
    Pump();
    m_game.received.clear();
    PushKey(true, SDLK_a, SDL_SCANCODE_A);
    PushText("a");
    PushKey(false, SDLK_a, SDL_SCANCODE_A);
    PushKey(true, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    PushKey(true, SDLK_RETURN, SDL_SCANCODE_RETURN);
    PushText("\xC3\xA9");  // e acute: one character of the game's character set
    PushKey(true, SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN);
    Pump();
    const std::vector<uint32_t> expected = {plat::WM_KEYDOWN, plat::WM_CHAR, plat::WM_KEYUP,   plat::WM_KEYDOWN,
                                            plat::WM_CHAR,    plat::WM_KEYDOWN, plat::WM_CHAR, plat::WM_CHAR,
                                            plat::WM_KEYDOWN};
    ASSERT_EQ(Messages(), expected);
    const auto& r = m_game.received;
    EXPECT_EQ(r[0].wParam, 'A');
    EXPECT_EQ(plat::loWord(r[0].lParam), 1);  // repeat count
    EXPECT_EQ(r[1].wParam, 'a');
    EXPECT_EQ(r[2].wParam, 'A');
    EXPECT_EQ(r[3].wParam, plat::VK_BACK);
    EXPECT_EQ(r[4].wParam, 8u);
    EXPECT_EQ(r[6].wParam, 13u);
    EXPECT_EQ(r[7].wParam, 0xE9u);
    EXPECT_EQ(r[8].wParam, plat::VK_NEXT);
}

TEST_F(InputDispatch, TheWheelGivesASignedDeltaOf120PerNotch)
{
    Pump();
    m_game.received.clear();
    for (int notches : {-1, 2}) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = notches;
        e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
        SDL_PushEvent(&e);
    }
    Pump();
    ASSERT_EQ(m_game.received.size(), 2u);
    EXPECT_EQ(m_game.received[0].message, plat::WM_MOUSEWHEEL);
    EXPECT_EQ(plat::hiWord(m_game.received[0].wParam), 0xFF88);
    EXPECT_EQ(plat::wheelDelta(m_game.received[0].wParam), -120);
    EXPECT_EQ(plat::wheelDelta(m_game.received[1].wParam), 240);
}

TEST_F(InputDispatch, F10ReachesTheScreensAsAnOrdinaryKeyUp)
{
    Pump();
    m_game.received.clear();
    PushKey(true, SDLK_F10, SDL_SCANCODE_F10);
    PushKey(false, SDLK_F10, SDL_SCANCODE_F10);
    PushKey(false, SDLK_F9, SDL_SCANCODE_F9);
    Pump();
    const std::vector<uint32_t> expected = {plat::WM_SYSKEYDOWN, plat::WM_SYSKEYUP, plat::WM_KEYUP, plat::WM_KEYUP};
    ASSERT_EQ(Messages(), expected);
    EXPECT_EQ(m_game.received[2].wParam, 0x79u);
    EXPECT_EQ(m_game.received[2].lParam, m_game.received[1].lParam);
    EXPECT_EQ(m_game.received[3].wParam, 0x78u);
}

TEST_F(InputDispatch, ActivationFollowsFocusAndPostedMessagesCrossThreads)
{
    Pump();
    ASSERT_FALSE(m_game.activations.empty());
    EXPECT_TRUE(m_game.activations.back());  // a new window starts in the foreground
    EXPECT_EQ(g_bProgramActive, 1);
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&e);
    Pump();
    EXPECT_FALSE(m_game.activations.back());
    EXPECT_EQ(g_bProgramActive, 0);
    e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&e);
    Pump();
    EXPECT_TRUE(m_game.activations.back());

    m_game.received.clear();
    std::thread sound([] { EXPECT_TRUE(plat::postMessage(WM_UNINITIALISE_STREAM, 0, 1234)); });
    sound.join();
    Pump();
    ASSERT_EQ(m_game.received.size(), 1u);
    EXPECT_EQ(m_game.received[0].message, 0x402u);
    EXPECT_EQ(m_game.received[0].lParam, 1234);
}

TEST_F(InputDispatch, ClosingTheWindowEndsTheLoopWithExitCodeZero)
{
    Pump();
    m_game.received.clear();
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&e);
    Pump();
    EXPECT_TRUE(m_quit);
    EXPECT_EQ(m_quitCode, 0);
    // The screens saw the closing messages first.
    const std::vector<uint32_t> expected = {plat::WM_CLOSE, plat::WM_DESTROY};
    EXPECT_EQ(Messages(), expected);
}

TEST_F(InputDispatch, TheFrameRectangleIs800By600InFullScreenToo)
{
    // The desktop is larger than the frame; the game's coordinates stay the frame's.
    ASSERT_TRUE(m_pWindow->setDisplayMode(800, 600, true));
    g_bFullScreen = 1;
    MainWndProc(plat::WM_SIZE, 0, 0);
    EXPECT_EQ(m_game.m_rcScreen.left, 0);
    EXPECT_EQ(m_game.m_rcScreen.top, 0);
    EXPECT_EQ(m_game.m_rcScreen.right, 800);
    EXPECT_EQ(m_game.m_rcScreen.bottom, 600);
}

}  // namespace
