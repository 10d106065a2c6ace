#include "screens/CClientArchivesEndOfSeason.h"

#include "screens/CClientClubRecords.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/CompetitionNames.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/CDate.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/ClientText.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>

namespace {

using Screen = CClientArchivesEndOfSeason;

constexpr int kRowHeight = 16;
constexpr int kTabHeight = 17;
constexpr int kTabWidth = 232;
constexpr int kRecordLabelSet = 26;
constexpr int kDivisionTabSet = 7;
constexpr int kCountryTabSet = 204;
constexpr int kWordsSet = 114;
constexpr int kNoneWord = 6;
constexpr int kNothingWord = 26;
constexpr int kNoteTop = 240;
constexpr int kPlayerAwardWord = 33;
constexpr int kManagerAwardWord = 34;
constexpr uint32_t kPrintButton = 1058;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kShadow = 0x000000;
constexpr COLORREF kDefaultClubColour = 0x9D37;
const COLORREF kClubNameColour = plat::RGB(255, 217, 90);

// The awards pitch and where the eleven stand on it (goalkeeper at the top,
// then four defenders, four midfielders and two attackers), each the centre
// of a shirt with the names under it.
constexpr int kPitchX = 178, kPitchY = 288;  // under the awards, above the corner mark
constexpr int kTeamX = 19, kTeamY = 20;
constexpr int kNameHeight = 12;
constexpr int kShirtSize = 24;
constexpr int kNameWidth = 100;
constexpr struct {
    int dx, dy;
} kElevenPlaces[division_archive::kElevenPlaces] = {
    {220, 0}, {60, 50}, {160, 50}, {260, 50}, {360, 50}, {60, 100},
    {160, 100}, {260, 100}, {360, 100}, {160, 150}, {260, 150},
};

// Where each list stands: its rows' rectangle (the heading row above it).
struct LISTPLACE {
    uint32_t dwID;
    int nLeft, nTop, nRight, nBottom;
    bool bDivision;
};
constexpr LISTPLACE kPlaces[] = {
    {Screen::ID_RECORDS, 0, 53, 640, 213, true},
    {Screen::ID_PROMOTED, 8, 237, 168, 301, true},
    {Screen::ID_RELEGATED, 8, 327, 168, 391, true},
    {Screen::ID_AWARDS, 184, 253, 632, 285, true},
    {Screen::ID_COMPETITIONS, 0, 53, 640, 165, false},
    {Screen::ID_FIRST_CUP_CLUBS, 8, 192, 200, 272, false},
    {Screen::ID_SECOND_CUP_CLUBS, 8, 297, 200, 361, false},
    {Screen::ID_TOP_SCORERS, 216, 208, 632, 288, false},
    {Screen::ID_FEES_PAID, 0, 401, 316, 481, false},
    {Screen::ID_FEES_RECEIVED, 324, 401, 640, 481, false},
};

// {left, right, margin, alignment, heading}
constexpr auto kRecordColumns =
    MakeColumnTable<4>({{0, 200, 0, 0, 286}, {200, 352, 0, 0, 963}, {352, 440, 10, 2, 288}, {440, 620, 12, 0, 938}});
constexpr auto kAwardColumns = MakeColumnTable<3>({{0, 160, 0, 0, 286}, {160, 296, 0, 0, 963}, {296, 448, 0, 0, 938}});
constexpr auto kCompetitionColumns =
    MakeColumnTable<3>({{0, 220, 0, 0, 280}, {220, 430, 0, 0, 443}, {430, 640, 0, 0, 444}});
constexpr auto kPlayerColumns =
    MakeColumnTable<3>({{0, 150, 0, 0, 963}, {150, 240, 10, 2, 288}, {240, 416, 12, 0, 938}});
constexpr auto kFeeColumns = MakeColumnTable<3>({{0, 96, 0, 0, 963}, {96, 164, 4, 2, 288}, {164, 316, 6, 0, 938}});
constexpr auto kClubColumns = MakeColumnTable<1>({{0, 192, 0, 0, 0}});

const LISTCOLUMN* ColumnsOf(uint32_t dwID)
{
    switch (dwID) {
    case Screen::ID_RECORDS: return kRecordColumns;
    case Screen::ID_AWARDS: return kAwardColumns;
    case Screen::ID_COMPETITIONS: return kCompetitionColumns;
    case Screen::ID_TOP_SCORERS: return kPlayerColumns;
    case Screen::ID_FEES_PAID:
    case Screen::ID_FEES_RECEIVED: return kFeeColumns;
    default: return kClubColumns;
    }
}

bool HasHeadings(uint32_t dwID) { return ColumnsOf(dwID) != kClubColumns.aColumns; }

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

const char* None() { return GetTableTextOrEmpty(kWordsSet, kNoneWord); }

const CClubDatabase* ClubOf(uint32_t idClub)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase && idClub ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(idClub)) : nullptr;
}

