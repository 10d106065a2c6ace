// The edit control and its popup: what typing, keys and spin clicks do to the
// text, what reaches the owner, and what is drawn.
#include "../shell/LogCapture.h"
#include "PngPicture.h"

#include "xframework/CXButton.h"
#include "xframework/CXClient.h"
#include "xframework/CXEdit.h"
#include "xframework/CXEditPopup.h"
#include "xframework/DrawingFunctions.h"

#include "platform/DeviceContext.h"
#include "platform/Font.h"
#include "platform/Messages.h"
#include "platform/PngWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<int> g_PointerKinds;

class EditScreen : public CXClient {
public:
    EditScreen() { SetClientRect(100, 50, 300, 200); }
    void OnClicked(uint32_t dwID) override { events.push_back("clicked " + std::to_string(dwID)); }
    void OnEditChange(CXControl* pEdit) override
    {
        events.push_back("change " + std::string(static_cast<CXEdit*>(pEdit)->Text()));
    }
    void OnEditEnd(uint32_t dwID) override { events.push_back("end " + std::to_string(dwID)); }
    void OnListNotify(uint32_t dwID) override { events.push_back("notify " + std::to_string(dwID)); }
    std::vector<std::string> events;
};

class Edits : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_PointerKinds.clear();
        g_pfnSetMousePointer = [](int nKind, int, int) { g_PointerKinds.push_back(nKind); };
        m_pFont.reset(plat::Font::create(14, 400, "Arial"));
        ASSERT_NE(m_pFont, nullptr);
        // A grey background, so that the frame and the shading show.
        m_screen.m_pBackground = new CXSurface;
        ASSERT_TRUE(m_screen.m_pBackground->Create(m_screen.Width(), m_screen.Height(), false, true));
        plat::DeviceContext* pDC = m_screen.m_pBackground->m_pSurface->getDC();
        DrawFilledRect(pDC, 0, 0, m_screen.Width(), m_screen.Height(), plat::RGB(96, 96, 96));
        m_screen.m_pBackground->m_pSurface->releaseDC(pDC);
        m_screen.OnInitDialog();
    }
    void TearDown() override
    {
        m_screen.OnDestroy();
        g_pfnSetMousePointer = nullptr;
        SetNumberSeparatorOption(0);
    }
    CXEdit* Edit(int nMaxLength, bool bNumeric, int nWidth = 200)
    {
        auto* pEdit = static_cast<CXEdit*>(m_screen.AddControlXYWH(XCONTROL_EDIT, 20, 30, nWidth, 18, 7, nullptr));
        pEdit->m_hFont = m_pFont.get();
        if (bNumeric) {
            pEdit->m_bAllowLetters = 0;
            pEdit->m_bAllowOthers = 0;
        }
        pEdit->SetMaxLength(nMaxLength);
        return pEdit;
    }
    static void Type(CXEdit* pEdit, const std::string& keys)
    {
        for (char c : keys)
            pEdit->OnChar(static_cast<uint8_t>(c), 1, 0);
    }
    uint16_t DrawnPixel(int x, int y) const { return m_screen.m_pDrawingSurface->m_pSurface->pixel(x, y); }
    uint16_t Colour(COLORREF cr) const { return static_cast<uint16_t>(m_screen.m_pDrawingSurface->ColorMatch(cr)); }
    std::unique_ptr<plat::Font> m_pFont;
    EditScreen m_screen;
};

