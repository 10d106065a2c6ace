#pragma once
// The ends of sounds, posted by the sound system's own thread as
// WM_UNINITIALISE_SOUND (the manager's instance id in wParam, the sound in lParam)
// and WM_UNINITIALISE_STREAM (the music manager whose track ended), and
// served on the main thread by the window procedure. The sound system
// registers its table of managers here while it runs.
#include "platform/Messages.h"

#include <cstdint>

class CSoundEndTable {
public:
    virtual ~CSoundEndTable() = default;
    // Number of manager slots; valid instance ids are below it.
    virtual uint32_t InstanceCount() const = 0;
    virtual bool HasManager(uint32_t dwInstanceID) const = 0;
    // Whether the sound still belongs to the manager in that slot: a late
    // record may name a slot that a newer manager has taken since.
    virtual bool OwnsSound(uint32_t dwInstanceID, const void* /*pSound*/) const { return HasManager(dwInstanceID); }
    virtual const char* SoundName(const void* pSound) const = 0;
    // Releases the finished sound's library handle; the sound stays in its manager.
    virtual void UninitialiseSound(void* pSound) = 0;
    // Ends the finished track and starts another at the same volume.
    virtual void PlayNextTrack(void* pMusicManager) = 0;
};

// Null while no sound system runs.
extern CSoundEndTable* g_pSoundEndTable;

void OnUninitialiseSound(plat::WPARAM wParam, plat::LPARAM lParam);
void OnUninitialiseStream(plat::LPARAM lParam);
