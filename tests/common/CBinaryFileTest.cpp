#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "common/ShellServices.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

TEST(CBinaryFileTest, RoundTripIsLittleEndian)
{
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    CBinaryWriter writer(file);
    writer.WriteU8(0xAB);
    writer.WriteI16(-2);
    writer.WriteU32(0x01020304);
    writer.WriteZeros(3);
    writer.WriteFloat(1.5f);
    ASSERT_FALSE(writer.Failed());

    std::rewind(file);
    std::vector<unsigned char> bytes(14);
    ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0x04);
    EXPECT_EQ(bytes[6], 0x01);

    std::rewind(file);
    CBinaryReader reader(file);
    EXPECT_EQ(reader.Remaining(), 14);
    uint8_t u8;
    int16_t i16;
    uint32_t u32;
    float f;
    EXPECT_TRUE(reader.ReadU8(u8));
    EXPECT_TRUE(reader.ReadI16(i16));
    EXPECT_TRUE(reader.ReadU32(u32));
    EXPECT_TRUE(reader.Skip(3));
    EXPECT_TRUE(reader.ReadFloat(f));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(u32, 0x01020304u);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(reader.Remaining(), 0);
    EXPECT_FALSE(reader.Failed());
    std::fclose(file);
}

TEST(CBinaryFileTest, ShortReadFailsAndStaysFailed)
{
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fputc(1, file);
    std::fputc(2, file);
    std::rewind(file);
    CBinaryReader reader(file);
    uint32_t value = 77;
    EXPECT_FALSE(reader.ReadU32(value));
    EXPECT_EQ(value, 0u);  // a failed read never leaves stale bytes
    EXPECT_TRUE(reader.Failed());
    uint8_t byte;
    EXPECT_FALSE(reader.ReadU8(byte));  // sticky, though a byte is there
    std::fclose(file);
}

TEST(CBinaryFileTest, CheckCountRefusesCountsLargerThanTheFile)
{
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    for (int i = 0; i < 40; ++i)
        std::fputc(i, file);
    std::rewind(file);
    CBinaryReader reader(file);
    EXPECT_TRUE(reader.CheckCount(10, 4));
    EXPECT_FALSE(reader.CheckCount(0xFFFFFFFFu, 4));
    EXPECT_TRUE(reader.Failed());
    std::fclose(file);
}

TEST(DebugLogTest, SinkSeesFormattedLines)
{
    std::vector<std::string> lines;
    SetDebugLogSink([&](int, const std::string& line) { lines.push_back(line); });
    DebugLog(0, "[CTest::Run] %d of %s", 3, "four");
    LogElapsedTime("Load");
    SetDebugLogSink(nullptr);
    DebugLog(0, "not seen");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "[CTest::Run] 3 of four");
    EXPECT_NE(lines[1].find("Load: "), std::string::npos);
    EXPECT_NE(lines[1].find(" milliseconds"), std::string::npos);
}

TEST(ShellServicesTest, TableSetsComeFromTheInstalledHandler)
{
    int nCount = -1;
    EXPECT_EQ(GetTableTextSet(17, &nCount), nullptr);
    EXPECT_EQ(nCount, 0);
    static const char* const kTexts[] = {"Light", "Heavy"};
    SetTableTextHandler([](int nTable, int* pnCount) -> const char* const* {
        if (nTable != 17)
            return nullptr;
        if (pnCount)
            *pnCount = 2;
        return kTexts;
    });
    EXPECT_EQ(GetTableTextSet(17, &nCount), kTexts);
    EXPECT_EQ(nCount, 2);
    SetTableTextHandler(nullptr);
}

}  // namespace
