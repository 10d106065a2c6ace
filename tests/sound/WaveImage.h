#pragma once
// Builds RIFF/WAVE images chunk by chunk, including broken ones.
#include <cstdint>
#include <string>
#include <vector>

struct WaveImage {
    std::vector<uint8_t> bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};

    void U16(uint16_t v) { bytes.insert(bytes.end(), {uint8_t(v), uint8_t(v >> 8)}); }
    void U32(uint32_t v) { bytes.insert(bytes.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }
    // A chunk whose declared length may differ from the body given.
    WaveImage& Chunk(const char* id, const std::vector<uint8_t>& body, int64_t declared = -1)
    {
        bytes.insert(bytes.end(), id, id + 4);
        U32(static_cast<uint32_t>(declared < 0 ? body.size() : declared));
        bytes.insert(bytes.end(), body.begin(), body.end());
        if (body.size() % 2)
            bytes.push_back(0);
        return *this;
    }
    static std::vector<uint8_t> Format(uint16_t channels, uint32_t rate, uint16_t bits, size_t size = 16)
    {
        WaveImage f;
        f.bytes.clear();
        const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
        f.U16(1);
        f.U16(channels);
        f.U32(rate);
        f.U32(rate * align);
        f.U16(align);
        f.U16(bits);
        f.bytes.resize(size);
        return f.bytes;
    }
    WaveImage& Fmt(uint16_t channels, uint32_t rate, uint16_t bits, size_t size = 16)
    {
        return Chunk("fmt ", Format(channels, rate, bits, size));
    }
    // Sets the RIFF size to the bytes there are (or to a given value).
    std::vector<uint8_t> Done(int64_t riffSize = -1)
    {
        const uint32_t v = static_cast<uint32_t>(riffSize < 0 ? bytes.size() - 8 : riffSize);
        for (int i = 0; i < 4; ++i)
            bytes[4 + i] = static_cast<uint8_t>(v >> (8 * i));
        return bytes;
    }
};
