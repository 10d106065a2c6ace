#pragma once
// The order in which the current human's eleven starters take the kicks of
// a penalty shoot-out: one row a line-up place, picked up and dropped on
// another row to change places with it, the row following the mouse while
// it is carried. OK keeps the order (its first kicker becomes the team's
// penalty taker); cancel leaves the team sheet as it was.
#include "shell/CGamePopup.h"
#include "shell/PlayerRowIcons.h"

#include "season/CSaveGame.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CPlayerDatabase;
class CXAnimation;
class CXListBoxEx;

class CPopupSelectPenaltyTakers : public CGamePopup {
public:
    enum : uint32_t { ID_LIST = 872 };
    enum : uint32_t { DRAG_NONE = 0, DRAG_ROW = 1 };
    static constexpr int kImageWidth = 226;
    static constexpr int kImageHeight = 16;

    CPopupSelectPenaltyTakers();
    ~CPopupSelectPenaltyTakers() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnDragInternally(uint32_t dwID, int nTargetRow, uint32_t dwSourceRow) override;
    void UserSlot24(uint32_t dwID, uint32_t x, uint32_t y) override;
    void ConstructScreen() override;

    CXListBoxEx* GetList() const;
    // The line-up place each row shows, top row first.
    std::array<uint8_t, SAVEGAME_LINEUP> GetListedOrder() const;
    uint32_t GetDragMode() const { return m_dwDragMode; }
    const CPlayerDatabase* GetDraggedPlayer() const { return m_pDragged; }
    // Where the carried row was last drawn, in display coordinates, and how
    // much of it showed; an empty rectangle when none was drawn.
    const plat::Rect& GetLastDragRect() const { return m_rcLastDrag; }

private:
    void Fill();
    void Renumber();
    void DrawDraggedRow();

    CSaveGame* m_pHuman = nullptr;
    uint32_t m_dwDragMode = DRAG_NONE;
    const CPlayerDatabase* m_pDragged = nullptr;
    int m_nDraggedRow = -1;
    plat::Point m_DragPoint{0, 0};
    plat::Rect m_rcLastDrag{0, 0, 0, 0};
    std::unique_ptr<CXSurface> m_pDragImage;
    PlayerRowIcons m_RowIcons;
};
