#include "shell/CGamePopup.h"

#include "shell/CFormScript.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "platform/Messages.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>

COLORREF g_crColourBoxFill = 0;
COLORREF g_crColourBoxText = 0xFFFFFF;

namespace {

constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 26;
constexpr int kButtonStep = 90;
constexpr int kButtonBottomGap = 32;
constexpr COLORREF kScriptedTextColour = 0xFFFFFF;
constexpr int kConfirmButtonWidth = 44;
constexpr int kCaptionSet = 113;
constexpr int kMessageSet = 95;
constexpr COLORREF kCaptionColour = 0xFFFFFF;
// The shared background's outer frame and bevel take this many pixels at its
// right and bottom edges; they are copied to the popup's own edges.
constexpr int kFrameEdge = 9;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CXSurface* SharedBitmap(const char* pszName)
{
    CGame* pGame = Game();
    return pGame ? pGame->GetSharedBitmaps().GetBitmap(pszName) : nullptr;
}

// Copies the source rectangle (x, y, width, height) to (nDestX, nDestY).
void CopyPiece(CXSurface& dest, const CXSurface& source, int x, int y, int nWidth, int nHeight, int nDestX, int nDestY)
{
    if (nWidth <= 0 || nHeight <= 0)
        return;
    const plat::Rect rc{x, y, x + nWidth, y + nHeight};
    dest.m_pSurface->bltFast(nDestX, nDestY, *source.m_pSurface, &rc, plat::BLTFAST_WAIT);
}

}  // namespace

CGameMessageBox* GetGameMessageBox() { return dynamic_cast<CGameMessageBox*>(g_pMessageBoxPopup); }

bool ShowGameMessageBox(int nMode, int nTextItem)
{
    CGameMessageBox* pBox = GetGameMessageBox();
    return pBox && pBox->Show(nMode, nTextItem);
}

bool ShowGameNotice(int nTextItem, const std::string& detail)
{
    CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox)
        return false;
    // A path in the detail is named by its file alone: the box is narrow and
    // a path has no blank to wrap at.
    std::string shown;
    for (size_t nStart = 0; nStart <= detail.size();) {
        size_t nEnd = detail.find(' ', nStart);
        if (nEnd == std::string::npos)
            nEnd = detail.size();
        const std::string word = detail.substr(nStart, nEnd - nStart);
        const size_t nSlash = word.find_last_of('/');
        shown += nSlash == std::string::npos || nSlash + 1 == word.size() ? word : word.substr(nSlash + 1);
        if (nEnd < detail.size())
            shown += ' ';
        nStart = nEnd + 1;
    }
    const char* pszFormat = GetTableText(kMessageSet, nTextItem);
    const std::string format = pszFormat ? pszFormat : "%s";
    const size_t nAt = format.find("%s");
    return pBox->ShowNotice(nAt == std::string::npos ? format : format.substr(0, nAt) + shown + format.substr(nAt + 2));
}

bool CGameMessageBox::ShowNotice(const std::string& text)
{
    if (IsOnStack()) {
        m_PendingNotice = text;
        m_bNoticePending = true;
        return true;
    }
    m_Text = text;
    return Show(MODE_OK, 0);
}

void CGameMessageBox::OnClosed()
{
    if (!m_bNoticePending)
        return;
    m_bNoticePending = false;
    ShowNotice(m_PendingNotice);
}

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
    if (dwID == kPrintButtonID)
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, kPrintQuestion);
}

void CGamePopup::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (pBox && pBox->m_dwResultID == kOkButtonID && pBox->GetTextItem() == kPrintQuestion)
        OnPrint();
}

void CGamePopup::SetPopupRect(int x, int y, int nWidth, int nHeight)
{
    SetClientRect(x, y, nWidth, nHeight);
    m_rcTitle = {0, 0, nWidth, kDragStripHeight};
}

void CGamePopup::SetTabbedPopupRect(int x, int y, int nWidth, int nHeight, int nTabStrip)
{
    SetClientRect(x, y, nWidth, nHeight);
    m_rcTitle = {0, nTabStrip + 2, nWidth, nTabStrip + 2 + kDragStripHeight};
    m_bKeyedTitleStrip = 1;
    m_bTabbed = 1;
}

