#include "screens/CClientTablesStaticsManagers.h"

#include "screens/ClubScreenLink.h"

#include "popups/CPopupManagerDetails.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "xframework/CXAnimation.h"

namespace {

constexpr int kCaptionSet = 164;
constexpr int kWordsSet = 114;
constexpr int kNoManagerItem = 18;
constexpr int kKeyUp = 38, kKeyDown = 40;

const LISTCOLUMN kColumns[] = {
    {0, 36, 4, 0, 2, 0, 1035, LISTSORT_NUMBER, 0},   {36, 188, 4, 0, 0, 0, 938, LISTSORT_TEXT, 0},
    {188, 364, 4, 0, 0, 0, 169, LISTSORT_TEXT, 0},   {364, 394, 4, 0, 2, 0, 968, LISTSORT_NUMBER, 0},
    {394, 430, 4, 0, 2, 0, 168, LISTSORT_NUMBER, 0}, {430, 470, 4, 0, 2, 0, 170, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
constexpr int kAbilityColumn = 4;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

}  // namespace

CClientTablesStaticsManagers::CClientTablesStaticsManagers()
    : CClientTablesStaticsLeague(SCREEN_TABLES_MANAGERS, false, false)
{
}

int CClientTablesStaticsManagers::MoveFromPositions(int nPrevious, int nCurrent)
{
    if (nPrevious == 0)
        return 2;
    return nPrevious > nCurrent ? 1 : nPrevious < nCurrent ? -1 : 0;
}

void CClientTablesStaticsManagers::FillTable()
{
    CXListBox* pList = GetTable();
    CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    if (!pList || !m_pDivision || !pDatabase)
        return;
    const int nClubs = m_pDivision->m_lstClubsByTable.GetCount();
    StartTable(*pList, kColumns, nClubs);
    CXAnimation* pStar = pGame->GetSharedBitmaps().GetSprite("icnStar.bmp");
    const char* pszNoManager = GetTableText(kWordsSet, kNoManagerItem);
    int nPlace = 0;
    m_nStarredRow = -1;
    for (const CClubDatabase* pClub : m_pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
        ++nPlace;
        const CManagerDatabase* pManager = pClub->m_wManagerId ? pClub->GetManager() : nullptr;
        int nRow;
        if (pManager)
            nRow = pList->AddString(ClubColour(*pClub), "%2d\t%s\t%s\t%d\t%d\t%d", nPlace, pClub->GetName(),
                                    pManager->GetShortName(), pManager->m_byRating, pManager->m_byAbility,
                                    pClub->m_nFanConfidence);
        else
            nRow = pList->AddString(ClubColour(*pClub), "%2d\t%s\t%s\t-\t-\t%d", nPlace, pClub->GetName(),
                                    pszNoManager ? pszNoManager : "", pClub->m_nFanConfidence);
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, pClub->m_wClubId);
        if (pManager && pManager->GetId() != 0 &&
            static_cast<int32_t>(pManager->GetId()) == m_pDivision->m_nManagerOfPeriod) {
            m_nStarredRow = nRow;
            if (pStar)
                pList->AddAlignedColumnGraphic(nRow, pStar, 0, kAbilityColumn, true);
        }
        AddMoveArrow(*pList, nRow, MoveFromPositions(pClub->m_byPreviousPosition, pClub->m_byLeaguePosition));
    }
    ShowTable(*pList, kCaptionSet);
}

void CClientTablesStaticsManagers::OnDoubleClicked(uint32_t dwID)
{
    const CXListBox* pList = GetTable();
    CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    const int nRow = pList ? pList->GetSelection() : -1;
    const int nColumn = pList ? pList->m_nClickedColumn : -1;
    if (dwID != ID_TABLE || !pDatabase || nRow < 0 || !pList->GetColumns() || nColumn < 0 ||
        nColumn >= pList->GetColumnCount()) {
        CClientTablesStaticsLeague::OnDoubleClicked(dwID);
        return;
    }
    const CClubDatabase* pClub = pDatabase->GetClubFromID(static_cast<ID_CLUB>(pList->GetItemData(nRow)));
    switch (pList->GetColumns()[nColumn].wHeaderID) {
    case ID_MANAGER_HEADER:
        if (pClub && pClub->m_wManagerId)
            ShowManagerDetails(pClub->m_wManagerId);
        break;
    case ID_CLUB_HEADER:
        OpenClubScreenOrSay(pClub);
        break;
    default:
        CClientTablesStaticsLeague::OnDoubleClicked(dwID);
        break;
    }
}

uint32_t CClientTablesStaticsManagers::MoveSelection(int nStep)
{
    CXListBox* pList = GetTable();
    CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    if (!pList || !pDatabase)
        return 0;
    pList->OnKeyDown(nStep < 0 ? kKeyUp : kKeyDown, 1, 0);
    const int nRow = pList->GetSelection();
    if (nRow < 0)
        return 0;
    const CClubDatabase* pClub = pDatabase->GetClubFromID(static_cast<ID_CLUB>(pList->GetItemData(nRow)));
    const CManagerDatabase* pManager = pClub && pClub->m_wManagerId ? pClub->GetManager() : nullptr;
    return pManager ? pManager->GetId() : 0;
}
