// A club from week to week: the fans', the board's and the bank's opinion of
// it, its form after each match, the weekly step (training, injuries, squad
// and staff averages, the table's mood) and the monthly step with the
// finance run.
#include "database/CClubDatabase.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "database/PersonOwners.h"
#include "season/CSaveGame.h"
#include "season/MatchRecords.h"
#include "platform/Random.h"
#include "season/CGroundDatabase.h"
#include "season/CHoardingsManager.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"
#include "season/CSponsorManager.h"

namespace {

constexpr int kResultLoss = 0;
constexpr int kResultWin = 1;
constexpr int kResultDraw = 2;
constexpr int kResultKinds = 3;
constexpr uint8_t kKindLeague = 0;
constexpr uint8_t kKindFriendly = 3;
// League matches a club plays before the table moves its mood.
constexpr int kMoodAfterMatches = 9;
constexpr int kBoardWarning = 30;
// What the board tells a human it sacks: the general word, the league
// position, a lost run and the club's debts.
constexpr uint16_t kBoardMessageDefault = 135;
constexpr uint16_t kBoardMessageTable = 134;
constexpr uint16_t kBoardMessageLoss = 132;
constexpr uint16_t kBoardMessageDebt = 133;
// Newspaper stories of a club's fortunes.
constexpr uint16_t kStoryNearWinWide = 294;
constexpr uint16_t kStoryNearWinClose = 295;
constexpr uint16_t kStoryBoardLosesPatience = 299;
constexpr uint16_t kStoryWinRun = 301;
constexpr int kWinRunStory = 8;
constexpr uint16_t kStoryFinanciallySecure = 307;
constexpr uint16_t kStoryFinancialTrouble = 308;
constexpr uint16_t kStoryBalanceRaised = 306;

// Training a computer club gives its players each week.
constexpr float kComputerTrainingRate = 1.0f;
constexpr float kComputerEffortThreshold = 1.5f;
constexpr float kComputerEffortCap = 6.0f;

ID_STAFF StaffId(const void* pValue)
{
    return static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
}

}  // namespace

// ---- confidence ----

void CClubDatabase::UpdateFanConfidence(uint8_t byModifier)
{
    int nChange = 0;
    switch (byModifier) {
    case 0:
    case 6:
        nChange = 10;
        break;
    case 1:
    case 5:
        nChange = 1;
        break;
    case 2:
    case 4:
    case 7:
        nChange = 3;
        break;
    case 3:
        nChange = 6;
        break;
    case 8:
    case 9:
        nChange = 2;
        break;
    case 10:
    case 14:
        nChange = -1;
        break;
    case 11:
    case 13:
        nChange = -3;
        break;
    case 12:
        break;
    case 15:
        nChange = -10;
        break;
    case 16:
        nChange = -2;
        break;
    default:
        DebugLog(1, "[CClubDatabase::UpdateFanConfidence] Unknown FANCONFIDENCE_MODIFIER_?");
        return;
    }
    m_nFanConfidence = static_cast<int8_t>(std::clamp(m_nFanConfidence + nChange, 0, 100));
}

