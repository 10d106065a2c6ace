// Whole quick matches: periods, extra time and shoot-outs, two-leg
// decisions, figures that add up, and one seed giving one match.
#include "QuickMatchTestSupport.h"

#include "season/CRefereeDatabase.h"

#include <array>
#include <map>
#include <set>
#include <tuple>

namespace quickmatch_test {
namespace {

const ITEMCUPMATCHRULES kCupRules = {CUP_RULE_EXTRA_TIME | CUP_RULE_SHOOT_OUT, 3, 5, 5, CUP_VENUE_HOME};
const ITEMCUPMATCHRULES kGoldenGoalRules = {CUP_RULE_EXTRA_TIME | CUP_RULE_GOLDEN_GOAL, 3, 5, 5, CUP_VENUE_HOME};
const ITEMCUPMATCHRULES kSecondLegRules = {CUP_RULE_EXTRA_TIME | CUP_RULE_AWAY_GOALS | CUP_RULE_SHOOT_OUT |
                                               CUP_RULE_THIS_LEG,
                                           3, 5, 5, CUP_VENUE_HOME};
const ITEMCUPMATCHRULES kLegNoExtraTime = {CUP_RULE_AWAY_GOALS | CUP_RULE_THIS_LEG, 3, 5, 5, CUP_VENUE_HOME};

using FastMatch = QuickMatchWorld;

TEST_F(FastMatch, HalfAndFullTimeComeAfterTheirActionCounts)
{
    std::set<int> totals;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        plat::srand(seed);
        Match match(m_home.get(), m_away.get());
        m_engine.ProcessMatch(nullptr, &match.block);
        const int n = m_engine.GetActionTotal();
        totals.insert(n);
        ASSERT_GE(n, 200);
        ASSERT_LE(n, 209);
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_HALF_TIME), n / 2 + 1) << "seed " << seed;
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_FULL_TIME), n) << "seed " << seed;
        // A league match is over at full time, drawn or not.
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_HALF), -1);
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_END), -1);
        EXPECT_EQ(m_engine.GetActionCount(), n + 1);
        const uint8_t h = match.block.byHomeGoals, a = match.block.byAwayGoals;
        EXPECT_EQ(match.block.byResult, a > h ? MATCHRESULT_AWAY : MATCHRESULT_HOME);
    }
    EXPECT_GT(totals.size(), 1u);
}

TEST_F(FastMatch, DrawnCupTieGoesToExtraTimeAndAShootOut)
{
    int nExtraTime = 0, nShootOuts = 0;
    for (unsigned seed = 1; seed <= 80 && nShootOuts < 3; ++seed) {
        plat::srand(seed);
        Match match(m_home.get(), m_away.get(), &kCupRules, MATCHKIND_CUP);
        m_engine.ProcessMatch(nullptr, &match.block);
        const int n = m_engine.GetActionTotal();
        const uint8_t h = match.block.byHomeGoals, a = match.block.byAwayGoals;
        if (m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_END) < 0) {
            EXPECT_NE(h, a) << "a level cup tie must not end at full time, seed " << seed;
            EXPECT_EQ(match.block.byResult, h > a ? MATCHRESULT_HOME : MATCHRESULT_AWAY);
            continue;
        }
        ++nExtraTime;
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_FULL_TIME), n);
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_HALF), n + n / 6 + 1) << "seed " << seed;
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_END), n + n / 3 + 1) << "seed " << seed;
        if (h != a) {
            EXPECT_FALSE(m_engine.WentToShootOut());
            EXPECT_EQ(match.block.byResult, h > a ? MATCHRESULT_HOME : MATCHRESULT_AWAY);
            continue;
        }
        ++nShootOuts;
        ASSERT_TRUE(m_engine.WentToShootOut());
        const uint8_t* goals = match.header.Result.abyShootOutGoals;
        if (match.block.byResult == MATCHRESULT_HOME_SHOOT_OUT)
            EXPECT_GT(goals[0], goals[1]);
        else if (match.block.byResult == MATCHRESULT_AWAY_SHOOT_OUT)
            EXPECT_GT(goals[1], goals[0]);
        else
            ADD_FAILURE() << "shoot-out without a shoot-out result: " << int(match.block.byResult);
        EXPECT_EQ(match.header.Result.byResult, match.block.byResult);
    }
    EXPECT_GT(nExtraTime, 0);
    EXPECT_GT(nShootOuts, 0);
}

