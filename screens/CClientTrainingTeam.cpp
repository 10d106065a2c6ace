#include "screens/CClientTrainingTeam.h"
#include "screens/ChoiceQuestion.h"
#include "screens/TrainingDelegation.h"

#include "popups/CPopupSaveTactics.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXManager.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

using Screen = CClientTrainingTeam;
const choice_question::Buttons kBottomButtons{Screen::ID_DELEGATE,
                                              Screen::ID_UNDO,
                                              Screen::ID_UNDO_ALL,
                                              Screen::MESSAGE_WHO_TRAINS,
                                              Screen::MESSAGE_UNDO_ALL,
                                              {Screen::ID_STYLE_DEFENSIVE, Screen::ID_STYLE_BALANCED,
                                               Screen::ID_STYLE_ATTACKING}};

constexpr int kDayNameSet = 15;
constexpr int kKindNameSet = 16;
constexpr int kVenueSet = 114;
constexpr int kVenueItems[3] = {0, 1, 35};
constexpr int kCampTextSet = 147;
constexpr int kTabSet = 159;
constexpr int kRowHeight = 16;
constexpr int kCaptionLeft = 192;
constexpr int kCaptionTop = 21;
constexpr int kCaptionWidth = 426;
constexpr int kCaptionHeight = 12;
constexpr int kBarLeft = 246;
constexpr int kBarRight = 566;
constexpr int kBarTop = 52;
constexpr int kBarHeight = 16;
constexpr int kDragPointer = 3;
constexpr uint32_t kPrintButton = 1058;
constexpr COLORREF kCaptionText = plat::RGB(242, 242, 234);
constexpr COLORREF kListText = plat::RGB(255, 255, 255);
constexpr COLORREF kBarFill = plat::RGB(0, 49, 110);
constexpr COLORREF kBarFrame = plat::RGB(0, 82, 183);
constexpr COLORREF kPaletteText = plat::RGB(220, 220, 210);
constexpr COLORREF kIconKey = plat::RGB(255, 0, 255);
// The club's own plan in the list: not a row of the run's plan list.
constexpr uint32_t kClubPlanRow = 0xFFFF;

