#include "shell/CScreenRegistry.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenIDs.h"

#include "platform/DeviceContext.h"

#include <array>

namespace {

struct Registry {
    std::array<CPlaceholderScreen, MAX_SCREENID> placeholders;
    std::array<CGameClient*, MAX_SCREENID> screens{};
    std::array<CXPopup*, MAX_SCREENID> popups{};
    Registry()
    {
        for (int i = 0; i < MAX_SCREENID; ++i) {
            placeholders[static_cast<size_t>(i)].SetScreenID(static_cast<uint16_t>(i));
            if (IsMainScreenID(i))
                screens[static_cast<size_t>(i)] = &placeholders[static_cast<size_t>(i)];
        }
    }
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

}  // namespace

bool IsMainScreenID(int nScreenID)
{
    return nScreenID == SCREEN_FOOTBALL_TODAY || (nScreenID >= SCREEN_NEW_GAME && nScreenID <= SCREEN_LAST_MAIN) ||
           nScreenID == SCREEN_END_OF_CAREER;
}

CGameClient* GetScreenObject(int nScreenID)
{
    return IsMainScreenID(nScreenID) ? TheRegistry().screens[static_cast<size_t>(nScreenID)] : nullptr;
}

bool IsScreenBuilt(int nScreenID)
{
    const CGameClient* pScreen = GetScreenObject(nScreenID);
    return pScreen && !dynamic_cast<const CPlaceholderScreen*>(pScreen);
}

void RegisterScreen(int nScreenID, CGameClient* pScreen)
{
    if (IsMainScreenID(nScreenID) && pScreen)
        TheRegistry().screens[static_cast<size_t>(nScreenID)] = pScreen;
}

void RegisterPopup(int nScreenID, CXPopup* pPopup)
{
    if (nScreenID >= 0 && nScreenID < MAX_SCREENID)
        TheRegistry().popups[static_cast<size_t>(nScreenID)] = pPopup;
}

CXPopup* GetPopupObject(int nScreenID)
{
    return nScreenID >= 0 && nScreenID < MAX_SCREENID ? TheRegistry().popups[static_cast<size_t>(nScreenID)] : nullptr;
}

bool CPlaceholderScreen::OnInitDialog()
{
    const int nMode = m_wScreenID == SCREEN_NEW_GAME ? 1 : m_wScreenID == SCREEN_END_OF_CAREER ? 7 : 2;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(nMode);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(nMode);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    UpdateBars();
    return bResult;
}

void CPlaceholderScreen::ConstructScreen()
{
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (!m_pBackground->Create(Width(), Height(), false, false))
        return;
    m_pBackground->FillGradient(0, 0, Width(), Height(), plat::RGB(24, 56, 80), plat::RGB(10, 24, 38));
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hLargeBoldFont);
    pDC->setTextColor(plat::RGB(240, 240, 234));
    plat::Rect rcName{0, Height() / 2 - 40, Width(), Height() / 2 - 10};
    pDC->drawText(GetScreenName(m_wScreenID), -1, &rcName, plat::DT_CENTER | plat::DT_SINGLELINE);
    pDC->selectFont(g_hNormalFont);
    pDC->setTextColor(plat::RGB(154, 164, 174));
    plat::Rect rcNote{0, Height() / 2, Width(), Height() / 2 + 24};
    pDC->drawText("This screen is not built yet.", -1, &rcNote, plat::DT_CENTER | plat::DT_SINGLELINE);
    m_pBackground->m_pSurface->releaseDC(pDC);
}