TEST_F(Edits, TypingANumberKeepsItsSeparatorsAndTheCaretAfterTheLastDigit)
{
    CXEdit* pEdit = Edit(20, true);
    Type(pEdit, "1234567");
    EXPECT_STREQ(pEdit->Text(), "1,234,567");
    EXPECT_EQ(pEdit->Caret(), 9u);

    // Editing in the middle: the caret stays after the same digit.
    pEdit->OnKeyDown(plat::VK_HOME, 1, 0);
    pEdit->OnKeyDown(plat::VK_RIGHT, 1, 0);
    Type(pEdit, "9");
    EXPECT_STREQ(pEdit->Text(), "19,234,567");
    EXPECT_EQ(pEdit->Text()[pEdit->Caret() - 1], '9');
    pEdit->OnChar(plat::VK_BACK, 1, 0);
    EXPECT_STREQ(pEdit->Text(), "1,234,567");
    EXPECT_EQ(pEdit->Caret(), 1u);
    pEdit->OnKeyDown(plat::VK_DELETE, 1, 0);
    EXPECT_STREQ(pEdit->Text(), "1,234,567") << "the separator goes and comes back";
    pEdit->OnKeyDown(plat::VK_RIGHT, 1, 0);
    pEdit->OnKeyDown(plat::VK_DELETE, 1, 0);
    EXPECT_STREQ(pEdit->Text(), "134,567");

    // Money under a Currency option with other separators.
    CXEdit* pMoney = static_cast<CXEdit*>(m_screen.AddControlXYWH(XCONTROL_EDIT, 20, 60, 200, 18, 8, nullptr));
    pMoney->m_bAllowLetters = pMoney->m_bAllowOthers = 0;
    pMoney->m_bMoney = 1;
    pMoney->SetMaxLength(12);
    SetNumberSeparatorOption(1);
    Type(pMoney, "2500000");
    EXPECT_STREQ(pMoney->Text(), "2.500.000");

    // A number that is no amount keeps its digits together.
    CXEdit* pYear = static_cast<CXEdit*>(m_screen.AddControlXYWH(XCONTROL_EDIT, 20, 90, 200, 18, 9, nullptr));
    pYear->m_bAllowLetters = pYear->m_bAllowOthers = 0;
    pYear->m_bGrouped = 0;
    pYear->SetMaxLength(4);
    Type(pYear, "19605");
    EXPECT_STREQ(pYear->Text(), "1960");
    EXPECT_EQ(pYear->ReadNumber(), 1960);
}

TEST_F(Edits, CharactersAreTakenByKindAndOnlyWhileTheyFit)
{
    struct Case {
        uint8_t bLetters, bDigits, bOthers;
        const char* pszTyped;
        const char* pszKept;
    };
    const Case cases[] = {
        {0, 1, 0, "a1 -B2", "12"},
        {1, 0, 0, "a1 -B2", "aB"},
        {0, 0, 1, "a1 -B2", " -"},
        {1, 1, 1, "a1 -B2", "a1 -B2"},
    };
    for (const Case& c : cases) {
        CXEdit* pEdit = Edit(20, false);
        pEdit->m_bAllowLetters = c.bLetters;
        pEdit->m_bAllowDigits = c.bDigits;
        pEdit->m_bAllowOthers = c.bOthers;
        Type(pEdit, c.pszTyped);
        EXPECT_STREQ(pEdit->Text(), c.pszKept) << c.pszTyped;
        m_screen.RemoveControl(0);
    }

    // The most characters typing may reach.
    CXEdit* pShort = Edit(4, false);
    Type(pShort, "abcdefg");
    EXPECT_STREQ(pShort->Text(), "abcd");
    m_screen.RemoveControl(0);

    // A box full to its width refuses more though the text is short.
    CXEdit* pNarrow = Edit(50, false, 40);
    Type(pNarrow, std::string(50, 'W'));
    const std::string kept = pNarrow->Text();
    EXPECT_GT(kept.size(), 0u);
    EXPECT_LT(kept.size(), 50u);
    EXPECT_EQ(pNarrow->Caret(), kept.size());
}

TEST_F(Edits, CaretKeysStopAtTheEndsAndReadOnlyIgnoresInput)
{
    CXEdit* pEdit = Edit(20, false);
    pEdit->SetText("%s", "abc");
    pEdit->OnKeyDown(plat::VK_RIGHT, 1, 0);
    EXPECT_EQ(pEdit->Caret(), 3u);
    pEdit->OnKeyDown(plat::VK_HOME, 1, 0);
    const int nCaretXAtStart = pEdit->CaretX();
    pEdit->OnKeyDown(plat::VK_LEFT, 1, 0);
    pEdit->OnChar(plat::VK_BACK, 1, 0);
    EXPECT_EQ(pEdit->Caret(), 0u);
    EXPECT_STREQ(pEdit->Text(), "abc");
    // The caret's screen x counts the owner's place on the display.
    EXPECT_EQ(nCaretXAtStart, m_screen.m_nLeft + pEdit->m_nLeft + 2);
    pEdit->OnKeyDown(plat::VK_END, 1, 0);
    EXPECT_EQ(pEdit->Caret(), 3u);
    EXPECT_GT(pEdit->CaretX(), nCaretXAtStart);

    m_screen.events.clear();
    pEdit->m_bReadOnly = 1;
    Type(pEdit, "xyz");
    pEdit->OnChar(plat::VK_BACK, 1, 0);
    pEdit->OnKeyDown(plat::VK_HOME, 1, 0);
    pEdit->OnKeyDown(plat::VK_DELETE, 1, 0);
    pEdit->OnMouseMove(0, 1, 1);
    EXPECT_STREQ(pEdit->Text(), "abc");
    EXPECT_EQ(pEdit->Caret(), 3u);
    EXPECT_TRUE(m_screen.events.empty());
    EXPECT_TRUE(g_PointerKinds.empty());
    pEdit->m_bReadOnly = 0;
    pEdit->OnMouseMove(0, 1, 1);
    pEdit->OnMouseLeave();
    EXPECT_EQ(g_PointerKinds, (std::vector<int>{2, 0}));
}

