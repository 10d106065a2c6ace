#include "screens/CClientClubPlayers.h"
#include "shell/FilterButton.h"

#include "popups/CPopupListFilter.h"

#include "popups/CPopupMessageBox.h"
#include "popups/CPopupPlayerDetails.h"
#include "popups/CPopupYouthDetails.h"
#include "popups/CPopupGeneralMatchDetails.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/DeviceContext.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXManager.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kRowHeight = 16;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kMagenta = plat::RGB(255, 0, 255);
constexpr COLORREF kDragTile = 0x006B4239;
constexpr COLORREF kNoClubColour = 0x00009D37;
constexpr int kListLeft = 0, kListTop = 60, kListRight = 640, kListBottom = 412;
constexpr int kGridLeft = 20, kGridTop = 450, kCellStep = 24, kGridRow = 25;
constexpr int kChoiceWidth = 150;
// The scroll bar stands right of the columns.
constexpr int kScrollBarRoom = 24;
constexpr int kModeTable = 27;
constexpr int kWordsTable = 114;
constexpr int kHiddenWage = 6;
constexpr int kFirstModeCaption = 182;
constexpr int kGridCaption = 187;
// The value column's own header: the transfer lists caption 969 "Price".
constexpr uint32_t kValueColumnID = 302;

enum : uint8_t { RIGHT = 2, CENTRE = 6, RATING = 'y' };
constexpr uint8_t NAME_SORT = LISTSORT_AFTER_BLANK;
constexpr uint8_t MONEY_SORT = LISTSORT_CURRENCY;
constexpr uint8_t NUMBER_SORT = LISTSORT_NUMBER;
#define COLUMN(l, r, indent, align, header, sort) {l, r, indent, 0, align, 0, header, sort, 1}
#define END_COLUMNS {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0}
#define SQUAD_FRONT                                                                                         \
    COLUMN(0, 24, 8, RIGHT, 290, NUMBER_SORT), COLUMN(24, 200, 0, 0, 963, NAME_SORT),                        \
        COLUMN(200, 230, 0, 'x', 937, NUMBER_SORT), COLUMN(230, 264, 0, 'x', 964, NUMBER_SORT)
#define SKILLS_FROM(x)                                                                                      \
    COLUMN(x, x + 30, 0, CENTRE, 294, NUMBER_SORT), COLUMN(x + 30, x + 60, 0, CENTRE, 295, NUMBER_SORT),     \
        COLUMN(x + 60, x + 90, 0, CENTRE, 296, NUMBER_SORT), COLUMN(x + 90, x + 120, 0, CENTRE, 297, NUMBER_SORT), \
        COLUMN(x + 120, x + 150, 0, CENTRE, 298, NUMBER_SORT), COLUMN(x + 150, x + 180, 0, CENTRE, 299, NUMBER_SORT), \
        COLUMN(x + 180, x + 210, 0, CENTRE, 300, NUMBER_SORT), COLUMN(x + 210, x + 240, 0, CENTRE, 301, NUMBER_SORT), \
        COLUMN(x + 240, x + 270, 0, CENTRE, 966, NUMBER_SORT), COLUMN(x + 270, x + 300, 0, CENTRE, 967, NUMBER_SORT)

const LISTCOLUMN kSquadOverview[] = {
    SQUAD_FRONT,
    COLUMN(264, 298, 0, CENTRE, 965, NUMBER_SORT),
    COLUMN(298, 328, 0, CENTRE, 966, NUMBER_SORT),
    COLUMN(328, 358, 0, CENTRE, 967, NUMBER_SORT),
    COLUMN(358, 388, 0, RATING, 968, NUMBER_SORT),
    COLUMN(388, 448, 0, CENTRE, 291, NUMBER_SORT),
    COLUMN(448, 508, 10, RIGHT, 292, MONEY_SORT),
    COLUMN(508, 578, 10, RIGHT, kValueColumnID, MONEY_SORT),
    END_COLUMNS,
};
const LISTCOLUMN kSquadStatistics[] = {
    SQUAD_FRONT,
    COLUMN(264, 300, 0, RATING, 972, NUMBER_SORT),
    COLUMN(300, 338, 0, CENTRE, 970, NUMBER_SORT),
    COLUMN(338, 368, 0, CENTRE, 971, NUMBER_SORT),
    COLUMN(368, 406, 0, CENTRE, 293, NUMBER_SORT),
    COLUMN(406, 430, 0, CENTRE, 974, NUMBER_SORT),
    COLUMN(430, 454, 0, CENTRE, 977, NUMBER_SORT),
    COLUMN(454, 490, 0, RATING, 973, NUMBER_SORT),
    END_COLUMNS,
};
const LISTCOLUMN kSquadSkills[] = {
    SQUAD_FRONT,
    COLUMN(264, 294, 0, RATING, 968, NUMBER_SORT),
    SKILLS_FROM(294),
    END_COLUMNS,
};
const LISTCOLUMN kYouthOverview[] = {
    COLUMN(0, 176, 0, 0, 963, NAME_SORT),
    COLUMN(176, 206, 0, 'x', 937, NUMBER_SORT),
    COLUMN(206, 240, 0, 'x', 964, NUMBER_SORT),
    COLUMN(240, 274, 0, CENTRE, 965, NUMBER_SORT),
    COLUMN(274, 304, 0, CENTRE, 966, NUMBER_SORT),
    COLUMN(304, 334, 0, CENTRE, 967, NUMBER_SORT),
    COLUMN(334, 364, 0, RATING, 968, NUMBER_SORT),
    COLUMN(364, 424, 10, RIGHT, 292, MONEY_SORT),
    COLUMN(424, 494, 10, RIGHT, kValueColumnID, MONEY_SORT),
    END_COLUMNS,
};
const LISTCOLUMN kYouthSkills[] = {
    COLUMN(0, 176, 0, 0, 963, NAME_SORT),
    COLUMN(176, 206, 0, 'x', 937, NUMBER_SORT),
    COLUMN(206, 240, 0, 'x', 964, NUMBER_SORT),
    COLUMN(240, 270, 0, RATING, 968, NUMBER_SORT),
    SKILLS_FROM(270),
    END_COLUMNS,
};
const LISTCOLUMN* const kModeColumns[CClientClubPlayers::MODE_COUNT] = {kSquadOverview, kSquadStatistics,
                                                                         kSquadSkills, kYouthOverview, kYouthSkills};
