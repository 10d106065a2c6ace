// The game program. Until the game object and its screens exist, the program
// runs a start-up view on the real spine: it opens the display, loads its
// bitmaps from the main archive and the configuration files, and presents a
// frame whenever it is idle and active. Escape or closing the window quits.
#include "shell/CConfigFile.h"
#include "shell/CFileManager.h"
#include "shell/WinMain.h"

#include "common/DebugLog.h"
#include "platform/DeviceContext.h"

#include <memory>

namespace {

class CStartupView : public CGameHost {
public:
    bool OnGameStart(bool /*bRestart*/, uint32_t dwWidth, uint32_t dwHeight) override
    {
        if (!SetUp(dwWidth, dwHeight, 16, XMODE_FULLSCREEN | XMODE_BACKBUFFER | XMODE_GAME))
            return false;
        BuildColourTables();
        m_pTitleFont.reset(plat::Font::create(24, 900, "Arial"));
        m_pTextFont.reset(plat::Font::create(15, 400, "Arial"));
        m_pLanguage = std::make_unique<CConfigFile>("Data\\Configs\\Language.cfg");
        m_pGeneral = std::make_unique<CConfigFile>("Data\\Configs\\General.cfg");
        m_MainArchive.Open("GFX\\Main.BFS");
        m_pBackground = LoadArchiveBitmap("bgMain.bmp", false);
        m_pCursor = LoadArchiveBitmap("curX1.bmp", true);
        return true;
    }

    void OnGameEnd(bool /*bRestart*/) override
    {
        m_pBackground.reset();
        m_pCursor.reset();
        if (m_MainArchive.m_pFile)
            m_MainArchive.Close();
        m_pTitleFont.reset();
        m_pTextFont.reset();
        ReleaseDirectDraw();
    }

    void Update() override
    {
        CXSurface* pBack = GetBackSurface();
        if (!pBack)
            return;
        pBack->Fill(plat::RGB(12, 20, 32));
        pBack->FillGradient(0, 0, 160, 600, plat::RGB(14, 70, 40), plat::RGB(6, 36, 20));
        pBack->FillGradient(160, 0, 640, 85, plat::RGB(18, 44, 96), plat::RGB(40, 96, 168));
        if (m_pBackground)
            CXSurface::Blit(pBack, m_pBackground.get(), 160, 85);
        plat::DeviceContext* pDC = pBack->m_pSurface->getDC();
        pDC->setBkMode(plat::TRANSPARENT);
        pDC->selectFont(m_pTitleFont.get());
        pDC->setTextColor(plat::RGB(255, 255, 255));
        pDC->textOut(180, 14, "Corravin");
        pDC->selectFont(m_pTextFont.get());
        pDC->setTextColor(plat::RGB(200, 220, 255));
        char szLine[160];
        std::snprintf(szLine, sizeof szLine, "Language: %s   |   %s", m_pLanguage->GetValue("LANGUAGE", "English"),
                      m_pGeneral->GetValue("EUROPEAN_EUROPEAN", "KAVO Champions League"));
        pDC->textOut(182, 50, szLine);
        pDC->setTextColor(plat::RGB(230, 240, 230));
        plat::Rect rcNote{10, 250, 150, 400};
        pDC->drawText("Start-up display. The game's screens come in later steps. Esc quits.", -1, &rcNote,
                      plat::DT_CENTER | plat::DT_WORDBREAK | plat::DT_NOPREFIX);
        if (!m_pBackground) {
            pDC->setTextColor(plat::RGB(255, 200, 120));
            pDC->textOut(200, 300, "GFX\\Main.BFS or its bgMain.bmp could not be read.");
        }
        pBack->m_pSurface->releaseDC(pDC);
        if (m_pCursor)
            CXSurface::BlitKeyed(pBack, m_pCursor.get(), g_nMouseX, g_nMouseY);
        Present();
    }

    void DispatchMessage(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) override
    {
        if (message == plat::WM_MOUSEMOVE) {
            g_nMouseX = plat::loWord(static_cast<uint64_t>(lParam));
            g_nMouseY = plat::hiWord(static_cast<uint64_t>(lParam));
        } else if (message == plat::WM_KEYDOWN && wParam == plat::VK_ESCAPE) {
            plat::postQuitMessage(0);
        }
    }

    void OnActivateApp(bool bActive) override
    {
        DebugLog(0, bActive ? "Program is active" : "Program is not active");
        CXManager::OnActivate(bActive);
    }

private:
    std::unique_ptr<CXSurface> LoadArchiveBitmap(const char* pszName, bool bColorKey)
    {
        bool bFound = false;
        long nSize = 0;
        FILE* pFile = m_MainArchive.Get(pszName, &nSize, &bFound);
        if (!bFound)
            return nullptr;
        auto pSurface = std::make_unique<CXSurface>();
        if (!pSurface->CreateFromBitmap(pFile, true, bColorKey, nSize))
            return nullptr;
        return pSurface;
    }

    CFileManager m_MainArchive;
    std::unique_ptr<CXSurface> m_pBackground;
    std::unique_ptr<CXSurface> m_pCursor;
    std::unique_ptr<plat::Font> m_pTitleFont;
    std::unique_ptr<plat::Font> m_pTextFont;
    std::unique_ptr<CConfigFile> m_pLanguage;
    std::unique_ptr<CConfigFile> m_pGeneral;
};

}  // namespace

int main()
{
    CStartupView view;
    return WinMain(&view);
}
