#include "popups/CPopupLoanApplication.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"
#include "xframework/CXStatic.h"

#include <tuple>

namespace {

constexpr int kCaptionItem = 20;
constexpr int kLabels = 27;
constexpr int32_t kFirstAmount = 10000;
constexpr int kFirstPayments = 6;

}  // namespace

CPopupLoanApplication::CPopupLoanApplication()
{
    m_wScreenID = SCREEN_LOAN_APPLICATION_POPUP;
    SetPopupRect(170, 120, 330, 310);
}

void CPopupLoanApplication::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
    popup_look::DrawClubColourBoxes(*this);
}

CXEdit* CPopupLoanApplication::Edit(uint32_t dwID) const { return dynamic_cast<CXEdit*>(FindControl(dwID)); }

uint8_t CPopupLoanApplication::ApplicationStatus(int32_t nAmount, int nPayments, int32_t nRunningLoan,
                                                 int nRunningPayments)
{
    if (nAmount != 0)
        return nRunningLoan == 0 ? STATUS_NEW : STATUS_FURTHER;
    if (nRunningLoan != 0 && nPayments != nRunningPayments)
        return STATUS_PAYMENTS;
    return STATUS_NONE;
}

bool CPopupLoanApplication::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    AddCloseButton(true, false);
    using popup_look::AddValueLabel;
    for (const auto& [dwID, x, y, nWidth] :
         {std::tuple{ID_AVAILABLE, 80, 40, 85}, {ID_RATE, 240, 40, 80}, {ID_CHARGE, 80, 74, 85},
          {ID_RUNNING_AMOUNT, 80, 108, 85}, {ID_RUNNING_PAYMENTS, 240, 108, 80}, {ID_PRINCIPAL, 80, 176, 85},
          {ID_PRINCIPAL_PAYMENTS, 240, 176, 80}, {ID_INTEREST, 80, 210, 85}, {ID_TOTAL, 80, 244, 85},
          {ID_INSTALMENT, 240, 244, 80}})
        AddValueLabel(*this, dwID, x, y, nWidth);
    CXEdit* pAmount = popup_look::AddNumberEdit(*this, ID_AMOUNT, 80, 142, 65, true, 10, ID_AMOUNT_UP,
                                                ID_AMOUNT_DOWN, 1000, 1, 99999999);
    CXEdit* pPayments = popup_look::AddNumberEdit(*this, ID_PAYMENTS, 240, 142, 30, false, 2, ID_PAYMENTS_UP,
                                                  ID_PAYMENTS_DOWN, 1, 6, 99);

    const CSaveGame* pHuman = popup_look::CurrentHuman();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    m_dRate = 0.0;
    // The bank's charge by club level is nothing at every level.
    m_nCharge = 0;
    m_nAvailable = pClub ? pClub->GetAvailableLoan(&m_dRate, nullptr) : 0;
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_AVAILABLE)), m_nAvailable, MONEY_AS_STORED);
    if (auto* p = dynamic_cast<CXStatic*>(FindControl(ID_RATE)))
        p->SetText("%.02f%%", m_dRate);
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_CHARGE)), m_nCharge, MONEY_AS_STORED);
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_RUNNING_AMOUNT)), pClub ? pClub->m_nLoan : 0,
                 MONEY_AS_STORED);
    if (auto* p = dynamic_cast<CXStatic*>(FindControl(ID_RUNNING_PAYMENTS)))
        p->SetText("%d", pClub ? pClub->m_byLoanByte : 0);
    // A pending application reopens with its own figures.
    const int32_t nAmount = pHuman && pHuman->m_nLoanRequest ? pHuman->m_nLoanRequest : kFirstAmount;
    const int nPayments = pHuman && pHuman->m_byLoanTerm ? pHuman->m_byLoanTerm : kFirstPayments;
    if (pAmount)
        pAmount->SetText("%d", nAmount);
    if (pPayments)
        pPayments->SetText("%d", nPayments);
    OnEditChange(pAmount);
    ShowAllControls(true);
    return true;
}

void CPopupLoanApplication::OnEditChange(CXControl* /*pControl*/)
{
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    const CXEdit* pAmount = Edit(ID_AMOUNT);
    const CXEdit* pPayments = Edit(ID_PAYMENTS);
    const int64_t nPrincipal = static_cast<int64_t>(popup_look::ReadMoney(pAmount)) + (pClub ? pClub->m_nLoan : 0);
    const int nPayments = pPayments ? pPayments->ReadNumber() : 0;
    if (nPrincipal == 0 || nPayments <= 0)
        return;
    // The rate is carried as the single-precision hundredth times the
    // percentage, as the bank works it out.
    const double dRate = m_dRate * static_cast<double>(0.01f);
    const auto nTotal = static_cast<int64_t>(CClubDatabase::GetLoanTotal(static_cast<double>(nPrincipal), dRate, nPayments));
    m_nInstalment = static_cast<int32_t>(
        CClubDatabase::GetLoanRepayment(static_cast<double>(nPrincipal), dRate, nPayments));
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_PRINCIPAL)), static_cast<double>(nPrincipal), MONEY_AS_STORED);
    if (auto* p = dynamic_cast<CXStatic*>(FindControl(ID_PRINCIPAL_PAYMENTS)))
        p->SetText("%d", nPayments);
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_INTEREST)), static_cast<double>(nTotal - nPrincipal),
                 MONEY_AS_STORED);
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_INSTALMENT)), m_nInstalment, MONEY_AS_STORED);
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_TOTAL)), static_cast<double>(nTotal), MONEY_AS_STORED);
}

void CPopupLoanApplication::OnClicked(uint32_t dwID)
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
    const CXEdit* pPayments = Edit(ID_PAYMENTS);
    const int32_t nAmount = popup_look::ReadMoney(Edit(ID_AMOUNT));
    const int nPayments = pPayments ? pPayments->ReadNumber() : 0;
    const uint8_t byStatus =
        ApplicationStatus(nAmount, nPayments, pClub ? pClub->m_nLoan : 0, pClub ? pClub->m_byLoanByte : 0);
    if (pHuman && byStatus != STATUS_NONE) {
        pHuman->m_byLoanKind = byStatus;
        pHuman->m_nLoanRequest = nAmount;
        pHuman->m_nLoanRequest2 = m_nInstalment;
        pHuman->m_byLoanTerm = static_cast<uint8_t>(nPayments);
        pHuman->m_nLoanFee = m_nCharge;
        pHuman->m_wLoanInterest = static_cast<uint16_t>(m_dRate * 100.0);
    }
    m_dwResultID = kOkButtonID;
    Close();
}