const int kModeWidths[CClientClubPlayers::MODE_COUNT] = {578, 490, 594, 494, 570};
const LISTCOLUMN kChoiceColumns[] = {
    {0, kChoiceWidth, 4, 0, 0, 0, 0, LISTSORT_NONE, 1},
    END_COLUMNS,
};
#undef COLUMN
#undef END_COLUMNS
#undef SQUAD_FRONT
#undef SKILLS_FROM

// Handling, Tackling, Passing, Dribbling, Heading, Shooting, Pace, Strength,
// Fitness, Morale: Pace stands before Strength.
constexpr int kSkillOrder[10] = {PLAYER_ATTRIBUTE_HANDLING, PLAYER_ATTRIBUTE_TACKLING, PLAYER_ATTRIBUTE_PASSING,
                                 PLAYER_ATTRIBUTE_DRIBBLING, PLAYER_ATTRIBUTE_HEADING, PLAYER_ATTRIBUTE_SHOOTING,
                                 PLAYER_ATTRIBUTE_PACE,      PLAYER_ATTRIBUTE_STRENGTH, PLAYER_ATTRIBUTE_FITNESS,
                                 PLAYER_ATTRIBUTE_MORALE};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

CSaveGame* Human()
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

CXComboBox* Choice(const CXClient* pClient, uint32_t dwID)
{
    return dynamic_cast<CXComboBox*>(pClient->FindControl(dwID));
}

int Skill(const CPersonDatabase& person, int nIndex) { return person.m_awAttributes[kSkillOrder[nIndex]] / 100; }

// The ContractsSalaries option as a period of FormatMoney and a unit of the
// contract times: 1 months, 2 years, otherwise weeks.
int ContractUnit()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetOptions().m_nContractsSalaries : 1;
}
uint8_t WagePeriod()
{
    const int nUnit = ContractUnit();
    return nUnit == 1 ? MONEY_PER_MONTH : nUnit == 2 ? MONEY_AS_STORED : MONEY_PER_WEEK;
}

uint8_t HumanNationality()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    const CManagerDatabase* pManager = pDatabase && pHuman ? pDatabase->GetManagerFromID(pHuman->GetManagerID()) : nullptr;
    return pManager ? pManager->m_byNationality : 0;
}

int LabelIndex(uint32_t dwID)
{
    const int nIndex = static_cast<int>(dwID) - static_cast<int>(CClientClubPlayers::ID_FIRST_NUMBER);
    return nIndex >= 0 && nIndex < CClientClubPlayers::kNumberCount ? nIndex : -1;
}

int CellX(int nIndex) { return kGridLeft + kCellStep * (nIndex % kGridRow); }
int CellY(int nIndex) { return kGridTop + (nIndex < kGridRow ? 0 : 16); }

}  // namespace

CClientClubPlayers& GetClubPlayersScreen()
{
    static CClientClubPlayers s_Screen;
    return s_Screen;
}

CClientClubPlayers::CClientClubPlayers() { m_wScreenID = SCREEN_CLUB_PLAYERS; }

CClientClubPlayers::~CClientClubPlayers() = default;

// ---- filters ----

CClientClubPlayers::STATISTICS CClientClubPlayers::CountStatistics(const CPlayerDatabase& player, uint32_t dwMask)
{
    STATISTICS sums;
    for (int k = 0; k < PLAYER_CAREER_COMPETITIONS; ++k) {
        if (!(dwMask & (1u << k)))
            continue;
        const MATCHINFORMATION* pInfo = player.GetMatchInformation(k);
        if (!pInfo)
            continue;
        sums.nStarts += pInfo->abyFields[MATCH_INFORMATION_STARTS];
        sums.nSubstitute += pInfo->abyFields[MATCH_INFORMATION_SUBSTITUTE];
        sums.nGoals += pInfo->abyFields[MATCH_INFORMATION_GOALS];
        sums.nAwards += pInfo->abyFields[MATCH_INFORMATION_MAN_OF_THE_MATCH];
        sums.nSecondCards += pInfo->abyFields[10];
        sums.nBookings += pInfo->abyFields[MATCH_INFORMATION_BOOKINGS];
        sums.bHasInformation = true;
    }
    return sums;
}

