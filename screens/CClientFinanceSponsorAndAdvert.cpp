#include "screens/CClientFinanceSponsorAndAdvert.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "platform/Clock.h"
#include "platform/DeviceContext.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "season/CSponsorManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Screen = CClientFinanceSponsorAndAdvert;

constexpr int kCaptionSet = 54;
constexpr COLORREF kText = 0xFFFFFF;
constexpr COLORREF kFrame = 0x00FFFF;
constexpr COLORREF kDragCells = 0xB75200;
constexpr COLORREF kKey = 0xFF00FF;
constexpr uint32_t kPrintButton = 1058;

constexpr int kShirtWidth = 128, kShirtHeight = 201;
constexpr int kHomeShirtX = 20, kAwayShirtX = 176, kShirtY = 30;
constexpr int kPlacesX = 30, kPlacesY = 264;
constexpr int kListLeft = 356, kListRight = 616;
constexpr int kListsTop = 60, kListsBottom = 470;
constexpr int kSignedTop = 140;
constexpr int kRowWidth = kListRight - kListLeft;

struct PLACEBUTTON {
    uint32_t dwID;
    int x, y, nWidth, nHeight;
};
constexpr PLACEBUTTON kPlaceButtons[] = {
    {Screen::ID_MAIN, 20, 30, 128, 201},   {Screen::ID_SECOND, 176, 30, 128, 201},
    {Screen::ID_FIRST_BOARD, 39, 264, 100, 72}, {367, 158, 264, 132, 80},
    {368, 30, 351, 128, 62},               {369, 162, 351, 128, 62},
    {370, 30, 412, 132, 79},               {Screen::ID_LAST_BOARD, 177, 412, 98, 79},
};

enum : uint8_t { LEFT = 0, RIGHT = 2 };
// Logo, term, amount: the amount takes the room a million needs.
const LISTCOLUMN kColumns[] = {
    {0, 136, 4, 0, LEFT, 0, 0, LISTSORT_NONE, 0},
    {136, 168, 4, 0, RIGHT, 0, 0, LISTSORT_NONE, 0},
    {168, 260, 6, 0, RIGHT, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CSaveGame* CurrentHuman()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

}  // namespace

CClientFinanceSponsorAndAdvert& GetFinanceSponsorAndAdvertScreen()
{
    static CClientFinanceSponsorAndAdvert s_Screen;
    return s_Screen;
}

CClientFinanceSponsorAndAdvert::CClientFinanceSponsorAndAdvert() { m_wScreenID = SCREEN_FINANCE_SPONSORS; }

CClientFinanceSponsorAndAdvert::~CClientFinanceSponsorAndAdvert() = default;

int CClientFinanceSponsorAndAdvert::PulseWidth(uint32_t dwMilliseconds)
{
    return std::abs(static_cast<int>((dwMilliseconds / 120) % 6) - 3);
}

// ---- entry and exit ----

bool CClientFinanceSponsorAndAdvert::OnInitDialog()
{
    m_pHuman = CurrentHuman();
    m_Undo.clear();
    m_apRowSponsors.clear();
    m_nDragMode = 0;
    m_pDragSponsor = nullptr;
    m_dwModeButton = ID_MAIN;
    m_nEditMode = 0;
    m_nBoardSlot = 0;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    m_pShirts.reset(LoadMainArchiveBitmap("LShirts.bmp", true));
    m_pShirtMask.reset(LoadMainArchiveBitmap("mskLShrt.bmp", false));
    m_pPlaces.reset(LoadMainArchiveBitmap("mskProg.bmp", true));
    m_pSmallMark.reset(LoadMainArchiveBitmap("icnQMS.bmp", true));
    m_pLargeMark.reset(LoadMainArchiveBitmap("icnQML.bmp", true));
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar)
        g_pTitlebar->SetSelectors({});
    m_Logos.Load();
    m_pDragSurface = std::make_unique<CXSurface>();
    if (!m_pDragSurface->Create(kRowWidth, kRowHeight, true, true))
        m_pDragSurface.reset();

    for (const PLACEBUTTON& place : kPlaceButtons)
        AddControlXYWH(XCONTROL_BUTTON, place.x, place.y, place.nWidth, place.nHeight, place.dwID, nullptr);
    AddBottomButton(ID_AUTOMATIC);
    AddBottomButton(ID_UNDO);
    AddBottomButton(ID_UNDO_ALL);
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 200, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    const struct {
        uint32_t dwID;
        int nTop, nBottom;
    } lists[] = {{ID_RUNNING, 60, 94}, {ID_SIGNED, kSignedTop, 242}, {ID_OFFERS, 300, 470}};
    for (const auto& list : lists) {
        auto* pList = static_cast<CXListBoxEx*>(
            AddControl(XCONTROL_LISTBOXEX, kListLeft, list.nTop, kListRight, list.nBottom, list.dwID, nullptr));
        if (!pList)
            continue;
        CXScrollBar* pListBar = list.dwID == ID_OFFERS ? pBar : nullptr;
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pListBar, true, nullptr, false, 0,
                     false, false, false);
        pList->SetUpColumns(kListLeft, list.nTop, kListRight, list.nBottom, kColumns, false, false,
                            list.nBottom - list.nTop, false);
        // The screen decides what a drop means; rows are never reordered.
        pList->m_bReportOnlyOutside = 1;
        pList->m_bReportOnlyInside = 1;
        pList->m_bDragWithin = 0;
        pList->m_bDragOut = list.dwID == ID_RUNNING ? 0 : 1;
        pList->m_bAcceptsDrops = list.dwID == ID_RUNNING ? 0 : 1;
    }
    ShowAllControls(true);
    sponsor_parts::ShowButton(*this, ID_UNDO, false);
    sponsor_parts::ShowButton(*this, ID_UNDO_ALL, false);
    DoModeChange(ID_MAIN, false);
    UpdateAutoButton(false);
    if (auto* pPrint = g_pNavigationBar ? dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(kPrintButton)) : nullptr) {
        pPrint->Enable(true);
        pPrint->Show(false, true);
    }
    return bResult;
}

