#include "editor/CProgressDlg.h"

#include "editor/EditorLook.h"
#include "editor/EditorTexts.h"

#include "shell/CGame.h"
#include "shell/WinMain.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kWidth = 484;
constexpr int kHeight = 118;
// The two bars and the step's text, in the box's own coordinates.
constexpr int kBarLeft = 52;
constexpr int kBarRight = kWidth - 52;
constexpr int kOverallTop = 36;
constexpr int kNamesTop = 54;
constexpr int kBarHeight = 14;
constexpr int kTextTop = 78;
constexpr COLORREF kBarFill = plat::RGB(96, 176, 112);
constexpr std::chrono::milliseconds kShowInterval{40};

void DrawBar(plat::DeviceContext* pDC, int nTop, int nPosition, int nMinimum, int nMaximum)
{
    DrawFilledRect(pDC, kBarLeft, nTop, kBarRight, nTop + kBarHeight, kEditorBackground);
    const int nSpan = std::max(1, nMaximum - nMinimum);
    const int nDone = std::clamp(nPosition - nMinimum, 0, nSpan);
    const int nFill = (kBarRight - kBarLeft - 2) * nDone / nSpan;
    if (nFill > 0)
        DrawFilledRect(pDC, kBarLeft + 1, nTop + 1, kBarLeft + 1 + nFill, nTop + kBarHeight - 1, kBarFill);
    DrawRectOutline(pDC, kBarLeft, nTop, kBarRight, nTop + kBarHeight, kEditorFrame, 1);
}

}  // namespace

CProgressDlg::CProgressDlg()
{
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    // Nothing to drag it by: it stays put while the work runs.
    m_rcTitle = {0, 0, 0, 0};
}

bool CProgressDlg::Begin(int nMinimum, int nMaximum, int nStep, int nTitle)
{
    m_nMinimum = 0;
    m_nMaximum = 100;
    m_nStep = 10;
    m_nPosition = 0;
    m_nNameMaximum = 100;
    m_nNameStep = 10;
    m_nNamePosition = 0;
    m_StepText.clear();
    m_nTitle = nTitle;
    SetRange(nMinimum, nMaximum, nStep);
    if (IsOnStack())
        return true;
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    if (!Open())
        return false;
    ShowNow(true);
    return true;
}

void CProgressDlg::End()
{
    if (IsOnStack())
        Close();
}

bool CProgressDlg::OnInitDialog()
{
    delete m_pBackground;
    m_pBackground = MakeEditorBackground(*this, kEditorPanel);
    CXPopup::OnInitDialog();
    Draw();
    return true;
}

void CProgressDlg::OnKeyDown(uint32_t, uint32_t, uint32_t)
{
    // The work cannot be stopped half way: no key closes the box.
}

void CProgressDlg::SetRange(int nMinimum, int nMaximum, int nStep)
{
    m_nMinimum = nMinimum;
    m_nMaximum = std::max(nMaximum, nMinimum + 1);
    m_nStep = std::max(nStep, 1);
    m_nPosition = nMinimum;
    Draw();
}

void CProgressDlg::SetTitle(int nTitle)
{
    m_nTitle = nTitle;
    Draw();
}

std::string CProgressDlg::GetTitleLine() const
{
    const char* pszTitle = m_nTitle ? EditorText(m_nTitle) : nullptr;
    char szLine[256];
    std::snprintf(szLine, sizeof szLine, "%s (%d %%)", pszTitle ? pszTitle : "", 100 / m_nMaximum * m_nPosition);
    return szLine;
}

void CProgressDlg::Step(int nText)
{
    m_nPosition = std::min(m_nPosition + m_nStep, m_nMaximum);
    if (nText != 0) {
        const char* pszText = EditorText(nText);
        m_StepText = pszText ? pszText : "";
    }
    Draw();
    ShowNow(true);
}

void CProgressDlg::StepIt() { Step(0); }

void CProgressDlg::SetNameRange(int nMaximum, int nStep)
{
    m_nNameMaximum = std::max(nMaximum, 1);
    m_nNameStep = std::max(nStep, 1);
    m_nNamePosition = 0;
    Draw();
    ShowNow(false);
}

void CProgressDlg::StepNames()
{
    m_nNamePosition = std::min(m_nNamePosition + m_nNameStep, m_nNameMaximum);
    // Drawing is left to the next showing: a pass steps thousands of times.
    ShowNow(false);
}

void CProgressDlg::Draw()
{
    if (!m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    DrawFilledRect(pDC, 0, 0, Width(), Height(), kEditorPanel);
    DrawRectOutline(pDC, 0, 0, Width(), Height(), kEditorFrame, 1);
    DrawEditorGroup(pDC, 12, 16, Width() - 12, Height() - 10, GetTitleLine().c_str(), kEditorPanel);
    DrawBar(pDC, kOverallTop, m_nPosition, m_nMinimum, m_nMaximum);
    DrawBar(pDC, kNamesTop, m_nNamePosition, 0, m_nNameMaximum);
    pDC->selectFont(g_hSmallFont);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->setTextColor(kEditorText);
    plat::Rect rc{kBarLeft, kTextTop, kBarRight, kTextTop + 18};
    pDC->drawText(m_StepText.c_str(), -1, &rc, plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
}

void CProgressDlg::ShowNow(bool bAlways)
{
    if (!IsOnStack() || !g_pGame)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!bAlways && now - m_LastShown < kShowInterval)
        return;
    m_LastShown = now;
    if (!bAlways)
        Draw();
    // The screen below and this box only: a file picker that is closing
    // while the save starts is not shown again.
    if (g_pCurrentClient) {
        g_pCurrentClient->BlitToScreen(nullptr);
        g_pCurrentClient->OnPaint();
    }
    BlitToScreen(nullptr);
    g_pGame->Present();
}
