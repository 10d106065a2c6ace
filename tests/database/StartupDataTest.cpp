// Damaged or missing start-up files: a log line naming the file and a root
// that reports its fixed tables as not loaded, never a crash.
#include "GameTree.h"

#include "common/CBinaryFile.h"
#include "database/CDatabaseHandler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace {

// A names file with the given header count and raw name bytes.
std::string NamesFile(uint32_t dwCount, const std::string& names)
{
    std::string bytes(12, '\0');
    for (int b = 0; b < 4; ++b)
        bytes[4 + b] = static_cast<char>((dwCount >> (8 * b)) & 0xFF);
    return bytes + names;
}

struct DAMAGE {
    const char* pszName;
    std::function<void(const GameTreeCopy&)> apply;
    const char* pszExpectedInLog;
};

void PrintTo(const DAMAGE& damage, std::ostream* pStream) { *pStream << damage.pszName; }

class StartupDataTest : public testing::TestWithParam<DAMAGE> {};

TEST_P(StartupDataTest, DamagedFileFailsStartCleanly)
{
    GameTreeCopy tree;
    GetParam().apply(tree);
    CurrentFolder folder(tree.Root());
    LogCapture log;
    CDatabaseHandler root;
    EXPECT_FALSE(root.AreFixedTablesLoaded());
    EXPECT_TRUE(log.Contains(GetParam().pszExpectedInLog)) << "log had " << log.Lines().size() << " lines";
}

std::string ReplaceLine(const std::string& text, int nLine, const std::string& replacement)
{
    size_t nStart = 0;
    for (int i = 0; i < nLine; ++i)
        nStart = text.find('\n', nStart) + 1;
    const size_t nEnd = text.find('\n', nStart);
    return text.substr(0, nStart) + replacement + text.substr(nEnd);
}

const DAMAGE kDamages[] = {
    {"MissingDictionary", [](const GameTreeCopy& t) { std::filesystem::remove(t.File("Data/Names/FirstNames.dat")); },
     "FirstNames.dat"},
    {"TruncatedHeader", [](const GameTreeCopy& t) { t.Write("Data/Names/LastNames.dat", std::string(7, '\0')); },
     "LastNames.dat: bad header"},
    {"CountBeyondTheBytes", [](const GameTreeCopy& t) { t.Write("Data/Names/LastNames.dat", NamesFile(1000, std::string("Abel\0Bo\0", 8))); },
     "LastNames.dat: bad header"},
    {"FewerNamesThanCounted", [](const GameTreeCopy& t) { t.Write("Data/Names/LastNames.dat", NamesFile(3, std::string("Abel\0Bo\0", 8))); },
     "fewer names than counted"},
    {"MoreBytesThanCounted", [](const GameTreeCopy& t) { t.Write("Data/Names/LastNames.dat", NamesFile(1, std::string("Abel\0Bo\0", 8))); },
     "more bytes than counted names"},
    {"UnterminatedName", [](const GameTreeCopy& t) { t.Write("Data/Names/LastNames.dat", NamesFile(2, std::string("Abel\0Bo", 7))); },
     "fewer names than counted"},
    {"UnsortedDictionary", [](const GameTreeCopy& t) { t.Write("Data/Names/FirstNames.dat", NamesFile(2, std::string("Bo\0Abel\0", 8))); },
     "not in ascending order"},
    {"EmptyPool", [](const GameTreeCopy& t) { t.Write("Data/Names/16FN.dat", NamesFile(0, "")); },
     "16FN.dat: bad header"},
    {"MissingPool", [](const GameTreeCopy& t) { std::filesystem::remove(t.File("Data/Names/55LN.dat")); },
     "55LN.dat"},
    {"MissingTable", [](const GameTreeCopy& t) { std::filesystem::remove(t.File("Data/Tables/Features.txt")); },
     "Cannot open Data\\Tables\\Features.txt"},
    {"TooFewLines", [](const GameTreeCopy& t) {
         std::string text = t.Read("Data/Tables/Stadiums.txt");
         t.Write("Data/Tables/Stadiums.txt", text.substr(0, text.rfind('\n', text.size() - 2) + 1));
     }, "Stadiums.txt: 89 lines where 90 are needed"},
    {"TooManyLines", [](const GameTreeCopy& t) { t.Write("Data/Tables/StadAlloc.txt", t.Read("Data/Tables/StadAlloc.txt") + "1,0,0,0,5\n"); },
     "StadAlloc.txt: more lines than the table holds (line 31)"},
    {"NotANumber", [](const GameTreeCopy& t) { t.Write("Data/Tables/Roofing.txt", ReplaceLine(t.Read("Data/Tables/Roofing.txt"), 4, "0,0,1,x,3,0,0,-5,24000\r")); },
     "Roofing.txt: not a number (line 5)"},
    {"TooFewValues", [](const GameTreeCopy& t) { t.Write("Data/Tables/Facilities.txt", ReplaceLine(t.Read("Data/Tables/Facilities.txt"), 0, "4,0,60000,4")); },
     "Facilities.txt: too few values (line 1)"},
    {"TooManyValues", [](const GameTreeCopy& t) { t.Write("Data/Tables/Facilities.txt", ReplaceLine(t.Read("Data/Tables/Facilities.txt"), 0, "4,0,60000,4,6000,1")); },
     "Facilities.txt: too many values (line 1)"},
    {"ByteOutOfRange", [](const GameTreeCopy& t) { t.Write("Data/Tables/StaExtra.txt", ReplaceLine(t.Read("Data/Tables/StaExtra.txt"), 2, "0,0,0,2,10,0,900,2,400")); },
     "StaExtra.txt: value out of range (line 3)"},
    {"NegativeMoney", [](const GameTreeCopy& t) { t.Write("Data/Tables/Stadiums.txt", ReplaceLine(t.Read("Data/Tables/Stadiums.txt"), 0, "0,0,0,0,3,-54000,1200,3600,8,2,5000")); },
     "Stadiums.txt: value out of range (line 1)"},
    {"LineTooLong", [](const GameTreeCopy& t) { t.Write("Data/Tables/Features.txt", ReplaceLine(t.Read("Data/Tables/Features.txt"), 0, "12,0," + std::string(80, '4') + ",8,24000")); },
     "Features.txt: line too long (line 1)"},
    {"SpaceInLine", [](const GameTreeCopy& t) { t.Write("Data/Tables/Features.txt", ReplaceLine(t.Read("Data/Tables/Features.txt"), 0, "12, 0,400000,8,24000")); },
     "Features.txt: not a number (line 1)"},
};

