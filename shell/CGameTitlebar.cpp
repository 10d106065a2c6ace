#include "shell/CGameTitlebar.h"

#include "shell/CGame.h"
#include "shell/FormattingFunctions.h"
#include "shell/KitClash.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "common/ShellServices.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CManagerDatabase.h"
#include "season/CSaveGame.h"
#include "shell/CTableText.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>

CGameTitlebar* g_pTitlebar = nullptr;

namespace {

constexpr COLORREF kLabelColour = 0xADFDFF;

enum : uint32_t {
    LABEL_HEADLINE = 939,
    LABEL_HOME_CLUB = 1145,
    LABEL_AWAY_CLUB = 1146,
    LABEL_HOME_MANAGER = 1147,
    LABEL_AWAY_MANAGER = 1148,
    LABEL_BANK = 1101,
    LABEL_DATE = 1149,
    LABEL_WEATHER = 1083,
    LABEL_NEXT_MATCH_DATE = 1150,
    LABEL_MATCH_HOME = 1154,
    LABEL_MATCH_AWAY = 1155,
    LABEL_TEXT_LINE = 1153,
    LABEL_SECOND_LINE = 1156,
};

struct LabelLayout {
    uint32_t dwID;
    int x, y, nWidth, nHeight;
    bool bLarge;
    uint8_t byAlignment;
};

const LabelLayout kLabels[CGameTitlebar::kLabelCount] = {
    {LABEL_HEADLINE, 210, 14, 184, 16, false, 6},        {LABEL_HOME_CLUB, 70, 6, 160, 16, false, 2},
    {LABEL_AWAY_CLUB, 372, 6, 160, 16, false, 0},        {LABEL_HOME_MANAGER, 70, 24, 160, 16, false, 2},
    {LABEL_AWAY_MANAGER, 372, 24, 160, 16, false, 0},    {LABEL_BANK, 0, 4, 72, 16, false, 2},
    {LABEL_DATE, 576, 4, 58, 16, false, 2},              {LABEL_WEATHER, 533, 4, 48, 16, false, 0},
    {LABEL_NEXT_MATCH_DATE, 259, 26, 84, 16, false, 6},  {LABEL_MATCH_HOME, 70, 4, 160, 18, true, 2},
    {LABEL_MATCH_AWAY, 372, 4, 160, 18, true, 0},        {LABEL_TEXT_LINE, 259, 6, 84, 16, false, 6},
    {LABEL_SECOND_LINE, 259, 26, 84, 16, false, 6},
};

const uint32_t kModeOne[] = {LABEL_HEADLINE, 0};
const uint32_t kJobless[] = {LABEL_HEADLINE, LABEL_DATE, LABEL_WEATHER, 0};
const uint32_t kFixture[] = {LABEL_HOME_CLUB, LABEL_HOME_MANAGER, LABEL_AWAY_CLUB, LABEL_AWAY_MANAGER, LABEL_DATE,
                             LABEL_NEXT_MATCH_DATE, LABEL_BANK, LABEL_WEATHER, 0};
const uint32_t kClubOnly[] = {LABEL_HEADLINE, LABEL_DATE, LABEL_BANK, LABEL_WEATHER, 0};
const uint32_t kMatch[] = {LABEL_MATCH_HOME, LABEL_MATCH_AWAY, LABEL_TEXT_LINE, LABEL_SECOND_LINE, LABEL_DATE,
                           LABEL_WEATHER, LABEL_HOME_MANAGER, LABEL_AWAY_MANAGER, 0};

struct BlockSpec {
    const char* pszBitmap;
    int x, y;
};
const BlockSpec kBlocks[] = {
    {"blkDate.bmp", 532, 5}, {"blkBank.bmp", 0, 5}, {"blkBank.bmp", 0, 27},
    {"blkTeams.bmp", 77, 6}, {"blkMang.bmp", 77, 6},
};

// The kit strip and its shading mask, while the bar lives.
CXSurface* s_pKitStrip = nullptr;
CXSurface* s_pKitMask = nullptr;
constexpr int kKitCell = 24;

// Kit colour indices as the world's clubs carry them (their attribute bytes
// 0 and 1 at home, 2 and 3 away): red, white, blue, sky, navy, yellow, green,
// black, orange, claret, amber, maroon, purple, grey.
constexpr COLORREF kKitColours[] = {0x0000FF, 0xFFFFFF, 0xC04000, 0xFFB060, 0x600000, 0x00FFFF, 0x00A000,
                                    0x000000, 0x0080FF, 0x300080, 0x00B0FF, 0x000080, 0x800080, 0x909090};

// The selectors by id (1 to 27): control id, width, the bottom of the
// opened list and the scroll bar (0 none, else 1 to 3). The date box is wide
// enough for a whole date in the small font.
struct SelectorLayout {
    uint32_t dwID;
    int nWidth;
    int nListBottom;
    int nScrollBar;
};
// The competition selector (19) holds the longest cup name in the game's
// smallest face.
constexpr SelectorLayout kSelectors[CGameTitlebar::SELECTOR_LAST + 1] = {
    {0, 0, 0, 0},          {1138, 110, 228, 0}, {1139, 110, 228, 0}, {1140, 110, 228, 0}, {1142, 70, 388, 1},
    {1143, 62, 388, 1},    {1141, 90, 228, 2},  {795, 90, 228, 0},   {789, 90, 228, 0},   {790, 90, 228, 3},
    {791, 90, 228, 0},     {792, 90, 228, 0},   {793, 90, 228, 0},   {794, 90, 228, 0},   {1144, 110, 228, 0},
    {797, 110, 228, 0},    {798, 110, 228, 0},  {796, 110, 228, 0},  {799, 110, 228, 0},  {800, 140, 228, 0},
    {801, 110, 228, 0},    {802, 90, 228, 0},   {803, 110, 228, 0},  {804, 110, 228, 0},  {805, 110, 228, 0},
    {806, 70, 388, 0},     {807, 90, 228, 0},   {808, 90, 228, 0},
};
constexpr uint32_t kSelectorScrollBars[3] = {901, 902, 903};
constexpr int kSelectorX = 348;
constexpr int kSelectorY = 68;
constexpr int kSelectorRightEdge = 512;
constexpr int kSelectorGap = 24;
constexpr int kSelectorLabelRise = 18;
constexpr int kSelectorLabelSet = 89;
constexpr int kSelectorTextSet = 10;
constexpr int kWordsSet = 114;
constexpr int kAllWord = 15;
constexpr int kCountryNameSet = 92;
constexpr COLORREF kSelectorRowColour = 0xFFFFFF;
constexpr COLORREF kSelectorTodayColour = plat::RGB(255, 204, 0);

// One column as wide as its box, for each box width in use; the tables live
// as long as the lists.
const LISTCOLUMN* ColumnsForWidth(int nWidth)
{
    static const LISTCOLUMN k62[] = {{0, 62, 6, 0, 0, 0, 0, LISTSORT_NONE, 1}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0}};
    static const LISTCOLUMN k70[] = {{0, 70, 6, 0, 0, 0, 0, LISTSORT_NONE, 1}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0}};
    static const LISTCOLUMN k90[] = {{0, 90, 6, 0, 0, 0, 0, LISTSORT_NONE, 1}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0}};
    static const LISTCOLUMN k110[] = {{0, 110, 6, 0, 0, 0, 0, LISTSORT_NONE, 1}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0}};
    static const LISTCOLUMN k140[] = {{0, 140, 6, 0, 0, 0, 0, LISTSORT_NONE, 1}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0}};
    switch (nWidth) {
    case 62:
        return k62;
    case 70:
        return k70;
    case 90:
        return k90;
    case 140:
        return k140;
    default:
        return k110;
    }
}

