#include "popups/CPopupClubDetails.h"

#include "popups/CPopupListFilter.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/PlayerRowIcons.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FilterButton.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/CXSurface.h"

#include <algorithm>

namespace {

constexpr int kLeft = 265, kTop = 135, kWidth = 430, kHeight = 380;
constexpr int kTabStrip = 24;
constexpr int kTabWidth = 84, kTabHeight = 26;
constexpr COLORREF kTitleColour = 0xADFDFF;
constexpr COLORREF kRowColour = 0xFFFFFF;
constexpr uint32_t kHelpButton = 1057;
constexpr int kLabelsDescription = 15;
constexpr int kCaptionTabs = 139;
constexpr int kTargetSet = 93;
constexpr int kFilterSet = 111;
constexpr int kWordsSet = 114;
constexpr int kNoManagerWord = 6;
constexpr int kRowHeight = 16;
constexpr int kKitIconX = 350;
constexpr int kIconSize = 24;
constexpr int kPositionColumn = 1;
// The two lists: the squad above, the youths 40 below it; each list's
// scroll bar stands at its right edge, inside the popup.
constexpr int kListRight = 374 + 12;
constexpr plat::Rect kSquadRect{8, 90, 8 + kListRight, 218};
constexpr plat::Rect kYouthRect{8, 258, 8 + kListRight, 338};

// {left, right, margin, colour, alignment, offset, heading, sort, hot}
const LISTCOLUMN kColumns[] = {
    {0, 176, 4, 0, 0, 0, 963, LISTSORT_TEXT, 0},   {176, 206, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0},
    {206, 240, 0, 0, 'x', 0, 964, LISTSORT_NUMBER, 0}, {240, 274, 4, 0, 2, 0, 965, LISTSORT_NUMBER, 0},
    {274, 304, 4, 0, 2, 0, 968, LISTSORT_NUMBER, 0}, {304, 374, 4, 0, 2, 0, 969, LISTSORT_CURRENCY, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

struct LABELPLACE {
    uint32_t dwID;
    int x;
    int y;
    int nWidth;
};
const LABELPLACE kLabels[] = {
    {CPopupClubDetails::ID_MANAGER, 80, 90, 176},     {CPopupClubDetails::ID_DIVISION, 80, 124, 176},
    {CPopupClubDetails::ID_EXPECTATION, 80, 158, 176}, {CPopupClubDetails::ID_GROUND, 80, 202, 160},
    {CPopupClubDetails::ID_CAPACITY, 242, 202, 70},    {CPopupClubDetails::ID_SQUAD_VALUE, 80, 246, 70},
    {CPopupClubDetails::ID_YOUTH_VALUE, 152, 246, 70}, {CPopupClubDetails::ID_FIRST_GROUND_VALUE, 80, 290, 70},
    {CPopupClubDetails::ID_FIRST_GROUND_VALUE + 1, 152, 290, 70},
    {CPopupClubDetails::ID_FIRST_GROUND_VALUE + 2, 224, 290, 70},
};

using popup_look::SharedFace;

CDatabaseHandler* Database()
{
    auto* pGame = dynamic_cast<CGame*>(g_pGame);
    return pGame ? pGame->GetDatabase() : nullptr;
}

// "Home" players share the choosing manager's nationality.
uint8_t HumanNationality()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CManagerDatabase* pManager = pHuman ? pDatabase->GetManagerFromID(pHuman->GetManagerID()) : nullptr;
    return pManager ? pManager->m_byNationality : 0;
}

}  // namespace

CPopupClubDetails::CPopupClubDetails()
{
    m_wScreenID = kScreenID;
    SetTabbedPopupRect(kLeft, kTop, kWidth, kHeight, kTabStrip);
}

CPopupClubDetails::~CPopupClubDetails() = default;

bool CPopupClubDetails::Show(CClubDatabase* pClub)
{
    if (!pClub || IsOnStack())
        return false;
    m_pClub = pClub;
    return Open();
}

void CPopupClubDetails::ConstructScreen() { popup_look::DrawFrameBelowTabs(*this, kTabStrip); }

CXListBox* CPopupClubDetails::List(uint32_t dwID) const { return dynamic_cast<CXListBox*>(FindControl(dwID)); }

bool CPopupClubDetails::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    m_RowIcons.Load();
    AddControls();
    ShowAllControls(false);
    SelectPage(ID_PAGE_DETAILS);
    return true;
}

