#include "PeopleTestSupport.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace people_test {
namespace {

class RatingValueTest : public PeopleWorld {
protected:
    // A player of the given position and role with every skill at the role's
    // target, born so that he is `age` on the game date (1 August 2001).
    std::unique_ptr<CPlayerDatabase> MakePlayer(int position, int role, int age, int ability)
    {
        Bytes image = MakePlayerImage(100 + m_next++, position, role);
        for (int i = 0; i < PLAYER_SKILL_COUNT; ++i)
            Put16(image, 36 + 2 * i, CPersonDatabase::s_abyRoleTargets[role][i] * 100);
        Put16(image, 36 + 2 * PLAYER_ATTRIBUTE_POTENTIAL, ability * 100);
        Put16(image, 36 + 2 * PLAYER_ATTRIBUTE_REPUTATION, ability * 100);
        PutDate(image, 12, 2001 - age, 3, 1);
        ByteStream stream(image);
        auto player = std::make_unique<CPlayerDatabase>(stream.reader(), nullptr, nullptr, nullptr, false);
        EXPECT_TRUE(player->IsLoaded());
        return player;
    }
    int m_next = 0;
};

TEST_F(RatingValueTest, RatingWeighsTheSkillsAgainstTheRoleTargets)
{
    auto striker = MakePlayer(3, 15, 25, 70);
    EXPECT_EQ(striker->GetRatingForPosition(-1), 100);
    EXPECT_EQ(striker->GetRatingForPosition(15), 100);
    // As a goalkeeper his Handling of 1.00 against a target of 100 gives 60 x 1
    // hundredths; every other skill meets the goalkeeper's target.
    EXPECT_EQ(striker->GetRatingForPosition(0), (60 + 500 + 900 + 300 + 300 + 300 + 1000 + 700) / 100);
    // Half the Shooting target gives half its weight.
    striker->m_awAttributes[PLAYER_ATTRIBUTE_SHOOTING] = 5000;
    EXPECT_EQ(striker->GetRatingForPosition(-1), (10000 - 27 * 50) / 100);
    // Above the target counts as the target.
    striker->m_awAttributes[PLAYER_ATTRIBUTE_SHOOTING] = 10000;
    striker->m_awAttributes[PLAYER_ATTRIBUTE_PACE] = 10000;
    EXPECT_EQ(striker->GetRatingForPosition(15), 100);
    EXPECT_EQ(striker->GetRatingForPosition(16), 0);
}

TEST_F(RatingValueTest, RatingsMatchTheWeightedDivisionOverTheWholeSkillRange)
{
    // Each skill w * min(a / t, 100), summed and taken in hundredths, for
    // every 16-bit value of every skill (each skill a different value,
    // through each target's edge) and every role.
    auto player = MakePlayer(3, 15, 25, 70);
    const auto expected = [&](int nRole) {
        int nSum = 0;
        for (int i = 0; i < PLAYER_SKILL_COUNT; ++i) {
            const int t = CPersonDatabase::s_abyRoleTargets[nRole][i];
            const int a = player->m_awAttributes[i];
            nSum += CPersonDatabase::s_abyRoleWeights[nRole][i] * (a >= t * 100 ? 100 : a / t);
        }
        return nSum / 100;
    };
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole) {
        for (int nBase = 0; nBase < 65536; ++nBase) {
            for (int i = 0; i < PLAYER_SKILL_COUNT; ++i)
                player->m_awAttributes[i] = static_cast<uint16_t>((nBase + 8191 * i) & 0xFFFF);
            ASSERT_EQ(player->GetRatingForPosition(nRole), expected(nRole)) << nRole << " " << nBase;
            // The same from the form that rates several roles at once.
            int16_t anRatings[PLAYER_ROLE_COUNT] = {};
            player->GetRatingsForRoles(0xFFFFu, anRatings);
            ASSERT_EQ(anRatings[nRole], expected(nRole)) << nRole << " " << nBase;
            // And from the ratings kept between his skills' changes.
            ASSERT_EQ(player->GetRoleRatings()[nRole], expected(nRole)) << nRole << " " << nBase;
        }
        for (int nEdge = -1; nEdge <= 1; ++nEdge) {
            for (int i = 0; i < PLAYER_SKILL_COUNT; ++i)
                player->m_awAttributes[i] =
                    static_cast<uint16_t>(std::max(0, CPersonDatabase::s_abyRoleTargets[nRole][i] * 100 + nEdge));
            EXPECT_EQ(player->GetRatingForPosition(nRole), expected(nRole)) << nRole << " " << nEdge;
            EXPECT_EQ(player->GetRoleRatings()[nRole], expected(nRole)) << nRole << " " << nEdge;
        }
        // One skill changed alone.
        player->m_awAttributes[1] = 0xFFFF;
        EXPECT_EQ(player->GetRatingForPosition(nRole), expected(nRole)) << nRole;
        EXPECT_EQ(player->GetRoleRatings()[nRole], expected(nRole)) << nRole;
    }
}

