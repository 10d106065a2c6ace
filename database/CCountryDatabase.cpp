#include "database/CCountryDatabase.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/TextField.h"
#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CPlayerRelocation.h"
#include "database/CountryCalendars.h"
#include "platform/Random.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperStoryList.h"
#include "season/CRefereeDatabase.h"

CDatabaseHandler* CCountryDatabase::m_pDatabaseHandler = nullptr;

namespace {

// The smallest record each list can hold on file, to bound counts read.
constexpr uint64_t kRefereeBytes = CRefereeDatabase::FILE_SIZE;
constexpr uint64_t kPlayerMinimumBytes = 24;
// Fixtures of the country's own cups; friendlies and European ties live at the root.
constexpr uint8_t kDomesticCupFixtureKind = 1;

// Domestic cups are written in this order of kinds.
constexpr int kCupFileOrder[] = {CUP_KIND_1, CUP_KIND_0, CUP_KIND_SUPER, CUP_KIND_5};

void WriteDateRecord(CBinaryWriter& writer, const CDate& date)
{
    writer.WriteU16(static_cast<uint16_t>(date.GetYear()));
    writer.WriteU8(static_cast<uint8_t>(date.GetMonth()));
    writer.WriteU8(static_cast<uint8_t>(date.GetDay()));
}

bool ReadDateRecord(CBinaryReader& reader, CDate& date)
{
    uint16_t wYear = 0;
    uint8_t byMonth = 0, byDay = 0;
    reader.ReadU16(wYear);
    reader.ReadU8(byMonth);
    reader.ReadU8(byDay);
    date.Set(CDate::Pack(wYear, byMonth, byDay));
    return date.GetValue() == 0 || date.IsValid();
}

}  // namespace

CCountryDatabase::CCountryDatabase()
    : m_pDomesticCups(new CDomesticCupsDatabase(this)), m_pStories(new CNewspaperStoryList)
{
}

CCountryDatabase::~CCountryDatabase()
{
    FreeAll();
    delete m_pDomesticCups;
    delete m_pStories;
}

void CCountryDatabase::FreeAll()
{
    // The cups first: their ties' fixtures are about to go.
    for (int nKind : kCupFileOrder)
        m_pDomesticCups->SetCup(nKind, nullptr);
    while (!m_lstDivisions.IsEmpty())
        delete static_cast<CDivisionDatabase*>(m_lstDivisions.RemoveHead());
    while (!m_lstCupFixtures.IsEmpty())
        delete static_cast<CCupFixturesDatabase*>(m_lstCupFixtures.RemoveHead());
    while (!m_lstReferees.IsEmpty())
        delete static_cast<CRefereeDatabase*>(m_lstReferees.RemoveHead());
    m_RefereesByID.clear();
    m_pStories->RemoveAll();
    while (!m_lstUnattachedPlayers.IsEmpty())
        delete static_cast<CPlayerDatabase*>(m_lstUnattachedPlayers.RemoveHead());
    while (!m_lstEvents.IsEmpty())
        delete static_cast<CEventsDatabase*>(m_lstEvents.RemoveHead());
    m_EventsByKey.clear();
    m_EventNodesByDate.clear();
    while (!m_lstLargeRecords.IsEmpty())
        delete[] static_cast<uint8_t*>(m_lstLargeRecords.RemoveHead());
    while (!m_lstSmallRecords.IsEmpty())
        delete[] static_cast<uint8_t*>(m_lstSmallRecords.RemoveHead());
    FreeCalendarDates();
    m_pNationalGround = nullptr;
}

void CCountryDatabase::FreeCalendarDates()
{
    delete[] m_pCalendarStart;
    delete[] m_pCalendarEnd;
    delete[] m_pCalendarKinds;
    m_pCalendarStart = m_pCalendarEnd = nullptr;
    m_pCalendarKinds = nullptr;
    m_nCalendarPeriods = 0;
}

CDate CCountryDatabase::GameDate() const
{
    return m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
}

