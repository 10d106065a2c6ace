// The list and loan markets, buy and loan offers, completed moves and the
// markets' daily steps and country events.
#include "database/CDatabaseHandler.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "common/DebugLog.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CMarketDigest.h"
#include "database/CMarketEntries.h"
#include "database/CPlayerDatabase.h"
#include "database/PersonOwners.h"
#include "platform/Random.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"

namespace {

// The fee of a completed transfer, paid between the two clubs.
constexpr int kTransferFeeCategory = 87;
constexpr uint16_t kNoLimit = 65535;
// The yearly review of a player's work permit.
constexpr uint8_t kEventWorkPermitReview = 28;
// News to the player's human club of an offer taken back.
constexpr uint16_t kNewsBuyOfferWithdrawn = 198;
constexpr uint16_t kNewsLoanOfferWithdrawn = 199;
// News to the player's human club of a loan offer made for him.
constexpr uint16_t kNewsLoanOfferMade = 197;
// News to a human's club: an offer of its own has run out.
constexpr uint16_t kNewsBuyOfferLapsed = 200;
constexpr uint16_t kNewsLoanOfferLapsed = 201;
constexpr uint8_t kOpen = CBuyOfferDatabase::COUNTDOWN_AWAITING_ANSWER;
// Buy offers left unsettled this long end.
constexpr int kBuyOfferLifeDays = 42;
// Kind of a transfer record of a player given in part exchange.
constexpr uint8_t kTransferKindExchange = 4;

// The loan offer's fields as this code keeps them in the 36-byte record.
struct LoanFields {
    static CDate Date(const CLoanOfferDatabase* p) { return CDate(p->GetWord(0)); }
    static uint32_t Wage(const CLoanOfferDatabase* p) { return p->GetWord(1); }
    static uint16_t Days(const CLoanOfferDatabase* p) { return p->GetHalf(0); }
    static uint16_t Flags(const CLoanOfferDatabase* p) { return p->GetFlags(); }
    static void SetFlags(CLoanOfferDatabase* p, uint16_t w) { p->SetFlags(w); }
    static uint8_t Open(const CLoanOfferDatabase* p) { return p->GetByte(0); }
    static void SetOpen(CLoanOfferDatabase* p, uint8_t by) { p->SetByte(0, by); }
};

void DeleteEventsEverywhere(const CXList& countries, uint8_t byType, uint32_t dwDataID)
{
    const CEventsDatabase* pCurrent = CCountryDatabase::GetCurrentEvent();
    for (CCountryDatabase* pCountry : countries.Items<CCountryDatabase>()) {
        LPXLISTNODE pNode = nullptr;
        CEventsDatabase* pEvent = pCountry->FindEvent(byType, dwDataID, &pNode);
        while (pEvent && pEvent != pCurrent) {
            pCountry->RemoveEvent(pEvent);
            delete pEvent;
            pEvent = pCountry->FindEvent(byType, dwDataID, &pNode);
        }
    }
}

void AddEventOnce(CCountryDatabase* pCountry, uint8_t byType, const CDate& date, uint32_t dwDataID)
{
    if (pCountry && !pCountry->FindEvent(byType, dwDataID))
        pCountry->AddEvent(byType, date, dwDataID);
}

// A move goes to the records of the club it leaves and, when the club it
// joins plays in another division, to that division's too.
template <typename Values, typename Add>
void RecordMove(const CClubDatabase* pFrom, const CClubDatabase* pTo, const Values& values, Add add)
{
    CDivisionDatabase* pFromDivision = pFrom ? pFrom->m_pDivision : nullptr;
    CDivisionDatabase* pToDivision = pTo ? pTo->m_pDivision : nullptr;
    if (pFromDivision)
        (pFromDivision->*add)(values);
    if (pToDivision && pToDivision != pFromDivision)
        (pToDivision->*add)(values);
}

}  // namespace

// ---- the two markets ----

CListMarketEntry* CDatabaseHandler::FindListMarketEntry(ID_PLAYER idPlayer) const
{
    return m_lstListMarket.FindOfPlayer(idPlayer, [](const CListMarketEntry*) { return true; });
}

CLoanMarketEntry* CDatabaseHandler::FindLoanMarketEntry(ID_PLAYER idPlayer) const
{
    return m_lstLoanMarket.FindOfPlayer(idPlayer, [](const CLoanMarketEntry*) { return true; });
}

int CDatabaseHandler::AddPlayerToListMarket(CPlayerDatabase* pPlayer, uint32_t dwAskingPrice, uint8_t byState,
                                            uint16_t wDays)
{
    if (!pPlayer || pPlayer->m_byTransferState != 0 ||
        (byState != PLAYER_TRANSFER_LISTED && byState != PLAYER_TRANSFER_LEAVING))
        return 2;
    if (byState == PLAYER_TRANSFER_LEAVING) {
        dwAskingPrice = 0;
        wDays = kNoLimit;
    }
    if (IsClubHumanManaged(pPlayer->m_pClub) && pPlayer->m_pCountry)
        pPlayer->m_pCountry->AddEvent(4, CDate(m_GameDate.GetValue(), 1), pPlayer->m_idPerson);
    pPlayer->m_byTransferState = byState;
    pPlayer->m_dwAskingPrice = dwAskingPrice;
    pPlayer->m_wDaysListed = 0;
    m_lstListMarket.AddTail(new CListMarketEntry(dwAskingPrice, pPlayer->m_idPerson, wDays, byState));
    return 0;
}

int CDatabaseHandler::AddPlayerToLoanMarket(CPlayerDatabase* pPlayer, uint16_t wDays)
{
    if (!pPlayer || pPlayer->m_byTransferState != 0)
        return 2;
    pPlayer->m_byTransferState = 2;
    pPlayer->m_wDaysListed = 0;
    m_lstLoanMarket.AddTail(new CLoanMarketEntry(pPlayer->m_idPerson, wDays));
    if (IsClubHumanManaged(pPlayer->m_pClub) && pPlayer->m_pCountry)
        pPlayer->m_pCountry->AddEvent(16, CDate(m_GameDate.GetValue(), 1), pPlayer->m_idPerson);
    return 0;
}

bool CDatabaseHandler::RemovePlayerFromListMarket(CPlayerDatabase* pPlayer, ID_CLUB idClub, int nMode, int nKind)
{
    if (!pPlayer)
        return false;
    if (nKind == 3 || nKind == 4)
        WithdrawPlayerBuyOffers(pPlayer, idClub, nMode, false);
    if (nKind == 3 || nKind == 5)
        WithdrawPlayerLoanOffers(pPlayer, idClub, nMode, false);
    if (pPlayer->m_byTransferState != PLAYER_TRANSFER_LISTED && pPlayer->m_byTransferState != PLAYER_TRANSFER_LEAVING)
        return false;
    // The player's first listing, as a walk of the list would find it.
    const auto& nodes = m_lstListMarket.OfPlayer(pPlayer->m_idPerson);
    if (nodes.empty())
        return false;
    LPXLISTNODE pNode = nodes.front();
    auto* pEntry = static_cast<CListMarketEntry*>(pNode->pData);
    m_lstListMarket.Remove(pNode);
    delete pEntry;
    if (pPlayer->m_pCountry)
        DeleteEventsEverywhere(m_lstCountries, 4, pPlayer->m_idPerson);
    pPlayer->m_byTransferState = 0;
    pPlayer->m_wDaysListed = 0;
    return true;
}

bool CDatabaseHandler::RemovePlayerFromLoanMarket(CPlayerDatabase* pPlayer, ID_CLUB idClub, int nMode, int nKind)
{
    if (!pPlayer)
        return false;
    if (nKind == 3 || nKind == 4)
        WithdrawPlayerBuyOffers(pPlayer, idClub, nMode, false);
    if (nKind == 3 || nKind == 5)
        WithdrawPlayerLoanOffers(pPlayer, idClub, nMode, false);
    if (pPlayer->m_byTransferState != 2)
        return false;
    const auto& nodes = m_lstLoanMarket.OfPlayer(pPlayer->m_idPerson);
    if (nodes.empty())
        return false;
    LPXLISTNODE pNode = nodes.front();
    auto* pEntry = static_cast<CLoanMarketEntry*>(pNode->pData);
    m_lstLoanMarket.Remove(pNode);
    delete pEntry;
    DeleteEventsEverywhere(m_lstCountries, 16, pPlayer->m_idPerson);
    pPlayer->m_byTransferState = 0;
    pPlayer->m_wDaysListed = 0;
    return true;
}

