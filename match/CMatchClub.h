#pragma once
// One side of a 3-D match. The club makes a footballer for every member of
// its match squad (the team sheet of a human manager, else the club's own
// selection for its formation), keeps who is on the pitch and who sits on
// the bench, takes its formation layout and team orders, answers the
// questions its players ask about their own side (nearest player, zones,
// most advanced and last man) and runs its once-a-second work (possession,
// territory, form) and, for a computer-run club, the five-minute review that
// asks for a substitution.
#include "match/CVector.h"
#include "match/MatchKits.h"
#include "match/actors/CMatchPlayer.h"
#include "season/CSaveGame.h"

#include <cstdint>
#include <memory>

class CClubDatabase;
class CMatchEngine;

// What the match counts for one side (the statistics panel reads them).
struct MATCHCLUBCOUNTERS {
    uint8_t byShootOutGoals = 0;
    uint8_t byFouls = 0;
    uint8_t byPenaltiesAwarded = 0;
    uint8_t byPenaltyGoals = 0;
    uint8_t byFreeKicks = 0;
    uint8_t byDirectFreeKicks = 0;
    uint8_t byCorners = 0;
    uint8_t byThrowIns = 0;
    uint8_t byOffsides = 0;
    uint8_t byBookings = 0;
    uint8_t bySubstitutions = 0;  // players who left the pitch for good
    // The players' touch records: passes (completed or credited with an
    // assist) and shots (on target or scored).
    uint16_t wPasses = 0;
    uint16_t wPassesCompleted = 0;
    uint8_t byShots = 0;
    uint8_t byShotsOnTarget = 0;
};

class CMatchClub {
public:
    static constexpr int kSlots = 26;
    static constexpr int kLineUpNumbers = 18;
    static constexpr uint8_t kNoMarking = 250;
    static constexpr int32_t kBenchY = -390;
    static constexpr int32_t kBenchRoamingRadius = 750;
    // Review flags: always after a review, goals since it, a serious injury.
    enum : uint8_t { REVIEW_DONE = 1, REVIEW_CONCEDED = 2, REVIEW_SCORED = 4, REVIEW_INJURY = 32 };
    // Position groups of the review's mask.
    enum : uint8_t { GROUP_GOALKEEPER = 2, GROUP_DEFENDER = 4, GROUP_MIDFIELDER = 8, GROUP_FORWARD = 16,
                     GROUP_OUTFIELD = 28 };

    // Builds the side: kit colour, squad, line-up table, formation layout,
    // bench seats and roaming radii; pSaveGame is the human manager's.
    CMatchClub(CClubDatabase* pRecord, bool bHome, CSaveGame* pSaveGame, CMatchEngine& engine,
               CClubDatabase* pOpponentRecord);
    ~CMatchClub();
    CMatchClub(const CMatchClub&) = delete;
    CMatchClub& operator=(const CMatchClub&) = delete;

    void SetOpponent(CMatchClub* pOpponent);
    // Bench placement, marking, slot order, the eight team orders.
    void ApplyTeamOrders();

    // Once a second of match time: possession and territory, the players' form.
    void UpdatePerSecond();
    // Moments for the whole squad (a goal for or against), and a
    // provocation for everyone on the pitch.
    void ApplyPositiveEventToAll(int nKind);
    void ApplyNegativeEventToAll(int nKind);
    void ProvokeAll(int nKind, CMatchPerson* pProvoker);
    // The review of a computer-run club: the packed substitution it wants
    // (outgoing slot x 16 + bench index), 0 for none. The flags start again.
    uint8_t FiveMinuteReview();

