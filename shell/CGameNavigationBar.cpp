#include "shell/CGameNavigationBar.h"

#include "shell/CGame.h"
#include "shell/CGameDay.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"
#include "shell/UserFolders.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/SeasonArchiveRecords.h"
#include "platform/Files.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXPopup.h"
#include "xframework/CXStatic.h"
#include "xframework/CXTreeView.h"
#include "xframework/ClientText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

CGameNavigationBar* g_pNavigationBar = nullptr;

const uint32_t CGameNavigationBar::kStatusLightIDs[kStatusLights] = {829, 822, 830, 823, 853, 821, 826, 827, 828, 842};

namespace {

using Nav = CGameNavigationBar;

constexpr COLORREF kTreeTextColour = 0xFFFFFF;
constexpr int kNavigationTextSet = 90;
constexpr int kContinueTooltipSet = 134;
// "Next manager to play" of the common words.
constexpr int kWordSet = 114;
constexpr int kNextManagerItem = 36;
// The key icons: eleven 14 x 14 cells side by side, F2 to F12; the tree's
// top rows show theirs at this x of the row.
constexpr int kKeyIconCount = 11;
constexpr int kKeyIconSize = 14;
constexpr uint16_t kKeyIconX = 0x80;
// The progress bar inside the progress block.
constexpr int kProgressBarX = 21;
constexpr int kProgressBarY = 99;
constexpr int kProgressBarWidth = 118;
constexpr int kProgressBarHeight = 12;
constexpr int kProgressBlockWidth = 148;
constexpr int kProgressBlockHeight = 56;

struct BarBlock {
    const char* pszBitmap;
    int x, y;
};
constexpr BarBlock kBarBlocks[] = {{"blkTree.bmp", 6, 132}, {"blkIcon.bmp", 6, 65}, {"blkProg.bmp", 6, 65}};

// The tree: {text item, screen id}, the children of each group after it.
struct TreeRow {
    int16_t nText;
    int16_t nScreen;
};
struct TreeGroup {
    TreeRow row;
    std::vector<TreeRow> children;
};
const std::vector<TreeGroup>& TreeGroups()
{
    static const std::vector<TreeGroup> groups = {
        {{0, 0}, {}},
        {{2, 4}, {{11, 4}, {12, 5}, {13, 7}, {14, 6}}},
        {{3, 8}, {{15, 8}, {16, 9}, {17, 10}, {18, 11}, {19, 12}, {20, 13}, {21, 14}, {22, 15}}},
        {{4, 16}, {{23, 16}, {24, 17}, {25, 19}, {26, 20}}},
        {{5, 21}, {{27, 21}, {28, 22}, {29, 23}}},
        {{6, 24}, {{30, 24}, {31, 18}, {32, 25}, {33, 26}, {34, 27}}},
        {{7, 28}, {{35, 28}, {36, 29}, {37, 30}, {38, 31}, {39, 32}, {40, 33}}},
        {{8, 34}, {{41, 34}, {42, 35}, {43, 36}, {44, 37}}},
        {{9, 38}, {{45, 38}, {46, 39}, {47, 40}, {48, 41}}},
    };
    return groups;
}

// What each mode shows, and which of the shown command buttons it puts out
// of use and back in use. Lists end with 0.
struct ModeSpec {
    const char* pszBitmap;
    std::vector<uint32_t> shown;
    std::vector<uint32_t> outOfUse;
    std::vector<uint32_t> inUse;
};
const ModeSpec& ModeOf(int nMode)
{
    static const std::vector<uint32_t> commands = {Nav::ID_QUIT,    Nav::ID_SAVE,  Nav::ID_SECOND_QUESTION,
                                                   Nav::ID_OPTIONS, Nav::ID_PRINT, Nav::ID_HELP,
                                                   Nav::ID_COMPARE, Nav::ID_BACK,  Nav::ID_HOME,
                                                   Nav::ID_FORWARD, Nav::ID_PROGRESS_TEXT};
    auto with = [](std::vector<uint32_t> ids, std::initializer_list<uint32_t> more) {
        ids.insert(ids.end(), more);
        return ids;
    };
    static const ModeSpec modes[8] = {
        {"NavStart.bmp",
         with(commands, {Nav::ID_CONTINUE_LAST_SAVE, Nav::ID_NEW_GAME, Nav::ID_UNEMPLOYED_START, Nav::ID_SCENARIO,
                         Nav::ID_LOAD_GAME, Nav::ID_CREDITS, Nav::ID_CONTINUE}),
         {Nav::ID_QUIT, Nav::ID_SAVE, Nav::ID_PRINT, Nav::ID_OPTIONS, Nav::ID_COMPARE, Nav::ID_HOME, Nav::ID_CONTINUE},
         {}},
        {"Navigate.bmp", with(commands, {Nav::ID_START_NEW_GAME}),
         {Nav::ID_SAVE, Nav::ID_COMPARE, Nav::ID_HOME, Nav::ID_CONTINUE},
         {Nav::ID_QUIT, Nav::ID_PRINT, Nav::ID_OPTIONS}},
        {"Navigate.bmp", with(commands, {Nav::ID_TREE, Nav::ID_CONTINUE}), {Nav::ID_HOME, Nav::ID_CONTINUE},
         {Nav::ID_QUIT, Nav::ID_SAVE, Nav::ID_PRINT, Nav::ID_OPTIONS, Nav::ID_COMPARE}},
        {"NavMatch.bmp", with(commands, {Nav::ID_CONTINUE_MATCH}),
         {Nav::ID_QUIT, Nav::ID_SAVE, Nav::ID_PRINT, Nav::ID_COMPARE, Nav::ID_HOME, Nav::ID_CONTINUE},
         {Nav::ID_OPTIONS}},
        {"NavStart.bmp", with(commands, {Nav::ID_BACK_TO_MATCH}),
         {Nav::ID_QUIT, Nav::ID_SAVE, Nav::ID_PRINT, Nav::ID_COMPARE, Nav::ID_HOME},
         {Nav::ID_OPTIONS, Nav::ID_BACK_TO_MATCH}},
        {"NavStart.bmp", with(commands, {Nav::ID_CONTINUE}), {Nav::ID_QUIT, Nav::ID_SAVE, Nav::ID_PRINT, Nav::ID_HOME},
         {Nav::ID_OPTIONS, Nav::ID_COMPARE, Nav::ID_CONTINUE}},
        {"NavStart.bmp", with(commands, {Nav::ID_CONTINUE_MATCH}),
         {Nav::ID_QUIT, Nav::ID_SAVE, Nav::ID_PRINT, Nav::ID_COMPARE, Nav::ID_HOME, Nav::ID_CONTINUE},
         {Nav::ID_OPTIONS}},
        {"Navigate.bmp", with(commands, {Nav::ID_CONTINUE}),
         {Nav::ID_PRINT, Nav::ID_OPTIONS, Nav::ID_COMPARE, Nav::ID_HOME, Nav::ID_CONTINUE},
         {Nav::ID_QUIT, Nav::ID_SAVE}},
    };
    return modes[nMode];
}

constexpr int kLightX[5] = {12, 42, 70, 98, 126};

// Commands that open a popup (load and save choice, options, help,
// comparison, credits, new-game choices, the quit questions) stay out of use
// in every mode until their popups exist.
const uint32_t kWithoutPopup[] = {Nav::ID_NEW_GAME, Nav::ID_UNEMPLOYED_START, Nav::ID_SCENARIO, Nav::ID_LOAD_GAME,
                                  Nav::ID_CREDITS,  Nav::ID_QUIT,  Nav::ID_SAVE, Nav::ID_SECOND_QUESTION,
                                  Nav::ID_OPTIONS,  Nav::ID_HELP, Nav::ID_COMPARE, 0};

// The message box, which asks the questions of the quit commands.
constexpr int kMessageBoxID = 80;

// The global popup a command opens; -1 for one whose popup is not in the game.
int CommandPopup(uint32_t dwID)
{
    switch (dwID) {
    case Nav::ID_LOAD_GAME:
        return SCREEN_LOAD_GAME_POPUP;
    case Nav::ID_SAVE:
        return SCREEN_SAVE_GAME_POPUP;
    case Nav::ID_QUIT:
    case Nav::ID_SECOND_QUESTION:
        return kMessageBoxID;
    case Nav::ID_NEW_GAME:
    case Nav::ID_UNEMPLOYED_START:
        return SCREEN_SELECT_PLAYER_POPUP;
    case Nav::ID_OPTIONS:
        return SCREEN_OPTIONS_POPUP;
    case Nav::ID_COMPARE:
        return SCREEN_PLAYER_COMPARISON_POPUP;
    case Nav::ID_SCENARIO:
        return SCREEN_SCENARIO_POPUP;
    case Nav::ID_CREDITS:
        return SCREEN_CREDITS_POPUP;
    case Nav::ID_HELP:
        return SCREEN_HELP_POPUP;
    default:
        return -1;
    }
}

// The commands of kWithoutPopup whose popups are still missing.
std::vector<uint32_t> CommandsWithoutPopup()
{
    std::vector<uint32_t> ids;
    for (const uint32_t* pID = kWithoutPopup; *pID; ++pID)
        if (CommandPopup(*pID) < 0 || !GetPopupObject(CommandPopup(*pID)))
            ids.push_back(*pID);
    ids.push_back(0);
    return ids;
}

// The questions of the commands, by message number.
constexpr int kStartAgainQuestion = 38;
constexpr int kQuitQuestion = 1;
constexpr int kNoDiskSpaceNotice = 63;
constexpr int kLoadRefusedNotice = 42;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

const CClubDatabase* HumanClub()
{
    const CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    return pHuman ? pHuman->GetClub() : nullptr;
}

// The division the tables screens open on: the human's club's, else the
// first of the human's country.
const CDivisionDatabase* HumanDivision()
{
    if (const CClubDatabase* pClub = HumanClub(); pClub && pClub->m_pDivision)
        return pClub->m_pDivision;
    const CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    const CCountryDatabase* pCountry = pHuman ? pHuman->GetCountry() : nullptr;
    if (!pCountry)
        return nullptr;
    for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
        return pDivision;
    return nullptr;
}

}  // namespace

