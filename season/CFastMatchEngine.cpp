// The match flow of the quick result engine: set-up, the action loop with its
// periods, substitutions, the decision of a tie, the shoot-out, and what the
// match leaves behind (ratings, morale, man of the match, referee figures,
// manager points).
#include "season/CFastMatchEngine.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/Random.h"
#include "season/CRefereeDatabase.h"
#include "season/CupStructureTable.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kNoMark = 10000;
constexpr int kMaxDraws = 64;
constexpr int kShootOutKicks = 5;
constexpr int kSuddenDeathRounds = 11;
constexpr uint8_t kNoFirstLeg = 255;
// Leg states of a second leg (its first leg unplayed, or played).
constexpr uint8_t kLegStateSecondUnplayed = 2;
constexpr uint8_t kLegStateSecondPlayed = 4;

uint8_t ClampByte(int nValue)
{
    return static_cast<uint8_t>(std::clamp(nValue, 0, 255));
}

}  // namespace

CFastMatchEngine::~CFastMatchEngine()
{
    ReleaseSides();
}

void CFastMatchEngine::ReleaseSides()
{
    delete m_pHomeSide;
    delete m_pAwaySide;
    m_pHomeSide = m_pAwaySide = nullptr;
    m_pAttacking = m_pDefending = nullptr;
    m_pHolder = m_pLastTackler = nullptr;
}

void CFastMatchEngine::ResetState()
{
    m_pFixture = nullptr;
    m_nAction = QUICKACTION_CHOOSE;
    m_nActionCounter = 0;
    m_nActionsSinceKickOff = 0;
    m_nActionTotal = 0;
    m_nHalfTimeMark = m_nFullTimeMark = m_nExtraTimeHalfMark = m_nExtraTimeEndMark = kNoMark;
    m_anSubstitutionPoints[0] = m_anSubstitutionPoints[1] = -1;
    m_nNextMarkCheck = 0;
    std::fill(std::begin(m_anPeriodActions), std::end(m_anPeriodActions), -1);
    m_fMinutesPerAction = 0.0f;
    m_byCompetition = 0;
    m_abyFirstLegGoals[0] = m_abyFirstLegGoals[1] = kNoFirstLeg;
    m_bTwoLegs = m_bExtraTimeRule = m_bGoldenGoalRule = m_bAwayGoalsRule = m_bShootOutRule = false;
    m_bInExtraTime = m_bFinished = m_bShootOut = false;
    m_pSecondHalfKickOff = nullptr;
    m_byResult = MATCHRESULT_HOME;
}

