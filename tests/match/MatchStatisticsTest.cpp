// The statistics of a 3-D match as the match screen reads them off the
// engine: possession shares, each counter raised for the right side as the
// match's events happen, and the referee's totals.
#include "RestartsFixture.h"

#include "match/actors/CMatchPhysio.h"
#include "season/CRefereeDatabase.h"

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

namespace {

using Getter = void (CMatchEngine::*)(uint8_t&, uint8_t&) const;

enum Figure { CORNERS, SHOTS, ON_TARGET, FOULS, PENALTIES, FREE_KICKS, OFFSIDES, BOOKINGS, SUBSTITUTIONS, FIGURES };
constexpr Getter kGetters[FIGURES] = {
    &CMatchEngine::GetCorners,  &CMatchEngine::GetShots,     &CMatchEngine::GetShotsOnTarget,
    &CMatchEngine::GetFouls,    &CMatchEngine::GetPenaltiesAwarded, &CMatchEngine::GetFreeKicks,
    &CMatchEngine::GetOffsides, &CMatchEngine::GetBookings,  &CMatchEngine::GetSubstitutions};
const char* const kFigureNames[FIGURES] = {"corners",    "shots",    "on target", "fouls",        "penalties",
                                           "free kicks", "offsides", "bookings",  "substitutions"};

// Every figure of both sides: [figure][0 home, 1 away].
using Sheet = std::array<std::array<int, 2>, FIGURES>;

class MatchStatisticsTest : public RestartsFixture {
protected:
    Sheet Read() const
    {
        Sheet sheet{};
        for (int f = 0; f < FIGURES; ++f) {
            uint8_t byHome = 0, byAway = 0;
            (m_Engine.*kGetters[f])(byHome, byAway);
            sheet[f] = {byHome, byAway};
        }
        return sheet;
    }

    // The club in possession for whole seconds of open play.
    void Possess(CMatchClub* pClub, int nSeconds)
    {
        m_pBall->StartBallInfo(BALLCAUSE_CONTROLLED, pClub->GetSlot(4));
        for (int i = 0; i < nSeconds; ++i) {
            m_pHome->UpdatePerSecond();
            m_pAway->UpdatePerSecond();
        }
    }
};

TEST_F(MatchStatisticsTest, PossessionIsTheHomeShareOfTheSecondsWithTheBall)
{
    struct Case {
        int nHome, nAway, nPercent;
    } cases[] = {{30, 0, 100}, {0, 0, 50}, {1, 2, 33}, {0, 7, 0}, {3, 1, 75}};
    for (const Case& c : cases) {
        ASSERT_TRUE(Start(0));
        m_pReferee->OnRestartTaken();
        ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_NONE);
        Possess(m_pHome, c.nHome);
        Possess(m_pAway, c.nAway);
        EXPECT_EQ(m_Engine.GetPossessionPercent(), c.nPercent) << c.nHome << "/" << c.nAway;
        // The screen shows the away share as the rest of 100.
        EXPECT_EQ(m_pHome->GetPossessionSeconds() + m_pAway->GetPossessionSeconds(), c.nHome + c.nAway);
        m_Engine.EndGame();
    }
    // A stoppage counts for nobody.
    ASSERT_TRUE(Start(0));
    m_Engine.SetMatchEvent(MATCHEVENT_THROWIN);
    Possess(m_pHome, 5);
    EXPECT_EQ(m_pHome->GetPossessionSeconds(), 0);
    EXPECT_EQ(m_Engine.GetPossessionPercent(), 50);
}

