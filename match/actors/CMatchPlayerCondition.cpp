// The footballer's condition through the match: fitness and stamina that
// running wears down and rest restores, an anger that provocation raises
// and time cools, a temper that anger wears away, a morale that good and
// bad moments move and that drifts back to the middle; the knock a
// challenge gives him (perhaps an injury that takes him off); and the team
// orders turned into the values his decisions read.
#include "match/actors/CMatchPlayer.h"

#include "common/DebugLog.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CAnimationLibrary.h"
#include "match/actors/CMatchReferee.h"
#include "platform/Random.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int32_t kMinStamina = 1500;
constexpr int kMaxMood = 999;

// Fitness change a second by speed grade (0 also when standing still) and
// stamina / 1000.
constexpr int kFitnessChange[10][10] = {
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
    {0, 1, 2, 3, 5, 4, 6, 7, 8, 9},
    {0, 0, 0, 2, 4, 6, 8, 5, 6, 7},
    {-5, -5, 0, 0, 0, 1, 2, 3, 4, 5},
    {-10, -10, -5, -5, 0, 0, 0, 0, 0, 0},
    {-10, -10, -10, -10, -5, -5, -5, -5, 0, 0},
    {-20, -20, -10, -10, -10, -10, -10, -10, -5, -5},
    {-30, -30, -20, -20, -20, -10, -10, -10, -10, -10},
    {-40, -40, -30, -30, -20, -20, -20, -20, -20, -20},
    {-50, -50, -40, -40, -30, -30, -30, -30, -30, -30},
};
constexpr int kStaminaChange[10] = {0, 0, 0, 0, -1, -1, -1, -2, -3, -3};

// Morale moments: the match-morale change by kind, and the steps a moment
// moves his morale by (offset by his match morale / 100).
constexpr int kMatchMoraleChange[10] = {1, 2, 3, 4, 5, 8, 11, 14, 17, 20};
constexpr int kMoraleSteps[19] = {10,  30,  50,  70,  90,  110, 130, 150, 200, 250,
                                  300, 350, 400, 450, 500, 550, 600, 650, 700};

// Anger a provocation of a kind (column) adds by temper / 100 (row).
constexpr int16_t kProvocation[10][10] = {
    {0, 5, 15, 40, 90, 140, 190, 240, 240, 240},
    {5, 15, 30, 80, 130, 180, 230, 280, 280, 280},
    {15, 30, 70, 120, 170, 220, 270, 320, 320, 320},
    {30, 60, 110, 160, 210, 260, 310, 360, 360, 360},
    {60, 100, 150, 200, 250, 300, 350, 400, 400, 400},
    {100, 140, 190, 240, 290, 340, 390, 440, 440, 440},
    {140, 180, 230, 280, 330, 380, 430, 480, 480, 480},
    {180, 220, 270, 320, 370, 420, 470, 520, 520, 520},
    {220, 260, 310, 360, 410, 460, 510, 560, 560, 560},
    {260, 300, 350, 400, 450, 500, 550, 600, 600, 600},
};
// How much a change of anger (column: |change| / 100) wears his temper (row).
constexpr int16_t kTemperWear[10][10] = {
    {0, 0, 0, 0, 0, 0, 0, 1, 1, 2},
    {0, 0, 0, 0, 0, 0, 0, 1, 1, 2},
    {0, 0, 0, 0, 0, 0, 1, 1, 2, 3},
    {0, 0, 0, 0, 0, 1, 1, 2, 3, 4},
    {0, 0, 0, 0, 1, 1, 2, 3, 4, 5},
    {0, 0, 0, 1, 1, 2, 3, 4, 5, 6},
    {0, 0, 1, 1, 2, 3, 4, 5, 6, 7},
    {0, 1, 1, 2, 3, 4, 5, 6, 7, 8},
    {1, 1, 2, 3, 4, 5, 6, 7, 8, 9},
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
};

