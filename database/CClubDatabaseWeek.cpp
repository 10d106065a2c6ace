// A human club's training week, the wear of the pitch and the ratings a club
// starts a game with.
#include "database/CClubDatabase.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "platform/Random.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"
#include "season/CTrainingManager.h"

namespace {

constexpr int kCoachKind = 0;
constexpr int kGroundStaffKind = 1;
// The staff ability that makes a coach's week.
constexpr int kCoachingAbility = 6;
constexpr uint16_t kNewsCoachesIdle = 6;
constexpr uint16_t kNewsCoachesOverworked = 7;
constexpr uint8_t kBoardNoCoaches = 4;
constexpr float kNoCoachTrainingRate = 2.0f;

// Pitch wear by home matches played (at most 3) and the country's weather
// code: row 0 for the grass itself, rows 1-3 for the pitch items a ground
// may have, by kind.
constexpr int kPitchWear[4][6] = {
    {-1, -4, -5, -3, -7, -2}, {-2, -5, -6, -4, -8, -3}, {-3, -6, -7, -5, -9, -4}, {-4, -7, -8, -6, -10, -5}};
constexpr int kPitchItems[3][6] = {{0, 0, 0, 2, 3, 0}, {0, 2, 2, 0, 2, 0}, {1, 0, 0, 0, 0, 1}};

}  // namespace

// ---- training ----

CStaffDatabase* CClubDatabase::GetFirstStaffOfKind(int nKind) const
{
    if (nKind < 0 || nKind >= CLUB_STAFF_KINDS || m_awStaffSlots[nKind][0] == 0 || !m_pDatabaseHandler)
        return nullptr;
    return m_pDatabaseHandler->GetStaffFromID(m_awStaffSlots[nKind][0]);
}

void CClubDatabase::AddStaffMorale(int nChange)
{
    if (!m_pDatabaseHandler)
        return;
    for (int nPlace = 0; nPlace < GetStaffCount(kCoachKind); ++nPlace)
        if (CStaffDatabase* pStaff = m_pDatabaseHandler->GetStaffFromID(m_awStaffSlots[kCoachKind][nPlace]))
            pStaff->m_byMorale = static_cast<uint8_t>(std::clamp(pStaff->m_byMorale + nChange, 0, 100));
}

int CClubDatabase::GetCoachingFigures(float& fQuality) const
{
    fQuality = 0.0f;
    int nTarget = 0;
    int nRating = 0;
    int nCount = 0;
    for (int nPlace = 0; nPlace < GetStaffCount(kCoachKind); ++nPlace) {
        const CStaffDatabase* pStaff =
            m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(m_awStaffSlots[kCoachKind][nPlace]) : nullptr;
        if (!pStaff)
            continue;
        nTarget += ((pStaff->m_abyAbilities[kCoachingAbility] + pStaff->m_byMorale) / 2 - 50) / 10;
        nRating += pStaff->m_byKind == kCoachKind ? pStaff->m_byRating : pStaff->m_byRating / 4;
        ++nCount;
    }
    if (nCount == 0)
        return 0;
    fQuality = static_cast<float>(nRating) / nCount * 0.01f;
    return nTarget / nCount;
}

