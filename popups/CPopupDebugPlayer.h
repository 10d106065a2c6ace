#pragma once
// A diagnostic list of one player's 22 attributes: the attribute's name, his
// value now and the value the generation rule gives a new player of his age.
// Its owner creates it, sets the player and opens it.
#include "shell/CGamePopup.h"

#include <cstdint>

class CPlayerDatabase;
class CXListBox;

class CPopupDebugPlayer : public CGamePopup {
public:
    enum : uint32_t { ID_LIST = 868, ID_SCROLL_BAR = 901 };
    static const char* const kAttributeNames[22];

    CPopupDebugPlayer();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    void SetPlayer(const CPlayerDatabase* pPlayer) { m_pPlayer = pPlayer; }
    void FillList();

private:
    const CPlayerDatabase* m_pPlayer = nullptr;
    CXListBox* m_pList = nullptr;
};
