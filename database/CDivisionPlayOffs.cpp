// The division's play-off: the clubs just below the promotion places (and
// any places the division above gives) play after the league season in the
// rounds of the division's template (Data\Tables\PlayOffs.txt): knock-out
// rounds of one match or two legs down to a final, or a small league of
// four. The winners take the play-off promotions.
#include "database/CDivisionDatabase.h"

#include <algorithm>
#include <tuple>
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

constexpr uint8_t kFirstAwayWinner = MATCHRESULT_AWAY;
constexpr uint8_t kLastAwayWinner = MATCHRESULT_AWAY_TWO_LEGS;
// The small league of four: (round, home entrant, away entrant).
constexpr int kLeagueFixtures[12][3] = {{0, 0, 1}, {0, 3, 2}, {1, 2, 0}, {1, 3, 1}, {2, 0, 3}, {2, 1, 2},
                                        {3, 1, 0}, {3, 2, 3}, {4, 3, 0}, {4, 2, 1}, {5, 0, 2}, {5, 1, 3}};

CDate Today()
{
    return CDivisionDatabase::m_pDatabaseHandler ? CDivisionDatabase::m_pDatabaseHandler->GetGameDate() : CDate();
}

}  // namespace

const PLAYOFFTEMPLATE* CDivisionDatabase::GetPlayOffTemplate() const
{
    if (!m_pDatabaseHandler || !m_pCountry)
        return nullptr;
    int nPlace = 0;
    for (const CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>()) {
        if (pDivision == this)
            return m_pDatabaseHandler->GetPlayOffTemplates().Find(m_pCountry->GetID(), nPlace);
        ++nPlace;
    }
    return nullptr;
}

bool CDivisionDatabase::HasPlayOffTemplate() const
{
    return m_byKind == DIVISION_KIND_LEAGUE && m_byPlayOffPlaces > 0 && m_byPlayOffPromotions > 0 &&
           GetNeighbourDivision(-1) != nullptr && GetPlayOffTemplate() != nullptr;
}

const PLAYOFFROUND* CDivisionDatabase::GetPlayOffRound() const
{
    const PLAYOFFTEMPLATE* pTemplate = m_pPlayOff ? GetPlayOffTemplate() : nullptr;
    if (!pTemplate || pTemplate->Rounds.empty())
        return nullptr;
    const size_t nRound = std::min<size_t>(m_pPlayOff->byCurrentRound, pTemplate->Rounds.size() - 1);
    return &pTemplate->Rounds[nRound];
}

const ITEMCUPMATCHRULES* CDivisionDatabase::GetPlayOffMatchRules() const
{
    const PLAYOFFROUND* pRound = GetPlayOffRound();
    return pRound ? &pRound->rules : nullptr;
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
    // The template decides how many play: places beyond them go unused, and
    // too few clubs for its first round play no play-off.
    const int nEntrants = GetPlayOffTemplate()->GetEntrants();
    if (static_cast<int>(entrants.size()) < nEntrants) {
        DebugLog(1, "[CDivisionDatabase::MakePlayOffs] %s has %d clubs for a play-off of %d", m_szName,
                 static_cast<int>(entrants.size()), nEntrants);
        return;
    }
    if (static_cast<int>(entrants.size()) > nEntrants)
        DebugLog(1, "[CDivisionDatabase::MakePlayOffs] %s offers %d play-off places: %d play", m_szName,
                 static_cast<int>(entrants.size()), nEntrants);
    if (!m_pPlayOff)
        m_pPlayOff = new PLAYOFFRECORD;
    m_pPlayOff->Entries.assign(static_cast<size_t>(nEntrants), PLAYOFFENTRY());
    for (int i = 0; i < nEntrants; ++i)
        m_pPlayOff->Entries[static_cast<size_t>(i)].idClub = entrants[static_cast<size_t>(i)];
    m_pPlayOff->byEntrantsLeft = static_cast<uint8_t>(nEntrants);
    m_pPlayOff->byCurrentRound = 0;
    CreatePlayOffFixtures();
}

CDate CDivisionDatabase::GetPlayOffDate(const CUPROUNDDATE& rule, const CDate& after) const
{
    const CDate countryStart = m_pCountry ? m_pCountry->GetSeasonStartDate() : CDate();
    const int nStartYear = m_SeasonStart.IsValid()   ? m_SeasonStart.GetYear()
                           : countryStart.IsValid() ? countryStart.GetYear()
                                                    : after.GetYear() - 1;
    // The rule's day when it falls after the given date, else the first
    // such weekday after it.
    CDate date;
    date.SetNthWeekdayFrom(rule.byWeekday, rule.byNth, rule.byMonth, nStartYear + rule.byYearOffset,
                           CDate(after.GetValue(), 1), 1);
    return date;
}

