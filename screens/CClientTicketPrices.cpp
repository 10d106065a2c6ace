#include "screens/CClientTicketPrices.h"
#include "screens/ChoiceQuestion.h"

#include "screens/FinanceScreenLook.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "platform/Clock.h"
#include "platform/DeviceContext.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXEditPopup.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using Screen = CClientTicketPrices;
const choice_question::Buttons kBottomButtons{Screen::ID_POLICY,
                                              Screen::ID_UNDO,
                                              Screen::ID_UNDO_ALL,
                                              Screen::MESSAGE_POLICY,
                                              Screen::MESSAGE_UNDO_ALL,
                                              {Screen::ID_POLICY_RAISE, Screen::ID_POLICY_STANDARD,
                                               Screen::ID_POLICY_LOWER}};

constexpr int kCaptionSet = 198;
constexpr int kPositionNameSet = 102;
constexpr int kStandKindSet = 104;
constexpr int kSectionNameSet = 38;
// The commercial manager sets the prices when a policy is chosen.
constexpr int kCommercialManager = 3;
constexpr int kPolicyDelegation = 6;
constexpr int kRowHeight = 16;
constexpr int kGraphLeft = 45, kGraphTop = 250, kGraphRight = 285, kGraphBottom = 450;
constexpr int kPictureLeft = 350, kPictureTop = 230, kPictureRight = 624, kPictureBottom = 473;
constexpr COLORREF kRowColour = 0xffffff;
constexpr COLORREF kAxisColour = 0xffffff;
constexpr COLORREF kTakingsColour = 0x2121ff;
constexpr COLORREF kCrowdColour = 0xff294a;
constexpr COLORREF kKeyColour = 0xff00ff;
constexpr COLORREF kNoRowColour = 0xffffff;
constexpr COLORREF kAddedPartsColour = 0x00ffff;
constexpr COLORREF kOutlineColour = 0xffffff;
constexpr float kPlanBlend = 0.7f;

