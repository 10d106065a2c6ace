// The club players screen on a game in play: the human's squad with the
// record's figures, sorting, another club and view by the change parameter,
// the youth view, squad numbers dragged and given automatically, the filter
// mask, and the previous and next player for the details popups.
#include "ScreenInPlay.h"

#include "screens/CClientClubPlayers.h"
#include "shell/CGamePopup.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "xframework/CXControl.h"
#include "xframework/CXListBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <string>
#include <vector>

namespace {

using Screen = CClientClubPlayers;

class ClubPlayers : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_NE(m_pClub, nullptr);
        ASSERT_NE(m_pClub->m_pDivision, nullptr);
        m_pClub->m_pDivision->m_bySquadNumbers = 1;
    }
    // Opens the screen with a change parameter.
    Screen* Open(uint32_t dwParameter)
    {
        g_pNavigationBar->SetNextClient(&GetClubPlayersScreen(), dwParameter);
        m_game.Update();
        m_game.Update();
        return dynamic_cast<Screen*>(g_pCurrentClient);
    }
    static std::string Cell(const CXListBox* pList, int nRow, int nColumn)
    {
        char szCell[LISTBOX_ROW_TEXT_SIZE];
        pList->GetColumnText(nRow, nColumn, szCell);
        return szCell;
    }
    CPlayerDatabase* RowPlayer(const CXListBox* pList, int nRow)
    {
        return Database()->GetPlayerFromID(static_cast<ID_PLAYER>(pList->GetItemData(nRow)));
    }
    std::vector<CPlayerDatabase*> Squad() const
    {
        std::vector<CPlayerDatabase*> squad;
        for (CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
            squad.push_back(p);
        return squad;
    }
    static std::string Number(int n)
    {
        char sz[8];
        std::snprintf(sz, sizeof sz, "%2d", n);
        return n ? sz : "- ";
    }
};

TEST_F(ClubPlayers, TheHumansSquadShowsTheRecordsFiguresOrderedByPosition)
{
    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_SQUAD_OVERVIEW));
    ASSERT_NE(pScreen, nullptr);
    ASSERT_EQ(pScreen->GetClub(), m_pClub);
    Shoot("club_players_overview.png");
    const CXListBox* pList = pScreen->GetList();
    ASSERT_EQ(pList->GetCount(), m_pClub->m_lstPlayers.GetCount()) << "the default filter lists everyone";
    const int nUnit = m_game.GetOptions().m_nContractsSalaries;
    int nLastPosition = -1;
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        const CPlayerDatabase* p = RowPlayer(pList, nRow);
        ASSERT_NE(p, nullptr);
        SCOPED_TRACE(p->GetShortName());
        EXPECT_EQ(p->m_pClub, m_pClub);
        EXPECT_EQ(Cell(pList, nRow, 0), Number(p->m_bySquadNumber));
        EXPECT_EQ(Cell(pList, nRow, 1), p->GetShortName());
        EXPECT_GE(p->m_byPosition, nLastPosition) << "ordered by position";
        nLastPosition = p->m_byPosition;
        EXPECT_EQ(std::stoi(Cell(pList, nRow, 4)), p->GetAge());
        EXPECT_EQ(std::stoi(Cell(pList, nRow, 5)), p->m_awAttributes[PLAYER_ATTRIBUTE_FITNESS] / 100);
        EXPECT_EQ(std::stoi(Cell(pList, nRow, 6)), p->m_awAttributes[PLAYER_ATTRIBUTE_MORALE] / 100);
        EXPECT_EQ(std::stoi(Cell(pList, nRow, 7)), p->GetRatingForPosition(p->m_byRole));
        EXPECT_EQ(Cell(pList, nRow, 8), std::to_string(p->GetContractTimeLeft(nUnit)) + " (" +
                                            std::to_string(p->GetContractLength(nUnit)) + ")");
        EXPECT_EQ(Cell(pList, nRow, 10), FormatMoney(p->m_dwValue, 0, 0, MONEY_AS_STORED, 0, 1));
        ASSERT_EQ(nUnit, 1) << "wages per month by default";
        EXPECT_EQ(Cell(pList, nRow, 9), FormatMoney(p->m_Contract.dwYearlyWage, 0, 0, MONEY_PER_MONTH, 0, 1));
    }

    // The skills view: Pace before Strength, values in whole points.
    pScreen = Open(Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_SQUAD_SKILLS));
    ASSERT_NE(pScreen, nullptr);
    Shoot("club_players_skills.png");
    pList = pScreen->GetList();
    ASSERT_GT(pList->GetCount(), 0);
    const CPlayerDatabase* p = RowPlayer(pList, 0);
    EXPECT_EQ(std::stoi(Cell(pList, 0, 11)), p->m_awAttributes[PLAYER_ATTRIBUTE_PACE] / 100);
    EXPECT_EQ(std::stoi(Cell(pList, 0, 12)), p->m_awAttributes[PLAYER_ATTRIBUTE_STRENGTH] / 100);
    EXPECT_EQ(std::stoi(Cell(pList, 0, 5)), p->m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] / 100);
}

