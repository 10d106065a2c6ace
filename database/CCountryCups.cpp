// The country's cups in play: placing clubs into rounds from the divisions,
// the draws of domestic and European rounds, playing the country's cup
// fixtures, the cup round event, European places and the cups' new season.
#include "database/CCountryDatabase.h"

#include <algorithm>
#include <vector>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CEventsDatabase.h"
#include "platform/Random.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CRefereeDatabase.h"
#include "season/MatchRecords.h"

namespace {

constexpr uint8_t kDomesticFixtureKind = 1;
constexpr uint8_t kEuropeanFixtureKind = 2;
constexpr uint8_t kMatchKindCup = 2;
// Leg states of a cup fixture before play.
constexpr uint8_t kLegSecondUnplayed = 2;
constexpr uint8_t kLegSecondPlayed = 4;
constexpr uint8_t kLegSingle = 8;
constexpr uint32_t kDrawPreparation = 0x200;
constexpr uint32_t kDrawOnly = 0x400;
constexpr uint8_t kEntryAllDivisions = 6;

CUPTIE* TieOfPosition(CUP* pCup, int nPosition) { return pCup->GetTie(nPosition / 2); }

ID_CLUB& ClubOfPosition(CUPTIE* pTie, int nPosition)
{
    return nPosition % 2 == 0 ? pTie->wHomeClub : pTie->wAwayClub;
}

uint8_t& MarkOfPosition(CUPTIE* pTie, int nPosition)
{
    return nPosition % 2 == 0 ? pTie->byHomeMark : pTie->byAwayMark;
}

// Fisher-Yates over the draw positions, so that every pairing is possible.
void ShuffleDrawPositions(CUP* pCup, int nClubs)
{
    for (int k = nClubs - 1; k > 0; --k) {
        const int j = plat::rand() % k;
        CUPTIE* pA = TieOfPosition(pCup, j);
        CUPTIE* pB = TieOfPosition(pCup, k);
        std::swap(ClubOfPosition(pA, j), ClubOfPosition(pB, k));
        std::swap(MarkOfPosition(pA, j), MarkOfPosition(pB, k));
    }
}

void SetClubCupStatus(CClubDatabase* pClub, int nSlot, const ITEMCUPROUNDINFORMATION* pRound, int nRound)
{
    if (pClub)
        pClub->SetCupSlotStatus(nSlot, nRound, pRound ? pRound->byStage : 0);
}

// A fixture never lands on a day already passed, where nobody would play it.
CDate NotBefore(const CDate& date, const CDate& earliest)
{
    if (date.IsValid() && date >= earliest)
        return date;
    DebugLog(1, "[CCountryDatabase::MakeCupDraw] Round date %d/%d/%d has passed; the match moves to %d/%d/%d",
             date.GetDay(), date.GetMonth(), date.GetYear(), earliest.GetDay(), earliest.GetMonth(),
             earliest.GetYear());
    return earliest;
}

// Makes the fixtures of every tie in use of a knock-out round.
void MakeTieFixtures(CDatabaseHandler* pHandler, CUP* pCup, const ITEMCUPROUNDINFORMATION* pRound, CDate first,
                     CDate second, bool bEuropean, CCountryDatabase* pCountry, int nStatusSlot)
{
    const CDate tomorrow(pHandler->GetGameDate().GetValue(), 1);
    first = NotBefore(first, tomorrow);
    const bool bTwoLegs = pCup->byLegs == CUP_LEGS_TWO;
    if (bTwoLegs)
        second = NotBefore(second, CDate(first.GetValue(), 1));
    const uint8_t byVenue = pRound && pRound->pMatchRules ? pRound->pMatchRules->byVenue : 0;
    const CUP_NUMBER byCup = MakeCupNumberFromKind(pCup->byKind, bEuropean ? 0 : pCountry->GetID());
    const int nTies = pCup->GetTiesInUse();
    // A domestic round pays every tie in its last rounds, else one tie drawn.
    const bool bAllPaid = pCup->byRounds == 1 || pCup->byRound + 2 >= pCup->byRounds;
    const int nPaidTie = bEuropean || bAllPaid || nTies < 2 ? -1 : plat::rand() % (nTies - 1);
    for (int t = 0; t < nTies; ++t) {
        CUPTIE* pTie = pCup->GetTie(t);
        pTie->byWinner = 0;
        pTie->dwFirstMatch = pTie->dwSecondMatch = 0;
        CClubDatabase* pHomeClub = pHandler->GetClubFromID(pTie->wHomeClub);
        CClubDatabase* pAwayClub = pHandler->GetClubFromID(pTie->wAwayClub);
        SetClubCupStatus(pHomeClub, nStatusSlot, pRound, pCup->byRound);
        SetClubCupStatus(pAwayClub, nStatusSlot, pRound, pCup->byRound);
        if (!bEuropean && (bAllPaid || t == nPaidTie))
            for (CClubDatabase* pClub : {pHomeClub, pAwayClub})
                if (pClub)
                    pClub->AddCupRoundPayment(pCup);
        // A lone club has a bye: it goes through without a match.
        if (pTie->wHomeClub == 0 || pTie->wAwayClub == 0)
            continue;
        CCupFixturesDatabase* apLegs[2] = {};
        for (int nLeg = 0; nLeg < (bTwoLegs ? 2 : 1); ++nLeg) {
            const CDate date = nLeg == 0 ? first : second;
            const ID_CLUB idHome = nLeg == 0 ? pTie->wHomeClub : pTie->wAwayClub;
            const ID_CLUB idAway = nLeg == 0 ? pTie->wAwayClub : pTie->wHomeClub;
            pHandler->ClearClubDateForCup(idHome, date);
            pHandler->ClearClubDateForCup(idAway, date);
            CRefereeDatabase* pReferee =
                pHandler->ChooseCupReferee(date, idHome, idAway, bEuropean, bEuropean ? nullptr : pCountry);
            if (!pReferee) {
                DebugLog(0, "[CCountryDatabase::MakeCupDraw] Out of referees!");
                if (CCountryDatabase* pFirst = pHandler->GetCountryFromID(1))
                    if (!pFirst->GetReferees().IsEmpty())
                        pReferee = static_cast<CRefereeDatabase*>(pFirst->GetReferees().GetHead()->pData);
            }
            auto* pFixture = new CCupFixturesDatabase;
            const uint32_t dwID = pHandler->TakeNextFixtureID();
            pFixture->Set(bEuropean ? kEuropeanFixtureKind : kDomesticFixtureKind, date, idHome, idAway, dwID, 0,
                          nLeg == 1 ? apLegs[0]->GetFixtureID() : 0, byCup,
                          pHandler->GenerateFixtureGround(byVenue, idHome, idAway));
            pFixture->SetCup(pCup);
            if (pReferee) {
                pFixture->SetReferee(pReferee->GetID());
                pFixture->AttachToReferee(pReferee, bEuropean ? REFEREE_ASSIGNMENT_CUP : REFEREE_ASSIGNMENT_COUNTRY_CUP);
            }
            apLegs[nLeg] = pFixture;
            if (bEuropean)
                pHandler->AddCupFixture(pFixture);
            else
                pCountry->AddCupFixture(pFixture);
        }
        pTie->dwFirstMatch = apLegs[0]->GetFixtureID();
        if (apLegs[1]) {
            pTie->dwSecondMatch = apLegs[1]->GetFixtureID();
            // Each leg names the other, as the file keeps them.
            apLegs[0]->SetRoundValue(apLegs[1]->GetFixtureID());
            apLegs[1]->SetRoundValue(apLegs[0]->GetFixtureID());
            apLegs[0]->SetOtherLeg(apLegs[1]);
            apLegs[1]->SetOtherLeg(apLegs[0]);
        }
    }
}

}  // namespace

