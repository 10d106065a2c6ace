// The scout screen: the criteria pick the players they should, a scout sent
// out costs his days and money and reports on his day, and the criteria and
// a running query come back with a saved game.
#include "ScreenInPlay.h"

#include "screens/CClientScout.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "season/CScoutManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXSlider.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <vector>

namespace {

using Scout = CClientScout;

// Criteria that let every player through.
SCOUTSLOT OpenCriteria()
{
    SCOUTSLOT criteria;
    criteria.dwMoneyLimitA = 0;
    criteria.dwMoneyLimitB = UINT32_MAX;
    criteria.abyCriteria[0] = Scout::REGION_ANY;
    criteria.abyCriteria[1] = Scout::kAnyPosition;
    criteria.abyCriteria[2] = Scout::kAnyRole;
    criteria.abyCriteria[3] = Scout::AVAILABLE_ANY;
    for (auto& range : criteria.abyRanges) {
        range[0] = 0;
        range[1] = 100;
    }
    criteria.byRangeMinimum = Scout::kYoungest;
    criteria.byRangeMaximum = Scout::kOldest;
    return criteria;
}

// Every scouting bill booked while it lives.
struct ScoutingBills : CClubDatabase::FINANCEOBSERVER {
    ScoutingBills() { CClubDatabase::s_pFinanceObserver = this; }
    ~ScoutingBills() override { CClubDatabase::s_pFinanceObserver = nullptr; }
    void OnTransaction(const CClubDatabase& club, int nCategory, int32_t, int32_t nExpense) override
    {
        if (nCategory == 95)
            bills.push_back({club.GetID(), nExpense});
    }
    void OnBalanceSet(const CClubDatabase&, int32_t, int32_t) override {}
    void OnBanked(const CClubDatabase&) override {}
    std::vector<std::pair<uint32_t, int32_t>> bills;
};

class ScoutScreen : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        // Scouts hired from the staff pool until the club has two.
        std::vector<ID_STAFF> pool;
        for (LPXLISTNODE pNode = Database()->GetStaffPool().GetHead(); pNode; pNode = pNode->pNext)
            pool.push_back(static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pNode->pData)));
        for (const ID_STAFF idStaff : pool) {
            const CStaffDatabase* pStaff = Database()->GetStaffFromID(idStaff);
            if (m_pClub->GetStaffCount(CLUB_STAFF_KIND_SCOUT) < 2 && pStaff && pStaff->m_byKind == CLUB_STAFF_KIND_SCOUT) {
                ASSERT_EQ(Database()->HireStaff(idStaff, m_pClub), 0);
            }
        }
        m_pHuman->GetScoutManager().ResetScouts();
        ASSERT_GE(m_pClub->GetStaffCount(CLUB_STAFF_KIND_SCOUT), 2);
        Open();
    }
    void Open(uint32_t dwParameter = 0)
    {
        g_pNavigationBar->SetNextClient(GetScreenObject(SCREEN_TRANSFER_SCOUT), dwParameter);
        m_game.Update();
        m_pScreen = dynamic_cast<Scout*>(g_pCurrentClient);
        ASSERT_NE(m_pScreen, nullptr);
        m_game.Update();
    }
    CXListBox* List() const { return m_pScreen->GetList(); }
    std::vector<ID_PLAYER> Rows() const
    {
        std::vector<ID_PLAYER> ids;
        for (int nRow = 0; nRow < List()->GetCount(); ++nRow)
            ids.push_back(static_cast<ID_PLAYER>(List()->GetItemData(nRow)));
        return ids;
    }
    template <class T>
    T* Control(uint32_t dwID) const
    {
        return dynamic_cast<T*>(m_pScreen->FindControl(dwID));
    }
    void Choose(uint32_t dwID, uint32_t dwData)
    {
        auto* pBox = Control<CXComboBox>(dwID);
        ASSERT_NE(pBox, nullptr);
        pBox->SetCurSel(pBox->FindItemData(dwData));
    }
    void Type(uint32_t dwID, int nValue) { Control<CXEdit>(dwID)->SetText("%d", nValue); }
    // Every player of the world the search walks over that the criteria take.
    std::set<ID_PLAYER> Expected(const SCOUTSLOT& criteria)
    {
        std::set<ID_PLAYER> ids;
        auto consider = [&](const CPlayerDatabase* pPlayer) {
            if (Scout::MatchesCriteria(criteria, *pPlayer, m_pClub->m_pCountry))
                ids.insert(pPlayer->m_idPerson);
        };
        for (const CCountryDatabase* pCountry : Database()->GetCountries().Items<CCountryDatabase>()) {
            for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
                if (pDivision->m_byKind != DIVISION_KIND_BOTTOM_OTHER)
                    for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                        if (pClub != m_pClub)
                            for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                                consider(pPlayer);
            for (const CPlayerDatabase* pPlayer : pCountry->GetUnattachedPlayers().Items<CPlayerDatabase>())
                consider(pPlayer);
        }
        return ids;
    }
    bool SendEnabled() const
    {
        const auto* pSend = Control<CXButton>(Scout::ID_SEND);
        return pSend && pSend->m_bVisible && !pSend->m_bDisabled;
    }
    // Narrow criteria through the controls, then a search.
    void SearchForGoalkeepers()
    {
        Choose(Scout::ID_REGION, Scout::REGION_ANY);
        Choose(Scout::ID_POSITION, PLAYER_POSITION_GOALKEEPER);
        m_pScreen->OnClicked(Scout::ID_SEARCH);
    }

    Scout* m_pScreen = nullptr;
};

