// A computer club keeps its squad in shape: short position groups are filled
// from the youth squad, which is itself kept up by new youths, a group far
// over its size has its weakest players released, and a squad above the size
// the club wants takes a youth only in place of a weaker player. The quarterly step
// that runs it also renews values and lets old players and staff retire;
// each month the staff are brought to the number the club needs. A club run
// by a human is left to him: he only hears what his staff lacks. At the
// season's end the players marked retiring leave.
#include "database/CClubDatabase.h"

#include <vector>

#include "common/DebugLog.h"
#include "platform/Random.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "database/PersonOwners.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"

namespace {

// By position group: goalkeepers, defenders, midfielders, attackers.
constexpr int kMinimumSquadTop[CLUB_POSITION_GROUPS] = {3, 7, 7, 5};
constexpr int kMinimumSquadOther[CLUB_POSITION_GROUPS] = {3, 6, 5, 4};
constexpr int kMinimumYouth[CLUB_POSITION_GROUPS] = {2, 4, 3, 3};
constexpr int kMaximumSquad[CLUB_POSITION_GROUPS] = {8, 15, 15, 12};
constexpr int kSquadBeforeFilling = 18;
// The squad a computer club keeps: enough for every group's minimum and the
// cover for injuries and bans. A larger squad takes no youth unless he beats
// the weakest of his group, and lets its spare players' contracts run out.
constexpr int kSquadWanted = 25;
constexpr int kYouthReviewAge = 18;
constexpr int kPlayersHeldLimit = 50;
// Every promotion or new youth brings a group one nearer its minimum, so no
// group needs more rounds than this.
constexpr int kMaximumRounds = 2 * kPlayersHeldLimit;
constexpr uint16_t kListedWithoutLimit = 65535;
// What a human manager hears of his staff each month, and what his board
// makes of it.
constexpr uint16_t kNewsStaffTypeMissing = 170;
constexpr uint16_t kNewsNoStaffOfType = 169;
constexpr uint16_t kNewsStaffShort = 171;
constexpr uint8_t kBoardStaffShort = 20;
constexpr uint8_t kBoardNoStaff = 21;

bool IsInSquad(const CPlayerDatabase* pPlayer)
{
    return pPlayer->m_byTransferState != PLAYER_TRANSFER_LISTED &&
           pPlayer->m_byTransferState != PLAYER_TRANSFER_ON_LOAN &&
           pPlayer->m_byTransferState != PLAYER_TRANSFER_LEAVING && !(pPlayer->m_dwFlags & PLAYER_FLAG_RELEASED);
}

}  // namespace

int CClubDatabase::GetPlayersHeld() const
{
    return m_lstPlayers.GetCount() + m_lstLoanIns.GetCount() + GetPendingLoanInCount();
}

int CClubDatabase::CountSquadOfGroup(int nGroup) const
{
    int nCount = 0;
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        if (pPlayer->m_byPosition == nGroup && IsInSquad(pPlayer))
            ++nCount;
    return nCount;
}

int CClubDatabase::CountYouthOfGroup(int nGroup) const
{
    int nCount = 0;
    for (const CYouthDatabase* pYouth : m_lstYouths.Items<CYouthDatabase>())
        if (pYouth->m_byPosition == nGroup)
            ++nCount;
    return nCount;
}

CYouthDatabase* CClubDatabase::FindYouthOfGroup(int nGroup) const
{
    for (CYouthDatabase* pYouth : m_lstYouths.Items<CYouthDatabase>())
        if (pYouth->m_byPosition == nGroup)
            return pYouth;
    return nullptr;
}

CPlayerDatabase* CClubDatabase::PromoteYouth(CYouthDatabase* pYouth)
{
    if (!pYouth || !m_lstYouths.Find(pYouth)) {
        DebugLog(0, "[CClubDatabase::PromoteYouth] The youth is not one of %s's", m_szName);
        return nullptr;
    }
    // The player takes over the youth's identifier and career; the youth
    // record is then empty.
    auto* pPlayer = new CPlayerDatabase(pYouth);
    RemoveYouth(pYouth);
    delete pYouth;
    AddPlayer(pPlayer, true);
    pPlayer->AddCareerEntry(this, true);
    return pPlayer;
}

