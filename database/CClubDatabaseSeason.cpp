// What a club makes of its season and its manager's job: where it stands in
// the table, what money it can reach, whether its job is open and whom it
// would take, the board's verdict on the season's target and the club
// records its players set.
#include "database/CClubDatabase.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/RecordBytes.h"
#include "database/SeasonArchiveRecords.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"

namespace {

constexpr uint16_t kNewsTargetMet = 153;
constexpr uint16_t kNewsTargetMissed = 154;
constexpr uint8_t kBoardTargetMet = 9;
constexpr uint8_t kBoardTargetMissed = 19;
constexpr int kVacancyBoardConfidence = 30;

// Club record slots filled from the squad; slots 7 and 8 are not kept.
enum {
    kRecordAppearances = 0,
    kRecordRating = 1,
    kRecordGoalsAndAssists = 2,
    kRecordFirstCount = 3,  // four season counts: 3-6
    kRecordYoungest = 9,
    kRecordOldest = 10,     // the one slot that keeps the lowest measure
    kRecordWage = 11,
    kRecordValue = 12,
    kRecordGoals = 13,
    kRecordAssists = 14,
};
// The four season counts: man-of-the-match awards, bookings and the match
// counters 2 and 3.
constexpr int kRecordCountFields[4] = {MATCH_INFORMATION_MAN_OF_THE_MATCH, MATCH_INFORMATION_BOOKINGS, 2, 3};

int DivisionLevel(const CDivisionDatabase* pDivision)
{
    return pDivision ? pDivision->m_byDivisionNumber : 0;
}

int ManagerMean(const CManagerDatabase& manager)
{
    return (manager.m_byAbility + manager.m_byRating) / 2;
}


}  // namespace

int CClubDatabase::GetTableZone() const
{
    if (!m_pDivision)
        return 0;
    const int nClubs = m_pDivision->GetClubCount();
    const int nBand = static_cast<int>(nClubs * 0.2);
    if (m_byLeaguePosition < nBand)
        return 1;
    if (m_byLeaguePosition > nClubs - nBand)
        return -1;
    return 0;
}

int64_t CClubDatabase::GetTotalFunds() const
{
    int64_t nFunds = m_nBankBalance;
    if (const CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr)
        nFunds += pHuman->GetSavings();
    return nFunds;
}

int CClubDatabase::GetManagerVacancyStatus() const
{
    if (!m_pDivision || m_pDivision->m_byKind != DIVISION_KIND_LEAGUE)
        return 0;
    if (m_wManagerId == 0)
        return 1;
    return m_nBoardConfidence < kVacancyBoardConfidence ? 2 : 0;
}

int CClubDatabase::WouldManagerAcceptJob(ID_MANAGER idManager) const
{
    const CManagerDatabase* pCandidate = m_pDatabaseHandler ? m_pDatabaseHandler->GetManagerFromID(idManager) : nullptr;
    if (!pCandidate)
        return 0;
    // A human whose present club would have to be paid off beyond half of
    // what this club can reach cannot be had.
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
        if (const CSaveGame* pHuman = m_pDatabaseHandler->GetHumanSlot(nSlot))
            if (pHuman->GetManagerID() == idManager && pHuman->m_nCompensation > GetTotalFunds() / 2)
                return 0;
    const CManagerDatabase* pPresent = GetManager();
    if (!pPresent)
        return GetClubRating() < 1.1 * ManagerMean(*pCandidate) ? 2 : 1;
    auto against = [](int nCandidate, int nPresent) { return std::clamp(50 + nCandidate - nPresent, 0, 100); };
    double dScore = against(pCandidate->m_byAbility, pPresent->m_byAbility) +
                    against(pCandidate->m_byRating, pPresent->m_byRating) +
                    against(ManagerMean(*pCandidate), ManagerMean(*pPresent)) +
                    (100 - std::clamp<int>(m_nBoardConfidence, 0, 100)) + m_byReputation + m_byAverageRating;
    dScore *= 0.15;
    const int nCandidateLevel = DivisionLevel(pCandidate->m_pDivision);
    const int nLevel = DivisionLevel(m_pDivision);
    if (pCandidate->m_pClub && nCandidateLevel > nLevel)
        dScore += 9.0;
    else if (pCandidate->m_pClub && nCandidateLevel == nLevel)
        dScore += 4.5;
    return dScore > 60.0 ? 2 : 1;
}

bool CClubDatabase::CheckSeasonTarget()
{
    const CDivisionDatabase* pTarget =
        m_pCountry ? m_pCountry->FindDivision(m_byTargetDivision) : nullptr;
    const int nLevel = DivisionLevel(m_pDivision);
    bool bMet = true;
    switch (m_byTargetKind) {
    case 0:
        bMet = nLevel == 1 && m_byTargetPosition < 5;
        break;
    case 3:
        bMet = pTarget && m_byTargetPosition <= 2 * (pTarget->GetClubCount() / 3);
        break;
    case 4:
        bMet = pTarget && (pTarget == m_pDivision || DivisionLevel(pTarget) > nLevel);
        break;
    case 5:
        bMet = pTarget && DivisionLevel(pTarget) < nLevel;
        break;
    default:
        break;
    }
    if (bMet) {
        AddNewsItem(kNewsTargetMet);
        UpdateBoardConfidence(kBoardTargetMet, 0);
    }
    else {
        if (CNewsItem* pNews = AddNewsItem(kNewsTargetMissed))
            pNews->SetSlot(NEWS_SLOT_DIVISION, m_pDivision ? m_pDivision->m_byDivisionId : 0);
        UpdateBoardConfidence(kBoardTargetMissed, 0);
    }
    return bMet;
}

