// The human's part of a saved game: the 100-byte descriptor the load popup
// shows and the body with the whole record. Records of the world are
// written as identifiers and found again after the .bin is loaded.
#include "season/CSaveGame.h"
#include "season/SaveGameSummary.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "common/TextField.h"
#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CShortlistEntry.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CNoticeList.h"
#include "season/CScoutManager.h"
#include "season/CTrainingManager.h"
#include "season/CHoardingsManager.h"
#include "season/CSponsorManager.h"

int SaveGameEventDataType(int nKind);

namespace {

constexpr int kTransferReportBytes = 132;
constexpr int kLoanReportBytes = 36;
constexpr int kScoutQueryBytes = 24;
constexpr int kCampBookingBytes = 16;

void WriteText(CBinaryWriter& writer, const char* pszText, size_t nBytes)
{
    // The text cut to its field, then zeros; never more than a name field.
    char szField[SAVEGAME_NAME_BYTES];
    const size_t nField = nBytes < sizeof(szField) ? nBytes : sizeof(szField);
    CopyTextField(szField, nField, pszText);
    writer.WriteBytes(szField, nField);
}

bool ReadText(CBinaryReader& reader, char* pszText, size_t nBytes)
{
    if (!reader.ReadBytes(pszText, nBytes))
        return false;
    pszText[nBytes - 1] = '\0';
    return true;
}

void WriteEntries(CBinaryWriter& writer, const FORMATIONENTRY* pEntries)
{
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        writer.WriteU16(pEntries[i].wX);
        writer.WriteU16(pEntries[i].wY);
        writer.WriteU8(pEntries[i].byOrder);
        writer.WriteU8(pEntries[i].byExtra);
    }
}

bool ReadEntries(CBinaryReader& reader, FORMATIONENTRY* pEntries)
{
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        reader.ReadU16(pEntries[i].wX);
        reader.ReadU16(pEntries[i].wY);
        reader.ReadU8(pEntries[i].byOrder);
        reader.ReadU8(pEntries[i].byExtra);
    }
    return !reader.Failed();
}

void WriteDate(CBinaryWriter& writer, const CDate& date)
{
    writer.WriteU16(static_cast<uint16_t>(date.GetYear()));
    writer.WriteU8(static_cast<uint8_t>(date.GetMonth()));
    writer.WriteU8(static_cast<uint8_t>(date.GetDay()));
}

CDate ReadDate(CBinaryReader& reader)
{
    uint16_t wYear = 0;
    uint8_t byMonth = 0, byDay = 0;
    reader.ReadU16(wYear);
    reader.ReadU8(byMonth);
    reader.ReadU8(byDay);
    return CDate((static_cast<uint32_t>(wYear) << 16) | (byMonth << 8) | byDay);
}

bool ReadCount(CBinaryReader& reader, uint32_t& dwCount, uint64_t nMinBytesEach, const char* pszWhat)
{
    if (!reader.ReadU32(dwCount) || !reader.CheckCount(dwCount, nMinBytesEach)) {
        DebugLog(0, "[CSaveGame::Load] The count of %s is damaged", pszWhat);
        return false;
    }
    return true;
}

}  // namespace

bool CSaveGame::WriteFinance(CBinaryWriter& writer) const
{
    for (const FINANCEENTRY& entry : m_aMonthFinance) {
        writer.WriteI32(entry.nIncome);
        writer.WriteI32(entry.nExpense);
    }
    for (const FINANCEENTRY& entry : m_aSeasonFinance) {
        writer.WriteI32(entry.nIncome);
        writer.WriteI32(entry.nExpense);
    }
    writer.WriteU32(static_cast<uint32_t>(m_lstTransactions.GetCount()));
    for (const FINANCETRANSACTION* p : m_lstTransactions.Items<FINANCETRANSACTION>()) {
        writer.WriteI32(p->nIncome);
        writer.WriteI32(p->nExpense);
        writer.WriteU32(p->dwCategory);
        writer.WriteU32(p->dwParameter);
    }
    return !writer.Failed();
}