CGameNavigationBar::CGameNavigationBar()
{
    m_wScreenID = SCREEN_NAVIGATIONBAR;
    SetClientRect(0, 0, 160, 600);
}

CGameNavigationBar::~CGameNavigationBar()
{
    if (g_pNavigationBar == this)
        g_pNavigationBar = nullptr;
    delete m_pTools;
    delete m_pContinueLooks;
    delete m_pKeyIcons;
    delete m_pStatusLights;
}

void CGameNavigationBar::ConstructScreen()
{
    delete m_pBackground;
    m_pBackground = LoadMainArchiveBitmap("Navigate.bmp", false);
}

void CGameNavigationBar::CreateButton(uint32_t dwID, int x, int y, int nWidth, int nHeight, CXSurface* pFace,
                                      int nSourceY, plat::Font* pFont)
{
    auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, x, y, nWidth, nHeight, dwID, nullptr));
    if (!pButton)
        return;
    pButton->m_hFont = pFont ? pFont : g_hSmallFont;
    pButton->SetTextID(pFace, nSourceY);
}

bool CGameNavigationBar::OnInitDialog()
{
    m_nMode = -1;
    ConstructScreen();
    CXClient::OnInitDialog();
    delete m_pTools;
    delete m_pContinueLooks;
    delete m_pKeyIcons;
    m_pTools = LoadMainArchiveBitmap("navTools.bmp", true);
    m_pContinueLooks = LoadMainArchiveBitmap("navCont.bmp", false);
    m_pKeyIcons = LoadMainArchiveBitmap("btnFKeys.bmp", true);
    m_KeyIcons.clear();
    for (int i = 0; m_pKeyIcons && i < kKeyIconCount; ++i) {
        auto pIcon = std::make_unique<CXAnimation>();
        pIcon->Setup(m_pKeyIcons, kKeyIconSize, kKeyIconSize, kKeyIconSize * i, 0, 1, 1);
        m_KeyIcons.push_back(std::move(pIcon));
    }
    m_nLastProgress = -1;
    delete m_pStatusLights;
    m_pStatusLights = LoadMainArchiveBitmap("icnMain.bmp", true);
    for (int i = 0; i < kStatusLights; ++i)
        if (auto* pLight = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, kLightX[i % 5], i < 5 ? 68 : 96, 24,
                                                                   24, kStatusLightIDs[i], nullptr)))
            pLight->SetBitmap(m_pStatusLights, 24 * i, 0, false, false);

    m_pTree = static_cast<CXTreeView*>(AddControlXYWH(XCONTROL_TREEVIEW, 8, 130, 144, 330, ID_TREE, nullptr));
    if (m_pTree) {
        m_pTree->SetUp(18, 4, g_hMediumFont, TREESTYLE_NOTIFY_SELECTION, 1, nullptr, 0, 0, nullptr);
        // The tree has no scroll bar and room for 18 rows: the nine groups
        // and the largest group's eight screens fit only one branch at a
        // time, so opening a group closes the one open before.
        m_pTree->m_bOneBranchOpen = 1;
    }
    BuildTree();
    const uint32_t menu[] = {ID_NEW_GAME, ID_UNEMPLOYED_START, ID_SCENARIO, ID_LOAD_GAME, ID_CONTINUE_LAST_SAVE,
                             ID_CREDITS};
    for (int i = 0; i < 6; ++i)
        CreateButton(menu[i], 6, 152 + 40 * i, 148, 19, m_pTools, 0);
    if (auto* pText = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 6, 75, 148, 40, ID_PROGRESS_TEXT, nullptr))) {
        pText->m_hFont = g_hSmallFont;
        pText->m_bFrame = 0;
        pText->m_byAlignment = 6;
        pText->m_crText = 0xADFDFF;
    }
    const uint32_t commands[3][3] = {{ID_QUIT, ID_SAVE, ID_COMPARE},
                                     {ID_OPTIONS, ID_PRINT, ID_HELP},
                                     {ID_SECOND_QUESTION, ID_BACK, ID_FORWARD}};
    const int rows[3] = {479, 507, 542};
    for (int nRow = 0; nRow < 3; ++nRow)
        for (int nColumn = 0; nColumn < 3; ++nColumn)
            CreateButton(commands[nRow][nColumn], 3 + 53 * nColumn, rows[nRow], 48, 22, m_pTools, 19, g_hTinyFont);
    CreateButton(ID_HOME, 3, 570, 74, 22, m_pTools, 41);
    for (uint32_t dwID : {ID_CONTINUE, ID_START_NEW_GAME})
        CreateButton(dwID, 83, 570, 74, 22, m_pContinueLooks, LOOK_GO_ON);
    // Two lines of caption fit the button's height only in the tiny font.
    for (uint32_t dwID : {ID_CONTINUE_MATCH, ID_BACK_TO_MATCH})
        CreateButton(dwID, 83, 570, 74, 22, m_pContinueLooks, LOOK_GO_ON, g_hTinyFont);
    ShowAllControls(false);
    return true;
}

