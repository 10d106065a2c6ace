// The human club's money books: transactions and the two finance tables,
// the savings account, the month's close into "Temp%d.fty", the season's
// history "Temp%d.fhs", the six-month projection "Temp%d.pfn" and the
// daily bank update.
#include "season/CSaveGame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"
#include "season/CNewspaperStoryList.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CHoardingsManager.h"
#include "season/CSponsorManager.h"
#include "season/CTrainingManager.h"

namespace {

// Parameter kind, balance byte, group of each category, by ranges.
struct CATEGORYRANGE {
    int nFirst;
    int nLast;
    FINANCECATEGORY category;
};

constexpr CATEGORYRANGE kCategoryRanges[] = {
    {0, 0, {0, 0, 0}},     {1, 2, {1, 1, 1}},     {3, 3, {1, 1, 2}},     {4, 4, {0, 1, 1}},
    {5, 5, {1, 1, 1}},     {6, 6, {1, 1, 2}},     {7, 8, {1, 1, 1}},     {9, 9, {2, 2, 2}},
    {10, 10, {0, 2, 2}},   {11, 16, {4, 2, 2}},   {17, 17, {5, 2, 2}},   {18, 27, {0, 1, 3}},
    {28, 44, {1, 1, 3}},   {45, 46, {0, 1, 1}},   {47, 49, {6, 2, 2}},   {50, 52, {7, 2, 2}},
    {53, 57, {0, 2, 1}},   {58, 66, {2, 2, 2}},   {67, 69, {0, 2, 2}},   {70, 73, {2, 2, 3}},
    {74, 75, {0, 2, 2}},   {76, 76, {2, 2, 2}},   {77, 77, {1, 2, 3}},   {78, 78, {4, 2, 1}},
    {79, 79, {2, 2, 2}},   {80, 80, {0, 2, 3}},   {81, 81, {0, 1, 1}},   {82, 84, {0, 2, 2}},
    {85, 85, {0, 2, 1}},   {86, 86, {0, 1, 3}},   {87, 87, {2, 2, 3}},   {88, 88, {2, 2, 2}},
    {89, 94, {2, 2, 3}},   {95, 95, {4, 2, 2}},   {96, 102, {1, 1, 2}},
};

constexpr int kMonthRecordFixed = 1724;
constexpr int kProjectedRecordBytes = 888;

bool ReadAll(const char* pszName, std::vector<uint8_t>& bytes)
{
    return plat::readWholeFile(pszName, bytes);
}

}  // namespace

const FINANCECATEGORY& CSaveGame::GetFinanceCategory(int nCategory)
{
    static const FINANCECATEGORY s_none = {0, 0, 0};
    for (const CATEGORYRANGE& range : kCategoryRanges)
        if (nCategory >= range.nFirst && nCategory <= range.nLast)
            return range.category;
    return s_none;
}

const char* CSaveGame::FileNameForSlot(const char* pszFormat, char* pszBuffer, size_t nBytes) const
{
    const int nSlot = m_pDatabaseHandler ? m_pDatabaseHandler->GetIndexForHumanPlayer(this) : -1;
    std::snprintf(pszBuffer, nBytes, pszFormat, nSlot < 0 ? 0 : nSlot);
    return pszBuffer;
}

const char* CSaveGame::GetHistoryFileName() const
{
    static char s_sz[24];  // room for any slot number the format can print
    return FileNameForSlot("Temp%d.fty", s_sz, sizeof(s_sz));
}

const char* CSaveGame::GetFinanceHistoryFileName() const
{
    static char s_sz[24];  // room for any slot number the format can print
    return FileNameForSlot("Temp%d.fhs", s_sz, sizeof(s_sz));
}

const char* CSaveGame::GetProjectedFinanceFileName() const
{
    static char s_sz[24];  // room for any slot number the format can print
    return FileNameForSlot("Temp%d.pfn", s_sz, sizeof(s_sz));
}

