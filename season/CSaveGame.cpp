// The human manager's record: its life, the new-game creation, season and
// club set-up, taking over and leaving a club, the daily and periodic hooks,
// the small lists and the board objective.
#include "season/CSaveGame.h"

#include <algorithm>
#include <cstring>

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
#include "database/CPlayerRelocation.h"
#include "database/CShortlistEntry.h"
#include "database/CStaffDatabase.h"
#include "platform/Random.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CNoticeList.h"
#include "season/CScoutManager.h"
#include "season/CTrainingManager.h"
#include "season/CHoardingsManager.h"
#include "season/CSponsorManager.h"

CDatabaseHandler* CSaveGame::m_pDatabaseHandler = nullptr;
int CSaveGame::m_nHumanCount = 0;
uint32_t CSaveGame::s_dwNextSerial = 0;

namespace {

constexpr uint32_t kPlayerRetired = 0x400;
constexpr int kHumanRating = 40;
constexpr uint8_t kDefaultCountry = 1;

CDate Today()
{
    return CSaveGame::m_pDatabaseHandler ? CSaveGame::m_pDatabaseHandler->GetGameDate() : CDate();
}

template <typename T>
void FreeAll(CXList& list)
{
    while (!list.IsEmpty())
        delete static_cast<T*>(list.RemoveHead());
}

}  // namespace

CSaveGame::CSaveGame()
{
    m_byPlayerNumber = static_cast<uint8_t>(m_nHumanCount);
    ++m_nHumanCount;
    m_pNews = std::make_unique<CNewspaperManager>();
    m_pScrapbook = std::make_unique<CNewspaperStoryList>();
    m_pScouts = std::make_unique<CScoutManager>(this);
    m_pTraining = std::make_unique<CTrainingManager>(this);
    m_pNotices = std::make_unique<CNoticeList>(this);
    m_pSponsors = std::make_unique<CSponsorManager>(this);
    m_pHoardings = std::make_unique<CHoardingsManager>(this);
    m_NextDate = Today();
    m_OwnFormation = FORMATIONRECORD();
}

CSaveGame::~CSaveGame()
{
    --m_nHumanCount;
    FreeLists();
}

CScoutPlayerQuery* CSaveGame::GetScoutQueryFromID(uint32_t dwId) const
{
    return m_pScouts->GetScoutQueryFromID(dwId);
}

TRAININGCAMP* CSaveGame::GetTrainingCampFromID(uint32_t dwId) const
{
    return m_pTraining->GetTrainingCampFromID(dwId);
}

void CSaveGame::ClearOfferLists()
{
    while (!m_lstTransferReports.IsEmpty())
        delete[] static_cast<uint8_t*>(m_lstTransferReports.RemoveHead());
    while (!m_lstLoanReports.IsEmpty())
        delete[] static_cast<uint8_t*>(m_lstLoanReports.RemoveHead());
    FreeAll<CBuyOfferDatabase>(m_lstBuyOffers);
    FreeAll<CLoanOfferDatabase>(m_lstLoanOffers);
}

void CSaveGame::FreeLists()
{
    ClearOfferLists();
    FreeAll<CShortlistEntry>(m_lstShortlist);
    FreeAll<BALANCERECORD>(m_lstBalanceRecords);
    FreeAll<FINANCETRANSACTION>(m_lstTransactions);
    FreeAll<SQUADENTRY>(m_lstSquad);
    while (!m_lstEventHistory.IsEmpty())
        DeleteEventHistoryRecord(static_cast<EVENTHISTORYRECORD*>(m_lstEventHistory.GetHead()->pData));
    FreeAll<JOBAPPLICATION>(m_lstJobApplications);
    FreeAll<STAFFNEGOTIATION>(m_lstNegotiations);
}

// ---- names and the new-game popup ----

bool CSaveGame::IsValidTypedName(const char* pszName)
{
    if (!pszName || !*pszName)
        return false;
    return std::strlen(pszName) <= SAVEGAME_MAX_TYPED_NAME;
}

bool CSaveGame::IsValidFileName(const char* pszName)
{
    if (!IsValidTypedName(pszName) || pszName[0] == '.')
        return false;
    return std::strpbrk(pszName, "/\\:") == nullptr;
}

void CSaveGame::SetNames(const char* pszFirstName, const char* pszSurname)
{
    std::snprintf(m_szFirstName, sizeof(m_szFirstName), "%s", pszFirstName ? pszFirstName : "");
    std::snprintf(m_szSurname, sizeof(m_szSurname), "%s", pszSurname ? pszSurname : "");
}

void CSaveGame::LinkManagerNames() const
{
    if (!m_pDatabaseHandler || !m_idManager)
        return;
    if (CManagerDatabase* pManager = m_pDatabaseHandler->GetManagerFromID(m_idManager)) {
        pManager->m_pszFirstName = m_szFirstName;
        pManager->m_pszLastName = m_szSurname;
    }
}

