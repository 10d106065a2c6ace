#include "popups/CPopupSackPlayer.h"

#include "popups/PopupLook.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CPlayerDatabase.h"
#include "xframework/CXEdit.h"
#include "xframework/CXStatic.h"

namespace {
constexpr int kCaptionItem = 35;
constexpr int kLabels = 40;
}  // namespace

CPopupSackPlayer::CPopupSackPlayer()
    : CDecisionPopup(SCREEN_SACK_PLAYER_POPUP, kCaptionItem, kLabels, 370, 225, 220, 200)
{
}

void CPopupSackPlayer::AddControls()
{
    CXStatic* pWeeks = AddReadout(ID_WEEKS_LEFT, 100, 40, 50);
    CXStatic* pPayOff = AddReadout(ID_PAY_OFF, 100, 74, 70);
    CXEdit* pOffered = AddMoneyEdit(ID_OFFERED, 100, 108, 60, 0, 99999999, 1000, 10, 909);
    m_nOffered = m_pPlayer ? PayOff(*m_pPlayer) : 0;
    if (m_pPlayer && pWeeks)
        pWeeks->SetText("%d", WeeksLeft(*m_pPlayer));
    SetMoneyText(pPayOff, m_nOffered, MONEY_AS_STORED);
    SetMoney(pOffered, m_nOffered);
    SetFocus(pOffered);
}

bool CPopupSackPlayer::Confirm()
{
    m_nOffered = popup_look::ReadMoney(dynamic_cast<CXEdit*>(FindControl(ID_OFFERED)));
    return true;
}
