#pragma once
// The list of saved files that the load and save popup and the save tactics
// popup share: a scroll bar beside a list of the day each file was written
// and its name, sorted by name with the first row chosen, and the name typed
// in the edit above it.
#include "xframework/CXListBox.h"

#include <cstdint>
#include <string>
#include <vector>

class CXClient;
class CXEdit;
class CXSurface;

namespace saved_files {

struct FILEROW {
    std::string name;
    int64_t nWrittenTime = 0;  // seconds since 1970
};

// The bar under a chosen row; wide enough for every list of both popups
// (a list cuts it to its own width).
CXSurface* SelectionBar();
// The scroll bar (dwBarID, at the list's side) and the list in the
// rectangle, with the date column first and the name column second; null
// when the list could not be made.
CXListBox* AddList(CXClient& popup, uint32_t dwListID, uint32_t dwBarID, int nLeft, int nTop, int nRight, int nBottom,
                   const LISTCOLUMN* pColumns);
// One row a file (the day written, in UTC, and its name); the rows listed.
int Fill(CXListBox& list, const std::vector<FILEROW>& files);
// The name typed in the edit, cut at its first dot; empty without an edit.
std::string TypedName(const CXEdit* pName);
// The name in the chosen row; empty without one.
std::string ChosenName(const CXListBox* pList);

}  // namespace saved_files