TEST_F(ScoutScreen, EachCriterionTestsItsOwnFigure)
{
    // A player of another club in the manager's country.
    const CPlayerDatabase* pPlayer = nullptr;
    for (const CPlayerDatabase* p : Database()->GetClubFromID(2)->m_lstPlayers.Items<CPlayerDatabase>())
        if (!pPlayer && p->m_dwValue > 0)
            pPlayer = p;
    ASSERT_NE(pPlayer, nullptr);
    CPlayerDatabase& player = *Database()->GetPlayerFromID(pPlayer->m_idPerson);
    const CCountryDatabase* pHome = player.m_pCountry;
    const int nAge = player.GetAge();
    const uint32_t dwValue = player.m_dwValue;
    using Edit = std::function<void(SCOUTSLOT&)>;
    const struct {
        const char* pszName;
        Edit edit;
        bool bMatches;
    } cases[] = {
        {"open", [](SCOUTSLOT&) {}, true},
        {"home", [](SCOUTSLOT& c) { c.abyCriteria[0] = Scout::REGION_HOME; }, true},
        {"abroad", [](SCOUTSLOT& c) { c.abyCriteria[0] = Scout::REGION_ABROAD; }, false},
        {"his position", [&](SCOUTSLOT& c) { c.abyCriteria[1] = player.m_byPosition; }, true},
        {"another position", [&](SCOUTSLOT& c) { c.abyCriteria[1] = (player.m_byPosition + 1) % 4; }, false},
        {"his role", [&](SCOUTSLOT& c) { c.abyCriteria[2] = player.m_byRole; }, true},
        {"another role", [&](SCOUTSLOT& c) { c.abyCriteria[2] = (player.m_byRole + 1) % 16; }, false},
        {"his age", [&](SCOUTSLOT& c) { c.byRangeMinimum = c.byRangeMaximum = static_cast<uint8_t>(nAge); }, true},
        {"older", [&](SCOUTSLOT& c) { c.byRangeMinimum = static_cast<uint8_t>(nAge + 1); }, false},
        {"younger", [&](SCOUTSLOT& c) { c.byRangeMaximum = static_cast<uint8_t>(nAge - 1); }, false},
        {"his value", [&](SCOUTSLOT& c) { c.dwMoneyLimitA = c.dwMoneyLimitB = dwValue; }, true},
        {"dearer", [&](SCOUTSLOT& c) { c.dwMoneyLimitA = dwValue + 1; }, false},
        {"cheaper", [&](SCOUTSLOT& c) { c.dwMoneyLimitB = dwValue - 1; }, false},
        {"transfer listed", [](SCOUTSLOT& c) { c.abyCriteria[3] = Scout::AVAILABLE_TRANSFER; }, false},
        {"loan listed", [](SCOUTSLOT& c) { c.abyCriteria[3] = Scout::AVAILABLE_LOAN; }, false},
        {"out of contract", [](SCOUTSLOT& c) { c.abyCriteria[3] = Scout::AVAILABLE_OUT_OF_CONTRACT; }, false},
    };
    player.m_byTransferState = 0;
    for (const auto& c : cases) {
        SCOUTSLOT criteria = OpenCriteria();
        c.edit(criteria);
        EXPECT_EQ(Scout::MatchesCriteria(criteria, player, pHome), c.bMatches) << c.pszName;
    }
    SCOUTSLOT listed = OpenCriteria();
    listed.abyCriteria[3] = Scout::AVAILABLE_TRANSFER;
    player.m_byTransferState = PLAYER_TRANSFER_LEAVING;
    EXPECT_TRUE(Scout::MatchesCriteria(listed, player, pHome));
    listed.abyCriteria[3] = Scout::AVAILABLE_LOAN;
    player.m_byTransferState = 2;
    EXPECT_TRUE(Scout::MatchesCriteria(listed, player, pHome));
    player.m_byTransferState = 0;

    // The record keeps the ranges in the order handling, tackling, passing,
    // dribbling, fitness, heading, shooting, pace, strength: a range that
    // holds exactly his figure passes only in that attribute's place.
    const PLAYER_ATTRIBUTE slotAttributes[9] = {
        PLAYER_ATTRIBUTE_HANDLING, PLAYER_ATTRIBUTE_TACKLING, PLAYER_ATTRIBUTE_PASSING,
        PLAYER_ATTRIBUTE_DRIBBLING, PLAYER_ATTRIBUTE_FITNESS,  PLAYER_ATTRIBUTE_HEADING,
        PLAYER_ATTRIBUTE_SHOOTING,  PLAYER_ATTRIBUTE_PACE,     PLAYER_ATTRIBUTE_STRENGTH};
    for (int nSlot = 0; nSlot < 9; ++nSlot) {
        const int nFigure = player.m_awAttributes[slotAttributes[nSlot]] / 100;
        SCOUTSLOT exact = OpenCriteria();
        exact.abyRanges[nSlot][0] = exact.abyRanges[nSlot][1] = static_cast<uint8_t>(nFigure);
        EXPECT_TRUE(Scout::MatchesCriteria(exact, player, pHome)) << "slot " << nSlot;
        SCOUTSLOT above = OpenCriteria();
        above.abyRanges[nSlot][0] = static_cast<uint8_t>(nFigure + 1);
        EXPECT_FALSE(Scout::MatchesCriteria(above, player, pHome)) << "slot " << nSlot;
    }
}

