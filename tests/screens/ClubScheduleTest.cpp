// The club schedule on a game in play, reached from the navigation tree:
// every competition's matches of the club in date order with the free days
// between them, the competition filter, a friendly arranged on a free date
// and played by the day loop (a date taken meanwhile refused with a
// message), a training camp booked and cancelled from the schedule and from
// team training, a friendly cancelled, stepping through the played matches,
// and a finished season read back from the history files.
#include "PressButton.h"
#include "ScreenInPlay.h"
#include "../shell/ScriptedProgram.h"

#include "popups/CPopupAdvancedMatchDetails.h"
#include "popups/CPopupListFilter.h"
#include "popups/CPopupTrainingCamp.h"
#include "popups/GamePopups.h"
#include "screens/CClientClubGeneral.h"
#include "screens/CClientClubSchedule.h"
#include "screens/CClientTrainingTeam.h"
#include "screens/CPopupArrangeFriendly.h"
#include "shell/CGamePopup.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CEventsDatabase.h"
#include "season/CTrainingManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXPopup.h"
#include "xframework/CXStatic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using Screen = CClientClubSchedule;

class ClubSchedule : public ScreenInPlay {
protected:
    ClubSchedule() : ScreenInPlay(20) {}
    void SetUp() override
    {
        CreateGamePopups();
        ScreenInPlay::SetUp();
    }
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        ScreenInPlay::TearDown();
    }
    // The schedule from the navigation tree: the human's club, this season.
    Screen& OpenFromTree()
    {
        OpenScreen(Screen::kScreenID);
        auto* pScreen = dynamic_cast<Screen*>(g_pCurrentClient);
        EXPECT_NE(pScreen, nullptr);
        return *pScreen;
    }
    static std::vector<uint32_t> RowData(const CXListBox& list)
    {
        std::vector<uint32_t> rows;
        for (int i = 0; i < list.GetCount(); ++i)
            rows.push_back(static_cast<uint32_t>(list.GetItemData(i)));
        return rows;
    }
    static std::string Cell(const CXListBox& list, int nRow, int nColumn)
    {
        char szText[LISTBOX_ROW_TEXT_SIZE];
        list.GetColumnText(nRow, nColumn, szText);
        return szText;
    }
    static int RowOf(const CXListBox& list, uint32_t dwData)
    {
        for (int i = 0; i < list.GetCount(); ++i)
            if (static_cast<uint32_t>(list.GetItemData(i)) == dwData)
                return i;
        return -1;
    }
    // The date of each row as the list prints it, turned back into days.
    static std::vector<int> RowDays(const CXListBox& list)
    {
        std::vector<int> days;
        for (int i = 0; i < list.GetCount(); ++i) {
            int d = 0, m = 0, y = 0;
            EXPECT_EQ(std::sscanf(Cell(list, i, 0).c_str(), "%d/%d/%d", &d, &m, &y), 3) << Cell(list, i, 0);
            days.push_back(CDate(y >= 90 ? 1900 + y : 2000 + y, m, d).GetDayNumber());
        }
        return days;
    }
    // Every fixture of the club this season: id and date.
    std::vector<std::pair<uint32_t, CDate>> ClubFixtures(bool bLeague, bool bDomestic, bool bEuropean,
                                                         bool bFriendlies)
    {
        std::vector<std::pair<uint32_t, CDate>> fixtures;
        const ID_CLUB idClub = m_pClub->m_wClubId;
        if (bLeague)
            for (const CDivisionDatabase* pDivision : m_pClub->GetCountry()->GetDivisions().Items<CDivisionDatabase>())
                for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
                    if (p->IsClubInvolved(idClub))
                        fixtures.emplace_back(p->GetFixtureID(), p->GetDate());
        if (bDomestic)
            for (const CCupFixturesDatabase* p : m_pClub->GetCountry()->GetCupFixtures().Items<CCupFixturesDatabase>())
                if (p->IsClubInvolved(idClub))
                    fixtures.emplace_back(p->GetFixtureID(), p->GetDate());
        for (const CCupFixturesDatabase* p : Database()->GetCupFixtures().Items<CCupFixturesDatabase>()) {
            const bool bFriendly = p->GetKind() == CCupFixturesDatabase::KIND_FRIENDLY;
            if (p->IsClubInvolved(idClub) && (bFriendly ? bFriendlies : bEuropean))
                fixtures.emplace_back(p->GetFixtureID(), p->GetDate());
        }
        return fixtures;
    }
    static std::set<uint32_t> FixtureRows(const CXListBox& list)
    {
        std::set<uint32_t> ids;
        for (uint32_t dwData : RowData(list))
            if (!(dwData & (Screen::ROW_CAMP | Screen::ROW_FREE_DAY)))
                ids.insert(dwData & Screen::ROW_VALUE_MASK);
        return ids;
    }
    // A club of another league of the human's country, whom a friendly
    // request suits.
    CClubDatabase* ClubOfAnotherLeague()
    {
        for (CDivisionDatabase* pDivision : m_pClub->GetCountry()->GetDivisions().Items<CDivisionDatabase>())
            if (pDivision != m_pClub->m_pDivision && pDivision->m_byKind == DIVISION_KIND_LEAGUE)
                for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                    return pClub;
        return nullptr;
    }
    // The friendly popup with the opponent chosen as a player would.
    CPopupArrangeFriendly& OpenFriendlyPopup(Screen& screen, const CClubDatabase& opponent)
    {
        PressButton(screen, Screen::ID_ARRANGE_FRIENDLY);
        CPopupArrangeFriendly& popup = screen.GetFriendlyPopup();
        EXPECT_TRUE(popup.IsOnStack());
        CXComboBox* pDivisions = popup.Box(CPopupArrangeFriendly::ID_DIVISION);
        pDivisions->SetCurSel(pDivisions->FindItemData(opponent.m_pDivision->m_byDivisionId));
        CXComboBox* pClubs = popup.Box(CPopupArrangeFriendly::ID_CLUB);
        pClubs->SetCurSel(pClubs->FindItemData(opponent.m_wClubId));
        EXPECT_EQ(popup.GetOpponent(), &opponent);
        return popup;
    }
    static std::vector<uint32_t> OfferedDates(const CXComboBox& box)
    {
        std::vector<uint32_t> dates;
        for (int i = 0; i < box.GetCount(); ++i)
            dates.push_back(static_cast<uint32_t>(box.GetItemData(i)));
        return dates;
    }
    const CCupFixturesDatabase* FriendlyOf(const CClubDatabase& opponent)
    {
        for (const CCupFixturesDatabase* p : Database()->GetCupFixtures().Items<CCupFixturesDatabase>())
            if (p->GetKind() == CCupFixturesDatabase::KIND_FRIENDLY && p->IsClubInvolved(m_pClub->m_wClubId) &&
                p->IsClubInvolved(opponent.m_wClubId))
                return p;
        return nullptr;
    }
    void PlayDaysTo(const CDate& date)
    {
        for (int n = 0; n < 400 && !(date < Database()->GetGameDate()); ++n) {
            Database()->ProcessDay();
            Database()->DoMatchDay(Database()->GetGameDate());
        }
    }
};

