// Moving the waiting clubs of a domestic cup into its ties, emergency clubs
// for a round that lacks them, and the players' cup-tied marks.
#include "season/CDomesticCupsDatabase.h"

#include <algorithm>
#include <vector>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/Random.h"

int CDomesticCupsDatabase::CountPending(int nKind, int nRound) const
{
    const CXList* pList = GetPendingList(nKind);
    int nCount = 0;
    if (pList)
        for (const CUPENTRY* pEntry : pList->Items<CUPENTRY>())
            if (pEntry->byRound == nRound)
                ++nCount;
    return nCount;
}

bool CDomesticCupsDatabase::AddToDraw(int nKind, uint32_t dwClub)
{
    CUP* pCup = GetCup(nKind);
    if (!pCup)
        return false;
    const int c = pCup->wClubsDrawn;
    if (c / 2 >= pCup->wTieSlots)
        return true;
    AddListed(nKind, dwClub, pCup->byRound);
    CUPTIE* pTie = pCup->GetTie(c / 2);
    if (c % 2 == 0) {
        pTie->wHomeClub = static_cast<ID_CLUB>(dwClub);
        pTie->byHomeMark = CUP_MARK_UNSET;
    }
    else {
        pTie->wAwayClub = static_cast<ID_CLUB>(dwClub);
        pTie->byAwayMark = CUP_MARK_UNSET;
    }
    ++pCup->wClubsDrawn;
    return true;
}

void CDomesticCupsDatabase::DrawRound(int nKind, int nRound)
{
    CUP* pCup = GetCup(nKind);
    CXList* pList = PendingList(nKind);
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(GetDefinition(nKind), nRound);
    if (!pCup || !pList || !pRule || nRound != pCup->byRound)
        return;
    const CUPROUNDPLAN plan = PlanRound(nKind);
    const int nFree = plan.nPlaying - pCup->wClubsDrawn;
    // The first waiting (the higher placed) go through without playing.
    const int nByes = std::clamp(CountPending(nKind, nRound) - nFree, 0, plan.nClubs - plan.nPlaying);
    TakePendingIntoDraw(*pList, nRound, nFree, CCountryDatabase::m_pDatabaseHandler,
                        [&](uint32_t dwClub) { AddToDraw(nKind, dwClub); }, nByes);
}

int CDomesticCupsDatabase::AddEmergencyClubs(int nKind, int nNeeded, int nRound)
{
    if (!m_pCountry || !GetCup(nKind))
        return 0;
    std::vector<ID_CLUB> candidates;
    for (const CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>()) {
        std::vector<ID_CLUB> division;
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            division.push_back(pClub->m_wClubId);
        std::sort(division.begin(), division.end());
        candidates.insert(candidates.end(), division.begin(), division.end());
    }
    int nAdded = 0;
    while (nNeeded > 0 && !candidates.empty()) {
        const size_t j = static_cast<size_t>(plat::rand()) % candidates.size();
        const ID_CLUB idClub = candidates[j];
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(j));
        if (IsClubInCup(nKind, idClub) || IsClubListed(nKind, idClub))
            continue;
        AddPending(nKind, idClub, nRound, REASON_KNOCKED_OUT);
        --nNeeded;
        ++nAdded;
    }
    return nAdded;
}

void CDomesticCupsDatabase::MarkPlayerCupTied(CPlayerDatabase* pPlayer) const
{
    if (!pPlayer)
        return;
    for (int nKind : {CUP_KIND_1, CUP_KIND_0}) {
        const CUP* pCup = GetCup(nKind);
        if (!pCup)
            continue;
        const uint32_t dwBit = GetCupTiedBit(nKind, pCup->byCountry);
        if (pPlayer->m_dwCupTiedMask & dwBit)
            pPlayer->m_dwRuleCupTiedMask |= dwBit;
    }
}

void CDomesticCupsDatabase::ClearPlayerCupMarks(CPlayerDatabase* pPlayer) const
{
    if (!pPlayer)
        return;
    for (int nKind : {CUP_KIND_1, CUP_KIND_0}) {
        const CUP* pCup = GetCup(nKind);
        if (!pCup)
            continue;
        const uint32_t dwBit = GetCupTiedBit(nKind, pCup->byCountry);
        pPlayer->m_dwCupTiedMask &= ~dwBit;
        pPlayer->m_dwRuleCupTiedMask &= ~dwBit;
    }
}
