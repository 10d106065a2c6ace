#include "matchday/CShownMatchRecorder.h"

#include <algorithm>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CFastMatchEngine.h"
#include "season/CSaveGame.h"
#include "season/CRefereeDatabase.h"
#include "season/CupRecords.h"
#include "season/MatchSideRecord.h"

namespace {

// The record's event kind of an incident line; -1 for a line the record
// does not keep (the kicks of a shoot-out).
int EventKindOfIncident(uint8_t byKind)
{
    switch (byKind) {
    case INCIDENT_BOOKING: return MATCHEVENT_BOOKED;
    case INCIDENT_SENDING_OFF: return MATCHEVENT_SENT_OFF;
    case INCIDENT_GOAL:
    case INCIDENT_DIRECT_GOAL: return MATCHEVENT_GOAL;
    case INCIDENT_OWN_GOAL: return MATCHEVENT_OWN_GOAL;
    case INCIDENT_INJURED: return MATCHEVENT_INJURED;
    case INCIDENT_SUBSTITUTION: return MATCHEVENT_SUBSTITUTED_ON;
    case INCIDENT_GOING_OFF: return MATCHEVENT_SUBSTITUTED_OFF;
    case INCIDENT_PENALTY_SCORED: return MATCHEVENT_PENALTY_SCORED;
    case INCIDENT_PENALTY_MISSED: return MATCHEVENT_PENALTY_MISSED;
    default: return -1;
    }
}

// The line belongs to the block of the player's own side: an own goal is
// shown in the other side's list.
bool IsHomePlayersLine(const ITEMINCIDENTINFORMATION& line)
{
    return (line.byHomeSide != 0) != (line.byKind == INCIDENT_OWN_GOAL);
}

void AddEvent(CXList& list, const ITEMINCIDENTINFORMATION& line, int nKind, uint8_t byCompetition)
{
    auto* pEvent = new MATCHEVENT;
    pEvent->idPlayer = line.pPlayer ? line.pPlayer->m_idPerson : 0;
    pEvent->byKind = static_cast<uint8_t>(nKind);
    pEvent->byMinute = line.byMinute;
    pEvent->byCompetition = byCompetition;
    list.AddTail(pEvent);
}

// The events of both sides in the order of the lines; a substitution's
// player going off comes before the one coming on, as the quick engine
// writes them.
void MakeEvents(const std::vector<ITEMINCIDENTINFORMATION>& incidents, uint8_t byCompetition, CXList& home,
                CXList& away)
{
    for (size_t i = 0; i < incidents.size(); ++i) {
        const ITEMINCIDENTINFORMATION& line = incidents[i];
        const int nKind = EventKindOfIncident(line.byKind);
        if (nKind < 0)
            continue;
        CXList& list = IsHomePlayersLine(line) ? home : away;
        if (line.byKind == INCIDENT_SUBSTITUTION && i + 1 < incidents.size() &&
            incidents[i + 1].byKind == INCIDENT_GOING_OFF) {
            AddEvent(list, incidents[i + 1], MATCHEVENT_SUBSTITUTED_OFF, byCompetition);
            AddEvent(list, line, nKind, byCompetition);
            ++i;
            continue;
        }
        AddEvent(list, line, nKind, byCompetition);
    }
}

void MakeSideRecord(const SHOWNMATCHSIDE& shown, bool bHome, const std::vector<ITEMINCIDENTINFORMATION>& incidents,
                    MATCHSIDERECORD& side)
{
    side = MATCHSIDERECORD{};
    side.pClub = shown.pClub;
    side.nGoals = shown.byGoals;
    side.nEntries = std::clamp(shown.nSquad, QUICKMATCH_STARTERS, QUICKMATCH_MAX_PLAYERS);
    for (int i = 0; i < side.nEntries && i < shown.nSquad; ++i) {
        const SHOWNMATCHPLAYER& player = shown.aPlayers[i];
        if (!player.pPlayer)
            continue;
        side.apPlayers[i] = player.pPlayer;
        side.aEntries[i].idPlayer = player.pPlayer->m_idPerson;
        side.aEntries[i].bySlotCode = player.bySlotCode;
        PLAYERQUICKMATCH& played = side.aPlayed[i];
        played.bStarted = i < QUICKMATCH_STARTERS;
        for (const ITEMINCIDENTINFORMATION& line : incidents) {
            if (line.pPlayer != player.pPlayer)
                continue;
            switch (line.byKind) {
            case INCIDENT_BOOKING: ++played.nBookings; break;
            case INCIDENT_SENDING_OFF: played.bSentOff = true; break;
            case INCIDENT_GOAL:
            case INCIDENT_DIRECT_GOAL:
            case INCIDENT_PENALTY_SCORED: ++played.nGoals; break;
            case INCIDENT_SUBSTITUTION: played.bCameOn = !played.bStarted; break;
            default: break;
            }
        }
        if (side.TookPart(i)) {
            played.nRating = player.byRating;
            side.aEntries[i].byRating = player.byRating;
        }
    }
    // The counts the incidents give; the 3-D match's own counters of shots,
    // corners, free kicks and offsides join them as the engine keeps them.
    side.anStatistics[QUICKSTAT_GOALS] = shown.byGoals;
    for (const ITEMINCIDENTINFORMATION& line : incidents) {
        if (IsHomePlayersLine(line) != bHome)
            continue;
        switch (line.byKind) {
        case INCIDENT_BOOKING: ++side.anStatistics[QUICKSTAT_BOOKINGS]; break;
        case INCIDENT_SENDING_OFF: ++side.anStatistics[QUICKSTAT_SENDINGS_OFF]; break;
        case INCIDENT_PENALTY_SCORED:
            ++side.anStatistics[QUICKSTAT_PENALTIES];
            ++side.anStatistics[QUICKSTAT_PENALTIES_SCORED];
            break;
        case INCIDENT_PENALTY_MISSED: ++side.anStatistics[QUICKSTAT_PENALTIES]; break;
        default: break;
        }
    }
}

uint8_t ClampByte(int n)
{
    return static_cast<uint8_t>(std::clamp(n, 0, 255));
}

}  // namespace

