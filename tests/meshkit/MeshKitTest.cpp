// The files the mesh kit lays into the runtime tree, read back through the
// game's own readers: person meshes on the one skeleton, every animation the
// match persons use, the scenery and stands by the names the match builds,
// and the 8-bit textures with the colour-table ranges that kits recolour.
#include "render3d/CAnimationManager.h"
#include "render3d/CModel.h"
#include "render3d/CObjectData.h"
#include "render3d/CTextureBitmap.h"
#include "render3d/CXBoneFrame.h"
#include "render3d/CXFrame.h"
#include "shell/CFileManager.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <regex>
#include <fstream>
#include <sstream>

namespace {

constexpr float kPi = 3.14159265f;
const std::string kMeshes = std::string(BRELLOX_GAME_DIR) + "/MatchMeshes/";

// The animations the match persons' tables name.
const char* const kAnimationNames =
    "0TemplateCrouch 0TemplateStand 0aStand A10Frustration A11Frustration A3Stand2Sit A4Sit2Stand A4SitClap "
    "A4SitCycle A4SitCycleLong A4SitLookLeft A4SitLookRight A5Sit2Stand A6CoveringGroinJumpTurn "
    "A7CoveringGroinJumpTurn A8CoveringGroinJumpTurn A9CoveringGroinJumpTurn C2Walk C4Jog C5Run C6Crouch "
    "Cd1DribbleWalk Cd2DribbleJog Cd3DribbleRun Ch1iHoldingBallStand Ch1iiHoldingBallStand Ch2HoldingBallWalk "
    "E11JogWaveArms E1Clapping E2Victory E3PelvicThrust E4Somersault E5DancingCircle E6Dance G1PutDownBall "
    "G2PickUpBall G3GoalieThrow G4DropKickHard G5DropKickSoft G6BounceBall G7GoalieJogBackShort "
    "G8GoalieJogBackLong G9QuickDropkick Gb1GoalieParryForwardRight Gb2GoalieParryForwardLeft "
    "Gb3GoalieParryRight Gb4GoalieParryLeft Gb5GoalieParryRightLow Gb6GoalieParryLeftLow Gb7GoalieTipOverhead "
    "Gb8GoalieParryLeftLowFeet Gb9GoalieParryRightLowFeet Gs10CatchMediumLeft Gs11CatchMediumRight "
    "Gs1CatchHigh Gs2CatchMedium Gs3SaveRightLow Gs4SaveLeftLow Gs5SaveRightMedium Gs6SaveLeftMedium "
    "Gs7CatchLow Gs8CatchHighRight Gs9CatchHighLeft L1PointingForward L2PointingRight L3PointingLeft "
    "L4PointingRightDown L5PointingLeftDown M1Argue N1aPhysioJog N1bPhysioJog2Stand N1cPhysioSpray "
    "N1dPhysioStand2JogTurn N1ePhysioStand2Jog N2Limp2Stand N2Stand2Limp N3Limp N4bStandingLookingPoorly "
    "N4cStandingLookingPoorly O1KickLongRunupForward O2KickShortRunupLightForward O3aKickRunupShortForward "
    "O3bKickRunupShortForward O4KickLongRunupHardForward O5KickLongRunupRight O6KickLongRunupLeft "
    "P1RockingBall P2ThrowBall Pc1ChestKickHardRight Pc2ChestKickHardLeft Pc3ChestKickLightRight "
    "Pc4ChestKickLightLeft Pc5ChestKickForward Pf1JogTrip Pf2JogTrip Pf3StandTripBehind Pf4StandTripRight "
    "Pf5StandTripLeft Pf6JogTripBad Pf7StandTripFront Ph1JumpingHeaderLeft Ph2JumpingHeaderRight "
    "Ph3HeaderRight Ph4HeaderLeft Ph5HeaderForward Ph6DivingHeader Ph7DivingHeader Pk10KneeLeftKick "
    "Pk1SoftKickRight Pk2bSoftKickLeft Pk3HardKickRight Pk4HardKickLeft Pk5iKickLightForward "
    "Pk6KickHardForward Pk7VolleyLeft Pk8VolleyRight Pk9KneeRightKick Po1VolleyOverhead Po2VolleyLeft "
    "Po3VolleyRight Pr1JogKickLeft Pr2JogKickRight Pr3RunningVolleyF Pr4JogKickHard Pr5RunningVolleyR "
    "Pr6RunningVolleyL Pr8JogKickLight Ps10ControlChestRight Ps11ControlChestLeft Ps1ControlTrap "
    "Ps2ControlFoot Ps4ControlChest Ps5ControlThigh Ps6JogControlRight Ps7JogControlLeft "
    "Ps8JogControlBackwards Ps9JogControlForwards Pt2UnsuccessfulBlockRight Pt3UnsuccessfulBlockLeft "
    "Pt4SuccessfulBlockRight Pt5aSuccessfulBlockLeft Pt6SuccessfulSlidingTackleLeft "
    "Pt8SuccessfulSlidingTackleForward R1WhistleForward R2ShowCard R3ShowBothCards R7WhistleRight "
    "R8WhistleLeft S1iStandStepForward S2iStandStepBackward S3aStandStepRight S4aStandStepLeft "
    "SE1RunningHighCatch SE2aKeeperTackleRight SE2bKeeperTackleLeft Sc1CrouchStepForward "
    "Sc2CrouchStepBackward Sc3bCrouchStepRight Sc4bCrouchStepLeft Sd1DribbleStepForward "
    "Sd2DribbleStepBackward Sd3DribbleStepRight Sd4DribbleStepLeft Se4RunningHeaderLeft Se4RunningHeaderRight "
    "SeStandFall Sh1HoldingBallStepForward Sh2HoldingBallStepBackward Sh3HoldingBallStepRight "
    "Sh4HoldingBallStepLeft T10Jog2Walk T11Walk2Run T12Run2Walk T13Jog2Run T14Run2Jog T15iStand2Crouch "
    "T16iCrouch2Stand T17Cover2Stand T18Stand2Cover T1Stand2Walk T2Walk2Stand T5Stand2Jog T6aJog2Stand "
    "T7Stand2Run T8Run2Stand T9Walk2Jog Ta1DribbleStand2JogRight Ta2DribbleStand2JogLeft "
    "Ta3DribbleStand2RunRight Ta4DribbleStand2RunLeft Td10DribbleRun2Walk Td11DribbleJog2Run "
    "Td12DribbleRun2Jog Td1DribbleStand2Walk Td2DribbleWalk2Stand Td3DribbleStand2Jog Td4DribbleJog2Stand "
    "Td5DribbleStand2Run Td6DribbleRun2Stand Td7DribbleWalk2Jog Td8DribbleJog2Walk Td9DribbleWalk2Run "
    "Th1Stand2Walk Th2Walk2Stand Ud1DribbleTurn45R Ud2DribbleTurn45L Ud3DribbleTurn90R Ud4DribbleTurn90L "
    "Ud5DribbleTurn180 Udc1ControlTurn90r Udc2ControlTurn90l Udc3ControlTurn180 Uh1HoldingBallTurn45r "
    "Uh2HoldingBallTurn45l Uh3HoldingBallTurn90r Uh4HoldingBallTurn90l Uh5HoldingBallTurn180 "
    "Us1StandingTurn45r Us2StandingTurn45l Us3StandingTurn90r Us4StandingTurn90l Us5StandingTurn180 "
    "W2BendRightLeg W3BendLeftLeg W3BendRightLeg W4JiggleOnSpot W5LiftKnees W7TouchToes";

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

// The kind line of each animation in the kit's source.
std::map<std::string, std::string> AnimationSources()
{
    std::ifstream in(std::string(MESH_SOURCES) + "/Animations.txt");
    std::map<std::string, std::string> lines;
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#')
            lines[line.substr(0, line.find(' '))] = line;
    return lines;
}

TEST(MeshKit, PersonMeshesShareTheFifteenBoneSkeletonWithTheirLevels)
{
    CObjectData objects(10);
    const uint16_t player = objects.LoadSkinned((kMeshes + "PlayerX1.x").c_str(), 15);
    ASSERT_NE(player, OBJECT_NOT_FOUND);
    const std::vector<CXBoneFrame*>& bones = *objects.GetBoneTable(player, 0);
    for (uint16_t slot = 0; slot < 15; ++slot) {
        ASSERT_NE(bones[slot], nullptr) << slot;
        const std::string name = objects.GetBoneNames().GetBoneName(static_cast<uint16_t>(bones[slot]->m_wNameId - 1));
        // Frames of the neck and abdomen keep no mesh; every other bone moves one.
        const bool bNoMesh = name.find("neck") != std::string::npos || name.find("abdomen") != std::string::npos;
        EXPECT_EQ(bones[slot]->GetVertices().empty(), bNoMesh) << name;
    }
    EXPECT_EQ(bones[0]->GetParent(), nullptr);
    for (int level = 2; level <= 5; ++level)
        objects.AddLevel(player, (kMeshes + "PlayerX" + std::to_string(level) + ".x").c_str(), 15);
    EXPECT_EQ(objects.GetLevelCount(player), 4);
    // Each level is coarser than the one before.
    const CXMeshFrame* pLevel = objects.GetMeshFrame(player);
    for (int level = 1; level <= 4; ++level) {
        const CXMeshFrame* pNext = pLevel->GetNextLevel();
        ASSERT_NE(pNext, nullptr);
        EXPECT_LT(pNext->GetVertexCount(), pLevel->GetVertexCount());
        pLevel = pNext;
    }
    const uint16_t linesman = objects.LoadSkinned((kMeshes + "Linesmanx1.x").c_str(), 15);
    ASSERT_NE(linesman, OBJECT_NOT_FOUND);
    for (int level = 2; level <= 6; ++level)
        objects.AddLevel(linesman, (kMeshes + "Linesmanx" + std::to_string(level) + ".x").c_str(), 15);
    EXPECT_EQ(objects.GetLevelCount(linesman), 5);
    for (const char* name : {"Goaliex1.x", "Physiox1.x"})
        EXPECT_NE(objects.LoadSkinned((kMeshes + name).c_str(), 15), OBJECT_NOT_FOUND) << name;
    // All bone names were met before: the same ids in every person file.
    EXPECT_EQ(objects.GetBoneNames().GetCount(), 15);
}

TEST(MeshKit, EveryAnimationImportsAndMovesAsItsKindSays)
{
    CObjectData objects(10);
    const uint16_t player = objects.LoadSkinned((kMeshes + "PlayerX1.x").c_str(), 15);
    ASSERT_NE(player, OBJECT_NOT_FOUND);
    CAnimationManager& manager = objects.GetAnimationManager();
    const std::vector<std::string> names = Words(kAnimationNames);
    ASSERT_EQ(names.size(), 228u);
    const std::map<std::string, std::string> sources = AnimationSources();
    for (const std::string& name : names) {
        const uint16_t index = manager.ImportPrecalculatedAnimation((kMeshes + name + ".pa").c_str(), player);
        ASSERT_NE(index, ANIMATION_IMPORT_FAILED) << name;
        const ANIMATION& animation = *manager.GetAnimation(index);
        EXPECT_EQ(animation.firstFrame, 0) << name;
        EXPECT_GT(animation.lastFrame, 0) << name;
        float d[3], heading;
        ASSERT_TRUE(manager.GetAnimationDisplacement(index, d, &heading)) << name;
        ASSERT_TRUE(sources.count(name)) << name;
        const std::string& source = sources.at(name);
        if (source.find(" cycle ") != std::string::npos) {
            // A cycle's root ends one stride ahead, facing as it began.
            EXPECT_LT(d[2], -100) << name;
            EXPECT_NEAR(d[0], 0, 1e-3f) << name;
            EXPECT_NEAR(heading, 0, 1e-4f) << name;
        }
        std::smatch turn;
        if (std::regex_search(name, turn, std::regex("Turn(45|90|180)([lLrR]?)$"))) {
            const float size = turn[1] == "180" ? kPi : turn[1] == "90" ? kPi / 2 : kPi / 4;
            const bool bLeft = turn[2] == "l" || turn[2] == "L";
            if (size == kPi) {
                EXPECT_NEAR(std::fabs(heading), kPi, 1e-3f) << name;
            } else {
                EXPECT_NEAR(heading, bLeft ? -size : size, 1e-3f) << name;
            }
        }
        // The ball, card or spray can: a track of at least two entries.
        const bool bHandled = source.find("prop=") != std::string::npos;
        for (const char* contact : {"Kick", "Volley", "Header", "Control", "Catch", "Card", "Spray", "Parry", "Throw"}) {
            if (name.find(contact) != std::string::npos) {
                EXPECT_TRUE(bHandled) << name;
            }
        }
        EXPECT_EQ(animation.propPositionTrack.size() >= 2, bHandled) << name;
        if (bHandled) {
            CModel model(objects, player, 0);
            float x, y, z;
            EXPECT_TRUE(model.GetAnimationFirstKey(index, &x, &y, &z, nullptr)) << name;
        }
    }
}

TEST(MeshKit, SceneryAndEveryStandNameLoad)
{
    CObjectData objects(200);
    std::vector<std::string> files = {"Football.x", "Football_Orange.x", "SprayCan.x", "Card.x", "Net.x", "Flag.x",
                                      "Dome.x", "Cityscape_Day.x", "Cityscape_Night.x", "DUGOUT.x", "WallNN.x",
                                      "WallNE.x", "WallEE.x"};
    for (const char* kind : {"ST", "DT", "TT"})
        for (const char* size : {"1", "2", "3"}) {
            for (const char* segment : {"NN", "NE", "EE"}) {
                for (const char* state : {"", "B", "UC", "UC2"})
                    files.push_back(std::string(kind) + size + segment + state + ".x");
                files.push_back(std::string(kind) + size + segment + "R.x");
            }
            for (const char* state : {"", "B"})
                files.push_back(std::string(kind) + size + "SS" + state + ".x");
        }
    ASSERT_EQ(files.size(), 13u + 153u);
    for (const std::string& file : files) {
        const uint16_t object = objects.Load((kMeshes + file).c_str(), 0);
        ASSERT_NE(object, OBJECT_NOT_FOUND) << file;
        EXPECT_GT(objects.GetMeshFrame(object)->GetFaceCount(), 0) << file;
    }
    // The ball is round, 13 across its radius.
    const CXMeshFrame* pBall = objects.GetMeshFrame(objects.FindObject((kMeshes + "Football.x").c_str()));
    for (uint32_t v = 0; v < pBall->GetVertexCount(); ++v) {
        const D3DVERTEX& p = pBall->GetVertices()[v];
        EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 13, 1e-3f);
    }
    // A taller kind of stand rises higher.
    auto height = [&](const std::string& file) {
        return objects.GetMeshFrame(objects.FindObject((kMeshes + file).c_str()))->GetBounds().max[1];
    };
    EXPECT_LT(height("ST2NN.x"), height("DT2NN.x"));
    EXPECT_LT(height("DT2NN.x"), height("TT2NN.x"));
    EXPECT_LT(height("TT2NNUC.x") - 1, height("TT2NN.x"));
}

