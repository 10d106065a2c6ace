// A club's side of the transfer markets: answering offers for its players,
// its asking terms, its transfer targets and the computer club's own
// planning (targets, bids, loan offers, listings and contract renewals).
#include "database/CClubDatabase.h"

#include <algorithm>
#include <cstring>

#include "common/DebugLog.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CMarketDigest.h"
#include "database/CMarketEntries.h"
#include "database/CPlayerDatabase.h"
#include "database/PersonOwners.h"
#include "platform/Random.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"

namespace {

constexpr int kAreaNone = 16;
constexpr int kTargetLimit = 10;
// Loans a club may take in one season beyond which it is refused; the same
// in every country.
constexpr int kSeasonLoanLimit = 3;
// A computer club renews a contract with this many weeks or fewer left.
constexpr int kRenewalWeeks = 10;
// The area of each role, the representative role of each area and the
// fewest players an area should have (indexed by representative role).
constexpr int kRoleArea[CLUB_POSITION_SLOTS] = {0, 1, 3, 1, 2, 3, 2, 4, 5, 4, 6, 4, 5, 6, 7, 7};
constexpr int kAreaRepresentative[8] = {0, 3, 4, 2, 9, 8, 10, 14};
constexpr int kMinimumPlayers[CLUB_POSITION_SLOTS] = {3, 1, 2, 2, 2, 1, 1, 1, 2, 2, 2, 1, 1, 1, 2, 1};

// Field offsets of the 16-byte target record.
constexpr int kTargetPlayer = 0, kTargetClub = 4, kTargetAttempts = 8, kTargetReason = 9, kTargetFlag = 10,
              kTargetLoan = 11, kTargetOfferMade = 12;

int32_t TargetWord(const CLUBTRANSFERTARGET* p, int nOffset)
{
    int32_t n = 0;
    std::memcpy(&n, p->abyData + nOffset, sizeof(n));
    return n;
}

void SetTargetWord(CLUBTRANSFERTARGET* p, int nOffset, int32_t n) { std::memcpy(p->abyData + nOffset, &n, sizeof(n)); }

// Term words: instalment amount, further amount, and the counts byte word.
constexpr int kTermInstalment = 6, kTermFurther = 7, kTermCounts = 8;

CDatabaseHandler* Root() { return CClubDatabase::m_pDatabaseHandler; }

int Percent(float fValue, float fA, float fB) { return static_cast<int>(CDatabaseHandler::GetPercentageInRange(fValue, fA, fB)); }

int Attribute(const CPlayerDatabase* p, int n) { return p->m_awAttributes[n] / 100; }

// How much the club relies on him, 0-100: his rating against the squad's.
int Importance(const CClubDatabase* pClub, const CPlayerDatabase* pPlayer)
{
    const int nAverage = std::max<int>(1, pClub->m_byAverageRating);
    return std::clamp(pPlayer->m_byRating * 50 / nAverage, 0, 100);
}

// His wish to stay, 0-100: settled players with time left on their
// contract want to stay.
int WishToStay(const CPlayerDatabase* pPlayer)
{
    const int nWeeks = pPlayer->GetContractTimeLeft(0);
    return std::clamp(40 + nWeeks / 4, 0, 100);
}

// The entry after pNode, the head after the tail: a walk round the list
// from any entry, one step at a time.
LPXLISTNODE NextRound(const CXList& list, LPXLISTNODE pNode)
{
    return pNode->pNext ? pNode->pNext : list.GetHead();
}

}  // namespace

// ---- funds, terms and negotiation ----

int32_t CClubDatabase::GetTransferFunds() const { return std::max<int32_t>(0, m_nBankBalance); }

void CClubDatabase::BuildAskingTerms(uint32_t* pdwTerms, const CPlayerDatabase* pPlayer) const
{
    std::fill(pdwTerms, pdwTerms + CBuyOfferDatabase::TERMS, 0u);
    if (!pPlayer)
        return;
    const int64_t v = std::max<int64_t>(1, pPlayer->m_dwValue);
    const float fCover = static_cast<float>(std::max<int64_t>(0, m_nBankBalance) * 100 / v);
    const int n = std::clamp(static_cast<int>(Percent(fCover, 90.0f, 10.0f) * 0.24 + 1), 1, 25);
    pdwTerms[kTermInstalment] = static_cast<uint32_t>(v / n);
    uint32_t dwPercentage = 0;
    if (pPlayer->GetAge() < 22) {
        pdwTerms[kTermFurther] = static_cast<uint32_t>(v);
        dwPercentage = static_cast<uint32_t>(10 + plat::rand() % 5);
    }
    pdwTerms[kTermCounts] = static_cast<uint32_t>(n) | (static_cast<uint32_t>(n) << 8) | (dwPercentage << 16);
}

int32_t CClubDatabase::GetTermsTotal(const uint32_t* pdwTerms)
{
    const int64_t n = pdwTerms[kTermCounts] & 0xFF;
    return static_cast<int32_t>(std::min<int64_t>(INT32_MAX, pdwTerms[kTermInstalment] * n));
}

int64_t CClubDatabase::ScaleTermFigure(int nPercent, int64_t nFirst, int64_t nSecond, int nWeight, int32_t nPayment)
{
    const int64_t nScaledPayment = static_cast<int64_t>(nPayment) * nPercent / 100;
    // No payment figure to scale against: the pair is worth nothing.
    if (nScaledPayment <= 0)
        return 0;
    const int64_t n = (100 - 10000 / nScaledPayment) * nFirst / 100 * nSecond / 100 * nWeight / 100;
    return std::max<int64_t>(0, n);
}

