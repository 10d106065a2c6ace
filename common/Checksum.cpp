#include "common/Checksum.h"

#include <array>

namespace {

// Table k gives the remainder of a byte followed by k zero bytes, so that
// eight bytes are folded in with eight lookups and no dependency between
// them (a saved game sums megabytes).
constexpr int kSlices = 8;

constexpr std::array<std::array<uint32_t, 256>, kSlices> MakeTables()
{
    std::array<std::array<uint32_t, 256>, kSlices> tables{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n)
        for (int k = 1; k < kSlices; ++k)
            tables[k][n] = tables[0][tables[k - 1][n] & 0xFF] ^ (tables[k - 1][n] >> 8);
    return tables;
}

constexpr std::array<std::array<uint32_t, 256>, kSlices> kTables = MakeTables();

}  // namespace

uint32_t Crc32(const void* pData, size_t nBytes, uint32_t dwPrevious)
{
    const auto* p = static_cast<const uint8_t*>(pData);
    uint32_t c = ~dwPrevious;
    for (; nBytes >= kSlices; nBytes -= kSlices, p += kSlices) {
        // The bytes in order, whatever the machine's byte order.
        const uint32_t dwLow = c ^ (uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
        c = kTables[7][dwLow & 0xFF] ^ kTables[6][(dwLow >> 8) & 0xFF] ^ kTables[5][(dwLow >> 16) & 0xFF] ^
            kTables[4][dwLow >> 24] ^ kTables[3][p[4]] ^ kTables[2][p[5]] ^ kTables[1][p[6]] ^ kTables[0][p[7]];
    }
    for (; nBytes; --nBytes, ++p)
        c = kTables[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return ~c;
}
