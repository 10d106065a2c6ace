#include "screens/CClientClubGeneral.h"

#include "popups/CPopupManagerDetails.h"
#include "screens/ClubSeasonSummary.h"

#include "shell/CGame.h"
#include "shell/PlayerRowIcons.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/CompetitionNames.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/CBinaryFile.h"
#include "common/CDate.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "platform/Files.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRowHeight = 16;
constexpr int kMonthSet = 130;
constexpr int kTargetSet = 93;
constexpr int kWordsSet = 114;
constexpr int kNoManagerWord = 6;
constexpr int kCaptionSet = 180;
constexpr int kLabelsDescription = 62;
constexpr uint32_t kPrintButton = 1058;
constexpr uint8_t kNotEntered = 255;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kLabelColour = plat::RGB(242, 242, 234);
constexpr COLORREF kDefaultClubColour = 0x9D37;
constexpr COLORREF kPositionColour = 0x2121FF;
constexpr COLORREF kPointsColour = 0xFF294A;

constexpr int kGraphLeft = 45, kGraphTop = 310, kGraphRight = 595, kGraphBottom = 450;
constexpr int kPanelLeft = 10, kPanelTop = 300, kPanelRight = 630, kPanelBottom = 470;
constexpr int kToggleY = 484;

// The two lists on the right leave room in the lists' face for the longest
// competition's name beside the longest round's, clear of the scroll bar.
constexpr int kListsLeft = 346, kListsRight = 610;
const LISTCOLUMN kRecordColumns[] = {
    {0, 38, 0, 0, 0, 0, 145, LISTSORT_NUMBER, 0},    {38, 76, 0, 0, 0, 0, 148, LISTSORT_NUMBER, 0},
    {76, 114, 0, 0, 0, 0, 149, LISTSORT_NUMBER, 0},  {114, 152, 0, 0, 0, 0, 150, LISTSORT_NUMBER, 0},
    {152, 190, 0, 0, 0, 0, 151, LISTSORT_NUMBER, 0}, {190, 228, 0, 0, 0, 0, 152, LISTSORT_NUMBER, 0},
    {228, 264, 0, 0, 0, 0, 147, LISTSORT_NUMBER, 0}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kCupColumns[] = {
    {0, 160, 0, 0, 0, 0, 280, LISTSORT_TEXT, 0},
    {160, 264, 0, 0, 0, 0, 281, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

struct LabelPlace {
    uint32_t dwID;
    int x, y, nWidth;
    uint8_t byAlignment;
};
constexpr LabelPlace kLabels[] = {
    {CClientClubGeneral::ID_MANAGER, 80, 30, 160, 0},
    {CClientClubGeneral::ID_DIVISION, 80, 64, 160, 0},
    {CClientClubGeneral::ID_EXPECTATION, 80, 98, 160, 0},
    {CClientClubGeneral::ID_GROUND, 80, 142, 160, 0},
    {CClientClubGeneral::ID_CAPACITY, 242, 142, 70, 0},
    {CClientClubGeneral::ID_FIRST_MONEY, 80, 186, 70, 0},
    {CClientClubGeneral::ID_FIRST_MONEY + 1, 152, 186, 70, 0},
    {CClientClubGeneral::ID_FIRST_MONEY + 2, 80, 230, 70, 0},
    {CClientClubGeneral::ID_FIRST_MONEY + 3, 152, 230, 70, 0},
    {CClientClubGeneral::ID_FIRST_MONEY + 4, 224, 230, 70, 0},
    {CClientClubGeneral::ID_MONEY_TOTAL, 80, 274, 70, 0},
    {CClientClubGeneral::ID_FIRST_FIGURE, 400, 230, 54, 6},
    {CClientClubGeneral::ID_FIRST_FIGURE + 1, 456, 230, 54, 6},
    {CClientClubGeneral::ID_FIRST_FIGURE + 2, 512, 230, 54, 6},
    {CClientClubGeneral::ID_FIRST_FIGURE + 3, 568, 230, 54, 6},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

const char* Word(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

}  // namespace

bool CLUBSEASONSUMMARY::Read(const uint8_t* pRecord, size_t nBytes)
{
    if (!pRecord || nBytes < static_cast<size_t>(kBytes))
        return false;
    CBinaryReader reader(pRecord, static_cast<size_t>(kBytes));
    for (uint8_t& byRound : abyCupRound) {
        uint8_t byStage = 0;
        reader.ReadU8(byStage);
        reader.ReadU8(byRound);
    }
    std::vector<uint8_t> skipped(316 - 14);
    reader.ReadBytes(skipped.data(), skipped.size());
    for (int32_t& nMoney : anMoney)
        reader.ReadI32(nMoney);
    int32_t nBalance = 0;
    reader.ReadI32(nBalance);
    reader.ReadI32(nCapacity);
    reader.ReadU16(wClubId);
    reader.ReadU16(wManagerId);
    for (uint8_t& byValue : abyRecord)
        reader.ReadU8(byValue);
    for (uint8_t& byPlace : abyPlaces)
        reader.ReadU8(byPlace);
    reader.ReadU8(byTargetBand);
    return reader.ReadU8(byDivisionId);
}

CClientClubGeneral& GetClubGeneralScreen()
{
    static CClientClubGeneral s_Screen;
    return s_Screen;
}

CClientClubGeneral::CClientClubGeneral() { m_wScreenID = SCREEN_CLUB_GENERAL; }

CClientClubGeneral::~CClientClubGeneral() = default;

CSaveGame* CClientClubGeneral::Human() const
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

bool CClientClubGeneral::IsHumanClub() const
{
    const CSaveGame* pHuman = Human();
    return pHuman && m_pClub && pHuman->GetClub() == m_pClub;
}

CXGraph* CClientClubGeneral::GetGraph() const { return dynamic_cast<CXGraph*>(FindControl(ID_GRAPH)); }
CXListBox* CClientClubGeneral::GetRecordList() const { return dynamic_cast<CXListBox*>(FindControl(ID_RECORD_LIST)); }
CXListBox* CClientClubGeneral::GetCupList() const { return dynamic_cast<CXListBox*>(FindControl(ID_CUP_LIST)); }

std::string CClientClubGeneral::LabelText(uint32_t dwID) const
{
    const auto* pLabel = dynamic_cast<const CXStatic*>(FindControl(dwID));
    return pLabel ? pLabel->Text() : std::string();
}

bool CClientClubGeneral::OnInitDialog()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    CSaveGame* pHuman = Human();
    m_pClub = pDatabase ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(m_dwChangeParameter & 0xFFFF)) : nullptr;
    if (!m_pClub && pHuman)
        m_pClub = pHuman->GetClub();
    m_pDivision = m_pClub ? m_pClub->m_pDivision : nullptr;
    const CCountryDatabase* pCountry = m_pClub ? m_pClub->GetCountry() : nullptr;
    m_nCurrentSeason = pCountry ? std::max(0, pCountry->GetSeasonYear() - kSeasonBase) : 0;
    const int nAsked = static_cast<int>(m_dwChangeParameter >> 16) - 1;
    m_nSelectedSeason = nAsked < 0 ? m_nCurrentSeason : std::min(nAsked, m_nCurrentSeason);
    m_bSummaryFound = false;

    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar) {
        g_pTitlebar->SetSelectors({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION,
                                   CGameTitlebar::SELECTOR_CLUB, kSeasonSelector});
        if (m_pClub)
            g_pTitlebar->SetSelectorItems(m_pClub);
    }

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 50, ID_CUP_BAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    for (uint32_t dwID : {ID_RECORD_LIST, ID_CUP_LIST}) {
        auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, kListsLeft, 70, kListsRight, 86, dwID, nullptr));
        if (pList)
            pList->SetUp(kRowHeight, 6, g_hSmallFont, 0, false, dwID == ID_CUP_LIST ? pBar : nullptr, true, nullptr,
                         true, 0, false, false, false);
    }
    for (const LabelPlace& place : kLabels) {
        auto* pLabel =
            static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, place.x, place.y, place.nWidth, 18, place.dwID, nullptr));
        if (!pLabel)
            continue;
        pLabel->m_hFont = g_hSmallFont;
        pLabel->m_bFrame = 0;
        pLabel->m_byAlignment = place.byAlignment;
    }
    // The manager's name opens his details.
    if (auto* pManager = dynamic_cast<CXStatic*>(FindControl(ID_MANAGER))) {
        pManager->m_bClickable = 1;
        pManager->m_bPointer = 1;
    }
    auto* pGraph = static_cast<CXGraph*>(
        AddControl(XCONTROL_GRAPH, kGraphLeft, kGraphTop, kGraphRight, kGraphBottom, ID_GRAPH, nullptr));
    CGame* pGame = Game();
    CXSurface* pToggleFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnTog2.bmp") : nullptr;
    const struct {
        uint32_t dwID;
        int x, nLine;
    } kToggles[] = {{ID_POSITION_LINE, 8, LINE_POSITION}, {ID_POINTS_LINE, 98, LINE_POINTS}};
    for (const auto& toggle : kToggles) {
        auto* pButton =
            static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, toggle.x, kToggleY, 84, 26, toggle.dwID, nullptr));
        if (!pButton)
            continue;
        pButton->m_hFont = g_hSmallFont;
        pButton->SetToggleTextID(pToggleFace, 0, pGraph, toggle.nLine, 0);
        pButton->SetChecked(1);
    }
    if (IsHumanClub()) {
        if (const CSaveGame* pHuman = Human(); pHuman && pHuman->GetScenario() != CSaveGame::SCENARIO_NONE)
            AddBottomButton(ID_SCENARIO);
        AddBottomButton(ID_RESIGN);
        AddBottomButton(ID_BOARD_DECISION);
    } else if (m_pClub) {
        AddBottomButton(ID_WITHDRAW);
        AddBottomButton(ID_APPLY);
        AddBottomButton(ID_ACCEPT);
    }

    Refresh(true);
    if (m_bRestore) {
        m_bRestore = false;
        for (size_t k = 0; k < m_abyKeptLines.size(); ++k) {
            const auto& toggle = kToggles[k];
            auto* pButton = dynamic_cast<CXButton*>(FindControl(toggle.dwID));
            if (!pButton)
                continue;
            pButton->SetChecked(m_abyKeptLines[k]);
            pButton->SetPressed(pButton->m_bChecked ? 0 : 1);
            if (pGraph)
                pGraph->SetSeriesHidden(toggle.nLine, !pButton->m_bChecked);
        }
        if (pGraph)
            pGraph->Draw();
    }
    if (auto* pPrint = g_pNavigationBar ? dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(kPrintButton)) : nullptr) {
        pPrint->Enable(false);
        pPrint->Show(true, true);
    }
    return bResult;
}

