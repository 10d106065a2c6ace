#include "screens/CClientTeamSelection.h"

#include "popups/CPopupPlayerDetails.h"
#include "popups/CPopupMessageBox.h"
#include "popups/CPopupPlayerMatchOrders.h"
#include "popups/CPopupTeamMatchOrders.h"
#include "shell/CGame.h"
#include "shell/CGamePopup.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/PlayerRowIcons.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/Clock.h"
#include "platform/DeviceContext.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "season/CTacticsFileManager.h"
#include "season/MatchRecords.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kRowHeight = 16;
constexpr int kListLeft = 16;
constexpr int kListTop = 40;
constexpr int kStartersBottom = 216;
constexpr int kListGap = 20;
constexpr int kSetPieceLeft = 330;
constexpr int kSetPieceRight = 624;
constexpr int kShortRowWidth = 294;
constexpr int kFullRowWidth = 594;
constexpr int kIconWidth = 12;
constexpr int kFirstIconRight = 156;
constexpr int kPlayerUnselectable = PLAYER_FLAG_WORK_PERMIT_SETTLED;
constexpr uint8_t kListedForLoan = 2;
constexpr uint8_t kListedLeaving = 4;
constexpr COLORREF kRowText = plat::RGB(242, 242, 234);
constexpr COLORREF kZoneLine = plat::RGB(204, 197, 0);
constexpr COLORREF kFrameColour = plat::RGB(255, 255, 0);
// Goalkeeper, defender, midfielder, attacker.
constexpr COLORREF kPositionColours[4] = {plat::RGB(77, 207, 41), plat::RGB(255, 204, 0), plat::RGB(48, 107, 225),
                                          plat::RGB(254, 73, 93)};
constexpr COLORREF kDragColours[4] = {plat::RGB(55, 157, 0), plat::RGB(128, 128, 0), plat::RGB(0, 0, 128),
                                      plat::RGB(128, 0, 0)};
constexpr COLORREF kDragGrey = plat::RGB(88, 88, 88);
constexpr COLORREF kMagenta = plat::RGB(255, 0, 255);
constexpr int kViewTextSet = 9;
constexpr int kSquadCaptionSet = 155;
constexpr int kSetPieceCaptionSet = 156;

