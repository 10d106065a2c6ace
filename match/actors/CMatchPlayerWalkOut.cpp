// The footballer's walk-out: with the line-ups shown the players come out
// of the tunnel one after another before a kick-off, and the referee waits
// until each of them has reached his place.
#include "match/actors/CMatchPlayer.h"

namespace {

// Within this of the place he was sent to he has arrived.
constexpr int32_t kArrived = 100;

}  // namespace

void CMatchPlayer::UpdateWalkOut()
{
    if (!m_bWalkingOut)
        return;
    // Without a model (no 3-D view) nobody walks: he comes out straight to
    // his place.
    if (!GetModel()) {
        ResetToBasePosition();
        m_bWalkingOut = false;
        return;
    }
    // The kick-off's taker is out once he has the ball at his feet.
    if (m_bySpecialRole == ROLE_EVENT_PLAYER) {
        m_bWalkingOut = !m_bHasBall;
        return;
    }
    const bool bOnPitch =
        m_vPosition.x >= 0 && m_vPosition.x <= PITCH_LENGTH && m_vPosition.y >= 0 && m_vPosition.y <= PITCH_WIDTH;
    // A player told to hold where he stands is where he is wanted.
    if (bOnPitch && (!m_bRunningToTarget || m_vPosition.SquaredDistance2D(m_vTarget) < kArrived * kArrived))
        m_bWalkingOut = false;
}
