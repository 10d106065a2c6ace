#include "popups/CPopupManagerDetails.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/PlayerRowIcons.h"
#include "shell/CGameClient.h"
#include "shell/CTableText.h"
#include "shell/CompetitionNames.h"
#include "shell/FormattingFunctions.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/CXSurface.h"

#include <iterator>

namespace {

constexpr int kWidth = 460, kHeight = 340;
constexpr int kLeft = 250, kTop = 170;
constexpr int kTabStrip = 24;
constexpr int kTabWidth = 84, kTabHeight = 26, kTabStep = 87, kTabRightMargin = 13;
constexpr COLORREF kTitleColour = 0xADFDFF;
constexpr COLORREF kRowColour = 0xFFFFFF;
constexpr int kGeneralLabels = 28;
constexpr int kPreferenceLabels = 29;
constexpr int kCareerLabels = 45;
constexpr int kNationalitySet = 92;
constexpr int kWordsSet = 114;
constexpr int kNoClubItem = 13;
constexpr int kPresetSet = 56;
constexpr int kSeasonBase = 1999;
constexpr uint8_t kNotEntered = 255;
constexpr int kAssistantKind = 0;
constexpr int kCommercialKind = 3;
constexpr int kFirstCommercialChoice = 4;
constexpr int kPresets = 3;
// Each choice's texts: team picking, training, squad numbers, sponsors,
// hoardings, ticket prices and shop prices.
constexpr int kChoiceSets[CPopupManagerDetails::kChoices] = {57, 58, 59, 59, 59, 60, 61};
constexpr int kChoiceValues[CPopupManagerDetails::kChoices] = {4, 4, 2, 2, 2, 4, 4};
const CPopupManagerDetails::Preferences kPresetBytes[kPresets] = {
    {0, 1, 1, 1, 1, 1, 1, 1, 1},
    {1, 2, 2, 1, 1, 1, 2, 2, 1},
    {2, 3, 3, 1, 1, 1, 3, 3, 1},
};
const uint32_t kTabIDs[CPopupManagerDetails::PAGE_COUNT] = {CPopupManagerDetails::ID_TAB_GENERAL,
                                                            CPopupManagerDetails::ID_TAB_CAREER,
                                                            CPopupManagerDetails::ID_TAB_PREFERENCES};

// {left, right, margin, colour, alignment, offset, heading, sort, hot}
const LISTCOLUMN kLeagueColumns[] = {
    {0, 74, 4, 0, 0, 0, 690, LISTSORT_NONE, 0},     {74, 206, 4, 0, 0, 0, 938, LISTSORT_NONE, 0},
    {206, 234, 0, 0, 6, 0, 145, LISTSORT_NONE, 0},  {234, 262, 0, 0, 6, 0, 148, LISTSORT_NONE, 0},
    {262, 290, 0, 0, 6, 0, 149, LISTSORT_NONE, 0},  {290, 318, 0, 0, 6, 0, 150, LISTSORT_NONE, 0},
    {318, 346, 0, 0, 6, 0, 151, LISTSORT_NONE, 0},  {346, 374, 0, 0, 6, 0, 152, LISTSORT_NONE, 0},
    {374, 406, 0, 0, 6, 0, 147, LISTSORT_NONE, 0},  {406, 438, 0, 0, 6, 0, 1035, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kCupColumns[] = {
    {0, 70, 4, 0, 0, 0, 690, LISTSORT_NONE, 0},    {70, 200, 4, 0, 0, 0, 938, LISTSORT_NONE, 0},
    {200, 340, 4, 0, 0, 0, 280, LISTSORT_NONE, 0}, {340, 438, 4, 0, 0, 0, 281, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

CXStatic* Label(CXClient& client, uint32_t dwID) { return dynamic_cast<CXStatic*>(client.FindControl(dwID)); }

}  // namespace

CPopupManagerDetails& GetManagerDetailsPopup()
{
    static CPopupManagerDetails s_Popup;
    return s_Popup;
}

bool ShowManagerDetails(ID_MANAGER idManager)
{
    CDatabaseHandler* pDatabase = Database();
    CManagerDatabase* pManager = pDatabase && idManager ? pDatabase->GetManagerFromID(idManager) : nullptr;
    return pManager && GetManagerDetailsPopup().Show(pManager);
}

CPopupManagerDetails::CPopupManagerDetails()
{
    m_wScreenID = kScreenID;
    SetTabbedPopupRect(kLeft, kTop, kWidth, kHeight, kTabStrip);
}

CPopupManagerDetails::~CPopupManagerDetails() = default;

CPopupManagerDetails::Preferences CPopupManagerDetails::ApplyPreset(const Preferences& current, int nPreset,
                                                                    bool bAssistant, bool bCommercialManager)
{
    Preferences result = current;
    if (nPreset < 0 || nPreset >= kPresets) {
        result[0] = kCustomPreset;
        return result;
    }
    const Preferences& preset = kPresetBytes[nPreset];
    result[0] = preset[0];
    for (int n = 1; n <= kChoices; ++n) {
        const bool bStaffed = n < kFirstCommercialChoice ? bAssistant : bCommercialManager;
        result[n] = bStaffed ? preset[n] : 0;
    }
    return result;
}

CManagerDatabase* CPopupManagerDetails::GetManager() const
{
    // A retired manager lives in the database's small cache of reloaded
    // records: he is looked up again by his id.
    CDatabaseHandler* pDatabase = Database();
    return pDatabase && m_idManager ? pDatabase->GetManagerFromID(m_idManager) : nullptr;
}

CSaveGame* CPopupManagerDetails::HumanShown() const
{
    CDatabaseHandler* pDatabase = Database();
    CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    return pHuman && pHuman == m_pHuman && m_idManager && pHuman->GetManagerID() == m_idManager ? pHuman : nullptr;
}

bool CPopupManagerDetails::MayEditPreferences() const
{
    const CSaveGame* pHuman = HumanShown();
    return pHuman && pHuman->GetClub();
}

CXListBox* CPopupManagerDetails::List(uint32_t dwID) const
{
    return dynamic_cast<CXListBox*>(const_cast<CPopupManagerDetails*>(this)->FindControl(dwID));
}

CXComboBox* CPopupManagerDetails::Choice(uint32_t dwID) const
{
    return dynamic_cast<CXComboBox*>(const_cast<CPopupManagerDetails*>(this)->FindControl(dwID));
}

bool CPopupManagerDetails::Show(CManagerDatabase* pManager)
{
    if (!pManager || IsOnStack())
        return false;
    m_idManager = pManager->GetId();
    return Open();
}

void CPopupManagerDetails::ConstructScreen() { popup_look::DrawFrameBelowTabs(*this, kTabStrip); }

bool CPopupManagerDetails::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    CDatabaseHandler* pDatabase = Database();
    m_pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    for (int n = 0; n < kPreferenceBytes; ++n)
        m_Preferences[static_cast<size_t>(n)] = m_pHuman ? m_pHuman->GetDelegation(n) : 0;
    m_bPreferencesChanged = false;
    m_bFilling = false;
    AddControls();
    ShowAllControls(true);
    m_nPage = PAGE_GENERAL;
    SetPage(PAGE_GENERAL);
    return true;
}

void CPopupManagerDetails::AddControls()
{
    CXSurface* pTabFace = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnTog2.bmp") : nullptr;
    for (int i = 0; i < PAGE_COUNT; ++i)
        if (auto* pTab = static_cast<CXButton*>(
                AddControlXYWH(XCONTROL_BUTTON, kWidth - kTabRightMargin - kTabWidth - (PAGE_COUNT - 1 - i) * kTabStep,
                               0, kTabWidth, kTabHeight, kTabIDs[i], nullptr))) {
            pTab->m_hFont = g_hSmallFont;
            pTab->SetTextID(pTabFace, 0);
        }
    popup_look::AddAnswerButtons(*this);
    if (auto* pTitle =
            static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 46, 32, kWidth - 92, 18, ID_TITLE, nullptr))) {
        pTitle->m_hFont = g_hMediumFont;
        pTitle->m_crText = kTitleColour;
        pTitle->m_byAlignment = 6;
        pTitle->m_bFrame = 0;
        pTitle->m_bClearBackground = 1;
    }
    m_pSmallFaces.reset(LoadMainArchiveBitmap("btnArrw.bmp", true));
    popup_look::AddBrowseArrows(*this, ID_PREVIOUS, ID_NEXT, m_pSmallFaces.get());
    auto value = [this](uint32_t dwID, int x, int y, int nWidth) {
        if (CXStatic* pLabel = popup_look::AddValueLabel(*this, dwID, x, y, nWidth))
            pLabel->m_byAlignment = 0;
    };
    value(ID_BIRTH, 90, 60, 60);
    value(ID_AGE, 190, 60, 20);
    value(ID_NATIONALITY, 90, 94, 130);
    value(ID_RATING, 90, 128, 20);
    value(ID_WAGE, 90, 162, 90);
    for (uint32_t i = 0; i < 3; ++i)
        value(ID_FIRST_BONUS + i, 340, 94 + 34 * static_cast<int>(i), 100);
    AddList(ID_LEAGUE_CAREER, 901, 885, 90, 170, kLeagueColumns, g_hSmallFont);
    // Forty pixels below the league list. A season's club, competition and
    // round at their longest fit side by side only in the smaller face.
    AddList(ID_CUP_CAREER, 902, 887, 210, 290, kCupColumns, g_hTinyFont);
    // Each drop-down's arrow stands right of its box, inside the frame.
    AddChoice(ID_PRESET, 90, 64, 204, 128, kPresetSet);
    AddChoice(ID_FIRST_CHOICE, 90, 98, 204, 162, kChoiceSets[0]);
    AddChoice(ID_FIRST_CHOICE + 1, 90, 132, 204, 196, kChoiceSets[1]);
    AddChoice(ID_FIRST_CHOICE + 2, 90, 166, 204, 198, kChoiceSets[2]);
    AddChoice(ID_FIRST_CHOICE + 3, 320, 64, 434, 96, kChoiceSets[3]);
    AddChoice(ID_FIRST_CHOICE + 4, 320, 98, 434, 130, kChoiceSets[4]);
    AddChoice(ID_FIRST_CHOICE + 5, 320, 132, 434, 196, kChoiceSets[5]);
    AddChoice(ID_FIRST_CHOICE + 6, 320, 166, 434, 230, kChoiceSets[6]);
}

void CPopupManagerDetails::AddList(uint32_t dwID, uint32_t dwBarID, uint32_t dwUp, int nTop, int nBottom,
                                   const LISTCOLUMN* pColumns, plat::Font* hFont)
{
    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 220, dwBarID, nullptr));
    if (pBar)
        pBar->Create(dwUp, dwUp + 1, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, nTop, kWidth, nBottom, dwID, nullptr));
    if (!pList)
        return;
    pList->SetUp(16, 6, hFont, 0, true, pBar, true, nullptr, true, 0, false, false, false);
    pList->SetUpColumns(0, nTop, kWidth, nBottom, pColumns, true, false, nBottom - nTop, false);
    pList->SetAutoRedraw(true);
    pList->m_crCellFill = 0x70564C;
    pList->m_crCellLight = 0xE7BFB3;
}

