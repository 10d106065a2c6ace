// The ball actions of the quick result engine: each resolver draws the
// players' outcome tables and answers an outcome code; each handler turns the
// code into counters, events, possession and the next action.
#include "season/CFastMatchEngine.h"

#include "common/DebugLog.h"
#include "database/CPlayerDatabase.h"
#include "platform/Random.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kMaxDraws = 64;

int Draw100()
{
    return plat::rand() % 100 + 1;
}

// One attempt at a rating component, with its success and clean success.
void Count(CQuickPlayer* pPlayer, int nComponent, bool bSuccess, bool bClean)
{
    if (!pPlayer)
        return;
    RATINGCOMPONENT& component = pPlayer->m_aRating[nComponent];
    ++component.nAttempts;
    if (bSuccess)
        ++component.nSuccesses;
    if (bClean)
        ++component.nCleanSuccesses;
}

// The bad-tackle card rows (L, B, P) by card mode and the tackler's class.
constexpr uint8_t kCardTables[3][QUICKCLASS_COUNT][3] = {
    {{74, 80, 90}, {76, 80, 90}, {84, 90, 94}, {86, 92, 96}},
    {{72, 78, 88}, {70, 74, 88}, {82, 88, 92}, {84, 90, 94}},
    {{76, 82, 92}, {78, 82, 92}, {86, 92, 94}, {88, 94, 98}},
};

}  // namespace

// ---- tables ----

void CFastMatchEngine::BuildSixBandTable(OUTCOMETABLE& table, float v)
{
    table.nCount = 6;
    const float fRest = 100.0f - v;
#if defined(__SSE2__)
    // The first four side by side as v * (0.1, 1, 1, 1) + rest * (0, 0, 0.1,
    // 0.8): a product by 1 or a sum with 0 changes nothing, so each lane is
    // the one-at-a-time sum to the bit.
    const __m128 bounds = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(v), _mm_setr_ps(0.1f, 1.0f, 1.0f, 1.0f)),
                                     _mm_mul_ps(_mm_set1_ps(fRest), _mm_setr_ps(0.0f, 0.0f, 0.1f, 0.8f)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(table.anBounds), _mm_cvttps_epi32(bounds));
#else
    table.anBounds[0] = static_cast<int>(0.1f * v);
    table.anBounds[1] = static_cast<int>(v);
    table.anBounds[2] = static_cast<int>(v + 0.1f * fRest);
    table.anBounds[3] = static_cast<int>(v + 0.8f * fRest);
#endif
    table.anBounds[4] = static_cast<int>(v + 0.9f * fRest);
    table.anBounds[5] = 100;
}

void CFastMatchEngine::BuildThreeBandTable(OUTCOMETABLE& table, float v)
{
    table.nCount = 3;
    table.anBounds[0] = static_cast<int>(v);
    table.anBounds[1] = static_cast<int>(v + 0.5f * (100.0f - v));
    table.anBounds[2] = 100;
    table.anBounds[3] = table.anBounds[4] = table.anBounds[5] = 0;
}

int CFastMatchEngine::PickFromTable(const OUTCOMETABLE& table)
{
    const int r = plat::rand() % 100;
    int nFirst = 0;
#if defined(__SSE2__)
    // The first four bounds at once: nearly every draw ends in them.
    unsigned nAbove = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(
        _mm_cmpgt_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table.anBounds)), _mm_set1_epi32(r)))));
    if (table.nCount < 4)
        nAbove &= (1u << std::max(table.nCount, 0)) - 1;
    if (nAbove)
        return __builtin_ctz(nAbove) + 1;
    nFirst = 4;
#endif
    for (int i = nFirst; i < table.nCount; ++i)
        if (table.anBounds[i] >= r + 1)
            return i + 1;
    return -1;
}

void CQuickPlayer::BuildTables()
{
    // The form factor moves a band by at most a quarter of a point.
    const float f = 1.0f + static_cast<float>(m_nMatchValue - 50) * 0.005f;
    const float fHome = m_pSide && m_pSide->m_nSideIndex == 0 ? QUICKMATCH_HOME_ADVANTAGE : 0.0f;
    auto skill = [this, f, fHome](int nAttribute) {
        const int nSkill = m_pPlayer ? m_pPlayer->m_awAttributes[nAttribute] / 100 : 0;
        return std::min(static_cast<float>(nSkill) - f + fHome, 100.0f);
    };
    const float fHandling = skill(PLAYER_ATTRIBUTE_HANDLING);
    CFastMatchEngine::BuildSixBandTable(m_aTables[QUICKTABLE_TACKLING], skill(PLAYER_ATTRIBUTE_TACKLING));
    CFastMatchEngine::BuildSixBandTable(m_aTables[QUICKTABLE_SHOOTING], skill(PLAYER_ATTRIBUTE_SHOOTING));
    CFastMatchEngine::BuildSixBandTable(m_aTables[QUICKTABLE_SAVING], fHandling);
    CFastMatchEngine::BuildSixBandTable(m_aTables[QUICKTABLE_PASSING], skill(PLAYER_ATTRIBUTE_PASSING));
    CFastMatchEngine::BuildSixBandTable(m_aTables[QUICKTABLE_HEADING], skill(PLAYER_ATTRIBUTE_HEADING));
    // Crossing goes by passing too: the same table.
    m_aTables[QUICKTABLE_CROSSING] = m_aTables[QUICKTABLE_PASSING];
    CFastMatchEngine::BuildThreeBandTable(m_aTables[QUICKTABLE_CATCHING], fHandling);
}

