#include "editor/EditorLook.h"

#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXManager.h"
#include "xframework/CXScrollBar.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

#include <cstring>

void DrawEditorGroup(plat::DeviceContext* pDC, int nLeft, int nTop, int nRight, int nBottom, const char* pszCaption,
                     COLORREF crFill)
{
    DrawRectOutline(pDC, nLeft, nTop, nRight, nBottom, kEditorFrame, 1);
    if (!pszCaption || !*pszCaption)
        return;
    pDC->selectFont(g_hSmallBoldFont);
    plat::Size size{0, 0};
    pDC->getTextExtentPoint(pszCaption, static_cast<int>(std::strlen(pszCaption)), &size);
    DrawFilledRect(pDC, nLeft + 8, nTop - 1, nLeft + 14 + size.cx, nTop + 1, crFill);
    pDC->setBkMode(plat::TRANSPARENT);
    DrawTextF(pDC, nLeft + 11, nTop - 8, kEditorHeading, "%s", pszCaption);
}

void DrawEditorLabel(plat::DeviceContext* pDC, int x, int y, const char* pszText)
{
    pDC->selectFont(g_hSmallFont);
    pDC->setBkMode(plat::TRANSPARENT);
    DrawTextF(pDC, x, y, kEditorText, "%s", pszText ? pszText : "");
}

CXSurface* MakeEditorBackground(CXClient& client, COLORREF crFill)
{
    auto* pSurface = new CXSurface;
    if (!pSurface->Create(client.Width(), client.Height(), false, false)) {
        delete pSurface;
        return nullptr;
    }
    pSurface->Fill(crFill);
    return pSurface;
}

CXSurface* MakeEditorDialogFrame(CXClient& client, const char* pszTitle,
                                 const std::function<void(plat::DeviceContext*)>& draw)
{
    CXSurface* pSurface = MakeEditorBackground(client, kEditorPanel);
    if (!pSurface)
        return nullptr;
    plat::DeviceContext* pDC = pSurface->m_pSurface->getDC();
    DrawRectOutline(pDC, 0, 0, client.Width(), client.Height(), kEditorFrame, 1);
    DrawFilledRect(pDC, 1, 1, client.Width() - 1, 26, kEditorBackground);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hSmallBoldFont);
    DrawTextF(pDC, 10, 6, kEditorHeading, "%s", pszTitle ? pszTitle : "");
    draw(pDC);
    pSurface->m_pSurface->releaseDC(pDC);
    return pSurface;
}

std::unique_ptr<CXSurface> MakeEditorSelection(int nWidth)
{
    auto pSurface = std::make_unique<CXSurface>();
    if (!pSurface->Create(nWidth, 16, false, false))
        return nullptr;
    pSurface->Fill(plat::RGB(70, 110, 150));
    return pSurface;
}

CXEdit* AddEditorEdit(CXClient& client, uint32_t dwID, int x, int y, int nWidth, int nMaxLength, bool bNumeric)
{
    auto* pEdit = static_cast<CXEdit*>(client.AddControlXYWH(XCONTROL_EDIT, x, y, nWidth, 18, dwID, nullptr));
    if (!pEdit)
        return nullptr;
    pEdit->m_hFont = g_hSmallFont;
    if (bNumeric) {
        pEdit->m_bAllowLetters = 0;
        pEdit->m_bAllowOthers = 0;
        // Years and figures, not amounts: no thousands separator.
        pEdit->m_bGrouped = 0;
    }
    pEdit->SetMaxLength(nMaxLength);
    return pEdit;
}

CXListBox* AddEditorList(CXClient& client, uint32_t dwID, uint32_t dwBarID, int x, int y, int nWidth, int nHeight,
                         const LISTCOLUMN* pColumns, CXSurface* pSelection)
{
    auto* pBar = static_cast<CXScrollBar*>(client.AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, dwBarID, nullptr));
    if (pBar)
        pBar->Create(dwBarID + 1, dwBarID + 2, 16, false, 0);
    auto* pList =
        static_cast<CXListBox*>(client.AddControl(XCONTROL_LISTBOX, x, y, x + nWidth, y + nHeight, dwID, nullptr));
    if (!pList)
        return nullptr;
    pList->SetUp(16, 0, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true, pBar, false,
                 pSelection, false, 0, false, true, false);
    pList->SetUpColumns(x, y, x + nWidth, y + nHeight, pColumns, false, false, nHeight, false);
    return pList;
}