// ---- club records ----

void CClubDatabase::UpdateClubRecords(CLUBRECORDENTRY* pRecords) const
{
    auto offer = [&](int nSlot, const CPlayerDatabase* pPlayer, int32_t nMeasure, bool bLowest) {
        CLUBRECORDENTRY& record = pRecords[nSlot];
        const bool bTake = bLowest ? record.nMeasure == 0 || nMeasure < record.nMeasure : nMeasure > record.nMeasure;
        if (bTake)
            record = CLUBRECORDENTRY{static_cast<int32_t>(pPlayer->m_idPerson), m_wClubId, nMeasure};
    };
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>()) {
        if (!pPlayer->GetCurrentCareerEntry())
            continue;
        // A season's records are set in competitive matches: friendlies
        // count for none of them.
        const int nGoals = pPlayer->GetSeasonCompetitiveTotal(MATCH_INFORMATION_GOALS);
        // Assists are not counted by the match engines: that slot and the
        // goals-and-assists slot go by goals alone.
        offer(kRecordAppearances, pPlayer,
              pPlayer->GetSeasonCompetitiveTotal(MATCH_INFORMATION_STARTS) +
                  pPlayer->GetSeasonCompetitiveTotal(MATCH_INFORMATION_SUBSTITUTE),
              false);
        offer(kRecordRating, pPlayer, pPlayer->m_byRating, false);
        offer(kRecordGoalsAndAssists, pPlayer, nGoals, false);
        for (int i = 0; i < 4; ++i)
            offer(kRecordFirstCount + i, pPlayer, pPlayer->GetSeasonCompetitiveTotal(kRecordCountFields[i]), false);
        const DATERECORD& born = pPlayer->m_DateOfBirth;
        const int32_t nBorn = born.wYear * 10000 + born.byMonth * 100 + born.byDay;
        offer(kRecordYoungest, pPlayer, nBorn, false);
        offer(kRecordOldest, pPlayer, nBorn, true);
        offer(kRecordWage, pPlayer, static_cast<int32_t>(std::min<uint32_t>(pPlayer->m_Contract.dwYearlyWage, INT32_MAX)),
              false);
        offer(kRecordValue, pPlayer, static_cast<int32_t>(std::min<uint32_t>(pPlayer->m_dwValue, INT32_MAX)), false);
        offer(kRecordGoals, pPlayer, nGoals, false);
    }
}

void CClubDatabase::AddToSeasonArchive(uint8_t* pTopList, DIVISIONARCHIVERECORD& archive) const
{
    if (const CManagerDatabase* pManager = m_wManagerId ? GetManager() : nullptr) {
        const auto nValue = static_cast<int32_t>(std::min<uint32_t>(pManager->m_dwSeasonValueA, INT32_MAX));
        InsertRecordReference(archive.abyData + division_archive::kManager, 1, pManager->FillReference(nValue, this));
    }
    auto fee = [](const CLUBFEERECORD& record) {
        return PERSONREFERENCE{static_cast<uint32_t>(record.idPlayer), static_cast<uint32_t>(record.idClub),
                               record.nAmount};
    };
    InsertRecordReference(archive.abyData + division_archive::kFeePaid, 1, fee(m_aFeeRecords[0]));
    InsertRecordReference(archive.abyData + division_archive::kFeeReceived, 1, fee(m_aFeeRecords[1]));
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        pPlayer->UpdateSeasonAwards(pTopList, archive);

    CLUBRECORDENTRY aSeason[CLUB_RECORD_SLOTS] = {};
    UpdateClubRecords(aSeason);
    CLUBRECORDENTRY aDivision[CLUB_RECORD_SLOTS] = {};
    for (int i = 0; i < CLUB_RECORD_SLOTS; ++i) {
        const PERSONREFERENCE slot = PERSONREFERENCE::Load(archive.abyData + division_archive::kRecords + i * PERSONREFERENCE::BYTES);
        aDivision[i] = CLUBRECORDENTRY{static_cast<int32_t>(slot.dwSecond), static_cast<int32_t>(slot.dwFirst),
                                       slot.nValue};
    }
    CDatabaseHandler::MergeClubRecords(aDivision, aSeason);
    for (int i = 0; i < CLUB_RECORD_SLOTS; ++i)
        PERSONREFERENCE{static_cast<uint32_t>(aDivision[i].nData2), static_cast<uint32_t>(aDivision[i].nData1),
                        aDivision[i].nMeasure}
            .Store(archive.abyData + division_archive::kRecords + i * PERSONREFERENCE::BYTES);
}

void CClubDatabase::CloseSeasonClubRecords()
{
    UpdateClubRecords(m_aSeasonClubRecords);
    CDatabaseHandler::MergeClubRecords(m_aClubRecords, m_aSeasonClubRecords);
}
