// The crowd and the commentary of a shown match between two clubs of the
// starting world: the crowd's excitement and mood move with each event and
// its side, the background is set when the first crowd sound comes, each
// event's crowd sound is of its category, each event picks a commentary
// line of its kind with the names of the event filled in, and a whole match
// runs headless to its end with the sound off.
#include "../match/RestartsFixture.h"
#include "database/CPlayerDatabase.h"
#include "match/CCommentary.h"
#include "match/CCrowdSounds.h"
#include "matchday/CMatchCommentator.h"
#include "matchday/CMatchEventHandler.h"
#include "matchday/CMatchEventOutput.h"
#include "season/CGroundDatabase.h"
#include "sound/CSoundManager.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// What the match screen connects the event handling to: the commentator and
// the engine's crowd.
class EngineOutput : public CMatchEventOutput {
public:
    EngineOutput(CMatchEngine& engine, CMatchCommentator& commentator) : m_Engine(engine), m_Commentator(commentator) {}
    void AddToCommentary(const ITEMMATCHEVENTINFORMATION& event) override { m_Commentator.AddToCommentary(event); }
    void QueueCrowdSound(int nCategory, uint32_t dwDelay) override { m_Engine.QueueCrowdSound(nCategory, dwDelay); }
    void PlayCrowdSound(int nCategory) override { m_Engine.PlayCrowdSound(nCategory); }
    void UpdateCrowdMood(CMatchClub* pClub, int nCode) override { m_Engine.UpdateCrowdMood(pClub, nCode); }
    void PlayCrowdReaction(CMatchClub* pClub, int nCode) override { m_Engine.PlayCrowdReaction(pClub, nCode); }
    void ShowIncident(const ITEMINCIDENTINFORMATION&) override {}

private:
    CMatchEngine& m_Engine;
    CMatchCommentator& m_Commentator;
};

class MatchCrowdAndCommentary : public RestartsFixture {
protected:
    bool StartShown(uint8_t byVenue = 0, uint16_t wAmbient = 73)
    {
        if (!s_pWorld)
            return false;
        ITEMMATCHRULESINFORMATION rules;
        rules.abyRules[2] = 5;
        rules.byVenue = byVenue;
        const uint32_t dwSeed = 5;
        m_Engine.SetSoundVolumes(96, wAmbient);
        if (!m_Engine.StartGame(*s_pWorld, 1, 2, 1, rules, 0, &dwSeed))
            return false;
        m_Engine.SetEventReceiver(&m_Handler);
        m_pHome = m_Engine.GetHomeClub();
        m_pAway = m_Engine.GetAwayClub();
        return m_pHome && m_pAway;
    }
    CMatchPlayer* Home(int n) const { return m_pHome->GetPlayerBySquadIndex(n); }
    CMatchPlayer* Away(int n) const { return m_pAway->GetPlayerBySquadIndex(n); }
    // h<n> and a<n>: a home or away player by squad index; "-" nobody.
    CMatchPerson* Person(const char* psz) const
    {
        if (psz[0] == '-')
            return nullptr;
        const int n = std::stoi(psz + 1);
        return psz[0] == 'h' ? Home(n) : Away(n);
    }
    CMatchClub* Club(char c) const { return c == 'h' ? m_pHome : m_pAway; }
    void Send(uint8_t byEvent, uint8_t byDetail, const char* pszActor, const char* pszSecond = "-")
    {
        ITEMMATCHEVENTINFORMATION& event = m_Engine.GetEventRecord();
        event = ITEMMATCHEVENTINFORMATION{};
        event.pPerson = Person(pszActor);
        event.pSecondPerson = Person(pszSecond);
        event.dwGameTime = m_Engine.GetMatchTime();
        event.byEvent = byEvent;
        event.byDetail = byDetail;
        m_Engine.SendMatchEvent();
    }
    static std::string Surname(const CMatchPerson* p)
    {
        return CMatchEventHandler::GetPlayerOfPerson(p)->GetLastName();
    }
    std::string State() const
    {
        return std::to_string(m_Engine.GetCrowdExcitement()) + std::to_string(m_Engine.GetCrowdMood());
    }
    // Every sound id the category may give.
    std::set<uint16_t> SamplesOf(int nCategory) const
    {
        std::set<uint16_t> ids;
        for (int i = 0; i < 300; ++i)
            ids.insert(m_Engine.GetCrowdSounds()->GetRandomSample(nCategory));
        return ids;
    }
    uint32_t RingCount() { return m_Engine.GetCrowdSoundRing()->GetCount(); }