// Injury proneness a substitute gains by two-minute steps of warming up.
constexpr int kWarmUpProneness[10] = {18, 16, 14, 12, 10, 8, 6, 4, 2, 0};
constexpr uint32_t kWarmUpStep = 120000;
constexpr uint8_t kDecisionWarmUp = 18;

// The knock: an injury needs this chance, and a side keeps at least this
// many players before anybody more is hurt.
constexpr int kInjuryChance = 50;
constexpr int kFewestForInjury = 8;
constexpr int kInjuryKinds = 7;
constexpr uint8_t kFallMoving = 39;
constexpr uint8_t kFallStanding = 41;
constexpr uint8_t kEventInjury = 31;

int Row(int nValue)
{
    return std::clamp(nValue / 100, 0, 9);
}

}  // namespace

void CMatchPlayer::AddFitness(int32_t nAmount)
{
    m_nFitness = std::clamp(m_nFitness + nAmount, kMinFitness, kMaxFitness);
}

void CMatchPlayer::AddStamina(int32_t nAmount)
{
    m_nStamina += nAmount;
    if (m_nStamina > m_nStaminaCap)
        m_nStamina = m_nStaminaCap;
    // The floor comes last, so that a cap below it still leaves 1500.
    if (m_nStamina < kMinStamina)
        m_nStamina = kMinStamina;
}

void CMatchPlayer::UpdateFitness()
{
    const int c = std::clamp(m_nStamina / 1000, 0, 9);
    if (m_vVelocity.x == 0 && m_vVelocity.y == 0) {
        AddFitness(kFitnessChange[0][c]);
        return;
    }
    const int g = std::clamp<int>(m_bySpeedGrade, 0, 9);
    AddFitness(kFitnessChange[g][c]);
    AddStamina(kStaminaChange[g]);
}

void CMatchPlayer::CoolAnger()
{
    m_nAnger = std::max(0, m_nAnger - (15 - std::clamp<int>(m_wTemper, 0, kMaxMood) / 100));
}

void CMatchPlayer::UpdateMorale()
{
    const int r = Row(m_nMatchMorale);
    const int c = Row(m_nMorale);
    m_nMorale += c <= 4 ? r + 1 : -(10 - r);
    if (m_nMorale < 1)
        m_nMorale = 0;
    else if (m_nMorale >= kMaxMood)
        m_nMorale = kMaxMood;
}

void CMatchPlayer::ApplyPositiveEvent(int nKind)
{
    const int k = std::clamp(nKind, 0, 9);
    const int r = Row(m_nMatchMorale);
    m_nMorale = std::min(kMaxMood, m_nMorale + kMoraleSteps[r + k]);
    m_nMatchMorale = std::min(kMaxMood, m_nMatchMorale + kMatchMoraleChange[k]);
}

void CMatchPlayer::ApplyNegativeEvent(int nKind)
{
    const int k = std::clamp(nKind, 0, 9);
    const int r = Row(m_nMatchMorale);
    m_nMorale = std::max(0, m_nMorale - kMoraleSteps[9 - r + k]);
    m_nMatchMorale = std::max(0, m_nMatchMorale - kMatchMoraleChange[k]);
}

void CMatchPlayer::Provoke(int nKind, CMatchPerson* pProvoker)
{
    AdjustAnger(kProvocation[Row(m_wTemper)][std::clamp(nKind, 0, 9)]);
    m_pProvoker = pProvoker;
}

void CMatchPlayer::AdjustAnger(int16_t nAmount)
{
    const int c = std::min(std::abs(int(nAmount)) / 100, 9);
    m_nAnger = std::clamp(m_nAnger + nAmount, 0, kMaxMood);
    // Calming down wears a calm temper most, flaring up a fiery one.
    const int r = nAmount >= 0 ? Row(m_wTemper) : Row(1000 - m_wTemper);
    AddTemper(int16_t(-kTemperWear[r][c]));
}

void CMatchPlayer::AddTemper(int16_t nAmount)
{
    m_wTemper = uint16_t(std::clamp(int(m_wTemper) + nAmount, 0, kMaxMood));
}

