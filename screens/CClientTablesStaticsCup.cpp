#include "screens/CClientTablesStaticsCup.h"

#include "screens/FixtureScreenParts.h"
#include "database/PersonOwners.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/PlayerRowIcons.h"
#include "shell/CompetitionNames.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/MatchHistory.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXSurface.h"
#include "xframework/DrawingFunctions.h"
#include "platform/DeviceContext.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

constexpr int kRowHeight = 28;
constexpr int kGroupRowHeight = 16;
constexpr int kMaxFixtureRows = 16;
constexpr int kFixturesCaptionSet = 167;
constexpr int kGroupCaptionSet = 168;
constexpr int kLegTextSet = 145;
constexpr int kWordsSet = 114;
constexpr int kEuropeanWord = 17;
constexpr int kCountryNameSet = 92;
constexpr COLORREF kWhite = 0xFFFFFF;
// "Nothing to show yet".
constexpr int kEmptyTextSet = 114, kEmptyTextItem = 26;
constexpr int kEightGroups = 8;

const LISTCOLUMN kFixtureColumns[] = {
    {0, 182, 30, 0, 0, 0, CClientTablesStaticsCup::ID_HOME_HEADER, LISTSORT_NONE, 1},
    {182, 272, 4, 0, 6, 0, CClientTablesStaticsCup::ID_SCORE_HEADER, LISTSORT_NONE, 1},
    {272, 454, 30, 0, 2, 0, CClientTablesStaticsCup::ID_AWAY_HEADER, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
// The headers the league table uses for the same figures.
const LISTCOLUMN kGroupColumns[] = {
    {0, 36, 4, 0, 2, 0, 1035, LISTSORT_NONE, 0},   {36, 188, 4, 0, 0, 0, 938, LISTSORT_NONE, 0},
    {188, 218, 4, 0, 2, 0, 145, LISTSORT_NONE, 0}, {218, 248, 4, 0, 2, 0, 148, LISTSORT_NONE, 0},
    {248, 278, 4, 0, 2, 0, 149, LISTSORT_NONE, 0}, {278, 308, 4, 0, 2, 0, 150, LISTSORT_NONE, 0},
    {308, 338, 4, 0, 2, 0, 151, LISTSORT_NONE, 0}, {338, 368, 4, 0, 2, 0, 152, LISTSORT_NONE, 0},
    {368, 398, 4, 0, 2, 0, 146, LISTSORT_NONE, 0}, {398, 428, 4, 0, 2, 0, 147, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

CXComboBox* Selector(int nSelector) { return g_pTitlebar ? g_pTitlebar->GetSelector(nSelector) : nullptr; }

// A competition's name too long for the selector's width, in the closed box
// or in its opened list's bolder face, is written in a smaller face of its
// own rather than cut.
void FitRowFont(CXComboBox* pBox, int nRow, const char* pszText)
{
    if (pBox->FitsClosed(pszText) && pBox->FitsOpened(pszText))
        return;
    pBox->SetRowFont(nRow, pBox->FitsClosed(pszText) ? pBox->m_hFont : g_hTinyFont);
}

constexpr int kCountrySelector = 18;
constexpr int kCupSelector = 19;
constexpr int kRoundSelector = 20;
constexpr int kLegSelector = 25;

// The running cup of an owner (0: European) and kind.
CUP* FindCup(const CDatabaseHandler& database, int nCountry, int nKind)
{
    if (nCountry == 0)
        return database.GetEuropeanCups() ? database.GetEuropeanCups()->GetCup(nKind) : nullptr;
    const CCountryDatabase* pCountry = database.GetCountryFromID(static_cast<ID_COUNTRY>(nCountry));
    return pCountry && pCountry->GetDomesticCups() ? pCountry->GetDomesticCups()->GetCup(nKind) : nullptr;
}

uint8_t ResultKind(CDatabaseHandler& database, uint32_t dwMatchID)
{
    MATCHHISTORYHEADER header;
    return database.FindMatchRecord(header, nullptr, dwMatchID) ? header.Result.byResult : 0;
}

std::string PlainScore(int nHome, int nAway)
{
    char szScore[32];
    FormatScore(szScore, sizeof(szScore), nHome, nAway);
    return szScore;
}

void BeginFill(CXComboBox* pBox)
{
    pBox->SetAutoRedraw(false);
    pBox->ResetContent();
}

void EndFill(CXComboBox* pBox, int nSelected)
{
    pBox->SetAutoRedraw(true);
    pBox->ShowSelection(nSelected);
    pBox->Redraw();
}

}  // namespace

CClientTablesStaticsCup::CClientTablesStaticsCup() { m_wScreenID = SCREEN_TABLES_CUP; }

CClientTablesStaticsCup::~CClientTablesStaticsCup() = default;

std::string CClientTablesStaticsCup::TieScore(CDatabaseHandler& database, const CCupFixturesDatabase& fixture,
                                              bool bTwoLegs, bool bSecondLegView)
{
    if (!bTwoLegs) {
        if (!fixture.IsPlayed())
            return "-";
        char szScore[64];
        FormatFixtureScore(0, szScore, sizeof(szScore), static_cast<int8_t>(fixture.GetHomeGoals()),
                           static_cast<int8_t>(fixture.GetAwayGoals()), ResultKind(database, fixture.GetFixtureID()));
        return szScore;
    }
    if (!fixture.IsPlayed())
        return "-";
    if (!bSecondLegView)
        return PlainScore(fixture.GetHomeGoals(), fixture.GetAwayGoals());
    // The fixture is the second leg: its home club played away first.
    const CCupFixturesDatabase* pFirst = fixture.GetOtherLeg();
    if (!pFirst || !pFirst->IsPlayed()) {
        DebugLog(1, "No next leg");
        return PlainScore(fixture.GetHomeGoals(), fixture.GetAwayGoals());
    }
    char szText[80];
    std::snprintf(szText, sizeof(szText), "(%d) %s (%d)", fixture.GetHomeGoals() + pFirst->GetAwayGoals(),
                  PlainScore(fixture.GetHomeGoals(), fixture.GetAwayGoals()).c_str(),
                  fixture.GetAwayGoals() + pFirst->GetHomeGoals());
    return szText;
}

// ---- entry and exit ----

bool CClientTablesStaticsCup::OnInitDialog()
{
    CDatabaseHandler* pDatabase = Database();
    m_Rows.Clear();
    m_bMatchDay = !g_ClientList.empty();
    m_nCupNumber = m_dwChangeParameter;
    if (CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr)
        pHuman->SetNavigationAlert(3, 0);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    fixture_screens::SetUpNavigation(this, m_bMatchDay, SCREEN_TABLES_FIXTURES, "CClientTablesStaticsCup");
    if (g_pTitlebar) {
        g_pTitlebar->SetMode(2);
        g_pTitlebar->SetSelectors({kCountrySelector, kCupSelector, kRoundSelector, kLegSelector});
    }
    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 320, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    auto* pGroupBar =
        static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 320, ID_GROUP_SCROLLBAR, nullptr));
    if (pGroupBar)
        pGroupBar->Create(887, 888, 16, false, 0);
    if (auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, 40, 640, 488, ID_FIXTURES, nullptr)))
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pBar, true, nullptr, true, 0, false,
                     false, false);
    if (auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, 40, 640, 488, ID_GROUP, nullptr)))
        pList->SetUp(kGroupRowHeight, 6, g_hSmallFont, 0, false, nullptr, true, nullptr, true, 0, false, false, false);
    for (uint32_t dwID : {ID_FIXTURES, ID_GROUP, ID_SCROLLBAR, ID_GROUP_SCROLLBAR})
        if (CXControl* pControl = FindControl(dwID))
            pControl->Show(false, true);

    // The cup of the parameter, else the human's first cup, else the
    // European competitions.
    int nCountry = 0, nKind = 1;
    if (m_nCupNumber == kFirstEuropeanCup) {
        nKind = 0;
    } else if (m_nCupNumber != 0) {
        nCountry = pDatabase && pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(m_nCupNumber % 20))
                       ? static_cast<int>(m_nCupNumber % 20)
                       : 0;
        nKind = static_cast<int>(m_nCupNumber / 20);
    } else if (const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
               pHuman && pHuman->GetCountry()) {
        nCountry = pHuman->GetCountry()->GetID();
        nKind = 0;
    }
    SelectCup(nCountry, nKind);
    UpdateBars();
    return bResult;
}