int CClubDatabase::FillYouthSquad()
{
    int nMade = 0;
    for (int nGroup = 0; nGroup < CLUB_POSITION_GROUPS; ++nGroup)
        for (int n = CountYouthOfGroup(nGroup); n < kMinimumYouth[nGroup]; ++n) {
            auto* pYouth = new CYouthDatabase(this, nGroup);
            AddYouthPlayer(pYouth);
            ++nMade;
        }
    return nMade;
}

CPlayerDatabase* CClubDatabase::FindWeakestOfGroup(int nGroup) const
{
    CPlayerDatabase* pWeakest = nullptr;
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        if (pPlayer->m_byPosition == nGroup && IsInSquad(pPlayer) &&
            (!pWeakest || pPlayer->m_byRating < pWeakest->m_byRating))
            pWeakest = pPlayer;
    return pWeakest;
}

int CClubDatabase::CountSquadForLimits() const
{
    int nSquad = 0;
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        if (IsInSquad(pPlayer))
            ++nSquad;
    return nSquad;
}

bool CClubDatabase::IsSurplusPlayer(const CPlayerDatabase* pPlayer) const
{
    if (!pPlayer || pPlayer->m_pClub != this || IsClubHumanManaged(this))
        return false;
    const int nGroup = pPlayer->m_byPosition;
    if (nGroup < 0 || nGroup >= CLUB_POSITION_GROUPS || pPlayer->m_byRating >= m_byAverageRating)
        return false;
    const bool bTopKind = m_pDivision && m_pDivision->m_byKind == DIVISION_KIND_LEAGUE;
    const int nMinimum = bTopKind ? kMinimumSquadTop[nGroup] : kMinimumSquadOther[nGroup];
    return CountSquadForLimits() > kSquadWanted && CountSquadOfGroup(nGroup) > nMinimum;
}

void CClubDatabase::MaintainSquad()
{
    if (IsClubHumanManaged(this))
        return;
    const bool bTopKind = m_pDivision && m_pDivision->m_byKind == DIVISION_KIND_LEAGUE;
    const int nSquad = CountSquadForLimits();

    if (bTopKind && nSquad < kSquadBeforeFilling) {
        for (int nGroup = 0; nGroup < CLUB_POSITION_GROUPS; ++nGroup)
            for (int nRound = 0; nRound < kMaximumRounds && CountSquadOfGroup(nGroup) < kMinimumSquadTop[nGroup] &&
                                 GetPlayersHeld() < kPlayersHeldLimit;
                 ++nRound) {
                if (CYouthDatabase* pYouth = FindYouthOfGroup(nGroup))
                    PromoteYouth(pYouth);
                else if (FillYouthSquad() == 0)
                    break;
            }
    }
    else if (!bTopKind) {
        // A short group signs the best free player of its position in the
        // country, or else takes a newly made one.
        for (int nGroup = 0; nGroup < CLUB_POSITION_GROUPS; ++nGroup)
            for (int nRound = 0; nRound < kMaximumRounds && CountSquadOfGroup(nGroup) < kMinimumSquadOther[nGroup] &&
                                 GetPlayersHeld() < kPlayersHeldLimit;
                 ++nRound) {
                if (m_pDatabaseHandler && m_pDatabaseHandler->SignFreePlayer(this, nGroup))
                    continue;
                auto* pYouth = new CYouthDatabase(this, nGroup);
                AddYouthPlayer(pYouth);
                if (!PromoteYouth(pYouth))
                    break;
            }
    }

    // Surplus players are released and offered at half their value.
    for (int nGroup = 0; nGroup < CLUB_POSITION_GROUPS; ++nGroup)
        while (CountSquadOfGroup(nGroup) > kMaximumSquad[nGroup]) {
            CPlayerDatabase* pWeakest = FindWeakestOfGroup(nGroup);
            if (!pWeakest)
                break;
            pWeakest->m_dwFlags |= PLAYER_FLAG_RELEASED;
            if (m_pDatabaseHandler)
                m_pDatabaseHandler->AddPlayerToListMarket(pWeakest, pWeakest->m_dwValue / 2, PLAYER_TRANSFER_LISTED,
                                                          kListedWithoutLimit);
        }
}

