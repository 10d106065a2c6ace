#include "platform/SoundOutput.h"

#include "platform/Files.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <map>
#include <mutex>

namespace plat {

namespace {

SoundOutput* g_soundOutput = nullptr;

int mixerVolume(uint32_t volume)
{
    if (volume > kMaxSoundVolume)
        volume = kMaxSoundVolume;
    return static_cast<int>(volume * MIX_MAX_VOLUME / kMaxSoundVolume);
}

struct EndNotice {
    SoundEndCallback callback = nullptr;
    void* user = nullptr;
    uint32_t tag = 0;
};

class MixerSoundOutput;
MixerSoundOutput* g_openMixer = nullptr;

class MixerSoundOutput final : public SoundOutput {
public:
    MixerSoundOutput()
    {
        g_openMixer = this;
        Mix_AllocateChannels(kSampleChannels);
        Mix_ChannelFinished(&MixerSoundOutput::onChannelFinished);
        Mix_HookMusicFinished(&MixerSoundOutput::onMusicFinished);
    }

    ~MixerSoundOutput() override
    {
        Mix_HookMusicFinished(nullptr);
        Mix_ChannelFinished(nullptr);
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        for (Channel& channel : m_channels)
            freeChunk(channel);
        for (auto& [handle, stream] : m_streams)
            Mix_FreeMusic(stream.music);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        g_openMixer = nullptr;
    }

    SoundHandle allocateSample() override
    {
        for (int i = 0; i < kSampleChannels; ++i) {
            if (!m_channels[i].allocated) {
                m_channels[i] = Channel{};
                m_channels[i].allocated = true;
                return i + 1;
            }
        }
        return 0;
    }

    void releaseSample(SoundHandle sample) override
    {
        Channel* channel = find(sample);
        if (!channel)
            return;
        setNotice(sample - 1, EndNotice{});
        Mix_HaltChannel(sample - 1);
        freeChunk(*channel);
        channel->allocated = false;
    }

    bool setSampleData(SoundHandle sample, const uint8_t* data, uint32_t length, const PcmFormat& format) override
    {
        Channel* channel = find(sample);
        if (!channel)
            return false;
        Mix_HaltChannel(sample - 1);
        freeChunk(*channel);
        if (!convertToDeviceFormat(data, length, format, channel->pcm) || channel->pcm.empty())
            return false;
        channel->chunk = Mix_QuickLoad_RAW(channel->pcm.data(), static_cast<Uint32>(channel->pcm.size()));
        return channel->chunk != nullptr;
    }

    void setSampleVolume(SoundHandle sample, uint32_t volume) override
    {
        if (Channel* channel = find(sample)) {
            channel->volume = volume;
            Mix_Volume(sample - 1, mixerVolume(volume));
        }
    }

    void setSampleLoopCount(SoundHandle sample, uint32_t loops) override
    {
        if (Channel* channel = find(sample))
            channel->loops = loops;
    }

    void setSampleEndCallback(SoundHandle sample, SoundEndCallback callback, void* user, uint32_t tag) override
    {
        if (find(sample))
            setNotice(sample - 1, EndNotice{callback, user, tag});
    }

    void startSample(SoundHandle sample) override
    {
        Channel* channel = find(sample);
        if (!channel || !channel->chunk)
            return;
        Mix_Volume(sample - 1, mixerVolume(channel->volume));
        const int loops = channel->loops == 0 ? -1 : static_cast<int>(channel->loops) - 1;
        channel->started = Mix_PlayChannel(sample - 1, channel->chunk, loops) >= 0;
    }

    void stopSample(SoundHandle sample) override
    {
        if (find(sample))
            Mix_Pause(sample - 1);
    }

    void resumeSample(SoundHandle sample) override
    {
        if (find(sample))
            Mix_Resume(sample - 1);
    }

    void endSample(SoundHandle sample) override
    {
        if (find(sample))
            Mix_HaltChannel(sample - 1);
    }

    uint32_t sampleStatus(SoundHandle sample) const override
    {
        if (!find(sample) || !Mix_Playing(sample - 1))
            return kSoundDone;
        return Mix_Paused(sample - 1) ? kSoundStopped : kSoundPlaying;
    }

    uint32_t activeSampleCount() const override
    {
        uint32_t count = 0;
        for (const Channel& channel : m_channels)
            count += channel.allocated ? 1 : 0;
        return count;
    }

