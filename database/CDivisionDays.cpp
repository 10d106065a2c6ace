// The division's part of the day advance: posting a match day's league
// results and the match-day history file "TempDivision%d.dhs".
#include "database/CDivisionDatabase.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "season/MatchRecords.h"

namespace {

constexpr int kHistoryRecordBytes = CDivisionDatabase::HISTORY_RECORD_BYTES;
// The leg state of a league match: a single match.
constexpr uint8_t kLeagueLegState = 1;
// The leg bits of a play-off match: one match or a first leg, a return leg
// after a played first leg, a return leg whose first leg was never played.
constexpr uint8_t kPlayOffSingleLeg = 8;
constexpr uint8_t kPlayOffSecondLegPlayed = 4;
constexpr uint8_t kPlayOffSecondLegUnplayed = 2;

CDate Today()
{
    return CDivisionDatabase::m_pDatabaseHandler ? CDivisionDatabase::m_pDatabaseHandler->GetGameDate() : CDate();
}

}  // namespace

std::vector<int> CDivisionDatabase::CountPlayedMatchDays(const CDate& date, const std::vector<ID_CLUB>& clubs) const
{
    // Only played fixtures count: the history is written before the day's
    // own matches, so a club that plays again today has not played yet.
    // One walk over the fixtures tallies every club: a club listed twice
    // is tallied at its first place.
    struct Tally {
        int nDays = 0;
        CDate last;
    };
    if (clubs.empty())
        return {};
    // Each identifier's first place in the list (-1 for none), indexed from
    // the lowest identifier: the walk looks up two clubs for every fixture of
    // the season so far, too often to search the list each time.
    const auto [itLow, itHigh] = std::minmax_element(clubs.begin(), clubs.end());
    const ID_CLUB wLow = *itLow;
    const ID_CLUB wHigh = *itHigh;
    std::vector<int> anPlaces(static_cast<size_t>(wHigh - wLow) + 1, -1);
    for (size_t i = clubs.size(); i-- > 0;)
        anPlaces[static_cast<size_t>(clubs[i] - wLow)] = static_cast<int>(i);
    const auto placeOf = [&](ID_CLUB wClub) {
        return wClub < wLow || wClub > wHigh ? -1 : anPlaces[static_cast<size_t>(wClub - wLow)];
    };
    std::vector<Tally> tallies(clubs.size());
    auto tally = [&](ID_CLUB wClub, const CDate& played) {
        const int nPlace = placeOf(wClub);
        if (wClub == 0 || nPlace < 0)
            return;
        Tally& t = tallies[static_cast<size_t>(nPlace)];
        if (played != t.last) {
            ++t.nDays;
            t.last = played;
        }
    };
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
        if (p->GetDate() > date || p->GetRound() == DIVISION_FIXTURE_PLAYOFF)
            break;
        if (!p->IsPlayed())
            continue;
        tally(p->GetHomeClubID(), p->GetDate());
        if (p->GetAwayClubID() != p->GetHomeClubID())
            tally(p->GetAwayClubID(), p->GetDate());
    }
    std::vector<int> days(clubs.size(), 0);
    for (size_t i = 0; i < clubs.size(); ++i)
        days[i] = tallies[static_cast<size_t>(placeOf(clubs[i]))].nDays;
    return days;
}

std::string CDivisionDatabase::GetHistoryFileName() const
{
    return "TempDivision" + std::to_string(m_byDivisionId) + ".dhs";
}