void CClientTablesStaticsCup::OnDestroy()
{
    CGameClient::OnDestroy();
    FreeKits();
}

void CClientTablesStaticsCup::FreeKits()
{
    for (CXListBox* pList : {GetFixtureList(), GetGroupList()})
        if (pList)
            for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
                pList->RemoveRowGraphics(nRow);
    m_Rows.Clear();
}

void CClientTablesStaticsCup::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
}

CXListBox* CClientTablesStaticsCup::GetFixtureList() const
{
    return dynamic_cast<CXListBox*>(FindControl(ID_FIXTURES));
}

CXListBox* CClientTablesStaticsCup::GetGroupList() const { return dynamic_cast<CXListBox*>(FindControl(ID_GROUP)); }

const FixtureKitRow* CClientTablesStaticsCup::GetRow(int nListRow) const
{
    return m_Rows.Get(GetFixtureList(), nListRow);
}

// ---- the cup and its rounds ----

const ITEMCUPSTRUCTUREINFORMATION* CClientTablesStaticsCup::Definition() const
{
    return m_pCup ? FindCupDefinition(m_pCup, Database()) : nullptr;
}

const ITEMCUPROUNDINFORMATION* CClientTablesStaticsCup::RoundInfo() const
{
    return GetDefinitionRound(Definition(), m_nRound);
}