TEST_F(ScoutScreen, TheSearchListsWhatTheCriteriaTakeInOrder)
{
    Shoot("scout_search.png");
    ASSERT_EQ(m_pScreen->GetMode(), Scout::MODE_SEARCH);
    ASSERT_NE(m_pScreen->GetCriteria(), nullptr);
    EXPECT_EQ(m_pScreen->GetCriteria()->wStaffId, m_pScreen->SelectedScout()->GetId());

    // Ages and values typed the wrong way round are stored in order.
    Type(Scout::ID_AGE_MINIMUM, 30);
    Type(Scout::ID_AGE_MAXIMUM, 22);
    Type(Scout::ID_VALUE_MINIMUM, 900000);
    Type(Scout::ID_VALUE_MAXIMUM, 1000);
    Control<CXSlider>(Scout::ID_FIRST_MINIMUM_SLIDER + 6)->SetPos(20);  // pace
    SearchForGoalkeepers();
    const SCOUTSLOT& criteria = *m_pScreen->GetCriteria();
    EXPECT_EQ(criteria.byRangeMinimum, 22);
    EXPECT_EQ(criteria.byRangeMaximum, 30);
    EXPECT_LT(criteria.dwMoneyLimitA, criteria.dwMoneyLimitB);
    EXPECT_EQ(criteria.abyRanges[7][0], 20) << "pace keeps its place in the record";
    EXPECT_EQ(criteria.abyCriteria[1], PLAYER_POSITION_GOALKEEPER);

    const std::vector<ID_PLAYER> rows = Rows();
    const std::set<ID_PLAYER> expected = Expected(criteria);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(std::set<ID_PLAYER>(rows.begin(), rows.end()), expected);
    EXPECT_EQ(rows.size(), expected.size()) << "each player once";
    for (const ID_PLAYER id : rows)
        EXPECT_NE(Database()->GetPlayerFromID(id)->m_pClub, m_pClub) << "his own players are not searched";

    // Open criteria stop at 1001 players.
    Type(Scout::ID_AGE_MINIMUM, Scout::kYoungest);
    Type(Scout::ID_AGE_MAXIMUM, Scout::kOldest);
    Type(Scout::ID_VALUE_MINIMUM, 0);
    Type(Scout::ID_VALUE_MAXIMUM, 99999999);
    Control<CXSlider>(Scout::ID_FIRST_MINIMUM_SLIDER + 6)->SetPos(0);
    Choose(Scout::ID_POSITION, Scout::kAnyPosition);
    m_pScreen->OnClicked(Scout::ID_SEARCH);
    ASSERT_GT(Expected(*m_pScreen->GetCriteria()).size(), size_t{Scout::kMostMatches});
    EXPECT_EQ(List()->GetCount(), Scout::kMostMatches);
}