TEST_F(ClubSchedule, ListsEveryCompetitionInDateOrderWithTheFreeDays)
{
    // A friendly of the club so that every kind of row is there.
    CClubDatabase* pOpponent = ClubOfAnotherLeague();
    ASSERT_NE(pOpponent, nullptr);
    const CDate friendlyDate(Database()->GetGameDate().GetValue(), 40);
    Database()->OrganiseFriendlyFixture(m_pClub, pOpponent, friendlyDate, false);
    Screen& screen = OpenFromTree();
    Shoot("club_schedule.png");
    ASSERT_EQ(screen.GetClub(), m_pClub);
    const CXListBox& list = *screen.GetList();

    std::set<uint32_t> expected;
    for (const auto& fixture : ClubFixtures(true, true, true, true))
        expected.insert(fixture.first);
    ASSERT_GT(expected.size(), 20u);
    EXPECT_EQ(FixtureRows(list), expected);

    const std::vector<int> days = RowDays(list);
    EXPECT_TRUE(std::is_sorted(days.begin(), days.end()));
    // Free days: from a week on, none within two days of a match of the club.
    std::vector<int> matchDays;
    for (const auto& fixture : ClubFixtures(true, true, true, true))
        matchDays.push_back(fixture.second.GetDayNumber());
    const int nFirstFree = Database()->GetGameDate().GetDayNumber() + 7;
    int nFree = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (static_cast<uint32_t>(list.GetItemData(i)) != Screen::ROW_FREE_DAY)
            continue;
        ++nFree;
        EXPECT_GE(days[static_cast<size_t>(i)], nFirstFree);
        for (int nMatch : matchDays)
            EXPECT_GT(std::abs(days[static_cast<size_t>(i)] - nMatch), Screen::kClearDays) << Cell(list, i, 0);
    }
    EXPECT_GT(nFree, 0);
    // The friendly's row says where it is played and against whom.
    const int nRow = RowOf(list, FriendlyOf(*pOpponent)->GetFixtureID());
    ASSERT_GE(nRow, 0);
    EXPECT_EQ(Cell(list, nRow, 1), GetTableTextOrEmpty(114, 0));
    EXPECT_EQ(Cell(list, nRow, 2), pOpponent->GetName());
}