bool CClientTablesStaticsCup::RoundDate(bool bSecondLeg, CDate& date) const
{
    const CDatabaseHandler* pDatabase = Database();
    const ITEMCUPROUNDINFORMATION* pRound = RoundInfo();
    if (!pDatabase || !pRound)
        return false;
    if (m_nCountry == 0)
        return pDatabase->GetEuropeanCups() && pDatabase->GetEuropeanCups()->GetRoundDate(pRound, bSecondLeg, date);
    const CCountryDatabase* pCountry = pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(m_nCountry));
    return pCountry && pCountry->GetDomesticCups() &&
           pCountry->GetDomesticCups()->GetRoundDate(pRound, bSecondLeg, date, m_nKind);
}

int CClientTablesStaticsCup::CurrentRound(bool bRoundBefore) const
{
    const CDatabaseHandler* pDatabase = Database();
    return pDatabase && m_pCup ? pDatabase->GetCurrentCupRound(pDatabase->GetGameDate(), m_pCup, bRoundBefore) : 0;
}

void CClientTablesStaticsCup::SelectCup(int nCountry, int nKind)
{
    m_nCountry = nCountry;
    m_nKind = nKind;
    const CDatabaseHandler* pDatabase = Database();
    m_pCup = pDatabase ? FindCup(*pDatabase, nCountry, nKind) : nullptr;
    m_bFilling = true;
    FillCountrySelector();
    FillCupSelector();
    FillRoundSelector();
    SelectCurrentRound();
    FillLegSelector();
    m_bFilling = false;
    DrawRound();
}

