#include "popups/CPopupPlayerComparison.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "database/CShortlistEntry.h"
#include "platform/DeviceContext.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kCaptionItem = 42;
constexpr int kSkillLabelSet = 73;
constexpr int kTabSet = 138;
constexpr int kWidth = 596, kHeight = 444;
constexpr int kRowHeight = 16;
constexpr int kSourceTop = 70, kSourceBottom = 214;
constexpr int kComparedLeft = 10, kComparedTop = 265, kComparedBottom = 415;
constexpr int kListWidth = 230;
constexpr int kSquadLeft = 10, kShortlistLeft = 330;
// The skill names go below the plot, clear of the OK button.
constexpr int kGraphLeft = 276, kGraphTop = 250, kGraphRight = kWidth - 12, kGraphBottom = 380;
constexpr int kPositionColumn = 1;
constexpr COLORREF kCellFill = 0x70564C, kCellLight = 0xE7BFB3;
constexpr COLORREF kRowText = plat::RGB(255, 255, 255);
constexpr COLORREF kAxisColour = 0xFFFFFF;
constexpr int kDisplayWidth = 800, kDisplayHeight = 600;
// The compared players' bars, top row first.
constexpr COLORREF kSeriesColours[CPopupPlayerComparison::kCompared] = {
    plat::RGB(77, 207, 41), plat::RGB(255, 204, 0), plat::RGB(48, 107, 225), plat::RGB(254, 73, 93)};
// Handling, tackling, passing, dribbling, heading, shooting, pace, strength, fitness.
constexpr int kGraphAttributes[CPopupPlayerComparison::kSkills] = {
    PLAYER_ATTRIBUTE_HANDLING, PLAYER_ATTRIBUTE_TACKLING, PLAYER_ATTRIBUTE_PASSING,
    PLAYER_ATTRIBUTE_DRIBBLING, PLAYER_ATTRIBUTE_HEADING, PLAYER_ATTRIBUTE_SHOOTING,
    PLAYER_ATTRIBUTE_PACE,     PLAYER_ATTRIBUTE_STRENGTH, PLAYER_ATTRIBUTE_FITNESS};