TEST_F(ClubSchedule, TheFilterNarrowsTheCompetitionsListed)
{
    CClubDatabase* pOpponent = ClubOfAnotherLeague();
    ASSERT_NE(pOpponent, nullptr);
    Database()->OrganiseFriendlyFixture(m_pClub, pOpponent, CDate(Database()->GetGameDate().GetValue(), 40), false);
    Screen& screen = OpenFromTree();
    // Each criterion unticked through the filter panel hides its kind alone.
    struct Case {
        int nCriterion;
        bool bLeague, bDomestic, bEuropean, bFriendlies;
    };
    const Case cases[] = {
        {0, false, true, true, true},
        {1, true, false, true, true},
        {2, true, true, false, true},
        {3, true, true, true, false},
    };
    for (const Case& c : cases) {
        PressButton(screen, Screen::ID_FILTER);
        CPopupListFilter& filter = GetListFilterPopup();
        ASSERT_TRUE(filter.IsOnStack());
        filter.ToggleCriterion(c.nCriterion);
        filter.Close();
        std::set<uint32_t> expected;
        for (const auto& fixture : ClubFixtures(c.bLeague, c.bDomestic, c.bEuropean, c.bFriendlies))
            expected.insert(fixture.first);
        EXPECT_EQ(FixtureRows(*screen.GetList()), expected) << "criterion " << c.nCriterion;
        // Ticked again for the next case.
        PressButton(screen, Screen::ID_FILTER);
        GetListFilterPopup().ToggleCriterion(c.nCriterion);
        GetListFilterPopup().Close();
        EXPECT_EQ(screen.GetMask(), static_cast<uint32_t>(Screen::SHOW_ALL));
    }
}

TEST_F(ClubSchedule, AFriendlyArrangedOnAFreeDateIsPlayedByTheDayLoop)
{
    CClubDatabase* pOpponent = ClubOfAnotherLeague();
    ASSERT_NE(pOpponent, nullptr);
    Screen& screen = OpenFromTree();
    CPopupArrangeFriendly& popup = OpenFriendlyPopup(screen, *pOpponent);
    Shoot("club_schedule_friendly.png");
    // The human's own club is never an opponent.
    CXComboBox* pDivisions = popup.Box(CPopupArrangeFriendly::ID_DIVISION);
    pDivisions->SetCurSel(pDivisions->FindItemData(m_pClub->m_pDivision->m_byDivisionId));
    EXPECT_LT(popup.Box(CPopupArrangeFriendly::ID_CLUB)->FindItemData(m_pClub->m_wClubId), 0);
    pDivisions->SetCurSel(pDivisions->FindItemData(pOpponent->m_pDivision->m_byDivisionId));
    CXComboBox* pClubs = popup.Box(CPopupArrangeFriendly::ID_CLUB);
    pClubs->SetCurSel(pClubs->FindItemData(pOpponent->m_wClubId));

    // Only dates on which neither club plays within two days.
    const CXComboBox& dates = *popup.Box(CPopupArrangeFriendly::ID_DATE);
    ASSERT_GT(dates.GetCount(), 0);
    for (uint32_t dwDate : OfferedDates(dates))
        for (const CClubDatabase* pSide : {static_cast<const CClubDatabase*>(m_pClub),
                                           static_cast<const CClubDatabase*>(pOpponent)})
            EXPECT_EQ(Database()->GetFixtureOpponent(pSide->m_wClubId, CDate(dwDate), 2, 2), nullptr)
                << FormatPackedDate(dwDate);
    // A date a week or so ahead, played away.
    const uint32_t dwDate = static_cast<uint32_t>(dates.GetItemData(0));
    popup.Box(CPopupArrangeFriendly::ID_DATE)->SetCurSel(0);
    CXComboBox* pVenues = popup.Box(CPopupArrangeFriendly::ID_VENUE);
    pVenues->SetCurSel(pVenues->FindItemData(CPopupArrangeFriendly::VENUE_AWAY));
    PressButton(popup, CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());

    const CCupFixturesDatabase* pFriendly = FriendlyOf(*pOpponent);
    ASSERT_NE(pFriendly, nullptr);
    EXPECT_EQ(pFriendly->GetDate().GetValue(), dwDate);
    EXPECT_EQ(pFriendly->GetHomeClubID(), pOpponent->m_wClubId);
    const uint32_t dwID = pFriendly->GetFixtureID();
    const int nRow = RowOf(*screen.GetList(), dwID);
    ASSERT_GE(nRow, 0);
    EXPECT_EQ(Cell(*screen.GetList(), nRow, 1), GetTableTextOrEmpty(114, 1));

    // The other club agrees the next day, and the match day plays it.
    PlayDaysTo(CDate(dwDate));
    pFriendly = FriendlyOf(*pOpponent);
    ASSERT_NE(pFriendly, nullptr) << "the friendly was refused";
    EXPECT_TRUE(pFriendly->IsPlayed());
    Screen& again = OpenFromTree();
    EXPECT_GE(RowOf(*again.GetList(), dwID | Screen::ROW_PLAYED), 0);
}

