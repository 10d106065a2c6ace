// The newspaper archive and the scrapbook over a running game: the
// country's printed stories listed and read as they are shown, the
// read/unread filter, a story kept as a copy of its own in the scrapbook and
// taken out of it again.
#include "ScreenGame.h"

#include "database/CCountryDatabase.h"
#include "screens/CClientArchivesNewspaper.h"
#include "screens/CClientArchivesScrapbook.h"
#include "screens/NewspaperPage.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"
#include "shell/CFormScript.h"
#include "shell/CGameDay.h"
#include "shell/CGamePopup.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"

#include <string>
#include <vector>

namespace {

constexpr uint16_t kBuildingStory = 296;
constexpr uint16_t kEconomyStory = 317;

class NewspaperArchive : public ScreenGame {
protected:
    CNewspaperStoryList& Paper() { return *Human().GetCountry()->GetNewspaperStories(); }
    CClientArchivesNewspaper& Newspaper() { return GetArchivesNewspaperScreen(); }
    CClientArchivesScrapbook& Scrapbook() { return GetArchivesScrapbookScreen(); }

    // Two stories printed today, unread.
    void PrintStories()
    {
        Paper().RemoveAll();
        CNewspaperStory* pBuilding = Paper().AddPendingStory(0, kBuildingStory);
        CNewspaperStory* pEconomy = Paper().AddPendingStory(0, kEconomyStory);
        ASSERT_TRUE(pBuilding && pEconomy);
        pBuilding->SetParameterSlot(NEWS_SLOT_CLUB_A, Human().GetClub()->GetID());
        pEconomy->SetParameterSlot(NEWS_SLOT_COUNTRY, Human().GetCountry()->GetID());
        CGameDay::PublishPendingStories(*m_pWorld);
        ASSERT_EQ(Paper().GetPrintedStories().GetCount(), 2);
    }
    void Show(int nScreen)
    {
        g_pNavigationBar->OnClientChange(nScreen, true);
        m_game.Update();
        m_game.Update();
        ASSERT_EQ(g_pCurrentClient, GetScreenObject(nScreen));
    }
    bool Read(const CNewspaperStory* pStory) { return pStory->GetReadMask() >> Human().GetPlayerNumber() & 1; }
    std::string Cell(const CXListBox& list, int nRow, int nColumn)
    {
        char szCell[LISTBOX_ROW_TEXT_SIZE] = {};
        list.GetColumnText(nRow, nColumn, szCell);
        return szCell;
    }
    bool Enabled(CXClient& screen, uint32_t dwID)
    {
        const auto* pButton = dynamic_cast<CXButton*>(screen.FindControl(dwID));
        return pButton && !pButton->m_bDisabled;
    }
    void AnswerOk(int nExpectedItem)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_TRUE(pBox && pBox->IsOnStack());
        EXPECT_EQ(pBox->GetTextItem(), nExpectedItem);
        pBox->OnClicked(884);
        m_game.Update();
    }
};

TEST_F(NewspaperArchive, StoriesAreListedAndReadAsTheyAreShown)
{
    PrintStories();
    Show(SCREEN_ARCHIVES_NEWSPAPER);
    Shoot("archives_newspaper");
    const CXListBox& list = *Newspaper().GetStoryList();
    ASSERT_EQ(list.GetCount(), 2);
    CFormScript script;
    ASSERT_TRUE(script.Load("English", "PendingNews.fmc", true));
    for (int nRow = 0; nRow < list.GetCount(); ++nRow) {
        const auto* pStory = Paper().GetPrintedStories().FindItem<CNewspaperStory>([&](const CNewspaperStory* p) {
            return GetStoryHeadline(*p, script, m_pWorld) == Cell(list, nRow, 2);
        });
        ASSERT_NE(pStory, nullptr) << "row " << nRow << " names no printed story";
        EXPECT_FALSE(Cell(list, nRow, 2).empty());
        EXPECT_EQ(Cell(list, nRow, 1), GetTableText(94, 0));
    }
    // The first row is shown, and so read; the other is not yet.
    CNewspaperStory* pShown = Newspaper().GetSelectedStory();
    ASSERT_NE(pShown, nullptr);
    EXPECT_TRUE(Read(pShown));
    EXPECT_EQ(Paper().CountUnreadStories(Human().GetPlayerNumber()), 1);
    EXPECT_TRUE(Enabled(Newspaper(), CClientArchivesNewspaper::ID_KEEP));

    // Read stories only: the one shown; unread only: the other.
    Newspaper().SetFilter(CClientArchivesNewspaper::SHOW_READ);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(Newspaper().GetSelectedStory(), pShown);
    Newspaper().SetFilter(CClientArchivesNewspaper::SHOW_UNREAD);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_NE(Newspaper().GetSelectedStory(), pShown);
    Shoot("archives_newspaper_unread");
    // Showing it read it: nothing is unread now, and none is left to list.
    EXPECT_EQ(Paper().CountUnreadStories(Human().GetPlayerNumber()), 0);
    Newspaper().FillStoryList();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(Enabled(Newspaper(), CClientArchivesNewspaper::ID_KEEP)) << "nothing to keep";

    // Leaving with every story read puts the newspaper's light out.
    Human().SetNavigationAlert(5, 1);
    ShowHome();
    EXPECT_EQ(Human().GetNavigationAlert(5), 0);
}