// Columns of the squad lists; the set-piece lists and the pitch view show
// the first five. Columns 2 and 3 carry numbers for the position and role
// icons drawn over them.
const LISTCOLUMN kFullColumns[] = {
    {0, 24, 5, 0, 2, 0, 69, LISTSORT_NONE, 0},        {24, 200, 4, 0, 0, 0, 57, LISTSORT_NONE, 0},
    {200, 230, 0, 0, 'x', 0, 937, LISTSORT_NONE, 0},  {230, 264, 0, 0, 'x', 0, 964, LISTSORT_NONE, 0},
    {264, 294, 5, 0, 2, 0, 968, LISTSORT_NONE, 0},    {294, 324, 5, 0, 2, 0, 70, LISTSORT_NONE, 0},
    {324, 354, 5, 0, 2, 0, 71, LISTSORT_NONE, 0},     {354, 384, 5, 0, 2, 0, 72, LISTSORT_NONE, 0},
    {384, 414, 5, 0, 2, 0, 73, LISTSORT_NONE, 0},     {414, 444, 5, 0, 2, 0, 74, LISTSORT_NONE, 0},
    {444, 474, 5, 0, 2, 0, 75, LISTSORT_NONE, 0},     {474, 504, 5, 0, 2, 0, 76, LISTSORT_NONE, 0},
    {504, 534, 5, 0, 2, 0, 77, LISTSORT_NONE, 0},     {534, 564, 5, 0, 2, 0, 966, LISTSORT_NONE, 0},
    {564, 594, 5, 0, 2, 0, 967, LISTSORT_NONE, 0},    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kShortColumns[] = {
    {0, 24, 5, 0, 2, 0, 69, LISTSORT_NONE, 0},       {24, 200, 4, 0, 0, 0, 57, LISTSORT_NONE, 0},
    {200, 230, 0, 0, 'x', 0, 937, LISTSORT_NONE, 0}, {230, 264, 0, 0, 'x', 0, 964, LISTSORT_NONE, 0},
    {264, 294, 5, 0, 2, 0, 968, LISTSORT_NONE, 0},   {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kShortPlainColumns[] = {
    {0, 24, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},       {24, 200, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {200, 230, 0, 0, 'x', 0, 0, LISTSORT_NONE, 0},  {230, 264, 0, 0, 'x', 0, 0, LISTSORT_NONE, 0},
    {264, 294, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kFullPlainColumns[] = {
    {0, 24, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},       {24, 200, 4, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {200, 230, 0, 0, 'x', 0, 0, LISTSORT_NONE, 0},  {230, 264, 0, 0, 'x', 0, 0, LISTSORT_NONE, 0},
    {264, 294, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},    {294, 324, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},
    {324, 354, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},    {354, 384, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},
    {384, 414, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},    {414, 444, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},
    {444, 474, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},    {474, 504, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},
    {504, 534, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},    {534, 564, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},
    {564, 594, 5, 0, 2, 0, 0, LISTSORT_NONE, 0},    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kChoiceColumns[] = {
    {0, 140, 4, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

// The set-piece lists with their first place (counted from 0) and rows.
struct SETPIECELIST {
    uint32_t dwID;
    int nFirstPlace;
    int nRows;
    int nTop;
    int nCaption;
};
const SETPIECELIST kSetPieceLists[] = {
    {CClientTeamSelection::ID_SETPIECE_FIRST, 0, 1, 40, 0},
    {CClientTeamSelection::ID_SETPIECE_FREEKICKS, 1, 3, 76, 1},
    {CClientTeamSelection::ID_SETPIECE_CORNERS, 4, 2, 144, 2},
    {CClientTeamSelection::ID_SETPIECE_EIGHTH, 7, 1, 196, 3},
    {CClientTeamSelection::ID_SETPIECE_SEVENTH, 6, 1, 232, 4},
};

const SETPIECELIST* FindSetPieceList(uint32_t dwID)
{
    for (const SETPIECELIST& list : kSetPieceLists)
        if (list.dwID == dwID)
            return &list;
    return nullptr;
}

bool IsSquadList(uint32_t dwID)
{
    return dwID >= CClientTeamSelection::ID_STARTERS && dwID <= CClientTeamSelection::ID_RESERVES;
}

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CXAnimation* Sprite(const char* pszName)
{
    CGame* pGame = Game();
    return pGame ? pGame->GetSharedBitmaps().GetSprite(pszName) : nullptr;
}

// Single-precision constants multiplied in double precision and cut toward
// zero, as the pitch's arithmetic is done.
int Scaled(float fPercent, int nOrigin, int nSpan)
{
    const float fHundredth = 0.01f;
    return static_cast<int>(nOrigin + static_cast<double>(fPercent) * static_cast<double>(fHundredth) * nSpan);
}

}  // namespace

CClientTeamSelection::CClientTeamSelection() { m_wScreenID = SCREEN_TEAM_SELECTION; }

CClientTeamSelection::~CClientTeamSelection() = default;

// ---- rules ----

void CClientTeamSelection::ComputeListSizes(int nSubstitutesNamed, int nAvailable, int& nSubstituteRows,
                                            int& nReserveRows)
{
    nReserveRows = nSubstitutesNamed == 3 ? 11 : nSubstitutesNamed == 7 ? 7 : 9;
    if (nAvailable < 11 + nSubstitutesNamed) {
        nSubstituteRows = std::max(0, nAvailable - 11);
        nReserveRows += nSubstitutesNamed - nSubstituteRows;
    } else {
        nSubstituteRows = nSubstitutesNamed;
    }
    if (nReserveRows > 12)
        nReserveRows = 13;
}

int CClientTeamSelection::GetDragRule(uint32_t dwSourceID, uint32_t dwTargetID)
{
    const bool bTargetSetPiece = FindSetPieceList(dwTargetID) != nullptr;
    if (dwSourceID == dwTargetID)
        return DRAG_REFUSED;
    if (dwSourceID == ID_STARTERS)
        return IsSquadList(dwTargetID) ? DRAG_EXCHANGE : bTargetSetPiece ? DRAG_COPY : DRAG_REFUSED;
    if (dwSourceID == ID_SUBSTITUTES || dwSourceID == ID_RESERVES)
        return IsSquadList(dwTargetID) ? DRAG_EXCHANGE : DRAG_REFUSED;
    if (FindSetPieceList(dwSourceID))
        return bTargetSetPiece ? DRAG_COPY : DRAG_REFUSED;
    return DRAG_REFUSED;
}

plat::Point CClientTeamSelection::FormationToPitch(int x, int y)
{
    const float fLengthStep = 0.0025f;
    const float fWidthStep = 1.0f / 300.0f;
    const double dX = (x - 100) * (kPitchWidth * static_cast<double>(fLengthStep)) + kPitchLeft - kMarkerSize / 2;
    const double dY = (y - 4) * (kPitchHeight * static_cast<double>(fWidthStep)) + kPitchTop - kMarkerSize / 2;
    return plat::Point{static_cast<int32_t>(dX), static_cast<int32_t>(dY)};
}

plat::Point CClientTeamSelection::PitchToFormation(int x, int y)
{
    return plat::Point{(x - kPitchLeft) * 400 / kPitchWidth + 100, (y - kPitchTop) * 300 / kPitchHeight + 4};
}

plat::Rect CClientTeamSelection::RoleZone(int nRole)
{
    // Per role: from and to along the pitch, from and to across it, in percent.
    static const float kZones[PLAYER_ROLE_COUNT][4] = {
        {0.0f, 8.3f, 33.3f, 66.6f},    {8.3f, 16.6f, 33.3f, 66.6f},   {0.0f, 33.3f, 0.0f, 33.3f},
        {16.6f, 33.3f, 33.3f, 66.6f},  {0.0f, 33.3f, 66.6f, 100.0f},  {33.3f, 41.6f, 0.0f, 33.3f},
        {33.3f, 41.6f, 66.6f, 100.0f}, {33.3f, 41.6f, 33.3f, 66.6f},  {41.6f, 58.2f, 0.0f, 33.3f},
        {41.6f, 58.2f, 33.3f, 66.6f},  {41.6f, 58.2f, 66.6f, 100.0f}, {58.2f, 66.6f, 33.3f, 66.6f},
        {58.2f, 100.0f, 0.0f, 33.3f},  {58.2f, 100.0f, 66.6f, 100.0f}, {66.6f, 80.0f, 33.3f, 66.6f},
        {80.0f, 100.0f, 33.3f, 66.6f},
    };
    if (nRole < 0 || nRole >= PLAYER_ROLE_COUNT)
        return plat::Rect{};
    const float* p = kZones[nRole];
    return plat::Rect{Scaled(p[0], kPitchLeft, kPitchWidth), Scaled(p[2], kPitchTop, kPitchHeight),
                      Scaled(p[1], kPitchLeft, kPitchWidth), Scaled(p[3], kPitchTop, kPitchHeight)};
}

std::array<plat::Point, 11> CClientTeamSelection::LayoutCustomFormation(const uint8_t* pbyRoles)
{
    std::array<plat::Point, 11> points{};
    int nPlace = 0;
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT && nPlace < 11; ++nRole) {
        const int nCount = static_cast<int>(std::count(pbyRoles, pbyRoles + 11, nRole));
        if (nCount == 0)
            continue;
        const plat::Rect zone = RoleZone(nRole);
        const int cx = zone.left + (zone.right - zone.left) / 2;
        const int cy = zone.top + (zone.bottom - zone.top) / 2;
        const int nColumns = nCount < 3 ? 1 : 2;
        const int nRows = nCount < 3 ? nCount : (nCount + 1) / 2;
        int x = cx + (kMarkerSize - kMarkerSize * nColumns) / 2;
        int y = cy + (kMarkerSize - kMarkerSize * nRows) / 2;
        for (int i = 0; i < nCount && nPlace < 11; ++i) {
            if (nColumns == 2 && i == nRows) {
                y -= kMarkerSize * nRows;
                x += kMarkerSize;
                if (nCount % 2 == 1)
                    y += kMarkerSize / 2;
            }
            points[static_cast<size_t>(nPlace++)] = plat::Point{x, y};
            y += kMarkerSize;
        }
    }
    return points;
}

// ---- the human's sheet ----

bool CClientTeamSelection::IsPlayerAvailable(const CPlayerDatabase* pPlayer) const
{
    // The match's own test (injury, suspension, a lapsed permit, a loan
    // elsewhere), so that no sheet is made that the match would turn down,
    // and the cup tie.
    return pPlayer && CClubDatabase::IsAvailable(pPlayer, m_nMatchKind) && !pPlayer->IsCupTied(m_pCup);
}

int CClientTeamSelection::GetTeamRole(const CPlayerDatabase* pPlayer) const
{
    if (!pPlayer)
        return 0;
    if (m_pHuman)
        for (int i = 0; i < SAVEGAME_LINEUP; ++i)
            if (m_pHuman->GetSheetPlayer(i) == pPlayer)
                return std::clamp<int>(m_pHuman->GetWorkingEntry(i).byOrder, 0, PLAYER_ROLE_COUNT - 1);
    return pPlayer->m_byRole;
}

int CClientTeamSelection::PlaceOfRow(uint32_t dwListID, int nRow) const
{
    if (!IsSquadList(dwListID) || nRow < 0)
        return -1;
    const std::vector<int>& places = m_anRowPlaces[dwListID - ID_STARTERS];
    return nRow < static_cast<int>(places.size()) ? places[static_cast<size_t>(nRow)] : -1;
}

int CClientTeamSelection::SetPiecePlace(uint32_t dwListID, int nRow)
{
    const SETPIECELIST* pList = FindSetPieceList(dwListID);
    return pList && nRow >= 0 && nRow < pList->nRows ? pList->nFirstPlace + nRow : -1;
}

int CClientTeamSelection::SetPieceRows(uint32_t dwListID)
{
    const SETPIECELIST* pList = FindSetPieceList(dwListID);
    return pList ? pList->nRows : 0;
}

CXListBoxEx* CClientTeamSelection::GetList(uint32_t dwID) const
{
    return dynamic_cast<CXListBoxEx*>(FindControl(dwID));
}

CPlayerDatabase* CClientTeamSelection::GetRowPlayer(uint32_t dwListID, int nRow) const
{
    if (!m_pHuman)
        return nullptr;
    if (IsSquadList(dwListID))
        return m_pHuman->GetSheetPlayer(PlaceOfRow(dwListID, nRow));
    return m_pHuman->GetSetPiecePlayer(SetPiecePlace(dwListID, nRow));
}

// ---- entry and exit ----

void CClientTeamSelection::ReadNextMatch()
{
    m_Rules = ITEMCUPMATCHRULES{0, 5, 7, 7, 0};
    m_nMatchKind = MATCHKIND_LEAGUE;
    m_pCup = nullptr;
    m_bFixedNumbers = m_pClub && m_pClub->m_pDivision && m_pClub->m_pDivision->m_bySquadNumbers != 0;
    const CDatabaseHandler* pDatabase = CSaveGame::m_pDatabaseHandler;
    if (!pDatabase || !m_pClub)
        return;
    pDatabase->GetNextMatchRules(m_pClub, m_Rules, &m_nMatchKind);
    if (m_nMatchKind == MATCHKIND_CUP)
        m_pCup = pDatabase->GetNextCupForClub(m_pClub);
}

bool CClientTeamSelection::OnInitDialog()
{
    const CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    m_pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    m_pClub = m_pHuman ? m_pHuman->GetClub() : nullptr;
    m_bInitialised = false;
    m_bDragging = false;
    m_nViewMode = VIEW_PITCH;
    m_dwActiveList = 0;
    if (m_pHuman && pDatabase)
        m_pHuman->SetReminderDate(0, pDatabase->GetGameDate());
    if (!CTacticsFileManager::AreListsBuilt())
        CTacticsFileManager lists;
    // A side picked for the club when the human's sheet could not be played
    // leaves its pick marks on the players, and a marked player counts as
    // unavailable: between matches the marks mean nothing and would empty
    // the bench and keep the sheet from being played.
    if (m_pClub)
        m_pClub->ClearSelection();
    ReadNextMatch();
    int nAvailable = 0;
    if (m_pClub)
        for (const CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
            nAvailable += IsPlayerAvailable(pPlayer) ? 1 : 0;
    ComputeListSizes(m_Rules.bySubstitutesNamed, nAvailable, m_nSubstituteRows, m_nReserveRows);
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    m_pPitch.reset(LoadMainArchiveBitmap("TSPitch.bmp", false));
    m_pMarkers.reset(LoadMainArchiveBitmap("TSCntr.bmp", true));
    for (const auto& [pszName, bLoaded] : {std::pair{"TSPitch.bmp", m_pPitch != nullptr}, {"TSCntr.bmp", m_pMarkers != nullptr}})
        if (!bLoaded)
            DebugLog(0, "[CClientTeamSelection::OnInitDialog] '%s' could not be loaded", pszName);
    m_pDragImage = std::make_unique<CXSurface>();
    m_pDragImage->Create(kFullRowWidth, kRowHeight, false, true);
    m_pTeamOrders = std::make_unique<CPopupTeamMatchOrders>();
    m_pPlayerOrders = std::make_unique<CPopupPlayerMatchOrders>();
    m_nOrdersPlace = -1;
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    BuildControls();
    FillFormationList();
    FillSquadLists();
    m_bInitialised = true;
    UpdatePickTeamButton(false);
    UpdatePlayerOrdersButton();
    DrawPitch();
    UpdateBars();
    return bResult;
}

void CClientTeamSelection::OnDestroy()
{
    for (CXPopup* pPopup : {static_cast<CXPopup*>(m_pPlayerOrders.get()), static_cast<CXPopup*>(m_pTeamOrders.get())})
        if (pPopup && pPopup->IsOnStack())
            pPopup->Close();
    m_pPlayerOrders.reset();
    m_pTeamOrders.reset();
    m_pPitch.reset();
    m_pMarkers.reset();
    m_pDragImage.reset();
    m_bDragging = false;
    m_bInitialised = false;
    CGameClient::OnDestroy();
    m_RowIcons.Clear();
}

void CClientTeamSelection::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
    CGame* pGame = Game();
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const int nSubstitutesTop = kStartersBottom + kListGap;
    const int nReservesTop = nSubstitutesTop + kRowHeight * std::max(1, m_nSubstituteRows) + kListGap;
    std::vector<CAPTIONTAB> squadTabs = {
        {2, 1, 0, kListLeft, nSubstitutesTop - 17, 120},
        {2, 2, 0, kListLeft, nReservesTop - 17, 120},
        {0, 0, 0, 0, 0, 0},
    };
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kSquadCaptionSet, squadTabs.data());
    if (m_nViewMode == VIEW_PITCH) {
        std::vector<CAPTIONTAB> setPieceTabs;
        for (const SETPIECELIST& list : kSetPieceLists)
            setPieceTabs.push_back({2, list.nCaption, 0, kSetPieceLeft, list.nTop - 17, 240});
        setPieceTabs.push_back({0, 0, 0, 0, 0, 0});
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kSetPieceCaptionSet, setPieceTabs.data());
    }
}

void CClientTeamSelection::BuildControls()
{
    m_RowIcons.Load();

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 320, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    BuildLists();

    auto addChoice = [this](uint32_t dwID, int nLeft) {
        auto* pCombo =
            static_cast<CXComboBox*>(AddControl(XCONTROL_COMBOBOX, nLeft, 2, nLeft + 140, 200, dwID, nullptr));
        if (!pCombo)
            return;
        pCombo->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, false, nullptr, true, nullptr, false, 2,
                      false, false, true);
        pCombo->SetUpColumns(nLeft, 2, nLeft + 140, 200, kChoiceColumns, false, false, kRowHeight, false);
    };
    addChoice(ID_FORMATIONS, 330);
    addChoice(ID_VIEW, 484);
    if (auto* pView = dynamic_cast<CXComboBox*>(FindControl(ID_VIEW))) {
        pView->SetAutoRedraw(false);
        for (int i = 0; i < 2; ++i) {
            const char* pszText = GetTableText(kViewTextSet, i);
            pView->AddString(kRowText, "%s", pszText ? pszText : "");
            pView->SetItemData(i, static_cast<uint32_t>(i));
        }
        pView->SetAutoRedraw(true);
        pView->SetCurSel(m_nViewMode);
    }
    AddBottomButton(ID_PICK_TEAM);
    AddBottomButton(ID_MATCH_RULES);
    AddBottomButton(ID_PENALTY_TAKERS);
    {
        // The match orders take the two places left of the next match's own
        // buttons (its rules and the last meeting).
        const int nNextX = m_nNextBottomButtonX;
        m_nNextBottomButtonX = kFirstBottomButtonX - 3 * kBottomButtonStep;
        AddBottomButton(ID_TEAM_ORDERS);
        AddBottomButton(ID_PLAYER_ORDERS);
        m_nNextBottomButtonX = nNextX;
    }
}

void CClientTeamSelection::BuildLists()
{
    for (uint32_t dwID = ID_STARTERS; dwID <= ID_SETPIECE_SEVENTH; ++dwID)
        RemoveControlByID(dwID);
    const bool bPitch = m_nViewMode == VIEW_PITCH;
    const int nWidth = bPitch ? kShortRowWidth : kFullRowWidth;
    auto* pBar = dynamic_cast<CXScrollBar*>(FindControl(ID_SCROLLBAR));
    auto addList = [this](uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom, const LISTCOLUMN* pColumns,
                          bool bHeaders, CXScrollBar* pScrollBar) {
        auto* pList = static_cast<CXListBoxEx*>(AddControl(XCONTROL_LISTBOXEX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
        if (!pList)
            return;
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     pScrollBar, true, nullptr, bHeaders, 0, false, false, true);
        pList->SetUpColumns(nLeft, nTop, nRight, nBottom, pColumns, false, false, nBottom - nTop, false);
        // The screen decides what every drop means.
        pList->m_bReportOnlyOutside = 1;
        pList->m_bReportOnlyInside = 1;
        pList->m_bDragOut = 0;
    };
    const int nSubstitutesTop = kStartersBottom + kListGap;
    const int nSubstitutesBottom = nSubstitutesTop + kRowHeight * std::max(1, m_nSubstituteRows);
    const int nReservesTop = nSubstitutesBottom + kListGap;
    addList(ID_STARTERS, kListLeft, kListTop, kListLeft + nWidth, kStartersBottom, bPitch ? kShortColumns : kFullColumns,
            true, nullptr);
    addList(ID_SUBSTITUTES, kListLeft, nSubstitutesTop, kListLeft + nWidth, nSubstitutesBottom,
            bPitch ? kShortPlainColumns : kFullPlainColumns, false, nullptr);
    addList(ID_RESERVES, kListLeft, nReservesTop, kListLeft + nWidth, nReservesTop + kRowHeight * m_nReserveRows,
            bPitch ? kShortPlainColumns : kFullPlainColumns, false, pBar);
    if (pBar)
        pBar->Show(true, true);
    for (const SETPIECELIST& list : kSetPieceLists) {
        addList(list.dwID, kSetPieceLeft, list.nTop, kSetPieceRight, list.nTop + kRowHeight * list.nRows,
                kShortPlainColumns, false, nullptr);
        if (CXListBoxEx* pList = GetList(list.dwID)) {
            pList->m_bDragWithin = list.nRows > 1 ? 1 : 0;
            if (!bPitch)
                pList->Show(false, false);
        }
    }
}

void CClientTeamSelection::FillFormationList()
{
    auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_FORMATIONS));
    if (!pCombo || !m_pHuman)
        return;
    pCombo->SetAutoRedraw(false);
    pCombo->ResetContent();
    auto add = [pCombo](const FORMATIONRECORD* pRecord) { pCombo->AddString(kRowText, "%s", pRecord->szName); };
    std::vector<const FORMATIONRECORD*> records;
    if (const CXList* pList = CTacticsFileManager::GetFormations())
        for (const FORMATIONRECORD* pRecord : pList->Items<FORMATIONRECORD>())
            records.push_back(pRecord);
    if (m_pHuman->IsCustomFormationInUse())
        records.push_back(&m_pHuman->GetCustomFormation());
    const FORMATIONRECORD* pCurrent = m_pHuman->GetCurrentFormation();
    int nCurrent = -1;
    for (size_t i = 0; i < records.size(); ++i) {
        add(records[i]);
        if (records[i] == pCurrent)
            nCurrent = static_cast<int>(i);
    }
    pCombo->SetAutoRedraw(true);
    // The box shows the current formation without telling the screen.
    if (nCurrent >= 0) {
        const bool bWasInitialised = m_bInitialised;
        m_bInitialised = false;
        pCombo->SetCurSel(nCurrent);
        m_bInitialised = bWasInitialised;
    }
}

void CClientTeamSelection::RenumberShirts()
{
    if (m_bFixedNumbers || !m_pHuman)
        return;
    const int nNumbered = SAVEGAME_LINEUP + m_nSubstituteRows;
    for (int nPlace = 0; nPlace < SAVEGAME_SHEET_PLACES; ++nPlace)
        if (CPlayerDatabase* pPlayer = m_pHuman->GetSheetPlayer(nPlace))
            pPlayer->m_bySquadNumber = static_cast<uint8_t>(nPlace < nNumbered ? nPlace + 1 : 0);
}

void CClientTeamSelection::AddPlayerRow(CXListBoxEx* pList, CPlayerDatabase* pPlayer, bool bShort)
{
    if (!pPlayer) {
        pList->AddString(kRowText, "%s", "");
        return;
    }
    char szNumber[8];
    if (pPlayer->m_bySquadNumber)
        std::snprintf(szNumber, sizeof szNumber, "%2d", pPlayer->m_bySquadNumber);
    else
        std::snprintf(szNumber, sizeof szNumber, "- ");
    const int nRole = GetTeamRole(pPlayer);
    const int nRating = pPlayer->GetRatingForPosition(nRole);
    const uint16_t* pw = pPlayer->m_awAttributes;
    int nRow;
    if (bShort)
        nRow = pList->AddString(kRowText, "%s\t%s\t%d\t%d\t%2d", szNumber, pPlayer->GetShortName(), pPlayer->m_byPosition,
                                nRole, nRating);
    else
        nRow = pList->AddString(kRowText, "%s\t%s\t%d\t%d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d",
                                szNumber, pPlayer->GetShortName(), pPlayer->m_byPosition, nRole, nRating,
                                pw[PLAYER_ATTRIBUTE_HANDLING] / 100, pw[PLAYER_ATTRIBUTE_TACKLING] / 100,
                                pw[PLAYER_ATTRIBUTE_PASSING] / 100, pw[PLAYER_ATTRIBUTE_DRIBBLING] / 100,
                                pw[PLAYER_ATTRIBUTE_HEADING] / 100, pw[PLAYER_ATTRIBUTE_SHOOTING] / 100,
                                pw[PLAYER_ATTRIBUTE_PACE] / 100, pw[PLAYER_ATTRIBUTE_STRENGTH] / 100,
                                pw[PLAYER_ATTRIBUTE_FITNESS] / 100, pw[PLAYER_ATTRIBUTE_MORALE] / 100);
    if (nRow < 0)
        return;
    pList->SetItemData(nRow, pPlayer->m_idPerson);
    AddRowIcons(pList, nRow, pPlayer);
}

void CClientTeamSelection::AddRowIcons(CXListBoxEx* pList, int nRow, const CPlayerDatabase* pPlayer)
{
    std::vector<const char*> icons;
    const bool bInjured = pPlayer->IsInjured();
    const int nInjury = bInjured ? CPlayerDatabase::GetInjuryStatus(pPlayer->m_byInjuryType) : 0;
    if (nInjury == 2)
        icons.push_back("icnInj.bmp");
    if (bInjured && nInjury == 1)
        icons.push_back("icnFAid.bmp");
    if (pPlayer->IsSuspended(m_nMatchKind))
        icons.push_back("icnRed.bmp");
    if (m_pCup && pPlayer->IsCupTied(m_pCup))
        icons.push_back("icnCupS.bmp");
    switch (pPlayer->m_byTransferState) {
    case PLAYER_TRANSFER_LISTED:
        icons.push_back("icnTranL.bmp");
        break;
    case kListedForLoan:
        icons.push_back("icnFree.bmp");
        break;
    case PLAYER_TRANSFER_ON_LOAN:
        icons.push_back(m_pClub && pPlayer->m_wLoanClubId == m_pClub->m_wClubId ? "icnLoanI.bmp" : "icnLoanO.bmp");
        break;
    case kListedLeaving:
        icons.push_back("icnPend.bmp");
        break;
    default:
        break;
    }
    if (pPlayer->m_dwFlags & PLAYER_FLAG_NEEDS_WORK_PERMIT)
        icons.push_back("icnPermt.bmp");
    if (pPlayer->m_dwFlags & kPlayerUnselectable)
        icons.push_back("icnCross.bmp");
    if (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING)
        icons.push_back("icnRtrd.bmp");
    // Right to left inside the name column, the first ending at x 156.
    int nRight = kFirstIconRight;
    for (const char* pszIcon : icons) {
        if (CXAnimation* pIcon = Sprite(pszIcon))
            pList->AddColumnGraphic(nRow, pIcon, nRight - kIconWidth - 24, 1, true);
        nRight -= kIconWidth + 2;
    }
    PlayerRowIcons::AddForeignFlag(*pList, nRow, pPlayer->m_byNationality, 1);
    m_RowIcons.AddPosition(*pList, nRow, pPlayer->m_byPosition, 2);
    m_RowIcons.AddRole(*pList, nRow, GetTeamRole(pPlayer), 3);
}

void CClientTeamSelection::FillSquadLists()
{
    if (!m_pHuman)
        return;
    RenumberShirts();
    const bool bShort = m_nViewMode == VIEW_PITCH;
    const int nSquad = m_pClub ? m_pClub->m_lstPlayers.GetCount() : 0;
    for (auto& places : m_anRowPlaces)
        places.clear();
    for (int nPlace = 0; nPlace < SAVEGAME_LINEUP; ++nPlace)
        m_anRowPlaces[0].push_back(nPlace);
    for (int i = 0; i < m_nSubstituteRows; ++i)
        m_anRowPlaces[1].push_back(SAVEGAME_LINEUP + i);
    for (int nPlace = SAVEGAME_LINEUP + m_nSubstituteRows; nPlace < SAVEGAME_SHEET_PLACES; ++nPlace)
        if (m_pHuman->GetSheetPlayer(nPlace) && static_cast<int>(m_anRowPlaces[2].size()) < nSquad)
            m_anRowPlaces[2].push_back(nPlace);
    for (uint32_t dwID = ID_STARTERS; dwID <= ID_RESERVES; ++dwID) {
        CXListBoxEx* pList = GetList(dwID);
        if (!pList)
            continue;
        const int nSelected = pList->GetSelection();
        const int nFirst = pList->GetFirstVisible();
        pList->SetAutoRedraw(false);
        pList->ResetContent();
        for (int nPlace : m_anRowPlaces[dwID - ID_STARTERS])
            AddPlayerRow(pList, m_pHuman->GetSheetPlayer(nPlace), bShort);
        pList->SetAutoRedraw(true);
        pList->Scroll(LISTSCROLL_TO_ROW, nFirst);
        if (nSelected >= 0 && nSelected < pList->GetCount())
            pList->SetSelection(nSelected);
        pList->Redraw();
    }
    for (const SETPIECELIST& list : kSetPieceLists) {
        CXListBoxEx* pList = GetList(list.dwID);
        if (!pList)
            continue;
        pList->SetAutoRedraw(false);
        pList->ResetContent();
        for (int i = 0; i < list.nRows; ++i)
            AddPlayerRow(pList, m_pHuman->GetSetPiecePlayer(list.nFirstPlace + i), true);
        pList->SetAutoRedraw(true);
        pList->Redraw();
    }
}

// ---- changes ----

bool CClientTeamSelection::ExchangePlaces(int nPlaceA, int nPlaceB)
{
    CPlayerDatabase* pA = m_pHuman->GetSheetPlayer(nPlaceA);
    CPlayerDatabase* pB = m_pHuman->GetSheetPlayer(nPlaceB);
    if (!pA || !pB || nPlaceA == nPlaceB)
        return false;
    // Whoever comes into the eleven or onto the bench must be able to play.
    const int nPlaying = SAVEGAME_LINEUP + m_nSubstituteRows;
    if ((nPlaceA < nPlaying && !IsPlayerAvailable(pB)) || (nPlaceB < nPlaying && !IsPlayerAvailable(pA)))
        return false;
    m_pHuman->SetSheetPlayer(nPlaceA, pB);
    m_pHuman->SetSheetPlayer(nPlaceB, pA);
    // A starter who leaves the eleven hands his set pieces to the one who
    // comes in.
    const bool bAStarter = nPlaceA < SAVEGAME_LINEUP, bBStarter = nPlaceB < SAVEGAME_LINEUP;
    if (bAStarter != bBStarter) {
        CPlayerDatabase* pOut = bAStarter ? pA : pB;
        CPlayerDatabase* pIn = bAStarter ? pB : pA;
        for (int i = 0; i < SAVEGAME_SETPIECE_PLACES; ++i)
            if (m_pHuman->GetSetPiecePlayer(i) == pOut)
                m_pHuman->SetSetPiecePlayer(i, pIn);
    }
    return true;
}

void CClientTeamSelection::CopyToSetPiece(CPlayerDatabase* pPlayer, uint32_t dwTargetID, int nTargetRow)
{
    const int nPlace = SetPiecePlace(dwTargetID, nTargetRow);
    if (nPlace >= 0)
        m_pHuman->SetSetPiecePlayer(nPlace, pPlayer);
}

void CClientTeamSelection::OnDragNotify(uint32_t dwSourceID, uint32_t dwTargetID, uint32_t dwTargetRow,
                                        uint32_t dwSourceRow)
{
    m_bDragging = false;
    if (!m_pHuman)
        return;
    const int nTargetRow = static_cast<int>(dwTargetRow), nSourceRow = static_cast<int>(dwSourceRow);
    CPlayerDatabase* pPlayer = GetRowPlayer(dwSourceID, nSourceRow);
    // Only the managed club's players are moved about.
    if (!pPlayer || pPlayer->m_pClub != m_pClub)
        return;
    bool bAccepted = false;
    switch (GetDragRule(dwSourceID, dwTargetID)) {
    case DRAG_COPY:
        if (nTargetRow >= 0 && nTargetRow < SetPieceRows(dwTargetID)) {
            CopyToSetPiece(pPlayer, dwTargetID, nTargetRow);
            bAccepted = true;
        }
        break;
    case DRAG_EXCHANGE:
        bAccepted = ExchangePlaces(PlaceOfRow(dwSourceID, nSourceRow), PlaceOfRow(dwTargetID, nTargetRow));
        break;
    default:
        break;
    }
    if (bAccepted)
        UpdatePickTeamButton(true);
    AfterDrop(dwTargetID, bAccepted);
    if (CXListBoxEx* pTarget = GetList(dwTargetID); pTarget && nTargetRow >= 0 && nTargetRow < pTarget->GetCount())
        pTarget->SetSelection(nTargetRow);
}

void CClientTeamSelection::OnDragInternally(uint32_t dwID, int nTargetRow, uint32_t dwSourceRow)
{
    m_bDragging = false;
    if (!m_pHuman)
        return;
    const int nSourceRow = static_cast<int>(dwSourceRow);
    if (dwID == ID_STARTERS) {
        // Two starters change places, and with them their roles.
        ExchangePlaces(PlaceOfRow(dwID, nSourceRow), PlaceOfRow(dwID, nTargetRow));
    } else if (IsSquadList(dwID)) {
        // The order on the bench or among the reserves.
        const int nFrom = PlaceOfRow(dwID, nSourceRow), nTo = PlaceOfRow(dwID, nTargetRow);
        CPlayerDatabase* pFrom = m_pHuman->GetSheetPlayer(nFrom);
        CPlayerDatabase* pTo = m_pHuman->GetSheetPlayer(nTo);
        if (pFrom && pTo) {
            m_pHuman->SetSheetPlayer(nFrom, pTo);
            m_pHuman->SetSheetPlayer(nTo, pFrom);
        }
    } else if (const SETPIECELIST* pList = FindSetPieceList(dwID)) {
        // The taker moves to the drop position within his group.
        const int nFrom = SetPiecePlace(dwID, nSourceRow), nTo = SetPiecePlace(dwID, nTargetRow);
        if (nFrom >= 0 && nTo >= 0) {
            CPlayerDatabase* apGroup[SAVEGAME_SETPIECE_PLACES] = {};
            for (int i = 0; i < pList->nRows; ++i)
                apGroup[i] = m_pHuman->GetSetPiecePlayer(pList->nFirstPlace + i);
            CPlayerDatabase* pMoved = apGroup[nSourceRow];
            if (nSourceRow < nTargetRow)
                std::move(apGroup + nSourceRow + 1, apGroup + nTargetRow + 1, apGroup + nSourceRow);
            else
                std::move_backward(apGroup + nTargetRow, apGroup + nSourceRow, apGroup + nSourceRow + 1);
            apGroup[nTargetRow] = pMoved;
            for (int i = 0; i < pList->nRows; ++i)
                m_pHuman->SetSetPiecePlayer(pList->nFirstPlace + i, apGroup[i]);
        }
    }
    UpdatePickTeamButton(true);
    AfterDrop(dwID, true);
    if (CXListBoxEx* pList = GetList(dwID); pList && nTargetRow >= 0 && nTargetRow < pList->GetCount())
        pList->SetSelection(nTargetRow);
}

void CClientTeamSelection::AfterDrop(uint32_t dwTargetID, bool /*bAccepted*/)
{
    // The record holds the sheet already; the lists show it again.
    Refresh();
    SetActiveList(dwTargetID);
}

void CClientTeamSelection::Refresh()
{
    FillSquadLists();
    DrawPitch();
    if (m_pHuman)
        m_pHuman->GetNotices().ClearResolvedNotices();
}

void CClientTeamSelection::UpdatePickTeamButton(bool bChanged)
{
    if (!m_pHuman)
        return;
    if (m_bInitialised && bChanged)
        m_pHuman->SetDelegation(1, 0);
    auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_PICK_TEAM));
    const uint8_t byPreference = m_pHuman->GetDelegation(1);
    if (byPreference == 0) {
        const bool bAssistant = m_pClub && m_pClub->m_awStaffSlots[0][0] != 0;
        if (pButton) {
            pButton->Enable(!bAssistant);
            pButton->Show(bAssistant, true);
        }
    } else {
        m_pHuman->PickTeam();
        FillFormationList();
        FillSquadLists();
        DrawPitch();
        if (pButton) {
            pButton->Enable(true);
            pButton->Show(false, true);
        }
    }
    m_pHuman->GetNotices().ClearResolvedNotices();
}

void CClientTeamSelection::DelegateTeamPicking(uint8_t byPreference)
{
    if (!m_pHuman || byPreference < 1 || byPreference > 3)
        return;
    m_pHuman->SetDelegation(1, byPreference);
    UpdatePickTeamButton(false);
}

void CClientTeamSelection::ChooseFormation(const FORMATIONRECORD* pFormation)
{
    if (!m_pHuman || !pFormation)
        return;
    if (!m_pHuman->SelectFormation(pFormation))
        DebugLog(1, "[CClientTeamSelection] The formation %s could not be loaded", pFormation->szName);
    FillFormationList();
    FillSquadLists();
    DrawPitch();
    UpdatePickTeamButton(true);
}

bool CClientTeamSelection::ChangeStarterRole(int nRow, int nRole)
{
    if (!m_pHuman || nRow <= 0 || nRow >= SAVEGAME_LINEUP || nRole < 0 || nRole >= PLAYER_ROLE_COUNT)
        return false;
    const int nPlace = m_pHuman->SetLineupRole(nRow, nRole);
    FORMATIONENTRY aEntries[SAVEGAME_LINEUP];
    uint8_t abyRoles[SAVEGAME_LINEUP];
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        aEntries[i] = m_pHuman->GetWorkingEntry(i);
        abyRoles[i] = aEntries[i].byOrder;
    }
    if (const FORMATIONRECORD* pListed = CTacticsFileManager::FindFormationByRoles(aEntries)) {
        m_pHuman->SelectFormation(pListed);
    } else {
        // Laid out by role zones, the custom formation becomes current.
        const auto points = LayoutCustomFormation(abyRoles);
        for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
            const plat::Point f = PitchToFormation(points[static_cast<size_t>(i)].x, points[static_cast<size_t>(i)].y);
            m_pHuman->SetWorkingEntryPoint(i, f.x, f.y);
        }
        m_pHuman->ResetFormationPositions();
        m_pHuman->SelectFormation(&m_pHuman->GetCustomFormation());
        ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_CUSTOM_FORMATION);
    }
    FillFormationList();
    FillSquadLists();
    DrawPitch();
    UpdatePickTeamButton(true);
    if (CXListBoxEx* pStarters = GetList(ID_STARTERS); pStarters && nPlace >= 0)
        pStarters->SetSelection(nPlace);
    return true;
}

