#include "xframework/CXComboBox.h"

#include "xframework/CXButton.h"
#include "xframework/CXClient.h"
#include "xframework/DrawingFunctions.h"

#include "common/DebugLog.h"
#include "platform/Messages.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kArrowSize = 16;
constexpr uint32_t kPopupBarUpID = 1000001;
constexpr uint32_t kPopupBarDownID = 1000002;
constexpr int kCalendarLeft = 2;
constexpr int kCalendarTop = 19;
// The popup's list draws its rows this high, whatever the box's own rows.
constexpr int kPopupRowHeight = 16;
constexpr int kPopupTextIndent = 6;
// The day names are control texts 1 (Sunday) to 7.
constexpr CALENDARDAYNAME kDayNames[] = {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0},
                                         {6, 0, 0}, {7, 0, 0}, {CALENDAR_DAY_NAMES_END, 0, 0}};
}  // namespace

CXComboPopup& ComboPopup()
{
    static CXComboPopup s_Popup;
    return s_Popup;
}

CXComboListPopup& ComboListPopup()
{
    static CXComboListPopup s_Popup;
    return s_Popup;
}

// ---- the popups ----

CXComboPopupBase::CXComboPopupBase() { m_wScreenID = COMBO_POPUP_SCREEN_ID; }

bool CXComboPopupBase::BuildFace()
{
    m_wScreenID = COMBO_POPUP_SCREEN_ID;
    if (!m_pBox) {
        DebugLog(0, "[CXComboPopup::ConstructScreen] Cannot continue, no combo box has been passed");
        return false;
    }
    m_bCloseRequested = 0;
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (m_pBackground->Create(Width(), Height(), false, false)) {
        m_pBackground->Fill(m_pBox->m_crCellDark);
        plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
        DrawRectOutline(pDC, 0, 0, Width(), Height(), m_pBox->m_crCellLight, 1);
        m_pBackground->m_pSurface->releaseDC(pDC);
    }
    return CXClient::OnInitDialog();
}

void CXComboPopupBase::OnDestroy()
{
    CXClient::OnDestroy();
    m_pBox = nullptr;
}

void CXComboPopupBase::OnPaint()
{
    CXClient::OnPaint();
    if (m_bCloseRequested && IsOnStack()) {
        m_bCloseRequested = 0;
        Close();
    }
}

void CXComboPopupBase::OnMouseMove(uint32_t flags, int x, int y)
{
    CXPopup::OnMouseMove(flags, x, y);
    const int nRowHeight = m_pBox ? m_pBox->m_nRowHeight : 0;
    const bool bInsideX = x >= -10 && x < Width() + 16;
    const bool bInsideY = m_bOpensUpwards ? y >= -16 && y < Height() + nRowHeight
                                          : y >= -nRowHeight && y < Height() + 16;
    if (!bInsideX || !bInsideY)
        m_bCloseRequested = 1;
}

void CXComboPopupBase::OnKeyUp(uint32_t key, uint32_t repeat, uint32_t flags)
{
    // Closed at once: the key is spent here, and the frame that follows
    // shows what lies beneath.
    if (key == plat::VK_ESCAPE && IsOnStack()) {
        m_bCloseRequested = 0;
        Close();
        return;
    }
    CXPopup::OnKeyUp(key, repeat, flags);
}

bool CXComboPopup::OnInitDialog()
{
    m_pList = nullptr;
    m_pScrollBar = nullptr;
    if (!BuildFace())
        return false;
    CXComboBox& box = *m_pBox;
    int nListWidth = Width();
    if (box.LinkedScrollBar() && box.GetCount() > Height() / kPopupRowHeight) {
        m_pScrollBar = static_cast<CXScrollBar*>(
            AddControlXYWH(XCONTROL_SCROLLBAR, Width() - kArrowSize, kArrowSize, kArrowSize, Height() - 2 * kArrowSize,
                           kPopupBarUpID, nullptr));
        if (m_pScrollBar)
            m_pScrollBar->Create(kPopupBarUpID, kPopupBarDownID, kArrowSize, false, 0);
        nListWidth -= kArrowSize;
    }
    m_pList = static_cast<CXListBox*>(AddControlXYWH(XCONTROL_LISTBOX, 0, 0, nListWidth, Height(), box.m_dwID, nullptr));
    if (!m_pList)
        return false;
    m_pList->SetUp(kPopupRowHeight, kPopupTextIndent, g_hButtonFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true, m_pScrollBar,
                   true, nullptr, true, 2, false, false, box.m_bWholeRowHover);
    m_pList->m_crCellFill = box.m_crCellFill;
    m_pList->m_crCellLight = box.m_crCellLight;
    m_pList->m_crCellDark = box.m_crCellDark;
    m_pList->CreateColumnHeaders(box.Columns(), false);
    m_pList->SetAutoRedraw(false);
    for (int i = 0; i < box.GetCount(); ++i)
        m_pList->AppendRowLike(*box.GetRow(i));
    // The box's choice shows until another enabled row is clicked.
    if (box.GetSelection() >= 0) {
        m_pList->SetSelection(box.GetSelection());
        if (box.GetSelection() >= m_pList->RowsPerView())
            m_pList->Scroll(LISTSCROLL_TO_ROW, box.GetSelection());
    }
    m_pList->SetAutoRedraw(true);
    m_pList->UpdateScrollBar();
    ShowAllControls(true);
    m_pList->Redraw();
    return true;
}