std::string ClubName(uint32_t idClub)
{
    const CClubDatabase* pClub = ClubOf(idClub);
    return pClub ? pClub->GetName() : None();
}

// A club's short name, its name when it has none.
std::string ClubShortName(const CClubDatabase* pClub)
{
    if (!pClub)
        return None();
    return *pClub->GetShortName() ? pClub->GetShortName() : pClub->GetName();
}

std::string PlayerName(uint32_t idPlayer)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CPlayerDatabase* pPlayer = pDatabase ? pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(idPlayer)) : nullptr;
    return pPlayer ? pPlayer->GetShortName() : None();
}

bool HasSeasonRecords(const CCountryDatabase* pCountry) { return pCountry && pCountry->GetSeasonRecordCount() > 0; }

}  // namespace

CClientArchivesEndOfSeason& GetArchivesEndOfSeasonScreen()
{
    static CClientArchivesEndOfSeason s_Screen;
    return s_Screen;
}

CClientArchivesEndOfSeason::CClientArchivesEndOfSeason() { m_wScreenID = SCREEN_LAST_MAIN; }

CClientArchivesEndOfSeason::~CClientArchivesEndOfSeason() = default;

CXListBox* CClientArchivesEndOfSeason::GetList(uint32_t dwID) const
{
    return dynamic_cast<CXListBox*>(FindControl(dwID));
}

void CClientArchivesEndOfSeason::TakeParameter()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const auto byID = static_cast<uint8_t>(m_dwChangeParameter & 0xFF);
    m_pDivision = nullptr;
    m_pCountry = nullptr;
    if (pDatabase && (m_dwChangeParameter & kCountryBit))
        m_pCountry = pDatabase->GetCountryFromID(byID);
    else if (pDatabase && (m_pDivision = pDatabase->GetDivisionFromID(byID)) != nullptr)
        m_pCountry = m_pDivision->m_pCountry;
    m_nSeason = static_cast<int>((m_dwChangeParameter >> 9) & 0xFF);
    if (HasSeasonRecords(m_pCountry) || !pDatabase)
        return;
    // A country without a finished season is never shown: the first that has one instead.
    m_pDivision = nullptr;
    m_pCountry = nullptr;
    for (CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>())
        if (!m_pCountry && HasSeasonRecords(pCountry) && !pCountry->GetDivisions().IsEmpty())
            m_pCountry = pCountry;
}