const LISTCOLUMN kColumns[] = {
    {0, 80, 6, 0, 0, 0, 383, LISTSORT_NONE, 0},     {80, 162, 6, 0, 0, 0, 384, LISTSORT_NONE, 0},
    {162, 212, 6, 0, 0, 0, 385, LISTSORT_NONE, 0},  {212, 252, 6, 0, 'x', 0, 386, LISTSORT_NONE, 0},
    {252, 307, 6, 0, 2, 0, 395, LISTSORT_NONE, 0},  {307, 357, 6, 0, 2, 0, 399, LISTSORT_NONE, 0},
    {357, 412, 6, 0, 2, 0, 398, LISTSORT_NONE, 0},  {412, 470, 6, 0, 2, 0, 387, LISTSORT_NONE, 0},
    {470, 525, 6, 0, 2, 0, 388, LISTSORT_NONE, 0},  {525, 580, 6, 0, 2, 0, 389, LISTSORT_NONE, 0},
    {580, 635, 6, 0, 2, 0, 390, LISTSORT_NONE, 0},  {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
constexpr LISTCELLEDIT kPriceCell{1, 8, 0, 0, 0};
constexpr LISTCELLEDIT kFixedCell{0, 0, 0, 0, 0};
const LISTCELLEDIT kCellEdits[] = {kFixedCell, kFixedCell, kFixedCell, kFixedCell, kFixedCell, kFixedCell,
                                   kFixedCell, kPriceCell, kPriceCell, kPriceCell, kPriceCell};

// A stand side's area on the plan beside the pitch (x, y, width, height;
// a negative size grows up or left, away from the pitch).
struct SIDEAREA {
    int x, y, nWidth, nHeight;
};
const SIDEAREA kSideAreas[STAND_SIDES] = {
    {58, 58, 128, -58}, {186, 58, 58, -58}, {186, 155, 58, -97}, {186, 155, 58, 58},
    {58, 155, 128, 58}, {58, 155, -58, 58}, {58, 155, -58, -97}, {58, 58, -58, -58},
};
constexpr int kPlanMargin = 10;

// The bands a stand of each composite type shows, outermost first: sections
// from-to, colour, and the list row's section (-1: no row).
struct BAND {
    int nFrom, nTo;
    COLORREF crColour;
    int nRowSection;
};
constexpr BAND kBandsEnd{0, 0, 0, -2};
const BAND kBands[8][4] = {
    {kBandsEnd},
    {{2, 2, 0xffffff, -1}, {1, 1, 0xffffff, -1}, {0, 0, 0x0000ff, 0}, kBandsEnd},
    {{2, 2, 0xffffff, -1}, {0, 1, 0xff0000, 0}, kBandsEnd},
    {{0, 2, 0x00ff00, 0}, kBandsEnd},
    {{2, 2, 0xffffff, -1}, {1, 1, 0xff0000, 1}, {0, 0, 0xb75200, 0}, kBandsEnd},
    {{1, 2, 0x00ff00, 1}, {0, 1, 0x009d37, 0}, kBandsEnd},
    {{2, 2, 0x1bff6b, 2}, {1, 1, 0x00ff00, 1}, {0, 0, 0x009d37, 0}, kBandsEnd},
    {{2, 2, 0x1bff6b, 2}, {1, 1, 0x00ff00, 1}, {0, 0, 0x009d37, 0}, kBandsEnd},
};

// The plan rectangle of the band that reaches section n: (n + 1) thirds of
// the side's depth, the square corners growing both ways.
plat::Rect BandRect(int nPosition, int nSection)
{
    const SIDEAREA& a = kSideAreas[nPosition];
    const bool bCorner = nPosition % 2 == 1;
    const bool bWide = std::abs(a.nWidth) > std::abs(a.nHeight);
    int nWidth = a.nWidth, nHeight = a.nHeight;
    if (bCorner || !bWide)
        nWidth = a.nWidth * (nSection + 1) / 3;
    if (bCorner || bWide)
        nHeight = a.nHeight * (nSection + 1) / 3;
    const int x1 = a.x + kPlanMargin, y1 = a.y + kPlanMargin;
    const int x2 = x1 + nWidth, y2 = y1 + nHeight;
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

int Entry(int nPosition, int nSection) { return nPosition * STAND_SECTIONS + nSection; }

std::string Money(double dAmount) { return FormatMoney(dAmount, 0, 0, MONEY_AS_STORED, 0, 1); }

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

bool Inside(const plat::Rect& rc, int x, int y) { return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom; }

// A button out of use is disabled and gone from the screen, its pressed
// look wiped off.
void ShowButton(CXClient& client, uint32_t dwID, bool bOn)
{
    auto* pButton = dynamic_cast<CXButton*>(client.FindControl(dwID));
    if (!pButton)
        return;
    pButton->Enable(!bOn);
    if (bOn)
        pButton->Show(true, true);
    else
        client.RestoreBackground(pButton->m_nLeft, pButton->m_nTop, pButton->Width(), pButton->Height());
}

}  // namespace

CClientTicketPrices& GetTicketPricesScreen()
{
    static CClientTicketPrices s_Screen;
    return s_Screen;
}

CClientTicketPrices::CClientTicketPrices() { m_wScreenID = SCREEN_TICKET_PRICES; }

CSaveGame* CClientTicketPrices::Human() const
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

void CClientTicketPrices::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (!m_pBackground->Create(Width(), Height(), false, false))
        return;
    CXSurface::Blit(m_pBackground, GetBackgroundSurface(), 0, 0);
    CGame* pGame = Game();
    if (CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr)
        ShadeRectangle(m_pBackground, pShading, 10, 240, 320, 470);
    else
        ShadeRect(10, 240, 310, 230);
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        static const CAPTIONTAB kTabs[] = {{2, 0, 0, 20, 14, 200}, {2, 1, 0, 20, 222, 200}, {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, kTabs);
    }
    CSaveGame* pHuman = Human();
    if (const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, 0x9d37, 0xffffff);
}

bool CClientTicketPrices::OnInitDialog()
{
    // The controls of an earlier opening went with it.
    m_pSections = nullptr;
    m_pGraph = nullptr;
    m_Undo.clear();
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar)
        g_pTitlebar->SetSelectors({});

    m_pRoofSurface.reset(LoadMainArchiveBitmap("icnRoof.bmp", true));
    m_pRoofIcon.reset();
    m_pOpenIcon.reset();
    if (m_pRoofSurface) {
        m_pRoofIcon = std::make_unique<CXAnimation>();
        m_pRoofIcon->Setup(m_pRoofSurface.get(), 16, 12, 0, 0, 1, 1);
        m_pOpenIcon = std::make_unique<CXAnimation>();
        m_pOpenIcon->Setup(m_pRoofSurface.get(), 16, 12, 0, 12, 1, 1);
    }
    else
        DebugLog(0, "[CClientTicketPrices::OnInitDialog] 'icnRoof.bmp' could not be loaded");

    m_pGraph = static_cast<CXGraph*>(
        AddControl(XCONTROL_GRAPH, kGraphLeft, kGraphTop, kGraphRight, kGraphBottom, ID_GRAPH, nullptr));
    finance_look::AddGraphToggles(*this, m_pGraph, {{ID_SHOW_TAKINGS, LINE_TAKINGS}, {ID_SHOW_CROWD, LINE_CROWD}});
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 300, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    m_pSections = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, 50, 640, 210, ID_SECTIONS, nullptr));
    if (m_pSections) {
        m_pSections->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, true, nullptr, true,
                           0, false, true, false);
        m_pSections->SetUpColumns(0, 50, 640, 210, kColumns, false, false, 210 - 50, false);
        m_pSections->SetCellEditTable(kCellEdits);
        m_pSections->SetAutoRedraw(true);
    }
    int nColumn = 4;
    for (uint32_t dwID : {ID_TOTAL_CAPACITY, ID_TOTAL_SEASON, ID_TOTAL_FILLED}) {
        const LISTCOLUMN& column = kColumns[nColumn++];
        const int x = column.nRight - column.nTextMargin - 49;
        if (auto* pLabel = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, x, 212, 49, 18, dwID, nullptr))) {
            pLabel->m_hFont = g_hSmallFont;
            pLabel->m_byAlignment = 2;
            pLabel->m_bFrame = 0;
        }
    }
    AddBottomButton(ID_POLICY);
    AddBottomButton(ID_UNDO);
    AddBottomButton(ID_UNDO_ALL);
    ShowButton(*this, ID_UNDO, false);
    ShowButton(*this, ID_UNDO_ALL, false);

    if (CSaveGame* pHuman = Human())
        pHuman->ApplyTicketPolicy();
    FillSections();
    m_nSelPosition = kNoPosition;
    m_bWholeGround = false;
    if (m_pSections && m_pSections->GetCount() > 0) {
        const auto dwRow = static_cast<uint32_t>(m_pSections->GetItemData(0));
        m_bFilling = true;
        m_pSections->SetSelection(0);
        m_bFilling = false;
        SelectSection(static_cast<int>(dwRow >> 16), static_cast<int>(dwRow & 0xFFFF), false);
    }
    else
        SetupGraph();
    ShowAllControls(true);
    UpdateButtons(false);
    if (g_pNavigationBar)
        if (CXControl* pPrint = g_pNavigationBar->FindControl(1058))
            pPrint->Show(true, true);
    return bResult;
}

