#include "shell/CStartScreen.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"

#include "xframework/DrawingFunctions.h"

#include "platform/DeviceContext.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kWelcomeDescription = 0;
constexpr COLORREF kPanelColour = plat::RGB(22, 52, 78);
constexpr COLORREF kFrameColour = plat::RGB(120, 170, 210);
constexpr COLORREF kCaptionColour = plat::RGB(240, 240, 200);

void DrawTextLine(plat::DeviceContext* pDC, HFONT hFont, COLORREF crColour, int x, int y, const char* pszText)
{
    pDC->selectFont(hFont);
    pDC->setTextColor(crColour);
    pDC->textOut(x, y, pszText);
}

}  // namespace

void CCaptionControl::OnLButtonUp(uint32_t /*flags*/, int x, int y)
{
    // Every release clicks, inside the caption or not.
    if (g_pfnPlayButtonClick)
        g_pfnPlayButtonClick();
    if (m_pOwner && x >= 0 && y >= 0 && x < Width() && y < Height())
        m_pOwner->OnClicked(m_dwID);
}

void CCaptionControl::Draw()
{
    if (!m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    plat::Brush* pBrush = plat::Brush::createSolid(kPanelColour);
    plat::Pen pen(plat::PS_SOLID, 1, kFrameColour);
    pDC->selectBrush(pBrush);
    pDC->selectPen(&pen);
    pDC->rectangle(m_nLeft, m_nTop, m_nRight, m_nBottom);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hMediumFont);
    pDC->setTextColor(kCaptionColour);
    plat::Rect rc{m_nLeft, m_nTop, m_nRight, m_nBottom};
    pDC->drawText(m_Caption.c_str(), -1, &rc, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    delete pBrush;
}

CStartInfoPopup::CStartInfoPopup()
{
    m_wScreenID = kScreenID;
    SetClientRect(250, 250, 300, 190);
    m_rcTitle = {0, 0, 300, 26};
}

bool CStartInfoPopup::OnInitDialog()
{
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (m_pBackground->Create(Width(), Height(), false, false)) {
        m_pBackground->FillGradient(0, 0, Width(), Height(), plat::RGB(30, 64, 96), plat::RGB(12, 30, 48));
        m_pBackground->FillGradient(0, 0, Width(), 26, plat::RGB(60, 110, 160), plat::RGB(30, 64, 96));
        plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
        pDC->setBkMode(plat::TRANSPARENT);
        DrawTextLine(pDC, g_hLargeBoldFont, plat::RGB(255, 255, 255), 10, 4, "Game information");
        plat::Rect rcText{14, 40, Width() - 14, 120};
        pDC->selectFont(g_hNormalFont);
        pDC->setTextColor(plat::RGB(220, 230, 240));
        pDC->drawText("Nine countries, 430 clubs and their seasons are ready. The game's screens come next.", -1,
                      &rcText, plat::DT_WORDBREAK | plat::DT_NOPREFIX);
        plat::Pen pen(plat::PS_SOLID, 1, kFrameColour);
        pDC->selectPen(&pen);
        pDC->selectBrush(plat::Brush::hollow());
        pDC->rectangle(0, 0, Width(), Height());
        m_pBackground->m_pSurface->releaseDC(pDC);
    }
    CXPopup::OnInitDialog();
    // The close control lies over the start screen's own control.
    AddControl(new CCaptionControl("Close"), 0, 75, 140, 225, 170, kCloseID, nullptr)->Show(true, false);
    return true;
}

void CStartInfoPopup::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t)
{
    if (key == plat::VK_ESCAPE) {
        Close();
        return;
    }
    CXPopup::OnKeyDown(key, repeat, 0);
}

void CStartInfoPopup::OnClicked(uint32_t dwID)
{
    CXPopup::OnClicked(dwID);
    if (dwID == kCloseID)
        Close();
}

CStartScreen::CStartScreen() { m_wScreenID = kScreenID; }

bool CStartScreen::OnInitDialog()
{
    // The bars show the start-up menu beside this screen.
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(0);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(0);
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (m_pBackground->Create(Width(), Height(), false, false)) {
        m_pBackground->Fill(plat::RGB(12, 20, 32));
        if (CXSurface* pPicture = LoadMainArchiveBitmap("bgMain.bmp", false)) {
            // The welcome panel of the language's texts, on the picture.
            DrawSurfaceText(g_hLargeFont, pPicture, kWelcomeDescription, plat::RGB(235, 240, 250));
            CXSurface::Blit(m_pBackground, pPicture, 0, 0);
            delete pPicture;
        }
        plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
        pDC->setBkMode(plat::TRANSPARENT);
        const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
        char szLine[160];
        std::snprintf(szLine, sizeof szLine, "Language: %s", pGame ? pGame->GetOptions().GetLanguage() : "English");
        DrawTextLine(pDC, g_hNormalFont, plat::RGB(200, 220, 255), 14, 490, szLine);
        m_pBackground->m_pSurface->releaseDC(pDC);
    }
    CGameClient::OnInitDialog();
    // At (360, 400)-(520, 440) of the window.
    AddControl(new CCaptionControl("Game information"), 0, 200, 315, 360, 355, kInformationID, nullptr)
        ->Show(true, false);
    return true;
}

void CStartScreen::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    if (dwID == kInformationID)
        m_InfoPopup.Open();
}

void CStartScreen::OnGetToolTipText(uint32_t dwID, char* pszText)
{
    if (dwID == kInformationID)
        std::strcpy(pszText, "What the game holds so far");
}
