// Playing a fixture: the match day, the root's cup and friendly fixtures, one
// match through the quick result engine with its record in the match history
// file, and the readers of those files.
#include "database/CDatabaseHandler.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/MatchHistory.h"
#include "platform/Files.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CFastMatchEngine.h"
#include "season/MatchSideRecord.h"
#include "season/CComponentDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "season/CRefereeDatabase.h"
#include "season/CupRecords.h"
#include "season/CupStructureTable.h"

namespace {

const char kCupHistoryFile[] = "temp.mhs";
// A friendly: 5 substitutions from 7 named, at the home ground.
// Leg states of a cup or friendly fixture before play.
constexpr uint8_t kLegFriendly = 0;
constexpr uint8_t kLegSecondUnplayed = 2;
constexpr uint8_t kLegSecondPlayed = 4;
constexpr uint8_t kLegSingle = 8;
// Event kind that settles and draws a cup round.
constexpr uint8_t kEventCupRound = 41;
constexpr uint8_t kCompetitionLeague = 255;
constexpr uint8_t kCompetitionFriendly = 200;
constexpr uint8_t kNoGoals = 255;
// Venues of the match rules.
constexpr uint8_t kVenueHomeGround = 0;
constexpr uint8_t kVenueLast = 3;

bool WriteEvents(CBinaryWriter& writer, CXList& events, int nCount)
{
    int nWritten = 0;
    while (!events.IsEmpty()) {
        auto* pEvent = static_cast<MATCHEVENT*>(events.RemoveHead());
        if (nWritten++ < nCount)
            pEvent->Write(writer);
        delete pEvent;
    }
    return !writer.Failed();
}

}  // namespace

// ---- the match day ----

int CDatabaseHandler::DoMatchDay(const CDate& date)
{
    int nPlayed = PlayCupAndFriendlyFixtures(date);
    // Every country of the world is played: the starting database marks none
    // as inactive.
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        nPlayed += pCountry->ProcessMatchDay(date);
    PostClubPlayerAwards();
    return nPlayed;
}

void CDatabaseHandler::PostClubPlayerAwards()
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                pClub->PostFeeRecordAward();
}

int CDatabaseHandler::PlayCupAndFriendlyFixtures(const CDate& date)
{
    CBinaryWriter history(m_CupMatchHistory.GetBytes());
    uint32_t dwCupTypesPlayed = 0;
    CUP_NUMBER byLastCup = CUP_NUMBER_NONE;
    const ITEMCUPMATCHRULES* pRoundRules = nullptr;
    int nPlayed = 0;
    bool bHeldBack = false;
    for (CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>()) {
        if (pFixture->GetDate() > date) {
            if (m_pEuropeanCups)
                m_pEuropeanCups->LowerEarliestCupDate(pFixture->GetDate());
            break;
        }
        const bool bCup = !pFixture->IsFriendly();
        if (pFixture->GetDate() == date && !pFixture->IsPlayed()) {
            CClubDatabase* pHome = GetClubFromID(pFixture->GetHomeClubID());
            CClubDatabase* pAway = GetClubFromID(pFixture->GetAwayClubID());
            // A human's match waits for the match screen.
            if (IsFixtureHeldForMatchScreen(pHome, pAway)) {
                bHeldBack = true;
                if (bCup)
                    dwCupTypesPlayed |= 1u << (GetCupTypeFromCupNumber(pFixture->GetCupNumber()) & 31);
                continue;
            }
            if (bCup && pFixture->GetCupNumber() != byLastCup) {
                pRoundRules = GetCupRoundRules(GetCupFromCupNumber(pFixture->GetCupNumber()));
                byLastCup = pFixture->GetCupNumber();
            }
            MATCHPARAMETERS block;
            MakeCupMatchBlock(pFixture, pHome, pAway, pRoundRules, block);
            std::vector<CPlayerDatabase*> tookPart;
            block.pTookPart = &tookPart;
            m_CupMatchHistory.Touch();
            ProcessMatch(&block, pFixture->GetGroundID(), &history);
            if (pHome && pAway) {
                RecordCupResult(pFixture, block);
                ++nPlayed;
            }
        }
        if (bCup && pFixture->GetDate() == date)
            dwCupTypesPlayed |= 1u << (GetCupTypeFromCupNumber(pFixture->GetCupNumber()) & 31);
    }

    // Group match days of the first European cup are settled at once; the
    // other European rounds played today are settled and drawn the next day,
    // so that the next round's draw always comes before its first match.
    for (int nType : {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER}) {
        if (!(dwCupTypesPlayed & (1u << nType)) || !m_pEuropeanCups)
            continue;
        const CUP* pCup = m_pEuropeanCups->GetCup(nType);
        if (!pCup || pCup->byRound < 1)
            continue;
        if (nType == CUP_KIND_1 && pCup->byLegs == CUP_LEGS_GROUP) {
            // A group match day waits while a human's match of it is unplayed.
            if (!bHeldBack)
                ProcessCupRound(static_cast<uint8_t>(nType), date, nullptr);
        }
        else
            AddEventToAllCountries(kEventCupRound, CDate(date.GetValue(), 1),
                                   EUROPEAN_CUP_EVENT_BASE + static_cast<uint32_t>(nType));
    }
    return nPlayed;
}

