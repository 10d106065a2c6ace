#include "screens/CClientScout.h"

#include "popups/CPopupPlayerDetails.h"
#include "popups/CPopupYouthDetails.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/PlayerRowIcons.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/Random.h"
#include "season/CSaveGame.h"
#include "season/CScoutManager.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXSlider.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr int kRowHeight = 16;
constexpr COLORREF kText = plat::RGB(242, 242, 234);
constexpr COLORREF kLabelColour = plat::RGB(255, 253, 173);
constexpr int kModeSet = 20;
constexpr int kRegionSet = 21;
constexpr int kAvailabilitySet = 112;
constexpr int kWordsSet = 114;
constexpr int kNoClubItem = 13;
constexpr int kNoFigureItem = 6;
constexpr int kPositionSet = 117;
constexpr int kRoleSet = 118;
constexpr int kSearchCaptionSet = 175;
constexpr int kReportCaptionSet = 176;
constexpr int kPanelLabels = 3;
constexpr int kClubDetailsMessage = 66;
constexpr int kAlertScoutReport = 1;

constexpr int kListLeft = 8, kListRight = 624;
constexpr int kSearchListTop = 310, kSearchListBottom = 470;
constexpr int kReportListTop = 60, kReportListBottom = 476;
constexpr int kSliderX = 430, kSliderWidth = 136, kSliderHeight = 8;
constexpr int kRangeX = 570, kRangeWidth = 54;
constexpr int kRowTop = 20, kRowStep = 26;
constexpr int kSliderTrackHeight = 16;

// The attribute each slider row tests, and where its range lies in the
// criteria record.
constexpr PLAYER_ATTRIBUTE kRowAttributes[CClientScout::kRatingRows] = {
    PLAYER_ATTRIBUTE_HANDLING, PLAYER_ATTRIBUTE_TACKLING, PLAYER_ATTRIBUTE_PASSING,
    PLAYER_ATTRIBUTE_DRIBBLING, PLAYER_ATTRIBUTE_HEADING,  PLAYER_ATTRIBUTE_SHOOTING,
    PLAYER_ATTRIBUTE_PACE,     PLAYER_ATTRIBUTE_STRENGTH, PLAYER_ATTRIBUTE_FITNESS};
constexpr int kRowRangeSlot[CClientScout::kRatingRows] = {0, 1, 2, 3, 5, 6, 7, 8, 4};

// The criteria record's bytes.
constexpr int kRegionByte = 0, kPositionByte = 1, kRoleByte = 2, kAvailabilityByte = 3;

