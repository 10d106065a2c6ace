#pragma once
// The match-day side of a shown match's events: every event the engine, the
// ball and the actors report becomes a commentary line, whistles and crowd
// sounds and a move of the crowd's mood (OnMatchEvent, by its event code),
// and every incident becomes one or two lines of the home and away incident
// lists (AddPendingEvent), which the handler keeps until the match is
// recorded.
#include "match/CCrowdSounds.h"
#include "match/CMatchEventReceiver.h"
#include "matchday/MatchIncidents.h"

#include <cstdint>
#include <vector>

class CMatchClub;
class CMatchEventOutput;
class CMatchPerson;

class CMatchEventHandler : public CMatchEventReceiver {
public:
    // The handling goes to the output.
    explicit CMatchEventHandler(CMatchEventOutput& output);

    void OnMatchEvent(const ITEMMATCHEVENTINFORMATION& event) override;
    void AddPendingEvent(const ITEMMATCHEVENTINFORMATION& event) override;

    // The lines of an incident: none without an actor (or for a
    // substitution without the player going off), else the actor's line and,
    // for a substitution or an injury with a second person, his going-off
    // line. Answers how many of the two were filled.
    static int AddEventToListBox(const ITEMMATCHEVENTINFORMATION& event, ITEMINCIDENTINFORMATION& first,
                                 ITEMINCIDENTINFORMATION& second);
    // The minute shown for a game time: the first minute is minute 1.
    static uint8_t GetMinute(uint32_t dwGameTime);
    // The side of the match a person plays for; null for the officials.
    static CMatchClub* GetClubOfPerson(const CMatchPerson* pPerson);
    static CPlayerDatabase* GetPlayerOfPerson(const CMatchPerson* pPerson);

    // The incident list of the match, in the order the lines came.
    const std::vector<ITEMINCIDENTINFORMATION>& GetIncidents() const { return m_Incidents; }

private:
    static bool IsHomePlayer(const CMatchPerson* pPerson);
    void Queue(int nCategory, uint32_t dwDelay = 0);
    void Mood(const ITEMMATCHEVENTINFORMATION& event, int nCode);
    void Reaction(const ITEMMATCHEVENTINFORMATION& event);

    CMatchEventOutput& m_Output;
    std::vector<ITEMINCIDENTINFORMATION> m_Incidents;
};
