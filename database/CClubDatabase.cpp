#include "database/CClubDatabase.h"

#include "common/TextField.h"
#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "database/RecordPeek.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "season/CTrainingManager.h"

#include <cstdint>
#include <cstring>

CDatabaseHandler* CClubDatabase::m_pDatabaseHandler = nullptr;

const int g_anClubStaffPlaces[CLUB_STAFF_KINDS] = {6, 4, 4, 3, 3, 3};

namespace {

constexpr int kStaffSlotWords = 23;
constexpr uint64_t kStaffRecordBytes = 40;
constexpr uint64_t kManagerRecordBytes = 48;
// Person block, player block and the match-information count.
constexpr uint64_t kPlayerRecordMinBytes = 92 + 144 + 1;
// Person block and youth block.
constexpr uint64_t kYouthRecordMinBytes = 92 + 12;

// The order in which the cup-entry flags are turned into entries.
const CLUBCUPENTRY kCupEntries[CLUB_CUP_ENTRY_KINDS] = {
    {0x0800, true, 3, 1, REASON_LOAD, 0, false},
    {0x0400, false, 3, 1, REASON_EUROPEAN_CUP, 0, false},
    {0x0001, true, 1, 1, REASON_LOAD, 1, false},
    {0x0002, true, 1, 2, REASON_LOAD, 2, false},
    {0x0004, true, 1, 3, REASON_LOAD, 3, false},
    {0x0008, true, 1, 4, REASON_LOAD, 4, false},
    {0x0200, true, 1, 4, REASON_LOAD, 0, false},
    {0x0010, true, 0, 1, REASON_LOAD, 1, false},
    {0x0020, true, 0, 2, REASON_LOAD, 2, false},
    {0x0040, true, 0, 1, REASON_LOAD, 1, true},
    {0x0080, true, 0, 2, REASON_LOAD, 2, true},
};
// 0x0100 enters the second round of kind 0 without a counter; kept apart so
// that the table above stays in the order the entries are made.
const CLUBCUPENTRY kLastCupEntry = {0x0100, true, 0, 2, REASON_LOAD, 0, false};

// The values of the fixed record that follow from the club's lists: counts
// on file, the staff places as words, and the names as whole fields.
struct CLUBFILEVALUES {
    uint32_t dwStaffCount = 0;
    uint32_t adwStaffSlots[kStaffSlotWords] = {};
    uint32_t dwPlayerCount = 0;
    uint32_t dwYouthCount = 0;
    uint32_t dwLoanInCount = 0;
    uint32_t dwFutureCount = 0;
    uint32_t dwReceiptCount = 0;
    uint32_t dwPendingCount = 0;
    uint16_t wScoutCount = 0;
    char szName[CLUB_NAME_BYTES] = {};
    char szShortName[CLUB_SHORT_NAME_BYTES] = {};
};

// One description of the fixed record serves both directions.
class RecordIn {
public:
    explicit RecordIn(CBinaryReader& reader) : m_reader(reader) {}
    void U8(uint8_t& v) { m_reader.ReadU8(v); }
    void I8(int8_t& v) { m_reader.ReadI8(v); }
    void U16(uint16_t& v) { m_reader.ReadU16(v); }
    void U32(uint32_t& v) { m_reader.ReadU32(v); }
    void I32(int32_t& v) { m_reader.ReadI32(v); }
    void Bytes(void* p, size_t n) { m_reader.ReadBytes(p, n); }
    void Reserved(size_t n) { m_reader.Skip(n); }

private:
    CBinaryReader& m_reader;
};

class RecordOut {
public:
    explicit RecordOut(CBinaryWriter& writer) : m_writer(writer) {}
    void U8(const uint8_t& v) { m_writer.WriteU8(v); }
    void I8(const int8_t& v) { m_writer.WriteI8(v); }
    void U16(const uint16_t& v) { m_writer.WriteU16(v); }
    void U32(const uint32_t& v) { m_writer.WriteU32(v); }
    void I32(const int32_t& v) { m_writer.WriteI32(v); }
    void Bytes(const void* p, size_t n) { m_writer.WriteBytes(p, n); }
    void Reserved(size_t n) { m_writer.WriteZeros(n); }

private:
    CBinaryWriter& m_writer;
};

template <typename IO, typename Row>
void ExchangeRow(IO& io, Row& row)
{
    io.U8(row.byGoalsAgainst);
    io.U8(row.byDrawn);
    io.U8(row.byGoalsFor);
    io.U8(row.byLost);
    io.U8(row.byPlayed);
    io.U8(row.byWon);
}

template <typename IO, typename Attendance>
void ExchangeAttendance(IO& io, Attendance& a)
{
    io.I32(a.nAverage);
    io.I32(a.nHighest);
    io.I32(a.nLowest);
    io.U16(a.wHighestOpponent);
    io.U16(a.wLowestOpponent);
}

template <typename IO, typename Entry>
void ExchangeRecordSlots(IO& io, Entry* pEntries)
{
    for (int i = 0; i < CLUB_RECORD_SLOTS; ++i) {
        io.I32(pEntries[i].nData1);
        io.I32(pEntries[i].nData2);
        io.I32(pEntries[i].nMeasure);
    }
}

// The 936-byte record, offset by offset. C is the club (const when saving),
// V the values that come from its lists.
template <typename IO, typename C, typename V>
void ExchangeRecord(IO& io, C& c, V& v)
{
    for (auto& slot : c.m_aCupStatus) {  // 0
        io.U8(slot.byStage);
        io.U8(slot.byRound);
    }
    io.Bytes(c.m_abyResultRuns, sizeof(c.m_abyResultRuns));              // 14
    io.Bytes(c.m_abySeasonStatistics, sizeof(c.m_abySeasonStatistics));  // 32
    io.Bytes(c.m_abyStatistics, sizeof(c.m_abyStatistics));              // 64
    io.I32(c.m_nSeasonResult);                                           // 96
    io.U16(c.m_wSeasonResult);
    io.I32(c.m_nRecordResult);  // 102
    io.U16(c.m_wRecordResult);
    for (auto& fee : c.m_aFeeRecords) {  // 108
        io.I32(fee.idPlayer);
        io.I32(fee.idClub);
        io.I32(fee.nAmount);
    }
    ExchangeRecordSlots(io, c.m_aClubRecords);        // 156
    ExchangeRecordSlots(io, c.m_aSeasonClubRecords);  // 336
    ExchangeAttendance(io, c.m_SeasonAttendance);     // 516
    ExchangeAttendance(io, c.m_RecordAttendance);     // 532
    io.Bytes(c.m_abyBestRuns, sizeof(c.m_abyBestRuns));  // 548
    io.Reserved(1);
    io.U16(c.m_wManagerId);  // 558
    io.I32(c.m_nSquadValue);
    io.I32(c.m_nYouthValue);
    io.I32(c.m_nSeasonCounter1);
    io.I32(c.m_nSeasonCounter4);
    io.Reserved(4);
    io.I32(c.m_nLoan);  // 580
    io.I32(c.m_nLoanRepaid);
    io.I32(c.m_nLoanInstalment);
    io.I32(c.m_nOverdraft);
    io.I32(c.m_nBankBalance);
    io.I32(c.m_nPreviousBalance);
    for (auto& n : c.m_anFinanceAccumulators)  // 604
        io.I32(n);
    for (auto& dw : v.adwStaffSlots)  // 664
        io.U32(dw);
    io.U32(v.dwStaffCount);  // 756
    io.U32(v.dwPlayerCount);
    io.U32(v.dwYouthCount);
    io.U32(v.dwLoanInCount);
    io.U32(v.dwFutureCount);
    io.U32(v.dwReceiptCount);
    io.U32(v.dwPendingCount);
    for (auto& n : c.m_anClubValues)  // 784
        io.I32(n);
    io.U16(v.wScoutCount);  // 804
    io.U16(c.m_wCupEntryFlags);
    io.U16(c.m_wLoanWord);
    io.U16(c.m_wClubId);  // 810
    io.U16(c.m_wHomeGroundId);
    io.U16(c.m_awResultTotals[0]);
    io.U16(c.m_awResultTotals[1]);
    io.U16(c.m_wSeasonCounter2);
    io.U16(c.m_wSeasonCounter3);
    io.Bytes(v.szName, sizeof(v.szName));            // 822
    io.Bytes(v.szShortName, sizeof(v.szShortName));  // 853
    io.I8(c.m_nFanConfidence);                       // 875
    io.I8(c.m_nBoardConfidence);
    ExchangeRow(io, c.m_AwayRow);  // 877
    io.U8(c.m_byLeaguePosition);
    io.U8(c.m_byDivisionId);
    io.U8(c.m_byBestPosition);
    ExchangeRow(io, c.m_HomeRow);  // 886
    io.U8(c.m_byWorstPosition);
    io.U8(c.m_byPoints);
    io.U8(c.m_byPreviousPosition);
    io.Bytes(c.m_abyLatitude, sizeof(c.m_abyLatitude));  // 895
    io.Bytes(c.m_abyLongitude, sizeof(c.m_abyLongitude));
    io.U8(c.m_byFormation);                                // 901
    io.Bytes(c.m_abyAttributes, sizeof(c.m_abyAttributes));  // 902
    io.U8(c.m_byTargetKind);                               // 914
    io.U8(c.m_byTargetPosition);
    io.U8(c.m_byTargetDivision);
    io.U8(c.m_byFinancialStability);
    io.Reserved(1);
    io.U8(c.m_byReputation);  // 919
    io.U8(c.m_abyStaffAverages[0]);
    io.U8(c.m_abyStaffAverages[1]);
    io.Reserved(1);
    io.U8(c.m_byLoanByte);  // 923
    io.U8(c.m_byInstalmentsLeft);
    io.U8(c.m_byOverdraftActive);
    io.U8(c.m_byOverdraftRunsLeft);
    io.U8(c.m_bySupportLevel);
    io.U8(c.m_bySupportExtra);
    io.U8(c.m_byPitchCondition);
    io.U8(c.m_byGroundOwnership);  // 930
    io.U8(c.m_byStatusA);
    io.U8(c.m_byStatusB);
    io.U8(c.m_bySeasonLoans);
    io.I8(c.m_nSeasonMarker);
    io.U8(c.m_byTransferTargetCount);  // 935
}

// Copies a name into its whole field: the text, then zeros.
void FillNameField(char* pField, size_t nField, const char* pszName)
{
    CopyTextField(pField, nField, pszName);
}

void* StaffValue(ID_STAFF idStaff)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(idStaff));
}