TEST_F(FastMatch, GoldenGoalEndsExtraTimeAtOnce)
{
    int nGolden = 0;
    for (unsigned seed = 1; seed <= 120 && nGolden < 2; ++seed) {
        plat::srand(seed);
        Match match(m_home.get(), m_away.get(), &kGoldenGoalRules, MATCHKIND_CUP);
        m_engine.ProcessMatch(nullptr, &match.block);
        const uint8_t r = match.block.byResult;
        if (r != MATCHRESULT_HOME_GOLDEN_GOAL && r != MATCHRESULT_AWAY_GOLDEN_GOAL)
            continue;
        ++nGolden;
        const int n = m_engine.GetActionTotal();
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_END), -1);
        EXPECT_LE(m_engine.GetActionCount(), n + n / 3 + 1);
        EXPECT_EQ(std::abs(match.block.byHomeGoals - match.block.byAwayGoals), 1);
        EXPECT_EQ(r == MATCHRESULT_HOME_GOLDEN_GOAL, match.block.byHomeGoals > match.block.byAwayGoals);
    }
    EXPECT_GT(nGolden, 0);
}

TEST_F(FastMatch, TwoLegTiesAreDecidedOnTheTotalAndAwayGoals)
{
    // This match's home club won the first leg away 9-0: through on the total.
    {
        plat::srand(3);
        Match match(m_home.get(), m_away.get(), &kSecondLegRules, MATCHKIND_CUP);
        match.block.byHomeGoals = 0;  // the first leg's home club (this match's away club)
        match.block.byAwayGoals = 9;
        match.block.byResult = 4;
        m_engine.ProcessMatch(nullptr, &match.block);
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_HALF), -1);
        if (match.block.byAwayGoals < match.block.byHomeGoals + 9) {
            EXPECT_EQ(match.block.byResult, MATCHRESULT_HOME_TWO_LEGS);
        }
    }
    // After 1-1 away, a goalless second leg sends this match's home club
    // through on away goals, whether or not extra time is allowed.
    for (const ITEMCUPMATCHRULES* rules : {&kSecondLegRules, &kLegNoExtraTime}) {
        bool bSeen = false;
        for (unsigned seed = 1; seed <= 300 && !bSeen; ++seed) {
            plat::srand(seed);
            Match match(m_home.get(), m_away.get(), rules, MATCHKIND_CUP);
            match.block.byHomeGoals = 1;
            match.block.byAwayGoals = 1;
            match.block.byResult = 4;
            m_engine.ProcessMatch(nullptr, &match.block);
            if (match.block.byHomeGoals != 0 || match.block.byAwayGoals != 0)
                continue;
            bSeen = true;
            EXPECT_EQ(match.block.byResult, MATCHRESULT_HOME_AWAY_GOALS);
            EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_HALF), -1);
        }
        EXPECT_TRUE(bSeen);
    }
    // The same tie level on everything: extra time only under rules that allow it.
    for (const ITEMCUPMATCHRULES* rules : {&kSecondLegRules, &kLegNoExtraTime}) {
        bool bSeen = false;
        for (unsigned seed = 1; seed <= 400 && !bSeen; ++seed) {
            plat::srand(seed);
            Match match(m_home.get(), m_away.get(), rules, MATCHKIND_CUP);
            match.block.byHomeGoals = 1;
            match.block.byAwayGoals = 1;
            match.block.byResult = 4;
            m_engine.ProcessMatch(nullptr, &match.block);
            const bool bExtraTime = m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_HALF) >= 0;
            if (rules == &kLegNoExtraTime) {
                EXPECT_FALSE(bExtraTime);
                if (match.block.byHomeGoals == 1 && match.block.byAwayGoals == 1) {
                    bSeen = true;
                    EXPECT_EQ(match.block.byResult, MATCHRESULT_HOME);
                }
            } else if (bExtraTime) {
                bSeen = true;
            }
        }
        EXPECT_TRUE(bSeen);
    }
    // A first leg plays no extra time, however level.
    for (unsigned seed = 1; seed <= 20; ++seed) {
        plat::srand(seed);
        Match match(m_home.get(), m_away.get(), &kSecondLegRules, MATCHKIND_CUP);
        match.block.byResult = 8;
        m_engine.ProcessMatch(nullptr, &match.block);
        EXPECT_EQ(m_engine.GetPeriodAction(QUICKPERIOD_EXTRA_TIME_HALF), -1);
    }
}

