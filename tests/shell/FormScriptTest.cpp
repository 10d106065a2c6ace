// Form scripts: the compiler's sources to the reader's entries, every value
// code filled from its record, expansion bounded by its buffer, damaged
// scripts refused without reading past them, and the shipped English letters
// for every news item the game sends.
#include "GameInPlay.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CupRecords.h"
#include "season/CupStructureTable.h"
#include "shell/CFormScript.h"
#include "shell/CompetitionNames.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "tools/scriptkit/ScriptCompiler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace shell_test;

std::vector<uint8_t> Compile(const std::string& source, std::string* pError = nullptr)
{
    const fs::path path = fs::current_path() / "source.txt";
    std::ofstream(path) << source;
    std::string name, error;
    std::vector<uint8_t> bytes;
    const bool bCompiled = tools::compileFormScript(path.string(), name, bytes, error);
    if (pError)
        *pError = bCompiled ? "" : error;
    return bCompiled ? bytes : std::vector<uint8_t>{};
}

std::string Expand(const ITEMTEXTPARAMETERS& params, const std::string& source)
{
    char szOutput[FORMSCRIPT_TEXT_BYTES];
    CFormScript::ExpandTokens(params, source.c_str(), szOutput, sizeof szOutput);
    return szOutput;
}

// A short text with one value: the mark and the code byte.
std::string Code(int nCode, const char* pszBefore = "")
{
    return std::string(pszBefore) + static_cast<char>(FORMSCRIPT_TOKEN_MARK) + static_cast<char>(nCode);
}

class FormScripts : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_world = StartGameInPlay(0);
        ASSERT_NE(m_world, nullptr) << "the generated starting world did not load";
        ASSERT_TRUE(m_tables.Load("English"));
        m_tables.Install();
        CFormScript::SetDatabase(m_world.get());
        m_pClubA = m_world->GetClubFromID(1);
        m_pClubB = m_world->GetClubFromID(2);
        ASSERT_TRUE(m_pClubA && m_pClubB && m_pClubA->m_pGround && m_pClubA->GetCountry() && m_pClubA->GetManager());
        m_pPlayer = static_cast<const CPlayerDatabase*>(m_pClubA->m_lstPlayers.GetHead()->pData);
        m_pStaff = m_world->GetStaffFromID(
            static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(m_pClubA->m_lstStaff.GetHead()->pData)));
        ASSERT_TRUE(m_pPlayer && m_pStaff);
        m_params.pClubA = m_pClubA;
        m_params.pClubB = m_pClubB;
        m_params.pCountry = m_pClubA->GetCountry();
        m_params.idPlayer = m_pPlayer->m_idPerson;
        m_params.idManager = m_pClubA->GetManager()->GetId();
        m_params.idStaff = m_pStaff->GetId();
        m_params.Date1 = {1999, 8, 21};
        m_params.Date2 = {2000, 5, 13};
    }
    void TearDown() override
    {
        CFormScript::SetDatabase(nullptr);
        m_tables.Free();
    }

    GameFolder m_folder;
    std::unique_ptr<CDatabaseHandler> m_world;
    CTableText m_tables;
    const CClubDatabase* m_pClubA = nullptr;
    const CClubDatabase* m_pClubB = nullptr;
    const CPlayerDatabase* m_pPlayer = nullptr;
    const CStaffDatabase* m_pStaff = nullptr;
    ITEMTEXTPARAMETERS m_params;
};

