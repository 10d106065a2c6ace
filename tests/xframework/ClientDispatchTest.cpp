// How a screen routes the mouse and keys to its controls (hit test, capture,
// focus, hover, tooltips), and how popups stack over it.
#include "../shell/LogCapture.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXPopup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_Events;

class RecordingControl : public CXControl {
public:
    explicit RecordingControl(const char* pszName) : m_Name(pszName) {}
    static constexpr int kNoPoint = INT32_MIN;
    void Note(const char* pszWhat, int x = kNoPoint, int y = kNoPoint)
    {
        std::string event = m_Name + "." + pszWhat;
        if (x != kNoPoint)
            event += "(" + std::to_string(x) + "," + std::to_string(y) + ")";
        g_Events.push_back(event);
    }
    void OnLButtonDown(uint32_t flags, int x, int y) override
    {
        CXControl::OnLButtonDown(flags, x, y);
        Note("down", x, y);
    }
    void OnLButtonUp(uint32_t, int x, int y) override { Note("up", x, y); }
    void OnLButtonDblClk(uint32_t, int x, int y) override { Note("dblclk", x, y); }
    void OnRButtonUp(uint32_t, int x, int y) override { Note("rup", x, y); }
    void OnMouseMove(uint32_t flags, int x, int y) override
    {
        CXControl::OnMouseMove(flags, x, y);
        Note("move", x, y);
    }
    void OnMouseLeave() override
    {
        CXControl::OnMouseLeave();
        Note("leave");
    }
    void OnSetFocus() override { Note("setfocus"); }
    void OnKillFocus() override { Note("killfocus"); }
    void OnKeyDown(uint32_t key, uint32_t, uint32_t) override { Note(("key" + std::to_string(key)).c_str()); }
    void GetToolTipText(char* pszText) override
    {
        if (!m_ToolTip.empty())
            std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", m_ToolTip.c_str());
    }
    std::string m_Name;
    std::string m_ToolTip;
};

class TestScreen : public CXClient {
public:
    TestScreen() { SetClientRect(100, 50, 400, 300); }
    void OnPopupOpened(CXPopup* pPopup) override
    {
        g_Events.push_back(m_Name + ".popupopened");
        CXClient::OnPopupOpened(pPopup);
    }
    void OnEndPopup(CXPopup* pPopup) override
    {
        g_Events.push_back(m_Name + ".endpopup");
        CXClient::OnEndPopup(pPopup);
    }
    void OnEndMessageBoxPopup() override { g_Events.push_back(m_Name + ".endmessagebox"); }
    void OnGetToolTipText(uint32_t dwID, char* pszText) override
    {
        if (dwID == 7)
            std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "from the screen");
    }
    RecordingControl* Add(const char* pszName, int l, int t, int r, int b, uint32_t dwID, uint8_t byType = 1)
    {
        return static_cast<RecordingControl*>(AddControl(new RecordingControl(pszName), byType, l, t, r, b, dwID, nullptr));
    }
    std::string m_Name = "screen";
};

class TestPopup : public CXPopup {
public:
    explicit TestPopup(const char* pszName)
    {
        SetClientRect(200, 100, 200, 150);
        m_Name = pszName;
        m_rcTitle = {0, 0, 200, 20};
    }
    void OnPopupOpened(CXPopup* pPopup) override
    {
        g_Events.push_back(m_Name + ".popupopened");
        CXPopup::OnPopupOpened(pPopup);
    }
    void OnEndPopup(CXPopup* pPopup) override
    {
        g_Events.push_back(m_Name + ".endpopup");
        CXPopup::OnEndPopup(pPopup);
    }
    void OnDestroy() override
    {
        g_Events.push_back(m_Name + ".destroy");
        CXPopup::OnDestroy();
    }
    std::string m_Name;
};

plat::LPARAM At(int x, int y) { return plat::makeLParam(x, y); }

class ClientDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_Events.clear();
        CXPopup::ResetStack();
        g_pNextClient = nullptr;
        g_dwToolTipsDelayOption = 2;
        m_screen.OnInitDialog();
        g_pCurrentClient = &m_screen;
    }
    void TearDown() override
    {
        CXPopup::ResetStack();
        g_pCurrentClient = nullptr;
        g_pNextClient = nullptr;
        g_pMessageBoxPopup = nullptr;
        g_dwToolTipsDelayOption = 2;
        FreeToolTip();
    }
    // Display coordinates, as the window sends them.
    void Send(uint32_t message, int x, int y, plat::WPARAM wParam = 0)
    {
        m_screen.WindowProc(message, wParam, At(x, y));
    }
    TestScreen m_screen;
};

TEST_F(ClientDispatch, TheFirstVisibleControlUnderThePointTakesTheClickInItsOwnCoordinates)
{
    RecordingControl* pHidden = m_screen.Add("hidden", 0, 0, 300, 250, 1);
    pHidden->m_bVisible = 0;
    m_screen.Add("first", 10, 10, 60, 40, 2);
    m_screen.Add("second", 30, 20, 90, 60, 3);
    Send(plat::WM_LBUTTONDOWN, 100 + 40, 50 + 25);
    Send(plat::WM_LBUTTONUP, 100 + 80, 50 + 50);
    Send(plat::WM_RBUTTONUP, 100 + 250, 50 + 200);
    const std::vector<std::string> expected = {"first.down(30,15)", "first.setfocus", "second.up(50,30)"};
    EXPECT_EQ(g_Events, expected);
    // A release over no control clears input handled.
    EXPECT_EQ(m_screen.m_bInputHandled, 0);
}

TEST_F(ClientDispatch, ACapturedControlGetsTheMouseWhereverThePointerIs)
{
    RecordingControl* pA = m_screen.Add("a", 10, 10, 60, 40, 1);
    m_screen.Add("b", 100, 100, 150, 150, 2);
    pA->Capture();
    // A second capture is refused while one holds.
    m_screen.SetCapture(m_screen.GetControl(1));
    EXPECT_EQ(m_screen.m_pCaptured, pA);
    Send(plat::WM_MOUSEMOVE, 100 + 120, 50 + 120);
    Send(plat::WM_LBUTTONDOWN, 100 + 120, 50 + 120);
    Send(plat::WM_LBUTTONUP, 100 + 5, 50 + 5);
    // Releasing another control's capture does nothing.
    m_screen.ReleaseCapture(m_screen.GetControl(1));
    EXPECT_EQ(m_screen.m_pCaptured, pA);
    pA->Release();
    Send(plat::WM_LBUTTONUP, 100 + 120, 50 + 120);
    const std::vector<std::string> expected = {"a.move(110,110)", "a.down(110,110)", "a.up(-5,-5)", "b.up(20,20)"};
    EXPECT_EQ(g_Events, expected);
    // The captured press gave no focus.
    EXPECT_EQ(m_screen.m_pFocused, nullptr);
}

