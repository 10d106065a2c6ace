#include "screens/CClientClubRatings.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/CDate.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kMonthSet = 130;
constexpr int kRatingNames = 61;
constexpr int kWeeks = 52;
constexpr int kDaysBack = 357;
constexpr int kManagerLine = 3;
constexpr uint32_t kPrintButton = 1058;

constexpr int kPanelLeft = 10, kPanelTop = 30, kPanelRight = 630, kPanelBottom = 220;
constexpr int kGraphLeft = 45, kGraphTop = 40, kGraphRight = 595, kGraphBottom = 200;
constexpr int kBarWidth = 144, kBarHeight = 16;
constexpr double kBarPixelsPerPoint = 1.44;
constexpr int kMarkerWidth = 7, kMarkerHeight = 8;
constexpr int kToggleWidth = 44, kToggleHeight = 20;

constexpr COLORREF kAxisColour = 0xffffff;
constexpr COLORREF kDefaultClubColour = 0x9d37;
constexpr COLORREF kNameColour = plat::RGB(242, 242, 234);

struct RatingLine {
    COLORREF crColour;
    int x, y;
    int nRecordByte;
};
// In line order; the toggle of line k is ID_FIRST_TOGGLE + k and stands
// right of its bar.
constexpr RatingLine kLines[CClientClubRatings::kRatings] = {
    {0x2121ff, 80, 250, 5},  {0x21f7ff, 80, 280, 4},  {0xbd42ff, 80, 310, 6},  {0x21ff73, 80, 340, 7},
    {0xff39bd, 80, 370, 1},  {0xb5adad, 400, 250, 2}, {0xff294a, 400, 280, 3}, {0x08ad00, 400, 310, 9},
    {0x5a8cff, 400, 340, 8}, {0xffff52, 400, 370, 0}};
constexpr int kToggleOffsetX = 154;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

}  // namespace

CClientClubRatings& GetClubRatingsScreen()
{
    static CClientClubRatings s_Screen;
    return s_Screen;
}

CClientClubRatings::CClientClubRatings() { m_wScreenID = SCREEN_CLUB_RATINGS; }

CClientClubRatings::~CClientClubRatings() = default;

int CClientClubRatings::LineOfRecordByte(int nByte)
{
    for (int k = 0; k < kRatings; ++k)
        if (kLines[k].nRecordByte == nByte)
            return k;
    return -1;
}

int CClientClubRatings::GetRating(const CClubDatabase& club, int nLine)
{
    if (nLine < 0 || nLine >= kRatings)
        return 0;
    return CDivisionDatabase::GetClubRatings(club).anRating[kLines[nLine].nRecordByte];
}

bool CClientClubRatings::OnInitDialog()
{
    m_pGraph = nullptr;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    m_pClub = pDatabase ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(m_dwChangeParameter & 0xFFFF)) : nullptr;
    if (!m_pClub)
        if (const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr)
            m_pClub = pHuman->GetClub();
    m_pDivision = m_pClub ? m_pClub->m_pDivision : nullptr;
    m_pCountry = m_pClub ? m_pClub->GetCountry() : nullptr;

    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar) {
        g_pTitlebar->SetSelectors(
            {CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION, CGameTitlebar::SELECTOR_CLUB});
        if (m_pClub)
            g_pTitlebar->SetSelectorItems(m_pClub);
    }

    m_pMarkers.reset(LoadMainArchiveBitmap("BarMrkr.bmp", true));
    m_pGraph = static_cast<CXGraph*>(
        AddControl(XCONTROL_GRAPH, kGraphLeft, kGraphTop, kGraphRight, kGraphBottom, ID_GRAPH, nullptr));
    CGame* pGame = Game();
    CXSurface* pFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnRate.bmp") : nullptr;
    for (int k = 0; k < kRatings; ++k) {
        auto* pToggle = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, kLines[k].x + kToggleOffsetX,
                                                              kLines[k].y, kToggleWidth, kToggleHeight,
                                                              ID_FIRST_TOGGLE + k, nullptr));
        if (!pToggle)
            continue;
        pToggle->m_hFont = g_hSmallFont;
        pToggle->SetToggleTextID(pFace, kToggleHeight * k, m_pGraph, k, 0);
        pToggle->SetChecked(1);
    }
    FillGraph();
    DrawRatings();
    if (m_bRestore) {
        m_bRestore = false;
        for (int k = 0; k < kRatings; ++k) {
            auto* pToggle = dynamic_cast<CXButton*>(FindControl(ID_FIRST_TOGGLE + k));
            if (!pToggle)
                continue;
            pToggle->SetChecked(m_abyKeptChecked[static_cast<size_t>(k)]);
            pToggle->SetPressed(pToggle->m_bChecked ? 0 : 1);
            if (m_pGraph)
                m_pGraph->SetSeriesHidden(k, !pToggle->m_bChecked);
        }
        if (m_pGraph)
            m_pGraph->Draw();
    }
    if (auto* pPrint = g_pNavigationBar ? dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(kPrintButton)) : nullptr) {
        pPrint->Enable(false);
        pPrint->Show(true, true);
    }
    return bResult;
}

