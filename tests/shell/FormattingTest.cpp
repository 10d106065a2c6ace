// Money, numbers, dates and scores as the options ask for them, worked by
// hand for every currency and date order.
#include "shell/COptions.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "tools/textkit/TextCompiler.h"
#include "xframework/CXClient.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FormattingTest : public ::testing::Test {
protected:
    void SetUp() override { InstallFormattingOptions(&m_options); }
    void TearDown() override
    {
        InstallFormattingOptions(nullptr);
        SetNumberSeparatorOption(0);
    }
    void SetCurrency(int nCurrency)
    {
        m_options.m_nCurrency = static_cast<uint8_t>(nCurrency);
        SetNumberSeparatorOption(nCurrency);
    }

    COptions m_options;
};

struct MoneyCase {
    int nCurrency;
    double dAmount;
    uint8_t bHundredths;
    uint8_t bDecimals;
    uint8_t nPeriod;
    uint8_t bConvert;
    const char* pszExpected;
};

TEST_F(FormattingTest, MoneyInEveryCurrency)
{
    const MoneyCase cases[] = {
        // 1234567 x 1
        {0, 1234567, 0, 0, MONEY_AS_STORED, 1, "1,234,567"},
        // x 2780 / 1000 = 3432096.26, no decimals without hundredths
        {1, 1234567, 0, 1, MONEY_AS_STORED, 1, "3.432.096k"},
        // 1234.56 x 9.4 = 11604.864: never decimals, space between groups
        {2, 123456, 1, 1, MONEY_AS_STORED, 1, "11 605"},
        {3, 1000, 0, 1, MONEY_AS_STORED, 1, "2.800"},
        // 12345.67 x 240 / 1000 = 2962.9608
        {4, 1234567, 1, 1, MONEY_AS_STORED, 1, "2.962,96k"},
        // x 1.43, cents like the pound
        {5, 1000, 0, 0, MONEY_AS_STORED, 1, "1,430"},
        {5, 12345, 1, 1, MONEY_AS_STORED, 1, "176.53"},
        // Negatives keep their sign in front of the separators and the suffix.
        {0, -123456789, 1, 1, MONEY_AS_STORED, 1, "-1,234,567.89"},
        {1, -1000000, 0, 0, MONEY_AS_STORED, 1, "-2.780.000k"},
        {0, -1234567.891, 0, 1, MONEY_AS_STORED, 1, "-1,234,568"},
        // Decimals need both flags.
        {0, 123456, 1, 0, MONEY_AS_STORED, 1, "1,235"},
        // Yearly sums per week and per month.
        {0, 5200, 0, 0, MONEY_PER_WEEK, 1, "100"},
        {0, 1200, 0, 0, MONEY_PER_MONTH, 1, "100"},
        {3, 52000, 0, 0, MONEY_PER_WEEK, 1, "2.800"},
        // Rounding that carries into a new group, and small amounts.
        {0, 999.6, 0, 0, MONEY_AS_STORED, 1, "1,000"},
        {0, 999999.5, 0, 0, MONEY_AS_STORED, 1, "1,000,000"},
        {0, 5, 1, 1, MONEY_AS_STORED, 1, "0.05"},
        {0, 0, 0, 0, MONEY_AS_STORED, 1, "0"},
        {0, -0.4, 0, 0, MONEY_AS_STORED, 1, "0"},
        {0, 12, 0, 0, MONEY_AS_STORED, 1, "12"},
        {0, 123, 0, 0, MONEY_AS_STORED, 1, "123"},
        {0, 1234, 0, 0, MONEY_AS_STORED, 1, "1,234"},
        // Without conversion the amount is shown as it is, in the currency's form.
        {1, 1234, 0, 0, MONEY_AS_STORED, 0, "1.234k"},
        // Amounts past what a buffer holds show the limit.
        {0, 1e300, 0, 0, MONEY_AS_STORED, 1, "1,000,000,000,000,000,000"},
        {4, -1e300, 1, 1, MONEY_AS_STORED, 0, "-1.000.000.000.000.000.000,00k"},
        {0, std::numeric_limits<double>::quiet_NaN(), 0, 0, MONEY_AS_STORED, 1, "0"},
    };
    for (const MoneyCase& c : cases) {
        SetCurrency(c.nCurrency);
        EXPECT_STREQ(FormatMoney(c.dAmount, c.bHundredths, c.bDecimals, c.nPeriod, 0, c.bConvert), c.pszExpected)
            << "currency " << c.nCurrency << ", amount " << c.dAmount;
    }
}