class Textures : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_archive.Open((kMeshes + "Textures.BFS").c_str())); }
    std::unique_ptr<CTextureBitmap> Read(const std::string& name)
    {
        long size = 0;
        bool found = false;
        FILE* pFile = m_archive.Get(name.c_str(), &size, &found);
        EXPECT_TRUE(found) << name;
        if (!found)
            return nullptr;
        std::string error;
        auto bitmap = CTextureBitmap::Read(pFile, size, &error);
        EXPECT_NE(bitmap, nullptr) << name << ": " << error;
        return bitmap;
    }
    CFileManager m_archive;
};

TEST_F(Textures, EveryMatchTextureIsAnEightBitPicture)
{
    std::vector<std::string> names = {"NewGrass.bmp", "GrassSnowLight.bmp", "GrassSnowMedium.bmp",
                                      "GrassSnowHeavy.bmp", "MarkingsNormal.bmp", "MarkingsSnow.bmp", "shadow.bmp",
                                      "Player_Shadow.bmp", "Player_Shadow_Day.bmp"};
    for (int d = 0; d < 10; ++d) {
        names.push_back("-" + std::to_string(d) + "-.bmp");
        names.push_back(std::to_string(d) + "-.bmp");
        names.push_back("-" + std::to_string(d) + ".bmp");
        names.push_back("Sky%D" + std::to_string(d) + ".bmp");
    }
    for (const std::string& name : names) {
        const auto bitmap = Read(name);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_TRUE(bitmap->IsPalettised()) << name;
        EXPECT_LE(bitmap->Palette().size(), 256u) << name;
    }
    // A digit leaves everything but its strokes to the key.
    const auto seven = Read("-7-.bmp");
    int strokes = 0;
    for (int y = 0; y < seven->Height(); ++y)
        for (int x = 0; x < seven->Width(); ++x)
            strokes += seven->Colour(x, y) != 0xFF00FF;
    EXPECT_GT(strokes, 10);
    EXPECT_LT(strokes, 200);
}