const LISTCOLUMN kPlanColumns[] = {
    {0, 90, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

int PaletteX(int nKind) { return CClientTrainingTeam::kPaletteLeft + CClientTrainingTeam::kPaletteStep * (nKind / 6); }
int PaletteY(int nKind) { return CClientTrainingTeam::kPaletteTop + CClientTrainingTeam::kDayStep * (nKind % 6); }
int CellX(int nSlot) { return CClientTrainingTeam::kCellLeft + CClientTrainingTeam::kCellWidth * (nSlot % TRAINING_SLOTS_PER_DAY); }
int CellY(int nSlot) { return CClientTrainingTeam::kCellTop + CClientTrainingTeam::kDayStep * (nSlot / TRAINING_SLOTS_PER_DAY); }

int SlotOfCell(uint32_t dwID)
{
    const int n = static_cast<int>(dwID) - static_cast<int>(CClientTrainingTeam::ID_FIRST_CELL);
    return n >= 0 && n < TRAINING_WEEK_SLOTS ? n : -1;
}

int KindOfPalette(uint32_t dwID)
{
    const int n = static_cast<int>(dwID) - static_cast<int>(CClientTrainingTeam::ID_FIRST_PALETTE);
    return n >= 0 && n < TRAINING_ACTIVITY_KINDS ? n : -1;
}

}  // namespace

CClientTrainingTeam& GetTrainingTeamScreen()
{
    static CClientTrainingTeam s_Screen;
    return s_Screen;
}

CClientTrainingTeam::CClientTrainingTeam() = default;
CClientTrainingTeam::~CClientTrainingTeam() = default;

// ---- rules ----

CDate CClientTrainingTeam::RowDate(const CDate& today, int nRow)
{
    // Weekday 0 is Sunday: the week then starts tomorrow.
    const CDate monday(today.GetValue(), 1 - today.GetDayOfWeek());
    CDate date(monday.GetValue(), nRow);
    if (date < today)
        date += TRAINING_DAYS;
    return date;
}

int CClientTrainingTeam::FixtureVenue(ID_CLUB idClub, ID_CLUB idHome, ID_GROUND idGround, ID_GROUND idClubGround,
                                      ID_GROUND idOpponentGround)
{
    if (idHome == idClub)
        return idGround == idClubGround ? VENUE_HOME : VENUE_ELSEWHERE;
    return idGround == idOpponentGround ? VENUE_AWAY : VENUE_ELSEWHERE;
}

// ---- state ----

uint8_t CClientTrainingTeam::GetCellKind(int nSlot) const
{
    return nSlot >= 0 && nSlot < TRAINING_WEEK_SLOTS ? m_abyWeek[static_cast<size_t>(nSlot)] : TRAINING_KIND_REST;
}

CXStatic* CClientTrainingTeam::GetStatic(uint32_t dwID) const { return dynamic_cast<CXStatic*>(FindControl(dwID)); }

CXComboBox* CClientTrainingTeam::GetPlanList() const
{
    return g_pTitlebar ? g_pTitlebar->GetSelector(kPlanSelector) : nullptr;
}

bool CClientTrainingTeam::IsSessionControl(uint32_t dwID) { return SlotOfCell(dwID) >= 0 || KindOfPalette(dwID) >= 0; }

int CClientTrainingTeam::CellAt(int x, int y) const
{
    for (int nSlot = 0; nSlot < TRAINING_WEEK_SLOTS; ++nSlot) {
        const int nLeft = CellX(nSlot), nTop = CellY(nSlot);
        if (x >= nLeft && x < nLeft + kCellWidth && y >= nTop && y < nTop + kCellHeight)
            return nSlot;
    }
    return -1;
}

bool CClientTrainingTeam::IsHumanStillCurrent() const
{
    const CGame* pGame = Game();
    const CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    // Only a human the game still holds is looked at.
    return m_pHuman && pDatabase && pDatabase->GetCurrentSaveGame() == m_pHuman &&
           m_pHuman->GetSerial() == m_dwHumanSerial;
}

// ---- entry and exit ----

bool CClientTrainingTeam::OnInitDialog()
{
    m_pHuman = GetCurrentHuman();
    m_pClub = m_pHuman ? m_pHuman->GetClub() : nullptr;
    m_dwHumanSerial = m_pHuman ? m_pHuman->GetSerial() : 0;
    m_bInitialised = false;
    m_bDragging = false;
    m_bModified = false;
    m_Undo.clear();
    m_abyWeek.fill(TRAINING_KIND_REST);
    if (m_pHuman)
        std::copy_n(m_pHuman->GetTrainingManager().GetWeekPlan(), TRAINING_WEEK_SLOTS, m_abyWeek.begin());

    m_pIconSurface.reset(LoadMainArchiveBitmap("icnTeam.bmp", true));
    if (!m_pIconSurface)
        DebugLog(0, "[CClientTrainingTeam::OnInitDialog] 'icnTeam.bmp' could not be loaded");
    m_Icons.clear();
    for (int nKind = 0; m_pIconSurface && nKind < TRAINING_ACTIVITY_KINDS; ++nKind) {
        auto pIcon = std::make_unique<CXAnimation>();
        pIcon->Setup(m_pIconSurface.get(), kIconWidth, kIconHeight, 0, kIconHeight * nKind, 1, 1);
        m_Icons.push_back(std::move(pIcon));
    }
    m_pCampSurface.reset(LoadMainArchiveBitmap("icnTCamp.bmp", true));
    m_pCampIcon.reset();
    if (m_pCampSurface) {
        m_pCampIcon = std::make_unique<CXAnimation>();
        m_pCampIcon->Setup(m_pCampSurface.get(), 12, 12, 0, 0, 2, 2);
    } else {
        DebugLog(0, "[CClientTrainingTeam::OnInitDialog] 'icnTCamp.bmp' could not be loaded");
    }

    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar)
        g_pTitlebar->SetSelectors({kPlanSelector});
    // Nothing here to print: the bar's print button goes while the screen
    // is up and comes back as it was when it closes.
    if (auto* pPrint = g_pNavigationBar ? dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(kPrintButton)) : nullptr) {
        m_bPrintShown = pPrint->m_bVisible != 0 && !pPrint->m_bDisabled;
        pPrint->Enable(true);
        pPrint->Show(false, true);
    }
    BuildControls();
    BuildDays();
    ShowWeek(m_abyWeek.data());
    FillPlanList();
    m_bInitialised = true;
    UpdateUndoButtons();
    UpdateDelegation(false);
    UpdateBars();
    return bResult;
}