void CFastMatchEngine::ProcessMatch(CRefereeDatabase* pReferee, MATCHPARAMETERS* pFixture)
{
    ReleaseSides();
    ResetState();
    if (!pFixture || !pFixture->pHomeClub || !pFixture->pAwayClub) {
        DebugLog(0, "[CFastMatchEngine::ProcessMatch] The clubs of the match are missing; match not played");
        return;
    }
    m_pFixture = pFixture;
    m_byCompetition = pFixture->byMatchKind;

    const LEGRULES legs = ReadLegRules(*pFixture);
    m_bTwoLegs = legs.bTwoLegs;
    m_abyFirstLegGoals[0] = legs.abyFirstLegGoals[0];
    m_abyFirstLegGoals[1] = legs.abyFirstLegGoals[1];
    pFixture->byHomeGoals = pFixture->byAwayGoals = 0;
    pFixture->byResult = MATCHRESULT_HOME;
    if (pFixture->pHeader) {
        pFixture->pHeader->Result = MATCHRESULTRECORD();
        pFixture->pHeader->byHomeGoals = pFixture->pHeader->byAwayGoals = 0;
    }
    m_bExtraTimeRule = legs.bExtraTime;
    m_bGoldenGoalRule = legs.bGoldenGoal;
    m_bShootOutRule = legs.bShootOut;
    m_bAwayGoalsRule = legs.bAwayGoals;

    m_pHomeSide = new CClub(pFixture, 0);
    m_pAwaySide = new CClub(pFixture, 1);
    m_pHomeSide->m_pOpponent = m_pAwaySide;
    m_pAwaySide->m_pOpponent = m_pHomeSide;
    BuildSideTables(m_pHomeSide);
    BuildSideTables(m_pAwaySide);
    if (pFixture->pHeader) {
        pFixture->pHeader->Result.abyHomeClub[0] = pFixture->pHomeClub->m_byReputation;
        pFixture->pHeader->Result.abyHomeClub[1] = pFixture->pHomeClub->m_bySupportLevel;
    }
    TossPossession();
    m_pSecondHalfKickOff = m_pDefending;
    m_nAction = QUICKACTION_KICK_OFF;

    m_nActionTotal = 200 + plat::rand() % 10;
    const int n = m_nActionTotal;
    m_nHalfTimeMark = n / 2;
    m_nFullTimeMark = n - 1;
    if (m_bExtraTimeRule) {
        m_nExtraTimeHalfMark = n + n / 6;
        m_nExtraTimeEndMark = n + n / 3;
    }
    m_anSubstitutionPoints[0] = n - 10 - plat::rand() % 30;
    m_anSubstitutionPoints[1] = n - 10 - plat::rand() % 30;
    m_fMinutesPerAction = 90.0f / static_cast<float>(n);
    m_nNextMarkCheck = NextMarkCheck();

    while (!m_bFinished) {
        CQuickPlayer* pHolder = m_pAttacking->m_pCurrentPlayer;
        if (!pHolder || pHolder->m_bySentOff || !pHolder->m_byOnPitch)
            pHolder = m_pAttacking->PickRandomPlayer();
        m_pHolder = pHolder;
        ++m_pHolder->m_nTouches;
        if (m_nAction == QUICKACTION_CHOOSE)
            m_nAction = ChooseAction(m_pAttacking, m_pHolder);
        RunAction();
        m_pHomeSide->TireAll();
        m_pAwaySide->TireAll();
        ++m_nActionCounter;
        ++m_nActionsSinceKickOff;
        if (m_bFinished)
            break;
        if (m_nActionCounter < m_nNextMarkCheck)
            continue;
        if (m_nActionCounter == m_anSubstitutionPoints[0])
            TacticalSubstitution(m_pHomeSide, 1);
        if (m_nActionCounter == m_anSubstitutionPoints[1])
            TacticalSubstitution(m_pAwaySide, 1);
        if (m_nActionCounter > m_nFullTimeMark)
            m_nAction = QUICKACTION_FULL_TIME;
        if (m_nActionCounter > m_nHalfTimeMark)
            m_nAction = QUICKACTION_HALF_TIME;
        if (m_nActionCounter > m_nExtraTimeEndMark)
            m_nAction = QUICKACTION_EXTRA_TIME_END;
        if (m_nActionCounter > m_nExtraTimeHalfMark)
            m_nAction = QUICKACTION_EXTRA_TIME_HALF;
        m_nNextMarkCheck = NextMarkCheck();
    }
    FinishMatch(pReferee);
}

int CFastMatchEngine::NextMarkCheck() const
{
    // A period's action only ever moves marks later, so no check can come
    // true before this count; a passed mark keeps the checks on until its
    // period's action has moved it.
    int nNext = std::min({m_nFullTimeMark, m_nHalfTimeMark, m_nExtraTimeEndMark, m_nExtraTimeHalfMark}) + 1;
    for (const int nPoint : m_anSubstitutionPoints)
        if (nPoint > m_nActionCounter)
            nNext = std::min(nNext, nPoint);
    return nNext;
}

void CFastMatchEngine::BuildSideTables(CClub* pSide)
{
    const CClubDatabase* pClub = pSide->m_pClub;
    const CClubDatabase* pOpponent = pSide->m_pOpponent ? pSide->m_pOpponent->m_pClub : nullptr;
    // The side's own players share one factor (a league match's weighs the
    // clubs' distance).
    const float fOwnFactor = CPlayerDatabase::GetMatchMoraleFactor(m_byCompetition, pClub, pClub, pOpponent);
    for (int i = 0; i < pSide->m_nSquadSize; ++i) {
        CQuickPlayer* pPlayer = pSide->m_apPlayers[i];
        if (!pPlayer)
            continue;
        const CPlayerDatabase* pRecord = pPlayer->m_pPlayer;
        if (!pRecord)
            pPlayer->m_nMatchValue = 50;
        else if (!pRecord->m_pClub || pRecord->m_pClub == pClub)
            pPlayer->m_nMatchValue = pRecord->GetMatchMorale(fOwnFactor);
        else
            pPlayer->m_nMatchValue = pRecord->GetMatchMorale(m_byCompetition, pClub, pOpponent);
        pPlayer->BuildTables();
    }
}