uint32_t CMatchPlayer::GetWarmUpTime() const
{
    return m_byDecision == kDecisionWarmUp ? m_Engine.GetEngineClock() - m_dwWarmUpStart : 0;
}

void CMatchPlayer::ApplyWarmUpBonus()
{
    const int nGrade = int(std::min<uint32_t>(GetWarmUpTime() / kWarmUpStep, 9));
    m_abyRatings[RATING_INJURY_PRONENESS] = uint8_t(m_abyRatings[RATING_INJURY_PRONENESS] + kWarmUpProneness[nGrade]);
}

bool CMatchPlayer::TakeChallenge(int32_t nForce, uint32_t dwFallTime)
{
    const int32_t nExcess = nForce - m_abyRatings[RATING_STRENGTH] / 2;
    if (nExcess <= 0)
        return false;
    AddFitness(-nExcess);
    AddStamina(-nExcess / 10);
    const int32_t nStamina = std::max<int32_t>(m_nStamina, 1);
    const int64_t b = int64_t(m_abyRatings[RATING_INJURY_PRONENESS] / 2) * m_nStaminaCap / nStamina;
    // Kept within a byte without wrapping, so that a harder knock never seems harmless.
    const int64_t nChance = std::min<int64_t>(b * nExcess / 100, 255);
    if (nChance <= kInjuryChance || m_pClub->GetOnPitchCount() < kFewestForInjury || m_bInjured)
        return true;
    // Injured: he goes down.
    if (m_byAction != ACTION_KICKING) {
        SetAction(ACTION_FALLING_OVER);
        const bool bMoving = !CAnimationLibrary::IsStandingMoveType(m_byMoveType);
        if (SelectActionOfMoveType(bMoving ? kFallMoving : kFallStanding) || SelectRandomAction(kFallStanding))
            FitAnimationToTime(dwFallTime);
    }
    const bool bMayPlayOn =
        !m_pRecord || (m_pRecord->DoInjury(plat::rand() % kInjuryKinds, true),
                       CPlayerDatabase::GetInjuryStatus(m_pRecord->m_byInjuryType) != 2);
    // The injury told to the match screen: 1 he plays on, 2 he is taken off.
    auto announce = [this](uint8_t byDetail) {
        ITEMMATCHEVENTINFORMATION& event = m_Engine.GetEventRecord();
        event.pPerson = this;
        event.dwMatchTime = m_Engine.GetEngineClock();
        event.dwGameTime = m_Engine.GetMatchTime();
        event.byEvent = kEventInjury;
        event.byDetail = byDetail;
        m_Engine.SendMatchEvent();
    };
    if (bMayPlayOn) {
        announce(1);
        return true;
    }
    // He cannot go on: play stops for him until he has left the pitch.
    m_bInjured = true;
    SetHeldForReferee(true);
    CMatchReferee* pReferee = m_Engine.GetReferee();
    if (pReferee && !pReferee->GetInjuredPlayer())
        pReferee->SetInjuredPlayer(this);
    if (m_pClub->GetSubstitutions() < CMatchClub::kSubstitutionLimit) {
        m_pClub->AddReviewFlags(CMatchClub::REVIEW_INJURY);
        const uint8_t byWish = m_pClub->FiveMinuteReview();
        if (byWish && pReferee) {
            pReferee->RequestSubstitution(m_pClub->IsHome() ? 0 : 1, byWish & 15, byWish >> 4);
            return true;
        }
        // Nobody on the bench can replace him: he leaves all the same.
    }
    m_pClub->TakePlayerOff(this);
    announce(2);
    return true;
}

