#include "screens/CClientGroundGeneral.h"

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
#include "database/MatchHistory.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kViewNameSet = 34;
constexpr int kPositionNameSet = 102;
constexpr int kFeatureNameSet = 103;
constexpr int kStandKindSet = 104;
constexpr int kSizeNameSet = 106;
constexpr int kFacilityNameSet = 108;
constexpr int kStateSet = 141;
constexpr int kCaptionSet = 201;
constexpr int kTotalsText[2] = {6, 7};
constexpr uint32_t kPrintButton = 1058;

enum { STATE_BUILT = 0, STATE_BUILDING = 1, STATE_PLANNED = 2, STATE_IMPROVING = 3, STATE_DEMOLISHING = 4 };

constexpr int kIconWidth = 44, kIconHeight = 27;
constexpr int kStandFrames = 20, kFacilityFrames = 17, kFeatureFrames = 5;
constexpr int kListLeft = 0, kListTop = 60, kListRight = 640, kListBottom = 424;
constexpr int kRowHeight = 28;
constexpr int kCaptionY = 22;
constexpr int kTotalsY = 428, kTotalsHeight = 18;
constexpr COLORREF kRowColour = 0xffffff;
constexpr COLORREF kTextColour = plat::RGB(242, 242, 234);
constexpr COLORREF kDefaultClubColour = 0x9d37;