void CClientTablesStaticsCup::FillCountrySelector()
{
    CXComboBox* pBox = Selector(kCountrySelector);
    const CDatabaseHandler* pDatabase = Database();
    if (!pBox || !pDatabase)
        return;
    BeginFill(pBox);
    const char* pszEuropean = GetTableText(kWordsSet, kEuropeanWord);
    pBox->SetItemData(pBox->AddString(kWhite, "%s", pszEuropean ? pszEuropean : ""), 0);
    for (const CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>()) {
        bool bHasCup = false;
        for (int nKind = 0; nKind < CDomesticCupsDatabase::KIND_COUNT && pCountry->GetDomesticCups(); ++nKind)
            bHasCup = bHasCup || pCountry->GetDomesticCups()->GetCup(nKind);
        if (!bHasCup)
            continue;
        const char* pszName = GetTableText(kCountryNameSet, pCountry->GetID());
        const int nRow = pBox->AddString(kWhite, "%s", pszName ? pszName : pCountry->GetName());
        pBox->SetItemData(nRow, pCountry->GetID());
        if (CXAnimation* pFlag = PlayerRowIcons::NationFlag(GetCountryNationality(pCountry)))
            pBox->AddAlignedColumnGraphic(nRow, pFlag, 2, 0, true);
    }
    EndFill(pBox, pBox->FindItemData(static_cast<uint32_t>(m_nCountry)));
}

void CClientTablesStaticsCup::FillCupSelector()
{
    CXComboBox* pBox = Selector(kCupSelector);
    CDatabaseHandler* pDatabase = Database();
    if (!pBox || !pDatabase)
        return;
    BeginFill(pBox);
    const CCountryDatabase* pCountry =
        m_nCountry ? pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(m_nCountry)) : nullptr;
    const char* pszOwner = pCountry ? pCountry->GetName() : CUP_OWNER_EUROPEAN;
    for (const ITEMCUPSTRUCTUREINFORMATION* pRow = GetCupStructureTable(); pRow && pRow->pszOwnerName; ++pRow) {
        if (strcasecmp(pRow->pszOwnerName, pszOwner) != 0)
            continue;
        const CUP* pCup = FindCup(*pDatabase, m_nCountry, pRow->byKind);
        if (!pCup || pBox->FindItemData(pRow->byKind) >= 0)
            continue;
        char szName[96];
        FormatCompetitionName(pCup, pDatabase, szName, sizeof(szName));
        const int nRow = pBox->AddString(kWhite, "%s", szName);
        pBox->SetItemData(nRow, pRow->byKind);
        FitRowFont(pBox, nRow, szName);
    }
    EndFill(pBox, pBox->FindItemData(static_cast<uint32_t>(m_nKind)));
}

void CClientTablesStaticsCup::FillRoundSelector()
{
    CXComboBox* pBox = Selector(kRoundSelector);
    CDatabaseHandler* pDatabase = Database();
    if (!pBox || !pDatabase)
        return;
    BeginFill(pBox);
    const int nCurrent = CurrentRound(false);
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = Definition();
    for (int nRound = 1; pDefinition && nRound <= pDefinition->byRounds; ++nRound) {
        char szName[96];
        FormatCupRoundName(m_pCup, pDatabase, nRound, szName, sizeof(szName));
        const int nRow = pBox->AddString(kWhite, "%s", szName);
        pBox->SetItemData(nRow, static_cast<uint32_t>(nRound));
        // A round not begun yet has nothing to show.
        CDate first;
        const int nSaved = m_nRound;
        m_nRound = nRound;
        const bool bBegun = RoundDate(false, first) && !(first > pDatabase->GetGameDate());
        m_nRound = nSaved;
        pBox->EnableRow(nRow, nRound < nCurrent || bBegun);
    }
    EndFill(pBox, pBox->FindItemData(static_cast<uint32_t>(m_nRound)));
}

void CClientTablesStaticsCup::SelectCurrentRound()
{
    const CDatabaseHandler* pDatabase = Database();
    m_nRound = std::max(1, CurrentRound(true));
    m_nLegOrGroup = 0;
    const ITEMCUPROUNDINFORMATION* pRound = RoundInfo();
    if (pDatabase && pRound && pRound->byLegs == CUP_LEGS_TWO) {
        CDate second;
        if (RoundDate(true, second) && !(second > pDatabase->GetGameDate()))
            m_nLegOrGroup = 1;
    }
    if (CXComboBox* pBox = Selector(kRoundSelector)) {
        const int nRow = pBox->FindItemData(static_cast<uint32_t>(m_nRound));
        if (nRow >= 0)
            EndFill(pBox, nRow);
    }
}

