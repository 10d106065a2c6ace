#include "popups/CPopupInsurance.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

namespace {

constexpr int kCaptionItem = 16;
constexpr int kLabels = 25;
constexpr int kCoverTable = 52;
constexpr int kCoverTextTable = 53;
constexpr int kRowHeight = 16;
constexpr int kTickColumn = 3;

const LISTCOLUMN kColumns[] = {
    {0, 38, 0, 0, 6, 0, 583, LISTSORT_NONE, 0},
    {38, 180, 4, 0, 0, 0, 584, LISTSORT_NONE, 0},
    {180, 240, 4, 0, 2, 0, 585, LISTSORT_NONE, 0},
    {240, 260, 0, 0, 6, 0, CPopupInsurance::ID_TICK_COLUMN, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CXAnimation* Mark(bool bTaken)
{
    CGame* pGame = Game();
    return pGame ? pGame->GetSharedBitmaps().GetSprite(bTaken ? "icnTick.bmp" : "icnCross.bmp") : nullptr;
}

const char* TableItem(int nTable, int nItem)
{
    const char* pszText = GetTableText(nTable, nItem);
    return pszText ? pszText : "";
}

}  // namespace

CPopupInsurance::CPopupInsurance()
{
    m_wScreenID = SCREEN_INSURANCE_POPUP;
    SetPopupRect(334, 225, 292, 200);
}

void CPopupInsurance::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
}

CXListBox* CPopupInsurance::List() { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

bool CPopupInsurance::OnInitDialog()
{
    ConstructScreen();
    popup_look::DrawClubColourBoxes(*this);
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, 70, Width(), 134, ID_LIST, nullptr));
    if (pList) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, 0, true, nullptr, true, nullptr, true, 0, false, true, false);
        pList->SetUpColumns(0, 70, Width(), 134, kColumns, false, false, 134 - 70, false);
        pList->SetAutoRedraw(false);
    }
    if (auto* pTotal = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 180, 134, 59, 18, ID_TOTAL, nullptr))) {
        pTotal->m_hFont = g_hSmallFont;
        pTotal->m_bFrame = 0;
        pTotal->m_bClearBackground = 1;
        pTotal->m_byAlignment = 2;
    }
    m_dwCovers = m_pPlayer ? m_pPlayer->m_byContractClauses & 0x0F : 0;
    m_nTotal = 0;
    for (int n = 0; pList && m_pPlayer && n < kCovers; ++n) {
        const int32_t nPremium = m_pPlayer->GetInsurancePremium(n);
        const int nRow = pList->AddString(0xFFFFFF, "%s\t%s\t%s\t", TableItem(kCoverTable, n),
                                          TableItem(kCoverTextTable, n), FormatMoney(nPremium, 0, 1, MONEY_AS_STORED, 0, 1));
        pList->SetItemData(nRow, static_cast<uint32_t>(n));
        SetRowMark(nRow);
        if (m_dwCovers & (1u << n))
            m_nTotal += nPremium;
    }
    if (pList) {
        pList->SetSelection(0);
        SetFocus(pList);
        pList->SetAutoRedraw(true);
    }
    ShowAllControls(true);
    ShowTotal();
    return true;
}

void CPopupInsurance::SetRowMark(int nRow)
{
    CXListBox* pList = List();
    if (!pList)
        return;
    pList->DeleteColumnGraphics(nRow, kTickColumn);
    if (CXAnimation* pMark = Mark((m_dwCovers >> nRow & 1) != 0))
        pList->AddAlignedColumnGraphic(nRow, pMark, 6, kTickColumn, true);
}

void CPopupInsurance::ShowTotal()
{
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_TOTAL)), m_nTotal, MONEY_AS_STORED);
}

void CPopupInsurance::ToggleCover(int nCover)
{
    if (!m_pPlayer || nCover < 0 || nCover >= kCovers)
        return;
    m_dwCovers ^= 1u << nCover;
    const int32_t nPremium = m_pPlayer->GetInsurancePremium(nCover);
    m_nTotal += (m_dwCovers >> nCover & 1) ? nPremium : -nPremium;
    SetRowMark(nCover);
    if (CXListBox* pList = List())
        pList->RedrawRow(nCover, true);
    ShowTotal();
}

void CPopupInsurance::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == ID_LIST) {
        CXListBox* pList = List();
        if (pList && pList->m_dwClickedHeaderID == ID_TICK_COLUMN)
            ToggleCover(pList->GetSelection());
    } else if (dwID == kOkButtonID && IsOnStack()) {
        if (m_pPlayer) {
            m_pPlayer->m_byContractClauses =
                static_cast<uint8_t>((m_pPlayer->m_byContractClauses & 0xF0) | (m_dwCovers & 0x0F));
            if (CGame* pGame = Game(); pGame && pGame->GetDatabase())
                pGame->GetDatabase()->SaveProjectedFinance();
        }
        m_dwResultID = kOkButtonID;
        Close();
    } else if (dwID == kCancelButtonID) {
        m_dwResultID = kCancelButtonID;
        Close();
    }
}
