// The touch check of a loose ball: of the footballers whom the ball passed
// within reach in this tick, the one it came to first along its way takes
// it (or it glances off him). At a stoppage the restart's taker (or the
// player fetching the ball for him) picks it up this way.
#include "match/CMatchEngine.h"

#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/actors/CMatchPlayer.h"

void CMatchEngine::CheckLooseBallTouch()
{
    if (!m_pBall || m_pBall->GetHolder() || m_bReplaying)
        return;
    CMatchPlayer* pFirst = nullptr;
    int32_t nFirst = 0;
    for (CMatchClub* pClub : {m_pHomeClub.get(), m_pAwayClub.get()}) {
        if (!pClub)
            continue;
        for (int i = 0; i < pClub->GetOnPitchCount(); ++i) {
            CMatchPlayer* p = pClub->GetSlot(i);
            int32_t nAlong = 0;
            // At a stoppage only the player sent to fetch the ball for the
            // restart picks it up; the others leave it lying.
            const bool bFetching = p && (m_byMatchEvent == MATCHEVENT_NONE || p->GetSpecialRole() == ROLE_EVENT_PLAYER ||
                                        p->GetSpecialRole() == ROLE_FETCHER);
            if (bFetching && p->IsActive() && p->CanReachLooseBall(&nAlong) && (!pFirst || nAlong < nFirst))
                pFirst = p, nFirst = nAlong;
        }
    }
    if (pFirst)
        pFirst->TakeLooseBall();
}