bool CClientClubPlayers::PassesSquadFilter(const CPlayerDatabase& player, uint32_t dwMask, uint8_t byHumanNationality)
{
    const bool bOwn = player.m_byNationality == byHumanNationality;
    if (!((bOwn && (dwMask & FILTER_OWN_NATIONALITY)) || (!bOwn && (dwMask & FILTER_OTHER_NATIONALITY))))
        return false;
    if (player.m_byPosition > 3 || !(dwMask & (FILTER_FIRST_POSITION << player.m_byPosition)))
        return false;
    const STATISTICS sums = CountStatistics(player, dwMask);
    bool bNoted = sums.bHasInformation;
    const bool bAppeared = sums.nStarts + sums.nSubstitute > 0;
    if (((dwMask & FILTER_WITH_APPEARANCE) && !bAppeared) || ((dwMask & FILTER_WITHOUT_APPEARANCE) && bAppeared))
        bNoted = false;
    const uint32_t dwBoth = FILTER_WITH_APPEARANCE | FILTER_WITHOUT_APPEARANCE;
    return (dwMask & dwBoth) == dwBoth || bNoted;
}

// ---- entry and exit ----

bool CClientClubPlayers::OnInitDialog()
{
    CDatabaseHandler* pDatabase = Database();
    m_pClub = pDatabase ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(m_dwChangeParameter & 0xFFFF)) : nullptr;
    if (!m_pClub)
        if (const CSaveGame* pHuman = Human())
            m_pClub = pHuman->GetClub();
    m_nMode = static_cast<int>((m_dwChangeParameter >> 16) & 0xFF);
    if (m_nMode >= MODE_COUNT)
        m_nMode = MODE_SQUAD_OVERVIEW;
    m_dwSquadFilter = kInitialSquadFilter;
    m_dwYouthFilter = kInitialYouthFilter;
    m_bSquadNumbersUsed = m_pClub && m_pClub->m_pDivision && m_pClub->m_pDivision->m_bySquadNumbers;
    m_apHolders.fill(nullptr);
    m_bDragging = false;

    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();

    m_pDragImage = std::make_unique<CXSurface>();
    if (m_pDragImage->Create(296, 16, false, true))
        m_pDragImage->Fill(kMagenta);

    m_RowIcons.Load();

    AddBottomButton(ID_AUTOMATIC_NUMBERS);
    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 220, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, kListLeft, kListTop, kListRight, kListBottom, ID_LIST, nullptr));
    if (pList)
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     pBar, true, nullptr, true, 0, false, false, false);
    AddFilterButton(*this, ID_FILTER, kListRight - 16, kListTop - 16, m_pFilterFace);
    for (int k = 0; k < kNumberCount; ++k) {
        auto* pLabel = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, CellX(k), CellY(k), 24,
                                                             k < kGridRow ? 16 : 15, ID_FIRST_NUMBER + k, nullptr));
        if (!pLabel)
            continue;
        pLabel->m_byAlignment = 6;
        pLabel->m_hFont = g_hSmallFont;
        pLabel->m_nLeftMargin = 0;
        pLabel->m_nTopMargin = 1;
        pLabel->SetText("%d", k + 1);
        pLabel->Show(false, false);
    }
    int x = 16;
    for (uint32_t dwID : {ID_CLUB_CHOICE, ID_MODE_CHOICE}) {
        auto* pCombo =
            static_cast<CXComboBox*>(AddControl(XCONTROL_COMBOBOX, x, 2, x + kChoiceWidth, 300, dwID, nullptr));
        if (pCombo) {
            pCombo->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, false, nullptr, true, nullptr,
                          false, 2, false, false, true);
            pCombo->SetUpColumns(x, 2, x + kChoiceWidth, 300, kChoiceColumns, false, false, kRowHeight, false);
        }
        x += kChoiceWidth + 10;
    }
    FillModeSelector();
    if (m_nMode >= MODE_YOUTH_OVERVIEW && (!IsHumanClub() || YouthCount() == 0))
        m_nMode = MODE_SQUAD_OVERVIEW;
    if (CXComboBox* pModes = Choice(this, ID_MODE_CHOICE)) {
        m_bFilling = true;
        pModes->SetCurSel(m_nMode);
        m_bFilling = false;
    }
    const CSaveGame* pHuman = Human();
    if (IsHumanClub() && pHuman && pHuman->GetAutomaticSquadNumbers())
        ApplyAutomaticNumbers();
    else
        Refresh();
    UpdateBars();
    return bResult;
}

void CClientClubPlayers::OnDestroy()
{
    if (m_bDragging)
        EndMouseHold();
    m_bDragging = false;
    m_pDragImage.reset();
    m_nMode = MODE_SQUAD_OVERVIEW;
    m_apHolders.fill(nullptr);
    CGameClient::OnDestroy();
    // The face goes after the button: leaving the screen draws it once more.
    m_pFilterFace.reset();
    m_RowIcons.Clear();
}

void CClientClubPlayers::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
}

bool CClientClubPlayers::IsHumanClub() const
{
    const CSaveGame* pHuman = Human();
    return m_pClub && pHuman && pHuman->GetClub() == m_pClub;
}

int CClientClubPlayers::YouthCount() const { return m_pClub ? m_pClub->m_lstYouths.GetCount() : 0; }

