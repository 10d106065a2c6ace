#include "popups/CPopupSelectPenaltyTakers.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/PlayerRowIcons.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CPlayerDatabase.h"
#include "platform/DeviceContext.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kCaptionItem = 47;
constexpr int kCaptionSet = 228;
constexpr int kRowHeight = 16;
// The chosen row's cells.
constexpr COLORREF kCellFill = 0x70564C, kCellLight = 0xE7BFB3;
constexpr int kListTop = 70, kListBottom = 246;
constexpr int kOrderColumn = 0, kNameColumn = 1, kPositionColumn = 2;
constexpr COLORREF kRowText = plat::RGB(255, 255, 255);
constexpr int kDisplayWidth = 800, kDisplayHeight = 600;

const LISTCOLUMN kColumns[] = {
    {0, 24, 2, 0, 2, 0, 873, LISTSORT_NONE, 0},
    {24, 166, 4, 0, 0, 0, 963, LISTSORT_NONE, 0},
    {166, 196, 0, 0, 'x', 0, 937, LISTSORT_NONE, 0},
    {196, 226, 4, 0, 2, 0, 968, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

}  // namespace

CPopupSelectPenaltyTakers::CPopupSelectPenaltyTakers()
{
    m_wScreenID = SCREEN_SELECT_PENALTY_TAKERS_POPUP;
    SetPopupRect(359, 180, 242, 290);
}

CPopupSelectPenaltyTakers::~CPopupSelectPenaltyTakers() = default;

void CPopupSelectPenaltyTakers::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    CXSurface* pTabs = Game() ? Game()->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const CAPTIONTAB tabs[] = {{2, 0, 0, 8, kListTop - 17 - kRowHeight, Width() - 16}, {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionSet, tabs);
}

CXListBoxEx* CPopupSelectPenaltyTakers::GetList() const
{
    return dynamic_cast<CXListBoxEx*>(FindControl(ID_LIST));
}

bool CPopupSelectPenaltyTakers::OnInitDialog()
{
    m_pHuman = popup_look::CurrentHuman();
    ConstructScreen();
    popup_look::DrawClubColourBoxes(*this);
    CGamePopup::OnInitDialog();
    m_pDragImage = std::make_unique<CXSurface>();
    if (!m_pDragImage->Create(kImageWidth, kImageHeight, false, true))
        m_pDragImage.reset();
    popup_look::AddAnswerButtons(*this);
    AddCloseButton(false, true);
    m_RowIcons.Load();
    auto* pList =
        static_cast<CXListBoxEx*>(AddControl(XCONTROL_LISTBOXEX, 0, kListTop, Width(), kListBottom, ID_LIST, nullptr));
    if (pList) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     nullptr, true, nullptr, true, 1, false, false, true);
        pList->m_crCellFill = kCellFill;
        pList->m_crCellLight = kCellLight;
        pList->SetUpColumns(0, kListTop, Width(), kListBottom, kColumns, false, false, kListBottom - kListTop, false);
        // Rows change places within the list and never leave it.
        pList->m_bDragWithin = 1;
        pList->m_bDragOut = 0;
        pList->m_bDropOntoLists = 0;
    }
    m_dwDragMode = DRAG_NONE;
    m_pDragged = nullptr;
    m_rcLastDrag = plat::Rect{0, 0, 0, 0};
    Fill();
    ShowAllControls(true);
    return true;
}

void CPopupSelectPenaltyTakers::OnDestroy()
{
    CGamePopup::OnDestroy();
    m_pDragImage.reset();
    m_RowIcons.Clear();
    m_dwDragMode = DRAG_NONE;
    m_pDragged = nullptr;
}

void CPopupSelectPenaltyTakers::Fill()
{
    CXListBoxEx* pList = GetList();
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    uint8_t abyOrder[SAVEGAME_LINEUP];
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        abyOrder[i] = static_cast<uint8_t>(i);
    if (m_pHuman)
        m_pHuman->GetPenaltyOrder(abyOrder);
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        const CPlayerDatabase* pPlayer = m_pHuman ? m_pHuman->GetSheetPlayer(abyOrder[i]) : nullptr;
        const int nRow = pPlayer ? pList->AddString(kRowText, "%d\t%s\t%d\t%d", i + 1, pPlayer->GetShortName(),
                                                    pPlayer->m_byPosition, pPlayer->m_byRating)
                                 : pList->AddString(kRowText, "%d\t-\t\t", i + 1);
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, abyOrder[i]);
        // An empty place cannot kick: it is neither carried nor dropped on.
        if (!pPlayer) {
            pList->EnableRow(nRow, false);
            continue;
        }
        PlayerRowIcons::AddForeignFlag(*pList, nRow, pPlayer->m_byNationality, kNameColumn);
        m_RowIcons.AddPosition(*pList, nRow, pPlayer->m_byPosition, kPositionColumn);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