int64_t CClubDatabase::EvaluateTransferTerms(const CPlayerDatabase* pPlayer, const uint32_t* pdwTerms,
                                             int64_t* pnParts) const
{
    int64_t an[5] = {};
    if (pPlayer && pdwTerms) {
        const int64_t n = pdwTerms[kTermCounts] & 0xFF;
        const int64_t nPercentage = (pdwTerms[kTermCounts] >> 16) & 0xFF;
        an[0] = (50 - n) * static_cast<int64_t>(pdwTerms[kTermInstalment]) * n * 2 / 100;
        // A share of a later sale counts only when it is a real share of
        // what he is worth.
        if (nPercentage > 0 && nPercentage * 1000 > static_cast<int64_t>(pPlayer->m_dwValue))
            an[1] = static_cast<int64_t>(pdwTerms[kTermFurther]) * nPercentage / 100;
        const int32_t nPayment = m_pDivision ? m_pDivision->m_anFigures[0] : 0;
        auto pair = [&](int nPair, int nWeight) {
            return ScaleTermFigure(75, static_cast<int32_t>(pdwTerms[2 * nPair]),
                                   static_cast<int32_t>(pdwTerms[2 * nPair + 1]), nWeight, nPayment);
        };
        an[4] = pair(0, 100);
        switch (pPlayer->m_byPosition) {
        case 0:
            an[2] = pair(2, 100);
            break;
        case 1:
            an[2] = pair(2, 75);
            an[3] = pair(2, 25);
            break;
        case 2:
            an[3] = pair(2, 60);
            break;
        case 3:
            an[3] = pair(2, 100);
            break;
        default:
            break;
        }
    }
    if (pnParts)
        std::copy(std::begin(an), std::end(an), pnParts);
    return an[0] + an[1] + an[2] + an[3] + an[4];
}

int CClubDatabase::GetBuyAcceptancePercent(const CPlayerDatabase* pPlayer, int* pnReason) const
{
    const int nAverageRating = std::max<int>(1, m_byAverageRating);
    const int64_t nAverageValue = std::max<int64_t>(1, m_nPlayerCount > 0 ? m_nSquadValue / m_nPlayerCount : 1);
    int an[6] = {};
    an[0] = 100 - Attribute(pPlayer, PLAYER_ATTRIBUTE_MORALE);
    an[1] = Percent(static_cast<float>(pPlayer->m_byRating * 100 / nAverageRating), 90, 110);
    an[2] = Percent(static_cast<float>(static_cast<int64_t>(pPlayer->m_dwValue) * 100 / nAverageValue), 90, 110);
    if (pPlayer->m_byRating * 10 <= nAverageRating * 11 || (pPlayer->m_dwFlags & PLAYER_FLAG_CONTRACT_REQUEST)) {
        an[3] = 100 - Importance(this, pPlayer);
        an[4] = Percent(static_cast<float>(m_nPlayerCount), 25, 18);
    }
    an[5] = WishToStay(pPlayer);
    int nSum = 0, nBest = 0;
    for (int i = 0; i < 6; ++i) {
        nSum += an[i];
        if (an[i] > an[nBest])
            nBest = i;
    }
    if (pnReason)
        *pnReason = nBest;
    return 150 - nSum / 6;
}

int CClubDatabase::GetLoanAcceptancePercent(const CPlayerDatabase* pPlayer, int* pnReason) const
{
    const int nAverageRating = std::max<int>(1, m_byAverageRating);
    int an[4] = {};
    an[0] = Percent(static_cast<float>(pPlayer->m_byRating * 100 / nAverageRating), 90, 110);
    if (pPlayer->m_byRating * 10 <= nAverageRating * 11) {
        an[1] = 100 - Importance(this, pPlayer);
        an[2] = Percent(static_cast<float>(m_nPlayerCount), 25, 18);
    }
    an[3] = WishToStay(pPlayer);
    int nSum = 0, nBest = 0;
    for (int i = 0; i < 4; ++i) {
        nSum += an[i];
        if (an[i] > an[nBest])
            nBest = i;
    }
    if (pnReason)
        *pnReason = nBest;
    return 150 - nSum / 4;
}

int CClubDatabase::NegotiateBuyTransfer(CBuyOfferDatabase* pOffer)
{
    CDatabaseHandler* pRoot = Root();
    CPlayerDatabase* pPlayer = pRoot && pOffer ? pRoot->GetPlayerFromID(pOffer->GetPlayerID()) : nullptr;
    if (!pPlayer || pPlayer->m_pClub != this) {
        DebugLog(1, "[CClubDatabase::NegotiateBuyTransfer] Could not find the player");
        return 0;
    }
    if (pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN)
        return 0;
    pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | BUYOFFER_ANSWERED));
    CClubDatabase* pBidder = pRoot->GetClubFromID(pOffer->GetBiddingClubID());
    if (MustRefuseSale(pPlayer, pOffer->GetValue100(), pRoot->GetSaveGameForClub(pBidder), false)) {
        pOffer->SetClubAnswer(static_cast<uint8_t>(pOffer->GetClubAnswer() + 1));
        return 0;
    }
    // A released player goes for nothing.
    if (pPlayer->m_byTransferState == PLAYER_TRANSFER_LEAVING)
        return 1;
    uint32_t adwAsking[CBuyOfferDatabase::TERMS];
    BuildAskingTerms(adwAsking, pPlayer);
    uint32_t adwOffered[CBuyOfferDatabase::TERMS];
    for (int i = 0; i < CBuyOfferDatabase::TERMS; ++i)
        adwOffered[i] = pOffer->GetTerm(i);
    const int64_t nAsking = EvaluateTransferTerms(pPlayer, adwAsking, nullptr);
    const int64_t nOffered = EvaluateTransferTerms(pPlayer, adwOffered, nullptr);
    const int64_t nFigure = static_cast<int64_t>(GetBuyAcceptancePercent(pPlayer, nullptr)) * nAsking / 100;
    // The margin is one above the difference, so that an offer that just
    // meets the figure is told apart from a refusal (0).
    if (nOffered >= nFigure)
        return static_cast<int>(std::min<int64_t>(INT32_MAX, nOffered - nFigure + 1));
    pOffer->SetClubAnswer(static_cast<uint8_t>(pOffer->GetClubAnswer() + 1));
    return 0;
}