// A division's row data: its id one up, so that no division reads as "all".
uint32_t DivisionData(const CDivisionDatabase* pDivision) { return pDivision ? pDivision->m_byDivisionId + 1u : 0; }

// Empties a selector for filling (null stays null); AfterFill shows what it
// holds.
CXComboBox* BeforeFill(CXComboBox* pBox)
{
    if (pBox) {
        pBox->SetAutoRedraw(false);
        pBox->ResetContent();
    }
    return pBox;
}
void AddAllRow(CXComboBox* pBox)
{
    const char* pszAll = GetTableText(kWordsSet, kAllWord);
    pBox->SetItemData(pBox->AddString(kSelectorRowColour, "%s", pszAll ? pszAll : ""), CGameTitlebar::kAllRowData);
}
void AfterFill(CXComboBox* pBox)
{
    pBox->SetAutoRedraw(true);
    pBox->UpdateScrollBar();
    if (pBox->GetCount() > 0)
        pBox->SetSelection(0);
    pBox->Redraw();
}

CDatabaseHandler* Database()
{
    const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    return pDatabase && pDatabase->IsDatabaseLoaded() ? pDatabase : nullptr;
}

const char* ManagerShortName(const CClubDatabase* pClub)
{
    const CManagerDatabase* pManager = pClub ? pClub->GetManager() : nullptr;
    return pManager ? pManager->GetShortName() : "";
}

}  // namespace

