// What a club sells and spends around its matches: the 17 match-day facility
// rows (programmes, food, merchandise), the 7 match-day cost rows (stewards,
// policing, cleaning...), the weekly sales between matches with their file
// "Temp%d.wmh", and a human club's stock of each row.
#include "database/CClubDatabase.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "season/CComponentDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"

namespace {

// Finance category of each match-day facility row.
constexpr int kFacilityCategories[CLUB_FACILITY_ROWS] = {28, 29, 30, 31, 32, 33, 34, 35, 36,
                                                         37, 38, 39, 40, 41, 43, 42, 44};
constexpr int kFirstSalesCategory = 18;
constexpr int kFirstCostCategory = 96;

const CGameTables* Tables()
{
    return CClubDatabase::m_pDatabaseHandler ? &CClubDatabase::m_pDatabaseHandler->GetGameTables() : nullptr;
}

const MERCHANDISEROW* MerchandiseRow(int nRow)
{
    const CGameTables* pTables = Tables();
    if (!pTables || nRow < 0 || nRow >= static_cast<int>(pTables->GetMerchandise().size()))
        return nullptr;
    return &pTables->GetMerchandise()[static_cast<size_t>(nRow)];
}

const MATCHDAYCOSTROW* CostRow(int nRow)
{
    const CGameTables* pTables = Tables();
    if (!pTables || nRow < 0 || nRow >= static_cast<int>(pTables->GetMatchDayCosts().size()))
        return nullptr;
    return &pTables->GetMatchDayCosts()[static_cast<size_t>(nRow)];
}

// The buyers of a row among a crowd at its standard price: the things a fan
// buys once a season spread over the season's home matches.
int StandardBuyers(const MERCHANDISEROW& row, int nRow, int nCrowd, const CDivisionDatabase* pDivision)
{
    int nBuyers = static_cast<int>(row.nBuyersPerHundred * 0.01 * nCrowd);
    if (nRow < 9) {
        int nClubs = pDivision ? pDivision->GetClubCount() : 0;
        if (nClubs < 10 || nClubs > 25)
            nClubs = 10;
        nBuyers /= 2 * nClubs - 2;
    }
    return nBuyers;
}

// 24 November to 21 December: the shops sell a quarter more.
bool IsLateYearWindow(const CDate& date)
{
    return (date.GetMonth() == 11 && date.GetDay() >= 24) || (date.GetMonth() == 12 && date.GetDay() <= 21);
}

CDate Today()
{
    return CClubDatabase::m_pDatabaseHandler ? CClubDatabase::m_pDatabaseHandler->GetGameDate() : CDate();
}

int32_t Clamp32(int64_t n)
{
    return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
}

// A match day's bookings ask for the finished facilities of many kinds and
// sizes: the ground's parts are walked once for all of them.
class FinishedFacilities {
public:
    explicit FinishedFacilities(const CGroundDatabase* pGround)
    {
        if (!pGround)
            return;
        for (const CComponentDatabase* p : pGround->GetComponents().Items<CComponentDatabase>())
            if (p->GetMainType() == COMPONENT_FACILITY && p->IsFinished())
                Add(p->GetSubType(), p->GetSpecificData()[0]);
    }
    int Count(int nType, int nSize) const
    {
        for (const Kind& kind : m_kinds)
            if (kind.nType == nType && kind.nSize == nSize)
                return kind.nCount;
        return 0;
    }

private:
    struct Kind {
        int nType;
        int nSize;
        int nCount;
    };
    void Add(int nType, int nSize)
    {
        for (Kind& kind : m_kinds)
            if (kind.nType == nType && kind.nSize == nSize) {
                ++kind.nCount;
                return;
            }
        m_kinds.push_back(Kind{nType, nSize, 1});
    }
    std::vector<Kind> m_kinds;
};

// The units of a cost row for a crowd, with the facilities counted by count.
template <typename Count>
uint16_t CostUnits(const MATCHDAYCOSTROW& row, int nRow, int nCrowd, const Count& count)
{
    int nUnits = 0;
    for (const FACILITYENTRY& entry : row.Entries)
        nUnits += entry.nValue * count(entry.nKind, entry.nLevel);
    // Stewards and police by the thousand, fewer of them per head as the crowd grows.
    static const int kCrowdBands[][3] = {{1000, 10, 20}, {11000, 8, 16}, {21000, 7, 14},
                                         {31000, 6, 12}, {41000, 5, 10}, {51000, 0, 0}};
    int nA = 0, nB = 0;
    for (int b = 0; b < 5; ++b)
        if (nCrowd >= kCrowdBands[b][0] && nCrowd < kCrowdBands[b + 1][0]) {
            nA = kCrowdBands[b][1];
            nB = kCrowdBands[b][2];
        }
    const int nThousands = nCrowd / 1000;
    if (nRow == 0)
        nUnits += nA * nThousands;
    else if (nRow == 1)
        nUnits += nB * nThousands;
    else if (nRow == 2 || nRow == 6)
        nUnits += nThousands;
    return static_cast<uint16_t>(nUnits);
}

}  // namespace