void CGamePopup::DrawCaptionFrame(int nCaptionItem)
{
    delete m_pBackground;
    m_pBackground = new CXSurface;
    const int nWidth = Width(), nHeight = Height();
    if (!m_pBackground->Create(nWidth, nHeight, false, true)) {
        delete m_pBackground;
        m_pBackground = nullptr;
        return;
    }
    m_pBackground->Fill(0xFF00FF);
    if (const CXSurface* pShared = SharedBitmap("bgPopup.bmp"); pShared && pShared->m_pSurface) {
        // The body from the top left, the right and bottom edges (frame,
        // bevel and the inner panel's line) from the shared picture's own.
        const int nSharedW = pShared->GetWidth(), nSharedH = pShared->GetHeight();
        const int nBodyW = std::min(nWidth - kFrameEdge, nSharedW - kFrameEdge);
        const int nBodyH = std::min(nHeight - kFrameEdge, nSharedH - kFrameEdge);
        CopyPiece(*m_pBackground, *pShared, 0, 0, nBodyW, nBodyH, 0, 0);
        CopyPiece(*m_pBackground, *pShared, nSharedW - kFrameEdge, 0, kFrameEdge, nBodyH, nWidth - kFrameEdge, 0);
        // A popup taller than the picture repeats the body's last row.
        for (int y = nBodyH; y < nHeight - kFrameEdge; ++y) {
            CopyPiece(*m_pBackground, *pShared, 0, nBodyH - 1, nBodyW, 1, 0, y);
            CopyPiece(*m_pBackground, *pShared, nSharedW - kFrameEdge, nBodyH - 1, kFrameEdge, 1, nWidth - kFrameEdge, y);
        }
        CopyPiece(*m_pBackground, *pShared, 0, nSharedH - kFrameEdge, nBodyW, kFrameEdge, 0, nHeight - kFrameEdge);
        CopyPiece(*m_pBackground, *pShared, nSharedW - kFrameEdge, nSharedH - kFrameEdge, kFrameEdge, kFrameEdge,
                  nWidth - kFrameEdge, nHeight - kFrameEdge);
        // A popup wider than the picture repeats the body's last column.
        for (int x = nBodyW; x < nWidth - kFrameEdge; ++x)
            CopyPiece(*m_pBackground, *m_pBackground, nBodyW - 1, 0, 1, nHeight, x, 0);
    }
    const char* pszCaption = nCaptionItem >= 0 ? GetTableText(kCaptionSet, nCaptionItem) : nullptr;
    if (!pszCaption || !*pszCaption)
        return;
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    if (!pDC)
        return;
    pDC->selectFont(g_hNormalFont);
    pDC->setBkMode(plat::TRANSPARENT);
    DrawShadowTextCentredF(pDC, 0, 0, nWidth, kDragStripHeight, 1, kCaptionColour, 0x000000, "%s", pszCaption);
    m_pBackground->m_pSurface->releaseDC(pDC);
}

CXButton* CGamePopup::AddConfirmButton(uint32_t dwID, int x)
{
    auto* pButton = static_cast<CXButton*>(
        AddControlXYWH(XCONTROL_BUTTON, x, Height() - kButtonBottomGap, kConfirmButtonWidth, kButtonHeight, dwID, nullptr));
    if (!pButton)
        return nullptr;
    pButton->m_hFont = g_hSmallFont;
    pButton->SetTextID(SharedBitmap("btnYesNo.bmp"), dwID == kOkButtonID ? 0 : kButtonHeight);
    return pButton;
}

CXButton* CGamePopup::AddButton(uint32_t dwTextID)
{
    auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, m_nNextButtonX, Height() - kButtonBottomGap,
                                                          kButtonWidth, kButtonHeight, dwTextID, nullptr));
    m_nNextButtonX += kButtonStep;
    if (!pButton)
        return nullptr;
    pButton->m_hFont = g_hSmallFont;
    pButton->SetTextID(SharedBitmap("btnTog.bmp"), 0);
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