// ---- placing clubs ----

int CCountryDatabase::CupPlaceTeamsFromDivision(CUP* pCup, int nFirst, int nLast)
{
    if (!pCup || pCup->byCountry != m_byID)
        return 0;
    CDomesticCupsDatabase* pCups = m_pDomesticCups;
    const int nKind = pCup->byKind;
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(pCups->GetDefinition(nKind), pCup->byRound);
    if (!pRule)
        return 0;
    // The round holds the clubs its plan gives it (fewer than the cup's
    // definition in a country of fewer clubs).
    const int nNeeded = pCups->PlanRound(nKind).nClubs - pCup->wClubsDrawn - pCups->CountPending(nKind, pCup->byRound);
    int nPlaced = 0;
    const int nDivisions = m_lstDivisions.GetCount();
    if (nFirst == kEntryAllDivisions)
        nFirst = 0;
    if (nLast == kEntryAllDivisions)
        nLast = nDivisions - 1;
    for (int d = nFirst; d <= nLast && nPlaced < nNeeded; ++d) {
        // A division the country does not have brings in nobody: its places
        // are not taken by the clubs of another division.
        const int nIndex = d;
        if (nIndex < 0 || nIndex >= nDivisions) {
            DebugLog(2, "[CupPlaceTeamsFromDivision]::Not enough divisons to match the data");
            break;
        }
        LPXLISTNODE pNode = m_lstDivisions.GetHead();
        for (int i = 0; i < nIndex && pNode; ++i)
            pNode = pNode->pNext;
        const auto* pDivision = pNode ? static_cast<const CDivisionDatabase*>(pNode->pData) : nullptr;
        if (!pDivision)
            continue;
        int nQuota = pDivision->GetClubCount();
        if (pCup->byRound == 1 && pRule->pClubsPerDivision && d - nFirst < pRule->byClubsPerDivisionCount)
            nQuota = pRule->pClubsPerDivision[d - nFirst];
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
            if (nQuota <= 0 || nPlaced >= nNeeded)
                break;
            const ID_CLUB idClub = pClub->m_wClubId;
            if (pCups->IsClubInCup(nKind, idClub) || pCups->IsClubListed(nKind, idClub))
                continue;
            pCups->AddPending(nKind, idClub, pCup->byRound, REASON_LEAGUE);
            --nQuota;
            ++nPlaced;
        }
    }
    if (nPlaced < nNeeded) {
        DebugLog(2, "|||| Error - %s Got : %d Needed %d Drawn : %d", m_szName, nPlaced, nNeeded, pCup->wClubsDrawn);
        pCups->AddEmergencyClubs(nKind, nNeeded - nPlaced, pCup->byRound);
    }
    return nPlaced;
}

