// A shown match is written back into the world exactly as the quick result
// engine's writers write the same match: one world records a 3-D match set
// up by the engine with its incidents through the match-day recording, a
// twin world hands the same line-ups and the same events, in the quick
// engine's own terms, to the quick engine's writers; the fixture, the table,
// the players' records and the match history file must come out the same.
#include "../humans/HumanWorld.h"
#include "common/CBinaryFile.h"
#include "database/CCupFixturesDatabase.h"
#include "database/MatchHistory.h"
#include "database/CDivisionFixturesDatabase.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "matchday/CMatchEventHandler.h"
#include "matchday/CMatchEventOutput.h"
#include "matchday/CShownMatchRecorder.h"
#include "season/CFastMatchEngine.h"
#include "season/CRefereeDatabase.h"
#include "season/MatchSideRecord.h"
#include "shell/CGameDay.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SilentOutput : public CMatchEventOutput {
public:
    void AddToCommentary(const ITEMMATCHEVENTINFORMATION&) override {}
    void QueueCrowdSound(int, uint32_t) override {}
    void PlayCrowdSound(int) override {}
    void UpdateCrowdMood(CMatchClub*, int) override {}
    void PlayCrowdReaction(CMatchClub*, int) override {}
    void ShowIncident(const ITEMINCIDENTINFORMATION&) override {}
};

enum class Writers { Shown, Quick };

struct Outcome {
    std::string history;
    std::string fixture;
    std::string table;
    std::string players;
};

// The match: 1-2. A home goal (minute 12), an away booking (30), a home own
// goal (41), a home substitution (61), an away penalty goal (76) and the
// same away player sent off (81); three fouls.
constexpr uint32_t kMinute = 60000;

void AddQuickEvent(CXList& list, const CMatchPlayer* pPlayer, int nKind, int nMinute)
{
    auto* pEvent = new MATCHEVENT;
    pEvent->idPlayer = pPlayer->GetRecord()->m_idPerson;
    pEvent->byKind = static_cast<uint8_t>(nKind);
    pEvent->byMinute = static_cast<uint8_t>(nMinute);
    pEvent->byCompetition = MATCHKIND_LEAGUE;
    list.AddTail(pEvent);
}