void CClientClubRatings::OnDestroy()
{
    for (int k = 0; k < kRatings; ++k) {
        const auto* pToggle = dynamic_cast<CXButton*>(FindControl(ID_FIRST_TOGGLE + k));
        m_abyKeptChecked[static_cast<size_t>(k)] = pToggle ? pToggle->m_bChecked : 1;
    }
    m_pGraph = nullptr;
    CGameClient::OnDestroy();
    m_pMarkers.reset();
}

void CClientClubRatings::OnClicked(uint32_t dwID)
{
    // A hidden line's toggle stays down, a shown one's up.
    if (dwID >= ID_FIRST_TOGGLE && dwID < ID_FIRST_TOGGLE + kRatings)
        if (auto* pToggle = dynamic_cast<CXButton*>(FindControl(dwID)))
            pToggle->SetPressed(pToggle->m_bChecked ? 0 : 1);
    CGameClient::OnClicked(dwID);
}

void CClientClubRatings::OnSelChange(uint32_t dwID)
{
    const bool bSelector = dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_COUNTRY) ||
                           dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_DIVISION) ||
                           dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_CLUB);
    const CClubDatabase* pChosen = bSelector && g_pTitlebar ? g_pTitlebar->GetSelectedClub() : nullptr;
    if (pChosen && pChosen != m_pClub && g_pNavigationBar) {
        // The screen opens again on the chosen club with the lines as they are.
        m_bRestore = true;
        g_pNavigationBar->SetNextClient(this, pChosen->GetID());
        return;
    }
    CGameClient::OnSelChange(dwID);
}

void CClientClubRatings::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (!m_pBackground->Create(Width(), Height(), false, false))
        return;
    CXSurface::Blit(m_pBackground, GetBackgroundSurface(), 0, 0);
    CGame* pGame = Game();
    if (CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr)
        ShadeRectangle(m_pBackground, pShading, kPanelLeft, kPanelTop, kPanelRight, kPanelBottom);
    else
        ShadeRect(kPanelLeft, kPanelTop, kPanelRight - kPanelLeft, kPanelBottom - kPanelTop);
    DrawSurfaceText(g_hSmallFont, m_pBackground, kRatingNames, kNameColour);
    if (m_pClub)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, kDefaultClubColour, 0xffffff);
}