int CClubDatabase::CountFinishedFacilities(int nType, int nSize) const
{
    if (!m_pGround)
        return 0;
    int nCount = 0;
    for (const CComponentDatabase* p : m_pGround->GetComponents().Items<CComponentDatabase>())
        if (p->GetMainType() == COMPONENT_FACILITY && p->IsFinished() && p->GetSubType() == nType &&
            p->GetSpecificData()[0] == nSize)
            ++nCount;
    return nCount;
}

bool CClubDatabase::GetFacilityPrices(int nRow, int32_t& nCost, int32_t& nPrice) const
{
    if (const CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr) {
        nCost = pHuman->GetTicketField(nRow, TICKET_FIELD_COST);
        nPrice = pHuman->GetTicketField(nRow, TICKET_FIELD_PRICE);
        return true;
    }
    const MERCHANDISEROW* pRow = MerchandiseRow(nRow);
    if (!pRow)
        return false;
    nCost = pRow->nStandardCost;
    nPrice = pRow->nStandardPrice;
    return true;
}

int CClubDatabase::GetExpectedBuyers(int nRow, int nCrowd) const
{
    const MERCHANDISEROW* pRow = MerchandiseRow(nRow);
    if (!pRow)
        return 0;
    int nBuyers = StandardBuyers(*pRow, nRow, nCrowd, m_pDivision);
    int32_t nCost = 0, nPrice = pRow->nStandardPrice;
    if (const CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr) {
        nBuyers = std::min(nBuyers, std::max(0, pHuman->GetTicketField(nRow, TICKET_FIELD_STOCK)));
        GetFacilityPrices(nRow, nCost, nPrice);
    }
    const int32_t nStandard = pRow->nStandardPrice;
    if (nStandard > 0 && nPrice > nStandard) {
        const double dLoss =
            std::min(static_cast<double>(nPrice - nStandard) / nStandard * 100.0 * 0.25, 100.0);
        nBuyers = static_cast<int>(nBuyers - nBuyers * dLoss / 100.0);
    }
    return std::max(nBuyers, 0);
}

void CClubDatabase::AddMatchdayFacilityIncome(CBinaryWriter* pWriter, int nCrowd, uint32_t dwItem)
{
    CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr;
    if (m_pDivision && m_pDivision->m_byKind == DIVISION_KIND_BOTTOM_OTHER) {
        // Nothing is sold, but a record that announces the part gets it.
        if (pHuman && pWriter)
            pWriter->WriteZeros(CLUB_FACILITY_ROWS * 12);
        return;
    }
    const bool bLateYear = IsLateYearWindow(Today());
    for (int r = 0; r < CLUB_FACILITY_ROWS; ++r) {
        int nBuyers = GetExpectedBuyers(r, nCrowd);
        if (r < 10 && bLateYear)
            nBuyers = static_cast<int>(nBuyers * 1.25);
        int32_t nCost = 0, nPrice = 0;
        GetFacilityPrices(r, nCost, nPrice);
        AddFinanceTransaction(kFacilityCategories[r], static_cast<int32_t>(nPrice * 0.01 * nBuyers),
                              static_cast<int32_t>(nCost * 0.01 * nBuyers), dwItem);
        const int32_t nProfit = Clamp32(static_cast<int64_t>(nPrice - nCost) * nBuyers);
        if (pHuman) {
            pHuman->SetTicketField(r, TICKET_FIELD_LAST_BUYERS, nBuyers);
            pHuman->SetTicketField(r, TICKET_FIELD_LAST_PROFIT, nProfit);
            pHuman->SetTicketField(r, TICKET_FIELD_SEASON_BUYERS,
                                   Clamp32(static_cast<int64_t>(pHuman->GetTicketField(r, TICKET_FIELD_SEASON_BUYERS)) + nBuyers));
            pHuman->SetTicketField(r, TICKET_FIELD_SEASON_PROFIT,
                                   Clamp32(static_cast<int64_t>(pHuman->GetTicketField(r, TICKET_FIELD_SEASON_PROFIT)) + nProfit));
        }
        if (pHuman && pWriter) {
            pWriter->WriteU32(static_cast<uint32_t>(nBuyers));
            pWriter->WriteI32(nProfit);
            pWriter->WriteU32(static_cast<uint32_t>(nPrice));
        }
    }
}