// ---- resolvers ----

int CFastMatchEngine::ResolvePenalty(CQuickPlayer* pTaker, CQuickPlayer* pGoalkeeper)
{
    const int k = PickFromTable(pTaker->m_aTables[QUICKTABLE_SHOOTING]);
    const int g = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_SAVING]);
    switch (k) {
    case 1: return g == 1 ? 11 : 91;
    case 2: return g == 1 ? 11 : 92;
    case 3: return 93;
    case 4: return 94;
    default: return Draw100() > 30 ? 95 : 96;
    }
}

int CFastMatchEngine::ResolvePass(CQuickPlayer* pPasser, CQuickPlayer* pTackler)
{
    if (Draw100() < 17)
        return 27;
    const int p = PickFromTable(pPasser->m_aTables[QUICKTABLE_PASSING]);
    const int d = PickFromTable(pTackler->m_aTables[QUICKTABLE_TACKLING]);
    switch (p) {
    case 1: return d == 1 ? 31 : 21;
    case 2: return d == 1 ? 31 : d == 2 ? 32 : 22;
    default: return 20 + p;
    }
}

int CFastMatchEngine::ResolveShot(CQuickPlayer* pShooter, CQuickPlayer* pGoalkeeper, CQuickPlayer* pTackler)
{
    const int s = PickFromTable(pShooter->m_aTables[QUICKTABLE_SHOOTING]);
    const int g = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_SAVING]);
    const int h = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_CATCHING]);
    const int t = PickFromTable(pTackler->m_aTables[QUICKTABLE_TACKLING]);
    switch (s) {
    case 1:
        if (t == 1)
            return 205;
        return g == 1 ? 11 : 1;
    case 2:
        if (t == 1)
            return 205;
        if (t == 2)
            return 206;
        if (g == 1)
            return 11;
        if (g != 2)
            return 2;
        return h == 1 ? 201 : h == 2 ? 202 : 203;
    case 3: return 3;
    case 4: return 4;
    case 5: return Draw100() > 30 ? 5 : 6;
    default: {
        const int r = Draw100();
        return r < 93 ? 6 : r > 96 ? 208 : 207;
    }
    }
}

int CFastMatchEngine::ResolveTackle(CQuickPlayer* pHolder, CQuickPlayer* pTackler, int nCardMode)
{
    const int a = PickFromTable(pHolder->m_aTables[QUICKTABLE_TACKLING]);
    const int d = PickFromTable(pTackler->m_aTables[QUICKTABLE_TACKLING]);
    switch (a) {
    case 1: return d == 1 ? 214 : 31;
    case 2:
        if (d == 1)
            return 214;
        if (d == 2)
            return 215;
        // The tackler gets there late: what comes of it depends on who he is.
        switch (pTackler->m_nClass) {
        case QUICKCLASS_DEFENDER: {
            const int r = plat::rand() % 8;
            return r <= 1 ? 216 : r == 2 ? 217 : r <= 4 ? 32 : 0;
        }
        case QUICKCLASS_MIDFIELDER: {
            const int r = plat::rand() % 6;
            return r == 0 ? 216 : r <= 2 ? 217 : r <= 4 ? 32 : 0;
        }
        case QUICKCLASS_ATTACKER: {
            const int r = plat::rand() % 10;
            return r <= 2 ? 216 : r <= 5 ? 217 : r <= 8 ? 32 : 0;
        }
        default:
            return 0;
        }
    case 3: return 33;
    case 4:
    case 5: return Draw100() > 40 ? 211 : 34;
    default: break;
    }
    // A bad tackle.
    pHolder->Condition() -= static_cast<float>(5 + plat::rand() % 5);
    ++pHolder->m_nFouls;
    ++pTackler->m_nFouls;
    const int nMode = std::clamp(nCardMode, 0, 2);
    const uint8_t* pRow = kCardTables[nMode][std::clamp<int>(pTackler->m_nClass, 0, 3)];
    const int r1 = Draw100();
    if (r1 <= pRow[1]) {
        if (pTackler->m_nBookings == 0)
            return 212;
        if (pTackler->m_nBookings == 1)
            return Draw100() <= pRow[0] ? 219 : 220;
        return 213;
    }
    if (Draw100() > pRow[2])
        return pTackler->m_nBookings == 0 ? 222 : 223;
    return 213;
}

