// The manager details popup over a game in play: opened from the managers
// table, the club overview and the staff chart as a player opens it, its
// pages drawn from the manager's record, the arrows stepping through the
// table, and the human's preferences kept only on OK.
#include "../screens/CutCells.h"
#include "PopupInPlay.h"

#include "popups/CPopupManagerDetails.h"
#include "popups/PopupLook.h"
#include "screens/CClientClubGeneral.h"
#include "screens/CClientStaffSelection.h"
#include "screens/CClientTablesStaticsManagers.h"
#include "shell/CTableText.h"
#include "shell/CompetitionNames.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "season/CSaveGame.h"
#include "season/CupRecords.h"
#include "season/CupStructureTable.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXStatic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Details = CPopupManagerDetails;
using Preferences = Details::Preferences;

TEST(ManagerPreferencePresets, APresetFillsOnlyTheTasksStaffAreThereFor)
{
    const Preferences mine = {3, 0, 2, 0, 1, 0, 3, 1, 7};
    const struct {
        int nPreset;
        bool bAssistant, bCommercial;
        Preferences expected;
    } cases[] = {
        {0, true, true, {0, 1, 1, 1, 1, 1, 1, 1, 7}},
        {1, true, false, {1, 2, 2, 1, 0, 0, 0, 0, 7}},
        {2, false, true, {2, 0, 0, 0, 1, 1, 3, 3, 7}},
        {2, false, false, {2, 0, 0, 0, 0, 0, 0, 0, 7}},
        // Custom keeps every choice and marks itself.
        {Details::kCustomPreset, false, false, {3, 0, 2, 0, 1, 0, 3, 1, 7}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Details::ApplyPreset(mine, c.nPreset, c.bAssistant, c.bCommercial), c.expected)
            << "preset " << c.nPreset << " assistant " << c.bAssistant << " commercial " << c.bCommercial;
}

class ManagerDetails : public PopupInPlay {
protected:
    Details& Popup() { return GetManagerDetailsPopup(); }
    std::string Text(uint32_t dwID)
    {
        auto* pLabel = dynamic_cast<CXStatic*>(Popup().FindControl(dwID));
        return pLabel ? pLabel->Text() : "(none)";
    }
    bool Visible(uint32_t dwID) { return Popup().FindControl(dwID) && Popup().FindControl(dwID)->m_bVisible; }
    // A choice made in a drop-down: the box tells its owner.
    void Choose(uint32_t dwID, uint32_t dwValue)
    {
        CXComboBox* pBox = Popup().Choice(dwID);
        ASSERT_NE(pBox, nullptr);
        ASSERT_TRUE(pBox->m_bVisible);
        const int nRow = pBox->FindItemData(dwValue);
        ASSERT_GE(nRow, 0) << dwValue;
        pBox->SetCurSel(nRow);
    }
    Preferences Stored() const
    {
        Preferences stored{};
        for (int n = 0; n < Details::kPreferenceBytes; ++n)
            stored[static_cast<size_t>(n)] = m_pHuman->GetDelegation(n);
        return stored;
    }
    // Opens the popup on the human manager through his name on the staff chart.
    void OpenOnHuman()
    {
        OpenScreen(SCREEN_STAFF_SELECTION);
        auto* pChart = dynamic_cast<CClientStaffSelection*>(g_pCurrentClient);
        ASSERT_NE(pChart, nullptr);
        DoubleClickRow(pChart->GetList(CClientStaffSelection::ID_MANAGER), 0, 20);
        ASSERT_EQ(CXPopup::TopPopup(), &Popup());
        ASSERT_NE(Popup().GetManager(), nullptr);
        ASSERT_EQ(Popup().GetManager()->GetId(), m_pHuman->GetManagerID());
    }
};

TEST_F(ManagerDetails, TheManagersTableOpensAManagerAndTheArrowsFollowItsRows)
{
    OpenScreen(SCREEN_TABLES_MANAGERS);
    auto* pTable = dynamic_cast<CClientTablesStaticsManagers*>(g_pCurrentClient);
    ASSERT_NE(pTable, nullptr);
    CXListBox* pList = pTable->GetTable();
    ASSERT_NE(pList, nullptr);
    ASSERT_GT(pList->GetCount(), 2);
    auto clubOfRow = [&](int nRow) {
        return Database()->GetClubFromID(static_cast<ID_CLUB>(pList->GetItemData(nRow)));
    };
    // Two rows of other managed clubs, one after the other.
    auto managedByOther = [&](int nRow) { return clubOfRow(nRow) != m_pClub && clubOfRow(nRow)->m_wManagerId != 0; };
    int nRow = 0;
    while (nRow + 1 < pList->GetCount() && !(managedByOther(nRow) && managedByOther(nRow + 1)))
        ++nRow;
    ASSERT_LT(nRow + 1, pList->GetCount()) << "two other managed clubs in a row";
    const CClubDatabase* pClub = clubOfRow(nRow);
    // The club's manager column starts at x 188.
    DoubleClickRow(pList, nRow, 250);
    ASSERT_EQ(CXPopup::TopPopup(), &Popup());
    const CManagerDatabase* pManager = Popup().GetManager();
    ASSERT_NE(pManager, nullptr);
    EXPECT_EQ(pManager->GetId(), pClub->m_wManagerId);
    Shoot("manager_details_general.png");

    // The general page is his record.
    EXPECT_EQ(Text(Details::ID_TITLE), pManager->GetShortName());
    EXPECT_EQ(Text(Details::ID_AGE), std::to_string(pManager->GetAge()));
    EXPECT_EQ(Text(Details::ID_RATING), std::to_string(pManager->m_byRating));
    EXPECT_EQ(Text(Details::ID_NATIONALITY), GetTableTextOrEmpty(92, pManager->m_byNationality));
    EXPECT_EQ(Text(Details::ID_WAGE), FormatMoney(pManager->m_Contract.dwWage, 0, 0, popup_look::WagePeriod(), 0, 1));
    const uint32_t dwUnit = pManager->m_Contract.dwWage / 100;
    EXPECT_EQ(Text(Details::ID_FIRST_BONUS + 2),
              FormatMoney(static_cast<double>(pManager->m_Contract.abyBonus[2]) * dwUnit, 0, 0, MONEY_AS_STORED, 0, 1));
    // Another club's manager has no preferences page.
    EXPECT_FALSE(Visible(Details::ID_TAB_PREFERENCES));
    Popup().OnClicked(Details::ID_TAB_PREFERENCES);
    EXPECT_EQ(Popup().GetPage(), Details::PAGE_GENERAL);

    // The career page: a row a season, with its club and its league record.
    Popup().OnClicked(Details::ID_TAB_CAREER);
    ASSERT_EQ(Popup().GetPage(), Details::PAGE_CAREER);
    Shoot("manager_details_career.png");
    CXListBox* pCareer = Popup().List(Details::ID_LEAGUE_CAREER);
    ASSERT_NE(pCareer, nullptr);
    ASSERT_EQ(pCareer->GetCount(), static_cast<int>(pManager->m_Career.size()));
    ASSERT_GT(pCareer->GetCount(), 0);
    const MANAGERCAREERENTRY* pLast = pManager->GetCareerEntry(-1);
    const int nYear = 1999 + pLast->bySeason;
    char szCell[256] = {};
    pCareer->GetColumnText(pCareer->GetCount() - 1, 0, szCell);
    EXPECT_EQ(std::string(szCell), std::to_string(nYear) + " / " + std::to_string(nYear + 1));
    pCareer->GetColumnText(pCareer->GetCount() - 1, 1, szCell);
    const CClubDatabase* pCareerClub = Database()->GetClubFromID(pLast->wClubId);
    EXPECT_EQ(std::string(szCell), pCareerClub ? pCareerClub->GetName() : GetTableTextOrEmpty(114, 13));
    pCareer->GetColumnText(pCareer->GetCount() - 1, 2, szCell);
    EXPECT_EQ(std::atoi(szCell), pLast->byMatches);

    // The arrow steps to the next row's manager, the page kept.
    Popup().OnClicked(Details::ID_NEXT);
    EXPECT_EQ(pList->GetSelection(), nRow + 1);
    ASSERT_NE(Popup().GetManager(), nullptr);
    EXPECT_EQ(Popup().GetManager()->GetId(), clubOfRow(nRow + 1)->m_wManagerId);
    EXPECT_EQ(Popup().GetPage(), Details::PAGE_CAREER);
    EXPECT_EQ(Popup().List(Details::ID_LEAGUE_CAREER)->GetCount(), static_cast<int>(Popup().GetManager()->m_Career.size()));
    Popup().OnClicked(Details::ID_PREVIOUS);
    EXPECT_EQ(Popup().GetManager()->GetId(), pClub->m_wManagerId);
}

// A cup run of the club is kept in its manager's career entry of the season
// and listed on his career page; a new season opens a fresh entry and the
// old run stays with the old season.
TEST_F(ManagerDetails, TheCareerPageListsTheCupRunsOfHisClubSeasonBySeason)
{
    const auto cupRows = [&]() {
        std::vector<std::string> rows;
        CXListBox* pCups = Popup().List(Details::ID_CUP_CAREER);
        for (int r = 0; pCups && r < pCups->GetCount(); ++r) {
            std::string row;
            for (int c = 0; c < 4; ++c) {
                char szCell[256] = {};
                pCups->GetColumnText(r, c, szCell);
                row += std::string(c ? "|" : "") + szCell;
            }
            rows.push_back(row);
        }
        return rows;
    };
    OpenOnHuman();
    Popup().OnClicked(Details::ID_TAB_CAREER);
    EXPECT_TRUE(cupRows().empty()) << "no cup played yet";
    Popup().Close();

    const CManagerDatabase* pManager = m_pClub->GetManager();
    ASSERT_NE(pManager, nullptr);
    const CUP* pCup = Database()->GetCupByCompetitionIndex(0, m_pClub->GetCountry());
    ASSERT_NE(pCup, nullptr);
    m_pClub->OnCupTieWon(MakeCupNumberFromKind(pCup->byKind, m_pClub->GetCountry()->GetID()), 2);
    const int nEntries = static_cast<int>(pManager->m_Career.size());
    char szCompetition[96], szRound[96];
    FormatCompetitionName(pCup, Database(), szCompetition, sizeof szCompetition);
    FormatCupRoundName(pCup, Database(), 2, szRound, sizeof szRound);
    const MANAGERCAREERENTRY* pEntry = pManager->GetCareerEntry(-1);
    const int nYear = 1999 + pEntry->bySeason;
    const std::string expected = std::to_string(nYear) + " / " + std::to_string(nYear + 1) + "|" +
                                 m_pClub->GetName() + "|" + szCompetition + "|" + szRound;
    OpenOnHuman();
    Popup().OnClicked(Details::ID_TAB_CAREER);
    EXPECT_EQ(cupRows(), std::vector<std::string>{expected});
    Shoot("manager_details_cups.png");
    Popup().Close();

    // The season turns: the club has entered no cup yet, the career has a
    // new entry without a run, the old one keeps its own.
    m_pClub->StartNewSeason();
    EXPECT_EQ(m_pClub->m_aCupStatus[0].byRound, 0xFF);
    EXPECT_EQ(static_cast<int>(pManager->m_Career.size()), nEntries + 1);
    EXPECT_EQ(pManager->GetCareerEntry(-1)->abyCupSlots[0][1], 0xFF);
    EXPECT_EQ(pManager->GetCareerEntry(-1)->wClubId, m_pClub->GetID());
    OpenOnHuman();
    Popup().OnClicked(Details::ID_TAB_CAREER);
    EXPECT_EQ(cupRows(), std::vector<std::string>{expected});
}

TEST_F(ManagerDetails, EveryCompetitionsRunShowsWholeInTheCareerList)
{
    // A run in every competition there is, at a round whose name is long.
    int nRuns = 0;
    for (int k = 0; k < 7; ++k)
        if (const CUP* pCup = Database()->GetCupByCompetitionIndex(k, m_pClub->GetCountry())) {
            m_pClub->OnCupTieWon(MakeCupNumberFromKind(pCup->byKind, k < 4 ? m_pClub->GetCountry()->GetID() : 0), 3);
            ++nRuns;
        }
    OpenOnHuman();
    Popup().OnClicked(Details::ID_TAB_CAREER);
    const CXListBox* pCups = Popup().List(Details::ID_CUP_CAREER);
    ASSERT_NE(pCups, nullptr);
    EXPECT_EQ(pCups->GetCount(), nRuns);
    EXPECT_GE(nRuns, 5);
    EXPECT_EQ(CutCells(*pCups), std::vector<std::string>{});
    Shoot("manager_details_all_cups.png");
}

TEST_F(ManagerDetails, TheClubOverviewOpensItsManagerFromHisName)
{
    OpenScreen(SCREEN_CLUB_GENERAL);
    auto* pOverview = dynamic_cast<CClientClubGeneral*>(g_pCurrentClient);
    ASSERT_NE(pOverview, nullptr);
    const CClubDatabase* pClub = pOverview->GetClub();
    ASSERT_TRUE(pClub && pClub->m_wManagerId);
    auto* pName = dynamic_cast<CXStatic*>(pOverview->FindControl(CClientClubGeneral::ID_MANAGER));
    ASSERT_NE(pName, nullptr);
    pName->OnLButtonDown(0, 4, 4);
    pName->OnLButtonUp(0, 4, 4);
    ASSERT_EQ(CXPopup::TopPopup(), &Popup());
    EXPECT_EQ(Popup().GetManager()->GetId(), pClub->m_wManagerId);
}

TEST_F(ManagerDetails, PreferencesChangeTheManagersRecordOnlyOnOk)
{
    // A club with both an assistant and a commercial manager.
    ASSERT_GT(m_pClub->GetStaffCount(0), 0);
    ASSERT_GT(m_pClub->GetStaffCount(3), 0);
    const Preferences before = Stored();
    OpenOnHuman();
    ASSERT_TRUE(Visible(Details::ID_TAB_PREFERENCES));
    Popup().OnClicked(Details::ID_TAB_PREFERENCES);
    ASSERT_EQ(Popup().GetPage(), Details::PAGE_PREFERENCES);
    Shoot("manager_details_preferences.png");
    // The drop-downs show what his record holds.
    for (uint32_t n = 0; n < Details::kChoices; ++n) {
        const CXComboBox* pBox = Popup().Choice(Details::ID_FIRST_CHOICE + n);
        ASSERT_TRUE(pBox && pBox->GetSelection() >= 0) << "choice " << n;
        EXPECT_EQ(pBox->GetItemData(pBox->GetSelection()), before[n + 1]) << "choice " << n;
    }

    // The cautious preset, then the team picked by hand: the preset turns
    // custom. Cancel keeps the record as it was.
    Choose(Details::ID_PRESET, 2);
    EXPECT_EQ(Popup().GetPreferences(), (Preferences{2, 3, 3, 1, 1, 1, 3, 3, before[8]}));
    Choose(Details::ID_FIRST_CHOICE, 0);
    EXPECT_EQ(Popup().GetPreferences(), (Preferences{3, 0, 3, 1, 1, 1, 3, 3, before[8]}));
    EXPECT_EQ(Popup().Choice(Details::ID_PRESET)->GetItemData(Popup().Choice(Details::ID_PRESET)->GetSelection()),
              Details::kCustomPreset);
    Popup().OnClicked(CGamePopup::kCancelButtonID);
    EXPECT_FALSE(Popup().IsOnStack());
    EXPECT_EQ(Stored(), before);

    // Again, with OK: the record takes them.
    OpenOnHuman();
    Popup().OnClicked(Details::ID_TAB_PREFERENCES);
    Choose(Details::ID_PRESET, 1);
    Choose(Details::ID_FIRST_CHOICE + 5, 3);
    const Preferences chosen = {3, 2, 2, 1, 1, 1, 3, 2, before[8]};
    EXPECT_EQ(Popup().GetPreferences(), chosen);
    // Another page before OK loses nothing.
    Popup().OnClicked(Details::ID_TAB_GENERAL);
    Popup().OnClicked(CGamePopup::kOkButtonID);
    EXPECT_FALSE(Popup().IsOnStack());
    EXPECT_EQ(Stored(), chosen);
}

}  // namespace