bool CClientArchivesEndOfSeason::OnInitDialog()
{
    TakeParameter();
    m_nCurrentSeason = m_pCountry ? std::max(0, m_pCountry->GetSeasonYear() - kFirstSeasonYear) : 0;
    m_bHasArchive = false;

    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();

    // The archive of the last season closes the career.
    if (CDatabaseHandler* pDatabase = GetLoadedDatabase()) {
        const CDate today = pDatabase->GetGameDate();
        CXClient* pEnd = GetScreenObject(SCREEN_END_OF_CAREER);
        const bool bQueued = std::any_of(g_ClientList.begin(), g_ClientList.end(),
                                         [pEnd](const CLIENTLISTENTRY& entry) { return entry.pClient == pEnd; });
        if (today.GetYear() == kLastYear && today.GetMonth() == kLastMonth && pEnd && !bQueued)
            CXClient::AddClientToList(pEnd, 0, nullptr);
    }

    m_bFilling = true;
    SetUpTitlebar();
    m_bFilling = false;
    SetUpList(ID_RECORDS, ID_RECORDS_BAR, 885);
    SetUpList(ID_COMPETITIONS, ID_COMPETITIONS_BAR, 887);
    for (const LISTPLACE& place : kPlaces)
        if (place.dwID != ID_RECORDS && place.dwID != ID_COMPETITIONS)
            SetUpList(place.dwID, 0, 0);
    if (m_pDivision)
        ShowDivisionArchive();
    else
        ShowCountryArchive();
    if (auto* pPrint = g_pNavigationBar ? dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(kPrintButton)) : nullptr) {
        pPrint->Enable(false);
        pPrint->Show(true, true);
    }
    return bResult;
}

void CClientArchivesEndOfSeason::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    if (MakeOwnBackground())
        DrawColourBoxes(m_pBackground, kDefaultClubColour, kWhite);
}

void CClientArchivesEndOfSeason::SetUpTitlebar()
{
    if (!g_pTitlebar)
        return;
    g_pTitlebar->m_bDivisionAddAll = 1;
    g_pTitlebar->SetSelectors({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION, kSeasonSelector});
    if (m_pDivision) {
        g_pTitlebar->SelectDivision(m_pDivision);
    } else if (CXComboBox* pCountries = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_COUNTRY); pCountries && m_pCountry) {
        const int nRow = pCountries->FindItemData(m_pCountry->GetID());
        if (nRow >= 0) {
            pCountries->SetSelection(nRow);
            pCountries->Scroll(LISTSCROLL_TO_ROW, nRow);
            pCountries->Redraw();
        }
        g_pTitlebar->FillDivisionSelector(true);
        g_pTitlebar->SelectDivision(nullptr);
    }
    // Countries without a finished season cannot be chosen.
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (CXComboBox* pCountries = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_COUNTRY); pCountries && pDatabase)
        for (int nRow = 0; nRow < pCountries->GetCount(); ++nRow)
            pCountries->EnableRow(nRow, HasSeasonRecords(pDatabase->GetCountryFromID(
                                            static_cast<ID_COUNTRY>(pCountries->GetItemData(nRow)))));
    FillSeasonSelector();
}

void CClientArchivesEndOfSeason::FillSeasonSelector()
{
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(kSeasonSelector) : nullptr;
    if (!pBox)
        return;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const int nLength = pDatabase ? pDatabase->GetGameSetting(0) : 0;
    pBox->SetAutoRedraw(false);
    pBox->ResetContent();
    for (int i = std::max(0, m_nCurrentSeason - std::max(nLength, 1)); i < m_nCurrentSeason && m_pCountry; ++i)
        if (m_pCountry->FindSeasonRecord(static_cast<uint8_t>(i)))
            pBox->SetItemData(
                pBox->AddString(kWhite, "%d / %d", kFirstSeasonYear + i, kFirstSeasonYear + 1 + i), static_cast<uint32_t>(i));
    pBox->SetAutoRedraw(true);
    pBox->UpdateScrollBar();
    // The season asked for, else the latest.
    int nRow = pBox->FindItemData(static_cast<uint32_t>(m_nSeason));
    if (nRow < 0 && pBox->GetCount() > 0) {
        nRow = pBox->GetCount() - 1;
        m_nSeason = static_cast<int>(pBox->GetItemData(nRow));
    }
    if (nRow >= 0)
        pBox->ShowSelection(nRow);
    pBox->Redraw();
}

