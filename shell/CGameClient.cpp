#include "shell/CGameClient.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "season/CSaveGame.h"
#include "platform/Messages.h"
#include "platform/Window.h"
#include "xframework/CXButton.h"
#include "xframework/CXPopup.h"

namespace {

constexpr uint32_t kOkButtonID = 884;
// Messages whose affirmative answer the screens act on.
constexpr int kQuitQuestion = 1;
constexpr int kStartAgainQuestion = 38;
constexpr int kFirstDayBlocked = 67;
constexpr int kLastDayBlocked = 72;
// Notices of a refused save or load, with the reason.
constexpr int kSaveRefused = 41;
constexpr int kLoadRefused = 42;
constexpr int kBottomButtonWidth = 84;
constexpr int kBottomButtonHeight = 26;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

bool HasCurrentHuman()
{
    const CGame* pGame = Game();
    const CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    return pDatabase && pDatabase->IsDatabaseLoaded() && pDatabase->GetCurrentSaveGame();
}

// The help opens by itself on a manager's first visit to a screen. The
// full-screen ground view runs at 640 x 480, where the help does not fit.
void OpenAutomaticHelp(uint16_t wScreenID)
{
    CGame* pGame = Game();
    if (!pGame || !pGame->GetOptions().m_nAutoHelp || !HasCurrentHuman() || !g_pHelpPopup ||
        wScreenID == SCREEN_GROUND_VIEW)
        return;
    CSaveGame* pHuman = pGame->GetDatabase()->GetCurrentSaveGame();
    if (pHuman->IsHelpSeen(wScreenID) || g_pHelpPopup->IsOnStack())
        return;
    if (g_pHelpPopup->Open())
        pHuman->SetHelpSeen(wScreenID);
}

}  // namespace

CSaveGame* CGameClient::GetCurrentHuman()
{
    const CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

int GetFunctionKeyScreen(uint32_t key)
{
    static const int kScreens[] = {0, 4, 8, 16, 21, 24, 28, 34, 38};
    constexpr uint32_t kF2 = plat::VK_F1 + 1;
    if (key < kF2 || key > plat::VK_F10)
        return -1;
    return kScreens[key - kF2];
}

bool CGameClient::OnInitDialog()
{
    OpenAutomaticHelp(m_wScreenID);
    if (g_pTitlebar)
        g_pTitlebar->ClearScreenState();
    DebugLog(4, "Entering %s", GetScreenName(m_wScreenID));
    m_nNextBottomButtonX = kFirstBottomButtonX;
    const bool bResult = CXClient::OnInitDialog();
    if (g_pNavigationBar) {
        if (m_wScreenID != SCREEN_STARTUP && m_wScreenID != SCREEN_NEW_GAME)
            g_pNavigationBar->UpdateStatusLights();
        g_pNavigationBar->UpdateHistoryButtons();
    }
    return bResult;
}

void CGameClient::OnDestroy()
{
    DebugLog(4, "Leaving %s", GetScreenName(m_wScreenID));
    CXClient::OnDestroy();
}

void CGameClient::OnPaint() { CXClient::OnPaint(); }

void CGameClient::OnKeyUp(uint32_t key, uint32_t repeat, uint32_t)
{
    CXClient::OnKeyUp(key, repeat, 0);
    const int nScreen = GetFunctionKeyScreen(key);
    if (nScreen < 0 || !g_pTitlebar || !g_pNavigationBar || !HasCurrentHuman())
        return;
    if (g_pTitlebar->GetMode() == 3 || g_pTitlebar->GetMode() == 4)
        return;
    if (nScreen == SCREEN_FOOTBALL_TODAY || g_pNavigationBar->IsButtonEnabled(nScreen))
        g_pNavigationBar->OnClientChange(nScreen, false);
}

void CGameClient::OnEndPopup(CXPopup* pPopup)
{
    CXClient::OnEndPopup(pPopup);
    if (!pPopup || pPopup->m_dwResultID != kOkButtonID)
        return;
    if (pPopup->m_wScreenID == SCREEN_OPTIONS_POPUP)
        UpdateBars();
    else if (const auto* pSaves = dynamic_cast<const CGameSavesPopup*>(pPopup))
        OnLoadSaveChosen(pSaves->IsLoad(), pSaves->GetChosenSet().c_str());
}

void CGameClient::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox || pBox->m_dwResultID != kOkButtonID)
        return;
    const int nItem = pBox->GetTextItem();
    if (nItem == kQuitQuestion) {
        plat::postQuitMessage(0);
    } else if (nItem == CGamePopup::kPrintQuestion) {
        OnPrint();
    } else if (nItem == kStartAgainQuestion) {
        if (CGame* pGame = Game())
            pGame->m_bRestartRequest = 1;
    } else if (nItem >= kFirstDayBlocked && nItem <= kLastDayBlocked) {
        if (g_pNavigationBar)
            g_pNavigationBar->OnClientChange(SCREEN_TEAM_SELECTION, false);
    }
}

