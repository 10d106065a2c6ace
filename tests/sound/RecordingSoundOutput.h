#pragma once
// A sound output that records what the sound code asks of it and plays
// nothing: samples and streams keep their state, and a test can finish them
// as the mixer would, which runs their end callbacks.
#include "platform/SoundOutput.h"

#include <map>
#include <string>
#include <vector>

class RecordingSoundOutput : public plat::SoundOutput {
public:
    struct Sample {
        std::vector<uint8_t> pcm;  // in the device format
        plat::PcmFormat format;
        uint32_t volume = 127;
        uint32_t loops = 1;
        uint32_t status = plat::kSoundDone;
        plat::SoundEndCallback callback = nullptr;
        void* user = nullptr;
        uint32_t tag = 0;
    };
    struct Stream {
        std::string path;
        uint32_t volume = 127;
        uint32_t status = plat::kSoundDone;
        plat::SoundEndCallback callback = nullptr;
        void* user = nullptr;
        uint32_t tag = 0;
    };

    plat::SoundHandle allocateSample() override
    {
        if (samples.size() >= static_cast<size_t>(plat::kSampleChannels))
            return 0;
        const plat::SoundHandle handle = nextSample++;
        samples[handle] = Sample{};
        return handle;
    }
    void releaseSample(plat::SoundHandle h) override { samples.erase(h); }
    bool setSampleData(plat::SoundHandle h, const uint8_t* data, uint32_t length, const plat::PcmFormat& format) override
    {
        Sample& s = samples.at(h);
        s.format = format;
        return plat::convertToDeviceFormat(data, length, format, s.pcm);
    }
    void setSampleVolume(plat::SoundHandle h, uint32_t v) override { samples.at(h).volume = v; }
    void setSampleLoopCount(plat::SoundHandle h, uint32_t loops) override { samples.at(h).loops = loops; }
    void setSampleEndCallback(plat::SoundHandle h, plat::SoundEndCallback cb, void* user, uint32_t tag) override
    {
        Sample& s = samples.at(h);
        s.callback = cb;
        s.user = user;
        s.tag = tag;
    }
    void startSample(plat::SoundHandle h) override
    {
        samples.at(h).status = plat::kSoundPlaying;
        started.push_back(h);
    }
    void stopSample(plat::SoundHandle h) override { samples.at(h).status = plat::kSoundStopped; }
    void resumeSample(plat::SoundHandle h) override { samples.at(h).status = plat::kSoundPlaying; }
    void endSample(plat::SoundHandle h) override { finishSample(h); }
    uint32_t sampleStatus(plat::SoundHandle h) const override
    {
        auto it = samples.find(h);
        return it == samples.end() ? plat::kSoundDone : it->second.status;
    }
    uint32_t activeSampleCount() const override { return static_cast<uint32_t>(samples.size()); }

    plat::SoundHandle openStream(const std::string& path) override
    {
        if (!openable.empty() && !openable.count(path))
            return 0;
        const plat::SoundHandle handle = nextStream++;
        streams[handle] = Stream{path};
        return handle;
    }
    void closeStream(plat::SoundHandle h) override { streams.erase(h); }
    void setStreamVolume(plat::SoundHandle h, uint32_t v) override { streams.at(h).volume = v; }
    void setStreamLoopCount(plat::SoundHandle, uint32_t) override {}
    void setStreamEndCallback(plat::SoundHandle h, plat::SoundEndCallback cb, void* user, uint32_t tag) override
    {
        Stream& s = streams.at(h);
        s.callback = cb;
        s.user = user;
        s.tag = tag;
    }
    plat::StreamInfo streamInfo(plat::SoundHandle) const override { return {}; }
    void startStream(plat::SoundHandle h) override
    {
        streams.at(h).status = plat::kSoundPlaying;
        playedStreams.push_back(streams.at(h).path);
    }
    void pauseStream(plat::SoundHandle h, bool pause) override
    {
        streams.at(h).status = pause ? plat::kSoundStopped : plat::kSoundPlaying;
    }
    void endStream(plat::SoundHandle h) override { finishStream(h); }
    uint32_t streamStatus(plat::SoundHandle h) const override
    {
        auto it = streams.find(h);
        return it == streams.end() ? plat::kSoundDone : it->second.status;
    }
    bool suspend() override { return suspended = true; }
    bool resume() override { return !(suspended = false); }

    // The mixer's end of a sample or stream: done, and the callback runs.
    void finishSample(plat::SoundHandle h)
    {
        Sample& s = samples.at(h);
        s.status = plat::kSoundDone;
        if (s.callback)
            s.callback(s.user, s.tag);
    }
    void finishStream(plat::SoundHandle h)
    {
        Stream& s = streams.at(h);
        s.status = plat::kSoundDone;
        if (s.callback)
            s.callback(s.user, s.tag);
    }
    // The stream now playing, or null.
    Stream* playingStream()
    {
        for (auto& [h, s] : streams)
            if (s.status == plat::kSoundPlaying)
                return &s;
        return nullptr;
    }
    plat::SoundHandle playingStreamHandle()
    {
        for (auto& [h, s] : streams)
            if (s.status == plat::kSoundPlaying)
                return h;
        return 0;
    }

    std::map<plat::SoundHandle, Sample> samples;
    std::map<plat::SoundHandle, Stream> streams;
    std::vector<plat::SoundHandle> started;
    std::vector<std::string> playedStreams;
    // When not empty, only these paths open as streams.
    std::map<std::string, int> openable;
    bool suspended = false;
    plat::SoundHandle nextSample = 1;
    plat::SoundHandle nextStream = 1;
};
