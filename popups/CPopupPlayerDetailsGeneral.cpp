// The general page of the player details popup: his personal data, form and
// status, and the scout's and trainer's reports on him.
#include "popups/CPopupPlayerDetails.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/PlayerRowIcons.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

constexpr int kLabels = 37;
constexpr int kCaptionTabs = 223;
constexpr int kWordsSet = 114;
constexpr int kNoneItem = 6;
constexpr int kNationalitySet = 92;
constexpr int kRoleSet = 118;
constexpr int kListingSet = 75;
constexpr int kInjurySet = 115;
constexpr int kSuspensionSet = 76;
constexpr int kStaffKindTrainer = 0;
constexpr COLORREF kReportColour = 0xFFFFFF;

CXStatic* Label(CXClient& client, uint32_t dwID) { return dynamic_cast<CXStatic*>(client.FindControl(dwID)); }

const char* None() { return GetTableTextOrEmpty(kWordsSet, kNoneItem); }

}  // namespace

void CPopupPlayerDetails::ShowGeneralPage()
{
    BeginPage(PAGE_GENERAL);
    m_pBackground->ShadeRect(8, 77, 240, 290, 2);
    popup_look::DrawLabels(m_pBackground, kLabels);
    if (CXSurface* pTabs = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnPTab.bmp") : nullptr) {
        const CAPTIONTAB tabs[] = {{2, 0, 0, 8, 60, 240},
                                   {1, 1, ID_SCOUT_REPORT, 0, 0, 0},
                                   {1, 2, ID_TRAINER_REPORT, 0, 0, 0},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionTabs, tabs);
    }
    const CPlayerDatabase& player = *m_pPlayer;
    if (CXStatic* p = Label(*this, ID_BIRTH))
        p->SetText("%s", FormatDateRecord(player.m_DateOfBirth));
    if (CXStatic* p = Label(*this, ID_AGE))
        p->SetText("%d", player.GetAge());
    if (CXStatic* p = Label(*this, ID_NATIONALITY)) {
        p->SetText("%s", GetTableTextOrEmpty(kNationalitySet, player.m_byNationality));
        p->SetAlignedImage(PlayerRowIcons::NationFlag(player.m_byNationality), 2);
    }
    if (CXStatic* p = Label(*this, ID_ROLE)) {
        p->SetText("%s", GetTableTextOrEmpty(kRoleSet, player.m_byRole));
        p->RemoveAllImages();
        auto* pGame = dynamic_cast<CGame*>(g_pGame);
        CXSurface* pRoles = pGame ? pGame->GetSharedBitmaps().GetBitmap("Role.bmp") : nullptr;
        if (pRoles && player.m_byRole < PLAYER_ROLE_COUNT) {
            m_pRoleIcon = std::make_unique<CXAnimation>();
            m_pRoleIcon->Setup(pRoles, 26, 13, 26 * player.m_byRole, 0, 1, 1);
            p->AddAlignedImage(m_pRoleIcon.get(), 2);
        }
    }
    if (CXStatic* p = Label(*this, ID_MORALE))
        p->SetText("%d", player.m_awAttributes[PLAYER_ATTRIBUTE_MORALE] / 100);
    if (CXStatic* p = Label(*this, ID_RATING))
        p->SetText("%d", player.GetRatingForPosition(-1));
    CXStatic* pValue = Label(*this, ID_VALUE);
    CXStatic* pListing = Label(*this, ID_LISTING);
    CXStatic* pInjury = Label(*this, ID_INJURY);
    CXStatic* pSuspension = Label(*this, ID_SUSPENSION);
    if (IsRetired()) {
        for (CXStatic* p : {pValue, pListing, pInjury, pSuspension})
            if (p)
                p->SetText("%s", None());
    } else {
        if (pValue)
            SetMoneyText(pValue, player.m_dwValue, MONEY_AS_STORED);
        if (pListing)
            pListing->SetText("%s", GetTableTextOrEmpty(kListingSet, player.m_byTransferState));
        if (pInjury) {
            const auto* pEntry = player.m_InjuryHistory.GetCount()
                                     ? static_cast<const INJURYENTRY*>(player.m_InjuryHistory.GetHead()->pData)
                                     : nullptr;
            CDatabaseHandler* pDatabase = Database();
            if (player.m_byInjuryType != 0 && pEntry && pDatabase) {
                const CDate back(CDate::Pack(pEntry->Date.wYear, pEntry->Date.byMonth, pEntry->Date.byDay),
                                 pEntry->wDays);
                pInjury->SetText("%s (%d)", GetTableTextOrEmpty(kInjurySet, player.m_byInjuryType),
                                 std::max(0, back.DaysBetween(pDatabase->GetGameDate())));
            } else {
                pInjury->SetText("%s", None());
            }
        }
        if (pSuspension) {
            const uint8_t byFlags = player.m_bySuspensionFlags;
            if (byFlags) {
                const bool bDomestic = (byFlags & PLAYER_SUSPENDED_DOMESTIC) != 0;
                const uint8_t byMask = bDomestic ? PLAYER_SUSPENDED_EUROPEAN : 2;
                pSuspension->SetText("%s (%d)", GetTableTextOrEmpty(kSuspensionSet, (byFlags & byMask) ? 2 : 1),
                                     bDomestic ? player.m_byDomesticBanMatches : player.m_byEuropeanBanMatches);
            } else {
                pSuspension->SetText("%s", None());
            }
        }
    }
    FillReports();
    const uint32_t page[] = {ID_SCOUT_REPORT, ID_TRAINER_REPORT, ID_BIRTH,  ID_AGE,     ID_NATIONALITY,
                             ID_RATING,       ID_ROLE,           ID_MORALE, ID_VALUE,   ID_LISTING,
                             ID_INJURY,       ID_SUSPENSION};
    EndPage(page, std::size(page));
}

