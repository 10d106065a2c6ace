#include "screens/CClientStartup.h"

#include "screens/CClientNewGame.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CSaveGame.h"
#include "xframework/CXPopup.h"
#include "xframework/DrawingFunctions.h"

#include <cctype>
#include <string>
#include <utility>

namespace {

constexpr int kWelcomeDescription = 0;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

}  // namespace

CClientStartup::CClientStartup() { m_wScreenID = SCREEN_STARTUP; }

int CClientStartup::LanguageCountryIndex(const char* pszLanguage)
{
    std::string language = pszLanguage ? pszLanguage : "";
    for (char& c : language)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const std::pair<const char*, int> kLanguages[] = {
        {"ENGLISH", 0}, {"FRENCH", 3}, {"GERMAN", 4}, {"ITALIAN", 2}, {"SPANISH", 5}};
    for (const auto& [pszName, nIndex] : kLanguages)
        if (language.find(pszName) != std::string::npos)
            return nIndex;
    return 0;
}

bool CClientStartup::OnInitDialog()
{
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(0);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(0);
    delete m_pBackground;
    m_pBackground = LoadMainArchiveBitmap("Title.bmp", false);
    // The welcome panel of the language's texts, on the picture.
    if (m_pBackground)
        DrawSurfaceText(g_hLargeFont, m_pBackground, kWelcomeDescription, plat::RGB(235, 240, 250));
    CGameClient::OnInitDialog();
    return true;
}

void CClientStartup::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    CGame* pGame = Game();
    if (!pPopup || !pGame || !g_pNavigationBar)
        return;
    if (pPopup->m_dwResultID != 884 || pPopup->m_wScreenID != SCREEN_SELECT_PLAYER_POPUP) {
        g_pNavigationBar->SetBlock(1);
        return;
    }
    CDatabaseHandler* pDatabase = pGame->GetDatabase();
    if (!pDatabase)
        return;
    switch (g_pNavigationBar->GetStartKind()) {
    case CGameNavigationBar::START_QUICK: {
        // The managers start out of work, in the country of the language.
        const int nIndex = LanguageCountryIndex(pGame->GetOptions().GetLanguage());
        CCountryDatabase* pHome = nullptr;
        int i = 0;
        for (CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>())
            if (i++ == nIndex || !pHome)
                pHome = pCountry;
        for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
            if (CSaveGame* pHuman = pDatabase->GetHumanSlot(nSlot))
                pHuman->SetCountry(pHome);
        g_pNavigationBar->BeginNewGame();
        break;
    }
    case CGameNavigationBar::START_CHOOSE_CLUBS:
        CGame::DeleteTempFiles();
        NewGameScreen().Restart();
        g_pNavigationBar->OnClientChange(SCREEN_NEW_GAME, true);
        break;
    default:
        break;
    }
}
