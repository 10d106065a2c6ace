#include "popups/CPopupNotForSale.h"

#include "popups/PopupLook.h"
#include "shell/ScreenIDs.h"

#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"

namespace {
constexpr int kCaptionItem = 34;
constexpr int kLabels = 49;
}  // namespace

CPopupNotForSale::CPopupNotForSale()
    : CDecisionPopup(SCREEN_NOT_FOR_SALE_POPUP, kCaptionItem, kLabels, 370, 255, 220, 140)
{
}

CXEdit* CPopupNotForSale::Edit(uint32_t dwID) { return dynamic_cast<CXEdit*>(FindControl(dwID)); }

void CPopupNotForSale::AddControls()
{
    m_bAdjusting = true;
    CXEdit* pPrice = AddMoneyEdit(ID_ASKING_PRICE, 90, 40, 70, 1, 99999999, 1000, 10, 909);
    CXEdit* pLeast = AddMoneyEdit(ID_LEAST_BID, 90, 74, 70, 1, 99999999, 1000, 10, 911);
    const CSaveGame* pHuman = Human();
    const SQUADENTRY* pEntry = pHuman && m_pPlayer ? pHuman->FindSquadEntry(m_pPlayer->m_idPerson) : nullptr;
    SetMoney(pPrice, m_pPlayer ? static_cast<int32_t>(m_pPlayer->m_dwAskingPrice) : 0);
    SetMoney(pLeast, pEntry ? pEntry->nValue1 : 0);
    m_bAdjusting = false;
    SetFocus(pPrice);
}

void CPopupNotForSale::OnEditChange(CXControl* pControl)
{
    CXEdit* pPrice = Edit(ID_ASKING_PRICE);
    CXEdit* pLeast = Edit(ID_LEAST_BID);
    if (m_bAdjusting || !pPrice || !pLeast)
        return;
    const int32_t nPrice = popup_look::ReadMoney(pPrice), nLeast = popup_look::ReadMoney(pLeast);
    m_bAdjusting = true;
    if (pControl == pPrice && nPrice < nLeast)
        SetMoney(pLeast, nPrice);
    else if (pControl == pLeast && nLeast > nPrice)
        SetMoney(pPrice, nLeast);
    m_bAdjusting = false;
}

bool CPopupNotForSale::Confirm()
{
    CSaveGame* pHuman = Human();
    if (!m_pPlayer)
        return true;
    m_pPlayer->m_dwAskingPrice = static_cast<uint32_t>(popup_look::ReadMoney(Edit(ID_ASKING_PRICE)));
    m_pPlayer->m_dwFlags |= kNotForSaleFlag;
    if (!pHuman)
        return true;
    SQUADENTRY* pEntry = pHuman->FindSquadEntry(m_pPlayer->m_idPerson);
    if (!pEntry)
        pEntry = pHuman->AddSquadEntry(m_pPlayer);
    if (pEntry) {
        pEntry->nValue1 = popup_look::ReadMoney(Edit(ID_LEAST_BID));
        pEntry->nValue2 = static_cast<int32_t>(Database()->GetGameDate().GetValue());
    }
    return true;
}