void CDatabaseHandler::MakeCupMatchBlock(const CCupFixturesDatabase* pFixture, CClubDatabase* pHome,
                                         CClubDatabase* pAway, const ITEMCUPMATCHRULES* pRoundRules,
                                         MATCHPARAMETERS& block) const
{
    const bool bCup = !pFixture->IsFriendly();
    block.pHomeClub = pHome;
    block.pAwayClub = pAway;
    block.pRules = bCup && pRoundRules ? pRoundRules : &CUP_FRIENDLY_MATCH_RULES;
    block.dwMatchID = pFixture->GetFixtureID();
    block.wRefereeID = pFixture->GetRefereeID();
    block.byMatchKind = bCup ? MATCHKIND_CUP : MATCHKIND_FRIENDLY;
    const CCupFixturesDatabase* pFirstLeg = pFixture->GetOtherLeg();
    if (bCup && pFixture->GetClubPair() != 0 && !pFirstLeg)
        pFirstLeg = FindCupFixtureByMatchId(pFixture->GetClubPair());
    if (pFirstLeg && pFirstLeg != pFixture && pFirstLeg->GetDate() < pFixture->GetDate()) {
        block.byResult = pFirstLeg->IsPlayed() ? kLegSecondPlayed : kLegSecondUnplayed;
        if (pFirstLeg->IsPlayed()) {
            block.byHomeGoals = pFirstLeg->GetHomeGoals();
            block.byAwayGoals = pFirstLeg->GetAwayGoals();
        }
    }
    else
        block.byResult = bCup ? kLegSingle : kLegFriendly;
}

void CDatabaseHandler::RecordCupResult(CCupFixturesDatabase* pFixture, const MATCHPARAMETERS& block) const
{
    pFixture->SetLeg(block.byResult);
    pFixture->SetGoals(block.byHomeGoals, block.byAwayGoals);
    if (!pFixture->IsFriendly() && block.pTookPart && GetCupTypeFromCupNumber(pFixture->GetCupNumber()) != 3)
        MarkCupTiedPlayers(pFixture->GetCupNumber(), *block.pTookPart);
}

// ---- cup ties ----

const ITEMCUPSTRUCTUREINFORMATION* CDatabaseHandler::GetCupDefinition(const CUP* pCup) const
{
    if (!pCup)
        return nullptr;
    if (pCup->byCountry == 0)
        return m_pEuropeanCups ? m_pEuropeanCups->GetDefinition(pCup->byKind) : nullptr;
    const CCountryDatabase* pCountry = GetCountryFromID(pCup->byCountry);
    return pCountry && pCountry->GetDomesticCups() ? pCountry->GetDomesticCups()->GetDefinition(pCup->byKind) : nullptr;
}

bool CDatabaseHandler::AppliesCupTiedRule(const CUP* pCup) const
{
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetCupDefinition(pCup);
    return pDefinition && pDefinition->byFlag != 0;
}