TEST_F(Textures, KitMasksPaintEachPartOfTheKitFromItsRecolouredRange)
{
    // Rows of the masks' bands: shirt, skin, shorts, sock tops, socks, boots.
    struct Band {
        int row;
        int first, last;
    };
    const Band bands[] = {{9, 11, 28}, {50, 29, 47}, {31, 92, 107}, {37, 108, 113}, {40, 250, 255}, {60, 0, 2}};
    for (const char* pattern : {"Sleeves", "Horizontal", "Verticle", "Checkers", "Half"})
        for (const char* variant : {"", "Black_", "Italian_"}) {
            const std::string name = std::string("Mask_") + variant + pattern + ".bmp";
            for (const std::string& mask : {name, std::string("Master_") + variant + "Mask.bmp"}) {
                auto bitmap = Read(mask);
                ASSERT_NE(bitmap, nullptr);
                ASSERT_EQ(bitmap->Palette().size(), 256u) << mask;
                for (const Band& band : bands) {
                    // Entries outside the band's range turned black, the range white.
                    std::vector<uint32_t>& palette = bitmap->Palette();
                    const std::vector<uint32_t> kept = palette;
                    for (size_t i = 0; i < palette.size(); ++i)
                        palette[i] = (static_cast<int>(i) >= band.first && static_cast<int>(i) <= band.last) ? 0xFFFFFF : 0;
                    int inRange = 0;
                    for (int x = 0; x < bitmap->Width(); ++x)
                        inRange += bitmap->Colour(x, band.row) == 0xFFFFFF;
                    EXPECT_GT(inRange, bitmap->Width() / 3) << mask << " row " << band.row;
                    palette = kept;
                }
            }
        }
}

}  // namespace