void CClientTrainingTeam::OnDestroy()
{
    if (m_bDragging) {
        m_bDragging = false;
        EndMouseHold();
    }
    SetHandPointer(false);
    if (auto* pPrint = g_pNavigationBar ? dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(kPrintButton)) : nullptr;
        pPrint && m_bPrintShown) {
        pPrint->Enable(false);
        pPrint->Show(true, true);
    }
    m_bPrintShown = false;
    // A game loaded from this screen has replaced the human it edited: the
    // week shown belongs to the game that went.
    if (!IsHumanStillCurrent()) {
        m_pHuman = nullptr;
        m_pClub = nullptr;
    }
    StorePlan();
    m_Undo.clear();
    m_bInitialised = false;
    CGameClient::OnDestroy();
    m_Icons.clear();
    m_pCampIcon.reset();
    m_pIconSurface.reset();
    m_pCampSurface.reset();
}

void CClientTrainingTeam::StorePlan()
{
    if (!m_pHuman)
        return;
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    training.SetWeekPlan(m_abyWeek.data());
    if (m_bModified)
        training.SetCurrentPlan(nullptr);
}

void CClientTrainingTeam::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
    CGame* pGame = Game();
    CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr;
    if (pShading) {
        ShadeRectangle(m_pBackground, pShading, kPaletteLeft - 4, kPaletteTop - 4,
                       kPaletteLeft + kPaletteStep + kPaletteWidth + 4, PaletteY(5) + kPaletteHeight + 4);
        ShadeRectangle(m_pBackground, pShading, kCellLeft - 4, kCaptionTop - 4,
                       kCellLeft + TRAINING_SLOTS_PER_DAY * kCellWidth + 4, CellY(TRAINING_WEEK_SLOTS - 1) + kCellHeight + 4);
    }
    for (int nKind = 0; nKind < static_cast<int>(m_Icons.size()); ++nKind)
        m_Icons[static_cast<size_t>(nKind)]->DrawFrame(m_pBackground, PaletteX(nKind) + 1, PaletteY(nKind) + 1, 0,
                                                       true);
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const CAPTIONTAB tabs[] = {{2, 0, 0, kPaletteLeft - 4, kPaletteTop - 21, kPaletteStep + kPaletteWidth + 8},
                               {2, 1, 0, kCellLeft - 4, 0, 160},
                               {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kTabSet, tabs);
}

void CClientTrainingTeam::BuildControls()
{
    for (int nSlot = 0; nSlot < TRAINING_WEEK_SLOTS; ++nSlot) {
        auto* pCell = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, CellX(nSlot), CellY(nSlot), kCellWidth,
                                                            kCellHeight, ID_FIRST_CELL + static_cast<uint32_t>(nSlot),
                                                            nullptr));
        if (!pCell)
            continue;
        // The icon covers the cell; the day's caption reaches into its margin.
        pCell->m_bClearBackground = 0;
        pCell->m_bNotifyPresses = 1;
        pCell->m_bNotifyMoves = 1;
    }
    for (int nKind = 0; nKind < TRAINING_ACTIVITY_KINDS; ++nKind) {
        const uint32_t dwID = ID_FIRST_PALETTE + static_cast<uint32_t>(nKind);
        auto* pItem = static_cast<CXStatic*>(
            AddControlXYWH(XCONTROL_STATIC, PaletteX(nKind), PaletteY(nKind), kPaletteWidth, kPaletteHeight, dwID, nullptr));
        if (!pItem)
            continue;
        pItem->m_hFont = g_hSmallFont;
        pItem->m_crText = kPaletteText;
        pItem->m_byAlignment = 6;
        pItem->m_nTopMargin = kIconHeight + 1;
        pItem->m_bClearBackground = 1;
        pItem->m_bNotifyPresses = 1;
        pItem->m_bNotifyMoves = 1;
        const char* pszCaption = g_pfnControlCaptionText ? g_pfnControlCaptionText(dwID) : nullptr;
        pItem->SetText("%s", pszCaption ? pszCaption : "");
    }
    for (int nDay = 0; nDay < TRAINING_DAYS; ++nDay)
        if (auto* pCaption = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, kCaptionLeft,
                                                                   kCaptionTop + kDayStep * nDay, kCaptionWidth,
                                                                   kCaptionHeight, ID_FIRST_DAY + static_cast<uint32_t>(nDay),
                                                                   nullptr))) {
            pCaption->m_hFont = g_hSmallBoldFont;
            pCaption->m_crText = kCaptionText;
            pCaption->m_nLeftMargin = 16;
            pCaption->m_nTopMargin = -3;
            pCaption->m_bClearBackground = 1;
        }
    AddBottomButton(ID_DELEGATE);
    AddBottomButton(ID_UNDO);
    AddBottomButton(ID_UNDO_ALL);
    AddBottomButton(ID_SAVE);
    AddBottomButton(ID_CAMP);
}

