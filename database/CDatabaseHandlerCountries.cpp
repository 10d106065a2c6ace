// The root's side of the countries and cups: their class-wide root pointer,
// the country, division and referee lookups over the countries, the cup
// number lookup and the root's own cup and friendly fixture list.
#include <algorithm>
#include <vector>

#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CRefereeDatabase.h"

CDatabaseHandler::COUNTRIESLINK::COUNTRIESLINK(CDatabaseHandler* pHandler)
{
    CCountryDatabase::m_pDatabaseHandler = pHandler;
    CNewspaperStoryList::SetDatabaseHandler(pHandler);
    CNewspaperManager::SetDatabaseHandler(pHandler);
    CEuropeanCupDatabase::SetDatabaseHandler(pHandler);
}

CDatabaseHandler::COUNTRIESLINK::~COUNTRIESLINK()
{
    CCountryDatabase::m_pDatabaseHandler = nullptr;
    CNewspaperStoryList::SetDatabaseHandler(nullptr);
    CNewspaperManager::SetDatabaseHandler(nullptr);
    CEuropeanCupDatabase::SetDatabaseHandler(nullptr);
}

CCountryDatabase* CDatabaseHandler::GetCountryFromID(ID_COUNTRY idCountry, LPXLISTNODE* ppNext) const
{
    LPXLISTNODE pNode;
    CCountryDatabase* pCountry = m_lstCountries.FindItem<CCountryDatabase>(
        [&](const CCountryDatabase* p) { return p->GetID() == idCountry; }, &pNode);
    if (ppNext)
        *ppNext = pNode ? pNode->pNext : nullptr;
    return pCountry;
}

CCountryDatabase* CDatabaseHandler::GetCountryFromSecondID(uint8_t bySecondID, LPXLISTNODE* ppNext) const
{
    LPXLISTNODE pNode;
    CCountryDatabase* pCountry = m_lstCountries.FindItem<CCountryDatabase>(
        [&](const CCountryDatabase* p) { return p->GetSecondID() == bySecondID; }, &pNode);
    if (ppNext)
        *ppNext = pNode ? pNode->pNext : nullptr;
    return pCountry;
}

void CDatabaseHandler::AddCountry(CCountryDatabase* pCountry)
{
    m_lstCountries.AddTail(pCountry);
    ++m_nCountryCount;
    m_nDivisionTotal += pCountry->GetDivisions().GetCount();
}

CDivisionDatabase* CDatabaseHandler::GetDivisionFromID(uint8_t byDivisionID) const
{
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        if (CDivisionDatabase* pDivision = pCountry->FindDivision(byDivisionID))
            return pDivision;
    return nullptr;
}

CRefereeDatabase* CDatabaseHandler::FindReferee(uint16_t wRefereeID) const
{
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        if (CRefereeDatabase* pReferee = pCountry->GetRefereeFromID(wRefereeID))
            return pReferee;
    return nullptr;
}

CUP* CDatabaseHandler::GetCupFromCupNumber(CUP_NUMBER byCup) const
{
    if (byCup == CUP_NUMBER_NONE)
        return nullptr;
    const int nKind = byCup / 20;
    const ID_COUNTRY idCountry = static_cast<ID_COUNTRY>(byCup % 20);
    if (idCountry == 0)
        return m_pEuropeanCups ? m_pEuropeanCups->GetCup(nKind) : nullptr;
    const CCountryDatabase* pCountry = GetCountryFromID(idCountry);
    return pCountry ? pCountry->GetDomesticCups()->GetCup(nKind) : nullptr;
}

void CDatabaseHandler::AddEventToAllCountries(uint8_t byType, const CDate& date, uint32_t dwDataID)
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        pCountry->AddEvent(byType, date, dwDataID);
}

void CDatabaseHandler::AttachCupCalendars()
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        pCountry->AttachCupCalendars();
}

void CDatabaseHandler::AddCupFixture(CCupFixturesDatabase* pFixture)
{
    m_lstCupFixtures.AddTail(pFixture);
    ++m_nCupFixtureCount;
    pFixture->SetCup(GetCupFromCupNumber(pFixture->GetCupNumber()));
    if (m_pEuropeanCups)
        m_pEuropeanCups->LowerEarliestCupDate(pFixture->GetDate());
}

void CDatabaseHandler::SortCupFixtures()
{
    std::vector<CCupFixturesDatabase*> fixtures;
    while (!m_lstCupFixtures.IsEmpty())
        fixtures.push_back(static_cast<CCupFixturesDatabase*>(m_lstCupFixtures.RemoveHead()));
    std::stable_sort(fixtures.begin(), fixtures.end(),
                     [](const CCupFixturesDatabase* a, const CCupFixturesDatabase* b) { return a->GetDate() < b->GetDate(); });
    for (CCupFixturesDatabase* pFixture : fixtures)
        m_lstCupFixtures.AddTail(pFixture);
}

CCupFixturesDatabase* CDatabaseHandler::FindCupFixtureByMatchId(uint32_t dwMatchID) const
{
    for (CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        if (pFixture->GetFixtureID() == dwMatchID)
            return pFixture;
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        if (CCupFixturesDatabase* pFixture = pCountry->FindCupFixture(dwMatchID))
            return pFixture;
    return nullptr;
}

// A cup or friendly fixture finds its referee among every country's.
void CCupFixturesDatabase::SetupPointers(uint32_t dwKind)
{
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    AttachToReferee(pHandler ? pHandler->FindReferee(GetRefereeID()) : nullptr, dwKind);
}