TEST_F(ClubPlayers, HeadersSortByAgeAndBySurname)
{
    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_SQUAD_OVERVIEW));
    ASSERT_NE(pScreen, nullptr);
    CXListBox* pList = pScreen->GetList();
    ASSERT_GT(pList->GetCount(), 2);
    pList->OnLinkedButtonClicked(965);
    for (int nRow = 1; nRow < pList->GetCount(); ++nRow)
        EXPECT_LE(RowPlayer(pList, nRow - 1)->GetAge(), RowPlayer(pList, nRow)->GetAge()) << "row " << nRow;
    // Ratings as the option asks: numbers only.
    OptionValues numbers = m_game.GetOptions();
    numbers.m_nRatings = 1;
    ASSERT_TRUE(m_game.ApplyOptions(numbers));
    pScreen->UpdateBars();
    EXPECT_EQ(pList->m_byValueBarOptions, VALUEBAR_DRAW_NUMBER);
    pList->OnLinkedButtonClicked(963);
    for (int nRow = 1; nRow < pList->GetCount(); ++nRow)
        EXPECT_LE(strcasecmp(RowPlayer(pList, nRow - 1)->GetLastName(), RowPlayer(pList, nRow)->GetLastName()), 0)
            << "by surname, row " << nRow;
}

TEST_F(ClubPlayers, AnotherClubByTheParameterHidesWagesAndHasNoYouthOrNumbers)
{
    CClubDatabase* pOther = nullptr;
    for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        if (pClub != m_pClub && !pClub->m_lstYouths.IsEmpty())
            pOther = pClub;
    ASSERT_NE(pOther, nullptr);
    // A youth view asked for another club falls back to the squad overview.
    Screen* pScreen = Open(Screen::MakeParameter(pOther->m_wClubId, Screen::MODE_YOUTH_OVERVIEW));
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->GetClub(), pOther);
    EXPECT_EQ(pScreen->GetMode(), Screen::MODE_SQUAD_OVERVIEW);
    EXPECT_FALSE(pScreen->IsNumberGridUsable());
    Shoot("club_players_other_club.png");
    const CXListBox* pList = pScreen->GetList();
    ASSERT_EQ(pList->GetCount(), pOther->m_lstPlayers.GetCount());
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        EXPECT_EQ(RowPlayer(pList, nRow)->m_pClub, pOther);
        EXPECT_EQ(Cell(pList, nRow, 9), "-");
    }
    EXPECT_FALSE(pScreen->DropNumber(7, RowPlayer(pList, 0))) << "only the human numbers his squad";
}

TEST_F(ClubPlayers, TheYouthViewListsTheClubsYouths)
{
    ASSERT_FALSE(m_pClub->m_lstYouths.IsEmpty());
    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_YOUTH_OVERVIEW));
    ASSERT_NE(pScreen, nullptr);
    ASSERT_EQ(pScreen->GetMode(), Screen::MODE_YOUTH_OVERVIEW);
    EXPECT_FALSE(pScreen->IsNumberGridUsable());
    Shoot("club_players_youth.png");
    const CXListBox* pList = pScreen->GetList();
    ASSERT_EQ(pList->GetCount(), m_pClub->m_lstYouths.GetCount());
    int nLastRole = -1;
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        const CYouthDatabase* y = Database()->GetYouthFromID(static_cast<ID_PLAYER>(pList->GetItemData(nRow)));
        ASSERT_NE(y, nullptr);
        EXPECT_EQ(y->m_pClub, m_pClub);
        EXPECT_EQ(Cell(pList, nRow, 0), y->GetShortName());
        EXPECT_EQ(std::stoi(Cell(pList, nRow, 3)), y->GetAge());
        EXPECT_EQ(Cell(pList, nRow, 8), FormatMoney(y->m_dwValue, 0, 0, MONEY_AS_STORED, 0, 1));
        EXPECT_GE(y->m_byRole, nLastRole) << "ordered by role";
        nLastRole = y->m_byRole;
    }
    // A filter without goalkeepers and defenders.
    pScreen->SetFilterMask(0x3 | 0x30);
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        EXPECT_GE(Database()->GetYouthFromID(static_cast<ID_PLAYER>(pList->GetItemData(nRow)))->m_byPosition, 2);
}

