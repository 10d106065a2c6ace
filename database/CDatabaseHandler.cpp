#include "database/CDatabaseHandler.h"

#include "common/DebugLog.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CMarketEntries.h"
#include "database/CManagerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"

#include "season/CEuropeanCupDatabase.h"
#include "season/CGroundDatabase.h"

#include <cstdint>

namespace {

// The free-identifier list holds heap cells of one identifier each.
void FreeCells(CXList& list)
{
    while (!list.IsEmpty())
        delete static_cast<uint32_t*>(list.RemoveHead());
}

}  // namespace

CDatabaseHandler::CDatabaseHandler()
{
    const bool bDictionaries = LoadNameDictionaries();
    const bool bTables = LoadStadiumTables();
    const bool bPools = CreateNameGenerationTables();
    // Without the match-day tables a club sells nothing and pays no match-day
    // costs; the game still runs.
    if (!m_GameTables.LoadTables())
        DebugLog(0, "[CDatabaseHandler::CDatabaseHandler] The match-day tables are missing or damaged");
    // Without its templates no division plays off; the game still runs.
    if (!m_PlayOffTemplates.Load("Data\\Tables\\PlayOffs.txt"))
        DebugLog(0, "[CDatabaseHandler::CDatabaseHandler] The play-off table is missing or damaged");
    m_pManagerNameRow = m_pStaffNameRow = m_pNationalityRows;
    m_pEuropeanCups = new CEuropeanCupDatabase;
    m_pEuropeanCups->InstallDefinitions();
    SortStadiumSizeTable();
    m_bFixedTablesLoaded = bDictionaries && bTables && bPools;
    if (!m_bFixedTablesLoaded)
        DebugLog(0, "[CDatabaseHandler::CDatabaseHandler] The start-up data files are missing or damaged");
}

CDatabaseHandler::~CDatabaseHandler()
{
    FreeWorld();
    delete m_pEuropeanCups;
    m_pEuropeanCups = nullptr;
    m_FirstNames.Free();
    m_LastNames.Free();
    DeleteNameGenerationTables();
    m_ManagerTable.SetSize(0);
    m_StaffTable.SetSize(0);
    m_ClubTable.SetSize(0);
    m_PlayerTable.SetSize(0);
}

void CDatabaseHandler::DeleteDatabase()
{
    if (!m_nDatabaseLoaded)
        return;
    FreeWorld();
}

