#include "common/Checksum.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// The standard check values, and every length and split point of a run
// against the plain bit-by-bit remainder: the eight-byte steps and the
// byte-by-byte tail must agree however a file is cut into pieces.
TEST(Checksum, MatchesTheBitwiseRemainderForEveryLengthAndSplit)
{
    const std::string check = "123456789";
    EXPECT_EQ(Crc32(check.data(), check.size()), 0xCBF43926u);
    EXPECT_EQ(Crc32(nullptr, 0), 0u);

    auto bitwise = [](const std::vector<uint8_t>& bytes) {
        uint32_t c = 0xFFFFFFFFu;
        for (const uint8_t by : bytes) {
            c ^= by;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        return ~c;
    };
    std::vector<uint8_t> bytes;
    uint32_t dwSeed = 12345;
    for (size_t nLength = 0; nLength < 40; ++nLength) {
        const std::vector<uint8_t> run(bytes);
        const uint32_t dwExpected = bitwise(run);
        EXPECT_EQ(Crc32(run.data(), run.size()), dwExpected) << "length " << nLength;
        for (size_t nSplit = 0; nSplit <= run.size(); ++nSplit)
            EXPECT_EQ(Crc32(run.data() + nSplit, run.size() - nSplit, Crc32(run.data(), nSplit)), dwExpected)
                << "length " << nLength << " split " << nSplit;
        dwSeed = dwSeed * 1103515245u + 12345u;
        bytes.push_back(static_cast<uint8_t>(dwSeed >> 16));
    }
}
