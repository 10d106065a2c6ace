#pragma once
// What the fixtures and the cup tables screens share: the navigation bar as
// they set it, in the match day's queue of screens or outside it, and the
// fixture rows with shirts behind their list.
#include "screens/FixtureKitRow.h"

#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CDatabaseHandler;
class CXClient;
class CXListBox;

namespace fixture_screens {

// Outside the match day's queue the bar in its usual mode; in it, the
// match-day mode with its blocks, and a continue button that says what the
// next screen of the queue brings: more results (this screen or wTwinScreen)
// or the day going on (the home screen). pszCaller names the screen in the
// log for a next screen it does not know.
void SetUpNavigation(const CXClient* pScreen, bool bMatchDay, uint16_t wTwinScreen, const char* pszCaller);

// The caption (item 0 of table set nSet) in a tab as wide as the list, over
// its headers.
void DrawListCaption(CXClient& screen, const CXListBox& list, int nSet);

// The rows behind a fixture list: each list row's item data is its row's
// index here.
class KitRows {
public:
    KitRows();
    ~KitRows();

    void Clear();
    // The match's row, added to the list and kept when the list took it.
    void Add(CXListBox& list, const CDatabaseHandler& database, uint32_t dwMatchID, const CClubDatabase* pHome,
             const CClubDatabase* pAway, bool bPlayed, const char* pszScore);
    int Count() const { return static_cast<int>(m_Rows.size()); }
    // The row behind a list row, null for none.
    const FixtureKitRow* Get(const CXListBox* pList, int nListRow) const;
    // A double click on the list's chosen row, in the column clicked.
    void OnDoubleClick(const CXListBox* pList, bool bMatchDay) const;
    // The match id of the row a step up or down lands on, -1 for none.
    int32_t Step(CXListBox* pList, bool bDown) const;

private:
    std::vector<std::unique_ptr<FixtureKitRow>> m_Rows;
};

}  // namespace fixture_screens
