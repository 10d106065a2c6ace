// The events of a shown match: each event code's commentary, whistles,
// crowd sounds and crowd mood, and the incident lines of each incident kind,
// for a match of two clubs of the starting world set up by the engine.
#include "../humans/HumanWorld.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "matchday/CMatchEventHandler.h"
#include "matchday/CMatchEventOutput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes every call as a short word: C commentary, Q<category>+<delay>,
// P<category>, M<h|a><code> mood, R<h|a><code> reaction, L incident line.
class ListeningOutput : public CMatchEventOutput {
public:
    void AddToCommentary(const ITEMMATCHEVENTINFORMATION&) override { Add("C"); }
    void QueueCrowdSound(int nCategory, uint32_t dwDelay) override
    {
        Add("Q" + std::to_string(nCategory) + "+" + std::to_string(dwDelay));
    }
    void PlayCrowdSound(int nCategory) override { Add("P" + std::to_string(nCategory)); }
    void UpdateCrowdMood(CMatchClub* pClub, int nCode) override
    {
        Add(std::string("M") + (pClub->IsHome() ? "h" : "a") + std::to_string(nCode));
    }
    void PlayCrowdReaction(CMatchClub* pClub, int nCode) override
    {
        Add(std::string("R") + (pClub->IsHome() ? "h" : "a") + std::to_string(nCode));
    }
    void ShowIncident(const ITEMINCIDENTINFORMATION&) override { Add("L"); }

    std::string Take()
    {
        std::string s;
        s.swap(m_Calls);
        return s;
    }

private:
    void Add(const std::string& word) { m_Calls += (m_Calls.empty() ? "" : " ") + word; }
    std::string m_Calls;
};

class MatchEventHandling : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_pFolder = new CurrentFolder(BRELLOX_GAME_DIR);
        s_pWorld = humans_test::LoadStartingWorld().release();
    }
    static void TearDownTestSuite()
    {
        delete s_pWorld;
        s_pWorld = nullptr;
        delete s_pFolder;
        s_pFolder = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(s_pWorld, nullptr) << "the generated starting world did not load";
        ITEMMATCHRULESINFORMATION rules;
        rules.abyRules[2] = 5;
        const uint32_t dwSeed = 5;
        ASSERT_TRUE(m_Engine.StartGame(*s_pWorld, 1, 2, 0, rules, 0, &dwSeed));
        m_Engine.SetEventReceiver(&m_Handler);
    }
    void TearDown() override { m_Engine.EndGame(); }

    CMatchPlayer* Home(int nSquad) const { return m_Engine.GetHomeClub()->GetPlayerBySquadIndex(nSquad); }
    CMatchPlayer* Away(int nSquad) const { return m_Engine.GetAwayClub()->GetPlayerBySquadIndex(nSquad); }
    // Who a case names: h<n> and a<n> a home or away player by squad index,
    // "-" nobody.
    CMatchPerson* Person(const char* psz) const
    {
        if (psz[0] == '-')
            return nullptr;
        const int n = std::stoi(psz + 1);
        return psz[0] == 'h' ? Home(n) : Away(n);
    }
    // Fills the engine's one record and sends it, as the actors do.
    void Send(uint8_t byEvent, uint8_t byDetail, CMatchPerson* pActor, CMatchPerson* pSecond, uint32_t dwGameTime,
              bool bIncident)
    {
        ITEMMATCHEVENTINFORMATION& event = m_Engine.GetEventRecord();
        event = ITEMMATCHEVENTINFORMATION{};
        event.pPerson = pActor;
        event.pSecondPerson = pSecond;
        event.dwGameTime = dwGameTime;
        event.byEvent = byEvent;
        event.byDetail = byDetail;
        if (bIncident)
            m_Engine.SendIncident();
        else
            m_Engine.SendMatchEvent();
    }

    static CurrentFolder* s_pFolder;
    static CDatabaseHandler* s_pWorld;
    CMatchEngine m_Engine;
    ListeningOutput m_Output;
    CMatchEventHandler m_Handler{m_Output};
};

CurrentFolder* MatchEventHandling::s_pFolder = nullptr;
CDatabaseHandler* MatchEventHandling::s_pWorld = nullptr;

