#pragma once
// One sound of a sound manager, in three kinds that the manager, the queues
// and the window procedure handle alike: a 2-D sample played from a wave in
// memory, a 3-D sample (played as a plain sample: positions are not used) and
// a music stream played from a file. Create takes a library handle,
// Uninitialise gives it back; both may run many times.
#include "platform/SoundOutput.h"

#include <cstdint>
#include <string>

class CFileManager;
class CSoundManager;

enum : uint32_t { SOUND_TYPE_2D = 0, SOUND_TYPE_3D = 1, SOUND_TYPE_STREAM = 2 };

class CSound {
public:
    CSound(CSoundManager* pOwner, uint32_t dwType, const char* pszName);
    virtual ~CSound() = default;
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    virtual bool Create() = 0;
    virtual bool Uninitialise() = 0;
    virtual bool IsPlaying() = 0;
    virtual bool IsStopped() = 0;
    virtual bool IsDone() = 0;
    virtual void SetVolume(const uint32_t& dwVolume) { m_dwVolume = dwVolume; }
    virtual uint32_t GetVolume() { return m_dwVolume; }
    virtual bool Play() = 0;
    virtual bool PlayLooped() = 0;
    virtual bool Stop() = 0;
    virtual bool Resume() = 0;
    virtual bool End() = 0;
    virtual bool FadeOut(uint32_t) { return true; }
    virtual bool FadeIn(uint32_t) { return true; }

    const char* GetName() const { return m_Name.c_str(); }
    uint32_t GetType() const { return m_dwType; }
    uint16_t GetWaveIndex() const { return m_wWaveIndex; }
    CSoundManager* GetOwner() const { return m_pOwner; }
    bool IsLooping() const { return m_bLooping != 0; }
    void SetLooping(bool bLooping) { m_bLooping = bLooping ? 1 : 0; }

protected:
    CSoundManager* m_pOwner;
    uint32_t m_dwType;
    std::string m_Name;
    uint32_t m_dwVolume = plat::kMaxSoundVolume;
    uint16_t m_wWaveIndex = 0;
    uint8_t m_bLooping = 0;
    uint32_t m_dwSavedVolume = 0;
};

// A sample from a wave of the owner's wave manager. The 2-D kind reports its
// end (unless looping) to the main window; the 3-D kind does not.
class C2DSound : public CSound {
public:
    C2DSound(const char* pszName, CFileManager* pArchive, CSoundManager* pOwner, uint32_t dwType = SOUND_TYPE_2D);
    ~C2DSound() override;

    bool Create() override;
    bool Uninitialise() override;
    bool IsPlaying() override;
    bool IsStopped() override;
    bool IsDone() override;
    bool Play() override;
    bool PlayLooped() override;
    bool Stop() override;
    bool Resume() override;
    bool End() override;

    plat::SoundHandle GetHandle() const { return m_hSample; }

protected:
    uint32_t Status() const;

    plat::SoundHandle m_hSample = 0;
    CFileManager* m_pArchive;
};

class C3DSound : public C2DSound {
public:
    C3DSound(const char* pszName, CFileManager* pArchive, CSoundManager* pOwner);
    bool Create() override;
    bool IsPlaying() override;
};

// A music track played from a file.
class CStream : public CSound {
public:
    CStream(const char* pszFileName, CSoundManager* pOwner);
    ~CStream() override;

    bool Create() override;
    bool Uninitialise() override;
    bool IsPlaying() override;
    bool IsStopped() override;
    bool IsDone() override;
    void SetVolume(const uint32_t& dwVolume) override;
    bool Play() override;
    bool PlayLooped() override { return true; }
    bool Stop() override;
    bool Resume() override;
    bool End() override;
    // Steps the volume down to silence (or back up) over the given time, one
    // step at a time from Step; the stream stops at the end of a fade-out.
    bool FadeOut(uint32_t dwMilliseconds) override;
    bool FadeIn(uint32_t dwMilliseconds) override;
    // The same fades started at a given time of the clock (milliseconds).
    bool FadeOutAt(uint32_t dwNow, uint32_t dwMilliseconds);
    bool FadeInAt(uint32_t dwNow, uint32_t dwMilliseconds);
    // Advances a running fade to the given time of the clock.
    void Step(uint32_t dwNow);

    plat::SoundHandle GetHandle() const { return m_hStream; }
    bool IsPlayed() const { return m_bPlayed != 0; }
    void SetPlayed(bool bPlayed) { m_bPlayed = bPlayed ? 1 : 0; }
    bool IsFading() const { return m_nFade != 0; }

private:
    uint32_t Status() const;

    plat::SoundHandle m_hStream = 0;
    plat::StreamInfo m_Info;
    uint8_t m_bPlayed = 0;
    // Fade in progress: -1 out, 1 in, 0 none; from volume, to volume, times.
    int m_nFade = 0;
    uint32_t m_dwFadeFrom = 0;
    uint32_t m_dwFadeTo = 0;
    uint32_t m_dwFadeStart = 0;
    uint32_t m_dwFadeLength = 0;
};
