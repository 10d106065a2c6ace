#pragma once
// The files of the sound kit: PCM wave files (16-bit, any channel count) and
// OGG Vorbis music, both written safely (whole or not at all).
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// Interleaved signed 16-bit samples.
struct Pcm {
    uint16_t channels = 1;
    uint32_t rate = 22050;
    std::vector<int16_t> samples;
};

// The bytes of a 16-bit PCM wave file.
void encodeWave(const Pcm& pcm, std::vector<uint8_t>& bytes);
bool writeWave(const Pcm& pcm, const std::string& path, std::string& error);
bool writeOggVorbis(const Pcm& pcm, const std::string& path, std::string& error);
// Reads a 16-bit PCM wave file (as espeak-ng writes them).
bool readWave(const std::string& path, Pcm& pcm, std::string& error);

}  // namespace tools