DIVISIONHISTORYROW CDivisionDatabase::GetClubHistoryRow(ID_CLUB idClub, int nMatchDay)
{
    DIVISIONHISTORYROW row;
    int nSlot = 0;
    bool bFound = false;
    for (const CClubDatabase* pClub : m_lstClubsByID.Items<CClubDatabase>()) {
        if (pClub->m_wClubId == idClub) {
            bFound = true;
            break;
        }
        ++nSlot;
    }
    if (!bFound || nMatchDay < 1 || nMatchDay > m_nGamesPerClub)
        return row;
    if (!m_HistoryFile.Open(GetHistoryFileName(), static_cast<size_t>(GetHistoryFileBytes())))
        DebugLog(1, "[CDivisionDatabase::GetClubHistoryRow] %s is missing or short", GetHistoryFileName().c_str());
    const size_t nOffset =
        (static_cast<size_t>(m_nGamesPerClub) * static_cast<size_t>(nSlot) + static_cast<size_t>(nMatchDay) - 1) *
        kHistoryRecordBytes;
    if (nOffset + kHistoryRecordBytes > m_HistoryFile.GetSize())
        return row;
    const uint8_t* p = m_HistoryFile.GetData() + nOffset;
    row.dwDate = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
                 static_cast<uint32_t>(p[3]) << 24;
    // The date and the two result totals lead; the twelve figures follow in
    // home and away pairs.
    const uint8_t* pFigures = p + 8;
    uint8_t* apTargets[6] = {row.abyPlayed, row.abyWon, row.abyDrawn, row.abyLost, row.abyGoalsFor, row.abyGoalsAgainst};
    for (int i = 0; i < 6; ++i) {
        apTargets[i][0] = pFigures[2 * i];
        apTargets[i][1] = pFigures[2 * i + 1];
    }
    row.byPoints = pFigures[12];
    row.byPosition = pFigures[13];
    return row;
}

int64_t CDivisionDatabase::GetHistoryFileBytes() const
{
    return static_cast<int64_t>(m_nClubAppearances) * kHistoryRecordBytes;
}

bool CDivisionDatabase::CreateDivisionHistory()
{
    UpdateGameCounts();
    m_HistoryFile.Reset(GetHistoryFileName(), static_cast<size_t>(GetHistoryFileBytes()));
    return true;
}

bool CDivisionDatabase::FlushHistoryFiles()
{
    bool bFlushed = true;
    DropPushedOutClubHistory();
    for (CWorkingFileImage* pFile : {&m_HistoryFile, &m_ClubHistoryFile}) {
        if (!pFile->Flush()) {
            DebugLog(0, "[CDivisionDatabase::FlushHistoryFiles] Could not write %s", pFile->GetName().c_str());
            bFlushed = false;
        }
    }
    return bFlushed;
}

void CDivisionDatabase::CloseHistoryFiles()
{
    m_HistoryFile.Close();
    m_ClubHistoryFile.Close();
    m_nClubHistoryPushedOut = 0;
}

std::vector<uint8_t> CDivisionDatabase::ReadClubHistory(ID_CLUB idClub, int nRecords)
{
    std::vector<uint8_t> records;
    int nSlot = 0;
    bool bFound = false;
    for (const CClubDatabase* pClub : m_lstClubsByID.Items<CClubDatabase>()) {
        if (pClub->m_wClubId == idClub) {
            bFound = true;
            break;
        }
        ++nSlot;
    }
    if (!bFound || nRecords <= 0 || m_nGamesPerClub <= 0)
        return records;
    const std::string name = GetHistoryFileName();
    if (!m_HistoryFile.IsOpen() && !m_HistoryFile.Open(name, static_cast<size_t>(GetHistoryFileBytes())))
        return records;
    const size_t nFirst = static_cast<size_t>(m_nGamesPerClub) * static_cast<size_t>(nSlot) * kHistoryRecordBytes;
    const size_t nCount = static_cast<size_t>(std::min(nRecords, m_nGamesPerClub));
    if (nFirst + nCount * kHistoryRecordBytes > m_HistoryFile.GetSize())
        return records;
    const uint8_t* pData = m_HistoryFile.GetData() + nFirst;
    records.assign(pData, pData + nCount * kHistoryRecordBytes);
    return records;
}

