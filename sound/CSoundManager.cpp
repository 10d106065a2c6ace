#include "sound/CSoundManager.h"

#include "sound/SoundSystem.h"

#include "common/DebugLog.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Random.h"

#include <algorithm>
#include <new>
#include <strings.h>

namespace {

constexpr uint16_t kStandardQueueCapacity = 10;
constexpr uint16_t kPriorityQueueCapacity = 6;
// Scheduled sounds fall within this window after the time asked for.
constexpr uint32_t kScheduleWindow = 60000;
constexpr const char* kFirstTrackName = "01. Track 1.ogg";

}  // namespace

CSoundManager::CSoundManager(uint32_t dwCapacity, bool bStandardQueue, bool bPriorityQueue, CFileManager* pArchive)
    : CSoundList(dwCapacity),
      m_pArchive(pArchive),
      m_bHasStandardQueue(bStandardQueue ? 1 : 0),
      m_bHasPriorityQueue(bPriorityQueue ? 1 : 0)
{
}

CSoundManager::~CSoundManager()
{
    if (m_bRegistered)
        UnregisterSoundManager(m_dwInstanceID);
    m_pArchive = nullptr;
    EndAllSounds();
    if (m_pStandardQueue) {
        m_pStandardQueue->Clean();
        m_pStandardQueue.reset();
    }
    if (m_pPriorityQueue) {
        m_pPriorityQueue->Clean();
        m_pPriorityQueue.reset();
    }
    for (uint32_t i = 0; i < m_dwCount; ++i)
        delete static_cast<CSound*>(m_Items.GetAt(static_cast<int>(i)));
    m_dwCount = 0;
    m_pWaveManager.reset();
}

bool CSoundManager::Create()
{
    m_pWaveManager.reset(new (std::nothrow) CWaveManager(m_dwCapacity));
    if (!m_pWaveManager) {
        DebugLog(0, "[CSoundManager::Create] Unable to create a wave manager!");
        return false;
    }
    if (!m_bRegistered) {
        m_dwInstanceID = RegisterSoundManager(this);
        m_bRegistered = true;
    }
    bool bResult = true;
    if (m_bHasStandardQueue) {
        m_pStandardQueue.reset(new (std::nothrow) CSoundQueue);
        if (!m_pStandardQueue || !m_pStandardQueue->Create(kStandardQueueCapacity)) {
            m_pStandardQueue.reset();
            DebugLog(0, "[CSoundManager::Create] Unable to create standard queue for sounds!");
            bResult = false;
        }
    }
    if (m_bHasPriorityQueue) {
        m_pPriorityQueue.reset(new (std::nothrow) CPrioritySoundQueue);
        if (!m_pPriorityQueue || !m_pPriorityQueue->Create(kPriorityQueueCapacity)) {
            m_pPriorityQueue.reset();
            DebugLog(0, "[CSoundManager::Create] Unable to create priority queue for sounds!");
            return false;
        }
    }
    return bResult;
}

CSound* CSoundManager::GetSound(uint16_t wID) const
{
    return wID < m_dwCount ? static_cast<CSound*>(m_Items.GetAt(wID)) : nullptr;
}

bool CSoundManager::Owns(const void* pSound) const
{
    for (uint32_t i = 0; i < m_dwCount; ++i)
        if (m_Items.GetAt(static_cast<int>(i)) == pSound)
            return true;
    return false;
}

bool CSoundManager::AddSound(const char* pszWaveName, uint16_t& wID, uint32_t dwType)
{
    if ((dwType != SOUND_TYPE_2D && dwType != SOUND_TYPE_3D) || !m_pWaveManager || m_dwCount >= 0xFFFF)
        return false;
    CSound* pSound = dwType == SOUND_TYPE_2D ? static_cast<CSound*>(new C2DSound(pszWaveName, m_pArchive, this))
                                             : static_cast<CSound*>(new C3DSound(pszWaveName, m_pArchive, this));
    wID = static_cast<uint16_t>(m_dwCount);
    Append(pSound);
    ++(dwType == SOUND_TYPE_2D ? m_dw2DCount : m_dw3DCount);
    return true;
}

void CSoundManager::SetVolume(uint16_t wID, uint32_t dwVolume)
{
    if (CSound* pSound = GetSound(wID))
        pSound->SetVolume(dwVolume);
}

void CSoundManager::SetAllVolumes(uint32_t dwVolume)
{
    for (uint32_t i = 0; i < m_dwCount; ++i)
        GetSound(static_cast<uint16_t>(i))->SetVolume(dwVolume);
}