void CPopupClubDetails::OnDestroy()
{
    CGamePopup::OnDestroy();
    m_RowIcons.Clear();
    m_pSmallFaces.reset();
    for (auto& pFace : m_apFilterFaces)
        pFace.reset();
}

void CPopupClubDetails::AddControls()
{
    CXSurface* pTabFace = SharedFace("btnTog2.bmp");
    for (uint32_t dwID : {ID_PAGE_DETAILS, ID_PAGE_SQUAD})
        if (auto* pTab = static_cast<CXButton*>(
                AddControlXYWH(XCONTROL_BUTTON, dwID == ID_PAGE_DETAILS ? kWidth - 2 * (kTabWidth + 3) : kWidth - kTabWidth - 3,
                               0, kTabWidth, kTabHeight, dwID, nullptr))) {
            pTab->m_hFont = g_hSmallFont;
            pTab->SetTextID(pTabFace, 0);
        }
    AddConfirmButton(kOkButtonID, CancelX());
    if (auto* pTitle = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 46, 32, kWidth - 92, 18, ID_TITLE, nullptr))) {
        pTitle->m_hFont = g_hMediumFont;
        pTitle->m_crText = kTitleColour;
        pTitle->m_byAlignment = 6;
        pTitle->m_bFrame = 0;
        pTitle->m_bClearBackground = 1;
    }
    AddCloseButton(true, false);
    m_pSmallFaces.reset(LoadMainArchiveBitmap("btnArrw.bmp", true));
    popup_look::AddBrowseArrows(*this, ID_PREVIOUS, ID_NEXT, m_pSmallFaces.get());
    for (const LABELPLACE& place : kLabels)
        popup_look::AddValueLabel(*this, place.dwID, place.x, place.y, place.nWidth);
    for (uint32_t dwID : {ID_SQUAD_LIST, ID_YOUTH_LIST}) {
        const plat::Rect& rc = dwID == ID_SQUAD_LIST ? kSquadRect : kYouthRect;
        const uint32_t dwBarID = dwID == ID_SQUAD_LIST ? 901 : 902;
        auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 120, dwBarID, nullptr));
        if (pBar)
            pBar->Create(dwBarID == 901 ? 885 : 887, dwBarID == 901 ? 886 : 888, kRowHeight, false, 0);
        auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, rc.left, rc.top, rc.right, rc.bottom, dwID, nullptr));
        if (!pList)
            continue;
        pList->SetUp(kRowHeight, 6, g_hSmallFont, 0, true, pBar, true, nullptr, true, 0, false, false, false);
        pList->m_crCellFill = 0x70564C;
        pList->m_crCellLight = 0xE7BFB3;
        AddFilterButton(*this, dwID == ID_SQUAD_LIST ? ID_SQUAD_FILTER : ID_YOUTH_FILTER, rc.right, rc.top - 16,
                        m_apFilterFaces[dwID == ID_SQUAD_LIST ? 0 : 1]);
    }
}

// ---- pages ----

void CPopupClubDetails::SelectPage(uint32_t dwPage)
{
    if ((dwPage != ID_PAGE_DETAILS && dwPage != ID_PAGE_SQUAD) || !m_pClub)
        return;
    m_dwPage = dwPage;
    if (dwPage == ID_PAGE_DETAILS)
        ShowDetailsPage();
    else
        ShowSquadPage();
}

void CPopupClubDetails::BeginPage()
{
    ShowAllControls(false);
    ConstructScreen();
    popup_look::DrawClubColourBoxes(*this, m_pClub);
    for (uint32_t dwID : {ID_PAGE_DETAILS, ID_PAGE_SQUAD})
        if (auto* pTab = dynamic_cast<CXButton*>(FindControl(dwID)))
            pTab->SetPressed(dwID == m_dwPage ? 1 : 0);
    if (auto* pTitle = dynamic_cast<CXStatic*>(FindControl(ID_TITLE)))
        pTitle->SetText("%s", m_pClub ? m_pClub->GetName() : "");
}