CSaveGame* CSaveGame::CreateNewHuman(CDatabaseHandler& handler, int nSlot, const char* pszName,
                                     uint8_t byNationality, ID_COUNTRY idCountry)
{
    if (nSlot < 0 || nSlot >= HUMAN_SLOTS || handler.GetHumanSlot(nSlot)) {
        DebugLog(0, "[CSaveGame::CreateNewHuman] Slot %d is not free", nSlot);
        return nullptr;
    }
    if (!IsValidTypedName(pszName)) {
        DebugLog(0, "[CSaveGame::CreateNewHuman] A manager's name has 1 to %d characters", SAVEGAME_MAX_TYPED_NAME);
        return nullptr;
    }
    auto* pHuman = new CSaveGame();
    if (const char* pszBlank = std::strchr(pszName, ' ')) {
        const std::string first(pszName, pszBlank);
        pHuman->SetNames(first.c_str(), pszBlank + 1);
    }
    else
        pHuman->SetNames("", pszName);

    auto* pManager = new CManagerDatabase();
    pManager->m_byAbility = kHumanRating;
    pManager->m_byRating = kHumanRating;
    pManager->m_byNationality = byNationality;
    pManager->m_dwSeasonValueA = pManager->m_dwSeasonValueB = 0;
    pManager->m_bySeasonCounter = 0;
    // Registered in the pool, which owns him while he has no club.
    handler.AddManagerToFreePool(pManager->GetId());
    pHuman->m_idManager = pManager->GetId();
    pHuman->m_pCountry = handler.GetCountryFromID(idCountry);
    handler.SetHumanSlot(nSlot, pHuman);
    pHuman->LinkManagerNames();
    return pHuman;
}

// ---- season and club ----

void CSaveGame::InitialiseSeason(uint8_t byClearSavings, uint32_t /*dwFlag*/)
{
    m_byResign = m_byBoardRequest = m_byBoardPending = 0;
    m_nCompensation = 0;
    m_wLeaveReason = 135;
    m_nLoanRequest = m_nLoanRequest2 = m_nLoanFee = 0;
    m_wLoanInterest = 0;
    m_byLoanTerm = m_byLoanKind = 0;
    m_nOverdraftRequest = m_nOverdraftFee = 0;
    m_byOverdraftTerm = m_byOverdraftKind = m_byRefusals = m_byDaysInRed = 0;

    // New humans always start in the same season frame.
    m_SeasonStart.SetNthWeekday(7, 1999, 6, 2);
    m_SeasonEnd.SetNthWeekday(5, 2000, 6, 4);
    for (CDate& date : m_aReminders)
        date = CDate(1995, 1, 1);
    for (CDate& date : m_aMarketVisits)
        date = m_SeasonStart;
    m_dwWeeksInSeason = 0;
    for (CDate date = m_SeasonStart; date < m_SeasonEnd; date += 7)
        ++m_dwWeeksInSeason;

    m_abySeasonBytes[0] = m_abySeasonBytes[1] = 0;
    ClearNavigationAlerts();
    for (int i = 0; i < FINANCE_CATEGORIES; ++i)
        m_aMonthFinance[i] = m_aSeasonFinance[i] = FINANCEENTRY();
    ClearFinanceMonth();
    m_pScouts->ResetScouts();
    if (byClearSavings)
        m_nSavings = m_nSavingsAtClose = 0;

    ClearOfferLists();
    ResetNewsAndNotices();
    m_pScrapbook->RemoveAll();
    FreeAll<CShortlistEntry>(m_lstShortlist);
    FreeAll<BALANCERECORD>(m_lstBalanceRecords);
    m_pTraining->ResetForNewGame();
    FreeAll<JOBAPPLICATION>(m_lstJobApplications);
    FreeAll<STAFFNEGOTIATION>(m_lstNegotiations);

    BALANCERECORD opening;
    const CDate today = Today();
    opening.wYear = static_cast<uint16_t>(today.GetYear());
    opening.byMonth = static_cast<uint8_t>(today.GetMonth());
    opening.byDay = static_cast<uint8_t>(today.GetDay());
    opening.nAmount = m_nSavings;
    opening.wKind = 0;
    AddBalanceRecord(opening);

    std::memset(m_abyTickets, 0, sizeof(m_abyTickets));
    std::memset(m_abyInstructions[1], 0, 11 * sizeof(m_abyInstructions[0]));
    m_dwHandOverValue = 0;
    m_byHandOver = 0;
}

void CSaveGame::ClearTeamSheet()
{
    std::fill(std::begin(m_apTeamSheet), std::end(m_apTeamSheet), nullptr);
    std::fill(std::begin(m_apSetPieces), std::end(m_apSetPieces), nullptr);
}

void CSaveGame::SetDefaultFormation()
{
    std::snprintf(m_szFormationName, sizeof(m_szFormationName), "%s", "4-4-2");
    m_OwnFormation.byShipped = 0;
    m_OwnFormation.byExtra = 0;
    std::snprintf(m_OwnFormation.szName, sizeof(m_OwnFormation.szName), "%s", "My formation");
    m_byModified = 0;
    if (!LoadTactics(m_szFormationName, true))
        DebugLog(2, "[CSaveGame::SetupClub] The formation 4-4-2 is missing");
    std::snprintf(m_szFreeKickSet, sizeof(m_szFreeKickSet), "%s", "none");
}

void CSaveGame::SetTeamOrderValue(int nOrder, int nValue)
{
    if (nOrder >= 0 && nOrder < SAVEGAME_TEAM_ORDERS)
        m_abyInstructions[0][nOrder] = uint8_t(std::clamp(nValue, 0, 100));
}

void CSaveGame::SetTeamOrderAdjustment(int nLineUp, int nOrder, int nValue)
{
    if (nLineUp >= 0 && nLineUp < SAVEGAME_LINEUP && nOrder >= 0 && nOrder < SAVEGAME_TEAM_ORDERS)
        m_abyInstructions[1 + nLineUp][nOrder] = uint8_t(int8_t(
            std::clamp(nValue, -SAVEGAME_ORDER_ADJUSTMENT_LIMIT, SAVEGAME_ORDER_ADJUSTMENT_LIMIT)));
}