// What the quick engine's FinishMatch and PostLeagueResults would do with
// the same match.
void RecordWithQuickWriters(CDatabaseHandler& world, CDivisionFixturesDatabase* pFixture, const CMatchEngine& engine)
{
    CClubDatabase* pHome = world.GetClubFromID(pFixture->GetHomeClubID());
    CClubDatabase* pAway = world.GetClubFromID(pFixture->GetAwayClubID());
    CDivisionDatabase* pDivision = pHome->m_pDivision;
    pHome->m_byPreviousPosition = pHome->m_byLeaguePosition;
    pAway->m_byPreviousPosition = pAway->m_byLeaguePosition;
    MATCHPARAMETERS block;
    pDivision->MakeLeagueMatchBlock(pFixture, pHome, pAway, block);
    const ITEMCUPMATCHRULES rules = pDivision->m_MatchRules.AsMatchRules();
    block.pRules = &rules;
    block.byHomeGoals = 1;
    block.byAwayGoals = 2;
    block.byResult = MATCHRESULT_AWAY;

    MATCHHISTORYHEADER header;
    header.dwMatchID = block.dwMatchID;
    header.wRefereeID = block.wRefereeID;
    header.wHomeClub = pHome->m_wClubId;
    header.wAwayClub = pAway->m_wClubId;
    header.byHomeGoals = 1;
    header.byAwayGoals = 2;
    header.Result.abyHomeClub[0] = pHome->m_byReputation;
    header.Result.abyHomeClub[1] = pHome->m_bySupportLevel;
    header.Result.byResult = MATCHRESULT_AWAY;
    header.Result.byHomePossession = static_cast<uint8_t>(engine.GetPossessionPercent());
    header.Result.byWinnerPercentage = static_cast<uint8_t>(engine.GetTerritoryPercent());
    const uint8_t abyReferee[4] = {1, 1, 3, 1};
    std::copy(std::begin(abyReferee), std::end(abyReferee), header.Result.abyRefereeStatistics);
    if (CRefereeDatabase* pReferee = world.FindReferee(block.wRefereeID))
        pReferee->AddMatchStatistics(MATCHKIND_LEAGUE, header.Result.abyRefereeStatistics);

    const CMatchClub* apClubs[2] = {engine.GetHomeClub(), engine.GetAwayClub()};
    MATCHSIDERECORD sides[2];
    for (int s = 0; s < 2; ++s) {
        MATCHSIDERECORD& side = sides[s];
        side.pClub = apClubs[s]->GetRecord();
        side.nGoals = s == 0 ? 1 : 2;
        side.nEntries = apClubs[s]->GetSquadCount();
        for (int i = 0; i < side.nEntries; ++i) {
            const CMatchPlayer* p = apClubs[s]->GetPlayerBySquadIndex(i);
            side.apPlayers[i] = p->GetRecord();
            side.aEntries[i].idPlayer = p->GetRecord()->m_idPerson;
            side.aEntries[i].bySlotCode = p->GetSelectedPosition();
            side.aPlayed[i].bStarted = i < QUICKMATCH_STARTERS;
        }
    }
    sides[0].aPlayed[9].nGoals = 1;
    sides[0].aPlayed[12].bCameOn = true;
    sides[1].aPlayed[10].nGoals = 1;
    sides[1].aPlayed[4].nBookings = 1;
    sides[1].aPlayed[4].bSentOff = true;
    for (int s = 0; s < 2; ++s)
        for (int i = 0; i < sides[s].nEntries; ++i)
            if (sides[s].TookPart(i)) {
                const uint8_t byRating = apClubs[s]->GetPlayerBySquadIndex(i)->GetStoredMatchRating();
                sides[s].aPlayed[i].nRating = byRating;
                sides[s].aEntries[i].byRating = byRating;
            }
    sides[0].anStatistics[QUICKSTAT_GOALS] = 1;
    sides[1].anStatistics[QUICKSTAT_GOALS] = 2;
    sides[1].anStatistics[QUICKSTAT_BOOKINGS] = 1;
    sides[1].anStatistics[QUICKSTAT_SENDINGS_OFF] = 1;
    sides[1].anStatistics[QUICKSTAT_PENALTIES] = 1;
    sides[1].anStatistics[QUICKSTAT_PENALTIES_SCORED] = 1;
    RecordPlayersMatch(sides[0], sides[1], MATCHKIND_LEAGUE);
    header.Result.idManOfTheMatch = RecordManOfTheMatch(sides[0], sides[1], MATCHKIND_LEAGUE);
    RecordManagerPoints(sides[0], sides[1], MATCHKIND_LEAGUE, pAway->m_pDivision);
    RecordManagerPoints(sides[1], sides[0], MATCHKIND_LEAGUE, pAway->m_pDivision);

    CXList homeEvents, awayEvents;
    auto home = [&](int n) { return apClubs[0]->GetPlayerBySquadIndex(n); };
    auto away = [&](int n) { return apClubs[1]->GetPlayerBySquadIndex(n); };
    AddQuickEvent(homeEvents, home(9), MATCHEVENT_GOAL, 12);
    AddQuickEvent(homeEvents, home(3), MATCHEVENT_OWN_GOAL, 41);
    AddQuickEvent(homeEvents, home(7), MATCHEVENT_SUBSTITUTED_OFF, 61);
    AddQuickEvent(homeEvents, home(12), MATCHEVENT_SUBSTITUTED_ON, 61);
    AddQuickEvent(awayEvents, away(4), MATCHEVENT_BOOKED, 30);
    AddQuickEvent(awayEvents, away(10), MATCHEVENT_PENALTY_SCORED, 76);
    AddQuickEvent(awayEvents, away(4), MATCHEVENT_SENT_OFF, 81);
    block.pHeader = &header;
    block.pHomeEvents = &homeEvents;
    block.pAwayEvents = &awayEvents;
    CWorkingFileAppends& appends = pHome->GetCountry()->GetMatchHistory();
    appends.Touch();
    CBinaryWriter history(appends.GetBytes());
    world.RecordMatch(&block, pFixture->GetGroundID(), &history, sides[0], sides[1]);
    pDivision->RecordLeagueResult(pFixture, pHome, pAway, block);
}

