// The clubs' players laid out again squad after squad: every record keeps
// its contents, and every holder of a player pointer (the identifier table,
// the clubs' squads and loans, the human's team sheet, set-piece takers and
// squad list) finds the same player at the new place.
#include "HumanWorld.h"

#include "database/CPlayerRelocation.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

using namespace humans_test;

namespace {

// What a player's record says of him, to be found unchanged after a move.
struct PlayerFacts {
    ID_PLAYER id;
    const char* pszLastName;
    const CClubDatabase* pClub;
    uint32_t dwValue;
    int nCareer;
    uint16_t awAttributes[PLAYER_ATTRIBUTE_COUNT];

    explicit PlayerFacts(const CPlayerDatabase& player)
        : id(player.m_idPerson), pszLastName(player.GetLastName()), pClub(player.m_pClub), dwValue(player.m_dwValue),
          nCareer(player.m_Career.GetCount())
    {
        std::memcpy(awAttributes, player.m_awAttributes, sizeof awAttributes);
    }
    bool operator==(const PlayerFacts& other) const
    {
        return id == other.id && pszLastName == other.pszLastName && pClub == other.pClub && dwValue == other.dwValue &&
               nCareer == other.nCareer && std::memcmp(awAttributes, other.awAttributes, sizeof awAttributes) == 0;
    }
};

void ForEachClub(CDatabaseHandler& handler, const std::function<void(CClubDatabase&)>& visit)
{
    for (CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                visit(*pClub);
}

std::vector<PlayerFacts> Facts(CDatabaseHandler& handler)
{
    std::vector<PlayerFacts> facts;
    ForEachClub(handler, [&](CClubDatabase& club) {
        for (const CXList* pList : {&club.m_lstPlayers, &club.m_lstLoanIns})
            for (const CPlayerDatabase* pPlayer : pList->Items<CPlayerDatabase>())
                facts.emplace_back(*pPlayer);
    });
    return facts;
}

std::vector<ID_PLAYER> HumanHolds(const CSaveGame& human)
{
    std::vector<ID_PLAYER> ids;
    for (int i = 0; i < SAVEGAME_SHEET_PLACES; ++i)
        ids.push_back(human.GetSheetPlayer(i) ? human.GetSheetPlayer(i)->m_idPerson : 0);
    for (int i = 0; i < SAVEGAME_SETPIECE_PLACES; ++i)
        ids.push_back(human.GetSetPiecePlayer(i) ? human.GetSetPiecePlayer(i)->m_idPerson : 0);
    for (const SQUADENTRY* pEntry : human.GetSquadList().Items<SQUADENTRY>())
        ids.push_back(pEntry->pPlayer ? pEntry->pPlayer->m_idPerson : 0);
    return ids;
}

class PlayerRelay : public HumanWorld {};

TEST_F(PlayerRelay, SquadsLieInOrderAndEveryHolderFindsTheSamePlayers)
{
    // The human's squad scattered: its list reversed, so that its records
    // lie against the order of the walk.
    CXList& squad = m_pClub->m_lstPlayers;
    std::vector<void*> reversed;
    while (!squad.IsEmpty())
        reversed.push_back(squad.RemoveTail());
    for (void* p : reversed)
        squad.AddTail(p);
    ASSERT_GT(m_pHuman->GetSquadList().GetCount(), 0);
    ASSERT_NE(m_pHuman->GetSheetPlayer(0), nullptr);

    const std::vector<PlayerFacts> before = Facts(H());
    const std::vector<ID_PLAYER> heldBefore = HumanHolds(*m_pHuman);
    ASSERT_GT(H().RelayPlayerRecords(), 0);

    EXPECT_TRUE(Facts(H()) == before);
    EXPECT_EQ(HumanHolds(*m_pHuman), heldBefore);
    // Every pointer a holder keeps is the identifier table's for the player,
    // and the squads follow one another by address.
    const CPlayerDatabase* pLast = nullptr;
    ForEachClub(H(), [&](CClubDatabase& club) {
        for (CPlayerDatabase* pPlayer : club.m_lstPlayers.Items<CPlayerDatabase>()) {
            EXPECT_EQ(H().GetPlayerFromID(pPlayer->m_idPerson), pPlayer);
            EXPECT_LT(pLast, pPlayer) << pPlayer->m_idPerson;
            pLast = pPlayer;
        }
        for (CPlayerDatabase* pPlayer : club.m_lstLoanIns.Items<CPlayerDatabase>())
            EXPECT_EQ(H().GetPlayerFromID(pPlayer->m_idPerson), pPlayer);
    });
    for (int i = 0; i < SAVEGAME_SHEET_PLACES; ++i)
        if (CPlayerDatabase* pPlayer = m_pHuman->GetSheetPlayer(i))
            EXPECT_EQ(H().GetPlayerFromID(pPlayer->m_idPerson), pPlayer);
    for (const SQUADENTRY* pEntry : m_pHuman->GetSquadList().Items<SQUADENTRY>())
        EXPECT_EQ(H().GetPlayerFromID(pEntry->pPlayer->m_idPerson), pEntry->pPlayer);

    // Laid out already: nothing moves a second time, and the days go on.
    EXPECT_EQ(H().RelayPlayerRecords(), 0);
    RunDays(3);
}

TEST(PlayerRelocation, APlayerNamedTwiceMovesNobody)
{
    HumanFolder folder;
    auto handler = LoadStartingWorld();
    ASSERT_NE(handler, nullptr);
    const CXList& squad = handler->GetClubFromID(1)->m_lstPlayers;
    ASSERT_GE(squad.GetCount(), 2);
    auto* pFirst = static_cast<CPlayerDatabase*>(squad.GetHead()->pData);
    auto* pSecond = static_cast<CPlayerDatabase*>(squad.GetHead()->pNext->pData);
    const ID_PLAYER idFirst = pFirst->m_idPerson;
    const CPlayerRelocation twice({pSecond, pFirst, pSecond});
    EXPECT_EQ(twice.GetMovedCount(), 0);
    EXPECT_EQ(twice.NewPlace(pFirst), pFirst);
    EXPECT_EQ(pFirst->m_idPerson, idFirst);
}

TEST(PlayerRelocation, RecordsGoRoundCyclesAndFixedPointsStay)
{
    HumanFolder folder;
    auto handler = LoadStartingWorld();
    ASSERT_NE(handler, nullptr);
    const CXList& squad = handler->GetClubFromID(1)->m_lstPlayers;
    std::vector<CPlayerDatabase*> places;
    for (CPlayerDatabase* pPlayer : squad.Items<CPlayerDatabase>())
        places.push_back(pPlayer);
    ASSERT_GE(places.size(), 6u);
    places.resize(6);
    std::sort(places.begin(), places.end());
    std::vector<PlayerFacts> facts;
    for (const CPlayerDatabase* pPlayer : places)
        facts.emplace_back(*pPlayer);

    // Place by place, whose record it is to hold: a cycle of three (0 1 2),
    // one of two (3 4) and a record named at its own place (5).
    const std::vector<size_t> held = {1, 2, 0, 4, 3, 5};
    std::vector<CPlayerDatabase*> order;
    for (size_t i : held)
        order.push_back(places[i]);
    const CPlayerRelocation relocation(order);
    EXPECT_EQ(relocation.GetMovedCount(), 5);
    for (size_t i = 0; i < held.size(); ++i) {
        EXPECT_TRUE(PlayerFacts(*places[i]) == facts[held[i]]) << "place " << i;
        EXPECT_EQ(relocation.NewPlace(places[held[i]]), places[i]);
    }

    // Moved back by the places the relocation answers: each record is home
    // again, so the world is whole when it is freed.
    std::vector<CPlayerDatabase*> back;
    for (CPlayerDatabase* pPlace : places)
        back.push_back(relocation.NewPlace(pPlace));
    EXPECT_EQ(CPlayerRelocation(back).GetMovedCount(), 5);
    for (size_t i = 0; i < places.size(); ++i)
        EXPECT_TRUE(PlayerFacts(*places[i]) == facts[i]) << "place " << i;
}

}  // namespace
