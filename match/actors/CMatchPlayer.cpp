#include "match/actors/CMatchPlayer.h"

#include "database/CClubDatabase.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTenthModifiers[10] = {-10, -7, -4, -2, -1, 0, 2, 4, 7, 10};
constexpr int32_t kKickBaseVertical[KICK_KINDS] = {1100, 200, 300, 600, 1200};
constexpr int32_t kKickStrengthWeight[KICK_KINDS] = {400, 400, 300, 400, 600};
constexpr int32_t kKickBaseSpeed[KICK_KINDS] = {1600, 600, 300, 700, 1800};
constexpr int32_t kGravity = 981;

}  // namespace

const CVector CMatchPlayer::kReferencePoints[5] = {
    {10000, 0, 0}, {10000, 7500, 0}, {5000, 3750, 0}, {5000, 0, 0}, {5000, 7500, 0}};
const CVector CMatchPlayer::kKickOffOffsets[11] = {
    {0, 0, 0},      {0, 150, 0},     {0, -150, 0},    {150, 0, 0},    {-150, 0, 0},  {100, 100, 0},
    {-100, 100, 0}, {-100, -100, 0}, {100, -100, 0},  {-170, 170, 0}, {170, -170, 0}};
const CVector CMatchPlayer::kShotAimOffsets[3] = {{0, 240, 0}, {0, -240, 0}, {0, 0, 0}};

int CMatchPlayer::GetTenthModifier(int nValue)
{
    return kTenthModifiers[std::clamp(nValue / 10, 0, 9)];
}

uint8_t CMatchPlayer::ClampRating(int nValue)
{
    return uint8_t(nValue < 1 ? 1 : nValue >= 99 ? 98 : nValue);
}

KICKENTRY CMatchPlayer::MakeKickEntry(int nKind, int nStrength)
{
    KICKENTRY entry;
    const int32_t nStrengthPart = int32_t(nStrength * 0.01 * kKickStrengthWeight[nKind]);
    entry.nMaxVerticalSpeed = kKickBaseVertical[nKind] + nStrengthPart;
    entry.nKickSpeed = kKickBaseSpeed[nKind] + nStrengthPart;
    // Whole seconds in the air, then the distance covered at the kick speed.
    entry.nMaxRange = int32_t((2 * entry.nMaxVerticalSpeed / kGravity) * entry.nKickSpeed * 1.5);
    return entry;
}

CMatchPlayer::CMatchPlayer(CPlayerDatabase* pRecord, uint8_t bySquadPosition, int nMatchKind, CMatchClub* pClub)
    : CMatchPerson(pClub->GetEngine(), PERSONTYPE_FOOTBALLER), m_pRecord(pRecord), m_pClub(pClub),
      m_bySquadPosition(bySquadPosition), m_byStartingSquadPosition(bySquadPosition)
{
    if (bySquadPosition >= 11) {
        m_bySpecialRole = ROLE_BENCH;
        SetDecision(DECISION_SUBSTITUTE_BENCH);
        m_bTookPart = false;
        m_bAvailableSubstitute = true;
        SetBasePosition(pClub->GetBenchSeat(bySquadPosition));
    } else {
        m_bySpecialRole = ROLE_NONE;
        SetDecision(DECISION_POSITION_BASE);
        m_bTookPart = true;
    }
    DeriveRatings();
    for (int k = 0; k < KICK_KINDS; ++k)
        m_aKicks[k] = MakeKickEntry(k, m_abyRatings[RATING_STRENGTH]);
    m_nCurrentKickSpeed = m_aKicks[0].nKickSpeed;
    DeriveCondition(nMatchKind);
    CreateMarker();
}

uint8_t CMatchPlayer::GetNaturalPosition() const
{
    return m_pRecord ? m_pRecord->m_byRole : 0;
}

