#include "screens/CClientTrainingIndividual.h"
#include "screens/ChoiceQuestion.h"
#include "screens/TrainingDelegation.h"
#include "shell/FilterButton.h"

#include "popups/CPopupListFilter.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "database/PersonOwners.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXSlider.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>

namespace {

using Screen = CClientTrainingIndividual;
const choice_question::Buttons kBottomButtons{Screen::ID_DELEGATE,
                                              Screen::ID_UNDO,
                                              Screen::ID_UNDO_ALL,
                                              Screen::MESSAGE_WHO_TRAINS,
                                              Screen::MESSAGE_UNDO_ALL,
                                              {Screen::ID_STYLE_DEFENSIVE, Screen::ID_STYLE_BALANCED,
                                               Screen::ID_STYLE_ATTACKING}};

constexpr int kRowHeight = 16;
constexpr COLORREF kRowText = plat::RGB(242, 242, 234);
constexpr COLORREF kAxisColour = plat::RGB(150, 170, 190);
constexpr COLORREF kLabelColour = plat::RGB(220, 220, 210);
constexpr COLORREF kTrackShade = plat::RGB(10, 24, 38);
constexpr int kViewTextSet = 13;
constexpr int kHoursTextSet = 14;
constexpr int kCaptionSet = 114;
constexpr int kCaptionItem = 14;
constexpr int kMonthSet = 130;
constexpr int kPanelTabSet = 135;
constexpr int kFirstTeamTabSet = 157;
constexpr int kYouthTabSet = 158;
constexpr int kSkillNameSet = 203;
constexpr int kSwatchLeft = 286;
constexpr int kHistoryWeeks = 52;
constexpr int kHistoryRecordBytes = 10;
constexpr uint32_t kFirstTeamGraphStyle = GRAPH_ITEM_LABELS | GRAPH_ITEM_LABELS_BY_DIVISION;
constexpr uint32_t kYouthGraphStyle = kFirstTeamGraphStyle | GRAPH_RIGHT_DOWNWARD | GRAPH_LEFT_ZERO_LINE |
                                      GRAPH_RIGHT_ZERO_LINE;
constexpr COLORREF kSkillColours[TRAINING_AREAS] = {
    plat::RGB(255, 33, 33),   plat::RGB(255, 247, 33), plat::RGB(255, 66, 189),
    plat::RGB(115, 255, 33),  plat::RGB(189, 57, 255), plat::RGB(173, 173, 181),
    plat::RGB(74, 41, 255),   plat::RGB(0, 173, 8),    plat::RGB(255, 140, 90)};
// The attribute shown beside each share, in slider order.
constexpr int kAreaAttributes[TRAINING_AREAS] = {
    PLAYER_ATTRIBUTE_HANDLING, PLAYER_ATTRIBUTE_TACKLING, PLAYER_ATTRIBUTE_PASSING,
    PLAYER_ATTRIBUTE_DRIBBLING, PLAYER_ATTRIBUTE_HEADING, PLAYER_ATTRIBUTE_SHOOTING,
    PLAYER_ATTRIBUTE_PACE,     PLAYER_ATTRIBUTE_STRENGTH, PLAYER_ATTRIBUTE_FITNESS};

// Number, name, position (icon), role (icon), rating, then the attributes.
const LISTCOLUMN kColumns[] = {
    {0, 24, 5, 0, 2, 0, 96, LISTSORT_NUMBER, 0},     {24, 200, 4, 0, 0, 0, 95, LISTSORT_TEXT, 0},
    {200, 230, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0}, {230, 264, 0, 0, 'x', 0, 964, LISTSORT_NUMBER, 0},
    {264, 294, 5, 0, 2, 0, 968, LISTSORT_NUMBER, 0},  {294, 324, 5, 0, 2, 0, 97, LISTSORT_NUMBER, 0},
    {324, 354, 5, 0, 2, 0, 98, LISTSORT_NUMBER, 0},   {354, 384, 5, 0, 2, 0, 99, LISTSORT_NUMBER, 0},
    {384, 414, 5, 0, 2, 0, 100, LISTSORT_NUMBER, 0},  {414, 444, 5, 0, 2, 0, 101, LISTSORT_NUMBER, 0},
    {444, 474, 5, 0, 2, 0, 102, LISTSORT_NUMBER, 0},  {474, 504, 5, 0, 2, 0, 103, LISTSORT_NUMBER, 0},
    {504, 534, 5, 0, 2, 0, 104, LISTSORT_NUMBER, 0},  {534, 564, 5, 0, 2, 0, 966, LISTSORT_NUMBER, 0},
    {564, 594, 5, 0, 2, 0, 967, LISTSORT_NUMBER, 0},  {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kViewColumns[] = {
    {0, 140, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

int AreaOfSlider(uint32_t dwID)
{
    const int n = static_cast<int>(dwID) - static_cast<int>(CClientTrainingIndividual::ID_FIRST_SLIDER);
    return n >= 0 && n < TRAINING_AREAS ? n : -1;
}

}  // namespace

CClientTrainingIndividual& GetTrainingIndividualScreen()
{
    static CClientTrainingIndividual s_Screen;
    return s_Screen;
}

CClientTrainingIndividual::CClientTrainingIndividual() = default;
CClientTrainingIndividual::~CClientTrainingIndividual() = default;

// ---- rules ----

void CClientTrainingIndividual::BalanceShares(std::array<int, TRAINING_AREAS>& anShares, int nDragged,
                                              uint16_t wTicks)
{
    if (nDragged < 0 || nDragged >= TRAINING_AREAS)
        return;
    int nTotal = 0;
    for (int nShare : anShares)
        nTotal += nShare;
    const int nDiff = 100 - nTotal;
    int nCount = TRAINING_AREAS;
    if (nDiff < 0) {
        nCount = 0;
        for (int i = 0; i < TRAINING_AREAS; ++i)
            if ((wTicks >> i & 1) && anShares[static_cast<size_t>(i)] >= 2)
                ++nCount;
    }
    if (nCount > 0) {
        const int nStep = nDiff / nCount;
        for (int i = 0; i < TRAINING_AREAS; ++i)
            if (i != nDragged && (wTicks >> i & 1))
                anShares[static_cast<size_t>(i)] = std::clamp(anShares[static_cast<size_t>(i)] + nStep, 0, 100);
    }
    // The dragged share takes no more than what the others leave, so that
    // the shares never add up to more than the whole week.
    int nOthers = 0;
    for (int i = 0; i < TRAINING_AREAS; ++i)
        if (i != nDragged)
            nOthers += anShares[static_cast<size_t>(i)];
    int& nOwn = anShares[static_cast<size_t>(nDragged)];
    nOwn = std::clamp(nOwn, 0, std::max(0, 100 - nOthers));
}

void CClientTrainingIndividual::ShareToHours(int nShare, int nSessions, int& nHours, int& nMinutes)
{
    const double dHours = nShare * 0.01 * nSessions;
    nHours = static_cast<int>(dHours);
    nMinutes = static_cast<int>((dHours * 100.0 - nHours * 100.0) * 0.6 + 1e-9);
}

int CClientTrainingIndividual::LastRecordedWeek(const CDate& today)
{
    // The history takes its record on Mondays, which the week numbers do
    // not start on: a week whose Monday is still to come holds last year's.
    constexpr int kMonday = 1;
    const int nBack = (today.GetDayOfWeek() - kMonday + 7) % 7;
    return CDatabaseHandler::GetWeekNumber(CDate(today.GetValue(), -nBack));
}

// ---- state ----

INDIVIDUALTRAINING* CClientTrainingIndividual::FindEntry(uint32_t dwId, int nView)
{
    if (nView != VIEW_FIRST_TEAM && nView != VIEW_YOUTH)
        return nullptr;
    for (INDIVIDUALTRAINING& entry : m_aEntries[nView])
        if (dwId != 0 && entry.dwPlayerId == dwId)
            return &entry;
    return nullptr;
}

INDIVIDUALTRAINING* CClientTrainingIndividual::CurrentEntry()
{
    if (m_nView != VIEW_FIRST_TEAM && m_nView != VIEW_YOUTH)
        return nullptr;
    // A player without an entry of his own is shown with the first one.
    INDIVIDUALTRAINING* pEntry = FindEntry(m_dwPlayer, m_nView);
    return pEntry ? pEntry : &m_aEntries[m_nView][0];
}

const INDIVIDUALTRAINING* CClientTrainingIndividual::GetCurrentEntry() const
{
    return const_cast<CClientTrainingIndividual*>(this)->CurrentEntry();
}

CPersonDatabase* CClientTrainingIndividual::FindPerson(uint32_t dwId) const
{
    CDatabaseHandler* pDatabase = CSaveGame::m_pDatabaseHandler;
    if (!pDatabase || dwId == 0)
        return nullptr;
    if (m_nView == VIEW_YOUTH)
        return pDatabase->GetYouthFromID(dwId);
    return pDatabase->GetPlayerFromID(dwId);
}

CXListBoxEx* CClientTrainingIndividual::GetPlayerList() const
{
    return dynamic_cast<CXListBoxEx*>(FindControl(ID_PLAYERS));
}

CXSlider* CClientTrainingIndividual::GetSlider(int nArea) const
{
    return dynamic_cast<CXSlider*>(FindControl(ID_FIRST_SLIDER + static_cast<uint32_t>(nArea)));
}

CXGraph* CClientTrainingIndividual::GetGraph() const { return dynamic_cast<CXGraph*>(FindControl(ID_GRAPH)); }

CXStatic* CClientTrainingIndividual::GetStatic(uint32_t dwID) const
{
    return dynamic_cast<CXStatic*>(FindControl(dwID));
}

// ---- entry and exit ----

bool CClientTrainingIndividual::OnInitDialog()
{
    const CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    m_pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    m_dwHumanSerial = m_pHuman ? m_pHuman->GetSerial() : 0;
    m_pClub = m_pHuman ? m_pHuman->GetClub() : nullptr;
    m_bInitialised = false;
    m_bFixedNumbers = m_pClub && m_pClub->m_pDivision && m_pClub->m_pDivision->m_bySquadNumbers != 0;
    m_Undo.clear();
    m_nView = VIEW_NONE;
    m_adwFilters = {kWholeFilter, kWholeFilter};
    m_dwPlayer = 0;
    m_nDragged = -1;
    m_nSortColumn = 2;
    m_bSortAscending = true;
    if (m_pHuman) {
        const CTrainingManager& training = m_pHuman->GetTrainingManager();
        std::copy(training.GetFirstTeamEntries(), training.GetFirstTeamEntries() + TRAINING_ENTRIES,
                  m_aEntries[VIEW_FIRST_TEAM]);
        std::copy(training.GetYouthEntries(), training.GetYouthEntries() + TRAINING_ENTRIES, m_aEntries[VIEW_YOUTH]);
        m_nSessions = training.GetKind11SlotCount();
    } else {
        m_nSessions = 0;
    }
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    BuildControls();
    ShowView(VIEW_FIRST_TEAM);
    m_bInitialised = true;
    UpdateUndoButtons();
    UpdateDelegation(false);
    UpdateBars();
    return bResult;
}

void CClientTrainingIndividual::OnDestroy()
{
    // A game loaded from this screen has freed the human it showed: the
    // entries go with that game, not into the loaded one.
    const CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (m_pHuman && pDatabase && pDatabase->GetCurrentSaveGame() == m_pHuman &&
        m_pHuman->GetSerial() == m_dwHumanSerial) {
        CTrainingManager& training = m_pHuman->GetTrainingManager();
        training.SetFirstTeamEntries(m_aEntries[VIEW_FIRST_TEAM]);
        training.SetYouthEntries(m_aEntries[VIEW_YOUTH]);
    }
    m_Undo.clear();
    m_bInitialised = false;
    CGameClient::OnDestroy();
    m_RowIcons.Clear();
    m_pFilterFace.reset();
}

void CClientTrainingIndividual::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
    CGame* pGame = Game();
    CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr;
    if (pShading)
        ShadeRectangle(m_pBackground, pShading, 16, 280, 280, 470);
    std::unique_ptr<CXSurface> pTrack(LoadMainArchiveBitmap("TrainBar.bmp", true));
    if (!pTrack)
        DebugLog(0, "[CClientTrainingIndividual::ConstructScreen] 'TrainBar.bmp' could not be loaded");
    // Each row names its skill beside a swatch of the skill's colour in the
    // graph, so that both the sliders and the lines can be told apart.
    plat::DeviceContext* pDC = m_pBackground->m_pSurface ? m_pBackground->m_pSurface->getDC() : nullptr;
    if (pDC) {
        pDC->selectFont(g_hSmallFont);
        pDC->setBkMode(plat::TRANSPARENT);
        pDC->setTextColor(kRowText);
    }
    for (int i = 0; i < TRAINING_AREAS; ++i) {
        const int y = kRowTop + kRowStep * i;
        m_pBackground->FillGradient(kSliderLeft - 2, y - 1, 140, 18, kTrackShade, kTrackShade);
        if (pTrack)
            CXSurface::BlitKeyed(m_pBackground, pTrack.get(), kSliderLeft, y);
        m_pBackground->FillGradient(kSwatchLeft - 1, y + 3, 10, 10, kTrackShade, kTrackShade);
        m_pBackground->FillGradient(kSwatchLeft, y + 4, 8, 8, kSkillColours[i], kSkillColours[i]);
        if (pDC)
            pDC->textOut(kSwatchLeft + 12, y + 1, Text(kSkillNameSet, i));
    }
    if (pDC)
        m_pBackground->m_pSurface->releaseDC(pDC);
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const CAPTIONTAB panelTab[] = {{2, 0, 0, 296, 262, 160}, {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kPanelTabSet, panelTab);
    const CAPTIONTAB listTab[] = {{2, 0, 0, 16, 6, 160}, {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, m_nView == VIEW_YOUTH ? kYouthTabSet : kFirstTeamTabSet,
                    listTab);
}

void CClientTrainingIndividual::BuildControls()
{
    CGame* pGame = Game();
    m_RowIcons.Load();
    m_pTickImage = pGame ? pGame->GetSharedBitmaps().GetSprite("icnTick.bmp") : nullptr;

    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 614, 40, 14, 208, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    auto* pList = static_cast<CXListBoxEx*>(AddControl(XCONTROL_LISTBOXEX, 16, 40, 612, 244, ID_PLAYERS, nullptr));
    if (pList) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true, pBar,
                     true, nullptr, true, 0, false, false, true);
        pList->SetUpColumns(16, 40, 612, 244, kColumns, false, false, 204, false);
        pList->m_bDragOut = 0;
    }
    // Above the scroll bar: the list's header row fills the space above the list.
    AddFilterButton(*this, ID_FILTER, 613, 24, m_pFilterFace);
    if (auto* pCaption = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 20, 248, 596, 16, ID_CAPTION, nullptr))) {
        pCaption->m_hFont = g_hSmallBoldFont;
        pCaption->m_crText = 0x00FFFFFF;
        pCaption->m_bFrame = 0;
        pCaption->m_bClearBackground = 1;
    }
    // Set up at once, so that no drawing before the first player's finds
    // the graph without its plot area.
    if (auto* pGraph = static_cast<CXGraph*>(AddControl(XCONTROL_GRAPH, 51, 290, 245, 450, ID_GRAPH, nullptr))) {
        pGraph->SetUp(kFirstTeamGraphStyle, kAxisColour, kLabelColour, 0.0, 0, 0);
        pGraph->SetYRange(0, 100, 0, 100, false, false, false);
        pGraph->SetXAxis(kHistoryWeeks, 1, 1, kHistoryWeeks);
    }
    CXAnimation* pThumb = pGame ? pGame->GetSharedBitmaps().GetSprite("sldTrain.bmp") : nullptr;
    for (int i = 0; i < TRAINING_AREAS; ++i) {
        const int y = kRowTop + kRowStep * i;
        if (auto* pValue = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 358, y - 1, 44, 20,
                                                                 kValueIDs[i], nullptr))) {
            pValue->m_hFont = g_hSmallFont;
            pValue->m_crText = kRowText;
            pValue->m_byAlignment = 6;
            pValue->m_bClearBackground = 1;
        }
        auto* pSlider = static_cast<CXSlider*>(AddControlXYWH(XCONTROL_SLIDER, kSliderLeft, y, 136, 16,
                                                              ID_FIRST_SLIDER + static_cast<uint32_t>(i), nullptr));
        if (pSlider) {
            pSlider->SetUp(pThumb);
            pSlider->SetRange(0, 100);
        }
        if (auto* pHours = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 546, y - 1, 54, 18,
                                                                 ID_FIRST_HOURS + static_cast<uint32_t>(i), nullptr))) {
            pHours->m_hFont = g_hSmallFont;
            pHours->m_crText = kRowText;
            pHours->m_bFrame = 0;
            pHours->m_byAlignment = 2;
            pHours->m_bClearBackground = 1;
        }
        if (auto* pTick = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 604, y - 1, 20, 18,
                                                                ID_FIRST_TICK + static_cast<uint32_t>(i), nullptr))) {
            pTick->m_bClickable = 1;
            pTick->m_bPointer = 1;
            pTick->m_bClearBackground = 1;
        }
    }
    auto* pView = static_cast<CXComboBox*>(AddControl(XCONTROL_COMBOBOX, 484, 2, 624, 200, ID_VIEW, nullptr));
    if (pView) {
        pView->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, false, nullptr, true, nullptr, false, 2,
                     false, false, true);
        pView->SetUpColumns(484, 2, 624, 200, kViewColumns, false, false, kRowHeight, false);
        pView->SetAutoRedraw(false);
        // Without youth players the youth view is not offered.
        const int nViews = m_pClub && m_pClub->m_lstYouths.GetCount() > 0 ? 2 : 1;
        for (int i = 0; i < nViews; ++i) {
            pView->AddString(kRowText, "%s", Text(kViewTextSet, i));
            pView->SetItemData(i, static_cast<uint32_t>(i));
        }
        pView->SetAutoRedraw(true);
        pView->SetCurSel(VIEW_FIRST_TEAM);
    }
    AddBottomButton(ID_DELEGATE);
    AddBottomButton(ID_UNDO);
    AddBottomButton(ID_UNDO_ALL);
    AddBottomButton(ID_COPY);
}

