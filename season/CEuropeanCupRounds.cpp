// The European cups in play: moving waiting clubs into the ties, topping up
// short rounds, the mini-league groups of the first cup with their fixtures,
// tables and qualifiers, prize money, winners and the season change.
#include "season/CEuropeanCupDatabase.h"

#include <algorithm>
#include <vector>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/ClubPayments.h"
#include "platform/Random.h"
#include "season/CRefereeDatabase.h"

namespace {

constexpr int kPrizeCategory = 56;
constexpr uint8_t kEuropeanFixtureKind = 2;
// Home row v away row of each of the six match days of a group of four.
constexpr int kGroupSchedule[6][2][2] = {
    {{0, 1}, {3, 2}}, {{2, 0}, {3, 1}}, {{0, 3}, {1, 2}},
    {{1, 0}, {2, 3}}, {{3, 0}, {2, 1}}, {{0, 2}, {1, 3}},
};

CUPTIE* DrawSlotTie(CUP* pCup, int nPosition) { return pCup->GetTie(nPosition / 2); }

void PutInPosition(CUP* pCup, int nPosition, ID_CLUB idClub)
{
    CUPTIE* pTie = DrawSlotTie(pCup, nPosition);
    if (!pTie)
        return;
    if (nPosition % 2 == 0) {
        pTie->wHomeClub = idClub;
        pTie->byHomeMark = CUP_MARK_UNSET;
    }
    else {
        pTie->wAwayClub = idClub;
        pTie->byAwayMark = CUP_MARK_UNSET;
    }
}

ID_CLUB ClubInPosition(const CUP* pCup, int nPosition)
{
    const CUPTIE* pTie = pCup->GetTie(nPosition / 2);
    return pTie ? (nPosition % 2 == 0 ? pTie->wHomeClub : pTie->wAwayClub) : 0;
}

ID_COUNTRY ClubCountry(const CClubDatabase* pClub)
{
    return pClub && pClub->m_pCountry ? pClub->m_pCountry->GetID() : 0;
}

}  // namespace

int CEuropeanCupDatabase::CountPending(int nKind, int nRound) const
{
    const CXList* pList = GetPendingList(nKind);
    int nCount = 0;
    if (pList)
        for (const CUPENTRY* pEntry : pList->Items<CUPENTRY>())
            if (pEntry->byRound == nRound)
                ++nCount;
    return nCount;
}

bool CEuropeanCupDatabase::IsClubDrawn(int nKind, uint32_t dwClub) const
{
    const CUP* pCup = GetCup(nKind);
    for (int i = 0; pCup && i < pCup->wClubsDrawn; ++i)
        if (ClubInPosition(pCup, i) == dwClub)
            return true;
    return false;
}

bool CEuropeanCupDatabase::AddToDraw(int nKind, uint32_t dwClub)
{
    CUP* pCup = GetCup(nKind);
    if (!pCup)
        return false;
    if (pCup->wClubsDrawn / 2 >= pCup->wTieSlots)
        return true;
    PutInPosition(pCup, pCup->wClubsDrawn, static_cast<ID_CLUB>(dwClub));
    ++pCup->wClubsDrawn;
    return true;
}

void CEuropeanCupDatabase::DrawRound(int nKind, int nRound)
{
    CUP* pCup = GetCup(nKind);
    CXList* pList = PendingList(nKind);
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(GetDefinition(nKind), nRound);
    if (!pCup || !pList || !pRule)
        return;
    const int nFree = static_cast<int>(pRule->wClubs) - pCup->wClubsDrawn;
    TakePendingIntoDraw(*pList, nRound, nFree, m_pDatabaseHandler,
                        [&](uint32_t dwClub) { AddToDraw(nKind, dwClub); });
}

