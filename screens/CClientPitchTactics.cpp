#include "screens/CClientPitchTactics.h"

#include "popups/CPopupAdvancedMatchDetails.h"
#include "popups/CPopupMessageBox.h"
#include "popups/CPopupPlayerMatchOrders.h"
#include "popups/CPopupTeamMatchOrders.h"
#include "popups/CPopupPlayerDetails.h"
#include "popups/CPopupSaveTactics.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "platform/Clock.h"
#include "platform/DeviceContext.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "season/CTacticsFileManager.h"
#include "season/MatchRecords.h"
#include "xframework/CXButton.h"
#include "xframework/ClientText.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

using B = CPitchTacticsBoard;

constexpr int kRowHeight = 16;
constexpr int kChoiceLeft = 506;
constexpr int kChoiceWidth = 116;
constexpr int kButtonLeft = 8;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 26;
constexpr int kMarkerSize = 18;
constexpr int kBallSize = 12;
constexpr int kTakerLeft = 5, kTakerTop = 120, kTakerRight = 65, kTakerBottom = 200;
constexpr int kStripTop = 304, kStripBottom = 336, kStripSplit = 340;
constexpr int kModeTextSet = 202;
constexpr int kBarTextSet = 203;
constexpr int kPanelTextSet = 11;
constexpr int kUndoTextSet = 12;
constexpr COLORREF kRowText = plat::RGB(242, 242, 234);
constexpr COLORREF kOverlayLine = plat::RGB(255, 255, 255);
constexpr COLORREF kFrameColour = plat::RGB(255, 204, 0);
constexpr COLORREF kMarkingLine = plat::RGB(255, 204, 0);
constexpr COLORREF kPathLine = plat::RGB(255, 255, 255);
constexpr COLORREF kUnavailable = plat::RGB(230, 40, 40);
constexpr COLORREF kMagenta = plat::RGB(255, 0, 255);
constexpr COLORREF kStripColour = plat::RGB(30, 60, 40);
constexpr COLORREF kNoClubColour = 0x009D37;

const LISTCOLUMN kChoiceColumns[] = {
    {0, kChoiceWidth, 4, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

// The player panel's twelve bars: attribute (or -1 natural rating, -2 team
// rating), colour, column and row.
struct PANELBAR {
    int nValue;
    COLORREF cr;
    int x, y;
};
constexpr PANELBAR kBars[] = {
    {PLAYER_ATTRIBUTE_HANDLING, plat::RGB(0xFF, 0x21, 0x21), 220, 380},
    {PLAYER_ATTRIBUTE_TACKLING, plat::RGB(0xFF, 0xF7, 0x21), 220, 396},
    {PLAYER_ATTRIBUTE_PASSING, plat::RGB(0xFF, 0x42, 0xBD), 220, 412},
    {PLAYER_ATTRIBUTE_DRIBBLING, plat::RGB(0x73, 0xFF, 0x21), 220, 428},
    {PLAYER_ATTRIBUTE_HEADING, plat::RGB(0xBD, 0x39, 0xFF), 220, 444},
    {PLAYER_ATTRIBUTE_SHOOTING, plat::RGB(0xAD, 0xAD, 0xB5), 220, 460},
    {PLAYER_ATTRIBUTE_PACE, plat::RGB(0x4A, 0x29, 0xFF), 460, 380},
    {PLAYER_ATTRIBUTE_STRENGTH, plat::RGB(0x00, 0xAD, 0x08), 460, 396},
    {PLAYER_ATTRIBUTE_FITNESS, plat::RGB(0xFF, 0x8C, 0x5A), 460, 412},
    {PLAYER_ATTRIBUTE_MORALE, plat::RGB(0x52, 0xFF, 0xFF), 460, 428},
    {-1, plat::RGB(0xC4, 0x6F, 0x00), 460, 444},
    {-2, plat::RGB(0xBD, 0x00, 0x8E), 460, 460},
};
constexpr int kBarWidth = 144;
constexpr int kBarHeight = 14;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

BOARDPOINT Pt(int x, int y)
{
    return BOARDPOINT{static_cast<int16_t>(x), static_cast<int16_t>(y)};
}

int32_t Pack(const BOARDPOINT& p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(p.x)) << 16 |
                                static_cast<uint16_t>(p.y));
}

BOARDPOINT Unpack(int32_t n)
{
    return Pt(static_cast<int16_t>(static_cast<uint32_t>(n) >> 16), static_cast<int16_t>(n & 0xFFFF));
}

bool IsSetPieceMode(int nMode)
{
    return nMode == PITCHTACTICS_MODE_CORNERS || nMode == PITCHTACTICS_MODE_FREE_KICKS;
}

bool ShowsBallZone(int nMode)
{
    return nMode == PITCHTACTICS_MODE_MARKING || nMode == PITCHTACTICS_MODE_RANGES ||
           nMode == PITCHTACTICS_MODE_SUBSTITUTIONS;
}

}  // namespace

CClientPitchTactics& GetPitchTacticsScreen()
{
    static CClientPitchTactics s_Screen;
    return s_Screen;
}

CClientPitchTactics::CClientPitchTactics() { m_Board.ResetGrid(); }
CClientPitchTactics::~CClientPitchTactics() = default;

CXSurface* CClientPitchTactics::Screen() const { return GetScreenSurface(); }

// ---- players ----

CPlayerDatabase* CClientPitchTactics::GetTeamPlayer(int nIndex) const
{
    if (nIndex == 255) {
        // The set piece's taker from the team sheet's takers.
        if (!m_pHuman)
            return nullptr;
        if (m_nMode == PITCHTACTICS_MODE_CORNERS && m_nSet == B::SET_ATTACKING)
            return m_pHuman->GetSetPiecePlayer(m_nCornerSide == 0 ? 4 : 5);
        if (m_nMode == PITCHTACTICS_MODE_FREE_KICKS)
            return m_pHuman->GetSetPiecePlayer(m_nFreeKickArea < 10 ? 1 : m_nFreeKickArea < 15 ? 2 : 3);
        return nullptr;
    }
    if (nIndex < 0 || nIndex >= kBoardMarkers)
        return nullptr;
    if (InMatch())
        return nIndex < m_nMatchSquad ? m_apMatchPlayers[static_cast<size_t>(nIndex)] : nullptr;
    return nIndex < B::kPlayers && m_pHuman ? m_pHuman->GetSheetPlayer(nIndex) : nullptr;
}

void CClientPitchTactics::SetTeamPlayer(int nIndex, CPlayerDatabase* pPlayer)
{
    if (nIndex < 0 || nIndex >= kBoardMarkers)
        return;
    if (InMatch())
        m_apMatchPlayers[static_cast<size_t>(nIndex)] = pPlayer;
    else if (m_pHuman && nIndex < B::kPlayers)
        m_pHuman->SetSheetPlayer(nIndex, pPlayer);
}

const SUBSTITUTIONCELL& CClientPitchTactics::GetGridCell(int nSide, int nIndex) const
{
    static const SUBSTITUTIONCELL kNone;
    if (nSide < 0 || nSide > 1 || nIndex < 0 || nIndex >= B::kSubstitutes)
        return kNone;
    return m_Board.m_aGrid[nSide][nIndex];
}

void CClientPitchTactics::ResetGrid() { m_Board.ResetGrid(); }

// ---- entry and exit ----

void CClientPitchTactics::ReadNextMatch()
{
    m_pOpponent = nullptr;
    m_Rules = ITEMCUPMATCHRULES{0, 3, 7, 7, 0};
    const CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    if (!pDatabase || !m_pHuman || !m_pClub)
        return;
    const int32_t nOpponent = m_pHuman->GetNextFixture(nullptr, nullptr, nullptr, nullptr);
    if (nOpponent >= 0 && nOpponent <= 0xFFFF)
        m_pOpponent = pDatabase->GetClubFromID(static_cast<ID_CLUB>(nOpponent));
    if (m_pOpponent == m_pClub)
        m_pOpponent = nullptr;
    int nKind = 0;
    pDatabase->GetNextMatchRules(m_pClub, m_Rules, &nKind);
}

void CClientPitchTactics::FindLastMeeting()
{
    m_nLastMeeting = -1;
    const CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    if (!pDatabase || !m_pClub || !m_pOpponent)
        return;
    const ID_CLUB idOwn = m_pClub->m_wClubId, idOther = m_pOpponent->m_wClubId;
    // Match ids grow with time: the highest between the two is the last.
    pDatabase->ReadAllMatchHeaders([&](const MATCHHISTORYHEADER& header) {
        const bool bMet = (header.wHomeClub == idOwn && header.wAwayClub == idOther) ||
                          (header.wHomeClub == idOther && header.wAwayClub == idOwn);
        if (bMet && static_cast<int64_t>(header.dwMatchID) > m_nLastMeeting)
            m_nLastMeeting = header.dwMatchID;
    });
}

void CClientPitchTactics::CopyMatchPlayers()
{
    m_apMatchPlayers.fill(nullptr);
    m_nMatchSquad = 0;
    m_abyAvailable.fill(0);
    m_nSide = 0;
    m_nSubstitutionsMade = 0;
    const CMatchClub* pClub = nullptr;
    for (int nSide = 0; nSide < 2 && !pClub; ++nSide) {
        const CMatchClub* p = nSide == 0 ? g_MatchEngine.GetHomeClub() : g_MatchEngine.GetAwayClub();
        if (p && p->GetSaveGame() == m_pHuman) {
            pClub = p;
            m_nSide = nSide;
        }
    }
    const ITEMMATCHRULESINFORMATION& rules = g_MatchEngine.GetMatchRules();
    m_Rules.bySubstitutions = rules.abyRules[1];
    m_Rules.bySubstitutesNamed = rules.abyRules[2];
    if (!pClub)
        return;
    m_nSubstitutionsMade = pClub->GetSubstitutions();
    for (int i = 0; i < kBoardMarkers && i < pClub->GetSquadCount(); ++i) {
        const CMatchPlayer* p = pClub->GetPlayer(i, false);
        m_apMatchPlayers[static_cast<size_t>(i)] = p ? p->GetRecord() : nullptr;
        m_nMatchSquad = i + 1;
        m_abyAvailable[static_cast<size_t>(i)] = p ? 1 : 0;
    }
    for (int k = 0; k < B::kSubstitutes; ++k)
        if (m_Board.m_aGrid[m_nSide][k].byDone)
            m_abyAvailable[static_cast<size_t>(B::kPlayers + k)] = 0;
}