void CXComboPopup::OnLButtonDown(uint32_t flags, int x, int y)
{
    m_nPressX = x;
    m_nPressY = y;
    CXComboPopupBase::OnLButtonDown(flags, x, y);
}

void CXComboPopup::OnClicked(uint32_t dwID)
{
    CXPopup::OnClicked(dwID);
    if (!m_pList || !m_pBox || dwID != m_pList->m_dwID)
        return;
    m_bCloseRequested = 1;
    // The row clicked, not the selection a disabled row left standing.
    int nRow = -1;
    if (m_pList->HitTestRow(m_nPressX, m_nPressY, &nRow, nullptr) && m_pList->IsRowEnabled(nRow))
        m_pBox->SetCurSel(nRow);
}

bool CXComboListPopup::OnInitDialog()
{
    m_pCalendar = nullptr;
    if (!BuildFace())
        return false;
    CXComboBox& box = *m_pBox;
    m_pCalendar = static_cast<CXCalendar*>(
        AddControl(XCONTROL_CALENDAR, kCalendarLeft, kCalendarTop, Width(), Height(), COMBO_CALENDAR_ID, nullptr));
    if (!m_pCalendar)
        return false;
    const int64_t nDate = box.GetItemData(box.GetSelection());
    m_pCalendar->SetDate(nDate > 0 ? static_cast<uint32_t>(nDate) : CDate(CALENDAR_FIRST_YEAR, 4, 1).GetValue());
    m_pCalendar->m_crDayNames = 0x00FFFFFF;
    m_pCalendar->SetDayNames(kDayNames);
    const CDate& shown = m_pCalendar->m_ShownMonth;
    for (int i = 0; i < box.GetCount(); ++i) {
        const CDate date(static_cast<uint32_t>(box.GetItemData(i)));
        if (date.GetYear() == shown.GetYear() && date.GetMonth() == shown.GetMonth())
            m_pCalendar->MarkDay(date.GetDay());
    }
    m_pCalendar->Show(true, true);
    return true;
}

void CXComboListPopup::OnSelChange(uint32_t dwID)
{
    if (dwID != COMBO_CALENDAR_ID || !m_pCalendar || !m_pBox)
        return;
    // A day without a row is no choice; the popup stays.
    if (!m_pCalendar->IsDayMarked(m_pCalendar->m_nChosenDay))
        return;
    m_pBox->SetCurSel(m_pBox->FindItemData(m_pCalendar->m_Chosen.GetValue()));
    m_bCloseRequested = 1;
}

// ---- the boxes ----

void CXComboBox::SetUp(int nRowHeight, int nTextIndent, plat::Font* hFont, uint8_t byStyle, bool bSelectable,
                       CXScrollBar* pScrollBar, bool bColumnsWithHeaders, CXSurface* pSelectionImage,
                       bool bHeaderStrip, uint8_t byBackgroundStyle, bool bAutoScroll, bool bAlwaysShowSelection,
                       bool bWholeRowHover)
{
    CXListBox::SetUp(nRowHeight, nTextIndent, hFont, byStyle, bSelectable, pScrollBar, bColumnsWithHeaders,
                     pSelectionImage, bHeaderStrip, byBackgroundStyle, bAutoScroll, bAlwaysShowSelection,
                     bWholeRowHover);
    m_bSelectable = 0;
    m_pBoxScrollBar = pScrollBar;
    m_rcDropDown = {m_nLeft, m_nTop, m_nRight, m_nBottom};
    if (!m_pArrow && m_pOwner) {
        m_pArrow = static_cast<CXButton*>(
            m_pOwner->AddControlXYWH(XCONTROL_BUTTON, m_nRight, m_nTop, kArrowSize, kArrowSize, COMBO_ARROW_ID, nullptr));
        if (m_pArrow) {
            m_pArrow->SetBitmap(g_pfnSharedBitmap ? g_pfnSharedBitmap("SBButton.bmp") : nullptr, 0, kArrowSize, false,
                                true);
            m_pArrow->m_pLinkedControl = this;
        }
    }
    Move(m_rcDropDown.left, m_rcDropDown.top, m_rcDropDown.right - m_rcDropDown.left, m_nRowHeight, false);
    if (m_pBoxScrollBar)
        m_pBoxScrollBar->Show(false, false);
}

