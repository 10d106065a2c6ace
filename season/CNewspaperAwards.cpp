// The monthly award stories of a country's newspaper: the players and the
// managers of the period over its leagues, and each league's eleven.
#include "season/CNewspaperStoryList.h"

#include <vector>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CNewspaperManager.h"

namespace {

constexpr uint16_t kNewsPlayerOfPeriod = 250;
constexpr uint16_t kNewsInBestEleven = 253;

void TellClubOfPlayer(const CClubDatabase* pClub, uint16_t wNews, ID_PLAYER idPlayer)
{
    if (CNewsItem* pItem = pClub ? pClub->AddNewsItem(wNews) : nullptr)
        pItem->SetSlot(NEWS_SLOT_PERSON, idPlayer);
}

}  // namespace

CNewspaperStory* CNewspaperStoryList::AddAwardStory(uint8_t byKind, const std::vector<STORYAWARDENTRY>& entries)
{
    if (entries.empty())
        return nullptr;
    auto* pStory = new CNewspaperStory(byKind, 0, m_pDatabaseHandler->GetGameDate());
    pStory->SetAwardEntries(entries.data(), static_cast<int>(entries.size()));
    m_lstPrinted.AddTail(pStory);
    return pStory;
}

CNewspaperStory* CNewspaperStoryList::AddPlayerAwards(const CCountryDatabase& country)
{
    if (!m_pDatabaseHandler)
        return nullptr;
    const CDate today = m_pDatabaseHandler->GetGameDate();
    std::vector<STORYAWARDENTRY> entries;
    for (const CDivisionDatabase* pDivision : country.GetDivisions().Items<CDivisionDatabase>()) {
        if (!pDivision->IsMidSeasonDate(today))
            continue;
        CPlayerDatabase* pPlayer =
            m_pDatabaseHandler->GetPlayerFromID(static_cast<ID_PLAYER>(pDivision->m_nPlayerOfPeriod));
        if (!pPlayer)
            continue;
        entries.push_back({pDivision->m_byDivisionId, pPlayer->m_idPerson,
                           pPlayer->m_pClub ? pPlayer->m_pClub->GetID() : 0u});
        TellClubOfPlayer(pPlayer->m_pClub, kNewsPlayerOfPeriod, pPlayer->m_idPerson);
    }
    return AddAwardStory(STORY_KIND_PLAYER_AWARDS, entries);
}

CNewspaperStory* CNewspaperStoryList::AddManagerAwards(const CCountryDatabase& country)
{
    if (!m_pDatabaseHandler)
        return nullptr;
    const CDate today = m_pDatabaseHandler->GetGameDate();
    std::vector<STORYAWARDENTRY> entries;
    for (const CDivisionDatabase* pDivision : country.GetDivisions().Items<CDivisionDatabase>()) {
        if (!pDivision->IsMidSeasonDate(today))
            continue;
        const CManagerDatabase* pManager =
            m_pDatabaseHandler->GetManagerFromID(static_cast<ID_MANAGER>(pDivision->m_nManagerOfPeriod));
        if (!pManager) {
            DebugLog(1, "[CNewspaperManager::AddManagerAwards] Unable to get get Manager for Division %s",
                     pDivision->GetName());
            continue;
        }
        entries.push_back({pDivision->m_byDivisionId, pManager->GetId(),
                           pManager->m_pClub ? pManager->m_pClub->GetID() : 0u});
    }
    return AddAwardStory(STORY_KIND_MANAGER_AWARDS, entries);
}

CNewspaperStory* CNewspaperStoryList::AddBestElevenStory(const CDivisionDatabase& division)
{
    if (!m_pDatabaseHandler || division.m_byKind == DIVISION_KIND_BOTTOM_OTHER ||
        !division.IsMidSeasonDate(m_pDatabaseHandler->GetGameDate()))
        return nullptr;
    // Every one of the eleven must be found before anyone is told.
    CPlayerDatabase* apPlayers[CNewspaperStory::BEST_ELEVEN] = {};
    for (int i = 0; i < CNewspaperStory::BEST_ELEVEN; ++i) {
        apPlayers[i] = m_pDatabaseHandler->GetPlayerFromID(static_cast<ID_PLAYER>(division.m_aEleven[i].idPlayer));
        if (!apPlayers[i])
            return nullptr;
    }
    auto* pStory = new CNewspaperStory(STORY_KIND_BEST_ELEVEN, 0, m_pDatabaseHandler->GetGameDate());
    pStory->SetCount(division.m_byDivisionId);
    for (int i = 0; i < CNewspaperStory::BEST_ELEVEN; ++i) {
        const DIVISIONPERIODENTRY& entry = division.m_aEleven[i];
        pStory->SetBestEleven(i, static_cast<uint32_t>(entry.idClub), static_cast<uint32_t>(entry.idPlayer));
        TellClubOfPlayer(m_pDatabaseHandler->GetClubFromID(static_cast<ID_CLUB>(entry.idClub)), kNewsInBestEleven,
                         apPlayers[i]->m_idPerson);
    }
    m_lstPrinted.AddTail(pStory);
    return pStory;
}
