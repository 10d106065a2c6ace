// A season of the starting world with one human: every club's balance moves
// by exactly what its books say, every kind of money the game moves shows
// in them, a human leaving mid-month leaves every booking banked once, a
// human's gate follows his ticket prices, and his projection
// file and match records carry the money.
#include "../humans/HumanWorld.h"

#include "database/MatchHistory.h"
#include "season/CComponentDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CupRecords.h"
#include "season/CupStructureTable.h"
#include "season/MatchRecords.h"

#include <array>
#include <map>
#include <utility>
#include <vector>

namespace {

using humans_test::HumanWorld;

// Every booking of every club, by category; the money banked by computer
// clubs is checked against their group totals as it is banked.
class Ledger : public CClubDatabase::FINANCEOBSERVER {
public:
    // Money already booked and not yet banked when the watch starts counts
    // as booked.
    explicit Ledger(const std::vector<CClubDatabase*>& clubs)
    {
        for (const CClubDatabase* pClub : clubs) {
            Books& books = m_Books[pClub->GetID()];
            for (int g = 0; g < CLUB_FINANCE_GROUPS; ++g) {
                books.anUnbanked[static_cast<size_t>(g)] = pClub->m_anFinanceAccumulators[g];
                books.nOpenAtStart += pClub->m_anFinanceAccumulators[g];
            }
        }
        CClubDatabase::s_pFinanceObserver = this;
    }
    ~Ledger() override { CClubDatabase::s_pFinanceObserver = nullptr; }

    void OnTransaction(const CClubDatabase& club, int nCategory, int32_t nIncome, int32_t nExpense) override
    {
        Books& books = m_Books[club.GetID()];
        books.anIncome[static_cast<size_t>(nCategory)] += nIncome;
        books.anExpense[static_cast<size_t>(nCategory)] += nExpense;
        books.anUnbanked[static_cast<size_t>(CClubDatabase::FindFinanceCategory(nCategory))] +=
            static_cast<int64_t>(nIncome) - nExpense;
    }
    void OnBalanceSet(const CClubDatabase& club, int32_t nOld, int32_t nNew) override
    {
        m_Books[club.GetID()].nSetOutside += static_cast<int64_t>(nNew) - nOld;
    }
    void OnBanked(const CClubDatabase& club) override
    {
        Books& books = m_Books[club.GetID()];
        for (int g = 0; g < CLUB_FINANCE_GROUPS; ++g)
            if (books.anUnbanked[static_cast<size_t>(g)] != club.m_anFinanceAccumulators[g])
                ++m_nGroupMismatches;
        books.anUnbanked.fill(0);
    }