bool CClientPitchTactics::OnInitDialog()
{
    m_pHuman = GetCurrentHuman();
    m_pClub = m_pHuman ? m_pHuman->GetClub() : nullptr;
    m_bInitialised = false;
    m_byMatchState = g_MatchEngine.IsMatchBuilt() ? g_MatchEngine.GetMatchState() : 0;
    if (m_byMatchState == MATCHSTATE_ENDED)
        DebugLog(0, "[CClientPitchTactics::OnInitDialog] Finish match triggered");
    m_bMatchOver = m_byMatchState == MATCHSTATE_ENDED;
    m_nDrag = DRAG_NONE;
    m_nPicked = 255;
    m_nHovered = -1;
    m_bEditOwnTeam = 1;
    m_nSet = B::SET_ATTACKING;
    m_wSelection = 0;
    m_bCopied = false;
    m_bMadeCustom = false;
    m_bRolesMessageShown = false;
    m_Undo.clear();
    m_bFixedNumbers = m_pClub && m_pClub->m_pDivision && m_pClub->m_pDivision->m_bySquadNumbers != 0;
    if (!CTacticsFileManager::AreListsBuilt())
        CTacticsFileManager lists;
    ReadNextMatch();
    FindLastMeeting();
    m_abyAvailable.fill(1);
    if (InMatch()) {
        // The engine knows nothing of this screen: a match it has not seen
        // before starts with empty substitution cells.
        if (g_MatchEngine.GetSeed() != m_dwGridMatch || !m_bGridMatchKnown)
            ResetGrid();
        m_dwGridMatch = g_MatchEngine.GetSeed();
        m_bGridMatchKnown = true;
        CopyMatchPlayers();
    }
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(InMatch() ? 4 : 2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    m_pPitch.reset(LoadMainArchiveBitmap("PTPitch.bmp", false));
    m_pMarkers.reset(LoadMainArchiveBitmap("PTCntr.bmp", true));
    m_pBall.reset(LoadMainArchiveBitmap("icnGoal.bmp", true));
    for (const auto& [pszName, bLoaded] : {std::pair{"PTPitch.bmp", m_pPitch != nullptr},
                                          {"PTCntr.bmp", m_pMarkers != nullptr},
                                          {"icnGoal.bmp", m_pBall != nullptr}})
        if (!bLoaded)
            DebugLog(0, "[CClientPitchTactics::OnInitDialog] '%s' could not be loaded", pszName);
    m_pOverlay = std::make_unique<CXSurface>();
    if (!m_pOverlay->Create(B::kPitchRight - B::kPitchLeft, B::kPitchBottom - B::kPitchTop, false, true))
        m_pOverlay.reset();
    m_pSaveTactics = std::make_unique<CPopupSaveTactics>();
    m_pTeamOrders = std::make_unique<CPopupTeamMatchOrders>();
    m_pPlayerOrders = std::make_unique<CPopupPlayerMatchOrders>();
    m_wOrdersSelection = 0;
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    BuildControls();
    if (m_pHuman) {
        m_pFormation = m_pHuman->GetCurrentFormation();
        LoadBoardFromFormation();
    }
    FillModeList();
    FillFormationList();
    FillOppositionList();
    FillSetPieceList(ID_FREE_KICKS);
    FillSetPieceList(ID_CORNERS);
    FillRoutineList();
    ChooseOpposition(m_pOpponent ? m_pOpponent->m_byFormation : 0, false);
    m_bInitialised = true;
    DoModeChange(InMatch() ? PITCHTACTICS_MODE_SUBSTITUTIONS : PITCHTACTICS_MODE_FORMATION, false);
    UpdatePickTeamButton(false);
    UpdateUndoButtons();
    UpdateBars();
    return bResult;
}

void CClientPitchTactics::OnDestroy()
{
    if (m_pHuman) {
        const CGame* pGame = Game();
        const CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
        // A game loaded over this screen took the human with it.
        if (pDatabase && pDatabase->GetCurrentSaveGame() == m_pHuman) {
            if (IsSetPieceMode(m_nMode))
                StoreRoutinePositions();
            if (m_bBoardChanged)
                StoreBoardToFormation();
            if (m_byMatchState == MATCHSTATE_STARTED && g_MatchEngine.IsMatchBuilt())
                g_MatchEngine.ApplyTeamOrders();
            if (InMatch())
                for (int i = 0; i < B::kPlayers; ++i)
                    m_pHuman->SetSheetPlayer(i, m_apMatchPlayers[static_cast<size_t>(i)]);
        }
    }
    if (m_byMatchState == MATCHSTATE_ENDED && g_MatchEngine.IsMatchBuilt()) {
        g_MatchEngine.EndGame();
        g_MatchEngine.SetMatchState(MATCHSTATE_NONE);
    }
    m_byMatchState = 0;
    m_bInitialised = false;
    m_nDrag = DRAG_NONE;
    m_Undo.clear();
    m_pPitch.reset();
    m_pMarkers.reset();
    m_pBall.reset();
    m_pOverlay.reset();
    for (CXPopup* pPopup : {static_cast<CXPopup*>(m_pPlayerOrders.get()), static_cast<CXPopup*>(m_pTeamOrders.get()),
                            static_cast<CXPopup*>(&m_RulesPopup)})
        if (pPopup && pPopup->IsOnStack())
            pPopup->Close();
    CGameClient::OnDestroy();
    m_pSaveTactics.reset();
    m_pTeamOrders.reset();
    m_pPlayerOrders.reset();
    m_pHuman = nullptr;
    m_pClub = nullptr;
    m_pOpponent = nullptr;
}

void CClientPitchTactics::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
    if (!m_pBackground || !m_pBackground->m_pSurface)
        return;
    CXSurface* pBack = m_pBackground;
    if (m_pPitch && m_pPitch->m_pSurface)
        pBack->m_pSurface->bltFast(B::kPitchLeft, B::kPitchTop, *m_pPitch->m_pSurface, nullptr, plat::BLTFAST_WAIT);
    plat::DeviceContext* pDC = pBack->m_pSurface->getDC();
    if (InMatch()) {
        // The two strips the substitutes are dropped in.
        DrawFilledRectFramed(pDC, B::kPitchLeft, kStripTop, kStripSplit, kStripBottom, kStripColour, 0, kRowText);
        DrawFilledRectFramed(pDC, kStripSplit, kStripTop, B::kPitchRight, kStripBottom, kStripColour, 0, kRowText);
    }
    // The bars' names left of each column.
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hSmallFont);
    pDC->setTextColor(kRowText);
    for (size_t i = 0; i < std::size(kBars); ++i) {
        const char* pszName = GetTableText(kBarTextSet, static_cast<int>(i));
        plat::Rect rc{kBars[i].x - 92, kBars[i].y, kBars[i].x - 4, kBars[i].y + kBarHeight};
        pDC->drawText(pszName ? pszName : "", -1, &rc, plat::DT_RIGHT | plat::DT_VCENTER | plat::DT_SINGLELINE);
    }
    pBack->m_pSurface->releaseDC(pDC);
}

void CClientPitchTactics::BuildControls()
{
    CGame* pGame = Game();
    CXSurface* pFace = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnTog.bmp") : nullptr;
    auto addButton = [this, pFace](uint32_t dwID, int y) {
        auto* pButton = static_cast<CXButton*>(
            AddControlXYWH(XCONTROL_BUTTON, kButtonLeft, y, kButtonWidth, kButtonHeight, dwID, nullptr));
        if (pButton) {
            pButton->m_hFont = g_hSmallFont;
            pButton->SetTextID(pFace, 0);
        }
    };
    addButton(ID_SHOW_OPPOSITION, 324);
    addButton(ID_SHOW_OWN, 324);
    addButton(ID_SET_ATTACKING, 356);
    addButton(ID_SET_DEFENDING, 356);
    addButton(ID_PLAYER_ORDERS, 388);
    addButton(ID_TEAM_ORDERS, 420);
    addButton(ID_SAVE, 452);
    if (auto* pCaption = static_cast<CXStatic*>(
            AddControlXYWH(XCONTROL_STATIC, 140, 358, 260, 18, ID_PANEL_CAPTION, nullptr))) {
        pCaption->m_hFont = g_hSmallBoldFont;
        pCaption->m_bFrame = 0;
        pCaption->m_bClearBackground = 1;
    }
    for (uint32_t dwID : {ID_PICK_TEAM, ID_MATCH_RULES, ID_LAST_MEETING, ID_UNDO, ID_UNDO_ALL, ID_PASTE, ID_COPY})
        AddBottomButton(dwID);
    // The set-piece lists take the formation lists' places.
    const struct {
        uint32_t dwID;
        int y;
    } kChoices[] = {{ID_MODES, 4},       {ID_FORMATIONS, 34}, {ID_OPPOSITION, 64},
                    {ID_FREE_KICKS, 34}, {ID_CORNERS, 34},    {ID_ROUTINE, 64}};
    for (const auto& [dwID, y] : kChoices) {
        auto* pCombo = static_cast<CXComboBox*>(
            AddControl(XCONTROL_COMBOBOX, kChoiceLeft, y, kChoiceLeft + kChoiceWidth, y + 200, dwID, nullptr));
        if (pCombo) {
            pCombo->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, false, nullptr, true, nullptr, false,
                          2, false, false, true);
            pCombo->SetUpColumns(kChoiceLeft, y, kChoiceLeft + kChoiceWidth, y + 200, kChoiceColumns, false, false,
                                 kRowHeight, false);
        }
    }
    ShowAllControls(true);
    UpdatePlayerOrdersButton();
    if (auto* pLast = dynamic_cast<CXButton*>(FindControl(ID_LAST_MEETING)))
        pLast->Enable(m_nLastMeeting < 0);
    if (m_byMatchState == MATCHSTATE_STARTED && m_bMatchOver)
        for (uint32_t dwID : {ID_TEAM_ORDERS, ID_PLAYER_ORDERS})
            if (CXControl* p = FindControl(dwID))
                p->Show(false, true);
}

void CClientPitchTactics::FillModeList()
{
    auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_MODES));
    if (!pCombo)
        return;
    pCombo->SetAutoRedraw(false);
    pCombo->ResetContent();
    // Only the modes that can be used are offered.
    for (int nMode = 0; nMode < PITCHTACTICS_MODE_COUNT; ++nMode) {
        if (!IsModeAvailable(nMode))
            continue;
        const char* pszText = GetTableText(kModeTextSet, nMode);
        const int nRow = pCombo->AddString(kRowText, "%s", pszText ? pszText : "");
        pCombo->SetItemData(nRow, static_cast<uint32_t>(nMode));
    }
    pCombo->SetAutoRedraw(true);
}

bool CClientPitchTactics::IsModeAvailable(int nMode) const
{
    if (nMode == PITCHTACTICS_MODE_FORMATION)
        return true;
    if (nMode == PITCHTACTICS_MODE_SUBSTITUTIONS)
        return InMatch();
    return nMode > 0 && nMode < PITCHTACTICS_MODE_COUNT && (HasNextFixture() || InMatch());
}

void CClientPitchTactics::FillFormationList()
{
    auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_FORMATIONS));
    if (!pCombo || !m_pHuman)
        return;
    const bool bWasInitialised = m_bInitialised;
    m_bInitialised = false;
    pCombo->SetAutoRedraw(false);
    pCombo->ResetContent();
    int nCurrent = -1;
    int nRow = 0;
    const FORMATIONRECORD* pCurrent = m_pHuman->GetCurrentFormation();
    if (const CXList* pList = CTacticsFileManager::GetFormations())
        for (const FORMATIONRECORD* pRecord : pList->Items<FORMATIONRECORD>()) {
            pCombo->AddString(kRowText, "%s", pRecord->szName);
            if (pRecord == pCurrent)
                nCurrent = nRow;
            ++nRow;
        }
    if (m_pHuman->IsCustomFormationInUse()) {
        pCombo->AddString(kRowText, "%s", m_pHuman->GetCustomFormation().szName);
        nCurrent = nRow;
    }
    pCombo->SetAutoRedraw(true);
    if (nCurrent >= 0)
        pCombo->SetCurSel(nCurrent);
    m_bInitialised = bWasInitialised;
}

void CClientPitchTactics::FillOppositionList()
{
    auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_OPPOSITION));
    if (!pCombo)
        return;
    pCombo->SetAutoRedraw(false);
    pCombo->ResetContent();
    if (const CXList* pList = CTacticsFileManager::GetFormations())
        for (const FORMATIONRECORD* pRecord : pList->Items<FORMATIONRECORD>())
            pCombo->AddString(kRowText, "%s", pRecord->szName);
    pCombo->SetAutoRedraw(true);
}

void CClientPitchTactics::FillSetPieceList(uint32_t dwID)
{
    auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(dwID));
    if (!pCombo)
        return;
    const bool bWasInitialised = m_bInitialised;
    m_bInitialised = false;
    pCombo->SetAutoRedraw(false);
    pCombo->ResetContent();
    const CXList* pList =
        dwID == ID_FREE_KICKS ? CTacticsFileManager::GetFreeKickSets() : CTacticsFileManager::GetCornerSets();
    if (pList)
        for (const SETPIECERECORD* pSet : pList->Items<SETPIECERECORD>())
            pCombo->AddString(kRowText, "%s", pSet->szName);
    pCombo->SetAutoRedraw(true);
    m_bInitialised = bWasInitialised;
}

void CClientPitchTactics::FillRoutineList()
{
    auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_ROUTINE));
    if (!pCombo)
        return;
    const bool bWasInitialised = m_bInitialised;
    m_bInitialised = false;
    pCombo->SetAutoRedraw(false);
    pCombo->ResetContent();
    for (int i = 0; i < SETPIECE_ROUTINES; ++i)
        pCombo->SetItemData(pCombo->AddString(kRowText, "#%d", i + 1), static_cast<uint32_t>(i));
    pCombo->SetAutoRedraw(true);
    pCombo->SetCurSel(m_nRoutine);
    m_bInitialised = bWasInitialised;
}