int CEuropeanCupDatabase::AddPendingClubs(int nKind, int nNeeded, int nRound, const CCountryDatabase* pCountry)
{
    if (!m_pDatabaseHandler || nNeeded <= 0)
        return 0;
    // The first divisions in table order: the given country's first, then
    // every country's that is not excluded.
    std::vector<std::vector<ID_CLUB>> tables;
    auto addTable = [&](const CCountryDatabase* pFrom) {
        const auto* pFirst = pFrom && !pFrom->GetDivisions().IsEmpty()
                                 ? static_cast<const CDivisionDatabase*>(pFrom->GetDivisions().GetHead()->pData)
                                 : nullptr;
        if (!pFirst)
            return;
        std::vector<ID_CLUB>& table = tables.emplace_back();
        for (const CClubDatabase* pClub : pFirst->m_lstClubsByTable.Items<CClubDatabase>())
            table.push_back(pClub->m_wClubId);
    };
    if (pCountry)
        addTable(pCountry);
    for (const CCountryDatabase* pOther : m_pDatabaseHandler->GetCountries().Items<CCountryDatabase>())
        if (pOther != pCountry && pOther->GetEuropeanExclusion() != 1)
            addTable(pOther);
    // The places are shared out: each country in turn gives its best-placed
    // club not yet in Europe, so that no one country's whole division is
    // taken before the next gives any.
    int nAdded = 0;
    std::vector<size_t> next(tables.size(), 0);
    for (bool bAny = true; bAny && nAdded < nNeeded;) {
        bAny = false;
        for (size_t t = 0; t < tables.size() && nAdded < nNeeded; ++t) {
            std::vector<ID_CLUB>& table = tables[t];
            while (next[t] < table.size()) {
                const ID_CLUB idClub = table[next[t]++];
                // A club still in either cup would be entered twice or play
                // two European ties in one week.
                if (IsClubPending(CUP_KIND_0, idClub) || IsClubPending(CUP_KIND_1, idClub) ||
                    IsClubDrawn(CUP_KIND_0, idClub) || IsClubDrawn(CUP_KIND_1, idClub))
                    continue;
                AddPending(nKind, idClub, nRound, REASON_NOT_ENOUGH_CLUBS);
                ++nAdded;
                bAny = true;
                break;
            }
        }
    }
    return nAdded;
}

// ---- groups ----

bool CEuropeanCupDatabase::DrawGroups(CUP* pCup, const CXList* /*plstReferees*/)
{
    if (!pCup || !m_pDatabaseHandler)
        return false;
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(GetDefinition(pCup->byKind), pCup->byRound);
    const int g = pRule && pRule->pClubsPerDivision ? pRule->pClubsPerDivision[0] : 0;
    if (g <= 0)
        return false;
    const int nClubs = pRule->wClubs;
    const int nGroups = nClubs / g;
    if (m_lstGroups.IsEmpty())
        for (int i = 0; i < nGroups; ++i)
            AddGroup(g);

    for (int k = std::min<int>(nClubs, pCup->wClubsDrawn) - 1; k >= 0; --k) {
        const int j = k > 0 ? plat::rand() % k : 0;
        const ID_CLUB idJ = ClubInPosition(pCup, j);
        const ID_CLUB idK = ClubInPosition(pCup, k);
        PutInPosition(pCup, j, idK);
        PutInPosition(pCup, k, idJ);
        const ID_CLUB idClub = idJ;
        CClubDatabase* pClub = m_pDatabaseHandler->GetClubFromID(idClub);
        if (!pClub)
            continue;
        pClub->SetCupSlotStatus(GetCompetitionSlot(pCup->byKind), pCup->byRound, CUP_STAGE_GROUP);
        // The first group with room and no club of the same country, else
        // the first with room.
        MINILEAGUEGROUP* pTarget = nullptr;
        MINILEAGUEGROUP* pAnyRoom = nullptr;
        for (MINILEAGUEGROUP* pGroup : m_lstGroups.Items<MINILEAGUEGROUP>()) {
            if (pGroup->byFilled >= pGroup->bySize)
                continue;
            if (!pAnyRoom)
                pAnyRoom = pGroup;
            bool bSameCountry = false;
            for (int r = 0; r < pGroup->byFilled; ++r)
                bSameCountry = bSameCountry ||
                               ClubCountry(m_pDatabaseHandler->GetClubFromID(static_cast<ID_CLUB>(
                                   pGroup->pRows[r].dwClub))) == ClubCountry(pClub);
            if (!bSameCountry) {
                pTarget = pGroup;
                break;
            }
        }
        if (!pTarget)
            pTarget = pAnyRoom;
        if (!pTarget)
            continue;
        pTarget->pRows[pTarget->byFilled++].dwClub = idClub;
        if (pTarget->byFilled < pTarget->bySize)
            continue;

        // A full group gets its six match days of fixtures at once.
        if (pTarget->bySize != 4) {
            DebugLog(1, "[CEuropeanCupDatabase::DrawGroups] Groups of %d have no fixture schedule", pTarget->bySize);
            continue;
        }
        for (int d = 0; d < 6; ++d) {
            CDate date;
            if (!GetRoundDate(GetRound(pCup->byKind, pCup->byRound - 1 + d), false, date))
                continue;
            const ITEMCUPROUNDINFORMATION* pRound = GetRound(pCup->byKind, pCup->byRound - 1 + d);
            for (const auto& pair : kGroupSchedule[d]) {
                MINILEAGUEROW& home = pTarget->pRows[pair[0]];
                MINILEAGUEROW& away = pTarget->pRows[pair[1]];
                const auto idHome = static_cast<ID_CLUB>(home.dwClub);
                const auto idAway = static_cast<ID_CLUB>(away.dwClub);
                m_pDatabaseHandler->ClearClubDateForCup(idHome, date);
                m_pDatabaseHandler->ClearClubDateForCup(idAway, date);
                CRefereeDatabase* pReferee = m_pDatabaseHandler->ChooseCupReferee(date, idHome, idAway, true, nullptr);
                if (!pReferee)
                    DebugLog(2, "Out of referees for the European Mini League games");
                auto* pFixture = new CCupFixturesDatabase;
                const uint8_t byVenue = pRound && pRound->pMatchRules ? pRound->pMatchRules->byVenue : 0;
                pFixture->Set(kEuropeanFixtureKind, date, idHome, idAway, m_pDatabaseHandler->TakeNextFixtureID(), 0,
                              0, MakeCupNumberFromKind(pCup->byKind, 0),
                              m_pDatabaseHandler->GenerateFixtureGround(byVenue, idHome, idAway));
                pFixture->SetCup(pCup);
                if (pReferee) {
                    pFixture->SetReferee(pReferee->GetID());
                    pFixture->AttachToReferee(pReferee, REFEREE_ASSIGNMENT_CUP);
                }
                for (int s = 0; s < pTarget->bySize - 1; ++s)
                    if (home.pHomeMatches[s] == 0) {
                        home.pHomeMatches[s] = pFixture->GetFixtureID();
                        break;
                    }
                home.lstFixtures.AddTail(pFixture);
                away.lstFixtures.AddTail(pFixture);
                m_pDatabaseHandler->AddCupFixture(pFixture);
            }
        }
    }
    m_pDatabaseHandler->SortCupFixtures();
    AppendGroupTables();
    return true;
}