void CPopupManagerDetails::AddChoice(uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom, int nTable)
{
    CXComboBox* pBox = popup_look::AddDropDown(*this, dwID, nLeft, nTop, nRight, nBottom);
    const int nValues = nTable == kPresetSet ? kPresets + 1
                                             : kChoiceValues[dwID >= ID_FIRST_CHOICE && dwID <= ID_LAST_CHOICE
                                                                 ? dwID - ID_FIRST_CHOICE
                                                                 : 0];
    for (int n = 0; n < nValues; ++n)
        popup_look::AddRow(pBox, nTable, n, static_cast<uint32_t>(n));
}

void CPopupManagerDetails::OnDestroy()
{
    CGamePopup::OnDestroy();
    m_pSmallFaces.reset();
    m_pHuman = nullptr;
}

// ---- pages ----

void CPopupManagerDetails::SetPage(uint32_t dwPage)
{
    int nPage = -1;
    if (dwPage < PAGE_COUNT)
        nPage = static_cast<int>(dwPage);
    for (int i = 0; i < PAGE_COUNT; ++i)
        if (dwPage == kTabIDs[i])
            nPage = i;
    if (nPage < 0 || !GetManager() || (nPage == PAGE_PREFERENCES && !MayEditPreferences()))
        return;
    m_nPage = nPage;
    m_dwCurrentTabID = kTabIDs[nPage];
    switch (nPage) {
    case PAGE_GENERAL:
        ShowGeneralPage();
        break;
    case PAGE_CAREER:
        ShowCareerPage();
        break;
    default:
        ShowPreferencesPage();
        break;
    }
}