void RecordShown(CDatabaseHandler& world, const MATCHDAYFIXTURE& fixture, CMatchEngine& engine)
{
    SilentOutput output;
    CMatchEventHandler handler(output);
    engine.SetEventReceiver(&handler);
    auto send = [&](CMatchPerson* pActor, CMatchPerson* pSecond, uint8_t byKind, uint32_t dwTime) {
        ITEMMATCHEVENTINFORMATION& event = engine.GetEventRecord();
        event = ITEMMATCHEVENTINFORMATION{};
        event.pPerson = pActor;
        event.pSecondPerson = pSecond;
        event.dwGameTime = dwTime;
        event.byEvent = byKind;
        engine.SendIncident();
    };
    auto home = [&](int n) { return engine.GetHomeClub()->GetPlayerBySquadIndex(n); };
    auto away = [&](int n) { return engine.GetAwayClub()->GetPlayerBySquadIndex(n); };
    send(home(9), nullptr, INCIDENT_GOAL, 11 * kMinute + 5);
    send(away(4), nullptr, INCIDENT_BOOKING, 29 * kMinute);
    send(home(3), nullptr, INCIDENT_OWN_GOAL, 40 * kMinute + 59999);
    send(home(12), home(7), INCIDENT_SUBSTITUTION, 60 * kMinute);
    send(away(10), nullptr, INCIDENT_PENALTY_SCORED, 75 * kMinute);
    send(away(4), nullptr, INCIDENT_SENDING_OFF, 80 * kMinute);
    engine.GetHomeClub()->SetGoals(1);
    engine.GetAwayClub()->SetGoals(2);
    engine.GetHomeClub()->GetCounters().byFouls = 2;  // the referee's fouls of the match
    engine.GetAwayClub()->GetCounters().byFouls = 1;
    EXPECT_TRUE(CShownMatchRecorder::Record(world, fixture, DescribeShownMatch(engine), handler.GetIncidents()));
    // A fixture is recorded once.
    EXPECT_FALSE(CShownMatchRecorder::Record(world, fixture, DescribeShownMatch(engine), handler.GetIncidents()));
    engine.SetEventReceiver(nullptr);
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += std::to_string(v) + " ";
    return s;
}

