// Players retiring in play: the quarter's value update marks a player once he
// is ten years past his role's peak age, and the season turn takes every
// marked player out of the game into the retired file, off the markets.
#include "../dayloop/DayLoopSupport.h"

#include "database/CBuyOfferDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CMarketEntries.h"

#include <filesystem>

namespace seasonturn_test {
namespace {

using dayloop_test::DayLoopWorld;

class Retirement : public DayLoopWorld {
protected:
    bool IsRetiredEntry(ID_PLAYER id)
    {
        const ITEMPLAYERINFORMATION* pEntry = H().GetPlayerInformation(id);
        return pEntry && (pEntry->dwFlags & PLAYERINFO_RETIRED);
    }
    bool AnyClubHolds(ID_PLAYER id)
    {
        for (CDivisionDatabase* pDivision : Divisions())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                for (const CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                    if (p->m_idPerson == id)
                        return true;
                for (const CPlayerDatabase* p : pClub->m_lstLoanIns.Items<CPlayerDatabase>())
                    if (p->m_idPerson == id)
                        return true;
            }
        return false;
    }
    void RunTo(const CDate& date)
    {
        while (H().GetGameDate() < date && !HasFatalFailure())
            RunDays(1);
    }
};

TEST_F(Retirement, PlayersTenYearsPastTheirPeakAreMarkedAndLeaveAtTheTurn)
{
    CClubDatabase* pClub =
        *Divisions().front()->m_lstClubsByTable.Items<CClubDatabase>().begin();
    std::vector<CPlayerDatabase*> players;
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byTransferState == 0 && !(p->m_dwFlags & PLAYER_FLAG_RETIRING))
            players.push_back(p);
    ASSERT_GE(players.size(), 2u);
    CPlayerDatabase* pOld = players[0];
    CPlayerDatabase* pNearly = players[1];
    for (CPlayerDatabase* p : {pOld, pNearly})
        p->m_awAttributes[PLAYER_ATTRIBUTE_INJURYPRONE] = 0;
    // Ten years past his peak on 1 August 1999; the other reaches it on
    // 2 September, the day after the quarter's update.
    const DATERECORD oldBirth = {static_cast<uint16_t>(1999 - CPlayerDatabase::GetPeakAge(pOld->m_byRole) - 10), 8, 1};
    pOld->m_DateOfBirth = oldBirth;
    pNearly->m_DateOfBirth = {static_cast<uint16_t>(1999 - CPlayerDatabase::GetPeakAge(pNearly->m_byRole) - 10), 9, 2};
    const ID_PLAYER idOld = pOld->m_idPerson;
    const ID_PLAYER idNearly = pNearly->m_idPerson;

    RunTo(CDate(1999, 8, 31));
    EXPECT_FALSE(pOld->m_dwFlags & PLAYER_FLAG_RETIRING) << "the announcement waits for the quarter";
    RunTo(CDate(1999, 9, 2));
    // The quarter's step lays the players' records out again: found anew.
    pOld = H().GetPlayerFromID(idOld);
    pNearly = H().GetPlayerFromID(idNearly);
    ASSERT_NE(pOld, nullptr);
    ASSERT_NE(pNearly, nullptr);
    EXPECT_TRUE(pOld->m_dwFlags & PLAYER_FLAG_RETIRING);
    EXPECT_FALSE(pNearly->m_dwFlags & PLAYER_FLAG_RETIRING) << "one day short of the age";
    EXPECT_TRUE(AnyClubHolds(idOld)) << "he plays the season out";
    EXPECT_FALSE(IsRetiredEntry(idOld));

    RunTo(CDate(2000, 7, 4));
    pNearly = H().GetPlayerFromID(idNearly);
    ASSERT_NE(pNearly, nullptr);
    EXPECT_TRUE(pNearly->m_dwFlags & PLAYER_FLAG_RETIRING) << "marked at the December quarter";
    const int nRetiredBefore = H().GetRetiredPlayerCount();
    RunTo(CDate(2000, 7, 6));
    ASSERT_FALSE(HasFatalFailure());
    for (ID_PLAYER id : {idOld, idNearly}) {
        EXPECT_TRUE(IsRetiredEntry(id)) << id;
        EXPECT_FALSE(AnyClubHolds(id)) << id;
    }
    const int nRetired = H().GetRetiredPlayerCount();
    EXPECT_GE(nRetired, nRetiredBefore + 2);
    // Each retired player is one short record of the file, read back by
    // identifier with what he was.
    EXPECT_EQ(std::filesystem::file_size("temp.rtp"), static_cast<uintmax_t>(nRetired) * 24u);
    const CPlayerDatabase* pReloaded = H().GetPlayerFromID(idOld);
    ASSERT_NE(pReloaded, nullptr);
    EXPECT_EQ(pReloaded->m_idPerson, idOld);
    EXPECT_EQ(pReloaded->m_DateOfBirth.wYear, oldBirth.wYear);
    EXPECT_EQ(pReloaded->m_DateOfBirth.byMonth, oldBirth.byMonth);
    EXPECT_TRUE(pReloaded->m_dwFlags & PLAYER_FLAG_RETIRING);
    EXPECT_EQ(pReloaded->m_pClub, nullptr);

    // Nobody retired is left on a market or in an offer.
    for (const CListMarketEntry* p : H().GetListMarket().Items<CListMarketEntry>())
        EXPECT_FALSE(IsRetiredEntry(p->GetPlayerID())) << p->GetPlayerID();
    for (const CLoanMarketEntry* p : H().GetLoanMarket().Items<CLoanMarketEntry>())
        EXPECT_FALSE(IsRetiredEntry(p->GetPlayerID())) << p->GetPlayerID();
    for (const CBuyOfferDatabase* p : H().GetBuyOffers().Items<CBuyOfferDatabase>())
        EXPECT_FALSE(IsRetiredEntry(p->GetPlayerID())) << p->GetPlayerID();
    for (const CLoanOfferDatabase* p : H().GetLoanOffers().Items<CLoanOfferDatabase>())
        EXPECT_FALSE(IsRetiredEntry(p->GetPlayerID())) << p->GetPlayerID();
    // Every club's squad still fields a team.
    for (CDivisionDatabase* pDivision : Divisions())
        for (const CClubDatabase* p : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            EXPECT_GE(p->m_lstPlayers.GetCount(), 11) << p->GetName();
}

}  // namespace
}  // namespace seasonturn_test
