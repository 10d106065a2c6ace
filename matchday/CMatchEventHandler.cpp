#include "matchday/CMatchEventHandler.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "match/CMatchClub.h"
#include "match/actors/CMatchPlayer.h"
#include "matchday/CMatchEventOutput.h"

CMatchEventHandler::CMatchEventHandler(CMatchEventOutput& output) : m_Output(output) {}

uint8_t CMatchEventHandler::GetMinute(uint32_t dwGameTime)
{
    return static_cast<uint8_t>(std::min<uint32_t>(dwGameTime / 60000 + 1, 255));
}

CMatchClub* CMatchEventHandler::GetClubOfPerson(const CMatchPerson* pPerson)
{
    if (!pPerson || pPerson->GetPersonType() != PERSONTYPE_FOOTBALLER)
        return nullptr;
    return static_cast<const CMatchPlayer*>(pPerson)->GetClub();
}

CPlayerDatabase* CMatchEventHandler::GetPlayerOfPerson(const CMatchPerson* pPerson)
{
    if (!pPerson || pPerson->GetPersonType() != PERSONTYPE_FOOTBALLER)
        return nullptr;
    return static_cast<const CMatchPlayer*>(pPerson)->GetRecord();
}

bool CMatchEventHandler::IsHomePlayer(const CMatchPerson* pPerson)
{
    const CMatchClub* pClub = GetClubOfPerson(pPerson);
    return pClub && pClub->IsHome();
}

void CMatchEventHandler::Queue(int nCategory, uint32_t dwDelay)
{
    m_Output.QueueCrowdSound(nCategory, dwDelay);
}

void CMatchEventHandler::Mood(const ITEMMATCHEVENTINFORMATION& event, int nCode)
{
    if (CMatchClub* pClub = GetClubOfPerson(event.pPerson))
        m_Output.UpdateCrowdMood(pClub, nCode);
}

void CMatchEventHandler::Reaction(const ITEMMATCHEVENTINFORMATION& event)
{
    if (CMatchClub* pClub = GetClubOfPerson(event.pPerson))
        m_Output.PlayCrowdReaction(pClub, event.byEvent);
}