// Player, club, position, age, rating, value, pick.
const LISTCOLUMN kSearchColumns[] = {
    {0, 150, 4, 0, 0, 0, 963, LISTSORT_TEXT, 0},     {150, 320, 4, 0, 0, 0, 938, LISTSORT_TEXT, 1},
    {320, 350, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0}, {350, 384, 4, 0, 2, 0, 965, LISTSORT_NUMBER, 0},
    {384, 444, 4, 0, 'y', 0, 968, LISTSORT_NUMBER, 0}, {444, 534, 4, 0, 2, 0, 969, LISTSORT_NUMBER, 0},
    {534, 566, 0, 0, 'x', 0, 203, LISTSORT_NONE, 1},   {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kReportColumns[] = {
    {0, 150, 4, 0, 0, 0, 963, LISTSORT_TEXT, 0},     {150, 320, 4, 0, 0, 0, 938, LISTSORT_TEXT, 1},
    {320, 350, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0}, {350, 384, 4, 0, 2, 0, 965, LISTSORT_NUMBER, 0},
    {384, 444, 4, 0, 'y', 0, 968, LISTSORT_NUMBER, 0}, {444, 534, 4, 0, 2, 0, 969, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
constexpr int kClubColumn = 1, kPositionColumn = 2, kTickColumn = 6;
const LISTCOLUMN kChoiceColumns[] = {
    {0, 100, 4, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kRoleColumns[] = {
    {0, 30, 0, 0, 'x', 0, 0, LISTSORT_NONE, 1},
    {30, 154, 4, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

struct CHOICE {
    uint32_t dwID;
    int nLeft, nTop, nRight, nBottom;
};
constexpr CHOICE kChoices[] = {{CClientScout::ID_REGION, 80, 20, 180, 68},
                               {CClientScout::ID_AVAILABILITY, 80, 54, 180, 118},
                               {CClientScout::ID_POSITION, 80, 88, 180, 168},
                               {CClientScout::ID_ROLE, 80, 122, 234, 394}};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

template <class T>
T* Control(const CXClient* pClient, uint32_t dwID)
{
    return dynamic_cast<T*>(pClient->FindControl(dwID));
}

CXComboBox* Selector(uint32_t dwID)
{
    if (!g_pTitlebar)
        return nullptr;
    return g_pTitlebar->GetSelector(dwID == CClientScout::ID_SCOUT_SELECTOR ? 22 : 23);
}

bool InRange(int nValue, int nMinimum, int nMaximum) { return nValue >= nMinimum && nValue <= nMaximum; }

// A choice's row of that row data (the first when none has it).
void SelectByData(CXComboBox* pBox, uint32_t dwData)
{
    if (!pBox || pBox->GetCount() == 0)
        return;
    const int nRow = pBox->FindItemData(dwData);
    pBox->SetCurSel(nRow >= 0 ? nRow : 0);
}

uint32_t SelectedData(const CXComboBox* pBox, uint32_t dwDefault)
{
    const int nRow = pBox ? pBox->GetSelection() : -1;
    return nRow >= 0 ? static_cast<uint32_t>(pBox->GetItemData(nRow)) : dwDefault;
}

}  // namespace

CClientScout::CClientScout() { m_wScreenID = SCREEN_TRANSFER_SCOUT; }

CClientScout::~CClientScout() = default;

// ---- the rules ----

bool CClientScout::IsScoutEmployed()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    return pClub && pClub->GetStaffCount(CLUB_STAFF_KIND_SCOUT) > 0;
}

bool CClientScout::MatchesCriteria(const SCOUTSLOT& criteria, const CPlayerDatabase& player,
                                   const CCountryDatabase* pHomeCountry)
{
    const uint8_t byRegion = criteria.abyCriteria[kRegionByte];
    if ((byRegion == REGION_HOME && player.m_pCountry != pHomeCountry) ||
        (byRegion == REGION_ABROAD && player.m_pCountry == pHomeCountry))
        return false;
    switch (criteria.abyCriteria[kAvailabilityByte]) {
    case AVAILABLE_OUT_OF_CONTRACT:
        if (player.GetContractTimeLeft(0) > 0)
            return false;
        break;
    case AVAILABLE_TRANSFER:
        if (player.m_byTransferState != PLAYER_TRANSFER_LISTED && player.m_byTransferState != PLAYER_TRANSFER_LEAVING)
            return false;
        break;
    case AVAILABLE_LOAN:
        if (player.m_byTransferState != 2)
            return false;
        break;
    default:
        break;
    }
    if (!InRange(player.GetAge(), criteria.byRangeMinimum, criteria.byRangeMaximum) ||
        player.m_dwValue < criteria.dwMoneyLimitA || player.m_dwValue > criteria.dwMoneyLimitB)
        return false;
    const uint8_t byPosition = criteria.abyCriteria[kPositionByte];
    if (byPosition != kAnyPosition && player.m_byPosition != byPosition)
        return false;
    const uint8_t byRole = criteria.abyCriteria[kRoleByte];
    if (byRole != kAnyRole && player.m_byRole != byRole)
        return false;
    for (int nRow = 0; nRow < kRatingRows; ++nRow) {
        const uint8_t* pRange = criteria.abyRanges[kRowRangeSlot[nRow]];
        if (!InRange(player.m_awAttributes[kRowAttributes[nRow]] / 100, pRange[0], pRange[1]))
            return false;
    }
    return true;
}

int CClientScout::GetScoutedRating(const CPlayerDatabase& player, const CStaffDatabase* pScout)
{
    const double dRating = player.m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] / 100;
    const int nJudging = pScout ? std::min(CScoutManager::GetJudgingAbility(*pScout), 100) : 0;
    const double dError = (100 - nJudging) * 0.01 * dRating;
    return static_cast<int>((plat::rand() & 1) ? dRating - dError : dRating + dError);
}

// ---- entry and exit ----

CSaveGame* CClientScout::Human() const
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

CXListBox* CClientScout::GetList() const { return Control<CXListBox>(this, ID_LIST); }

bool CClientScout::OnInitDialog()
{
    CSaveGame* pHuman = Human();
    m_idReportScout = static_cast<ID_STAFF>(m_dwChangeParameter & 0xFFFF);
    m_bYouthReport = (m_dwChangeParameter >> 16 & 1) != 0;
    m_nMode = m_idReportScout == 0 ? MODE_SEARCH : m_bYouthReport ? MODE_YOUTH_REPORTS : MODE_REPORTS;
    m_pCriteria = nullptr;
    m_bQueryRunning = false;
    m_bHasScouts = false;
    m_Ticked.clear();
    m_fDays = 0;
    m_nCost = 0;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar)
        g_pTitlebar->SetSelectors({22, 23});
    CreateControls();
    FillSelectors();
    if (m_idReportScout != 0 && pHuman) {
        pHuman->SetNavigationAlert(kAlertScoutReport, 0);
        pHuman->SetScoutReport(0, 0);
    }
    DrawPanel();
    UpdateBars();
    return bResult;
}

void CClientScout::OnDestroy()
{
    if (Human() && !m_bQueryRunning && m_nMode == MODE_SEARCH)
        ReadCriteria();
    ClearTicks();
    CGameClient::OnDestroy();
    m_pCriteria = nullptr;
    m_RowIcons.Clear();
    m_pThumb.reset();
}

void CClientScout::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
    const CSaveGame* pHuman = Human();
    if (const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, plat::RGB(55, 157, 0), 0xFFFFFF);
}

void CClientScout::CreateControls()
{
    CGame* pGame = Game();
    m_RowIcons.Load();

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    if (auto* pList = static_cast<CXListBox*>(
            AddControl(XCONTROL_LISTBOX, kListLeft, kSearchListTop, kListRight, kSearchListBottom, ID_LIST, nullptr)))
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     pBar, true, nullptr, true, 0, false, false, false);

    CXSurface* pFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnTog.bmp") : nullptr;
    for (const auto& [dwID, y] : {std::pair{ID_SEARCH, 220}, std::pair{ID_SEND, 484}, std::pair{ID_RECALL, 484}})
        if (auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, 8, y, 84, 26, dwID, nullptr))) {
            pButton->m_hFont = g_hSmallFont;
            pButton->SetTextID(pFace, 0);
        }

    for (const CHOICE& choice : kChoices) {
        auto* pCombo = static_cast<CXComboBox*>(
            AddControl(XCONTROL_COMBOBOX, choice.nLeft, choice.nTop, choice.nRight, choice.nBottom, choice.dwID, nullptr));
        if (!pCombo)
            continue;
        pCombo->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, false, nullptr, true, nullptr, false, 2,
                      false, false, true);
        pCombo->SetUpColumns(choice.nLeft, choice.nTop, choice.nRight, choice.nBottom,
                             choice.dwID == ID_ROLE ? kRoleColumns : kChoiceColumns, false, false, kRowHeight, false);
    }

    const struct {
        uint32_t dwID;
        int x, y, nWidth, nLength, nMinimum, nMaximum;
        uint32_t dwUp;
        int nStep;
        bool bMoney;
    } kEdits[] = {
        {ID_AGE_MINIMUM, 80, 156, 30, 2, kYoungest, kOldest, 909, 1, false},
        {ID_AGE_MAXIMUM, 200, 156, 30, 2, kYoungest, kOldest, 911, 1, false},
        {ID_VALUE_MINIMUM, 80, 190, 65, 10, 0, 99999999, 913, 10000, true},
        {ID_VALUE_MAXIMUM, 200, 190, 65, 10, 0, 99999999, 915, 10000, true},
    };
    for (const auto& edit : kEdits)
        popup_look::AddNumberEdit(*this, edit.dwID, edit.x, edit.y, edit.nWidth, edit.bMoney, edit.nLength, edit.dwUp,
                                  edit.dwUp + 1, edit.nStep, edit.nMinimum, edit.nMaximum);

    // The thumb is the middle of the shared slider thumb, as high as a slider.
    CXSurface* pThumbFace = nullptr;
    if (CXAnimation* pShared = pGame ? pGame->GetSharedBitmaps().GetSprite("sldTrain.bmp") : nullptr)
        pThumbFace = pShared->m_pSource;
    if (pThumbFace) {
        m_pThumb = std::make_unique<CXAnimation>();
        m_pThumb->Setup(pThumbFace, 8, kSliderHeight, 0, 5, 2, 2);
    }
    for (int nRow = 0; nRow < kRatingRows; ++nRow) {
        const int y = kRowTop + kRowStep * nRow;
        for (const auto& [dwFirst, nOffset] : {std::pair{ID_FIRST_MINIMUM_SLIDER, 0}, std::pair{ID_FIRST_MAXIMUM_SLIDER, 8}})
            if (auto* pSlider = static_cast<CXSlider*>(AddControlXYWH(XCONTROL_SLIDER, kSliderX, y + nOffset, kSliderWidth,
                                                                      kSliderHeight, dwFirst + nRow, nullptr))) {
                pSlider->SetUp(m_pThumb.get());
                pSlider->SetRange(0, 100);
            }
        if (auto* pRange = static_cast<CXStatic*>(
                AddControlXYWH(XCONTROL_STATIC, kRangeX, y, kRangeWidth, 18, ID_FIRST_RANGE + nRow, nullptr))) {
            pRange->m_hFont = g_hSmallFont;
            pRange->m_crText = kText;
            pRange->m_byAlignment = 2;
            pRange->m_bClearBackground = 1;
        }
    }
    const struct {
        uint32_t dwID;
        int x, nWidth;
    } kTotals[] = {{ID_COST, 290, 80}, {ID_DAYS, 450, 30}, {ID_FOUND, 545, 40}};
    for (const auto& total : kTotals)
        if (auto* pTotal = static_cast<CXStatic*>(
                AddControlXYWH(XCONTROL_STATIC, total.x, 486, total.nWidth, 18, total.dwID, nullptr))) {
            pTotal->m_hFont = g_hSmallFont;
            pTotal->m_crText = kText;
            pTotal->m_byAlignment = 2;
            pTotal->m_bClearBackground = 1;
        }
}