TEST_F(RatingValueTest, ValueCurvesRunFromTheBandPairs)
{
    const int pairs[16][2] = {{1000, 75000},       {10000, 120000},     {30000, 175000},     {45000, 250000},
                              {60000, 330000},     {75000, 400000},     {100000, 500000},    {150000, 725000},
                              {250000, 900000},    {330000, 1000000},   {500000, 2500000},   {750000, 4000000},
                              {1000000, 6000000},  {2500000, 8000000},  {4000000, 12000000}, {7500000, 15000000}};
    for (int b = 0; b < 16; ++b) {
        EXPECT_NEAR(CPlayerDatabase::GetValueCurveEntry(b, 29), pairs[b][0], pairs[b][0] * 1e-6) << b;
        EXPECT_NEAR(CPlayerDatabase::GetValueCurveEntry(b, 99), pairs[b][1], pairs[b][1] * 1e-6) << b;
        for (int r = 1; r < 100; ++r)
            EXPECT_LT(CPlayerDatabase::GetValueCurveEntry(b, r - 1), CPlayerDatabase::GetValueCurveEntry(b, r));
    }
    EXPECT_NEAR(CPlayerDatabase::GetBoostCurveEntry(29), 2500000, 3);
    EXPECT_NEAR(CPlayerDatabase::GetBoostCurveEntry(99), 10000000, 10);
}

TEST_F(RatingValueTest, MarketValueByBandAndRating)
{
    auto player = MakePlayer(3, 15, 25, 70);
    struct Case {
        int rating;
        int band;
        int value;
    };
    const Case cases[] = {
        {90, 15, 13500000 + 2500000},  // curve 13,721,052 and boost entry 30: 2,550,004
        {85, 15, 13000000},  // 15,000,000 x 0.5^(14/70) = 13,058,258; no boost at 85
        {60, 5, 150000},
        {40, 0, 1500},
        {29, 0, 1000},
        {0, 0, 500},  // below the lowest step
    };
    for (const Case& c : cases) {
        player->m_byRating = static_cast<uint8_t>(c.rating);
        EXPECT_EQ(player->GetPlayerValue(c.band), c.value) << c.rating << "/" << c.band;
    }
    // Bands outside 0-15 read the nearest band.
    player->m_byRating = 60;
    EXPECT_EQ(player->GetPlayerValue(20), player->GetPlayerValue(15));
    EXPECT_EQ(player->GetPlayerValue(-3), player->GetPlayerValue(0));
    player->m_byRating = 100;
    // The top of the curve and boost entry 90: 10,000,000 x 0.25^(9/70) = 8,367,434.
    EXPECT_EQ(player->GetPlayerValue(15), 15000000 + 8250000);
}

