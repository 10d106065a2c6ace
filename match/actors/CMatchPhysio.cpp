#include "match/actors/CMatchPhysio.h"

#include "common/DebugLog.h"
#include "match/CMatchEngine.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint8_t kEventInjury = 31;
constexpr uint8_t kActionSignalling = 18;  // what he does while treating
constexpr uint8_t kPropVisible = 2;

}  // namespace

CMatchPhysio::CMatchPhysio(CMatchEngine& engine) : CMatchPerson(engine, PERSONTYPE_PHYSIO)
{
    SetColour(kDebugColour);
}

CVector CMatchPhysio::PointBesidePatient(float fSideTurn, int32_t nDistance) const
{
    const float a = m_pPatient->GetFacing() + fSideTurn;
    return m_pPatient->GetPosition() +
           CVector(int32_t(float(nDistance) * std::sin(a)), int32_t(float(nDistance) * std::cos(a)), 0);
}

void CMatchPhysio::GoToPerson(CMatchPerson* pPatient)
{
    if (!pPatient) {
        DebugLog(6, "[CMatchPhysio::GoToPerson] No patient");
        return;
    }
    SetActive(true);
    m_pPatient = pPatient;
    SetTarget(PointBesidePatient(float(kPi / 2), kApproachOffset), kNoFacing);
}

void CMatchPhysio::MakeDecision()
{
    const bool bStanding = CAnimationLibrary::IsStandingMoveType(m_byMoveType);
    if (!m_pPatient) {
        if (bStanding && m_vPosition.SquaredDistance2D(m_vBasePosition) < kArrivalRange * kArrivalRange) {
            SetActive(false);
            return;
        }
        SetTarget(m_vBasePosition, kNoFacing);
        return;
    }
    if (m_byAction == kActionSignalling) {
        SetAction(ACTION_NOTHING);
        EndTreatment();
        SetTarget(m_vBasePosition, kNoFacing);
        m_pPatient = nullptr;
        return;
    }
    CVector side = PointBesidePatient(float(kPi / 2), kTreatingOffset);
    if (m_Engine.IsPointOccupied(side, this))
        side = PointBesidePatient(float(-kPi / 2), kTreatingOffset);
    SetTarget(side, kNoFacing);
    if (!bStanding || m_nDistanceToTarget >= kArrivalRange)
        return;
    const float b = float(m_vPosition.GetAngleTo(m_pPatient->GetPosition()));
    double d = double(m_fFacing) - b;
    if (d > kPi)
        d -= 2 * kPi;
    else if (d < -kPi)
        d += 2 * kPi;
    if (std::fabs(d) >= kPi / 4)
        return;  // the base turns him to the patient first
    // Without the spray animation the next decision ends the treatment at
    // once rather than leaving play stopped for a request nobody can play.
    SetAction(kActionSignalling);
    if (SelectRandomAction(kSprayAction)) {
        m_Request.heading = b;
        m_Request.flags = 1;  // keep the heading
    }
}

void CMatchPhysio::SetFacingTarget()
{
    const CVector& to = m_pPatient ? m_pPatient->GetPosition() : m_vTarget;
    m_fFacingTarget = float(std::atan2(double(to.x - m_vPosition.x), double(to.y - m_vPosition.y)));
}

void CMatchPhysio::OnAnimationStep()
{
    MATCHPROP* pCan = m_Engine.GetSprayCan();
    if (!pCan || !m_pModel)
        return;
    D3DMATRIX frame;
    switch (m_pModel->GetCurrentFrameMatrix(&frame)) {
    case 2:
        pCan->byFlags |= kPropVisible;
        pCan->matrix = frame;
        break;
    case 0: case 1: case 3: pCan->byFlags &= uint8_t(~kPropVisible); break;
    default: break;
    }
}

void CMatchPhysio::EndTreatment()
{
    m_pPatient->SetHeldForReferee(false);
    ITEMMATCHEVENTINFORMATION& record = m_Engine.GetEventRecord();
    record.pPerson = m_pPatient;
    record.dwMatchTime = m_Engine.GetEngineClock();
    record.dwGameTime = m_Engine.GetMatchTime();
    record.byEvent = kEventInjury;
    record.byDetail = 0;
    m_Engine.SendMatchEvent();
}