void CClientTicketPrices::OnDestroy()
{
    CGameClient::OnDestroy();
    m_Undo.clear();
    m_pSections = nullptr;
    m_pGraph = nullptr;
    m_pPlan.reset();
    m_HomeMatches.clear();
    m_pLastMatch = nullptr;
    m_pRoofIcon.reset();
    m_pOpenIcon.reset();
    m_pRoofSurface.reset();
}

plat::Rect CClientTicketPrices::GetSectionRect(int nPosition, int nSection) const
{
    if (nPosition < 0 || nPosition >= STAND_SIDES || nSection < 0 || nSection >= STAND_SECTIONS)
        return {};
    return m_arcSection[Entry(nPosition, nSection)];
}

void CClientTicketPrices::DrawBand(int nPosition, int nFromSection, int nToSection, COLORREF crColour, bool bRow)
{
    const plat::Rect rc = BandRect(nPosition, nToSection);
    if (m_pPlan && m_pPlan->m_pSurface) {
        plat::Rect clipped{std::max(rc.left, 0), std::max(rc.top, 0), std::min(rc.right, kPlanWidth),
                           std::min(rc.bottom, kPlanHeight)};
        if (clipped.right > clipped.left && clipped.bottom > clipped.top)
            m_pPlan->FillGradient(clipped.left, clipped.top, clipped.width(), clipped.height(), crColour, crColour);
    }
    if (bRow)
        m_arcSection[Entry(nPosition, nFromSection)] = {rc.left + kPlanX, rc.top + kPlanY, rc.right + kPlanX,
                                                        rc.bottom + kPlanY};
}