void CClientFinanceSponsorAndAdvert::OnDestroy()
{
    CGameClient::OnDestroy();
    // Every change already reached the sponsor manager; only the history goes.
    m_Undo.clear();
    m_apRowSponsors.clear();
    m_nDragMode = 0;
    m_pDragSponsor = nullptr;
    m_Logos.Free();
    m_pShirts.reset();
    m_pShirtMask.reset();
    m_pPlaces.reset();
    m_pSmallMark.reset();
    m_pLargeMark.reset();
    m_pDragSurface.reset();
    m_pHuman = nullptr;
}

void CClientFinanceSponsorAndAdvert::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    if (!MakeOwnBackground())
        return;
    sponsor_parts::ShadePanel(*this, m_pBackground, 8, 26, 160, 234);
    sponsor_parts::ShadePanel(*this, m_pBackground, 164, 26, 316, 234);
    sponsor_parts::ShadePanel(*this, m_pBackground, 8, 260, 316, 502);
    const CClubDatabase* pClub = m_pHuman ? m_pHuman->GetClub() : nullptr;
    sponsor_parts::DrawClubColourBoxes(m_pBackground, pClub);
    CGame* pGame = Game();
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        static const CAPTIONTAB kTabs[] = {
            {2, 0, 0, 66, 9, 94},          {2, 1, 0, 164, 9, 152},         {2, 2, 0, 8, 243, 308},
            {2, 3, 0, kListLeft, 43, 260}, {2, 4, 0, kListLeft, 123, 260}, {2, 5, 0, kListLeft, 283, 260},
            {0, 0, 0, 0, 0, 0},
        };
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, kTabs);
    }
    // The club's shirts carry the two sponsors; the board picture the six
    // board places.
    if (pClub) {
        DrawShirt(m_pBackground, 0, kHomeShirtX, kShirtY, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                  CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]));
        DrawShirt(m_pBackground, 0, kAwayShirtX, kShirtY, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[2]),
                  CGameTitlebar::GetKitColour(pClub->m_abyAttributes[3]));
    }
    if (m_pPlaces)
        CXSurface::BlitKeyed(m_pBackground, m_pPlaces.get(), kPlacesX, kPlacesY);
    if (m_pSmallMark)
        CXSurface::BlitKeyed(m_pBackground, m_pSmallMark.get(), 87, 60);
    if (m_pLargeMark)
        CXSurface::BlitKeyed(m_pBackground, m_pLargeMark.get(), 221, 94);
}

