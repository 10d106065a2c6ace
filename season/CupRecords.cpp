#include "season/CupRecords.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"

CUP::CUP(const ITEMCUPSTRUCTUREINFORMATION& definition, uint8_t byCountryID)
{
    wTieSlots = definition.wTieSlots;
    byKind = definition.byKind;
    byEntrantCount = static_cast<uint8_t>(definition.wEntrantCount & 0xFF);
    byCountry = byCountryID;
    byRounds = definition.byRounds;
    ties.SetSize(wTieSlots);
    for (int i = 0; i < wTieSlots; ++i)
        ties.SetAt(i, new CUPTIE);
    if (definition.byExtraFlag)
        pExtra = new CPointerArray;
    Reset(definition);
}

CUP::~CUP()
{
    for (int i = 0; i < ties.GetSize(); ++i)
        delete static_cast<CUPTIE*>(ties.GetAt(i));
    ties.SetSize(0);
    FreeExtras();
    delete pExtra;
}

void CUP::NoteReplayPlaces()
{
    for (int t = 0; t < GetTiesInUse(); ++t) {
        const CUPTIE* pTie = GetTie(t);
        for (uint8_t byMark : {pTie->byHomeMark, pTie->byAwayMark})
            if (byMark < byExtraCount)
                if (CUPEXTRA* pRecord = GetExtra(byMark))
                    pRecord->abyValues[CUPEXTRA_TIE] = static_cast<uint8_t>(t);
    }
}

void CUP::FreeExtras()
{
    if (!pExtra)
        return;
    for (int i = 0; i < pExtra->GetSize(); ++i)
        delete static_cast<CUPEXTRA*>(pExtra->GetAt(i));
    pExtra->SetSize(0);
}

void CUP::Reset(const ITEMCUPSTRUCTUREINFORMATION& definition)
{
    for (int i = 0; i < ties.GetSize(); ++i)
        GetTie(i)->Clear();
    wClubsDrawn = 0;
    FreeExtras();
    byExtraCount = 0;
    byRound = 1;
    const ITEMCUPROUNDINFORMATION* pRound = GetDefinitionRound(&definition, 1);
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(&definition, 1);
    byLegs = pRound ? pRound->byLegs : 0;
    byEntryCount = pRule ? pRule->byEntryCount : 0;
}

int GetDomesticCupListIndex(int nKind)
{
    switch (nKind) {
    case CUP_KIND_1:
        return 0;
    case CUP_KIND_0:
        return 1;
    case CUP_KIND_SUPER:
        return 2;
    case CUP_KIND_5:
        return 3;
    default:
        return -1;
    }
}

const ITEMCUPROUNDINFORMATION* GetDefinitionRound(const ITEMCUPSTRUCTUREINFORMATION* pDefinition, int nRound)
{
    if (!pDefinition || !pDefinition->pRounds || nRound < 1 || nRound > pDefinition->byRounds)
        return nullptr;
    return &pDefinition->pRounds[nRound - 1];
}

const ITEMCUPENTRYRULE* GetDefinitionEntryRule(const ITEMCUPSTRUCTUREINFORMATION* pDefinition, int nRound)
{
    if (!pDefinition || !pDefinition->pEntryRules || nRound < 1 || nRound > pDefinition->byRounds)
        return nullptr;
    return &pDefinition->pEntryRules[nRound - 1];
}

void FreeCupEntries(CXList& list)
{
    while (!list.IsEmpty())
        delete static_cast<CUPENTRY*>(list.RemoveHead());
}

bool IsClubInEntries(const CXList& list, uint32_t dwClub)
{
    for (const CUPENTRY* pEntry : list.Items<CUPENTRY>())
        if (pEntry->dwClub == dwClub)
            return true;
    return false;
}

void AppendCupEntry(CXList& list, uint32_t dwClub, int nRound)
{
    auto* pEntry = new CUPENTRY;
    pEntry->dwClub = dwClub;
    pEntry->byRound = static_cast<uint8_t>(nRound);
    list.AddTail(pEntry);
}

bool SaveCupEntry(CBinaryWriter& writer, const CUPENTRY& entry)
{
    writer.WriteU32(entry.dwClub);
    writer.WriteU8(entry.byRound);
    writer.WriteZeros(3);
    return !writer.Failed();
}

bool LoadCupEntry(CBinaryReader& reader, CUPENTRY& entry)
{
    reader.ReadU32(entry.dwClub);
    reader.ReadU8(entry.byRound);
    reader.Skip(3);
    return !reader.Failed();
}

