// The crowd of a match: its excitement E and mood M (0-2 each) move with the
// events the match screen passes on, pick the reactions heard, and every
// five minutes of match time the background of chants and shouts is renewed
// for the score and the time. Every sound is recorded in the crowd-sound
// ring so that a replay repeats it. The rain or snow of the match's weather
// falls over the view.
#include "match/CMatchEngine.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "match/CCrowdSounds.h"
#include "match/CMatchClub.h"
#include "platform/Random.h"
#include "sound/CSoundManager.h"

namespace {

bool IsNoSample(uint16_t wID)
{
    return wID == CCrowdSounds::kNoSample || wID == 9999;
}

}  // namespace

bool CMatchEngine::IsHomeGround() const
{
    return m_pHomeClubRecord && m_pGround && m_pGround == m_pHomeClubRecord->GetGround();
}

bool CMatchEngine::IsCrowdSide(const CMatchClub* pClub) const
{
    return !IsHomeGround() || (pClub && pClub->IsHome());
}

bool CMatchEngine::LoadCrowdSounds()
{
    m_pCrowdSounds = std::make_unique<CCrowdSounds>();
    if (m_pCrowdSoundManager && m_pCrowdSounds->Load(kCrowdListFile, kCrowdArchive, *m_pCrowdSoundManager))
        return true;
    DebugLog(6, "[CMatchEngine::StartGame] Crowd sounds not loaded: no crowd");
    m_pCrowdSounds.reset();
    m_pCrowdSoundManager.reset();
    m_bCrowdSoundsOn = false;
    return false;
}

void CMatchEngine::StartCrowdLoop()
{
    if (m_pCrowdSoundManager && m_pCrowdSounds && !IsNoSample(m_pCrowdSounds->GetLoopID()))
        m_pCrowdSoundManager->PlayLooped(m_pCrowdSounds->GetLoopID());
}

bool CMatchEngine::QueueCrowdSound(int nCategory, uint32_t dwDelay)
{
    if (!m_bCrowdSoundsOn || !m_pCrowdSounds)
        return false;
    CheckAtmosphere();
    const uint16_t wSample = m_pCrowdSounds->GetRandomSample(nCategory);
    if (IsNoSample(wSample))
        return false;
    if (m_pCrowdSoundRing)
        *m_pCrowdSoundRing->Write(m_dwEngineClock) = CROWDSOUNDRECORD{wSample, dwDelay};
    if (!m_bSoundOn || !m_pCrowdSoundManager)
        return false;
    const uint32_t dwDue = m_dwEngineClock + dwDelay;
    if (!m_pCrowdSoundManager->PlayIfDue(wSample, m_dwEngineClock, dwDue))
        m_pCrowdSoundManager->QueuePrioritySound(wSample, dwDue);
    return true;
}

void CMatchEngine::PlayCrowdSound(int nCategory)
{
    if (!m_bCrowdSoundsOn || !m_pCrowdSounds)
        return;
    const uint16_t wSample = m_pCrowdSounds->GetRandomSample(nCategory);
    if (IsNoSample(wSample))
        return;
    if (m_pCrowdSoundRing)
        *m_pCrowdSoundRing->Write(m_dwEngineClock) = CROWDSOUNDRECORD{wSample, 0};
    if (m_bSoundOn && m_pCrowdSoundManager)
        m_pCrowdSoundManager->Play(wSample);
}

void CMatchEngine::PlayCrowdReaction(CMatchClub* pClub, int nCode)
{
    if (!m_bSoundOn || !m_pCrowdSoundManager || !m_pCrowdSounds)
        return;
    const bool bCrowdSide = IsCrowdSide(pClub);
    const int e = int(m_dwCrowdExcitement) + 1;
    const int m = int(m_dwCrowdMood) + 1;
    switch (nCode) {
    case 9:
    case 16:
        if (!bCrowdSide)
            break;
        if (m_dwCrowdExcitement > 0) {
            if (plat::rand() % (5 * e) != 0)
                QueueCrowdSound(CROWDSOUND_CROWDUNHAPPY, 0);
        } else if (m_dwCrowdMood < 2) {
            QueueCrowdSound(CROWDSOUND_CROWDANGRY, 0);
        }
        break;
    case 22:
        // m x e is at most 9, so the home divisor stays at least 1.
        if (plat::rand() % (bCrowdSide ? 10 - m * e : 10 * m * e) != 0)
            QueueCrowdSound(CROWDSOUND_CROWDNOISE, 0);
        break;
    case 27:
        if (!bCrowdSide)
            break;
        if (m_dwCrowdExcitement == 2 || (m_dwCrowdExcitement == 1 && plat::rand() % (5 * m) != 0))
            QueueCrowdSound(CROWDSOUND_BREAKDOWN, 0);
        break;
    default:
        break;
    }
}