const LISTCOLUMN kColumns[] = {
    {0, 140, 4, 0, 0, 0, 963, LISTSORT_TEXT, 0},
    {140, 170, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0},
    {170, 200, 4, 0, 2, 0, 965, LISTSORT_NUMBER, 0},
    {200, 230, 4, 0, 2, 0, 968, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database()
{
    CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

}  // namespace

CPopupPlayerComparison::CPopupPlayerComparison()
{
    m_wScreenID = kScreenID;
    SetPopupRect((kDisplayWidth - kWidth) / 2, (kDisplayHeight - kHeight) / 2, kWidth, kHeight);
}

CPopupPlayerComparison::~CPopupPlayerComparison() = default;

std::array<int, CPopupPlayerComparison::kSkills> CPopupPlayerComparison::GraphSkills(const CPlayerDatabase& player)
{
    std::array<int, kSkills> anValues{};
    for (int i = 0; i < kSkills; ++i)
        anValues[static_cast<size_t>(i)] = player.m_awAttributes[kGraphAttributes[i]] / 100;
    return anValues;
}

void CPopupPlayerComparison::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    CXSurface* pTabs = Game() ? Game()->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const int nTabTop = kSourceTop - 17 - kRowHeight;
    const CAPTIONTAB tabs[] = {{2, 0, 0, kSquadLeft, nTabTop, kListWidth},
                               {2, 1, 0, kShortlistLeft, nTabTop, kListWidth},
                               {2, 2, 0, kComparedLeft, kComparedTop - 17 - kRowHeight, kListWidth},
                               {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kTabSet, tabs);
}

CXListBoxEx* CPopupPlayerComparison::GetList(uint32_t dwID) const
{
    return dynamic_cast<CXListBoxEx*>(FindControl(dwID));
}

CXGraph* CPopupPlayerComparison::GetGraph() const { return dynamic_cast<CXGraph*>(FindControl(ID_GRAPH)); }

CXListBoxEx* CPopupPlayerComparison::AddPlayerList(uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom)
{
    CXScrollBar* pBar = nullptr;
    if (dwID != ID_COMPARED) {
        const uint32_t dwBarID = dwID == ID_SQUAD ? 901 : 902;
        pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, nRight + 2, nTop, nRight + 18, nBottom,
                                                    dwBarID, nullptr));
        if (pBar)
            pBar->Create(dwBarID == 901 ? 885 : 887, dwBarID == 901 ? 886 : 888, kRowHeight, false, 0);
    }
    auto* pList = static_cast<CXListBoxEx*>(AddControl(XCONTROL_LISTBOXEX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
    if (!pList)
        return nullptr;
    pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, true, nullptr, true, 1, false,
                 false, true);
    pList->m_crCellFill = kCellFill;
    pList->m_crCellLight = kCellLight;
    pList->SetUpColumns(nLeft, nTop, nRight, nBottom, kColumns, false, false, nBottom - nTop, false);
    // The sources lend their rows and keep them; the comparison list takes
    // rows and does not reorder its own.
    if (dwID == ID_COMPARED) {
        pList->m_bDragWithin = 1;
        pList->m_bReportOnlyInside = 1;
        pList->m_bDragOut = 0;
        pList->m_bDropOntoLists = 0;
    } else {
        pList->m_bDragWithin = 0;
        pList->m_bDragOut = 1;
        pList->m_bReportOnlyOutside = 1;
        pList->m_bAcceptsDrops = 0;
    }
    return pList;
}

bool CPopupPlayerComparison::OnInitDialog()
{
    ConstructScreen();
    popup_look::DrawClubColourBoxes(*this);
    CGamePopup::OnInitDialog();
    m_pDragImage = std::make_unique<CXSurface>();
    if (!m_pDragImage->Create(kImageWidth, kImageHeight, false, true))
        m_pDragImage.reset();
    AddConfirmButton(kOkButtonID, CancelX());
    AddCloseButton(false, true);
    m_RowIcons.Load();
    AddPlayerList(ID_SQUAD, kSquadLeft, kSourceTop, kSquadLeft + kListWidth, kSourceBottom);
    AddPlayerList(ID_SHORTLIST, kShortlistLeft, kSourceTop, kShortlistLeft + kListWidth, kSourceBottom);
    AddPlayerList(ID_COMPARED, kComparedLeft, kComparedTop, kComparedLeft + kListWidth, kComparedBottom);
    AddControl(XCONTROL_GRAPH, kGraphLeft, kGraphTop, kGraphRight, kGraphBottom, ID_GRAPH, nullptr);
    m_dwDragMode = DRAG_NONE;
    m_pDragged = nullptr;
    m_dwCurrentSource = ID_SQUAD;
    FillSourceLists();
    // The first four of the squad, in squad order.
    m_apCompared.fill(nullptr);
    m_acrCompared.fill(kRowText);
    m_nComparedRows = 0;
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    if (const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr)
        for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
            if (m_nComparedRows == kCompared)
                break;
            if (pPlayer)
                m_apCompared[static_cast<size_t>(m_nComparedRows++)] = pPlayer;
        }
    FillComparedList();
    RebuildGraph();
    ShowAllControls(true);
    return true;
}

void CPopupPlayerComparison::OnDestroy()
{
    CGamePopup::OnDestroy();
    m_pDragImage.reset();
    m_RowIcons.Clear();
    m_dwDragMode = DRAG_NONE;
    m_pDragged = nullptr;
    m_apCompared.fill(nullptr);
    m_nComparedRows = 0;
}

void CPopupPlayerComparison::AddRow(CXListBoxEx& list, const ROW& row)
{
    const CPlayerDatabase& player = *row.pPlayer;
    const int nRow = list.AddString(row.crText, "%s\t%d\t%d\t%d", player.GetShortName(), player.m_byPosition,
                                    player.GetAge(), player.GetRatingForPosition(-1));
    if (nRow < 0)
        return;
    list.SetItemData(nRow, player.m_idPerson);
    PlayerRowIcons::AddForeignFlag(list, nRow, player.m_byNationality, 0);
    m_RowIcons.AddPosition(list, nRow, player.m_byPosition, kPositionColumn);
}