void CSaveGame::SetTeamOrderOption(int nOption, bool bSet)
{
    if (nOption >= 0 && nOption < SAVEGAME_TEAM_OPTIONS)
        m_abyInstructions[0][SAVEGAME_TEAM_ORDERS + nOption] = bSet ? 1 : 0;
}

void CSaveGame::SetupClub(uint32_t /*dwFlag*/, uint8_t byKeepCountry)
{
    m_bySquadWarning = 0;
    if (!m_pClub) {
        if (byKeepCountry) {
            m_idManager = 0;
            m_pCountry = m_pDatabaseHandler ? m_pDatabaseHandler->GetCountryFromID(kDefaultCountry) : nullptr;
        }
        ClearTeamSheet();
        m_szFormationName[0] = '\0';
        ClearSquadList();
        return;
    }
    if (m_pClub->GetManager())
        m_idManager = m_pClub->GetManager()->GetId();
    m_pCountry = m_pClub->m_pCountry;

    SetDefaultFormation();
    PickTeam();
    m_pTraining->ResetForNewGame();
    std::memset(m_abyDelegation, 0, sizeof(m_abyDelegation));
    m_abyDelegation[0] = 3;
    m_anAttendanceTrend[0] = m_anAttendanceTrend[1] = 0;
    // A club taken over starts with the standard orders and no place's own.
    for (int nOrder = 0; nOrder < SAVEGAME_TEAM_ORDERS; ++nOrder) {
        SetTeamOrderValue(nOrder, SAVEGAME_ORDER_STANDARD);
        for (int nPlace = 0; nPlace < SAVEGAME_LINEUP; ++nPlace)
            SetTeamOrderAdjustment(nPlace, nOrder, 0);
    }
    for (int nOption = 0; nOption < SAVEGAME_TEAM_OPTIONS; ++nOption)
        SetTeamOrderOption(nOption, false);
    ResetFormationPositions();
    m_pScouts->ResetScouts();
    for (CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        AddSquadEntry(pPlayer);
    SetUpTicketTables();
    // A club taken over starts with fresh offers and bare hoardings.
    m_pSponsors->ResetOffers();
    m_pHoardings->RemoveAll();
    m_pHoardings->Reset();
    m_pHoardings->GenerateOffers();
}

void CSaveGame::TakeOverClub(CClubDatabase* pClub)
{
    InitialiseSeason(1, 0);
    if (pClub && m_pDatabaseHandler) {
        // The club's manager makes way for the human, back into the pool.
        const CManagerDatabase* pOld = pClub->GetManager();
        const ID_MANAGER idOld = pOld ? pOld->GetId() : 0;
        if (idOld && idOld != m_idManager) {
            pClub->SetManager(0, true);
            m_pDatabaseHandler->AddManagerToFreePool(idOld);
        }
        m_pDatabaseHandler->RemoveManagerFromFreePool(m_idManager);
        pClub->SetManager(m_idManager, true);
        // A manager new to the game is rated as the club he takes.
        CManagerDatabase* pManager = m_pDatabaseHandler->GetManagerFromID(m_idManager);
        const MANAGERCAREERENTRY* pLast = pManager ? pManager->GetCareerEntry(-1) : nullptr;
        if (pManager && (!pLast || pLast->wClubId == 0))
            pManager->SetupForClub();
    }
    m_pClub = pClub;
    m_nCompensation = 0;
    SetupClub(1, 0);
    m_pNotices->AddNotice(0);
    UpdateNextFixture();
    if (m_pDatabaseHandler && m_pClub)
        WriteProjectedFinance();
    AddEventHistoryRecord();
}

void CSaveGame::LeaveClub()
{
    if (m_pDatabaseHandler) {
        std::remove(GetHistoryFileName());
        std::remove(GetFinanceHistoryFileName());
        std::remove(GetProjectedFinanceFileName());
        if (m_pClub) {
            char szName[32];
            std::snprintf(szName, sizeof(szName), "Temp%d.wmh", m_pClub->GetID());
            std::remove(szName);
            std::snprintf(szName, sizeof(szName), "Temp%d.hhs", m_pClub->GetID());
            std::remove(szName);
        }
    }
    SettleFinanceOnLeaving();
    const CClubDatabase* pOldClub = m_pClub;
    m_pClub = nullptr;
    ResetNewsAndNotices();
    m_pScouts->DoDeleteScoutPlayerQueries(true);
    while (!m_lstEventHistory.IsEmpty())
        DeleteEventHistoryRecord(static_cast<EVENTHISTORYRECORD*>(m_lstEventHistory.GetHead()->pData));
    FreeAll<STAFFNEGOTIATION>(m_lstNegotiations);
    ClearSquadList();
    FreeAll<CShortlistEntry>(m_lstShortlist);
    ClearTeamSheet();
    if (m_byResign) {
        PostNews(93, pOldClub);
        m_byResign = 0;
    }
    else
        PostNews(m_wLeaveReason, pOldClub);
}

void CSaveGame::Resign()
{
    m_byResign = 1;
    if (m_pDatabaseHandler)
        if (CManagerDatabase* pManager = m_pDatabaseHandler->GetManagerFromID(m_idManager)) {
            pManager->m_byAbility = static_cast<uint8_t>(std::max(20, pManager->m_byAbility - 15));
            pManager->m_byRating = static_cast<uint8_t>(std::max(20, pManager->m_byRating - 10));
        }
    m_nCompensation = 0;
}

void CSaveGame::ResetNewsAndNotices()
{
    m_pNews->RemoveAllNewsItems();
    m_pNotices->RemoveAll();
}

CNewsItem* CSaveGame::PostNews(uint16_t wCode, const CClubDatabase* pClub)
{
    CNewsItem* pItem = m_pNews->AddNewsItem(wCode);
    if (pClub)
        pItem->SetSlot(NEWS_SLOT_CLUB_A, pClub->GetID());
    DebugLog(5, "[CSaveGame::PostNews] News item %u for human %u", wCode, m_byPlayerNumber);
    return pItem;
}

void CSaveGame::DoDailyUpdate()
{
    m_bySquadWarning = 0;
    if (m_pClub) {
        ApplyProductPricing();
        // A club in the pool outside the league ladder, a board that has had
        // enough or ruinous debts end the job, checked in that order.
        bool bSacked = false;
        if (m_pClub->m_pDivision && m_pClub->m_pDivision->m_byKind == DIVISION_KIND_BOTTOM_OTHER) {
            m_wLeaveReason = 134;
            bSacked = true;
        }
        else if (m_pClub->m_nBoardConfidence < 25)
            bSacked = true;
        else if (m_pClub->m_nBankBalance < -30000000) {
            m_wLeaveReason = 129;
            bSacked = true;
        }
        if (!bSacked && m_byResign)
            bSacked = true;
        if (bSacked) {
            // The root sacks him while the club is still his, so that the
            // paper can tell a resignation from a sacking; the human keeps
            // his record and the club looks for another manager.
            if (m_pDatabaseHandler)
                m_pDatabaseHandler->SackManager(m_idManager, true);
            LeaveClub();
        }
        else if (m_byBoardRequest && !m_byBoardPending) {
            m_byBoardRequest = 0;
            m_byBoardPending = 0;
            PostNews(137, m_pClub);
        }
    }
    UpdateJobApplications();
    UpdateStaffNegotiations();
}

void CSaveGame::DoPeriodicReview()
{
    const CDate today = Today();
    while (!m_lstEventHistory.IsEmpty()) {
        auto* pRecord = static_cast<EVENTHISTORYRECORD*>(m_lstEventHistory.GetHead()->pData);
        if (!pRecord->pEvent || today.DaysBetween(pRecord->pEvent->GetDate()) < 31)
            break;
        DeleteEventHistoryRecord(pRecord);
    }
    for (LPXLISTNODE pNode = m_lstBalanceRecords.GetHead(); pNode;) {
        LPXLISTNODE pCurrent = pNode;
        pNode = pNode->pNext;
        auto* pRecord = static_cast<BALANCERECORD*>(pCurrent->pData);
        if (today.DaysBetween(CDate(pRecord->wYear, pRecord->byMonth, pRecord->byDay)) > 365) {
            m_lstBalanceRecords.Remove(pCurrent);
            delete pRecord;
        }
    }
    SetNavigationAlert(4, 1);
    if (m_pClub)
        m_pSponsors->RenewOffers();
    if (m_pClub) {
        if (m_pClub->m_nFanConfidence < 25)
            PostNews(138, m_pClub);
        else if (m_pClub->m_nFanConfidence > 80)
            PostNews(139, m_pClub);
        if (m_pClub->m_nBoardConfidence < 30)
            PostNews(140, m_pClub);
        else if (m_pClub->m_nBoardConfidence > 80)
            PostNews(141, m_pClub);
    }
}

uint32_t CSaveGame::GetColourForClub() const
{
    static const uint32_t s_adwColours[HUMAN_SLOTS] = {1834859, 16753755, 38655, 8553215};
    if (m_byPlayerNumber < HUMAN_SLOTS)
        return s_adwColours[m_byPlayerNumber];
    DebugLog(2, "[CSaveGame::GetColourForClub] Unknown Player Number %d", m_byPlayerNumber);
    return 16777215;
}

// ---- navigation and next match ----

void CSaveGame::SetNavigationAlert(int nIndex, int8_t nValue)
{
    if (nIndex >= 0 && nIndex < SAVEGAME_NAVIGATION_ALERTS && m_anAlerts[nIndex] != nValue)
        m_anAlerts[nIndex] = nValue;
}

bool CSaveGame::IsHelpSeen(int nScreen) const
{
    return nScreen >= 0 && nScreen < HELP_SEEN_SCREENS && (m_abyHelpSeen[nScreen / 8] & (1u << (nScreen % 8)));
}

void CSaveGame::SetHelpSeen(int nScreen)
{
    if (nScreen >= 0 && nScreen < HELP_SEEN_SCREENS)
        m_abyHelpSeen[nScreen / 8] = static_cast<uint8_t>(m_abyHelpSeen[nScreen / 8] | (1u << (nScreen % 8)));
}

void CSaveGame::ClearNavigationAlerts()
{
    std::fill(std::begin(m_anAlerts), std::end(m_anAlerts), 0);
}

int8_t CSaveGame::GetNavigationAlert(int nIndex) const
{
    return nIndex >= 0 && nIndex < SAVEGAME_NAVIGATION_ALERTS ? m_anAlerts[nIndex] : 0;
}

void CSaveGame::MarkNavigationAlertShown(int nIndex)
{
    if (nIndex >= 0 && nIndex < SAVEGAME_NAVIGATION_ALERTS)
        m_anAlerts[nIndex] = static_cast<int8_t>(m_anAlerts[nIndex] | 0x80);
}

int32_t CSaveGame::GetNextFixture(uint8_t* pbyHome, uint8_t* pbyCompetition, uint32_t* pdwDate,
                                  uint8_t* pbyCountry) const
{
    if (pbyHome)
        *pbyHome = m_byNextHome;
    if (pbyCompetition)
        *pbyCompetition = m_byNextCompetition;
    if (pdwDate)
        *pdwDate = m_NextDate.GetValue();
    if (pbyCountry)
        *pbyCountry = m_byNextCountry;
    return m_nNextOpponent;
}

void CSaveGame::UpdateNextFixture()
{
    m_byNextCompetition = 255;
    m_byNextHome = 1;
    m_byNextCountry = 0;
    m_nNextOpponent = -1;
    if (!m_pClub || !m_pDatabaseHandler)
        return;
    CDate date;
    m_nNextOpponent = m_pDatabaseHandler->GetNextFixture(m_pClub, &m_byNextHome, &m_byNextCompetition, &date);
    if (m_nNextOpponent >= 0) {
        m_NextDate = date;
        m_byNextCountry = m_pClub->m_pCountry ? m_pClub->m_pCountry->GetID() : 0;
    }
}

// ---- shortlist, squad list, applications, negotiations ----

CShortlistEntry* CSaveGame::AddToShortlist(CPlayerDatabase* pPlayer)
{
    if (!pPlayer)
        return nullptr;
    for (CShortlistEntry* pEntry : m_lstShortlist.Items<CShortlistEntry>())
        if (pEntry->GetPlayerID() == pPlayer->m_idPerson)
            return pEntry;
    auto* pEntry = new CShortlistEntry();
    pEntry->Set(pPlayer->m_idPerson, Today(), 0);
    m_lstShortlist.AddTail(pEntry);
    return nullptr;
}

bool CSaveGame::RemoveFromShortlist(const CPlayerDatabase* pPlayer)
{
    for (LPXLISTNODE pNode = m_lstShortlist.GetHead(); pNode;) {
        LPXLISTNODE pCurrent = pNode;
        pNode = pNode->pNext;
        auto* pEntry = static_cast<CShortlistEntry*>(pCurrent->pData);
        if (pPlayer && pEntry->GetPlayerID() == pPlayer->m_idPerson) {
            m_lstShortlist.Remove(pCurrent);
            delete pEntry;
            return true;
        }
    }
    return false;
}

bool CSaveGame::IsShortlisted(ID_PLAYER idPlayer) const
{
    for (const CShortlistEntry* pEntry : m_lstShortlist.Items<CShortlistEntry>())
        if (pEntry->GetPlayerID() == idPlayer)
            return true;
    return false;
}

void CSaveGame::RemoveRetiredFromShortlist()
{
    for (LPXLISTNODE pNode = m_lstShortlist.GetHead(); pNode;) {
        LPXLISTNODE pCurrent = pNode;
        pNode = pNode->pNext;
        auto* pEntry = static_cast<CShortlistEntry*>(pCurrent->pData);
        const CPlayerDatabase* pPlayer =
            m_pDatabaseHandler ? m_pDatabaseHandler->GetPlayerFromID(pEntry->GetPlayerID()) : nullptr;
        if (!pPlayer || (pPlayer->m_dwFlags & kPlayerRetired)) {
            m_lstShortlist.Remove(pCurrent);
            delete pEntry;
        }
    }
}

SQUADENTRY* CSaveGame::AddSquadEntry(CPlayerDatabase* pPlayer)
{
    if (!pPlayer)
        return nullptr;
    if (SQUADENTRY* pEntry = FindSquadEntry(pPlayer->m_idPerson))
        return pEntry;
    auto* pEntry = new SQUADENTRY;
    pEntry->pPlayer = pPlayer;
    m_lstSquad.AddTail(pEntry);
    return pEntry;
}

SQUADENTRY* CSaveGame::FindSquadEntry(ID_PLAYER idPlayer) const
{
    for (SQUADENTRY* pEntry : m_lstSquad.Items<SQUADENTRY>())
        if (pEntry->pPlayer && pEntry->pPlayer->m_idPerson == idPlayer)
            return pEntry;
    return nullptr;
}

void CSaveGame::RemoveSquadEntry(const CPlayerDatabase* pPlayer)
{
    if (!pPlayer)
        return;
    if (SQUADENTRY* pEntry = FindSquadEntry(pPlayer->m_idPerson)) {
        m_lstSquad.Remove(m_lstSquad.Find(pEntry));
        delete pEntry;
    }
}

void CSaveGame::ClearSquadList()
{
    FreeAll<SQUADENTRY>(m_lstSquad);
}

void CSaveGame::UpdatePlayerPlaces(const CPlayerRelocation& relocation)
{
    for (CPlayerDatabase*& pPlayer : m_apTeamSheet)
        pPlayer = relocation.NewPlace(pPlayer);
    for (CPlayerDatabase*& pPlayer : m_apSetPieces)
        pPlayer = relocation.NewPlace(pPlayer);
    for (SQUADENTRY* pEntry : m_lstSquad.Items<SQUADENTRY>())
        pEntry->pPlayer = relocation.NewPlace(pEntry->pPlayer);
}

void CSaveGame::OnPlayerLeft(CPlayerDatabase* pPlayer)
{
    CompactTeamSheet();
    RemoveSquadEntry(pPlayer);
    if (pPlayer)
        m_pTraining->RemovePlayerEntry(pPlayer->m_idPerson);
    if (!m_pClub)
        return;
    const int nSquad = m_pClub->m_lstPlayers.GetCount();
    if (nSquad < 22 && !m_bySquadWarning) {
        PostNews(131);
        m_bySquadWarning = 1;
        return;
    }
    if (nSquad < 18) {
        m_wLeaveReason = 130;
        m_byResign = 0;
        CClubDatabase* pClub = m_pClub;
        LeaveClub();
        if (m_pDatabaseHandler) {
            pClub->SetManager(0, true);
            m_pDatabaseHandler->AddManagerToFreePool(m_idManager);
        }
    }
}

void CSaveGame::OnPlayerJoined(CPlayerDatabase* pPlayer, int nHow)
{
    if (!pPlayer)
        return;
    for (CPlayerDatabase*& pPlace : m_apTeamSheet)
        if (!pPlace) {
            pPlace = pPlayer;
            break;
        }
    CompactTeamSheet();
    AddSquadEntry(pPlayer);
    m_pTraining->AddPlayerEntry(pPlayer->m_idPerson);
    if (nHow >= 1 && nHow <= 3 && m_nNextOpponent >= 0)
        PostNews(83);
}

JOBAPPLICATION* CSaveGame::ApplyForJob(const CClubDatabase* pClub)
{
    if (!pClub)
        return nullptr;
    auto* pApplication = new JOBAPPLICATION;
    pApplication->Applied = Today();
    pApplication->dwClubId = pClub->GetID();
    m_lstJobApplications.AddTail(pApplication);
    return pApplication;
}

JOBAPPLICATION* CSaveGame::FindJobApplication(const CClubDatabase* pClub) const
{
    for (JOBAPPLICATION* p : m_lstJobApplications.Items<JOBAPPLICATION>())
        if (pClub && p->dwClubId == pClub->GetID())
            return p;
    return nullptr;
}

bool CSaveGame::AcceptJobOffer(CClubDatabase* pClub)
{
    // Finance category of a manager's compensation.
    constexpr int kCompensationCategory = 77;
    JOBAPPLICATION* pApplication = FindJobApplication(pClub);
    if (!pApplication || pApplication->dwStatus != 3 || !m_pDatabaseHandler || pClub == m_pClub)
        return false;
    if (m_pClub) {
        if (m_nCompensation != 0) {
            m_pClub->AddFinanceTransaction(kCompensationCategory, m_nCompensation, 0);
            pClub->AddFinanceTransaction(kCompensationCategory, 0, m_nCompensation);
        }
        m_pDatabaseHandler->SackManager(m_idManager, true);
        LeaveClub();
    }
    SetJobApplicationOutcome(pApplication, true);
    TakeOverClub(pClub);
    return true;
}

void CSaveGame::RemoveJobApplication(JOBAPPLICATION* pApplication)
{
    if (LPXLISTNODE pNode = m_lstJobApplications.Find(pApplication)) {
        m_lstJobApplications.Remove(pNode);
        delete pApplication;
    }
}

void CSaveGame::SetJobApplicationOutcome(JOBAPPLICATION* pApplication, bool bHired)
{
    if (!pApplication)
        return;
    if (bHired) {
        pApplication->dwStatus = 6;
        return;
    }
    if (pApplication->dwStatus != 3)
        PostNews(204, m_pDatabaseHandler ? m_pDatabaseHandler->GetClubFromID(
                                               static_cast<ID_CLUB>(pApplication->dwClubId))
                                         : nullptr);
    pApplication->dwStatus = 2;
}

bool CSaveGame::IsClubAppliedForByOtherHuman(const CClubDatabase* pClub) const
{
    if (!pClub || !m_pDatabaseHandler)
        return false;
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot) {
        const CSaveGame* pOther = m_pDatabaseHandler->GetHumanSlot(nSlot);
        if (pOther && pOther != this && pOther->FindJobApplication(pClub))
            return true;
    }
    return false;
}

