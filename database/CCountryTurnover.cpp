// The country's season turnover: the season's archives, the rating rescale,
// the season record, promotion and relegation, and the new season's tables,
// history files and fixtures; the season-end prize money.
#include "database/CCountryDatabase.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CWorkingFileImage.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/RecordBytes.h"
#include "database/SeasonArchiveRecords.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CupRecords.h"
#include "season/CupStructureTable.h"

namespace {

constexpr int kFirstSeasonYear = 1998;
constexpr int kFinancePrizeMoney = 55;
constexpr int kFinanceManagerBonus = 69;

constexpr int kDefaultGameLength = 5;

// Keeps the list largest first: the fee goes before the first smaller one
// and the fifth drops out.
void InsertFee(uint8_t* pList, const CLUBFEERECORD& fee)
{
    InsertRecordReference(pList, country_archive::kListPlaces,
                          PERSONREFERENCE{static_cast<uint32_t>(fee.idPlayer), static_cast<uint32_t>(fee.idClub),
                                          fee.nAmount});
}

// The final's winner and the other finalist at the competition's slot,
// each only when it is a club of the country.
void RecordFinalists(uint8_t* pRecord, int nSlot, const CUP* pCup, const CCountryDatabase& country)
{
    const CUPTIE* pFinal = pCup ? pCup->GetTie(0) : nullptr;
    if (!pFinal)
        return;
    const ID_CLUB idWinner = pFinal->byWinner == 0 ? pFinal->wHomeClub : pFinal->wAwayClub;
    const ID_CLUB idRunnerUp = pFinal->byWinner == 0 ? pFinal->wAwayClub : pFinal->wHomeClub;
    if (country.IsClubOfCountry(idWinner))
        StoreRecordU16(pRecord + country_archive::kWinners + 2 * nSlot, idWinner);
    if (country.IsClubOfCountry(idRunnerUp))
        StoreRecordU16(pRecord + country_archive::kRunnersUp + 2 * nSlot, idRunnerUp);
}

}  // namespace

// Seasons the archives keep; a game without the setting keeps the default.
static int GameLength(const CDatabaseHandler* pHandler)
{
    const int nSeasons = pHandler ? pHandler->GetGameSetting(0) : 0;
    return nSeasons > 0 ? nSeasons : kDefaultGameLength;
}

int CCountryDatabase::GetSeasonsKept() const { return GameLength(m_pDatabaseHandler); }

int CCountryDatabase::GetSeasonIndex() const
{
    return GetSeasonYear() - kFirstSeasonYear;
}

// ---- the old season's close ----

void CCountryDatabase::DoSeasonClose()
{
    const int nSeasons = GameLength(m_pDatabaseHandler);
    const int nIndex = GetSeasonIndex();
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        pDivision->WriteScheduleHistory(nIndex, nSeasons);
    WriteCupHistory(nIndex, nSeasons);
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        pDivision->ArchiveTransfers(nIndex, nSeasons);

    StartRefereesNewSeason();
    RescaleRatings();

    const uint8_t byKey = SeasonArchiveKey(GetSeasonYear());
    uint8_t abySeasonRecord[RAW_RECORD_LARGE] = {};
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        pDivision->SortLeagueTable(true);
        pDivision->RecordSeasonEndPlaces();
        DIVISIONARCHIVERECORD* pArchive = pDivision->AddSeasonArchiveRecord(byKey, nSeasons);
        pDivision->FillSeasonArchive(*pArchive, pDivision->m_byKind == DIVISION_KIND_LEAGUE
                                                    ? abySeasonRecord + country_archive::kTopScorers
                                                    : nullptr);
    }
    DoRelegationAndPromotion();
    // The record carries the champion of the top division, written by the promotion pass.
    AddSeasonRecord(abySeasonRecord);
}

void CCountryDatabase::DoRelegationAndPromotion()
{
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        DebugLog(2, "[CCountryDatabase::DoRelegationAndPromotion] %s %s Before %d", m_szName, pDivision->GetName(),
                 pDivision->GetClubCount());
        pDivision->m_byAutomaticPromotions = pDivision->m_byPromotionZone;
        pDivision->m_byAutomaticRelegations = pDivision->m_byRelegationZone;
    }
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        pDivision->DoPromotionAndRelegation();
}