void CDivisionDatabase::CreatePlayOffFixtures()
{
    const PLAYOFFTEMPLATE* pTemplate = GetPlayOffTemplate();
    const PLAYOFFROUND* pRound = GetPlayOffRound();
    if (!m_pPlayOff || !pTemplate || !pRound || m_pPlayOff->byEntrantsLeft < 2 ||
        m_pPlayOff->byCurrentRound >= pTemplate->Rounds.size())
        return;
    const ITEMCUPMATCHRULES* pRules = &pRound->rules;
    // Every match comes after the league season and the rounds before.
    CDate last = m_SeasonEnd;
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->GetDate() > last)
            last = p->GetDate();

    auto freeReferees = [this](const CDate& date) {
        std::vector<CRefereeDatabase*> free;
        if (m_pCountry)
            for (CRefereeDatabase* pReferee : m_pCountry->GetReferees().Items<CRefereeDatabase>())
                if (pReferee->IsAvailable(date.GetValue()))
                    free.push_back(pReferee);
        return free;
    };
    // A cup match of one of the round's clubs (a final, a replay) moves the
    // round's day on until every club is free.
    auto clearOfCups = [this](CDate date, const std::vector<ID_CLUB>& clubs) {
        if (!m_pDatabaseHandler)
            return date;
        for (int nTries = 0; nTries < 14; ++nTries, ++date) {
            bool bFree = true;
            for (ID_CLUB idClub : clubs)
                bFree = bFree && !m_pDatabaseHandler->FindCupFixtureOnDate(idClub, date);
            if (bFree)
                break;
        }
        return date;
    };
    CDate first;
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
        if (!first.IsValid() || date < first)
            first = date;
    };

    if (pTemplate->IsSmallLeague()) {
        // Every round at once, each after the one before.
        std::vector<PLAYOFFENTRY>& entries = m_pPlayOff->Entries;
        for (PLAYOFFENTRY& entry : entries)
            entry.nTieGoals = 0;
        std::vector<ID_CLUB> clubs;
        for (const PLAYOFFENTRY& entry : entries)
            clubs.push_back(static_cast<ID_CLUB>(entry.idClub));
        CDate previous = last;
        for (size_t nRound = 0; nRound < pTemplate->Rounds.size(); ++nRound) {
            pRules = &pTemplate->Rounds[nRound].rules;
            const CDate date = clearOfCups(GetPlayOffDate(pTemplate->Rounds[nRound].first, previous), clubs);
            std::vector<CRefereeDatabase*> free = freeReferees(date);
            for (const auto& fixture : kLeagueFixtures)
                if (fixture[0] == static_cast<int>(nRound) && static_cast<size_t>(fixture[2]) < entries.size())
                    makeFixture(date, free, static_cast<ID_CLUB>(entries[static_cast<size_t>(fixture[1])].idClub),
                                static_cast<ID_CLUB>(entries[static_cast<size_t>(fixture[2])].idClub));
            previous = date;
        }
    }
    else {
        const int nTies = std::min<int>(pRound->byTies, m_pPlayOff->byEntrantsLeft / 2);
        std::vector<ID_CLUB> clubs;
        for (int k = 0; k < 2 * nTies; ++k)
            clubs.push_back(static_cast<ID_CLUB>(m_pPlayOff->Entries[static_cast<size_t>(k)].idClub));
        const CDate firstLeg = clearOfCups(GetPlayOffDate(pRound->first, last), clubs);
        const bool bTwoLegs = pRound->byForm == PLAYOFF_FORM_TWO_LEGS;
        const CDate secondLeg = bTwoLegs ? clearOfCups(GetPlayOffDate(pRound->second, firstLeg), clubs) : CDate();
        std::vector<CRefereeDatabase*> firstFree = freeReferees(firstLeg);
        std::vector<CRefereeDatabase*> secondFree = bTwoLegs ? freeReferees(secondLeg) : std::vector<CRefereeDatabase*>();
        for (int k = 0; k < nTies; ++k) {
            PLAYOFFENTRY& home = m_pPlayOff->Entries[static_cast<size_t>(2 * nTies - 1 - k)];
            PLAYOFFENTRY& away = m_pPlayOff->Entries[static_cast<size_t>(k)];
            home.nTieGoals = away.nTieGoals = -1;
            const ID_CLUB idHome = static_cast<ID_CLUB>(home.idClub);
            const ID_CLUB idAway = static_cast<ID_CLUB>(away.idClub);
            makeFixture(firstLeg, firstFree, idHome, idAway);
            if (bTwoLegs)
                makeFixture(secondLeg, secondFree, idAway, idHome);
        }
    }
    if (first.IsValid() && (m_NextMatchDate.GetValue() == 0 || first < m_NextMatchDate || m_NextMatchDate < Today()))
        m_NextMatchDate = first;
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
    // A small league's table is drawn up when its last match is played.
    const PLAYOFFROUND* pRound = GetPlayOffRound();
    if (pRound && pRound->byForm == PLAYOFF_FORM_SMALL_LEAGUE)
        return true;
    // A one-match round is settled by its one match.
    bool bComplete = !pRound || pRound->byForm != PLAYOFF_FORM_TWO_LEGS;
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
    const PLAYOFFTEMPLATE* pTemplate = GetPlayOffTemplate();
    if (pTemplate && pTemplate->IsSmallLeague()) {
        if (m_pPlayOff->byCurrentRound < pTemplate->Rounds.size())
            ++m_pPlayOff->byCurrentRound;
        for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (p->GetRound() == DIVISION_FIXTURE_PLAYOFF && !p->IsPlayed())
                return;
        PlayOffLeagueResult();
        return;
    }
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

