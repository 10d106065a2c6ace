// Players without a club: a club releases a player into his country's free
// players, a free player released again leaves the game at the season's
// turn, and a club short of players signs the best free player of the
// position it lacks.
#include "database/CDatabaseHandler.h"

#include "common/DebugLog.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CNewspaperStoryList.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"

namespace {

constexpr uint16_t kStoryPlayerReleased = 300;

}  // namespace

bool CDatabaseHandler::SackPlayer(CPlayerDatabase* pPlayer)
{
    if (!pPlayer || pPlayer->IsRetired())
        return false;
    if (!pPlayer->m_pClub) {
        // Released again while free: he leaves the game, once.
        if (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING)
            return false;
        pPlayer->m_dwFlags |= PLAYER_FLAG_RETIRING;
        RemoveRetiredFromMarkets(pPlayer);
        return true;
    }
    // A move already agreed is not undone by a release; a club outside
    // every country has no free list to release him to.
    if (IsPendingTransfer(pPlayer->m_idPerson) || !pPlayer->m_pClub->m_pCountry)
        return false;
    if (pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN) {
        DebugLog(1, "This player has been on loan and has been sacked");
        TransferPlayerLoan(pPlayer, 0, false, 0);
    }
    RemoveRetiredFromMarkets(pPlayer);
    CClubDatabase* pClub = pPlayer->m_pClub;
    CCountryDatabase* pCountry = pClub ? pClub->m_pCountry : nullptr;
    if (!pClub || !pCountry)
        return false;
    const bool bMarkedBefore = (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) != 0;
    pClub->RemovePlayer(pPlayer, true);
    pClub->RemoveTransferTargetByPlayer(pPlayer->m_idPerson);
    if (CSaveGame* pHuman = GetSaveGameForClub(pClub))
        pHuman->OnPlayerLeft(pPlayer);
    // Free, he keeps nothing of the club: no number, listing or contract.
    pPlayer->m_bySquadNumber = 0;
    pPlayer->m_byTransferState = 0;
    pPlayer->m_wDaysListed = 0;
    pPlayer->m_dwAskingPrice = pPlayer->m_dwValue;
    pPlayer->m_Contract = PLAYERCONTRACT();
    pPlayer->m_dwFlags &= ~PLAYER_FLAG_RELEASED;
    pCountry->AddCountryPlayer(pPlayer);
    pClub->UpdateSquadAverages();
    if (!bMarkedBefore)
        if (CNewspaperStory* pStory = pClub->AddNewspaperStory(0, kStoryPlayerReleased))
            pStory->SetParameterSlot(NEWS_SLOT_PERSON, pPlayer->m_idPerson);
    DebugLog(2, "[CDatabaseHandler::SackPlayer] %s is released by %s", pPlayer->GetShortName(), pClub->GetName());
    return true;
}

CPlayerDatabase* CDatabaseHandler::SignFreePlayer(CClubDatabase* pClub, int nGroup)
{
    CCountryDatabase* pCountry = pClub ? pClub->m_pCountry : nullptr;
    if (!pCountry || !pCountry->IsTransferWindowOpenToday())
        return nullptr;
    CPlayerDatabase* pBest = nullptr;
    for (CPlayerDatabase* pPlayer : pCountry->GetUnattachedPlayers().Items<CPlayerDatabase>())
        if (pPlayer->m_byPosition == nGroup && !(pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) &&
            !IsPendingTransfer(pPlayer->m_idPerson) && (!pBest || pPlayer->m_byRating > pBest->m_byRating))
            pBest = pPlayer;
    if (!pBest)
        return nullptr;
    // Signed as any free transfer is: an offer of no fee completed at once.
    auto* pOffer = new CBuyOfferDatabase;
    pOffer->SetOfferID(++m_dwOfferID);
    pOffer->SetPlayerID(pBest->m_idPerson);
    pOffer->SetBiddingClubID(pClub->GetID());
    if (TransferPlayer(pOffer) != 0) {
        delete pOffer;
        return nullptr;
    }
    return pBest->m_pClub == pClub ? pBest : nullptr;
}

int CDatabaseHandler::StartFreePlayersSeason()
{
    int nGone = 0;
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        for (CPlayerDatabase* pPlayer : pCountry->GetUnattachedPlayers().Items<CPlayerDatabase>()) {
            pPlayer->CheckRetirementAge();
            pPlayer->NewSeasonReset();
        }
        nGone += pCountry->PurgeLeftPlayers();
    }
    return nGone;
}