TEST_F(MatchEventHandling, EachEventCodeGivesItsCommentaryWhistlesCrowdSoundsAndMood)
{
    struct Case {
        uint8_t byCode, byDetail;
        const char* pszActor;
        const char* pszSecond;
        const char* pszCalls;
    } cases[] = {
        {0, 1, "-", "-", "C Q8+0"},
        {1, 0, "-", "-", "C Q19+0"},
        {2, 3, "-", "-", "C Q7+0"},
        {3, 0, "h1", "-", ""},
        {4, 2, "-", "-", "P21 C Q13+0"},
        {5, 1, "a2", "-", "C Ra5"},
        {5, 1, "-", "-", "C"},
        {6, 0, "h4", "-", "C Q10+0"},
        {7, 0, "a5", "h6", "Ma7 P22 C Q0+0"},
        {12, 0, "h5", "-", "Mh12 P22 C Q0+0"},
        {8, 5, "-", "-", "C Q3+0"},
        {8, 0, "-", "-", "C Q2+0"},
        {9, 0, "h2", "-", "P22 Rh9 C"},
        {9, 5, "h2", "-", "Rh9 C"},
        {16, 2, "a2", "-", "Ra16 C"},
        {16, 3, "-", "-", "P22 C"},
        {10, 0, "-", "-", "P23 C Q11+0"},
        {24, 0, "a3", "-", "P23 C Q11+0"},
        {11, 0, "a1", "-", "P22 C Q2+0"},
        {13, 2, "h9", "-", "P21 Q6+0 Mh13 C"},
        {14, 0, "h9", "-", "C Q6+0 Mh14"},
        {14, 4, "h9", "-", "C"},
        {14, 3, "a9", "-", "C Q9+0 Ma21"},
        {15, 2, "-", "-", "C Q8+0"},
        {17, 1, "h3", "a7", "P22 Ma17 Q17+0 C"},
        {17, 1, "a3", "-", "P22 C"},
        {17, 4, "a8", "-", "P22 Q6+0 C"},
        {17, 8, "h8", "-", "P22 Q9+0 C"},
        {17, 2, "h8", "-", "P22 C"},
        {18, 1, "h8", "-", "P22 C Q1+0"},
        {19, 0, "-", "-", "C Q20+0"},
        {20, 0, "h9", "-", "C Q18+0"},
        {20, 0, "a9", "-", "C Q17+0"},
        {21, 0, "a9", "-", "C Q6+0 Ma21"},
        {21, 1, "h9", "-", "C Q9+0 Mh21"},
        {22, 0, "a2", "-", "P23 C Ra22"},
        {23, 0, "h10", "-", "P22 C Q11+0 Mh23"},
        {25, 1, "a6", "-", "Ma25 C Q3+0"},
        {26, 2, "h6", "-", "Mh26 C Q3+0"},
        {27, 2, "h6", "-", "C Rh27"},
        {28, 0, "a0", "-", "C Q2+0"},
        {29, 2, "a9", "-", "P21 Q12+0 C"},
        {29, 4, "a9", "-", "P21 Q6+0 Ma29 C"},
        {29, 4, "-", "-", "P21 C"},
        {30, 0, "h12", "h7", "C Q7+3000 Q14+20000"},
        {30, 3, "h12", "h7", "C Q17+3000 Q14+20000"},
        {31, 0, "a4", "-", "C Q10+0"},
        {32, 2, "-", "-", "C Q7+0"},
        {33, 0, "-", "-", ""},
        {34, 3, "-", "-", "C Q11+0"},
        {35, 0, "h1", "-", ""},
        {255, 0, "h1", "-", ""},
    };
    for (const Case& c : cases) {
        Send(c.byCode, c.byDetail, Person(c.pszActor), Person(c.pszSecond), 600000, false);
        EXPECT_EQ(m_Output.Take(), c.pszCalls) << "code " << int(c.byCode) << " detail " << int(c.byDetail)
                                                << " actor " << c.pszActor;
    }
    EXPECT_TRUE(m_Handler.GetIncidents().empty()) << "events are not incidents";
}

TEST_F(MatchEventHandling, IncidentsBecomeLinesOfTheirSidesList)
{
    struct Line {
        const char* pszPlayer;
        int nMinute, nKind, nHome;
    };
    struct Case {
        const char* pszName;
        uint8_t byKind;
        const char* pszActor;
        const char* pszSecond;
        uint32_t dwGameTime;
        std::vector<Line> lines;
    } cases[] = {
        {"home goal at the kick-off", INCIDENT_GOAL, "h9", "-", 0, {{"h9", 1, 2, 1}}},
        {"a millisecond before 90:00", INCIDENT_BOOKING, "a4", "-", 5399999, {{"a4", 90, 0, 0}}},
        {"at 90:00 exactly", INCIDENT_SENDING_OFF, "a4", "-", 5400000, {{"a4", 91, 1, 0}}},
        {"own goal of a home player", INCIDENT_OWN_GOAL, "h3", "-", 2400000, {{"h3", 41, 3, 0}}},
        {"own goal of an away player", INCIDENT_OWN_GOAL, "a3", "-", 60000, {{"a3", 2, 3, 1}}},
        {"substitution", INCIDENT_SUBSTITUTION, "h12", "h7", 3600000, {{"h12", 61, 6, 1}, {"h7", 61, 7, 1}}},
        {"substitution without the player going off", INCIDENT_SUBSTITUTION, "a12", "-", 3600000, {}},
        {"injured and replaced", INCIDENT_INJURED, "a5", "a13", 1000, {{"a5", 1, 5, 0}, {"a13", 1, 7, 0}}},
        {"injured", INCIDENT_INJURED, "a5", "-", 1000, {{"a5", 1, 5, 0}}},
        {"penalty missed", INCIDENT_PENALTY_MISSED, "h10", "-", 4500000, {{"h10", 76, 9, 1}}},
        {"no actor", INCIDENT_GOAL, "-", "-", 0, {}},
        {"kind beyond the list", INCIDENT_KIND_COUNT, "h9", "-", 0, {}},
    };
    size_t nBefore = 0;
    for (const Case& c : cases) {
        Send(c.byKind, 0, Person(c.pszActor), Person(c.pszSecond), c.dwGameTime, true);
        const auto& incidents = m_Handler.GetIncidents();
        ASSERT_EQ(incidents.size() - nBefore, c.lines.size()) << c.pszName;
        std::string shown;
        for (size_t i = 0; i < c.lines.size(); ++i) {
            const ITEMINCIDENTINFORMATION& got = incidents[nBefore + i];
            const Line& want = c.lines[i];
            EXPECT_EQ(got.pPlayer, static_cast<CMatchPlayer*>(Person(want.pszPlayer))->GetRecord()) << c.pszName;
            EXPECT_EQ(got.byMinute, want.nMinute) << c.pszName;
            EXPECT_EQ(got.byKind, want.nKind) << c.pszName;
            EXPECT_EQ(got.byHomeSide, want.nHome) << c.pszName;
            shown += shown.empty() ? "L" : " L";
        }
        EXPECT_EQ(m_Output.Take(), shown) << c.pszName << ": each line is shown as it comes";
        nBefore = incidents.size();
    }
}

}  // namespace
