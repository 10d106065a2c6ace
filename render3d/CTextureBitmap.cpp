#include "render3d/CTextureBitmap.h"

#include "common/CBinaryFile.h"

namespace {

constexpr int64_t kMaxFileBytes = 64ll * 1024 * 1024;

}  // namespace

uint32_t CTextureBitmap::Colour(int x, int y) const
{
    const size_t i = static_cast<size_t>(y) * m_nWidth + x;
    return m_Palette.empty() ? m_Colours[i] : m_Palette[m_Indices[i]];
}

std::unique_ptr<CTextureBitmap> CTextureBitmap::Read(FILE* pFile, int64_t nSize, std::string* pError)
{
    auto fail = [pError](const char* pszReason) {
        if (pError)
            *pError = pszReason;
        return std::unique_ptr<CTextureBitmap>();
    };
    if (!pFile || nSize < 54)
        return fail("too short for a bitmap");
    if (nSize > kMaxFileBytes)
        return fail("too large for a texture");
    // The whole file in memory, so that every read below is bounded by its size.
    std::vector<uint8_t> bytes(static_cast<size_t>(nSize));
    CBinaryReader fileReader(pFile);
    if (!fileReader.CheckCount(static_cast<uint64_t>(nSize), 1) || !fileReader.ReadBytes(bytes.data(), bytes.size()))
        return fail("shorter than its size");
    FILE* pMemory = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!pMemory)
        return fail("cannot be read");
    std::unique_ptr<FILE, int (*)(FILE*)> memory(pMemory, fclose);
    CBinaryReader reader(pMemory);

    uint16_t wType = 0;
    uint32_t dwFileSize = 0, dwReserved = 0, dwOffBits = 0;
    uint32_t dwHeaderSize = 0, dwCompression = 0, dwSizeImage = 0, dwClrUsed = 0, dwClrImportant = 0;
    int32_t nWidth = 0, nHeight = 0, nXPels = 0, nYPels = 0;
    uint16_t wPlanes = 0, wBitCount = 0;
    reader.ReadU16(wType);
    reader.ReadU32(dwFileSize);
    reader.ReadU32(dwReserved);
    reader.ReadU32(dwOffBits);
    reader.ReadU32(dwHeaderSize);
    reader.ReadI32(nWidth);
    reader.ReadI32(nHeight);
    reader.ReadU16(wPlanes);
    reader.ReadU16(wBitCount);
    reader.ReadU32(dwCompression);
    reader.ReadU32(dwSizeImage);
    reader.ReadI32(nXPels);
    reader.ReadI32(nYPels);
    reader.ReadU32(dwClrUsed);
    reader.ReadU32(dwClrImportant);
    if (reader.Failed() || wType != 0x4D42)
        return fail("not a bitmap file");
    if (dwHeaderSize < 40 || !reader.Skip(dwHeaderSize - 40))
        return fail("damaged information header");
    if (dwCompression != 0)
        return fail("compressed bitmaps are not textures");
    if (wBitCount != 8 && wBitCount != 24 && wBitCount != 32)
        return fail("only 8-, 24- and 32-bit bitmaps are textures");
    const bool bTopDown = nHeight < 0;
    const int64_t nRows = bTopDown ? -static_cast<int64_t>(nHeight) : nHeight;
    if (nWidth <= 0 || nWidth > kMaxSide || nRows <= 0 || nRows > kMaxSide)
        return fail("bad picture size");

    std::unique_ptr<CTextureBitmap> bitmap(new CTextureBitmap());
    bitmap->m_nWidth = nWidth;
    bitmap->m_nHeight = static_cast<int>(nRows);
    if (wBitCount == 8) {
        const uint32_t dwEntries = dwClrUsed ? dwClrUsed : 256;
        if (dwEntries > 256)
            return fail("colour table of more than 256 entries");
        if (!reader.CheckCount(dwEntries, 4))
            return fail("colour table beyond the end of the file");
        bitmap->m_Palette.resize(dwEntries);
        for (uint32_t& entry : bitmap->m_Palette) {
            uint8_t bgra[4];
            reader.ReadBytes(bgra, 4);
            entry = (static_cast<uint32_t>(bgra[2]) << 16) | (static_cast<uint32_t>(bgra[1]) << 8) | bgra[0];
        }
    }
    const int64_t nPosition = static_cast<int64_t>(bytes.size()) - reader.Remaining();
    if (dwOffBits < nPosition || dwOffBits > bytes.size())
        return fail("pixel offset outside the file");
    reader.Skip(dwOffBits - static_cast<uint64_t>(nPosition));
    const int64_t nStride = ((static_cast<int64_t>(nWidth) * wBitCount + 31) / 32) * 4;
    if (reader.Failed() || !reader.CheckCount(static_cast<uint64_t>(nRows), static_cast<uint64_t>(nStride)))
        return fail("pixels beyond the end of the file");

    const size_t nPixels = static_cast<size_t>(nWidth) * static_cast<size_t>(nRows);
    if (wBitCount == 8)
        bitmap->m_Indices.resize(nPixels);
    else
        bitmap->m_Colours.resize(nPixels);
    std::vector<uint8_t> row(static_cast<size_t>(nStride));
    for (int64_t r = 0; r < nRows; ++r) {
        reader.ReadBytes(row.data(), row.size());
        const size_t y = static_cast<size_t>(bTopDown ? r : nRows - 1 - r);
        for (int x = 0; x < nWidth; ++x) {
            const size_t i = y * static_cast<size_t>(nWidth) + static_cast<size_t>(x);
            if (wBitCount == 8) {
                const uint8_t index = row[static_cast<size_t>(x)];
                if (index >= bitmap->m_Palette.size())
                    return fail("a pixel names a colour beyond the colour table");
                bitmap->m_Indices[i] = index;
            } else {
                const uint8_t* p = row.data() + static_cast<size_t>(x) * (wBitCount / 8);
                bitmap->m_Colours[i] = (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
            }
        }
    }
    if (reader.Failed())
        return fail("pixels beyond the end of the file");
    return bitmap;
}