int CClubDatabase::NegotiateLoanTransfer(CLoanOfferDatabase* pOffer)
{
    CDatabaseHandler* pRoot = Root();
    CPlayerDatabase* pPlayer = pRoot && pOffer ? pRoot->GetPlayerFromID(pOffer->GetPlayerID()) : nullptr;
    if (!pPlayer || pPlayer->m_pClub != this) {
        DebugLog(1, "[CClubDatabase::NegotiateLoanTransfer] Could not find the player");
        return 0;
    }
    pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | LOANOFFER_ANSWERED));
    const CClubDatabase* pBidder = pRoot->GetClubFromID(pOffer->GetClubID());
    if (!pBidder || pBidder->m_pDivision == m_pDivision) {
        pOffer->SetClubAnswer(static_cast<uint8_t>(pOffer->GetClubAnswer() + 1));
        return 0;
    }
    const int64_t w = pOffer->GetHalf(0) / 7;
    const int64_t nOffered = static_cast<int64_t>(pOffer->GetWord(1)) / 52 * w;
    const int64_t nWage = static_cast<int64_t>(pPlayer->m_Contract.dwYearlyWage) / 52 * w;
    const int64_t nFigure = nWage * GetLoanAcceptancePercent(pPlayer, nullptr) / 100;
    // A player far above the squad is not lent at any price.
    const bool bKey = pPlayer->m_byRating * 100 > 3 * m_byAverageRating * 40;
    if (!bKey && nOffered >= nFigure) {
        pOffer->SetClubAnswer(0);
        return static_cast<int>(std::min<int64_t>(INT32_MAX, nOffered - nFigure + 1));
    }
    pOffer->SetClubAnswer(static_cast<uint8_t>(pOffer->GetClubAnswer() + 1));
    return 0;
}

bool CClubDatabase::NegotiateExtendLoanTransfer(CLoanOfferDatabase* pOffer)
{
    CDatabaseHandler* pRoot = Root();
    CPlayerDatabase* pPlayer = pRoot && pOffer ? pRoot->GetPlayerFromID(pOffer->GetPlayerID()) : nullptr;
    if (!pPlayer || pPlayer->m_pClub != this) {
        DebugLog(1, "[CClubDatabase::NegotiateExtendLoanTransfer] Could not find the player");
        return false;
    }
    pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | LOANOFFER_ANSWERED));
    pOffer->SetClubAnswer(0);
    return true;
}

void CClubDatabase::AnswerLoanExtension(CLoanOfferDatabase* pOffer)
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot || !pOffer || !NegotiateExtendLoanTransfer(pOffer))
        return;
    if (pOffer->GetClubAnswer() == 0) {
        pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | LOANOFFER_ACCEPTED));
        if (m_pCountry)
            m_pCountry->AddEvent(20, CDate(pRoot->GetGameDate().GetValue(), 7), pOffer->GetOfferID());
    }
}

void CClubDatabase::AnswerBuyOffers(CPlayerDatabase* pPlayer)
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot || !pPlayer || pPlayer->m_pClub != this || pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN)
        return;
    for (LPXLISTNODE pNode : pRoot->GetPlayerBuyOffers(pPlayer->m_idPerson)) {
        auto* pOffer = static_cast<CBuyOfferDatabase*>(pNode->pData);
        if ((pOffer->GetFlags() & BUYOFFER_ANSWERED) || pOffer->GetCountdown() == 0)
            continue;
        CClubDatabase* pBidder = pRoot->GetClubFromID(pOffer->GetBiddingClubID());
        if (NegotiateBuyTransfer(pOffer) > 0) {
            pOffer->SetClubAnswer(0);
            if (pBidder && !IsClubHumanManaged(pBidder))
                pBidder->ProposeBuyContract(pOffer);
        } else {
            pOffer->SetCountdown(0);
        }
    }
}

void CClubDatabase::AnswerLoanOffers(CPlayerDatabase* pPlayer)
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot || !pPlayer || pPlayer->m_pClub != this || pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN)
        return;
    bool bAccepted = false;
    for (LPXLISTNODE pNode : pRoot->GetPlayerLoanOffers(pPlayer->m_idPerson)) {
        auto* pOffer = static_cast<CLoanOfferDatabase*>(pNode->pData);
        if (pOffer->GetKind() == 1 || (pOffer->GetFlags() & LOANOFFER_ANSWERED) || pOffer->GetByte(0) == 0)
            continue;
        if (NegotiateLoanTransfer(pOffer) > 0) {
            pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | LOANOFFER_ACCEPTED));
            bAccepted = true;
        } else {
            pOffer->SetByte(0, 0);
        }
    }
    if (bAccepted && pPlayer->m_pCountry && !pPlayer->m_pCountry->FindEvent(18, pPlayer->m_idPerson))
        pPlayer->m_pCountry->AddEvent(18, CDate(pRoot->GetGameDate().GetValue(), 7), pPlayer->m_idPerson);
}

void CClubDatabase::ProposeBuyContract(CBuyOfferDatabase* pOffer)
{
    CDatabaseHandler* pRoot = Root();
    CPlayerDatabase* pPlayer = pRoot && pOffer ? pRoot->GetPlayerFromID(pOffer->GetPlayerID()) : nullptr;
    if (!pPlayer)
        return;
    PLAYERCONTRACT contract;
    pPlayer->GenerateContract(contract, m_pDivision, this, false);
    uint32_t adwWords[CBuyOfferDatabase::CONTRACT_WORDS];
    CPlayerDatabase::PackContract(contract, adwWords);
    for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
        pOffer->SetContractWord(i, adwWords[i]);
    pOffer->SetFlags(
        static_cast<uint16_t>((pOffer->GetFlags() & ~BUYOFFER_PLAYER_ANSWERED) | BUYOFFER_CONTRACT_PROPOSED));
    CCountryDatabase* pCountry = pPlayer->m_pCountry ? pPlayer->m_pCountry : m_pCountry;
    if (pCountry && !pCountry->FindEvent(8, pPlayer->m_idPerson))
        pCountry->AddEvent(8, CDate(pRoot->GetGameDate().GetValue(), 7), pPlayer->m_idPerson);
}

// ---- the rules that stop a move ----