void CClientTeamSelection::SetActiveList(uint32_t dwID)
{
    if (dwID >= ID_STARTERS && dwID <= ID_SETPIECE_SEVENTH)
        m_dwActiveList = dwID;
    UpdatePlayerOrdersButton();
}

int CClientTeamSelection::SelectedStarterPlace() const
{
    const CXListBoxEx* pStarters = GetList(ID_STARTERS);
    if (m_dwActiveList != ID_STARTERS || !pStarters)
        return -1;
    const int nPlace = PlaceOfRow(ID_STARTERS, pStarters->GetSelection());
    return nPlace >= 0 && nPlace < SAVEGAME_LINEUP ? nPlace : -1;
}

void CClientTeamSelection::UpdatePlayerOrdersButton()
{
    // The button's flag says disabled.
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_PLAYER_ORDERS)))
        pButton->Enable(!m_pHuman || SelectedStarterPlace() < 0);
}

void CClientTeamSelection::OpenPlayerOrders()
{
    const int nPlace = SelectedStarterPlace();
    if (!m_pHuman || !m_pPlayerOrders || nPlace < 0)
        return;
    m_nOrdersPlace = nPlace;
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        m_abyPlaceOrders[static_cast<size_t>(i)] = m_pHuman->GetTeamOrderAdjustment(nPlace, i);
    if (!m_pPlayerOrders->Show(m_abyPlaceOrders.data()))
        m_nOrdersPlace = -1;
}


