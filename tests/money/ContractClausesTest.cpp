// What a player's contract and the terms of his move cost his club month by
// month: bonuses met once, goals and clean sheets of the month, allowances,
// insurance, a signing-on fee paid once, and the instalments and conditions
// owed to the club he came from.
#include "../humans/HumanWorld.h"

#include "common/DebugLog.h"
#include "season/CTrainingManager.h"

#include <cstring>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using humans_test::HumanWorld;

// Every booking by club and category: (income, expense).
class Bookings : public CClubDatabase::FINANCEOBSERVER {
public:
    Bookings() { CClubDatabase::s_pFinanceObserver = this; }
    ~Bookings() override { CClubDatabase::s_pFinanceObserver = nullptr; }
    void OnTransaction(const CClubDatabase& club, int nCategory, int32_t nIncome, int32_t nExpense) override
    {
        auto& entry = m_Booked[{club.GetID(), nCategory}];
        entry.first += nIncome;
        entry.second += nExpense;
    }
    void OnBalanceSet(const CClubDatabase&, int32_t, int32_t) override {}
    void OnBanked(const CClubDatabase&) override {}
    int64_t Income(const CClubDatabase& club, int nCategory) { return m_Booked[{club.GetID(), nCategory}].first; }
    int64_t Expense(const CClubDatabase& club, int nCategory) { return m_Booked[{club.GetID(), nCategory}].second; }
    void Clear() { m_Booked.clear(); }

private:
    std::map<std::pair<ID_CLUB, int>, std::pair<int64_t, int64_t>> m_Booked;
};

class ContractClauses : public HumanWorld {
protected:
    void SetUp() override
    {
        HumanWorld::SetUp();
        m_pPayer = H().GetClubFromID(2);
        m_pFormer = H().GetClubFromID(3);
        ASSERT_NE(m_pPayer, nullptr);
        ASSERT_NE(m_pFormer, nullptr);
        m_pPlayer = static_cast<CPlayerDatabase*>(m_pPayer->m_lstPlayers.GetHead()->pData);
        m_pPlayer->m_Contract = PLAYERCONTRACT{};
        m_pPlayer->m_byContractClauses = 0;
        std::fill(std::begin(m_pPlayer->m_adwTransferBlock), std::end(m_pPlayer->m_adwTransferBlock), 0u);
        m_pPlayer->m_byPeriodGoals = 0;
        m_pPlayer->m_byPeriodCleanSheets = 0;
        m_pPlayer->m_wSeasonCleanSheets = 0;
    }
    CClubDatabase* m_pPayer = nullptr;
    CClubDatabase* m_pFormer = nullptr;
    CPlayerDatabase* m_pPlayer = nullptr;
};