void CDatabaseHandler::RemoveRetiredFromMarkets(CPlayerDatabase* pPlayer)
{
    if (!pPlayer)
        return;
    RemovePlayerFromListMarket(pPlayer, 0, 2, 3);
    RemovePlayerFromLoanMarket(pPlayer, 0, 2, 3);
    WithdrawPlayerBuyOffers(pPlayer, 0, 2, false);
    WithdrawPlayerLoanOffers(pPlayer, 0, 2, false);
    LPXLISTNODE pNode = m_lstPendingTransfers.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pPending = static_cast<PENDINGTRANSFER*>(pNode->pData);
        if (pPending->pOffer && pPending->pOffer->GetPlayerID() == pPlayer->m_idPerson) {
            m_lstPendingTransfers.Remove(pNode);
            delete pPending->pOffer;
            delete pPending;
        }
        pNode = pNext;
    }
}

bool CDatabaseHandler::RetirePlayer(CPlayerDatabase* pPlayer)
{
    if (!pPlayer || !(pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING))
        return false;
    LPITEMPLAYERINFORMATION pEntry = GetPlayerInformation(pPlayer->m_idPerson);
    if (!pEntry || pEntry->pPlayer != pPlayer || (pEntry->dwFlags & PLAYERINFO_RETIRED))
        return false;
    RemoveRetiredFromMarkets(pPlayer);
    if (pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN)
        TransferPlayerLoan(pPlayer, 0, false, 0);
    CClubDatabase* pClub = pPlayer->m_pClub;
    const uint8_t bySquadNumber = pPlayer->m_bySquadNumber;
    // A free player leaves his country's list, which held him.
    CCountryDatabase* pFreeList =
        !pClub && pPlayer->m_pCountry && pPlayer->m_pCountry->RemoveCountryPlayer(pPlayer) ? pPlayer->m_pCountry : nullptr;
    if (pClub) {
        pClub->RemovePlayer(pPlayer, true);
        pClub->RemoveTransferTargetByPlayer(pPlayer->m_idPerson);
        // A human's team sheet lets go of him while his record still exists.
        if (CSaveGame* pHuman = GetSaveGameForClub(pClub))
            pHuman->OnPlayerLeft(pPlayer);
    }
    DebugLog(2, "[CDatabaseHandler::RetirePlayer] %s retires from %s", pPlayer->GetShortName(),
             pClub ? pClub->GetName() : "no club");
    if (!SavePlayerRetired(pEntry)) {
        DebugLog(0, "[CDatabaseHandler::RetirePlayer] %s could not be written to the retired file and stays",
                 pPlayer->GetShortName());
        if (pClub) {
            pPlayer->m_bySquadNumber = bySquadNumber;
            pClub->AddPlayer(pPlayer, false);
            pClub->UpdateSquadAverages();
        }
        if (pFreeList)
            pFreeList->AddCountryPlayer(pPlayer);
        return false;
    }
    if (pClub)
        pClub->UpdateSquadAverages();
    return true;
}

// ---- offers ----

int CDatabaseHandler::CountOpenBuyOffers(ID_PLAYER idPlayer) const
{
    int n = 0;
    for (LPXLISTNODE pNode : m_lstBuyOffers.OfPlayer(idPlayer))
        n += static_cast<const CBuyOfferDatabase*>(pNode->pData)->GetCountdown() != 0;
    return n;
}

int CDatabaseHandler::CountOpenLoanOffers(ID_PLAYER idPlayer) const
{
    int n = 0;
    for (LPXLISTNODE pNode : m_lstLoanOffers.OfPlayer(idPlayer))
        n += LoanFields::Open(static_cast<const CLoanOfferDatabase*>(pNode->pData)) != 0;
    return n;
}

bool CDatabaseHandler::HasOfferAwaitingAnswer(const CClubDatabase* pClub)
{
    if (!pClub)
        return false;
    auto owns = [&](ID_PLAYER idPlayer, bool bExtension) {
        const CPlayerDatabase* pPlayer = GetPlayerFromID(idPlayer);
        if (!pPlayer)
            return false;
        return bExtension ? pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN && pPlayer->m_wLoanClubId == pClub->m_wClubId
                          : pPlayer->m_pClub == pClub;
    };
    for (const CBuyOfferDatabase* p : m_lstBuyOffers.Items<CBuyOfferDatabase>())
        if (!(p->GetFlags() & BUYOFFER_ANSWERED) && owns(p->GetPlayerID(), false))
            return true;
    for (const CLoanOfferDatabase* p : m_lstLoanOffers.Items<CLoanOfferDatabase>())
        if (!(p->GetFlags() & LOANOFFER_ANSWERED) && owns(p->GetPlayerID(), p->GetKind() == 1))
            return true;
    return false;
}

CBuyOfferDatabase* CDatabaseHandler::GetBuyOffer(ID_PLAYER idPlayer, ID_CLUB idClub) const
{
    return m_lstBuyOffers.FindOfPlayer(idPlayer,
                                       [&](const CBuyOfferDatabase* p) { return p->GetBiddingClubID() == idClub; });
}

CLoanOfferDatabase* CDatabaseHandler::GetLoanOffer(ID_PLAYER idPlayer, ID_CLUB idClub) const
{
    return m_lstLoanOffers.FindOfPlayer(idPlayer, [&](const CLoanOfferDatabase* p) { return p->GetClubID() == idClub; });
}

CBuyOfferDatabase* CDatabaseHandler::FindBuyOfferByID(uint32_t dwOfferID) const
{
    return m_lstBuyOffers.List().FindItem<CBuyOfferDatabase>(
        [&](const CBuyOfferDatabase* p) { return p->GetOfferID() == dwOfferID; });
}

CLoanOfferDatabase* CDatabaseHandler::FindLoanOfferByID(uint32_t dwOfferID) const
{
    return m_lstLoanOffers.List().FindItem<CLoanOfferDatabase>(
        [&](const CLoanOfferDatabase* p) { return p->GetOfferID() == dwOfferID; });
}

bool CDatabaseHandler::IsPendingTransfer(ID_PLAYER idPlayer) const
{
    for (const PENDINGTRANSFER* p : m_lstPendingTransfers.Items<PENDINGTRANSFER>())
        if (p->pOffer && p->pOffer->GetPlayerID() == idPlayer)
            return true;
    return false;
}

int CDatabaseHandler::MakeBuyOfferToClub(CPlayerDatabase* pPlayer, CClubDatabase* pClub, int32_t nTotal,
                                         const uint32_t* pTerms, uint32_t dwValue1, uint32_t dwValue2)
{
    if (!pPlayer || !pClub || pPlayer->IsRetired() || (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) || nTotal < 0)
        return 2;
    if (pPlayer->m_pClub == pClub)
        return OfferNewContract(pPlayer, pClub);
    if ((pPlayer->m_dwFlags & (PLAYER_FLAG_NOT_FOR_SALE | PLAYER_FLAG_NEWLY_SIGNED)) &&
        nTotal < static_cast<int64_t>(pPlayer->m_dwAskingPrice)) {
        DebugLog(1, "[CDatabaseHandler::MakeBuyOfferToClub] Player has just been bought or not for sale and the offer "
                    "is less than asking price");
        return 2;
    }
    // A human's bid made again replaces his standing one; a computer club
    // bids once.
    CBuyOfferDatabase* pStanding = GetBuyOffer(pPlayer->m_idPerson, pClub->GetID());
    if (IsPendingTransfer(pPlayer->m_idPerson) || (pStanding && !IsClubHumanManaged(pClub)) ||
        (!pStanding && CountOpenBuyOffers(pPlayer->m_idPerson) > 6))
        return 2;
    if (pClub->m_pCountry && !pClub->m_pCountry->IsTransferWindowOpenToday())
        return 2;
    if (pClub->MustRefusePurchase(pPlayer, nTotal, GetSaveGameForClub(pPlayer->m_pClub)))
        return 2;
    CBuyOfferDatabase* pOffer = pStanding;
    if (pStanding) {
        const uint32_t dwOfferID = pStanding->GetOfferID();
        for (uint8_t byType : {3, 6, 10, 11, 12, 13, 14})
            DeleteEventsEverywhere(m_lstCountries, byType, dwOfferID);
        *pStanding = CBuyOfferDatabase();
        pStanding->SetOfferID(dwOfferID);
    } else {
        pOffer = new CBuyOfferDatabase;
        pOffer->SetOfferID(++m_dwOfferID);
    }
    pOffer->SetPlayerID(pPlayer->m_idPerson);
    pOffer->SetBiddingClubID(pClub->GetID());
    pOffer->SetSecondParty(GetClubIdOf(pPlayer->m_pClub));
    pOffer->SetValue100(static_cast<uint32_t>(nTotal));
    pOffer->SetValue108(dwValue1);
    pOffer->SetValue116(dwValue2);
    for (int i = 0; pTerms && i < CBuyOfferDatabase::TERMS; ++i)
        pOffer->SetTerm(i, pTerms[i]);
    pOffer->SetCountdown(kOpen);
    // The lists are kept by player: a new offer joins once it names him.
    if (!pStanding) {
        m_lstBuyOffers.AddTail(pOffer);
        ++m_nBuyOfferCount;
    }
    // A player with a club: his club answers in a day; a free player weighs
    // the offer himself once a contract is proposed.
    if (pPlayer->m_pClub)
        AddEventOnce(pPlayer->m_pCountry, 5, CDate(m_GameDate.GetValue(), 1), pPlayer->m_idPerson);
    else
        pClub->ProposeBuyContract(pOffer);
    return 0;
}