void CClientTeamSelection::SetViewMode(int nMode)
{
    if (nMode != VIEW_PITCH && nMode != VIEW_LIST)
        return;
    m_nViewMode = nMode;
    ConstructScreen();
    if (m_pDrawingSurface && m_pDrawingSurface->m_pSurface && m_pBackground && m_pBackground->m_pSurface)
        m_pDrawingSurface->m_pSurface->bltFast(0, 0, *m_pBackground->m_pSurface, nullptr, plat::BLTFAST_WAIT);
    BuildLists();
    FillSquadLists();
    // Everything else shows again over the new background.
    for (int i = 0; i < GetControlCount(); ++i) {
        CXControl* pControl = GetControl(i);
        const uint32_t dwID = pControl->GetID();
        if (dwID < ID_STARTERS || dwID > ID_SETPIECE_SEVENTH)
            pControl->Show(pControl->m_bVisible != 0, true);
    }
    DrawPitch();
    UpdatePlayerOrdersButton();
}

// ---- input ----

void CClientTeamSelection::OnSelChange(uint32_t dwID)
{
    if (dwID == ID_FORMATIONS) {
        if (!m_bInitialised)
            return;
        auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_FORMATIONS));
        if (!pCombo || !m_pHuman)
            return;
        const int nRow = pCombo->GetSelection();
        if (nRow < 0)
            return;
        // The rows follow the list of formations, the custom one last.
        const CXList* pList = CTacticsFileManager::GetFormations();
        const int nListed = pList ? pList->GetCount() : 0;
        const FORMATIONRECORD* pFormation = nullptr;
        if (nRow < nListed) {
            if (LPXLISTNODE pNode = pList->GetAt(nRow))
                pFormation = static_cast<const FORMATIONRECORD*>(pNode->pData);
        } else {
            pFormation = &m_pHuman->GetCustomFormation();
        }
        ChooseFormation(pFormation);
    } else if (dwID == ID_VIEW) {
        auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_VIEW));
        if (pCombo && m_bInitialised && pCombo->GetSelection() != m_nViewMode)
            SetViewMode(pCombo->GetSelection());
    } else if (dwID >= ID_STARTERS && dwID <= ID_SETPIECE_SEVENTH) {
        SetActiveList(dwID);
    }
}

