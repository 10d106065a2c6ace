// The text compiler refuses malformed sources with the file, line and reason,
// and writes what it accepts in the layout the game reads.
#include "tools/textkit/TextCompiler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;

namespace {

using Compile = std::function<bool(const std::string&, const std::string&, std::string&)>;

class TextCompilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("textkit_" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Source(const std::string& text)
    {
        const std::string path = (m_folder / "source.txt").string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string Output() const { return (m_folder / "out" / "script.bin").string(); }
    std::string Bytes() const
    {
        std::ifstream in(Output(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static uint32_t U32(const std::string& bytes, size_t at)
    {
        return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
               static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
    }

    fs::path m_folder;
};

TEST_F(TextCompilerTest, RefusesMalformedSourcesWithLineAndReason)
{
    struct Case {
        Compile compile;
        const char* source;
        const char* line;
        const char* reason;
    };
    const Case cases[] = {
        {tools::compileControlScript, "# fine\n5 | Save\nfive | Save\n", ":3: ", "is not a number"},
        {tools::compileControlScript, "1175 | Save\n", ":1: ", "outside 0-1174"},
        {tools::compileControlScript, "5 | Save\n5 | Load\n", ":2: ", "already given on line 1"},
        {tools::compileControlScript, "5 |  | \n", ":1: ", "neither caption nor tooltip"},
        {tools::compileControlScript, "5 | a\\tb\\tc\n", ":1: ", "at most two lines"},
        {tools::compileControlScript, "5 | a\\qb\n", ":1: ", "unknown escape"},
        {tools::compileControlScript, "5 | a\tb\n", ":1: ", "raw TAB"},
        {tools::compileControlScript, "5 | \xe2\x82\xac ok | \xe6\xbc\xa2\n", ":1: ", "character set"},
        {tools::compileControlScript, "5\n", ":1: ", "expected"},
        {tools::compileTableTextScript, "92.1 | England\n231.0 | x\n", ":2: ", "outside 0-230"},
        {tools::compileTableTextScript, "92 | England\n", ":1: ", "not set.item"},
        {tools::compileTableTextScript, "92.1 | England\n92.1 | Scotland\n", ":2: ", "already given on line 1"},
        {tools::compileTableTextScript, "92.1 | \n", ":1: ", "empty text"},
        {tools::compileTextDescriptionScript, "3 | 10 | 10 | a\n4 | 1 | 1 | b\n3 | 2 | 2 | c\n", ":3: ", "is split"},
        {tools::compileTextDescriptionScript, "3 | middle\n", ":1: ", "unknown alignment"},
        {tools::compileTextDescriptionScript, "3 | 9993 | 10 | a\n", ":1: ", "outside 0-9990"},
        {tools::compileTextDescriptionScript, "3 | 1 | 1 | 1\\t2\\t3\\t4\\t5\\t6\\t7\n", ":1: ", "at most 6 lines"},
    };
    for (const Case& c : cases) {
        const std::string path = Source(c.source);
        std::string error;
        EXPECT_FALSE(c.compile(path, Output(), error)) << c.source;
        EXPECT_EQ(error.rfind(path + c.line, 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(Output())) << c.source;
    }
}

TEST_F(TextCompilerTest, WritesTheControlScriptLayout)
{
    std::string error;
    ASSERT_TRUE(tools::compileControlScript(Source("3 | Go\\ton | Tip\n1174 | | Tip\n7 | a \\| b\n"), Output(), error))
        << error;
    const std::string bytes = Bytes();
    ASSERT_GT(bytes.size(), 9408u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[2]) | static_cast<uint8_t>(bytes[3]) << 8, 1175);
    EXPECT_EQ(U32(bytes, 4), bytes.size() - 9408);
    const std::string block = bytes.substr(9408);
    EXPECT_EQ(block[0], '\0');  // offset 0 means no text
    EXPECT_STREQ(block.c_str() + U32(bytes, 8 + 3 * 8), "Go\ton");
    EXPECT_STREQ(block.c_str() + U32(bytes, 8 + 7 * 8), "a | b");
    EXPECT_EQ(U32(bytes, 8 + 1174 * 8), 0u);
    // Equal texts share one copy.
    EXPECT_EQ(U32(bytes, 8 + 1174 * 8 + 4), U32(bytes, 8 + 3 * 8 + 4));
    EXPECT_EQ(U32(bytes, 8 + 4 * 8), 0u);
}

}  // namespace
