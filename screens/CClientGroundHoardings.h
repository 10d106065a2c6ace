#pragma once
// The ground hoardings screen (screen 37): a plan of the human's ground with
// its 42 board places round the pitch, each coloured by how far its
// advertiser's boards are placed; the season's advertisers (boards wanted
// and placed) and the running contracts listed beside it. An advertiser
// dragged onto a free place gets a board there, a board dragged off the plan
// is taken away; changes are undone step by step or all at once, the
// commercial manager can place the boards instead, and a graph shows what
// the boards earned week by week over the last year. Boards whose
// advertiser has fewer than he asks for at least come down when the screen
// is left.
#include "shell/CGameClient.h"

#include "screens/SponsorScreenParts.h"
#include "season/CHoardingsManager.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CSaveGame;
class CXGraph;
class CXListBox;
class CXSurface;

class CClientGroundHoardings : public CGameClient {
public:
    enum : uint32_t {
        ID_AUTOMATIC = 408,
        ID_UNDO = 409,
        ID_UNDO_ALL = 410,
        ID_CONTRACTS = 411,
        ID_ADVERTISERS = 412,
        ID_GRAPH = 413,
        ID_SHOW_INCOME = 414,
        ID_SHOW_BOARDS = 415,
        ID_ADVERTISERS_BAR = 901,
        ID_CONTRACTS_BAR = 902,
        ID_CONFIRM = 884,
    };
    enum { MESSAGE_UNDO_ALL = 15, MESSAGE_AUTOMATIC = 16 };
    enum { LINE_INCOME = 0, LINE_BOARDS = 1 };
    enum : uint8_t { UNDO_PLACED = 0, UNDO_REMOVED = 1 };
    static constexpr int kPlaces = CHoardingsManager::BOARDS;
    static constexpr int kPlanX = 344, kPlanY = 260, kPlanWidth = 280, kPlanHeight = 202;
    static constexpr int kWeeks = 52;
    static constexpr uint8_t kDelegateHoardings = 5;
    // Status colours of a place (0x00BBGGRR).
    static constexpr COLORREF kEmpty = 0xFFFFFF, kTooFew = 0x0000FF, kSome = 0x0096FF, kAll = 0x00FF00;

    CClientGroundHoardings();
    ~CClientGroundHoardings() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void UserSlot24(uint32_t dwID, uint32_t x, uint32_t y) override;
    void OnEndMessageBoxPopup() override;
    void ConstructScreen() override;
    void OnPrint() override;

    // Place k's direction (0-3) and index in it, and its rectangle in
    // screen coordinates.
    static int PlaceDirection(int nPlace);
    static int PlaceIndex(int nPlace);
    static plat::Rect PlaceRect(int nPlace);
    // The place at a point of the screen, -1 for none (off the ring of
    // boards, or a corner of it).
    static int HitTestPlace(int x, int y);
    static bool InRing(int x, int y);
    // The colour of a place holding a board of the advertiser (null: empty).
    static COLORREF StatusColour(const ADVERTISER* pAdvertiser);

    // A board of the advertiser at the place under the point: false when the
    // place is taken or locked, the advertiser takes no board on that side
    // or has all he wants.
    bool PlaceBoard(int x, int y, ADVERTISER* pAdvertiser, bool bRecord);
    // The advertiser's board at the place under the point taken away.
    bool RemoveBoard(int x, int y, ADVERTISER* pAdvertiser, bool bRecord);
    void UndoLast();
    void UndoAll();
    void UpdateAutoButton(bool bTurnOff);
    // Takes away the boards of advertisers below their least count (with
    // bKeepComplete) or every board that is not locked.
    void ClearPlaces(bool bKeepComplete);

    ADVERTISER* GetSelected() const { return m_pSelected; }
    size_t GetUndoCount() const { return m_Undo.size(); }
    const HOARDING& GetPlace(int nPlace) const { return m_aPlaces[static_cast<size_t>(nPlace)]; }
    CXGraph* GetGraph() const { return m_pGraph; }
    // The advertiser of a list row (item data: his id), null for none.
    ADVERTISER* GetRowAdvertiser(uint32_t dwList, int nRow);

private:
    struct UNDOENTRY {
        uint8_t byKind;
        uint8_t byAdvertiser;
        int16_t x, y;
    };

    CHoardingsManager* Hoardings() const;
    bool IsShowingCurrentHuman() const;
    void ReadPlaces();
    void WritePlaces();
    void RefreshAdvertiserTable();
    ADVERTISER* Advertiser(int nId) const;
    void DrawPlan();
    void RedrawPlan(const ADVERTISER* pAdvertiser);
    void FillAdvertiserList();
    void FillDatedList();
    void UpdateAdvertiserRow(const ADVERTISER* pAdvertiser);
    bool SelectAdvertiserRow(const ADVERTISER* pAdvertiser);
    void PushUndo(uint8_t byKind, const ADVERTISER* pAdvertiser, int nPlace);
    void ClearUndo();
    void FillHistoryGraph();
    void Leave();

    CSaveGame* m_pHuman = nullptr;
    std::array<HOARDING, kPlaces> m_aPlaces{};
    std::array<ADVERTISER*, sponsor_parts::Logos::kCount> m_apAdvertiser{};
    ADVERTISER* m_pSelected = nullptr;
    int m_nDragMode = 0;
    int m_nPressX = 0, m_nPressY = 0;
    int m_nMouseX = 0, m_nMouseY = 0;
    std::vector<UNDOENTRY> m_Undo;
    sponsor_parts::Logos m_Logos;
    std::unique_ptr<CXSurface> m_pPitch;
    CXGraph* m_pGraph = nullptr;
};

CClientGroundHoardings& GetGroundHoardingsScreen();
