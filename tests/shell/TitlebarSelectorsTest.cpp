// The title bar's selectors over a small played world: their places, the
// world's countries, divisions, clubs and match dates in them, choices that
// refill what follows and reach the screen, and selections made for a
// screen that it does not hear of.
#include "GameInPlay.h"
#include "LogCapture.h"
#include "StartedGame.h"

#include "shell/CGameClient.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXComboBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace shell_test;
using Bar = CGameTitlebar;

class SelectingScreen : public CGameClient {
public:
    SelectingScreen() { m_wScreenID = 0; }
    void OnSelChange(uint32_t dwID) override { changes.push_back(dwID); }
    std::vector<uint32_t> changes;
};

class TitlebarSelectors : public StartedGame {
protected:
    TitlebarSelectors() : StartedGame(m_screen) {}
    void SetUp() override
    {
        StartedGame::SetUp();
        fs::current_path(m_folder.Path() / "play");
        m_game.SetDatabase(nullptr);
        auto handler = StartGameInPlay(3);
        ASSERT_NE(handler, nullptr) << "the generated starting world did not load";
        m_game.SetDatabase(std::move(handler));
        g_pTitlebar->SetMode(2);
    }
    CXComboBox& Box(int nSelector) { return *g_pTitlebar->GetSelector(nSelector); }
    std::string Row(int nSelector, int nRow)
    {
        char szText[LISTBOX_ROW_TEXT_SIZE] = {};
        Box(nSelector).GetString(nRow, szText);
        return szText;
    }
    const CClubDatabase& HumanClub() { return *m_game.GetDatabase()->GetCurrentSaveGame()->GetClub(); }

    GameFolder m_folder;
    SelectingScreen m_screen;
};

TEST_F(TitlebarSelectors, StandRightToLeftWithTheFirstListedLeftmost)
{
    LogCapture log;
    g_pTitlebar->SetSelectors({Bar::SELECTOR_COUNTRY, Bar::SELECTOR_DIVISION, 99, Bar::SELECTOR_DATE});
    EXPECT_TRUE(log.Contains("[CGameTitlebar::SetSelectors] Unknown SELECTOR_? !"));
    // 512 less the date box (62), the gap (24), the division box (110) and so on.
    EXPECT_EQ(Box(Bar::SELECTOR_DATE).m_nLeft, 450);
    EXPECT_EQ(Box(Bar::SELECTOR_DIVISION).m_nLeft, 316);
    EXPECT_EQ(Box(Bar::SELECTOR_COUNTRY).m_nLeft, 182);
    for (int nSelector = 1; nSelector <= Bar::SELECTOR_LAST; ++nSelector) {
        const bool bListed = nSelector == 1 || nSelector == 2 || nSelector == 5;
        EXPECT_EQ(Box(nSelector).m_bVisible != 0, bListed) << nSelector;
    }
    g_pTitlebar->SetSelectors({});
    for (int nSelector = 1; nSelector <= Bar::SELECTOR_LAST; ++nSelector)
        EXPECT_FALSE(Box(nSelector).m_bVisible) << nSelector;
}

TEST_F(TitlebarSelectors, AChoiceRefillsWhatFollowsAndReachesTheScreen)
{
    g_pTitlebar->SetSelectors({Bar::SELECTOR_COUNTRY, Bar::SELECTOR_DIVISION, Bar::SELECTOR_CLUB,
                               Bar::SELECTOR_MATCH_DAY, Bar::SELECTOR_DATE});
    // Countries with a league, sorted by name.
    ASSERT_GT(Box(Bar::SELECTOR_COUNTRY).GetCount(), 1);
    for (int i = 1; i < Box(Bar::SELECTOR_COUNTRY).GetCount(); ++i)
        EXPECT_LT(Row(Bar::SELECTOR_COUNTRY, i - 1), Row(Bar::SELECTOR_COUNTRY, i));

    // The human's club picked for the screen: nothing reaches the screen.
    const CClubDatabase& club = HumanClub();
    g_pTitlebar->SetSelectorItems(&club);
    EXPECT_TRUE(m_screen.changes.empty());
    EXPECT_EQ(g_pTitlebar->GetSelectedDivision(), club.m_pDivision);
    EXPECT_EQ(g_pTitlebar->GetSelectedClub(), &club);
    EXPECT_EQ(Box(Bar::SELECTOR_CLUB).GetCount(), club.m_pDivision->GetClubCount());
    // The match dates of the division, in order; past dates can be picked
    // as dates, dates to come cannot (but the first row always can).
    ASSERT_GT(Box(Bar::SELECTOR_MATCH_DAY).GetCount(), 1);
    const uint32_t dwToday = m_game.GetDatabase()->GetGameDate().GetValue();
    for (int i = 1; i < Box(Bar::SELECTOR_DATE).GetCount(); ++i) {
        const auto dwDate = static_cast<uint32_t>(Box(Bar::SELECTOR_DATE).GetItemData(i));
        EXPECT_GT(dwDate, static_cast<uint32_t>(Box(Bar::SELECTOR_DATE).GetItemData(i - 1)));
        EXPECT_EQ(Box(Bar::SELECTOR_DATE).IsRowEnabled(i), dwDate < dwToday) << i;
    }

    // A person's choice of another country refills the divisions and clubs
    // and reaches the screen.
    const int nOther = Box(Bar::SELECTOR_COUNTRY).GetSelection() == 0 ? 1 : 0;
    Box(Bar::SELECTOR_COUNTRY).SetCurSel(nOther);
    ASSERT_EQ(m_screen.changes.size(), 1u);
    EXPECT_EQ(m_screen.changes[0], Bar::GetSelectorControlID(Bar::SELECTOR_COUNTRY));
    const CDivisionDatabase* pDivision = g_pTitlebar->GetSelectedDivision();
    ASSERT_NE(pDivision, nullptr);
    EXPECT_NE(pDivision, club.m_pDivision);
    ASSERT_NE(pDivision->m_pCountry, nullptr);
    EXPECT_EQ(pDivision->m_pCountry->GetID(), Box(Bar::SELECTOR_COUNTRY).GetItemData(nOther));
    const CClubDatabase* pClub = g_pTitlebar->GetSelectedClub();
    ASSERT_NE(pClub, nullptr);
    EXPECT_EQ(pClub->m_pDivision, pDivision);
}

