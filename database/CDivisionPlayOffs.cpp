// The division's play-off: the clubs just below the promotion places (and
// any places the division above gives) play knock-out rounds after the
// league season, two legs until the final, which is one match at the
// country's national ground. The winner takes the play-off promotion.
#include "database/CDivisionDatabase.h"

#include <algorithm>
#include <vector>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "platform/Random.h"
#include "season/CRefereeDatabase.h"
#include "season/CupStructureTable.h"
#include "season/MatchRecords.h"

namespace {

// Entrants a play-off takes: a final of two, semi-finals and a final of
// four, or quarter-finals of eight.
constexpr int kMaxEntrants = 8;
constexpr int kSaturday = 6;
constexpr int kWednesday = 3;
constexpr uint8_t kFirstAwayWinner = MATCHRESULT_AWAY;
constexpr uint8_t kLastAwayWinner = MATCHRESULT_AWAY_TWO_LEGS;

// The deciding leg of a two-legged tie goes to extra time and a shoot-out;
// the final too, at the country's national ground.
const ITEMCUPMATCHRULES kTwoLegRules = {CUP_RULE_EXTRA_TIME | CUP_RULE_SHOOT_OUT | CUP_RULE_THIS_LEG, 3, 5, 0, 0};
const ITEMCUPMATCHRULES kFinalRules = {CUP_RULE_EXTRA_TIME | CUP_RULE_SHOOT_OUT, 3, 5, 0, 2};

CDate Today()
{
    return CDivisionDatabase::m_pDatabaseHandler ? CDivisionDatabase::m_pDatabaseHandler->GetGameDate() : CDate();
}

// The first given weekday strictly after the date.
CDate WeekdayAfter(const CDate& date, int nWeekday)
{
    int nShift = nWeekday - date.GetDayOfWeek();
    if (nShift <= 0)
        nShift += 7;
    return CDate(date.GetValue(), nShift);
}

// Entrants of a play-off: the largest power of two (2 to 8) not above the
// places offered; fewer than two gives none.
int BoundEntrants(int nOffered)
{
    int nEntrants = 0;
    for (int n = 2; n <= kMaxEntrants && n <= nOffered; n *= 2)
        nEntrants = n;
    return nEntrants;
}

}  // namespace

bool CDivisionDatabase::HasPlayOffTemplate() const
{
    return m_byKind == DIVISION_KIND_LEAGUE && m_byPlayOffPlaces > 0 && m_byPlayOffPromotions > 0 &&
           GetNeighbourDivision(-1) != nullptr;
}

const ITEMCUPMATCHRULES* CDivisionDatabase::GetPlayOffMatchRules() const
{
    if (!m_pPlayOff)
        return nullptr;
    // The entries hold the clubs that began the current round.
    return m_pPlayOff->Entries.size() <= 2 ? &kFinalRules : &kTwoLegRules;
}

void CDivisionDatabase::MakePlayOffs()
{
    if (!HasPlayOffTemplate()) {
        DebugLog(1, "[CDivisionDatabase::MakePlayOffs] %s has no play-off to play", m_szName);
        return;
    }
    CDivisionDatabase* pAbove = GetNeighbourDivision(-1);
    SortLeagueTable(true);
    std::vector<CClubDatabase*> table;
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
        table.push_back(pClub);

    // A club whose parent plays above cannot go up, so it neither takes a
    // promotion place nor a play-off place.
    auto parentAbove = [pAbove](const CClubDatabase* pClub) {
        const CClubDatabase* pParent = GetLinkedClub(pClub, 1);
        return pParent && pParent->m_pDivision == pAbove;
    };
    size_t nZone = std::min<size_t>(m_byPromotionZone, table.size());
    for (size_t i = 0; i < nZone && nZone < table.size(); ++i)
        if (parentAbove(table[i]))
            ++nZone;
    std::vector<ID_CLUB> entrants;
    for (size_t i = nZone; i < table.size() && static_cast<int>(entrants.size()) < m_byPlayOffPlaces; ++i)
        if (!parentAbove(table[i]))
            entrants.push_back(table[i]->m_wClubId);
    if (pAbove->m_byLowerPlayOffPlaces > 0) {
        std::vector<CClubDatabase*> upper;
        for (CClubDatabase* pClub : pAbove->m_lstClubsByTable.Items<CClubDatabase>())
            upper.push_back(pClub);
        const int nAboveZone = static_cast<int>(upper.size()) - pAbove->m_byRelegationZone;
        for (int i = std::max(0, nAboveZone - pAbove->m_byLowerPlayOffPlaces); i < nAboveZone; ++i)
            entrants.push_back(upper[static_cast<size_t>(i)]->m_wClubId);
    }
    const int nEntrants = BoundEntrants(static_cast<int>(entrants.size()));
    if (nEntrants < static_cast<int>(entrants.size()))
        DebugLog(1, "[CDivisionDatabase::MakePlayOffs] %s offers %d play-off places: %d play", m_szName,
                 static_cast<int>(entrants.size()), nEntrants);
    if (nEntrants == 0) {
        DebugLog(1, "[CDivisionDatabase::MakePlayOffs] %s has too few clubs for a play-off", m_szName);
        return;
    }
    if (!m_pPlayOff)
        m_pPlayOff = new PLAYOFFRECORD;
    m_pPlayOff->Entries.assign(static_cast<size_t>(nEntrants), PLAYOFFENTRY());
    for (int i = 0; i < nEntrants; ++i)
        m_pPlayOff->Entries[static_cast<size_t>(i)].idClub = entrants[static_cast<size_t>(i)];
    m_pPlayOff->byEntrantsLeft = static_cast<uint8_t>(nEntrants);
    m_pPlayOff->byCurrentRound = 0;
    CreatePlayOffFixtures();
}

