#include "screens/CClientClubSchedule.h"

#include "popups/CPopupAdvancedMatchDetails.h"
#include "popups/CPopupListFilter.h"
#include "screens/CClientClubGeneral.h"
#include "shell/FilterButton.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CupScheduleHistory.h"
#include "season/CSaveGame.h"
#include "season/CTrainingManager.h"
#include "season/MatchRecords.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRowHeight = 16;
constexpr int kWordsSet = 114;
constexpr int kHomeWord = 0;
constexpr int kAwayWord = 1;
constexpr int kNeutralWord = 35;
constexpr int kCampWord = 19;
constexpr int kCompetitionsSet = 107;
constexpr int kCaptionSet = 188;
constexpr int kListLeft = 0, kListTop = 60, kListRight = 640, kListBottom = 476;
constexpr uint32_t kPrintButton = 1058;
constexpr uint8_t kEventFriendlyAnswer = 46;
constexpr uint8_t kEventCampStart = 35;
constexpr uint8_t kEventCampEnd = 36;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kDefaultClubColour = 0x9D37;

const LISTCOLUMN kColumns[] = {
    {0, 64, 8, 0, 2, 0, 980, LISTSORT_DATE, 0},     {64, 118, 8, 0, 0, 0, 304, LISTSORT_TEXT, 0},
    {118, 300, 0, 0, 0, 0, 305, LISTSORT_TEXT, 0},  {300, 340, 0, 0, 0, 0, 1158, LISTSORT_TEXT, 0},
    {340, 400, 0, 0, 6, 0, 306, LISTSORT_NONE, 0},  {400, 470, 12, 0, 2, 0, 307, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
constexpr int kColumnsWidth = 470;
// Where the list stands once its columns are centred beside their scroll bar.
constexpr int kCentredLeft = kListLeft + (kListRight - kListLeft - kColumnsWidth) / 2 - CXScrollBar::kTrackWidth / 2;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

const char* Word(int nItem) { return GetTableTextOrEmpty(kWordsSet, nItem); }

CXAnimation* SharedSprite(const char* pszName)
{
    CGame* pGame = Game();
    return pGame ? pGame->GetSharedBitmaps().GetSprite(pszName) : nullptr;
}

// A row icon from its own bitmap in the main archive.
std::unique_ptr<CXAnimation> LoadIcon(std::unique_ptr<CXSurface>& pSurface, const char* pszName, int nWidth,
                                      int nHeight, int nFrames)
{
    pSurface.reset(LoadMainArchiveBitmap(pszName, true));
    if (!pSurface) {
        DebugLog(0, "[CClientClubSchedule::OnInitDialog] '%s' could not be loaded", pszName);
        return nullptr;
    }
    auto pIcon = std::make_unique<CXAnimation>();
    pIcon->Setup(pSurface.get(), nWidth, nHeight, 0, 0, nFrames, nFrames);
    return pIcon;
}

// The season's first day and the next season's, for a season index.
void SeasonDates(const CCountryDatabase* pCountry, int nSeason, CDate& from, CDate& before)
{
    const int nMonth = pCountry ? pCountry->GetSeasonStartDate().GetMonth() : 7;
    from = CDate(CClientClubGeneral::kSeasonBase + nSeason, std::max(1, nMonth), 1);
    before = CDate(CClientClubGeneral::kSeasonBase + nSeason + 1, std::max(1, nMonth), 1);
}

// Takes an event of the kind about the object out of the country's list,
// and every copy of it out of the human's event history.
void RemoveEvents(CCountryDatabase* pCountry, CSaveGame* pHuman, uint8_t byType, uint32_t dwDataID)
{
    while (CEventsDatabase* pEvent = pCountry ? pCountry->FindEvent(byType, dwDataID) : nullptr) {
        if (!pCountry->RemoveEvent(pEvent))
            break;
        delete pEvent;
    }
    if (!pHuman)
        return;
    std::vector<EVENTHISTORYRECORD*> records;
    for (EVENTHISTORYRECORD* pRecord : pHuman->GetEventHistory().Items<EVENTHISTORYRECORD>())
        if (pRecord->pEvent && pRecord->pEvent->GetType() == byType && pRecord->pEvent->GetDataID() == dwDataID)
            records.push_back(pRecord);
    for (EVENTHISTORYRECORD* pRecord : records)
        pHuman->DeleteEventHistoryRecord(pRecord);
}

}  // namespace

CClientClubSchedule& GetClubScheduleScreen()
{
    static CClientClubSchedule s_Screen;
    return s_Screen;
}

CClientClubSchedule::CClientClubSchedule() { m_wScreenID = kScreenID; }

CClientClubSchedule::~CClientClubSchedule() = default;

CSaveGame* CClientClubSchedule::Human() const
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

bool CClientClubSchedule::IsHumanClub() const
{
    const CSaveGame* pHuman = Human();
    return pHuman && m_pClub && pHuman->GetClub() == m_pClub;
}

CXListBox* CClientClubSchedule::GetList() const { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

bool CClientClubSchedule::OnInitDialog()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    CSaveGame* pHuman = Human();
    m_pClub = pDatabase ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(m_dwChangeParameter & 0xFFFF)) : nullptr;
    if (!m_pClub && pHuman)
        m_pClub = pHuman->GetClub();
    m_pDivision = m_pClub ? m_pClub->m_pDivision : nullptr;
    m_pCountry = m_pClub ? m_pClub->GetCountry() : nullptr;
    m_nCurrentSeason = m_pCountry ? std::max(0, m_pCountry->GetSeasonYear() - CClientClubGeneral::kSeasonBase) : 0;
    const int nAsked = static_cast<int>(m_dwChangeParameter >> 16) - 1;
    m_nSelectedSeason = nAsked < 0 ? m_nCurrentSeason : std::min(nAsked, m_nCurrentSeason);
    m_dwMask = SHOW_ALL;

    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar) {
        g_pTitlebar->SetSelectors({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION,
                                   CGameTitlebar::SELECTOR_CLUB, CClientClubGeneral::kSeasonSelector});
        if (m_pClub)
            g_pTitlebar->SetSelectorItems(m_pClub);
    }
    m_pDerbyIcon = LoadIcon(m_pDerbySurface, "icnDrby.bmp", 20, 12, 1);
    m_pNearDerbyIcon = LoadIcon(m_pNearDerbySurface, "icnSDrby.bmp", 20, 12, 1);
    m_pCampIcon = LoadIcon(m_pCampSurface, "icnTCamp.bmp", 12, 12, 2);

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 320, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, kListLeft, kListTop, kListRight, kListBottom, ID_LIST, nullptr));
    if (pList) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, 3, true, pBar, true, nullptr, true, 0, false, false, false);
        if (CGame* pGame = Game())
            pList->SetDateOrder(pGame->GetOptions().Values().m_nDate);
    }
    AddFilterButton(*this, ID_FILTER, kListRight - 16, kListTop - 16, m_pFilterFace);
    if (IsHumanClub()) {
        AddBottomButton(ID_ARRANGE_FRIENDLY);
        AddBottomButton(ID_BOOK_CAMP);
    }
    Refresh(true);
    if (auto* pPrint = g_pNavigationBar ? dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(kPrintButton)) : nullptr) {
        pPrint->Enable(false);
        pPrint->Show(true, true);
    }
    return bResult;
}

