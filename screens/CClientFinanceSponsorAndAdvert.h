#pragma once
// The sponsor screen (screen 33): the human club's main sponsor, second
// sponsor and the advertisers of six board places. For the place chosen on
// the shirts or the board picture, the sponsor running now, the ones signed
// to follow and the offers of that kind; an offer dragged below the signed
// rows signs it, a signed one dragged back to the offers cancels it, and one
// dropped onto a row of the other list swaps the two. Every change reaches
// the sponsor manager at once and can be undone step by step or all at
// once; the commercial manager can fill the empty places instead.
#include "shell/CGameClient.h"

#include "screens/SponsorScreenParts.h"

#include <cstdint>
#include <memory>
#include <vector>

class CSaveGame;
class CSponsorManager;
class CXListBoxEx;
class CXSurface;
struct SPONSOR;

class CClientFinanceSponsorAndAdvert : public CGameClient {
public:
    enum : uint32_t {
        ID_RUNNING = 361,
        ID_SIGNED = 362,
        ID_OFFERS = 363,
        ID_MAIN = 364,
        ID_SECOND = 365,
        ID_FIRST_BOARD = 366,
        ID_LAST_BOARD = 371,
        ID_AUTOMATIC = 372,
        ID_SCROLLBAR = 901,
        ID_UNDO = 1170,
        ID_UNDO_ALL = 1171,
        ID_CONFIRM = 884,
    };
    enum { MESSAGE_AUTOMATIC = 170, MESSAGE_UNDO_ALL = 43 };
    enum : uint8_t { UNDO_MODE = 0, UNDO_MOVE = 1, UNDO_SWAP = 2 };
    static constexpr int kRowHeight = 34;
    static constexpr uint8_t kDelegateSponsors = 4;

    CClientFinanceSponsorAndAdvert();
    ~CClientFinanceSponsorAndAdvert() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnDragNotify(uint32_t dwSourceID, uint32_t dwTargetID, uint32_t dwTargetRow, uint32_t dwSourceRow) override;
    void UserSlot24(uint32_t dwID, uint32_t x, uint32_t y) override;
    void OnEndMessageBoxPopup() override;
    void ConstructScreen() override;

    // The place being edited: its button (364-371), the sponsor kind it takes
    // (0 main, 1 second, 2 board) and the board place (0-5).
    void DoModeChange(uint32_t dwButton, bool bRecord);
    void MoveSponsor(uint32_t dwSource, uint32_t dwTarget, SPONSOR* pSponsor, bool bRecord);
    void SwapSponsors(uint32_t dwFirst, uint32_t dwSecond, int nFirstRow, int nSecondRow, bool bRecord);
    void UndoLast();
    void UndoAll();
    // With bTurnOff the commercial manager stops filling the places; while
    // he fills them the places are filled now and the undo history is gone.
    void UpdateAutoButton(bool bTurnOff);

    uint32_t GetModeButton() const { return m_dwModeButton; }
    int GetEditMode() const { return m_nEditMode; }
    int GetBoardSlot() const { return m_nBoardSlot; }
    size_t GetUndoCount() const { return m_Undo.size(); }
    CXListBoxEx* GetList(uint32_t dwID) const;
    // The sponsor a row stands for; null for no row or a record the manager
    // no longer holds.
    SPONSOR* GetRowSponsor(uint32_t dwList, int nRow) const;
    // The pulsing frame's widening at a time: 3, 2, 1, 0, 1, 2 over 720 ms.
    static int PulseWidth(uint32_t dwMilliseconds);

private:
    struct UNDOENTRY {
        uint8_t byKind;
        uint32_t dwValue;  // the previous button, or the two rows of a swap
        SPONSOR* pSponsor;
        uint32_t dwFirst, dwSecond;
    };

    CSponsorManager* Sponsors() const;
    bool IsShowingCurrentHuman() const;
    bool Holds(const SPONSOR* pSponsor) const;
    void FillRunningList();
    void FillSignedList();
    void FillOfferList();
    void BeginFill(CXListBoxEx* pList);
    void EndFill(CXListBoxEx* pList);
    void AddSponsorRow(CXListBoxEx* pList, SPONSOR* pSponsor);
    void SetRowSponsor(CXListBoxEx* pList, int nRow, SPONSOR* pSponsor);
    int SignedPlaces() const;
    void PushUndo(uint8_t byKind, uint32_t dwValue, SPONSOR* pSponsor, uint32_t dwFirst, uint32_t dwSecond,
                  bool bAutoOff);
    void ClearUndo();
    void DrawShirt(CXSurface* pTarget, int nPattern, int x, int y, COLORREF crFirst, COLORREF crSecond);
    void DrawModeFrame();
    void DrawDragImage(int x, int y);

    CSaveGame* m_pHuman = nullptr;
    uint32_t m_dwModeButton = ID_MAIN;
    int m_nEditMode = 0;
    int m_nBoardSlot = 0;
    int m_nDragMode = 0;
    SPONSOR* m_pDragSponsor = nullptr;
    int m_nMouseX = 0, m_nMouseY = 0;
    std::vector<UNDOENTRY> m_Undo;
    // The row item data: an index into this table of the sponsors shown
    // since the screen opened (item data cannot hold a pointer).
    std::vector<SPONSOR*> m_apRowSponsors;
    sponsor_parts::Logos m_Logos;
    std::unique_ptr<CXSurface> m_pShirts, m_pShirtMask, m_pPlaces, m_pSmallMark, m_pLargeMark;
    std::unique_ptr<CXSurface> m_pDragSurface;
};

CClientFinanceSponsorAndAdvert& GetFinanceSponsorAndAdvertScreen();
