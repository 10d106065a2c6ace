// What a match does to a player: his value for the match, the counters of a
// quick match and an injury.
#include "database/CPlayerDatabase.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "platform/Random.h"

#include <algorithm>

namespace {

// Match-information fields a quick match writes besides starts, substitute
// appearances, man of the match and bookings.
constexpr int kFieldSendingsOff = 2;
constexpr int kFieldGoals = MATCH_INFORMATION_GOALS;
constexpr int kCompetitionFriendly = 3;

constexpr uint8_t kEventRecovery = 27;
constexpr uint16_t kClauseCareerInsurance = 1u << 8;
constexpr int kCategoryCareerInsurance = 73;
constexpr int kCareerEndingDays = 728;

struct INJURYROW {
    uint8_t byType;
    uint8_t byShortestWeeks;
    uint8_t byLongestWeeks;
    uint8_t byLow;
    uint8_t byHigh;
};

struct INJURYGROUP {
    const INJURYROW* pRows;
    int nRows;
};

const INJURYROW kGroup0[] = {{1, 2, 6, 0, 10}, {2, 1, 3, 10, 95}, {3, 12, 36, 95, 100}};
const INJURYROW kGroup1[] = {{4, 2, 4, 0, 60}, {5, 4, 8, 60, 75}, {6, 4, 10, 75, 95}, {7, 16, 105, 95, 100}};
const INJURYROW kGroup2[] = {{8, 4, 8, 0, 60}, {9, 24, 105, 60, 70}, {10, 1, 3, 70, 100}};
const INJURYROW kGroup3[] = {{11, 1, 4, 0, 60}, {12, 2, 8, 60, 70}, {13, 1, 2, 70, 80}, {14, 1, 6, 80, 90},
                             {15, 2, 6, 90, 100}};
const INJURYROW kGroup4[] = {{16, 2, 6, 0, 40}, {17, 1, 4, 40, 100}};
const INJURYROW kGroup5[] = {{18, 4, 18, 0, 40}, {19, 2, 3, 40, 60}, {20, 1, 2, 60, 100}};
const INJURYROW kGroup5Keeper[] = {{18, 6, 20, 0, 40}, {19, 2, 6, 40, 60}, {20, 2, 4, 60, 100}};
const INJURYROW kGroup6[] = {{21, 1, 2, 0, 60}, {22, 1, 2, 60, 100}};
const INJURYROW kGroup7[] = {{23, 1, 2, 0, 20}, {24, 1, 2, 20, 70}, {25, 1, 3, 70, 100}};

template <size_t N>
constexpr INJURYGROUP Group(const INJURYROW (&rows)[N])
{
    return {rows, static_cast<int>(N)};
}

const INJURYGROUP kInjuryGroups[8] = {Group(kGroup0), Group(kGroup1), Group(kGroup2), Group(kGroup3),
                                      Group(kGroup4), Group(kGroup5), Group(kGroup6), Group(kGroup7)};

// Lowers an attribute by an amount, never below a floor it is already above.
void LowerAttribute(uint16_t& wValue, int nAmount, int nFloor)
{
    const int nValue = wValue;
    if (nValue <= nFloor)
        return;
    wValue = static_cast<uint16_t>(std::max(nValue - nAmount, nFloor));
}

}  // namespace

int CPlayerDatabase::GetInjuryStatus(int nType)
{
    return nType == 2 || nType == 22 || nType == 23 || nType == 24 ? 1 : 2;
}

int CPlayerDatabase::GetMatchMorale(int nMatchKind, const CClubDatabase* pClub,
                                    const CClubDatabase* pOpponent) const
{
    return GetMatchMorale(GetMatchMoraleFactor(nMatchKind, m_pClub ? m_pClub : pClub, pClub, pOpponent));
}

float CPlayerDatabase::GetMatchMoraleFactor(int nMatchKind, const CClubDatabase* pOwn, const CClubDatabase* pClub,
                                            const CClubDatabase* pOpponent)
{
    float fFactor = 1.0f;
    switch (nMatchKind) {
    case 0: {
        const float fDistance = pOwn ? pOwn->GetMapDistance(pOpponent) : 1000.0f;
        if (fDistance <= 5.0f)
            fFactor = 1.05f;
        else if (fDistance <= 15.0f)
            fFactor = 1.02f;
        // The club's fans lift a home side and weigh on a struggling one.
        const int nClubValue = pClub ? std::clamp<int>(pClub->m_nFanConfidence, 0, 100) : 50;
        fFactor += static_cast<float>(nClubValue - 50) * 0.001f;
        break;
    }
    case 1:
        fFactor = 1.05f;
        break;
    case 2:
        fFactor = 1.1f;
        break;
    default:
        break;
    }
    return fFactor;
}

int CPlayerDatabase::GetMatchMorale(float fFactor) const
{
    const float fMorale = static_cast<float>(m_awAttributes[PLAYER_ATTRIBUTE_MORALE] / 100);
    return static_cast<int>(fMorale * fFactor);
}

