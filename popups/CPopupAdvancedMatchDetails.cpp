#include "popups/CPopupAdvancedMatchDetails.h"

#include "popups/CPopupPlayerDetails.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CGameClient.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/KitClash.h"
#include "shell/PlayerRowIcons.h"
#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CClub.h"
#include "season/CGroundDatabase.h"
#include "season/CRefereeDatabase.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <tuple>

namespace {

constexpr int kCaptionItem = 40;
constexpr int kFigureTitleSet = 116;
constexpr int kCaptionSet = 205;
constexpr int kSubstitutesItem = 0;
constexpr int kNoRecordItem = 1;
constexpr int kFactLabels = 53;
constexpr int kRowHeight = 16;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kTitleColour = plat::RGB(255, 253, 173);

// Figures: possession, share of play, then the events counted by side.
enum : int {
    FIGURE_POSSESSION,
    FIGURE_SHARE_OF_PLAY,
    FIGURE_GOALS,
    FIGURE_PENALTIES_SCORED,
    FIGURE_PENALTIES_MISSED,
    FIGURE_BOOKINGS,
    FIGURE_SENDINGS_OFF,
    FIGURE_SUBSTITUTIONS,
    FIGURE_INJURIES,
    FIGURE_COUNT
};
constexpr int kFigureTop = 80;
constexpr int kFigureStep = 24;
constexpr int kBarX = 58;
constexpr int kBarWidth = 408;

// The lists of the line-up and the events pages.
constexpr int kLeftListX = 16, kLeftListRight = 246, kRightListX = 270, kRightListRight = 500;
constexpr int kListTop = 90, kElevenBottom = 266, kBenchTop = 286, kBenchBottom = 366, kEventsBottom = 250;

const LISTCOLUMN kElevenColumns[] = {
    {0, 136, 0, 0, 0, 0, 963, LISTSORT_NONE, 0},
    {136, 166, 0, 0, 6, 0, 937, LISTSORT_NONE, 0},
    {166, 200, 0, 0, 6, 0, 964, LISTSORT_NONE, 0},
    {200, 230, 0, 0, 6, 0, 968, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kBenchColumns[] = {
    {0, 136, 8, 0, 0, 0, 0, LISTSORT_NONE, 0},
    {136, 166, 0, 0, 6, 0, 0, LISTSORT_NONE, 0},
    {166, 200, 0, 0, 6, 0, 0, LISTSORT_NONE, 0},
    {200, 230, 0, 0, 6, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kEventColumns[] = {
    {0, 34, 8, 0, 2, 0, 445, LISTSORT_NONE, 0},
    {34, 230, 0, 0, 0, 0, 446, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

// The icon of each event kind: a picture of the archive (with its frame
// width) or a shared sprite; the golden goal's picture follows.
struct EVENTICON {
    const char* pszName;
    int nWidth;
    bool bShared;
};
constexpr EVENTICON kEventIcons[] = {
    {"icnYelow.bmp", 12, true}, {"icnRed.bmp", 12, true},   {"icnGoal.bmp", 12, false},
    {"icnOGoal.bmp", 12, false}, {"icnFoul.bmp", 18, false}, {"icnInj.bmp", 12, true},
    {"icnSub1.bmp", 24, false},  {"icnSub2.bmp", 24, false}, {"icnPen.bmp", 20, false},
    {"icnMPen.bmp", 20, false},  {"icnGGoal.bmp", 12, false}};
constexpr size_t kGoldenGoalIcon = 10;
constexpr int kIconHeight = 12;

// The colour left of a starting place, by the position its role plays.
constexpr COLORREF kPositionColours[PLAYER_POSITION_COUNT] = {plat::RGB(240, 180, 0), plat::RGB(58, 111, 152),
                                                              plat::RGB(92, 192, 96), plat::RGB(216, 48, 48)};

const uint32_t kAlwaysShown[] = {CGamePopup::kOkButtonID,
                                 CPopupAdvancedMatchDetails::ID_LINEUPS_PAGE,
                                 CPopupAdvancedMatchDetails::ID_STATISTICS_PAGE,
                                 CPopupAdvancedMatchDetails::ID_EVENTS_PAGE,
                                 CPopupAdvancedMatchDetails::ID_TITLE,
                                 POPUP_HELP_BUTTON_ID};
const uint32_t kLineUpControls[] = {CPopupAdvancedMatchDetails::ID_HOME_ELEVEN, CPopupAdvancedMatchDetails::ID_AWAY_ELEVEN,
                                    CPopupAdvancedMatchDetails::ID_HOME_BENCH, CPopupAdvancedMatchDetails::ID_AWAY_BENCH};
const uint32_t kEventControls[] = {CPopupAdvancedMatchDetails::ID_HOME_EVENTS, CPopupAdvancedMatchDetails::ID_AWAY_EVENTS,
                                   CPopupAdvancedMatchDetails::ID_GROUND_NAME, CPopupAdvancedMatchDetails::ID_ATTENDANCE,
                                   CPopupAdvancedMatchDetails::ID_REFEREE, CPopupAdvancedMatchDetails::ID_AWARD};

bool IsGoldenGoalResult(uint8_t byResult)
{
    return byResult == MATCHRESULT_HOME_GOLDEN_GOAL || byResult == MATCHRESULT_AWAY_GOLDEN_GOAL;
}

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CXAnimation* OwnedPicture(const char* pszName, int nFrameWidth, int nFrameHeight)
{
    CXSurface* pSurface = LoadMainArchiveBitmap(pszName, true);
    if (!pSurface) {
        DebugLog(1, "[CPopupAdvancedMatchDetails::OnInitDialog] '%s' could not be loaded", pszName);
        return nullptr;
    }
    auto* pAnimation = new CXAnimation;
    pAnimation->Setup(pSurface, nFrameWidth, nFrameHeight, 0, 0, 1, 1);
    pAnimation->m_bOwnsSource = 1;
    return pAnimation;
}

}  // namespace

std::vector<CPopupAdvancedMatchDetails::FIGURE> CPopupAdvancedMatchDetails::GetFigures(const MATCHHISTORYHEADER& header,
                                                                                  const MATCHRECORDBODY& body)
{
    auto count = [](const std::vector<MATCHEVENT>& events, int nKind) {
        return static_cast<int>(std::count_if(events.begin(), events.end(),
                                              [nKind](const MATCHEVENT& e) { return e.byKind == nKind; }));
    };
    auto counted = [&](int nTitle, int nKind) {
        return FIGURE{nTitle, count(body.HomeEvents, nKind), count(body.AwayEvents, nKind), false};
    };
    const int nPossession = std::min<int>(header.Result.byHomePossession, 100);
    const int nShare = std::min<int>(header.Result.byWinnerPercentage, 100);
    return {
        {FIGURE_POSSESSION, nPossession, 100 - nPossession, true},
        {FIGURE_SHARE_OF_PLAY, nShare, 100 - nShare, true},
        {FIGURE_GOALS, header.byHomeGoals, header.byAwayGoals, false},
        counted(FIGURE_PENALTIES_SCORED, MATCHEVENT_PENALTY_SCORED),
        counted(FIGURE_PENALTIES_MISSED, MATCHEVENT_PENALTY_MISSED),
        counted(FIGURE_BOOKINGS, MATCHEVENT_BOOKED),
        counted(FIGURE_SENDINGS_OFF, MATCHEVENT_SENT_OFF),
        counted(FIGURE_SUBSTITUTIONS, MATCHEVENT_SUBSTITUTED_ON),
        counted(FIGURE_INJURIES, MATCHEVENT_INJURED),
    };
}

std::vector<MATCHEVENT> CPopupAdvancedMatchDetails::GetListedEvents(const MATCHRECORDBODY& body, bool bHome)
{
    const std::vector<MATCHEVENT>& own = bHome ? body.HomeEvents : body.AwayEvents;
    const std::vector<MATCHEVENT>& other = bHome ? body.AwayEvents : body.HomeEvents;
    std::vector<MATCHEVENT> events;
    for (const MATCHEVENT& e : own)
        if (e.byKind != MATCHEVENT_OWN_GOAL)
            events.push_back(e);
    for (const MATCHEVENT& e : other)
        if (e.byKind == MATCHEVENT_OWN_GOAL)
            events.push_back(e);
    std::stable_sort(events.begin(), events.end(),
                     [](const MATCHEVENT& a, const MATCHEVENT& b) { return a.byMinute < b.byMinute; });
    return events;
}

CPopupAdvancedMatchDetails::CPopupAdvancedMatchDetails()
{
    m_wScreenID = kScreenID;
    SetPopupRect(218, 120, 524, 410);
}

CPopupAdvancedMatchDetails::~CPopupAdvancedMatchDetails() = default;

bool CPopupAdvancedMatchDetails::Show(uint32_t dwMatchID, bool bFromList)
{
    m_dwMatchID = dwMatchID;
    m_bFromList = bFromList;
    m_pOpener = CXPopup::TopPopup() ? static_cast<CXClient*>(CXPopup::TopPopup()) : g_pCurrentClient;
    return Open();
}

void CPopupAdvancedMatchDetails::LoadIcons()
{
    m_Icons.clear();
    for (const EVENTICON& icon : kEventIcons)
        m_Icons.emplace_back(icon.bShared ? nullptr : OwnedPicture(icon.pszName, icon.nWidth, kIconHeight));
    m_RowIcons.Load();
}

CXAnimation* CPopupAdvancedMatchDetails::EventIcon(const MATCHEVENT& event) const
{
    if (event.byKind >= std::size(kEventIcons) - 1)
        return nullptr;
    size_t nIcon = event.byKind;
    // The goal that ended a match in extra time on the golden-goal rule.
    if (event.byKind == MATCHEVENT_GOAL && event.byMinute >= 90 && IsGoldenGoalResult(m_Header.Result.byResult))
        nIcon = kGoldenGoalIcon;
    if (kEventIcons[nIcon].bShared) {
        CGame* pGame = Game();
        return pGame ? pGame->GetSharedBitmaps().GetSprite(kEventIcons[nIcon].pszName) : nullptr;
    }
    return nIcon < m_Icons.size() ? m_Icons[nIcon].get() : nullptr;
}

CXListBox* CPopupAdvancedMatchDetails::AddList(uint32_t dwID, uint32_t dwBarID, int nLeft, int nTop, int nRight,
                                               int nBottom, const LISTCOLUMN* pColumns)
{
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 120, dwBarID, nullptr));
    if (pBar) {
        const uint32_t dwFirst = 885 + 2 * (dwBarID - 901);
        pBar->Create(dwFirst, dwFirst + 1, kRowHeight, false, 0);
    }
    auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
    if (pList) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, 3, true, pBar, true, nullptr, true, 0, false, false, false);
        pList->SetUpColumns(nLeft, nTop, nRight, nBottom, pColumns, false, false, nBottom - nTop, false);
    }
    return pList;
}

bool CPopupAdvancedMatchDetails::OnInitDialog()
{
    m_nPage = PAGE_LINEUPS;
    m_bRecordFound = LoadMatch();
    ConstructScreen();
    CGamePopup::OnInitDialog();
    LoadIcons();
    AddConfirmButton(kOkButtonID, CancelX());
    AddCloseButton(false, true);
    for (uint32_t dwID : {ID_LINEUPS_PAGE, ID_STATISTICS_PAGE, ID_EVENTS_PAGE, ID_FINANCE})
        AddButton(dwID);
    m_pArrows.reset(LoadMainArchiveBitmap("btnMArrw.bmp", true));
    for (const auto& [dwID, x, nFace] : {std::tuple{ID_PREVIOUS, 8, 0}, {ID_NEXT, 26, 16}})
        if (auto* pArrow = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, x, 34, 16, 16, dwID, nullptr)))
            if (m_pArrows)
                pArrow->SetBitmap(m_pArrows.get(), nFace, 0, false, false);
    if (auto* pTitle = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 46, 32, Width() - 92, 18, ID_TITLE, nullptr))) {
        pTitle->m_hFont = g_hSmallBoldFont;
        pTitle->m_crText = kTitleColour;
        pTitle->m_bFrame = 0;
        pTitle->m_byAlignment = 6;
        pTitle->m_bClearBackground = 1;
    }
    AddList(ID_HOME_ELEVEN, 901, kLeftListX, kListTop, kLeftListRight, kElevenBottom, kElevenColumns);
    AddList(ID_AWAY_ELEVEN, 902, kRightListX, kListTop, kRightListRight, kElevenBottom, kElevenColumns);
    AddList(ID_HOME_BENCH, 903, kLeftListX, kBenchTop, kLeftListRight, kBenchBottom, kBenchColumns);
    AddList(ID_AWAY_BENCH, 904, kRightListX, kBenchTop, kRightListRight, kBenchBottom, kBenchColumns);
    AddList(ID_HOME_EVENTS, 905, kLeftListX, kListTop, kLeftListRight, kEventsBottom, kEventColumns);
    AddList(ID_AWAY_EVENTS, 906, kRightListX, kListTop, kRightListRight, kEventsBottom, kEventColumns);
    for (int i = 0; i < FIGURE_COUNT; ++i)
        for (int nSide = 0; nSide < 2; ++nSide)
            if (CXStatic* pValue = popup_look::AddValueLabel(*this, ID_FIRST_FIGURE + 2 * i + nSide, nSide ? 470 : 16,
                                                              kFigureTop + kFigureStep * i, 38))
                pValue->m_byAlignment = 6;
    for (const auto& [dwID, y] : {std::pair{ID_GROUND_NAME, 272}, {ID_ATTENDANCE, 296}, {ID_REFEREE, 320}, {ID_AWARD, 344}})
        popup_look::AddValueLabel(*this, dwID, 160, y, 340);
    ShowPage(PAGE_LINEUPS);
    return true;
}