int CFastMatchEngine::ResolveAttackingHeader(CQuickPlayer* pHeader, CQuickPlayer* pGoalkeeper,
                                             CQuickPlayer* pTackler)
{
    const int h = PickFromTable(pHeader->m_aTables[QUICKTABLE_HEADING]);
    const int g1 = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_SAVING]);
    const int g2 = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_SAVING]);
    const int g = std::min(g1, g2);
    const int k = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_CATCHING]);
    const int t = PickFromTable(pTackler->m_aTables[QUICKTABLE_TACKLING]);
    switch (h) {
    case 1:
        if (t == 1)
            return 191;
        return g == 1 ? 11 : 41;
    case 2:
        if (t == 1)
            return 191;
        if (t == 2)
            return 192;
        if (g == 1)
            return 11;
        if (g != 2)
            return 42;
        return k == 1 ? 201 : k == 2 ? 202 : 203;
    case 3: return 43;
    case 4: return 44;
    default: return Draw100() > 30 ? 45 : 46;
    }
}

int CFastMatchEngine::ResolveThrowIn(CQuickPlayer* pThrower, CQuickPlayer* pOpponent)
{
    const int p = PickFromTable(pThrower->m_aTables[QUICKTABLE_CROSSING]);
    const int d = PickFromTable(pOpponent->m_aTables[QUICKTABLE_TACKLING]);
    switch (p) {
    case 1: return d == 1 ? 31 : 101;
    case 2: return d == 1 ? 31 : d == 2 ? 32 : 102;
    default: return 100 + p;
    }
}

int CFastMatchEngine::ResolveHeader(CQuickPlayer* pHolder, CQuickPlayer* pOpponent)
{
    const int h = PickFromTable(pHolder->m_aTables[QUICKTABLE_HEADING]);
    const int d = PickFromTable(pOpponent->m_aTables[QUICKTABLE_HEADING]);
    switch (h) {
    case 1: return d == 1 ? 241 : 41;
    case 2: return d == 1 ? 241 : d == 2 ? 242 : 42;
    default: return 40 + h;
    }
}

int CFastMatchEngine::ResolveCorner(CQuickPlayer* pTaker, CQuickPlayer* pDefender, CQuickPlayer* pGoalkeeper)
{
    const int c = PickFromTable(pTaker->m_aTables[QUICKTABLE_PASSING]);
    const int d = PickFromTable(pDefender->m_aTables[QUICKTABLE_TACKLING]);
    const int g = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_SAVING]);
    const int k = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_CATCHING]);
    switch (c) {
    case 1: return d == 1 ? 31 : 51;
    case 2:
        switch (plat::rand() % 5) {
        case 0:
            if (g == 1)
                return 11;
            if (g == 2)
                return k == 1 ? 201 : k == 2 ? 202 : 203;
            return 52;
        case 1:
        case 2: return d == 1 ? 31 : d == 2 ? 32 : 52;
        default: return 251;
        }
    case 3: return Draw100() >= 65 ? 53 : 52;
    default: return 50 + c;
    }
}

int CFastMatchEngine::ResolveGoalKick(CQuickPlayer* pGoalkeeper, CQuickPlayer* pOpponent)
{
    if (Draw100() < 17)
        return 67;
    const int p = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_PASSING]);
    const int d = PickFromTable(pOpponent->m_aTables[QUICKTABLE_TACKLING]);
    switch (p) {
    case 1: return d == 1 ? 31 : 61;
    case 2: return d == 1 ? 31 : d == 2 ? 32 : 62;
    case 3: return Draw100() >= 65 ? 231 : 63;
    case 4: return 231;
    case 5: return 66;
    default: return 232;
    }
}

int CFastMatchEngine::ResolveFreeKick(CQuickPlayer* pTaker, CQuickPlayer* pOpponent)
{
    const int p = PickFromTable(pTaker->m_aTables[QUICKTABLE_PASSING]);
    const int d = PickFromTable(pOpponent->m_aTables[QUICKTABLE_TACKLING]);
    switch (p) {
    case 1: return d == 1 ? 31 : 71;
    case 2:
    case 3: return d == 1 ? 31 : d == 2 ? 32 : 72;
    case 4: return Draw100() >= 65 ? 181 : 72;
    case 5: return 75;
    default: return 76;
    }
}

