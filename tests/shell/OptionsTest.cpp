// Options load from the per-user store with their defaults written when
// missing, and values a reader could index with are kept inside their range.
#include "shell/COptions.h"
#include "xframework/DrawingFunctions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("options_" + std::to_string(::getpid()));
        fs::create_directories(m_folder / "Data" / "Configs");
        const char* previous = std::getenv("XDG_CONFIG_HOME");
        m_previousConfig = previous ? previous : "";
        m_hadConfig = previous != nullptr;
        ::setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
        m_previousFolder = fs::current_path();
        fs::current_path(m_folder);
    }
    void TearDown() override
    {
        fs::current_path(m_previousFolder);
        if (m_hadConfig)
            ::setenv("XDG_CONFIG_HOME", m_previousConfig.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(m_folder);
    }
    void SetLanguage(const char* pszLanguage)
    {
        std::ofstream(m_folder / "Data" / "Configs" / "Language.cfg") << "LANGUAGE=" << pszLanguage << "\n";
    }
    static void Store(const char* pszName, const char* pszValue)
    {
        SetRegistryString(*GetRegistryKey(COptions::kOptionsKey), pszName, pszValue);
    }
    static std::string Stored(const char* pszName)
    {
        char szBuffer[255];
        return GetRegistryString(*GetRegistryKey(COptions::kOptionsKey), pszName, szBuffer) ? szBuffer : "(missing)";
    }

    fs::path m_folder;
    fs::path m_previousFolder;
    std::string m_previousConfig;
    bool m_hadConfig = false;
};

TEST_F(OptionsTest, FirstStartWritesEveryDefault)
{
    SetLanguage("English");
    COptions options;
    options.LoadLanguageConfig();
    options.LoadOptions(true);
    const std::pair<const char*, const char*> expected[] = {
        {"MssVolMusic", "127"}, {"MssVolSFX", "127"}, {"MssVolCommentary", "96"}, {"MssVolAmbient", "73"},
        {"TacticsNames", "1"}, {"TacticsNumbers", "1"}, {"TacticsGrid", "1"}, {"TacticsOppsition", "1"},
        {"TacticsInterpolate", "1"}, {"MatchHighlightsKickoff", "1"}, {"MatchHighlightsCornerkick", "1"},
        {"MatchHighlightsFreekick", "1"}, {"MatchHighlightsPenaltykick", "1"}, {"MatchHighlightsGoal", "1"},
        {"MatchHighlightsAttemptsonTarget", "1"}, {"MatchHighlightsYellowcard", "1"},
        {"MatchHighlightsRedcard", "1"}, {"MatchHighlightsSubstitution", "1"}, {"MatchNames", "1"},
        {"MatchNumbers", "1"}, {"MatchLineUps", "1"}, {"MatchPlayerFitness", "1"}, {"MatchPlayerAnger", "1"},
        {"MatchPlayerMorale", "1"}, {"Ratings", "0"}, {"MatchType", "1"}, {"Currency", "0"}, {"Date", "0"},
        {"ContractsSalaries", "1"}, {"ProcessGame", "1"}, {"ToolTipsDelay", "2"}, {"AutoHelp", "1"},
        {"3DSettings", "0"}};
    for (const auto& [pszName, pszValue] : expected)
        EXPECT_EQ(Stored(pszName), pszValue) << pszName;
    EXPECT_EQ(options.m_wCommentaryVolume, 96);
    EXPECT_EQ(options.m_MatchHighlightFlags[8], 1);
    EXPECT_EQ(options.m_nToolTipsDelay, 2);
    EXPECT_EQ(options.m_n3DSettings, 0);
}

