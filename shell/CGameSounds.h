#pragma once
// The game object's sounds: the sound system's start and end, an effects
// manager with the interface sounds and a music manager with the play list.
// The sound folder comes after the shell, so it provides them through this
// interface and the program installs them; without them the game is silent.
#include <cstdint>

// Ids of the interface sounds in the effects manager.
struct UISOUNDIDS {
    uint16_t wCommentary = 0;
    uint16_t wDisappointment = 0;
    uint16_t wIcon = 0;
    uint16_t wButton = 0;
};

class CGameSounds {
public:
    virtual ~CGameSounds() = default;

    virtual bool StartSoundSystem() = 0;
    virtual void StopSoundSystem() = 0;
    virtual bool ResumeSoundOutput() = 0;
    virtual bool SuspendSoundOutput() = 0;

    // Makes the effects manager with the interface sounds of the language at
    // the effects volume (false without one), and the music manager, whose
    // play list starts at the music volume.
    virtual bool CreateEffects(const char* pszLanguage, uint32_t dwEffectsVolume, UISOUNDIDS& ids) = 0;
    virtual void StartMusicList(uint32_t dwMusicVolume) = 0;
    // Ends the playing track and deletes the music manager, then the effects one.
    virtual void DeleteManagers() = 0;
    virtual bool HasEffects() const = 0;
    virtual bool HasMusic() const = 0;

    virtual bool PlayEffect(uint16_t wID) = 0;
    virtual void SetEffectVolume(uint16_t wID, uint32_t dwVolume) = 0;
    // The current track, when it is playing.
    virtual void SetMusicVolume(uint32_t dwVolume) = 0;
};

// Installed by the program before the game starts; null: no sound.
extern CGameSounds* g_pGameSounds;