void CClientTeamSelection::OnClicked(uint32_t dwID)
{
    if (dwID == ID_TEAM_ORDERS) {
        if (m_pHuman && m_pTeamOrders)
            m_pTeamOrders->Open();
        return;
    }
    if (dwID == ID_PLAYER_ORDERS) {
        OpenPlayerOrders();
        return;
    }
    if (dwID == ID_PICK_TEAM) {
        if (auto* pBox = dynamic_cast<CPopupMessageBox*>(GetGameMessageBox()))
            pBox->SetExtraButtons({ID_PICK_DEFENSIVE, ID_PICK_BALANCED, ID_PICK_ATTACKING});
        ShowGameMessageBox(CGameMessageBox::MODE_CANCEL_AND_CHOICES, MESSAGE_WHO_PICKS);
        return;
    }
    if (dwID == ID_MATCH_RULES) {
        m_RulesPopup.SetRules(m_Rules);
        m_RulesPopup.Open();
        return;
    }
    if (dwID == ID_PENALTY_TAKERS) {
        if (m_pHuman)
            m_PenaltyTakersPopup.Open();
        return;
    }
    if (dwID >= ID_STARTERS && dwID <= ID_SETPIECE_SEVENTH)
        SetActiveList(dwID);
    CGameClient::OnClicked(dwID);
}