void CClubDatabase::UpdateBoardConfidence(uint8_t byModifier, int32_t nAmount)
{
    // A manager new in his job is spared the board's doubts.
    const CManagerDatabase* pManager = m_wManagerId ? GetManager() : nullptr;
    const bool bProtected = pManager && pManager->IsNewInJob();
    CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr;
    uint16_t wMessage = kBoardMessageDefault;
    int nValue = m_nBoardConfidence;
    const int nStep = nAmount < 3 ? 1 : static_cast<int>(std::min<int32_t>(nAmount, 100));
    switch (byModifier) {
    case 0:
        // A club without a manager reads the neutral term.
        nValue = (m_byReputation + GetManagerTerm()) / 2 + 25;
        break;
    case 1:
        nValue += nStep;
        break;
    case 2:
    case 6:
        nValue += 3;
        break;
    case 3:
        nValue += 6;
        break;
    case 4:
    case 8:
        nValue += 1;
        break;
    case 5:
        nValue += 5;
        break;
    case 7:
        nValue += 2;
        break;
    case 9:
        nValue += 15;
        break;
    case 10:
        nValue += 20;
        break;
    case 11:
        if (!bProtected)
            nValue -= nStep;
        break;
    case 12: {
        const int nLevel = m_pDivision ? m_pDivision->m_byDivisionNumber : 0;
        if (!bProtected && (nLevel == 1 || nLevel == 2))
            nValue -= 3;
        break;
    }
    case 13:
        if (!bProtected)
            nValue -= 6;
        break;
    case 14:
        if (!bProtected)
            nValue -= 1;
        wMessage = kBoardMessageTable;
        break;
    case 18:
        if (!bProtected)
            nValue -= 1;
        wMessage = kBoardMessageLoss;
        break;
    case 15: {
        // The ground's worth (its finished works) against what the club owes.
        int64_t nWorth = 0;
        if (m_pGround)
            nWorth = static_cast<int64_t>(m_pGround->GetTotal(0)) + m_pGround->GetTotal(1) + m_pGround->GetTotal(2);
        if (nWorth - m_nLoan <= 0)
            nValue = 0;
        if (!bProtected)
            wMessage = kBoardMessageDebt;
        break;
    }
    case 16:
        nValue -= 5;
        wMessage = kBoardMessageDebt;
        break;
    case 17:
    case 20:
        nValue -= 3;
        break;
    case 19:
        // A human's board that set him no objective of its own judges him
        // by the season's target.
        if (!bProtected && pHuman && pHuman->GetObjectiveType() == BOARD_OBJECTIVE_NONE)
            nValue -= 15;
        break;
    case 21:
    case 22:
        nValue -= 4;
        break;
    case 23:
        nValue -= 8;
        break;
    default:
        DebugLog(1, "[CClubDatabase::UpdateBoardConfidence] Unknown BOARDCONFIDENCE_MODIFIER_?");
        return;
    }
    m_nBoardConfidence = static_cast<int8_t>(std::clamp(nValue, 10, 100));
    // Should the board end his job, this is what it tells him.
    if (pHuman)
        pHuman->m_wLeaveReason = wMessage;
}

void CClubDatabase::UpdateFinancialStability(uint8_t byModifier)
{
    const bool bWasSafe = m_byFinancialStability >= 24;
    const bool bWasBelowTop = m_byFinancialStability < 91;
    int nValue = m_byFinancialStability;
    switch (byModifier) {
    case 0:
        nValue = (m_byReputation + GetManagerTerm()) / 2 + 10;
        break;
    case 1:
        nValue += 3;
        break;
    case 2:
        nValue += 4;
        break;
    case 3:
        nValue -= 3;
        break;
    case 4:
        nValue -= 4;
        break;
    default:
        DebugLog(1, "[CClubDatabase::UpdateFinancialStability] Unknown FINANCIALSTABILITY_MODIFIER_?");
        break;
    }
    m_byFinancialStability = static_cast<uint8_t>(std::clamp(nValue, 20, 100));
    uint16_t wStory = 0;
    if (bWasSafe && m_byFinancialStability < 24)
        wStory = kStoryFinancialTrouble;
    else if (bWasBelowTop && m_byFinancialStability > 90 && m_wManagerId != 0)
        wStory = kStoryFinanciallySecure;
    if (wStory)
        if (CNewspaperStory* pStory = AddNewspaperStory(1, wStory))
            pStory->SetParameterSlot(NEWS_SLOT_PERSON, m_wManagerId);
}

// ---- form ----

void CClubDatabase::UpdateResultRuns(int nGroup, int nResult)
{
    if (nGroup < 0 || nGroup >= 3 || nResult < 0 || nResult >= kResultKinds)
        return;
    uint8_t* pbyRuns = m_abyResultRuns[nGroup];
    if (pbyRuns[nResult] < 255)
        ++pbyRuns[nResult];
    if (pbyRuns[nResult] > pbyRuns[kResultKinds + nResult]) {
        pbyRuns[kResultKinds + nResult] = pbyRuns[nResult];
        if (pbyRuns[nResult] > m_abyBestRuns[nGroup][nResult])
            m_abyBestRuns[nGroup][nResult] = pbyRuns[nResult];
    }
    for (int i = 0; i < kResultKinds; ++i)
        if (i != nResult)
            pbyRuns[i] = 0;
}