void CMatchEngine::MoveCrowdMood(bool bCrowdSide, int nCode, uint32_t& E, uint32_t& M)
{
    switch (nCode) {
    case 7:
    case 17:
        if (bCrowdSide) {
            if (E < 2)
                ++E;
            else
                M = 2;
        } else if (E > 0) {
            --E;
        } else {
            M = 0;
        }
        break;
    case 13:
    case 29:
        if (bCrowdSide) {
            if (E > 0)
                E = 2, M = 2;
            else
                E = 1, M = 1;
        } else {
            if (E > 0)
                --E;
            M = 0;
        }
        break;
    case 21:
        if (!bCrowdSide) {
            if (M > 0)
                --M;
        } else if (E == 2) {
            if (M == 0)
                M = 1;
        } else if (E == 0) {
            if (M < 2)
                ++M;
            else
                E = 1, M = 1;
        }
        break;
    case 23:
    case 25:
        if (bCrowdSide && M < 2 && E < 2)
            ++E, M = 0;
        break;
    default:
        break;
    }
}

void CMatchEngine::UpdateCrowdMood(CMatchClub* pClub, int nCode)
{
    if (!m_bSoundOn || !m_pCrowdSoundManager || !m_pCrowdSounds)
        return;
    uint32_t E = m_dwCrowdExcitement, M = m_dwCrowdMood;
    MoveCrowdMood(IsCrowdSide(pClub), nCode, E, M);
    SetCrowdState(E, M);
}

void CMatchEngine::GetAtmosphere(uint32_t t, bool bAhead, bool bFavoured, int nSupporters, uint32_t& E, uint32_t& M)
{
    if (t < 900000) {
        if (bAhead)
            E = 2, M = bFavoured ? 2 : 1;
        else
            E = 0, M = 0;
    } else if (t <= 2700000) {
        if (!bAhead && !bFavoured)
            E = 0, M = 0;
        else if (bAhead && bFavoured)
            E = 2, M = 0;
        else
            E = 1, M = 1;
    } else if (t <= 3600000) {
        if (!bAhead)
            E = 1, M = 0;
        else if (!bFavoured)
            E = 1, M = 2;
        else
            E = 2, M = 0;
    } else if (!bAhead) {
        if (bFavoured)
            E = 1, M = 0;
        else if (nSupporters >= 30)
            E = 0, M = 0;
        else
            E = 0, M = 2;
    } else {
        E = 2, M = bFavoured ? 2 : 0;
    }
}

void CMatchEngine::CheckAtmosphere()
{
    const uint32_t dwSlot = m_dwMatchTime / kFiveMinutes;
    if (m_byLastAtmosphereSlot != 255 && dwSlot <= m_byLastAtmosphereSlot)
        return;
    DebugLog(0, "Five mins - Checking for atmosperic sounds");
    m_byLastAtmosphereSlot = uint8_t(dwSlot < 254 ? dwSlot : 254);
    if (m_bReplaying || !m_bSoundOn || !m_pCrowdSoundManager || !m_pCrowdSounds)
        return;
    m_pCrowdSoundManager->CleanSoundChain(m_dwEngineClock);
    uint8_t byHome = 0, byAway = 0;
    GetScore(byHome, byAway);
    const bool bHomeGround = IsHomeGround();
    const int nSupporters = m_pHomeClubRecord ? m_pHomeClubRecord->GetSupportLevel() : 0;
    const bool bAhead = !bHomeGround || byHome >= byAway;
    const bool bFavoured = !bHomeGround || m_bHomeCrowdFavoured || nSupporters > 50;
    uint32_t E = 1, M = 1;
    GetAtmosphere(m_dwMatchTime, bAhead, bFavoured, nSupporters, E, M);
    SetCrowdState(E, M);
}

void CMatchEngine::SetCrowdState(uint32_t dwExcitement, uint32_t dwMood)
{
    m_dwCrowdExcitement = dwExcitement;
    m_dwCrowdMood = dwMood;
    if (!m_pCrowdSoundManager || !m_pCrowdSounds)
        return;
    const int nSamples = dwMood == 0 ? 2 : dwMood == 1 ? 6 : 15;
    for (int i = 0; i < nSamples; ++i) {
        const int r = plat::rand();
        int nCategory = CROWDSOUND_SHOUTS;
        if (dwExcitement == 0) {
            const int anAngry[3] = {CROWDSOUND_SHOUTS, CROWDSOUND_CROWDANGRY, CROWDSOUND_CROWDUNHAPPY};
            nCategory = anAngry[r % 3];
        } else if (dwExcitement == 1) {
            nCategory = r % 2 ? CROWDSOUND_RANDOMEVENTS : CROWDSOUND_SHOUTS;
        } else {
            nCategory = r % 2 ? CROWDSOUND_RANDOMEVENTS : CROWDSOUND_CHANTS;
        }
        const uint16_t wSample = m_pCrowdSounds->GetRandomSample(nCategory);
        if (IsNoSample(wSample))
            continue;
        const uint32_t dwHandle = m_pCrowdSoundManager->ScheduleSound(wSample, m_dwEngineClock, 0);
        if (m_pCrowdSoundRing)
            *m_pCrowdSoundRing->Write(m_dwEngineClock) = CROWDSOUNDRECORD{wSample, dwHandle};
    }
}

void CMatchEngine::DrawPrecipitation(plat::Surface& target, bool bTurning)
{
    const plat::Rect view = {m_ViewRect.nLeft, m_ViewRect.nTop, m_ViewRect.nRight, m_ViewRect.nBottom};
    m_Precipitation.Draw(target, view, m_dwEngineClock, bTurning);
}
