#pragma once
// What the transfer market and the transfer offers screens share: their two
// player lists, each with its scroll bar, the market kind selector, and a
// list refilled under the sort and selection it had.
#include <cstdint>

class CGameClient;
class CXComboBox;
class CXListBox;

namespace transfer_lists {

// A list spanning nLeft..nRight, nTop..nBottom with its scroll bar (arrow
// buttons dwUp and dwDown), rows in the small face and dates in the
// options' order. Null when the control could not be made.
CXListBox* AddList(CGameClient& screen, uint32_t dwID, uint32_t dwBarID, uint32_t dwUp, uint32_t dwDown, int nLeft,
                   int nTop, int nRight, int nBottom);

// A selector at x on the top row, empty.
CXComboBox* AddChoice(CGameClient& screen, uint32_t dwID, int x);
// The width of a selector; the next stands 10 further on.
constexpr int kChoiceWidth = 150;
// Fills a selector with the market's kinds, the transfer list (row 0) and
// the loan list (row 1).
void FillKindChoice(CXComboBox* pChoice);

// The captions of set nCaptionSet (items 0 and 1) over the upper and the
// lower list's headers, at x.
void DrawCaptions(CGameClient& screen, int nCaptionSet, int x, const CXListBox& upper, const CXListBox& lower);

// The sort a list had before it is emptied, put back once it is filled.
struct KeptSort {
    int nColumn = -1;
    bool bAscending = true;
};
KeptSort KeepSort(const CXListBox& list);

// Ends a refill: the kept sort, the remembered row chosen again (and then
// forgotten), the scroll bar and one redraw.
void FinishList(CXListBox& list, const KeptSort& sort, int& nRemembered);

// Moves the selection nStep rows on, within the list; the row chosen, -1
// for an empty list.
int StepSelection(CXListBox* pList, int nStep);

}  // namespace transfer_lists