namespace {

constexpr int kSquadForSales = 19;
constexpr uint16_t kNewsCannotBuy = 116;
constexpr uint16_t kNewsWillNotSell = 117;
constexpr uint16_t kNewsCannotBorrow = 118;
constexpr uint16_t kNewsSeasonLoansUsed = 270;
constexpr uint16_t kNewsWillNotLend = 119;
constexpr uint16_t kNewsOtherRefusedBuy = 198;
constexpr uint16_t kNewsOtherRefusedLoan = 199;
constexpr uint16_t kNewsContractRunOut = 67;

// A refusal is told to this club's human and to the other side's, both
// naming the player.
void TellRefusal(const CClubDatabase* pClub, uint16_t wOwn, CSaveGame* pOther, uint16_t wOther,
                 const CPlayerDatabase* pPlayer)
{
    if (CNewsItem* pItem = pClub->AddNewsItem(wOwn))
        pItem->SetSlot(NEWS_SLOT_PERSON, pPlayer->m_idPerson);
    if (pOther)
        if (CNewsItem* pItem = pOther->PostNews(wOther, pClub))
            pItem->SetSlot(NEWS_SLOT_PERSON, pPlayer->m_idPerson);
}

bool IsRetiring(const CPlayerDatabase* pPlayer)
{
    return (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) != 0;
}

}  // namespace

bool CClubDatabase::MustRefusePurchase(const CPlayerDatabase* pPlayer, int64_t nFee, CSaveGame* pOther)
{
    if (!pPlayer)
        return true;
    const bool bHuman = IsClubHumanManaged(this);
    const bool bRefuse = GetTransferFunds() < nFee || IsRetiring(pPlayer) ||
                         (bHuman && nFee > 2 * static_cast<int64_t>(pPlayer->m_dwValue)) ||
                         m_nPlayerCount + m_nLoanInCount >= CLUB_SQUAD_LIMIT;
    if (bRefuse) {
        TellRefusal(this, kNewsCannotBuy, pOther, kNewsOtherRefusedBuy, pPlayer);
        RemoveTransferTargetByPlayer(pPlayer->m_idPerson);
    }
    return bRefuse;
}

bool CClubDatabase::MustRefuseSale(const CPlayerDatabase* pPlayer, int64_t /*nFee*/, CSaveGame* pOther,
                                   bool bTellContract)
{
    if (!pPlayer)
        return true;
    // A released player may always go.
    if (pPlayer->m_byTransferState == PLAYER_TRANSFER_LEAVING || pPlayer->m_dwValue == 0)
        return false;
    if (IsRetiring(pPlayer) || m_nPlayerCount < kSquadForSales) {
        TellRefusal(this, kNewsWillNotSell, pOther, kNewsOtherRefusedBuy, pPlayer);
        return true;
    }
    if (bTellContract && CDate(pPlayer->m_Contract.dwEndDate) < Root()->GetGameDate())
        AddNewsItem(kNewsContractRunOut);
    return false;
}

bool CClubDatabase::HasUsedSeasonLoans() const { return m_bySeasonLoans > kSeasonLoanLimit; }

bool CClubDatabase::MustRefuseLoanIn(const CPlayerDatabase* pPlayer, CSaveGame* pOther)
{
    if (!pPlayer)
        return true;
    if (HasUsedSeasonLoans()) {
        if (IsClubHumanManaged(this))
            if (CNewsItem* pItem = AddNewsItem(kNewsSeasonLoansUsed))
                pItem->SetSlot(NEWS_SLOT_PERSON, pPlayer->m_idPerson);
        RemoveTransferTargetByPlayer(pPlayer->m_idPerson);
        return true;
    }
    if (IsRetiring(pPlayer) || m_nPlayerCount + m_nLoanInCount >= CLUB_SQUAD_LIMIT) {
        TellRefusal(this, kNewsCannotBorrow, pOther, kNewsOtherRefusedLoan, pPlayer);
        RemoveTransferTargetByPlayer(pPlayer->m_idPerson);
        return true;
    }
    return false;
}

bool CClubDatabase::MustRefuseLoanOut(const CPlayerDatabase* pPlayer, CSaveGame* pOther)
{
    if (!pPlayer)
        return true;
    if (IsRetiring(pPlayer) || m_nPlayerCount < kSquadForSales) {
        TellRefusal(this, kNewsWillNotLend, pOther, kNewsOtherRefusedLoan, pPlayer);
        return true;
    }
    return false;
}

// ---- transfer targets ----

CLUBTRANSFERTARGET* CClubDatabase::GetTransferTarget(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_byTransferTargetCount
               ? static_cast<CLUBTRANSFERTARGET*>(m_TransferTargets.GetAt(nIndex))
               : nullptr;
}

bool CClubDatabase::HasTransferTarget(ID_PLAYER idPlayer) const
{
    for (int i = 0; i < m_byTransferTargetCount; ++i)
        if (static_cast<ID_PLAYER>(TargetWord(GetTransferTarget(i), kTargetPlayer)) == idPlayer)
            return true;
    return false;
}

void CClubDatabase::AddTransferTarget(const CLUBTRANSFERTARGET& target)
{
    if (m_byTransferTargetCount >= kTargetLimit)
        return;
    m_TransferTargets.SetAtGrow(m_byTransferTargetCount, new CLUBTRANSFERTARGET(target));
    ++m_byTransferTargetCount;
}

void CClubDatabase::RemoveTransferTarget(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_byTransferTargetCount)
        return;
    delete static_cast<CLUBTRANSFERTARGET*>(m_TransferTargets.GetAt(nIndex));
    m_TransferTargets.RemoveAt(nIndex);
    --m_byTransferTargetCount;
}

void CClubDatabase::RemoveTransferTargetByPlayer(ID_PLAYER idPlayer)
{
    for (int i = m_byTransferTargetCount - 1; i >= 0; --i)
        if (static_cast<ID_PLAYER>(TargetWord(GetTransferTarget(i), kTargetPlayer)) == idPlayer)
            RemoveTransferTarget(i);
}

void CClubDatabase::ClearTransferTargets()
{
    while (m_byTransferTargetCount > 0)
        RemoveTransferTarget(m_byTransferTargetCount - 1);
}

bool CClubDatabase::NoteTransferTarget(const CPlayerDatabase* pPlayer, int nReason, ID_CLUB idClub, bool bLoan)
{
    if (!pPlayer || (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) || HasTransferTarget(pPlayer->m_idPerson) ||
        m_byTransferTargetCount >= kTargetLimit)
        return false;
    CLUBTRANSFERTARGET target;
    SetTargetWord(&target, kTargetPlayer, static_cast<int32_t>(pPlayer->m_idPerson));
    SetTargetWord(&target, kTargetClub, idClub);
    target.abyData[kTargetReason] = static_cast<uint8_t>(nReason);
    target.abyData[kTargetLoan] = bLoan ? 1 : 0;
    AddTransferTarget(target);
    return true;
}

