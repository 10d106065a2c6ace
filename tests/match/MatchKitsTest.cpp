// The kits of a match: which kit the away side wears, the goalkeepers'
// shirts against both sides and the referee, the colour records that paint
// a kit mask, the kit textures with each player's number, and a match with a
// 3-D device that dresses everyone and still plays to its end.
#include "AnimatedMatchFixture.h"
#include "RestartsFixture.h"

#include "database/CDivisionDatabase.h"
#include "match/MatchKits.h"
#include "match/actors/CMatchAssistantReferee.h"
#include "match/actors/CMatchPhysio.h"
#include "platform/Surface.h"
#include "render3d/C3DEngine.h"
#include "render3d/CTextureManager.h"
#include "render3d/RenderTypes.h"
#include "render3d/CModel.h"
#include "shell/CFileManager.h"
#include "shell/CGame.h"
#include "xframework/CXSurface.h"

#include <cstdlib>
#include <string>

namespace {

// Kit colour table entries by index.
enum : uint8_t { RED = 0, WHITE = 1, BLUE = 2, LIGHT_BLUE = 3, NAVY = 4, YELLOW = 5, GREEN = 6, BLACK = 7,
                 ORANGE = 8, AMBER = 10, DARK_RED = 11, GREY = 13 };

void SetKits(CClubDatabase& club, uint8_t byHome, uint8_t byHomeSecond, uint8_t byAway, uint8_t byAwaySecond)
{
    club.m_abyAttributes[0] = byHome;
    club.m_abyAttributes[1] = byHomeSecond;
    club.m_abyAttributes[2] = byAway;
    club.m_abyAttributes[3] = byAwaySecond;
}

int Channel(uint32_t dwColour, int nShift) { return int((dwColour >> nShift) & 0xFF); }

// The largest channel difference of two 0xRRGGBB colours.
int ColourGap(uint32_t dwFirst, uint32_t dwSecond)
{
    int nGap = 0;
    for (int nShift : {16, 8, 0})
        nGap = std::max(nGap, std::abs(Channel(dwFirst, nShift) - Channel(dwSecond, nShift)));
    return nGap;
}

TEST(MatchKitsTest, TheAwaySideChangesOnlyWhenTheShirtsClash)
{
    struct Case {
        uint8_t abyHome[2], abyAwayHome[2], abyAwayAway[2];
        bool bChange;
        const char* pszWhat;
    } cases[] = {
        {{RED, WHITE}, {RED, WHITE}, {WHITE, RED}, true, "the same shirts"},
        {{ORANGE, WHITE}, {AMBER, BLACK}, {BLUE, WHITE}, true, "orange and amber, nearly equal"},
        {{BLUE, WHITE}, {LIGHT_BLUE, WHITE}, {YELLOW, BLACK}, true, "blue and light blue, nearly equal"},
        {{NAVY, WHITE}, {BLUE, WHITE}, {RED, BLACK}, true, "navy and blue"},
        {{RED, WHITE}, {BLUE, WHITE}, {RED, BLACK}, false, "red and blue"},
        {{WHITE, BLACK}, {BLACK, WHITE}, {WHITE, RED}, false, "white and black"},
        {{RED, WHITE}, {DARK_RED, WHITE}, {WHITE, BLACK}, false, "red and dark red lie far enough apart"},
        {{GREEN, WHITE}, {GREY, BLACK}, {YELLOW, BLACK}, false, "green and grey"},
    };
    for (const Case& c : cases) {
        CClubDatabase home, away;
        SetKits(home, c.abyHome[0], c.abyHome[1], 0, 0);
        SetKits(away, c.abyAwayHome[0], c.abyAwayHome[1], c.abyAwayAway[0], c.abyAwayAway[1]);
        const MATCHKITCHOICE choice = ChooseMatchKits(home, away);
        EXPECT_EQ(choice.bAwayChanges, c.bChange) << c.pszWhat;
        const MATCHKIT worn = GetClubKit(away, choice.bAwayChanges);
        EXPECT_EQ(worn.dwShirt, GetKitColourRGB(c.bChange ? c.abyAwayAway[0] : c.abyAwayHome[0])) << c.pszWhat;
        EXPECT_EQ(worn.dwSecond, GetKitColourRGB(c.bChange ? c.abyAwayAway[1] : c.abyAwayHome[1])) << c.pszWhat;
    }
}

TEST(MatchKitsTest, TheGoalkeeperShirtStandsApartFromBothClubsAndTheirBrightness)
{
    struct Case {
        uint32_t dwClub1, dwClub2;
        bool bFirst;
        int nChoice;
        const char* pszWhat;
    } cases[] = {
        // Sums: 0x0096FF 405, 0xC000FF 447, 0xFFA45B 510, 0xC1C843 460, 0x20A5DA 415.
        {0x000000, 0xFFFFFF, true, 2, "the brightest against black"},
        {0xFFFFFF, 0x000000, true, 0, "the darkest against white"},
        {0xFFFFFF, 0x000000, false, 2, "the reference is the second club's without the flag"},
        {0x000000, 0x0096FF, true, 2, "a club in the first candidate's colour"},
        {0xFFFFFF, 0x0A9FF0, true, 4, "within 20 on every channel of the first is passed over"},
        {0xFFFFFF, 0x1496FF, true, 0, "a red channel 20 away is no longer near"},
        {0x000000, 0xFFA45B, true, 3, "the brightest equals the second club's shirt"},
        {0xC1C843, 0x0096FF, false, 2, "both clubs in candidates' colours"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseGoalkeeperColour(c.dwClub1, c.dwClub2, c.bFirst), c.nChoice) << c.pszWhat;
}

TEST(MatchKitsTest, TheColourRecordsFillTheirSlotsAndSkin)
{
    // The shift is the colour's hue, saturation and lightness less the
    // slot's reference; slots above 8 have no reference.
    float afShift[3];
    GetColourSlotShift(0x00FF00, 0, afShift);
    EXPECT_NEAR(afShift[0], 85.0f, 0.01f);
    EXPECT_FLOAT_EQ(afShift[1], 0.0f);
    EXPECT_NEAR(afShift[2], 127.5f - 173.0f, 0.01f);
    GetColourSlotShift(0xFFFFFF, 2, afShift);
    EXPECT_FLOAT_EQ(afShift[0], -213.0f);
    EXPECT_FLOAT_EQ(afShift[1], -255.0f);
    EXPECT_FLOAT_EQ(afShift[2], 5.0f);
    GetColourSlotShift(0xFFFFFF, 9, afShift);
    EXPECT_FLOAT_EQ(afShift[2], 255.0f);

    // Slot 3's three keys take one shift, truncated toward zero; an index
    // writes over entries and sets the count.
    ColourRecord record{};
    const float afThree[3] = {-10.9f, 20.7f, -0.5f};
    AddColourSlotEntries(afThree, 3, record);
    ASSERT_EQ(record.count, 3);
    const uint16_t awKeys[3][2] = {{49, 19}, {70, 12}, {84, 7}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(record.first[i], awKeys[i][0]);
        EXPECT_EQ(record.span[i], awKeys[i][1]);
        EXPECT_EQ(record.shift[i][0], -10);
        EXPECT_EQ(record.shift[i][1], 20);
        EXPECT_EQ(record.shift[i][2], 0);
    }
    const uint16_t wAt = 1;
    AddColourSlotEntries(afThree, 1, record, &wAt);
    EXPECT_EQ(record.count, 2);
    EXPECT_EQ(record.first[1], 108);

    struct Skin {
        uint8_t byTone;
        bool bBlack;
        int16_t anShift[3];
    } skins[] = {
        {0, false, {94, -73, 20}}, {1, false, {-165, 119, -25}}, {3, true, {0, -255, -63}},
        {4, false, {84, -112, 63}}, {4, true, {-178, -76, 0}},   {9, false, {-165, 119, -25}},
    };
    for (const Skin& s : skins) {
        record = ColourRecord{};
        AddSkinColourEntry(4, s.byTone, record, s.bBlack);
        EXPECT_EQ(record.count, 5) << int(s.byTone);
        EXPECT_EQ(record.first[4], 29);
        EXPECT_EQ(record.span[4], 18);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(record.shift[4][i], s.anShift[i]) << int(s.byTone) << " " << s.bBlack << " " << i;
    }
}

TEST(MatchKitsTest, MasksFollowPatternAndAppearance)
{
    const char *pszNormal = nullptr, *pszBlack = nullptr, *pszItalian = nullptr;
    GetKitMaskNames(3, &pszNormal, &pszBlack, &pszItalian);
    EXPECT_STREQ(pszNormal, "Mask_Verticle.bmp");
    EXPECT_STREQ(pszBlack, "Mask_Black_Verticle.bmp");
    EXPECT_STREQ(pszItalian, "Mask_Italian_Verticle.bmp");
    GetKitMaskNames(9, &pszNormal, nullptr, nullptr);
    EXPECT_STREQ(pszNormal, "Mask_Sleeves.bmp") << "an unknown pattern wears pattern 0's";

    MATCHKIT kit;
    kit.byPattern = 5;
    struct Case {
        uint8_t byAppearance;
        const char *pszOutfield, *pszGoalkeeper;
    } cases[] = {
        {0, "Mask_Half.bmp", "Master_Mask.bmp"},
        {1, "Mask_Italian_Half.bmp", "Master_Mask.bmp"},
        {3, "Mask_Black_Half.bmp", "Master_Black_Mask.bmp"},
        {4, "Mask_Black_Half.bmp", "Master_Black_Mask.bmp"},
        {5, "Mask_Italian_Half.bmp", "Master_Black_Mask.bmp"},
    };
    for (const Case& c : cases) {
        ColourRecord record{};
        EXPECT_STREQ(MakeOutfieldKit(kit, 4, c.byAppearance, record), c.pszOutfield);
        // Shirt, second colour, socks, shorts, trims, then the skin, Black
        // only for the Black masks.
        ASSERT_EQ(record.count, 2 + 3 + 1 + 1 + 1 + 1);
        const bool bBlack = c.byAppearance == 3 || c.byAppearance == 4;
        EXPECT_EQ(record.shift[8][0], bBlack ? -178 : 84) << int(c.byAppearance);
        record = ColourRecord{};
        EXPECT_STREQ(MakeGoalkeeperKit(2, 0xFFFFFF, 4, c.byAppearance, record), c.pszGoalkeeper);
        EXPECT_EQ(record.shift[record.count - 1][0], c.byAppearance >= 3 ? -178 : 84) << int(c.byAppearance);
    }
}

TEST(MatchKitsTest, TheSecondAssistantDiffersFromTheFirstOnlyInHisTrim)
{
    ColourRecord referee{}, second{};
    MakeRefereeKit(referee);
    MakeSecondAssistantKit(second);
    ASSERT_EQ(referee.count, second.count);
    const int nLast = referee.count - 1;
    for (int i = 0; i < nLast; ++i) {
        EXPECT_EQ(referee.first[i], second.first[i]) << i;
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(referee.shift[i][k], second.shift[i][k]) << i;
    }
    EXPECT_EQ(second.first[nLast], 248);
    float afCyan[3], afBlue[3];
    GetColourSlotShift(0x00FFFF, 8, afCyan);
    GetColourSlotShift(0x0000FF, 8, afBlue);
    EXPECT_EQ(referee.shift[nLast][0], int16_t(afCyan[0]));
    EXPECT_EQ(second.shift[nLast][0], int16_t(afBlue[0]));
}

TEST(MatchKitsTest, ShirtNumbersPickTheirDigitPictures)
{
    struct Case {
        int nNumber;
        const char *pszFirst, *pszSecond;
    } cases[] = {{7, "-7-.bmp", nullptr}, {0, "-0-.bmp", nullptr}, {23, "2-.bmp", "-3.bmp"},
                 {10, "1-.bmp", "-0.bmp"}, {99, "9-.bmp", "-9.bmp"}, {123, "2-.bmp", "-3.bmp"}};
    for (const Case& c : cases) {
        std::string asNames[2];
        ASSERT_EQ(GetShirtNumberPictures(c.nNumber, asNames), c.pszSecond ? 2 : 1) << c.nNumber;
        EXPECT_EQ(asNames[0], c.pszFirst);
        if (c.pszSecond)
            EXPECT_EQ(asNames[1], c.pszSecond);
    }
}

TEST(MatchKitsTest, CrowdRowsAndFill)
{
    EXPECT_FLOAT_EQ(GetCrowdFill(5000, 20000), 0.25f);
    EXPECT_FLOAT_EQ(GetCrowdFill(30000, 20000), 1.0f) << "never above full";
    EXPECT_FLOAT_EQ(GetCrowdFill(100, 0), 1.0f) << "no capacity figure is no division by zero";
    EXPECT_TRUE(IsHomeCrowdRow(6, true));
    EXPECT_FALSE(IsHomeCrowdRow(7, true));
    EXPECT_TRUE(IsHomeCrowdRow(3, false));
    EXPECT_FALSE(IsHomeCrowdRow(4, false));
}

// A match between two clubs of the starting world with a 3-D device, so
// that every person is given his model and kit.
class KitsMatchTest : public AnimatedMatchFixture {
protected:
    CTextureManager& Textures() { return *m_Engine.Get3DEngine()->GetTextureManager(); }
    // The colour of a texture's pixel as 0xRRGGBB.
    uint32_t Pixel(uint16_t wTexture, int x, int y)
    {
        const plat::Surface* pSurface = Textures().GetSurface(wTexture);
        EXPECT_NE(pSurface, nullptr);
        if (!pSurface)
            return 0;
        const plat::COLORREF cr = plat::pixelToColor(pSurface->pixel(x, y), pSurface->format());
        return SwapRedAndBlue(cr & 0xFFFFFF);
    }
    static bool SameSurface(const plat::Surface& a, const plat::Surface& b)
    {
        if (a.width() != b.width() || a.height() != b.height())
            return false;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    return false;
        return true;
    }
};

// Where the kit mask puts the shirt away from the number, the second
// colour's sleeves and the shorts.
constexpr int kShirtX = 48, kShirtY = 12, kSleeveY = 25, kShortsY = 30;

TEST_F(KitsMatchTest, EveryoneIsDressedAndTheKeepersStandApart)
{
    ASSERT_TRUE(Start(0, 31));
    const uint16_t wReferee = m_pReferee->GetKitTexture();
    ASSERT_NE(wReferee, NO_TEXTURE);
    EXPECT_EQ(m_pReferee->GetAssistant(0).GetKitTexture(), wReferee);
    ASSERT_NE(m_pReferee->GetAssistant(1).GetKitTexture(), NO_TEXTURE);
    EXPECT_NE(m_pReferee->GetAssistant(1).GetKitTexture(), wReferee);
    for (const CMatchPerson* p : {static_cast<const CMatchPerson*>(m_pReferee),
                                  static_cast<const CMatchPerson*>(&m_pReferee->GetAssistant(0)),
                                  static_cast<const CMatchPerson*>(&m_pReferee->GetAssistant(1))})
        EXPECT_NE(p->GetModel(), nullptr);
    const uint32_t dwReferee = Pixel(wReferee, kShirtX, kShirtY);

    uint32_t adwKeeper[2] = {}, adwOutfield[2] = {};
    for (int side = 0; side < 2; ++side) {
        CMatchClub* pClub = side ? m_pAway : m_pHome;
        const MATCHKIT worn = pClub->GetWornKit();
        for (int i = 0; i < pClub->GetSquadCount(); ++i) {
            const CMatchPlayer* p = pClub->GetSlot(i);
            ASSERT_NE(p, nullptr);
            ASSERT_NE(p->GetModel(), nullptr) << side << " " << i;
            const uint16_t wKit = p->GetKitTexture();
            ASSERT_NE(wKit, NO_TEXTURE) << side << " " << i;
            const uint32_t dwShirt = Pixel(wKit, kShirtX, kShirtY);
            if (pClub->WearsGoalkeeperKit(i)) {
                // The keeper wears the shirt chosen for him.
                EXPECT_LE(ColourGap(dwShirt, kGoalkeeperColours[pClub->GetGoalkeeperCandidate()]), 24) << side << i;
                adwKeeper[side] = dwShirt;
                continue;
            }
            // The worn kit's shirt, second colour on the sleeves, shorts.
            EXPECT_LE(ColourGap(dwShirt, worn.dwShirt), 24) << side << " " << i;
            EXPECT_LE(ColourGap(Pixel(wKit, kShirtX, kSleeveY), worn.dwSecond), 24) << side << " " << i;
            EXPECT_LE(ColourGap(Pixel(wKit, kShirtX, kShortsY), worn.dwFourth), 24) << side << " " << i;
            adwOutfield[side] = dwShirt;
        }
    }
    for (int side = 0; side < 2; ++side) {
        EXPECT_GE(ColourGap(adwKeeper[side], adwOutfield[0]), 20) << side;
        EXPECT_GE(ColourGap(adwKeeper[side], adwOutfield[1]), 20) << side;
        EXPECT_GE(ColourGap(adwKeeper[side], dwReferee), 20) << side;
    }
}

TEST_F(KitsMatchTest, ShadowsFollowTheirOwnersWhoAreHiddenBeyondTheNearTouchLine)
{
    ASSERT_TRUE(Start(0, 31));
    // The physio waits out of sight by the touch line, and so does his shadow.
    m_Engine.PrepareScene();
    const CMatchPerson* pPhysio = m_Engine.GetPhysio();
    ASSERT_NE(pPhysio, nullptr);
    ASSERT_NE(m_Engine.GetShadowMesh(pPhysio), nullptr);
    EXPECT_FALSE(pPhysio->GetModel()->IsVisible());
    EXPECT_FALSE(m_Engine.GetShadowMesh(pPhysio)->flags & MESH_VISIBLE);

    CMatchPlayer* p = m_pHome->GetSlot(5);
    ASSERT_NE(p, nullptr);
    for (const int32_t y : {-1450, -1449, 3000}) {
        p->SetPosition(CVector(4200, y, 0));
        m_Engine.PrepareScene();
        const ITEMMESHINFORMATION* pShadow = m_Engine.GetShadowMesh(p);
        ASSERT_NE(pShadow, nullptr);
        const bool bShown = y > -1450;
        EXPECT_EQ(p->GetModel()->IsVisible(), bShown) << y;
        EXPECT_EQ((pShadow->flags & MESH_VISIBLE) != 0, bShown) << y;
        ASSERT_NE(pShadow->pMatrix, nullptr);
        EXPECT_FLOAT_EQ(pShadow->pMatrix->m[3][0], 4200.0f) << y;
        EXPECT_FLOAT_EQ(pShadow->pMatrix->m[3][1], float(y)) << y;
    }
}

TEST_F(KitsMatchTest, EachPlayersTextureCarriesHisNumber)
{
    ASSERT_TRUE(Start(0, 31));
    int nTwoDigits = 0;
    for (CMatchClub* pClub : {m_pHome, m_pAway}) {
        const CDivisionDatabase* pDivision = pClub->GetRecord()->m_pDivision;
        const bool bSquadNumbers = pDivision && pDivision->m_bySquadNumbers;
        const MATCHKIT worn = pClub->GetWornKit();
        for (int i = 0; i < pClub->GetSquadCount(); ++i) {
            const CMatchPlayer* p = pClub->GetSlot(i);
            ASSERT_NE(p, nullptr);
            const CPlayerDatabase& record = *p->GetRecord();
            const int nNumber =
                bSquadNumbers && record.m_bySquadNumber ? record.m_bySquadNumber : p->GetSquadPosition() + 1;
            nTwoDigits += nNumber >= 10;
            // The same kit drawn afresh, bare and with the number's pictures.
            ColourRecord colours{};
            const char* pszMask =
                pClub->WearsGoalkeeperKit(i)
                    ? MakeGoalkeeperKit(pClub->GetGoalkeeperCandidate(), GetClubKit(*pClub->GetRecord(), false).dwSixth,
                                        record.m_byAppearanceVariant, record.m_byAppearanceType, colours)
                    : MakeOutfieldKit(worn, record.m_byAppearanceVariant, record.m_byAppearanceType, colours);
            const uint16_t wBare = LoadKitTexture(Textures(), pszMask, colours);
            const uint16_t wNumbered = LoadKitTexture(Textures(), pszMask, colours);
            const std::string tens = std::to_string(nNumber / 10), units = std::to_string(nNumber % 10);
            if (nNumber < 10) {
                Textures().ReplaceTexture(wNumbered, ("-" + units + "-.bmp").c_str(), nullptr);
            } else {
                Textures().ReplaceTexture(wNumbered, (tens + "-.bmp").c_str(), nullptr);
                Textures().ReplaceTexture(wNumbered, ("-" + units + ".bmp").c_str(), nullptr);
            }
            const plat::Surface* pKit = Textures().GetSurface(p->GetKitTexture());
            ASSERT_NE(pKit, nullptr);
            EXPECT_TRUE(SameSurface(*pKit, *Textures().GetSurface(wNumbered))) << "number " << nNumber;
            EXPECT_FALSE(SameSurface(*pKit, *Textures().GetSurface(wBare))) << "number " << nNumber << " not drawn";
        }
    }
    EXPECT_GT(nTwoDigits, 0) << "no two-digit number was tried";
}

TEST_F(KitsMatchTest, ADressedMatchPlaysToFullTime)
{
    ASSERT_TRUE(Start(0, 23));
    ASSERT_NE(m_pHome->GetSlot(5)->GetModel(), nullptr);
    // Whole ticks as the engine runs them with a 3-D view: the ball and
    // every model's animation, then the decision step.
    bool bFullTime = false;
    for (int i = 0; i < 250000 && !bFullTime; ++i) {
        m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        StandIn();
        m_Engine.PostTick();
        bFullTime = m_Engine.GetMatchEvent() == MATCHEVENT_FULLTIME;
    }
    EXPECT_TRUE(bFullTime)
        << "stalled at match time " << m_Engine.GetMatchTime() << ", period " << int(m_Engine.GetMatchPeriod());
}

// Nobody stands in: the taker walks to the ball and takes it, his kick
// animation strikes it at its contact frame, and the match runs on its own
// ticks to full time with both sides on the ball.
TEST_F(KitsMatchTest, FootballersPlayAWholeMatchThroughTheirAnimations)
{
    ASSERT_TRUE(Start(0, 23));
    int nHomeHeld = 0, nAwayHeld = 0;
    for (int i = 0; i < 100000 && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++i) {
        m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        m_Engine.PostTick();
        if (const CMatchPlayer* p = CMatchPlayer::AsFootballer(m_pBall->GetHolder()))
            ++(p->GetClub() == m_pHome ? nHomeHeld : nAwayHeld);
    }
    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME)
        << "stalled at match time " << m_Engine.GetMatchTime() << ", period " << int(m_Engine.GetMatchPeriod());
    EXPECT_GE(m_Engine.GetMatchTime(), 90u * 60u * 1000u);
    EXPECT_GT(nHomeHeld, 1000);
    EXPECT_GT(nAwayHeld, 1000);
    uint8_t byHomeShots = 0, byAwayShots = 0;
    m_Engine.GetShots(byHomeShots, byAwayShots);
    EXPECT_GT(byHomeShots + byAwayShots, 0);
}

// Whole matches through the animations end in goals: a ball over a line
// stops play and is restarted, a shot that beats the goalkeeper counts, and
// no ball lies out of play while the game goes on.
TEST_F(KitsMatchTest, WholeMatchesScoreGoalsAndLeaveNoBallOutInPlay)
{
    int nMatchesWithGoals = 0;
    for (uint32_t dwSeed : {23u, 31u, 5u}) {
        SCOPED_TRACE(dwSeed);
        ASSERT_TRUE(Start(0, dwSeed));
        int nOutTicks = 0, nLongestOut = 0;
        for (int i = 0; i < 100000 && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++i) {
            m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
            m_Engine.PostTick();
            const CVector& b = m_pBall->GetPosition();
            const bool bOut = b.x < -31 || b.x > PITCH_LENGTH + 31 || b.y < -31 || b.y > PITCH_WIDTH + 31;
            nOutTicks = bOut && m_Engine.GetMatchEvent() == MATCHEVENT_NONE ? nOutTicks + 1 : 0;
            nLongestOut = std::max(nLongestOut, nOutTicks);
        }
        ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME) << "stalled at match time " << m_Engine.GetMatchTime();
        // The referee takes a moment to whistle, never ten seconds.
        EXPECT_LT(nLongestOut, 10000 / int(MATCH_TICK_MS));
        uint8_t abyScore[2] = {}, abyOnTarget[2] = {};
        m_Engine.GetScore(abyScore[0], abyScore[1]);
        m_Engine.GetShotsOnTarget(abyOnTarget[0], abyOnTarget[1]);
        for (int side = 0; side < 2; ++side)
            EXPECT_LE(abyScore[side], abyOnTarget[side]) << "every goal is a shot on target";
        if (abyScore[0] + abyScore[1] > 0)
            ++nMatchesWithGoals;
        m_Engine.EndGame();
    }
    EXPECT_GE(nMatchesWithGoals, 2);
}