void CClientClubGeneral::OnDestroy()
{
    const uint32_t ids[] = {ID_POSITION_LINE, ID_POINTS_LINE};
    for (size_t k = 0; k < m_abyKeptLines.size(); ++k) {
        const auto* pButton = dynamic_cast<const CXButton*>(FindControl(ids[k]));
        m_abyKeptLines[k] = pButton ? pButton->m_bChecked : 1;
    }
    CGameClient::OnDestroy();
}

void CClientClubGeneral::ConstructScreen()
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
    DrawSurfaceText(g_hSmallFont, m_pBackground, kLabelsDescription, kLabelColour);
    if (m_pClub)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, kDefaultClubColour, kWhite);
}

void CClientClubGeneral::FillSeasonSelector() { FillSeasonSelector(m_nCurrentSeason, m_nSelectedSeason); }

void CClientClubGeneral::FillSeasonSelector(int nCurrentSeason, int nSelectedSeason)
{
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(kSeasonSelector) : nullptr;
    if (!pBox)
        return;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const int nLength = pDatabase ? pDatabase->GetGameSetting(0) : 0;
    pBox->SetAutoRedraw(false);
    pBox->ResetContent();
    for (int i = std::max(0, nCurrentSeason - nLength); i <= nCurrentSeason; ++i)
        pBox->SetItemData(pBox->AddString(kWhite, "%d / %d", kSeasonBase + i, kSeasonBase + 1 + i),
                          static_cast<uint32_t>(i));
    pBox->SetAutoRedraw(true);
    const int nRow = pBox->FindItemData(static_cast<uint32_t>(nSelectedSeason));
    if (nRow >= 0)
        pBox->SetCurSel(nRow);
    pBox->Redraw();
}

