// What a squad player's contract and transfer terms make due at the monthly
// finance run, besides his wage.
#include "database/CClubDatabase.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"

namespace {

constexpr int kCategoryAllowances = 58;
constexpr int kCategoryPerGoal = 62;
constexpr int kCategoryAppearancesTarget = 63;
constexpr int kCategoryPerCleanSheet = 64;
constexpr int kCategoryGoalsTarget = 65;
constexpr int kCategoryCleanSheetsTarget = 66;
constexpr int kCategoryFirstInsurance = 70;
constexpr int kCategorySigningOnFee = 88;
constexpr int kCategoryInstalment = 89;
constexpr int kCategoryFirstCondition = 92;

// The competitions whose matches count for bonuses: friendlies do not.
constexpr int kCompetitiveKinds = 3;
constexpr uint8_t kGoalkeeper = 0;
constexpr uint8_t kDefender = 1;

int SeasonCount(const CPlayerDatabase& player, int nField)
{
    int n = 0;
    for (int nCompetition = 0; nCompetition < kCompetitiveKinds; ++nCompetition)
        n += player.GetMatchInformationField(nCompetition, nField);
    return n;
}

int32_t Money(int64_t n)
{
    return static_cast<int32_t>(std::clamp<int64_t>(n, 0, INT32_MAX));
}

}  // namespace

CClubDatabase* CClubDatabase::FindFormerClub(const CPlayerDatabase& player) const
{
    const auto idFormer = static_cast<ID_CLUB>(player.m_adwTransferBlock[PLAYER_TERMS_FORMER_CLUB]);
    return m_pDatabaseHandler && idFormer ? m_pDatabaseHandler->GetClubFromID(idFormer) : nullptr;
}

void CClubDatabase::PayFormerClub(CClubDatabase* pFormer, ID_CLUB idFormer, int nCategory, int32_t nAmount,
                                  uint32_t idPlayer)
{
    AddFinanceTransaction(nCategory, 0, nAmount, idPlayer, idFormer);
    if (pFormer)
        pFormer->AddFinanceTransaction(nCategory, nAmount, 0, idPlayer, m_wClubId);
}

void CClubDatabase::PayOutstandingInstalments(CPlayerDatabase& player)
{
    uint32_t* pTerms = player.m_adwTransferBlock;
    const int64_t nOwed = static_cast<int64_t>(pTerms[PLAYER_TERMS_COUNTS] & 0xFF) * pTerms[PLAYER_TERMS_INSTALMENT];
    pTerms[PLAYER_TERMS_COUNTS] &= ~0xFFu;
    if (nOwed > 0)
        PayFormerClub(FindFormerClub(player), static_cast<ID_CLUB>(pTerms[PLAYER_TERMS_FORMER_CLUB]),
                      kCategoryInstalment, Money(nOwed), player.m_idPerson);
}