int CDatabaseHandler::OfferNewContract(CPlayerDatabase* pPlayer, CClubDatabase* pClub)
{
    // His own club has no fee to agree: the offer starts agreed with the
    // club and waits for the contract put to him.
    if (IsPendingTransfer(pPlayer->m_idPerson) || GetBuyOffer(pPlayer->m_idPerson, pClub->GetID()))
        return 2;
    auto* pOffer = new CBuyOfferDatabase;
    pOffer->SetOfferID(++m_dwOfferID);
    pOffer->SetPlayerID(pPlayer->m_idPerson);
    pOffer->SetBiddingClubID(pClub->GetID());
    pOffer->SetSecondParty(pClub->GetID());
    pOffer->SetFlags(BUYOFFER_ANSWERED);
    pOffer->SetClubAnswer(0);
    pOffer->SetCountdown(kOpen);
    m_lstBuyOffers.AddTail(pOffer);
    ++m_nBuyOfferCount;
    return 0;
}

int CDatabaseHandler::MakeLoanOffer(CPlayerDatabase* pPlayer, uint8_t byKind, ID_CLUB idClub, uint16_t wDays,
                                    uint32_t dwWage)
{
    CClubDatabase* pClub = GetClubFromID(idClub);
    if (!pPlayer || !pClub)
        return 2;
    if ((pPlayer->m_pClub == pClub && pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN) ||
        IsPendingTransfer(pPlayer->m_idPerson))
        return 2;
    CLoanOfferDatabase* pOffer = GetLoanOffer(pPlayer->m_idPerson, idClub);
    const bool bHuman = IsClubHumanManaged(pClub);
    if (pOffer) {
        pOffer->SetWord(0, m_GameDate.GetValue());
        pOffer->SetHalf(0, wDays);
        pOffer->SetWord(1, dwWage);
        LoanFields::SetFlags(pOffer, 0);
        LoanFields::SetOpen(pOffer, kOpen);
        DeleteEventsEverywhere(m_lstCountries, 21, pOffer->GetOfferID());
    } else {
        if (!bHuman && CountOpenLoanOffers(pPlayer->m_idPerson) > 5)
            return 2;
        pOffer = new CLoanOfferDatabase;
        pOffer->SetOfferID(++m_dwLoanOfferID);
        pOffer->SetKind(byKind);
        pOffer->SetClubID(idClub);
        pOffer->SetPlayerID(pPlayer->m_idPerson);
        pOffer->SetWord(0, m_GameDate.GetValue());
        pOffer->SetHalf(0, wDays);
        pOffer->SetWord(1, dwWage);
        LoanFields::SetOpen(pOffer, kOpen);
        m_lstLoanOffers.AddTail(pOffer);
        ++m_nLoanOfferCount;
    }
    if (bHuman && pClub->m_pCountry)
        pClub->m_pCountry->AddEvent(15, CDate(m_GameDate.GetValue(), 1), pOffer->GetOfferID());
    if (pPlayer->m_pClub) {
        if (IsClubHumanManaged(pPlayer->m_pClub)) {
            if (CNewsItem* pItem = pPlayer->m_pClub->AddNewsItem(kNewsLoanOfferMade)) {
                pItem->SetSlot(NEWS_SLOT_PERSON, pPlayer->m_idPerson);
                pItem->SetSlot(NEWS_SLOT_CLUB_B, idClub);
                pItem->SetSlot(NEWS_SLOT_VALUE, pOffer->GetOfferID());
            }
        }
        else if (byKind == 0)
            AddEventOnce(pPlayer->m_pCountry, 17, CDate(m_GameDate.GetValue(), 7), pPlayer->m_idPerson);
        else if (pPlayer->m_pCountry)
            pPlayer->m_pCountry->AddEvent(19, CDate(m_GameDate.GetValue(), 7), pOffer->GetOfferID());
    }
    return 0;
}

int CDatabaseHandler::WithdrawBuyOffer(ID_PLAYER idPlayer, ID_CLUB idClub, bool bNotify)
{
    CBuyOfferDatabase* pOffer = GetBuyOffer(idPlayer, idClub);
    if (!pOffer)
        return 2;
    for (uint8_t byType : {3, 6, 10, 11, 12, 13, 14})
        DeleteEventsEverywhere(m_lstCountries, byType, pOffer->GetOfferID());
    if (bNotify)
        if (CPlayerDatabase* pPlayer = GetPlayerFromID(idPlayer); pPlayer && pPlayer->m_pClub)
            if (CNewsItem* pItem = pPlayer->m_pClub->AddNewsItem(kNewsBuyOfferWithdrawn))
                pItem->SetSlot(NEWS_SLOT_PERSON, idPlayer);
    m_lstBuyOffers.Remove(m_lstBuyOffers.Find(pOffer));
    delete pOffer;
    --m_nBuyOfferCount;
    return 0;
}

int CDatabaseHandler::WithdrawLoanOffer(ID_PLAYER idPlayer, ID_CLUB idClub, bool bNotify)
{
    CLoanOfferDatabase* pOffer = GetLoanOffer(idPlayer, idClub);
    if (!pOffer)
        return 2;
    for (uint8_t byType : {6, 15, 19, 20, 22, 23, 24, 25})
        DeleteEventsEverywhere(m_lstCountries, byType, pOffer->GetOfferID());
    if (bNotify)
        if (CPlayerDatabase* pPlayer = GetPlayerFromID(idPlayer); pPlayer && pPlayer->m_pClub)
            if (CNewsItem* pItem = pPlayer->m_pClub->AddNewsItem(kNewsLoanOfferWithdrawn))
                pItem->SetSlot(NEWS_SLOT_PERSON, idPlayer);
    m_lstLoanOffers.Remove(m_lstLoanOffers.Find(pOffer));
    delete pOffer;
    --m_nLoanOfferCount;
    return 0;
}

void CDatabaseHandler::WithdrawPlayerBuyOffers(CPlayerDatabase* pPlayer, ID_CLUB idClub, int nMode, bool bKeep)
{
    if (!pPlayer)
        return;
    // A copy: removing an offer changes the player's nodes.
    const std::vector<LPXLISTNODE> nodes = m_lstBuyOffers.OfPlayer(pPlayer->m_idPerson);
    for (LPXLISTNODE pNode : nodes) {
        auto* pOffer = static_cast<CBuyOfferDatabase*>(pNode->pData);
        DeleteEventsEverywhere(m_lstCountries, 14, pOffer->GetOfferID());
        // A human's bid that ends this way reads as refused by whoever
        // had not yet said yes.
        if (IsClubHumanManaged(GetClubFromID(pOffer->GetBiddingClubID())) &&
            !IsClubHumanManaged(GetClubFromID(idClub))) {
            if (!(pOffer->GetFlags() & BUYOFFER_ANSWERED)) {
                pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | BUYOFFER_ANSWERED));
                pOffer->SetClubAnswer(1);
            } else if (pOffer->GetClubAnswer() == 0) {
                pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | BUYOFFER_PLAYER_ANSWERED));
                pOffer->SetPlayerAnswer(1);
            }
        }
        const bool bKept = bKeep && pOffer->GetBiddingClubID() == idClub;
        if (nMode == 1) {
            if (bKept)
                pOffer->SetFinished(true);
            else
                pOffer->SetCountdown(0);
        } else if (!bKept) {
            m_lstBuyOffers.Remove(pNode);
            --m_nBuyOfferCount;
            delete pOffer;
        }
    }
}