void CGameNavigationBar::BuildTree()
{
    m_TreeScreens.clear();
    if (!m_pTree)
        return;
    m_pTree->m_bNotifyOwner = 0;
    size_t nKey = 0;
    for (const TreeGroup& group : TreeGroups()) {
        const char* pszText = GetTableText(kNavigationTextSet, group.row.nText);
        const int nGroup = m_pTree->InsertItem(pszText ? pszText : "", kTreeTextColour, -1, g_hMediumFont);
        // The top rows are the screens of F2 onwards: each shows its key.
        if (nKey < m_KeyIcons.size())
            m_pTree->AddItemImage(nGroup, m_KeyIcons[nKey++].get(), kKeyIconX, true);
        m_TreeScreens.emplace_back(nGroup, group.row.nScreen);
        for (const TreeRow& child : group.children) {
            const char* pszChild = GetTableText(kNavigationTextSet, child.nText);
            const int nChild = m_pTree->InsertItem(pszChild ? pszChild : "", kTreeTextColour, nGroup, g_hSmallFont);
            m_TreeScreens.emplace_back(nChild, child.nScreen);
        }
    }
    m_pTree->m_bNotifyOwner = 1;
}

void CGameNavigationBar::OnDestroy()
{
    CXClient::OnDestroy();
    m_pTree = nullptr;
    m_TreeScreens.clear();
    m_KeyIcons.clear();
    delete m_pTools;
    delete m_pContinueLooks;
    delete m_pKeyIcons;
    delete m_pStatusLights;
    m_pTools = m_pContinueLooks = m_pKeyIcons = m_pStatusLights = nullptr;
}