bool CClientTablesStaticsCup::InGroupStageInPlay() const
{
    // The cup stays on the first match day of its group stage until the
    // stage is over; every match day of that stage shares its groups. A new
    // stage starts where the number of ties changes.
    const ITEMCUPSTRUCTUREINFORMATION* pDefinition = Definition();
    const ITEMCUPROUNDINFORMATION* pFirst = m_pCup ? GetDefinitionRound(pDefinition, m_pCup->byRound) : nullptr;
    if (m_nCountry != 0 || !pFirst || pFirst->byLegs != CUP_LEGS_GROUP || m_nRound < m_pCup->byRound)
        return false;
    for (int nRound = m_pCup->byRound + 1; nRound <= m_nRound; ++nRound) {
        const ITEMCUPROUNDINFORMATION* pRound = GetDefinitionRound(pDefinition, nRound);
        if (!pRound || pRound->byLegs != CUP_LEGS_GROUP || pRound->byTies != pFirst->byTies)
            return false;
    }
    return true;
}

const MINILEAGUEGROUP* CClientTablesStaticsCup::SelectedGroup() const
{
    const CDatabaseHandler* pDatabase = Database();
    if (!pDatabase || !pDatabase->GetEuropeanCups() || !InGroupStageInPlay())
        return nullptr;
    const CXList& groups = pDatabase->GetEuropeanCups()->GetGroups();
    return m_nLegOrGroup >= 0 && m_nLegOrGroup < groups.GetCount()
               ? static_cast<const MINILEAGUEGROUP*>(groups.GetAt(m_nLegOrGroup)->pData)
               : nullptr;
}

void CClientTablesStaticsCup::FillLegSelector()
{
    CXComboBox* pBox = Selector(kLegSelector);
    const CDatabaseHandler* pDatabase = Database();
    if (!pBox)
        return;
    const bool bWasFilling = m_bFilling;
    m_bFilling = true;
    BeginFill(pBox);
    const ITEMCUPROUNDINFORMATION* pRound = RoundInfo();
    const int nLegs = pRound ? pRound->byLegs : static_cast<int>(CUP_LEGS_ONE);
    char szText[64];
    if (nLegs == CUP_LEGS_TWO) {
        for (int nLeg = 1; nLeg <= 2; ++nLeg) {
            std::snprintf(szText, sizeof(szText), GetTableText(kLegTextSet, 1) ? GetTableText(kLegTextSet, 1) : "%d",
                          nLeg);
            pBox->SetItemData(pBox->AddString(kWhite, "%s", szText), static_cast<uint32_t>(nLeg - 1));
        }
    } else if (nLegs == CUP_LEGS_GROUP) {
        const int nGroups = pDatabase && pDatabase->GetEuropeanCups() && InGroupStageInPlay()
                                ? pDatabase->GetEuropeanCups()->GetGroups().GetCount()
                                : pRound->byTies / 2;
        const ID_CLUB idHuman = pDatabase && pDatabase->GetCurrentSaveGame() && pDatabase->GetCurrentSaveGame()->GetClub()
                                    ? pDatabase->GetCurrentSaveGame()->GetClub()->m_wClubId
                                    : 0;
        int nHumanGroup = -1;
        for (int nGroup = 0; nGroup < nGroups && nGroup < kEightGroups; ++nGroup) {
            std::snprintf(szText, sizeof(szText), GetTableText(kLegTextSet, 3) ? GetTableText(kLegTextSet, 3) : "%c",
                          'A' + nGroup);
            pBox->SetItemData(pBox->AddString(kWhite, "%s", szText), static_cast<uint32_t>(nGroup));
            const int nSaved = m_nLegOrGroup;
            m_nLegOrGroup = nGroup;
            if (const MINILEAGUEGROUP* pGroup = SelectedGroup())
                for (int r = 0; r < pGroup->byFilled; ++r)
                    if (idHuman && pGroup->pRows[r].dwClub == idHuman)
                        nHumanGroup = nGroup;
            m_nLegOrGroup = nSaved;
        }
        m_nLegOrGroup = std::max(nHumanGroup, 0);
    } else {
        const char* pszKnockOut = GetTableText(kLegTextSet, 0);
        pBox->SetItemData(pBox->AddString(kWhite, "%s", pszKnockOut ? pszKnockOut : ""), 0);
        m_nLegOrGroup = 0;
    }
    EndFill(pBox, pBox->FindItemData(static_cast<uint32_t>(m_nLegOrGroup)));
    m_bFilling = bWasFilling;
}