const LISTCOLUMN kStandColumns[] = {
    {0, 230, 6, 0, 0, 0, 1015, LISTSORT_NONE, 0},   {230, 310, 6, 0, 0, 0, 1016, LISTSORT_NONE, 0},
    {310, 400, 6, 0, 2, 0, 302, LISTSORT_NONE, 0},  {400, 480, 6, 0, 2, 0, 532, LISTSORT_NONE, 0},
    {480, 550, 6, 0, 2, 0, 1019, LISTSORT_NONE, 0}, {550, 620, 6, 0, 2, 0, 1020, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kFacilityColumns[] = {
    {0, 230, 6, 0, 0, 0, 1015, LISTSORT_NONE, 0},  {230, 310, 6, 0, 0, 0, 1016, LISTSORT_NONE, 0},
    {310, 400, 6, 0, 2, 0, 302, LISTSORT_NONE, 0}, {400, 480, 6, 0, 2, 0, 532, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
// The totals under their columns, right-aligned to the column's text.
constexpr uint32_t kTotalIDs[4] = {CClientGroundGeneral::ID_TOTAL_VALUE, CClientGroundGeneral::ID_TOTAL_YEARLY,
                                   CClientGroundGeneral::ID_TOTAL_CAPACITY, CClientGroundGeneral::ID_TOTAL_FILLED};

// Stand frames by sub type x 3 + size class; facility frames by (sub type - 4) x 3 + size.
constexpr int kStandFrameOf[24] = {0, 1, 2, 3, 4, 5, 0, 6, 7, 0, 8, 9, 10, 11, 12, 13, 14, 15, 0, 16, 17, 0, 18, 19};
constexpr int kFacilityFrameOf[24] = {0, 1, 0, 7, 8, 9, 14, 15, 0, 0, 5, 6, 0, 12, 13, 2, 3, 4, 16, 16, 16, 0, 10, 11};
constexpr int kFeatureFrameOf[5] = {3, 4, 1, 2, 0};

std::string Money(int64_t nAmount)
{
    return FormatMoney(static_cast<double>(nAmount), 0, 0, MONEY_AS_STORED, 0, 1);
}

std::string Thousands(int64_t nValue)
{
    return FormatThousands(static_cast<int32_t>(std::clamp<int64_t>(nValue, INT32_MIN, INT32_MAX)));
}

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

}  // namespace

CClientGroundGeneral& GetGroundGeneralScreen()
{
    static CClientGroundGeneral s_Screen;
    return s_Screen;
}

CClientGroundGeneral::CClientGroundGeneral() { m_wScreenID = SCREEN_GROUND_GENERAL; }

CClientGroundGeneral::~CClientGroundGeneral() = default;

int CClientGroundGeneral::GetStandIconFrame(int nSubType, int nSize)
{
    if (nSubType < 0 || nSubType > 7 || nSize < 0)
        return -1;
    // Sizes 3-5 are the deeper builds of sizes 0-2, drawn alike.
    return kStandFrameOf[nSubType * 3 + nSize % 3];
}

int CClientGroundGeneral::GetFacilityIconFrame(int nSubType, int nSize)
{
    if (nSubType < 4 || nSubType > 11 || nSize < 0 || nSize > 2)
        return -1;
    return kFacilityFrameOf[(nSubType - 4) * 3 + nSize];
}

int CClientGroundGeneral::GetFeatureIconFrame(int nSubType)
{
    if (nSubType < 12 || nSubType > 16)
        return -1;
    return kFeatureFrameOf[nSubType - 12];
}

int CClientGroundGeneral::GetStandSeatsFilled(const CComponentDatabase& stand, const HOMEMATCHSTANDS* pMatch,
                                              int nHolders)
{
    const int nSide = stand.GetStandSide();
    if (pMatch && pMatch->bHasStands) {
        // The sections' crowds count the holders who came.
        int nFilled = 0;
        for (int nSection = 0; nSection < STAND_SECTIONS; ++nSection)
            nFilled += pMatch->awCrowd[nSide * STAND_SECTIONS + nSection];
        return nFilled;
    }
    const int nSeats = stand.GetStandSeats();
    const int nShare = pMatch ? nSeats * pMatch->byAttendancePercentage / 100 : 0;
    return std::min(nSeats, nShare + std::max(nHolders, 0));
}

bool CClientGroundGeneral::OnInitDialog()
{
    m_pList = nullptr;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    m_pClub = pDatabase ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(m_dwChangeParameter & 0xFFFF)) : nullptr;
    if (!m_pClub)
        if (const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr)
            m_pClub = pHuman->GetClub();
    m_byView = (m_dwChangeParameter >> 16) == VIEW_FACILITIES ? VIEW_FACILITIES : VIEW_STANDS;

    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    MakeOwnBackground();
    const bool bResult = CGameClient::OnInitDialog();

    LoadIcons(m_Stands, "icnStad.bmp", kStandFrames);
    LoadIcons(m_Facilities, "icnFacil.bmp", kFacilityFrames);
    LoadIcons(m_Features, "icnFeat.bmp", kFeatureFrames);
    if (g_pTitlebar) {
        g_pTitlebar->SetSelectors({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION,
                                   CGameTitlebar::SELECTOR_CLUB, kViewSelector});
        if (m_pClub)
            g_pTitlebar->SetSelectorItems(m_pClub);
    }

    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 200, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    m_pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, kListLeft, kListTop, kListRight, kListBottom, ID_LIST, nullptr));
    if (m_pList)
        m_pList->SetUp(kRowHeight, 6, g_hSmallFont, 0, true, pBar, true, nullptr, true, 0, false, false, false);
    for (uint32_t dwID : kTotalIDs)
        if (auto* pLabel = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 0, kTotalsY, 60, kTotalsHeight,
                                                                 dwID, nullptr))) {
            pLabel->m_hFont = g_hSmallFont;
            pLabel->m_byAlignment = 2;
            pLabel->m_bFrame = 0;
        }
    FillViewSelector();
    ShowView();
    if (g_pNavigationBar)
        if (auto* pPrint = dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(kPrintButton))) {
            pPrint->Enable(true);
            pPrint->Show(true, true);
        }
    return bResult;
}

void CClientGroundGeneral::OnDestroy()
{
    m_pList = nullptr;
    CGameClient::OnDestroy();
    for (ICONSHEET* pSheet : {&m_Stands, &m_Facilities, &m_Features}) {
        pSheet->Frames.clear();
        pSheet->pSheet.reset();
    }
}

void CClientGroundGeneral::LoadIcons(ICONSHEET& sheet, const char* pszName, int nFrames)
{
    sheet.Frames.clear();
    sheet.pSheet.reset(LoadMainArchiveBitmap(pszName, true));
    if (!sheet.pSheet) {
        DebugLog(0, "[CClientGroundGeneral::OnInitDialog] '%s' could not be loaded", pszName);
        return;
    }
    for (int i = 0; i < nFrames; ++i) {
        auto pFrame = std::make_unique<CXAnimation>();
        pFrame->Setup(sheet.pSheet.get(), kIconWidth, kIconHeight, 0, kIconHeight * i, 1, 1);
        sheet.Frames.push_back(std::move(pFrame));
    }
}

