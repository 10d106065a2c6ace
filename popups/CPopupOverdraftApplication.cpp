#include "popups/CPopupOverdraftApplication.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"
#include "xframework/CXStatic.h"

#include <cstdlib>

namespace {

constexpr int kCaptionItem = 25;
constexpr int kLabels = 33;
constexpr int32_t kFirstAmount = 10000;
constexpr int kFirstTerm = 3;

// The club keeps its overdraft as a negative limit.
int32_t RunningLimit(const CClubDatabase* pClub) { return pClub ? std::abs(pClub->m_nOverdraft) : 0; }

// The bank keeps the periods left of a running overdraft, not its term.
int RunningTerm(const CClubDatabase* pClub) { return pClub ? pClub->m_byOverdraftRunsLeft : 0; }

}  // namespace

CPopupOverdraftApplication::CPopupOverdraftApplication()
{
    m_wScreenID = SCREEN_OVERDRAFT_APPLICATION_POPUP;
    SetPopupRect(170, 150, 330, 240);
}

void CPopupOverdraftApplication::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
    popup_look::DrawClubColourBoxes(*this);
}

CXEdit* CPopupOverdraftApplication::Edit(uint32_t dwID) const { return dynamic_cast<CXEdit*>(FindControl(dwID)); }

uint8_t CPopupOverdraftApplication::ApplicationStatus(int32_t nAmount, int nTerm, int32_t nRunningAmount,
                                                      int nRunningTerm)
{
    if (nRunningAmount == 0 && nAmount != 0)
        return STATUS_NEW;
    if (nAmount == nRunningAmount && nTerm == nRunningTerm)
        return STATUS_NONE;
    return STATUS_CHANGE;
}

bool CPopupOverdraftApplication::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    AddCloseButton(true, false);
    using popup_look::AddValueLabel;
    CXStatic* pExcessRate = AddValueLabel(*this, ID_EXCESS_RATE, 80, 40, 85);
    CXStatic* pRate = AddValueLabel(*this, ID_RATE, 240, 40, 80);
    CXStatic* pAvailable = AddValueLabel(*this, ID_AVAILABLE, 80, 74, 85);
    CXStatic* pFee = AddValueLabel(*this, ID_FEE, 240, 74, 80);
    CXStatic* pRunning = AddValueLabel(*this, ID_RUNNING_AMOUNT, 80, 108, 85);
    CXStatic* pRunningTerm = AddValueLabel(*this, ID_RUNNING_TERM, 240, 108, 80);
    CXEdit* pAmount = popup_look::AddNumberEdit(*this, ID_AMOUNT, 80, 142, 65, true, 10, ID_AMOUNT_UP,
                                                ID_AMOUNT_DOWN, 1000, 1, 99999999);
    CXEdit* pTerm =
        popup_look::AddNumberEdit(*this, ID_TERM, 240, 142, 30, false, 2, ID_TERM_UP, ID_TERM_DOWN, 1, 3, 99);

    const CSaveGame* pHuman = popup_look::CurrentHuman();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    double dRate = 0.0, dExcessRate = 0.0;
    const int32_t nAvailable = pClub ? pClub->GetAvailableOverdraft(&dRate, &dExcessRate) : 0;
    if (pRate)
        pRate->SetText("%.02f%%", dRate);
    if (pExcessRate)
        pExcessRate->SetText("%.02f%%", dExcessRate);
    SetMoneyText(pFee, kArrangementFee, MONEY_AS_STORED);
    SetMoneyText(pAvailable, nAvailable, MONEY_AS_STORED);
    SetMoneyText(pRunning, RunningLimit(pClub), MONEY_AS_STORED);
    if (pRunningTerm)
        pRunningTerm->SetText("%d", RunningTerm(pClub));
    // A pending application reopens with its own figures.
    if (pAmount)
        pAmount->SetText("%d", pHuman && pHuman->m_nOverdraftRequest ? pHuman->m_nOverdraftRequest : kFirstAmount);
    if (pTerm)
        pTerm->SetText("%d", pHuman && pHuman->m_byOverdraftTerm ? pHuman->m_byOverdraftTerm : kFirstTerm);
    ShowAllControls(true);
    return true;
}

void CPopupOverdraftApplication::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kCancelButtonID) {
        Close();
        return;
    }
    if (dwID != kOkButtonID || !IsOnStack())
        return;
    CSaveGame* pHuman = popup_look::CurrentHuman();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    const CXEdit* pTerm = Edit(ID_TERM);
    const int32_t nAmount = popup_look::ReadMoney(Edit(ID_AMOUNT));
    const int nTerm = pTerm ? pTerm->ReadNumber() : 0;
    const uint8_t byStatus = ApplicationStatus(nAmount, nTerm, RunningLimit(pClub), RunningTerm(pClub));
    if (pHuman && byStatus != STATUS_NONE) {
        pHuman->m_byOverdraftKind = byStatus;
        pHuman->m_nOverdraftRequest = nAmount;
        pHuman->m_byOverdraftTerm = static_cast<uint8_t>(nTerm);
        pHuman->m_nOverdraftFee = kArrangementFee;
    }
    m_dwResultID = kOkButtonID;
    Close();
}