void CXComboBox::SetUpColumns(int nLeft, int nTop, int nRight, int nBottom, const LISTCOLUMN* pColumns, bool bCentreX,
                              bool bCentreY, int nVisibleHeight, bool bHeaderOption)
{
    CXListBox::SetUpColumns(nLeft, nTop, nRight, nTop + m_nRowHeight, pColumns, bCentreX, bCentreY, nVisibleHeight,
                            bHeaderOption);
    m_rcDropDown = {nLeft, nTop, nRight, nBottom};
}

void CXComboBox::Move(int x, int y, int nWidth, int nHeight, bool bRedraw)
{
    CXListBox::Move(x, y, nWidth, nHeight, bRedraw);
    m_rcDropDown.left = x;
    m_rcDropDown.right = x + nWidth;
    if (m_pArrow)
        m_pArrow->Move(x + nWidth, y, kArrowSize, kArrowSize, bRedraw);
}

void CXComboBox::Show(bool bVisible, bool bRedraw)
{
    CXListBox::Show(bVisible, bRedraw);
    // The box's own bar only tells the popup to have one.
    if (m_pBoxScrollBar)
        m_pBoxScrollBar->Show(false, false);
    if (m_pArrow)
        m_pArrow->Show(bVisible, bRedraw);
}

void CXComboBox::SetCurSel(int nRow)
{
    if (nRow < 0 || nRow >= GetCount())
        return;
    SetSelection(nRow);
    Scroll(LISTSCROLL_TO_ROW, nRow);
    Redraw();
    if (m_pOwner)
        m_pOwner->OnSelChange(m_dwID);
}

void CXComboBox::ShowSelection(int nRow)
{
    if (nRow < 0 || nRow >= GetCount())
        return;
    SetSelection(nRow);
    Scroll(LISTSCROLL_TO_ROW, nRow);
    Redraw();
}

void CXComboBox::OnLButtonDown(uint32_t flags, int x, int y)
{
    CXListBox::OnLButtonDown(flags, x, y);
    if (m_bVisible)
        OpenDropDown();
}

void CXComboBox::OnLinkedButtonClicked(uint32_t dwID)
{
    CXListBox::OnLinkedButtonClicked(dwID);
    if (dwID == COMBO_ARROW_ID && m_bVisible)
        OpenDropDown();
}

bool CXComboBox::OpenPopup(CXComboPopupBase& popup, int nWidth, int nHeight)
{
    if (GetCount() < 2 || m_bNoDropDown || popup.IsOnStack())
        return false;
    const int nOwnerX = m_pOwner ? m_pOwner->m_nLeft : 0, nOwnerY = m_pOwner ? m_pOwner->m_nTop : 0;
    int nTop = nOwnerY + m_nTop + m_nRowHeight;
    popup.m_bOpensUpwards = 0;
    if (nTop + nHeight > COMBO_SCREEN_BOTTOM) {
        nTop = nOwnerY + m_nTop - nHeight;
        popup.m_bOpensUpwards = 1;
    }
    popup.SetClientRect(m_rcDropDown.left + nOwnerX, nTop, nWidth, nHeight);
    popup.m_pBox = this;
    return popup.Open();
}

bool CXComboBox::OpenDropDown()
{
    int nWidth = m_rcDropDown.right - m_rcDropDown.left;
    // The drop-down area is the most the list may take: a short list is
    // only as tall as its rows.
    const int nArea = m_rcDropDown.bottom - m_rcDropDown.top;
    const int nHeight = std::min(nArea, std::max(GetCount(), 1) * kPopupRowHeight);
    if (m_pBoxScrollBar && GetCount() > nHeight / kPopupRowHeight)
        nWidth += kArrowSize;
    return OpenPopup(ComboPopup(), nWidth, nHeight);
}

namespace {

// A row's text stops 3 px short of the list's right edge.
bool FitsRow(const char* pszText, const plat::Font* pFont, int nRoom)
{
    return !pFont || pFont->textWidth(pszText, static_cast<int>(std::strlen(pszText))) <= nRoom - 3;
}

}  // namespace

bool CXComboBox::FitsClosed(const char* pszText) const
{
    return FitsRow(pszText, m_hFont, Width() - m_nTextIndent);
}

bool CXComboBox::FitsOpened(const char* pszText) const
{
    return FitsRow(pszText, g_hButtonFont, Width() - kPopupTextIndent);
}

bool CXComboList::OpenDropDown()
{
    return OpenPopup(ComboListPopup(), m_rcDropDown.right - m_rcDropDown.left + COMBO_CALENDAR_EXTRA_WIDTH,
                     m_rcDropDown.bottom - m_rcDropDown.top);
}
