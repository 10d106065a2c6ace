#pragma once
// One row of a fixture list with both clubs' shirts beside their names: the
// 48 by 24 surface the two shirts are drawn on and one image for each, as
// the fixtures and the cup screens show them. The away club changes into its
// away kit when its shirts clash with the home club's.
#include "xframework/CXListBox.h"
#include "xframework/CXSurface.h"

#include <cstdint>
#include <memory>
#include <string>

class CClubDatabase;
class CDatabaseHandler;
class CXAnimation;
class CXListBox;

class FixtureKitRow {
public:
    static constexpr int kShirtSize = 24;

    FixtureKitRow(uint32_t dwMatchID, const CClubDatabase* pHome, const CClubDatabase* pAway);
    ~FixtureKitRow();
    FixtureKitRow(const FixtureKitRow&) = delete;
    FixtureKitRow& operator=(const FixtureKitRow&) = delete;

    // Adds "home\tscore\taway" in white with the clubs' colours on their
    // columns (columns 0 and 2) and the shirts at their outer edges; the
    // row's number, or -1 when the list refused it. Item data = nItemData.
    int AddTo(CXListBox& list, const CDatabaseHandler& database, const char* pszScore, uint32_t dwItemData);

    // A double-click on a club's column (0 home, 2 away): a club outside
    // the leagues has no details to show, which the message box says; true
    // when it was said.
    bool ExplainClubOfColumn(int nColumn) const;

    // A double-click on a column of the row: the score of a played match
    // opens its details (stepping through the opener's list), a club's
    // column what ExplainClubOfColumn says, except on a match day.
    void OnDoubleClick(int nColumn, bool bMatchDay) const;

    uint32_t GetMatchID() const { return m_dwMatchID; }
    const CClubDatabase* GetHomeClub() const { return m_pHome; }
    const CClubDatabase* GetAwayClub() const { return m_pAway; }
    bool IsPlayed() const { return m_bPlayed; }
    bool IsAwayInAwayKit() const { return m_bAwayKit; }
    void SetPlayed(bool bPlayed) { m_bPlayed = bPlayed; }

private:
    uint32_t m_dwMatchID;
    const CClubDatabase* m_pHome;
    const CClubDatabase* m_pAway;
    bool m_bPlayed = false;
    bool m_bAwayKit = false;
    std::unique_ptr<CXSurface> m_pKitSurface;
    std::unique_ptr<CXAnimation> m_pHomeShirt;
    std::unique_ptr<CXAnimation> m_pAwayShirt;
};

// Moves a fixture list's selection one row up or down, as the arrow keys do,
// and answers the match id of the row it lands on (-1 without one); rowOf
// maps a list row to its fixture row. The browse steps of the match details.
template <class RowOf>
int32_t StepFixtureSelection(CXListBox* pList, bool bDown, RowOf rowOf)
{
    constexpr uint32_t kKeyUp = 38, kKeyDown = 40;
    if (!pList)
        return -1;
    pList->OnKeyDown(bDown ? kKeyDown : kKeyUp, 1, 0);
    const FixtureKitRow* pRow = rowOf(pList->GetSelection());
    return pRow ? static_cast<int32_t>(pRow->GetMatchID()) : -1;
}