CGameTitlebar::CGameTitlebar()
{
    m_wScreenID = SCREEN_TITLEBAR;
    SetClientRect(160, 0, 640, 85);
}

CGameTitlebar::~CGameTitlebar()
{
    m_WeatherIcons.clear();
    delete m_pWeatherStrip;
    if (g_pTitlebar == this)
        g_pTitlebar = nullptr;
}

void CGameTitlebar::ConstructScreen()
{
    delete m_pBackground;
    m_pBackground = LoadMainArchiveBitmap("Toolbar1.bmp", false);
}

bool CGameTitlebar::OnInitDialog()
{
    m_nMode = -1;
    ConstructScreen();
    CXClient::OnInitDialog();
    delete s_pKitStrip;
    delete s_pKitMask;
    s_pKitStrip = LoadMainArchiveBitmap("Shirts.bmp", true);
    s_pKitMask = LoadMainArchiveBitmap("mskShrt.bmp", true);
    m_WeatherIcons.clear();
    delete m_pWeatherStrip;
    m_pWeatherStrip = LoadMainArchiveBitmap("icnWethr.bmp", true);
    if (m_pWeatherStrip)
        for (int nRow : {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13}) {
            auto pIcon = std::make_unique<CXAnimation>();
            pIcon->Setup(m_pWeatherStrip, 24, 16, 0, 16 * nRow, 1, 1);
            m_WeatherIcons.push_back(std::move(pIcon));
        }
    for (const LabelLayout& label : kLabels) {
        auto* pLabel = static_cast<CXStatic*>(
            AddControlXYWH(XCONTROL_STATIC, label.x, label.y, label.nWidth, label.nHeight, label.dwID, nullptr));
        if (!pLabel)
            continue;
        pLabel->m_hFont = label.bLarge ? g_hLargeFont : g_hSmallFont;
        pLabel->m_byAlignment = label.byAlignment;
        pLabel->m_bFrame = 0;
        pLabel->m_bShadow = 1;
        pLabel->m_bClearBackground = label.dwID == LABEL_HEADLINE ? 0 : 1;
        pLabel->m_crText = kLabelColour;
    }
    CXScrollBar* apBars[3] = {};
    for (int i = 0; i < 3; ++i) {
        apBars[i] = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 30, kSelectorScrollBars[i], nullptr));
        if (apBars[i])
            apBars[i]->Create(885 + 2 * static_cast<uint32_t>(i), 886 + 2 * static_cast<uint32_t>(i), 16, false, 0);
    }
    for (int nSelector = 1; nSelector <= SELECTOR_LAST; ++nSelector) {
        const SelectorLayout& layout = kSelectors[nSelector];
        const int nRight = kSelectorX + layout.nWidth;
        auto* pBox = static_cast<CXComboBox*>(
            AddControl(XCONTROL_COMBOBOX, kSelectorX, kSelectorY, nRight, layout.nListBottom, layout.dwID, nullptr));
        m_apSelectors[nSelector] = pBox;
        if (!pBox)
            continue;
        pBox->SetUp(16, 6, g_hSmallFont, 3, true, layout.nScrollBar ? apBars[layout.nScrollBar - 1] : nullptr, false,
                    nullptr, false, 2, false, false, true);
        pBox->SetUpColumns(kSelectorX, kSelectorY, nRight, layout.nListBottom, ColumnsForWidth(layout.nWidth), false,
                           false, 16, false);
        pBox->m_crCellFill = 0x70564C;
        pBox->m_crCellLight = 0xE7BFB3;
        pBox->m_crCellDark = 0x533830;
        pBox->SetAutoRedraw(true);
    }
    FillTextSelector();
    ShowAllControls(false);
    return true;
}

CXComboBox* CGameTitlebar::GetSelector(int nSelector) const
{
    return nSelector >= 1 && nSelector <= SELECTOR_LAST ? m_apSelectors[nSelector] : nullptr;
}