CXComboBox* AddEditorCombo(CXClient& client, uint32_t dwID, uint32_t dwBarID, int x, int y, int nWidth,
                           int nDropHeight)
{
    static const LISTCOLUMN kColumns[] = {
        {0, 240, 2, 0, 0, 0, 0, LISTSORT_NONE, 1},
        {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    // The box's own bar stays hidden; having one gives the open list a bar
    // of its own when the rows outnumber the drop-down's height.
    auto* pBar = static_cast<CXScrollBar*>(client.AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, dwBarID, nullptr));
    if (pBar)
        pBar->Create(dwBarID + 1, dwBarID + 2, 16, false, 0);
    auto* pCombo = static_cast<CXComboBox*>(
        client.AddControl(XCONTROL_COMBOBOX, x, y, x + nWidth, y + nDropHeight, dwID, nullptr));
    if (!pCombo)
        return nullptr;
    pCombo->SetUp(16, 4, g_hSmallFont, 3, false, pBar, true, nullptr, false, 2, false, false, true);
    pCombo->SetUpColumns(x, y, x + nWidth, y + nDropHeight, kColumns, false, false, 16, false);
    return pCombo;
}

namespace {
// The shared caption face: two states of 84 x 26 side by side.
constexpr int kFaceWidth = 84;
constexpr int kFaceHeight = 26;
CXSurface* SharedFace() { return g_pfnSharedBitmap ? g_pfnSharedBitmap("btnTog.bmp") : nullptr; }
}  // namespace

CXButton* AddEditorButton(CXClient& client, uint32_t dwID, int x, int y, CXSurface* pFace)
{
    if (!pFace)
        pFace = SharedFace();
    const int nWidth = pFace && pFace != SharedFace() ? pFace->GetWidth() / 2 : kFaceWidth;
    auto* pButton =
        static_cast<CXButton*>(client.AddControlXYWH(XCONTROL_BUTTON, x, y, nWidth, kFaceHeight, dwID, nullptr));
    if (pButton)
        pButton->SetTextID(pFace, 0);
    return pButton;
}

std::unique_ptr<CXSurface> MakeEditorButtonFace(int nWidth)
{
    CXSurface* pShared = SharedFace();
    if (!pShared || !pShared->m_pSurface || nWidth < kFaceWidth)
        return nullptr;
    auto pFace = std::make_unique<CXSurface>();
    if (!pFace->Create(nWidth * 2, kFaceHeight, false, false))
        return nullptr;
    // Each state keeps its bevelled ends and repeats its middle column.
    constexpr int kEnd = 8;
    for (int nState = 0; nState < 2; ++nState) {
        const int nSource = nState * kFaceWidth, nTarget = nState * nWidth;
        const plat::Rect left{nSource, 0, nSource + kEnd, kFaceHeight};
        const plat::Rect right{nSource + kFaceWidth - kEnd, 0, nSource + kFaceWidth, kFaceHeight};
        const plat::Rect middle{nSource + kFaceWidth / 2, 0, nSource + kFaceWidth / 2 + 1, kFaceHeight};
        pFace->m_pSurface->bltFast(nTarget, 0, *pShared->m_pSurface, &left, plat::BLTFAST_WAIT);
        for (int x = kEnd; x < nWidth - kEnd; ++x)
            pFace->m_pSurface->bltFast(nTarget + x, 0, *pShared->m_pSurface, &middle, plat::BLTFAST_WAIT);
        pFace->m_pSurface->bltFast(nTarget + nWidth - kEnd, 0, *pShared->m_pSurface, &right, plat::BLTFAST_WAIT);
    }
    return pFace;
}
