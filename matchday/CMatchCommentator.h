#pragma once
// The commentary of a shown match: every event the match screen passes on
// picks a line of the engine's commentary bank (the commentary event is the
// event code, the commentary type its detail, or type 0 when the event has
// fewer types), fills the line's fields with the names of the event (the
// player, the keeper he faces, the teams, the ground, the score ...), keeps
// the text for the commentary list and speaks the line's samples on the
// commentary sound manager.
#include "match/MatchTypes.h"

#include <cstdint>
#include <string>
#include <vector>

class CMatchEngine;

struct MATCHCOMMENTARYTEXT {
    uint8_t byMinute = 0;
    std::string Text;
};

class CMatchCommentator {
public:
    explicit CMatchCommentator(CMatchEngine& engine);

    // The event's line: false (and a log line) when the bank has none for
    // it, or the match has no commentary.
    bool AddToCommentary(const ITEMMATCHEVENTINFORMATION& event);
    // The words a field of the given insertion type stands for in the event;
    // empty for a field the event cannot fill.
    std::string GetInsertion(uint16_t wType, const ITEMMATCHEVENTINFORMATION& event) const;
    // A stored text with its "%s " fields filled in order ("%%" is a per
    // cent sign); fields beyond the insertions given stay empty.
    static std::string FormatText(const char* pszText, const std::vector<std::string>& insertions);

    // The commentary list, oldest first.
    const std::vector<MATCHCOMMENTARYTEXT>& GetLines() const { return m_Lines; }

private:
    CMatchEngine& m_Engine;
    std::vector<MATCHCOMMENTARYTEXT> m_Lines;
};
