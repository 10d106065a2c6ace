#include "screens/CClientEndOfCareer.h"

#include "popups/CPopupManagerDetails.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/DrawingFunctions.h"

namespace {

constexpr int kEndMode = 7;
constexpr int kTitleDescription = 120;
constexpr int kWordsDescription = 121;
const COLORREF kTitleColour = plat::RGB(240, 180, 0);  // the gold accent
const COLORREF kTextColour = plat::RGB(242, 242, 234);

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

// The manager of a human slot; null for a free slot or one whose manager
// the world no longer knows.
CManagerDatabase* SlotManager(int nSlot)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetHumanSlot(nSlot) : nullptr;
    return pHuman ? pDatabase->GetManagerFromID(pHuman->GetManagerID()) : nullptr;
}

}  // namespace

CClientEndOfCareer& GetEndOfCareerScreen()
{
    static CClientEndOfCareer s_Screen;
    return s_Screen;
}

CClientEndOfCareer::CClientEndOfCareer() { m_wScreenID = SCREEN_END_OF_CAREER; }

CClientEndOfCareer::~CClientEndOfCareer() = default;

bool CClientEndOfCareer::OnInitDialog()
{
    if (CGame* pGame = Game())
        pGame->GetScreenHistory().ClearScreenHistory();
    if (g_pNavigationBar) {
        g_pNavigationBar->SetMode(kEndMode);
        g_pNavigationBar->SetBlock(0);
        g_pNavigationBar->SetBlock(1);
    }
    if (g_pTitlebar)
        g_pTitlebar->SetMode(kEndMode);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    CGame* pGame = Game();
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot) {
        const CManagerDatabase* pManager = SlotManager(nSlot);
        if (!pManager)
            continue;
        auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, kButtonX + kButtonStep * nSlot, kButtonY,
                                                              kButtonWidth, kButtonHeight,
                                                              kFirstButton + static_cast<uint32_t>(nSlot), nullptr));
        if (!pButton)
            continue;
        pButton->m_hFont = g_hSmallFont;
        if (pGame)
            pButton->SetTextID(pGame->GetSharedBitmaps().GetBitmap("btnTog.bmp"), 0);
        // The slot's manager by his short name.
        pButton->SetText("%s", pManager->GetShortName());
        pButton->Draw();
    }
    ShowAllControls(true);
    return bResult;
}

void CClientEndOfCareer::ConstructScreen()
{
    SetBackgroundBitmap("bgEnd.bmp");
    if (!MakeOwnBackground())
        return;
    DrawSurfaceText(g_hLargeBoldFont, m_pBackground, kTitleDescription, kTitleColour);
    DrawSurfaceText(g_hNormalFont, m_pBackground, kWordsDescription, kTextColour);
}

void CClientEndOfCareer::OnClicked(uint32_t dwID)
{
    if (dwID >= kFirstButton && dwID < kFirstButton + HUMAN_SLOTS)
        if (CManagerDatabase* pManager = SlotManager(static_cast<int>(dwID - kFirstButton)))
            GetManagerDetailsPopup().Show(pManager);
    CGameClient::OnClicked(dwID);
}