int CCountryDatabase::PlaceRandomPendingEntries(CUP* pCup, int nFirst, int nLast, int nCount)
{
    if (!pCup || pCup->byCountry != m_byID || nCount <= 0)
        return 0;
    const int nKind = pCup->byKind;
    std::vector<const CClubDatabase*> candidates;
    int nIndex = 0;
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        if (nIndex >= nFirst && nIndex <= nLast)
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                DebugLog(8, "Create %s %d", pClub->GetName(), pDivision->m_byDivisionNumber);
                candidates.push_back(pClub);
            }
        ++nIndex;
    }
    int nPlaced = 0;
    while (nPlaced < nCount && !candidates.empty()) {
        const size_t j = static_cast<size_t>(plat::rand()) % candidates.size();
        const CClubDatabase* pClub = candidates[j];
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(j));
        const int nDivision = pClub->m_pDivision ? pClub->m_pDivision->m_byDivisionNumber : 0;
        if (IsClubInEntries(*m_pDomesticCups->GetPendingList(nKind), pClub->m_wClubId)) {
            DebugLog(8, "Failed Pending - %s %d", pClub->GetName(), nDivision);
            continue;
        }
        if (m_pDomesticCups->IsClubInCup(nKind, pClub->m_wClubId) ||
            m_pDomesticCups->IsClubListed(nKind, pClub->m_wClubId)) {
            DebugLog(8, "Failed Drawn - %s %d", pClub->GetName(), nDivision);
            continue;
        }
        DebugLog(8, "Accept - %s %d", pClub->GetName(), nDivision);
        m_pDomesticCups->AddPending(nKind, pClub->m_wClubId, pCup->byRound + 1, REASON_LEAGUE);
        ++nPlaced;
    }
    return nPlaced;
}