void CSaveGame::DecideJobApplication(JOBAPPLICATION* pApplication)
{
    constexpr int kRatingFloor = 20;
    CClubDatabase* pClub =
        m_pDatabaseHandler ? m_pDatabaseHandler->GetClubFromID(static_cast<ID_CLUB>(pApplication->dwClubId)) : nullptr;
    CManagerDatabase* pManager = m_pDatabaseHandler ? m_pDatabaseHandler->GetManagerFromID(m_idManager) : nullptr;
    // A club another human runs or applied for, one he has managed before,
    // or one outside the league ladder does not take him.
    if (!pClub || (m_pDatabaseHandler && m_pDatabaseHandler->GetSaveGameForClub(pClub)) ||
        IsClubAppliedForByOtherHuman(pClub) || (pManager && pManager->HasManagedClub(pClub->GetID())) ||
        (pClub->m_pDivision && pClub->m_pDivision->m_byKind == DIVISION_KIND_BOTTOM_OTHER)) {
        pApplication->dwStatus = 2;
        PostNews(205, pClub);
        return;
    }
    // His own board hears that he is looking elsewhere.
    if (m_pClub && !m_byBoardPending) {
        PostNews(248, pClub);
        PostNews(103, pClub);
        if (pManager) {
            pManager->m_byAbility = static_cast<uint8_t>(std::max(pManager->m_byAbility - 10, kRatingFloor));
            pManager->m_byRating = static_cast<uint8_t>(std::max(pManager->m_byRating - 5, kRatingFloor));
        }
        pApplication->dwStatus = 2;
        return;
    }
    switch (pClub->WouldManagerAcceptJob(m_idManager)) {
    case 2:
        pApplication->dwStatus = 3;
        PostNews(203, pClub);
        break;
    case 1:
        pApplication->dwStatus = 2;
        PostNews(204, pClub);
        break;
    default:
        pApplication->dwStatus = 2;
        PostNews(205, pClub);
        break;
    }
}

