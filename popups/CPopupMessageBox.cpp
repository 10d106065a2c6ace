#include "popups/CPopupMessageBox.h"

#include "shell/CGame.h"
#include "shell/CTableText.h"

#include "platform/DeviceContext.h"
#include "xframework/CXButton.h"

#include <algorithm>

namespace {

constexpr int kPanelX = 8;
constexpr int kPanelY = 40;
constexpr int kPanelHeight = 56;
constexpr int kTextMargin = 12;
constexpr int kChoiceWidth = 84;
constexpr int kChoiceHeight = 26;
constexpr int kChoiceStep = 90;
constexpr COLORREF kTextColour = plat::RGB(255, 253, 173);
constexpr COLORREF kShadowColour = 0x000000;

}  // namespace

CPopupMessageBox::CPopupMessageBox()
{
    m_wScreenID = kScreenID;
    SetPopupRect(kLeft, kTop, kWidth, kHeight);
    g_pMessageBoxPopup = this;
}

CPopupMessageBox::~CPopupMessageBox()
{
    if (g_pMessageBoxPopup == this)
        g_pMessageBoxPopup = nullptr;
}

bool CPopupMessageBox::Show(int nMode, int nTextItem)
{
    if (IsOnStack())
        return false;
    m_nMode = nMode;
    m_nTextItem = nTextItem;
    if (nTextItem != 0) {
        const char* pszText = GetTableText(kMessageSet, nTextItem);
        m_Text = pszText ? pszText : "";
    }
    if (!Open()) {
        m_ExtraButtons.clear();
        return false;
    }
    return true;
}

void CPopupMessageBox::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    if (!m_pBackground)
        return;
    m_pBackground->ShadeRect(kPanelX, kPanelY, Width() - 2 * kPanelX, kPanelHeight, 2);
    if (m_Text.empty())
        return;
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    if (!pDC)
        return;
    pDC->selectFont(g_hNormalFont);
    pDC->setBkMode(plat::TRANSPARENT);
    // The wrapped block is measured in the panel, then centred in the box.
    plat::Rect rcBlock{kTextMargin, kPanelY, Width() - kTextMargin, kPanelY + kPanelHeight};
    pDC->drawText(m_Text.c_str(), -1, &rcBlock, plat::DT_WORDBREAK | plat::DT_CENTER | plat::DT_CALCRECT |
                                                 plat::DT_NOPREFIX);
    const int nBlockW = rcBlock.right - rcBlock.left, nBlockH = rcBlock.bottom - rcBlock.top;
    const int nLeft = Width() / 2 - nBlockW / 2, nTop = Height() / 2 - nBlockH / 2;
    plat::Rect rc{nLeft, nTop, nLeft + nBlockW, nTop + nBlockH};
    const uint32_t dwFormat = plat::DT_WORDBREAK | plat::DT_CENTER | plat::DT_NOPREFIX | plat::DT_NOCLIP;
    pDC->setTextColor(kShadowColour);
    pDC->drawText(m_Text.c_str(), -1, &rc, dwFormat);
    rc = {nLeft - 1, nTop - 1, nLeft - 1 + nBlockW, nTop - 1 + nBlockH};
    pDC->setTextColor(kTextColour);
    pDC->drawText(m_Text.c_str(), -1, &rc, dwFormat);
    m_pBackground->m_pSurface->releaseDC(pDC);
}

bool CPopupMessageBox::OnInitDialog()
{
    m_wScreenID = kScreenID;
    ConstructScreen();
    CGamePopup::OnInitDialog();
    switch (m_nMode) {
    case MODE_OK:
        AddConfirmButton(kOkButtonID, CancelX());
        break;
    case MODE_OK_CANCEL:
        AddConfirmButton(kOkButtonID, ConfirmX());
        AddConfirmButton(kCancelButtonID, CancelX());
        break;
    case MODE_CANCEL_AND_CHOICES:
        AddConfirmButton(kCancelButtonID, CancelX());
        break;
    default:
        break;
    }
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    CXSurface* pFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnTog.bmp") : nullptr;
    for (size_t i = 0; i < m_ExtraButtons.size(); ++i) {
        const int x = kFirstButtonX + kChoiceStep * static_cast<int>(i);
        auto* pButton = static_cast<CXButton*>(
            AddControlXYWH(XCONTROL_BUTTON, x, Height() - 32, kChoiceWidth, kChoiceHeight, m_ExtraButtons[i], nullptr));
        if (!pButton)
            continue;
        pButton->m_hFont = g_hTinyFont;
        pButton->SetTextID(pFace, 0);
    }
    ShowAllControls(true);
    return true;
}

void CPopupMessageBox::OnDestroy()
{
    CGamePopup::OnDestroy();
    m_ExtraButtons.clear();
}

void CPopupMessageBox::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    const bool bExtra = std::find(m_ExtraButtons.begin(), m_ExtraButtons.end(), dwID) != m_ExtraButtons.end();
    if (dwID == kOkButtonID || dwID == kCancelButtonID || bExtra)
        Close();
}