void CClubDatabase::PayContractClauses(CPlayerDatabase& player)
{
    PLAYERCONTRACT& contract = player.m_Contract;
    const uint32_t idPlayer = player.m_idPerson;
    // The season's counts are read only for a clause or condition that asks
    // for them: most contracts and moves have none, and every squad player
    // comes here each month.
    int nAppearances = -1, nGoals = -1;
    const auto appearances = [&] {
        if (nAppearances < 0)
            nAppearances = SeasonCount(player, MATCH_INFORMATION_STARTS) +
                           SeasonCount(player, MATCH_INFORMATION_SUBSTITUTE);
        return nAppearances;
    };
    const auto goals = [&] {
        if (nGoals < 0)
            nGoals = SeasonCount(player, MATCH_INFORMATION_GOALS);
        return nGoals;
    };
    enum { kAppearances, kGoals, kCleanSheets };
    const auto count = [&](int nKind) {
        return nKind == kAppearances ? appearances() : nKind == kGoals ? goals() : player.m_wSeasonCleanSheets;
    };

    // Target bonuses are paid once, when the season's count reaches them.
    struct TARGET {
        uint16_t wBit;
        uint8_t byTarget;
        int nCountKind;
        int nCategory;
    };
    const TARGET aTargets[] = {
        {PLAYER_BONUS_APPEARANCES_TARGET, contract.byAppearancesTarget, kAppearances, kCategoryAppearancesTarget},
        {PLAYER_BONUS_GOALS_TARGET, contract.byGoalsTarget, kGoals, kCategoryGoalsTarget},
        {PLAYER_BONUS_CLEAN_SHEETS_TARGET, contract.byBonusTarget, kCleanSheets, kCategoryCleanSheetsTarget},
    };
    for (const TARGET& target : aTargets)
        if ((contract.wClauses & target.wBit) && target.byTarget > 0 && count(target.nCountKind) >= target.byTarget) {
            contract.wClauses = static_cast<uint16_t>(contract.wClauses & ~target.wBit);
            AddFinanceTransaction(target.nCategory, 0, Money(contract.adwBonus[PlayerBonusSlot(target.wBit)]),
                                  idPlayer);
        }

    // The insurance he is covered by.
    for (int nKind = 0; nKind < 4; ++nKind)
        if (player.m_byContractClauses & (1u << nKind))
            AddFinanceTransaction(kCategoryFirstInsurance + nKind, 0, player.GetMonthlyInsurance(nKind), idPlayer);

    // Bonuses by the month's goals and clean sheets.
    if (contract.wClauses & PLAYER_BONUS_PER_GOAL)
        AddFinanceTransaction(kCategoryPerGoal, 0,
                              Money(static_cast<int64_t>(contract.adwBonus[PlayerBonusSlot(PLAYER_BONUS_PER_GOAL)]) *
                                    player.m_byPeriodGoals),
                              idPlayer);
    if (contract.wClauses & PLAYER_BONUS_PER_CLEAN_SHEET)
        AddFinanceTransaction(
            kCategoryPerCleanSheet, 0,
            Money(static_cast<int64_t>(contract.adwBonus[PlayerBonusSlot(PLAYER_BONUS_PER_CLEAN_SHEET)]) *
                  player.m_byPeriodCleanSheets),
            idPlayer);
    player.m_byPeriodGoals = 0;
    player.m_byPeriodCleanSheets = 0;

    // The allowances of his clause levels, yearly figures.
    if (const int32_t nAllowances = CPlayerDatabase::GetContractAllowances(contract))
        AddFinanceTransaction(kCategoryAllowances, 0, nAllowances / 12, idPlayer);

    // The signing-on fee is paid once.
    if (contract.dwSigningOnFee != 0) {
        AddFinanceTransaction(kCategorySigningOnFee, 0, Money(contract.dwSigningOnFee), idPlayer);
        contract.dwSigningOnFee = 0;
    }

    // What his move still owes the club he came from.
    uint32_t* pTerms = player.m_adwTransferBlock;
    const ID_CLUB idFormer = static_cast<ID_CLUB>(pTerms[PLAYER_TERMS_FORMER_CLUB]);
    CClubDatabase* pFormer = FindFormerClub(player);
    auto payFormer = [&](int nCategory, int32_t nAmount) {
        PayFormerClub(pFormer, idFormer, nCategory, nAmount, idPlayer);
    };
    // The conditions: (amount, count) of appearances, of goals, and of
    // clean sheets for a goalkeeper or defender or goals for anyone else;
    // each is paid once, when the season's count reaches it.
    const bool bKeepsClean = player.m_byPosition == kGoalkeeper || player.m_byPosition == kDefender;
    const int anCountKinds[3] = {kAppearances, kGoals, bKeepsClean ? kCleanSheets : kGoals};
    for (int n = 0; n < 3; ++n) {
        const auto nAmount = static_cast<int32_t>(pTerms[2 * n]);
        const auto nNeeded = static_cast<int32_t>(pTerms[2 * n + 1]);
        if (nAmount > 0 && nNeeded > 0 && count(anCountKinds[n]) >= nNeeded) {
            payFormer(kCategoryFirstCondition + n, nAmount);
            pTerms[2 * n] = 0;
            pTerms[2 * n + 1] = 0;
        }
    }
    // One instalment a month while any are left.
    const uint32_t dwLeft = pTerms[PLAYER_TERMS_COUNTS] & 0xFF;
    const auto nInstalment = static_cast<int32_t>(pTerms[PLAYER_TERMS_INSTALMENT]);
    if (dwLeft > 0 && nInstalment > 0) {
        pTerms[PLAYER_TERMS_COUNTS] = (pTerms[PLAYER_TERMS_COUNTS] & ~0xFFu) | (dwLeft - 1);
        if (!pFormer)
            DebugLog(1, "[CClubDatabase::DoFinance] Could not find club %d to pay the transfer instalment to",
                     idFormer);
        payFormer(kCategoryInstalment, nInstalment);
    }
}