bool CClientClubPlayers::IsNumberGridUsable() const
{
    return m_nMode < MODE_YOUTH_OVERVIEW && IsHumanClub() && m_bSquadNumbersUsed;
}

CXListBox* CClientClubPlayers::GetList() const { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

const CPlayerDatabase* CClientClubPlayers::GetNumberHolder(int nNumber) const
{
    return nNumber >= 1 && nNumber <= kNumberCount ? m_apHolders[static_cast<size_t>(nNumber - 1)] : nullptr;
}

// ---- the choices ----

void CClientClubPlayers::FillModeSelector()
{
    m_bFilling = true;
    if (CXComboBox* pModes = Choice(this, ID_MODE_CHOICE)) {
        pModes->SetAutoRedraw(false);
        pModes->ResetContent();
        const bool bYouth = IsHumanClub() && YouthCount() > 0;
        for (int k = 0; k < MODE_COUNT; ++k) {
            const char* pszText = GetTableText(kModeTable, k);
            pModes->AddString(kWhite, "%s", pszText ? pszText : "");
            pModes->SetItemData(k, static_cast<uint32_t>(k));
            if (k >= MODE_YOUTH_OVERVIEW)
                pModes->EnableRow(k, bYouth);
        }
        pModes->SetAutoRedraw(true);
    }
    // The clubs of the shown club's division.
    if (CXComboBox* pClubs = Choice(this, ID_CLUB_CHOICE); pClubs && m_pClub && m_pClub->m_pDivision) {
        pClubs->SetAutoRedraw(false);
        pClubs->ResetContent();
        int nRow = 0, nCurrent = -1;
        for (const CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
            pClubs->AddString(kWhite, "%s", pClub->GetName());
            pClubs->SetItemData(nRow, pClub->m_wClubId);
            if (pClub == m_pClub)
                nCurrent = nRow;
            ++nRow;
        }
        pClubs->SetAutoRedraw(true);
        if (nCurrent >= 0)
            pClubs->SetCurSel(nCurrent);
    }
    m_bFilling = false;
}

void CClientClubPlayers::OnSelChange(uint32_t dwID)
{
    if (m_bFilling || (dwID != ID_CLUB_CHOICE && dwID != ID_MODE_CHOICE))
        return;
    const CXComboBox* pClubs = Choice(this, ID_CLUB_CHOICE);
    const CXComboBox* pModes = Choice(this, ID_MODE_CHOICE);
    const int nClubRow = pClubs ? pClubs->GetSelection() : -1;
    const int nModeRow = pModes ? pModes->GetSelection() : -1;
    const uint16_t wClub = nClubRow >= 0 ? static_cast<uint16_t>(pClubs->GetItemData(nClubRow))
                                         : (m_pClub ? m_pClub->m_wClubId : 0);
    ChangeClubOrMode(wClub, nModeRow >= 0 ? nModeRow : m_nMode);
}

void CClientClubPlayers::ChangeClubOrMode(uint16_t wClubID, int nMode)
{
    // The screen opens again with the new club and view, through the history.
    if (g_pNavigationBar)
        g_pNavigationBar->SetNextClient(this, MakeParameter(wClubID, nMode));
}

// ---- the list ----

void CClientClubPlayers::Refresh()
{
    CXListBox* pList = GetList();
    if (!pList)
        return;
    ShowAllControls(false);
    if (m_pDrawingSurface && m_pDrawingSurface->m_pSurface && m_pBackground && m_pBackground->m_pSurface)
        m_pDrawingSurface->m_pSurface->bltFast(0, 0, *m_pBackground->m_pSurface, nullptr, plat::BLTFAST_WAIT);
    const bool bGrid = IsNumberGridUsable();
    CGame* pGame = Game();
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    if (bGrid) {
        const CAPTIONTAB gridTab[] = {{2, 0, 0, kGridLeft, kGridTop - 18, 600}, {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, kGridCaption, gridTab);
    }
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    pList->SetUpColumns(kListLeft, kListTop, kListRight - kScrollBarRoom, kListBottom, kModeColumns[m_nMode], true, false,
                        kListBottom - kListTop, false);
    const CAPTIONTAB listTab[] = {{2, 0, 0, pList->m_nLeft, pList->m_nTop - pList->m_nHeaderHeight - 17,
                                   kModeWidths[m_nMode]},
                                  {0, 0, 0, 0, 0, 0}};
    DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, kFirstModeCaption + m_nMode, listTab);
    if (m_nMode < MODE_YOUTH_OVERVIEW)
        FillSquadList();
    else
        FillYouthList();
    if (CXControl* pFilter = FindControl(ID_FILTER))
        pFilter->Move(pList->m_nRight, pList->m_nTop - 16, 16, 16, false);
    ShowAllControls(true);
    if (!bGrid) {
        for (int k = 0; k < kNumberCount; ++k)
            if (CXControl* pLabel = FindControl(ID_FIRST_NUMBER + k))
                pLabel->Show(false, false);
        RestoreBackground(kGridLeft - 1, kGridTop - 1, kCellStep * kGridRow + 2, 34);
    }
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_AUTOMATIC_NUMBERS))) {
        const CSaveGame* pHuman = Human();
        const bool bOffer = bGrid && !(pHuman && pHuman->GetAutomaticSquadNumbers());
        pButton->Enable(bOffer);
        pButton->Show(bOffer, true);
    }
    ApplyRatingsOption();
    DrawNumberGrid();
}