    CMatchCommentator m_Commentator{m_Engine};
    EngineOutput m_Output{m_Engine, m_Commentator};
    CMatchEventHandler m_Handler{m_Output};
};

TEST_F(MatchCrowdAndCommentary, TheCrowdsMoodRisesForTheHomeSideAndFallsForTheAway)
{
    ASSERT_TRUE(StartShown());
    ASSERT_NE(m_Engine.GetCrowdSounds(), nullptr);
    ASSERT_TRUE(m_Engine.IsHomeGround());
    struct Case {
        const char* pszName;
        char cClub;
        int nCode;
        const char* pszBefore;  // excitement and mood
        const char* pszAfter;
    } cases[] = {
        {"home goal", 'h', 13, "11", "22"},
        {"home goal to a quiet crowd", 'h', 13, "01", "11"},
        {"home goal by the ball", 'h', 29, "10", "22"},
        {"away goal", 'a', 13, "22", "10"},
        {"away goal to a quiet crowd", 'a', 29, "02", "00"},
        {"home side's card for the other", 'h', 7, "11", "21"},
        {"home side's card when excited", 'h', 17, "20", "22"},
        {"away side's card", 'a', 7, "21", "11"},
        {"away side's card to a quiet crowd", 'a', 17, "02", "00"},
        {"away miss", 'a', 21, "12", "11"},
        {"away miss to a sullen crowd", 'a', 21, "10", "10"},
        {"home miss when excited", 'h', 21, "20", "21"},
        {"home miss to a quiet crowd", 'h', 21, "01", "02"},
        {"home miss to a quiet, hopeful crowd", 'h', 21, "02", "11"},
        {"home miss at ease", 'h', 21, "12", "12"},
        {"home corner", 'h', 23, "11", "20"},
        {"home corner when excited", 'h', 23, "21", "21"},
        {"home corner to a happy crowd", 'h', 25, "12", "12"},
        {"away corner", 'a', 23, "11", "11"},
        {"an event without a rule", 'h', 9, "22", "22"},
    };
    for (const Case& c : cases) {
        m_Engine.SetCrowdState(uint32_t(c.pszBefore[0] - '0'), uint32_t(c.pszBefore[1] - '0'));
        m_Engine.UpdateCrowdMood(Club(c.cClub), c.nCode);
        EXPECT_EQ(State(), c.pszAfter) << c.pszName;
    }
}

TEST_F(MatchCrowdAndCommentary, ExcitementDecaysWhileTheAwaySidePresses)
{
    ASSERT_TRUE(StartShown());
    m_Engine.SetCrowdState(2, 2);
    std::vector<std::string> states;
    for (int i = 0; i < 4; ++i) {
        m_Engine.UpdateCrowdMood(m_pAway, 7);
        states.push_back(State());
    }
    EXPECT_EQ(states, (std::vector<std::string>{"12", "02", "00", "00"}));
}

TEST_F(MatchCrowdAndCommentary, AtANeutralGroundEveryClubsGoalLiftsTheCrowd)
{
    ASSERT_TRUE(StartShown(2));
    ASSERT_FALSE(m_Engine.IsHomeGround()) << "the home country has no national ground";
    for (char cClub : {'h', 'a'}) {
        m_Engine.SetCrowdState(1, 0);
        m_Engine.UpdateCrowdMood(Club(cClub), 13);
        EXPECT_EQ(State(), "22") << cClub;
    }
}