void CClientTicketPrices::AddSectionRow(int nPosition, int nSection, const CComponentDatabase& stand)
{
    const CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!m_pSections || !pHuman || !pDatabase)
        return;
    const int nCapacity = stand.GetSectionSeats(nSection);
    const int nSeason = pHuman->GetStandPrice(nPosition, nSection, STAND_PRICE_SOLD);
    const CGroundDatabase* pGround = pHuman->GetClub() ? pHuman->GetClub()->m_pGround : nullptr;
    const auto* pSchedule = pGround ? pGround->GetScheduledStandOnSide(nPosition) : nullptr;
    // The crowd each section held, season-ticket holders among them.
    int nFilled = 0;
    if (m_pLastMatch && !(pSchedule && pSchedule->IsDue(pDatabase->GetGameDate())))
        nFilled = m_pLastMatch->awCrowd[Entry(nPosition, nSection)];
    // The roof column stays empty for its icon.
    std::string row = std::string(GetTableTextOrEmpty(kPositionNameSet, nPosition)) + '\t' +
                      GetTableTextOrEmpty(kStandKindSet, stand.GetSubType()) + '\t' +
                      GetTableTextOrEmpty(kSectionNameSet, nSection) + "\t\t" + FormatThousands(nCapacity) + '\t';
    row += std::string(FormatThousands(nSeason)) + '\t';
    row += FormatThousands(nFilled);
    for (int nKind = 0; nKind < kPriceKinds; ++nKind)
        row += '\t' + Money(pHuman->GetStandPrice(nPosition, nSection, nKind));
    const int nRow = m_pSections->AddString(kRowColour, "%s", row.c_str());
    m_pSections->SetItemData(nRow, static_cast<uint32_t>(nPosition) << 16 | static_cast<uint32_t>(nSection));
    const bool bRoofed = stand.GetSpecificData()[STAND_ROOF] != 0;
    if (CXAnimation* pIcon = bRoofed ? m_pRoofIcon.get() : m_pOpenIcon.get())
        m_pSections->AddAlignedColumnGraphic(nRow, pIcon, 6, 3, true);
    m_nTotalSeason += nSeason;
    m_nTotalFilled += nFilled;
}

void CClientTicketPrices::FillSections()
{
    m_nTotalCapacity = m_nTotalSeason = m_nTotalFilled = 0;
    std::fill(std::begin(m_apSectionRecord), std::end(m_apSectionRecord), nullptr);
    std::fill(std::begin(m_arcSection), std::end(m_arcSection), plat::Rect{});
    m_bFilling = true;
    if (m_pSections)
        m_pSections->ResetContent();
    m_pPlan = std::make_unique<CXSurface>();
    if (m_pPlan->Create(kPlanWidth, kPlanHeight, false, true))
        m_pPlan->Fill(kKeyColour);
    CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    m_HomeMatches.clear();
    m_pLastMatch = nullptr;
    if (pDatabase && pClub)
        m_HomeMatches = pDatabase->GetHomeMatchStands(pClub);
    for (const HOMEMATCHSTANDS& match : m_HomeMatches) {
        if (!match.bRecordFound)
            DebugLog(1, "[CClientTicketPrices::SetupGraph] Could not find the match record from the ID.");
        if (match.bHasStands)
            m_pLastMatch = &match;
    }
    const CGroundDatabase* pGround = pClub ? pClub->m_pGround : nullptr;
    for (int p = 0; p < STAND_SIDES; ++p) {
        const CComponentDatabase* pStand = pGround ? pGround->GetStandOnSide(p) : nullptr;
        if (!pStand || !pStand->IsFinished()) {
            for (int s = STAND_SECTIONS - 1; s >= 0; --s)
                DrawBand(p, s, s, kNoRowColour, false);
            continue;
        }
        m_nTotalCapacity += pStand->GetStandSeats();
        bool abRow[STAND_SECTIONS] = {};
        const bool bAddedParts = pStand->GetSectionSeats(STAND_SECTIONS - 1) > 0;
        DrawBand(p, STAND_SECTIONS - 1, STAND_SECTIONS - 1, bAddedParts ? kAddedPartsColour : kNoRowColour,
                 bAddedParts);
        abRow[STAND_SECTIONS - 1] = bAddedParts;
        const int nType = pStand->GetStadiumCompositeType();
        for (const BAND* pBand = nType > 0 && nType < 8 ? kBands[nType] : kBands[0]; pBand->nRowSection != -2;
             ++pBand) {
            // A section the gate never fills gets no row.
            const bool bRow = pBand->nRowSection >= 0 && pStand->GetSectionSeats(pBand->nRowSection) > 0;
            DrawBand(p, bRow ? pBand->nRowSection : pBand->nFrom, pBand->nTo, pBand->crColour, bRow);
            if (bRow)
                abRow[pBand->nRowSection] = true;
        }
        for (int s = 0; s < STAND_SECTIONS; ++s)
            if (abRow[s]) {
                m_apSectionRecord[Entry(p, s)] = pStand;
                AddSectionRow(p, s, *pStand);
            }
    }
    m_bFilling = false;
    const std::pair<uint32_t, int64_t> totals[] = {
        {ID_TOTAL_CAPACITY, m_nTotalCapacity}, {ID_TOTAL_SEASON, m_nTotalSeason}, {ID_TOTAL_FILLED, m_nTotalFilled}};
    for (const auto& [dwID, nTotal] : totals)
        if (auto* pLabel = dynamic_cast<CXStatic*>(FindControl(dwID)))
            pLabel->SetText("%s", FormatThousands(static_cast<int32_t>(std::min<int64_t>(nTotal, INT32_MAX))));
    DrawPlan();
}