void CClientTrainingTeam::BuildDays()
{
    CDatabaseHandler* pDatabase = CSaveGame::m_pDatabaseHandler;
    const CDate today = pDatabase ? pDatabase->GetGameDate() : CDate();
    const CTrainingManager* pTraining = m_pHuman ? &m_pHuman->GetTrainingManager() : nullptr;
    const COLORREF crToday = m_pHuman ? m_pHuman->GetColourForClub() : kCaptionText;
    for (int nDay = 0; nDay < TRAINING_DAYS; ++nDay) {
        DAYROW& row = m_aDays[static_cast<size_t>(nDay)];
        row = DAYROW();
        row.date = RowDate(today, nDay);
        row.bCamp = pTraining && pTraining->FindClashingCamp(row.date, 0, nullptr);
        void* pFixture = nullptr;
        int nKind = -1;
        const CClubDatabase* pOpponent =
            pDatabase && m_pClub ? pDatabase->GetFixtureOpponent(m_pClub->m_wClubId, row.date, 0, 2, &pFixture, &nKind)
                                 : nullptr;
        if (pOpponent && pFixture) {
            ID_CLUB idHome = 0;
            ID_GROUND idGround = 0;
            if (nKind == 0) {
                const auto* pLeague = static_cast<const CDivisionFixturesDatabase*>(pFixture);
                idHome = pLeague->GetHomeClubID();
                idGround = pLeague->GetGroundID();
            } else {
                const auto* pCup = static_cast<const CCupFixturesDatabase*>(pFixture);
                idHome = pCup->GetHomeClubID();
                idGround = pCup->GetGroundID();
            }
            row.pOpponent = pOpponent;
            row.nVenue = FixtureVenue(m_pClub->m_wClubId, idHome, idGround, m_pClub->m_wHomeGroundId,
                                      pOpponent->m_wHomeGroundId);
        }
        CXStatic* pCaption = GetStatic(ID_FIRST_DAY + static_cast<uint32_t>(nDay));
        if (!pCaption)
            continue;
        pCaption->m_crText = row.date == today ? crToday : kCaptionText;
        pCaption->SetText("%s %s", Text(kDayNameSet, nDay),
                          FormatDate(row.date.GetDay(), row.date.GetMonth(), row.date.GetYear()));
        pCaption->RemoveAllImages();
        if (row.bCamp && m_pCampIcon) {
            pCaption->AddImage(m_pCampIcon.get(), 0, 0);
            pCaption->AddImage(m_pCampIcon.get(), kCaptionWidth - 12, 0);
        }
    }
}

// ---- the week ----

void CClientTrainingTeam::SetCell(int nSlot, uint8_t byKind)
{
    if (nSlot < 0 || nSlot >= TRAINING_WEEK_SLOTS || byKind >= TRAINING_ACTIVITY_KINDS)
        return;
    m_abyWeek[static_cast<size_t>(nSlot)] = byKind;
    CXStatic* pCell = GetStatic(ID_FIRST_CELL + static_cast<uint32_t>(nSlot));
    if (!pCell)
        return;
    if (byKind < m_Icons.size())
        pCell->SetImage(m_Icons[byKind].get(), 2, 2);
    else
        pCell->RemoveAllImages();
    pCell->Show(pCell->m_bVisible != 0, true);
}

