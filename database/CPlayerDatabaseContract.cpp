// A player's contract: drawing one from his value, rating and position and
// the club and division, its time left and its worth.
#include "database/CPlayerDatabase.h"

#include <algorithm>
#include <cstring>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/PersonOwners.h"
#include "season/CNewspaperManager.h"
#include "platform/Random.h"

namespace {

// Bonus bits of the contract's clause word and their amount slots.
constexpr uint16_t kBonus08 = 0x08;
constexpr uint16_t kBonus10 = 0x10;
constexpr uint16_t kBonus20 = 0x20;
constexpr uint16_t kBonus40 = 0x40;
constexpr uint16_t kBonus80 = 0x80;
constexpr uint16_t kBonus100 = 0x100;
constexpr uint16_t kBonus200 = 0x200;
constexpr int kSlot08 = 0, kSlot10 = 1, kSlot20 = 2, kSlot40 = 3, kSlot80 = 4, kSlot100 = 5, kSlot200 = 6;

int Draw100() { return plat::rand() % 100; }

int DivisionLevel(const CDivisionDatabase* pDivision)
{
    return pDivision ? std::clamp<int>(pDivision->m_byDivisionNumber, 1, 4) : 4;
}

bool IsLowestDivision(const CDivisionDatabase* pDivision)
{
    if (!pDivision || !pDivision->m_pCountry)
        return false;
    int nLowest = 0;
    for (const CDivisionDatabase* p : pDivision->m_pCountry->GetDivisions().Items<CDivisionDatabase>())
        if (p->m_byKind == DIVISION_KIND_LEAGUE)
            nLowest = std::max<int>(nLowest, p->m_byDivisionNumber);
    return pDivision->m_byDivisionNumber >= nLowest;
}

// League matches a club plays in the division's season; never below 21 so
// that a target of 20 + rand() % (M - 20) can always be drawn.
int SeasonMatches(const CDivisionDatabase* pDivision)
{
    const int nClubs = pDivision ? pDivision->GetClubCount() : 0;
    return std::max(21, (nClubs - 1) * 2);
}

// The yearly cost of a target bonus the club expects at the percentage.
int32_t ExpectedTargetCost(uint32_t dwAmount, int nTarget, int nPercentage)
{
    return nTarget > 0 ? static_cast<int32_t>(static_cast<int64_t>(dwAmount) * nPercentage / 100) : 0;
}

}  // namespace

void CPlayerDatabase::PackContract(const PLAYERCONTRACT& c, uint32_t adwWords[13])
{
    adwWords[0] = c.dwSigningOnFee;
    adwWords[1] = c.dwYearlyWage;
    adwWords[2] = c.dwStartDate;
    adwWords[3] = c.dwEndDate;
    for (int i = 0; i < PLAYER_CONTRACT_BONUSES; ++i)
        adwWords[4 + i] = c.adwBonus[i];
    adwWords[11] = c.wClauses | (static_cast<uint32_t>(c.byClauseLevelA) << 16) |
                   (static_cast<uint32_t>(c.byClauseLevelB) << 24);
    adwWords[12] = c.byGoalsTarget | (static_cast<uint32_t>(c.byBonusTarget) << 8) |
                   (static_cast<uint32_t>(c.byAppearancesTarget) << 16);
}

void CPlayerDatabase::UnpackContract(const uint32_t adwWords[13], PLAYERCONTRACT& c)
{
    c = PLAYERCONTRACT{};
    c.dwSigningOnFee = adwWords[0];
    c.dwYearlyWage = adwWords[1];
    c.dwStartDate = adwWords[2];
    c.dwEndDate = adwWords[3];
    for (int i = 0; i < PLAYER_CONTRACT_BONUSES; ++i)
        c.adwBonus[i] = adwWords[4 + i];
    c.wClauses = static_cast<uint16_t>(adwWords[11] & 0xFFFF);
    c.byClauseLevelA = static_cast<uint8_t>((adwWords[11] >> 16) & 0xFF);
    c.byClauseLevelB = static_cast<uint8_t>(adwWords[11] >> 24);
    c.byGoalsTarget = static_cast<uint8_t>(adwWords[12] & 0xFF);
    c.byBonusTarget = static_cast<uint8_t>((adwWords[12] >> 8) & 0xFF);
    c.byAppearancesTarget = static_cast<uint8_t>((adwWords[12] >> 16) & 0xFF);
}

