#include "sound/SoundSystem.h"

#include "sound/CSoundManager.h"

#include "shell/SoundEndMessages.h"
#include "shell/WinMain.h"

#include "common/CPointerArray.h"
#include "common/DebugLog.h"
#include "platform/Random.h"
#include "platform/Window.h"

#include <ctime>
#include <memory>
#include <new>

namespace {

std::unique_ptr<plat::SoundOutput> g_pOwnedOutput;
std::unique_ptr<CPointerArray> g_pInstances;
uint32_t g_dwInstanceCount = 0;

// Serves the sound-end messages on the main thread against the live managers.
class CSoundSystemEndTable final : public CSoundEndTable {
public:
    uint32_t InstanceCount() const override { return g_dwInstanceCount; }
    bool HasManager(uint32_t dwInstanceID) const override { return GetSoundManager(dwInstanceID) != nullptr; }
    bool OwnsSound(uint32_t dwInstanceID, const void* pSound) const override
    {
        const CSoundManager* pManager = GetSoundManager(dwInstanceID);
        return pManager && pManager->Owns(pSound);
    }
    const char* SoundName(const void* pSound) const override { return static_cast<const CSound*>(pSound)->GetName(); }
    void UninitialiseSound(void* pSound) override { static_cast<CSound*>(pSound)->Uninitialise(); }
    void PlayNextTrack(void* pMusicManager) override
    {
        // A track ended by a manager that is gone since names nothing.
        CSoundManager* pManager = nullptr;
        for (uint32_t i = 0; i < g_dwInstanceCount && !pManager; ++i)
            if (GetSoundManager(i) == pMusicManager)
                pManager = GetSoundManager(i);
        CStream* pTrack = pManager ? pManager->GetCurrentTrack() : nullptr;
        if (!pTrack)
            return;
        DebugLog(0, "[Main] WM_UNINITIALISE_STREAM %s", pTrack->GetName());
        const uint32_t dwVolume = pTrack->GetVolume();
        pTrack->Uninitialise();
        pManager->PickRandomTrack();
        pManager->PlayMusic(dwVolume);
    }
};

CSoundSystemEndTable g_EndTable;

bool StartWith(plat::SoundOutput* pOutput)
{
    g_pInstances.reset(new (std::nothrow) CPointerArray);
    if (!g_pInstances)
        return true;
    g_pInstances->SetSize(10, 5);
    g_dwInstanceCount = 0;
    g_pSoundEndTable = &g_EndTable;
    plat::soundSrand(static_cast<unsigned>(std::time(nullptr)));
    plat::setSoundOutput(pOutput);
    return pOutput != nullptr;
}

}  // namespace

bool StartSoundSystem(const char* pszDirectory)
{
    (void)pszDirectory;
    StopSoundSystem();
    g_pOwnedOutput = plat::openMixerSoundOutput();
    if (!g_pOwnedOutput)
        DebugLog(0, "[StartSoundSystem] No audio device: the game runs silent");
    return StartWith(g_pOwnedOutput.get());
}

bool StartSoundSystem(plat::SoundOutput* pOutput)
{
    StopSoundSystem();
    return StartWith(pOutput);
}

void StopSoundSystem()
{
    g_pSoundEndTable = nullptr;
    g_pInstances.reset();
    g_dwInstanceCount = 0;
    plat::setSoundOutput(nullptr);
    g_pOwnedOutput.reset();
}

bool IsSoundSystemStarted()
{
    return g_pInstances != nullptr;
}

bool ResumeSoundOutput()
{
    DebugLog(0, "Sound is active");
    plat::SoundOutput* pOutput = plat::soundOutput();
    return pOutput && pOutput->resume();
}

bool SuspendSoundOutput()
{
    DebugLog(0, "Sound is not active");
    plat::SoundOutput* pOutput = plat::soundOutput();
    return pOutput && pOutput->suspend();
}

void PostSampleEnd(void* pSound, uint32_t dwInstanceID)
{
    // Channels halted while the sound system stops have nobody left to tell.
    if (!g_pSoundEndTable)
        return;
    // The message carries the instance id and the sound itself, so that a
    // message still queued when the program ends leaves nothing behind.
    plat::postMessage(WM_UNINITIALISE_SOUND, plat::WPARAM(dwInstanceID), reinterpret_cast<plat::LPARAM>(pSound));
}

void PostStreamEnd(void* pManager, uint32_t)
{
    plat::postMessage(WM_UNINITIALISE_STREAM, 0, reinterpret_cast<plat::LPARAM>(pManager));
}

uint32_t RegisterSoundManager(CSoundManager* pManager)
{
    if (!g_pInstances) {
        // Without a running sound system the manager gets a slot of its own
        // that nothing can name.
        return 0xFFFFFFFFu;
    }
    for (uint32_t i = 0; i < g_dwInstanceCount; ++i) {
        if (!g_pInstances->GetAt(static_cast<int>(i))) {
            g_pInstances->SetAt(static_cast<int>(i), pManager);
            return i;
        }
    }
    g_pInstances->SetAtGrow(static_cast<int>(g_dwInstanceCount), pManager);
    return g_dwInstanceCount++;
}

void UnregisterSoundManager(uint32_t dwInstanceID)
{
    if (g_pInstances && dwInstanceID < g_dwInstanceCount)
        g_pInstances->SetAt(static_cast<int>(dwInstanceID), nullptr);
}

uint32_t GetSoundManagerCount()
{
    return g_dwInstanceCount;
}

CSoundManager* GetSoundManager(uint32_t dwInstanceID)
{
    return g_pInstances && dwInstanceID < g_dwInstanceCount
               ? static_cast<CSoundManager*>(g_pInstances->GetAt(static_cast<int>(dwInstanceID)))
               : nullptr;
}