// ---- the selectors and choices ----

void CClientScout::FillSelectors()
{
    m_bFilling = true;
    CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    if (CXComboBox* pScouts = Selector(ID_SCOUT_SELECTOR)) {
        pScouts->SetAutoRedraw(false);
        pScouts->ResetContent();
        int nReportRow = -1;
        for (int nPlace = 0; pClub && pDatabase && nPlace < g_anClubStaffPlaces[CLUB_STAFF_KIND_SCOUT] && nPlace < SCOUT_SLOTS;
             ++nPlace) {
            const ID_STAFF idStaff = pClub->m_awStaffSlots[CLUB_STAFF_KIND_SCOUT][nPlace];
            const CStaffDatabase* pScout = idStaff ? pDatabase->GetStaffFromID(idStaff) : nullptr;
            if (!pScout)
                continue;
            const int nRow = pScouts->AddString(0xFFFFFF, "%s", pScout->GetShortName());
            pScouts->SetItemData(nRow, idStaff);
            if (idStaff == m_idReportScout)
                nReportRow = nRow;
        }
        m_bHasScouts = pScouts->GetCount() > 0;
        pScouts->SetAutoRedraw(true);
        if (m_bHasScouts)
            pScouts->SetCurSel(nReportRow >= 0 ? nReportRow : 0);
    }
    if (CXComboBox* pModes = Selector(ID_MODE_SELECTOR)) {
        pModes->SetAutoRedraw(false);
        pModes->ResetContent();
        for (int i = MODE_SEARCH; i <= MODE_REPORTS; ++i) {
            pModes->AddString(0xFFFFFF, "%s", Text(kModeSet, i));
            pModes->SetItemData(i, static_cast<uint32_t>(i));
        }
        pModes->SetAutoRedraw(true);
        if (m_nMode != MODE_YOUTH_REPORTS)
            pModes->SetCurSel(m_nMode);
    }
    m_bFilling = false;
}