void CDatabaseHandler::MarkCupTiedPlayers(CUP_NUMBER byCup, const std::vector<CPlayerDatabase*>& tookPart) const
{
    const CUP* pCup = GetCupFromCupNumber(byCup);
    if (!AppliesCupTiedRule(pCup))
        return;
    const uint32_t dwBit = GetCupTiedBit(pCup->byKind, pCup->byCountry);
    for (CPlayerDatabase* pPlayer : tookPart)
        pPlayer->m_dwCupTiedMask |= dwBit;
}

const ITEMCUPMATCHRULES* CDatabaseHandler::GetCupRoundRules(const CUP* pCup) const
{
    if (!pCup || pCup->byRound == 0)
        return nullptr;
    const ITEMCUPROUNDINFORMATION* pRound = nullptr;
    if (pCup->byCountry == 0)
        pRound = m_pEuropeanCups ? m_pEuropeanCups->GetRound(pCup->byKind, pCup->byRound - 1) : nullptr;
    else if (const CCountryDatabase* pCountry = GetCountryFromID(pCup->byCountry))
        pRound = pCountry->GetDomesticCups() ? pCountry->GetDomesticCups()->GetRound(pCup->byKind, pCup->byRound - 1)
                                             : nullptr;
    return pRound ? pRound->pMatchRules : nullptr;
}

bool CDatabaseHandler::GetNextMatchRules(const CClubDatabase* pClub, ITEMCUPMATCHRULES& rules,
                                         int* pnMatchKind) const
{
    rules = CUP_FRIENDLY_MATCH_RULES;
    int nKind = MATCHKIND_LEAGUE;
    uint8_t byCompetition = kCompetitionLeague;
    const bool bFixture = GetNextFixture(pClub, nullptr, &byCompetition, nullptr) >= 0;
    if (bFixture && byCompetition == kCompetitionLeague) {
        if (pClub->m_pDivision)
            rules = pClub->m_pDivision->m_MatchRules.AsMatchRules();
    } else if (bFixture && byCompetition == kCompetitionFriendly) {
        nKind = MATCHKIND_FRIENDLY;
    } else if (bFixture) {
        nKind = MATCHKIND_CUP;
        // The club's first fixture from today is the cup match.
        if (const CCupFixturesDatabase* p = FindNextCupFixture(pClub, true)) {
            const CUP* pCup = GetCupFromCupNumber(p->GetCupNumber());
            if (const ITEMCUPMATCHRULES* pRules = GetCupRoundRules(pCup))
                rules = *pRules;
            // A level tie goes to a replay when the round has them; a
            // replay itself is settled on the day.
            if (!p->IsReplay() && IsReplayRound(pCup))
                rules.byRules |= CUP_RULE_REPLAY;
        }
    }
    if (pnMatchKind)
        *pnMatchKind = nKind;
    return bFixture;
}

const CUP* CDatabaseHandler::GetNextCupForClub(const CClubDatabase* pClub) const
{
    const CCupFixturesDatabase* pNext = FindNextCupFixture(pClub, false);
    return pNext ? GetCupFromCupNumber(pNext->GetCupNumber()) : nullptr;
}

