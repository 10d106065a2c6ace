// The running statistics of a 3-D match, read from both clubs.
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "season/CRefereeDatabase.h"

#include <algorithm>

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

uint8_t ClampByte(int n)
{
    return static_cast<uint8_t>(std::clamp(n, 0, 255));
}

// One counter of each side; a side not built counts nothing.
template <typename F> void ReadBoth(const CMatchClub* pHome, const CMatchClub* pAway, uint8_t& byHome,
                                    uint8_t& byAway, F counter)
{
    byHome = pHome ? counter(pHome->GetCounters()) : 0;
    byAway = pAway ? counter(pAway->GetCounters()) : 0;
}

int SentOff(const CMatchClub* pClub)
{
    int n = 0;
    for (int i = 0; pClub && i < pClub->GetSquadCount(); ++i)
        if (const CMatchPlayer* p = pClub->GetPlayerBySquadIndex(i))
            n += p->GetRedCards() ? 1 : 0;
    return n;
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

void CMatchEngine::GetCorners(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway, [](const MATCHCLUBCOUNTERS& c) { return c.byCorners; });
}

void CMatchEngine::GetShootoutScore(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway,
             [](const MATCHCLUBCOUNTERS& c) { return c.byShootOutGoals; });
}

void CMatchEngine::GetShots(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway, [](const MATCHCLUBCOUNTERS& c) { return c.byShots; });
}

void CMatchEngine::GetShotsOnTarget(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway,
             [](const MATCHCLUBCOUNTERS& c) { return c.byShotsOnTarget; });
}

void CMatchEngine::GetFouls(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway, [](const MATCHCLUBCOUNTERS& c) { return c.byFouls; });
}

void CMatchEngine::GetPenaltiesAwarded(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway,
             [](const MATCHCLUBCOUNTERS& c) { return c.byPenaltiesAwarded; });
}

void CMatchEngine::GetPenaltyGoals(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway,
             [](const MATCHCLUBCOUNTERS& c) { return c.byPenaltyGoals; });
}

void CMatchEngine::GetFreeKicks(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway, [](const MATCHCLUBCOUNTERS& c) {
        return static_cast<uint8_t>(c.byFreeKicks + c.byDirectFreeKicks);
    });
}

void CMatchEngine::GetOffsides(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway, [](const MATCHCLUBCOUNTERS& c) { return c.byOffsides; });
}

void CMatchEngine::GetBookings(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway, [](const MATCHCLUBCOUNTERS& c) { return c.byBookings; });
}

void CMatchEngine::GetSubstitutions(uint8_t& byHome, uint8_t& byAway) const
{
    ReadBoth(m_pHomeClub.get(), m_pAwayClub.get(), byHome, byAway,
             [](const MATCHCLUBCOUNTERS& c) { return c.bySubstitutions; });
}

void CMatchEngine::GetRefereeTotals(uint8_t abyTotals[4]) const
{
    const CMatchClub* apClubs[2] = {m_pHomeClub.get(), m_pAwayClub.get()};
    int anTotals[4] = {};
    for (const CMatchClub* pClub : apClubs) {
        if (!pClub)
            continue;
        const MATCHCLUBCOUNTERS& c = pClub->GetCounters();
        anTotals[0] += c.byBookings;
        // The referee's record keeps sendings-off, not every player who
        // left the pitch, so an ordinary substitution does not count.
        anTotals[1] += SentOff(pClub);
        anTotals[2] += c.byFouls;
        anTotals[3] += c.byPenaltiesAwarded;
    }
    for (int i = 0; i < 4; ++i)
        abyTotals[i] = ClampByte(anTotals[i]);
}

void AddMatchTotalsToReferee(int nCompetition, CRefereeDatabase* pReferee)
{
    if (!pReferee)
        return;
    uint8_t abyTotals[4];
    g_MatchEngine.GetRefereeTotals(abyTotals);
    pReferee->AddMatchStatistics(nCompetition, abyTotals);
}