bool CPopupAdvancedMatchDetails::LoadMatch()
{
    m_Header = MATCHHISTORYHEADER();
    m_Body = MATCHRECORDBODY();
    m_pHome = m_pAway = nullptr;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pDatabase || !pDatabase->FindMatchRecord(m_Header, &m_Body, m_dwMatchID)) {
        DebugLog(1, "[CPopupAdvancedMatchDetails::LoadMatch] No record of match %u", m_dwMatchID);
        m_Header = MATCHHISTORYHEADER();
        m_Body = MATCHRECORDBODY();
        return false;
    }
    m_pHome = pDatabase->GetClubFromID(m_Header.wHomeClub);
    m_pAway = pDatabase->GetClubFromID(m_Header.wAwayClub);
    return true;
}

void CPopupAdvancedMatchDetails::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    if (!m_pBackground)
        return;
    if (m_pHome)
        popup_look::DrawClubColourBoxes(*this, m_pHome);
    else
        DrawColourBoxPair(0x009D37);
    if (!m_bRecordFound)
        return;
    CGame* pGame = Game();
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const int nTabY = kListTop - kRowHeight - 17;
    const char* pszHome = m_pHome ? m_pHome->GetName() : "";
    const char* pszAway = m_pAway ? m_pAway->GetName() : "";
    if (m_nPage == PAGE_LINEUPS || m_nPage == PAGE_EVENTS) {
        DrawCaptionTab(m_pBackground, pTabs, g_hSmallBoldFont, kLeftListX, nTabY, kLeftListRight - kLeftListX, pszHome);
        DrawCaptionTab(m_pBackground, pTabs, g_hSmallBoldFont, kRightListX, nTabY, kRightListRight - kRightListX,
                       pszAway);
    }
    if (m_nPage == PAGE_LINEUPS) {
        const char* pszBench = GetTableTextOrEmpty(kCaptionSet, kSubstitutesItem);
        DrawCaptionTab(m_pBackground, pTabs, g_hSmallBoldFont, kLeftListX, kBenchTop - 17, kLeftListRight - kLeftListX,
                       pszBench);
        DrawCaptionTab(m_pBackground, pTabs, g_hSmallBoldFont, kRightListX, kBenchTop - 17,
                       kRightListRight - kRightListX, pszBench);
        DrawLineUpMarks();
    } else if (m_nPage == PAGE_STATISTICS) {
        DrawFigureBars();
    } else {
        popup_look::DrawLabels(m_pBackground, kFactLabels);
    }
}