void CClientArchivesEndOfSeason::SetUpList(uint32_t dwID, uint32_t dwBar, uint32_t dwUp)
{
    CXScrollBar* pBar = nullptr;
    if (dwBar) {
        pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 50, dwBar, nullptr));
        if (pBar)
            pBar->Create(dwUp, dwUp + 1, kRowHeight, false, 0);
    }
    const LISTPLACE* pPlace =
        std::find_if(std::begin(kPlaces), std::end(kPlaces), [dwID](const LISTPLACE& place) { return place.dwID == dwID; });
    auto* pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, pPlace->nLeft, pPlace->nTop, pPlace->nRight, pPlace->nBottom, dwID, nullptr));
    if (pList)
        pList->SetUp(kRowHeight, 6, g_hSmallFont, 0, false, pBar, HasHeadings(dwID), nullptr, HasHeadings(dwID), 0,
                     false, false, false);
}

bool CClientArchivesEndOfSeason::PlaceLists(bool bDivision, bool bWithRecord)
{
    ShowAllControls(false);
    ResetOwnBackground();
    DrawColourBoxes(m_pBackground, kDefaultClubColour, kWhite);
    for (const LISTPLACE& place : kPlaces)
        if (CXListBox* pList = GetList(place.dwID)) {
            pList->ResetContent();
            // Headings only over the lists of a season that is shown.
            if (bWithRecord && place.bDivision == bDivision)
                pList->SetUpColumns(place.nLeft, place.nTop, place.nRight, place.nBottom, ColumnsOf(place.dwID),
                                    false, false, place.nBottom - place.nTop, false);
        }
    m_bHasArchive = bWithRecord;
    if (!bWithRecord && m_pBackground && m_pBackground->m_pSurface) {
        plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
        pDC->selectFont(g_hNormalFont);
        pDC->setBkMode(plat::TRANSPARENT);
        DrawShadowTextCentredF(pDC, 0, kNoteTop, Width(), kNoteTop + 24, 1, kWhite, kShadow, "%s",
                               GetTableTextOrEmpty(kWordsSet, kNothingWord));
        m_pBackground->m_pSurface->releaseDC(pDC);
    }
    RestoreBackground(0, 0, Width(), Height());
    return bWithRecord;
}

void CClientArchivesEndOfSeason::DrawTabs(int nTableSet, const uint32_t* pIDs, const int* pItems, int nCount)
{
    CGame* pGame = Game();
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    if (!pTabs)
        return;
    std::vector<CAPTIONTAB> tabs;
    for (int i = 0; i < nCount; ++i) {
        const CXListBox* pList = GetList(pIDs[i]);
        const LISTPLACE* pPlace = std::find_if(std::begin(kPlaces), std::end(kPlaces),
                                               [&](const LISTPLACE& place) { return place.dwID == pIDs[i]; });
        const int nHeader = pList && HasHeadings(pIDs[i]) ? pList->m_nHeaderHeight : 0;
        tabs.push_back({2, pItems[i], 0, pPlace->nLeft, pPlace->nTop - nHeader - kTabHeight,
                        std::min(kTabWidth, pPlace->nRight - pPlace->nLeft)});
    }
    tabs.push_back({0, 0, 0, 0, 0, 0});
    DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, nTableSet, tabs.data());
}

void CClientArchivesEndOfSeason::ShowDivisionArchive()
{
    const DIVISIONARCHIVERECORD* pRecord =
        m_pDivision ? m_pDivision->GetSeasonArchiveRecord(static_cast<uint8_t>(m_nSeason)) : nullptr;
    if (!PlaceLists(true, pRecord != nullptr))
        return;
    const DIVISIONSEASONARCHIVE archive = DIVISIONSEASONARCHIVE::Read(*pRecord);
    FillDivisionRecords(archive);
    FillAwards(archive);
    FillFirstClubList(archive);
    FillSecondClubList(archive);
    for (uint32_t dwID : {ID_RECORDS, ID_PROMOTED, ID_RELEGATED, ID_AWARDS})
        if (CXListBox* pList = GetList(dwID)) {
            pList->SetAutoRedraw(true);
            pList->Show(true, false);
        }
    if (CXControl* pBar = FindControl(ID_RECORDS_BAR))
        pBar->Show(true, false);
    // The top division's first list holds its champions.
    const uint32_t aTabs[] = {ID_RECORDS, ID_PROMOTED, ID_RELEGATED, ID_AWARDS};
    const int aItems[] = {0, m_pDivision->GetNeighbourDivision(-1) ? 1 : 4, 2, 3};
    DrawTabs(kDivisionTabSet, aTabs, aItems, 4);
    if (std::unique_ptr<CXSurface> pPitch{LoadMainArchiveBitmap("PTAwards.bmp", false)}) {
        CXSurface::Blit(m_pDrawingSurface, pPitch.get(), kPitchX, kPitchY);
        DrawSeasonEleven(m_pDrawingSurface, kPitchX, kPitchY, archive);
    }
    for (uint32_t dwID : {ID_RECORDS, ID_PROMOTED, ID_RELEGATED, ID_AWARDS})
        if (CXListBox* pList = GetList(dwID))
            pList->Redraw();
}

