// A club's staff at work and its shirt numbers: the weekly review of each
// member's workload, the quality of a kind of staff, and the lowest free
// number for players who have none.
#include "database/CClubDatabase.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/PersonOwners.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"

namespace {

// Staff reactions to their week.
constexpr int kReactionWinning = 0;
constexpr int kReactionStruggling = 1;
constexpr int kReactionOverloaded = 2;
constexpr int kReactionUnderused = 3;
constexpr uint16_t kNewsStaffUnderused = 6;
constexpr uint16_t kNewsStaffOverloaded = 7;
constexpr int kUnhappyMorale = 40;

}  // namespace

void CClubDatabase::ReviewStaffWorkload()
{
    if (!m_pDatabaseHandler)
        return;
    const int nClubs = m_pDivision ? m_pDivision->GetClubCount() : 0;
    const bool bWinning = m_pDivision && ((m_pDivision->m_byDivisionNumber == 1 && m_byLeaguePosition == 1) ||
                                          (m_pDivision->m_byPromotionZone > 0 &&
                                           m_byLeaguePosition <= m_pDivision->m_byPromotionZone));
    const bool bStruggling = m_pDivision && m_pDivision->m_byRelegationZone > 0 &&
                             m_byLeaguePosition >= nClubs - m_pDivision->m_byRelegationZone;
    // The staff of each kind, counted in one walk.
    int anCounts[CLUB_STAFF_KINDS] = {};
    for (const void* pValue : m_lstStaff.Items<void>())
        if (const CStaffDatabase* pStaff =
                m_pDatabaseHandler->GetStaffFromID(static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue))))
            if (pStaff->m_byKind < CLUB_STAFF_KINDS)
                ++anCounts[pStaff->m_byKind];
    for (const void* pValue : m_lstStaff.Items<void>()) {
        CStaffDatabase* pStaff =
            m_pDatabaseHandler->GetStaffFromID(static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue)));
        if (!pStaff || pStaff->m_byKind >= CLUB_STAFF_KINDS)
            continue;
        uint16_t wNews = 0;
        switch (GetStaffWorkloadStatus(pStaff->m_byKind, anCounts[pStaff->m_byKind])) {
        case 0:
            pStaff->ApplyReaction(kReactionOverloaded);
            wNews = kNewsStaffOverloaded;
            break;
        case 2:
            pStaff->ApplyReaction(kReactionUnderused);
            wNews = kNewsStaffUnderused;
            break;
        default:
            if (bWinning)
                pStaff->ApplyReaction(kReactionWinning);
            if (bStruggling)
                pStaff->ApplyReaction(kReactionStruggling);
            break;
        }
        // The coaches' training week may already have written this letter
        // about the same man today: one is enough.
        if (wNews && pStaff->m_byMorale < kUnhappyMorale && !HasStaffLetterToday(wNews, pStaff->GetId()))
            if (CNewsItem* pNews = AddNewsItem(wNews))
                pNews->SetSlot(NEWS_SLOT_STAFF, pStaff->GetId());
    }
}

bool CClubDatabase::HasStaffLetterToday(uint16_t wNews, ID_STAFF idStaff) const
{
    const CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr;
    return pHuman && pHuman->GetNews().FindIncoming(wNews, m_pDatabaseHandler->GetGameDate(), NEWS_SLOT_STAFF, idStaff);
}

int CClubDatabase::GetStaffQuality(int nType) const
{
    const int nCount = GetStaffCount(nType);
    if (nCount == 0 || !m_pDatabaseHandler)
        return 0;
    int nSum = 0;
    for (int i = 0; i < nCount; ++i)
        if (const CStaffDatabase* pStaff = m_pDatabaseHandler->GetStaffFromID(m_awStaffSlots[nType][i])) {
            const int nAbility = pStaff->m_byRating;
            nSum += pStaff->m_byKind == nType ? nAbility : nAbility / 4;
        }
    return nSum / nCount;
}

uint8_t CClubDatabase::GetLowestFreeSquadNumber() const
{
    bool abUsed[PLAYER_SQUAD_NUMBER_LIMIT] = {};
    for (const CPlayerDatabase* p : m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_bySquadNumber < PLAYER_SQUAD_NUMBER_LIMIT)
            abUsed[p->m_bySquadNumber] = true;
    for (int n = 1; n < PLAYER_SQUAD_NUMBER_LIMIT; ++n)
        if (!abUsed[n])
            return static_cast<uint8_t>(n);
    return 0;
}

void CClubDatabase::AssignSquadNumbers()
{
    if (IsClubHumanManaged(this) || !m_pDivision || !m_pDivision->m_bySquadNumbers)
        return;
    GiveFreeSquadNumbers();
}

void CClubDatabase::GiveFreeSquadNumbers()
{
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        if (pPlayer->m_bySquadNumber == 0)
            pPlayer->m_bySquadNumber = GetLowestFreeSquadNumber();
}
