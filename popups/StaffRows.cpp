#include "popups/StaffRows.h"

#include "shell/CTableText.h"

#include "database/CStaffDatabase.h"
#include "xframework/CXListBox.h"

#include <cstdio>

namespace {

constexpr int kPostSet = 121;
// One set per kind; item 0 names no qualification, item b + 1 bit b.
constexpr int kQualificationSets[STAFF_KINDS] = {122, 124, 126, 125, 123, 127};
constexpr int kQualificationNames = 9;
// The qualifications leave the rest of a list row room within its limit.
constexpr size_t kQualificationsLength = 80;

}  // namespace

int StaffQualificationSet(int nKind)
{
    return nKind >= 0 && nKind < STAFF_KINDS ? kQualificationSets[nKind] : -1;
}

const char* StaffPostName(int nKind)
{
    return nKind >= 0 && nKind < STAFF_KINDS ? GetTableTextOrEmpty(kPostSet, nKind) : "";
}

std::string StaffQualifications(const CStaffDatabase& staff)
{
    const int nSet = StaffQualificationSet(staff.m_byKind);
    if (nSet < 0)
        return {};
    const char* apszNames[kQualificationNames];
    for (int i = 0; i < kQualificationNames; ++i)
        apszNames[i] = GetTableTextOrEmpty(nSet, i);
    char szText[kQualificationsLength + 1];
    staff.GetQualificationsText(apszNames, kQualificationNames, szText, sizeof szText);
    return szText;
}

void HoveredCellToolTip(const CXListBox* pList, char* pszText)
{
    if (!pList || !pszText)
        return;
    const int nRow = pList->HoverRow(), nColumn = pList->HoverColumn();
    if (nRow < 0 || nRow >= pList->GetCount() || nColumn < 0 || nColumn >= pList->GetColumnCount())
        return;
    char szCell[LISTBOX_ROW_TEXT_SIZE] = {};
    pList->GetColumnText(nRow, nColumn, szCell);
    std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", szCell);
}
