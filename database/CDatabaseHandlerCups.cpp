// Cup rounds and ties: settling a round after its matches, moving the
// winners on, entering the next round's clubs, and the cups' set-up at a new
// game and a new season.
#include "database/CDatabaseHandler.h"

#include <algorithm>
#include <vector>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "platform/Random.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CRefereeDatabase.h"

namespace {

constexpr uint8_t kEntryAllDivisions = 6;
// News to a human's club entered in a European cup.
constexpr uint16_t kNewsEnteredEuropeanCup = 128;
constexpr uint16_t kNewsFriendlyCalledOff = 267;
// A tie's winning side when it goes to a replay.
constexpr uint8_t kReplayWinner = 2;

// Which side a level tie's deciding fixture sends through, by the result
// byte the quick result engine left in it.
uint8_t WinnerFromResult(uint8_t byResult, bool bSecondLeg)
{
    if (byResult >= 1 && byResult <= 5)
        return bSecondLeg ? 1 : 0;
    if (byResult >= 7 && byResult <= 11)
        return bSecondLeg ? 0 : 1;
    return 0;
}

CCountryDatabase* EuropeanDrawCountry(const CDatabaseHandler& handler)
{
    if (CCountryDatabase* pFirst = handler.GetCountryFromID(1))
        return pFirst;
    return handler.GetCountries().IsEmpty() ? nullptr
                                            : static_cast<CCountryDatabase*>(handler.GetCountries().GetHead()->pData);
}

}  // namespace

// ---- helpers of the draws ----

void CDatabaseHandler::ClearClubDateForCup(ID_CLUB idClub, const CDate& date)
{
    const CClubDatabase* pClub = GetClubFromID(idClub);
    CDivisionDatabase* pDivision = pClub ? pClub->m_pDivision : nullptr;
    if (!pDivision)
        return;
    CDivisionFixturesDatabase* pFixture = nullptr;
    if (pDivision->GetFixtureOpponent(idClub, date, 1, 2, &pFixture) >= 0 && pFixture)
        pDivision->ScheduleExtraFixture(pFixture, nullptr);
    CCupFixturesDatabase* pFriendly = FindCupFixtureOnDate(idClub, date);
    if (!pFriendly || !pFriendly->IsFriendly())
        return;
    const ID_CLUB idOther = pFriendly->GetHomeClubID() == idClub ? pFriendly->GetAwayClubID() : pFriendly->GetHomeClubID();
    for (ID_CLUB idTold : {idClub, idOther})
        if (const CClubDatabase* pTold = GetClubFromID(idTold))
            if (CNewsItem* pItem = pTold->AddNewsItem(kNewsFriendlyCalledOff))
                pItem->SetSlot(NEWS_SLOT_CLUB_B, idTold == idClub ? idOther : idClub);
    RemoveFriendlyFixture(pFriendly);
}

CRefereeDatabase* CDatabaseHandler::ChooseCupReferee(const CDate& date, ID_CLUB idHome, ID_CLUB idAway, bool bNeutral,
                                                     const CCountryDatabase* pOnly) const
{
    const CClubDatabase* pHome = GetClubFromID(idHome);
    const CClubDatabase* pAway = GetClubFromID(idAway);
    const CCountryDatabase* pHomeCountry = pHome ? pHome->m_pCountry : nullptr;
    const CCountryDatabase* pAwayCountry = pAway ? pAway->m_pCountry : nullptr;
    // Every tie of a draw asks: the lists keep their room from one to the next.
    thread_local std::vector<CRefereeDatabase*> free;
    thread_local std::vector<CRefereeDatabase*> neutral;
    free.clear();
    neutral.clear();
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        if (pOnly && pCountry != pOnly)
            continue;
        for (CRefereeDatabase* pReferee : pCountry->GetReferees().Items<CRefereeDatabase>()) {
            if (!pReferee->IsAvailable(date.GetValue()))
                continue;
            free.push_back(pReferee);
            if (pCountry != pHomeCountry && pCountry != pAwayCountry)
                neutral.push_back(pReferee);
        }
    }
    const std::vector<CRefereeDatabase*>& pool = bNeutral && !neutral.empty() ? neutral : free;
    if (bNeutral && neutral.empty() && !free.empty())
        DebugLog(0, "[CCountryDatabase::MakeCupDraw] Out of Neutral referees!");
    if (pool.empty())
        return nullptr;
    return pool[static_cast<size_t>(plat::rand()) % pool.size()];
}