void CClientPitchTactics::ShowModeControls()
{
    const bool bSetPiece = IsSetPieceMode(m_nMode);
    // The two pairs: front team and position set; none in the formation mode.
    const bool bPairs = m_nMode != PITCHTACTICS_MODE_FORMATION;
    const std::pair<uint32_t, bool> shown[] = {
        {ID_FORMATIONS, !bSetPiece},
        {ID_OPPOSITION, !bSetPiece},
        {ID_FREE_KICKS, m_nMode == PITCHTACTICS_MODE_FREE_KICKS},
        {ID_CORNERS, m_nMode == PITCHTACTICS_MODE_CORNERS},
        {ID_ROUTINE, bSetPiece},
        {ID_SHOW_OWN, bPairs && m_bEditOwnTeam},
        {ID_SHOW_OPPOSITION, bPairs && !m_bEditOwnTeam},
        {ID_SET_ATTACKING, bPairs && m_nSet == B::SET_ATTACKING},
        {ID_SET_DEFENDING, bPairs && m_nSet == B::SET_DEFENDING},
    };
    // Controls share places: those that go are wiped before the others show.
    for (bool bShow : {false, true})
        for (const auto& [dwID, bVisible] : shown)
            if (CXControl* p = FindControl(dwID); p && bVisible == bShow)
                p->Show(bShow, true);
    if (auto* pModes = dynamic_cast<CXComboBox*>(FindControl(ID_MODES))) {
        const bool bWasInitialised = m_bInitialised;
        m_bInitialised = false;
        for (int nRow = 0; nRow < pModes->GetCount(); ++nRow)
            if (static_cast<int>(pModes->GetItemData(nRow)) == m_nMode)
                pModes->SetCurSel(nRow);
        m_bInitialised = bWasInitialised;
    }
}

// ---- the board and the save game ----

void CClientPitchTactics::LoadBoardFromFormation()
{
    if (!m_pHuman)
        return;
    m_Board.LoadFromFormation(*m_pHuman);
    m_Board.GetRoles(m_abyRolesBefore.data());
    m_bBoardChanged = false;
}

void CClientPitchTactics::StoreBoardToFormation()
{
    if (!m_pHuman)
        return;
    // In a match the screen's eleven go through the sheet, which the roles
    // sort together with the places.
    if (InMatch())
        for (int i = 0; i < B::kPlayers; ++i)
            m_pHuman->SetSheetPlayer(i, m_apMatchPlayers[static_cast<size_t>(i)]);
    m_pHuman->SetWorkingFormation(m_Board.StoreToFormation(*m_pHuman));
    if (InMatch())
        for (int i = 0; i < B::kPlayers; ++i)
            m_apMatchPlayers[static_cast<size_t>(i)] = m_pHuman->GetSheetPlayer(i);
    LoadBoardFromFormation();
}

void CClientPitchTactics::MakeCustomOnFirstChange()
{
    m_bBoardChanged = true;
    if (!m_pHuman || m_pHuman->IsCustomFormationInUse())
        return;
    // The first change to a listed formation makes it the human's own.
    m_pHuman->SelectFormation(&m_pHuman->GetCustomFormation());
    m_pFormation = m_pHuman->GetCurrentFormation();
    m_bMadeCustom = true;
    FillFormationList();
}

void CClientPitchTactics::ChooseFormation(const FORMATIONRECORD* pFormation)
{
    if (!m_pHuman || !pFormation)
        return;
    if (m_bBoardChanged)
        StoreBoardToFormation();
    if (!m_pHuman->SelectFormation(pFormation)) {
        FillFormationList();
        return;
    }
    m_pFormation = m_pHuman->GetCurrentFormation();
    m_bMadeCustom = false;
    LoadBoardFromFormation();
    m_Undo.clear();
    UpdateUndoButtons();
    FillFormationList();
    UpdatePickTeamButton(true);
}

void CClientPitchTactics::ChooseOpposition(int nItem, bool bRecordUndo)
{
    const CXList* pList = CTacticsFileManager::GetFormations();
    const LPXLISTNODE pNode = pList ? pList->GetAt(nItem) : nullptr;
    if (!pNode)
        return;
    char szPath[260] = {};
    CTacticsFileManager::GetFormationPath(static_cast<const FORMATIONRECORD*>(pNode->pData), szPath, sizeof szPath);
    if (!m_Board.LoadOpposition(szPath))
        return;
    if (bRecordUndo)
        PushUndo(UNDO_OPPOSITION, 0, m_nOppositionFormation, true);
    m_nOppositionFormation = nItem;
    if (auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_OPPOSITION))) {
        const bool bWasInitialised = m_bInitialised;
        m_bInitialised = false;
        pCombo->SetCurSel(nItem);
        m_bInitialised = bWasInitialised;
    }
}

int CClientPitchTactics::CurrentEntry() const
{
    switch (m_nMode) {
    case PITCHTACTICS_MODE_KICK_OFF:
        return B::ENTRY_KICK_OFF;
    case PITCHTACTICS_MODE_GOAL_KICK:
        return B::ENTRY_GOAL_KICK;
    case PITCHTACTICS_MODE_PENALTY:
        return B::ENTRY_PENALTY;
    default:
        return std::clamp(m_nBallZone, 0, B::kZones - 1);
    }
}

BOARDPOINT& CClientPitchTactics::EditedPoint(int nPlayer)
{
    nPlayer = std::clamp(nPlayer, 0, B::kPlayers - 1);
    if (m_nMode == PITCHTACTICS_MODE_FORMATION)
        return m_Board.m_aBase[nPlayer];
    if (IsSetPieceMode(m_nMode))
        return m_Board.m_aSetPiece[nPlayer];
    return m_Board.m_aZone[CurrentEntry()][OwnSet()][nPlayer];
}

SETPIECEROUTINE* CClientPitchTactics::GetCurrentRoutine() const
{
    if (!m_pHuman)
        return nullptr;
    if (m_nMode == PITCHTACTICS_MODE_FREE_KICKS && m_nFreeKickArea >= 0 && m_nFreeKickArea < B::kFreeKickAreas)
        return &m_pHuman->FreeKickRoutine(m_nFreeKickArea, m_nRoutine);
    if (m_nMode == PITCHTACTICS_MODE_CORNERS)
        return &m_pHuman->CornerRoutine(m_nCornerSide, m_nSet, m_nRoutine);
    return nullptr;
}

BOARDPOINT CClientPitchTactics::SetPieceSpot() const
{
    if (m_nMode == PITCHTACTICS_MODE_CORNERS)
        return B::GetCornerPoint(m_nSet, m_nCornerSide);
    const plat::Rect rc = B::GetFreeKickAreaRect(m_nFreeKickArea);
    return Pt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

void CClientPitchTactics::LayOutSetPiece()
{
    if (const SETPIECEROUTINE* pRoutine = GetCurrentRoutine())
        m_Board.LoadSetPiece(*pRoutine, SetPieceSpot(), m_nSet);
}

void CClientPitchTactics::StoreRoutinePositions()
{
    if (SETPIECEROUTINE* pRoutine = GetCurrentRoutine())
        m_Board.StoreSetPiece(*pRoutine, SetPieceSpot(), m_nSet);
}

// ---- operations ----

void CClientPitchTactics::DoModeChange(int nMode, bool bRecordUndo)
{
    if (nMode < 0 || nMode >= PITCHTACTICS_MODE_COUNT) {
        DebugLog(0, "[CClientPitchTactics::DoModeChange] Unhandled PITCHTACTICS_MODE_? !");
        return;
    }
    if (!IsModeAvailable(nMode)) {
        ShowModeControls();
        return;
    }
    if (bRecordUndo)
        PushUndo(UNDO_MODE, 0, m_nMode, true);
    if (IsSetPieceMode(m_nMode))
        StoreRoutinePositions();
    m_nMode = nMode;
    m_nDrag = DRAG_NONE;
    switch (nMode) {
    case PITCHTACTICS_MODE_MARKING:
    case PITCHTACTICS_MODE_RANGES:
    case PITCHTACTICS_MODE_SUBSTITUTIONS:
        m_nBallZone = 12;
        break;
    case PITCHTACTICS_MODE_CORNERS:
        m_nCornerSide = 0;
        m_nRoutine = 0;
        LayOutSetPiece();
        break;
    case PITCHTACTICS_MODE_FREE_KICKS:
        m_nFreeKickArea = 12;
        m_nRoutine = 0;
        LayOutSetPiece();
        break;
    default:
        break;
    }
    FillRoutineList();
    ShowModeControls();
    DrawOverlay();
    DrawTakerBox();
    DrawPlayerPanel();
}

void CClientPitchTactics::SetBallZone(int nColumn, int nRow, bool bRecordUndo)
{
    const int nZone = std::clamp(nColumn, 0, 4) + 5 * std::clamp(nRow, 0, 4);
    if (bRecordUndo && nZone != m_nBallZone)
        PushUndo(UNDO_BALL_ZONE, 0, m_nBallZone, true);
    m_nBallZone = nZone;
}

void CClientPitchTactics::SetFreeKick(int nArea, int nRoutine, bool bRecordUndo)
{
    if (nArea < 0 || nArea >= B::kFreeKickAreas || nRoutine < 0 || nRoutine >= SETPIECE_ROUTINES)
        return;
    StoreRoutinePositions();
    if (bRecordUndo)
        PushUndo(UNDO_FREE_KICK, 0, m_nFreeKickArea << 16 | m_nRoutine, true);
    m_nFreeKickArea = nArea;
    m_nRoutine = nRoutine;
    LayOutSetPiece();
    FillRoutineList();
    DrawTakerBox();
}

void CClientPitchTactics::SetCorner(int nSide, int nRoutine, bool bRecordUndo)
{
    if (nSide < 0 || nSide > 1 || nRoutine < 0 || nRoutine >= SETPIECE_ROUTINES)
        return;
    StoreRoutinePositions();
    if (bRecordUndo)
        PushUndo(UNDO_CORNER, 0, m_nCornerSide << 16 | m_nRoutine, true);
    m_nCornerSide = nSide;
    m_nRoutine = nRoutine;
    LayOutSetPiece();
    FillRoutineList();
    DrawTakerBox();
}

void CClientPitchTactics::UpdatePickTeamButton(bool bChanged)
{
    auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_PICK_TEAM));
    if (!pButton)
        return;
    // A disabled button leaves its face behind: the background goes back over it.
    auto hide = [this, pButton]() {
        pButton->Enable(true);
        RestoreBackground(pButton->m_nLeft, pButton->m_nTop, pButton->Width(), pButton->Height());
    };
    if (InMatch() || !m_pHuman) {
        hide();
        return;
    }
    if (bChanged)
        m_pHuman->SetDelegation(1, 0);
    const uint8_t byPreference = m_pHuman->GetDelegation(1);
    if (byPreference == 0) {
        const bool bAssistant = m_pClub && m_pClub->m_awStaffSlots[0][0] != 0;
        if (bAssistant) {
            pButton->Enable(false);
            pButton->Show(true, true);
        } else {
            hide();
        }
    } else {
        hide();
        m_pHuman->PickTeam();
        m_pFormation = m_pHuman->GetCurrentFormation();
        m_bMadeCustom = false;
        LoadBoardFromFormation();
        FillFormationList();
    }
    m_pHuman->GetNotices().ClearResolvedNotices();
}

void CClientPitchTactics::PushUndo(uint8_t byKind, uint8_t byIndex, int32_t nOld, bool bGroup, int nEntry, int nSet)
{
    UNDORECORD record;
    record.byKind = byKind;
    record.byGroup = bGroup ? 1 : 0;
    record.byIndex = byIndex;
    record.nOld = nOld;
    record.nEntry = static_cast<int16_t>(nEntry);
    record.bySet = static_cast<uint8_t>(nSet);
    record.pFormation = m_pHuman ? m_pHuman->GetCurrentFormation() : nullptr;
    if (byKind == UNDO_PATH)
        if (const SETPIECEROUTINE* pRoutine = GetCurrentRoutine())
            record.pRoutine = std::make_shared<SETPIECEROUTINE>(*pRoutine);
    m_Undo.push_back(std::move(record));
    UpdateUndoButtons();
}

