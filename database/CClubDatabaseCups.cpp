// What a club pays when it wins a cup final.
#include "database/CClubDatabase.h"

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
