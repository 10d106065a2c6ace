#include "popups/PopupLook.h"

#include "shell/CGame.h"
#include "shell/CTableText.h"

#include "platform/DeviceContext.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/DrawingFunctions.h"

#include <array>
#include <map>

namespace popup_look {

namespace {

constexpr COLORREF kPanelTop = plat::RGB(31, 68, 102);
constexpr COLORREF kPanelBottom = plat::RGB(10, 24, 38);
constexpr COLORREF kStripTop = plat::RGB(58, 111, 152);
constexpr COLORREF kStripBottom = plat::RGB(31, 68, 102);
constexpr COLORREF kEdge = plat::RGB(5, 12, 20);
constexpr COLORREF kCaption = plat::RGB(242, 242, 234);

}  // namespace

const LISTCOLUMN* TextColumn(int nWidth)
{
    // One table for each width asked for, kept for the program's life as
    // the lists need.
    static std::map<int, std::array<LISTCOLUMN, 2>> s_Tables;
    auto [it, bNew] = s_Tables.try_emplace(nWidth);
    if (bNew)
        it->second = {LISTCOLUMN{0, static_cast<int16_t>(nWidth), 2, 0, 0, 0, 0, LISTSORT_NONE, 1},
                      LISTCOLUMN{LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0}};
    return it->second.data();
}

CXSurface* MakePanel(int nWidth, int nHeight, int nCaptionItem)
{
    auto* pPanel = new CXSurface;
    if (!pPanel->Create(nWidth, nHeight, false, false))
        return pPanel;
    pPanel->FillGradient(0, 0, nWidth, nHeight, kPanelTop, kPanelBottom);
    pPanel->FillGradient(0, 0, nWidth, kDragStripHeight, kStripTop, kStripBottom);
    plat::DeviceContext* pDC = pPanel->m_pSurface->getDC();
    plat::Pen edge(plat::PS_SOLID, 1, kEdge);
    pDC->selectPen(&edge);
    pDC->selectBrush(plat::Brush::hollow());
    pDC->rectangle(0, 0, nWidth, nHeight);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hLargeBoldFont);
    pDC->setTextColor(kCaption);
    const char* pszCaption = GetTableText(113, nCaptionItem);
    pDC->textOut(10, 4, pszCaption ? pszCaption : "");
    pPanel->m_pSurface->releaseDC(pDC);
    return pPanel;
}

void DrawLabels(CXSurface* pPanel, int nDescription) { DrawSurfaceText(g_hMediumFont, pPanel, nDescription, kLabelColour); }

void AddAnswerButtons(CXClient& popup)
{
    CXSurface* pFace = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnYesNo.bmp") : nullptr;
    const int nWidth = popup.Width(), nHeight = popup.Height();
    if (auto* pOk = static_cast<CXButton*>(
            popup.AddControlXYWH(XCONTROL_BUTTON, nWidth - 100, nHeight - 32, 44, 26, kConfirmID, nullptr)))
        pOk->SetTextID(pFace, 0);
    if (auto* pCancel = static_cast<CXButton*>(
            popup.AddControlXYWH(XCONTROL_BUTTON, nWidth - 50, nHeight - 32, 44, 26, kCancelID, nullptr)))
        pCancel->SetTextID(pFace, 26);
}

CXComboBox* AddDropDown(CXClient& popup, uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom)
{
    auto* pBox = static_cast<CXComboBox*>(popup.AddControl(XCONTROL_COMBOBOX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
    if (!pBox)
        return nullptr;
    pBox->SetUp(16, 4, g_hSmallFont, 3, false, nullptr, true, nullptr, false, 2, false, false, true);
    pBox->SetUpColumns(nLeft, nTop, nRight, nBottom, TextColumn(nRight - nLeft), false, false, 16, false);
    pBox->SetAutoRedraw(true);
    return pBox;
}

void AddTextRow(CXComboBox* pBox, const char* pszText, uint32_t dwValue)
{
    if (!pBox)
        return;
    const int nRow = pBox->AddString(plat::RGB(255, 255, 255), "%s", pszText ? pszText : "");
    pBox->SetItemData(nRow, dwValue);
}

void AddRow(CXComboBox* pBox, int nTable, int nItem, uint32_t dwValue) { AddTextRow(pBox, GetTableText(nTable, nItem), dwValue); }

bool SelectValue(CXComboBox* pBox, uint32_t dwValue)
{
    const int nRow = pBox ? pBox->FindItemData(dwValue) : -1;
    if (nRow < 0)
        return false;
    pBox->SetCurSel(nRow);
    return true;
}

uint32_t SelectedValue(const CXComboBox* pBox, uint32_t dwFallback)
{
    const int nRow = pBox ? pBox->GetSelection() : -1;
    return nRow >= 0 ? static_cast<uint32_t>(pBox->GetItemData(nRow)) : dwFallback;
}

}  // namespace popup_look