bool CEuropeanCupDatabase::UpdateGroupTables(int nDayCount)
{
    if (!m_pDatabaseHandler || m_lstGroups.IsEmpty())
        return false;
    CDate matchDate = m_pDatabaseHandler->GetGameDate();
    if (nDayCount > 1)
        matchDate.AddDays(-(nDayCount - 1));
    bool bFinished = true;
    for (MINILEAGUEGROUP* pGroup : m_lstGroups.Items<MINILEAGUEGROUP>()) {
        const MINILEAGUEROW& first = pGroup->pRows[0];
        const int nReference = first.byWon + first.byDrawn + first.byLost;
        for (int r = 0; r < pGroup->byFilled; ++r) {
            MINILEAGUEROW& row = pGroup->pRows[r];
            if (row.byWon + row.byDrawn + row.byLost > nReference)
                continue;
            row.dwDayField = 0;
            for (const CCupFixturesDatabase* pFixture : row.lstFixtures.Items<CCupFixturesDatabase>()) {
                if (pFixture->GetDate() != matchDate || !pFixture->IsPlayed())
                    continue;
                const bool bHome = pFixture->GetHomeClubID() == row.dwClub;
                const int nFor = bHome ? pFixture->GetHomeGoals() : pFixture->GetAwayGoals();
                const int nAgainst = bHome ? pFixture->GetAwayGoals() : pFixture->GetHomeGoals();
                if (nFor > nAgainst)
                    ++row.byWon;
                else if (nFor == nAgainst)
                    ++row.byDrawn;
                else
                    ++row.byLost;
                row.byGoalsFor = static_cast<uint8_t>(std::min(255, row.byGoalsFor + nFor));
                row.byGoalsAgainst = static_cast<uint8_t>(std::min(255, row.byGoalsAgainst + nAgainst));
            }
        }
        SortGroup(*pGroup);
        for (int r = 0; r < pGroup->byFilled; ++r) {
            const MINILEAGUEROW& row = pGroup->pRows[r];
            if (row.byWon + row.byDrawn + row.byLost < 2 * (pGroup->bySize - 1))
                bFinished = false;
        }
    }
    AppendGroupTables();
    return bFinished;
}

