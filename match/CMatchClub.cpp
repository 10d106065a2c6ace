#include "match/CMatchClub.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchBall.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchReferee.h"
#include "season/CTacticsFileManager.h"
#include "shell/CGameTitlebar.h"
#include "platform/Random.h"

#include <algorithm>

namespace {

constexpr uint8_t kCompetitionLeague = 255;
constexpr uint8_t kCompetitionFriendly = 200;
constexpr int kKickOffZone = 27;
// The season's match kinds (its match records name them too).
constexpr int kMatchKindLeague = 0, kMatchKindCup = 2, kMatchKindFriendly = 3;

}  // namespace

CMatchClub::CMatchClub(CClubDatabase* pRecord, bool bHome, CSaveGame* pSaveGame, CMatchEngine& engine,
                       CClubDatabase* pOpponentRecord)
    : m_Engine(engine), m_pSaveGame(pSaveGame),
      m_nSquadCount(std::clamp(engine.GetPeoplePerSide(), 11, int(kLineUpNumbers))), m_pRecord(pRecord),
      m_pOpponentRecord(pOpponentRecord), m_bAttacksHighEnd(bHome), m_bHome(bHome)
{
    m_nMatchKind = GetNextMatchKind();
    // The away side changes into its away kit when the two clash; each
    // goalkeeper's shirt stands apart from both sides' shirts.
    if (pOpponentRecord) {
        const MATCHKITCHOICE kits =
            bHome ? ChooseMatchKits(*pRecord, *pOpponentRecord) : ChooseMatchKits(*pOpponentRecord, *pRecord);
        m_bAwayKit = !bHome && kits.bAwayChanges;
        m_nGoalkeeperCandidate = kits.anGoalkeeper[bHome ? 0 : 1];
    }
    m_dwKitColour = CGameTitlebar::GetKitColour(pRecord->m_abyAttributes[m_bAwayKit ? 2 : 0]) & 0xFFFFFF;

    BuildSquad();
    m_nOnPitch = 11;
    for (int i = 0; i < kLineUpNumbers && i < m_nSquadCount; ++i) {
        m_apByLineUp[i] = m_apSlots[i].get();
        if (m_apSlots[i])
            m_apSlots[i]->SetLineIndex(uint8_t(i));
    }
    m_nDefenceLine = 3000;
    m_nAttackLine = 7000;
    LoadFormationLayout();
    const CVector start = CMatchEngine::kStartPoint;
    for (int i = 0; i < m_nSquadCount; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p)
            continue;
        if (i < m_nOnPitch) {
            p->SetRoamingRadius(GetFormationRoamingRadius(i));
            // Until the restarts place them, the starters wait at their
            // kick-off places of the formation.
            p->SetBasePosition(GetFormationPoint(i, kKickOffZone, false));
        } else {
            p->SetBasePosition(GetBenchSeat(i));
            p->SetRoamingRadius(kBenchRoamingRadius);
        }
        p->SetPosition(start);
        p->SetTarget(p->GetBasePosition(), CMatchPerson::kNoFacing);
    }
    m_nOffsideLine = 5000;
}

CMatchClub::~CMatchClub() = default;

int CMatchClub::GetNextMatchKind() const
{
    CDatabaseHandler* pDatabase = CClubDatabase::m_pDatabaseHandler;
    uint8_t byCompetition = kCompetitionLeague;
    if (!pDatabase || pDatabase->GetNextFixture(m_pRecord, nullptr, &byCompetition, nullptr) < 0)
        return kMatchKindLeague;
    return byCompetition == kCompetitionLeague     ? kMatchKindLeague
           : byCompetition == kCompetitionFriendly ? kMatchKindFriendly
                                                   : kMatchKindCup;
}