const CCupFixturesDatabase* CDatabaseHandler::FindNextCupFixture(const CClubDatabase* pClub,
                                                                 bool bWithFriendlies) const
{
    if (!pClub)
        return nullptr;
    // The list runs in the order ties were drawn, not by date: a later
    // round of one cup may stand before today's tie of another.
    const CCupFixturesDatabase* pNext = nullptr;
    for (const CCupFixturesDatabase* p : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        if (p->GetDate() >= m_GameDate && (bWithFriendlies || !p->IsFriendly()) &&
            p->IsClubInvolved(pClub->m_wClubId) && (!pNext || p->GetDate() < pNext->GetDate()))
            pNext = p;
    return pNext;
}

// ---- one match ----

void CDatabaseHandler::ProcessMatch(MATCHPARAMETERS* pBlock, ID_GROUND idGround, CBinaryWriter* pHistory)
{
    if (!pBlock || !pBlock->pHomeClub || !pBlock->pAwayClub) {
        DebugLog(0, "[CDatabaseHandler::ProcessMatch] : Could not find the clubs from the parameters supplied.  "
                    "Match not processed.");
        return;
    }
    CClubDatabase* pHome = pBlock->pHomeClub;
    CClubDatabase* pAway = pBlock->pAwayClub;
    MATCHHISTORYHEADER header;
    header.dwMatchID = pBlock->dwMatchID;
    header.wRefereeID = pBlock->wRefereeID;
    header.wHomeClub = pHome->m_wClubId;
    header.wAwayClub = pAway->m_wClubId;
    header.byMatchKind = pBlock->byMatchKind;
    CRefereeDatabase* pReferee = pBlock->wRefereeID ? FindReferee(pBlock->wRefereeID) : nullptr;
    CXList homeEvents, awayEvents;
    pBlock->pHeader = &header;
    pBlock->pHomeEvents = &homeEvents;
    pBlock->pAwayEvents = &awayEvents;

    ITEMCUPMATCHRULES divisionRules = CUP_FRIENDLY_MATCH_RULES;
    if (!pBlock->pRules) {
        if (pHome->m_pDivision)
            divisionRules = pHome->m_pDivision->m_MatchRules.AsMatchRules();
        pBlock->pRules = &divisionRules;
    }

    CFastMatchEngine engine;
    engine.ProcessMatch(pReferee, pBlock);
    pBlock->byHomeGoals = header.byHomeGoals;
    pBlock->byAwayGoals = header.byAwayGoals;
    if (engine.GetHomeSide() && engine.GetAwaySide())
        RecordMatch(pBlock, idGround, pHistory, engine.GetSideRecord(0), engine.GetSideRecord(1));
    engine.ReleaseSides();
    FreeMatchEvents(homeEvents);
    FreeMatchEvents(awayEvents);
    pBlock->pHeader = nullptr;
    pBlock->pHomeEvents = pBlock->pAwayEvents = nullptr;
    if (pBlock->pRules == &divisionRules)
        pBlock->pRules = nullptr;
}

void CDatabaseHandler::RecordMatch(MATCHPARAMETERS* pBlock, ID_GROUND idGround, CBinaryWriter* pHistory,
                                   const MATCHSIDERECORD& home, const MATCHSIDERECORD& away)
{
    CClubDatabase* pHome = pBlock->pHomeClub;
    CClubDatabase* pAway = pBlock->pAwayClub;
    MATCHHISTORYHEADER& header = *pBlock->pHeader;
    CXList& homeEvents = *pBlock->pHomeEvents;
    CXList& awayEvents = *pBlock->pAwayEvents;

    // The gate: the home club's own ground counts its crowd and takes the
    // money through the club's finance; a neutral ground counts its own.
    uint32_t dwAttendance = 0;
    uint8_t byPercentage = 0;
    const uint8_t byVenue = pBlock->pRules->byVenue;
    // A human home club's gate is worked out stand by stand; the record
    // keeps what each stand took.
    const bool bHumanHome = byVenue == kVenueHomeGround && GetSaveGameForClub(pHome) != nullptr;
    STANDATTENDANCE aStands[STAND_SIDES * STAND_SECTIONS] = {};
    int32_t nReceipts = 0;
    if (byVenue == kVenueHomeGround) {
        int nAttendance = 0;
        const int nPercentage = pHome->GetMatchAttendanceAsPercentage(pAway, pBlock->byMatchKind, &nReceipts,
                                                                      &nAttendance, bHumanHome ? aStands : nullptr);
        dwAttendance = static_cast<uint32_t>(std::max(nAttendance, 0));
        byPercentage = static_cast<uint8_t>(std::clamp(nPercentage, 0, 255));
    }
    else if (byVenue <= kVenueLast) {
        if (!GetGroundFromID(idGround))
            DebugLog(1, "[CDatabaseHandler::ProcessMatch] Unable to find Ground [%d] Match Type %d", idGround,
                     pBlock->byMatchKind);
        else if (CGroundDatabase* pGround = GetGroundFromID(idGround)) {
            // A neutral ground counts its own crowd; the clubs share the gate.
            const int nAttendance = pGround->CalculateAttendance(pHome->GetAttendanceFactor(pAway, pBlock->byMatchKind));
            pHome->BookNeutralGate(pAway, pBlock->byMatchKind, nAttendance);
            dwAttendance = static_cast<uint32_t>(std::max(nAttendance, 0));
            byPercentage = static_cast<uint8_t>(std::clamp(pGround->GetAttendancePercentage(nAttendance), 0, 255));
        }
    }
    else
        DebugLog(1, "[CDatabaseHandler::ProcessMatch] Unknown rules venue");
    pBlock->dwAttendance = dwAttendance;

    // Both line-ups take the home side's entry count, so the header's
    // substitute count is the side's (the quick engine caps a longer bench):
    // the record stays readable whatever the rules asked for.
    const int nEntries = std::clamp(home.nEntries, QUICKMATCH_STARTERS, QUICKMATCH_MAX_PLAYERS);
    header.dwAttendance = dwAttendance;
    header.byAttendancePercentage = byPercentage;
    header.byRulesByte1 = pBlock->pRules->bySubstitutions;
    header.bySubstitutesNamed = static_cast<uint8_t>(nEntries - QUICKMATCH_STARTERS);
    header.byHomeEvents = static_cast<uint8_t>(std::min(homeEvents.GetCount(), 255));
    header.byAwayEvents = static_cast<uint8_t>(std::min(awayEvents.GetCount(), 255));
    if (homeEvents.GetCount() > 255 || awayEvents.GetCount() > 255)
        DebugLog(1, "[CDatabaseHandler::ProcessMatch] Match %u has more than 255 events a side: the rest are "
                    "not kept",
                 pBlock->dwMatchID);
    header.byOptionalParts = bHumanHome ? static_cast<uint8_t>(MATCHPART_CLUB_MATCH | MATCHPART_CLUB_SEVEN |
                                                               MATCHPART_VALUE | MATCHPART_ATTENDANCE)
                                        : 0;

    if (pHistory) {
        CBinaryWriter& writer = *pHistory;
        header.Write(writer);
        for (const MATCHSIDERECORD* pSide : {&home, &away})
            for (int i = 0; i < nEntries; ++i)
                pSide->aEntries[i].Write(writer);
        WriteEvents(writer, homeEvents, header.byHomeEvents);
        WriteEvents(writer, awayEvents, header.byAwayEvents);
        if (byVenue == kVenueHomeGround)
            WriteMatchRecordExtras(&writer, pHome, pAway, dwAttendance, nReceipts, bHumanHome ? aStands : nullptr,
                                   pBlock->dwMatchID);
        if (writer.Failed())
            DebugLog(0, "[CDatabaseHandler::ProcessMatch] Could not write the record of match %u",
                     pBlock->dwMatchID);
    }
    FreeMatchEvents(homeEvents);
    FreeMatchEvents(awayEvents);
    if (pBlock->pTookPart)
        for (const MATCHSIDERECORD* pSide : {&home, &away})
            for (int i = 0; i < pSide->nEntries; ++i)
                if (pSide->TookPart(i))
                    pBlock->pTookPart->push_back(pSide->apPlayers[i]);

    pHome->UpdateAfterMatch(pBlock->byMatchKind, pBlock->byHomeGoals, pBlock->byAwayGoals, true, pAway);
    pAway->UpdateAfterMatch(pBlock->byMatchKind, pBlock->byAwayGoals, pBlock->byHomeGoals, false, pHome);
    if (byVenue == kVenueHomeGround)
        pHome->UpdatePitchCondition();
    // Without a history file the money still moves.
    if (byVenue == kVenueHomeGround && !pHistory)
        WriteMatchRecordExtras(nullptr, pHome, pAway, dwAttendance, nReceipts, nullptr, pBlock->dwMatchID);
}

void CDatabaseHandler::WriteMatchRecordExtras(CBinaryWriter* pWriter, CClubDatabase* pHome, CClubDatabase* /*pAway*/,
                                              uint32_t dwAttendance, int32_t nValue, const STANDATTENDANCE* pStands,
                                              uint32_t dwItem)
{
    if (!pHome)
        return;
    const int nCrowd = static_cast<int>(std::min<uint32_t>(dwAttendance, INT32_MAX));
    // Only a human home club's parts go into the record (its header says so).
    CBinaryWriter* pParts = GetSaveGameForClub(pHome) ? pWriter : nullptr;
    pHome->AddMatchdayFacilityIncome(pParts, nCrowd, dwItem);
    pHome->BookMatchdayCosts(pParts, nCrowd, dwItem);
    if (!pParts)
        return;
    pParts->WriteI32(nValue);
    for (int i = 0; i < STAND_SIDES * STAND_SECTIONS; ++i) {
        const STANDATTENDANCE entry = pStands ? pStands[i] : STANDATTENDANCE();
        pParts->WriteU32(entry.dwIncome);
        pParts->WriteU16(entry.wAttendance);
        pParts->WriteU16(0);
    }
}

static_assert(MATCHDAY_FACILITY_ROWS == CLUB_FACILITY_ROWS && MATCHDAY_COST_ROWS == CLUB_MATCHDAY_COST_ROWS,
              "the record keeps one line a facility and a cost row");

// ---- the readers ----

bool CDatabaseHandler::ReadNextMatchRecord(FILE* pFile, MATCHHISTORYHEADER& header, MATCHRECORDBODY* pBody)
{
    if (!pFile)
        return false;
    CBinaryReader reader(pFile);
    if (reader.Remaining() == 0)
        return false;
    if (reader.Remaining() < MATCH_HEADER_BYTES || !header.Read(reader)) {
        DebugLog(1, "[CDatabaseHandler::ReadNextMatchRecord] A match record is cut short in its header");
        return false;
    }
    if (static_cast<int64_t>(header.GetBodyBytes()) > reader.Remaining()) {
        DebugLog(1, "[CDatabaseHandler::ReadNextMatchRecord] Match %u is cut short: %u bytes announced, %lld left",
                 header.dwMatchID, header.GetBodyBytes(), static_cast<long long>(reader.Remaining()));
        return false;
    }
    const int nEntries = QUICKMATCH_STARTERS + header.bySubstitutesNamed;
    if (!pBody)
        return reader.Skip(header.GetBodyBytes());
    auto readEntries = [&](std::vector<MATCHPLAYERENTRY>& entries, int nCount) {
        entries.assign(static_cast<size_t>(nCount), MATCHPLAYERENTRY());
        for (MATCHPLAYERENTRY& entry : entries)
            entry.Read(reader);
    };
    auto readEvents = [&](std::vector<MATCHEVENT>& events, int nCount) {
        events.assign(static_cast<size_t>(nCount), MATCHEVENT());
        for (MATCHEVENT& event : events)
            event.Read(reader);
    };
    readEntries(pBody->HomeLineUp, nEntries);
    readEntries(pBody->AwayLineUp, nEntries);
    readEvents(pBody->HomeEvents, header.byHomeEvents);
    readEvents(pBody->AwayEvents, header.byAwayEvents);
    pBody->Finance = MATCHDAYFINANCE();
    if (header.byOptionalParts & MATCHPART_CLUB_MATCH)
        for (int32_t& nProfit : pBody->Finance.anFacilityProfit) {
            // Buyers, takings less costs, price: the row's money is the second.
            reader.Skip(4);
            reader.ReadI32(nProfit);
            reader.Skip(4);
        }
    if (header.byOptionalParts & MATCHPART_CLUB_SEVEN)
        for (int32_t& nCost : pBody->Finance.anCosts)
            reader.ReadI32(nCost);
    if (header.byOptionalParts & MATCHPART_VALUE)
        reader.ReadI32(pBody->Finance.nGate);
    pBody->AttendanceBlock.clear();
    if (header.byOptionalParts & MATCHPART_ATTENDANCE) {
        pBody->AttendanceBlock.resize(256);
        reader.ReadBytes(pBody->AttendanceBlock.data(), pBody->AttendanceBlock.size());
    }
    return !reader.Failed();
}

bool CDatabaseHandler::FindMatchInHistoryFile(MATCHHISTORYHEADER& header, MATCHRECORDBODY* pBody, uint32_t dwMatchID,
                                              FILE* pFile, long& nPosition)
{
    if (!pFile || std::fseek(pFile, nPosition, SEEK_SET) != 0)
        return false;
    for (;;) {
        const long nStart = std::ftell(pFile);
        MATCHRECORDBODY skipped;
        if (!ReadNextMatchRecord(pFile, header, pBody ? pBody : &skipped))
            return false;
        if (header.dwMatchID == dwMatchID) {
            nPosition = nStart;
            return true;
        }
    }
}

bool CDatabaseHandler::FlushCupMatchHistory()
{
    if (m_CupMatchHistory.Flush(kCupHistoryFile))
        return true;
    DebugLog(0, "[CDatabaseHandler::PlayCupAndFriendlyFixtures] Could not open %s: no match records written",
             kCupHistoryFile);
    return false;
}

void CDatabaseHandler::DeleteCupMatchHistory()
{
    m_CupMatchHistory.Discard();
    DeleteMatchingFiles(kCupHistoryFile, nullptr);
}

std::vector<std::string> CDatabaseHandler::FlushMatchHistoryFiles()
{
    FlushCupMatchHistory();
    std::vector<std::string> files{kCupHistoryFile};
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        pCountry->FlushMatchHistory();
        files.push_back(pCountry->GetMatchHistoryFileName());
    }
    return files;
}