int CFastMatchEngine::ResolveAttackingFreeKick(CQuickPlayer* pTaker, CQuickPlayer* pGoalkeeper)
{
    const int a = PickFromTable(pTaker->m_aTables[QUICKTABLE_SHOOTING]);
    const int g1 = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_SAVING]);
    const int g2 = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_SAVING]);
    const int g = std::min(g1, g2);
    const int k = PickFromTable(pGoalkeeper->m_aTables[QUICKTABLE_CATCHING]);
    switch (a) {
    case 1: return g == 1 ? 11 : 81;
    case 2:
        if (g == 1)
            return 11;
        if (g == 2)
            return k == 1 ? 201 : k == 2 ? 202 : 203;
        return Draw100() <= 40 ? 82 : 83;
    case 3: return 83;
    case 4: return 84;
    default: return Draw100() <= 30 ? 86 : 85;
    }
}

// ---- shared effects ----

void CFastMatchEngine::ScoreGoal(CClub* pSide, CQuickPlayer* pScorer, CQuickPlayer* pGoalkeeper, int nEvent)
{
    ++pSide->m_anStatistics[QUICKSTAT_GOALS];
    ++pSide->m_anStatistics[QUICKSTAT_SHOTS_ON_TARGET];
    ++pScorer->m_nGoals;
    ++pGoalkeeper->m_nGoalsConceded;
    Count(pGoalkeeper, QUICKRATING_DISTRIBUTION, false, false);
    AddEvent(pScorer, nEvent);
    if (m_bInExtraTime && m_bGoldenGoalRule) {
        m_byResult = pSide == m_pHomeSide ? MATCHRESULT_HOME_GOLDEN_GOAL : MATCHRESULT_AWAY_GOLDEN_GOAL;
        m_bFinished = true;
        return;
    }
    // The side that conceded kicks off.
    GiveBall(pSide->m_pOpponent, nullptr);
    m_nAction = QUICKACTION_KICK_OFF;
}

void CFastMatchEngine::OwnGoal(CQuickPlayer* pDefender)
{
    CClub* pScoring = m_pAttacking;
    ++pScoring->m_anStatistics[QUICKSTAT_GOALS];
    ++pScoring->m_abyStatistics[QUICKBYTE_OWN_GOALS_FOR];
    ++pDefender->m_nOwnGoals;
    ++m_pDefending->GetGoalkeeper()->m_nGoalsConceded;
    AddEvent(pDefender, MATCHEVENT_OWN_GOAL);
    if (m_bInExtraTime && m_bGoldenGoalRule) {
        m_byResult = pScoring == m_pHomeSide ? MATCHRESULT_HOME_GOLDEN_GOAL : MATCHRESULT_AWAY_GOLDEN_GOAL;
        m_bFinished = true;
        return;
    }
    GiveBall(m_pDefending, nullptr);
    m_nAction = QUICKACTION_KICK_OFF;
}

void CFastMatchEngine::CountShotOnTargetSaved(CQuickPlayer* pGoalkeeper, bool bHeld)
{
    ++m_pAttacking->m_anStatistics[QUICKSTAT_SHOTS_ON_TARGET];
    ++m_pDefending->m_anStatistics[QUICKSTAT_SAVES];
    ++pGoalkeeper->m_nSaves;
    Count(pGoalkeeper, QUICKRATING_DISTRIBUTION, true, bHeld);
}

void CFastMatchEngine::BookPlayer(CQuickPlayer* pPlayer, bool bSentOff)
{
    ++pPlayer->m_nBookings;
    ++pPlayer->m_nBookingEvents;
    ++pPlayer->m_pSide->m_anStatistics[QUICKSTAT_BOOKINGS];
    AddEvent(pPlayer, MATCHEVENT_BOOKED);
    if (bSentOff)
        SendOff(pPlayer);
}

void CFastMatchEngine::SendOff(CQuickPlayer* pPlayer)
{
    pPlayer->m_bySentOff = 1;
    ++pPlayer->m_nSendingsOff;
    CClub* pSide = pPlayer->m_pSide;
    ++pSide->m_anStatistics[QUICKSTAT_SENDINGS_OFF];
    AddEvent(pPlayer, MATCHEVENT_SENT_OFF);
    if (pSide->m_pCurrentPlayer == pPlayer)
        pSide->m_pCurrentPlayer = nullptr;
    if (m_pLastTackler == pPlayer)
        m_pLastTackler = nullptr;
}