TEST_F(NewspaperArchive, AKeptStoryOutlivesThePapersAndIsTakenOutAgain)
{
    PrintStories();
    Show(SCREEN_ARCHIVES_NEWSPAPER);
    const CNewspaperStory* pKept = Newspaper().GetSelectedStory();
    ASSERT_NE(pKept, nullptr);
    const uint32_t dwEntry = pKept->GetFirstField();
    Newspaper().OnClicked(CClientArchivesNewspaper::ID_KEEP);
    AnswerOk(CClientArchivesNewspaper::ASK_KEEP);
    ASSERT_EQ(Human().GetScrapbook().GetPrintedStories().GetCount(), 1);
    // The newspaper's stories expire; the scrapbook's copy stays.
    Paper().RemoveAll();
    const auto* pCopy = static_cast<const CNewspaperStory*>(Human().GetScrapbook().GetPrintedStories().GetHead()->pData);
    EXPECT_EQ(pCopy->GetFirstField(), dwEntry);

    // A second story kept, then both taken out: the last one leaves for
    // the home screen.
    Human().GetScrapbook().AddStory(pCopy->Copy());
    Show(SCREEN_ARCHIVES_SCRAPBOOK);
    Shoot("archives_scrapbook");
    const CXListBox& list = *Scrapbook().GetStoryList();
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(Cell(list, 0, 0), GetTableText(94, 0));
    EXPECT_TRUE(Enabled(Scrapbook(), CClientArchivesScrapbook::ID_REMOVE));
    Scrapbook().OnClicked(CClientArchivesScrapbook::ID_REMOVE);
    AnswerOk(CClientArchivesScrapbook::ASK_REMOVE);
    EXPECT_EQ(Human().GetScrapbook().GetPrintedStories().GetCount(), 1);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_NE(Scrapbook().GetSelectedStory(), nullptr) << "the next story is shown";
    Scrapbook().OnClicked(CClientArchivesScrapbook::ID_REMOVE);
    AnswerOk(CClientArchivesScrapbook::ASK_REMOVE);
    EXPECT_TRUE(Human().GetScrapbook().GetPrintedStories().IsEmpty());
    m_game.Update();
    EXPECT_EQ(g_pCurrentClient, &Home());
}

// An empty scrapbook says so on its page rather than showing a blank sheet.
TEST_F(NewspaperArchive, AnEmptyScrapbooksPageSaysThereIsNothingYet)
{
    ASSERT_TRUE(Human().GetScrapbook().GetPrintedStories().IsEmpty());
    Show(SCREEN_ARCHIVES_SCRAPBOOK);
    const plat::Surface& surface = *Scrapbook().m_pDrawingSurface->m_pSurface;
    const uint16_t wText = plat::colorToPixel(plat::RGB(40, 40, 40), surface.format());
    int nText = 0;
    for (int y = NEWSPAGE_TOP + 40; y < surface.height() && y < NEWSPAGE_TOP + 200; ++y)
        for (int x = NEWSPAGE_LEFT; x < NEWSPAGE_LEFT + 460; ++x)
            nText += surface.pixel(x, y) == wText;
    EXPECT_GT(nText, 30);
}

}  // namespace