bool CGameClient::OnLoadSaveChosen(bool bLoad, const char* pszName)
{
    CGame* pGame = Game();
    if (!pGame)
        return false;
    if (g_pNavigationBar && g_pNavigationBar->GetMode() == 0)
        g_pNavigationBar->CheckLastSaveGame();
    bool bResult = false;
    if (bLoad) {
        bResult = pGame->LoadGame(pszName, false);
        if (bResult) {
            pGame->GetScreenHistory().ClearScreenHistory();
            if (g_pNavigationBar) {
                g_pNavigationBar->OnClientChange(SCREEN_FOOTBALL_TODAY, true);
                g_pNavigationBar->UpdateStatusLights();
            }
            return true;
        }
    } else {
        bResult = pGame->SaveGame(pszName);
    }
    if (!bResult && !ShowGameNotice(bLoad ? kLoadRefused : kSaveRefused, pGame->GetFileError()) && g_pNavigationBar)
        g_pNavigationBar->ShowMessage(pGame->GetFileError().c_str());
    if (g_pNavigationBar) {
        if (!bLoad && g_pNavigationBar->GetMode() == 0)
            g_pNavigationBar->CheckLastSaveGame();
        g_pNavigationBar->UpdateStatusLights();
    }
    return bResult;
}

void CGameClient::UpdateBars()
{
    if (g_pTitlebar && m_wScreenID != SCREEN_STARTUP && m_wScreenID != SCREEN_NEW_GAME &&
        g_pTitlebar->GetMode() != 3 && g_pTitlebar->GetMode() != 4 && g_pNavigationBar)
        g_pNavigationBar->UpdateContinueButton();
    if (g_pTitlebar && HasCurrentHuman())
        g_pTitlebar->Update();
}

void CGameClient::OnRestoreBackground(int x, int y, int nWidth, int nHeight)
{
    CXSurface* pShared = GetBackgroundSurface();
    if (!pShared)
        return;
    if (!pShared->m_pSurface)
        return;
    const plat::Rect rc{x, y, x + nWidth, y + nHeight};
    for (CXSurface* pTarget : {m_pBackground, m_pDrawingSurface})
        if (pTarget && pTarget->m_pSurface)
            pTarget->m_pSurface->bltFast(x, y, *pShared->m_pSurface, &rc, plat::BLTFAST_SRCCOLORKEY);
}

void CGameClient::SetNextClient(CXClient* pClient, uint32_t dwParameter)
{
    if (g_pNavigationBar)
        g_pNavigationBar->SetNextClient(pClient, dwParameter);
    else
        CXClient::SetNextClient(pClient, dwParameter);
}

CXButton* CGameClient::AddBottomButton(uint32_t dwTextID)
{
    if (m_nNextBottomButtonX < 1) {
        DebugLog(0, "[CGameClient::AddBottomButton] Too Many Bottom Buttons Added!");
        m_nNextBottomButtonX = kFirstBottomButtonX;
    }
    auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, m_nNextBottomButtonX, kBottomButtonY,
                                                          kBottomButtonWidth, kBottomButtonHeight, dwTextID, nullptr));
    m_nNextBottomButtonX -= kBottomButtonStep;
    if (!pButton)
        return nullptr;
    pButton->m_hFont = g_hSmallFont;
    if (auto* pGame = Game())
        pButton->SetTextID(pGame->GetSharedBitmaps().GetBitmap("btnTog.bmp"), 0);
    return pButton;
}

bool CGameClient::MakeOwnBackground()
{
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (!m_pBackground->Create(Width(), Height(), false, false))
        return false;
    ResetOwnBackground();
    return true;
}

void CGameClient::ResetOwnBackground()
{
    CXSurface* pShared = GetBackgroundSurface();
    if (pShared && pShared->m_pSurface && m_pBackground && m_pBackground->m_pSurface && pShared != m_pBackground)
        m_pBackground->m_pSurface->bltFast(0, 0, *pShared->m_pSurface, nullptr, plat::BLTFAST_WAIT);
}
