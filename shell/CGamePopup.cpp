#include "shell/CGamePopup.h"

#include "shell/CFormScript.h"
#include "shell/CGame.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "platform/Messages.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"

COLORREF g_crColourBoxFill = 0;
COLORREF g_crColourBoxText = 0xFFFFFF;

namespace {

constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 26;
constexpr int kButtonStep = 90;
constexpr int kButtonBottomGap = 32;
constexpr COLORREF kScriptedTextColour = 0xFFFFFF;

}  // namespace

bool CGamePopup::OnInitDialog()
{
    DebugLog(4, "Entering Popup %s", GetScreenName(m_wScreenID));
    m_nNextButtonX = kFirstButtonX;
    return CXClient::OnInitDialog();
}

void CGamePopup::OnDestroy()
{
    CXClient::OnDestroy();
    DebugLog(4, "Leaving Popup %s", GetScreenName(m_wScreenID));
}

void CGamePopup::OnKeyUp(uint32_t key, uint32_t repeat, uint32_t)
{
    CXClient::OnKeyUp(key, repeat, 0);
    if (key == plat::VK_RETURN) {
        CXControl* pOk = FindControl(kOkButtonID);
        if (pOk && pOk->m_bVisible)
            OnClicked(kOkButtonID);
        else
            Close();
    } else if (key == plat::VK_ESCAPE) {
        Close();
    } else if (key == plat::VK_F1 && m_wScreenID != SCREEN_HELP_POPUP && g_pHelpPopup) {
        g_pHelpPopup->Open();
    }
}

void CGamePopup::OnClicked(uint32_t dwID)
{
    CXPopup::OnClicked(dwID);
    // The print question belongs to the message box; until it is in the
    // game the page is printed at once.
    if (dwID == kPrintButtonID && !g_pMessageBoxPopup)
        OnPrint();
}

CXButton* CGamePopup::AddButton(uint32_t dwTextID)
{
    auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, m_nNextButtonX, Height() - kButtonBottomGap,
                                                          kButtonWidth, kButtonHeight, dwTextID, nullptr));
    m_nNextButtonX += kButtonStep;
    if (!pButton)
        return nullptr;
    pButton->m_hFont = g_hSmallFont;
    if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
        pButton->SetTextID(pGame->GetSharedBitmaps().GetBitmap("btnTog.bmp"), 0);
    return pButton;
}

void CGamePopup::DrawColourBoxPair(COLORREF crColour)
{
    DrawColourBoxes(m_pBackground, crColour, crColour);
    g_crColourBoxFill = crColour;
    const int nLight = (plat::GetGValue(crColour) + plat::GetBValue(crColour)) / 3;
    g_crColourBoxText = nLight > 127 ? 0x000000 : 0xFFFFFF;
}

int CGamePopup::AddScriptedTextsToList(CXListBox* pList, const CFormScript& script, const int* pnEntries,
                                       int nEntries, const ITEMTEXTPARAMETERS& params)
{
    if (!pList || !pnEntries)
        return 0;
    int nAdded = 0;
    for (int i = 0; i < nEntries && nAdded < kMaxScriptedTexts; ++i) {
        char szText[FORMSCRIPT_TEXT_BYTES];
        script.GetEntryText(szText, sizeof szText, pnEntries[i], 0, params);
        if (!szText[0])
            continue;
        pList->AddString(kScriptedTextColour, "%s", szText);
        ++nAdded;
    }
    return nAdded;
}