ID_STAFF StaffFromValue(const void* pValue)
{
    return static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
}

}  // namespace

CClubDatabase::CClubDatabase()
{
    m_TransferTargets.SetSize(0, 5);
}

CClubDatabase::~CClubDatabase()
{
    FreePeople();
    FreeLists();
}

void CClubDatabase::FreePeople()
{
    // Staff and the manager are owned through their identifiers; their table
    // entries are cleared so that nothing points at a freed record.
    if (m_pDatabaseHandler) {
        while (!m_lstStaff.IsEmpty()) {
            const ID_STAFF idStaff = StaffFromValue(m_lstStaff.RemoveHead());
            LPITEMSTAFFINFORMATION pEntry = m_pDatabaseHandler->GetStaffInformation(idStaff);
            if (pEntry && !(pEntry->dwFlags & STAFFINFO_RETIRED) && pEntry->pStaff &&
                pEntry->pStaff->m_pClub == this) {
                delete pEntry->pStaff;
                pEntry->pStaff = nullptr;
                pEntry->dwFlags = 0;
            }
        }
        LPITEMMANAGERINFORMATION pEntry = m_pDatabaseHandler->GetManagerInformation(m_wManagerId);
        if (pEntry && pEntry->byState == MANAGERSTATE_EMPLOYED && pEntry->pManager &&
            pEntry->pManager->m_pClub == this) {
            delete pEntry->pManager;
            pEntry->pManager = nullptr;
            pEntry->byState = 0;
        }
    }
    m_lstStaff.RemoveAll();
    for (CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        delete pPlayer;
    m_lstPlayers.RemoveAll();
    for (CYouthDatabase* pYouth : m_lstYouths.Items<CYouthDatabase>())
        delete pYouth;
    m_lstYouths.RemoveAll();
    m_lstLoanIns.RemoveAll();
    m_PendingLoanIns.clear();
}

void CClubDatabase::FreeLists()
{
    for (CLUBFUTUREPAYMENT* p : m_lstFuturePayments.Items<CLUBFUTUREPAYMENT>())
        delete p;
    m_lstFuturePayments.RemoveAll();
    for (CLUBFUTUREPAYMENT* p : m_lstPaymentReceipts.Items<CLUBFUTUREPAYMENT>())
        delete p;
    m_lstPaymentReceipts.RemoveAll();
    for (CLUBPENDINGPAYMENT* p : m_lstPendingPayments.Items<CLUBPENDINGPAYMENT>())
        delete p;
    m_lstPendingPayments.RemoveAll();
    for (CLUBSCOUTQUERY* p : m_lstScoutQueries.Items<CLUBSCOUTQUERY>())
        delete p;
    m_lstScoutQueries.RemoveAll();
    for (int i = 0; i < m_TransferTargets.GetSize(); ++i)
        delete static_cast<CLUBTRANSFERTARGET*>(m_TransferTargets.GetAt(i));
    m_TransferTargets.SetSize(0);
}

void CClubDatabase::SetName(const char* pszName)
{
    FillNameField(m_szName, sizeof(m_szName), pszName ? pszName : "");
}

void CClubDatabase::SetShortName(const char* pszShortName)
{
    FillNameField(m_szShortName, sizeof(m_szShortName), pszShortName ? pszShortName : "");
}

// ---- file form ----

bool CClubDatabase::Load(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision)
{
    m_pCountry = pCountry;
    m_pDivision = pDivision;

    CLUBFILEVALUES values;
    RecordIn in(reader);
    ExchangeRecord(in, *this, values);
    if (reader.Failed()) {
        DebugLog(0, "[CClubDatabase::Load] The club record is cut short");
        return false;
    }
    // Names end within their fields; what lies behind the end is not kept.
    values.szName[CLUB_NAME_BYTES - 1] = '\0';
    values.szShortName[CLUB_SHORT_NAME_BYTES - 1] = '\0';
    SetName(values.szName);
    SetShortName(values.szShortName);

    const char* pszProblem = nullptr;
    if (m_wClubId == 0)
        pszProblem = "club id";
    else if (m_byGroundOwnership > CLUB_GROUND_SHARED)
        pszProblem = "ground ownership";
    else if (m_byReputation > 100)
        pszProblem = "reputation";
    else if (m_bySupportLevel > 99)
        pszProblem = "support level";
    if (pszProblem) {
        DebugLog(0, "[CClubDatabase::Load] Club %u (%s) has an invalid %s", m_wClubId, m_szName, pszProblem);
        reader.Fail();
        return false;
    }

    // Every count must be met by the bytes that follow before anything is built.
    const uint64_t nListBytes = static_cast<uint64_t>(values.dwLoanInCount) * 4 +
                                static_cast<uint64_t>(values.dwFutureCount) * 16 +
                                static_cast<uint64_t>(values.dwReceiptCount) * 16 +
                                static_cast<uint64_t>(values.dwPendingCount) * 12 +
                                static_cast<uint64_t>(values.wScoutCount) * 8 +
                                static_cast<uint64_t>(m_byTransferTargetCount) * 16;
    const uint64_t nPeopleBytes = static_cast<uint64_t>(values.dwStaffCount) * kStaffRecordBytes +
                                  static_cast<uint64_t>(values.dwPlayerCount) * kPlayerRecordMinBytes +
                                  static_cast<uint64_t>(values.dwYouthCount) * kYouthRecordMinBytes +
                                  (m_wManagerId ? kManagerRecordBytes : 0);
    if (!reader.CheckCount(1, nListBytes + nPeopleBytes)) {
        DebugLog(0, "[CClubDatabase::Load] Club %u (%s) counts more records than the file holds", m_wClubId,
                 m_szName);
        return false;
    }

    // Staff.
    for (uint32_t i = 0; i < values.dwStaffCount; ++i) {
        uint32_t dwId = 0;
        if (!PeekRecordValue(reader, 16, 2, dwId) || dwId == 0 ||
            !IsFreeStaffIdentifier(m_pDatabaseHandler, dwId)) {
            DebugLog(0, "[CClubDatabase::Load] Club %u has a staff member with a used or empty identifier %u",
                     m_wClubId, dwId);
            reader.Fail();
            return false;
        }
        auto* pStaff = new CStaffDatabase(reader, this, false);
        if (!pStaff->IsLoaded()) {
            delete pStaff;
            DebugLog(0, "[CClubDatabase::Load] Club %u has a damaged staff record", m_wClubId);
            return false;
        }
        m_lstStaff.AddTail(StaffValue(pStaff->GetId()));
    }

    // Squad.
    std::memset(m_abyPlayersByPosition, 0, sizeof(m_abyPlayersByPosition));
    std::memset(m_abyYouthByPosition, 0, sizeof(m_abyYouthByPosition));
    std::memset(m_abyPlayersByGroup, 0, sizeof(m_abyPlayersByGroup));
    std::memset(m_abyYouthByGroup, 0, sizeof(m_abyYouthByGroup));
    m_nPlayerCount = m_nYouthCount = 0;
    for (uint32_t i = 0; i < values.dwPlayerCount; ++i) {
        uint32_t dwId = 0;
        if (!PeekRecordValue(reader, 16, 4, dwId) || !IsFreePersonIdentifier(m_pDatabaseHandler, dwId)) {
            DebugLog(0, "[CClubDatabase::Load] Club %u has a player with a used or empty identifier %u", m_wClubId,
                     dwId);
            reader.Fail();
            return false;
        }
        auto* pPlayer = new CPlayerDatabase(reader, pCountry, pDivision, this, false);
        if (!pPlayer->IsLoaded()) {
            delete pPlayer;
            DebugLog(0, "[CClubDatabase::Load] Club %u has a damaged player record", m_wClubId);
            return false;
        }
        m_lstPlayers.AddTail(pPlayer);
        ++m_nPlayerCount;
        CountPlayer(pPlayer->m_byRole, pPlayer->m_byPosition, 1, false);
    }

    // Youth squad.
    for (uint32_t i = 0; i < values.dwYouthCount; ++i) {
        uint32_t dwId = 0;
        if (!PeekRecordValue(reader, 16, 4, dwId) || !IsFreePersonIdentifier(m_pDatabaseHandler, dwId)) {
            DebugLog(0, "[CClubDatabase::Load] Club %u has a youth with a used or empty identifier %u", m_wClubId,
                     dwId);
            reader.Fail();
            return false;
        }
        auto* pYouth = new CYouthDatabase(reader, pCountry, pDivision, this);
        if (!pYouth->IsLoaded()) {
            delete pYouth;
            DebugLog(0, "[CClubDatabase::Load] Club %u has a damaged youth record", m_wClubId);
            return false;
        }
        m_lstYouths.AddTail(pYouth);
        ++m_nYouthCount;
        CountPlayer(pYouth->m_byRole, pYouth->m_byPosition, 1, true);
    }

    // Loan-ins stay identifiers until SetupPointers.
    m_PendingLoanIns.clear();
    for (uint32_t i = 0; i < values.dwLoanInCount; ++i) {
        uint32_t dwId = 0;
        if (!reader.ReadU32(dwId))
            return false;
        if (dwId == 0 || dwId > PERSON_ID_LIMIT) {
            DebugLog(0, "[CClubDatabase::Load] Club %u names a loaned-in player %u that cannot exist", m_wClubId,
                     dwId);
            reader.Fail();
            return false;
        }
        m_PendingLoanIns.push_back(dwId);
    }
    m_nLoanInCount = static_cast<int32_t>(m_PendingLoanIns.size());
    LogSquadDiagnostics(20);

    // Manager: his own record must carry the club's manager id.
    const ID_MANAGER idManager = m_wManagerId;
    m_wManagerId = 0;
    if (idManager != 0) {
        uint32_t dwId = 0;
        if (!PeekRecordValue(reader, 0, 2, dwId) || dwId != idManager ||
            !IsFreeManagerIdentifier(m_pDatabaseHandler, idManager)) {
            DebugLog(0, "[CClubDatabase::Load] Club %u names manager %u but the record that follows is %u",
                     m_wClubId, idManager, dwId);
            reader.Fail();
            return false;
        }
        auto* pManager = new CManagerDatabase(reader, this, false);
        if (!pManager->IsLoaded()) {
            delete pManager;
            DebugLog(0, "[CClubDatabase::Load] Club %u has a damaged manager record", m_wClubId);
            return false;
        }
        // Attached at once so that the club frees him from here on.
        pManager->m_pClub = this;
        m_wManagerId = idManager;
        const bool bNotify = m_pDatabaseHandler && m_pDatabaseHandler->IsCountingEuropeanPlaces();
        if (bNotify)
            SetManager(idManager, true);
    }

    // Payments, queries and transfer targets.
    for (uint32_t i = 0; i < values.dwFutureCount; ++i) {
        auto* p = new CLUBFUTUREPAYMENT;
        reader.ReadBytes(p->abyData, sizeof(p->abyData));
        m_lstFuturePayments.AddTail(p);
    }
    m_nFuturePaymentCount = static_cast<int32_t>(values.dwFutureCount);
    for (uint32_t i = 0; i < values.dwReceiptCount; ++i) {
        auto* p = new CLUBFUTUREPAYMENT;
        reader.ReadBytes(p->abyData, sizeof(p->abyData));
        m_lstPaymentReceipts.AddTail(p);
    }
    for (uint32_t i = 0; i < values.dwPendingCount; ++i) {
        auto* p = new CLUBPENDINGPAYMENT;
        reader.ReadU32(p->idPlayer);
        reader.ReadU32(p->adwFields[0]);
        reader.ReadU32(p->adwFields[1]);
        m_lstPendingPayments.AddTail(p);
    }
    m_nPendingPaymentCount = static_cast<int32_t>(values.dwPendingCount);
    for (uint32_t i = 0; i < values.wScoutCount; ++i) {
        auto* p = new CLUBSCOUTQUERY;
        uint32_t dwStaff = 0;
        reader.ReadU32(dwStaff);
        reader.ReadU32(p->dwField);
        p->idStaff = static_cast<ID_STAFF>(dwStaff);
        m_lstScoutQueries.AddTail(p);
        if (dwStaff > 0xFFFF) {
            DebugLog(0, "[CClubDatabase::Load] Club %u has a scout query for staff %u", m_wClubId, dwStaff);
            reader.Fail();
        }
    }
    m_wScoutQueryCount = values.wScoutCount;
    for (int i = 0; i < m_byTransferTargetCount; ++i) {
        auto* p = new CLUBTRANSFERTARGET;
        reader.ReadBytes(p->abyData, sizeof(p->abyData));
        m_TransferTargets.SetAtGrow(i, p);
    }
    if (reader.Failed()) {
        DebugLog(0, "[CClubDatabase::Load] The lists of club %u are cut short", m_wClubId);
        return false;
    }

    // Staff places: each named member must be one of the club's staff. The
    // manager may put a member in a place of another kind (he then works
    // there at a fraction of his rating).
    int nWord = 0;
    for (int k = 0; k < CLUB_STAFF_KINDS; ++k) {
        for (int p = 0; p < CLUB_STAFF_PLACES; ++p) {
            m_awStaffSlots[k][p] = 0;
            if (p >= g_anClubStaffPlaces[k])
                continue;
            const uint32_t dwId = values.adwStaffSlots[nWord++];
            if (dwId == 0)
                continue;
            const CStaffDatabase* pStaff =
                dwId <= 0xFFFF && HasStaff(static_cast<ID_STAFF>(dwId)) && m_pDatabaseHandler
                    ? m_pDatabaseHandler->GetStaffFromID(static_cast<ID_STAFF>(dwId))
                    : nullptr;
            if (!pStaff) {
                DebugLog(0, "[CClubDatabase::Load] Club %u places staff %u that it does not employ (kind %d)",
                         m_wClubId, dwId, k);
                reader.Fail();
                return false;
            }
            m_awStaffSlots[k][p] = static_cast<ID_STAFF>(dwId);
        }
    }

    UpdateSquadAverages();
    m_byLoadMarker = 0;
    return true;
}

bool CClubDatabase::Save(CBinaryWriter& writer) const
{
    CLUBFILEVALUES values;
    values.dwStaffCount = static_cast<uint32_t>(m_lstStaff.GetCount());
    int nWord = 0;
    for (int k = 0; k < CLUB_STAFF_KINDS; ++k)
        for (int p = 0; p < g_anClubStaffPlaces[k]; ++p)
            values.adwStaffSlots[nWord++] = m_awStaffSlots[k][p];
    values.dwPlayerCount = static_cast<uint32_t>(m_lstPlayers.GetCount());
    values.dwYouthCount = static_cast<uint32_t>(m_lstYouths.GetCount());
    const bool bPendingLoanIns = m_lstLoanIns.IsEmpty() && !m_PendingLoanIns.empty();
    values.dwLoanInCount =
        static_cast<uint32_t>(bPendingLoanIns ? m_PendingLoanIns.size() : static_cast<size_t>(m_lstLoanIns.GetCount()));
    values.dwFutureCount = static_cast<uint32_t>(m_lstFuturePayments.GetCount());
    values.dwReceiptCount = static_cast<uint32_t>(m_lstPaymentReceipts.GetCount());
    values.dwPendingCount = static_cast<uint32_t>(m_lstPendingPayments.GetCount());
    values.wScoutCount = static_cast<uint16_t>(m_lstScoutQueries.GetCount());
    FillNameField(values.szName, sizeof(values.szName), m_szName);
    FillNameField(values.szShortName, sizeof(values.szShortName), m_szShortName);

    // The manager's record is written only when he can be found.
    const CManagerDatabase* pManager = GetManager();
    const CClubDatabase& self = *this;
    RecordOut out(writer);
    if (m_wManagerId != 0 && !pManager) {
        DebugLog(0, "[CClubDatabase::Save] Club %u names manager %u who cannot be found", m_wClubId, m_wManagerId);
        return false;
    }
    ExchangeRecord(out, self, values);

    for (const void* pValue : m_lstStaff.Items<void>()) {
        const CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(StaffFromValue(pValue))
                                                          : nullptr;
        if (!pStaff) {
            DebugLog(0, "[CClubDatabase::Save] Club %u employs staff %u who cannot be found", m_wClubId,
                     StaffFromValue(pValue));
            return false;
        }
        pStaff->Save(writer);
    }
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        pPlayer->Save(writer);
    for (const CYouthDatabase* pYouth : m_lstYouths.Items<CYouthDatabase>())
        pYouth->Save(writer);
    if (bPendingLoanIns) {
        for (ID_PLAYER id : m_PendingLoanIns)
            writer.WriteU32(id);
    } else {
        for (const CPlayerDatabase* pPlayer : m_lstLoanIns.Items<CPlayerDatabase>())
            writer.WriteU32(pPlayer->m_idPerson);
    }
    if (pManager)
        pManager->Save(writer);
    for (const CLUBFUTUREPAYMENT* p : m_lstFuturePayments.Items<CLUBFUTUREPAYMENT>())
        writer.WriteBytes(p->abyData, sizeof(p->abyData));
    for (const CLUBFUTUREPAYMENT* p : m_lstPaymentReceipts.Items<CLUBFUTUREPAYMENT>())
        writer.WriteBytes(p->abyData, sizeof(p->abyData));
    for (const CLUBPENDINGPAYMENT* p : m_lstPendingPayments.Items<CLUBPENDINGPAYMENT>()) {
        writer.WriteU32(p->pPlayer ? p->pPlayer->m_idPerson : p->idPlayer);
        writer.WriteU32(p->adwFields[0]);
        writer.WriteU32(p->adwFields[1]);
    }
    for (const CLUBSCOUTQUERY* p : m_lstScoutQueries.Items<CLUBSCOUTQUERY>()) {
        writer.WriteU32(p->pStaff ? p->pStaff->GetId() : p->idStaff);
        writer.WriteU32(p->dwField);
    }
    for (int i = 0; i < m_byTransferTargetCount; ++i) {
        const auto* p = static_cast<const CLUBTRANSFERTARGET*>(m_TransferTargets.GetAt(i));
        if (p)
            writer.WriteBytes(p->abyData, sizeof(p->abyData));
        else
            writer.WriteZeros(sizeof(CLUBTRANSFERTARGET::abyData));
    }
    return !writer.Failed();
}

void CClubDatabase::SetupPointers()
{
    if (!m_pDatabaseHandler)
        return;
    // Loan-ins: an identifier that names no player is dropped, not kept as a
    // null entry that every walk of the list would have to step round.
    if (!m_PendingLoanIns.empty()) {
        m_lstLoanIns.RemoveAll();
        for (ID_PLAYER id : m_PendingLoanIns) {
            if (CPlayerDatabase* pPlayer = m_pDatabaseHandler->GetPlayerFromID(id))
                m_lstLoanIns.AddTail(pPlayer);
            else
                DebugLog(1, "[CClubDatabase::SetupPointers] Club %u: loaned-in player %u not found", m_wClubId, id);
        }
        m_PendingLoanIns.clear();
        m_nLoanInCount = m_lstLoanIns.GetCount();
    }
    for (CLUBPENDINGPAYMENT* p : m_lstPendingPayments.Items<CLUBPENDINGPAYMENT>()) {
        p->pPlayer = m_pDatabaseHandler->GetPlayerFromID(p->idPlayer);
        if (!p->pPlayer)
            DebugLog(1, "[CClubDatabase::SetupPointers] Club %u: payment to unknown player %u", m_wClubId,
                     p->idPlayer);
    }
    for (CLUBSCOUTQUERY* p : m_lstScoutQueries.Items<CLUBSCOUTQUERY>()) {
        p->pStaff = m_pDatabaseHandler->GetStaffFromID(p->idStaff);
        if (!p->pStaff)
            DebugLog(1, "[CClubDatabase::SetupPointers] Club %u: scout query of unknown staff %u", m_wClubId,
                     p->idStaff);
    }

    m_pGround = m_pDatabaseHandler->GetGroundFromID(m_wHomeGroundId);
    if (!m_pGround)
        DebugLog(0, "[CClubDatabase::SetupPointers] Club %u (%s): ground %u not found", m_wClubId, m_szName,
                 m_wHomeGroundId);
    if (m_byGroundOwnership != CLUB_GROUND_RENTED && m_pGround)
        m_pGround->SetOwner(this);

    // The owner that shares its ground looks for its tenant itself: the first
    // club of its country, by identifier, that rents the same ground.
    m_pTenant = nullptr;
    if (m_byGroundOwnership != CLUB_GROUND_SHARED)
        return;
    const int nClubs = m_pDatabaseHandler->GetClubTotal();
    for (int id = 1; id <= nClubs; ++id) {
        CClubDatabase* pOther = m_pDatabaseHandler->GetClubFromID(static_cast<ID_CLUB>(id));
        if (pOther && pOther != this && pOther->m_pCountry == m_pCountry &&
            pOther->m_wHomeGroundId == m_wHomeGroundId && pOther->m_byGroundOwnership == CLUB_GROUND_RENTED) {
            m_pTenant = pOther;
            return;
        }
    }
}

// ---- cup entries ----

const CLUBCUPENTRY* CClubDatabase::GetCupEntryTable()
{
    return kCupEntries;
}

int CClubDatabase::GetCupEntries(CLUBCUPENTRY aEntries[CLUB_CUP_ENTRY_KINDS]) const
{
    int n = 0;
    for (const CLUBCUPENTRY& entry : kCupEntries)
        if (m_wCupEntryFlags & entry.wFlag)
            aEntries[n++] = entry;
    // The table holds ten of the eleven flags in order; 0x0100 comes last.
    if ((m_wCupEntryFlags & kLastCupEntry.wFlag) && n < CLUB_CUP_ENTRY_KINDS)
        aEntries[n++] = kLastCupEntry;
    return n;
}

// ---- squad bookkeeping ----

void CClubDatabase::CountPlayer(int nRole, int nPosition, int nStep, bool bYouth)
{
    uint8_t* pByPosition = bYouth ? m_abyYouthByPosition : m_abyPlayersByPosition;
    uint8_t* pByGroup = bYouth ? m_abyYouthByGroup : m_abyPlayersByGroup;
    if (nRole >= 0 && nRole < CLUB_POSITION_SLOTS)
        pByPosition[nRole] = static_cast<uint8_t>(pByPosition[nRole] + nStep);
    if (nPosition >= 0 && nPosition < CLUB_POSITION_GROUPS)
        pByGroup[nPosition] = static_cast<uint8_t>(pByGroup[nPosition] + nStep);
}

void CClubDatabase::AddPlayer(CPlayerDatabase* pPlayer, bool)
{
    if (!pPlayer)
        return;
    if (m_lstPlayers.GetCount() >= CLUB_SQUAD_LIMIT)
        DebugLog(0, "[CClubDatabase::AddPlayer] Too many players in club - %s", m_szName);
    m_lstPlayers.AddTail(pPlayer);
    ++m_nPlayerCount;
    pPlayer->m_pCountry = m_pCountry;
    pPlayer->m_pDivision = m_pDivision;
    pPlayer->m_pClub = this;
    pPlayer->SetClubId(m_wClubId);
    CountPlayer(pPlayer->m_byRole, pPlayer->m_byPosition, 1, false);
    if (CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr)
        pHuman->GetTrainingManager().AddPlayerEntry(pPlayer->m_idPerson);
}

bool CClubDatabase::RemovePlayer(CPlayerDatabase* pPlayer, bool)
{
    LPXLISTNODE pNode = pPlayer ? m_lstPlayers.Find(pPlayer) : nullptr;
    if (!pNode) {
        DebugLog(0, "[CClubDatabase::RemovePlayer] Unable to Find the Player on Club's Player list");
        return false;
    }
    pPlayer->m_pCountry = nullptr;
    pPlayer->m_pDivision = nullptr;
    pPlayer->m_pClub = nullptr;
    pPlayer->SetClubId(0);
    m_lstPlayers.Remove(pNode);
    --m_nPlayerCount;
    CountPlayer(pPlayer->m_byRole, pPlayer->m_byPosition, -1, false);
    if (CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr)
        pHuman->GetTrainingManager().RemovePlayerEntry(pPlayer->m_idPerson);
    return true;
}

void CClubDatabase::AddYouthPlayer(CYouthDatabase* pYouth)
{
    if (!pYouth)
        return;
    m_lstYouths.AddTail(pYouth);
    ++m_nYouthCount;
    pYouth->m_pCountry = m_pCountry;
    pYouth->m_pDivision = m_pDivision;
    pYouth->m_pClub = this;
    pYouth->SetClubId(m_wClubId);
    CountPlayer(pYouth->m_byRole, pYouth->m_byPosition, 1, true);
    if (CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr)
        pHuman->GetTrainingManager().AddYouthEntry(pYouth->m_idPerson);
}

bool CClubDatabase::RemoveYouth(CYouthDatabase* pYouth)
{
    LPXLISTNODE pNode = pYouth ? m_lstYouths.Find(pYouth) : nullptr;
    if (!pNode) {
        DebugLog(0, "[CClubDatabase::RemoveYouth] Unable to Find the Youth on Club's Youth list");
        return false;
    }
    pYouth->m_pCountry = nullptr;
    pYouth->m_pDivision = nullptr;
    pYouth->m_pClub = nullptr;
    pYouth->SetClubId(0);
    m_lstYouths.Remove(pNode);
    --m_nYouthCount;
    if (CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr)
        pHuman->GetTrainingManager().RemoveYouthEntry(pYouth->m_idPerson);
    CountPlayer(pYouth->m_byRole, pYouth->m_byPosition, -1, true);
    return true;
}

int CClubDatabase::AddLoanIn(CPlayerDatabase* pPlayer)
{
    if (pPlayer) {
        m_lstLoanIns.AddTail(pPlayer);
        ++m_nLoanInCount;
    }
    return m_nLoanInCount;
}

bool CClubDatabase::RemoveLoanIn(CPlayerDatabase* pPlayer)
{
    LPXLISTNODE pNode = pPlayer ? m_lstLoanIns.Find(pPlayer) : nullptr;
    if (!pNode)
        return false;
    m_lstLoanIns.Remove(pNode);
    --m_nLoanInCount;
    return true;
}

void CClubDatabase::RemoveRetiredLoanIns()
{
    LPXLISTNODE pNode = m_lstLoanIns.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        const auto* pPlayer = static_cast<const CPlayerDatabase*>(pNode->pData);
        if (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) {
            m_lstLoanIns.Remove(pNode);
            --m_nLoanInCount;
        }
        pNode = pNext;
    }
}