void CGameNavigationBar::OnPaint() { CXClient::OnPaint(); }

void CGameNavigationBar::OnSelChange(uint32_t dwID)
{
    if (dwID != ID_TREE || !m_pTree)
        return;
    const int nItem = m_pTree->GetCurrentID();
    for (const auto& [nTreeItem, nScreen] : m_TreeScreens)
        if (nTreeItem == nItem) {
            OnClientChange(nScreen, false);
            return;
        }
}

void CGameNavigationBar::OnGetToolTipText(uint32_t dwID, char* pszText)
{
    if (dwID != ID_CONTINUE && dwID != ID_START_NEW_GAME && dwID != ID_CONTINUE_MATCH)
        return;
    const int nItem = (m_nContinueLook - LOOK_GO_ON) / 22;
    if (const char* pszTip = GetTableText(kContinueTooltipSet, nItem); pszTip && nItem >= 0 && nItem <= 3)
        std::snprintf(pszText, 80, "%s", pszTip);
}

void CGameNavigationBar::SetNextClient(CXClient* pClient, uint32_t dwParameter)
{
    CXClient::SetNextClient(pClient, dwParameter);
    if (m_bRecordHistory && pClient)
        if (CGame* pGame = Game())
            pGame->GetScreenHistory().AddScreenHistory(pClient, dwParameter);
    const int nItem = pClient ? FindItemByData(pClient->m_wScreenID) : -1;
    if (nItem >= 0 && m_pTree) {
        m_pTree->m_bNotifyOwner = 0;
        m_pTree->SelectItem(nItem);
        m_pTree->ExpandItem(nItem, true, true, false);
        m_pTree->m_bNotifyOwner = 1;
        SetFocus(m_pTree);
    }
}

uint32_t CGameNavigationBar::ScreenParameter(int nScreenID) const
{
    const CDivisionDatabase* pDivision = HumanDivision();
    const uint32_t dwDivision = pDivision ? pDivision->m_byDivisionId : 0;
    const CClubDatabase* pClub = HumanClub();
    const uint32_t dwClub = pClub ? pClub->GetID() : 0;
    switch (nScreenID) {
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 14:
    case 19:
        return dwDivision;
    case 13:
        // Bit 8: the default division is shown.
        return dwDivision | 0x100;
    case 41: {
        // The season just finished: the human's division, or his country
        // (bit 8) while he has no club; the season from bit 9.
        const CDatabaseHandler* pDatabase = Database();
        const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
        const CCountryDatabase* pCountry = pClub ? pClub->GetCountry() : pHuman ? pHuman->GetCountry() : nullptr;
        const uint32_t dwSeason = pCountry ? SeasonArchiveKey(pCountry->GetSeasonYear() - 1) : 0;
        const uint32_t dwShown = pClub ? dwDivision : pCountry ? pCountry->GetID() | 0x100u : 0;
        return dwShown | dwSeason << 9;
    }
    case 18:
    case 24:
    case 25:
    case 26:
    case 27:
    case 34:
    case 35:
        return dwClub;
    default:
        return 0;
    }
}

void CGameNavigationBar::OnClientChange(int nScreenID, bool bForce)
{
    if (g_pCurrentClient && g_pCurrentClient->m_wScreenID == nScreenID && !bForce)
        return;
    CGameClient* pScreen = GetScreenObject(nScreenID);
    if (!pScreen) {
        DebugLog(0, "CGameNavigationBar::OnClientChange - Unhandled Screen");
        return;
    }
    if (nScreenID == SCREEN_END_OF_CAREER)
        if (CGame* pGame = Game())
            pGame->GetScreenHistory().ClearScreenHistory();
    SetNextClient(pScreen, ScreenParameter(nScreenID));
}

void CGameNavigationBar::SetInUse(const uint32_t* pIDs, bool bInUse)
{
    for (; pIDs && *pIDs; ++pIDs)
        if (auto* pButton = dynamic_cast<CXButton*>(FindControl(*pIDs)))
            pButton->Enable(!bInUse);
}

