#pragma once
// The sound library: one output device at 22050 Hz, 16-bit stereo, a fixed
// number of sample channels (so that running out of handles is reproducible),
// PCM samples of any rate, channel count and bit depth, and music streams
// decoded from files. End callbacks run on the mixer's own thread: they must
// only post a message. Handles are positive; 0 means none.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

using SoundHandle = int32_t;

// Status values of samples and streams.
constexpr uint32_t kSoundDone = 2;
constexpr uint32_t kSoundPlaying = 4;
constexpr uint32_t kSoundStopped = 8;
constexpr uint32_t kSoundPlayingReleased = 16;

// Highest volume of the game's scale; the mixer's own scale is converted.
constexpr uint32_t kMaxSoundVolume = 127;

// The device format.
constexpr uint32_t kDeviceRate = 22050;
constexpr uint16_t kDeviceChannels = 2;
constexpr int kSampleChannels = 16;

struct PcmFormat {
    uint16_t channels = 1;
    uint32_t rate = kDeviceRate;
    uint16_t bits = 16;  // 8 (unsigned) or 16 (signed little-endian)
};

struct StreamInfo {
    uint32_t dataRate = 0;
    uint32_t soundType = 0;
    uint32_t lengthMs = 0;
    uint32_t memorySize = 0;
};

// Called on the mixer's thread when a sample or stream plays to its end or
// is ended; user and tag are what was registered with it.
using SoundEndCallback = void (*)(void* user, uint32_t tag);

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Samples. The data stays with the caller; it must outlive the handle.
    virtual SoundHandle allocateSample() = 0;
    virtual void releaseSample(SoundHandle sample) = 0;
    virtual bool setSampleData(SoundHandle sample, const uint8_t* data, uint32_t length, const PcmFormat& format) = 0;
    virtual void setSampleVolume(SoundHandle sample, uint32_t volume) = 0;
    // 0 plays endlessly.
    virtual void setSampleLoopCount(SoundHandle sample, uint32_t loops) = 0;
    virtual void setSampleEndCallback(SoundHandle sample, SoundEndCallback callback, void* user, uint32_t tag) = 0;
    virtual void startSample(SoundHandle sample) = 0;
    virtual void stopSample(SoundHandle sample) = 0;
    virtual void resumeSample(SoundHandle sample) = 0;
    virtual void endSample(SoundHandle sample) = 0;
    virtual uint32_t sampleStatus(SoundHandle sample) const = 0;
    virtual uint32_t activeSampleCount() const = 0;

    // Streams from files (game paths).
    virtual SoundHandle openStream(const std::string& gamePath) = 0;
    virtual void closeStream(SoundHandle stream) = 0;
    virtual void setStreamVolume(SoundHandle stream, uint32_t volume) = 0;
    virtual void setStreamLoopCount(SoundHandle stream, uint32_t loops) = 0;
    virtual void setStreamEndCallback(SoundHandle stream, SoundEndCallback callback, void* user, uint32_t tag) = 0;
    virtual StreamInfo streamInfo(SoundHandle stream) const = 0;
    virtual void startStream(SoundHandle stream) = 0;
    virtual void pauseStream(SoundHandle stream, bool pause) = 0;
    // Moves the stream to its end: it finishes as if played out.
    virtual void endStream(SoundHandle stream) = 0;
    virtual uint32_t streamStatus(SoundHandle stream) const = 0;

    // Output stops while the program is inactive.
    virtual bool suspend() = 0;
    virtual bool resume() = 0;
};

// The output the sound code uses; null while none is open (the game is silent).
SoundOutput* soundOutput();
void setSoundOutput(SoundOutput* output);

// Opens the device on SDL2_mixer; null without an audio device.
std::unique_ptr<SoundOutput> openMixerSoundOutput();

// Converts PCM of the given format to the device format (signed 16-bit
// stereo at 22050 Hz); false for a format the converter refuses. Whole
// frames only: a trailing partial frame is dropped.
bool convertToDeviceFormat(const uint8_t* data, uint32_t length, const PcmFormat& format, std::vector<uint8_t>& out);

}  // namespace plat
