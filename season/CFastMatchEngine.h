#pragma once
// The quick result engine: a whole match without graphics, played as a chain
// of a little over two hundred ball actions, each settled by draws from the
// game's generator against the players' outcome tables. It never reseeds:
// one seed per game gives the same matches, in order.
#include "season/CClub.h"
#include "season/MatchRecords.h"
#include "season/MatchSideRecord.h"

#include <cstdint>

class CRefereeDatabase;

// Ball actions and match periods.
enum {
    QUICKACTION_CHOOSE = 0,
    QUICKACTION_PASS = 1,
    QUICKACTION_SHOT = 2,
    QUICKACTION_HEADER = 3,
    QUICKACTION_RUN = 4,
    QUICKACTION_THROW_IN = 5,
    QUICKACTION_CORNER = 6,
    QUICKACTION_ATTACKING_FREE_KICK = 7,
    QUICKACTION_FREE_KICK = 8,
    QUICKACTION_GOAL_KICK = 9,
    QUICKACTION_KICK_OFF = 11,
    QUICKACTION_HALF_TIME = 12,
    QUICKACTION_FULL_TIME = 13,
    QUICKACTION_ATTACKING_HEADER = 15,
    QUICKACTION_PENALTY = 17,
    QUICKACTION_EXTRA_TIME_HALF = 19,
    QUICKACTION_EXTRA_TIME_END = 20,
};

// The periods whose action count the engine notes.
enum {
    QUICKPERIOD_HALF_TIME = 0,
    QUICKPERIOD_FULL_TIME,
    QUICKPERIOD_EXTRA_TIME_HALF,
    QUICKPERIOD_EXTRA_TIME_END,
    QUICKPERIOD_COUNT
};

class CFastMatchEngine {
public:
    CFastMatchEngine() = default;
    // Gives back the sides of the last match.
    ~CFastMatchEngine();
    CFastMatchEngine(const CFastMatchEngine&) = delete;
    CFastMatchEngine& operator=(const CFastMatchEngine&) = delete;

    // Plays the match of the block: the goals and the result code go back
    // into the block and its header, the events into its lists, the ratings
    // into the sides' entries and the players' records; the referee (may be
    // null) gets the match's statistics. The sides stay until the next
    // match or ReleaseSides, so that the caller can write the line-ups.
    void ProcessMatch(CRefereeDatabase* pReferee, MATCHPARAMETERS* pFixture);
    CClub* GetHomeSide() const { return m_pHomeSide; }
    CClub* GetAwaySide() const { return m_pAwaySide; }
    // The sides of the last match as the records took them (0 home, 1 away).
    const MATCHSIDERECORD& GetSideRecord(int nSide) const { return m_aSideRecords[nSide ? 1 : 0]; }
    void ReleaseSides();

    // What the last match was: N, the actions played, the action count at
    // which each period was called (-1 never), the shoot-out.
    int GetActionTotal() const { return m_nActionTotal; }
    int GetActionCount() const { return m_nActionCounter; }
    int GetPeriodAction(int nPeriod) const
    {
        return nPeriod >= 0 && nPeriod < QUICKPERIOD_COUNT ? m_anPeriodActions[nPeriod] : -1;
    }
    bool WentToShootOut() const { return m_bShootOut; }

    // The leg state and tie-break rules of a match block, as they stand
    // before play.
    struct LEGRULES {
        bool bTwoLegs = false;
        bool bExtraTime = false;
        bool bGoldenGoal = false;
        bool bShootOut = false;
        bool bAwayGoals = false;
        uint8_t abyFirstLegGoals[2] = {};
    };
    static LEGRULES ReadLegRules(const MATCHPARAMETERS& block);
    // The result code of a score after normal time (MATCHRESULT_HOME when
    // level); false when the tie is level and extra time is to come.
    static bool DecideResult(const LEGRULES& legs, int nHome, int nAway, uint8_t& byResult);

    // The table rules, open to tests.
    static void BuildSixBandTable(OUTCOMETABLE& table, float fValue);
    static void BuildThreeBandTable(OUTCOMETABLE& table, float fValue);
    static int PickFromTable(const OUTCOMETABLE& table);
    // Rating 40-100 from the four components, the cards and goals.
    static int ComputeRating(const CQuickPlayer& player);