void CClientTrainingIndividual::FillList(bool bSortByPosition)
{
    CXListBoxEx* pList = GetPlayerList();
    if (!pList || !m_pClub)
        return;
    m_bFilling = true;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    const uint32_t dwFilter = GetFilter();
    const int nHome = GetCountryNationality(m_pClub->GetCountry());
    auto addRow = [&](CPersonDatabase* pPerson, bool bYouth) {
        if (!PassesFilter(dwFilter, pPerson->m_byNationality == nHome, pPerson->m_byPosition))
            return;
        char szNumber[8];
        const auto* pPlayer = bYouth ? nullptr : static_cast<const CPlayerDatabase*>(pPerson);
        if (pPlayer && m_bFixedNumbers && pPlayer->m_bySquadNumber != 0)
            std::snprintf(szNumber, sizeof szNumber, "%2d", pPlayer->m_bySquadNumber);
        else
            std::snprintf(szNumber, sizeof szNumber, "- ");
        const uint16_t* pw = pPerson->m_awAttributes;
        const int nRow =
            pList->AddString(kRowText, "%s\t%s\t%d\t%d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d", szNumber,
                             pPerson->GetShortName(), pPerson->m_byPosition, pPerson->m_byRole,
                             pPerson->GetRatingForPosition(-1), pw[PLAYER_ATTRIBUTE_HANDLING] / 100,
                             pw[PLAYER_ATTRIBUTE_TACKLING] / 100, pw[PLAYER_ATTRIBUTE_PASSING] / 100,
                             pw[PLAYER_ATTRIBUTE_DRIBBLING] / 100, pw[PLAYER_ATTRIBUTE_HEADING] / 100,
                             pw[PLAYER_ATTRIBUTE_SHOOTING] / 100, pw[PLAYER_ATTRIBUTE_PACE] / 100,
                             pw[PLAYER_ATTRIBUTE_STRENGTH] / 100, pw[PLAYER_ATTRIBUTE_FITNESS] / 100,
                             pw[PLAYER_ATTRIBUTE_MORALE] / 100);
        if (nRow < 0)
            return;
        pList->SetItemData(nRow, pPerson->m_idPerson);
        m_RowIcons.AddPosition(*pList, nRow, pPerson->m_byPosition, 2);
        m_RowIcons.AddRole(*pList, nRow, pPerson->m_byRole, 3);
    };
    if (m_nView == VIEW_YOUTH)
        for (CYouthDatabase* pYouth : m_pClub->m_lstYouths.Items<CYouthDatabase>())
            addRow(pYouth, true);
    else
        for (CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
            addRow(pPlayer, false);
    if (bSortByPosition) {
        m_nSortColumn = 2;
        m_bSortAscending = true;
    }
    pList->Sort(m_nSortColumn, m_bSortAscending, LISTSORT_NUMBER, 0);
    pList->SetAutoRedraw(true);
    pList->Redraw();
    m_bFilling = false;
}

bool CClientTrainingIndividual::PassesFilter(uint32_t dwMask, bool bHomeNationality, int nPosition)
{
    return (dwMask & (bHomeNationality ? 1u : 2u)) != 0 && nPosition >= 0 && nPosition < 4 &&
           (dwMask & (4u << nPosition)) != 0;
}

uint32_t CClientTrainingIndividual::GetFilter() const
{
    return m_adwFilters[m_nView == VIEW_YOUTH ? VIEW_YOUTH : VIEW_FIRST_TEAM];
}

void CClientTrainingIndividual::SetFilter(uint32_t dwMask)
{
    uint32_t& dwStored = m_adwFilters[m_nView == VIEW_YOUTH ? VIEW_YOUTH : VIEW_FIRST_TEAM];
    if (dwMask == dwStored)
        return;
    dwStored = dwMask;
    FillList(false);
    CXListBoxEx* pList = GetPlayerList();
    if (!pList)
        return;
    const int nRow = pList->FindItemData(m_dwPlayer);
    m_bFilling = true;
    pList->SetSelection(nRow >= 0 ? nRow : 0);
    m_bFilling = false;
    if (nRow < 0)
        ShowPlayer(pList->GetCount() > 0 ? static_cast<uint32_t>(pList->GetItemData(0)) : 0);
}

void CClientTrainingIndividual::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup == &GetListFilterPopup())
        SetFilter(GetListFilterPopup().GetMask());
}