    CMatchEngine& GetEngine() const { return m_Engine; }
    CClubDatabase* GetRecord() const { return m_pRecord; }
    CSaveGame* GetSaveGame() const { return m_pSaveGame; }
    CMatchClub* GetOpponent() const { return m_pOpponent; }
    bool IsHome() const { return m_bHome; }
    bool AttacksHighEnd() const { return m_bAttacksHighEnd; }
    void SetAttacksHighEnd(bool bHigh) { m_bAttacksHighEnd = bHigh; }
    bool HasBall() const { return m_bHasBall; }
    void SetHasBall(bool bHasBall) { m_bHasBall = bHasBall; }
    int GetOnPitchCount() const { return m_nOnPitch; }
    int GetSquadCount() const { return m_nSquadCount; }
    uint32_t GetKitColour() const { return m_dwKitColour; }
    // Kits (MatchKits.h): whether the away side changed into its away kit,
    // the kit the side wears, the goalkeeper shirt chosen against both
    // sides' shirts (an index into kGoalkeeperColours), and whether a squad
    // member wears the goalkeeper's kit.
    bool WearsAwayKit() const { return m_bAwayKit; }
    MATCHKIT GetWornKit() const;
    int GetGoalkeeperCandidate() const { return m_nGoalkeeperCandidate; }
    // The goalkeeper's shirt in the same byte order as GetKitColour.
    uint32_t GetGoalkeeperColour() const;
    bool WearsGoalkeeperKit(int nSlot) const;
    uint8_t GetTeamOrder(TEAMORDER byOrder) const { return m_abyTeamOrders[byOrder]; }
    uint8_t GetMarkingTarget(int nSlot) const { return m_abyMarking[nSlot]; }
    uint8_t GetReviewFlags() const { return m_byReviewFlags; }
    void AddReviewFlags(uint8_t byFlags) { m_byReviewFlags |= byFlags; }
    uint8_t GetGoals() const { return m_byGoals; }
    void SetGoals(uint8_t byGoals) { m_byGoals = byGoals; }
    int32_t GetPossessionSeconds() const { return m_nPossessionSeconds; }
    int32_t GetTerritorySeconds() const { return m_nTerritorySeconds; }
    int32_t GetOffsideLine() const { return m_nOffsideLine; }
    uint8_t GetSubstitutions() const { return m_bySubstitutions; }
    uint8_t GetBookings() const { return m_Counters.byBookings; }
    MATCHCLUBCOUNTERS& GetCounters() { return m_Counters; }
    const MATCHCLUBCOUNTERS& GetCounters() const { return m_Counters; }
    void SetOnPitchCount(int nCount) { m_nOnPitch = nCount; }

    // Set pieces and changes of the side (CMatchClubSetPieces.cpp).
    static constexpr int kSetPieceTakers = 8;
    static constexpr uint8_t kSubstitutionLimit = 3;
    // Set-piece taker entries: free kicks in defence, midfield and attack,
    // corners from either side, penalties.
    enum : uint8_t { TAKER_DEFENCE_FREE_KICK = 1, TAKER_MIDFIELD_FREE_KICK = 2, TAKER_ATTACK_FREE_KICK = 3,
                     TAKER_CORNER_LOW = 4, TAKER_CORNER_HIGH = 5, TAKER_PENALTY = 7 };
    // A human's designated takers on the pitch (the last player on the
    // pitch for a place without one); a computer-run club names only two.
    void UpdateSetPieceTakers();
    CMatchPlayer* GetSetPieceTaker(int n) const { return n >= 0 && n < kSetPieceTakers ? m_apTakers[n] : nullptr; }
    // The taker of the referee's restart, sent to the event position.
    CMatchPlayer* ChooseEventPlayer();
    // The second player of the restart at the second event position, or none.
    CMatchPlayer* ChooseSecondEventPlayer();
    bool IsEventPlayerUnassigned() const;
    // Nobody on the pitch is still on his way to his place.
    bool IsReadyForRestart() const;
    // Base positions of everyone on the pitch for a ball zone (0-24) or a
    // restart zone (25-29).
    void PlaceForZone(int nZone);
    // A human's set-piece routine for the restart: its position byte, 0 for none.
    uint8_t ChooseRoutine();
    bool IsRoutineLive() const { return m_bRoutineLive; }
    const MATCHSETPIECE& GetRoutine() const { return m_Routine; }
    // The routine's step in play; moving on past its last step or ending it
    // leaves it no longer live.
    int GetRoutineStep() const { return m_nRoutineStep; }
    void AdvanceRoutineStep();
    void EndRoutine() { m_bRoutineLive = false; }
    // How dangerous the player of a line-up number is (0..100).
    uint8_t GetThreatRating(int nLineUp) const;
    void SetThreatRating(int nLineUp, uint8_t byRating);
    // 0 in front of the attacked goal, 1 in its penalty area, 2 elsewhere.
    int GetShootingZone(int32_t x, int32_t y) const;
    // The nearest point to the wanted one where an outfield player of this
    // side may stand in open play: level with or behind the opponents'
    // offside line (by 400) and 50 inside the pitch.
    CVector GetPosInPlayArea(const CVector& wanted) const;
    const MATCHLAYOUTENTRY* GetLayoutEntry(int nLineUp) const;
    CMatchPlayer* PickPenaltyTaker(bool bSkipThoseWhoTook);
    // Players in the defensive wall for a direct free kick at the point.
    static int GetWallSize(const CVector& kick, const CVector& goal);
    void SubstitutePlayer(int nOffSlot, int nOnSlot);
    // An injured player leaves without replacement.
    void TakePlayerOff(CMatchPlayer* pPlayer);
    // A sent-off player leaves; a computer-run club reshapes.
    void CompleteSubstitution(CMatchPlayer* pPlayer);
    static int GetPositionPriority(uint8_t byPosition);

