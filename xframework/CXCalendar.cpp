#include "xframework/CXCalendar.h"

#include "xframework/CXClient.h"
#include "xframework/CXManager.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

#include <cstdio>

TableTextLookup g_pfnTableText = nullptr;

namespace {
constexpr COLORREF kDayColour = 0x00FFFFFF;
constexpr COLORREF kLitDayColour = 0x0000FFFF;
constexpr int kHeaderHeight = 16;
constexpr int kHeaderGap = 18;
constexpr int kMonthNameSet = 128;
constexpr int kWeekdayNameSet = 129;
}  // namespace

CXCalendar::CXCalendar() = default;

CXCalendar::~CXCalendar() = default;

void CXCalendar::SetDate(uint32_t dwDate)
{
    m_Today.Set(dwDate);
    m_Chosen.Set(dwDate);
    m_ShownMonth = CDate(m_Today.GetYear(), m_Today.GetMonth(), 1);
    m_nChosenDay = m_Today.GetDay();
}

void CXCalendar::SetDayNames(const CALENDARDAYNAME* pNames)
{
    m_pDayNames = pNames;
    const int nColumn = ColumnWidth();
    if (nColumn <= 0)
        return;
    auto pHeader = std::make_unique<CXSurface>();
    if (!pHeader->Create(Width(), kHeaderHeight, false, true))
        return;
    pHeader->Fill(0x00FF00FF);
    CXSurface* pTab = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnPTab.bmp") : nullptr;
    plat::Surface& dest = *pHeader->m_pSurface;
    for (int i = 0; i < 7; ++i) {
        if (pTab && pTab->m_pSurface)
            DrawHeaderCell(dest, i * nColumn, 0, nColumn, *pTab->m_pSurface, 32);
    }
    plat::DeviceContext* pDC = dest.getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    if (g_hToolTipFont)
        pDC->selectFont(g_hToolTipFont);
    for (int i = 0; i < 7 && pNames && pNames[i].wTextID != CALENDAR_DAY_NAMES_END; ++i) {
        const char* pszName = g_pfnControlCaptionText ? g_pfnControlCaptionText(pNames[i].wTextID) : nullptr;
        if (pszName)
            DrawTextCentredF(pDC, i * nColumn, 0, (i + 1) * nColumn, kHeaderHeight, m_crDayNames, "%s", pszName);
    }
    dest.releaseDC(pDC);
    m_pHeader = std::move(pHeader);
    DrawDayNames();
}