TEST_F(FastMatch, FiguresAddUpAndRatingsLieIn40To100)
{
    auto* referee = new CRefereeDatabase;
    std::unique_ptr<CRefereeDatabase> owner(referee);
    int nBookings = 0, nSendingsOff = 0, nGoals = 0, nMatches = 0;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        plat::srand(seed * 7919);
        Match match(m_home.get(), m_away.get());
        m_engine.ProcessMatch(referee, &match.block);
        ++nMatches;
        const CClub* sides[2] = {m_engine.GetHomeSide(), m_engine.GetAwaySide()};
        const CXList* events[2] = {&match.homeEvents, &match.awayEvents};
        const int goals[2] = {match.block.byHomeGoals, match.block.byAwayGoals};
        EXPECT_EQ(match.header.byHomeGoals, goals[0]);
        EXPECT_EQ(match.header.byAwayGoals, goals[1]);
        for (int s = 0; s < 2; ++s) {
            const CClub* side = sides[s];
            const int32_t* st = side->m_anStatistics;
            // Goals: the side's own goal and penalty events, the other side's own goals.
            const int nFromEvents = Match::Count(*events[s], MATCHEVENT_GOAL) +
                                    Match::Count(*events[s], MATCHEVENT_PENALTY_SCORED) +
                                    Match::Count(*events[1 - s], MATCHEVENT_OWN_GOAL);
            EXPECT_EQ(nFromEvents, goals[s]) << "seed " << seed << " side " << s;
            EXPECT_EQ(st[QUICKSTAT_GOALS], goals[s]);
            EXPECT_EQ(Match::Count(*events[s], MATCHEVENT_BOOKED), st[QUICKSTAT_BOOKINGS]);
            EXPECT_EQ(Match::Count(*events[s], MATCHEVENT_SENT_OFF), st[QUICKSTAT_SENDINGS_OFF]);
            EXPECT_EQ(Match::Count(*events[s], MATCHEVENT_SUBSTITUTED_ON), side->m_nSubstitutionsMade);
            EXPECT_LE(side->m_nSubstitutionsMade, side->GetSubstitutionsAllowed());
            EXPECT_LE(st[QUICKSTAT_SHOTS_ON_TARGET], st[QUICKSTAT_SHOTS]);
            EXPECT_LE(st[QUICKSTAT_GOALS] - side->m_abyStatistics[QUICKBYTE_OWN_GOALS_FOR],
                      st[QUICKSTAT_SHOTS_ON_TARGET]);
            EXPECT_LE(st[QUICKSTAT_SAVES], side->m_pOpponent->m_anStatistics[QUICKSTAT_SHOTS_ON_TARGET]);
            EXPECT_LE(st[QUICKSTAT_PASSES_COMPLETED], st[QUICKSTAT_PASSES]);
            nBookings += st[QUICKSTAT_BOOKINGS];
            nSendingsOff += st[QUICKSTAT_SENDINGS_OFF];
            nGoals += goals[s];
            int nPlayed = 0;
            for (int i = 0; i < side->GetSquadSize(); ++i) {
                const CQuickPlayer* player = side->m_apPlayers[i];
                const bool played = player->m_nEntry < QUICKMATCH_STARTERS || player->m_byCameOn;
                const int rating = side->m_aEntries[player->m_nEntry].byRating;
                if (played) {
                    ++nPlayed;
                    EXPECT_GE(rating, 40);
                    EXPECT_LE(rating, 100);
                } else {
                    EXPECT_EQ(rating, 0);
                }
                // A second booking sends a player off.
                if (player->m_nBookings >= 2) {
                    EXPECT_TRUE(player->m_bySentOff);
                }
            }
            EXPECT_EQ(nPlayed, 11 + side->m_nSubstitutionsMade);
        }
        // Touches: one per action, shared by the two sides.
        EXPECT_EQ(sides[0]->m_nPossessionTotal + sides[1]->m_nPossessionTotal, m_engine.GetActionCount());
        EXPECT_LE(match.header.Result.byHomePossession, 100);
        EXPECT_LE(match.header.Result.byWinnerPercentage, 100);
        // Man of the match: a best-rated player, the away side winning a tie.
        const MATCHPLAYERENTRY* home = sides[0]->GetBestRatedEntry();
        const MATCHPLAYERENTRY* away = sides[1]->GetBestRatedEntry();
        ASSERT_TRUE(home && away);
        EXPECT_EQ(match.header.Result.idManOfTheMatch,
                  away->byRating >= home->byRating ? away->idPlayer : home->idPlayer);
        const uint8_t* ref = match.header.Result.abyRefereeStatistics;
        EXPECT_EQ(ref[0], sides[0]->m_anStatistics[QUICKSTAT_BOOKINGS] + sides[1]->m_anStatistics[QUICKSTAT_BOOKINGS]);
    }
    EXPECT_GT(nGoals, nMatches);  // about two or more a match
    EXPECT_GT(nBookings, 0);
    EXPECT_EQ(referee->GetStatistics(0).byMatches, nMatches);
    EXPECT_EQ(referee->GetStatistics(0).wBookings, nBookings);
    EXPECT_EQ(referee->GetStatistics(0).bySendingsOff, nSendingsOff);
}

