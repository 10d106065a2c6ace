// What a club pays when it wins a cup final, what a won or lost tie does to
// its fans, board and cup status, and the cup's payment for a paid tie of a
// round.
#include "database/CClubDatabase.h"

#include <algorithm>

#include "database/CCountryDatabase.h"
#include "database/ClubPayments.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CupRecords.h"

namespace {

constexpr int kDomesticFinalPlayers = 60;
constexpr int kEuropeanFinalPlayers = 61;
constexpr int kDomesticFinalManager = 67;
constexpr int kEuropeanFinalManager = 68;
// Contract bonus slots: bonus 0x08 (a domestic final), 0x10 (a European one).
constexpr int kDomesticFinalBonus = 0;
constexpr int kEuropeanFinalBonus = 1;
constexpr int kCupRoundPayment = 57;

}  // namespace

void CClubDatabase::PayCupFinalBonuses(uint8_t byEuropean)
{
    const bool bEuropean = byEuropean != 0;
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>()) {
        const uint32_t dwBonus = pPlayer->m_Contract.adwBonus[bEuropean ? kEuropeanFinalBonus : kDomesticFinalBonus];
        AddFinanceTransaction(bEuropean ? kEuropeanFinalPlayers : kDomesticFinalPlayers, 0,
                              static_cast<int32_t>(dwBonus), pPlayer->m_idPerson);
    }
    if (const CManagerDatabase* pManager = GetManager()) {
        const int32_t nUnit = static_cast<int32_t>(pManager->m_Contract.dwWage / 100);
        const int nPercentage = pManager->m_Contract.abyBonus[bEuropean ? 1 : 0];
        AddFinanceTransaction(bEuropean ? kEuropeanFinalManager : kDomesticFinalManager, 0, nUnit * nPercentage,
                              pManager->GetId());
    }
}

namespace {

constexpr uint16_t kNewsKnockedOut = 95;
constexpr uint8_t kFansTieWon = 2;
constexpr uint8_t kBoardTieWon = 2;
constexpr uint8_t kFansTieLost = 11;
constexpr uint8_t kBoardTieLost = 12;

// The club's cup status slot of a cup number, -1 for none.
int CupStatusSlot(CUP_NUMBER byCup)
{
    if (byCup == CUP_NUMBER_NONE)
        return -1;
    const int nKind = GetCupNumberKind(byCup);
    return GetCupNumberCountry(byCup) == 0 ? CEuropeanCupDatabase::GetCompetitionSlot(nKind)
                                           : CDomesticCupsDatabase::GetCupStatusSlot(nKind);
}

}  // namespace

void CClubDatabase::SetCupStatus(CUP_NUMBER byCup, int nRound, int nStage)
{
    SetCupSlotStatus(CupStatusSlot(byCup), nRound, nStage);
}

void CClubDatabase::SetCupSlotStatus(int nSlot, int nRound, int nStage)
{
    if (nSlot < 0 || nSlot >= CLUB_CUP_SLOTS)
        return;
    m_aCupStatus[nSlot].byStage = static_cast<uint8_t>(std::clamp(nStage, 0, 255));
    m_aCupStatus[nSlot].byRound = static_cast<uint8_t>(std::clamp(nRound, 0, 255));
    // The manager's career keeps the season's cup runs of his club (in the
    // entry of this club: one of a club he has left stays as it was).
    CManagerDatabase* pManager = GetManager();
    const MANAGERCAREERENTRY* pEntry = pManager ? pManager->GetCareerEntry(-1) : nullptr;
    if (pEntry && pEntry->wClubId == m_wClubId)
        pManager->SetCupSlot(nSlot, m_aCupStatus[nSlot].byStage, m_aCupStatus[nSlot].byRound);
}

void CClubDatabase::OnCupTieWon(CUP_NUMBER byCup, int nRound)
{
    UpdateFanConfidence(kFansTieWon);
    UpdateBoardConfidence(kBoardTieWon, 0);
    SetCupStatus(byCup, nRound, nRound + 2);
}

void CClubDatabase::OnCupTieLost(CUP_NUMBER byCup, int nRound, bool bFinal)
{
    UpdateFanConfidence(kFansTieLost);
    UpdateBoardConfidence(kBoardTieLost, 0);
    SetCupStatus(byCup, nRound, nRound + 1);
    if (!bFinal)
        AddNewsItem(kNewsKnockedOut);
}

void CClubDatabase::AddCupRoundPayment(const CUP* pCup)
{
    if (!pCup)
        return;
    // The late rounds pay the smaller sum: the prize money follows them.
    const bool bLate = pCup->byRounds == 1 || pCup->byRound + 2 >= pCup->byRounds;
    const int nLevel = m_pCountry ? m_pCountry->GetLevel() : 0;
    const int64_t nAmount = (bLate ? 75000 : 150000) / 100 * ((nLevel / 10 + 5) * 10);
    AddFinanceTransaction(kCupRoundPayment, static_cast<int32_t>(nAmount), 0);
}
