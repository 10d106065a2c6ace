#include "platform/InstanceLock.h"
#include "platform/OptionStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// A scratch folder standing in for the user's runtime and configuration folders.
class UserFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brellox-user-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        setenv("XDG_RUNTIME_DIR", m_root.c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_root.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("XDG_RUNTIME_DIR");
        unsetenv("XDG_CONFIG_HOME");
        chmod(m_root.c_str(), 0700);
        std::system(("rm -rf '" + m_root + "'").c_str());
    }
    std::string m_root;
};

TEST_F(UserFolders, ASecondLockRefusesAndAsksTheFirstToComeForward)
{
    while (plat::InstanceLock::takeFrontRequest()) {
    }
    bool otherCopy = true;
    std::unique_ptr<plat::InstanceLock> first(plat::InstanceLock::acquire("Corravin", otherCopy));
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(otherCopy);
    EXPECT_EQ(plat::InstanceLock::runtimeFolder(), m_root + "/brellox");

    std::unique_ptr<plat::InstanceLock> second(plat::InstanceLock::acquire("Corravin", otherCopy));
    EXPECT_EQ(second, nullptr);
    EXPECT_TRUE(otherCopy);
    bool asked = false;
    for (int i = 0; i < 200 && !asked; ++i) {
        asked = plat::InstanceLock::takeFrontRequest();
        if (!asked)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(asked);
    EXPECT_FALSE(plat::InstanceLock::takeFrontRequest());  // once per request

    // Another name is another program.
    std::unique_ptr<plat::InstanceLock> other(plat::InstanceLock::acquire("Launcher", otherCopy));
    EXPECT_NE(other, nullptr);
    first.reset();
    std::unique_ptr<plat::InstanceLock> third(plat::InstanceLock::acquire("Corravin", otherCopy));
    EXPECT_NE(third, nullptr);
    EXPECT_FALSE(otherCopy);
}

TEST_F(UserFolders, OptionsAreKeptAsKeyValueLines)
{
    {
        plat::OptionStore store("KAVO\\Options");
        std::string value;
        EXPECT_FALSE(store.getString("MssVolMusic", value));
        EXPECT_TRUE(store.setString("MssVolMusic", "127"));
        EXPECT_TRUE(store.setString("Currency", "4"));
        EXPECT_TRUE(store.setString("MssVolMusic", "96"));
        EXPECT_TRUE(store.setString("LastSaveGame", "Data\\Saves\\Season 2"));
        EXPECT_FALSE(store.setString("Bad\nName", "1"));
        EXPECT_EQ(store.path(), m_root + "/brellox/KAVO/Options.cfg");
    }
    std::ifstream in(m_root + "/brellox/KAVO/Options.cfg");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "Currency=4\nLastSaveGame=Data\\Saves\\Season 2\nMssVolMusic=96\n");
    plat::OptionStore again("KAVO\\Options");
    std::string value;
    ASSERT_TRUE(again.getString("MssVolMusic", value));
    EXPECT_EQ(value, "96");
    ASSERT_TRUE(again.getString("LastSaveGame", value));
    EXPECT_EQ(value, "Data\\Saves\\Season 2");
}

TEST_F(UserFolders, AnUnwritableFolderFailsSilently)
{
    // A plain file where the configuration folder should be: no folder can be made.
    std::ofstream(m_root + "/brellox") << "in the way";
    plat::OptionStore store("KAVO\\Options");
    EXPECT_FALSE(store.setString("Date", "1"));
    std::string value;
    EXPECT_TRUE(store.getString("Date", value));  // kept in memory for this run
}

}  // namespace
