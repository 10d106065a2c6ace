// The newspaper page: which layout a story's length asks for, how a body is
// cut between the columns, and pages of the stories the world prints.
#include "ScreenGame.h"

#include "database/CCountryDatabase.h"
#include "screens/NewspaperPage.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"
#include "shell/CFormScript.h"
#include "shell/CGameDay.h"

#include <cstring>

namespace {

TEST(NewspaperPage, TheBodysLengthChoosesTheLayout)
{
    struct Case {
        int nLines;
        NewsLayout layout;
    };
    const Case cases[] = {{0, NewsLayout::Short},        {12, NewsLayout::Short},      {13, NewsLayout::WithPicture},
                          {19, NewsLayout::WithPicture}, {20, NewsLayout::TwoColumns}, {60, NewsLayout::TwoColumns}};
    for (const Case& c : cases)
        EXPECT_EQ(ChooseNewsLayout(c.nLines), c.layout) << c.nLines;
}

TEST(NewspaperPage, ACutEndsTheColumnAtASpaceOrASentencesEnd)
{
    // Ten characters a line, sixteen pixels a line.
    auto measure = [](const std::string& text) { return 16 * static_cast<int>((text.size() + 9) / 10); };
    const std::string body = "The board met today. Results must improve soon or changes will follow.";
    for (int nLines = 1; nLines <= 8; ++nLines) {
        size_t nRest = 0;
        const size_t nKept = FitNewsColumn(body, 16 * nLines, measure, &nRest);
        EXPECT_LE(measure(body.substr(0, nKept)), 16 * nLines);
        if (nKept == body.size()) {
            EXPECT_EQ(nRest, body.size());
            continue;
        }
        // The column ends at a word's end; only the space between goes.
        ASSERT_GT(nKept, 0u);
        EXPECT_NE(body[nKept - 1], ' ');
        EXPECT_EQ(body[nKept], ' ') << "cut inside a word at " << nKept;
        EXPECT_EQ(nRest, nKept + 1);
        if (body.compare(0, nKept, "The board met today.") == 0) {
            EXPECT_EQ(body[nKept - 1], '.') << "the sentence keeps its full stop";
        }
    }
    size_t nRest = 0;
    EXPECT_EQ(FitNewsColumn("unbreakableword", 16, measure, &nRest), 0u) << "a word is never split";
    EXPECT_EQ(nRest, 0u);
}

using NewspaperPages = ScreenGame;

TEST_F(NewspaperPages, ShotsOfPrintedStories)
{
    ShowHome();
    CNewspaperStoryList& stories = *Human().GetCountry()->GetNewspaperStories();
    CNewspaperStory* pBuilding = stories.AddPendingStory(0, 296);
    CNewspaperStory* pEconomy = stories.AddPendingStory(0, 317);
    ASSERT_TRUE(pBuilding && pEconomy);
    pBuilding->SetParameterSlot(NEWS_SLOT_CLUB_A, Human().GetClub()->GetID());
    pEconomy->SetParameterSlot(NEWS_SLOT_COUNTRY, Human().GetCountry()->GetID());
    CGameDay::PublishPendingStories(*m_pWorld);
    CFormScript script;
    ASSERT_TRUE(script.Load("English", "PendingNews.fmc", true));
    std::unique_ptr<CXSurface> pPage(LoadMainArchiveBitmap("newsSnip.bmp", false));
    ASSERT_NE(pPage, nullptr);
    CXSurface* pSurface = Home().m_pDrawingSurface;
    const uint16_t wBefore = pSurface->m_pSurface->pixel(NEWSPAGE_LEFT + 20, NEWSPAGE_TOP + 120);
    DrawNewspaperStory(*pBuilding, pSurface, pPage.get(), script, m_pWorld);
    EXPECT_NE(pSurface->m_pSurface->pixel(NEWSPAGE_LEFT + 20, NEWSPAGE_TOP + 120), wBefore) << "the page is drawn";
    Shoot("news-building");
    DrawNewspaperStory(*pEconomy, pSurface, pPage.get(), script, m_pWorld);
    Shoot("news-economy");

    // A month of the season brings the month's awards.
    const CNewspaperStory* pAwards = nullptr;
    for (int i = 0; i < 120 && !pAwards; ++i) {
        m_pWorld->SetContinueMode(0);
        CGameDay::ProcessDay(*m_pWorld);
        CGameDay::QueueMatchDayScreens(*m_pWorld);
        g_ClientList.clear();
        for (const CNewspaperStory* pStory : stories.GetPrintedStories().Items<CNewspaperStory>())
            if (pStory->GetKind() == STORY_KIND_PLAYER_AWARDS)
                pAwards = pStory;
    }
    ASSERT_NE(pAwards, nullptr) << "no month's awards were printed";
    DrawNewspaperStory(*pAwards, pSurface, pPage.get(), script, m_pWorld);
    Shoot("news-awards");
    for (const CNewspaperStory* pStory : stories.GetPrintedStories().Items<CNewspaperStory>())
        if (pStory->GetKind() == STORY_KIND_BEST_ELEVEN) {
            DrawNewspaperStory(*pStory, pSurface, pPage.get(), script, m_pWorld);
            Shoot("news-team-of-the-month");
            break;
        }
}

}  // namespace