uint16_t CClubDatabase::GetMatchdayCostUnits(int nRow, int nCrowd) const
{
    const MATCHDAYCOSTROW* pRow = CostRow(nRow);
    if (!pRow)
        return 0;
    return CostUnits(*pRow, nRow, nCrowd,
                     [this](int nType, int nSize) { return CountFinishedFacilities(nType, nSize); });
}

void CClubDatabase::BookMatchdayCosts(CBinaryWriter* pWriter, int nCrowd, uint32_t dwItem)
{
    const bool bHuman = m_pDatabaseHandler && m_pDatabaseHandler->GetSaveGameForClub(this);
    const FinishedFacilities facilities(m_pGround);
    const auto count = [&facilities](int nType, int nSize) { return facilities.Count(nType, nSize); };
    for (int r = 0; r < CLUB_MATCHDAY_COST_ROWS; ++r) {
        const MATCHDAYCOSTROW* pRow = CostRow(r);
        const int32_t nAmount =
            pRow ? Clamp32(static_cast<int64_t>(CostUnits(*pRow, r, nCrowd, count)) * pRow->nUnitAmount) : 0;
        AddFinanceTransaction(kFirstCostCategory + r, 0, nAmount, dwItem);
        if (bHuman && pWriter)
            pWriter->WriteI32(nAmount);
    }
}

void CClubDatabase::UpdateGroundFacilityTotals()
{
    CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr;
    if (!pHuman)
        return;
    for (int r = 0; r < CLUB_FACILITY_ROWS; ++r) {
        int64_t nStock = 0;
        if (const MERCHANDISEROW* pRow = MerchandiseRow(r))
            for (const FACILITYENTRY& entry : pRow->Entries)
                if (entry.nValue > 0)
                    nStock += static_cast<int64_t>(entry.nValue) * CountFinishedFacilities(entry.nKind, entry.nLevel);
        pHuman->SetTicketField(r, TICKET_FIELD_STOCK, Clamp32(nStock));
    }
}

void CClubDatabase::DoWeeklyFacilitySales()
{
    if (m_pDivision && m_pDivision->m_byKind == DIVISION_KIND_BOTTOM_OTHER)
        return;
    CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr;
    const bool bLateYear = IsLateYearWindow(Today());
    int32_t anBuyers[CLUB_FACILITY_ROWS] = {};
    int32_t anProfit[CLUB_FACILITY_ROWS] = {};
    const int nAttendance = GetAttendanceCapacity();
    for (int r = 0; r < CLUB_SALES_ROWS; ++r) {
        const int nVisitors = static_cast<int>(nAttendance * (4 + plat::rand() % 7) * 0.01);
        const MERCHANDISEROW* pRow = MerchandiseRow(r);
        // A computer club's buyers see the standard price (its own only
        // sets what they pay): no stock or price of a human's to weigh.
        int nBuyers = pHuman ? GetExpectedBuyers(r, nVisitors)
                             : (pRow ? std::max(StandardBuyers(*pRow, r, nVisitors, m_pDivision), 0) : 0);
        if (bLateYear)
            nBuyers = static_cast<int>(nBuyers * 1.25);
        int32_t nCost = 0, nPrice = 0;
        if (pHuman)
            GetFacilityPrices(r, nCost, nPrice);
        else if (pRow) {
            // A computer club prices by its standing: the bigger the club, the dearer.
            nCost = pRow->nStandardCost;
            nPrice = nCost + static_cast<int32_t>(((m_bySupportLevel + m_byReputation) / 10 - 10) * 0.01 * nCost);
        }
        AddFinanceTransaction(kFirstSalesCategory + r, static_cast<int32_t>(nPrice * 0.01 * nBuyers),
                              static_cast<int32_t>(nCost * 0.01 * nBuyers));
        anBuyers[r] = nBuyers;
        anProfit[r] = Clamp32(static_cast<int64_t>(nPrice - nCost) * nBuyers);
        if (pHuman) {
            pHuman->SetTicketField(r, TICKET_FIELD_SEASON_BUYERS,
                                   Clamp32(static_cast<int64_t>(pHuman->GetTicketField(r, TICKET_FIELD_SEASON_BUYERS)) + nBuyers));
            pHuman->SetTicketField(r, TICKET_FIELD_SEASON_PROFIT,
                                   Clamp32(static_cast<int64_t>(pHuman->GetTicketField(r, TICKET_FIELD_SEASON_PROFIT)) + anProfit[r]));
        }
    }
    if (!pHuman)
        return;
    char szName[32];
    std::snprintf(szName, sizeof(szName), "Temp%d.wmh", m_wClubId);
    FILE* pFile = plat::openFile(szName, "ab");
    if (!pFile) {
        DebugLog(0, "[CClubDatabase::DoWeeklyFacilitySales] Cannot write %s", szName);
        return;
    }
    CBinaryWriter writer(pFile);
    for (int r = 0; r < CLUB_FACILITY_ROWS; ++r) {
        writer.WriteU32(static_cast<uint32_t>(r < CLUB_SALES_ROWS ? anBuyers[r] : 0));
        writer.WriteI32(r < CLUB_SALES_ROWS ? anProfit[r] : 0);
        writer.WriteU32(static_cast<uint32_t>(pHuman->GetTicketField(r, TICKET_FIELD_PRICE)));
    }
    if (writer.Failed())
        DebugLog(0, "[CClubDatabase::DoWeeklyFacilitySales] %s is not complete", szName);
    std::fclose(pFile);
}