void CSaveGame::AddFinanceTransaction(int nCategory, int32_t nIncome, int32_t nExpense, uint32_t dwParameter,
                                      uint16_t wValue)
{
    if (nCategory < 0 || nCategory >= FINANCE_CATEGORIES) {
        DebugLog(2, "[CSaveGame::AddFinanceTransaction] Unknown category %d", nCategory);
        return;
    }
    m_aMonthFinance[nCategory].nIncome += nIncome;
    m_aMonthFinance[nCategory].nExpense += nExpense;
    m_aSeasonFinance[nCategory].nIncome += nIncome;
    m_aSeasonFinance[nCategory].nExpense += nExpense;
    if (GetFinanceCategory(nCategory).byBalance == 1 && m_pClub)
        m_pClub->m_nBankBalance += nIncome - nExpense;
    m_lstTransactions.AddTail(
        new FINANCETRANSACTION{nIncome, nExpense, static_cast<uint32_t>(nCategory), dwParameter});

    if (nCategory == 85 || nCategory == 86) {
        BALANCERECORD record;
        const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
        record.wYear = static_cast<uint16_t>(today.GetYear());
        record.byMonth = static_cast<uint8_t>(today.GetMonth());
        record.byDay = static_cast<uint8_t>(today.GetDay());
        record.wParameter = wValue;
        if (nCategory == 85) {
            record.wKind = 3;
            record.nAmount = nIncome;
        }
        else if (nIncome == 0) {
            record.wKind = 1;
            record.nAmount = nExpense;
        }
        else {
            record.wKind = 2;
            record.nAmount = nIncome;
        }
        AddBalanceRecord(record);
    }
}

void CSaveGame::AddBalanceRecord(const BALANCERECORD& record)
{
    auto* p = new BALANCERECORD(record);
    if (p->wKind == 1 || p->wKind == 3)
        m_nSavings += p->nAmount;
    else if (p->wKind == 2 || p->wKind == 4)
        m_nSavings -= p->nAmount;
    p->nBalanceAfter = m_nSavings;
    m_lstBalanceRecords.AddTail(p);
}

void CSaveGame::ClearFinanceMonth()
{
    while (!m_lstTransactions.IsEmpty())
        delete static_cast<FINANCETRANSACTION*>(m_lstTransactions.RemoveHead());
    for (FINANCEENTRY& entry : m_aMonthFinance)
        entry = FINANCEENTRY();
}

void CSaveGame::SettleFinanceMonth()
{
    // What the month booked without moving the balance at once (wages,
    // sponsors, interest...) settles into the bank now.
    int64_t nUnsettled = 0;
    for (int c = 0; c < FINANCE_CATEGORIES; ++c)
        if (GetFinanceCategory(c).byBalance == 2)
            nUnsettled += static_cast<int64_t>(m_aMonthFinance[c].nIncome) - m_aMonthFinance[c].nExpense;
    m_pClub->m_nBankBalance = static_cast<int32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(m_pClub->m_nBankBalance) + nUnsettled, INT32_MIN, INT32_MAX));
}

void CSaveGame::SettleFinanceOnLeaving()
{
    if (!m_pClub)
        return;
    // The club's group totals mirror this month's bookings, whose money has
    // moved (or settles now) through this record: left standing, the club's
    // next banking as a computer club would bank them again.
    SettleFinanceMonth();
    m_pClub->m_nPreviousBalance = m_pClub->m_nBankBalance;
    std::fill(std::begin(m_pClub->m_anFinanceAccumulators), std::end(m_pClub->m_anFinanceAccumulators), 0);
    ClearFinanceMonth();
}

void CSaveGame::CloseFinanceMonth()
{
    if (!m_pClub)
        return;
    const char* pszName = GetHistoryFileName();
    if (CountFinanceMonths() >= FINANCE_MONTHS_KEPT) {
        // Only the last twelve months are kept: the oldest record goes.
        std::vector<uint8_t> bytes;
        if (ReadAll(pszName, bytes) && bytes.size() >= 4) {
            const uint32_t dwFirst = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
            if (dwFirst + 4 <= bytes.size()) {
                if (!plat::writeWholeFile(pszName, bytes.data() + dwFirst + 4, bytes.size() - dwFirst - 4))
                    DebugLog(0, "[CSaveGame::CloseFinanceMonth] Cannot rewrite %s", pszName);
            }
        }
    }
    FILE* pFile = plat::openFile(pszName, "ab");
    if (!pFile) {
        DebugLog(0, "[CSaveGame::CloseFinanceMonth] Cannot write %s", pszName);
        return;
    }
    SettleFinanceMonth();
    CBinaryWriter writer(pFile);
    writer.WriteU32(static_cast<uint32_t>(kMonthRecordFixed + 16 * m_lstTransactions.GetCount()));
    writer.WriteI32(m_pClub->m_nPreviousBalance);
    writer.WriteI32(m_pClub->m_nBankBalance);
    m_pClub->m_nPreviousBalance = m_pClub->m_nBankBalance;
    writer.WriteI32(m_nSavings);
    m_nSavingsAtClose = m_nSavings;
    for (int32_t& nGroup : m_pClub->m_anFinanceAccumulators) {
        writer.WriteI32(nGroup);
        nGroup = 0;
    }
    WriteFinance(writer);
    if (writer.Failed())
        DebugLog(0, "[CSaveGame::CloseFinanceMonth] %s is not complete", pszName);
    std::fclose(pFile);
    ClearFinanceMonth();
}

