#include "season/CClub.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "platform/Random.h"
#include "season/CSaveGame.h"
#include "season/CupStructureTable.h"

#include <algorithm>
#include <iterator>
#include <new>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

// Normal, attacking (setting above 60) and cautious (below 30).
const uint8_t g_abyQuickActionTables[3][QUICKCLASS_COUNT][2] = {
    {{0, 100}, {30, 96}, {40, 95}, {50, 75}},
    {{0, 100}, {55, 96}, {60, 95}, {70, 75}},
    {{0, 100}, {20, 95}, {25, 90}, {30, 70}},
};
// Normal, long (setting above 60) and short (below 30).
const uint8_t g_abyQuickReceiverTables[3][QUICKCLASS_COUNT][2] = {
    {{33, 88}, {33, 83}, {27, 77}, {17, 77}},
    {{23, 73}, {13, 63}, {13, 50}, {13, 50}},
    {{33, 95}, {40, 93}, {33, 83}, {17, 77}},
};

namespace {

// Draws a slot again while it is unfit to play the ball; after this many
// draws the slots are searched instead, so that a side reduced by
// sendings-off can never hold the draw in a loop.
constexpr int kMaxDraws = 64;

// One fixed-size pool: chunks of a number of objects; a free object holds the
// next free one in its last word.
struct POOL {
    size_t nObjectBytes;
    int nPerChunk;
    void* pFree;
    int nFree;
};

POOL s_Sides = {sizeof(CClub), 2, nullptr, 0};
POOL s_Players = {sizeof(CQuickPlayer), 18, nullptr, 0};

// Chunks taken while no root exists; freed when the program ends.
struct FALLBACKCHUNKS {
    CXList lstChunks;
    ~FALLBACKCHUNKS()
    {
        while (!lstChunks.IsEmpty())
            ::operator delete(lstChunks.RemoveHead());
    }
};
FALLBACKCHUNKS s_Fallback;
CDatabaseHandler* s_pHandler = nullptr;
CXList* s_pChunkList = nullptr;

void*& NextFree(void* pObject, size_t nBytes)
{
    return *reinterpret_cast<void**>(static_cast<char*>(pObject) + nBytes - sizeof(void*));
}

void* Allocate(POOL& pool, size_t nBytes)
{
    if (nBytes != pool.nObjectBytes)
        return ::operator new(nBytes);
    if (!pool.pFree) {
        char* pChunk = static_cast<char*>(::operator new(pool.nObjectBytes * pool.nPerChunk));
        (s_pChunkList ? *s_pChunkList : s_Fallback.lstChunks).AddTail(pChunk);
        for (int i = pool.nPerChunk - 1; i >= 0; --i) {
            void* pObject = pChunk + i * pool.nObjectBytes;
            NextFree(pObject, pool.nObjectBytes) = pool.pFree;
            pool.pFree = pObject;
            ++pool.nFree;
        }
    }
    void* pObject = pool.pFree;
    pool.pFree = NextFree(pObject, pool.nObjectBytes);
    --pool.nFree;
    return pObject;
}

void Release(POOL& pool, void* pObject, size_t nBytes)
{
    if (!pObject)
        return;
    if (nBytes != pool.nObjectBytes) {
        ::operator delete(pObject);
        return;
    }
    NextFree(pObject, pool.nObjectBytes) = pool.pFree;
    pool.pFree = pObject;
    ++pool.nFree;
}

}  // namespace

void CQuickMatchPools::SetDatabaseHandler(CDatabaseHandler* pHandler, CXList* pChunkList)
{
    s_pHandler = pHandler;
    s_pChunkList = pChunkList;
}

void CQuickMatchPools::ForgetChunks(CDatabaseHandler* pHandler)
{
    if (pHandler != s_pHandler)
        return;
    s_Sides.pFree = s_Players.pFree = nullptr;
    s_Sides.nFree = s_Players.nFree = 0;
    s_pHandler = nullptr;
    s_pChunkList = nullptr;
}

int CQuickMatchPools::GetFreeSides()
{
    return s_Sides.nFree;
}

int CQuickMatchPools::GetFreePlayers()
{
    return s_Players.nFree;
}

// ---- quick-player record ----