// ---- what a month of matches should bring (the human's projection) ----

int CClubDatabase::CountHomeMatchesInMonth(int nMonth, bool bCupsOnly) const
{
    int nCount = 0;
    auto count = [&](ID_CLUB idHome, const CDate& date) {
        if (idHome == m_wClubId && date.GetMonth() == nMonth)
            ++nCount;
    };
    if (m_pCountry)
        for (const CCupFixturesDatabase* p : m_pCountry->GetCupFixtures().Items<CCupFixturesDatabase>())
            count(p->GetHomeClubID(), p->GetDate());
    if (m_pDatabaseHandler)
        for (const CCupFixturesDatabase* p : m_pDatabaseHandler->GetCupFixtures().Items<CCupFixturesDatabase>())
            count(p->GetHomeClubID(), p->GetDate());
    if (m_pDivision && !bCupsOnly)
        for (const CDivisionFixturesDatabase* p : m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            count(p->GetHomeClubID(), p->GetDate());
    return nCount;
}

void CClubDatabase::ProjectFacilityMatchIncome(int nCategory, int nMonth, int64_t& nIncome, int64_t& nExpense) const
{
    const int* pEnd = kFacilityCategories + CLUB_FACILITY_ROWS;
    const int* pRow = std::find(kFacilityCategories, pEnd, nCategory);
    if (pRow == pEnd || !m_pDatabaseHandler || !m_pDatabaseHandler->GetSaveGameForClub(this))
        return;
    const int nRow = static_cast<int>(pRow - kFacilityCategories);
    const int nMatches = CountHomeMatchesInMonth(nMonth, false);
    const int nBuyers = GetExpectedBuyers(nRow, GetAttendanceCapacity());
    int32_t nCost = 0, nPrice = 0;
    GetFacilityPrices(nRow, nCost, nPrice);
    nIncome += static_cast<int64_t>(nMatches) * (static_cast<int64_t>(nPrice) * nBuyers / 100);
    nExpense += static_cast<int64_t>(nMatches) * (static_cast<int64_t>(nCost) * nBuyers / 100);
}

int64_t CClubDatabase::ProjectCategoryMatchIncome(int nCategory, int nMonth) const
{
    const int nRow = nCategory - kFirstCostCategory;
    const MATCHDAYCOSTROW* pRow = CostRow(nRow);
    if (!pRow || !m_pDatabaseHandler || !m_pDatabaseHandler->GetSaveGameForClub(this))
        return 0;
    return static_cast<int64_t>(CountHomeMatchesInMonth(nMonth, false)) * pRow->nUnitAmount *
           GetMatchdayCostUnits(nRow, GetAttendanceCapacity());
}

void CClubDatabase::GetProjectedMatchIncome(int nCategory, int nMonth, int64_t& nIncome, int64_t& nExpense) const
{
    const int nRow = nCategory - kFirstSalesCategory;
    if (nRow < 0 || nRow >= CLUB_SALES_ROWS || !m_pDatabaseHandler || !m_pDatabaseHandler->GetSaveGameForClub(this))
        return;
    // The middle of the weekly draw of visitors (4 to 10 per cent): a
    // projection draws no random numbers, so that it leaves the world's alone.
    const int nVisitors = static_cast<int>(GetAttendanceCapacity() * 7 * 0.01);
    int nBuyers = GetExpectedBuyers(nRow, nVisitors);
    if (nMonth == 11 || nMonth == 12)
        nBuyers = static_cast<int>(nBuyers * 1.25);
    int32_t nCost = 0, nPrice = 0;
    GetFacilityPrices(nRow, nCost, nPrice);
    nIncome += static_cast<int64_t>(nPrice * 0.01 * nBuyers * 4.0);
    nExpense += static_cast<int64_t>(nCost * 0.01 * nBuyers * 4.0);
}