void CClientClubPlayers::AddRowIcons(int nRow, const CPersonDatabase& person, const CPlayerDatabase* pPlayer,
                                     int nNameColumn, int nPositionColumn)
{
    if (CXListBox* pList = GetList())
        m_RowIcons.Add(*pList, nRow, person, pPlayer, nNameColumn, nPositionColumn);
}

void CClientClubPlayers::AddSquadRow(CPlayerDatabase* pPlayer, bool bLoanedOut, uint8_t byNationality)
{
    CXListBox* pList = GetList();
    // Players out on loan pass the same filter: their blocks of the counted
    // competitions decide the appearance part.
    if (!PassesSquadFilter(*pPlayer, m_dwSquadFilter, byNationality))
        return;
    char szNumber[8];
    if (!m_bSquadNumbersUsed || pPlayer->m_bySquadNumber == 0)
        std::snprintf(szNumber, sizeof szNumber, "- ");
    else
        std::snprintf(szNumber, sizeof szNumber, "%2d", pPlayer->m_bySquadNumber);
    const char* pszName = pPlayer->GetShortName();
    const int nRating = pPlayer->GetRatingForPosition(pPlayer->m_byRole);
    const uint16_t* pw = pPlayer->m_awAttributes;
    int nRow = -1;
    if (m_nMode == MODE_SQUAD_OVERVIEW) {
        const int nUnit = ContractUnit();
        std::string wage;
        if (IsHumanClub()) {
            wage = FormatMoney(pPlayer->m_Contract.dwYearlyWage, 0, 0, WagePeriod(), 0, 1);
        } else {
            const char* pszHidden = GetTableText(kWordsTable, kHiddenWage);
            wage = pszHidden ? pszHidden : "";
        }
        const std::string value = FormatMoney(pPlayer->m_dwValue, 0, 0, MONEY_AS_STORED, 0, 1);
        nRow = pList->AddString(kWhite, "%s\t%s\t%d\t%d\t%d\t%d\t%d\t%d\t%d (%d)\t%s\t%s", szNumber, pszName,
                                pPlayer->m_byPosition, pPlayer->m_byRole, pPlayer->GetAge(),
                                pw[PLAYER_ATTRIBUTE_FITNESS] / 100, pw[PLAYER_ATTRIBUTE_MORALE] / 100, nRating,
                                pPlayer->GetContractTimeLeft(nUnit), pPlayer->GetContractLength(nUnit), wage.c_str(),
                                value.c_str());
    } else if (m_nMode == MODE_SQUAD_STATISTICS) {
        STATISTICS s;
        if (bLoanedOut) {
            // The whole season wherever he played it.
            s.nStarts = pPlayer->GetSeasonStarts();
            s.nSubstitute = pPlayer->GetSeasonSubstituteAppearances();
            s.nGoals = pPlayer->GetSeasonField4Total();
            s.nAwards = pPlayer->GetSeasonManOfTheMatchAwards();
            s.nBookings = pPlayer->GetSeasonBookings();
            s.nSecondCards = pPlayer->GetSeasonField10Total();
        } else {
            s = CountStatistics(*pPlayer, m_dwSquadFilter);
        }
        nRow = pList->AddString(kWhite, "%s\t%s\t%d\t%d\t%2d\t%d (%d)\t%2d\t%2d\t%2d\t%2d\t%2d", szNumber, pszName,
                                pPlayer->m_byPosition, pPlayer->m_byRole, nRating, s.nStarts, s.nSubstitute, s.nGoals,
                                s.nAwards, s.nBookings, s.nSecondCards, pPlayer->m_byRating);
    } else {
        const CPlayerDatabase& p = *pPlayer;
        nRow = pList->AddString(kWhite, "%s\t%s\t%d\t%d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d", szNumber,
                                pszName, p.m_byPosition, p.m_byRole, nRating, Skill(p, 0), Skill(p, 1), Skill(p, 2),
                                Skill(p, 3), Skill(p, 4), Skill(p, 5), Skill(p, 6), Skill(p, 7), Skill(p, 8),
                                Skill(p, 9));
    }
    if (nRow < 0)
        return;
    pList->SetItemData(nRow, pPlayer->m_idPerson);
    AddRowIcons(nRow, *pPlayer, pPlayer, 1, 2);
}

