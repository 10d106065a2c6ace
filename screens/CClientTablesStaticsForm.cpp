#include "screens/CClientTablesStaticsForm.h"

#include "shell/CTableText.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CPlayerDatabase.h"
#include "shell/CGame.h"

namespace {

constexpr int kCaptionSet = 162;
constexpr int kWordsSet = 114;
constexpr int kWinItem = 2, kDrawItem = 3, kLossItem = 4;
constexpr int kLeagueCompetition = 0;

const LISTCOLUMN kColumns[] = {
    {0, 36, 4, 0, 2, 0, 1035, LISTSORT_NUMBER, 0},   {36, 188, 4, 0, 0, 0, 938, LISTSORT_TEXT, 0},
    {188, 278, 4, 0, 0, 0, 166, LISTSORT_TEXT, 0},   {278, 368, 4, 0, 0, 0, 167, LISTSORT_TEXT, 0},
    {368, 398, 4, 0, 2, 0, 968, LISTSORT_NUMBER, 0}, {398, 422, 4, 0, 2, 0, 976, LISTSORT_NUMBER, 0},
    {422, 452, 4, 0, 2, 0, 979, LISTSORT_NUMBER, 0}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

// The result's letter: the first letter of its word.
std::string ResultLetter(int nFor, int nAgainst)
{
    const int nItem = nFor > nAgainst ? kWinItem : nFor == nAgainst ? kDrawItem : kLossItem;
    const char* pszWord = GetTableText(kWordsSet, nItem);
    std::string letter = pszWord && *pszWord ? std::string(1, *pszWord) : std::string("?");
    return letter + " ";
}

int SumSquadLeagueField(const CClubDatabase& club, int nField)
{
    int nTotal = 0;
    for (const CPlayerDatabase* pPlayer : club.m_lstPlayers.Items<CPlayerDatabase>())
        nTotal += pPlayer->GetMatchInformationField(kLeagueCompetition, nField);
    return nTotal;
}

CDatabaseHandler* Database()
{
    const CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetDatabase() : nullptr;
}

}  // namespace

CClientTablesStaticsForm::CClientTablesStaticsForm()
    : CClientTablesStaticsLeague(SCREEN_TABLES_FORM, true, false)
{
}

void CClientTablesStaticsForm::BuildFormStrings(const CDivisionDatabase& division, ID_CLUB idClub, const CDate& date,
                                                bool bBeforeDate, int nCount, std::string& home, std::string& away)
{
    home.clear();
    away.clear();
    LPXLISTNODE pCursor = nullptr;
    // The club's fixtures passed by the date; the walk back counts only his.
    int nLeft = division.AdvanceFixtureCursor(date, idClub, pCursor, bBeforeDate ? 1 : 0, false) + 1;
    LPXLISTNODE pNode = pCursor ? pCursor->pPrev : division.m_lstFixtures.GetTail();
    int nHome = 0, nAway = 0;
    for (; pNode && nLeft > 0 && (nHome < nCount || nAway < nCount); pNode = pNode->pPrev) {
        const auto* pFixture = static_cast<const CDivisionFixturesDatabase*>(pNode->pData);
        if (!pFixture->IsClubInvolved(idClub))
            continue;
        --nLeft;
        if (!pFixture->IsPlayed())
            continue;
        const int nHomeGoals = pFixture->GetHomeGoals(), nAwayGoals = pFixture->GetAwayGoals();
        if (pFixture->GetHomeClubID() == idClub && nHome < nCount) {
            home += ResultLetter(nHomeGoals, nAwayGoals);
            ++nHome;
        } else if (pFixture->GetAwayClubID() == idClub && nAway < nCount) {
            away += ResultLetter(nAwayGoals, nHomeGoals);
            ++nAway;
        }
    }
}

int CClientTablesStaticsForm::CountLeagueBookings(const CClubDatabase& club)
{
    return SumSquadLeagueField(club, MATCH_INFORMATION_BOOKINGS);
}

int CClientTablesStaticsForm::CountLeagueSubstitutions(const CClubDatabase& club)
{
    return SumSquadLeagueField(club, MATCH_INFORMATION_SUBSTITUTE);
}

void CClientTablesStaticsForm::FillTable()
{
    CXListBox* pList = GetTable();
    CDatabaseHandler* pDatabase = Database();
    if (!pList || !m_pDivision || !pDatabase)
        return;
    const RANKING ranking = RankDivision();
    const bool bToday = m_dateView == pDatabase->GetGameDate();
    const int nClubs = static_cast<int>(ranking.current.size());
    StartTable(*pList, kColumns, nClubs);
    for (int nRank = 0; nRank < nClubs; ++nRank) {
        const STANDING& s = ranking.current[static_cast<size_t>(nRank)];
        std::string home, away;
        BuildFormStrings(*m_pDivision, s.pClub->m_wClubId, m_dateView, bToday, kFormCount, home, away);
        const int nRow = pList->AddString(ClubColour(*s.pClub), "%2d\t%s\t%s\t%s\t%d\t%d\t%d", nRank + 1,
                                          s.name.c_str(), home.c_str(), away.c_str(), s.pClub->m_byReputation,
                                          CountLeagueBookings(*s.pClub), CountLeagueSubstitutions(*s.pClub));
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, s.pClub->m_wClubId);
        AddMoveArrow(*pList, nRow, MoveOf(ranking, nRank));
    }
    ShowTable(*pList, kCaptionSet);
}
