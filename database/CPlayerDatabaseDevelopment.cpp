// A week of training: each skill moves toward the value the player's age and
// potential allow, at a speed set by the week's training rate and the effort
// his plan puts into it.
#include "database/CPlayerDatabase.h"

#include <algorithm>
#include <array>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "common/CDate.h"
#include "database/CDatabaseHandler.h"
#include "platform/Random.h"
#include "season/CSaveGame.h"
#include "season/CTrainingManager.h"

float CPlayerDatabase::s_fTrainingRate = 1.0f;
float CPlayerDatabase::s_fEffortThreshold = 1.5f;
float CPlayerDatabase::s_fEffortCap = 6.0f;

namespace {

// The attributes a week trains, in the order they are stepped.
constexpr int kTrained[] = {
    PLAYER_ATTRIBUTE_HANDLING,     PLAYER_ATTRIBUTE_TACKLING,   PLAYER_ATTRIBUTE_DRIBBLING,
    PLAYER_ATTRIBUTE_HEADING,      PLAYER_ATTRIBUTE_SHOOTING,   PLAYER_ATTRIBUTE_PASSING,
    PLAYER_ATTRIBUTE_PACE,         PLAYER_ATTRIBUTE_STRENGTH,   PLAYER_ATTRIBUTE_FITNESS,
    PLAYER_ATTRIBUTE_AGILITY,      PLAYER_ATTRIBUTE_AGGRESSION, PLAYER_ATTRIBUTE_MORALE,
    PLAYER_ATTRIBUTE_WILLPOWER,    PLAYER_ATTRIBUTE_CONFIDENCE, PLAYER_ATTRIBUTE_INTELLIGENCE,
    PLAYER_ATTRIBUTE_EMPATHY,      PLAYER_ATTRIBUTE_MARKING,    PLAYER_ATTRIBUTE_GREED,
};
constexpr int kTrainedCount = static_cast<int>(sizeof(kTrained) / sizeof(kTrained[0]));
// The eight playing skills and Fitness: what an injured player keeps up.
constexpr int kInjuredTrained = 9;

// A computer club's default plan: the share (0-100) of the week each
// position gives each trained attribute, in kTrained order, and the plan's
// intensity. The constant part of each effort is the same for everyone.
constexpr float kDefaultIntensity = 4.0f;
constexpr float kSkillEffortBase = 0.5f;
constexpr uint8_t kDefaultPlans[PLAYER_POSITION_COUNT][kTrainedCount] = {
    {90, 40, 35, 40, 30, 45, 50, 55, 60, 70, 40, 40, 40, 40, 40, 40, 40, 40},  // goalkeepers
    {40, 85, 45, 75, 35, 55, 60, 70, 60, 50, 45, 40, 40, 40, 45, 40, 80, 40},  // defenders
    {40, 60, 70, 50, 55, 85, 60, 55, 65, 55, 40, 40, 40, 40, 55, 45, 55, 40},  // midfielders
    {40, 40, 80, 70, 90, 55, 75, 60, 60, 55, 45, 40, 40, 45, 45, 40, 40, 40},  // attackers
};

constexpr int kMinimumMorale = 2000;

int Position(const CPersonDatabase& person)
{
    return std::min<int>(person.m_byPosition, PLAYER_POSITION_COUNT - 1);
}

// How hard an effort pulls a skill: below the threshold it pulls down.
inline float TrainingPull(float fEffort, float fThreshold, float fCap)
{
    return fEffort < fThreshold ? fEffort - fCap : std::min(fEffort, fCap);
}

// One week's step of a skill (0-10000) toward its target (T, in hundredths)
// under a pull: the skill stays between a quarter of the target and the
// target.
inline int TrainingStepHundredths(int nCurrent, float T, float e)
{
    const float c = static_cast<float>(nCurrent);
    // At the target it stays there: the step below comes to nothing.
    if (c == T)
        return nCurrent;
    const float q = 0.25f * T;
    const float m = (q + T) * 0.5f;
    const float d = c > m ? std::max(T - c, -50.0f) : std::max(c - q, 50.0f);
    const float n = c + e * (d * 0.01f / 100.0f) * CPlayerDatabase::s_fTrainingRate * 100.0f;
    if (n <= q)
        return static_cast<int>(q);
    if (n >= T)
        return static_cast<int>(T);
    return static_cast<int>(n);
}

// TrainingStep under no pull: the step adds nothing, so the skill is only
// kept between the quarter and the target (which the checks there come to).
inline int HeldSkill(int nCurrent, int nTarget)
{
    const float T = static_cast<float>(nTarget) * 100.0f;
    const float q = 0.25f * T;
    const float c = static_cast<float>(nCurrent);
    if (c <= q)
        return static_cast<int>(q);
    if (c >= T)
        return static_cast<int>(T);
    return nCurrent;
}

// The same toward a target of 0-100.
inline int TrainingStep(int nCurrent, int nTarget, float e)
{
    return TrainingStepHundredths(nCurrent, static_cast<float>(nTarget) * 100.0f, e);
}

// A skill's step reads only the skill, its target and its pull, so the week
// steps them in the record's order rather than kTrained's: the first sixteen
// attributes (all trained) in a block, eight at a time where the processor
// can, and the last two in the four attributes that follow the block, the
// two between them (not trained) kept as they are.
constexpr int kBlockTrained = 16;
static_assert(kBlockTrained % 8 == 0, "whole blocks of eight 16-bit skills");
constexpr int kLoneTrained[] = {PLAYER_ATTRIBUTE_WILLPOWER, PLAYER_ATTRIBUTE_MARKING};
constexpr int kTailLanes = 4;
// The targets a week reads: the block and the four that follow it.
constexpr int kTargetLanes = kBlockTrained + kTailLanes;

constexpr bool IsTrained(int nAttribute)
{
    for (const int nTrained : kTrained)
        if (nTrained == nAttribute)
            return true;
    return false;
}

constexpr bool BlockAndLonesAreTheTrained()
{
    for (int nAttribute = 0; nAttribute < kBlockTrained; ++nAttribute)
        if (!IsTrained(nAttribute))
            return false;
    for (const int nAttribute : kLoneTrained)
        if (nAttribute < kBlockTrained || nAttribute >= kTargetLanes || !IsTrained(nAttribute))
            return false;
    return kBlockTrained + sizeof(kLoneTrained) / sizeof(kLoneTrained[0]) == kTrainedCount &&
           kTargetLanes <= PLAYER_ATTRIBUTE_COUNT;
}
static_assert(BlockAndLonesAreTheTrained());

// The lanes of the four after the block that are not trained: all ones.
struct TailLanes {
    alignas(16) int32_t an[kTailLanes];
};
constexpr TailLanes kTailKept = [] {
    TailLanes kept{};
    for (int32_t& n : kept.an)
        n = -1;
    for (const int nAttribute : kLoneTrained)
        kept.an[nAttribute - kBlockTrained] = 0;
    return kept;
}();

// The pull of each attribute, in the record's order (0 where untrained).
using AttributePulls = std::array<float, PLAYER_ATTRIBUTE_COUNT>;

// The effort of each position's plan for each trained attribute, worked out
// once: the same for every player of the position every week.
const auto kEfforts = [] {
    std::array<std::array<float, kTrainedCount>, PLAYER_POSITION_COUNT> afEfforts{};
    for (int nPosition = 0; nPosition < PLAYER_POSITION_COUNT; ++nPosition)
        for (int nSlot = 0; nSlot < kTrainedCount; ++nSlot) {
            const float fPlan = kDefaultPlans[nPosition][nSlot] * 0.01f * kDefaultIntensity;
            afEfforts[nPosition][nSlot] = nSlot < kInjuredTrained ? fPlan + kSkillEffortBase : fPlan;
        }
    return afEfforts;
}();

// The computer's plan as the pull of each effort under the week's threshold
// and cap, with the plan's load (its mean effort), for each position: the
// same for every player of a computer club, worked out again only when the
// threshold or the cap changes (a human club's week sets its own).
struct PlanPulls {
    bool bReady = false;
    float fThreshold = 0.0f;
    float fCap = 0.0f;
    std::array<AttributePulls, PLAYER_POSITION_COUNT> afPulls{};
    std::array<float, PLAYER_POSITION_COUNT> afLoads{};
};

const PlanPulls& ComputerPlanPulls()
{
    thread_local PlanPulls s_plan;
    const float fThreshold = CPlayerDatabase::s_fEffortThreshold;
    const float fCap = CPlayerDatabase::s_fEffortCap;
    if (!s_plan.bReady || s_plan.fThreshold != fThreshold || s_plan.fCap != fCap) {
        for (int nPosition = 0; nPosition < PLAYER_POSITION_COUNT; ++nPosition) {
            float fLoad = 0.0f;
            for (int nSlot = 0; nSlot < kTrainedCount; ++nSlot) {
                const float fEffort = kEfforts[nPosition][nSlot];
                fLoad += fEffort;
                s_plan.afPulls[nPosition][static_cast<size_t>(kTrained[nSlot])] =
                    TrainingPull(fEffort, fThreshold, fCap);
            }
            s_plan.afLoads[nPosition] = fLoad / static_cast<float>(kTrainedCount);
        }
        s_plan.fThreshold = fThreshold;
        s_plan.fCap = fCap;
        s_plan.bReady = true;
    }
    return s_plan;
}

// A human club's week: the efforts its training manager gives the person;
// false (the computer's plan then) when his club is not a human's or the
// manager holds no entry for him.
bool HumanEfforts(const CPersonDatabase& person, bool bYouth, float* afEfforts)
{
    CDatabaseHandler* pRoot = CPersonDatabase::m_pDatabaseHandler;
    const CSaveGame* pHuman = pRoot && person.m_pClub ? pRoot->GetSaveGameForClub(person.m_pClub) : nullptr;
    return pHuman && pHuman->GetTrainingManager().GetPersonEfforts(person, bYouth, afEfforts, kTrainedCount);
}

#if defined(__SSE2__)
// Four skills (as 32-bit lanes) stepped toward their targets as
// TrainingStepHundredths steps them, with the same single-precision
// operations in the same order, so the results are the same to the bit; the
// lanes of kept (all ones) keep their values. Each lane comes back as its low
// 16 bits sign-extended (the cast to 16 bits of the one-skill step), so that
// packing keeps it as it is.
inline __m128i StepLanes(__m128i current, const float* pfTargetLanes, __m128 e, __m128i kept)
{
    const __m128 rate = _mm_set1_ps(CPlayerDatabase::s_fTrainingRate);
    const __m128 hundred = _mm_set1_ps(100.0f);
    const auto select = [](__m128 mask, __m128 a, __m128 b) {
        return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
    };
    const __m128 c = _mm_cvtepi32_ps(current);
    const __m128 T = _mm_loadu_ps(pfTargetLanes);
    const __m128 q = _mm_mul_ps(_mm_set1_ps(0.25f), T);
    const __m128 m = _mm_mul_ps(_mm_add_ps(q, T), _mm_set1_ps(0.5f));
    const __m128 d = select(_mm_cmpgt_ps(c, m), _mm_max_ps(_mm_sub_ps(T, c), _mm_set1_ps(-50.0f)),
                            _mm_max_ps(_mm_sub_ps(c, q), _mm_set1_ps(50.0f)));
    const __m128 share = _mm_div_ps(_mm_mul_ps(d, _mm_set1_ps(0.01f)), hundred);
    const __m128 n = _mm_add_ps(c, _mm_mul_ps(_mm_mul_ps(_mm_mul_ps(e, share), rate), hundred));
    // Between the quarter and the target: q <= T, so the order of the tests
    // (at or below q first) is the order of max and min.
    const __m128 r = _mm_max_ps(q, _mm_min_ps(n, T));
    // A skill at its target keeps its value without a test of its own: there
    // d is 0 (T > 0) and n is c, or q and T are both 0, so r is c.
    const __m128i stepped = _mm_or_si128(_mm_and_si128(kept, current), _mm_andnot_si128(kept, _mm_cvttps_epi32(r)));
    return _mm_srai_epi32(_mm_slli_epi32(stepped, 16), 16);
}

// The four after the block: only the lone trained ones step.
inline void StepTail(uint16_t* pwSkills, const float* pfTargets, const float* pfPulls)
{
    auto* pTail = reinterpret_cast<__m128i*>(pwSkills + kBlockTrained);
    const __m128i tail = StepLanes(_mm_unpacklo_epi16(_mm_loadl_epi64(pTail), _mm_setzero_si128()),
                                   pfTargets + kBlockTrained, _mm_loadu_ps(pfPulls + kBlockTrained),
                                   _mm_load_si128(reinterpret_cast<const __m128i*>(kTailKept.an)));
    _mm_storel_epi64(pTail, _mm_packs_epi32(tail, tail));
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
#define BRELLOX_WIDE_TRAINING_STEPS 1
// StepLanes for eight skills at once, none kept, on a processor with the
// wider registers: the same operations lane by lane (no fused multiply-add,
// which would round once where the steps round twice).
[[gnu::target("avx2")]] inline __m256i StepLanesWide(__m256i current, const float* pfTargetLanes, __m256 e)
{
    const __m256 rate = _mm256_set1_ps(CPlayerDatabase::s_fTrainingRate);
    const __m256 hundred = _mm256_set1_ps(100.0f);
    const __m256 c = _mm256_cvtepi32_ps(current);
    const __m256 T = _mm256_loadu_ps(pfTargetLanes);
    const __m256 q = _mm256_mul_ps(_mm256_set1_ps(0.25f), T);
    const __m256 m = _mm256_mul_ps(_mm256_add_ps(q, T), _mm256_set1_ps(0.5f));
    const __m256 d = _mm256_blendv_ps(_mm256_max_ps(_mm256_sub_ps(c, q), _mm256_set1_ps(50.0f)),
                                      _mm256_max_ps(_mm256_sub_ps(T, c), _mm256_set1_ps(-50.0f)),
                                      _mm256_cmp_ps(c, m, _CMP_GT_OQ));
    const __m256 share = _mm256_div_ps(_mm256_mul_ps(d, _mm256_set1_ps(0.01f)), hundred);
    const __m256 n = _mm256_add_ps(c, _mm256_mul_ps(_mm256_mul_ps(_mm256_mul_ps(e, share), rate), hundred));
    const __m256 r = _mm256_max_ps(q, _mm256_min_ps(n, T));
    return _mm256_srai_epi32(_mm256_slli_epi32(_mm256_cvttps_epi32(r), 16), 16);
}

[[gnu::target("avx2")]] void TrainingStepsWide(uint16_t* pwSkills, const float* pfTargets, const float* pfPulls)
{
    for (int nFirst = 0; nFirst < kBlockTrained; nFirst += 8) {
        auto* pBlock = reinterpret_cast<__m128i*>(pwSkills + nFirst);
        const __m256i lanes = StepLanesWide(_mm256_cvtepu16_epi32(_mm_loadu_si128(pBlock)), pfTargets + nFirst,
                                            _mm256_loadu_ps(pfPulls + nFirst));
        _mm_storeu_si128(pBlock, _mm_packs_epi32(_mm256_castsi256_si128(lanes), _mm256_extracti128_si256(lanes, 1)));
    }
    StepTail(pwSkills, pfTargets, pfPulls);
}
#endif

// The week's steps: TrainingStep for each trained skill, four (or eight)
// skills to an instruction. pfTargets: the targets in hundredths,
// kTargetLanes of them.
void TrainingSteps(uint16_t* pwSkills, const float* pfTargets, const float* pfPulls)
{
#if defined(BRELLOX_WIDE_TRAINING_STEPS)
    // Every person steps every week: eight lanes where the processor has them.
    static const bool s_bWide = __builtin_cpu_supports("avx2");
    if (s_bWide)
        return TrainingStepsWide(pwSkills, pfTargets, pfPulls);
#endif
#if defined(__SSE2__)
    const __m128i none = _mm_setzero_si128();
    for (int nFirst = 0; nFirst < kBlockTrained; nFirst += 8) {
        auto* pBlock = reinterpret_cast<__m128i*>(pwSkills + nFirst);
        const __m128i skills = _mm_loadu_si128(pBlock);
        const __m128i low = StepLanes(_mm_unpacklo_epi16(skills, none), pfTargets + nFirst,
                                      _mm_loadu_ps(pfPulls + nFirst), none);
        const __m128i high = StepLanes(_mm_unpackhi_epi16(skills, none), pfTargets + nFirst + 4,
                                       _mm_loadu_ps(pfPulls + nFirst + 4), none);
        _mm_storeu_si128(pBlock, _mm_packs_epi32(low, high));
    }
    StepTail(pwSkills, pfTargets, pfPulls);
#else
    const auto stepOne = [&](int nAttribute) {
        pwSkills[nAttribute] = static_cast<uint16_t>(
            TrainingStepHundredths(pwSkills[nAttribute], pfTargets[nAttribute], pfPulls[nAttribute]));
    };
    for (int nAttribute = 0; nAttribute < kBlockTrained; ++nAttribute)
        stepOne(nAttribute);
    for (const int nAttribute : kLoneTrained)
        stepOne(nAttribute);
#endif
}

// Steps every trained attribute by the efforts given (the computer's plan
// for the position when null); returns the week's mean effort (its load).
float TrainAttributes(CPersonDatabase& person, const float* pafEfforts = nullptr)
{
    // Every target is read before the first step (Handling's own value is
    // its target outside goal).
    float afTargets[kTargetLanes];
    person.GetAttributeHundredthsForAge(person.GetAge() - PERSON_AGE_CURVE_FIRST_AGE, 0, kTargetLanes, afTargets);
    AttributePulls afPulls;
    const float* pafPulls = afPulls.data();
    float fLoad = 0.0f;
    if (pafEfforts) {
        afPulls.fill(0.0f);
        for (int nSlot = 0; nSlot < kTrainedCount; ++nSlot) {
            fLoad += pafEfforts[nSlot];
            afPulls[static_cast<size_t>(kTrained[nSlot])] =
                TrainingPull(pafEfforts[nSlot], CPlayerDatabase::s_fEffortThreshold, CPlayerDatabase::s_fEffortCap);
        }
        fLoad /= static_cast<float>(kTrainedCount);
    }
    else {
        const PlanPulls& plan = ComputerPlanPulls();
        pafPulls = plan.afPulls[static_cast<size_t>(Position(person))].data();
        fLoad = plan.afLoads[static_cast<size_t>(Position(person))];
    }
    TrainingSteps(person.m_awAttributes, afTargets, pafPulls);

    // A hard week tires an unfit player: morale pays the difference between
    // the load (on the whole-number scale) and his fitness.
    const float fOver = fLoad * 10.0f - static_cast<float>(person.m_awAttributes[PLAYER_ATTRIBUTE_FITNESS] / 100);
    if (fOver > 0.0f) {
        const int nFatigue = static_cast<int>(fOver * fOver * 0.1f * (fLoad * 0.5f));
        uint16_t& wMorale = person.m_awAttributes[PLAYER_ATTRIBUTE_MORALE];
        if (wMorale > kMinimumMorale)
            wMorale = static_cast<uint16_t>(std::max<int>(wMorale - nFatigue, kMinimumMorale));
    }
    return fLoad;
}

bool TrainingInjury(const CPersonDatabase& person)
{
    return plat::rand() % 20 == 0 &&
           plat::rand() % 100 + 1 < person.m_awAttributes[PLAYER_ATTRIBUTE_INJURYPRONE] / 100;
}

}  // namespace

int CPlayerDatabase::ApplyTrainingStep(int nCurrent, int nTarget, float fEffort, float fThreshold, float fCap)
{
    return TrainingStep(nCurrent, nTarget, TrainingPull(fEffort, fThreshold, fCap));
}

bool CPlayerDatabase::DevelopPlayer(bool bMatchWeek, bool bComputerClub)
{
    (void)bMatchWeek;
    if (IsInjured() && GetInjuryStatus(m_byInjuryType) == 2) {
        DevelopInjuredPlayer(true, GetAge() - PERSON_AGE_CURVE_FIRST_AGE);
        return false;
    }
    // A computer club trains on the default plan of the player's position; a
    // human's training manager gives each of his players his own.
    float afEfforts[kTrainedCount];
    TrainAttributes(*this, !bComputerClub && HumanEfforts(*this, false, afEfforts) ? afEfforts : nullptr);
    return TrainingInjury(*this);
}

bool CPlayerDatabase::DevelopYouth(CPersonDatabase& youth, bool bComputerClub)
{
    float afEfforts[kTrainedCount];
    TrainAttributes(youth, !bComputerClub && HumanEfforts(youth, true, afEfforts) ? afEfforts : nullptr);
    return TrainingInjury(youth);
}

void CPlayerDatabase::DevelopInjuredPlayer(bool bLive, int nAgeIndex)
{
    (void)bLive;
    // A club's physiotherapist keeps up some form in the first half of an
    // injury; a computer club counts as having none, so the player keeps
    // what he has (effort 0 is not a loss while the threshold is 0).
    float fEffort = 0.0f;
    constexpr int kPhysiotherapy = 0;
    if (const auto* pLast = static_cast<const INJURYENTRY*>(m_InjuryHistory.GetTail() ? m_InjuryHistory.GetTail()->pData
                                                                                        : nullptr)) {
        const CDate start(pLast->Date.wYear, pLast->Date.byMonth, pLast->Date.byDay);
        const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : start;
        if (today.DaysBetween(start) < pLast->wDays / 2)
            fEffort = kPhysiotherapy * 0.01f * s_fEffortCap;
    }
    int anTargets[PLAYER_ATTRIBUTE_COUNT];
    GetAttributesForAge(nAgeIndex, 0, anTargets);
    const float fPull = TrainingPull(fEffort, 0.0f, s_fEffortCap);
    // Without a pull (a computer club's week) the step only holds each skill
    // between a quarter of its target and the target.
    const bool bHeld = fPull == 0.0f && std::isfinite(s_fTrainingRate);
    for (int nSlot = 0; nSlot < kInjuredTrained; ++nSlot) {
        const int nAttribute = kTrained[nSlot];
        const int nCurrent = m_awAttributes[nAttribute];
        m_awAttributes[nAttribute] = static_cast<uint16_t>(
            bHeld ? HeldSkill(nCurrent, anTargets[nAttribute]) : TrainingStep(nCurrent, anTargets[nAttribute], fPull));
    }
}