void CClientTicketPrices::DrawPlan()
{
    if (!m_pPlan || !m_pPlan->m_pSurface || !m_pBackground)
        return;
    // The pitch in the middle, on top of the bands.
    if (std::unique_ptr<CXSurface> pPitch{LoadMainArchiveBitmap("PTTicket.bmp", false)})
        CXSurface::Blit(m_pPlan.get(), pPitch.get(), (kPlanWidth - 140) / 2, (kPlanHeight - 105) / 2);
    if (std::unique_ptr<CXSurface> pCompass{LoadMainArchiveBitmap("icnComp.bmp", true)})
        CXSurface::BlitKeyed(m_pPlan.get(), pCompass.get(), (kPlanWidth - 140) / 2 + 5, (kPlanHeight - 105) / 2 + 5);
    // Over the plain backdrop each time, so that plans never pile up.
    CXSurface* pBackdrop = GetBackgroundSurface();
    if (!pBackdrop)
        return;
    m_pBackground->BlendBltKeyed(pBackdrop, m_pPlan.get(), kPlanX, kPlanY, 0, 0, kPlanX, kPlanY, kPlanWidth,
                                 kPlanHeight, kPlanBlend);
    RestoreBackground(kPlanX, kPlanY, kPlanWidth, kPlanHeight);
}

void CClientTicketPrices::SelectSection(int nPosition, int nSection, bool bUndo)
{
    if (bUndo)
        PushUndo(UNDOENTRY::SELECTION, static_cast<uint32_t>(m_nSelPosition) << 16 | static_cast<uint32_t>(m_nSelSection));
    if (nPosition == kNoPosition || nPosition < 0 || nPosition >= STAND_SIDES) {
        m_nSelPosition = kNoPosition;
        m_nSelSection = 0;
        m_bWholeGround = false;
        if (m_pSections) {
            m_bFilling = true;
            m_pSections->SetSelection(-1);
            m_bFilling = false;
        }
        SetupGraph();
        return;
    }
    m_nSelPosition = nPosition;
    m_nSelSection = std::clamp(nSection, 0, STAND_SECTIONS - 1);
    if (m_pSections && !m_bWholeGround) {
        const int nRow = m_pSections->FindItemData(static_cast<uint32_t>(nPosition) << 16 |
                                                   static_cast<uint32_t>(m_nSelSection));
        if (nRow >= 0 && nRow != m_pSections->GetSelection()) {
            m_bFilling = true;
            m_pSections->SetSelection(nRow);
            m_bFilling = false;
        }
        SetFocus(m_pSections);
    }
    SetupGraph();
}

void CClientTicketPrices::PushUndo(uint8_t byKind, uint32_t dwValue)
{
    m_Undo.push_back({static_cast<decltype(UNDOENTRY::byKind)>(byKind), dwValue});
    ShowUndoButtons();
}

void CClientTicketPrices::ShowUndoButtons()
{
    ShowButton(*this, ID_UNDO, !m_Undo.empty());
    ShowButton(*this, ID_UNDO_ALL, !m_Undo.empty());
}