bool CShownMatchRecorder::Record(CDatabaseHandler& database, const MATCHDAYFIXTURE& fixture, const SHOWNMATCH& match,
                                 const std::vector<ITEMINCIDENTINFORMATION>& incidents, int nResult)
{
    const SHOWNMATCHSIDE& shownHome = match.aSides[0];
    const SHOWNMATCHSIDE& shownAway = match.aSides[1];
    if (!fixture.pFixture || !shownHome.pClub || !shownAway.pClub) {
        DebugLog(0, "[CShownMatchRecorder::Record] No fixture or no match to record");
        return false;
    }

    // The fixture, its clubs and its parameter block, as the day's own
    // matches make them.
    MATCHPARAMETERS block;
    CDivisionFixturesDatabase* pLeagueFixture = nullptr;
    CCupFixturesDatabase* pCupFixture = nullptr;
    ID_CLUB idHome = 0, idAway = 0;
    ID_GROUND idGround = 0;
    if (fixture.byKind == 0) {
        pLeagueFixture = static_cast<CDivisionFixturesDatabase*>(fixture.pFixture);
        idHome = pLeagueFixture->GetHomeClubID();
        idAway = pLeagueFixture->GetAwayClubID();
        idGround = pLeagueFixture->GetGroundID();
    } else {
        pCupFixture = static_cast<CCupFixturesDatabase*>(fixture.pFixture);
        idHome = pCupFixture->GetHomeClubID();
        idAway = pCupFixture->GetAwayClubID();
        idGround = pCupFixture->GetGroundID();
    }
    CClubDatabase* pHome = database.GetClubFromID(idHome);
    CClubDatabase* pAway = database.GetClubFromID(idAway);
    if (!pHome || !pAway || shownHome.pClub != pHome || shownAway.pClub != pAway) {
        DebugLog(0, "[CShownMatchRecorder::Record] The match of clubs %u and %u is not the fixture's: not recorded",
                 shownHome.pClub->m_wClubId, shownAway.pClub->m_wClubId);
        return false;
    }
    const bool bPlayed = pLeagueFixture ? pLeagueFixture->IsPlayed() : pCupFixture->IsPlayed();
    if (bPlayed) {
        DebugLog(0, "[CShownMatchRecorder::Record] Fixture of clubs %u and %u is played already: not recorded again",
                 idHome, idAway);
        return false;
    }
    const bool bCup = pCupFixture && !pCupFixture->IsFriendly();
    const CUP* pCup = bCup ? database.GetCupFromCupNumber(pCupFixture->GetCupNumber()) : nullptr;
    CDivisionDatabase* pDivision = pHome->m_pDivision;
    const bool bPlayOff = pLeagueFixture && pLeagueFixture->GetRound() == DIVISION_FIXTURE_PLAYOFF;
    if (pLeagueFixture && !pDivision) {
        DebugLog(0, "[CShownMatchRecorder::Record] Club %u plays a league fixture without a division", idHome);
        return false;
    }
    if (pLeagueFixture && bPlayOff)
        pDivision->MakePlayOffMatchBlock(pLeagueFixture, pHome, pAway, block);
    else if (pLeagueFixture) {
        pHome->m_byPreviousPosition = pHome->m_byLeaguePosition;
        pAway->m_byPreviousPosition = pAway->m_byLeaguePosition;
        pDivision->MakeLeagueMatchBlock(pLeagueFixture, pHome, pAway, block);
    } else {
        database.MakeCupMatchBlock(pCupFixture, pHome, pAway, database.GetCupRoundRules(pCup), block);
    }
    ITEMCUPMATCHRULES divisionRules = CUP_FRIENDLY_MATCH_RULES;
    if (!block.pRules) {
        if (pHome->m_pDivision)
            divisionRules = pHome->m_pDivision->m_MatchRules.AsMatchRules();
        block.pRules = &divisionRules;
    }

    // The score and its result code.
    const CFastMatchEngine::LEGRULES legs = CFastMatchEngine::ReadLegRules(block);
    const uint8_t byHomeGoals = shownHome.byGoals;
    const uint8_t byAwayGoals = shownAway.byGoals;
    uint8_t byResult = MATCHRESULT_HOME;
    if (nResult >= 0)
        byResult = static_cast<uint8_t>(nResult);
    else
        CFastMatchEngine::DecideResult(legs, byHomeGoals, byAwayGoals, byResult);
    block.byHomeGoals = byHomeGoals;
    block.byAwayGoals = byAwayGoals;
    block.byResult = byResult;

    MATCHHISTORYHEADER header;
    header.dwMatchID = block.dwMatchID;
    header.wRefereeID = block.wRefereeID;
    header.wHomeClub = pHome->m_wClubId;
    header.wAwayClub = pAway->m_wClubId;
    header.byMatchKind = block.byMatchKind;
    header.byHomeGoals = byHomeGoals;
    header.byAwayGoals = byAwayGoals;
    MATCHRESULTRECORD& result = header.Result;
    result.abyHomeClub[0] = pHome->m_byReputation;
    result.abyHomeClub[1] = pHome->m_bySupportLevel;
    result.byResult = byResult;
    result.abyShootOutGoals[0] = match.abyShootOutGoals[0];
    result.abyShootOutGoals[1] = match.abyShootOutGoals[1];
    result.byHomePossession = ClampByte(match.nPossessionPercent);
    result.byWinnerPercentage = ClampByte(match.nTerritoryPercent);
    int anCounts[INCIDENT_KIND_COUNT] = {};
    for (const ITEMINCIDENTINFORMATION& line : incidents)
        if (line.byKind < INCIDENT_KIND_COUNT)
            ++anCounts[line.byKind];
    // Bookings, sendings-off, fouls and penalties.
    result.abyRefereeStatistics[0] = ClampByte(anCounts[INCIDENT_BOOKING]);
    result.abyRefereeStatistics[1] = ClampByte(anCounts[INCIDENT_SENDING_OFF]);
    result.abyRefereeStatistics[2] = ClampByte(match.nFouls);
    result.abyRefereeStatistics[3] =
        ClampByte(anCounts[INCIDENT_PENALTY_SCORED] + anCounts[INCIDENT_PENALTY_MISSED]);
    if (CRefereeDatabase* pReferee = block.wRefereeID ? database.FindReferee(block.wRefereeID) : nullptr)
        pReferee->AddMatchStatistics(block.byMatchKind, result.abyRefereeStatistics);

    MATCHSIDERECORD home, away;
    MakeSideRecord(shownHome, true, incidents, home);
    MakeSideRecord(shownAway, false, incidents, away);
    RecordPlayersMatch(home, away, block.byMatchKind);
    result.idManOfTheMatch = RecordManOfTheMatch(home, away, block.byMatchKind);
    RecordManagerPoints(home, away, block.byMatchKind, pAway->m_pDivision);
    RecordManagerPoints(away, home, block.byMatchKind, pAway->m_pDivision);

    CXList homeEvents, awayEvents;
    MakeEvents(incidents, block.byMatchKind, homeEvents, awayEvents);
    std::vector<CPlayerDatabase*> tookPart;
    block.pHeader = &header;
    block.pHomeEvents = &homeEvents;
    block.pAwayEvents = &awayEvents;
    block.pTookPart = &tookPart;

    // League and domestic cup matches go to the home country's file,
    // European and friendly matches to "temp.mhs".
    const bool bCountryFile = pLeagueFixture || (pCup && pCup->byCountry != 0);
    CCountryDatabase* pCountry = pHome->GetCountry();
    CWorkingFileAppends* pAppends = nullptr;
    if (bCountryFile && pCountry)
        pAppends = &pCountry->GetMatchHistory();
    else if (!bCountryFile)
        pAppends = &database.GetCupMatchHistory();
    else
        DebugLog(0, "[CShownMatchRecorder::Record] Club %u has no country: the match record is not kept", idHome);
    if (pAppends) {
        pAppends->Touch();
        CBinaryWriter history(pAppends->GetBytes());
        database.RecordMatch(&block, idGround, &history, home, away);
    } else {
        database.RecordMatch(&block, idGround, nullptr, home, away);
    }

    if (pLeagueFixture && bPlayOff) {
        if (pDivision->RecordPlayOffResult(pLeagueFixture, pHome, pAway, block))
            pDivision->NextPlayOffRound();
    } else if (pLeagueFixture) {
        pDivision->RecordLeagueResult(pLeagueFixture, pHome, pAway, block);
    } else {
        database.RecordCupResult(pCupFixture, block);
    }
    // The humans' next match moves on.
    for (const CClubDatabase* pClub : {pHome, pAway})
        if (CSaveGame* pHuman = database.GetSaveGameForClub(pClub))
            pHuman->UpdateNextFixture();
    return true;
}