// The contrast ratio of two colours as legibility rules measure it.
double Contrast(COLORREF crA, COLORREF crB)
{
    auto luminance = [](COLORREF cr) {
        auto channel = [](int n) {
            const double d = n / 255.0;
            return d <= 0.03928 ? d / 12.92 : std::pow((d + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(cr & 0xFF) + 0.7152 * channel((cr >> 8) & 0xFF) + 0.0722 * channel((cr >> 16) & 0xFF);
    };
    const double dA = luminance(crA), dB = luminance(crB);
    return (std::max(dA, dB) + 0.05) / (std::min(dA, dB) + 0.05);
}

// Today's match day stands out, and reads on the selector whatever colours
// the human's club plays in.
TEST_F(TitlebarSelectors, TodaysMatchDayReadsWhateverTheClubsKit)
{
    g_pTitlebar->SetSelectors({Bar::SELECTOR_COUNTRY, Bar::SELECTOR_DIVISION, Bar::SELECTOR_MATCH_DAY});
    CClubDatabase& club = const_cast<CClubDatabase&>(HumanClub());
    g_pTitlebar->SetSelectorItems(&club);
    CXComboBox& box = Box(Bar::SELECTOR_MATCH_DAY);
    ASSERT_GT(box.GetCount(), 2);
    const auto dwMatchDay = static_cast<uint32_t>(box.GetItemData(1));
    m_game.GetDatabase()->SetGameDate(CDate(dwMatchDay));
    for (uint8_t byKit = 0; byKit < 14; ++byKit) {
        club.m_abyAttributes[0] = byKit;
        g_pTitlebar->FillMatchDaySelector();
        ASSERT_EQ(static_cast<uint32_t>(box.GetItemData(1)), dwMatchDay);
        EXPECT_NE(box.GetRowColour(1), box.GetRowColour(0)) << "today stands out";
        EXPECT_GE(Contrast(box.GetRowColour(1), box.m_crCellFill), 4.5) << "kit colour " << int{byKit};
    }
}

TEST_F(TitlebarSelectors, TheAllRowsComeWhenAScreenAsks)
{
    g_pTitlebar->m_bCountryAddAll = 1;
    g_pTitlebar->m_bDivisionAddAll = 1;
    g_pTitlebar->SetSelectors({Bar::SELECTOR_COUNTRY, Bar::SELECTOR_DIVISION});
    const int nLast = Box(Bar::SELECTOR_COUNTRY).GetCount() - 1;
    EXPECT_EQ(Row(Bar::SELECTOR_COUNTRY, nLast), GetTableText(114, 15));
    EXPECT_EQ(Box(Bar::SELECTOR_COUNTRY).GetItemData(nLast), Bar::kAllRowData);
    g_pTitlebar->SelectDivision(nullptr);
    EXPECT_EQ(g_pTitlebar->GetSelectedDivision(), nullptr);
    EXPECT_EQ(Row(Bar::SELECTOR_DIVISION, Box(Bar::SELECTOR_DIVISION).GetSelection()), GetTableText(114, 15));
    g_pTitlebar->SelectDivision(HumanClub().m_pDivision);
    EXPECT_EQ(g_pTitlebar->GetSelectedDivision(), HumanClub().m_pDivision);
}

}  // namespace