void CDatabaseHandler::ReadAllMatchHeaders(const std::function<void(const MATCHHISTORYHEADER&)>& visit)
{
    for (const std::string& name : FlushMatchHistoryFiles()) {
        FILE* pFile = plat::openFile(name, "rb");
        if (!pFile)
            continue;
        MATCHHISTORYHEADER header;
        while (ReadNextMatchRecord(pFile, header, nullptr))
            visit(header);
        std::fclose(pFile);
    }
}

void CDatabaseHandler::ForEachMatchRecord(
    const std::function<bool(const MATCHHISTORYHEADER&, const MATCHRECORDBODY&)>& visit)
{
    for (const std::string& name : FlushMatchHistoryFiles()) {
        FILE* pFile = plat::openFile(name, "rb");
        if (!pFile)
            continue;
        MATCHHISTORYHEADER header;
        MATCHRECORDBODY body;
        bool bGoOn = true;
        while (bGoOn && ReadNextMatchRecord(pFile, header, &body))
            bGoOn = visit(header, body);
        std::fclose(pFile);
        if (!bGoOn)
            return;
    }
}

bool CDatabaseHandler::FindMatchRecord(MATCHHISTORYHEADER& header, MATCHRECORDBODY* pBody, uint32_t dwMatchID)
{
    for (const std::string& name : FlushMatchHistoryFiles()) {
        FILE* pFile = plat::openFile(name, "rb");
        if (!pFile)
            continue;
        long nPosition = 0;
        const bool bFound = FindMatchInHistoryFile(header, pBody, dwMatchID, pFile, nPosition);
        std::fclose(pFile);
        if (bFound)
            return true;
    }
    return false;
}

