// The players' side of the season turn: the season's awards written into
// the archives, the reset that opens a player's next season, and the
// country's free players (released, signed by a club short of players,
// purged when they leave the game).
#include "SeasonTurnSupport.h"

#include "database/CMarketEntries.h"
#include "database/RecordBytes.h"

namespace seasonturn_test {
namespace {

class PlayersTurn : public SmallCountry {
protected:
    void SetUp() override
    {
        SmallCountry::SetUp();
        for (CDivisionDatabase* pDivision : Divisions())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                pClub->m_pCountry = m_pCountry;
    }
    CPlayerDatabase* AddPlayer(ID_CLUB idClub, ID_PLAYER idPlayer, int nPosition, int nGoals = 0, uint32_t dwPoints = 0)
    {
        ByteStream stream(MakePlayerImage(idPlayer, nPosition));
        auto* pPlayer = new CPlayerDatabase(stream.reader(), m_pCountry, Club(idClub)->m_pDivision, Club(idClub), false);
        Club(idClub)->AddPlayer(pPlayer, false);
        // A plain player of this season: one career entry, not listed, not banned.
        FreeAll<PLAYERCAREERENTRY>(pPlayer->m_Career);
        FreeAll<INJURYENTRY>(pPlayer->m_InjuryHistory);
        FreeAll<DISCIPLINARYENTRY>(pPlayer->m_DisciplinaryHistory);
        pPlayer->m_byCareerCount = 0;
        pPlayer->RemoveAllMatchInformation();
        pPlayer->AddCareerEntry(Club(idClub), false);
        pPlayer->m_dwFlags = 0;
        pPlayer->m_byTransferState = 0;
        pPlayer->m_bySuspensionFlags = 0;
        pPlayer->m_byDomesticBanMatches = pPlayer->m_byEuropeanBanMatches = 0;
        pPlayer->IncrementMatchInformationField(0, MATCH_INFORMATION_GOALS, nGoals);
        pPlayer->m_dwSeasonPoints = dwPoints;
        pPlayer->m_dwSeasonPointsCounted = 0;
        return pPlayer;
    }
    template <typename T>
    static void FreeAll(CXList& list)
    {
        while (!list.IsEmpty())
            delete static_cast<T*>(list.RemoveHead());
    }
    static PERSONREFERENCE At(const uint8_t* pRecord, int nOffset) { return PERSONREFERENCE::Load(pRecord + nOffset); }
};

TEST_F(PlayersTurn, TheArchivesNameTheElevenTheTopScorersAndTheBestManager)
{
    // Division 21 (clubs 1-6): a goalkeeper, five defenders, two forwards.
    AddPlayer(1, 501, 0, 0, 40);
    for (ID_PLAYER id = 511; id <= 515; ++id)
        AddPlayer(static_cast<ID_CLUB>(id - 509), id, 1, 1, 10 * (id - 510));
    AddPlayer(2, 521, 3, 7, 30);
    AddPlayer(3, 522, 3, 12, 25);
    // Division 22 has the country's best scorer and no defender to speak of.
    AddPlayer(8, 531, 3, 15, 5);
    auto* pManager = new CManagerDatabase;
    pManager->m_idManager = 41;
    pManager->m_dwSeasonValueA = 900;
    pManager->m_pClub = Club(4);
    m_handler->AddManagerToIDTable(41, pManager, MANAGERSTATE_EMPLOYED);
    Club(4)->m_wManagerId = 41;
    Club(5)->m_aFeeRecords[0] = CLUBFEERECORD{511, 9, 70000};

    m_pCountry->DoSeasonClose();

    const DIVISIONARCHIVERECORD* pArchive = Division(0)->GetNewestArchiveRecord();
    ASSERT_NE(pArchive, nullptr);
    const uint8_t* pTop = pArchive->abyData;
    // The eleven, {club, player, points}: the goalkeeper, then the four best
    // defenders in points order (the fifth is left out), no midfielder.
    EXPECT_EQ(At(pTop, 4).dwSecond, 501u);
    EXPECT_EQ(At(pTop, 4).dwFirst, 1u);
    const uint32_t expectedDefenders[4] = {515, 514, 513, 512};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(At(pTop, 16 + 12 * i).dwSecond, expectedDefenders[i]) << "defender " << i;
        EXPECT_EQ(At(pTop, 16 + 12 * i).nValue, static_cast<int32_t>(10 * (expectedDefenders[i] - 510)));
    }
    EXPECT_EQ(At(pTop, 64).dwSecond, 0u);
    EXPECT_EQ(At(pTop, 112).dwSecond, 521u);
    EXPECT_EQ(At(pTop, 124).dwSecond, 522u);
    // The division's top scorer, its fee of the season and its manager.
    EXPECT_EQ(At(pTop, 136).dwSecond, 522u);
    EXPECT_EQ(At(pTop, 136).nValue, 12);
    EXPECT_EQ(At(pTop, 148).dwFirst, 511u);
    EXPECT_EQ(At(pTop, 148).nValue, 70000);
    EXPECT_EQ(At(pTop, 196).dwFirst, 41u);
    EXPECT_EQ(At(pTop, 196).dwSecond, 4u);
    EXPECT_EQ(At(pTop, 196).nValue, 900);
    // The division's record slots take the clubs' season records: the
    // goals slot names the top scorer.
    EXPECT_EQ(At(pTop, 208 + 13 * 12).dwSecond, 522u);
    EXPECT_EQ(At(pTop, 208 + 13 * 12).nValue, 12);