// ---- draws ----

void CCountryDatabase::MakeCupDraw(int nKind)
{
    CUP* pCup = m_pDomesticCups->GetCup(nKind);
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = m_pDomesticCups->GetDefinition(nKind);
    if (!pCup || !pDefinition || !m_pDatabaseHandler)
        return;
    const int nPlaying = m_pDomesticCups->PlanRound(nKind).nPlaying;
    if (pCup->wClubsDrawn < nPlaying) {
        m_pDomesticCups->AddEmergencyClubs(nKind, nPlaying - pCup->wClubsDrawn, pCup->byRound);
        m_pDomesticCups->DrawRound(nKind, pCup->byRound);
    }
    const ITEMCUPROUNDINFORMATION* pRound = m_pDomesticCups->GetRound(nKind, pCup->byRound - 1);
    if (!pRound)
        return;
    CDate first, second;
    m_pDomesticCups->GetRoundDate(pRound, false, first, nKind);
    if (pRound->byLegs == CUP_LEGS_TWO)
        m_pDomesticCups->GetRoundDate(pRound, true, second, nKind);
    ShuffleDrawPositions(pCup, std::min<int>(pCup->wClubsDrawn, 2 * pRound->byTies));
    MakeTieFixtures(m_pDatabaseHandler, pCup, pRound, first, second, false, this,
                    CDomesticCupsDatabase::GetCupStatusSlot(nKind));
    SortCupFixtures();
}

void CCountryDatabase::MakeEuropeanCupDraw(int nKind)
{
    CEuropeanCupDatabase* pEuropean = m_pDatabaseHandler ? m_pDatabaseHandler->GetEuropeanCups() : nullptr;
    CUP* pCup = pEuropean ? pEuropean->GetCup(nKind) : nullptr;
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = pEuropean ? pEuropean->GetDefinition(nKind) : nullptr;
    if (!pCup || !pDefinition)
        return;
    // A short round is topped up from the first divisions.
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(pDefinition, pCup->byRound);
    if (pRule && pCup->wClubsDrawn < pRule->wClubs) {
        const int nShort = pRule->wClubs - pCup->wClubsDrawn - pEuropean->CountPending(nKind, pCup->byRound);
        if (nShort > 0)
            pEuropean->AddPendingClubs(nKind, nShort, pCup->byRound, nullptr);
        pEuropean->DrawRound(nKind, pCup->byRound);
    }
    const ITEMCUPROUNDINFORMATION* pRound = pEuropean->GetRound(nKind, pCup->byRound - 1);
    if (!pRound)
        return;
    if (pRound->byLegs == CUP_LEGS_GROUP) {
        pEuropean->DrawGroups(pCup, nullptr);
        return;
    }
    CDate first, second;
    pEuropean->GetRoundDate(pRound, false, first);
    if (pRound->byLegs == CUP_LEGS_TWO)
        pEuropean->GetRoundDate(pRound, true, second);
    ShuffleDrawPositions(pCup, std::min<int>(pCup->wClubsDrawn, 2 * pRound->byTies));
    MakeTieFixtures(m_pDatabaseHandler, pCup, pRound, first, second, true, this,
                    CEuropeanCupDatabase::GetCompetitionSlot(nKind));
    m_pDatabaseHandler->SortCupFixtures();
}

