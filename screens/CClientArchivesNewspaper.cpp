#include "screens/CClientArchivesNewspaper.h"
#include "shell/FilterButton.h"

#include "popups/CPopupListFilter.h"

#include "shell/CGame.h"
#include "shell/CGamePopup.h"
#include "shell/ScreenIDs.h"

#include "database/CCountryDatabase.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"

namespace {

constexpr int kIconSize = 12;
constexpr int kNewspaperAlert = 5;
constexpr COLORREF kRowColour = plat::RGB(242, 242, 234);

// Mark, kind, headline, date.
const LISTCOLUMN kColumns[] = {
    {0, 50, 0, 0, 0, 0, 1012, LISTSORT_NONE, 0},     {50, 150, 6, 0, 0, 0, 425, LISTSORT_TEXT, 0},
    {150, 530, 6, 0, 0, 0, 1013, LISTSORT_TEXT, 0},  {530, 608, 8, 0, 6, 0, 205, LISTSORT_DATE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

}  // namespace

CClientArchivesNewspaper& GetArchivesNewspaperScreen()
{
    static CClientArchivesNewspaper s_Screen;
    return s_Screen;
}

CClientArchivesNewspaper::CClientArchivesNewspaper() { m_wScreenID = SCREEN_ARCHIVES_NEWSPAPER; }

CClientArchivesNewspaper::~CClientArchivesNewspaper() = default;

const LISTCOLUMN* CClientArchivesNewspaper::Columns() const { return kColumns; }

CNewspaperStoryList* CClientArchivesNewspaper::Stories() const
{
    const CSaveGame* pHuman = Human();
    return pHuman && pHuman->GetCountry() ? pHuman->GetCountry()->GetNewspaperStories() : nullptr;
}

void CClientArchivesNewspaper::OnOpen()
{
    m_byFilter = SHOW_READ | SHOW_UNREAD;
    m_pIconStrip.reset(LoadMainArchiveBitmap("icnNews.bmp", true));
    for (int i = 0; i < 2; ++i) {
        m_apIcons[i] = std::make_unique<CXAnimation>();
        if (m_pIconStrip)
            m_apIcons[i]->Setup(m_pIconStrip.get(), kIconSize, kIconSize, 0, i * kIconSize, 1, 1);
    }
    AddFilterButton(*this, ID_FILTER, 624, 44, m_pFilterFace);
}

void CClientArchivesNewspaper::OnDestroy()
{
    // Every story read: the newspaper's light goes out.
    const CNewspaperStoryList* pStories = Stories();
    if (CSaveGame* pHuman = Human(); pHuman && pStories && pStories->CountUnreadStories(pHuman->GetPlayerNumber()) == 0)
        pHuman->SetNavigationAlert(kNewspaperAlert, 0);
    CClientArchivesStories::OnDestroy();
    for (auto& pIcon : m_apIcons)
        pIcon.reset();
    m_pIconStrip.reset();
    m_pFilterFace.reset();
}

bool CClientArchivesNewspaper::IsRead(const CNewspaperStory& story) const
{
    const CSaveGame* pHuman = Human();
    return pHuman && (story.GetReadMask() >> pHuman->GetPlayerNumber() & 1) != 0;
}

bool CClientArchivesNewspaper::IsListed(const CNewspaperStory& story) const
{
    return (m_byFilter & (IsRead(story) ? SHOW_READ : SHOW_UNREAD)) != 0;
}

int CClientArchivesNewspaper::AddRow(const CNewspaperStory& story, const char* pszKind, const char* pszHeadline,
                                     const char* pszDate)
{
    const int nRow = m_pList->AddString(kRowColour, "\t%s\t%s\t%s", pszKind, pszHeadline, pszDate);
    if (nRow >= 0)
        MarkRow(nRow, IsRead(story));
    return nRow;
}

void CClientArchivesNewspaper::MarkRow(int nRow, bool bRead)
{
    m_pList->SetRowFont(nRow, bRead ? g_hSmallFont : g_hSmallBoldFont);
    m_pList->DeleteColumnGraphics(nRow, 0);
    if (const auto& pIcon = m_apIcons[bRead ? 1 : 0])
        m_pList->AddAlignedColumnGraphic(nRow, pIcon.get(), 6, 0, true);
}

void CClientArchivesNewspaper::OnStoryShown(int nRow, CNewspaperStory& story)
{
    const CSaveGame* pHuman = Human();
    if (!pHuman)
        return;
    story.SetReadMask(static_cast<uint8_t>(story.GetReadMask() | 1u << pHuman->GetPlayerNumber()));
    MarkRow(nRow, true);
    m_pList->RedrawRow(nRow, true);
}

void CClientArchivesNewspaper::SetFilter(uint8_t byFilter)
{
    byFilter &= SHOW_READ | SHOW_UNREAD;
    if (byFilter == m_byFilter)
        return;
    m_byFilter = byFilter;
    FillStoryList();
}

void CClientArchivesNewspaper::OnClicked(uint32_t dwID)
{
    CClientArchivesStories::OnClicked(dwID);
    if (dwID == ID_FILTER)
        GetListFilterPopup().ShowBesideControl(kFilterTextSet, FindControl(ID_FILTER), m_byFilter);
    else if (dwID == ID_KEEP && GetSelectedStory())
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, ASK_KEEP);
}

void CClientArchivesNewspaper::OnEndPopup(CXPopup* pPopup)
{
    CClientArchivesStories::OnEndPopup(pPopup);
    if (pPopup == &GetListFilterPopup())
        SetFilter(static_cast<uint8_t>(GetListFilterPopup().GetMask()));
}

void CClientArchivesNewspaper::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    CSaveGame* pHuman = Human();
    const CNewspaperStory* pStory = GetSelectedStory();
    if (!pBox || pBox->m_dwResultID != 884 || pBox->GetTextItem() != ASK_KEEP || !pHuman || !pStory) {
        CClientArchivesStories::OnEndMessageBoxPopup();
        return;
    }
    // A copy of its own: the country's story expires, the kept one stays.
    pHuman->GetScrapbook().AddStory(pStory->Copy());
    UpdateBars();
}
