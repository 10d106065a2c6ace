#include "LogCapture.h"

#include "shell/CConfigFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string WriteTemporary(const std::string& text)
{
    char path[] = "/tmp/brellox-cfg-XXXXXX";
    const int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(ConfigFile, ReadsKeysAndValuesAsTheyStand)
{
    const std::string path = WriteTemporary(
        "LANGUAGE=English\n"
        "Spaced Key = spaced value \n"
        "FORMULA=a=b=c\n"
        "EMPTY=\n"
        "LANGUAGE=French\n"
        "WINDOWS=line\r\n");
    CConfigFile config(path.c_str());
    std::remove(path.c_str());
    EXPECT_EQ(config.GetCount(), 6);
    EXPECT_STREQ(config.GetValue("LANGUAGE", "x"), "English");  // the first of two counts
    EXPECT_STREQ(config.GetValue("Spaced Key ", "x"), " spaced value ");
    EXPECT_STREQ(config.GetValue("FORMULA", "x"), "a=b=c");
    EXPECT_STREQ(config.GetValue("EMPTY", "default"), "");      // empty, not the default
    EXPECT_STREQ(config.GetValue("WINDOWS", "x"), "line");
    EXPECT_STREQ(config.GetValue("language", "default"), "default");
    EXPECT_EQ(config.Find("Missing"), nullptr);
}

TEST(ConfigFile, ABadLineEndsTheReadingAndKeepsWhatCameBefore)
{
    LogCapture log;
    const std::string path = WriteTemporary("ONE=1\n\nTWO=2\n");
    {
        CConfigFile config(path.c_str());
        EXPECT_EQ(config.GetCount(), 1);
        EXPECT_STREQ(config.GetValue("ONE", "x"), "1");
        EXPECT_STREQ(config.GetValue("TWO", "none"), "none");
    }
    std::remove(path.c_str());
    ASSERT_GE(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0], "Bad line in config file:");
    EXPECT_EQ(log.lines[1], "   ''");
}

TEST(ConfigFile, AMissingFileGivesTheDefaults)
{
    LogCapture log;
    CConfigFile config("/nonexistent/Data/Configs/General.cfg");
    EXPECT_EQ(config.GetCount(), 0);
    EXPECT_STREQ(config.GetValue("EUROPEAN_KAVO", "KAVO Cup"), "KAVO Cup");
    EXPECT_TRUE(log.Contains("Couldn't open config file '/nonexistent/Data/Configs/General.cfg'. Using defaults."));
}

TEST(ConfigFile, TheRuntimeTreeHasBothConfigurationFiles)
{
    const std::string folder = std::string(BRELLOX_GAME_DIR) + "\\Data\\Configs\\";
    CConfigFile language((folder + "Language.cfg").c_str());
    EXPECT_STREQ(language.GetValue("LANGUAGE", "none"), "English");
    CConfigFile general((folder + "General.cfg").c_str());
    EXPECT_EQ(general.GetCount(), 19);
    EXPECT_STREQ(general.GetValue("PORTUGESE_LEAGUE", "none"), "Portugese Cup");
}

}  // namespace