bool CClubDatabase::HasStaff(ID_STAFF idStaff) const
{
    return idStaff != 0 && m_lstStaff.Find(StaffValue(idStaff)) != nullptr;
}

bool CClubDatabase::IsStaffPlaced(ID_STAFF idStaff) const
{
    if (idStaff == 0)
        return false;
    for (int k = 0; k < CLUB_STAFF_KINDS; ++k)
        for (int p = 0; p < g_anClubStaffPlaces[k]; ++p)
            if (m_awStaffSlots[k][p] == idStaff)
                return true;
    return false;
}

void CClubDatabase::AddStaff(ID_STAFF idStaff)
{
    CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(idStaff) : nullptr;
    if (!pStaff) {
        DebugLog(0, "[CClubDatabase::AddStaff] Staff member %u not found", idStaff);
        return;
    }
    m_lstStaff.AddTail(StaffValue(idStaff));
    // Human clubs fill their places themselves; there are none without the
    // human managers' records, so every club is placed here.
    const int nKind = pStaff->m_byKind;
    if (nKind >= 0 && nKind < CLUB_STAFF_KINDS) {
        for (int p = 0; p < g_anClubStaffPlaces[nKind]; ++p) {
            if (m_awStaffSlots[nKind][p] == 0) {
                m_awStaffSlots[nKind][p] = idStaff;
                break;
            }
        }
    }
    pStaff->SetClub(this);
}