TEST_F(MatchStatisticsTest, EachEventRaisesItsFiguresForItsSideAlone)
{
    ASSERT_TRUE(Start(0));
    m_pReferee->OnRestartTaken();
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    const int h = pHigh == m_pHome ? 0 : 1;  // the sheet's column of the high-end club
    const int l = 1 - h;
    // A restart awarded to the high-end club for a cause at a point.
    auto award = [&](uint8_t byCause, const CVector& at) {
        Award(pHigh, byCause, at);
        m_pReferee->OnRestartTaken();
    };
    struct Change {
        Figure figure;
        int nSide;
    };
    struct Case {
        const char* pszName;
        std::function<void()> event;
        std::vector<Change> changes;
    } cases[] = {
        {"corner", [&] { award(CAUSE_BALL_OFF_END, CVector(10100, 1000, 0)); }, {{CORNERS, h}}},
        {"handball outside the box", [&] { award(CAUSE_HAND_BALL, CVector(5000, 3000, 0)); },
         {{FOULS, l}, {FREE_KICKS, h}}},
        {"handball in the box", [&] { award(CAUSE_HAND_BALL, CVector(9000, 3000, 0)); },
         {{FOULS, l}, {PENALTIES, h}}},
        {"offside", [&] { award(CAUSE_OFFSIDE, CVector(8400, 3750, 0)); }, {{OFFSIDES, l}, {FREE_KICKS, h}}},
        // As the players' shot records count them.
        {"shot off target", [&] { pHigh->GetCounters().byShots++; }, {{SHOTS, h}}},
        {"shot saved",
         [&] {
             MATCHCLUBCOUNTERS& counters = pHigh->GetOpponent()->GetCounters();
             ++counters.byShots, ++counters.byShotsOnTarget;
         },
         {{SHOTS, l}, {ON_TARGET, l}}},
        {"first yellow card", [&] { pHigh->GetSlot(3)->ReceiveBooking(); }, {{BOOKINGS, h}}},
        {"second yellow card", [&] { pHigh->GetSlot(3)->ReceiveBooking(); }, {}},
        {"sent off", [&] { pHigh->GetOpponent()->GetSlot(5)->SendOff(); }, {{SUBSTITUTIONS, l}}},
        {"substitution", [&] { pHigh->SubstitutePlayer(6, pHigh->GetOnPitchCount() + 1); }, {{SUBSTITUTIONS, h}}},
    };
    for (const Case& c : cases) {
        Sheet expected = Read();
        for (const Change& change : c.changes)
            ++expected[change.figure][change.nSide];
        c.event();
        const Sheet after = Read();
        for (int f = 0; f < FIGURES; ++f)
            EXPECT_EQ(after[f], expected[f]) << c.pszName << ": " << kFigureNames[f];
    }
}

TEST_F(MatchStatisticsTest, TheRefereesTotalsCountSendingsOffNotSubstitutions)
{
    ASSERT_TRUE(Start(0));
    m_pHome->GetSlot(2)->ReceiveBooking();
    m_pAway->GetSlot(2)->ReceiveBooking();
    m_pAway->GetSlot(3)->SendOff();
    m_pHome->SubstitutePlayer(6, m_pHome->GetOnPitchCount() + 1);
    m_pHome->GetCounters().byFouls = 200;
    m_pAway->GetCounters().byFouls = 100;  // more than a byte holds together
    m_pAway->GetCounters().byPenaltiesAwarded = 2;
    uint8_t abyTotals[4] = {};
    m_Engine.GetRefereeTotals(abyTotals);
    EXPECT_EQ(abyTotals[0], 2);    // bookings
    EXPECT_EQ(abyTotals[1], 1);    // sendings-off
    EXPECT_EQ(abyTotals[2], 255);  // fouls, held at the most a byte can say
    EXPECT_EQ(abyTotals[3], 2);    // penalties

    // At the end of the match screen's match they go into the referee's
    // record for the competition.
    ITEMMATCHRULESINFORMATION rules;
    rules.abyRules[2] = 5;
    const uint32_t dwSeed = 3;
    ASSERT_TRUE(g_MatchEngine.StartGame(*s_pWorld, 1, 2, 1, rules, 0, &dwSeed));
    g_MatchEngine.GetHomeClub()->GetSlot(2)->ReceiveBooking();
    g_MatchEngine.GetAwayClub()->GetCounters().byFouls = 4;
    CRefereeDatabase referee;
    AddMatchTotalsToReferee(2, &referee);
    AddMatchTotalsToReferee(2, nullptr);
    g_MatchEngine.EndGame();
    const REFEREESTATISTICS& stats = referee.GetStatistics(2);
    EXPECT_EQ(stats.byMatches, 1);
    EXPECT_EQ(stats.wBookings, 1);
    EXPECT_EQ(stats.wFouls, 4);
    EXPECT_EQ(stats.bySendingsOff, 0);
    EXPECT_EQ(referee.GetStatistics(1).byMatches, 0);
}

