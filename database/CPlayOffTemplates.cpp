#include "database/CPlayOffTemplates.h"

#include "common/DebugLog.h"
#include "database/CIntegerTable.h"

namespace {

CUPROUNDDATE DateRule(const std::vector<int64_t>& row, size_t nFirst)
{
    return CUPROUNDDATE{static_cast<uint8_t>(row[nFirst]), static_cast<uint8_t>(row[nFirst + 1]),
                        static_cast<uint8_t>(row[nFirst + 2]), static_cast<uint8_t>(row[nFirst + 3])};
}

bool IsDateRule(const CUPROUNDDATE& rule)
{
    return rule.byWeekday <= 6 && rule.byNth >= 1 && rule.byNth <= 5 && rule.byMonth >= 1 && rule.byMonth <= 12 &&
           rule.byYearOffset <= 1;
}

// What is wrong with a whole template, or null.
const char* CheckTemplate(const PLAYOFFTEMPLATE& playOff)
{
    if (playOff.IsSmallLeague()) {
        if (playOff.Rounds.size() > static_cast<size_t>(CPlayOffTemplates::SMALL_LEAGUE_MAX_ROUNDS))
            return "a small league has at most six rounds";
        for (const PLAYOFFROUND& round : playOff.Rounds)
            if (round.byForm != PLAYOFF_FORM_SMALL_LEAGUE || round.byTies * 2 != CPlayOffTemplates::SMALL_LEAGUE_ENTRANTS)
                return "every round of a small league is of its form and holds two matches";
        return nullptr;
    }
    for (size_t i = 0; i < playOff.Rounds.size(); ++i) {
        const PLAYOFFROUND& round = playOff.Rounds[i];
        if (round.byForm == PLAYOFF_FORM_SMALL_LEAGUE)
            return "a knock-out play-off cannot hold a small league round";
        const bool bLast = i + 1 == playOff.Rounds.size();
        if (bLast ? round.byTies != 1 : round.byTies != 2 * playOff.Rounds[i + 1].byTies)
            return "a knock-out halves its ties each round down to a final of one";
    }
    return nullptr;
}

}  // namespace

const char* CPlayOffTemplates::Build(const std::vector<std::vector<int64_t>>& rows, int& nBadRow)
{
    m_Templates.clear();
    std::vector<PLAYOFFTEMPLATE> templates;
    auto fail = [&](int nRow, const char* pszReason) {
        nBadRow = nRow;
        return pszReason;
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::vector<int64_t>& row = rows[i];
        const int nRow = static_cast<int>(i);
        if (row.size() != COLUMNS)
            return fail(nRow, "a row holds 18 values");
        for (int64_t nValue : row)
            if (nValue < 0 || nValue > 255)
                return fail(nRow, "a value out of range");
        PLAYOFFROUND round;
        round.byForm = static_cast<uint8_t>(row[3]);
        round.byTies = static_cast<uint8_t>(row[4]);
        round.first = DateRule(row, 5);
        round.second = DateRule(row, 9);
        round.rules = ITEMCUPMATCHRULES{static_cast<uint8_t>(row[13]), static_cast<uint8_t>(row[14]),
                                        static_cast<uint8_t>(row[15]), static_cast<uint8_t>(row[16]),
                                        static_cast<uint8_t>(row[17])};
        if (round.byForm > PLAYOFF_FORM_SMALL_LEAGUE || round.byTies < 1 || round.byTies > 8)
            return fail(nRow, "a round's form is 0, 1 or 2 and it holds 1 to 8 ties");
        if (!IsDateRule(round.first))
            return fail(nRow, "the first leg's date rule is not a date");
        const bool bSecond = round.second.byWeekday != NO_SECOND_LEG;
        if (bSecond != (round.byForm == PLAYOFF_FORM_TWO_LEGS) || (bSecond && !IsDateRule(round.second)))
            return fail(nRow, "a two-legged round, and only such a round, has a second leg's date rule");
        if (round.rules.byVenue > 3)
            return fail(nRow, "a venue is 0 to 3");
        const auto byCountry = static_cast<uint8_t>(row[0]);
        const auto byPlace = static_cast<uint8_t>(row[1]);
        const bool bNew = templates.empty() || templates.back().byCountry != byCountry ||
                          templates.back().byPlace != byPlace;
        if (bNew) {
            if (templates.size() > 0)
                if (const char* pszReason = CheckTemplate(templates.back()))
                    return fail(nRow - 1, pszReason);
            for (const PLAYOFFTEMPLATE& other : templates)
                if (other.byCountry == byCountry && other.byPlace == byPlace)
                    return fail(nRow, "a division's play-off is given twice");
            templates.push_back(PLAYOFFTEMPLATE{byCountry, byPlace, {}});
        }
        if (row[2] != static_cast<int64_t>(templates.back().Rounds.size()))
            return fail(nRow, "the rounds of a play-off are numbered from 0 in order");
        templates.back().Rounds.push_back(round);
    }
    if (!templates.empty())
        if (const char* pszReason = CheckTemplate(templates.back()))
            return fail(static_cast<int>(rows.size()) - 1, pszReason);
    m_Templates = std::move(templates);
    return nullptr;
}

bool CPlayOffTemplates::Load(const char* pszPath)
{
    m_Templates.clear();
    constexpr CIntegerTable::COLUMNRANGE kByte = {0, 255};
    CIntegerTable table;
    if (!table.ReadUpTo(pszPath, MAX_ROWS, std::vector<CIntegerTable::COLUMNRANGE>(COLUMNS, kByte),
                        "CPlayOffTemplates::Load"))
        return false;
    std::vector<std::vector<int64_t>> rows(static_cast<size_t>(table.GetRowCount()));
    for (int i = 0; i < table.GetRowCount(); ++i)
        for (int c = 0; c < COLUMNS; ++c)
            rows[static_cast<size_t>(i)].push_back(table.Get(i, c));
    int nBadRow = 0;
    if (const char* pszReason = Build(rows, nBadRow)) {
        DebugLog(0, "[CPlayOffTemplates::Load] %s: %s (line %d)", pszPath, pszReason, nBadRow + 1);
        return false;
    }
    return true;
}

const PLAYOFFTEMPLATE* CPlayOffTemplates::Find(int nCountry, int nPlace) const
{
    for (const PLAYOFFTEMPLATE& playOff : m_Templates)
        if (playOff.byCountry == nCountry && playOff.byPlace == nPlace)
            return &playOff;
    return nullptr;
}