INSTANTIATE_TEST_SUITE_P(Damages, StartupDataTest, testing::ValuesIn(kDamages),
                         [](const testing::TestParamInfo<DAMAGE>& info) { return std::string(info.param.pszName); });

TEST(StartupDataTest, YearlyFiguresBecomeMonthlyTruncated)
{
    GameTreeCopy tree;
    tree.Write("Data/Tables/Stadiums.txt",
               ReplaceLine(tree.Read("Data/Tables/Stadiums.txt"), 0, "0,0,0,0,3,54000,1200,25,8,2,5000"));
    tree.Write("Data/Tables/Facilities.txt",
               ReplaceLine(tree.Read("Data/Tables/Facilities.txt"), 0, "4,0,60000,4,35"));
    CurrentFolder folder(tree.Root());
    CDatabaseHandler root;
    ASSERT_TRUE(root.AreFixedTablesLoaded());
    EXPECT_EQ(root.GetStandTableRecord(0, 0, 0, 0)->dwMonthlyMaintenance, 2u);
    EXPECT_EQ(root.GetFacilityTableRecord(4, 0)->dwMonthlyMaintenance, 2u);
}

TEST(StartupDataTest, StadiumSizeRowsAreSortedAndFoundByBound)
{
    // Key (1, 2) gets bounds 300, 100, 200 out of order; key (1, 0) and (1, 1) one row each.
    std::string text;
    for (int i = 0; i < 27; ++i)
        text += "2,0,0,0," + std::to_string(i + 1) + "\n";
    text += "1,3,5,2,300\r\n1,1,1,2,100\r\n1,2,3,2,200\r\n";
    GameTreeCopy tree;
    tree.Write("Data/Tables/StadAlloc.txt", text);
    CurrentFolder folder(tree.Root());
    CDatabaseHandler root;
    ASSERT_TRUE(root.AreFixedTablesLoaded());
    EXPECT_EQ(root.GetStadiumSizeTableRow(0)->byKey1, 1);
    EXPECT_EQ(root.GetStadiumSizeTableRow(0)->dwBound, 100u);
    EXPECT_EQ(root.GetStadiumSizeTableRow(2)->dwBound, 300u);
    const struct {
        uint32_t dwValue;
        uint32_t dwBound;
    } cases[] = {{0, 100}, {100, 100}, {150, 100}, {200, 100}, {201, 200}, {300, 200}, {301, 300}, {90000, 300}};
    for (const auto& c : cases) {
        const STADIUMSIZETABLERECORD* pRow = root.GetStadiumSizeTableRecord(1, 2, c.dwValue);
        ASSERT_NE(pRow, nullptr);
        EXPECT_EQ(pRow->dwBound, c.dwBound) << c.dwValue;
    }
    // The walk ends at the last row of the table too.
    EXPECT_EQ(root.GetStadiumSizeTableRecord(2, 0, 100)->dwBound, 27u);
    EXPECT_EQ(root.GetStadiumSizeTableRecord(1, 0, 100), nullptr);
}

TEST(StartupDataTest, NamesFileRoundTrip)
{
    GameTreeCopy tree;
    const std::string path = tree.File("names.dat").string();
    ASSERT_TRUE(CNameDictionary::Write(path.c_str(), {"Ada", "Bo", "Cy"}));
    CNameDictionary names;
    ASSERT_TRUE(names.Load(path.c_str(), true));
    EXPECT_EQ(names.GetCount(), 3);
    EXPECT_EQ(names.GetTextSize(), 10u);
    EXPECT_STREQ(names.GetNameAtOffset(4), "Bo");
    EXPECT_EQ(names.GetName(3), nullptr);
    EXPECT_FALSE(CNameDictionary::Write(path.c_str(), {}));
    EXPECT_FALSE(CNameDictionary::Write(path.c_str(), {std::string(27, 'a')}));
    EXPECT_FALSE(CNameDictionary::Write(path.c_str(), {""}));
    // The refused writes left the earlier file untouched.
    ASSERT_TRUE(names.Load(path.c_str(), true));
    EXPECT_EQ(names.GetCount(), 3);
}

}  // namespace