void CClubDatabase::CheckTransferTargets()
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot)
        return;
    if (m_pCountry && !m_pCountry->IsTransferWindowOpenToday()) {
        ClearTransferTargets();
        return;
    }
    for (int i = m_byTransferTargetCount - 1; i >= 0; --i) {
        const CLUBTRANSFERTARGET* p = GetTransferTarget(i);
        const CPlayerDatabase* pPlayer = pRoot->GetPlayerFromID(static_cast<ID_PLAYER>(TargetWord(p, kTargetPlayer)));
        const ID_CLUB idNoted = static_cast<ID_CLUB>(TargetWord(p, kTargetClub));
        if (!pPlayer || (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) || p->abyData[kTargetAttempts] >= 4 ||
            pPlayer->m_pClub == this || (pPlayer->m_pClub && GetClubIdOf(pPlayer->m_pClub) != idNoted))
            RemoveTransferTarget(i);
    }
    // A bid or loan offer that ended without the move frees its target for
    // the next, higher one; the attempts counted above end the chase.
    for (int i = 0; i < m_byTransferTargetCount; ++i) {
        const CLUBTRANSFERTARGET* p = GetTransferTarget(i);
        const auto idPlayer = static_cast<ID_PLAYER>(TargetWord(p, kTargetPlayer));
        if (p->abyData[kTargetLoan] == 0 && p->abyData[kTargetFlag] != 0 && !pRoot->GetBuyOffer(idPlayer, m_wClubId))
            ClearTargetFlag(idPlayer);
        else if (p->abyData[kTargetLoan] != 0 && p->abyData[kTargetOfferMade] != 0 &&
                 !pRoot->GetLoanOffer(idPlayer, m_wClubId))
            ClearTargetOfferMade(idPlayer);
    }
}

void CClubDatabase::ClearTargetFlag(ID_PLAYER idPlayer)
{
    for (int i = 0; i < m_byTransferTargetCount; ++i)
        if (CLUBTRANSFERTARGET* p = GetTransferTarget(i); static_cast<ID_PLAYER>(TargetWord(p, kTargetPlayer)) == idPlayer)
            p->abyData[kTargetFlag] = 0;
}

void CClubDatabase::ClearTargetOfferMade(ID_PLAYER idPlayer)
{
    for (int i = 0; i < m_byTransferTargetCount; ++i)
        if (CLUBTRANSFERTARGET* p = GetTransferTarget(i); static_cast<ID_PLAYER>(TargetWord(p, kTargetPlayer)) == idPlayer)
            p->abyData[kTargetOfferMade] = 0;
}

// ---- choosing targets ----

void CClubDatabase::ChooseTransferTargets()
{
    if (!m_pDivision || m_pDivision->m_byKind != DIVISION_KIND_LEAGUE || m_byTransferTargetCount >= kTargetLimit ||
        (m_pCountry && !m_pCountry->IsTransferWindowOpenToday()))
        return;
    int anSum[CLUB_POSITION_SLOTS] = {}, anCount[CLUB_POSITION_SLOTS] = {};
    int nTotal = 0;
    auto count = [&](const CXList& list) {
        for (const CPlayerDatabase* p : list.Items<CPlayerDatabase>()) {
            if (p->m_byRole >= CLUB_POSITION_SLOTS)
                continue;
            anSum[p->m_byRole] += p->m_byRating;
            ++anCount[p->m_byRole];
            nTotal += p->m_byRating;
        }
    };
    count(m_lstPlayers);
    count(m_lstLoanIns);
    const int nPeople = m_lstPlayers.GetCount() + m_lstLoanIns.GetCount();
    if (nPeople == 0)
        return;
    int anMeans[CLUB_POSITION_SLOTS] = {};
    for (int i = 0; i < CLUB_POSITION_SLOTS; ++i)
        anMeans[i] = anCount[i] ? anSum[i] / anCount[i] : 0;
    if (ChooseWeakestArea(nTotal / nPeople, anMeans) != kAreaNone)
        SearchTransferTargets();
}

int CClubDatabase::ChooseWeakestArea(int nMean, const int anRoleMeans[CLUB_POSITION_SLOTS])
{
    int m = 255, nCountArea = 0;
    for (int nRole = 0; nRole < CLUB_POSITION_SLOTS; ++nRole) {
        if (m_abyPlayersByPosition[nRole] >= m)
            continue;
        const int nArea = kRoleArea[nRole];
        m = 0;
        for (int r = 0; r < CLUB_POSITION_SLOTS; ++r)
            if (kRoleArea[r] == nArea)
                m += m_abyPlayersByPosition[r];
        nCountArea = kAreaRepresentative[nArea];
    }
    int w = 255, nRatingArea = 0;
    for (int nArea = 0; nArea < 8; ++nArea) {
        int nSum = 0, nRoles = 0;
        for (int r = 0; r < CLUB_POSITION_SLOTS; ++r)
            if (kRoleArea[r] == nArea) {
                nSum += anRoleMeans[r];
                ++nRoles;
            }
        const int nAreaMean = nRoles ? nSum / nRoles : 0;
        if (nAreaMean < w) {
            w = nAreaMean;
            nRatingArea = kAreaRepresentative[nArea];
        }
    }
    if (w > m_byAverageRating - m_byAverageRating / 5)
        return kAreaNone;
    const int nChosen = m <= kMinimumPlayers[nCountArea] ? nCountArea : nRatingArea;
    m_nFundsMark = GetTransferFunds();
    m_bySearchArea = static_cast<uint8_t>(nChosen);
    m_bySearchMinRating = static_cast<uint8_t>(std::clamp(nMean, 0, 255));
    return nChosen;
}

CClubDatabase::TargetFacts CClubDatabase::TargetFacts::Of(const CPlayerDatabase& player)
{
    TargetFacts facts;
    facts.pClub = player.m_pClub;
    facts.pCountry = player.m_pCountry;
    facts.pDivision = player.m_pDivision;
    facts.dwFlags = player.m_dwFlags;
    facts.dwYearlyWage = player.m_Contract.dwYearlyWage;
    facts.byRating = player.m_byRating;
    facts.byRole = player.m_byRole;
    facts.byTransferState = player.m_byTransferState;
    return facts;
}

