// The physio: where the referee's injury stoppage sends him, the side of the
// patient he treats from, when he starts treating, when he goes back out of
// the update, and a whole stoppage walked and played through by his model.
#include "RestartsFixture.h"

#include "match/actors/CMatchPhysio.h"
#include "render3d/CObjectData.h"

#include <cmath>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

class PhysioTest : public RestartsFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Start(0));
        m_pReferee->OnRestartTaken();  // the first kick-off: open play
        m_pPhysio = m_Engine.GetPhysio();
        ASSERT_NE(m_pPhysio, nullptr);
        m_pPatient = m_pHome->GetSlot(6);
        m_pPatient->SetPosition(CVector(4000, 3000, 0));
        m_pPatient->SetFacing(0.0f);  // along +y
    }
    // The referee stops play for the patient.
    void Injure()
    {
        m_pPatient->SetInjured(true);
        m_pReferee->SetInjuredPlayer(m_pPatient);
        m_pReferee->UpdateMatchState();
    }
    // Nobody but the patient near where the physio treats.
    void ClearAround(const CVector& point)
    {
        for (CMatchClub* pClub : {m_pHome, m_pAway})
            for (int i = 0; i < pClub->GetOnPitchCount(); ++i)
                if (CMatchPlayer* p = pClub->GetSlot(i); p != m_pPatient && p->GetPosition().SquaredDistance2D(point) < 1000000)
                    p->SetPosition(CVector(point.x + 1200 + i * 60, point.y + 1500, 0));
        m_pReferee->SetPosition(CVector(point.x - 1500, point.y, 0));
    }

    CMatchPhysio* m_pPhysio = nullptr;
    CMatchPlayer* m_pPatient = nullptr;
};

TEST_F(PhysioTest, HeWaitsOutOfTheUpdateByTheTouchLineUntilTheRefereeSendsHim)
{
    EXPECT_FALSE(m_pPhysio->IsActive());
    EXPECT_EQ(m_pPhysio->GetPersonType(), PERSONTYPE_PHYSIO);
    EXPECT_EQ(m_pPhysio->GetPosition(), CMatchEngine::kPhysioPoint);
    EXPECT_EQ(m_pPhysio->GetBasePosition(), CMatchEngine::kPhysioPoint);
    EXPECT_EQ(m_pPhysio->GetColour(), CMatchPhysio::kDebugColour);

    ClearAround(m_pPatient->GetPosition());
    Injure();
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_INJURY);
    EXPECT_TRUE(m_pPhysio->IsActive());
    EXPECT_EQ(m_pPhysio->GetPatient(), m_pPatient);
    EXPECT_TRUE(m_pPatient->IsHeldForReferee());
    // From the pitch he heads straight for the patient's right, 50 away.
    m_pPhysio->SetPosition(CVector(4000, 2000, 0));
    m_pPhysio->GoToPerson(m_pPatient);
    EXPECT_EQ(m_pPhysio->GetTarget(), CVector(4050, 3000, 0));
}

TEST_F(PhysioTest, EachDecisionHeadsForAFreeSideOfThePatient)
{
    ClearAround(m_pPatient->GetPosition());
    m_pPhysio->GoToPerson(m_pPatient);
    m_pPhysio->SetPosition(CVector(4000, 2000, 0));
    struct Case {
        const char* pszName;
        bool bSomebodyRight;
        CVector target;
    } cases[] = {{"right side free", false, {4100, 3000, 0}}, {"right side taken", true, {3900, 3000, 0}}};
    CMatchPlayer* pOther = m_pAway->GetSlot(7);
    for (const Case& c : cases) {
        pOther->SetPosition(c.bSomebodyRight ? CVector(4120, 3030, 0) : CVector(6000, 6000, 0));
        m_pPhysio->MakeDecision();
        EXPECT_EQ(m_pPhysio->GetTarget(), c.target) << c.pszName;
        EXPECT_NE(m_pPhysio->GetAction(), ACTION_SIGNALLING) << c.pszName << ": still far off";
    }
}