    SoundHandle openStream(const std::string& gamePath) override
    {
        Mix_Music* music = Mix_LoadMUS(resolvePath(gamePath).c_str());
        if (!music)
            return 0;
        const SoundHandle handle = m_nextStream++;
        m_streams[handle] = Stream{music, kMaxSoundVolume, 1, EndNotice{}};
        return handle;
    }

    void closeStream(SoundHandle stream) override
    {
        auto it = m_streams.find(stream);
        if (it == m_streams.end())
            return;
        if (isCurrentMusic(stream)) {
            setMusicNotice(EndNotice{});
            Mix_HaltMusic();
            m_currentStream = 0;
        }
        Mix_FreeMusic(it->second.music);
        m_streams.erase(it);
    }

    void setStreamVolume(SoundHandle stream, uint32_t volume) override
    {
        auto it = m_streams.find(stream);
        if (it == m_streams.end())
            return;
        it->second.volume = volume;
        if (isCurrentMusic(stream))
            Mix_VolumeMusic(mixerVolume(volume));
    }

    void setStreamLoopCount(SoundHandle stream, uint32_t loops) override
    {
        auto it = m_streams.find(stream);
        if (it != m_streams.end())
            it->second.loops = loops;
    }

    void setStreamEndCallback(SoundHandle stream, SoundEndCallback callback, void* user, uint32_t tag) override
    {
        auto it = m_streams.find(stream);
        if (it == m_streams.end())
            return;
        it->second.notice = EndNotice{callback, user, tag};
        if (isCurrentMusic(stream))
            setMusicNotice(it->second.notice);
    }

    StreamInfo streamInfo(SoundHandle stream) const override
    {
        StreamInfo info;
        auto it = m_streams.find(stream);
        if (it == m_streams.end())
            return info;
        info.dataRate = kDeviceRate * 4;
        info.soundType = static_cast<uint32_t>(Mix_GetMusicType(it->second.music));
        const double seconds = Mix_MusicDuration(it->second.music);
        info.lengthMs = seconds > 0 ? static_cast<uint32_t>(seconds * 1000.0) : 0;
        return info;
    }

    void startStream(SoundHandle stream) override
    {
        auto it = m_streams.find(stream);
        if (it == m_streams.end())
            return;
        // One stream plays at a time; a new one replaces the old silently.
        setMusicNotice(EndNotice{});
        const int loops = it->second.loops == 0 ? -1 : static_cast<int>(it->second.loops);
        Mix_VolumeMusic(mixerVolume(it->second.volume));
        m_currentStream = Mix_PlayMusic(it->second.music, loops) == 0 ? stream : 0;
        if (m_currentStream)
            setMusicNotice(it->second.notice);
    }

    void pauseStream(SoundHandle stream, bool pause) override
    {
        if (!isCurrentMusic(stream))
            return;
        if (pause)
            Mix_PauseMusic();
        else
            Mix_ResumeMusic();
    }

    void endStream(SoundHandle stream) override
    {
        if (isCurrentMusic(stream))
            Mix_HaltMusic();
    }

    uint32_t streamStatus(SoundHandle stream) const override
    {
        if (!isCurrentMusic(stream) || !Mix_PlayingMusic())
            return kSoundDone;
        return Mix_PausedMusic() ? kSoundStopped : kSoundPlaying;
    }

    bool suspend() override
    {
        for (int i = 0; i < kSampleChannels; ++i) {
            m_channels[i].suspended = Mix_Playing(i) && !Mix_Paused(i);
            if (m_channels[i].suspended)
                Mix_Pause(i);
        }
        m_musicSuspended = Mix_PlayingMusic() && !Mix_PausedMusic();
        if (m_musicSuspended)
            Mix_PauseMusic();
        return true;
    }

    bool resume() override
    {
        for (int i = 0; i < kSampleChannels; ++i) {
            if (m_channels[i].suspended)
                Mix_Resume(i);
            m_channels[i].suspended = false;
        }
        if (m_musicSuspended)
            Mix_ResumeMusic();
        m_musicSuspended = false;
        return true;
    }

private:
    struct Channel {
        bool allocated = false;
        bool started = false;
        bool suspended = false;
        uint32_t volume = kMaxSoundVolume;
        uint32_t loops = 1;
        std::vector<uint8_t> pcm;
        Mix_Chunk* chunk = nullptr;
    };
    struct Stream {
        Mix_Music* music = nullptr;
        uint32_t volume = kMaxSoundVolume;
        uint32_t loops = 1;
        EndNotice notice;
    };