void CClientArchivesEndOfSeason::FillDivisionRecords(const DIVISIONSEASONARCHIVE& archive)
{
    CXListBox* pList = GetList(ID_RECORDS);
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    using Shown = CClientClubRecords::Shown;
    for (int nRow = 0;; ++nRow) {
        const char* pszLabel = GetTableText(kRecordLabelSet, nRow);
        if (!pszLabel)
            break;
        if (nRow >= CClientClubRecords::kPlayerRowCount) {
            DebugLog(0, "Club Details : [tabDisplayRecords] Unrecognised Record.");
            continue;
        }
        const CClientClubRecords::PLAYERROW& row = CClientClubRecords::kPlayerRows[nRow];
        // The youngest and oldest of a whole division tell little: no row.
        if (row.shown == Shown::Birth)
            continue;
        if (row.nSlot == CClientClubRecords::kFeeReceived || row.nSlot == CClientClubRecords::kFeePaid)
            AddAmountRecordRow(pList, row.nSlot == CClientClubRecords::kFeePaid ? archive.FeePaid : archive.FeeReceived,
                               pszLabel, FORM_LABELLED);
        else if (row.nSlot >= 0 && row.nSlot < division_archive::kRecordSlots)
            AddPlayerRecordRow(pList, archive.aRecords[row.nSlot], pszLabel, row.shown == Shown::Money, FORM_LABELLED);
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
}

void CClientArchivesEndOfSeason::AddPlayerRecordRow(CXListBox* pList, const PERSONREFERENCE& entry,
                                                    const char* pszLabel, bool bMoney, RowForm form)
{
    if (!pList || entry.dwSecond == 0)
        return;
    const std::string player = PlayerName(entry.dwSecond);
    const std::string club = ClubName(entry.dwFirst);
    const std::string figure =
        bMoney ? FormatMoney(entry.nValue, 0, 0, MONEY_AS_STORED, 0, 1) : std::to_string(entry.nValue);
    int nRow = -1;
    switch (form) {
    case FORM_LABELLED:
        nRow = pList->AddString(kWhite, "%s\t%s\t%s\t%s", pszLabel ? pszLabel : "", player.c_str(), figure.c_str(),
                                club.c_str());
        break;
    case FORM_PLAIN:
        nRow = pList->AddString(kWhite, "%s\t%s\t%s", player.c_str(), figure.c_str(), club.c_str());
        break;
    case FORM_NO_FIGURE:
        nRow = pList->AddString(kWhite, "%s\t%s\t%s", pszLabel ? pszLabel : "", player.c_str(), club.c_str());
        break;
    }
    if (nRow >= 0)
        pList->SetItemData(nRow, entry.dwSecond);
}

void CClientArchivesEndOfSeason::AddAmountRecordRow(CXListBox* pList, const PERSONREFERENCE& entry,
                                                    const char* pszLabel, RowForm form)
{
    AddPlayerRecordRow(pList, PERSONREFERENCE{entry.dwSecond, entry.dwFirst, entry.nValue}, pszLabel, true, form);
}

void CClientArchivesEndOfSeason::FillAwards(const DIVISIONSEASONARCHIVE& archive)
{
    CXListBox* pList = GetList(ID_AWARDS);
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    AddPlayerRecordRow(pList, archive.TopScorer, GetTableTextOrEmpty(kWordsSet, kPlayerAwardWord), false,
                       FORM_NO_FIGURE);
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CManagerDatabase* pManager =
        pDatabase && archive.Manager.dwFirst
            ? pDatabase->GetManagerFromID(static_cast<ID_MANAGER>(archive.Manager.dwFirst))
            : nullptr;
    if (pManager)
        pList->AddString(kWhite, "%s\t%s\t%s", GetTableTextOrEmpty(kWordsSet, kManagerAwardWord),
                         pManager->GetShortName(), ClubName(archive.Manager.dwSecond).c_str());
    pList->SetAutoRedraw(true);
}

void CClientArchivesEndOfSeason::FillClubList(CXListBox* pList, const uint16_t* pwClubs, int nCount)
{
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    for (int i = 0; i < nCount; ++i)
        if (const CClubDatabase* pClub = ClubOf(pwClubs[i]))
            pList->SetItemData(pList->AddString(kWhite, "%s", pClub->GetName()), pClub->GetID());
    if (pList->GetCount() == 0)
        pList->AddString(kWhite, "%s", None());
    pList->SetAutoRedraw(true);
}

void CClientArchivesEndOfSeason::FillFirstClubList(const DIVISIONSEASONARCHIVE& archive)
{
    FillClubList(GetList(ID_PROMOTED), archive.awPromoted, division_archive::kClubSlots);
}

void CClientArchivesEndOfSeason::FillSecondClubList(const DIVISIONSEASONARCHIVE& archive)
{
    FillClubList(GetList(ID_RELEGATED), archive.awRelegated, division_archive::kClubSlots);
}

void CClientArchivesEndOfSeason::DrawSeasonEleven(CXSurface* pSurface, int x, int y,
                                                  const DIVISIONSEASONARCHIVE& archive)
{
    if (!pSurface || !pSurface->m_pSurface)
        return;
    for (int i = 0; i < division_archive::kElevenPlaces; ++i) {
        const PERSONREFERENCE& entry = archive.aEleven[i];
        const CClubDatabase* pClub = ClubOf(entry.dwFirst);
        const int nX = x + kTeamX + kElevenPlaces[i].dx, nY = y + kTeamY + kElevenPlaces[i].dy;
        if (pClub)
            CGameTitlebar::DrawIcon(pSurface, 0, nX - kShirtSize / 2, nY - 20,
                                    CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                                    CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]), true);
        if (entry.dwSecond == 0)
            continue;
        plat::DeviceContext* pDC = pSurface->m_pSurface->getDC();
        pDC->selectFont(g_hSmallFont);
        pDC->setBkMode(plat::TRANSPARENT);
        const int nTop = nY + 4;
        DrawShadowTextCentredF(pDC, nX - kNameWidth / 2, nTop, nX + kNameWidth / 2, nTop + kNameHeight, 1, kWhite,
                               kShadow, "%s", PlayerName(entry.dwSecond).c_str());
        DrawShadowTextCentredF(pDC, nX - kNameWidth / 2, nTop + kNameHeight + 1, nX + kNameWidth / 2,
                               nTop + 2 * kNameHeight + 1, 1, kClubNameColour, kShadow, "%s",
                               ClubShortName(pClub).c_str());
        pSurface->m_pSurface->releaseDC(pDC);
    }
}

