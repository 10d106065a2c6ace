#include "popups/CPopupGeneralMatchDetails.h"

#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/MatchHistory.h"
#include "platform/DeviceContext.h"
#include "season/CClub.h"
#include "season/CRefereeDatabase.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

constexpr int kTitleSet = 113;
constexpr int kWordSet = 114;
constexpr int kUpToItem = 5;
constexpr int kRowHeight = 16;
constexpr int kListTop = 70;
constexpr int kListBottom = 246;
constexpr COLORREF kTitleColour = plat::RGB(255, 253, 173);
constexpr size_t kFormMatches = 6;

// The title of each type: an item of the popup captions.
constexpr int kTitleItems[CPopupGeneralMatchDetails::TYPE_COUNT] = {
    0, 1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 11, 12, 11, 12, 9, 14, 15};

const LISTCOLUMN kColumns[] = {
    {0, 56, 8, 0, 2, 0, 980, LISTSORT_NONE, 0},
    {56, 160, 0, 0, 0, 0, 1159, LISTSORT_NONE, 0},
    {160, 264, 0, 0, 0, 0, 1160, LISTSORT_NONE, 0},
    {264, 300, 0, 0, 0, 0, 1158, LISTSORT_NONE, 0},
    {300, 352, 0, 0, 6, 0, 39, LISTSORT_NONE, 0},
    {352, 424, 24, 0, 2, 0, 40, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

// The small picture of a match kind beside the away club: none for the league.
const char* const kKindIcons[] = {nullptr, "icnPOff.bmp", "icnCupS.bmp", "icnFrien.bmp"};

const char* ListName(const CClubDatabase* pClub)
{
    if (!pClub)
        return "";
    return pClub->GetShortName()[0] ? pClub->GetShortName() : pClub->GetName();
}

bool IsSide(const MATCHHISTORYHEADER& header, ID_CLUB idClub)
{
    return idClub != 0 && (header.wHomeClub == idClub || header.wAwayClub == idClub);
}

int CountEvents(const std::vector<MATCHEVENT>& events, int nKind)
{
    return static_cast<int>(
        std::count_if(events.begin(), events.end(), [nKind](const MATCHEVENT& e) { return e.byKind == nKind; }));
}

// The plain score of the club's side, with the word for its result.
void OwnScore(CPopupGeneralMatchDetails::ROW& row, int nOwn, int nOther)
{
    char szScore[32];
    row.word = FormatScore(szScore, sizeof(szScore), nOwn, nOther);
    row.score = szScore;
}

}  // namespace

CPopupGeneralMatchDetails::CPopupGeneralMatchDetails()
{
    m_wScreenID = kScreenID;
    SetPopupRect(252, 175, 456, 300);
}

CXListBox* CPopupGeneralMatchDetails::GetList() const { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

bool CPopupGeneralMatchDetails::Show(int nType, uint32_t dwMask, uint8_t bySeason)
{
    m_nType = nType;
    m_byMask = static_cast<uint8_t>(dwMask & 0xFF);
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CClubDatabase* pClub = pDatabase ? pDatabase->GetClubFromID(m_idClub) : nullptr;
    const CCountryDatabase* pCountry = pClub ? pClub->GetCountry() : nullptr;
    const int nRunning = pCountry ? pCountry->GetSeasonStartDate().GetYear() - 1999 : -1;
    m_bLive = bySeason == kRunningSeason || bySeason == nRunning || nType > TYPE_CLUB_AWAY_WON + 4;
    m_bySeason = m_bLive ? kRunningSeason : bySeason;
    m_Rows = BuildRows();
    if (m_Rows.empty()) {
        DebugLog(2, "[CPopupGeneralMatchDetails::Show] Type %d lists no match: not opened", nType);
        return false;
    }
    return Open();
}

std::vector<CPopupGeneralMatchDetails::ROW> CPopupGeneralMatchDetails::BuildRows() const
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pDatabase || m_nType < 0 || m_nType >= TYPE_COUNT) {
        if (m_nType < 0 || m_nType >= TYPE_COUNT)
            DebugLog(1, "General Details : Unknown Title Type %d", m_nType);
        return {};
    }
    const CClubDatabase* pClub = pDatabase->GetClubFromID(m_idClub);
    std::vector<ROW> rows;
    if (m_nType <= TYPE_CLUB_AWAY_WON + 4)
        rows = pClub ? ClubResults(*pDatabase, *pClub) : std::vector<ROW>();
    else if (m_nType <= TYPE_AWAY_FORM)
        rows = pClub ? ClubForm(*pClub) : std::vector<ROW>();
    else
        rows = HistoryRows(*pDatabase);
    // The crowd of the running season's league matches is their records'.
    if (m_nType <= TYPE_AWAY_FORM && m_bLive && !rows.empty()) {
        std::map<uint32_t, ROW*> byMatch;
        for (ROW& row : rows)
            byMatch[row.dwMatchID] = &row;
        pDatabase->ForEachMatchRecord([&byMatch](const MATCHHISTORYHEADER& header, const MATCHRECORDBODY&) {
            if (const auto it = byMatch.find(header.dwMatchID); it != byMatch.end()) {
                it->second->bAttendance = true;
                it->second->dwAttendance = header.dwAttendance;
            }
            return true;
        });
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ROW& a, const ROW& b) { return a.date < b.date; });
    return rows;
}

