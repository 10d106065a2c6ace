#pragma once
// What the staff screens show of a staff member: the name of his post and
// his qualifications named in the language of his kind, and the tooltip that
// shows a cut cell whole.
#include <string>

class CStaffDatabase;
class CXListBox;

// The table-text set naming the qualifications of a staff kind (-1 for none).
int StaffQualificationSet(int nKind);
// The post of a staff kind ("" outside the kinds).
const char* StaffPostName(int nKind);
// Whole names only, as many as fit a list row's cell.
std::string StaffQualifications(const CStaffDatabase& staff);
// The whole text of the list cell under the pointer, for its tooltip (a
// cell cut at its column's edge shows in full there).
void HoveredCellToolTip(const CXListBox* pList, char* pszText);
