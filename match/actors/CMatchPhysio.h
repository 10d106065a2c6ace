#pragma once
// The physio of a 3-D match, the one person who belongs to neither club. He
// waits out of the match update beside the pitch; when the referee stops play
// for an injured player he walks to the player's side, treats him with the
// spray can in his hand, lets the referee restart and walks back, dropping out
// of the update again once he is at his place.
#include "match/actors/CMatchPerson.h"

class CMatchPhysio : public CMatchPerson {
public:
    static constexpr uint32_t kDebugColour = 0x00FF00;
    // How far from the patient he first heads for, and where he treats.
    static constexpr int32_t kApproachOffset = 50;
    static constexpr int32_t kTreatingOffset = 100;
    // Within this of a place he counts as there.
    static constexpr int32_t kArrivalRange = 70;
    static constexpr uint8_t kSprayAction = 56;

    explicit CMatchPhysio(CMatchEngine& engine);

    // The referee sends him to an injured person; a second call replaces
    // the patient.
    void GoToPerson(CMatchPerson* pPatient);
    CMatchPerson* GetPatient() const { return m_pPatient; }

    void MakeDecision() override;
    void SetFacingTarget() override;
    // The spray can follows his hand while the spray animation runs.
    void OnAnimationStep() override;

private:
    // The point beside the patient on the side of angle offset, d away.
    CVector PointBesidePatient(float fSideTurn, int32_t nDistance) const;
    void EndTreatment();

    CMatchPerson* m_pPatient = nullptr;
};