void CSaveGame::UpdateJobApplications()
{
    const CDate today = Today();
    for (LPXLISTNODE pNode = m_lstJobApplications.GetHead(); pNode;) {
        auto* p = static_cast<JOBAPPLICATION*>(pNode->pData);
        pNode = pNode->pNext;
        const CClubDatabase* pClub = m_pDatabaseHandler ? m_pDatabaseHandler->GetClubFromID(
                                                              static_cast<ID_CLUB>(p->dwClubId))
                                                        : nullptr;
        switch (p->dwStatus) {
        case 0: {
            p->dwStatus = 1;
            // The club takes as long as its opening asks.
            int nDays = 7 + plat::rand() % 21;
            switch (pClub ? pClub->GetManagerVacancyStatus() : 0) {
            case 1:
                nDays = 1;
                break;
            case 2:
                nDays = 7 + plat::rand() % 7;
                break;
            case 3:
                nDays = 7 + plat::rand() % 14;
                break;
            default:
                break;
            }
            p->Decision = CDate(today.GetValue(), nDays);
            break;
        }
        case 1:
            if (!(today < p->Decision))
                DecideJobApplication(p);
            break;
        case 2:
        case 3:
            if (today > CDate(p->Decision.GetValue(), p->dwStatus == 2 ? 14 : 28))
                RemoveJobApplication(p);
            break;
        default:
            break;
        }
    }
}

