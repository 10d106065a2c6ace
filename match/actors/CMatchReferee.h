#pragma once
// The official who runs a 3-D match: he judges every possible offence the
// engine reports (his two assistants, whom he carries, judge it first),
// consults an assistant when his own view was poor, plays advantage after a
// foul on a side that keeps the ball, chooses the whistle signal and takes
// up his place for open play and for each restart.
#include "match/actors/CMatchAssistantReferee.h"
#include "match/MatchTypes.h"

#include <cstdint>

class CMatchReferee : public CMatchAssistantReferee {
public:
    static constexpr int32_t kRadius = 3400;
    static constexpr uint32_t kAdvantageWindow = 2000;
    // How long he may take to stop and turn for a signal or a card (engine
    // clock, ms) before he gives it all the same.
    static constexpr uint32_t kTurnWaitLimit = 1500;
    // The whistle signals of the action table.
    enum : uint8_t { SIGNAL_WHISTLE_LEFT = 49, SIGNAL_WHISTLE_RIGHT = 50, SIGNAL_WHISTLE_FORWARD = 51 };
    // The call on the last record: 0 correct, 1 a real offence missed, 2 given though not real.
    enum : uint8_t { CALL_CORRECT = 0, CALL_MISSED = 1, CALL_WRONG = 2 };
    static constexpr uint8_t DECISION_CONSULT_ASSISTANT = 20;
    static constexpr uint8_t DECISION_FRUSTRATION = 22;

    CMatchReferee(CMatchEngine& engine, const ITEMMATCHRULESINFORMATION& rules);

    CMatchAssistantReferee& GetAssistant(int nSide) { return nSide ? m_Assistant1 : m_Assistant0; }

    void MakeDecision() override;
    float AssessPosition(const CVector& point) override;
    void ChooseSpeedGrade() override;
    void SetFacingTarget() override;
    // Both assistants judge the record first; then his own view, or the
    // verdict of the assistant with the better view when his was poor.
    void CheckForCause(const MatchCauseRecord& record) override;

    // Where he stands for the current event.
    void TakeUpPosition();
    // True while he holds the signal back to ask the assistant.
    bool ConsultAssistant();
    // True while advantage is played on after a foul.
    bool CheckAdvantage();
    bool IsAdvantageGained() const;
    // The whistle and the direction it is given for the resolved cause.
    void SelectSignal();
    void GiveSignal();
    // A resolved cause whose signal is still to come.
    bool IsCausePending() const;

    uint8_t GetBelief() const { return m_byBelief; }
    uint8_t GetCallQuality() const { return m_byCallQuality; }
    bool IsAdvantagePending() const { return m_bAdvantagePending; }
    uint8_t GetConsultedAssistant() const { return m_byConsultedAssistant; }
    const MatchCauseRecord& GetStoredCause() const { return m_StoredCause; }
    uint8_t GetSignalAnimation() const { return m_bySignalAnimation; }
    float GetSignalAngle() const { return m_fSignalAngle; }
    uint8_t GetLastRestart() const { return m_byLastRestart; }
    const ITEMMATCHRULESINFORMATION& GetMatchRules() const { return m_MatchRules; }
    CMatchPerson* GetInjuredPlayer() const { return m_pInjuredPlayer; }
    void SetInjuredPlayer(CMatchPerson* pPlayer) { m_pInjuredPlayer = pPlayer; }

    // Restarts, periods and result (CMatchRefereeRestarts.cpp).
    // Result reasons: end of play, end of a shoot-out, golden goal.
    enum : uint8_t { RESULT_END_OF_PLAY = 0, RESULT_SHOOTOUT = 0x10, RESULT_GOLDEN_GOAL = 0x20 };
    // Bits of the first rules byte.
    enum : uint8_t { RULE_EXTRA_TIME = 0x01, RULE_AGGREGATE = 0x04, RULE_AWAY_GOALS = 0x08, RULE_SHOOTOUT = 0x10,
                     RULE_GOLDEN_GOAL = 0x20 };
    static constexpr int kSubstitutionSlots = 7;

    // Period 0 with the first kick-off prepared.
    void StartMatch();
    // The state step of each decision: half time, period ends, open play,
    // the restart being prepared and the one just taken.
    void UpdateMatchState();
    void SetEventFromCause();
    void SetupKickOff();
    void SetupFreeKick();
    void SetupThrowIn();
    void SetupGoalKick();
    void SetupCorner();
    void SetupDirectFreeKick();
    void SetupPenalty();
    void CheckEventState();
    bool IsEventSetup();
    void CheckTimeWasting();
    // 101 before the grace time of the restart, then falling to 0 over its window.
    uint32_t GetRestartPatience() const;
    // The event player played the ball.
    void OnRestartTaken();
    bool UpdateAfterRestart();
    void SetPeriod(uint8_t byPeriod);
    bool CheckPeriodEnd();
    void DecideResult(uint8_t byReason);
    // Cards: 0 none, 1 yellow, 2 second yellow, 3 red, for the offender.
    void SetCardLevel(uint8_t byLevel);
    uint8_t GetCardLevel() const { return m_byCardLevel; }
    // A substitution asked for by a club (0 home, 1 away): the bench slot
    // and the slot of the player to take off.
    void RequestSubstitution(int nSide, int nSlot, int nOffIndex);
    bool GetSubstitutionInProgress(CMatchPlayer** ppOff, CMatchPlayer** ppOn) const;
    uint32_t GetSubstitutionState() const { return m_dwSubstitutionState; }