void CMatchClub::BuildSquad()
{
    CPlayerDatabase* apRecords[kLineUpNumbers] = {};
    uint8_t abySelected[kLineUpNumbers] = {};
    if (m_pSaveGame) {
        for (int i = 0; i < m_nSquadCount; ++i) {
            apRecords[i] = m_pSaveGame->GetSheetPlayer(i);
            abySelected[i] = apRecords[i] ? apRecords[i]->m_byRole : 0;
        }
    } else {
        m_pbyFormation = m_pRecord->GetFormation();
        m_pRecord->SelectTeam(m_pbyFormation, apRecords, m_nMatchKind, m_nSquadCount - 11);
        for (int i = 0; i < m_nSquadCount; ++i)
            abySelected[i] = uint8_t(i < 11 ? m_pbyFormation[i] : CClubDatabase::GetSubstituteRole(i - 11));
    }
    for (int i = 0; i < m_nSquadCount; ++i) {
        if (!apRecords[i]) {
            DebugLog(6, "[CMatchClub::CMatchClub] %s has nobody for squad place %d", m_pRecord->GetName(), i);
            continue;
        }
        m_apSlots[i] = std::make_unique<CMatchPlayer>(apRecords[i], uint8_t(i), m_nMatchKind, this);
        m_apSlots[i]->SetSelectedPosition(abySelected[i]);
        m_apSlots[i]->SetColour(WearsGoalkeeperKit(i) ? GetGoalkeeperColour() : m_dwKitColour);
    }
}

bool CMatchClub::WearsGoalkeeperKit(int nSlot) const
{
    if (nSlot == 0)
        return true;
    const CMatchPlayer* p = nSlot > 0 && nSlot < kSlots ? m_apSlots[nSlot].get() : nullptr;
    return p && m_pSaveGame && p->GetRecord() && p->GetRecord()->m_byPosition == 0;
}

uint32_t CMatchClub::GetGoalkeeperColour() const
{
    return SwapRedAndBlue(kGoalkeeperColours[m_nGoalkeeperCandidate]);
}

MATCHKIT CMatchClub::GetWornKit() const { return GetClubKit(*m_pRecord, m_bAwayKit); }

void CMatchClub::LoadFormationLayout()
{
    if (m_pSaveGame) {
        m_pSaveGame->GetMatchFormation(m_aLayout);
        return;
    }
    const char* pszName = CTacticsFileManager::GetBuiltInName(m_pRecord->m_byFormation);
    if (!CSaveGame::LoadTactics(pszName, m_aLayout)) {
        // A formation without its file plays the first one rather than
        // standing every player on the corner flag.
        DebugLog(6, "[CMatchClub::LoadFormationLayout] No formation file %s; %s plays 4-4-2", pszName,
                 m_pRecord->GetName());
        if (!CSaveGame::LoadTactics(CTacticsFileManager::GetBuiltInName(0), m_aLayout))
            DebugLog(6, "[CMatchClub::LoadFormationLayout] No formation file 4-4-2");
    }
}

void CMatchClub::SetOpponent(CMatchClub* pOpponent)
{
    m_pOpponent = pOpponent;
    for (auto& p : m_apSlots)
        if (p)
            p->SetOpponentClub(pOpponent);
}

void CMatchClub::ApplyTeamOrders()
{
    if (m_pSaveGame)
        m_pSaveGame->GetMatchFormation(m_aLayout);
    PlaceBench();
    // A human's man-to-man marking sends each outfield place after the
    // opponent his formation names; otherwise nobody has a standing order.
    const bool bManMarking = m_pSaveGame && m_pSaveGame->GetTeamOrderOption(SAVEGAME_OPTION_MAN_MARKING);
    for (int i = 0; i < kSlots; ++i) {
        const int nTarget = bManMarking && i > 0 ? m_pSaveGame->GetMarkingTarget(i) : -1;
        m_abyMarking[i] = nTarget >= 0 ? uint8_t(nTarget) : kNoMarking;
        m_abySlotOrder[i] = uint8_t(i);
    }
    for (int n = 0; n < TEAM_ORDERS; ++n)
        ApplyTeamOrder(TEAMORDER(n));
    UpdateSetPieceTakers();
    // Once the match runs, the new orders place the side for where play is.
    if (m_Engine.GetReferee() && m_Engine.GetLastZoneTold() >= 0)
        PlaceForZone(m_Engine.GetLastZoneTold());
}

