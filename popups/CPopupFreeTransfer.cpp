#include "popups/CPopupFreeTransfer.h"

#include "popups/PopupLook.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXStatic.h"

namespace {
constexpr int kCaptionItem = 33;
constexpr int kLabels = 19;
}  // namespace

CPopupFreeTransfer::CPopupFreeTransfer()
    : CDecisionPopup(SCREEN_FREE_TRANSFER_POPUP, kCaptionItem, kLabels, 370, 255, 220, 140)
{
}

const CClubDatabase* CPopupFreeTransfer::ColourClub() const { return PlayerClub(); }

void CPopupFreeTransfer::AddControls()
{
    CXStatic* pWeeks = AddReadout(ID_WEEKS_LEFT, 100, 40, 50);
    CXStatic* pPayOff = AddReadout(ID_PAY_OFF, 100, 74, 70);
    if (!m_pPlayer)
        return;
    if (pWeeks)
        pWeeks->SetText("%d", WeeksLeft(*m_pPlayer));
    SetMoneyText(pPayOff, PayOff(*m_pPlayer), MONEY_AS_STORED);
}

bool CPopupFreeTransfer::Confirm()
{
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase || !m_pPlayer)
        return true;
    // Listed first: a player who cannot go on the list is not paid off.
    if (pDatabase->AddPlayerToListMarket(m_pPlayer, 0, PLAYER_TRANSFER_LEAVING, 0) != 0) {
        Refuse(MESSAGE_ALREADY_LISTED);
        return false;
    }
    if (m_pPlayer->m_pClub)
        m_pPlayer->m_pClub->AddPendingPayment(m_pPlayer, PayOff(*m_pPlayer), 0);
    return true;
}
