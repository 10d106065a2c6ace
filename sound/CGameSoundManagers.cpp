#include "sound/CGameSoundManagers.h"

#include "sound/CSoundManager.h"
#include "sound/SoundSystem.h"

#include <cstdio>

CGameSoundManagers::CGameSoundManagers(std::string musicFolder, std::string musicPattern)
    : m_MusicFolder(std::move(musicFolder)), m_MusicPattern(std::move(musicPattern))
{
}

CGameSoundManagers::~CGameSoundManagers()
{
    DeleteManagers();
}

bool CGameSoundManagers::StartSoundSystem()
{
    return ::StartSoundSystem("Miles");
}

void CGameSoundManagers::StopSoundSystem()
{
    DeleteManagers();
    ::StopSoundSystem();
}

bool CGameSoundManagers::ResumeSoundOutput()
{
    return ::ResumeSoundOutput();
}

bool CGameSoundManagers::SuspendSoundOutput()
{
    return ::SuspendSoundOutput();
}

bool CGameSoundManagers::CreateEffects(const char* pszLanguage, uint32_t dwEffectsVolume, UISOUNDIDS& ids)
{
    m_pEffects = std::make_unique<CSoundManager>(4, false, false, nullptr);
    if (!m_pEffects->Create()) {
        m_pEffects.reset();
        return false;
    }
    char szCommentary[128];
    std::snprintf(szCommentary, sizeof(szCommentary), "Sounds\\%s\\Sound53.wav", pszLanguage ? pszLanguage : "");
    m_pEffects->AddSound(szCommentary, ids.wCommentary, SOUND_TYPE_2D);
    m_pEffects->AddSound("Sounds\\FX\\Dissapointed.wav", ids.wDisappointment, SOUND_TYPE_2D);
    m_pEffects->AddSound("Sounds\\FX\\Icon.wav", ids.wIcon, SOUND_TYPE_2D);
    m_pEffects->AddSound("Sounds\\FX\\btnDown.wav", ids.wButton, SOUND_TYPE_2D);
    m_pEffects->SetAllVolumes(dwEffectsVolume);
    return true;
}

void CGameSoundManagers::StartMusicList(uint32_t dwMusicVolume)
{
    m_pMusic = std::make_unique<CSoundManager>(10, false, false, nullptr);
    if (m_pMusic->Create() && m_pMusic->LoadMusicList(m_MusicFolder.c_str(), m_MusicPattern.c_str()))
        m_pMusic->PlayMusic(dwMusicVolume);
}

void CGameSoundManagers::DeleteManagers()
{
    if (m_pMusic) {
        if (CStream* pTrack = m_pMusic->GetCurrentTrack(); pTrack && pTrack->IsPlaying())
            pTrack->End();
    }
    m_pMusic.reset();
    m_pEffects.reset();
}

bool CGameSoundManagers::PlayEffect(uint16_t wID)
{
    return m_pEffects && m_pEffects->Play(wID);
}

void CGameSoundManagers::SetEffectVolume(uint16_t wID, uint32_t dwVolume)
{
    if (m_pEffects)
        m_pEffects->SetVolume(wID, dwVolume);
}

void CGameSoundManagers::SetMusicVolume(uint32_t dwVolume)
{
    if (!m_pMusic)
        return;
    if (CStream* pTrack = m_pMusic->GetCurrentTrack(); pTrack && pTrack->IsPlaying())
        pTrack->SetVolume(dwVolume);
}
