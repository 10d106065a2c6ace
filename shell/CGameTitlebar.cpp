#include "shell/CGameTitlebar.h"

#include "shell/CGame.h"
#include "shell/FormattingFunctions.h"
#include "shell/KitClash.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXStatic.h"

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
    ShowAllControls(false);
    return true;
}

void CGameTitlebar::OnDestroy()
{
    CXClient::OnDestroy();
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
    if (!pTarget || !s_pKitStrip || !s_pKitStrip->m_pSurface)
        return;
    if (nCell < 0 || (nCell + 1) * kKitCell > s_pKitStrip->m_nWidth)
        nCell = 0;
    CXSurface kit;
    if (!kit.Create(kKitCell, kKitCell, true, true))
        return;
    const plat::Rect rcCell{nCell * kKitCell, 0, (nCell + 1) * kKitCell, kKitCell};
    kit.m_pSurface->bltFast(0, 0, *s_pKitStrip->m_pSurface, &rcCell, plat::BLTFAST_WAIT);
    const uint16_t wFirst = static_cast<uint16_t>(kit.ColorMatch(crFirst));
    const uint16_t wSecond = static_cast<uint16_t>(kit.ColorMatch(crSecond));
    const uint16_t wWhite = static_cast<uint16_t>(kit.ColorMatch(0xFFFFFF));
    const uint16_t wRed = static_cast<uint16_t>(kit.ColorMatch(0x0000FF));
    for (int j = 0; j < kKitCell; ++j)
        for (int i = 0; i < kKitCell; ++i) {
            const uint16_t wPixel = kit.m_pSurface->pixel(i, j);
            if (wPixel == wWhite)
                kit.m_pSurface->setPixel(i, j, wFirst);
            else if (wPixel == wRed)
                kit.m_pSurface->setPixel(i, j, wSecond);
        }
    kit.BltModulated(s_pKitMask, 0, 0);
    if (bKeyed)
        CXSurface::BlitKeyed(pTarget, &kit, x, y);
    else
        CXSurface::Blit(pTarget, &kit, x, y);
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
