// What a club pays when it wins a cup final, and the cup's payment for a
// paid tie of a round.
#include "database/CClubDatabase.h"

#include "database/CCountryDatabase.h"
#include "season/CupRecords.h"

#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"

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