void CClientTrainingIndividual::ShowView(int nView)
{
    if (nView != VIEW_FIRST_TEAM && nView != VIEW_YOUTH)
        return;
    m_nView = nView;
    ConstructScreen();
    if (m_pDrawingSurface && m_pDrawingSurface->m_pSurface && m_pBackground && m_pBackground->m_pSurface)
        m_pDrawingSurface->m_pSurface->bltFast(0, 0, *m_pBackground->m_pSurface, nullptr, plat::BLTFAST_WAIT);
    FillList(true);
    for (int i = 0; i < GetControlCount(); ++i) {
        CXControl* pControl = GetControl(i);
        pControl->Show(pControl->m_bVisible != 0, true);
    }
    CXListBoxEx* pList = GetPlayerList();
    if (pList && pList->GetCount() > 0) {
        m_bFilling = true;
        pList->SetSelection(0);
        m_bFilling = false;
        ShowPlayer(static_cast<uint32_t>(pList->GetItemData(0)));
    } else {
        ShowPlayer(0);
    }
}

void CClientTrainingIndividual::ShowPlayer(uint32_t dwId)
{
    m_dwPlayer = dwId;
    const CPersonDatabase* pPerson = FindPerson(dwId);
    if (CXStatic* pCaption = GetStatic(ID_CAPTION)) {
        char szCaption[STATIC_TEXT_SIZE];
        std::snprintf(szCaption, sizeof szCaption, Text(kCaptionSet, kCaptionItem), pPerson ? pPerson->GetShortName() : "");
        pCaption->SetText("%s", pPerson ? szCaption : "");
    }
    for (int i = 0; i < TRAINING_AREAS; ++i)
        if (CXStatic* pValue = GetStatic(kValueIDs[i])) {
            if (pPerson)
                pValue->SetText("%d%%", pPerson->m_awAttributes[kAreaAttributes[i]] / 100);
            else
                pValue->SetText("%s", "");
        }
    ShowShares();
    DrawSkillGraph();
}