void CDatabaseHandler::FreeWorld()
{
    // The records of the countries, grounds, fixtures, offers, markets, save
    // games, youths and the people of the pools are destroyed here by their
    // own classes; the lists are emptied so that nothing points at them.
    // What the working files hold in memory belongs to this world.
    CloseWorkingFiles();
    // Countries first: their people leave the identifier tables, which still stand.
    while (!m_lstCountries.IsEmpty())
        delete static_cast<CCountryDatabase*>(m_lstCountries.RemoveHead());
    m_nDivisionTotal = 0;
    if (m_pEuropeanCups)
        m_pEuropeanCups->RemoveAll();
    while (!m_lstGrounds.IsEmpty())
        delete static_cast<CGroundDatabase*>(m_lstGrounds.RemoveHead());
    while (!m_lstCupFixtures.IsEmpty())
        delete static_cast<CCupFixturesDatabase*>(m_lstCupFixtures.RemoveHead());
    while (!m_lstListMarket.IsEmpty())
        delete static_cast<CListMarketEntry*>(m_lstListMarket.RemoveHead());
    while (!m_lstLoanMarket.IsEmpty())
        delete static_cast<CLoanMarketEntry*>(m_lstLoanMarket.RemoveHead());
    while (!m_lstBuyOffers.IsEmpty())
        delete static_cast<CBuyOfferDatabase*>(m_lstBuyOffers.RemoveHead());
    while (!m_lstLoanOffers.IsEmpty())
        delete static_cast<CLoanOfferDatabase*>(m_lstLoanOffers.RemoveHead());
    while (!m_lstPendingTransfers.IsEmpty()) {
        auto* pPending = static_cast<PENDINGTRANSFER*>(m_lstPendingTransfers.RemoveHead());
        delete pPending->pOffer;
        delete pPending;
    }
    m_nCountryCount = m_nGroundCount = m_nCupFixtureCount = m_nBuyOfferCount = m_nLoanOfferCount = 0;
    m_groundsById.clear();
    DeleteHumans();
    m_pPendingCupFixture = nullptr;
    m_byPendingCupFixture = 0;

    FreeRetiredCaches();
    // The root owns the people of the two pools; club members go with their clubs.
    while (!m_lstStaffPool.IsEmpty()) {
        const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(m_lstStaffPool.RemoveHead()));
        if (LPITEMSTAFFINFORMATION pEntry = GetStaffInformation(idStaff); pEntry && !(pEntry->dwFlags & STAFFINFO_RETIRED)) {
            delete pEntry->pStaff;
            pEntry->pStaff = nullptr;
        }
    }
    for (int i = 0; i < m_StaffTable.GetSize(); ++i)
        delete static_cast<LPITEMSTAFFINFORMATION>(m_StaffTable.GetAt(i));
    m_StaffTable.SetSize(0);

    // Youths of the root's list unregister themselves while the table stands.
    while (!m_lstYouths.IsEmpty())
        delete static_cast<CYouthDatabase*>(m_lstYouths.RemoveHead());
    m_nYouthCount = 0;
    for (int i = 0; i < m_PlayerTable.GetSize(); ++i)
        delete static_cast<LPITEMPLAYERINFORMATION>(m_PlayerTable.GetAt(i));
    m_PlayerTable.SetSize(0);
    m_nPlayersInTable = m_nYouthsInTable = 0;

    while (!m_lstUnemployedManagers.IsEmpty()) {
        const auto idManager =
            static_cast<ID_MANAGER>(reinterpret_cast<uintptr_t>(m_lstUnemployedManagers.RemoveHead()));
        if (LPITEMMANAGERINFORMATION pEntry = GetManagerInformation(idManager);
            pEntry && pEntry->byState != MANAGERSTATE_RETIRED) {
            delete pEntry->pManager;
            pEntry->pManager = nullptr;
        }
    }
    for (int i = 0; i < m_ManagerTable.GetSize(); ++i)
        delete static_cast<LPITEMMANAGERINFORMATION>(m_ManagerTable.GetAt(i));
    m_ManagerTable.SetSize(0);
    m_ClubTable.SetSize(0);
    m_nClubTotal = 0;

    FreeCells(m_lstFreeIdentifiers);
    m_nDatabaseLoaded = 0;
}

void CDatabaseHandler::SetPendingCupFixture(CCupFixturesDatabase* pFixture)
{
    m_pPendingCupFixture = pFixture;
    m_byPendingCupFixture = pFixture ? 1 : 0;
}

CSaveGame* CDatabaseHandler::GetCurrentSaveGame() const
{
    return m_byCurrentHuman < HUMAN_SLOTS ? m_pHumanSlots[m_byCurrentHuman] : nullptr;
}

void CDatabaseHandler::SetDefaultGameSettings()
{
    m_byGameSettings[0] = 5;
    m_byGameSettings[1] = 0;
    m_byGameSettings[2] = 6;
}

CUP_NUMBER CDatabaseHandler::MakeCupNumber(int nCupType, ID_COUNTRY idCountry)
{
    const int nNumber = nCupType * 20 + idCountry;
    if (nCupType < 0 || idCountry >= 20 || nNumber >= CUP_NUMBER_NONE) {
        DebugLog(1, "[CDatabaseHandler::MakeCupNumber] No cup number for type %d of country %d", nCupType, idCountry);
        return CUP_NUMBER_NONE;
    }
    return static_cast<CUP_NUMBER>(nNumber);
}

int32_t CDatabaseHandler::GetMoneyTier(int nLevel)
{
    static constexpr int32_t kTiers[5] = {162000, 100000, 75000, 50000, 25000};
    if (nLevel > 4)
        nLevel = 4;
    if (nLevel < 0)
        nLevel = 0;
    return kTiers[4 - nLevel];
}