void CClientClubSchedule::OnDestroy()
{
    CGameClient::OnDestroy();
    m_pDerbyIcon.reset();
    m_pNearDerbyIcon.reset();
    m_pCampIcon.reset();
    m_pDerbySurface.reset();
    m_pNearDerbySurface.reset();
    m_pCampSurface.reset();
    m_pFilterFace.reset();
}

void CClientClubSchedule::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    if (!MakeOwnBackground())
        return;
    // A shaded panel under the list and its header keeps the rows legible.
    CGame* pGame = Game();
    if (CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr)
        ShadeRectangle(m_pBackground, pShading, kCentredLeft - 6, kListTop - 2 * kRowHeight - 4,
                       kCentredLeft + kColumnsWidth + CXScrollBar::kTrackWidth + 6, kListBottom + 4);
    if (m_pClub)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, kDefaultClubColour, kWhite);
}

void CClientClubSchedule::Refresh(bool bRefillSeasons)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    CXListBox* pList = GetList();
    ShowAllControls(false);
    if (bRefillSeasons)
        CClientClubGeneral::FillSeasonSelector(m_nCurrentSeason, m_nSelectedSeason);
    ConstructScreen();
    RestoreBackground(0, 0, Width(), Height());
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        pList->RemoveRowGraphics(nRow);
    pList->ResetContent();
    pList->SetUpColumns(kListLeft, kListTop, kListRight, kListBottom, kColumns, true, false, kListBottom - kListTop,
                        false);

    const bool bCurrent = IsCurrentSeason();
    CDate from, before;
    SeasonDates(m_pCountry, m_nSelectedSeason, from, before);
    if (pDatabase && m_pClub && (m_dwMask & SHOW_LEAGUE)) {
        if (bCurrent) {
            // Play-off ties stand in the list of the division they are for.
            if (m_pCountry)
                for (const CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>())
                    for (const CDivisionFixturesDatabase* p :
                         pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
                        if (p->IsClubInvolved(m_pClub->m_wClubId))
                            AddLeagueFixtureRow(*p);
        } else {
            // The division the club played in that season, else its own.
            CLUBSEASONSUMMARY summary;
            const CDivisionDatabase* pDivision = m_pDivision;
            if (CClientClubGeneral::FindSeasonSummary(*pDatabase, *m_pClub, m_nCurrentSeason - m_nSelectedSeason,
                                                      summary)) {
                if (const CDivisionDatabase* pThen = pDatabase->GetDivisionFromID(summary.byDivisionId))
                    pDivision = pThen;
            } else {
                DebugLog(0, "[CClientClubSchedule::UpdateSeasonData] Could not find the relevant season history record!");
            }
            if (pDivision)
                for (const CDivisionFixturesDatabase& fixture : pDivision->ReadScheduleHistory(from, before))
                    if (fixture.IsClubInvolved(m_pClub->m_wClubId))
                        AddLeagueFixtureRow(fixture);
        }
    }
    if (pDatabase && m_pClub && (m_dwMask & (SHOW_EUROPEAN_CUPS | SHOW_FRIENDLIES))) {
        const auto take = [this](const CCupFixturesDatabase& fixture) {
            const bool bFriendly = fixture.GetKind() == CCupFixturesDatabase::KIND_FRIENDLY;
            if (fixture.IsClubInvolved(m_pClub->m_wClubId) &&
                (m_dwMask & (bFriendly ? SHOW_FRIENDLIES : SHOW_EUROPEAN_CUPS)))
                AddCupFixtureRow(fixture, false);
        };
        if (bCurrent)
            for (const CCupFixturesDatabase* p : pDatabase->GetCupFixtures().Items<CCupFixturesDatabase>())
                take(*p);
        else
            for (const CCupFixturesDatabase& fixture : ReadCupScheduleHistory("TempEuroCup.shs", from, before))
                take(fixture);
    }
    if (pDatabase && m_pClub && m_pCountry && (m_dwMask & SHOW_DOMESTIC_CUPS)) {
        if (bCurrent) {
            for (const CCupFixturesDatabase* p : m_pCountry->GetCupFixtures().Items<CCupFixturesDatabase>())
                if (p->IsClubInvolved(m_pClub->m_wClubId))
                    AddCupFixtureRow(*p, true);
        } else {
            const std::string name = "TempDomCup" + std::to_string(m_pCountry->GetID()) + ".shs";
            for (const CCupFixturesDatabase& fixture : ReadCupScheduleHistory(name, from, before))
                if (fixture.IsClubInvolved(m_pClub->m_wClubId))
                    AddCupFixtureRow(fixture, true);
        }
    }
    if (bCurrent && IsHumanClub()) {
        AddFreeDays();
        AddCampDays();
    }

    pList->Sort(0, true, LISTSORT_DATE, 0);
    if (pList->GetCount() > 0)
        pList->SetSelection(0);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    // The filter button stands above the scroll bar, beside the caption tab.
    if (CXControl* pFilter = FindControl(ID_FILTER))
        pFilter->Move(pList->m_nLeft + pList->Width(), pList->m_nTop - pList->m_nHeaderHeight - 16, 16, 16, false);
    ShowAllControls(true);
    SetFocus(pList);
    pList->Redraw();
    CGame* pGame = Game();
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        const CAPTIONTAB tabs[] = {{2, 0, 0, pList->m_nLeft, pList->m_nTop - pList->m_nHeaderHeight - 17,
                                    pList->Width()},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, kCaptionSet, tabs);
    }
}