void CPopupClubDetails::EndPage(const uint32_t* pIDs, size_t nCount)
{
    RestoreBackground(0, 0, Width(), Height());
    const uint32_t common[] = {ID_PAGE_DETAILS, ID_PAGE_SQUAD, kOkButtonID, ID_PREVIOUS,
                               ID_NEXT,         ID_TITLE,      kHelpButton};
    for (uint32_t dwID : common)
        if (CXControl* pControl = FindControl(dwID))
            pControl->Show(true, true);
    for (size_t i = 0; i < nCount; ++i)
        if (CXControl* pControl = FindControl(pIDs[i]))
            pControl->Show(true, true);
    // The arrows stand idle without a list behind to step through.
    for (uint32_t dwID : {ID_PREVIOUS, ID_NEXT})
        if (auto* pArrow = dynamic_cast<CXButton*>(FindControl(dwID)))
            pArrow->Enable(!m_Browse);
}

void CPopupClubDetails::ShowDetailsPage()
{
    BeginPage();
    m_pBackground->ShadeRect(8, 84, 310, 230, 2);
    popup_look::DrawLabels(m_pBackground, kLabelsDescription);
    // The home kit and the second kit.
    for (int nKit = 0; nKit < 2; ++nKit)
        CGameTitlebar::DrawIcon(m_pBackground, 0, kKitIconX, 90 + 34 * nKit,
                                CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[2 * nKit]),
                                CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[2 * nKit + 1]), true);
    const auto label = [this](uint32_t dwID) { return dynamic_cast<CXStatic*>(FindControl(dwID)); };
    const CManagerDatabase* pManager = m_pClub->GetManager();
    if (CXStatic* p = label(ID_MANAGER)) {
        p->SetText("%s", pManager ? pManager->GetShortName() : GetTableTextOrEmpty(kWordsSet, kNoManagerWord));
        p->SetAlignedImage(pManager ? PlayerRowIcons::NationFlag(pManager->m_byNationality) : nullptr, 2);
    }
    if (CXStatic* p = label(ID_DIVISION))
        p->SetText("%s", m_pClub->m_pDivision ? m_pClub->m_pDivision->GetName() : "");
    if (CXStatic* p = label(ID_EXPECTATION))
        p->SetText("%s", GetTableTextOrEmpty(kTargetSet, m_pClub->m_byTargetKind));
    const CGroundDatabase* pGround = m_pClub->GetGround();
    if (CXStatic* p = label(ID_GROUND))
        p->SetText("%s", pGround ? pGround->GetName() : "");
    if (CXStatic* p = label(ID_CAPACITY))
        p->SetText("%s", FormatThousands(pGround ? pGround->GetCapacity() : 0));
    SetMoneyText(label(ID_SQUAD_VALUE), m_pClub->m_nSquadValue, MONEY_AS_STORED);
    SetMoneyText(label(ID_YOUTH_VALUE), m_pClub->m_nYouthValue, MONEY_AS_STORED);
    for (int i = 0; i < 3; ++i)
        SetMoneyText(label(ID_FIRST_GROUND_VALUE + static_cast<uint32_t>(i)), pGround ? pGround->GetTotal(i) : 0,
                     MONEY_AS_STORED);
    const uint32_t ids[] = {ID_MANAGER,    ID_DIVISION,          ID_EXPECTATION,           ID_GROUND,
                            ID_CAPACITY,   ID_SQUAD_VALUE,       ID_YOUTH_VALUE,           ID_FIRST_GROUND_VALUE,
                            ID_FIRST_GROUND_VALUE + 1, ID_FIRST_GROUND_VALUE + 2};
    EndPage(ids, std::size(ids));
}

void CPopupClubDetails::ShowSquadPage()
{
    BeginPage();
    if (CXSurface* pTabs = SharedFace("btnPTab.bmp")) {
        const CAPTIONTAB tabs[] = {{2, 0, 0, 8, kSquadRect.top - kRowHeight - 17, 200},
                                   {2, 1, 0, 8, kYouthRect.top - kRowHeight - 17, 200},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionTabs, tabs);
    }
    for (uint32_t dwID : {ID_SQUAD_LIST, ID_YOUTH_LIST}) {
        const plat::Rect& rc = dwID == ID_SQUAD_LIST ? kSquadRect : kYouthRect;
        if (CXListBox* pList = List(dwID))
            pList->SetUpColumns(rc.left, rc.top, rc.right, rc.bottom, kColumns, false, false, rc.bottom - rc.top, false);
        FillList(dwID);
    }
    const uint32_t ids[] = {ID_SQUAD_LIST, ID_YOUTH_LIST, ID_SQUAD_FILTER, ID_YOUTH_FILTER, 901, 902};
    EndPage(ids, std::size(ids));
}

