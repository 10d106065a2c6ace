#include "shell/SoundEndMessages.h"

#include "common/DebugLog.h"


CSoundEndTable* g_pSoundEndTable = nullptr;

void OnUninitialiseSound(plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (!g_pSoundEndTable)
        return;
    void* pSound = reinterpret_cast<void*>(lParam);
    if (!pSound) {
        DebugLog(0, "[Main] WM_UNINITIALISE_SOUND without a sound");
        return;
    }
    if (wParam >= g_pSoundEndTable->InstanceCount()) {
        DebugLog(0, "[Main] WM_UNINITIALISE_SOUND : CSoundManager Instance ID too big!");
        return;
    }
    const auto dwInstanceID = uint32_t(wParam);
    if (!g_pSoundEndTable->OwnsSound(dwInstanceID, pSound))
        return;
    DebugLog(0, "[Main] WM_UNINITIALISE_SOUND %s", g_pSoundEndTable->SoundName(pSound));
    g_pSoundEndTable->UninitialiseSound(pSound);
}

void OnUninitialiseStream(plat::LPARAM lParam)
{
    if (!g_pSoundEndTable)
        return;
    void* pManager = reinterpret_cast<void*>(lParam);
    if (!pManager) {
        DebugLog(0, "[Main] WM_UNINITIALISE_STREAM without a music manager");
        return;
    }
    g_pSoundEndTable->PlayNextTrack(pManager);
}