void CClientTrainingTeam::ShowWeek(const uint8_t* pabyWeek)
{
    for (int nSlot = 0; nSlot < TRAINING_WEEK_SLOTS; ++nSlot)
        SetCell(nSlot, pabyWeek[nSlot]);
}

void CClientTrainingTeam::FillPlanList()
{
    m_ListedPlans.clear();
    CXComboBox* pList = GetPlanList();
    const TRAININGPLAN* pCurrent = m_pHuman ? m_pHuman->GetTrainingManager().GetCurrentPlan() : nullptr;
    const TRAININGPLAN* pClubPlan = m_pHuman ? &m_pHuman->GetTrainingManager().GetClubPlan() : nullptr;
    for (const TRAININGPLAN* pPlan : CTrainingManager::GetPlans().Items<TRAININGPLAN>())
        m_ListedPlans.push_back(pPlan);
    // The club's own plan is listed only while it is the week's.
    if (pCurrent && pCurrent == pClubPlan)
        m_ListedPlans.push_back(pClubPlan);
    if (!pList)
        return;
    m_bFilling = true;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (size_t i = 0; i < m_ListedPlans.size(); ++i) {
        const int nRow = pList->AddString(kListText, "%s", m_ListedPlans[i]->szName);
        if (nRow >= 0)
            pList->SetItemData(nRow, m_ListedPlans[i] == pClubPlan ? kClubPlanRow : static_cast<uint32_t>(i));
    }
    pList->SetAutoRedraw(true);
    m_bFilling = false;
    SelectCurrentPlan();
}

void CClientTrainingTeam::SelectCurrentPlan()
{
    CXComboBox* pList = GetPlanList();
    const TRAININGPLAN* pCurrent = m_pHuman ? m_pHuman->GetTrainingManager().GetCurrentPlan() : nullptr;
    if (!pList)
        return;
    for (size_t i = 0; i < m_ListedPlans.size(); ++i)
        if (m_ListedPlans[i] == pCurrent) {
            m_bFilling = true;
            pList->SetCurSel(static_cast<int>(i));
            m_bFilling = false;
            return;
        }
}

void CClientTrainingTeam::MarkModified()
{
    if (m_bModified || !m_pHuman)
        return;
    m_bModified = true;
    m_pHuman->GetTrainingManager().SetCurrentPlan(nullptr);
    FillPlanList();
}

void CClientTrainingTeam::ResetUndo()
{
    m_Undo.clear();
    UpdateUndoButtons();
}

void CClientTrainingTeam::UpdateUndoButtons()
{
    choice_question::ShowUndoButtons(*this, kBottomButtons, !m_Undo.empty());
}

void CClientTrainingTeam::ChoosePlan(int nRow)
{
    if (!m_pHuman || nRow < 0 || nRow >= static_cast<int>(m_ListedPlans.size()))
        return;
    auto* pPlan = const_cast<TRAININGPLAN*>(m_ListedPlans[static_cast<size_t>(nRow)]);
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    if (m_bModified)
        StorePlan();
    UpdateDelegation(true);
    training.LoadTrainingPlan(pPlan);
    training.SetCurrentPlan(pPlan);
    std::copy_n(training.GetWeekPlan(), TRAINING_WEEK_SLOTS, m_abyWeek.begin());
    ShowWeek(m_abyWeek.data());
    m_bModified = pPlan == &training.GetClubPlan();
    // Without the club's own plan current its row goes.
    FillPlanList();
    ResetUndo();
}

bool CClientTrainingTeam::SavePlanAs(const char* pszName)
{
    if (!m_pHuman || !pszName || !CSaveGame::IsValidFileName(pszName) || std::strlen(pszName) >= TRAINING_PLAN_TEXT)
        return false;
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    StorePlan();
    TRAININGPLAN* pPlan = training.SaveTrainingPlan(pszName, nullptr);
    if (!pPlan)
        return false;
    training.SetCurrentPlan(pPlan);
    m_bModified = false;
    FillPlanList();
    ResetUndo();
    return true;
}

void CClientTrainingTeam::Undo()
{
    if (m_Undo.empty())
        return;
    const UNDORECORD record = m_Undo.back();
    m_Undo.pop_back();
    SetCell(record.nSlot, record.byKind);
    UpdateUndoButtons();
}