void CPlayerDatabase::GenerateContract(PLAYERCONTRACT& c, CDivisionDatabase* pDivision, CClubDatabase* pClub,
                                       bool bBackdated) const
{
    if (!pDivision)
        pDivision = m_pDivision;
    if (!pClub)
        pClub = m_pClub;
    c = PLAYERCONTRACT{};
    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate(1999, 7, 1);
    CDate start = today;
    if (bBackdated)
        start -= (plat::rand() % 49) * 7;
    c.dwStartDate = start.GetValue();
    c.dwEndDate = CDate(today.GetValue(), (3 + plat::rand() % 4) * 364).GetValue();

    const int v = static_cast<int>(m_dwValue * 0.003);
    c.dwYearlyWage = static_cast<uint32_t>(std::max(0, CDatabaseHandler::RoundMoneyValue((v + 12 * v) * 4)));

    const int nLevel = DivisionLevel(pDivision);
    const bool bTop = pDivision && pDivision->m_byDivisionNumber == 1;
    const int nClubLevel = pClub ? pClub->m_byReputation : 0;
    const int nRating = m_byRating;
    const int nMatches = SeasonMatches(pDivision);

    // Clause bits 1, 2 and 4: the club, division and player tests.
    if (!bTop && Draw100() < (nClubLevel < 81 ? 30 : 60))
        c.wClauses |= 0x1;
    if (!IsLowestDivision(pDivision) && Draw100() < (bTop ? 75 : 20))
        c.wClauses |= 0x2;
    if (Draw100() < (nRating < 90 ? 35 : 60))
        c.wClauses |= 0x4;

    auto bandAmount = [nRating](int nStep) {
        const int nBand = nRating < 30 ? 1 : nRating < 50 ? 2 : nRating < 70 ? 3 : nRating < 90 ? 4 : 5;
        return nBand * nStep;
    };
    int r = Draw100();
    if (r < (nRating < 85 ? 35 : 75)) {
        c.wClauses |= kBonus08;
        c.adwBonus[kSlot08] = static_cast<uint32_t>(bandAmount(2000) / nLevel);
    }
    if (bTop) {
        r = Draw100();
        if (r < (nRating < 60 ? 20 : 75)) {
            c.wClauses |= kBonus10;
            c.adwBonus[kSlot10] = static_cast<uint32_t>(bandAmount(4000) / nLevel);
        }
    }

    // 0x20 and 0x40: never for goalkeepers; a defender rarely.
    auto attacking = [&](int nDefender, int nMidLow, int nMidHigh, int nAttHigh, int nAttLow) -> int {
        r = Draw100();
        switch (m_byPosition) {
        case 0:
            return 0;
        case 1:
            return r < 2 ? nDefender : 0;
        case 2:
            return nRating < 81 ? (r < 25 ? nMidLow : 0) : (r < 50 ? nMidHigh : 0);
        case 3:
            return nRating > 80 ? (r < 75 ? nAttHigh : 0) : (r < 50 ? nAttLow : 0);
        default:
            DebugLog(0, "[CPlayerDatabase::GenerateContract] Unknown Player Position");
            return 0;
        }
    };
    int nAmount = attacking(500, 600, 800, 1000, 800);
    if (nAmount > 0) {
        c.wClauses |= kBonus20;
        c.adwBonus[kSlot20] = static_cast<uint32_t>(nAmount / nLevel);
    }
    nAmount = attacking(10000, 12000, 16000, 20000, 16000);
    if (nAmount > 0) {
        c.wClauses |= kBonus40;
        c.adwBonus[kSlot40] = static_cast<uint32_t>(nAmount / nLevel);
        c.byGoalsTarget = static_cast<uint8_t>(25 + plat::rand() % 11);
    }
    // 0x80 and 0x100: keepers and defenders; a midfielder rarely; never an attacker.
    auto defensive = [&](int nKeeperHigh, int nKeeperLow, int nDefLow, int nDefHigh, int nMid) -> int {
        r = Draw100();
        switch (m_byPosition) {
        case 0:
            return nRating > 80 ? (r < 75 ? nKeeperHigh : 0) : (r < 50 ? nKeeperLow : 0);
        case 1:
            return nRating < 81 ? (r < 25 ? nDefLow : 0) : (r < 50 ? nDefHigh : 0);
        case 2:
            return r < 2 ? nMid : 0;
        case 3:
            return 0;
        default:
            DebugLog(0, "[CPlayerDatabase::GenerateContract] Unknown Player Position");
            return 0;
        }
    };
    nAmount = defensive(1000, 800, 600, 800, 500);
    if (nAmount > 0) {
        c.wClauses |= kBonus80;
        c.adwBonus[kSlot80] = static_cast<uint32_t>(nAmount / nLevel);
    }
    nAmount = defensive(20000, 16000, 12000, 16000, 10000);
    if (nAmount > 0) {
        c.wClauses |= kBonus100;
        c.adwBonus[kSlot100] = static_cast<uint32_t>(nAmount / nLevel);
        c.byBonusTarget = static_cast<uint8_t>(20 + plat::rand() % (nMatches - 20));
    }
    r = Draw100();
    if (r < (nRating < 71 ? 10 : 50)) {
        c.wClauses |= kBonus200;
        c.byAppearancesTarget = static_cast<uint8_t>(std::min(255, 20 + plat::rand() % (nMatches - 20)));
        c.adwBonus[kSlot200] = static_cast<uint32_t>((10 + plat::rand() % 11) * 1000 / nLevel);
    }
    if (!bBackdated)
        c.dwSigningOnFee = static_cast<uint32_t>(std::max(
            0, CDatabaseHandler::RoundMoneyValue(static_cast<int32_t>(m_dwValue * static_cast<uint64_t>(7 + plat::rand() % 4) / 100))));

    const int a = (nClubLevel + nRating) / 2;
    if (a >= 61) {
        if (Draw100() > 70)
            c.byClauseLevelB = static_cast<uint8_t>(std::max(0, (a - 40) / 10));
        if (Draw100() >= 71)
            c.byClauseLevelA = static_cast<uint8_t>(std::max(0, (a - 40) / 10));
    }
}

