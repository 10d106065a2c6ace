#include "screens/CClientStartup.h"

#include "popups/CPopupScenario.h"
#include "screens/CClientNewGame.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
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
constexpr int8_t kScenarioBoardConfidence = 80;
// The scenario whose club starts with a squad of veterans.
constexpr int kVeteransScenario = 3;

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
    if (const auto* pScenario = dynamic_cast<const CPopupScenario*>(pPopup);
        pScenario && pScenario->m_dwResultID == 884 && pScenario->HasCreatedManager() &&
        g_pNavigationBar->GetStartKind() == CGameNavigationBar::START_SCENARIO) {
        BeginScenario();
        return;
    }
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

bool CClientStartup::SetUpScenario(CDatabaseHandler& database)
{
    CSaveGame* pHuman = database.GetHumanSlot(0);
    const SCENARIORECORD* pRecord = pHuman ? CPopupScenario::GetScenario(pHuman->GetScenario()) : nullptr;
    CCountryDatabase* pCountry = pHuman ? pHuman->GetCountry() : nullptr;
    CClubDatabase* pClub = pCountry && pRecord ? pCountry->GetScenarioClub(pHuman->GetScenario()) : nullptr;
    if (!pClub) {
        DebugLog(0, "[CClientStartup] The scenario has no club in %s", pCountry ? pCountry->GetName() : "no country");
        return false;
    }
    database.SetCurrentHumanIndex(0);
    pHuman->TakeOverClub(pClub);
    pClub->m_nBoardConfidence = kScenarioBoardConfidence;
    pClub->m_nBankBalance = pRecord->nMoney;
    pClub->m_nPreviousBalance = pRecord->nMoney;
    const uint8_t bySeasons = CPopupScenario::GoalSeasons(*pRecord);
    pHuman->SetScenario(pHuman->GetScenario(), bySeasons);
    // The board judges the goal when the last of its seasons ends.
    pHuman->SetBoardObjective(static_cast<uint8_t>(pRecord->wObjective), bySeasons);
    if (pHuman->GetScenario() == kVeteransScenario)
        pClub->MakeSquadVeterans();
    return true;
}

void CClientStartup::BeginScenario()
{
    CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    if (!pDatabase || !g_pNavigationBar)
        return;
    if (pGame->IsScenario()) {
        // A world of the scenario's own is already played to its start: only
        // its new manager is set up.
        pDatabase->SetUpHumansForNewGame();
    } else {
        CGame::DeleteTempFiles();
        // The world is set up and run to its start first: the European cups'
        // entrants, from which one scenario's club comes, exist only then.
        if (!pGame->BeginNewGame()) {
            g_pNavigationBar->ShowMessage(pGame->GetFileError().c_str());
            g_pNavigationBar->SetBlock(1);
            return;
        }
    }
    if (!SetUpScenario(*pDatabase)) {
        g_pNavigationBar->ShowMessage("This scenario cannot start in the chosen country.");
        g_pNavigationBar->SetBlock(1);
        return;
    }
    g_pNavigationBar->ShowMessage("");
    pGame->GetScreenHistory().ClearScreenHistory();
    g_pNavigationBar->OnClientChange(SCREEN_FOOTBALL_TODAY, true);
}