TEST_F(ClubPlayers, DroppedNumbersSwapWithTheirHolder)
{
    // Numbers 7 and 12 on two players, the rest without one.
    for (CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        p->m_bySquadNumber = 0;
    const std::vector<CPlayerDatabase*> squad = Squad();
    ASSERT_GE(squad.size(), 3u);
    CPlayerDatabase* a = squad[0];
    CPlayerDatabase* b = squad[1];
    CPlayerDatabase* c = squad[2];
    a->m_bySquadNumber = 7;
    b->m_bySquadNumber = 12;
    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_SQUAD_OVERVIEW));
    ASSERT_NE(pScreen, nullptr);
    ASSERT_TRUE(pScreen->IsNumberGridUsable());
    EXPECT_EQ(pScreen->GetNumberHolder(7), a);
    EXPECT_EQ(pScreen->GetNumberHolder(12), b);

    ASSERT_TRUE(pScreen->DropNumber(7, b));
    EXPECT_EQ(b->m_bySquadNumber, 7);
    EXPECT_EQ(a->m_bySquadNumber, 12);
    EXPECT_EQ(pScreen->GetNumberHolder(7), b);
    EXPECT_EQ(pScreen->GetNumberHolder(12), a);
    const CXListBox* pList = pScreen->GetList();
    EXPECT_EQ(Cell(pList, pList->FindItemData(a->m_idPerson), 0), "12");
    EXPECT_EQ(Cell(pList, pList->FindItemData(b->m_idPerson), 0), " 7");

    // Onto a player without a number: the holder is left without one.
    ASSERT_TRUE(pScreen->DropNumber(7, c));
    EXPECT_EQ(c->m_bySquadNumber, 7);
    EXPECT_EQ(b->m_bySquadNumber, 0);
    EXPECT_EQ(Cell(pList, pList->FindItemData(b->m_idPerson), 0), "- ");
    EXPECT_EQ(pScreen->GetNumberHolder(7), c);
    EXPECT_EQ(pScreen->GetNumberHolder(12), a) << "no other number changes";
    // Onto its own holder nothing changes.
    ASSERT_TRUE(pScreen->DropNumber(7, c));
    EXPECT_EQ(c->m_bySquadNumber, 7);
    EXPECT_EQ(pScreen->GetNumberHolder(7), c);
    EXPECT_FALSE(pScreen->DropNumber(51, a));
    Shoot("club_players_numbers.png");

    // A drag from label 30 onto a's row with the mouse.
    const int nRow = pList->FindItemData(a->m_idPerson);
    const int nFirst = pList->GetFirstVisible();
    ASSERT_GE(nRow - nFirst, 0);
    pScreen->OnControlLButtonDown(Screen::ID_FIRST_NUMBER + 29, 20 + 24 * 4 + 3, 466 + 3);
    pScreen->OnLButtonUp(0, 100, pList->m_nTop + (nRow - nFirst) * 16 + 8);
    EXPECT_EQ(a->m_bySquadNumber, 30);
    EXPECT_EQ(pScreen->GetNumberHolder(30), a);
    EXPECT_EQ(pScreen->GetNumberHolder(12), nullptr);
    char szTip[TOOLTIP_TEXT_SIZE] = {};
    pScreen->OnGetToolTipText(Screen::ID_FIRST_NUMBER + 29, szTip);
    EXPECT_STREQ(szTip, a->GetShortName()) << "a number's tip names its holder";
    pScreen->OnGetToolTipText(Screen::ID_FIRST_NUMBER + 11, szTip);
    EXPECT_STREQ(szTip, "") << "a free number has none";

    // Automatic numbers through the message box: everyone has a number of
    // his own, the choice is kept, and the button goes.
    pScreen->OnClicked(Screen::ID_AUTOMATIC_NUMBERS);
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_TRUE(pBox && pBox->IsOnStack());
    EXPECT_EQ(pBox->GetTextItem(), Screen::kAutomaticNumbersMessage);
    pBox->OnClicked(884);
    EXPECT_TRUE(m_pHuman->GetAutomaticSquadNumbers());
    std::vector<int> numbers;
    for (const CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        numbers.push_back(p->m_bySquadNumber);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 0), 0);
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(std::adjacent_find(numbers.begin(), numbers.end()), numbers.end()) << "no number twice";
    EXPECT_EQ(a->m_bySquadNumber, 30) << "numbers given by hand stay";
    EXPECT_FALSE(pScreen->FindControl(Screen::ID_AUTOMATIC_NUMBERS)->m_bVisible);
    // A newcomer without a number gets one at the next entry.
    c->m_bySquadNumber = 0;
    pScreen = Open(Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_SQUAD_STATISTICS));
    ASSERT_NE(pScreen, nullptr);
    EXPECT_NE(c->m_bySquadNumber, 0);
    Shoot("club_players_statistics.png");

    // A division without squad numbers: no grid, "- " for everybody.
    m_pClub->m_pDivision->m_bySquadNumbers = 0;
    pScreen = Open(Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_SQUAD_OVERVIEW));
    ASSERT_NE(pScreen, nullptr);
    EXPECT_FALSE(pScreen->IsNumberGridUsable());
    for (int nRow = 0; nRow < pScreen->GetList()->GetCount(); ++nRow)
        EXPECT_EQ(Cell(pScreen->GetList(), nRow, 0), "- ");
}