void CDivisionDatabase::CreatePlayOffFixtures()
{
    if (!m_pPlayOff || m_pPlayOff->byEntrantsLeft < 2)
        return;
    const int nEntrants = std::min<int>(m_pPlayOff->byEntrantsLeft, static_cast<int>(m_pPlayOff->Entries.size()));
    const int nTies = nEntrants / 2;
    const bool bFinal = nTies == 1;
    const ITEMCUPMATCHRULES* pRules = GetPlayOffMatchRules();

    // The first leg on the Wednesday after the league season or the last
    // play-off match; the return leg and the final on a Saturday.
    CDate last = m_SeasonEnd;
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->GetDate() > last)
            last = p->GetDate();
    const CDate firstLeg = bFinal ? WeekdayAfter(CDate(last.GetValue(), 6), kSaturday) : WeekdayAfter(last, kWednesday);
    const CDate secondLeg = WeekdayAfter(firstLeg, kSaturday);

    auto freeReferees = [this](const CDate& date) {
        std::vector<CRefereeDatabase*> free;
        if (m_pCountry)
            for (CRefereeDatabase* pReferee : m_pCountry->GetReferees().Items<CRefereeDatabase>())
                if (pReferee->IsAvailable(date.GetValue()))
                    free.push_back(pReferee);
        return free;
    };
    auto makeFixture = [&](const CDate& date, std::vector<CRefereeDatabase*>& free, ID_CLUB idHome, ID_CLUB idAway) {
        CRefereeDatabase* pReferee = nullptr;
        if (!free.empty()) {
            const size_t nPick = static_cast<size_t>(plat::rand()) % free.size();
            pReferee = free[nPick];
            free.erase(free.begin() + static_cast<long>(nPick));
        }
        else {
            DebugLog(1, "[CDivisionDatabase::CreatePlayOffFixtures] Out of referees!");
            if (m_pCountry && m_pCountry->GetReferees().GetHead())
                pReferee = static_cast<CRefereeDatabase*>(m_pCountry->GetReferees().GetHead()->pData);
        }
        const uint32_t dwNumber = m_pDatabaseHandler ? m_pDatabaseHandler->TakeNextFixtureID() : 0;
        const ID_GROUND wGround =
            m_pDatabaseHandler ? m_pDatabaseHandler->GenerateFixtureGround(pRules->byVenue, idHome, idAway) : 0;
        auto* pFixture = new CDivisionFixturesDatabase(dwNumber, date, idHome, idAway, pReferee ? pReferee->GetID() : 0,
                                                       DIVISION_FIXTURE_PLAYOFF, wGround);
        m_lstFixtures.AddTail(pFixture);
        ForgetPostedFixtures();
        if (pReferee)
            pReferee->AddAssignment(pFixture, REFEREE_ASSIGNMENT_LEAGUE);
    };

    std::vector<CRefereeDatabase*> firstFree = freeReferees(firstLeg);
    std::vector<CRefereeDatabase*> secondFree = freeReferees(secondLeg);
    for (int k = 0; k < nTies; ++k) {
        PLAYOFFENTRY& home = m_pPlayOff->Entries[static_cast<size_t>(2 * nTies - 1 - k)];
        PLAYOFFENTRY& away = m_pPlayOff->Entries[static_cast<size_t>(k)];
        home.nTieGoals = away.nTieGoals = -1;
        const ID_CLUB idHome = static_cast<ID_CLUB>(home.idClub);
        const ID_CLUB idAway = static_cast<ID_CLUB>(away.idClub);
        makeFixture(firstLeg, firstFree, idHome, idAway);
        if (!bFinal)
            makeFixture(secondLeg, secondFree, idAway, idHome);
    }
    if (m_NextMatchDate.GetValue() == 0 || firstLeg < m_NextMatchDate || m_NextMatchDate < Today())
        m_NextMatchDate = firstLeg;
    SortFixturesByDate();
}

