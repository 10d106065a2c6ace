#include "season/CEuropeanCupDatabase.h"

#include <cstring>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CEventsDatabase.h"
#include "platform/Files.h"

CDatabaseHandler* CEuropeanCupDatabase::m_pDatabaseHandler = nullptr;

MINILEAGUEGROUP::MINILEAGUEGROUP(int nRows)
{
    if (nRows < 1)
        nRows = 1;
    if (nRows > 255)
        nRows = 255;
    bySize = static_cast<uint8_t>(nRows);
    pRows = new MINILEAGUEROW[bySize];
    for (int i = 0; i < bySize; ++i) {
        pRows[i].byPosition = static_cast<uint8_t>(i + 1);
        pRows[i].byOpponents = static_cast<uint8_t>(bySize - 1);
        pRows[i].pHomeMatches = new uint32_t[bySize > 1 ? bySize - 1 : 1]();
    }
}

MINILEAGUEGROUP::~MINILEAGUEGROUP()
{
    for (int i = 0; i < bySize; ++i) {
        pRows[i].lstFixtures.RemoveAll();
        delete[] pRows[i].pHomeMatches;
    }
    delete[] pRows;
}

CEuropeanCupDatabase::CEuropeanCupDatabase()
{
    ResetEarliestCupDate();
}

CEuropeanCupDatabase::~CEuropeanCupDatabase()
{
    RemoveAll();
}

void CEuropeanCupDatabase::InstallDefinitions()
{
    for (const ITEMCUPSTRUCTUREINFORMATION*& pDefinition : m_pDefinitions)
        pDefinition = nullptr;
    for (const ITEMCUPSTRUCTUREINFORMATION* pRow = GetCupStructureTable(); pRow && pRow->pszOwnerName; ++pRow) {
        if (std::strcmp(pRow->pszOwnerName, CUP_OWNER_EUROPEAN) != 0)
            continue;
        switch (pRow->byKind) {
        case CUP_KIND_0:
        case CUP_KIND_1:
        case CUP_KIND_SUPER:
            m_pDefinitions[pRow->byKind] = pRow;
            break;
        case 2:
        case 4:
            DebugLog(1, "EUROPEAN CUPS CALLED WHEN THEY DON'T EXIST");
            break;
        default:
            DebugLog(1, "[CCountryDatabase::InstallDomesticCups] Unknown Cup Type!");
            break;
        }
    }
}

const ITEMCUPSTRUCTUREINFORMATION* CEuropeanCupDatabase::GetDefinition(int nKind) const
{
    return nKind >= 0 && nKind < KIND_COUNT ? m_pDefinitions[nKind] : nullptr;
}

int CEuropeanCupDatabase::GetCupIndex(int nKind)
{
    switch (nKind) {
    case CUP_KIND_1:
        return 0;
    case CUP_KIND_0:
        return 1;
    case CUP_KIND_SUPER:
        return 2;
    default:
        return -1;
    }
}

CUP* CEuropeanCupDatabase::GetCup(int nKind) const
{
    const int nIndex = GetCupIndex(nKind);
    return nIndex < 0 ? nullptr : m_pCups[nIndex];
}

void CEuropeanCupDatabase::SetCup(int nKind, CUP* pCup)
{
    const int nIndex = GetCupIndex(nKind);
    if (nIndex < 0)
        return;
    if (m_pCups[nIndex] != pCup)
        delete m_pCups[nIndex];
    m_pCups[nIndex] = pCup;
}

const ITEMCUPENTRYRULE* CEuropeanCupDatabase::GetCupStructure(const CUP* pCup) const
{
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = pCup ? GetDefinition(pCup->byKind) : nullptr;
    return pDefinition ? pDefinition->pEntryRules : nullptr;
}

const ITEMCUPROUNDINFORMATION* CEuropeanCupDatabase::GetRound(int nKind, int nIndex) const
{
    return GetDefinitionRound(GetDefinition(nKind), nIndex + 1);
}

bool CEuropeanCupDatabase::GetRoundDate(const ITEMCUPROUNDINFORMATION* pRound, bool bSecondLeg, CDate& date) const
{
    date = CDate();
    if (!pRound)
        return false;
    date = GetEuropeanCupRoundDate(*pRound, bSecondLeg, m_SeasonDate);
    return date.GetValue() != 0;
}

