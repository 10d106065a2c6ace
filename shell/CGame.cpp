#include "shell/CGame.h"
#include "shell/CFormScript.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/UserFolders.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "xframework/CPrintJob.h"
#include "xframework/CXCalendar.h"
#include "xframework/CXEditPopup.h"
#include "xframework/CXGraph.h"
#include "xframework/CXPopup.h"

#include "common/DebugLog.h"
#include "common/ShellServices.h"
#include "database/CDatabaseHandler.h"
#include "xframework/DrawingFunctions.h"
#include "platform/DeviceContext.h"
#include "platform/Random.h"

#include <cstring>
#include <ctime>

HFONT g_hSmallFont = nullptr;
HFONT g_hSmallBoldFont = nullptr;
HFONT g_hTinyFont = nullptr;
HFONT g_hMediumFont = nullptr;
HFONT g_hLargeFont = nullptr;
HFONT g_hLargeBoldFont = nullptr;
HFONT g_hNormalFont = nullptr;
HFONT g_hTitleFont = nullptr;

CFileManager* g_pMainArchive = nullptr;
CFileManager* g_pAnimArchive = nullptr;
CFileManager* g_pMatchTexturesArchive = nullptr;

CXClient* g_pStartScreen = nullptr;
CGameSounds* g_pGameSounds = nullptr;

namespace {

struct FontSpec {
    HFONT* pFont;
    int nHeight;
    int nWeight;
};
// In their order of creation.
const FontSpec kFonts[] = {
    {&g_hSmallFont, 14, 100},     {&g_hSmallBoldFont, 14, 700}, {&g_hTinyFont, 12, 100},
    {&g_hMediumFont, 16, 400},    {&g_hLargeFont, 18, 400},     {&g_hLargeBoldFont, 18, 700},
    {&g_hNormalFont, 15, 400},    {&g_hTitleFont, 24, 900},
};

CFileManager* OpenArchive(const char* pszName)
{
    auto* pArchive = new CFileManager;
    if (!pArchive->Open(pszName))
        DebugLog(0, "[CGame::OnGameStart] Could not open the archive %s", pszName);
    return pArchive;
}

void CloseArchive(CFileManager*& pArchive)
{
    if (!pArchive)
        return;
    if (pArchive->m_pFile)
        pArchive->Close();
    delete pArchive;
    pArchive = nullptr;
}

}  // namespace

CDatabaseHandler* GetLoadedDatabase()
{
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    return pDatabase && pDatabase->IsDatabaseLoaded() ? pDatabase : nullptr;
}

CXSurface* LoadMainArchiveBitmap(const char* pszName, bool bColorKey)
{
    if (!g_pMainArchive || !g_pMainArchive->m_pFile)
        return nullptr;
    bool bFound = false;
    long nSize = 0;
    FILE* pFile = g_pMainArchive->Get(pszName, &nSize, &bFound);
    if (!bFound || !pFile)
        return nullptr;
    auto* pSurface = new CXSurface;
    if (!pSurface->CreateFromBitmap(pFile, true, bColorKey, nSize)) {
        delete pSurface;
        return nullptr;
    }
    return pSurface;
}

CGame::CGame() = default;

CGame::~CGame()
{
    CFormScript::SetDatabase(nullptr);
    g_pNavigationBar = nullptr;
    g_pTitlebar = nullptr;
    InstallFormattingOptions(nullptr);
    g_ClientList.clear();
    m_ScreenHistory.ClearScreenHistory();
}

bool CGame::LoadTexts()
{
    if (!m_ControlText.Load(m_Options.GetLanguage())) {
        DebugLog(0, "OnGameStart : LoadControlText Failed");
        return false;
    }
    if (!m_TableText.Load(m_Options.GetLanguage()) || !m_TextDescription.Load(m_Options.GetLanguage())) {
        DebugLog(0, "OnGameStart : LoadTableText Failed");
        return false;
    }
    m_TableText.Install();
    m_TextDescription.Install();
    return true;
}

