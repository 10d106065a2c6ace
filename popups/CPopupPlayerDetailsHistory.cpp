// The career page of the player details popup: his seasons with the match
// figures of the competitions in the filter summed, his injuries and his
// suspensions.
#include "popups/CPopupPlayerDetails.h"

#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXListBox.h"

#include <iterator>

namespace {

constexpr int kCaptionTabs = 225;
constexpr int kWordsSet = 114;
constexpr int kNoneItem = 6;
constexpr int kInjurySet = 115;
constexpr int kInjuryStatusSet = 77;
constexpr int kSuspensionSet = 76;
constexpr int kFirstSeasonYear = 1999;
constexpr int kCounters = 13;
constexpr COLORREF kRowColour = 0xFFFFFF;

// The thirteen counters of a competition's block: the twelve fields and the
// byte after them.
int Counter(const MATCHINFORMATION& info, int n)
{
    return n < MATCH_INFORMATION_FIELD_COUNT ? info.abyFields[n] : info.byZero;
}

}  // namespace

void CPopupPlayerDetails::ShowHistoryPage()
{
    BeginPage(PAGE_HISTORY);
    if (CXSurface* pTabs = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnPTab.bmp") : nullptr) {
        const CAPTIONTAB tabs[] = {{1, 0, ID_CAREER, 0, 0, 0},
                                   {1, 1, ID_INJURIES, 0, 0, 0},
                                   {1, 2, ID_SUSPENSIONS, 0, 0, 0},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionTabs, tabs);
    }
    FillCareerList();
    FillInjuryAndSuspensionLists();
    const uint32_t page[] = {ID_CAREER, ID_INJURIES, ID_SUSPENSIONS};
    EndPage(page, std::size(page));
}

void CPopupPlayerDetails::FillCareerList()
{
    CXListBox* pList = List(ID_CAREER);
    CDatabaseHandler* pDatabase = Database();
    if (!pList || !m_pPlayer)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (const PLAYERCAREERENTRY* pEntry : m_pPlayer->m_Career.Items<PLAYERCAREERENTRY>()) {
        const CClubDatabase* pClub = pDatabase ? pDatabase->GetClubFromID(pEntry->wClubId) : nullptr;
        int anSum[kCounters] = {};
        for (int k = 0; k < PLAYER_CAREER_COMPETITIONS; ++k)
            if (m_dwHistoryFilter & (1u << k))
                for (int n = 0; n < kCounters; ++n)
                    anSum[n] += Counter(pEntry->aMatchInformation[k], n);
        const int nYear = kFirstSeasonYear + pEntry->bySeason;
        pList->AddString(kRowColour, "%d / %d\t%s\t%2d (%2d)\t%2d\t%2d\t%2d\t%2d\t%2d (%2d)\t%2d\t%2d\t%2d\t%2d", nYear,
                         nYear + 1, pClub ? pClub->GetName() : GetTableTextOrEmpty(kWordsSet, kNoneItem), anSum[0],
                         anSum[1], anSum[3], anSum[4], anSum[8], anSum[5], anSum[7] + anSum[6], anSum[6], anSum[9],
                         anSum[11], anSum[10], anSum[12]);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CPopupPlayerDetails::FillInjuryAndSuspensionLists()
{
    CXListBox* pInjuries = List(ID_INJURIES);
    CXListBox* pSuspensions = List(ID_SUSPENSIONS);
    if (!pInjuries || !pSuspensions || !m_pPlayer)
        return;
    pInjuries->SetAutoRedraw(false);
    pSuspensions->SetAutoRedraw(false);
    pInjuries->ResetContent();
    pSuspensions->ResetContent();
    for (const INJURYENTRY* pEntry : m_pPlayer->m_InjuryHistory.Items<INJURYENTRY>()) {
        const CDate back(CDate::Pack(pEntry->Date.wYear, pEntry->Date.byMonth, pEntry->Date.byDay), pEntry->wDays);
        // Each formatter hands back a rotating buffer: copy the first date.
        char szStart[32];
        std::snprintf(szStart, sizeof szStart, "%s", FormatDateRecord(pEntry->Date));
        pInjuries->AddString(kRowColour, "%s\t%s\t%s\t%s", szStart, FormatPackedDate(back.GetValue()),
                             GetTableTextOrEmpty(kInjurySet, pEntry->byType),
                             GetTableTextOrEmpty(kInjuryStatusSet, CPlayerDatabase::GetInjuryStatus(pEntry->byType)));
    }
    for (const DISCIPLINARYENTRY* pEntry : m_pPlayer->m_DisciplinaryHistory.Items<DISCIPLINARYENTRY>()) {
        const uint8_t byFlags = pEntry->abyData[DISCIPLINARYENTRY::MARKS];
        const uint8_t byMask = (byFlags & PLAYER_SUSPENDED_DOMESTIC) ? PLAYER_SUSPENDED_EUROPEAN : 2;
        pSuspensions->AddString(kRowColour, "%s\t%s\t%d", FormatPackedDate(pEntry->GetDate().GetValue()),
                                GetTableTextOrEmpty(kSuspensionSet, (byFlags & byMask) ? 2 : 1),
                                pEntry->abyData[9]);
    }
    for (CXListBox* pList : {pInjuries, pSuspensions}) {
        pList->SetAutoRedraw(true);
        pList->UpdateScrollBar();
        pList->Redraw();
    }
}
