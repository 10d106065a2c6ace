#include "popups/CPopupMatchRules.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

namespace {

constexpr int kCaptionItem = 38;
constexpr int kRuleTextSet = 213;
constexpr int kCaptionSet = 217;
constexpr int kRowHeight = 16;
// The chosen row's cells.
constexpr COLORREF kCellFill = 0x70564C, kCellLight = 0xE7BFB3;
constexpr int kListLeft = 8, kListTop = 50, kListRight = 148, kListBottom = 210;
constexpr int kMarkColumn = 1;
constexpr COLORREF kRowText = plat::RGB(255, 255, 255);

// The numbers' column stops short of the list's edge: a right-aligned cell
// is drawn past its column by the list's indent, under the scroll bar.
const LISTCOLUMN kColumns[] = {
    {0, 110, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {110, 134, 4, 0, 2, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CXAnimation* Mark(bool bYes)
{
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetSharedBitmaps().GetSprite(bYes ? "icnTick.bmp" : "icnCross.bmp") : nullptr;
}

}  // namespace

CPopupMatchRules::CPopupMatchRules()
{
    m_wScreenID = SCREEN_MATCH_RULES_POPUP;
    SetPopupRect(394, 200, 172, 250);
}

void CPopupMatchRules::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const CAPTIONTAB tabs[] = {{2, 0, 0, kListLeft, kListTop - 17, kListRight - kListLeft}, {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionSet, tabs);
}

CXListBox* CPopupMatchRules::GetList() const { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

bool CPopupMatchRules::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    AddConfirmButton(kOkButtonID, CancelX());
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 30, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, kRowHeight, false, 0);
    AddCloseButton(false, true);
    auto* pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, kListLeft, kListTop, kListRight, kListBottom, ID_LIST, nullptr));
    if (pList) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     pBar, true, nullptr, false, 1, false, false, false);
        pList->m_crCellFill = kCellFill;
        pList->m_crCellLight = kCellLight;
        pList->SetUpColumns(kListLeft, kListTop, kListRight, kListBottom, kColumns, false, false,
                            kListBottom - kListTop, false);
    }
    Fill();
    ShowAllControls(true);
    return true;
}

void CPopupMatchRules::Fill()
{
    CXListBox* pList = GetList();
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    // A match always lasts ninety minutes; extra time is a rule of its own.
    const int anNumbers[kNumberRows] = {kMatchLength, m_Rules.bySubstitutesNamed, m_Rules.bySubstitutions,
                                        m_Rules.byByte3};
    for (int nRow = 0; nRow < kNumberRows; ++nRow)
        pList->AddString(kRowText, "%s\t%d", GetTableTextOrEmpty(kRuleTextSet, nRow), anNumbers[nRow]);
    for (int k = 0; k < kRuleRows; ++k) {
        const int nRow = pList->AddString(kRowText, "%s\t", GetTableTextOrEmpty(kRuleTextSet, kNumberRows + k));
        if (CXAnimation* pMark = Mark((m_Rules.byRules >> k & 1) != 0); pMark && nRow >= 0)
            pList->AddAlignedColumnGraphic(nRow, pMark, 6, kMarkColumn, true);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

bool CPopupMatchRules::IsRuleTicked(int nRuleRow) const
{
    const CXListBox* pList = GetList();
    const CXListBox::Row* pRow = pList ? pList->GetRow(kNumberRows + nRuleRow) : nullptr;
    if (!pRow)
        return false;
    for (const auto& graphic : pRow->Graphics)
        if (graphic.nColumn == kMarkColumn)
            return graphic.pGraphic == Mark(true);
    return false;
}

void CPopupMatchRules::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kOkButtonID && IsOnStack()) {
        m_dwResultID = kOkButtonID;
        Close();
    }
}