void CGame::FreeTexts()
{
    m_ControlText.Free();
    m_TableText.Free();
    m_TextDescription.Free();
}

void CGame::CreateFonts()
{
    for (const FontSpec& font : kFonts) {
        delete *font.pFont;
        *font.pFont = plat::Font::create(font.nHeight, font.nWeight, "Arial");
    }
    g_hToolTipFont = g_hSmallFont;
    g_hButtonFont = g_hSmallBoldFont;
    g_hEditPopupFont = g_hSmallFont;
}

void CGame::DeleteFonts()
{
    g_hToolTipFont = nullptr;
    g_hButtonFont = nullptr;
    g_hEditPopupFont = nullptr;
    for (const FontSpec& font : kFonts) {
        delete *font.pFont;
        *font.pFont = nullptr;
    }
}

void CGame::OpenArchives()
{
    g_pMainArchive = OpenArchive("GFX\\Main.BFS");
    g_pAnimArchive = OpenArchive("GFX\\Anim.BFS");
    g_pMatchTexturesArchive = OpenArchive("GFX\\MatchTextures.BFS");
}

void CGame::CloseArchives()
{
    CloseArchive(g_pMatchTexturesArchive);
    CloseArchive(g_pMainArchive);
    CloseArchive(g_pAnimArchive);
}