TEST_F(ClientDispatch, FocusMovesWithPressesAndTabAndNeverDangles)
{
    RecordingControl* pA = m_screen.Add("a", 10, 10, 60, 40, 1);
    RecordingControl* pB = m_screen.Add("b", 100, 100, 150, 150, 2);
    pA->m_dwTabTargetID = 2;
    pB->m_dwTabTargetID = 99;
    Send(plat::WM_LBUTTONDOWN, 100 + 20, 50 + 20);
    Send(plat::WM_KEYDOWN, 1, 0, 'X');
    Send(plat::WM_CHAR, 1, 0, plat::VK_TAB);
    {
        LogCapture log;
        Send(plat::WM_CHAR, 1, 0, plat::VK_TAB);
        EXPECT_TRUE(log.Contains("CXControl::OnChar could not find control 99"));
    }
    EXPECT_EQ(m_screen.m_pFocused, pB);
    // A press on no control takes the focus away.
    Send(plat::WM_LBUTTONDOWN, 100 + 250, 50 + 200);
    const std::vector<std::string> expected = {"a.down(10,10)", "a.setfocus", "a.key88", "a.killfocus",
                                               "b.setfocus",    "b.killfocus"};
    EXPECT_EQ(g_Events, expected);
    EXPECT_EQ(m_screen.m_pFocused, nullptr);

    // Removing the focused, hot and captured control leaves none of them behind.
    Send(plat::WM_LBUTTONDOWN, 100 + 120, 50 + 120);
    Send(plat::WM_MOUSEMOVE, 100 + 120, 50 + 120);
    pB->Capture();
    m_screen.RemoveControlByID(2);
    EXPECT_EQ(m_screen.m_pFocused, nullptr);
    EXPECT_EQ(m_screen.m_pHot, nullptr);
    EXPECT_EQ(m_screen.m_pCaptured, nullptr);
    Send(plat::WM_LBUTTONDOWN, 100 + 120, 50 + 120);
    EXPECT_EQ(m_screen.m_bInputHandled, 0);
}

TEST_F(ClientDispatch, DoubleClicksReachTheControlUnderThePointEvenWhileTheMouseIsHeld)
{
    m_screen.Add("a", 10, 10, 60, 40, 1);
    m_screen.BeginMouseHold();
    Send(plat::WM_LBUTTONDOWN, 100 + 20, 50 + 20);
    Send(plat::WM_MOUSEMOVE, 100 + 20, 50 + 20);
    Send(plat::WM_LBUTTONDBLCLK, 100 + 20, 50 + 21);
    EXPECT_EQ(m_screen.m_bInputHandled, 1);
    m_screen.EndMouseHold();
    Send(plat::WM_LBUTTONDBLCLK, 100 + 200, 50 + 200);
    EXPECT_EQ(m_screen.m_bInputHandled, 0);
    // While held, no control took the press or became hot.
    const std::vector<std::string> expected = {"a.dblclk(10,11)"};
    EXPECT_EQ(g_Events, expected);
    EXPECT_EQ(m_screen.m_pHot, nullptr);
}

TEST_F(ClientDispatch, AQueuedScreenChangeDropsEveryMessage)
{
    m_screen.Add("a", 10, 10, 60, 40, 1);
    TestScreen next;
    m_screen.SetNextClient(&next, 5);
    Send(plat::WM_LBUTTONDOWN, 100 + 20, 50 + 20);
    Send(plat::WM_KEYDOWN, 1, 0, 'X');
    EXPECT_TRUE(g_Events.empty());
    EXPECT_EQ(m_screen.m_pFocused, nullptr);
    EXPECT_EQ(g_pNextClient, &next);
    EXPECT_EQ(g_dwChangeParameter, 5u);
}

TEST_F(ClientDispatch, TheToolTipShowsAfterTheOptionsDelayOfRestingFrames)
{
    struct Case {
        uint32_t dwOption;
        int nPaintsUntilShown;  // 0: never
    };
    const Case cases[] = {{1, 1}, {2, 36}, {3, 351}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwOption);
        g_dwToolTipsDelayOption = c.dwOption;
        m_screen.OnInitDialog();
        RecordingControl* pA = m_screen.Add("a", 10, 10, 60, 40, 1);
        // Styles are set when a control is made, after the option is known.
        pA->SetToolTipStyle(TOOLTIP_DEFAULT_DELAY, 0, 0x00ADFDFF, 0);
        pA->m_ToolTip = "hello";
        Send(plat::WM_MOUSEMOVE, 100 + 20, 50 + 20);
        int nPaints = 0;
        while (!g_pToolTip && nPaints < 400) {
            m_screen.OnPaint();
            ++nPaints;
        }
        EXPECT_EQ(g_pToolTip ? nPaints : 0, c.nPaintsUntilShown);
        // A press takes it down and stops the counter.
        Send(plat::WM_LBUTTONDOWN, 100 + 20, 50 + 20);
        EXPECT_EQ(g_pToolTip, nullptr);
        m_screen.OnPaint();
        EXPECT_EQ(g_pToolTip, nullptr);
    }
}

