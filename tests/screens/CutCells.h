#pragma once
// The cells of a list whose text the list would cut: it draws whole
// characters only while they fit in the cell's text room.
#include "xframework/CXListBox.h"

#include "platform/Font.h"

#include <cstring>
#include <string>
#include <vector>

// "row R column C: text (needs W of ROOM)" for each cut cell.
inline std::vector<std::string> CutCells(const CXListBox& list)
{
    std::vector<std::string> cut;
    const LISTCOLUMN* pColumns = list.GetColumns();
    for (int nRow = 0; pColumns && nRow < list.GetCount(); ++nRow) {
        const CXListBox::Row* pRow = list.GetRow(nRow);
        plat::Font* pFont = pRow && pRow->hFont ? pRow->hFont : list.m_hFont;
        for (int nColumn = 0; pFont && nColumn < list.GetColumnCount(); ++nColumn) {
            const LISTCOLUMN& column = pColumns[nColumn];
            if (column.byAlignment == 'x' || column.byAlignment == 'y' || column.byAlignment == 'z')
                continue;
            char szCell[LISTBOX_ROW_TEXT_SIZE] = {};
            list.GetColumnText(nRow, nColumn, szCell);
            const int nWidth = pFont->textWidth(szCell, static_cast<int>(std::strlen(szCell)));
            const int nRoom = CellTextRoom(column, list.m_nTextIndent);
            if (nWidth > nRoom)
                cut.push_back("row " + std::to_string(nRow) + " column " + std::to_string(nColumn) + ": " + szCell +
                              " (needs " + std::to_string(nWidth) + " of " + std::to_string(nRoom) + ")");
        }
    }
    return cut;
}
