// A cut or damaged world file is refused: the loader logs it, frees what it
// had built and reports failure.
#include "WorldFileSupport.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"

#include <algorithm>
#include <cstring>

using namespace worldfile_test;

namespace {

// Where the first club's record starts: its name stands at offset 822.
size_t FirstClubOffset(const Bytes& bytes, const CDatabaseHandler& handler)
{
    const CClubDatabase* pClub = handler.GetClubFromID(1);
    if (!pClub)
        return std::string::npos;
    Bytes name(31, '\0');
    std::copy_n(pClub->GetName(), std::strlen(pClub->GetName()), name.begin());
    const size_t at = bytes.find(name);
    return at == std::string::npos ? at : at - 822;
}

class DamagedFileTest : public WorldFileTest {
protected:
    void ExpectRefused(const Bytes& bytes, size_t nLength, const char* pszLogged = nullptr)
    {
        LogCapture log;
        EXPECT_FALSE(LoadBytes(*m_handler, bytes, nLength)) << "cut at " << nLength;
        ExpectEmptyWorld(*m_handler);
        EXPECT_TRUE(log.Contains("[CDatabaseHandler::Load] The world file is refused"));
        if (pszLogged) {
            EXPECT_TRUE(log.Contains(pszLogged)) << pszLogged;
        }
    }
};

// Every cut in the header and the first records, and cuts spread over the
// whole file down to its last byte.
TEST_F(DamagedFileTest, RefusesEveryCut)
{
    const Bytes bytes = StartingDatabase();
    ASSERT_GT(bytes.size(), 20000u);
    std::vector<size_t> cuts;
    for (size_t n = 0; n < 12000; ++n)
        cuts.push_back(n);
    for (size_t i = 1; i <= 48; ++i)
        cuts.push_back(12000 + (bytes.size() - 12000) * i / 49);
    // The pools, free identifiers, counters, settings and current human.
    for (size_t n = bytes.size() - 40; n < bytes.size(); ++n)
        cuts.push_back(n);
    for (size_t nCut : cuts) {
        EXPECT_FALSE(LoadBytes(*m_handler, bytes, nCut)) << "cut at " << nCut;
        if (m_handler->IsDatabaseLoaded() || m_handler->GetCountryCount() != 0 || m_handler->GetPlayerTableSize() != 0 ||
            m_handler->GetManagerTableSize() != 0) {
            ADD_FAILURE() << "a world stays after the cut at " << nCut;
            break;
        }
    }
    // One cut in full, with the log.
    ExpectRefused(bytes, bytes.size() / 2);
    // The whole file still loads in the same root afterwards.
    EXPECT_TRUE(LoadBytes(*m_handler, bytes));
}

TEST_F(DamagedFileTest, RefusesCountsLargerThanWhatFollows)
{
    const Bytes good = StartingDatabase();
    ASSERT_TRUE(LoadBytes(*m_handler, good));
    const size_t nClub = FirstClubOffset(good, *m_handler);
    ASSERT_NE(nClub, std::string::npos);
    // The counts at the end: free identifiers, then 24 bytes of counters,
    // 3 settings and the current human.
    const size_t nFreeCount = good.size() - 32;
    ASSERT_EQ(Get32(good, nFreeCount), 0u);

    struct CASE {
        const char* pszWhat;
        size_t nOffset;
        uint32_t dwValue;
    };
    const CASE cases[] = {
        {"countries", 7044, 1000},
        {"countries", 7044, 0x80000000u},
        {"players of a club", nClub + 760, 0x7FFFFFFF},
        {"staff of a club", nClub + 756, 5000},
        {"free identifiers", nFreeCount, 8},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        Bytes bad = good;
        Put32(bad, c.nOffset, c.dwValue);
        ExpectRefused(bad, bad.size());
    }
}

TEST_F(DamagedFileTest, RefusesIdentifiersOutOfRange)
{
    const Bytes good = StartingDatabase();
    ASSERT_TRUE(LoadBytes(*m_handler, good));
    const size_t nClub = FirstClubOffset(good, *m_handler);
    ASSERT_NE(nClub, std::string::npos);
    const int nClubs = m_handler->GetClubTotal();

    {
        SCOPED_TRACE("a club identifier above the club total");
        Bytes bad = good;
        Put16(bad, nClub + 810, static_cast<uint16_t>(nClubs + 1));
        ExpectRefused(bad, bad.size(), "lies outside 1..");
    }
    {
        SCOPED_TRACE("two clubs with one identifier");
        Bytes bad = good;
        Put16(bad, nClub + 810, 2);
        ExpectRefused(bad, bad.size(), "or is used twice");
    }
    {
        SCOPED_TRACE("a home ground that does not exist");
        Bytes bad = good;
        Put16(bad, nClub + 812, 60000);
        ExpectRefused(bad, bad.size(), "which does not exist");
    }
    {
        SCOPED_TRACE("a current human outside the four slots");
        Bytes bad = good;
        bad.back() = 7;
        ExpectRefused(bad, bad.size(), "is not a slot");
    }
}

}  // namespace