void CPopupAdvancedMatchDetails::DrawLineUpMarks()
{
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    if (!pDC)
        return;
    const std::vector<MATCHPLAYERENTRY>* sides[] = {&m_Body.HomeLineUp, &m_Body.AwayLineUp};
    const int lefts[] = {kLeftListX, kRightListX};
    for (int nSide = 0; nSide < 2; ++nSide)
        for (int i = 0; i < std::min<int>(QUICKMATCH_STARTERS, static_cast<int>(sides[nSide]->size())); ++i) {
            const MATCHPLAYERENTRY& entry = (*sides[nSide])[static_cast<size_t>(i)];
            if (!entry.idPlayer)
                continue;
            const int nPosition =
                std::clamp(CPersonDatabase::GetPositionFromRole(entry.bySlotCode), 0, PLAYER_POSITION_COUNT - 1);
            const int y = kListTop + kRowHeight * i;
            DrawColourBox(pDC, lefts[nSide] - 7, y + 2, lefts[nSide] - 2, y + kRowHeight - 2, kPositionColours[nPosition],
                          true);
        }
    m_pBackground->m_pSurface->releaseDC(pDC);
}

void CPopupAdvancedMatchDetails::DrawFigureBars()
{
    const std::vector<FIGURE> figures = GetFigures(m_Header, m_Body);
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    if (!pDC)
        return;
    const COLORREF crHome = m_pHome ? CGameTitlebar::GetKitColour(m_pHome->m_abyAttributes[0]) : 0x009D37;
    const COLORREF crAway = m_pAway ? CGameTitlebar::GetKitColour(
                                          m_pAway->m_abyAttributes[ShouldWearAwayKit(m_pHome, m_pAway) ? 2 : 0])
                                    : 0xFFFFFF;
    pDC->selectFont(g_hSmallFont);
    pDC->setBkMode(plat::TRANSPARENT);
    for (size_t i = 0; i < figures.size(); ++i) {
        const FIGURE& figure = figures[i];
        const int y = kFigureTop + kFigureStep * static_cast<int>(i);
        m_pBackground->ShadeRect(kBarX - 1, y, kBarWidth + 2, 18, 2);
        const int nTotal = figure.nHome + figure.nAway;
        if (nTotal > 0) {
            const int nShare = kBarWidth * figure.nHome / nTotal;
            DrawFilledRect(pDC, kBarX, y + 1, kBarX + kBarWidth, y + 17, crAway);
            DrawFilledRect(pDC, kBarX, y + 1, kBarX + nShare, y + 17, crHome);
            DrawLine(pDC, kBarX + nShare, y + 1, kBarX + nShare, y + 17, 0x000000, 1, 0);
        }
        const char* pszTitle = GetTableTextOrEmpty(kFigureTitleSet, figure.nTitle);
        plat::Rect rc{kBarX + 1, y + 2, kBarX + kBarWidth + 1, y + 18};
        pDC->setTextColor(0x000000);
        pDC->drawText(pszTitle, -1, &rc, plat::DT_CENTER | plat::DT_NOPREFIX | plat::DT_SINGLELINE);
        rc = {kBarX, y + 1, kBarX + kBarWidth, y + 17};
        pDC->setTextColor(kWhite);
        pDC->drawText(pszTitle, -1, &rc, plat::DT_CENTER | plat::DT_NOPREFIX | plat::DT_SINGLELINE);
    }
    m_pBackground->m_pSurface->releaseDC(pDC);
}