void CClubDatabase::RemoveStaff(ID_STAFF idStaff)
{
    LPXLISTNODE pNode = idStaff ? m_lstStaff.Find(StaffValue(idStaff)) : nullptr;
    if (!pNode) {
        DebugLog(0, "[CClubDatabase::RemoveStaff] Staff member %u is not at the club", idStaff);
        return;
    }
    m_lstStaff.Remove(pNode);
    CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(idStaff) : nullptr;
    if (pStaff && pStaff->m_pClub == this)
        pStaff->SetClub(nullptr);
    for (int k = 0; k < CLUB_STAFF_KINDS; ++k) {
        const int nPlaces = g_anClubStaffPlaces[k];
        int nAt = -1;
        for (int p = 0; p < nPlaces; ++p)
            if (m_awStaffSlots[k][p] == idStaff)
                nAt = p;
        if (nAt < 0)
            continue;
        for (int p = nAt; p + 1 < nPlaces; ++p)
            m_awStaffSlots[k][p] = m_awStaffSlots[k][p + 1];
        m_awStaffSlots[k][nPlaces - 1] = 0;
        // The first member of that kind without a place takes the last one.
        int nLast = 0;
        while (nLast < nPlaces && m_awStaffSlots[k][nLast] != 0)
            ++nLast;
        if (nLast >= nPlaces || !m_pDatabaseHandler)
            continue;
        for (const void* pValue : m_lstStaff.Items<void>()) {
            const ID_STAFF idOther = StaffFromValue(pValue);
            const CStaffDatabase* pOther = m_pDatabaseHandler->GetStaffFromID(idOther);
            if (!pOther || pOther->m_byKind != k)
                continue;
            bool bPlaced = false;
            for (int p = 0; p < nPlaces && !bPlaced; ++p)
                bPlaced = m_awStaffSlots[k][p] == idOther;
            if (!bPlaced) {
                m_awStaffSlots[k][nLast] = idOther;
                break;
            }
        }
    }
}