bool CPopupClubDetails::Passes(uint8_t byNationality, uint8_t byPosition, uint32_t dwMask) const
{
    const bool bHome = byNationality == HumanNationality();
    if (!((bHome && (dwMask & FILTER_OWN_NATIONALITY)) || (!bHome && (dwMask & FILTER_OTHER_NATIONALITY))))
        return false;
    return byPosition <= 3 && (dwMask & (FILTER_FIRST_POSITION << byPosition));
}

void CPopupClubDetails::FillList(uint32_t dwList)
{
    CXListBox* pList = List(dwList);
    if (!pList || !m_pClub)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    const uint32_t dwMask = GetFilter(dwList);
    auto addRow = [&](const CPersonDatabase& person, const CPlayerDatabase* pPlayer, uint32_t dwValue) {
        if (!Passes(person.m_byNationality, person.m_byPosition, dwMask))
            return;
        const std::string value = FormatMoney(dwValue, 0, 0, MONEY_AS_STORED, 0, 1);
        const int nRow = pList->AddString(kRowColour, "%s\t%d\t%d\t%d\t%d\t%s", person.GetShortName(), person.m_byPosition,
                                          person.m_byRole, person.GetAge(), person.GetRatingForPosition(person.m_byRole),
                                          value.c_str());
        if (nRow < 0)
            return;
        pList->SetItemData(nRow, person.m_idPerson);
        m_RowIcons.Add(*pList, nRow, person, pPlayer, 0, kPositionColumn);
    };
    if (dwList == ID_SQUAD_LIST) {
        for (const CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
            if (pPlayer)
                addRow(*pPlayer, pPlayer, pPlayer->m_dwValue);
    } else {
        for (const CYouthDatabase* pYouth : m_pClub->m_lstYouths.Items<CYouthDatabase>())
            if (pYouth)
                addRow(*pYouth, nullptr, pYouth->m_dwValue);
    }
    pList->Sort(kPositionColumn, true, LISTSORT_NUMBER, 0);
    if (pList->GetCount() > 0)
        pList->SetSelection(0);
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CPopupClubDetails::SetFilter(uint32_t dwList, uint32_t dwMask)
{
    if (dwList != ID_SQUAD_LIST && dwList != ID_YOUTH_LIST)
        return;
    m_adwFilter[dwList == ID_YOUTH_LIST ? 1 : 0] = dwMask & FILTER_ALL;
    if (m_dwPage == ID_PAGE_SQUAD)
        FillList(dwList);
}

// ---- input ----

void CPopupClubDetails::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    switch (dwID) {
    case ID_PAGE_DETAILS:
    case ID_PAGE_SQUAD:
        SelectPage(dwID);
        break;
    case kOkButtonID:
        if (IsOnStack()) {
            m_dwResultID = kOkButtonID;
            Close();
        }
        break;
    case ID_PREVIOUS:
    case ID_NEXT:
        // Past either end the popup stays on the club it shows.
        if (CClubDatabase* pClub = m_Browse ? m_Browse(dwID == ID_NEXT) : nullptr; pClub && pClub != m_pClub) {
            m_pClub = pClub;
            SelectPage(m_dwPage);
        }
        break;
    case ID_SQUAD_FILTER:
    case ID_YOUTH_FILTER: {
        const uint32_t dwList = dwID == ID_SQUAD_FILTER ? ID_SQUAD_LIST : ID_YOUTH_LIST;
        m_dwFilterList = dwList;
        GetListFilterPopup().ShowBesideControl(kFilterSet, FindControl(dwID), GetFilter(dwList));
        break;
    }
    default:
        break;
    }
}

void CPopupClubDetails::OnEndPopup(CXPopup* pPopup)
{
    CGamePopup::OnEndPopup(pPopup);
    if (pPopup != &GetListFilterPopup() || !m_dwFilterList)
        return;
    const uint32_t dwList = m_dwFilterList;
    m_dwFilterList = 0;
    if (GetListFilterPopup().GetMask() != GetFilter(dwList))
        SetFilter(dwList, GetListFilterPopup().GetMask());
}