int CPlayerDatabase::GetContractToday()
{
    return (m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate(1999, 7, 1)).GetDayNumber();
}

int CPlayerDatabase::GetContractTimeLeft(int nUnit) const
{
    if (nUnit != 1 && nUnit != 2)
        return GetContractWeeksLeft(GetContractToday());
    const int nDays = CDate(m_Contract.dwEndDate).GetDayNumber() - GetContractToday();
    if (nUnit == 1)
        return static_cast<int>(nDays * (1.0 / 365) * 12);
    return static_cast<int>(nDays * (1.0 / 365));
}

int CPlayerDatabase::GetContractLength(int nUnit) const
{
    const int nDays = CDate(m_Contract.dwEndDate).DaysBetween(CDate(m_Contract.dwStartDate));
    if (nUnit == 1)
        return static_cast<int>(nDays * (1.0 / 365) * 12);
    if (nUnit == 2)
        return static_cast<int>(nDays * (1.0 / 365));
    return nDays / 7;
}

int32_t CPlayerDatabase::GetMonthlyInsurance(int nKind) const
{
    if (nKind < 0 || nKind > 3 || !(m_byContractClauses & (1u << nKind)))
        return 0;
    return GetInsurancePremium(nKind);
}

int32_t CPlayerDatabase::GetInsurancePremium(int nKind) const
{
    // Each kind costs a monthly share of his value, in hundredths of a per
    // cent; worked in whole numbers so that 0.24 % of 1,200,000 is 240.
    static const int anRates[4] = {25, 24, 26, 23};
    if (nKind < 0 || nKind > 3)
        return 0;
    return static_cast<int32_t>(static_cast<int64_t>(m_dwValue) * anRates[nKind] / (10000 * 12));
}