void CFastMatchEngine::InjureAfterTackle(CQuickPlayer* pHolder)
{
    CPlayerDatabase* pPlayer = pHolder->m_pPlayer;
    if (!pPlayer || pHolder->m_byInjured || pHolder->Condition() >= 0.26f * pHolder->GetFitness())
        return;
    const int nChance = pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_INJURYPRONE] / 100;
    if (plat::rand() % 100 >= nChance)
        return;
    pHolder->m_byInjured = 1;
    pPlayer->DoInjury(plat::rand() & 7, true);
    AddEvent(pHolder, MATCHEVENT_INJURED);
    CClub* pSide = pHolder->m_pSide;
    ++pSide->m_abyStatistics[QUICKBYTE_INJURIES];
    Substitute(pSide, pHolder);
}

// ---- handlers ----

void CFastMatchEngine::ActionPassing()
{
    CQuickPlayer* pPasser = m_pHolder;
    CQuickPlayer* pTackler = GetTackler(m_pDefending, -1);
    const int nCode = ResolvePass(pPasser, pTackler);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_PASSES];
    Count(pPasser, QUICKRATING_DISTRIBUTION, nCode == 21 || nCode == 22, nCode == 21);
    switch (nCode) {
    case 21:
    case 22:
        ++m_pAttacking->m_anStatistics[QUICKSTAT_PASSES_COMPLETED];
        PassToReceiver();
        break;
    case 23:
    case 24: TossPossession(); break;
    case 25: SwapAndPick(); break;
    case 26:
        SwapPossession();
        m_nAction = QUICKACTION_THROW_IN;
        break;
    case 27:
        ++m_pAttacking->m_anStatistics[QUICKSTAT_OFFSIDES];
        SwapPossession();
        ++m_pAttacking->m_abyStatistics[QUICKBYTE_OFFSIDE_FREE_KICKS];
        m_nAction = QUICKACTION_FREE_KICK;
        break;
    case 31:
    case 32:
        Count(pTackler, QUICKRATING_DUELS, true, nCode == 31);
        ++pTackler->m_nTacklesWon;
        ++m_pDefending->m_anStatistics[QUICKSTAT_TACKLES_WON];
        GiveBall(m_pDefending, pTackler);
        break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionPassing] Warning Undefined PASS_? [%d]", nCode);
        break;
    }
}

void CFastMatchEngine::ActionShooting()
{
    CQuickPlayer* pShooter = m_pHolder;
    CQuickPlayer* pGoalkeeper = m_pDefending->GetGoalkeeper();
    CQuickPlayer* pTackler = GetTackler(m_pDefending, pShooter->m_nClass);
    const int nCode = ResolveShot(pShooter, pGoalkeeper, pTackler);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_SHOTS];
    const bool bGoal = nCode == 1 || nCode == 2;
    const bool bOnTarget = bGoal || nCode == 11 || nCode == 201 || nCode == 202 || nCode == 203;
    Count(pShooter, QUICKRATING_SHOOTING, bOnTarget, bGoal);
    switch (nCode) {
    case 1:
    case 2: ScoreGoal(m_pAttacking, pShooter, pGoalkeeper, MATCHEVENT_GOAL); break;
    case 3: TossPossession(); break;
    case 4:
    case 5:
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    case 6:
    case 206: m_nAction = QUICKACTION_CORNER; break;
    case 11:
    case 201:
        CountShotOnTargetSaved(pGoalkeeper, true);
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    case 202:
        CountShotOnTargetSaved(pGoalkeeper, false);
        TossPossession();
        break;
    case 203:
        CountShotOnTargetSaved(pGoalkeeper, false);
        m_nAction = QUICKACTION_CORNER;
        break;
    case 205:
        Count(pTackler, QUICKRATING_DUELS, true, true);
        GiveBall(m_pDefending, pTackler);
        m_nAction = plat::rand() % 3 == 0 ? QUICKACTION_HEADER : QUICKACTION_PASS;
        break;
    case 207: OwnGoal(pTackler); break;
    case 208:
        ++pShooter->m_nFouls;
        ++m_pAttacking->m_anStatistics[QUICKSTAT_FOULS];
        AddEvent(pShooter, MATCHEVENT_FOUL);
        SwapPossession();
        m_nAction = QUICKACTION_FREE_KICK;
        break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionShooting] Warning Undefined SHOOT_? [%d]", nCode);
        break;
    }
}

