// The three language text readers: what the text compiler writes reads back
// item for item, and a damaged or cut file is refused as a whole without a
// read past its end.
#include "LogCapture.h"

#include "shell/CControlText.h"
#include "shell/CTableText.h"
#include "shell/CTextDescription.h"
#include "tools/textkit/TextCompiler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class LanguageTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("langtext_" + std::to_string(::getpid()));
        fs::create_directories(m_folder / "src");
        Write("src/ControlScript.txt", "3 | Go\\ton | Next day\n884 | OK\n1174 | | Last\n");
        Write("src/TableTextScript.txt", "0.0 | zero\n95.1 | Quit?\n95.3 | Three\n114.24 | New Training Plan\n"
                                         "230.2 | last\n");
        Write("src/TextDescriptionScript.txt", "2 | center\n2 | 100 | 50 | Top\\tBottom\n2 | left\n2 | 5 | 6 | x\n"
                                               "4 | 1 | 2 | four\n");
        std::string error;
        ASSERT_TRUE(tools::compileLanguage((m_folder / "src").string(), m_folder.string(), "English", error)) << error;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(m_folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static const char* ControlFile() { return "ControlsScripts/English/ControlScript.csc"; }
    static const char* TableFile() { return "TableTextScript/English/TableTextScript.ttc"; }
    static const char* DescriptionFile() { return "TextDescriptionScript/English/TextDescriptionScript.tdc"; }

    // Loads bytes with each reader in turn; a reader that accepts them must
    // hand out only whole strings and runs that end.
    template <typename Reader>
    static bool LoadDamaged(std::string bytes)
    {
        FILE* pFile = fmemopen(bytes.data(), bytes.size(), "rb");
        if (!pFile)
            return false;
        Reader reader;
        const bool bLoaded = reader.LoadStream(pFile);
        std::fclose(pFile);
        if (bLoaded)
            Walk(reader);
        return bLoaded;
    }
    static void Walk(const CControlText& text)
    {
        for (int id = 0; id < CControlText::kEntryCount; ++id)
            for (const char* psz : {text.GetText(id), text.GetTooltip(id)})
                if (psz)
                    (void)std::strlen(psz);
    }
    static void Walk(const CTableText& text)
    {
        for (int set = 0; set < CTableText::kSetCount; ++set) {
            int nCount = -1;
            const char* const* ppItems = text.GetTableTextSet(set, &nCount);
            ASSERT_TRUE(ppItems);
            ASSERT_GE(nCount, 0);
            EXPECT_EQ(ppItems[nCount], nullptr);
            for (int i = 0; i < nCount; ++i)
                if (ppItems[i])
                    (void)std::strlen(ppItems[i]);
        }
    }
    static void Walk(const CTextDescription& text)
    {
        for (int i = 0; i < text.GetCount(); ++i)
            for (const TEXTDESCRIPTIONRECORD* p = text.GetTextDescription(i); p && p->x != -1; ++p)
                if (p->pszText)
                    (void)std::strlen(p->pszText);
    }

    template <typename Reader>
    void ExpectEveryCutRefused(const char* pszFile)
    {
        const std::string bytes = Read(pszFile);
        ASSERT_FALSE(bytes.empty());
        ASSERT_TRUE(LoadDamaged<Reader>(bytes));
        for (size_t nCut = 0; nCut < bytes.size(); ++nCut)
            if (LoadDamaged<Reader>(bytes.substr(0, nCut))) {
                ADD_FAILURE() << pszFile << " accepted when cut at " << nCut;
                break;
            }
        EXPECT_FALSE(LoadDamaged<Reader>(bytes + '\0')) << "a byte too many";
    }

    template <typename Reader>
    void FlipBytes(const char* pszFile, unsigned nSeed)
    {
        const std::string bytes = Read(pszFile);
        std::mt19937 random(nSeed);
        for (int n = 0; n < 3000; ++n) {
            std::string damaged = bytes;
            for (int k = 0; k < 1 + n % 3; ++k)
                damaged[random() % damaged.size()] ^= static_cast<char>(1 << (random() % 8));
            LoadDamaged<Reader>(damaged);
        }
    }

    fs::path m_folder;
};