TEST_F(FastMatch, MatchesAreBookedInThePlayersRecords)
{
    std::map<const CPlayerDatabase*, std::array<int, 5>> before;
    for (const CPlayerDatabase* record : m_home->m_lstPlayers.Items<CPlayerDatabase>())
        before[record] = {record->GetMatchInformationField(2, MATCH_INFORMATION_STARTS),
                          record->GetMatchInformationField(2, MATCH_INFORMATION_SUBSTITUTE),
                          record->GetMatchInformationField(2, 4),
                          record->GetMatchInformationField(2, MATCH_INFORMATION_BOOKINGS),
                          record->GetMatchInformationField(2, MATCH_INFORMATION_MAN_OF_THE_MATCH)};
    plat::srand(99);
    Match match(m_home.get(), m_away.get(), &kCupRules, MATCHKIND_CUP);
    m_engine.ProcessMatch(nullptr, &match.block);
    const CClub* side = m_engine.GetHomeSide();
    int nMotm = 0;
    for (int i = 0; i < side->GetSquadSize(); ++i) {
        const CQuickPlayer* player = side->m_apPlayers[i];
        const CPlayerDatabase* record = player->m_pPlayer;
        ASSERT_NE(record, nullptr);
        const std::array<int, 5>& was = before.at(record);
        const bool started = player->m_nEntry < QUICKMATCH_STARTERS;
        EXPECT_EQ(record->GetMatchInformationField(2, MATCH_INFORMATION_STARTS), was[0] + (started ? 1 : 0));
        EXPECT_EQ(record->GetMatchInformationField(2, MATCH_INFORMATION_SUBSTITUTE),
                  was[1] + (player->m_byCameOn ? 1 : 0));
        EXPECT_EQ(record->GetMatchInformationField(2, 4), was[2] + player->m_nGoals);
        EXPECT_EQ(record->GetMatchInformationField(2, MATCH_INFORMATION_BOOKINGS), was[3] + player->m_nBookings);
        if (started || player->m_byCameOn) {
            EXPECT_EQ(record->m_byMatchByte, side->m_aEntries[player->m_nEntry].byRating);
        }
        nMotm += record->GetMatchInformationField(2, MATCH_INFORMATION_MAN_OF_THE_MATCH) - was[4];
        const int morale = record->m_awAttributes[PLAYER_ATTRIBUTE_MORALE];
        EXPECT_GE(morale, 1000);
        EXPECT_LE(morale, 10000);
    }
    const bool homeMotm = match.header.Result.idManOfTheMatch >= 1000 && match.header.Result.idManOfTheMatch < 2000;
    EXPECT_EQ(nMotm, homeMotm ? 1 : 0);
}