void CGameNavigationBar::SetMode(int nMode)
{
    if (nMode == m_nMode) {
        if (g_pTitlebar)
            g_pTitlebar->Update();
        return;
    }
    if (nMode < 0 || nMode > 7)
        return;
    m_nMode = nMode;
    const ModeSpec& mode = ModeOf(nMode);
    ShowAllControls(false);
    if (CXSurface* pBackground = LoadMainArchiveBitmap(mode.pszBitmap, false)) {
        delete m_pBackground;
        m_pBackground = pBackground;
        RestoreBackground(0, 0, Width(), Height());
    }
    m_nLastProgress = -1;
    if (g_pTitlebar)
        g_pTitlebar->Update();
    std::vector<uint32_t> shown = mode.shown;
    shown.push_back(0);
    EnableBatch(shown.data(), true);
    std::vector<uint32_t> outOfUse = mode.outOfUse, inUse = mode.inUse;
    outOfUse.push_back(0);
    inUse.push_back(0);
    SetInUse(outOfUse.data(), false);
    SetInUse(inUse.data(), true);
    SetInUse(CommandsWithoutPopup().data(), false);
    if (auto* pText = FindControl(ID_PROGRESS_TEXT))
        pText->Show(!m_Message.empty(), true);
    UpdateHistoryButtons();
    if (nMode == 0)
        CheckLastSaveGame();
    else if (nMode == 2)
        UpdateButtons();
}

void CGameNavigationBar::ShowMessage(const char* pszText)
{
    m_Message = pszText ? pszText : "";
    if (auto* pText = static_cast<CXStatic*>(FindControl(ID_PROGRESS_TEXT))) {
        pText->SetText("%s", m_Message.c_str());
        pText->Show(!m_Message.empty(), true);
    }
}

void CGameNavigationBar::SetBlock(int nKind)
{
    if (nKind < 0 || nKind >= static_cast<int>(std::size(kBarBlocks)) || !m_pDrawingSurface)
        return;
    const BarBlock& block = kBarBlocks[nKind];
    if (CXSurface* pBlock = LoadMainArchiveBitmap(block.pszBitmap, false)) {
        CXSurface::Blit(m_pDrawingSurface, pBlock, block.x, block.y);
        delete pBlock;
    }
}

bool CGameNavigationBar::ShowProgress(const char* pszText, double dPercent, bool bShow)
{
    // The last report of a long step hides the read-out: left in place, its
    // bar and text would show through between the status lights.
    if (!bShow) {
        EndProgress();
        return false;
    }
    // A share outside 0-100 (or not a number) would draw the bar off the block.
    if (!(dPercent >= 0.0))
        dPercent = 0.0;
    dPercent = std::min(dPercent, 100.0);
    const int nRounded = static_cast<int>(std::lround(dPercent));
    const std::string text = pszText ? pszText : "";
    if (nRounded == m_nLastProgress && text == m_Message)
        return false;
    SetBlock(2);
    if (m_pDrawingSurface && m_pDrawingSurface->GetSurface()) {
        auto* pGame = dynamic_cast<CGame*>(g_pGame);
        const int nWidth = static_cast<int>(kProgressBarWidth * dPercent / 100.0);
        if (pGame && nWidth > 0)
            ShadeRectangle(m_pDrawingSurface, pGame->GetSharedBitmaps().GetShadingSurface(), kProgressBarX,
                           kProgressBarY, kProgressBarX + nWidth, kProgressBarY + kProgressBarHeight);
        std::unique_ptr<plat::DeviceContext> dc(m_pDrawingSurface->GetSurface()->getDC());
        if (dc) {
            plat::Font* pOldFont = dc->selectFont(g_hSmallFont);
            const int nOldMode = dc->setBkMode(plat::TRANSPARENT);
            DrawShadowTextCentredF(dc.get(), kProgressBarX, kProgressBarY, kProgressBarX + kProgressBarWidth,
                                   kProgressBarY + kProgressBarHeight, 1, 0xFFFFFF, 0x000000, "%3.0f%%", dPercent);
            dc->setBkMode(nOldMode);
            dc->selectFont(pOldFont);
            m_pDrawingSurface->GetSurface()->releaseDC(dc.release());
        }
    }
    ShowMessage(text.c_str());
    m_nLastProgress = nRounded;
    return true;
}

void CGameNavigationBar::EndProgress()
{
    if (m_nLastProgress < 0)
        return;
    const BarBlock& block = kBarBlocks[2];
    RestoreBackground(block.x, block.y, kProgressBlockWidth, kProgressBlockHeight);
    m_nLastProgress = -1;
    ShowMessage("");
}

void CGameNavigationBar::UpdateStatusLights()
{
    if (m_nMode != 2)
        return;
    if (g_pTitlebar)
        g_pTitlebar->Update();
    const CDatabaseHandler* pDatabase = Database();
    CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    for (int i = 0; i < kStatusLights; ++i) {
        auto* pLight = dynamic_cast<CXButton*>(FindControl(kStatusLightIDs[i]));
        if (!pLight)
            continue;
        // Nothing to see, seen already (marked shown) or new: a row of the
        // light strip each.
        const int nAlert = pHuman ? pHuman->GetNavigationAlert(i) : 0;
        pLight->m_nSourceY = nAlert < 0 ? 24 : nAlert > 0 ? 48 : 0;
        pLight->Show(true, true);
        if (pHuman && nAlert != 0)
            pHuman->MarkNavigationAlertShown(i);
    }
}

