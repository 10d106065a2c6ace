#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "common/ShellServices.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// The same bytes behind a reader over a stream or over memory: every test of
// the reader runs on both.
class BinarySource {
public:
    BinarySource(std::vector<uint8_t> bytes, bool bMemory) : m_bytes(std::move(bytes))
    {
        if (bMemory)
            return;
        m_pFile = std::tmpfile();
        if (m_pFile) {
            std::fwrite(m_bytes.data(), 1, m_bytes.size(), m_pFile);
            std::rewind(m_pFile);
        }
    }
    ~BinarySource()
    {
        if (m_pFile)
            std::fclose(m_pFile);
    }
    BinarySource(const BinarySource&) = delete;
    BinarySource& operator=(const BinarySource&) = delete;
    CBinaryReader Reader() const { return m_pFile ? CBinaryReader(m_pFile) : CBinaryReader(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
    FILE* m_pFile = nullptr;
};

void WriteSample(CBinaryWriter& writer)
{
    writer.WriteU8(0xAB);
    writer.WriteI16(-2);
    writer.WriteU32(0x01020304);
    writer.WriteZeros(3);
    writer.WriteFloat(1.5f);
}

class CBinaryFileTest : public ::testing::TestWithParam<bool> {
protected:
    bool Memory() const { return GetParam(); }
};

TEST_P(CBinaryFileTest, RoundTripIsLittleEndian)
{
    // A writer into memory gives the bytes a writer into a stream gives.
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    CBinaryWriter fileWriter(file);
    WriteSample(fileWriter);
    ASSERT_FALSE(fileWriter.Failed());
    std::rewind(file);
    std::vector<uint8_t> fromFile(32);
    fromFile.resize(std::fread(fromFile.data(), 1, fromFile.size(), file));
    std::fclose(file);
    std::vector<uint8_t> bytes;
    CBinaryWriter memoryWriter(bytes);
    WriteSample(memoryWriter);
    ASSERT_FALSE(memoryWriter.Failed());
    ASSERT_EQ(bytes, fromFile);
    ASSERT_EQ(bytes.size(), 14u);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0x04);
    EXPECT_EQ(bytes[6], 0x01);

    BinarySource source(bytes, Memory());
    CBinaryReader reader = source.Reader();
    EXPECT_EQ(reader.Remaining(), 14);
    uint8_t u8;
    int16_t i16;
    uint32_t u32;
    float f;
    uint8_t peeked[2] = {};
    EXPECT_TRUE(reader.ReadU8(u8));
    EXPECT_TRUE(reader.Peek(1, peeked, 2));  // looks ahead without moving on
    EXPECT_TRUE(reader.ReadI16(i16));
    EXPECT_TRUE(reader.ReadU32(u32));
    EXPECT_TRUE(reader.Skip(3));
    EXPECT_EQ(reader.Consumed(), 10);
    EXPECT_TRUE(reader.ReadFloat(f));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(peeked[0], 0xFF);
    EXPECT_EQ(peeked[1], 0x04);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(u32, 0x01020304u);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(reader.Remaining(), 0);
    EXPECT_FALSE(reader.Failed());
}

TEST_P(CBinaryFileTest, ShortReadFailsAndStaysFailed)
{
    BinarySource source({1, 2}, Memory());
    CBinaryReader reader = source.Reader();
    uint8_t peeked[4] = {};
    EXPECT_TRUE(reader.Peek(0, peeked, 2));
    uint32_t value = 77;
    EXPECT_FALSE(reader.ReadU32(value));
    EXPECT_EQ(value, 0u);  // a failed read never leaves stale bytes
    EXPECT_TRUE(reader.Failed());
    uint8_t byte;
    EXPECT_FALSE(reader.ReadU8(byte));  // sticky, though a byte is there
    EXPECT_FALSE(reader.Skip(1));

    BinarySource shortPeek({1, 2}, Memory());
    CBinaryReader peeker = shortPeek.Reader();
    EXPECT_FALSE(peeker.Peek(1, peeked, 2));  // one byte short
    EXPECT_TRUE(peeker.Failed());
}

TEST_P(CBinaryFileTest, CheckCountRefusesCountsLargerThanTheFile)
{
    std::vector<uint8_t> bytes(40);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i);
    BinarySource source(bytes, Memory());
    CBinaryReader reader = source.Reader();
    EXPECT_TRUE(reader.CheckCount(10, 4));
    EXPECT_FALSE(reader.CheckCount(0xFFFFFFFFu, 4));
    EXPECT_TRUE(reader.Failed());
}

INSTANTIATE_TEST_SUITE_P(StreamAndMemory, CBinaryFileTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Memory" : "Stream"; });

TEST(CBinaryWriterTest, StagedWriterGivesTheDirectWritersBytesAcrossBlocks)
{
    // Fields, a run longer than a staging block and zeros, so that blocks
    // fill and flush at every kind of write; the order must survive.
    const std::vector<uint8_t> run(100000, 0x5A);
    auto writeAll = [&run](CBinaryWriter& writer) {
        for (int i = 0; i < 30000; ++i) {
            WriteSample(writer);
            if (i == 7000)
                writer.WriteBytes(run.data(), run.size());
            if (i % 997 == 0)
                writer.WriteZeros(70000);
        }
    };
    std::vector<uint8_t> direct;
    CBinaryWriter directWriter(direct);
    writeAll(directWriter);
    std::vector<uint8_t> staged;
    {
        CBinaryWriter stagedWriter(staged, CBinaryWriter::Staged::Yes);
        writeAll(stagedWriter);
        stagedWriter.Flush();
        EXPECT_EQ(staged.size(), direct.size());
        WriteSample(stagedWriter);  // the writer's end flushes the rest
    }
    WriteSample(directWriter);
    EXPECT_TRUE(staged == direct);
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

// The question a busy caller asks before formatting follows the sink as it
// is set and removed.
TEST(DebugLogTest, OnWhileASinkListens)
{
    const bool bToStderr = std::getenv("BRELLOX_LOG") != nullptr;
    EXPECT_EQ(IsDebugLogOn(), bToStderr);
    SetDebugLogSink([](int, const std::string&) {});
    EXPECT_TRUE(IsDebugLogOn());
    SetDebugLogSink(nullptr);
    EXPECT_EQ(IsDebugLogOn(), bToStderr);
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