TEST_F(MatchCrowdAndCommentary, TheFirstCrowdSoundSetsTheBackgroundAndAHappyCrowdSchedulesFifteen)
{
    ASSERT_TRUE(StartShown());
    m_Engine.SetHomeCrowdFavoured(true);
    ASSERT_EQ(RingCount(), 0u);
    // Level at the start, at home, favoured: an excited, happy crowd with
    // fifteen background samples, then the sound itself.
    ASSERT_TRUE(m_Engine.QueueCrowdSound(CROWDSOUND_START, 0));
    EXPECT_EQ(State(), "22");
    EXPECT_EQ(RingCount(), 16u);
    // Within the same five minutes no new background.
    ASSERT_TRUE(m_Engine.QueueCrowdSound(CROWDSOUND_GOAL, 500));
    EXPECT_EQ(RingCount(), 17u);
    EXPECT_EQ(m_Engine.GetCrowdSoundRing()->GetLatest()->pRecord->dwDelayOrHandle, 500u);
    // A category without samples gives nothing and records nothing.
    EXPECT_FALSE(m_Engine.QueueCrowdSound(CROWDSOUND_COUNT, 0));
    EXPECT_EQ(RingCount(), 17u);
}

TEST_F(MatchCrowdAndCommentary, EachEventQueuesACrowdSoundOfItsCategory)
{
    ASSERT_TRUE(StartShown());
    struct Case {
        uint8_t byCode, byDetail;
        const char* pszActor;
        int nCategory;
        uint32_t dwDelay;
    } cases[] = {
        {0, 0, "-", CROWDSOUND_ANNOUNCEMENTS, 0}, {1, 0, "-", CROWDSOUND_START, 0},
        {4, 0, "-", CROWDSOUND_HALFTIME, 0},      {6, 0, "a4", CROWDSOUND_CROWDANGRY, 0},
        {8, 5, "-", CROWDSOUND_CHANTS, 0},        {10, 0, "-", CROWDSOUND_CROWDNOISE, 0},
        {18, 1, "h8", CROWDSOUND_DECISIONS, 0},   {19, 0, "-", CROWDSOUND_FINISH, 0},
        {20, 0, "h9", CROWDSOUND_SCORER, 0},      {20, 0, "a9", CROWDSOUND_CROWDUNHAPPY, 0},
        {28, 0, "a0", CROWDSOUND_BREAKDOWN, 0},   {29, 2, "a9", CROWDSOUND_DISALLOWED, 0},
        {30, 0, "h12", CROWDSOUND_SUBSTITUTION, 20000},
    };
    for (const Case& c : cases) {
        Send(c.byCode, c.byDetail, c.pszActor, c.byCode == 30 ? "h7" : "-");
        const CROWDSOUNDRECORD& latest = *m_Engine.GetCrowdSoundRing()->GetLatest()->pRecord;
        EXPECT_EQ(SamplesOf(c.nCategory).count(latest.wSampleID), 1u) << "code " << int(c.byCode);
        EXPECT_EQ(latest.dwDelayOrHandle, c.dwDelay) << "code " << int(c.byCode);
    }
}

TEST_F(MatchCrowdAndCommentary, WithoutCrowdSoundsNoEventMovesOrRecordsTheCrowd)
{
    ASSERT_TRUE(StartShown(0, 0));
    EXPECT_EQ(m_Engine.GetCrowdSounds(), nullptr);
    Send(13, 2, "h9");
    Send(7, 0, "a5");
    Send(27, 2, "h6");
    Send(19, 0, "-");
    EXPECT_EQ(State(), "11");
    EXPECT_EQ(RingCount(), 0u);
}