void CClientGroundGeneral::AddIcon(int nRow, ICONSHEET& sheet, int nFrame)
{
    if (m_pList && nFrame >= 0 && nFrame < static_cast<int>(sheet.Frames.size()))
        m_pList->AddAlignedColumnGraphic(nRow, sheet.Frames[static_cast<size_t>(nFrame)].get(), 2, COLUMN_NAME, true);
}

void CClientGroundGeneral::FillViewSelector()
{
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(kViewSelector) : nullptr;
    if (!pBox)
        return;
    m_bQuiet = true;
    pBox->ResetContent();
    for (int nView = VIEW_STANDS; nView <= VIEW_FACILITIES; ++nView)
        pBox->SetItemData(pBox->AddString(kRowColour, "%s", GetTableTextOrEmpty(kViewNameSet, nView)),
                          static_cast<uint32_t>(nView));
    const int nRow = pBox->FindItemData(m_byView);
    if (nRow >= 0)
        pBox->SetCurSel(nRow);
    m_bQuiet = false;
}

void CClientGroundGeneral::ShowView()
{
    m_nTotalValue = m_nTotalYearly = m_nTotalCapacity = m_nTotalFilled = 0;
    ShowAllControls(false);
    ResetOwnBackground();
    CGame* pGame = Game();
    // The list and its totals over a shaded panel, so that the rows read
    // clearly against the pitch of the backdrop.
    if (CXSurface* pShading = pGame ? pGame->GetSharedBitmaps().GetShadingSurface() : nullptr)
        ShadeRectangle(m_pBackground, pShading, kListLeft, kListTop, kListRight, kTotalsY + kTotalsHeight + 4);
    if (m_pClub)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, kDefaultClubColour, 0xffffff);
    const LISTCOLUMN* pColumns = m_byView == VIEW_STANDS ? kStandColumns : kFacilityColumns;
    const int nTotals = m_byView == VIEW_STANDS ? 4 : 2;
    if (m_pList)
        m_pList->SetUpColumns(kListLeft, kListTop, kListRight, kListBottom, pColumns, false, false,
                              kListBottom - kListTop, false);
    for (int i = 0; i < 4; ++i) {
        CXControl* pLabel = FindControl(kTotalIDs[i]);
        if (!pLabel)
            continue;
        const LISTCOLUMN& column = pColumns[COLUMN_VALUE + std::min(i, nTotals - 1)];
        const int nWidth = column.nRight - column.nLeft;
        pLabel->Move(kListLeft + column.nLeft, kTotalsY, nWidth - column.nTextMargin, kTotalsHeight, false);
    }
    if (m_byView == VIEW_STANDS)
        FillStadiumList();
    else
        FillFacilityList();
    SetTotals();
    DrawSurfaceText(g_hSmallBoldFont, m_pBackground, kTotalsText[m_byView], kTextColour);
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        const CAPTIONTAB tabs[] = {{2, m_byView, 0, 20, kCaptionY, 260}, {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, tabs);
    }
    RestoreBackground(0, 0, Width(), Height());
    if (m_pList)
        m_pList->SetAutoRedraw(true);
    // The list brings its scroll bar and headers with it.
    if (m_pList)
        m_pList->Show(true, true);
    for (int i = 0; i < nTotals; ++i)
        if (CXControl* pLabel = FindControl(kTotalIDs[i]))
            pLabel->Show(true, true);
}

bool CClientGroundGeneral::IsUnderWork(const CComponentDatabase& component) const
{
    const CGroundDatabase* pGround = m_pClub ? m_pClub->m_pGround : nullptr;
    if (!pGround)
        return false;
    for (const CComponentScheduleDatabase* p : pGround->GetSchedules().Items<CComponentScheduleDatabase>())
        if (p->GetComponent() == &component && !p->HasDurationElapsed())
            return true;
    return false;
}

const char* CClientGroundGeneral::StateOfSchedule(const CComponentScheduleDatabase& schedule) const
{
    switch (schedule.GetKind()) {
    case SCHEDULE_BUILD:
        return GetTableTextOrEmpty(kStateSet, schedule.IsDue() ? STATE_BUILDING : STATE_PLANNED);
    case SCHEDULE_IMPROVE:
        return GetTableTextOrEmpty(kStateSet, STATE_IMPROVING);
    case SCHEDULE_DEMOLISH:
        return GetTableTextOrEmpty(kStateSet, STATE_DEMOLISHING);
    default:
        return "";
    }
}