void CGameNavigationBar::OnStatusLight(uint32_t dwID)
{
    const CClubDatabase* pClub = HumanClub();
    // The newspaper and the mail are always there; the others need a club.
    if (dwID == 821)
        OnClientChange(39, false);
    else if (dwID == 842)
        OnClientChange(SCREEN_ARCHIVES_MAIL, false);
    else if (!pClub)
        return;
    switch (dwID) {
    case 822:
        OpenScoutReport();
        break;
    case 853:
        OnClientChange(29, false);
        break;
    case 823:
        OnClientChange(SCREEN_TABLES_CUP, false);
        break;
    case 826:
    case 827:
        OnClientChange(SCREEN_TEAM_SELECTION, false);
        break;
    case 829:
        OnClientChange(17, false);
        break;
    case 830:
        OnClientChange(18, false);
        break;
    case 828:
        OnClientChange(35, false);
        break;
    default:
        break;
    }
}

void CGameNavigationBar::UpdateHistoryButtons()
{
    CGame* pGame = Game();
    if (!pGame)
        return;
    const auto& history = pGame->GetScreenHistory();
    // Only in modes that show them.
    const bool bShown = m_nMode >= 0;
    for (auto [dwID, bAvailable] : {std::pair{ID_BACK, history.CanGoBack()}, std::pair{ID_FORWARD, history.CanGoForward()}})
        if (auto* pButton = dynamic_cast<CXButton*>(FindControl(dwID))) {
            pButton->Enable(!bAvailable);
            pButton->Show(bShown && bAvailable, true);
        }
}

void CGameNavigationBar::UpdateButtons()
{
    // Screens a manager without a club has no use for; the scouts' screen
    // needs a scout besides (it answers whether it can be shown).
    const CClubDatabase* pClub = HumanClub();
    SetManagementButtons(pClub != nullptr);
    if (CGameClient* pScout = GetScreenObject(SCREEN_TRANSFER_SCOUT); pClub && pScout)
        EnableButton(SCREEN_TRANSFER_SCOUT, pScout->CanReturnTo());
}

void CGameNavigationBar::OpenScoutReport()
{
    const CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    CGameClient* pScout = GetScreenObject(SCREEN_TRANSFER_SCOUT);
    if (!pHuman || !pHuman->GetClub() || !pScout || !pScout->CanReturnTo())
        return;
    SetNextClient(pScout, ScoutScreenParameter(pHuman->GetScoutReportStaff(), pHuman->GetScoutReportKind() != 0));
}

void CGameNavigationBar::SetManagementButtons(bool bEnable)
{
    for (int nScreen : {4, 22, 28, 36, 37, 17, 20})
        EnableButton(nScreen, bEnable);
    // Players are compared from the club's squad: without a club there is none.
    if (auto* pCompare = dynamic_cast<CXButton*>(FindControl(ID_COMPARE)))
        pCompare->Enable(!bEnable || !GetPopupObject(SCREEN_PLAYER_COMPARISON_POPUP));
}

void CGameNavigationBar::OpenSavesPopup(bool bLoad)
{
    if (auto* pSaves = dynamic_cast<CGameSavesPopup*>(GetPopupObject(bLoad ? SCREEN_LOAD_GAME_POPUP : SCREEN_SAVE_GAME_POPUP)))
        pSaves->Show(bLoad);
}

bool CGameNavigationBar::IsDiskSpaceShort()
{
    if (CGame::CheckDiskSpace())
        return false;
    if (!ShowGameMessageBox(CGameMessageBox::MODE_OK, kNoDiskSpaceNotice))
        ShowMessage("Less than 100 MiB is free for saved games.");
    return true;
}

int CGameNavigationBar::FindItemByData(int nScreenID) const
{
    for (const auto& [nItem, nScreen] : m_TreeScreens)
        if (nScreen == nScreenID)
            return nItem;
    return -1;
}

bool CGameNavigationBar::IsButtonEnabled(int nScreenID) const
{
    const int nItem = FindItemByData(nScreenID);
    return nItem >= 0 && m_pTree && m_pTree->IsItemEnabled(nItem) != 0;
}

void CGameNavigationBar::EnableButton(int nScreenID, bool bEnable)
{
    // Every row of that screen (a group's row and its first child's).
    for (const auto& [nItem, nScreen] : m_TreeScreens)
        if (nScreen == nScreenID && m_pTree)
            m_pTree->EnableItem(nItem, bEnable);
}

void CGameNavigationBar::CheckLastSaveGame()
{
    const bool bContinue = !CGame::GetUsableLastSaveGame().empty();
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_CONTINUE_LAST_SAVE)))
        pButton->Enable(!bContinue);
    const bool bLoad = !CGame::ListSavedGames().empty() && GetPopupObject(SCREEN_LOAD_GAME_POPUP);
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_LOAD_GAME)))
        pButton->Enable(!bLoad);
}

void CGameNavigationBar::SetContinueButton(int nLook)
{
    m_nContinueLook = nLook;
    // Only where the mode shows it: elsewhere another button stands in its
    // place (the way back to a running match, continuing the match, a new
    // game), and covering that one would let the day go on past it.
    const std::vector<uint32_t>& shown = ModeOf(std::max(m_nMode, 0)).shown;
    if (std::find(shown.begin(), shown.end(), ID_CONTINUE) == shown.end())
        return;
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_CONTINUE))) {
        pButton->Enable(false);
        pButton->SetTextID(m_pContinueLooks, nLook);
    }
}

