#pragma once
// Where the handling of a match event goes: the commentary line and the
// crowd operations of the running match, and the incident lines on show.
// The match screen connects them to its commentary and the match engine's
// crowd; tests listen to them.
#include "match/MatchTypes.h"

#include <cstdint>

class CMatchClub;
struct ITEMINCIDENTINFORMATION;

class CMatchEventOutput {
public:
    virtual ~CMatchEventOutput() = default;
    virtual void AddToCommentary(const ITEMMATCHEVENTINFORMATION& event) = 0;
    // A crowd sound of a category, due after the delay.
    virtual void QueueCrowdSound(int nCategory, uint32_t dwDelay) = 0;
    // A crowd sound of a category, at once.
    virtual void PlayCrowdSound(int nCategory) = 0;
    // The crowd's mood moved by an event of the club.
    virtual void UpdateCrowdMood(CMatchClub* pClub, int nCode) = 0;
    // The crowd's reaction to an event of the club.
    virtual void PlayCrowdReaction(CMatchClub* pClub, int nCode) = 0;
    // A new line of the home or away incident list.
    virtual void ShowIncident(const ITEMINCIDENTINFORMATION& incident) = 0;
};