void CClubDatabase::SeasonYouthReview()
{
    if (IsClubHumanManaged(this) || !m_pDatabaseHandler)
        return;
    FillYouthSquad();
    const int64_t nAverageValue = m_nPlayerCount > 0 ? m_nSquadValue / m_nPlayerCount : 0;
    // Promotion and release take youths off the list, so the walk is over a copy.
    std::vector<CYouthDatabase*> youths;
    for (CYouthDatabase* pYouth : m_lstYouths.Items<CYouthDatabase>())
        if (pYouth->GetAge() >= kYouthReviewAge)
            youths.push_back(pYouth);
    int nReady = 0, nWorth = 0, nReleased = 0;
    for (CYouthDatabase* pYouth : youths) {
        const bool bReady = pYouth->IsReadyForFirstTeam();
        const bool bWorth = !bReady && static_cast<int64_t>(pYouth->m_dwValue) * 5 >= nAverageValue * 4;
        bool bRoom = GetPlayersHeld() < kPlayersHeldLimit;
        // A full squad takes a youth only in place of the weakest of his
        // group, who is then offered at half his value.
        if (bRoom && (bReady || bWorth) && CountSquadForLimits() >= kSquadWanted) {
            CPlayerDatabase* pDisplaced = FindWeakestOfGroup(pYouth->m_byPosition);
            bRoom = pDisplaced && pDisplaced->m_byRating < pYouth->m_byRating;
            if (bRoom) {
                pDisplaced->m_dwFlags |= PLAYER_FLAG_RELEASED;
                m_pDatabaseHandler->AddPlayerToListMarket(pDisplaced, pDisplaced->m_dwValue / 2,
                                                          PLAYER_TRANSFER_LISTED, kListedWithoutLimit);
            }
        }
        if (bRoom && bReady) {
            nReady += PromoteYouth(pYouth) != nullptr;
        } else if (bRoom && bWorth) {
            CPlayerDatabase* pPlayer = PromoteYouth(pYouth);
            nWorth += pPlayer != nullptr;
            // Now and then one is promoted only to be sold.
            if (pPlayer && plat::rand() % 10 == 0)
                m_pDatabaseHandler->AddPlayerToListMarket(pPlayer, pPlayer->m_dwValue / 2, PLAYER_TRANSFER_LISTED,
                                                          kListedWithoutLimit);
        } else {
            m_pDatabaseHandler->ReleaseYouth(pYouth);
            ++nReleased;
        }
    }
    if (!youths.empty())
        DebugLog(7, "[CClubDatabase::SeasonYouthReview] %s: %d ready and %d worth a place promoted, %d released",
                 m_szShortName, nReady, nWorth, nReleased);
    if (nReady + nWorth > 0) {
        AssignSquadNumbers();
        UpdateSquadAverages();
    }
}

void CClubDatabase::ClubQuarterlyStep(bool bFlag)
{
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        pPlayer->WeeklyValueUpdate(bFlag);
    // Retiring takes a member off the staff list, so the walk is over a copy.
    std::vector<ID_STAFF> staff;
    for (const void* pValue : m_lstStaff.Items<void>())
        staff.push_back(static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue)));
    for (ID_STAFF idStaff : staff)
        if (CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(idStaff) : nullptr)
            pStaff->WeeklyAgeCheck();
    DoSquadUpkeep();
    SeasonYouthReview();
    // The squad's figures follow the new values and players.
    UpdateSquadAverages();
}

void CClubDatabase::DoSquadUpkeep()
{
    // A human's money and squad are his own business.
    if (IsClubHumanManaged(this))
        return;
    // A computer club's balance is raised to its lowest at the season's
    // start, where the books allow for it.
    MaintainSquad();
    AssignSquadNumbers();
}