void CDatabaseHandler::FreeCupFixtures()
{
    while (!m_lstCupFixtures.IsEmpty())
        delete static_cast<CCupFixturesDatabase*>(m_lstCupFixtures.RemoveHead());
    m_nCupFixtureCount = 0;
}

// ---- settling a round ----

bool CDatabaseHandler::CupRoundNeedsSettling(const CUP* pCup, CCountryDatabase* pCountry) const
{
    if (!pCup || pCup->byLegs == CUP_LEGS_GROUP || pCup->wClubsDrawn < 2)
        return false;
    const CUPTIE* pTie = pCup->GetTie(0);
    if (!pTie || pTie->dwFirstMatch == 0)
        return false;
    const CCupFixturesDatabase* pFirst =
        pCountry ? pCountry->FindCupFixture(pTie->dwFirstMatch) : FindCupFixtureByMatchId(pTie->dwFirstMatch);
    return pFirst && pFirst->IsPlayed();
}

int CDatabaseHandler::ProcessCupRound(uint8_t byKind, const CDate& /*date*/, CCountryDatabase* pCountry)
{
    SetPendingCupFixture(nullptr);
    CDomesticCupsDatabase* pDomestic = pCountry ? pCountry->GetDomesticCups() : nullptr;
    CUP* pCup = pDomestic ? pDomestic->GetCup(byKind) : (m_pEuropeanCups ? m_pEuropeanCups->GetCup(byKind) : nullptr);
    if (!pCup)
        return 1;
    const ITEMCUPROUNDINFORMATION* pRound = pDomestic ? pDomestic->GetRound(byKind, pCup->byRound - 1)
                                                      : m_pEuropeanCups->GetRound(byKind, pCup->byRound - 1);
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition =
        pDomestic ? pDomestic->GetDefinition(byKind) : m_pEuropeanCups->GetDefinition(byKind);
    if (!pRound || !pDefinition)
        return 1;
    // The next round's rule (rule index = the round just played).
    const ITEMCUPENTRYRULE* pNextRule = GetDefinitionEntryRule(pDefinition, pCup->byRound + 1);

    if (pRound->byLegs == CUP_LEGS_GROUP) {
        if (!m_pEuropeanCups)
            return 1;
        if (m_pEuropeanCups->UpdateGroupTables(pNextRule ? pNextRule->byDrawDays : 0)) {
            m_pEuropeanCups->EnterQualifiedClubs(pCup);
            if (CCountryDatabase* pDraw = EuropeanDrawCountry(*this))
                pDraw->MakeEuropeanCupDraw(byKind);
        }
        return 1;
    }

    auto findFixture = [&](uint32_t dwID) -> CCupFixturesDatabase* {
        if (dwID == 0)
            return nullptr;
        return pCountry ? pCountry->FindCupFixture(dwID) : FindCupFixtureByMatchId(dwID);
    };
    const CUPTIE* pTie0 = pCup->GetTie(0);
    if (!pTie0)
        return 1;
    bool bFirstLegsOnly = false;
    bool bSecondLegs = false;
    if (pRound->byLegs == CUP_LEGS_TWO) {
        const CCupFixturesDatabase* pFirst = FindCupFixtureByMatchId(pTie0->dwFirstMatch);
        if (!pFirst)
            return 1;
        const CCupFixturesDatabase* pSecond = pFirst->GetOtherLeg();
        if (pSecond && pSecond->GetAwayGoals() != CCupFixturesDatabase::GOALS_UNPLAYED)
            bSecondLegs = true;
        else
            bFirstLegsOnly = true;
    }

    const bool bLastRound = pCup->byRound >= pCup->byRounds;
    for (int t = 0; t < pCup->GetTiesInUse(); ++t) {
        CUPTIE* pTie = pCup->GetTie(t);
        if (!pTie)
            continue;
        // A lone club drawn without an opponent goes through.
        if (pTie->wAwayClub == 0 || pTie->wHomeClub == 0) {
            pTie->byWinner = pTie->wHomeClub ? 0 : 1;
            continue;
        }
        const CCupFixturesDatabase* pFirst = findFixture(pTie->dwFirstMatch);
        const CCupFixturesDatabase* pSecond = findFixture(pTie->dwSecondMatch);
        const CCupFixturesDatabase* pDeciding = bSecondLegs ? pSecond : pFirst;
        if (bFirstLegsOnly) {
            if (pFirst && pFirst->IsPlayed()) {
                pTie->byHomeMark = pFirst->GetHomeGoals();
                pTie->byAwayMark = pFirst->GetAwayGoals();
            }
            continue;
        }
        int nHome = 0, nAway = 0;
        if (bSecondLegs) {
            // Both legs are added up here, so a missed first-leg settlement
            // cannot leave an unset mark in the sum.
            if (pFirst && pFirst->IsPlayed()) {
                nHome = pFirst->GetHomeGoals();
                nAway = pFirst->GetAwayGoals();
            }
            else if (pTie->byHomeMark != CUP_MARK_UNSET && pTie->byAwayMark != CUP_MARK_UNSET) {
                nHome = pTie->byHomeMark;
                nAway = pTie->byAwayMark;
            }
            if (pSecond && pSecond->IsPlayed()) {
                nHome += pSecond->GetAwayGoals();
                nAway += pSecond->GetHomeGoals();
            }
        }
        else if (pFirst && pFirst->IsPlayed()) {
            nHome = pFirst->GetHomeGoals();
            nAway = pFirst->GetAwayGoals();
        }
        pTie->byHomeMark = static_cast<uint8_t>(std::min(nHome, 254));
        pTie->byAwayMark = static_cast<uint8_t>(std::min(nAway, 254));

        bool bDecided = true;
        if (nHome > nAway)
            pTie->byWinner = 0;
        else if (nAway > nHome)
            pTie->byWinner = 1;
        else if (IsReplayRound(pCup)) {
            // Level: the tie is played again; nobody is paid or told yet.
            pTie->byWinner = kReplayWinner;
            continue;
        }
        else if (pDeciding && pDeciding->IsPlayed())
            pTie->byWinner = WinnerFromResult(pDeciding->GetLeg(), bSecondLegs);
        else {
            // Without a deciding match nobody is paid or told; the home club
            // keeps the place so that the cup still goes on.
            pTie->byWinner = 0;
            bDecided = false;
        }
        if (!bDecided)
            continue;
        CClubDatabase* pWinner = GetClubFromID(pTie->byWinner == 0 ? pTie->wHomeClub : pTie->wAwayClub);
        CClubDatabase* pLoser = GetClubFromID(pTie->byWinner == 0 ? pTie->wAwayClub : pTie->wHomeClub);
        CEuropeanCupDatabase::PayCupPrize(pDefinition, pCup, pWinner, pLoser, false);
        if (bLastRound && byKind != CUP_KIND_SUPER && pWinner)
            pWinner->PayCupFinalBonuses(pCup->byCountry == 0 ? 1 : 0);
        if (bLastRound && byKind != CUP_KIND_SUPER)
            QualifyForEuropeanCups(pWinner, pLoser, byKind, pCountry);
        if (bLastRound && pWinner)
            DebugLog(2, "[CDatabaseHandler::ProcessCupRound] Cup %d of %s won by %s", byKind,
                     pCountry ? pCountry->GetName() : "Europe", pWinner->GetName());
        const CUP_NUMBER byCupNumber = MakeCupNumberFromKind(byKind, pCup->byCountry);
        if (pWinner && pDeciding)
            pWinner->OnCupTieWon(byCupNumber, pCup->byRound);
        if (pLoser)
            pLoser->OnCupTieLost(byCupNumber, pCup->byRound, bLastRound);
    }
    if (bFirstLegsOnly)
        return 1;
    if (!bLastRound)
        return 0;
    if (byKind == CUP_KIND_SUPER) {
        if (pDomestic)
            pDomestic->ResetCup(byKind);
        else
            m_pEuropeanCups->ResetCup(byKind);
    }
    return 1;
}

