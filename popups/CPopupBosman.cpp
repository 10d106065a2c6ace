#include "popups/CPopupBosman.h"

#include "popups/PopupLook.h"
#include "shell/ScreenIDs.h"

#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXEdit.h"

namespace {
constexpr int kCaptionItem = 36;
constexpr int kLabels = 14;
}  // namespace

CPopupBosman::CPopupBosman() : CDecisionPopup(SCREEN_BOSMAN_POPUP, kCaptionItem, kLabels, 355, 255, 250, 140) {}

const CClubDatabase* CPopupBosman::ColourClub() const { return PlayerClub(); }

int32_t CPopupBosman::StartingFee(const CPlayerDatabase& player)
{
    // Single precision on purpose: 84 x 1000 at 25 comes to 104,999 before
    // the rounding.
    const int nPoints = player.m_awAttributes[PLAYER_ATTRIBUTE_REPUTATION] / 100;
    const float fAgeFactor = 1.0f + 0.01f * static_cast<float>(player.GetAge());
    return CDatabaseHandler::RoundMoneyValue(static_cast<int32_t>(static_cast<float>(nPoints * 1000) * fAgeFactor));
}

void CPopupBosman::AddControls()
{
    CXEdit* pFee = AddMoneyEdit(ID_FEE, 90, 40, 60, 1, 99999999, 1000, 10, 909);
    SetMoney(pFee, m_pPlayer ? StartingFee(*m_pPlayer) : 0);
    SetFocus(pFee);
}

bool CPopupBosman::Confirm()
{
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase || !m_pPlayer)
        return true;
    const uint32_t adwTerms[PLAYER_TRANSFER_BLOCK_WORDS] = {};
    const int32_t nFee = popup_look::ReadMoney(dynamic_cast<CXEdit*>(FindControl(ID_FEE)));
    if (pDatabase->MakeBuyOfferToClub(m_pPlayer, HumanClub(), nFee, adwTerms, 0, 0) != 0) {
        Refuse(MESSAGE_BID_REFUSED);
        return false;
    }
    return true;
}