uint32_t CGameTitlebar::GetSelectorControlID(int nSelector)
{
    return nSelector >= 1 && nSelector <= SELECTOR_LAST ? kSelectors[nSelector].dwID : 0;
}

bool CGameTitlebar::IsSelectorShown(int nSelector) const
{
    const CXComboBox* pBox = GetSelector(nSelector);
    return pBox && pBox->m_bVisible;
}

void CGameTitlebar::SetSelectors(std::initializer_list<int> selectors)
{
    for (CXComboBox* pBox : m_apSelectors)
        if (pBox)
            pBox->Show(false, true);
    // The label strips of the earlier screen's selectors go too.
    const int nStripTop = kSelectorY - kSelectorLabelRise;
    RestoreBackground(0, nStripTop, Width(), Height() - nStripTop);
    // Right to left: the last listed stands rightmost.
    int x = kSelectorRightEdge;
    for (auto it = std::rbegin(selectors); it != std::rend(selectors); ++it) {
        CXComboBox* pBox = GetSelector(*it);
        if (!pBox) {
            DebugLog(0, "[CGameTitlebar::SetSelectors] Unknown SELECTOR_? !");
            continue;
        }
        x -= pBox->Width();
        pBox->Move(x, pBox->m_nTop, pBox->Width(), pBox->Height(), false);
        const char* pszLabel = GetTableText(kSelectorLabelSet, *it);
        DrawSelectorLabel(pBox, pszLabel ? pszLabel : "");
        x -= kSelectorGap;
        pBox->Show(true, true);
    }
    if (IsSelectorShown(SELECTOR_COUNTRY))
        FillCountrySelector(m_bCountryAddAll);
    if (IsSelectorShown(SELECTOR_DIVISION))
        FillDivisionSelector(m_bDivisionAddAll);
    if (IsSelectorShown(SELECTOR_CLUB))
        FillClubSelector();
}

void CGameTitlebar::DrawSelectorLabel(const CXComboBox* pBox, const char* pszText)
{
    CXSurface* pFrame = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnSort.bmp") : nullptr;
    if (!m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    const int nLeft = pBox->m_nLeft, nTop = pBox->m_nTop - kSelectorLabelRise;
    if (pFrame && pFrame->m_pSurface)
        DrawHeaderCell(*m_pDrawingSurface->m_pSurface, nLeft, nTop, pBox->Width(), *pFrame->m_pSurface, 0);
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    pDC->selectFont(g_hSmallFont);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->setTextColor(0xFFFFFF);
    pDC->textOut(nLeft + 5, nTop + 1, pszText);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
}

void CGameTitlebar::OnSelChange(uint32_t dwID)
{
    int nSelector = 0;
    for (int i = 1; i <= SELECTOR_LAST; ++i)
        if (kSelectors[i].dwID == dwID)
            nSelector = i;
    if (nSelector == 0)
        return;
    RefillAfter(nSelector);
    if (g_pCurrentClient)
        g_pCurrentClient->OnSelChange(dwID);
}

void CGameTitlebar::RefillAfter(int nSelector)
{
    if (nSelector == SELECTOR_COUNTRY && IsSelectorShown(SELECTOR_DIVISION))
        FillDivisionSelector(m_bDivisionAddAll);
    if (nSelector <= SELECTOR_DIVISION && IsSelectorShown(SELECTOR_CLUB))
        FillClubSelector();
    if (nSelector <= SELECTOR_CLUB) {
        if (IsSelectorShown(SELECTOR_MATCH_DAY))
            FillMatchDaySelector();
        if (IsSelectorShown(SELECTOR_DATE))
            FillDateSelector();
    }
}

void CGameTitlebar::SelectQuietly(int nSelector, uint32_t dwData)
{
    CXComboBox* pBox = GetSelector(nSelector);
    const int nRow = pBox ? pBox->FindItemData(dwData) : -1;
    if (nRow < 0)
        return;
    pBox->ShowSelection(nRow);
}

void CGameTitlebar::SetSelectorItems(const CClubDatabase* pClub)
{
    const CDivisionDatabase* pDivision = pClub ? pClub->m_pDivision : nullptr;
    if (!pDivision)
        return;
    SelectDivision(pDivision);
    if (IsSelectorShown(SELECTOR_CLUB)) {
        FillClubSelector();
        SelectQuietly(SELECTOR_CLUB, pClub->GetID());
    }
}

void CGameTitlebar::SelectDivision(const CDivisionDatabase* pDivision)
{
    if (!pDivision) {
        SelectQuietly(SELECTOR_DIVISION, kAllRowData);
        return;
    }
    if (pDivision->m_pCountry) {
        SelectQuietly(SELECTOR_COUNTRY, pDivision->m_pCountry->GetID());
        if (IsSelectorShown(SELECTOR_DIVISION))
            FillDivisionSelector(m_bDivisionAddAll);
    }
    SelectQuietly(SELECTOR_DIVISION, DivisionData(pDivision));
    if (IsSelectorShown(SELECTOR_MATCH_DAY))
        FillMatchDaySelector();
    if (IsSelectorShown(SELECTOR_DATE))
        FillDateSelector();
}

const CDivisionDatabase* CGameTitlebar::GetSelectedDivision() const
{
    const CXComboBox* pBox = GetSelector(SELECTOR_DIVISION);
    const CDatabaseHandler* pDatabase = Database();
    const int64_t nData = pBox && pDatabase ? pBox->GetItemData(pBox->GetSelection()) : 0;
    return nData > 0 ? pDatabase->GetDivisionFromID(static_cast<uint8_t>(nData - 1)) : nullptr;
}

const CClubDatabase* CGameTitlebar::GetSelectedClub() const
{
    const CXComboBox* pBox = GetSelector(SELECTOR_CLUB);
    const CDatabaseHandler* pDatabase = Database();
    const int64_t nData = pBox && pDatabase ? pBox->GetItemData(pBox->GetSelection()) : 0;
    return nData > 0 ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(nData)) : nullptr;
}