    // The player in a slot (0 the goalkeeper, then the others on the pitch,
    // then the bench); null for an empty slot or one past the squad.
    CMatchPlayer* GetSlot(int nSlot) const;
    // By line-up number (the place in the selection order); null past the
    // squad, and with bSkipBench for a player on the bench.
    CMatchPlayer* GetPlayer(int nLineUp, bool bSkipBench) const;
    CMatchPlayer* GetPlayerBySquadIndex(int nIndex) const;
    CMatchPlayer* GetPlayerByRecord(const CPlayerDatabase* pRecord, bool bOnPitchOnly) const;

    // The seat on the bench of a slot beyond those on the pitch.
    CVector GetBenchSeat(int nSlot) const;
    CVector GetWarmUpSpot(int nSlot) const;
    // The formation layout's point of a line-up number for a zone (0-29), in
    // the set with or without the ball, turned for the end the club attacks.
    CVector GetFormationPoint(int nLineUp, int nZone, bool bWithBall) const;
    int32_t GetFormationRoamingRadius(int nLineUp) const;

    // The club's own penalty area (the tight one 80 shallower); in the
    // shoot-out always the one at x = 0.
    bool IsInPenaltyArea(const CVector& point, bool bTight) const;
    // Centre of the club's own goal line.
    void GetGoalPosition(CVector& out) const;
    // 1 defence, 2 midfield, 4 the attacking wings, 5 the attacking centre.
    int GetZone(int32_t x, int32_t y) const;
    CMatchPlayer* GetNearestPlayer(const CVector& point, int32_t* pnDistance) const;
    CMatchPlayer* GetNearestReadyPlayer(const CVector& point, int32_t* pnDistance) const;
    CMatchPlayer* GetNearestPlayerExcept(const CVector& point, const CMatchPlayer* pExcept, int32_t* pnDistance) const;
    int32_t GetNearestPlayerDistance(const CVector& point) const;
    CMatchPlayer* GetNearestToTarget(const CVector& point, int32_t* pnDistance) const;
    CMatchPlayer* GetNearestToTargetExcept(const CVector& point, const CMatchPlayer* pExcept,
                                           int32_t* pnDistance) const;
    CMatchPlayer* GetMostAdvancedPlayer() const;
    CMatchPlayer* GetLastDefender() const;
    // The smallest ball distance among those on the pitch, skipping a slot
    // (-1 none); 999999999 when there is nobody.
    int32_t GetLowestBallDistance(int nSkipSlot) const;

    // The line beyond which the opponents stand offside: the last
    // defender or the ball, whichever is nearer the own goal, never beyond
    // halfway. Kept every tick.
    void UpdateOffsideLine();
    // How free the way from a to b is of this club's players: 100 with
    // nobody near it, falling by (500 - h) / 5 for each player h < 500 away.
    int GetPathClearance(const CVector& a, const CVector& b) const;
    // 0..100: how likely this club's players are to cut out a ball played
    // from a to b at the speed (cm/s); a shot is blocked only before b.
    int GetPassInterceptRating(const CVector& a, const CVector& b, int32_t nSpeed) const;
    int GetShotBlockRating(const CVector& a, const CVector& b, int32_t nSpeed) const;

    // The per-tick work of the side (CMatchClubPerTick.cpp), home then away
    // every tick: the offside line, the alarm of a ball flying at its goal,
    // the player who goes for the ball and the one who supports him, how
    // dangerous each of its players is and whom each of its defenders marks.
    void UpdatePerTick();
    bool HasShotAlarm() const { return m_bShotAlarm; }
    CMatchPlayer* GetBallChaser() const { return m_pBallChaser; }
    float GetBallChaserCost() const { return m_fBallChaserCost; }
    CMatchPlayer* GetSupportChaser() const { return m_pSupportChaser; }
    // Added, divided by 3, to every threat rating; the engine sets it from
    // its pressure balance.
    void SetThreatBias(uint8_t byBias) { m_byThreatBias = byBias; }
    uint8_t GetThreatBias() const { return m_byThreatBias; }
    int32_t GetThreatTotal() const { return m_nThreatTotal; }
    // The slots whose threat rating is above 40, the most dangerous first.
    int GetThreatListLength() const { return m_nThreatList; }
    int GetThreatListSlot(int n) const { return n >= 0 && n < m_nThreatList ? m_abyThreatList[n] : -1; }
    // How far from his man a marker with the marking order keeps marking him.
    static int32_t GetMarkingRange(int nMarkingOrder);