void CFastMatchEngine::RunAction()
{
    const int nAction = m_nAction;
    m_nAction = QUICKACTION_CHOOSE;
    switch (nAction) {
    case QUICKACTION_PASS: ActionPassing(); break;
    case QUICKACTION_SHOT: ActionShooting(); break;
    case QUICKACTION_HEADER: ActionHeading(); break;
    case QUICKACTION_RUN: ActionTackling(); break;
    case QUICKACTION_THROW_IN: ActionThrowin(); break;
    case QUICKACTION_CORNER: ActionCornerKick(); break;
    case QUICKACTION_ATTACKING_FREE_KICK: ActionAttackingFreeKick(); break;
    case QUICKACTION_FREE_KICK: ActionNormalFreeKick(); break;
    case QUICKACTION_GOAL_KICK: ActionGoalKick(); break;
    case QUICKACTION_KICK_OFF: ActionKickOff(); break;
    case QUICKACTION_HALF_TIME: ActionHalfTime(); break;
    case QUICKACTION_FULL_TIME: ActionFullTime(); break;
    case QUICKACTION_ATTACKING_HEADER: ActionAttackingHeading(); break;
    case QUICKACTION_PENALTY: ActionPenalty(); break;
    case QUICKACTION_EXTRA_TIME_HALF: ActionExtraTimeHalf(); break;
    case QUICKACTION_EXTRA_TIME_END: ActionExtraTimeEnd(); break;
    default:
        DebugLog(5, "Warning Undefined Action in ProcessMatch!");
        break;
    }
}

int CFastMatchEngine::ChooseAction(const CClub* pSide, const CQuickPlayer* pHolder) const
{
    const int nClass = std::clamp<int>(pHolder->m_nClass, QUICKCLASS_GOALKEEPER, QUICKCLASS_ATTACKER);
    const uint8_t* pRow = pSide->m_pActionTable[nClass];
    for (;;) {
        const int r = plat::rand() % 100 + 1;
        const int nAction = r <= pRow[0] ? QUICKACTION_RUN : r <= pRow[1] ? QUICKACTION_PASS : QUICKACTION_SHOT;
        // No shot straight from a kick-off.
        if (nAction != QUICKACTION_SHOT || m_nActionsSinceKickOff >= 4)
            return nAction;
    }
}

CQuickPlayer* CFastMatchEngine::PickReceiver(CClub* pSide, const CQuickPlayer* pHolder)
{
    const int nClass = pHolder ? std::clamp<int>(pHolder->m_nClass, 0, 3) : QUICKCLASS_MIDFIELDER;
    const uint8_t* pRow = pSide->m_pReceiverTable[nClass];
    for (int n = 0; n < kMaxDraws; ++n) {
        const int r = plat::rand() % 100 + 1;
        CQuickPlayer* pPick = r <= pRow[0] ? pSide->PickDefender() : r <= pRow[1] ? pSide->PickMidfielder()
                                                                                 : pSide->PickAttacker();
        if (pPick != pHolder && !pPick->m_bySentOff)
            return pPick;
    }
    for (int i = 1; i < QUICKMATCH_STARTERS; ++i)
        if (pSide->m_apPlayers[i] != pHolder && !pSide->m_apPlayers[i]->m_bySentOff)
            return pSide->m_apPlayers[i];
    return pSide->GetGoalkeeper();
}