int CEuropeanCupDatabase::SortGroup(MINILEAGUEGROUP& group)
{
    auto ranksAbove = [](const MINILEAGUEROW& a, const MINILEAGUEROW& b) {
        const int nPointsA = 3 * a.byWon + a.byDrawn;
        const int nPointsB = 3 * b.byWon + b.byDrawn;
        if (nPointsA != nPointsB)
            return nPointsA > nPointsB;
        const int nDiffA = a.byGoalsFor - a.byGoalsAgainst;
        const int nDiffB = b.byGoalsFor - b.byGoalsAgainst;
        if (nDiffA != nDiffB)
            return nDiffA > nDiffB;
        return a.byGoalsFor > b.byGoalsFor;
    };
    int nPasses = 0;
    bool bChanged = true;
    while (bChanged && nPasses < 12) {
        bChanged = false;
        ++nPasses;
        for (int i = 0; i < group.bySize; ++i)
            for (int j = i + 1; j < group.bySize; ++j) {
                MINILEAGUEROW& a = group.pRows[i];
                MINILEAGUEROW& b = group.pRows[j];
                if ((ranksAbove(a, b) && a.byPosition > b.byPosition) ||
                    (ranksAbove(b, a) && b.byPosition > a.byPosition)) {
                    std::swap(a.byPosition, b.byPosition);
                    bChanged = true;
                }
            }
    }
    return nPasses;
}

void CEuropeanCupDatabase::EnterQualifiedClubs(CUP* pCup)
{
    if (!pCup || m_lstGroups.IsEmpty())
        return;
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(GetDefinition(pCup->byKind), pCup->byRound);
    const int g = pRule && pRule->pClubsPerDivision ? pRule->pClubsPerDivision[0] : 0;
    if (g <= 0)
        return;
    const int nNext = pCup->byRound + 2 * (g - 1);
    const ITEMCUPROUNDINFORMATION* pNext = GetRound(pCup->byKind, nNext - 1);
    if (nNext > pCup->byRounds || !pNext)
        return;
    const int nGroups = m_lstGroups.GetCount();
    const int q = (pNext->byTies * 2) / nGroups;
    for (int i = 0; i < pCup->wTieSlots; ++i)
        pCup->GetTie(i)->Clear();
    int nPosition = 0;
    const bool bNextIsGroup = pNext->byLegs == CUP_LEGS_GROUP;
    for (MINILEAGUEGROUP* pGroup : m_lstGroups.Items<MINILEAGUEGROUP>())
        for (int r = 0; r < pGroup->byFilled; ++r) {
            const MINILEAGUEROW& row = pGroup->pRows[r];
            if (row.byPosition <= q) {
                if (nPosition / 2 < pCup->wTieSlots)
                    PutInPosition(pCup, nPosition++, static_cast<ID_CLUB>(row.dwClub));
            }
            else if (bNextIsGroup && row.byPosition == 3)
                AddPending(CUP_KIND_0, row.dwClub, 4, REASON_KNOCKED_OUT);
        }
    for (MINILEAGUEGROUP* pGroup : m_lstGroups.Items<MINILEAGUEGROUP>()) {
        for (int r = 0; r < pGroup->bySize; ++r) {
            MINILEAGUEROW& row = pGroup->pRows[r];
            row.byWon = row.byDrawn = row.byLost = row.byGoalsFor = row.byGoalsAgainst = 0;
            row.dwClub = 0;
            row.dwDayField = 0;
            row.byOpponents = static_cast<uint8_t>(pGroup->bySize - 1);
            std::fill(row.pHomeMatches, row.pHomeMatches + (pGroup->bySize - 1), 0u);
            row.lstFixtures.RemoveAll();
            row.byPosition = static_cast<uint8_t>(r + 1);
        }
        pGroup->byFilled = 0;
    }
    const int nKeep = bNextIsGroup ? pNext->byTies * 2 / g : 0;
    while (m_lstGroups.GetCount() > nKeep)
        delete static_cast<MINILEAGUEGROUP*>(m_lstGroups.RemoveTail());
    pCup->wClubsDrawn = static_cast<uint16_t>(pNext->byTies * 2);
    pCup->byRound = static_cast<uint8_t>(nNext);
    pCup->byLegs = pNext->byLegs;
}

// ---- money, winners, marks, the season ----