TEST_F(LanguageTextTest, ReadsWhatTheCompilerWrote)
{
    CControlText controls;
    ASSERT_TRUE(controls.LoadFile((m_folder / ControlFile()).c_str()));
    EXPECT_STREQ(controls.GetText(3), "Go\ton");
    EXPECT_STREQ(controls.GetTooltip(3), "Next day");
    EXPECT_STREQ(controls.GetText(884), "OK");
    EXPECT_EQ(controls.GetTooltip(884), nullptr);
    EXPECT_EQ(controls.GetText(1174), nullptr);
    EXPECT_STREQ(controls.GetTooltip(1174), "Last");
    EXPECT_EQ(controls.GetText(4), nullptr);
    EXPECT_EQ(controls.GetControlText(1175), nullptr);
    EXPECT_EQ(controls.GetControlText(-1), nullptr);

    CTableText tables;
    ASSERT_TRUE(tables.LoadFile((m_folder / TableFile()).c_str()));
    int nCount = 0;
    const char* const* ppQuit = tables.GetTableTextSet(95, &nCount);
    ASSERT_TRUE(ppQuit);
    EXPECT_EQ(nCount, 4);
    EXPECT_EQ(ppQuit[0], nullptr);  // an item left out
    EXPECT_STREQ(ppQuit[1], "Quit?");
    EXPECT_STREQ(ppQuit[3], "Three");
    EXPECT_EQ(ppQuit[4], nullptr);
    EXPECT_STREQ(tables.GetTableText(0, 0), "zero");
    EXPECT_STREQ(tables.GetTableText(230, 2), "last");
    EXPECT_EQ(tables.GetTableText(95, 4), nullptr);
    EXPECT_EQ(tables.GetTableText(231, 0), nullptr);
    EXPECT_EQ(tables.GetTableText(-1, 0), nullptr);
    EXPECT_EQ(tables.GetTableTextSet(7, &nCount)[0], nullptr);
    EXPECT_EQ(nCount, 0);

    // Installed, the global accessors and the shell services read it.
    tables.Install();
    EXPECT_STREQ(GetDefaultPlanName(), "New Training Plan");
    EXPECT_STREQ(GetTableTextSet(95)[1], "Quit?");
    tables.Free();
    EXPECT_EQ(GetDefaultPlanName(), nullptr);
    EXPECT_EQ(GetTableTextSet(95), nullptr);

    CTextDescription descriptions;
    ASSERT_TRUE(descriptions.LoadFile((m_folder / DescriptionFile()).c_str()));
    descriptions.Install();
    const TEXTDESCRIPTIONRECORD* pRun = GetTextDescription(2);
    ASSERT_TRUE(pRun);
    EXPECT_EQ(pRun[0].x, 9993);
    EXPECT_EQ(pRun[1].x, 100);
    EXPECT_EQ(pRun[1].y, 50);
    EXPECT_STREQ(pRun[1].pszText, "Top\tBottom");
    EXPECT_EQ(pRun[2].x, 9999);
    EXPECT_STREQ(pRun[3].pszText, "x");
    EXPECT_EQ(pRun[4].x, -1);
    EXPECT_EQ(GetTextDescription(3), nullptr);  // no description 3
    EXPECT_STREQ(GetTextDescription(4)->pszText, "four");
    EXPECT_EQ(GetTextDescription(5), nullptr);
    descriptions.Free();
    EXPECT_EQ(GetTextDescription(4), nullptr);
}

TEST_F(LanguageTextTest, LoadsTheShippedEnglishByLanguageName)
{
    const fs::path previous = fs::current_path();
    fs::current_path(BRELLOX_GAME_DIR);
    CControlText controls;
    CTableText tables;
    CTextDescription descriptions;
    const bool bLoaded = controls.Load("English") && tables.Load("English") && descriptions.Load("English");
    fs::current_path(previous);
    ASSERT_TRUE(bLoaded);
    EXPECT_STREQ(controls.GetText(884), "OK");
    EXPECT_STREQ(tables.GetTableText(114, 24), "Own plan");
    // Every nationality a person of the world can have is named.
    for (int nNationality = 1; nNationality <= 101; ++nNationality) {
        const char* pszName = tables.GetTableText(92, nNationality);
        EXPECT_TRUE(pszName && *pszName) << "nationality " << nNationality;
    }
    LogCapture log;
    EXPECT_FALSE(tables.Load("Klingon"));
    EXPECT_TRUE(log.Contains("TableTextScript\\Klingon\\TableTextScript.ttc"));
}

TEST_F(LanguageTextTest, RefusesEveryCut)
{
    ExpectEveryCutRefused<CControlText>(ControlFile());
    ExpectEveryCutRefused<CTableText>(TableFile());
    ExpectEveryCutRefused<CTextDescription>(DescriptionFile());
}

TEST_F(LanguageTextTest, SurvivesRandomByteFlips)
{
    FlipBytes<CControlText>(ControlFile(), 1);
    FlipBytes<CTableText>(TableFile(), 2);
    FlipBytes<CTextDescription>(DescriptionFile(), 3);
}

// Damages that a loader must see, each placed at the field it breaks.
TEST_F(LanguageTextTest, RefusesFieldsThatPointOutside)
{
    auto put32 = [](std::string bytes, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
        return bytes;
    };
    const std::string controls = Read(ControlFile());
    EXPECT_FALSE(LoadDamaged<CControlText>(put32(controls, 8 + 884 * 8, 0x7FFFFFFF))) << "text offset past the block";
    EXPECT_FALSE(LoadDamaged<CControlText>(put32(controls, 0, 1174u << 16))) << "count 1174";
    std::string unended = controls;
    unended.back() = 'x';
    EXPECT_FALSE(LoadDamaged<CControlText>(unended)) << "the last string runs off the block";

    const std::string tables = Read(TableFile());
    const uint32_t dwItemSize = static_cast<uint8_t>(tables[12]) | static_cast<uint8_t>(tables[13]) << 8;
    EXPECT_FALSE(LoadDamaged<CTableText>(put32(tables, 4, 230))) << "230 sets";
    EXPECT_FALSE(LoadDamaged<CTableText>(put32(tables, 20 + 95 * 4, dwItemSize))) << "a set starts past the items";
    EXPECT_FALSE(LoadDamaged<CTableText>(put32(tables, 20 + 95 * 4, 2))) << "a set starts inside an item";
    // The set table's last null removed: set 230 no longer ends.
    EXPECT_FALSE(LoadDamaged<CTableText>(put32(tables, 20 + 924 + dwItemSize - 4, 1))) << "an unended set";

    const std::string descriptions = Read(DescriptionFile());
    EXPECT_FALSE(LoadDamaged<CTextDescription>(put32(descriptions, 16, 4))) << "capacity below the count";
    EXPECT_FALSE(LoadDamaged<CTextDescription>(put32(descriptions, 20 + 4 * 4, 4 * 7))) << "a run past the records";
    // Description 4's end record made a text record: its run no longer ends.
    const size_t nLastRecord = 20 + 5 * 4 + 6 * 8;
    EXPECT_FALSE(LoadDamaged<CTextDescription>(put32(descriptions, nLastRecord, 0x00010001))) << "an unended run";
}

}  // namespace
