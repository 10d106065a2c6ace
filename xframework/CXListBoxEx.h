#pragma once
// Control type 3: a list box whose rows are dragged with the left button:
// within the list to reorder them, onto another list of this type to
// exchange rows with it, or out onto the screen, whose owner decides what
// the drop means.
#include "xframework/CXListBox.h"

#include <algorithm>
#include <cstdint>

class CXListBoxEx : public CXListBox {
public:
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnMouseLeave() override;

    // The receiving side of a drop from another list, at a point of this
    // list: the row there is kept as the saved row and replaced by the
    // record. The row replaced, or -1 when this list takes no drops or
    // there is no enabled row at the point.
    int DropRow(int x, int y, const Row& record);
    const Row& SavedRow() const { return m_SavedRow; }
    bool IsDragging() const { return m_bDragging != 0; }
    int SourceRow() const { return m_nSourceRow; }

    uint8_t m_bReportOnlyOutside = 0;
    uint8_t m_bReportOnlyInside = 0;
    // Optional: while its value differs from m_nOwnerValue2 the pointer over
    // the list shows whether the cell under it takes a drop.
    const int32_t* m_pCursorSource = nullptr;
    int32_t m_nOwnerValue1 = -1;
    int32_t m_nOwnerValue2 = -1;
    uint8_t m_bDragWithin = 1;
    uint8_t m_bDragOut = 1;
    uint8_t m_bDropOntoLists = 1;
    uint8_t m_bAcceptsDrops = 1;

private:
    // The row at a y of the list (not checked against the count).
    int RowAtY(int y) const { return y / std::max(1, static_cast<int>(m_nRowHeight)) + GetFirstVisible(); }
    // True when the drop went to another list and the drag is over.
    bool DropOntoList(int x, int y);
    void DropWithin(int y);

    uint8_t m_bDragging = 0;
    int32_t m_nSourceRow = -1;
    Row m_SavedRow;
};