void CClientTeamSelection::UserSlot24(uint32_t dwID, uint32_t x, uint32_t y)
{
    // A list reports the mouse while one of its rows is dragged.
    if (!m_bDragging) {
        CXListBoxEx* pList = GetList(dwID);
        const int nRow = pList ? pList->SourceRow() : -1;
        m_bDragging = true;
        m_dwDragSource = dwID;
        m_pDragged = GetRowPlayer(dwID, nRow);
        m_nDraggedStarterRow = dwID == ID_STARTERS ? nRow : -1;
        // The dragged row as it will be drawn at the mouse.
        if (m_pDragImage && m_pDragImage->m_pSurface && pList && nRow >= 0) {
            COLORREF crCell = kDragGrey;
            if (m_nDraggedStarterRow >= 0 && m_pHuman) {
                const int nRole = m_pHuman->GetWorkingEntry(m_nDraggedStarterRow).byOrder;
                crCell = kDragColours[std::clamp(CPersonDatabase::GetPositionFromRole(nRole), 0, 3)];
            }
            m_pDragImage->Fill(kMagenta);
            plat::DeviceContext* pDC = m_pDragImage->m_pSurface->getDC();
            char szCell[LISTBOX_ROW_TEXT_SIZE];
            const LISTCOLUMN* pColumns = pList->GetColumns();
            pDC->setBkMode(plat::TRANSPARENT);
            pDC->selectFont(g_hSmallFont);
            pDC->setTextColor(kRowText);
            for (int c = 0; pColumns && pColumns[c].nLeft != LISTCOLUMN_END && c < 5; ++c) {
                DrawFilledRect(pDC, pColumns[c].nLeft, 0, pColumns[c].nRight - 1, kRowHeight - 1, crCell);
                if (c == 2 || c == 3)
                    continue;
                pList->GetColumnText(nRow, c, szCell);
                plat::Rect rc{pColumns[c].nLeft + 3, 0, pColumns[c].nRight - 3, kRowHeight};
                pDC->drawText(szCell, -1, &rc, (c == 1 ? plat::DT_LEFT : plat::DT_RIGHT) | plat::DT_SINGLELINE);
            }
            m_pDragImage->m_pSurface->releaseDC(pDC);
        }
    }
    m_DragPoint = plat::Point{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

void CClientTeamSelection::OnLButtonDown(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonDown(flags, x, y);
    if (m_nViewMode != VIEW_PITCH || !m_pHuman)
        return;
    // A press on a marker selects that starter in the list.
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        const plat::Point& corner = m_MarkerPoints[static_cast<size_t>(i)];
        const int nLeft = corner.x - m_nLeft, nTop = corner.y - m_nTop;
        if (x >= nLeft && x < nLeft + kMarkerSize && y >= nTop && y < nTop + kMarkerSize) {
            if (CXListBoxEx* pList = GetList(ID_STARTERS)) {
                SetFocus(pList);
                pList->SetSelection(i);
                SetActiveList(ID_STARTERS);
            }
            break;
        }
    }
}

void CClientTeamSelection::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonUp(flags, x, y);
    if (m_bDragging) {
        m_bDragging = false;
        DrawPitch();
    }
}