void CClientFinanceSponsorAndAdvert::DrawShirt(CXSurface* pTarget, int nPattern, int x, int y, COLORREF crFirst,
                                               COLORREF crSecond)
{
    DrawKitPicture(pTarget, m_pShirts.get(), m_pShirtMask.get(), nPattern, kShirtWidth, kShirtHeight, x, y, crFirst,
                   crSecond, true);
}

bool CClientFinanceSponsorAndAdvert::IsShowingCurrentHuman() const
{
    // A game loaded over the screen took the records it showed away.
    return m_pHuman && m_pHuman == CurrentHuman();
}

CSponsorManager* CClientFinanceSponsorAndAdvert::Sponsors() const
{
    return IsShowingCurrentHuman() ? &m_pHuman->GetSponsors() : nullptr;
}

bool CClientFinanceSponsorAndAdvert::Holds(const SPONSOR* pSponsor) const
{
    const CSponsorManager* pManager = Sponsors();
    if (!pManager || !pSponsor)
        return false;
    for (int t = 0; t < CSponsorManager::TYPES; ++t)
        if (pManager->GetOffers(t).Find(const_cast<SPONSOR*>(pSponsor)))
            return true;
    for (int s = 0; s < CSponsorManager::BOARD_SLOTS; ++s)
        if (pManager->GetBoardQueue(s).Find(const_cast<SPONSOR*>(pSponsor)) || pManager->GetCurrentBoard(s) == pSponsor)
            return true;
    return pSponsor == pManager->GetAcceptedKit() || pSponsor == pManager->GetAcceptedShirt() ||
           pSponsor == pManager->GetCurrentKit() || pSponsor == pManager->GetCurrentShirt();
}

CXListBoxEx* CClientFinanceSponsorAndAdvert::GetList(uint32_t dwID) const
{
    if (dwID != ID_RUNNING && dwID != ID_SIGNED && dwID != ID_OFFERS)
        return nullptr;
    return dynamic_cast<CXListBoxEx*>(const_cast<CClientFinanceSponsorAndAdvert*>(this)->FindControl(dwID));
}

SPONSOR* CClientFinanceSponsorAndAdvert::GetRowSponsor(uint32_t dwList, int nRow) const
{
    const CXListBoxEx* pList = GetList(dwList);
    if (!pList || nRow < 0 || nRow >= pList->GetCount())
        return nullptr;
    const int64_t nIndex = pList->GetItemData(nRow);
    if (nIndex < 0 || nIndex >= static_cast<int64_t>(m_apRowSponsors.size()))
        return nullptr;
    SPONSOR* pSponsor = m_apRowSponsors[static_cast<size_t>(nIndex)];
    return Holds(pSponsor) ? pSponsor : nullptr;
}

// ---- the place being edited and its three lists ----

void CClientFinanceSponsorAndAdvert::DoModeChange(uint32_t dwButton, bool bRecord)
{
    if (dwButton < ID_MAIN || dwButton > ID_LAST_BOARD) {
        DebugLog(1, "[CClientFinanceSponsorAndAdvert::DoModeChange] Unhandled Mode Change");
        return;
    }
    // Looking at another place changes nothing the commercial manager does,
    // but an undo must come back to the place its change was made on.
    if (bRecord)
        PushUndo(UNDO_MODE, m_dwModeButton, nullptr, 0, 0, false);
    m_dwModeButton = dwButton;
    m_nEditMode = dwButton == ID_MAIN ? SPONSORFOR_KIT : dwButton == ID_SECOND ? SPONSORFOR_SHIRT : SPONSORFOR_BOARD;
    m_nBoardSlot = m_nEditMode == SPONSORFOR_BOARD ? static_cast<int>(dwButton - ID_FIRST_BOARD) : 0;
    RestoreBackground(kListLeft, kListsTop, kListRight - kListLeft, kListsBottom - kListsTop);
    FillRunningList();
    FillSignedList();
    FillOfferList();
}