int32_t CPlayerDatabase::GetContractAllowances(const PLAYERCONTRACT& c)
{
    static const int32_t anLevelA[6] = {0, 15000, 20000, 30000, 40000, 60000};
    static const int32_t anLevelB[6] = {0, 4800, 6400, 9000, 12000, 15000};
    return anLevelA[std::min<int>(c.byClauseLevelA, 5)] + anLevelB[std::min<int>(c.byClauseLevelB, 5)];
}

int32_t CPlayerDatabase::GetContractWorth(const PLAYERCONTRACT& c, const CClubDatabase* pClub) const
{
    const int nClubLevel = pClub ? pClub->m_byReputation : 50;
    const bool bTop = pClub && pClub->m_pDivision && pClub->m_pDivision->m_byDivisionNumber == 1;
    int64_t nWorth = static_cast<int64_t>(c.dwYearlyWage) + c.dwSigningOnFee;
    if (c.wClauses & kBonus08)
        nWorth += static_cast<int64_t>(c.adwBonus[kSlot08]) * nClubLevel / 100;
    if ((c.wClauses & kBonus10) && bTop)
        nWorth += static_cast<int64_t>(c.adwBonus[kSlot10]) * nClubLevel / 100;
    if (c.wClauses & kBonus200)
        nWorth += ExpectedTargetCost(c.adwBonus[kSlot200], c.byAppearancesTarget, 100);
    nWorth += GetContractAllowances(c);
    static const int anGoalBonus[4] = {0, 2, 5, 15};
    static const int anGoalTarget[4] = {0, 25, 60, 100};
    static const int anCleanBonus[4] = {15, 10, 0, 0};
    static const int anCleanTarget[4] = {100, 75, 0, 0};
    const int p = m_byPosition < 4 ? m_byPosition : 0;
    if (c.wClauses & kBonus20)
        nWorth += static_cast<int64_t>(c.adwBonus[kSlot20]) * anGoalBonus[p];
    if (c.wClauses & kBonus80)
        nWorth += static_cast<int64_t>(c.adwBonus[kSlot80]) * anCleanBonus[p];
    if (c.wClauses & kBonus40)
        nWorth += ExpectedTargetCost(c.adwBonus[kSlot40], c.byGoalsTarget, anGoalTarget[p]);
    if (c.wClauses & kBonus100)
        nWorth += ExpectedTargetCost(c.adwBonus[kSlot100], c.byBonusTarget, anCleanTarget[p]);
    return static_cast<int32_t>(std::min<int64_t>(nWorth, INT32_MAX));
}

void CPlayerDatabase::DrawContractClauses()
{
    const uint32_t w = m_Contract.dwYearlyWage;
    uint8_t by = 0;
    if (w >= 240000 || (w >= 120000 && Draw100() < 30))
        by |= 1;
    if (m_byRating >= 80 || (m_byRating >= 60 && Draw100() < 50))
        by |= 2;
    by |= 4;
    const int nClubLevel = m_pClub ? m_pClub->m_byReputation : 0;
    if (nClubLevel >= 70 || w >= 240000 || (Draw100() < 50 && w >= 120000))
        by |= 8;
    m_byContractClauses = by;
}

// ---- contract wishes ----