bool CClientClubGeneral::UpdateSeasonData()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const int nBack = m_nCurrentSeason - m_nSelectedSeason;
    m_bSummaryFound = false;
    if (!pDatabase || !m_pClub || nBack <= 0)
        return false;
    CLUBSEASONSUMMARY summary;
    if (FindSeasonSummary(*pDatabase, *m_pClub, nBack, summary)) {
        m_Summary = summary;
        m_bSummaryFound = true;
        return true;
    }
    DebugLog(0, "[CClientClubGeneral::UpdateSeasonData] Could not find the relevant season history record!");
    return false;
}

bool CClientClubGeneral::FindSeasonSummary(const CDatabaseHandler& database, const CClubDatabase& club, int nBack,
                                           CLUBSEASONSUMMARY& summary)
{
    std::vector<uint8_t> record;
    return club_season_summary::Find(database, club.GetID(), nBack, record) &&
           summary.Read(record.data(), record.size());
}

CLUBSEASONSUMMARY CClientClubGeneral::CurrentFacts() const
{
    CLUBSEASONSUMMARY facts;
    if (!m_pClub)
        return facts;
    for (size_t k = 0; k < facts.abyCupRound.size(); ++k)
        facts.abyCupRound[k] = m_pClub->m_aCupStatus[k].byRound;
    const CGroundDatabase* pGround = m_pClub->GetGround();
    facts.anMoney = {m_pClub->m_nSquadValue, m_pClub->m_nYouthValue, pGround ? pGround->GetTotal(0) : 0,
                     pGround ? pGround->GetTotal(1) : 0, pGround ? pGround->GetTotal(2) : 0};
    facts.nCapacity = pGround ? pGround->GetCapacity() : 0;
    facts.wClubId = m_pClub->GetID();
    facts.wManagerId = m_pClub->m_wManagerId;
    const CLUBLEAGUEROW& home = m_pClub->m_HomeRow;
    const CLUBLEAGUEROW& away = m_pClub->m_AwayRow;
    const int anRecord[7] = {home.byPlayed + away.byPlayed, home.byWon + away.byWon, home.byDrawn + away.byDrawn,
                             home.byLost + away.byLost,     m_pClub->GetGoalsFor(),  m_pClub->GetGoalsAgainst(),
                             m_pClub->m_byPoints};
    for (size_t k = 0; k < facts.abyRecord.size(); ++k)
        facts.abyRecord[k] = static_cast<uint8_t>(std::min(anRecord[k], 255));
    facts.abyPlaces = {m_pClub->m_byLeaguePosition, m_pClub->m_byBestPosition, m_pClub->m_byWorstPosition,
                       m_pClub->m_byPreviousPosition};
    facts.byTargetBand = m_pClub->m_byTargetKind;
    facts.byDivisionId = m_pClub->m_byDivisionId;
    return facts;
}

