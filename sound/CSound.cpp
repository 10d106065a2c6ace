#include "sound/CSound.h"

#include "sound/CSoundManager.h"
#include "sound/SoundSystem.h"

#include "common/DebugLog.h"
#include "platform/Clock.h"

CSound::CSound(CSoundManager* pOwner, uint32_t dwType, const char* pszName)
    : m_pOwner(pOwner), m_dwType(dwType), m_Name(pszName ? pszName : "")
{
}

// ---- samples ----

C2DSound::C2DSound(const char* pszName, CFileManager* pArchive, CSoundManager* pOwner, uint32_t dwType)
    : CSound(pOwner, dwType, pszName), m_pArchive(pArchive)
{
    m_wWaveIndex = pOwner && pOwner->GetWaveManager()
                       ? pOwner->GetWaveManager()->Load(pArchive, pszName, nullptr, nullptr)
                       : WAVE_LOAD_FAILED;
}

C2DSound::~C2DSound()
{
    if (m_hSample && plat::soundOutput())
        plat::soundOutput()->releaseSample(m_hSample);
}

bool C2DSound::Create()
{
    const WAVEENTRY* pEntry = m_wWaveIndex == WAVE_LOAD_FAILED ? nullptr : m_pOwner->GetWaveManager()->GetEntry(m_wWaveIndex);
    if (!pEntry) {
        DebugLog(0, "[C2DSound::Uninitialise] Error!!! \"%s\" has a wave entry of 9999!", GetName());
        return false;
    }
    plat::SoundOutput* pOutput = plat::soundOutput();
    if (m_hSample) {
        DebugLog(0, "[C2DSound::Create] [Active Samples - %ld] Sample handle for sound %s already allocated!",
                 static_cast<long>(pOutput ? pOutput->activeSampleCount() : 0), GetName());
        return false;
    }
    m_hSample = pOutput ? pOutput->allocateSample() : 0;
    if (!m_hSample) {
        DebugLog(0, "[C2DSound::Create] Couldn't allocate a sample handle!");
        return false;
    }
    // The sample plays in the wave's own format: rate, channels and bits.
    const WAVEFORMAT format = pEntry->GetFormat();
    plat::PcmFormat pcm;
    pcm.channels = format.nChannels;
    pcm.rate = format.nSamplesPerSec;
    pcm.bits = format.wBitsPerSample;
    if (format.wFormatTag != 1 || !pOutput->setSampleData(m_hSample, pEntry->pData, pEntry->dwDataLength, pcm)) {
        DebugLog(0, "[C2DSound::Create] Unable to initialise the sample of %s (format %u, %u channels, %u bits)",
                 GetName(), format.wFormatTag, format.nChannels, format.wBitsPerSample);
        pOutput->releaseSample(m_hSample);
        m_hSample = 0;
        return false;
    }
    pOutput->setSampleLoopCount(m_hSample, 1);
    if (!m_bLooping && m_dwType == SOUND_TYPE_2D)
        pOutput->setSampleEndCallback(m_hSample, &PostSampleEnd, this, m_pOwner->GetInstanceID());
    return true;
}

bool C2DSound::Uninitialise()
{
    if (!m_hSample) {
        DebugLog(0, "[C2DSound::Uninitialise] Sample handle for sound %s is already NULL!", GetName());
        return false;
    }
    if (plat::soundOutput())
        plat::soundOutput()->releaseSample(m_hSample);
    m_hSample = 0;
    DebugLog(0, "[C2DSound::Uninitialise] Uninitialising sound %s!", GetName());
    return true;
}

uint32_t C2DSound::Status() const
{
    plat::SoundOutput* pOutput = plat::soundOutput();
    return m_hSample && pOutput ? pOutput->sampleStatus(m_hSample) : plat::kSoundDone;
}

bool C2DSound::IsPlaying()
{
    const uint32_t dwStatus = Status();
    return dwStatus == plat::kSoundPlaying || dwStatus == plat::kSoundPlayingReleased;
}

bool C2DSound::IsStopped()
{
    return Status() == plat::kSoundStopped;
}

bool C2DSound::IsDone()
{
    return Status() == plat::kSoundDone;
}

bool C2DSound::Play()
{
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hSample) {
        pOutput->setSampleVolume(m_hSample, m_dwVolume);
        pOutput->startSample(m_hSample);
    }
    return IsPlaying();
}

bool C2DSound::PlayLooped()
{
    m_bLooping = 1;
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hSample) {
        pOutput->setSampleVolume(m_hSample, m_dwVolume);
        pOutput->setSampleLoopCount(m_hSample, 0);
        pOutput->startSample(m_hSample);
    }
    return IsPlaying();
}

bool C2DSound::Stop()
{
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hSample)
        pOutput->stopSample(m_hSample);
    return IsStopped();
}

bool C2DSound::Resume()
{
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hSample)
        pOutput->resumeSample(m_hSample);
    return IsPlaying();
}

bool C2DSound::End()
{
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hSample)
        pOutput->endSample(m_hSample);
    return IsDone();
}

C3DSound::C3DSound(const char* pszName, CFileManager* pArchive, CSoundManager* pOwner)
    : C2DSound(pszName, pArchive, pOwner, SOUND_TYPE_3D)
{
}

