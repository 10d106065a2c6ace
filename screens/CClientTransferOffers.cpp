#include "screens/CClientTransferOffers.h"

#include "popups/CPopupPlayerDetails.h"
#include "screens/ClubScreenLink.h"
#include "screens/TransferScreenLists.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CGamePopup.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/CBinaryFile.h"
#include "common/CDate.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CPlayerDatabase.h"
#include "popups/CPopupApproachClubBuy.h"
#include "popups/CPopupApproachClubLoan.h"
#include "popups/CPopupPlayerNegotiation.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr COLORREF kText = plat::RGB(242, 242, 234);
constexpr COLORREF kReport = plat::RGB(255, 0, 0);
constexpr int kStatusSet = 142;
constexpr int kTransferCaptionSet = 171;
constexpr int kLoanCaptionSet = 172;
constexpr int kWordsSet = 114;
constexpr int kNoClubItem = 13;
constexpr int kClubDetailsMessage = 66;
constexpr int kReceivedTop = 60, kReceivedBottom = 284;
constexpr int kOwnTop = 324, kOwnBottom = 500;
constexpr int kListLeft = 0, kListRight = 624;
// A buy report keeps its age over the copied offer's day count and flags;
// the offer itself is kept beside it under the same identifier.
constexpr size_t kBuyReportBytes = 132;
constexpr size_t kLoanReportBytes = 36;

