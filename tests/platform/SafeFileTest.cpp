// Whole-file writes: the old file survives every failure, and no temporary
// is left behind.
#include "platform/Files.h"
#include "platform/SafeFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brellox-safefile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        m_target = m_root + "/world.bin";
        std::ofstream(m_target, std::ios::binary) << "the old file";
    }
    void TearDown() override { std::system(("rm -rf '" + m_root + "'").c_str()); }
    std::string Target() const
    {
        std::ifstream in(m_target, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> Files() const { return plat::listFiles(m_root, "*"); }

    std::string m_root;
    std::string m_target;
};

TEST_F(SafeFileTest, AWriterThatFailsMidwayLeavesTheOldFileAndNoTemporary)
{
    const bool bWritten = plat::writeFileSafely(m_target, [](FILE* pFile) {
        std::fputs("half of a new ", pFile);
        std::fflush(pFile);
        return false;
    });
    EXPECT_FALSE(bWritten);
    EXPECT_EQ(Target(), "the old file");
    EXPECT_EQ(Files(), std::vector<std::string>{"world.bin"});
}

TEST_F(SafeFileTest, AFileTooLargeForTheDiskLeavesTheOldFileAndNoTemporary)
{
    // The child may write at most 4 KB, as on a disk that is full: the
    // writes themselves fail.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::string big(1 << 20, 'x');
        const bool bWritten = plat::writeFileSafely(m_target, [&big](FILE* pFile) {
            return std::fwrite(big.data(), 1, big.size(), pFile) == big.size();
        });
        const bool bCopied = plat::writeWholeFile(m_target, big.data(), big.size());
        // A writer that does not look: the failure still shows when the file is flushed.
        const bool bUnchecked = plat::writeFileSafely(m_target, [&big](FILE* pFile) {
            std::fwrite(big.data(), 1, 6000, pFile);
            return true;
        });
        _exit(bWritten || bCopied || bUnchecked ? 1 : 0);
    }
    int nStatus = 0;
    ASSERT_EQ(waitpid(child, &nStatus, 0), child);
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(WEXITSTATUS(nStatus), 0) << "a write that failed was reported done";
    EXPECT_EQ(Target(), "the old file");
    EXPECT_EQ(Files(), std::vector<std::string>{"world.bin"});
}

TEST_F(SafeFileTest, AWholeWriteReplacesTheFileAndKeepsItsMode)
{
    ASSERT_EQ(chmod(m_target.c_str(), 0640), 0);
    ASSERT_TRUE(plat::writeWholeFile(m_target, "new", 3));
    EXPECT_EQ(Target(), "new");
    struct stat st {};
    ASSERT_EQ(stat(m_target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Files(), std::vector<std::string>{"world.bin"});

    // Copying over a file follows the same rule: a missing source changes nothing.
    EXPECT_FALSE(plat::copyFile(m_root + "/missing", m_target));
    EXPECT_EQ(Target(), "new");
}

TEST_F(SafeFileTest, AFileNotCommittedIsNeverPutInPlace)
{
    {
        plat::SafeFile file(m_target);
        ASSERT_NE(file.file(), nullptr);
        std::fputs("abandoned", file.file());
    }
    EXPECT_EQ(Target(), "the old file");
    EXPECT_EQ(Files(), std::vector<std::string>{"world.bin"});
    // A folder that does not exist has no room for the temporary.
    EXPECT_FALSE(plat::writeWholeFile(m_root + "/none/world.bin", "x", 1));
}

}  // namespace