CStaffDatabase* CClientScout::SelectedScout() const
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const auto idStaff = static_cast<ID_STAFF>(SelectedData(Selector(ID_SCOUT_SELECTOR), 0));
    return idStaff && pDatabase ? pDatabase->GetStaffFromID(idStaff) : nullptr;
}

void CClientScout::FillChoices()
{
    m_bFilling = true;
    auto fill = [this](uint32_t dwID, int nSet, int nCount) {
        CXComboBox* pBox = Control<CXComboBox>(this, dwID);
        if (!pBox)
            return;
        pBox->SetAutoRedraw(false);
        pBox->ResetContent();
        for (int i = 0; i < nCount; ++i) {
            const int nRow = dwID == ID_ROLE ? pBox->AddString(kText, "\t%s", Text(nSet, i))
                                             : pBox->AddString(kText, "%s", Text(nSet, i));
            pBox->SetItemData(nRow, static_cast<uint32_t>(i));
            if (dwID == ID_ROLE)
                m_RowIcons.AddRole(*pBox, nRow, i, 0);
        }
        pBox->SetAutoRedraw(true);
    };
    fill(ID_ROLE, kRoleSet, kAnyRole + 1);
    fill(ID_REGION, kRegionSet, REGION_ANY + 1);
    fill(ID_AVAILABILITY, kAvailabilitySet, AVAILABLE_LOAN + 1);
    fill(ID_POSITION, kPositionSet, kAnyPosition + 1);
    m_bFilling = false;
}

void CClientScout::SelectScout(int nRow)
{
    CXComboBox* pScouts = Selector(ID_SCOUT_SELECTOR);
    if (!pScouts || nRow < 0 || nRow >= pScouts->GetCount())
        return;
    m_bFilling = true;
    pScouts->SetCurSel(nRow);
    m_bFilling = false;
    OnSelChange(ID_SCOUT_SELECTOR);
}

void CClientScout::SetMode(int nMode)
{
    if (nMode != MODE_SEARCH && nMode != MODE_REPORTS && nMode != MODE_YOUTH_REPORTS)
        return;
    if (m_nMode == MODE_SEARCH && !m_bQueryRunning)
        ReadCriteria();
    m_nMode = nMode;
    if (CXComboBox* pModes = Selector(ID_MODE_SELECTOR); pModes && nMode != MODE_YOUTH_REPORTS) {
        m_bFilling = true;
        pModes->SetCurSel(nMode);
        m_bFilling = false;
    }
    DrawPanel();
}

void CClientScout::OnSelChange(uint32_t dwID)
{
    if (m_bFilling)
        return;
    if (dwID == ID_SCOUT_SELECTOR) {
        // The criteria shown belong to the scout selected before.
        if (m_nMode == MODE_SEARCH && !m_bQueryRunning)
            ReadCriteria();
        ClearTicks();
        DrawPanel();
    } else if (dwID == ID_MODE_SELECTOR) {
        SetMode(static_cast<int>(SelectedData(Selector(ID_MODE_SELECTOR), MODE_SEARCH)));
    }
}

// ---- the panel ----

