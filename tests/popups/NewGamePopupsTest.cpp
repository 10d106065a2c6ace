// The popups that set a new game up and change the options, driven as their
// controls report to them: the names typed for the managers, the game
// settings and the options, each kept only on confirmation.
#include "GameOnScreen.h"

#include "popups/CPopupGameSettings.h"
#include "popups/CPopupOptions.h"
#include "popups/CPopupSelectPlayer.h"
#include "shell/CGameClient.h"
#include "shell/CGameNavigationBar.h"
#include "shell/COptions.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXSlider.h"

#include <string>
#include <utility>
#include <vector>

namespace {

class BareStart : public CGameClient {
public:
    BareStart() { m_wScreenID = SCREEN_STARTUP; }
};

class NewGamePopups : public GameOnScreen {
protected:
    NewGamePopups() : GameOnScreen(m_start) {}

    CPopupSelectPlayer& SelectPlayer()
    {
        return *dynamic_cast<CPopupSelectPlayer*>(GetPopupObject(SCREEN_SELECT_PLAYER_POPUP));
    }
    CPopupOptions& Options() { return *dynamic_cast<CPopupOptions*>(GetPopupObject(SCREEN_OPTIONS_POPUP)); }
    static std::string Stored(const char* pszName)
    {
        auto pKey = GetRegistryKey(COptions::kOptionsKey);
        char szValue[255] = {};
        return GetRegistryString(*pKey, pszName, szValue) ? szValue : "(missing)";
    }
    static void Choose(CXPopup& popup, uint32_t dwBox, uint32_t dwValue)
    {
        auto* pBox = dynamic_cast<CXComboBox*>(popup.FindControl(dwBox));
        ASSERT_NE(pBox, nullptr);
        ASSERT_GE(pBox->FindItemData(dwValue), 0);
        pBox->SetCurSel(pBox->FindItemData(dwValue));
    }
    static bool IsOkDisabled(CXPopup& popup)
    {
        auto* pOk = dynamic_cast<CXButton*>(popup.FindControl(CGamePopup::kOkButtonID));
        return !pOk || pOk->m_bDisabled;
    }

    BareStart m_start;
};

TEST_F(NewGamePopups, ManagersAreMadeFromTheFilledNamesInTheirOrder)
{
    using Names = std::vector<std::pair<std::string, std::string>>;
    const struct {
        const char* typed[CPopupSelectPlayer::kPlayers];
        Names expected;  // first name, last name of the managers made
    } cases[] = {
        {{"Ada Lovell", "", "  Bo Kerr", ""}, {{"Ada", "Lovell"}, {"Bo", "Kerr"}}},
        {{"Pele  ", "   ", "", "Ada Byron Lovell"}, {{"", "Pele"}, {"Ada", "Byron Lovell"}}},
        {{"", "    ", "", ""}, {}},
    };
    CPopupSelectPlayer& popup = SelectPlayer();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed[0]) + "|" + c.typed[1] + "|" + c.typed[2] + "|" + c.typed[3]);
        ASSERT_TRUE(popup.Open());
        ASSERT_TRUE(popup.IsWorldLoaded());
        CDatabaseHandler* pDatabase = m_game.GetDatabase();
        ASSERT_EQ(pDatabase->GetHumanCount(), 0) << "each opening starts from the starting world";
        EXPECT_TRUE(IsOkDisabled(popup));
        for (int i = 0; i < CPopupSelectPlayer::kPlayers; ++i) {
            auto* pEdit = dynamic_cast<CXEdit*>(popup.FindControl(CPopupSelectPlayer::ID_FIRST_NAME_EDIT + i));
            ASSERT_NE(pEdit, nullptr);
            pEdit->SetText("%s", c.typed[i]);
            popup.OnEditChange(pEdit);
        }
        EXPECT_EQ(IsOkDisabled(popup), c.expected.empty());
        popup.OnClicked(CGamePopup::kOkButtonID);
        EXPECT_EQ(popup.IsOnStack(), c.expected.empty()) << "a confirmation without a name does nothing";
        ASSERT_EQ(pDatabase->GetHumanCount(), static_cast<int>(c.expected.size()));
        for (size_t i = 0; i < c.expected.size(); ++i) {
            const CSaveGame* pHuman = pDatabase->GetHumanSlot(static_cast<int>(i));
            ASSERT_NE(pHuman, nullptr) << "the managers fill the first slots";
            const CManagerDatabase* pManager = pDatabase->GetManagerFromID(pHuman->GetManagerID());
            ASSERT_NE(pManager, nullptr);
            EXPECT_EQ(pManager->m_pszFirstName, c.expected[i].first);
            EXPECT_EQ(pManager->m_pszLastName, c.expected[i].second);
            EXPECT_EQ(pHuman->GetClub(), nullptr);
        }
        if (popup.IsOnStack())
            popup.OnClicked(883);
        EXPECT_FALSE(popup.IsOnStack());
    }
}

