// The message box: its buttons by mode, the answer by button and key, the
// owner it reports to, its text, and the screens' and popups' handling of
// the answers.
#include "PopupGame.h"

#include "popups/CPopupMessageBox.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include "platform/Messages.h"
#include "xframework/CXButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

using namespace popups_test;

class MessageBox : public PopupGame {
protected:
    // The visible buttons, by id, with their left edges.
    std::vector<std::pair<uint32_t, int>> Buttons() const
    {
        std::vector<std::pair<uint32_t, int>> buttons;
        for (int i = 0; i < m_box.GetControlCount(); ++i)
            if (const auto* pButton = dynamic_cast<const CXButton*>(m_box.GetControl(i)); pButton && pButton->m_bVisible)
                buttons.emplace_back(pButton->m_dwID, pButton->m_nLeft);
        return buttons;
    }

    CPopupMessageBox m_box;
};

struct Case {
    const char* pszName;
    int nMode;
    std::vector<uint32_t> extras;
    std::vector<std::pair<uint32_t, int>> buttons;
    // A click on this id, else a key.
    uint32_t dwClick;
    uint32_t key;
    uint32_t dwResult;
};

TEST_F(MessageBox, AnswersByButtonAndKey)
{
    using B = std::vector<std::pair<uint32_t, int>>;
    const std::vector<uint32_t> choices = {1163, 1164, 1165};
    const B three = {{883, 290}, {1163, 8}, {1164, 98}, {1165, 188}};
    const Case cases[] = {
        {"notice, OK", 1, {}, {{884, 290}}, 884, 0, 884},
        {"notice, Return", 1, {}, {{884, 290}}, 0, plat::VK_RETURN, 884},
        {"notice, Escape", 1, {}, {{884, 290}}, 0, plat::VK_ESCAPE, 0},
        {"question, OK", 2, {}, {{884, 240}, {883, 290}}, 884, 0, 884},
        {"question, Cancel", 2, {}, {{884, 240}, {883, 290}}, 883, 0, 883},
        {"question, Return", 2, {}, {{884, 240}, {883, 290}}, 0, plat::VK_RETURN, 884},
        {"question, Escape", 2, {}, {{884, 240}, {883, 290}}, 0, plat::VK_ESCAPE, 0},
        {"choices, second", 3, choices, three, 1164, 0, 1164},
        {"choices, Cancel", 3, choices, three, 883, 0, 883},
        {"choices, Return without OK", 3, choices, three, 0, plat::VK_RETURN, 0},
        {"only the keys", 0, {}, {}, 0, plat::VK_ESCAPE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_screen.answers.clear();
        m_box.SetExtraButtons(c.extras);
        ASSERT_TRUE(m_box.Show(c.nMode, 2));
        EXPECT_EQ(CXPopup::TopPopup(), &m_box);
        auto buttons = Buttons();
        auto expected = c.buttons;
        std::sort(buttons.begin(), buttons.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(buttons, expected);
        for (const auto& [dwID, x] : buttons)
            EXPECT_EQ(m_box.FindControl(dwID)->m_nTop, CPopupMessageBox::kHeight - 32) << dwID;
        if (c.dwClick)
            m_box.OnClicked(c.dwClick);
        else
            m_box.OnKeyUp(c.key, 1, 0);
        EXPECT_FALSE(m_box.IsOnStack());
        ASSERT_EQ(m_screen.answers.size(), 1u);
        EXPECT_EQ(m_screen.answers[0].dwResult, c.dwResult);
        EXPECT_EQ(m_screen.answers[0].nTextItem, 2);
    }
    // The choices were for that opening only.
    ASSERT_TRUE(m_box.Show(2, 2));
    EXPECT_EQ(Buttons().size(), 2u);
    // A click elsewhere in a question leaves it open.
    m_box.OnClicked(1057 + 1000);
    EXPECT_TRUE(m_box.IsOnStack());
}

TEST_F(MessageBox, ShowsTheMessageOrTheCallersTextCentredInItsPanel)
{
    ASSERT_TRUE(m_box.Show(1, 39));
    EXPECT_EQ(m_box.GetText(), GetTableText(95, 39));
    EXPECT_FALSE(m_box.GetText().empty());
    m_box.Close();

    // A long text of the caller's wraps inside the box and sits in its middle.
    m_box.SetText("This is a long notice of the caller's own, long enough to need three lines in the box.");
    ASSERT_TRUE(m_box.Show(1, 0));
    EXPECT_EQ(m_box.GetTextItem(), 0);
    Shoot("messagebox.png");
    CXSurface* pBack = m_box.m_pBackground;
    ASSERT_NE(pBack, nullptr);
    const uint16_t wText = static_cast<uint16_t>(pBack->ColorMatch(plat::RGB(255, 253, 173)));
    int nPitchBytes = 0;
    const uint16_t* pPixels = pBack->m_pSurface->lock(&nPitchBytes);
    ASSERT_NE(pPixels, nullptr);
    const int nPitch = nPitchBytes / 2;
    int nLeft = 9999, nRight = -1, nTop = 9999, nBottom = -1;
    for (int y = 30; y < pBack->GetHeight(); ++y)
        for (int x = 0; x < pBack->GetWidth(); ++x)
            if (pPixels[y * nPitch + x] == wText) {
                nLeft = std::min(nLeft, x);
                nRight = std::max(nRight, x);
                nTop = std::min(nTop, y);
                nBottom = std::max(nBottom, y);
            }
    pBack->m_pSurface->unlock();
    ASSERT_GE(nRight, 0) << "no text drawn";
    EXPECT_GE(nLeft, 11);
    EXPECT_LE(nRight, CPopupMessageBox::kWidth - 12);
    EXPECT_GT(nBottom - nTop, 20) << "the text did not wrap";
    EXPECT_NEAR((nTop + nBottom) / 2.0, CPopupMessageBox::kHeight / 2.0, 4.0);
}

// A popup with the print button, counting its printing.
class PrintingPopup : public CGamePopup {
public:
    PrintingPopup()
    {
        m_wScreenID = SCREEN_OPTIONS_POPUP;
        SetPopupRect(200, 150, 400, 300);
    }
    bool OnInitDialog() override
    {
        DrawCaptionFrame(18);
        return CGamePopup::OnInitDialog();
    }
    void OnPrint() override { ++nPrinted; }
    int nPrinted = 0;
};

TEST_F(MessageBox, ThePrintQuestionOverAPopupAnswersThatPopup)
{
    PrintingPopup popup;
    ASSERT_TRUE(popup.Open());
    for (const auto& [key, nPrinted] : {std::pair{plat::VK_ESCAPE, 0}, std::pair{plat::VK_RETURN, 1}}) {
        popup.OnClicked(CGamePopup::kPrintButtonID);
        ASSERT_EQ(CXPopup::TopPopup(), &m_box);
        EXPECT_EQ(m_box.GetTextItem(), CGamePopup::kPrintQuestion);
        if (key == plat::VK_RETURN)
            Shoot("print_question.png");
        m_box.OnKeyUp(key, 1, 0);
        EXPECT_EQ(CXPopup::TopPopup(), &popup);
        EXPECT_EQ(popup.nPrinted, nPrinted);
    }
    // The screen below heard nothing of the box.
    EXPECT_TRUE(m_screen.answers.empty());
    popup.Close();
}

// A screen that counts its printing, with the standard answers.
class PrintingScreen : public CGameClient {
public:
    void OnPrint() override { ++nPrinted; }
    int nPrinted = 0;
};

TEST_F(MessageBox, ScreensActOnlyOnTheAffirmativeAnswer)
{
    PrintingScreen screen;
    screen.m_wScreenID = SCREEN_CLUB_GENERAL;
    g_pCurrentClient = &screen;
    struct Step {
        int nItem;
        uint32_t key;
        int nPrinted;
        bool bRestart;
        bool bTeamSelection;
    };
    const Step steps[] = {
        {2, plat::VK_ESCAPE, 0, false, false}, {2, plat::VK_RETURN, 1, false, false},
        {38, plat::VK_ESCAPE, 1, false, false}, {38, plat::VK_RETURN, 1, true, false},
        {67, plat::VK_RETURN, 1, false, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.nItem);
        m_game.m_bRestartRequest = 0;
        g_pNextClient = nullptr;
        ASSERT_TRUE(m_box.Show(2, step.nItem));
        m_box.OnKeyUp(step.key, 1, 0);
        EXPECT_EQ(screen.nPrinted, step.nPrinted);
        EXPECT_EQ(m_game.m_bRestartRequest != 0, step.bRestart);
        EXPECT_EQ(g_pNextClient == GetScreenObject(SCREEN_TEAM_SELECTION), step.bTeamSelection);
    }
    g_pNextClient = nullptr;
    m_game.m_bRestartRequest = 0;
    g_pCurrentClient = &m_screen;
}

}  // namespace