    struct Books {
        std::array<int64_t, 103> anIncome{};
        std::array<int64_t, 103> anExpense{};
        std::array<int64_t, CLUB_FINANCE_GROUPS> anUnbanked{};
        int64_t nSetOutside = 0;
        int64_t nOpenAtStart = 0;
        int64_t Net() const
        {
            int64_t n = 0;
            for (size_t c = 0; c < anIncome.size(); ++c)
                n += anIncome[c] - anExpense[c];
            return n;
        }
    };
    std::map<ID_CLUB, Books> m_Books;
    int m_nGroupMismatches = 0;
};

// The starting grounds hold stands only; a human sells what his shops,
// kiosks and car parks stock.
void BuildFacilities(CClubDatabase& club)
{
    const uint8_t aKinds[][2] = {{9, 1}, {7, 1}, {5, 1}, {6, 0}, {8, 1}, {4, 0}, {4, 1}};
    for (const auto& kind : aKinds) {
        auto* pFacility = new CComponentDatabase(COMPONENT_FACILITY, club.m_pGround->GetID());
        pFacility->SetSubType(kind[0]);
        pFacility->GetSpecificData()[0] = kind[1];
        club.m_pGround->AddComponent(pFacility);
    }
    club.UpdateGroundFacilityTotals();
}

std::vector<CClubDatabase*> AllClubs(CDatabaseHandler& handler)
{
    std::vector<CClubDatabase*> clubs;
    for (CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                clubs.push_back(pClub);
    return clubs;
}

TEST_F(HumanWorld, EveryClubsBalanceOverASeasonIsTheSumOfItsBooks)
{
    m_pHuman->SetDelegation(4, 1);  // his sponsors and hoardings look after themselves
    m_pHuman->SetDelegation(5, 1);
    const std::vector<CClubDatabase*> clubs = AllClubs(H());
    ASSERT_EQ(clubs.size(), 430u);
    std::map<ID_CLUB, int32_t> startBalance;
    for (const CClubDatabase* pClub : clubs)
        startBalance[pClub->GetID()] = pClub->m_nBankBalance;
    FINANCEENTRY aHumanStart[FINANCE_CATEGORIES];
    int64_t nHumanUnsettled = 0;  // booked in his month so far, banked at its close
    for (int c = 0; c < FINANCE_CATEGORIES; ++c) {
        aHumanStart[c] = m_pHuman->GetSeasonEntry(c);
        if (CSaveGame::GetFinanceCategory(c).byBalance == 2)
            nHumanUnsettled += static_cast<int64_t>(m_pHuman->GetMonthEntry(c).nIncome) - m_pHuman->GetMonthEntry(c).nExpense;
    }

    Ledger ledger(clubs);
    // The board's patience is not watched here: a human who does nothing all
    // season may be sacked, and his club's books then pass to the computer.
    for (int nDay = 0; nDay < 365; ++nDay) {
        m_pClub->m_nBoardConfidence = 100;
        RunDays(1);
    }
    ASSERT_EQ(m_pHuman->GetClub(), m_pClub) << "the human still runs his club";

    EXPECT_EQ(ledger.m_nGroupMismatches, 0) << "a computer club banked other than its books' group totals";
    for (const CClubDatabase* pClub : clubs) {
        const Ledger::Books& books = ledger.m_Books[pClub->GetID()];
        int64_t nExpected = startBalance[pClub->GetID()] + books.nSetOutside;
        if (pClub == m_pClub) {
            // The human's books: the season table holds every booking, and the
            // month not yet closed has not settled into the bank.
            for (int c = 0; c < FINANCE_CATEGORIES; ++c) {
                EXPECT_EQ(m_pHuman->GetSeasonEntry(c).nIncome - aHumanStart[c].nIncome, books.anIncome[static_cast<size_t>(c)])
                    << "category " << c;
                EXPECT_EQ(m_pHuman->GetSeasonEntry(c).nExpense - aHumanStart[c].nExpense,
                          books.anExpense[static_cast<size_t>(c)])
                    << "category " << c;
                if (CSaveGame::GetFinanceCategory(c).byBalance == 2)
                    nExpected -= static_cast<int64_t>(m_pHuman->GetMonthEntry(c).nIncome) - m_pHuman->GetMonthEntry(c).nExpense;
            }
            EXPECT_EQ(books.nSetOutside, 0) << "nothing sets a human's balance outside his books";
            nExpected += nHumanUnsettled + books.Net();
        }
        else {
            int64_t nOpen = 0;
            for (int32_t nAccumulator : pClub->m_anFinanceAccumulators)
                nOpen += nAccumulator;
            nExpected += books.nOpenAtStart + books.Net() - nOpen;
        }
        EXPECT_EQ(pClub->m_nBankBalance, nExpected) << pClub->GetName();
    }

    // Every kind of money the season moves shows in some club's books.
    const struct {
        int nCategory;
        const char* pszWhat;
        bool bIncome;
    } aKinds[] = {
        {1, "cup gate, home", true},       {2, "cup gate, away", true},      {3, "cup match costs", false},
        {5, "league gate", true},          {6, "league match costs", false}, {9, "player wages", false},
        {11, "staff wages", false},        {17, "manager wages", false},     {45, "hoardings", true},
        {46, "board sponsors", true},      {53, "kit sponsor", true},        {54, "shirt sponsor", true},
        {56, "prize money", true},         {57, "cup round payments", true}, {80, "interest", true},
        {87, "transfer fees", true},       {87, "transfer fees", false},     {58, "allowances", false},
        {62, "goal bonuses", false},       {63, "appearance targets", false}, {64, "clean-sheet bonuses", false},
        {72, "insurance", false},          {88, "signing-on fees", false},   {89, "instalments", true},
        {89, "instalments", false},
    };
    std::vector<int> categories;
    for (const auto& kind : aKinds)
        categories.push_back(kind.nCategory);
    auto anyClub = [&](int nCategory, bool bIncome) {
        for (const auto& [id, books] : ledger.m_Books)
            if ((bIncome ? books.anIncome : books.anExpense)[static_cast<size_t>(nCategory)] != 0)
                return true;
        return false;
    };
    for (const auto& kind : aKinds)
        EXPECT_TRUE(anyClub(kind.nCategory, kind.bIncome)) << kind.pszWhat << " (category " << kind.nCategory << ")";
    for (int c = 18; c <= 27; ++c)
        EXPECT_TRUE(anyClub(c, true)) << "weekly sales, category " << c;
    for (int c = 28; c <= 44; ++c)
        EXPECT_TRUE(anyClub(c, true)) << "match-day facilities, category " << c;
    for (int c : {96, 97, 98, 102})
        EXPECT_TRUE(anyClub(c, false)) << "match-day costs, category " << c;
}

TEST_F(HumanWorld, AHumanLeavingMidMonthLeavesEveryBookingBankedOnce)
{
    m_pHuman->CloseFinanceMonth();  // an empty month to start from
    const int32_t nStart = m_pClub->m_nBankBalance;
    m_pClub->AddFinanceTransaction(5, 1000, 0);  // a gate: banked at once
    m_pClub->AddFinanceTransaction(9, 0, 400);   // wages: banked at the month's close
    ASSERT_EQ(m_pClub->m_nBankBalance, nStart + 1000);
    m_pHuman->LeaveClub();
    EXPECT_EQ(m_pClub->m_nBankBalance, nStart + 600) << "his open month settles as he leaves";
    // The club's first banking as a computer club has nothing of his left.
    m_pClub->BankFinanceAccumulators();
    EXPECT_EQ(m_pClub->m_nBankBalance, nStart + 600);
    m_pClub->AddFinanceTransaction(5, 250, 0);
    EXPECT_EQ(m_pHuman->GetMonthEntry(5).nIncome, 0) << "his record books nothing of the club he left";
    m_pClub->BankFinanceAccumulators();
    EXPECT_EQ(m_pClub->m_nBankBalance, nStart + 850);
}

TEST_F(HumanWorld, AHumansGateFollowsHisTicketPricesAndPolicy)
{
    CClubDatabase* pOpponent = H().GetClubFromID(2);
    ASSERT_NE(pOpponent, nullptr);
    const CGroundDatabase* pGround = m_pClub->m_pGround;
    ASSERT_NE(pGround, nullptr);
    int nStand = -1;
    for (int s = 0; s < STAND_SIDES && nStand < 0; ++s)
        if (pGround->GetStandOnSide(s))
            nStand = s;
    ASSERT_GE(nStand, 0) << "the club's ground has a stand";

    // Standard policy: every open stand at its standard price.
    m_pHuman->SetDelegation(6, 2);
    m_pHuman->ApplyTicketPolicy();
    const int nStandard = m_pHuman->GetStandardTicketPrices(nStand, STAND_PRICE_LEAGUE);
    ASSERT_GT(nStandard, 0);
    EXPECT_EQ(m_pHuman->GetStandPrice(nStand, 0, STAND_PRICE_LEAGUE), nStandard);
    EXPECT_EQ(m_pHuman->GetStandardTicketPrices(nStand, STAND_PRICE_SEASON),
              (m_pClub->m_pDivision->GetClubCount() - 1) * m_pHuman->GetStandardTicketPrices(nStand, STAND_PRICE_FRIENDLY));

    // Each gate moves the fans' mood; each is taken from the same mood.
    const int8_t nFans = m_pClub->m_nFanConfidence;
    auto gate = [&](int32_t& nReceipts, std::vector<STANDATTENDANCE>& stands) {
        m_pClub->m_nFanConfidence = nFans;
        stands.assign(STAND_SIDES * STAND_SECTIONS, STANDATTENDANCE());
        const int32_t nLeagueBefore = m_pHuman->GetMonthEntry(5).nIncome;
        const int nCrowd = m_pClub->GetMatchAttendance(pOpponent, 0, &nReceipts, stands.data());
        EXPECT_EQ(m_pHuman->GetMonthEntry(5).nIncome - nLeagueBefore, nReceipts) << "the receipts are booked";
        return nCrowd;
    };
    int32_t nStandardReceipts = 0;
    std::vector<STANDATTENDANCE> stands;
    const int nStandardCrowd = gate(nStandardReceipts, stands);
    int64_t nSum = 0, nIncome = 0;
    for (int s = 0; s < STAND_SIDES; ++s)
        for (int nSection = 0; nSection < STAND_SECTIONS; ++nSection) {
            const STANDATTENDANCE& entry = stands[static_cast<size_t>(s * STAND_SECTIONS + nSection)];
            nSum += entry.wAttendance;
            nIncome += entry.dwIncome;
            EXPECT_EQ(entry.dwIncome, static_cast<uint32_t>(entry.wAttendance) *
                                          m_pHuman->GetStandPrice(s, nSection, STAND_PRICE_LEAGUE))
                << "no season tickets sold yet: everyone pays the set price";
        }
    EXPECT_GT(nStandardCrowd, 0);
    EXPECT_LE(nStandardCrowd, pGround->GetCapacity());
    EXPECT_EQ(nSum, nStandardCrowd);
    EXPECT_EQ(nIncome, nStandardReceipts);
    // The human's gate is worked out, not drawn: the same prices, the same crowd.
    int32_t nAgain = 0;
    EXPECT_EQ(gate(nAgain, stands), nStandardCrowd);

    // Raising: at least 1 per cent over the standard.
    m_pHuman->SetDelegation(6, 1);
    m_pHuman->ApplyTicketPolicy();
    EXPECT_GE(m_pHuman->GetStandPrice(nStand, 0, STAND_PRICE_LEAGUE), static_cast<int>(nStandard * 1.01f));
    EXPECT_GT(m_pHuman->GetStandPrice(nStand, 0, STAND_PRICE_LEAGUE), nStandard - 1);

    // Prices set by hand: dearer tickets empty the stands, cheap ones fill them.
    m_pHuman->SetDelegation(6, 0);
    int32_t nReceipts = 0;
    m_pHuman->SetStandPrices(2.0f);
    const int nDearCrowd = gate(nReceipts, stands);
    m_pHuman->SetStandPrices(0.5f);
    const int nCheapCrowd = gate(nReceipts, stands);
    EXPECT_LT(nDearCrowd, nStandardCrowd);
    EXPECT_GT(nCheapCrowd, nStandardCrowd);
    EXPECT_LE(nCheapCrowd, pGround->GetCapacity());
}

TEST_F(HumanWorld, TheHumansRecordsAndProjectionCarryTheMatchDayMoney)
{
    m_pHuman->SetDelegation(4, 1);
    m_pHuman->SetDelegation(5, 1);
    m_pHuman->SetDelegation(6, 2);
    BuildFacilities(*m_pClub);
    for (int r = 0; r < TICKET_ROWS; ++r)
        EXPECT_GT(m_pHuman->GetTicketField(r, TICKET_FIELD_STOCK), 0) << "row " << r << " is stocked";
    RunDays(75);
    ASSERT_TRUE(H().FlushWorkingFiles());

    // His home matches carry the club's parts: 17 sales rows, 7 costs, the
    // gate and the stands' block, whose crowd is the match's.
    FILE* pFile = std::fopen(m_pClub->GetCountry()->GetMatchHistoryFileName().c_str(), "rb");
    ASSERT_NE(pFile, nullptr);
    int nHomeMatches = 0;
    int nCostsBooked = 0;
    MATCHHISTORYHEADER header;
    MATCHRECORDBODY body;
    while (CDatabaseHandler::ReadNextMatchRecord(pFile, header, &body)) {
        if (header.wHomeClub != m_pClub->GetID()) {
            EXPECT_EQ(header.byOptionalParts, 0);
            continue;
        }
        ++nHomeMatches;
        EXPECT_EQ(header.byOptionalParts, MATCHPART_CLUB_MATCH | MATCHPART_CLUB_SEVEN | MATCHPART_VALUE |
                                              MATCHPART_ATTENDANCE);
        ASSERT_EQ(body.AttendanceBlock.size(), 256u);
        uint32_t dwCrowd = 0;
        for (size_t i = 0; i < 32; ++i)
            dwCrowd += body.AttendanceBlock[i * 8 + 4] | body.AttendanceBlock[i * 8 + 5] << 8;
        EXPECT_EQ(dwCrowd, header.dwAttendance);
        // The record's money reads back as the books took it.
        int64_t nFacilities = 0;
        for (int32_t nProfit : body.Finance.anFacilityProfit)
            nFacilities += nProfit;
        EXPECT_GT(nFacilities, 0);
        EXPECT_GT(body.Finance.nGate, 0);
        for (const FINANCETRANSACTION* p : m_pHuman->GetTransactions().Items<FINANCETRANSACTION>())
            if (p->dwParameter == header.dwMatchID && p->dwCategory >= 96 && p->dwCategory <= 102) {
                EXPECT_EQ(p->nExpense, body.Finance.anCosts[p->dwCategory - 96]) << "category " << p->dwCategory;
                ++nCostsBooked;
            }
    }
    std::fclose(pFile);
    EXPECT_GT(nHomeMatches, 0);
    EXPECT_GT(nCostsBooked, 0) << "a home match of the running month";
    int nSold = 0;
    for (int r = 0; r < TICKET_ROWS; ++r)
        nSold += m_pHuman->GetTicketField(r, TICKET_FIELD_SEASON_BUYERS) > 0;
    EXPECT_EQ(nSold, TICKET_ROWS) << "every stocked row sold something";
    const std::string wmh = humans_test::ReadFile("Temp" + std::to_string(m_pClub->GetID()) + ".wmh");
    EXPECT_GT(wmh.size(), 0u);
    EXPECT_EQ(wmh.size() % 204, 0u);
    const std::string hhs = humans_test::ReadFile("Temp" + std::to_string(m_pClub->GetID()) + ".hhs");
    EXPECT_GT(hhs.size(), 0u);
    EXPECT_EQ(hhs.size() % 8, 0u);

    // The projection: six months of every category, each month's balance the
    // last one's plus its money.
    ASSERT_TRUE(m_pHuman->WriteProjectedFinance());
    const std::string pfn = humans_test::ReadFile(m_pHuman->GetProjectedFinanceFileName());
    ASSERT_EQ(pfn.size(), 6u * 888u);
    auto i32 = [&pfn](size_t n) {
        return static_cast<int32_t>(static_cast<uint8_t>(pfn[n]) | static_cast<uint8_t>(pfn[n + 1]) << 8 |
                                    static_cast<uint8_t>(pfn[n + 2]) << 16 |
                                    static_cast<uint32_t>(static_cast<uint8_t>(pfn[n + 3])) << 24);
    };
    std::array<int64_t, FINANCE_CATEGORIES> anIncome{}, anExpense{};
    int64_t nBalance = m_pClub->m_nBankBalance;
    for (size_t m = 0; m < 6; ++m) {
        const size_t nBase = m * 888;
        for (size_t c = 0; c < FINANCE_CATEGORIES; ++c) {
            anIncome[c] += i32(nBase + 4 + 8 * c);
            anExpense[c] += i32(nBase + 8 + 8 * c);
            nBalance += i32(nBase + 4 + 8 * c) - i32(nBase + 8 + 8 * c);
        }
        EXPECT_EQ(i32(nBase), nBalance) << "month " << m;
    }
    for (int c : {5, 18, 28, 45, 46})
        EXPECT_GT(anIncome[static_cast<size_t>(c)], 0) << "projected income of category " << c;
    // Stewards (96) are not counted by the head for a crowd of 51,000 or more.
    for (int c : {6, 9, 28, 98, 102})
        EXPECT_GT(anExpense[static_cast<size_t>(c)], 0) << "projected expense of category " << c;
}

// Each category books into the group of the run that holds it; the gaps
// between runs and anything outside them book into group 0.
TEST(FinanceGroups, EachCategoryBooksIntoItsRunsGroup)
{
    const std::pair<int, int> cases[] = {
        {-1, 0}, {0, 0},   {1, 1},   {8, 1},   {9, 2},   {17, 2},  {18, 3},   {37, 3},   {38, 4},  {44, 4},
        {45, 5}, {46, 5},  {47, 6},  {49, 6},  {50, 7},  {52, 7},  {53, 8},   {54, 8},   {55, 9},  {57, 9},
        {58, 10}, {74, 10}, {75, 0}, {76, 0},  {77, 11}, {79, 11}, {80, 12},  {86, 12},  {87, 13}, {95, 13},
        {96, 14}, {102, 14}, {103, 0}, {1000, 0},
    };
    for (const auto& [nCategory, nGroup] : cases)
        EXPECT_EQ(CClubDatabase::FindFinanceCategory(nCategory), nGroup) << nCategory;
}

TEST(CupRoundPayment, LateRoundsPayHalfAndTheCountryScalesIt)
{
    CCountryDatabase country;
    country.SetLevel(50);
    CClubDatabase club;
    club.m_pCountry = &country;
    const struct {
        uint8_t byRound, byRounds;
        int32_t nPaid;
    } aCases[] = {
        {1, 1, 75000},   // a one-round cup
        {1, 6, 150000},  // early rounds
        {3, 6, 150000},
        {4, 6, 75000},  // the last three
        {6, 6, 75000},
    };
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetCupStructureTable();
    ASSERT_NE(pDefinition, nullptr);
    for (const auto& c : aCases) {
        CUP cup(*pDefinition, 1);
        cup.byRound = c.byRound;
        cup.byRounds = c.byRounds;
        std::fill(std::begin(club.m_anFinanceAccumulators), std::end(club.m_anFinanceAccumulators), 0);
        club.AddCupRoundPayment(&cup);
        // Level 50: (50 / 10 + 5) x 10 = 100 hundredths, the sum itself.
        EXPECT_EQ(club.m_anFinanceAccumulators[CClubDatabase::FindFinanceCategory(57)], c.nPaid)
            << "round " << int(c.byRound) << " of " << int(c.byRounds);
    }
    country.SetLevel(90);
    std::fill(std::begin(club.m_anFinanceAccumulators), std::end(club.m_anFinanceAccumulators), 0);
    CUP cup(*pDefinition, 1);
    cup.byRound = 1;
    cup.byRounds = 6;
    club.AddCupRoundPayment(&cup);
    EXPECT_EQ(club.m_anFinanceAccumulators[CClubDatabase::FindFinanceCategory(57)], 210000);
}

}  // namespace

namespace {

TEST_F(HumanWorld, MatchDayCostUnitsCountTheCrowdByTheThousand)
{
    // The units of the ground's own facilities, then the crowd's terms.
    const CClubDatabase* pClub = H().GetClubFromID(2);
    ASSERT_NE(pClub, nullptr);
    int anBase[CLUB_MATCHDAY_COST_ROWS];
    for (int r = 0; r < CLUB_MATCHDAY_COST_ROWS; ++r)
        anBase[r] = pClub->GetMatchdayCostUnits(r, 0);
    const struct {
        int nCrowd;
        int nStewards, nPolice, nCleaning, nRowThree, nRowSix;
    } aCases[] = {
        {999, 0, 0, 0, 0, 0},
        {1000, 10, 20, 1, 0, 1},
        {25000, 175, 350, 25, 0, 25},
        {50999, 250, 500, 50, 0, 50},
        {51000, 0, 0, 51, 0, 51},  // no stewards or police by the head beyond 50,999
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(pClub->GetMatchdayCostUnits(0, c.nCrowd), anBase[0] + c.nStewards) << c.nCrowd;
        EXPECT_EQ(pClub->GetMatchdayCostUnits(1, c.nCrowd), anBase[1] + c.nPolice) << c.nCrowd;
        EXPECT_EQ(pClub->GetMatchdayCostUnits(2, c.nCrowd), anBase[2] + c.nCleaning) << c.nCrowd;
        EXPECT_EQ(pClub->GetMatchdayCostUnits(3, c.nCrowd), anBase[3] + c.nRowThree) << c.nCrowd;
        EXPECT_EQ(pClub->GetMatchdayCostUnits(6, c.nCrowd), anBase[6] + c.nRowSix) << c.nCrowd;
    }
}

// A match day books each cost row at its units (the ground's finished
// facilities and the crowd's terms) times the row's amount; the booking
// counts the facilities in one walk, the units' answer walks for each.
TEST_F(HumanWorld, MatchDayCostsAreBookedAtTheRowsUnits)
{
    struct Expenses : CClubDatabase::FINANCEOBSERVER {
        std::map<int, int64_t> byCategory;
        void OnTransaction(const CClubDatabase&, int nCategory, int32_t, int32_t nExpense) override
        {
            byCategory[nCategory] += nExpense;
        }
        void OnBalanceSet(const CClubDatabase&, int32_t, int32_t) override {}
        void OnBanked(const CClubDatabase&) override {}
    } expenses;
    const auto& rows = H().GetGameTables().GetMatchDayCosts();
    ASSERT_EQ(rows.size(), static_cast<size_t>(CLUB_MATCHDAY_COST_ROWS));
    int nClubsWithFacilityUnits = 0;
    for (ID_CLUB idClub : {1, 2, 3, 4, 5, 6}) {
        CClubDatabase* pClub = H().GetClubFromID(idClub);
        ASSERT_NE(pClub, nullptr);
        bool bFacilities = false;
        for (int r = 0; r < CLUB_MATCHDAY_COST_ROWS; ++r)
            bFacilities = bFacilities || pClub->GetMatchdayCostUnits(r, 0) > 0;
        nClubsWithFacilityUnits += bFacilities ? 1 : 0;
        for (int nCrowd : {0, 25000}) {
            expenses.byCategory.clear();
            CClubDatabase::s_pFinanceObserver = &expenses;
            pClub->BookMatchdayCosts(nullptr, nCrowd, 0);
            CClubDatabase::s_pFinanceObserver = nullptr;
            for (int r = 0; r < CLUB_MATCHDAY_COST_ROWS; ++r)
                EXPECT_EQ(expenses.byCategory[96 + r],
                          static_cast<int64_t>(pClub->GetMatchdayCostUnits(r, nCrowd)) * rows[static_cast<size_t>(r)].nUnitAmount)
                    << "club " << idClub << " row " << r << " crowd " << nCrowd;
        }
    }
    // The world's grounds have facilities to count.
    EXPECT_GT(nClubsWithFacilityUnits, 0);
}

}  // namespace

TEST(BankRates, TheBaseRateIsTheCountrysEconomyIndexInWholePerCents)
{
    CCountryDatabase country;
    CClubDatabase club;
    EXPECT_EQ(club.GetBaseInterestRate(), 6.0) << "a club without a country";
    club.m_pCountry = &country;
    for (const auto& [nIndex, dRate] : {std::pair{300, 3.0}, std::pair{675, 6.0}, std::pair{800, 8.0}}) {
        country.SetEconomyIndex(nIndex);
        EXPECT_EQ(club.GetBaseInterestRate(), dRate) << nIndex;
    }
}