void CCountryDatabase::RescaleRatings()
{
    // Managers first, then clubs; a country whose values are all equal or
    // all zero keeps its ratings.
    int64_t nLow = 0, nHigh = 0;
    const CManagerDatabase* pLow = nullptr;
    const CManagerDatabase* pHigh = nullptr;
    auto leagueClubs = [this](auto&& visit) {
        for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
            if (pDivision->m_byKind == DIVISION_KIND_LEAGUE)
                for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                    visit(pClub);
    };
    leagueClubs([&](CClubDatabase* pClub) {
        const CManagerDatabase* pManager = pClub->m_wManagerId ? pClub->GetManager() : nullptr;
        if (!pManager || pManager->m_dwSeasonValueA == 0)
            return;
        const int64_t nValue = pManager->m_dwSeasonValueA;
        if (!pLow || nValue < nLow) {
            nLow = nValue;
            pLow = pManager;
        }
        if (!pHigh || nValue > nHigh) {
            nHigh = nValue;
            pHigh = pManager;
        }
    });
    if (pHigh && nHigh > nLow) {
        DebugLog(2, "COUNTRY HIGHEST MANAGER PERFORMANCE >>> %s %s %d", m_szName, pHigh->m_pszLastName,
                 static_cast<int>(nHigh));
        DebugLog(2, "COUNTRY LOWEST MANAGER PERFORMANCE >>> %s %s %d", m_szName, pLow->m_pszLastName,
                 static_cast<int>(nLow));
        leagueClubs([&](CClubDatabase* pClub) {
            CManagerDatabase* pManager = pClub->m_wManagerId ? pClub->GetManager() : nullptr;
            if (!pManager || pManager->m_dwSeasonValueA == 0)
                return;
            const int nRating = static_cast<int>(static_cast<double>(pManager->m_dwSeasonValueA - nLow) * 100.0 /
                                                 static_cast<double>(nHigh - nLow));
            pManager->m_byAbility = static_cast<uint8_t>(nRating);
            pManager->m_byRating = static_cast<uint8_t>((pManager->m_byRating + nRating) / 2);
        });
    }

    const CClubDatabase* pLowClub = nullptr;
    const CClubDatabase* pHighClub = nullptr;
    leagueClubs([&](CClubDatabase* pClub) {
        if (pClub->m_nSeasonCounter1 == 0)
            return;
        if (!pLowClub || pClub->m_nSeasonCounter1 < pLowClub->m_nSeasonCounter1)
            pLowClub = pClub;
        if (!pHighClub || pClub->m_nSeasonCounter1 > pHighClub->m_nSeasonCounter1)
            pHighClub = pClub;
    });
    if (!pHighClub || pHighClub->m_nSeasonCounter1 <= pLowClub->m_nSeasonCounter1)
        return;
    const int64_t nClubLow = pLowClub->m_nSeasonCounter1;
    const int64_t nClubHigh = pHighClub->m_nSeasonCounter1;
    DebugLog(2, "COUNTRY HIGHEST CLUB PERFORMANCE >>> %s %s %d", m_szName, pHighClub->GetName(),
             static_cast<int>(nClubHigh));
    DebugLog(2, "COUNTRY LOWEST CLUB PERFORMANCE >>> %s %s %d", m_szName, pLowClub->GetName(),
             static_cast<int>(nClubLow));
    leagueClubs([&](CClubDatabase* pClub) {
        if (pClub->m_nSeasonCounter1 == 0)
            return;
        const int nRating = static_cast<int>(static_cast<double>(pClub->m_nSeasonCounter1 - nClubLow) * 100.0 /
                                             static_cast<double>(nClubHigh - nClubLow));
        pClub->m_byReputation = static_cast<uint8_t>(nRating);
        pClub->m_bySupportLevel = static_cast<uint8_t>((pClub->m_bySupportLevel + nRating) / 2);
    });
}