void CCountryDatabase::SetName(const char* pszName)
{
    CopyTextField(m_szName, sizeof m_szName, pszName);
}

int CCountryDatabase::GetSeasonYear() const
{
    if (m_SeasonStart.GetValue() != 0)
        return m_SeasonStart.GetYear();
    const CDate today = GameDate();
    return today.GetMonth() >= 7 ? today.GetYear() : today.GetYear() - 1;
}

// ---- file form ----

bool CCountryDatabase::LoadBlock(CBinaryReader& reader, uint32_t& dwCupFixtures, uint32_t& dwUnattached,
                                 uint32_t& dwEvents, uint8_t& byDivisions, uint8_t& byReferees, uint8_t& byLarge,
                                 uint8_t& bySmall)
{
    for (int i = 0; i < STORED_VALUES + MORE_VALUES; ++i)
        reader.ReadI32(m_anValues[i]);
    const bool bDates = ReadDateRecord(reader, m_SeasonStart) & ReadDateRecord(reader, m_LeagueEnd) &
                        ReadDateRecord(reader, m_SeasonEnd);
    reader.ReadU32(dwCupFixtures);
    reader.ReadU32(dwUnattached);
    reader.ReadU32(dwEvents);
    reader.ReadI32(m_anValues[STORED_VALUES + MORE_VALUES]);
    for (int i = 0; i < LATER_VALUES; ++i)
        reader.ReadI32(m_anValues[STORED_VALUES + MORE_VALUES + 1 + i]);
    uint16_t wTrend = 0;
    reader.ReadU16(m_wEconomyIndex);
    reader.ReadU16(m_wNationalGround);
    reader.ReadU16(m_wPreviousEconomyIndex);
    reader.ReadU16(wTrend);
    m_nEconomyTrend = static_cast<int16_t>(wTrend);
    reader.ReadBytes(m_szName, NAME_SIZE);
    reader.ReadU8(m_byID);
    reader.ReadU8(m_bySecondID);
    reader.ReadBytes(m_abySettings, 3);
    reader.ReadU8(m_byClimate);
    reader.ReadU8(m_byWeather);
    reader.ReadU8(m_bySeasonFlag);
    reader.ReadBytes(m_abyMore, 3);
    reader.ReadU8(byDivisions);
    reader.ReadU8(byReferees);
    reader.ReadU8(byLarge);
    reader.ReadU8(bySmall);
    if (reader.Failed()) {
        DebugLog(0, "[CCountryDatabase::Load] The country record is cut short");
        return false;
    }

    bool bValid = true;
    if (std::memchr(m_szName, 0, NAME_SIZE) == nullptr) {
        DebugLog(0, "[CCountryDatabase::Load] The country name is not terminated");
        bValid = false;
    }
    else {
        // Whatever followed the terminator is not kept, so that the name saves the same each time.
        const size_t nLength = std::strlen(m_szName);
        std::memset(m_szName + nLength, 0, NAME_SIZE - nLength);
    }
    if (bValid && (m_byID == 0 || m_byID >= 20)) {
        // Cup numbers are kind x 20 + country, with 0 meaning the European competitions.
        DebugLog(0, "[CCountryDatabase::Load] Country %s has the identifier %d, outside 1-19", m_szName, m_byID);
        bValid = false;
    }
    if (bValid && (m_wEconomyIndex < ECONOMY_MIN || m_wEconomyIndex > ECONOMY_MAX)) {
        DebugLog(0, "[CCountryDatabase::Load] Country %s has the economy index %d, outside 300-800", m_szName,
                 m_wEconomyIndex);
        bValid = false;
    }
    if (bValid && m_byClimate > 2) {
        DebugLog(0, "[CCountryDatabase::Load] Country %s has the unknown climate %d", m_szName, m_byClimate);
        bValid = false;
    }
    if (bValid && !bDates) {
        DebugLog(0, "[CCountryDatabase::Load] Country %s has an invalid season date", m_szName);
        bValid = false;
    }
    if (!bValid) {
        reader.Fail();
        return false;
    }
    return true;
}