CQuickPlayer* CFastMatchEngine::GetTackler(CClub* pSide, int nAttackerClass)
{
    int nDefender = 45, nMidfielder = 89;
    switch (nAttackerClass) {
    case -1: break;
    case 0:
    case 1: nDefender = 18; nMidfielder = 68; break;
    case 2: nDefender = 31; nMidfielder = 75; break;
    case 3: nDefender = 51; nMidfielder = 84; break;
    default:
        DebugLog(5, "CClub::GetTackler()->Invalid Player Position");
        break;
    }
    CQuickPlayer* pPick = nullptr;
    for (int n = 0; n < kMaxDraws; ++n) {
        const int r = plat::rand() % 100 + 1;
        pPick = r < nDefender ? pSide->PickDefender() : r < nMidfielder ? pSide->PickMidfielder()
                                                                        : pSide->PickAttacker();
        if (!pPick->m_bySentOff)
            return pPick;
    }
    for (int i = 1; i < QUICKMATCH_STARTERS; ++i)
        if (!pSide->m_apPlayers[i]->m_bySentOff)
            return pSide->m_apPlayers[i];
    return pSide->GetGoalkeeper();
}

// ---- possession ----

void CFastMatchEngine::GiveBall(CClub* pSide, CQuickPlayer* pPlayer)
{
    m_pAttacking = pSide;
    m_pDefending = pSide->m_pOpponent;
    pSide->m_pCurrentPlayer = pPlayer;
}

void CFastMatchEngine::TossPossession()
{
    CClub* pSide = (plat::rand() & 1) ? m_pHomeSide : m_pAwaySide;
    GiveBall(pSide, PickReceiver(pSide, pSide->m_pCurrentPlayer));
}

void CFastMatchEngine::SwapPossession()
{
    // The side that wins the ball plays on with its own current player.
    GiveBall(m_pDefending, m_pDefending->m_pCurrentPlayer);
}

void CFastMatchEngine::SwapAndPick()
{
    SwapPossession();
    PassToReceiver();
}

void CFastMatchEngine::PassToReceiver()
{
    m_pAttacking->m_pCurrentPlayer = PickReceiver(m_pAttacking, m_pAttacking->m_pCurrentPlayer);
}

int CFastMatchEngine::GetMinute() const
{
    return static_cast<int>(static_cast<float>(m_nActionCounter) * m_fMinutesPerAction);
}

void CFastMatchEngine::AddEvent(const CQuickPlayer* pPlayer, int nKind) const
{
    if (pPlayer)
        pPlayer->AddEvent(nKind, GetMinute(), m_byCompetition);
}

// ---- periods ----

void CFastMatchEngine::ActionKickOff()
{
    m_pAttacking->PickRandomPlayer();
    m_nAction = QUICKACTION_PASS;
    // The choice after this action is the first of four without a shot.
    m_nActionsSinceKickOff = -1;
}

void CFastMatchEngine::ActionHalfTime()
{
    m_anPeriodActions[QUICKPERIOD_HALF_TIME] = m_nActionCounter;
    m_pHomeSide->HalfTimeRecovery();
    m_pAwaySide->HalfTimeRecovery();
    TacticalSubstitution(m_pHomeSide, 2);
    TacticalSubstitution(m_pAwaySide, 2);
    if (m_pSecondHalfKickOff)
        GiveBall(m_pSecondHalfKickOff, nullptr);
    m_nAction = QUICKACTION_KICK_OFF;
    m_nHalfTimeMark = 1000;
}

void CFastMatchEngine::ActionFullTime()
{
    m_anPeriodActions[QUICKPERIOD_FULL_TIME] = m_nActionCounter;
    if (IsDecided()) {
        m_bFinished = true;
        return;
    }
    m_nAction = QUICKACTION_KICK_OFF;
    m_bInExtraTime = true;
    m_nFullTimeMark = kNoMark;
}

void CFastMatchEngine::ActionExtraTimeHalf()
{
    m_anPeriodActions[QUICKPERIOD_EXTRA_TIME_HALF] = m_nActionCounter;
    m_pHomeSide->HalfTimeRecovery();
    m_pAwaySide->HalfTimeRecovery();
    m_nAction = QUICKACTION_KICK_OFF;
    m_nExtraTimeHalfMark = kNoMark;
}

void CFastMatchEngine::ActionExtraTimeEnd()
{
    m_anPeriodActions[QUICKPERIOD_EXTRA_TIME_END] = m_nActionCounter;
    if (!IsDecided() && m_bShootOutRule)
        TakeShootOut();
    m_bFinished = true;
}

