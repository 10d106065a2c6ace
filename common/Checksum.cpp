#include "common/Checksum.h"

#include <array>

namespace {

constexpr std::array<uint32_t, 256> MakeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

}  // namespace

uint32_t Crc32(const void* pData, size_t nBytes, uint32_t dwPrevious)
{
    const auto* p = static_cast<const uint8_t*>(pData);
    uint32_t c = ~dwPrevious;
    for (size_t i = 0; i < nBytes; ++i)
        c = kTable[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return ~c;
}