TEST_F(ClientDispatch, ToolTipTextComesFromTheControlThenTheScreenThenTheTextTableBelowId10000)
{
    g_dwToolTipsDelayOption = 1;
    static const char* s_pszTableText = "from the table";
    g_pfnControlToolTipText = [](uint32_t) { return s_pszTableText; };
    struct Case {
        uint32_t dwID;
        bool bShown;
        const char* pszText;
    };
    const Case cases[] = {{7, true, "from the screen"}, {8, true, "from the table"}, {10000, false, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwID);
        m_screen.OnInitDialog();
        RecordingControl* pA = m_screen.Add("a", 10, 10, 60, 40, c.dwID);
        pA->SetToolTipStyle(TOOLTIP_DEFAULT_DELAY, 0, 0x00ADFDFF, 0);
        Send(plat::WM_MOUSEMOVE, 100 + 20, 50 + 20);
        m_screen.OnPaint();
        EXPECT_EQ(g_pToolTip != nullptr, c.bShown);
        EXPECT_STREQ(pA->m_szToolTipText, c.pszText);
        // Leaving the control takes the tooltip down.
        Send(plat::WM_MOUSEMOVE, 100 + 250, 50 + 200);
        EXPECT_EQ(g_pToolTip, nullptr);
    }
    g_pfnControlToolTipText = nullptr;
}

TEST_F(ClientDispatch, PopupsStackAtMostFourAndTellTheClientBelow)
{
    TestPopup p1("p1"), p2("p2"), p3("p3"), p4("p4"), p5("p5");
    ASSERT_TRUE(p1.Open());
    ASSERT_TRUE(p2.Open());
    EXPECT_EQ(p2.m_pParent, &p1);
    EXPECT_EQ(p1.m_pParent, &m_screen);
    ASSERT_TRUE(p3.Open());
    ASSERT_TRUE(p4.Open());
    {
        LogCapture log;
        EXPECT_FALSE(p5.Open());
        EXPECT_FALSE(p2.Open());
        EXPECT_TRUE(log.Contains("stack is full"));
        EXPECT_TRUE(log.Contains("is open already"));
    }
    EXPECT_EQ(CXPopup::StackTop(), 3);
    EXPECT_EQ(CXPopup::TopPopup(), &p4);
    const std::vector<std::string> opened = {"screen.popupopened", "p1.popupopened", "p2.popupopened",
                                             "p3.popupopened"};
    EXPECT_EQ(g_Events, opened);

    // Closing from the middle tells the one below it and keeps the order.
    g_Events.clear();
    ASSERT_TRUE(p2.Close());
    EXPECT_EQ(CXPopup::StackTop(), 2);
    EXPECT_EQ(CXPopup::StackEntry(0), &p1);
    EXPECT_EQ(CXPopup::StackEntry(1), &p3);
    EXPECT_EQ(CXPopup::StackEntry(2), &p4);

    // A popup that is not open is refused, and the stack is untouched.
    {
        LogCapture log;
        EXPECT_FALSE(p2.Close());
        EXPECT_FALSE(p5.Close());
        EXPECT_TRUE(log.Contains("is not open"));
    }
    EXPECT_EQ(CXPopup::StackTop(), 2);

    // The message box tells the client below through its own slot.
    g_pMessageBoxPopup = &p1;
    ASSERT_TRUE(p4.Close());
    ASSERT_TRUE(p3.Close());
    ASSERT_TRUE(p1.Close());
    const std::vector<std::string> closed = {"p1.endpopup", "p2.destroy",          "p3.endpopup",
                                             "p4.destroy",  "p1.endpopup",         "p3.destroy",
                                             "screen.endmessagebox", "p1.destroy"};
    EXPECT_EQ(g_Events, closed);
    EXPECT_EQ(CXPopup::TopPopup(), nullptr);
    // A closed popup opens again.
    EXPECT_TRUE(p2.Open());
}