CFastMatchEngine::LEGRULES CFastMatchEngine::ReadLegRules(const MATCHPARAMETERS& block)
{
    LEGRULES legs;
    // The incoming goals of a first leg; a second leg whose first leg was
    // never played counts it as 0-0.
    const uint8_t byLegState = block.byResult;
    legs.bTwoLegs = byLegState == kLegStateSecondUnplayed || byLegState == kLegStateSecondPlayed ||
                    (block.byHomeGoals != kNoFirstLeg && block.byAwayGoals != kNoFirstLeg);
    legs.abyFirstLegGoals[0] = block.byHomeGoals == kNoFirstLeg ? 0 : block.byHomeGoals;
    legs.abyFirstLegGoals[1] = block.byAwayGoals == kNoFirstLeg ? 0 : block.byAwayGoals;
    // The tie-break rules of a two-legged round are for the deciding leg.
    const uint8_t byRules = block.pRules ? block.pRules->byRules : 0;
    const bool bRulesApply = !(byRules & CUP_RULE_THIS_LEG) || legs.bTwoLegs;
    legs.bExtraTime = bRulesApply && (byRules & CUP_RULE_EXTRA_TIME);
    legs.bGoldenGoal = legs.bExtraTime && (byRules & CUP_RULE_GOLDEN_GOAL);
    legs.bShootOut = legs.bExtraTime && (byRules & CUP_RULE_SHOOT_OUT);
    legs.bAwayGoals = bRulesApply && legs.bTwoLegs && (byRules & CUP_RULE_AWAY_GOALS);
    return legs;
}

bool CFastMatchEngine::DecideResult(const LEGRULES& legs, int nHome, int nAway, uint8_t& byResult)
{
    // Over both legs each club's first-leg goals were scored the other way round.
    const int h = nHome + legs.abyFirstLegGoals[1];
    const int a = nAway + legs.abyFirstLegGoals[0];
    if (h != a) {
        if (legs.bTwoLegs)
            byResult = h > a ? MATCHRESULT_HOME_TWO_LEGS : MATCHRESULT_AWAY_TWO_LEGS;
        else
            byResult = h > a ? MATCHRESULT_HOME : MATCHRESULT_AWAY;
        return true;
    }
    // This match's home club scored its away goals in the first leg.
    if (legs.bAwayGoals && legs.abyFirstLegGoals[1] != nAway) {
        byResult = legs.abyFirstLegGoals[1] > nAway ? MATCHRESULT_HOME_AWAY_GOALS : MATCHRESULT_AWAY_AWAY_GOALS;
        return true;
    }
    byResult = MATCHRESULT_HOME;
    return !legs.bExtraTime;
}

bool CFastMatchEngine::IsDecided()
{
    LEGRULES legs;
    legs.bTwoLegs = m_bTwoLegs;
    legs.bExtraTime = m_bExtraTimeRule;
    legs.bAwayGoals = m_bAwayGoalsRule;
    legs.abyFirstLegGoals[0] = m_abyFirstLegGoals[0];
    legs.abyFirstLegGoals[1] = m_abyFirstLegGoals[1];
    return DecideResult(legs, m_pHomeSide->GetGoals(), m_pAwaySide->GetGoals(), m_byResult);
}

// ---- substitutions ----