STAFFNEGOTIATION* CSaveGame::AddStaffNegotiation(ID_STAFF idStaff, int32_t nOffer)
{
    auto* p = new STAFFNEGOTIATION;
    p->wStaffId = idStaff;
    p->nOffer = nOffer;
    p->Made = Today();
    m_lstNegotiations.AddTail(p);
    return p;
}

STAFFNEGOTIATION* CSaveGame::FindStaffNegotiation(ID_STAFF idStaff) const
{
    for (STAFFNEGOTIATION* p : m_lstNegotiations.Items<STAFFNEGOTIATION>())
        if (p->wStaffId == idStaff)
            return p;
    return nullptr;
}

void CSaveGame::RemoveStaffNegotiation(STAFFNEGOTIATION* pNegotiation)
{
    if (LPXLISTNODE pNode = m_lstNegotiations.Find(pNegotiation)) {
        m_lstNegotiations.Remove(pNode);
        delete pNegotiation;
    }
}

int32_t CSaveGame::GetStaffWageBudget(int nPercentage) const
{
    // A share of a year's balance, by the week as staff are paid.
    if (!m_pClub || m_pClub->m_nBankBalance <= 0)
        return 0;
    return static_cast<int32_t>(static_cast<int64_t>(m_pClub->m_nBankBalance) * nPercentage / 100 / 52);
}

