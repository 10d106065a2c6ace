#pragma once
// A numbered set of sounds (2-D and 3-D samples and music streams) with their
// waves, an optional standard queue that plays sounds at random moments, an
// optional priority queue for spoken commentary, and a music play list.
// Other code addresses a sound only by the 16-bit id AddSound gave.
#include "sound/CSound.h"
#include "sound/CSoundList.h"
#include "sound/CSoundQueue.h"
#include "sound/CWaveManager.h"

#include <cstdint>
#include <memory>

class CFileManager;

class CSoundManager : public CSoundList {
public:
    CSoundManager(uint32_t dwCapacity, bool bStandardQueue, bool bPriorityQueue, CFileManager* pArchive);
    ~CSoundManager() override;

    bool Create();
    // The archive the next AddSound loads its wave from (null: a file on disk).
    void SetArchive(CFileManager* pArchive) { m_pArchive = pArchive; }
    CFileManager* GetArchive() const { return m_pArchive; }
    // Type 0 = 2-D, 1 = 3-D; any other adds nothing.
    bool AddSound(const char* pszWaveName, uint16_t& wID, uint32_t dwType);
    void SetVolume(uint16_t wID, uint32_t dwVolume);
    void SetAllVolumes(uint32_t dwVolume);
    bool Play(uint16_t wID);
    bool PlayIfDue(uint16_t wID, uint32_t dwTime, uint32_t dwDueTime);
    bool PlayLooped(uint16_t wID);
    void Stop(uint16_t wID);
    void Resume(uint16_t wID);
    void End(uint16_t wID);
    void EndAllSounds();
    void EndOneShotSounds();
    // Milliseconds of the wave; 0 without a wave.
    uint32_t GetSoundLength(uint16_t wID) const;
    // Queues the sound in the standard queue at a random moment not earlier
    // than the last one; the delay from the time, 0 without a queue.
    uint32_t ScheduleSound(uint16_t wID, uint32_t dwTime, uint8_t bFlush);
    void CleanSoundChain(uint32_t dwTime);
    void Update(uint32_t dwTime);
    void QueuePrioritySound(uint16_t wID, uint32_t dwTime);
    void QueuePrioritySoundLower(uint16_t wID, uint32_t dwTime);
    void CleanPriorityQueue(uint32_t dwTime);

    // Builds the play list from the files of the folder that match the
    // pattern; "01. Track 1.ogg" comes first when present.
    bool LoadMusicList(const char* pszFolder, const char* pszPattern);
    uint16_t PickRandomTrack();
    void PlayMusic(uint32_t dwVolume);

    CSound* GetSound(uint16_t wID) const;
    CStream* GetCurrentTrack() const;
    uint16_t GetCurrentTrackIndex() const { return m_wCurrentTrack; }
    bool IsMusicEnabled() const { return m_bMusicEnabled != 0; }
    CWaveManager* GetWaveManager() const { return m_pWaveManager.get(); }
    CSoundQueue* GetStandardQueue() const { return m_pStandardQueue.get(); }
    CPrioritySoundQueue* GetPriorityQueue() const { return m_pPriorityQueue.get(); }
    uint32_t GetInstanceID() const { return m_dwInstanceID; }
    uint32_t GetGameTime() const { return m_dwGameTime; }
    // Whether the sound is one of this manager's.
    bool Owns(const void* pSound) const;

private:
    void QueuePriority(uint16_t wID, uint32_t dwTime, int nLower);

    CFileManager* m_pArchive;
    std::unique_ptr<CWaveManager> m_pWaveManager;
    std::unique_ptr<CPrioritySoundQueue> m_pPriorityQueue;
    std::unique_ptr<CSoundQueue> m_pStandardQueue;
    uint8_t m_bHasStandardQueue;
    uint8_t m_bHasPriorityQueue;
    uint8_t m_bMusicEnabled = 1;
    uint16_t m_wFirstTrack = 0;
    uint16_t m_wCurrentTrack = 0;
    uint32_t m_dwTracksPlayed = 0;
    uint32_t m_dw2DCount = 0;
    uint32_t m_dw3DCount = 0;
    uint32_t m_dwStreamCount = 0;
    uint32_t m_dwGameTime = 0;
    uint32_t m_dwLastScheduledTime = 0;
    uint32_t m_dwInstanceID = 0;
    bool m_bRegistered = false;
};