TEST_F(ScoutScreen, PicksAreCappedAndASentScoutIsBilledAndReportsOnHisDay)
{
    ScoutingBills bills;
    SearchForGoalkeepers();
    ASSERT_GT(List()->GetCount(), Scout::kMostTicks);
    EXPECT_FALSE(SendEnabled());
    // A click in the pick column picks the row's player.
    List()->OnLButtonDown(0, 550, 4);
    EXPECT_EQ(m_pScreen->GetTickedCount(), 1);
    EXPECT_TRUE(SendEnabled());
    for (int nRow = 1; nRow < Scout::kMostTicks; ++nRow)
        ASSERT_TRUE(m_pScreen->ToggleTick(nRow));
    EXPECT_FALSE(m_pScreen->ToggleTick(Scout::kMostTicks)) << "the 51st pick is refused";
    for (int nRow = 0; nRow < Scout::kMostTicks; ++nRow)
        m_pScreen->ToggleTick(nRow);
    EXPECT_EQ(m_pScreen->GetTickedCount(), 0);
    EXPECT_FALSE(SendEnabled()) << "nothing picked, nothing to send";
    EXPECT_EQ(m_pScreen->GetCost(), 0);

    // Three players, at home or abroad, as the rows come.
    std::vector<const CPlayerDatabase*> picked;
    double dDays = 0;
    int32_t nCost = 0;
    for (int nRow = 0; nRow < 3; ++nRow) {
        ASSERT_TRUE(m_pScreen->ToggleTick(nRow));
        const CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(static_cast<ID_PLAYER>(List()->GetItemData(nRow)));
        const bool bHome = pPlayer->m_pCountry == m_pClub->m_pCountry;
        dDays += bHome ? 1.0 : 3.0;
        nCost += bHome ? 200 : 1200;
        picked.push_back(pPlayer);
    }
    EXPECT_EQ(m_pScreen->GetDays(), dDays);
    EXPECT_EQ(m_pScreen->GetCost(), nCost);
    const CStaffDatabase* pScout = m_pScreen->SelectedScout();
    const CDate today = Database()->GetGameDate();
    m_pScreen->OnClicked(Scout::ID_SEND);
    Shoot("scout_sent.png");

    CScoutManager& scouts = m_pHuman->GetScoutManager();
    const CScoutPlayerQuery* pQuery = scouts.FindQueryByScout(pScout->GetId());
    ASSERT_NE(pQuery, nullptr);
    EXPECT_TRUE(m_pScreen->IsQueryRunning());
    EXPECT_EQ(pQuery->GetEntryCount(), 3);
    const CEventsDatabase* pEvent = m_pHuman->GetCountry()->FindEvent(EVENT_SCOUT_COMPLETE, pQuery->m_dwID);
    ASSERT_NE(pEvent, nullptr);
    EXPECT_EQ(pEvent->GetDate().GetValue(), CDate(today.GetValue(), static_cast<int>(dDays)).GetValue());
    ASSERT_FALSE(m_pClub->m_lstScoutQueries.IsEmpty());
    const auto* pBill = static_cast<const CLUBSCOUTQUERY*>(m_pClub->m_lstScoutQueries.GetTail()->pData);
    EXPECT_EQ(pBill->idStaff, pScout->GetId());
    EXPECT_EQ(static_cast<int32_t>(pBill->dwField), nCost);
    // The screen now shows whom he watches, and the search waits.
    std::vector<ID_PLAYER> shown = Rows();
    std::vector<ID_PLAYER> watched;
    for (const CPlayerDatabase* p : picked)
        watched.push_back(p->m_idPerson);
    EXPECT_EQ(std::set<ID_PLAYER>(shown.begin(), shown.end()), std::set<ID_PLAYER>(watched.begin(), watched.end()));
    EXPECT_FALSE(Control<CXButton>(Scout::ID_SEARCH)->m_bVisible);

    // Nothing before his day; the reports on it.
    for (int nDay = 1; nDay < static_cast<int>(dDays); ++nDay) {
        Database()->ProcessDay();
        ASSERT_NE(scouts.FindQueryByScout(pScout->GetId()), nullptr) << "day " << nDay;
    }
    Database()->ProcessDay();
    EXPECT_EQ(scouts.FindQueryByScout(pScout->GetId()), nullptr);
    for (const ID_PLAYER id : watched)
        EXPECT_NE(scouts.FindReport(id), nullptr);
    EXPECT_EQ(m_pHuman->GetScoutReportStaff(), pScout->GetId());

    // The bill goes into the books at the month's finance run.
    m_pClub->DoFinance();
    ASSERT_EQ(bills.bills.size(), 1u);
    EXPECT_EQ(bills.bills[0].first, m_pClub->GetID());
    EXPECT_EQ(bills.bills[0].second, nCost);

    // The report's light opens the screen on his reports.
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    g_pNavigationBar->OnClicked(822);
    m_game.Update();
    m_pScreen = dynamic_cast<Scout*>(g_pCurrentClient);
    ASSERT_NE(m_pScreen, nullptr);
    m_game.Update();
    Shoot("scout_reports.png");
    EXPECT_EQ(m_pScreen->GetMode(), Scout::MODE_REPORTS);
    EXPECT_EQ(m_pScreen->SelectedScout(), pScout);
    shown = Rows();
    EXPECT_EQ(std::set<ID_PLAYER>(shown.begin(), shown.end()), std::set<ID_PLAYER>(watched.begin(), watched.end()));
    EXPECT_EQ(m_pHuman->GetScoutReportStaff(), 0) << "the report is read";
}

