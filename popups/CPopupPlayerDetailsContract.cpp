// The contract page of the player details popup: his value, asking price and
// insurance, every offer for him with where it stands, and the terms and
// contract of the offer chosen (or his own). Here the human answers offers
// for his players and confirms an agreed move, as buyer or seller.
#include "popups/CPopupPlayerDetails.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace {

constexpr int kLabels = 39;
constexpr int kCaptionTabs = 224;
constexpr int kWordsSet = 114;
constexpr int kNoneItem = 6;
constexpr int kFeeItem = 27;
constexpr int kOfferKindSet = 74;
constexpr int kStateSet = 142;
constexpr int kContractLabels = 119;
constexpr int kTermsLabels = 120;
constexpr int kPeriodSet = 133;
constexpr int kCarSet = 136;
constexpr int kHousingSet = 137;
constexpr int kCupsSet = 44;
constexpr int kCoverSet = 52;
constexpr int kCovers = 4;
constexpr uint8_t kLoanMadeEvent = 18;
constexpr int kLoanEventDays = 7;
constexpr COLORREF kRowColour = 0xFFFFFF;

// Money as the lists show it: converted, whole, in the period asked.
std::string Money(double dAmount, uint8_t byPeriod = MONEY_AS_STORED)
{
    return FormatMoney(dAmount, 0, 0, byPeriod, 0, 1);
}

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

uint8_t ContractPeriod()
{
    const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
    return pGame ? pGame->GetOptions().m_nContractsSalaries : 0;
}

// The period of the contracts option: 1 months, 2 years, else weeks.
int PeriodsOf(int nDays, uint8_t byPeriod)
{
    if (byPeriod == 1)
        return static_cast<int>(nDays / 365.0 * 12);
    if (byPeriod == 2)
        return static_cast<int>(nDays / 365.0);
    return nDays / 7;
}

double WageInPeriod(uint32_t dwYearly, uint8_t byPeriod)
{
    if (byPeriod == 1)
        return dwYearly / 12.0;
    if (byPeriod == 2)
        return dwYearly;
    return dwYearly / 52.0;
}

int PeriodNameItem(uint8_t byPeriod) { return byPeriod == 1 || byPeriod == 2 ? byPeriod : 0; }

}  // namespace

int CPopupPlayerDetails::OfferStateItem(uint16_t wFlags, uint32_t dwClubReply, uint32_t dwPlayerReply, bool bBuyOffer)
{
    if (!(wFlags & 1))
        return 0;
    if (!(wFlags & 2))
        return 1;
    if (dwClubReply != 0)
        return (wFlags & 64) ? 8 : 2;
    if (wFlags & 8) {
        if (dwPlayerReply != 0)
            return bBuyOffer && (wFlags & 128) ? 9 : 5;
        return (wFlags & 16) && (wFlags & 32) ? 7 : 6;
    }
    return (wFlags & 4) ? 3 : 4;
}

int32_t CPopupPlayerDetails::InsurancePremium() const
{
    int32_t nTotal = 0;
    for (int k = 0; m_pPlayer && k < kCovers; ++k)
        nTotal += m_pPlayer->GetMonthlyInsurance(k);
    return nTotal;
}

void CPopupPlayerDetails::ShowContractPage()
{
    BeginPage(PAGE_CONTRACT);
    popup_look::DrawLabels(m_pBackground, kLabels);
    if (CXSurface* pTabs = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnPTab.bmp") : nullptr) {
        const CAPTIONTAB tabs[] = {{1, 0, ID_OFFERS, 0, 0, 0},
                                   {1, 1, ID_TERMS, 0, 0, 0},
                                   {1, 2, ID_CONTRACT, 0, 0, 0},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionTabs, tabs);
    }
    FillOfferList();
    FillTermsAndContractLists();
    if (auto* pValue = dynamic_cast<CXStatic*>(FindControl(ID_CONTRACT_VALUE)))
        SetMoneyText(pValue, m_pPlayer->m_dwValue, MONEY_AS_STORED);
    if (auto* pAsking = dynamic_cast<CXStatic*>(FindControl(ID_ASKING_PRICE)))
        SetMoneyText(pAsking, m_pPlayer->m_dwAskingPrice, MONEY_AS_STORED);
    UpdateInsurance();
    const uint32_t page[] = {ID_TERMS,           ID_CONTRACT,        ID_OFFERS,         ID_INSURANCE_PREMIUM,
                             ID_INSURANCE_KINDS, ID_ASKING_PRICE,    ID_CONTRACT_VALUE};
    EndPage(page, std::size(page));
}