void CClientPitchTactics::UpdateUndoButtons()
{
    for (uint32_t dwID : {ID_UNDO, ID_UNDO_ALL})
        if (auto* pButton = dynamic_cast<CXButton*>(FindControl(dwID)))
            pButton->Enable(m_Undo.empty());
    if (auto* pPaste = dynamic_cast<CXButton*>(FindControl(ID_PASTE)))
        pPaste->Enable(!m_bCopied);
}

void CClientPitchTactics::Undo()
{
    bool bRolesReset = false;
    while (!m_Undo.empty()) {
        const UNDORECORD record = m_Undo.back();
        m_Undo.pop_back();
        const int i = std::clamp<int>(record.byIndex, 0, B::kPlayers - 1);
        switch (record.byKind) {
        case UNDO_MODE:
            DoModeChange(record.nOld, false);
            break;
        case UNDO_BASE:
            m_Board.m_aBase[i] = Unpack(record.nOld);
            bRolesReset = true;
            break;
        case UNDO_BALL_ZONE:
            m_nBallZone = std::clamp(record.nOld, 0, B::kZones - 1);
            break;
        case UNDO_MARKING:
            m_Board.m_abyMarking[i] = static_cast<uint8_t>(record.nOld);
            break;
        case UNDO_RANGE:
            m_Board.m_anRange[i] = static_cast<int16_t>(record.nOld);
            break;
        case UNDO_POSITION:
            if (record.nEntry < 0)
                m_Board.m_aSetPiece[i] = Unpack(record.nOld);
            else
                m_Board.m_aZone[std::clamp<int>(record.nEntry, 0, B::kEntries - 1)][record.bySet & 1][i] =
                    Unpack(record.nOld);
            break;
        case UNDO_OPPOSITION:
            ChooseOpposition(record.nOld, false);
            break;
        case UNDO_SET:
            m_nSet = record.nOld & 1;
            if (m_nMode == PITCHTACTICS_MODE_CORNERS)
                LayOutSetPiece();
            break;
        case UNDO_FRONT:
            m_bEditOwnTeam = record.nOld & 1;
            break;
        case UNDO_FREE_KICK:
            m_nFreeKickArea = std::clamp(record.nOld >> 16, 0, B::kFreeKickAreas - 1);
            m_nRoutine = std::clamp(record.nOld & 0xFFFF, 0, SETPIECE_ROUTINES - 1);
            LayOutSetPiece();
            break;
        case UNDO_CORNER:
            m_nCornerSide = std::clamp(record.nOld >> 16, 0, 1);
            m_nRoutine = std::clamp(record.nOld & 0xFFFF, 0, SETPIECE_ROUTINES - 1);
            LayOutSetPiece();
            break;
        case UNDO_PATH:
            if (SETPIECEROUTINE* pRoutine = GetCurrentRoutine(); pRoutine && record.pRoutine)
                *pRoutine = *record.pRoutine;
            break;
        case UNDO_SUBSTITUTION:
            m_Board.m_aGrid[m_nSide][std::clamp<int>(record.byIndex, 0, B::kSubstitutes - 1)].byReplaced =
                static_cast<uint8_t>(record.nOld);
            break;
        case UNDO_STRIP: {
            const int k = std::clamp<int>(record.byIndex, 0, B::kSubstitutes - 1);
            m_Board.m_aGrid[m_nSide][k].byStrip = static_cast<uint8_t>(record.nOld >> 24);
            m_Board.m_aBench[m_nSide][k] = Unpack(record.nOld & 0x00FFFFFF);
            break;
        }
        case UNDO_SWAP: {
            const int j = std::clamp(record.nOld, 0, B::kPlayers - 1);
            CPlayerDatabase* p = GetTeamPlayer(i);
            SetTeamPlayer(i, GetTeamPlayer(j));
            SetTeamPlayer(j, p);
            break;
        }
        default:
            break;
        }
        // The formation current when the step was made comes back.
        if (m_pHuman && record.pFormation && record.pFormation != m_pHuman->GetCurrentFormation() &&
            record.pFormation == &m_pHuman->GetCustomFormation())
            m_pHuman->SelectFormation(record.pFormation);
        if (record.byGroup)
            break;
    }
    // The roles the restored base points give are the ones to compare with.
    if (bRolesReset)
        m_Board.GetRoles(m_abyRolesBefore.data());
    if (IsSetPieceMode(m_nMode))
        StoreRoutinePositions();
    m_bBoardChanged = true;
    ShowModeControls();
    UpdateUndoButtons();
    DrawTakerBox();
    DrawPlayerPanel();
}

void CClientPitchTactics::Copy()
{
    for (int i = 0; i < B::kPlayers; ++i)
        m_aCopy[static_cast<size_t>(i)] = m_wSelection & (1u << i) ? EditedPoint(i) : Pt(-1, -1);
    m_bCopied = m_wSelection != 0;
    UpdateUndoButtons();
}

void CClientPitchTactics::Paste()
{
    if (!m_bCopied)
        return;
    bool bFirst = true;
    for (int i = 0; i < B::kPlayers; ++i) {
        const BOARDPOINT& copied = m_aCopy[static_cast<size_t>(i)];
        BOARDPOINT& target = EditedPoint(i);
        if (copied.x == -1 || copied == target)
            continue;
        if (bFirst && !IsSetPieceMode(m_nMode))
            MakeCustomOnFirstChange();
        const int nEntry = IsSetPieceMode(m_nMode) ? -1 : CurrentEntry();
        PushUndo(m_nMode == PITCHTACTICS_MODE_FORMATION ? UNDO_BASE : UNDO_POSITION, static_cast<uint8_t>(i),
                 Pack(target), bFirst, nEntry, OwnSet());
        target = copied;
        bFirst = false;
    }
    if (!bFirst) {
        if (m_nMode == PITCHTACTICS_MODE_FORMATION)
            CheckRoleChange();
        else if (IsSetPieceMode(m_nMode))
            StoreRoutinePositions();
    }
}

void CClientPitchTactics::CheckRoleChange()
{
    std::array<uint8_t, B::kPlayers> roles{};
    m_Board.GetRoles(roles.data());
    if (roles == m_abyRolesBefore)
        return;
    m_abyRolesBefore = roles;
    // New roles: every zone place starts again from the base points.
    m_Board.ResetZonesToBase();
    m_bBoardChanged = true;
    if (!m_bRolesMessageShown) {
        m_bRolesMessageShown = true;
        ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_ROLES_CHANGED);
    }
}

// ---- hit tests ----

int CClientPitchTactics::HitOwnMarker(int x, int y) const
{
    for (int i = 0; i < B::kPlayers; ++i)
        if (GetTeamPlayer(i) && B::IsMarkerHit(m_aOwnShown[static_cast<size_t>(i)], x, y))
            return i;
    return -1;
}

int CClientPitchTactics::HitOppositionMarker(int x, int y) const
{
    if (!m_Board.HasOpposition())
        return -1;
    int nBest = -1, nBestDistance = 0;
    for (int i = 0; i < B::kPlayers; ++i) {
        const BOARDPOINT& p = m_aOppositionShown[static_cast<size_t>(i)];
        if (!B::IsMarkerHit(p, x, y))
            continue;
        const int nDistance = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
        if (nBest < 0 || nDistance < nBestDistance)
            nBest = i, nBestDistance = nDistance;
    }
    return nBest;
}

int CClientPitchTactics::HitSubstitute(int x, int y) const
{
    if (!InMatch())
        return -1;
    for (int k = 0; k < B::kSubstitutes; ++k)
        if (GetTeamPlayer(B::kPlayers + k) && B::IsMarkerHit(m_Board.m_aBench[m_nSide][k], x, y))
            return k;
    return -1;
}

BOARDPOINT CClientPitchTactics::GetBallPoint() const
{
    if (m_nDrag == DRAG_BALL)
        return m_BallDrag;
    if (IsSetPieceMode(m_nMode))
        return SetPieceSpot();
    if (m_nMode == PITCHTACTICS_MODE_PENALTY)
        return B::GetPenaltySpot(m_nSet);
    return B::GetZoneCentre(std::clamp(m_nBallZone, 0, B::kZones - 1));
}

bool CClientPitchTactics::HitBall(int x, int y) const
{
    if (!ShowsBallZone(m_nMode) && !IsSetPieceMode(m_nMode))
        return false;
    const BOARDPOINT p = GetBallPoint();
    return std::abs(x - p.x) <= kBallSize / 2 + 2 && std::abs(y - p.y) <= kBallSize / 2 + 2;
}

int CClientPitchTactics::HitPathPoint(int x, int y) const
{
    const SETPIECEROUTINE* pRoutine = GetCurrentRoutine();
    if (!pRoutine)
        return -1;
    for (int n = 0; n < pRoutine->byTargetCount && n < SETPIECE_TARGETS; ++n) {
        BOARDPOINT p = Pt(pRoutine->awTargetX[n], pRoutine->awTargetY[n]);
        if (pRoutine->awTargetX[n] == 0xFFFF)
            p = m_aOwnShown[std::min<size_t>(pRoutine->awTargetY[n], B::kPlayers - 1)];
        if (B::IsMarkerHit(p, x, y))
            return n;
    }
    return -1;
}

BOARDPOINT CClientPitchTactics::GetMarkerPoint(int nIndex) const
{
    return nIndex >= 0 && nIndex < kBoardMarkers ? m_aOwnShown[static_cast<size_t>(nIndex)] : BOARDPOINT{};
}

void CClientPitchTactics::ComputeDisplayedMarkers()
{
    const int nOwnSet = OwnSet(), nOppositionSet = OppositionSet();
    for (int i = 0; i < B::kPlayers; ++i) {
        const size_t n = static_cast<size_t>(i);
        switch (m_nMode) {
        case PITCHTACTICS_MODE_FORMATION:
            m_aOwnShown[n] = m_Board.m_aBase[i];
            m_aOppositionShown[n] = m_Board.m_aOpposition[B::kZones / 2][nOppositionSet][i];
            break;
        case PITCHTACTICS_MODE_CORNERS:
        case PITCHTACTICS_MODE_FREE_KICKS:
            m_aOwnShown[n] = m_Board.m_aSetPiece[i];
            break;
        case PITCHTACTICS_MODE_KICK_OFF:
        case PITCHTACTICS_MODE_GOAL_KICK:
        case PITCHTACTICS_MODE_PENALTY:
            m_aOwnShown[n] = m_Board.m_aZone[CurrentEntry()][nOwnSet][i];
            m_aOppositionShown[n] = m_Board.m_aOpposition[CurrentEntry()][nOppositionSet][i];
            break;
        default:
            m_aOwnShown[n] = m_Board.m_aZone[CurrentEntry()][nOwnSet][i];
            m_aOppositionShown[n] = m_Board.m_aOpposition[B::MirrorZone(CurrentEntry())][nOppositionSet][i];
            break;
        }
    }
    if (IsSetPieceMode(m_nMode)) {
        const BOARDPOINT spot = SetPieceSpot();
        m_Board.PlaceForBall(spot.x, spot.y, nOwnSet, nOppositionSet, nullptr, m_aOppositionShown.data());
    }
    // The ball being dragged places both teams between the zones.
    if (m_nDrag == DRAG_BALL && ShowsBallZone(m_nMode))
        m_Board.PlaceForBall(m_BallDrag.x, m_BallDrag.y, nOwnSet, nOppositionSet, m_aOwnShown.data(),
                             m_aOppositionShown.data());
    for (int k = 0; k < B::kSubstitutes; ++k)
        m_aOwnShown[static_cast<size_t>(B::kPlayers + k)] = m_Board.m_aBench[m_nSide][k];
}

// ---- input ----