void CClientTablesStaticsCup::TakeSelection()
{
    const CXComboBox* pCountries = Selector(kCountrySelector);
    const CXComboBox* pCups = Selector(kCupSelector);
    const CXComboBox* pRounds = Selector(kRoundSelector);
    const CXComboBox* pLegs = Selector(kLegSelector);
    if (pCountries && pCountries->GetSelection() >= 0)
        m_nCountry = static_cast<int>(pCountries->GetItemData(pCountries->GetSelection()));
    if (pCups && pCups->GetSelection() >= 0)
        m_nKind = static_cast<int>(pCups->GetItemData(pCups->GetSelection()));
    if (pRounds && pRounds->GetSelection() >= 0)
        m_nRound = static_cast<int>(pRounds->GetItemData(pRounds->GetSelection()));
    if (pLegs && pLegs->GetSelection() >= 0)
        m_nLegOrGroup = static_cast<int>(pLegs->GetItemData(pLegs->GetSelection()));
}

void CClientTablesStaticsCup::OnSelChange(uint32_t dwID)
{
    if (m_bFilling)
        return;
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return;
    if (dwID == ID_COUNTRY_CHOICE) {
        const CXComboBox* pCountries = Selector(kCountrySelector);
        const int nRow = pCountries ? pCountries->GetSelection() : -1;
        if (nRow < 0)
            return;
        const int nCountry = static_cast<int>(pCountries->GetItemData(nRow));
        // The owner's first cup.
        int nKind = -1;
        for (const int nTry : {0, 1, 3, 5})
            if (nKind < 0 && FindCup(*pDatabase, nCountry, nTry))
                nKind = nTry;
        SelectCup(nCountry, std::max(nKind, 0));
    } else if (dwID == ID_CUP_CHOICE) {
        TakeSelection();
        SelectCup(m_nCountry, m_nKind);
    } else if (dwID == ID_ROUND_CHOICE) {
        TakeSelection();
        m_nLegOrGroup = 0;
        FillLegSelector();
        DrawRound();
    } else if (dwID == ID_LEG_CHOICE) {
        TakeSelection();
        DrawRound();
    }
}

bool CClientTablesStaticsCup::ChooseRound(int nRound)
{
    CXComboBox* pBox = Selector(kRoundSelector);
    const int nRow = pBox ? pBox->FindItemData(static_cast<uint32_t>(nRound)) : -1;
    if (nRow < 0 || !pBox->IsRowEnabled(nRow))
        return false;
    pBox->SetCurSel(nRow);
    return m_nRound == nRound;
}

bool CClientTablesStaticsCup::ChooseLegOrGroup(int nRow)
{
    CXComboBox* pBox = Selector(kLegSelector);
    if (!pBox || nRow < 0 || nRow >= pBox->GetCount())
        return false;
    pBox->SetCurSel(nRow);
    return true;
}

// ---- drawing ----