void CMatchClub::PlaceBench()
{
    for (int i = m_nOnPitch; i < m_nSquadCount; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p)
            continue;
        p->SetDecision(DECISION_SUBSTITUTE_BENCH);
        p->SetTarget(GetBenchSeat(i), CMatchPerson::kNoFacing);
    }
}

void CMatchClub::ApplyTeamOrder(TEAMORDER byOrder)
{
    const int nValue = m_pSaveGame ? m_pSaveGame->GetTeamOrderValue(byOrder) : 50;
    m_abyTeamOrders[byOrder] = uint8_t(nValue);
    for (int i = 0; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p)
            continue;
        const int nOwn = m_pSaveGame ? nValue + m_pSaveGame->GetTeamOrderAdjustment(i, byOrder) : nValue;
        p->SetTeamOrder(byOrder, uint8_t(std::clamp(nOwn, 0, 100)));
    }
}

CVector CMatchClub::GetBenchSeat(int nSlot) const
{
    if (nSlot == m_nSquadCount) {
        // A player coming off sits next to the last seat taken.
        bool bFound = false;
        int32_t nEdge = 0;
        for (const auto& p : m_apSlots) {
            if (!p || p->GetTarget().y != kBenchY)
                continue;
            const int32_t x = p->GetTarget().x;
            if (!bFound || (m_bHome ? x < nEdge : x > nEdge))
                nEdge = x, bFound = true;
        }
        if (bFound)
            return CVector(m_bHome ? nEdge - 80 : nEdge + 80, kBenchY, 0);
    }
    const int32_t x = m_bHome ? (nSlot - m_nSquadCount) * 80 + 3500 : (m_nSquadCount - nSlot) * 80 + 6500;
    return CVector(x, kBenchY, 0);
}

CVector CMatchClub::GetWarmUpSpot(int nSlot) const
{
    const int32_t x = m_bHome ? (nSlot - m_nSquadCount + 10) * 200 : (m_nSquadCount - nSlot + 40) * 200;
    const int32_t y = plat::rand() % 100;
    return CVector(x, y + plat::rand() % 100 - 500, 0);
}

CVector CMatchClub::GetFormationPoint(int nLineUp, int nZone, bool bWithBall) const
{
    if (nLineUp < 0 || nLineUp >= SAVEGAME_LINEUP || nZone < 0 || nZone >= FORMATION_ZONES)
        return CVector(PITCH_LENGTH / 2, GOAL_CENTRE_Y, 0);
    // Each zone holds a point with the ball and one, dropped back, without it.
    const MATCHLAYOUTENTRY& entry = m_aLayout[nLineUp];
    const int32_t* pPoint = bWithBall ? entry.anFirst[nZone] : entry.anSecond[nZone];
    const int32_t x = pPoint[0], y = pPoint[1];
    return m_bAttacksHighEnd ? CVector(x, y, 0) : CVector(PITCH_LENGTH - x, PITCH_WIDTH - y, 0);
}

const MATCHLAYOUTENTRY* CMatchClub::GetLayoutEntry(int nLineUp) const
{
    return nLineUp >= 0 && nLineUp < SAVEGAME_LINEUP ? &m_aLayout[nLineUp] : nullptr;
}

int32_t CMatchClub::GetFormationRoamingRadius(int nLineUp) const
{
    return nLineUp >= 0 && nLineUp < SAVEGAME_LINEUP ? m_aLayout[nLineUp].nValue : 0;
}

CMatchPlayer* CMatchClub::GetSlot(int nSlot) const
{
    return nSlot >= 0 && nSlot < m_nSquadCount ? m_apSlots[nSlot].get() : nullptr;
}

