// What a club tells the world: news items for the human who runs it and
// stories for its country's newspaper.
#include "database/CClubDatabase.h"

#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"

CNewsItem* CClubDatabase::AddNewsItem(uint16_t wType) const
{
    CSaveGame* pHuman = m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(this) : nullptr;
    return pHuman ? pHuman->PostNews(wType, this) : nullptr;
}

CNewspaperStory* CClubDatabase::AddNewspaperStory(uint8_t byKind, uint16_t wType) const
{
    CNewspaperStoryList* pStories = m_pCountry ? m_pCountry->GetNewspaperStories() : nullptr;
    if (!pStories || !m_pDivision || !m_pDatabaseHandler)
        return nullptr;
    // The papers follow the top division and every division a human plays in.
    bool bFollowed = m_pDivision->m_byDivisionNumber == 1;
    for (int nSlot = 0; nSlot < HUMAN_SLOTS && !bFollowed; ++nSlot) {
        const CSaveGame* pHuman = m_pDatabaseHandler->GetHumanSlot(nSlot);
        bFollowed = pHuman && pHuman->GetClub() && pHuman->GetClub()->m_pDivision == m_pDivision;
    }
    if (!bFollowed)
        return nullptr;
    CNewspaperStory* pStory = pStories->AddPendingStory(byKind, wType);
    pStory->SetParameterSlot(NEWS_SLOT_CLUB_A, m_wClubId);
    pStory->SetParameterSlot(NEWS_SLOT_COUNTRY, m_pCountry->GetID());
    pStory->SetParameterSlot(NEWS_SLOT_DIVISION, m_pDivision->m_byDivisionId);
    return pStory;
}