TEST_F(ScoutScreen, ARecalledScoutIsNotRefunded)
{
    SearchForGoalkeepers();
    ASSERT_TRUE(m_pScreen->ToggleTick(0));
    m_pScreen->OnClicked(Scout::ID_SEND);
    const CScoutPlayerQuery* pQuery = m_pHuman->GetScoutManager().FindQueryByScout(m_pScreen->SelectedScout()->GetId());
    ASSERT_NE(pQuery, nullptr);
    const uint32_t dwQuery = pQuery->m_dwID;
    const int nBills = m_pClub->m_lstScoutQueries.GetCount();
    m_pScreen->OnClicked(Scout::ID_RECALL);
    EXPECT_EQ(m_pHuman->GetScoutManager().FindScoutPlayerQuery(dwQuery), nullptr);
    EXPECT_EQ(m_pHuman->GetCountry()->FindEvent(EVENT_SCOUT_COMPLETE, dwQuery), nullptr);
    EXPECT_EQ(m_pClub->m_lstScoutQueries.GetCount(), nBills);
    EXPECT_FALSE(m_pScreen->IsQueryRunning());
    EXPECT_TRUE(Control<CXButton>(Scout::ID_SEARCH)->m_bVisible);
}

TEST_F(ScoutScreen, CriteriaAndARunningQueryComeBackWithASavedGame)
{
    // The first scout sent out; the second given criteria of his own.
    SearchForGoalkeepers();
    ASSERT_TRUE(m_pScreen->ToggleTick(0));
    ASSERT_TRUE(m_pScreen->ToggleTick(1));
    m_pScreen->OnClicked(Scout::ID_SEND);
    const ID_STAFF idSent = m_pScreen->SelectedScout()->GetId();
    const std::vector<ID_PLAYER> watched = Rows();
    m_pScreen->SelectScout(1);
    const ID_STAFF idSecond = m_pScreen->SelectedScout()->GetId();
    ASSERT_NE(idSecond, idSent);
    EXPECT_FALSE(m_pScreen->IsQueryRunning());
    Choose(Scout::ID_REGION, Scout::REGION_ABROAD);
    Choose(Scout::ID_AVAILABILITY, Scout::AVAILABLE_TRANSFER);
    Choose(Scout::ID_ROLE, 5);
    Type(Scout::ID_AGE_MINIMUM, 19);
    Type(Scout::ID_AGE_MAXIMUM, 27);
    Control<CXSlider>(Scout::ID_FIRST_MAXIMUM_SLIDER + 8)->SetPos(70);  // fitness
    // Leaving the screen keeps what the controls hold.
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    const SCOUTSLOT before = *m_pHuman->GetScoutManager().FindScoutSlot(idSecond);
    EXPECT_EQ(before.abyCriteria[0], Scout::REGION_ABROAD);
    EXPECT_EQ(before.abyRanges[4][1], 70);

    ASSERT_TRUE(m_game.SaveGame("Scouts")) << m_game.GetFileError();
    ASSERT_TRUE(m_game.LoadGame("Scouts", false)) << m_game.GetFileError();
    m_pHuman = Database()->GetCurrentSaveGame();
    m_pClub = m_pHuman->GetClub();
    Open();
    ASSERT_EQ(m_pScreen->SelectedScout()->GetId(), idSent);
    EXPECT_TRUE(m_pScreen->IsQueryRunning());
    EXPECT_EQ(Rows(), watched);
    m_pScreen->SelectScout(1);
    const SCOUTSLOT* pAfter = m_pScreen->GetCriteria();
    ASSERT_NE(pAfter, nullptr);
    EXPECT_EQ(pAfter->wStaffId, idSecond);
    EXPECT_EQ(std::memcmp(pAfter->abyCriteria, before.abyCriteria, sizeof before.abyCriteria), 0);
    EXPECT_EQ(std::memcmp(pAfter->abyRanges, before.abyRanges, sizeof before.abyRanges), 0);
    EXPECT_EQ(pAfter->byRangeMinimum, 19);
    EXPECT_EQ(pAfter->byRangeMaximum, 27);
    // And the controls show them.
    const auto* pRegion = Control<CXComboBox>(Scout::ID_REGION);
    EXPECT_EQ(pRegion->GetItemData(pRegion->GetSelection()), Scout::REGION_ABROAD);
    EXPECT_EQ(Control<CXSlider>(Scout::ID_FIRST_MAXIMUM_SLIDER + 8)->GetValue(), 70);
    EXPECT_STREQ(Control<CXEdit>(Scout::ID_AGE_MINIMUM)->Text(), "19");
}

}  // namespace

namespace {

TEST_F(ScoutScreen, TheWayInNeedsAScout)
{
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    g_pNavigationBar->UpdateButtons();
    EXPECT_TRUE(g_pNavigationBar->IsButtonEnabled(SCREEN_TRANSFER_SCOUT));
    g_pNavigationBar->OnClicked(822);
    m_game.Update();
    EXPECT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_TRANSFER_SCOUT));

    // Without a scout in the first place the tree, the light and the
    // history leave the screen shut.
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    for (ID_STAFF& idStaff : m_pClub->m_awStaffSlots[CLUB_STAFF_KIND_SCOUT])
        idStaff = 0;
    g_pNavigationBar->UpdateButtons();
    EXPECT_FALSE(g_pNavigationBar->IsButtonEnabled(SCREEN_TRANSFER_SCOUT));
    EXPECT_FALSE(GetScreenObject(SCREEN_TRANSFER_SCOUT)->CanReturnTo());
    g_pNavigationBar->OnClicked(822);
    m_game.Update();
    EXPECT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_FOOTBALL_TODAY));
}

}  // namespace