CMatchPlayer* CMatchClub::GetPlayer(int nLineUp, bool bSkipBench) const
{
    if (nLineUp < 0 || nLineUp >= m_nSquadCount || nLineUp >= kLineUpNumbers)
        return nullptr;
    CMatchPlayer* p = m_apByLineUp[nLineUp];
    return p && bSkipBench && p->GetSpecialRole() == ROLE_BENCH ? nullptr : p;
}

CMatchPlayer* CMatchClub::GetPlayerBySquadIndex(int nIndex) const
{
    for (const auto& p : m_apSlots)
        if (p && p->GetStartingSquadPosition() == nIndex)
            return p.get();
    return nullptr;
}

CMatchPlayer* CMatchClub::GetPlayerByRecord(const CPlayerDatabase* pRecord, bool bOnPitchOnly) const
{
    const int nEnd = bOnPitchOnly ? m_nOnPitch : m_nSquadCount;
    for (int i = 0; i < nEnd; ++i)
        if (m_apSlots[i] && m_apSlots[i]->GetRecord() == pRecord)
            return m_apSlots[i].get();
    return nullptr;
}

void CMatchClub::GetGoalPosition(CVector& out) const
{
    out.Set(m_bAttacksHighEnd ? 0 : PITCH_LENGTH, GOAL_CENTRE_Y, 0);
}

bool CMatchClub::IsInPenaltyArea(const CVector& point, bool bTight) const
{
    if (point.y < 1584 || point.y > 5916)
        return false;
    if (!m_bAttacksHighEnd && m_Engine.GetMatchPeriod() != MATCHPERIOD_SHOOTOUT)
        return point.x >= (bTight ? 8330 : 8250) && point.x <= 10100;
    return point.x >= -100 && point.x <= (bTight ? 1670 : 1750);
}

int CMatchClub::GetZone(int32_t x, int32_t y) const
{
    const int32_t d = DistanceFromOwnGoal(x);
    if (d < m_nDefenceLine)
        return 1;
    if (d < m_nAttackLine)
        return 2;
    return y >= 1684 && y <= 5816 ? 5 : 4;
}

CMatchPlayer* CMatchClub::FindNearest(const CVector& point, const CMatchPlayer* pExcept, bool bReadyOnly,
                                      Measure measure, int32_t* pnDistance) const
{
    CMatchPlayer* pBest = nullptr;
    int64_t nBest = 0;
    for (int i = 0; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p || p == pExcept || (bReadyOnly && !p->IsDecisionDue()))
            continue;
        const CVector& at = measure == Measure::Position ? p->GetPosition() : p->GetBasePosition();
        const int64_t n = point.SquaredDistance2D(at);
        if (!pBest || n < nBest)
            pBest = p, nBest = n;
    }
    if (pnDistance)
        *pnDistance = pBest ? IntegerRoot(nBest) : 9999;
    return pBest;
}

CMatchPlayer* CMatchClub::GetNearestPlayer(const CVector& point, int32_t* pnDistance) const
{
    return FindNearest(point, nullptr, false, Measure::Position, pnDistance);
}

CMatchPlayer* CMatchClub::GetNearestReadyPlayer(const CVector& point, int32_t* pnDistance) const
{
    return FindNearest(point, nullptr, true, Measure::Position, pnDistance);
}

CMatchPlayer* CMatchClub::GetNearestPlayerExcept(const CVector& point, const CMatchPlayer* pExcept,
                                                 int32_t* pnDistance) const
{
    return FindNearest(point, pExcept, false, Measure::Position, pnDistance);
}

int32_t CMatchClub::GetNearestPlayerDistance(const CVector& point) const
{
    int32_t nDistance = 0;
    return FindNearest(point, nullptr, false, Measure::Position, &nDistance) ? nDistance : 999999999;
}

CMatchPlayer* CMatchClub::GetNearestToTarget(const CVector& point, int32_t* pnDistance) const
{
    return FindNearest(point, nullptr, false, Measure::BasePosition, pnDistance);
}

