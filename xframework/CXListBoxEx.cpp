#include "xframework/CXListBoxEx.h"

#include "xframework/CXClient.h"

void CXListBoxEx::OnLButtonDown(uint32_t flags, int x, int y)
{
    if (m_bDragWithin || m_bDragOut) {
        m_nSourceRow = RowAtY(y);
        if (IsRowEnabled(m_nSourceRow)) {
            m_bDragging = 1;
            Capture();
        }
    }
    CXListBox::OnLButtonDown(flags, x, y);
}

void CXListBoxEx::OnMouseMove(uint32_t flags, int x, int y)
{
    if (m_bDragging) {
        if (m_pOwner)
            m_pOwner->UserSlot24(m_dwID, static_cast<uint32_t>(m_nLeft + x), static_cast<uint32_t>(m_nTop + y));
    } else if (m_pCursorSource && *m_pCursorSource != m_nOwnerValue2 && g_pfnSetMousePointer) {
        const int nColumn = HoverColumn();
        const bool bHot = nColumn < 0 || nColumn >= GetColumnCount() || Columns()[nColumn].bHot;
        if (bHot)
            g_pfnSetMousePointer(4, 7, 7);
        else
            g_pfnSetMousePointer(3, 0, 0);
    }
    CXListBox::OnMouseMove(flags, x, y);
}

void CXListBoxEx::OnMouseLeave()
{
    CXControl::OnMouseLeave();
    if (g_pfnSetMousePointer)
        g_pfnSetMousePointer(0, 0, 0);
}

int CXListBoxEx::DropRow(int x, int y, const Row& record)
{
    const int nRow = RowAtY(y);
    Row* pRow = RowAt(nRow);
    // A disabled row is never moved, by its own list or by another.
    if (!m_bAcceptsDrops || !pRow || !pRow->bEnabled)
        return -1;
    m_SavedRow = *pRow;
    *pRow = record;
    SetSelection(nRow);
    SetHoverRow(nRow, GetColumnCount() > 0 ? ColumnAt(x) : -1);
    RedrawRow(nRow, true);
    return nRow;
}

bool CXListBoxEx::DropOntoList(int x, int y)
{
    if (!m_bDropOntoLists || !m_pOwner)
        return false;
    const int nClientX = m_nLeft + x, nClientY = m_nTop + y;
    CXControl* pControl = m_pOwner->ControlFromPoint(nClientX, nClientY);
    if (!pControl || pControl == this || m_pOwner->ControlType(pControl) != XCONTROL_LISTBOXEX)
        return false;
    auto* pTarget = static_cast<CXListBoxEx*>(pControl);
    if (!pTarget->m_bAcceptsDrops)
        return false;
    const int nTargetX = nClientX - pTarget->m_nLeft, nTargetY = nClientY - pTarget->m_nTop;
    int nTargetRow = -1;
    if (!m_bReportOnlyOutside) {
        const Row* pSource = RowAt(m_nSourceRow);
        if (!pSource)
            return false;
        const Row copy = *pSource;
        nTargetRow = pTarget->DropRow(nTargetX, nTargetY, copy);
        if (nTargetRow >= 0) {
            // The two rows change places.
            *RowAt(m_nSourceRow) = pTarget->SavedRow();
            RedrawRow(m_nSourceRow, true);
            pTarget->RedrawRow(-1, true);
            m_pOwner->SetFocus(pTarget);
        }
    } else {
        nTargetRow = pTarget->RowAtY(nTargetY);
        if (nTargetRow >= pTarget->GetCount())
            nTargetRow = -1;
    }
    m_pOwner->OnDragNotify(m_dwID, pTarget->m_dwID, static_cast<uint32_t>(nTargetRow),
                           static_cast<uint32_t>(m_nSourceRow));
    return !m_bReportOnlyOutside && nTargetRow >= 0;
}

void CXListBoxEx::DropWithin(int y)
{
    int nTarget = RowAtY(y);
    // Below the last row counts as the source row: nothing moves.
    if (nTarget >= GetCount())
        nTarget = m_nSourceRow;
    if (nTarget == m_nSourceRow || !IsRowEnabled(nTarget))
        return;
    if (!m_bReportOnlyInside) {
        ExchangeRows(nTarget, m_nSourceRow, false);
        SetSelection(nTarget);
    }
    if (m_pOwner)
        m_pOwner->OnDragInternally(m_dwID, nTarget, static_cast<uint32_t>(m_nSourceRow));
}

void CXListBoxEx::OnLButtonUp(uint32_t flags, int x, int y)
{
    CXListBox::OnLButtonUp(flags, x, y);
    if (!m_bDragging)
        return;
    const bool bInside = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (!bInside) {
        if (!DropOntoList(x, y) && m_bDragOut && m_pOwner)
            m_pOwner->OnDragExternally(m_dwID, m_pOwner->m_nLeft + m_nLeft + x, m_pOwner->m_nTop + m_nTop + y);
    } else if (m_bDragWithin) {
        DropWithin(y);
    }
    m_bDragging = 0;
    Release();
}