void CDatabaseHandler::WithdrawPlayerLoanOffers(CPlayerDatabase* pPlayer, ID_CLUB idClub, int nMode, bool bKeep)
{
    if (!pPlayer)
        return;
    // A copy: removing an offer changes the player's nodes.
    const std::vector<LPXLISTNODE> nodes = m_lstLoanOffers.OfPlayer(pPlayer->m_idPerson);
    for (LPXLISTNODE pNode : nodes) {
        auto* pOffer = static_cast<CLoanOfferDatabase*>(pNode->pData);
        for (uint8_t byType : {19, 20, 25})
            DeleteEventsEverywhere(m_lstCountries, byType, pOffer->GetOfferID());
        const bool bKept = bKeep && pOffer->GetClubID() == idClub;
        if (nMode == 1) {
            if (bKept)
                pOffer->SetByte(1, 1);
            else
                LoanFields::SetOpen(pOffer, 0);
        } else if (!bKept) {
            m_lstLoanOffers.Remove(pNode);
            --m_nLoanOfferCount;
            delete pOffer;
        }
    }
}

// ---- completed moves ----

int CDatabaseHandler::TransferPlayer(CBuyOfferDatabase* pOffer)
{
    if (!pOffer)
        return 2;
    CPlayerDatabase* pPlayer = GetPlayerFromID(pOffer->GetPlayerID());
    CClubDatabase* pBuyer = GetClubFromID(pOffer->GetBiddingClubID());
    if (pPlayer && pBuyer && pPlayer->m_pClub == pBuyer && (pOffer->GetFlags() & BUYOFFER_CONTRACT_PROPOSED) &&
        !(pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING))
        return SignNewContract(pPlayer, pOffer);
    if (!pPlayer || !pBuyer || pPlayer->m_pClub == pBuyer || (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING)) {
        DebugLog(1, "[CDatabaseHandler::TransferPlayer] Offer %u can no longer be completed", pOffer->GetOfferID());
        return 2;
    }
    // Several players may accept one club's offers on the same day: the
    // squad limit is checked again when each move completes.
    if (pBuyer->MustRefusePurchase(pPlayer, 0, nullptr)) {
        DebugLog(1, "[CDatabaseHandler::TransferPlayer] %s has no room for %s", pBuyer->m_szName,
                 pPlayer->GetShortName());
        return 2;
    }
    if (LPXLISTNODE pNode = m_lstBuyOffers.Find(pOffer)) {
        m_lstBuyOffers.Remove(pNode);
        --m_nBuyOfferCount;
    }
    // A country whose window is shut holds the move until the window opens.
    CDate windowEnd;
    if (pBuyer->m_pCountry && !pBuyer->m_pCountry->GetTransferWindowState(&windowEnd)) {
        AddPendingTransfer(CDate(windowEnd.GetValue(), 1).GetValue(), pOffer);
        return 0;
    }
    CClubDatabase* pSeller = pPlayer->m_pClub;
    const bool bFree = pPlayer->m_byTransferState == PLAYER_TRANSFER_LEAVING || !pSeller;
    const int32_t nFee = bFree ? 0 : static_cast<int32_t>(pOffer->GetValue100());
    if (pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN)
        TransferPlayerLoan(pPlayer, 0, false, 0);
    const uint8_t byListing = pPlayer->m_byTransferState;
    RemovePlayerFromListMarket(pPlayer, 0, 2, 3);
    RemovePlayerFromLoanMarket(pPlayer, 0, 2, 3);
    WithdrawPlayerBuyOffers(pPlayer, 0, 2, false);
    WithdrawPlayerLoanOffers(pPlayer, 0, 2, false);

    if (!pSeller && pPlayer->m_pCountry)
        pPlayer->m_pCountry->RemoveCountryPlayer(pPlayer);
    if (pSeller)
        pSeller->PayOutstandingInstalments(*pPlayer);
    // A fee in instalments: the first now, with what rounding leaves over,
    // the rest month by month from the player's terms (his new club's
    // finance run).
    const int nInstalments = static_cast<int>(pOffer->GetTerm(PLAYER_TERMS_COUNTS) & 0xFF);
    const int64_t nInstalment = pOffer->GetTerm(PLAYER_TERMS_INSTALMENT);
    const bool bByInstalments =
        nFee > 0 && pSeller && nInstalments > 1 && nInstalment > 0 && nInstalment * (nInstalments - 1) < nFee;
    const int32_t nPaidNow =
        bByInstalments ? static_cast<int32_t>(nFee - nInstalment * (nInstalments - 1)) : nFee;
    for (int i = 0; i < PLAYER_TRANSFER_BLOCK_WORDS; ++i)
        pPlayer->m_adwTransferBlock[i] = bFree ? 0 : pOffer->GetTerm(i);
    uint32_t& dwCounts = pPlayer->m_adwTransferBlock[PLAYER_TERMS_COUNTS];
    dwCounts = (dwCounts & ~0xFFu) | static_cast<uint32_t>(bByInstalments ? nInstalments - 1 : 0);
    pPlayer->m_adwTransferBlock[PLAYER_TERMS_FORMER_CLUB] = pSeller ? pSeller->m_wClubId : 0;
    if (pSeller) {
        pSeller->NoteFeeOfSecondKind(pPlayer, nFee);
        pSeller->RemovePlayer(pPlayer, true);
        pSeller->AddFinanceTransaction(kTransferFeeCategory, nPaidNow, 0, pPlayer->m_idPerson, pBuyer->m_wClubId);
        pSeller->RemoveTransferTargetByPlayer(pPlayer->m_idPerson);
    }
    pBuyer->AddFinanceTransaction(kTransferFeeCategory, 0, nPaidNow, pPlayer->m_idPerson,
                                  pSeller ? pSeller->m_wClubId : 0);
    pBuyer->NoteFeeOfFirstKind(pPlayer, nFee, pSeller);
    pPlayer->m_bySquadNumber = pBuyer->GetLowestFreeSquadNumber();
    pBuyer->AddPlayer(pPlayer, true);
    pBuyer->RemoveTransferTargetByPlayer(pPlayer->m_idPerson);
    // The cups he has played in this season are closed to him at his new
    // club, and his new country decides on his permit.
    pPlayer->CarryCupTies();
    DeleteEventsEverywhere(m_lstCountries, kEventWorkPermitReview, pPlayer->m_idPerson);
    pPlayer->DoWorkPermitTest();
    if (pOffer->GetFlags() & BUYOFFER_CONTRACT_PROPOSED) {
        uint32_t adwWords[CBuyOfferDatabase::CONTRACT_WORDS];
        for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
            adwWords[i] = pOffer->GetContractWord(i);
        CPlayerDatabase::UnpackContract(adwWords, pPlayer->m_Contract);
    } else {
        pPlayer->GenerateContract(pPlayer->m_Contract, pBuyer->m_pDivision, pBuyer, false);
    }
    pPlayer->DrawContractClauses();
    pPlayer->m_dwAskingPrice = 0;
    pPlayer->m_byTransferState = 0;
    // His old club's release does not follow him.
    pPlayer->m_dwFlags &= ~PLAYER_FLAG_RELEASED;
    pPlayer->AddCareerEntry(pBuyer, true);
    pBuyer->UpdateSquadAverages();
    if (pSeller)
        pSeller->UpdateSquadAverages();
    TRANSFERHISTORYVALUES record;
    record.dwValue0 = pPlayer->m_idPerson;
    record.dwValue1 = static_cast<uint32_t>(nFee);
    record.wValue0 = pSeller ? pSeller->m_wClubId : 0;
    record.wValue1 = pBuyer->m_wClubId;
    record.date = m_GameDate;
    record.byValue = byListing;
    RecordMove(pSeller, pBuyer, record, &CDivisionDatabase::AddTransferRecord);
    DebugLog(2, "[CDatabaseHandler::TransferPlayer] %s moves from %s to %s for %d", pPlayer->GetShortName(),
             pSeller ? pSeller->GetName() : "no club", pBuyer->GetName(), nFee);
    // The buyer's player offered in part exchange goes the other way.
    if (CPlayerDatabase* pExchange = pSeller ? GetPlayerFromID(pOffer->GetExchangePlayerID()) : nullptr;
        pExchange && pExchange != pPlayer)
        TransferPlayerExchange(pExchange, pBuyer, pSeller);
    delete pOffer;
    return 0;
}