void CPopupAdvancedMatchDetails::ShowPage(int nPage)
{
    m_nPage = nPage;
    ShowAllControls(false);
    ConstructScreen();
    RestoreBackground(0, 0, Width(), Height());

    char szScore[64] = "";
    if (m_bRecordFound)
        FormatFixtureScore(0, szScore, sizeof(szScore), static_cast<int8_t>(m_Header.byHomeGoals),
                           static_cast<int8_t>(m_Header.byAwayGoals), m_Header.Result.byResult);
    if (auto* pTitle = dynamic_cast<CXStatic*>(FindControl(ID_TITLE))) {
        if (m_bRecordFound)
            pTitle->SetText("%s %s %s", m_pHome ? m_pHome->GetName() : "", szScore, m_pAway ? m_pAway->GetName() : "");
        else
            pTitle->SetText("%s", GetTableTextOrEmpty(kCaptionSet, kNoRecordItem));
    }
    auto show = [this](uint32_t dwID) {
        if (CXControl* pControl = FindControl(dwID))
            pControl->Show(true, true);
    };
    for (uint32_t dwID : kAlwaysShown)
        show(dwID);
    if (m_bFromList) {
        show(ID_PREVIOUS);
        show(ID_NEXT);
    }
    // The money of the day is kept with a human club's home matches.
    if (m_Header.byOptionalParts & MATCHPART_CLUB_MATCH)
        show(ID_FINANCE);
    for (uint32_t dwID : {ID_LINEUPS_PAGE, ID_STATISTICS_PAGE, ID_EVENTS_PAGE})
        if (auto* pTab = dynamic_cast<CXButton*>(FindControl(dwID)))
            pTab->Enable(dwID == ID_LINEUPS_PAGE + static_cast<uint32_t>(nPage));
    if (!m_bRecordFound)
        return;
    if (nPage == PAGE_LINEUPS) {
        const int nEntries = QUICKMATCH_STARTERS + m_Header.bySubstitutesNamed;
        FillLineUp(dynamic_cast<CXListBox*>(FindControl(ID_HOME_ELEVEN)), m_Body.HomeLineUp, 0, QUICKMATCH_STARTERS);
        FillLineUp(dynamic_cast<CXListBox*>(FindControl(ID_AWAY_ELEVEN)), m_Body.AwayLineUp, 0, QUICKMATCH_STARTERS);
        FillLineUp(dynamic_cast<CXListBox*>(FindControl(ID_HOME_BENCH)), m_Body.HomeLineUp, QUICKMATCH_STARTERS, nEntries);
        FillLineUp(dynamic_cast<CXListBox*>(FindControl(ID_AWAY_BENCH)), m_Body.AwayLineUp, QUICKMATCH_STARTERS, nEntries);
        for (uint32_t dwID : kLineUpControls)
            show(dwID);
    } else if (nPage == PAGE_STATISTICS) {
        const std::vector<FIGURE> figures = GetFigures(m_Header, m_Body);
        for (size_t i = 0; i < figures.size(); ++i)
            for (int nSide = 0; nSide < 2; ++nSide)
                if (auto* pValue = dynamic_cast<CXStatic*>(FindControl(ID_FIRST_FIGURE + 2 * static_cast<uint32_t>(i) +
                                                                       static_cast<uint32_t>(nSide)))) {
                    const int nValue = nSide ? figures[i].nAway : figures[i].nHome;
                    if (figures[i].bPercent)
                        pValue->SetText("%d%%", nValue);
                    else
                        pValue->SetText("%d", nValue);
                    pValue->Show(true, true);
                }
    } else {
        FillEvents(dynamic_cast<CXListBox*>(FindControl(ID_HOME_EVENTS)), true);
        FillEvents(dynamic_cast<CXListBox*>(FindControl(ID_AWAY_EVENTS)), false);
        FillFacts();
        for (uint32_t dwID : kEventControls)
            show(dwID);
    }
}