TEST_F(ClubSchedule, ADateTakenMeanwhileIsRefusedWithAMessage)
{
    CClubDatabase* pOpponent = ClubOfAnotherLeague();
    ASSERT_NE(pOpponent, nullptr);
    Screen& screen = OpenFromTree();
    CPopupArrangeFriendly& popup = OpenFriendlyPopup(screen, *pOpponent);
    CXComboBox* pDates = popup.Box(CPopupArrangeFriendly::ID_DATE);
    ASSERT_GT(pDates->GetCount(), 0);
    pDates->SetCurSel(0);
    const CDate date(static_cast<uint32_t>(pDates->GetItemData(0)));
    // The opponent arranges another friendly on that day before OK.
    CClubDatabase* pThird = nullptr;
    for (CClubDatabase* pClub : pOpponent->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        if (pClub != pOpponent)
            pThird = pClub;
    ASSERT_NE(pThird, nullptr);
    Database()->OrganiseFriendlyFixture(pOpponent, pThird, date, false);
    const size_t nFixtures = Database()->GetCupFixtures().GetCount();

    PressButton(popup, CGamePopup::kOkButtonID);
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_NE(pBox, nullptr);
    EXPECT_TRUE(pBox->IsOnStack());
    EXPECT_EQ(pBox->GetTextItem(), CPopupArrangeFriendly::kMessageDateTaken);
    EXPECT_FALSE(std::string(GetTableTextOrEmpty(95, CPopupArrangeFriendly::kMessageDateTaken)).empty());
    pBox->OnClicked(CGamePopup::kOkButtonID);
    // Nothing booked; the choice stays open for another date.
    EXPECT_TRUE(popup.IsOnStack());
    EXPECT_EQ(Database()->GetCupFixtures().GetCount(), nFixtures);
    EXPECT_EQ(FriendlyOf(*pOpponent), nullptr);
    // Cancel leaves the world as it was.
    PressButton(popup, CGamePopup::kCancelButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(Database()->GetCupFixtures().GetCount(), nFixtures);
}

TEST_F(ClubSchedule, AFriendlyIsCancelledFromItsRow)
{
    CClubDatabase* pOpponent = ClubOfAnotherLeague();
    ASSERT_NE(pOpponent, nullptr);
    const CDate date(Database()->GetGameDate().GetValue(), 40);
    const CCupFixturesDatabase* pFriendly = Database()->OrganiseFriendlyFixture(m_pClub, pOpponent, date, false);
    ASSERT_NE(pFriendly, nullptr);
    const uint32_t dwID = pFriendly->GetFixtureID();
    CCountryDatabase* pCountry = m_pClub->GetCountry();
    ASSERT_NE(pCountry->FindEvent(46, dwID), nullptr);
    Screen& screen = OpenFromTree();
    CXListBox& list = *screen.GetList();
    // Cancel on the question keeps it.
    list.SetSelection(RowOf(list, dwID));
    screen.OnDoubleClicked(Screen::ID_LIST);
    ASSERT_EQ(GetGameMessageBox()->GetTextItem(), Screen::MESSAGE_CANCEL_FRIENDLY);
    GetGameMessageBox()->OnClicked(CGamePopup::kCancelButtonID);
    EXPECT_EQ(FriendlyOf(*pOpponent), pFriendly);

    list.SetSelection(RowOf(list, dwID));
    screen.OnDoubleClicked(Screen::ID_LIST);
    GetGameMessageBox()->OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(FriendlyOf(*pOpponent), nullptr);
    EXPECT_EQ(pCountry->FindEvent(46, dwID), nullptr);
    EXPECT_LT(RowOf(*screen.GetList(), dwID), 0);
    // A league match's row asks nothing.
    for (uint32_t dwData : RowData(*screen.GetList()))
        if (!(dwData & (Screen::ROW_CAMP | Screen::ROW_FREE_DAY | Screen::ROW_PLAYED))) {
            screen.GetList()->SetSelection(RowOf(*screen.GetList(), dwData));
            screen.OnDoubleClicked(Screen::ID_LIST);
            EXPECT_FALSE(GetGameMessageBox()->IsOnStack());
            break;
        }
}

TEST_F(ClubSchedule, ACampIsBookedOnFreeDaysAndCancelled)
{
    Screen& screen = OpenFromTree();
    PressButton(screen, Screen::ID_BOOK_CAMP);
    CPopupTrainingCamp& popup = screen.GetCampPopup();
    ASSERT_TRUE(popup.IsOnStack());
    Shoot("club_schedule_camp.png");
    // The camp kinds a length allows.
    const struct {
        int nDays;
        std::vector<uint32_t> kinds;
    } lengths[] = {{3, {0}}, {7, {0, 1}}, {10, {0, 1, 2}}, {14, {0, 1, 2}}};
    CXComboBox* pLength = popup.Box(CPopupTrainingCamp::ID_LENGTH);
    for (const auto& length : lengths) {
        pLength->SetCurSel(pLength->FindItemData(static_cast<uint32_t>(length.nDays)));
        EXPECT_EQ(OfferedDates(*popup.Box(CPopupTrainingCamp::ID_FIRST_CHOICE)), length.kinds) << length.nDays;
    }
    // A week at the tactics camp in basic lodgings.
    pLength->SetCurSel(pLength->FindItemData(7));
    CXComboBox* pKind = popup.Box(CPopupTrainingCamp::ID_FIRST_CHOICE);
    pKind->SetCurSel(pKind->FindItemData(1));
    const int nSquad = m_pClub->m_lstPlayers.GetCount();
    EXPECT_EQ(CPopupTrainingCamp::Price(1, 0, 20, 7), 45500);
    const auto* pPrice = dynamic_cast<const CXStatic*>(popup.FindControl(CPopupTrainingCamp::ID_PRICE));
    ASSERT_NE(pPrice, nullptr);
    EXPECT_STREQ(pPrice->Text(), FormatMoney((300 + 25) * nSquad * 7, 0, 1, MONEY_AS_STORED, 0, 1));
    // No start date lets the camp meet a match.
    const CXComboBox& starts = *popup.Box(CPopupTrainingCamp::ID_START);
    ASSERT_GT(starts.GetCount(), 0);
    for (uint32_t dwStart : OfferedDates(starts))
        EXPECT_EQ(Database()->GetFixtureOpponent(m_pClub->m_wClubId, CDate(dwStart), 7, 1), nullptr)
            << FormatPackedDate(dwStart);
    const CDate start(static_cast<uint32_t>(starts.GetItemData(0)));
    popup.Box(CPopupTrainingCamp::ID_START)->SetCurSel(0);
    PressButton(popup, CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());

    CTrainingManager& training = m_pHuman->GetTrainingManager();
    ASSERT_EQ(training.GetCampCount(), 1);
    LPXLISTNODE pPosition = nullptr;
    const TRAININGCAMP* pCamp = training.GetNextTrainingCamp(pPosition);
    EXPECT_EQ(pCamp->Start, start);
    EXPECT_EQ(pCamp->byLength, 7);
    EXPECT_EQ(pCamp->byKind, 1);
    EXPECT_EQ(pCamp->GetPrice(), static_cast<uint32_t>((300 + 25) * nSquad * 7));
    const uint32_t dwCamp = pCamp->GetID();
    CCountryDatabase* pCountry = m_pClub->GetCountry();
    const CEventsDatabase* pBegins = pCountry->FindEvent(35, dwCamp);
    const CEventsDatabase* pEnds = pCountry->FindEvent(36, dwCamp);
    ASSERT_NE(pBegins, nullptr);
    ASSERT_NE(pEnds, nullptr);
    EXPECT_EQ(pBegins->GetDate(), start);
    EXPECT_EQ(pEnds->GetDate(), CDate(start.GetValue(), 7));

    // Seven camp rows, and none of those days is free any more.
    CXListBox& list = *screen.GetList();
    std::vector<int> campRows;
    for (int i = 0; i < list.GetCount(); ++i)
        if (static_cast<uint32_t>(list.GetItemData(i)) == Screen::ROW_CAMP)
            campRows.push_back(i);
    ASSERT_EQ(campRows.size(), 7u);
    EXPECT_EQ(Cell(list, campRows[0], 0), FormatPackedDate(start.GetValue()));
    EXPECT_EQ(Cell(list, campRows[0], 2), GetTableTextOrEmpty(114, 19));
    const std::vector<int> days = RowDays(list);
    for (int i = 0; i < list.GetCount(); ++i)
        if (static_cast<uint32_t>(list.GetItemData(i)) == Screen::ROW_FREE_DAY) {
            EXPECT_TRUE(days[static_cast<size_t>(i)] < start.GetDayNumber() ||
                        days[static_cast<size_t>(i)] >= start.GetDayNumber() + 7)
                << Cell(list, i, 0);
        }
    Shoot("club_schedule_camp_booked.png");

    // A second camp cannot overlap the first.
    PressButton(screen, Screen::ID_BOOK_CAMP);
    for (uint32_t dwStart : OfferedDates(*popup.Box(CPopupTrainingCamp::ID_START)))
        EXPECT_FALSE(training.FindClashingCamp(CDate(dwStart), 3, nullptr)) << FormatPackedDate(dwStart);
    PressButton(popup, CGamePopup::kCancelButtonID);
    EXPECT_EQ(training.GetCampCount(), 1);

    // Cancelled from one of its days.
    list.SetSelection(campRows[3]);
    screen.OnDoubleClicked(Screen::ID_LIST);
    ASSERT_EQ(GetGameMessageBox()->GetTextItem(), Screen::MESSAGE_CANCEL_CAMP);
    GetGameMessageBox()->OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(training.GetCampCount(), 0);
    EXPECT_EQ(pCountry->FindEvent(35, dwCamp), nullptr);
    EXPECT_EQ(pCountry->FindEvent(36, dwCamp), nullptr);
    EXPECT_LT(RowOf(*screen.GetList(), Screen::ROW_CAMP), 0);
}

// A booked camp is paid once, under its own category of the books, on the
// day it begins; a camp cancelled before then costs nothing.
TEST_F(ClubSchedule, ACampIsPaidOnTheDayItBeginsAndACancelledOneCostsNothing)
{
    constexpr int kCampCategory = 74;
    Screen& screen = OpenFromTree();
    CPopupTrainingCamp& popup = screen.GetCampPopup();
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    // A week's camp from the first date offered, then three days from the last.
    const auto book = [&](int nDays, bool bLast) {
        PressButton(screen, Screen::ID_BOOK_CAMP);
        EXPECT_TRUE(popup.IsOnStack());
        CXComboBox* pLength = popup.Box(CPopupTrainingCamp::ID_LENGTH);
        pLength->SetCurSel(pLength->FindItemData(static_cast<uint32_t>(nDays)));
        CXComboBox* pStarts = popup.Box(CPopupTrainingCamp::ID_START);
        EXPECT_GT(pStarts->GetCount(), 1);
        const int nRow = bLast ? pStarts->GetCount() - 1 : 0;
        pStarts->SetCurSel(nRow);
        const CDate start(static_cast<uint32_t>(pStarts->GetItemData(nRow)));
        PressButton(popup, CGamePopup::kOkButtonID);
        EXPECT_FALSE(popup.IsOnStack());
        return start;
    };
    const CDate start = book(7, false);
    const CDate cancelled = book(3, true);
    ASSERT_EQ(training.GetCampCount(), 2);
    ASSERT_LT(CDate(start.GetValue(), 7), cancelled);
    LPXLISTNODE pPosition = nullptr;
    const TRAININGCAMP* pCamp = training.GetNextTrainingCamp(pPosition);
    ASSERT_EQ(pCamp->Start, start);
    const int32_t nPrice = static_cast<int32_t>(pCamp->GetPrice());
    ASSERT_GT(nPrice, 0);

    // The later camp (the second booked) called off from one of its rows.
    CXListBox& list = *screen.GetList();
    const int nLaterCampRow = RowOf(list, Screen::ROW_CAMP | 1);
    ASSERT_GE(nLaterCampRow, 0);
    list.SetSelection(nLaterCampRow);
    screen.OnDoubleClicked(Screen::ID_LIST);
    ASSERT_EQ(GetGameMessageBox()->GetTextItem(), Screen::MESSAGE_CANCEL_CAMP);
    GetGameMessageBox()->OnClicked(CGamePopup::kOkButtonID);
    ASSERT_EQ(training.GetCampCount(), 1);
    pPosition = nullptr;
    ASSERT_EQ(training.GetNextTrainingCamp(pPosition)->Start, start) << "the first camp is kept";

    // The projection of the camp's month holds its price until it is paid.
    const auto projected = [&]() {
        int64_t nIncome = 0, nExpense = 0;
        m_pHuman->ComputeProjectedFinance(kCampCategory, start.GetMonth(), start.GetYear(), nIncome, nExpense);
        return nExpense;
    };
    EXPECT_EQ(projected(), nPrice);
    const int32_t nBefore = m_pHuman->GetSeasonEntry(kCampCategory).nExpense;
    while (!(CDate(cancelled.GetValue(), 4) < Database()->GetGameDate())) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
        const bool bBegun = !(Database()->GetGameDate() < start);
        ASSERT_EQ(m_pHuman->GetSeasonEntry(kCampCategory).nExpense, nBefore + (bBegun ? nPrice : 0))
            << FormatPackedDate(Database()->GetGameDate().GetValue());
        if (Database()->GetGameDate() == start) {
            EXPECT_EQ(projected(), 0) << "a camp paid is not projected again";
        }
    }
}

TEST_F(ClubSchedule, LateInTheSeasonNoCampOrFriendlyCanBeBooked)
{
    CClubDatabase* pOpponent = ClubOfAnotherLeague();
    ASSERT_NE(pOpponent, nullptr);
    CDate seasonEnd;
    Database()->GetSeasonEndDate(seasonEnd);
    // A camp of the days, the season's end this many days after today.
    const struct {
        int nDaysToEnd;
        int nCampDays;
        bool bNoneLeft;
    } cases[] = {{10, 3, true}, {11, 3, false}, {14, 7, true}, {30, 14, false}};
    for (const auto& c : cases) {
        Database()->SetGameDate(CDate(seasonEnd.GetValue(), -c.nDaysToEnd));
        bool bNoneLeft = false;
        const std::vector<CDate> starts =
            CPopupTrainingCamp::StartDates(*Database(), *m_pHuman, c.nCampDays, &bNoneLeft);
        EXPECT_EQ(bNoneLeft, c.bNoneLeft) << c.nDaysToEnd << " " << c.nCampDays;
        for (const CDate& start : starts)
            EXPECT_LT(CDate(start.GetValue(), c.nCampDays), seasonEnd);
    }
    // The friendly's last three days of the season are never offered.
    Database()->SetGameDate(CDate(seasonEnd.GetValue(), -11));
    bool bNoneLeft = true;
    for (const CDate& date : CPopupArrangeFriendly::FreeDates(*Database(), *m_pHuman, *pOpponent, &bNoneLeft))
        EXPECT_LT(CDate(date.GetValue(), 3), seasonEnd);
    EXPECT_FALSE(bNoneLeft);
    Database()->SetGameDate(CDate(seasonEnd.GetValue(), -10));
    EXPECT_TRUE(CPopupArrangeFriendly::FreeDates(*Database(), *m_pHuman, *pOpponent, &bNoneLeft).empty());
    EXPECT_TRUE(bNoneLeft);

    // The popup says so and cannot book.
    Screen& screen = OpenFromTree();
    PressButton(screen, Screen::ID_BOOK_CAMP);
    CPopupTrainingCamp& popup = screen.GetCampPopup();
    const CXComboBox& starts = *popup.Box(CPopupTrainingCamp::ID_START);
    ASSERT_EQ(starts.GetCount(), 1);
    EXPECT_EQ(Cell(starts, 0, 0), GetTableTextOrEmpty(114, 90));
    auto* pOk = dynamic_cast<CXButton*>(popup.FindControl(CGamePopup::kOkButtonID));
    ASSERT_NE(pOk, nullptr);
    EXPECT_TRUE(pOk->m_bDisabled);
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(m_pHuman->GetTrainingManager().GetCampCount(), 0);
}

TEST_F(ClubSchedule, TeamTrainingBooksItsCampThroughTheSamePopup)
{
    OpenScreen(SCREEN_TRAINING_TEAM);
    auto* pTraining = dynamic_cast<CClientTrainingTeam*>(g_pCurrentClient);
    ASSERT_NE(pTraining, nullptr);
    PressButton(*pTraining, CClientTrainingTeam::ID_CAMP);
    CPopupTrainingCamp& popup = pTraining->GetCampPopup();
    ASSERT_TRUE(popup.IsOnStack());
    // The first day on offer: a week from today at the earliest.
    CXComboBox* pStarts = popup.Box(CPopupTrainingCamp::ID_START);
    ASSERT_GT(pStarts->GetCount(), 0);
    pStarts->SetCurSel(0);
    const CDate start(static_cast<uint32_t>(pStarts->GetItemData(0)));
    EXPECT_FALSE(start < CDate(Database()->GetGameDate().GetValue(), 7));
    PressButton(popup, CGamePopup::kOkButtonID);
    ASSERT_EQ(m_pHuman->GetTrainingManager().GetCampCount(), 1);
    EXPECT_TRUE(m_pHuman->GetTrainingManager().FindClashingCamp(start, 0, nullptr));
}

TEST_F(ClubSchedule, TheMatchDetailsStepOverRowsWithoutAPlayedMatch)
{
    // Some league match days played.
    for (int nDay = 0; nDay < 90 && m_pClub->m_HomeRow.byPlayed + m_pClub->m_AwayRow.byPlayed < 3; ++nDay) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
    }
    Screen& screen = OpenFromTree();
    Shoot("club_schedule_played.png");
    CXListBox& list = *screen.GetList();
    std::vector<int> played;
    for (int i = 0; i < list.GetCount(); ++i)
        if (static_cast<uint32_t>(list.GetItemData(i)) & Screen::ROW_PLAYED)
            played.push_back(i);
    ASSERT_GE(played.size(), 2u);
    // A played match opens its details.
    list.SetSelection(played[0]);
    screen.OnDoubleClicked(Screen::ID_LIST);
    CPopupAdvancedMatchDetails& details = GetAdvancedMatchDetailsPopup();
    ASSERT_TRUE(details.IsOnStack());
    EXPECT_EQ(details.GetMatchID(), static_cast<uint32_t>(list.GetItemData(played[0])) & Screen::ROW_VALUE_MASK);
    details.Close();
    // From a played match to the next: one row between them is stepped over.
    for (size_t k = 0; k + 1 < played.size(); ++k)
        if (played[k + 1] - played[k] <= 2) {
            list.SetSelection(played[k]);
            const int32_t nNext = screen.GetNextFixture();
            EXPECT_EQ(nNext, static_cast<int32_t>(static_cast<uint32_t>(list.GetItemData(played[k + 1])) &
                                                  Screen::ROW_VALUE_MASK));
            EXPECT_EQ(list.GetSelection(), played[k + 1]);
        }
}