CLUBMATCHRECORD CLUBMATCHRECORD::Read(const uint8_t* pbyRecords, int nEntry)
{
    CLUBMATCHRECORD record;
    if (!pbyRecords || nEntry < 0 || nEntry >= kEntries)
        return record;
    const uint8_t* p = pbyRecords + nEntry * kBytes;
    record.wHomeClub = static_cast<uint16_t>(p[0] | p[1] << 8);
    record.wAwayClub = static_cast<uint16_t>(p[2] | p[3] << 8);
    record.nMargin = static_cast<int8_t>(p[4]);
    record.byHomeGoals = p[5];
    record.byAwayGoals = p[6];
    return record;
}

void CLUBMATCHRECORD::Write(uint8_t* pbyRecords, int nEntry) const
{
    if (!pbyRecords || nEntry < 0 || nEntry >= kEntries)
        return;
    uint8_t* p = pbyRecords + nEntry * kBytes;
    p[0] = static_cast<uint8_t>(wHomeClub);
    p[1] = static_cast<uint8_t>(wHomeClub >> 8);
    p[2] = static_cast<uint8_t>(wAwayClub);
    p[3] = static_cast<uint8_t>(wAwayClub >> 8);
    p[4] = static_cast<uint8_t>(nMargin);
    p[5] = byHomeGoals;
    p[6] = byAwayGoals;
    p[7] = 0;
}

void CClubDatabase::NoteMatchRecords(int nGoalsFor, int nGoalsAgainst, bool bHome, const CClubDatabase* pOpponent)
{
    const int nMargin = std::clamp(nGoalsFor - nGoalsAgainst, -127, 127);
    CLUBMATCHRECORD match;
    const uint16_t wOpponent = pOpponent ? pOpponent->m_wClubId : 0;
    match.wHomeClub = bHome ? m_wClubId : wOpponent;
    match.wAwayClub = bHome ? wOpponent : m_wClubId;
    match.nMargin = static_cast<int8_t>(nMargin);
    match.byHomeGoals = static_cast<uint8_t>(std::clamp(bHome ? nGoalsFor : nGoalsAgainst, 0, 255));
    match.byAwayGoals = static_cast<uint8_t>(std::clamp(bHome ? nGoalsAgainst : nGoalsFor, 0, 255));
    const int nEntry = nMargin > 0 ? (bHome ? 2 : 3) : (bHome ? 0 : 1);
    for (uint8_t* pbyRecords : {m_abySeasonStatistics, m_abyStatistics}) {
        const CLUBMATCHRECORD kept = CLUBMATCHRECORD::Read(pbyRecords, nEntry);
        if ((nMargin > 0 && nMargin > kept.nMargin) || (nMargin < 0 && nMargin < kept.nMargin))
            match.Write(pbyRecords, nEntry);
    }
    // Home id and away id in the first word, the goals in the second.
    const int nTotal = match.byHomeGoals + match.byAwayGoals;
    const int32_t nClubs = static_cast<int32_t>(match.wHomeClub | static_cast<uint32_t>(match.wAwayClub) << 16);
    const auto wGoals = static_cast<uint16_t>(match.byHomeGoals | match.byAwayGoals << 8);
    const auto total = [](uint16_t w) { return (w & 0xFF) + (w >> 8); };
    if (nTotal > total(m_wSeasonResult)) {
        m_nSeasonResult = nClubs;
        m_wSeasonResult = wGoals;
    }
    if (nTotal > total(m_wRecordResult)) {
        m_nRecordResult = nClubs;
        m_wRecordResult = wGoals;
    }
}

