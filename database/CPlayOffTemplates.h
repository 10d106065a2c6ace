#pragma once
// The play-off templates of Data\Tables\PlayOffs.txt: for a division (its
// country and its place in the country's list, 0 the top) the rounds its
// play-off is played in. A row is one round: country, place, round (0
// first), form (0 one match, 1 two legs, 2 a small league of four), ties,
// the first and second leg's date rules (weekday 0 Sunday, the n-th such day,
// month, years after the season's start year; weekday 255: no second leg)
// and the round's five match rules bytes. A knock-out halves its ties each
// round down to a final of one; a small league is played by four clubs over
// up to six rounds. The reader is strict: a table with any fault is refused
// whole and no division plays off.
#include <cstdint>
#include <vector>

#include "season/CupStructureTable.h"

enum {
    PLAYOFF_FORM_ONE_MATCH = 0,
    PLAYOFF_FORM_TWO_LEGS = 1,
    PLAYOFF_FORM_SMALL_LEAGUE = 2,
};

struct PLAYOFFROUND {
    uint8_t byForm = 0;
    uint8_t byTies = 0;
    CUPROUNDDATE first = {};
    CUPROUNDDATE second = {};
    ITEMCUPMATCHRULES rules = CUP_FRIENDLY_MATCH_RULES;
};

struct PLAYOFFTEMPLATE {
    uint8_t byCountry = 0;
    uint8_t byPlace = 0;
    std::vector<PLAYOFFROUND> Rounds;

    bool IsSmallLeague() const { return !Rounds.empty() && Rounds[0].byForm == PLAYOFF_FORM_SMALL_LEAGUE; }
    // The clubs the first round takes.
    int GetEntrants() const { return Rounds.empty() ? 0 : 2 * Rounds[0].byTies; }
};

class CPlayOffTemplates {
public:
    static constexpr int COLUMNS = 18;
    static constexpr int MAX_ROWS = 64;
    static constexpr int SMALL_LEAGUE_ENTRANTS = 4;
    static constexpr int SMALL_LEAGUE_MAX_ROUNDS = 6;
    static constexpr uint8_t NO_SECOND_LEG = 255;

    // Reads and checks the table; false (logged) leaves no template.
    bool Load(const char* pszPath);
    // Takes rows of COLUMNS values, checked; on a fault nothing is kept and
    // the reason is given with the row (0 first) it was met in.
    const char* Build(const std::vector<std::vector<int64_t>>& rows, int& nBadRow);
    const PLAYOFFTEMPLATE* Find(int nCountry, int nPlace) const;
    int GetCount() const { return static_cast<int>(m_Templates.size()); }

private:
    std::vector<PLAYOFFTEMPLATE> m_Templates;
};
