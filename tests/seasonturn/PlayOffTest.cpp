// Play-offs: the entrants below the promotion places, two-legged ties, a
// one-match final and the winner's promotion.
#include "SeasonTurnSupport.h"

#include "season/MatchRecords.h"

#include <array>
#include <map>
#include <utility>

namespace seasonturn_test {
namespace {

class PlayOffs : public SmallCountry {
protected:
    void SetUp() override
    {
        SmallCountry::SetUp();
        // Division 2: one club up directly, four clubs below it play off for one more place.
        m_pDivision = Division(1);
        m_pDivision->m_byPromotionZone = 1;
        m_pDivision->m_byPlayOffPlaces = 4;
        m_pDivision->m_byPlayOffPromotions = 1;
    }

    std::vector<CDivisionFixturesDatabase*> OpenPlayOffFixtures() const
    {
        std::vector<CDivisionFixturesDatabase*> fixtures;
        for (CDivisionFixturesDatabase* p : m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (p->GetRound() == DIVISION_FIXTURE_PLAYOFF && !p->IsPlayed())
                fixtures.push_back(p);
        return fixtures;
    }

    // Plays the open play-off fixtures named with the given (home goals, away
    // goals, result flags) by home club; answers whether the round ended.
    bool PlayRound(const std::map<std::pair<ID_CLUB, ID_CLUB>, std::array<int, 3>>& results)
    {
        bool bOver = false;
        for (CDivisionFixturesDatabase* p : OpenPlayOffFixtures()) {
            const auto it = results.find({p->GetHomeClubID(), p->GetAwayClubID()});
            if (it == results.end())
                continue;
            p->SetGoals(static_cast<uint8_t>(it->second[0]), static_cast<uint8_t>(it->second[1]));
            p->SetResultValue(static_cast<uint32_t>(it->second[2]));
            bOver = m_pDivision->PlayOffResult(Club(p->GetHomeClubID()), Club(p->GetAwayClubID()), p) || bOver;
        }
        return bOver;
    }

    CDivisionDatabase* m_pDivision = nullptr;
};

TEST_F(PlayOffs, TwoLeggedSemiFinalsAndAFinalGiveOneWinnerWhoGoesUp)
{
    m_pDivision->MakePlayOffs();
    ASSERT_TRUE(m_pDivision->HasPlayOff());
    const PLAYOFFRECORD* pRecord = m_pDivision->m_pPlayOff;
    ASSERT_EQ(pRecord->Entries.size(), 4u);
    EXPECT_EQ(pRecord->Entries[0].idClub, 8u);
    EXPECT_EQ(pRecord->Entries[3].idClub, 11u);

    // The lowest-placed entrant is at home in the first leg; the return
    // legs come after the first legs, all after the league season.
    const auto first = OpenPlayOffFixtures();
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0]->GetHomeClubID(), 11);
    EXPECT_EQ(first[0]->GetAwayClubID(), 8);
    EXPECT_GT(first[0]->GetDate(), m_pDivision->m_SeasonEnd);
    EXPECT_GT(first[2]->GetDate(), first[0]->GetDate());

    // Club 8 wins over two legs; club 10 on the shoot-out of the return leg.
    EXPECT_TRUE(PlayRound({{{11, 8}, {1, 0, MATCHRESULT_HOME}}, {{10, 9}, {2, 0, MATCHRESULT_HOME}},
                           {{8, 11}, {3, 0, MATCHRESULT_HOME_TWO_LEGS}},
                           {{9, 10}, {2, 0, MATCHRESULT_AWAY_SHOOT_OUT}}}));
    EXPECT_TRUE(OpenPlayOffFixtures().empty());
    EXPECT_EQ(pRecord->byEntrantsLeft, 2);
    m_pDivision->NextPlayOffRound();
    const auto final = OpenPlayOffFixtures();
    ASSERT_EQ(final.size(), 1u);
    EXPECT_EQ(final[0]->GetHomeClubID(), 10);
    EXPECT_EQ(final[0]->GetAwayClubID(), 8);

    EXPECT_TRUE(PlayRound({{{10, 8}, {1, 1, MATCHRESULT_AWAY_SHOOT_OUT}}}));
    m_pDivision->NextPlayOffRound();
    ASSERT_EQ(pRecord->Entries.size(), 1u);
    EXPECT_EQ(pRecord->Entries[0].idClub, 8u);
    EXPECT_TRUE(OpenPlayOffFixtures().empty());

    // Club 7 goes up directly, club 8 through the play-off; sizes are kept.
    m_pCountry->DoSeasonClose();
    EXPECT_EQ(Club(7)->m_pDivision, Division(0));
    EXPECT_EQ(Club(8)->m_pDivision, Division(0));
    EXPECT_EQ(Club(10)->m_pDivision, Division(1));
    for (CDivisionDatabase* pDivision : Divisions())
        EXPECT_EQ(pDivision->GetClubCount(), 6);
    EXPECT_TRUE(m_pDivision->m_pPlayOff->Entries.empty());
}

TEST_F(PlayOffs, TheRoundEndsOnlyWithItsLastTie)
{
    m_pDivision->MakePlayOffs();
    EXPECT_FALSE(PlayRound({{{11, 8}, {1, 0, MATCHRESULT_HOME}}, {{10, 9}, {2, 0, MATCHRESULT_HOME}}}));
    EXPECT_EQ(m_pDivision->m_pPlayOff->byEntrantsLeft, 4);
    EXPECT_TRUE(PlayRound({{{8, 11}, {0, 0, MATCHRESULT_AWAY_TWO_LEGS}}, {{9, 10}, {3, 0, MATCHRESULT_HOME_TWO_LEGS}}}));
    EXPECT_EQ(m_pDivision->m_pPlayOff->byEntrantsLeft, 2);
}

TEST_F(PlayOffs, EntrantsAreBoundedByTheClubsAndTheBracket)
{
    struct Case {
        int nPlaces;
        size_t nEntrants;
    };
    // Six clubs, one promoted directly: at most five can enter, and a
    // bracket takes 2, 4 or 8.
    for (const Case& c : {Case{2, 2}, Case{3, 2}, Case{5, 4}, Case{40, 4}, Case{1, 0}}) {
        m_pDivision->ResetPlayOff();
        m_pDivision->m_byPlayOffPlaces = static_cast<uint8_t>(c.nPlaces);
        m_pDivision->MakePlayOffs();
        const size_t nEntrants = m_pDivision->m_pPlayOff ? m_pDivision->m_pPlayOff->Entries.size() : 0;
        EXPECT_EQ(nEntrants, c.nEntrants) << c.nPlaces << " places";
    }
}

TEST_F(PlayOffs, APlayOffSurvivesSaveAndLoadOfTheDivision)
{
    m_pDivision->MakePlayOffs();
    PlayRound({{{11, 8}, {1, 0, MATCHRESULT_HOME}}, {{10, 9}, {2, 0, MATCHRESULT_HOME}}});
    const Bytes bytes = SaveToBytes(*m_pDivision, &CDivisionDatabase::Save);
    ByteStream stream(bytes);
    CDivisionDatabase copy;
    ASSERT_TRUE(copy.Load(stream.reader(), m_pCountry));
    ASSERT_TRUE(copy.HasPlayOff());
    ASSERT_EQ(copy.m_pPlayOff->Entries.size(), 4u);
    EXPECT_EQ(copy.m_pPlayOff->Entries[3].idClub, 11u);
    EXPECT_EQ(copy.m_pPlayOff->Entries[3].nTieGoals, 1);
}

}  // namespace
}  // namespace seasonturn_test