TEST_F(FormScripts, EveryValueCodeFillsFromItsRecord)
{
    const std::string countryName = GetTableText(92, m_pClubA->GetCountry()->GetID());
    struct Case {
        std::string source;
        std::function<void(ITEMTEXTPARAMETERS&)> set;
        std::string expected;
    };
    auto none = [](ITEMTEXTPARAMETERS&) {};
    const Case cases[] = {
        {Code(33, "Win "), none, std::string("Win ") + m_pClubA->GetName()},
        {Code(34), none, m_pClubB->GetName()},
        {Code(28), none, m_pClubA->GetShortName()},
        {Code(35), [](auto& p) { p.nValue = 3; }, m_pClubA->GetName()},
        {Code(35), [](auto& p) { p.nValue = 8; }, m_pClubB->GetName()},
        {Code(36), [](auto& p) { p.nValue = 8; }, m_pClubA->GetName()},
        {Code(35, "x"), [](auto& p) { p.nValue = 12; }, "x"},
        {Code(20, "[") + "]", none, "[]"},
        {Code(20), [](auto& p) { p.nValue = 42; }, "42"},
        {Code(16), [](auto& p) { p.nValue = 1234567; }, FormatMoney(1234567, 0, 0, 255, 0, 1)},
        {Code(63), [](auto& p) { p.nAmount2 = 5000; }, FormatMoney(5000, 0, 0, 255, 0, 1)},
        {Code(18), none, FormatDateRecord({1999, 8, 21})},
        {Code(10), none, FormatDateRecord({2000, 5, 13})},
        {Code(18), [](auto& p) { p.Date1 = {}; }, ""},
        {Code(1), none, m_pPlayer->GetShortName()},
        {Code(14), none, std::to_string(m_pPlayer->m_byRating)},
        {Code(4), none, ""},
        {Code(59), none, m_pStaff->GetShortName()},
        {Code(26), none, m_pClubA->GetManager()->GetShortName()},
        {Code(11), none, m_pClubA->m_pGround->GetName()},
        {Code(13), none, std::to_string(m_pClubA->m_pGround->GetCapacity())},
        {Code(60), none, countryName},
        {Code(41), none, countryName},
        {Code(30), [&](auto& p) { p.nValue = m_pClubA->GetCountry()->GetID(); }, countryName},
        {Code(37), [](auto& p) { p.byGoalsFirst = 2, p.byGoalsSecond = 1, p.nValue = 8; },
         std::string("2 - 1 ") + GetTableText(114, 30)},
        {Code(37), [](auto& p) { p.byGoalsFirst = 3, p.byGoalsSecond = 0, p.nValue = 0; }, "3 - 0"},
        {Code(47), [](auto& p) { p.nValue = 250; }, "2.50"},
        {Code(64), [](auto& p) { p.fDecimal1 = 1.5f; }, "1.50"},
        {Code(64), none, ""},
        {Code(71), none, "{ #NC }"},
        {Code(127), none, "{ #NC }"},
        {Code(-128), none, "{ #NC }"},
        {"the end @", none, "the end "},
    };
    for (const Case& c : cases) {
        ITEMTEXTPARAMETERS params = m_params;
        c.set(params);
        EXPECT_EQ(Expand(params, c.source), c.expected) << "code " << static_cast<int>(c.source.back());
    }
}

TEST_F(FormScripts, ExpansionNeverWritesPastItsBuffer)
{
    std::string source;
    for (int nCode = 1; nCode < 128; ++nCode)
        source += Code(nCode, " ");
    char szWhole[8192];
    ASSERT_TRUE(CFormScript::ExpandTokens(m_params, source.c_str(), szWhole, sizeof szWhole));
    const std::string whole = szWhole;
    ASSERT_GT(whole.size(), 200u);
    for (size_t nSize : {size_t{0}, size_t{1}, size_t{2}, size_t{17}, size_t{200}, whole.size(), whole.size() + 1}) {
        std::vector<char> buffer(nSize + 16, '#');
        const bool bWhole = CFormScript::ExpandTokens(m_params, source.c_str(), buffer.data(), nSize);
        EXPECT_EQ(bWhole, nSize > whole.size()) << nSize;
        for (size_t i = nSize; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], '#') << "written past a buffer of " << nSize;
        if (nSize > 0) {
            const std::string cut(buffer.data());
            EXPECT_EQ(cut, whole.substr(0, std::min(whole.size(), nSize - 1))) << nSize;
        }
    }
}