void CClientTrainingTeam::UndoAll()
{
    while (!m_Undo.empty())
        Undo();
}

void CClientTrainingTeam::UpdateDelegation(bool bChanged)
{
    training_delegation::Update(*this, ID_DELEGATE, m_pHuman, m_pClub, bChanged, [this] {
        CTrainingManager& training = m_pHuman->GetTrainingManager();
        training.DoDelegate();
        std::copy_n(training.GetWeekPlan(), TRAINING_WEEK_SLOTS, m_abyWeek.begin());
        ShowWeek(m_abyWeek.data());
        m_bModified = false;
        FillPlanList();
        ResetUndo();
    });
}

void CClientTrainingTeam::DelegateTraining(uint8_t byPreference)
{
    if (training_delegation::Delegate(m_pHuman, byPreference))
        UpdateDelegation(false);
}

// ---- dragging ----

void CClientTrainingTeam::OnControlLButtonDown(uint32_t dwID, int x, int y)
{
    const int nSlot = SlotOfCell(dwID);
    const int nKind = nSlot >= 0 ? m_abyWeek[static_cast<size_t>(nSlot)] : KindOfPalette(dwID);
    const CXControl* pSource = FindControl(dwID);
    if (nKind < 0 || !pSource || m_bDragging)
        return;
    m_bDragging = true;
    m_dwDragSource = dwID;
    m_byDragKind = static_cast<uint8_t>(nKind);
    // The icon keeps its place under the pointer: offset from where it is drawn.
    const int nIconLeft = pSource->m_nLeft + (nSlot >= 0 ? 2 : 1);
    const int nIconTop = pSource->m_nTop + (nSlot >= 0 ? 2 : 1);
    m_nDragOffsetX = x - nIconLeft;
    m_nDragOffsetY = y - nIconTop;
    BeginMouseHold();
}

void CClientTrainingTeam::OnControlMouseMove(uint32_t dwID, int, int)
{
    if (IsSessionControl(dwID))
        SetHandPointer(true);
}

void CClientTrainingTeam::OnMouseMove(uint32_t flags, int x, int y)
{
    CGameClient::OnMouseMove(flags, x, y);
    // While the mouse is held the controls hear nothing, and no control says
    // when the pointer has left the sessions: both are settled here.
    const CXControl* pUnder = ControlFromPoint(x, y);
    const bool bOverSession = pUnder && IsSessionControl(pUnder->m_dwID);
    if (m_bDragging || !bOverSession)
        SetHandPointer(bOverSession);
}

void CClientTrainingTeam::SetHandPointer(bool bHand)
{
    if (bHand == m_bHandPointer)
        return;
    m_bHandPointer = bHand;
    if (g_pfnSetMousePointer)
        g_pfnSetMousePointer(bHand ? kDragPointer : 0, bHand ? 7 : 0, bHand ? 7 : 0);
}

void CClientTrainingTeam::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonUp(flags, x, y);
    if (!m_bDragging)
        return;
    m_bDragging = false;
    EndMouseHold();
    if (CXControl* pSource = FindControl(m_dwDragSource))
        pSource->Show(pSource->m_bVisible != 0, true);
    SetHandPointer(false);
    const int nSlot = CellAt(x, y);
    if (nSlot < 0)
        return;
    // Even the kind a cell holds already counts as a change.
    m_Undo.push_back({nSlot, m_abyWeek[static_cast<size_t>(nSlot)]});
    SetCell(nSlot, m_byDragKind);
    MarkModified();
    UpdateUndoButtons();
    UpdateDelegation(true);
}

// ---- drawing ----

void CClientTrainingTeam::OnPaint()
{
    CGameClient::OnPaint();
    CXSurface* pScreen = GetScreenSurface();
    if (!pScreen || !pScreen->m_pSurface)
        return;
    DrawFixtureBars(pScreen);
    if (m_bDragging)
        DrawDraggedIcon(pScreen);
}