void CClientTrainingIndividual::ShowShares()
{
    const INDIVIDUALTRAINING* pEntry = CurrentEntry();
    for (int i = 0; i < TRAINING_AREAS; ++i) {
        if (CXSlider* pSlider = GetSlider(i)) {
            pSlider->SetPos(pEntry && m_nSessions > 0 ? pEntry->abyAreas[i] : 0);
            pSlider->Show(m_nSessions > 0, true);
        }
        ShowTick(i);
    }
    ShowHours();
}

void CClientTrainingIndividual::ShowHours()
{
    for (int i = 0; i < TRAINING_AREAS; ++i) {
        CXStatic* pHours = GetStatic(ID_FIRST_HOURS + static_cast<uint32_t>(i));
        const CXSlider* pSlider = GetSlider(i);
        if (!pHours)
            continue;
        int nHours = 0;
        int nMinutes = 0;
        ShareToHours(pSlider && m_nSessions > 0 ? pSlider->GetValue() : 0, m_nSessions, nHours, nMinutes);
        char szText[STATIC_TEXT_SIZE];
        if (nHours == 0)
            std::snprintf(szText, sizeof szText, Text(kHoursTextSet, 0), nMinutes);
        else if (nMinutes == 0)
            std::snprintf(szText, sizeof szText, Text(kHoursTextSet, 1), nHours);
        else
            std::snprintf(szText, sizeof szText, Text(kHoursTextSet, 2), nHours, nMinutes);
        pHours->SetText("%s", szText);
    }
}