uint8_t CSaveGame::CountFinanceMonths() const
{
    FILE* pFile = plat::openFile(GetHistoryFileName(), "rb");
    if (!pFile)
        return 0;
    CBinaryReader reader(pFile);
    int nCount = 0;
    uint32_t dwLength = 0;
    while (reader.ReadU32(dwLength) && reader.Skip(dwLength) && nCount < 255)
        ++nCount;
    std::fclose(pFile);
    return static_cast<uint8_t>(nCount);
}

void CSaveGame::NewSeason()
{
    std::vector<uint8_t> bytes;
    if (ReadAll(GetHistoryFileName(), bytes) && !bytes.empty()) {
        if (FILE* pFile = plat::openFile(GetFinanceHistoryFileName(), "ab")) {
            if (std::fwrite(bytes.data(), 1, bytes.size(), pFile) != bytes.size())
                DebugLog(0, "[CSaveGame::NewSeason] %s is not complete", GetFinanceHistoryFileName());
            std::fclose(pFile);
        }
    }
    if (m_pCountry) {
        m_SeasonStart = m_pCountry->GetSeasonStartDate();
        m_SeasonEnd = m_pCountry->GetSeasonEndDate();
    }
    m_abySeasonBytes[0] = m_abySeasonBytes[1] = 0;
    ClearNavigationAlerts();
    RemoveRetiredFromShortlist();
    ClearOfferLists();
    ResetNewsAndNotices();
    m_pScrapbook->RemoveAll();
    for (auto& row : m_abyTickets)
        std::memset(row + 12, 0, 16);
    for (auto& entry : m_abyStandPrices)
        entry[8] = entry[9] = 0;
    // The new season's season tickets are sold at once, and the stock of
    // the match-day rows follows the ground's facilities.
    if (m_pClub)
        m_pClub->UpdateGroundFacilityTotals();
    if (m_pClub)
        m_pClub->AddFinanceTransaction(4, ComputeSeasonTicketIncome(false), 0);
}