void CClubDatabase::DoMatchResultUpdate(uint8_t byKind, int nGoalsFor, int nGoalsAgainst, bool bHome,
                                        const CClubDatabase* pOpponent)
{
    if (byKind == kKindLeague) {
        m_awResultTotals[0] = static_cast<uint16_t>(std::min(m_awResultTotals[0] + nGoalsFor, 0xFFFF));
        m_awResultTotals[1] = static_cast<uint16_t>(std::min(m_awResultTotals[1] + nGoalsAgainst, 0xFFFF));
    }
    const int nMargin = nGoalsFor - nGoalsAgainst;
    const int nSide = bHome ? 1 : 2;
    if (byKind != kKindFriendly)
        NoteMatchRecords(nGoalsFor, nGoalsAgainst, bHome, pOpponent);
    if (nMargin > 0) {
        UpdateResultRuns(0, kResultWin);
        UpdateResultRuns(nSide, kResultWin);
        if (m_abyResultRuns[0][kResultWin] == kWinRunStory && m_wManagerId != 0)
            if (CNewspaperStory* pStory = AddNewspaperStory(1, kStoryWinRun))
                pStory->SetParameterSlot(NEWS_SLOT_PERSON, m_wManagerId);
        // A clear league win over a neighbour makes the local paper.
        if (byKind == kKindLeague && nMargin >= 2 && pOpponent) {
            const uint16_t wStory = IsNearClub(pOpponent, 5)    ? kStoryNearWinClose
                                    : IsNearClub(pOpponent, 15) ? kStoryNearWinWide
                                                                : 0;
            if (wStory)
                if (CNewspaperStory* pStory = AddNewspaperStory(1, wStory)) {
                    pStory->SetParameterSlot(NEWS_SLOT_CLUB_B, pOpponent->m_wClubId);
                    pStory->SetParameterSlot(6, static_cast<uint32_t>(nGoalsFor));
                    pStory->SetParameterSlot(7, static_cast<uint32_t>(nGoalsAgainst));
                }
        }
        UpdateFanConfidence(1);
        UpdateBoardConfidence(1, nMargin);
    }
    else if (nMargin < 0) {
        UpdateResultRuns(0, kResultLoss);
        UpdateResultRuns(nSide, kResultLoss);
        if (byKind != kKindFriendly) {
            UpdateFanConfidence(10);
            UpdateBoardConfidence(11, -nMargin);
        }
    }
    else {
        UpdateResultRuns(0, kResultDraw);
        UpdateResultRuns(nSide, kResultDraw);
    }
    if (byKind == kKindLeague && m_wManagerId != 0)
        if (CManagerDatabase* pManager = GetManager())
            pManager->RecordLeagueResult(nGoalsFor, nGoalsAgainst, m_byLeaguePosition);
}

void CClubDatabase::UpdateAfterMatch(uint8_t byKind, int nGoalsFor, int nGoalsAgainst, bool bHome,
                                     const CClubDatabase* pOpponent)
{
    DoMatchResultUpdate(byKind, nGoalsFor, nGoalsAgainst, bHome, pOpponent);
    PrefetchSquad(byKind != MATCHKIND_FRIENDLY);
    // A competitive match counts for every player who could have played it
    // (his share of them decides his permit); a banned player could not be
    // picked, so it counts toward his ban.
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>()) {
        if (byKind != MATCHKIND_FRIENDLY && pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN)
            pPlayer->CountMatchAvailable(byKind);
        if (pPlayer->IsSuspended(byKind))
            pPlayer->ServeSuspension(byKind);
    }
}

int CClubDatabase::PositionBand(int nPosition, int nClubs)
{
    if (nPosition == 1)
        return 1;
    if (nPosition < 7)
        return 2;
    if (nPosition < 2 * (nClubs / 3))
        return 3;
    return 4;
}

// ---- staff ----

int CClubDatabase::GetStaffCount(int nType) const
{
    if (nType < 0 || nType >= CLUB_STAFF_KINDS)
        return 0;
    int nCount = 0;
    while (nCount < g_anClubStaffPlaces[nType] && m_awStaffSlots[nType][nCount] != 0)
        ++nCount;
    return nCount;
}

int CClubDatabase::GetStaffNeeded(int nType) const
{
    const int nPlayers = m_lstPlayers.GetCount();
    switch (nType) {
    case 0:
        if (nPlayers < 18)
            return 0;
        if (nPlayers == 18)
            return 1;
        if (nPlayers <= 25)
            return 2;
        return nPlayers <= 40 ? 3 : 4;
    case 1: {
        const int nCapacity = m_pGround ? m_pGround->GetCapacity() : 0;
        return nCapacity <= 25000 ? 1 : (nCapacity <= 50000 ? 2 : 3);
    }
    case 2:
        return 1;
    case 3:
        return m_nBankBalance < 5000000 ? 1 : 2;
    case 4:
    case 5:
        return nPlayers < 26 ? 1 : 2;
    default:
        return 0;
    }
}