TEST_F(ClubPlayers, TheSquadFilterByPositionAppearanceAndCompetition)
{
    // One player has appeared in the league, another has a league block
    // without appearance, the rest have none.
    const std::vector<CPlayerDatabase*> squad = Squad();
    std::vector<CPlayerDatabase*> withBlock;
    for (CPlayerDatabase* p : squad)
        if (MATCHINFORMATION* pInfo = p->GetMatchInformation(0)) {
            std::fill(std::begin(pInfo->abyFields), std::end(pInfo->abyFields), 0);
            withBlock.push_back(p);
        }
    ASSERT_GE(withBlock.size(), 2u) << "league blocks in the starting world";
    withBlock[0]->GetMatchInformation(0)->abyFields[MATCH_INFORMATION_STARTS] = 3;
    withBlock[0]->GetMatchInformation(0)->abyFields[MATCH_INFORMATION_GOALS] = 2;
    const uint8_t byNation = withBlock[0]->m_byNationality;
    auto count = [&](uint32_t dwMask) {
        return std::count_if(squad.begin(), squad.end(),
                             [&](const CPlayerDatabase* p) { return Screen::PassesSquadFilter(*p, dwMask, byNation); });
    };
    const long nAll = static_cast<long>(squad.size());
    const long nBlocks = static_cast<long>(withBlock.size());
    struct Case {
        uint32_t dwMask;
        long nExpected;
        const char* pszWhy;
    } cases[] = {
        {Screen::kInitialSquadFilter, nAll, "both appearance bits: everyone"},
        {0xFF1 & ~0x10u, nBlocks - 1, "without appearance, among those with a league block"},
        {0xFF1 & ~0x20u, 1, "with appearance only"},
        {0xFF1 & ~0x30u, nBlocks, "neither bit: those with a league block"},
        {0xFF2, nAll, "both bits count everyone whatever the competitions"},
        {0xFF2 & ~0x20u, 0, "no cup block, no appearance to find"},
        {0xFC1 & ~0xC0u, 0, "no nationality admitted"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(count(c.dwMask), c.nExpected) << c.pszWhy;
    const auto sums = Screen::CountStatistics(*withBlock[0], Screen::kInitialSquadFilter);
    EXPECT_EQ(sums.nStarts, 3);
    EXPECT_EQ(sums.nGoals, 2);
    EXPECT_TRUE(sums.bHasInformation);

    // On the screen: goalkeepers only.
    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_SQUAD_OVERVIEW));
    ASSERT_NE(pScreen, nullptr);
    pScreen->SetFilterMask(0x1F1 | 0x100);
    const CXListBox* pList = pScreen->GetList();
    ASSERT_GT(pList->GetCount(), 0);
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        EXPECT_EQ(RowPlayer(pList, nRow)->m_byPosition, 0);
}

TEST_F(ClubPlayers, PreviousAndNextListPlayerMoveTheSelection)
{
    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_SQUAD_OVERVIEW));
    ASSERT_NE(pScreen, nullptr);
    CGameClient* pClient = pScreen;
    const CXListBox* pList = pScreen->GetList();
    ASSERT_GE(pList->GetCount(), 3);
    ASSERT_EQ(pList->GetSelection(), 0);
    EXPECT_EQ(pClient->GetPreviousListPlayer(), pList->GetItemData(0)) << "the first row stays";
    EXPECT_EQ(pClient->GetNextListPlayer(), pList->GetItemData(1));
    EXPECT_EQ(pClient->GetNextPlayer(), pList->GetItemData(2));
    EXPECT_EQ(pList->GetSelection(), 2);
    EXPECT_EQ(pClient->GetPreviousPlayer(), pList->GetItemData(1));
    EXPECT_EQ(pClient->GetCurrentListPlayer(), pList->GetItemData(1));
    for (int i = 0; i < pList->GetCount() + 2; ++i)
        pClient->GetNextListPlayer();
    EXPECT_EQ(pList->GetSelection(), pList->GetCount() - 1) << "the last row stays";
}

}  // namespace