bool CFastMatchEngine::Substitute(CClub* pSide, CQuickPlayer* pLeaving)
{
    if (!pLeaving || !pLeaving->m_byOnPitch || pSide->m_nSubstitutionsMade >= pSide->m_bySubstitutionsAllowed)
        return false;
    CQuickPlayer* pComing = nullptr;
    for (int i = QUICKMATCH_STARTERS; i < pSide->m_nSquadSize; ++i) {
        CQuickPlayer* pBench = pSide->m_apPlayers[i];
        // A player taken off sits on the bench too, but does not come back.
        if (!pBench || pBench->IsEmpty() || pBench->m_byCameOn || pBench->m_byOnPitch ||
            pBench->m_nEntry < QUICKMATCH_STARTERS)
            continue;
        if (pBench->m_nClass == pLeaving->m_nClass) {
            pComing = pBench;
            break;
        }
        if (!pComing)
            pComing = pBench;
    }
    if (!pComing)
        return false;
    const int nSlot = pLeaving->m_nSlot;
    const int nBench = pComing->m_nSlot;
    pSide->m_apPlayers[nSlot] = pComing;
    pSide->m_apPlayers[nBench] = pLeaving;
    pComing->m_nSlot = nSlot;
    pLeaving->m_nSlot = nBench;
    pLeaving->m_byOnPitch = 0;
    pComing->m_byOnPitch = 1;
    pComing->m_byCameOn = 1;
    ++pSide->m_nSubstitutionsMade;
    AddEvent(pLeaving, MATCHEVENT_SUBSTITUTED_OFF);
    AddEvent(pComing, MATCHEVENT_SUBSTITUTED_ON);
    if (pSide->m_pCurrentPlayer == pLeaving)
        pSide->m_pCurrentPlayer = pComing;
    if (m_pHolder == pLeaving)
        m_pHolder = pComing;
    if (m_pLastTackler == pLeaving)
        m_pLastTackler = nullptr;
    if (pSide->m_pSetPieceTaker == pLeaving)
        pSide->m_pSetPieceTaker = nullptr;
    return true;
}

void CFastMatchEngine::TacticalSubstitution(CClub* pSide, int nMargin)
{
    const int nLead = pSide->GetGoals() - pSide->m_pOpponent->GetGoals();
    int nClass;
    if (nLead >= nMargin)
        nClass = QUICKCLASS_DEFENDER;
    else if (nLead <= -nMargin)
        nClass = QUICKCLASS_ATTACKER;
    else
        return;
    CQuickPlayer* pTired = nullptr;
    float fLowest = 99999.0f;
    for (int i = 0; i < QUICKMATCH_STARTERS; ++i) {
        CQuickPlayer* pPlayer = pSide->m_apPlayers[i];
        if (!pPlayer->m_byOnPitch || pPlayer->m_byCameOn || pPlayer->m_bySentOff || pPlayer->m_nClass != nClass)
            continue;
        if (pPlayer->Condition() < fLowest) {
            fLowest = pPlayer->Condition();
            pTired = pPlayer;
        }
    }
    if (pTired)
        Substitute(pSide, pTired);
}

// ---- shoot-out ----

bool CFastMatchEngine::TakeShootOutPenalty(CQuickPlayer* pTaker, CQuickPlayer* pGoalkeeper)
{
    const int nCode = ResolvePenalty(pTaker, pGoalkeeper);
    switch (nCode) {
    case 91:
    case 92:
        return true;
    case 11:
    case 93:
    case 94:
    case 95:
    case 96:
        return false;
    default:
        DebugLog(5, "[CFastMatchEngine::TakeShootOutPenalty] Warning Undefined PENALTY_? [%d]", nCode);
        return false;
    }
}

void CFastMatchEngine::TakeShootOut()
{
    static constexpr int kOrder[QUICKMATCH_STARTERS] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 10};
    m_bShootOut = true;
    CClub* apSides[2] = {m_pHomeSide, m_pAwaySide};
    int anNext[2] = {0, 0};
    int anScored[2] = {0, 0};
    int anTaken[2] = {0, 0};
    auto nextTaker = [&](int s) {
        for (int n = 0; n < QUICKMATCH_STARTERS; ++n) {
            CQuickPlayer* pPlayer = apSides[s]->m_apPlayers[kOrder[anNext[s]++ % QUICKMATCH_STARTERS]];
            if (pPlayer && !pPlayer->IsEmpty() && !pPlayer->m_bySentOff)
                return pPlayer;
        }
        return apSides[s]->GetGoalkeeper();
    };
    auto kick = [&](int s) {
        if (TakeShootOutPenalty(nextTaker(s), apSides[1 - s]->GetGoalkeeper())) {
            ++anScored[s];
            if (m_pFixture->pHeader)
                ++m_pFixture->pHeader->Result.abyShootOutGoals[s];
        }
        ++anTaken[s];
    };
    for (int k = 0; k < kShootOutKicks; ++k) {
        for (int s = 0; s < 2; ++s) {
            kick(s);
            if (anScored[0] > anScored[1] + (kShootOutKicks - anTaken[1])) {
                m_byResult = MATCHRESULT_HOME_SHOOT_OUT;
                return;
            }
            if (anScored[1] > anScored[0] + (kShootOutKicks - anTaken[0])) {
                m_byResult = MATCHRESULT_AWAY_SHOOT_OUT;
                return;
            }
        }
    }
    for (int round = 0; round < kSuddenDeathRounds; ++round) {
        kick(0);
        kick(1);
        if (anScored[0] != anScored[1]) {
            m_byResult = anScored[0] > anScored[1] ? MATCHRESULT_HOME_SHOOT_OUT : MATCHRESULT_AWAY_SHOOT_OUT;
            return;
        }
    }
    m_byResult = (plat::rand() & 1) ? MATCHRESULT_HOME_SHOOT_OUT : MATCHRESULT_AWAY_SHOOT_OUT;
}