void CClientTrainingIndividual::ShowTick(int nArea)
{
    CXStatic* pTick = GetStatic(ID_FIRST_TICK + static_cast<uint32_t>(nArea));
    const INDIVIDUALTRAINING* pEntry = CurrentEntry();
    if (!pTick)
        return;
    pTick->RemoveAllImages();
    if (pEntry && (pEntry->wTicks >> nArea & 1) && m_pTickImage)
        pTick->AddAlignedImage(m_pTickImage, 6);
    pTick->Show(pTick->m_bVisible != 0, true);
}

void CClientTrainingIndividual::DrawSkillGraph()
{
    CXGraph* pGraph = GetGraph();
    if (!pGraph)
        return;
    const bool bYouth = m_nView == VIEW_YOUTH;
    pGraph->Clear();
    pGraph->SetUp(bYouth ? kYouthGraphStyle : kFirstTeamGraphStyle, kAxisColour, kLabelColour, 0.0, 0, 0);
    pGraph->SetYRange(0, 100, 0, 100, false, false, false);
    for (int i = 0; i < TRAINING_AREAS; ++i)
        pGraph->SetUpLine(0, i, 2, kSkillColours[i], GRAPH_LINE, true, true, 0.0, 0);
    CDatabaseHandler* pDatabase = CSaveGame::m_pDatabaseHandler;
    const CPersonDatabase* pPerson = FindPerson(m_dwPlayer);
    // Up to 52 weeks, the newest recorded one last.
    const int nThisWeek = pDatabase ? LastRecordedWeek(pDatabase->GetGameDate()) : 0;
    int nFirstWeek = nThisWeek - (kHistoryWeeks - 1);
    auto finish = [&](int nWeeks) {
        // Each week named by its month where one starts.
        pGraph->SetXAxis(std::max(nWeeks, 2), 1, 1, std::max(nWeeks, 2));
        int nLastMonth = CDatabaseHandler::GetDateFromWeekNumber(nFirstWeek).GetMonth();
        for (int i = 1; i < nWeeks; ++i) {
            const CDate date = CDatabaseHandler::GetDateFromWeekNumber(nFirstWeek + i);
            if (date.GetMonth() != nLastMonth) {
                pGraph->SetItemLabel(i, Text(kMonthSet, date.GetMonth() - 1));
                nLastMonth = date.GetMonth();
            }
        }
        pGraph->Show(true, true);
    };
    const int nHeader = pPerson ? pPerson->GetHistoryHeaderOffset() : -1;
    uint8_t abyHeader[2] = {};
    if (!pDatabase || nHeader < 0 || !pDatabase->ReadPlayerHistory(nHeader, abyHeader, sizeof abyHeader)) {
        finish(kHistoryWeeks);
        return;
    }
    // The header names the first week the player has a record for.
    const int nRecorded = abyHeader[0] | abyHeader[1] << 8;
    if (nRecorded == 0 || nRecorded > nThisWeek) {
        DebugLog(1, bYouth ? "[CClientTrainingIndividual::SetUpSkillGraph] Could not find a valid week for this player!"
                           : "[CClientTrainingIndividual::DoGraphFirstTeamSetup] Could not find a valid week for this "
                             "player!");
        finish(kHistoryWeeks);
        return;
    }
    nFirstWeek = std::max(nFirstWeek, nRecorded);
    int nWeeks = 0;
    for (int nWeek = nFirstWeek; nWeek <= nThisWeek; ++nWeek, ++nWeeks) {
        uint8_t abyRecord[kHistoryRecordBytes] = {};
        const int nOffset = pPerson->GetHistoryRecordOffset(nWeek);
        if (nOffset < 0 || !pDatabase->ReadPlayerHistory(nOffset, abyRecord, sizeof abyRecord))
            break;
        for (int i = 0; i < TRAINING_AREAS; ++i)
            pGraph->AddValue(i, abyRecord[i]);
    }
    finish(nWeeks);
}