void CClientPitchTactics::OnLButtonDown(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonDown(flags, x, y);
    if (!m_pHuman || !m_bInitialised || ControlFromPoint(x, y))
        return;
    ComputeDisplayedMarkers();
    m_Mouse = plat::Point{x, y};
    m_DragStart = m_Mouse;
    if (m_bEditOwnTeam) {
        if (const int i = HitOwnMarker(x, y); i >= 0) {
            const uint16_t wBit = static_cast<uint16_t>(1u << i);
            if (flags & plat::MK_CONTROL)
                m_wSelection |= wBit;
            else if (!(m_wSelection & wBit))
                m_wSelection = wBit;
            m_nPicked = i;
            m_nDrag = DRAG_PLAYERS;
            for (int j = 0; j < B::kPlayers; ++j)
                m_aDragStart[static_cast<size_t>(j)] = m_wSelection & (1u << j) ? EditedPoint(j) : Pt(-1, -1);
            m_Board.GetRoles(m_abyRolesBefore.data());
            DrawPlayerPanel();
            return;
        }
        if (const int k = HitSubstitute(x, y); k >= 0 && !m_Board.m_aGrid[m_nSide][k].byDone) {
            m_nPicked = B::kPlayers + k;
            m_nDrag = DRAG_SUBSTITUTE;
            m_aDragStart[0] = m_Board.m_aBench[m_nSide][k];
            return;
        }
    }
    if (m_nMode == PITCHTACTICS_MODE_RANGES && m_nPicked < B::kPlayers) {
        const BOARDPOINT p = m_aOwnShown[static_cast<size_t>(m_nPicked)];
        for (int nSign : {-1, 1}) {
            const int hx = p.x + nSign * m_Board.m_anRange[m_nPicked];
            if (x >= hx - 3 && x <= hx + 6 && y >= p.y - 3 && y <= p.y + 6) {
                m_nDrag = DRAG_RANGE;
                m_aDragStart[0] = Pt(m_Board.m_anRange[m_nPicked], 0);
                return;
            }
        }
    }
    if (HitBall(x, y)) {
        m_nDrag = DRAG_BALL;
        m_nZoneBeforeDrag = m_nBallZone;
        m_BallDrag = GetBallPoint();
        return;
    }
    if (B::IsOnPitch(x, y))
        m_nDrag = DRAG_RECTANGLE;
}

void CClientPitchTactics::OnMouseMove(uint32_t flags, int x, int y)
{
    CGameClient::OnMouseMove(flags, x, y);
    const int dx = x - m_Mouse.x, dy = y - m_Mouse.y;
    m_Mouse = plat::Point{x, y};
    switch (m_nDrag) {
    case DRAG_PLAYERS: {
        const bool bSetPiece = IsSetPieceMode(m_nMode);
        for (int i = 0; i < B::kPlayers; ++i) {
            if (!(m_wSelection & (1u << i)) || (i == 0 && !bSetPiece))
                continue;
            const BOARDPOINT& start = m_aDragStart[static_cast<size_t>(i)];
            EditedPoint(i) = Pt(start.x + x - m_DragStart.x, start.y + y - m_DragStart.y);
        }
        // One player dropped into the taker box takes the set piece.
        const bool bOne = m_wSelection && !(m_wSelection & (m_wSelection - 1));
        if (bSetPiece && bOne && x >= kTakerLeft && x < kTakerRight && y >= kTakerTop && y < kTakerBottom) {
            if (SETPIECEROUTINE* pRoutine = GetCurrentRoutine()) {
                PushUndo(UNDO_PATH, 0, 0, true);
                pRoutine->byTaker = static_cast<uint8_t>(m_nPicked);
            }
            for (int i = 0; i < B::kPlayers; ++i)
                if (m_wSelection & (1u << i))
                    EditedPoint(i) = m_aDragStart[static_cast<size_t>(i)];
            m_nDrag = DRAG_NONE;
            DrawTakerBox();
        }
        break;
    }
    case DRAG_RANGE:
        if (m_nPicked < B::kPlayers)
            m_Board.m_anRange[m_nPicked] = static_cast<int16_t>(
                std::clamp(std::abs(x - m_aOwnShown[static_cast<size_t>(m_nPicked)].x), B::kRangeMin, B::kRangeMax));
        break;
    case DRAG_BALL:
        m_BallDrag = Pt(x, y);
        break;
    case DRAG_SUBSTITUTE:
        if (m_nPicked >= B::kPlayers && m_nPicked < kBoardMarkers) {
            BOARDPOINT& p = m_Board.m_aBench[m_nSide][m_nPicked - B::kPlayers];
            p = Pt(p.x + dx, p.y + dy);
        }
        break;
    default:
        break;
    }
    if (m_nDrag == DRAG_NONE)
        m_nHovered = HitOwnMarker(x, y);
}

void CClientPitchTactics::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonUp(flags, x, y);
    const int nDrag = m_nDrag;
    m_nDrag = DRAG_NONE;
    switch (nDrag) {
    case DRAG_PLAYERS: {
        // One player dropped onto another in the formation: they swap.
        const bool bOne = m_wSelection && !(m_wSelection & (m_wSelection - 1));
        if (m_nMode == PITCHTACTICS_MODE_FORMATION && bOne) {
            for (int j = 0; j < B::kPlayers; ++j) {
                if (j == m_nPicked || !B::IsMarkerHit(m_Board.m_aBase[j], x, y))
                    continue;
                m_Board.m_aBase[m_nPicked] = m_aDragStart[static_cast<size_t>(m_nPicked)];
                if (m_nPicked == 0 || j == 0)
                    break;
                PushUndo(UNDO_SWAP, static_cast<uint8_t>(m_nPicked), j, true);
                CPlayerDatabase* p = GetTeamPlayer(m_nPicked);
                SetTeamPlayer(m_nPicked, GetTeamPlayer(j));
                SetTeamPlayer(j, p);
                UpdatePickTeamButton(true);
                DrawPlayerPanel();
                return;
            }
        }
        bool bFirst = true;
        const int nEntry = IsSetPieceMode(m_nMode) ? -1 : CurrentEntry();
        for (int i = 0; i < B::kPlayers; ++i) {
            const BOARDPOINT& start = m_aDragStart[static_cast<size_t>(i)];
            if (!(m_wSelection & (1u << i)) || EditedPoint(i) == start)
                continue;
            // Set-piece places belong to the routine, not the formation.
            if (bFirst && !IsSetPieceMode(m_nMode))
                MakeCustomOnFirstChange();
            PushUndo(m_nMode == PITCHTACTICS_MODE_FORMATION ? UNDO_BASE : UNDO_POSITION, static_cast<uint8_t>(i),
                     Pack(start), bFirst, nEntry, OwnSet());
            EditedPoint(i) = B::ClampMarker(i, EditedPoint(i), IsSetPieceMode(m_nMode) ? -1 : nEntry, OwnSet());
            // The formation's base points stay on the pitch.
            if (m_nMode == PITCHTACTICS_MODE_FORMATION)
                EditedPoint(i) = Pt(std::clamp<int>(EditedPoint(i).x, B::kPitchLeft, B::kPitchRight - 1),
                                    std::clamp<int>(EditedPoint(i).y, B::kPitchTop, B::kPitchBottom - 1));
            bFirst = false;
        }
        if (!bFirst) {
            if (m_nMode == PITCHTACTICS_MODE_FORMATION)
                CheckRoleChange();
            if (IsSetPieceMode(m_nMode))
                StoreRoutinePositions();
            UpdatePickTeamButton(true);
        }
        DrawPlayerPanel();
        break;
    }
    case DRAG_RANGE:
        if (m_nPicked < B::kPlayers && m_Board.m_anRange[m_nPicked] != m_aDragStart[0].x) {
            MakeCustomOnFirstChange();
            PushUndo(UNDO_RANGE, static_cast<uint8_t>(m_nPicked), m_aDragStart[0].x, true);
        }
        break;
    case DRAG_BALL:
        if (!B::IsOnPitch(x, y)) {
            m_nBallZone = m_nZoneBeforeDrag;
        } else if (m_nMode == PITCHTACTICS_MODE_FREE_KICKS) {
            const int nArea = B::GetFreeKickArea(x, y);
            if (nArea >= 0 && nArea != m_nFreeKickArea)
                SetFreeKick(nArea, m_nRoutine, true);
        } else if (m_nMode == PITCHTACTICS_MODE_CORNERS) {
            const int nSide = B::GetCornerSpot(m_nSet, x, y);
            if (B::IsCornerSpotHit(m_nSet, nSide, x, y) && nSide != m_nCornerSide)
                SetCorner(nSide, m_nRoutine, true);
        } else {
            SetBallZone((x - B::kPitchLeft) / B::kZoneWidth, (y - B::kPitchTop) / B::kZoneHeight, true);
        }
        break;
    case DRAG_RECTANGLE: {
        const int l = std::max(std::min(m_DragStart.x, x), B::kPitchLeft);
        const int r = std::min(std::max(m_DragStart.x, x), B::kPitchRight);
        const int t = std::max(std::min(m_DragStart.y, y), B::kPitchTop);
        const int b = std::min(std::max(m_DragStart.y, y), B::kPitchBottom);
        uint16_t wSelected = 0;
        for (int i = 0; i < B::kPlayers && m_bEditOwnTeam; ++i) {
            const BOARDPOINT& p = m_aOwnShown[static_cast<size_t>(i)];
            if (GetTeamPlayer(i) && p.x >= l && p.x <= r && p.y >= t && p.y <= b)
                wSelected |= static_cast<uint16_t>(1u << i);
        }
        m_wSelection = (flags & plat::MK_CONTROL) ? static_cast<uint16_t>(m_wSelection | wSelected) : wSelected;
        if (m_wSelection)
            m_nPicked = static_cast<int>(std::countr_zero(static_cast<unsigned>(m_wSelection)));
        DrawPlayerPanel();
        break;
    }
    case DRAG_SUBSTITUTE: {
        const int k = m_nPicked - B::kPlayers;
        if (k < 0 || k >= B::kSubstitutes)
            break;
        BOARDPOINT& p = m_Board.m_aBench[m_nSide][k];
        SUBSTITUTIONCELL& cell = m_Board.m_aGrid[m_nSide][k];
        const BOARDPOINT start = m_aDragStart[0];
        p = B::ClampMarker(m_nPicked, p, 0, 0);
        PushUndo(UNDO_STRIP, static_cast<uint8_t>(k), static_cast<int32_t>(cell.byStrip) << 24 | (Pack(start) & 0xFFFFFF),
                 true);
        cell.byStrip = p.x >= kStripSplit ? 1 : 0;
        break;
    }
    default:
        break;
    }
}

void CClientPitchTactics::OnRButtonDown(uint32_t flags, int x, int y)
{
    CGameClient::OnRButtonDown(flags, x, y);
    if (!m_pHuman || !m_bInitialised || !m_bEditOwnTeam)
        return;
    ComputeDisplayedMarkers();
    m_DragStart = plat::Point{x, y};
    m_Mouse = m_DragStart;
    if (m_nMode == PITCHTACTICS_MODE_MARKING) {
        if (const int i = HitOwnMarker(x, y); i >= 0) {
            m_nPicked = i;
            m_nDrag = DRAG_MARKING;
        }
    } else if (m_nMode == PITCHTACTICS_MODE_FREE_KICKS ||
               (m_nMode == PITCHTACTICS_MODE_CORNERS && m_nSet == B::SET_ATTACKING)) {
        SETPIECEROUTINE* pRoutine = GetCurrentRoutine();
        if (!pRoutine)
            return;
        int n = HitPathPoint(x, y);
        if (n < 0 && HitBall(x, y))
            n = 0;
        if (n < 0)
            return;
        PushUndo(UNDO_PATH, 0, 0, true);
        if (pRoutine->byTargetCount == 0) {
            // The path starts at the ball.
            const BOARDPOINT spot = SetPieceSpot();
            pRoutine->awTargetX[0] = static_cast<uint16_t>(spot.x);
            pRoutine->awTargetY[0] = static_cast<uint16_t>(spot.y);
        }
        pRoutine->byTargetCount = static_cast<uint8_t>(n + 1);
        m_nDrag = DRAG_PATH;
    } else if (m_nMode == PITCHTACTICS_MODE_SUBSTITUTIONS) {
        if (const int k = HitSubstitute(x, y); k >= 0 && !m_Board.m_aGrid[m_nSide][k].byDone) {
            m_nPicked = B::kPlayers + k;
            m_nDrag = DRAG_SUBSTITUTION;
        }
    }
}

