// The whole-database file: the world read from and written to one stream,
// the pointer pass after reading and the root's own lists that the file holds.
#include "database/CDatabaseHandler.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "common/ShellServices.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CMarketEntries.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "database/RecordPeek.h"
#include "season/CComponentDatabase.h"
#include "season/CupStructureTable.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CRefereeDatabase.h"
#include "platform/Files.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Progress stages of the counted lists.
enum {
    STAGE_COUNTRIES = 1,
    STAGE_GROUNDS = 2,
    STAGE_YOUTHS = 3,
    STAGE_CUP_FIXTURES = 4,
    STAGE_LIST_MARKET = 5,
    STAGE_LOAN_MARKET = 6,
    STAGE_BUY_OFFERS = 7,
    STAGE_LOAN_OFFERS = 8,
    STAGE_PENDING_TRANSFERS = 10,
    STAGE_STAFF_POOL = 11,
    STAGE_UNEMPLOYED_MANAGERS = 12,
};

// The European records follow in this order of kinds.
constexpr int kEuropeanFileKinds[] = {0, 1, 3, 5};

// The smallest each record can be on file, to bound the counts read.
constexpr uint64_t kCountryMinBytes = 162;
constexpr uint64_t kYouthMinBytes = 92 + 12;
constexpr uint64_t kStaffBytes = 40;
constexpr uint64_t kManagerMinBytes = 48;
// Where a record keeps the identifier it registers under.
constexpr long kPersonIdOffset = 16;
constexpr long kStaffIdOffset = 16;
constexpr long kManagerIdOffset = 0;

constexpr int kIdentifierCounters = 6;

void ReportProgress(int nDone, int nCount, int nStage)
{
    ProgressCallback(nDone * 100.0 / nCount, nStage, 1, nStage == STAGE_COUNTRIES ? 1 : 0);
}

void* IdentifierValue(uint32_t dwIdentifier)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(dwIdentifier));
}

uint32_t ValueIdentifier(const void* pValue)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pValue));
}

// Reads a 32-bit count that must be met by nMinBytesEach bytes per record.
bool ReadCount(CBinaryReader& reader, uint64_t nMinBytesEach, const char* pszWhat, int32_t& nCount)
{
    nCount = 0;
    if (!reader.ReadI32(nCount)) {
        DebugLog(0, "[CDatabaseHandler::Load] The file ends before the count of %s", pszWhat);
        return false;
    }
    if (nCount < 0 || !reader.CheckCount(static_cast<uint64_t>(nCount), nMinBytesEach)) {
        DebugLog(0, "[CDatabaseHandler::Load] The file counts %d %s, more than it holds", nCount, pszWhat);
        reader.Fail();
        return false;
    }
    return true;
}

bool ReadCount16(CBinaryReader& reader, uint64_t nMinBytesEach, const char* pszWhat, int32_t& nCount)
{
    uint16_t wCount = 0;
    nCount = 0;
    if (!reader.ReadU16(wCount)) {
        DebugLog(0, "[CDatabaseHandler::Load] The file ends before the count of %s", pszWhat);
        return false;
    }
    if (!reader.CheckCount(wCount, nMinBytesEach)) {
        DebugLog(0, "[CDatabaseHandler::Load] The file counts %u %s, more than it holds", wCount, pszWhat);
        return false;
    }
    nCount = wCount;
    return true;
}

// Reads the file straight into bytes, whose storage is kept from the last
// read: one read of the size measured, then whatever the file grew by.
bool ReadWholeWorldFile(const std::string& gamePath, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    FILE* pFile = plat::openFile(gamePath, "rb");
    if (!pFile)
        return false;
    const int64_t nSize = plat::fileSize(gamePath);
    if (nSize > 0) {
        bytes.resize(static_cast<size_t>(nSize));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), pFile));
    }
    uint8_t abyChunk[65536];
    size_t nRead = 0;
    while ((nRead = std::fread(abyChunk, 1, sizeof(abyChunk), pFile)) > 0)
        bytes.insert(bytes.end(), abyChunk, abyChunk + nRead);
    const bool bRead = !std::ferror(pFile);
    std::fclose(pFile);
    return bRead;
}

}  // namespace

// ---- the root's lists ----

void CDatabaseHandler::AddGround(CGroundDatabase* pGround)
{
    m_lstGrounds.AddTail(pGround);
    ++m_nGroundCount;
    // The first ground of an identifier is the one found, as by a walk.
    const ID_GROUND idGround = pGround->GetID();
    if (idGround >= m_groundsById.size())
        m_groundsById.resize(size_t{idGround} + 1, nullptr);
    if (!m_groundsById[idGround])
        m_groundsById[idGround] = pGround;
}