void CClientTeamSelection::OnDoubleClicked(uint32_t dwID)
{
    // The keeper's place keeps its role; other roles change through the
    // player-role popup.
    const CXListBoxEx* pList = GetList(dwID);
    if (dwID == ID_STARTERS && pList && pList->m_nClickedColumn == 3) {
        const int nRow = pList->GetSelection();
        if (nRow == 0) {
            ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_KEEPER_ROLE);
            return;
        }
        // An outfield starter's role: never the goalkeeper's.
        if (const CPlayerDatabase* pPlayer = GetRowPlayer(dwID, nRow)) {
            SetActiveList(dwID);
            m_nRoleRow = nRow;
            if (!m_RolePopup.Show(0, pPlayer, GetTeamRole(pPlayer)))
                m_nRoleRow = -1;
            return;
        }
    }
    // Any other row opens the player's details.
    if (const CPlayerDatabase* pPlayer = pList ? GetRowPlayer(dwID, pList->GetSelection()) : nullptr) {
        SetActiveList(dwID);
        ShowPlayerDetails(pPlayer->m_idPerson);
    }
}

void CClientTeamSelection::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox || pBox->GetTextItem() != MESSAGE_WHO_PICKS) {
        CGameClient::OnEndMessageBoxPopup();
        return;
    }
    switch (pBox->m_dwResultID) {
    case ID_PICK_DEFENSIVE:
        DelegateTeamPicking(3);
        break;
    case ID_PICK_BALANCED:
        DelegateTeamPicking(2);
        break;
    case ID_PICK_ATTACKING:
        DelegateTeamPicking(1);
        break;
    default:
        UpdatePickTeamButton(false);
        break;
    }
}

void CClientTeamSelection::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    const bool bConfirmed = pPopup && pPopup->m_dwResultID == CGamePopup::kOkButtonID;
    if (pPopup && pPopup == m_pPlayerOrders.get()) {
        // The place keeps what the popup handed back only on OK.
        if (m_nOrdersPlace >= 0 && m_pHuman && bConfirmed)
            for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
                m_pHuman->SetTeamOrderAdjustment(m_nOrdersPlace, i, m_abyPlaceOrders[static_cast<size_t>(i)]);
        m_nOrdersPlace = -1;
    } else if (pPopup == &m_RolePopup) {
        // The sheet may have changed under the popup: the row must still
        // hold the player it was opened for, and an outfield place never
        // goes in goal.
        const int nRow = m_nRoleRow;
        m_nRoleRow = -1;
        const int nRole = m_RolePopup.GetChosenRole();
        if (bConfirmed && m_pHuman && nRow > 0 && nRole > 0 &&
            GetRowPlayer(ID_STARTERS, nRow) == m_RolePopup.GetPlayer())
            ChangeStarterRole(nRow, nRole);
    } else if (!bConfirmed || !m_pHuman) {
        return;
    } else if (pPopup == &m_PenaltyTakersPopup) {
        // The first kicker is the penalty taker now: the lists show him.
        UpdatePickTeamButton(true);
        Refresh();
    }
}

// ---- browsing ----

uint32_t CClientTeamSelection::MoveSelection(int nStep)
{
    CXListBoxEx* pList = GetList(m_dwActiveList);
    if (!pList)
        return 0;
    int nRow = pList->GetSelection() + nStep;
    uint32_t dwList = m_dwActiveList;
    if (nRow >= pList->GetCount() && nStep > 0) {
        // Down from the last starter to the bench, from the bench to the reserves.
        if (dwList == ID_STARTERS)
            dwList = m_nSubstituteRows > 0 ? ID_SUBSTITUTES : ID_RESERVES;
        else if (dwList == ID_SUBSTITUTES)
            dwList = ID_RESERVES;
        else
            nRow = pList->GetCount() - 1;
        if (dwList != m_dwActiveList)
            nRow = 0;
    } else if (nRow < 0 && nStep < 0) {
        if (dwList == ID_RESERVES)
            dwList = m_nSubstituteRows > 0 ? ID_SUBSTITUTES : ID_STARTERS;
        else if (dwList == ID_SUBSTITUTES)
            dwList = ID_STARTERS;
        else
            nRow = 0;
        if (dwList != m_dwActiveList)
            nRow = GetList(dwList) ? GetList(dwList)->GetCount() - 1 : -1;
    }
    CXListBoxEx* pTarget = GetList(dwList);
    if (!pTarget || nRow < 0 || nRow >= pTarget->GetCount())
        return 0;
    pTarget->SetSelection(nRow);
    pTarget->Scroll(LISTSCROLL_TO_ROW_TOO, nRow);
    SetActiveList(dwList);
    const CPlayerDatabase* pPlayer = GetRowPlayer(dwList, nRow);
    return pPlayer ? pPlayer->m_idPerson : 0;
}