bool CCountryDatabase::Load(CBinaryReader& reader)
{
    FreeAll();
    m_pDomesticCups->ClearDefinitions();
    m_pLeagueCalendar = nullptr;
    m_pCupCalendar = nullptr;

    // The cup byes and the two flags come first.
    reader.ReadBytes(m_abyCupByes, CUP_BYES);
    reader.ReadBytes(m_abyFlags, 2);
    uint32_t dwCupFixtures = 0, dwUnattached = 0, dwEvents = 0;
    uint8_t byDivisions = 0, byReferees = 0, byLarge = 0, bySmall = 0;
    if (reader.Failed()) {
        DebugLog(0, "[CCountryDatabase::Load] The country record is cut short");
        return false;
    }
    if (!LoadBlock(reader, dwCupFixtures, dwUnattached, dwEvents, byDivisions, byReferees, byLarge, bySmall))
        return false;
    InstallDomesticCups();

    if (!m_pStories->Load(reader)) {
        DebugLog(0, "[CCountryDatabase::Load] The stories of %s are refused", m_szName);
        return false;
    }
    if (!reader.CheckCount(byDivisions, DIVISION_RECORD_BYTES)) {
        DebugLog(0, "[CCountryDatabase::Load] %s counts %d divisions, more than the file holds", m_szName,
                 byDivisions);
        return false;
    }
    for (int i = 0; i < byDivisions; ++i) {
        auto* pDivision = new CDivisionDatabase;
        m_lstDivisions.AddTail(pDivision);
        if (!pDivision->Load(reader, this)) {
            DebugLog(0, "[CCountryDatabase::Load] Division %d of %s is refused", i, m_szName);
            reader.Fail();
            return false;
        }
    }
    if (!reader.CheckCount(dwCupFixtures, CCupFixturesDatabase::FILE_SIZE)) {
        DebugLog(0, "[CCountryDatabase::Load] %s counts %u cup fixtures, more than the file holds", m_szName,
                 dwCupFixtures);
        return false;
    }
    for (uint32_t i = 0; i < dwCupFixtures; ++i) {
        auto* pFixture = new CCupFixturesDatabase;
        if (!pFixture->Load(reader)) {
            delete pFixture;
            DebugLog(0, "[CCountryDatabase::Load] Cup fixture %u of %s is refused", i, m_szName);
            return false;
        }
        m_lstCupFixtures.AddTail(pFixture);
    }
    if (!reader.CheckCount(byReferees, kRefereeBytes)) {
        DebugLog(0, "[CCountryDatabase::Load] %s counts %d referees, more than the file holds", m_szName, byReferees);
        return false;
    }
    for (int i = 0; i < byReferees; ++i) {
        auto* pReferee = new CRefereeDatabase;
        if (!pReferee->Load(reader, this)) {
            delete pReferee;
            DebugLog(0, "[CCountryDatabase::Load] Referee %d of %s is refused", i, m_szName);
            reader.Fail();
            return false;
        }
        AddReferee(pReferee);
    }
    if (!reader.CheckCount(dwUnattached, kPlayerMinimumBytes)) {
        DebugLog(0, "[CCountryDatabase::Load] %s counts %u unattached players, more than the file holds", m_szName,
                 dwUnattached);
        return false;
    }
    for (uint32_t i = 0; i < dwUnattached; ++i) {
        auto* pPlayer = new CPlayerDatabase(reader, this, nullptr, nullptr, false);
        if (!pPlayer->IsLoaded()) {
            delete pPlayer;
            DebugLog(0, "[CCountryDatabase::Load] Unattached player %u of %s is refused", i, m_szName);
            reader.Fail();
            return false;
        }
        m_lstUnattachedPlayers.AddTail(pPlayer);
    }
    if (!reader.CheckCount(dwEvents, CEventsDatabase::FILE_SIZE)) {
        DebugLog(0, "[CCountryDatabase::Load] %s counts %u events, more than the file holds", m_szName, dwEvents);
        return false;
    }
    for (uint32_t i = 0; i < dwEvents; ++i) {
        auto* pEvent = new CEventsDatabase;
        if (!pEvent->Load(reader, this)) {
            delete pEvent;
            return false;
        }
        ListEvent(pEvent, false);
    }
    if (!reader.CheckCount(static_cast<uint64_t>(byLarge) * RAW_RECORD_LARGE + static_cast<uint64_t>(bySmall) *
                                                                                  RAW_RECORD_SMALL,
                           1)) {
        DebugLog(0, "[CCountryDatabase::Load] %s counts more season records than the file holds", m_szName);
        return false;
    }
    for (int i = 0; i < byLarge; ++i) {
        auto* pRecord = new uint8_t[RAW_RECORD_LARGE];
        reader.ReadBytes(pRecord, RAW_RECORD_LARGE);
        m_lstLargeRecords.AddTail(pRecord);
    }
    for (int i = 0; i < bySmall; ++i) {
        auto* pRecord = new uint8_t[RAW_RECORD_SMALL];
        reader.ReadBytes(pRecord, RAW_RECORD_SMALL);
        m_lstSmallRecords.AddTail(pRecord);
    }
    if (reader.Failed()) {
        DebugLog(0, "[CCountryDatabase::Load] The records of %s are cut short", m_szName);
        return false;
    }

    m_pLeagueCalendar = GetDefaultCountryCalendar(m_byID == 1);
    if (m_bySeasonFlag) {
        BuildCalendarDates();
        CalculateSeasonEndDate();
    }
    for (int nKind : kCupFileOrder) {
        if (!m_pDomesticCups->Load(reader, nKind)) {
            DebugLog(0, "[CCountryDatabase::Load] Cup kind %d of %s is refused", nKind, m_szName);
            reader.Fail();
            return false;
        }
    }
    LinkCountryFixtures();
    return true;
}