void CDatabaseHandler::AddYouth(CYouthDatabase* pYouth)
{
    m_lstYouths.AddTail(pYouth);
    ++m_nYouthCount;
}

void CDatabaseHandler::AddBuyOffer(CBuyOfferDatabase* pOffer)
{
    m_lstBuyOffers.AddTail(pOffer);
    ++m_nBuyOfferCount;
}

void CDatabaseHandler::AddLoanOffer(CLoanOfferDatabase* pOffer)
{
    m_lstLoanOffers.AddTail(pOffer);
    ++m_nLoanOfferCount;
}

void CDatabaseHandler::AddListMarketEntry(CListMarketEntry* pEntry)
{
    m_lstListMarket.AddTail(pEntry);
}

void CDatabaseHandler::AddLoanMarketEntry(CLoanMarketEntry* pEntry)
{
    m_lstLoanMarket.AddTail(pEntry);
}

void CDatabaseHandler::AddPendingTransfer(uint32_t dwDate, CBuyOfferDatabase* pOffer)
{
    auto* pPending = new PENDINGTRANSFER;
    pPending->dwDate = dwDate;
    pPending->pOffer = pOffer;
    m_lstPendingTransfers.AddTail(pPending);
}

void CDatabaseHandler::AddManagerToFreePool(ID_MANAGER idManager)
{
    LPITEMMANAGERINFORMATION pEntry = GetManagerInformation(idManager);
    if (!pEntry || !pEntry->pManager) {
        DebugLog(0, "[CDatabaseHandler::AddManagerToFreePool] No manager %u", idManager);
        return;
    }
    pEntry->byState = MANAGERSTATE_POOL;
    m_lstUnemployedManagers.AddTail(IdentifierValue(idManager));
    ++m_wPoolManagers;
}

void CDatabaseHandler::RemoveManagerFromFreePool(ID_MANAGER idManager)
{
    LPITEMMANAGERINFORMATION pEntry = GetManagerInformation(idManager);
    if (!pEntry || !pEntry->pManager) {
        DebugLog(0, "[CDatabaseHandler::RemoveManagerFromFreePool] No manager %u", idManager);
        return;
    }
    pEntry->byState = MANAGERSTATE_EMPLOYED;
    if (LPXLISTNODE pNode = m_lstUnemployedManagers.Find(IdentifierValue(idManager)))
        m_lstUnemployedManagers.Remove(pNode);
    if (m_wPoolManagers > 0)
        --m_wPoolManagers;
}

bool CDatabaseHandler::TakeStaffFromPool(ID_STAFF idStaff)
{
    LPXLISTNODE pNode = m_lstStaffPool.Find(IdentifierValue(idStaff));
    LPITEMSTAFFINFORMATION pEntry = GetStaffInformation(idStaff);
    if (!pNode || !pEntry) {
        DebugLog(0, "[CDatabaseHandler::TakeStaffFromPool] Staff %u is not in the pool", idStaff);
        return false;
    }
    m_lstStaffPool.Remove(pNode);
    if (m_wPoolStaff > 0)
        --m_wPoolStaff;
    pEntry->dwFlags = STAFFINFO_EMPLOYED;
    return true;
}

uint32_t CDatabaseHandler::GetIdentifierCounter(int nIndex) const
{
    const uint32_t adwCounters[kIdentifierCounters] = {m_dwOfferID,           m_dwLoanOfferID,   m_dwFixtureID,
                                                       m_dwGroundComponentID, m_dwScoutQueryID, m_dwTrainingCampID};
    return nIndex >= 0 && nIndex < kIdentifierCounters ? adwCounters[nIndex] : 0;
}

void CDatabaseHandler::SetIdentifierCounter(int nIndex, uint32_t dwValue)
{
    uint32_t* apdwCounters[kIdentifierCounters] = {&m_dwOfferID,           &m_dwLoanOfferID,  &m_dwFixtureID,
                                                   &m_dwGroundComponentID, &m_dwScoutQueryID, &m_dwTrainingCampID};
    if (nIndex >= 0 && nIndex < kIdentifierCounters)
        *apdwCounters[nIndex] = dwValue;
}

uint8_t CDatabaseHandler::PackHumanIndex(const bool abOccupied[HUMAN_SLOTS], uint8_t byCurrent)
{
    if (byCurrent >= HUMAN_SLOTS || !abOccupied[byCurrent])
        return 0;
    uint8_t byPacked = 0;
    for (int i = 0; i < byCurrent; ++i)
        if (abOccupied[i])
            ++byPacked;
    return byPacked;
}