std::vector<CPopupGeneralMatchDetails::ROW> CPopupGeneralMatchDetails::ClubResults(CDatabaseHandler& /*database*/,
                                                                                 const CClubDatabase& club) const
{
    std::vector<ROW> rows;
    const CDivisionDatabase* pDivision = club.m_pDivision;
    if (!pDivision)
        return rows;
    std::vector<CDivisionFixturesDatabase> fixtures;
    if (m_bLive) {
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            fixtures.push_back(*p);
    } else {
        // A finished season runs from its start month to the next season's.
        const CCountryDatabase* pCountry = club.GetCountry();
        const int nMonth = pCountry ? pCountry->GetSeasonStartDate().GetMonth() : 7;
        fixtures = pDivision->ReadScheduleHistory(CDate(1999 + m_bySeason, nMonth, 1), CDate(2000 + m_bySeason, nMonth, 1));
    }
    // The kind of result each type lists: 1 won, 2 drawn, 3 lost, 4 scored,
    // 5 conceded, 6 not lost; home only, away only or both.
    const int nType = m_nType;
    const int nMeasure = nType <= 6 ? nType : nType <= 11 ? nType - 6 : nType - 11;
    const bool bHomeOnly = nType >= TYPE_CLUB_HOME_WON && nType < TYPE_CLUB_AWAY_WON;
    const bool bAwayOnly = nType >= TYPE_CLUB_AWAY_WON;
    for (const CDivisionFixturesDatabase& fixture : fixtures) {
        if (!fixture.IsPlayed() || !fixture.IsClubInvolved(club.m_wClubId))
            continue;
        if (m_bLive && m_ReferenceDate.IsValid() && m_ReferenceDate < fixture.GetDate())
            continue;
        const bool bHome = fixture.GetHomeClubID() == club.m_wClubId;
        if ((bHomeOnly && !bHome) || (bAwayOnly && bHome))
            continue;
        const int nOwn = bHome ? fixture.GetHomeGoals() : fixture.GetAwayGoals();
        const int nOther = bHome ? fixture.GetAwayGoals() : fixture.GetHomeGoals();
        bool bListed = true;
        switch (nMeasure) {
        case 1: bListed = nOwn > nOther; break;
        case 2: bListed = nOwn == nOther; break;
        case 3: bListed = nOwn < nOther; break;
        case 4: bListed = nOwn > 0; break;
        case 5: bListed = nOther > 0; break;
        case 6: bListed = nOwn >= nOther; break;
        default: break;
        }
        if (!bListed)
            continue;
        ROW row;
        row.dwMatchID = fixture.GetFixtureID();
        row.date = fixture.GetDate();
        row.idHome = fixture.GetHomeClubID();
        row.idAway = fixture.GetAwayClubID();
        OwnScore(row, nOwn, nOther);
        rows.push_back(row);
    }
    return rows;
}