TEST_F(FastMatch, OneSeedGivesOneMatchAndTheGeneratorIsNeverReseeded)
{
    using Summary = std::tuple<int, int, int, std::vector<uint32_t>, unsigned>;
    auto play = [this](unsigned seed) {
        MakeClubs();
        plat::srand(seed);
        Match match(m_home.get(), m_away.get());
        m_engine.ProcessMatch(nullptr, &match.block);
        std::vector<uint32_t> events;
        for (const CXList* list : {&match.homeEvents, &match.awayEvents})
            for (const MATCHEVENT* e : list->Items<MATCHEVENT>())
                events.push_back(e->idPlayer << 16 | e->byKind << 8 | e->byMinute);
        for (const CClub* side : {m_engine.GetHomeSide(), m_engine.GetAwaySide()})
            for (int i = 0; i < side->GetSquadSize(); ++i)
                events.push_back(side->m_aEntries[i].byRating);
        return Summary{match.block.byHomeGoals, match.block.byAwayGoals, m_engine.GetActionTotal(), events,
                       plat::randState()};
    };
    const Summary first = play(2024);
    EXPECT_EQ(play(2024), first);
    EXPECT_NE(play(2025), first);

    // Two matches in a row go on with one sequence: the second is not the first again.
    MakeClubs();
    plat::srand(2024);
    Match one(m_home.get(), m_away.get());
    m_engine.ProcessMatch(nullptr, &one.block);
    const unsigned after = plat::randState();
    EXPECT_EQ(after, std::get<4>(first));
    Match two(m_home.get(), m_away.get());
    m_engine.ProcessMatch(nullptr, &two.block);
    EXPECT_NE(plat::randState(), after);
    auto events = [](const Match& m) {
        std::vector<uint32_t> v;
        for (const MATCHEVENT* e : m.homeEvents.Items<MATCHEVENT>())
            v.push_back(e->idPlayer << 16 | e->byKind << 8 | e->byMinute);
        return v;
    };
    EXPECT_NE(events(two), events(one));
}

TEST_F(FastMatch, HomeSideWinsMoreOftenThanTheAwaySide)
{
    // Two squads drawn from one seed at one level: only the ground differs.
    m_home = MakeClub(1, 20, 1000, 60, 21);
    m_away = MakeClub(2, 20, 2000, 60, 21);
    int anResults[3] = {};  // home wins, draws, away wins
    for (unsigned seed = 1; seed <= 400; ++seed) {
        plat::srand(seed);
        const bool bFirstAtHome = seed % 2 != 0;
        Match match(bFirstAtHome ? m_home.get() : m_away.get(), bFirstAtHome ? m_away.get() : m_home.get());
        m_engine.ProcessMatch(nullptr, &match.block);
        const int h = match.block.byHomeGoals, a = match.block.byAwayGoals;
        ++anResults[h > a ? 0 : h == a ? 1 : 2];
    }
    EXPECT_GT(anResults[0], anResults[2] * 5 / 4) << anResults[0] << " home wins, " << anResults[2] << " away wins";
    EXPECT_GT(anResults[1], 0);
}

