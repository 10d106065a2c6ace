#include "tools/soundkit/SoundWriters.h"

#include "sound/CWaveManager.h"

#include "common/CBinaryFile.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace tools {

void encodeWave(const Pcm& pcm, std::vector<uint8_t>& bytes)
{
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.samples.size() * 2);
    const uint16_t blockAlign = static_cast<uint16_t>(pcm.channels * 2);
    bytes.clear();
    bytes.reserve(44 + dataBytes);
    auto text = [&](const char* four) { bytes.insert(bytes.end(), four, four + 4); };
    auto u16 = [&](uint32_t v) {
        bytes.push_back(static_cast<uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    text("RIFF");
    u32(4 + 8 + 16 + 8 + dataBytes);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);
    u16(pcm.channels);
    u32(pcm.rate);
    u32(pcm.rate * blockAlign);
    u16(blockAlign);
    u16(16);
    text("data");
    u32(dataBytes);
    for (int16_t sample : pcm.samples)
        u16(static_cast<uint16_t>(sample));
}

bool writeWave(const Pcm& pcm, const std::string& path, std::string& error)
{
    std::vector<uint8_t> bytes;
    encodeWave(pcm, bytes);
    const bool ok = plat::writeFileSafely(path, [&](FILE* file) {
        CBinaryWriter out(file);
        out.WriteBytes(bytes.data(), bytes.size());
        return !out.Failed();
    });
    if (!ok)
        error = "cannot write " + path;
    return ok;
}

bool readWave(const std::string& path, Pcm& pcm, std::string& error)
{
    std::vector<uint8_t> image;
    const uint8_t* pFormat = nullptr;
    const uint8_t* pData = nullptr;
    uint32_t length = 0;
    if (!plat::readWholeFile(path, image) ||
        !CWaveManager::ParseWaveChunks(image.data(), image.size(), &pFormat, &pData, &length)) {
        error = "not a readable wave file: " + path;
        return false;
    }
    WAVEENTRY entry;
    entry.pFormat = pFormat;
    const WAVEFORMAT format = entry.GetFormat();
    if (format.wFormatTag != 1 || format.wBitsPerSample != 16 || format.nChannels == 0) {
        error = "not 16-bit PCM: " + path;
        return false;
    }
    pcm.channels = format.nChannels;
    pcm.rate = format.nSamplesPerSec;
    pcm.samples.resize(length / 2);
    for (size_t i = 0; i < pcm.samples.size(); ++i)
        pcm.samples[i] = static_cast<int16_t>(pData[2 * i] | (pData[2 * i + 1] << 8));
    return true;
}

bool writeOggVorbis(const Pcm& pcm, const std::string& path, std::string& error)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, pcm.channels, static_cast<long>(pcm.rate), 0.3f) != 0) {
        vorbis_info_clear(&info);
        error = "the Vorbis encoder refuses the format";
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ENCODER", "soundkit");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    // A fixed serial number: the same sources give the same file.
    ogg_stream_init(&stream, 0x5eed);

    const bool ok = plat::writeFileSafely(path, [&](FILE* file) {
        bool written = true;
        auto writePage = [&](const ogg_page& page) {
            written = written && std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), file) ==
                                     static_cast<size_t>(page.header_len);
            written = written && std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), file) ==
                                     static_cast<size_t>(page.body_len);
        };
        ogg_packet header, headerComment, headerCode;
        vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &headerComment);
        ogg_stream_packetin(&stream, &headerCode);
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0)
            writePage(page);

        const size_t frames = pcm.samples.size() / pcm.channels;
        const size_t chunk = 1024;
        bool ended = false;
        for (size_t start = 0; !ended;) {
            const size_t count = std::min(chunk, frames - start);
            if (count == 0) {
                vorbis_analysis_wrote(&dsp, 0);
            } else {
                float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
                for (size_t f = 0; f < count; ++f)
                    for (uint16_t c = 0; c < pcm.channels; ++c)
                        buffer[c][f] = pcm.samples[(start + f) * pcm.channels + c] / 32768.0f;
                vorbis_analysis_wrote(&dsp, static_cast<int>(count));
                start += count;
            }
            while (vorbis_analysis_blockout(&dsp, &block) == 1) {
                vorbis_analysis(&block, nullptr);
                vorbis_bitrate_addblock(&block);
                ogg_packet packet;
                while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                    ogg_stream_packetin(&stream, &packet);
                    while (ogg_stream_pageout(&stream, &page) != 0) {
                        writePage(page);
                        if (ogg_page_eos(&page))
                            ended = true;
                    }
                }
            }
            if (count == 0)
                ended = true;
        }
        while (ogg_stream_flush(&stream, &page) != 0)
            writePage(page);
        return written;
    });

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    if (!ok)
        error = "cannot write " + path;
    return ok;
}

}  // namespace tools