void CDatabaseHandler::AdvanceCupWinners(uint8_t byKind, CCountryDatabase* pCountry)
{
    CDomesticCupsDatabase* pDomestic = pCountry ? pCountry->GetDomesticCups() : nullptr;
    CUP* pCup = pDomestic ? pDomestic->GetCup(byKind) : (m_pEuropeanCups ? m_pEuropeanCups->GetCup(byKind) : nullptr);
    if (!pCup)
        return;
    // A lone club of an odd draw counts as a tie of its own.
    const int n = pCup->GetTiesInUse();
    pCup->wClubsDrawn = 0;
    const bool bQualifyingLosers = !pCountry && byKind == CUP_KIND_1 && pCup->byRound == 3 && m_pEuropeanCups;
    for (int t = 0; t < n; ++t) {
        const CUPTIE tie = *pCup->GetTie(t);
        const ID_CLUB idWinner = tie.byWinner == 0 ? tie.wHomeClub : tie.wAwayClub;
        const ID_CLUB idLoser = tie.byWinner == 0 ? tie.wAwayClub : tie.wHomeClub;
        if (bQualifyingLosers && idLoser != 0 && tie.byWinner != kReplayWinner)
            m_pEuropeanCups->AddPending(CUP_KIND_0, idLoser, 2, REASON_KNOCKED_OUT);
        // A tie going to a replay sends a stand-in: the replay's home club,
        // its draw position marked with the replay's record.
        ID_CLUB idPlaced = idWinner;
        uint8_t byMark = CUP_MARK_UNSET;
        if (tie.byWinner == kReplayWinner) {
            CUPEXTRA* pRecord = TakeCupReplayRecord(pCup, tie);
            if (pRecord) {
                MakeCupReplayFixture(pRecord, pCup);
                idPlaced = pRecord->wValue1;
                byMark = pRecord->abyValues[CUPEXTRA_INDEX];
            } else {
                idPlaced = tie.wHomeClub;
            }
        }
        if (idPlaced == 0)
            continue;
        const int k = pCup->wClubsDrawn;
        CUPTIE* pTarget = pCup->GetTie(k / 2);
        if (k % 2 == 0) {
            pTarget->wHomeClub = idPlaced;
            pTarget->byHomeMark = byMark;
            // The partner slot is filled by the next winner or a new entrant.
            pTarget->wAwayClub = 0;
            pTarget->byAwayMark = CUP_MARK_UNSET;
        }
        else {
            pTarget->wAwayClub = idPlaced;
            pTarget->byAwayMark = byMark;
        }
        pTarget->byWinner = 0;
        ++pCup->wClubsDrawn;
    }
    ++pCup->byRound;
    const ITEMCUPROUNDINFORMATION* pRound =
        pDomestic ? pDomestic->GetRound(byKind, pCup->byRound - 1) : m_pEuropeanCups->GetRound(byKind, pCup->byRound - 1);
    if (pRound)
        pCup->byLegs = pRound->byLegs;
}