void CPopupPlayerComparison::FillSourceLists()
{
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    CDatabaseHandler* pDatabase = Database();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    for (uint32_t dwID : {ID_SQUAD, ID_SHORTLIST}) {
        CXListBoxEx* pList = GetList(dwID);
        if (!pList)
            continue;
        pList->SetAutoRedraw(false);
        pList->ResetContent();
        if (dwID == ID_SQUAD && pClub) {
            for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                if (pPlayer)
                    AddRow(*pList, ROW{pPlayer, kRowText});
        } else if (dwID == ID_SHORTLIST && pHuman && pDatabase) {
            const COLORREF crMarked = pHuman->GetColourForClub();
            for (const CShortlistEntry* pEntry : pHuman->GetShortlist().Items<CShortlistEntry>()) {
                ID_PLAYER idPlayer = 0;
                CDate date;
                uint8_t byFlag = 0;
                pEntry->Get(idPlayer, date, byFlag);
                // A player who has retired since he was listed is not compared.
                if (const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(idPlayer))
                    AddRow(*pList, ROW{pPlayer, byFlag ? crMarked : kRowText});
            }
        }
        pList->Sort(kPositionColumn, true, LISTSORT_NUMBER, 0);
        pList->SetAutoRedraw(true);
        pList->UpdateScrollBar();
        pList->Redraw();
    }
}

void CPopupPlayerComparison::FillComparedList()
{
    CXListBoxEx* pList = GetList(ID_COMPARED);
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (int i = 0; i < m_nComparedRows; ++i)
        if (const CPlayerDatabase* pPlayer = m_apCompared[static_cast<size_t>(i)])
            AddRow(*pList, ROW{pPlayer, m_acrCompared[static_cast<size_t>(i)]});
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

const CPlayerDatabase* CPopupPlayerComparison::RowPlayer(uint32_t dwList, int nRow) const
{
    const CXListBoxEx* pList = GetList(dwList);
    CDatabaseHandler* pDatabase = Database();
    if (!pList || !pDatabase || nRow < 0 || nRow >= pList->GetCount())
        return nullptr;
    return pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(pList->GetItemData(nRow)));
}

void CPopupPlayerComparison::RebuildGraph()
{
    CXGraph* pGraph = GetGraph();
    if (!pGraph)
        return;
    const double dItemWidth = static_cast<double>(pGraph->Width()) / kSkills;
    pGraph->Clear();
    pGraph->SetUp(GRAPH_ITEM_LABELS, kAxisColour, kAxisColour, dItemWidth, 0, kAxisColour);
    pGraph->SetYRange(0, 100, 0, 100, true, false, false);
    pGraph->SetXAxis(kSkills, kSkills, 0, kSkills);
    pGraph->m_szLeftCaption[0] = pGraph->m_szRightCaption[0] = pGraph->m_szBottomCaption[0] = '\0';
    for (int i = 0; i < kSkills; ++i)
        pGraph->SetItemLabel(i, GetTableTextOrEmpty(kSkillLabelSet, i));
    for (int nSlot = 0; nSlot < kCompared; ++nSlot) {
        pGraph->SetUpLine(0, nSlot, 1, kSeriesColours[nSlot], GRAPH_BARS, true, false, dItemWidth, 0);
        if (const CPlayerDatabase* pPlayer = m_apCompared[static_cast<size_t>(nSlot)])
            for (int nValue : GraphSkills(*pPlayer))
                pGraph->AddValue(nSlot, nValue);
    }
    pGraph->Draw();
    DrawLegend();
}

void CPopupPlayerComparison::DrawLegend()
{
    if (!m_pBackground || !m_pBackground->m_pSurface)
        return;
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    for (int i = 0; i < kCompared; ++i) {
        const int y = kComparedTop + i * kRowHeight + 4;
        DrawFilledRect(pDC, kComparedLeft - 8, y, kComparedLeft - 2, y + 7, kSeriesColours[i]);
    }
    m_pBackground->m_pSurface->releaseDC(pDC);
    RestoreBackground(kComparedLeft - 8, kComparedTop, 7, kCompared * kRowHeight);
}

void CPopupPlayerComparison::OnSelChange(uint32_t dwID)
{
    CGamePopup::OnSelChange(dwID);
    if (dwID == ID_SQUAD || dwID == ID_SHORTLIST)
        m_dwCurrentSource = dwID;
}

void CPopupPlayerComparison::OnDragInternally(uint32_t /*dwID*/, int /*nTargetRow*/, uint32_t /*dwSourceRow*/)
{
    // A compared row dropped on the comparison list changes nothing.
}