void CPopupPlayerDetails::FillReports()
{
    CXListBox* pScout = List(ID_SCOUT_REPORT);
    CXListBox* pTrainer = List(ID_TRAINER_REPORT);
    if (!pScout || !pTrainer || !m_pPlayer)
        return;
    pScout->ResetContent();
    pTrainer->ResetContent();
    ITEMTEXTPARAMETERS params;
    params.idPlayer = m_pPlayer->m_idPerson;
    params.pClubA = m_pPlayer->m_pClub;
    int nScoutRows = 0, nTrainerRows = 0;
    // The reports are written by the club's first trainer.
    if (m_pPlayer->m_pClub && m_pPlayer->m_pClub->GetFirstStaffOfKind(kStaffKindTrainer)) {
        auto expand = [&](const CFormScript& script, CXListBox* pList) {
            int nRows = 0;
            char szText[FORMSCRIPT_TEXT_BYTES];
            for (int i = 0; i < script.GetEntryCount() && nRows < kMaxScriptedTexts; ++i)
                if (script.ExpandEntryIfAvailable(params, i, szText, sizeof szText,
                                                  static_cast<int>(m_pPlayer->m_idPerson))) {
                    pList->AddWrappedString(szText, kReportColour, g_hSmallFont, 0);
                    ++nRows;
                }
            return nRows;
        };
        nScoutRows = expand(m_PlayerReport, pScout);
        nTrainerRows = expand(m_TrainerReport, pTrainer);
    }
    // Without anything to say, the trainer's last words, the same for the
    // same player.
    const int nLast = m_TrainerReport.GetEntryCount() - 1;
    if (const CFormScript::Entry* pEntry = m_TrainerReport.GetEntry(nLast); pEntry && !pEntry->bodies.empty()) {
        char szText[FORMSCRIPT_TEXT_BYTES];
        m_TrainerReport.GetEntryText(szText, sizeof szText, nLast,
                                     static_cast<int>(m_pPlayer->m_idPerson % pEntry->bodies.size()), params);
        char szRow[FORMSCRIPT_TEXT_BYTES + 4];
        std::snprintf(szRow, sizeof szRow, "* %s", szText);
        if (nScoutRows == 0)
            pScout->AddWrappedString(szRow, kReportColour, g_hSmallFont, 0);
        if (nTrainerRows == 0)
            pTrainer->AddWrappedString(szRow, kReportColour, g_hSmallFont, 0);
    }
    for (CXListBox* pList : {pScout, pTrainer}) {
        pList->UpdateScrollBar();
        pList->Redraw();
    }
}