void CClientClubPlayers::FillSquadList()
{
    CXListBox* pList = GetList();
    if (!pList || !m_pClub)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    m_apHolders.fill(nullptr);
    const uint8_t byNationality = HumanNationality();
    const bool bHuman = IsHumanClub();
    // The squad first, then those of its players out on loan elsewhere.
    for (int nPass = 0; nPass < 2; ++nPass)
        for (CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
            const bool bLoanedOut = pPlayer->m_byTransferState == PLAYER_TRANSFER_ON_LOAN &&
                                    pPlayer->m_wLoanClubId != m_pClub->m_wClubId;
            if (bLoanedOut != (nPass == 1))
                continue;
            const int n = pPlayer->m_bySquadNumber;
            if (bHuman && !bLoanedOut && n >= 1 && n <= kNumberCount)
                m_apHolders[static_cast<size_t>(n - 1)] = pPlayer;
            AddSquadRow(pPlayer, bLoanedOut, byNationality);
        }
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    SetFocus(pList);
    // Ordered by position.
    pList->Sort(2, true, LISTSORT_NUMBER, 0);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

void CClientClubPlayers::FillYouthList()
{
    CXListBox* pList = GetList();
    if (!pList || !m_pClub)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    const uint8_t byNationality = HumanNationality();
    const bool bHuman = IsHumanClub();
    for (CYouthDatabase* pYouth : m_pClub->m_lstYouths.Items<CYouthDatabase>()) {
        const bool bOwn = pYouth->m_byNationality == byNationality;
        if (!((bOwn && (m_dwYouthFilter & 1)) || (!bOwn && (m_dwYouthFilter & 2))))
            continue;
        if (pYouth->m_byPosition > 3 || !(m_dwYouthFilter & (4u << pYouth->m_byPosition)))
            continue;
        const CYouthDatabase& y = *pYouth;
        const int nRating = y.GetRatingForPosition(y.m_byRole);
        int nRow;
        if (m_nMode == MODE_YOUTH_OVERVIEW) {
            std::string wage;
            if (bHuman) {
                wage = FormatMoney(y.m_dwYearlyWage, 0, 0, WagePeriod(), 0, 1);
            } else {
                const char* pszHidden = GetTableText(kWordsTable, kHiddenWage);
                wage = pszHidden ? pszHidden : "";
            }
            const std::string value = FormatMoney(y.m_dwValue, 0, 0, MONEY_AS_STORED, 0, 1);
            nRow = pList->AddString(kWhite, "%s\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%s", y.GetShortName(), y.m_byPosition,
                                    y.m_byRole, y.GetAge(), y.m_awAttributes[PLAYER_ATTRIBUTE_FITNESS] / 100,
                                    y.m_awAttributes[PLAYER_ATTRIBUTE_MORALE] / 100, nRating, wage.c_str(),
                                    value.c_str());
        } else {
            nRow = pList->AddString(kWhite, "%s\t%d\t%d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d",
                                    y.GetShortName(), y.m_byPosition, y.m_byRole, nRating, Skill(y, 0), Skill(y, 1),
                                    Skill(y, 2), Skill(y, 3), Skill(y, 4), Skill(y, 5), Skill(y, 6), Skill(y, 7),
                                    Skill(y, 8), Skill(y, 9));
        }
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, y.m_idPerson);
        AddRowIcons(nRow, y, nullptr, 0, 1);
    }
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    SetFocus(pList);
    // Ordered by role.
    pList->Sort(2, true, LISTSORT_NUMBER, 0);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

void CClientClubPlayers::SetFilterMask(uint32_t dwMask)
{
    uint32_t& dwStored = m_nMode < MODE_YOUTH_OVERVIEW ? m_dwSquadFilter : m_dwYouthFilter;
    if (dwMask == dwStored)
        return;
    dwStored = dwMask;
    if (m_nMode < MODE_YOUTH_OVERVIEW)
        FillSquadList();
    else
        FillYouthList();
    DrawNumberGrid();
}

int CClientClubPlayers::RowOf(const CPlayerDatabase* pPlayer) const
{
    const CXListBox* pList = GetList();
    return pList && pPlayer ? pList->FindItemData(pPlayer->m_idPerson) : -1;
}

uint32_t CClientClubPlayers::MoveSelection(int nStep)
{
    CXListBox* pList = GetList();
    if (!pList || pList->GetCount() == 0)
        return 0;
    const int nRow = std::clamp(pList->GetSelection() + nStep, 0, pList->GetCount() - 1);
    pList->SetSelection(nRow);
    pList->Scroll(LISTSCROLL_TO_ROW_TOO, nRow);
    return static_cast<uint32_t>(pList->GetItemData(nRow));
}

uint32_t CClientClubPlayers::GetCurrentListPlayer()
{
    CXListBox* pList = GetList();
    const int nRow = pList ? pList->GetSelection() : -1;
    if (nRow < 0)
        return 0;
    pList->RedrawRow(nRow, true);
    return static_cast<uint32_t>(pList->GetItemData(nRow));
}

// ---- squad numbers ----

void CClientClubPlayers::DrawNumberGrid()
{
    if (!IsNumberGridUsable() || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    const CSaveGame* pHuman = Human();
    const COLORREF crClub = pHuman ? pHuman->GetColourForClub() : kNoClubColour;
    RestoreBackground(kGridLeft, kGridTop, kCellStep * kGridRow, 32);
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    for (int k = 0; k < kNumberCount; ++k) {
        const int x = CellX(k), y = CellY(k);
        if (m_apHolders[static_cast<size_t>(k)])
            DrawColourBox(pDC, x, y, x + 23, y + 15, crClub, true);
        else
            DrawRectOutline(pDC, x, y, x + 23, y + 15, kWhite, 1);
    }
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    for (int k = 0; k < kNumberCount; ++k)
        if (CXControl* pLabel = FindControl(ID_FIRST_NUMBER + k))
            pLabel->Show(true, true);
}

void CClientClubPlayers::UpdateNumberCell(const CPlayerDatabase* pPlayer)
{
    CXListBox* pList = GetList();
    const int nRow = RowOf(pPlayer);
    if (!pList || nRow < 0)
        return;
    char szNumber[8];
    if (!m_bSquadNumbersUsed || pPlayer->m_bySquadNumber == 0)
        std::snprintf(szNumber, sizeof szNumber, "- ");
    else
        std::snprintf(szNumber, sizeof szNumber, "%2d", pPlayer->m_bySquadNumber);
    pList->SetColumnText(nRow, 0, szNumber);
    pList->RedrawRow(nRow, true);
}

bool CClientClubPlayers::DropNumber(int nNumber, CPlayerDatabase* pPlayer)
{
    if (!IsNumberGridUsable() || nNumber < 1 || nNumber > kNumberCount || !pPlayer || pPlayer->m_pClub != m_pClub ||
        RowOf(pPlayer) < 0)
        return false;
    ITEMSQUADNUMBERCHANGE change;
    change.pPlayer = pPlayer;
    change.pPreviousHolder = m_apHolders[static_cast<size_t>(nNumber - 1)];
    change.nTargetLabel = nNumber - 1;
    change.byNewNumber = static_cast<uint8_t>(nNumber);
    change.byOldNumber = pPlayer->m_bySquadNumber;
    change.nOldLabel = change.byOldNumber >= 1 && change.byOldNumber <= kNumberCount ? change.byOldNumber - 1 : -1;
    ApplyNumberChange(change);
    return true;
}

void CClientClubPlayers::ApplyNumberChange(const ITEMSQUADNUMBERCHANGE& change)
{
    if (!change.pPlayer || change.nTargetLabel < 0 || change.nTargetLabel >= kNumberCount)
        return;
    if (change.pPreviousHolder) {
        change.pPreviousHolder->m_bySquadNumber = change.byOldNumber;
        UpdateNumberCell(change.pPreviousHolder);
    }
    change.pPlayer->m_bySquadNumber = change.byNewNumber;
    UpdateNumberCell(change.pPlayer);
    if (change.nOldLabel >= 0 && change.nOldLabel < kNumberCount)
        m_apHolders[static_cast<size_t>(change.nOldLabel)] =
            change.byOldNumber != 0 && change.pPreviousHolder ? change.pPreviousHolder : nullptr;
    m_apHolders[static_cast<size_t>(change.nTargetLabel)] = change.pPlayer;
    DrawNumberGrid();
}

void CClientClubPlayers::ApplyAutomaticNumbers()
{
    if (m_pClub && m_bSquadNumbersUsed)
        m_pClub->GiveFreeSquadNumbers();
    Refresh();
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_AUTOMATIC_NUMBERS))) {
        pButton->Enable(false);
        pButton->Show(false, true);
    }
    if (CSaveGame* pHuman = Human())
        pHuman->GetNotices().ClearResolvedNotices();
}