TEST_F(FormattingTest, CurrencyOutsideTheTableReadsAsTheFirst)
{
    SetCurrency(9);
    EXPECT_STREQ(FormatMoney(1234567, 0, 0, MONEY_AS_STORED, 0, 1), "1,234,567");
    EXPECT_DOUBLE_EQ(ConvertCurrency(10), 10);
    m_options.m_nCurrency = 255;
    EXPECT_DOUBLE_EQ(ConvertCurrencyBack(10), 10);
}

TEST_F(FormattingTest, ConversionBackUndoesTheFactor)
{
    SetCurrency(1);
    EXPECT_DOUBLE_EQ(ConvertCurrency(2), 5560);
    EXPECT_DOUBLE_EQ(ConvertCurrencyBack(5560), 2);
    SetCurrency(4);
    EXPECT_DOUBLE_EQ(ConvertCurrencyBack(ConvertCurrency(1234.5)), 1234.5);
}

TEST_F(FormattingTest, TypedMoneyReadsBackToTheStoredUnit)
{
    struct Case {
        int nCurrency;
        const char* pszText;
        uint8_t bHundredths;
        double dExpected;
    };
    const Case cases[] = {
        {0, "1,234,567", 0, 1234567},
        {0, "1,234.56", 1, 123456},
        // 3432096 thousands x 1000 / 2780
        {1, "3.432.096", 0, 1234566.906475},
        {2, "11 605", 0, 1234.574468},
        // 2962.96 x 1000 / 240 x 100
        {4, "2.962,96", 1, 1234566.666667},
        {3, "-2.800", 0, -1000},
        {0, "none", 0, 0},
        {0, "", 0, 0},
        {0, "1e999", 0, 0},
    };
    for (const Case& c : cases) {
        SetCurrency(c.nCurrency);
        EXPECT_NEAR(MoneyValueFromText(c.pszText, c.bHundredths), c.dExpected, 1e-3) << c.pszText;
    }
}

class LabelScreen : public CXClient {
public:
    LabelScreen() { SetClientRect(0, 0, 200, 100); }
};

TEST_F(FormattingTest, MoneyLabelShowsConvertedWholeAmounts)
{
    LabelScreen screen;
    screen.OnInitDialog();
    auto* pLabel = static_cast<CXStatic*>(screen.AddControlXYWH(XCONTROL_STATIC, 10, 10, 100, 18, 3, nullptr));
    ASSERT_TRUE(pLabel);
    SetCurrency(0);
    SetMoneyText(pLabel, 5200, MONEY_PER_WEEK);
    EXPECT_STREQ(pLabel->Text(), "100");
    // 1234567 x 240 / 1000 = 296296.08, whole without hundredths
    SetCurrency(4);
    SetMoneyText(pLabel, 1234567, MONEY_AS_STORED);
    EXPECT_STREQ(pLabel->Text(), "296.296k");
    SetMoneyText(nullptr, 1, MONEY_AS_STORED);
    screen.OnDestroy();
}