void CGameNavigationBar::SetStartContinueButton(int nLook)
{
    m_nContinueLook = nLook;
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_START_NEW_GAME))) {
        pButton->Enable(false);
        pButton->SetTextID(m_pContinueLooks, nLook);
    }
}

void CGameNavigationBar::UpdateContinueButton()
{
    const CDatabaseHandler* pDatabase = Database();
    SetContinueButton(pDatabase ? CGameDay::GetContinueLookForDay(*pDatabase) : LOOK_GO_ON);
}

void CGameNavigationBar::GoThroughHistory(bool bForward)
{
    CGame* pGame = Game();
    if (!pGame)
        return;
    auto& history = pGame->GetScreenHistory();
    const auto* pRecord = bForward ? history.ScreenHistoryForward() : history.ScreenHistoryBack();
    if (!pRecord)
        return;
    CXClient::SetNextClient(pRecord->pScreen, pRecord->dwParameter);
    const int nItem = FindItemByData(pRecord->pScreen->m_wScreenID);
    if (nItem >= 0 && m_pTree) {
        m_pTree->m_bNotifyOwner = 0;
        m_pTree->SelectItem(nItem);
        m_pTree->m_bNotifyOwner = 1;
    }
}

void CGameNavigationBar::OnClicked(uint32_t dwID)
{
    CXClient::OnClicked(dwID);
    CGame* pGame = Game();
    switch (dwID) {
    case ID_CONTINUE_LAST_SAVE: {
        if (!pGame || IsDiskSpaceShort())
            return;
        const std::string name = CGame::GetUsableLastSaveGame();
        if (name.empty())
            return;
        if (!pGame->LoadGame(name.c_str(), false)) {
            if (!ShowGameNotice(kLoadRefusedNotice, pGame->GetFileError()))
                ShowMessage(pGame->GetFileError().c_str());
            return;
        }
        ShowMessage("");
        pGame->GetScreenHistory().ClearScreenHistory();
        OnClientChange(SCREEN_FOOTBALL_TODAY, true);
        break;
    }
    case ID_NEW_GAME:
    case ID_UNEMPLOYED_START:
        if (!CGame::CheckDiskSpace()) {
            ShowMessage("Less than 100 MiB is free for saved games.");
            return;
        }
        // The start-up menu's new game chooses clubs; the unemployed start
        // is the quick start, without clubs.
        m_byStartKind = dwID == ID_NEW_GAME ? START_CHOOSE_CLUBS : START_QUICK;
        OpenGlobalPopup(SCREEN_SELECT_PLAYER_POPUP);
        break;
    case ID_OPTIONS:
        OpenGlobalPopup(SCREEN_OPTIONS_POPUP);
        break;
    case ID_SCENARIO:
        if (!CGame::CheckDiskSpace()) {
            ShowMessage("Less than 100 MiB is free for saved games.");
            return;
        }
        m_byStartKind = START_SCENARIO;
        if (auto* pScenario = dynamic_cast<CGameScenarioPopup*>(GetPopupObject(SCREEN_SCENARIO_POPUP)))
            pScenario->Show(CGameScenarioPopup::kChoosing, 0);
        break;
    case ID_CREDITS:
        OpenGlobalPopup(SCREEN_CREDITS_POPUP);
        break;
    case ID_HELP:
        OpenGlobalPopup(SCREEN_HELP_POPUP);
        break;
    case ID_COMPARE:
        if (HumanClub())
            OpenGlobalPopup(SCREEN_PLAYER_COMPARISON_POPUP);
        break;
    case ID_START_NEW_GAME:
        if (auto* pScreen = dynamic_cast<CGameClient*>(g_pCurrentClient); pScreen && pScreen->ConfirmClub())
            BeginNewGame();
        break;
    case ID_HOME:
        OnClientChange(SCREEN_FOOTBALL_TODAY, false);
        break;
    case 829:
    case 822:
    case 830:
    case 823:
    case 853:
    case 821:
    case 826:
    case 827:
    case 828:
    case 842:
        OnStatusLight(dwID);
        break;
    case ID_PRINT:
        // Without the message box to ask, the screen prints at once.
        if (!ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, CGamePopup::kPrintQuestion) && g_pCurrentClient)
            g_pCurrentClient->OnPrint();
        break;
    case ID_QUIT:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, kStartAgainQuestion);
        break;
    case ID_SECOND_QUESTION:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, kQuitQuestion);
        break;
    case ID_LOAD_GAME:
        if (!IsDiskSpaceShort())
            OpenSavesPopup(true);
        break;
    case ID_SAVE:
        if (g_pCurrentClient)
            g_pCurrentClient->UserSlot34();
        if (!IsDiskSpaceShort())
            OpenSavesPopup(false);
        break;
    case ID_CONTINUE:
        // On the match screen the match is played out and recorded first,
        // whichever of the two continue buttons shows.
        if (g_pCurrentClient && g_pCurrentClient == GetScreenObject(SCREEN_MATCH)) {
            static_cast<CXClient*>(g_pCurrentClient)->OnClicked(ID_CONTINUE_MATCH);
            break;
        }
        ContinueGame();
        break;
    case ID_CONTINUE_MATCH:
        // The match screen ends its match and lets the day go on.
        if (g_pCurrentClient)
            static_cast<CXClient*>(g_pCurrentClient)->OnClicked(dwID);
        break;
    case ID_BACK_TO_MATCH:
        SetNextClient(GetScreenObject(SCREEN_MATCH), 0);
        break;
    case ID_BACK:
        GoThroughHistory(false);
        break;
    case ID_FORWARD:
        GoThroughHistory(true);
        break;
    default:
        break;
    }
}