// Date, player, club, position, rating, fee or length, status.
const LISTCOLUMN kTransferColumns[] = {
    {0, 58, 4, 0, 0, 0, 980, LISTSORT_DATE, 0},      {58, 186, 4, 0, 0, 0, 963, LISTSORT_TEXT, 0},
    {186, 330, 4, 0, 0, 0, 938, LISTSORT_TEXT, 1},   {330, 360, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0},
    {360, 390, 4, 0, 2, 0, 968, LISTSORT_NUMBER, 0}, {390, 460, 4, 0, 2, 0, 1018, LISTSORT_NUMBER, 0},
    {460, 620, 4, 0, 0, 0, 196, LISTSORT_TEXT, 0},   {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kLoanColumns[] = {
    {0, 58, 4, 0, 0, 0, 980, LISTSORT_DATE, 0},      {58, 186, 4, 0, 0, 0, 963, LISTSORT_TEXT, 0},
    {186, 330, 4, 0, 0, 0, 938, LISTSORT_TEXT, 1},   {330, 360, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0},
    {360, 390, 4, 0, 2, 0, 968, LISTSORT_NUMBER, 0}, {390, 460, 4, 0, 2, 0, 999, LISTSORT_NUMBER, 0},
    {460, 620, 4, 0, 0, 0, 196, LISTSORT_TEXT, 0},   {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
constexpr int kClubColumn = 2;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

}  // namespace

CClientTransferOffers::CClientTransferOffers() { m_wScreenID = SCREEN_TRANSFER_OFFERS; }

CClientTransferOffers::~CClientTransferOffers() = default;

int CClientTransferOffers::StatusItem(uint16_t wFlags, uint32_t dwClubAnswer, uint32_t dwPlayerAnswer, bool bTransfer)
{
    // An offer that has moved on is past presenting even where the presented
    // flag was never set (a contract offer to one's own player starts
    // answered).
    if (!(wFlags & (OFFER_PRESENTED | OFFER_CLUB_ANSWERED | OFFER_AGREED_WITH_CLUB | OFFER_PLAYER_ANSWERED)))
        return 0;
    if (!(wFlags & OFFER_CLUB_ANSWERED))
        return 1;
    if (dwClubAnswer != 0)
        return (wFlags & OFFER_CLUB_LAST_WORD) ? 8 : 2;
    if (!(wFlags & OFFER_PLAYER_ANSWERED))
        return (wFlags & OFFER_AGREED_WITH_CLUB) ? 3 : 4;
    if (dwPlayerAnswer != 0)
        return bTransfer && (wFlags & OFFER_PLAYER_LAST_WORD) ? 9 : 5;
    if ((wFlags & OFFER_BIDDER_CONFIRMED) && (wFlags & OFFER_SELLER_CONFIRMED))
        return 7;
    return 6;
}

CSaveGame* CClientTransferOffers::Human() const
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

CXListBox* CClientTransferOffers::GetReceivedList() const
{
    return dynamic_cast<CXListBox*>(FindControl(ID_RECEIVED_LIST));
}
CXListBox* CClientTransferOffers::GetOwnList() const { return dynamic_cast<CXListBox*>(FindControl(ID_OWN_LIST)); }

// ---- entry and exit ----

bool CClientTransferOffers::OnInitDialog()
{
    m_nKind = m_dwChangeParameter == KIND_LOAN ? KIND_LOAN : KIND_TRANSFER;
    m_pLastList = nullptr;
    m_pOpened = nullptr;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();

    m_RowIcons.Load();
    transfer_lists::AddList(*this, ID_RECEIVED_LIST, ID_RECEIVED_BAR, 885, 886, kListLeft, kReceivedTop, kListRight,
                            kReceivedBottom);
    transfer_lists::AddList(*this, ID_OWN_LIST, ID_OWN_BAR, 887, 888, kListLeft, kOwnTop, kListRight, kOwnBottom);
    if (CXComboBox* pKinds = transfer_lists::AddChoice(*this, ID_KIND_CHOICE, 16)) {
        m_bFilling = true;
        transfer_lists::FillKindChoice(pKinds);
        pKinds->SetCurSel(m_nKind);
        m_bFilling = false;
    }
    m_nUpperSel = m_nLowerSel = -1;
    DrawPanel();
    UpdateBars();
    return bResult;
}

void CClientTransferOffers::OnDestroy()
{
    CGameClient::OnDestroy();
    m_pLastList = nullptr;
    m_pOpened = nullptr;
    m_RowIcons.Clear();
}

void CClientTransferOffers::ConstructScreen() { MakeOwnBackground(); }

void CClientTransferOffers::OnSelChange(uint32_t dwID)
{
    if (m_bFilling || dwID != ID_KIND_CHOICE)
        return;
    const auto* pKinds = dynamic_cast<CXComboBox*>(FindControl(ID_KIND_CHOICE));
    const int nRow = pKinds ? pKinds->GetSelection() : -1;
    if (nRow < 0)
        return;
    m_nKind = pKinds->GetItemData(nRow) == KIND_LOAN ? KIND_LOAN : KIND_TRANSFER;
    m_dwChangeParameter = static_cast<uint32_t>(m_nKind);
    m_nUpperSel = m_nLowerSel = -1;
    m_pLastList = nullptr;
    DrawPanel();
}

void CClientTransferOffers::UpdateBars()
{
    CGameClient::UpdateBars();
    ApplyRatingsOption(GetReceivedList());
    ApplyRatingsOption(GetOwnList());
}

// ---- the lists ----

void CClientTransferOffers::DrawPanel()
{
    CXListBox* pReceived = GetReceivedList();
    CXListBox* pOwn = GetOwnList();
    if (!pReceived || !pOwn)
        return;
    ShowAllControls(false);
    RestoreBackground(0, 0, Width(), Height());
    const LISTCOLUMN* pColumns = m_nKind == KIND_LOAN ? kLoanColumns : kTransferColumns;
    pReceived->SetUpColumns(kListLeft, kReceivedTop, kListRight, kReceivedBottom, pColumns, false, false,
                            kReceivedBottom - kReceivedTop, false);
    pOwn->SetUpColumns(kListLeft, kOwnTop, kListRight, kOwnBottom, pColumns, false, false, kOwnBottom - kOwnTop, false);
    transfer_lists::DrawCaptions(*this, m_nKind == KIND_LOAN ? kLoanCaptionSet : kTransferCaptionSet, kListLeft + 8,
                                 *pReceived, *pOwn);
    FillReceivedOffers();
    FillOwnOffers();
    ShowAllControls(true);
}

void CClientTransferOffers::AddOfferRow(CXListBox* pList, COLORREF crRow, const CPlayerDatabase& player,
                                        const CClubDatabase* pClub, uint32_t dwDate, uint32_t dwAmount, int nStatus,
                                        uint32_t dwRowData)
{
    const char* pszAmount = "";
    char szLength[16];
    if (m_nKind == KIND_LOAN) {
        std::snprintf(szLength, sizeof szLength, "%u", dwAmount);
        pszAmount = szLength;
    } else {
        pszAmount = FormatMoney(static_cast<double>(dwAmount), 0, 0, MONEY_AS_STORED, 0, 1);
    }
    const int nRow = pList->AddString(crRow, "%s\t%s\t%s\t%d\t%d\t%s\t%s", FormatPackedDate(dwDate),
                                      player.GetShortName(), pClub ? pClub->GetName() : Text(kWordsSet, kNoClubItem),
                                      player.m_byPosition, player.GetRatingForPosition(-1), pszAmount,
                                      Text(kStatusSet, nStatus));
    if (nRow < 0)
        return;
    pList->SetItemData(nRow, dwRowData);
    m_RowIcons.AddPosition(*pList, nRow, player.m_byPosition, 3);
}

void CClientTransferOffers::AddBuyOfferRow(CXListBox* pList, COLORREF crRow, const CBuyOfferDatabase& offer,
                                           const CClubDatabase* pClub, int nDaysOld)
{
    CDatabaseHandler* pDatabase = Database();
    const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(offer.GetPlayerID());
    if (!pPlayer)
        return;
    // The record keeps how long it has waited, not the day it was made.
    const CDate made(pDatabase->GetGameDate().GetValue(), -(offer.GetDaysWaited() + nDaysOld));
    AddOfferRow(pList, crRow, *pPlayer, pClub, made.GetValue(), offer.GetValue100(),
                StatusItem(offer.GetFlags(), offer.GetClubAnswer(), offer.GetPlayerAnswer(), true),
                pList == GetReceivedList() ? offer.GetOfferID() : pPlayer->m_idPerson);
}

void CClientTransferOffers::AddLoanOfferRow(CXListBox* pList, COLORREF crRow, const CLoanOfferDatabase& offer,
                                            const CClubDatabase* pClub)
{
    const CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(offer.GetPlayerID());
    if (!pPlayer)
        return;
    // The offer's day and length are its first word and first half.
    AddOfferRow(pList, crRow, *pPlayer, pClub, offer.GetWord(0), offer.GetHalf(0),
                StatusItem(offer.GetFlags(), offer.GetClubAnswer(), offer.GetPlayerAnswer(), false),
                pList == GetReceivedList() ? offer.GetOfferID() : pPlayer->m_idPerson);
}

void CClientTransferOffers::FillReceivedOffers()
{
    CXListBox* pList = GetReceivedList();
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    if (!pList || !pDatabase)
        return;
    const CClubDatabase* pOwnClub = pHuman ? pHuman->GetClub() : nullptr;
    const transfer_lists::KeptSort sort = transfer_lists::KeepSort(*pList);
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    // A player on loan stays his parent club's: an extension request comes
    // to the club he belongs to.
    auto ownedHere = [&](ID_PLAYER idPlayer) {
        const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(idPlayer);
        return pOwnClub && pPlayer && pPlayer->m_pClub == pOwnClub;
    };
    if (m_nKind == KIND_LOAN) {
        for (const CLoanOfferDatabase* pOffer : pDatabase->GetLoanOffers().Items<CLoanOfferDatabase>())
            if (ownedHere(pOffer->GetPlayerID()) && pOffer->GetClubID() != pOwnClub->GetID())
                AddLoanOfferRow(pList, kText, *pOffer, pDatabase->GetClubFromID(pOffer->GetClubID()));
    } else {
        for (const CBuyOfferDatabase* pOffer : pDatabase->GetBuyOffers().Items<CBuyOfferDatabase>())
            if (ownedHere(pOffer->GetPlayerID()) && pOffer->GetBiddingClubID() != pOwnClub->GetID())
                AddBuyOfferRow(pList, kText, *pOffer, pDatabase->GetClubFromID(pOffer->GetBiddingClubID()), 0);
    }
    transfer_lists::FinishList(*pList, sort, m_nUpperSel);
}

void CClientTransferOffers::FillOwnOffers()
{
    CXListBox* pList = GetOwnList();
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    if (!pList || !pDatabase)
        return;
    const CClubDatabase* pOwnClub = pHuman ? pHuman->GetClub() : nullptr;
    const transfer_lists::KeptSort sort = transfer_lists::KeepSort(*pList);
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    auto playerClub = [&](ID_PLAYER idPlayer) -> const CClubDatabase* {
        const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(idPlayer);
        return pPlayer ? pPlayer->m_pClub : nullptr;
    };
    // Looking at the list is seeing the answers in it.
    auto markSeen = [](auto* pOffer, bool bClubAnswerCounts) {
        const uint16_t wFlags = pOffer->GetFlags();
        if ((bClubAnswerCounts && (wFlags & OFFER_CLUB_ANSWERED) && pOffer->GetClubAnswer() != 0) ||
            ((wFlags & OFFER_PLAYER_ANSWERED) && pOffer->GetPlayerAnswer() != 0))
            pOffer->SetFlags(static_cast<uint16_t>(wFlags | OFFER_ANSWER_SEEN));
    };
    if (m_nKind == KIND_LOAN) {
        for (CLoanOfferDatabase* pOffer : pDatabase->GetLoanOffers().Items<CLoanOfferDatabase>())
            if (pOwnClub && pOffer->GetClubID() == pOwnClub->GetID()) {
                markSeen(pOffer, false);
                AddLoanOfferRow(pList, kText, *pOffer, playerClub(pOffer->GetPlayerID()));
            }
        if (pHuman)
            for (const uint8_t* pReport : pHuman->GetLoanOfferReports().Items<uint8_t>()) {
                CBinaryReader reader(pReport, kLoanReportBytes);
                CLoanOfferDatabase offer;
                if (offer.Load(reader))
                    AddLoanOfferRow(pList, kReport, offer, playerClub(offer.GetPlayerID()));
            }
    } else {
        for (CBuyOfferDatabase* pOffer : pDatabase->GetBuyOffers().Items<CBuyOfferDatabase>())
            if (pOwnClub && pOffer->GetBiddingClubID() == pOwnClub->GetID()) {
                markSeen(pOffer, true);
                AddBuyOfferRow(pList, kText, *pOffer, playerClub(pOffer->GetPlayerID()), 0);
            }
        if (pHuman)
            for (const uint8_t* pReport : pHuman->GetTransferOfferReports().Items<uint8_t>()) {
                CBinaryReader reader(pReport, kBuyReportBytes);
                CBuyOfferDatabase copy;
                if (!copy.Load(reader))
                    continue;
                // The report's age covers the copy's day count and flags:
                // the kept offer under its identifier has them whole.
                const CBuyOfferDatabase* pKept = pHuman->GetEndedBuyOffers().FindItem<CBuyOfferDatabase>(
                    [&](const CBuyOfferDatabase* p) { return p->GetOfferID() == copy.GetOfferID(); });
                const int nAge = CSaveGame::GetTransferReportAge(pReport);
                if (pKept)
                    AddBuyOfferRow(pList, kReport, *pKept, playerClub(pKept->GetPlayerID()), nAge);
                else {
                    copy.SetDaysWaited(0);
                    copy.SetFlags(0);
                    AddBuyOfferRow(pList, kReport, copy, playerClub(copy.GetPlayerID()), nAge);
                }
            }
    }
    transfer_lists::FinishList(*pList, sort, m_nLowerSel);
}

// ---- offers opened ----

void CClientTransferOffers::OnDoubleClicked(uint32_t dwID)
{
    if (dwID != ID_RECEIVED_LIST && dwID != ID_OWN_LIST)
        return;
    CXListBox* pList = dwID == ID_RECEIVED_LIST ? GetReceivedList() : GetOwnList();
    CDatabaseHandler* pDatabase = Database();
    const int nRow = pList ? pList->GetSelection() : -1;
    if (nRow < 0 || !pDatabase)
        return;
    m_pLastList = pList;
    m_nUpperSel = GetReceivedList()->GetSelection();
    m_nLowerSel = GetOwnList()->GetSelection();
    CPlayerDatabase* pPlayer = nullptr;
    const CClubDatabase* pClub = nullptr;
    RowPlayerAndClub(pList, nRow, pPlayer, pClub);
    if (!pPlayer)
        return;
    if (pList->HoverColumn() == kClubColumn) {
        OpenClubScreenOrSay(pClub);
        return;
    }
    if (pPlayer->IsRetired()) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, kClubDetailsMessage);
        return;
    }
    // A bid for one of his own players is answered in the player's details.
    if (dwID == ID_OWN_LIST) {
        OpenOwnOffer(pPlayer);
    } else if (ShowPlayerDetails(pPlayer->m_idPerson)) {
        m_pOpened = &GetPlayerDetailsPopup();
    }
}

void CClientTransferOffers::RowPlayerAndClub(const CXListBox* pList, int nRow, CPlayerDatabase*& pPlayer,
                                             const CClubDatabase*& pClub) const
{
    CDatabaseHandler* pDatabase = Database();
    pPlayer = nullptr;
    pClub = nullptr;
    if (!pDatabase || nRow < 0 || nRow >= pList->GetCount())
        return;
    const auto dwData = static_cast<uint32_t>(pList->GetItemData(nRow));
    if (pList != GetReceivedList()) {
        pPlayer = pDatabase->GetPlayerFromID(dwData);
        pClub = pPlayer ? pPlayer->m_pClub : nullptr;
    } else if (m_nKind == KIND_LOAN) {
        if (const CLoanOfferDatabase* pOffer = pDatabase->FindLoanOfferByID(dwData)) {
            pPlayer = pDatabase->GetPlayerFromID(pOffer->GetPlayerID());
            pClub = pDatabase->GetClubFromID(pOffer->GetClubID());
        }
    } else if (const CBuyOfferDatabase* pOffer = pDatabase->FindBuyOfferByID(dwData)) {
        pPlayer = pDatabase->GetPlayerFromID(pOffer->GetPlayerID());
        pClub = pDatabase->GetClubFromID(pOffer->GetBiddingClubID());
    }
}

void CClientTransferOffers::OpenOwnOffer(CPlayerDatabase* pPlayer)
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    const CClubDatabase* pOwnClub = pHuman ? pHuman->GetClub() : nullptr;
    if (!pOwnClub)
        return;
    m_pOpened = nullptr;
    if (m_nKind == KIND_LOAN) {
        if (!m_pLoanPopup)
            m_pLoanPopup = std::make_unique<CPopupApproachClubLoan>();
        if (m_pLoanPopup->Show(pPlayer))
            m_pOpened = m_pLoanPopup.get();
        return;
    }
    // A fee the selling club has agreed leaves the player's terms to settle;
    // anything else is bid for again.
    const CBuyOfferDatabase* pOffer = pDatabase->GetBuyOffer(pPlayer->m_idPerson, pOwnClub->GetID());
    const bool bFeeAgreed = pOffer && (pOffer->GetFlags() & OFFER_CLUB_ANSWERED) && pOffer->GetClubAnswer() == 0;
    if (bFeeAgreed) {
        if (!m_pNegotiationPopup)
            m_pNegotiationPopup = std::make_unique<CPopupPlayerNegotiation>();
        if (m_pNegotiationPopup->Show(pPlayer))
            m_pOpened = m_pNegotiationPopup.get();
    } else {
        if (!m_pBidPopup)
            m_pBidPopup = std::make_unique<CPopupApproachClubBuy>();
        if (m_pBidPopup->Show(pPlayer))
            m_pOpened = m_pBidPopup.get();
    }
}

void CClientTransferOffers::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    // The human may have improved or answered an offer there.
    if (pPopup && pPopup == m_pOpened) {
        m_pOpened = nullptr;
        if (m_pLastList == GetReceivedList())
            FillReceivedOffers();
        else if (m_pLastList == GetOwnList())
            FillOwnOffers();
    }
}

uint32_t CClientTransferOffers::StepLastList(int nStep)
{
    const int nRow = transfer_lists::StepSelection(m_pLastList, nStep);
    if (nRow < 0)
        return 0;
    CPlayerDatabase* pPlayer = nullptr;
    const CClubDatabase* pClub = nullptr;
    RowPlayerAndClub(m_pLastList, nRow, pPlayer, pClub);
    return pPlayer ? pPlayer->m_idPerson : 0;
}