int CClubDatabase::GetRoleArea(int nRole)
{
    return nRole >= 0 && nRole < CLUB_POSITION_SLOTS ? kRoleArea[nRole] : -1;
}

bool CClubDatabase::IsSuitableTarget(int nArea, const CPlayerDatabase* pPlayer, bool bAnyCountry, int64_t nPrice) const
{
    return pPlayer && IsSuitableTarget(nArea, TargetFacts::Of(*pPlayer), bAnyCountry, nPrice);
}

bool CClubDatabase::IsSuitableTarget(int nArea, const TargetFacts& facts, bool bAnyCountry, int64_t nPrice) const
{
    if ((facts.dwFlags & PLAYER_FLAG_RETIRING) || facts.pClub == this)
        return false;
    if (nPrice != -1 && nPrice > m_nFundsMark)
        return false;
    const CCountryDatabase* pCountry = facts.pCountry;
    if (!bAnyCountry && (!pCountry || !m_pCountry || pCountry->GetID() != m_pCountry->GetID()))
        return false;
    // A released player costs no fee: a squad player below the mark will do.
    const bool bReleased = facts.byTransferState == PLAYER_TRANSFER_LEAVING;
    const int nMark = bReleased ? m_bySearchMinRating * 2 / 3 : m_bySearchMinRating;
    if (facts.byRating < nMark)
        return false;
    if (facts.byRole >= CLUB_POSITION_SLOTS || nArea < 0 || nArea >= CLUB_POSITION_SLOTS ||
        kRoleArea[facts.byRole] != kRoleArea[nArea])
        return false;
    return !pCountry || pCountry->IsTransferWindowOpenToday();
}

void CClubDatabase::SearchTransferTargets()
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot || !m_pDivision || m_pDivision->m_byKind != DIVISION_KIND_LEAGUE)
        return;
    const bool bAny = m_pDivision->m_byDivisionNumber <= 2 && m_pCountry && m_pCountry->GetLevel() > 70;

    // The month's digest of the lists, when the clubs search together, passes
    // over the entries that cannot be targets without reading their players.
    const CXList& list = pRoot->GetListMarket();
    const CXList& loans = pRoot->GetLoanMarket();
    const CMarketDigest* pDigest = pRoot->GetMarketDigest();
    if (pDigest && !pDigest->Describes(list, loans))
        pDigest = nullptr;

    // The transfer list from a random entry round to the one before it; an
    // empty list draws nothing.
    const int nArea = GetRoleArea(m_bySearchArea);
    const int nListed = list.GetCount();
    if (nListed > 0) {
        const int nStart = plat::rand() % nListed;
        const auto consider = [&](LPXLISTNODE pNode) {
            const auto* pEntry = static_cast<const CListMarketEntry*>(pNode->pData);
            // A player the club cannot afford is passed over unread.
            if (!pEntry || static_cast<int64_t>(pEntry->GetAskingPrice()) > m_nFundsMark)
                return;
            const CPlayerDatabase* pPlayer = pRoot->GetPlayerFromID(pEntry->GetPlayerID());
            if (pPlayer && IsSuitableTarget(m_bySearchArea, pPlayer, bAny, pEntry->GetAskingPrice()) &&
                pRoot->CountOpenBuyOffers(pPlayer->m_idPerson) <= 6)
                NoteTransferTarget(pPlayer, pPlayer->m_byRole, GetClubIdOf(pPlayer->m_pClub), false);
        };
        if (pDigest) {
            pDigest->Walk(false, nStart, bAny, m_pCountry, nArea, [&](const CMarketDigest::Row& row) {
                if (m_byTransferTargetCount >= 7)
                    return false;
                if (row.bEntry && static_cast<int64_t>(row.dwAskingPrice) <= m_nFundsMark &&
                    (!row.bFacts || IsSuitableTarget(m_bySearchArea, row.facts, bAny, row.dwAskingPrice)))
                    consider(row.pNode);
                return true;
            });
        }
        else {
            LPXLISTNODE pNode = list.GetAt(nStart);
            for (int i = 0; i < nListed && m_byTransferTargetCount < 7; ++i, pNode = NextRound(list, pNode))
                consider(pNode);
        }
    }

    // The country's free players cost no fee.
    if (m_pCountry)
        for (const CPlayerDatabase* pPlayer : m_pCountry->GetUnattachedPlayers().Items<CPlayerDatabase>()) {
            if (m_byTransferTargetCount >= 7)
                break;
            if (IsSuitableTarget(m_bySearchArea, pPlayer, bAny, 0) && pRoot->CountOpenBuyOffers(pPlayer->m_idPerson) <= 6)
                NoteTransferTarget(pPlayer, pPlayer->m_byRole, 0, false);
        }

    SearchRandomClub(bAny);

    // The loan list, the same way.
    const int nLoans = loans.GetCount();
    if (nLoans > 0) {
        const int64_t nWageLimit = static_cast<int64_t>(m_nAverageWage) * 3 * 50 / 100;
        const int nStart = plat::rand() % nLoans;
        const auto consider = [&](LPXLISTNODE pNode) {
            const auto* pEntry = static_cast<const CLoanMarketEntry*>(pNode->pData);
            const CPlayerDatabase* pPlayer = pEntry ? pRoot->GetPlayerFromID(pEntry->GetPlayerID()) : nullptr;
            if (pPlayer && pPlayer->m_pDivision != m_pDivision && pPlayer->m_Contract.dwYearlyWage <= nWageLimit &&
                IsSuitableTarget(m_bySearchArea, pPlayer, bAny, -1) && pRoot->CountOpenLoanOffers(pPlayer->m_idPerson) <= 6)
                NoteTransferTarget(pPlayer, pPlayer->m_byRole, GetClubIdOf(pPlayer->m_pClub), true);
        };
        if (pDigest) {
            pDigest->Walk(true, nStart, bAny, m_pCountry, nArea, [&](const CMarketDigest::Row& row) {
                if (m_byTransferTargetCount >= kTargetLimit)
                    return false;
                if (row.bEntry && (!row.bFacts || (row.facts.pDivision != m_pDivision &&
                                                   row.facts.dwYearlyWage <= nWageLimit &&
                                                   IsSuitableTarget(m_bySearchArea, row.facts, bAny, -1))))
                    consider(row.pNode);
                return true;
            });
        }
        else {
            LPXLISTNODE pNode = loans.GetAt(nStart);
            for (int i = 0; i < nLoans && m_byTransferTargetCount < kTargetLimit; ++i, pNode = NextRound(loans, pNode))
                consider(pNode);
        }
    }
}