// ---- changes ----

void CClientTrainingIndividual::PushUndo(const UNDORECORD& record)
{
    m_Undo.push_back(record);
    UpdateUndoButtons();
}

void CClientTrainingIndividual::UpdateUndoButtons()
{
    choice_question::ShowUndoButtons(*this, kBottomButtons, !m_Undo.empty());
}

void CClientTrainingIndividual::UpdateDelegation(bool bChanged)
{
    training_delegation::Update(*this, ID_DELEGATE, m_pHuman, m_pClub, bChanged, [this] {
        // The assistant's plan and style replace every entry.
        CTrainingManager& training = m_pHuman->GetTrainingManager();
        training.SetFirstTeamEntries(m_aEntries[VIEW_FIRST_TEAM]);
        training.SetYouthEntries(m_aEntries[VIEW_YOUTH]);
        training.DoDelegate();
        std::copy(training.GetFirstTeamEntries(), training.GetFirstTeamEntries() + TRAINING_ENTRIES,
                  m_aEntries[VIEW_FIRST_TEAM]);
        std::copy(training.GetYouthEntries(), training.GetYouthEntries() + TRAINING_ENTRIES, m_aEntries[VIEW_YOUTH]);
        m_nSessions = training.GetKind11SlotCount();
        ShowPlayer(m_dwPlayer);
        m_Undo.clear();
        UpdateUndoButtons();
    });
}

