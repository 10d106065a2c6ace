#include "tools/worldtool/ResultsLog.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "season/CupStructureTable.h"

#include <system_error>

namespace fs = std::filesystem;

namespace tools {

ResultsLog::~ResultsLog()
{
    if (m_pFile) {
        std::fclose(m_pFile);
        std::error_code error;
        fs::remove(m_partial, error);
    }
}

bool ResultsLog::open(const fs::path& file)
{
    m_file = file;
    m_partial = file.string() + ".partial";
    m_pFile = std::fopen(m_partial.c_str(), "w");
    if (m_pFile)
        std::fputs("date,competition,home,away,home_goals,away_goals\n", m_pFile);
    return m_pFile != nullptr;
}

std::string ResultsLog::quote(const std::string& field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string ResultsLog::competitionName(const CDatabaseHandler& handler, uint8_t byCupNumber)
{
    if (byCupNumber == CUP_NUMBER_NONE)
        return "friendly";
    const int nCountry = GetCupNumberCountry(byCupNumber);
    const int nKind = GetCupNumberKind(byCupNumber);
    std::string owner = CUP_OWNER_EUROPEAN;
    if (nCountry != 0) {
        const CCountryDatabase* pCountry = handler.GetCountryFromID(static_cast<ID_COUNTRY>(nCountry));
        owner = pCountry ? pCountry->GetName() : "country " + std::to_string(nCountry);
    }
    // European kind 1 is the first European cup, kind 0 the second. At home
    // kind 0 is the country's only cup, except where a kind-1 cup stands
    // beside it: that one is the country's cup and kind 0 its league cup.
    const bool bTwoCups = nCountry != 0 && GetCupStructureRecord(CUP_KIND_1, owner.c_str()) != nullptr;
    switch (nKind) {
    case CUP_KIND_0:
        return owner + (nCountry == 0 ? " second cup" : (bTwoCups ? " league cup" : " cup"));
    case CUP_KIND_1:
        return owner + " cup";
    case CUP_KIND_SUPER:
        return owner + " super cup";
    case CUP_KIND_5:
        return owner + " lower-division cup";
    default:
        return owner + " cup " + std::to_string(nKind);
    }
}

void ResultsLog::add(const CDatabaseHandler& handler, const CDate& date, const std::string& competition,
                     uint16_t wHome, uint16_t wAway, int nHomeGoals, int nAwayGoals)
{
    ++m_nMatches;
    m_nGoals += nHomeGoals + nAwayGoals;
    if (!m_pFile)
        return;
    auto clubName = [&handler](uint16_t wClub) {
        const CClubDatabase* pClub = handler.GetClubFromID(wClub);
        return quote(pClub ? pClub->GetName() : "club " + std::to_string(wClub));
    };
    std::fprintf(m_pFile, "%04d-%02d-%02d,%s,%s,%s,%d,%d\n", date.GetYear(), date.GetMonth(), date.GetDay(),
                 quote(competition).c_str(), clubName(wHome).c_str(), clubName(wAway).c_str(), nHomeGoals,
                 nAwayGoals);
}

void ResultsLog::addPlayedUpTo(const CDatabaseHandler& handler, const CDate& today)
{
    auto due = [this, &today](const CDate& date) { return date > m_lastDate && date <= today; };
    auto addCupFixtures = [&](const CXList& fixtures) {
        for (const CCupFixturesDatabase* p : fixtures.Items<CCupFixturesDatabase>())
            if (p->IsPlayed() && due(p->GetDate()))
                add(handler, p->GetDate(), competitionName(handler, p->GetCupNumber()), p->GetHomeClubID(),
                      p->GetAwayClubID(), p->GetHomeGoals(), p->GetAwayGoals());
    };
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>()) {
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
                if (p->IsPlayed() && due(p->GetDate()))
                    add(handler, p->GetDate(), "league", p->GetHomeClubID(), p->GetAwayClubID(),
                          p->GetHomeGoals(), p->GetAwayGoals());
        addCupFixtures(pCountry->GetCupFixtures());
    }
    addCupFixtures(handler.GetCupFixtures());
    m_lastDate = today;
}

bool ResultsLog::close()
{
    if (!m_pFile)
        return false;
    bool bWritten = std::ferror(m_pFile) == 0;
    if (std::fclose(m_pFile) != 0)
        bWritten = false;
    m_pFile = nullptr;
    std::error_code error;
    if (bWritten)
        fs::rename(m_partial, m_file, error);
    if (!bWritten || error) {
        fs::remove(m_partial, error);
        return false;
    }
    return true;
}

}  // namespace tools