void CClientScout::DrawPanel()
{
    CXListBox* pList = GetList();
    if (!pList)
        return;
    ShowAllControls(false);
    RestoreBackground(0, 0, Width(), Height());
    CGame* pGame = Game();
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const bool bSearch = m_nMode == MODE_SEARCH;
    if (bSearch && m_pDrawingSurface) {
        CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr;
        std::unique_ptr<CXSurface> pTrack(LoadMainArchiveBitmap("TrainBar.bmp", true));
        for (int nRow = 0; nRow < kRatingRows; ++nRow) {
            const int y = kRowTop + kRowStep * nRow;
            if (pShading)
                ShadeRectangle(m_pDrawingSurface, pShading, kSliderX - 2, y - 1, kSliderX + kSliderWidth + 2,
                               y + kSliderTrackHeight + 1);
            if (pTrack)
                CXSurface::BlitKeyed(m_pDrawingSurface, pTrack.get(), kSliderX, y);
        }
        DrawSurfaceText(g_hSmallFont, m_pDrawingSurface, kPanelLabels, kLabelColour);
    }
    SetUpList(bSearch);
    if (pTabs) {
        const CAPTIONTAB tabs[] = {
            {2, 0, 0, kListLeft, (bSearch ? kSearchListTop : kReportListTop) - pList->m_nHeaderHeight - 17, 300},
            {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, bSearch ? kSearchCaptionSet : kReportCaptionSet,
                        tabs);
    }
    if (bSearch) {
        FillChoices();
        ShowAllControls(true);
    } else {
        pList->Show(true, true);
        if (auto* pBar = FindControl(ID_SCROLLBAR))
            pBar->Show(true, true);
    }
    if (m_bHasScouts)
        UpdateScoutDetails();
    else
        pList->Redraw();
    if (!m_bHasScouts || !m_pCriteria) {
        ShowButton(ID_SEARCH, false, false);
        ShowButton(ID_SEND, false, false);
        ShowButton(ID_RECALL, false, false);
    }
}

void CClientScout::SetUpList(bool bSearch)
{
    CXListBox* pList = GetList();
    if (!pList)
        return;
    const int nTop = bSearch ? kSearchListTop : kReportListTop;
    const int nBottom = bSearch ? kSearchListBottom : kReportListBottom;
    pList->ResetContent();
    pList->SetUpColumns(kListLeft, nTop, kListRight, nBottom, bSearch ? kSearchColumns : kReportColumns, false, false,
                        nBottom - nTop, false);
}

void CClientScout::ShowButton(uint32_t dwID, bool bShown, bool bUsable)
{
    auto* pButton = Control<CXButton>(this, dwID);
    if (!pButton)
        return;
    pButton->Show(bShown, true);
    if (bShown)
        pButton->Enable(!bUsable);
}

void CClientScout::UpdateScoutDetails()
{
    m_bQueryRunning = false;
    m_pCriteria = nullptr;
    CSaveGame* pHuman = Human();
    const CStaffDatabase* pScout = SelectedScout();
    CScoutManager* pScouts = pHuman ? &pHuman->GetScoutManager() : nullptr;
    m_pCriteria = pScouts && pScout ? pScouts->FindScoutSlot(pScout->GetId()) : nullptr;
    if (!m_pCriteria) {
        DebugLog(1, "[CClientScout::UpdateScoutDetails] Could not find the query for the selected scout");
        if (CXListBox* pList = GetList())
            pList->Redraw();
        return;
    }
    LoadCriteriaControls();
    if (m_nMode == MODE_SEARCH) {
        if (!pScouts->FindQueryByScout(pScout->GetId())) {
            ShowButton(ID_RECALL, false, false);
            ShowButton(ID_SEARCH, true, true);
            ShowButton(ID_SEND, true, !m_Ticked.empty());
            Search();
        } else {
            ShowButton(ID_SEARCH, false, false);
            ShowButton(ID_SEND, false, false);
            ShowButton(ID_RECALL, true, true);
            m_bQueryRunning = true;
            ShowQueryPlayers();
        }
    } else {
        ShowButton(ID_SEARCH, false, false);
        ShowReports(m_nMode == MODE_YOUTH_REPORTS);
    }
}

void CClientScout::LoadCriteriaControls()
{
    if (!m_pCriteria)
        return;
    m_bFilling = true;
    SelectByData(Control<CXComboBox>(this, ID_REGION), m_pCriteria->abyCriteria[kRegionByte]);
    SelectByData(Control<CXComboBox>(this, ID_AVAILABILITY), m_pCriteria->abyCriteria[kAvailabilityByte]);
    SelectByData(Control<CXComboBox>(this, ID_POSITION), m_pCriteria->abyCriteria[kPositionByte]);
    SelectByData(Control<CXComboBox>(this, ID_ROLE), m_pCriteria->abyCriteria[kRoleByte]);
    if (auto* pEdit = Control<CXEdit>(this, ID_AGE_MINIMUM))
        pEdit->SetText("%d", m_pCriteria->byRangeMinimum);
    if (auto* pEdit = Control<CXEdit>(this, ID_AGE_MAXIMUM))
        pEdit->SetText("%d", m_pCriteria->byRangeMaximum);
    if (auto* pEdit = Control<CXEdit>(this, ID_VALUE_MINIMUM))
        pEdit->SetText("%.0f", ConvertCurrency(m_pCriteria->dwMoneyLimitA));
    if (auto* pEdit = Control<CXEdit>(this, ID_VALUE_MAXIMUM))
        pEdit->SetText("%.0f", ConvertCurrency(m_pCriteria->dwMoneyLimitB));
    for (int nRow = 0; nRow < kRatingRows; ++nRow) {
        const uint8_t* pRange = m_pCriteria->abyRanges[kRowRangeSlot[nRow]];
        if (auto* pSlider = Control<CXSlider>(this, ID_FIRST_MINIMUM_SLIDER + nRow))
            pSlider->SetPos(pRange[0]);
        if (auto* pSlider = Control<CXSlider>(this, ID_FIRST_MAXIMUM_SLIDER + nRow))
            pSlider->SetPos(pRange[1]);
        ShowRange(nRow);
    }
    m_bFilling = false;
}

void CClientScout::ShowRange(int nRow)
{
    const auto* pMinimum = Control<CXSlider>(this, ID_FIRST_MINIMUM_SLIDER + nRow);
    const auto* pMaximum = Control<CXSlider>(this, ID_FIRST_MAXIMUM_SLIDER + nRow);
    if (auto* pRange = Control<CXStatic>(this, ID_FIRST_RANGE + nRow); pRange && pMinimum && pMaximum)
        pRange->SetText("%d - %d", pMinimum->GetValue(), pMaximum->GetValue());
}

void CClientScout::ReadCriteria()
{
    if (!m_pCriteria)
        return;
    auto choice = [this](uint32_t dwID, uint8_t byCurrent) {
        return static_cast<uint8_t>(SelectedData(Control<CXComboBox>(this, dwID), byCurrent));
    };
    m_pCriteria->abyCriteria[kRegionByte] = choice(ID_REGION, m_pCriteria->abyCriteria[kRegionByte]);
    m_pCriteria->abyCriteria[kAvailabilityByte] = choice(ID_AVAILABILITY, m_pCriteria->abyCriteria[kAvailabilityByte]);
    m_pCriteria->abyCriteria[kPositionByte] = choice(ID_POSITION, m_pCriteria->abyCriteria[kPositionByte]);
    m_pCriteria->abyCriteria[kRoleByte] = choice(ID_ROLE, m_pCriteria->abyCriteria[kRoleByte]);
    const auto* pAgeLow = Control<CXEdit>(this, ID_AGE_MINIMUM);
    const auto* pAgeHigh = Control<CXEdit>(this, ID_AGE_MAXIMUM);
    if (pAgeLow && pAgeHigh) {
        const int nFirst = std::clamp(pAgeLow->ReadNumber(), int{kYoungest}, int{kOldest});
        const int nSecond = std::clamp(pAgeHigh->ReadNumber(), int{kYoungest}, int{kOldest});
        m_pCriteria->byRangeMinimum = static_cast<uint8_t>(std::min(nFirst, nSecond));
        m_pCriteria->byRangeMaximum = static_cast<uint8_t>(std::max(nFirst, nSecond));
    }
    const auto* pValueLow = Control<CXEdit>(this, ID_VALUE_MINIMUM);
    const auto* pValueHigh = Control<CXEdit>(this, ID_VALUE_MAXIMUM);
    if (pValueLow && pValueHigh) {
        const auto dwFirst = static_cast<uint32_t>(popup_look::ReadMoney(pValueLow));
        const auto dwSecond = static_cast<uint32_t>(popup_look::ReadMoney(pValueHigh));
        m_pCriteria->dwMoneyLimitA = std::min(dwFirst, dwSecond);
        m_pCriteria->dwMoneyLimitB = std::max(dwFirst, dwSecond);
    }
    for (int nRow = 0; nRow < kRatingRows; ++nRow) {
        const auto* pMinimum = Control<CXSlider>(this, ID_FIRST_MINIMUM_SLIDER + nRow);
        const auto* pMaximum = Control<CXSlider>(this, ID_FIRST_MAXIMUM_SLIDER + nRow);
        if (!pMinimum || !pMaximum)
            continue;
        const int nFirst = std::clamp(pMinimum->GetValue(), 0, 100);
        const int nSecond = std::clamp(pMaximum->GetValue(), 0, 100);
        uint8_t* pRange = m_pCriteria->abyRanges[kRowRangeSlot[nRow]];
        pRange[0] = static_cast<uint8_t>(std::min(nFirst, nSecond));
        pRange[1] = static_cast<uint8_t>(std::max(nFirst, nSecond));
    }
}

// ---- the lists ----

bool CClientScout::IsHome(const CPlayerDatabase& player) const
{
    const CSaveGame* pHuman = Human();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    return pClub && player.m_pCountry == pClub->m_pCountry;
}

void CClientScout::AddPlayerRow(const CPlayerDatabase& player, int nRating, bool bTicked)
{
    CXListBox* pList = GetList();
    if (!pList)
        return;
    const char* pszClub = player.m_pClub ? player.m_pClub->GetName() : Text(kWordsSet, kNoClubItem);
    const int nRow = pList->AddString(kText, "%s\t%s\t%2d\t%2d\t%2d\t%s\t%s", player.GetShortName(), pszClub,
                                      player.m_byPosition, player.GetAge(), nRating,
                                      FormatMoney(player.m_dwValue, 0, 0, MONEY_AS_STORED, 0, 1), "");
    if (nRow < 0)
        return;
    pList->SetItemData(nRow, player.m_idPerson);
    PlayerRowIcons::AddForeignFlag(*pList, nRow, player.m_byNationality, 0);
    m_RowIcons.AddPosition(*pList, nRow, player.m_byPosition, kPositionColumn);
    if (bTicked && m_nMode == MODE_SEARCH)
        if (CGame* pGame = Game())
            if (CXAnimation* pTick = pGame->GetSharedBitmaps().GetSprite("icnTick.bmp"))
                pList->AddAlignedColumnGraphic(nRow, pTick, 6, kTickColumn, true);
}

void CClientScout::FinishList()
{
    CXListBox* pList = GetList();
    if (!pList)
        return;
    pList->Sort(0, true, LISTSORT_TEXT, 0);
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    ApplyRatingsOption(pList);
    pList->Redraw();
}

void CClientScout::ShowTotals(int nFound)
{
    m_fDays = 0;
    m_nCost = 0;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    for (const ID_PLAYER idPlayer : m_Ticked)
        if (const CPlayerDatabase* pPlayer = pDatabase ? pDatabase->GetPlayerFromID(idPlayer) : nullptr) {
            m_fDays += ScoutingDays(IsHome(*pPlayer));
            m_nCost += ScoutingCost(IsHome(*pPlayer));
        }
    if (auto* pCost = Control<CXStatic>(this, ID_COST))
        SetMoneyText(pCost, m_nCost, MONEY_AS_STORED);
    if (auto* pDays = Control<CXStatic>(this, ID_DAYS))
        pDays->SetText("%d", static_cast<int>(m_fDays));
    if (auto* pFound = Control<CXStatic>(this, ID_FOUND); pFound && nFound >= 0)
        pFound->SetText("%d", nFound);
}

void CClientScout::Search()
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    CSaveGame* pHuman = Human();
    if (!pList || !pDatabase || !pHuman || !m_pCriteria || m_nMode != MODE_SEARCH)
        return;
    const CClubDatabase* pOwnClub = pHuman->GetClub();
    const CCountryDatabase* pHome = pOwnClub ? pOwnClub->m_pCountry : nullptr;
    const CStaffDatabase* pScout = SelectedScout();
    const CScoutManager& scouts = pHuman->GetScoutManager();
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    int nMatches = 0;
    auto consider = [&](const CPlayerDatabase* pPlayer) {
        if (nMatches >= kMostMatches || !pPlayer || scouts.IsScoutWatchingPlayer(pScout, pPlayer) ||
            !MatchesCriteria(*m_pCriteria, *pPlayer, pHome))
            return;
        ++nMatches;
        AddPlayerRow(*pPlayer, GetScoutedRating(*pPlayer, pScout), m_Ticked.count(pPlayer->m_idPerson) != 0);
    };
    for (const CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            if (pDivision->m_byKind == DIVISION_KIND_BOTTOM_OTHER)
                continue;
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                if (pClub != pOwnClub)
                    for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                        consider(pPlayer);
        }
    for (const CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>())
        for (const CPlayerDatabase* pPlayer : pCountry->GetUnattachedPlayers().Items<CPlayerDatabase>())
            consider(pPlayer);
    // Picks the list no longer shows are dropped.
    for (auto it = m_Ticked.begin(); it != m_Ticked.end();)
        it = pList->FindItemData(*it) < 0 ? m_Ticked.erase(it) : std::next(it);
    ShowButton(ID_SEND, true, !m_Ticked.empty());
    FinishList();
    ShowTotals(nMatches);
}