void CSaveGame::DecideStaffNegotiation(STAFFNEGOTIATION* pNegotiation)
{
    const CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(pNegotiation->wStaffId)
                                                      : nullptr;
    if (Today() < pNegotiation->Decision || !pStaff)
        return;
    const int nAsking = pStaff->GetAcceptedWage(pNegotiation->nOffer);
    if (nAsking == 0) {
        pNegotiation->byStatus = 2;
        PostNews(8, m_pClub)->SetSlot(NEWS_SLOT_STAFF, pNegotiation->wStaffId);
        return;
    }
    // A man with a club of his own wants more to come down, less to go up.
    if (pStaff->m_pClub && pStaff->m_pClub != m_pClub && m_pClub &&
        static_cast<int64_t>(nAsking) * (pStaff->m_byRating - m_pClub->GetClubRating() + 100) / 100 >
            pNegotiation->nOffer) {
        pNegotiation->byStatus = 2;
        PostNews(9, m_pClub)->SetSlot(NEWS_SLOT_STAFF, pNegotiation->wStaffId);
        return;
    }
    pNegotiation->byStatus = 3;
    PostNews(10, m_pClub)->SetSlot(NEWS_SLOT_STAFF, pNegotiation->wStaffId);
}

void CSaveGame::UpdateStaffNegotiations()
{
    constexpr int kStaffLimit = 23;
    constexpr int kBudgetPercentage = 30;
    const CDate today = Today();
    bool bBudgetTold = false;
    int32_t nWages = 0;
    if (m_pClub && m_pDatabaseHandler)
        for (const void* pValue : m_pClub->m_lstStaff.Items<void>())
            if (const CStaffDatabase* pStaff = m_pDatabaseHandler->GetStaffFromID(
                    static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue))))
                nWages += static_cast<int32_t>(pStaff->m_dwWage);
    for (LPXLISTNODE pNode = m_lstNegotiations.GetHead(); pNode;) {
        auto* p = static_cast<STAFFNEGOTIATION*>(pNode->pData);
        pNode = pNode->pNext;
        const CStaffDatabase* pStaff = m_pDatabaseHandler ? m_pDatabaseHandler->GetStaffFromID(p->wStaffId) : nullptr;
        switch (p->byStatus) {
        case 0:
            p->byStatus = 1;
            p->Decision = CDate(today.GetValue(), 7 + plat::rand() % 14);
            break;
        case 1:
            if (m_pClub && m_pClub->m_lstStaff.GetCount() >= kStaffLimit) {
                p->byStatus = 5;
                PostNews(166, m_pClub)->SetSlot(NEWS_SLOT_SUBTYPE, pStaff ? pStaff->m_byKind : 0);
            }
            else if (m_pClub && static_cast<int64_t>(nWages) + p->nOffer > GetStaffWageBudget(kBudgetPercentage)) {
                p->byStatus = 5;
                if (!bBudgetTold)
                    PostNews(167, m_pClub)->SetSlot(NEWS_SLOT_SUBTYPE, pStaff ? pStaff->m_byKind : 0);
                bBudgetTold = true;
            }
            else
                DecideStaffNegotiation(p);
            break;
        case 2:
        case 3:
        case 5:
            if (today > CDate(p->Decision.GetValue(), p->byStatus == 3 ? 28 : 14))
                RemoveStaffNegotiation(p);
            break;
        case 4:
            // Agreed and confirmed: he joins on the offered wage.
            if (m_pClub && m_pDatabaseHandler && pStaff) {
                if (pStaff->m_pClub && pStaff->m_pClub != m_pClub)
                    m_pDatabaseHandler->SackStaff(p->wStaffId);
                if (CStaffDatabase* pJoining = m_pDatabaseHandler->GetStaffFromID(p->wStaffId)) {
                    pJoining->m_dwWage = static_cast<uint32_t>(std::max(p->nOffer, 0));
                    m_pDatabaseHandler->HireStaff(p->wStaffId, m_pClub);
                }
            }
            RemoveStaffNegotiation(p);
            break;
        default:
            break;
        }
    }
}