bool CSaveGame::WriteSaveDescriptor(FILE* pFile) const
{
    if (!pFile)
        return false;
    CBinaryWriter writer(pFile);
    writer.WriteU16(SAVEGAME_DESCRIPTOR_MAGIC);
    writer.WriteU8(SAVEGAME_DESCRIPTOR_MARK);
    writer.WriteU8(0);
    const CManagerDatabase* pManager =
        m_pDatabaseHandler ? m_pDatabaseHandler->GetManagerFromID(m_idManager) : nullptr;
    WriteText(writer, pManager ? pManager->GetShortName() : m_szSurname, SAVEGAME_SUMMARY_MANAGER_BYTES);
    WriteText(writer, m_pClub ? m_pClub->GetName() : "", SAVEGAME_SUMMARY_CLUB_BYTES);
    WriteText(writer, m_pClub && m_pClub->m_pDivision ? m_pClub->m_pDivision->GetName() : "",
              SAVEGAME_SUMMARY_DIVISION_BYTES);
    writer.WriteU8(m_pClub ? m_pClub->m_byLeaguePosition : 0);
    writer.WriteU8(m_pClub ? static_cast<uint8_t>(m_pClub->m_HomeRow.byPlayed + m_pClub->m_AwayRow.byPlayed) : 0);
    writer.WriteU8(m_pClub ? m_pClub->m_byPoints : 0);
    const CDate game = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    writer.WriteU8(static_cast<uint8_t>(game.GetDay()));
    writer.WriteU8(static_cast<uint8_t>(game.GetMonth()));
    writer.WriteU16(static_cast<uint16_t>(game.GetYear()));
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    writer.WriteU8(static_cast<uint8_t>(local.tm_mday));
    writer.WriteU8(static_cast<uint8_t>(local.tm_mon + 1));
    writer.WriteU16(static_cast<uint16_t>(local.tm_year + 1900));
    writer.WriteU32(m_pCountry ? m_pCountry->GetID() : 0);
    writer.WriteU32(pManager ? pManager->m_byNationality : 0);
    writer.WriteI32(m_pClub ? m_pClub->m_nBankBalance : 0);
    return !writer.Failed();
}