std::vector<CPopupGeneralMatchDetails::ROW> CPopupGeneralMatchDetails::ClubForm(const CClubDatabase& club) const
{
    std::vector<ROW> rows;
    const CDivisionDatabase* pDivision = club.m_pDivision;
    if (!pDivision)
        return rows;
    std::vector<const CDivisionFixturesDatabase*> earlier;
    bool bMatchDate = false;
    for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
        bMatchDate = bMatchDate || p->GetDate() == m_ReferenceDate;
        const bool bHome = p->GetHomeClubID() == club.m_wClubId;
        const bool bAway = p->GetAwayClubID() == club.m_wClubId;
        if (p->IsPlayed() && p->GetDate() < m_ReferenceDate &&
            ((m_nType == TYPE_HOME_FORM && bHome) || (m_nType == TYPE_AWAY_FORM && bAway)))
            earlier.push_back(p);
    }
    // A date without a match day of the division has no form to show.
    if (!bMatchDate)
        return rows;
    std::stable_sort(earlier.begin(), earlier.end(),
                     [](const CDivisionFixturesDatabase* a, const CDivisionFixturesDatabase* b) {
                         return b->GetDate() < a->GetDate();
                     });
    for (size_t i = 0; i < std::min(earlier.size(), kFormMatches); ++i) {
        const CDivisionFixturesDatabase& fixture = *earlier[i];
        const bool bHome = m_nType == TYPE_HOME_FORM;
        ROW row;
        row.dwMatchID = fixture.GetFixtureID();
        row.date = fixture.GetDate();
        row.idHome = fixture.GetHomeClubID();
        row.idAway = fixture.GetAwayClubID();
        OwnScore(row, bHome ? fixture.GetHomeGoals() : fixture.GetAwayGoals(),
                 bHome ? fixture.GetAwayGoals() : fixture.GetHomeGoals());
        rows.push_back(row);
    }
    return rows;
}

std::vector<CPopupGeneralMatchDetails::ROW> CPopupGeneralMatchDetails::HistoryRows(CDatabaseHandler& database) const
{
    std::vector<ROW> rows;
    const CClubDatabase* pClub = database.GetClubFromID(m_idClub);
    const CDivisionDatabase* pDivision = pClub ? pClub->m_pDivision : nullptr;
    // The dates of the league fixtures, by match.
    std::map<uint32_t, CDate> leagueDates;
    for (const CCountryDatabase* pCountry : database.GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* p : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CDivisionFixturesDatabase* f : p->m_lstFixtures.Items<CDivisionFixturesDatabase>())
                leagueDates[f->GetFixtureID()] = f->GetDate();
    const int nType = m_nType;
    const ID_CLUB idClub = m_idClub;
    auto addRow = [&](const MATCHHISTORYHEADER& header, bool bClubSide) {
        ROW row;
        row.dwMatchID = header.dwMatchID;
        row.idHome = header.wHomeClub;
        row.idAway = header.wAwayClub;
        row.bAttendance = true;
        row.dwAttendance = header.dwAttendance;
        row.byKind = header.byMatchKind;
        if (const auto it = leagueDates.find(header.dwMatchID); it != leagueDates.end())
            row.date = it->second;
        else if (const CCupFixturesDatabase* pCup = database.FindCupFixtureByMatchId(header.dwMatchID))
            row.date = pCup->GetDate();
        else
            DebugLog(1, "[CPopupGeneralMatchDetails::HistoryRows] Unknown Fixture %u.", header.dwMatchID);
        if (nType == TYPE_CLUB_BOOKINGS || nType == TYPE_CLUB_SENDINGS_OFF) {
            const bool bHome = header.wHomeClub == idClub;
            OwnScore(row, bHome ? header.byHomeGoals : header.byAwayGoals, bHome ? header.byAwayGoals : header.byHomeGoals);
        } else {
            // The word for the listed club's side, the home side's for a referee.
            const int nSide = bClubSide && header.wAwayClub == idClub ? 1 : 0;
            char szScore[64];
            row.word = FormatFixtureScore(nSide, szScore, sizeof(szScore), static_cast<int8_t>(header.byHomeGoals),
                                          static_cast<int8_t>(header.byAwayGoals), header.Result.byResult);
            row.score = szScore;
        }
        rows.push_back(row);
    };
    database.ForEachMatchRecord([&](const MATCHHISTORYHEADER& header, const MATCHRECORDBODY& body) {
        if (header.byMatchKind >= 8 || !(m_byMask & (1u << header.byMatchKind)))
            return true;
        const bool bClubSide = IsSide(header, idClub);
        auto personEvents = [&](std::initializer_list<int> kinds) {
            for (const std::vector<MATCHEVENT>* pEvents : {&body.HomeEvents, &body.AwayEvents})
                for (const MATCHEVENT& e : *pEvents)
                    if (e.idPlayer == m_idPerson && std::find(kinds.begin(), kinds.end(), e.byKind) != kinds.end())
                        addRow(header, true);
        };
        auto divisionMatch = [&] {
            return pDivision &&
                   (pDivision->GetClubFromID(header.wHomeClub) || pDivision->GetClubFromID(header.wAwayClub));
        };
        switch (nType) {
        case TYPE_PLAYER_APPEARANCES: {
            if (!bClubSide)
                break;
            bool bStarted = false;
            for (const std::vector<MATCHPLAYERENTRY>* pLineUp : {&body.HomeLineUp, &body.AwayLineUp})
                for (size_t i = 0; i < std::min<size_t>(QUICKMATCH_STARTERS, pLineUp->size()); ++i)
                    bStarted = bStarted || (*pLineUp)[i].idPlayer == m_idPerson;
            if (bStarted)
                addRow(header, true);
            else
                personEvents({MATCHEVENT_SUBSTITUTED_ON});
            break;
        }
        case TYPE_PLAYER_GOALS:
            // The players' goal figure counts penalties scored.
            if (bClubSide)
                personEvents({MATCHEVENT_GOAL, MATCHEVENT_PENALTY_SCORED});
            break;
        case TYPE_PLAYER_BOOKINGS:
            if (bClubSide)
                personEvents({MATCHEVENT_BOOKED});
            break;
        case TYPE_PLAYER_SENDINGS_OFF:
            if (bClubSide)
                personEvents({MATCHEVENT_SENT_OFF});
            break;
        case TYPE_PLAYER_AWARDS:
            if (bClubSide && m_idPerson != 0 && header.Result.idManOfTheMatch == m_idPerson)
                addRow(header, true);
            break;
        case TYPE_CLUB_BOOKINGS:
        case TYPE_CLUB_SENDINGS_OFF: {
            if (!bClubSide)
                break;
            const int nKind = nType == TYPE_CLUB_BOOKINGS ? MATCHEVENT_BOOKED : MATCHEVENT_SENT_OFF;
            const bool bHome = header.wHomeClub == idClub;
            const auto it = leagueDates.find(header.dwMatchID);
            if (CountEvents(bHome ? body.HomeEvents : body.AwayEvents, nKind) > 0 && it != leagueDates.end() &&
                !(m_ReferenceDate.IsValid() && m_ReferenceDate < it->second))
                addRow(header, true);
            break;
        }
        default: {
            if (header.wRefereeID != m_wReferee || !divisionMatch())
                break;
            const uint8_t* s = header.Result.abyRefereeStatistics;
            const bool bListed = nType == TYPE_REFEREE_MATCHES || (nType == TYPE_REFEREE_BOOKINGS && s[0] > 0) ||
                                 (nType == TYPE_REFEREE_SENDINGS_OFF && s[1] > 0) ||
                                 (nType == TYPE_REFEREE_FOULS && s[2] > 0) ||
                                 (nType == TYPE_REFEREE_PENALTIES && s[3] > 0);
            if (bListed)
                addRow(header, false);
            break;
        }
        }
        return true;
    });
    return rows;
}