bool CDivisionDatabase::WriteDivisionHistory()
{
    if (!m_byTableChanged)
        return true;
    m_byTableChanged = 0;
    SortLeagueTable(true);
    UpdateGameCounts();

    // A file that is missing or shorter than its grid is made again, so that
    // no record is ever written outside it.
    const std::string name = GetHistoryFileName();
    if (!m_HistoryFile.Open(name, static_cast<size_t>(GetHistoryFileBytes())))
        DebugLog(1, "[CDivisionDatabase::WriteDivisionHistory] %s is missing or short: made again", name.c_str());
    const CDate today = Today();
    std::vector<uint8_t> record;
    record.reserve(kHistoryRecordBytes);
    std::vector<ID_CLUB> clubs;
    clubs.reserve(static_cast<size_t>(m_lstClubsByID.GetCount()));
    for (const CClubDatabase* pClub : m_lstClubsByID.Items<CClubDatabase>())
        clubs.push_back(pClub->m_wClubId);
    const std::vector<int> matchDays = CountPlayedMatchDays(today, clubs);
    int nIndex = 0;
    for (const CClubDatabase* pClub : m_lstClubsByID.Items<CClubDatabase>()) {
        const int nSlot = nIndex++;
        const int nMatchDay = matchDays[static_cast<size_t>(nSlot)];
        if (nMatchDay == 0)
            continue;
        if (nMatchDay > m_nGamesPerClub) {
            DebugLog(1,
                     "[CDivisionDatabase::WriteDivisionHistory] Club %u has played %d match days of %d in %s: not "
                     "written",
                     pClub->m_wClubId, nMatchDay, m_nGamesPerClub, m_szName);
            continue;
        }
        const size_t nOffset =
            (static_cast<size_t>(m_nGamesPerClub) * static_cast<size_t>(nSlot) + static_cast<size_t>(nMatchDay) - 1) *
            kHistoryRecordBytes;
        if (nOffset + kHistoryRecordBytes > m_HistoryFile.GetSize())
            break;
        const CLUBLEAGUEROW& home = pClub->m_HomeRow;
        const CLUBLEAGUEROW& away = pClub->m_AwayRow;
        record.clear();
        CBinaryWriter writer(record);
        writer.WriteU32(today.GetValue());
        writer.WriteU16(pClub->m_awResultTotals[0]);
        writer.WriteU16(pClub->m_awResultTotals[1]);
        const uint8_t abyRow[12] = {home.byPlayed, away.byPlayed,     home.byWon,      away.byWon,
                                    home.byDrawn,  away.byDrawn,      home.byLost,     away.byLost,
                                    home.byGoalsFor, away.byGoalsFor, home.byGoalsAgainst, away.byGoalsAgainst};
        writer.WriteBytes(abyRow, sizeof(abyRow));
        writer.WriteU8(pClub->m_byPoints);
        writer.WriteU8(pClub->m_byLeaguePosition);
        writer.WriteZeros(2);
        std::copy(record.begin(), record.end(), m_HistoryFile.GetData() + nOffset);
        m_HistoryFile.MarkChanged();
    }
    return true;
}

int CDivisionDatabase::PostLeagueResults(const CDate& date, CBinaryWriter* pHistory)
{
    if (!m_SeasonStart.IsValid() || date < m_SeasonStart || !m_pDatabaseHandler)
        return 0;
    int nPlayed = 0;
    bool bRoundOver = false;
    // The fixtures before the first one not earlier than the last day walked
    // are all of earlier days: the walk starts there.
    LPXLISTNODE pNode = m_pFirstFixtureNotPosted && date >= m_FirstFixtureNotPostedDate ? m_pFirstFixtureNotPosted
                                                                                          : m_lstFixtures.GetHead();
    bool bFirstMet = false;
    for (; pNode; pNode = pNode->pNext) {
        auto* pFixture = static_cast<CDivisionFixturesDatabase*>(pNode->pData);
        if (pFixture->GetDate() < date)
            continue;
        if (!bFirstMet) {
            bFirstMet = true;
            m_pFirstFixtureNotPosted = pNode;
            m_FirstFixtureNotPostedDate = date;
        }
        if (pFixture->GetDate() > date) {
            m_NextMatchDate = pFixture->GetDate();
            break;
        }
        if (pFixture->IsPlayed())
            continue;
        CClubDatabase* pHome = m_pDatabaseHandler->GetClubFromID(pFixture->GetHomeClubID());
        CClubDatabase* pAway = m_pDatabaseHandler->GetClubFromID(pFixture->GetAwayClubID());
        if (!pHome || !pAway) {
            DebugLog(0, "[CDivisionDatabase::PostLeagueResults] Fixture %u names a club that does not exist",
                     pFixture->GetFixtureID());
            continue;
        }
        if (pHome->m_pDivision != pAway->m_pDivision)
            DebugLog(1, "This fixture has teams from different divisions when they shouldn't be");
        // A human's match waits for the match screen.
        if (m_pDatabaseHandler->IsFixtureHeldForMatchScreen(pHome, pAway))
            continue;
        if (pFixture->GetRound() == DIVISION_FIXTURE_PLAYOFF) {
            bRoundOver = PlayPlayOffFixture(pFixture, pHome, pAway, pHistory) || bRoundOver;
            ++nPlayed;
            continue;
        }
        pHome->m_byPreviousPosition = pHome->m_byLeaguePosition;
        pAway->m_byPreviousPosition = pAway->m_byLeaguePosition;

        MATCHPARAMETERS block;
        MakeLeagueMatchBlock(pFixture, pHome, pAway, block);
        m_pDatabaseHandler->ProcessMatch(&block, pFixture->GetGroundID(), pHistory);
        RecordLeagueResult(pFixture, pHome, pAway, block);
        ++nPlayed;
    }
    // The next round's fixtures join the list only after the walk over it.
    if (bRoundOver)
        NextPlayOffRound();
    return nPlayed;
}