int CClubDatabase::ReleaseRetired()
{
    // Retiring takes a player off the squad list, so the walk is over a copy.
    std::vector<CPlayerDatabase*> retiring;
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        if (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING)
            retiring.push_back(pPlayer);
    int nRetired = 0;
    for (CPlayerDatabase* pPlayer : retiring)
        nRetired += m_pDatabaseHandler && m_pDatabaseHandler->RetirePlayer(pPlayer);
    return nRetired;
}

// ---- staff ----

int CClubDatabase::CountStaffOfType(int nType) const
{
    int nCount = 0;
    for (const void* pValue : m_lstStaff.Items<void>()) {
        const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
        const CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(idStaff) : nullptr;
        if (pStaff && pStaff->m_byKind == nType)
            ++nCount;
    }
    return nCount;
}

void CClubDatabase::OnEventMonthly(bool bFlag)
{
    if (!m_pDatabaseHandler)
        return;
    if (CSaveGame* pHuman = m_pDatabaseHandler->GetSaveGameForClub(this)) {
        // The human hires and sacks his own staff; he is only told what is
        // missing, and his board takes the first shortfall of the month to heart.
        if (!bFlag)
            return;
        bool bBoardTold = false;
        for (int nType = 0; nType < CLUB_STAFF_KINDS; ++nType) {
            const int nShort = GetStaffNeeded(nType) - CountStaffOfType(nType);
            uint16_t wNews = 0;
            uint8_t byBoard = 0;
            if (m_awStaffSlots[nType][0] == 0) {
                wNews = kNewsStaffTypeMissing;
                byBoard = kBoardStaffShort;
            }
            else if (nShort < 1 && CountStaffOfType(nType) == 0) {
                wNews = kNewsNoStaffOfType;
                byBoard = kBoardNoStaff;
            }
            else if (nShort >= 1) {
                wNews = kNewsStaffShort;
                byBoard = kBoardStaffShort;
            }
            if (wNews == 0)
                continue;
            pHuman->PostNews(wNews, this)->SetSlot(NEWS_SLOT_SUBTYPE, static_cast<uint32_t>(nType));
            if (!bBoardTold) {
                UpdateBoardConfidence(byBoard, 0);
                bBoardTold = true;
            }
        }
        return;
    }
    for (int nType = 0; nType < CLUB_STAFF_KINDS; ++nType) {
        const int nShort = GetStaffNeeded(nType) - CountStaffOfType(nType);
        // Too many: the first of the type in the staff list go.
        for (int i = 0; i < -nShort; ++i) {
            ID_STAFF idSack = 0;
            for (const void* pValue : m_lstStaff.Items<void>()) {
                const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
                const CStaffDatabase* pStaff = m_pDatabaseHandler->GetStaffFromID(idStaff);
                if (pStaff && pStaff->m_byKind == nType) {
                    idSack = idStaff;
                    break;
                }
            }
            if (idSack == 0) {
                DebugLog(1, "[CClubDatabase::OnEventMonthly] Unable to sack enough staff!");
                break;
            }
            m_pDatabaseHandler->SackStaff(idSack);
        }
        // Too few: the pool's first of the type are hired.
        if (!bFlag)
            continue;
        for (int i = 0; i < nShort; ++i) {
            ID_STAFF idHire = 0;
            for (const void* pValue : m_pDatabaseHandler->GetStaffPool().Items<void>()) {
                const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
                const CStaffDatabase* pStaff = m_pDatabaseHandler->GetStaffFromID(idStaff);
                if (pStaff && pStaff->m_byKind == nType) {
                    idHire = idStaff;
                    break;
                }
            }
            if (idHire == 0 || m_pDatabaseHandler->HireStaff(idHire, this) != 0)
                break;
        }
    }
}

int CClubDatabase::MakeSquadVeterans(int nAge)
{
    int nChanged = 0;
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>()) {
        const int nYears = nAge - pPlayer->GetAge();
        if (nYears <= 0)
            continue;
        pPlayer->m_DateOfBirth.wYear = static_cast<uint16_t>(pPlayer->m_DateOfBirth.wYear - nYears);
        ++nChanged;
    }
    return nChanged;
}
