#include "popups/CPopupTeamMatchOrders.h"

#include "popups/MatchOrderRows.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"

#include "xframework/CXListBox.h"
#include "xframework/CXSlider.h"

namespace {

constexpr int kCaptionItem = 60;
constexpr int kLabels = 70;
constexpr int kOptionTextSet = 88;
constexpr int kRowHeight = 16;
constexpr int kTickColumn = 1;

// The tick column is wide enough for its header's word.
const LISTCOLUMN kOptionColumns[] = {
    {0, 150, 0, 0, 0, 0, CPopupTeamMatchOrders::ID_OPTION_NAME_COLUMN, LISTSORT_NONE, 0},
    {150, 186, 0, 0, 6, 0, CPopupTeamMatchOrders::ID_OPTION_TICK_COLUMN, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CXAnimation* Tick()
{
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetSharedBitmaps().GetSprite("icnTick.bmp") : nullptr;
}

}  // namespace

CPopupTeamMatchOrders::CPopupTeamMatchOrders()
{
    m_wScreenID = kScreenID;
    SetPopupRect(352, 102, 256, 446);
}

CXSlider* CPopupTeamMatchOrders::GetSlider(int nOrder) const
{
    return nOrder >= 0 && nOrder < SAVEGAME_TEAM_ORDERS
               ? dynamic_cast<CXSlider*>(FindControl(ID_FIRST_SLIDER + static_cast<uint32_t>(nOrder)))
               : nullptr;
}

CXListBox* CPopupTeamMatchOrders::OptionList() const { return dynamic_cast<CXListBox*>(FindControl(ID_OPTIONS)); }

void CPopupTeamMatchOrders::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        match_orders::DrawTrack(m_pBackground, "TrainBar.bmp", kSliderLeft, kFirstSliderTop + kSliderStep * i);
    popup_look::DrawLabels(m_pBackground, kLabels);
}

bool CPopupTeamMatchOrders::OnInitDialog()
{
    m_wScreenID = kScreenID;
    m_dwResultID = 0;
    m_pHuman = popup_look::CurrentHuman();
    ConstructScreen();
    // The swatch goes on the background that the frame has just made.
    popup_look::DrawClubColourBoxes(*this, m_pHuman ? m_pHuman->GetClub() : nullptr);
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    AddButton(ID_RESET);
    if (auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 8, 360, 194, 392, ID_OPTIONS, nullptr))) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, 3, true, nullptr, true, nullptr, true, 0, false, false, false);
        pList->SetUpColumns(8, 360, 194, 392, kOptionColumns, false, false, 392 - 360, false);
        pList->m_crCellFill = 0x70564C;
        pList->m_crCellLight = 0xE7BFB3;
    }
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        if (CXSlider* pSlider = match_orders::AddSlider(*this, ID_FIRST_SLIDER + static_cast<uint32_t>(i), kSliderLeft,
                                                        kFirstSliderTop + kSliderStep * i))
            pSlider->SetPos(m_pHuman ? m_pHuman->GetTeamOrderValue(i) : SAVEGAME_ORDER_STANDARD);
    for (int n = 0; n < SAVEGAME_TEAM_OPTIONS; ++n)
        m_abOptions[static_cast<size_t>(n)] = m_pHuman && m_pHuman->GetTeamOrderOption(n);
    ShowAllControls(true);
    AddCloseButton(false, true);
    FillOptionList();
    return true;
}

void CPopupTeamMatchOrders::FillOptionList()
{
    CXListBox* pList = OptionList();
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (int n = 0; n < SAVEGAME_TEAM_OPTIONS; ++n) {
        const int nRow = pList->AddString(0xFFFFFF, "%s\t", GetTableTextOrEmpty(kOptionTextSet, n));
        pList->SetItemData(nRow, static_cast<uint32_t>(n));
        ShowOptionTick(n);
    }
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

void CPopupTeamMatchOrders::ShowOptionTick(int nOption)
{
    CXListBox* pList = OptionList();
    if (!pList || nOption < 0 || nOption >= pList->GetCount())
        return;
    pList->DeleteColumnGraphics(nOption, kTickColumn);
    if (CXAnimation* pTick = Tick(); pTick && GetWorkingOption(nOption))
        pList->AddAlignedColumnGraphic(nOption, pTick, 6, kTickColumn, true);
    pList->RedrawRow(nOption, true);
}

void CPopupTeamMatchOrders::ToggleOption(int nOption)
{
    if (nOption < 0 || nOption >= SAVEGAME_TEAM_OPTIONS)
        return;
    m_abOptions[static_cast<size_t>(nOption)] = !m_abOptions[static_cast<size_t>(nOption)];
    ShowOptionTick(nOption);
}

void CPopupTeamMatchOrders::Reset()
{
    // Only the popup's copies: the record changes on OK alone.
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        if (CXSlider* pSlider = GetSlider(i))
            pSlider->SetPos(SAVEGAME_ORDER_STANDARD);
    for (int n = 0; n < SAVEGAME_TEAM_OPTIONS; ++n) {
        m_abOptions[static_cast<size_t>(n)] = false;
        ShowOptionTick(n);
    }
}

void CPopupTeamMatchOrders::Store()
{
    if (!m_pHuman)
        return;
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        if (const CXSlider* pSlider = GetSlider(i))
            m_pHuman->SetTeamOrderValue(i, pSlider->GetValue());
    for (int n = 0; n < SAVEGAME_TEAM_OPTIONS; ++n)
        m_pHuman->SetTeamOrderOption(n, m_abOptions[static_cast<size_t>(n)]);
}

void CPopupTeamMatchOrders::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == ID_OPTIONS) {
        const CXListBox* pList = OptionList();
        if (pList && pList->m_dwClickedHeaderID == ID_OPTION_TICK_COLUMN)
            ToggleOption(pList->GetSelection());
    } else if (dwID == ID_RESET) {
        Reset();
    } else if (dwID == kOkButtonID && IsOnStack()) {
        Store();
        m_dwResultID = kOkButtonID;
        Close();
    } else if (dwID == kCancelButtonID && IsOnStack()) {
        m_dwResultID = kCancelButtonID;
        Close();
    }
}