int CClubDatabase::GetStaffWorkloadStatus(int nType, int nCount) const
{
    if (nType == 0) {
        // Without a coach every player is left to himself: overloaded.
        if (nCount <= 0)
            return 0;
        const float fLoad =
            static_cast<float>(m_lstPlayers.GetCount() + m_lstYouths.GetCount()) / static_cast<float>(nCount);
        if (fLoad * 0.9f > 10.0f)
            return 0;
        if (fLoad * 1.1f < 10.0f)
            return 2;
        return 1;
    }
    if (nType >= 1 && nType < CLUB_STAFF_KINDS) {
        const int nNeeded = GetStaffNeeded(nType);
        return nNeeded > nCount ? 0 : (nNeeded < nCount ? 2 : 1);
    }
    DebugLog(1, "[CClubDatabase::GetStaffWorkloadStatus] Unhandled Staff Type");
    return 1;
}

void CClubDatabase::UpdateStaffAverages()
{
    int nMorale = 0, nRating = 0, nCount = 0;
    for (const void* pValue : m_lstStaff.Items<void>()) {
        const CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(StaffId(pValue)) : nullptr;
        if (!pStaff)
            continue;
        nMorale += pStaff->m_byMorale;
        nRating += pStaff->m_byRating;
        ++nCount;
    }
    ReviewStaffWorkload();
    if (nCount > 0) {
        m_abyStaffAverages[0] = static_cast<uint8_t>(nMorale / nCount);
        m_abyStaffAverages[1] = static_cast<uint8_t>(nRating / nCount);
    }
}

// ---- the periodic steps ----

void CClubDatabase::ClubPeriodicStep(bool bWeekly)
{
    const int nBoardBefore = m_nBoardConfidence;
    // A computer club trains on the computer's plan; a human's training
    // manager runs his club's own week.
    CPlayerDatabase::s_fTrainingRate = kComputerTrainingRate;
    CPlayerDatabase::s_fEffortThreshold = kComputerEffortThreshold;
    CPlayerDatabase::s_fEffortCap = kComputerEffortCap;
    CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr;
    if (pHuman)
        DoWeeklyTraining(pHuman->GetTrainingManager());
    const bool bComputerClub = pHuman == nullptr;
    // Sponsors and hoardings pay with the week: a human's through his own
    // contracts, a computer club its fixed income.
    if (pHuman) {
        if (bWeekly) {
            pHuman->GetSponsors().DailyStep();
            pHuman->GetHoardings().DailyStep();
        }
    }
    else {
        CHoardingsManager::AddComputerClubHoardingsIncome(this);
        CSponsorManager::AddComputerClubSponsorIncome(this);
    }

    PrefetchSquad(false);
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>()) {
        pPlayer->WeeklyContractCheck();
        pPlayer->WeeklyListingUpdate(bWeekly);
        if (!bComputerClub && bWeekly)
            pPlayer->WeeklyWorkPermitCheck();
        if (pPlayer->DevelopPlayer(false, bComputerClub))
            pPlayer->DoInjury(plat::rand() % 8, false);
    }
    if (m_byReputation > 100)
        m_byReputation = 100;
    // A youth hurt in training may be let go, so the walk is over a copy:
    // the one buffer serves every club's week, so that the heap is not asked
    // for one and grown again for each club.
    thread_local std::vector<CYouthDatabase*> youths;
    youths.clear();
    for (CYouthDatabase* pYouth : m_lstYouths.Items<CYouthDatabase>())
        youths.push_back(pYouth);
    m_lstYouths.PrefetchItems(sizeof(CYouthDatabase));
    for (CYouthDatabase* pYouth : youths)
        if (CPlayerDatabase::DevelopYouth(*pYouth, bComputerClub))
            pYouth->DoYouthInjury(plat::rand() % 8);
    UpdateSquadAverages();
    UpdateStaffAverages();
    if (bWeekly)
        DoWeeklyFacilitySales();
    if (bWeekly && m_wManagerId != 0)
        if (CManagerDatabase* pManager = GetManager())
            pManager->UpdateLeaguePosition(m_byLeaguePosition);

    // The table's mood, once the club has played enough league matches.
    if (bWeekly && m_pDivision && m_HomeRow.byPlayed + m_AwayRow.byPlayed > kMoodAfterMatches) {
        const int nClubs = m_pDivision->GetClubCount();
        const int nPromotion = m_pDivision->m_byPromotionZone;
        const int nRelegation = m_pDivision->m_byRelegationZone;
        if ((m_pDivision->m_byDivisionNumber == 1 && m_byLeaguePosition == 1) ||
            (nPromotion > 0 && m_byLeaguePosition <= nPromotion)) {
            UpdateFanConfidence(5);
            UpdateBoardConfidence(4, 0);
        }
        else if (nRelegation > 0 && m_byLeaguePosition >= nClubs - nRelegation) {
            UpdateFanConfidence(14);
            UpdateBoardConfidence(14, 0);
        }
    }
    if (m_wManagerId != 0 && m_nBoardConfidence < kBoardWarning && nBoardBefore >= kBoardWarning)
        if (CNewspaperStory* pStory = AddNewspaperStory(0, kStoryBoardLosesPatience))
            pStory->SetParameterSlot(NEWS_SLOT_PERSON, m_wManagerId);
}