std::string CPopupGeneralMatchDetails::SubjectName() const
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pDatabase)
        return {};
    if (m_nType >= TYPE_PLAYER_APPEARANCES && m_nType <= TYPE_PLAYER_AWARDS) {
        const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(m_idPerson);
        return pPlayer ? pPlayer->GetShortName() : "";
    }
    if (m_nType >= TYPE_REFEREE_BOOKINGS) {
        const CRefereeDatabase* pReferee = pDatabase->FindReferee(m_wReferee);
        return pReferee ? pReferee->GetName() : "";
    }
    const CClubDatabase* pClub = pDatabase->GetClubFromID(m_idClub);
    return pClub ? pClub->GetName() : "";
}

std::string CPopupGeneralMatchDetails::TitleText() const
{
    if (m_nType < 0 || m_nType >= TYPE_COUNT)
        return {};
    const char* pszTitle = GetTableTextOrEmpty(kTitleSet, kTitleItems[m_nType]);
    if (!pszTitle[0])
        return {};
    char szTitle[160];
    if (m_bLive)
        std::snprintf(szTitle, sizeof(szTitle), "%s %s %s", pszTitle, GetTableTextOrEmpty(kWordSet, kUpToItem),
                      FormatPackedDate(m_ReferenceDate.GetValue()));
    else
        std::snprintf(szTitle, sizeof(szTitle), "%s %d / %d", pszTitle, 1999 + m_bySeason, 2000 + m_bySeason);
    return szTitle;
}