void CFastMatchEngine::ActionTackling()
{
    CQuickPlayer* pHolder = m_pHolder;
    CQuickPlayer* pTackler = GetTackler(m_pDefending, pHolder->m_nClass);
    for (int n = 0; n < kMaxDraws && pTackler == m_pLastTackler; ++n)
        pTackler = GetTackler(m_pDefending, pHolder->m_nClass);
    m_pLastTackler = pTackler;
    const int nCode = ResolveTackle(pHolder, pTackler, m_pDefending->m_nCardMode);
    const bool bKept = nCode == 33 || nCode == 34 || nCode == 214 || nCode == 215 || nCode == 0;
    Count(pHolder, QUICKRATING_DUELS, bKept || nCode == 211, nCode == 214 || nCode == 33);
    Count(pTackler, QUICKRATING_DUELS, nCode == 31 || nCode == 32, nCode == 31);
    const bool bBadTackle = nCode == 212 || nCode == 213 || nCode == 219 || nCode == 220 || nCode == 222 ||
                            nCode == 223;
    if (bBadTackle)
        ++m_pDefending->m_anStatistics[QUICKSTAT_FOULS];
    const int nFreeKick =
        pHolder->m_nClass == QUICKCLASS_ATTACKER ? QUICKACTION_ATTACKING_FREE_KICK : QUICKACTION_FREE_KICK;
    switch (nCode) {
    case 0:
    case 33:
    case 34:
    case 214:
    case 215: break;
    case 31:
    case 32:
        ++pTackler->m_nTacklesWon;
        ++m_pDefending->m_anStatistics[QUICKSTAT_TACKLES_WON];
        GiveBall(m_pDefending, pTackler);
        break;
    case 211:
    case 219: m_nAction = nFreeKick; break;
    case 212:
        BookPlayer(pTackler, false);
        m_nAction = nFreeKick;
        break;
    case 213:
        SendOff(pTackler);
        m_nAction = nFreeKick;
        break;
    case 220:
        BookPlayer(pTackler, true);
        m_nAction = nFreeKick;
        break;
    case 222:
        BookPlayer(pTackler, false);
        m_nAction = QUICKACTION_PENALTY;
        break;
    case 223:
        SendOff(pTackler);
        m_nAction = QUICKACTION_PENALTY;
        break;
    case 216: m_nAction = QUICKACTION_THROW_IN; break;
    case 217: TossPossession(); break;
    case 218: m_nAction = QUICKACTION_CORNER; break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionTackling] Warning Undefined TACKLING_? [%d]", nCode);
        break;
    }
    if (bBadTackle)
        InjureAfterTackle(pHolder);
}

void CFastMatchEngine::ActionHeading()
{
    CQuickPlayer* pHolder = m_pHolder;
    CQuickPlayer* pOpponent = GetTackler(m_pDefending, pHolder->m_nClass);
    const int nCode = ResolveHeader(pHolder, pOpponent);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_HEADERS];
    Count(pHolder, QUICKRATING_HEADING, nCode == 41 || nCode == 42, nCode == 41);
    Count(pOpponent, QUICKRATING_HEADING, nCode == 241 || nCode == 242, nCode == 241);
    switch (nCode) {
    case 41:
    case 42: break;
    case 43:
    case 44: TossPossession(); break;
    case 45: SwapAndPick(); break;
    case 46:
        SwapPossession();
        m_nAction = QUICKACTION_THROW_IN;
        break;
    case 241:
    case 242: GiveBall(m_pDefending, pOpponent); break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionHeading] Warning Undefined HEADING_? [%d]", nCode);
        break;
    }
}

void CFastMatchEngine::ActionAttackingHeading()
{
    CQuickPlayer* pHeader = m_pHolder;
    CQuickPlayer* pGoalkeeper = m_pDefending->GetGoalkeeper();
    CQuickPlayer* pTackler = GetTackler(m_pDefending, pHeader->m_nClass);
    const int nCode = ResolveAttackingHeader(pHeader, pGoalkeeper, pTackler);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_HEADERS];
    ++m_pAttacking->m_anStatistics[QUICKSTAT_SHOTS];
    const bool bGoal = nCode == 41 || nCode == 42;
    const bool bOnTarget = bGoal || nCode == 11 || nCode == 201 || nCode == 202 || nCode == 203;
    Count(pHeader, QUICKRATING_HEADING, bOnTarget, bGoal);
    switch (nCode) {
    case 41:
    case 42: ScoreGoal(m_pAttacking, pHeader, pGoalkeeper, MATCHEVENT_GOAL); break;
    case 11:
    case 12:
    case 201:
        CountShotOnTargetSaved(pGoalkeeper, true);
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    case 202:
        CountShotOnTargetSaved(pGoalkeeper, false);
        TossPossession();
        break;
    case 203:
        CountShotOnTargetSaved(pGoalkeeper, false);
        m_nAction = QUICKACTION_CORNER;
        break;
    case 46:
    case 192: m_nAction = QUICKACTION_CORNER; break;
    case 43: TossPossession(); break;
    case 44:
    case 45:
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    case 191:
        Count(pTackler, QUICKRATING_DUELS, true, true);
        GiveBall(m_pDefending, pTackler);
        m_nAction = plat::rand() % 3 == 0 ? QUICKACTION_HEADER : QUICKACTION_PASS;
        break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionAttackingHeading] Warning Undefined ATTACKING_HEADING_? [%d]", nCode);
        break;
    }
}

