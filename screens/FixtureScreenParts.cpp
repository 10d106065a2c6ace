#include "screens/FixtureScreenParts.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "xframework/CXClient.h"
#include "xframework/CXListBox.h"

namespace fixture_screens {

void SetUpNavigation(const CXClient* pScreen, bool bMatchDay, uint16_t wTwinScreen, const char* pszCaller)
{
    if (!g_pNavigationBar)
        return;
    if (!bMatchDay) {
        g_pNavigationBar->SetMode(2);
        return;
    }
    g_pNavigationBar->SetMode(5);
    g_pNavigationBar->SetBlock(0);
    g_pNavigationBar->SetBlock(1);
    const CXClient* pNext = g_ClientList.front().pClient;
    if (pNext == pScreen || pNext == GetScreenObject(wTwinScreen))
        g_pNavigationBar->SetContinueButton(CGameNavigationBar::LOOK_MATCH);
    else if (pNext == GetScreenObject(SCREEN_FOOTBALL_TODAY))
        g_pNavigationBar->SetContinueButton(CGameNavigationBar::LOOK_MATCH_GOES_ON);
    else
        DebugLog(0, "[%s::OnInitDialog] Unknown next screen for continue icon!", pszCaller);
}

void DrawListCaption(CXClient& screen, const CXListBox& list, int nSet)
{
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const CAPTIONTAB tabs[] = {{2, 0, 0, list.m_nLeft, list.m_nTop - list.m_nHeaderHeight - 17, list.Width()},
                               {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(&screen, screen.m_pDrawingSurface, pTabs, g_hSmallFont, nSet, tabs);
}

KitRows::KitRows() = default;
KitRows::~KitRows() = default;

void KitRows::Clear() { m_Rows.clear(); }

void KitRows::Add(CXListBox& list, const CDatabaseHandler& database, uint32_t dwMatchID, const CClubDatabase* pHome,
                  const CClubDatabase* pAway, bool bPlayed, const char* pszScore)
{
    auto pRow = std::make_unique<FixtureKitRow>(dwMatchID, pHome, pAway);
    pRow->SetPlayed(bPlayed);
    if (pRow->AddTo(list, database, pszScore, static_cast<uint32_t>(m_Rows.size())) >= 0)
        m_Rows.push_back(std::move(pRow));
}

const FixtureKitRow* KitRows::Get(const CXListBox* pList, int nListRow) const
{
    if (!pList || nListRow < 0 || nListRow >= pList->GetCount())
        return nullptr;
    const int64_t nIndex = pList->GetItemData(nListRow);
    return nIndex >= 0 && nIndex < static_cast<int64_t>(m_Rows.size()) ? m_Rows[static_cast<size_t>(nIndex)].get()
                                                                         : nullptr;
}

void KitRows::OnDoubleClick(const CXListBox* pList, bool bMatchDay) const
{
    // The score column of a played match opens its details, which step
    // through this list.
    if (const FixtureKitRow* pRow = pList ? Get(pList, pList->GetSelection()) : nullptr)
        pRow->OnDoubleClick(pList->m_nClickedColumn, bMatchDay);
}

int32_t KitRows::Step(CXListBox* pList, bool bDown) const
{
    return StepFixtureSelection(pList, bDown, [this, pList](int nRow) { return Get(pList, nRow); });
}

}  // namespace fixture_screens