void CClientClubSchedule::AddRow(const CDate& date, uint32_t dwFixtureID, bool bPlayed, ID_CLUB idHome, ID_CLUB idAway,
                                 ID_GROUND idGround, int nHomeGoals, int nAwayGoals, uint8_t byResultKind,
                                 CXAnimation* pKindIcon)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    CXListBox* pList = GetList();
    if (!pDatabase || !pList || !m_pClub || (idHome != m_pClub->m_wClubId && idAway != m_pClub->m_wClubId))
        return;
    const bool bAway = idAway == m_pClub->m_wClubId;
    const CClubDatabase* pHome = pDatabase->GetClubFromID(idHome);
    const CClubDatabase* pOpponent = pDatabase->GetClubFromID(bAway ? idHome : idAway);
    // A match away from the home club's ground is on neutral ground.
    const bool bHomeGround = pHome && pHome->m_wHomeGroundId == idGround;
    const char* pszVenue = Word(bHomeGround ? (bAway ? kAwayWord : kHomeWord) : kNeutralWord);
    std::string word, score, crowd;
    if (bPlayed) {
        MATCHHISTORYHEADER header;
        const bool bRecord = pDatabase->FindMatchRecord(header, nullptr, dwFixtureID);
        char szScore[64];
        const char* pszWord =
            FormatFixtureScore(bAway ? 1 : 0, szScore, sizeof szScore, static_cast<int8_t>(nHomeGoals),
                               static_cast<int8_t>(nAwayGoals), bRecord ? header.Result.byResult : byResultKind);
        word = pszWord ? pszWord : "";
        score = szScore;
        if (bRecord)
            crowd = FormatThousands(static_cast<int32_t>(header.dwAttendance));
    }
    const int nRow = pList->AddString(kWhite, "%s\t%s\t%s\t%s\t%s\t%s", FormatPackedDate(date.GetValue()), pszVenue,
                                      pOpponent ? pOpponent->GetName() : "", word.c_str(), score.c_str(), crowd.c_str());
    if (nRow < 0)
        return;
    pList->SetItemData(nRow, (dwFixtureID & ROW_VALUE_MASK) | (bPlayed ? ROW_PLAYED : 0));
    // The icons stand at the right of the opponent's cell.
    const CClubDatabase* pAway = pDatabase->GetClubFromID(idAway);
    if (pHome && pAway) {
        if (pHome->IsNearClub(pAway, 5) && m_pNearDerbyIcon)
            pList->AddAlignedColumnGraphic(nRow, m_pNearDerbyIcon.get(), 2, 2, true);
        else if (pHome->IsNearClub(pAway, 15) && m_pDerbyIcon)
            pList->AddAlignedColumnGraphic(nRow, m_pDerbyIcon.get(), 2, 2, true);
    }
    if (pKindIcon)
        pList->AddAlignedColumnGraphic(nRow, pKindIcon, 2, 2, true);
}

