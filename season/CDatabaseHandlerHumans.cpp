// The database root's human slots: ownership, look-ups, the .sav file of a
// saved game and the humans' part of the day advance.
#include "database/CDatabaseHandler.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CYouthDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "season/CScoutManager.h"
#include "season/CTrainingManager.h"

void CDatabaseHandler::SetHumanSlot(int nSlot, CSaveGame* pHuman)
{
    if (nSlot < 0 || nSlot >= HUMAN_SLOTS)
        return;
    CSaveGame::m_pDatabaseHandler = this;
    if (m_pHumanSlots[nSlot] && m_pHumanSlots[nSlot] != pHuman)
        delete m_pHumanSlots[nSlot];
    m_pHumanSlots[nSlot] = pHuman;
}

int CDatabaseHandler::GetHumanCount() const
{
    int nCount = 0;
    for (const CSaveGame* pHuman : m_pHumanSlots)
        nCount += pHuman != nullptr;
    return nCount;
}

int CDatabaseHandler::GetIndexForHumanPlayer(const CSaveGame* pHuman) const
{
    for (int i = 0; i < HUMAN_SLOTS; ++i)
        if (pHuman && m_pHumanSlots[i] == pHuman)
            return i;
    return -1;
}

CSaveGame* CDatabaseHandler::FindSaveGameForClub(const CClubDatabase* pClub) const
{
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pClub && pHuman && pHuman->GetClub() == pClub)
            return pHuman;
    return nullptr;
}

CSaveGame* CDatabaseHandler::GetSaveGameForManager(const CManagerDatabase* pManager) const
{
    if (!pManager)
        return nullptr;
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman && pHuman->GetManagerID() != 0 && pHuman->GetManagerID() == pManager->GetId())
            return pHuman;
    return nullptr;
}

int CDatabaseHandler::GetNextHumanPlayerIndex() const
{
    // Counting on from the current slot round to it again: a wrap to slot 0
    // when that slot is empty would hand the turn to nobody.
    for (int nStep = 1; nStep <= HUMAN_SLOTS; ++nStep) {
        const int nSlot = (m_byCurrentHuman + nStep) % HUMAN_SLOTS;
        if (m_pHumanSlots[nSlot])
            return nSlot;
    }
    return 0;
}

CSaveGame* CDatabaseHandler::SelectNextHumanPlayer()
{
    const int nNext = GetNextHumanPlayerIndex();
    m_byCurrentHuman = static_cast<uint8_t>(nNext);
    return m_pHumanSlots[nNext];
}

CScoutPlayerQuery* CDatabaseHandler::GetScoutQueryFromID(uint32_t dwId, CSaveGame** ppHuman) const
{
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (CScoutPlayerQuery* pQuery = pHuman ? pHuman->GetScoutQueryFromID(dwId) : nullptr) {
            if (ppHuman)
                *ppHuman = pHuman;
            return pQuery;
        }
    return nullptr;
}

TRAININGCAMP* CDatabaseHandler::GetTrainingCampFromID(uint32_t dwId, CSaveGame** ppHuman) const
{
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (TRAININGCAMP* pCamp = pHuman ? pHuman->GetTrainingCampFromID(dwId) : nullptr) {
            if (ppHuman)
                *ppHuman = pHuman;
            return pCamp;
        }
    return nullptr;
}

void CDatabaseHandler::DoHumanScoutingDay(int nDays)
{
    if (CSaveGame* pHuman = GetHumanSlot(m_byCurrentHuman))
        pHuman->GetScoutManager().AddDaysToQueries(nDays);
}

bool CDatabaseHandler::IsFixtureHeldForMatchScreen(const CClubDatabase* pHome, const CClubDatabase* pAway) const
{
    return m_byMatchType != 0 && (GetSaveGameForClub(pHome) || GetSaveGameForClub(pAway));
}

void CDatabaseHandler::DeleteHumans()
{
    for (CSaveGame*& pSlot : m_pHumanSlots) {
        delete pSlot;
        pSlot = nullptr;
    }
    if (CSaveGame::m_pDatabaseHandler == this)
        CSaveGame::m_pDatabaseHandler = nullptr;
}

bool CDatabaseHandler::SaveHumans(FILE* pFile) const
{
    if (!pFile)
        return false;
    CBinaryWriter writer(pFile);
    writer.WriteU8(static_cast<uint8_t>(GetHumanCount()));
    if (writer.Failed())
        return false;
    bool bOk = true;
    for (const CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman)
            bOk = pHuman->WriteSaveDescriptor(pFile) && bOk;
    for (const CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman)
            bOk = pHuman->Save(pFile) && bOk;
    if (!bOk)
        DebugLog(0, "[CDatabaseHandler::SaveHumans] The human managers could not be written");
    return bOk;
}

