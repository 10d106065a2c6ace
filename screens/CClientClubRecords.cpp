#include "screens/CClientClubRecords.h"

#include "screens/CClientClubGeneral.h"

#include "popups/CPopupPlayerDetails.h"
#include "screens/ClubSeasonSummary.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/CDate.h"
#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kRowHeight = 16;
constexpr int kPlayerRecordSet = 26;
constexpr int kClubRecordSet = 25;
constexpr int kCaptionSet = 181;
constexpr int kWordsSet = 114;
constexpr int kNoneWord = 6;
constexpr int kWonWord = 7, kDrawnWord = 8, kLostWord = 9, kAllTimeWord = 10;
constexpr uint32_t kPrintButton = 1058;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kDefaultClubColour = 0x9D37;

constexpr int kListLeft = 0, kListRight = 640;
constexpr int kPlayerTop = 60, kPlayerBottom = 284;
constexpr int kClubTop = kPlayerBottom + 40, kClubBottom = kPlayerBottom + 216;

// The run kinds as the club keeps them.
constexpr int kRunLost = 0, kRunWon = 1, kRunDrawn = 2;

// Offsets in a club's season summary.
constexpr size_t kSummarySlots = 16;
constexpr size_t kSummaryFees = 196;
constexpr size_t kSummaryRuns = 244;
constexpr size_t kSummaryMatches = 262;
constexpr size_t kSummaryHighest = 294;
constexpr size_t kSummaryAttendance = 300;

// {left, right, margin, colour, alignment, offset, heading, sort, hot}
const LISTCOLUMN kColumns[] = {
    {0, 232, 0, 0, 0, 0, 286, LISTSORT_NONE, 0},
    {232, 408, 0, 0, 0, 0, 287, LISTSORT_NONE, 0},
    {408, 560, 10, 0, 2, 0, 288, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

const char* None() { return GetTableTextOrEmpty(kWordsSet, kNoneWord); }

int32_t ReadI32(const uint8_t* p) { return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24); }
uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

std::string ClubName(CDatabaseHandler* pDatabase, uint16_t wClub)
{
    const CClubDatabase* pClub = pDatabase && wClub ? pDatabase->GetClubFromID(wClub) : nullptr;
    return pClub ? pClub->GetShortName() : std::string();
}

}  // namespace

using Shown = CClientClubRecords::Shown;

// Goals, rating, appearances, awards, bookings, sendings-off, youngest and
// oldest (by birth date), the fees received and paid, value and wage.
const CClientClubRecords::PLAYERROW CClientClubRecords::kPlayerRows[kPlayerRowCount] = {
    {13, Shown::Count}, {1, Shown::Count},  {0, Shown::Count},          {3, Shown::Count},
    {4, Shown::Count},  {5, Shown::Count},  {9, Shown::Birth},          {10, Shown::Birth},
    {kFeeReceived, Shown::Money}, {kFeePaid, Shown::Money}, {12, Shown::Money}, {11, Shown::Money},
};

CClientClubRecords& GetClubRecordsScreen()
{
    static CClientClubRecords s_Screen;
    return s_Screen;
}

CClientClubRecords::CClientClubRecords() { m_wScreenID = SCREEN_CLUB_RECORDS; }

CClientClubRecords::~CClientClubRecords() = default;

CXListBox* CClientClubRecords::GetPlayerList() const
{
    return dynamic_cast<CXListBox*>(const_cast<CClientClubRecords*>(this)->FindControl(ID_PLAYER_LIST));
}

CXListBox* CClientClubRecords::GetClubList() const
{
    return dynamic_cast<CXListBox*>(const_cast<CClientClubRecords*>(this)->FindControl(ID_CLUB_LIST));
}

