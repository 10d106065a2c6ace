// A club's money: finance categories and their groups, the monthly finance
// run, the gate of a home match with ticket prices, and the lowest balance a
// computer club is allowed.
#include "database/CClubDatabase.h"

#include <algorithm>
#include <cmath>
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
    for (const CATEGORYRUN& run : kCategoryRuns)
        if (nCategory >= run.nFirst && nCategory <= run.nLast)
            return run.nGroup;
    return 0;
}

void CClubDatabase::AddFinanceTransaction(int nCategory, int32_t nIncome, int32_t nExpense, uint32_t dwItem,
                                          uint32_t dwExtra)
{
    const int nGroup = FindFinanceCategory(nCategory);
    int32_t& nAccumulator = m_anFinanceAccumulators[nGroup];
    nAccumulator = ClampMoney(static_cast<int64_t>(nAccumulator) + nIncome - nExpense);
    // A human's record keeps the detailed books and moves the balance itself.
    if (CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr)
        pHuman->AddFinanceTransaction(nCategory, nIncome, nExpense, dwItem, static_cast<uint16_t>(dwExtra));
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

// ---- the finance run ----

void CClubDatabase::DoFinance()
{
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

    // Wages are yearly figures paid a twelfth a month. A player loaned out
    // is paid by the club that has him.
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        if (pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN)
            AddFinanceTransaction(kCategoryPlayerWages, 0, static_cast<int32_t>(pPlayer->m_Contract.dwYearlyWage / 12),
                                  pPlayer->m_idPerson);
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

    // The manager's contract holds a monthly wage.
    if (const CManagerDatabase* pManager = GetManager())
        AddFinanceTransaction(kCategoryManagerWages, 0, static_cast<int32_t>(pManager->m_Contract.dwWage),
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
        m_nBankBalance = ClampMoney(static_cast<int64_t>(m_nBankBalance) + nIncome - nExpense);
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

int CClubDatabase::GetMatchAttendance(CClubDatabase* pOpponent, int nMatchType, int32_t* pnReceipts)
{
    const int nCapacity = GroundCapacityForGate(*this, m_pGround);
    const float fFactor = GetAttendanceFactor(pOpponent, nMatchType);
    // A ground of fewer than 50 seats has no spread to draw from.
    const int nSpread = static_cast<int>(0.02 * nCapacity);
    const int nDraw = nSpread >= 1 ? plat::rand() % nSpread - nSpread / 2 : 0;
    const int nAttendance =
        std::clamp(nDraw + static_cast<int>(fFactor * static_cast<float>(nCapacity)), 0, nCapacity);

    double dReceipts = 0.0;
    switch (nMatchType) {
    case 0:
        dReceipts = static_cast<double>(GetStandardTicketPrices(1)) * nAttendance;
        AddFinanceTransaction(kCategoryLeagueGate, ClampMoney(static_cast<int64_t>(dReceipts)), 0);
        AddFinanceTransaction(kCategoryLeagueCosts, 0, ClampMoney(static_cast<int64_t>(0.1 * dReceipts)));
        break;
    case 1:
    case 2: {
        dReceipts = static_cast<double>(GetStandardTicketPrices(2)) * nAttendance;
        const auto nThird = ClampMoney(static_cast<int64_t>(dReceipts * 0.33333334));
        AddFinanceTransaction(kCategoryCupGateHome, ClampMoney(2LL * nThird), 0);
        if (pOpponent)
            pOpponent->AddFinanceTransaction(kCategoryCupGateAway, nThird, 0);
        AddFinanceTransaction(kCategoryCupGateCosts, 0, nThird);
        break;
    }
    case 3:
        dReceipts = static_cast<double>(GetStandardTicketPrices(0)) * nAttendance;
        AddFinanceTransaction(kCategoryFriendlyGateHome, ClampMoney(static_cast<int64_t>(0.75 * dReceipts)), 0);
        if (pOpponent)
            pOpponent->AddFinanceTransaction(kCategoryFriendlyGateAway,
                                             ClampMoney(static_cast<int64_t>(0.25 * dReceipts)), 0);
        break;
    default:
        DebugLog(1, "[CClubDatabase::GetMatchAttendance] Unknown Match Type");
        break;
    }
    if (pnReceipts)
        *pnReceipts = ClampMoney(static_cast<int64_t>(dReceipts));

    const ID_CLUB idOpponent = pOpponent ? pOpponent->m_wClubId : 0;
    NoteAttendance(m_SeasonAttendance, nAttendance, idOpponent);
    NoteAttendance(m_RecordAttendance, nAttendance, idOpponent);
    m_SeasonAttendance.nAverage =
        m_SeasonAttendance.nAverage == 0 ? nAttendance : (m_SeasonAttendance.nAverage + nAttendance) / 2;
    m_RecordAttendance.nAverage = m_SeasonAttendance.nAverage;
    return nAttendance;
}

int CClubDatabase::GetMatchAttendanceAsPercentage(CClubDatabase* pOpponent, int nMatchType, int32_t* pnReceipts,
                                                  int* pnAttendance)
{
    const int nAttendance = GetMatchAttendance(pOpponent, nMatchType, pnReceipts);
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