void CEuropeanCupDatabase::PayCupPrize(const ITEMCUPSTRUCTUREINFORMATION* pDefinition, const CUP* pCup,
                                       CClubDatabase* pClubA, CClubDatabase* pClubB, bool bDrawn)
{
    if (!pDefinition || !pCup)
        return;
    uint32_t dwFirst = 0, dwSecond = 0;
    if (!GetCupPrizeAmounts(*pDefinition, pCup->byRound, pCup->byLegs == CUP_LEGS_GROUP, bDrawn, dwFirst, dwSecond)) {
        DebugLog(1, "Unknown Cup Payment type");
        return;
    }
    if (pClubA && dwFirst)
        BookClubMoney(pClubA, static_cast<int32_t>(dwFirst), kPrizeCategory);
    if (pClubB && dwSecond)
        BookClubMoney(pClubB, static_cast<int32_t>(dwSecond), kPrizeCategory);
}

uint32_t CEuropeanCupDatabase::GetCupWinner(int nKind) const
{
    const CUP* pCup = GetCup(nKind);
    if (!pCup || pCup->byRound < pCup->byRounds || !m_pDatabaseHandler)
        return 0;
    const CUPTIE* pFinal = pCup->GetTie(0);
    if (!pFinal)
        return 0;
    // Only a played final has a winner.
    const uint32_t dwDeciding = pFinal->dwSecondMatch ? pFinal->dwSecondMatch : pFinal->dwFirstMatch;
    const CCupFixturesDatabase* pFixture = m_pDatabaseHandler->FindCupFixtureByMatchId(dwDeciding);
    if (!pFixture || !pFixture->IsPlayed())
        return 0;
    return pFinal->byWinner == 0 ? pFinal->wHomeClub : pFinal->wAwayClub;
}

void CEuropeanCupDatabase::MarkPlayerCupTied(CPlayerDatabase* pPlayer) const
{
    if (!pPlayer)
        return;
    for (int nKind : {CUP_KIND_1, CUP_KIND_0}) {
        if (!GetCup(nKind))
            continue;
        const uint32_t dwBit = GetCupTiedBit(nKind, 0);
        if (pPlayer->m_dwCupTiedMask & dwBit)
            pPlayer->m_dwRuleCupTiedMask |= dwBit;
    }
}

void CEuropeanCupDatabase::ClearPlayerCupMarks(CPlayerDatabase* pPlayer) const
{
    if (!pPlayer)
        return;
    for (int nKind : {CUP_KIND_1, CUP_KIND_0}) {
        const uint32_t dwBit = GetCupTiedBit(nKind, 0);
        pPlayer->m_dwCupTiedMask &= ~dwBit;
        pPlayer->m_dwRuleCupTiedMask &= ~dwBit;
    }
}

void CEuropeanCupDatabase::StartSeason()
{
    if (!m_pDatabaseHandler)
        return;
    for (CCountryDatabase* pCountry : m_pDatabaseHandler->GetCountries().Items<CCountryDatabase>())
        pCountry->ClearEuropeanRefereeAssignments();
    m_pDatabaseHandler->FreeCupFixtures();
    FreeGroups();
    for (int nKind : {CUP_KIND_SUPER, CUP_KIND_1, CUP_KIND_0}) {
        if (!GetCup(nKind))
            continue;
        ResetCup(nKind);
        DrawRound(nKind, 1);
        if (CCountryDatabase* pFirst = m_pDatabaseHandler->GetCountryFromID(1))
            pFirst->MakeEuropeanCupDraw(nKind);
    }
    for (int nKind : {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER}) {
        const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
        if (!GetCup(nKind) || !pDefinition)
            continue;
        for (int nRound = 1; nRound <= pDefinition->byRounds; ++nRound) {
            const ITEMCUPROUNDINFORMATION* pRound = GetDefinitionRound(pDefinition, nRound);
            CDate date;
            if (GetRoundDate(pRound, false, date))
                m_pDatabaseHandler->AddEventToAllCountries(EVENT_CUP_MATCH_DATE, date,
                                                           GetCupRoundEventKey(nRound, nKind, false, true));
            if (pRound->byLegs == CUP_LEGS_TWO && GetRoundDate(pRound, true, date))
                m_pDatabaseHandler->AddEventToAllCountries(EVENT_CUP_MATCH_DATE, date,
                                                           GetCupRoundEventKey(nRound, nKind, true, true));
        }
    }
}
