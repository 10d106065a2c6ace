// What the season does to a player between matches: bans from bookings and
// sendings-off, recovery from injury on its date, the work-permit review, the
// retirement announcement, and the weekly passes over his contract and his
// place on the transfer list.
#include "database/CPlayerDatabase.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/PersonOwners.h"
#include "platform/Random.h"

namespace {

constexpr uint8_t kEventRecovery = 27;
constexpr uint8_t kEventWorkPermit = 28;
constexpr uint8_t kEventBan = 29;

// Disciplinary rules: every so many bookings of a season in a competition
// family cost one match, and a sending-off costs one match. Friendlies have
// no consequences.
constexpr int kDomesticBookingsPerBan = 5;
constexpr int kEuropeanBookingsPerBan = 3;
constexpr int kCompetitionEuropean = 2;
constexpr int kCompetitionFriendly = 3;

// The disciplinary entry: the ban's start date (u16 year, month, day), the
// player, the ban marks, the matches, the competition kind and a zero.
constexpr int kEntryMarks = DISCIPLINARYENTRY::MARKS;
constexpr int kEntryMatches = 9;
constexpr int kEntryKind = 10;

// Injury cover by contract clause, and the cost factor of each injury type.
constexpr uint16_t kClauseWageCover = 1u << 1;
constexpr uint16_t kClauseValueCover = 1u << 2;
constexpr int kCategoryWageCover = 70;
constexpr int kCategoryValueCover = 71;
constexpr int kInjuryCostFactor[PERSON_INJURY_TYPES] = {0,   100, 25,  150, 75,  100, 100, 200, 150,
                                                        150, 75,  75,  100, 75,  125, 200, 300, 150,
                                                        200, 100, 75,  250, 100, 50,  50,  150};
constexpr int kCoverAfterDays = 7;
constexpr int kSettlingInDays = 182;

constexpr int kPermitPlayedPercentage = 75;
constexpr int kPermitMatches = 11;
constexpr int kRetirementYearsPastPeak = 10;
// A computer club's listing runs out after this many days; a player rated
// above this share of the squad's average rating is taken back instead.
constexpr int kListedTooLongDays = 150;
constexpr int kTakenBackPercent = 110;

void WriteEntryDate(DISCIPLINARYENTRY& entry, const CDate& date)
{
    entry.abyData[0] = static_cast<uint8_t>(date.GetYear() & 0xFF);
    entry.abyData[1] = static_cast<uint8_t>(date.GetYear() >> 8);
    entry.abyData[2] = static_cast<uint8_t>(date.GetMonth());
    entry.abyData[3] = static_cast<uint8_t>(date.GetDay());
}

CDate ReadEntryDate(const DISCIPLINARYENTRY& entry)
{
    return entry.GetDate();
}

}  // namespace

void CPlayerDatabase::RecordCard(int nCompetition, int nBookings, bool bSentOff)
{
    if (nCompetition < 0 || nCompetition >= kCompetitionFriendly || (nBookings <= 0 && !bSentOff))
        return;
    const bool bEuropean = nCompetition == kCompetitionEuropean;
    // The season's bookings of the family, this match's included.
    int nTotal = 0;
    if (bEuropean)
        nTotal = GetMatchInformationField(kCompetitionEuropean, MATCH_INFORMATION_BOOKINGS);
    else
        nTotal = GetMatchInformationField(0, MATCH_INFORMATION_BOOKINGS) +
                 GetMatchInformationField(1, MATCH_INFORMATION_BOOKINGS);
    const int nPerBan = bEuropean ? kEuropeanBookingsPerBan : kDomesticBookingsPerBan;
    const int nBefore = std::max(nTotal - std::max(nBookings, 0), 0);
    int nMatches = nTotal / nPerBan - nBefore / nPerBan;
    if (bSentOff)
        ++nMatches;
    if (nMatches <= 0)
        return;

    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    const CDate start(today.GetValue(), 1);
    auto* pEntry = new DISCIPLINARYENTRY;
    WriteEntryDate(*pEntry, start);
    for (int i = 0; i < 4; ++i)
        pEntry->abyData[4 + i] = static_cast<uint8_t>(m_idPerson >> (8 * i));
    pEntry->abyData[kEntryMarks] = bEuropean ? PLAYER_SUSPENDED_EUROPEAN
                                             : static_cast<uint8_t>(PLAYER_SUSPENDED_DOMESTIC |
                                                                    PLAYER_SUSPENDED_DOMESTIC_MARK);
    pEntry->abyData[kEntryMatches] = static_cast<uint8_t>(std::min(nMatches, 255));
    pEntry->abyData[kEntryKind] = static_cast<uint8_t>(nCompetition);
    m_DisciplinaryHistory.AddTail(pEntry);
    if (m_pCountry)
        m_pCountry->AddEvent(kEventBan, start, m_idPerson);
    else
        DebugLog(1, "[CPlayerDatabase::RecordCard] %s has no country to start his ban", GetShortName());
}