void CPopupPlayerDetails::FreeOfferRows() { m_OfferRows.clear(); }

void CPopupPlayerDetails::FillOfferList()
{
    CXListBox* pList = List(ID_OFFERS);
    CDatabaseHandler* pDatabase = Database();
    FreeOfferRows();
    if (!pList || !pDatabase || !m_pPlayer)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    // The row of his present club carries no offer.
    if (m_pPlayer->m_pClub)
        pList->AddString(kRowColour, "%s\t%s\t%s\t%s", Text(kWordsSet, kNoneItem), m_pPlayer->m_pClub->GetName(),
                         Text(kWordsSet, kNoneItem), Text(kWordsSet, kNoneItem));
    auto clubName = [pDatabase](ID_CLUB idClub) {
        const CClubDatabase* pClub = pDatabase->GetClubFromID(idClub);
        return pClub ? pClub->GetName() : Text(kWordsSet, kNoneItem);
    };
    for (LPXLISTNODE pNode : pDatabase->GetPlayerBuyOffers(m_pPlayer->m_idPerson)) {
        auto* pOffer = static_cast<CBuyOfferDatabase*>(pNode->pData);
        const CDate made(pDatabase->GetGameDate().GetValue(), -pOffer->GetDaysWaited());
        const bool bOwnClub = m_pPlayer->m_pClub && pOffer->GetBiddingClubID() == m_pPlayer->m_pClub->GetID();
        const int nRow = pList->AddString(
            kRowColour, "%s\t%s\t%s\t%s", FormatPackedDate(made.GetValue()), clubName(pOffer->GetBiddingClubID()),
            Text(kOfferKindSet, bOwnClub ? 2 : 0),
            Text(kStateSet, OfferStateItem(pOffer->GetFlags(), pOffer->GetClubAnswer(), pOffer->GetPlayerAnswer(), true)));
        if (nRow >= 0) {
            pList->SetItemData(nRow, static_cast<uint32_t>(m_OfferRows.size() + 1));
            m_OfferRows.push_back({0, pOffer});
        }
    }
    for (LPXLISTNODE pNode : pDatabase->GetPlayerLoanOffers(m_pPlayer->m_idPerson)) {
        auto* pOffer = static_cast<CLoanOfferDatabase*>(pNode->pData);
        const int nRow = pList->AddString(
            kRowColour, "%s\t%s\t%s\t%s", FormatPackedDate(pOffer->GetWord(0)), clubName(pOffer->GetClubID()),
            Text(kOfferKindSet, 1),
            Text(kStateSet, OfferStateItem(pOffer->GetFlags(), pOffer->GetClubAnswer(), pOffer->GetPlayerAnswer(), false)));
        if (nRow >= 0) {
            pList->SetItemData(nRow, static_cast<uint32_t>(m_OfferRows.size() + 1));
            m_OfferRows.push_back({1, pOffer});
        }
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

const CPopupPlayerDetails::OfferRow* CPopupPlayerDetails::SelectedOfferRow() const
{
    const CXListBox* pList = List(ID_OFFERS);
    const int nRow = pList ? pList->GetSelection() : -1;
    if (nRow < 0 || nRow >= pList->GetCount())
        return nullptr;
    const auto nItem = static_cast<size_t>(pList->GetItemData(nRow));
    return nItem >= 1 && nItem <= m_OfferRows.size() ? &m_OfferRows[nItem - 1] : nullptr;
}

void CPopupPlayerDetails::FillTermsAndContractLists()
{
    if (!m_pPlayer)
        return;
    const OfferRow* pRow = SelectedOfferRow();
    if (pRow && pRow->byKind == 0) {
        const auto* pOffer = static_cast<const CBuyOfferDatabase*>(pRow->pOffer);
        uint32_t adwContract[CBuyOfferDatabase::CONTRACT_WORDS];
        for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
            adwContract[i] = pOffer->GetContractWord(i);
        PLAYERCONTRACT contract;
        CPlayerDatabase::UnpackContract(adwContract, contract);
        // Until terms are put to him the offer's contract block is blank.
        FillContractList((pOffer->GetFlags() & BUYOFFER_CONTRACT_PROPOSED) ? &contract : nullptr);
        uint32_t adwTerms[CBuyOfferDatabase::TERMS];
        for (int i = 0; i < CBuyOfferDatabase::TERMS; ++i)
            adwTerms[i] = pOffer->GetTerm(i);
        // A bid of one sum shows only its fee.
        if (((adwTerms[PLAYER_TERMS_COUNTS] >> 8) & 0xFF) == 0 && pOffer->GetValue100() != 0) {
            CXListBox* pTerms = List(ID_TERMS);
            if (pTerms) {
                pTerms->ResetContent();
                pTerms->AddString(kRowColour, "%s\t%s", Text(kWordsSet, kFeeItem), Money(pOffer->GetValue100()).c_str());
                pTerms->UpdateScrollBar();
                pTerms->Redraw();
            }
        } else {
            FillTransferTermsList(adwTerms);
        }
    } else if (pRow) {
        FillContractList(nullptr);
        FillLoanTermsList(*static_cast<const CLoanOfferDatabase*>(pRow->pOffer));
    } else {
        FillContractList(&m_pPlayer->m_Contract);
        FillTransferTermsList(m_pPlayer->m_adwTransferBlock);
    }
}

void CPopupPlayerDetails::FillContractList(const PLAYERCONTRACT* pContract)
{
    CXListBox* pList = List(ID_CONTRACT);
    CDatabaseHandler* pDatabase = Database();
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    if (!pContract || CDate(pContract->dwEndDate).GetMonth() == 0 || !pDatabase) {
        pList->AddString(kRowColour, "%s\t%s", Text(kWordsSet, kNoneItem), Text(kWordsSet, kNoneItem));
    } else {
        const uint8_t byPeriod = ContractPeriod();
        const char* pszPeriod = Text(kPeriodSet, PeriodNameItem(byPeriod));
        pList->AddString(kRowColour, "%s %s\t%s", Text(kContractLabels, 10), pszPeriod,
                         Money(WageInPeriod(pContract->dwYearlyWage, byPeriod)).c_str());
        const CDate end(pContract->dwEndDate);
        pList->AddString(kRowColour, "%s %s\t%d (%d)", Text(kContractLabels, 11), pszPeriod,
                         PeriodsOf(end.DaysBetween(pDatabase->GetGameDate()), byPeriod),
                         PeriodsOf(end.DaysBetween(CDate(pContract->dwStartDate)), byPeriod));
        pList->AddString(kRowColour, "%s\t%s", Text(kContractLabels, 14), Money(pContract->dwSigningOnFee).c_str());
        pList->AddString(kRowColour, "%s\t%s", Text(kContractLabels, 12), Text(kCarSet, pContract->byClauseLevelB));
        pList->AddString(kRowColour, "%s\t%s", Text(kContractLabels, 13), Text(kHousingSet, pContract->byClauseLevelA));
        for (int nLabel = 0; nLabel < 3; ++nLabel)
            pList->AddString(kRowColour, "%s\t%s", Text(kContractLabels, nLabel), Money(0).c_str());
        // Amounts A to D, then the three count-and-amount conditions.
        const struct {
            int nLabel;
            int nBonus;
            int nCount;  // -1: an amount alone
        } rows[] = {{3, 0, -1},
                    {4, 1, -1},
                    {5, 2, -1},
                    {6, 3, pContract->byGoalsTarget},
                    {7, 4, -1},
                    {8, 5, pContract->byBonusTarget},
                    {9, 6, pContract->byAppearancesTarget}};
        for (const auto& row : rows) {
            const uint32_t dwAmount = pContract->adwBonus[row.nBonus];
            if (row.nCount > 0 && dwAmount)
                pList->AddString(kRowColour, "%s\t%d - %s", Text(kContractLabels, row.nLabel), row.nCount,
                                 Money(dwAmount).c_str());
            else if (row.nCount > 0)
                pList->AddString(kRowColour, "%s\t%d", Text(kContractLabels, row.nLabel), row.nCount);
            else
                pList->AddString(kRowColour, "%s\t%s", Text(kContractLabels, row.nLabel), Money(dwAmount).c_str());
        }
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CPopupPlayerDetails::FillTransferTermsList(const uint32_t* pTerms)
{
    CXListBox* pList = List(ID_TERMS);
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    const uint32_t dwCounts = pTerms[PLAYER_TERMS_COUNTS];
    const int nInstalments = static_cast<int>((dwCounts >> 8) & 0xFF);
    if (nInstalments == 0) {
        pList->AddString(kRowColour, "%s\t%s", Text(kWordsSet, kNoneItem), Text(kWordsSet, kNoneItem));
    } else {
        pList->AddString(kRowColour, "%s\t%s", Text(kTermsLabels, 0),
                         Money(static_cast<double>(pTerms[PLAYER_TERMS_INSTALMENT]) * (dwCounts & 0xFF)).c_str());
        pList->AddString(kRowColour, "%s %s\t%d", Text(kTermsLabels, 1), Text(kPeriodSet, 1), nInstalments);
        pList->AddString(kRowColour, "%s\t%d - %s", Text(kTermsLabels, 2), static_cast<int>((dwCounts >> 16) & 0xFF),
                         Money(pTerms[PLAYER_TERMS_FURTHER]).c_str());
        for (int i = 0; i < PLAYER_TERMS_CONDITIONS; ++i)
            pList->AddString(kRowColour, "%s\t%d - %s", Text(kTermsLabels, 3 + i),
                             static_cast<int>(pTerms[2 * i + 1] & 0xFF), Money(pTerms[2 * i]).c_str());
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CPopupPlayerDetails::FillLoanTermsList(const CLoanOfferDatabase& offer)
{
    CXListBox* pList = List(ID_TERMS);
    CSaveGame* pHuman = Human();
    if (!pList || !m_pPlayer)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    pList->AddString(kRowColour, "%s %s\t%d", Text(kTermsLabels, 7), Text(kPeriodSet, 0), offer.GetHalf(0) / 7);
    pList->AddString(kRowColour, "%s %s\t%s", Text(kTermsLabels, 6), Text(kPeriodSet, 0),
                     Money(offer.GetWord(1) / 52.0).c_str());
    // Whether he may play in the cups for the club that borrows him.
    const CClubDatabase* pHumanClub = HumanClub();
    const CCountryDatabase* pCountry = pHumanClub ? pHumanClub->GetCountry() : nullptr;
    (void)pHuman;
    const bool bDomesticTied =
        m_pPlayer->IsCupTiedForCup(0, pCountry) || m_pPlayer->IsCupTiedForCup(1, pCountry);
    const bool bEuropeanTied = m_pPlayer->IsCupTiedForCup(0, nullptr) || m_pPlayer->IsCupTiedForCup(1, nullptr);
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    CXAnimation* pYes = pGame ? pGame->GetSharedBitmaps().GetSprite("icnTick.bmp") : nullptr;
    CXAnimation* pNo = pGame ? pGame->GetSharedBitmaps().GetSprite("icnCross.bmp") : nullptr;
    for (int i = 0; i < 2; ++i) {
        const bool bTied = i == 0 ? bDomesticTied : bEuropeanTied;
        const int nRow = pList->AddString(kRowColour, "%s\t", Text(kCupsSet, i));
        if (nRow >= 0 && (bTied ? pNo : pYes))
            pList->AddAlignedColumnGraphic(nRow, bTied ? pNo : pYes, 6, 1, true);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CPopupPlayerDetails::UpdateInsurance()
{
    if (!m_pPlayer)
        return;
    if (auto* pKinds = dynamic_cast<CXStatic*>(FindControl(ID_INSURANCE_KINDS))) {
        std::string names;
        for (int k = 0; k < kCovers; ++k)
            if (m_pPlayer->m_byContractClauses & (1u << k)) {
                if (!names.empty())
                    names += ", ";
                names += Text(kCoverSet, k);
            }
        pKinds->SetText("%s", names.empty() ? Text(kWordsSet, kNoneItem) : names.c_str());
    }
    if (auto* pPremium = dynamic_cast<CXStatic*>(FindControl(ID_INSURANCE_PREMIUM)))
        SetMoneyText(pPremium, InsurancePremium(), MONEY_AS_STORED);
}

void CPopupPlayerDetails::UpdateOfferAnswerButtons()
{
    for (uint32_t dwID : {ID_ACCEPT_BUY, ID_ACCEPT_LOAN, ID_REJECT_BUY, ID_REJECT_LOAN})
        if (CXControl* pButton = FindControl(dwID))
            pButton->Show(false, true);
    const CClubDatabase* pHumanClub = HumanClub();
    const OfferRow* pRow = SelectedOfferRow();
    if (!pHumanClub || !IsOwnPlayer() || m_pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN ||
        m_pPlayer->m_byTransferState == PLAYER_TRANSFER_LEAVING || !pRow)
        return;
    if (pRow->byKind == 0) {
        const auto* pOffer = static_cast<const CBuyOfferDatabase*>(pRow->pOffer);
        if (pOffer->GetCountdown() == 0 || pOffer->GetBiddingClubID() == pHumanClub->GetID())
            return;
        if (!(pOffer->GetFlags() & BUYOFFER_ANSWERED)) {
            PlaceButton(ID_ACCEPT_BUY);
            PlaceButton(ID_REJECT_BUY);
        } else {
            PlaceButton(pOffer->GetClubAnswer() != 0 ? ID_ACCEPT_BUY : ID_REJECT_BUY);
        }
        return;
    }
    const auto* pOffer = static_cast<const CLoanOfferDatabase*>(pRow->pOffer);
    if (pOffer->GetByte(0) == 0)
        return;
    if (!(pOffer->GetFlags() & LOANOFFER_ANSWERED)) {
        PlaceButton(ID_ACCEPT_LOAN);
        PlaceButton(ID_REJECT_LOAN);
    } else {
        PlaceButton(pOffer->GetClubAnswer() == 0 ? ID_REJECT_LOAN : ID_ACCEPT_LOAN);
    }
}

void CPopupPlayerDetails::UpdateConfirmButtons()
{
    for (uint32_t dwID : {ID_CONFIRM_TRANSFER, ID_CONFIRM_LOAN})
        if (CXControl* pButton = FindControl(dwID))
            pButton->Show(false, true);
    m_pOfferToConfirm = nullptr;
    m_pLoanOfferToConfirm = nullptr;
    CDatabaseHandler* pDatabase = Database();
    const CClubDatabase* pHumanClub = HumanClub();
    if (!pHumanClub || !pDatabase || !m_pPlayer)
        return;
    auto agreed = [](uint16_t wFlags, uint32_t dwClubReply, uint32_t dwPlayerReply) {
        return (wFlags & 2) && (wFlags & 8) && dwClubReply == 0 && dwPlayerReply == 0;
    };
    bool bTransfer = false, bLoan = false;
    if (!IsOwnPlayer()) {
        CBuyOfferDatabase* pBuy = pDatabase->GetBuyOffer(m_pPlayer->m_idPerson, pHumanClub->GetID());
        if (pBuy && agreed(pBuy->GetFlags(), pBuy->GetClubAnswer(), pBuy->GetPlayerAnswer()) &&
            !(pBuy->GetFlags() & BUYOFFER_BIDDER_CONFIRMED)) {
            m_pOfferToConfirm = pBuy;
            bTransfer = true;
        }
        CLoanOfferDatabase* pLoan = pDatabase->GetLoanOffer(m_pPlayer->m_idPerson, pHumanClub->GetID());
        if (pLoan && agreed(pLoan->GetFlags(), pLoan->GetClubAnswer(), pLoan->GetPlayerAnswer()) &&
            !(pLoan->GetFlags() & LOANOFFER_BIDDER_CONFIRMED)) {
            m_pLoanOfferToConfirm = pLoan;
            bLoan = true;
        }
        m_bHumanIsBidder = true;
    } else if (const OfferRow* pRow = SelectedOfferRow()) {
        if (pRow->byKind == 0) {
            auto* pBuy = static_cast<CBuyOfferDatabase*>(pRow->pOffer);
            if (agreed(pBuy->GetFlags(), pBuy->GetClubAnswer(), pBuy->GetPlayerAnswer()) &&
                !(pBuy->GetFlags() & BUYOFFER_SELLER_CONFIRMED)) {
                m_pOfferToConfirm = pBuy;
                m_bHumanIsBidder = false;
                bTransfer = true;
            }
        } else {
            auto* pLoan = static_cast<CLoanOfferDatabase*>(pRow->pOffer);
            if (agreed(pLoan->GetFlags(), pLoan->GetClubAnswer(), pLoan->GetPlayerAnswer())) {
                if (pLoan->GetKind() == 0 && !(pLoan->GetFlags() & LOANOFFER_SELLER_CONFIRMED)) {
                    m_bHumanIsBidder = false;
                    bLoan = true;
                } else if (pLoan->GetKind() == 1 && !(pLoan->GetFlags() & LOANOFFER_BIDDER_CONFIRMED)) {
                    m_bHumanIsBidder = true;
                    bLoan = true;
                }
                if (bLoan)
                    m_pLoanOfferToConfirm = pLoan;
            }
        }
    }
    if (bTransfer)
        PlaceButton(ID_CONFIRM_TRANSFER);
    if (bLoan)
        PlaceButton(ID_CONFIRM_LOAN);
}

void CPopupPlayerDetails::AnswerOffer(uint32_t dwID)
{
    CDatabaseHandler* pDatabase = Database();
    const OfferRow* pRow = SelectedOfferRow();
    if (!pRow || !pDatabase || !m_pPlayer)
        return;
    const bool bAccept = dwID == ID_ACCEPT_BUY || dwID == ID_ACCEPT_LOAN;
    if ((dwID == ID_ACCEPT_BUY || dwID == ID_REJECT_BUY) && pRow->byKind == 0) {
        auto* pOffer = static_cast<CBuyOfferDatabase*>(pRow->pOffer);
        pOffer->SetFlags(pOffer->GetFlags() | BUYOFFER_SEEN | BUYOFFER_ANSWERED);
        pOffer->SetClubAnswer(bAccept ? 0 : 1);
    } else if ((dwID == ID_ACCEPT_LOAN || dwID == ID_REJECT_LOAN) && pRow->byKind == 1) {
        auto* pOffer = static_cast<CLoanOfferDatabase*>(pRow->pOffer);
        pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | LOANOFFER_SEEN | LOANOFFER_ANSWERED |
                                               (bAccept ? LOANOFFER_ACCEPTED : 0)));
        pOffer->SetClubAnswer(bAccept ? 0 : 1);
        // An accepted loan is carried out a week later by the day processing.
        if (bAccept && m_pPlayer->m_pCountry && !m_pPlayer->m_pCountry->FindEvent(kLoanMadeEvent, m_pPlayer->m_idPerson))
            m_pPlayer->m_pCountry->AddEvent(kLoanMadeEvent, CDate(pDatabase->GetGameDate().GetValue(), kLoanEventDays),
                                            m_pPlayer->m_idPerson);
    } else {
        return;
    }
    // The answer is kept on the row it was given to.
    CXListBox* pList = List(ID_OFFERS);
    const int nSelected = pList ? pList->GetSelection() : -1;
    Redraw();
    if (pList && nSelected >= 0 && nSelected < pList->GetCount()) {
        pList->SetSelection(nSelected);
        OnSelChange(ID_OFFERS);
    }
}

void CPopupPlayerDetails::Confirm(bool bLoan)
{
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase || !m_pPlayer)
        return;
    if (!bLoan && m_pOfferToConfirm) {
        CBuyOfferDatabase* pConfirmed = m_pOfferToConfirm;
        if (m_bHumanIsBidder) {
            pConfirmed->SetFlags(pConfirmed->GetFlags() | BUYOFFER_BIDDER_CONFIRMED);
            return;
        }
        pConfirmed->SetFlags(pConfirmed->GetFlags() | BUYOFFER_SELLER_CONFIRMED);
        // The other bids for him are turned down.
        for (LPXLISTNODE pNode : pDatabase->GetPlayerBuyOffers(m_pPlayer->m_idPerson)) {
            auto* pOther = static_cast<CBuyOfferDatabase*>(pNode->pData);
            if (pOther == pConfirmed)
                continue;
            pOther->SetFlags(pOther->GetFlags() | BUYOFFER_ANSWERED);
            pOther->SetCountdown(0);
            pOther->SetClubAnswer(static_cast<uint8_t>(pOther->GetClubAnswer() + 1));
        }
    } else if (bLoan && m_pLoanOfferToConfirm) {
        CLoanOfferDatabase* pConfirmed = m_pLoanOfferToConfirm;
        if (m_bHumanIsBidder) {
            pConfirmed->SetFlags(pConfirmed->GetFlags() | LOANOFFER_BIDDER_CONFIRMED);
            return;
        }
        pConfirmed->SetFlags(pConfirmed->GetFlags() | LOANOFFER_SELLER_CONFIRMED);
        for (LPXLISTNODE pNode : pDatabase->GetPlayerLoanOffers(m_pPlayer->m_idPerson)) {
            auto* pOther = static_cast<CLoanOfferDatabase*>(pNode->pData);
            if (pOther == pConfirmed)
                continue;
            pOther->SetFlags(pOther->GetFlags() | LOANOFFER_ANSWERED);
            pOther->SetByte(0, 0);
            pOther->SetClubAnswer(static_cast<uint8_t>(pOther->GetClubAnswer() + 1));
        }
    }
}
