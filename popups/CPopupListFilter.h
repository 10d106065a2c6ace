#pragma once
// The drop-down panel of tick boxes with which a screen narrows one of its
// lists (screen id 81). The screen hands it its criteria and the current
// mask; an entry that starts with a double quote opens a new group and is no
// row, every other entry is a criterion owning the next bit of the mask. A
// click ticks or unticks a criterion, but each group keeps one ticked. The
// panel closes as soon as the pointer leaves it, and the screen reads the
// new mask in OnEndPopup.
#include "shell/CGamePopup.h"

#include <cstdint>
#include <string>
#include <vector>

class CXListBox;

class CPopupListFilter : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 81;
    static constexpr int kWidth = 214;
    static constexpr int kRowHeight = 16;
    static constexpr int kGroupGap = 4;
    static constexpr int kMargin = 8;
    static constexpr int kMaxGroups = 10;
    static constexpr int kMaxCriteria = 32;
    static constexpr uint32_t kFirstGroupID = 100000;
    // The tooltip of every group list: item 11 of the common words.
    static constexpr int kToolTipSet = 114;
    static constexpr int kToolTipItem = 11;

    CPopupListFilter();

    // The items of a table-text set up to its first missing item: the
    // criteria and headings of an owner's filter.
    static std::vector<std::string> TableEntries(int nSet);
    // The panel's height for these entries: a row per criterion and a gap
    // per heading within a margin (criteria past the 32nd are left out).
    static int HeightFor(const std::vector<std::string>& entries);

    // Opens the panel beside a control of the calling screen: its right edge
    // 16 pixels right of the control's, its top 16 pixels above the control.
    bool ShowBesideControl(const std::vector<std::string>& entries, const CXControl* pControl, uint32_t dwMask);
    // The same with the criteria of a table-text set.
    bool ShowBesideControl(int nTextSet, const CXControl* pControl, uint32_t dwMask)
    {
        return ShowBesideControl(TableEntries(nTextSet), pControl, dwMask);
    }
    // Opens the panel hanging to the left of (x, y) of the owner.
    bool Show(const std::vector<std::string>& entries, int x, int y, uint32_t dwMask);

    uint32_t GetMask() const { return m_dwMask; }
    int GetGroupCount() const { return static_cast<int>(m_Groups.size()); }
    // The group list g (null when the group has no list).
    CXListBox* GroupList(int nGroup) const;
    // Ticks or unticks criterion n as a click on its row does.
    void ToggleCriterion(int nCriterion);

    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnGetToolTipText(uint32_t dwID, char* pszText) override;
    void ConstructScreen() override;

private:
    struct Criterion {
        std::string text;
        int nBit = 0;
    };
    // The entries split into groups; empty groups are kept for their gap.
    static std::vector<std::vector<Criterion>> SplitIntoGroups(const std::vector<std::string>& entries);
    void SetRowTick(CXListBox* pList, int nRow);

    std::vector<std::string> m_Entries;
    std::vector<std::vector<Criterion>> m_Groups;
    uint32_t m_dwMask = 0;
};

// The one list filter panel of the game.
CPopupListFilter& GetListFilterPopup();
