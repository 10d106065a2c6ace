// The touch check of a loose ball: of the footballers whom the ball passed
// within reach in this tick, the one it came to first along its way takes
// it (or it glances off him).
#include "match/CMatchEngine.h"

#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/actors/CMatchPlayer.h"

void CMatchEngine::CheckLooseBallTouch()
{
    if (!m_pBall || m_pBall->GetHolder() || m_byMatchEvent != MATCHEVENT_NONE || m_bReplaying)
        return;
    CMatchPlayer* pFirst = nullptr;
    int32_t nFirst = 0;
    for (CMatchClub* pClub : {m_pHomeClub.get(), m_pAwayClub.get()}) {
        if (!pClub)
            continue;
        for (int i = 0; i < pClub->GetOnPitchCount(); ++i) {
            CMatchPlayer* p = pClub->GetSlot(i);
            int32_t nAlong = 0;
            if (p && p->IsActive() && p->CanReachLooseBall(&nAlong) && (!pFirst || nAlong < nFirst))
                pFirst = p, nFirst = nAlong;
        }
    }
    if (pFirst)
        pFirst->TakeLooseBall();
}