bool CEuropeanCupDatabase::InstallCup(int nKind)
{
    const int nIndex = GetCupIndex(nKind);
    if (nIndex < 0)
        return false;
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
    if (!pDefinition) {
        SetCup(nKind, nullptr);
        return false;
    }
    if (m_pCups[nIndex] && m_pCups[nIndex]->wTieSlots == pDefinition->wTieSlots) {
        m_pCups[nIndex]->Reset(*pDefinition);
        return true;
    }
    CUP* pCup = new CUP(*pDefinition, 0);
    // European cups never keep an extra table.
    pCup->FreeExtras();
    delete pCup->pExtra;
    pCup->pExtra = nullptr;
    SetCup(nKind, pCup);
    return true;
}

void CEuropeanCupDatabase::InstallCups()
{
    static constexpr int kKinds[] = {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER};
    for (int nKind : kKinds) {
        if (!GetDefinition(nKind) || !InstallCup(nKind))
            continue;
        const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(GetDefinition(nKind), 1);
        CDate drawDate;
        if (m_pDatabaseHandler && pRule && GetRoundDate(GetRound(nKind, 0), false, drawDate)) {
            drawDate.AddDays(-pRule->byDrawDays);
            // The low byte 200 + kind tells the countries it is a European cup.
            m_pDatabaseHandler->AddEventToAllCountries(
                EVENT_CUP_ROUND, drawDate, GetCupDrawEventKey(nKind) + CDatabaseHandler::EUROPEAN_CUP_EVENT_BASE);
        }
    }
    for (int nKind : kKinds) {
        const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
        if (!GetCup(nKind) || !pDefinition || !m_pDatabaseHandler)
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
    if (m_pDatabaseHandler)
        m_pDatabaseHandler->SortCupFixtures();
}

void CEuropeanCupDatabase::ResetCup(int nKind)
{
    CUP* pCup = GetCup(nKind);
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
    if (pCup && pDefinition)
        pCup->Reset(*pDefinition);
}

int CEuropeanCupDatabase::GetCompetitionSlot(int nKind)
{
    switch (nKind) {
    case CUP_KIND_1:
        return 5;
    case CUP_KIND_SUPER:
        return 6;
    default:
        return 4;
    }
}

CXList* CEuropeanCupDatabase::PendingList(int nKind)
{
    const int nIndex = GetCupIndex(nKind);
    return nIndex < 0 ? nullptr : &m_lstPending[nIndex];
}

const CXList* CEuropeanCupDatabase::GetPendingList(int nKind) const
{
    const int nIndex = GetCupIndex(nKind);
    return nIndex < 0 ? nullptr : &m_lstPending[nIndex];
}

bool CEuropeanCupDatabase::IsClubPending(int nKind, uint32_t dwClub) const
{
    const CXList* pList = GetPendingList(nKind);
    return pList && IsClubInEntries(*pList, dwClub);
}

bool CEuropeanCupDatabase::AddPending(int nKind, uint32_t dwClub, int nRound, int /*nReason*/)
{
    CXList* pList = PendingList(nKind);
    if (!pList)
        return false;
    if (nKind == CUP_KIND_0 && IsClubPending(CUP_KIND_1, dwClub))
        DebugLog(2, "Club in KAVO Champ League trying to add to the KAVO Cup - Round %d, Club - %u", nRound, dwClub);
    else if (nKind == CUP_KIND_1 && IsClubPending(CUP_KIND_0, dwClub))
        DebugLog(2, "Club in KAVO Cup trying to add to the KAVO Champ League - Round %d, Club - %u", nRound, dwClub);
    if ((nKind == CUP_KIND_0 || nKind == CUP_KIND_1) && IsClubPending(nKind, dwClub))
        DebugLog(2, "Club Already in cup !!!!!!!!!!! - Round %d, Club - %u", nRound, dwClub);
    AppendCupEntry(*pList, dwClub, nRound);
    return true;
}

int CEuropeanCupDatabase::RemovePending(int nKind, uint32_t dwClub)
{
    CXList* pList = PendingList(nKind);
    if (!pList)
        return 0;
    for (LPXLISTNODE pNode = pList->GetHead(); pNode; pNode = pNode->pNext) {
        auto* pEntry = static_cast<CUPENTRY*>(pNode->pData);
        if (pEntry->dwClub == dwClub) {
            const int nRound = pEntry->byRound;
            pList->Remove(pNode);
            delete pEntry;
            return nRound;
        }
    }
    return 0;
}

void CEuropeanCupDatabase::LowerEarliestCupDate(const CDate& date)
{
    if (date.GetValue() != 0 && date < m_EarliestCupDate)
        m_EarliestCupDate = date;
}

void CEuropeanCupDatabase::ResetEarliestCupDate()
{
    m_EarliestCupDate.SetNthWeekday(12, 2030, 0, 4);
}

MINILEAGUEGROUP* CEuropeanCupDatabase::AddGroup(int nRows)
{
    auto* pGroup = new MINILEAGUEGROUP(nRows);
    m_lstGroups.AddTail(pGroup);
    return pGroup;
}

void CEuropeanCupDatabase::FreeGroups()
{
    while (!m_lstGroups.IsEmpty())
        delete static_cast<MINILEAGUEGROUP*>(m_lstGroups.RemoveHead());
}

void CEuropeanCupDatabase::RemoveAll()
{
    for (CUP*& pCup : m_pCups) {
        delete pCup;
        pCup = nullptr;
    }
    for (CXList& list : m_lstPending)
        FreeCupEntries(list);
    FreeGroups();
}

bool CEuropeanCupDatabase::AppendGroupTables(const char* pszPath) const
{
    if (m_lstGroups.IsEmpty())
        return false;
    FILE* pFile = plat::openFile(pszPath, "ab");
    if (!pFile)
        return false;
    std::fseek(pFile, 0, SEEK_END);
    CBinaryWriter writer(pFile);
    writer.WriteU8(static_cast<uint8_t>(m_lstGroups.GetCount()));
    writer.WriteU8(static_cast<const MINILEAGUEGROUP*>(m_lstGroups.GetHead()->pData)->bySize);
    for (const MINILEAGUEGROUP* pGroup : m_lstGroups.Items<MINILEAGUEGROUP>()) {
        for (int i = pGroup->bySize - 1; i >= 0; --i) {
            const MINILEAGUEROW& row = pGroup->pRows[i];
            DebugLog(2, "Mini league row %d, club %u", i + 1, row.dwClub);
            writer.WriteU8(row.byWon);
            writer.WriteU8(row.byDrawn);
            writer.WriteU8(row.byLost);
            writer.WriteU8(row.byGoalsFor);
            writer.WriteU8(row.byGoalsAgainst);
            writer.WriteU8(row.byPosition);
            writer.WriteU8(row.byOpponents);
            writer.WriteZeros(1);
            writer.WriteU32(row.dwClub);
            writer.WriteU32(row.dwDayField);
        }
    }
    const bool bWritten = !writer.Failed();
    std::fclose(pFile);
    return bWritten;
}

bool CEuropeanCupDatabase::Save(CBinaryWriter& writer, int nKind) const
{
    const CUP* pCup = GetCup(nKind);
    if (!SaveCupRecord(writer, nKind, pCup, GetPendingList(nKind), "CEuropeanCupDatabase"))
        return false;
    if (pCup && pCup->byLegs == CUP_LEGS_GROUP)
        return SaveGroups(writer);
    return true;
}

bool CEuropeanCupDatabase::SaveGroups(CBinaryWriter& writer) const
{
    for (const MINILEAGUEGROUP* pGroup : m_lstGroups.Items<MINILEAGUEGROUP>()) {
        for (int i = 0; i < pGroup->bySize; ++i) {
            const MINILEAGUEROW& row = pGroup->pRows[i];
            writer.WriteU8(row.byWon);
            writer.WriteU8(row.byDrawn);
            writer.WriteU8(row.byLost);
            writer.WriteU8(row.byGoalsFor);
            writer.WriteU8(row.byGoalsAgainst);
            writer.WriteU8(row.byPosition);
            writer.WriteU8(row.byOpponents);
            writer.WriteZeros(1);
            writer.WriteU32(row.dwClub);
            writer.WriteU32(row.dwDayField);
            for (int j = 0; j < pGroup->bySize - 1; ++j)
                writer.WriteU32(row.pHomeMatches[j]);
        }
    }
    return !writer.Failed();
}

bool CEuropeanCupDatabase::Load(CBinaryReader& reader, int nKind)
{
    CXList* pPending = PendingList(nKind);
    if (pPending)
        FreeCupEntries(*pPending);
    SetCup(nKind, nullptr);
    // Kind 5 has neither a list nor a cup: its entries would have nowhere to go.
    CXList discarded;
    CUP* pCup = nullptr;
    const bool bLoaded = LoadCupRecord(reader, nKind, GetDefinition(nKind), 0, pPending ? pPending : &discarded,
                                       "CEuropeanCupDatabase", pCup);
    const bool bStray = !discarded.IsEmpty() || (pCup && GetCupIndex(nKind) < 0);
    FreeCupEntries(discarded);
    if (!bLoaded)
        return false;
    if (bStray) {
        DebugLog(0, "[CEuropeanCupDatabase::Load] Cup kind %d is not a European cup", nKind);
        delete pCup;
        reader.Fail();
        return false;
    }
    if (!pCup)
        return true;
    if (pCup->byLegs == CUP_LEGS_GROUP && !LoadGroups(reader, *pCup)) {
        if (pPending)
            FreeCupEntries(*pPending);
        delete pCup;
        return false;
    }
    SetCup(nKind, pCup);
    CDatabaseHandler* pHandler = m_pDatabaseHandler;
    LinkCupFixtures(
        pCup, [pHandler](uint32_t dwMatch) { return pHandler ? pHandler->FindCupFixtureByMatchId(dwMatch) : nullptr; },
        "CEuropeanCupDatabase");
    return true;
}

bool CEuropeanCupDatabase::LoadGroups(CBinaryReader& reader, const CUP& cup)
{
    FreeGroups();
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(GetDefinition(cup.byKind), cup.byRound);
    const int nSize = pRule && pRule->pClubsPerDivision && pRule->byClubsPerDivisionCount
                          ? pRule->pClubsPerDivision[0]
                          : 0;
    if (nSize < 2 || cup.wClubsDrawn % nSize != 0) {
        DebugLog(0, "[CEuropeanCupDatabase::Load] Round %d has %d clubs drawn, which do not make groups of %d",
                 cup.byRound, cup.wClubsDrawn, nSize);
        reader.Fail();
        return false;
    }
    const int nGroups = cup.wClubsDrawn / nSize;
    const uint64_t nRowBytes = GROUP_ROW_FILE_SIZE + 4ull * static_cast<uint64_t>(nSize - 1);
    if (!reader.CheckCount(static_cast<uint64_t>(nGroups) * static_cast<uint64_t>(nSize), nRowBytes)) {
        DebugLog(0, "[CEuropeanCupDatabase::Load] The group tables are cut short");
        return false;
    }
    for (int g = 0; g < nGroups; ++g) {
        MINILEAGUEGROUP* pGroup = AddGroup(nSize);
        pGroup->byFilled = pGroup->bySize;
        for (int i = 0; i < nSize; ++i) {
            MINILEAGUEROW& row = pGroup->pRows[i];
            reader.ReadU8(row.byWon);
            reader.ReadU8(row.byDrawn);
            reader.ReadU8(row.byLost);
            reader.ReadU8(row.byGoalsFor);
            reader.ReadU8(row.byGoalsAgainst);
            reader.ReadU8(row.byPosition);
            reader.ReadU8(row.byOpponents);
            reader.Skip(1);
            reader.ReadU32(row.dwClub);
            reader.ReadU32(row.dwDayField);
            for (int j = 0; j < nSize - 1; ++j)
                reader.ReadU32(row.pHomeMatches[j]);
        }
    }
    if (reader.Failed()) {
        DebugLog(0, "[CEuropeanCupDatabase::Load] The group tables are cut short");
        FreeGroups();
        return false;
    }
    // Each home match goes into the lists of both its clubs, so that a
    // loaded table finds its away matches as well as its home matches.
    for (MINILEAGUEGROUP* pGroup : m_lstGroups.Items<MINILEAGUEGROUP>()) {
        for (int i = 0; i < pGroup->bySize; ++i) {
            for (int j = 0; j < pGroup->bySize - 1; ++j) {
                const uint32_t dwMatch = pGroup->pRows[i].pHomeMatches[j];
                CCupFixturesDatabase* pFixture =
                    dwMatch && m_pDatabaseHandler ? m_pDatabaseHandler->FindCupFixtureByMatchId(dwMatch) : nullptr;
                if (!pFixture) {
                    if (dwMatch)
                        DebugLog(1, "[CEuropeanCupDatabase::Load] Group match %u is not a fixture", dwMatch);
                    continue;
                }
                pGroup->pRows[i].lstFixtures.AddTail(pFixture);
                for (int k = 0; k < pGroup->bySize; ++k)
                    if (k != i && pGroup->pRows[k].dwClub == pFixture->GetAwayClubID())
                        pGroup->pRows[k].lstFixtures.AddTail(pFixture);
            }
        }
    }
    return true;
}