bool CGame::OnGameStart(bool bRestart, uint32_t dwWidth, uint32_t dwHeight)
{
    // The display is 16-bit in full screen and windowed alike.
    const uint32_t dwFlags = g_bFullScreen ? (XMODE_FULLSCREEN | XMODE_BACKBUFFER | XMODE_GAME)
                                           : (XMODE_BACKBUFFER | XMODE_GAME);
    m_pszStartFailure = nullptr;
    if (!SetUp(dwWidth, dwHeight, 16, dwFlags)) {
        m_pszStartFailure = "The display could not be set up.";
        return false;
    }
    g_pScreenSurface = GetBackSurface();
    CreateFonts();
    CXPopup::ResetStack();

    if (!bRestart) {
        // Whether 3-D can be drawn decides the 3-D option's default.
        m_Options.LoadLanguageConfig();
        m_Options.LoadOptions(s_pfnCan3D && s_pfnCan3D());
        g_dwToolTipsDelayOption = m_Options.m_nToolTipsDelay;
        InstallFormattingOptions(&m_Options);
        StartMusic();
    }
    if (!LoadTexts()) {
        m_pszStartFailure = "The game's texts are missing or damaged.";
        return false;
    }
    g_pfnControlToolTipText = [](uint32_t dwID) -> const char* {
        const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
        return pGame ? pGame->GetControlText().GetTooltip(static_cast<int>(dwID)) : nullptr;
    };
    g_pfnControlCaptionText = [](uint32_t dwID) -> const char* {
        const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
        return pGame ? pGame->GetControlText().GetText(static_cast<int>(dwID)) : nullptr;
    };
    g_pfnGraphEmptyText = [] { return GetTableText(114, 26); };
    g_pfnTableText = [](int nSet, int nItem) { return GetTableText(nSet, nItem); };

    if (!bRestart) {
        g_pCurrentClient = g_pStartScreen;
        OpenArchives();
        plat::srand(static_cast<unsigned>(std::time(nullptr)));
        if (!m_pDatabase) {
            m_pDatabase = std::make_unique<CDatabaseHandler>();
            if (!m_pDatabase->AreFixedTablesLoaded()) {
                DebugLog(0, "[CGame::OnGameStart] The game's fixed tables could not be read");
                if (!m_bStartScreenReportsDataFailure) {
                    m_pszStartFailure = "The game's data files are missing or damaged.";
                    m_pDatabase.reset();
                    return false;
                }
            }
            m_pDatabase->SetDefaultGameSettings();
        }
        // A human's fixtures wait for the match screen unless the options ask
        // for quick results throughout.
        m_pDatabase->SetMatchType(m_Options.m_nMatchType);
        CFormScript::SetDatabase(m_pDatabase.get());
        BuildColourTables();
    }

    g_pfnLoadControlBitmap = [](const char* pszName) { return LoadMainArchiveBitmap(pszName, false); };
    if (g_pMainArchive)
        m_SharedBitmaps.LoadBitmaps(*g_pMainArchive);
    m_SharedBitmaps.SetMousePointer(0, 0, 0);
    g_pfnResetMousePointer = [] {
        if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
            pGame->GetSharedBitmaps().SetMousePointer(0, 0, 0);
    };
    g_pfnSetMousePointer = [](int nKind, int nHotX, int nHotY) {
        if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
            pGame->GetSharedBitmaps().SetMousePointer(nKind, nHotX, nHotY);
    };
    g_pfnSharedBitmap = [](const char* pszName) -> CXSurface* {
        auto* pGame = dynamic_cast<CGame*>(g_pGame);
        return pGame ? pGame->GetSharedBitmaps().GetBitmap(pszName) : nullptr;
    };
    g_pfnEditCaret = []() -> CXAnimation* {
        auto* pGame = dynamic_cast<CGame*>(g_pGame);
        return pGame ? pGame->GetSharedBitmaps().GetCaret() : nullptr;
    };
    g_pfnConvertCurrency = &ConvertCurrency;
    // Printed pages go to the folder the options name, else the documents.
    g_pfnPrintFolder = [] {
        char szFolder[255] = {};
        auto pKey = GetRegistryKey(COptions::kOptionsKey);
        return GetRegistryString(*pKey, "PrintFolder", szFolder) && szFolder[0] ? std::string(szFolder)
                                                                                 : GetDocumentsFolder();
    };
    g_pfnPrinted = [](const char* pszPath) {
        if (g_pNavigationBar)
            g_pNavigationBar->ShowMessage((std::string("Printed to ") + pszPath).c_str());
    };
    SetProgressHandler([](double dDone, int nStage, int nValue, int nFlag) {
        if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
            pGame->ShowProgress(dDone, nStage, nValue != 0, nFlag != 0);
    });
    // The bars stand before any screen: screens set their modes on entry.
    if (!m_pNavigationBar) {
        m_pNavigationBar = std::make_unique<CGameNavigationBar>();
        m_pTitlebar = std::make_unique<CGameTitlebar>();
    }
    g_pNavigationBar = m_pNavigationBar.get();
    g_pTitlebar = m_pTitlebar.get();
    m_pTitlebar->OnInitDialog();
    m_pNavigationBar->OnInitDialog();
    if (g_pCurrentClient)
        g_pCurrentClient->OnInitDialog();

    if (!bRestart) {
        m_ScreenHistory.ClearScreenHistory();
        m_Options.LoadGeneralConfig();
    }
    g_ClientList.reserve(10);
    if (g_pCurrentClient && g_pCurrentClient == g_pStartScreen)
        m_ScreenHistory.AddScreenHistory(g_pStartScreen, 0);
    m_bPresentNeeded = 1;
    return true;
}

void CGame::ShowProgress(double dDone, int nIndex, bool bShow, bool bRedrawScreen)
{
    constexpr int kProgressTextSet = 140;
    const char* pszText = GetTableText(kProgressTextSet, nIndex & 255);
    ShowProgressNow(dDone, pszText ? pszText : "", bShow, bRedrawScreen);
}

void CGame::ShowProgressNow(double dDone, const char* pszText, bool bShow, bool bRedrawScreen)
{
    if (!m_pNavigationBar || !m_pNavigationBar->ShowProgress(pszText, dDone, bShow))
        return;
    // The window follows a long step a few dozen times a second: showing
    // every change would take longer than the step itself.
    const auto now = std::chrono::steady_clock::now();
    if (dDone < 100.0 && now - m_LastProgressShown < kProgressShowInterval)
        return;
    m_LastProgressShown = now;
    if (bRedrawScreen && g_pCurrentClient)
        g_pCurrentClient->BlitToScreen(nullptr);
    for (CXClient* pBar : {static_cast<CXClient*>(m_pNavigationBar.get()), static_cast<CXClient*>(m_pTitlebar.get())}) {
        pBar->BlitToScreen(nullptr);
        pBar->OnPaint();
    }
    if (bRedrawScreen && g_pCurrentClient)
        g_pCurrentClient->OnPaint();
    PresentIfChanged();
}