void CMatchPlayer::DeriveRatings()
{
    auto attribute = [this](PLAYER_ATTRIBUTE a) {
        const int n = m_pRecord ? m_pRecord->m_awAttributes[a] / 100 : 0;
        return n < 1 ? 1 : n;
    };
    uint8_t* r = m_abyRatings;
    r[RATING_INTELLIGENCE] = uint8_t(attribute(PLAYER_ATTRIBUTE_INTELLIGENCE));
    r[RATING_PACE] = uint8_t(attribute(PLAYER_ATTRIBUTE_PACE));
    r[RATING_CONFIDENCE] = uint8_t(attribute(PLAYER_ATTRIBUTE_CONFIDENCE));
    r[RATING_AGILITY] = uint8_t(attribute(PLAYER_ATTRIBUTE_AGILITY));
    r[RATING_INJURY_PRONENESS] = uint8_t(attribute(PLAYER_ATTRIBUTE_INJURYPRONE));
    r[RATING_GREED] = uint8_t(attribute(PLAYER_ATTRIBUTE_GREED));
    r[RATING_STRENGTH] = uint8_t(attribute(PLAYER_ATTRIBUTE_STRENGTH));
    r[RATING_DRIBBLING] = uint8_t(attribute(PLAYER_ATTRIBUTE_DRIBBLING));
    r[RATING_HANDLING] = uint8_t(attribute(PLAYER_ATTRIBUTE_HANDLING));
    r[RATING_HEADING] = uint8_t(attribute(PLAYER_ATTRIBUTE_HEADING));
    r[RATING_PASSING] = uint8_t(attribute(PLAYER_ATTRIBUTE_PASSING));
    r[RATING_SHOOTING] = uint8_t(attribute(PLAYER_ATTRIBUTE_SHOOTING));
    r[RATING_TACKLING] = uint8_t(attribute(PLAYER_ATTRIBUTE_TACKLING));
    r[RATING_DEFENSIVE_READING] = uint8_t((r[RATING_TACKLING] + r[RATING_INTELLIGENCE]) / 2);
    r[RATING_PASS_VISION] = uint8_t((r[RATING_PASSING] + r[RATING_INTELLIGENCE]) / 4 + 50);
    r[RATING_SHOT_VISION] = uint8_t((r[RATING_SHOOTING] + r[RATING_INTELLIGENCE]) / 4 + 50);

    const int nConfidence = GetTenthModifier(r[RATING_CONFIDENCE]);
    const int nBoth = nConfidence + GetTenthModifier(r[RATING_AGILITY]);
    r[RATING_STRENGTH_IN_PLAY] = ClampRating(r[RATING_STRENGTH]);
    r[RATING_DRIBBLING_IN_PLAY] = ClampRating(r[RATING_DRIBBLING] + nBoth);
    r[RATING_HANDLING_IN_PLAY] = ClampRating(r[RATING_HANDLING] + nBoth);
    r[RATING_HEADING_IN_PLAY] = ClampRating(r[RATING_HEADING] + nBoth);
    r[RATING_PASSING_IN_PLAY] = ClampRating(r[RATING_PASSING] + nBoth);
    r[RATING_SHOOTING_IN_PLAY] = ClampRating(r[RATING_SHOOTING] + nBoth);
    r[RATING_TACKLING_IN_PLAY] = ClampRating(r[RATING_TACKLING] + nBoth);
    r[RATING_PASS_VISION_IN_PLAY] = ClampRating(r[RATING_PASS_VISION] + nConfidence);
    r[RATING_SHOT_VISION_IN_PLAY] = ClampRating(r[RATING_SHOT_VISION] + nConfidence);
    std::copy(r + RATING_STRENGTH_IN_PLAY, r + RATING_COUNT, m_abyBaseInPlay);
    m_nRunningSpeed = r[RATING_PACE] + 300;
}

void CMatchPlayer::DeriveCondition(int nMatchKind)
{
    const int nFitness = m_pRecord ? m_pRecord->m_awAttributes[PLAYER_ATTRIBUTE_FITNESS] : 0;
    m_nFitness = kMaxFitness;
    m_nStamina = nFitness / 100 * 100;
    m_nStaminaCap = std::max(1, m_nStamina);
    const int nAggression = m_pRecord ? m_pRecord->m_awAttributes[PLAYER_ATTRIBUTE_AGGRESSION] / 100 * 10 : 0;
    m_wAggression = uint16_t(nAggression);
    m_wTemper = uint16_t(std::max(1, nAggression));
    m_nAnger = 0;
    int nMatchMorale = 0;
    if (m_pRecord)
        nMatchMorale = m_pRecord->GetMatchMorale(nMatchKind, m_Engine.GetHomeClubRecord(), m_Engine.GetAwayClubRecord());
    m_nMatchMorale = std::max(1, nMatchMorale * 10);
    m_nMorale = kStartMorale;
}

void CMatchPlayer::ApplyFormToRatings(int nForm)
{
    const int nModifier = kTenthModifiers[std::clamp(nForm / 100, 0, 9)];
    for (int i = 0; i < IN_PLAY_RATINGS; ++i)
        m_abyRatings[RATING_STRENGTH_IN_PLAY + i] = ClampRating(m_abyBaseInPlay[i] + nModifier);
}

void CMatchPlayer::GetPaceAttributes(int32_t* pnFirst, int32_t* pnMean) const
{
    *pnFirst = m_abyRatings[RATING_PACE];
    *pnMean = (m_abyRatings[RATING_PACE] + m_abyRatings[RATING_AGILITY]) / 2;
}

void CMatchPlayer::UpdateBasePosition()
{
    // In open play his place slides between where the shape stands without
    // the ball and with it, as far as his side is on top, and stays onside.
    if (m_bySpecialRole == ROLE_NONE && m_bFormationInterpolated && m_Engine.GetMatchEvent() == MATCHEVENT_NONE)
        m_vBasePosition = m_pClub->GetPosInPlayArea(GetFormationPlace(m_pClub->GetThreatBias()));
    SetTarget(m_vBasePosition, kNoFacing);
}

void CMatchPlayer::ReceiveBooking()
{
    if (m_byYellowCards++ == 0)
        m_pClub->GetCounters().byBookings++;
}

void CMatchPlayer::SendOff()
{
    ++m_byRedCards;
    m_pClub->CompleteSubstitution(this);
}