void CClientScout::ShowQueryPlayers()
{
    CXListBox* pList = GetList();
    CSaveGame* pHuman = Human();
    const CStaffDatabase* pScout = SelectedScout();
    const CScoutPlayerQuery* pQuery = pHuman && pScout ? pHuman->GetScoutManager().FindQueryByScout(pScout->GetId()) : nullptr;
    if (!pList || !pQuery)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    double fDays = 0;
    int32_t nCost = 0;
    for (const SCOUTQUERYENTRY* pEntry : pQuery->GetEntries().Items<SCOUTQUERYENTRY>()) {
        const auto* pPlayer = pEntry->IsYouth() ? nullptr : static_cast<const CPlayerDatabase*>(pEntry->GetPerson());
        if (!pPlayer)
            continue;
        fDays += ScoutingDays(IsHome(*pPlayer));
        nCost += ScoutingCost(IsHome(*pPlayer));
        AddPlayerRow(*pPlayer, GetScoutedRating(*pPlayer, pScout), true);
    }
    FinishList();
    m_Ticked.clear();
    ShowTotals(pList->GetCount());
    // The running query's own totals.
    m_fDays = fDays;
    m_nCost = nCost;
    if (auto* pCost = Control<CXStatic>(this, ID_COST))
        SetMoneyText(pCost, m_nCost, MONEY_AS_STORED);
    if (auto* pDays = Control<CXStatic>(this, ID_DAYS))
        pDays->SetText("%d", static_cast<int>(m_fDays));
}