void CSaveGame::DoBankUpdate()
{
    if (!m_pClub)
        return;
    m_byDaysInRed = m_pClub->m_nBankBalance >= 0 ? 0 : static_cast<uint8_t>(m_byDaysInRed + (m_byDaysInRed < 255));
    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    // A date some months on, on the same day (or the last of a shorter month).
    auto monthsOn = [&today](int nMonths, bool bLastDay) {
        const int nIndex = today.GetMonth() - 1 + nMonths;
        const int nYear = today.GetYear() + nIndex / 12;
        const int nMonth = nIndex % 12 + 1;
        const CDate first(nYear, nMonth, 1);
        const CDate next(nMonth == 12 ? nYear + 1 : nYear, nMonth == 12 ? 1 : nMonth + 1, 1);
        const int nLastDay = CDate(next.GetValue(), -1).GetDay();
        return CDate(nYear, nMonth, bLastDay ? nLastDay : std::min(today.GetDay(), nLastDay));
    };
    CCountryDatabase* pCountry = m_pClub->GetCountry();
    if (m_byOverdraftKind) {
        if (m_pClub->m_byFinancialStability >= 24) {
            const int32_t nAvailable = m_pClub->GetAvailableOverdraft(nullptr, nullptr);
            const int32_t nAmount = std::min(m_nOverdraftRequest, nAvailable);
            PostNews(m_nOverdraftRequest > nAvailable ? 222 : m_byOverdraftKind == 1 ? 216 : 218, m_pClub);
            // The overdraft figure is kept as a negative limit.
            m_pClub->m_nOverdraft = -std::max(nAmount, 0);
            m_pClub->m_byOverdraftActive = 1;
            m_pClub->m_byOverdraftRunsLeft = m_byOverdraftTerm;
            if (m_nOverdraftFee)
                m_pClub->AddFinanceTransaction(84, 0, m_nOverdraftFee, 0, 0);
            if (pCountry)
                pCountry->AddEvent(44, monthsOn(m_byOverdraftTerm, false), m_pClub->GetID());
        }
        else {
            ++m_byRefusals;
            PostNews(m_byOverdraftKind == 1 ? 215 : 217, m_pClub);
        }
        m_byOverdraftKind = 0;
        m_nOverdraftRequest = m_nOverdraftFee = 0;
        m_byOverdraftTerm = 0;
    }
    if (m_nLoanRequest + m_byLoanTerm != 0) {
        const int32_t nAmount = m_nLoanRequest;
        const int32_t nRepayment = m_nLoanRequest2;
        const int32_t nFee = m_nLoanFee;
        const uint8_t byTerm = m_byLoanTerm;
        const uint8_t byKind = std::clamp<uint8_t>(m_byLoanKind, 1, 3);
        const uint16_t wInterest = m_wLoanInterest;
        m_nLoanRequest = m_nLoanRequest2 = m_nLoanFee = 0;
        m_byLoanTerm = 0;
        m_byLoanKind = 0;
        m_wLoanInterest = 0;
        if (nAmount > m_pClub->GetAvailableLoan(nullptr, nullptr))
            PostNews(230, m_pClub);
        else if (m_pClub->m_byFinancialStability >= 24) {
            PostNews(static_cast<uint16_t>(221 + 2 * byKind), m_pClub);
            m_pClub->m_nLoan += nAmount;
            m_pClub->AddFinanceTransaction(81, nAmount, 0, 0, 0);
            m_pClub->AddFinanceTransaction(83, 0, nFee, 0, 0);
            // A loan granted without its monthly repayment still gets repaid:
            // the amount with its interest over the term.
            int32_t nInstalment = nRepayment;
            if (nInstalment <= 0 && byTerm > 0)
                nInstalment = static_cast<int32_t>(
                    (nAmount + static_cast<int64_t>(nAmount) * wInterest / 10000 * byTerm / 12) / byTerm);
            m_pClub->m_byLoanByte = byTerm;
            m_pClub->m_byInstalmentsLeft = byTerm;
            m_pClub->m_nLoanInstalment = nInstalment;
            m_pClub->m_nLoanRepaid = 0;
            m_pClub->m_wLoanWord = wInterest;
            if (pCountry)
                pCountry->AddEvent(43, monthsOn(byTerm, true), m_pClub->GetID());
        }
        else {
            ++m_byRefusals;
            PostNews(static_cast<uint16_t>(222 + 2 * byKind), m_pClub);
        }
    }
    if (m_pClub->m_nOverdraft < 0 && m_pClub->m_nOverdraft > m_pClub->m_nBankBalance)
        PostNews(219);
    else if (m_pClub->m_nOverdraft == 0 && m_pClub->m_nBankBalance < 0 && m_byDaysInRed == 1)
        PostNews(220);
    else if (m_byRefusals >= 5) {
        // The bank's warning is given once; the count of refusals starts again.
        PostNews(229);
        m_byRefusals = 0;
    }
    else if (m_byDaysInRed == 14)
        PostNews(221);
}

namespace {

int MondaysInMonth(int nMonth, int nYear)
{
    int nCount = 0;
    for (CDate date(nYear, nMonth, 1); date.GetMonth() == nMonth; date = CDate(date.GetValue(), 1))
        nCount += date.GetDayOfWeek() == 1;
    return nCount;
}

bool InMonth(const CDate& date, int nMonth)
{
    return date.GetMonth() == nMonth;
}

}  // namespace