namespace {

// Each order's log lines: a setting above 100 (kept all the same), and the value stored.
struct TACTICSLINES {
    const char* pszInvalid;
    const char* pszSetting;
};
constexpr TACTICSLINES kTacticsLines[TEAM_ORDERS] = {
    {"[CMatchPlayer::SetTacticsMatchUrgency] Invalid Setting: %d", "[CMatchPlayer::SetTacticsMatchUrgency] Setting: %d"},
    {"[CMatchPlayer::SetTacticsPassingDistance] Invalid Setting: %d",
     "[CMatchPlayer::m_ucTacticsPassingDistance] Setting: %d"},
    {"[CMatchPlayer::SetTacticsPassingDirection] Invalid Setting: %d",
     "[CMatchPlayer::m_ucTacticsPassingDirection] Setting: %d"},
    {"[CMatchPlayer::SetTacticsTacklingStrength] Invalid Setting: %d",
     "[CMatchPlayer::m_ucTacticsTacklingStrength] Setting: %d"},
    {"[CMatchPlayer::SetTacticsClearance] Invalid Setting: %d", "[CMatchPlayer::m_ucTacticsClearance] Setting: %d"},
    {"[CMatchPlayer::SetTacticsMarking] Invalid Setting: %d", "[CMatchPlayer::m_ucTacticsMarking] Setting: %d"},
    {"[CMatchPlayer::SetTacticsShooting] Invalid Setting: %d", "[CMatchPlayer::m_ucTacticsShooting] Setting: %d"},
    {"[CMatchPlayer::SetTacticsAdvance] Invalid Setting: %d", "[CMatchPlayer::m_ucTacticsAdvance] Setting: %d"},
};

// The value an order of 0..100 (or more) gives the decisions.
int TacticsValue(TEAMORDER byOrder, int v)
{
    switch (byOrder) {
    case ORDER_PASSING_DISTANCE:
    case ORDER_SHOOTING: return v / 4;
    case ORDER_PASSING_DIRECTION: return (v - 50) / 4 + 100;
    case ORDER_TACKLING_STRENGTH:
    case ORDER_CLEARANCE: return (v - 50) / 2 + 100;
    case ORDER_ADVANCE: return v / 2;
    default: return v;
    }
}

}  // namespace

void CMatchPlayer::StoreTeamOrder(TEAMORDER byOrder, uint8_t v)
{
    static constexpr uint8_t CMatchPlayer::*kStored[TEAM_ORDERS] = {
        &CMatchPlayer::m_ucTacticsMatchUrgency,     &CMatchPlayer::m_ucTacticsPassingDistance,
        &CMatchPlayer::m_ucTacticsPassingDirection, &CMatchPlayer::m_ucTacticsTacklingStrength,
        &CMatchPlayer::m_ucTacticsClearance,        &CMatchPlayer::m_ucTacticsMarking,
        &CMatchPlayer::m_ucTacticsShooting,         &CMatchPlayer::m_ucTacticsAdvance,
    };
    if (byOrder >= TEAM_ORDERS)
        return;
    // The raw order is kept beside the value it gives; both ways are logged.
    m_abyTeamOrders[byOrder] = v;
    if (v > 100)
        DebugLog(6, kTacticsLines[byOrder].pszInvalid, int(v));
    this->*kStored[byOrder] = uint8_t(TacticsValue(byOrder, v));
    DebugLog(6, kTacticsLines[byOrder].pszSetting, int(this->*kStored[byOrder]));
}

void CMatchPlayer::SetTeamOrder(TEAMORDER byOrder, uint8_t byValue)
{
    if (byOrder >= TEAM_ORDERS)
        return;
    StoreTeamOrder(byOrder, byValue);
    ApplyTeamInstructions();
}

void CMatchPlayer::ApplyTeamInstructions()
{
    // The passing direction is at least 88 for any order byte.
    const int nDirection = std::max<int>(m_ucTacticsPassingDirection, 1);
    m_abyInstructionWeights[WEIGHT_SHOOTING] = 12;
    m_abyInstructionWeights[WEIGHT_RUN] = 8;
    m_abyInstructionWeights[WEIGHT_CROSS] = 10;
    m_abyInstructionWeights[WEIGHT_CLEARANCE] = uint8_t(m_ucTacticsClearance * 3 / 100);
    m_abyInstructionWeights[WEIGHT_LONG_BALL] = uint8_t(8 * nDirection / 100);
    m_abyInstructionWeights[WEIGHT_PASS] = uint8_t(400 / nDirection);
}