TEST_F(ContractClauses, BonusesAllowancesInsuranceAndTheSigningOnFee)
{
    PLAYERCONTRACT& c = m_pPlayer->m_Contract;
    c.wClauses = PLAYER_BONUS_PER_GOAL | PLAYER_BONUS_PER_CLEAN_SHEET | PLAYER_BONUS_GOALS_TARGET |
                 PLAYER_BONUS_APPEARANCES_TARGET | PLAYER_BONUS_CLEAN_SHEETS_TARGET;
    c.adwBonus[PlayerBonusSlot(PLAYER_BONUS_PER_GOAL)] = 500;
    c.adwBonus[PlayerBonusSlot(PLAYER_BONUS_PER_CLEAN_SHEET)] = 300;
    c.adwBonus[PlayerBonusSlot(PLAYER_BONUS_GOALS_TARGET)] = 10000;
    c.adwBonus[PlayerBonusSlot(PLAYER_BONUS_APPEARANCES_TARGET)] = 7000;
    c.adwBonus[PlayerBonusSlot(PLAYER_BONUS_CLEAN_SHEETS_TARGET)] = 9000;
    c.byGoalsTarget = 3;
    c.byAppearancesTarget = 2;
    c.byBonusTarget = 4;
    c.byClauseLevelA = 1;  // 15000 a year
    c.byClauseLevelB = 2;  // 6400 a year
    c.dwSigningOnFee = 12000;
    m_pPlayer->m_byContractClauses = 1 | 4;  // insurance kinds 0 and 2
    m_pPlayer->m_dwValue = 1200000;
    // Two league starts with two goals, and a friendly goal that does not count.
    m_pPlayer->IncrementMatchInformationField(0, MATCH_INFORMATION_STARTS, 2);
    m_pPlayer->IncrementMatchInformationField(0, MATCH_INFORMATION_GOALS, 2);
    m_pPlayer->IncrementMatchInformationField(3, MATCH_INFORMATION_GOALS, 1);
    m_pPlayer->m_byPeriodGoals = 2;
    m_pPlayer->m_byPeriodCleanSheets = 1;
    m_pPlayer->m_wSeasonCleanSheets = 3;

    Bookings books;
    m_pPayer->PayContractClauses(*m_pPlayer);
    const struct {
        int nCategory;
        int64_t nExpense;
        const char* pszWhat;
    } aDue[] = {
        {62, 1000, "two goals at 500"},
        {64, 300, "one clean sheet"},
        {63, 7000, "two appearances reach the target"},
        {65, 0, "two competitive goals are short of three"},
        {66, 0, "three clean sheets are short of four"},
        {58, 21400 / 12, "a twelfth of the allowances"},
        {88, 12000, "the signing-on fee"},
        {70, 250, "insurance kind 0: 0.25 % of the value a month"},
        {71, 0, "no insurance of kind 1"},
        {72, 260, "insurance kind 2"},
    };
    for (const auto& due : aDue)
        EXPECT_EQ(books.Expense(*m_pPayer, due.nCategory), due.nExpense) << due.pszWhat;
    EXPECT_EQ(c.wClauses & PLAYER_BONUS_APPEARANCES_TARGET, 0) << "a met target is paid once";
    EXPECT_NE(c.wClauses & PLAYER_BONUS_GOALS_TARGET, 0);
    EXPECT_EQ(c.dwSigningOnFee, 0u);
    EXPECT_EQ(m_pPlayer->m_byPeriodGoals, 0);
    EXPECT_EQ(m_pPlayer->m_byPeriodCleanSheets, 0);

    // The next month: no goals, the targets met once, the fee gone; a third
    // goal and a fourth clean sheet reach their targets.
    m_pPlayer->IncrementMatchInformationField(1, MATCH_INFORMATION_GOALS, 1);
    m_pPlayer->m_wSeasonCleanSheets = 4;
    books.Clear();
    m_pPayer->PayContractClauses(*m_pPlayer);
    for (int nCategory : {62, 64, 63, 88})
        EXPECT_EQ(books.Expense(*m_pPayer, nCategory), 0) << "category " << nCategory;
    EXPECT_EQ(books.Expense(*m_pPayer, 65), 10000);
    EXPECT_EQ(books.Expense(*m_pPayer, 66), 9000);
    EXPECT_EQ(books.Expense(*m_pPayer, 58), 21400 / 12) << "allowances every month";
}

TEST_F(ContractClauses, TheFormerClubIsPaidItsInstalmentsAndConditionsOnce)
{
    uint32_t* pTerms = m_pPlayer->m_adwTransferBlock;
    pTerms[0] = 5000;  // when he has played twice
    pTerms[1] = 2;
    pTerms[2] = 8000;  // when he has scored three times
    pTerms[3] = 3;
    pTerms[PLAYER_TERMS_INSTALMENT] = 1000;
    pTerms[PLAYER_TERMS_COUNTS] = 3 | (4 << 8);  // three of four instalments left
    pTerms[PLAYER_TERMS_FORMER_CLUB] = m_pFormer->GetID();
    m_pPlayer->IncrementMatchInformationField(0, MATCH_INFORMATION_STARTS, 1);
    m_pPlayer->IncrementMatchInformationField(0, MATCH_INFORMATION_SUBSTITUTE, 1);

    Bookings books;
    for (int nMonth = 0; nMonth < 5; ++nMonth)
        m_pPayer->PayContractClauses(*m_pPlayer);
    EXPECT_EQ(books.Expense(*m_pPayer, 89), 3000) << "the three instalments left, one a month";
    EXPECT_EQ(books.Income(*m_pFormer, 89), 3000);
    EXPECT_EQ(books.Expense(*m_pPayer, 92), 5000) << "the appearances condition, once";
    EXPECT_EQ(books.Income(*m_pFormer, 92), 5000);
    EXPECT_EQ(books.Expense(*m_pPayer, 93), 0) << "no goals yet";
    EXPECT_EQ(pTerms[PLAYER_TERMS_COUNTS], 4u << 8) << "none left; the number agreed stays";

    // Sold on with instalments left, the seller pays them off at once; a
    // former club that no longer exists is logged and paid nothing.
    std::vector<std::string> log;
    SetDebugLogSink([&log](int, const std::string& line) { log.push_back(line); });
    pTerms[PLAYER_TERMS_COUNTS] = 2;
    books.Clear();
    m_pPayer->PayOutstandingInstalments(*m_pPlayer);
    EXPECT_EQ(books.Expense(*m_pPayer, 89), 2000);
    EXPECT_EQ(books.Income(*m_pFormer, 89), 2000);
    pTerms[PLAYER_TERMS_COUNTS] = 1;
    pTerms[PLAYER_TERMS_FORMER_CLUB] = 65000;
    books.Clear();
    m_pPayer->PayContractClauses(*m_pPlayer);
    SetDebugLogSink({});
    EXPECT_EQ(books.Expense(*m_pPayer, 89), 1000);
    bool bLogged = false;
    for (const std::string& line : log)
        bLogged |= line.find("Could not find club 65000 to pay the transfer instalment to") != std::string::npos;
    EXPECT_TRUE(bLogged);
}

}  // namespace