int CDatabaseHandler::SignNewContract(CPlayerDatabase* pPlayer, CBuyOfferDatabase* pOffer)
{
    uint32_t adwWords[CBuyOfferDatabase::CONTRACT_WORDS];
    for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
        adwWords[i] = pOffer->GetContractWord(i);
    CPlayerDatabase::UnpackContract(adwWords, pPlayer->m_Contract);
    pPlayer->m_dwFlags &= ~PLAYER_FLAG_CONTRACT_REQUEST;
    DebugLog(2, "[CDatabaseHandler::TransferPlayer] %s signs a new contract", pPlayer->GetShortName());
    WithdrawBuyOffer(pPlayer->m_idPerson, pOffer->GetBiddingClubID(), false);
    return 0;
}

bool CDatabaseHandler::TransferPlayerExchange(CPlayerDatabase* pPlayer, CClubDatabase* pOfferingClub,
                                              CClubDatabase* pReceiver)
{
    if (!pPlayer || !pOfferingClub || !pReceiver || pPlayer->m_pClub != pOfferingClub) {
        DebugLog(0, "[CDatabaseHandler::TransferPlayerExchange] The player to exchange does not belong to the club that "
                    "made the offer!");
        return false;
    }
    if (pReceiver == pOfferingClub)
        return false;
    if (pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN)
        TransferPlayerLoan(pPlayer, 0, false, 0);
    RemovePlayerFromLoanMarket(pPlayer, 0, 2, 5);
    RemovePlayerFromListMarket(pPlayer, 0, 2, 3);
    pOfferingClub->RemovePlayer(pPlayer, true);
    pOfferingClub->RemoveTransferTargetByPlayer(pPlayer->m_idPerson);
    if (CSaveGame* pHuman = GetSaveGameForClub(pOfferingClub))
        pHuman->OnPlayerLeft(pPlayer);
    pPlayer->m_bySquadNumber = pReceiver->GetLowestFreeSquadNumber();
    pReceiver->AddPlayer(pPlayer, true);
    pReceiver->RemoveTransferTargetByPlayer(pPlayer->m_idPerson);
    pPlayer->CarryCupTies();
    DeleteEventsEverywhere(m_lstCountries, kEventWorkPermitReview, pPlayer->m_idPerson);
    pPlayer->DoWorkPermitTest();
    pPlayer->RemoveAllMatchInformation();
    pOfferingClub->PayOutstandingInstalments(*pPlayer);
    pPlayer->AddCareerEntry(pReceiver, true);
    // He comes in exchange: no terms of his own move.
    std::fill(std::begin(pPlayer->m_adwTransferBlock), std::end(pPlayer->m_adwTransferBlock), 0u);
    pPlayer->GenerateContract(pPlayer->m_Contract, pReceiver->m_pDivision, pReceiver, false);
    pPlayer->DrawContractClauses();
    pPlayer->m_dwAskingPrice = 0;
    pPlayer->m_byTransferState = 0;
    pPlayer->m_dwFlags &= ~PLAYER_FLAG_RELEASED;
    pReceiver->UpdateSquadAverages();
    pOfferingClub->UpdateSquadAverages();
    TRANSFERHISTORYVALUES record;
    record.dwValue0 = pPlayer->m_idPerson;
    record.dwValue1 = 0;
    record.wValue0 = pOfferingClub->m_wClubId;
    record.wValue1 = pReceiver->m_wClubId;
    record.date = m_GameDate;
    record.byValue = kTransferKindExchange;
    RecordMove(pOfferingClub, pReceiver, record, &CDivisionDatabase::AddTransferRecord);
    DebugLog(2, "[CDatabaseHandler::TransferPlayerExchange] %s goes from %s to %s in exchange",
             pPlayer->GetShortName(), pOfferingClub->GetName(), pReceiver->GetName());
    return true;
}

int CDatabaseHandler::MakeOfferToPlayer(ID_PLAYER idPlayer, ID_CLUB idClub, const PLAYERCONTRACT& contract)
{
    CBuyOfferDatabase* pOffer = GetBuyOffer(idPlayer, idClub);
    if (!pOffer) {
        DebugLog(0, "[CDatabaseHandler::MakeOfferToPlayer] : Can't find the appropriate offer!");
        return 2;
    }
    pOffer->SetFlags(static_cast<uint16_t>((pOffer->GetFlags() & ~(BUYOFFER_PLAYER_ANSWERED | BUYOFFER_PROPOSAL_KEPT)) |
                                           BUYOFFER_CONTRACT_PROPOSED));
    uint32_t adwWords[CBuyOfferDatabase::CONTRACT_WORDS];
    CPlayerDatabase::PackContract(contract, adwWords);
    for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
        pOffer->SetContractWord(i, adwWords[i]);
    CPlayerDatabase* pPlayer = GetPlayerFromID(idPlayer);
    if (pPlayer)
        AddEventOnce(pPlayer->m_pCountry, 8, CDate(m_GameDate.GetValue(), 7), idPlayer);
    CClubDatabase* pClub = GetClubFromID(idClub);
    CCountryDatabase* pClubCountry = pClub ? pClub->m_pCountry : nullptr;
    if (pClubCountry && IsClubHumanManaged(pClub))
        pClubCountry->AddEvent(7, CDate(m_GameDate.GetValue(), 1), pOffer->GetOfferID());
    if (pClubCountry)
        if (CEventsDatabase* pEvent = pClubCountry->FindEvent(9, pOffer->GetOfferID())) {
            pClubCountry->RemoveEvent(pEvent);
            delete pEvent;
        }
    return 0;
}

int CDatabaseHandler::TransferPlayerLoan(CPlayerDatabase* pPlayer, ID_CLUB idClub, bool bLoan, uint16_t wDays)
{
    if (!pPlayer)
        return 2;
    if (!pPlayer->m_pClub) {
        DebugLog(0, "[CDatabaseHandler::TransferPlayerLoan] Attempting to transfer a player with no club when one is "
                    "expected!");
        return 2;
    }
    if (!bLoan) {
        if (pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN)
            return 2;
        if (CClubDatabase* pBorrower = GetClubFromID(pPlayer->m_wLoanClubId)) {
            pBorrower->RemoveLoanIn(pPlayer);
            pBorrower->UpdateSquadAverages();
        }
        DeleteEventsEverywhere(m_lstCountries, 26, pPlayer->m_idPerson);
        pPlayer->m_byTransferState = 0;
        pPlayer->m_wLoanClubId = 0;
        pPlayer->m_pClub->UpdateSquadAverages();
        return 0;
    }
    CClubDatabase* pBorrower = GetClubFromID(idClub);
    if (!pBorrower || pBorrower == pPlayer->m_pClub || pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN ||
        wDays == 0)
        return 2;
    if (pBorrower->MustRefuseLoanIn(pPlayer, GetSaveGameForClub(pPlayer->m_pClub)) ||
        pPlayer->m_pClub->MustRefuseLoanOut(pPlayer, GetSaveGameForClub(pBorrower)))
        return 2;
    RemovePlayerFromListMarket(pPlayer, 0, 2, 0);
    RemovePlayerFromLoanMarket(pPlayer, 0, 2, 3);
    pPlayer->m_byTransferState = PLAYER_TRANSFER_ON_LOAN;
    pPlayer->m_wLoanClubId = idClub;
    pBorrower->AddLoanIn(pPlayer);
    ++pBorrower->m_bySeasonLoans;
    if (pPlayer->m_pCountry)
        pPlayer->m_pCountry->AddEvent(26, CDate(m_GameDate.GetValue(), wDays), pPlayer->m_idPerson);
    pBorrower->UpdateSquadAverages();
    pPlayer->m_pClub->UpdateSquadAverages();
    LOANHISTORYVALUES record;
    record.dwValue = pPlayer->m_idPerson;
    record.awValues[0] = pPlayer->m_pClub->m_wClubId;
    record.awValues[1] = idClub;
    record.awValues[2] = wDays;
    record.awValues[3] = static_cast<uint16_t>(m_GameDate.GetYear());
    record.abyValues[0] = static_cast<uint8_t>(m_GameDate.GetDay());
    record.abyValues[1] = static_cast<uint8_t>(m_GameDate.GetMonth());
    RecordMove(pPlayer->m_pClub, pBorrower, record, &CDivisionDatabase::AddLoanRecord);
    DebugLog(2, "[CDatabaseHandler::TransferPlayerLoan] %s goes on loan from %s to %s for %d days",
             pPlayer->GetShortName(), pPlayer->m_pClub->GetName(), pBorrower->GetName(), wDays);
    return 0;
}