// A chosen text gives way to the first character typed, Backspace or
// Delete; a caret key lets it go and the text stays to be added to.
TEST_F(Edits, AChosenTextIsReplacedByTypingAndLetGoByACaretKey)
{
    struct Step {
        bool bKey;  // OnKeyDown, else OnChar
        uint32_t code;
    };
    const Step kTyped{false, 'x'}, kBack{false, plat::VK_BACK}, kTab{false, plat::VK_TAB};
    const Step kDelete{true, plat::VK_DELETE}, kHome{true, plat::VK_HOME}, kEnd{true, plat::VK_END};
    const struct {
        std::vector<Step> steps;
        const char* pszText;
        uint32_t nCaret;
    } kCases[] = {
        {{kTyped}, "x", 1},        {{kTyped, kTyped}, "xx", 2}, {{kBack}, "", 0},          {{kDelete}, "", 0},
        {{kTab, kTyped}, "x", 1},  {{kHome, kTyped}, "xname", 1}, {{kEnd, kBack}, "nam", 3}, {{kEnd, kTyped}, "namex", 5},
    };
    CXEdit* pEdit = Edit(10, false);
    for (const auto& test : kCases) {
        pEdit->SetText("%s", "name");
        pEdit->ChooseAll();
        ASSERT_TRUE(pEdit->IsAllChosen());
        for (const Step& step : test.steps)
            step.bKey ? pEdit->OnKeyDown(step.code, 1, 0) : pEdit->OnChar(step.code, 1, 0);
        EXPECT_STREQ(pEdit->Text(), test.pszText);
        EXPECT_EQ(pEdit->Caret(), test.nCaret) << test.pszText;
        EXPECT_FALSE(pEdit->IsAllChosen()) << test.pszText;
    }
    // The owner hears of the text that replaced the chosen one.
    pEdit->SetText("%s", "name");
    pEdit->ChooseAll();
    m_screen.events.clear();
    Type(pEdit, "x");
    EXPECT_EQ(m_screen.events, (std::vector<std::string>{"change x"}));
    // New text lets the choice go; an empty text has nothing to choose.
    pEdit->ChooseAll();
    pEdit->SetText("%s", "other");
    EXPECT_FALSE(pEdit->IsAllChosen());
    pEdit->SetText("%s", "");
    pEdit->ChooseAll();
    EXPECT_FALSE(pEdit->IsAllChosen());

    // Shown, a chosen text stands out on the focus colour.
    pEdit->SetText("%s", "name");
    pEdit->Show(true, true);
    auto focusColourInside = [&]() {
        int n = 0;
        for (int y = 31; y < 48; ++y)
            for (int x = 21; x < 220; ++x)
                n += DrawnPixel(x, y) == Colour(0x0000FFFF) ? 1 : 0;
        return n;
    };
    const int nPlain = focusColourInside();
    pEdit->ChooseAll();
    EXPECT_GT(focusColourInside(), nPlain + 100);
    pEdit->OnKeyDown(plat::VK_END, 1, 0);
    pEdit->Draw();
    EXPECT_EQ(focusColourInside(), nPlain);
}

TEST_F(Edits, SetTextIsCutToTheRoomOfTheText)
{
    CXEdit* pEdit = Edit(5, false);
    pEdit->SetText("%s", std::string(100, 'z').c_str());
    EXPECT_EQ(std::string(pEdit->Text()), std::string(pEdit->Capacity() - 1, 'z'));
    EXPECT_EQ(pEdit->Capacity(), 5 + EDIT_TEXT_SLACK);
    EXPECT_EQ(pEdit->Caret(), static_cast<uint32_t>(pEdit->Capacity() - 1));
}

