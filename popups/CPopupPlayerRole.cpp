#include "popups/CPopupPlayerRole.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXListBox.h"

namespace {

constexpr int kCaptionItem = 22;
constexpr int kRoleNameSet = 118;
constexpr int kCaptionSet = 222;
constexpr int kRowHeight = 16;
// The chosen row's cells.
constexpr COLORREF kCellFill = 0x70564C, kCellLight = 0xE7BFB3;
constexpr int kListLeft = 8, kListRight = 242;
constexpr int kGraphicColumn = 0, kMarkColumn = 3;
constexpr COLORREF kRowText = plat::RGB(255, 255, 255);

// The four lists: id, first role, rows, top.
struct ROLELIST {
    uint32_t dwID;
    int nFirstRole;
    int nRows;
    int nTop;
};
const ROLELIST kLists[] = {
    {CPopupPlayerRole::ID_KEEPER_LIST, 0, 1, 70},
    {CPopupPlayerRole::ID_DEFENCE_LIST, 1, 6, 106},
    {CPopupPlayerRole::ID_MIDFIELD_LIST, 7, 5, 222},
    {CPopupPlayerRole::ID_ATTACK_LIST, 12, 4, 322},
};

const LISTCOLUMN kColumns[] = {
    {0, 34, 0, 0, 0, 0, 964, LISTSORT_NONE, 0},
    {34, 184, 4, 0, 0, 0, 937, LISTSORT_NONE, 0},
    {184, 214, 2, 0, 'y', 0, 968, LISTSORT_NONE, 0},
    {214, 234, 0, 0, 0, 0, 684, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CXAnimation* Sprite(const char* pszName)
{
    CGame* pGame = Game();
    return pGame ? pGame->GetSharedBitmaps().GetSprite(pszName) : nullptr;
}

}  // namespace

CPopupPlayerRole::CPopupPlayerRole()
{
    m_wScreenID = SCREEN_PLAYER_ROLE_POPUP;
    SetPopupRect(354, 110, 252, 430);
}

CPopupPlayerRole::~CPopupPlayerRole() = default;

bool CPopupPlayerRole::GetCorrectListBox(int nRole, uint32_t& dwListID, int& nRow)
{
    for (const ROLELIST& list : kLists)
        if (nRole >= list.nFirstRole && nRole < list.nFirstRole + list.nRows) {
            dwListID = list.dwID;
            nRow = nRole - list.nFirstRole;
            return true;
        }
    DebugLog(1, "[CPopupPlayerRole::GetCorrectListBox] Unknown Listbox");
    return false;
}

bool CPopupPlayerRole::Show(uint8_t byFirstListFlag, const CPlayerDatabase* pPlayer, int nRole)
{
    if (!pPlayer || nRole < 0 || nRole >= PLAYER_ROLE_COUNT)
        return false;
    m_pPlayer = pPlayer;
    m_byFirstListFlag = byFirstListFlag;
    m_nStartingRole = m_nChosenRole = nRole;
    return Open();
}

CXListBox* CPopupPlayerRole::GetList(uint32_t dwID) const { return dynamic_cast<CXListBox*>(FindControl(dwID)); }

void CPopupPlayerRole::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    CXSurface* pTabs = Game() ? Game()->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    CAPTIONTAB tabs[std::size(kLists) + 1] = {};
    for (size_t i = 0; i < std::size(kLists); ++i)
        tabs[i] = {2, static_cast<int>(i), 0, kListLeft, kLists[i].nTop - 17, kListRight - kListLeft};
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionSet, tabs);
}

bool CPopupPlayerRole::OnInitDialog()
{
    ConstructScreen();
    popup_look::DrawClubColourBoxes(*this);
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    m_RowIcons.Load();
    for (const ROLELIST& list : kLists) {
        const int nBottom = list.nTop + kRowHeight * list.nRows;
        auto* pList = static_cast<CXListBox*>(
            AddControl(XCONTROL_LISTBOX, kListLeft, list.nTop, kListRight, nBottom, list.dwID, nullptr));
        if (!pList)
            continue;
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     nullptr, true, nullptr, false, 1, false, false, false);
        pList->m_crCellFill = kCellFill;
        pList->m_crCellLight = kCellLight;
        pList->SetUpColumns(kListLeft, list.nTop, kListRight, nBottom, kColumns, false, false, nBottom - list.nTop,
                            false);
    }
    AddCloseButton(false, true);
    Fill();
    // The role he plays now is the one chosen until another is clicked.
    m_dwCurrentList = 0;
    uint32_t dwList = 0;
    int nRow = -1;
    if (GetCorrectListBox(m_nStartingRole, dwList, nRow))
        if (CXListBox* pList = GetList(dwList)) {
            pList->SetSelection(nRow);
            SetCurrentList(dwList);
            SetFocus(pList);
        }
    for (const ROLELIST& list : kLists)
        if (CXListBox* pList = GetList(list.dwID)) {
            ApplyRatingsOption(pList);
            pList->Redraw();
        }
    ShowAllControls(true);
    return true;
}