void CClientTablesStaticsCup::DrawRound()
{
    for (uint32_t dwID : {ID_FIXTURES, ID_GROUP, ID_SCROLLBAR, ID_GROUP_SCROLLBAR})
        if (CXControl* pControl = FindControl(dwID))
            pControl->Show(false, true);
    FreeKits();
    m_GroupMarks.clear();
    if (CXListBox* pList = GetFixtureList())
        pList->ResetContent();
    if (CXListBox* pList = GetGroupList())
        pList->ResetContent();
    RestoreBackground(0, 0, Width(), Height());
    const ITEMCUPROUNDINFORMATION* pRound = RoundInfo();
    if (!pRound)
        return;
    if (pRound->byLegs == CUP_LEGS_GROUP)
        ShowGroup();
    else
        FillFixtures();
}

void CClientTablesStaticsCup::FillFixtures()
{
    CXListBox* pList = GetFixtureList();
    CDatabaseHandler* pDatabase = Database();
    const ITEMCUPROUNDINFORMATION* pRound = RoundInfo();
    CDate first;
    if (!pList || !pDatabase || !pRound || !RoundDate(false, first))
        return;
    const bool bTwoLegs = pRound->byLegs == CUP_LEGS_TWO;
    const bool bSecondLegView = bTwoLegs && m_nLegOrGroup == 1;
    const CUP_NUMBER byCup = MakeCupNumberFromKind(m_nKind, m_nCountry);
    pList->SetAutoRedraw(false);
    pList->SetUpColumns(0, 40, 640, 488, kFixtureColumns, true, true, kRowHeight, false);
    for (const CCupFixturesDatabase* p : pDatabase->GetCupFixtures().Items<CCupFixturesDatabase>()) {
        if (m_Rows.Count() >= pRound->byTies)
            break;
        if (p->GetCupNumber() != byCup || p->GetDate() != first || p->IsReplay())
            continue;
        const CCupFixturesDatabase* pShown = p;
        if (bSecondLegView) {
            pShown = p->GetOtherLeg();
            if (!pShown) {
                DebugLog(1, "No next leg");
                pShown = p;
            }
        }
        const std::string score = TieScore(*pDatabase, *pShown, bTwoLegs, bSecondLegView && pShown != p);
        m_Rows.Add(*pList, *pDatabase, pShown->GetFixtureID(), pDatabase->GetClubFromID(pShown->GetHomeClubID()),
                   pDatabase->GetClubFromID(pShown->GetAwayClubID()), pShown->IsPlayed(), score.c_str());
    }
    // A round not drawn yet says so rather than stand as an empty box.
    if (m_Rows.Count() == 0)
        pList->SetItemData(pList->AddString(kWhite, "%s", GetTableTextOrEmpty(kEmptyTextSet, kEmptyTextItem)), -1);
    const int nPairings = pRound->byTies;
    const int nHeight = nPairings >= kMaxFixtureRows ? 448 : kRowHeight * std::max(1, nPairings);
    pList->SetUpColumns(0, 40, 640, 488, kFixtureColumns, true, true, nHeight, false);
    fixture_screens::DrawListCaption(*this, *pList, kFixturesCaptionSet);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
    pList->Show(true, true);
}