// A card given while the referee runs in open play is shown within a few
// seconds: his place there is rated by the ball, so he may never come to
// rest beside the offender, and the card must not wait for that.
TEST_F(KitsMatchTest, TheRefereeShowsACardEvenWhenHeCannotStopForIt)
{
    ASSERT_TRUE(Start(0, 5));
    auto running = [&] {
        return m_Engine.GetMatchEvent() == MATCHEVENT_NONE && m_Engine.GetMatchPeriod() == MATCHPERIOD_FIRSTHALF &&
               !CAnimationLibrary::IsStandingMoveType(m_pReferee->GetMoveType());
    };
    for (int i = 0; i < 3000 && !running(); ++i) {
        m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        m_Engine.PostTick();
    }
    ASSERT_TRUE(running()) << "the referee never ran in open play";
    CMatchPlayer* pOffender = m_pAway->GetSlot(5);
    m_pReferee->SetCause(CAUSE_TACKLE_FROM_BEHIND, pOffender, pOffender->GetPosition());
    m_pReferee->SetCardLevel(1);
    ASSERT_EQ(m_pReferee->GetCardLevel(), 1);
    const uint32_t dwGiven = m_Engine.GetEngineClock();
    while (m_pReferee->GetCardLevel() != 0 && m_Engine.GetEngineClock() - dwGiven < 4000) {
        m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        m_Engine.PostTick();
    }
    EXPECT_EQ(m_pReferee->GetCardLevel(), 0) << "still waiting to show the card";
    EXPECT_EQ(pOffender->GetYellowCards(), 1);
    EXPECT_EQ(m_Recorder.CountIncidents(0), 1) << "booking recorded";
}

