#include "matchday/CMatchCommentator.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "match/CCommentary.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "matchday/CMatchEventHandler.h"
#include "season/CGroundDatabase.h"
#include "sound/CSoundManager.h"

namespace {

std::string Surname(const CMatchPerson* pPerson)
{
    const CPlayerDatabase* pPlayer = CMatchEventHandler::GetPlayerOfPerson(pPerson);
    return pPlayer && pPlayer->GetLastName() ? pPlayer->GetLastName() : "";
}

std::string ClubName(const CMatchClub* pClub)
{
    return pClub && pClub->GetRecord() ? pClub->GetRecord()->GetName() : "";
}

}  // namespace

CMatchCommentator::CMatchCommentator(CMatchEngine& engine) : m_Engine(engine) {}

std::string CMatchCommentator::GetInsertion(uint16_t wType, const ITEMMATCHEVENTINFORMATION& event) const
{
    const CMatchClub* pClub = CMatchEventHandler::GetClubOfPerson(event.pPerson);
    const CMatchClub* pOpponent = pClub ? pClub->GetOpponent() : nullptr;
    switch (wType) {
    case COMMENTARY_INSERT_GROUND_NAME:
        return m_Engine.GetGround() ? m_Engine.GetGround()->GetName() : "";
    case COMMENTARY_INSERT_MANAGER_NAME: {
        const CManagerDatabase* pManager = pClub && pClub->GetRecord() ? pClub->GetRecord()->GetManager() : nullptr;
        return pManager && pManager->GetLastName() ? pManager->GetLastName() : "";
    }
    case COMMENTARY_INSERT_HOME_TEAM_NAME:
        return ClubName(m_Engine.GetHomeClub());
    case COMMENTARY_INSERT_AWAY_TEAM_NAME:
        return ClubName(m_Engine.GetAwayClub());
    case COMMENTARY_INSERT_CURRENT_SCORE: {
        uint8_t byHome = 0, byAway = 0;
        m_Engine.GetScore(byHome, byAway);
        return std::to_string(byHome) + "-" + std::to_string(byAway);
    }
    case COMMENTARY_INSERT_KEEPER_SURNAME:
        return pOpponent ? Surname(pOpponent->GetSlot(0)) : "";
    case COMMENTARY_INSERT_PLAYER_SURNAME:
    case COMMENTARY_INSERT_FROM_PLAYER_SURNAME:
        return Surname(event.pPerson);
    case COMMENTARY_INSERT_TO_PLAYER_SURNAME:
        return Surname(event.pSecondPerson);
    case COMMENTARY_INSERT_TO_TEAM_NAME:
    case COMMENTARY_INSERT_TEAM_NAME:
        return ClubName(pClub);
    case COMMENTARY_INSERT_AGAINST_TEAM_NAME:
        return ClubName(pOpponent);
    case COMMENTARY_INSERT_GOAL_NUMBER:
        return pClub ? std::to_string(pClub->GetGoals()) : "";
    default:
        return "";
    }
}

std::string CMatchCommentator::FormatText(const char* pszText, const std::vector<std::string>& insertions)
{
    std::string out;
    size_t nNext = 0;
    for (const char* p = pszText; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (nNext < insertions.size())
                out += insertions[nNext];
            ++nNext;
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            out += '%';
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

bool CMatchCommentator::AddToCommentary(const ITEMMATCHEVENTINFORMATION& event)
{
    CCommentary* pBank = m_Engine.GetCommentary();
    if (!pBank || !m_Engine.IsCommentaryOn())
        return false;
    const int nEvent = event.byEvent;
    const int nType = event.byDetail < pBank->GetTypeCount(nEvent) ? event.byDetail : 0;
    const COMMENTARYLINE* pLine = pBank->PickEntry(nEvent, nType);
    if (!pLine) {
        DebugLog(6, "ClientMatch::AddToCommentary() - Com Event %d Com Type %d", nEvent, nType);
        return false;
    }
    if (const char* pszText = pLine->wText != COMMENTARYLINE::kNoText ? pBank->GetEntry(pLine->wText) : nullptr) {
        std::vector<std::string> insertions;
        for (uint16_t wType : pLine->awInsertions)
            if (wType)
                insertions.push_back(GetInsertion(wType, event));
        m_Lines.push_back({CMatchEventHandler::GetMinute(event.dwGameTime), FormatText(pszText, insertions)});
    }
    CSoundManager* pSpeaker = m_Engine.GetCommentarySoundManager();
    if (pSpeaker && m_Engine.IsSoundOn()) {
        uint32_t dwAt = m_Engine.GetEngineClock();
        if (pLine->wFirstSample != COMMENTARYLINE::kNoSample) {
            pSpeaker->QueuePrioritySound(pLine->wFirstSample, dwAt);
            dwAt += pSpeaker->GetSoundLength(pLine->wFirstSample);
        }
        if (pLine->wSecondSample != COMMENTARYLINE::kNoSample)
            pSpeaker->QueuePrioritySoundLower(pLine->wSecondSample, dwAt);
    }
    return true;
}