void CClubDatabase::PrefetchSquad(bool bCareers) const
{
    m_lstPlayers.PrefetchItems(sizeof(CPlayerDatabase));
    if (!bCareers)
        return;
    // Each step reads what the one before asked for, all of a step's loads
    // on their way together.
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        pPlayer->m_Career.PrefetchTailNode();
    for (const CPlayerDatabase* pPlayer : m_lstPlayers.Items<CPlayerDatabase>())
        pPlayer->m_Career.PrefetchTailItem(sizeof(PLAYERCAREERENTRY));
}

void CClubDatabase::UpdateSquadAverages()
{
    int64_t nSquadValue = 0, nWages = 0, nRating = 0, nFitness = 0, nMorale = 0, nPotential = 0, nReputation = 0;
    int nPlayers = 0;
    for (const CPlayerDatabase* p : m_lstPlayers.Items<CPlayerDatabase>()) {
        nSquadValue += p->m_dwValue;
        nWages += p->m_Contract.dwYearlyWage;
        nRating += p->m_byRating;
        nFitness += p->m_awAttributes[PLAYER_ATTRIBUTE_FITNESS] / 100;
        nMorale += p->m_awAttributes[PLAYER_ATTRIBUTE_MORALE] / 100;
        nPotential += p->m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] / 100;
        nReputation += p->m_awAttributes[PLAYER_ATTRIBUTE_REPUTATION] / 100;
        ++nPlayers;
    }
    int64_t nYouthValue = 0;
    for (const CYouthDatabase* y : m_lstYouths.Items<CYouthDatabase>())
        nYouthValue += y->m_dwValue;
    m_nSquadValue = static_cast<int32_t>(nSquadValue);
    m_nYouthValue = static_cast<int32_t>(nYouthValue);
    // A club without players has averages of 0.
    const int n = nPlayers > 0 ? nPlayers : 1;
    m_nAverageWage = static_cast<int32_t>(nWages / n);
    m_byAverageRating = static_cast<uint8_t>(nRating / n);
    m_byAverageFitness = static_cast<uint8_t>(nFitness / n);
    m_byAverageMorale = static_cast<uint8_t>(nMorale / n);
    m_byAveragePotential = static_cast<uint8_t>(nPotential / n);
    m_byAverageReputation = static_cast<uint8_t>(nReputation / n);
}