void CGameTitlebar::FillCountrySelector(bool bAddAll)
{
    const CDatabaseHandler* pDatabase = Database();
    CXComboBox* pBox = BeforeFill(GetSelector(SELECTOR_COUNTRY));
    if (!pBox)
        return;
    if (pDatabase)
        for (const CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>()) {
            // Only countries with a league to follow.
            if (pCountry->GetDivisions().IsEmpty())
                continue;
            const char* pszName = GetTableText(kCountryNameSet, pCountry->GetID());
            pBox->SetItemData(pBox->AddString(kSelectorRowColour, "%s", pszName ? pszName : pCountry->GetName()),
                              pCountry->GetID());
        }
    pBox->Sort(0, true, LISTSORT_TEXT, 0);
    if (bAddAll)
        AddAllRow(pBox);
    AfterFill(pBox);
}

void CGameTitlebar::FillDivisionSelector(bool bAddAll)
{
    const CXComboBox* pCountries = GetSelector(SELECTOR_COUNTRY);
    const CDatabaseHandler* pDatabase = Database();
    CXComboBox* pBox = BeforeFill(GetSelector(SELECTOR_DIVISION));
    if (!pBox)
        return;
    const int64_t nCountry = pCountries ? pCountries->GetItemData(pCountries->GetSelection()) : 0;
    const CCountryDatabase* pCountry =
        pDatabase && nCountry > 0 ? pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(nCountry)) : nullptr;
    if (pCountry)
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            pBox->SetItemData(pBox->AddString(kSelectorRowColour, "%s", pDivision->GetName()), DivisionData(pDivision));
    if (bAddAll)
        AddAllRow(pBox);
    AfterFill(pBox);
}

void CGameTitlebar::FillClubSelector()
{
    CXComboBox* pBox = BeforeFill(GetSelector(SELECTOR_CLUB));
    if (!pBox)
        return;
    bool bBoxFace = false;
    if (const CDivisionDatabase* pDivision = GetSelectedDivision())
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
            // The short name only where the full one would be cut.
            const char* pszName = pClub->GetName();
            if (!pBox->FitsClosed(pszName) && *pClub->GetShortName())
                pszName = pClub->GetShortName();
            bBoxFace = bBoxFace || !pBox->FitsOpened(pszName);
            pBox->SetItemData(pBox->AddString(kSelectorRowColour, "%s", pszName), pClub->GetID());
        }
    // A name too wide for the opened list's bolder face puts every row in the
    // box's own face, so that the list reads evenly.
    for (int i = 0; bBoxFace && i < pBox->GetCount(); ++i)
        pBox->SetRowFont(i, pBox->m_hFont);
    pBox->Sort(0, true, LISTSORT_TEXT, 0);
    AfterFill(pBox);
}

