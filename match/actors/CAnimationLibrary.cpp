#include "match/actors/CAnimationLibrary.h"

#include "common/DebugLog.h"
#include "render3d/CAnimationManager.h"
#include "render3d/CObjectData.h"

#include <cmath>
#include <sstream>

namespace {

constexpr float kPi = 3.14159265f;

struct MoveTypeSource {
    uint8_t byMoveType;
    const char* pszTemplate;  // null for none
    const char* pszItems;     // the turns in list order, or the cycle
    uint8_t byEndMoveType;    // of the turns; a cycle ends in its own type
};

const MoveTypeSource kMoveTypes[] = {
    {0, "0TemplateStand", "Us2StandingTurn45l Us1StandingTurn45r Us4StandingTurn90l Us3StandingTurn90r Us5StandingTurn180", 0},
    {1, nullptr, "C2Walk", 1},
    {2, nullptr, "C4Jog", 2},
    {3, nullptr, "C5Run", 3},
    {4, nullptr, "Ud2DribbleTurn45L Ud1DribbleTurn45R Ud4DribbleTurn90L Ud3DribbleTurn90R Ud5DribbleTurn180", 0},
    {5, nullptr, "Cd1DribbleWalk", 5},
    {6, nullptr, "Cd2DribbleJog", 6},
    {7, nullptr, "Cd3DribbleRun", 7},
    {8, nullptr, "Uh2HoldingBallTurn45l Uh1HoldingBallTurn45r Uh4HoldingBallTurn90l Uh3HoldingBallTurn90r Uh5HoldingBallTurn180", 8},
    {9, nullptr, "Ch2HoldingBallWalk", 9},
    {10, "0TemplateCrouch", "", 10},
    {14, nullptr, "N3Limp", 14},
    {15, nullptr, "N1aPhysioJog", 15},
};

struct TransitionSource {
    uint8_t byFrom, byTo;
    const char* pszFiles;
};

const TransitionSource kTransitions[] = {
    {0, 1, "T1Stand2Walk"}, {0, 2, "T5Stand2Jog"}, {0, 3, "T7Stand2Run"},
    {0, 5, "Td1DribbleStand2Walk"},
    {0, 6, "Td3DribbleStand2Jog Ta1DribbleStand2JogRight Ta2DribbleStand2JogLeft"},
    {0, 7, "Td5DribbleStand2Run Ta3DribbleStand2RunRight Ta4DribbleStand2RunLeft"},
    {0, 8, "G2PickUpBall"},
    {0, 10, "T15iStand2Crouch"}, {0, 11, "T18Stand2Cover"}, {0, 12, "A3Stand2Sit"},
    {0, 15, "N1ePhysioStand2Jog N1dPhysioStand2JogTurn"},
    {1, 0, "T2Walk2Stand"}, {1, 2, "T9Walk2Jog"}, {1, 3, "T11Walk2Run"},
    {2, 0, "T6aJog2Stand"}, {2, 1, "T10Jog2Walk"}, {2, 3, "T13Jog2Run"},
    {3, 0, "T8Run2Stand"}, {3, 1, "T12Run2Walk"}, {3, 2, "T14Run2Jog"},
    {5, 0, "Td2DribbleWalk2Stand"}, {5, 6, "Td7DribbleWalk2Jog"}, {5, 7, "Td9DribbleWalk2Run"},
    {6, 0, "Td4DribbleJog2Stand"}, {6, 5, "Td8DribbleJog2Walk"}, {6, 7, "Td11DribbleJog2Run"},
    {7, 0, "Td6DribbleRun2Stand"}, {7, 5, "Td10DribbleRun2Walk"}, {7, 6, "Td12DribbleRun2Jog"},
    {8, 0, "G1PutDownBall"}, {8, 9, "Th1Stand2Walk"},
    {9, 8, "Th2Walk2Stand"},
    {10, 0, "T16iCrouch2Stand"}, {11, 0, "T17Cover2Stand"},
    {12, 0, "A5Sit2Stand A4Sit2Stand"},
    {13, 14, "N2Stand2Limp"}, {14, 13, "N2Limp2Stand"},
    {15, 0, "N1bPhysioJog2Stand"},
};

struct RecordSource {
    uint8_t byStart, byEnd;
    const char* pszFile;
    float fHeadingChange;
    uint8_t byHeaderCode, byContactCode;
    bool bHands;
};

struct ActionSource {
    uint8_t byAction, byCount, byEventKind;
    std::vector<RecordSource> records;
};

RecordSource R(uint8_t s, uint8_t e, const char* f, float h = 0, uint8_t header = 0, uint8_t contact = 0,
               bool hands = false)
{
    return RecordSource{s, e, f, h, header, contact, hands};
}

RecordSource Hands(uint8_t s, uint8_t e, const char* f, float h = 0)
{
    return RecordSource{s, e, f, h, 0, 0, true};
}

// The running volleys and headers, each from jog and from run.
std::vector<RecordSource> RunningStrikes()
{
    std::vector<RecordSource> records;
    for (uint8_t from : {uint8_t(2), uint8_t(3)}) {
        records.push_back(R(from, 0, "Pr3RunningVolleyF", 0, 0, 2));
        records.push_back(R(from, 0, "Pr6RunningVolleyL", 0, 0, 7));
        records.push_back(R(from, 0, "Pr5RunningVolleyR", 0, 0, 7));
        records.push_back(R(from, 0, "Se4RunningHeaderLeft", 0, 2, 0));
        records.push_back(R(from, 0, "Se4RunningHeaderRight", 0, 2, 0));
    }
    return records;
}

std::vector<ActionSource> ActionSources()
{
    const float pi = kPi;
    return {
        {1, 4, 0, {R(0, 0, "S1iStandStepForward"), R(0, 0, "S2iStandStepBackward"), R(0, 0, "S4aStandStepLeft"),
                   R(0, 0, "S3aStandStepRight")}},
        {2, 4, 0, {R(10, 10, "Sc1CrouchStepForward"), R(10, 10, "Sc2CrouchStepBackward"),
                   R(10, 10, "Sc4bCrouchStepLeft"), R(10, 10, "Sc3bCrouchStepRight")}},
        {3, 4, 0, {R(0, 0, "Sd1DribbleStepForward"), R(0, 0, "Sd2DribbleStepBackward"),
                   R(0, 0, "Sd4DribbleStepLeft"), R(0, 0, "Sd3DribbleStepRight")}},
        {4, 4, 0, {R(0, 0, "Sh1HoldingBallStepForward"), R(0, 0, "Sh2HoldingBallStepBackward"),
                   R(0, 0, "Sh4HoldingBallStepLeft"), R(0, 0, "Sh3HoldingBallStepRight")}},
        {5, 2, 0, {R(0, 10, "G8GoalieJogBackLong"), R(0, 10, "G7GoalieJogBackShort")}},
        {6, 4, 1, {R(0, 0, "Ps1ControlTrap"), R(0, 0, "Ps2ControlFoot"), R(0, 0, "Ps5ControlThigh"),
                   R(0, 0, "Ps4ControlChest")}},
        {7, 5, 1, {R(0, 0, "Ps10ControlChestRight"), R(0, 0, "Ps11ControlChestLeft"), R(0, 0, "Udc1ControlTurn90r"),
                   R(0, 0, "Udc2ControlTurn90l"), R(0, 0, "Udc3ControlTurn180", pi)}},
        {8, 9, 1, {R(2, 6, "Ps6JogControlRight"), R(2, 6, "Ps7JogControlLeft"), R(2, 6, "Ps8JogControlBackwards", pi),
                   R(2, 6, "Ps9JogControlForwards"), R(3, 6, "Ps6JogControlRight"), R(3, 6, "Ps7JogControlLeft"),
                   R(3, 6, "Ps8JogControlBackwards", pi), R(3, 6, "Ps9JogControlForwards"),
                   R(0, 6, "Ps9JogControlForwards")}},
        {9, 6, 1, {Hands(10, 8, "Gs7CatchLow"), Hands(10, 8, "Gs2CatchMedium"), Hands(10, 8, "Gs1CatchHigh"),
                   Hands(0, 8, "Gs7CatchLow"), Hands(10, 8, "Gs2CatchMedium"), Hands(10, 8, "Gs1CatchHigh")}},
        {10, 1, 0, {R(0, 0, "0aStand")}},
        {11, 3, 0, {R(0, 0, "W5LiftKnees"), R(0, 0, "W2BendRightLeg"), R(0, 0, "W4JiggleOnSpot")}},
        {12, 5, 0, {R(0, 0, "W7TouchToes"), R(0, 0, "W3BendLeftLeg"), R(0, 0, "W3BendRightLeg")}},
        {13, 2, 0, {R(8, 8, "Ch1iHoldingBallStand"), R(8, 8, "Ch1iiHoldingBallStand")}},
        {14, 1, 0, {R(8, 8, "G6BounceBall")}},
        {15, 1, 0, {R(0, 0, "P1RockingBall")}},
        {17, 2, 0, {R(13, 13, "N4bStandingLookingPoorly"), R(13, 13, "N4cStandingLookingPoorly")}},
        {18, 1, 0, {R(10, 10, "C6Crouch")}},
        {19, 4, 0, {R(12, 12, "A4SitCycle"), R(12, 12, "A4SitLookLeft"), R(12, 12, "A4SitLookRight"),
                    R(12, 12, "A4SitCycleLong")}},
        {20, 7, 2, {R(0, 0, "Pk2bSoftKickLeft"), R(0, 0, "Pk1SoftKickRight"), R(0, 0, "Pk5iKickLightForward"),
                    R(8, 0, "G5DropKickSoft"), R(6, 2, "Pr8JogKickLight"), R(6, 2, "Pr1JogKickLeft"),
                    R(6, 2, "Pr2JogKickRight")}},
        {21, 8, 2, {R(0, 0, "Pk6KickHardForward"), R(0, 0, "Pk4HardKickLeft"), R(0, 0, "Pk3HardKickRight"),
                    Hands(8, 0, "G4DropKickHard"), R(8, 0, "G9QuickDropkick"), R(6, 2, "Pr4JogKickHard"),
                    R(6, 2, "Pr1JogKickLeft"), R(6, 2, "Pr2JogKickRight")}},
        {22, 3, 2, {R(0, 0, "O2KickShortRunupLightForward"), R(0, 0, "O5KickLongRunupRight"),
                    R(0, 0, "O6KickLongRunupLeft")}},
        {23, 6, 2, {R(0, 0, "O3aKickRunupShortForward"), R(0, 0, "O3bKickRunupShortForward"),
                    R(0, 0, "O1KickLongRunupForward"), R(0, 0, "O4KickLongRunupHardForward")}},
        {24, 1, 2, {Hands(8, 0, "P2ThrowBall")}},
        {25, 1, 2, {Hands(8, 0, "G3GoalieThrow")}},
        {26, 21, 3, {R(0, 0, "Pk10KneeLeftKick", 0, 0, 2), R(0, 0, "Pk9KneeRightKick", 0, 0, 2),
                     R(0, 0, "Pk7VolleyLeft", 0, 0, 7), R(0, 0, "Pk8VolleyRight", 0, 0, 7),
                     R(0, 0, "Ph4HeaderLeft", 0, 2, 0), R(0, 0, "Ph3HeaderRight", 0, 2, 0),
                     R(0, 0, "Ph6DivingHeader", 0, 2, 8), R(0, 0, "Ph7DivingHeader", 0, 2, 8),
                     R(0, 0, "Ph5HeaderForward", 0, 2, 0), R(0, 0, "Ph1JumpingHeaderLeft", 0, 2, 0),
                     R(0, 0, "Ph2JumpingHeaderRight", 0, 2, 0), R(0, 0, "Pc4ChestKickLightLeft", 0, 0, 3),
                     R(0, 0, "Pc3ChestKickLightRight", 0, 0, 3), R(0, 0, "Pc5ChestKickForward", 0, 0, 3),
                     R(0, 0, "Pk10KneeLeftKick", 0, 0, 2), R(0, 0, "Pk9KneeRightKick", 0, 0, 2),
                     R(0, 0, "Ph4HeaderLeft", 0, 2, 0), R(0, 0, "Ph3HeaderRight", 0, 2, 0),
                     R(0, 2, "Ph5HeaderForward", 0, 2, 0), R(0, 0, "Pc4ChestKickLightLeft", 0, 0, 3),
                     R(0, 0, "Pc3ChestKickLightRight", 0, 0, 3)}},
        {27, 6, 3, {R(0, 0, "Po2VolleyLeft", 0, 0, 7), R(0, 0, "Po3VolleyRight", 0, 0, 7),
                    R(0, 0, "Po1VolleyOverhead", pi, 0, 8), R(0, 0, "Pk8VolleyRight", 0, 0, 2),
                    R(0, 0, "Pc2ChestKickHardLeft", 0, 0, 3), R(0, 0, "Pc1ChestKickHardRight", 0, 0, 3)}},
        {28, 10, 3, RunningStrikes()},
        {29, 10, 3, RunningStrikes()},
        {30, 4, 1, {R(2, 2, "Pt8SuccessfulSlidingTackleForward"), R(2, 2, "Pt6SuccessfulSlidingTackleLeft"),
                    R(3, 2, "Pt8SuccessfulSlidingTackleForward"), R(3, 2, "Pt6SuccessfulSlidingTackleLeft")}},
        {31, 4, 1, {R(0, 6, "Pt4SuccessfulBlockRight"), R(0, 6, "Pt5aSuccessfulBlockLeft"),
                    R(10, 6, "Pt4SuccessfulBlockRight"), R(10, 6, "Pt5aSuccessfulBlockLeft")}},
        {32, 2, 0, {R(0, 6, "Pt2UnsuccessfulBlockRight"), R(0, 6, "Pt3UnsuccessfulBlockLeft")}},
        {33, 4, 1, {Hands(10, 8, "SE2aKeeperTackleRight"), Hands(10, 8, "SE2bKeeperTackleLeft"),
                    Hands(10, 0, "Gb1GoalieParryForwardRight"), Hands(10, 0, "Gb2GoalieParryForwardLeft")}},
        {34, 5, 0, {R(0, 0, "E6Dance"), R(0, 0, "E5DancingCircle"), R(0, 0, "E4Somersault"), R(0, 0, "E2Victory"),
                    R(0, 0, "E3PelvicThrust")}},
        {35, 3, 0, {R(0, 0, "E1Clapping"), R(12, 12, "A4SitClap")}},
        {36, 2, 0, {R(2, 2, "E11JogWaveArms"), R(3, 3, "E11JogWaveArms")}},
        {37, 2, 0, {R(0, 0, "A10Frustration"), R(0, 0, "A11Frustration")}},
        {38, 2, 0, {R(6, 0, "Pf1JogTrip"), R(7, 6, "Pf2JogTrip")}},
        {39, 1, 0, {R(6, 0, "Pf6JogTripBad")}},
        {40, 4, 0, {R(0, 0, "Pf7StandTripFront"), R(0, 0, "Pf5StandTripLeft"), R(0, 0, "Pf4StandTripRight"),
                    R(0, 0, "Pf3StandTripBehind", pi)}},
        {41, 1, 0, {R(0, 0, "SeStandFall")}},
        {42, 1, 0, {R(0, 1, "M1Argue")}},
        {43, 9, 1, {Hands(10, 8, "Gs4SaveLeftLow"), Hands(10, 8, "Gs3SaveRightLow"), Hands(10, 8, "Gs6SaveLeftMedium"),
                    Hands(10, 8, "Gs5SaveRightMedium"), Hands(10, 8, "SE1RunningHighCatch"),
                    Hands(10, 8, "Gs10CatchMediumLeft"), Hands(10, 8, "Gs11CatchMediumRight"),
                    Hands(10, 8, "Gs9CatchHighLeft"), Hands(10, 8, "Gs8CatchHighRight")}},
        {44, 1, 2, {R(0, 0, "L3PointingLeft")}},
        {45, 1, 2, {R(0, 0, "L5PointingLeftDown")}},
        {46, 1, 2, {R(0, 0, "L2PointingRight")}},
        {47, 1, 2, {R(0, 0, "L4PointingRightDown")}},
        {48, 1, 2, {R(0, 0, "L1PointingForward")}},
        {49, 1, 0, {R(0, 0, "R8WhistleLeft")}},
        {50, 1, 0, {R(0, 0, "R7WhistleRight")}},
        {51, 1, 0, {R(0, 0, "R1WhistleForward")}},
        {52, 1, 3, {R(0, 0, "R2ShowCard")}},
        {53, 1, 3, {R(0, 0, "R3ShowBothCards")}},
        {54, 7, 3, {Hands(10, 0, "Gb7GoalieTipOverhead", -pi), Hands(10, 0, "Gb5GoalieParryRightLow"),
                    Hands(10, 0, "Gb6GoalieParryLeftLow"), Hands(10, 0, "Gb3GoalieParryRight"),
                    Hands(10, 0, "Gb4GoalieParryLeft"), Hands(10, 0, "Gb9GoalieParryRightLowFeet"),
                    Hands(10, 0, "Gb8GoalieParryLeftLowFeet")}},
        {55, 4, 0, {R(11, 0, "A6CoveringGroinJumpTurn"), R(11, 0, "A7CoveringGroinJumpTurn"),
                    R(11, 0, "A8CoveringGroinJumpTurn"), R(11, 0, "A9CoveringGroinJumpTurn")}},
        {56, 1, 0, {R(0, 0, "N1cPhysioSpray")}},
    };
}

std::vector<std::string> Words(const char* pszText)
{
    std::istringstream in(pszText);
    std::vector<std::string> words;
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

}  // namespace

std::vector<std::string> CAnimationLibrary::GetFileNames()
{
    std::vector<std::string> names;
    for (const MoveTypeSource& source : kMoveTypes) {
        if (source.pszTemplate)
            names.push_back(source.pszTemplate);
        for (const std::string& name : Words(source.pszItems))
            names.push_back(name);
    }
    for (const TransitionSource& source : kTransitions)
        for (const std::string& name : Words(source.pszFiles))
            names.push_back(name);
    for (const ActionSource& action : ActionSources())
        for (const RecordSource& record : action.records)
            names.push_back(record.pszFile);
    return names;
}

void CAnimationLibrary::Load(CObjectData& objects, uint16_t wMeshIndex, const std::string& folder)
{
    DebugLog(0, "[CMatchPerson::LoadAnimations] Entered with %d", wMeshIndex);
    Free();
    m_pObjects = &objects;
    m_wMeshIndex = wMeshIndex;
    CAnimationManager& manager = objects.GetAnimationManager();
    auto import = [&](const std::string& name) {
        return manager.ImportPrecalculatedAnimation((folder + name + ".pa").c_str(), wMeshIndex);
    };
    for (const MoveTypeSource& source : kMoveTypes) {
        MOVETYPEENTRY& entry = m_aMoveTypes[source.byMoveType];
        if (source.pszTemplate)
            entry.wTemplate = import(source.pszTemplate);
        for (const std::string& name : Words(source.pszItems))
            entry.items.push_back(MOVETYPEITEM{source.byEndMoveType, import(name)});
    }
    for (const TransitionSource& source : kTransitions)
        for (const std::string& name : Words(source.pszFiles))
            m_aTransitions[source.byFrom][source.byTo].animations.push_back(import(name));
    for (const ActionSource& source : ActionSources()) {
        ACTIONENTRY& entry = m_aActions[source.byAction];
        entry.byEventKind = source.byEventKind;
        entry.records.resize(source.byCount);
        for (size_t i = 0; i < source.records.size() && i < entry.records.size(); ++i) {
            const RecordSource& r = source.records[i];
            entry.records[i] = ACTIONRECORD{r.byStart, r.byEnd, r.fHeadingChange, r.byHeaderCode, import(r.pszFile),
                                            r.byContactCode, r.bHands};
        }
    }
    DebugLog(0, "[CMatchPerson::LoadAnimations] Finished Loading");
    DebugLog(0, "[CMatchPerson::LoadAnimations] Precalculating anim speed data");
    MeasureSpeeds();
    DebugLog(0, "[CMatchPerson::LoadAnimations] Exiting");
}

int32_t CAnimationLibrary::RootLength(uint16_t wAnimation, bool* pbKnown) const
{
    float d[3] = {0, 0, 0};
    float fHeading = 0;
    *pbKnown = m_pObjects->GetAnimationManager().GetAnimationDisplacement(wAnimation, d, &fHeading);
    return int32_t(std::sqrt(d[0] * d[0] + d[2] * d[2]));
}

void CAnimationLibrary::MeasureSpeeds()
{
    CAnimationManager& manager = m_pObjects->GetAnimationManager();
    for (uint8_t m = 0; m < MOVETYPE_COUNT; ++m) {
        MOVETYPEENTRY& entry = m_aMoveTypes[m];
        if (IsStandingMoveType(m) || entry.items.empty() || entry.items[0].wAnimation == NO_TEMPLATE_ANIMATION)
            continue;
        const ANIMATION* pCycle = manager.GetAnimation(entry.items[0].wAnimation);
        bool bKnown = false;
        entry.nStride = RootLength(entry.items[0].wAnimation, &bKnown);
        entry.fDistancePerFrame = pCycle && pCycle->lastFrame ? float(entry.nStride) / pCycle->lastFrame : 0.0f;
        const uint8_t byStanding = GetStandingMoveType(m);
        const TRANSITIONENTRY* pStart = GetTransition(byStanding, m);
        const TRANSITIONENTRY* pStop = GetTransition(m, byStanding);
        entry.nStartDistance = pStart && !pStart->animations.empty() ? RootLength(pStart->animations[0], &bKnown) : 0;
        entry.nStartPlusStride = entry.nStartDistance + entry.nStride;
        entry.nStopPlusStart =
            (pStop && !pStop->animations.empty() ? RootLength(pStop->animations[0], &bKnown) : 0) + entry.nStartDistance;
    }
    DebugLog(0, "[CMatchPerson::LoadAnimations] Precalculating anim distances");
    for (auto& row : m_aTransitions)
        for (TRANSITIONENTRY& pair : row) {
            if (pair.animations.empty())
                continue;
            bool bKnown = false;
            const int32_t nLength = RootLength(pair.animations[0], &bKnown);
            if (bKnown)
                pair.nDistance = nLength;
        }
}

void CAnimationLibrary::Free()
{
    for (MOVETYPEENTRY& entry : m_aMoveTypes)
        entry = MOVETYPEENTRY();
    for (auto& row : m_aTransitions)
        for (TRANSITIONENTRY& pair : row)
            pair = TRANSITIONENTRY();
    for (ACTIONENTRY& entry : m_aActions)
        entry = ACTIONENTRY();
    m_pObjects = nullptr;
}

const MOVETYPEENTRY* CAnimationLibrary::GetMoveType(uint8_t byMoveType) const
{
    return byMoveType < MOVETYPE_COUNT ? &m_aMoveTypes[byMoveType] : nullptr;
}

const TRANSITIONENTRY* CAnimationLibrary::GetTransition(uint8_t byFrom, uint8_t byTo) const
{
    return byFrom < MOVETYPE_COUNT && byTo < MOVETYPE_COUNT ? &m_aTransitions[byFrom][byTo] : nullptr;
}

const ACTIONENTRY* CAnimationLibrary::GetAction(uint8_t byAction) const
{
    return byAction < ACTION_COUNT ? &m_aActions[byAction] : nullptr;
}

bool CAnimationLibrary::IsStandingMoveType(uint8_t m)
{
    return m == 0 || m == 4 || m == 8 || m == 10 || m == 11 || m == 12 || m == 13;
}

uint8_t CAnimationLibrary::GetStandingMoveType(uint8_t m)
{
    if (m <= 7 || m == 11 || m == 12 || m == 15)
        return 0;
    if (m == 8 || m == 9)
        return 8;
    if (m == 10)
        return 10;
    if (m == 13 || m == 14)
        return 13;
    DebugLog(6, "CMatchPerson::GetStandingMoveType: Invalid AnimType: %d", m);
    return MOVETYPE_INVALID;
}

uint8_t CAnimationLibrary::GetMoveClass(uint8_t m)
{
    if (m <= 3 || m == 10 || m == 11 || m == 12 || m == 15)
        return 0;
    if (m <= 7)
        return 1;
    if (m == 8 || m == 9)
        return 2;
    if (m == 13 || m == 14)
        return 3;
    DebugLog(6, "[CMatchPerson::GetMoveClass] Invalid Move Type: %d", m);
    return 0;
}
