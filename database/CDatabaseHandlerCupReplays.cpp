// Replays of level cup ties: the replay fixture at the other club's ground a
// set number of days after the round, and, on the day it is played, its
// winner put in place of the stand-in already drawn for the next round.
#include "database/CDatabaseHandler.h"

#include <utility>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CRefereeDatabase.h"
#include "season/CupRecords.h"

namespace {

// Which side a level match's result byte sends through (one match).
bool AwaySideThrough(uint8_t byResult)
{
    return byResult >= 7 && byResult <= 11;
}

}  // namespace

bool CDatabaseHandler::IsReplayRound(const CUP* pCup) const
{
    if (!pCup || !pCup->pExtra || pCup->byRound == 0)
        return false;
    const ITEMCUPENTRYRULE* pNextRule = GetDefinitionEntryRule(GetCupDefinition(pCup), pCup->byRound + 1);
    return pNextRule && pNextRule->byReplay == 1;
}

CUPEXTRA* CDatabaseHandler::TakeCupReplayRecord(CUP* pCup, const CUPTIE& tie)
{
    if (!pCup || !pCup->pExtra || pCup->byExtraCount >= CUP_MARK_UNSET)
        return nullptr;
    const int nIndex = pCup->byExtraCount;
    auto* pRecord = static_cast<CUPEXTRA*>(pCup->pExtra->GetAt(nIndex));
    if (!pRecord) {
        pRecord = new CUPEXTRA;
        pCup->pExtra->SetAtGrow(nIndex, pRecord);
    }
    *pRecord = CUPEXTRA();
    pRecord->abyValues[CUPEXTRA_TIE] = CUPEXTRA_NO_TIE;
    pRecord->abyValues[CUPEXTRA_INDEX] = static_cast<uint8_t>(nIndex);
    // The replay's winner is paid the round he won, as a tie's winner is.
    pRecord->abyValues[CUPEXTRA_PAID] = 1;
    pRecord->wValue1 = tie.wHomeClub;
    pRecord->wValue2 = tie.wAwayClub;
    ++pCup->byExtraCount;
    return pRecord;
}

void CDatabaseHandler::MakeCupReplayFixture(CUPEXTRA* pRecord, CUP* pCup)
{
    if (!pRecord || !pCup)
        return;
    CCountryDatabase* pCountry = pCup->byCountry ? GetCountryFromID(pCup->byCountry) : nullptr;
    CDomesticCupsDatabase* pDomestic = pCountry ? pCountry->GetDomesticCups() : nullptr;
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition =
        pDomestic ? pDomestic->GetDefinition(pCup->byKind)
                  : (m_pEuropeanCups ? m_pEuropeanCups->GetDefinition(pCup->byKind) : nullptr);
    const ITEMCUPROUNDINFORMATION* pRound = GetDefinitionRound(pDefinition, pCup->byRound);
    const ITEMCUPENTRYRULE* pNextRule = GetDefinitionEntryRule(pDefinition, pCup->byRound + 1);
    if (!pRound)
        return;
    // The round's (last) match day, moved on by the rule's days.
    const bool bSecond = pRound->byLegs == CUP_LEGS_TWO;
    CDate date;
    if (pDomestic)
        pDomestic->GetRoundDate(pRound, bSecond, date, pCup->byKind);
    else if (m_pEuropeanCups)
        m_pEuropeanCups->GetRoundDate(pRound, bSecond, date);
    if (!date.IsValid())
        date = m_GameDate;
    date = CDate(date.GetValue(), pNextRule ? pNextRule->byReplayDays : 7);
    if (date <= m_GameDate)
        date = CDate(m_GameDate.GetValue(), 1);
    // Another cup's round can fall on the replay's day: the replay gives way.
    for (int nTries = 0; nTries < 14 && (FindCupFixtureOnDate(pRecord->wValue1, date) ||
                                         FindCupFixtureOnDate(pRecord->wValue2, date));
         ++nTries)
        ++date;

    // The replay is played at the other club's ground.
    std::swap(pRecord->wValue1, pRecord->wValue2);
    const ID_CLUB idHome = pRecord->wValue1;
    const ID_CLUB idAway = pRecord->wValue2;
    const bool bEuropean = pDomestic == nullptr;
    const uint8_t byVenue = pRound->pMatchRules ? pRound->pMatchRules->byVenue : 0;
    auto* pFixture = new CCupFixturesDatabase;
    const uint32_t dwID = TakeNextFixtureID();
    const uint8_t byTieKind = bEuropean ? 2 : 1;
    pFixture->Set(static_cast<uint8_t>(byTieKind + CCupFixturesDatabase::REPLAY_KIND_OFFSET), date, idHome, idAway,
                  dwID, 0, 0, MakeCupNumberFromKind(pCup->byKind, pCup->byCountry),
                  GenerateFixtureGround(byVenue, idHome, idAway));
    pFixture->SetCup(pCup);
    pRecord->dwValue = dwID;
    ClearClubDateForCup(idHome, date);
    ClearClubDateForCup(idAway, date);
    CRefereeDatabase* pReferee = ChooseCupReferee(date, idHome, idAway, bEuropean, pCountry);
    if (!pReferee) {
        // Everybody is busy: the first referee of the country steps in.
        const CCountryDatabase* pOwner = pCountry ? pCountry : GetCountryFromID(1);
        if (pOwner && !pOwner->GetReferees().IsEmpty())
            pReferee = static_cast<CRefereeDatabase*>(pOwner->GetReferees().GetHead()->pData);
    }
    if (pReferee) {
        pFixture->SetReferee(pReferee->GetID());
        pFixture->AttachToReferee(pReferee, bEuropean ? REFEREE_ASSIGNMENT_CUP : REFEREE_ASSIGNMENT_COUNTRY_CUP);
    }
    if (pCountry) {
        pCountry->AddCupFixture(pFixture);
        pCountry->SortCupFixtures();
    } else {
        AddCupFixture(pFixture);
        SortCupFixtures();
    }
    DebugLog(2, "[CDatabaseHandler::MakeCupReplayFixture] Replay %u on %02d/%02d/%d", dwID, date.GetDay(),
             date.GetMonth(), date.GetYear());
}