void CClubDatabase::LogSquadDiagnostics(int nLargeSquad) const
{
    const int nPlayers = m_lstPlayers.GetCount();
    if (nPlayers < 18)
        DebugLog(8, "Small Squad : Club ID (%3d) %s has %2d Players", m_wClubId, m_szShortName, nPlayers);
    if (nPlayers > nLargeSquad)
        DebugLog(8, "Large Squad : %s has %2d Players %d %d %d %d", m_szShortName, nPlayers, m_abyPlayersByGroup[0],
                 m_abyPlayersByGroup[1], m_abyPlayersByGroup[2], m_abyPlayersByGroup[3]);
    if (m_abyPlayersByGroup[0] == 0)
        DebugLog(8, "%s has no Goalkeepers", m_szName);
    if (m_abyPlayersByGroup[1] < 3)
        DebugLog(8, "%s has %d Defenders", m_szName, m_abyPlayersByGroup[1]);
    if (m_abyPlayersByGroup[2] < 3)
        DebugLog(8, "%s has %d Midfielders", m_szName, m_abyPlayersByGroup[2]);
    if (m_abyPlayersByGroup[3] < 3)
        DebugLog(8, "%s has %d Attackers", m_szName, m_abyPlayersByGroup[3]);
}

// ---- manager ----