void CSaveGame::ComputeProjectedFinance(int nCategory, int nMonth, int nYear, int64_t& nIncome,
                                        int64_t& nExpense) const
{
    if (!m_pClub || !m_pDatabaseHandler)
        return;
    const CClubDatabase& club = *m_pClub;
    const CDate today = m_pDatabaseHandler->GetGameDate();
    const int nMonthsAhead = (nYear - today.GetYear()) * 12 + nMonth - today.GetMonth();
    const bool bThisMonth = nMonthsAhead == 0;
    auto cupGate = [&](bool bHome) {
        // Cup ties of the month: the home club keeps two thirds, the visitor a third.
        const CXList* apLists[] = {club.GetCountry() ? &club.GetCountry()->GetCupFixtures() : nullptr,
                                   &m_pDatabaseHandler->GetCupFixtures()};
        for (int l = 0; l < 2; ++l) {
            if (!apLists[l])
                continue;
            for (const CCupFixturesDatabase* p : apLists[l]->Items<CCupFixturesDatabase>()) {
                if (!InMonth(p->GetDate(), nMonth) || p->IsPlayed())
                    continue;
                if (bHome && p->GetHomeClubID() == club.GetID()) {
                    const int64_t nThird = GetProjectedTicketIncome(l == 0 ? 1 : 2) / 3;
                    if (nCategory == 1)
                        nIncome += 2 * nThird;
                    else
                        nExpense += nThird;
                }
                else if (!bHome && p->GetAwayClubID() == club.GetID())
                    if (const CClubDatabase* pHome = m_pDatabaseHandler->GetClubFromID(p->GetHomeClubID()))
                        nIncome += static_cast<int64_t>(pHome->GetAttendanceCapacity()) *
                                   pHome->GetStandardTicketPrices(2) / 3;
            }
        }
    };
    if (nCategory == 1 || nCategory == 3)
        cupGate(true);
    else if (nCategory == 2)
        cupGate(false);
    else if (nCategory == 4) {
        CDate start = m_pCountry ? m_pCountry->GetSeasonStartDate() : CDate();
        if (start.IsValid() && start <= today)
            start.SetYear(start.GetYear() + 1);
        if (start.IsValid() && start.GetMonth() == nMonth && start.GetYear() == nYear)
            nIncome += SellSeasonTickets(nullptr);
    }
    else if (nCategory == 5 || nCategory == 6) {
        const int nLeague = club.CountHomeMatchesInMonth(nMonth, false) - club.CountHomeMatchesInMonth(nMonth, true);
        const int64_t nGate = static_cast<int64_t>(nLeague) * GetProjectedTicketIncome(0);
        if (nCategory == 5)
            nIncome += nGate;
        else
            nExpense += nGate / 10;
    }
    else if (nCategory == 9) {
        for (const CPlayerDatabase* pPlayer : club.m_lstPlayers.Items<CPlayerDatabase>())
            if (pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN)
                nExpense += pPlayer->m_Contract.dwYearlyWage / 12;
        for (const CPlayerDatabase* pPlayer : club.m_lstLoanIns.Items<CPlayerDatabase>())
            if (pPlayer->m_wLoanClubId == club.GetID())
                nExpense += pPlayer->m_Contract.dwYearlyWage / 12;
    }
    else if (nCategory == 10) {
        for (const CYouthDatabase* pYouth : club.m_lstYouths.Items<CYouthDatabase>())
            nExpense += pYouth->m_dwYearlyWage / 12;
    }
    else if (nCategory >= 11 && nCategory <= 16) {
        for (const void* pValue : club.m_lstStaff.Items<void>()) {
            const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
            const CStaffDatabase* pStaff = m_pDatabaseHandler->GetStaffFromID(idStaff);
            if (pStaff && pStaff->m_byKind == nCategory - 11)
                nExpense += pStaff->m_dwWage / 12;
        }
    }
    else if (nCategory == 17) {
        if (const CManagerDatabase* pManager = club.GetManager())
            nExpense += pManager->m_Contract.dwWage / 12;
    }
    else if (nCategory >= 18 && nCategory <= 27)
        club.GetProjectedMatchIncome(nCategory, nMonth, nIncome, nExpense);
    else if (nCategory >= 28 && nCategory <= 44)
        club.ProjectFacilityMatchIncome(nCategory, nMonth, nIncome, nExpense);
    else if (nCategory >= 96 && nCategory <= 102)
        nExpense += club.ProjectCategoryMatchIncome(nCategory, nMonth);
    else if (nCategory == 45)
        nIncome += static_cast<int64_t>(m_pHoardings->GetTotalIncome()) * MondaysInMonth(nMonth, nYear);
    else if (nCategory == 46)
        nIncome += static_cast<int64_t>(m_pSponsors->GetProjectedIncoming(SPONSORFOR_BOARD, nMonth, nYear)) *
                   MondaysInMonth(nMonth, nYear);
    else if (nCategory == 53 || nCategory == 54)
        nIncome += m_pSponsors->GetProjectedIncoming(nCategory == 53 ? SPONSORFOR_KIT : SPONSORFOR_SHIRT, nMonth, nYear);
    else if (nCategory >= 47 && nCategory <= 49) {
        if (club.m_byGroundOwnership != 0 && club.m_pGround)
            for (const CComponentDatabase* p : club.m_pGround->GetComponents().Items<CComponentDatabase>())
                if (p->IsUnderConstruction() && !p->IsDemolished() && p->GetMainType() == nCategory - 47)
                    nExpense += p->GetMaintenanceCost();
    }
    else if (nCategory == 82) {
        if (nMonthsAhead >= 0 && nMonthsAhead < club.m_byInstalmentsLeft)
            nExpense += club.m_nLoanInstalment;
    }
    else if (nCategory >= 50 && nCategory <= 52) {
        // Building work: the payments its events hold for the month.
        const CXList noEvents;
        const CCountryDatabase* pCountry = club.GetCountry();
        for (const CEventsDatabase* pEvent : (pCountry ? pCountry->GetEvents() : noEvents).Items<CEventsDatabase>()) {
            const CDate& date = pEvent->GetDate();
            if (pEvent->GetType() < 30 || pEvent->GetType() > 32 || date.GetMonth() != nMonth ||
                date.GetYear() != nYear)
                continue;
            const CComponentScheduleDatabase* pSchedule =
                m_pDatabaseHandler->FindComponentSchedule(pEvent->GetDataID());
            if (pSchedule && pSchedule->GetGround() && pSchedule->GetGround()->GetOwner() == &club &&
                pSchedule->GetComponentMainType() == nCategory - 50)
                nExpense += pSchedule->GetEventPayment(pEvent->GetType());
        }
    }
    else if (nCategory == 57) {
        // The league's payment at the season start for the club's division.
        CDate start = m_pCountry ? m_pCountry->GetSeasonStartDate() : CDate();
        if (start.IsValid() && start <= today)
            start.SetYear(start.GetYear() + 1);
        if (start.IsValid() && start.GetMonth() == nMonth && start.GetYear() == nYear && club.m_pDivision)
            nIncome += club.m_pDivision->GetPaymentPerClub(m_pCountry->GetCountryLevel());
    }
    else if (nCategory >= 70 && nCategory <= 73) {
        for (const CPlayerDatabase* pPlayer : club.m_lstPlayers.Items<CPlayerDatabase>())
            if (pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN)
                nExpense += pPlayer->GetMonthlyInsurance(nCategory - 70);
    }
    else if (nCategory == 87 || nCategory == 89) {
        // Payments between clubs fixed for the month: transfer fees (kind 2)
        // and instalments (kind 1).
        const int nKind = nCategory == 87 ? 2 : 1;
        nExpense += club.GetFuturePaymentsDue(nKind, nMonth, nYear, false);
        nIncome += club.GetFuturePaymentsDue(nKind, nMonth, nYear, true);
        // His players' own instalments: one at each month's run while any
        // are left (this month's has been paid).
        if (nCategory == 89)
            for (const CPlayerDatabase* pPlayer : club.m_lstPlayers.Items<CPlayerDatabase>()) {
                const int nLeft = static_cast<int>(pPlayer->m_adwTransferBlock[PLAYER_TERMS_COUNTS] & 0xFF);
                if (pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN && nMonthsAhead >= 1 && nMonthsAhead <= nLeft)
                    nExpense += pPlayer->m_adwTransferBlock[PLAYER_TERMS_INSTALMENT];
            }
    }
    else if (nCategory == 74) {
        // Training camps still to begin in the month, at their booked price
        // (one begun today or earlier has been paid).
        LPXLISTNODE pPosition = nullptr;
        while (const TRAININGCAMP* pCamp = m_pTraining->GetNextTrainingCamp(pPosition))
            if (pCamp->Start.GetMonth() == nMonth && pCamp->Start.GetYear() == nYear && pCamp->Start > today)
                nExpense += pCamp->GetPrice();
    }
    else if (nCategory == 88) {
        // Signing-on fees not paid yet.
        if (bThisMonth)
            for (const CPlayerDatabase* pPlayer : club.m_lstPlayers.Items<CPlayerDatabase>())
                if (pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN)
                    nExpense += pPlayer->m_Contract.dwSigningOnFee;
    }
    else if (nCategory == 83) {
        if (bThisMonth)
            nExpense += m_nLoanFee;
    }
    else if (nCategory == 85) {
        // Savings earn the base rate and four points, compounded monthly.
        const double dRate = (club.GetBaseInterestRate() + 4.0) / 1200.0;
        double dSavings = m_nSavings;
        for (int i = 0; i < nMonthsAhead; ++i)
            dSavings += dSavings * dRate;
        if (dSavings > 0)
            nIncome += static_cast<int64_t>(dSavings * dRate);
    }
}