TEST_F(NewGamePopups, ANameStopsAtTheLengthTheEditTakes)
{
    CPopupSelectPlayer& popup = SelectPlayer();
    ASSERT_TRUE(popup.Open());
    auto* pEdit = dynamic_cast<CXEdit*>(popup.FindControl(CPopupSelectPlayer::ID_FIRST_NAME_EDIT));
    ASSERT_NE(pEdit, nullptr);
    popup.SetFocus(pEdit);
    for (char c : std::string("Maximilianthelongestname"))
        popup.OnChar(static_cast<uint8_t>(c), 1, 0);
    EXPECT_EQ(std::string(pEdit->Text()), "Maximilianthelonge");
    popup.OnClicked(CGamePopup::kOkButtonID);
    ASSERT_EQ(m_game.GetDatabase()->GetHumanCount(), 1);
    const CManagerDatabase* pManager =
        m_game.GetDatabase()->GetManagerFromID(m_game.GetDatabase()->GetHumanSlot(0)->GetManagerID());
    ASSERT_NE(pManager, nullptr);
    EXPECT_EQ(std::string(pManager->m_pszLastName), "Maximilianthelonge");
}

TEST_F(NewGamePopups, EachNationStandsOnItsNameFieldsLine)
{
    CPopupSelectPlayer& popup = SelectPlayer();
    ASSERT_TRUE(popup.Open());
    for (int i = 0; i < CPopupSelectPlayer::kPlayers; ++i) {
        const CXControl* pEdit = popup.FindControl(CPopupSelectPlayer::ID_FIRST_NAME_EDIT + i);
        const CXControl* pNation = popup.FindControl(CPopupSelectPlayer::ID_FIRST_NATIONALITY + i);
        ASSERT_NE(pEdit, nullptr);
        ASSERT_NE(pNation, nullptr);
        // The drop-down's closed row is 16 high; it ends where the field ends.
        EXPECT_EQ(pNation->m_nTop + 16, pEdit->m_nBottom) << "row " << i;
    }
    popup.OnClicked(883);
}

TEST_F(NewGamePopups, GameSettingsAreKeptOnlyOnConfirmation)
{
    CPopupSelectPlayer& select = SelectPlayer();
    ASSERT_TRUE(select.Open());
    CDatabaseHandler* pDatabase = m_game.GetDatabase();
    ASSERT_EQ(pDatabase->GetGameSetting(0), 5) << "an opening starts from the default settings";
    const uint8_t byCurrency = m_game.GetOptions().m_nCurrency;
    const std::string stored = Stored("Currency");
    ASSERT_NE(byCurrency, 5);
    for (bool bConfirm : {false, true}) {
        SCOPED_TRACE(bConfirm ? "confirmed" : "cancelled");
        select.OnClicked(CPopupSelectPlayer::ID_SETTINGS);
        auto* pSettings = dynamic_cast<CPopupGameSettings*>(CXPopup::TopPopup());
        ASSERT_NE(pSettings, nullptr);
        Choose(*pSettings, CPopupGameSettings::ID_LENGTH, 15);
        Choose(*pSettings, CPopupGameSettings::ID_CURRENCY, 5);
        EXPECT_EQ(pDatabase->GetGameSetting(0), 5) << "nothing changes before the confirmation";
        pSettings->OnClicked(bConfirm ? CGamePopup::kOkButtonID : 883);
        EXPECT_FALSE(pSettings->IsOnStack());
        EXPECT_EQ(pDatabase->GetGameSetting(0), bConfirm ? 15 : 5);
        EXPECT_EQ(m_game.GetOptions().m_nCurrency, bConfirm ? 5 : byCurrency);
        EXPECT_EQ(Stored("Currency"), bConfirm ? "5" : stored);
    }
}

