#pragma once
// Small clubs for the quick-match tests: players from the people test
// images, with fresh skills drawn from a seed, added to a club as its squad.
#include "../people/PeopleTestSupport.h"
#include "database/CClubDatabase.h"
#include "season/CFastMatchEngine.h"
#include "season/CupStructureTable.h"

#include <memory>
#include <vector>

namespace quickmatch_test {

using namespace people_test;

// The positions of a squad in the order players are added: a full eleven
// of the "4-4-2" first, then a bench.
inline int SquadPosition(int nIndex)
{
    static const int kOrder[] = {0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 0, 1, 2, 3, 2, 1, 3, 2, 1};
    return kOrder[nIndex % 20];
}

inline int RoleForPosition(int nPosition, int nIndex)
{
    switch (nPosition) {
    case 0: return 0;
    case 1: return 1 + nIndex % 4;
    case 2: return 7 + nIndex % 4;
    default: return 12 + nIndex % 2;
    }
}

// A club with nPlayers players whose skills lie around nLevel (0-100).
inline std::unique_ptr<CClubDatabase> MakeClub(ID_CLUB wId, int nPlayers, uint32_t dwFirstPlayer, int nLevel,
                                               unsigned nSeed)
{
    auto club = std::make_unique<CClubDatabase>();
    club->m_wClubId = wId;
    club->SetName(wId % 2 ? "Harrowgate Wanderers" : "Colwen Athletic");
    club->m_byReputation = 60;
    club->m_bySupportLevel = 55;
    club->m_nFanConfidence = 50;
    club->m_abyLatitude[2] = 4;  // no map position
    const unsigned nState = plat::randState();
    plat::srand(nSeed);
    for (int i = 0; i < nPlayers; ++i) {
        const int nPosition = SquadPosition(i);
        const int nRole = RoleForPosition(nPosition, i);
        ByteStream stream(MakePlayerImage(dwFirstPlayer + static_cast<uint32_t>(i), nPosition, nRole));
        auto* player = new CPlayerDatabase(stream.reader(), nullptr, nullptr, club.get(), false);
        EXPECT_TRUE(player->IsLoaded());
        player->m_dwFlags = 0;
        player->m_bySuspensionFlags = 0;
        player->m_byDomesticBanMatches = player->m_byEuropeanBanMatches = 0;
        player->m_byTransferState = 0;
        player->m_byInjuryType = 0;
        player->m_wRoleMask = static_cast<uint16_t>(1u << nRole);
        for (uint16_t& attribute : player->m_awAttributes)
            attribute = static_cast<uint16_t>(std::clamp(nLevel * 100 - 1500 + plat::rand() % 3000, 500, 9900));
        player->m_awAttributes[PLAYER_ATTRIBUTE_INJURYPRONE] = 2000;
        player->m_byRating = static_cast<uint8_t>(player->GetRatingForPosition(nRole));
        club->AddPlayer(player, false);
    }
    plat::srand(nState);
    return club;
}

// One match between two clubs, with its event lists and header.
struct Match {
    MATCHPARAMETERS block;
    MATCHHISTORYHEADER header;
    CXList homeEvents;
    CXList awayEvents;

    Match(CClubDatabase* pHome, CClubDatabase* pAway, const ITEMCUPMATCHRULES* pRules = nullptr, int nKind = 0)
    {
        block.pHomeClub = pHome;
        block.pAwayClub = pAway;
        block.pHomeEvents = &homeEvents;
        block.pAwayEvents = &awayEvents;
        block.pHeader = &header;
        block.pRules = pRules;
        block.byMatchKind = static_cast<uint8_t>(nKind);
    }
    ~Match()
    {
        FreeMatchEvents(homeEvents);
        FreeMatchEvents(awayEvents);
    }
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    static int Count(const CXList& list, int nKind)
    {
        int n = 0;
        for (const MATCHEVENT* pEvent : list.Items<MATCHEVENT>())
            n += pEvent->byKind == nKind;
        return n;
    }
};

// A test world with two clubs.
class QuickMatchWorld : public PeopleWorld {
protected:
    void SetUp() override
    {
        PeopleWorld::SetUp();
        MakeClubs();
    }
    void TearDown() override
    {
        m_engine.ReleaseSides();
        m_home.reset();
        m_away.reset();
        PeopleWorld::TearDown();
    }
    void MakeClubs(int nHomePlayers = 20, int nAwayPlayers = 20)
    {
        m_engine.ReleaseSides();
        m_home.reset();
        m_away.reset();
        m_home = MakeClub(1, nHomePlayers, 1000, 62, 11);
        m_away = MakeClub(2, nAwayPlayers, 2000, 58, 12);
    }

    CFastMatchEngine m_engine;
    std::unique_ptr<CClubDatabase> m_home;
    std::unique_ptr<CClubDatabase> m_away;
};

}  // namespace quickmatch_test