void CDatabaseHandler::EnterCupRoundClubs(CUP* pCup)
{
    if (!pCup || pCup->byRound > pCup->byRounds)
        return;
    CCountryDatabase* pCountry = pCup->byCountry ? GetCountryFromID(pCup->byCountry) : nullptr;
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition =
        pCountry ? pCountry->GetDomesticCups()->GetDefinition(pCup->byKind)
                 : (m_pEuropeanCups ? m_pEuropeanCups->GetDefinition(pCup->byKind) : nullptr);
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(pDefinition, pCup->byRound);
    if (!pRule)
        return;
    pCup->byEntryCount = pRule->byEntryCount;
    if (pCup->byRound == 1) {
        if (pCountry) {
            pCountry->CupPlaceTeamsFromDivision(pCup, pRule->byEntryCode0, pRule->byEntryCode1);
            pCountry->GetDomesticCups()->DrawRound(pCup->byKind, pCup->byRound);
        }
        return;
    }
    const ITEMCUPENTRYRULE* pPrevious = GetDefinitionEntryRule(pDefinition, pCup->byRound - 1);
    if (!pPrevious || !pCountry)
        return;
    const int p = pPrevious->byEntryCode1;
    const int c = pRule->byEntryCode0;
    if (p == c)
        return;
    const int nFirst = c == kEntryAllDivisions ? 0 : c;
    if (pCup->byEntryCount > 0 && pRule->byEntryCode5 == 0) {
        pCountry->PlaceRandomPendingEntries(pCup, nFirst, p - 1, pCup->byEntryCount);
        pCup->byEntryCount = pRule->byEntryCount;
    }
    pCountry->CupPlaceTeamsFromDivision(pCup, nFirst, p - 1);
    pCountry->GetDomesticCups()->DrawRound(pCup->byKind, pCup->byRound);
}