CQuickPlayer::CQuickPlayer(CClub* pSide, CPlayerDatabase* pPlayer, int nSlot, int nClass, CXList* pEvents)
    : m_nSlot(nSlot), m_nEntry(nSlot), m_nClass(nClass), m_pEvents(pEvents), m_pSide(pSide), m_pPlayer(pPlayer)
{
    float& fCondition = Condition();
    fCondition = GetFitness();
    if (pSide->m_byCompetition == 3)
        fCondition *= 1.1f;
}

void* CQuickPlayer::operator new(size_t nBytes)
{
    return Allocate(s_Players, nBytes);
}

void CQuickPlayer::operator delete(void* p, size_t nBytes)
{
    Release(s_Players, p, nBytes);
}

ID_PLAYER CQuickPlayer::GetPlayerID() const
{
    return m_pPlayer ? m_pPlayer->m_idPerson : 0;
}

float CQuickPlayer::GetFitness() const
{
    return m_pPlayer ? static_cast<float>(m_pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_FITNESS]) / 100.0f : 0.0f;
}

void CQuickPlayer::AddEvent(int nKind, int nMinute, int nCompetition) const
{
    if (!m_pEvents)
        return;
    auto* pEvent = new MATCHEVENT;
    pEvent->idPlayer = GetPlayerID();
    pEvent->byKind = static_cast<uint8_t>(nKind);
    pEvent->byMinute = static_cast<uint8_t>(std::clamp(nMinute, 0, 255));
    pEvent->byCompetition = static_cast<uint8_t>(nCompetition);
    m_pEvents->AddTail(pEvent);
}

// ---- side ----

void* CClub::operator new(size_t nBytes)
{
    return Allocate(s_Sides, nBytes);
}

void CClub::operator delete(void* p, size_t nBytes)
{
    Release(s_Sides, p, nBytes);
}

int CClub::GetTacticsTableIndex(int nSetting)
{
    if (nSetting > 60)
        return 1;
    return nSetting < 30 ? 2 : 0;
}

int CClub::GetClassFromSlotCode(int nSlotCode)
{
    if (nSlotCode >= 1 && nSlotCode <= 6)
        return QUICKCLASS_DEFENDER;
    if (nSlotCode >= 7 && nSlotCode <= 11)
        return QUICKCLASS_MIDFIELDER;
    if (nSlotCode >= 12 && nSlotCode <= 15)
        return QUICKCLASS_ATTACKER;
    return QUICKCLASS_GOALKEEPER;
}