Outcome PlayTheMatch(Writers writers)
{
    Outcome outcome;
    humans_test::HumanFolder folder;
    std::unique_ptr<CDatabaseHandler> world = humans_test::LoadStartingWorld();
    EXPECT_NE(world, nullptr);
    if (!world)
        return outcome;
    plat::srand(1999);
    CSaveGame* pHuman = CSaveGame::CreateNewHuman(*world, 0, "Ada Lovell", 7, 1);
    pHuman->TakeOverClub(world->GetClubFromID(1));
    EXPECT_TRUE(world->SetUpNewGameRecords());
    // The human's matches wait for the match screen.
    world->SetMatchType(1);
    bool bFound = false;
    for (int nDay = 0; nDay < 200 && !bFound; ++nDay) {
        world->ProcessDay();
        world->DoMatchDay(world->GetGameDate());
        bFound = CGameDay::FindMatchDayFixtures(*world) > 0 && g_aMatchDayFixtures[0].byKind == 0;
    }
    EXPECT_TRUE(bFound) << "no league match of the human within 200 days";
    if (!bFound)
        return outcome;
    const MATCHDAYFIXTURE fixture = g_aMatchDayFixtures[0];
    auto* pFixture = static_cast<CDivisionFixturesDatabase*>(fixture.pFixture);

    CMatchEngine engine;
    ITEMMATCHRULESINFORMATION rules;
    rules.abyRules[2] = 5;
    const uint32_t dwSeed = 3;
    EXPECT_TRUE(engine.StartGame(*world, pFixture->GetHomeClubID(), pFixture->GetAwayClubID(), 0, rules, 0, &dwSeed));
    // The gate and the rest draw from the same sequence in both worlds.
    plat::srand(4242);
    // Season points well above 0, so that a match's points show.
    for (ID_CLUB idClub : {pFixture->GetHomeClubID(), pFixture->GetAwayClubID()})
        if (CManagerDatabase* pManager = world->GetClubFromID(idClub)->GetManager())
            pManager->m_dwSeasonValueA = 100000;
    if (writers == Writers::Shown)
        RecordShown(*world, fixture, engine);
    else
        RecordWithQuickWriters(*world, pFixture, engine);

    EXPECT_TRUE(world->FlushWorkingFiles());
    CClubDatabase* pHome = world->GetClubFromID(pFixture->GetHomeClubID());
    CClubDatabase* pAway = world->GetClubFromID(pFixture->GetAwayClubID());
    outcome.history = humans_test::ReadFile(folder.Path() / pHome->GetCountry()->GetMatchHistoryFileName());
    outcome.fixture = Bytes({pFixture->GetHomeGoals(), pFixture->GetAwayGoals(),
                             static_cast<int>(pFixture->GetResultValue()), pFixture->GetState()});
    for (const CClubDatabase* pClub : {pHome, pAway})
        for (const CLUBLEAGUEROW* pRow : {&pClub->m_HomeRow, &pClub->m_AwayRow})
            outcome.table += Bytes({pRow->byPlayed, pRow->byWon, pRow->byDrawn, pRow->byLost, pRow->byGoalsFor,
                                    pRow->byGoalsAgainst, pClub->m_byPoints, pClub->m_byPreviousPosition});
    for (const CClubDatabase* pClub : {pHome, pAway}) {
        const CManagerDatabase* pManager = pClub->GetManager();
        outcome.table += Bytes({pManager ? static_cast<int>(pManager->m_dwSeasonValueA) : -1});
    }
    for (const CMatchClub* pClub : {engine.GetHomeClub(), engine.GetAwayClub()})
        for (int i = 0; i < pClub->GetSquadCount(); ++i) {
            const CPlayerDatabase* pPlayer = pClub->GetPlayerBySquadIndex(i)->GetRecord();
            outcome.players += std::to_string(pPlayer->m_idPerson) + ":";
            for (int f = 0; f < MATCH_INFORMATION_FIELD_COUNT; ++f)
                outcome.players += std::to_string(pPlayer->GetMatchInformationField(MATCHKIND_LEAGUE, f)) + ",";
            outcome.players += Bytes({pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_MORALE], pPlayer->m_byMatchByte,
                                      static_cast<int>(pPlayer->m_dwSeasonPoints)}) + "\n";
        }
    engine.EndGame();
    return outcome;
}

TEST(ShownMatchRecording, WritesTheWorldAsTheQuickEnginesWritersDo)
{
    const Outcome shown = PlayTheMatch(Writers::Shown);
    const Outcome quick = PlayTheMatch(Writers::Quick);
    ASSERT_FALSE(shown.history.empty());
    EXPECT_EQ(shown.fixture.substr(0, 4), "1 2 ") << "the score reaches the fixture";
    EXPECT_EQ(shown.fixture, quick.fixture);
    EXPECT_EQ(shown.table, quick.table);
    EXPECT_EQ(shown.players, quick.players);
    EXPECT_EQ(shown.history.size(), quick.history.size());
    EXPECT_TRUE(shown.history == quick.history) << "the match history files differ";
}