TEST_F(Textures, TheAdvertPictureHoldsACellForEveryAdvertiserAndTheUnsoldBoard)
{
    // Two columns of 128 x 10 cells: advertiser 1 first, the unsold board after advertiser 49.
    const auto adverts = Read("Adverts.bmp");
    ASSERT_NE(adverts, nullptr);
    ASSERT_EQ(adverts->Width(), 256);
    ASSERT_EQ(adverts->Height(), 256);
    auto cell = [&](int n) {
        std::vector<uint32_t> colours;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 128; ++x)
                colours.push_back(adverts->Colour((n % 2) * 128 + x, (n / 2) * 10 + y));
        return colours;
    };
    const std::vector<uint32_t> unsold = cell(49);
    // The unsold board: one colour inside a rim of another.
    EXPECT_NE(unsold[0], unsold[128 * 5 + 64]);
    EXPECT_EQ(unsold[128 * 2 + 10], unsold[128 * 7 + 100]);
    for (int n = 0; n < 49; ++n) {
        const std::vector<uint32_t> advert = cell(n);
        EXPECT_NE(advert, unsold) << "advertiser " << n + 1;
        // Emblem and lettering stand out from the ground colour.
        EXPECT_NE(advert[0], advert[128 * 5 + 8]) << "advertiser " << n + 1;
        if (n > 0) {
            EXPECT_NE(advert, cell(n - 1)) << "advertiser " << n + 1;
        }
        for (uint32_t colour : advert)
            EXPECT_NE(colour, 0xFF00FFu) << "advertiser " << n + 1;
    }
}