std::vector<uint32_t> CGameTitlebar::SelectedDivisionDates() const
{
    std::vector<uint32_t> dates;
    if (const CDivisionDatabase* pDivision = GetSelectedDivision())
        for (const CDivisionFixturesDatabase* pFixture : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            dates.push_back(pFixture->GetDate().GetValue());
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates;
}

void CGameTitlebar::FillMatchDaySelector()
{
    CXComboBox* pBox = BeforeFill(GetSelector(SELECTOR_MATCH_DAY));
    if (!pBox)
        return;
    const CDatabaseHandler* pDatabase = Database();
    const uint32_t dwToday = pDatabase ? pDatabase->GetGameDate().GetValue() : 0;
    // Today's match day stands out in the accent colour: a club's kit colour
    // (navy, black, claret) would be unreadable on the selector.
    for (uint32_t dwDate : SelectedDivisionDates())
        pBox->SetItemData(
            pBox->AddString(dwDate == dwToday ? kSelectorTodayColour : kSelectorRowColour, "%s", FormatPackedDate(dwDate)),
            dwDate);
    AfterFill(pBox);
}

void CGameTitlebar::FillDateSelector()
{
    CXComboBox* pBox = BeforeFill(GetSelector(SELECTOR_DATE));
    if (!pBox)
        return;
    const CDatabaseHandler* pDatabase = Database();
    const uint32_t dwToday = pDatabase ? pDatabase->GetGameDate().GetValue() : 0;
    for (uint32_t dwDate : SelectedDivisionDates()) {
        const int nRow = pBox->AddString(kSelectorRowColour, "%s", FormatPackedDate(dwDate));
        pBox->SetItemData(nRow, dwDate);
        if (nRow > 0 && dwDate >= dwToday)
            pBox->EnableRow(nRow, false);
    }
    AfterFill(pBox);
}

void CGameTitlebar::FillTextSelector()
{
    CXComboBox* pBox = BeforeFill(GetSelector(SELECTOR_TEXT));
    if (!pBox)
        return;
    int nCount = 0;
    const char* const* ppszTexts = GetTableTextSet(kSelectorTextSet, &nCount);
    for (int i = 0; ppszTexts && i < nCount && ppszTexts[i]; ++i)
        pBox->SetItemData(pBox->AddString(kSelectorRowColour, "%s", ppszTexts[i]), static_cast<uint32_t>(i));
    AfterFill(pBox);
}

void CGameTitlebar::OnDestroy()
{
    CXClient::OnDestroy();
    std::fill(std::begin(m_apSelectors), std::end(m_apSelectors), nullptr);
    delete s_pKitStrip;
    delete s_pKitMask;
    s_pKitStrip = s_pKitMask = nullptr;
    m_WeatherIcons.clear();
    delete m_pWeatherStrip;
    m_pWeatherStrip = nullptr;
}

COLORREF CGameTitlebar::GetKitColour(int nIndex)
{
    return nIndex >= 0 && nIndex < static_cast<int>(std::size(kKitColours)) ? kKitColours[nIndex] : 0xFFFFFF;
}

void CGameTitlebar::DrawIcon(CXSurface* pTarget, int nCell, int x, int y, COLORREF crFirst, COLORREF crSecond,
                             bool bKeyed)
{
    DrawKitPicture(pTarget, s_pKitStrip, s_pKitMask, nCell, kKitCell, kKitCell, x, y, crFirst, crSecond, bKeyed);
}

void CGameTitlebar::DrawKits(const CClubDatabase* pHome, const CClubDatabase* pAway)
{
    // The home side in its home kit; the away side changes when the kits clash.
    if (pHome)
        DrawIcon(m_pDrawingSurface, 0, 230, 12, GetKitColour(pHome->m_abyAttributes[0]),
                 GetKitColour(pHome->m_abyAttributes[1]), true);
    if (pAway) {
        const int nFirstByte = ShouldWearAwayKit(pHome, pAway) ? 2 : 0;
        DrawIcon(m_pDrawingSurface, 0, 348, 12, GetKitColour(pAway->m_abyAttributes[nFirstByte]),
                 GetKitColour(pAway->m_abyAttributes[nFirstByte + 1]), true);
    }
}

void CGameTitlebar::OnPaint() { CXClient::OnPaint(); }

CXStatic* CGameTitlebar::GetLabel(uint32_t dwID) const { return static_cast<CXStatic*>(FindControl(dwID)); }

void CGameTitlebar::ShowLabels(const uint32_t* pIDs) { EnableBatch(pIDs, true); }

void CGameTitlebar::SetMode(int nMode)
{
    ShowAllControls(false);
    if (nMode != m_nMode) {
        m_nMode = nMode;
        const char* pszBitmap = nMode == 0 ? "Toolbar0.bmp" : nMode == 7 ? "Toolbar2.bmp" : "Toolbar1.bmp";
        if (CXSurface* pBackground = LoadMainArchiveBitmap(pszBitmap, false)) {
            delete m_pBackground;
            m_pBackground = pBackground;
        }
    }
    RestoreBackground(0, 0, Width(), Height());
    const CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    switch (nMode) {
    case 1:
        ShowLabels(kModeOne);
        break;
    case 2:
        if (!pClub)
            ShowLabels(kJobless);
        else if (pDatabase->GetNextFixture(pClub, nullptr, nullptr, nullptr) >= 0)
            ShowLabels(kFixture);
        else
            ShowLabels(kClubOnly);
        break;
    case 3:
    case 4:
    case 6:
        ShowLabels(kMatch);
        break;
    default:
        break;
    }
    Update();
}

void CGameTitlebar::SetBlock(int nKind)
{
    if (nKind < 0 || nKind >= static_cast<int>(std::size(kBlocks)) || !m_pDrawingSurface)
        return;
    const BlockSpec& block = kBlocks[nKind];
    if (CXSurface* pBlock = LoadMainArchiveBitmap(block.pszBitmap, false)) {
        CXSurface::Blit(m_pDrawingSurface, pBlock, block.x, block.y);
        delete pBlock;
    }
}

void CGameTitlebar::Update()
{
    const CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (!pHuman || m_nMode < 1 || m_nMode > 6)
        return;
    const CClubDatabase* pClub = pHuman->GetClub();
    switch (m_nMode) {
    case 1:
        DrawManagerLabel();
        break;
    case 2:
        if (!pClub) {
            SetBlock(1);
            SetBlock(2);
            DrawManagerLabel();
        } else {
            if (pDatabase->GetNextFixture(pClub, nullptr, nullptr, nullptr) >= 0) {
                DrawFixtureBlock();
                DrawNextMatchDate();
            } else {
                DrawManagerLabel();
            }
            DrawBank();
        }
        DrawWeather();
        DrawDate();
        break;
    case 5:
        for (int nKind = 0; nKind <= 3; ++nKind)
            SetBlock(nKind);
        break;
    default:
        // The match modes show the score while a match runs.
        DrawMatchTeams();
        DrawWeather();
        DrawDate();
        break;
    }
}

void CGameTitlebar::DrawManagerLabel()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CManagerDatabase* pManager = pHuman ? pDatabase->GetManagerFromID(pHuman->GetManagerID()) : nullptr;
    CXStatic* pLabel = GetLabel(LABEL_HEADLINE);
    if (!pManager || !pLabel)
        return;
    SetBlock(4);
    pLabel->m_hFont = g_hSmallBoldFont;
    pLabel->m_crText = pHuman->GetColourForClub();
    pLabel->SetText("%s", pManager->GetShortName());
}