void CClientClubSchedule::AddLeagueFixtureRow(const CDivisionFixturesDatabase& fixture)
{
    AddRow(fixture.GetDate(), fixture.GetFixtureID(), fixture.IsPlayed(), fixture.GetHomeClubID(),
           fixture.GetAwayClubID(), fixture.GetGroundID(), fixture.GetHomeGoals(), fixture.GetAwayGoals(),
           static_cast<uint8_t>(fixture.GetResultValue()), nullptr);
}

void CClientClubSchedule::AddCupFixtureRow(const CCupFixturesDatabase& fixture, bool bDomestic)
{
    const char* pszIcon = fixture.GetKind() == CCupFixturesDatabase::KIND_FRIENDLY ? "icnFrien.bmp"
                          : bDomestic                                            ? "icnCupS.bmp"
                                                                                 : "icnCupG.bmp";
    AddRow(fixture.GetDate(), fixture.GetFixtureID(), fixture.IsPlayed(), fixture.GetHomeClubID(),
           fixture.GetAwayClubID(), fixture.GetGroundID(), fixture.GetHomeGoals(), fixture.GetAwayGoals(), 0,
           SharedSprite(pszIcon));
}

void CClientClubSchedule::AddFreeDays()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = Human();
    CXListBox* pList = GetList();
    if (!pDatabase || !pHuman || !pList || !m_pClub)
        return;
    CDate seasonEnd;
    pDatabase->GetSeasonEndDate(seasonEnd);
    const CTrainingManager& training = pHuman->GetTrainingManager();
    for (CDate day(pDatabase->GetGameDate().GetValue(), CPopupArrangeFriendly::kNoticeDays); !(seasonEnd < day);
         day = CDate(day.GetValue(), 1)) {
        if (pDatabase->GetFixtureOpponent(m_pClub->m_wClubId, day, kClearDays, 2) ||
            training.FindClashingCamp(day, 0, nullptr))
            continue;
        const int nRow = pList->AddString(kFreeDayColour, "%s\t\t\t\t\t", FormatPackedDate(day.GetValue()));
        if (nRow >= 0)
            pList->SetItemData(nRow, ROW_FREE_DAY);
    }
}

