#include "database/ClubPayments.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"

void BookClubMoney(CClubDatabase* pClub, int32_t nAmount, int nCategory)
{
    if (!pClub) {
        DebugLog(1, "[BookClubMoney] No club for %d (category %d)", nAmount, nCategory);
        return;
    }
    if (nAmount >= 0)
        pClub->AddFinanceTransaction(nCategory, nAmount, 0);
    else
        pClub->AddFinanceTransaction(nCategory, 0, nAmount == INT32_MIN ? INT32_MAX : -nAmount);
    DebugLog(3, "[BookClubMoney] %s: %d (category %d)", pClub->GetName(), nAmount, nCategory);
}
