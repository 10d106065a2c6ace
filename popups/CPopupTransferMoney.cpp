#include "popups/CPopupTransferMoney.h"

#include "popups/PopupLook.h"
#include "shell/ScreenIDs.h"

#include "xframework/CXEdit.h"

namespace {

constexpr int kCaptionItem = 39;
constexpr int kLabels = 46;

}  // namespace

CPopupTransferMoney::CPopupTransferMoney()
{
    m_wScreenID = SCREEN_TRANSFER_MONEY_POPUP;
    SetPopupRect(355, 255, 250, 140);
}

void CPopupTransferMoney::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
    popup_look::DrawClubColourBoxes(*this);
}

bool CPopupTransferMoney::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    AddCloseButton(true, false);
    // Every opening starts again from 1, whatever was typed before.
    if (CXEdit* pAmount = popup_look::AddNumberEdit(*this, ID_AMOUNT, 90, 40, 70, true, 11, ID_AMOUNT_UP,
                                                    ID_AMOUNT_DOWN, 1000, 1, 999999999)) {
        pAmount->SetText("1");
        SetFocus(pAmount);
    }
    ShowAllControls(true);
    return true;
}

void CPopupTransferMoney::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kCancelButtonID) {
        Close();
        return;
    }
    if (dwID != kOkButtonID || !IsOnStack())
        return;
    m_nAmount = popup_look::ReadMoney(dynamic_cast<const CXEdit*>(FindControl(ID_AMOUNT)));
    m_dwResultID = kOkButtonID;
    Close();
}