CMatchPlayer* CMatchClub::GetNearestToTargetExcept(const CVector& point, const CMatchPlayer* pExcept,
                                                   int32_t* pnDistance) const
{
    return FindNearest(point, pExcept, false, Measure::BasePosition, pnDistance);
}

CMatchPlayer* CMatchClub::GetMostAdvancedPlayer() const
{
    CMatchPlayer* pBest = nullptr;
    for (int i = 1; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p)
            continue;
        const CVector& at = p->GetPosition();
        if (at.x < 0 || at.x > PITCH_LENGTH || at.y < 0 || at.y > PITCH_WIDTH)
            continue;
        if (!pBest || DistanceFromOwnGoal(at.x) > DistanceFromOwnGoal(pBest->GetPosition().x))
            pBest = p;
    }
    return pBest;
}

CMatchPlayer* CMatchClub::GetLastDefender() const
{
    CMatchPlayer* pBest = nullptr;
    for (int i = 1; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (p && (!pBest || DistanceFromOwnGoal(p->GetPosition().x) < DistanceFromOwnGoal(pBest->GetPosition().x)))
            pBest = p;
    }
    return pBest;
}

int32_t CMatchClub::GetLowestBallDistance(int nSkipSlot) const
{
    int32_t nLowest = 999999999;
    for (int i = 0; i < m_nOnPitch; ++i)
        if (i != nSkipSlot && m_apSlots[i])
            nLowest = std::min(nLowest, m_apSlots[i]->GetBallDistance());
    return nLowest;
}

void CMatchClub::UpdatePerSecond()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (pBall && m_Engine.GetMatchEvent() == MATCHEVENT_NONE) {
        const CMatchPerson* pToucher = pBall->GetLastToucher();
        if (pToucher && pToucher->GetPersonType() == PERSONTYPE_FOOTBALLER &&
            static_cast<const CMatchPlayer*>(pToucher)->GetClub() == this)
            ++m_nPossessionSeconds;
        if ((pBall->GetPosition().x < PITCH_LENGTH / 2) != m_bAttacksHighEnd)
            ++m_nTerritorySeconds;
    }
    for (int i = 0; i < m_nOnPitch; ++i)
        if (CMatchPlayer* p = m_apSlots[i].get()) {
            p->UpdateFitness();
            p->CoolAnger();
            p->UpdateMorale();
            p->ApplyFormToRatings(p->GetMorale());
        }
    UpdateAlerts();
}

void CMatchClub::ApplyPositiveEventToAll(int nKind)
{
    for (int i = 0; i < m_nSquadCount; ++i)
        if (CMatchPlayer* p = m_apSlots[i].get())
            p->ApplyPositiveEvent(nKind);
}

void CMatchClub::ApplyNegativeEventToAll(int nKind)
{
    for (int i = 0; i < m_nSquadCount; ++i)
        if (CMatchPlayer* p = m_apSlots[i].get())
            p->ApplyNegativeEvent(nKind);
}

void CMatchClub::ProvokeAll(int nKind, CMatchPerson* pProvoker)
{
    for (int i = 0; i < m_nOnPitch; ++i)
        if (CMatchPlayer* p = m_apSlots[i].get())
            p->Provoke(nKind, pProvoker);
}

uint8_t CMatchClub::GroupOf(uint8_t byPosition)
{
    return byPosition == 0 ? GROUP_GOALKEEPER : byPosition <= 7 ? GROUP_DEFENDER
                                              : byPosition <= 11 ? GROUP_MIDFIELDER
                                                                 : GROUP_FORWARD;
}

bool CMatchClub::MatchesGroup(uint8_t byPosition, uint8_t byMask)
{
    // A forward may stand in for any group.
    if (byPosition >= 12)
        return byMask != 0;
    return (GroupOf(byPosition) & byMask) != 0;
}