void CPopupPlayerRole::OnDestroy()
{
    CGamePopup::OnDestroy();
    m_RowIcons.Clear();
}

void CPopupPlayerRole::Fill()
{
    for (const ROLELIST& list : kLists)
        if (CXListBox* pList = GetList(list.dwID)) {
            pList->SetAutoRedraw(false);
            pList->ResetContent();
        }
    if (!m_pPlayer)
        return;
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole) {
        uint32_t dwList = 0;
        int nRow = -1;
        CXListBox* pList = GetCorrectListBox(nRole, dwList, nRow) ? GetList(dwList) : nullptr;
        if (!pList)
            continue;
        const int nAdded = pList->AddString(kRowText, "\t%s\t%d", GetTableTextOrEmpty(kRoleNameSet, nRole),
                                            m_pPlayer->GetRatingForPosition(nRole));
        if (nAdded < 0)
            continue;
        pList->SetItemData(nAdded, static_cast<uint32_t>(nRole));
        m_RowIcons.AddRole(*pList, nAdded, nRole, kGraphicColumn);
        const char* pszMark = nRole == m_pPlayer->m_byRole                 ? "icnStar.bmp"
                              : (m_pPlayer->m_wRoleMask >> nRole & 1) != 0 ? "icnTick.bmp"
                                                                           : nullptr;
        if (CXAnimation* pMark = pszMark ? Sprite(pszMark) : nullptr)
            pList->AddAlignedColumnGraphic(nAdded, pMark, 6, kMarkColumn, true);
    }
    // An outfield place never goes in goal: the keeper's row is greyed.
    if (CXListBox* pKeeper = GetList(ID_KEEPER_LIST); pKeeper && !m_byFirstListFlag)
        pKeeper->EnableRow(0, false);
    for (const ROLELIST& list : kLists)
        if (CXListBox* pList = GetList(list.dwID)) {
            pList->SetAutoRedraw(true);
            pList->Redraw();
        }
}

bool CPopupPlayerRole::IsChoosable(uint32_t dwID) const
{
    if (dwID == ID_KEEPER_LIST)
        return m_byFirstListFlag != 0;
    return dwID == ID_DEFENCE_LIST || dwID == ID_MIDFIELD_LIST || dwID == ID_ATTACK_LIST;
}

int CPopupPlayerRole::GetSelectedRole() const
{
    const CXListBox* pList = GetList(m_dwCurrentList);
    const int nRow = pList ? pList->GetSelection() : -1;
    if (!pList || nRow < 0 || nRow >= pList->GetCount())
        return -1;
    const auto nRole = pList->GetItemData(nRow);
    return nRole >= 0 && nRole < PLAYER_ROLE_COUNT ? static_cast<int>(nRole) : -1;
}

void CPopupPlayerRole::Confirm()
{
    const int nRole = GetSelectedRole();
    // Confirming the role he already plays changes nothing: the owner
    // hears a cancel.
    if (nRole < 0 || nRole == m_nStartingRole || (nRole == 0 && !m_byFirstListFlag)) {
        m_nChosenRole = m_nStartingRole;
        m_dwResultID = kCancelButtonID;
    } else {
        m_nChosenRole = nRole;
        m_dwResultID = kOkButtonID;
    }
    Close();
}

void CPopupPlayerRole::SetCurrentList(uint32_t dwID)
{
    m_dwCurrentList = dwID;
    // Only the current list's selection stays in sight: it is the choice.
    for (const ROLELIST& list : kLists)
        if (CXListBox* pList = GetList(list.dwID)) {
            pList->ShowSelectionUnfocused(list.dwID == dwID);
            pList->Redraw();
        }
}

void CPopupPlayerRole::OnSelChange(uint32_t dwID)
{
    if (IsChoosable(dwID))
        SetCurrentList(dwID);
}

void CPopupPlayerRole::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (IsChoosable(dwID)) {
        SetCurrentList(dwID);
    } else if (dwID == kOkButtonID && IsOnStack()) {
        Confirm();
    } else if (dwID == kCancelButtonID && IsOnStack()) {
        m_dwResultID = kCancelButtonID;
        Close();
    }
}

void CPopupPlayerRole::OnDoubleClicked(uint32_t dwID)
{
    if (IsChoosable(dwID) && IsOnStack()) {
        SetCurrentList(dwID);
        Confirm();
    }
}