void CClientPitchTactics::OnRButtonUp(uint32_t flags, int x, int y)
{
    CGameClient::OnRButtonUp(flags, x, y);
    const int nDrag = m_nDrag;
    switch (nDrag) {
    case DRAG_MARKING:
        m_nDrag = DRAG_NONE;
        if (const int j = HitOppositionMarker(x, y); j >= 0 && m_nPicked < B::kPlayers &&
                                                     m_Board.m_abyMarking[m_nPicked] != j) {
            MakeCustomOnFirstChange();
            PushUndo(UNDO_MARKING, static_cast<uint8_t>(m_nPicked), m_Board.m_abyMarking[m_nPicked], true);
            m_Board.m_abyMarking[m_nPicked] = static_cast<uint8_t>(j);
        }
        break;
    case DRAG_PATH: {
        // Each release adds a point: a pass to a player or a free point.
        SETPIECEROUTINE* pRoutine = GetCurrentRoutine();
        if (!pRoutine || pRoutine->byTargetCount >= SETPIECE_TARGETS || !B::IsOnPitch(x, y)) {
            m_nDrag = DRAG_NONE;
            break;
        }
        const int n = pRoutine->byTargetCount;
        if (const int i = HitOwnMarker(x, y); i >= 0) {
            pRoutine->awTargetX[n] = 0xFFFF;
            pRoutine->awTargetY[n] = static_cast<uint16_t>(i);
        } else {
            pRoutine->awTargetX[n] = static_cast<uint16_t>(x);
            pRoutine->awTargetY[n] = static_cast<uint16_t>(y);
        }
        pRoutine->byTargetCount = static_cast<uint8_t>(n + 1);
        m_nDrag = DRAG_NONE;
        break;
    }
    case DRAG_SUBSTITUTION: {
        m_nDrag = DRAG_NONE;
        const int k = m_nPicked - B::kPlayers;
        const int j = HitOwnMarker(x, y);
        if (k < 0 || k >= B::kSubstitutes || j < 0 || m_nSubstitutionsMade >= m_Rules.bySubstitutions)
            break;
        SUBSTITUTIONCELL& cell = m_Board.m_aGrid[m_nSide][k];
        PushUndo(UNDO_SUBSTITUTION, static_cast<uint8_t>(k), cell.byReplaced, true);
        // A starter is replaced by one substitute at a time.
        for (SUBSTITUTIONCELL& other : m_Board.m_aGrid[m_nSide])
            if (&other != &cell && !other.byDone && other.byReplaced == j)
                other.byReplaced = 255;
        cell.byReplaced = static_cast<uint8_t>(j);
        break;
    }
    default:
        m_nDrag = DRAG_NONE;
        break;
    }
}

void CClientPitchTactics::OnLButtonDblClk(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonDblClk(flags, x, y);
    if (!m_bInitialised || ControlFromPoint(x, y))
        return;
    ComputeDisplayedMarkers();
    int i = HitOwnMarker(x, y);
    if (i < 0) {
        const int k = HitSubstitute(x, y);
        i = k >= 0 ? B::kPlayers + k : -1;
    }
    CPlayerDatabase* pPlayer = GetTeamPlayer(i);
    if (!pPlayer)
        return;
    if (pPlayer->IsRetired())
        ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_RETIRED);
    else
        ShowPlayerDetails(pPlayer->m_idPerson, false);
}

void CClientPitchTactics::OnClicked(uint32_t dwID)
{
    switch (dwID) {
    case ID_SHOW_OPPOSITION:
    case ID_SHOW_OWN:
        PushUndo(UNDO_FRONT, 0, m_bEditOwnTeam, true);
        m_bEditOwnTeam = dwID == ID_SHOW_OWN ? 0 : 1;
        ShowModeControls();
        return;
    case ID_SET_ATTACKING:
    case ID_SET_DEFENDING:
        if (IsSetPieceMode(m_nMode))
            StoreRoutinePositions();
        PushUndo(UNDO_SET, 0, m_nSet, true);
        m_nSet = dwID == ID_SET_ATTACKING ? B::SET_DEFENDING : B::SET_ATTACKING;
        if (m_nMode == PITCHTACTICS_MODE_CORNERS)
            LayOutSetPiece();
        ShowModeControls();
        DrawTakerBox();
        return;
    case ID_SAVE:
        if (!m_pSaveTactics)
            return;
        if (m_nMode == PITCHTACTICS_MODE_CORNERS) {
            m_pSaveTactics->Show(SAVEDIALOG_CORNERS);
        } else if (m_nMode == PITCHTACTICS_MODE_FREE_KICKS) {
            m_pSaveTactics->Show(SAVEDIALOG_FREE_KICKS);
        } else {
            if (m_bBoardChanged)
                StoreBoardToFormation();
            m_pSaveTactics->Show(SAVEDIALOG_FORMATION);
        }
        return;
    case ID_PICK_TEAM:
        if (auto* pBox = dynamic_cast<CPopupMessageBox*>(GetGameMessageBox()))
            pBox->SetExtraButtons({ID_PICK_DEFENSIVE, ID_PICK_BALANCED, ID_PICK_ATTACKING});
        ShowGameMessageBox(CGameMessageBox::MODE_CANCEL_AND_CHOICES, MESSAGE_WHO_PICKS);
        return;
    case ID_LAST_MEETING:
        if (m_nLastMeeting >= 0)
            GetAdvancedMatchDetailsPopup().Show(static_cast<uint32_t>(m_nLastMeeting), false);
        return;
    case ID_TEAM_ORDERS:
        if (m_pHuman && m_pTeamOrders)
            m_pTeamOrders->Open();
        return;
    case ID_PLAYER_ORDERS:
        OpenPlayerOrders();
        return;
    case ID_MATCH_RULES:
        m_RulesPopup.SetRules(m_Rules);
        m_RulesPopup.Open();
        return;
    case ID_UNDO:
        Undo();
        return;
    case ID_UNDO_ALL:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_UNDO_ALL);
        return;
    case ID_COPY:
        Copy();
        return;
    case ID_PASTE:
        Paste();
        return;
    default:
        CGameClient::OnClicked(dwID);
        return;
    }
}

void CClientPitchTactics::OnSelChange(uint32_t dwID)
{
    if (!m_bInitialised || !m_pHuman)
        return;
    auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(dwID));
    const int nRow = pCombo ? pCombo->GetSelection() : -1;
    if (nRow < 0)
        return;
    switch (dwID) {
    case ID_MODES:
        DoModeChange(static_cast<int>(pCombo->GetItemData(nRow)), true);
        break;
    case ID_FORMATIONS: {
        const CXList* pList = CTacticsFileManager::GetFormations();
        const int nListed = pList ? pList->GetCount() : 0;
        if (nRow < nListed) {
            if (LPXLISTNODE pNode = pList->GetAt(nRow))
                ChooseFormation(static_cast<const FORMATIONRECORD*>(pNode->pData));
        } else {
            ChooseFormation(&m_pHuman->GetCustomFormation());
        }
        break;
    }
    case ID_OPPOSITION:
        ChooseOpposition(nRow, true);
        break;
    case ID_FREE_KICKS:
    case ID_CORNERS: {
        const CXList* pList =
            dwID == ID_FREE_KICKS ? CTacticsFileManager::GetFreeKickSets() : CTacticsFileManager::GetCornerSets();
        const LPXLISTNODE pNode = pList ? pList->GetAt(nRow) : nullptr;
        if (!pNode)
            break;
        const SETPIECERECORD* pSet = static_cast<const SETPIECERECORD*>(pNode->pData);
        if (m_bBoardChanged)
            StoreBoardToFormation();
        const bool bShipped = pSet->byBuiltIn != 0;
        if (dwID == ID_FREE_KICKS)
            m_pHuman->LoadFreeKicks(pSet->szName, bShipped);
        else
            m_pHuman->LoadCorners(pSet->szName, bShipped);
        LayOutSetPiece();
        m_Undo.clear();
        UpdateUndoButtons();
        DrawTakerBox();
        break;
    }
    case ID_ROUTINE:
        if (m_nMode == PITCHTACTICS_MODE_FREE_KICKS)
            SetFreeKick(m_nFreeKickArea, nRow, true);
        else if (m_nMode == PITCHTACTICS_MODE_CORNERS)
            SetCorner(m_nCornerSide, nRow, true);
        break;
    default:
        break;
    }
}

void CClientPitchTactics::OnGetToolTipText(uint32_t dwID, char* pszText)
{
    if (dwID != ID_UNDO || m_Undo.empty() || !pszText)
        return;
    const char* pszItem = GetTableText(kUndoTextSet, m_Undo.back().byKind);
    std::snprintf(pszText, 256, "%s", pszItem ? pszItem : "");
}

void CClientPitchTactics::OpenPlayerOrders()
{
    if (!m_pHuman || !m_pPlayerOrders || m_wSelection == 0)
        return;
    // The popup shows the selected places' average; OK gives each of them
    // the values the popup hands back.
    std::array<int, SAVEGAME_TEAM_ORDERS> anSum{};
    int nPlaces = 0;
    for (int nPlace = 0; nPlace < B::kPlayers; ++nPlace) {
        if (!(m_wSelection & (1u << nPlace)))
            continue;
        ++nPlaces;
        for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
            anSum[static_cast<size_t>(i)] += m_pHuman->GetTeamOrderAdjustment(nPlace, i);
    }
    if (nPlaces == 0)
        return;
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        m_abySelectionOrders[static_cast<size_t>(i)] = static_cast<int8_t>(anSum[static_cast<size_t>(i)] / nPlaces);
    m_wOrdersSelection = m_wSelection;
    if (!m_pPlayerOrders->Show(m_abySelectionOrders.data()))
        m_wOrdersSelection = 0;
}

void CClientPitchTactics::UpdatePlayerOrdersButton()
{
    // The button's flag says disabled: the orders need a selected place.
    if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_PLAYER_ORDERS)))
        pButton->Enable(!m_pHuman || m_wSelection == 0);
}

void CClientPitchTactics::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup && pPopup == m_pPlayerOrders.get()) {
        if (m_pHuman && pPopup->m_dwResultID == CGamePopup::kOkButtonID)
            for (int nPlace = 0; nPlace < B::kPlayers; ++nPlace)
                if (m_wOrdersSelection & (1u << nPlace))
                    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
                        m_pHuman->SetTeamOrderAdjustment(nPlace, i, m_abySelectionOrders[static_cast<size_t>(i)]);
        m_wOrdersSelection = 0;
        return;
    }
    if (!pPopup || pPopup != m_pSaveTactics.get())
        return;
    if (pPopup->m_dwResultID == CGamePopup::kOkButtonID)
        SaveChosenName(m_pSaveTactics->GetChosenName());
    else
        AfterPopupFilesChanged();
    m_Undo.clear();
    UpdateUndoButtons();
}