bool CSoundManager::Play(uint16_t wID)
{
    CSound* pSound = GetSound(wID);
    if (!pSound)
        return false;
    return pSound->Create() && pSound->Play();
}

bool CSoundManager::PlayIfDue(uint16_t wID, uint32_t dwTime, uint32_t dwDueTime)
{
    if (dwDueTime > dwTime)
        return false;
    Play(wID);
    return true;
}

bool CSoundManager::PlayLooped(uint16_t wID)
{
    CSound* pSound = GetSound(wID);
    if (!pSound)
        return false;
    if (pSound->IsPlaying())
        return true;
    pSound->SetLooping(true);
    pSound->Create();
    return pSound->PlayLooped();
}

void CSoundManager::Stop(uint16_t wID)
{
    if (CSound* pSound = GetSound(wID))
        pSound->Stop();
}

void CSoundManager::Resume(uint16_t wID)
{
    if (CSound* pSound = GetSound(wID))
        pSound->Resume();
}

void CSoundManager::End(uint16_t wID)
{
    if (CSound* pSound = GetSound(wID))
        pSound->End();
}

void CSoundManager::EndAllSounds()
{
    for (uint32_t i = 0; i < m_dwCount; ++i)
        GetSound(static_cast<uint16_t>(i))->End();
}

void CSoundManager::EndOneShotSounds()
{
    for (uint32_t i = 0; i < m_dwCount; ++i) {
        CSound* pSound = GetSound(static_cast<uint16_t>(i));
        if (!pSound->IsLooping())
            pSound->End();
    }
}

uint32_t CSoundManager::GetSoundLength(uint16_t wID) const
{
    const CSound* pSound = GetSound(wID);
    if (!pSound || pSound->GetType() == SOUND_TYPE_STREAM || !m_pWaveManager)
        return 0;
    const WAVEENTRY* pEntry = m_pWaveManager->GetEntry(pSound->GetWaveIndex());
    if (!pEntry)
        return 0;
    // A format that claims no bytes per second has no length.
    const uint32_t dwBytesPerSecond = pEntry->GetFormat().nAvgBytesPerSec;
    if (dwBytesPerSecond == 0)
        return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(pEntry->dwDataLength) * 1000 / dwBytesPerSecond);
}

uint32_t CSoundManager::ScheduleSound(uint16_t wID, uint32_t dwTime, uint8_t bFlush)
{
    CSound* pSound = GetSound(wID);
    if (!m_pStandardQueue || !pSound)
        return 0;
    const uint32_t dwLast = m_dwLastScheduledTime;
    const uint32_t dwRandom = static_cast<uint32_t>(plat::soundRand());
    const uint32_t dwNew = dwLast > dwTime ? dwLast + dwRandom % (dwTime - dwLast + kScheduleWindow)
                                           : dwTime + dwRandom % kScheduleWindow;
    m_dwLastScheduledTime = dwNew;
    m_pStandardQueue->Add(pSound, dwNew, bFlush);
    return dwNew - dwTime;
}

void CSoundManager::CleanSoundChain(uint32_t dwTime)
{
    if (!m_pStandardQueue)
        return;
    DebugLog(0, "[CSoundManager::CleanSoundChain] Cleaning, get the hoover out!");
    m_pStandardQueue->m_dwGameTime = dwTime;
    m_pStandardQueue->Clean();
    m_dwLastScheduledTime = dwTime;
}

void CSoundManager::Update(uint32_t dwTime)
{
    m_dwGameTime = dwTime;
    if (m_pStandardQueue) {
        m_pStandardQueue->m_dwGameTime = dwTime;
        m_pStandardQueue->Trigger(dwTime);
    }
    if (m_pPriorityQueue) {
        m_pPriorityQueue->Trigger(dwTime);
        m_pPriorityQueue->m_dwGameTime = dwTime;
    }
    // Fades of the streams run on the clock, not on game time.
    const uint32_t dwNow = plat::milliseconds();
    for (uint32_t i = 0; i < m_dwCount; ++i) {
        CSound* pSound = GetSound(static_cast<uint16_t>(i));
        if (pSound->GetType() == SOUND_TYPE_STREAM)
            static_cast<CStream*>(pSound)->Step(dwNow);
    }
}