namespace {

// Scales a value from [low, high] onto 0-100, clamped.
int Scale(int nValue, int nLow, int nHigh)
{
    if (nHigh <= nLow)
        return 0;
    return std::clamp((nValue - nLow) * 100 / (nHigh - nLow), 0, 100);
}

// How crowded the club is at the player's position, 0-100.
int PositionCrowding(const CClubDatabase& club, int nPosition)
{
    constexpr int kCrowded[4] = {3, 8, 8, 5};
    if (nPosition < 0 || nPosition > 3)
        return 50;
    return Scale(club.CountSquadOfGroup(nPosition), 0, kCrowded[nPosition]);
}

// News types of the unhappiness parts of a wish and of an offer.
constexpr uint16_t kReasonNews[7] = {70, 70, 72, 73, 208, 209, 210};
constexpr uint16_t kNewsBetterContract = 71;
constexpr uint16_t kNewsSigningPaidOff = 108;
constexpr uint16_t kNewsSigningOverpaid = 109;
constexpr uint16_t kNewsOfferRefused = 116;
constexpr uint16_t kNewsPlayerRefusedOther = 198;
constexpr int kSquadLimit = 50;

int IndexOfLargest(const int* pnParts, int nCount)
{
    int nLargest = 0;
    for (int i = 1; i < nCount; ++i)
        if (pnParts[i] > pnParts[nLargest])
            nLargest = i;
    return nLargest;
}

}  // namespace

int CPlayerDatabase::GetPlayingTimeScore() const
{
    const int nAvailable = GetMatchesAvailable();
    if (nAvailable == 0)
        return 50;
    return Scale((GetSeasonStarts() + GetSeasonSubstituteAppearances()) * 100 / nAvailable, 10, 75);
}

int CPlayerDatabase::GetContractHappiness(int& nReason) const
{
    const CManagerDatabase* pManager = m_pClub ? m_pClub->GetManager() : nullptr;
    const int nManagerLevel = pManager ? (pManager->m_byRating + pManager->m_byAbility) / 2 : 50;
    int anParts[4] = {100 - nManagerLevel, 100 - (m_pClub ? m_pClub->GetClubRating() : 50),
                      m_pClub ? PositionCrowding(*m_pClub, m_byPosition) : 50, 100 - GetPlayingTimeScore()};
    nReason = IndexOfLargest(anParts, 4);
    return (anParts[0] + anParts[1] + anParts[2] + anParts[3]) / 4 + 50;
}

int CPlayerDatabase::GetOfferAttraction(const PLAYERCONTRACT& offer, const CClubDatabase* pClub, int& nReason) const
{
    const CManagerDatabase* pManager = pClub ? pClub->GetManager() : nullptr;
    int anParts[7] = {};
    anParts[0] = 100 - (pManager ? pManager->m_byAbility : 50);
    anParts[1] = 100 - (pClub ? pClub->m_byReputation : 50);
    anParts[2] = pClub ? PositionCrowding(*pClub, m_byPosition) : 50;
    if (!pClub)
        anParts[3] = 50;
    else
        anParts[3] = pClub == m_pClub ? GetPlayingTimeScore() : 100 - GetPlayingTimeScore();
    // Clauses his standing would win him that the offer leaves out.
    const CDivisionDatabase* pDivision = pClub ? pClub->m_pDivision : m_pDivision;
    const bool bTop = pDivision && pDivision->m_byDivisionNumber == 1;
    const bool bDivisionTest = !IsLowestDivision(pDivision);
    const bool bClubTest = !bTop;
    const bool bPlayerTest = true;
    anParts[4] = bDivisionTest && !(offer.wClauses & 0x2) ? 100 : 0;
    anParts[5] = bClubTest && !(offer.wClauses & 0x1) ? 100 : 0;
    anParts[6] = bPlayerTest && !(offer.wClauses & 0x4) ? 100 : 0;
    nReason = IndexOfLargest(anParts, 7);
    int nSum = 0;
    for (int n : anParts)
        nSum += n;
    return nSum / 7 + 50;
}