void CClientClubGeneral::Refresh(bool bRefillSeasons)
{
    const bool bCurrent = m_nSelectedSeason >= m_nCurrentSeason;
    if (!bCurrent)
        UpdateSeasonData();
    ShowAllControls(false);
    if (bRefillSeasons)
        FillSeasonSelector();
    ConstructScreen();
    RestoreBackground(0, 0, Width(), Height());
    CXListBox* pRecord = GetRecordList();
    CXListBox* pCups = GetCupList();
    if (pRecord) {
        pRecord->SetUpColumns(kListsLeft, 70, kListsRight, 86, kRecordColumns, false, false, 16, false);
        pRecord->ResetContent();
    }
    if (pCups) {
        pCups->SetUpColumns(kListsLeft, 126, kListsRight, 190, kCupColumns, false, false, 64, false);
        pCups->ResetContent();
    }
    FillGraph();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    // A finished season without a summary shows the last one read.
    const CLUBSEASONSUMMARY facts = bCurrent ? CurrentFacts() : m_Summary;
    const CDivisionDatabase* pDivision =
        bCurrent ? m_pDivision : (pDatabase ? pDatabase->GetDivisionFromID(facts.byDivisionId) : nullptr);
    ShowFacts(facts, pDivision);
    ShowAllControls(true);
    for (CXListBox* pList : {pRecord, pCups})
        if (pList) {
            pList->SetAutoRedraw(true);
            pList->UpdateScrollBar();
            pList->Redraw();
        }
    CGame* pGame = Game();
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        // Above the lists' header rows.
        const int nHeader = pRecord ? pRecord->m_nHeaderHeight : kRowHeight;
        const CAPTIONTAB tabs[] = {{2, 0, 0, kListsLeft, 70 - nHeader - 17, kListsRight - kListsLeft},
                                   {2, 1, 0, kListsLeft, 126 - nHeader - 17, kListsRight - kListsLeft},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, kCaptionSet, tabs);
    }
    ShowBottomButtons();
    if (CXGraph* pGraph = GetGraph())
        pGraph->Draw();
}