void CClientClubSchedule::AddCampDays()
{
    const CSaveGame* pHuman = Human();
    CXListBox* pList = GetList();
    if (!pHuman || !pList)
        return;
    LPXLISTNODE pPosition = nullptr;
    uint32_t dwIndex = 0;
    while (const TRAININGCAMP* pCamp = pHuman->GetTrainingManager().GetNextTrainingCamp(pPosition)) {
        for (int d = 0; d < pCamp->byLength; ++d) {
            const CDate day(pCamp->Start.GetValue(), d);
            const int nRow = pList->AddString(kWhite, "%s\t\t%s", FormatPackedDate(day.GetValue()), Word(kCampWord));
            if (nRow < 0)
                continue;
            pList->SetItemData(nRow, ROW_CAMP | dwIndex);
            if (m_pCampIcon)
                pList->AddAlignedColumnGraphic(nRow, m_pCampIcon.get(), 2, 2, true);
        }
        ++dwIndex;
    }
}

void CClientClubSchedule::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    switch (dwID) {
    case ID_ARRANGE_FRIENDLY:
        if (IsHumanClub())
            m_FriendlyPopup.Open();
        break;
    case ID_BOOK_CAMP:
        if (IsHumanClub())
            m_CampPopup.Open();
        break;
    case ID_FILTER:
        GetListFilterPopup().ShowBesideControl(kCompetitionsSet, FindControl(ID_FILTER), m_dwMask);
        break;
    default:
        break;
    }
}

void CClientClubSchedule::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup == &GetListFilterPopup()) {
        const uint32_t dwMask = GetListFilterPopup().GetMask() & SHOW_ALL;
        if (dwMask != m_dwMask && dwMask != 0) {
            m_dwMask = dwMask;
            Refresh(false);
        }
    } else if (pPopup == &m_FriendlyPopup) {
        if (m_FriendlyPopup.m_dwResultID == CGamePopup::kOkButtonID)
            BookFriendly();
    } else if (pPopup == &m_CampPopup) {
        if (m_CampPopup.m_dwResultID == CGamePopup::kOkButtonID)
            Refresh(false);
    }
}

void CClientClubSchedule::BookFriendly()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = Human();
    CClubDatabase* pOpponent = m_FriendlyPopup.GetOpponent();
    const CDate date = m_FriendlyPopup.GetDate();
    if (!pDatabase || !pHuman || !IsHumanClub() || !pOpponent || !date.IsValid())
        return;
    // The popup checked the date on OK; nothing has run since, but a match
    // is never booked onto a day either club is already playing.
    if (!CPopupArrangeFriendly::IsDateFree(*pDatabase, *pHuman, *pOpponent, date)) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, CPopupArrangeFriendly::kMessageDateTaken);
        return;
    }
    pDatabase->OrganiseFriendlyFixture(m_pClub, pOpponent, date,
                                       m_FriendlyPopup.GetVenue() == CPopupArrangeFriendly::VENUE_AWAY);
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    Refresh(false);
}

void CClientClubSchedule::OnDoubleClicked(uint32_t dwID)
{
    const CXListBox* pList = GetList();
    if (dwID != ID_LIST || !pList || !IsCurrentSeason())
        return;
    const int nRow = pList->GetSelection();
    if (nRow < 0 || nRow >= pList->GetCount())
        return;
    const auto dwData = static_cast<uint32_t>(pList->GetItemData(nRow));
    if (dwData & ROW_PLAYED) {
        GetAdvancedMatchDetailsPopup().Show(dwData & ROW_VALUE_MASK, true);
        return;
    }
    if (!IsHumanClub() || dwData == ROW_FREE_DAY)
        return;
    m_dwQuestionRow = dwData;
    if (dwData & ROW_CAMP) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_CANCEL_CAMP);
        return;
    }
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pDatabase)
        return;
    for (const CCupFixturesDatabase* p : pDatabase->GetCupFixtures().Items<CCupFixturesDatabase>())
        if (p->GetFixtureID() == dwData && p->GetKind() == CCupFixturesDatabase::KIND_FRIENDLY) {
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_CANCEL_FRIENDLY);
            return;
        }
}