bool CSaveGame::Save(FILE* pFile) const
{
    if (!pFile)
        return false;
    CBinaryWriter writer(pFile);
    writer.WriteU8(m_byQualification);
    writer.WriteU8(m_byResign);
    writer.WriteU8(m_byBoardRequest);
    writer.WriteU8(m_byBoardPending);
    writer.WriteI32(m_nCompensation);
    writer.WriteU16(m_wLeaveReason);
    writer.WriteI32(m_nLoanRequest);
    writer.WriteI32(m_nLoanRequest2);
    writer.WriteI32(m_nLoanFee);
    writer.WriteU16(m_wLoanInterest);
    writer.WriteU8(m_byLoanTerm);
    writer.WriteU8(m_byLoanKind);
    writer.WriteI32(m_nOverdraftRequest);
    writer.WriteI32(m_nOverdraftFee);
    writer.WriteU8(m_byOverdraftTerm);
    writer.WriteU8(m_byOverdraftKind);
    writer.WriteU8(m_byRefusals);
    writer.WriteU8(m_byDaysInRed);
    writer.WriteU16(m_pClub ? m_pClub->GetID() : 0);
    writer.WriteU16(m_idManager);
    writer.WriteU8(m_pCountry ? m_pCountry->GetID() : 0);
    for (const CPlayerDatabase* pPlayer : m_apTeamSheet)
        writer.WriteI32(pPlayer ? static_cast<int32_t>(pPlayer->m_idPerson) : -1);
    for (const CPlayerDatabase* pPlayer : m_apSetPieces)
        writer.WriteI32(pPlayer ? static_cast<int32_t>(pPlayer->m_idPerson) : -1);
    writer.WriteBytes(m_abyInstructions, sizeof(m_abyInstructions));
    writer.WriteU8(m_byModified);
    WriteEntries(writer, m_OwnFormation.aEntries);
    writer.WriteBytes(m_OwnFormation.szName, FORMATION_NAME_BYTES);
    writer.WriteU8(m_OwnFormation.byShipped);
    writer.WriteU8(m_OwnFormation.byExtra);
    for (const POSITIONBLOCK& block : m_aOwnBlocks)
        WritePositionBlock(writer, block);
    WriteEntries(writer, m_aSavedEntries);
    for (const POSITIONBLOCK& block : m_aWorkingBlocks)
        WritePositionBlock(writer, block);
    writer.WriteU32(m_SeasonStart.GetValue());
    writer.WriteU32(m_SeasonEnd.GetValue());
    for (const CDate& date : m_aMarketVisits)
        writer.WriteU32(date.GetValue());
    for (const CDate& date : m_aReminders)
        writer.WriteU32(date.GetValue());
    writer.WriteU32(m_dwWeeksInSeason);
    for (int8_t n : m_anAlerts)
        writer.WriteI8(n);
    writer.WriteBytes(m_abySeasonBytes, 2);
    WriteText(writer, m_szFormationName, SAVEGAME_NAME_BYTES);
    WriteText(writer, m_szFreeKickSet, SAVEGAME_NAME_BYTES);

    writer.WriteU32(static_cast<uint32_t>(m_lstTransferReports.GetCount()));
    for (const uint8_t* p : m_lstTransferReports.Items<uint8_t>())
        writer.WriteBytes(p, kTransferReportBytes);
    writer.WriteU32(static_cast<uint32_t>(m_lstLoanReports.GetCount()));
    for (const uint8_t* p : m_lstLoanReports.Items<uint8_t>())
        writer.WriteBytes(p, kLoanReportBytes);
    writer.WriteU32(static_cast<uint32_t>(m_lstBuyOffers.GetCount()));
    for (const CBuyOfferDatabase* p : m_lstBuyOffers.Items<CBuyOfferDatabase>())
        p->Save(writer);
    writer.WriteU32(static_cast<uint32_t>(m_lstLoanOffers.GetCount()));
    for (const CLoanOfferDatabase* p : m_lstLoanOffers.Items<CLoanOfferDatabase>())
        p->Save(writer);
    m_pNews->Save(writer);
    writer.WriteBytes(m_abyStatus, 3);
    writer.WriteU32(static_cast<uint32_t>(m_lstShortlist.GetCount()));
    for (const CShortlistEntry* p : m_lstShortlist.Items<CShortlistEntry>())
        p->Save(writer);
    writer.WriteU8(m_byObjectiveType);
    writer.WriteU8(m_byObjectiveCountdown);
    writer.WriteU8(m_byScenario);
    writer.WriteU8(m_byScenarioValue);
    writer.WriteBytes(m_abyStandPrices, sizeof(m_abyStandPrices));
    writer.WriteI32(m_anAttendanceTrend[0]);
    writer.WriteI32(m_anAttendanceTrend[1]);
    writer.WriteBytes(m_abyDelegation, sizeof(m_abyDelegation));
    WriteFinance(writer);
    m_pScouts->Save(writer);
    writer.WriteI32(m_nSavings);
    writer.WriteI32(m_nSavingsAtClose);
    writer.WriteU32(static_cast<uint32_t>(m_lstBalanceRecords.GetCount()));
    for (const BALANCERECORD* p : m_lstBalanceRecords.Items<BALANCERECORD>()) {
        writer.WriteU16(p->wYear);
        writer.WriteU8(p->byMonth);
        writer.WriteU8(p->byDay);
        writer.WriteI32(p->nAmount);
        writer.WriteI32(p->nBalanceAfter);
        writer.WriteU16(p->wParameter);
        writer.WriteU16(p->wKind);
    }
    writer.WriteBytes(m_abyTickets, sizeof(m_abyTickets));
    m_pTraining->Save(writer);
    m_pScrapbook->Save(writer);
    m_pNotices->Save(writer);
    m_pSponsors->Save(writer);
    m_pHoardings->Save(writer);
    writer.WriteU32(static_cast<uint32_t>(m_lstSquad.GetCount()));
    for (const SQUADENTRY* p : m_lstSquad.Items<SQUADENTRY>()) {
        writer.WriteI32(p->pPlayer ? static_cast<int32_t>(p->pPlayer->m_idPerson) : -1);
        writer.WriteI32(p->nValue1);
        writer.WriteI32(p->nValue2);
    }
    writer.WriteU32(static_cast<uint32_t>(m_lstJobApplications.GetCount()));
    for (const JOBAPPLICATION* p : m_lstJobApplications.Items<JOBAPPLICATION>()) {
        WriteDate(writer, p->Applied);
        WriteDate(writer, p->Decision);
        writer.WriteU32(p->dwClubId);
        writer.WriteU32(p->dwStatus);
    }
    writer.WriteU32(static_cast<uint32_t>(m_lstNegotiations.GetCount()));
    for (const STAFFNEGOTIATION* p : m_lstNegotiations.Items<STAFFNEGOTIATION>()) {
        writer.WriteU16(p->wStaffId);
        writer.WriteU16(0);
        writer.WriteI32(p->nOffer);
        WriteDate(writer, p->Made);
        WriteDate(writer, p->Decision);
        writer.WriteU8(p->byStatus);
        writer.WriteZeros(3);
    }
    writer.WriteU8(m_byAutomaticSquadNumbers);
    writer.WriteBytes(m_abyPenaltyOrder, sizeof(m_abyPenaltyOrder));
    writer.WriteU8(m_byFurther);
    writer.WriteU32(static_cast<uint32_t>(m_lstEventHistory.GetCount()));
    for (const EVENTHISTORYRECORD* p : m_lstEventHistory.Items<EVENTHISTORYRECORD>()) {
        p->pEvent->Save(writer);
        switch (SaveGameEventDataType(p->pEvent->GetType())) {
        case 1:
            writer.WriteBytes(p->pData, kScoutQueryBytes);
            break;
        case 2:
            static_cast<const CLoanOfferDatabase*>(p->pData)->Save(writer);
            break;
        case 3:
            static_cast<const CBuyOfferDatabase*>(p->pData)->Save(writer);
            break;
        case 4:
            writer.WriteBytes(p->pData, kCampBookingBytes);
            break;
        case 5:
            static_cast<const CComponentScheduleDatabase*>(p->pData)->Save(writer);
            break;
        default:
            break;
        }
    }
    writer.WriteBytes(m_abyFormationBytes, 2);
    writer.WriteU32(m_dwHandOverValue);
    writer.WriteU8(m_byHandOver);
    WriteText(writer, m_szFirstName, SAVEGAME_NAME_BYTES);
    WriteText(writer, m_szSurname, SAVEGAME_NAME_BYTES);
    writer.WriteBytes(m_abyHelpSeen, sizeof(m_abyHelpSeen));
    return !writer.Failed();
}