int CDatabaseHandler::SettleCupReplays(uint8_t byKind, const CDate& /*date*/, CCountryDatabase* pCountry)
{
    CDomesticCupsDatabase* pDomestic = pCountry ? pCountry->GetDomesticCups() : nullptr;
    CUP* pCup = pDomestic ? pDomestic->GetCup(byKind) : (m_pEuropeanCups ? m_pEuropeanCups->GetCup(byKind) : nullptr);
    if (!pCup || pCup->byExtraCount == 0)
        return 0;
    const auto findFixture = [&](uint32_t dwID) -> CCupFixturesDatabase* {
        if (dwID == 0)
            return nullptr;
        if (pCountry)
            if (CCupFixturesDatabase* p = pCountry->FindCupFixture(dwID))
                return p;
        return FindCupFixtureByMatchId(dwID);
    };
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition =
        pDomestic ? pDomestic->GetDefinition(byKind) : m_pEuropeanCups->GetDefinition(byKind);
    const ITEMCUPROUNDINFORMATION* pNewRound = GetDefinitionRound(pDefinition, pCup->byRound);
    int nSettled = 0;
    int nWaiting = 0;
    for (int i = 0; i < pCup->byExtraCount; ++i) {
        CUPEXTRA* pRecord = pCup->GetExtra(i);
        if (!pRecord || pRecord->dwValue == 0)
            continue;
        const CCupFixturesDatabase* pReplay = findFixture(pRecord->dwValue);
        if (pReplay && !pReplay->IsPlayed()) {
            ++nWaiting;
            continue;
        }
        // Goals first; a level replay is settled as its match rules settled
        // it on the day (extra time, then the shoot-out).
        bool bAway = true;
        if (pReplay)
            bAway = pReplay->GetHomeGoals() != pReplay->GetAwayGoals() ? pReplay->GetAwayGoals() > pReplay->GetHomeGoals()
                                                                       : AwaySideThrough(pReplay->GetLeg());
        const ID_CLUB idWinner = bAway ? pRecord->wValue2 : pRecord->wValue1;
        const ID_CLUB idLoser = bAway ? pRecord->wValue1 : pRecord->wValue2;
        const ID_CLUB idStandIn = pRecord->wValue1;  // the replay's home club held the place
        CClubDatabase* pWinner = GetClubFromID(idWinner);
        CClubDatabase* pLoser = GetClubFromID(idLoser);
        const CUP_NUMBER byCupNumber = MakeCupNumberFromKind(byKind, pCup->byCountry);
        const int nRoundPlayed = pCup->byRound - 1;
        if (pWinner) {
            if (pRecord->abyValues[CUPEXTRA_PAID])
                pWinner->AddCupRoundPayment(pCup);
            pWinner->OnCupTieWon(byCupNumber, nRoundPlayed);
        }
        if (pLoser)
            pLoser->OnCupTieLost(byCupNumber, nRoundPlayed, false);
        // The winner takes the stand-in's place in the tie and its fixtures.
        if (CUPTIE* pTie = pRecord->abyValues[CUPEXTRA_TIE] != CUPEXTRA_NO_TIE
                               ? pCup->GetTie(pRecord->abyValues[CUPEXTRA_TIE])
                               : nullptr) {
            if (pTie->wHomeClub == idStandIn) {
                pTie->wHomeClub = idWinner;
                pTie->byHomeMark = CUP_MARK_UNSET;
            } else if (pTie->wAwayClub == idStandIn) {
                pTie->wAwayClub = idWinner;
                pTie->byAwayMark = CUP_MARK_UNSET;
            }
            for (uint32_t dwMatch : {pTie->dwFirstMatch, pTie->dwSecondMatch}) {
                CCupFixturesDatabase* pNext = findFixture(dwMatch);
                if (!pNext || pNext->IsPlayed())
                    continue;
                pNext->ReplaceClub(idStandIn, idWinner);
                ClearClubDateForCup(idWinner, pNext->GetDate());
            }
            if (pWinner)
                pWinner->SetCupStatus(byCupNumber, pCup->byRound, pNewRound ? pNewRound->byStage : 0);
        } else {
            DebugLog(1, "[CDatabaseHandler::SettleCupReplays] The replay %u has no place in the next round",
                     pRecord->dwValue);
        }
        DebugLog(2, "[CDatabaseHandler::SettleCupReplays] %s wins the replay against %s",
                 pWinner ? pWinner->GetName() : "?", pLoser ? pLoser->GetName() : "?");
        *pRecord = CUPEXTRA();
        ++nSettled;
    }
    if (nWaiting == 0)
        pCup->byExtraCount = 0;
    return nSettled;
}
