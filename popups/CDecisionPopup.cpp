#include "popups/CDecisionPopup.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/FormattingFunctions.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <cmath>
#include <cstdio>

CDecisionPopup::CDecisionPopup(uint16_t wScreenID, int nCaptionItem, int nLabels, int x, int y, int nWidth,
                               int nHeight)
    : m_nCaptionItem(nCaptionItem), m_nLabels(nLabels)
{
    m_wScreenID = wScreenID;
    SetPopupRect(x, y, nWidth, nHeight);
}

CDatabaseHandler* CDecisionPopup::Database()
{
    const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
    return pGame ? pGame->GetDatabase() : nullptr;
}

CSaveGame* CDecisionPopup::Human()
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

CClubDatabase* CDecisionPopup::HumanClub()
{
    CSaveGame* pHuman = Human();
    return pHuman ? pHuman->GetClub() : nullptr;
}

const CClubDatabase* CDecisionPopup::ColourClub() const { return HumanClub(); }

const CClubDatabase* CDecisionPopup::PlayerClub() const { return m_pPlayer ? m_pPlayer->m_pClub : nullptr; }

void CDecisionPopup::ConstructScreen()
{
    DrawCaptionFrame(m_nCaptionItem);
    popup_look::DrawLabels(m_pBackground, m_nLabels);
}

bool CDecisionPopup::OnInitDialog()
{
    ConstructScreen();
    popup_look::DrawClubColourBoxes(*this, ColourClub());
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    AddControls();
    ShowAllControls(true);
    return true;
}

void CDecisionPopup::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kCancelButtonID) {
        m_dwResultID = kCancelButtonID;
        Close();
    } else if (dwID == kOkButtonID && IsOnStack() && Confirm()) {
        m_dwResultID = kOkButtonID;
        Close();
    }
}

CXEdit* CDecisionPopup::AddMoneyEdit(uint32_t dwID, int x, int y, int nWidth, int nMinimum, int nMaximum, int nStep,
                                     int nChars, uint32_t dwSpinUp)
{
    CXEdit* pEdit = popup_look::AddNumberEdit(*this, dwID, x, y, nWidth, true, nChars, dwSpinUp, dwSpinUp + 1, nStep,
                                              nMinimum, nMaximum);
    if (pEdit)
        pEdit->m_nAlignment = 2;
    return pEdit;
}

CXStatic* CDecisionPopup::AddReadout(uint32_t dwID, int x, int y, int nWidth)
{
    CXStatic* pStatic = popup_look::AddValueLabel(*this, dwID, x, y, nWidth);
    if (pStatic)
        pStatic->m_byAlignment = 2;
    return pStatic;
}

void CDecisionPopup::SetMoney(CXEdit* pEdit, int32_t nAmount)
{
    if (!pEdit)
        return;
    // Written as typing would leave it: digits with the currency's separators.
    char szText[48];
    std::snprintf(szText, sizeof szText, "%s", FormatThousands(static_cast<int32_t>(std::lround(ConvertCurrency(nAmount)))));
    char cThousands = ',', cDecimal = '.';
    GetNumberSeparators(&cThousands, &cDecimal);
    for (char* p = szText; *p; ++p)
        if (*p == ',')
            *p = cThousands;
    pEdit->SetText("%s", szText);
}

int CDecisionPopup::WeeksLeft(const CPlayerDatabase& player) { return player.GetContractTimeLeft(0); }

int32_t CDecisionPopup::PayOff(const CPlayerDatabase& player)
{
    return static_cast<int32_t>(static_cast<int64_t>(WeeksLeft(player)) * (player.m_Contract.dwYearlyWage / 52));
}

void CDecisionPopup::Refuse(int nMessage) { ShowGameMessageBox(CGameMessageBox::MODE_OK, nMessage); }