TEST_F(FormattingTest, MoneyResultsStayValidForTenCalls)
{
    SetCurrency(0);
    const char* results[10];
    for (int i = 0; i < 10; ++i)
        results[i] = FormatMoney(i, 0, 0, MONEY_AS_STORED, 0, 1);
    for (int i = 0; i < 10; ++i)
        EXPECT_STREQ(results[i], std::to_string(i).c_str());
    FormatMoney(77, 0, 0, MONEY_AS_STORED, 0, 1);
    EXPECT_STREQ(results[0], "77");
    EXPECT_STREQ(results[1], "1");
}

TEST_F(FormattingTest, ThousandsAlwaysWithCommas)
{
    SetCurrency(2);  // the separators setting does not apply here
    const std::pair<int32_t, const char*> cases[] = {
        {0, "0"},        {999, "999"},         {1000, "1,000"},
        {-1234, "-1,234"}, {-999, "-999"},     {123456, "123,456"},
        {INT_MAX, "2,147,483,647"},           {INT_MIN, "-2,147,483,648"},
    };
    for (const auto& [nValue, pszExpected] : cases)
        EXPECT_STREQ(FormatThousands(nValue), pszExpected) << nValue;
    const char* a = FormatThousands(1);
    FormatThousands(2);
    FormatThousands(3);
    FormatThousands(4);
    EXPECT_STREQ(a, "1");
    FormatThousands(5);
    EXPECT_STREQ(a, "5");
}

TEST_F(FormattingTest, DatesInEveryOrder)
{
    struct Case {
        int nOrder;
        int nDay, nMonth, nYear;
        const char* pszExpected;
    };
    const Case cases[] = {
        {0, 5, 3, 2001, "05/03/01"},   {1, 5, 3, 2001, "03/05/01"},   {2, 5, 3, 2001, "01/03/05"},
        {0, 31, 12, 1999, "31/12/99"}, {1, 31, 12, 1999, "12/31/99"}, {2, 31, 12, 1999, "99/12/31"},
        {0, 1, 1, 2000, "01/01/00"},   {2, 29, 2, 2100, "00/02/29"},
        // An order outside the three reads as day/month/year.
        {7, 5, 3, 2001, "05/03/01"},
    };
    for (const Case& c : cases) {
        m_options.m_nDate = static_cast<uint8_t>(c.nOrder);
        EXPECT_STREQ(FormatDate(c.nDay, c.nMonth, c.nYear), c.pszExpected) << "order " << c.nOrder;
        DATERECORD record;
        record.wYear = static_cast<uint16_t>(c.nYear);
        record.byMonth = static_cast<uint8_t>(c.nMonth);
        record.byDay = static_cast<uint8_t>(c.nDay);
        EXPECT_STREQ(FormatDateRecord(record), c.pszExpected);
        EXPECT_STREQ(FormatPackedDate(CDate::Pack(c.nYear, c.nMonth, c.nDay)), c.pszExpected);
    }
}

TEST_F(FormattingTest, DateHelpersKeepTheirOwnBuffers)
{
    const char* pszDate = FormatDate(1, 2, 2003);
    const char* pszRecord = FormatDateRecord(DATERECORD{2004, 5, 6});
    for (int i = 0; i < 3; ++i)
        FormatPackedDate(CDate::Pack(2010, 10, 10));
    EXPECT_STREQ(pszDate, "01/02/03");
    EXPECT_STREQ(pszRecord, "06/05/04");
}

// The words of table 114 come from a compiled table, as in the game.
class ScoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("scores_" + std::to_string(::getpid()));
        fs::create_directories(m_folder / "src");
        std::ofstream(m_folder / "src" / "ControlScript.txt") << "1 | x\n";
        std::ofstream(m_folder / "src" / "TextDescriptionScript.txt") << "";
        std::ofstream(m_folder / "src" / "TableTextScript.txt")
            << "114.2 | Win\n114.3 | Draw\n114.4 | Loss\n114.28 | (aet)\n114.29 | (pens)\n"
               "114.30 | (agg)\n114.31 | (away)\n";
        std::string error;
        ASSERT_TRUE(tools::compileLanguage((m_folder / "src").string(), m_folder.string(), "English", error)) << error;
        ASSERT_TRUE(m_table.LoadFile((m_folder / "TableTextScript/English/TableTextScript.ttc").c_str()));
        m_table.Install();
    }
    void TearDown() override
    {
        m_table.Free();
        fs::remove_all(m_folder);
    }

    fs::path m_folder;
    CTableText m_table;
};

