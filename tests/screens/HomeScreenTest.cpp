// The home screen over a running game: what its calendar, diary, notices
// and mail summary show, and how it looks on a few days of a season.
#include "HomeScreen.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "shell/CGameDay.h"
#include "season/CNewspaperManager.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXCalendar.h"
#include "xframework/CXListBox.h"

namespace {

using HomeScreen = HomeScreenGame;

TEST_F(HomeScreen, ShotsOnAFewDaysOfTheSeason)
{
    ShowHome();
    ASSERT_NE(Home().GetMailSummaryList(), nullptr);
    EXPECT_EQ(Home().GetMailSummaryList()->GetCount(), 6);
    {
        auto* l = Home().GetMailSummaryList();
        printf("DBG rows/view %d first %d vis %d left %d top %d right %d bottom %d rowh %d\n", l->RowsPerView(), l->GetFirstVisible(), (int)l->m_bVisible, l->m_nLeft, l->m_nTop, l->m_nRight, l->m_nBottom, l->m_nRowHeight);
    }
    Shoot("home-day1");
    Home().GetMailSummaryList()->Redraw();
    {
        int n = 0;
        for (int y = 176; y < 272; ++y) for (int x = 330; x < 600; ++x)
            n += Home().m_pDrawingSurface->m_pSurface->pixel(x, y) != Home().m_pBackground->m_pSurface->pixel(x, y);
        printf("DBG differing %d\n", n);
    }
    Shoot("home-day1b");
    for (int i = 0; i < 40; ++i) {
        int nd = CGameDay::ProcessDay(*m_pWorld);
        int np = CGameDay::QueueMatchDayScreens(*m_pWorld);
        if (i < 12) printf("DBG %08x days %d played %d human %d\n", m_pWorld->GetGameDate().GetValue(), nd, np, Human().GetClub()->m_HomeRow.byPlayed + Human().GetClub()->m_AwayRow.byPlayed);
        g_ClientList.clear();
        CGameDay::ProcessDailyNews(*m_pWorld);
    }
    {
        const CClubDatabase* c = Human().GetClub();
        printf("DBG played %d points %d pos %d incoming %d archive %d matchtype %d\n", c->m_HomeRow.byPlayed + c->m_AwayRow.byPlayed, c->m_byPoints, c->m_byLeaguePosition, Human().GetNews().GetIncoming().GetCount(), Human().GetNews().GetArchive().GetCount(), m_pWorld->GetMatchType());
    }
    ShowHome();
    Shoot("home-day40");
}

}  // namespace