void CGameTitlebar::DrawFixtureBlock()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    uint8_t byHome = 0;
    const int nOpponent = pDatabase ? pDatabase->GetNextFixture(pClub, &byHome, nullptr, nullptr) : -1;
    const CClubDatabase* pOpponent = nOpponent >= 0 ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(nOpponent)) : nullptr;
    SetBlock(3);
    if (!pOpponent)
        return;
    const CClubDatabase* pHomeClub = byHome ? pClub : pOpponent;
    const CClubDatabase* pAwayClub = byHome ? pOpponent : pClub;
    DrawKits(pHomeClub, pAwayClub);
    struct Side {
        uint32_t dwClub, dwManager;
        const CClubDatabase* pSideClub;
    };
    for (const Side& side : {Side{LABEL_HOME_CLUB, LABEL_HOME_MANAGER, pHomeClub},
                             Side{LABEL_AWAY_CLUB, LABEL_AWAY_MANAGER, pAwayClub}}) {
        if (CXStatic* pName = GetLabel(side.dwClub)) {
            pName->m_hFont = side.pSideClub == pClub ? g_hSmallBoldFont : g_hSmallFont;
            pName->SetText("%s", side.pSideClub->GetName());
        }
        if (CXStatic* pManager = GetLabel(side.dwManager))
            pManager->SetText("%s", ManagerShortName(side.pSideClub));
    }
}

