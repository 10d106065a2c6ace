#include "season/CDomesticCupsDatabase.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CEventsDatabase.h"

CDomesticCupsDatabase::CDomesticCupsDatabase(CCountryDatabase* pCountry) : m_pCountry(pCountry) {}

CDomesticCupsDatabase::~CDomesticCupsDatabase()
{
    for (CXList& list : m_lstPending)
        FreeCupEntries(list);
    for (CXList& list : m_lstListed)
        FreeCupEntries(list);
    for (CUP*& pCup : m_pCups) {
        delete pCup;
        pCup = nullptr;
    }
}

const ITEMCUPSTRUCTUREINFORMATION* CDomesticCupsDatabase::GetDefinition(int nKind) const
{
    return nKind >= 0 && nKind < KIND_COUNT ? m_pDefinitions[nKind] : nullptr;
}

void CDomesticCupsDatabase::SetDefinition(int nKind, const ITEMCUPSTRUCTUREINFORMATION* pDefinition)
{
    if (nKind >= 0 && nKind < KIND_COUNT)
        m_pDefinitions[nKind] = pDefinition;
}

void CDomesticCupsDatabase::ClearDefinitions()
{
    for (const ITEMCUPSTRUCTUREINFORMATION*& pDefinition : m_pDefinitions)
        pDefinition = nullptr;
}

CUP* CDomesticCupsDatabase::GetCup(int nKind) const
{
    const int nIndex = GetDomesticCupListIndex(nKind);
    return nIndex < 0 ? nullptr : m_pCups[nIndex];
}

void CDomesticCupsDatabase::SetCup(int nKind, CUP* pCup)
{
    const int nIndex = GetDomesticCupListIndex(nKind);
    if (nIndex < 0)
        return;
    if (m_pCups[nIndex] != pCup)
        delete m_pCups[nIndex];
    m_pCups[nIndex] = pCup;
}

const ITEMCUPENTRYRULE* CDomesticCupsDatabase::GetCupStructure(int nKind) const
{
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
    return pDefinition ? pDefinition->pEntryRules : nullptr;
}

const ITEMCUPROUNDINFORMATION* CDomesticCupsDatabase::GetRound(int nKind, int nIndex) const
{
    return GetDefinitionRound(GetDefinition(nKind), nIndex + 1);
}

bool CDomesticCupsDatabase::GetRoundDate(const ITEMCUPROUNDINFORMATION* pRound, bool bSecondLeg, CDate& date,
                                         int nKind) const
{
    date = CDate();
    if (!pRound || !m_pCountry)
        return false;
    date = GetDomesticCupRoundDate(*pRound, bSecondLeg, nKind, m_pCountry->GetSeasonYear(),
                                   m_pCountry->GetSeasonStartDate());
    return date.GetValue() != 0;
}

bool CDomesticCupsDatabase::InstallCup(int nKind)
{
    const int nIndex = GetDomesticCupListIndex(nKind);
    if (nIndex < 0)
        return false;
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
    if (!pDefinition) {
        SetCup(nKind, nullptr);
        return false;
    }
    CUP* pCup = m_pCups[nIndex];
    if (pCup && pCup->wTieSlots == pDefinition->wTieSlots) {
        pCup->Reset(*pDefinition);
        pCup->byCountry = m_pCountry ? m_pCountry->GetID() : 0;
        return true;
    }
    SetCup(nKind, new CUP(*pDefinition, m_pCountry ? m_pCountry->GetID() : 0));
    return true;
}

void CDomesticCupsDatabase::InstallCups()
{
    static constexpr int kInstallOrder[] = {CUP_KIND_0, CUP_KIND_1, CUP_KIND_5, CUP_KIND_SUPER};
    for (int nKind : kInstallOrder) {
        if (!InstallCup(nKind))
            continue;
        const ITEMCUPENTRYRULE* pRule = GetDefinitionEntryRule(GetDefinition(nKind), 1);
        CDate drawDate;
        if (m_pCountry && pRule && GetRoundDate(GetRound(nKind, 0), false, drawDate, nKind)) {
            drawDate.AddDays(-pRule->byDrawDays);
            m_pCountry->AddEvent(EVENT_CUP_ROUND, drawDate, GetCupDrawEventKey(nKind));
        }
    }
    static constexpr int kEventOrder[] = {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER, CUP_KIND_5};
    for (int nKind : kEventOrder) {
        const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
        if (!GetCup(nKind) || !pDefinition || !m_pCountry)
            continue;
        for (int nRound = 1; nRound <= pDefinition->byRounds; ++nRound) {
            const ITEMCUPROUNDINFORMATION* pRound = GetDefinitionRound(pDefinition, nRound);
            CDate date;
            if (GetRoundDate(pRound, false, date, nKind))
                m_pCountry->AddEvent(EVENT_CUP_MATCH_DATE, date, GetCupRoundEventKey(nRound, nKind, false, false));
            if (pRound->byLegs == CUP_LEGS_TWO && GetRoundDate(pRound, true, date, nKind))
                m_pCountry->AddEvent(EVENT_CUP_MATCH_DATE, date, GetCupRoundEventKey(nRound, nKind, true, false));
        }
    }
    if (m_pCountry)
        m_pCountry->SortCupFixtures();
}

void CDomesticCupsDatabase::ResetCup(int nKind)
{
    CUP* pCup = GetCup(nKind);
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = GetDefinition(nKind);
    if (pCup && pDefinition)
        pCup->Reset(*pDefinition);
}

