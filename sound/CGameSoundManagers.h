#pragma once
// The game object's sounds on the sound system: an effects manager with the
// four interface sounds and a music manager playing the "Music" folder.
#include "shell/CGameSounds.h"

#include <memory>
#include <string>

class CSoundManager;

class CGameSoundManagers : public CGameSounds {
public:
    // The folder of the music tracks and their pattern.
    explicit CGameSoundManagers(std::string musicFolder = ".\\Music\\", std::string musicPattern = "*.ogg");
    ~CGameSoundManagers() override;

    bool StartSoundSystem() override;
    void StopSoundSystem() override;
    bool ResumeSoundOutput() override;
    bool SuspendSoundOutput() override;
    bool CreateEffects(const char* pszLanguage, uint32_t dwEffectsVolume, UISOUNDIDS& ids) override;
    void StartMusicList(uint32_t dwMusicVolume) override;
    void DeleteManagers() override;
    bool HasEffects() const override { return m_pEffects != nullptr; }
    bool HasMusic() const override { return m_pMusic != nullptr; }
    bool PlayEffect(uint16_t wID) override;
    void SetEffectVolume(uint16_t wID, uint32_t dwVolume) override;
    void SetMusicVolume(uint32_t dwVolume) override;

    CSoundManager* GetEffects() const { return m_pEffects.get(); }
    CSoundManager* GetMusic() const { return m_pMusic.get(); }

private:
    std::string m_MusicFolder;
    std::string m_MusicPattern;
    std::unique_ptr<CSoundManager> m_pEffects;
    std::unique_ptr<CSoundManager> m_pMusic;
};