void CSoundManager::QueuePriority(uint16_t wID, uint32_t dwTime, int nLower)
{
    CSound* pSound = GetSound(wID);
    if (!m_pPriorityQueue || !pSound || !m_pWaveManager)
        return;
    const WAVEENTRY* pEntry = m_pWaveManager->GetEntry(pSound->GetWaveIndex());
    const int nPriority = std::max(0, (pEntry ? pEntry->bPriority : 0) - nLower);
    m_pPriorityQueue->Add(pSound, static_cast<uint16_t>(nPriority), dwTime);
}

void CSoundManager::QueuePrioritySound(uint16_t wID, uint32_t dwTime)
{
    QueuePriority(wID, dwTime, 0);
}

void CSoundManager::QueuePrioritySoundLower(uint16_t wID, uint32_t dwTime)
{
    QueuePriority(wID, dwTime, 1);
}

void CSoundManager::CleanPriorityQueue(uint32_t dwTime)
{
    if (!m_pPriorityQueue)
        return;
    m_pPriorityQueue->m_dwGameTime = dwTime;
    m_pPriorityQueue->Clean();
}

bool CSoundManager::LoadMusicList(const char* pszFolder, const char* pszPattern)
{
    const std::string folder = pszFolder ? pszFolder : "";
    if (!plat::directoryExists(folder)) {
        m_bMusicEnabled = 0;
        return false;
    }
    std::vector<std::string> names = plat::listFiles(folder, pszPattern ? pszPattern : "*");
    // The same play list on every machine: the listing's order is the file system's.
    std::sort(names.begin(), names.end());
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/')
        prefix += '\\';
    bool bFirstFound = false;
    uint32_t dwAdded = 0;
    for (const std::string& name : names) {
        if (plat::directoryExists(prefix + name) || m_dwCount >= 0xFFFF)
            continue;
        auto* pStream = new CStream((prefix + name).c_str(), this);
        const auto wIndex = static_cast<uint16_t>(m_dwCount);
        Append(pStream);
        ++m_dwStreamCount;
        ++dwAdded;
        if (!bFirstFound && strcasecmp(name.c_str(), kFirstTrackName) == 0) {
            m_wFirstTrack = wIndex;
            m_dwTracksPlayed = 1;
            pStream->SetPlayed(true);
            bFirstFound = true;
        }
    }
    if (dwAdded == 0) {
        m_bMusicEnabled = 0;
        return false;
    }
    if (!bFirstFound)
        m_wFirstTrack = PickRandomTrack();
    m_wCurrentTrack = m_wFirstTrack;
    return true;
}

uint16_t CSoundManager::PickRandomTrack()
{
    if (m_dwStreamCount == 0 || !m_bMusicEnabled)
        return m_wCurrentTrack;
    if (m_dwTracksPlayed >= m_dwStreamCount) {
        for (uint32_t i = 0; i < m_dwCount; ++i)
            if (GetSound(static_cast<uint16_t>(i))->GetType() == SOUND_TYPE_STREAM)
                static_cast<CStream*>(GetSound(static_cast<uint16_t>(i)))->SetPlayed(false);
        m_dwTracksPlayed = 0;
    }
    for (;;) {
        const auto wIndex = static_cast<uint16_t>(static_cast<uint32_t>(plat::soundRand()) % m_dwCount);
        CSound* pSound = GetSound(wIndex);
        if (pSound->GetType() != SOUND_TYPE_STREAM || static_cast<CStream*>(pSound)->IsPlayed())
            continue;
        static_cast<CStream*>(pSound)->SetPlayed(true);
        ++m_dwTracksPlayed;
        m_wCurrentTrack = wIndex;
        return wIndex;
    }
}

CStream* CSoundManager::GetCurrentTrack() const
{
    CSound* pSound = GetSound(m_wCurrentTrack);
    return pSound && pSound->GetType() == SOUND_TYPE_STREAM ? static_cast<CStream*>(pSound) : nullptr;
}

void CSoundManager::PlayMusic(uint32_t dwVolume)
{
    CStream* pTrack = GetCurrentTrack();
    if (!pTrack || !m_bMusicEnabled)
        return;
    pTrack->SetVolume(dwVolume);
    if (!pTrack->Create())
        return;
    // The end is reported from the first moment the track plays.
    if (plat::SoundOutput* pOutput = plat::soundOutput())
        pOutput->setStreamEndCallback(pTrack->GetHandle(), &PostStreamEnd, this, m_dwInstanceID);
    if (!pTrack->Play())
        pTrack->Uninitialise();
}