bool CSaveGame::WriteProjectedFinance() const
{
    if (!m_pClub || !m_pDatabaseHandler)
        return false;
    struct MONTH {
        int32_t nBalance = 0;
        int32_t anIncome[FINANCE_CATEGORIES] = {};
        int32_t anExpense[FINANCE_CATEGORIES] = {};
        int32_t anGroups[FINANCE_GROUPS] = {};
    };
    std::vector<MONTH> months(FINANCE_PROJECTED_MONTHS);
    const CDate today = m_pDatabaseHandler->GetGameDate();
    int64_t nBalance = m_pClub->m_nBankBalance;
    auto clamp32 = [](int64_t n) { return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX)); };
    for (int i = 0; i < FINANCE_PROJECTED_MONTHS; ++i) {
        const int nMonth = (today.GetMonth() - 1 + i) % 12 + 1;
        const int nYear = today.GetYear() + (today.GetMonth() - 1 + i) / 12;
        MONTH& month = months[static_cast<size_t>(i)];
        int64_t anGroups[FINANCE_GROUPS] = {};
        for (int c = 1; c < FINANCE_CATEGORIES; ++c) {
            int64_t nIncome = 0, nExpense = 0;
            if (c == 80 || c == 84) {
                // Interest on the balance the months before leave.
                const CClubDatabase& club = *m_pClub;
                const int64_t nLimit = std::llabs(club.m_nOverdraft);
                if (c == 80 && nBalance > 0)
                    nIncome = static_cast<int64_t>(club.GetBaseInterestRate() / 1200.0 * nBalance);
                else if (c == 84 && nBalance < -nLimit)
                    nExpense = static_cast<int64_t>(club.GetExcessOverdraftInterestRate() / 1200.0 * (-nBalance - nLimit) +
                                                    club.GetOverdraftInterestRate() / 1200.0 * nLimit);
                else if (c == 84 && nBalance < 0)
                    nExpense = static_cast<int64_t>(club.GetOverdraftInterestRate() / 1200.0 * -nBalance);
            }
            else
                ComputeProjectedFinance(c, nMonth, nYear, nIncome, nExpense);
            month.anIncome[c] = clamp32(nIncome);
            month.anExpense[c] = clamp32(nExpense);
            anGroups[CClubDatabase::FindFinanceCategory(c)] += nIncome - nExpense;
            nBalance += nIncome - nExpense;
        }
        month.nBalance = clamp32(nBalance);
        for (int g = 0; g < FINANCE_GROUPS; ++g)
            month.anGroups[g] = clamp32(anGroups[g]);
    }
    const bool bOk = plat::writeFileSafely(GetProjectedFinanceFileName(), [&months](FILE* pFile) {
        CBinaryWriter writer(pFile);
        for (const MONTH& month : months) {
            writer.WriteI32(month.nBalance);
            for (int c = 0; c < FINANCE_CATEGORIES; ++c) {
                writer.WriteI32(month.anIncome[c]);
                writer.WriteI32(month.anExpense[c]);
            }
            for (int32_t nGroup : month.anGroups)
                writer.WriteI32(nGroup);
        }
        return !writer.Failed();
    });
    if (!bOk)
        DebugLog(0, "[CSaveGame::WriteProjectedFinance] Cannot write %s", GetProjectedFinanceFileName());
    static_assert(4 + FINANCE_CATEGORIES * 8 + FINANCE_GROUPS * 4 == kProjectedRecordBytes);
    return bOk;
}
