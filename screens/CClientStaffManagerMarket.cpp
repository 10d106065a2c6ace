#include "screens/CClientStaffManagerMarket.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <string>

namespace {

constexpr int kCaptionSet = 193;
constexpr int kCountrySet = 92;
constexpr int kApplicationStateSet = 23;
constexpr int kVacancyStateSet = 24;
constexpr int kRowHeight = 16;
constexpr COLORREF kRowColour = plat::RGB(242, 242, 234);

const LISTCOLUMN kColumns[] = {
    {0, 90, 6, 0, 0, 0, 258, LISTSORT_DATE, 0},    {90, 270, 6, 0, 0, 0, 259, LISTSORT_TEXT, 0},
    {270, 380, 6, 0, 0, 0, 260, LISTSORT_TEXT, 0}, {380, 520, 6, 0, 0, 0, 261, LISTSORT_TEXT, 0},
    {520, 624, 6, 0, 0, 0, 262, LISTSORT_TEXT, 0}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

// One row: date, club, its country, its division, the entry's state.
void AddClubRow(CXListBox* pList, const CDate& date, const CClubDatabase& club, int nStateSet, int nState)
{
    const ID_COUNTRY byCountry = club.m_pCountry ? club.m_pCountry->GetID() : 0;
    const int nRow = pList->AddString(kRowColour, "%s\t%s\t%s\t%s\t%s",
                                      FormatDate(date.GetDay(), date.GetMonth(), date.GetYear()), club.GetName(),
                                      GetTableTextOrEmpty(kCountrySet, byCountry),
                                      club.m_pDivision ? club.m_pDivision->GetName() : "",
                                      GetTableTextOrEmpty(nStateSet, nState));
    pList->SetItemData(nRow, club.GetID());
}

}  // namespace

CClientStaffManagerMarket& GetStaffManagerMarketScreen()
{
    static CClientStaffManagerMarket s_Screen;
    return s_Screen;
}

CClientStaffManagerMarket::CClientStaffManagerMarket() { m_wScreenID = SCREEN_STAFF_MANAGER_MARKET; }

void CClientStaffManagerMarket::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (!m_pBackground->Create(Width(), Height(), false, false))
        return;
    CXSurface::Blit(m_pBackground, GetBackgroundSurface(), 0, 0);
    CGame* pGame = Game();
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        static const CAPTIONTAB kTabs[] = {{2, 0, 0, 0, 26, 200}, {2, 1, 0, 0, 290, 200}, {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, kTabs);
    }
    DrawColourBoxes(m_pBackground, 0x9d37, 0xffffff);
}

bool CClientStaffManagerMarket::OnInitDialog()
{
    m_pMarket = m_pApplications = nullptr;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar)
        g_pTitlebar->SetSelectors({});
    auto addList = [this](uint32_t dwID, uint32_t dwBarID, uint32_t dwUp, uint32_t dwDown, int nTop, int nBottom) {
        auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, dwBarID, nullptr));
        if (pBar)
            pBar->Create(dwUp, dwDown, 16, false, 0);
        auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, nTop, 640, nBottom, dwID, nullptr));
        if (!pList)
            return pList;
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, true, nullptr, true, 0, false,
                     true, false);
        pList->SetUpColumns(0, nTop, 640, nBottom, kColumns, false, false, nBottom - nTop, false);
        pList->SetAutoRedraw(true);
        return pList;
    };
    m_pMarket = addList(ID_JOB_MARKET, ID_MARKET_BAR, 885, 886, 60, 284);
    m_pApplications = addList(ID_APPLICATIONS, ID_APPLICATIONS_BAR, 887, 888, 324, 500);
    FillJobMarket();
    FillJobApplications();
    ShowAllControls(true);
    return bResult;
}

void CClientStaffManagerMarket::FillJobMarket()
{
    if (!m_pMarket)
        return;
    m_pMarket->ResetContent();
    const CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pDatabase)
        return;
    for (const CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>())
        for (const CCountryDatabase::MANAGERVACANCY& vacancy : pCountry->GetManagerVacancies()) {
            const CClubDatabase* pClub = vacancy.pClub;
            // Clubs outside the leagues proper are not on the market.
            if (!pClub || (pClub->m_pDivision && pClub->m_pDivision->m_byKind == DIVISION_KIND_BOTTOM_OTHER))
                continue;
            // The club's search is running: the post is vacant.
            AddClubRow(m_pMarket, vacancy.date, *pClub, kVacancyStateSet, 0);
        }
    m_pMarket->Sort(0, true, LISTSORT_DATE, 0);
}

void CClientStaffManagerMarket::FillJobApplications()
{
    if (!m_pApplications)
        return;
    m_pApplications->ResetContent();
    const CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (!pHuman)
        return;
    for (const JOBAPPLICATION* pApplication : pHuman->GetJobApplications().Items<JOBAPPLICATION>())
        if (const CClubDatabase* pClub = pDatabase->GetClubFromID(static_cast<ID_CLUB>(pApplication->dwClubId)))
            AddClubRow(m_pApplications, pApplication->Applied, *pClub, kApplicationStateSet,
                       static_cast<int>(pApplication->dwStatus));
    m_pApplications->Sort(0, true, LISTSORT_DATE, 0);
}

void CClientStaffManagerMarket::OnDoubleClicked(uint32_t dwID)
{
    CXListBox* pList = dwID == ID_JOB_MARKET ? m_pMarket : dwID == ID_APPLICATIONS ? m_pApplications : nullptr;
    const int nRow = pList ? pList->GetSelection() : -1;
    const CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (nRow < 0 || !pDatabase)
        return;
    const CClubDatabase* pClub = pDatabase->GetClubFromID(static_cast<ID_CLUB>(pList->GetItemData(nRow)));
    CGameClient* pClubScreen = GetScreenObject(SCREEN_CLUB_GENERAL);
    if (pClub && pClub->m_pDivision && pClub->m_pDivision->m_byKind == DIVISION_KIND_LEAGUE && g_pNavigationBar &&
        pClubScreen)
        g_pNavigationBar->SetNextClient(pClubScreen, pClub->GetID());
    else
        ShowGameMessageBox(CGameMessageBox::MODE_OK, kClubDetailsMessage);
}

void CClientStaffManagerMarket::OnPrint() { PrintControl(ID_JOB_MARKET); }