uint32_t CClientTeamSelection::GetNextListPlayer() { return MoveSelection(1); }

uint32_t CClientTeamSelection::GetPreviousListPlayer() { return MoveSelection(-1); }

uint32_t CClientTeamSelection::GetCurrentListPlayer()
{
    // A popup changed a player: his rows show again.
    FillSquadLists();
    const CPlayerDatabase* pPlayer = GetRowPlayer(m_dwActiveList, GetList(m_dwActiveList) ? GetList(m_dwActiveList)->GetSelection() : -1);
    return pPlayer ? pPlayer->m_idPerson : 0;
}

void CClientTeamSelection::UpdateBars() { CGameClient::UpdateBars(); }

void CClientTeamSelection::OnPrint() { PrintAllControls(); }

// ---- drawing ----

void CClientTeamSelection::DrawPitch()
{
    if (!m_pDrawingSurface || !m_pDrawingSurface->m_pSurface || !m_pHuman)
        return;
    DrawRoleBoxes();
    if (m_nViewMode != VIEW_PITCH)
        return;
    if (m_pPitch && m_pPitch->m_pSurface)
        m_pDrawingSurface->m_pSurface->bltFast(kPitchLeft, kPitchTop, *m_pPitch->m_pSurface, nullptr,
                                               plat::BLTFAST_WAIT);
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole) {
        const plat::Rect zone = RoleZone(nRole);
        DrawRectOutline(pDC, zone.left, zone.top, zone.right, zone.bottom, kZoneLine, 1);
    }
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        const FORMATIONENTRY& entry = m_pHuman->GetWorkingEntry(i);
        const plat::Point point = FormationToPitch(entry.wX, entry.wY);
        m_MarkerPoints[static_cast<size_t>(i)] = plat::Point{point.x + m_nLeft, point.y + m_nTop};
        DrawPlayerMarker(point, m_pHuman->GetSheetPlayer(i));
    }
}

void CClientTeamSelection::DrawPlayerMarker(const plat::Point& point, const CPlayerDatabase* pPlayer)
{
    if (!pPlayer)
        return;
    const int nCell = std::clamp<int>(pPlayer->m_byPosition, 0, 3);
    if (m_pMarkers && m_pMarkers->m_pSurface) {
        const plat::Rect rc{nCell * kMarkerSize, 0, (nCell + 1) * kMarkerSize, kMarkerSize};
        m_pDrawingSurface->m_pSurface->bltFast(point.x, point.y, *m_pMarkers->m_pSurface, &rc,
                                               plat::BLTFAST_SRCCOLORKEY);
    }
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hSmallBoldFont);
    pDC->setTextColor(plat::RGB(0, 0, 0));
    char szNumber[8];
    std::snprintf(szNumber, sizeof szNumber, "%d", pPlayer->m_bySquadNumber);
    plat::Rect rc{point.x, point.y, point.x + kMarkerSize, point.y + kMarkerSize};
    pDC->drawText(szNumber, -1, &rc, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
}

void CClientTeamSelection::DrawRoleBoxes()
{
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        const int nRole = m_pHuman->GetWorkingEntry(i).byOrder;
        const COLORREF cr = kPositionColours[std::clamp(CPersonDatabase::GetPositionFromRole(nRole), 0, 3)];
        const int nTop = kListTop + i * kRowHeight + 1;
        DrawColourBox(pDC, kListLeft - 7, nTop, kListLeft - 2, nTop + 13, cr, true);
    }
    for (int i = 0; i < 3 && m_nViewMode == VIEW_PITCH; ++i) {
        const int nTop = 76 + i * kRowHeight + 1;
        DrawColourBox(pDC, kSetPieceLeft - 7, nTop, kSetPieceLeft - 2, nTop + 13, kPositionColours[i + 1], true);
    }
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
}

void CClientTeamSelection::DrawSelectionFrame()
{
    CXListBoxEx* pList = GetList(ID_STARTERS);
    if (m_dwActiveList != ID_STARTERS || !pList)
        return;
    const int nRow = pList->GetSelection();
    if (nRow < 0 || nRow >= SAVEGAME_LINEUP || !GetRowPlayer(ID_STARTERS, nRow))
        return;
    CXSurface* pScreen = GetScreenSurface();
    if (!pScreen || !pScreen->m_pSurface)
        return;
    const plat::Point p = m_MarkerPoints[static_cast<size_t>(nRow)];
    const int d = std::abs(static_cast<int>(plat::milliseconds() / 120 % 6) - 3);
    const int l = p.x - d - 2, t = p.y - d - 2, r = p.x + 15 + d, b = p.y + 15 + d;
    plat::DeviceContext* pDC = pScreen->m_pSurface->getDC();
    // Two lines of four pixels at each corner, two pixels wide.
    const int aCorners[4][4] = {{l, t, 1, 1}, {r, t, -1, 1}, {l, b, 1, -1}, {r, b, -1, -1}};
    for (const auto& c : aCorners) {
        DrawLine(pDC, c[0], c[1], c[0] + 4 * c[2], c[1], kFrameColour, 2, plat::PS_SOLID);
        DrawLine(pDC, c[0], c[1], c[0], c[1] + 4 * c[3], kFrameColour, 2, plat::PS_SOLID);
    }
    pScreen->m_pSurface->releaseDC(pDC);
}

void CClientTeamSelection::DrawDraggedRow()
{
    CXSurface* pScreen = GetScreenSurface();
    if (!m_bDragging || !m_pDragged || !pScreen || !pScreen->m_pSurface || !m_pDragImage || !m_pDragImage->m_pSurface)
        return;
    const int x = m_DragPoint.x + m_nLeft + 2, y = m_DragPoint.y + m_nTop + 16;
    const int nWidth = std::min(kShortRowWidth, pScreen->m_nWidth - x);
    const int nHeight = std::min(kRowHeight, pScreen->m_nHeight - y);
    if (nWidth <= 0 || nHeight <= 0)
        return;
    const plat::Rect rc{0, 0, nWidth, nHeight};
    pScreen->m_pSurface->bltFast(x, y, *m_pDragImage->m_pSurface, &rc, plat::BLTFAST_SRCCOLORKEY);
    if (CXAnimation* pPosition = m_RowIcons.PositionIcon(m_pDragged->m_byPosition))
        pPosition->DrawFrame(pScreen, x + 205, y + 1, 0, true);
    if (CXAnimation* pRole = m_RowIcons.RoleIcon(GetTeamRole(m_pDragged)))
        pRole->DrawFrame(pScreen, x + 234, y + 1, 0, true);
}

void CClientTeamSelection::OnPaint()
{
    CGameClient::OnPaint();
    // A game being loaded repaints the screen while the records it showed
    // are gone.
    const CGame* pGame = Game();
    const CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    if (!m_pHuman || !pDatabase || pDatabase->GetCurrentSaveGame() != m_pHuman)
        return;
    if (m_nViewMode == VIEW_PITCH)
        DrawSelectionFrame();
    DrawDraggedRow();
}
