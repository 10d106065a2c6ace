#include "screens/ClubScreenLink.h"

#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"

namespace {

constexpr int kClubDetailsMessage = 66;

}  // namespace

void OpenClubScreenOrSay(const CClubDatabase* pClub)
{
    CGameClient* pClubScreen = GetScreenObject(SCREEN_CLUB_GENERAL);
    if (pClub && pClub->m_pDivision && pClub->m_pDivision->m_byKind == DIVISION_KIND_LEAGUE && g_pNavigationBar &&
        pClubScreen)
        g_pNavigationBar->SetNextClient(pClubScreen, pClub->GetID());
    else
        ShowGameMessageBox(CGameMessageBox::MODE_OK, kClubDetailsMessage);
}