void CGameTitlebar::SetMatch(uint16_t wHomeClub, uint16_t wAwayClub, const char* pszScore)
{
    m_wMatchHome = wHomeClub;
    m_wMatchAway = wAwayClub;
    m_sMatchScore = pszScore ? pszScore : "";
    if (m_nMode == 3 || m_nMode == 4 || m_nMode == 6)
        Update();
}

void CGameTitlebar::DrawMatchTeams()
{
    CDatabaseHandler* pDatabase = Database();
    const CClubDatabase* pHome = pDatabase && m_wMatchHome ? pDatabase->GetClubFromID(m_wMatchHome) : nullptr;
    const CClubDatabase* pAway = pDatabase && m_wMatchAway ? pDatabase->GetClubFromID(m_wMatchAway) : nullptr;
    const bool bMatch = pHome && pAway;
    if (bMatch)
        DrawKits(pHome, pAway);
    struct Side {
        uint32_t dwClub, dwManager;
        const CClubDatabase* pClub;
    };
    for (const Side& side :
         {Side{LABEL_MATCH_HOME, LABEL_HOME_MANAGER, pHome}, Side{LABEL_MATCH_AWAY, LABEL_AWAY_MANAGER, pAway}}) {
        if (CXStatic* pName = GetLabel(side.dwClub))
            pName->SetText("%s", bMatch ? side.pClub->GetShortName() : "");
        if (CXStatic* pManager = GetLabel(side.dwManager))
            pManager->SetText("%s", bMatch ? ManagerShortName(side.pClub) : "");
    }
    if (CXStatic* pScore = GetLabel(LABEL_TEXT_LINE))
        pScore->SetText("%s", bMatch ? m_sMatchScore.c_str() : "");
}

void CGameTitlebar::DrawNextMatchDate()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    CDate date;
    if (!pHuman || pDatabase->GetNextFixture(pHuman->GetClub(), nullptr, nullptr, &date) < 0)
        return;
    if (CXStatic* pLabel = GetLabel(LABEL_NEXT_MATCH_DATE))
        pLabel->SetText("%s", FormatPackedDate(date.GetValue()));
}

void CGameTitlebar::DrawBank()
{
    const CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    CXStatic* pLabel = GetLabel(LABEL_BANK);
    if (!pClub || !pLabel)
        return;
    pLabel->SetText("%s", FormatMoney(static_cast<double>(pClub->m_nBankBalance), 0, 1, 255, 0, 1));
}

void CGameTitlebar::DrawDate()
{
    const CDatabaseHandler* pDatabase = Database();
    CXStatic* pLabel = GetLabel(LABEL_DATE);
    if (!pDatabase || !pLabel)
        return;
    const CDate& today = pDatabase->GetGameDate();
    pLabel->SetText("%s", FormatDate(today.GetDay(), today.GetMonth(), today.GetYear()));
}

void CGameTitlebar::DrawWeather()
{
    const CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CCountryDatabase* pCountry = pHuman ? pHuman->GetCountry() : nullptr;
    CXStatic* pLabel = GetLabel(LABEL_WEATHER);
    if (!pCountry || !pLabel || m_WeatherIcons.size() != 12)
        return;
    const uint8_t byWeather = pCountry->GetWeather();
    // Bits 0-1 the sky, 2-4 the rain or snow, 5-6 the wind (0 none).
    const int nSky = std::min(byWeather & 3, 2);
    const int nRain = std::min((byWeather >> 2) & 7, 5);
    const int nWind = (byWeather >> 5) & 3;
    pLabel->RemoveAllImages();
    pLabel->AddImage(m_WeatherIcons[static_cast<size_t>(nSky)].get(), 2, 1);
    pLabel->AddImage(m_WeatherIcons[static_cast<size_t>(3 + nRain)].get(), 11, 1);
    if (nWind)
        pLabel->AddImage(m_WeatherIcons[static_cast<size_t>(8 + nWind)].get(), 32, 1);
    pLabel->Draw();
}