TEST_F(KitsMatchTest, TheOverlayPicturesLiveWhileTheDeviceIsOn)
{
    ASSERT_TRUE(Start(0, 31));
    CFileManager archive;
    ASSERT_TRUE(archive.Open("GFX\\Main.BFS"));
    g_pMainArchive = &archive;
    m_Engine.Enable3DDevice();
    struct Case {
        int nWhich, nWidth, nHeight;
    } cases[] = {{CMatchEngine::OVERLAY_RADAR_PITCH, 104, 79}, {CMatchEngine::OVERLAY_RADAR_PITCH_BACK, 104, 79},
                 {CMatchEngine::OVERLAY_FULL_PITCH, 208, 154}, {CMatchEngine::OVERLAY_SCORE_BAR, 240, 22},
                 {CMatchEngine::OVERLAY_EVENT_BOX, 240, 36},   {CMatchEngine::OVERLAY_PENALTIES, 36, 12}};
    for (const Case& c : cases) {
        const CXSurface* pSurface = m_Engine.GetOverlayBitmap(c.nWhich);
        ASSERT_NE(pSurface, nullptr) << c.nWhich;
        ASSERT_NE(pSurface->GetSurface(), nullptr) << c.nWhich;
        EXPECT_EQ(pSurface->GetSurface()->width(), c.nWidth) << c.nWhich;
        EXPECT_EQ(pSurface->GetSurface()->height(), c.nHeight) << c.nWhich;
    }
    EXPECT_NE(m_Engine.GetOverlayBitmap(0), m_Engine.GetOverlayBitmap(1)) << "the radar keeps two pitches";
    // Rain for categories 1 and 2, snow for 4, nothing otherwise.
    const uint8_t byCategory = m_Engine.GetWeatherCategory();
    const bool bIcon = byCategory == 1 || byCategory == 2 || byCategory == 4;
    ASSERT_EQ(m_Engine.GetWeatherIcon() != nullptr, bIcon) << int(byCategory);
    if (bIcon)
        EXPECT_NE(m_Engine.GetWeatherIcon()->GetSurface(), nullptr);
    m_Engine.Disable3DDevice();
    for (int i = 0; i < CMatchEngine::OVERLAY_COUNT; ++i)
        EXPECT_EQ(m_Engine.GetOverlayBitmap(i), nullptr) << i;
    EXPECT_EQ(m_Engine.GetWeatherIcon(), nullptr);

    // Without the archive every picture is an empty surface, never a crash.
    g_pMainArchive = nullptr;
    m_Engine.Enable3DDevice();
    ASSERT_NE(m_Engine.GetOverlayBitmap(CMatchEngine::OVERLAY_SCORE_BAR), nullptr);
    EXPECT_EQ(m_Engine.GetOverlayBitmap(CMatchEngine::OVERLAY_SCORE_BAR)->GetSurface(), nullptr);
    m_Engine.Disable3DDevice();
}

}  // namespace