bool CDivisionDatabase::PlayOffResult(CClubDatabase* pHome, CClubDatabase* pAway, CDivisionFixturesDatabase* pFixture)
{
    if (!m_pPlayOff || !pHome || !pAway || !pFixture)
        return false;
    PLAYOFFENTRY* pHomeEntry = nullptr;
    PLAYOFFENTRY* pAwayEntry = nullptr;
    for (PLAYOFFENTRY& entry : m_pPlayOff->Entries) {
        if (entry.idClub == pHome->m_wClubId)
            pHomeEntry = &entry;
        else if (entry.idClub == pAway->m_wClubId)
            pAwayEntry = &entry;
    }
    if (!pHomeEntry || !pAwayEntry) {
        DebugLog(0, "[CDivisionDatabase::PlayOffResult] %s: fixture %u names a club out of the play-off", m_szName,
                 pFixture->GetFixtureID());
        return false;
    }
    // A one-match round is settled by its one match.
    bool bComplete = m_pPlayOff->Entries.size() <= 2;
    for (auto [pEntry, nGoals] : {std::pair{pHomeEntry, pFixture->GetHomeGoals()},
                                  std::pair{pAwayEntry, pFixture->GetAwayGoals()}}) {
        if (pEntry->nTieGoals < 0)
            pEntry->nTieGoals = 0;
        else
            bComplete = true;
        pEntry->nTieGoals += nGoals;
    }
    if (!bComplete)
        return false;
    const uint8_t byFlags = static_cast<uint8_t>(pFixture->GetResultValue());
    const bool bAwayWins = byFlags >= kFirstAwayWinner && byFlags <= kLastAwayWinner;
    const ID_CLUB idWinner = bAwayWins ? pAway->m_wClubId : pHome->m_wClubId;
    DebugLog(2, "[CDivisionDatabase::PlayOffResult] %s: %s go through", m_szName,
             bAwayWins ? pAway->GetName() : pHome->GetName());
    if (m_pPlayOff->byEntrantsLeft > 0)
        --m_pPlayOff->byEntrantsLeft;
    pHomeEntry->idClub = idWinner;
    pHomeEntry->nTieGoals = 0;
    *pAwayEntry = PLAYOFFENTRY{0, 0};
    // The round is over when none of its matches is left to play.
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->GetRound() == DIVISION_FIXTURE_PLAYOFF && !p->IsPlayed() && p != pFixture)
            return false;
    return true;
}

void CDivisionDatabase::NextPlayOffRound()
{
    if (!m_pPlayOff)
        return;
    std::vector<PLAYOFFENTRY> left;
    for (const PLAYOFFENTRY& entry : m_pPlayOff->Entries)
        if (entry.idClub != 0)
            left.push_back(PLAYOFFENTRY{entry.idClub, 0});
    m_pPlayOff->Entries = left;
    m_pPlayOff->byEntrantsLeft = static_cast<uint8_t>(left.size());
    ++m_pPlayOff->byCurrentRound;
    if (left.size() >= 2)
        CreatePlayOffFixtures();
    else if (!left.empty())
        DebugLog(2, "[CDivisionDatabase::NextPlayOffRound] %s: play-off won by club %u", m_szName, left[0].idClub);
}

void CDivisionDatabase::ResetPlayOff()
{
    if (!m_pPlayOff)
        return;
    m_pPlayOff->Entries.clear();
    m_pPlayOff->byEntrantsLeft = 0;
    m_pPlayOff->byCurrentRound = 0;
}