void CClientPitchTactics::SaveChosenName(const std::string& name)
{
    if (!m_pHuman || name.empty())
        return;
    // The folder of saves may not be there before the first save.
    plat::makeDirectories("Data\\Saves");
    if (m_nMode == PITCHTACTICS_MODE_CORNERS || m_nMode == PITCHTACTICS_MODE_FREE_KICKS) {
        StoreRoutinePositions();
        const bool bCorners = m_nMode == PITCHTACTICS_MODE_CORNERS;
        const bool bSaved = bCorners ? m_pHuman->SaveCorners(name.c_str()) : m_pHuman->SaveFreeKicks(name.c_str());
        if (!bSaved) {
            ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_NOT_WRITTEN);
            return;
        }
        if (bCorners)
            CTacticsFileManager::GetOrAddCornerSet(name.c_str());
        else
            CTacticsFileManager::GetOrAddFreeKickSet(name.c_str());
        const uint32_t dwList = bCorners ? ID_CORNERS : ID_FREE_KICKS;
        FillSetPieceList(dwList);
        const CXList* pList =
            bCorners ? CTacticsFileManager::GetCornerSets() : CTacticsFileManager::GetFreeKickSets();
        int nRow = 0;
        if (pList)
            for (const SETPIECERECORD* pSet : pList->Items<SETPIECERECORD>()) {
                if (name == pSet->szName)
                    if (auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(dwList))) {
                        const bool bWasInitialised = m_bInitialised;
                        m_bInitialised = false;
                        pCombo->SetCurSel(nRow);
                        m_bInitialised = bWasInitialised;
                    }
                ++nRow;
            }
        return;
    }
    StoreBoardToFormation();
    if (!m_pHuman->SaveTactics(name.c_str())) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, MESSAGE_NOT_WRITTEN);
        return;
    }
    FORMATIONRECORD* pRecord = CTacticsFileManager::GetOrAddFormation(name.c_str());
    if (pRecord) {
        pRecord->byShipped = 0;
        CTacticsFileManager::GetPresetRoles(pRecord);
    }
    if (!pRecord || !m_pHuman->SelectFormation(pRecord))
        m_pHuman->SelectFormation(&m_pHuman->GetCustomFormation());
    m_pFormation = m_pHuman->GetCurrentFormation();
    m_bMadeCustom = false;
    LoadBoardFromFormation();
    FillFormationList();
    FillOppositionList();
    if (auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_OPPOSITION))) {
        const bool bWasInitialised = m_bInitialised;
        m_bInitialised = false;
        pCombo->SetCurSel(m_nOppositionFormation);
        m_bInitialised = bWasInitialised;
    }
}

void CClientPitchTactics::AfterPopupFilesChanged()
{
    // Files may have been deleted in the popup.
    if (m_nMode == PITCHTACTICS_MODE_CORNERS) {
        FillSetPieceList(ID_CORNERS);
        return;
    }
    if (m_nMode == PITCHTACTICS_MODE_FREE_KICKS) {
        FillSetPieceList(ID_FREE_KICKS);
        return;
    }
    if (!m_pHuman)
        return;
    if (m_pHuman->GetCurrentFormation() != m_pFormation) {
        m_pFormation = m_pHuman->GetCurrentFormation();
        LoadBoardFromFormation();
    }
    FillFormationList();
    FillOppositionList();
    const CXList* pList = CTacticsFileManager::GetFormations();
    if (pList && m_nOppositionFormation >= pList->GetCount())
        ChooseOpposition(0, false);
    else if (auto* pCombo = dynamic_cast<CXComboBox*>(FindControl(ID_OPPOSITION))) {
        const bool bWasInitialised = m_bInitialised;
        m_bInitialised = false;
        pCombo->SetCurSel(m_nOppositionFormation);
        m_bInitialised = bWasInitialised;
    }
}

void CClientPitchTactics::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox) {
        CGameClient::OnEndMessageBoxPopup();
        return;
    }
    if (pBox->GetTextItem() == MESSAGE_WHO_PICKS) {
        uint8_t byPreference = 0;
        if (pBox->m_dwResultID == ID_PICK_DEFENSIVE)
            byPreference = 3;
        else if (pBox->m_dwResultID == ID_PICK_BALANCED)
            byPreference = 2;
        else if (pBox->m_dwResultID == ID_PICK_ATTACKING)
            byPreference = 1;
        if (byPreference && m_pHuman) {
            m_pHuman->SetDelegation(1, byPreference);
            m_Undo.clear();
            UpdateUndoButtons();
        }
        UpdatePickTeamButton(false);
        return;
    }
    if (pBox->GetTextItem() == MESSAGE_UNDO_ALL) {
        if (pBox->m_dwResultID == CGamePopup::kOkButtonID)
            while (!m_Undo.empty())
                Undo();
        return;
    }
    CGameClient::OnEndMessageBoxPopup();
}

void CClientPitchTactics::UpdateBars() { CGameClient::UpdateBars(); }

// ---- drawing ----

void CClientPitchTactics::DrawOverlay()
{
    if (!m_pDrawingSurface || !m_pDrawingSurface->m_pSurface || !m_pBackground || !m_pBackground->m_pSurface)
        return;
    const int nWidth = B::kPitchRight - B::kPitchLeft, nHeight = B::kPitchBottom - B::kPitchTop;
    // The bare pitch again, then the mode's lines blended over it.
    const plat::Rect pitch{B::kPitchLeft, B::kPitchTop, B::kPitchRight, B::kPitchBottom};
    m_pDrawingSurface->m_pSurface->bltFast(B::kPitchLeft, B::kPitchTop, *m_pBackground->m_pSurface, &pitch,
                                           plat::BLTFAST_WAIT);
    if (!m_pOverlay || !m_pOverlay->m_pSurface)
        return;
    m_pOverlay->Fill(kMagenta);
    plat::DeviceContext* pDC = m_pOverlay->m_pSurface->getDC();
    auto outline = [pDC](const plat::Rect& rc) {
        DrawRectOutline(pDC, rc.left - B::kPitchLeft, rc.top - B::kPitchTop, rc.right - B::kPitchLeft,
                        rc.bottom - B::kPitchTop, kOverlayLine, 2);
    };
    switch (m_nMode) {
    case PITCHTACTICS_MODE_FORMATION:
        for (int n = 0; n < B::kRoleAreas; ++n)
            outline(B::GetRoleArea(n));
        break;
    case PITCHTACTICS_MODE_MARKING:
    case PITCHTACTICS_MODE_RANGES:
        for (int x = B::kZoneWidth; x < nWidth; x += B::kZoneWidth)
            DrawLine(pDC, x, 0, x, nHeight, kOverlayLine, 2, plat::PS_SOLID);
        for (int y = B::kZoneHeight; y < nHeight; y += B::kZoneHeight)
            DrawLine(pDC, 0, y, nWidth, y, kOverlayLine, 2, plat::PS_SOLID);
        break;
    case PITCHTACTICS_MODE_CORNERS:
        for (int nSide = 0; nSide < 2; ++nSide) {
            const BOARDPOINT p = B::GetCornerPoint(m_nSet, nSide);
            DrawCircleOutline(pDC, p.x - B::kPitchLeft, p.y - B::kPitchTop, B::kCornerReach, kOverlayLine, 2);
        }
        break;
    case PITCHTACTICS_MODE_FREE_KICKS:
        for (int n = 0; n < B::kFreeKickAreas; ++n)
            outline(B::GetFreeKickAreaRect(n));
        break;
    default:
        break;
    }
    m_pOverlay->m_pSurface->releaseDC(pDC);
    m_pDrawingSurface->BlendBltKeyed(m_pDrawingSurface, m_pOverlay.get(), B::kPitchLeft, B::kPitchTop, 0, 0,
                                     B::kPitchLeft, B::kPitchTop, nWidth, nHeight, 0.33f);
}

