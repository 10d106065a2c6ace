#pragma once
// Who hears the events of a running match: the engine hands its one event
// record to the receiver the match screen set (none between matches), every
// event to OnMatchEvent and the incidents of the match's lists (goals,
// cards, substitutions, injuries, penalties, with an incident kind in the
// event byte) to AddPendingEvent. The record is overwritten by the next
// sender, so a receiver copies what it keeps.
#include "match/MatchTypes.h"

class CMatchEventReceiver {
public:
    virtual ~CMatchEventReceiver() = default;
    virtual void OnMatchEvent(const ITEMMATCHEVENTINFORMATION& event) = 0;
    virtual void AddPendingEvent(const ITEMMATCHEVENTINFORMATION& event) = 0;
    // The referee decided the result code of the match.
    virtual void OnMatchResult(uint8_t /*byCode*/) {}
};