bool CClientClubRecords::ReadSummary(const uint8_t* pRecord, size_t nBytes, RECORDS& records)
{
    if (!pRecord || nBytes < static_cast<size_t>(club_season_summary::kBytes))
        return false;
    for (int i = 0; i < CLUB_RECORD_SLOTS; ++i) {
        const uint8_t* p = pRecord + kSummarySlots + 12 * i;
        records.aSlots[i] = CLUBRECORDENTRY{ReadI32(p), ReadI32(p + 4), ReadI32(p + 8)};
    }
    const auto fee = [&](int n) {
        const uint8_t* p = pRecord + kSummaryFees + 12 * n;
        CLUBFEERECORD record;
        record.idPlayer = ReadI32(p);
        record.idClub = ReadI32(p + 4);
        record.nAmount = ReadI32(p + 8);
        return record;
    };
    // The season's fee paid, then received.
    records.Paid = fee(0);
    records.Received = fee(1);
    for (int g = 0; g < 3; ++g)
        for (int r = 0; r < 3; ++r)
            records.abyRuns[g][r] = pRecord[kSummaryRuns + 6 * g + 3 + r];
    std::memcpy(records.abyMatches, pRecord + kSummaryMatches, sizeof records.abyMatches);
    records.nHighestClubs = ReadI32(pRecord + kSummaryHighest);
    records.wHighestGoals = ReadU16(pRecord + kSummaryHighest + 4);
    const uint8_t* p = pRecord + kSummaryAttendance;
    records.Attendance.nAverage = ReadI32(p);
    records.Attendance.nHighest = ReadI32(p + 4);
    records.Attendance.nLowest = ReadI32(p + 8);
    records.Attendance.wHighestOpponent = ReadU16(p + 12);
    records.Attendance.wLowestOpponent = ReadU16(p + 14);
    return true;
}

bool CClientClubRecords::OnInitDialog()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    m_pClub = pDatabase ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(m_dwChangeParameter & 0xFFFF)) : nullptr;
    if (!m_pClub)
        if (const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr)
            m_pClub = pHuman->GetClub();
    const CCountryDatabase* pCountry = m_pClub ? m_pClub->GetCountry() : nullptr;
    m_nCurrentSeason = pCountry ? std::max(0, pCountry->GetSeasonYear() - kSeasonBase) : 0;
    const int nAsked = static_cast<int>((m_dwChangeParameter >> 16) & 0xFF) - 1;
    // Anything past all time is all time.
    m_nSelectedSeason = nAsked < 0 ? m_nCurrentSeason : std::min(nAsked, m_nCurrentSeason + 1);
    m_Records = RECORDS();

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
    const struct {
        uint32_t dwList, dwBar, dwUp;
        int nTop, nBottom;
    } kLists[] = {{ID_PLAYER_LIST, ID_PLAYER_BAR, 887, kPlayerTop, kPlayerBottom},
                  {ID_CLUB_LIST, ID_CLUB_BAR, 885, kClubTop, kClubBottom}};
    for (const auto& place : kLists) {
        auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 50, place.dwBar, nullptr));
        if (pBar)
            pBar->Create(place.dwUp, place.dwUp + 1, 16, false, 0);
        auto* pList = static_cast<CXListBox*>(
            AddControl(XCONTROL_LISTBOX, kListLeft, place.nTop, kListRight, place.nBottom, place.dwList, nullptr));
        // Only the player records lead somewhere: their rows are chosen and
        // a double click opens the holder.
        const bool bPlayers = place.dwList == ID_PLAYER_LIST;
        if (pList)
            pList->SetUp(kRowHeight, 6, g_hSmallFont, bPlayers ? LISTSTYLE_NOTIFY_DOUBLE_CLICK : 0, bPlayers, pBar, true,
                         nullptr, true, 0, false, false, false);
    }
    Refresh(true);
    if (auto* pPrint = g_pNavigationBar ? dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(kPrintButton)) : nullptr) {
        pPrint->Enable(false);
        pPrint->Show(true, true);
    }
    return bResult;
}

void CClientClubRecords::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (!m_pBackground->Create(Width(), Height(), false, false))
        return;
    CXSurface::Blit(m_pBackground, GetBackgroundSurface(), 0, 0);
    if (m_pClub)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, kDefaultClubColour, kWhite);
}

