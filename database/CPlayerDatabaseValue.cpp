// Rating for a role, the value curves, the value band and the selection scores.
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"

#include <cmath>
#include <cstdlib>

namespace {

// The news a human manager gets when one of his players will retire.
constexpr uint16_t kNewsRetiring = 68;

struct VALUEBANDPAIR {
    int nLow;
    int nHigh;
};

const VALUEBANDPAIR kValueBands[PLAYER_VALUE_BANDS] = {
    {1000, 75000},       {10000, 120000},     {30000, 175000},     {45000, 250000},
    {60000, 330000},     {75000, 400000},     {100000, 500000},    {150000, 725000},
    {250000, 900000},    {330000, 1000000},   {500000, 2500000},   {750000, 4000000},
    {1000000, 6000000},  {2500000, 8000000},  {4000000, 12000000}, {7500000, 15000000},
};
const VALUEBANDPAIR kBoostBand = {2500000, 10000000};

constexpr int kCurveLength = 100;
float g_afValueCurves[PLAYER_VALUE_BANDS][kCurveLength];
float g_afBoostCurve[kCurveLength];
bool g_bValueTablesReady = false;

// Entry 99 is the high value; every entry below is q times the one above,
// with q chosen so that entry 29 is the low value.
void FillCurve(float* pfCurve, const VALUEBANDPAIR& pair)
{
    const double dRatio = static_cast<double>(pair.nLow) / pair.nHigh;
    for (int r = 0; r < kCurveLength; ++r)
        pfCurve[r] = static_cast<float>(pair.nHigh * std::pow(dRatio, (99 - r) / 70.0));
}

// Curve values are money: the nearest whole unit, then the money steps.
int SteppedMoney(float fValue)
{
    return CDatabaseHandler::RoundMoneyValue(static_cast<int>(std::lround(fValue)));
}

}  // namespace

void CPlayerDatabase::InitialisePlayerValueTables()
{
    for (int b = 0; b < PLAYER_VALUE_BANDS; ++b)
        FillCurve(g_afValueCurves[b], kValueBands[b]);
    FillCurve(g_afBoostCurve, kBoostBand);
    g_bValueTablesReady = true;
}

float CPlayerDatabase::GetValueCurveEntry(int nBand, int nRating)
{
    if (!g_bValueTablesReady)
        InitialisePlayerValueTables();
    nBand = nBand < 0 ? 0 : (nBand >= PLAYER_VALUE_BANDS ? PLAYER_VALUE_BANDS - 1 : nBand);
    nRating = nRating < 0 ? 0 : (nRating >= kCurveLength ? kCurveLength - 1 : nRating);
    return g_afValueCurves[nBand][nRating];
}

float CPlayerDatabase::GetBoostCurveEntry(int nIndex)
{
    if (!g_bValueTablesReady)
        InitialisePlayerValueTables();
    nIndex = nIndex < 0 ? 0 : (nIndex >= kCurveLength ? kCurveLength - 1 : nIndex);
    return g_afBoostCurve[nIndex];
}

int CPlayerDatabase::GetPeakAge(int nRole)
{
    if (nRole == 0)
        return 30;
    if (nRole == 3 || nRole == 7 || nRole == 15)
        return 28;
    return 26;
}

int CPlayerDatabase::GetPlayerValue(int nBand) const
{
    int nBoost = 0;
    if (nBand >= PLAYER_VALUE_BANDS - 1 && m_byRating > 85) {
        int k = (m_byRating - 85) * 6;
        if (k < 0 || k >= kCurveLength) {
            DebugLog(1, "GetPlayerValue :: My boost is bad");
            k = 50;
        }
        nBoost = SteppedMoney(GetBoostCurveEntry(k));
    }
    const int nRating = m_byRating > 99 ? 99 : m_byRating;
    return SteppedMoney(GetValueCurveEntry(nBand, nRating)) + nBoost;
}