int CClientFinanceSponsorAndAdvert::SignedPlaces() const
{
    return m_nEditMode == SPONSORFOR_BOARD ? CSponsorManager::QUEUE_PLACES : 1;
}

void CClientFinanceSponsorAndAdvert::BeginFill(CXListBoxEx* pList)
{
    pList->Show(false, false);
    pList->SetAutoRedraw(false);
    pList->ResetContent();
}

void CClientFinanceSponsorAndAdvert::EndFill(CXListBoxEx* pList)
{
    pList->SetSelection(-1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
    pList->Show(true, true);
}

void CClientFinanceSponsorAndAdvert::FillRunningList()
{
    CXListBoxEx* pList = GetList(ID_RUNNING);
    const CSponsorManager* pManager = Sponsors();
    if (!pList)
        return;
    BeginFill(pList);
    if (pManager) {
        const SPONSOR* pRunning = m_nEditMode == SPONSORFOR_KIT     ? pManager->GetCurrentKit()
                                  : m_nEditMode == SPONSORFOR_SHIRT ? pManager->GetCurrentShirt()
                                                                    : pManager->GetCurrentBoard(m_nBoardSlot);
        if (pRunning)
            AddSponsorRow(pList, const_cast<SPONSOR*>(pRunning));
    }
    EndFill(pList);
}

void CClientFinanceSponsorAndAdvert::FillSignedList()
{
    CXListBoxEx* pList = GetList(ID_SIGNED);
    const CSponsorManager* pManager = Sponsors();
    if (!pList)
        return;
    BeginFill(pList);
    // One row for a shirt's sponsor, the three waiting places of a board.
    RestoreBackground(pList->m_nLeft, pList->m_nTop, pList->Width(), pList->Height());
    pList->Move(kListLeft, kSignedTop, kRowWidth, kRowHeight * SignedPlaces(), false);
    if (pManager) {
        if (m_nEditMode == SPONSORFOR_BOARD) {
            for (SPONSOR* pSponsor : pManager->GetBoardQueue(m_nBoardSlot).Items<SPONSOR>())
                AddSponsorRow(pList, pSponsor);
        }
        else if (const SPONSOR* pSigned =
                     m_nEditMode == SPONSORFOR_KIT ? pManager->GetAcceptedKit() : pManager->GetAcceptedShirt())
            AddSponsorRow(pList, const_cast<SPONSOR*>(pSigned));
    }
    EndFill(pList);
}

void CClientFinanceSponsorAndAdvert::FillOfferList()
{
    CXListBoxEx* pList = GetList(ID_OFFERS);
    const CSponsorManager* pManager = Sponsors();
    if (!pList)
        return;
    const int nFirst = pList->GetFirstVisible();
    BeginFill(pList);
    if (pManager)
        for (SPONSOR* pSponsor : pManager->GetOffers(m_nEditMode).Items<SPONSOR>())
            AddSponsorRow(pList, pSponsor);
    // The offers stay where the player had scrolled them.
    pList->Scroll(LISTSCROLL_TO_ROW, std::min(nFirst, std::max(0, pList->GetCount() - pList->RowsPerView())));
    EndFill(pList);
}

void CClientFinanceSponsorAndAdvert::AddSponsorRow(CXListBoxEx* pList, SPONSOR* pSponsor)
{
    const int nRow = pList->AddString(kText, "%s\t%d\t%s", "", pSponsor->nTerm,
                                      FormatMoney(pSponsor->dwAmount, 0, 0, MONEY_AS_STORED, 0, 1));
    if (nRow >= 0)
        SetRowSponsor(pList, nRow, pSponsor);
}

void CClientFinanceSponsorAndAdvert::SetRowSponsor(CXListBoxEx* pList, int nRow, SPONSOR* pSponsor)
{
    auto it = std::find(m_apRowSponsors.begin(), m_apRowSponsors.end(), pSponsor);
    if (it == m_apRowSponsors.end())
        it = m_apRowSponsors.insert(m_apRowSponsors.end(), pSponsor);
    pList->SetItemData(nRow, static_cast<uint32_t>(it - m_apRowSponsors.begin()));
    pList->RemoveRowGraphics(nRow);
    if (CXAnimation* pLogo = m_Logos.Get(pSponsor->byId))
        pList->AddAlignedColumnGraphic(nRow, pLogo, 6, 0, true);
}

// ---- changes and their undo ----

void CClientFinanceSponsorAndAdvert::MoveSponsor(uint32_t dwSource, uint32_t dwTarget, SPONSOR* pSponsor, bool bRecord)
{
    CSponsorManager* pManager = Sponsors();
    if (!pManager || !Holds(pSponsor) || !GetList(dwSource) || !GetList(dwTarget))
        return;
    if (bRecord)
        PushUndo(UNDO_MOVE, 0, pSponsor, dwSource, dwTarget, true);
    if (dwSource == ID_OFFERS)
        pManager->AcceptSponsorOffer(pSponsor, m_nEditMode, m_nBoardSlot);
    else
        pManager->CancelSponsor(pSponsor, m_nEditMode, m_nBoardSlot);
    // The lists show what the manager now holds.
    FillSignedList();
    FillOfferList();
}

void CClientFinanceSponsorAndAdvert::SwapSponsors(uint32_t dwFirst, uint32_t dwSecond, int nFirstRow, int nSecondRow,
                                                  bool bRecord)
{
    CSponsorManager* pManager = Sponsors();
    SPONSOR* pFirst = GetRowSponsor(dwFirst, nFirstRow);
    SPONSOR* pSecond = GetRowSponsor(dwSecond, nSecondRow);
    if (!pManager || !pFirst || !pSecond || pFirst == pSecond)
        return;
    if (bRecord)
        PushUndo(UNDO_SWAP, static_cast<uint32_t>(nFirstRow) << 16 | static_cast<uint32_t>(nSecondRow & 0xFFFF),
                 nullptr, dwFirst, dwSecond, true);
    // The two take each other's place, each in the other's row.
    pManager->ReplaceSponsor(m_nEditMode, m_nBoardSlot, pFirst, pSecond);
    FillSignedList();
    FillOfferList();
}

void CClientFinanceSponsorAndAdvert::PushUndo(uint8_t byKind, uint32_t dwValue, SPONSOR* pSponsor, uint32_t dwFirst,
                                              uint32_t dwSecond, bool bAutoOff)
{
    m_Undo.push_back({byKind, dwValue, pSponsor, dwFirst, dwSecond});
    if (m_Undo.size() == 1) {
        sponsor_parts::ShowButton(*this, ID_UNDO, true);
        sponsor_parts::ShowButton(*this, ID_UNDO_ALL, true);
    }
    if (bAutoOff)
        UpdateAutoButton(true);
}

void CClientFinanceSponsorAndAdvert::ClearUndo()
{
    m_Undo.clear();
    sponsor_parts::ShowButton(*this, ID_UNDO, false);
    sponsor_parts::ShowButton(*this, ID_UNDO_ALL, false);
}

void CClientFinanceSponsorAndAdvert::UndoLast()
{
    if (m_Undo.empty())
        return;
    const UNDOENTRY entry = m_Undo.back();
    m_Undo.pop_back();
    if (m_Undo.empty())
        ClearUndo();
    switch (entry.byKind) {
    case UNDO_MODE:
        DoModeChange(entry.dwValue, false);
        break;
    case UNDO_MOVE:
        MoveSponsor(entry.dwSecond, entry.dwFirst, entry.pSponsor, false);
        break;
    case UNDO_SWAP:
        SwapSponsors(entry.dwFirst, entry.dwSecond, static_cast<int>(entry.dwValue >> 16),
                     static_cast<int>(entry.dwValue & 0xFFFF), false);
        break;
    default:
        break;
    }
}

void CClientFinanceSponsorAndAdvert::UndoAll()
{
    while (!m_Undo.empty())
        UndoLast();
}

void CClientFinanceSponsorAndAdvert::UpdateAutoButton(bool bTurnOff)
{
    if (!IsShowingCurrentHuman())
        return;
    if (bTurnOff)
        m_pHuman->SetDelegation(kDelegateSponsors, 0);
    if (m_pHuman->GetDelegation(kDelegateSponsors) == 0)
        sponsor_parts::ShowButton(*this, ID_AUTOMATIC, sponsor_parts::HasCommercialManager(m_pHuman->GetClub()));
    else {
        m_pHuman->GetSponsors().FillEmptySponsorPlaces();
        ClearUndo();
        DoModeChange(m_dwModeButton, false);
        sponsor_parts::ShowButton(*this, ID_AUTOMATIC, false);
    }
    m_pHuman->GetNotices().ClearResolvedNotices();
}

// ---- the mouse ----

void CClientFinanceSponsorAndAdvert::UserSlot24(uint32_t dwID, uint32_t x, uint32_t y)
{
    // A list reports the mouse while one of its rows is dragged.
    if (m_nDragMode == 0 && (dwID == ID_SIGNED || dwID == ID_OFFERS)) {
        const CXListBoxEx* pList = GetList(dwID);
        m_pDragSponsor = pList ? GetRowSponsor(dwID, pList->SourceRow()) : nullptr;
        m_nDragMode = m_pDragSponsor ? 1 : 0;
    }
    m_nMouseX = static_cast<int>(x);
    m_nMouseY = static_cast<int>(y);
}

void CClientFinanceSponsorAndAdvert::OnMouseMove(uint32_t flags, int x, int y)
{
    m_nMouseX = x;
    m_nMouseY = y;
    CGameClient::OnMouseMove(flags, x, y);
}

void CClientFinanceSponsorAndAdvert::OnLButtonUp(uint32_t flags, int x, int y)
{
    // A drop onto a list reaches the screen through OnDragNotify meanwhile.
    CGameClient::OnLButtonUp(flags, x, y);
    if (m_nDragMode != 0 && m_nDragMode != 1)
        DebugLog(1, "[CClientFinanceSponsorAndAdvert::OnLButtonUp] Unknown Drag Mode!");
    m_nDragMode = 0;
}

void CClientFinanceSponsorAndAdvert::OnDragNotify(uint32_t dwSourceID, uint32_t dwTargetID, uint32_t dwTargetRow,
                                                  uint32_t dwSourceRow)
{
    m_nDragMode = 0;
    const bool bBetweenLists = (dwSourceID == ID_SIGNED && dwTargetID == ID_OFFERS) ||
                               (dwSourceID == ID_OFFERS && dwTargetID == ID_SIGNED);
    const CXListBoxEx* pTarget = GetList(dwTargetID);
    const int nSourceRow = static_cast<int>(dwSourceRow);
    SPONSOR* pSponsor = GetRowSponsor(dwSourceID, nSourceRow);
    if (!bBetweenLists || !pTarget || !pSponsor)
        return;
    int nRow = static_cast<int>(dwTargetRow);
    const int nCount = pTarget->GetCount();
    // A full signed place takes no one more: the drop lands on its last row.
    if (dwTargetID == ID_SIGNED && nCount >= SignedPlaces() && (nRow < 0 || nRow >= nCount))
        nRow = nCount - 1;
    if (nRow < 0 || nRow >= nCount)
        MoveSponsor(dwSourceID, dwTargetID, pSponsor, true);
    else
        SwapSponsors(dwSourceID, dwTargetID, nSourceRow, nRow, true);
}

void CClientFinanceSponsorAndAdvert::OnClicked(uint32_t dwID)
{
    if (const CXListBoxEx* pList = GetList(dwID))
        m_pDragSponsor = GetRowSponsor(dwID, pList->GetSelection());
    else if (dwID >= ID_MAIN && dwID <= ID_LAST_BOARD)
        DoModeChange(dwID, true);
    else
        sponsor_parts::OnBottomButton(dwID, {ID_AUTOMATIC, ID_UNDO, ID_UNDO_ALL, MESSAGE_AUTOMATIC, MESSAGE_UNDO_ALL},
                                      [this] { UndoLast(); });
    CGameClient::OnClicked(dwID);
}

void CClientFinanceSponsorAndAdvert::OnEndMessageBoxPopup()
{
    CGameClient::OnEndMessageBoxPopup();
    if (IsShowingCurrentHuman())
        sponsor_parts::AnswerQuestion(*m_pHuman, kDelegateSponsors, MESSAGE_AUTOMATIC, MESSAGE_UNDO_ALL,
                                      [this] { UpdateAutoButton(false); }, [this] { UndoAll(); });
}

// ---- painting ----

void CClientFinanceSponsorAndAdvert::OnPaint()
{
    CGameClient::OnPaint();
    if (!IsShowingCurrentHuman())
        return;
    if (m_nEditMode < 0 || m_nEditMode > SPONSORFOR_BOARD) {
        DebugLog(1, "[CClientFinanceSponsorAndAdvert::OnPaint] Unknown Editing Mode!");
        return;
    }
    DrawModeFrame();
    if (m_nDragMode == 1)
        DrawDragImage(m_nMouseX + 2, m_nMouseY + 16);
    else if (m_nDragMode != 0)
        DebugLog(1, "[CClientFinanceSponsorAndAdvert::OnPaint] Unknown Drag Mode!");
}

void CClientFinanceSponsorAndAdvert::DrawModeFrame()
{
    CXSurface* pScreen = GetScreenSurface();
    const CXControl* pButton = FindControl(m_dwModeButton);
    if (!pScreen || !pScreen->m_pSurface || !pButton)
        return;
    const int d = PulseWidth(plat::milliseconds());
    const int nLeft = m_nLeft + pButton->m_nLeft - d - 2, nTop = m_nTop + pButton->m_nTop - d - 2;
    const int nRight = m_nLeft + pButton->m_nLeft + pButton->Width() + d + 1;
    const int nBottom = m_nTop + pButton->m_nTop + pButton->Height() + d + 1;
    plat::DeviceContext* pDC = pScreen->m_pSurface->getDC();
    // Two short strokes at each corner.
    for (const int x : {nLeft, nRight})
        for (const int y : {nTop, nBottom}) {
            const int dx = x == nLeft ? 4 : -4, dy = y == nTop ? 4 : -4;
            DrawLine(pDC, x, y, x + dx, y, kFrame, 2, plat::PS_SOLID);
            DrawLine(pDC, x, y, x, y + dy, kFrame, 2, plat::PS_SOLID);
        }
    pScreen->m_pSurface->releaseDC(pDC);
}

void CClientFinanceSponsorAndAdvert::DrawDragImage(int x, int y)
{
    CXSurface* pScreen = GetScreenSurface();
    if (!pScreen || !m_pDragSurface || !m_pDragSurface->m_pSurface || !Holds(m_pDragSponsor))
        return;
    m_pDragSurface->Fill(kKey);
    plat::DeviceContext* pDC = m_pDragSurface->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hSmallFont);
    pDC->setTextColor(kText);
    const char* const apszCells[] = {"", nullptr, nullptr};
    char szTerm[16];
    std::snprintf(szTerm, sizeof szTerm, "%d", m_pDragSponsor->nTerm);
    const std::string amount = FormatMoney(m_pDragSponsor->dwAmount, 0, 0, MONEY_AS_STORED, 0, 1);
    for (int c = 0; kColumns[c].nLeft != LISTCOLUMN_END; ++c) {
        const LISTCOLUMN& column = kColumns[c];
        DrawColourBox(pDC, column.nLeft, 0, column.nRight - 1, kRowHeight - 1, kDragCells, false);
        const char* pszText = c == 0 ? apszCells[0] : c == 1 ? szTerm : amount.c_str();
        plat::Rect rc{column.nLeft + column.nTextMargin, 0, column.nRight - column.nTextMargin, kRowHeight};
        pDC->drawText(pszText, -1, &rc, plat::DT_RIGHT | plat::DT_VCENTER | plat::DT_SINGLELINE);
    }
    m_pDragSurface->m_pSurface->releaseDC(pDC);
    m_Logos.DrawKeyed(m_pDragSurface.get(), m_pDragSponsor->byId, 4, 1);
    m_pDragSurface->m_pSurface->setColorKey(static_cast<uint16_t>(m_pDragSurface->ColorMatch(kKey)));
    sponsor_parts::BlitKeyedClipped(pScreen, m_pDragSurface.get(), 0, 0, kRowWidth, kRowHeight, m_nLeft + x,
                                    m_nTop + y);
}