void CXCalendar::DrawDayNames()
{
    if (!m_pHeader || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    const int nColumn = ColumnWidth();
    for (int i = 0; i < 7; ++i) {
        const plat::Rect rc{i * nColumn, 0, (i + 1) * nColumn, kHeaderHeight};
        m_pDrawingSurface->m_pSurface->bltFast(m_nLeft + i * nColumn, m_nTop - kHeaderGap, *m_pHeader->m_pSurface, &rc,
                                               plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
    }
}

void CXCalendar::DayCell(int nDay, int* pnColumn, int* pnRow) const
{
    const int nIndex = m_ShownMonth.GetDayOfWeek() + nDay - 1;
    *pnColumn = nIndex % 7;
    *pnRow = nIndex / 7;
}

int CXCalendar::DayAt(int x, int y) const
{
    if (x < 0 || y < 0 || ColumnWidth() <= 0 || RowHeight() <= 0 || x >= 7 * ColumnWidth() || y >= 6 * RowHeight())
        return 0;
    const int nDay = (y / RowHeight()) * 7 + x / ColumnWidth() - m_ShownMonth.GetDayOfWeek() + 1;
    return nDay >= 1 && nDay <= DaysInShownMonth() ? nDay : 0;
}

void CXCalendar::DrawDay(int nDay, COLORREF crColour)
{
    if (!m_bVisible || nDay < 1 || nDay > DaysInShownMonth() || !m_pOwner || !m_pDrawingSurface ||
        !m_pDrawingSurface->m_pSurface)
        return;
    int nColumn = 0, nRow = 0;
    DayCell(nDay, &nColumn, &nRow);
    const int nWidth = ColumnWidth(), nHeight = RowHeight();
    const int x = m_nLeft + nColumn * nWidth, y = m_nTop + nRow * nHeight;
    m_pOwner->RestoreBackground(x, y, nWidth - 1, nHeight - 1);
    const bool bChosenMonth =
        m_Chosen.GetYear() == m_ShownMonth.GetYear() && m_Chosen.GetMonth() == m_ShownMonth.GetMonth();
    const bool bTodayMonth =
        m_Today.GetYear() == m_ShownMonth.GetYear() && m_Today.GetMonth() == m_ShownMonth.GetMonth();
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    if (bChosenMonth && nDay == m_nChosenDay)
        DrawFilledRectFramed(pDC, x, y, x + nWidth - 1, y + nHeight - 1, m_crChosenFill, 0, m_crChosenFill);
    if (bTodayMonth && nDay == m_Today.GetDay())
        DrawRectOutline(pDC, x, y, x + nWidth - 1, y + nHeight - 1, m_crTodayFrame, 1);
    const bool bMarked = IsDayMarked(nDay);
    plat::Font* pFont = bMarked ? g_hButtonFont : g_hToolTipFont;
    if (pFont)
        pDC->selectFont(pFont);
    DrawTextCentredF(pDC, x, y, x + nWidth - 1, y + nHeight - 1, bMarked ? m_crMarked : crColour, "%d", nDay);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
}

void CXCalendar::DrawMonth()
{
    if (!m_bVisible)
        return;
    if (m_pOwner)
        m_pOwner->RestoreBackground(m_nLeft, m_nTop, Width(), Height());
    for (int nDay = 1; nDay <= DaysInShownMonth(); ++nDay)
        DrawDay(nDay, kDayColour);
}

void CXCalendar::NextMonth()
{
    if (m_ShownMonth.GetYear() >= CALENDAR_LAST_YEAR)
        return;
    const int nMonth = m_ShownMonth.GetMonth();
    m_ShownMonth = nMonth == 12 ? CDate(m_ShownMonth.GetYear() + 1, 1, 1) : CDate(m_ShownMonth.GetYear(), nMonth + 1, 1);
    DrawMonth();
}

void CXCalendar::PreviousMonth()
{
    const int nMonth = m_ShownMonth.GetMonth();
    if (nMonth == 1 && m_ShownMonth.GetYear() <= CALENDAR_FIRST_YEAR)
        return;
    m_ShownMonth =
        nMonth == 1 ? CDate(m_ShownMonth.GetYear() - 1, 12, 1) : CDate(m_ShownMonth.GetYear(), nMonth - 1, 1);
    DrawMonth();
}

void CXCalendar::Show(bool bVisible, bool bRedraw)
{
    if (bVisible && m_pOwner && !m_bCellsShaded) {
        const int nWidth = ColumnWidth(), nHeight = RowHeight();
        for (int nRow = 0; nRow < 6; ++nRow)
            for (int nColumn = 0; nColumn < 7; ++nColumn) {
                m_pOwner->ShadeRect(m_nLeft + nColumn * nWidth, m_nTop + nRow * nHeight, nWidth - 1, nHeight - 1);
                m_pOwner->RestoreBackground(m_nLeft + nColumn * nWidth, m_nTop + nRow * nHeight, nWidth - 1,
                                            nHeight - 1);
            }
        m_bCellsShaded = 1;
    }
    CXControl::Show(bVisible, bRedraw);
    if (bVisible) {
        DrawDayNames();
        DrawMonth();
    }
}

void CXCalendar::OnLButtonUp(uint32_t, int x, int y)
{
    const int nDay = DayAt(x, y);
    if (nDay == 0)
        return;
    const uint32_t dwOld = m_Chosen.GetValue();
    const int nOldDay = m_nChosenDay;
    const bool bOldInShownMonth =
        m_Chosen.GetYear() == m_ShownMonth.GetYear() && m_Chosen.GetMonth() == m_ShownMonth.GetMonth();
    m_nChosenDay = nDay;
    m_Chosen = CDate(m_ShownMonth.GetYear(), m_ShownMonth.GetMonth(), nDay);
    if (bOldInShownMonth)
        DrawDay(nOldDay, kDayColour);
    DrawDay(nDay, kLitDayColour);
    if (m_Chosen.GetValue() != dwOld && m_pOwner)
        m_pOwner->OnSelChange(m_dwID);
}

void CXCalendar::OnMouseMove(uint32_t flags, int x, int y)
{
    const int nDay = DayAt(x, y);
    if (nDay != m_nHoverDay) {
        DrawDay(m_nHoverDay, kDayColour);
        m_nHoverDay = nDay;
        DrawDay(nDay, kLitDayColour);
    }
    CXControl::OnMouseMove(flags, x, y);
}

void CXCalendar::OnMouseLeave()
{
    DrawDay(m_nHoverDay, kDayColour);
    m_nHoverDay = 0;
    CXControl::OnMouseLeave();
}

void CXCalendar::GetToolTipText(char* pszText)
{
    pszText[0] = '\0';
    if (!m_bVisible)
        return;
    // The pointer on the display, less where the owner really sits.
    const int nOwnerX = m_pOwner ? m_pOwner->m_nLeft : 0, nOwnerY = m_pOwner ? m_pOwner->m_nTop : 0;
    const int nDay = DayAt(g_nMouseX - nOwnerX - m_nLeft, g_nMouseY - nOwnerY - m_nTop);
    if (nDay == 0)
        return;
    const CDate date(m_ShownMonth.GetYear(), m_ShownMonth.GetMonth(), nDay);
    const char* pszWeekday = g_pfnTableText ? g_pfnTableText(kWeekdayNameSet, date.GetDayOfWeek()) : nullptr;
    const char* pszMonth = g_pfnTableText ? g_pfnTableText(kMonthNameSet, date.GetMonth()) : nullptr;
    std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s %d %s %d", pszWeekday ? pszWeekday : "", nDay,
                  pszMonth ? pszMonth : "", date.GetYear());
}