TEST_F(MatchStatisticsTest, AWholeMatchWithAnInjuryRunsToFullTimeAndCountsItsRestarts)
{
    ASSERT_TRUE(Start(0, 11));
    CMatchPhysio* pPhysio = m_Engine.GetPhysio();
    ASSERT_NE(pPhysio, nullptr);
    CMatchPlayer* pInjured = nullptr;
    uint32_t dwNext = 5 * 60000;
    int k = 0;
    for (int i = 0; i < 200000 && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++i) {
        const bool bOpen = m_Engine.GetMatchEvent() == MATCHEVENT_NONE && !m_pReferee->IsCausePending() &&
                           m_pReferee->GetCardLevel() == 0;
        // Until ten minutes from time, every five minutes of open play: the
        // ball over an end line off one side or the other, a foul, and
        // once an injury.
        if (bOpen && m_Engine.GetMatchTime() >= dwNext && m_Engine.GetMatchTime() < 80 * 60000) {
            CMatchClub* pClub = k % 2 ? m_pAway : m_pHome;
            CMatchPlayer* pPlayer = pClub->GetSlot(2 + k % 8);
            switch (k % 3) {
            case 0: PlayBallTo(pPlayer, CVector(pClub->AttacksHighEnd() ? -100 : 10100, 1200, 0)); break;
            case 1: m_Engine.ReportAggressivePlay(pPlayer, CVector(3000 + k * 50, 2000, 0), 165); break;
            default:
                if (!pInjured) {
                    pInjured = pPlayer;
                    pInjured->SetInjured(true);
                    m_pReferee->SetInjuredPlayer(pInjured);
                }
                break;
            }
            ++k;
            dwNext = m_Engine.GetMatchTime() + 5 * 60000;
        }
        // The physio walks where he heads and turns to his patient.
        if (pPhysio->IsActive()) {
            pPhysio->SetPosition(pPhysio->GetTarget());
            if (pPhysio->GetPatient())
                pPhysio->SetFacing(float(pPhysio->GetPosition().GetAngleTo(pPhysio->GetPatient()->GetPosition())));
        }
        Tick();
    }
    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME);
    EXPECT_GE(m_Engine.GetMatchTime(), 5400000u);

    // The injured player was treated once and play went on with a free kick.
    ASSERT_NE(pInjured, nullptr);
    EXPECT_EQ(m_Recorder.Count(31, 0), 1);
    EXPECT_FALSE(pInjured->IsHeldForReferee());
    EXPECT_FALSE(pPhysio->IsActive());
    EXPECT_LT(pPhysio->GetPosition().SquaredDistance2D(CMatchEngine::kPhysioPoint), 70 * 70);

    // Every corner and free kick counted was taken, and taken ones counted.
    auto taken = [&](std::initializer_list<uint8_t> events, const CMatchClub* pClub) {
        return int(std::count_if(m_Taken.begin(), m_Taken.end(), [&](const TAKENRESTART& r) {
            return std::find(events.begin(), events.end(), r.byEvent) != events.end() && r.pTaker->GetClub() == pClub;
        }));
    };
    uint8_t abyCorners[2], abyFreeKicks[2];
    m_Engine.GetCorners(abyCorners[0], abyCorners[1]);
    m_Engine.GetFreeKicks(abyFreeKicks[0], abyFreeKicks[1]);
    for (int s = 0; s < 2; ++s) {
        const CMatchClub* pClub = s ? m_pAway : m_pHome;
        EXPECT_EQ(abyCorners[s], taken({MATCHEVENT_CORNER}, pClub)) << s;
        EXPECT_EQ(abyFreeKicks[s], taken({MATCHEVENT_FREEKICK, MATCHEVENT_DIRECTFREEKICK}, pClub)) << s;
    }
    EXPECT_GT(abyCorners[0] + abyCorners[1], 0);
    uint8_t abyTotals[4];
    m_Engine.GetRefereeTotals(abyTotals);
    uint8_t abyFouls[2];
    m_Engine.GetFouls(abyFouls[0], abyFouls[1]);
    EXPECT_EQ(abyTotals[2], abyFouls[0] + abyFouls[1]);
    EXPECT_GT(m_pHome->GetPossessionSeconds() + m_pAway->GetPossessionSeconds(), 0);
}

}  // namespace