void CClientTicketPrices::SetPrice(int nRow, int nColumn, int nPrice)
{
    CSaveGame* pHuman = Human();
    if (!pHuman || !m_pSections || nRow < 0 || nRow >= m_pSections->GetCount() || nColumn < kFirstPriceColumn ||
        nColumn >= kFirstPriceColumn + kPriceKinds)
        return;
    const auto dwRow = static_cast<uint32_t>(m_pSections->GetItemData(nRow));
    const int nPosition = static_cast<int>(dwRow >> 16), nSection = static_cast<int>(dwRow & 0xFFFF);
    // The edited row becomes the choice first, so that undo finds it again.
    if (nPosition != m_nSelPosition || nSection != m_nSelSection || m_bWholeGround) {
        m_bWholeGround = false;
        SelectSection(nPosition, nSection, true);
    }
    const int nKind = nColumn - kFirstPriceColumn;
    const uint16_t wPrevious = pHuman->GetStandPrice(nPosition, nSection, nKind);
    const auto wPrice = static_cast<uint16_t>(std::clamp(nPrice, 0, 65535));
    pHuman->SetStandTicketPrice(nKind, nPosition, nSection, wPrice, 1.0f);
    PushUndo(UNDOENTRY::PRICE, static_cast<uint32_t>(nColumn) << 16 | wPrevious);
    m_pSections->SetColumnText(nRow, nColumn, Money(wPrice).c_str());
    UpdateButtons(true);
}

void CClientTicketPrices::Undo()
{
    if (m_Undo.empty())
        return;
    const UNDOENTRY entry = m_Undo.back();
    m_Undo.pop_back();
    ShowUndoButtons();
    const int nHigh = static_cast<int>(entry.dwValue >> 16);
    const int nLow = static_cast<int>(entry.dwValue & 0xFFFF);
    if (entry.byKind == UNDOENTRY::SELECTION) {
        m_bWholeGround = false;
        SelectSection(nHigh, nLow, false);
        return;
    }
    CSaveGame* pHuman = Human();
    const int nRow = m_pSections ? m_pSections->GetSelection() : -1;
    if (!pHuman || nRow < 0 || nHigh < kFirstPriceColumn || nHigh >= kFirstPriceColumn + kPriceKinds)
        return;
    const auto dwRow = static_cast<uint32_t>(m_pSections->GetItemData(nRow));
    pHuman->SetStandTicketPrice(nHigh - kFirstPriceColumn, static_cast<int>(dwRow >> 16),
                                static_cast<int>(dwRow & 0xFFFF), static_cast<uint16_t>(nLow), 1.0f);
    m_pSections->SetColumnText(nRow, nHigh, Money(nLow).c_str());
}

void CClientTicketPrices::UndoAll()
{
    while (!m_Undo.empty())
        Undo();
}

void CClientTicketPrices::UpdateButtons(bool bReset)
{
    CSaveGame* pHuman = Human();
    if (!pHuman)
        return;
    if (bReset)
        pHuman->SetDelegation(kPolicyDelegation, POLICY_MANUAL);
    if (pHuman->GetDelegation(kPolicyDelegation) == POLICY_MANUAL) {
        const CClubDatabase* pClub = pHuman->GetClub();
        ShowButton(*this, ID_POLICY, pClub && pClub->GetStaffCount(kCommercialManager) > 0);
    }
    else {
        m_Undo.clear();
        pHuman->ApplyTicketPolicy();
        ShowButton(*this, ID_POLICY, false);
    }
    ShowUndoButtons();
    pHuman->GetNotices().ClearResolvedNotices();
}