void CPopupManagerDetails::BeginPage(int nPage)
{
    ShowAllControls(false);
    ConstructScreen();
    const CManagerDatabase* pManager = GetManager();
    popup_look::DrawClubColourBoxes(*this, pManager ? pManager->m_pClub : nullptr);
    for (int i = 0; i < PAGE_COUNT; ++i)
        if (auto* pTab = dynamic_cast<CXButton*>(FindControl(kTabIDs[i])))
            pTab->SetPressed(i == nPage ? 1 : 0);
}

void CPopupManagerDetails::EndPage(const uint32_t* pIDs, size_t nCount)
{
    RestoreBackground(0, 0, Width(), Height());
    const uint32_t common[] = {ID_TAB_GENERAL, ID_TAB_CAREER, kOkButtonID, kCancelButtonID,
                               ID_PREVIOUS,    ID_NEXT,       ID_TITLE};
    for (uint32_t dwID : common)
        if (CXControl* pControl = FindControl(dwID))
            pControl->Show(true, true);
    // The preferences are the human's own, and only while he runs a club:
    // another manager has no such page to offer.
    if (CXControl* pTab = FindControl(ID_TAB_PREFERENCES); pTab && MayEditPreferences())
        pTab->Show(true, true);
    for (size_t i = 0; i < nCount; ++i)
        if (CXControl* pControl = FindControl(pIDs[i]))
            pControl->Show(true, true);
    if (auto* pTitle = Label(*this, ID_TITLE))
        if (const CManagerDatabase* pManager = GetManager())
            pTitle->SetText("%s", pManager->GetShortName());
}