const CGameTables& CGame::GetGameTables() const
{
    static const CGameTables s_none;
    return m_pDatabase ? m_pDatabase->GetGameTables() : s_none;
}

void CGame::OnGameEnd(bool bRestart)
{
    if (g_pCurrentClient)
        g_pCurrentClient->OnDestroy();
    // Top first, each taken off as it goes: a popup frees the child popups
    // it opened when it is destroyed, and they may still stand above it.
    while (CXPopup* pTop = CXPopup::TopPopup()) {
        pTop->OnDestroy();
        CXPopup::PopTop();
    }
    if (m_pNavigationBar) {
        m_pNavigationBar->OnDestroy();
        m_pTitlebar->OnDestroy();
    }
    FreeToolTip();
    m_SharedBitmaps.FreeBitmaps();
    FreeBackgroundBitmap();
    g_pfnResetMousePointer = nullptr;
    g_pfnSetMousePointer = nullptr;
    g_pfnSharedBitmap = nullptr;
    g_pfnEditCaret = nullptr;
    g_pfnConvertCurrency = nullptr;
    g_pfnPrintFolder = nullptr;
    g_pfnPrinted = nullptr;
    SetProgressHandler(nullptr);
    DeleteFonts();
    if (!bRestart) {
        CloseArchives();
        StopMusic();
    }
    FreeTexts();
    g_pfnControlToolTipText = nullptr;
    g_pfnControlCaptionText = nullptr;
    g_pfnGraphEmptyText = nullptr;
    g_pfnTableText = nullptr;
    g_pfnLoadControlBitmap = nullptr;
    g_pScreenSurface = nullptr;
    ReleaseDirectDraw();
}

void CGame::DeleteDatabase()
{
    if (m_pDatabase && m_pDatabase->IsDatabaseLoaded())
        m_pDatabase->DeleteDatabase();
}

void CGame::Update()
{
    if (m_bDisplayChangeRequest) {
        OnGameEnd(true);
        if (m_bFullView) {
            g_pCurrentClient = m_pFullViewScreen;
            OnGameStart(true, 640, 480);
        } else {
            g_pCurrentClient = m_pReturnScreen;
            OnGameStart(true, 800, 600);
        }
        m_bDisplayChangeRequest = 0;
    }
    if (m_bFullView) {
        UpdateFullView();
        return;
    }
    if (m_bRestartRequest) {
        m_bRestartRequest = 0;
        ChangeScreenMode();
        return;
    }
    if (g_pNextClient) {
        if (g_pCurrentClient)
            g_pCurrentClient->OnDestroy();
        g_pCurrentClient = g_pNextClient;
        g_pNextClient = nullptr;
        g_pCurrentClient->m_dwChangeParameter = g_dwChangeParameter;
        g_pCurrentClient->OnInitDialog();
        g_pCurrentClient->OnPaint();
        return;
    }
    CXSurface* pBack = GetBackSurface();
    if (!pBack)
        return;
    ++m_dwFramesComposed;
    RECT rcPopupArea{0, 0, 0, 0};
    const RECT* pExcluded = nullptr;
    if (CXPopup* pLowest = CXPopup::StackEntry(0)) {
        rcPopupArea = {pLowest->m_nLeft, pLowest->m_nTop, pLowest->m_nRight, pLowest->m_nBottom};
        if (pLowest->m_bTabbed)
            rcPopupArea.top += 24;
        pExcluded = &rcPopupArea;
    }
    // A screen that covers the whole window leaves the bars out.
    const bool bBars = g_pCurrentClient && (g_pCurrentClient->m_nLeft > 0 || g_pCurrentClient->m_nTop > 0);
    if (bBars && m_pNavigationBar) {
        for (CXClient* pBar : {static_cast<CXClient*>(m_pNavigationBar.get()), static_cast<CXClient*>(m_pTitlebar.get())}) {
            pBar->BlitToScreen(pExcluded);
            pBar->OnPaint();
        }
    }
    if (CXClient* pScreen = g_pCurrentClient) {
        pScreen->BlitToScreen(pExcluded ? pExcluded : g_bReservedValid ? &g_rcReserved : nullptr);
        pScreen->OnPaint();
    }
    for (int i = 0; i <= CXPopup::StackTop(); ++i) {
        CXPopup* pPopup = CXPopup::StackEntry(i);
        pPopup->BlitToScreen(nullptr);
        pPopup->OnPaint();
    }
    if (m_bShowFPS && pBack->m_pSurface) {
        plat::DeviceContext* pDC = pBack->m_pSurface->getDC();
        plat::Pen pen(plat::PS_SOLID, 1, 0xFFFFFF);
        pDC->selectPen(&pen);
        pDC->moveTo(g_nMouseX, 0);
        pDC->lineTo(g_nMouseX, pBack->m_nHeight);
        pDC->moveTo(0, g_nMouseY);
        pDC->lineTo(pBack->m_nWidth, g_nMouseY);
        pBack->m_pSurface->releaseDC(pDC);
    }
    DrawCursorAndToolTip(pBack);
    PresentIfChanged();
}