void CDatabaseHandler::PrepareCupRoundDraw(CUP* pCup, CCountryDatabase* pCountry)
{
    if (!pCup || !pCountry)
        return;
    CDomesticCupsDatabase* pCups = pCountry->GetDomesticCups();
    const ITEMCUPENTRYRULE* pRules = pCups->GetCupStructure(pCup->byKind);
    if (!pRules || pCup->byRound < 1)
        return;
    const ITEMCUPENTRYRULE& rule = pRules[pCup->byRound - 1];
    const int nFirst = rule.byEntryCode0 == kEntryAllDivisions ? 0 : rule.byEntryCode0;
    // "All divisions" reaches the last one.
    const int nLast =
        rule.byEntryCode1 == kEntryAllDivisions ? pCountry->GetDivisions().GetCount() - 1 : rule.byEntryCode1;
    pCountry->CupPlaceTeamsFromDivision(pCup, nFirst, nLast);
    if (rule.byEntryCode5 == 0)
        pCountry->PlaceRandomPendingEntries(pCup, nFirst, nLast, pCup->byEntryCount);
    pCups->DrawRound(pCup->byKind, pCup->byRound);
}

void CDatabaseHandler::SettleAndDrawCupRound(uint8_t byKind, CCountryDatabase* pCountry)
{
    if (ProcessCupRound(byKind, m_GameDate, pCountry) != 0)
        return;
    AdvanceCupWinners(byKind, pCountry);
    if (pCountry) {
        CUP* pCup = pCountry->GetDomesticCups()->GetCup(byKind);
        if (!pCup)
            return;
        pCountry->GetDomesticCups()->DrawRound(byKind, pCup->byRound);
        EnterCupRoundClubs(pCup);
        pCountry->MakeCupDraw(byKind);
        pCup->NoteReplayPlaces();
        return;
    }
    CUP* pCup = m_pEuropeanCups ? m_pEuropeanCups->GetCup(byKind) : nullptr;
    if (!pCup)
        return;
    m_pEuropeanCups->DrawRound(byKind, pCup->byRound);
    EnterCupRoundClubs(pCup);
    if (CCountryDatabase* pDraw = EuropeanDrawCountry(*this))
        pDraw->MakeEuropeanCupDraw(byKind);
    pCup->NoteReplayPlaces();
}

void CDatabaseHandler::QualifyForEuropeanCups(CClubDatabase* pWinner, CClubDatabase* pLoser, uint8_t byKind,
                                              CCountryDatabase* pCountry)
{
    if (pCountry) {
        pCountry->CupWinnerEuropeanEntry(pWinner, pLoser, byKind);
        return;
    }
    if (!pWinner || !m_pEuropeanCups)
        return;
    const ID_CLUB idWinner = pWinner->GetID();
    const auto enter = [&](int nKind, int nRound) {
        m_pEuropeanCups->AddPending(nKind, idWinner, nRound, REASON_EUROPEAN_CUP);
        pWinner->AddNewsItem(kNewsEnteredEuropeanCup);
    };
    if (byKind != CUP_KIND_0) {
        // The first cup's winner defends it from its group stage; a place
        // it held in the second cup goes to its country's next club at the
        // season's entries.
        if (m_pEuropeanCups->IsClubPending(CUP_KIND_0, idWinner))
            m_pEuropeanCups->RemovePending(CUP_KIND_0, idWinner);
        if (!m_pEuropeanCups->IsClubPending(CUP_KIND_1, idWinner))
            enter(CUP_KIND_1, 4);
    } else if (!m_pEuropeanCups->IsClubPending(CUP_KIND_0, idWinner) &&
               !m_pEuropeanCups->IsClubPending(CUP_KIND_1, idWinner)) {
        enter(CUP_KIND_0, 2);
    }
    DebugLog(2, "Added %s, to EuroSuperCup", pWinner->GetName());
    m_pEuropeanCups->AddPending(CUP_KIND_SUPER, idWinner, 1, REASON_EUROPEAN_CUP);
}

CUP* CDatabaseHandler::GetCupByCompetitionIndex(int nIndex, const CCountryDatabase* pCountry) const
{
    static constexpr int kDomesticKinds[] = {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER, CUP_KIND_5};
    static constexpr int kEuropeanKinds[] = {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER};
    if (!pCountry || nIndex < 0)
        return nullptr;
    if (nIndex < 4)
        return pCountry->GetDomesticCups() ? pCountry->GetDomesticCups()->GetCup(kDomesticKinds[nIndex]) : nullptr;
    if (nIndex < 7)
        return m_pEuropeanCups ? m_pEuropeanCups->GetCup(kEuropeanKinds[nIndex - 4]) : nullptr;
    return nullptr;
}

