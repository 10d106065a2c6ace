// The human's checks before a match and the navigation bar's alerts: a team
// sheet naming a player who cannot play, and what waits to be read or done.
#include "season/CSaveGame.h"

#include <algorithm>

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CupStructureTable.h"
#include "season/CNewspaperStoryList.h"
#include "season/MatchRecords.h"

namespace {

// Team-sheet problems.
constexpr int kSheetUnavailable = 1;
constexpr int kSheetSuspended = 2;
constexpr int kSheetNoSquadNumber = 3;
constexpr int kSheetCupTied = 4;
constexpr int kSheetTooManyRestricted = 5;
constexpr int kSheetNoPermit = 6;
constexpr int kStarters = 11;
constexpr int kBoardWorried = 35;

}  // namespace

int CSaveGame::CheckTeamSheet(int nKind) const
{
    if (!m_pClub || !m_pDatabaseHandler || GetNextFixture(nullptr, nullptr, nullptr, nullptr) < 0)
        return 0;
    // The next match's rules: how many substitutes are named and how many
    // players who need a work permit may play.
    const bool bCup = nKind == MATCHKIND_LEAGUE_OTHER || nKind == MATCHKIND_CUP;
    const CUP* pCup = bCup ? m_pDatabaseHandler->GetNextCupForClub(m_pClub) : nullptr;
    ITEMCUPMATCHRULES rules = CUP_FRIENDLY_MATCH_RULES;
    if (const ITEMCUPMATCHRULES* pRoundRules = m_pDatabaseHandler->GetCupRoundRules(pCup))
        rules = *pRoundRules;
    else if (!bCup && nKind != MATCHKIND_FRIENDLY && m_pClub->m_pDivision)
        rules = m_pClub->m_pDivision->m_MatchRules.AsMatchRules();
    const int nPlaces = std::min(kStarters + rules.bySubstitutesNamed, SAVEGAME_SHEET_PLACES);
    if (GetDelegation(1) == 0) {
        int nRestricted = 0;
        for (int nPlace = 0; nPlace < nPlaces; ++nPlace) {
            const CPlayerDatabase* pPlayer = m_apTeamSheet[nPlace];
            if (!pPlayer)
                continue;
            if (pPlayer->m_dwFlags & PLAYER_FLAG_NEEDS_WORK_PERMIT)
                ++nRestricted;
            if (pPlayer->IsInjured() && CPlayerDatabase::GetInjuryStatus(pPlayer->m_byInjuryType) == 2)
                return kSheetUnavailable;
            if (pPlayer->IsSuspended(nKind))
                return kSheetSuspended;
            if (pPlayer->m_dwFlags & PLAYER_FLAG_WORK_PERMIT_SETTLED)
                return kSheetNoPermit;
            if (pPlayer->IsCupTied(pCup))
                return kSheetCupTied;
        }
        if (nRestricted > rules.byByte3)
            return kSheetTooManyRestricted;
    }
    // A division that numbers its squads wants a number on every player named.
    if (GetDelegation(3) == 0 && m_pClub->m_pDivision && m_pClub->m_pDivision->m_bySquadNumbers)
        for (int nPlace = 0; nPlace < nPlaces; ++nPlace)
            if (m_apTeamSheet[nPlace] && m_apTeamSheet[nPlace]->m_bySquadNumber == 0)
                return kSheetNoSquadNumber;
    return 0;
}

void CSaveGame::UpdateNavigationAlerts()
{
    if (m_pNews->CountUnreadNewsItems() > 0)
        SetNavigationAlert(9, 1);
    const CNewspaperStoryList* pStories = m_pCountry ? m_pCountry->GetNewspaperStories() : nullptr;
    if (pStories && pStories->CountUnreadStories(m_byPlayerNumber) > 0)
        SetNavigationAlert(5, 1);
    if (!m_pClub) {
        for (int nAlert : {2, 0, 6, 7})
            SetNavigationAlert(nAlert, 0);
        return;
    }
    if (m_pClub->m_nBoardConfidence < kBoardWorried)
        SetNavigationAlert(2, 1);
    for (const CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (pPlayer->IsInjured() && CPlayerDatabase::GetInjuryStatus(pPlayer->m_byInjuryType) == 2) {
            SetNavigationAlert(6, 1);
            break;
        }
    uint8_t byCompetition = 0;
    if (GetNextFixture(nullptr, &byCompetition, nullptr, nullptr) >= 0) {
        // The cache names a league match 255, a friendly 200, a cup by its type.
        const int nKind = byCompetition == 255   ? MATCHKIND_LEAGUE
                          : byCompetition == 200 ? MATCHKIND_FRIENDLY
                                                 : MATCHKIND_CUP;
        if (CheckTeamSheet(nKind) != 0)
            SetNavigationAlert(7, 1);
    }
    if (m_pDatabaseHandler && m_pDatabaseHandler->HasOfferAwaitingAnswer(m_pClub))
        SetNavigationAlert(0, 1);
}