void CDatabaseHandler::ExtendLoan(CPlayerDatabase* pPlayer, int nDays)
{
    if (!pPlayer || !pPlayer->m_pCountry)
        return;
    LPXLISTNODE pNode = nullptr;
    CEventsDatabase* pEvent = pPlayer->m_pCountry->FindEvent(26, pPlayer->m_idPerson, &pNode);
    if (!pEvent) {
        DebugLog(0, "[CDatabaseHandler::ExtendLoan] Could not find the return loan event to extend the loan!");
        return;
    }
    const CDate when(pEvent->GetDate().GetValue(), nDays);
    pPlayer->m_pCountry->RemoveEvent(pEvent);
    delete pEvent;
    pPlayer->m_pCountry->AddEvent(26, when, pPlayer->m_idPerson);
}

// ---- the daily steps ----

void CDatabaseHandler::DoTransferBuyEventsUpdate(const CDate& previous)
{
    const int d = std::max(0, m_GameDate.DaysBetween(previous));

    // Moves held back by a shut window.
    LPXLISTNODE pNode = m_lstPendingTransfers.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pPending = static_cast<PENDINGTRANSFER*>(pNode->pData);
        if (CDate(pPending->dwDate) <= m_GameDate) {
            m_lstPendingTransfers.Remove(pNode);
            CBuyOfferDatabase* pOffer = pPending->pOffer;
            delete pPending;
            if (TransferPlayer(pOffer) != 0)
                delete pOffer;
        }
        pNode = pNext;
    }

    // Offers age; an offer nobody settles ends.
    for (CBuyOfferDatabase* pOffer : m_lstBuyOffers.Items<CBuyOfferDatabase>()) {
        pOffer->SetDaysWaited(static_cast<uint16_t>(std::min(65535, pOffer->GetDaysWaited() + d)));
        if (pOffer->GetDaysWaited() > kBuyOfferLifeDays && !IsClubHumanManaged(GetClubFromID(pOffer->GetBiddingClubID())))
            pOffer->SetCountdown(0);
    }

    // Ended offers leave the list; a closed one is kept by whoever closed it.
    pNode = m_lstBuyOffers.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pOffer = static_cast<CBuyOfferDatabase*>(pNode->pData);
        if (pOffer->GetCountdown() == 0 || pOffer->IsFinished()) {
            DeleteEventsEverywhere(m_lstCountries, 14, pOffer->GetOfferID());
            m_lstBuyOffers.Remove(pNode);
            --m_nBuyOfferCount;
            if (pOffer->GetCountdown() == 0 && !pOffer->IsFinished()) {
                // The human who made it keeps it for his offer lists.
                if (CSaveGame* pHuman = GetSaveGameForClub(GetClubFromID(pOffer->GetBiddingClubID())))
                    pHuman->TakeEndedBuyOffer(pOffer);
                else
                    delete pOffer;
            }
        }
        pNode = pNext;
    }
    pNode = m_lstLoanOffers.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pOffer = static_cast<CLoanOfferDatabase*>(pNode->pData);
        if (LoanFields::Open(pOffer) == 0 || pOffer->GetByte(1) != 0) {
            m_lstLoanOffers.Remove(pNode);
            --m_nLoanOfferCount;
            if (pOffer->GetByte(1) == 0) {
                if (CSaveGame* pHuman = GetSaveGameForClub(GetClubFromID(pOffer->GetClubID())))
                    pHuman->TakeEndedLoanOffer(pOffer);
                else
                    delete pOffer;
            }
        }
        pNode = pNext;
    }

    // Listings age and expire; a free transfer never does.
    pNode = m_lstListMarket.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pEntry = static_cast<CListMarketEntry*>(pNode->pData);
        CPlayerDatabase* pPlayer = GetPlayerFromID(pEntry->GetPlayerID());
        if (!pPlayer) {
            m_lstListMarket.Remove(pNode);
            delete pEntry;
        } else {
            pPlayer->m_wDaysListed = static_cast<uint16_t>(std::min(65535, pPlayer->m_wDaysListed + d));
            if (pPlayer->m_byTransferState != PLAYER_TRANSFER_LEAVING && pEntry->GetValue() != kNoLimit) {
                const int nLeft = pEntry->GetValue() - d;
                pEntry->SetValue(static_cast<uint16_t>(std::max(0, nLeft)));
                if (nLeft <= 0 && !RemovePlayerFromListMarket(pPlayer, 0, 2, 4))
                    DebugLog(0, "[CDatabaseHandler::DoTransferBuyEventsUpdate] BUG - Could not remove a player found "
                                "on the list market from the list market!");
            }
        }
        pNode = pNext;
    }
    // Every day, not only on match days, so that reports age with the calendar.
    for (int i = 0; i < HUMAN_SLOTS; ++i)
        if (m_pHumanSlots[i])
            m_pHumanSlots[i]->AgeTransferOfferReports(d);
}

void CDatabaseHandler::DoTransferLoanEventsUpdate(const CDate& previous)
{
    const int d = std::max(0, m_GameDate.DaysBetween(previous));
    LPXLISTNODE pNode = m_lstLoanMarket.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pEntry = static_cast<CLoanMarketEntry*>(pNode->pData);
        CPlayerDatabase* pPlayer = GetPlayerFromID(pEntry->GetPlayerID());
        if (!pPlayer) {
            m_lstLoanMarket.Remove(pNode);
            delete pEntry;
        } else {
            pPlayer->m_wDaysListed = static_cast<uint16_t>(std::min(65535, pPlayer->m_wDaysListed + d));
            if (pEntry->GetValue() != kNoLimit) {
                const int nLeft = pEntry->GetValue() - d;
                pEntry->SetValue(static_cast<uint16_t>(std::max(0, nLeft)));
                if (nLeft <= 0 && !RemovePlayerFromLoanMarket(pPlayer, 0, 2, 5))
                    DebugLog(0, "[CDatabaseHandler::DoTransferLoanEventsUpdate] BUG - Could not remove a player found "
                                "on the loan market from the loan market!");
            }
        }
        pNode = pNext;
    }
    for (CLoanOfferDatabase* pOffer : m_lstLoanOffers.Items<CLoanOfferDatabase>()) {
        const uint16_t wFlags = LoanFields::Flags(pOffer);
        if (!(wFlags & LOANOFFER_SEEN)) {
            LoanFields::SetFlags(pOffer, wFlags | LOANOFFER_SEEN);
            CPlayerDatabase* pPlayer = GetPlayerFromID(pOffer->GetPlayerID());
            if (pPlayer && IsClubHumanManaged(pPlayer->m_pClub) && pPlayer->m_pCountry)
                pPlayer->m_pCountry->AddEvent(22, CDate(m_GameDate.GetValue(), 21), pOffer->GetOfferID());
        } else if (((wFlags & LOANOFFER_ANSWERED) && pOffer->GetClubAnswer() == 3) ||
                   ((wFlags & LOANOFFER_PLAYER_ANSWERED) && pOffer->GetPlayerAnswer() == 3)) {
            // Three refusals by either side end the talks.
            LoanFields::SetOpen(pOffer, 0);
        } else if (LoanFields::Date(pOffer).GetValue() != 0 &&
                   m_GameDate.DaysBetween(LoanFields::Date(pOffer)) > kBuyOfferLifeDays) {
            // An offer nobody took up ends.
            LoanFields::SetOpen(pOffer, 0);
        }
    }
    for (int i = 0; i < HUMAN_SLOTS; ++i)
        if (m_pHumanSlots[i])
            m_pHumanSlots[i]->AgeLoanOfferReports(d);
}