void CClientClubGeneral::ShowFacts(const CLUBSEASONSUMMARY& facts, const CDivisionDatabase* pDivision)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const auto label = [this](uint32_t dwID) { return dynamic_cast<CXStatic*>(FindControl(dwID)); };
    const CManagerDatabase* pManager =
        pDatabase && facts.wManagerId ? pDatabase->GetManagerFromID(facts.wManagerId) : nullptr;
    if (CXStatic* pLabel = label(ID_MANAGER)) {
        pLabel->SetText("%s", pManager ? pManager->GetShortName() : Word(kWordsSet, kNoManagerWord));
        pLabel->SetAlignedImage(pManager ? PlayerRowIcons::NationFlag(pManager->m_byNationality) : nullptr, 2);
    }
    m_idShownManager = pManager ? pManager->GetId() : 0;
    if (CXStatic* pLabel = label(ID_DIVISION))
        pLabel->SetText("%s", pDivision ? pDivision->GetName() : "");
    if (CXStatic* pLabel = label(ID_EXPECTATION))
        pLabel->SetText("%s", Word(kTargetSet, facts.byTargetBand));
    const CGroundDatabase* pGround = m_pClub ? m_pClub->GetGround() : nullptr;
    if (CXStatic* pLabel = label(ID_GROUND))
        pLabel->SetText("%s", pGround ? pGround->GetName() : "");
    if (CXStatic* pLabel = label(ID_CAPACITY))
        pLabel->SetText("%s", FormatThousands(facts.nCapacity));
    double dTotal = 0;
    for (size_t k = 0; k < facts.anMoney.size(); ++k) {
        SetMoneyText(label(ID_FIRST_MONEY + static_cast<uint32_t>(k)), facts.anMoney[k], MONEY_AS_STORED);
        dTotal += facts.anMoney[k];
    }
    SetMoneyText(label(ID_MONEY_TOTAL), dTotal, MONEY_AS_STORED);
    for (size_t k = 0; k < facts.abyPlaces.size(); ++k)
        if (CXStatic* pLabel = label(ID_FIRST_FIGURE + static_cast<uint32_t>(k))) {
            // No place before the first match day.
            if (facts.abyPlaces[k])
                pLabel->SetText("%d", facts.abyPlaces[k]);
            else
                pLabel->SetText("%s", Word(kWordsSet, kNoManagerWord));
        }
    if (CXListBox* pRecord = GetRecordList()) {
        const auto& r = facts.abyRecord;
        pRecord->AddString(kWhite, "%2d\t%2d\t%2d\t%2d\t%3d\t%3d\t%2d", r[0], r[1], r[2], r[3], r[4], r[5], r[6]);
    }
    CXListBox* pCups = GetCupList();
    const CCountryDatabase* pCountry = m_pClub ? m_pClub->GetCountry() : nullptr;
    for (size_t k = 0; pCups && pDatabase && k < facts.abyCupRound.size(); ++k) {
        if (facts.abyCupRound[k] == kNotEntered)
            continue;
        const CUP* pCup = pDatabase->GetCupByCompetitionIndex(static_cast<int>(k), pCountry);
        if (!pCup)
            continue;
        char szCompetition[96], szRound[96];
        FormatCompetitionName(pCup, pDatabase, szCompetition, sizeof szCompetition);
        FormatCupRoundName(pCup, pDatabase, facts.abyCupRound[k], szRound, sizeof szRound);
        pCups->AddString(kWhite, "%s\t%s", szCompetition, szRound);
    }
}