TEST_F(ClientDispatch, APopupIsDraggedByItsTitleButNotThroughAControlInIt)
{
    TestPopup popup("p");
    ASSERT_TRUE(popup.Open());
    popup.AddControl(new RecordingControl("title button"), 1, 150, 2, 170, 18, 1057, nullptr);
    // A press on the control in the title strip starts no drag.
    popup.WindowProc(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, At(200 + 155, 100 + 5));
    popup.WindowProc(plat::WM_MOUSEMOVE, plat::MK_LBUTTON, At(200 + 175, 100 + 25));
    popup.WindowProc(plat::WM_LBUTTONUP, 0, At(200 + 175, 100 + 25));
    EXPECT_EQ(popup.m_nLeft, 200);
    // A press on the bare title drags the popup with the pointer.
    popup.WindowProc(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, At(210, 105));
    popup.WindowProc(plat::WM_MOUSEMOVE, plat::MK_LBUTTON, At(260, 145));
    popup.WindowProc(plat::WM_LBUTTONUP, 0, At(260, 145));
    EXPECT_EQ(popup.m_nLeft, 250);
    EXPECT_EQ(popup.m_nTop, 140);
    EXPECT_EQ(popup.m_nRight, 450);
    EXPECT_EQ(popup.m_bMouseHeld, 0);
    popup.Close();
}

TEST_F(ClientDispatch, AControlsAnimationGoesOnTheDisplayOrOnItsOwnerOnlyWhenARedrawIsPending)
{
    CXSurface screen;
    ASSERT_TRUE(screen.Create(800, 600, false, false));
    screen.Fill(0);
    g_pScreenSurface = &screen;
    CXSurface sprite;
    ASSERT_TRUE(sprite.Create(8, 8, false, false));
    sprite.Fill(plat::RGB(255, 0, 0));
    CXAnimation animation;
    animation.Setup(&sprite, 8, 8, 0, 0, 1, 1);
    RecordingControl* pA = m_screen.Add("a", 10, 10, 60, 40, 1);
    pA->m_pAnimation = &animation;
    pA->m_nAnimationX = 2;
    pA->m_nAnimationY = 3;
    const uint16_t wRed = static_cast<uint16_t>(screen.ColorMatch(plat::RGB(255, 0, 0)));
    m_screen.m_pDrawingSurface->Fill(0);

    pA->DrawAnimation(-1, -1, false);
    EXPECT_EQ(screen.m_pSurface->pixel(100 + 2, 50 + 3), wRed);
    EXPECT_NE(screen.m_pSurface->pixel(100 + 1, 50 + 3), wRed);

    pA->m_bAnimationOnDrawingSurface = 1;
    pA->DrawAnimation(20, 30, false);
    EXPECT_NE(m_screen.m_pDrawingSurface->m_pSurface->pixel(20, 30), wRed);
    pA->m_bAnimationRedrawPending = 1;
    pA->DrawAnimation(20, 30, false);
    EXPECT_EQ(m_screen.m_pDrawingSurface->m_pSurface->pixel(20, 30), wRed);
    EXPECT_EQ(pA->m_bAnimationRedrawPending, 0);

    // A hidden control draws nothing.
    pA->m_bVisible = 0;
    pA->m_bAnimationRedrawPending = 1;
    pA->DrawAnimation(40, 20, false);
    EXPECT_NE(m_screen.m_pDrawingSurface->m_pSurface->pixel(40, 20), wRed);
    pA->m_pAnimation = nullptr;
    g_pScreenSurface = nullptr;
}

}  // namespace