// The cup of the competition codes, by its number (kind x 20 + country),
// and the round names of the first European cup: qualifying rounds, two
// group stages of eight and four groups, then the knock-out rounds.
TEST_F(FormScripts, CupAndRoundCodesNameTheCupAndItsRound)
{
    const CCountryDatabase* pCountry = m_pClubA->GetCountry();
    const uint8_t byEuropean = MakeCupNumberFromKind(CUP_KIND_1, 0);
    const uint8_t byDomestic = MakeCupNumberFromKind(CUP_KIND_1, pCountry->GetID());
    const CUP* pEuropean = m_world->GetCupFromCupNumber(byEuropean);
    const CUP* pDomestic = m_world->GetCupFromCupNumber(byDomestic);
    ASSERT_TRUE(pEuropean && pDomestic);
    const ITEMCUPSTRUCTUREINFORMATION* pDomesticRow = GetCupStructureRecord(CUP_KIND_1, pCountry->GetName());
    ASSERT_NE(pDomesticRow, nullptr);
    const int nLast = pEuropean->byRounds;
    ASSERT_GT(nLast, 12);
    struct Case {
        uint8_t byCup;
        int nCode;
        uint8_t byRound;
        std::string expected;
    };
    const Case cases[] = {
        {byEuropean, 22, 255, "KAVO Champions League"},
        {byEuropean, 49, 255, "KAVO Champions League"},
        {byDomestic, 22, 255, GetCompetitionDisplayName(pDomesticRow->byCupID - 1)},
        {255, 22, 255, ""},
        {byEuropean, 23, 1, "Round 1"},
        {byEuropean, 23, 3, "Round 3"},
        {byEuropean, 23, 4, "Group Stage 1"},
        {byEuropean, 23, 10, "Group Stage 2"},
        {byEuropean, 23, static_cast<uint8_t>(nLast - 2), "Quarter-final"},
        {byEuropean, 23, static_cast<uint8_t>(nLast - 1), "Semi-final"},
        {byEuropean, 23, static_cast<uint8_t>(nLast), "Final"},
        {byEuropean, 23, static_cast<uint8_t>(nLast + 1), "Replay"},
        {byEuropean, 23, static_cast<uint8_t>(nLast + 2), "Second Replay"},
        {byEuropean, 23, 255, ""},
        {255, 23, 2, ""},
    };
    for (const Case& c : cases) {
        ITEMTEXTPARAMETERS params = m_params;
        params.byCupNumber = c.byCup;
        params.byCupRound = c.byRound;
        EXPECT_EQ(Expand(params, Code(c.nCode, "[") + "]"), "[" + c.expected + "]")
            << "code " << c.nCode << " cup " << int(c.byCup) << " round " << int(c.byRound);
    }

    char szRound[16];
    FormatCupRoundName(nullptr, m_world.get(), 1, szRound, sizeof szRound);
    EXPECT_STREQ(szRound, "Friendly");
    char szCut[8];
    FormatCompetitionName(pEuropean, m_world.get(), szCut, sizeof szCut);
    EXPECT_STREQ(szCut, "KAVO Ch") << "cut to its buffer";
}

TEST_F(FormScripts, EntriesVariantsAndPictures)
{
    std::string error;
    const std::vector<uint8_t> bytes = Compile("script T.fmc\nheadlines\npictures\n"
                                               "entry 160\npictures 5 0 7 0 0 0\ntarget 16\n"
                                               "text first {club}\nheadline one\ntext second\nheadline two\n"
                                               "text third\nheadline three\n"
                                               "entry 161 162\ntext needs two\n"
                                               "entry 2\ntext scout\n",
                                               &error);
    ASSERT_FALSE(bytes.empty()) << error;
    CFormScript script;
    ASSERT_TRUE(script.LoadFromBytes(bytes, true, error)) << error;
    ASSERT_EQ(script.GetEntryCount(), 3);
    EXPECT_EQ(script.GetEntry(0)->wTarget, 16);
    EXPECT_EQ(script.GetEntry(1)->wTarget, 0) << "an entry without a target leads nowhere";

    char szText[FORMSCRIPT_TEXT_BYTES];
    script.GetEntryText(szText, sizeof szText, 0, 7, m_params);
    EXPECT_STREQ(szText, "second") << "variant 7 of 3 is variant 1";
    script.GetEntryHeadline(szText, sizeof szText, 0, 2, m_params);
    EXPECT_STREQ(szText, "three");
    script.GetEntryText(szText, sizeof szText, 5, 0, m_params);
    EXPECT_STREQ(szText, "") << "an entry that does not exist";

    // A letter filed with entry 0 of its script.
    CNewsItem item(160, CDate());
    item.SetSlot(NEWS_SLOT_CLUB_A, m_pClubA->GetID());
    item.File(0, 0);
    char szHeadline[80];
    for (auto [nSlot, nPicture] : {std::pair{3, 7}, std::pair{1, 5}, std::pair{5, 7}, std::pair{0, 5}})
        EXPECT_EQ(script.ExpandItem(item, m_world.get(), szText, sizeof szText, szHeadline, sizeof szHeadline, nSlot),
                  nPicture)
            << "slot " << nSlot;
    // The item's random number picks the variant.
    const char* const kBodies[] = {"first", "second", "third"};
    EXPECT_EQ(std::string(szText).rfind(kBodies[item.GetExtra() % 3], 0), 0u) << szText;

    // Conditions: the event token holds only while it is the current event.
    script.SetEventToken(160);
    EXPECT_EQ(script.FindMatchingEntry(m_params), 0);
    EXPECT_EQ(script.FindEntryIndex(), 0);
    ASSERT_TRUE(script.ExpandEntryIfAvailable(m_params, 0, szText, sizeof szText, 0));
    EXPECT_EQ(std::string(szText), std::string("* first ") + m_pClubA->GetName());
    script.SetEventToken(161);
    EXPECT_EQ(script.FindMatchingEntry(m_params), 0xFFFF) << "token 162 is not the event";
    EXPECT_FALSE(script.ExpandEntryIfAvailable(m_params, 1, szText, sizeof szText, 0));
    script.SetEventToken(2);
    EXPECT_EQ(script.FindMatchingEntry(m_params), 2);

    // An entry whose first condition is 0 is never chosen.
    CFormScript plain;
    std::vector<uint8_t> unconditional = Compile("script U.fmc\nentry 2\ntext a\nentry 2\ntext b\n");
    unconditional[FORMSCRIPT_HEADER_BYTES] = 0;
    unconditional[FORMSCRIPT_HEADER_BYTES + 1] = 0;
    ASSERT_TRUE(plain.LoadFromBytes(unconditional, true, error)) << error;
    plain.SetEventToken(2);
    EXPECT_EQ(plain.FindMatchingEntry(m_params), 1);
}