TEST_F(PhysioTest, HeTreatsOnlyOnceHeStandsThereFacingThePatient)
{
    ClearAround(m_pPatient->GetPosition());
    m_pPhysio->GoToPerson(m_pPatient);
    const CVector side(4100, 3000, 0);
    const float fToPatient = float(side.GetAngleTo(m_pPatient->GetPosition()));  // -pi/2
    struct Case {
        const char* pszName;
        CVector at;
        float fFacing;
        bool bTreats;
    } cases[] = {
        {"facing him", side + CVector(10, 20, 0), fToPatient, true},
        {"just inside the eighth turn", side, fToPatient + float(kPi / 4) - 0.01f, true},
        {"just outside it", side, fToPatient - float(kPi / 4) - 0.01f, false},
        {"facing away", side, fToPatient + float(kPi), false},
        {"70 short of the place", side + CVector(0, 70, 0), fToPatient, false},
    };
    for (const Case& c : cases) {
        m_pPhysio->SetAction(ACTION_NOTHING);
        m_pPhysio->SetPosition(c.at);
        m_pPhysio->SetFacing(c.fFacing);
        m_pPhysio->MakeDecision();
        EXPECT_EQ(m_pPhysio->GetAction() == ACTION_SIGNALLING, c.bTreats) << c.pszName;
    }
    // The next decision ends the treatment: the patient may get up, the
    // match screen hears it, and the physio heads back.
    m_pPhysio->SetPosition(side);
    m_pPhysio->SetFacing(fToPatient);
    m_pPhysio->MakeDecision();
    ASSERT_EQ(m_pPhysio->GetAction(), ACTION_SIGNALLING);
    m_Recorder.events.clear();
    m_pPatient->SetHeldForReferee(true);
    m_pPhysio->MakeDecision();
    EXPECT_FALSE(m_pPatient->IsHeldForReferee());
    EXPECT_EQ(m_pPhysio->GetPatient(), nullptr);
    EXPECT_EQ(m_pPhysio->GetAction(), ACTION_NOTHING);
    // Back towards his place (by the way out of the pitch).
    EXPECT_LT(m_pPhysio->GetTarget().SquaredDistance2D(CMatchEngine::kPhysioPoint),
              side.SquaredDistance2D(CMatchEngine::kPhysioPoint));
    ASSERT_EQ(m_Recorder.Count(31, 0), 1);
    EXPECT_EQ(m_Recorder.events.back().pPerson, m_pPatient);
}

TEST_F(PhysioTest, BackAtHisPlaceHeLeavesTheUpdate)
{
    struct Case {
        CVector offset;
        bool bActive;
    } cases[] = {{{69, 11, 0}, false}, {{70, 0, 0}, true}, {{0, 0, 0}, false}, {{-40, -57, 0}, false}};
    for (const Case& c : cases) {
        m_pPhysio->SetActive(true);
        m_pPhysio->SetPosition(CMatchEngine::kPhysioPoint + c.offset);
        m_pPhysio->MakeDecision();
        EXPECT_EQ(m_pPhysio->IsActive(), c.bActive) << c.offset.x << "," << c.offset.y;
        if (c.bActive)
            EXPECT_LT(m_pPhysio->GetTarget().SquaredDistance2D(CMatchEngine::kPhysioPoint), 70 * 70);
    }
}

TEST_F(PhysioTest, AnInjuryStoppageBringsHimOnToTreatAndPlayRestartsWhileHeWalksBack)
{
    // The physio walks by his own animations; the others stand where the
    // fixture puts them.
    CObjectData objects{10};
    const std::string meshes = std::string(BRELLOX_GAME_DIR) + "/MatchMeshes/";
    const uint16_t wMesh = objects.LoadSkinned((meshes + "PlayerX1.x").c_str(), 15);
    ASSERT_NE(wMesh, OBJECT_NOT_FOUND);
    CMatchPerson::LoadAnimations(objects, wMesh, meshes);
    m_pPhysio->SetupModel(wMesh);
    m_Engine.SetSprayCan(std::make_unique<MATCHPROP>());
    ClearAround(m_pPatient->GetPosition());
    Injure();

    auto tick = [&] {
        m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        m_pReferee->SetPosition(m_pReferee->GetTarget());
        m_Engine.PostTick();
    };
    bool bCanShown = false;
    int nTick = 0;
    for (; nTick < 3000 && m_pPhysio->GetAction() != ACTION_SIGNALLING; ++nTick)
        tick();
    ASSERT_EQ(m_pPhysio->GetAction(), ACTION_SIGNALLING) << "he never began treating; he is at "
                                                         << m_pPhysio->GetPosition().x << ","
                                                         << m_pPhysio->GetPosition().y;
    EXPECT_LT(m_pPhysio->GetPosition().SquaredDistance2D(m_pPatient->GetPosition()), 200 * 200);
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_INJURY) << "play went on while he was down";
    for (; nTick < 4000 && m_Engine.GetMatchEvent() == MATCHEVENT_INJURY; ++nTick) {
        tick();
        bCanShown = bCanShown || (m_Engine.GetSprayCan()->byFlags & 2);
    }
    EXPECT_TRUE(bCanShown) << "the spray can never showed in his hand";
    // Treated: the referee restarts with a free kick where the player lay.
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FREEKICK);
    EXPECT_EQ(m_pReferee->GetInjuredPlayer(), nullptr);
    EXPECT_FALSE(m_pPatient->IsHeldForReferee());
    EXPECT_EQ(m_Recorder.Count(31, 0), 1);
    for (; nTick < 8000 && m_pPhysio->IsActive(); ++nTick)
        tick();
    EXPECT_FALSE(m_pPhysio->IsActive()) << "he never got back; he is at " << m_pPhysio->GetPosition().x << ","
                                        << m_pPhysio->GetPosition().y;
    EXPECT_LT(m_pPhysio->GetPosition().SquaredDistance2D(CMatchEngine::kPhysioPoint), 70 * 70);
    EXPECT_FALSE(m_Engine.GetSprayCan()->byFlags & 2) << "the can stays in his hand";
}

}  // namespace