    // The result into the club's records; the best match rating, whose
    // player's identifier goes to pidPlayer (left alone when none is above 0).
    uint8_t WriteMatchResult(uint8_t byCompetition, ID_PLAYER* pidPlayer);

private:
    enum class Measure { Position, BasePosition };
    CMatchPlayer* FindNearest(const CVector& point, const CMatchPlayer* pExcept, bool bReadyOnly, Measure measure,
                              int32_t* pnDistance) const;
    int32_t DistanceFromOwnGoal(int32_t x) const { return m_bAttacksHighEnd ? x : PITCH_LENGTH - x; }
    // A pass (bPass) is met beyond its end and at the kicker's foot too; a
    // shot only along its way.
    int GetInterceptRating(const CVector& a, const CVector& b, int32_t nSpeed, int nBase, bool bPass) const;
    void BuildSquad();
    int GetNextMatchKind() const;
    void LoadFormationLayout();
    void PlaceBench();
    void ApplyTeamOrder(TEAMORDER byOrder);
    static bool MatchesGroup(uint8_t byPosition, uint8_t byMask);
    static uint8_t GroupOf(uint8_t byPosition);
    void RebuildLineUp();
    void BuildWall(const CVector& kick);
    // Takes the player out of the eleven to the last squad slot and hands
    // on a restart role he held.
    bool RemoveFromPitch(CMatchPlayer* pPlayer);
    void LeaveForBench(CMatchPlayer* pPlayer, const CVector& seat);
    void ReshapeAfterSendingOff(uint8_t byPosition, int nLeavingLineUp);
    CVector GetTouchLinePoint() const;

    CMatchEngine& m_Engine;
    int m_nOnPitch = 11;
    std::unique_ptr<CMatchPlayer> m_apSlots[kSlots];
    int32_t m_nDefenceLine = 3000;
    int32_t m_nAttackLine = 7000;
    uint8_t m_byReviewFlags = REVIEW_DONE;
    CMatchPlayer* m_apByLineUp[kLineUpNumbers] = {};
    const uint8_t* m_pbyFormation = nullptr;
    CSaveGame* m_pSaveGame;
    uint8_t m_abyMarking[kSlots] = {};
    uint8_t m_abySlotOrder[kSlots] = {};
    uint8_t m_abyTeamOrders[TEAM_ORDERS] = {50, 50, 50, 50, 50, 50, 50, 50};
    int32_t m_nPossessionSeconds = 0;
    int32_t m_nTerritorySeconds = 0;
    MATCHCLUBCOUNTERS m_Counters;
    uint8_t m_bySubstitutions = 0;
    CMatchPlayer* m_apTakers[kSetPieceTakers] = {};
    bool m_bRoutineChosen = false;
    bool m_bRoutineLive = false;
    MATCHSETPIECE m_Routine;
    int m_nRoutineStep = 0;
    uint8_t m_abyThreatRatings[kLineUpNumbers] = {};
    uint8_t m_byFreeKickZone = 32;
    uint8_t m_byCornerSide = 0;
    int m_nSquadCount;
    int m_nMatchKind = 0;
    CMatchClub* m_pOpponent = nullptr;
    CClubDatabase* m_pRecord;
    CClubDatabase* m_pOpponentRecord;
    bool m_bAttacksHighEnd;
    bool m_bHome;
    bool m_bHasBall = false;
    MATCHLAYOUTENTRY m_aLayout[SAVEGAME_LINEUP];
    int32_t m_nOffsideLine = 5000;
    uint8_t m_byGoals = 0;
    uint32_t m_dwKitColour = 0xFFFFFF;
    bool m_bAwayKit = false;
    int m_nGoalkeeperCandidate = 0;

    void UpdateShotAlarm();
    void UpdateBallChasers();
    void UpdateThreatRatings();
    void UpdateMarking();
    bool m_bShotAlarm = false;
    CMatchPlayer* m_pBallChaser = nullptr;
    float m_fBallChaserCost = 999999.0f;
    CMatchPlayer* m_pSupportChaser = nullptr;
    uint8_t m_byThreatBias = 0;
    int32_t m_nThreatTotal = 0;
    uint8_t m_abyThreatList[kSlots] = {};
    int m_nThreatList = 0;

    // ---- the alerts of its players (CMatchClubAlerts.cpp) ----
public:
    // Once a second: every player on the pitch works out his alert icons;
    // the club records who raised each alert and when, and clears an alert
    // once that player no longer shows it or has left the pitch.
    void UpdateAlerts();
    // Bits 1 low fitness, 2 high anger, 4 low morale.
    uint8_t GetAlertBits() const { return m_byAlertBits; }
    // The player who raised the alert (0 fitness, 1 anger, 2 morale) less
    // than the window ago, else none.
    CMatchPlayer* GetAlertPlayer(int nAlert, uint32_t dwWindow) const;
    uint32_t GetAlertTime(int nAlert) const { return nAlert >= 0 && nAlert < 3 ? m_adwAlertTimes[nAlert] : 0; }

private:
    uint8_t m_byAlertBits = 0;
    CMatchPlayer* m_apAlertPlayers[3] = {};
    uint32_t m_adwAlertTimes[3] = {};
};