TEST_F(NewGamePopups, OptionsAreKeptOnlyOnConfirmationAndSurviveARestart)
{
    CPopupOptions& popup = Options();
    for (bool bConfirm : {false, true}) {
        SCOPED_TRACE(bConfirm ? "confirmed" : "cancelled");
        const OptionValues before = m_game.GetOptions().Values();
        const std::string storedDelay = Stored("ToolTipsDelay");
        ASSERT_NE(before.m_nToolTipsDelay, 3);
        ASSERT_NE(before.m_wCommentaryVolume, 0);
        ASSERT_TRUE(popup.Open());
        EXPECT_EQ(popup.GetPage(), CPopupOptions::PAGE_GAME);
        Choose(popup, CPopupOptions::ID_TOOLTIPS, 3);
        popup.ShowPage(CPopupOptions::PAGE_DISPLAY);
        auto* pHighlights = dynamic_cast<CXListBox*>(popup.FindControl(CPopupOptions::ID_HIGHLIGHTS_LIST));
        ASSERT_NE(pHighlights, nullptr);
        pHighlights->SetSelection(4);
        popup.OnClicked(CPopupOptions::ID_HIGHLIGHTS_LIST);
        EXPECT_EQ(popup.GetCopy().m_MatchHighlightFlags[4], before.m_MatchHighlightFlags[4] ? 0 : 1);
        // A click below the rows changes nothing.
        popup.OnClicked(CPopupOptions::ID_HIGHLIGHTS_LIST);
        EXPECT_EQ(popup.GetCopy().m_MatchHighlightFlags[4], before.m_MatchHighlightFlags[4] ? 0 : 1);
        popup.ShowPage(CPopupOptions::PAGE_SOUND);
        auto* pCommentary = dynamic_cast<CXSlider*>(popup.FindControl(CPopupOptions::ID_COMMENTARY));
        auto* pTest = dynamic_cast<CXButton*>(popup.FindControl(CPopupOptions::ID_TEST_COMMENTARY));
        ASSERT_NE(pCommentary, nullptr);
        ASSERT_NE(pTest, nullptr);
        EXPECT_FALSE(pTest->m_bDisabled);
        pCommentary->SetPos(0);
        popup.OnEndScroll(CPopupOptions::ID_COMMENTARY);
        EXPECT_TRUE(pTest->m_bDisabled) << "nothing to hear at volume 0";
        EXPECT_EQ(m_game.GetOptions().m_nToolTipsDelay, before.m_nToolTipsDelay) << "the live options wait";

        popup.OnClicked(bConfirm ? CGamePopup::kOkButtonID : 883);
        EXPECT_FALSE(popup.IsOnStack());
        const OptionValues& after = m_game.GetOptions().Values();
        COptions restarted;
        restarted.LoadOptions(false);
        if (bConfirm) {
            EXPECT_EQ(after.m_nToolTipsDelay, 3);
            EXPECT_EQ(after.m_wCommentaryVolume, 0);
            EXPECT_NE(after.m_MatchHighlightFlags[4], before.m_MatchHighlightFlags[4]);
            EXPECT_EQ(restarted.m_nToolTipsDelay, 3);
            EXPECT_EQ(restarted.m_wCommentaryVolume, 0);
            EXPECT_EQ(restarted.m_MatchHighlightFlags[4], after.m_MatchHighlightFlags[4]);
        } else {
            EXPECT_EQ(after.m_nToolTipsDelay, before.m_nToolTipsDelay);
            EXPECT_EQ(after.m_wCommentaryVolume, before.m_wCommentaryVolume);
            EXPECT_EQ(after.m_MatchHighlightFlags[4], before.m_MatchHighlightFlags[4]);
            EXPECT_EQ(Stored("ToolTipsDelay"), storedDelay);
            EXPECT_EQ(restarted.m_wCommentaryVolume, before.m_wCommentaryVolume);
        }
    }
}

}  // namespace