TEST_F(FormScripts, TheClubPlayerAndStaffAnswerTheirOwnTokens)
{
    auto* pClub = const_cast<CClubDatabase*>(m_pClubA);
    auto* pPlayer = const_cast<CPlayerDatabase*>(m_pPlayer);
    auto* pStaff = const_cast<CStaffDatabase*>(m_pStaff);
    CFormScript script;
    const struct {
        const char* pszWhat;
        uint16_t wToken;
        std::function<void(bool)> set;
    } kCases[] = {
        {"the club's target band", 445, [&](bool b) { pClub->m_byTargetKind = b ? 3 : 2; }},
        {"a player of class", 400, [&](bool b) { pPlayer->m_byRating = b ? 70 : 69; }},
        {"a leader", 401,
         [&](bool b) {
             pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_INFLUENCE] = b ? 7000 : 6999;
             pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_MORALE] = 8000;
         }},
        {"content staff", 407, [&](bool b) { pStaff->m_byMorale = b ? 70 : 69; }},
        {"discontented staff", 408, [&](bool b) { pStaff->m_byMorale = b ? 34 : 35; }},
        {"top staff", 409, [&](bool b) { pStaff->m_byRating = b ? 75 : 74; }},
        {"learning staff", 411, [&](bool b) { pStaff->m_byRating = b ? 39 : 40; }},
    };
    std::string error;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.pszWhat);
        const std::vector<uint8_t> bytes =
            Compile("script R.fmc\nentry " + std::to_string(c.wToken) + "\ntext yes\n", &error);
        ASSERT_TRUE(script.LoadFromBytes(bytes, true, error)) << error;
        char szText[FORMSCRIPT_TEXT_BYTES];
        c.set(true);
        EXPECT_TRUE(script.ExpandEntryIfAvailable(m_params, 0, szText, sizeof szText, 0));
        c.set(false);
        EXPECT_FALSE(script.ExpandEntryIfAvailable(m_params, 0, szText, sizeof szText, 0));
        script.Free();
    }
    // Without the record named, its tokens do not hold.
    pStaff->m_byRating = 90;
    ITEMTEXTPARAMETERS none;
    ASSERT_TRUE(script.LoadFromBytes(Compile("script R.fmc\nentry 409\ntext yes\n"), true, error)) << error;
    char szText[FORMSCRIPT_TEXT_BYTES];
    EXPECT_FALSE(script.ExpandEntryIfAvailable(none, 0, szText, sizeof szText, 0));
}