TEST_F(OptionsTest, LanguageChoosesCommentaryVolumeAndCurrency)
{
    const struct {
        const char* pszLanguage;
        int nCurrency;
        int nCommentary;
    } cases[] = {{"Spanish", 4, 127}, {"english", 0, 96}, {"French", 2, 96}, {"GermanPlus", 3, 96},
                 {"Italian", 1, 96}, {"Welsh", 0, 96}};
    for (const auto& c : cases) {
        fs::remove_all(m_folder / "config");
        SetLanguage(c.pszLanguage);
        COptions options;
        options.LoadLanguageConfig();
        options.LoadOptions(true);
        EXPECT_STREQ(options.GetLanguage(), c.pszLanguage);
        EXPECT_EQ(options.m_nCurrency, c.nCurrency) << c.pszLanguage;
        EXPECT_EQ(options.m_wCommentaryVolume, c.nCommentary) << c.pszLanguage;
        EXPECT_EQ(Stored("Currency"), std::to_string(c.nCurrency)) << c.pszLanguage;
        // The number separators follow the loaded currency.
        char cThousands = 'x';
        char cDecimal = 'y';
        GetNumberSeparators(&cThousands, &cDecimal);
        EXPECT_EQ(cThousands, c.nCurrency == 0 ? ',' : c.nCurrency == 2 ? ' ' : '.') << c.pszLanguage;
    }
}

TEST_F(OptionsTest, StoredValuesAreCheckedBeforeUse)
{
    SetLanguage("Spanish");
    Store("TacticsGrid", "2");       // a flag is 1 only when stored as 1
    Store("Currency", "9");          // past the six currencies
    Store("MssVolMusic", "300");     // past the loudest volume
    Store("Date", "-4");
    Store("Ratings", "two");         // not a number: missing
    Store("3DSettings", "0");
    COptions options;
    options.LoadLanguageConfig();
    options.LoadOptions(false);
    EXPECT_EQ(options.m_TacticsFlags[2], 0);
    EXPECT_EQ(options.m_nCurrency, COptions::kCurrencyCount - 1);
    EXPECT_EQ(options.m_wMusicVolume, 127);
    EXPECT_EQ(options.m_nDate, 0);
    EXPECT_EQ(options.m_nRatings, 0);
    EXPECT_EQ(Stored("Ratings"), "0");
    // Without 3-D the setting reads as 2 while the store keeps 0.
    EXPECT_EQ(options.m_n3DSettings, 2);
    EXPECT_EQ(Stored("3DSettings"), "0");
    EXPECT_EQ(Stored("Currency"), "9");
}

TEST_F(OptionsTest, CompetitionNamesComeFromTheGeneralConfig)
{
    std::ofstream(m_folder / "Data" / "Configs" / "General.cfg") << "ENGLISH_FA=Challenge Cup\n";
    COptions options;
    EXPECT_STREQ(options.GetCompetitionName(4), "English Cup");
    options.LoadGeneralConfig();
    EXPECT_STREQ(options.GetCompetitionName(4), "Challenge Cup");
    EXPECT_STREQ(options.GetCompetitionName(18), "Portugese Cup");
    EXPECT_STREQ(options.GetCompetitionName(19), "");
}

TEST(CurrencyTableTest, EverySelectableCurrencyHasAFactorAndRules)
{
    EXPECT_FLOAT_EQ(GetCurrencyFactor(1), 2780.0f);
    EXPECT_FLOAT_EQ(GetCurrencyFactor(4), 240.0f);
    EXPECT_GT(GetCurrencyFactor(5), 0.0f);
    EXPECT_FLOAT_EQ(GetCurrencyFactor(6), 1.0f);
    EXPECT_EQ(GetCurrencyRules(1, true, true).cSuffix, 'k');
    EXPECT_EQ(GetCurrencyRules(2, true, true).nDecimals, 0);
    EXPECT_EQ(GetCurrencyRules(5, true, true).nDecimals, 2);
    EXPECT_EQ(GetCurrencyRules(5, true, false).nDecimals, 0);
    EXPECT_FALSE(GetCurrencyRules(5, true, true).bSuffix);
}

}  // namespace