void CGame::DrawCursorAndToolTip(CXSurface* pBack)
{
    if (g_bFullScreen && !m_bShowFPS)
        m_SharedBitmaps.DrawMousePointer(pBack, g_nMouseX, g_nMouseY);
    if (!g_pToolTip || !g_pToolTip->m_pSurface)
        return;
    const CXAnimation* pPointer = m_SharedBitmaps.GetMousePointer();
    const int nPointerHeight = pPointer ? pPointer->m_nFrameHeight : 0;
    int x = g_nMouseX;
    int y = g_nMouseY + (nPointerHeight - m_SharedBitmaps.GetHotSpotY()) + 1;
    if (x + g_pToolTip->m_nWidth > pBack->m_nWidth)
        x = pBack->m_nWidth - g_pToolTip->m_nWidth;
    if (y + g_pToolTip->m_nHeight > pBack->m_nHeight)
        y = g_nMouseY - g_pToolTip->m_nHeight;
    CXSurface::BlitKeyed(pBack, g_pToolTip, x, y);
}

void CGame::PresentIfChanged()
{
    // A frame equal to the one shown is not shown again: a still screen costs
    // the composing only.
    CXSurface* pBack = GetBackSurface();
    CXSurface* pFront = GetFrontSurface();
    if (!m_bPresentNeeded && !m_bShowFPS && pBack && pFront && pBack->m_pSurface && pFront->m_pSurface) {
        const plat::Surface& back = *pBack->m_pSurface;
        const plat::Surface& front = *pFront->m_pSurface;
        if (back.pitch() == front.pitch() && back.height() == front.height() &&
            std::memcmp(back.bytes(), front.bytes(), static_cast<size_t>(back.pitch()) * back.height()) == 0)
            return;
    }
    m_bPresentNeeded = 0;
    ++m_dwFramesShown;
    Present();
}

void CGame::UpdateFullView()
{
    CXSurface* pBack = GetBackSurface();
    if (!pBack)
        return;
    if (g_pCurrentClient)
        g_pCurrentClient->OnPaint();
    DrawCursorAndToolTip(pBack);
    PresentIfChanged();
}

bool (*CGame::s_pfnCan3D)() = nullptr;

void CGame::RequestFullView(CXClient* pScreen, CXClient* pReturn)
{
    if (!pScreen)
        return;
    m_pFullViewScreen = pScreen;
    m_pReturnScreen = pReturn ? pReturn : g_pCurrentClient;
    m_bFullView = 1;
    m_bDisplayChangeRequest = 1;
}

void CGame::EndFullView()
{
    if (!m_bFullView)
        return;
    m_bFullView = 0;
    m_bDisplayChangeRequest = 1;
}