void CClubDatabase::DoWeeklyTraining(CTrainingManager& training)
{
    const CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr;
    const uint8_t byDelegation = pHuman ? pHuman->GetDelegation(SAVEGAME_DELEGATION_TRAINING) : 0;
    if (byDelegation != 0)
        training.DoDelegate();
    if (GetStaffCount(kCoachKind) == 0) {
        training.ResetWeekTotals();
        CPlayerDatabase::s_fTrainingRate = kNoCoachTrainingRate;
        UpdateBoardConfidence(kBoardNoCoaches, 0);
        return;
    }
    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    training.CalculateWeek(CDate(today.GetValue(), -7));
    float fQuality = 0.0f;
    const int nTarget = GetCoachingFigures(fQuality);
    float fFactor = 1.0f;
    uint16_t wNews = 0;
    switch (training.GetWorkloadBand(nTarget)) {
    case 0:
        AddStaffMorale(-2);
        fFactor = 0.4f;
        wNews = kNewsCoachesOverworked;
        break;
    case 1:
        AddStaffMorale(-1);
        fFactor = 0.7f;
        break;
    case 3:
        AddStaffMorale(-1);
        break;
    case 4:
        AddStaffMorale(-2);
        wNews = kNewsCoachesIdle;
        break;
    default:
        break;
    }
    if (wNews && byDelegation == 0 && pHuman)
        if (const CStaffDatabase* pCoach = GetFirstStaffOfKind(kCoachKind))
            if (CNewsItem* pItem = const_cast<CSaveGame*>(pHuman)->PostNews(wNews, this))
                pItem->SetSlot(NEWS_SLOT_STAFF, pCoach->GetId());
    const TRAININGFACTORS& factors = CTrainingManager::GetFactors();
    CPlayerDatabase::s_fTrainingRate = (fFactor + fQuality) * 0.5f + factors.fCampBonusA + factors.fCampBonusB;
    CPlayerDatabase::s_fEffortThreshold = factors.fFactorA;
    CPlayerDatabase::s_fEffortCap = factors.fFactorB;
    training.UpdateEmphasisFlags();
}

// ---- the pitch ----

void CClubDatabase::UpdatePitchCondition()
{
    const int h = std::min<int>(m_HomeRow.byPlayed, 3);
    const int w = m_pCountry ? std::min((m_pCountry->GetWeather() >> 2) & 7, 5) : 0;
    int nDelta = kPitchWear[h][w];
    const CGroundDatabase* pGround = m_pDatabaseHandler ? m_pDatabaseHandler->GetGroundFromID(m_wHomeGroundId) : nullptr;
    for (int k = 1; k <= 3 && pGround; ++k)
        if (pGround->GetPitchConditionComponent(k))
            nDelta += kPitchItems[k - 1][w];
    // Ground staff: a computer club's care follows its standing; a human's
    // is his ground staff's, each counting by his rating.
    float fFactor = m_byReputation / 100.0f;
    int n = 1;
    if (m_pDatabaseHandler && m_pDatabaseHandler->GetSaveGameForClub(this)) {
        n = GetStaffCount(kGroundStaffKind);
        int nRating = 0;
        for (int nPlace = 0; nPlace < n; ++nPlace)
            if (const CStaffDatabase* pStaff = m_pDatabaseHandler->GetStaffFromID(m_awStaffSlots[kGroundStaffKind][nPlace]))
                nRating += pStaff->m_byRating;
        fFactor = n ? nRating / (100.0f * n) : 0.0f;
    }
    nDelta += static_cast<int>(5.0f * fFactor * n);
    m_byPitchCondition = static_cast<uint8_t>(std::clamp(m_byPitchCondition + nDelta, 0, 100));
}

// ---- a new game ----

void CClubDatabase::GenerateMissingRatings()
{
    int nBase = 20;
    switch (m_pDivision ? m_pDivision->m_byDivisionNumber : 0) {
    case 1:
        nBase = 80;
        break;
    case 2:
        nBase = 70;
        break;
    case 3:
        nBase = 50;
        break;
    case 4:
        nBase = 35;
        break;
    default:
        break;
    }
    if (m_byReputation == 0)
        m_byReputation = static_cast<uint8_t>(nBase + plat::rand() % 15);
    if (m_bySupportLevel == 0)
        m_bySupportLevel = static_cast<uint8_t>(nBase + plat::rand() % 15);
    m_nFanConfidence = static_cast<int8_t>(50 + plat::rand() % 15);
    m_nBoardConfidence = static_cast<int8_t>(std::min(m_byReputation + plat::rand() % 31 - 5, 100));
    m_byPitchCondition = static_cast<uint8_t>(70 + plat::rand() % 20);
    m_nBankBalance = GetMinimumBalance();
    m_nPreviousBalance = m_nBankBalance;
}
