#include "xframework/CXEdit.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXClient.h"
#include "xframework/DrawingFunctions.h"

#include "platform/Messages.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

EditCaretLookup g_pfnEditCaret = nullptr;
CurrencyConverter g_pfnConvertCurrency = nullptr;

namespace {
constexpr COLORREF kFrameColour = 0x0000FFFF;
constexpr COLORREF kChosenTextColour = 0x00000000;
constexpr int kSpinWidth = 14;
constexpr int kSpinHeight = 7;
constexpr uint32_t kSpinFirstDelay = 250;
constexpr uint32_t kSpinDelayStep = 20;
// The Currency option whose money has one more digit than the others.
constexpr int kLongMoneyCurrency = 2;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

CXEdit::CXEdit()
{
    m_dwType = XCONTROL_EDIT;
    SetMaxLength(0);
}

CXEdit::~CXEdit()
{
    // The spin buttons belong to the owner and may outlive the edit.
    for (CXButton* pButton : {SpinButton(m_pUpButton), SpinButton(m_pDownButton)})
        if (pButton)
            pButton->m_pLinkedEdit = nullptr;
}

CXButton* CXEdit::SpinButton(CXButton* pButton) const
{
    return pButton && m_pOwner && m_pOwner->ControlType(pButton) == XCONTROL_BUTTON ? pButton : nullptr;
}

void CXEdit::SetMaxLength(int n)
{
    n = std::max(n, 0);
    if (m_bMoney && GetNumberSeparatorOption() == kLongMoneyCurrency)
        ++n;
    m_nCapacity = n + EDIT_TEXT_SLACK;
    m_pText = std::make_unique<char[]>(static_cast<size_t>(m_nCapacity));
    m_nMaxLength = n;
    m_nCaret = 0;
}

void CXEdit::SetText(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(m_pText.get(), static_cast<size_t>(m_nCapacity), pszFormat, args);
    va_end(args);
    m_nCaret = static_cast<uint32_t>(std::strlen(m_pText.get()));
    m_bAllChosen = 0;
    UpdateCaretX();
    if (m_bNotify && m_pOwner)
        m_pOwner->OnEditChange(this);
    Draw();
}

void CXEdit::ChooseAll()
{
    m_bAllChosen = m_pText[0] != '\0' ? 1 : 0;
    m_nCaret = static_cast<uint32_t>(std::strlen(m_pText.get()));
    UpdateCaretX();
    Draw();
}

bool CXEdit::DropChosenText()
{
    if (!m_bAllChosen)
        return false;
    m_bAllChosen = 0;
    m_pText[0] = '\0';
    m_nCaret = 0;
    return true;
}

void CXEdit::SetNumericRange(bool bRangeCheck, int nMinimum, int nMaximum)
{
    m_bRangeCheck = bRangeCheck ? 1 : 0;
    m_nMinimum = nMinimum;
    m_nMaximum = nMaximum;
    if (m_bMoney && GetNumberSeparatorOption() == kLongMoneyCurrency && g_pfnConvertCurrency)
        m_nMaximum = static_cast<int>(g_pfnConvertCurrency(nMaximum));
}

void CXEdit::AddSpinButtons(uint32_t dwUpID, uint32_t dwDownID, int nStep)
{
    m_dwUpID = dwUpID;
    m_dwDownID = dwDownID;
    m_nStep = nStep;
    if (!m_pOwner)
        return;
    CXSurface* pFace = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnNP2.bmp") : nullptr;
    const struct {
        uint32_t dwID;
        int nY;
        int nSourceY;
        CXButton** ppButton;
    } spins[] = {{dwUpID, m_nTop + 2, 88, &m_pUpButton}, {dwDownID, m_nTop + 9, 80, &m_pDownButton}};
    for (const auto& spin : spins) {
        auto* pButton = static_cast<CXButton*>(
            m_pOwner->AddControlXYWH(XCONTROL_BUTTON, m_nRight + 1, spin.nY, kSpinWidth, kSpinHeight, spin.dwID, nullptr));
        *spin.ppButton = pButton;
        if (!pButton)
            continue;
        pButton->m_dwRepeatDelay = kSpinFirstDelay;
        pButton->m_dwRepeatStep = kSpinDelayStep;
        pButton->m_pLinkedEdit = this;
        pButton->SetBitmap(pFace, 0, spin.nSourceY, false, false);
    }
}

int CXEdit::ReadNumber() const
{
    char szNumber[EDIT_NUMBER_SIZE];
    std::snprintf(szNumber, sizeof szNumber, "%s", m_pText.get());
    if (m_bMoney)
        NormaliseNumberText(szNumber);
    else
        RemoveChar(szNumber, ',');
    return static_cast<int>(std::strtol(szNumber, nullptr, 10));
}

void CXEdit::SetNumber(int nValue)
{
    SetText("%d", nValue);
    RebuildSeparators();
    m_nCaret = static_cast<uint32_t>(std::strlen(m_pText.get()));
    UpdateCaretX();
    Draw();
}

void CXEdit::OnClicked(uint32_t dwButtonID)
{
    int nValue = ReadNumber();
    if (dwButtonID == m_dwDownID && m_dwDownID != 0) {
        nValue -= m_nStep;
        if (m_bRangeCheck)
            nValue = std::max(nValue, m_nMinimum);
    } else if (dwButtonID == m_dwUpID && m_dwUpID != 0) {
        nValue += m_nStep;
        if (m_bRangeCheck)
            nValue = std::min(nValue, m_nMaximum);
    } else {
        DebugLog(0, "Unknown button ID in CXEdit::OnClicked");
        return;
    }
    SetNumber(nValue);
}

void CXEdit::CheckRange()
{
    if (!IsNumeric() || !m_bRangeCheck)
        return;
    const int nValue = ReadNumber();
    if (nValue > m_nMaximum)
        SetNumber(m_nMaximum);
    else if (nValue < m_nMinimum)
        SetNumber(m_nMinimum);
}

char CXEdit::Separator() const
{
    char cThousands = ',', cDecimal = '.';
    if (m_bMoney)
        GetNumberSeparators(&cThousands, &cDecimal);
    return cThousands;
}

int CXEdit::RebuildSeparators()
{
    if (!m_bGrouped)
        return 0;
    const char cSeparator = Separator();
    char* pszText = m_pText.get();
    const int nRemoved = RemoveChar(pszText, cSeparator);
    const int nLength = static_cast<int>(std::strlen(pszText));
    // Built backwards: a separator after every third digit while a digit is
    // still to come on its left.
    std::string reversed;
    int nDigits = 0, nInserted = 0;
    for (int i = nLength - 1; i >= 0; --i) {
        reversed.push_back(pszText[i]);
        if (!IsDigit(pszText[i]) || ++nDigits % 3 != 0)
            continue;
        if (std::any_of(pszText, pszText + i, IsDigit)) {
            reversed.push_back(cSeparator);
            ++nInserted;
        }
    }
    const std::string rebuilt(reversed.rbegin(), reversed.rend());
    std::snprintf(pszText, static_cast<size_t>(m_nCapacity), "%s", rebuilt.c_str());
    return nInserted - nRemoved;
}

void CXEdit::Changed()
{
    if (m_bNotify && m_pOwner)
        m_pOwner->OnEditChange(this);
    Draw();
}

void CXEdit::OnChar(uint32_t key, uint32_t repeat, uint32_t dwFlags)
{
    CXControl::OnChar(key, repeat, dwFlags);
    if (m_bReadOnly)
        return;
    char* pszText = m_pText.get();
    int nLength = static_cast<int>(std::strlen(pszText));
    switch (key) {
    case plat::VK_BACK:
        if (DropChosenText()) {
            Changed();
        } else if (m_nCaret > 0) {
            std::memmove(pszText + m_nCaret - 1, pszText + m_nCaret, static_cast<size_t>(nLength) - m_nCaret + 1);
            int nMove = -1;
            if (IsNumeric())
                nMove += RebuildSeparators();
            m_nCaret = static_cast<uint32_t>(std::clamp<int>(static_cast<int>(m_nCaret) + nMove, 0,
                                                             static_cast<int>(std::strlen(pszText))));
            Changed();
        }
        UpdateCaretX();
        return;
    case plat::VK_TAB:
        UpdateCaretX();
        return;
    case plat::VK_RETURN:
        CheckRange();
        if (m_pOwner)
            m_pOwner->OnClicked(m_dwID);
        return;
    case plat::VK_ESCAPE:
        return;
    default:
        break;
    }
    const bool bLetter = (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z');
    const bool bDigit = key >= '0' && key <= '9';
    const bool bAllowed = bLetter ? m_bAllowLetters : bDigit ? m_bAllowDigits : m_bAllowOthers;
    // Control codes and codes beyond one byte never enter the text.
    if (!bAllowed || key < 32 || key > 255) {
        UpdateCaretX();
        return;
    }
    if (DropChosenText())
        nLength = 0;
    if (nLength >= m_nMaxLength)
        return;
    const std::string previous(pszText);
    std::memmove(pszText + m_nCaret + 1, pszText + m_nCaret, static_cast<size_t>(nLength) - m_nCaret + 1);
    pszText[m_nCaret] = static_cast<char>(key);
    if (TextWidth(pszText, nLength + 1) < Width()) {
        int nMove = 1;
        if (IsNumeric())
            nMove += RebuildSeparators();
        m_nCaret = static_cast<uint32_t>(std::clamp<int>(static_cast<int>(m_nCaret) + nMove, 0,
                                                         static_cast<int>(std::strlen(pszText))));
    } else {
        std::snprintf(pszText, static_cast<size_t>(m_nCapacity), "%s", previous.c_str());
    }
    UpdateCaretX();
    Changed();
}

void CXEdit::OnKeyDown(uint32_t key, uint32_t /*repeat*/, uint32_t)
{
    if (m_bReadOnly)
        return;
    char* pszText = m_pText.get();
    const uint32_t nLength = static_cast<uint32_t>(std::strlen(pszText));
    if (key == plat::VK_DELETE && DropChosenText()) {
        Changed();
        UpdateCaretX();
        return;
    }
    if (key == plat::VK_END || key == plat::VK_HOME || key == plat::VK_LEFT || key == plat::VK_RIGHT)
        m_bAllChosen = 0;
    switch (key) {
    case plat::VK_END:
        m_nCaret = nLength;
        break;
    case plat::VK_HOME:
        m_nCaret = 0;
        break;
    case plat::VK_LEFT:
        if (m_nCaret > 0)
            --m_nCaret;
        break;
    case plat::VK_RIGHT:
        if (m_nCaret < nLength)
            ++m_nCaret;
        break;
    case plat::VK_DELETE:
        if (m_nCaret < nLength) {
            std::memmove(pszText + m_nCaret, pszText + m_nCaret + 1, nLength - m_nCaret);
            if (IsNumeric())
                RebuildSeparators();
            m_nCaret = std::min<uint32_t>(m_nCaret, static_cast<uint32_t>(std::strlen(pszText)));
            Changed();
        }
        break;
    default:
        break;
    }
    UpdateCaretX();
}

void CXEdit::OnSetFocus()
{
    m_nCaret = static_cast<uint32_t>(std::strlen(m_pText.get()));
    UpdateCaretX();
    m_bEditing = 1;
    Draw();
}

void CXEdit::OnKillFocus()
{
    CheckRange();
    m_bEditing = 0;
    Draw();
    if (m_pOwner)
        m_pOwner->OnEditEnd(m_dwID);
}

int CXEdit::TextWidth(const char* pszText, int n) const
{
    if (n <= 0 || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return 0;
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    plat::Font* pPrevious = m_hFont ? pDC->selectFont(m_hFont) : nullptr;
    plat::Size size{0, 0};
    pDC->getTextExtentPoint(pszText, n, &size);
    if (m_hFont)
        pDC->selectFont(pPrevious);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    return size.cx;
}

void CXEdit::UpdateCaretX()
{
    const char* pszText = m_pText.get();
    const int nTextWidth = TextWidth(pszText, static_cast<int>(std::strlen(pszText)));
    int x = m_nLeft + 2;
    if (m_nAlignment == 2)
        x = m_nRight - nTextWidth - 2;
    else if (m_nAlignment == 6)
        x = m_nLeft + Width() / 2 - nTextWidth / 2;
    m_nCaretX = x + TextWidth(pszText, static_cast<int>(m_nCaret)) + (m_pOwner ? m_pOwner->m_nLeft : 0);
}

void CXEdit::Draw()
{
    if (!m_bVisible || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    if (m_pOwner)
        m_pOwner->RestoreBackground(m_nLeft, m_nTop, Width(), Height());
    const char* pszText = m_pText.get();
    const int nLength = static_cast<int>(std::strlen(pszText));
    const int nTextWidth = TextWidth(pszText, nLength);
    int x = m_nLeft + 4;
    if (m_nAlignment == 2)
        x = m_nRight - nTextWidth - 2;
    else if (m_nAlignment == 6)
        x = m_nLeft + Width() / 2 - nTextWidth / 2;
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    plat::Font* pPrevious = m_hFont ? pDC->selectFont(m_hFont) : nullptr;
    if (m_bAllChosen && nLength > 0) {
        // A chosen text stands out dark on the focus colour.
        DrawFilledRect(pDC, x - 1, m_nTop + 2, x + nTextWidth + 1, m_nBottom - 1, m_crFocus);
        pDC->setTextColor(kChosenTextColour);
    } else {
        pDC->setTextColor(m_bEditing ? m_crFocus : m_crText);
    }
    pDC->textOut(x, m_nTop + 2, pszText, nLength);
    if (m_hFont)
        pDC->selectFont(pPrevious);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
}

void CXEdit::Paint()
{
    CXAnimation* pCaret = g_pfnEditCaret ? g_pfnEditCaret() : nullptr;
    CXSurface* pScreen = GetScreenSurface();
    if (m_bEditing && !m_bReadOnly && pCaret && pScreen)
        pCaret->Draw(pScreen, m_nCaretX + 2, (m_pOwner ? m_pOwner->m_nTop : 0) + m_nTop + 2, true);
    CXControl::Paint();
}

void CXEdit::Show(bool bVisible, bool bRedraw)
{
    if (bVisible) {
        UpdateCaretX();
        int nWidth = Width();
        if (CXButton *pUp = SpinButton(m_pUpButton), *pDown = SpinButton(m_pDownButton); pUp && pDown)
            nWidth += pUp->m_nRight - pDown->m_nLeft + 1;
        const int nHeight = Height();
        CXSurface* pBackground = m_pOwner ? m_pOwner->m_pBackground : nullptr;
        if (pBackground && pBackground->m_pSurface) {
            pBackground->ShadeRect(m_nLeft + 1, m_nTop + 1, nWidth - 1, nHeight - 1, 2);
            plat::DeviceContext* pDC = pBackground->m_pSurface->getDC();
            const int nRight = m_nLeft + nWidth, nBottom = m_nTop + nHeight;
            DrawLine(pDC, m_nLeft, m_nTop, nRight, m_nTop, kFrameColour, 1, 0);
            DrawLine(pDC, m_nLeft, nBottom, nRight + 1, nBottom, kFrameColour, 1, 0);
            DrawLine(pDC, m_nLeft, m_nTop, m_nLeft, nBottom, kFrameColour, 1, 0);
            DrawLine(pDC, nRight, m_nTop, nRight, nBottom, kFrameColour, 1, 0);
            pBackground->m_pSurface->releaseDC(pDC);
            m_pOwner->RestoreBackground(m_nLeft, m_nTop, nWidth + 1, nHeight + 1);
        }
    }
    for (CXButton* pButton : {SpinButton(m_pUpButton), SpinButton(m_pDownButton)})
        if (pButton)
            pButton->Show(bVisible, true);
    CXControl::Show(bVisible, bRedraw);
}

void CXEdit::Move(int x, int y, int nWidth, int nHeight, bool bRedraw)
{
    CXControl::Move(x, y, nWidth, nHeight, bRedraw);
    if (bRedraw)
        Draw();
    if (CXButton* pUp = SpinButton(m_pUpButton))
        pUp->Move(m_nRight + 1, m_nTop + 2, kSpinWidth, kSpinHeight, bRedraw);
    if (CXButton* pDown = SpinButton(m_pDownButton))
        pDown->Move(m_nRight + 1, m_nTop + 9, kSpinWidth, kSpinHeight, bRedraw);
}

void CXEdit::OnMouseMove(uint32_t flags, int x, int y)
{
    if (!m_bReadOnly && g_pfnSetMousePointer)
        g_pfnSetMousePointer(2, 0, 0);
    CXControl::OnMouseMove(flags, x, y);
}

void CXEdit::OnMouseLeave()
{
    if (!m_bReadOnly && g_pfnSetMousePointer)
        g_pfnSetMousePointer(0, 0, 0);
    CXControl::OnMouseLeave();
}
