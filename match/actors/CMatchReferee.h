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

private:
    CMatchAssistantReferee m_Assistant0, m_Assistant1;
    uint32_t m_dwAdvantageStart = 0;
    bool m_bAdvantagePending = false;
    uint8_t m_byLastRestart = MATCHEVENT_KICKOFF;
    MatchCauseRecord m_StoredCause;
    ITEMMATCHRULESINFORMATION m_MatchRules;
    uint8_t m_byCallQuality = CALL_CORRECT;
    CMatchPerson* m_pInjuredPlayer = nullptr;
    uint8_t m_byConsultedAssistant = 0;
};
