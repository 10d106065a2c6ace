#include "popups/CPopupPlayerNegotiation.h"

#include "popups/OfferEdits.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CSharedBitmaps.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"

#include "common/DebugLog.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <cmath>
#include <iterator>

using namespace offer_edits;

namespace {

constexpr uint16_t kScreenID = 69;
constexpr int kCaptionItem = 23;
constexpr int kLabels = 35;
constexpr int kClauseTable = 119;
constexpr int kAllowance1Table = 137;
constexpr int kAllowance2Table = 136;
constexpr int kNotApplicableTable = 114;
constexpr int kNotApplicableItem = 6;
constexpr int kWeeksPerYear = 52;
constexpr int kMonthsPerYear = 12;
constexpr int kMaximumMoney = 9999999;

// The tick column (control id 665 of the clause list).
constexpr int kTickColumn = 1;

// The bonus amounts of words 4-10 in the edits' order of the contract, and
// the clause bit that makes each count (slot i belongs to bit 0x08 << i).
constexpr uint32_t kBonusEdits[PLAYER_CONTRACT_BONUSES] = {
    CPopupPlayerNegotiation::ID_AMOUNT_A,    CPopupPlayerNegotiation::ID_AMOUNT_B,
    CPopupPlayerNegotiation::ID_AMOUNT_C,    CPopupPlayerNegotiation::ID_CONDITION_2,
    CPopupPlayerNegotiation::ID_AMOUNT_D,    CPopupPlayerNegotiation::ID_CONDITION_3,
    CPopupPlayerNegotiation::ID_CONDITION_1,
};
constexpr uint16_t kFirstBonusBit = 0x08;

const LISTCOLUMN kClauseColumns[] = {
    {0, 140, 2, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {140, 160, 0, 0, 6, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kAllowanceColumns[] = {
    {0, 78, 2, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {78, 130, 2, 0, 2, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

const char* NotApplicable()
{
    const char* psz = GetTableText(kNotApplicableTable, kNotApplicableItem);
    return psz ? psz : "-";
}

CXAnimation* Sprite(const char* pszName)
{
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetSharedBitmaps().GetSprite(pszName) : nullptr;
}

}  // namespace

CPopupPlayerNegotiation::CPopupPlayerNegotiation()
{
    m_wScreenID = kScreenID;
    SetPopupRect(220, 78, 360, 444);
}

bool CPopupPlayerNegotiation::Show(CPlayerDatabase* pPlayer)
{
    if (!pPlayer)
        return false;
    m_pPlayer = pPlayer;
    return Open();
}

void CPopupPlayerNegotiation::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    DrawClubColours(m_pBackground, m_pPlayer);
    popup_look::DrawLabels(m_pBackground, kLabels);
}

CXEdit* CPopupPlayerNegotiation::Edit(uint32_t dwID) const { return dynamic_cast<CXEdit*>(FindControl(dwID)); }

bool CPopupPlayerNegotiation::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    CDatabaseHandler* pDatabase = Database();
    const CClubDatabase* pClub = HumanClub();
    // A player without a club is as free as one listed on a free transfer.
    m_bOwnOrFree = m_pPlayer && ((pClub && m_pPlayer->m_pClub == pClub) || !m_pPlayer->m_pClub ||
                                 m_pPlayer->m_byTransferState == PLAYER_TRANSFER_LEAVING);
    m_bShowFeeShare = m_bShowAgreedFee = !m_bOwnOrFree;

    popup_look::AddAnswerButtons(*this);
    if (auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 8, 374, 168, 422, ID_CLAUSES, nullptr))) {
        pList->SetUp(16, 4, g_hSmallFont, 0, true, nullptr, true, nullptr, false, 0, false, false, true);
        pList->SetUpColumns(8, 374, 168, 422, kClauseColumns, false, false, 16, false);
        pList->SetAutoRedraw(true);
    }
    popup_look::AddDropDown(*this, ID_ALLOWANCE_1, 90, 142, 240, 238, kAllowanceColumns);
    popup_look::AddDropDown(*this, ID_ALLOWANCE_2, 90, 176, 240, 272, kAllowanceColumns);
    popup_look::AddValueLabel(*this, ID_AGREED_FEE, 90, 40, 60);
    // The spin buttons pair from 909 in the order of the edits.
    AddSpinEdit(*this, ID_WAGE, 90, 108, 50, 1, 999999, 7, 100, 909);
    AddSpinEdit(*this, ID_WEEKS, 90, 74, 30, kMinimumWeeks, kMaximumWeeks, 3, 1, 911);
    if (m_bOwnOrFree)
        popup_look::AddValueLabel(*this, ID_NO_PERCENTAGE, 270, 108, 30);
    else
        AddSpinEdit(*this, ID_PERCENTAGE, 270, 108, 30, 1, 100, 3, 1, 913);
    AddSpinEdit(*this, ID_FEE_SHARE, 270, 74, 60, 0, 99999999, 10, 100, 915);
    const struct {
        uint32_t dwID;
        int x, y, nWidth, nMaximum, nChars, nStep;
    } edits[] = {
        {ID_AMOUNT_A, 90, 210, 54, kMaximumMoney, 10, 100},  {ID_AMOUNT_B, 270, 210, 54, kMaximumMoney, 10, 100},
        {ID_AMOUNT_C, 90, 244, 54, kMaximumMoney, 10, 100},  {ID_AMOUNT_D, 270, 244, 54, kMaximumMoney, 10, 100},
        {ID_COUNT_1, 90, 278, 30, 99, 3, 1},                 {ID_CONDITION_1, 270, 278, 54, kMaximumMoney, 10, 100},
        {ID_COUNT_2, 90, 312, 30, 99, 3, 1},                 {ID_CONDITION_2, 270, 312, 54, kMaximumMoney, 10, 100},
        {ID_COUNT_3, 90, 346, 30, 99, 3, 1},                 {ID_CONDITION_3, 270, 346, 54, kMaximumMoney, 10, 100},
    };
    uint32_t dwSpin = 917;
    for (const auto& e : edits) {
        AddSpinEdit(*this, e.dwID, e.x, e.y, e.nWidth, 0, e.nMaximum, e.nChars, e.nStep, dwSpin);
        dwSpin += 2;
    }

    static const uint32_t kTabOrder[] = {ID_WEEKS,    ID_WAGE,     ID_FEE_SHARE, ID_PERCENTAGE, ID_AMOUNT_A,
                                         ID_AMOUNT_B, ID_AMOUNT_C, ID_AMOUNT_D,  ID_COUNT_1,    ID_CONDITION_1,
                                         ID_COUNT_2,  ID_CONDITION_2, ID_COUNT_3, ID_CONDITION_3};
    ChainTabs(*this, kTabOrder, static_cast<int>(std::size(kTabOrder)));

    m_pOffer = pDatabase && pClub && m_pPlayer ? pDatabase->GetBuyOffer(m_pPlayer->m_idPerson, pClub->GetID()) : nullptr;
    // The offer's contract once one was put to the player; before that his
    // own contract is the starting point.
    if (m_pOffer && (m_pOffer->GetFlags() & (BUYOFFER_CONTRACT_PROPOSED | BUYOFFER_PLAYER_ANSWERED))) {
        uint32_t adwWords[CBuyOfferDatabase::CONTRACT_WORDS];
        for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
            adwWords[i] = m_pOffer->GetContractWord(i);
        CPlayerDatabase::UnpackContract(adwWords, m_Terms);
    } else {
        m_Terms = m_pPlayer ? m_pPlayer->m_Contract : PLAYERCONTRACT{};
        m_Terms.dwSigningOnFee = m_pOffer ? 0 : m_Terms.dwSigningOnFee;
    }
    Display();
    ShowAllControls(true);
    SetFocus(Edit(ID_WEEKS));
    return true;
}

void CPopupPlayerNegotiation::FillClauses()
{
    auto* pList = dynamic_cast<CXListBox*>(FindControl(ID_CLAUSES));
    if (!pList)
        return;
    pList->ResetContent();
    for (int i = 0; i < kClauses; ++i) {
        const char* pszClause = GetTableText(kClauseTable, i);
        const int nRow = pList->AddString(kValueColour, "%s\t%s", pszClause ? pszClause : "", "");
        pList->SetItemData(nRow, static_cast<uint32_t>(i));
        const bool bSet = (m_Terms.wClauses >> i) & 1;
        if (CXAnimation* pImage = Sprite(bSet ? "icnTick.bmp" : "icnCross.bmp"))
            pList->AddAlignedColumnGraphic(nRow, pImage, 6, kTickColumn, true);
    }
}

void CPopupPlayerNegotiation::FillAllowances(CXComboBox* pBox, int nTable, const int32_t* pnAmounts, int nDivisor,
                                             uint8_t bySelected)
{
    if (!pBox)
        return;
    pBox->ResetContent();
    for (int i = 0; i < kAllowanceLevels; ++i) {
        const char* pszName = GetTableText(nTable, i);
        const int nRow = pBox->AddString(kValueColour, "%s\t%s", pszName ? pszName : "",
                                         FormatMoney(pnAmounts[i] / nDivisor, 0, 0, MONEY_AS_STORED, 0, 1));
        pBox->SetItemData(nRow, static_cast<uint32_t>(i));
    }
    pBox->SetCurSel(bySelected < kAllowanceLevels ? bySelected : 0);
}

void CPopupPlayerNegotiation::Display()
{
    SetMoney(Edit(ID_WAGE), static_cast<int64_t>(m_Terms.dwYearlyWage * (1.0 / kWeeksPerYear)));
    SetNumber(Edit(ID_WEEKS), CDate(m_Terms.dwEndDate).DaysBetween(CDate(m_Terms.dwStartDate)) / 7);
    for (int i = 0; i < PLAYER_CONTRACT_BONUSES; ++i)
        SetMoney(Edit(kBonusEdits[i]), m_Terms.adwBonus[i]);
    SetNumber(Edit(ID_COUNT_1), m_Terms.byAppearancesTarget);
    SetNumber(Edit(ID_COUNT_2), m_Terms.byGoalsTarget);
    SetNumber(Edit(ID_COUNT_3), m_Terms.byBonusTarget);
    FillClauses();
    FillAllowances(dynamic_cast<CXComboBox*>(FindControl(ID_ALLOWANCE_1)), kAllowance1Table, kAllowance1, 1,
                   m_Terms.byClauseLevelA);
    FillAllowances(dynamic_cast<CXComboBox*>(FindControl(ID_ALLOWANCE_2)), kAllowance2Table, kAllowance2,
                   kMonthsPerYear, m_Terms.byClauseLevelB);

    auto* pAgreedFee = dynamic_cast<CXStatic*>(FindControl(ID_AGREED_FEE));
    if (auto* pNoPercentage = dynamic_cast<CXStatic*>(FindControl(ID_NO_PERCENTAGE)))
        pNoPercentage->SetText("%s", NotApplicable());
    if (!m_pOffer) {
        if (pAgreedFee)
            pAgreedFee->SetText("%s", NotApplicable());
        SetQuietly(Edit(ID_FEE_SHARE), SetMoney, 0);
        SetQuietly(Edit(ID_PERCENTAGE), SetNumber, 0);
        return;
    }
    SetQuietly(Edit(ID_FEE_SHARE), SetMoney, m_Terms.dwSigningOnFee);
    if (m_bShowAgreedFee) {
        SetMoneyText(pAgreedFee, m_pOffer->GetValue100(), MONEY_AS_STORED);
        const int64_t nFee = m_pOffer->GetValue100();
        SetQuietly(Edit(ID_PERCENTAGE), SetNumber, nFee > 0 ? m_Terms.dwSigningOnFee * 100 / nFee : 0);
    } else if (pAgreedFee) {
        pAgreedFee->SetText("%s", NotApplicable());
    }
}

void CPopupPlayerNegotiation::OnEditChange(CXControl* pControl)
{
    CGamePopup::OnEditChange(pControl);
    if (!pControl || !m_pOffer || m_bOwnOrFree)
        return;
    const int64_t nFee = m_pOffer->GetValue100();
    if (pControl->m_dwID == ID_FEE_SHARE && nFee > 0) {
        const int64_t nPercentage = static_cast<int64_t>(ReadMoney(Edit(ID_FEE_SHARE))) * 100 / nFee;
        SetQuietly(Edit(ID_PERCENTAGE), SetNumber, nPercentage & 0xFF);
    } else if (pControl->m_dwID == ID_PERCENTAGE) {
        const auto nShare = static_cast<int64_t>(ReadNumber(Edit(ID_PERCENTAGE)) * 0.01 * static_cast<double>(nFee));
        SetQuietly(Edit(ID_FEE_SHARE), SetMoney, nShare);
    }
}

void CPopupPlayerNegotiation::OnSelChange(uint32_t dwID)
{
    CGamePopup::OnSelChange(dwID);
    const auto* pBox = dynamic_cast<CXComboBox*>(FindControl(dwID));
    if (!pBox || (dwID != ID_ALLOWANCE_1 && dwID != ID_ALLOWANCE_2))
        return;
    const auto byLevel = static_cast<uint8_t>(popup_look::SelectedValue(pBox, 0));
    (dwID == ID_ALLOWANCE_1 ? m_Terms.byClauseLevelA : m_Terms.byClauseLevelB) = byLevel;
}

void CPopupPlayerNegotiation::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == ID_CLAUSES) {
        auto* pList = dynamic_cast<CXListBox*>(FindControl(ID_CLAUSES));
        const int nRow = pList ? pList->GetSelection() : -1;
        if (nRow < 0 || nRow >= kClauses || pList->m_nClickedColumn != kTickColumn)
            return;
        m_Terms.wClauses ^= static_cast<uint16_t>(1u << pList->GetItemData(nRow));
        pList->DeleteColumnGraphics(nRow, kTickColumn);
        if (CXAnimation* pImage = Sprite((m_Terms.wClauses >> nRow) & 1 ? "icnTick.bmp" : "icnCross.bmp"))
            pList->AddAlignedColumnGraphic(nRow, pImage, 6, kTickColumn, true);
        pList->RedrawRow(nRow, true);
        return;
    }
    if (dwID == kCancelButtonID) {
        Close();
        return;
    }
    if (dwID == kOkButtonID && IsOnStack())
        Send();
}