void CClientClubGeneral::ShowButton(uint32_t dwID, bool bShown)
{
    auto* pButton = dynamic_cast<CXButton*>(FindControl(dwID));
    if (!pButton)
        return;
    pButton->Enable(!bShown);
    if (bShown)
        pButton->Show(true, true);
    else  // Disabling leaves its pressed picture behind; nothing of it stays.
        RestoreBackground(pButton->m_nLeft, pButton->m_nTop, pButton->Width(), pButton->Height());
}

void CClientClubGeneral::ShowBottomButtons()
{
    const CSaveGame* pHuman = Human();
    if (IsHumanClub()) {
        ShowButton(ID_RESIGN, !pHuman->m_byResign);
        ShowButton(ID_BOARD_DECISION, !pHuman->m_byBoardRequest && !pHuman->m_byBoardPending);
        return;
    }
    const JOBAPPLICATION* pApplication = pHuman && m_pClub ? pHuman->FindJobApplication(m_pClub) : nullptr;
    ShowButton(ID_APPLY, pHuman && !pApplication);
    ShowButton(ID_WITHDRAW, pApplication != nullptr);
    ShowButton(ID_ACCEPT, pApplication && pApplication->dwStatus == 3);
}

void CClientClubGeneral::FillGraph()
{
    CXGraph* pGraph = GetGraph();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pGraph || !pDatabase)
        return;
    const int nMatchDays = std::max(1, m_pDivision ? m_pDivision->GetHistoryRecordsPerClub() : 0);
    const int nClubs = std::max(2, m_pDivision ? m_pDivision->GetClubCount() : 0);
    const bool bCurrent = m_nSelectedSeason >= m_nCurrentSeason;
    const int nPoints = bCurrent ? (m_pClub ? m_pClub->m_byPoints : 0) : m_Summary.abyRecord[6];
    const double dItemWidth = static_cast<double>(kGraphRight - kGraphLeft) / nMatchDays;
    pGraph->Clear();
    pGraph->SetUp(GRAPH_ITEM_LABELS | GRAPH_LEFT_DOWNWARD | GRAPH_RIGHT_AXIS_DRAWN, kWhite, kWhite, dItemWidth, 0,
                  kWhite);
    pGraph->SetYRange(1, nClubs, 0, std::max(nPoints, 2), true, false, false);
    // Whole places on the left axis: the most steps up to eight that divide
    // the span between the first place and the last.
    int nPlaceSteps = std::min(8, nClubs - 1);
    while (nPlaceSteps > 1 && (nClubs - 1) % nPlaceSteps != 0)
        --nPlaceSteps;
    pGraph->SetXAxis(nMatchDays, nPlaceSteps, 2, nMatchDays);
    pGraph->m_szLeftCaption[0] = pGraph->m_szRightCaption[0] = pGraph->m_szBottomCaption[0] = '\0';

    // A month's name under the first match day that falls in it.
    CDate date(1900, 1, 1);
    int nLastMonth = 0;
    for (int d = 0; m_pClub && m_pDivision && d < nMatchDays; ++d) {
        CDate next;
        if (!m_pDivision->GetNextFixtureDateForClub(m_pClub->GetID(), date, next))
            break;
        date = next;
        if (date.GetMonth() != nLastMonth) {
            nLastMonth = date.GetMonth();
            pGraph->SetItemLabel(d, Word(kMonthSet, nLastMonth - 1));
        }
    }
    pGraph->SetUpLine(0, LINE_POSITION, 2, kPositionColour, GRAPH_LINE, true, false, dItemWidth, 0);
    pGraph->SetUpLine(0, LINE_POINTS, 2, kPointsColour, GRAPH_LINE, false, false, dItemWidth, 0);
    // The match days played so far; a finished season keeps no such history.
    if (bCurrent && m_pClub && m_pDivision) {
        const std::vector<int> played =
            m_pDivision->CountPlayedMatchDays(pDatabase->GetGameDate(), {m_pClub->GetID()});
        const int nPlayed = played.empty() ? 0 : std::min(played[0], nMatchDays);
        for (int d = 1; d <= nPlayed; ++d) {
            const DIVISIONHISTORYROW row = m_pDivision->GetClubHistoryRow(m_pClub->GetID(), d);
            pGraph->AddValue(LINE_POINTS, row.byPoints);
            pGraph->AddValue(LINE_POSITION, row.byPosition);
        }
    }
    pGraph->Show(true, false);
}