TEST_F(FormScripts, TheCompilerRefusesWhatItCannotWrite)
{
    const char* const sources[] = {
        "entry 5\ntext a\n",                                   // no script named first
        "script T.txt\n",                                       // not a script file name
        "script T.fmc\nentry 0\ntext a\n",                      // token 0
        "script T.fmc\nentry 1 2 3 4 5 6 7\n",                  // seven conditions
        "script T.fmc\nentry 5\ntext a @ b\n",                  // a bare mark
        "script T.fmc\nentry 5\ntext {nobody}\n",               // an unknown value
        "script T.fmc\nentry 5\ntext {club\n",                  // a brace left open
        "script T.fmc\nentry 5\ntext club}\n",                  // a brace never opened
        "script T.fmc\nentry 5\ntext a\nheadline b\n",          // no headlines in this script
        "script T.fmc\npictures\nentry 5\npictures 1 2 3\n",    // three of six pictures
        "script T.fmc\ntext a\n",                               // a text outside an entry
        "script T.fmc\nentry 5\nshout a\n",                     // an unknown statement
        "script T.fmc\ntarget 3\n",                             // a target outside an entry
        "script T.fmc\nentry 5\ntarget 66\n",                  // no such target
    };
    for (const char* pszSource : sources) {
        std::string error;
        EXPECT_TRUE(Compile(pszSource, &error).empty()) << pszSource;
        EXPECT_NE(error.find("source.txt:"), std::string::npos) << error;
    }
}

TEST_F(FormScripts, DamagedScriptsAreRefusedWhole)
{
    std::string error;
    const std::vector<uint8_t> good = Compile("script T.fmc\nheadlines\nentry 160\ntext body {club}\nheadline head\n"
                                              "text other\nheadline again\nentry 161\ntext last\n",
                                              &error);
    ASSERT_FALSE(good.empty()) << error;
    CFormScript script;
    ASSERT_TRUE(script.LoadFromBytes(good, true, error)) << error;
    for (size_t nLength = 0; nLength < good.size(); ++nLength) {
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(nLength));
        EXPECT_FALSE(script.LoadFromBytes(cut, true, error)) << "cut to " << nLength;
        EXPECT_EQ(script.GetEntryCount(), 0);
    }
    auto put32 = [](std::vector<uint8_t> bytes, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
        return bytes;
    };
    const size_t nFirstBody = FORMSCRIPT_HEADER_BYTES + 16;
    std::vector<uint8_t> unended = good;
    unended.back() = 'x';
    const std::vector<uint8_t> damaged[] = {
        put32(good, 0, 0x12345678),                         // not a form script
        put32(good, 4, 0xFFFF),                             // 65535 entries
        put32(good, 8, 0x7FFFFFFF),                         // a text block larger than the file
        put32(good, nFirstBody, 0x7FFFFFF0),                // a body past the text block
        put32(good, nFirstBody + 8, 0x00010000),            // a headline past the text block
        unended,                                            // the last text runs off the block
        put32(good, FORMSCRIPT_HEADER_BYTES + 12, 0x00020042),  // a target past the last
    };
    for (size_t i = 0; i < std::size(damaged); ++i) {
        EXPECT_FALSE(script.LoadFromBytes(damaged[i], true, error)) << "damage " << i;
        EXPECT_EQ(script.GetEntryCount(), 0) << "damage " << i;
    }

    // Random damage: refused, or read and expanded within the file's texts.
    std::mt19937 random(7);
    for (int nRound = 0; nRound < 3000; ++nRound) {
        std::vector<uint8_t> bytes = good;
        const int nFlips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < nFlips; ++i)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        if (!script.LoadFromBytes(bytes, true, error))
            continue;
        char szText[64];
        for (int nEntry = 0; nEntry < script.GetEntryCount(); ++nEntry)
            for (int nVariant = 0; nVariant < 3; ++nVariant) {
                script.GetEntryText(szText, sizeof szText, nEntry, nVariant, m_params);
                ASSERT_LT(std::strlen(szText), sizeof szText);
                script.GetEntryHeadline(szText, sizeof szText, nEntry, nVariant, m_params);
                ASSERT_LT(std::strlen(szText), sizeof szText);
            }
    }
}