void CFastMatchEngine::ActionThrowin()
{
    CQuickPlayer* pThrower = m_pHolder;
    CQuickPlayer* pOpponent = GetTackler(m_pDefending, pThrower->m_nClass);
    const int nCode = ResolveThrowIn(pThrower, pOpponent);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_THROW_INS];
    Count(pThrower, QUICKRATING_DISTRIBUTION, nCode == 101 || nCode == 102, nCode == 101);
    switch (nCode) {
    case 101:
    case 102: PassToReceiver(); break;
    case 103:
    case 104:
    case 105: TossPossession(); break;
    case 106: SwapAndPick(); break;
    case 31:
    case 32:
        Count(pOpponent, QUICKRATING_DUELS, true, nCode == 31);
        GiveBall(m_pDefending, pOpponent);
        break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionThrowin] Warning Undefined THROWIN_? [%d]", nCode);
        break;
    }
}

void CFastMatchEngine::ActionCornerKick()
{
    CQuickPlayer* pTaker = m_pAttacking->PickSetPieceTaker();
    m_pAttacking->m_pCurrentPlayer = pTaker;
    CQuickPlayer* pDefender = m_pDefending->PickDefender();
    for (int n = 0; n < kMaxDraws && pDefender->m_bySentOff; ++n)
        pDefender = m_pDefending->PickDefender();
    CQuickPlayer* pGoalkeeper = m_pDefending->GetGoalkeeper();
    const int nCode = ResolveCorner(pTaker, pDefender, pGoalkeeper);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_CORNERS];
    const bool bReached = nCode == 51 || nCode == 52 || nCode == 251;
    Count(pTaker, QUICKRATING_DISTRIBUTION, bReached, nCode == 51);
    switch (nCode) {
    case 11:
    case 201:
        Count(pGoalkeeper, QUICKRATING_DISTRIBUTION, true, true);
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    case 55:
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    case 31:
    case 32:
        Count(pDefender, QUICKRATING_DUELS, true, nCode == 31);
        GiveBall(m_pDefending, pDefender);
        m_nAction = (plat::rand() & 3) == 0 ? QUICKACTION_HEADER : QUICKACTION_PASS;
        break;
    case 51:
    case 251:
        PassToReceiver();
        m_nAction = (plat::rand() & 3) == 0 ? QUICKACTION_ATTACKING_HEADER : QUICKACTION_SHOT;
        break;
    case 52:
        PassToReceiver();
        m_nAction = QUICKACTION_ATTACKING_HEADER;
        break;
    case 53:
    case 54:
    case 202: TossPossession(); break;
    case 56:
        SwapPossession();
        m_nAction = QUICKACTION_THROW_IN;
        break;
    case 203: m_nAction = QUICKACTION_CORNER; break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionCornerKick] Warning Undefined CORNER_? [%d]", nCode);
        break;
    }
}

void CFastMatchEngine::ActionGoalKick()
{
    CQuickPlayer* pGoalkeeper = m_pAttacking->GetGoalkeeper();
    m_pAttacking->m_pCurrentPlayer = pGoalkeeper;
    CQuickPlayer* pOpponent = GetTackler(m_pDefending, -1);
    const int nCode = ResolveGoalKick(pGoalkeeper, pOpponent);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_GOAL_KICKS];
    Count(pGoalkeeper, QUICKRATING_DISTRIBUTION, nCode == 61 || nCode == 62, nCode == 61);
    switch (nCode) {
    case 61:
        ++m_pAttacking->m_anStatistics[QUICKSTAT_GOAL_KICKS_SHORT];
        PassToReceiver();
        m_nAction = QUICKACTION_PASS;
        break;
    case 62:
        ++m_pAttacking->m_anStatistics[QUICKSTAT_GOAL_KICKS_LONG];
        PassToReceiver();
        m_nAction = (plat::rand() & 3) == 0 ? QUICKACTION_HEADER : QUICKACTION_PASS;
        break;
    case 63:
    case 231: TossPossession(); break;
    case 66: SwapAndPick(); break;
    case 67:
        ++m_pAttacking->m_anStatistics[QUICKSTAT_OFFSIDES];
        PassToReceiver();
        SwapPossession();
        ++m_pAttacking->m_abyStatistics[QUICKBYTE_OFFSIDE_FREE_KICKS];
        m_nAction = QUICKACTION_FREE_KICK;
        break;
    case 232:
        SwapPossession();
        m_nAction = QUICKACTION_THROW_IN;
        break;
    case 31:
    case 32:
        Count(pOpponent, QUICKRATING_DUELS, true, nCode == 31);
        GiveBall(m_pDefending, pOpponent);
        break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionGoalKick] Warning Undefined GOALKICK_? [%d]", nCode);
        break;
    }
}