// ---- board objective ----

int CSaveGame::CheckBoardObjective()
{
    const uint8_t byWas = m_byObjectiveCountdown;
    if (m_byObjectiveCountdown)
        --m_byObjectiveCountdown;
    const CDivisionDatabase* pDivision = m_pClub ? m_pClub->m_pDivision : nullptr;
    const int nPosition = m_pClub ? m_pClub->m_byLeaguePosition : 0;
    const int nSafe = pDivision ? pDivision->GetClubCount() - pDivision->m_byAutomaticRelegations -
                                      pDivision->m_byPlayOffRelegations
                                : 0;
    const bool bBoth = (m_byQualification & 3) == 3;
    switch (m_byObjectiveType) {
    case 3:
        if (m_pClub && nPosition == 1)
            return 1;
        return byWas == 1 ? 0 : 2;
    case 7:
        if (m_byObjectiveCountdown == 1)
            return bBoth ? 1 : 2;
        if (byWas == 1)
            return bBoth ? 1 : 0;
        return 2;
    default:
        break;
    }
    if (byWas != 1)
        return 2;
    if (!m_pClub)
        return 0;
    switch (m_byObjectiveType) {
    case 0:
        return nPosition < 7 ? 1 : 0;
    case 1:
    case 2:
        return nPosition <= nSafe ? 1 : 0;
    case 4:
        return nPosition <= nSafe && static_cast<int64_t>(m_pClub->m_nBankBalance) + m_nSavings >= 15000000 ? 1 : 0;
    case 5:
        // The cup winners are not recorded on the club yet; the league title
        // alone does not meet this objective.
        return 0;
    case 6:
        return pDivision && pDivision->m_byDivisionNumber == 1 ? 1 : 0;
    default:
        return 0;
    }
}

// ---- event history ----

namespace {

int EventDataType(int nKind)
{
    if (nKind == 34)
        return 1;
    if (nKind == 15 || (nKind >= 19 && nKind <= 25))
        return 2;
    if (nKind == 3 || nKind == 6 || nKind == 7 || (nKind >= 9 && nKind <= 14))
        return 3;
    if (nKind == 35 || nKind == 36)
        return 4;
    if (nKind >= 30 && nKind <= 33)
        return 5;
    return 0;
}

}  // namespace

int SaveGameEventDataType(int nKind)
{
    return EventDataType(nKind);
}

void CSaveGame::AddEventHistoryRecord()
{
    if (!m_pClub || !m_pDatabaseHandler)
        return;
    // Only events without data are copied: the records the others name live
    // in markets and managers that keep their own copies.
    for (const CCountryDatabase* pCountry : m_pDatabaseHandler->GetCountries().Items<CCountryDatabase>())
        for (const CEventsDatabase* pEvent : pCountry->GetEvents().Items<CEventsDatabase>())
            if (pEvent->IsClubEvent(m_pClub) && EventDataType(pEvent->GetType()) == 0) {
                auto* pRecord = new EVENTHISTORYRECORD;
                pRecord->pEvent = new CEventsDatabase(*pEvent);
                m_lstEventHistory.AddTail(pRecord);
            }
}

void CSaveGame::DeleteEventHistoryRecord(EVENTHISTORYRECORD* pRecord)
{
    if (!pRecord)
        return;
    switch (pRecord->pEvent ? EventDataType(pRecord->pEvent->GetType()) : 0) {
    case 1:
    case 4:
        delete[] static_cast<uint8_t*>(pRecord->pData);
        break;
    case 2:
        delete static_cast<CLoanOfferDatabase*>(pRecord->pData);
        break;
    case 3:
        delete static_cast<CBuyOfferDatabase*>(pRecord->pData);
        break;
    case 5:
        delete static_cast<CComponentScheduleDatabase*>(pRecord->pData);
        break;
    default:
        break;
    }
    delete pRecord->pEvent;
    if (LPXLISTNODE pNode = m_lstEventHistory.Find(pRecord))
        m_lstEventHistory.Remove(pNode);
    delete pRecord;
}