void CClientTrainingTeam::DrawFixtureBars(CXSurface* pScreen)
{
    plat::DeviceContext* pDC = nullptr;
    for (int nDay = 0; nDay < TRAINING_DAYS; ++nDay) {
        const DAYROW& row = m_aDays[static_cast<size_t>(nDay)];
        if (!row.pOpponent || row.nVenue < VENUE_HOME || row.nVenue > VENUE_ELSEWHERE)
            continue;
        if (!pDC) {
            pDC = pScreen->m_pSurface->getDC();
            pDC->setBkMode(plat::TRANSPARENT);
            pDC->selectFont(g_hLargeBoldFont);
            pDC->setTextColor(0x00FFFFFF);
        }
        const int nLeft = m_nLeft + kBarLeft, nTop = m_nTop + kBarTop + kDayStep * nDay;
        DrawFilledRectFramed(pDC, nLeft, nTop, m_nLeft + kBarRight, nTop + kBarHeight, kBarFill, 0, kBarFrame);
        char szText[96];
        std::snprintf(szText, sizeof szText, "%s [%s]", row.pOpponent->GetName(),
                      Text(kVenueSet, kVenueItems[row.nVenue]));
        plat::Rect rc{nLeft, nTop, m_nLeft + kBarRight, nTop + kBarHeight};
        pDC->drawText(szText, -1, &rc, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    }
    if (pDC)
        pScreen->m_pSurface->releaseDC(pDC);
}

void CClientTrainingTeam::DrawDraggedIcon(CXSurface* pScreen)
{
    if (m_byDragKind >= m_Icons.size())
        return;
    m_Icons[m_byDragKind]->DrawFrame(pScreen, g_nMouseX - m_nDragOffsetX, g_nMouseY - m_nDragOffsetY, 0, true);
}

void CClientTrainingTeam::OnGetToolTipText(uint32_t dwID, char* pszText)
{
    const int nSlot = SlotOfCell(dwID);
    const int nDay = static_cast<int>(dwID) - static_cast<int>(ID_FIRST_DAY);
    if (nSlot >= 0)
        std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", Text(kKindNameSet, m_abyWeek[static_cast<size_t>(nSlot)]));
    else if (nDay >= 0 && nDay < TRAINING_DAYS && m_aDays[static_cast<size_t>(nDay)].bCamp)
        std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", Text(kCampTextSet, 0));
    else
        CGameClient::OnGetToolTipText(dwID, pszText);
}

// ---- input ----

void CClientTrainingTeam::OnSelChange(uint32_t dwID)
{
    if (dwID == ID_PLAN_LIST && m_bInitialised && !m_bFilling) {
        const CXComboBox* pList = GetPlanList();
        if (pList)
            ChoosePlan(pList->GetSelection());
        return;
    }
    CGameClient::OnSelChange(dwID);
}

void CClientTrainingTeam::OnClicked(uint32_t dwID)
{
    if (choice_question::OnBottomButton(dwID, kBottomButtons, [this] { Undo(); }))
        return;
    switch (dwID) {
    case ID_CAMP:
        if (m_pHuman && m_pClub)
            m_CampPopup.Open();
        return;
    case ID_SAVE:
        if (!m_pSavePlan)
            m_pSavePlan = std::make_unique<CPopupSaveTactics>();
        m_pSavePlan->Show(SAVEDIALOG_TRAINING_PLAN);
        return;
    default:
        CGameClient::OnClicked(dwID);
        return;
    }
}

void CClientTrainingTeam::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup == &m_CampPopup) {
        if (m_CampPopup.m_dwResultID == CGamePopup::kOkButtonID)
            BuildDays();
        return;
    }
    if (!pPopup || pPopup != m_pSavePlan.get() || !IsHumanStillCurrent())
        return;
    if (pPopup->m_dwResultID == CGamePopup::kOkButtonID)
        SavePlanAs(m_pSavePlan->GetChosenName().c_str());
    else
        FillPlanList();
}

void CClientTrainingTeam::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox) {
        CGameClient::OnEndMessageBoxPopup();
        return;
    }
    if (!choice_question::OnAnswer(
            *pBox, kBottomButtons,
            [this](int nChoice) {
                training_delegation::Delegate(m_pHuman, training_delegation::StyleOfChoice(nChoice));
                UpdateDelegation(false);
            },
            [this] { UndoAll(); }))
        CGameClient::OnEndMessageBoxPopup();
}

void CClientTrainingTeam::UpdateBars() { CGameClient::UpdateBars(); }
