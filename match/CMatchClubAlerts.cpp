// The alerts a club's players raise: low fitness, high anger, low morale.
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"

namespace {

constexpr uint8_t kAlertBits[3] = {CMatchPlayer::ALERTBIT_FITNESS, CMatchPlayer::ALERTBIT_ANGER,
                                   CMatchPlayer::ALERTBIT_MORALE};

}  // namespace

void CMatchClub::UpdateAlerts()
{
    m_Engine.ReadAlertOptions();
    for (int i = 0; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = m_apSlots[i].get();
        if (!p)
            continue;
        const uint8_t byBits = p->UpdateAlertIcons();
        for (int a = 0; a < 3; ++a)
            if ((byBits & kAlertBits[a]) && !(m_byAlertBits & kAlertBits[a])) {
                m_byAlertBits |= kAlertBits[a];
                m_apAlertPlayers[a] = p;
                m_adwAlertTimes[a] = m_Engine.GetMatchTime();
            }
    }
    for (int i = m_nOnPitch; i < m_nSquadCount; ++i)
        if (CMatchPlayer* p = m_apSlots[i].get())
            p->ClearAlertIcons();
    for (int a = 0; a < 3; ++a) {
        if (!(m_byAlertBits & kAlertBits[a]))
            continue;
        const CMatchPlayer* pRaiser = m_apAlertPlayers[a];
        bool bOnPitch = false;
        for (int i = 0; i < m_nOnPitch && !bOnPitch; ++i)
            bOnPitch = m_apSlots[i].get() == pRaiser;
        if (!bOnPitch || !(pRaiser->GetAlertBits() & kAlertBits[a])) {
            m_byAlertBits &= uint8_t(~kAlertBits[a]);
            m_apAlertPlayers[a] = nullptr;
        }
    }
}

CMatchPlayer* CMatchClub::GetAlertPlayer(int nAlert, uint32_t dwWindow) const
{
    if (nAlert < 0 || nAlert >= 3 || !(m_byAlertBits & kAlertBits[nAlert]))
        return nullptr;
    return m_Engine.GetMatchTime() - m_adwAlertTimes[nAlert] < dwWindow ? m_apAlertPlayers[nAlert] : nullptr;
}
