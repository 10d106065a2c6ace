// The form, managers and players statistics tables on a world played some
// weeks into the season.
#include "ScreenInPlay.h"

#include "screens/CClientClubPlayers.h"
#include "screens/CClientTablesStaticsForm.h"
#include "screens/CClientTablesStaticsManagers.h"
#include "screens/CClientTablesStaticsPlayers.h"
#include "screens/CClientTablesStaticsReferees.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/PersonOwners.h"
#include "season/CRefereeDatabase.h"
#include "season/MatchRecords.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Trim(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    return text;
}

class StatisticsTables : public ScreenInPlay {
protected:
    StatisticsTables() : ScreenInPlay(1) {}
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        m_pDivision = m_pClub->m_pDivision;
        ASSERT_NE(m_pDivision, nullptr);
        // Some weeks of league matches.
        for (int i = 0; i < 45; ++i) {
            Database()->ProcessDay();
            Database()->DoMatchDay(Database()->GetGameDate());
        }
    }
    static std::vector<std::string> Cells(const CXListBox* pList, int nRow)
    {
        std::vector<std::string> cells;
        char szCell[LISTBOX_ROW_TEXT_SIZE];
        for (int c = 0; c < pList->GetColumnCount(); ++c) {
            pList->GetColumnText(nRow, c, szCell);
            cells.push_back(Trim(szCell));
        }
        return cells;
    }
    // The club's results in the played league fixtures up to the date
    // (before it when bBefore), latest first, by venue.
    std::string ExpectedForm(ID_CLUB idClub, const CDate& date, bool bBefore, bool bHome) const
    {
        std::vector<std::string> letters;
        for (const CDivisionFixturesDatabase* p : m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
            if (p->GetRound() == DIVISION_FIXTURE_PLAYOFF || (bBefore ? !(p->GetDate() < date) : p->GetDate() > date))
                continue;
            const ID_CLUB idSide = bHome ? p->GetHomeClubID() : p->GetAwayClubID();
            if (idSide != idClub || !p->IsPlayed())
                continue;
            const int nFor = bHome ? p->GetHomeGoals() : p->GetAwayGoals();
            const int nAgainst = bHome ? p->GetAwayGoals() : p->GetHomeGoals();
            const int nItem = nFor > nAgainst ? 2 : nFor == nAgainst ? 3 : 4;
            letters.insert(letters.begin(), std::string(1, GetTableText(114, nItem)[0]));
        }
        std::string form;
        for (size_t i = 0; i < letters.size() && i < 6; ++i)
            form += (form.empty() ? "" : " ") + letters[i];
        return form;
    }

    CDivisionDatabase* m_pDivision = nullptr;
};

TEST_F(StatisticsTables, FormTableShowsTheLastSixResultsAtHomeAndAway)
{
    // Far enough in for more than six matches at home and away.
    for (int i = 0; i < 90; ++i) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
    }
    OpenScreen(SCREEN_TABLES_FORM);
    auto* pScreen = dynamic_cast<CClientTablesStaticsForm*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    Shoot("tables_form.png");
    const CXListBox* pList = pScreen->GetTable();
    ASSERT_EQ(pList->GetCount(), m_pDivision->GetClubCount());
    const CDate today = Database()->GetGameDate();
    int nFullForms = 0;
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        const auto cells = Cells(pList, nRow);
        ASSERT_EQ(cells.size(), 7u);
        const CClubDatabase* pClub = Database()->GetClubFromID(static_cast<ID_CLUB>(pList->GetItemData(nRow)));
        ASSERT_NE(pClub, nullptr);
        SCOPED_TRACE(pClub->GetName());
        EXPECT_EQ(cells[0], std::to_string(nRow + 1));
        EXPECT_EQ(cells[1], pClub->GetName());
        EXPECT_EQ(cells[2], ExpectedForm(pClub->m_wClubId, today, true, true));
        EXPECT_EQ(cells[3], ExpectedForm(pClub->m_wClubId, today, true, false));
        nFullForms += cells[2].size() == 11 && cells[3].size() == 11;
        int nBookings = 0;
        for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            nBookings += pPlayer->GetMatchInformationField(0, MATCH_INFORMATION_BOOKINGS);
        EXPECT_EQ(std::stoi(cells[5]), nBookings);
    }
    EXPECT_GT(nFullForms, 0) << "months in, clubs have six results at home and six away";
    // The rows stand in the league table's order.
    int nRank = 0;
    for (const CClubDatabase* pClub : m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        EXPECT_EQ(pList->GetItemData(nRank++), pClub->m_wClubId);

    // The first match date: a club shows the one result it had then, or
    // none; later results are not counted.
    ASSERT_TRUE(pScreen->ChooseDateRow(0));
    const CDate first = pScreen->GetViewDate();
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        const auto cells = Cells(pList, nRow);
        const auto idClub = static_cast<ID_CLUB>(pList->GetItemData(nRow));
        EXPECT_EQ(cells[2], ExpectedForm(idClub, first, false, true));
        EXPECT_EQ(cells[3], ExpectedForm(idClub, first, false, false));
        EXPECT_LE(cells[2].size() + cells[3].size(), 1u);
    }
    for (int nMove : pScreen->GetMoves())
        EXPECT_EQ(nMove, 2);
}