void CClubDatabase::SearchRandomClub(bool bAnyCountry)
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot)
        return;
    // Abroad: every country of the world is as likely.
    CCountryDatabase* pCountry = m_pCountry;
    const CXList& countries = pRoot->GetCountries();
    if (bAnyCountry && !countries.IsEmpty())
        pCountry = static_cast<CCountryDatabase*>(countries.GetAt(plat::rand() % countries.GetCount())->pData);
    const int nDivisions = pCountry ? pCountry->GetDivisions().GetCount() : 0;
    if (nDivisions <= 0)
        return;
    const auto* pDivision =
        static_cast<const CDivisionDatabase*>(pCountry->GetDivisions().GetAt(plat::rand() % nDivisions)->pData);
    const int nClubs = pDivision->m_lstClubsByTable.GetCount();
    if (nClubs <= 0)
        return;
    const auto* pOther = static_cast<const CClubDatabase*>(pDivision->m_lstClubsByTable.GetAt(plat::rand() % nClubs)->pData);
    if (pOther == this)
        return;
    const bool bLoan = (plat::rand() & 3) != 0;
    FindTargetInClub(pOther, bAnyCountry, bLoan);
}

bool CClubDatabase::FindTargetInClub(const CClubDatabase* pOther, bool bAnyCountry, bool bLoan)
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot || !pOther)
        return false;
    for (const CPlayerDatabase* p : pOther->m_lstPlayers.Items<CPlayerDatabase>()) {
        // The player's own facts first: most of a squad fails them, and the
        // count of his offers is a look-up.
        const bool bFits = bLoan ? pOther->m_pDivision != m_pDivision &&
                                       IsSuitableTarget(m_bySearchArea, p, bAnyCountry, -1) &&
                                       pRoot->CountOpenLoanOffers(p->m_idPerson) <= 6
                                 : IsSuitableTarget(m_bySearchArea, p, bAnyCountry, p->m_dwAskingPrice) &&
                                       pRoot->CountOpenBuyOffers(p->m_idPerson) <= 6;
        if (bFits)
            return NoteTransferTarget(p, p->m_byRole, pOther->GetID(), bLoan);
    }
    return false;
}

// ---- the weekly steps ----

void CClubDatabase::MakeTargetBids()
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot)
        return;
    int i = 0;
    while (i < m_byTransferTargetCount) {
        CLUBTRANSFERTARGET* p = GetTransferTarget(i);
        if (p->abyData[kTargetLoan] != 0 || p->abyData[kTargetFlag] != 0) {
            ++i;
            continue;
        }
        CPlayerDatabase* pPlayer = pRoot->GetPlayerFromID(static_cast<ID_PLAYER>(TargetWord(p, kTargetPlayer)));
        if (!pPlayer || GetTransferFunds() < static_cast<int64_t>(pPlayer->m_dwAskingPrice)) {
            RemoveTransferTarget(i);
            continue;
        }
        uint32_t adwTerms[CBuyOfferDatabase::TERMS] = {};
        // A released player's club asks nothing for him.
        const bool bReleased = pPlayer->m_byTransferState == PLAYER_TRANSFER_LEAVING;
        if (!bReleased)
            BuildAskingTerms(adwTerms, pPlayer);
        const int n = std::max<int>(1, adwTerms[kTermCounts] & 0xFF);
        int64_t nTotal = GetTermsTotal(adwTerms);
        const int a = p->abyData[kTargetAttempts];
        if (a > 0)
            nTotal += nTotal / 10 * a;
        nTotal = std::min<int64_t>(nTotal, INT32_MAX);
        adwTerms[kTermInstalment] = static_cast<uint32_t>(nTotal / n);
        // Nothing to pay makes no bid, except for a released player, who
        // joins on a free transfer.
        if (nTotal == 0 && !bReleased) {
            ++i;
            continue;
        }
        if (pRoot->MakeBuyOfferToClub(pPlayer, this, static_cast<int32_t>(nTotal), adwTerms, 0, 0) == 0) {
            p->abyData[kTargetFlag] = 1;
            ++p->abyData[kTargetAttempts];
            ++i;
        } else {
            RemoveTransferTarget(i);
        }
    }
}

void CClubDatabase::MakeTargetOffers()
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot)
        return;
    const CDate seasonStart = m_pCountry ? m_pCountry->GetSeasonStartDate() : pRoot->GetSeasonStartDate();
    const int w = std::clamp(pRoot->GetGameDate().DaysBetween(seasonStart) / 7, 0, 12);
    int i = 0;
    while (i < m_byTransferTargetCount) {
        CLUBTRANSFERTARGET* p = GetTransferTarget(i);
        if (p->abyData[kTargetLoan] == 0 || p->abyData[kTargetOfferMade] != 0) {
            ++i;
            continue;
        }
        CPlayerDatabase* pPlayer = pRoot->GetPlayerFromID(static_cast<ID_PLAYER>(TargetWord(p, kTargetPlayer)));
        if (!pPlayer || !pPlayer->m_pClub || w < 4 || HasUsedSeasonLoans()) {
            RemoveTransferTarget(i);
            continue;
        }
        int64_t nFee = static_cast<int64_t>(pPlayer->m_Contract.dwYearlyWage) * (75 + plat::rand() % 75) / 100;
        nFee += nFee / 10 * p->abyData[kTargetAttempts];
        // Four weeks when the season is only four weeks old (no span to draw from).
        const int nDays = w > 4 ? 7 * (4 + plat::rand() % (w - 4)) : 28;
        if (pRoot->MakeLoanOffer(pPlayer, 0, m_wClubId, static_cast<uint16_t>(nDays),
                                 static_cast<uint32_t>(std::min<int64_t>(nFee, UINT32_MAX))) != 0) {
            RemoveTransferTarget(i);
            continue;
        }
        p->abyData[kTargetOfferMade] = 1;
        ++p->abyData[kTargetAttempts];
        ++i;
    }
}