    // Outcome codes of the resolvers.
    int ResolvePenalty(CQuickPlayer* pTaker, CQuickPlayer* pGoalkeeper);
    int ResolvePass(CQuickPlayer* pPasser, CQuickPlayer* pTackler);
    int ResolveShot(CQuickPlayer* pShooter, CQuickPlayer* pGoalkeeper, CQuickPlayer* pTackler);
    int ResolveTackle(CQuickPlayer* pHolder, CQuickPlayer* pTackler, int nCardMode);
    int ResolveAttackingHeader(CQuickPlayer* pHeader, CQuickPlayer* pGoalkeeper, CQuickPlayer* pTackler);
    int ResolveThrowIn(CQuickPlayer* pThrower, CQuickPlayer* pOpponent);
    int ResolveHeader(CQuickPlayer* pHolder, CQuickPlayer* pOpponent);
    int ResolveCorner(CQuickPlayer* pTaker, CQuickPlayer* pDefender, CQuickPlayer* pGoalkeeper);
    int ResolveGoalKick(CQuickPlayer* pGoalkeeper, CQuickPlayer* pOpponent);
    int ResolveFreeKick(CQuickPlayer* pTaker, CQuickPlayer* pOpponent);
    int ResolveAttackingFreeKick(CQuickPlayer* pTaker, CQuickPlayer* pGoalkeeper);

    // The holder's choice of action for the attacking side's table.
    int ChooseAction(const CClub* pSide, const CQuickPlayer* pHolder) const;
    CQuickPlayer* PickReceiver(CClub* pSide, const CQuickPlayer* pHolder);
    CQuickPlayer* GetTackler(CClub* pSide, int nAttackerClass);
    // The turnover: the other side attacks with its own current player.
    void SwapPossession();
    CClub* GetAttackingSide() const { return m_pAttacking; }

private:
    void ResetState();
    void BuildSideTables(CClub* pSide);
    void RunAction();
    // The first action count at which a substitution point or a period's
    // mark can next be reached: the counts before it skip the checks.
    int NextMarkCheck() const;
    void TossPossession();
    void SwapAndPick();
    void GiveBall(CClub* pSide, CQuickPlayer* pPlayer);
    void PassToReceiver();
    int GetMinute() const;
    void AddEvent(const CQuickPlayer* pPlayer, int nKind) const;
    void ScoreGoal(CClub* pSide, CQuickPlayer* pScorer, CQuickPlayer* pGoalkeeper, int nEvent);
    void OwnGoal(CQuickPlayer* pDefender);
    void CountShotOnTargetSaved(CQuickPlayer* pGoalkeeper, bool bHeld);

    void ActionPassing();
    void ActionShooting();
    void ActionTackling();
    void ActionHeading();
    void ActionAttackingHeading();
    void ActionThrowin();
    void ActionCornerKick();
    void ActionGoalKick();
    void ActionNormalFreeKick();
    void ActionAttackingFreeKick();
    void ActionPenalty();
    void ActionKickOff();
    void ActionHalfTime();
    void ActionFullTime();
    void ActionExtraTimeHalf();
    void ActionExtraTimeEnd();

    void BookPlayer(CQuickPlayer* pPlayer, bool bSentOff);
    void SendOff(CQuickPlayer* pPlayer);
    void InjureAfterTackle(CQuickPlayer* pHolder);
    bool Substitute(CClub* pSide, CQuickPlayer* pLeaving);
    void TacticalSubstitution(CClub* pSide, int nMargin);
    bool IsDecided();
    void TakeShootOut();
    bool TakeShootOutPenalty(CQuickPlayer* pTaker, CQuickPlayer* pGoalkeeper);
    void FinishMatch(CRefereeDatabase* pReferee);
    void RateSide(CClub* pSide);
    static void MakeSideRecord(const CClub* pSide, MATCHSIDERECORD& record);

    CClub* m_pHomeSide = nullptr;
    CClub* m_pAwaySide = nullptr;
    CClub* m_pAttacking = nullptr;
    CClub* m_pDefending = nullptr;
    CQuickPlayer* m_pHolder = nullptr;
    CQuickPlayer* m_pLastTackler = nullptr;
    MATCHPARAMETERS* m_pFixture = nullptr;
    int m_nAction = 0;
    int m_nActionCounter = 0;
    int m_nActionsSinceKickOff = 0;
    int m_nActionTotal = 0;
    int m_nHalfTimeMark = 0;
    int m_nFullTimeMark = 0;
    int m_nExtraTimeHalfMark = 0;
    int m_nExtraTimeEndMark = 0;
    int m_anSubstitutionPoints[2] = {};
    int m_nNextMarkCheck = 0;
    int m_anPeriodActions[QUICKPERIOD_COUNT] = {};
    float m_fMinutesPerAction = 0.0f;
    uint8_t m_byCompetition = 0;
    uint8_t m_abyFirstLegGoals[2] = {255, 255};
    bool m_bTwoLegs = false;
    bool m_bExtraTimeRule = false;
    bool m_bGoldenGoalRule = false;
    bool m_bAwayGoalsRule = false;
    bool m_bShootOutRule = false;
    bool m_bInExtraTime = false;
    bool m_bFinished = false;
    bool m_bShootOut = false;
    CClub* m_pSecondHalfKickOff = nullptr;
    uint8_t m_byResult = 0;
    MATCHSIDERECORD m_aSideRecords[2];
};
