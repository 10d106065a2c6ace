// Play-offs: the entrants below the promotion places, played in the rounds
// of the division's template (two-legged ties and a one-match final, or a
// small league of four), the winners' promotion, and the strict reader of
// the templates.
#include "SeasonTurnSupport.h"

#include "database/CPlayOffTemplates.h"
#include "platform/SafeFile.h"
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
        // Semi-finals over two legs (the first Wednesday and the second
        // Saturday of May, or the first such days after the league), a final
        // on the fourth Sunday of May at the national ground.
        InstallTemplates({{3, 1, 0, 1, 2, 3, 1, 5, 1, 6, 2, 5, 1, 89, 3, 5, 5, 0},
                          {3, 1, 1, 0, 1, 0, 4, 5, 1, 255, 0, 0, 0, 17, 3, 5, 5, 2}});
    }

    void InstallTemplates(const std::vector<std::vector<int64_t>>& rows)
    {
        int nBadRow = 0;
        const char* pszReason = m_handler->GetPlayOffTemplates().Build(rows, nBadRow);
        ASSERT_EQ(pszReason, nullptr) << pszReason << " (row " << nBadRow << ")";
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
    // The league ends on 11 May 2002: the first legs on the Wednesday after
    // it (the first Wednesday of May has passed), the return legs on the
    // second Saturday of May, which follows.
    EXPECT_EQ(first[0]->GetDate(), CDate(2002, 5, 15));
    EXPECT_EQ(first[2]->GetDate(), CDate(2002, 5, 18));

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
    EXPECT_EQ(final[0]->GetDate(), CDate(2002, 5, 26));
    EXPECT_EQ(m_pDivision->GetPlayOffMatchRules()->byVenue, 2);

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

TEST_F(PlayOffs, TheTemplateDecidesHowManyPlay)
{
    struct Case {
        int nPlaces;
        size_t nEntrants;
    };
    // The template's semi-finals take four: fewer places play no play-off,
    // more leave the places beyond four unused.
    for (const Case& c : {Case{2, 0}, Case{3, 0}, Case{4, 4}, Case{5, 4}, Case{40, 4}}) {
        m_pDivision->ResetPlayOff();
        m_pDivision->m_byPlayOffPlaces = static_cast<uint8_t>(c.nPlaces);
        m_pDivision->MakePlayOffs();
        const size_t nEntrants = m_pDivision->m_pPlayOff ? m_pDivision->m_pPlayOff->Entries.size() : 0;
        EXPECT_EQ(nEntrants, c.nEntrants) << c.nPlaces << " places";
    }
    // A division without a template plays none.
    m_pDivision->ResetPlayOff();
    InstallTemplates({{3, 2, 0, 0, 1, 0, 4, 5, 1, 255, 0, 0, 0, 17, 3, 5, 5, 2}});
    m_pDivision->MakePlayOffs();
    EXPECT_TRUE(m_pDivision->m_pPlayOff->Entries.empty());
}

TEST_F(PlayOffs, ASmallLeagueOfFourPromotesItsLeader)
{
    // Three rounds on the second, third and fourth Saturdays of May.
    InstallTemplates({{3, 1, 0, 2, 2, 6, 2, 5, 1, 255, 0, 0, 0, 0, 3, 5, 5, 0},
                      {3, 1, 1, 2, 2, 6, 3, 5, 1, 255, 0, 0, 0, 0, 3, 5, 5, 0},
                      {3, 1, 2, 2, 2, 6, 4, 5, 1, 255, 0, 0, 0, 0, 3, 5, 5, 0}});
    m_pDivision->MakePlayOffs();
    ASSERT_TRUE(m_pDivision->HasPlayOff());
    const auto fixtures = OpenPlayOffFixtures();
    ASSERT_EQ(fixtures.size(), 6u);
    // Entrants 8, 9, 10, 11: each meets every other once, two matches a round.
    const std::vector<std::pair<ID_CLUB, ID_CLUB>> pairs = {{8, 9}, {11, 10}, {10, 8}, {11, 9}, {8, 11}, {9, 10}};
    // The league ends on the second Saturday: each round falls on the first
    // Saturday after the one before that its rule allows.
    const CDate dates[3] = {CDate(2002, 5, 18), CDate(2002, 5, 25), CDate(2002, 6, 1)};
    for (size_t i = 0; i < fixtures.size(); ++i) {
        EXPECT_EQ(std::make_pair(fixtures[i]->GetHomeClubID(), fixtures[i]->GetAwayClubID()), pairs[i]) << i;
        EXPECT_EQ(fixtures[i]->GetDate(), dates[i / 2]) << i;
    }
    // Club 10 wins twice and draws once: it leads the table and goes up.
    const std::map<std::pair<ID_CLUB, ID_CLUB>, std::array<int, 3>> results = {
        {{8, 9}, {1, 2, MATCHRESULT_AWAY}},  {{11, 10}, {0, 1, MATCHRESULT_AWAY}},
        {{10, 8}, {2, 0, MATCHRESULT_HOME}}, {{11, 9}, {1, 1, MATCHRESULT_HOME}},
        {{8, 11}, {3, 0, MATCHRESULT_HOME}}, {{9, 10}, {1, 1, MATCHRESULT_HOME}}};
    for (int nRound = 0; nRound < 3; ++nRound) {
        std::map<std::pair<ID_CLUB, ID_CLUB>, std::array<int, 3>> round;
        for (int i = 2 * nRound; i < 2 * nRound + 2; ++i)
            round[pairs[static_cast<size_t>(i)]] = results.at(pairs[static_cast<size_t>(i)]);
        EXPECT_TRUE(PlayRound(round));
        m_pDivision->NextPlayOffRound();
        EXPECT_EQ(m_pDivision->m_pPlayOff->Entries.size(), nRound < 2 ? 4u : 1u) << "after round " << nRound;
    }
    EXPECT_EQ(m_pDivision->m_pPlayOff->Entries[0].idClub, 10u);

    m_pCountry->DoSeasonClose();
    EXPECT_EQ(Club(10)->m_pDivision, Division(0));
    EXPECT_EQ(Club(9)->m_pDivision, Division(1));
}

TEST_F(PlayOffs, TheTemplateReaderRefusesATableWithAnyFault)
{
    using Row = std::vector<int64_t>;
    const Row semi = {1, 1, 0, 1, 2, 3, 1, 5, 1, 6, 2, 5, 1, 89, 3, 5, 5, 0};
    const Row final = {1, 1, 1, 0, 1, 0, 4, 5, 1, 255, 0, 0, 0, 17, 3, 5, 5, 2};
    auto with = [](Row row, size_t nColumn, int64_t nValue) {
        row[nColumn] = nValue;
        return row;
    };
    struct Case {
        const char* pszWhat;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {"a final of two ties", {semi, with(final, 4, 2)}},
        {"no final", {semi}},
        {"rounds out of order", {semi, with(final, 2, 2)}},
        {"a second leg for one match", {semi, with(final, 9, 6)}},
        {"two legs without a second leg", {with(semi, 9, 255), final}},
        {"no such month", {with(semi, 7, 13), final}},
        {"a play-off given twice", {semi, final, semi, final}},
        {"a league round in a knock-out", {with(semi, 3, 2), final}},
        {"a small league of three ties", {{2, 1, 0, 2, 3, 6, 2, 5, 1, 255, 0, 0, 0, 0, 3, 5, 5, 0}}},
        {"a short row", {semi, Row(final.begin(), final.end() - 1)}},
        {"no such venue", {semi, with(final, 17, 4)}},
    };
    CPlayOffTemplates templates;
    int nBadRow = 0;
    ASSERT_EQ(templates.Build({semi, final, with(semi, 0, 2), with(final, 0, 2)}, nBadRow), nullptr);
    ASSERT_EQ(templates.GetCount(), 2);
    for (const Case& c : cases) {
        EXPECT_NE(templates.Build(c.rows, nBadRow), nullptr) << c.pszWhat;
        EXPECT_EQ(templates.GetCount(), 0) << c.pszWhat << ": nothing is kept";
    }

    // The file: a line that is not a row of 18 small numbers refuses it all.
    for (const char* pszLine : {"1,1,0,0,1,0,4,5,1,255,0,0,0,17,3,5,5", "1,1,0,0,1,0,4,5,1,255,0,0,0,17,3,5,5,x",
                                "1,1,0,0,1,0,4,5,1,256,0,0,0,17,3,5,5,2"}) {
        const std::string text = "1,1,0,0,1,0,4,5,1,255,0,0,0,17,3,5,5,2\n" + std::string(pszLine) + "\n";
        ASSERT_TRUE(plat::writeWholeFile("PlayOffs.txt", text.data(), text.size()));
        EXPECT_FALSE(templates.Load("PlayOffs.txt")) << pszLine;
        EXPECT_EQ(templates.Find(1, 1), nullptr);
    }
    const std::string good = "1,1,0,0,1,0,4,5,1,255,0,0,0,17,3,5,5,2\r\n";
    ASSERT_TRUE(plat::writeWholeFile("PlayOffs.txt", good.data(), good.size()));
    ASSERT_TRUE(templates.Load("PlayOffs.txt"));
    ASSERT_NE(templates.Find(1, 1), nullptr);
    EXPECT_EQ(templates.Find(1, 1)->GetEntrants(), 2);
    EXPECT_EQ(templates.Find(1, 0), nullptr);
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