TEST_F(ClubSchedule, AFinishedSeasonComesFromTheHistoryFiles)
{
    CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    CCountryDatabase* pCountry = m_pClub->GetCountry();
    // The season so far written away as if it had finished, then the next begun.
    std::set<uint32_t> expected;
    for (const auto& fixture : ClubFixtures(true, false, true, true))
        expected.insert(fixture.first);
    ASSERT_TRUE(pDivision->WriteScheduleHistory(1, 5));
    ASSERT_TRUE(Database()->SaveEuroCupSchedule());
    pCountry->SetSeasonStartDate(CDate(CClientClubGeneral::kSeasonBase + 1, 7, 1));
    // Fixtures of other divisions (play-offs) are not in the league's file.
    std::set<uint32_t> own;
    for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->IsClubInvolved(m_pClub->m_wClubId))
            own.insert(p->GetFixtureID());
    for (const auto& fixture : ClubFixtures(false, false, true, true))
        own.insert(fixture.first);

    g_pNavigationBar->SetNextClient(&GetClubScheduleScreen(), CClientClubGeneral::MakeParameter(m_pClub->GetID(), 0));
    m_game.Update();
    m_game.Update();
    auto* pScreen = dynamic_cast<Screen*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->GetSelectedSeason(), 0);
    EXPECT_EQ(pScreen->GetCurrentSeason(), 1);
    Shoot("club_schedule_finished.png");
    EXPECT_EQ(FixtureRows(*pScreen->GetList()), own);
    // No free days or bookings in a finished season.
    for (uint32_t dwData : RowData(*pScreen->GetList()))
        EXPECT_FALSE(dwData & (Screen::ROW_FREE_DAY | Screen::ROW_CAMP));
}