void CClientPitchTactics::DrawTakerBox()
{
    if (!m_pDrawingSurface || !m_pDrawingSurface->m_pSurface || !m_pBackground || !m_pBackground->m_pSurface)
        return;
    plat::Surface* pDraw = m_pDrawingSurface->m_pSurface;
    // The box and the taker's name under it.
    const plat::Rect box{0, kTakerTop - 1, kButtonLeft + kButtonWidth, kTakerBottom + 18};
    pDraw->bltFast(box.left, box.top, *m_pBackground->m_pSurface, &box, plat::BLTFAST_WAIT);
    int nPieceX = -1, nPieceY = 0;
    const CPlayerDatabase* pTaker = nullptr;
    const SETPIECEROUTINE* pRoutine = GetCurrentRoutine();
    if (m_nMode == PITCHTACTICS_MODE_CORNERS && m_nSet == B::SET_ATTACKING) {
        nPieceX = 340;
        nPieceY = m_nCornerSide == 0 ? 0 : 220;
        pTaker = pRoutine && pRoutine->byTaker < B::kPlayers ? GetTeamPlayer(pRoutine->byTaker) : GetTeamPlayer(255);
    } else if (m_nMode == PITCHTACTICS_MODE_FREE_KICKS) {
        const BOARDPOINT spot = SetPieceSpot();
        nPieceX = std::clamp(spot.x - B::kPitchLeft - 24, 0, 340);
        nPieceY = std::clamp(spot.y - B::kPitchTop - 34, 0, 220);
        pTaker = pRoutine && pRoutine->byTaker < B::kPlayers ? GetTeamPlayer(pRoutine->byTaker) : GetTeamPlayer(255);
    } else if (m_nMode == PITCHTACTICS_MODE_PENALTY && m_nSet == B::SET_ATTACKING && m_pHuman) {
        nPieceX = 340;
        nPieceY = 110;
        pTaker = m_pHuman->GetSetPiecePlayer(6);
    }
    if (nPieceX < 0 || !m_pPitch || !m_pPitch->m_pSurface)
        return;
    const plat::Rect piece{nPieceX, nPieceY, nPieceX + kTakerRight - kTakerLeft, nPieceY + kTakerBottom - kTakerTop};
    pDraw->bltFast(kTakerLeft, kTakerTop, *m_pPitch->m_pSurface, &piece, plat::BLTFAST_WAIT);
    plat::DeviceContext* pFrameDC = pDraw->getDC();
    DrawRectOutline(pFrameDC, kTakerLeft, kTakerTop, kTakerRight, kTakerBottom, kRowText, 1);
    pDraw->releaseDC(pFrameDC);
    if (pTaker && m_pMarkers && m_pMarkers->m_pSurface) {
        const int nCell = std::clamp<int>(pTaker->m_byPosition, 0, 3);
        const plat::Rect cell{nCell * kMarkerSize, 0, (nCell + 1) * kMarkerSize, kMarkerSize};
        pDraw->bltFast((kTakerLeft + kTakerRight - kMarkerSize) / 2, (kTakerTop + kTakerBottom - kMarkerSize) / 2,
                       *m_pMarkers->m_pSurface, &cell, plat::BLTFAST_SRCCOLORKEY);
        plat::DeviceContext* pDC = pDraw->getDC();
        pDC->setBkMode(plat::TRANSPARENT);
        pDC->selectFont(g_hSmallBoldFont);
        pDC->setTextColor(plat::RGB(0, 0, 0));
        char szNumber[8];
        std::snprintf(szNumber, sizeof szNumber, "%d", pTaker->m_bySquadNumber);
        plat::Rect rcNumber{(kTakerLeft + kTakerRight - kMarkerSize) / 2, (kTakerTop + kTakerBottom - kMarkerSize) / 2,
                            (kTakerLeft + kTakerRight + kMarkerSize) / 2, (kTakerTop + kTakerBottom + kMarkerSize) / 2};
        pDC->drawText(szNumber, -1, &rcNumber, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
        pDC->selectFont(g_hSmallFont);
        pDC->setTextColor(kRowText);
        plat::Rect rc{kTakerLeft, kTakerBottom + 2, kButtonLeft + kButtonWidth, kTakerBottom + 18};
        pDC->drawText(pTaker->GetShortName(), -1, &rc, plat::DT_LEFT | plat::DT_SINGLELINE);
        pDraw->releaseDC(pDC);
    }
}

void CClientPitchTactics::DrawPlayerPanel()
{
    UpdatePlayerOrdersButton();
    std::vector<const CPlayerDatabase*> players;
    for (int i = 0; i < B::kPlayers; ++i)
        if (const CPlayerDatabase* p = GetTeamPlayer(i); p && (m_wSelection == 0 || (m_wSelection & (1u << i))))
            players.push_back(p);
    if (auto* pCaption = dynamic_cast<CXStatic*>(FindControl(ID_PANEL_CAPTION))) {
        if (m_wSelection == 0) {
            const char* pszText = GetTableText(kPanelTextSet, 0);
            pCaption->SetText("%s", pszText ? pszText : "");
        } else if (players.size() == 1) {
            const char* pszFormat = GetTableText(kPanelTextSet, 2);
            pCaption->SetText(pszFormat ? pszFormat : "%s", players[0]->GetShortName());
        } else {
            const char* pszFormat = GetTableText(kPanelTextSet, 1);
            pCaption->SetText(pszFormat ? pszFormat : "%d", static_cast<int>(players.size()));
        }
    }
    if (!m_pDrawingSurface || !m_pDrawingSurface->m_pSurface || !m_pBackground || !m_pBackground->m_pSurface)
        return;
    for (const PANELBAR& bar : kBars) {
        int nSum = 0;
        for (const CPlayerDatabase* p : players) {
            if (bar.nValue >= 0)
                nSum += p->m_awAttributes[bar.nValue] / 100;
            else if (bar.nValue == -1)
                nSum += p->GetRatingForPosition(-1);
            else {
                int nPlace = 0;
                while (nPlace < B::kPlayers && GetTeamPlayer(nPlace) != p)
                    ++nPlace;
                nSum += p->GetRatingForPosition(
                    B::GetRoleFromPitchPosition(m_Board.m_aBase[std::min(nPlace, B::kPlayers - 1)].x,
                                                m_Board.m_aBase[std::min(nPlace, B::kPlayers - 1)].y));
            }
        }
        const int nValue = players.empty() ? 0 : std::clamp(nSum / static_cast<int>(players.size()), 0, 100);
        const plat::Rect area{bar.x, bar.y, bar.x + kBarWidth, bar.y + kBarHeight};
        m_pDrawingSurface->m_pSurface->bltFast(bar.x, bar.y, *m_pBackground->m_pSurface, &area, plat::BLTFAST_WAIT);
        m_pDrawingSurface->ShadeRect(bar.x, bar.y, kBarWidth, kBarHeight, 2);
        const int nWidth = -1 - static_cast<int>(static_cast<float>(nValue) * 0.01f * -144.0f);
        if (nWidth > 0)
            m_pDrawingSurface->BlendRect(bar.x + 1, bar.y + 1, nWidth, kBarHeight - 1, bar.cr, bar.cr, 0.85f);
        plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
        pDC->setBkMode(plat::TRANSPARENT);
        pDC->selectFont(g_hSmallFont);
        // The number sits over the bar from about half way: outlined in
        // black, white stays legible on the light bars (yellow, cyan, green).
        DrawOutlinedTextCentredF(pDC, bar.x, bar.y, bar.x + kBarWidth, bar.y + kBarHeight, plat::RGB(255, 255, 255),
                                 0x000000, "%d", nValue);
        m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    }
}

void CClientPitchTactics::DrawMarker(CXSurface* pScreen, const BOARDPOINT& p, const CPlayerDatabase* pPlayer,
                                     int nNumber, bool bOwn)
{
    const int x = p.x - kMarkerSize / 2 + m_nLeft, y = p.y - kMarkerSize / 2 + m_nTop;
    if (!m_pMarkers || !m_pMarkers->m_pSurface)
        return;
    // Own markers by position, the opposition's in the last cell, faded.
    const int nCell = bOwn ? std::clamp<int>(pPlayer ? pPlayer->m_byPosition : 0, 0, 3) : 4;
    const plat::Rect rc{nCell * kMarkerSize, 0, (nCell + 1) * kMarkerSize, kMarkerSize};
    if (bOwn)
        pScreen->m_pSurface->bltFast(x, y, *m_pMarkers->m_pSurface, &rc, plat::BLTFAST_SRCCOLORKEY);
    else
        pScreen->BlendBltKeyed(pScreen, m_pMarkers.get(), x, y, rc.left, 0, x, y, kMarkerSize, kMarkerSize, 0.5f);
    plat::DeviceContext* pDC = pScreen->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hSmallBoldFont);
    pDC->setTextColor(plat::RGB(0, 0, 0));
    char szNumber[8];
    std::snprintf(szNumber, sizeof szNumber, "%d", nNumber);
    plat::Rect rcText{x, y, x + kMarkerSize, y + kMarkerSize};
    pDC->drawText(szNumber, -1, &rcText, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    pScreen->m_pSurface->releaseDC(pDC);
}

void CClientPitchTactics::DrawFrame(CXSurface* pScreen)
{
    const int ox = m_nLeft, oy = m_nTop;
    plat::DeviceContext* pDC = pScreen->m_pSurface->getDC();
    const SETPIECEROUTINE* pRoutine = GetCurrentRoutine();
    // The range of the picked player.
    if (m_nMode == PITCHTACTICS_MODE_RANGES && m_nPicked < B::kPlayers && GetTeamPlayer(m_nPicked)) {
        const BOARDPOINT p = m_aOwnShown[static_cast<size_t>(m_nPicked)];
        const int r = m_Board.m_anRange[m_nPicked];
        DrawCircleOutline(pDC, p.x + ox, p.y + oy, r, kFrameColour, 1);
        for (int nSign : {-1, 1})
            DrawFilledRect(pDC, p.x + nSign * r - 3 + ox, p.y - 3 + oy, p.x + nSign * r + 4 + ox, p.y + 4 + oy,
                           kFrameColour);
    }
    if (m_nDrag == DRAG_RECTANGLE)
        DrawRectOutline(pDC, std::min(m_DragStart.x, m_Mouse.x) + ox, std::min(m_DragStart.y, m_Mouse.y) + oy,
                        std::max(m_DragStart.x, m_Mouse.x) + ox, std::max(m_DragStart.y, m_Mouse.y) + oy, kFrameColour,
                        1);
    if (m_nMode == PITCHTACTICS_MODE_MARKING)
        for (int i = 0; i < B::kPlayers; ++i) {
            const uint8_t byTarget = m_Board.m_abyMarking[i];
            if (byTarget >= B::kPlayers || !GetTeamPlayer(i) || !m_Board.HasOpposition())
                continue;
            const BOARDPOINT a = m_aOwnShown[static_cast<size_t>(i)], b = m_aOppositionShown[byTarget];
            DrawLine(pDC, a.x + ox, a.y + oy, b.x + ox, b.y + oy, kMarkingLine, (m_wSelection & (1u << i)) ? 2 : 1,
                     plat::PS_SOLID);
        }
    if (m_nDrag == DRAG_MARKING || m_nDrag == DRAG_SUBSTITUTION) {
        const BOARDPOINT a = m_aOwnShown[static_cast<size_t>(std::min(m_nPicked, kBoardMarkers - 1))];
        DrawLine(pDC, a.x + ox, a.y + oy, m_Mouse.x + ox, m_Mouse.y + oy, kMarkingLine, 1, plat::PS_DOT);
    }
    if (m_nMode == PITCHTACTICS_MODE_SUBSTITUTIONS)
        for (int k = 0; k < B::kSubstitutes; ++k) {
            const uint8_t byReplaced = m_Board.m_aGrid[m_nSide][k].byReplaced;
            if (byReplaced >= B::kPlayers)
                continue;
            const BOARDPOINT a = m_aOwnShown[static_cast<size_t>(B::kPlayers + k)], b = m_aOwnShown[byReplaced];
            DrawLine(pDC, a.x + ox, a.y + oy, b.x + ox, b.y + oy, kPathLine, 1, plat::PS_SOLID);
        }
    if (pRoutine && pRoutine->byTargetCount > 1) {
        // The ball's path, point by point with a head at each end.
        auto pathPoint = [this, pRoutine](int n) {
            if (pRoutine->awTargetX[n] == 0xFFFF)
                return m_aOwnShown[std::min<size_t>(pRoutine->awTargetY[n], B::kPlayers - 1)];
            return Pt(pRoutine->awTargetX[n], pRoutine->awTargetY[n]);
        };
        for (int n = 1; n < pRoutine->byTargetCount && n < SETPIECE_TARGETS; ++n) {
            const BOARDPOINT a = pathPoint(n - 1), b = pathPoint(n);
            DrawLine(pDC, a.x + ox, a.y + oy, b.x + ox, b.y + oy, kPathLine, 2, plat::PS_SOLID);
            const double dAngle = std::atan2(b.y - a.y, b.x - a.x);
            for (double dSide : {2.6, -2.6})
                DrawLine(pDC, b.x + ox, b.y + oy, b.x + ox + static_cast<int>(8 * std::cos(dAngle + dSide)),
                         b.y + oy + static_cast<int>(8 * std::sin(dAngle + dSide)), kPathLine, 2, plat::PS_SOLID);
        }
    }
    pScreen->m_pSurface->releaseDC(pDC);
}

void CClientPitchTactics::OnPaint()
{
    CGameClient::OnPaint();
    const CGame* pGame = Game();
    const CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    CXSurface* pScreen = Screen();
    if (!m_bInitialised || !m_pHuman || !pDatabase || pDatabase->GetCurrentSaveGame() != m_pHuman || !pScreen ||
        !pScreen->m_pSurface)
        return;
    ComputeDisplayedMarkers();
    DrawFrame(pScreen);
    const bool bOppositionShown = m_Board.HasOpposition() && m_nMode != PITCHTACTICS_MODE_FORMATION;
    auto drawOwn = [&]() {
        for (int i = 0; i < kBoardMarkers; ++i) {
            if (i >= B::kPlayers && !InMatch())
                break;
            const CPlayerDatabase* pPlayer = GetTeamPlayer(i);
            if (!pPlayer || (m_nDrag == DRAG_PLAYERS && (m_wSelection & (1u << i))))
                continue;
            const int nNumber = m_bFixedNumbers ? pPlayer->m_bySquadNumber : i + 1;
            DrawMarker(pScreen, m_aOwnShown[static_cast<size_t>(i)], pPlayer, nNumber, true);
        }
    };
    auto drawOpposition = [&]() {
        if (!bOppositionShown)
            return;
        for (int i = 0; i < B::kPlayers; ++i)
            DrawMarker(pScreen, m_aOppositionShown[static_cast<size_t>(i)], nullptr, i + 1, false);
    };
    // The team behind first.
    if (m_bEditOwnTeam) {
        drawOpposition();
        drawOwn();
    } else {
        drawOwn();
        drawOpposition();
    }
    // The dragged markers last.
    if (m_nDrag == DRAG_PLAYERS)
        for (int i = 0; i < B::kPlayers; ++i)
            if (m_wSelection & (1u << i))
                if (const CPlayerDatabase* pPlayer = GetTeamPlayer(i))
                    DrawMarker(pScreen, m_aOwnShown[static_cast<size_t>(i)], pPlayer,
                               m_bFixedNumbers ? pPlayer->m_bySquadNumber : i + 1, true);
    plat::DeviceContext* pDC = pScreen->m_pSurface->getDC();
    const int d = std::abs(static_cast<int>(plat::milliseconds() / 120 % 6) - 3);
    for (int i = 0; i < kBoardMarkers; ++i) {
        const BOARDPOINT p = m_aOwnShown[static_cast<size_t>(i)];
        if (!GetTeamPlayer(i) || (i >= B::kPlayers && !InMatch()))
            continue;
        const int cx = p.x + m_nLeft, cy = p.y + m_nTop;
        if (!m_abyAvailable[static_cast<size_t>(i)])
            DrawCircleOutline(pDC, cx, cy, kMarkerSize / 2 + 2, kUnavailable, 2);
        if (i >= B::kPlayers || !(m_wSelection & (1u << i)))
            continue;
        const int l = cx - 11 - d, t = cy - 11 - d, r = cx + 11 + d, b = cy + 11 + d;
        const int aCorners[4][4] = {{l, t, 1, 1}, {r, t, -1, 1}, {l, b, 1, -1}, {r, b, -1, -1}};
        for (const auto& c : aCorners) {
            DrawLine(pDC, c[0], c[1], c[0] + 4 * c[2], c[1], kFrameColour, 2, plat::PS_SOLID);
            DrawLine(pDC, c[0], c[1], c[0], c[1] + 4 * c[3], kFrameColour, 2, plat::PS_SOLID);
        }
    }
    pScreen->m_pSurface->releaseDC(pDC);
    const bool bBall = ShowsBallZone(m_nMode) || IsSetPieceMode(m_nMode) || m_nMode == PITCHTACTICS_MODE_PENALTY;
    if (bBall && m_pBall && m_pBall->m_pSurface) {
        const BOARDPOINT p = GetBallPoint();
        const plat::Rect ball{0, 0, kBallSize, kBallSize};
        pScreen->m_pSurface->bltFast(p.x - kBallSize / 2 + m_nLeft, p.y - kBallSize / 2 + m_nTop, *m_pBall->m_pSurface,
                                     &ball, plat::BLTFAST_SRCCOLORKEY);
    }
}