void CClubDatabase::ClubMonthlyStep(bool bFinance)
{
    m_wSeasonCounter2 = 0;
    m_wSeasonCounter3 = 0;
    if (bFinance)
        DoFinance();
    if (m_pDivision && m_pDivision->m_byKind != DIVISION_KIND_BOTTOM_OTHER)
        OnEventMonthly(bFinance);
}

// ---- the new season ----

void CClubDatabase::TellOfBalanceRaise()
{
    if (!m_bBalanceRaised)
        return;
    m_bBalanceRaised = false;
    if (CNewspaperStory* pStory = AddNewspaperStory(1, kStoryBalanceRaised))
        pStory->SetParameterSlot(NEWS_SLOT_PERSON, m_wManagerId);
}

void CClubDatabase::StartNewSeason()
{
    // A computer club starts every season with at least its lowest balance.
    // What it booked since its last finance run is banked first: the
    // accumulators are cleared below and their money would be lost.
    const int32_t nMinimum = GetMinimumBalance();
    const bool bHuman = m_pDatabaseHandler && m_pDatabaseHandler->GetSaveGameForClub(this);
    if (!bHuman)
        BankFinanceAccumulators();
    if (!bHuman && m_nBankBalance < nMinimum) {
        DebugLog(7, "Bank Balance : %s Current %d New %d ", m_szShortName, m_nBankBalance, nMinimum);
        if (s_pFinanceObserver)
            s_pFinanceObserver->OnBalanceSet(*this, m_nBankBalance, nMinimum);
        m_nBankBalance = nMinimum;
        m_nPreviousBalance = nMinimum;
        m_bBalanceRaised = true;
    }
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        pPlayer->NewSeasonReset();
    m_bySeasonLoans = 0;
    std::fill(std::begin(m_anFinanceAccumulators), std::end(m_anFinanceAccumulators), 0);
    m_nSeasonCounter1 = 0;
    m_wSeasonCounter2 = 0;
    m_wSeasonCounter3 = 0;
    m_nSeasonCounter4 = 0;
    m_nSeasonResult = 0;
    m_wSeasonResult = 0;
    m_SeasonAttendance = CLUBATTENDANCE();
    // This season's fee paid and fee received; the all-time ones stay.
    m_aFeeRecords[0] = m_aFeeRecords[1] = CLUBFEERECORD();
    std::fill(std::begin(m_aSeasonClubRecords), std::end(m_aSeasonClubRecords), CLUBRECORDENTRY());
    m_nSeasonMarker = -1;
    // No cup entered yet; the manager's career opens the new season's entry.
    std::fill(std::begin(m_aCupStatus), std::end(m_aCupStatus), CLUBCUPSTATUS());
    if (CManagerDatabase* pManager = m_wManagerId ? GetManager() : nullptr)
        pManager->AddCareerEntry((GetClubSeasonYear(this) - 1999) & 0xFF, m_wClubId);
    std::memset(m_abyResultRuns, 0, sizeof(m_abyResultRuns));
    std::memset(m_abySeasonStatistics, 0, sizeof(m_abySeasonStatistics));
    LogSquadDiagnostics(40);
    UpdateSquadAverages();
}
