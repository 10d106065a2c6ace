#pragma once
// Countries with divisions of any size, referees and grounds, built in the
// people test world, for the league fixture and country season tests.
#include "../people/PeopleTestSupport.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CEventsDatabase.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CRefereeDatabase.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace season_test {

using namespace people_test;

class SeasonWorld : public PeopleWorld {
protected:
    // A country owned by the root. A name without a calendar or cups (any
    // but the nine of the world) gives a season free of breaks.
    CCountryDatabase* AddCountry(const char* pszName, ID_COUNTRY id)
    {
        auto* pCountry = new CCountryDatabase;
        pCountry->SetName(pszName);
        pCountry->SetID(id);
        pCountry->SetLevel(80);
        pCountry->InstallDomesticCups();
        pCountry->AttachCupCalendars();
        m_handler->AddCountry(pCountry);
        return pCountry;
    }

    // A league division of nClubs clubs, numbered from the next free club id,
    // each with a ground of its own (capacity rising with the id); the season
    // runs from the second Saturday of August 2001 to the third of May 2002.
    CDivisionDatabase* AddDivision(CCountryDatabase* pCountry, int nClubs, uint8_t byNumber = 1,
                                   uint8_t byMeetings = 0)
    {
        auto* pDivision = new CDivisionDatabase;
        pDivision->SetName(("Division " + std::to_string(byNumber)).c_str());
        pDivision->m_byDivisionId = static_cast<uint8_t>(++m_nDivisions);
        pDivision->m_byDivisionNumber = byNumber;
        pDivision->m_byMeetingsRule = byMeetings;
        pDivision->m_bySeasonWeekday = 6;
        pDivision->m_byMidweekWeekday = 3;
        pDivision->m_byStartMonth = 8;
        pDivision->m_byStartWeek = 2;
        pDivision->m_byEndMonth = 5;
        pDivision->m_byEndWeek = 3;
        pDivision->m_SeasonStart = CDate(2001, 8, 11);
        pDivision->m_SeasonEnd = CDate(2002, 5, 18);
        pCountry->AddDivision(pDivision);
        for (int i = 0; i < nClubs; ++i) {
            auto* pClub = new CClubDatabase;
            pClub->m_wClubId = static_cast<ID_CLUB>(++m_nClubs);
            pClub->SetName(("Club " + std::to_string(pClub->m_wClubId)).c_str());
            pClub->m_wHomeGroundId = static_cast<ID_GROUND>(100 + pClub->m_wClubId);
            auto pGround = std::make_unique<CGroundDatabase>();
            pGround->SetID(pClub->m_wHomeGroundId);
            pGround->SetCapacity(1000 * pClub->m_wClubId);
            pGround->SetOwner(pClub);
            pClub->m_pGround = pGround.get();
            m_grounds.push_back(std::move(pGround));
            pDivision->AppendClub(pClub);
        }
        pDivision->UpdateGameCounts();
        return pDivision;
    }

    void AddReferees(CCountryDatabase* pCountry, int nCount)
    {
        for (int i = 0; i < nCount; ++i) {
            auto* pReferee = new CRefereeDatabase;
            pReferee->Set(static_cast<uint16_t>(++m_nReferees), 'R', 0);
            pCountry->AddReferee(pReferee);
        }
    }

    static std::vector<const CDivisionFixturesDatabase*> Fixtures(const CDivisionDatabase& division)
    {
        std::vector<const CDivisionFixturesDatabase*> fixtures;
        for (const CDivisionFixturesDatabase* p : division.m_lstFixtures.Items<CDivisionFixturesDatabase>())
            fixtures.push_back(p);
        return fixtures;
    }

    std::vector<std::unique_ptr<CGroundDatabase>> m_grounds;
    int m_nClubs = 0;
    int m_nDivisions = 0;
    int m_nReferees = 0;
};

}  // namespace season_test