CManagerDatabase* CClubDatabase::GetManager() const
{
    if (m_wManagerId == 0 || !m_pDatabaseHandler)
        return nullptr;
    return m_pDatabaseHandler->GetEmployedManager(m_wManagerId);
}

void CClubDatabase::SetManager(ID_MANAGER idManager, bool bNotify)
{
    if (bNotify) {
        if (CManagerDatabase* pOld = GetManager(); pOld && pOld->m_pClub == this)
            pOld->m_pClub = nullptr;
    }
    m_wManagerId = idManager;
    if (bNotify) {
        if (CManagerDatabase* pNew = GetManager()) {
            pNew->m_pClub = this;
            pNew->m_pCountry = m_pCountry;
            pNew->m_pDivision = m_pDivision;
        }
    }
}

int CClubDatabase::GetManagerTerm() const
{
    const CManagerDatabase* pManager = GetManager();
    return pManager ? pManager->m_byRating : 50;
}

int CClubDatabase::GetGoalValue() const
{
    const int nRule = m_pDivision ? m_pDivision->m_byGoalValueRule : 0;
    switch (nRule) {
    case 0:
        return GetGoalsFor();
    case 1:
        return GetGoalsFor() - GetGoalsAgainst();
    default:
        DebugLog(0, "Undefined value for m_nGoalDiff in CClubDatabase::GetGoalValue");
        return 0;
    }
}