void CPlayerDatabase::OnEvent(int nEvent, const CDate& date)
{
    switch (nEvent) {
    case kEventRecovery:
        m_byInjuryType = 0;
        m_dwFlags &= ~PLAYER_FLAG_INJURED;
        break;
    case kEventWorkPermit:
        ReviewWorkPermit();
        break;
    case kEventBan: {
        for (const DISCIPLINARYENTRY* pEntry : m_DisciplinaryHistory.Items<DISCIPLINARYENTRY>()) {
            if (ReadEntryDate(*pEntry) != date)
                continue;
            const uint8_t byMarks = pEntry->abyData[kEntryMarks];
            const uint8_t byMatches = pEntry->abyData[kEntryMatches];
            m_bySuspensionFlags |= byMarks;
            // The entry's own marks say which ban it is, so a European ban
            // never lengthens a domestic one that happens to be running.
            if (byMarks & PLAYER_SUSPENDED_DOMESTIC_MARK)
                m_byDomesticBanMatches = static_cast<uint8_t>(std::min(m_byDomesticBanMatches + byMatches, 255));
            else
                m_byEuropeanBanMatches = static_cast<uint8_t>(std::min(m_byEuropeanBanMatches + byMatches, 255));
            return;
        }
        DebugLog(1, "Suspension Event not found");
        break;
    }
    default:
        DebugLog(2, "[CPlayerDatabase::OnEvent] Event %d for %s is not the player's", nEvent, GetShortName());
        break;
    }
}

void CPlayerDatabase::ReviewWorkPermit()
{
    if (!(m_dwFlags & PLAYER_FLAG_NEEDS_WORK_PERMIT))
        return;
    if (GetPlayedPercentage() >= kPermitPlayedPercentage || GetMatchesAvailable() < kPermitMatches)
        return;
    m_dwFlags |= PLAYER_FLAG_WORK_PERMIT_SETTLED;
    if (!m_pClub || !m_pDatabaseHandler)
        return;
    const CDate today = m_pDatabaseHandler->GetGameDate();
    if (IsClubHumanManaged(m_pClub)) {
        // The human decides what to do with him; he may no longer play.
        DebugLog(7, "[CPlayerDatabase::ReviewWorkPermit] %s: work permit has lapsed", GetShortName());
        return;
    }
    if (m_byTransferState == 0) {
        m_pDatabaseHandler->AddPlayerToListMarket(this, m_dwValue / 2, PLAYER_TRANSFER_LISTED, 65535);
        DebugLog(7, "%s : %s on list for 1/2 price as work permit has expired %02d/%02d/%d", m_pClub->m_szShortName,
                 GetShortName(), today.GetDay(), today.GetMonth(), today.GetYear());
    }
}

bool CPlayerDatabase::CheckRetirementAge()
{
    if (m_dwFlags & PLAYER_FLAG_RETIRING)
        return false;
    if (GetAge() < GetPeakAge(m_byRole) + kRetirementYearsPastPeak)
        return false;
    m_dwFlags |= PLAYER_FLAG_RETIRING;
    return true;
}