void CClientTrainingIndividual::DelegateTraining(uint8_t byPreference)
{
    if (training_delegation::Delegate(m_pHuman, byPreference))
        UpdateDelegation(false);
}

void CClientTrainingIndividual::StoreSliderShares()
{
    INDIVIDUALTRAINING* pEntry = CurrentEntry();
    if (!pEntry)
        return;
    for (int i = 0; i < TRAINING_AREAS; ++i)
        if (const CXSlider* pSlider = GetSlider(i))
            pEntry->abyAreas[i] = static_cast<uint8_t>(std::clamp(pSlider->GetValue(), 0, 100));
}

void CClientTrainingIndividual::ChooseView(int nView)
{
    if (nView == m_nView || (nView != VIEW_FIRST_TEAM && nView != VIEW_YOUTH))
        return;
    if (nView == VIEW_YOUTH && (!m_pClub || m_pClub->m_lstYouths.GetCount() == 0))
        return;
    UNDORECORD record;
    record.byKind = UNDO_VIEW;
    record.dwValue = static_cast<uint32_t>(m_nView);
    PushUndo(record);
    ShowView(nView);
    if (auto* pView = dynamic_cast<CXComboBox*>(FindControl(ID_VIEW)); pView && pView->GetSelection() != nView) {
        m_bFilling = true;
        pView->SetCurSel(nView);
        m_bFilling = false;
    }
}

void CClientTrainingIndividual::Undo()
{
    if (m_Undo.empty())
        return;
    const UNDORECORD record = m_Undo.back();
    m_Undo.pop_back();
    switch (record.byKind) {
    case UNDO_VIEW:
        ShowView(static_cast<int>(record.dwValue));
        if (auto* pView = dynamic_cast<CXComboBox*>(FindControl(ID_VIEW))) {
            m_bFilling = true;
            pView->SetCurSel(m_nView);
            m_bFilling = false;
        }
        break;
    case UNDO_PLAYER:
        if (CXListBoxEx* pList = GetPlayerList())
            for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
                if (static_cast<uint32_t>(pList->GetItemData(nRow)) == record.dwValue) {
                    m_bFilling = true;
                    pList->SetSelection(nRow);
                    m_bFilling = false;
                }
        ShowPlayer(record.dwValue);
        break;
    case UNDO_SLIDERS:
        if (INDIVIDUALTRAINING* pEntry = CurrentEntry())
            for (int i = 0; i < TRAINING_AREAS; ++i)
                pEntry->abyAreas[i] = static_cast<uint8_t>(record.anShares[static_cast<size_t>(i)]);
        ShowShares();
        break;
    case UNDO_TICK:
        if (INDIVIDUALTRAINING* pEntry = CurrentEntry()) {
            const int nArea = static_cast<int>(record.dwValue - ID_FIRST_TICK);
            pEntry->wTicks = static_cast<uint16_t>(pEntry->wTicks ^ (1u << nArea));
            ShowTick(nArea);
        }
        break;
    default:
        break;
    }
    UpdateUndoButtons();
}

void CClientTrainingIndividual::UndoAll()
{
    while (!m_Undo.empty())
        Undo();
}

int CClientTrainingIndividual::CopyToPosition()
{
    const CPersonDatabase* pShown = FindPerson(m_dwPlayer);
    const INDIVIDUALTRAINING* pSource = FindEntry(m_dwPlayer, m_nView);
    CXListBoxEx* pList = GetPlayerList();
    if (!pShown || !pSource || !pList)
        return 0;
    const INDIVIDUALTRAINING source = *pSource;
    int nCopied = 0;
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
        const auto dwId = static_cast<uint32_t>(pList->GetItemData(nRow));
        const CPersonDatabase* pPerson = FindPerson(dwId);
        // A listed player without an entry of his own is left alone rather
        // than overwriting someone else's.
        INDIVIDUALTRAINING* pEntry = FindEntry(dwId, m_nView);
        if (dwId == m_dwPlayer || !pPerson || !pEntry || pPerson->m_byPosition != pShown->m_byPosition)
            continue;
        std::copy(std::begin(source.abyAreas), std::end(source.abyAreas), pEntry->abyAreas);
        pEntry->wTicks = source.wTicks;
        ++nCopied;
    }
    UpdateDelegation(true);
    return nCopied;
}

// ---- input ----

