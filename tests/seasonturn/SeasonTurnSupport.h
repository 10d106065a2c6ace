#pragma once
// A small country of three league divisions of six clubs for the season
// turnover, on the people test world (its own working folder).
#include "../countries/CountryTestSupport.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CGroundDatabase.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace seasonturn_test {

using namespace countries_test;

class SmallCountry : public PeopleWorld {
protected:
    void SetUp() override
    {
        PeopleWorld::SetUp();
        m_pCountry = new CCountryDatabase;
        m_pCountry->SetName("Teston");
        m_pCountry->SetID(3);
        m_pCountry->SetLevel(90);
        // Division ids 21, 22, 23 from the top; clubs 1-6, 7-12, 13-18.
        for (int d = 0; d < 3; ++d) {
            CDivisionDatabase* pDivision = MakeDivision(static_cast<uint8_t>(21 + d), static_cast<uint8_t>(d + 1), {});
            for (int c = 1; c <= 6; ++c) {
                auto* pClub = new CClubDatabase;
                pClub->m_wClubId = static_cast<ID_CLUB>(6 * d + c);
                const std::string name = "Club " + std::to_string(6 * d + c);
                pClub->SetName(name.c_str());
                pClub->SetShortName(name.c_str());
                pDivision->AppendClub(pClub);
            }
            pDivision->m_byPromotionZone = d > 0 ? 2 : 0;
            pDivision->m_byRelegationZone = d < 2 ? 2 : 0;
            m_pCountry->AddDivision(pDivision);
        }
        m_handler->AddCountry(m_pCountry);
        m_handler->ResetClubTable(18);
        for (CDivisionDatabase* pDivision : Divisions())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                m_handler->SetClubInTable(pClub->m_wClubId, pClub);
        // Lower ids stand higher in each table.
        SetPoints([](ID_CLUB id) { return 100 - id; });
    }
    void TearDown() override
    {
        for (CGroundDatabase* pGround : m_grounds)
            delete pGround;
        PeopleWorld::TearDown();
    }

    std::vector<CDivisionDatabase*> Divisions() const
    {
        std::vector<CDivisionDatabase*> divisions;
        for (CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>())
            divisions.push_back(pDivision);
        return divisions;
    }
    CDivisionDatabase* Division(int nIndex) const { return Divisions()[static_cast<size_t>(nIndex)]; }
    CClubDatabase* Club(ID_CLUB id) const { return m_handler->GetClubFromID(id); }

    template <typename F>
    void SetPoints(F points)
    {
        for (CDivisionDatabase* pDivision : Divisions()) {
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                pClub->m_byPoints = static_cast<uint8_t>(points(pClub->m_wClubId));
            pDivision->SortLeagueTable(true);
        }
    }

    static std::vector<ID_CLUB> Ids(const CDivisionDatabase* pDivision)
    {
        std::vector<ID_CLUB> ids;
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
            ids.push_back(pClub->m_wClubId);
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    // The reserve club plays at its parent's ground, which the parent shares.
    void MakeReserve(ID_CLUB idParent, ID_CLUB idReserve)
    {
        auto* pGround = new CGroundDatabase;
        m_grounds.push_back(pGround);
        pGround->SetOwner(Club(idParent));
        Club(idParent)->m_pGround = pGround;
        Club(idParent)->m_byGroundOwnership = CLUB_GROUND_SHARED;
        Club(idParent)->m_pTenant = Club(idReserve);
        Club(idReserve)->m_pGround = pGround;
        Club(idReserve)->m_byGroundOwnership = CLUB_GROUND_RENTED;
    }

    static uint16_t ArchiveWord(const DIVISIONARCHIVERECORD* pRecord, int nOffset)
    {
        return static_cast<uint16_t>(pRecord->abyData[nOffset] | (pRecord->abyData[nOffset + 1] << 8));
    }

    CCountryDatabase* m_pCountry = nullptr;
    std::vector<CGroundDatabase*> m_grounds;
};

}  // namespace seasonturn_test