void CPopupManagerDetails::ShowGeneralPage()
{
    BeginPage(PAGE_GENERAL);
    m_pBackground->ShadeRect(8, 56, kWidth - 16, 130, 2);
    popup_look::DrawLabels(m_pBackground, kGeneralLabels);
    const CManagerDatabase& manager = *GetManager();
    if (CXStatic* p = Label(*this, ID_BIRTH))
        p->SetText("%s", FormatDateRecord(manager.m_DateOfBirth));
    if (CXStatic* p = Label(*this, ID_AGE))
        p->SetText("%d", manager.GetAge());
    if (CXStatic* p = Label(*this, ID_NATIONALITY)) {
        p->SetText("%s", GetTableTextOrEmpty(kNationalitySet, manager.m_byNationality));
        p->SetAlignedImage(PlayerRowIcons::NationFlag(manager.m_byNationality), 2);
    }
    if (CXStatic* p = Label(*this, ID_RATING))
        p->SetText("%d", manager.m_byRating);
    const uint32_t dwWage = manager.m_Contract.dwWage;
    SetMoneyText(Label(*this, ID_WAGE), dwWage, popup_look::WagePeriod());
    // Each bonus is a percentage of his yearly wage.
    for (uint32_t i = 0; i < 3; ++i)
        SetMoneyText(Label(*this, ID_FIRST_BONUS + i),
                     static_cast<double>(manager.m_Contract.abyBonus[i]) * static_cast<double>(dwWage / 100),
                     MONEY_AS_STORED);
    const uint32_t page[] = {ID_BIRTH, ID_AGE, ID_NATIONALITY, ID_RATING, ID_WAGE, ID_FIRST_BONUS,
                             ID_FIRST_BONUS + 1, ID_FIRST_BONUS + 2};
    EndPage(page, std::size(page));
}

void CPopupManagerDetails::ShowCareerPage()
{
    BeginPage(PAGE_CAREER);
    popup_look::DrawLabels(m_pBackground, kCareerLabels);
    CXListBox* pLeague = List(ID_LEAGUE_CAREER);
    CXListBox* pCups = List(ID_CUP_CAREER);
    const CManagerDatabase& manager = *GetManager();
    CDatabaseHandler* pDatabase = Database();
    if (pLeague && pCups && pDatabase) {
        pLeague->ResetContent();
        pCups->ResetContent();
        for (const MANAGERCAREERENTRY& entry : manager.m_Career) {
            const MANAGERCAREERENTRY* pEntry = &entry;
            const CClubDatabase* pClub = pEntry->wClubId ? pDatabase->GetClubFromID(pEntry->wClubId) : nullptr;
            const char* pszClub = pClub ? pClub->GetName() : GetTableTextOrEmpty(kWordsSet, kNoClubItem);
            const int nFirstYear = kSeasonBase + pEntry->bySeason;
            pLeague->AddString(kRowColour, "%d / %d\t%s\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d\t%2d", nFirstYear,
                               nFirstYear + 1, pszClub, pEntry->byMatches, pEntry->byWon, pEntry->byDrawn,
                               pEntry->byLost, pEntry->byGoalsFor, pEntry->byGoalsAgainst, pEntry->byPoints,
                               pEntry->byLeaguePosition);
            for (int k = 0; k < MANAGER_CUP_SLOTS; ++k) {
                // Each slot keeps the club's cup status pair: the stage, then
                // the round reached.
                const uint8_t byRound = pEntry->abyCupSlots[k][1];
                if (byRound == kNotEntered)
                    continue;
                const CUP* pCup = pDatabase->GetCupByCompetitionIndex(k, pClub ? pClub->GetCountry() : nullptr);
                char szCompetition[96], szRound[96];
                FormatCompetitionName(pCup, pDatabase, szCompetition, sizeof szCompetition);
                FormatCupRoundName(pCup, pDatabase, byRound, szRound, sizeof szRound);
                pCups->AddString(kRowColour, "%d / %d\t%s\t%s\t%s", nFirstYear, nFirstYear + 1, pszClub,
                                 szCompetition, szRound);
            }
        }
        for (CXListBox* pList : {pLeague, pCups}) {
            pList->UpdateScrollBar();
            pList->Redraw();
        }
    }
    const uint32_t page[] = {ID_LEAGUE_CAREER, ID_CUP_CAREER};
    EndPage(page, std::size(page));
}