TEST_F(RatingValueTest, RawValueBandAddsItsSixParts)
{
    struct Case {
        const char* what;
        int position, role, age, ability;
        VALUEBANDFACTORS factors;
        int band;
    };
    VALUEBANDFACTORS none;
    VALUEBANDFACTORS top;
    top.nDivisionLevel = 1;
    top.bHasClub = true;
    top.bDivisionCountsPlayingTime = false;
    top.bHasCountry = true;
    top.nCountryLevel = 85;
    top.nClubRating = 80;
    VALUEBANDFACTORS weak = top;
    weak.nDivisionLevel = 4;
    weak.nCountryLevel = 45;
    weak.nClubRating = 40;
    weak.bDivisionCountsPlayingTime = true;  // 20 starts of 21 matches: 95 %
    const Case cases[] = {
        // age 3 (1 from peak 28) + ability 3, position 3, no club -1, no country -2
        {"young striker, no owner", 3, 15, 27, 90, none, 6 + 3 - 3},
        {"young striker, top club", 3, 15, 27, 90, top, 6 + 4 + 3 + 1 + 1 + 1},
        {"young striker, weak club", 3, 15, 27, 90, weak, 6 + 1 + 3 + 2 - 1 - 1},
        {"ability 7 gives 2", 3, 15, 22, 75, none, 2 + 1 + 0},       // d 6 -> 1, bonus 2
        {"ability 5 gives 1", 2, 8, 26, 55, none, 1 + 3 + 2 - 3},    // d 0 -> 3, bonus 1
        {"ability 4 gives none", 2, 8, 26, 49, none, 3 + 2 - 3},
        {"two past the peak", 2, 8, 28, 90, none, 2 + 2 - 3},         // d 2, doubled 4
        {"far past the peak", 3, 15, 33, 90, none, 0 + 3 - 3},
        {"old goalkeeper", 0, 0, 45, 10, none, 0 + 0 - 3},
    };
    for (const Case& c : cases) {
        auto player = MakePlayer(c.position, c.role, c.age, c.ability);
        EXPECT_EQ(player->GetRawValueBand(c.factors), c.band) << c.what;
    }
}

TEST_F(RatingValueTest, StoredBandMovesOneStepPerWeek)
{
    auto player = MakePlayer(3, 15, 27, 90);  // raw band 6 without owners
    player->m_byRating = 70;
    player->m_byValueBand = 2;
    player->m_byTransferState = 0;
    player->WeeklyValueUpdate(true);
    EXPECT_EQ(player->m_byValueBand, 3);
    EXPECT_EQ(player->m_dwValue, static_cast<uint32_t>(player->GetPlayerValue(3)));
    EXPECT_EQ(player->m_dwAskingPrice, player->m_dwValue);
    player->WeeklyValueUpdate(false);
    EXPECT_EQ(player->m_byValueBand, 4);

    // A listed player's asking price stays where it is.
    player->m_byTransferState = PLAYER_TRANSFER_LISTED;
    player->m_dwAskingPrice = 123;
    player->m_byValueBand = 9;
    player->WeeklyValueUpdate(false);
    EXPECT_EQ(player->m_byValueBand, 8);
    EXPECT_EQ(player->m_dwAskingPrice, 123u);

    // A band below 0 does not wrap round to the top band.
    auto keeper = MakePlayer(0, 0, 45, 10);  // raw band -3
    keeper->m_byValueBand = 0;
    keeper->WeeklyValueUpdate(false);
    EXPECT_EQ(keeper->m_byValueBand, 0);
    keeper->UpdateRatingAndValue(true);
    EXPECT_EQ(keeper->m_byValueBand, 0);
    EXPECT_EQ(keeper->m_byRating, 100);
    EXPECT_EQ(keeper->m_dwValue, static_cast<uint32_t>(keeper->GetPlayerValue(0)));
    EXPECT_EQ(keeper->m_byCareerCount, 3);
    EXPECT_EQ(keeper->GetCurrentCareerEntry()->dwValue, keeper->m_dwValue);
}