// ---- after the match ----

int CFastMatchEngine::ComputeRating(const CQuickPlayer& player)
{
    static constexpr int kWeights[QUICKCLASS_COUNT][QUICKRATING_COUNT] = {
        {2, 3, 1, 1}, {3, 2, 1, 1}, {1, 2, 2, 2}, {2, 1, 3, 1}};
    const int nClass = std::clamp<int>(player.m_nClass, 0, QUICKCLASS_COUNT - 1);
    double dTotal = 0.0;
    for (int c = 0; c < QUICKRATING_COUNT; ++c) {
        const RATINGCOMPONENT& component = player.m_aRating[c];
        const int nWeight = kWeights[nClass][c];
        if (component.nAttempts == 0) {
            dTotal += 100.0 / nWeight;
            continue;
        }
        const int q = std::clamp((component.nSuccesses + 2 * component.nCleanSuccesses) * 100 / component.nAttempts,
                                 20, 100);
        dTotal += static_cast<double>(q * nWeight);
    }
    double dResult = dTotal / 7.0 + 10.0 * player.m_nGoals + (player.m_nGoals >= 3 ? 10.0 : 0.0) -
                     5.0 * player.m_nBookings - (player.m_bySentOff ? 20.0 : 0.0) - 5.0 * player.m_nOwnGoals;
    int nResult = static_cast<int>(std::floor(dResult));
    if (dResult - nResult > 0.5)
        ++nResult;
    const int nPlayerRating = player.m_pPlayer ? player.m_pPlayer->m_byRating : 0;
    int nRating = (nPlayerRating + 2 * nResult) / 3;
    if (nRating < 40)
        nRating = 40 + plat::rand() % 20;
    else if (nRating > 100)
        nRating = 100 - plat::rand() % 10;
    return nRating;
}

void CFastMatchEngine::RateSide(CClub* pSide)
{
    for (int i = 0; i < pSide->m_nSquadSize; ++i) {
        CQuickPlayer* pPlayer = pSide->m_apPlayers[i];
        const bool bStarted = pPlayer->m_nEntry < QUICKMATCH_STARTERS;
        if (pPlayer->IsEmpty() || (!bStarted && !pPlayer->m_byCameOn))
            continue;
        pPlayer->m_nRating = ComputeRating(*pPlayer);
        pSide->m_aEntries[pPlayer->m_nEntry].byRating = static_cast<uint8_t>(pPlayer->m_nRating);
    }
}

void CFastMatchEngine::MakeSideRecord(const CClub* pSide, MATCHSIDERECORD& record)
{
    record = MATCHSIDERECORD{};
    record.pClub = pSide->m_pClub;
    record.nEntries = pSide->GetEntryCount();
    record.nGoals = pSide->GetGoals();
    std::copy(std::begin(pSide->m_aEntries), std::end(pSide->m_aEntries), std::begin(record.aEntries));
    for (int i = 0; i < pSide->m_nSquadSize; ++i) {
        const CQuickPlayer* pPlayer = pSide->m_apPlayers[i];
        if (!pPlayer || pPlayer->IsEmpty())
            continue;
        const int nEntry = pPlayer->m_nEntry;
        record.apPlayers[nEntry] = pPlayer->m_pPlayer;
        PLAYERQUICKMATCH& match = record.aPlayed[nEntry];
        match.bStarted = nEntry < QUICKMATCH_STARTERS;
        match.bCameOn = pPlayer->m_byCameOn != 0;
        match.nGoals = pPlayer->m_nGoals;
        match.nBookings = pPlayer->m_nBookings;
        match.bSentOff = pPlayer->m_bySentOff != 0;
        match.nRating = pPlayer->m_nRating;
    }
    std::copy(std::begin(pSide->m_anStatistics), std::end(pSide->m_anStatistics), std::begin(record.anStatistics));
    record.nOffsideFreeKicks = pSide->m_abyStatistics[QUICKBYTE_OFFSIDE_FREE_KICKS];
}

