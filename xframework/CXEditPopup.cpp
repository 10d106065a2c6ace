#include "xframework/CXEditPopup.h"

#include "xframework/DrawingFunctions.h"

#include <cstdio>
#include <cstdlib>

plat::Font* g_hEditPopupFont = nullptr;
EditMoneyReader g_pfnEditMoneyValue = nullptr;

CXEditPopup::CXEditPopup() { m_wScreenID = EDIT_POPUP_SCREEN_ID; }

void CXEditPopup::SetInitialText(const char* pszText)
{
    std::snprintf(m_szText, sizeof m_szText, "%s", pszText ? pszText : "");
}

void CXEditPopup::PlaceOverCell(const CXControl& control, int nCellLeft, int nCellTop, int nWidth, int nHeight)
{
    const int nOwnerLeft = control.m_pOwner ? control.m_pOwner->m_nLeft : 0;
    const int nOwnerTop = control.m_pOwner ? control.m_pOwner->m_nTop : 0;
    SetClientRect(nOwnerLeft + control.m_nLeft + nCellLeft, nOwnerTop + control.m_nTop + nCellTop, nWidth, nHeight);
}

bool CXEditPopup::OnInitDialog()
{
    m_wScreenID = EDIT_POPUP_SCREEN_ID;
    ConstructScreen();
    if (!CXClient::OnInitDialog())
        return false;
    m_pEdit = static_cast<CXEdit*>(
        AddControlXYWH(XCONTROL_EDIT, 0, 0, Width() - 2, Height() - 1, EDIT_POPUP_EDIT_ID, nullptr));
    if (!m_pEdit)
        return false;
    m_pEdit->m_hFont = g_hEditPopupFont;
    m_pEdit->m_nAlignment = 0;
    m_pEdit->SetMaxLength(m_nMaxLength != 0 ? m_nMaxLength : EDIT_POPUP_DEFAULT_LENGTH);
    m_pEdit->m_bAllowLetters = 0;
    m_pEdit->m_bAllowDigits = 1;
    m_pEdit->m_bAllowOthers = 1;
    if (m_nMinimum != 0 || m_nMaximum != 0)
        m_pEdit->SetNumericRange(true, m_nMinimum, m_nMaximum);
    // The cell's text is data, never a format.
    m_pEdit->SetText("%s", m_szText);
    m_pEdit->m_nAlignment = m_nAlignment;
    m_pEdit->m_bMoney = m_bMoney;
    m_pEdit->Show(true, true);
    SetFocus(m_pEdit);
    return true;
}

void CXEditPopup::Accept()
{
    if (!IsOnStack() || !m_pEdit)
        return;
    SetInitialText(m_pEdit->Text());
    RemoveChar(m_szText, ',');
    if (m_bMoney) {
        if (g_pfnEditMoneyValue) {
            m_dValue = g_pfnEditMoneyValue(m_pEdit, m_byMoneyKind);
        } else {
            char szNumber[EDIT_POPUP_TEXT_SIZE];
            std::snprintf(szNumber, sizeof szNumber, "%s", m_pEdit->Text());
            NormaliseNumberText(szNumber);
            m_dValue = std::strtod(szNumber, nullptr);
        }
    }
    if (m_pOpener)
        m_pOpener->OnListNotify(EDIT_POPUP_SCREEN_ID);
    m_pEdit = nullptr;
    Close();
}

void CXEditPopup::OnClicked(uint32_t dwID)
{
    CXPopup::OnClicked(dwID);
    Accept();
}

void CXEditPopup::OnLButtonDown(uint32_t flags, int x, int y)
{
    CXPopup::OnLButtonDown(flags, x, y);
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        Accept();
}