    CMatchPlayer* GetEventPlayer() const { return m_pEventPlayer; }
    CMatchPlayer* GetSecondEventPlayer() const { return m_pSecondEventPlayer; }
    CMatchPlayer* GetLastTaker() const { return m_pLastTaker; }
    // A player leaving hands his restart role to the one named.
    void ReplaceEventPlayer(CMatchPlayer* pPlayer) { m_pEventPlayer = pPlayer; }
    void ReplaceSecondEventPlayer(CMatchPlayer* pPlayer) { m_pSecondEventPlayer = pPlayer; }
    const CVector& GetSecondEventPosition() const { return m_vSecondEventPosition; }
    uint8_t GetPreviousRestart() const { return m_byPreviousRestart; }
    bool IsSetupComplete() const { return m_bSetupComplete; }
    uint32_t GetAddedTime() const { return m_dwAddedTime; }
    int32_t GetShootOutKicksRemaining() const { return m_nShootOutKicksRemaining; }
    CMatchClub* GetFirstKickOffClub() const { return m_pFirstKickOffClub; }
    void SetRestartClub(CMatchClub* pClub) { m_pRestartClub = pClub; }
    void SetCause(uint8_t byCause, CMatchPlayer* pOffender, const CVector& position)
    {
        m_byResolvedCause = byCause, m_pOffender = pOffender, m_vCausePosition = position;
    }
    uint32_t GetTimeSinceSetup() const;
    uint32_t GetTimeSinceEventStart() const;
    // 0 while no restart is followed.
    uint32_t GetTimeSinceRestartTaken() const;
    // How long the ball has been in open play since the last restart was let go; 0 otherwise.
    uint32_t GetTimeInPlay() const;
    // "First Half" ... for the current period; the name of the last restart.
    const char* GetPeriodName() const;
    const char* GetEventName() const { return GetMatchEventName(m_byLastRestart); }

private:
    // Restart helpers.
    void ClearEventRoles();
    void BeginRestart(uint8_t byEvent, const CVector& position, const CVector& second, bool bSecondPlayer,
                      CMatchClub* pSecondClub);
    bool IsInAttackedBox(const CVector& point) const;
    void RaiseEvent(uint8_t byCode, uint8_t byDetail, CMatchPerson* pPerson, CMatchPerson* pSecond);
    void AddIncident(uint8_t byKind, CMatchPerson* pPerson, CMatchPerson* pSecond, uint32_t dwTime);
    void StartStoppage();
    void CloseStoppage();
    void CarryOutSubstitutions();
    void RunShootOutKick();
    void SetFollowed(uint8_t byRestart);
    bool ShowCard();
    // The card's events and records; the card is then done with.
    void BookOffender();
    void UpdateOpenPlay();

    CMatchAssistantReferee m_Assistant0, m_Assistant1;
    uint32_t m_dwAdvantageStart = 0;
    bool m_bAdvantagePending = false;
    uint8_t m_byLastRestart = MATCHEVENT_KICKOFF;
    MatchCauseRecord m_StoredCause;
    ITEMMATCHRULESINFORMATION m_MatchRules;
    uint8_t m_byCallQuality = CALL_CORRECT;
    CMatchPerson* m_pInjuredPlayer = nullptr;
    uint8_t m_byConsultedAssistant = 0;
    // When he began waiting to give the signal (engine clock); he signals
    // plainly once that wait runs out, so a decision is never left hanging.
    bool m_bWaitingToSignal = false;
    uint32_t m_dwSignalWaitStart = 0;
    // The same for the card: in open play his place is rated by the ball,
    // so he may never come to rest beside the offender.
    bool m_bWaitingToBook = false;
    uint32_t m_dwBookingWaitStart = 0;

    struct SUBSTITUTIONSLOT {
        uint8_t byOffIndex = 255;
        bool bPending = false;
    };
    uint8_t m_byPreviousRestart = MATCHEVENT_NONE;
    CMatchPlayer* m_pEventPlayer = nullptr;
    CMatchPlayer* m_pLastTaker = nullptr;
    CMatchPlayer* m_pSecondEventPlayer = nullptr;
    CVector m_vSecondEventPosition;
    uint32_t m_dwAddedTime = 0;
    uint32_t m_dwSetupTime = 0;
    uint32_t m_dwSetupClock = 0;
    uint32_t m_dwEventStartTime = 0;
    uint32_t m_dwInPlaySince = 0;
    uint32_t m_dwRestartTakenTime = 0;
    uint32_t m_dwStoppageStart = 0;
    bool m_bStoppageRunning = false;
    uint32_t m_dwSubstitutionState = 0;
    CMatchPlayer* m_pSubstitutionOn = nullptr;
    CMatchPlayer* m_pSubstitutionOff = nullptr;
    SUBSTITUTIONSLOT m_aSubstitutions[2][kSubstitutionSlots];
    bool m_bSetupComplete = false;
    int32_t m_nShootOutKicksRemaining = 0;
    uint32_t m_dwShootOutSlot = 0;
    uint8_t m_byCardLevel = 0;
    bool m_abAddedTimeAnnounced[2] = {};
    CMatchClub* m_pFirstKickOffClub = nullptr;
};
