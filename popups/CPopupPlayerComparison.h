#pragma once
// Up to four players side by side: rows dragged from the human club's squad
// or his shortlist onto a row of the comparison list take that row's place,
// and a bar graph shows the nine skills of everyone compared. Nothing in the
// world changes.
#include "shell/CGamePopup.h"
#include "shell/PlayerRowIcons.h"

#include <array>
#include <cstdint>
#include <memory>

class CPlayerDatabase;
class CXGraph;
class CXListBoxEx;

class CPopupPlayerComparison : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 67;
    enum : uint32_t {
        ID_SHORTLIST = 653,
        ID_SQUAD = 654,
        ID_COMPARED = 655,
        ID_GRAPH = 1046,
    };
    enum : uint32_t { DRAG_NONE = 0, DRAG_ROW = 1 };
    static constexpr int kCompared = 4;
    static constexpr int kSkills = 9;
    static constexpr int kImageWidth = 230;
    static constexpr int kImageHeight = 16;

    CPopupPlayerComparison();
    ~CPopupPlayerComparison() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDragInternally(uint32_t dwID, int nTargetRow, uint32_t dwSourceRow) override;
    void OnDragNotify(uint32_t dwSourceID, uint32_t dwTargetID, uint32_t dwTargetRow, uint32_t dwSourceRow) override;
    void UserSlot24(uint32_t dwID, uint32_t x, uint32_t y) override;
    void ConstructScreen() override;

    CXListBoxEx* GetList(uint32_t dwID) const;
    CXGraph* GetGraph() const;
    // The compared players, top row first (null where a row is empty).
    std::array<const CPlayerDatabase*, kCompared> GetCompared() const { return m_apCompared; }
    // A player's nine skills as the graph shows them, 0-99.
    static std::array<int, kSkills> GraphSkills(const CPlayerDatabase& player);
    uint32_t GetDragMode() const { return m_dwDragMode; }
    uint32_t GetCurrentSourceList() const { return m_dwCurrentSource; }

private:
    struct ROW {
        const CPlayerDatabase* pPlayer = nullptr;
        COLORREF crText = 0;
    };
    CXListBoxEx* AddPlayerList(uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom);
    void AddRow(CXListBoxEx& list, const ROW& row);
    const CPlayerDatabase* RowPlayer(uint32_t dwList, int nRow) const;
    void FillSourceLists();
    void FillComparedList();
    void RebuildGraph();
    void DrawLegend();
    void DrawDraggedRow();

    uint32_t m_dwDragMode = DRAG_NONE;
    const CPlayerDatabase* m_pDragged = nullptr;
    uint32_t m_dwDragList = 0;
    int m_nDraggedRow = -1;
    uint32_t m_dwCurrentSource = ID_SQUAD;
    plat::Point m_DragPoint{0, 0};
    std::array<const CPlayerDatabase*, kCompared> m_apCompared{};
    std::array<COLORREF, kCompared> m_acrCompared{};
    int m_nComparedRows = 0;
    std::unique_ptr<CXSurface> m_pDragImage;
    PlayerRowIcons m_RowIcons;
};