// ---- loading ----

bool CDatabaseHandler::Load(FILE* pFile)
{
    // Whatever world is in memory goes first, loaded or still being built.
    FreeWorld();
    if (!pFile) {
        DebugLog(0, "[CDatabaseHandler::Load] No file to load");
        return false;
    }
    // The rest of the stream is read in one piece and parsed from memory.
    std::vector<uint8_t>& bytes = m_worldBytes;
    bytes.clear();
    uint8_t abyChunk[65536];
    size_t nRead = 0;
    while ((nRead = std::fread(abyChunk, 1, sizeof(abyChunk), pFile)) > 0)
        bytes.insert(bytes.end(), abyChunk, abyChunk + nRead);
    if (std::ferror(pFile)) {
        DebugLog(0, "[CDatabaseHandler::Load] The world file cannot be read");
        return false;
    }
    return LoadFromBytes(bytes);
}

bool CDatabaseHandler::LoadFile(const std::string& gamePath)
{
    FreeWorld();
    if (!ReadWholeWorldFile(gamePath, m_worldBytes)) {
        DebugLog(0, "[CDatabaseHandler::Load] %s cannot be read", gamePath.c_str());
        return false;
    }
    return LoadFromBytes(m_worldBytes);
}

bool CDatabaseHandler::LoadFromBytes(const std::vector<uint8_t>& bytes)
{
    FreeWorld();
    CBinaryReader reader(bytes);
    if (!LoadWorld(reader) || !CheckWorldIdentifiers()) {
        DebugLog(0, "[CDatabaseHandler::Load] The world file is refused; nothing of it is kept");
        FreeWorld();
        return false;
    }
    m_nDatabaseLoaded = 1;
    m_nLastWorldBytes = bytes.size();
    return true;
}