// With the line-ups shown everyone starts at the tunnel: the home players
// come out one after another, then the away players, the kick-off waits
// until all are in their places and the match plays on to full time, the
// second half after a walk-out of its own.
TEST_F(KitsMatchTest, WithTheLineUpsShownThePlayersWalkOutBeforeTheKickOff)
{
    ASSERT_TRUE(Start(0, 23, true));
    uint32_t adwLeft[2][11] = {};
    auto starter = [&](int nSide, int i) { return (nSide ? m_pAway : m_pHome)->GetSlot(i); };
    for (int nSide = 0; nSide < 2; ++nSide)
        for (int i = 0; i < 11; ++i)
            ASSERT_EQ(starter(nSide, i)->GetPosition(), CMatchEngine::kStartPoint) << nSide << " " << i;
    // Within a minute and a half of the engine clock.
    for (int i = 0; i < 1300 && m_Engine.GetMatchPeriod() == MATCHPERIOD_BEFOREKICKOFF; ++i) {
        m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        m_Engine.PostTick();
        for (int nSide = 0; nSide < 2; ++nSide)
            for (int i = 0; i < 11; ++i)
                if (!adwLeft[nSide][i] && starter(nSide, i)->GetPosition() != CMatchEngine::kStartPoint)
                    adwLeft[nSide][i] = m_Engine.GetEngineClock();
    }
    ASSERT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_FIRSTHALF)
        << "no kick-off by engine clock " << m_Engine.GetEngineClock();
    uint32_t dwPrevious = 0;
    for (int nSide = 0; nSide < 2; ++nSide)
        for (int i = 0; i < 11; ++i) {
            EXPECT_GE(adwLeft[nSide][i], dwPrevious) << "out of turn: " << nSide << " " << i;
            dwPrevious = adwLeft[nSide][i];
        }
    EXPECT_GT(adwLeft[1][0], adwLeft[0][10] + 1000) << "the away side waits for the home side";
    // Everyone was out in his own half when the ball was played (the two
    // at the kick-off on the half-way line).
    for (int nSide = 0; nSide < 2; ++nSide)
        for (int i = 0; i < 11; ++i) {
            const CMatchPlayer* p = starter(nSide, i);
            const CVector& at = p->GetPosition();
            EXPECT_TRUE(at.x >= 0 && at.x <= PITCH_LENGTH && at.y >= 0 && at.y <= PITCH_WIDTH) << nSide << " " << i;
            const int32_t nIntoOwnHalf =
                p->GetClub()->AttacksHighEnd() ? PITCH_LENGTH / 2 - at.x : at.x - PITCH_LENGTH / 2;
            EXPECT_GE(nIntoOwnHalf, -100) << nSide << " " << i;
        }

    for (int i = 0; i < 100000 && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++i) {
        m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        m_Engine.PostTick();
    }
    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME)
        << "stalled at match time " << m_Engine.GetMatchTime() << ", period " << int(m_Engine.GetMatchPeriod());
    EXPECT_GE(m_Engine.GetMatchTime(), 90u * 60u * 1000u);
}