void CPlayerDatabase::WeeklyContractCheck()
{
    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    // A player out for more than a week is paid for by his injury cover. His
    // injury history is read only when he is injured.
    const LPXLISTNODE pLast = IsInjured() && m_pClub ? m_InjuryHistory.GetTail() : nullptr;
    if (pLast) {
        const auto* pEntry = static_cast<const INJURYENTRY*>(pLast->pData);
        const CDate start(pEntry->Date.wYear, pEntry->Date.byMonth, pEntry->Date.byDay);
        if (today.DaysBetween(start) > kCoverAfterDays) {
            if (m_Contract.wClauses & kClauseWageCover)
                m_pClub->AddFinanceTransaction(kCategoryWageCover, 0, static_cast<int32_t>(m_Contract.dwYearlyWage / 52),
                                               m_idPerson);
            else if (m_Contract.wClauses & kClauseValueCover) {
                const int nFactor = kInjuryCostFactor[m_byInjuryType < PERSON_INJURY_TYPES ? m_byInjuryType : 0];
                m_pClub->AddFinanceTransaction(
                    kCategoryValueCover, 0,
                    static_cast<int32_t>(0.24 * 0.01 * m_dwValue * (1.0 / 12.0) * (nFactor / 100.0)), m_idPerson);
            }
        }
    }
    // A new signing has settled in after half a year.
    if ((m_dwFlags & PLAYER_FLAG_NEWLY_SIGNED) && CDate(m_Contract.dwStartDate).IsValid() &&
        today.DaysBetween(CDate(m_Contract.dwStartDate)) > kSettlingInDays) {
        m_dwFlags &= ~PLAYER_FLAG_NEWLY_SIGNED;
        ReviewSigning();
    }
    // A contract that has run out lets him go for nothing; a fee or loan
    // listing gives way to the free one. A player out on loan waits until he
    // is back.
    const CDate end(m_Contract.dwEndDate);
    if (m_pClub && m_pDatabaseHandler && end.IsValid() && end <= today &&
        m_byTransferState != PLAYER_TRANSFER_LEAVING && m_byTransferState != PLAYER_TRANSFER_ON_LOAN) {
        m_pDatabaseHandler->RemovePlayerFromListMarket(this, 0, 2, 0);
        m_pDatabaseHandler->RemovePlayerFromLoanMarket(this, 0, 2, 0);
        m_pDatabaseHandler->AddPlayerToListMarket(this, 0, PLAYER_TRANSFER_LEAVING, 0);
    }
}

void CPlayerDatabase::WeeklyListingUpdate(bool bWeekly)
{
    // The listing may end in a move or in retirement; the points of the
    // weeks before stay with the club they were won for.
    PostSeasonPoints();
    if (!bWeekly || !m_pClub || !m_pDatabaseHandler)
        return;
    // A human's player may ask for a better contract, four weeks in five.
    // (Asked of every player every week: the root answers inline.)
    if (m_pDatabaseHandler->GetSaveGameForClub(m_pClub)) {
        if (plat::rand() % 5 != 0 && m_byTransferState == 0 && !(m_dwFlags & PLAYER_FLAG_CONTRACT_REQUEST))
            CheckContractRequest();
        return;
    }
    if (m_wDaysListed < kListedTooLongDays)
        return;
    const bool bTakenBack = m_byRating * 100 > m_pClub->m_byAverageRating * kTakenBackPercent;
    const CDate today = m_pDatabaseHandler->GetGameDate();
    if (m_byTransferState == PLAYER_TRANSFER_LISTED) {
        m_pDatabaseHandler->RemovePlayerFromListMarket(this, 0, 2, 4);
        if (bTakenBack) {
            // Back in the squad: he counts in his group again.
            m_dwFlags &= ~PLAYER_FLAG_RELEASED;
            return;
        }
        m_pDatabaseHandler->AddPlayerToListMarket(this, 0, PLAYER_TRANSFER_LEAVING, 0);
        DebugLog(7, "%s : %s on list too long for 1/2 price so put on for free %02d/%02d/%d", m_pClub->m_szShortName,
                 GetShortName(), today.GetDay(), today.GetMonth(), today.GetYear());
    }
    else if (m_byTransferState == PLAYER_TRANSFER_LEAVING && !(m_dwFlags & PLAYER_FLAG_RETIRING)) {
        if (bTakenBack) {
            m_pDatabaseHandler->RemovePlayerFromListMarket(this, 0, 2, 4);
            m_dwFlags &= ~PLAYER_FLAG_RELEASED;
            return;
        }
        // Nobody wanted him even for nothing: he retires at the season's end.
        m_dwFlags |= PLAYER_FLAG_RETIRING;
        DebugLog(7, "%s : %s on list too long for free so retire %02d/%02d/%d", m_pClub->m_szShortName,
                 GetShortName(), today.GetDay(), today.GetMonth(), today.GetYear());
    }
}