// ---- playing ----

int CCountryDatabase::PlayCupFixtures(const CDate& date, CBinaryWriter* pHistory)
{
    if (!m_pDatabaseHandler)
        return 0;
    int nPlayed = 0;
    uint32_t dwKinds = 0;
    for (CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>()) {
        if (pFixture->GetDate() != date || pFixture->IsPlayed())
            continue;
        CClubDatabase* pHome = m_pDatabaseHandler->GetClubFromID(pFixture->GetHomeClubID());
        CClubDatabase* pAway = m_pDatabaseHandler->GetClubFromID(pFixture->GetAwayClubID());
        const int nKind = GetCupNumberKind(pFixture->GetCupNumber());
        const CUP* pCup = m_pDomesticCups->GetCup(nKind);
        const ITEMCUPROUNDINFORMATION* pRound = pCup ? m_pDomesticCups->GetRound(nKind, pCup->byRound - 1) : nullptr;
        MATCHPARAMETERS block;
        block.pHomeClub = pHome;
        block.pAwayClub = pAway;
        block.pRules = pRound ? pRound->pMatchRules : nullptr;
        block.dwMatchID = pFixture->GetFixtureID();
        block.wRefereeID = pFixture->GetRefereeID();
        block.byMatchKind = kMatchKindCup;
        const CCupFixturesDatabase* pFirstLeg = pFixture->GetOtherLeg();
        if (pFirstLeg && pFirstLeg->GetDate() < pFixture->GetDate()) {
            block.byResult = pFirstLeg->IsPlayed() ? kLegSecondPlayed : kLegSecondUnplayed;
            if (pFirstLeg->IsPlayed()) {
                block.byHomeGoals = pFirstLeg->GetHomeGoals();
                block.byAwayGoals = pFirstLeg->GetAwayGoals();
            }
        }
        else
            block.byResult = kLegSingle;
        m_pDatabaseHandler->ProcessMatch(&block, pFixture->GetGroundID(), pHistory);
        if (pHome && pAway) {
            pFixture->SetLeg(block.byResult);
            pFixture->SetGoals(block.byHomeGoals, block.byAwayGoals);
            ++nPlayed;
            dwKinds |= 1u << (nKind & 31);
        }
    }
    // Replays played today put their winners into the next round.
    for (int nKind : {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER, CUP_KIND_5})
        if (dwKinds & (1u << nKind))
            m_pDatabaseHandler->SettleCupReplays(static_cast<uint8_t>(nKind), date, this);
    // Each round played is settled (and the next drawn) the next day.
    for (int nKind : {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER, CUP_KIND_5})
        if (dwKinds & (1u << nKind))
            AddEvent(EVENT_CUP_ROUND, CDate(date.GetValue(), 1), static_cast<uint32_t>(nKind));
    return nPlayed;
}