void CClientScout::ShowReports(bool bYouth)
{
    CXListBox* pList = GetList();
    CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CStaffDatabase* pScout = SelectedScout();
    if (!pList || !pHuman || !pDatabase || !pScout)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (const SCOUTREPORT* pReport : pHuman->GetScoutManager().GetReports().Items<SCOUTREPORT>()) {
        if (pReport->dwScoutId != pScout->GetId() || (pReport->byYouth != 0) != bYouth)
            continue;
        if (bYouth) {
            const CYouthDatabase* pYouth = pDatabase->GetYouthFromID(pReport->dwPersonId);
            if (!pYouth)
                continue;
            const char* pszClub = pYouth->m_pClub ? pYouth->m_pClub->GetName() : Text(kWordsSet, kNoClubItem);
            const int nRow = pList->AddString(kText, "%s\t%s\t%2d\t%2d\t%2d\t%s\t%s", pYouth->GetShortName(), pszClub,
                                              pYouth->m_byPosition, pYouth->GetAge(), pYouth->GetRatingForPosition(-1),
                                              Text(kWordsSet, kNoFigureItem), "");
            if (nRow >= 0) {
                pList->SetItemData(nRow, pYouth->m_idPerson);
                m_RowIcons.AddPosition(*pList, nRow, pYouth->m_byPosition, kPositionColumn);
            }
        } else if (const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(pReport->dwPersonId)) {
            AddPlayerRow(*pPlayer, pPlayer->GetRatingForPosition(-1), false);
        }
    }
    FinishList();
}

// ---- picks ----

void CClientScout::ClearTicks()
{
    m_Ticked.clear();
    m_fDays = 0;
    m_nCost = 0;
}

bool CClientScout::ToggleTick(int nRow)
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pList || !pDatabase || m_nMode != MODE_SEARCH || m_bQueryRunning || nRow < 0 || nRow >= pList->GetCount())
        return false;
    const auto idPlayer = static_cast<ID_PLAYER>(pList->GetItemData(nRow));
    if (m_Ticked.erase(idPlayer) != 0) {
        pList->DeleteColumnGraphics(nRow, kTickColumn);
    } else {
        if (GetTickedCount() >= kMostTicks || !pDatabase->GetPlayerFromID(idPlayer))
            return false;
        m_Ticked.insert(idPlayer);
        if (CGame* pGame = Game())
            if (CXAnimation* pTick = pGame->GetSharedBitmaps().GetSprite("icnTick.bmp"))
                pList->AddAlignedColumnGraphic(nRow, pTick, 6, kTickColumn, true);
    }
    ShowButton(ID_SEND, true, !m_Ticked.empty());
    ShowTotals(-1);
    pList->RedrawRow(nRow, true);
    return true;
}