CClub::CClub(MATCHPARAMETERS* pFixture, int nSideIndex) : m_nSideIndex(nSideIndex), m_pFixture(pFixture)
{
    std::fill(std::begin(m_afConditions), std::end(m_afConditions), 100.0f);
    m_byCompetition = pFixture->byMatchKind;
    if (pFixture->pRules) {
        m_bySubstitutionsAllowed = pFixture->pRules->bySubstitutions;
        m_bySubstitutesNamed = pFixture->pRules->bySubstitutesNamed;
    }
    if (m_bySubstitutesNamed > QUICKMATCH_MAX_SUBSTITUTES) {
        DebugLog(2, "[CClub::CClub] %d substitutes named, %d sit on the bench", m_bySubstitutesNamed,
                 QUICKMATCH_MAX_SUBSTITUTES);
        m_bySubstitutesNamed = QUICKMATCH_MAX_SUBSTITUTES;
    }
    m_nSquadSize = QUICKMATCH_STARTERS + m_bySubstitutesNamed;
    m_pClub = nSideIndex ? pFixture->pAwayClub : pFixture->pHomeClub;
    CXList* pEvents = nSideIndex ? pFixture->pAwayEvents : pFixture->pHomeEvents;
    // A computer-run club plays the normal tables with its best team; a
    // human's sheet and tactics settings come with the human manager record.
    m_pActionTable = g_abyQuickActionTables[0];
    m_pReceiverTable = g_abyQuickReceiverTables[0];

    CPlayerDatabase* apSheet[QUICKMATCH_MAX_PLAYERS] = {};
    const uint8_t* pbyFormation = CClubDatabase::GetStandardFormation(0);
    if (m_pClub) {
        pbyFormation = m_pClub->GetFormation();
        // A human's club plays the team sheet he named, when it can.
        const CSaveGame* pHuman =
            CClubDatabase::m_pDatabaseHandler ? CClubDatabase::m_pDatabaseHandler->GetSaveGameForClub(m_pClub) : nullptr;
        // An earlier match's pick marks count as unavailability: left on a
        // human's players they would turn his sheet down from then on.
        if (pHuman)
            m_pClub->ClearSelection();
        if (!pHuman || !pHuman->GetMatchSheet(apSheet, m_byCompetition, m_bySubstitutesNamed))
            m_pClub->SelectTeam(pbyFormation, apSheet, m_byCompetition, m_bySubstitutesNamed);
        // His match urgency picks how often the ball is carried forward, his
        // passing distance how far up the pitch it is passed.
        if (pHuman) {
            m_pActionTable = g_abyQuickActionTables[GetTacticsTableIndex(pHuman->GetTeamOrderValue(0))];
            m_pReceiverTable = g_abyQuickReceiverTables[GetTacticsTableIndex(pHuman->GetTeamOrderValue(1))];
        }
    }

    for (int i = 0; i < QUICKMATCH_STARTERS; ++i) {
        const int nSlotCode = i == 0 ? 0 : pbyFormation[i];
        const int nClass = i == 0 ? QUICKCLASS_GOALKEEPER : GetClassFromSlotCode(nSlotCode);
        if (i > 0)
            m_anClassSlots[nClass][m_anClassCounts[nClass]++] = i;
        m_aEntries[i].idPlayer = apSheet[i] ? apSheet[i]->m_idPerson : 0;
        m_aEntries[i].bySlotCode = static_cast<uint8_t>(nSlotCode);
        // An empty place still gets a record (without a player), so that
        // every slot of the eleven can be drawn.
        m_apPlayers[i] = new CQuickPlayer(this, apSheet[i], i, nClass, pEvents);
        m_apPlayers[i]->m_byOnPitch = 1;
    }
    for (int i = QUICKMATCH_STARTERS; i < m_nSquadSize; ++i) {
        if (!apSheet[i]) {
            m_nSquadSize = i;
            break;
        }
        const int nClass = std::clamp<int>(apSheet[i]->m_byPosition, QUICKCLASS_GOALKEEPER, QUICKCLASS_ATTACKER);
        m_aEntries[i].idPlayer = apSheet[i]->m_idPerson;
        m_aEntries[i].bySlotCode = static_cast<uint8_t>(CClubDatabase::GetSubstituteRole(i - QUICKMATCH_STARTERS));
        m_apPlayers[i] = new CQuickPlayer(this, apSheet[i], i, nClass, pEvents);
    }
}

CClub::~CClub()
{
    for (CQuickPlayer*& pPlayer : m_apPlayers) {
        delete pPlayer;
        pPlayer = nullptr;
    }
}

CQuickPlayer* CClub::PickRandomPlayer()
{
    for (int n = 0; n < kMaxDraws; ++n) {
        CQuickPlayer* pPlayer = m_apPlayers[1 + plat::rand() % 10];
        if (pPlayer->IsEmpty() || (pPlayer != m_pCurrentPlayer && !pPlayer->m_bySentOff)) {
            m_pCurrentPlayer = pPlayer;
            return pPlayer;
        }
    }
    CQuickPlayer* pFound = nullptr;
    for (int i = 1; i < QUICKMATCH_STARTERS && !pFound; ++i)
        if (!m_apPlayers[i]->m_bySentOff)
            pFound = m_apPlayers[i];
    m_pCurrentPlayer = pFound ? pFound : m_apPlayers[0];
    return m_pCurrentPlayer;
}

CQuickPlayer* CClub::PickSetPieceTaker()
{
    if (m_pSetPieceTaker && !m_pSetPieceTaker->m_bySentOff)
        return m_pSetPieceTaker;
    for (int n = 0; n < kMaxDraws; ++n) {
        CQuickPlayer* pPlayer = m_apPlayers[1 + plat::rand() % 10];
        if (!pPlayer->m_bySentOff)
            return pPlayer;
    }
    for (int i = 1; i < QUICKMATCH_STARTERS; ++i)
        if (!m_apPlayers[i]->m_bySentOff)
            return m_apPlayers[i];
    return m_apPlayers[0];
}