void CGameNavigationBar::OpenGlobalPopup(int nScreenID)
{
    if (CXPopup* pPopup = GetPopupObject(nScreenID))
        pPopup->Open();
}

bool CGameNavigationBar::BeginNewGame()
{
    CGame* pGame = Game();
    if (!pGame)
        return false;
    if (!pGame->BeginNewGame()) {
        ShowMessage(pGame->GetFileError().c_str());
        return false;
    }
    ShowMessage("");
    if (const CDatabaseHandler* pDatabase = pGame->GetDatabase()) {
        const CDate& today = pDatabase->GetGameDate();
        DebugLog(4, "[CGameNavigationBar::BeginNewGame] The game begins on %04d-%02d-%02d", today.GetYear(),
                 today.GetMonth(), today.GetDay());
        for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
            if (const CSaveGame* pHuman = pDatabase->GetHumanSlot(nSlot))
                DebugLog(4, "[CGameNavigationBar::BeginNewGame] Manager %d: %s", nSlot + 1,
                         pHuman->GetClub() ? pHuman->GetClub()->GetName() : "no club");
    }
    pGame->GetScreenHistory().ClearScreenHistory();
    OnClientChange(SCREEN_FOOTBALL_TODAY, true);
    return true;
}

void CGameNavigationBar::TellNextManager()
{
    CDatabaseHandler* pDatabase = Database();
    int nHumans = 0;
    for (int nSlot = 0; pDatabase && nSlot < HUMAN_SLOTS; ++nSlot)
        nHumans += pDatabase->GetHumanSlot(nSlot) != nullptr;
    CGameMessageBox* pBox = GetGameMessageBox();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (nHumans < 2 || !pBox || !pHuman)
        return;
    const CManagerDatabase* pManager = pDatabase->GetManagerFromID(pHuman->GetManagerID());
    const char* pszWords = GetTableText(kWordSet, kNextManagerItem);
    char szText[160];
    std::snprintf(szText, sizeof szText, "%s: %s", pszWords ? pszWords : "", pManager ? pManager->GetShortName() : "");
    pBox->SetText(szText);
    pBox->Show(CGameMessageBox::MODE_OK, 0);
}

void CGameNavigationBar::ContinueGame()
{
    CDatabaseHandler* pDatabase = Database();
    CGame* pGame = Game();
    if (!pDatabase || !pGame)
        return;
    if (!g_ClientList.empty()) {
        if (g_ClientList.size() == 1)
            pGame->GetScreenHistory().ClearScreenHistory();
        ChangeNextClient();
        // The end of the career closes the game: no day runs behind it.
        if (g_pNextClient && g_pNextClient == GetScreenObject(SCREEN_END_OF_CAREER))
            return;
        if (g_ClientList.empty()) {
            const int nDays = CGameDay::ProcessDay(*pDatabase);
            const CDate& today = pDatabase->GetGameDate();
            DebugLog(4, "[CGameNavigationBar::ContinueGame] %d day(s) on to %04d-%02d-%02d", nDays, today.GetYear(),
                     today.GetMonth(), today.GetDay());
            TellNextManager();
            UpdateButtons();
            CGameDay::ProcessDailyNews(*pDatabase);
            if (CSaveGame* pHuman = pDatabase->GetCurrentSaveGame())
                pHuman->UpdateNavigationAlerts();
            UpdateStatusLights();
            UpdateContinueButton();
        }
        return;
    }
    // The turn passes to the next human; when it comes back to the first,
    // the day's screens are queued and the first of them is taken.
    int nNext = -1;
    for (int nSlot = pDatabase->GetCurrentHumanIndex() + 1; nSlot < HUMAN_SLOTS; ++nSlot)
        if (pDatabase->GetHumanSlot(nSlot)) {
            nNext = nSlot;
            break;
        }
    pGame->GetScreenHistory().ClearScreenHistory();
    if (nNext >= 0) {
        pDatabase->SetCurrentHumanIndex(static_cast<uint8_t>(nNext));
        CGameDay::ProcessDailyNews(*pDatabase);
        if (CSaveGame* pHuman = pDatabase->GetCurrentSaveGame())
            pHuman->UpdateNavigationAlerts();
        TellNextManager();
        OnClientChange(SCREEN_FOOTBALL_TODAY, true);
        UpdateButtons();
        return;
    }
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
        if (pDatabase->GetHumanSlot(nSlot)) {
            pDatabase->SetCurrentHumanIndex(static_cast<uint8_t>(nSlot));
            break;
        }
    CGameDay::QueueMatchDayScreens(*pDatabase);
    if (!g_ClientList.empty())
        ContinueGame();
}