void CCountryDatabase::AddSeasonRecord(uint8_t* abyRecord)
{
    abyRecord[0] = m_byID;
    abyRecord[country_archive::kKey] = SeasonArchiveKey(GetSeasonYear());
    // The country's clubs waiting for the first European cup (kind 1) and
    // for the second (kind 0), in table order.
    if (const CEuropeanCupDatabase* pEuropean = m_pDatabaseHandler ? m_pDatabaseHandler->GetEuropeanCups() : nullptr) {
        const struct {
            int nKind, nOffset, nSlots;
        } kLists[] = {{CUP_KIND_1, country_archive::kFirstCupEntrants, country_archive::kFirstCupSlots},
                      {CUP_KIND_0, country_archive::kSecondCupEntrants, country_archive::kSecondCupSlots}};
        for (const auto& list : kLists)
            for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
                for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                    if (pEuropean->IsClubPending(list.nKind, pClub->m_wClubId))
                        AppendArchiveClub(abyRecord + list.nOffset, list.nSlots, pClub->m_wClubId);
    }
    // The season's largest fees of every league club.
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        if (pDivision->m_byKind == DIVISION_KIND_LEAGUE)
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                InsertFee(abyRecord + country_archive::kFeesPaid, pClub->m_aFeeRecords[0]);
                InsertFee(abyRecord + country_archive::kFeesReceived, pClub->m_aFeeRecords[1]);
            }
    // The finals decided this season; a cup still running has no winner yet.
    constexpr int anDomestic[][2] = {{CUP_KIND_0, 0}, {CUP_KIND_1, 1}, {CUP_KIND_5, 3}};
    for (const auto& kind : anDomestic)
        if (GetCupWinner(kind[0]))
            RecordFinalists(abyRecord, kind[1], m_pDomesticCups->GetCup(kind[0]), *this);
    constexpr int anEuropean[][2] = {{CUP_KIND_0, 4}, {CUP_KIND_1, 5}, {CUP_KIND_SUPER, 6}};
    if (const CEuropeanCupDatabase* pEuropean = m_pDatabaseHandler ? m_pDatabaseHandler->GetEuropeanCups() : nullptr)
        for (const auto& kind : anEuropean)
            if (pEuropean->GetCupWinner(kind[0]) != 0)
                RecordFinalists(abyRecord, kind[1], pEuropean->GetCup(kind[0]), *this);
    AddLargeRecord(abyRecord);
    const int nSeasons = GameLength(m_pDatabaseHandler);
    while (nSeasons > 0 && m_lstLargeRecords.GetCount() > nSeasons)
        delete[] static_cast<uint8_t*>(m_lstLargeRecords.RemoveHead());
}

bool CCountryDatabase::WriteCupHistory(int nSeasonIndex, int nSeasons)
{
    const std::string name = "TempDomCup" + std::to_string(m_byID) + ".shs";
    if (nSeasonIndex > nSeasons && plat::fileExists(name)) {
        // The oldest block carries its own count.
        std::vector<uint8_t> bytes;
        size_t nSkip = 0;
        if (plat::readWholeFile(name, bytes) && bytes.size() >= 4) {
            const uint32_t dwCount = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
            const uint64_t nBlock = 4 + static_cast<uint64_t>(dwCount) * CCupFixturesDatabase::FILE_SIZE;
            nSkip = nBlock <= bytes.size() ? static_cast<size_t>(nBlock) : bytes.size();
        }
        else
            bytes.clear();
        if (!plat::writeWholeFile(name, bytes.data() + nSkip, bytes.size() - nSkip)) {
            DebugLog(0, "[CCountryDatabase::WriteCupHistory] Could not rewrite %s", name.c_str());
            return false;
        }
    }
    if (!AppendCountedRecords<CCupFixturesDatabase>(name, m_lstCupFixtures, CCupFixturesDatabase::FILE_SIZE)) {
        DebugLog(0, "[CCountryDatabase::WriteCupHistory] Could not write %s", name.c_str());
        return false;
    }
    return true;
}

// ---- the new season's open ----

void CCountryDatabase::DoSeasonOpen()
{
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        pDivision->StartDivisionSeason();
        pDivision->m_bySeasonStarted = 0;
    }
    SetClubTargetBands();
    // The old season's cup fixtures are freed by the cups' own new season.
    DeleteMatchHistory();
    GenerateLeagueFixtures();
    CalculateSeasonEndDate();
    ApplyCountryLevel();
}

// ---- the season's end ----

void CCountryDatabase::PayLeaguePrizeMoney()
{
    int nTier = (static_cast<int>(GetLevel()) - 50) / 5;
    if (nTier == 5)
        nTier = 4;
    // A level below 50 gives the lowest tier rather than wrapping round.
    if (nTier < 0)
        nTier = 0;
    const int32_t nUnit = CDatabaseHandler::GetMoneyTier(nTier);
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        int32_t nPrize = (pDivision->GetClubCount() + 1) * nUnit;
        for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
            if (pDivision->m_byDivisionNumber == 1) {
                pClub->AddFinanceTransaction(kFinancePrizeMoney, nPrize, 0);
                nPrize -= nUnit;
            }
            CManagerDatabase* pManager = pClub->m_wManagerId ? pClub->GetManager() : nullptr;
            if (!pManager)
                continue;
            const bool bChampion = pDivision->m_byDivisionNumber == 1 && pClub->m_byLeaguePosition == 1;
            const bool bPromoted = pClub->m_byLeaguePosition >= 1 && pClub->m_byLeaguePosition <= pDivision->m_byPromotionZone;
            if (bChampion || bPromoted) {
                const int32_t nBonus =
                    static_cast<int32_t>(pManager->m_Contract.dwWage / 100) * pManager->m_Contract.abyBonus[2];
                pClub->AddFinanceTransaction(kFinanceManagerBonus, 0, nBonus);
            }
        }
    }
}