void CCountryDatabase::RunCupRoundEvent(uint32_t dwValue)
{
    if (!m_pDatabaseHandler)
        return;
    const uint32_t dwLow = dwValue & 0xFF;
    if (dwLow >= CDatabaseHandler::EUROPEAN_CUP_EVENT_BASE) {
        // One country runs the European rounds for the world.
        if (m_byID != 1)
            return;
        const auto byKind = static_cast<uint8_t>(dwLow - CDatabaseHandler::EUROPEAN_CUP_EVENT_BASE);
        CEuropeanCupDatabase* pEuropean = m_pDatabaseHandler->GetEuropeanCups();
        CUP* pCup = pEuropean ? pEuropean->GetCup(byKind) : nullptr;
        if (!pCup)
            return;
        if (dwValue & kDrawOnly) {
            pEuropean->DrawRound(byKind, pCup->byRound);
            MakeEuropeanCupDraw(byKind);
        }
        else if (m_pDatabaseHandler->CupRoundNeedsSettling(pCup, nullptr))
            m_pDatabaseHandler->SettleAndDrawCupRound(byKind, nullptr);
        return;
    }
    // Low bytes below 20 name the kind; a full cup number names it too.
    const int nKind = dwLow < 20 ? static_cast<int>(dwLow) : GetCupNumberKind(static_cast<CUP_NUMBER>(dwLow));
    CUP* pCup = m_pDomesticCups->GetCup(nKind);
    if (!pCup)
        return;
    if ((dwValue & kDrawPreparation) && nKind != CUP_KIND_SUPER)
        m_pDatabaseHandler->PrepareCupRoundDraw(pCup, this);
    if (dwValue & kDrawOnly) {
        m_pDomesticCups->DrawRound(nKind, pCup->byRound);
        MakeCupDraw(nKind);
    }
    else if (m_pDatabaseHandler->CupRoundNeedsSettling(pCup, this))
        m_pDatabaseHandler->SettleAndDrawCupRound(static_cast<uint8_t>(nKind), this);
}

// ---- European places and the season ----

std::vector<ID_CLUB> CCountryDatabase::GetFirstDivisionTable() const
{
    std::vector<ID_CLUB> table;
    if (m_lstDivisions.IsEmpty())
        return table;
    const auto* pFirst = static_cast<const CDivisionDatabase*>(m_lstDivisions.GetHead()->pData);
    for (const CClubDatabase* pClub : pFirst->m_lstClubsByTable.Items<CClubDatabase>())
        table.push_back(pClub->m_wClubId);
    return table;
}

void CCountryDatabase::EnterEuropeanClubsFromLeague(const std::vector<ID_CLUB>* pTable)
{
    CEuropeanCupDatabase* pEuropean = m_pDatabaseHandler ? m_pDatabaseHandler->GetEuropeanCups() : nullptr;
    if (!pEuropean || m_lstDivisions.IsEmpty())
        return;
    // At the turn of the season the new tables stand at nil, in no order of
    // merit: the places go by the table the old season ended with.
    const std::vector<ID_CLUB> table = pTable ? *pTable : GetFirstDivisionTable();
    size_t nNext = 0;
    int anGot[CUP_BYES] = {};
    auto enter = [&](int nKind, int nRound, int nCount, int nBye) {
        for (int i = 0; i < nCount; ++i) {
            bool bEntered = false;
            while (nNext < table.size() && !bEntered) {
                const ID_CLUB idClub = table[nNext++];
                if (pEuropean->IsClubPending(CUP_KIND_1, idClub))
                    continue;
                if (pEuropean->IsClubPending(CUP_KIND_0, idClub)) {
                    if (nKind == CUP_KIND_0)
                        continue;
                    pEuropean->RemovePending(CUP_KIND_0, idClub);
                }
                pEuropean->AddPending(nKind, idClub, nRound, REASON_LEAGUE);
                bEntered = true;
            }
            // The table ran out: the place is topped up at the draw.
            if (!bEntered)
                break;
            ++anGot[nBye];
        }
    };
    enter(CUP_KIND_1, 4, GetCupByes(COUNTRY_BYES_EUROPEANCUP4), COUNTRY_BYES_EUROPEANCUP4);
    enter(CUP_KIND_1, 3, GetCupByes(COUNTRY_BYES_EUROPEANCUP3), COUNTRY_BYES_EUROPEANCUP3);
    enter(CUP_KIND_1, 2, GetCupByes(COUNTRY_BYES_EUROPEANCUP2), COUNTRY_BYES_EUROPEANCUP2);
    enter(CUP_KIND_1, 1, GetCupByes(COUNTRY_BYES_EUROPEANCUP1), COUNTRY_BYES_EUROPEANCUP1);
    enter(CUP_KIND_0, 2, GetCupByes(COUNTRY_BYES_KAVOCUP2), COUNTRY_BYES_KAVOCUP2);
    enter(CUP_KIND_0, 1, GetCupByes(COUNTRY_BYES_KAVOCUP1), COUNTRY_BYES_KAVOCUP1);
    m_abCupWinnerPlaceUsed[0] = m_abCupWinnerPlaceUsed[1] = false;
    for (int i = 0; i < CUP_BYES; ++i)
        DebugLog(2, "~~~~~ %s   Need %d Got %d", g_apszCountryByesNames[i], GetCupByes(i), anGot[i]);
}

