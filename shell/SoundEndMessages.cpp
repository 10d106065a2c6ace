#include "shell/SoundEndMessages.h"

#include "common/DebugLog.h"

#include <memory>

CSoundEndTable* g_pSoundEndTable = nullptr;

void OnUninitialiseSound(plat::LPARAM lParam)
{
    // The record was made for this message alone: it is freed whatever its fate.
    std::unique_ptr<SOUNDENDRECORD> pRecord(reinterpret_cast<SOUNDENDRECORD*>(lParam));
    if (!g_pSoundEndTable)
        return;
    if (!pRecord) {
        DebugLog(0, "[Main] WM_UNINITIALISE_SOUND without a record");
        return;
    }
    if (pRecord->dwInstanceID >= g_pSoundEndTable->InstanceCount()) {
        DebugLog(0, "[Main] WM_UNINITIALISE_SOUND : CSoundManager Instance ID too big!");
        return;
    }
    if (!pRecord->pSound || !g_pSoundEndTable->OwnsSound(pRecord->dwInstanceID, pRecord->pSound))
        return;
    DebugLog(0, "[Main] WM_UNINITIALISE_SOUND %s", g_pSoundEndTable->SoundName(pRecord->pSound));
    g_pSoundEndTable->UninitialiseSound(pRecord->pSound);
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