void CPopupManagerDetails::ShowPreferencesPage()
{
    BeginPage(PAGE_PREFERENCES);
    popup_look::DrawLabels(m_pBackground, kPreferenceLabels);
    SelectPreferences();
    uint32_t page[kChoices + 1];
    page[0] = ID_PRESET;
    for (uint32_t n = 0; n < kChoices; ++n)
        page[n + 1] = ID_FIRST_CHOICE + n;
    EndPage(page, std::size(page));
}

void CPopupManagerDetails::SelectPreferences()
{
    m_bFilling = true;
    popup_look::SelectValue(Choice(ID_PRESET), m_Preferences[0]);
    for (uint32_t n = 0; n < kChoices; ++n)
        popup_look::SelectValue(Choice(ID_FIRST_CHOICE + n), m_Preferences[n + 1]);
    m_bFilling = false;
}

// ---- clicks and choices ----

CGameClient* CPopupManagerDetails::Owner() const
{
    // The screen below; a popup between them has no list of managers.
    if (CXPopup::StackEntry(0) != this)
        return nullptr;
    return dynamic_cast<CGameClient*>(g_pCurrentClient);
}

void CPopupManagerDetails::Browse(bool bNext)
{
    CGameClient* pOwner = Owner();
    if (!pOwner)
        return;
    const uint32_t idManager = bNext ? pOwner->GetNextManager() : pOwner->GetPreviousManager();
    CDatabaseHandler* pDatabase = Database();
    if (!idManager || !pDatabase || !pDatabase->GetManagerFromID(static_cast<ID_MANAGER>(idManager)))
        return;
    m_idManager = static_cast<ID_MANAGER>(idManager);
    // Another manager's page of preferences does not exist.
    SetPage(m_nPage == PAGE_PREFERENCES && !MayEditPreferences() ? static_cast<uint32_t>(PAGE_GENERAL) : static_cast<uint32_t>(m_nPage));
}

void CPopupManagerDetails::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    switch (dwID) {
    case ID_TAB_GENERAL:
    case ID_TAB_CAREER:
    case ID_TAB_PREFERENCES:
        SetPage(dwID);
        break;
    case ID_PREVIOUS:
    case ID_NEXT:
        Browse(dwID == ID_NEXT);
        break;
    case kOkButtonID: {
        // The copy is written back only when it was changed, and only into
        // the record it was taken from (a game loaded meanwhile has another).
        CDatabaseHandler* pDatabase = Database();
        CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
        if (m_bPreferencesChanged && pHuman && pHuman == m_pHuman) {
            for (int n = 0; n < kPreferenceBytes; ++n)
                pHuman->SetDelegation(n, m_Preferences[static_cast<size_t>(n)]);
            pHuman->GetNotices().ClearResolvedNotices();
        }
        m_dwResultID = kOkButtonID;
        Close();
        break;
    }
    case kCancelButtonID:
        m_dwResultID = kCancelButtonID;
        Close();
        break;
    default:
        break;
    }
}

void CPopupManagerDetails::OnSelChange(uint32_t dwID)
{
    CGamePopup::OnSelChange(dwID);
    if (m_bFilling || m_nPage != PAGE_PREFERENCES || !MayEditPreferences())
        return;
    if (dwID == ID_PRESET) {
        const CClubDatabase* pClub = m_pHuman ? m_pHuman->GetClub() : nullptr;
        const int nPreset = static_cast<int>(popup_look::SelectedValue(Choice(ID_PRESET), kCustomPreset));
        m_Preferences = ApplyPreset(m_Preferences, nPreset, pClub && pClub->GetStaffCount(kAssistantKind) > 0,
                                    pClub && pClub->GetStaffCount(kCommercialKind) > 0);
    } else if (dwID >= ID_FIRST_CHOICE && dwID <= ID_LAST_CHOICE) {
        const size_t n = dwID - ID_FIRST_CHOICE + 1;
        m_Preferences[n] = static_cast<uint8_t>(popup_look::SelectedValue(Choice(dwID), m_Preferences[n]));
        m_Preferences[0] = kCustomPreset;
    } else {
        return;
    }
    m_bPreferencesChanged = true;
    SelectPreferences();
}
