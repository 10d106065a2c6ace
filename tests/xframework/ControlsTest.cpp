// Buttons, labels, scroll bars and sliders on a screen: what they report to
// their owner, how they follow the mouse and the clock, and what they draw.
#include "../shell/LogCapture.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXCalendar.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXClient.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXPopup.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXSlider.h"
#include "xframework/CXStatic.h"
#include "xframework/CXSurface.h"

#include "platform/Clock.h"
#include "platform/DeviceContext.h"
#include "platform/Font.h"
#include "platform/Surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

uint32_t g_dwNow = 0;
int g_nClickSounds = 0;
std::vector<int> g_PointerKinds;

class ControlScreen : public CXClient {
public:
    ControlScreen() { SetClientRect(0, 0, 400, 300); }
    void OnClicked(uint32_t dwID) override
    {
        CXClient::OnClicked(dwID);
        events.push_back("clicked " + std::to_string(dwID));
    }
    void OnDoubleClicked(uint32_t dwID) override { events.push_back("double " + std::to_string(dwID)); }
    void OnBeginScroll(uint32_t dwID) override { events.push_back("begin " + std::to_string(dwID)); }
    void OnScroll(uint32_t dwID) override { events.push_back("scroll " + std::to_string(dwID)); }
    void OnEndScroll(uint32_t dwID) override { events.push_back("end " + std::to_string(dwID)); }
    std::vector<std::string> events;
};

// Lines that record how a scroll bar moves them and what keys they get.
class Lines : public CXControl, public CXScrollTarget {
public:
    int ScrollLineCount() const override { return nCount; }
    int ScrollVisibleLines() const override { return nVisible; }
    void ScrollByLine(int nDirection) override { ScrollToLine(nFirst + nDirection); }
    void ScrollToLine(int nLine) override
    {
        nFirst = std::clamp(nLine, 0, std::max(0, nCount - nVisible));
        if (pBar)
            pBar->SetPos(nFirst, true);
    }
    void OnKeyDown(uint32_t key, uint32_t, uint32_t) override { keys.push_back(key); }
    int nCount = 40;
    int nVisible = 10;
    int nFirst = 0;
    CXScrollBar* pBar = nullptr;
    std::vector<uint32_t> keys;
};

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_dwNow = 1000;
        g_nClickSounds = 0;
        g_PointerKinds.clear();
        g_pfnControlClock = [] { return g_dwNow; };
        g_pfnPlayButtonClick = [] { ++g_nClickSounds; };
        g_pfnSetMousePointer = [](int nKind, int, int) { g_PointerKinds.push_back(nKind); };
        g_pfnControlCaptionText = [](uint32_t dwID) -> const char* {
            static const std::string kLong(150, 'x');
            switch (dwID) {
            case 1:
                return "Continue\tMatch";
            case 2:
                return kLong.c_str();
            default:
                return nullptr;
            }
        };
        m_screen.OnInitDialog();
    }
    void TearDown() override
    {
        m_screen.OnDestroy();
        g_pfnControlClock = &plat::milliseconds;
        g_pfnPlayButtonClick = nullptr;
        g_pfnSetMousePointer = nullptr;
        g_pfnControlCaptionText = nullptr;
        g_pfnSharedBitmap = nullptr;
    }
    CXButton* Button(uint32_t dwID, int x = 10, int y = 10)
    {
        return static_cast<CXButton*>(m_screen.AddControlXYWH(XCONTROL_BUTTON, x, y, 40, 20, dwID, nullptr));
    }
    // A press and a release at client points, as the screen routes them.
    void Press(int x, int y) { m_screen.OnLButtonDown(0, x, y); }
    void Release(int x, int y) { m_screen.OnLButtonUp(0, x, y); }
    void ClickAt(int x, int y)
    {
        Press(x, y);
        Release(x, y);
    }
    ControlScreen m_screen;
};