// In the running program: the tree's club group, then its schedule row,
// then the friendly button of the bottom bar.
TEST(ClubScheduleInTheProgram, TheTreeOpensTheScheduleAndItsButtonTheFriendlyPopup)
{
    shell_test::GameFolder folder;
    const std::string dir = folder.Path().string();
    // The program keeps its saves and settings under the folder itself.
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    {
        CGame game;
        auto world = shell_test::StartGameInPlay(20);
        ASSERT_NE(world, nullptr) << "the generated starting world did not load";
        game.SetDatabase(std::move(world));
        ASSERT_TRUE(game.SaveGame("Season")) << game.GetFileError();
    }
    const char* pszShots = std::getenv("BRELLOX_SHOTS");
    const std::string shots = pszShots ? pszShots : dir;
    const std::string script = "wait 100\nclick 81 320\nwait 50\nclick 13 229\nwait 50\nclick 85 317\nwait 50\nshot " +
                               shots + "/program_schedule.png\nclick 750 582\nwait 50\nshot " + shots +
                               "/program_friendly.png\nkey Escape\nwait 10\nquit\n";
    setenv("BRELLOX_LOG", "1", 1);
    const ScriptedRun run = RunScriptedProgram("Brellox", dir, script, false, 600, (folder.Path() / "play").string());
    unsetenv("BRELLOX_LOG");
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    const size_t nSchedule = run.output.find("Entering Client Club Schedule");
    ASSERT_NE(nSchedule, std::string::npos) << run.output;
    const size_t nFriendly = run.output.find("Pop Arrangefriendly", nSchedule);
    EXPECT_NE(nFriendly, std::string::npos) << run.output;
    for (const char* pszBitmap : {"icnDrby.bmp", "icnSDrby.bmp", "icnTCamp.bmp"})
        EXPECT_EQ(run.output.find(std::string("'") + pszBitmap + "' could not be loaded"), std::string::npos)
            << pszBitmap;
}

}  // namespace
