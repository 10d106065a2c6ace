#include "popups/CPopupApproachClubBuy.h"

#include "popups/OfferEdits.h"
#include "popups/PopupLook.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/PlayerRowIcons.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace offer_edits;

namespace {

constexpr uint16_t kScreenID = 43;
constexpr int kCaptionItem = 29;
constexpr int kLabels = 10;
constexpr int kNotApplicableTable = 114;
constexpr int kNotApplicableItem = 6;
constexpr int kMaximumFee = 99999999;
constexpr int kMaximumCondition = 9999999;

// Where the bid's figures lie in the offer's terms: the conditions as
// (amount, count) pairs, then the instalment, the further amount and the
// counts word (instalments twice and the percentage, a byte each).
constexpr uint32_t kConditionEdits[PLAYER_TERMS_CONDITIONS][2] = {
    {CPopupApproachClubBuy::ID_AMOUNT_1, CPopupApproachClubBuy::ID_COUNT_1},
    {CPopupApproachClubBuy::ID_AMOUNT_2, CPopupApproachClubBuy::ID_COUNT_2},
    {CPopupApproachClubBuy::ID_AMOUNT_3, CPopupApproachClubBuy::ID_COUNT_3},
};

const LISTCOLUMN kExchangeColumns[] = {
    {0, 120, 2, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {120, 140, 2, 0, 6, 0, 0, LISTSORT_NONE, 1},
    {140, 214, 2, 0, 2, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

}  // namespace

CPopupApproachClubBuy::CPopupApproachClubBuy()
{
    m_wScreenID = kScreenID;
    SetPopupRect(230, 130, 340, 340);
}

bool CPopupApproachClubBuy::Show(CPlayerDatabase* pPlayer)
{
    if (!pPlayer)
        return false;
    m_pPlayer = pPlayer;
    return Open();
}

void CPopupApproachClubBuy::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    DrawClubColours(m_pBackground, m_pPlayer);
    popup_look::DrawLabels(m_pBackground, kLabels);
}

CXEdit* CPopupApproachClubBuy::Edit(uint32_t dwID) const { return dynamic_cast<CXEdit*>(FindControl(dwID)); }

bool CPopupApproachClubBuy::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    AddSpinEdit(*this, ID_FEE, 230, 74, 65, 0, kMaximumFee, 10, 10000, 909);
    AddSpinEdit(*this, ID_INSTALMENTS, 90, 108, 30, 1, 99, 3, 1, 911);
    popup_look::AddValueLabel(*this, ID_INSTALMENT, 230, 108, 70);
    popup_look::AddValueLabel(*this, ID_FEE_AND_EXCHANGE, 230, 142, 70);
    AddSpinEdit(*this, ID_PERCENTAGE, 90, 176, 30, 0, 100, 3, 1, 913);
    AddSpinEdit(*this, ID_FURTHER, 230, 176, 65, 0, kMaximumFee, 10, 10000, 915);
    uint32_t dwSpin = 921;
    for (int i = 0; i < PLAYER_TERMS_CONDITIONS; ++i) {
        const int y = 210 + 34 * i;
        AddSpinEdit(*this, kConditionEdits[i][1], 90, y, 30, 0, 99, 3, 1, dwSpin);
        AddSpinEdit(*this, kConditionEdits[i][0], 230, y, 54, 0, kMaximumCondition, 10, 100, dwSpin + 2);
        dwSpin += 4;
    }
    // Added last so that its open list lies over the edits below it.
    popup_look::AddDropDown(*this, ID_EXCHANGE, 80, 40, 316, 200, kExchangeColumns);
    FillExchangePlayers();

    CDatabaseHandler* pDatabase = Database();
    const CClubDatabase* pClub = HumanClub();
    const CBuyOfferDatabase* pOffer =
        pDatabase && pClub && m_pPlayer ? pDatabase->GetBuyOffer(m_pPlayer->m_idPerson, pClub->GetID()) : nullptr;
    for (int i = 0; i < CBuyOfferDatabase::TERMS; ++i)
        m_adwTerms[i] = pOffer ? pOffer->GetTerm(i) : 0;
    if (pOffer) {
        const int nCount = static_cast<int>(m_adwTerms[PLAYER_TERMS_COUNTS] & 0xFF);
        SetMoney(Edit(ID_FEE), static_cast<int64_t>(m_adwTerms[PLAYER_TERMS_INSTALMENT]) * nCount);
        SetNumber(Edit(ID_INSTALMENTS), nCount);
    } else {
        SetMoney(Edit(ID_FEE), m_pPlayer ? m_pPlayer->m_dwValue : 0);
        SetNumber(Edit(ID_INSTALMENTS), 1);
    }
    Recompute();
    for (int i = 0; i < PLAYER_TERMS_CONDITIONS; ++i) {
        SetMoney(Edit(kConditionEdits[i][0]), m_adwTerms[2 * i]);
        SetNumber(Edit(kConditionEdits[i][1]), m_adwTerms[2 * i + 1] & 0xFF);
    }
    SetNumber(Edit(ID_PERCENTAGE), (m_adwTerms[PLAYER_TERMS_COUNTS] >> 16) & 0xFF);
    if (pOffer) {
        popup_look::SelectValue(dynamic_cast<CXComboBox*>(FindControl(ID_EXCHANGE)), pOffer->GetExchangePlayerID());
        Recompute();
        SetQuietly(Edit(ID_FURTHER), SetMoney, m_adwTerms[PLAYER_TERMS_FURTHER]);
    }
    ShowAllControls(true);
    SetFocus(Edit(ID_FEE));
    return true;
}

void CPopupApproachClubBuy::FillExchangePlayers()
{
    auto* pBox = dynamic_cast<CXComboBox*>(FindControl(ID_EXCHANGE));
    if (!pBox)
        return;
    pBox->ResetContent();
    const char* pszNone = GetTableText(kNotApplicableTable, kNotApplicableItem);
    pszNone = pszNone ? pszNone : "-";
    pBox->SetItemData(pBox->AddString(kValueColour, "%s\t%s\t%s", pszNone, pszNone, pszNone), 0);
    std::vector<CPlayerDatabase*> squad;
    if (CClubDatabase* pClub = HumanClub())
        for (CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            squad.push_back(pPlayer);
    std::stable_sort(squad.begin(), squad.end(),
                     [](const CPlayerDatabase* a, const CPlayerDatabase* b) { return a->m_byPosition < b->m_byPosition; });
    for (const CPlayerDatabase* pPlayer : squad) {
        const int nRow = pBox->AddString(kValueColour, "%s\t%d\t%s", pPlayer->GetShortName(), pPlayer->m_byPosition,
                                         FormatMoney(pPlayer->m_dwValue, 0, 0, MONEY_AS_STORED, 0, 1));
        pBox->SetItemData(nRow, pPlayer->m_idPerson);
        PlayerRowIcons::AddForeignFlag(*pBox, nRow, pPlayer->m_byNationality, 0);
    }
    pBox->SetCurSel(0);
}

CPlayerDatabase* CPopupApproachClubBuy::ExchangePlayer() const
{
    const auto* pBox = dynamic_cast<const CXComboBox*>(FindControl(ID_EXCHANGE));
    const auto idPlayer = static_cast<ID_PLAYER>(popup_look::SelectedValue(pBox, 0));
    CDatabaseHandler* pDatabase = Database();
    return idPlayer && pDatabase ? pDatabase->GetPlayerFromID(idPlayer) : nullptr;
}

void CPopupApproachClubBuy::Recompute()
{
    const int64_t nFee = ReadMoney(Edit(ID_FEE));
    const int nCount = std::max(1, ReadNumber(Edit(ID_INSTALMENTS)));
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_INSTALMENT)), static_cast<double>(nFee / nCount),
                 MONEY_AS_STORED);
    SetQuietly(Edit(ID_FURTHER), SetMoney, nFee);
    const CPlayerDatabase* pExchange = ExchangePlayer();
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_FEE_AND_EXCHANGE)),
                 static_cast<double>(nFee + (pExchange ? pExchange->m_dwValue : 0)), MONEY_AS_STORED);
}

