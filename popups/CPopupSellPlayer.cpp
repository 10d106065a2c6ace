#include "popups/CPopupSellPlayer.h"

#include "popups/PopupLook.h"
#include "shell/ScreenIDs.h"

#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXEdit.h"

namespace {
constexpr int kCaptionItem = 31;
constexpr int kLabels = 43;
// The human's listing stays until he takes the player off the list.
constexpr uint16_t kListedWithoutLimit = 65535;
}  // namespace

CPopupSellPlayer::CPopupSellPlayer()
    : CDecisionPopup(SCREEN_SELL_PLAYER_POPUP, kCaptionItem, kLabels, 370, 255, 220, 140)
{
}

void CPopupSellPlayer::AddControls()
{
    CXEdit* pPrice = AddMoneyEdit(ID_ASKING_PRICE, 90, 40, 70, 1, 99999999, 1000, 10, 909);
    SetMoney(pPrice, m_pPlayer ? static_cast<int32_t>(m_pPlayer->m_dwAskingPrice) : 0);
    SetFocus(pPrice);
}

bool CPopupSellPlayer::Confirm()
{
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase || !m_pPlayer)
        return true;
    if (m_pPlayer->m_byTransferState != 0) {
        Refuse(MESSAGE_ALREADY_LISTED);
        return false;
    }
    const auto dwPrice = static_cast<uint32_t>(popup_look::ReadMoney(dynamic_cast<CXEdit*>(FindControl(ID_ASKING_PRICE))));
    m_pPlayer->m_dwAskingPrice = dwPrice;
    pDatabase->AddPlayerToListMarket(m_pPlayer, dwPrice, PLAYER_TRANSFER_LISTED, kListedWithoutLimit);
    return true;
}