bool ReadMatchStands(const std::vector<uint8_t>& block, HOMEMATCHSTANDS& match)
{
    match.bHasStands = false;
    std::fill(std::begin(match.adwTakings), std::end(match.adwTakings), 0u);
    std::fill(std::begin(match.awCrowd), std::end(match.awCrowd), static_cast<uint16_t>(0));
    if (block.size() != static_cast<size_t>(MATCH_STAND_ENTRIES * MATCH_STAND_ENTRY_BYTES))
        return false;
    for (int i = 0; i < MATCH_STAND_ENTRIES; ++i) {
        const uint8_t* p = block.data() + i * MATCH_STAND_ENTRY_BYTES;
        match.adwTakings[i] = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
        match.awCrowd[i] = static_cast<uint16_t>(p[4] | p[5] << 8);
    }
    match.bHasStands = true;
    return true;
}

std::vector<HOMEMATCHSTANDS> CDatabaseHandler::GetHomeMatchStands(const CClubDatabase* pClub)
{
    std::vector<HOMEMATCHSTANDS> matches;
    if (!pClub)
        return matches;
    // The fixture lists keep the season's matches from its first day on.
    CDate date(1999, 1, 1);
    CDate next;
    while (GetNextMatchDate(pClub, date, next) && !(m_GameDate < next)) {
        date = next;
        void* pFixture = nullptr;
        int nKind = 0;
        if (!GetFixtureOpponent(pClub->m_wClubId, next, 0, 0, &pFixture, &nKind) || !pFixture)
            continue;
        ID_CLUB idHome = 0;
        ID_GROUND idGround = 0;
        uint32_t dwMatchID = 0;
        if (nKind == 0) {
            const auto* pLeague = static_cast<const CDivisionFixturesDatabase*>(pFixture);
            idHome = pLeague->GetHomeClubID();
            idGround = pLeague->GetGroundID();
            dwMatchID = pLeague->GetFixtureID();
        }
        else {
            const auto* pCup = static_cast<const CCupFixturesDatabase*>(pFixture);
            idHome = pCup->GetHomeClubID();
            idGround = pCup->GetGroundID();
            dwMatchID = pCup->GetFixtureID();
        }
        if (idHome != pClub->m_wClubId || idGround != pClub->m_wHomeGroundId)
            continue;
        HOMEMATCHSTANDS match;
        match.dwMatchID = dwMatchID;
        match.dwDate = next.GetValue();
        MATCHHISTORYHEADER header;
        MATCHRECORDBODY body;
        match.bRecordFound = FindMatchRecord(header, &body, dwMatchID);
        if (!match.bRecordFound && next == m_GameDate)
            continue;  // not played yet
        if (match.bRecordFound) {
            match.byMatchKind = header.byMatchKind;
            match.byAttendancePercentage = header.byAttendancePercentage;
            ReadMatchStands(body.AttendanceBlock, match);
        }
        matches.push_back(match);
    }
    return matches;
}