bool CDatabaseHandler::LoadHumans(FILE* pFile)
{
    if (!pFile)
        return false;
    DeleteHumans();
    CSaveGame::m_pDatabaseHandler = this;
    CBinaryReader reader(pFile);
    uint8_t byCount = 0;
    if (!reader.ReadU8(byCount) || byCount > HUMAN_SLOTS ||
        !reader.CheckCount(byCount, SAVEGAME_DESCRIPTOR_BYTES) || !reader.Skip(byCount * SAVEGAME_DESCRIPTOR_BYTES)) {
        DebugLog(0, "[CDatabaseHandler::LoadHumans] The saved game's count of humans is damaged");
        return false;
    }
    for (int i = 0; i < byCount; ++i) {
        auto* pHuman = new CSaveGame();
        m_pHumanSlots[i] = pHuman;
        if (!pHuman->Load(pFile)) {
            DebugLog(0, "[CDatabaseHandler::LoadHumans] Human %d of the saved game is damaged", i);
            DeleteHumans();
            return false;
        }
    }
    // The .bin wrote the current human as his packed place; one beyond the
    // humans read means the file pair does not belong together.
    if (byCount && m_byCurrentHuman >= byCount) {
        DebugLog(0, "[CDatabaseHandler::LoadHumans] The current human %u is not among %u", m_byCurrentHuman, byCount);
        m_byCurrentHuman = 0;
    }
    return true;
}

void CDatabaseHandler::DoHumansDailyUpdate()
{
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman) {
            const bool bHadClub = pHuman->GetClub() != nullptr;
            pHuman->DoDailyUpdate();
            if (bHadClub && pHuman->GetClub())
                pHuman->DoBankUpdate();
        }
}

void CDatabaseHandler::CloseHumansFinanceMonth()
{
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman && pHuman->GetClub())
            pHuman->CloseFinanceMonth();
}

void CDatabaseHandler::SetUpHumansForNewGame()
{
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman) {
            pHuman->InitialiseSeason(1, 0);
            pHuman->SetupClub(1, 0);
            // A new game opens, like a take-over, on the club's first notice.
            if (pHuman->GetClub())
                pHuman->GetNotices().AddNotice(0);
            pHuman->m_abyStatus[0] = 1;
            pHuman->m_abyStatus[1] = pHuman->m_abyStatus[2] = 0;
        }
}

void CDatabaseHandler::DoHumansPeriodicReview()
{
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman)
            pHuman->DoPeriodicReview();
}

void CDatabaseHandler::DoHumansNewSeason()
{
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman)
            pHuman->NewSeason();
}

void CDatabaseHandler::DoHumansQuarterlyUpdate(bool bFlag)
{
    // Half a season in, a human's first coach reports on each youth of 16
    // or more: ready for the first team (81) or not yet (82).
    constexpr uint16_t kNewsYouthReady = 81;
    constexpr uint16_t kNewsYouthNotReady = 82;
    constexpr int kReportAfterDays = 182;
    constexpr int kReportFromAge = 16;
    constexpr int kPlayersHeldLimit = 50;
    if (!bFlag)
        return;
    for (CSaveGame* pHuman : m_pHumanSlots) {
        CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
        if (!pClub || !pClub->m_pCountry)
            continue;
        const CDate start = pClub->m_pCountry->GetSeasonStartDate();
        const ID_STAFF idCoach = pClub->m_awStaffSlots[0][0];
        if (!start.IsValid() || m_GameDate.DaysBetween(start) <= kReportAfterDays || idCoach == 0 ||
            pClub->GetPlayersHeld() >= kPlayersHeldLimit)
            continue;
        for (const CYouthDatabase* pYouth : pClub->m_lstYouths.Items<CYouthDatabase>()) {
            if (pYouth->GetAge() < kReportFromAge)
                continue;
            CNewsItem* pNews = pHuman->PostNews(pYouth->IsReadyForFirstTeam() ? kNewsYouthReady : kNewsYouthNotReady, pClub);
            pNews->SetSlot(NEWS_SLOT_PERSON, pYouth->m_idPerson);
            pNews->SetSlot(NEWS_SLOT_STAFF, idCoach);
        }
    }
}