void CClientTicketPrices::SetupGraph()
{
    m_TakingsPoints.clear();
    m_CrowdPoints.clear();
    CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    if (!m_pGraph || !pClub || !pDatabase)
        return;
    // The season's home matches: the league's, then the cup and friendly
    // fixtures at home drawn so far.
    int nSlots = 0;
    if (const CDivisionDatabase* pDivision = pClub->m_pDivision)
        nSlots = std::max(pDivision->GetClubCount() - 1, 0) * pDivision->GetMeetings() / 2;
    auto countHome = [&](const CXList& fixtures) {
        for (const CCupFixturesDatabase* p : fixtures.Items<CCupFixturesDatabase>())
            if (p->GetHomeClubID() == pClub->m_wClubId && p->GetGroundID() == pClub->m_wHomeGroundId)
                ++nSlots;
    };
    if (pClub->m_pCountry)
        countHome(pClub->m_pCountry->GetCupFixtures());
    countHome(pDatabase->GetCupFixtures());

    if (m_nSelPosition != kNoPosition)
        for (const HOMEMATCHSTANDS& match : m_HomeMatches) {
            // A match without its record or stand block has no point.
            if (!match.bHasStands)
                continue;
            double dTakings = 0.0, dCrowd = 0.0;
            if (m_bWholeGround) {
                int nPaying = 0;
                for (int e = 0; e < MATCH_STAND_ENTRIES; ++e) {
                    dTakings += match.adwTakings[e];
                    nPaying += match.adwTakings[e] != 0 ? 1 : 0;
                    dCrowd += match.awCrowd[e];
                }
                dTakings = nPaying ? dTakings / nPaying : 0.0;
            }
            else {
                dTakings = match.adwTakings[Entry(m_nSelPosition, m_nSelSection)];
                dCrowd = match.awCrowd[Entry(m_nSelPosition, m_nSelSection)];
            }
            m_TakingsPoints.push_back(dTakings);
            m_CrowdPoints.push_back(dCrowd);
        }
    nSlots = std::max({nSlots, static_cast<int>(m_TakingsPoints.size()), 1});

    RestoreBackground(kGraphLeft, kGraphTop, kGraphRight - kGraphLeft, kGraphBottom - kGraphTop);
    m_pGraph->Clear();
    m_pGraph->SetUp(GRAPH_LEFT_CURRENCY | GRAPH_RIGHT_AXIS_DRAWN, kAxisColour, kAxisColour, 0.0, kAxisColour,
                    kAxisColour);
    // A slot for each home match; the money on the left, the crowd on the right.
    m_pGraph->SetXAxis(nSlots, 4, 4, nSlots);
    m_pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_TAKINGS, 2, kTakingsColour, GRAPH_LINE_WITH_POINTS, true,
                        false, 0.0, 0);
    m_pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_CROWD, 2, kCrowdColour, GRAPH_LINE_WITH_POINTS, false, false,
                        0.0, 0);
    for (size_t i = 0; i < m_TakingsPoints.size(); ++i) {
        m_pGraph->AddValue(LINE_TAKINGS, m_TakingsPoints[i]);
        m_pGraph->AddValue(LINE_CROWD, m_CrowdPoints[i]);
    }
    auto highest = [](const std::vector<double>& values, double dFloor) {
        double d = dFloor;
        for (double v : values)
            d = std::max(d, v);
        return static_cast<int>(std::min(d, 2.0e9));
    };
    m_pGraph->SetYRange(0, highest(m_TakingsPoints, 1000.0), 0, highest(m_CrowdPoints, 100.0), false, true, true);
    for (const auto& [dwID, nLine] : {std::pair{ID_SHOW_TAKINGS, LINE_TAKINGS}, std::pair{ID_SHOW_CROWD, LINE_CROWD}}) {
        const auto* pToggle = dynamic_cast<CXButton*>(FindControl(dwID));
        m_pGraph->SetSeriesHidden(nLine, pToggle && pToggle->m_bChecked);
    }
    m_pGraph->Draw();
    m_pGraph->Show(true, true);
}

void CClientTicketPrices::DrawOutline()
{
    plat::Rect rc;
    if (m_bWholeGround)
        rc = {kPitchLeft, kPitchTop, kPitchRight, kPitchBottom};
    else if (m_nSelPosition != kNoPosition)
        rc = GetSectionRect(m_nSelPosition, m_nSelSection);
    rc = {std::max<int32_t>(rc.left, kPictureLeft), std::max<int32_t>(rc.top, kPictureTop),
          std::min<int32_t>(rc.right, kPictureRight), std::min<int32_t>(rc.bottom, kPictureBottom)};
    CXSurface* pScreen = GetScreenSurface();
    if (rc.right <= rc.left || rc.bottom <= rc.top || !pScreen || !pScreen->m_pSurface)
        return;
    rc = {rc.left + m_nLeft, rc.top + m_nTop, rc.right + m_nLeft - 1, rc.bottom + m_nTop - 1};
    // Marks three pixels long that creep along the edges.
    const int nPhase = std::abs(static_cast<int>(plat::milliseconds() / 120 % 6) - 3);
    plat::DeviceContext* pDC = pScreen->m_pSurface->getDC();
    for (int x = rc.left + nPhase; x + 2 <= rc.right; x += 6) {
        DrawLine(pDC, x, rc.top, x + 2, rc.top, kOutlineColour, 2, plat::PS_SOLID);
        DrawLine(pDC, x, rc.bottom, x + 2, rc.bottom, kOutlineColour, 2, plat::PS_SOLID);
    }
    for (int y = rc.top + nPhase; y + 2 <= rc.bottom; y += 6) {
        DrawLine(pDC, rc.left, y, rc.left, y + 2, kOutlineColour, 2, plat::PS_SOLID);
        DrawLine(pDC, rc.right, y, rc.right, y + 2, kOutlineColour, 2, plat::PS_SOLID);
    }
    pScreen->m_pSurface->releaseDC(pDC);
}