void CClientTablesStaticsCup::ShowGroup()
{
    CXListBox* pTable = GetGroupList();
    CXListBox* pList = GetFixtureList();
    CDatabaseHandler* pDatabase = Database();
    const MINILEAGUEGROUP* pGroup = SelectedGroup();
    if (!pTable || !pList || !pDatabase || !pGroup)
        return;
    pTable->SetAutoRedraw(false);
    pTable->SetUpColumns(0, 150, 640, 214, kGroupColumns, true, true, kGroupRowHeight * std::max<int>(1, pGroup->byFilled),
                         false);
    // Rows in table order.
    std::vector<const MINILEAGUEROW*> rows;
    for (int r = 0; r < pGroup->byFilled; ++r)
        rows.push_back(&pGroup->pRows[r]);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const MINILEAGUEROW* a, const MINILEAGUEROW* b) { return a->byPosition < b->byPosition; });
    const bool bEightGroups = pDatabase->GetEuropeanCups()->GetGroups().GetCount() == kEightGroups;
    // Each group round is one match day: its fixtures go below the table.
    CDate matchDay;
    RoundDate(false, matchDay);
    for (const MINILEAGUEROW* pRow : rows) {
        const CClubDatabase* pClub = pDatabase->GetClubFromID(static_cast<ID_CLUB>(pRow->dwClub));
        const CSaveGame* pHuman = pClub ? pDatabase->GetSaveGameForClub(pClub) : nullptr;
        const int nRow = pTable->AddString(
            pHuman ? pHuman->GetColourForClub() : kWhite, "%2d\t%s\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%+2d\t%2d",
            pRow->byPosition, pClub ? pClub->GetName() : "", pRow->byWon + pRow->byDrawn + pRow->byLost, pRow->byWon,
            pRow->byDrawn, pRow->byLost, pRow->byGoalsFor, pRow->byGoalsAgainst, pRow->byGoalsFor - pRow->byGoalsAgainst,
            3 * pRow->byWon + pRow->byDrawn);
        if (nRow < 0)
            continue;
        pTable->SetItemData(nRow, pRow->dwClub);
        m_GroupMarks.push_back(nRow < 2 ? kQualifyMark : nRow == 2 && bEightGroups ? kThirdPlaceMark : 0);
    }
    pTable->SetAutoRedraw(true);
    pTable->Redraw();
    pTable->Show(true, true);
    // The qualifying places marked beside the table.
    if (m_pDrawingSurface && m_pDrawingSurface->m_pSurface) {
        plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
        for (size_t i = 0; i < m_GroupMarks.size(); ++i)
            if (m_GroupMarks[i] != 0) {
                const int nTop = pTable->m_nTop + static_cast<int>(i) * kGroupRowHeight + 1;
                DrawColourBox(pDC, pTable->m_nLeft - 7, nTop, pTable->m_nLeft - 2, nTop + 13, m_GroupMarks[i], true);
            }
        m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    }

    pList->SetAutoRedraw(false);
    pList->SetUpColumns(0, 254, 640, 310, kFixtureColumns, true, true, kRowHeight * std::max(1, pGroup->byFilled / 2),
                        false);
    for (const MINILEAGUEROW* pRow : rows)
        for (const CCupFixturesDatabase* p : pRow->lstFixtures.Items<CCupFixturesDatabase>()) {
            if (p->GetDate() != matchDay || p->GetHomeClubID() != pRow->dwClub)
                continue;
            const std::string score = p->IsPlayed() ? PlainScore(p->GetHomeGoals(), p->GetAwayGoals()) : " - ";
            m_Rows.Add(*pList, *pDatabase, p->GetFixtureID(), pDatabase->GetClubFromID(p->GetHomeClubID()),
                       pDatabase->GetClubFromID(p->GetAwayClubID()), p->IsPlayed(), score.c_str());
        }
    fixture_screens::DrawListCaption(*this, *pList, kFixturesCaptionSet);
    fixture_screens::DrawListCaption(*this, *pTable, kGroupCaptionSet);
    pList->SetAutoRedraw(true);
    pList->Redraw();
    pList->Show(true, true);
}

void CClientTablesStaticsCup::OnDoubleClicked(uint32_t dwID)
{
    if (dwID == ID_FIXTURES)
        m_Rows.OnDoubleClick(GetFixtureList(), m_bMatchDay);
}

int32_t CClientTablesStaticsCup::GetPreviousFixture()
{
    return m_Rows.Step(GetFixtureList(), false);
}

int32_t CClientTablesStaticsCup::GetNextFixture()
{
    return m_Rows.Step(GetFixtureList(), true);
}

void CClientTablesStaticsCup::OnPrint() { PrintControl(ID_FIXTURES); }