TEST_F(StatisticsTables, ManagersTableListsEachClubsManager)
{
    // One club without a manager, one without a previous position.
    CClubDatabase* pVacant = nullptr;
    for (CClubDatabase* pClub : m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        if (pClub != m_pClub)
            pVacant = pClub;
    ASSERT_NE(pVacant, nullptr);
    const ID_MANAGER idVacantManager = pVacant->m_wManagerId;
    pVacant->m_wManagerId = 0;
    const uint8_t byOldPrevious = m_pClub->m_byPreviousPosition;
    m_pClub->m_byPreviousPosition = 0;
    // The human holds the division's manager award.
    const CManagerDatabase* pHumanManager = m_pClub->GetManager();
    ASSERT_NE(pHumanManager, nullptr);
    m_pDivision->m_nManagerOfPeriod = pHumanManager->GetId();

    OpenScreen(SCREEN_TABLES_MANAGERS);
    auto* pScreen = dynamic_cast<CClientTablesStaticsManagers*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    Shoot("tables_managers.png");
    CXListBox* pList = pScreen->GetTable();
    ASSERT_EQ(pList->GetCount(), m_pDivision->GetClubCount());
    int nRow = 0;
    for (const CClubDatabase* pClub : m_pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
        SCOPED_TRACE(pClub->GetName());
        const auto cells = Cells(pList, nRow);
        ASSERT_EQ(cells.size(), 6u);
        EXPECT_EQ(pList->GetItemData(nRow), pClub->m_wClubId);
        EXPECT_EQ(cells[1], pClub->GetName());
        EXPECT_EQ(std::stoi(cells[5]), pClub->m_nFanConfidence);
        const CManagerDatabase* pManager = pClub->m_wManagerId ? pClub->GetManager() : nullptr;
        if (pClub == pVacant) {
            EXPECT_EQ(cells[2], GetTableText(114, 18));
            EXPECT_EQ(cells[3], "-");
            EXPECT_EQ(cells[4], "-");
        } else {
            ASSERT_NE(pManager, nullptr);
            EXPECT_EQ(cells[2], pManager->GetShortName());
            EXPECT_EQ(std::stoi(cells[3]), pManager->m_byRating);
            EXPECT_EQ(std::stoi(cells[4]), pManager->m_byAbility);
        }
        const int nMove = pScreen->GetMoves()[static_cast<size_t>(nRow)];
        if (pClub == m_pClub) {
            EXPECT_EQ(nMove, 2) << "no previous position, no arrow";
            EXPECT_EQ(pScreen->GetStarredRow(), nRow) << "the award holder's row";
        }
        else
            EXPECT_EQ(nMove, CClientTablesStaticsManagers::MoveFromPositions(pClub->m_byPreviousPosition,
                                                                             pClub->m_byLeaguePosition));
        ++nRow;
    }
    // Browsing stops at the ends.
    pList->SetSelection(0);
    const CClubDatabase* pFirst = Database()->GetClubFromID(static_cast<ID_CLUB>(pList->GetItemData(0)));
    const uint32_t idFirst = pFirst->m_wManagerId ? pFirst->GetManager()->GetId() : 0;
    EXPECT_EQ(pScreen->GetPreviousManager(), idFirst);
    EXPECT_EQ(pList->GetSelection(), 0);
    pScreen->GetNextManager();
    EXPECT_EQ(pList->GetSelection(), 1);

    // Nobody starred when the award is held outside the division.
    m_pDivision->m_nManagerOfPeriod = 0;
    pScreen->FillTable();
    EXPECT_EQ(pScreen->GetStarredRow(), -1);

    pVacant->m_wManagerId = idVacantManager;
    m_pClub->m_byPreviousPosition = byOldPrevious;
}

TEST(ManagerMoves, PreviousAgainstCurrentPosition)
{
    EXPECT_EQ(CClientTablesStaticsManagers::MoveFromPositions(0, 3), 2);
    EXPECT_EQ(CClientTablesStaticsManagers::MoveFromPositions(5, 3), 1);
    EXPECT_EQ(CClientTablesStaticsManagers::MoveFromPositions(2, 3), -1);
    EXPECT_EQ(CClientTablesStaticsManagers::MoveFromPositions(3, 3), 0);
}

TEST_F(StatisticsTables, PlayersTableMatchesTheSeasonRecordsAndFilters)
{
    OpenScreen(SCREEN_TABLES_PLAYERS);
    auto* pScreen = dynamic_cast<CClientTablesStaticsPlayers*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    Shoot("tables_players.png");
    ASSERT_EQ(pScreen->GetDivision(), m_pDivision);
    CXListBox* pList = pScreen->GetList();
    const int nHome = GetCountryNationality(m_pHuman->GetCountry());
    std::vector<const CPlayerDatabase*> players;
    for (const CClubDatabase* pClub : m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            players.push_back(pPlayer);

    // Everyone at first, with his league record, by surname.
    ASSERT_EQ(pList->GetCount(), static_cast<int>(players.size()));
    int nAppeared = 0;
    std::string previousSurname;
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        const auto cells = Cells(pList, nRow);
        ASSERT_EQ(cells.size(), 11u);
        const CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(static_cast<ID_PLAYER>(pList->GetItemData(nRow)));
        ASSERT_NE(pPlayer, nullptr);
        SCOPED_TRACE(pPlayer->GetShortName());
        EXPECT_EQ(cells[0], pPlayer->GetShortName());
        EXPECT_EQ(cells[1], pPlayer->m_pClub->GetName());
        const int nStarts = pPlayer->GetMatchInformationField(0, MATCH_INFORMATION_STARTS);
        const int nSubstitute = pPlayer->GetMatchInformationField(0, MATCH_INFORMATION_SUBSTITUTE);
        char szApps[32];
        std::snprintf(szApps, sizeof szApps, "%d (%d)", nStarts, nSubstitute);
        EXPECT_EQ(cells[5], szApps);
        EXPECT_EQ(std::stoi(cells[6]), pPlayer->GetMatchInformationField(0, MATCH_INFORMATION_GOALS));
        EXPECT_EQ(std::stoi(cells[8]), pPlayer->GetMatchInformationField(0, MATCH_INFORMATION_BOOKINGS));
        nAppeared += nStarts + nSubstitute > 0;
        const std::string name = cells[0];
        std::string surname = name.substr(name.find(' ') + 1);
        for (char& c : surname)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_LE(previousSurname.substr(0, 1), surname.substr(0, 1)) << "ordered by surname";
        previousSurname = surname;
    }
    EXPECT_GT(nAppeared, 11) << "weeks in, players have appeared";

    auto appeared = [](const CPlayerDatabase* p) {
        return p->GetMatchInformationField(0, 0) + p->GetMatchInformationField(0, 1) > 0;
    };
    const struct {
        const char* pszWhat;
        uint32_t dwMask;
        std::function<bool(const CPlayerDatabase*)> listed;
    } cases[] = {
        {"foreign only", 0xFB1, [&](const CPlayerDatabase* p) { return p->m_byNationality != nHome; }},
        {"home nationality only", 0xF71, [&](const CPlayerDatabase* p) { return p->m_byNationality == nHome; }},
        {"goalkeepers only", 0x1F1, [](const CPlayerDatabase* p) { return p->m_byPosition == 0; }},
        {"attackers and defenders", 0xAF1, [](const CPlayerDatabase* p) { return p->m_byPosition % 2 == 1; }},
        {"with an appearance", 0xFD1, appeared},
        {"noted without an appearance", 0xFE1,
         [&](const CPlayerDatabase* p) { return p->GetMatchInformation(0) && !appeared(p); }},
        {"no competition summed, appearance asked: nobody", 0xFD0, [](const CPlayerDatabase*) { return false; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        pScreen->SetFilter(c.dwMask);
        int nExpected = 0;
        for (const CPlayerDatabase* pPlayer : players)
            nExpected += c.listed(pPlayer);
        EXPECT_EQ(pList->GetCount(), nExpected);
        EXPECT_LT(pList->GetCount(), static_cast<int>(players.size()));
        for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
            EXPECT_TRUE(c.listed(Database()->GetPlayerFromID(static_cast<ID_PLAYER>(pList->GetItemData(nRow)))));
    }
    pScreen->SetFilter(CClientTablesStaticsPlayers::kInitialFilter);

    // Contracts from the kind selector.
    CXComboBox* pKinds = g_pTitlebar->GetSelector(14);
    ASSERT_NE(pKinds, nullptr);
    ASSERT_EQ(pKinds->GetCount(), 2);
    pKinds->SetCurSel(1);
    EXPECT_EQ(pScreen->GetKind(), CClientTablesStaticsPlayers::KIND_CONTRACTS);
    Shoot("tables_players_contracts.png");
    ASSERT_EQ(pList->GetCount(), static_cast<int>(players.size()));
    EXPECT_EQ(Cells(pList, 0).size(), 7u);

    // The whole country: the players of its league divisions.
    CXComboBox* pDivisions = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_DIVISION);
    const int nAllRow = pDivisions->FindItemData(CGameTitlebar::kAllRowData);
    ASSERT_GE(nAllRow, 0);
    pDivisions->SetCurSel(nAllRow);
    EXPECT_EQ(pScreen->GetDivision(), nullptr);
    int nCountryPlayers = 0;
    for (const CDivisionDatabase* pDivision : m_pDivision->m_pCountry->GetDivisions().Items<CDivisionDatabase>())
        if (pDivision->m_byKind == DIVISION_KIND_LEAGUE)
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                nCountryPlayers += pClub->m_lstPlayers.GetCount();
    EXPECT_EQ(pList->GetCount(), nCountryPlayers);
    EXPECT_GT(nCountryPlayers, static_cast<int>(players.size()));
}

TEST(RefereeTotals, AMatchAddsToItsRefereeOnly)
{
    using Referees = CClientTablesStaticsReferees;
    std::vector<Referees::REFEREETOTALS> totals;
    auto match = [](uint16_t wReferee, uint8_t byBookings, uint8_t bySendingsOff, uint8_t byFouls, uint8_t byPenalties) {
        MATCHHISTORYHEADER header;
        header.wRefereeID = wReferee;
        const uint8_t figures[4] = {byBookings, bySendingsOff, byFouls, byPenalties};
        std::copy(std::begin(figures), std::end(figures), header.Result.abyRefereeStatistics);
        return header;
    };
    Referees::AddRefereeMatch(totals, match(7, 3, 1, 250, 1));
    Referees::AddRefereeMatch(totals, match(4, 1, 0, 20, 0));
    Referees::AddRefereeMatch(totals, match(7, 2, 0, 250, 2));
    ASSERT_EQ(totals.size(), 2u);
    EXPECT_EQ(totals[0].wRefereeID, 7) << "in the order first met";
    EXPECT_EQ(totals[0].nMatches, 2);
    EXPECT_EQ(totals[0].nBookings, 5);
    EXPECT_EQ(totals[0].nSendingsOff, 1);
    EXPECT_EQ(totals[0].nFouls, 500) << "totals do not wrap at a byte";
    EXPECT_EQ(totals[0].nPenalties, 3);
    EXPECT_EQ(totals[1].nMatches, 1);
    EXPECT_EQ(totals[1].nFouls, 20);

    EXPECT_EQ(Referees::ListRows(0), 12);
    EXPECT_EQ(Referees::ListRows(5), 5);
    EXPECT_EQ(Referees::ListRows(25), 24);
}

TEST_F(StatisticsTables, RefereesTableTotalsTheDivisionsMatches)
{
    OpenScreen(SCREEN_TABLES_REFEREES);
    auto* pScreen = dynamic_cast<CClientTablesStaticsReferees*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    Shoot("tables_referees.png");
    ASSERT_EQ(pScreen->GetDivision(), m_pDivision);
    EXPECT_EQ(pScreen->GetFilter(), 1u) << "the league alone at first";
    // Each played league fixture of the division, under its referee.
    std::map<uint16_t, int> matches;
    for (const CDivisionFixturesDatabase* p : m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->IsPlayed() && p->GetRound() != DIVISION_FIXTURE_PLAYOFF)
            ++matches[p->GetRefereeID()];
    ASSERT_FALSE(matches.empty());
    CXListBox* pList = pScreen->GetList();
    ASSERT_EQ(pList->GetCount(), static_cast<int>(matches.size()));
    EXPECT_EQ(pList->Height(), 16 * CClientTablesStaticsReferees::ListRows(pList->GetCount()));
    int nCompared = 0;
    std::string previousSurname;
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        const auto cells = Cells(pList, nRow);
        ASSERT_EQ(cells.size(), 6u);
        const auto wReferee = static_cast<uint16_t>(pList->GetItemData(nRow));
        const CRefereeDatabase* pReferee = Database()->FindReferee(wReferee);
        ASSERT_NE(pReferee, nullptr);
        SCOPED_TRACE(pReferee->GetName());
        EXPECT_EQ(cells[0], pReferee->GetName());
        EXPECT_EQ(std::stoi(cells[1]), matches[wReferee]);
        // A referee whose league matches were all this division's has his
        // own season's figures here.
        const REFEREESTATISTICS& own = pReferee->GetStatistics(MATCHKIND_LEAGUE);
        if (own.byMatches == matches[wReferee]) {
            EXPECT_EQ(std::stoi(cells[2]), own.wBookings);
            EXPECT_EQ(std::stoi(cells[3]), own.bySendingsOff);
            EXPECT_EQ(std::stoi(cells[4]), own.wFouls);
            EXPECT_EQ(std::stoi(cells[5]), own.byPenalties);
            ++nCompared;
        }
        const std::string surname = pReferee->GetSurname();
        EXPECT_LE(previousSurname, surname) << "ordered by surname";
        previousSurname = surname;
    }
    EXPECT_GT(nCompared, 0);

    // No kind counted: an empty list twelve rows high; every kind: the cups
    // and friendlies of the division's clubs come on top of the league.
    int nLeagueMatches = 0;
    for (const auto& [wReferee, nCount] : matches)
        nLeagueMatches += nCount;
    pScreen->SetFilter(0);
    EXPECT_TRUE(pScreen->GetTotals().empty());
    ASSERT_EQ(pList->GetCount(), 1) << "the one row that says the list is empty";
    EXPECT_EQ(Cells(pList, 0)[0], GetTableText(114, 26));
    EXPECT_EQ(pList->Height(), 16 * 12);
    Shoot("tables_referees_empty.png");
    pScreen->SetFilter(0xF);
    Shoot("tables_referees_all.png");
    int nAllMatches = 0;
    for (const auto& entry : pScreen->GetTotals())
        nAllMatches += entry.nMatches;
    EXPECT_GT(nAllMatches, nLeagueMatches);
}

}  // namespace