void CPopupAdvancedMatchDetails::FillLineUp(CXListBox* pList, const std::vector<MATCHPLAYERENTRY>& entries, int nFirst,
                                            int nLast)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pList || !pDatabase)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (int i = nFirst; i < std::min<int>(nLast, static_cast<int>(entries.size())); ++i) {
        const MATCHPLAYERENTRY& entry = entries[static_cast<size_t>(i)];
        const CPlayerDatabase* pPlayer = entry.idPlayer ? pDatabase->GetPlayerFromID(entry.idPlayer) : nullptr;
        if (!pPlayer)
            continue;
        // A substitute who never came on has no rating.
        char szRating[8] = "-";
        if (entry.byRating)
            std::snprintf(szRating, sizeof(szRating), "%d", entry.byRating);
        const int nRow = pList->AddString(kWhite, "%s\t\t\t%s", pPlayer->GetShortName(), szRating);
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, entry.idPlayer);
        PlayerRowIcons::AddForeignFlag(*pList, nRow, pPlayer->m_byNationality, 0);
        m_RowIcons.AddPosition(*pList, nRow, pPlayer->m_byPosition, 1);
        m_RowIcons.AddRole(*pList, nRow, entry.bySlotCode, 2);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CPopupAdvancedMatchDetails::FillEvents(CXListBox* pList, bool bHome)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pList || !pDatabase)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (const MATCHEVENT& event : GetListedEvents(m_Body, bHome)) {
        const CPlayerDatabase* pPlayer = event.idPlayer ? pDatabase->GetPlayerFromID(event.idPlayer) : nullptr;
        const int nRow = pList->AddString(kWhite, "%2d\t%s", event.byMinute, pPlayer ? pPlayer->GetShortName() : "");
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, event.idPlayer);
        if (CXAnimation* pIcon = EventIcon(event))
            pList->AddAlignedColumnGraphic(nRow, pIcon, 2, 1, true);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CPopupAdvancedMatchDetails::FillFacts()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pDatabase)
        return;
    auto label = [this](uint32_t dwID) { return dynamic_cast<CXStatic*>(FindControl(dwID)); };
    // The ground is the fixture's; the home club's own when the fixture is gone.
    ID_GROUND idGround = m_pHome ? m_pHome->m_wHomeGroundId : 0;
    bool bFixture = false;
    if (m_Header.byMatchKind == MATCHKIND_LEAGUE || m_Header.byMatchKind == MATCHKIND_LEAGUE_OTHER) {
        if (const CDivisionDatabase* pDivision = m_pHome ? m_pHome->m_pDivision : nullptr)
            for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
                if (p->GetFixtureID() == m_dwMatchID) {
                    idGround = p->GetGroundID();
                    bFixture = true;
                    break;
                }
    } else if (const CCupFixturesDatabase* pCup = pDatabase->FindCupFixtureByMatchId(m_dwMatchID)) {
        idGround = pCup->GetGroundID();
        bFixture = true;
    }
    if (!bFixture)
        DebugLog(2, "[CPopupAdvancedMatchDetails::FillFacts] Match %u has no fixture: the home ground is shown",
                 m_dwMatchID);
    const CGroundDatabase* pGround = idGround ? pDatabase->GetGroundFromID(idGround) : nullptr;
    if (CXStatic* p = label(ID_GROUND_NAME))
        p->SetText("%s", pGround ? pGround->GetName() : "");
    if (CXStatic* p = label(ID_ATTENDANCE))
        p->SetText("%s - %d%%", FormatThousands(static_cast<int32_t>(std::min<uint32_t>(m_Header.dwAttendance, INT32_MAX))),
                   m_Header.byAttendancePercentage);
    const CRefereeDatabase* pReferee = m_Header.wRefereeID ? pDatabase->FindReferee(m_Header.wRefereeID) : nullptr;
    if (CXStatic* p = label(ID_REFEREE))
        p->SetText("%s", pReferee ? pReferee->GetName() : "");
    const CPlayerDatabase* pAward =
        m_Header.Result.idManOfTheMatch ? pDatabase->GetPlayerFromID(m_Header.Result.idManOfTheMatch) : nullptr;
    if (CXStatic* p = label(ID_AWARD)) {
        p->SetText("%s", pAward ? pAward->GetShortName() : "");
        p->SetAlignedImage(pAward ? PlayerRowIcons::ForeignFlag(pAward->m_byNationality) : nullptr, 2);
    }
}