int CPopupPlayerNegotiation::ReadTerms()
{
    // Another club's player comes only with the fee his club agreed.
    if (!m_bOwnOrFree && (!m_pOffer || !(m_pOffer->GetFlags() & BUYOFFER_ANSWERED) || m_pOffer->GetClubAnswer() != 0))
        return MESSAGE_NO_AGREED_FEE;
    const int nWeeks = ReadNumber(Edit(ID_WEEKS));
    if (nWeeks < kMinimumWeeks || nWeeks > kMaximumWeeks)
        return MESSAGE_SHORT_CONTRACT;
    const int32_t nWeekly = ReadMoney(Edit(ID_WAGE));
    if (nWeekly < 1)
        return MESSAGE_NO_WAGE;
    const int32_t nShare = ReadMoney(Edit(ID_FEE_SHARE));
    if (!m_bOwnOrFree && nShare > static_cast<int64_t>(m_pOffer->GetValue100()))
        return MESSAGE_SHARE_ABOVE_FEE;

    const CDate today = Database()->GetGameDate();
    m_Terms.dwStartDate = today.GetValue();
    m_Terms.dwEndDate = CDate(today.GetValue(), nWeeks * 7).GetValue();
    m_Terms.dwYearlyWage = static_cast<uint32_t>(nWeekly) * kWeeksPerYear;
    m_Terms.dwSigningOnFee = static_cast<uint32_t>(nShare);
    for (int i = 0; i < PLAYER_CONTRACT_BONUSES; ++i) {
        m_Terms.adwBonus[i] = static_cast<uint32_t>(ReadMoney(Edit(kBonusEdits[i])));
        // A bonus counts for the player only with its clause bit.
        const auto wBit = static_cast<uint16_t>(kFirstBonusBit << i);
        m_Terms.wClauses = static_cast<uint16_t>(m_Terms.adwBonus[i] ? m_Terms.wClauses | wBit : m_Terms.wClauses & ~wBit);
    }
    m_Terms.byAppearancesTarget = static_cast<uint8_t>(ReadNumber(Edit(ID_COUNT_1)));
    m_Terms.byGoalsTarget = static_cast<uint8_t>(ReadNumber(Edit(ID_COUNT_2)));
    m_Terms.byBonusTarget = static_cast<uint8_t>(ReadNumber(Edit(ID_COUNT_3)));
    return 0;
}

void CPopupPlayerNegotiation::Send()
{
    CDatabaseHandler* pDatabase = Database();
    CClubDatabase* pClub = HumanClub();
    if (!pDatabase || !pClub || !m_pPlayer) {
        Close();
        return;
    }
    if (const int nMessage = ReadTerms()) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, nMessage);
        return;
    }
    if (!m_pOffer && m_bOwnOrFree &&
        pDatabase->MakeBuyOfferToClub(m_pPlayer, pClub, 0, nullptr, 0, 0) != 0) {
        DebugLog(1, "[CPopupPlayerNegotiation::Send] No offer could be made for %s", m_pPlayer->GetShortName());
        ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_OFFER_REFUSED);
        return;
    }
    pDatabase->MakeOfferToPlayer(m_pPlayer->m_idPerson, pClub->GetID(), m_Terms);
    m_dwResultID = kOkButtonID;
    Close();
}