bool C3DSound::Create()
{
    if (m_hSample) {
        DebugLog(0, "[C3DSound::Create] Unable to allocate a sample handle!");
        return false;
    }
    const bool bCreated = C2DSound::Create();
    if (!bCreated)
        DebugLog(0, "[C3DSound::Create] Unable to initilise the sample!");
    return bCreated;
}

bool C3DSound::IsPlaying()
{
    return Status() == plat::kSoundPlaying;
}

// ---- streams ----

CStream::CStream(const char* pszFileName, CSoundManager* pOwner) : CSound(pOwner, SOUND_TYPE_STREAM, pszFileName) {}

CStream::~CStream()
{
    if (m_hStream && plat::soundOutput())
        plat::soundOutput()->closeStream(m_hStream);
}

bool CStream::Create()
{
    if (m_hStream) {
        DebugLog(0, "[CStream::Create] Stream handle for stream %s already allocated!", GetName());
        return false;
    }
    plat::SoundOutput* pOutput = plat::soundOutput();
    m_hStream = pOutput ? pOutput->openStream(m_Name) : 0;
    if (!m_hStream) {
        DebugLog(0, "[CStream::Create] Couldn't open the stream %s!", GetName());
        return false;
    }
    pOutput->setStreamLoopCount(m_hStream, 1);
    m_Info = pOutput->streamInfo(m_hStream);
    return true;
}

bool CStream::Uninitialise()
{
    if (!m_hStream) {
        DebugLog(0, "[CStream::Uninitialise] Stream handle for stream %s is already NULL!", GetName());
        return false;
    }
    if (plat::soundOutput())
        plat::soundOutput()->closeStream(m_hStream);
    m_hStream = 0;
    m_Info = plat::StreamInfo{};
    m_nFade = 0;
    DebugLog(0, "[CStream::Uninitialise] Uninitialising stream %s!", GetName());
    return true;
}

uint32_t CStream::Status() const
{
    plat::SoundOutput* pOutput = plat::soundOutput();
    return m_hStream && pOutput ? pOutput->streamStatus(m_hStream) : plat::kSoundDone;
}

bool CStream::IsPlaying()
{
    const uint32_t dwStatus = Status();
    return dwStatus == plat::kSoundPlaying || dwStatus == plat::kSoundPlayingReleased;
}

bool CStream::IsStopped()
{
    return Status() == plat::kSoundStopped;
}

bool CStream::IsDone()
{
    return Status() == plat::kSoundDone;
}

void CStream::SetVolume(const uint32_t& dwVolume)
{
    m_dwVolume = dwVolume;
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hStream)
        pOutput->setStreamVolume(m_hStream, dwVolume);
}

bool CStream::Play()
{
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hStream) {
        pOutput->setStreamVolume(m_hStream, m_dwVolume);
        pOutput->startStream(m_hStream);
    }
    m_bPlayed = 1;
    return IsPlaying();
}

bool CStream::Stop()
{
    m_nFade = 0;
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hStream)
        pOutput->pauseStream(m_hStream, true);
    return IsStopped();
}

bool CStream::Resume()
{
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hStream)
        pOutput->pauseStream(m_hStream, false);
    return IsPlaying();
}

bool CStream::End()
{
    m_nFade = 0;
    if (plat::SoundOutput* pOutput = plat::soundOutput(); pOutput && m_hStream)
        pOutput->endStream(m_hStream);
    return IsDone();
}

bool CStream::FadeOut(uint32_t dwMilliseconds)
{
    return FadeOutAt(plat::milliseconds(), dwMilliseconds);
}

bool CStream::FadeIn(uint32_t dwMilliseconds)
{
    return FadeInAt(plat::milliseconds(), dwMilliseconds);
}

bool CStream::FadeOutAt(uint32_t dwNow, uint32_t dwMilliseconds)
{
    m_dwSavedVolume = m_dwVolume;
    m_nFade = -1;
    m_dwFadeFrom = m_dwVolume;
    m_dwFadeTo = 0;
    m_dwFadeStart = dwNow;
    m_dwFadeLength = dwMilliseconds;
    Step(dwNow);
    return true;
}

bool CStream::FadeInAt(uint32_t dwNow, uint32_t dwMilliseconds)
{
    m_nFade = 1;
    m_dwFadeFrom = 0;
    m_dwFadeTo = m_dwSavedVolume;
    m_dwFadeStart = dwNow;
    m_dwFadeLength = dwMilliseconds;
    const uint32_t dwSilent = 0;
    SetVolume(dwSilent);
    Resume();
    Step(dwNow);
    return true;
}

void CStream::Step(uint32_t dwNow)
{
    if (m_nFade == 0)
        return;
    const uint32_t dwElapsed = dwNow - m_dwFadeStart;
    if (dwElapsed >= m_dwFadeLength) {
        const int nFade = m_nFade;
        m_nFade = 0;
        SetVolume(m_dwFadeTo);
        if (nFade < 0) {
            Stop();
            // The volume to come back to with a fade-in or a new play.
            m_dwVolume = m_dwSavedVolume;
        }
        return;
    }
    const int64_t nFrom = m_dwFadeFrom;
    const int64_t nTo = m_dwFadeTo;
    const uint32_t dwVolume = static_cast<uint32_t>(nFrom + (nTo - nFrom) * dwElapsed / m_dwFadeLength);
    SetVolume(dwVolume);
}