int CPlayerDatabase::GetRawValueBand(const VALUEBANDFACTORS& factors) const
{
    // Age: young players near their peak are worth most; past the peak the
    // distance counts double and ability no longer helps.
    const int nAge = GetAge();
    const int nPeak = GetPeakAge(m_byRole);
    int nAbility = m_awAttributes[PLAYER_ATTRIBUTE_REPUTATION];
    if (m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] > nAbility)
        nAbility = m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL];
    nAbility = nAbility / 100 / 10;
    int nAgePart = 0;
    if (nAge <= nPeak) {
        const int d = nPeak - nAge;
        const int nBonus = (nAbility == 5 || nAbility == 6) ? 1 : (nAbility == 7 ? 2 : (nAbility >= 8 ? 3 : 0));
        nAgePart = nBonus + (d <= 2 ? 3 : (d <= 5 ? 2 : (d <= 8 ? 1 : 0)));
    } else {
        const int d = (nAge - nPeak) * 2;
        nAgePart = d <= 2 ? 3 : (d <= 5 ? 2 : (d <= 8 ? 1 : 0));
    }

    int nDivisionPart = 0;
    if (factors.nDivisionLevel >= 1 && factors.nDivisionLevel <= 4)
        nDivisionPart = 5 - factors.nDivisionLevel;

    const int nPositionPart = GetPositionFromRole(m_byRole);

    int nPlayingTimePart = 0;
    if (factors.bHasClub) {
        if (!factors.bDivisionCountsPlayingTime) {
            nPlayingTimePart = 1;
        } else {
            const int nStarts = GetStartPercentage();
            nPlayingTimePart = nStarts >= 70 ? 2 : (nStarts > 30 ? 1 : 0);
        }
    }

    int nCountryPart = -2;
    if (factors.bHasCountry) {
        const int nLevel = factors.nCountryLevel / 10;
        nCountryPart = nLevel <= 3 ? -2 : (nLevel <= 6 ? -1 : (nLevel == 7 ? 0 : (nLevel == 8 ? 1 : 2)));
    }

    int nClubPart = -1;
    if (factors.bHasClub)
        nClubPart = factors.nClubRating > 75 ? 1 : (factors.nClubRating < 41 ? -1 : 0);

    return nAgePart + nDivisionPart + nPositionPart + nPlayingTimePart + nCountryPart + nClubPart;
}

int CPlayerDatabase::GetValueBand(bool bRaw)
{
    VALUEBANDFACTORS factors;
    GetValueBandFactors(factors);
    const int nRawBand = GetRawValueBand(factors);
    if (bRaw)
        return nRawBand;
    if (nRawBand > m_byValueBand)
        ++m_byValueBand;
    else if (nRawBand < m_byValueBand && m_byValueBand > 0)
        --m_byValueBand;
    return m_byValueBand;
}

void CPlayerDatabase::UpdateRatingAndValue(bool bFull)
{
    if (bFull) {
        m_byRating = static_cast<uint8_t>(GetRatingForPosition(-1));
        int nBand = GetValueBand(true);
        // The stored band is a byte; the value reads bands 0-15 in any case.
        nBand = nBand < 0 ? 0 : (nBand > 255 ? 255 : nBand);
        m_byValueBand = static_cast<uint8_t>(nBand);
        m_dwValue = static_cast<uint32_t>(GetPlayerValue(nBand));
        m_dwAskingPrice = m_dwValue;
    }
    AddCareerEntry(m_pClub, false);
    DoWorkPermitTest();
}

void CPlayerDatabase::WeeklyValueUpdate(bool bWeekly)
{
    m_dwValue = static_cast<uint32_t>(GetPlayerValue(GetValueBand(false)));
    if (m_byTransferState != PLAYER_TRANSFER_LISTED && m_byTransferState != PLAYER_TRANSFER_LEAVING)
        m_dwAskingPrice = m_dwValue;
    if (!bWeekly)
        return;
    m_dwFlags &= ~PLAYER_FLAG_CONTRACT_REQUEST;
    // The retirement announcement; a human manager hears of it.
    if (CheckRetirementAge())
        if (CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(m_pClub) : nullptr)
            pHuman->PostNews(kNewsRetiring, m_pClub)->SetSlot(NEWS_SLOT_PERSON, m_idPerson);
}

int CPlayerDatabase::GetRoleSelectionScore(int nRole) const
{
    int nScore = GetRatingForPosition(nRole);
    const bool bInMask = nRole >= 0 && nRole < PLAYER_ROLE_COUNT && (m_wRoleMask & (1u << nRole));
    const auto sameRole = [](int a, int b) { return a == b || (a >= 14 && b >= 14 && a <= 15 && b <= 15); };
    const bool bPrimary = sameRole(nRole, m_byRole);
    if (GetPositionFromRole(nRole) == m_byPosition)
        nScore += 40;
    if (bInMask)
        nScore += 20;
    if (bPrimary)
        nScore += 50;
    if (IsInjured())
        nScore -= 30;
    if ((m_dwFlags & PLAYER_FLAG_NEEDS_WORK_PERMIT) && !(m_dwFlags & PLAYER_FLAG_WORK_PERMIT_SETTLED)) {
        if (!(m_dwFlags & PLAYER_FLAG_WORK_PERMIT_GRANTED))
            nScore += 20;
        else if (!bPrimary && !bInMask)
            nScore += 20;
        else
            nScore += 120;
    }
    return nScore;
}

int CPlayerDatabase::GetMatchSelectionScore(int nRole, int nKind, bool bAllowUnfit) const
{
    return GetMatchSelectionScore(nRole, nKind, bAllowUnfit, GetRatingForPosition(nRole));
}

int CPlayerDatabase::GetMatchSelectionScore(int nRole, int nKind, bool bAllowUnfit, int nRating) const
{
    return GetMatchSelectionScoreWithBan(nRole, bAllowUnfit, nRating, IsSuspended(nKind));
}