std::array<uint8_t, SAVEGAME_LINEUP> CPopupSelectPenaltyTakers::GetListedOrder() const
{
    std::array<uint8_t, SAVEGAME_LINEUP> order{};
    const CXListBoxEx* pList = GetList();
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        order[static_cast<size_t>(i)] =
            static_cast<uint8_t>(pList && i < pList->GetCount() ? pList->GetItemData(i) : i);
    return order;
}

void CPopupSelectPenaltyTakers::Renumber()
{
    CXListBoxEx* pList = GetList();
    for (int nRow = 0; pList && nRow < pList->GetCount(); ++nRow) {
        char szNumber[12];
        std::snprintf(szNumber, sizeof szNumber, "%d", nRow + 1);
        pList->SetColumnText(nRow, kOrderColumn, szNumber);
    }
    if (pList)
        pList->Redraw();
}

void CPopupSelectPenaltyTakers::OnDragInternally(uint32_t dwID, int /*nTargetRow*/, uint32_t /*dwSourceRow*/)
{
    // The list has swapped the two rows; the kick numbers stay in order.
    if (dwID == ID_LIST)
        Renumber();
}

void CPopupSelectPenaltyTakers::UserSlot24(uint32_t dwID, uint32_t x, uint32_t y)
{
    // A list reports the mouse while one of its rows is carried.
    if (dwID != ID_LIST)
        return;
    if (m_dwDragMode == DRAG_NONE) {
        const CXListBoxEx* pList = GetList();
        const int nRow = pList ? pList->SourceRow() : -1;
        if (!pList || nRow < 0 || nRow >= pList->GetCount() || !m_pHuman)
            return;
        m_dwDragMode = DRAG_ROW;
        m_nDraggedRow = nRow;
        m_pDragged = m_pHuman->GetSheetPlayer(static_cast<int>(pList->GetItemData(nRow)));
    }
    m_DragPoint = plat::Point{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

void CPopupSelectPenaltyTakers::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGamePopup::OnLButtonUp(flags, x, y);
    m_dwDragMode = DRAG_NONE;
    m_pDragged = nullptr;
    m_nDraggedRow = -1;
}

void CPopupSelectPenaltyTakers::OnPaint()
{
    CGamePopup::OnPaint();
    switch (m_dwDragMode) {
    case DRAG_NONE:
        break;
    case DRAG_ROW:
        DrawDraggedRow();
        break;
    default:
        DebugLog(1, "[CPopupSelectPenaltyTakers::OnPaint] Unknown Drag Mode!");
        break;
    }
}

void CPopupSelectPenaltyTakers::DrawDraggedRow()
{
    CXSurface* pScreen = GetScreenSurface();
    const CXListBoxEx* pList = GetList();
    if (!m_pDragged || !pList || !pScreen || !pScreen->m_pSurface || !m_pDragImage || !m_pDragImage->m_pSurface ||
        m_nDraggedRow < 0 || m_nDraggedRow >= pList->GetCount())
        return;
    // Below and right of the pointer.
    const int x = m_nLeft + m_DragPoint.x + 2, y = m_nTop + m_DragPoint.y + 16;
    m_rcLastDrag = popup_look::DrawCarriedRow(*pList, m_nDraggedRow, kRowText, kNameColumn, kPositionColumn,
                                              *m_pDragImage, *pScreen, x, y);
    if (m_rcLastDrag.right <= m_rcLastDrag.left)
        return;
    // The flag and the position picture only where they fit whole on the display.
    const int xFlag = x + 148, yFlag = y + 2;
    CXAnimation* pFlag = PlayerRowIcons::ForeignFlag(m_pDragged->m_byNationality);
    if (pFlag && xFlag >= 0 && yFlag >= 0 && xFlag + CSharedBitmaps::kFlagWidth <= kDisplayWidth &&
        yFlag + CSharedBitmaps::kFlagHeight <= kDisplayHeight)
        pFlag->DrawFrame(pScreen, xFlag, yFlag, 0, true);
    CXAnimation* pPosition = m_RowIcons.PositionIcon(m_pDragged->m_byPosition);
    const int xIcon = x + 175, yIcon = y + 1;
    if (pPosition && xIcon >= 0 && yIcon >= 0 && xIcon + 20 <= kDisplayWidth && yIcon + 13 <= kDisplayHeight)
        pPosition->DrawFrame(pScreen, xIcon, yIcon, 0, true);
}

void CPopupSelectPenaltyTakers::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kOkButtonID && IsOnStack()) {
        const auto order = GetListedOrder();
        const bool bKept = m_pHuman && m_pHuman->SetPenaltyOrder(order.data());
        if (!bKept)
            DebugLog(1, "[CPopupSelectPenaltyTakers] The order was not kept: no human, or its first place is empty");
        // The owner hears of a change only when there was one.
        m_dwResultID = bKept ? kOkButtonID : kCancelButtonID;
        Close();
    } else if (dwID == kCancelButtonID && IsOnStack()) {
        m_dwResultID = kCancelButtonID;
        Close();
    }
}
