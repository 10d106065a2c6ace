// What a human's requests come to: a job application answered by the club
// (and noticed by his own board), staff offers weighed against the club's
// purse and the man's asking wage, and friendlies he asks for.
#include "HumanWorld.h"

#include "database/CBuyOfferDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CStaffDatabase.h"
#include "season/CNewspaperManager.h"

#include <algorithm>

using namespace humans_test;

namespace {

ID_STAFF FirstPoolStaff(CDatabaseHandler& handler)
{
    for (const void* pValue : handler.GetStaffPool().Items<void>())
        return static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
    return 0;
}

TEST_F(HumanWorld, AnApplicationElsewhereIsHeardOfByHisBoard)
{
    CClubDatabase* pOther = H().GetClubFromID(5);
    ASSERT_NE(pOther, nullptr);
    CManagerDatabase* pManager = H().GetManagerFromID(m_pHuman->GetManagerID());
    ASSERT_NE(pManager, nullptr);
    pManager->m_byAbility = 60;
    pManager->m_byRating = 22;
    JOBAPPLICATION* pApplication = m_pHuman->ApplyForJob(pOther);
    ASSERT_NE(pApplication, nullptr);
    RunDays(30);
    EXPECT_EQ(pApplication->dwStatus, 2u) << "a man in a job is turned down";
    EXPECT_NE(m_pHuman->GetNews().FindIncoming(248), nullptr) << "his board heard of it";
    EXPECT_EQ(pManager->m_byAbility, 50);
    EXPECT_EQ(pManager->m_byRating, 20) << "never below 20";
}

TEST_F(HumanWorld, StaffOffersAreWeighedByPurseAndAskingWage)
{
    const ID_STAFF idStaff = FirstPoolStaff(H());
    ASSERT_NE(idStaff, 0);
    CStaffDatabase* pStaff = H().GetStaffFromID(idStaff);
    ASSERT_NE(pStaff, nullptr);
    const int nAsking = pStaff->GetAcceptedWage(1 << 30);
    ASSERT_GT(nAsking, 0);
    struct Case {
        const char* pszName;
        int32_t nBalance;
        int32_t nOffer;
        uint8_t byStatus;
        uint16_t wNews;
    };
    const Case cases[] = {
        {"below his asking wage", 500000000, nAsking / 2, 2, 8},
        {"beyond the club's purse", 0, nAsking, 5, 167},
        {"a fair offer the club can pay", 500000000, nAsking, 3, 10},
    };
    for (const Case& c : cases) {
        m_pClub->m_nBankBalance = c.nBalance;
        STAFFNEGOTIATION* p = m_pHuman->AddStaffNegotiation(idStaff, c.nOffer);
        m_pHuman->UpdateStaffNegotiations();
        ASSERT_EQ(p->byStatus, 1) << c.pszName;
        p->Decision = H().GetGameDate();
        m_pHuman->UpdateStaffNegotiations();
        EXPECT_EQ(p->byStatus, c.byStatus) << c.pszName;
        EXPECT_NE(m_pHuman->GetNews().FindIncoming(c.wNews), nullptr) << c.pszName;
        m_pHuman->RemoveStaffNegotiation(p);
    }
    // Confirmed: he joins on the offered wage.
    STAFFNEGOTIATION* p = m_pHuman->AddStaffNegotiation(idStaff, nAsking + 100);
    p->byStatus = 4;
    m_pHuman->UpdateStaffNegotiations();
    EXPECT_EQ(pStaff->m_pClub, m_pClub);
    EXPECT_EQ(pStaff->m_dwWage, static_cast<uint32_t>(nAsking + 100));
    EXPECT_EQ(m_pHuman->FindStaffNegotiation(idStaff), nullptr);
}

TEST_F(HumanWorld, AHumanHearsTheAnswerToHisFriendly)
{
    // A club of another division, then one of his own.
    CClubDatabase* pOther = nullptr;
    CClubDatabase* pSame = nullptr;
    for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        if (pClub != m_pClub && !pSame)
            pSame = pClub;
    for (CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            if (pDivision != m_pClub->m_pDivision && !pOther && pDivision->GetClubCount() > 0)
                pOther = static_cast<CClubDatabase*>(pDivision->m_lstClubsByTable.GetHead()->pData);
    ASSERT_NE(pOther, nullptr);
    ASSERT_NE(pSame, nullptr);
    CDate date(H().GetGameDate().GetValue(), 5);
    while (!H().IsClubFreeOnDate(m_pClub, date) || !H().IsClubFreeOnDate(pOther, date) ||
           !H().IsClubFreeOnDate(pSame, CDate(date.GetValue(), 1)))
        date = CDate(date.GetValue(), 2);
    ASSERT_NE(H().OrganiseFriendlyFixture(m_pClub, pOther, date, false), nullptr);
    RunDays(2);
    EXPECT_NE(m_pHuman->GetNews().FindIncoming(206), nullptr) << "accepted";
    ASSERT_NE(H().OrganiseFriendlyFixture(m_pClub, pSame, CDate(date.GetValue(), 1), false), nullptr);
    RunDays(2);
    EXPECT_NE(m_pHuman->GetNews().FindIncoming(207), nullptr) << "refused";
}

TEST_F(HumanWorld, APlayerOnAPoorContractAsksForABetterOne)
{
    CPlayerDatabase* pPlayer = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
    ASSERT_NE(pPlayer, nullptr);
    pPlayer->m_dwFlags &= ~PLAYER_FLAG_CONTRACT_REQUEST;
    // Paid like a king: content.
    pPlayer->m_Contract.dwYearlyWage = 1000000000;
    EXPECT_FALSE(pPlayer->CheckContractRequest());
    EXPECT_FALSE(pPlayer->m_dwFlags & PLAYER_FLAG_CONTRACT_REQUEST);
    // Paid nothing: he asks, and says why.
    pPlayer->m_Contract = PLAYERCONTRACT{};
    EXPECT_TRUE(pPlayer->CheckContractRequest());
    EXPECT_TRUE(pPlayer->m_dwFlags & PLAYER_FLAG_CONTRACT_REQUEST);
    const CNewsItem* pNews = m_pHuman->GetNews().FindIncoming(71);
    ASSERT_NE(pNews, nullptr);
    EXPECT_EQ(pNews->GetSlot(NEWS_SLOT_PERSON), pPlayer->m_idPerson);
}

TEST_F(HumanWorld, TheTeamSheetCheckNamesThePlayerWhoCannotPlay)
{
    CPlayerDatabase* pPlayer = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
    for (int nPlace = 0; nPlace < SAVEGAME_SHEET_PLACES; ++nPlace)
        m_pHuman->SetSheetPlayer(nPlace, nullptr);
    m_pHuman->SetSheetPlayer(0, pPlayer);
    m_pHuman->UpdateNextFixture();
    ASSERT_GE(m_pHuman->GetNextFixture(nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(m_pHuman->CheckTeamSheet(0), 0) << "a fit player";
    pPlayer->m_dwFlags |= PLAYER_FLAG_INJURED;
    pPlayer->m_byInjuryType = 1;
    EXPECT_EQ(m_pHuman->CheckTeamSheet(0), 1) << "injured";
    pPlayer->m_byInjuryType = 2;
    EXPECT_EQ(m_pHuman->CheckTeamSheet(0), 0) << "a knock he can play with";
    pPlayer->m_bySuspensionFlags = PLAYER_SUSPENDED_DOMESTIC;
    EXPECT_EQ(m_pHuman->CheckTeamSheet(0), 2) << "banned";
    m_pHuman->UpdateNavigationAlerts();
    EXPECT_EQ(m_pHuman->GetNavigationAlert(7), 1);
    pPlayer->m_bySuspensionFlags = 0;

    // The league's rules: five substitutes named, one player who needs a
    // work permit. A second such player among the named is one too many;
    // beyond the substitutes' places nobody counts.
    CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    pDivision->m_MatchRules.nRules = (1 << 24) | (5 << 16) | (3 << 8);
    std::vector<CPlayerDatabase*> others;
    for (CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (p != pPlayer && others.size() < 2) {
            p->m_dwFlags &= ~(PLAYER_FLAG_INJURED | PLAYER_FLAG_WORK_PERMIT_SETTLED);
            p->m_bySuspensionFlags = 0;
            others.push_back(p);
        }
    ASSERT_EQ(others.size(), 2u);
    pPlayer->m_dwFlags |= PLAYER_FLAG_NEEDS_WORK_PERMIT;
    others[0]->m_dwFlags |= PLAYER_FLAG_NEEDS_WORK_PERMIT;
    m_pHuman->SetSheetPlayer(16, others[0]);
    EXPECT_EQ(m_pHuman->CheckTeamSheet(0), 0) << "the second is not named";
    m_pHuman->SetSheetPlayer(15, others[0]);
    EXPECT_EQ(m_pHuman->CheckTeamSheet(0), 5) << "two restricted players";
    m_pHuman->SetDelegation(1, 1);
    EXPECT_EQ(m_pHuman->CheckTeamSheet(0), 0) << "his assistant picks the team";
    m_pHuman->SetDelegation(1, 0);
    m_pHuman->SetSheetPlayer(15, others[1]);

    // A division that numbers its squads wants every named player numbered,
    // unless the set pieces are left to his staff.
    others[1]->m_bySquadNumber = 0;
    pDivision->m_bySquadNumbers = 1;
    EXPECT_EQ(m_pHuman->CheckTeamSheet(0), 3) << "no squad number";
    m_pHuman->SetDelegation(3, 1);
    EXPECT_EQ(m_pHuman->CheckTeamSheet(0), 0);
}

TEST_F(HumanWorld, AnOfferForOneOfHisPlayersRaisesAnAlertUntilHeAnswers)
{
    m_pHuman->UpdateNavigationAlerts();
    EXPECT_EQ(m_pHuman->GetNavigationAlert(0), 0);
    CPlayerDatabase* pPlayer = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
    CClubDatabase* pBidder = H().GetClubFromID(2);
    ASSERT_EQ(H().MakeBuyOfferToClub(pPlayer, pBidder, static_cast<int32_t>(pPlayer->m_dwValue), nullptr, 0, 0), 0);
    EXPECT_TRUE(H().HasOfferAwaitingAnswer(m_pClub));
    EXPECT_FALSE(H().HasOfferAwaitingAnswer(pBidder)) << "the bidder waits for an answer, it owes none";
    m_pHuman->UpdateNavigationAlerts();
    EXPECT_EQ(m_pHuman->GetNavigationAlert(0), 1);
    CBuyOfferDatabase* pOffer = H().GetBuyOffer(pPlayer->m_idPerson, pBidder->GetID());
    ASSERT_NE(pOffer, nullptr);
    pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | BUYOFFER_ANSWERED));
    EXPECT_FALSE(H().HasOfferAwaitingAnswer(m_pClub));
}

TEST_F(HumanWorld, ANewManagerIsRatedAsTheClubHeTakes)
{
    const CManagerDatabase* pManager = H().GetManagerFromID(m_pHuman->GetManagerID());
    ASSERT_NE(pManager, nullptr);
    const int nRating = m_pClub->GetClubRating();
    EXPECT_EQ(pManager->m_byRating, nRating);
    EXPECT_GE(pManager->m_byAbility, std::max(nRating - 5, 0));
    EXPECT_LE(pManager->m_byAbility, std::min(nRating + 5, 100));
    ASSERT_NE(pManager->GetCareerEntry(-1), nullptr);
    EXPECT_EQ(pManager->GetCareerEntry(-1)->wClubId, m_pClub->GetID());
    EXPECT_GT(pManager->m_Contract.dwWage, 0u);
}

}  // namespace
