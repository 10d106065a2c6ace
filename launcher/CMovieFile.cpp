#include "launcher/CMovieFile.h"

#include "common/CBinaryFile.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"
#include "platform/Surface.h"

#include <cstring>

namespace {

constexpr int kMaxSide = 2048;

uint32_t FourCC(const char* psz)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(psz[0])) | (static_cast<uint32_t>(static_cast<uint8_t>(psz[1])) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(psz[2])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(psz[3])) << 24);
}

// Bytes of one stored row: two a pixel, padded to four.
size_t RowBytes(int nWidth) { return (static_cast<size_t>(nWidth) * 2 + 3) & ~static_cast<size_t>(3); }

}  // namespace

bool CMovieFile::Load(const std::string& gamePath, std::string& error)
{
    m_Bytes.clear();
    m_FrameOffsets.clear();
    m_nWidth = m_nHeight = 0;
    if (!plat::readWholeFile(gamePath, m_Bytes)) {
        error = gamePath + " cannot be read";
        return false;
    }
    auto refuse = [&](const char* pszWhy) {
        error = gamePath + ": " + pszWhy;
        m_Bytes.clear();
        m_FrameOffsets.clear();
        return false;
    };
    CBinaryReader reader(m_Bytes);
    uint32_t dwRiff = 0, dwRiffSize = 0, dwForm = 0;
    reader.ReadU32(dwRiff);
    reader.ReadU32(dwRiffSize);
    reader.ReadU32(dwForm);
    if (reader.Failed() || dwRiff != FourCC("RIFF") || dwForm != FourCC("AVI "))
        return refuse("not a RIFF AVI file");

    int nStreams = 0, nBitCount = 0;
    uint32_t dwCompression = 1;
    bool bMovi = false;
    // Chunks at any depth of the lists; a list's body is walked in place.
    while (reader.Remaining() >= 8) {
        uint32_t dwId = 0, dwSize = 0;
        reader.ReadU32(dwId);
        reader.ReadU32(dwSize);
        if (dwSize > reader.Remaining())
            return refuse("a chunk runs past the end");
        const size_t nBody = static_cast<size_t>(reader.Consumed());
        if (dwId == FourCC("LIST")) {
            uint32_t dwKind = 0;
            reader.ReadU32(dwKind);
            bMovi = bMovi || dwKind == FourCC("movi");
            continue;
        }
        if (dwId == FourCC("avih") && dwSize >= 40) {
            uint32_t dwFields[10] = {};
            for (uint32_t& dwField : dwFields)
                reader.ReadU32(dwField);
            m_dwMicrosecondsPerFrame = dwFields[0];
            m_nWidth = static_cast<int>(dwFields[8]);
            m_nHeight = static_cast<int>(dwFields[9]);
        } else if (dwId == FourCC("strh") && dwSize >= 8) {
            uint32_t dwType = 0, dwHandler = 0;
            reader.ReadU32(dwType);
            reader.ReadU32(dwHandler);
            ++nStreams;
            if (dwType != FourCC("vids"))
                return refuse("it carries a stream other than its pictures");
        } else if (dwId == FourCC("strf") && dwSize >= 40) {
            uint32_t dwHeaderSize = 0, dwWidth = 0, dwHeight = 0;
            uint16_t wPlanes = 0, wBitCount = 0;
            reader.ReadU32(dwHeaderSize);
            reader.ReadU32(dwWidth);
            reader.ReadU32(dwHeight);
            reader.ReadU16(wPlanes);
            reader.ReadU16(wBitCount);
            reader.ReadU32(dwCompression);
            nBitCount = wBitCount;
            if (static_cast<int>(dwWidth) != m_nWidth || static_cast<int>(dwHeight) != m_nHeight)
                return refuse("its picture size disagrees with its header");
        } else if (bMovi && dwId == FourCC("00db")) {
            if (dwSize != RowBytes(m_nWidth) * static_cast<size_t>(m_nHeight))
                return refuse("a frame has the wrong size");
            m_FrameOffsets.push_back(nBody);
        }
        // Bodies are padded to an even length.
        const size_t nNext = nBody + dwSize + (dwSize & 1);
        if (nNext > m_Bytes.size())
            break;
        reader.Skip(nNext - static_cast<size_t>(reader.Consumed()));
    }
    if (reader.Failed())
        return refuse("it is cut short");
    if (m_nWidth <= 0 || m_nHeight <= 0 || m_nWidth > kMaxSide || m_nHeight > kMaxSide || m_dwMicrosecondsPerFrame == 0)
        return refuse("its header is damaged");
    if (nStreams != 1 || nBitCount != 16 || dwCompression != 0)
        return refuse("its pictures are not uncompressed 16-bit frames");
    if (m_FrameOffsets.empty())
        return refuse("it holds no frames");
    return true;
}