void CClientClubGeneral::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    switch (dwID) {
    case ID_MANAGER:
        if (m_idShownManager)
            ShowManagerDetails(m_idShownManager);
        break;
    case ID_POSITION_LINE:
    case ID_POINTS_LINE:
        // A hidden line's button stays down, a shown one's up.
        if (auto* pButton = dynamic_cast<CXButton*>(FindControl(dwID)))
            pButton->SetPressed(pButton->m_bChecked ? 0 : 1);
        break;
    case ID_RESIGN:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_RESIGN);
        break;
    case ID_BOARD_DECISION:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_BOARD_DECISION);
        break;
    case ID_APPLY:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_APPLY);
        break;
    case ID_WITHDRAW:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_WITHDRAW);
        break;
    case ID_ACCEPT:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_ACCEPT);
        break;
    case ID_SCENARIO:
        // The running scenario's page with its introduction.
        if (const CSaveGame* pHuman = Human(); pHuman && pHuman->GetScenario() != CSaveGame::SCENARIO_NONE)
            if (auto* pPopup = dynamic_cast<CGameScenarioPopup*>(GetPopupObject(SCREEN_SCENARIO_POPUP)))
                pPopup->Show(pHuman->GetScenario(), 0);
        break;
    default:
        break;
    }
}

void CClientClubGeneral::OnEndMessageBoxPopup()
{
    CGameClient::OnEndMessageBoxPopup();
    const CGameMessageBox* pBox = GetGameMessageBox();
    CSaveGame* pHuman = Human();
    if (!pBox || pBox->m_dwResultID != CGamePopup::kOkButtonID || !pHuman || !m_pClub)
        return;
    const bool bHumanClub = IsHumanClub();
    switch (pBox->GetTextItem()) {
    case MESSAGE_BOARD_DECISION:
        if (bHumanClub)
            pHuman->RequestBoardDecision();
        break;
    case MESSAGE_RESIGN:
        if (bHumanClub)
            pHuman->Resign();
        break;
    case MESSAGE_APPLY:
        if (!bHumanClub && !pHuman->FindJobApplication(m_pClub))
            pHuman->ApplyForJob(m_pClub);
        break;
    case MESSAGE_WITHDRAW:
        if (JOBAPPLICATION* pApplication = pHuman->FindJobApplication(m_pClub))
            pHuman->RemoveJobApplication(pApplication);
        break;
    case MESSAGE_ACCEPT:
        if (!bHumanClub && pHuman->AcceptJobOffer(m_pClub)) {
            if (g_pNavigationBar)
                g_pNavigationBar->OnClientChange(SCREEN_FOOTBALL_TODAY, true);
            return;
        }
        break;
    default:
        return;
    }
    ShowBottomButtons();
}

bool CClientClubGeneral::ReadClubSelectors(uint32_t dwID, int nSelectedSeason, const CClubDatabase*& pChosen,
                                           int& nSeason)
{
    const bool bSelector = dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_COUNTRY) ||
                           dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_DIVISION) ||
                           dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_CLUB) ||
                           dwID == CGameTitlebar::GetSelectorControlID(kSeasonSelector);
    if (!bSelector || !g_pTitlebar || !g_pNavigationBar)
        return false;
    pChosen = g_pTitlebar->GetSelectedClub();
    const CXComboBox* pSeasons = g_pTitlebar->GetSelector(kSeasonSelector);
    const int nRow = pSeasons ? pSeasons->GetSelection() : -1;
    nSeason = nRow >= 0 ? static_cast<int>(pSeasons->GetItemData(nRow)) : nSelectedSeason;
    return true;
}

void CClientClubGeneral::OnSelChange(uint32_t dwID)
{
    const CClubDatabase* pChosen = nullptr;
    int nSeason = 0;
    if (!ReadClubSelectors(dwID, m_nSelectedSeason, pChosen, nSeason)) {
        CGameClient::OnSelChange(dwID);
        return;
    }
    if (!pChosen || (pChosen == m_pClub && nSeason == m_nSelectedSeason))
        return;
    // The screen opens again on the choice with the graph's lines as they are.
    m_bRestore = true;
    g_pNavigationBar->SetNextClient(this, MakeParameter(pChosen->GetID(), nSeason));
}

void CClientClubGeneral::OnPrint() { PrintControl(ID_GRAPH); }
