#include "screens/CClientArchivesStories.h"

#include "screens/NewspaperPage.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "database/CDatabaseHandler.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

namespace {

constexpr int kRowHeight = 16;
constexpr int kListLeft = 0, kListTop = 60, kListRight = 640, kListBottom = 220;
constexpr uint32_t kScrollBarID = 901;
constexpr int kKindSet = 94;
// "Nothing to show yet", near-black on the page.
constexpr int kEmptyTextSet = 114, kEmptyTextItem = 26;
constexpr COLORREF kEmptyPageText = plat::RGB(40, 40, 40);

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

}  // namespace

CClientArchivesStories::CClientArchivesStories() = default;
CClientArchivesStories::~CClientArchivesStories() = default;

CSaveGame* CClientArchivesStories::Human()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

bool CClientArchivesStories::OnInitDialog()
{
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar) {
        g_pTitlebar->SetMode(2);
        g_pTitlebar->SetSelectors({});
    }
    SetBackgroundBitmap("bgMain.bmp");
    MakeOwnBackground();
    const bool bResult = CGameClient::OnInitDialog();
    const CGame* pGame = Game();
    m_Script.Load(pGame ? pGame->GetOptions().GetLanguage() : "English", "PendingNews.fmc", true);
    m_pPage.reset(LoadMainArchiveBitmap("newsSnip.bmp", false));
    AddBottomButton(ButtonID());

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 220, kScrollBarID, nullptr));
    if (pBar)
        pBar->Create(885, 886, kRowHeight, false, 0);
    m_pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, kListLeft, kListTop, kListRight, kListBottom, ListID(), nullptr));
    if (m_pList) {
        m_pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, true, nullptr, true, 0,
                       false, false, false);
        m_pList->SetUpColumns(kListLeft, kListTop, kListRight, kListBottom, Columns(), false, false,
                              kListBottom - kListTop, false);
        if (pGame)
            m_pList->SetDateOrder(pGame->GetOptions().m_nDate);
    }
    ClearNewspaperPage(m_pDrawingSurface, m_pPage.get());
    if (CXSurface* pTabs = pGame && m_pList ? Game()->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        const CAPTIONTAB tabs[] = {{2, 0, 0, kListLeft, kListTop - m_pList->m_nHeaderHeight - 17, 300},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, CaptionSet(), tabs);
    }
    OnOpen();
    ShowAllControls(true);
    FillStoryList();
    UpdateBars();
    return bResult;
}

void CClientArchivesStories::OnDestroy()
{
    CGameClient::OnDestroy();
    m_pList = nullptr;
    m_RowStories.clear();
    m_Script.Free();
    m_pPage.reset();
}

void CClientArchivesStories::FillStoryList()
{
    if (!m_pList)
        return;
    m_pList->SetAutoRedraw(false);
    for (int nRow = 0; nRow < m_pList->GetCount(); ++nRow)
        m_pList->RemoveRowGraphics(nRow);
    m_pList->ResetContent();
    m_RowStories.clear();
    if (CNewspaperStoryList* pStories = Stories()) {
        CDatabaseHandler* pDatabase = GetLoadedDatabase();
        for (CNewspaperStory* pStory : pStories->GetPrintedStories().Items<CNewspaperStory>()) {
            if (!IsListed(*pStory))
                continue;
            const std::string headline = GetStoryHeadline(*pStory, m_Script, pDatabase);
            const CDate& date = pStory->GetDate();
            const int nRow = AddRow(*pStory, GetTableTextOrEmpty(kKindSet, pStory->GetKind()), headline.c_str(),
                                    FormatDate(date.GetDay(), date.GetMonth(), date.GetYear()));
            if (nRow < 0)
                continue;
            m_pList->SetItemData(nRow, static_cast<int64_t>(m_RowStories.size()));
            m_RowStories.push_back(pStory);
        }
    }
    m_pList->Sort(DateColumn(), true, LISTSORT_DATE, 0);
    m_pList->SetSelection(m_pList->GetCount() > 0 ? 0 : -1);
    m_pList->UpdateScrollBar();
    m_pList->SetAutoRedraw(true);
    m_pList->Redraw();
    OnSelChange(ListID());
}

int CClientArchivesStories::SelectedRow() const
{
    return GetSelectedStory() ? m_pList->GetSelection() : -1;
}

CNewspaperStory* CClientArchivesStories::GetSelectedStory() const
{
    const CNewspaperStoryList* pStories = Stories();
    if (!m_pList || !pStories || m_pList->GetSelection() < 0)
        return nullptr;
    const int64_t nData = m_pList->GetItemData(m_pList->GetSelection());
    if (nData < 0 || nData >= static_cast<int64_t>(m_RowStories.size()))
        return nullptr;
    // Only a story still in its list counts: an old one may have expired.
    CNewspaperStory* pStory = m_RowStories[static_cast<size_t>(nData)];
    for (CNewspaperStory* pListed : pStories->GetPrintedStories().Items<CNewspaperStory>())
        if (pListed == pStory)
            return pStory;
    return nullptr;
}

void CClientArchivesStories::EnableButton(bool bEnabled)
{
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ButtonID())))
        pButton->Enable(!bEnabled);
}

void CClientArchivesStories::OnSelChange(uint32_t dwID)
{
    if (dwID != ListID())
        return;
    CNewspaperStory* pStory = GetSelectedStory();
    if (!pStory) {
        ClearNewspaperPage(m_pDrawingSurface, m_pPage.get());
        // A blank page under an empty list would look like a story that
        // failed to print: it says there is nothing yet.
        if (m_pList && m_pList->GetCount() == 0 && m_pPage && m_pDrawingSurface && m_pDrawingSurface->m_pSurface)
            if (plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC()) {
                pDC->selectFont(g_hMediumFont);
                pDC->setBkMode(plat::TRANSPARENT);
                DrawTextCentredF(pDC, NEWSPAGE_LEFT, NEWSPAGE_TOP, NEWSPAGE_LEFT + m_pPage->GetWidth(),
                                 NEWSPAGE_TOP + m_pPage->GetHeight(), kEmptyPageText, "%s",
                                 GetTableTextOrEmpty(kEmptyTextSet, kEmptyTextItem));
                m_pDrawingSurface->m_pSurface->releaseDC(pDC);
            }
        EnableButton(false);
        return;
    }
    DrawNewspaperStory(*pStory, m_pDrawingSurface, m_pPage.get(), m_Script, GetLoadedDatabase());
    OnStoryShown(m_pList->GetSelection(), *pStory);
    EnableButton(true);
}