bool CSaveGame::Load(FILE* pFile)
{
    if (!pFile)
        return false;
    CBinaryReader reader(pFile);
    const bool bOk = ReadBody(reader) && !reader.Failed();
    if (!bOk)
        DebugLog(0, "[CSaveGame::Load] The human's record is cut short or damaged");
    return bOk;
}

bool CSaveGame::ReadBody(CBinaryReader& reader)
{
    CDatabaseHandler* pRoot = m_pDatabaseHandler;
    reader.ReadU8(m_byQualification);
    reader.ReadU8(m_byResign);
    reader.ReadU8(m_byBoardRequest);
    reader.ReadU8(m_byBoardPending);
    reader.ReadI32(m_nCompensation);
    reader.ReadU16(m_wLeaveReason);
    reader.ReadI32(m_nLoanRequest);
    reader.ReadI32(m_nLoanRequest2);
    reader.ReadI32(m_nLoanFee);
    reader.ReadU16(m_wLoanInterest);
    reader.ReadU8(m_byLoanTerm);
    reader.ReadU8(m_byLoanKind);
    reader.ReadI32(m_nOverdraftRequest);
    reader.ReadI32(m_nOverdraftFee);
    reader.ReadU8(m_byOverdraftTerm);
    reader.ReadU8(m_byOverdraftKind);
    reader.ReadU8(m_byRefusals);
    reader.ReadU8(m_byDaysInRed);
    uint16_t wClub = 0;
    uint8_t byCountry = 0;
    reader.ReadU16(wClub);
    reader.ReadU16(m_idManager);
    reader.ReadU8(byCountry);
    if (reader.Failed())
        return false;
    m_pClub = wClub && pRoot ? pRoot->GetClubFromID(wClub) : nullptr;
    m_pCountry = pRoot ? pRoot->GetCountryFromID(byCountry) : nullptr;
    if (wClub && !m_pClub) {
        DebugLog(0, "[CSaveGame::Load] Club %u is not in the world", wClub);
        return false;
    }
    for (CPlayerDatabase*& pPlace : m_apTeamSheet) {
        int32_t nId = -1;
        reader.ReadI32(nId);
        pPlace = m_pClub && nId != -1 && pRoot ? pRoot->GetPlayerFromID(static_cast<ID_PLAYER>(nId)) : nullptr;
    }
    for (CPlayerDatabase*& pPlace : m_apSetPieces) {
        int32_t nId = -1;
        reader.ReadI32(nId);
        pPlace = m_pClub && nId != -1 && pRoot ? pRoot->GetPlayerFromID(static_cast<ID_PLAYER>(nId)) : nullptr;
    }
    reader.ReadBytes(m_abyInstructions, sizeof(m_abyInstructions));
    reader.ReadU8(m_byModified);
    ReadEntries(reader, m_OwnFormation.aEntries);
    ReadText(reader, m_OwnFormation.szName, FORMATION_NAME_BYTES);
    reader.ReadU8(m_OwnFormation.byShipped);
    reader.ReadU8(m_OwnFormation.byExtra);
    for (POSITIONBLOCK& block : m_aOwnBlocks)
        ReadPositionBlock(reader, block);
    ReadEntries(reader, m_aSavedEntries);
    for (POSITIONBLOCK& block : m_aWorkingBlocks)
        ReadPositionBlock(reader, block);
    uint32_t dw = 0;
    reader.ReadU32(dw);
    m_SeasonStart = CDate(dw);
    reader.ReadU32(dw);
    m_SeasonEnd = CDate(dw);
    for (CDate& date : m_aMarketVisits) {
        reader.ReadU32(dw);
        date = CDate(dw);
    }
    for (CDate& date : m_aReminders) {
        reader.ReadU32(dw);
        date = CDate(dw);
    }
    reader.ReadU32(m_dwWeeksInSeason);
    for (int8_t& n : m_anAlerts)
        reader.ReadI8(n);
    reader.ReadBytes(m_abySeasonBytes, 2);
    ReadText(reader, m_szFormationName, SAVEGAME_NAME_BYTES);
    ReadText(reader, m_szFreeKickSet, SAVEGAME_NAME_BYTES);
    if (reader.Failed())
        return false;

    uint32_t dwCount = 0;
    if (!ReadCount(reader, dwCount, kTransferReportBytes, "transfer reports"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* p = new uint8_t[kTransferReportBytes];
        m_lstTransferReports.AddTail(p);
        if (!reader.ReadBytes(p, kTransferReportBytes))
            return false;
    }
    if (!ReadCount(reader, dwCount, kLoanReportBytes, "loan reports"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* p = new uint8_t[kLoanReportBytes];
        m_lstLoanReports.AddTail(p);
        if (!reader.ReadBytes(p, kLoanReportBytes))
            return false;
    }
    if (!ReadCount(reader, dwCount, kTransferReportBytes, "buy offers"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* p = new CBuyOfferDatabase();
        m_lstBuyOffers.AddTail(p);
        if (!p->Load(reader))
            return false;
    }
    if (!ReadCount(reader, dwCount, kLoanReportBytes, "loan offers"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* p = new CLoanOfferDatabase();
        m_lstLoanOffers.AddTail(p);
        if (!p->Load(reader))
            return false;
    }
    if (!m_pNews->Load(reader))
        return false;
    reader.ReadBytes(m_abyStatus, 3);
    if (!ReadCount(reader, dwCount, 12, "shortlist entries"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* p = new CShortlistEntry();
        m_lstShortlist.AddTail(p);
        if (!p->Load(reader))
            return false;
    }
    reader.ReadU8(m_byObjectiveType);
    reader.ReadU8(m_byObjectiveCountdown);
    reader.ReadU8(m_byScenario);
    reader.ReadU8(m_byScenarioValue);
    reader.ReadBytes(m_abyStandPrices, sizeof(m_abyStandPrices));
    reader.ReadI32(m_anAttendanceTrend[0]);
    reader.ReadI32(m_anAttendanceTrend[1]);
    reader.ReadBytes(m_abyDelegation, sizeof(m_abyDelegation));
    for (FINANCEENTRY& entry : m_aMonthFinance) {
        reader.ReadI32(entry.nIncome);
        reader.ReadI32(entry.nExpense);
    }
    for (FINANCEENTRY& entry : m_aSeasonFinance) {
        reader.ReadI32(entry.nIncome);
        reader.ReadI32(entry.nExpense);
    }
    if (!ReadCount(reader, dwCount, 16, "transactions"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* p = new FINANCETRANSACTION;
        m_lstTransactions.AddTail(p);
        reader.ReadI32(p->nIncome);
        reader.ReadI32(p->nExpense);
        reader.ReadU32(p->dwCategory);
        reader.ReadU32(p->dwParameter);
        if ((p->dwCategory & 0xFFFF) >= FINANCE_CATEGORIES) {
            DebugLog(0, "[CSaveGame::Load] Finance category %u is not known", p->dwCategory);
            return false;
        }
    }
    if (!m_pScouts->Load(reader))
        return false;
    reader.ReadI32(m_nSavings);
    reader.ReadI32(m_nSavingsAtClose);
    if (!ReadCount(reader, dwCount, 16, "balance records"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* p = new BALANCERECORD;
        m_lstBalanceRecords.AddTail(p);
        reader.ReadU16(p->wYear);
        reader.ReadU8(p->byMonth);
        reader.ReadU8(p->byDay);
        reader.ReadI32(p->nAmount);
        reader.ReadI32(p->nBalanceAfter);
        reader.ReadU16(p->wParameter);
        reader.ReadU16(p->wKind);
    }
    reader.ReadBytes(m_abyTickets, sizeof(m_abyTickets));
    if (!m_pTraining->Load(reader))
        return false;
    if (!m_pScrapbook->Load(reader) || !m_pNotices->Load(reader) || !m_pSponsors->Load(reader) ||
        !m_pHoardings->Load(reader))
        return false;
    m_pScrapbook->SetupPointers();
    if (!ReadCount(reader, dwCount, 12, "squad entries"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        int32_t nId = -1;
        SQUADENTRY entry;
        reader.ReadI32(nId);
        reader.ReadI32(entry.nValue1);
        reader.ReadI32(entry.nValue2);
        entry.pPlayer = nId != -1 && pRoot ? pRoot->GetPlayerFromID(static_cast<ID_PLAYER>(nId)) : nullptr;
        // A player who has gone from the world leaves no entry behind.
        if (entry.pPlayer)
            m_lstSquad.AddTail(new SQUADENTRY(entry));
    }
    if (!ReadCount(reader, dwCount, 16, "job applications"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* p = new JOBAPPLICATION;
        m_lstJobApplications.AddTail(p);
        p->Applied = ReadDate(reader);
        p->Decision = ReadDate(reader);
        reader.ReadU32(p->dwClubId);
        reader.ReadU32(p->dwStatus);
    }
    if (!ReadCount(reader, dwCount, 20, "staff negotiations"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* p = new STAFFNEGOTIATION;
        m_lstNegotiations.AddTail(p);
        reader.ReadU16(p->wStaffId);
        reader.Skip(2);
        reader.ReadI32(p->nOffer);
        p->Made = ReadDate(reader);
        p->Decision = ReadDate(reader);
        reader.ReadU8(p->byStatus);
        reader.Skip(3);
    }
    reader.ReadU8(m_byAutomaticSquadNumbers);
    m_byAutomaticSquadNumbers = m_byAutomaticSquadNumbers ? 1 : 0;
    reader.ReadBytes(m_abyPenaltyOrder, sizeof(m_abyPenaltyOrder));
    reader.ReadU8(m_byFurther);
    if (!ReadCount(reader, dwCount, 10, "event history records"))
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        auto* pRecord = new EVENTHISTORYRECORD;
        pRecord->pEvent = new CEventsDatabase();
        m_lstEventHistory.AddTail(pRecord);
        if (!pRecord->pEvent->Load(reader, m_pCountry))
            return false;
        switch (SaveGameEventDataType(pRecord->pEvent->GetType())) {
        case 1:
        case 4: {
            const size_t nBytes = SaveGameEventDataType(pRecord->pEvent->GetType()) == 1 ? kScoutQueryBytes
                                                                                          : kCampBookingBytes;
            auto* p = new uint8_t[nBytes];
            pRecord->pData = p;
            if (!reader.ReadBytes(p, nBytes))
                return false;
            break;
        }
        case 2: {
            auto* p = new CLoanOfferDatabase();
            pRecord->pData = p;
            if (!p->Load(reader))
                return false;
            break;
        }
        case 3: {
            auto* p = new CBuyOfferDatabase();
            pRecord->pData = p;
            if (!p->Load(reader))
                return false;
            break;
        }
        case 5: {
            auto* p = new CComponentScheduleDatabase();
            pRecord->pData = p;
            if (!p->Load(reader, nullptr))
                return false;
            break;
        }
        default:
            break;
        }
    }
    reader.ReadBytes(m_abyFormationBytes, 2);
    reader.ReadU32(m_dwHandOverValue);
    reader.ReadU8(m_byHandOver);
    ReadText(reader, m_szFirstName, SAVEGAME_NAME_BYTES);
    ReadText(reader, m_szSurname, SAVEGAME_NAME_BYTES);
    reader.ReadBytes(m_abyHelpSeen, sizeof(m_abyHelpSeen));
    if (reader.Failed())
        return false;

    // The formation: a shipped or saved file of that name, the human's own,
    // or 4-4-2 when the file has gone.
    // Only the entries come from the file: the saved blocks are the human's.
    POSITIONBLOCK aBlocks[SAVEGAME_LINEUP];
    std::copy(std::begin(m_aWorkingBlocks), std::end(m_aWorkingBlocks), aBlocks);
    if (IsCustomFormationInUse()) {
        // The custom formation has no file: its record holds the places.
        std::copy(std::begin(m_OwnFormation.aEntries), std::end(m_OwnFormation.aEntries), m_aWorkingEntries);
    } else if (m_szFormationName[0] && !LoadTactics(m_szFormationName, false) &&
               !LoadTactics(m_szFormationName, true)) {
        std::snprintf(m_szFormationName, sizeof(m_szFormationName), "%s", "4-4-2");
        LoadTactics(m_szFormationName, true);
    }
    std::copy(std::begin(aBlocks), std::end(aBlocks), m_aWorkingBlocks);
    if (!m_pClub)
        std::fill(std::begin(m_apTeamSheet), std::end(m_apTeamSheet), nullptr);
    LinkManagerNames();
    UpdateNextFixture();
    return true;
}