    Channel* find(SoundHandle sample)
    {
        return sample >= 1 && sample <= kSampleChannels && m_channels[sample - 1].allocated ? &m_channels[sample - 1]
                                                                                          : nullptr;
    }
    const Channel* find(SoundHandle sample) const { return const_cast<MixerSoundOutput*>(this)->find(sample); }

    bool isCurrentMusic(SoundHandle stream) const { return stream != 0 && m_currentStream == stream; }

    static void freeChunk(Channel& channel)
    {
        if (channel.chunk)
            Mix_FreeChunk(channel.chunk);
        channel.chunk = nullptr;
        channel.pcm.clear();
    }

    void setNotice(int channel, const EndNotice& notice)
    {
        std::lock_guard<std::mutex> lock(m_noticeMutex);
        m_channelNotices[channel] = notice;
    }

    void setMusicNotice(const EndNotice& notice)
    {
        std::lock_guard<std::mutex> lock(m_noticeMutex);
        m_musicNotice = notice;
    }

    // On the mixer's thread (or inside a halt on the caller's): only the
    // registered callback, which posts a message.
    static void onChannelFinished(int channel)
    {
        MixerSoundOutput* self = g_openMixer;
        if (!self || channel < 0 || channel >= kSampleChannels)
            return;
        EndNotice notice;
        {
            std::lock_guard<std::mutex> lock(self->m_noticeMutex);
            notice = self->m_channelNotices[channel];
        }
        if (notice.callback)
            notice.callback(notice.user, notice.tag);
    }

    static void onMusicFinished()
    {
        MixerSoundOutput* self = g_openMixer;
        if (!self)
            return;
        EndNotice notice;
        {
            std::lock_guard<std::mutex> lock(self->m_noticeMutex);
            notice = self->m_musicNotice;
        }
        if (notice.callback)
            notice.callback(notice.user, notice.tag);
    }

    std::array<Channel, kSampleChannels> m_channels{};
    std::map<SoundHandle, Stream> m_streams;
    SoundHandle m_nextStream = 1;
    SoundHandle m_currentStream = 0;
    bool m_musicSuspended = false;
    std::mutex m_noticeMutex;
    std::array<EndNotice, kSampleChannels> m_channelNotices{};
    EndNotice m_musicNotice;
};

}  // namespace

SoundOutput* soundOutput()
{
    return g_soundOutput;
}

void setSoundOutput(SoundOutput* output)
{
    g_soundOutput = output;
}

std::unique_ptr<SoundOutput> openMixerSoundOutput()
{
    if (g_openMixer)
        return nullptr;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    Mix_Init(MIX_INIT_OGG);
    if (Mix_OpenAudio(static_cast<int>(kDeviceRate), AUDIO_S16LSB, kDeviceChannels, 1024) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return std::make_unique<MixerSoundOutput>();
}

bool convertToDeviceFormat(const uint8_t* data, uint32_t length, const PcmFormat& format, std::vector<uint8_t>& out)
{
    out.clear();
    if (!data || format.channels == 0 || format.channels > 8 || format.rate == 0 ||
        (format.bits != 8 && format.bits != 16))
        return false;
    const uint32_t frameBytes = format.channels * (format.bits / 8u);
    const uint32_t wholeLength = length - length % frameBytes;
    SDL_AudioCVT cvt;
    const SDL_AudioFormat sourceFormat = format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    const int built = SDL_BuildAudioCVT(&cvt, sourceFormat, static_cast<Uint8>(format.channels),
                                        static_cast<int>(format.rate), AUDIO_S16LSB, kDeviceChannels,
                                        static_cast<int>(kDeviceRate));
    if (built < 0)
        return false;
    if (built == 0) {
        out.assign(data, data + wholeLength);
        return true;
    }
    cvt.len = static_cast<int>(wholeLength);
    out.resize(static_cast<size_t>(wholeLength) * static_cast<size_t>(cvt.len_mult));
    std::copy(data, data + wholeLength, out.begin());
    cvt.buf = out.data();
    if (SDL_ConvertAudio(&cvt) != 0) {
        out.clear();
        return false;
    }
    out.resize(static_cast<size_t>(cvt.len_cvt));
    return true;
}

}  // namespace plat