TEST_F(FastMatch, TurnoverHandsTheBallToTheSidesCurrentPlayer)
{
    plat::srand(5);
    Match match(m_home.get(), m_away.get());
    m_engine.ProcessMatch(nullptr, &match.block);
    CClub* pLosing = m_engine.GetAttackingSide();
    ASSERT_NE(pLosing, nullptr);
    CClub* pWinning = pLosing->m_pOpponent;
    for (int nSlot : {2, 7, 10}) {
        CQuickPlayer* pLoser = pLosing->m_pCurrentPlayer;
        pWinning->m_pCurrentPlayer = pWinning->m_apPlayers[nSlot];
        m_engine.SwapPossession();
        EXPECT_EQ(m_engine.GetAttackingSide(), pWinning);
        EXPECT_EQ(pWinning->m_pCurrentPlayer, pWinning->m_apPlayers[nSlot]);
        EXPECT_EQ(pLosing->m_pCurrentPlayer, pLoser);
        m_engine.SwapPossession();
        EXPECT_EQ(m_engine.GetAttackingSide(), pLosing);
        EXPECT_EQ(pLosing->m_pCurrentPlayer, pLoser);
    }
}

TEST_F(FastMatch, MissingClubIsLoggedAndNothingIsPlayed)
{
    Match match(m_home.get(), nullptr);
    const unsigned before = plat::randState();
    m_engine.ProcessMatch(nullptr, &match.block);
    EXPECT_TRUE(Logged("[CFastMatchEngine::ProcessMatch]"));
    EXPECT_EQ(m_engine.GetHomeSide(), nullptr);
    EXPECT_EQ(plat::randState(), before);
}

TEST_F(FastMatch, EachPlayerPlaysAtTheMatchValueHisOwnClubGivesHim)
{
    // The clubs 21 degrees apart, a confident home crowd; of the home side's
    // eleven, one belongs to the other club (no distance to it) and one to
    // none, so that the side's shared factor is not the first one's to use.
    plat::srand(5);
    m_home->m_abyLatitude[0] = 51;
    m_away->m_abyLatitude[0] = 30;
    m_home->m_abyLatitude[2] = m_away->m_abyLatitude[2] = 0;  // both on the map, north
    m_home->m_nFanConfidence = 90;
    Match first(m_home.get(), m_away.get());
    m_engine.ProcessMatch(nullptr, &first.block);
    CPlayerDatabase* pLent = m_engine.GetHomeSide()->m_apPlayers[1]->m_pPlayer;
    CPlayerDatabase* pClubless = m_engine.GetHomeSide()->m_apPlayers[2]->m_pPlayer;
    CPlayerDatabase* pOwn = m_engine.GetHomeSide()->m_apPlayers[3]->m_pPlayer;
    pLent->m_pClub = m_away.get();
    pClubless->m_pClub = nullptr;
    for (const int nKind : {MATCHKIND_LEAGUE, MATCHKIND_CUP}) {
        std::map<const CPlayerDatabase*, int> expected;
        for (const CPlayerDatabase* pPlayer : m_home->m_lstPlayers.Items<CPlayerDatabase>())
            expected[pPlayer] = pPlayer->GetMatchMorale(nKind, m_home.get(), m_away.get());
        // In a league match the home side's shared factor would give him another value.
        if (nKind == MATCHKIND_LEAGUE)
            ASSERT_NE(expected[pLent], pLent->GetMatchMorale(CPlayerDatabase::GetMatchMoraleFactor(
                                           nKind, m_home.get(), m_home.get(), m_away.get())));
        Match match(m_home.get(), m_away.get(), nKind == MATCHKIND_CUP ? &kCupRules : nullptr, nKind);
        m_engine.ProcessMatch(nullptr, &match.block);
        const CClub* pSide = m_engine.GetHomeSide();
        std::set<const CPlayerDatabase*> played;
        for (int i = 0; i < pSide->GetSquadSize(); ++i) {
            const CQuickPlayer* pPlayer = pSide->m_apPlayers[i];
            ASSERT_TRUE(pPlayer->m_pPlayer);
            played.insert(pPlayer->m_pPlayer);
            EXPECT_EQ(pPlayer->m_nMatchValue, expected[pPlayer->m_pPlayer]) << nKind << " " << i;
        }
        ASSERT_TRUE(played.count(pLent) && played.count(pClubless) && played.count(pOwn)) << nKind;
    }
    pLent->m_pClub = pClubless->m_pClub = m_home.get();
}
}  // namespace
}  // namespace quickmatch_test