bool CClientScout::StoreScoutPlayerQuery()
{
    CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    CStaffDatabase* pScout = SelectedScout();
    CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    if (!m_pCriteria || !pHuman || !pDatabase || !pScout || !pClub)
        return false;
    auto pQuery = std::make_unique<CScoutPlayerQuery>();
    double fDays = 0;
    int32_t nCost = 0;
    for (const ID_PLAYER idPlayer : m_Ticked)
        if (const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(idPlayer)) {
            fDays += ScoutingDays(IsHome(*pPlayer));
            nCost += ScoutingCost(IsHome(*pPlayer));
            pQuery->AddPlayer(pPlayer, false);
        }
    if (pQuery->GetEntryCount() == 0) {
        DebugLog(1, "[CClientScout::StoreScoutPlayerQuery] Could not find any players in the query!");
        return false;
    }
    pQuery->SetScout(pScout);
    pQuery->m_dwSecond = static_cast<uint32_t>(nCost);
    pQuery->m_wValue = static_cast<uint16_t>(fDays);
    if (!pHuman->GetScoutManager().SendScout(pQuery.get(), static_cast<int>(fDays))) {
        DebugLog(1, "[CClientScout::StoreScoutPlayerQuery] The scout could not be sent");
        return false;
    }
    pQuery.release();
    pClub->AddScoutPlayerQuery(pScout->GetId(), nCost);
    ClearTicks();
    m_bQueryRunning = true;
    UpdateScoutDetails();
    return true;
}

bool CClientScout::RemoveScoutPlayerQuery()
{
    CSaveGame* pHuman = Human();
    const CStaffDatabase* pScout = SelectedScout();
    CScoutManager* pScouts = pHuman ? &pHuman->GetScoutManager() : nullptr;
    CScoutPlayerQuery* pQuery = pScouts && pScout ? pScouts->FindQueryByScout(pScout->GetId()) : nullptr;
    m_bQueryRunning = false;
    if (!pQuery) {
        DebugLog(1, "[CClientScout::RemoveScoutPlayerQuery] Could not find a player query for the selected scout");
        return false;
    }
    pScouts->DeleteQuery(pQuery);
    UpdateScoutDetails();
    return true;
}

// ---- input ----

void CClientScout::OnClicked(uint32_t dwID)
{
    switch (dwID) {
    case ID_LIST: {
        const CXListBox* pList = GetList();
        if (pList && pList->m_nClickedColumn == kTickColumn)
            ToggleTick(pList->GetSelection());
        break;
    }
    case ID_SEARCH:
        ReadCriteria();
        Search();
        break;
    case ID_SEND:
        StoreScoutPlayerQuery();
        break;
    case ID_RECALL:
        RemoveScoutPlayerQuery();
        break;
    default:
        CGameClient::OnClicked(dwID);
        break;
    }
}

void CClientScout::OnDoubleClicked(uint32_t dwID)
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const int nRow = pList ? pList->GetSelection() : -1;
    if (dwID != ID_LIST || nRow < 0 || !pDatabase)
        return;
    const auto dwPerson = static_cast<uint32_t>(pList->GetItemData(nRow));
    // A player's row opens his details, a youth's row the youth's.
    if (pList->HoverColumn() != kClubColumn) {
        if (m_nMode != MODE_YOUTH_REPORTS)
            ShowPlayerDetails(dwPerson);
        else
            ShowYouthDetails(dwPerson);
        return;
    }
    const CClubDatabase* pClub = nullptr;
    if (m_nMode == MODE_YOUTH_REPORTS) {
        const CYouthDatabase* pYouth = pDatabase->GetYouthFromID(dwPerson);
        pClub = pYouth ? pYouth->m_pClub : nullptr;
    } else {
        const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(dwPerson);
        pClub = pPlayer ? pPlayer->m_pClub : nullptr;
    }
    CGameClient* pClubScreen = GetScreenObject(SCREEN_CLUB_GENERAL);
    if (pClub && pClub->m_pDivision && pClub->m_pDivision->m_byKind == DIVISION_KIND_LEAGUE && g_pNavigationBar &&
        pClubScreen)
        g_pNavigationBar->SetNextClient(pClubScreen, pClub->GetID());
    else if (CGameMessageBox* pBox = GetGameMessageBox())
        pBox->Show(CGameMessageBox::MODE_OK, kClubDetailsMessage);
}

void CClientScout::OnScroll(uint32_t dwID)
{
    const int nFirst = static_cast<int>(ID_FIRST_MINIMUM_SLIDER);
    const int nIndex = static_cast<int>(dwID) - nFirst;
    if (nIndex < 0 || nIndex >= 2 * kRatingRows)
        return;
    const int nRow = nIndex % kRatingRows;
    const bool bMinimum = nIndex < kRatingRows;
    auto* pMinimum = Control<CXSlider>(this, ID_FIRST_MINIMUM_SLIDER + nRow);
    auto* pMaximum = Control<CXSlider>(this, ID_FIRST_MAXIMUM_SLIDER + nRow);
    if (!pMinimum || !pMaximum)
        return;
    // The moved end stops at its partner.
    if (pMinimum->GetValue() > pMaximum->GetValue()) {
        if (bMinimum)
            pMinimum->SetPos(pMaximum->GetValue());
        else
            pMaximum->SetPos(pMinimum->GetValue());
    }
    ShowRange(nRow);
}

void CClientScout::OnEndScroll(uint32_t dwID)
{
    OnScroll(dwID);
    // A running query's criteria are not the scout's to change.
    if (m_bQueryRunning && !m_bFilling)
        UpdateScoutDetails();
}

void CClientScout::OnEditChange(CXControl*)
{
    if (m_bQueryRunning && !m_bFilling)
        UpdateScoutDetails();
}

void CClientScout::UpdateBars()
{
    CGameClient::UpdateBars();
    ApplyRatingsOption(GetList());
}

uint32_t CClientScout::StepList(int nStep)
{
    CXListBox* pList = GetList();
    if (!pList || pList->GetCount() == 0)
        return 0;
    const int nRow = std::clamp(std::max(pList->GetSelection(), 0) + nStep, 0, pList->GetCount() - 1);
    pList->SetSelection(nRow);
    return static_cast<uint32_t>(pList->GetItemData(nRow));
}