void CClientTrainingIndividual::OnSelChange(uint32_t dwID)
{
    if (!m_bInitialised || m_bFilling)
        return;
    if (dwID == ID_PLAYERS) {
        CXListBoxEx* pList = GetPlayerList();
        const int nRow = pList ? pList->GetSelection() : -1;
        if (nRow < 0)
            return;
        const auto dwId = static_cast<uint32_t>(pList->GetItemData(nRow));
        if (dwId == m_dwPlayer)
            return;
        UNDORECORD record;
        record.byKind = UNDO_PLAYER;
        record.dwValue = m_dwPlayer;
        PushUndo(record);
        ShowPlayer(dwId);
    } else if (dwID == ID_VIEW) {
        if (auto* pView = dynamic_cast<CXComboBox*>(FindControl(ID_VIEW)))
            ChooseView(pView->GetSelection());
    }
}

void CClientTrainingIndividual::OnBeginScroll(uint32_t dwID)
{
    const int nArea = AreaOfSlider(dwID);
    if (nArea < 0)
        return;
    m_nDragged = nArea;
    for (int i = 0; i < TRAINING_AREAS; ++i)
        if (const CXSlider* pSlider = GetSlider(i))
            m_anDragStart[static_cast<size_t>(i)] = pSlider->GetValue();
}

void CClientTrainingIndividual::OnScroll(uint32_t dwID)
{
    const int nArea = AreaOfSlider(dwID);
    const INDIVIDUALTRAINING* pEntry = CurrentEntry();
    if (nArea < 0 || !pEntry || m_nSessions <= 0)
        return;
    std::array<int, TRAINING_AREAS> anShares{};
    for (int i = 0; i < TRAINING_AREAS; ++i)
        if (const CXSlider* pSlider = GetSlider(i))
            anShares[static_cast<size_t>(i)] = pSlider->GetValue();
    BalanceShares(anShares, nArea, pEntry->wTicks);
    for (int i = 0; i < TRAINING_AREAS; ++i)
        if (CXSlider* pSlider = GetSlider(i); pSlider && pSlider->GetValue() != anShares[static_cast<size_t>(i)])
            pSlider->SetPos(anShares[static_cast<size_t>(i)]);
    ShowHours();
}

void CClientTrainingIndividual::OnEndScroll(uint32_t dwID)
{
    const int nArea = AreaOfSlider(dwID);
    if (nArea < 0 || !CurrentEntry())
        return;
    if (m_nDragged != nArea)
        OnBeginScroll(dwID);
    UNDORECORD record;
    record.byKind = UNDO_SLIDERS;
    record.anShares = m_anDragStart;
    PushUndo(record);
    OnScroll(dwID);
    StoreSliderShares();
    m_nDragged = -1;
    UpdateDelegation(true);
}

void CClientTrainingIndividual::OnClicked(uint32_t dwID)
{
    if (dwID >= ID_FIRST_TICK && dwID < ID_FIRST_TICK + TRAINING_AREAS) {
        INDIVIDUALTRAINING* pEntry = CurrentEntry();
        if (!pEntry)
            return;
        const int nArea = static_cast<int>(dwID - ID_FIRST_TICK);
        pEntry->wTicks = static_cast<uint16_t>(pEntry->wTicks ^ (1u << nArea));
        ShowTick(nArea);
        UNDORECORD record;
        record.byKind = UNDO_TICK;
        record.dwValue = dwID;
        PushUndo(record);
        UpdateDelegation(true);
        return;
    }
    if (choice_question::OnBottomButton(dwID, kBottomButtons, [this] { Undo(); }))
        return;
    switch (dwID) {
    case ID_FILTER:
        CGameClient::OnClicked(dwID);
        GetListFilterPopup().ShowBesideControl(kFilterTextSet, FindControl(ID_FILTER), GetFilter());
        return;
    case ID_COPY:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_COPY);
        return;
    default:
        CGameClient::OnClicked(dwID);
        return;
    }
}

void CClientTrainingIndividual::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox) {
        CGameClient::OnEndMessageBoxPopup();
        return;
    }
    if (choice_question::OnAnswer(
            *pBox, kBottomButtons,
            [this](int nChoice) {
                training_delegation::Delegate(m_pHuman, training_delegation::StyleOfChoice(nChoice));
                UpdateDelegation(false);
            },
            [this] { UndoAll(); }))
        return;
    switch (pBox->GetTextItem()) {
    case MESSAGE_COPY:
        if (pBox->m_dwResultID == ID_CONFIRM)
            CopyToPosition();
        break;
    default:
        CGameClient::OnEndMessageBoxPopup();
        break;
    }
}

// ---- browsing ----

uint32_t CClientTrainingIndividual::MoveSelection(int nStep)
{
    CXListBoxEx* pList = GetPlayerList();
    if (!pList || pList->GetCount() == 0)
        return 0;
    const int nRow = std::clamp(pList->GetSelection() + nStep, 0, pList->GetCount() - 1);
    pList->SetSelection(nRow);
    pList->Scroll(LISTSCROLL_TO_ROW_TOO, nRow);
    return static_cast<uint32_t>(pList->GetItemData(nRow));
}

uint32_t CClientTrainingIndividual::GetCurrentListPlayer()
{
    const CXListBoxEx* pList = GetPlayerList();
    const int nRow = pList ? pList->GetSelection() : -1;
    return nRow >= 0 ? static_cast<uint32_t>(pList->GetItemData(nRow)) : 0;
}

void CClientTrainingIndividual::UpdateBars() { CGameClient::UpdateBars(); }

void CClientTrainingIndividual::OnPrint() { PrintAllControls(); }