TEST_F(Edits, MoneyUnderTheCurrencyWithALongerAmountGetsOneMoreDigitAndAConvertedMaximum)
{
    g_pfnConvertCurrency = [](double dAmount) { return dAmount * 2.5; };
    struct Case {
        int nCurrency;
        uint8_t bMoney;
        int nMaxLength, nMaximum;
    };
    const Case cases[] = {{2, 1, 9, 2500}, {2, 0, 8, 1000}, {0, 1, 8, 1000}, {1, 1, 8, 1000}};
    for (const Case& c : cases) {
        SetNumberSeparatorOption(c.nCurrency);
        CXEdit* pEdit = Edit(0, true);
        pEdit->m_bMoney = c.bMoney;
        pEdit->SetMaxLength(8);
        pEdit->SetNumericRange(true, 10, 1000);
        EXPECT_EQ(pEdit->MaxLength(), c.nMaxLength) << c.nCurrency << int(c.bMoney);
        EXPECT_EQ(pEdit->m_nMaximum, c.nMaximum) << c.nCurrency << int(c.bMoney);
        EXPECT_EQ(pEdit->m_nMinimum, 10);
        m_screen.RemoveControl(0);
    }
    g_pfnConvertCurrency = nullptr;
}

TEST_F(Edits, SpinClicksStepTheValueAndTheRangeHoldsOnlyWhenChecked)
{
    struct Case {
        bool bRangeCheck;
        const char* pszStart;
        uint32_t dwButton;
        const char* pszAfter;
    };
    const Case cases[] = {
        {true, "1,000", 51, "1,500"},   {true, "100", 52, "50"},   {true, "1,900", 51, "2,000"},
        {false, "1,900", 51, "2,400"},  {true, "20", 52, "50"},    {false, "20", 52, "-480"},
    };
    for (const Case& c : cases) {
        CXEdit* pEdit = Edit(12, true);
        pEdit->SetNumericRange(c.bRangeCheck, 50, 2000);
        pEdit->AddSpinButtons(51, 52, 500);
        pEdit->SetText("%s", c.pszStart);
        // Clicked as the screen routes a press and release on the button.
        CXButton* pButton = static_cast<CXButton*>(m_screen.FindControl(c.dwButton));
        ASSERT_NE(pButton, nullptr);
        m_screen.OnLButtonDown(0, pButton->m_nLeft + 2, pButton->m_nTop + 2);
        m_screen.OnLButtonUp(0, pButton->m_nLeft + 2, pButton->m_nTop + 2);
        EXPECT_STREQ(pEdit->Text(), c.pszAfter) << c.pszStart << " button " << c.dwButton;
        while (m_screen.GetControlCount() > 0)
            m_screen.RemoveControl(m_screen.GetControlCount() - 1);
    }

    LogCapture log;
    CXEdit* pEdit = Edit(12, true);
    pEdit->SetText("%s", "42");
    pEdit->OnClicked(99);
    EXPECT_STREQ(pEdit->Text(), "42");
    EXPECT_TRUE(log.Contains("Unknown button ID in CXEdit::OnClicked"));
}

TEST_F(Edits, ReturnAndLosingTheFocusClampAndTellTheOwner)
{
    CXEdit* pEdit = Edit(12, true);
    pEdit->SetNumericRange(true, 10, 5000);
    m_screen.SetFocus(pEdit);
    EXPECT_EQ(pEdit->m_bEditing, 1);
    Type(pEdit, "99999");
    m_screen.events.clear();
    pEdit->OnChar(plat::VK_RETURN, 1, 0);
    EXPECT_STREQ(pEdit->Text(), "5,000");
    EXPECT_EQ(m_screen.events.back(), "clicked 7");

    pEdit->SetText("%s", "3");
    m_screen.events.clear();
    m_screen.SetFocus(nullptr);
    EXPECT_STREQ(pEdit->Text(), "10");
    EXPECT_EQ(pEdit->m_bEditing, 0);
    EXPECT_EQ(m_screen.events.back(), "end 7");
}

