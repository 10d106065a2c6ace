#include "screens/CClientArchivesScrapbook.h"

#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/ScreenIDs.h"

#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"
#include "xframework/CXListBox.h"

#include <algorithm>

namespace {

constexpr COLORREF kRowColour = plat::RGB(242, 242, 234);

// Kind, headline, date.
const LISTCOLUMN kColumns[] = {
    {0, 100, 6, 0, 0, 0, 428, LISTSORT_TEXT, 0},
    {100, 480, 6, 0, 0, 0, 1014, LISTSORT_TEXT, 0},
    {480, 558, 8, 0, 6, 0, 205, LISTSORT_DATE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

}  // namespace

CClientArchivesScrapbook& GetArchivesScrapbookScreen()
{
    static CClientArchivesScrapbook s_Screen;
    return s_Screen;
}

CClientArchivesScrapbook::CClientArchivesScrapbook() { m_wScreenID = SCREEN_ARCHIVES_SCRAPBOOK; }

const LISTCOLUMN* CClientArchivesScrapbook::Columns() const { return kColumns; }

CNewspaperStoryList* CClientArchivesScrapbook::Stories() const
{
    CSaveGame* pHuman = Human();
    return pHuman ? &pHuman->GetScrapbook() : nullptr;
}

int CClientArchivesScrapbook::AddRow(const CNewspaperStory&, const char* pszKind, const char* pszHeadline,
                                     const char* pszDate)
{
    return m_pList->AddString(kRowColour, "%s\t%s\t%s", pszKind, pszHeadline, pszDate);
}

void CClientArchivesScrapbook::OnClicked(uint32_t dwID)
{
    CClientArchivesStories::OnClicked(dwID);
    if (dwID == ID_REMOVE && GetSelectedStory())
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, ASK_REMOVE);
}

void CClientArchivesScrapbook::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    CNewspaperStoryList* pStories = Stories();
    CNewspaperStory* pStory = GetSelectedStory();
    if (!pBox || pBox->m_dwResultID != 884 || pBox->GetTextItem() != ASK_REMOVE || !pStories || !pStory) {
        CClientArchivesStories::OnEndMessageBoxPopup();
        return;
    }
    const int nRow = m_pList->GetSelection();
    // Out of the scrapbook, which no longer refers to it.
    if (pStories->RemoveStory(pStory))
        delete pStory;
    FillStoryList();
    if (m_pList->GetCount() == 0) {
        UpdateBars();
        if (g_pNavigationBar)
            g_pNavigationBar->OnClientChange(SCREEN_FOOTBALL_TODAY, false);
        return;
    }
    // The row that took its place is shown.
    m_pList->SetSelection(std::min(nRow, m_pList->GetCount() - 1));
    OnSelChange(ID_LIST);
}