void CDivisionDatabase::PlayOffLeagueResult()
{
    if (!m_pPlayOff)
        return;
    struct ROW {
        uint32_t idClub = 0;
        int nPlayed = 0, nWon = 0, nDrawn = 0, nLost = 0, nFor = 0, nAgainst = 0;
        int Points() const { return 3 * nWon + nDrawn; }
    };
    std::vector<ROW> rows;
    for (const PLAYOFFENTRY& entry : m_pPlayOff->Entries)
        if (entry.idClub != 0)
            rows.push_back(ROW{entry.idClub});
    auto find = [&rows](uint32_t idClub) -> ROW* {
        for (ROW& row : rows)
            if (row.idClub == idClub)
                return &row;
        return nullptr;
    };
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
        if (p->GetRound() != DIVISION_FIXTURE_PLAYOFF || !p->IsPlayed())
            continue;
        ROW* pHome = find(p->GetHomeClubID());
        ROW* pAway = find(p->GetAwayClubID());
        if (!pHome || !pAway)
            continue;
        const int nHome = p->GetHomeGoals();
        const int nAway = p->GetAwayGoals();
        for (auto [pRow, nFor, nAgainst] : {std::tuple{pHome, nHome, nAway}, std::tuple{pAway, nAway, nHome}}) {
            ++pRow->nPlayed;
            pRow->nFor += nFor;
            pRow->nAgainst += nAgainst;
            pRow->nWon += nFor > nAgainst;
            pRow->nDrawn += nFor == nAgainst;
            pRow->nLost += nFor < nAgainst;
        }
    }
    // Points, then goal difference, then goals scored; a tie keeps the
    // entrants' order, which is their league order.
    std::stable_sort(rows.begin(), rows.end(), [](const ROW& a, const ROW& b) {
        if (a.Points() != b.Points())
            return a.Points() > b.Points();
        if (a.nFor - a.nAgainst != b.nFor - b.nAgainst)
            return a.nFor - a.nAgainst > b.nFor - b.nAgainst;
        return a.nFor > b.nFor;
    });
    const size_t nLeaders = std::min<size_t>(std::max<int>(m_byPlayOffPromotions, 1), rows.size());
    m_pPlayOff->Entries.clear();
    for (size_t i = 0; i < nLeaders; ++i)
        m_pPlayOff->Entries.push_back(PLAYOFFENTRY{rows[i].idClub, 0});
    m_pPlayOff->byEntrantsLeft = static_cast<uint8_t>(nLeaders);
    if (!rows.empty())
        DebugLog(2, "[CDivisionDatabase::PlayOffLeagueResult] %s: club %u wins the play-off league on %d points",
                 m_szName, rows[0].idClub, rows[0].Points());
}

void CDivisionDatabase::ResetPlayOff()
{
    if (!m_pPlayOff)
        return;
    m_pPlayOff->Entries.clear();
    m_pPlayOff->byEntrantsLeft = 0;
    m_pPlayOff->byCurrentRound = 0;
}