TEST_F(Controls, AddControlMakesTheBuiltTypesAndRefusesTheOthers)
{
    LogCapture log;
    EXPECT_NE(dynamic_cast<CXButton*>(m_screen.AddControl(XCONTROL_BUTTON, 0, 0, 10, 10, 1, nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<CXSlider*>(m_screen.AddControl(XCONTROL_SLIDER, 0, 0, 10, 10, 2, nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<CXScrollBar*>(m_screen.AddControl(XCONTROL_SCROLLBAR, 0, 0, 10, 10, 3, nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<CXStatic*>(m_screen.AddControl(XCONTROL_STATIC, 0, 0, 10, 10, 4, nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<CXListBox*>(m_screen.AddControl(XCONTROL_LISTBOX, 0, 0, 10, 10, 5, nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<CXEdit*>(m_screen.AddControl(XCONTROL_EDIT, 0, 0, 10, 10, 7, nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<CXListBoxEx*>(m_screen.AddControl(XCONTROL_LISTBOXEX, 0, 0, 10, 10, 8, nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<CXCalendar*>(m_screen.AddControl(XCONTROL_CALENDAR, 0, 0, 10, 10, 9, nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<CXComboList*>(m_screen.AddControl(XCONTROL_COMBOLIST, 0, 0, 10, 10, 10, nullptr)), nullptr);
    EXPECT_FALSE(log.Contains("Failed to create window control"));
    EXPECT_EQ(m_screen.AddControl(0, 0, 0, 10, 10, 6, nullptr), nullptr);
    EXPECT_EQ(m_screen.AddControl(XCONTROL_CALENDAR + 1, 0, 0, 10, 10, 6, nullptr), nullptr);
    EXPECT_TRUE(log.Contains("Failed to create window control"));
    EXPECT_EQ(m_screen.GetControlCount(), 9);
}

TEST_F(Controls, AButtonReportsAClickOnlyWhenPressedAndReleasedOverIt)
{
    CXButton* pButton = Button(7);
    ClickAt(20, 15);
    EXPECT_EQ(m_screen.events, std::vector<std::string>{"clicked 7"});
    EXPECT_EQ(g_nClickSounds, 1);

    // Released outside: the sound, the released look, no report.
    m_screen.events.clear();
    Press(20, 15);
    EXPECT_EQ(pButton->m_bPressed, 1);
    m_screen.OnMouseMove(0, 100, 100);
    EXPECT_EQ(pButton->m_bPressed, 0);
    Release(100, 100);
    EXPECT_TRUE(m_screen.events.empty());
    EXPECT_EQ(g_nClickSounds, 2);
    EXPECT_EQ(m_screen.m_pCaptured, nullptr);

    // A press that began elsewhere and ends on the button.
    Press(200, 200);
    Release(20, 15);
    EXPECT_TRUE(m_screen.events.empty());

    pButton->OnLButtonDblClk(0, 1, 1);
    EXPECT_EQ(m_screen.events, std::vector<std::string>{"double 7"});
}

TEST_F(Controls, TogglesFlipRadioButtonsStayCheckedAndReleaseTheirGroup)
{
    CXButton* pPlain = Button(1, 10, 10);
    CXButton* pRadioA = Button(2, 60, 10);
    CXButton* pRadioB = Button(3, 110, 10);
    CXButton* pOtherGroup = Button(4, 160, 10);
    pPlain->SetToggleTextID(nullptr, 0, 0);
    pRadioA->SetToggleTextID(nullptr, 0, 1);
    pRadioB->SetToggleTextID(nullptr, 0, 1);
    pOtherGroup->SetToggleTextID(nullptr, 0, 2);
    pOtherGroup->SetChecked(1);
    pOtherGroup->SetPressed(1);

    ClickAt(20, 15);
    EXPECT_EQ(pPlain->m_bChecked, 1);
    EXPECT_EQ(pPlain->m_bPressed, 1);
    ClickAt(20, 15);
    EXPECT_EQ(pPlain->m_bChecked, 0);
    EXPECT_EQ(pPlain->m_bPressed, 0);

    ClickAt(70, 15);
    ClickAt(70, 15);
    EXPECT_EQ(pRadioA->m_bChecked, 1);
    ClickAt(120, 15);
    EXPECT_EQ(pRadioB->m_bChecked, 1);
    EXPECT_EQ(pRadioA->m_bChecked, 0);
    EXPECT_EQ(pRadioA->m_bPressed, 0);
    EXPECT_EQ(pOtherGroup->m_bChecked, 1);
    EXPECT_EQ(pOtherGroup->m_bPressed, 1);
}

TEST_F(Controls, CaptionsSplitAtTheTabAndAreCutToTheirBuffer)
{
    CXButton* pTwoLines = Button(1);
    pTwoLines->SetTextID(nullptr, 0);
    EXPECT_STREQ(pTwoLines->Caption(), "Continue");
    EXPECT_STREQ(pTwoLines->SecondLine(), "Match");
    EXPECT_EQ(pTwoLines->m_bTwoLineCaption, 1);

    CXButton* pLong = Button(2);
    pLong->SetTextID(nullptr, 0);
    EXPECT_EQ(std::string(pLong->Caption()), std::string(BUTTON_CAPTION_SIZE - 1, 'x'));

    CXButton* pNone = Button(3);
    pNone->SetTextID(nullptr, 0);
    EXPECT_EQ(pNone->m_bHasCaption, 0);
    EXPECT_EQ(pNone->Mode(), CXButton::MODE_TEXT);
}

TEST_F(Controls, TwoCaptionLinesStandApartWithinTheButton)
{
    // The navigation bar's 74 x 22 buttons with their 12-pixel font.
    CXButton* pButton = Button(1);
    pButton->SetTextID(nullptr, 0);
    std::unique_ptr<plat::Font> pFont(plat::Font::create(12, 100, "Arial"));
    pButton->m_hFont = pFont.get();
    CXSurface surface;
    ASSERT_NE(surface.Create(74, 22, true, false), nullptr);
    surface.m_pSurface->fill(nullptr, 0);
    pButton->DrawCaption(&surface, plat::Rect{0, 0, 74, 22}, 0xFFFFFF);
    std::vector<bool> inked(22, false);
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 74; ++x)
            inked[size_t(y)] = inked[size_t(y)] || surface.m_pSurface->pixel(x, y) != 0;
    // Ink, a blank row, ink again: two lines, neither run into the other.
    const auto firstInk = std::find(inked.begin(), inked.end(), true);
    const auto gap = std::find(firstInk, inked.end(), false);
    ASSERT_NE(gap, inked.end());
    EXPECT_NE(std::find(gap, inked.end(), true), inked.end()) << "the second line is below the first";
}

TEST_F(Controls, HoldToRepeatComesFasterAndNeverAtANegativeDelay)
{
    struct Case {
        uint32_t dwDelay, dwStep;
        std::vector<uint32_t> gaps;  // between repeats, the first after the press
    };
    const Case cases[] = {{250, 20, {250, 230, 211, 193, 176}}, {30, 20, {30, 10, 0, 0, 0}}};
    for (const Case& c : cases) {
        SetUp();
        CXButton* pButton = Button(9);
        pButton->m_dwRepeatDelay = c.dwDelay;
        pButton->m_dwRepeatStep = c.dwStep;
        Press(20, 15);
        for (uint32_t dwGap : c.gaps) {
            m_screen.events.clear();
            g_dwNow += dwGap;
            pButton->Paint();
            EXPECT_TRUE(m_screen.events.empty()) << "repeat at the gap itself: " << dwGap;
            g_dwNow += 1;
            pButton->Paint();
            EXPECT_EQ(m_screen.events, std::vector<std::string>{"clicked 9"}) << "gap " << dwGap;
        }
        Release(20, 15);
        m_screen.events.clear();
        g_dwNow += 1000;
        pButton->Paint();
        EXPECT_TRUE(m_screen.events.empty());
        TearDown();
    }
}

TEST_F(Controls, ASwapButtonGivesWayToItsSiblingOrReportsItselfWithoutOne)
{
    CXButton* pPlay = Button(1);
    CXButton* pReplay = Button(2);
    pReplay->m_bVisible = 0;
    pPlay->m_dwSwapID = 2;
    ClickAt(20, 15);
    EXPECT_EQ(m_screen.events, std::vector<std::string>{"clicked 2"});
    EXPECT_EQ(pPlay->m_bVisible, 0);
    EXPECT_EQ(pReplay->m_bVisible, 1);

    m_screen.events.clear();
    pReplay->m_dwSwapID = 99;
    ClickAt(20, 15);
    EXPECT_EQ(m_screen.events, std::vector<std::string>{"clicked 2"});
    EXPECT_EQ(pReplay->m_bVisible, 1);
}

TEST_F(Controls, ADisabledButtonKeepsItsPressedLookButTakesNoInput)
{
    CXButton* pButton = Button(5);
    pButton->Enable(true);
    EXPECT_EQ(pButton->m_bPressed, 1);
    EXPECT_EQ(pButton->m_bVisible, 0);
    pButton->OnLButtonDown(0, 5, 5);
    pButton->OnLButtonUp(0, 5, 5);
    EXPECT_TRUE(m_screen.events.empty());
    EXPECT_EQ(g_nClickSounds, 0);
    m_screen.ShowAllControls(true);
    EXPECT_EQ(pButton->m_bVisible, 0);

    pButton->Enable(false);
    EXPECT_EQ(pButton->m_bVisible, 1);
    ClickAt(20, 15);
    EXPECT_EQ(m_screen.events, std::vector<std::string>{"clicked 5"});
}

TEST_F(Controls, ABitmapButtonDrawsTheLookOfItsState)
{
    // Four looks side by side, each a colour of its own.
    CXSurface face;
    ASSERT_TRUE(face.Create(160, 20, false, true));
    const COLORREF looks[] = {plat::RGB(255, 0, 0), plat::RGB(0, 255, 0), plat::RGB(0, 0, 255),
                              plat::RGB(255, 255, 0)};
    plat::DeviceContext* pDC = face.m_pSurface->getDC();
    for (int i = 0; i < 4; ++i) {
        plat::Brush* pBrush = plat::Brush::createSolid(looks[i]);
        pDC->fillRect({i * 40, 0, i * 40 + 40, 20}, pBrush);
        delete pBrush;
    }
    face.m_pSurface->releaseDC(pDC);
    struct Case {
        bool bHighlightFrame, bPressedFrame;
        uint8_t bPressed, bHighlighted;
        int nLook;
    };
    const Case cases[] = {
        {true, true, 0, 0, 0}, {true, true, 1, 0, 1},  {true, true, 0, 1, 2}, {true, true, 1, 1, 1},
        {true, false, 1, 0, 0}, {true, false, 0, 1, 1}, {false, true, 0, 1, 0}, {false, false, 1, 1, 0},
    };
    CXButton* pButton = Button(1, 100, 100);
    for (const Case& c : cases) {
        pButton->m_bPressed = c.bPressed;
        pButton->m_bHighlighted = c.bHighlighted;
        pButton->SetBitmap(&face, 0, 0, c.bHighlightFrame, c.bPressedFrame);
        EXPECT_EQ(m_screen.m_pDrawingSurface->m_pSurface->pixel(120, 110),
                  static_cast<uint16_t>(face.ColorMatch(looks[c.nLook])))
            << c.bHighlightFrame << c.bPressedFrame << int(c.bPressed) << int(c.bHighlighted);
    }
    // Hidden, it draws nothing.
    m_screen.m_pDrawingSurface->Fill(0);
    pButton->m_bVisible = 0;
    pButton->Draw();
    EXPECT_EQ(m_screen.m_pDrawingSurface->m_pSurface->pixel(120, 110), 0);
}

TEST_F(Controls, ALabelCutsAWideTextAndShowsItWholeAsItsTooltip)
{
    plat::Font* pFont = plat::Font::create(14, 400, "Arial");
    ASSERT_NE(pFont, nullptr);
    auto* pLabel = static_cast<CXStatic*>(m_screen.AddControlXYWH(XCONTROL_STATIC, 10, 10, 60, 18, 1, nullptr));
    pLabel->m_hFont = pFont;
    char szTip[TOOLTIP_TEXT_SIZE] = {};
    pLabel->SetText("Short");
    EXPECT_EQ(pLabel->m_bCut, 0);
    pLabel->GetToolTipText(szTip);
    EXPECT_STREQ(szTip, "");
    pLabel->SetText("%s and %d more words", "A text", 5);
    EXPECT_EQ(pLabel->m_bCut, 1);
    pLabel->GetToolTipText(szTip);
    EXPECT_STREQ(szTip, "A text and 5 more words");
    pLabel->SetText("%s", std::string(200, 'y').c_str());
    EXPECT_EQ(std::string(pLabel->Text()), std::string(STATIC_TEXT_SIZE - 1, 'y'));
    m_screen.RemoveControl(0);
    delete pFont;
}

TEST_F(Controls, OnlyAClickableLabelReportsClicksAndChangesThePointer)
{
    auto* pLabel = static_cast<CXStatic*>(m_screen.AddControlXYWH(XCONTROL_STATIC, 10, 10, 60, 18, 3, nullptr));
    pLabel->m_bPointer = 1;
    m_screen.OnMouseMove(0, 20, 15);
    ClickAt(20, 15);
    pLabel->OnLButtonDblClk(0, 5, 5);
    m_screen.OnMouseMove(0, 200, 200);
    EXPECT_TRUE(m_screen.events.empty());
    EXPECT_TRUE(g_PointerKinds.empty());

    pLabel->m_bClickable = 1;
    m_screen.OnMouseMove(0, 20, 15);
    EXPECT_EQ(pLabel->m_bHover, 1);
    ClickAt(20, 15);
    pLabel->OnLButtonDblClk(0, 5, 5);
    m_screen.OnMouseMove(0, 200, 200);
    EXPECT_EQ(pLabel->m_bHover, 0);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"clicked 3", "double 3"}));
    EXPECT_EQ(g_PointerKinds, (std::vector<int>{1, 0}));
}

TEST_F(Controls, AlignedImagesSitLeftRightOrCentredAndOtherAlignmentsAddNone)
{
    CXSurface sheet;
    ASSERT_TRUE(sheet.Create(12, 13, false, true));
    CXAnimation image;
    image.Setup(&sheet, 12, 13, 0, 0, 1, 1);
    auto* pLabel = static_cast<CXStatic*>(m_screen.AddControlXYWH(XCONTROL_STATIC, 10, 20, 100, 24, 1, nullptr));
    struct Case {
        int nAlignment;
        int x;  // in the owner's coordinates; -1 none
    };
    for (const Case& c : {Case{0, 15}, Case{2, 10 + 100 - 12 - 5}, Case{6, 10 + 50 - 6}, Case{1, -1}}) {
        pLabel->SetAlignedImage(&image, c.nAlignment);
        if (c.x < 0) {
            EXPECT_TRUE(pLabel->Images().empty());
            continue;
        }
        ASSERT_EQ(pLabel->Images().size(), 1u);
        EXPECT_EQ(pLabel->Images()[0].x, c.x) << c.nAlignment;
        EXPECT_EQ(pLabel->Images()[0].y, 25);
        EXPECT_EQ(pLabel->Images()[0].bOverlay, 1);
    }
}

class ScrollBars : public Controls {
protected:
    void SetUp() override
    {
        Controls::SetUp();
        m_pLines = static_cast<Lines*>(m_screen.AddControl(new Lines, 0, 10, 10, 100, 170, 50, nullptr));
        // A track of 100 pixels from y 30 between its arrows.
        m_pBar = static_cast<CXScrollBar*>(m_screen.AddControl(XCONTROL_SCROLLBAR, 100, 30, 116, 130, 60, nullptr));
        m_pBar->Create(61, 62, 16, false, 0);
        m_pBar->SetLinkedControl(m_pLines, m_pLines);
        m_pLines->pBar = m_pBar;
        m_pBar->SetRange(0, m_pLines->nCount - m_pLines->nVisible);
        m_pBar->Show(true, false);
    }
    Lines* m_pLines = nullptr;
    CXScrollBar* m_pBar = nullptr;
};

TEST_F(ScrollBars, ArrowsScrollALineAClickAndRepeatWhileHeld)
{
    ASSERT_NE(m_pBar->DownButton(), nullptr);
    EXPECT_EQ(m_pBar->DownButton()->m_nTop, 130);
    EXPECT_EQ(m_pBar->UpButton()->m_nBottom, 30);
    ClickAt(105, 135);
    EXPECT_EQ(m_pLines->nFirst, 1);
    EXPECT_EQ(m_pBar->GetPos(), 1);
    Press(105, 135);
    g_dwNow += 251;
    m_screen.OnPaint();
    EXPECT_EQ(m_pLines->nFirst, 2);
    g_dwNow += 231;
    m_screen.OnPaint();
    EXPECT_EQ(m_pLines->nFirst, 3);
    // The release is the click of the press.
    Release(105, 135);
    EXPECT_EQ(m_pLines->nFirst, 4);
    ClickAt(105, 20);
    EXPECT_EQ(m_pLines->nFirst, 3);
    // A sub-control, shown by its bar only.
    m_pBar->Show(false, false);
    m_screen.ShowAllControls(true);
    EXPECT_EQ(m_pBar->m_bVisible, 0);
    EXPECT_EQ(m_pBar->DownButton()->m_bVisible, 0);
    // An arrow the screen removed is left alone.
    m_screen.RemoveControlByID(62);
    m_pBar->Show(true, false);
    m_pBar->Move(100, 40, 16, 100, false);
    EXPECT_EQ(m_pBar->UpButton()->m_nTop, 24);
}

TEST_F(ScrollBars, HoldingTheTrackPagesTowardsThePressOnEveryFrame)
{
    m_pLines->ScrollToLine(20);
    ASSERT_GT(m_pBar->ThumbTop(), 60);
    Press(108, 40);
    m_screen.OnPaint();
    m_screen.OnPaint();
    Release(108, 40);
    m_screen.OnPaint();
    EXPECT_EQ(m_pLines->keys, (std::vector<uint32_t>{plat::VK_PRIOR, plat::VK_PRIOR}));
    m_pLines->keys.clear();
    Press(108, 128);
    m_screen.OnPaint();
    Release(108, 128);
    EXPECT_EQ(m_pLines->keys, std::vector<uint32_t>{plat::VK_NEXT});
    EXPECT_EQ(m_screen.m_pFocused, m_pLines);
}

TEST_F(ScrollBars, DraggingTheThumbScrollsInProportionUpToTheLastFullView)
{
    // Ten of forty lines in view: a 25-pixel thumb with 75 pixels to travel.
    EXPECT_EQ(m_pBar->ThumbBottom() - m_pBar->ThumbTop(), 25);
    Press(108, 35);
    m_screen.OnMouseMove(0, 108, 35 + 30);
    EXPECT_EQ(m_pLines->nFirst, 12);
    m_screen.OnMouseMove(0, 108, 400);
    EXPECT_EQ(m_pLines->nFirst, 30);
    EXPECT_EQ(m_pBar->ThumbBottom(), 130);
    Release(108, 400);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"begin 60", "scroll 60", "scroll 60", "end 60"}));
    EXPECT_EQ(m_screen.m_pCaptured, nullptr);
}

TEST_F(ScrollBars, AtTheLastFullViewTheThumbMeetsTheTrackBottomWhateverTheRangeSays)
{
    // A list tells its bar all its lines as the range, not the last first line.
    m_pBar->SetRange(0, m_pLines->nCount);
    m_pLines->ScrollToLine(30);
    EXPECT_EQ(m_pBar->ThumbBottom(), 130);
    m_pLines->ScrollToLine(15);
    EXPECT_EQ(m_pBar->ThumbTop(), 30 + 75 / 2);
    // Dragging to the bottom and letting go leaves it there.
    Press(108, m_pBar->ThumbTop() + 2);
    m_screen.OnMouseMove(0, 108, 400);
    Release(108, 400);
    EXPECT_EQ(m_pLines->nFirst, 30);
    EXPECT_EQ(m_pBar->ThumbBottom(), 130);
}

TEST_F(ScrollBars, WithEveryLineInViewTheThumbFillsTheTrackAndDoesNotMove)
{
    m_pLines->nCount = 8;
    m_pBar->SetPos(0, true);
    EXPECT_EQ(m_pBar->ThumbTop(), 30);
    EXPECT_EQ(m_pBar->ThumbBottom(), 130);
    Press(108, 60);
    m_screen.OnMouseMove(0, 108, 120);
    Release(108, 120);
    EXPECT_EQ(m_pLines->nFirst, 0);
    EXPECT_EQ(m_pBar->GetPos(), 0);
}

TEST_F(ScrollBars, ABarWithoutArrowsAndAnUnknownButtonId)
{
    const int nCount = m_screen.GetControlCount();
    auto* pBare = static_cast<CXScrollBar*>(m_screen.AddControl(XCONTROL_SCROLLBAR, 200, 30, 216, 130, 70, nullptr));
    pBare->Create(71, 72, 0, false, 0);
    EXPECT_EQ(m_screen.GetControlCount(), nCount + 1);
    EXPECT_EQ(pBare->UpButton(), nullptr);
    LogCapture log;
    m_pBar->OnScrollButton(99);
    EXPECT_TRUE(log.Contains("Unknown scroll button clicked!"));
    EXPECT_EQ(m_pLines->nFirst, 0);
}

class Sliders : public Controls {
protected:
    void SetUp() override
    {
        Controls::SetUp();
        ASSERT_TRUE(m_sheet.Create(32, 18, false, true));
        m_thumb.Setup(&m_sheet, 8, 18, 0, 0, 4, 4);
        // A track from x 100 to 300 at y 50.
        m_pSlider = static_cast<CXSlider*>(m_screen.AddControl(XCONTROL_SLIDER, 100, 41, 300, 59, 80, nullptr));
        m_pSlider->SetUp(&m_thumb);
        m_pSlider->SetRange(0, 20);
    }
    CXSurface m_sheet;
    CXAnimation m_thumb;
    CXSlider* m_pSlider = nullptr;
};

TEST_F(Sliders, SetPosClampsAndPlacesTheThumbOnTheTrack)
{
    EXPECT_EQ(m_pSlider->m_nLeft, 96);
    EXPECT_EQ(m_pSlider->m_nRight, 304);
    m_pSlider->SetPos(-5);
    EXPECT_EQ(m_pSlider->GetValue(), 0);
    EXPECT_EQ(m_pSlider->ThumbX(), 100);
    m_pSlider->SetPos(5);
    EXPECT_EQ(m_pSlider->ThumbX(), 150);
    m_pSlider->SetPos(99);
    EXPECT_EQ(m_pSlider->ThumbX(), 300);
    // An empty range keeps the thumb at the left.
    m_pSlider->SetRange(7, 7);
    m_pSlider->SetPos(9);
    EXPECT_EQ(m_pSlider->GetValue(), 7);
    EXPECT_EQ(m_pSlider->ThumbX(), 100);
}

TEST_F(Sliders, OnlyAPressOnTheThumbDragsAndTheEndsHold)
{
    m_pSlider->SetPos(5);
    Press(170, 50);
    m_screen.OnMouseMove(0, 250, 50);
    Release(250, 50);
    EXPECT_EQ(m_pSlider->GetValue(), 5);
    EXPECT_EQ(m_pSlider->ThumbX(), 150);
    EXPECT_TRUE(m_screen.events.empty());

    Press(152, 50);
    m_screen.OnMouseMove(0, 250, 50);
    EXPECT_EQ(m_pSlider->GetValue(), 15);
    m_screen.OnMouseMove(0, 390, 50);
    EXPECT_EQ(m_pSlider->GetValue(), 20);
    EXPECT_EQ(m_pSlider->ThumbX(), 300);
    Release(390, 50);
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"begin 80", "scroll 80", "scroll 80", "end 80"}));
    EXPECT_EQ(m_screen.m_pCaptured, nullptr);
}

TEST_F(Sliders, TheThumbFrameStaysWithinTheAnimation)
{
    for (const bool bFollow : {true, false}) {
        m_pSlider->m_bFramesFollowPosition = bFollow ? 1 : 0;
        for (int x = 90; x <= 310; x += 7) {
            m_pSlider->MoveThumb(x);
            EXPECT_GE(m_pSlider->Frame(), 0);
            EXPECT_LT(m_pSlider->Frame(), 4);
        }
    }
    // Following the place, the left end shows the first frame and the
    // frames run backwards along the track.
    m_pSlider->m_bFramesFollowPosition = 1;
    m_pSlider->MoveThumb(100);
    EXPECT_EQ(m_pSlider->Frame(), 0);
    m_pSlider->MoveThumb(160);
    EXPECT_EQ(m_pSlider->Frame(), 3);
}

}  // namespace

namespace {

class TitledPopup : public CXPopup {
public:
    TitledPopup() { SetClientRect(100, 100, 200, 120); }
    std::vector<uint32_t> clicks;
    void OnClicked(uint32_t dwID) override
    {
        CXPopup::OnClicked(dwID);
        clicks.push_back(dwID);
    }
};

TEST(PopupTitleButtons, SitAtTheTopRightAndADisabledOneTakesNoClick)
{
    CXPopup::ResetStack();
    TitledPopup popup;
    ASSERT_TRUE(popup.Open());
    popup.AddCloseButton(false, true);
    CXControl* pHelp = popup.FindControl(POPUP_HELP_BUTTON_ID);
    CXControl* pClose = popup.FindControl(POPUP_CLOSE_BUTTON_ID);
    ASSERT_NE(pHelp, nullptr);
    ASSERT_NE(pClose, nullptr);
    EXPECT_EQ(pHelp->m_nLeft, 200 - 26);
    EXPECT_EQ(pClose->m_nLeft, 200 - 44);
    EXPECT_EQ(pHelp->m_nTop, 9);
    EXPECT_EQ(pHelp->Width(), 16);
    EXPECT_EQ(pClose->m_bVisible, 0);
    popup.OnLButtonDown(0, 200 - 40, 12);
    popup.OnLButtonUp(0, 200 - 40, 12);
    EXPECT_TRUE(popup.clicks.empty());
    popup.OnLButtonDown(0, 200 - 20, 12);
    popup.OnLButtonUp(0, 200 - 20, 12);
    EXPECT_EQ(popup.clicks, std::vector<uint32_t>{POPUP_HELP_BUTTON_ID});
    EXPECT_EQ(popup.m_dwResultID, POPUP_HELP_BUTTON_ID);

    // Below a keyed title strip they sit lower.
    popup.m_bKeyedTitleStrip = 1;
    popup.RemoveControlByID(POPUP_HELP_BUTTON_ID);
    popup.RemoveControlByID(POPUP_CLOSE_BUTTON_ID);
    popup.AddCloseButton(true, true);
    EXPECT_EQ(popup.FindControl(POPUP_CLOSE_BUTTON_ID)->m_nTop, 34);
    EXPECT_EQ(popup.FindControl(POPUP_CLOSE_BUTTON_ID)->m_bVisible, 1);
    popup.Close();
}

}  // namespace