bool SaveCupRecord(CBinaryWriter& writer, int nKind, const CUP* pCup, const CXList* pPending, const char* pszOwner)
{
    if (!pCup) {
        writer.WriteZeros(5);
        writer.WriteU8(static_cast<uint8_t>(nKind));
        writer.WriteZeros(4);
        return !writer.Failed();
    }
    const int nPending = pPending ? pPending->GetCount() : 0;
    // The header holds the pending count in one byte; a larger list cannot be
    // written without losing clubs, so the save is refused instead.
    if (nPending > 255) {
        DebugLog(0, "[%s::Save] Cup kind %d has %d pending clubs, more than its record can hold", pszOwner, nKind,
                 nPending);
        return false;
    }
    writer.WriteU16(pCup->wTieSlots);
    writer.WriteU16(pCup->wClubsDrawn);
    writer.WriteU8(pCup->byRound);
    writer.WriteU8(pCup->byKind);
    writer.WriteU8(static_cast<uint8_t>(nPending));
    writer.WriteU8(pCup->byEntrantCount);
    writer.WriteU8(pCup->byExtraCount);
    writer.WriteZeros(1);
    for (int i = 0; i < pCup->GetTiesInUse(); ++i) {
        const CUPTIE* pTie = pCup->GetTie(i);
        writer.WriteU16(pTie->wHomeClub);
        writer.WriteU16(pTie->wAwayClub);
        writer.WriteU8(pTie->byHomeMark);
        writer.WriteU8(pTie->byAwayMark);
        writer.WriteU8(pTie->byWinner);
        writer.WriteZeros(1);
        writer.WriteU32(pTie->dwFirstMatch);
        writer.WriteU32(pTie->dwSecondMatch);
    }
    if (pPending)
        for (const CUPENTRY* pEntry : pPending->Items<CUPENTRY>())
            SaveCupEntry(writer, *pEntry);
    for (int i = 0; i < pCup->byExtraCount; ++i) {
        const CUPEXTRA* pExtra = pCup->GetExtra(i);
        const CUPEXTRA empty;
        const CUPEXTRA& extra = pExtra ? *pExtra : empty;
        writer.WriteBytes(extra.abyValues, 4);
        writer.WriteU16(extra.wValue1);
        writer.WriteU16(extra.wValue2);
        writer.WriteU32(extra.dwValue);
    }
    return !writer.Failed();
}

namespace {

// Links a tie's fixtures to the cup and the first leg to the second. A
// fixture that is gone (a draw may remove a clashing one) stays unlinked.
void LinkTieFixtures(CUP* pCup, const CUPTIE& tie, const CupFixtureFinder& findFixture, const char* pszOwner)
{
    CCupFixturesDatabase* pFirst = tie.dwFirstMatch && findFixture ? findFixture(tie.dwFirstMatch) : nullptr;
    CCupFixturesDatabase* pSecond = tie.dwSecondMatch && findFixture ? findFixture(tie.dwSecondMatch) : nullptr;
    if (tie.dwFirstMatch && !pFirst)
        DebugLog(1, "[%s::Load] Cup kind %d names match %u, which is not a fixture", pszOwner, pCup->byKind,
                 tie.dwFirstMatch);
    if (tie.dwSecondMatch && !pSecond)
        DebugLog(1, "[%s::Load] Cup kind %d names match %u, which is not a fixture", pszOwner, pCup->byKind,
                 tie.dwSecondMatch);
    if (pFirst) {
        pFirst->SetCup(pCup);
        pFirst->SetOtherLeg(pSecond);
    }
    if (pSecond)
        pSecond->SetCup(pCup);
}

}  // namespace

void LinkCupFixtures(CUP* pCup, const CupFixtureFinder& findFixture, const char* pszOwner)
{
    if (!pCup)
        return;
    for (int i = 0; i < pCup->GetTiesInUse(); ++i)
        LinkTieFixtures(pCup, *pCup->GetTie(i), findFixture, pszOwner);
}

