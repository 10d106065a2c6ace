#include "screens/FinanceScreenLook.h"

#include "shell/CGame.h"
#include "shell/CGameClient.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"

namespace finance_look {

namespace {

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

constexpr COLORREF kAxisColour = 0xffffff;
constexpr int kShortMonthSet = 130;

}  // namespace

bool OpenScreen(CGameClient& screen, std::initializer_list<int> selectors)
{
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    screen.ConstructScreen();
    const bool bResult = screen.CGameClient::OnInitDialog();
    if (g_pTitlebar)
        g_pTitlebar->SetSelectors(selectors);
    return bResult;
}

void DrawBackground(CGameClient& screen, int nCaptionSet, int nTabX)
{
    SetBackgroundBitmap("bgMain.bmp");
    delete screen.m_pBackground;
    screen.m_pBackground = new CXSurface;
    CXSurface* pBackground = screen.m_pBackground;
    if (!pBackground->Create(screen.Width(), screen.Height(), false, false))
        return;
    CXSurface::Blit(pBackground, GetBackgroundSurface(), 0, 0);
    CGame* pGame = Game();
    if (CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr)
        ShadeRectangle(pBackground, pShading, 10, 300, 630, 470);
    else
        screen.ShadeRect(10, 300, 620, 170);
    pBackground->FillGradient(10, 484 + 27, 80, 3, kLineColour, kLineColour);
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        const CAPTIONTAB kTabs[] = {{2, 0, 0, nTabX, 22, 200}, {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(&screen, pBackground, pTabs, g_hSmallBoldFont, nCaptionSet, kTabs);
    }
    const CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr)
        DrawColourBoxes(pBackground, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(pBackground, 0x9d37, 0xffffff);
}

CXGraph* AddGraph(CGameClient& screen, uint32_t dwGraphID, uint32_t dwToggleID, int nLine)
{
    auto* pGraph = static_cast<CXGraph*>(
        screen.AddControl(XCONTROL_GRAPH, kGraphLeft, kGraphTop, kGraphRight, kGraphBottom, dwGraphID, nullptr));
    AddGraphToggles(screen, pGraph, {{dwToggleID, nLine}});
    if (auto* pToggle = dynamic_cast<CXButton*>(screen.FindControl(dwToggleID)))
        pToggle->SetChecked(1);
    return pGraph;
}

void StartMonthGraph(CGameClient& screen, CXGraph& graph, int nMonths, int nLabelDivisions, int nLine,
                     int nLineWidth)
{
    screen.RestoreBackground(kGraphLeft, kGraphTop, kGraphRight - kGraphLeft, kGraphBottom - kGraphTop);
    graph.Clear();
    graph.SetUp(GRAPH_ITEM_LABELS | GRAPH_ITEM_LABELS_BY_DIVISION | GRAPH_LEFT_CURRENCY | GRAPH_LEFT_ZERO_LINE,
                kAxisColour, kAxisColour, 0.0, kAxisColour, 0);
    graph.SetXAxis(nMonths, nLabelDivisions, 0, nMonths);
    graph.SetUpLine(GRAPH_SERIES_BY_DIVISION, nLine, nLineWidth, kLineColour, GRAPH_LINE_WITH_POINTS, true, false, 0.0,
                    0);
}

int MonthsBack(int nThisMonth, int nBack)
{
    int nMonth = nThisMonth - nBack;
    while (nMonth <= 0)
        nMonth += 12;
    return nMonth;
}

void LabelMonths(CXGraph& graph, int nFirstMonth, int nMonths, int nStep)
{
    for (int i = 0; i < nMonths; i += nStep)
        graph.SetItemLabel(i, GetTableTextOrEmpty(kShortMonthSet, (nFirstMonth - 1 + i) % 12));
}

void ShowGraph(CGameClient& screen, CXGraph& graph, uint32_t dwToggleID, int nLine)
{
    const auto* pToggle = dynamic_cast<CXButton*>(screen.FindControl(dwToggleID));
    graph.SetSeriesHidden(nLine, pToggle && !pToggle->m_bChecked);
    graph.Draw();
    graph.Show(true, true);
}

void AddGraphToggles(CGameClient& screen, CXGraph* pGraph, std::initializer_list<GRAPHTOGGLE> toggles)
{
    CGame* pGame = Game();
    CXSurface* pFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnTog2.bmp") : nullptr;
    int x = 8;
    for (const GRAPHTOGGLE& toggle : toggles) {
        if (auto* pToggle =
                static_cast<CXButton*>(screen.AddControlXYWH(XCONTROL_BUTTON, x, 484, 84, 26, toggle.dwID, nullptr))) {
            pToggle->m_hFont = g_hSmallFont;
            pToggle->SetToggleTextID(pFace, 0, pGraph, toggle.nLine, 0);
        }
        x += 90;
    }
}

}  // namespace finance_look