void CPopupPlayerComparison::UserSlot24(uint32_t dwID, uint32_t x, uint32_t y)
{
    if (dwID != ID_SQUAD && dwID != ID_SHORTLIST && dwID != ID_COMPARED)
        return;
    if (m_dwDragMode == DRAG_NONE) {
        const CXListBoxEx* pList = GetList(dwID);
        const int nRow = pList ? pList->SourceRow() : -1;
        const CPlayerDatabase* pPlayer = RowPlayer(dwID, nRow);
        if (!pPlayer)
            return;
        m_dwDragMode = DRAG_ROW;
        m_dwDragList = dwID;
        m_nDraggedRow = nRow;
        m_pDragged = pPlayer;
    }
    m_DragPoint = plat::Point{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

void CPopupPlayerComparison::OnDragNotify(uint32_t dwSourceID, uint32_t dwTargetID, uint32_t dwTargetRow,
                                          uint32_t dwSourceRow)
{
    const int nTarget = static_cast<int>(dwTargetRow);
    if (dwTargetID != ID_COMPARED || nTarget < 0 || nTarget >= m_nComparedRows)
        return;
    const CPlayerDatabase* pPlayer = RowPlayer(dwSourceID, static_cast<int>(dwSourceRow));
    if (!pPlayer)
        return;
    for (int i = 0; i < m_nComparedRows; ++i)
        if (m_apCompared[static_cast<size_t>(i)] == pPlayer)
            return;
    const CXListBoxEx* pSource = GetList(dwSourceID);
    m_apCompared[static_cast<size_t>(nTarget)] = pPlayer;
    m_acrCompared[static_cast<size_t>(nTarget)] =
        pSource ? pSource->GetRowColour(static_cast<int>(dwSourceRow)) : kRowText;
    FillComparedList();
    if (CXListBoxEx* pList = GetList(ID_COMPARED))
        pList->SetSelection(nTarget);
    RebuildGraph();
}

void CPopupPlayerComparison::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGamePopup::OnLButtonUp(flags, x, y);
    m_dwDragMode = DRAG_NONE;
    m_pDragged = nullptr;
    m_nDraggedRow = -1;
}

void CPopupPlayerComparison::OnPaint()
{
    CGamePopup::OnPaint();
    switch (m_dwDragMode) {
    case DRAG_NONE:
        break;
    case DRAG_ROW:
        DrawDraggedRow();
        break;
    default:
        DebugLog(1, "[CPopupPlayerComparison::OnPaint] Unknown Drag Mode!");
        break;
    }
}

void CPopupPlayerComparison::DrawDraggedRow()
{
    CXSurface* pScreen = GetScreenSurface();
    const CXListBoxEx* pList = GetList(m_dwDragList);
    if (!m_pDragged || !pList || !pScreen || !pScreen->m_pSurface || !m_pDragImage || !m_pDragImage->m_pSurface ||
        m_nDraggedRow < 0 || m_nDraggedRow >= pList->GetCount())
        return;
    // Below and right of the pointer.
    const int x = m_nLeft + m_DragPoint.x + 2, y = m_nTop + m_DragPoint.y + 16;
    const plat::Rect rc = popup_look::DrawCarriedRow(*pList, m_nDraggedRow, pList->GetRowColour(m_nDraggedRow), 0,
                                                     kPositionColumn, *m_pDragImage, *pScreen, x, y);
    if (rc.right <= rc.left)
        return;
    const int xFlag = x + 118, yFlag = y + 2;
    CXAnimation* pFlag = PlayerRowIcons::ForeignFlag(m_pDragged->m_byNationality);
    if (pFlag && xFlag >= 0 && yFlag >= 0 && xFlag + CSharedBitmaps::kFlagWidth <= kDisplayWidth &&
        yFlag + CSharedBitmaps::kFlagHeight <= kDisplayHeight)
        pFlag->DrawFrame(pScreen, xFlag, yFlag, 0, true);
    const int xIcon = x + 145, yIcon = y + 1;
    CXAnimation* pIcon = m_RowIcons.PositionIcon(m_pDragged->m_byPosition);
    if (pIcon && xIcon >= 0 && yIcon >= 0 && xIcon + 20 <= kDisplayWidth && yIcon + 13 <= kDisplayHeight)
        pIcon->DrawFrame(pScreen, xIcon, yIcon, 0, true);
}

void CPopupPlayerComparison::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if ((dwID == kOkButtonID || dwID == kCancelButtonID) && IsOnStack()) {
        m_dwResultID = dwID;
        Close();
    }
}