TEST_F(RatingValueTest, AttributeForAgeFollowsTheCurveAndStaysInsideIt)
{
    auto keeper = MakePlayer(0, 0, 25, 80);
    struct Case {
        int attribute, k, level, value;
    };
    const Case keeperCases[] = {
        // Fitness has no target: the keeper's age curve itself, held at its ends.
        {PLAYER_ATTRIBUTE_FITNESS, 0, 100, 55},    {PLAYER_ATTRIBUTE_FITNESS, 16, 100, 100},
        {PLAYER_ATTRIBUTE_FITNESS, 32, 100, 55},   {PLAYER_ATTRIBUTE_FITNESS, -6, 100, 55},
        {PLAYER_ATTRIBUTE_FITNESS, 90, 100, 55},
        // Handling: the curve's peak times the keeper's target of 70 times the level.
        {PLAYER_ATTRIBUTE_HANDLING, 16, 100, 70},  {PLAYER_ATTRIBUTE_HANDLING, 16, 0, 56},
        {PLAYER_ATTRIBUTE_TACKLING, 16, 50, 15},   {PLAYER_ATTRIBUTE_FITNESS, 5, 100, 69},
        {PLAYER_ATTRIBUTE_REPUTATION, 10, 70, 64}, {PLAYER_ATTRIBUTE_COUNT, 10, 70, 0},
    };
    for (const Case& c : keeperCases)
        EXPECT_EQ(keeper->GetAttributeForAge(c.attribute, c.k, c.level), c.value) << c.attribute << "/" << c.k;

    auto defender = MakePlayer(1, 1, 25, 80);
    defender->m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] = 4321;
    EXPECT_EQ(defender->GetAttributeForAge(PLAYER_ATTRIBUTE_HANDLING, 3, 100), 43);
    EXPECT_EQ(defender->GetAttributeForAge(PLAYER_ATTRIBUTE_TACKLING, 32, 80), 51 * 100 * 80 / 10000);
    EXPECT_EQ(defender->GetAttributeForAge(PLAYER_ATTRIBUTE_TACKLING, 40, 80), 51 * 100 * 80 / 10000);
    auto midfielder = MakePlayer(2, 9, 25, 80);
    EXPECT_EQ(midfielder->GetAttributeForAge(PLAYER_ATTRIBUTE_PASSING, 0, 100), 64);
    EXPECT_EQ(midfielder->GetAttributeForAge(PLAYER_ATTRIBUTE_PASSING, 12, 100), 100);
}

// The whole set a week's training reads agrees with the one-at-a-time
// answer for every attribute: keepers and outfield players (whose Handling is
// their own), ages off both ends of the curve, the potential's level and
// levels given, a negative one among them.
TEST_F(RatingValueTest, AttributesForAgeAgreeWithEachAttributeForAge)
{
    struct Case {
        int position, role, potential;
    };
    const Case cases[] = {{0, 0, 80}, {1, 1, 55}, {2, 9, 100}, {3, 14, 37}, {3, 15, 0}};
    for (const Case& c : cases) {
        auto player = MakePlayer(c.position, c.role, 25, c.potential);
        player->m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] = 4321;
        for (int k : {-3, 0, 9, 16, 32, 50})
            for (int level : {-5, 0, 1, 64, 100}) {
                int an[PLAYER_ATTRIBUTE_COUNT];
                player->GetAttributesForAge(k, level, an);
                for (int a = 0; a < PLAYER_ATTRIBUTE_COUNT; ++a)
                    EXPECT_EQ(an[a], player->GetAttributeForAge(a, k, level))
                        << "role " << c.role << " age " << k << " level " << level << " attribute " << a;
            }
        // In hundredths, asked again and again as a week's training does,
        // while his Handling, potential and role move between the asks.
        for (int nStep = 0; nStep < 12; ++nStep) {
            if (nStep % 3 == 1)
                player->m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] += 150;
            if (nStep % 4 == 2)
                player->m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] += 700;
            if (nStep == 7)
                player->m_byRole = static_cast<uint8_t>((c.role + 5) % PLAYER_ROLE_COUNT);
            for (int k : {4, 4, 20}) {
                float af[20];
                player->GetAttributeHundredthsForAge(k, 0, 20, af);
                for (int a = 0; a < 20; ++a)
                    ASSERT_EQ(af[a], player->GetAttributeForAge(a, k, 0) * 100.0f)
                        << "role " << c.role << " step " << nStep << " age " << k << " attribute " << a;
            }
        }
    }
}

