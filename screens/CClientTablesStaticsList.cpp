#include "screens/CClientTablesStaticsList.h"
#include "shell/FilterButton.h"

#include "popups/CPopupListFilter.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenDrawing.h"

#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CClubDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

namespace {

constexpr int kRowHeight = 16;
constexpr int kListLeft = 0, kListTop = 60, kListRight = 640;
constexpr int kFilterSize = 16;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

}  // namespace

CClientTablesStaticsList::CClientTablesStaticsList() = default;
CClientTablesStaticsList::~CClientTablesStaticsList() = default;

CXListBox* CClientTablesStaticsList::GetList() const { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

void CClientTablesStaticsList::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
}

CDivisionDatabase* CClientTablesStaticsList::ParameterDivision() const
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    // The division asked for, else the human's, else his country's first.
    CDivisionDatabase* pDivision =
        pDatabase ? pDatabase->GetDivisionFromID(static_cast<uint8_t>(m_dwChangeParameter & 0xFF)) : nullptr;
    if (!pDivision && pHuman && pHuman->GetClub())
        pDivision = pHuman->GetClub()->m_pDivision;
    if (!pDivision && pHuman && pHuman->GetCountry() && pHuman->GetCountry()->GetDivisions().GetHead())
        pDivision = static_cast<CDivisionDatabase*>(pHuman->GetCountry()->GetDivisions().GetHead()->pData);
    return pDivision;
}

bool CClientTablesStaticsList::OpenList(std::initializer_list<int> selectors, CDivisionDatabase* pDivision,
                                        bool bAllDivisionsRow, uint32_t dwFilter)
{
    m_pDivision = pDivision;
    m_pCountry = pDivision ? pDivision->m_pCountry : nullptr;
    m_nFilter = dwFilter;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    m_bFilling = true;
    if (g_pTitlebar) {
        g_pTitlebar->m_bDivisionAddAll = bAllDivisionsRow ? 1 : 0;
        g_pTitlebar->SetSelectors(selectors);
        g_pTitlebar->SelectDivision(m_pDivision);
    }
    FillOwnSelectors();
    m_bFilling = false;

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 320, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, kRowHeight, false, 0);
    auto* pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, kListLeft, kListTop, kListRight, ListBottom(), ID_LIST, nullptr));
    if (pList)
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     pBar, true, nullptr, true, 0, false, false, false);
    AddFilterButton(*this, ID_FILTER, kListRight - kFilterSize, kListTop - kFilterSize, m_pFilterFace);
    Refresh();
    if (pList)
        SetFocus(pList);
    UpdateBars();
    return bResult;
}

void CClientTablesStaticsList::OnDestroy()
{
    CGameClient::OnDestroy();
    m_bFilling = false;
    m_pFilterFace.reset();
}

void CClientTablesStaticsList::TakeDivision()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pDatabase || !g_pTitlebar)
        return;
    const CXComboBox* pCountries = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_COUNTRY);
    const int nCountryRow = pCountries ? pCountries->GetSelection() : -1;
    if (nCountryRow >= 0)
        m_pCountry = pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(pCountries->GetItemData(nCountryRow)));
    const CDivisionDatabase* pSelected = g_pTitlebar->GetSelectedDivision();
    m_pDivision = pSelected ? pDatabase->GetDivisionFromID(pSelected->m_byDivisionId) : nullptr;
    if (m_pDivision)
        m_pCountry = m_pDivision->m_pCountry;
}

bool CClientTablesStaticsList::TakeSelectors(uint32_t dwID)
{
    if (dwID != ID_COUNTRY_CHOICE && dwID != ID_DIVISION_CHOICE)
        return false;
    TakeDivision();
    return true;
}

void CClientTablesStaticsList::OnSelChange(uint32_t dwID)
{
    if (!m_bFilling && TakeSelectors(dwID))
        Refresh();
}

void CClientTablesStaticsList::Refresh()
{
    CXListBox* pList = GetList();
    if (!pList)
        return;
    ShowAllControls(false);
    ResetOwnBackground();
    RestoreBackground(0, 0, Width(), Height());
    pList->SetUpColumns(kListLeft, kListTop, kListRight, ListBottom(), Columns(), true, false,
                        ListBottom() - kListTop, false);
    FillTable();
    PlaceFilterButton();
    ShowAllControls(true);
}

void CClientTablesStaticsList::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    if (dwID == ID_FILTER)
        GetListFilterPopup().ShowBesideControl(FilterTextSet(), FindControl(ID_FILTER), m_nFilter);
}

void CClientTablesStaticsList::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup == &GetListFilterPopup())
        SetFilter(GetListFilterPopup().GetMask());
}

void CClientTablesStaticsList::PlaceFilterButton()
{
    const CXListBox* pList = GetList();
    CXControl* pFilter = FindControl(ID_FILTER);
    if (pList && pFilter)
        pFilter->Move(pList->m_nLeft + pList->Width(), pList->m_nTop - pList->m_nHeaderHeight, kFilterSize,
                      kFilterSize, false);
}

void CClientTablesStaticsList::SetFilter(uint32_t dwMask)
{
    if (dwMask == m_nFilter)
        return;
    m_nFilter = dwMask;
    Refresh();
}

void CClientTablesStaticsList::ClearList(CXListBox& list)
{
    list.SetAutoRedraw(false);
    for (int nRow = 0; nRow < list.GetCount(); ++nRow)
        list.RemoveRowGraphics(nRow);
    list.ResetContent();
}

void CClientTablesStaticsList::EndFill(CXListBox& list, int nCaptionSet)
{
    list.Sort(0, true, LISTSORT_AFTER_BLANK, 0);
    list.SetSelection(list.GetCount() > 0 ? 0 : -1);
    list.UpdateScrollBar();
    list.SetAutoRedraw(true);
    list.Redraw();
    CGame* pGame = Game();
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const int nTabTop = list.m_nTop - list.m_nHeaderHeight - 17;
    const CAPTIONTAB tabs[] = {{2, 0, 0, list.m_nLeft, nTabTop, list.Width()}, {0, 0, 0, 0, 0, 0}};
    RestoreBackground(0, 20, Width(), list.m_nTop - list.m_nHeaderHeight - 20);
    DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, nCaptionSet, tabs);
}

void CClientTablesStaticsList::OnPrint() { PrintControl(ID_LIST); }