void CFastMatchEngine::FinishMatch(CRefereeDatabase* pReferee)
{
    CClub* pHome = m_pHomeSide;
    CClub* pAway = m_pAwaySide;
    const int nHomeGoals = pHome->GetGoals();
    const int nAwayGoals = pAway->GetGoals();
    MATCHRESULTRECORD result;
    if (m_pFixture->pHeader)
        result = m_pFixture->pHeader->Result;

    // The home side's share of the play, from goals, shots and corners.
    auto attackingScore = [](const CClub* p) {
        const int32_t* s = p->m_anStatistics;
        return 3 * s[QUICKSTAT_GOALS] + 2 * s[QUICKSTAT_SHOTS_ON_TARGET] + s[QUICKSTAT_SHOTS] +
               s[QUICKSTAT_CORNERS] + s[QUICKSTAT_ATTACKING_FREE_KICKS];
    };
    const int nScore = attackingScore(pHome);
    const int nTotal = nScore + attackingScore(pAway);
    result.byWinnerPercentage = nTotal ? ClampByte(static_cast<int>(100.0f / nTotal * nScore)) : 0;

    auto both = [&](int nStat) { return pHome->m_anStatistics[nStat] + pAway->m_anStatistics[nStat]; };
    result.abyRefereeStatistics[0] = ClampByte(both(QUICKSTAT_BOOKINGS));
    result.abyRefereeStatistics[1] = ClampByte(both(QUICKSTAT_SENDINGS_OFF));
    result.abyRefereeStatistics[2] = ClampByte(both(QUICKSTAT_FREE_KICKS) - both(QUICKSTAT_OFFSIDES));
    result.abyRefereeStatistics[3] = ClampByte(both(QUICKSTAT_PENALTIES));
    if (pReferee)
        pReferee->AddMatchStatistics(m_byCompetition, result.abyRefereeStatistics);

    pHome->AddPossession();
    pAway->AddPossession();
    result.byHomePossession =
        ClampByte(static_cast<int>(static_cast<float>(pHome->m_nPossessionTotal) / (m_nActionCounter + 1) * 100.0f));

    RateSide(pHome);
    RateSide(pAway);
    MakeSideRecord(pHome, m_aSideRecords[0]);
    MakeSideRecord(pAway, m_aSideRecords[1]);
    RecordPlayersMatch(m_aSideRecords[0], m_aSideRecords[1], m_byCompetition);
    if (const ID_PLAYER idBest = RecordManOfTheMatch(m_aSideRecords[0], m_aSideRecords[1], m_byCompetition))
        result.idManOfTheMatch = idBest;

    const CDivisionDatabase* pLeague = m_pFixture->pAwayClub->m_pDivision;
    RecordManagerPoints(m_aSideRecords[0], m_aSideRecords[1], m_byCompetition, pLeague);
    RecordManagerPoints(m_aSideRecords[1], m_aSideRecords[0], m_byCompetition, pLeague);

    result.byResult = m_byResult;
    m_pFixture->byHomeGoals = ClampByte(nHomeGoals);
    m_pFixture->byAwayGoals = ClampByte(nAwayGoals);
    m_pFixture->byResult = m_byResult;
    if (m_pFixture->pHeader) {
        m_pFixture->pHeader->Result = result;
        m_pFixture->pHeader->byHomeGoals = m_pFixture->byHomeGoals;
        m_pFixture->pHeader->byAwayGoals = m_pFixture->byAwayGoals;
    }
}