void CPopupApproachClubBuy::OnEditChange(CXControl* pControl)
{
    CGamePopup::OnEditChange(pControl);
    if (pControl && (pControl->m_dwID == ID_FEE || pControl->m_dwID == ID_INSTALMENTS))
        Recompute();
}

void CPopupApproachClubBuy::OnSelChange(uint32_t dwID)
{
    CGamePopup::OnSelChange(dwID);
    if (dwID == ID_EXCHANGE)
        Recompute();
}

void CPopupApproachClubBuy::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kCancelButtonID)
        Close();
    else if (dwID == kOkButtonID && IsOnStack())
        Send();
}

void CPopupApproachClubBuy::Send()
{
    CDatabaseHandler* pDatabase = Database();
    CClubDatabase* pClub = HumanClub();
    if (!pDatabase || !pClub || !m_pPlayer) {
        Close();
        return;
    }
    const int32_t nFee = ReadMoney(Edit(ID_FEE));
    const int nCount = std::clamp(ReadNumber(Edit(ID_INSTALMENTS)), 1, 99);
    const int nPercentage = std::clamp(ReadNumber(Edit(ID_PERCENTAGE)), 0, 100);
    uint32_t adwTerms[CBuyOfferDatabase::TERMS];
    std::copy(std::begin(m_adwTerms), std::end(m_adwTerms), adwTerms);
    for (int i = 0; i < PLAYER_TERMS_CONDITIONS; ++i) {
        adwTerms[2 * i] = static_cast<uint32_t>(ReadMoney(Edit(kConditionEdits[i][0])));
        adwTerms[2 * i + 1] = static_cast<uint32_t>(std::clamp(ReadNumber(Edit(kConditionEdits[i][1])), 0, 99));
    }
    adwTerms[PLAYER_TERMS_INSTALMENT] = static_cast<uint32_t>(nFee / nCount);
    adwTerms[PLAYER_TERMS_FURTHER] = static_cast<uint32_t>(ReadMoney(Edit(ID_FURTHER)));
    adwTerms[PLAYER_TERMS_COUNTS] = (adwTerms[PLAYER_TERMS_COUNTS] & 0xFF000000u) |
                                    static_cast<uint32_t>(nCount) | static_cast<uint32_t>(nCount) << 8 |
                                    static_cast<uint32_t>(nPercentage) << 16;
    const CPlayerDatabase* pExchange = ExchangePlayer();
    if (pDatabase->MakeBuyOfferToClub(m_pPlayer, pClub, nFee, adwTerms, pExchange ? pExchange->m_idPerson : 0, 0) !=
        0) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_BID_REFUSED);
        return;
    }
    m_dwResultID = kOkButtonID;
    Close();
}
