#include "popups/CPopupApproachClubLoan.h"

#include "popups/OfferEdits.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CSharedBitmaps.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <algorithm>

using namespace offer_edits;

namespace {

constexpr uint16_t kScreenID = 44;
constexpr int kCaptionItem = 30;
constexpr int kLabels = 11;
constexpr int kCupTable = 44;
constexpr int kWeeksPerYear = 52;

const LISTCOLUMN kCupColumns[] = {
    {0, 150, 2, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {150, 170, 0, 0, 6, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

}  // namespace

CPopupApproachClubLoan::CPopupApproachClubLoan()
{
    m_wScreenID = kScreenID;
    SetPopupRect(270, 150, 260, 290);
}

bool CPopupApproachClubLoan::Show(CPlayerDatabase* pPlayer)
{
    if (!pPlayer)
        return false;
    m_pPlayer = pPlayer;
    return Open();
}

int32_t CPopupApproachClubLoan::WeeklySurcharges(const CPlayerDatabase& player)
{
    int32_t nSum = 0;
    for (int i = 0; i < 4; ++i)
        if ((player.m_byContractClauses >> i) & 1)
            nSum += static_cast<int32_t>(kSurchargeRates[i] * 0.01 * player.m_dwValue * (1.0 / kWeeksPerYear));
    return nSum;
}

int32_t CPopupApproachClubLoan::WeeklyWage(const CPlayerDatabase& player)
{
    auto nHundredths = static_cast<int64_t>(player.m_Contract.dwYearlyWage * (1.0 / kWeeksPerYear) * 100);
    if (nHundredths % 100 >= 50)
        nHundredths += 100;
    return static_cast<int32_t>(nHundredths / 100);
}

void CPopupApproachClubLoan::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    DrawClubColours(m_pBackground, m_pPlayer);
    popup_look::DrawLabels(m_pBackground, kLabels);
}

CXEdit* CPopupApproachClubLoan::Edit(uint32_t dwID) const { return dynamic_cast<CXEdit*>(FindControl(dwID)); }

bool CPopupApproachClubLoan::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    CDatabaseHandler* pDatabase = Database();
    CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CCountryDatabase* pCountry = pHuman ? pHuman->GetCountry() : nullptr;
    // A loan runs at most to the end of the human's season.
    int nMaximum = kMaximumWeeks;
    if (pCountry && pDatabase)
        nMaximum = std::min(nMaximum, pCountry->GetSeasonEndDate().DaysBetween(pDatabase->GetGameDate()) / 7);
    AddSpinEdit(*this, ID_WEEKS, 90, 40, 30, kMinimumWeeks, std::max(kMinimumWeeks, nMaximum), 2, 1, 909);
    popup_look::AddValueLabel(*this, ID_SURCHARGES, 90, 74, 70);
    popup_look::AddValueLabel(*this, ID_WAGE, 90, 106, 70);
    AddSpinEdit(*this, ID_CONTRIBUTION, 90, 140, 50, 1, 999999, 7, 100, 911);
    popup_look::AddValueLabel(*this, ID_TOTAL, 90, 176, 70);
    auto* pCups = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 8, 206, 178, 238, ID_CUPS, nullptr));
    if (pCups) {
        pCups->SetUp(16, 4, g_hSmallFont, 0, false, nullptr, true, nullptr, false, 0, false, false, true);
        pCups->SetUpColumns(8, 206, 178, 238, kCupColumns, false, false, 16, false);
        pCups->SetAutoRedraw(true);
    }

    SetNumber(Edit(ID_WEEKS), kMinimumWeeks);
    m_nSurcharges = m_pPlayer ? WeeklySurcharges(*m_pPlayer) : 0;
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_SURCHARGES)), m_nSurcharges, MONEY_AS_STORED);
    const int32_t nWage = m_pPlayer ? WeeklyWage(*m_pPlayer) : 0;
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_WAGE)), nWage, MONEY_AS_STORED);
    SetQuietly(Edit(ID_CONTRIBUTION), SetMoney, std::max(1, nWage));
    ShowTotal();
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    for (int nRow = 0; pCups && m_pPlayer && nRow < 2; ++nRow) {
        // Row 0 the human's domestic cups, row 1 the European ones.
        const CCountryDatabase* pCupCountry = nRow == 0 ? pCountry : nullptr;
        const bool bFree = !m_pPlayer->IsCupTiedForCup(0, pCupCountry) && !m_pPlayer->IsCupTiedForCup(1, pCupCountry);
        const char* pszText = GetTableText(kCupTable, nRow);
        pCups->AddString(kValueColour, "%s\t%s", pszText ? pszText : "", "");
        if (CXAnimation* pImage =
                pGame ? pGame->GetSharedBitmaps().GetSprite(bFree ? "icnTick.bmp" : "icnCross.bmp") : nullptr)
            pCups->AddAlignedColumnGraphic(nRow, pImage, 6, 1, true);
    }
    ShowAllControls(true);
    SetFocus(Edit(ID_WEEKS));
    return true;
}

void CPopupApproachClubLoan::ShowTotal()
{
    const int64_t nTotal = (static_cast<int64_t>(ReadMoney(Edit(ID_CONTRIBUTION))) + m_nSurcharges) *
                           ReadNumber(Edit(ID_WEEKS));
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_TOTAL)), static_cast<double>(nTotal), MONEY_AS_STORED);
}

void CPopupApproachClubLoan::OnEditChange(CXControl* pControl)
{
    CGamePopup::OnEditChange(pControl);
    ShowTotal();
}

void CPopupApproachClubLoan::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kCancelButtonID)
        Close();
    else if (dwID == kOkButtonID && IsOnStack())
        Send();
}

void CPopupApproachClubLoan::Send()
{
    CDatabaseHandler* pDatabase = Database();
    const CClubDatabase* pClub = HumanClub();
    if (!pDatabase || !pClub || !m_pPlayer) {
        Close();
        return;
    }
    const int nWeeks = std::clamp(ReadNumber(Edit(ID_WEEKS)), kMinimumWeeks, kMaximumWeeks);
    const auto dwWage = static_cast<uint32_t>(std::max(1, ReadMoney(Edit(ID_CONTRIBUTION)))) * kWeeksPerYear;
    if (pDatabase->MakeLoanOffer(m_pPlayer, 0, pClub->GetID(), static_cast<uint16_t>(nWeeks * 7), dwWage) != 0) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_LOAN_REFUSED);
        return;
    }
    m_dwResultID = kOkButtonID;
    Close();
}