// ---- country events of the markets ----

namespace {

// The player weighs the contracts proposed to him and takes the best one
// he does not refuse: its move is completed the next day.
void WeighBuyOffers(CDatabaseHandler& handler, CPlayerDatabase* pPlayer)
{
    CBuyOfferDatabase* pBest = nullptr;
    int32_t nBestWorth = -1;
    for (LPXLISTNODE pNode : handler.GetPlayerBuyOffers(pPlayer->m_idPerson)) {
        auto* pOffer = static_cast<CBuyOfferDatabase*>(pNode->pData);
        if (pOffer->GetCountdown() == 0 || !(pOffer->GetFlags() & BUYOFFER_CONTRACT_PROPOSED))
            continue;
        CClubDatabase* pClub = handler.GetClubFromID(pOffer->GetBiddingClubID());
        uint32_t adwWords[CBuyOfferDatabase::CONTRACT_WORDS];
        for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
            adwWords[i] = pOffer->GetContractWord(i);
        PLAYERCONTRACT contract;
        CPlayerDatabase::UnpackContract(adwWords, contract);
        const int32_t nWorth = pPlayer->GetContractWorth(contract, pClub);
        // Refused: the bidder cannot pay what it offers, or its squad is full.
        if (!pClub || pClub->GetTransferFunds() < nWorth / 4 ||
            pClub->m_nPlayerCount + pClub->m_nLoanInCount >= CLUB_SQUAD_LIMIT) {
            pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | BUYOFFER_PLAYER_ANSWERED));
            pOffer->SetPlayerAnswer(static_cast<uint8_t>(pOffer->GetPlayerAnswer() + 1));
            pOffer->SetCountdown(0);
            continue;
        }
        if (nWorth > nBestWorth) {
            nBestWorth = nWorth;
            pBest = pOffer;
        }
    }
    if (!pBest)
        return;
    pBest->SetFlags(static_cast<uint16_t>(pBest->GetFlags() | BUYOFFER_PLAYER_ANSWERED));
    pBest->SetPlayerAnswer(0);
    CClubDatabase* pBuyer = handler.GetClubFromID(pBest->GetBiddingClubID());
    if (pBuyer && pBuyer->m_pCountry)
        AddEventOnce(pBuyer->m_pCountry, 14, CDate(handler.GetGameDate().GetValue(), 1), pBest->GetOfferID());
}

}  // namespace

bool CDatabaseHandler::RunMarketEvent(CEventsDatabase* pEvent)
{
    if (!pEvent)
        return false;
    const uint32_t dwID = pEvent->GetDataID();
    switch (pEvent->GetType()) {
    case 5:
    case 17:
        // A human answers the offers for his own players on his screens: the
        // computer's answer would sell or lend them without him.
        if (CPlayerDatabase* pPlayer = GetPlayerFromID(dwID);
            pPlayer && pPlayer->m_pClub && !IsClubHumanManaged(pPlayer->m_pClub)) {
            if (pEvent->GetType() == 5)
                pPlayer->m_pClub->AnswerBuyOffers(pPlayer);
            else
                pPlayer->m_pClub->AnswerLoanOffers(pPlayer);
        }
        return true;
    case 8:
        if (CPlayerDatabase* pPlayer = GetPlayerFromID(dwID))
            WeighBuyOffers(*this, pPlayer);
        return true;
    case 14:
        if (CBuyOfferDatabase* pOffer = FindBuyOfferByID(dwID)) {
            if (TransferPlayer(pOffer) != 0 && m_lstBuyOffers.Find(pOffer))
                pOffer->SetCountdown(0);
        }
        return true;
    case 18: {
        // The player goes to the first club whose loan offer his club accepted.
        CPlayerDatabase* pPlayer = GetPlayerFromID(dwID);
        if (!pPlayer)
            return true;
        CLoanOfferDatabase* pOffer = m_lstLoanOffers.FindOfPlayer(dwID, [](const CLoanOfferDatabase* p) {
            return LoanFields::Open(p) != 0 && (LoanFields::Flags(p) & LOANOFFER_ACCEPTED);
        });
        if (pOffer) {
            const ID_CLUB idClub = pOffer->GetClubID();
            const uint16_t wDays = LoanFields::Days(pOffer);
            LoanFields::SetOpen(pOffer, 0);
            TransferPlayerLoan(pPlayer, idClub, true, wDays);
        }
        return true;
    }
    case 19:
        if (CLoanOfferDatabase* pOffer = FindLoanOfferByID(dwID)) {
            CPlayerDatabase* pPlayer = GetPlayerFromID(pOffer->GetPlayerID());
            if (pPlayer && pPlayer->m_pClub)
                pPlayer->m_pClub->AnswerLoanExtension(pOffer);
        }
        return true;
    case 20:
        if (CLoanOfferDatabase* pOffer = FindLoanOfferByID(dwID)) {
            if (CPlayerDatabase* pPlayer = GetPlayerFromID(pOffer->GetPlayerID());
                pPlayer && pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN)
                ExtendLoan(pPlayer, LoanFields::Days(pOffer));
            LoanFields::SetOpen(pOffer, 0);
        }
        return true;
    case 6:
    case 9:
        if (CBuyOfferDatabase* pOffer = FindBuyOfferByID(dwID)) {
            pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | (pEvent->GetType() == 6 ? 64 : 128)));
            pOffer->SetByte(1, 0);
        } else {
            DebugLog(1, pEvent->GetType() == 6
                            ? "[CCountryDatabase::ProcessRemoveNonRenegotiatedClubBuyOfferEvent] Could not find the offer!"
                            : "[CCountryDatabase::ProcessRemoveNonRenegotiatedPlayerBuyOfferEvent] Could not find the "
                              "offer!");
        }
        return true;
    case 21:
        if (CLoanOfferDatabase* pOffer = FindLoanOfferByID(dwID)) {
            // The club's refusal stands: only the last-word flag is added.
            LoanFields::SetFlags(pOffer, LoanFields::Flags(pOffer) | LOANOFFER_RENEGOTIATED);
        } else {
            DebugLog(1, "[CCountryDatabase::ProcessRemoveNonRenegotiatedLoanOffer] Could not find the offer!");
        }
        return true;
    case 25:
        if (CLoanOfferDatabase* pOffer = FindLoanOfferByID(dwID)) {
            if (CPlayerDatabase* pPlayer = GetPlayerFromID(pOffer->GetPlayerID()))
                TransferPlayerLoan(pPlayer, pOffer->GetClubID(), true, LoanFields::Days(pOffer));
            LoanFields::SetOpen(pOffer, 0);
        }
        return true;
    case 26:
        if (CPlayerDatabase* pPlayer = GetPlayerFromID(dwID))
            TransferPlayerLoan(pPlayer, 0, false, 0);
        return true;
    case 3:
    case 4:
    case 7:
    case 10:
    case 11:
    case 12:
    case 13:
    case 15:
    case 16:
    case 22:
    case 23:
    case 24:
        RunHumanNegotiationEvent(pEvent->GetType(), dwID);
        return true;
    default:
        return false;
    }
}

// ---- the events that follow a human manager's offers and listings ----