// ---- fixture look-ups over the league and the root's list ----

int CDatabaseHandler::GetNextFixture(const CClubDatabase* pClub, uint8_t* pbyHome, uint8_t* pbyCompetition,
                                     CDate* pDate) const
{
    if (!pClub)
        return -1;
    uint8_t byHome = 0, byCompetition = kCompetitionLeague;
    CDate date;
    int nOpponent = pClub->m_pDivision
                        ? pClub->m_pDivision->GetNextLeagueFixture(pClub->m_wClubId, &byHome, &byCompetition, &date)
                        : -1;
    for (const CCupFixturesDatabase* p : m_lstCupFixtures.Items<CCupFixturesDatabase>()) {
        if (p->GetDate() < m_GameDate || !p->IsClubInvolved(pClub->m_wClubId))
            continue;
        if (nOpponent < 0 || p->GetDate() < date) {
            const bool bHome = p->GetHomeClubID() == pClub->m_wClubId;
            byHome = bHome ? 1 : 0;
            byCompetition = p->IsFriendly() ? kCompetitionFriendly
                                            : static_cast<uint8_t>(GetCupTypeFromCupNumber(p->GetCupNumber()));
            date = p->GetDate();
            nOpponent = bHome ? p->GetAwayClubID() : p->GetHomeClubID();
        }
        break;
    }
    if (nOpponent >= 0) {
        if (pbyHome)
            *pbyHome = byHome;
        if (pbyCompetition)
            *pbyCompetition = byCompetition;
        if (pDate)
            *pDate = date;
    }
    return nOpponent;
}

bool CDatabaseHandler::GetNextMatchDate(const CClubDatabase* pClub, const CDate& date, CDate& next) const
{
    next = CDate();
    if (!pClub)
        return false;
    if (pClub->m_pDivision)
        pClub->m_pDivision->GetNextFixtureDateForClub(pClub->m_wClubId, date, next);
    for (const CCupFixturesDatabase* p : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        if (p->GetDate() > date && p->IsClubInvolved(pClub->m_wClubId)) {
            if (!next.IsValid() || p->GetDate() < next)
                next = p->GetDate();
            break;
        }
    return next.IsValid();
}