void CMatchEventHandler::OnMatchEvent(const ITEMMATCHEVENTINFORMATION& event)
{
    const int nCode = event.byEvent;
    const int nDetail = event.byDetail;
    switch (nCode) {
    case 0:
    case 15:  // a period announced: as the crowd before kick-off
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_ANNOUNCEMENTS);
        break;
    case 1:
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_START);
        break;
    case 2:
    case 32:
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_CROWDHAPPY);
        break;
    case 4:
        m_Output.PlayCrowdSound(CROWDSOUND_WHISTLELONG);
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_HALFTIME);
        break;
    case 5:
    case 27:
        m_Output.AddToCommentary(event);
        Reaction(event);
        break;
    case 6:
    case 31:  // an injury: as a booking
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_CROWDANGRY);
        break;
    case 7:
    case 12:
        Mood(event, nCode);
        m_Output.PlayCrowdSound(CROWDSOUND_WHISTLEMEDIUM);
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_FOUL);
        break;
    case 8:
        m_Output.AddToCommentary(event);
        Queue(nDetail == 5 ? CROWDSOUND_CHANTS : CROWDSOUND_BREAKDOWN);
        break;
    case 9:
    case 16:
        if (nDetail != 5 && nDetail != 2)
            m_Output.PlayCrowdSound(CROWDSOUND_WHISTLEMEDIUM);
        Reaction(event);
        m_Output.AddToCommentary(event);
        break;
    case 10:
    case 24:
        m_Output.PlayCrowdSound(CROWDSOUND_WHISTLESHORT);
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_CROWDNOISE);
        break;
    case 11:
        m_Output.PlayCrowdSound(CROWDSOUND_WHISTLEMEDIUM);
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_BREAKDOWN);
        break;
    case 13:
    case 29:
        m_Output.PlayCrowdSound(CROWDSOUND_WHISTLELONG);
        if (nCode == 29 && nDetail == 2) {
            Queue(CROWDSOUND_DISALLOWED);
        } else if (event.pPerson) {
            Queue(CROWDSOUND_GOAL);
            Mood(event, nCode);
        }
        m_Output.AddToCommentary(event);
        break;
    case 14:
        m_Output.AddToCommentary(event);
        if (nDetail == 0 || nDetail == 1) {
            Queue(CROWDSOUND_GOAL);
            Mood(event, nCode);
        } else if (nDetail != 4) {
            // A miss moves the crowd as a ball closed for a cause does.
            Queue(CROWDSOUND_MISS);
            Mood(event, 21);
        }
        break;
    case 17:
        m_Output.PlayCrowdSound(CROWDSOUND_WHISTLEMEDIUM);
        if (CMatchClub* pClub = GetClubOfPerson(event.pSecondPerson))
            m_Output.UpdateCrowdMood(pClub, 17);
        if (nDetail == 1) {
            if (IsHomePlayer(event.pPerson))
                Queue(CROWDSOUND_CROWDUNHAPPY);
        } else if (nDetail == 4 || nDetail == 7) {
            Queue(CROWDSOUND_GOAL);
        } else if (nDetail == 5 || nDetail == 6 || nDetail == 8) {
            Queue(CROWDSOUND_MISS);
        }
        m_Output.AddToCommentary(event);
        break;
    case 18:
        m_Output.PlayCrowdSound(CROWDSOUND_WHISTLEMEDIUM);
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_DECISIONS);
        break;
    case 19:
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_FINISH);
        break;
    case 20:
        m_Output.AddToCommentary(event);
        Queue(IsHomePlayer(event.pPerson) ? CROWDSOUND_SCORER : CROWDSOUND_CROWDUNHAPPY);
        break;
    case 21:
        m_Output.AddToCommentary(event);
        Queue(nDetail != 0 ? CROWDSOUND_MISS : CROWDSOUND_GOAL);
        Mood(event, nCode);
        break;
    case 22:
        m_Output.PlayCrowdSound(CROWDSOUND_WHISTLESHORT);
        m_Output.AddToCommentary(event);
        Reaction(event);
        break;
    case 23:
        m_Output.PlayCrowdSound(CROWDSOUND_WHISTLEMEDIUM);
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_CROWDNOISE);
        Mood(event, nCode);
        break;
    case 25:
    case 26:
        Mood(event, nCode);
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_CHANTS);
        break;
    case 28:
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_BREAKDOWN);
        break;
    case 30:
        m_Output.AddToCommentary(event);
        Queue(nDetail == 3 ? CROWDSOUND_CROWDUNHAPPY : CROWDSOUND_CROWDHAPPY, 3000);
        Queue(CROWDSOUND_SUBSTITUTION, 20000);
        break;
    case 34:
        m_Output.AddToCommentary(event);
        Queue(CROWDSOUND_CROWDNOISE);
        break;
    default:
        DebugLog(0, "[CClientMatch::OnMatchEvent] Unhandled Match Event: %d", nCode);
        break;
    }
}

int CMatchEventHandler::AddEventToListBox(const ITEMMATCHEVENTINFORMATION& event, ITEMINCIDENTINFORMATION& first,
                                          ITEMINCIDENTINFORMATION& second)
{
    CPlayerDatabase* pPlayer = GetPlayerOfPerson(event.pPerson);
    if (!pPlayer) {
        DebugLog(0, "ClientMatch::GenerateEvent() - pActor not setup");
        return 0;
    }
    const uint8_t byKind = event.byEvent;
    if (byKind >= INCIDENT_KIND_COUNT) {
        DebugLog(0, "[CClientMatch::AddEventToListBox] Unknown incident kind %d: no line", byKind);
        return 0;
    }
    const uint8_t byMinute = GetMinute(event.dwGameTime);
    bool bHome = IsHomePlayer(event.pPerson);
    // An own goal counts for the other side.
    if (byKind == INCIDENT_OWN_GOAL)
        bHome = !bHome;
    CPlayerDatabase* pSecond = GetPlayerOfPerson(event.pSecondPerson);
    if (byKind == INCIDENT_SUBSTITUTION && !pSecond) {
        DebugLog(0, "ClientMatch::AddEventToListBox() - pVictimPlayer not setup for sub");
        return 0;
    }
    first = {pPlayer, byMinute, byKind, static_cast<uint8_t>(bHome)};
    if ((byKind == INCIDENT_SUBSTITUTION || byKind == INCIDENT_INJURED) && pSecond) {
        second = {pSecond, byMinute, INCIDENT_GOING_OFF, static_cast<uint8_t>(bHome)};
        return 2;
    }
    return 1;
}

void CMatchEventHandler::AddPendingEvent(const ITEMMATCHEVENTINFORMATION& event)
{
    ITEMINCIDENTINFORMATION lines[2];
    const int nLines = AddEventToListBox(event, lines[0], lines[1]);
    for (int i = 0; i < nLines; ++i) {
        m_Incidents.push_back(lines[i]);
        m_Output.ShowIncident(lines[i]);
    }
}