class ShownFriendly : public humans_test::HumanWorld {};

// A friendly goes to "temp.mhs", not to the country's file, and reads back
// with the own goal of a home player in the home block and the referee's
// result code.
TEST_F(ShownFriendly, GoesToTheCupHistoryWithTheOwnGoalInTheScorersBlock)
{
    CClubDatabase* pAway = H().GetClubFromID(2);
    CCupFixturesDatabase* pFixture = H().OrganiseFriendlyFixture(m_pClub, pAway, H().GetGameDate(), false);
    ASSERT_NE(pFixture, nullptr);
    CMatchEngine engine;
    ITEMMATCHRULESINFORMATION rules;
    rules.abyRules[2] = 5;
    const uint32_t dwSeed = 9;
    ASSERT_TRUE(engine.StartGame(H(), pFixture->GetHomeClubID(), pFixture->GetAwayClubID(), 0, rules, 0, &dwSeed));
    SilentOutput output;
    CMatchEventHandler handler(output);
    engine.SetEventReceiver(&handler);
    CMatchPlayer* pUnlucky = engine.GetHomeClub()->GetPlayerBySquadIndex(3);
    ITEMMATCHEVENTINFORMATION& event = engine.GetEventRecord();
    event.pPerson = pUnlucky;
    event.dwGameTime = 20 * kMinute;
    event.byEvent = INCIDENT_OWN_GOAL;
    engine.SendIncident();
    engine.GetAwayClub()->SetGoals(1);

    const size_t nCountryBytes = m_pClub->GetCountry()->GetMatchHistory().GetSize();
    const size_t nCupBytes = H().GetCupMatchHistory().GetSize();
    // A match of other clubs than the fixture's is refused.
    MATCHDAYFIXTURE wrong{pFixture, 3};
    SHOWNMATCH swapped = DescribeShownMatch(engine);
    std::swap(swapped.aSides[0], swapped.aSides[1]);
    EXPECT_FALSE(CShownMatchRecorder::Record(H(), wrong, swapped, handler.GetIncidents()));
    EXPECT_FALSE(pFixture->IsPlayed());

    // The referee ended it in golden-goal extra time.
    ASSERT_TRUE(CShownMatchRecorder::Record(H(), {pFixture, 3}, DescribeShownMatch(engine), handler.GetIncidents(),
                                            MATCHRESULT_AWAY_GOLDEN_GOAL));
    EXPECT_EQ(m_pClub->GetCountry()->GetMatchHistory().GetSize(), nCountryBytes);
    EXPECT_GT(H().GetCupMatchHistory().GetSize(), nCupBytes);
    EXPECT_EQ(pFixture->GetHomeGoals(), 0);
    EXPECT_EQ(pFixture->GetAwayGoals(), 1);

    MATCHHISTORYHEADER header;
    MATCHRECORDBODY body;
    ASSERT_TRUE(H().FindMatchRecord(header, &body, pFixture->GetFixtureID()));
    EXPECT_EQ(header.byMatchKind, MATCHKIND_FRIENDLY);
    EXPECT_EQ(header.byAwayGoals, 1);
    EXPECT_EQ(header.Result.byResult, MATCHRESULT_AWAY_GOLDEN_GOAL);
    ASSERT_EQ(body.HomeEvents.size(), 1u);
    EXPECT_TRUE(body.AwayEvents.empty());
    EXPECT_EQ(body.HomeEvents[0].idPlayer, pUnlucky->GetRecord()->m_idPerson);
    EXPECT_EQ(body.HomeEvents[0].byKind, MATCHEVENT_OWN_GOAL);
    EXPECT_EQ(body.HomeEvents[0].byMinute, 21);
    EXPECT_EQ(body.HomeLineUp.size(), 16u);
    EXPECT_EQ(body.HomeLineUp[3].idPlayer, pUnlucky->GetRecord()->m_idPerson);
    engine.SetEventReceiver(nullptr);
    engine.EndGame();
}

}  // namespace