void CClientClubPlayers::OnControlLButtonDown(uint32_t dwID, int x, int y)
{
    const int nIndex = LabelIndex(dwID);
    const CXControl* pLabel = nIndex >= 0 ? FindControl(dwID) : nullptr;
    if (!pLabel || !IsNumberGridUsable())
        return;
    m_bDragging = true;
    m_nDragNumber = nIndex + 1;
    m_nDragOffsetX = x - pLabel->m_nLeft;
    m_nDragOffsetY = y - pLabel->m_nTop;
    BeginMouseHold();
}

void CClientClubPlayers::OnPaint()
{
    CGameClient::OnPaint();
    if (m_bDragging && IsNumberGridUsable()) {
        // The pointer in this screen's own coordinates.
        DrawDraggedNumber(g_nMouseX - m_nLeft - m_nDragOffsetX, g_nMouseY - m_nTop - m_nDragOffsetY);
    }
}

void CClientClubPlayers::DrawDraggedNumber(int x, int y)
{
    CXSurface* pScreen = GetScreenSurface();
    if (!pScreen || !pScreen->m_pSurface || !m_pDragImage || !m_pDragImage->m_pSurface)
        return;
    m_pDragImage->Fill(kMagenta);
    plat::DeviceContext* pDC = m_pDragImage->m_pSurface->getDC();
    DrawFilledRect(pDC, 0, 0, 23, 15, kDragTile);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hSmallFont);
    pDC->setTextColor(kWhite);
    char szNumber[8];
    std::snprintf(szNumber, sizeof szNumber, "%d", m_nDragNumber);
    plat::Rect rc{0, 0, 24, 16};
    pDC->drawText(szNumber, -1, &rc, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    m_pDragImage->m_pSurface->releaseDC(pDC);
    const int nLeft = x + m_nLeft, nTop = y + m_nTop;
    const int nWidth = std::min(24, pScreen->m_nWidth - nLeft);
    const int nHeight = std::min(16, pScreen->m_nHeight - nTop);
    if (nLeft < 0 || nTop < 0 || nWidth <= 0 || nHeight <= 0)
        return;
    const plat::Rect piece{0, 0, nWidth, nHeight};
    pScreen->m_pSurface->bltFast(nLeft, nTop, *m_pDragImage->m_pSurface, &piece, plat::BLTFAST_SRCCOLORKEY);
}