TEST_F(ScoreTest, PlainScoreGivesTheFirstSidesWord)
{
    char szScore[16];
    EXPECT_STREQ(FormatScore(szScore, sizeof szScore, 3, 1), "Win");
    EXPECT_STREQ(szScore, "3 - 1");
    EXPECT_STREQ(FormatScore(szScore, sizeof szScore, 2, 2), "Draw");
    EXPECT_STREQ(szScore, "2 - 2");
    EXPECT_STREQ(FormatScore(szScore, sizeof szScore, 0, 12), "Loss");
    EXPECT_STREQ(szScore, "0 - 12");
}

TEST_F(ScoreTest, ResultKindsGiveTheirTextAndWord)
{
    struct Case {
        int nKind;
        int nHome, nAway;
        const char* pszText;
        const char* pszHomeWord;
        const char* pszAwayWord;
    };
    const Case cases[] = {
        {0, 2, 1, "2 - 1", "Win", "Loss"},
        {5, 1, 1, "1 - 1", "Draw", "Draw"},
        {6, 0, 3, "0 - 3", "Loss", "Win"},
        {11, 4, 0, "4 - 0", "Win", "Loss"},
        // Kind 1 is the home side's win whatever the goals; kind 7 the away side's.
        {1, 1, 2, "(aet) 1 - 2", "Win", "Loss"},
        {7, 3, 1, "3 - 1 (aet)", "Loss", "Win"},
        {2, 1, 1, "(agg) 1 - 1", "Draw", "Draw"},
        {3, 2, 2, "(away) 2 - 2", "Draw", "Draw"},
        {4, 1, 0, "(pens) 1 - 0", "Win", "Loss"},
        {8, 2, 1, "2 - 1 (agg)", "Win", "Loss"},
        {9, 0, 1, "0 - 1 (away)", "Loss", "Win"},
        {10, 5, 4, "5 - 4 (pens)", "Win", "Loss"},
        // Kinds past the table write nothing; the word follows the goals.
        {12, 2, 0, "", "Win", "Loss"},
        {255, 0, 0, "", "Draw", "Draw"},
    };
    for (const Case& c : cases) {
        char szHome[32] = "junk";
        char szAway[32] = "junk";
        const auto cHome = static_cast<int8_t>(c.nHome);
        const auto cAway = static_cast<int8_t>(c.nAway);
        const auto byKind = static_cast<uint8_t>(c.nKind);
        EXPECT_STREQ(FormatFixtureScore(0, szHome, sizeof szHome, cHome, cAway, byKind), c.pszHomeWord) << c.nKind;
        EXPECT_STREQ(FormatFixtureScore(1, szAway, sizeof szAway, cHome, cAway, byKind), c.pszAwayWord) << c.nKind;
        EXPECT_STREQ(szHome, c.pszText) << c.nKind;
        EXPECT_STREQ(szAway, c.pszText) << c.nKind;
    }
}

TEST_F(ScoreTest, ScoreTextStopsAtTheEndOfItsBuffer)
{
    char szBuffer[12];
    std::memset(szBuffer, '#', sizeof szBuffer);
    FormatFixtureScore(0, szBuffer, 6, 1, 2, 1);
    EXPECT_STREQ(szBuffer, "(aet)");
    EXPECT_EQ(szBuffer[6], '#');
    std::memset(szBuffer, '#', sizeof szBuffer);
    FormatScore(szBuffer, 4, 10, 10);
    EXPECT_STREQ(szBuffer, "10 ");
    EXPECT_EQ(szBuffer[4], '#');
}

}  // namespace