void CClientClubRecords::FillSeasonSelector()
{
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(kSeasonSelector) : nullptr;
    if (!pBox)
        return;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const int nLength = pDatabase ? pDatabase->GetGameSetting(0) : 0;
    pBox->SetAutoRedraw(false);
    pBox->ResetContent();
    for (int i = std::max(0, m_nCurrentSeason - nLength); i <= m_nCurrentSeason; ++i)
        pBox->SetItemData(pBox->AddString(kWhite, "%d / %d", kSeasonBase + i, kSeasonBase + 1 + i),
                          static_cast<uint32_t>(i));
    pBox->SetItemData(pBox->AddString(kWhite, "%s", GetTableTextOrEmpty(kWordsSet, kAllTimeWord)),
                      static_cast<uint32_t>(m_nCurrentSeason + 1));
    pBox->SetAutoRedraw(true);
    const int nRow = pBox->FindItemData(static_cast<uint32_t>(m_nSelectedSeason));
    if (nRow >= 0)
        pBox->SetCurSel(nRow);
    pBox->Redraw();
}

bool CClientClubRecords::UpdateSeasonData()
{
    if (!m_pClub)
        return false;
    const CClubDatabase& club = *m_pClub;
    if (m_nSelectedSeason >= m_nCurrentSeason) {
        // The running season's figures are raised from the squad as it is
        // now; all time adds them to the closed seasons' records.
        RECORDS records;
        std::copy(std::begin(club.m_aSeasonClubRecords), std::end(club.m_aSeasonClubRecords), records.aSlots);
        club.UpdateClubRecords(records.aSlots);
        const bool bAllTime = IsAllTime();
        if (bAllTime) {
            CLUBRECORDENTRY aAllTime[CLUB_RECORD_SLOTS];
            std::copy(std::begin(club.m_aClubRecords), std::end(club.m_aClubRecords), aAllTime);
            CDatabaseHandler::MergeClubRecords(aAllTime, records.aSlots);
            std::copy(std::begin(aAllTime), std::end(aAllTime), records.aSlots);
        }
        records.Paid = club.m_aFeeRecords[bAllTime ? 2 : 0];
        records.Received = club.m_aFeeRecords[bAllTime ? 3 : 1];
        std::memcpy(records.abyMatches, bAllTime ? club.m_abyStatistics : club.m_abySeasonStatistics,
                    sizeof records.abyMatches);
        records.nHighestClubs = bAllTime ? club.m_nRecordResult : club.m_nSeasonResult;
        records.wHighestGoals = bAllTime ? club.m_wRecordResult : club.m_wSeasonResult;
        for (int g = 0; g < 3; ++g)
            for (int r = 0; r < 3; ++r)
                records.abyRuns[g][r] = bAllTime ? club.m_abyBestRuns[g][r] : club.m_abyResultRuns[g][3 + r];
        records.Attendance = bAllTime ? club.m_RecordAttendance : club.m_SeasonAttendance;
        m_Records = records;
        return true;
    }
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    std::vector<uint8_t> summary;
    RECORDS records;
    if (pDatabase && club_season_summary::Find(*pDatabase, club.GetID(), m_nCurrentSeason - m_nSelectedSeason, summary) &&
        ReadSummary(summary.data(), summary.size(), records)) {
        m_Records = records;
        return true;
    }
    DebugLog(0, "[CClientClubRecords::UpdateSeasonData] Could not find the relevant season history record!");
    return false;
}

void CClientClubRecords::Refresh(bool bRefillSeasons)
{
    UpdateSeasonData();
    ShowAllControls(false);
    if (bRefillSeasons)
        FillSeasonSelector();
    ConstructScreen();
    RestoreBackground(0, 0, Width(), Height());
    const struct {
        CXListBox* pList;
        int nTop, nBottom;
    } kLists[] = {{GetPlayerList(), kPlayerTop, kPlayerBottom}, {GetClubList(), kClubTop, kClubBottom}};
    for (const auto& place : kLists)
        if (place.pList)
            place.pList->SetUpColumns(kListLeft, place.nTop, kListRight, place.nBottom, kColumns, false, false,
                                      place.nBottom - place.nTop, false);
    FillClubRecords();
    FillPlayerRecords();
    ShowAllControls(true);
    CGame* pGame = Game();
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        // Above the lists' heading rows.
        const CXListBox* pPlayers = GetPlayerList();
        const int nHeader = pPlayers ? pPlayers->m_nHeaderHeight : kRowHeight;
        const CAPTIONTAB tabs[] = {{2, 0, 0, kListLeft, kPlayerTop - nHeader - 17, 232},
                                   {2, 1, 0, kListLeft, kClubTop - nHeader - 17, 232},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, kCaptionSet, tabs);
    }
}

