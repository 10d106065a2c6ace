// The quick-match side and its pools, the outcome tables and the resolvers'
// chances.
#include "QuickMatchTestSupport.h"

#include <map>

namespace quickmatch_test {
namespace {

using QuickSide = QuickMatchWorld;

// A record whose band-drawing table always gives one band.
void ForceBand(CQuickPlayer& player, int nTable, int nBand)
{
    OUTCOMETABLE& table = player.m_aTables[nTable];
    table.nCount = nTable == QUICKTABLE_CATCHING ? 3 : 6;
    for (int i = 0; i < table.nCount; ++i)
        table.anBounds[i] = i + 1 >= nBand ? 100 : 0;
}

TEST_F(QuickSide, SheetSizeFollowsTheRulesAndThePlayersThereAre)
{
    struct Case {
        int nPlayers;
        const ITEMCUPMATCHRULES* pRules;
        int nAllowed, nNamed, nSquad;
    };
    static const ITEMCUPMATCHRULES kFriendly = {0, 5, 7, 7, CUP_VENUE_HOME};
    static const ITEMCUPMATCHRULES kNine = {0, 3, 9, 5, CUP_VENUE_HOME};
    const Case cases[] = {
        {20, nullptr, 3, 5, 16},     // no competition rules
        {13, nullptr, 3, 5, 13},     // a sheet of 13
        {20, &kFriendly, 5, 7, 18},  // the game's own friendly rules
        {20, &kNine, 3, 7, 18},      // more named than the bench holds
        {9, nullptr, 3, 5, 11},      // fewer than eleven: empty places stay
    };
    for (const Case& c : cases) {
        MakeClubs(c.nPlayers, 20);
        Match match(m_home.get(), m_away.get(), c.pRules);
        CClub* side = new CClub(&match.block, 0);
        EXPECT_EQ(side->GetSubstitutionsAllowed(), c.nAllowed) << c.nPlayers;
        EXPECT_EQ(side->GetSubstitutesNamed(), c.nNamed) << c.nPlayers;
        EXPECT_EQ(side->GetSquadSize(), c.nSquad) << c.nPlayers;
        int nEmpty = 0;
        for (int i = 0; i < QUICKMATCH_STARTERS; ++i) {
            ASSERT_NE(side->m_apPlayers[i], nullptr);
            EXPECT_TRUE(side->m_apPlayers[i]->m_byOnPitch);
            nEmpty += side->m_apPlayers[i]->IsEmpty();
            EXPECT_EQ(side->m_aEntries[i].idPlayer, side->m_apPlayers[i]->GetPlayerID());
        }
        EXPECT_EQ(nEmpty, std::max(0, 11 - c.nPlayers));
        for (int i = QUICKMATCH_STARTERS; i < side->GetSquadSize(); ++i)
            EXPECT_FALSE(side->m_apPlayers[i]->m_byOnPitch);
        for (int i = side->GetSquadSize(); i < QUICKMATCH_MAX_PLAYERS; ++i)
            EXPECT_EQ(side->m_apPlayers[i], nullptr);
        // The goalkeeper of a club with one stands in goal.
        if (c.nPlayers >= 11) {
            EXPECT_EQ(side->GetGoalkeeper()->m_pPlayer->m_byPosition, PLAYER_POSITION_GOALKEEPER);
        }
        delete side;
    }
    EXPECT_TRUE(Logged("[CClub::CClub] 9 substitutes named"));
}

TEST_F(QuickSide, EveryPlayerOnTheSheetTires)
{
    Match match(m_home.get(), m_away.get());
    CClub* side = new CClub(&match.block, 0);
    ASSERT_GT(side->GetSquadSize(), QUICKMATCH_STARTERS);
    CQuickPlayer* pStarter = side->m_apPlayers[3];
    CQuickPlayer* pSubstitute = side->m_apPlayers[QUICKMATCH_STARTERS];
    pStarter->Condition() = pSubstitute->Condition() = 80.0f;
    side->TireAll();
    // Condition falls by (100 - condition) x 0.004, on the pitch or not.
    EXPECT_FLOAT_EQ(pStarter->Condition(), 79.92f);
    EXPECT_FLOAT_EQ(pSubstitute->Condition(), 79.92f);
    delete side;
}

TEST_F(QuickSide, ActionsWorkedOffLateTireEveryEntryToTheBit)
{
    // The steps are worked off in wide registers where there are any: every
    // entry of a full sheet must come out as the steps one at a time give it.
    static const ITEMCUPMATCHRULES kFriendly = {0, 5, 7, 7, CUP_VENUE_HOME};
    for (const int nActions : {1, 2, 7, 205}) {
        Match match(m_home.get(), m_away.get(), &kFriendly);
        CClub* side = new CClub(&match.block, 0);
        ASSERT_EQ(side->GetSquadSize(), QUICKMATCH_MAX_PLAYERS);
        float afExpected[QUICKMATCH_MAX_PLAYERS];
        for (int i = 0; i < QUICKMATCH_MAX_PLAYERS; ++i)
            afExpected[i] = side->m_apPlayers[i]->Condition() = 37.3f + 3.7f * static_cast<float>(i);
        for (int n = 0; n < nActions; ++n) {
            side->TireAll();
            for (float& fCondition : afExpected)
                fCondition = fCondition - (100.0f - fCondition) * 0.004f;
        }
        for (int i = 0; i < QUICKMATCH_MAX_PLAYERS; ++i)
            EXPECT_EQ(side->m_apPlayers[i]->Condition(), afExpected[i]) << nActions << " actions, entry " << i;
        delete side;
    }
}

TEST_F(QuickSide, ClassPicksFallToTheNextClass)
{
    Match match(m_home.get(), m_away.get());
    CClub* side = new CClub(&match.block, 0);
    // "4-4-2": four of each of the back two lines, two up front.
    EXPECT_EQ(side->m_anClassCounts[QUICKCLASS_DEFENDER], 4);
    EXPECT_EQ(side->m_anClassCounts[QUICKCLASS_MIDFIELDER], 4);
    EXPECT_EQ(side->m_anClassCounts[QUICKCLASS_ATTACKER], 2);
    for (int n = 0; n < 50; ++n) {
        EXPECT_EQ(side->PickDefender()->m_nClass, QUICKCLASS_DEFENDER);
        EXPECT_EQ(side->PickAttacker()->m_nClass, QUICKCLASS_ATTACKER);
    }
    side->m_anClassCounts[QUICKCLASS_DEFENDER] = 0;
    side->m_anClassCounts[QUICKCLASS_ATTACKER] = 0;
    for (int n = 0; n < 50; ++n) {
        EXPECT_EQ(side->PickDefender()->m_nClass, QUICKCLASS_MIDFIELDER);
        EXPECT_EQ(side->PickAttacker()->m_nClass, QUICKCLASS_MIDFIELDER);
    }
    side->m_anClassCounts[QUICKCLASS_MIDFIELDER] = 0;
    side->m_anClassCounts[QUICKCLASS_DEFENDER] = 4;
    EXPECT_EQ(side->PickMidfielder()->m_nClass, QUICKCLASS_DEFENDER);
    delete side;
}

TEST_F(QuickSide, DrawsSkipTheSentOffAndEndWhenNobodyIsLeft)
{
    Match match(m_home.get(), m_away.get());
    CClub* side = new CClub(&match.block, 0);
    for (int i = 1; i < QUICKMATCH_STARTERS; ++i)
        if (i != 5)
            side->m_apPlayers[i]->m_bySentOff = 1;
    for (int n = 0; n < 20; ++n) {
        side->m_pCurrentPlayer = nullptr;
        EXPECT_EQ(side->PickRandomPlayer(), side->m_apPlayers[5]);
        EXPECT_EQ(side->PickSetPieceTaker(), side->m_apPlayers[5]);
    }
    side->m_apPlayers[5]->m_bySentOff = 1;
    EXPECT_EQ(side->PickRandomPlayer(), side->GetGoalkeeper());
    EXPECT_EQ(side->PickSetPieceTaker(), side->GetGoalkeeper());
    CFastMatchEngine engine;
    EXPECT_EQ(engine.GetTackler(side, 2), side->GetGoalkeeper());
    delete side;
}

TEST_F(QuickSide, PoolsReuseTheirChunks)
{
    Match match(m_home.get(), m_away.get());
    const int nChunks = m_handler->GetMatchChunkCount();
    for (int round = 0; round < 5; ++round) {
        CClub* home = new CClub(&match.block, 0);
        CClub* away = new CClub(&match.block, 1);
        delete home;
        delete away;
    }
    // Two sides (one chunk) and 32 records (two chunks of 18) after the first round.
    EXPECT_EQ(m_handler->GetMatchChunkCount(), nChunks + (nChunks == 0 ? 3 : 0));
    EXPECT_EQ(CQuickMatchPools::GetFreeSides() % 2, 0);
    EXPECT_EQ(CQuickMatchPools::GetFreePlayers() % 18, 0);
}

TEST(QuickMatchTables, BandsFollowTheSkill)
{
    OUTCOMETABLE table;
    CFastMatchEngine::BuildSixBandTable(table, 60.0f);
    EXPECT_EQ(table.nCount, 6);
    const int six[6] = {6, 60, 64, 92, 96, 100};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(table.anBounds[i], six[i]) << i;
    CFastMatchEngine::BuildThreeBandTable(table, 59.0f);
    EXPECT_EQ(table.nCount, 3);
    EXPECT_EQ(table.anBounds[0], 59);
    EXPECT_EQ(table.anBounds[1], 79);
    EXPECT_EQ(table.anBounds[2], 100);

    // Band frequencies follow the bounds.
    CFastMatchEngine::BuildSixBandTable(table, 60.0f);
    plat::srand(5);
    int counts[7] = {};
    for (int n = 0; n < 20000; ++n)
        ++counts[CFastMatchEngine::PickFromTable(table)];
    EXPECT_NEAR(counts[1] / 20000.0, 0.06, 0.01);
    EXPECT_NEAR(counts[2] / 20000.0, 0.54, 0.02);
    EXPECT_NEAR(counts[4] / 20000.0, 0.28, 0.02);
    EXPECT_NEAR(counts[6] / 20000.0, 0.04, 0.01);

    // Draw by draw, the pick is the first band whose bound reaches the draw
    // (1-100), or -1: for any number of bands, bounds out of order (a skill
    // below nothing) and bounds that stop short of 100.
    const OUTCOMETABLE tables[] = {{6, {-1, -9, 9, 82, 91, 100}}, {3, {59, 79, 100, 0, 0, 0}},
                                   {5, {10, 20, 30, 40, 50, 100}}, {6, {0, 0, 0, 0, 70, 80}},
                                   {2, {30, 100, 0, 0, 0, 0}},     {0, {100, 100, 100, 100, 100, 100}}};
    plat::srand(11);
    for (const OUTCOMETABLE& t : tables)
        for (int n = 0; n < 400; ++n) {
            const unsigned state = plat::randState();
            const int nDraw = plat::rand() % 100 + 1;
            plat::srand(state);
            int nExpected = -1;
            for (int i = 0; i < t.nCount && nExpected < 0; ++i)
                if (t.anBounds[i] >= nDraw)
                    nExpected = i + 1;
            ASSERT_EQ(CFastMatchEngine::PickFromTable(t), nExpected) << t.nCount << " bands, draw " << nDraw;
        }
}

TEST_F(QuickSide, ResolversFollowTheirChances)
{
    Match match(m_home.get(), m_away.get());
    CClub* home = new CClub(&match.block, 0);
    CClub* away = new CClub(&match.block, 1);
    CFastMatchEngine engine;
    CQuickPlayer& attacker = *home->m_apPlayers[9];
    CQuickPlayer& defender = *away->m_apPlayers[1];
    CQuickPlayer& keeper = *away->GetGoalkeeper();
    ASSERT_EQ(defender.m_nClass, QUICKCLASS_DEFENDER);
    plat::srand(77);
    constexpr int kTries = 20000;

    // A pass is offside about 16 times in 100 whatever the skills.
    int nOffside = 0;
    for (int n = 0; n < kTries; ++n)
        nOffside += engine.ResolvePass(&attacker, &defender) == 27;
    EXPECT_NEAR(nOffside / double(kTries), 0.16, 0.01);

    // A penalty in band 1 or 2 goes in unless the keeper draws band 1.
    for (int band : {1, 2}) {
        ForceBand(attacker, QUICKTABLE_SHOOTING, band);
        ForceBand(keeper, QUICKTABLE_SAVING, 1);
        EXPECT_EQ(engine.ResolvePenalty(&attacker, &keeper), 11);
        ForceBand(keeper, QUICKTABLE_SAVING, 2);
        EXPECT_EQ(engine.ResolvePenalty(&attacker, &keeper), 90 + band);
    }

    // Bad tackles by a defender under card mode 0: booked when r1 <= 80,
    // else a penalty when r2 > 90, else sent off.
    ForceBand(attacker, QUICKTABLE_TACKLING, 6);
    struct Row {
        int nBookings;
        std::map<int, double> expected;
    };
    const Row rows[] = {
        {0, {{212, 0.80}, {222, 0.02}, {213, 0.18}}},
        {1, {{219, 0.80 * 0.76}, {220, 0.80 * 0.24}, {223, 0.02}, {213, 0.18}}},
    };
    for (const Row& row : rows) {
        std::map<int, int> seen;
        for (int n = 0; n < kTries; ++n) {
            defender.m_nBookings = row.nBookings;
            attacker.Condition() = 80.0f;
            ++seen[engine.ResolveTackle(&attacker, &defender, 0)];
        }
        int nTotal = 0;
        for (const auto& [code, count] : seen) {
            ASSERT_TRUE(row.expected.count(code)) << "unexpected outcome " << code;
            EXPECT_NEAR(count / double(kTries), row.expected.at(code), 0.015) << code;
            nTotal += count;
        }
        EXPECT_EQ(nTotal, kTries);
    }
    // Every bad tackle costs the holder 5-9 points of condition and counts a foul each.
    attacker.Condition() = 80.0f;
    const int nFouls = defender.m_nFouls;
    engine.ResolveTackle(&attacker, &defender, 0);
    EXPECT_GE(attacker.Condition(), 71.0f);
    EXPECT_LE(attacker.Condition(), 75.0f);
    EXPECT_EQ(defender.m_nFouls, nFouls + 1);
    delete home;
    delete away;
}

TEST_F(QuickSide, ShotIsNeverChosenRightAfterAKickOff)
{
    Match match(m_home.get(), m_away.get());
    CClub* side = new CClub(&match.block, 0);
    CFastMatchEngine engine;
    const CQuickPlayer* striker = side->m_apPlayers[10];
    ASSERT_EQ(striker->m_nClass, QUICKCLASS_ATTACKER);
    // A fresh engine stands at a kick-off: no shot; a striker otherwise shoots a quarter of the time.
    plat::srand(3);
    for (int n = 0; n < 2000; ++n)
        EXPECT_NE(engine.ChooseAction(side, striker), QUICKACTION_SHOT);
    EXPECT_NE(engine.ChooseAction(side, side->GetGoalkeeper()), QUICKACTION_RUN);
    delete side;
}

TEST_F(QuickSide, RatingsAreKeptBetween40And100)
{
    Match match(m_home.get(), m_away.get());
    CClub* side = new CClub(&match.block, 0);
    CQuickPlayer& player = *side->m_apPlayers[4];
    plat::srand(8);
    // No attempts in any component gives a match figure of 40 (a defender's
    // 283 / 7): (24 + 80) / 3 = 34 is below 40, so 40-59.
    player.m_pPlayer->m_byRating = 24;
    for (int n = 0; n < 200; ++n) {
        const int r = CFastMatchEngine::ComputeRating(player);
        EXPECT_GE(r, 40);
        EXPECT_LE(r, 59);
    }
    // Perfect components and a hat-trick: above 100, so 91-100.
    player.m_pPlayer->m_byRating = 99;
    for (RATINGCOMPONENT& c : player.m_aRating)
        c = {10, 10, 10};
    player.m_nGoals = 3;
    for (int n = 0; n < 200; ++n) {
        const int r = CFastMatchEngine::ComputeRating(player);
        EXPECT_GE(r, 91);
        EXPECT_LE(r, 100);
    }
    // In between the rule is exact: components all at 60 give 60; with
    // rating 75 that is (75 + 120) / 3 = 65.
    player.m_nGoals = 0;
    player.m_pPlayer->m_byRating = 75;
    for (RATINGCOMPONENT& c : player.m_aRating)
        c = {10, 6, 0};
    EXPECT_EQ(CFastMatchEngine::ComputeRating(player), 65);
    // A booking takes 5 off the match figure, a sending-off 20 more.
    player.m_nBookings = 1;
    EXPECT_EQ(CFastMatchEngine::ComputeRating(player), (75 + 2 * 55) / 3);
    player.m_bySentOff = 1;
    EXPECT_EQ(CFastMatchEngine::ComputeRating(player), (75 + 2 * 35) / 3);
    delete side;
}

}  // namespace
}  // namespace quickmatch_test