void CCountryDatabase::CupWinnerEuropeanEntry(CClubDatabase* pWinner, CClubDatabase* pOther, int nKind)
{
    CEuropeanCupDatabase* pEuropean = m_pDatabaseHandler ? m_pDatabaseHandler->GetEuropeanCups() : nullptr;
    if (!pWinner || !pEuropean || nKind == CUP_KIND_SUPER || nKind == CUP_KIND_5)
        return;
    DebugLog(2, "%s - Cup Winner is %s", m_szName, pWinner->GetName());
    const bool bHasKind0 = m_pDomesticCups->GetDefinition(CUP_KIND_0) != nullptr;
    const bool bHasKind1 = m_pDomesticCups->GetDefinition(CUP_KIND_1) != nullptr;
    if (m_pDomesticCups->GetDefinition(CUP_KIND_SUPER) && (bHasKind0 != bHasKind1 || nKind == CUP_KIND_1))
        m_pDomesticCups->AddPending(CUP_KIND_SUPER, pWinner->m_wClubId, 1, REASON_PREV_WINNER);
    auto entrant = [&]() -> CClubDatabase* {
        if (!pEuropean->IsClubPending(CUP_KIND_0, pWinner->m_wClubId) &&
            !pEuropean->IsClubPending(CUP_KIND_1, pWinner->m_wClubId))
            return pWinner;
        if (pOther && !pEuropean->IsClubPending(CUP_KIND_0, pOther->m_wClubId) &&
            !pEuropean->IsClubPending(CUP_KIND_1, pOther->m_wClubId))
            return pOther;
        return nullptr;
    };
    const bool bMainFinal = nKind == CUP_KIND_1 || (nKind == CUP_KIND_0 && !bHasKind1);
    if (GetCupByes(COUNTRY_BYES_KAVOCUP2C) == 1 && !m_abCupWinnerPlaceUsed[1] && bMainFinal) {
        if (CClubDatabase* pClub = entrant())
            pEuropean->AddPending(CUP_KIND_0, pClub->m_wClubId, 2, REASON_DOMESTIC_CUP);
        m_abCupWinnerPlaceUsed[1] = true;
    }
    else if (GetCupByes(COUNTRY_BYES_KAVOCUP1C) > 0 && !m_abCupWinnerPlaceUsed[0]) {
        if (CClubDatabase* pClub = entrant())
            pEuropean->AddPending(CUP_KIND_0, pClub->m_wClubId, 1, REASON_DOMESTIC_CUP);
        m_abCupWinnerPlaceUsed[0] = true;
    }
}

void CCountryDatabase::StartCupSeason()
{
    // Last season's fixtures are over: nothing refers to them once the cups
    // start again.
    // A fixture's referee may be of another country (the fallback referee).
    for (const CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        if (CRefereeDatabase* pReferee = m_pDatabaseHandler ? m_pDatabaseHandler->FindReferee(pFixture->GetRefereeID())
                                                            : GetRefereeFromID(pFixture->GetRefereeID()))
            pReferee->RemoveAssignment(pFixture);
    while (!m_lstCupFixtures.IsEmpty())
        delete static_cast<CCupFixturesDatabase*>(m_lstCupFixtures.RemoveHead());
    m_pDomesticCups->ClearListed();
    m_pDomesticCups->InstallCups();
    DoDomesticByesFromEuropeanPending();
}