void CPlayerDatabase::UpdateAfterQuickMatch(int nCompetition, const PLAYERQUICKMATCH& match)
{
    // Creates the competition's block when there is none.
    IncrementMatchInformationField(nCompetition, MATCH_INFORMATION_STARTS, match.bStarted ? 1 : 0);
    if (match.bCameOn)
        IncrementMatchInformationField(nCompetition, MATCH_INFORMATION_SUBSTITUTE, 1);
    if (match.nGoals)
        IncrementMatchInformationField(nCompetition, kFieldGoals, match.nGoals);
    if (match.nBookings)
        IncrementMatchInformationField(nCompetition, MATCH_INFORMATION_BOOKINGS, match.nBookings);
    if (match.bSentOff)
        IncrementMatchInformationField(nCompetition, kFieldSendingsOff, 1);
    m_byMatchByte = static_cast<uint8_t>(std::clamp(match.nRating, 0, 255));
    // Every competitive match he plays earns his rating in season points,
    // and counts toward his goal and clean-sheet bonuses.
    if (nCompetition != kCompetitionFriendly) {
        m_dwSeasonPoints += static_cast<uint32_t>(std::clamp(match.nRating, 0, 255));
        m_byPeriodGoals = static_cast<uint8_t>(std::min(255, m_byPeriodGoals + std::max(0, match.nGoals)));
        if (match.bCleanSheet) {
            m_byPeriodCleanSheets = static_cast<uint8_t>(std::min(255, m_byPeriodCleanSheets + 1));
            m_wSeasonCleanSheets = static_cast<uint16_t>(std::min(65535, m_wSeasonCleanSheets + 1));
        }
    }
    RecordCard(nCompetition, match.nBookings, match.bSentOff);
}

int CPlayerDatabase::DrawInjury(int nGroup, bool bGoalkeeper, uint8_t& byType)
{
    if (nGroup < 0 || nGroup > 7)
        nGroup = 0;
    INJURYGROUP group = kInjuryGroups[nGroup];
    if (nGroup == 5 && bGoalkeeper)
        group = Group(kGroup5Keeper);
    const int nDraw = plat::rand() % 100;
    const INJURYROW* pRow = &group.pRows[group.nRows - 1];
    for (int i = 0; i < group.nRows; ++i) {
        if (nDraw >= group.pRows[i].byLow && nDraw < group.pRows[i].byHigh) {
            pRow = &group.pRows[i];
            break;
        }
    }
    const int nSpan = pRow->byLongestWeeks - pRow->byShortestWeeks + 1;
    byType = pRow->byType;
    return (pRow->byShortestWeeks + plat::rand() % nSpan) * 7;
}

int CPlayerDatabase::DoInjury(int nGroup, bool bInMatch)
{
    uint8_t byType = 0;
    const int nDays = DrawInjury(nGroup, m_byRoleCopy == PLAYER_ROLE_GOALKEEPER, byType);
    m_byInjuryType = byType;
    m_dwFlags |= PLAYER_FLAG_INJURED;
    m_wInjuryDays = static_cast<uint16_t>(std::min(m_wInjuryDays + nDays, 0xFFFF));

    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    bool bCareerEnded = nDays >= kCareerEndingDays;
    if (!bCareerEnded && GetAge() > 32 && m_pDivision) {
        const int nSeasonDays = m_pDivision->m_SeasonEnd.DaysBetween(m_pDivision->m_SeasonStart);
        if (nSeasonDays > 0 && m_wInjuryDays > nSeasonDays / 2)
            bCareerEnded = true;
    }
    if (bCareerEnded)
        m_dwFlags |= PLAYER_FLAG_RETIRING;

    auto* pEntry = new INJURYENTRY;
    today.GetYMD(pEntry->Date);
    pEntry->dwPersonId = m_idPerson;
    pEntry->wDays = static_cast<uint16_t>(nDays);
    pEntry->byType = byType;
    pEntry->byZero = bInMatch ? 0 : 1;
    m_InjuryHistory.AddTail(pEntry);

    if (bCareerEnded) {
        // Insurance pays most of his value to a club that took it out.
        if ((m_Contract.wClauses & kClauseCareerInsurance) && m_pClub)
            m_pClub->AddFinanceTransaction(kCategoryCareerInsurance,
                                           static_cast<int32_t>(m_dwValue / 100 * (90 + plat::rand() % 10)), 0,
                                           m_idPerson);
        return 1;
    }
    const int nWeeks = nDays / 7;
    LowerAttribute(m_awAttributes[PLAYER_ATTRIBUTE_FITNESS], 200 * nWeeks, 2000);
    LowerAttribute(m_awAttributes[PLAYER_ATTRIBUTE_MORALE], 100 * nWeeks, 2000);
    if (m_pCountry)
        m_pCountry->AddEvent(kEventRecovery, CDate(today.GetValue(), nDays), m_idPerson);
    return 0;
}