// The same over every role and every point of each curve, for every level a
// potential can give and beyond (where the curve's value times the level
// passes 65535), a keeper's and an outfield player's Handling both.
TEST_F(RatingValueTest, AttributesForAgeAgreeOverEveryRoleAgeAndLevel)
{
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole)
        for (int nPosition : {0, 3}) {
            auto player = MakePlayer(nPosition, nRole, 25, 60);
            player->m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] = 6789;
            for (int k = -1; k <= PERSON_AGE_CURVE_LENGTH; ++k)
                for (int level = 1; level <= 700; ++level) {
                    std::array<int, PLAYER_ATTRIBUTE_COUNT> an{}, expected{};
                    player->GetAttributesForAge(k, level, an.data());
                    for (int a = 0; a < PLAYER_ATTRIBUTE_COUNT; ++a)
                        expected[static_cast<size_t>(a)] = player->GetAttributeForAge(a, k, level);
                    ASSERT_EQ(an, expected) << "role " << nRole << " age " << k << " level " << level;
                    // In hundredths, for a count that is not a whole four.
                    std::array<float, PLAYER_ATTRIBUTE_COUNT + 2> af{};
                    player->GetAttributeHundredthsForAge(k, level, 18, af.data());
                    for (int a = 0; a < 18; ++a)
                        ASSERT_EQ(af[static_cast<size_t>(a)], expected[static_cast<size_t>(a)] * 100.0f)
                            << "role " << nRole << " age " << k << " level " << level << " attribute " << a;
                }
        }
}

// A side's builder scores each player for each role: his rating, his own
// position's and roles' bonuses, and a ban or an injury that keeps him out
// unless nobody fit is left. Both ways of asking agree.
TEST_F(RatingValueTest, MatchSelectionScoreWeighsRolesBansAndInjuries)
{
    auto defender = MakePlayer(1, 2, 25, 80);
    defender->m_wRoleMask = (1u << 2) | (1u << 9);
    struct Case {
        const char* pszName;
        bool bSuspended, bInjured;
        int nRole, nKind;
        bool bAllowUnfit;
        int nScore;
    };
    const Case cases[] = {
        {"his own role", false, false, 2, 0, false, 60 + 20 + 40 + 50},
        {"another defender's role", false, false, 3, 0, false, 60 + 20},
        {"a role of his mask elsewhere", false, false, 9, 0, false, 60 + 40},
        {"a stranger's role", false, false, 13, 0, false, 60},
        {"not a role", false, false, 16, 0, false, 60},
        {"banned at home: kept out", true, false, 2, 1, false, 60 + 20 - 1000},
        {"banned at home, nobody fit left", true, false, 2, 1, true, 60 + 20 - 30 + 40 + 50},
        {"a home ban in a European match", true, false, 2, 2, false, 60 + 20 + 40 + 50},
        {"injured: kept out", false, true, 9, 0, false, 60 - 1000},
        {"injured and banned, nobody fit left", true, true, 2, 0, true, 60 + 20 - 60 + 40 + 50},
    };
    for (const Case& c : cases) {
        defender->m_bySuspensionFlags = c.bSuspended ? PLAYER_SUSPENDED_DOMESTIC : 0;
        defender->m_dwFlags = c.bInjured ? defender->m_dwFlags | PLAYER_FLAG_INJURED
                                         : defender->m_dwFlags & ~PLAYER_FLAG_INJURED;
        EXPECT_EQ(defender->GetMatchSelectionScore(c.nRole, c.nKind, c.bAllowUnfit, 60), c.nScore) << c.pszName;
        EXPECT_EQ(defender->GetMatchSelectionScoreWithBan(c.nRole, c.bAllowUnfit, 60, defender->IsSuspended(c.nKind)),
                  c.nScore)
            << c.pszName;
    }
}

TEST_F(RatingValueTest, PositionFromRole)
{
    const int expected[PLAYER_ROLE_COUNT] = {0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3};
    for (int r = 0; r < PLAYER_ROLE_COUNT; ++r)
        EXPECT_EQ(CPersonDatabase::GetPositionFromRole(r), expected[r]);
    EXPECT_EQ(CPersonDatabase::GetPositionFromRole(16), 3);
    EXPECT_TRUE(Logged("[CPlayerDatabase::GetPositionFromRole] Invalid Player Role!"));
}

}  // namespace
}  // namespace people_test
