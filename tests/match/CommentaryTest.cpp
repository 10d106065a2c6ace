// The commentary bank: its table file read block by block into groups,
// types and lines with their samples and texts, and the choice of a line
// that never repeats by its draw and keeps the lines heard about equally often.
#include "match/CCommentary.h"
#include "sound/CSoundManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string kGame = BRELLOX_GAME_DIR;
const std::string kFirst = kGame + "/Sounds/English/comment1.bfs";
const std::string kSecond = kGame + "/Sounds/English/comment2.bfs";

// Lines end as the table's do, in a carriage return and a line feed.
std::string Crlf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

class CommentaryTest : public ::testing::Test {
protected:
    bool Load(const std::string& text, CSoundManager* pManager = nullptr)
    {
        const std::string path = (std::filesystem::temp_directory_path() / "brellox_commentary.frm").string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        const bool bLoaded = m_Bank.Load(path.c_str(), kFirst.c_str(), kSecond.c_str(), pManager);
        std::filesystem::remove(path);
        return bLoaded;
    }
    std::string Text(int nEvent, int nType)
    {
        const COMMENTARYLINE* pLine = m_Bank.PickEntry(nEvent, nType);
        const char* psz = pLine ? m_Bank.GetEntry(pLine->wText) : nullptr;
        return psz ? psz : "(none)";
    }

    CCommentary m_Bank;
};

const std::string kTable = Crlf({
    "Events and their types:",
    "0 4",
    "1 2",
    "3 7",
    "REGISTER_ENTRY(0,0)",
    "FIRST: Goal1",
    "SECOND: Win1",
    "TEXT:: {PLAYER_SURNAME} scores",
    "REGISTER_ENTRY(0,1)",
    "TEXT::first",
    "TEXT::second",
    "SECOND: Level1",
    "TEXT::third {NO_SUCH_FIELD}x {TEAM_NAME}y {CURRENT_SCORE}z {GROUND_NAME}w",
    "FIRST: ",
    "TEXT::after the end of the block",
    "REGISTER_ENTRY(1,5)",
    "TEXT::a type the group does not have",
    "REGISTER_ENTRY(1,1)",
    "TEXT::once {PLAYER_SURNAME}one",
    "REGISTER_ENTRY(0,2)",
    "TEXT::a block the end of the file cuts short",
});

TEST_F(CommentaryTest, TheTableIsReadIntoGroupsTypesAndLines)
{
    ASSERT_TRUE(Load(kTable));
    // 3 7 breaks the run of events: two groups.
    EXPECT_EQ(m_Bank.GetGroupCount(), 2);
    EXPECT_EQ(m_Bank.GetTypeCount(0), 4);
    EXPECT_EQ(m_Bank.GetTypeCount(1), 2);
    EXPECT_EQ(m_Bank.GetTypeCount(3), 0);
    struct Case {
        int nEvent, nType, nLines;
    } cases[] = {{0, 0, 1}, {0, 1, 3}, {0, 2, 0}, {0, 3, 0}, {1, 0, 0}, {1, 1, 1}, {1, 5, 0}, {2, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(m_Bank.GetLineCount(c.nEvent, c.nType), c.nLines) << c.nEvent << "," << c.nType;

    const COMMENTARYLINE* pLine = m_Bank.PickEntry(0, 0);
    ASSERT_NE(pLine, nullptr);
    EXPECT_STREQ(m_Bank.GetEntry(pLine->wText), " %s  scores");
    EXPECT_EQ(std::vector<uint16_t>(pLine->awInsertions, pLine->awInsertions + 3),
              (std::vector<uint16_t>{COMMENTARY_INSERT_PLAYER_SURNAME, 0, 0}));
    // No sound manager: no samples.
    EXPECT_EQ(pLine->wFirstSample, COMMENTARYLINE::kNoSample);
    EXPECT_EQ(pLine->wSecondSample, COMMENTARYLINE::kNoSample);

    // Three fields at most; an unknown name counts as type 1.
    std::vector<std::string> texts;
    for (int i = 0; i < 6; ++i)
        texts.push_back(Text(0, 1));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "third %s x %s y %s z w"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "first"), texts.end());
    EXPECT_EQ(Text(1, 1), "once %s one");
    EXPECT_STREQ(m_Bank.GetEntry(0), "");
    EXPECT_EQ(m_Bank.GetEntry(60000), nullptr);
    EXPECT_EQ(m_Bank.PickEntry(1, 5), nullptr);
    EXPECT_EQ(m_Bank.PickEntry(-1, 0), nullptr);
}

TEST_F(CommentaryTest, SamplesLoadFromTheirArchivesIntoTheManager)
{
    CSoundManager manager(1, true, true, nullptr);
    ASSERT_TRUE(manager.Create());
    ASSERT_TRUE(Load(kTable, &manager));
    const COMMENTARYLINE* pLine = m_Bank.PickEntry(0, 0);
    ASSERT_NE(pLine, nullptr);
    ASSERT_NE(pLine->wFirstSample, COMMENTARYLINE::kNoSample);
    ASSERT_NE(pLine->wSecondSample, COMMENTARYLINE::kNoSample);
    EXPECT_STREQ(manager.GetSound(pLine->wFirstSample)->GetName(), "Goal1.wav");
    EXPECT_STREQ(manager.GetSound(pLine->wSecondSample)->GetName(), "Win1.wav");
    EXPECT_GT(manager.GetSoundLength(pLine->wFirstSample), 0u);
}

TEST_F(CommentaryTest, AMissingTableOrArchiveLoadsNothing)
{
    EXPECT_FALSE(m_Bank.Load("Data/Tables/NoSuch/commentary.frm", kFirst.c_str(), kSecond.c_str(), nullptr));
    const std::string path = (std::filesystem::temp_directory_path() / "brellox_commentary_b.frm").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << kTable;
    EXPECT_FALSE(m_Bank.Load(path.c_str(), kFirst.c_str(), "Sounds/NoSuch.bfs", nullptr));
    std::filesystem::remove(path);
    EXPECT_EQ(m_Bank.GetGroupCount(), 0);
}

TEST_F(CommentaryTest, PicksAlternateAndKeepTheLinesEvenlyHeard)
{
    std::vector<std::string> lines = {"Events:", "0 3", "1 1", "2 1", "REGISTER_ENTRY(0,0)", "TEXT::only"};
    lines.push_back("REGISTER_ENTRY(0,1)");
    for (const char* psz : {"TEXT::a", "TEXT::b"})
        lines.push_back(psz);
    lines.push_back("REGISTER_ENTRY(0,2)");
    for (const char* psz : {"TEXT::p", "TEXT::q", "TEXT::r", "TEXT::s"})
        lines.push_back(psz);
    lines.push_back("REGISTER_END");
    ASSERT_TRUE(Load(Crlf(lines)));

    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Text(0, 0), "only");
    // The last pick starts at line 0, so two lines alternate from line 1.
    std::string alternating;
    for (int i = 0; i < 6; ++i)
        alternating += Text(0, 1);
    EXPECT_EQ(alternating, "bababa");

    // A line heard more often than the average gives way to the least-heard
    // one, so four lines stay within a few hearings of each other (random
    // draws alone would drift apart by tens).
    std::map<std::string, int> heard;
    for (int i = 0; i < 400; ++i)
        ++heard[Text(0, 2)];
    ASSERT_EQ(heard.size(), 4u);
    int nLeast = 400, nMost = 0;
    for (const auto& [text, n] : heard)
        nLeast = std::min(nLeast, n), nMost = std::max(nMost, n);
    EXPECT_LE(nMost - nLeast, 4);
}

}  // namespace