namespace {

// What decides whether a club lets a player go, read once from the squad:
// how many are free to play (not injured, suspended or on a market) and
// the best rating of each position.
struct ListingSquad {
    explicit ListingSquad(const CClubDatabase* pClub)
    {
        for (const CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
            // Only an injured player's injury type says whether he is out.
            const bool bOut = p->IsInjured() && CPlayerDatabase::GetInjuryStatus(p->m_byInjuryType) == 2;
            nAvailable += !bOut && p->m_bySuspensionFlags == 0 && p->m_byTransferState == 0;
            abyBestRating[p->m_byPosition] = std::max(abyBestRating[p->m_byPosition], p->m_byRating);
        }
    }
    // Nobody of his position rated above him.
    bool IsBestOfGroup(const CPlayerDatabase* pPlayer) const
    {
        return pPlayer->m_byRating >= abyBestRating[pPlayer->m_byPosition];
    }
    // Whether the club could let him go at all, before any draw: free to
    // move, more than eighteen to play without him, and not his position's best.
    bool MaySpare(const CPlayerDatabase* pPlayer) const
    {
        return !(pPlayer->m_dwFlags & (PLAYER_FLAG_RETIRING | PLAYER_FLAG_NOT_FOR_SALE | PLAYER_FLAG_NEWLY_SIGNED)) &&
               nAvailable > 18 && !IsBestOfGroup(pPlayer);
    }

    int nAvailable = 0;
    uint8_t abyBestRating[256] = {};
};

// The mean of the listing scores (five, or six with fitness), 0-100.
int ListingScore(const CClubDatabase* pClub, const CPlayerDatabase* pPlayer, bool bWithFitness)
{
    const int nBestOf = std::max(Attribute(pPlayer, PLAYER_ATTRIBUTE_POTENTIAL),
                                 Attribute(pPlayer, PLAYER_ATTRIBUTE_REPUTATION));
    const int nBestAverage = std::max<int>(1, std::max(pClub->m_byAveragePotential, pClub->m_byAverageReputation));
    const int s1 = static_cast<int>(Percent(static_cast<float>(nBestOf * 100 / nBestAverage), 90, 110) + 50.0);
    const int s2 = Percent(static_cast<float>(Attribute(pPlayer, PLAYER_ATTRIBUTE_MORALE) * 100 /
                                              std::max<int>(1, pClub->m_byAverageMorale)),
                           90, 110);
    const int s3 =
        Percent(static_cast<float>(pPlayer->m_byRating * 100 / std::max<int>(1, pClub->m_byAverageRating)), 90, 110);
    const int s4 = 100 - Importance(pClub, pPlayer);
    const int s5 = WishToStay(pPlayer);
    if (!bWithFitness)
        return (s1 + s2 + s3 + s4 + s5) / 6;
    const int s6 = Percent(static_cast<float>(Attribute(pPlayer, PLAYER_ATTRIBUTE_FITNESS) * 100 /
                                              std::max<int>(1, pClub->m_byAverageFitness)),
                           90, 110);
    return (s1 + s2 + s6 + s3 + s4 + s5) / 7;
}

bool MayLeave(const ListingSquad& squad, const CPlayerDatabase* pPlayer)
{
    return squad.MaySpare(pPlayer) && plat::rand() % 80 == 1;
}

// Puts him on the transfer list (or, bLoan, the loan list) when the club can
// spare him and his scores say he may go.
bool ConsiderListing(CClubDatabase* pClub, CPlayerDatabase* pPlayer, bool bLoan, const ListingSquad& squad)
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot || !pPlayer || !MayLeave(squad, pPlayer) || ListingScore(pClub, pPlayer, bLoan) <= 60)
        return false;
    const auto wDays = static_cast<uint16_t>(7 * (6 + plat::rand() % 6));
    return (bLoan ? pRoot->AddPlayerToLoanMarket(pPlayer, wDays)
                  : pRoot->AddPlayerToListMarket(pPlayer, pPlayer->m_dwValue, PLAYER_TRANSFER_LISTED, wDays)) == 0;
}

}  // namespace

bool CClubDatabase::ConsiderListingPlayer(CPlayerDatabase* pPlayer)
{
    return ConsiderListing(this, pPlayer, false, ListingSquad(this));
}

bool CClubDatabase::ConsiderLoanListing(CPlayerDatabase* pPlayer)
{
    return ConsiderListing(this, pPlayer, true, ListingSquad(this));
}

void CClubDatabase::RenewExpiringContracts()
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot)
        return;
    // Every contract with ten weeks or less to run is drawn anew, unless the
    // player is about to move or the club no longer wants him.
    PrefetchSquad(false);
    const int nToday = CPlayerDatabase::GetContractToday();
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>()) {
        if (pPlayer->GetContractWeeksLeft(nToday) > kRenewalWeeks || pRoot->IsPendingTransfer(pPlayer->m_idPerson) ||
            pRoot->CountOpenBuyOffers(pPlayer->m_idPerson) > 0)
            continue;
        // A player about to retire, or one a squad too large can spare, is
        // let go when his contract runs out.
        if ((pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) || IsSurplusPlayer(pPlayer))
            continue;
        pPlayer->GenerateContract(pPlayer->m_Contract, m_pDivision, this, false);
        pPlayer->DrawContractClauses();
        pPlayer->m_dwFlags &= ~PLAYER_FLAG_CONTRACT_REQUEST;
    }
}

void CClubDatabase::DoWeeklyTransferPlanning()
{
    CheckTransferTargets();
    MakeTargetBids();
    MakeTargetOffers();
    RenewExpiringContracts();
    // The squad is read once, and again only after a player is listed.
    ListingSquad squad(this);
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>()) {
        // Most players the club cannot spare: passed over here without a call
        // or a draw, as ConsiderListing would pass them over.
        if (pPlayer->m_byTransferState != 0 || !squad.MaySpare(pPlayer))
            continue;
        if (ConsiderListing(this, pPlayer, false, squad))
            squad = ListingSquad(this);
        if (pPlayer->m_byTransferState == 0 && ConsiderListing(this, pPlayer, true, squad))
            squad = ListingSquad(this);
    }
}