bool CDatabaseHandler::LoadWorld(CBinaryReader& reader)
{
    // Fresh tables and counters.
    m_PlayerTable.SetSize(10000, 500);
    m_ManagerTable.SetSize(500, 50);
    m_StaffTable.SetSize(500, 50);
    m_nPlayerCount = m_nPlayersInTable = m_nYouthsInTable = m_nRetiredPlayers = 0;
    m_nPlayerLimit = 0;
    m_wNextManagerID = m_wNextStaffID = 1;
    m_wRetiredManagers = m_wPoolManagers = m_wManagerCounter = 0;
    m_wRetiredStaff = m_wPoolStaff = m_wStaffCounter = 0;
    m_pManagerNameRow = m_pStaffNameRow = m_pNationalityRows;
    for (int32_t& nYouths : m_nYouthsPerHuman)
        nYouths = 0;
    m_nDivisionTotal = m_nClubTotal = 0;
    m_nCountryCount = m_nGroundCount = m_nCupFixtureCount = m_nBuyOfferCount = m_nLoanOfferCount = m_nYouthCount = 0;
    m_groundsById.clear();
    m_dwLastFreeIdentifier = 0;
    m_nHistorySlots = 0;

    if (!m_GameDate.Read(reader) || (m_GameDate.GetValue() != 0 && !m_GameDate.IsValid())) {
        DebugLog(0, "[CDatabaseHandler::Load] The game date is missing or invalid");
        return false;
    }
    m_pEuropeanCups->RemoveAll();
    m_pEuropeanCups->InstallDefinitions();
    m_pEuropeanCups->ResetEarliestCupDate();
    if (!reader.ReadBytes(m_WorldBlock, WORLD_BLOCK_BYTES)) {
        DebugLog(0, "[CDatabaseHandler::Load] The world block is cut short");
        return false;
    }

    // Countries, with everything they own.
    int32_t nCount = 0;
    if (!ReadCount(reader, kCountryMinBytes, "countries", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        auto* pCountry = new CCountryDatabase;
        if (!pCountry->Load(reader)) {
            DebugLog(0, "[CDatabaseHandler::Load] Country %d of %d is refused", i + 1, nCount);
            delete pCountry;
            return false;
        }
        if (GetCountryFromID(pCountry->GetID())) {
            DebugLog(0, "[CDatabaseHandler::Load] Two countries have the identifier %d", pCountry->GetID());
            delete pCountry;
            return false;
        }
        AddCountry(pCountry);
        m_nClubTotal += pCountry->GetClubCount();
        for (int nBye = 0; nBye < COUNTRY_BYES_MAX; ++nBye)
            DebugLog(8, "%s %s  Clubs %d", g_apszCountryByesNames[nBye], pCountry->GetName(), pCountry->GetCupByes(nBye));
        ReportProgress(i + 1, nCount, STAGE_COUNTRIES);
    }

    // Grounds.
    if (!ReadCount(reader, CGroundDatabase::FILE_SIZE, "grounds", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        auto* pGround = new CGroundDatabase;
        if (!pGround->Load(reader)) {
            DebugLog(0, "[CDatabaseHandler::Load] Ground %d of %d is refused", i + 1, nCount);
            delete pGround;
            return false;
        }
        if (pGround->GetID() == 0 || GetGroundFromID(pGround->GetID())) {
            DebugLog(0, "[CDatabaseHandler::Load] Ground identifier %u is empty or used twice", pGround->GetID());
            delete pGround;
            return false;
        }
        AddGround(pGround);
        ReportProgress(i + 1, nCount, STAGE_GROUNDS);
    }

    // Youth players without a club.
    if (!ReadCount(reader, kYouthMinBytes, "youth players", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        uint32_t dwId = 0;
        if (!PeekRecordValue(reader, kPersonIdOffset, 4, dwId) || !IsFreePersonIdentifier(this, dwId)) {
            DebugLog(0, "[CDatabaseHandler::Load] Youth %d has a used or empty identifier %u", i + 1, dwId);
            return false;
        }
        auto* pYouth = new CYouthDatabase(reader, nullptr, nullptr, nullptr);
        if (!pYouth->IsLoaded()) {
            DebugLog(0, "[CDatabaseHandler::Load] Youth %d of %d is refused", i + 1, nCount);
            delete pYouth;
            return false;
        }
        AddYouth(pYouth);
        ReportProgress(i + 1, nCount, STAGE_YOUTHS);
    }

    // Identifiers issued to players so far.
    int32_t nPlayerCount = 0;
    if (!reader.ReadI32(nPlayerCount) || nPlayerCount < 0 || static_cast<uint32_t>(nPlayerCount) > PERSON_ID_LIMIT) {
        DebugLog(0, "[CDatabaseHandler::Load] The player count is missing or out of range");
        reader.Fail();
        return false;
    }
    m_nPlayerCount = nPlayerCount;
    if (nPlayerCount != 0)
        m_nPlayerLimit = nPlayerCount * 2;
    // The stored count already counts the identifiers of retired players.
    if (!LoadRetiredPlayers())
        return false;
    m_nPlayerCount = nPlayerCount;

    // Club table: every club at its identifier, each identifier once.
    ResetClubTable(m_nClubTotal);
    if (m_nClubTotal != GetClubTotal()) {
        DebugLog(0, "[CDatabaseHandler::Load] The world holds %d clubs, more than identifiers allow", m_nClubTotal);
        return false;
    }
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                const ID_CLUB idClub = pClub->m_wClubId;
                if (idClub < 1 || idClub > m_nClubTotal || GetClubFromID(idClub)) {
                    DebugLog(0, "[CDatabaseHandler::Load] Club %u (%s) lies outside 1..%d or is used twice", idClub,
                             pClub->GetName(), m_nClubTotal);
                    return false;
                }
                SetClubInTable(idClub, pClub);
            }
        }
    }

    // The European competitions' date and the cup and friendly fixtures.
    CDate europeanDate;
    if (!europeanDate.Read(reader) || (europeanDate.GetValue() != 0 && !europeanDate.IsValid())) {
        DebugLog(0, "[CDatabaseHandler::Load] The date of the European competitions is missing or invalid");
        reader.Fail();
        return false;
    }
    m_pEuropeanCups->SetSeasonDate(europeanDate);
    if (!ReadCount(reader, CCupFixturesDatabase::FILE_SIZE, "cup fixtures", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        auto* pFixture = new CCupFixturesDatabase;
        if (!pFixture->Load(reader)) {
            DebugLog(0, "[CDatabaseHandler::Load] Cup fixture %d of %d is refused", i + 1, nCount);
            delete pFixture;
            return false;
        }
        m_lstCupFixtures.AddTail(pFixture);
        ++m_nCupFixtureCount;
        // Only fixtures still to come bring the next cup date forward.
        if (pFixture->GetDate() >= m_GameDate)
            m_pEuropeanCups->LowerEarliestCupDate(pFixture->GetDate());
        ReportProgress(i + 1, nCount, STAGE_CUP_FIXTURES);
    }
    for (int nKind : kEuropeanFileKinds) {
        if (!m_pEuropeanCups->Load(reader, nKind)) {
            DebugLog(0, "[CDatabaseHandler::Load] The European record of kind %d is refused", nKind);
            return false;
        }
    }
    AttachCupFixturesToCups();

    // Markets, offers and deals waiting for their date.
    if (!ReadCount(reader, CListMarketEntry::FILE_SIZE, "transfer-list entries", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        auto* pEntry = new CListMarketEntry;
        if (!pEntry->Load(reader)) {
            delete pEntry;
            return false;
        }
        AddListMarketEntry(pEntry);
        ReportProgress(i + 1, nCount, STAGE_LIST_MARKET);
    }
    if (!ReadCount(reader, CLoanMarketEntry::FILE_SIZE, "loan market entries", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        auto* pEntry = new CLoanMarketEntry;
        if (!pEntry->Load(reader)) {
            delete pEntry;
            return false;
        }
        AddLoanMarketEntry(pEntry);
        ReportProgress(i + 1, nCount, STAGE_LOAN_MARKET);
    }
    if (!ReadCount(reader, CBuyOfferDatabase::FILE_SIZE, "buy offers", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        auto* pOffer = new CBuyOfferDatabase;
        if (!pOffer->Load(reader)) {
            delete pOffer;
            return false;
        }
        AddBuyOffer(pOffer);
        ReportProgress(i + 1, nCount, STAGE_BUY_OFFERS);
    }
    if (!ReadCount(reader, CLoanOfferDatabase::FILE_SIZE, "loan offers", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        auto* pOffer = new CLoanOfferDatabase;
        if (!pOffer->Load(reader)) {
            delete pOffer;
            return false;
        }
        AddLoanOffer(pOffer);
        ReportProgress(i + 1, nCount, STAGE_LOAN_OFFERS);
    }
    if (!ReadCount(reader, 4 + CBuyOfferDatabase::FILE_SIZE, "pending transfers", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        uint32_t dwDate = 0;
        reader.ReadU32(dwDate);
        auto* pOffer = new CBuyOfferDatabase;
        if (reader.Failed() || !pOffer->Load(reader)) {
            DebugLog(0, "[CDatabaseHandler::Load] Pending transfer %d of %d is refused", i + 1, nCount);
            delete pOffer;
            return false;
        }
        AddPendingTransfer(dwDate, pOffer);
        ReportProgress(i + 1, nCount, STAGE_PENDING_TRANSFERS);
    }

    // The pools of staff and managers without a club.
    if (!ReadCount16(reader, kStaffBytes, "pool staff", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        uint32_t dwId = 0;
        if (!PeekRecordValue(reader, kStaffIdOffset, 2, dwId) || !IsFreeStaffIdentifier(this, dwId)) {
            DebugLog(0, "[CDatabaseHandler::Load] Pool staff member %d has a used or empty identifier %u", i + 1, dwId);
            return false;
        }
        auto* pStaff = new CStaffDatabase(reader, nullptr, false);
        if (!pStaff->IsLoaded()) {
            DebugLog(0, "[CDatabaseHandler::Load] Pool staff member %d of %d is refused", i + 1, nCount);
            delete pStaff;
            return false;
        }
        ReportProgress(i + 1, nCount, STAGE_STAFF_POOL);
    }
    if (!ReadCount16(reader, kManagerMinBytes, "unemployed managers", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        uint32_t dwId = 0;
        if (!PeekRecordValue(reader, kManagerIdOffset, 2, dwId) || !IsFreeManagerIdentifier(this, dwId)) {
            DebugLog(0, "[CDatabaseHandler::Load] Unemployed manager %d has a used or empty identifier %u", i + 1,
                     dwId);
            return false;
        }
        auto* pManager = new CManagerDatabase(reader, nullptr, false);
        if (!pManager->IsLoaded()) {
            DebugLog(0, "[CDatabaseHandler::Load] Unemployed manager %d of %d is refused", i + 1, nCount);
            delete pManager;
            return false;
        }
        m_lstUnemployedManagers.AddTail(IdentifierValue(pManager->GetId()));
        ReportProgress(i + 1, nCount, STAGE_UNEMPLOYED_MANAGERS);
    }

    // Identifiers given back for reuse.
    if (!ReadCount(reader, 4, "free identifiers", nCount))
        return false;
    for (int32_t i = 0; i < nCount; ++i) {
        uint32_t dwIdentifier = 0;
        if (!reader.ReadU32(dwIdentifier))
            return false;
        AddFreeIdentifier(dwIdentifier);
    }

    AttachCupCalendars();

    uint32_t adwCounters[kIdentifierCounters] = {};
    for (uint32_t& dwCounter : adwCounters)
        reader.ReadU32(dwCounter);
    reader.ReadBytes(m_byGameSettings, sizeof(m_byGameSettings));
    reader.ReadU8(m_byCurrentHuman);
    if (reader.Failed()) {
        DebugLog(0, "[CDatabaseHandler::Load] The counters and settings at the end are cut short");
        return false;
    }
    for (int i = 0; i < kIdentifierCounters; ++i)
        SetIdentifierCounter(i, adwCounters[i]);
    if (m_byCurrentHuman >= HUMAN_SLOTS) {
        DebugLog(0, "[CDatabaseHandler::Load] The current human %u is not a slot", m_byCurrentHuman);
        return false;
    }
    if (reader.Remaining() != 0)
        DebugLog(1, "[CDatabaseHandler::Load] %lld bytes follow the world and are not read",
                 static_cast<long long>(reader.Remaining()));

    if (!LoadRetiredManagers() || !LoadRetiredStaff())
        return false;
    SortCupFixtures();
    return true;
}

// Identifiers that the records cannot check alone: the ones that name
// records of other lists, and the ones new records will be given next.
bool CDatabaseHandler::CheckWorldIdentifiers()
{
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                if (!GetGroundFromID(pClub->m_wHomeGroundId)) {
                    DebugLog(0, "[CDatabaseHandler::Load] Club %u (%s) plays at ground %u, which does not exist",
                             pClub->m_wClubId, pClub->GetName(), pClub->m_wHomeGroundId);
                    return false;
                }
            }
            for (const CDivisionFixturesDatabase* pFixture :
                 pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
                if (!GetClubFromID(pFixture->GetHomeClubID()) || !GetClubFromID(pFixture->GetAwayClubID())) {
                    DebugLog(0, "[CDatabaseHandler::Load] League fixture %u names club %u or %u, which do not exist",
                             pFixture->GetFixtureID(), pFixture->GetHomeClubID(), pFixture->GetAwayClubID());
                    return false;
                }
            }
        }
        for (const CCupFixturesDatabase* pFixture : pCountry->GetCupFixtures().Items<CCupFixturesDatabase>()) {
            if (!GetClubFromID(pFixture->GetHomeClubID()) || !GetClubFromID(pFixture->GetAwayClubID())) {
                DebugLog(0, "[CDatabaseHandler::Load] Cup fixture %u names club %u or %u, which do not exist",
                         pFixture->GetFixtureID(), pFixture->GetHomeClubID(), pFixture->GetAwayClubID());
                return false;
            }
        }
    }
    for (const CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>()) {
        if (!GetClubFromID(pFixture->GetHomeClubID()) || !GetClubFromID(pFixture->GetAwayClubID())) {
            DebugLog(0, "[CDatabaseHandler::Load] Cup fixture %u names club %u or %u, which do not exist",
                     pFixture->GetFixtureID(), pFixture->GetHomeClubID(), pFixture->GetAwayClubID());
            return false;
        }
    }

    // New people take the identifier after the last one issued: none may lie above it.
    for (int i = m_nPlayerCount; i < m_PlayerTable.GetSize(); ++i) {
        if (m_PlayerTable.GetAt(i)) {
            DebugLog(0, "[CDatabaseHandler::Load] Player %d lies above the %d identifiers issued", i + 1,
                     m_nPlayerCount);
            return false;
        }
    }
    for (int i = m_wNextManagerID; i < m_ManagerTable.GetSize(); ++i) {
        if (m_ManagerTable.GetAt(i)) {
            DebugLog(0, "[CDatabaseHandler::Load] Manager %d lies above the %d managers read", i, m_wNextManagerID - 1);
            return false;
        }
    }
    for (int i = m_wNextStaffID; i < m_StaffTable.GetSize(); ++i) {
        if (m_StaffTable.GetAt(i)) {
            DebugLog(0, "[CDatabaseHandler::Load] Staff member %d lies above the %d staff read", i, m_wNextStaffID - 1);
            return false;
        }
    }
    for (const CGroundDatabase* pGround : m_lstGrounds.Items<CGroundDatabase>()) {
        for (const CComponentDatabase* pComponent : pGround->GetComponents().Items<CComponentDatabase>()) {
            if (pComponent->GetID() >= m_dwGroundComponentID) {
                DebugLog(0, "[CDatabaseHandler::Load] Component %u of ground %u is not below the next identifier %u",
                         pComponent->GetID(), pGround->GetID(), m_dwGroundComponentID);
                return false;
            }
        }
    }
    for (const CListMarketEntry* pEntry : m_lstListMarket.Items<CListMarketEntry>()) {
        if (!GetPlayerInformation(pEntry->GetPlayerID())) {
            DebugLog(0, "[CDatabaseHandler::Load] The transfer list names player %u, who does not exist",
                     pEntry->GetPlayerID());
            return false;
        }
    }
    for (const CLoanMarketEntry* pEntry : m_lstLoanMarket.Items<CLoanMarketEntry>()) {
        if (!GetPlayerInformation(pEntry->GetPlayerID())) {
            DebugLog(0, "[CDatabaseHandler::Load] The loan market names player %u, who does not exist",
                     pEntry->GetPlayerID());
            return false;
        }
    }
    return true;
}

void CDatabaseHandler::AttachCupFixturesToCups()
{
    for (CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        pFixture->SetCup(GetCupFromCupNumber(pFixture->GetCupNumber()));
}

void CDatabaseHandler::SetupPointers()
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        pCountry->SetupPointers();
    for (CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        pFixture->SetupPointers(REFEREE_ASSIGNMENT_CUP);
}

// ---- saving ----

bool CDatabaseHandler::SaveToBytes(std::vector<uint8_t>& bytes)
{
    const int nSeason = m_pEuropeanCups ? m_pEuropeanCups->GetSeasonDate().GetYear() - 1 : 0;
    DebugLog(0, "[CDatabaseHandler::Save] Starting Save [Season %d]", nSeason);
    bytes.clear();
    bytes.reserve(m_nLastWorldBytes);
    // A world is over a million small fields: they are staged in blocks.
    CBinaryWriter writer(bytes, CBinaryWriter::Staged::Yes);
    const bool bWritten = SaveWorld(writer) && !writer.Failed();
    writer.Flush();
    if (!bWritten) {
        DebugLog(0, "[CDatabaseHandler::Save] The world could not be written whole");
        bytes.clear();
        return false;
    }
    m_nLastWorldBytes = bytes.size();
    return true;
}

bool CDatabaseHandler::Save(FILE* pFile)
{
    if (!pFile) {
        DebugLog(0, "[CDatabaseHandler::Save] No file to save to");
        return false;
    }
    std::vector<uint8_t>& bytes = m_worldBytes;
    if (!SaveToBytes(bytes))
        return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), pFile) != bytes.size() || std::fflush(pFile) != 0) {
        DebugLog(0, "[CDatabaseHandler::Save] The world could not be written whole");
        return false;
    }
    DebugLog(0, "[CDatabaseHandler::Save] Finished Save");
    return true;
}

bool CDatabaseHandler::SaveWorld(CBinaryWriter& writer)
{
    // Counts are those of the lists themselves, so that a count always
    // matches the records that follow it.
    m_GameDate.Write(writer);
    writer.WriteBytes(m_WorldBlock, WORLD_BLOCK_BYTES);

    int nDone = 0;
    int nCount = m_lstCountries.GetCount();
    writer.WriteI32(nCount);
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        if (!pCountry->Save(writer))
            return false;
        ReportProgress(++nDone, nCount, STAGE_COUNTRIES);
    }

    nDone = 0;
    nCount = m_lstGrounds.GetCount();
    writer.WriteI32(nCount);
    for (const CGroundDatabase* pGround : m_lstGrounds.Items<CGroundDatabase>()) {
        if (!pGround->Save(writer))
            return false;
        ReportProgress(++nDone, nCount, STAGE_GROUNDS);
    }

    nDone = 0;
    nCount = m_lstYouths.GetCount();
    writer.WriteI32(nCount);
    for (const CYouthDatabase* pYouth : m_lstYouths.Items<CYouthDatabase>()) {
        if (!pYouth->Save(writer))
            return false;
        ReportProgress(++nDone, nCount, STAGE_YOUTHS);
    }

    writer.WriteI32(m_nPlayerCount);
    m_pEuropeanCups->GetSeasonDate().Write(writer);

    nDone = 0;
    nCount = m_lstCupFixtures.GetCount();
    writer.WriteI32(nCount);
    for (const CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>()) {
        if (!pFixture->Save(writer))
            return false;
        ReportProgress(++nDone, nCount, STAGE_CUP_FIXTURES);
    }
    for (int nKind : kEuropeanFileKinds)
        if (!m_pEuropeanCups->Save(writer, nKind))
            return false;

    nDone = 0;
    nCount = m_lstListMarket.GetCount();
    writer.WriteI32(nCount);
    for (const CListMarketEntry* pEntry : m_lstListMarket.Items<CListMarketEntry>()) {
        pEntry->Save(writer);
        ReportProgress(++nDone, nCount, STAGE_LIST_MARKET);
    }
    nDone = 0;
    nCount = m_lstLoanMarket.GetCount();
    writer.WriteI32(nCount);
    for (const CLoanMarketEntry* pEntry : m_lstLoanMarket.Items<CLoanMarketEntry>()) {
        pEntry->Save(writer);
        ReportProgress(++nDone, nCount, STAGE_LOAN_MARKET);
    }
    nDone = 0;
    nCount = m_lstBuyOffers.GetCount();
    writer.WriteI32(nCount);
    for (const CBuyOfferDatabase* pOffer : m_lstBuyOffers.Items<CBuyOfferDatabase>()) {
        pOffer->Save(writer);
        ReportProgress(++nDone, nCount, STAGE_BUY_OFFERS);
    }
    nDone = 0;
    nCount = m_lstLoanOffers.GetCount();
    writer.WriteI32(nCount);
    for (const CLoanOfferDatabase* pOffer : m_lstLoanOffers.Items<CLoanOfferDatabase>()) {
        pOffer->Save(writer);
        ReportProgress(++nDone, nCount, STAGE_LOAN_OFFERS);
    }
    nDone = 0;
    nCount = m_lstPendingTransfers.GetCount();
    writer.WriteI32(nCount);
    for (const PENDINGTRANSFER* pPending : m_lstPendingTransfers.Items<PENDINGTRANSFER>()) {
        writer.WriteU32(pPending->dwDate);
        if (pPending->pOffer)
            pPending->pOffer->Save(writer);
        else
            CBuyOfferDatabase().Save(writer);
        ReportProgress(++nDone, nCount, STAGE_PENDING_TRANSFERS);
    }

    // The pools are written from their lists; a member that cannot be found
    // would leave the count wrong, so the file is refused instead.
    nCount = m_lstStaffPool.GetCount();
    if (nCount > 0xFFFF) {
        DebugLog(0, "[CDatabaseHandler::Save] The staff pool holds %d members, more than its count holds", nCount);
        return false;
    }
    writer.WriteU16(static_cast<uint16_t>(nCount));
    nDone = 0;
    for (const void* pValue : m_lstStaffPool.Items<void>()) {
        const CStaffDatabase* pStaff = GetStaffFromID(static_cast<ID_STAFF>(ValueIdentifier(pValue)));
        if (!pStaff) {
            DebugLog(0, "[CDatabaseHandler::Save] Pool staff member %u cannot be found", ValueIdentifier(pValue));
            return false;
        }
        pStaff->Save(writer);
        ReportProgress(++nDone, nCount, STAGE_STAFF_POOL);
    }
    nCount = m_lstUnemployedManagers.GetCount();
    if (nCount > 0xFFFF) {
        DebugLog(0, "[CDatabaseHandler::Save] The manager pool holds %d managers, more than its count holds", nCount);
        return false;
    }
    writer.WriteU16(static_cast<uint16_t>(nCount));
    nDone = 0;
    for (const void* pValue : m_lstUnemployedManagers.Items<void>()) {
        const CManagerDatabase* pManager = GetPoolManager(static_cast<ID_MANAGER>(ValueIdentifier(pValue)));
        if (!pManager) {
            DebugLog(0, "[CDatabaseHandler::Save] Unemployed manager %u cannot be found", ValueIdentifier(pValue));
            return false;
        }
        pManager->Save(writer);
        ReportProgress(++nDone, nCount, STAGE_UNEMPLOYED_MANAGERS);
    }

    writer.WriteI32(m_lstFreeIdentifiers.GetCount());
    for (const uint32_t* pIdentifier : m_lstFreeIdentifiers.Items<uint32_t>())
        writer.WriteU32(*pIdentifier);
    for (int i = 0; i < kIdentifierCounters; ++i)
        writer.WriteU32(GetIdentifierCounter(i));
    writer.WriteBytes(m_byGameSettings, sizeof(m_byGameSettings));
    bool abOccupied[HUMAN_SLOTS] = {};
    for (int i = 0; i < HUMAN_SLOTS; ++i)
        abOccupied[i] = m_pHumanSlots[i] != nullptr;
    writer.WriteU8(PackHumanIndex(abOccupied, m_byCurrentHuman));
    return !writer.Failed();
}