void CClientClubPlayers::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonUp(flags, x, y);
    if (!m_bDragging)
        return;
    m_bDragging = false;
    EndMouseHold();
    CXListBox* pList = GetList();
    if (!pList)
        return;
    int nRow = -1;
    if (x >= pList->m_nLeft && x < pList->m_nLeft + pList->Width() && y >= pList->m_nTop &&
        y < pList->m_nTop + pList->Height()) {
        int nColumn = -1;
        if (!pList->HitTestRow(x, y, &nRow, &nColumn)) {
            DebugLog(0, "[CClientClubPlayers::OnLButtonUp] Invalid list box position!");
            return;
        }
        CDatabaseHandler* pDatabase = Database();
        CPlayerDatabase* pPlayer = nRow >= 0 && nRow < pList->GetCount() && pDatabase
                                       ? pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(pList->GetItemData(nRow)))
                                       : nullptr;
        if (!pPlayer || !DropNumber(m_nDragNumber, pPlayer))
            nRow = -1;
    } else {
        nRow = RowOf(GetNumberHolder(m_nDragNumber));
    }
    if (nRow >= 0) {
        SetFocus(pList);
        pList->SetSelection(nRow);
        pList->Redraw();
    }
}

void CClientClubPlayers::OnGetToolTipText(uint32_t dwID, char* pszText)
{
    const int nIndex = LabelIndex(dwID);
    if (nIndex < 0 || !IsNumberGridUsable()) {
        CGameClient::OnGetToolTipText(dwID, pszText);
        return;
    }
    const CPlayerDatabase* pHolder = m_apHolders[static_cast<size_t>(nIndex)];
    std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", pHolder ? pHolder->GetShortName() : "");
}

// ---- buttons ----

void CClientClubPlayers::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    if (dwID == ID_FILTER)
        GetListFilterPopup().ShowBesideControl(m_nMode < MODE_YOUTH_OVERVIEW ? kSquadFilterTextSet : kYouthFilterTextSet,
                                               FindControl(ID_FILTER), GetFilterMask());
    else if (dwID == ID_AUTOMATIC_NUMBERS && IsNumberGridUsable())
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, kAutomaticNumbersMessage);
}

void CClientClubPlayers::OnEndMessageBoxPopup()
{
    CGameClient::OnEndMessageBoxPopup();
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox || pBox->GetTextItem() != kAutomaticNumbersMessage || pBox->m_dwResultID != 884)
        return;
    if (CSaveGame* pHuman = Human())
        pHuman->SetAutomaticSquadNumbers(true);
    ApplyAutomaticNumbers();
}

void CClientClubPlayers::OnDoubleClicked(uint32_t dwID)
{
    const CXListBox* pList = GetList();
    const int nRow = pList ? pList->GetSelection() : -1;
    if (dwID != ID_LIST || nRow < 0)
        return;
    if (m_nMode >= MODE_YOUTH_OVERVIEW) {
        ShowYouthDetails(static_cast<uint32_t>(pList->GetItemData(nRow)));
        return;
    }
    if (!OpenPlayerMatches(*pList, m_dwSquadFilter))
        ShowPlayerDetails(static_cast<uint32_t>(pList->GetItemData(nRow)));
}

void CClientClubPlayers::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup == &GetListFilterPopup()) {
        SetFilterMask(GetListFilterPopup().GetMask());
        return;
    }
    // A youth promoted or released leaves the youth list; a promoted one joins the squad.
    if (pPopup != &GetPlayerDetailsPopup() && pPopup != &GetYouthDetailsPopup())
        return;
    CXListBox* pList = GetList();
    const int nRow = pList ? pList->GetSelection() : -1;
    const uint32_t dwShown = nRow >= 0 ? static_cast<uint32_t>(pList->GetItemData(nRow)) : 0;
    Refresh();
    if (pList && dwShown && pList->FindItemData(dwShown) >= 0)
        pList->SetSelection(pList->FindItemData(dwShown));
}

void CClientClubPlayers::OnPrint() { PrintControl(ID_LIST); }

void CClientClubPlayers::UpdateBars()
{
    CGameClient::UpdateBars();
    ApplyRatingsOption();
}

void CClientClubPlayers::ApplyRatingsOption() { ::ApplyRatingsOption(GetList()); }

bool CClientClubPlayers::OpenPlayerMatches(const CXListBox& list, uint32_t dwMask)
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pDatabase || list.GetSelection() < 0 || !list.GetColumns() || list.m_nClickedColumn < 0 ||
        list.m_nClickedColumn >= list.GetColumnCount())
        return false;
    using Popup = CPopupGeneralMatchDetails;
    int nType = -1;
    switch (list.GetColumns()[list.m_nClickedColumn].wHeaderID) {
    case 970: nType = Popup::TYPE_PLAYER_APPEARANCES; break;
    case 971: nType = Popup::TYPE_PLAYER_GOALS; break;
    case 974: nType = Popup::TYPE_PLAYER_BOOKINGS; break;
    case 977: nType = Popup::TYPE_PLAYER_SENDINGS_OFF; break;
    case 293: nType = Popup::TYPE_PLAYER_AWARDS; break;
    default: return false;
    }
    const auto idPlayer = static_cast<ID_PLAYER>(list.GetItemData(list.GetSelection()));
    const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(idPlayer);
    // A figure without matches behind it (or a player without a club) opens nothing.
    if (!pPlayer || !pPlayer->m_pClub)
        return true;
    Popup& popup = GetGeneralMatchDetailsPopup();
    popup.SetPerson(idPlayer);
    popup.SetClub(pPlayer->m_pClub->m_wClubId);
    popup.SetReferenceDate(pDatabase->GetGameDate());
    popup.Show(nType, dwMask & 0xFF, Popup::kRunningSeason);
    return true;
}