void CClientClubSchedule::OnEndMessageBoxPopup()
{
    CGameClient::OnEndMessageBoxPopup();
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox || pBox->m_dwResultID != CGamePopup::kOkButtonID || !IsHumanClub())
        return;
    if (pBox->GetTextItem() == MESSAGE_CANCEL_FRIENDLY && !(m_dwQuestionRow & (ROW_CAMP | ROW_FREE_DAY | ROW_PLAYED)))
        CancelFriendly(m_dwQuestionRow);
    else if (pBox->GetTextItem() == MESSAGE_CANCEL_CAMP && (m_dwQuestionRow & ROW_CAMP))
        CancelCamp(static_cast<int>(m_dwQuestionRow & ROW_VALUE_MASK));
}

void CClientClubSchedule::CancelFriendly(uint32_t dwFixtureID)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pDatabase || !m_pClub)
        return;
    CCupFixturesDatabase* pFixture = nullptr;
    for (CCupFixturesDatabase* p : pDatabase->GetCupFixtures().Items<CCupFixturesDatabase>())
        if (p->GetFixtureID() == dwFixtureID)
            pFixture = p;
    // Played in the meantime, or not the club's: nothing to cancel.
    if (!pFixture || !pFixture->IsFriendly() || pFixture->IsPlayed() || !pFixture->IsClubInvolved(m_pClub->m_wClubId))
        return;
    RemoveEvents(m_pCountry, Human(), kEventFriendlyAnswer, dwFixtureID);
    pDatabase->RemoveFriendlyFixture(pFixture);
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    Refresh(false);
}

void CClientClubSchedule::CancelCamp(int nIndex)
{
    CSaveGame* pHuman = Human();
    if (!pHuman || nIndex < 0 || nIndex >= pHuman->GetTrainingManager().GetCampCount())
        return;
    CTrainingManager& training = pHuman->GetTrainingManager();
    LPXLISTNODE pPosition = nullptr;
    const TRAININGCAMP* pCamp = nullptr;
    for (int i = 0; i <= nIndex; ++i)
        pCamp = training.GetNextTrainingCamp(pPosition);
    if (!pCamp)
        return;
    const uint32_t dwID = pCamp->GetID();
    for (uint8_t byType : {kEventCampStart, kEventCampEnd})
        RemoveEvents(m_pCountry, pHuman, byType, dwID);
    training.RemoveTrainingCamp(nIndex);
    Refresh(false);
}

void CClientClubSchedule::OnSelChange(uint32_t dwID)
{
    const CClubDatabase* pChosen = nullptr;
    int nSeason = 0;
    if (!CClientClubGeneral::ReadClubSelectors(dwID, m_nSelectedSeason, pChosen, nSeason)) {
        CGameClient::OnSelChange(dwID);
        return;
    }
    if (!pChosen || (pChosen == m_pClub && nSeason == m_nSelectedSeason))
        return;
    g_pNavigationBar->SetNextClient(this, CClientClubGeneral::MakeParameter(pChosen->GetID(), nSeason));
}

int32_t CClientClubSchedule::StepFixture(bool bDown)
{
    constexpr uint32_t kKeyUp = 38, kKeyDown = 40;
    CXListBox* pList = GetList();
    if (!pList)
        return -1;
    const auto rowData = [pList] {
        const int nRow = pList->GetSelection();
        return nRow >= 0 && nRow < pList->GetCount() ? static_cast<uint32_t>(pList->GetItemData(nRow)) : 0u;
    };
    pList->OnKeyDown(bDown ? kKeyDown : kKeyUp, 1, 0);
    // One step over a row that holds no played match.
    if (!(rowData() & ROW_PLAYED))
        pList->OnKeyDown(bDown ? kKeyDown : kKeyUp, 1, 0);
    const uint32_t dwData = rowData();
    return dwData & ROW_PLAYED ? static_cast<int32_t>(dwData & ROW_VALUE_MASK) : -1;
}

int32_t CClientClubSchedule::GetPreviousFixture() { return StepFixture(false); }

int32_t CClientClubSchedule::GetNextFixture() { return StepFixture(true); }

void CClientClubSchedule::OnPrint() { PrintControl(ID_LIST); }