void CPopupGeneralMatchDetails::ConstructScreen()
{
    DrawCaptionFrame(-1);
    if (!m_pBackground)
        return;
    m_pBackground->ShadeRect(8, 8, Width() - 54, 18, 2);
    // The tab above the list names whose matches they are.
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const int nListWidth = kColumns[std::size(kColumns) - 2].nRight;
    DrawCaptionTab(m_pBackground, pTabs, g_hSmallBoldFont, (Width() - nListWidth - CXScrollBar::kTrackWidth) / 2,
                   kListTop - kRowHeight - 17, nListWidth, SubjectName().c_str());
    const std::string title = TitleText();
    plat::DeviceContext* pDC = title.empty() ? nullptr : m_pBackground->m_pSurface->getDC();
    if (!pDC)
        return;
    pDC->selectFont(g_hSmallBoldFont);
    pDC->setBkMode(plat::TRANSPARENT);
    plat::Rect rc{1, 9, Width() + 1, 27};
    pDC->setTextColor(0x000000);
    pDC->drawText(title.c_str(), -1, &rc, plat::DT_CENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    rc = {0, 8, Width(), 26};
    pDC->setTextColor(kTitleColour);
    pDC->drawText(title.c_str(), -1, &rc, plat::DT_CENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    m_pBackground->m_pSurface->releaseDC(pDC);
}

bool CPopupGeneralMatchDetails::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    AddConfirmButton(kOkButtonID, CancelX());
    AddCloseButton(false, true);
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 30, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, kRowHeight, false, 0);
    // The list is centred with its scroll bar.
    const int nListWidth = kColumns[std::size(kColumns) - 2].nRight;
    const int nLeft = (Width() - nListWidth - CXScrollBar::kTrackWidth) / 2;
    auto* pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, nLeft, kListTop, nLeft + nListWidth, kListBottom, ID_LIST, nullptr));
    if (pList) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, 3, true, pBar, true, nullptr, true, 0, false, false, false);
        pList->SetUpColumns(nLeft, kListTop, nLeft + nListWidth, kListBottom, kColumns, false, false,
                            kListBottom - kListTop, false);
    }
    FillList();
    ShowAllControls(true);
    return true;
}

void CPopupGeneralMatchDetails::FillList()
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pList || !pDatabase)
        return;
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (const ROW& row : m_Rows) {
        const char* pszDate = row.date.IsValid() ? FormatPackedDate(row.date.GetValue()) : "";
        const char* pszCrowd = row.bAttendance ? FormatThousands(static_cast<int32_t>(std::min<uint32_t>(row.dwAttendance, INT32_MAX))) : "";
        const int nRow = pList->AddString(0xFFFFFF, "%s\t%s\t%s\t%s\t%s\t%s", pszDate,
                                          ListName(pDatabase->GetClubFromID(row.idHome)),
                                          ListName(pDatabase->GetClubFromID(row.idAway)), row.word.c_str(),
                                          row.score.c_str(), pszCrowd);
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, row.dwMatchID);
        const char* pszIcon = row.byKind < std::size(kKindIcons) ? kKindIcons[row.byKind] : nullptr;
        if (CXAnimation* pIcon = pszIcon && pGame ? pGame->GetSharedBitmaps().GetSprite(pszIcon) : nullptr)
            pList->AddAlignedColumnGraphic(nRow, pIcon, 2, 2, true);
    }
    if (pList->GetCount() > 0) {
        pList->SetSelection(0);
        SetFocus(pList);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

int32_t CPopupGeneralMatchDetails::StepSelection(uint32_t dwKey)
{
    CXListBox* pList = GetList();
    if (!pList)
        return -1;
    const int nBefore = pList->GetSelection();
    pList->OnKeyDown(dwKey, 1, 0);
    const int nRow = pList->GetSelection();
    return nRow == nBefore || nRow < 0 ? -1 : static_cast<int32_t>(pList->GetItemData(nRow));
}

int32_t CPopupGeneralMatchDetails::GetPreviousMatch() { return StepSelection(38); }

int32_t CPopupGeneralMatchDetails::GetNextMatch() { return StepSelection(40); }

void CPopupGeneralMatchDetails::OnDoubleClicked(uint32_t dwID)
{
    CGamePopup::OnDoubleClicked(dwID);
    const CXListBox* pList = GetList();
    // Only the running season's matches keep their records.
    if (dwID != ID_LIST || !m_bLive || !pList || pList->GetSelection() < 0)
        return;
    GetAdvancedMatchDetailsPopup().Show(static_cast<uint32_t>(pList->GetItemData(pList->GetSelection())), true);
}

void CPopupGeneralMatchDetails::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kOkButtonID && IsOnStack()) {
        m_dwResultID = kOkButtonID;
        Close();
    }
}

CPopupGeneralMatchDetails& GetGeneralMatchDetailsPopup()
{
    static CPopupGeneralMatchDetails s_Popup;
    return s_Popup;
}