uint8_t CMatchClub::FiveMinuteReview()
{
    const uint8_t f = m_byReviewFlags;
    m_byReviewFlags = REVIEW_DONE;
    const bool bInjury = (f & (16 | REVIEW_INJURY)) != 0;
    const bool bConceded = (f & REVIEW_CONCEDED) != 0;
    const bool bScored = (f & REVIEW_SCORED) != 0;
    const bool bReviewed = (f & REVIEW_DONE) != 0;
    const int nMinute = int(m_Engine.GetMatchTime() / 60000);
    const int nOwn = m_byGoals;
    const int nTheirs = m_pOpponent ? m_pOpponent->GetGoals() : 0;
    uint8_t w = 1;
    if (nOwn > nTheirs) {
        if (bInjury && (bConceded || bScored || bReviewed))
            w = bConceded ? 36 : 32;
    } else if (nOwn == nTheirs) {
        if (bConceded)
            w = bInjury ? 12 : nMinute < 61 ? 1 : 8;
        else if (bScored && bInjury)
            w = 40;
        else if (bReviewed && bInjury)
            w = 32;
    } else {
        if (bConceded)
            w = bInjury ? 24 : nMinute < 61 ? 1 : 24;
        else if (bScored && bInjury)
            w = 40;
        else if (bReviewed && bInjury)
            w = nMinute < 61 ? 32 : 48;
        else if (bReviewed)
            w = nMinute < 60 ? 1 : nMinute < 80 ? 24 : 16;
    }
    if (w == 1)
        return 0;

    int nOut = -1;
    for (int i = 0; i < m_nOnPitch && nOut < 0; ++i)
        if (m_apSlots[i] && m_apSlots[i]->IsInjured())
            nOut = i, w = GroupOf(m_apSlots[i]->GetSelectedPosition());
    if (nOut < 0) {
        int nLowest = 0;
        for (int i = 0; i < m_nOnPitch; ++i) {
            const CMatchPlayer* p = m_apSlots[i].get();
            if (!p || !MatchesGroup(p->GetSelectedPosition(), w))
                continue;
            const int nRating = p->GetRecord()->GetRatingForPosition(p->GetSelectedPosition());
            if (nOut < 0 || nRating < nLowest)
                nOut = i, nLowest = nRating;
        }
    }
    if (nOut < 0)
        return 0;
    const CMatchPlayer* pOut = m_apSlots[nOut].get();
    auto findIncoming = [&](uint8_t byMask) {
        int nIn = -1, nBest = 0;
        for (int i = m_nOnPitch; i < m_nSquadCount; ++i) {
            const CMatchPlayer* p = m_apSlots[i].get();
            if (!p || p->TookPart() || !p->IsEligible() || !MatchesGroup(p->GetNaturalPosition(), byMask))
                continue;
            const int nRating = p->GetRecord()->GetRatingForPosition(pOut->GetSelectedPosition());
            if (nIn < 0 || nRating > nBest)
                nIn = i, nBest = nRating;
        }
        return nIn;
    };
    int nIn = findIncoming(w);
    if (nIn < 0 && pOut->IsInjured())
        nIn = findIncoming(GROUP_OUTFIELD);
    if (nIn < 0)
        return 0;
    // 0 means no change, so the goalkeeper for the first bench place is
    // never asked for.
    return uint8_t(nOut * 16 + (nIn - m_nOnPitch));
}

uint8_t CMatchClub::WriteMatchResult(uint8_t byCompetition, ID_PLAYER* pidPlayer)
{
    const int nTheirs = m_pOpponent ? m_pOpponent->GetGoals() : 0;
    m_pRecord->UpdateAfterMatch(byCompetition, m_byGoals, nTheirs, m_bHome, m_pOpponentRecord);
    uint8_t byBest = 0;
    for (int i = 0; i < m_nSquadCount; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p)
            continue;
        const uint8_t byRating = p->StoreMatchResult();
        if (byRating > byBest) {
            byBest = byRating;
            if (pidPlayer && p->GetRecord())
                *pidPlayer = p->GetRecord()->m_idPerson;
        }
    }
    return byBest;
}