void CFastMatchEngine::ActionNormalFreeKick()
{
    CQuickPlayer* pTaker = m_pAttacking->PickSetPieceTaker();
    m_pAttacking->m_pCurrentPlayer = pTaker;
    CQuickPlayer* pOpponent = GetTackler(m_pDefending, pTaker->m_nClass);
    const int nCode = ResolveFreeKick(pTaker, pOpponent);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_FREE_KICKS];
    Count(pTaker, QUICKRATING_DISTRIBUTION, nCode == 71 || nCode == 72, nCode == 71);
    switch (nCode) {
    case 71: PassToReceiver(); break;
    case 72:
        PassToReceiver();
        m_nAction = plat::rand() % 3 == 0 ? QUICKACTION_HEADER : QUICKACTION_PASS;
        break;
    case 75:
    case 181: TossPossession(); break;
    case 76: SwapAndPick(); break;
    case 31:
    case 32:
        Count(pOpponent, QUICKRATING_DUELS, true, nCode == 31);
        GiveBall(m_pDefending, pOpponent);
        break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionNormalFreeKick] Warning Undefined FREEKICK_? [%d]", nCode);
        break;
    }
}

void CFastMatchEngine::ActionAttackingFreeKick()
{
    CQuickPlayer* pTaker = m_pAttacking->PickSetPieceTaker();
    m_pAttacking->m_pCurrentPlayer = pTaker;
    CQuickPlayer* pGoalkeeper = m_pDefending->GetGoalkeeper();
    const int nCode = ResolveAttackingFreeKick(pTaker, pGoalkeeper);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_SHOTS];
    ++m_pAttacking->m_anStatistics[QUICKSTAT_ATTACKING_FREE_KICKS];
    const bool bGoal = nCode == 81 || nCode == 82;
    const bool bOnTarget = bGoal || nCode == 11 || nCode == 12 || nCode == 201 || nCode == 202 || nCode == 203;
    Count(pTaker, QUICKRATING_SHOOTING, bOnTarget, bGoal);
    switch (nCode) {
    case 81:
    case 82: ScoreGoal(m_pAttacking, pTaker, pGoalkeeper, MATCHEVENT_GOAL); break;
    case 11:
    case 12:
    case 201:
        CountShotOnTargetSaved(pGoalkeeper, true);
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    case 202:
        CountShotOnTargetSaved(pGoalkeeper, false);
        TossPossession();
        break;
    case 203:
        CountShotOnTargetSaved(pGoalkeeper, false);
        m_nAction = QUICKACTION_CORNER;
        break;
    case 83: TossPossession(); break;
    case 84:
    case 85:
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    case 86:
        if (plat::rand() % 3 != 0)
            m_nAction = QUICKACTION_CORNER;
        else
            TossPossession();
        break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionAttackingFreeKick] Warning Undefined ATTACKING_FREEKICK_? [%d]",
                 nCode);
        break;
    }
}

void CFastMatchEngine::ActionPenalty()
{
    CQuickPlayer* pTaker = m_pAttacking->PickSetPieceTaker();
    m_pAttacking->m_pCurrentPlayer = pTaker;
    CQuickPlayer* pGoalkeeper = m_pDefending->GetGoalkeeper();
    const int nCode = ResolvePenalty(pTaker, pGoalkeeper);
    ++m_pAttacking->m_anStatistics[QUICKSTAT_SHOTS];
    ++m_pAttacking->m_anStatistics[QUICKSTAT_PENALTIES];
    ++pTaker->m_nPenaltiesTaken;
    const bool bGoal = nCode == 91 || nCode == 92;
    Count(pTaker, QUICKRATING_SHOOTING, bGoal || nCode == 11, bGoal);
    switch (nCode) {
    case 91:
    case 92:
        ++pTaker->m_nPenaltiesScored;
        ++m_pAttacking->m_anStatistics[QUICKSTAT_PENALTIES_SCORED];
        ScoreGoal(m_pAttacking, pTaker, pGoalkeeper, MATCHEVENT_PENALTY_SCORED);
        break;
    case 11:
        ++pTaker->m_nPenaltiesMissed;
        AddEvent(pTaker, MATCHEVENT_PENALTY_MISSED);
        CountShotOnTargetSaved(pGoalkeeper, true);
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    case 93:
    case 94:
    case 95:
    case 96:
        ++pTaker->m_nPenaltiesMissed;
        AddEvent(pTaker, MATCHEVENT_PENALTY_MISSED);
        SwapPossession();
        m_nAction = QUICKACTION_GOAL_KICK;
        break;
    default:
        DebugLog(5, "[CFastMatchEngine::ActionPenalty] Warning Undefined PENALTY_? [%d]", nCode);
        break;
    }
}