int CDomesticCupsDatabase::GetCupStatusSlot(int nKind)
{
    switch (nKind) {
    case CUP_KIND_0:
        return 0;
    case CUP_KIND_1:
        return 1;
    case CUP_KIND_SUPER:
        return 2;
    case CUP_KIND_5:
        return 3;
    default:
        return 4;
    }
}

CXList* CDomesticCupsDatabase::PendingList(int nKind)
{
    const int nIndex = GetDomesticCupListIndex(nKind);
    return nIndex < 0 ? nullptr : &m_lstPending[nIndex];
}

CXList* CDomesticCupsDatabase::ListedList(int nKind)
{
    const int nIndex = GetDomesticCupListIndex(nKind);
    return nIndex < 0 ? nullptr : &m_lstListed[nIndex];
}

const CXList* CDomesticCupsDatabase::GetPendingList(int nKind) const
{
    const int nIndex = GetDomesticCupListIndex(nKind);
    return nIndex < 0 ? nullptr : &m_lstPending[nIndex];
}

const CXList* CDomesticCupsDatabase::GetListedList(int nKind) const
{
    const int nIndex = GetDomesticCupListIndex(nKind);
    return nIndex < 0 ? nullptr : &m_lstListed[nIndex];
}

bool CDomesticCupsDatabase::AddPending(int nKind, uint32_t dwClub, int nRound, int /*nReason*/)
{
    CXList* pList = PendingList(nKind);
    if (!pList)
        return false;
    AppendCupEntry(*pList, dwClub, nRound);
    return true;
}

bool CDomesticCupsDatabase::AddListed(int nKind, uint32_t dwClub, int nRound)
{
    CXList* pList = ListedList(nKind);
    if (!pList)
        return false;
    AppendCupEntry(*pList, dwClub, nRound);
    return true;
}

bool CDomesticCupsDatabase::IsClubInCup(int nKind, uint32_t dwClub) const
{
    const CXList* pPending = GetPendingList(nKind);
    if (!pPending)
        return false;
    if (IsClubInEntries(*pPending, dwClub))
        return true;
    const CUP* pCup = GetCup(nKind);
    if (!pCup || pCup->wClubsDrawn < 2 || dwClub == 0)
        return false;
    for (int i = 0; i < pCup->GetTiesInUse(); ++i) {
        const CUPTIE* pTie = pCup->GetTie(i);
        if (pTie->wHomeClub == dwClub || pTie->wAwayClub == dwClub)
            return true;
    }
    return false;
}

bool CDomesticCupsDatabase::IsClubListed(int nKind, uint32_t dwClub) const
{
    const CXList* pListed = GetListedList(nKind);
    return pListed && IsClubInEntries(*pListed, dwClub);
}

void CDomesticCupsDatabase::ClearListed()
{
    for (CXList& list : m_lstListed)
        FreeCupEntries(list);
}

bool CDomesticCupsDatabase::Save(CBinaryWriter& writer, int nKind) const
{
    const CUP* pCup = GetCup(nKind);
    if (!SaveCupRecord(writer, nKind, pCup, GetPendingList(nKind), "CDomesticCupsDatabase"))
        return false;
    if (!pCup)
        return true;
    const CXList* pListed = GetListedList(nKind);
    if (pListed->GetCount() > 0xFFFF) {
        DebugLog(0, "[CDomesticCupsDatabase::Save] Cup kind %d lists %d clubs, more than its record can hold", nKind,
                 pListed->GetCount());
        return false;
    }
    writer.WriteU16(static_cast<uint16_t>(pListed->GetCount()));
    for (const CUPENTRY* pEntry : pListed->Items<CUPENTRY>())
        SaveCupEntry(writer, *pEntry);
    return !writer.Failed();
}

bool CDomesticCupsDatabase::Load(CBinaryReader& reader, int nKind)
{
    CXList* pPending = PendingList(nKind);
    CXList* pListed = ListedList(nKind);
    if (!pPending) {
        DebugLog(0, "[CDomesticCupsDatabase::Load] Cup kind %d does not exist", nKind);
        return false;
    }
    FreeCupEntries(*pPending);
    FreeCupEntries(*pListed);
    SetCup(nKind, nullptr);

    CUP* pCup = nullptr;
    if (!LoadCupRecord(reader, nKind, GetDefinition(nKind), m_pCountry ? m_pCountry->GetID() : 0, pPending,
                       "CDomesticCupsDatabase", pCup))
        return false;
    if (!pCup)
        return true;
    SetCup(nKind, pCup);

    uint16_t wListed = 0;
    reader.ReadU16(wListed);
    if (!reader.CheckCount(wListed, CUP_ENTRY_FILE_SIZE)) {
        DebugLog(0, "[CDomesticCupsDatabase::Load] Cup kind %d lists more clubs than the file holds", nKind);
        FreeCupEntries(*pPending);
        SetCup(nKind, nullptr);
        return false;
    }
    for (int i = 0; i < wListed; ++i) {
        CUPENTRY entry;
        if (!LoadCupEntry(reader, entry))
            break;
        AppendCupEntry(*pListed, entry.dwClub, entry.byRound);
    }
    if (reader.Failed()) {
        DebugLog(0, "[CDomesticCupsDatabase::Load] The listed clubs of cup kind %d are cut short", nKind);
        FreeCupEntries(*pPending);
        FreeCupEntries(*pListed);
        SetCup(nKind, nullptr);
        return false;
    }
    CCountryDatabase* pCountry = m_pCountry;
    LinkCupFixtures(
        pCup, [pCountry](uint32_t dwMatch) { return pCountry ? pCountry->FindCupFixture(dwMatch) : nullptr; },
        "CDomesticCupsDatabase");
    return true;
}