void CDatabaseHandler::RunHumanNegotiationEvent(uint8_t byType, uint32_t dwID)
{
    const auto newsTo = [&](CClubDatabase* pClub, uint16_t wCode, ID_PLAYER idPlayer) {
        if (CNewsItem* pItem = pClub ? pClub->AddNewsItem(wCode) : nullptr)
            pItem->SetSlot(NEWS_SLOT_PERSON, idPlayer);
    };
    switch (byType) {
    case 3:
    case 15: {
        // The human's own bid is answered by the player's club; an answer
        // that ends the bid takes it off the lists with a notice.
        CPlayerDatabase* pPlayer = nullptr;
        ID_CLUB idBidder = 0;
        bool bEnded = false;
        if (byType == 3) {
            CBuyOfferDatabase* pOffer = FindBuyOfferByID(dwID);
            pPlayer = pOffer ? GetPlayerFromID(pOffer->GetPlayerID()) : nullptr;
            if (!pPlayer || !pPlayer->m_pClub || IsClubHumanManaged(pPlayer->m_pClub))
                return;
            idBidder = pOffer->GetBiddingClubID();
            pPlayer->m_pClub->AnswerBuyOffers(pPlayer);
            bEnded = pOffer->GetCountdown() == 0;
        } else {
            CLoanOfferDatabase* pOffer = FindLoanOfferByID(dwID);
            pPlayer = pOffer ? GetPlayerFromID(pOffer->GetPlayerID()) : nullptr;
            if (!pPlayer || !pPlayer->m_pClub || IsClubHumanManaged(pPlayer->m_pClub))
                return;
            idBidder = pOffer->GetClubID();
            pPlayer->m_pClub->AnswerLoanOffers(pPlayer);
            bEnded = LoanFields::Open(pOffer) == 0;
        }
        if (bEnded) {
            if (byType == 3)
                WithdrawBuyOffer(pPlayer->m_idPerson, idBidder, true);
            else
                WithdrawLoanOffer(pPlayer->m_idPerson, idBidder, true);
        }
        return;
    }
    case 4:
    case 16: {
        // A human's listed player: the answers he gave on his screens are
        // carried out. Accepted fee offers go on to the player's contract
        // talks, refused ones end; unanswered ones wait for him.
        CPlayerDatabase* pPlayer = GetPlayerFromID(dwID);
        if (!pPlayer || !IsClubHumanManaged(pPlayer->m_pClub))
            return;
        if (byType == 4) {
            for (LPXLISTNODE pNode : m_lstBuyOffers.OfPlayer(dwID)) {
                auto* pOffer = static_cast<CBuyOfferDatabase*>(pNode->pData);
                if (!(pOffer->GetFlags() & BUYOFFER_ANSWERED) || pOffer->GetCountdown() == 0 ||
                    (pOffer->GetFlags() & BUYOFFER_CONTRACT_PROPOSED))
                    continue;
                CClubDatabase* pBidder = GetClubFromID(pOffer->GetBiddingClubID());
                if (pOffer->GetClubAnswer() != 0 || !pBidder)
                    pOffer->SetCountdown(0);
                else if (!IsClubHumanManaged(pBidder))
                    pBidder->ProposeBuyContract(pOffer);
            }
            return;
        }
        bool bAccepted = false;
        for (LPXLISTNODE pNode : m_lstLoanOffers.OfPlayer(dwID)) {
            auto* pOffer = static_cast<CLoanOfferDatabase*>(pNode->pData);
            if (!(LoanFields::Flags(pOffer) & LOANOFFER_ANSWERED) || LoanFields::Open(pOffer) == 0)
                continue;
            if (LoanFields::Flags(pOffer) & LOANOFFER_ACCEPTED)
                bAccepted = true;
            else
                LoanFields::SetOpen(pOffer, 0);
        }
        if (bAccepted)
            AddEventOnce(pPlayer->m_pCountry, 18, CDate(m_GameDate.GetValue(), 1), dwID);
        return;
    }
    case 7: {
        // The player answers the contract a human's club proposed to him.
        CBuyOfferDatabase* pOffer = FindBuyOfferByID(dwID);
        CPlayerDatabase* pPlayer = pOffer ? GetPlayerFromID(pOffer->GetPlayerID()) : nullptr;
        CClubDatabase* pBidder = pOffer ? GetClubFromID(pOffer->GetBiddingClubID()) : nullptr;
        if (!pPlayer || !pBidder) {
            DebugLog(1, "[CCountryDatabase::DoSpecialEvent] Event 7: the offer is gone");
            return;
        }
        uint32_t adwWords[CBuyOfferDatabase::CONTRACT_WORDS];
        for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
            adwWords[i] = pOffer->GetContractWord(i);
        PLAYERCONTRACT proposed;
        CPlayerDatabase::UnpackContract(adwWords, proposed);
        PLAYERCONTRACT expected;
        pPlayer->GenerateContract(expected, pBidder->m_pDivision, pBidder, false);
        // He refuses terms worth clearly less than he would ask of the club.
        const bool bRefuses =
            pPlayer->GetContractWorth(proposed, pBidder) * 10 < pPlayer->GetContractWorth(expected, pBidder) * 9;
        pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | BUYOFFER_PLAYER_ANSWERED));
        pOffer->SetPlayerAnswer(bRefuses ? static_cast<uint8_t>(pOffer->GetPlayerAnswer() + 1) : 0);
        if (!bRefuses)
            return;
        if (pPlayer->m_pClub == pBidder)
            WithdrawBuyOffer(pPlayer->m_idPerson, pBidder->GetID(), true);
        else
            pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() & ~BUYOFFER_CONTRACT_PROPOSED));
        return;
    }
    case 10:
    case 11: {
        // A human left an answer unmade too long: the bid lapses.
        CBuyOfferDatabase* pOffer = FindBuyOfferByID(dwID);
        if (!pOffer || (pOffer->GetFlags() & (byType == 10 ? BUYOFFER_ANSWERED : BUYOFFER_SELLER_CONFIRMED)))
            return;
        const ID_PLAYER idPlayer = pOffer->GetPlayerID();
        if (CPlayerDatabase* pPlayer = GetPlayerFromID(idPlayer))
            newsTo(pPlayer->m_pClub, kNewsBuyOfferLapsed, idPlayer);
        WithdrawBuyOffer(idPlayer, pOffer->GetBiddingClubID(), false);
        return;
    }
    case 12:
    case 13: {
        // The time to renegotiate a human's bid has run out.
        CBuyOfferDatabase* pOffer = FindBuyOfferByID(dwID);
        if (!pOffer || (pOffer->GetFlags() & (byType == 12 ? BUYOFFER_BIDDER_CONFIRMED : BUYOFFER_CONTRACT_PROPOSED)))
            return;
        pOffer->SetByte(1, 0);
        if (byType == 12) {
            const uint16_t wValue = pOffer->GetValue122();
            pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | BUYOFFER_CLUB_RENEGOTIATED));
            pOffer->SetValue122(static_cast<uint16_t>((wValue & 0xFF00) | ((wValue + 1) & 0xFF)));
        } else {
            // His silence is one more refusal.
            pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | BUYOFFER_PLAYER_RENEGOTIATED |
                                                   BUYOFFER_PLAYER_ANSWERED | BUYOFFER_CONTRACT_PROPOSED));
            pOffer->SetPlayerAnswer(static_cast<uint8_t>(pOffer->GetPlayerAnswer() + 1));
        }
        newsTo(GetClubFromID(pOffer->GetBiddingClubID()), kNewsBuyOfferLapsed, pOffer->GetPlayerID());
        return;
    }
    case 22:
    case 23: {
        CLoanOfferDatabase* pOffer = FindLoanOfferByID(dwID);
        if (!pOffer || (LoanFields::Flags(pOffer) & (byType == 22 ? LOANOFFER_ANSWERED : LOANOFFER_SELLER_CONFIRMED)))
            return;
        newsTo(GetClubFromID(pOffer->GetClubID()), kNewsLoanOfferLapsed, pOffer->GetPlayerID());
        WithdrawLoanOffer(pOffer->GetPlayerID(), pOffer->GetClubID(), false);
        return;
    }
    case 24: {
        CLoanOfferDatabase* pOffer = FindLoanOfferByID(dwID);
        if (!pOffer || (LoanFields::Flags(pOffer) & LOANOFFER_BIDDER_CONFIRMED))
            return;
        LoanFields::SetFlags(pOffer, LoanFields::Flags(pOffer) | LOANOFFER_RENEGOTIATED);
        pOffer->SetHalf(2, static_cast<uint16_t>(pOffer->GetHalf(2) + 1));
        newsTo(GetClubFromID(pOffer->GetClubID()), kNewsLoanOfferLapsed, pOffer->GetPlayerID());
        return;
    }
    default:
        return;
    }
}

// ---- computer clubs' planning ----

void CDatabaseHandler::DoClubsTransferPlanning(bool bWeek, bool bMonth)
{
    // The month's searches read the lists, which none of them changes, from
    // one digest; the week's bids and listings change them.
    std::optional<CMarketDigest> digest;
    if (bMonth && !bWeek) {
        digest.emplace(*this);
        m_pMarketDigest = &*digest;
    }
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>()) {
                if (IsClubHumanManaged(pClub))
                    continue;
                if (bMonth)
                    pClub->ChooseTransferTargets();
                if (bWeek)
                    pClub->DoWeeklyTransferPlanning();
            }
    m_pMarketDigest = nullptr;
}