bool LoadCupRecord(CBinaryReader& reader, int nKind, const ITEMCUPSTRUCTUREINFORMATION* pDefinition,
                   uint8_t byCountry, CXList* pPending, const char* pszOwner, CUP*& pCup)
{
    pCup = nullptr;
    uint16_t wTieSlots = 0, wClubsDrawn = 0;
    uint8_t byRound = 0, byKind = 0, byPending = 0, byEntrantCount = 0, byExtraCount = 0;
    reader.ReadU16(wTieSlots);
    reader.ReadU16(wClubsDrawn);
    reader.ReadU8(byRound);
    reader.ReadU8(byKind);
    reader.ReadU8(byPending);
    reader.ReadU8(byEntrantCount);
    reader.ReadU8(byExtraCount);
    reader.Skip(1);
    if (reader.Failed()) {
        DebugLog(0, "[%s::Load] The record of cup kind %d is cut short", pszOwner, nKind);
        return false;
    }
    if (byKind != nKind) {
        DebugLog(0, "[%s::Load] The record of cup kind %d holds kind %d", pszOwner, nKind, byKind);
        reader.Fail();
        return false;
    }
    if (byRound == 0)
        return true;

    if (!pDefinition) {
        DebugLog(0, "[%s::Load] Cup kind %d is running but has no definition", pszOwner, nKind);
        reader.Fail();
        return false;
    }
    const int nTies = (wClubsDrawn + 1) / 2;
    if (byRound > pDefinition->byRounds || wTieSlots != pDefinition->wTieSlots || nTies > wTieSlots) {
        DebugLog(0, "[%s::Load] Cup kind %d: round %d, %d tie slots and %d clubs drawn do not fit its definition",
                 pszOwner, nKind, byRound, wTieSlots, wClubsDrawn);
        reader.Fail();
        return false;
    }
    if (!reader.CheckCount(static_cast<uint64_t>(nTies) * CUP_TIE_FILE_SIZE +
                               static_cast<uint64_t>(byPending) * CUP_ENTRY_FILE_SIZE +
                               static_cast<uint64_t>(byExtraCount) * CUP_EXTRA_FILE_SIZE,
                           1)) {
        DebugLog(0, "[%s::Load] Cup kind %d counts more records than the file holds", pszOwner, nKind);
        return false;
    }

    CUP* pNew = new CUP(*pDefinition, byCountry);
    pNew->wClubsDrawn = wClubsDrawn;
    pNew->byRound = byRound;
    pNew->byEntrantCount = byEntrantCount;
    const ITEMCUPROUNDINFORMATION* pRound = GetDefinitionRound(pDefinition, byRound);
    const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(pDefinition, byRound);
    pNew->byLegs = pRound ? pRound->byLegs : 0;
    pNew->byEntryCount = pRule ? pRule->byEntryCount : 0;
    for (int i = 0; i < nTies; ++i) {
        CUPTIE* pTie = pNew->GetTie(i);
        reader.ReadU16(pTie->wHomeClub);
        reader.ReadU16(pTie->wAwayClub);
        reader.ReadU8(pTie->byHomeMark);
        reader.ReadU8(pTie->byAwayMark);
        reader.ReadU8(pTie->byWinner);
        reader.Skip(1);
        reader.ReadU32(pTie->dwFirstMatch);
        reader.ReadU32(pTie->dwSecondMatch);
    }
    CXList entries;
    for (int i = 0; i < byPending; ++i) {
        CUPENTRY entry;
        if (!LoadCupEntry(reader, entry))
            break;
        if (entry.byRound < 1 || entry.byRound > pDefinition->byRounds) {
            DebugLog(0, "[%s::Load] A club waits for round %d of cup kind %d, which has %d rounds", pszOwner,
                     entry.byRound, nKind, pDefinition->byRounds);
            reader.Fail();
            break;
        }
        AppendCupEntry(entries, entry.dwClub, entry.byRound);
    }
    if (byExtraCount && !pNew->pExtra)
        pNew->pExtra = new CPointerArray;
    for (int i = 0; i < byExtraCount && !reader.Failed(); ++i) {
        auto* pExtra = new CUPEXTRA;
        reader.ReadBytes(pExtra->abyValues, 4);
        reader.ReadU16(pExtra->wValue1);
        reader.ReadU16(pExtra->wValue2);
        reader.ReadU32(pExtra->dwValue);
        pNew->pExtra->SetAtGrow(i, pExtra);
    }
    pNew->byExtraCount = byExtraCount;
    if (reader.Failed()) {
        DebugLog(0, "[%s::Load] The record of cup kind %d is cut short", pszOwner, nKind);
        FreeCupEntries(entries);
        delete pNew;
        return false;
    }

    while (!entries.IsEmpty()) {
        void* pEntry = entries.RemoveHead();
        if (pPending)
            pPending->AddTail(pEntry);
        else
            delete static_cast<CUPENTRY*>(pEntry);
    }
    pCup = pNew;
    return true;
}

void TakePendingIntoDraw(CXList& pending, int nRound, int nFree, const CDatabaseHandler* pHandler,
                         const std::function<void(uint32_t dwClub)>& addToDraw, int nByes)
{
    LPXLISTNODE pNode = pending.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pEntry = static_cast<CUPENTRY*>(pNode->pData);
        if (pEntry->byRound == nRound && nByes > 0) {
            pEntry->byRound = static_cast<uint8_t>(nRound + 1);
            --nByes;
        } else if (pEntry->byRound == nRound) {
            if (nFree > 0) {
                if (!pHandler || !pHandler->GetClubFromID(static_cast<ID_CLUB>(pEntry->dwClub))) {
                    pNode = pNext;
                    continue;
                }
                addToDraw(pEntry->dwClub);
                --nFree;
            } else {
                DebugLog(2, "Extra Club Added to pending with round %d", nRound);
            }
            pending.Remove(pNode);
            delete pEntry;
        }
        pNode = pNext;
    }
}