TEST_F(FormScripts, EveryNewsItemTheGameSendsHasItsLetter)
{
    // The news items the season code raises today, by type.
    const uint16_t kTypes[] = {2,   6,   7,   8,   10,  67,  68,  83,  93,  95,  116, 117, 118, 119, 128,
                               129, 130, 131, 134, 135, 137, 138, 139, 140, 141, 160, 161, 162, 163, 166,
                               169, 170, 171, 197, 198, 199, 200, 201, 203, 204, 205, 215, 216, 217, 218,
                               219, 220, 223, 224, 242, 250, 253, 265, 266};
    for (uint16_t wType : kTypes) {
        const char* pszScript = GetMailScriptName(wType);
        ASSERT_NE(pszScript, nullptr) << wType;
        CFormScript script;
        ASSERT_TRUE(script.Load("English", pszScript, true)) << pszScript;
        CNewsItem item(wType, m_world->GetGameDate());
        item.SetSlot(NEWS_SLOT_CLUB_A, m_pClubA->GetID());
        item.SetSlot(NEWS_SLOT_CLUB_B, m_pClubB->GetID());
        item.SetSlot(NEWS_SLOT_PERSON, m_pPlayer->m_idPerson);
        // The staff letters name their member of staff or the post (a staff kind).
        item.SetSlot(NEWS_SLOT_STAFF, m_pStaff->GetId());
        item.SetSlot(NEWS_SLOT_SUBTYPE, 1);
        const ITEMTEXTPARAMETERS params = ITEMTEXTPARAMETERS::FromNewsItem(item, m_world.get());
        script.SetEventToken(wType);
        const uint16_t wEntry = script.FindMatchingEntry(params);
        ASSERT_NE(wEntry, 0xFFFF) << "no letter for news " << wType << " in " << pszScript;
        for (int nVariant = 0; nVariant < 2; ++nVariant) {
            char szBody[FORMSCRIPT_TEXT_BYTES], szHeadline[FORMSCRIPT_TEXT_BYTES];
            script.GetEntryText(szBody, sizeof szBody, wEntry, nVariant, params);
            script.GetEntryHeadline(szHeadline, sizeof szHeadline, wEntry, nVariant, params);
            for (const char* pszText : {szBody, szHeadline}) {
                EXPECT_GT(std::strlen(pszText), 5u) << wType;
                EXPECT_EQ(std::strchr(pszText, FORMSCRIPT_TOKEN_MARK), nullptr) << pszText;
                EXPECT_EQ(std::strstr(pszText, "{ #"), nullptr) << pszText;
                EXPECT_EQ(std::strstr(pszText, "  "), nullptr) << "a value left out: " << pszText;
            }
        }
    }
}

// Letters that come several to a week (a club short in two posts, four of
// its staff with too little to do) name the post or the member of staff, so
// that they do not read as one letter sent several times.
TEST_F(FormScripts, StaffLettersNameThePostOrTheMemberOfStaff)
{
    const CXList& staff = m_pClubA->m_lstStaff;
    ASSERT_GE(staff.GetCount(), 2);
    const CStaffDatabase* apStaff[2] = {
        m_pStaff, m_world->GetStaffFromID(static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(staff.GetAt(1)->pData)))};
    ASSERT_NE(apStaff[1], nullptr);
    ASSERT_STRNE(apStaff[0]->GetShortName(), apStaff[1]->GetShortName());
    for (uint16_t wType : {6, 7, 169, 170, 171}) {
        const bool bByPost = wType >= 169;
        CFormScript script;
        ASSERT_TRUE(script.Load("English", GetMailScriptName(wType), true));
        std::vector<std::string> headlines;
        for (int i = 0; i < 2; ++i) {
            CNewsItem item(wType, m_world->GetGameDate());
            item.SetSlot(NEWS_SLOT_CLUB_A, m_pClubA->GetID());
            if (bByPost)
                item.SetSlot(NEWS_SLOT_SUBTYPE, static_cast<uint32_t>(i + 1));
            else
                item.SetSlot(NEWS_SLOT_STAFF, apStaff[i]->GetId());
            const ITEMTEXTPARAMETERS params = ITEMTEXTPARAMETERS::FromNewsItem(item, m_world.get());
            script.SetEventToken(wType);
            const uint16_t wEntry = script.FindMatchingEntry(params);
            ASSERT_NE(wEntry, 0xFFFF) << wType;
            char szBody[FORMSCRIPT_TEXT_BYTES], szHeadline[FORMSCRIPT_TEXT_BYTES];
            script.GetEntryText(szBody, sizeof szBody, wEntry, 0, params);
            script.GetEntryHeadline(szHeadline, sizeof szHeadline, wEntry, 0, params);
            const char* pszName = bByPost ? GetTableText(121, i + 1) : apStaff[i]->GetShortName();
            ASSERT_NE(pszName, nullptr);
            EXPECT_NE(std::strstr(szBody, pszName), nullptr) << szBody;
            EXPECT_NE(std::strstr(szHeadline, pszName), nullptr) << szHeadline;
            headlines.emplace_back(szHeadline);
        }
        EXPECT_NE(headlines[0], headlines[1]) << wType;
    }
}

}  // namespace