void CClientGroundGeneral::FillStadiumList()
{
    if (!m_pList)
        return;
    m_pList->ResetContent();
    const CGroundDatabase* pGround = m_pClub ? m_pClub->m_pGround : nullptr;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    if (!pGround || !pDatabase)
        return;
    std::vector<HOMEMATCHSTANDS> matches = pDatabase->GetHomeMatchStands(m_pClub);
    const HOMEMATCHSTANDS* pLast = nullptr;
    for (const HOMEMATCHSTANDS& match : matches)
        if (match.bRecordFound)
            pLast = &match;
    // The holders of the human's own club fill their seats at league matches.
    const CSaveGame* pHuman = pDatabase->GetSaveGameForClub(m_pClub);
    const bool bHolders = pHuman && (!pLast || pLast->byMatchKind == 0);
    for (const CComponentDatabase* pStand : pGround->GetComponents().Items<CComponentDatabase>()) {
        if (!pStand->IsStand() || !pStand->IsFinished() || IsUnderWork(*pStand))
            continue;
        const int nSide = pStand->GetStandSide();
        int nHolders = 0;
        if (bHolders)
            for (int nSection = 0; nSection < STAND_SECTIONS; ++nSection)
                nHolders += pHuman->GetStandPrice(nSide, nSection, STAND_PRICE_SOLD);
        const int nFilled = GetStandSeatsFilled(*pStand, pLast, nHolders);
        const int64_t nYearly = static_cast<int64_t>(pStand->GetMaintenanceCost()) * 12;
        const int nRow = m_pList->AddString(
            kRowColour, "%s %s\t%s\t%s\t%s\t%s\t%s", GetTableTextOrEmpty(kPositionNameSet, nSide),
            GetTableTextOrEmpty(kStandKindSet, pStand->GetSubType()), GetTableTextOrEmpty(kStateSet, STATE_BUILT),
            Money(pStand->GetValue()).c_str(), Money(nYearly).c_str(), Thousands(pStand->GetStandSeats()).c_str(),
            Thousands(nFilled).c_str());
        AddIcon(nRow, m_Stands, GetStandIconFrame(pStand->GetSubType(), pStand->GetStandSize()));
        m_nTotalValue += pStand->GetValue();
        m_nTotalYearly += nYearly;
        m_nTotalCapacity += pStand->GetStandSeats();
        m_nTotalFilled += nFilled;
    }
    for (const CComponentScheduleDatabase* pSchedule : pGround->GetSchedules().Items<CComponentScheduleDatabase>()) {
        const uint8_t* pData = pSchedule->GetAssociatedComponentSpecificData();
        if (pSchedule->HasDurationElapsed() || pSchedule->GetComponentMainType() != COMPONENT_STAND || !pData)
            continue;
        const int nSeats = pData[STAND_SEATS] | pData[STAND_SEATS + 1] << 8;
        const int64_t nCost = CGroundDatabase::GetScheduleCost(*pSchedule);
        const int64_t nYearly = static_cast<int64_t>(pSchedule->GetComponentMaintenanceCost()) * 12;
        const int nRow = m_pList->AddString(
            kRowColour, "%s %s\t%s\t%s\t%s\t%s\t%d", GetTableTextOrEmpty(kPositionNameSet, pData[STAND_SIDE]),
            GetTableTextOrEmpty(kStandKindSet, pSchedule->GetComponentSubType()), StateOfSchedule(*pSchedule),
            Money(nCost).c_str(), Money(nYearly).c_str(), Thousands(nSeats).c_str(), 0);
        AddIcon(nRow, m_Stands, GetStandIconFrame(pSchedule->GetComponentSubType(), pData[STAND_SIZE]));
        m_nTotalValue += nCost;
        m_nTotalYearly += nYearly;
        m_nTotalCapacity += nSeats;
    }
}