void CPopupAdvancedMatchDetails::StepMatch(bool bNext)
{
    int32_t nMatch = -1;
    if (auto* pGeneral = dynamic_cast<CMatchListPopup*>(m_pOpener))
        nMatch = bNext ? pGeneral->GetNextMatch() : pGeneral->GetPreviousMatch();
    else if (auto* pScreen = dynamic_cast<CGameClient*>(m_pOpener))
        nMatch = bNext ? pScreen->GetNextFixture() : pScreen->GetPreviousFixture();
    if (nMatch < 0)
        return;
    m_dwMatchID = static_cast<uint32_t>(nMatch);
    m_bRecordFound = LoadMatch();
    ShowPage(m_nPage);
}

void CPopupAdvancedMatchDetails::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    switch (dwID) {
    case kOkButtonID:
        if (IsOnStack()) {
            m_dwResultID = kOkButtonID;
            Close();
        }
        break;
    case ID_LINEUPS_PAGE:
    case ID_STATISTICS_PAGE:
    case ID_EVENTS_PAGE:
        ShowPage(static_cast<int>(dwID - ID_LINEUPS_PAGE));
        break;
    case ID_PREVIOUS:
    case ID_NEXT:
        if (m_bFromList)
            StepMatch(dwID == ID_NEXT);
        break;
    case ID_FINANCE:
        if (m_Header.byOptionalParts & MATCHPART_CLUB_MATCH)
            m_FinancePopup.Show(m_dwMatchID);
        break;
    default:
        break;
    }
}

void CPopupAdvancedMatchDetails::OnDoubleClicked(uint32_t dwID)
{
    CGamePopup::OnDoubleClicked(dwID);
    const uint32_t lists[] = {ID_HOME_ELEVEN, ID_AWAY_ELEVEN, ID_HOME_BENCH, ID_AWAY_BENCH, ID_HOME_EVENTS,
                              ID_AWAY_EVENTS};
    if (std::find(std::begin(lists), std::end(lists), dwID) == std::end(lists))
        return;
    const auto* pList = dynamic_cast<const CXListBox*>(FindControl(dwID));
    if (!pList || pList->GetSelection() < 0)
        return;
    // The details have no list of this popup's to step through.
    if (const auto idPlayer = static_cast<uint32_t>(pList->GetItemData(pList->GetSelection())))
        ShowPlayerDetails(idPlayer, false);
}

void CPopupAdvancedMatchDetails::OnDestroy()
{
    CGamePopup::OnDestroy();
    m_Icons.clear();
    m_RowIcons.Clear();
    m_pArrows.reset();
}

CPopupAdvancedMatchDetails& GetAdvancedMatchDetailsPopup()
{
    static CPopupAdvancedMatchDetails s_Popup;
    return s_Popup;
}