bool CMovieFile::DrawFrame(int nFrame, plat::Surface& target) const
{
    if (nFrame < 0 || nFrame >= GetFrameCount())
        return false;
    const uint8_t* pFrame = m_Bytes.data() + m_FrameOffsets[static_cast<size_t>(nFrame)];
    const size_t nRow = RowBytes(m_nWidth);
    const bool b565 = target.format() == plat::PixelFormat::Rgb565;
    for (int y = 0; y < target.height(); ++y) {
        // Stored bottom-up.
        const uint8_t* pRow = pFrame + nRow * static_cast<size_t>(m_nHeight - 1 - y * m_nHeight / target.height());
        for (int x = 0; x < target.width(); ++x) {
            const uint8_t* p = pRow + 2 * static_cast<size_t>(x * m_nWidth / target.width());
            const uint16_t w555 = static_cast<uint16_t>(p[0] | (p[1] << 8));
            const uint16_t wPixel =
                b565 ? static_cast<uint16_t>(((w555 & 0x7C00) << 1) | ((w555 & 0x03E0) << 1) | (w555 & 0x001F)) : w555;
            target.setPixel(x, y, wPixel);
        }
    }
    return true;
}

bool CMovieFile::Write(const std::string& gamePath, int nWidth, int nHeight, uint32_t dwMicrosecondsPerFrame,
                       const std::vector<std::vector<uint16_t>>& frames)
{
    const size_t nFrameBytes = RowBytes(nWidth) * static_cast<size_t>(nHeight);
    for (const auto& frame : frames)
        if (frame.size() != static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight))
            return false;
    const uint32_t nFrames = static_cast<uint32_t>(frames.size());
    std::vector<uint8_t> bytes;
    CBinaryWriter writer(bytes);
    auto four = [&](const char* psz) { writer.WriteU32(FourCC(psz)); };
    const uint32_t dwStrl = 4 + (8 + 56) + (8 + 40);
    const uint32_t dwHdrl = 4 + (8 + 56) + (8 + dwStrl);
    const uint32_t dwMovi = 4 + nFrames * static_cast<uint32_t>(8 + nFrameBytes);
    const uint32_t dwIdx1 = nFrames * 16;
    four("RIFF");
    writer.WriteU32(4 + (8 + dwHdrl) + (8 + dwMovi) + (8 + dwIdx1));
    four("AVI ");
    four("LIST");
    writer.WriteU32(dwHdrl);
    four("hdrl");
    four("avih");
    writer.WriteU32(56);
    const uint32_t avih[14] = {dwMicrosecondsPerFrame, static_cast<uint32_t>(nFrameBytes) * 1000000u / dwMicrosecondsPerFrame,
                               0, 0x10 /* has an index */, nFrames, 0, 1, static_cast<uint32_t>(nFrameBytes),
                               static_cast<uint32_t>(nWidth), static_cast<uint32_t>(nHeight), 0, 0, 0, 0};
    for (uint32_t dw : avih)
        writer.WriteU32(dw);
    four("LIST");
    writer.WriteU32(dwStrl);
    four("strl");
    four("strh");
    writer.WriteU32(56);
    four("vids");
    four("DIB ");
    // Flags, priority and language, initial frames, scale and rate (frames a
    // second as rate / scale), start, length, buffer size, quality, sample
    // size and the frame rectangle.
    const uint32_t strh[] = {0, 0, 0, dwMicrosecondsPerFrame, 1000000u, 0, nFrames, static_cast<uint32_t>(nFrameBytes),
                             0xFFFFFFFFu, 0};
    for (uint32_t dw : strh)
        writer.WriteU32(dw);
    writer.WriteU16(0);
    writer.WriteU16(0);
    writer.WriteU16(static_cast<uint16_t>(nWidth));
    writer.WriteU16(static_cast<uint16_t>(nHeight));
    four("strf");
    writer.WriteU32(40);
    writer.WriteU32(40);
    writer.WriteU32(static_cast<uint32_t>(nWidth));
    writer.WriteU32(static_cast<uint32_t>(nHeight));
    writer.WriteU16(1);
    writer.WriteU16(16);
    for (uint32_t dw : {0u, static_cast<uint32_t>(nFrameBytes), 0u, 0u, 0u, 0u})
        writer.WriteU32(dw);
    four("LIST");
    writer.WriteU32(dwMovi);
    four("movi");
    const std::vector<uint8_t> padding(RowBytes(nWidth) - static_cast<size_t>(nWidth) * 2, 0);
    for (const auto& frame : frames) {
        four("00db");
        writer.WriteU32(static_cast<uint32_t>(nFrameBytes));
        for (int y = nHeight - 1; y >= 0; --y) {
            for (int x = 0; x < nWidth; ++x)
                writer.WriteU16(frame[static_cast<size_t>(y) * static_cast<size_t>(nWidth) + static_cast<size_t>(x)]);
            if (!padding.empty())
                writer.WriteBytes(padding.data(), padding.size());
        }
    }
    four("idx1");
    writer.WriteU32(dwIdx1);
    for (uint32_t i = 0; i < nFrames; ++i) {
        four("00db");
        writer.WriteU32(0x10);
        writer.WriteU32(4 + i * static_cast<uint32_t>(8 + nFrameBytes));
        writer.WriteU32(static_cast<uint32_t>(nFrameBytes));
    }
    return !writer.Failed() && plat::writeWholeFile(gamePath, bytes.data(), bytes.size());
}