void CClientTicketPrices::OnPaint()
{
    CGameClient::OnPaint();
    // A game being loaded repaints the screen while its records are gone.
    if (Human())
        DrawOutline();
}

void CClientTicketPrices::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonUp(flags, x, y);
    if (x < kPictureLeft || x >= kPictureRight || y < kPictureTop || y >= kPictureBottom)
        return;
    if (Inside({kPitchLeft, kPitchTop, kPitchRight, kPitchBottom}, x, y)) {
        m_bWholeGround = true;
        SelectSection(0, 0, false);
        return;
    }
    for (int p = 0; p < STAND_SIDES; ++p)
        for (int s = 0; s < STAND_SECTIONS; ++s)
            if (m_apSectionRecord[Entry(p, s)] && Inside(m_arcSection[Entry(p, s)], x, y)) {
                m_bWholeGround = false;
                SelectSection(p, s, true);
                return;
            }
    m_bWholeGround = false;
    SelectSection(kNoPosition, 0, true);
}

void CClientTicketPrices::OnSelChange(uint32_t dwID)
{
    if (dwID != ID_SECTIONS || m_bFilling || !m_pSections) {
        CGameClient::OnSelChange(dwID);
        return;
    }
    const int nRow = m_pSections->GetSelection();
    if (nRow < 0)
        return;
    const auto dwRow = static_cast<uint32_t>(m_pSections->GetItemData(nRow));
    m_bWholeGround = false;
    SelectSection(static_cast<int>(dwRow >> 16), static_cast<int>(dwRow & 0xFFFF), true);
}

void CClientTicketPrices::OnListNotify(uint32_t dwID)
{
    const CXEditPopup* pEdit = m_pSections ? m_pSections->CellEditPopup() : nullptr;
    if (dwID != EDIT_POPUP_SCREEN_ID || !pEdit)
        return;
    // Text without a number leaves the price as it was.
    if (!std::any_of(pEdit->Text(), pEdit->Text() + std::strlen(pEdit->Text()),
                     [](char c) { return c >= '0' && c <= '9'; }))
        return;
    // The typed amount is in the shown currency; prices are kept as stored.
    const double dPrice = MoneyValueFromText(pEdit->Text(), 0);
    SetPrice(pEdit->m_nRow, pEdit->m_nColumn, static_cast<int>(std::clamp(dPrice, 0.0, 65535.0)));
}

void CClientTicketPrices::OnClicked(uint32_t dwID)
{
    if (choice_question::OnBottomButton(dwID, kBottomButtons, [this] { Undo(); }))
        return;
    switch (dwID) {
    case ID_SHOW_TAKINGS:
    case ID_SHOW_CROWD:
        CGameClient::OnClicked(dwID);
        SetupGraph();
        return;
    default:
        CGameClient::OnClicked(dwID);
        return;
    }
}

void CClientTicketPrices::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox) {
        CGameClient::OnEndMessageBoxPopup();
        return;
    }
    const bool bAnswered = choice_question::OnAnswer(
        *pBox, kBottomButtons,
        [this](int nChoice) {
            CSaveGame* pHuman = Human();
            if (!pHuman || nChoice < 0)
                return;
            pHuman->SetDelegation(kPolicyDelegation, static_cast<uint8_t>(POLICY_RAISE + nChoice));
            UpdateButtons(false);
            const int nPosition = m_nSelPosition, nSection = m_nSelSection;
            FillSections();
            if (nPosition != kNoPosition)
                SelectSection(nPosition, nSection, false);
        },
        [this] { UndoAll(); });
    if (!bAnswered)
        CGameClient::OnEndMessageBoxPopup();
}

void CClientTicketPrices::OnPrint() { PrintControl(ID_SECTIONS); }