    // The country's five top scorers over its league divisions.
    const uint8_t* pSeason = m_pCountry->FindSeasonRecord(pArchive->GetKey());
    ASSERT_NE(pSeason, nullptr);
    const uint32_t expectedScorers[5] = {531, 522, 521, 511, 512};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(At(pSeason, 4 + 12 * i).dwSecond, expectedScorers[i]) << "scorer " << i;
}

TEST_F(PlayersTurn, ANewSeasonOpensACareerEntryAndFreesWhatTheGameNoLongerKeeps)
{
    m_handler->SetGameDate(CDate(2006, 7, 10));
    CPlayerDatabase* pPlayer = AddPlayer(7, 601, 2, 9, 55);
    pPlayer->m_dwCupTiedMask = 0x10;
    // An earlier club nine seasons ago, another two seasons ago.
    auto addOldEntry = [pPlayer](uint8_t bySeason, ID_CLUB idClub) {
        auto* pEntry = new PLAYERCAREERENTRY;
        pEntry->bySeason = bySeason;
        pEntry->wClubId = idClub;
        pPlayer->m_Career.InsertBefore(pPlayer->m_Career.GetHead(), pEntry);
        ++pPlayer->m_byCareerCount;
    };
    const int nSeason = pPlayer->GetCurrentCareerEntry()->bySeason;
    addOldEntry(static_cast<uint8_t>(nSeason - 2), 3);
    addOldEntry(static_cast<uint8_t>(nSeason - 9), 2);
    // Injuries long healed and recent; a European ban from 1998 still running.
    for (int nYear : {1998, 2005}) {
        auto* pInjury = new INJURYENTRY;
        pInjury->Date = DATERECORD{static_cast<uint16_t>(nYear), 3, 1};
        pInjury->wDays = 14;
        pPlayer->m_InjuryHistory.AddTail(pInjury);
    }
    for (uint8_t byMarks : {PLAYER_SUSPENDED_EUROPEAN, PLAYER_SUSPENDED_DOMESTIC}) {
        auto* pBan = new DISCIPLINARYENTRY;
        pBan->abyData[0] = 1998 & 0xFF;
        pBan->abyData[1] = 1998 >> 8;
        pBan->abyData[2] = 5;
        pBan->abyData[3] = 2;
        pBan->abyData[DISCIPLINARYENTRY::MARKS] = byMarks;
        pPlayer->m_DisciplinaryHistory.AddTail(pBan);
    }
    pPlayer->m_bySuspensionFlags = PLAYER_SUSPENDED_EUROPEAN;
    pPlayer->m_byEuropeanBanMatches = 1;

    pPlayer->NewSeasonReset();

    // The finished season stays whole in its entry; the new one is empty.
    EXPECT_EQ(pPlayer->GetSeasonTotal(MATCH_INFORMATION_GOALS), 0);
    EXPECT_EQ(pPlayer->GetCurrentCareerEntry()->wClubId, 7);
    std::vector<ID_CLUB> clubs;
    for (const PLAYERCAREERENTRY* pEntry : pPlayer->m_Career.Items<PLAYERCAREERENTRY>())
        clubs.push_back(pEntry->wClubId);
    EXPECT_EQ(clubs, (std::vector<ID_CLUB>{3, 7, 7}));
    EXPECT_EQ(pPlayer->m_byCareerCount, 3);
    const auto* pFinished = static_cast<const PLAYERCAREERENTRY*>(pPlayer->m_Career.GetAt(1)->pData);
    EXPECT_EQ(pFinished->aMatchInformation[0].abyFields[MATCH_INFORMATION_GOALS], 9);
    EXPECT_EQ(pPlayer->m_dwSeasonPoints, 0u);
    EXPECT_EQ(pPlayer->m_dwCupTiedMask, 0u);
    ASSERT_EQ(pPlayer->m_InjuryHistory.GetCount(), 1);
    EXPECT_EQ(static_cast<const INJURYENTRY*>(pPlayer->m_InjuryHistory.GetHead()->pData)->Date.wYear, 2005);
    ASSERT_EQ(pPlayer->m_DisciplinaryHistory.GetCount(), 1);
    EXPECT_EQ(static_cast<const DISCIPLINARYENTRY*>(pPlayer->m_DisciplinaryHistory.GetHead()->pData)
                  ->abyData[DISCIPLINARYENTRY::MARKS],
              PLAYER_SUSPENDED_EUROPEAN);

    // A player leaving the game opens no season.
    CPlayerDatabase* pLeaving = AddPlayer(8, 602, 2, 3);
    pLeaving->m_dwFlags |= PLAYER_FLAG_RETIRING;
    const int nEntries = pLeaving->m_Career.GetCount();
    pLeaving->NewSeasonReset();
    EXPECT_EQ(pLeaving->m_Career.GetCount(), nEntries);
}

TEST_F(PlayersTurn, AReleasedPlayerIsFreeThenSignedOrGone)
{
    CPlayerDatabase* pPlayer = AddPlayer(9, 701, 1);
    const int nSquad = Club(9)->m_lstPlayers.GetCount();
    ASSERT_EQ(m_handler->AddPlayerToListMarket(pPlayer, 5000, PLAYER_TRANSFER_LISTED, 30), 0);

    ASSERT_TRUE(m_handler->SackPlayer(pPlayer));
    EXPECT_EQ(Club(9)->m_lstPlayers.GetCount(), nSquad - 1);
    EXPECT_EQ(pPlayer->m_pClub, nullptr);
    EXPECT_EQ(pPlayer->m_pCountry, m_pCountry);
    EXPECT_EQ(pPlayer->m_bySquadNumber, 0);
    EXPECT_EQ(pPlayer->m_byTransferState, 0);
    EXPECT_EQ(m_handler->FindListMarketEntry(701), nullptr);
    ASSERT_EQ(m_pCountry->GetUnattachedPlayers().GetCount(), 1);
    // His career still ends at the club that let him go.
    EXPECT_EQ(pPlayer->GetCurrentClub(), nullptr);
    EXPECT_EQ(pPlayer->GetCurrentCareerEntry()->wClubId, 9);

    // A club short of defenders signs him on a free transfer.
    EXPECT_EQ(m_handler->SignFreePlayer(Club(14), 2), nullptr) << "no free midfielder";
    ASSERT_EQ(m_handler->SignFreePlayer(Club(14), 1), pPlayer);
    EXPECT_EQ(pPlayer->m_pClub, Club(14));
    EXPECT_EQ(m_pCountry->GetUnattachedPlayers().GetCount(), 0);
    EXPECT_GT(pPlayer->m_Contract.dwYearlyWage, 0u);
    EXPECT_EQ(Division(2)->m_lstSeasonTransfers.GetCount(), 1);

    // Released again, and again while free: the second release marks him to
    // leave, the season's turn sends him to the retired file.
    ASSERT_TRUE(m_handler->SackPlayer(pPlayer));
    ASSERT_TRUE(m_handler->SackPlayer(pPlayer));
    EXPECT_FALSE(m_handler->SackPlayer(pPlayer)) << "marked once";
    EXPECT_EQ(m_handler->SignFreePlayer(Club(14), 1), nullptr) << "a leaving player is not signed";
    EXPECT_EQ(m_handler->StartFreePlayersSeason(), 1);
    EXPECT_EQ(m_pCountry->GetUnattachedPlayers().GetCount(), 0);
    const ITEMPLAYERINFORMATION* pEntry = m_handler->GetPlayerInformation(701);
    ASSERT_NE(pEntry, nullptr);
    EXPECT_TRUE(pEntry->dwFlags & PLAYERINFO_RETIRED);
}

}  // namespace
}  // namespace seasonturn_test