TEST_F(MatchCrowdAndCommentary, EachEventPicksACommentaryLineWithItsNames)
{
    ASSERT_TRUE(StartShown());
    ASSERT_NE(m_Engine.GetCommentary(), nullptr);
    ASSERT_TRUE(m_Engine.IsCommentaryOn());
    const std::string home = m_pHome->GetRecord()->GetName();
    const std::string away = m_pAway->GetRecord()->GetName();
    const std::string ground = m_Engine.GetGround()->GetName();
    struct Case {
        uint8_t byCode, byDetail;
        const char* pszActor;
        const char* pszSecond;
        std::vector<std::string> words;
    } cases[] = {
        {0, 0, "-", "-", {ground, home, away}},
        {6, 1, "a4", "-", {Surname(Away(4))}},
        {7, 0, "h5", "-", {Surname(Home(5))}},
        {17, 1, "h9", "a0", {Surname(Home(9)), Surname(m_pAway->GetSlot(0))}},
        {19, 1, "-", "-", {home, "0-0"}},
        {20, 2, "a9", "-", {Surname(Away(9)), away, "0-0"}},
        {30, 0, "h12", "h7", {home, Surname(Home(12)), Surname(Home(7))}},
        {15, 9, "-", "-", {home, away, "0-0"}},  // a detail beyond the types: the first type
    };
    for (const Case& c : cases) {
        for (int nTimes = 0; nTimes < 3; ++nTimes) {
            const size_t nBefore = m_Commentator.GetLines().size();
            Send(c.byCode, c.byDetail, c.pszActor, c.pszSecond);
            ASSERT_EQ(m_Commentator.GetLines().size(), nBefore + 1) << "code " << int(c.byCode);
            const std::string& text = m_Commentator.GetLines().back().Text;
            for (const std::string& word : c.words)
                EXPECT_NE(text.find(word), std::string::npos) << "code " << int(c.byCode) << ": " << text;
            EXPECT_EQ(text.find("%s"), std::string::npos) << text;
        }
    }
    // An event the table has no line for adds none.
    const size_t nBefore = m_Commentator.GetLines().size();
    Send(3, 0, "h1");
    EXPECT_EQ(m_Commentator.GetLines().size(), nBefore);
}

TEST(MatchCommentatorText, FieldsAreFilledInOrder)
{
    struct Case {
        const char* pszText;
        std::vector<std::string> insertions;
        const char* pszExpected;
    } cases[] = {
        {" %s  scores", {"Tarrow"}, " Tarrow  scores"},
        {"%s beats %s now", {"Tarrow", "Obi"}, "Tarrow beats Obi now"},
        {"%s and %s ", {"one"}, "one and  "},
        {"100%% effort", {}, "100% effort"},
        {"no fields", {"unused"}, "no fields"},
        {"a stray %d and a last %", {}, "a stray %d and a last %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMatchCommentator::FormatText(c.pszText, c.insertions), c.pszExpected) << c.pszText;
}

TEST_F(MatchCrowdAndCommentary, AWholeMatchRunsToItsEndWithTheSoundOff)
{
    ASSERT_TRUE(Start(0));
    m_Engine.SetEventReceiver(&m_Handler);
    m_Engine.ChangeSpeedFactor(10.0f);
    ASSERT_FALSE(m_Engine.IsSoundOn());
    for (int i = 0; i < 200000 && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++i)
        Tick();
    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME);
    // The crowd was recorded for the replay though nothing was heard, and
    // the commentary followed the match to its end.
    EXPECT_GT(RingCount(), 0u);
    ASSERT_FALSE(m_Commentator.GetLines().empty());
    EXPECT_GE(m_Commentator.GetLines().back().byMinute, 90);
    uint8_t byHome = 0, byAway = 0;
    m_Engine.GetScore(byHome, byAway);
    const std::string score = std::to_string(byHome) + "-" + std::to_string(byAway);
    EXPECT_NE(m_Commentator.GetLines().back().Text.find(score), std::string::npos)
        << m_Commentator.GetLines().back().Text;
}

}  // namespace