void CGame::DispatchMessage(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    if (g_pCurrentClient)
        g_pCurrentClient->WindowProc(message, wParam, lParam);
    // Then the bars, unless a full view runs or a screen change is queued.
    if (m_bFullView || !m_pNavigationBar || !g_pCurrentClient ||
        (g_pCurrentClient->m_nLeft == 0 && g_pCurrentClient->m_nTop == 0))
        return;
    m_pTitlebar->WindowProc(message, wParam, lParam);
    m_pNavigationBar->WindowProc(message, wParam, lParam);
}

void CGame::OnActivate(bool bActive)
{
    if (bActive) {
        DebugLog(0, "Program is active");
    } else {
        DebugLog(0, "Program is not active");
        m_bInactiveOnce = 1;
    }
    m_bPresentNeeded = 1;
    if (!m_bInactiveOnce)
        return;
    CXManager::OnActivate(bActive);
    if (bActive && g_pCurrentClient)
        g_pCurrentClient->RestoreSurfaces();
    if (g_pGameSounds) {
        if (bActive)
            g_pGameSounds->ResumeSoundOutput();
        else
            g_pGameSounds->SuspendSoundOutput();
    }
}

void CGame::StartMusic()
{
    if (!m_bStartStop || !g_pGameSounds)
        return;
    if (g_pGameSounds->CreateEffects(m_Options.GetLanguage(), m_Options.m_wSFXVolume, m_SoundIds)) {
        g_pfnPlayButtonClick = [] {
            if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
                pGame->GameSoundPlay(pGame->GetSoundIds().wButton);
        };
    }
    g_pGameSounds->StartMusicList(m_Options.m_wMusicVolume);
}

void CGame::StopMusic()
{
    if (!m_bStartStop || !g_pGameSounds)
        return;
    g_pfnPlayButtonClick = nullptr;
    g_pGameSounds->DeleteManagers();
}

void CGame::GameSoundPlay(uint16_t wSoundId)
{
    if (!g_pGameSounds || !g_pGameSounds->HasEffects()) {
        DebugLog(0, "[CGame::GameSoundPlay] No sound to play!");
        return;
    }
    if (!g_pGameSounds->PlayEffect(wSoundId))
        DebugLog(0, "[CGame::GameSoundPlay] Cannot play sound!");
}

void CGame::SetVolume(uint32_t dwVolume, uint32_t dwChannel)
{
    if (!g_pGameSounds || !g_pGameSounds->HasEffects() || !g_pGameSounds->HasMusic())
        return;
    // The match's crowd and commentary managers join channels 2 and 3 when
    // the match is built.
    switch (dwChannel) {
    case 0:
        g_pGameSounds->SetEffectVolume(m_SoundIds.wIcon, dwVolume);
        g_pGameSounds->SetEffectVolume(m_SoundIds.wButton, dwVolume);
        break;
    case 1:
        g_pGameSounds->SetMusicVolume(dwVolume);
        break;
    case 2:
        g_pGameSounds->SetEffectVolume(m_SoundIds.wDisappointment, dwVolume);
        break;
    case 3:
        g_pGameSounds->SetEffectVolume(m_SoundIds.wCommentary, dwVolume);
        break;
    default:
        break;
    }
}

bool CGame::ApplyOptions(const OptionValues& values)
{
    m_Options.SetValues(values);
    const bool bSaved = m_Options.SaveOptions();
    SetNumberSeparatorOption(m_Options.m_nCurrency);
    g_dwToolTipsDelayOption = m_Options.m_nToolTipsDelay;
    if (m_pDatabase)
        m_pDatabase->SetMatchType(m_Options.m_nMatchType);
    SetVolume(m_Options.m_wSFXVolume, 0);
    SetVolume(m_Options.m_wMusicVolume, 1);
    SetVolume(m_Options.m_wAmbientVolume, 2);
    SetVolume(m_Options.m_wCommentaryVolume, 3);
    if (!bSaved)
        DebugLog(0, "[CGame::ApplyOptions] The option store refused a value");
    return bSaved;
}
