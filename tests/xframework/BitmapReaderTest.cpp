#include "PixelLayout.h"

#include "xframework/CXSurface.h"

#include "common/DebugLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A 3 x 2 bitmap of 24 bits, bottom-up, rows padded to 12 bytes: the top row
// is red, magenta, white; the bottom row black, green, blue.
std::vector<uint8_t> ValidBitmap()
{
    std::vector<uint8_t> b(54 + 24, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, 54 + 24);
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, 3);
    Put32(b, 22, 2);
    Put16(b, 26, 1);
    Put16(b, 28, 24);
    const uint8_t bottom[9] = {0, 0, 0, 0, 255, 0, 255, 0, 0};          // BGR
    const uint8_t top[9] = {0, 0, 255, 255, 0, 255, 255, 255, 255};      // BGR
    std::memcpy(&b[54], bottom, 9);
    std::memcpy(&b[66], top, 9);
    return b;
}

FILE* Stream(const std::vector<uint8_t>& bytes)
{
    FILE* f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    return f;
}

class BitmapReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseLayout(false);
        SetDebugLogSink([this](int, const std::string& line) { m_log.push_back(line); });
    }
    void TearDown() override { SetDebugLogSink(nullptr); }
    std::vector<std::string> m_log;
};

TEST_F(BitmapReader, ReadsAnUncompressedBitmapAndKeepsMagentaAsTheKey)
{
    std::vector<uint8_t> bytes = ValidBitmap();
    bytes.push_back(0xAB);  // the next archive member
    FILE* f = Stream(bytes);
    CXSurface s;
    ASSERT_TRUE(s.CreateFromBitmap(f, true, true, 54 + 24));
    EXPECT_EQ(std::ftell(f), 54 + 24);  // stopped at the bitmap's end
    std::fclose(f);
    ASSERT_EQ(s.m_nWidth, 3);
    ASSERT_EQ(s.m_nHeight, 2);
    EXPECT_EQ(s.m_pSurface->pixel(0, 0), 0xF800);
    EXPECT_EQ(s.m_pSurface->pixel(1, 0), 0xF81F);
    EXPECT_EQ(s.m_pSurface->pixel(2, 0), 0xFFFF);
    EXPECT_EQ(s.m_pSurface->pixel(1, 1), 0x07E0);
    EXPECT_EQ(s.m_pSurface->pixel(2, 1), 0x001F);
    EXPECT_TRUE(s.m_pSurface->hasColorKey());
    EXPECT_EQ(s.m_pSurface->colorKey(), 0xF81F);
}

TEST_F(BitmapReader, RefusesEveryFileItCannotReadSafely)
{
    struct Case {
        const char* what;
        void (*damage)(std::vector<uint8_t>&);
    };
    const Case cases[] = {
        {"not BM", [](std::vector<uint8_t>& b) { b[0] = 'X'; }},
        {"8 bits", [](std::vector<uint8_t>& b) { Put16(b, 28, 8); }},
        {"compressed", [](std::vector<uint8_t>& b) { Put32(b, 30, 1); }},
        {"colour table", [](std::vector<uint8_t>& b) { Put32(b, 10, 54 + 1024); }},
        {"other header", [](std::vector<uint8_t>& b) { Put32(b, 14, 108); }},
        {"size larger than the rows", [](std::vector<uint8_t>& b) { Put32(b, 2, 54 + 4000); }},
        {"size smaller than the rows", [](std::vector<uint8_t>& b) { Put32(b, 2, 54 + 12); }},
        {"rows cut short", [](std::vector<uint8_t>& b) { b.resize(54 + 20); }},
        {"headers cut short", [](std::vector<uint8_t>& b) { b.resize(30); }},
        {"zero width", [](std::vector<uint8_t>& b) { Put32(b, 18, 0); }},
        {"huge", [](std::vector<uint8_t>& b) {
             Put32(b, 18, 100000);
             Put32(b, 22, 100000);
             Put32(b, 2, 0xFFFFFFF0u);
         }},
        {"empty", [](std::vector<uint8_t>& b) { b.clear(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = ValidBitmap();
        c.damage(bytes);
        m_log.clear();
        FILE* f = Stream(bytes);
        CXSurface s;
        EXPECT_FALSE(s.CreateFromBitmap(f, true, true));
        EXPECT_EQ(s.m_pSurface, nullptr);
        EXPECT_LE(std::ftell(f), 54);  // never read into the rows of a refused file
        std::fclose(f);
        ASSERT_FALSE(m_log.empty());
        EXPECT_EQ(m_log[0].rfind("[LoadBitmapFromFile]", 0), 0u) << m_log[0];
    }
}

TEST_F(BitmapReader, StaysInsideItsArchiveMember)
{
    // The bitmap claims its whole length but the member is shorter: the bytes
    // after the member belong to another one.
    FILE* f = Stream(ValidBitmap());
    CXSurface s;
    EXPECT_FALSE(s.CreateFromBitmap(f, true, true, 60));
    std::fclose(f);
    EXPECT_FALSE(s.CreateFromBitmap(nullptr, true, true));
}

TEST_F(BitmapReader, LoadFromBitmapFileReloadsAnExistingSurface)
{
    CXSurface s;
    ASSERT_NE(s.Create(3, 2, true, false), nullptr);
    s.m_pSurface->fill(nullptr, 0x1234);
    FILE* f = Stream(ValidBitmap());
    EXPECT_TRUE(s.LoadFromBitmapFile(f));
    std::fclose(f);
    EXPECT_EQ(s.m_pSurface->pixel(0, 0), 0xF800);
    std::vector<uint8_t> bad = ValidBitmap();
    bad[1] = 'A';
    f = Stream(bad);
    EXPECT_FALSE(s.LoadFromBitmapFile(f));
    std::fclose(f);
    EXPECT_EQ(s.m_pSurface->pixel(0, 0), 0xF800);
}

}  // namespace