void CClientGroundGeneral::FillFacilityList()
{
    if (!m_pList)
        return;
    m_pList->ResetContent();
    const CGroundDatabase* pGround = m_pClub ? m_pClub->m_pGround : nullptr;
    if (!pGround)
        return;
    auto name = [](int nMainType, int nSubType, const uint8_t* pData) {
        if (nMainType == COMPONENT_FACILITY)
            return std::string(GetTableTextOrEmpty(kSizeNameSet, pData[0])) + ' ' +
                   GetTableTextOrEmpty(kFacilityNameSet, nSubType - 4);
        return std::string(GetTableTextOrEmpty(kFeatureNameSet, nSubType - 12));
    };
    auto icon = [this](int nRow, int nMainType, int nSubType, const uint8_t* pData) {
        if (nMainType == COMPONENT_FACILITY)
            AddIcon(nRow, m_Facilities, GetFacilityIconFrame(nSubType, pData[0]));
        else
            AddIcon(nRow, m_Features, GetFeatureIconFrame(nSubType));
    };
    for (const CComponentDatabase* p : pGround->GetComponents().Items<CComponentDatabase>()) {
        if (p->IsStand() || p->GetMainType() >= COMPONENT_MAIN_TYPES || !p->IsFinished() || IsUnderWork(*p))
            continue;
        const int64_t nYearly = static_cast<int64_t>(p->GetMaintenanceCost()) * 12;
        const int nRow = m_pList->AddString(
            kRowColour, "%s\t%s\t%s\t%s", name(p->GetMainType(), p->GetSubType(), p->GetSpecificData()).c_str(),
            GetTableTextOrEmpty(kStateSet, STATE_BUILT), Money(p->GetValue()).c_str(), Money(nYearly).c_str());
        icon(nRow, p->GetMainType(), p->GetSubType(), p->GetSpecificData());
        m_nTotalValue += p->GetValue();
        m_nTotalYearly += nYearly;
    }
    for (const CComponentScheduleDatabase* p : pGround->GetSchedules().Items<CComponentScheduleDatabase>()) {
        const uint8_t* pData = p->GetAssociatedComponentSpecificData();
        const int nMainType = p->GetComponentMainType();
        if (p->HasDurationElapsed() || (nMainType != COMPONENT_FACILITY && nMainType != COMPONENT_PITCH_ITEM) ||
            !pData)
            continue;
        const int64_t nCost = CGroundDatabase::GetScheduleCost(*p);
        const int64_t nYearly = static_cast<int64_t>(p->GetComponentMaintenanceCost()) * 12;
        const int nRow =
            m_pList->AddString(kRowColour, "%s\t%s\t%s\t%s", name(nMainType, p->GetComponentSubType(), pData).c_str(),
                               StateOfSchedule(*p), Money(nCost).c_str(), Money(nYearly).c_str());
        icon(nRow, nMainType, p->GetComponentSubType(), pData);
        m_nTotalValue += nCost;
        m_nTotalYearly += nYearly;
    }
}

void CClientGroundGeneral::SetTotals()
{
    if (auto* pLabel = dynamic_cast<CXStatic*>(FindControl(ID_TOTAL_VALUE)))
        SetMoneyText(pLabel, static_cast<double>(m_nTotalValue), MONEY_AS_STORED);
    if (auto* pLabel = dynamic_cast<CXStatic*>(FindControl(ID_TOTAL_YEARLY)))
        SetMoneyText(pLabel, static_cast<double>(m_nTotalYearly), MONEY_AS_STORED);
    if (auto* pLabel = dynamic_cast<CXStatic*>(FindControl(ID_TOTAL_CAPACITY)))
        pLabel->SetText("%s", Thousands(m_nTotalCapacity).c_str());
    if (auto* pLabel = dynamic_cast<CXStatic*>(FindControl(ID_TOTAL_FILLED)))
        pLabel->SetText("%s", Thousands(m_nTotalFilled).c_str());
}

void CClientGroundGeneral::OnSelChange(uint32_t dwID)
{
    const bool bClubSelector = dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_COUNTRY) ||
                               dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_DIVISION) ||
                               dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_CLUB);
    if (m_bQuiet || !g_pTitlebar || (!bClubSelector && dwID != ID_VIEW_SELECTOR)) {
        CGameClient::OnSelChange(dwID);
        return;
    }
    const CClubDatabase* pClub = g_pTitlebar->GetSelectedClub();
    if (!pClub)
        pClub = m_pClub;
    int nView = m_byView;
    if (const CXComboBox* pBox = g_pTitlebar->GetSelector(kViewSelector); pBox && pBox->GetSelection() >= 0)
        nView = static_cast<int>(pBox->GetItemData(pBox->GetSelection()));
    if (pClub && g_pNavigationBar && (pClub != m_pClub || nView != m_byView))
        g_pNavigationBar->SetNextClient(this, Parameter(pClub->GetID(), nView));
}

void CClientGroundGeneral::OnPrint() { PrintControl(ID_LIST); }