void CClientClubRecords::FillPlayerRecords()
{
    CXListBox* pList = GetPlayerList();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    int nRow = 0;
    for (const PLAYERROW& row : kPlayerRows) {
        const char* pszLabel = GetTableText(kPlayerRecordSet, nRow++);
        if (!pszLabel)
            break;
        int32_t idPlayer = 0, nValue = 0;
        if (row.nSlot == kFeeReceived || row.nSlot == kFeePaid) {
            const CLUBFEERECORD& fee = row.nSlot == kFeePaid ? m_Records.Paid : m_Records.Received;
            idPlayer = fee.idPlayer;
            nValue = fee.nAmount;
        } else {
            idPlayer = m_Records.aSlots[row.nSlot].nData1;
            nValue = m_Records.aSlots[row.nSlot].nMeasure;
        }
        const CPlayerDatabase* pPlayer =
            pDatabase && idPlayer > 0 && nValue != 0 ? pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(idPlayer)) : nullptr;
        int nAdded;
        if (!pPlayer) {
            nAdded = pList->AddString(kWhite, "%s\t%s\t%s", pszLabel, None(), None());
        } else {
            std::string value;
            switch (row.shown) {
            case Shown::Count: value = std::to_string(nValue); break;
            case Shown::Birth:
                value = FormatPackedDate(CDate::Pack(nValue / 10000, nValue / 100 % 100, nValue % 100));
                break;
            case Shown::Money: value = FormatMoney(nValue, 0, 0, MONEY_AS_STORED, 0, 1); break;
            }
            nAdded = pList->AddString(kWhite, "%s\t%s\t%s", pszLabel, pPlayer->GetShortName(), value.c_str());
        }
        if (nAdded >= 0)
            pList->SetItemData(nAdded, pPlayer ? static_cast<uint32_t>(idPlayer) : 0);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CClientClubRecords::FormatMatchRecord(const CLUBMATCHRECORD& record, std::string& opponent,
                                           std::string& score) const
{
    opponent.clear();
    score.clear();
    if (!m_pClub || record.nMargin == 0)
        return;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    char szScore[16];
    if (record.wHomeClub == m_pClub->GetID()) {
        opponent = ClubName(pDatabase, record.wAwayClub);
        std::snprintf(szScore, sizeof szScore, "%d - %d", record.byHomeGoals, record.byAwayGoals);
    } else if (record.wAwayClub == m_pClub->GetID()) {
        opponent = ClubName(pDatabase, record.wHomeClub);
        std::snprintf(szScore, sizeof szScore, "%d - %d", record.byAwayGoals, record.byHomeGoals);
    } else {
        return;
    }
    score = szScore;
}

void CClientClubRecords::FormatHighestScoringMatch(std::string& opponent, std::string& score) const
{
    CLUBMATCHRECORD match;
    match.wHomeClub = static_cast<uint16_t>(m_Records.nHighestClubs & 0xFFFF);
    match.wAwayClub = static_cast<uint16_t>(static_cast<uint32_t>(m_Records.nHighestClubs) >> 16);
    match.byHomeGoals = static_cast<uint8_t>(m_Records.wHighestGoals & 0xFF);
    match.byAwayGoals = static_cast<uint8_t>(m_Records.wHighestGoals >> 8);
    // Any scored match counts, a draw too.
    match.nMargin = match.byHomeGoals + match.byAwayGoals > 0 ? 1 : 0;
    FormatMatchRecord(match, opponent, score);
}

std::string CClientClubRecords::FormatCompetitionRecord(int nGroup) const
{
    std::string text;
    if (nGroup < 0 || nGroup >= 3)
        return text;
    const struct {
        int nWord, nRun;
    } kWords[] = {{kWonWord, kRunWon}, {kDrawnWord, kRunDrawn}, {kLostWord, kRunLost}};
    for (const auto& word : kWords) {
        const int nValue = m_Records.abyRuns[nGroup][word.nRun];
        if (nValue == 0)
            continue;
        char szPart[64];
        std::snprintf(szPart, sizeof szPart, "%s%s (%d)", text.empty() ? "" : " ",
                      GetTableTextOrEmpty(kWordsSet, word.nWord), nValue);
        text += szPart;
    }
    return text;
}

void CClientClubRecords::FillClubRecords()
{
    CXListBox* pList = GetClubList();
    if (!pList)
        return;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    const auto cell = [](const std::string& text) { return text.empty() ? std::string(None()) : text; };
    const CLUBATTENDANCE& crowd = m_Records.Attendance;
    for (int nRow = 0;; ++nRow) {
        const char* pszLabel = GetTableText(kClubRecordSet, nRow);
        if (!pszLabel)
            break;
        std::string second, third;
        switch (nRow) {
        case 0: FormatMatchRecord(CLUBMATCHRECORD::Read(m_Records.abyMatches, 2), second, third); break;
        case 1: FormatMatchRecord(CLUBMATCHRECORD::Read(m_Records.abyMatches, 0), second, third); break;
        case 2: FormatMatchRecord(CLUBMATCHRECORD::Read(m_Records.abyMatches, 3), second, third); break;
        case 3: FormatMatchRecord(CLUBMATCHRECORD::Read(m_Records.abyMatches, 1), second, third); break;
        case 4:
        case 5:
        case 6: second = FormatCompetitionRecord(nRow - 4); break;
        case 7: FormatHighestScoringMatch(second, third); break;
        case 8:
            if (crowd.nHighest > 0) {
                second = ClubName(pDatabase, crowd.wHighestOpponent);
                third = FormatThousands(crowd.nHighest);
            }
            break;
        case 9:
            if (crowd.nAverage > 0)
                second = FormatThousands(crowd.nAverage);
            break;
        case 10:
            if (crowd.nLowest > 0) {
                second = ClubName(pDatabase, crowd.wLowestOpponent);
                third = FormatThousands(crowd.nLowest);
            }
            break;
        default:
            DebugLog(0, "Club Details : [tabDisplayRecords] Unrecognised Record.");
            break;
        }
        const int nAdded = pList->AddString(kWhite, "%s\t%s\t%s", pszLabel, cell(second).c_str(), cell(third).c_str());
        if (nAdded >= 0)
            pList->SetItemData(nAdded, static_cast<uint32_t>(nRow));
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CClientClubRecords::OnDoubleClicked(uint32_t dwID)
{
    const CXListBox* pList = GetPlayerList();
    const int nRow = pList ? pList->GetSelection() : -1;
    if (dwID != ID_PLAYER_LIST || nRow < 0)
        return;
    const auto idPlayer = static_cast<ID_PLAYER>(pList->GetItemData(nRow));
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    CPlayerDatabase* pPlayer = pDatabase && idPlayer ? pDatabase->GetPlayerFromID(idPlayer) : nullptr;
    if (!pPlayer)
        return;
    if (pPlayer->IsRetired()) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, kRetiredMessage);
        return;
    }
    GetPlayerDetailsPopup().Show(pPlayer, 0, false);
}

void CClientClubRecords::OnSelChange(uint32_t dwID)
{
    const CClubDatabase* pChosen = nullptr;
    int nSeason = 0;
    if (!CClientClubGeneral::ReadClubSelectors(dwID, m_nSelectedSeason, pChosen, nSeason)) {
        CGameClient::OnSelChange(dwID);
        return;
    }
    if (!pChosen || (pChosen == m_pClub && nSeason == m_nSelectedSeason))
        return;
    g_pNavigationBar->SetNextClient(this, MakeParameter(pChosen->GetID(), nSeason));
}

void CClientClubRecords::OnPrint() { PrintControl(ID_PLAYER_LIST); }