void CClientArchivesEndOfSeason::ShowCountryArchive()
{
    const uint8_t* pRecord = m_pCountry ? m_pCountry->FindSeasonRecord(static_cast<uint8_t>(m_nSeason)) : nullptr;
    if (!PlaceLists(false, pRecord != nullptr))
        return;
    const COUNTRYSEASONARCHIVE archive = COUNTRYSEASONARCHIVE::Read(pRecord);
    CDatabaseHandler* pDatabase = GetLoadedDatabase();

    if (CXListBox* pList = GetList(ID_COMPETITIONS)) {
        pList->SetAutoRedraw(false);
        for (int i = 0; i < country_archive::kCompetitions; ++i) {
            if (!ClubOf(archive.awWinners[i]) && !ClubOf(archive.awRunnersUp[i]))
                continue;
            char szName[128] = "";
            FormatCompetitionName(pDatabase ? pDatabase->GetCupByCompetitionIndex(i, m_pCountry) : nullptr, pDatabase,
                                  szName, sizeof szName);
            pList->SetItemData(pList->AddString(kWhite, "%s\t%s\t%s", szName, ClubName(archive.awWinners[i]).c_str(),
                                                ClubName(archive.awRunnersUp[i]).c_str()),
                               static_cast<uint32_t>(i));
        }
        pList->SetAutoRedraw(true);
        pList->UpdateScrollBar();
    }
    FillClubList(GetList(ID_FIRST_CUP_CLUBS), archive.awFirstCupEntrants, country_archive::kFirstCupSlots);
    FillClubList(GetList(ID_SECOND_CUP_CLUBS), archive.awSecondCupEntrants, country_archive::kSecondCupSlots);
    for (int i = 0; i < country_archive::kListPlaces; ++i) {
        AddPlayerRecordRow(GetList(ID_TOP_SCORERS), archive.aTopScorers[i], nullptr, false, FORM_PLAIN);
        AddAmountRecordRow(GetList(ID_FEES_PAID), archive.aFeesPaid[i], nullptr, FORM_PLAIN);
        AddAmountRecordRow(GetList(ID_FEES_RECEIVED), archive.aFeesReceived[i], nullptr, FORM_PLAIN);
    }
    const uint32_t aTabs[] = {ID_COMPETITIONS, ID_FIRST_CUP_CLUBS, ID_SECOND_CUP_CLUBS,
                              ID_TOP_SCORERS,  ID_FEES_PAID,       ID_FEES_RECEIVED};
    for (uint32_t dwID : aTabs)
        if (CXListBox* pList = GetList(dwID)) {
            pList->SetAutoRedraw(true);
            pList->Show(true, false);
        }
    if (CXControl* pBar = FindControl(ID_COMPETITIONS_BAR))
        pBar->Show(true, false);
    const int aItems[] = {0, 1, 2, 3, 4, 5};
    DrawTabs(kCountryTabSet, aTabs, aItems, 6);
    for (uint32_t dwID : aTabs)
        if (CXListBox* pList = GetList(dwID))
            pList->Redraw();
}

