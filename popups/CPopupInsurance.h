#pragma once
// The insurance covers a club takes out on one player: each cover with what
// it pays for and its monthly premium, ticked when taken, and the monthly
// total. OK stores the covers on the player and works the club's projected
// finances out again; cancel changes nothing.
#include "shell/CGamePopup.h"

#include <cstdint>

class CPlayerDatabase;
class CXListBox;

class CPopupInsurance : public CGamePopup {
public:
    enum : uint32_t { ID_LIST = 587, ID_TICK_COLUMN = 586, ID_TOTAL = 1098 };
    static constexpr int kCovers = 4;

    CPopupInsurance();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    void SetPlayer(CPlayerDatabase* pPlayer) { m_pPlayer = pPlayer; }
    uint32_t GetCovers() const { return m_dwCovers; }
    int32_t GetTotal() const { return m_nTotal; }
    // Takes the cover out or drops it, as a click on its tick does.
    void ToggleCover(int nCover);

private:
    CXListBox* List();
    void ShowTotal();
    void SetRowMark(int nRow);

    CPlayerDatabase* m_pPlayer = nullptr;
    uint32_t m_dwCovers = 0;
    int32_t m_nTotal = 0;
};