void CClientClubRatings::FillGraph()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!m_pGraph || !pDatabase)
        return;
    const double dItemWidth = static_cast<double>(kGraphRight - kGraphLeft) / kWeeks;
    m_pGraph->Clear();
    m_pGraph->SetUp(GRAPH_ITEM_LABELS, kAxisColour, kAxisColour, dItemWidth, 0, 0xffffff);
    m_pGraph->SetYRange(0, 100, 0, 100, true, false, false);
    m_pGraph->SetXAxis(kWeeks, 11, 0, kWeeks);
    m_pGraph->m_szLeftCaption[0] = m_pGraph->m_szRightCaption[0] = m_pGraph->m_szBottomCaption[0] = '\0';

    const std::vector<CLUBRATINGS> weeks =
        m_pClub && m_pDivision ? m_pDivision->ReadClubHistory(*m_pClub) : std::vector<CLUBRATINGS>{};
    // A full year of history ends this week; a shorter one began around the
    // season's start.
    CDate date = pDatabase->GetGameDate();
    if (weeks.size() >= static_cast<size_t>(kWeeks)) {
        date.AddDays(-kDaysBack);
    } else if (m_pCountry && m_pCountry->GetSeasonStartDate().IsValid()) {
        date = m_pCountry->GetSeasonStartDate();
        if (date.GetMonth() > 1)
            date.SetMonth(date.GetMonth() - 1);
        else
            date = CDate(date.GetYear() - 1, 12, date.GetDay());
    }
    int nLastMonth = 0;
    for (int w = 0; w < kWeeks; ++w) {
        if (date.GetMonth() != nLastMonth) {
            nLastMonth = date.GetMonth();
            m_pGraph->SetItemLabel(w, GetTableTextOrEmpty(kMonthSet, nLastMonth - 1));
        }
        date.AddDays(7);
    }
    for (int k = 0; k < kRatings; ++k)
        m_pGraph->SetUpLine(0, k, 2, kLines[k].crColour, GRAPH_LINE, true, false, dItemWidth, 0);
    for (const CLUBRATINGS& week : weeks)
        for (int k = 0; k < kRatings; ++k)
            m_pGraph->AddValue(k, week.anRating[kLines[k].nRecordByte]);
    for (int k = 0; m_pClub && k < kRatings; ++k)
        m_pGraph->AddValue(k, GetRating(*m_pClub, k));
    m_pGraph->Show(true, false);
    m_pGraph->Draw();
}

void CClientClubRatings::DrawRatings()
{
    ShowAllControls(false);
    ConstructScreen();
    const bool bManager = m_pClub && m_pClub->m_wManagerId && m_pClub->GetManager();
    for (int k = 0; m_pClub && k < kRatings; ++k) {
        const int nValue = k == kManagerLine && !bManager ? 0 : GetRating(*m_pClub, k);
        if (k != kManagerLine || bManager) {
            int nLow = nValue, nHigh = nValue;
            if (m_pGraph)
                for (double dValue : m_pGraph->GetSeries(k).values) {
                    nLow = std::min(nLow, static_cast<int>(dValue));
                    nHigh = std::max(nHigh, static_cast<int>(dValue));
                }
            DrawRatingBar(kLines[k].crColour, kLines[k].x, kLines[k].y, nValue, nLow, nHigh);
        }
        if (auto* pToggle = dynamic_cast<CXButton*>(FindControl(ID_FIRST_TOGGLE + k)))
            pToggle->SetText("%d%%", nValue);
    }
    RestoreBackground(0, 0, Width(), Height());
    ShowAllControls(true);
    if (m_pGraph) {
        m_pGraph->Show(true, false);
        m_pGraph->Draw();
    }
}

void CClientClubRatings::DrawRatingBar(COLORREF crColour, int x, int y, int nValue, int nLow, int nHigh)
{
    if (!m_pBackground || !m_pBackground->m_pSurface)
        return;
    // A signed rating below zero draws no bar; nothing reaches past the box.
    auto pixels = [](int nPoints) { return static_cast<int>(std::clamp(nPoints, 0, 100) * kBarPixelsPerPoint); };
    nLow = std::min(nLow, nValue);
    nHigh = std::max(nHigh, nValue);
    m_pBackground->ShadeRect(x, y, kBarWidth, kBarHeight, 2);
    const int nFill = pixels(nValue) - 1;
    if (nFill > 0)
        m_pBackground->BlendRect(x + 1, y + 1, nFill, kBarHeight - 1, crColour, crColour, 0.85f);
    if (!m_pMarkers || !m_pMarkers->m_pSurface || nLow + nHigh <= 0)
        return;
    const plat::Rect rcLow{kMarkerWidth, 0, 2 * kMarkerWidth, kMarkerHeight};
    const plat::Rect rcHigh{0, 0, kMarkerWidth, kMarkerHeight};
    m_pBackground->m_pSurface->bltFast(x + pixels(nLow) - 3, y + 10, *m_pMarkers->m_pSurface, &rcLow,
                                       plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
    m_pBackground->m_pSurface->bltFast(x + pixels(nHigh) - 3, y - 2, *m_pMarkers->m_pSurface, &rcHigh,
                                       plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
}

void CClientClubRatings::OnPrint() { PrintControl(ID_GRAPH); }