int CDatabaseHandler::GetCurrentCupRound(const CDate& date, const CUP* pCup, bool bRoundBefore) const
{
    if (!pCup)
        return 0;
    CCountryDatabase* pCountry = pCup->byCountry ? GetCountryFromID(pCup->byCountry) : nullptr;
    CDomesticCupsDatabase* pDomestic = pCountry ? pCountry->GetDomesticCups() : nullptr;
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition =
        pDomestic ? pDomestic->GetDefinition(pCup->byKind)
                  : (m_pEuropeanCups ? m_pEuropeanCups->GetDefinition(pCup->byKind) : nullptr);
    for (int nRound = pCup->byRound; nRound <= pCup->byRounds; ++nRound) {
        const ITEMCUPROUNDINFORMATION* pRound = GetDefinitionRound(pDefinition, nRound);
        CDate first;
        const bool bDated = pRound && (pDomestic ? pDomestic->GetRoundDate(pRound, false, first, pCup->byKind)
                                                 : m_pEuropeanCups->GetRoundDate(pRound, false, first));
        if (bDated && first > date)
            return bRoundBefore && nRound > 1 ? nRound - 1 : nRound;
    }
    return pCup->byRound;
}

int CDatabaseHandler::GetCupRoundsPlayed(const ITEMCUPROUNDINFORMATION* pReference,
                                         const ITEMCUPSTRUCTUREINFORMATION* pDefinition, bool bIncludeToday) const
{
    if (!pReference || !pDefinition || !m_pEuropeanCups)
        return 0;
    const CDate& season = m_pEuropeanCups->GetSeasonDate();
    const CDate reference = GetEuropeanCupRoundDate(*pReference, false, season);
    int nCount = 0;
    int nBonus = 0;
    for (int i = 0; i < pDefinition->byRounds; ++i) {
        const ITEMCUPROUNDINFORMATION& round = pDefinition->pRounds[i];
        if (round.byLegs != CUP_LEGS_GROUP)
            continue;
        const CDate first = GetEuropeanCupRoundDate(round, false, season);
        // A new group stage: the last one's tables are complete once its
        // last day and the days after it are past.
        if (i > 0 && round.byTies != pDefinition->pRounds[i - 1].byTies) {
            const ITEMCUPROUNDINFORMATION& previous = pDefinition->pRounds[i - 1];
            const CDate last =
                GetEuropeanCupRoundDate(previous, previous.byLegs == CUP_LEGS_TWO, season);
            const int nDays = pDefinition->pEntryRules ? pDefinition->pEntryRules[i - 1].byDrawDays : 0;
            if (last.IsValid() && m_GameDate > CDate(last.GetValue(), nDays))
                nBonus = 1;
        }
        if (first > m_GameDate || (first == m_GameDate && !bIncludeToday)) {
            --nCount;
            break;
        }
        if (first >= reference)
            break;
        ++nCount;
    }
    return std::max(0, nCount + nBonus);
}

void CDatabaseHandler::ShiftDateWindow(CDate& start, CDate& end) const
{
    const int nLength = end.DaysBetween(start);
    start = m_GameDate;
    end = CDate(m_GameDate.GetValue(), nLength);
}

const ITEMCUPSTRUCTUREINFORMATION* CDatabaseHandler::GetCountryCupEntry(int nIndex, ID_COUNTRY idCountry) const
{
    const CCountryDatabase* pCountry = GetCountryFromID(idCountry);
    return pCountry ? GetCountryCupEntryByName(pCountry->GetName(), nIndex) : nullptr;
}

// ---- new game and new season ----

void CDatabaseHandler::InstallNewGameCups()
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        pCountry->EnterEuropeanClubsFromLeague();
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        pCountry->GetDomesticCups()->InstallCups();
        pCountry->DoDomesticByesFromEuropeanPending();
    }
    if (m_pEuropeanCups)
        m_pEuropeanCups->InstallCups();
}

void CDatabaseHandler::StartCupSeason(const std::vector<std::vector<ID_CLUB>>& finishedTables)
{
    size_t nCountry = 0;
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        const std::vector<ID_CLUB>* pTable = nCountry < finishedTables.size() ? &finishedTables[nCountry] : nullptr;
        pCountry->EnterEuropeanClubsFromLeague(pTable);
        ++nCountry;
    }
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        pCountry->StartCupSeason();
}