namespace {

// The projection rows of what contracts and moves will cost the human.
TEST_F(ContractClauses, AHumansProjectionHoldsWhatContractsAndMovesWillCost)
{
    for (CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
        pPlayer->m_byContractClauses = 0;
        pPlayer->m_Contract.dwSigningOnFee = 0;
        std::fill(std::begin(pPlayer->m_adwTransferBlock), std::end(pPlayer->m_adwTransferBlock), 0u);
    }
    CPlayerDatabase* pPlayer = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
    pPlayer->m_byTransferState = 0;
    pPlayer->m_dwValue = 1200000;
    pPlayer->m_byContractClauses = 2 | 8;  // kinds 1 and 3
    pPlayer->m_Contract.dwSigningOnFee = 9000;
    pPlayer->m_adwTransferBlock[PLAYER_TERMS_INSTALMENT] = 1000;
    pPlayer->m_adwTransferBlock[PLAYER_TERMS_COUNTS] = 2;
    const CDate today = H().GetGameDate();
    auto monthAhead = [&](int n) {
        return std::make_pair((today.GetMonth() - 1 + n) % 12 + 1, today.GetYear() + (today.GetMonth() - 1 + n) / 12);
    };
    const auto [nFeeMonth, nFeeYear] = monthAhead(2);
    m_pClub->AddFuturePayment(40000, pPlayer->m_idPerson, m_pFormer->GetID(), CDate(nFeeYear, nFeeMonth, 1), 2);
    // A camp booked at 3500, a month ahead.
    auto* pCamp = new TRAININGCAMP;
    const uint32_t dwPrice = 3500;
    std::memcpy(pCamp->abyBooking + 4, &dwPrice, sizeof dwPrice);
    const auto [nCampMonth, nCampYear] = monthAhead(1);
    pCamp->Start = CDate(nCampYear, nCampMonth, 10);
    pCamp->byLength = 7;
    m_pHuman->GetTrainingManager().AddTrainingCamp(pCamp);

    auto project = [&](int nCategory, int nAhead) {
        const auto [nMonth, nYear] = monthAhead(nAhead);
        int64_t nIncome = 0, nExpense = 0;
        m_pHuman->ComputeProjectedFinance(nCategory, nMonth, nYear, nIncome, nExpense);
        return std::make_pair(nIncome, nExpense);
    };
    const struct {
        int nCategory, nAhead;
        int64_t nExpense;
        const char* pszWhat;
    } aRows[] = {
        {70, 0, 0, "no insurance of kind 0"},
        {71, 0, 240, "0.24 % of his value"},
        {73, 3, 230, "0.23 % of his value, every month"},
        {88, 0, 9000, "the signing-on fee this month"},
        {88, 1, 0, "and only this month"},
        {89, 0, 0, "this month's instalment is paid"},
        {89, 1, 1000, "two instalments left"},
        {89, 2, 1000, ""},
        {89, 3, 0, "none after them"},
        {87, 2, 40000, "a fee due in two months"},
        {87, 1, 0, ""},
        {74, 1, 3500, "the camp in the month it begins"},
        {74, 2, 0, ""},
    };
    for (const auto& row : aRows)
        EXPECT_EQ(project(row.nCategory, row.nAhead).second, row.nExpense)
            << "category " << row.nCategory << " " << row.nAhead << " months ahead: " << row.pszWhat;
    EXPECT_EQ(project(87, 2).first, 0);
}

}  // namespace