void CClientArchivesEndOfSeason::OnSelChange(uint32_t dwID)
{
    if (m_bFilling || !g_pTitlebar ||
        (dwID != ID_COUNTRY_CHOICE && dwID != ID_DIVISION_CHOICE && dwID != ID_SEASON_CHOICE)) {
        CGameClient::OnSelChange(dwID);
        return;
    }
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CXComboBox* pCountries = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_COUNTRY);
    const CXComboBox* pSeasons = g_pTitlebar->GetSelector(kSeasonSelector);
    const int nCountryRow = pCountries ? pCountries->GetSelection() : -1;
    const CCountryDatabase* pCountry =
        pDatabase && nCountryRow >= 0
            ? pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(pCountries->GetItemData(nCountryRow)))
            : nullptr;
    if (!HasSeasonRecords(pCountry))
        return;
    // A season keeps its index in every country; another country opens on its latest.
    const int nSeasonRow = pSeasons ? pSeasons->GetSelection() : -1;
    const int nSeason = dwID == ID_COUNTRY_CHOICE || nSeasonRow < 0 ? 0xFF : static_cast<int>(pSeasons->GetItemData(nSeasonRow));
    const CDivisionDatabase* pDivision = dwID == ID_COUNTRY_CHOICE ? nullptr : g_pTitlebar->GetSelectedDivision();
    const uint32_t dwParameter = pDivision ? MakeDivisionParameter(pDivision->m_byDivisionId, nSeason)
                                           : MakeCountryParameter(pCountry->GetID(), nSeason);
    if (g_pNavigationBar)
        g_pNavigationBar->SetNextClient(this, dwParameter);
}

void CClientArchivesEndOfSeason::OnPrint() { PrintAllControls(); }