bool CCountryDatabase::Save(CBinaryWriter& writer) const
{
    // Counts kept in one byte on file: a larger list cannot be written whole.
    if (m_lstDivisions.GetCount() > 255 || m_lstReferees.GetCount() > 255 || m_lstLargeRecords.GetCount() > 255 ||
        m_lstSmallRecords.GetCount() > 255) {
        DebugLog(0, "[CCountryDatabase::Save] %s has more divisions, referees or season records than its record holds",
                 m_szName);
        return false;
    }
    writer.WriteBytes(m_abyCupByes, CUP_BYES);
    writer.WriteBytes(m_abyFlags, 2);

    for (int i = 0; i < STORED_VALUES + MORE_VALUES; ++i)
        writer.WriteI32(m_anValues[i]);
    WriteDateRecord(writer, m_SeasonStart);
    WriteDateRecord(writer, m_LeagueEnd);
    WriteDateRecord(writer, m_SeasonEnd);
    writer.WriteU32(static_cast<uint32_t>(m_lstCupFixtures.GetCount()));
    writer.WriteU32(static_cast<uint32_t>(m_lstUnattachedPlayers.GetCount()));
    writer.WriteU32(static_cast<uint32_t>(m_lstEvents.GetCount()));
    writer.WriteI32(m_anValues[STORED_VALUES + MORE_VALUES]);
    for (int i = 0; i < LATER_VALUES; ++i)
        writer.WriteI32(m_anValues[STORED_VALUES + MORE_VALUES + 1 + i]);
    writer.WriteU16(m_wEconomyIndex);
    writer.WriteU16(m_wNationalGround);
    writer.WriteU16(m_wPreviousEconomyIndex);
    writer.WriteU16(static_cast<uint16_t>(m_nEconomyTrend));
    writer.WriteBytes(m_szName, NAME_SIZE);
    writer.WriteU8(m_byID);
    writer.WriteU8(m_bySecondID);
    writer.WriteBytes(m_abySettings, 3);
    writer.WriteU8(m_byClimate);
    writer.WriteU8(m_byWeather);
    writer.WriteU8(m_bySeasonFlag);
    writer.WriteBytes(m_abyMore, 3);
    writer.WriteU8(static_cast<uint8_t>(m_lstDivisions.GetCount()));
    writer.WriteU8(static_cast<uint8_t>(m_lstReferees.GetCount()));
    writer.WriteU8(static_cast<uint8_t>(m_lstLargeRecords.GetCount()));
    writer.WriteU8(static_cast<uint8_t>(m_lstSmallRecords.GetCount()));

    if (!m_pStories->Save(writer))
        return false;
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        if (!pDivision->Save(writer))
            return false;
    for (const CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        pFixture->Save(writer);
    for (const CRefereeDatabase* pReferee : m_lstReferees.Items<CRefereeDatabase>())
        pReferee->Save(writer);
    for (const CPlayerDatabase* pPlayer : m_lstUnattachedPlayers.Items<CPlayerDatabase>())
        if (!pPlayer->Save(writer))
            return false;
    for (const CEventsDatabase* pEvent : m_lstEvents.Items<CEventsDatabase>())
        pEvent->Save(writer);
    for (const uint8_t* pRecord : m_lstLargeRecords.Items<uint8_t>())
        writer.WriteBytes(pRecord, RAW_RECORD_LARGE);
    for (const uint8_t* pRecord : m_lstSmallRecords.Items<uint8_t>())
        writer.WriteBytes(pRecord, RAW_RECORD_SMALL);
    for (int nKind : kCupFileOrder)
        if (!m_pDomesticCups->Save(writer, nKind))
            return false;
    return !writer.Failed();
}

void CCountryDatabase::LinkCountryFixtures()
{
    for (CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>()) {
        pFixture->SetCup(m_pDomesticCups->GetCup(CDomesticCupsDatabase::GetKindFromCupNumber(pFixture->GetCupNumber())));
        // Without an other leg of its own the fixture keeps the link its tie gave it.
        const uint32_t dwOther = pFixture->GetRoundValue();
        if (dwOther == 0)
            continue;
        CCupFixturesDatabase* pOther = FindCupFixture(dwOther);
        if (!pOther)
            DebugLog(1,
                     "[CCountryDatabase::LinkCountryFixtures] Failed to link country fixture ID %u with country "
                     "fixture ID %u!",
                     pFixture->GetFixtureID(), dwOther);
        pFixture->SetOtherLeg(pOther);
    }
}

void CCountryDatabase::SetupPointers()
{
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        pDivision->SetupPointers();
    m_pStories->SetupPointers();
    for (CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        if (pFixture->GetTieKind() == kDomesticCupFixtureKind)
            pFixture->AttachToReferee(GetRefereeFromID(pFixture->GetRefereeID()), REFEREE_ASSIGNMENT_COUNTRY_CUP);
    m_pNationalGround = m_pDatabaseHandler ? m_pDatabaseHandler->GetGroundFromID(m_wNationalGround) : nullptr;
}

// ---- lookups ----

CDivisionDatabase* CCountryDatabase::FindDivision(uint8_t byDivisionID, LPXLISTNODE* ppNext) const
{
    LPXLISTNODE pNode;
    CDivisionDatabase* pDivision = m_lstDivisions.FindItem<CDivisionDatabase>(
        [&](const CDivisionDatabase* p) { return p->m_byDivisionId == byDivisionID; }, &pNode);
    if (ppNext)
        *ppNext = pNode ? pNode->pNext : nullptr;
    return pDivision;
}

CClubDatabase* CCountryDatabase::GetClubByIndex(int nIndex) const
{
    if (nIndex < 0)
        return nullptr;
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        const int nClubs = pDivision->m_lstClubsByID.GetCount();
        if (nIndex < nClubs)
            return static_cast<CClubDatabase*>(pDivision->m_lstClubsByID.GetAt(nIndex)->pData);
        nIndex -= nClubs;
    }
    return nullptr;
}

int CCountryDatabase::GetClubCount() const
{
    int nClubs = 0;
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        nClubs += pDivision->m_lstClubsByID.GetCount();
    return nClubs;
}

CClubDatabase* CCountryDatabase::IsClubOfCountry(ID_CLUB idClub) const
{
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        if (CClubDatabase* pClub = pDivision->GetClubFromID(idClub))
            return pClub;
    return nullptr;
}

CRefereeDatabase* CCountryDatabase::GetRefereeFromID(uint16_t wRefereeID) const
{
    const auto it = m_RefereesByID.find(wRefereeID);
    return it != m_RefereesByID.end() ? it->second : nullptr;
}

CCupFixturesDatabase* CCountryDatabase::FindCupFixture(uint32_t dwFixtureID, LPXLISTNODE* ppNext) const
{
    LPXLISTNODE pNode;
    CCupFixturesDatabase* pFixture = m_lstCupFixtures.FindItem<CCupFixturesDatabase>(
        [&](const CCupFixturesDatabase* p) { return p->GetFixtureID() == dwFixtureID; }, &pNode);
    if (ppNext)
        *ppNext = pNode ? pNode->pNext : nullptr;
    return pFixture;
}

// ---- lists ----

void CCountryDatabase::AddDivision(CDivisionDatabase* pDivision)
{
    pDivision->m_pCountry = this;
    m_lstDivisions.AddTail(pDivision);
}

void CCountryDatabase::AddReferee(CRefereeDatabase* pReferee)
{
    pReferee->SetCountry(this);
    m_lstReferees.AddTail(pReferee);
    m_RefereesByID.emplace(pReferee->GetID(), pReferee);
}

void CCountryDatabase::AddCupFixture(CCupFixturesDatabase* pFixture)
{
    m_lstCupFixtures.AddTail(pFixture);
}

bool CCountryDatabase::RemoveCupFixture(CCupFixturesDatabase* pFixture)
{
    LPXLISTNODE pNode = m_lstCupFixtures.Find(pFixture);
    if (!pNode)
        return false;
    m_lstCupFixtures.Remove(pNode);
    // Nothing may point at the fixture once it is freed.
    if (CRefereeDatabase* pReferee = GetRefereeFromID(pFixture->GetRefereeID()))
        pReferee->RemoveAssignment(pFixture);
    for (CCupFixturesDatabase* pOther : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        if (pOther->GetOtherLeg() == pFixture)
            pOther->SetOtherLeg(nullptr);
    delete pFixture;
    return true;
}

void CCountryDatabase::SortCupFixtures()
{
    std::vector<CCupFixturesDatabase*> fixtures;
    while (!m_lstCupFixtures.IsEmpty())
        fixtures.push_back(static_cast<CCupFixturesDatabase*>(m_lstCupFixtures.RemoveHead()));
    std::stable_sort(fixtures.begin(), fixtures.end(),
                     [](const CCupFixturesDatabase* a, const CCupFixturesDatabase* b) { return a->GetDate() < b->GetDate(); });
    for (CCupFixturesDatabase* pFixture : fixtures)
        m_lstCupFixtures.AddTail(pFixture);
}

void CCountryDatabase::AddCountryPlayer(CPlayerDatabase* pPlayer)
{
    if (!pPlayer || m_lstUnattachedPlayers.Find(pPlayer))
        return;
    m_lstUnattachedPlayers.AddTail(pPlayer);
    pPlayer->m_pCountry = this;
    pPlayer->m_pDivision = nullptr;
    pPlayer->m_pClub = nullptr;
}

void CCountryDatabase::UpdatePlayerPlaces(const CPlayerRelocation& relocation)
{
    relocation.UpdateList(m_lstUnattachedPlayers);
}

bool CCountryDatabase::RemoveCountryPlayer(CPlayerDatabase* pPlayer)
{
    const LPXLISTNODE pNode = pPlayer ? m_lstUnattachedPlayers.Find(pPlayer) : nullptr;
    if (!pNode)
        return false;
    m_lstUnattachedPlayers.Remove(pNode);
    return true;
}

int CCountryDatabase::PurgeLeftPlayers()
{
    // Retiring takes a player off the list, so the walk is over a copy.
    std::vector<CPlayerDatabase*> leaving;
    for (CPlayerDatabase* pPlayer : m_lstUnattachedPlayers.Items<CPlayerDatabase>())
        if (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING)
            leaving.push_back(pPlayer);
    int nGone = 0;
    for (CPlayerDatabase* pPlayer : leaving)
        nGone += m_pDatabaseHandler && m_pDatabaseHandler->RetirePlayer(pPlayer);
    return nGone;
}

void CCountryDatabase::AddLargeRecord(const uint8_t* pRecord)
{
    auto* pCopy = new uint8_t[RAW_RECORD_LARGE];
    std::memcpy(pCopy, pRecord, RAW_RECORD_LARGE);
    m_lstLargeRecords.AddTail(pCopy);
}

void CCountryDatabase::AddSmallRecord(const uint8_t* pRecord)
{
    auto* pCopy = new uint8_t[RAW_RECORD_SMALL];
    std::memcpy(pCopy, pRecord, RAW_RECORD_SMALL);
    m_lstSmallRecords.AddTail(pCopy);
}

CEventsDatabase* CCountryDatabase::AddEvent(uint8_t byType, const CDate& date, uint32_t dwDataID)
{
    auto* pEvent = new CEventsDatabase(byType, date, dwDataID, this);
    ListEvent(pEvent, true);
    return pEvent;
}

// ---- cups and calendars ----

void CCountryDatabase::InstallDomesticCups()
{
    m_pDomesticCups->ClearDefinitions();
    for (const ITEMCUPSTRUCTUREINFORMATION* pRow = GetCupStructureTable(); pRow && pRow->pszOwnerName; ++pRow) {
        if (std::strcmp(pRow->pszOwnerName, m_szName) != 0)
            continue;
        switch (pRow->byKind) {
        case CUP_KIND_0:
        case CUP_KIND_1:
        case CUP_KIND_SUPER:
        case CUP_KIND_5:
            m_pDomesticCups->SetDefinition(pRow->byKind, pRow);
            break;
        case 2:
        case 4:
            DebugLog(1, "[CCountryDatabase::InstallDomesticCups] Cannot Have European Domestic Cup!");
            break;
        default:
            DebugLog(1, "[CCountryDatabase::InstallDomesticCups] Unknown Cup Type!");
            break;
        }
    }
}

bool CCountryDatabase::AttachCupCalendars()
{
    const COUNTRYCALENDAR* pCalendar = FindCountryCalendar(m_szName);
    if (!pCalendar)
        return false;
    m_pLeagueCalendar = pCalendar;
    m_pCupCalendar = nullptr;
    for (const ITEMCUPSTRUCTUREINFORMATION* pRow = GetCupStructureTable(); pRow && pRow->pszOwnerName; ++pRow)
        if (std::strcmp(pRow->pszOwnerName, m_szName) == 0) {
            m_pCupCalendar = pRow;
            break;
        }
    BuildCalendarDates();
    return true;
}

void CCountryDatabase::BuildCalendarDates()
{
    FreeCalendarDates();
    if (!m_pLeagueCalendar || m_pLeagueCalendar->byPeriods == 0)
        return;
    m_nCalendarPeriods = m_pLeagueCalendar->byPeriods;
    m_pCalendarStart = new CDate[m_nCalendarPeriods];
    m_pCalendarEnd = new CDate[m_nCalendarPeriods];
    m_pCalendarKinds = new uint8_t[m_nCalendarPeriods];
    const int nYear = GetSeasonYear();
    for (int i = 0; i < m_nCalendarPeriods; ++i) {
        const COUNTRYCALENDARPERIOD& period = m_pLeagueCalendar->pPeriods[i];
        m_pCalendarKinds[i] = period.byKind;
        if (period.byKind == CALENDAR_PERIOD_SINGLE_DAY) {
            // A day of the first half of the year falls in the season's second year.
            const int nDayYear = nYear + period.byStartYearOffset + (period.byStartMonth < 7 ? 1 : 0);
            m_pCalendarStart[i] = m_pCalendarEnd[i] = CDate(nDayYear, period.byStartMonth, period.byStartWeek);
            continue;
        }
        m_pCalendarStart[i].SetNthWeekday(period.byStartMonth, nYear + period.byStartYearOffset, period.byStartWeekday,
                                          period.byStartWeek);
        if (period.byEndMonth == CALENDAR_MONTH_SEASON_END)
            m_pCalendarEnd[i] = m_SeasonEnd;
        else
            m_pCalendarEnd[i].SetNthWeekday(period.byEndMonth, nYear + period.byEndYearOffset, period.byEndWeekday,
                                            period.byEndWeek);
    }
}

bool CCountryDatabase::GetCalendarPeriod(int nIndex, uint8_t& byKind, CDate& start, CDate& end) const
{
    if (nIndex < 0 || nIndex >= m_nCalendarPeriods)
        return false;
    byKind = m_pCalendarKinds[nIndex];
    start = m_pCalendarStart[nIndex];
    end = m_pCalendarEnd[nIndex];
    return true;
}

void CCountryDatabase::CalculateSeasonEndDate()
{
    CDate latest;
    static constexpr int kFinalKinds[] = {CUP_KIND_SUPER, CUP_KIND_1, CUP_KIND_0};
    for (int nKind : kFinalKinds) {
        const ITEMCUPSTRUCTUREINFORMATION* pDefinition = m_pDomesticCups->GetDefinition(nKind);
        if (!pDefinition || pDefinition->byRounds == 0)
            continue;
        const ITEMCUPROUNDINFORMATION* pFinal = m_pDomesticCups->GetRound(nKind, pDefinition->byRounds - 1);
        CDate date;
        if (m_pDomesticCups->GetRoundDate(pFinal, pFinal && pFinal->byLegs == CUP_LEGS_TWO, date, nKind) &&
            date > latest)
            latest = date;
    }
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        CDate last;
        if (LPXLISTNODE pTail = pDivision->m_lstFixtures.GetTail())
            last = static_cast<const CDivisionFixturesDatabase*>(pTail->pData)->GetDate();
        else if (pDivision->m_byKind == DIVISION_KIND_LEAGUE)
            last = pDivision->m_SeasonEnd;
        if (last > latest)
            latest = last;
    }
    if (latest.GetValue() == 0)
        return;
    latest.AddDays(1);
    m_SeasonEnd = latest;
}

// ---- weather and economy ----

void CCountryDatabase::UpdateWeather()
{
    m_byWeather = GameDate().PickWeather(m_byClimate);
}

void CCountryDatabase::UpdateEconomyIndex()
{
    m_wPreviousEconomyIndex = m_wEconomyIndex;
    int nIndex = m_wEconomyIndex;
    if (plat::rand() % 3 == 0) {
        static constexpr int kChanges[4] = {-50, -25, 50, 25};
        const int nDraw = plat::rand() % 10;
        const int nChange = nDraw < 4 ? kChanges[nDraw] : 0;
        if (nChange == 0)
            return;
        nIndex += nChange;
        const bool bBounded = nIndex < ECONOMY_MIN || nIndex > ECONOMY_MAX;
        nIndex = std::clamp(nIndex, static_cast<int>(ECONOMY_MIN), static_cast<int>(ECONOMY_MAX));
        m_wEconomyIndex = static_cast<uint16_t>(nIndex);
        if (bBounded)
            return;
        CNewspaperStory* pStory = m_pStories->AddPendingStory(0, nChange < 0 ? STORY_ECONOMY_FALL : STORY_ECONOMY_RISE);
        pStory->SetParameterSlot(4, m_byID);
        pStory->SetParameterSlot(6, static_cast<uint32_t>(nIndex));
        return;
    }
    // The trend alone never takes the index out of its range either.
    nIndex = std::clamp(nIndex + m_nEconomyTrend, static_cast<int>(ECONOMY_MIN), static_cast<int>(ECONOMY_MAX));
    m_wEconomyIndex = static_cast<uint16_t>(nIndex);
}
