// The running statistics of a 3-D match, read from both clubs.
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"

namespace {

int HomeShare(int32_t nHome, int32_t nAway)
{
    if (nHome <= 0 && nAway <= 0)
        return 50;
    if (nAway <= 0)
        return 100;
    if (nHome <= 0)
        return 0;
    return static_cast<int>(static_cast<int64_t>(nHome) * 100 / (static_cast<int64_t>(nHome) + nAway));
}

}  // namespace

void CMatchEngine::GetScore(uint8_t& byHome, uint8_t& byAway) const
{
    byHome = m_pHomeClub ? m_pHomeClub->GetGoals() : 0;
    byAway = m_pAwayClub ? m_pAwayClub->GetGoals() : 0;
}

int CMatchEngine::GetPossessionPercent() const
{
    if (!m_pHomeClub || !m_pAwayClub)
        return 50;
    return HomeShare(m_pHomeClub->GetPossessionSeconds(), m_pAwayClub->GetPossessionSeconds());
}

int CMatchEngine::GetTerritoryPercent() const
{
    if (!m_pHomeClub || !m_pAwayClub)
        return 50;
    return HomeShare(m_pHomeClub->GetTerritorySeconds(), m_pAwayClub->GetTerritorySeconds());
}
