#include "screens/TransferScreenLists.h"

#include "shell/CGame.h"
#include "shell/CGameClient.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"

#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>

namespace transfer_lists {

namespace {

constexpr int kRowHeight = 16;
constexpr COLORREF kText = plat::RGB(242, 242, 234);
constexpr int kMarketKindSet = 146;
constexpr int kKindCount = 2;
const LISTCOLUMN kChoiceColumns[] = {
    {0, kChoiceWidth, 4, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

}  // namespace

CXListBox* AddList(CGameClient& screen, uint32_t dwID, uint32_t dwBarID, uint32_t dwUp, uint32_t dwDown, int nLeft,
                   int nTop, int nRight, int nBottom)
{
    auto* pBar = static_cast<CXScrollBar*>(screen.AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, dwBarID, nullptr));
    if (pBar)
        pBar->Create(dwUp, dwDown, 16, false, 0);
    auto* pList =
        static_cast<CXListBox*>(screen.AddControl(XCONTROL_LISTBOX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
    if (!pList)
        return nullptr;
    pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true, pBar,
                 true, nullptr, true, 0, false, false, false);
    if (const CGame* pGame = dynamic_cast<CGame*>(g_pGame))
        pList->SetDateOrder(pGame->GetOptions().m_nDate);
    return pList;
}

CXComboBox* AddChoice(CGameClient& screen, uint32_t dwID, int x)
{
    auto* pChoice =
        static_cast<CXComboBox*>(screen.AddControl(XCONTROL_COMBOBOX, x, 2, x + kChoiceWidth, 300, dwID, nullptr));
    if (!pChoice)
        return nullptr;
    pChoice->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, false, nullptr, true, nullptr, false, 2,
                   false, false, true);
    pChoice->SetUpColumns(x, 2, x + kChoiceWidth, 300, kChoiceColumns, false, false, kRowHeight, false);
    return pChoice;
}

void FillKindChoice(CXComboBox* pChoice)
{
    if (!pChoice)
        return;
    pChoice->SetAutoRedraw(false);
    pChoice->ResetContent();
    for (int i = 0; i < kKindCount; ++i) {
        pChoice->AddString(kText, "%s", GetTableTextOrEmpty(kMarketKindSet, i));
        pChoice->SetItemData(i, static_cast<uint32_t>(i));
    }
    pChoice->SetAutoRedraw(true);
}

void DrawCaptions(CGameClient& screen, int nCaptionSet, int x, const CXListBox& upper, const CXListBox& lower)
{
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    if (!pTabs)
        return;
    const CAPTIONTAB tabs[] = {{2, 0, 0, x, upper.m_nTop - upper.m_nHeaderHeight - 17, 300},
                               {2, 1, 0, x, lower.m_nTop - lower.m_nHeaderHeight - 17, 300},
                               {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(&screen, screen.m_pDrawingSurface, pTabs, g_hSmallFont, nCaptionSet, tabs);
}

KeptSort KeepSort(const CXListBox& list)
{
    KeptSort sort;
    for (int c = 0; c < list.GetColumnCount(); ++c)
        if (const uint8_t byMark = list.SortMark(c)) {
            sort.nColumn = c;
            sort.bAscending = byMark == 1;
            break;
        }
    return sort;
}

void FinishList(CXListBox& list, const KeptSort& sort, int& nRemembered)
{
    if (sort.nColumn >= 0)
        list.Sort(sort.nColumn, sort.bAscending, list.GetColumns()[sort.nColumn].bySortType, 0);
    if (nRemembered >= 0 && nRemembered < list.GetCount())
        list.SetSelection(nRemembered);
    nRemembered = -1;
    list.UpdateScrollBar();
    list.SetAutoRedraw(true);
    list.Redraw();
}

int StepSelection(CXListBox* pList, int nStep)
{
    if (!pList || pList->GetCount() == 0)
        return -1;
    const int nRow = std::clamp(std::max(pList->GetSelection(), 0) + nStep, 0, pList->GetCount() - 1);
    pList->SetSelection(nRow);
    return nRow;
}

}  // namespace transfer_lists