bool CPlayerDatabase::CheckContractRequest()
{
    if (!m_pClub)
        return false;
    const int64_t nPresent = static_cast<int64_t>(GetContractWorth(m_Contract, m_pClub)) * 110 / 100;
    PLAYERCONTRACT fresh;
    GenerateContract(fresh, m_pDivision, m_pClub, true);
    const double dGreed = m_awAttributes[PLAYER_ATTRIBUTE_GREED] / 100;
    const double dMorale = m_awAttributes[PLAYER_ATTRIBUTE_MORALE] / 100;
    const double dFresh = GetContractWorth(fresh, m_pClub) * ((dGreed - 50) / 2 + 100) / 100;
    uint16_t wReason = nPresent < dFresh ? kNewsBetterContract : 0;
    int nPart = 0;
    const double dHappy = GetContractHappiness(nPart) * dFresh / 100 * ((50 - dMorale) / 2 + 100) / 100;
    if (nPresent >= dHappy)
        return false;
    if (wReason == 0)
        wReason = kReasonNews[nPart];
    if (CNewsItem* pNews = m_pClub->AddNewsItem(wReason))
        pNews->SetSlot(NEWS_SLOT_PERSON, m_idPerson);
    m_dwFlags |= PLAYER_FLAG_CONTRACT_REQUEST;
    return true;
}

bool CPlayerDatabase::ProposeAppearanceBonus(const CClubDatabase* pClub, int& nTarget, int& nAmount) const
{
    nTarget = nAmount = 0;
    const CDivisionDatabase* pDivision = pClub ? pClub->m_pDivision : m_pDivision;
    const int r = Draw100();
    if (r >= (m_byRating < 71 ? 10 : 50))
        return false;
    const int nMatches = SeasonMatches(pDivision);
    nTarget = 20 + plat::rand() % (nMatches - 20);
    nAmount = (2 + plat::rand() % 11) * 5000 / DivisionLevel(pDivision);
    return true;
}

void CPlayerDatabase::ReviewSigning() const
{
    if (!m_pClub || !IsClubHumanManaged(m_pClub))
        return;
    // The fee his terms paid: the instalment times their number (the counts
    // word's second byte; its first counts down those still owed).
    const uint64_t nPaid = static_cast<uint64_t>(m_adwTransferBlock[PLAYER_TERMS_INSTALMENT]) *
                           ((m_adwTransferBlock[PLAYER_TERMS_COUNTS] >> 8) & 0xFF);
    const uint64_t nValue = m_dwValue;
    const bool bAboveSquad = m_byRating > m_pClub->m_byAverageRating;
    uint16_t wNews = 0;
    if (nPaid > nValue - nValue / 4 && !bAboveSquad)
        wNews = kNewsSigningOverpaid;
    else if (nPaid < nValue + nValue / 4 && bAboveSquad)
        wNews = kNewsSigningPaidOff;
    if (wNews)
        if (CNewsItem* pNews = m_pClub->AddNewsItem(wNews))
            pNews->SetSlot(NEWS_SLOT_PERSON, m_idPerson);
}

bool CPlayerDatabase::RefuseContractOffer(const CClubDatabase* pOfferClub, const PLAYERCONTRACT& offer) const
{
    if (!pOfferClub)
        return true;
    bool bRefused = (m_dwFlags & PLAYER_FLAG_RETIRING) != 0 ||
                    pOfferClub->GetTotalFunds() < GetContractWorth(offer, pOfferClub);
    if (!bRefused && pOfferClub != m_pClub)
        bRefused = pOfferClub->GetPlayersHeld() >= kSquadLimit;
    if (bRefused) {
        if (CNewsItem* pNews = pOfferClub->AddNewsItem(kNewsOfferRefused))
            pNews->SetSlot(NEWS_SLOT_PERSON, m_idPerson);
        if (m_pClub && m_pClub != pOfferClub)
            if (CNewsItem* pNews = m_pClub->AddNewsItem(kNewsPlayerRefusedOther))
                pNews->SetSlot(NEWS_SLOT_PERSON, m_idPerson);
    }
    return bRefused;
}