bool CDivisionDatabase::PlayPlayOffFixture(CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome,
                                           CClubDatabase* pAway, CBinaryWriter* pHistory)
{
    MATCHPARAMETERS block;
    MakePlayOffMatchBlock(pFixture, pHome, pAway, block);
    m_pDatabaseHandler->ProcessMatch(&block, pFixture->GetGroundID(), pHistory);
    return RecordPlayOffResult(pFixture, pHome, pAway, block);
}

void CDivisionDatabase::MakePlayOffMatchBlock(const CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome,
                                              CClubDatabase* pAway, MATCHPARAMETERS& block) const
{
    block.pHomeClub = pHome;
    block.pAwayClub = pAway;
    block.pRules = GetPlayOffMatchRules();
    block.dwMatchID = pFixture->GetFixtureID();
    block.wRefereeID = pFixture->GetRefereeID();
    block.byMatchKind = MATCHKIND_LEAGUE;
    // The first leg of the tie, when this is its return.
    const CDivisionFixturesDatabase* pFirst = GetReverseFixture(pFixture);
    if (!pFirst || pFirst->GetDate() >= pFixture->GetDate())
        block.byResult = kPlayOffSingleLeg;
    else if (pFirst->IsPlayed()) {
        block.byResult = kPlayOffSecondLegPlayed;
        block.byHomeGoals = pFirst->GetHomeGoals();
        block.byAwayGoals = pFirst->GetAwayGoals();
    }
    else
        block.byResult = kPlayOffSecondLegUnplayed;
}

void CDivisionDatabase::MakeLeagueMatchBlock(const CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome,
                                             CClubDatabase* pAway, MATCHPARAMETERS& block) const
{
    block.pHomeClub = pHome;
    block.pAwayClub = pAway;
    block.dwMatchID = pFixture->GetFixtureID();
    block.wRefereeID = pFixture->GetRefereeID();
    block.byMatchKind = MATCHKIND_LEAGUE;
    block.byResult = kLeagueLegState;
}

void CDivisionDatabase::RecordLeagueResult(CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome,
                                           CClubDatabase* pAway, const MATCHPARAMETERS& block)
{
    pFixture->SetGoals(block.byHomeGoals, block.byAwayGoals);
    pFixture->SetResultValue(block.byResult);
    pFixture->SetState(kLeagueLegState);
    m_byTableChanged = 1;
    UpdateLeagueTableForResult(pHome, pAway, block.byHomeGoals, block.byAwayGoals);
}

bool CDivisionDatabase::RecordPlayOffResult(CDivisionFixturesDatabase* pFixture, CClubDatabase* pHome,
                                            CClubDatabase* pAway, const MATCHPARAMETERS& block)
{
    pFixture->SetGoals(block.byHomeGoals, block.byAwayGoals);
    pFixture->SetResultValue(block.byResult);
    pFixture->SetState(kLeagueLegState);
    return PlayOffResult(pHome, pAway, pFixture);
}

bool CDivisionDatabase::UpdateSeasonStarted(const CDate& date)
{
    const LPXLISTNODE pHead = m_lstFixtures.GetHead();
    if (pHead && !m_bySeasonStarted && date > static_cast<CDivisionFixturesDatabase*>(pHead->pData)->GetDate())
        m_bySeasonStarted = 1;
    return m_bySeasonStarted != 0;
}