const MATCHPLAYERENTRY* CClub::GetBestRatedEntry() const
{
    const MATCHPLAYERENTRY* pBest = nullptr;
    for (int i = 0; i < m_nSquadSize; ++i) {
        const MATCHPLAYERENTRY& entry = m_aEntries[i];
        if (entry.idPlayer && (!pBest || entry.byRating > pBest->byRating))
            pBest = &entry;
    }
    return pBest;
}

void CClub::AddPossession()
{
    // Everyone who played: the touches of a player taken off were real too.
    m_nPossessionTotal = 0;
    for (int i = 0; i < m_nSquadSize; ++i)
        if (m_apPlayers[i])
            m_nPossessionTotal += m_apPlayers[i]->m_nTouches;
}

namespace {

// nActions steps of N conditions, kept in vector registers throughout.
template <int N>
void TireConditions(float* pafConditions, int nActions)
{
    static_assert(N % 4 == 0, "whole vector steps");
    float af[N];
    std::copy_n(pafConditions, N, af);
    for (int n = 0; n < nActions; ++n) {
#pragma GCC unroll 16
        for (int i = 0; i < N; ++i)
            af[i] += (af[i] - 100.0f) * 0.004f;
    }
    std::copy_n(af, N, pafConditions);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define BRELLOX_WIDE_TIRING 1
// TireConditions<16> eight lanes to a register on a processor with the wider
// registers: the same three single-precision operations lane by lane (no
// fused multiply-add, which would round once where the step rounds twice),
// two actions to a turn of the loop.
[[gnu::target("avx")]] inline __m256 TireStepWide(__m256 conditions)
{
    return _mm256_add_ps(conditions,
                         _mm256_mul_ps(_mm256_sub_ps(conditions, _mm256_set1_ps(100.0f)), _mm256_set1_ps(0.004f)));
}

[[gnu::target("avx")]] void TireSixteenWide(float* pafConditions, int nActions)
{
    __m256 low = _mm256_loadu_ps(pafConditions);
    __m256 high = _mm256_loadu_ps(pafConditions + 8);
    int n = 0;
    for (; n + 2 <= nActions; n += 2) {
        low = TireStepWide(TireStepWide(low));
        high = TireStepWide(TireStepWide(high));
    }
    if (n < nActions) {
        low = TireStepWide(low);
        high = TireStepWide(high);
    }
    _mm256_storeu_ps(pafConditions, low);
    _mm256_storeu_ps(pafConditions + 8, high);
}
#endif

}  // namespace

void CClub::WorkOffActions()
{
    // Every entry of the sheet, on the pitch or not, one action after the
    // other: an entry's steps read only its own value, so working them off
    // late gives the values the actions would have left. The entries past the
    // first sixteen are worked only when the sheet reaches them (an entry of
    // nobody's stays at 100 either way).
    //
    // Each step is c - (100 - c) * 0.004 written as c + (c - 100) * 0.004:
    // the same value to the bit (a difference and a product change only its
    // sign when its operand does), one copy fewer to work out.
    constexpr int kAlways = 16;
    const int nActions = m_nUntiredActions;
    m_nUntiredActions = 0;
#if defined(BRELLOX_WIDE_TIRING)
    // Both sides tire after every action of every match.
    static const bool s_bWide = __builtin_cpu_supports("avx");
    if (s_bWide)
        TireSixteenWide(m_afConditions, nActions);
    else
        TireConditions<kAlways>(m_afConditions, nActions);
#else
    TireConditions<kAlways>(m_afConditions, nActions);
#endif
    if (m_nSquadSize > kAlways)
        TireConditions<kConditionEntries - kAlways>(m_afConditions + kAlways, nActions);
}

void CClub::HalfTimeRecovery()
{
    for (int i = 0; i < m_nSquadSize; ++i) {
        CQuickPlayer* pPlayer = m_apPlayers[i];
        if (!pPlayer || !pPlayer->m_byOnPitch || pPlayer->m_bySentOff)
            continue;
        pPlayer->Condition() = std::min(pPlayer->Condition() * 1.07f, pPlayer->GetFitness());
    }
}

