// A club's money: finance categories and their groups, the monthly finance
// run, the gate of a home match with ticket prices, and the lowest balance a
// computer club is allowed.
#include "database/CClubDatabase.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <cstdlib>

#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/Random.h"
#include "season/CComponentDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"

namespace {

// Leaf categories by group: the first and last category of each run.
struct CATEGORYRUN {
    int nFirst;
    int nLast;
    int nGroup;
};

constexpr CATEGORYRUN kCategoryRuns[] = {
    {1, 8, 1},    {9, 17, 2},   {18, 37, 3},  {38, 44, 4},  {45, 46, 5},  {47, 49, 6},   {50, 52, 7},
    {53, 54, 8},  {55, 57, 9},  {58, 74, 10}, {77, 79, 11}, {80, 86, 12}, {87, 95, 13}, {96, 102, 14},
};

constexpr int kCategoryPlayerWages = 9;
constexpr int kCategoryYouthWages = 10;
constexpr int kCategoryFirstStaffWages = 11;
constexpr int kCategoryManagerWages = 17;
constexpr int kCategoryLeagueGate = 5;
constexpr int kCategoryLeagueCosts = 6;
constexpr int kCategoryCupGateHome = 1;
constexpr int kCategoryCupGateAway = 2;
constexpr int kCategoryCupGateCosts = 3;
constexpr int kCategoryFriendlyGateHome = 7;
constexpr int kCategoryFriendlyGateAway = 8;
constexpr int kCategoryCompensation = 79;
constexpr int kCategoryLoanRepayment = 82;
constexpr int kCategoryScouting = 95;
constexpr int kCategoryInterestReceived = 80;
constexpr int kCategoryOverdraftInterest = 84;
constexpr int kFirstWorkCategory = 47;
// Future payments by kind: 0 to 3.
constexpr int kFuturePaymentCategories[4] = {91, 89, 87, 90};

// Rates over the base rate and the bank's limits by rating band.
constexpr double kRateMargin[10] = {9.5, 9.5, 9.0, 8.5, 8.0, 7.5, 7.25, 7.0, 6.95, 6.9};
constexpr int32_t kLoanTerms[10] = {0, 100, 200, 300, 500, 1000, 2000, 4000, 5000, 10000};
constexpr int32_t kOverdraftLimits[10] = {50000,   100000,  200000,  250000,  500000,
                                          1000000, 2500000, 5000000, 8000000, 10000000};
// A club without a country lends at the middle of the countries' range.
constexpr int kDefaultInterestFigure = 600;

constexpr int kMoneyScaleEntries = 100;
constexpr int kNoSeatsCapacity = 10000;
constexpr uint8_t kNoPosition = 4;

const float kTicketBase[4] = {18.0f, 20.0f, 22.0f, 22.0f};
// By support level / 10, from 1 to 10.
const float kTicketFactor[10] = {0.30f, 0.45f, 0.50f, 0.60f, 0.75f, 0.80f, 0.85f, 0.90f, 0.95f, 1.00f};

int32_t ClampMoney(int64_t n)
{
    return static_cast<int32_t>(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
}

const int32_t* MoneyScale()
{
    static int32_t s_anScale[kMoneyScaleEntries] = {};
    static bool s_bBuilt = false;
    if (!s_bBuilt) {
        for (int k = 0; k < kMoneyScaleEntries; ++k)
            s_anScale[k] = static_cast<int32_t>(
                std::lround(30000000.0 * std::pow(100000.0 / 30000000.0, (99.0 - k) / 70.0)));
        s_bBuilt = true;
    }
    return s_anScale;
}

int Minutes(const uint8_t* p)
{
    return p[0] * 60 + p[1];
}

}  // namespace

int CClubDatabase::FindFinanceCategory(int nCategory)
{
    // Every transaction asks: the runs are read once into a table by category.
    static constexpr auto kGroups = [] {
        constexpr int kLast = kCategoryRuns[std::size(kCategoryRuns) - 1].nLast;
        std::array<uint8_t, kLast + 1> abyGroups{};
        for (const CATEGORYRUN& run : kCategoryRuns)
            for (int n = run.nFirst; n <= run.nLast; ++n)
                if (abyGroups[static_cast<size_t>(n)] == 0)  // the first run that holds it
                    abyGroups[static_cast<size_t>(n)] = static_cast<uint8_t>(run.nGroup);
        return abyGroups;
    }();
    return nCategory >= 0 && static_cast<size_t>(nCategory) < kGroups.size() ? kGroups[static_cast<size_t>(nCategory)]
                                                                             : 0;
}

CClubDatabase::FINANCEOBSERVER* CClubDatabase::s_pFinanceObserver = nullptr;

void CClubDatabase::BankFinanceAccumulators()
{
    if (s_pFinanceObserver)
        s_pFinanceObserver->OnBanked(*this);
    int64_t nSum = 0;
    for (int32_t& nAccumulator : m_anFinanceAccumulators) {
        nSum += nAccumulator;
        nAccumulator = 0;
    }
    m_nBankBalance = ClampMoney(static_cast<int64_t>(m_nBankBalance) + nSum);
}

void CClubDatabase::AddFinanceTransaction(int nCategory, int32_t nIncome, int32_t nExpense, uint32_t dwItem,
                                          uint32_t dwExtra)
{
    // Millions a season, nearly all of them in a world without humans, with
    // nobody watching or logging: those only add to the accumulator, and the
    // rest goes out of line, so that this path makes no call.
    if (s_pFinanceObserver || (m_pDatabaseHandler && m_pDatabaseHandler->HasHumans()) || IsDebugLogOn())
        return AddWatchedFinanceTransaction(nCategory, nIncome, nExpense, dwItem, dwExtra);
    AccumulateFinance(nCategory, nIncome, nExpense);
}

void CClubDatabase::AccumulateFinance(int nCategory, int32_t nIncome, int32_t nExpense)
{
    int32_t& nAccumulator = m_anFinanceAccumulators[FindFinanceCategory(nCategory)];
    nAccumulator = ClampMoney(static_cast<int64_t>(nAccumulator) + nIncome - nExpense);
}

void CClubDatabase::AddWatchedFinanceTransaction(int nCategory, int32_t nIncome, int32_t nExpense, uint32_t dwItem,
                                                 uint32_t dwExtra)
{
    if (s_pFinanceObserver)
        s_pFinanceObserver->OnTransaction(*this, nCategory, nIncome, nExpense);
    AccumulateFinance(nCategory, nIncome, nExpense);
    // A human's record keeps the detailed books and moves the balance itself.
    if (CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr)
        pHuman->AddFinanceTransaction(nCategory, nIncome, nExpense, dwItem, static_cast<uint16_t>(dwExtra));
    if (IsDebugLogOn())
        DebugLog(9, "[CClubDatabase::AddFinanceTransaction] %s category %d +%d -%d item %u extra %u", m_szShortName,
                 nCategory, nIncome, nExpense, dwItem, dwExtra);
}

int32_t CClubDatabase::GetMoneyScaleEntry(int nIndex)
{
    return MoneyScale()[std::clamp(nIndex, 0, kMoneyScaleEntries - 1)];
}

int32_t CClubDatabase::GetMinimumBalance() const
{
    const int nCountryLevel = m_pCountry ? m_pCountry->GetLevel() : 0;
    // The index is kept on the scale: a club whose figures add up to 0 takes
    // the first entry, one above 100 the last.
    const int nIndex = (nCountryLevel + m_bySupportLevel + m_byReputation) / 3;
    return CDatabaseHandler::RoundMoneyValue(GetMoneyScaleEntry(std::clamp(nIndex, 1, kMoneyScaleEntries) - 1));
}

int32_t CClubDatabase::GetTotalStaffWages() const
{
    int64_t nTotal = 0;
    for (const void* pValue : m_lstStaff.Items<void>()) {
        const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
        if (const CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(idStaff) : nullptr)
            nTotal += pStaff->m_dwWage;
    }
    return ClampMoney(nTotal);
}

// ---- rates and the bank ----

int CClubDatabase::GetRatingBand() const
{
    return std::min(GetClubRating() / 10, 9);
}

double CClubDatabase::GetBaseInterestRate() const
{
    // The country's economy index is its base rate in hundredths of a per
    // cent; the bank works with whole per cents.
    return (m_pCountry ? m_pCountry->GetEconomyIndex() : kDefaultInterestFigure) / 100;
}

double CClubDatabase::GetLoanInterestRate() const
{
    return GetBaseInterestRate() + kRateMargin[GetRatingBand()];
}

double CClubDatabase::GetOverdraftInterestRate() const
{
    return GetLoanInterestRate() + 2.0;
}

double CClubDatabase::GetExcessOverdraftInterestRate() const
{
    return GetLoanInterestRate() + 4.0;
}

int32_t CClubDatabase::GetAvailableLoan(double* pdRate, int32_t* pnTerm) const
{
    if (pdRate)
        *pdRate = GetLoanInterestRate();
    if (pnTerm)
        *pnTerm = kLoanTerms[GetRatingBand()];
    const int64_t nWorth = m_pGround ? static_cast<int64_t>(m_pGround->GetTotal(0)) + 2LL * m_pGround->GetTotal(1) : 0;
    return ClampMoney(std::max<int64_t>(0, nWorth * m_byFinancialStability / 100 - m_nLoan));
}

double CClubDatabase::GetLoanTotal(double dAmount, double dRate, int /*nPayments*/)
{
    return dAmount * (1.0 + dRate);
}

double CClubDatabase::GetLoanRepayment(double dAmount, double dRate, int nPayments)
{
    return nPayments > 0 ? GetLoanTotal(dAmount, dRate, nPayments) / nPayments : 0.0;
}

int32_t CClubDatabase::GetAvailableOverdraft(double* pdRate, double* pdExcessRate) const
{
    if (pdRate)
        *pdRate = GetOverdraftInterestRate();
    if (pdExcessRate)
        *pdExcessRate = GetExcessOverdraftInterestRate();
    // The overdraft figure is kept as a negative limit.
    return ClampMoney(std::max<int64_t>(0, kOverdraftLimits[GetRatingBand()] - std::llabs(m_nOverdraft)));
}

// ---- payments between clubs ----

namespace {

struct FUTUREPAYMENT {
    int32_t nAmount;
    uint32_t dwItem;
    ID_CLUB idOther;
    uint16_t wYear;
    uint8_t byMonth;
    uint8_t byKind;
};

FUTUREPAYMENT DecodeFuturePayment(const CLUBFUTUREPAYMENT& record)
{
    const uint8_t* p = record.abyData;
    auto u32 = [p](int n) { return static_cast<uint32_t>(p[n] | p[n + 1] << 8 | p[n + 2] << 16 | static_cast<uint32_t>(p[n + 3]) << 24); };
    return {static_cast<int32_t>(u32(0)), u32(4), static_cast<ID_CLUB>(p[8] | p[9] << 8),
            static_cast<uint16_t>(p[10] | p[11] << 8), p[12], p[13]};
}

bool IsDue(const FUTUREPAYMENT& payment, const CDate& today)
{
    return payment.wYear == today.GetYear() && payment.byMonth == today.GetMonth();
}

}  // namespace

void CClubDatabase::AddFuturePayment(int32_t nAmount, uint32_t dwItem, ID_CLUB idOther, const CDate& due,
                                     uint8_t byKind)
{
    auto* p = new CLUBFUTUREPAYMENT;
    uint8_t* d = p->abyData;
    for (int i = 0; i < 4; ++i) {
        d[i] = static_cast<uint8_t>(static_cast<uint32_t>(nAmount) >> (8 * i));
        d[4 + i] = static_cast<uint8_t>(dwItem >> (8 * i));
    }
    d[8] = static_cast<uint8_t>(idOther);
    d[9] = static_cast<uint8_t>(idOther >> 8);
    d[10] = static_cast<uint8_t>(due.GetYear());
    d[11] = static_cast<uint8_t>(due.GetYear() >> 8);
    d[12] = static_cast<uint8_t>(due.GetMonth());
    d[13] = byKind;
    m_lstFuturePayments.AddTail(p);
    ++m_nFuturePaymentCount;
    // The other club keeps a copy to know what it will receive.
    if (CClubDatabase* pOther = m_pDatabaseHandler ? m_pDatabaseHandler->GetClubFromID(idOther) : nullptr) {
        auto* pCopy = new CLUBFUTUREPAYMENT(*p);
        pCopy->abyData[8] = static_cast<uint8_t>(m_wClubId);
        pCopy->abyData[9] = static_cast<uint8_t>(m_wClubId >> 8);
        pOther->m_lstPaymentReceipts.AddTail(pCopy);
    }
}

void CClubDatabase::DoFuturePaymentsToOtherClubs()
{
    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    for (const CLUBFUTUREPAYMENT* pRecord : m_lstFuturePayments.Items<CLUBFUTUREPAYMENT>()) {
        const FUTUREPAYMENT payment = DecodeFuturePayment(*pRecord);
        if (!IsDue(payment, today))
            continue;
        int nCategory = 0;
        if (payment.byKind < 4)
            nCategory = kFuturePaymentCategories[payment.byKind];
        else
            DebugLog(1, "[CClubDatabase::DoFuturePaymentsToOtherClubs] Unknown type of payment to other club!");
        AddFinanceTransaction(nCategory, 0, payment.nAmount, payment.dwItem, payment.idOther);
        if (CClubDatabase* pOther = m_pDatabaseHandler ? m_pDatabaseHandler->GetClubFromID(payment.idOther) : nullptr)
            pOther->AddFinanceTransaction(nCategory, payment.nAmount, 0, payment.dwItem, m_wClubId);
    }
}

int64_t CClubDatabase::GetFuturePaymentsDue(int nKind, int nMonth, int nYear, bool bReceipts) const
{
    int64_t nTotal = 0;
    for (const CLUBFUTUREPAYMENT* pRecord :
         (bReceipts ? m_lstPaymentReceipts : m_lstFuturePayments).Items<CLUBFUTUREPAYMENT>()) {
        const FUTUREPAYMENT payment = DecodeFuturePayment(*pRecord);
        if (payment.byKind == nKind && payment.byMonth == nMonth && payment.wYear == nYear)
            nTotal += payment.nAmount;
    }
    return nTotal;
}

void CClubDatabase::RemoveDuePayments()
{
    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    for (CXList* pList : {&m_lstFuturePayments, &m_lstPaymentReceipts})
        for (LPXLISTNODE pNode = pList->GetHead(); pNode;) {
            LPXLISTNODE pCurrent = pNode;
            pNode = pNode->pNext;
            auto* pRecord = static_cast<CLUBFUTUREPAYMENT*>(pCurrent->pData);
            if (IsDue(DecodeFuturePayment(*pRecord), today)) {
                pList->Remove(pCurrent);
                delete pRecord;
            }
        }
    m_nFuturePaymentCount = m_lstFuturePayments.GetCount();
}

void CClubDatabase::AddScoutPlayerQuery(ID_STAFF idScout, int32_t nCost)
{
    auto* pQuery = new CLUBSCOUTQUERY;
    pQuery->idStaff = idScout;
    pQuery->dwField = static_cast<uint32_t>(std::max<int32_t>(nCost, 0));
    pQuery->pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(idScout) : nullptr;
    m_lstScoutQueries.AddTail(pQuery);
    m_wScoutQueryCount = static_cast<uint16_t>(m_lstScoutQueries.GetCount());
}

// ---- the finance run ----

void CClubDatabase::AddPendingPayment(CPlayerDatabase* pPlayer, int32_t nAmount, uint8_t byKind)
{
    if (!pPlayer)
        return;
    auto* pPayment = new CLUBPENDINGPAYMENT;
    pPayment->idPlayer = pPlayer->m_idPerson;
    pPayment->adwFields[0] = static_cast<uint32_t>(nAmount);
    pPayment->adwFields[1] = byKind;
    pPayment->pPlayer = pPlayer;
    m_lstPendingPayments.AddTail(pPayment);
    ++m_nPendingPaymentCount;
}

void CClubDatabase::DoFinance()
{
    DoFuturePaymentsToOtherClubs();

    // Loan instalments.
    if (m_byInstalmentsLeft > 0) {
        AddFinanceTransaction(kCategoryLoanRepayment, 0, m_nLoanInstalment);
        m_nLoanRepaid = ClampMoney(static_cast<int64_t>(m_nLoanRepaid) + m_nLoanInstalment);
        if (--m_byInstalmentsLeft == 0) {
            m_nLoanInstalment = 0;
            m_nLoanRepaid = 0;
            m_nLoan = 0;
        }
    }

    // Work in progress on an owned ground is paid month by month.
    if (m_byGroundOwnership != 0 && m_pGround)
        for (const CComponentDatabase* p : m_pGround->GetComponents().Items<CComponentDatabase>())
            if (p->IsUnderConstruction() && !p->IsDemolished() && p->GetMainType() < 3)
                AddFinanceTransaction(kFirstWorkCategory + p->GetMainType(), 0,
                                      static_cast<int32_t>(std::min<uint32_t>(p->GetMaintenanceCost(), INT32_MAX)),
                                      p->GetID());

    // Wages are yearly figures paid a twelfth a month. A player loaned out
    // is paid by the club that has him.
    PrefetchSquad(true);
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        if (pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN) {
            AddFinanceTransaction(kCategoryPlayerWages, 0, static_cast<int32_t>(pPlayer->m_Contract.dwYearlyWage / 12),
                                  pPlayer->m_idPerson);
            PayContractClauses(*pPlayer);
        }
    for (const CPlayerDatabase* pPlayer : m_lstLoanIns.Items<CPlayerDatabase>())
        if (pPlayer->m_wLoanClubId == m_wClubId)
            AddFinanceTransaction(kCategoryPlayerWages, 0, static_cast<int32_t>(pPlayer->m_Contract.dwYearlyWage / 12),
                                  pPlayer->m_idPerson);
    for (const CYouthDatabase* pYouth : m_lstYouths.Items<CYouthDatabase>())
        AddFinanceTransaction(kCategoryYouthWages, 0, static_cast<int32_t>(pYouth->m_dwYearlyWage / 12), pYouth->m_idPerson);
    for (const void* pValue : m_lstStaff.Items<void>()) {
        const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
        const CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(idStaff) : nullptr;
        if (pStaff && pStaff->m_byKind < CLUB_STAFF_KINDS)
            AddFinanceTransaction(kCategoryFirstStaffWages + pStaff->m_byKind, 0,
                                  static_cast<int32_t>(pStaff->m_dwWage / 12), idStaff);
    }

    // The overdraft lapses when its runs are used up.
    if (m_byOverdraftActive) {
        if (m_byOverdraftRunsLeft > 0)
            --m_byOverdraftRunsLeft;
        if (m_byOverdraftRunsLeft == 0) {
            m_byOverdraftActive = 0;
            m_nOverdraft = 0;
        }
    }

    RemoveDuePayments();

    // Compensation owed to players, then the scouts' bills.
    for (CLUBPENDINGPAYMENT* pPayment : m_lstPendingPayments.Items<CLUBPENDINGPAYMENT>()) {
        const auto nAmount = static_cast<int32_t>(pPayment->adwFields[0]);
        const int nKind = static_cast<int>(pPayment->adwFields[1] & 0xFF);
        int nCategory = 0;
        if (nKind == 0)
            nCategory = kCategoryCompensation;
        else if (nKind != 1)
            DebugLog(1, "[CClubDatabase::DoFinance] Unknown type of compensation payment to player!");
        AddFinanceTransaction(nCategory, 0, nAmount, pPayment->idPlayer);
        delete pPayment;
    }
    m_lstPendingPayments.RemoveAll();
    m_nPendingPaymentCount = 0;
    for (CLUBSCOUTQUERY* pQuery : m_lstScoutQueries.Items<CLUBSCOUTQUERY>()) {
        AddFinanceTransaction(kCategoryScouting, 0, static_cast<int32_t>(pQuery->dwField), pQuery->idStaff);
        delete pQuery;
    }
    m_lstScoutQueries.RemoveAll();
    m_wScoutQueryCount = 0;

    // A human club's bank pays or charges the month's interest.
    const bool bHumanClub = m_pDatabaseHandler && m_pDatabaseHandler->GetSaveGameForClub(this);
    if (bHumanClub) {
        constexpr double kMonthShare = 1.0 / 1200.0;
        const int64_t nBalance = m_nBankBalance;
        const int64_t nLimit = std::llabs(m_nOverdraft);
        if (nBalance < -nLimit)
            AddFinanceTransaction(
                kCategoryOverdraftInterest, 0,
                ClampMoney(static_cast<int64_t>(GetExcessOverdraftInterestRate() * kMonthShare * (-nBalance - nLimit)) +
                           static_cast<int64_t>(GetOverdraftInterestRate() * kMonthShare * nLimit)));
        else if (nBalance < 0)
            AddFinanceTransaction(kCategoryOverdraftInterest, 0,
                                  ClampMoney(static_cast<int64_t>(GetOverdraftInterestRate() * kMonthShare * -nBalance)));
        else
            AddFinanceTransaction(kCategoryInterestReceived,
                                  ClampMoney(static_cast<int64_t>(GetBaseInterestRate() * kMonthShare * nBalance)), 0);
    }

    // The manager's contract holds a yearly wage: a twelfth of it each month.
    if (const CManagerDatabase* pManager = GetManager())
        AddFinanceTransaction(kCategoryManagerWages, 0, static_cast<int32_t>(pManager->m_Contract.dwWage / 12),
                              pManager->m_idManager);

    // A computer club's books close into the bank balance; the board watches
    // whether the month made or lost money, and whether the club is in the
    // red. A human's record has moved the balance already and closes his
    // books with his finance month.
    const bool bHuman = m_pDatabaseHandler && m_pDatabaseHandler->GetSaveGameForClub(this);
    if (!bHuman) {
        int64_t nIncome = 0, nExpense = 0;
        for (int32_t nAccumulator : m_anFinanceAccumulators) {
            if (nAccumulator > 0)
                nIncome += nAccumulator;
            else
                nExpense -= nAccumulator;
        }
        BankFinanceAccumulators();
        if (nExpense < nIncome)
            UpdateFinancialStability(2);
        else if (nExpense > nIncome)
            UpdateFinancialStability(4);
    }
    UpdateFinancialStability(static_cast<int64_t>(m_nOverdraft) + m_nBankBalance < 0 ? 3 : 1);
    if (!bHuman) {
        std::fill(std::begin(m_anFinanceAccumulators), std::end(m_anFinanceAccumulators), 0);
        m_nPreviousBalance = m_nBankBalance;
    }
}

// ---- the gate ----

int CClubDatabase::GetStandardTicketPrices(int nTicketType) const
{
    if (nTicketType < 0 || nTicketType > 3) {
        DebugLog(1, "[CClubDatabase::GetStandardTicketPrices] Unknown TICKET_? Type!");
        return 0;
    }
    // Support levels under 10 price as 10-19, levels of 110 and more as 100.
    const int nBand = std::clamp(m_bySupportLevel / 10, 1, 10);
    return static_cast<int>(kTicketBase[nTicketType] * kTicketFactor[nBand - 1]);
}

float CClubDatabase::GetAttendanceFactor(const CClubDatabase* pOpponent, int nMatchType) const
{
    const int nClubs = m_pDivision ? m_pDivision->GetClubCount() : 0;
    int nFactor = nClubs / 2 - m_byLeaguePosition + m_nFanConfidence;
    if (pOpponent && IsNearClub(pOpponent, 5))
        nFactor += 5;
    if (nMatchType == 1 || nMatchType == 2)
        nFactor += 5;
    return static_cast<float>(std::max(nFactor + 1, 10)) * 0.01f;
}

int CClubDatabase::GetAttendanceCapacity() const
{
    if (m_SeasonAttendance.nAverage > 0)
        return m_SeasonAttendance.nAverage;
    const int nCapacity = m_pGround ? m_pGround->GetCapacity() : 0;
    return static_cast<int>(static_cast<int64_t>(nCapacity) * ((m_bySupportLevel + m_byReputation) / 2) / 100);
}

namespace {

int GroundCapacityForGate(const CClubDatabase& club, const CGroundDatabase* pGround)
{
    const int nCapacity = pGround ? pGround->GetCapacity() : 0;
    if (nCapacity < 1) {
        DebugLog(1, "[CClubDatabase::GetMatchAttendance] %s has no Seating Capacity assuming 10000",
                 club.GetName());
        return kNoSeatsCapacity;
    }
    return nCapacity;
}

void NoteAttendance(CLUBATTENDANCE& record, int nAttendance, ID_CLUB idOpponent)
{
    if (nAttendance > record.nHighest) {
        record.nHighest = nAttendance;
        record.wHighestOpponent = idOpponent;
    }
    if (record.nLowest == 0 || nAttendance < record.nLowest) {
        record.nLowest = nAttendance;
        record.wLowestOpponent = idOpponent;
    }
}

}  // namespace

int CClubDatabase::GetMatchAttendance(CClubDatabase* pOpponent, int nMatchType, int32_t* pnReceipts,
                                      STANDATTENDANCE* pStands)
{
    const int nCapacity = GroundCapacityForGate(*this, m_pGround);
    if (CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr) {
        const int nAttendance = std::min(pHuman->GetMatchAttendance(pOpponent, nMatchType, pnReceipts, pStands), nCapacity);
        NoteMatchAttendance(nAttendance, pOpponent);
        return nAttendance;
    }
    const float fFactor = GetAttendanceFactor(pOpponent, nMatchType);
    // A ground of fewer than 50 seats has no spread to draw from.
    const int nSpread = static_cast<int>(0.02 * nCapacity);
    const int nDraw = nSpread >= 1 ? plat::rand() % nSpread - nSpread / 2 : 0;
    const int nAttendance =
        std::clamp(nDraw + static_cast<int>(fFactor * static_cast<float>(nCapacity)), 0, nCapacity);

    // League matches sell the league ticket, cups the cup ticket, others the first.
    const int nTicket = nMatchType == 0 ? 1 : nMatchType == 1 || nMatchType == 2 ? 2 : 0;
    const double dReceipts =
        nMatchType >= 0 && nMatchType <= 3 ? static_cast<double>(GetStandardTicketPrices(nTicket)) * nAttendance : 0.0;
    BookGate(pOpponent, nMatchType, dReceipts);
    if (pnReceipts)
        *pnReceipts = ClampMoney(static_cast<int64_t>(dReceipts));
    NoteMatchAttendance(nAttendance, pOpponent);
    return nAttendance;
}

void CClubDatabase::BookGate(CClubDatabase* pOpponent, int nMatchType, double dReceipts)
{
    switch (nMatchType) {
    case 0:
        AddFinanceTransaction(kCategoryLeagueGate, ClampMoney(static_cast<int64_t>(dReceipts)), 0);
        AddFinanceTransaction(kCategoryLeagueCosts, 0, ClampMoney(static_cast<int64_t>(0.1 * dReceipts)));
        break;
    case 1:
    case 2: {
        const auto nThird = ClampMoney(static_cast<int64_t>(dReceipts * 0.33333334));
        AddFinanceTransaction(kCategoryCupGateHome, ClampMoney(2LL * nThird), 0);
        if (pOpponent)
            pOpponent->AddFinanceTransaction(kCategoryCupGateAway, nThird, 0, m_wClubId);
        AddFinanceTransaction(kCategoryCupGateCosts, 0, nThird);
        break;
    }
    case 3:
        AddFinanceTransaction(kCategoryFriendlyGateHome, ClampMoney(static_cast<int64_t>(0.75 * dReceipts)), 0);
        if (pOpponent)
            pOpponent->AddFinanceTransaction(kCategoryFriendlyGateAway,
                                             ClampMoney(static_cast<int64_t>(0.25 * dReceipts)), 0, m_wClubId);
        break;
    default:
        DebugLog(1, "[CClubDatabase::GetMatchAttendance] Unknown Match Type");
        break;
    }
}

void CClubDatabase::NoteMatchAttendance(int nAttendance, const CClubDatabase* pOpponent)
{
    const ID_CLUB idOpponent = pOpponent ? pOpponent->m_wClubId : 0;
    NoteAttendance(m_SeasonAttendance, nAttendance, idOpponent);
    NoteAttendance(m_RecordAttendance, nAttendance, idOpponent);
    m_SeasonAttendance.nAverage =
        m_SeasonAttendance.nAverage == 0 ? nAttendance : (m_SeasonAttendance.nAverage + nAttendance) / 2;
    m_RecordAttendance.nAverage = m_SeasonAttendance.nAverage;
}

int CClubDatabase::GetMatchAttendanceAsPercentage(CClubDatabase* pOpponent, int nMatchType, int32_t* pnReceipts,
                                                  int* pnAttendance, STANDATTENDANCE* pStands)
{
    const int nAttendance = GetMatchAttendance(pOpponent, nMatchType, pnReceipts, pStands);
    if (pnAttendance)
        *pnAttendance = nAttendance;
    // The same capacity the crowd was drawn from, so a ground without seats
    // never divides by zero.
    const int nCapacity = m_pGround && m_pGround->GetCapacity() >= 1 ? m_pGround->GetCapacity() : kNoSeatsCapacity;
    return static_cast<int>(static_cast<int64_t>(nAttendance) * 100 / nCapacity);
}

bool CClubDatabase::IsNearClub(const CClubDatabase* pOther, int nTolerance) const
{
    if (!pOther || m_abyLatitude[2] == kNoPosition || pOther->m_abyLatitude[2] == kNoPosition)
        return false;
    const int nLatitude = std::abs(Minutes(m_abyLatitude) - Minutes(pOther->m_abyLatitude));
    if (m_abyLatitude[2] == pOther->m_abyLatitude[2] && m_abyLongitude[2] == pOther->m_abyLongitude[2])
        return nLatitude <= nTolerance &&
               std::abs(Minutes(m_abyLongitude) - Minutes(pOther->m_abyLongitude)) <= nTolerance;
    return m_abyLongitude[0] == 0 && pOther->m_abyLongitude[0] == 0 &&
           (m_abyLongitude[2] == 1 || pOther->m_abyLongitude[2] == 1) &&
           m_abyLongitude[1] + pOther->m_abyLongitude[1] <= nTolerance && nLatitude <= nTolerance;
}

void CClubDatabase::BookNeutralGate(CClubDatabase* pOpponent, int nMatchType, int nAttendance)
{
    if (nMatchType == 3) {
        DebugLog(1, "[CGroundDatabase::GetMatchAttendance] Trying to Play a Friendly game at Neutral Venue");
        return;
    }
    const auto nGate = ClampMoney(
        static_cast<int64_t>(static_cast<double>(GetStandardTicketPrices(2)) * nAttendance * 0.33333334));
    AddFinanceTransaction(kCategoryCupGateAway, nGate, 0, pOpponent ? pOpponent->m_wClubId : 0);
    if (pOpponent)
        pOpponent->AddFinanceTransaction(kCategoryCupGateAway, nGate, 0, m_wClubId);
}