TEST_F(Edits, AShownEditIsFramedShadedAndWritesItsTextInTheColourOfItsState)
{
    CXEdit* pEdit = Edit(20, false);
    pEdit->m_nAlignment = 2;
    pEdit->SetText("%s", "8888");
    pEdit->Show(true, true);
    const uint16_t grey = DrawnPixel(5, 5);
    EXPECT_EQ(DrawnPixel(20, 30), Colour(0x0000FFFF)) << "top left corner of the frame";
    EXPECT_EQ(DrawnPixel(220, 48), Colour(0x0000FFFF)) << "bottom right corner";
    EXPECT_NE(DrawnPixel(25, 40), grey) << "the inside is darkened";
    auto Count = [&](COLORREF cr) {
        int n = 0;
        for (int y = 31; y < 48; ++y)
            for (int x = 21; x < 220; ++x)
                n += DrawnPixel(x, y) == Colour(cr) ? 1 : 0;
        return n;
    };
    auto CountLeftHalf = [&](COLORREF cr) {
        int n = 0;
        for (int y = 31; y < 48; ++y)
            for (int x = 21; x < 120; ++x)
                n += DrawnPixel(x, y) == Colour(cr) ? 1 : 0;
        return n;
    };
    EXPECT_GT(Count(0x00FFFFFF), 0) << "white while not editing";
    EXPECT_EQ(CountLeftHalf(0x00FFFFFF), 0) << "right aligned";
    m_screen.SetFocus(pEdit);
    EXPECT_GT(Count(0x0000FFFF), 0) << "yellow while editing";
    EXPECT_EQ(Count(0x00FFFFFF), 0);

    // A numeric edit with spin buttons: the frame takes them in.
    CXEdit* pSpin = static_cast<CXEdit*>(m_screen.AddControlXYWH(XCONTROL_EDIT, 20, 80, 100, 18, 9, nullptr));
    pSpin->m_hFont = m_pFont.get();
    pSpin->AddSpinButtons(61, 62, 1);
    pSpin->SetText("%s", "1,250,000");
    pSpin->Show(true, true);
    EXPECT_EQ(DrawnPixel(120 + 15, 98), Colour(0x0000FFFF)) << "bottom right corner beyond the buttons";
    EXPECT_NE(DrawnPixel(120 + 15, 90), grey);

    const std::string path = "edit-picture.png";
    ASSERT_TRUE(plat::writePng(*m_screen.m_pDrawingSurface->m_pSurface, path));
    Picture picture;
    ASSERT_TRUE(ReadPng(path, picture));
    EXPECT_EQ(picture.At(20, 30), plat::RGB(255, 255, 0));
}

TEST_F(Edits, TheEditPopupTakesTheCellTextAsTextSitsOverTheCellAndAcceptsOnAClickOutside)
{
    // The list sits inside a popup at its own place on the display.
    m_screen.events.clear();
    CXControl* pList = m_screen.AddControlXYWH(XCONTROL_STATIC, 10, 20, 150, 100, 3, nullptr);
    CXEditPopup popup;
    popup.PlaceOverCell(*pList, 40, 28, 80, 14);
    EXPECT_EQ(popup.m_nLeft, 100 + 10 + 40);
    EXPECT_EQ(popup.m_nTop, 50 + 20 + 28);
    EXPECT_EQ(popup.Width(), 80);

    popup.m_pOpener = &m_screen;
    popup.m_bMoney = 0;
    popup.SetInitialText("%s%n 50%");
    ASSERT_TRUE(popup.Open());
    ASSERT_NE(popup.Edit(), nullptr);
    EXPECT_STREQ(popup.Edit()->Text(), "%s%n 50%");
    EXPECT_EQ(popup.m_pFocused, popup.Edit());

    // Escape changes nothing and keeps it open; typing goes to the edit.
    popup.OnChar(plat::VK_ESCAPE, 1, 0);
    EXPECT_TRUE(popup.IsOnStack());
    popup.OnKeyDown(plat::VK_HOME, 1, 0);
    for (int i = 0; i < 5; ++i)
        popup.OnKeyDown(plat::VK_DELETE, 1, 0);
    popup.OnKeyDown(plat::VK_END, 1, 0);
    popup.OnChar(plat::VK_BACK, 1, 0);
    popup.OnChar('0', 1, 0);
    popup.OnChar('0', 1, 0);
    popup.OnChar('x', 1, 0);
    popup.OnLButtonDown(0, popup.Width() + 5, 3);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_STREQ(popup.Text(), "5000");
    EXPECT_EQ(m_screen.events.back(), "notify 83");
}

TEST_F(Edits, AMoneyPopupReadsTheTypedAmountBackAndReturnAccepts)
{
    CXEditPopup popup;
    popup.SetClientRect(200, 200, 90, 15);
    popup.m_pOpener = &m_screen;
    popup.m_nMinimum = 0;
    popup.m_nMaximum = 900000;
    popup.SetInitialText("1,250");
    ASSERT_TRUE(popup.Open());
    popup.OnChar('0', 1, 0);
    popup.OnChar(plat::VK_RETURN, 1, 0);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_STREQ(popup.Text(), "12500");
    EXPECT_DOUBLE_EQ(popup.m_dValue, 12500.0);
    EXPECT_EQ(m_screen.events.back(), "notify 83");
}

}  // namespace
