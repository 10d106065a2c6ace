#include "popups/CPopupLoadSaveGame.h"

#include "popups/SavedFileList.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include "common/DebugLog.h"
#include "platform/Files.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kLeft = 245;
constexpr int kTop = 160;
constexpr int kLoadCaption = 17;
constexpr int kSaveCaption = 18;
constexpr int kLabelsDescription = 26;
constexpr int kCountrySet = 92;
constexpr int kWordsSet = 114;
constexpr int kNoSummaryWord = 6;
constexpr COLORREF kLabelColour = plat::RGB(255, 253, 173);
constexpr COLORREF kRowColour = 0xFFFFFF;
constexpr int kRowHeight = 16;

const LISTCOLUMN kSaveColumns[] = {
    {0, 62, 6, 0, 0, 0, 0, LISTSORT_DATE, 1},
    {62, 200, 6, 0, 0, 0, 0, LISTSORT_TEXT, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kManagerColumns[] = {
    {0, 140, 4, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

// The summary labels: id, place and width, right-aligned or not.
struct SummaryLabel {
    uint32_t dwID;
    int x, y, nWidth;
    bool bRight;
};
constexpr SummaryLabel kSummaryLabels[] = {
    {CPopupLoadSaveGame::ID_CLUB, 300, 74, 150, false},      {CPopupLoadSaveGame::ID_COUNTRY, 300, 108, 150, false},
    {CPopupLoadSaveGame::ID_DIVISION, 300, 142, 150, false}, {CPopupLoadSaveGame::ID_POSITION, 300, 186, 38, true},
    {CPopupLoadSaveGame::ID_PLAYED, 340, 186, 38, true},     {CPopupLoadSaveGame::ID_POINTS, 380, 186, 38, true},
    {CPopupLoadSaveGame::ID_BALANCE, 300, 220, 100, false},  {CPopupLoadSaveGame::ID_GAME_DATE, 300, 264, 62, false},
    {CPopupLoadSaveGame::ID_SAVED_DATE, 366, 264, 62, false},
};

const char* NoSummaryText()
{
    const char* pszText = GetTableText(kWordsSet, kNoSummaryWord);
    return pszText ? pszText : "";
}

}  // namespace

CPopupLoadSaveGame::CPopupLoadSaveGame()
{
    m_wScreenID = SCREEN_LOAD_GAME_POPUP;
    SetPopupRect(kLeft, kTop, kWidth, kHeight);
}

bool CPopupLoadSaveGame::Show(bool bLoad)
{
    if (IsOnStack())
        return false;
    m_bLoad = bLoad;
    return Open();
}

void CPopupLoadSaveGame::ConstructScreen()
{
    DrawCaptionFrame(m_bLoad ? kLoadCaption : kSaveCaption);
    DrawSurfaceText(g_hNormalFont, m_pBackground, kLabelsDescription, kLabelColour);
}

bool CPopupLoadSaveGame::OnInitDialog()
{
    m_wScreenID = m_bLoad ? SCREEN_LOAD_GAME_POPUP : SCREEN_SAVE_GAME_POPUP;
    ConstructScreen();
    CGamePopup::OnInitDialog();
    m_Summaries.clear();

    AddConfirmButton(kOkButtonID, ConfirmX());
    AddConfirmButton(kCancelButtonID, CancelX());
    AddButton(ID_DELETE);

    m_pList = saved_files::AddList(*this, ID_LIST, ID_SCROLL_BAR, 8, 88, 208, 280, kSaveColumns);
    m_pManagers = static_cast<CXComboBox*>(AddControl(XCONTROL_COMBOBOX, 300, 40, 440, 104, ID_MANAGERS, nullptr));
    if (m_pManagers) {
        m_pManagers->SetUp(kRowHeight, 4, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, nullptr, false,
                           saved_files::SelectionBar(), false, 2, false, false, true);
        m_pManagers->SetUpColumns(300, 40, 440, 104, kManagerColumns, false, false, kRowHeight, false);
        m_pManagers->SetAutoRedraw(true);
    }
    m_pName = static_cast<CXEdit*>(AddControlXYWH(XCONTROL_EDIT, 68, 40, 140, 18, ID_NAME, nullptr));
    if (m_pName) {
        m_pName->m_hFont = g_hSmallFont;
        m_pName->SetMaxLength(kMaxNameLength);
    }
    for (const SummaryLabel& label : kSummaryLabels)
        if (auto* pLabel = static_cast<CXStatic*>(
                AddControlXYWH(XCONTROL_STATIC, label.x, label.y, label.nWidth, 18, label.dwID, nullptr))) {
            pLabel->m_hFont = g_hSmallFont;
            pLabel->m_bFrame = 0;
            pLabel->m_byAlignment = label.bRight ? 2 : 0;
            // Another game's summary is written over this one's.
            pLabel->m_bClearBackground = 1;
        }

    const int nSaved = FillSaveList();
    ShowAllControls(true);
    EnableDelete(nSaved > 0);
    SetFocus(m_pName);
    TakeListSelection();
    return true;
}

void CPopupLoadSaveGame::OnDestroy()
{
    CGamePopup::OnDestroy();
    m_pList = nullptr;
    m_pManagers = nullptr;
    m_pName = nullptr;
}

int CPopupLoadSaveGame::FillSaveList()
{
    std::vector<saved_files::FILEROW> games;
    for (const CGame::SavedGameEntry& game : CGame::ListSavedGames())
        games.push_back({game.name, game.nWrittenTime});
    return m_pList ? saved_files::Fill(*m_pList, games) : static_cast<int>(games.size());
}

std::string CPopupLoadSaveGame::GetTypedName() const
{
    return saved_files::TypedName(m_pName);
}

void CPopupLoadSaveGame::TakeListSelection()
{
    // The edit tells OnEditChange. The name is offered chosen, so that
    // typing a new one replaces it rather than adding to it.
    if (m_pName) {
        m_pName->SetText("%s", saved_files::ChosenName(m_pList).c_str());
        m_pName->ChooseAll();
    }
}

void CPopupLoadSaveGame::ReadSummaries()
{
    m_Summaries.clear();
    const std::string name = GetTypedName();
    const std::string stem = name.empty() ? "" : CGame::GetSavePath(CGame::GetSavedGameSet(name).c_str());
    if (!stem.empty())
        ReadSaveGameSummaries(stem + ".sav", m_Summaries);
    for (const SAVEGAMESUMMARY& summary : m_Summaries)
        if (summary.byGameType > 2)
            DebugLog(0, "[CPopupLoadSaveGame::OnSelChange] Unknown Game Type");
}

void CPopupLoadSaveGame::OnEditChange(CXControl* pControl)
{
    if (pControl != m_pName)
        return;
    ReadSummaries();
    if (m_pManagers) {
        m_pManagers->ResetContent();
        if (m_Summaries.empty())
            m_pManagers->AddString(kRowColour, "%s", NoSummaryText());
        for (size_t i = 0; i < m_Summaries.size(); ++i)
            m_pManagers->SetItemData(m_pManagers->AddString(kRowColour, "%s", m_Summaries[i].manager.c_str()),
                                     static_cast<uint32_t>(i + 1));
        m_pManagers->SetSelection(0);
        m_pManagers->Redraw();
    }
    if (m_Summaries.empty())
        ShowEmptySummary();
    else
        ShowSummary(0);
    const std::string name = GetTypedName();
    const bool bNamed = !name.empty() && !CGame::GetSavePath(CGame::GetSavedGameSet(name).c_str()).empty();
    EnableOk(m_bLoad ? !m_Summaries.empty() : bNamed);
}

void CPopupLoadSaveGame::ShowEmptySummary()
{
    for (const SummaryLabel& label : kSummaryLabels)
        if (auto* pLabel = dynamic_cast<CXStatic*>(FindControl(label.dwID)))
            pLabel->SetText("%s", NoSummaryText());
}

void CPopupLoadSaveGame::ShowSummary(int nManager)
{
    if (nManager < 0 || nManager >= static_cast<int>(m_Summaries.size()))
        return;
    const SAVEGAMESUMMARY& summary = m_Summaries[static_cast<size_t>(nManager)];
    auto label = [this](uint32_t dwID) { return dynamic_cast<CXStatic*>(FindControl(dwID)); };
    if (CXStatic* p = label(ID_CLUB))
        p->SetText("%s", summary.club.c_str());
    if (CXStatic* p = label(ID_COUNTRY)) {
        const char* pszCountry = GetTableText(kCountrySet, static_cast<int>(summary.dwCountry));
        p->SetText("%s", pszCountry ? pszCountry : "");
    }
    if (CXStatic* p = label(ID_DIVISION))
        p->SetText("%s", summary.division.c_str());
    if (CXStatic* p = label(ID_POSITION))
        p->SetText("%d", summary.byLeaguePosition);
    if (CXStatic* p = label(ID_PLAYED))
        p->SetText("%d", summary.byPlayed);
    if (CXStatic* p = label(ID_POINTS))
        p->SetText("%d", summary.byPoints);
    if (CXStatic* p = label(ID_BALANCE))
        SetMoneyText(p, summary.nBankBalance, MONEY_AS_STORED);
    if (CXStatic* p = label(ID_GAME_DATE))
        p->SetText("%s", FormatDate(summary.anGameDate[0], summary.anGameDate[1], summary.anGameDate[2]));
    if (CXStatic* p = label(ID_SAVED_DATE))
        p->SetText("%s", FormatDate(summary.anSavedDate[0], summary.anSavedDate[1], summary.anSavedDate[2]));
}

void CPopupLoadSaveGame::EnableOk(bool bEnable)
{
    if (auto* pOk = dynamic_cast<CXButton*>(FindControl(kOkButtonID)))
        pOk->Enable(!bEnable);
}

void CPopupLoadSaveGame::EnableDelete(bool bEnable)
{
    if (auto* pDelete = dynamic_cast<CXButton*>(FindControl(ID_DELETE)))
        pDelete->Enable(!bEnable);
}

void CPopupLoadSaveGame::OnSelChange(uint32_t dwID)
{
    if (dwID == ID_LIST) {
        TakeListSelection();
    } else if (dwID == ID_MANAGERS && m_pManagers) {
        const int64_t nData = m_pManagers->GetItemData(m_pManagers->GetSelection());
        if (nData > 0)
            ShowSummary(static_cast<int>(nData - 1));
    }
}

void CPopupLoadSaveGame::OnDoubleClicked(uint32_t dwID)
{
    const auto* pOk = dynamic_cast<const CXButton*>(FindControl(kOkButtonID));
    if (dwID == ID_LIST && pOk && !pOk->m_bDisabled)
        OnClicked(kOkButtonID);
}

void CPopupLoadSaveGame::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    const std::string name = GetTypedName();
    const std::string set = CGame::GetSavedGameSet(name);
    const std::string stem = name.empty() ? "" : CGame::GetSavePath(set.c_str());
    switch (dwID) {
    case kCancelButtonID:
        Close();
        break;
    case ID_DELETE:
        // Only a saved game that is there is offered for deleting.
        if (!stem.empty() && plat::fileExists(stem + ".sav"))
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, kDeleteQuestion);
        break;
    case kOkButtonID: {
        const auto* pOk = dynamic_cast<const CXButton*>(FindControl(kOkButtonID));
        if (stem.empty() || (pOk && pOk->m_bDisabled))
            break;
        if (m_pName)
            m_pName->SetText("%s", name.c_str());
        if (!m_bLoad && plat::fileExists(stem + ".sav")) {
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, kOverwriteQuestion);
            break;
        }
        m_ChosenSet = set;
        m_dwResultID = kOkButtonID;
        Close();
        break;
    }
    default:
        break;
    }
}

void CPopupLoadSaveGame::OnEndMessageBoxPopup()
{
    CGamePopup::OnEndMessageBoxPopup();
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox || pBox->m_dwResultID != kOkButtonID)
        return;
    const std::string set = CGame::GetSavedGameSet(GetTypedName());
    if (pBox->GetTextItem() == kOverwriteQuestion) {
        // The save replaces the old set whole, or keeps it when it fails.
        m_ChosenSet = set;
        m_dwResultID = kOkButtonID;
        Close();
    } else if (pBox->GetTextItem() == kDeleteQuestion) {
        if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
            pGame->DeleteSaveGame(set.c_str());
        const int nLeft = FillSaveList();
        EnableDelete(nLeft > 0);
        SetFocus(m_pList);
        TakeListSelection();
    }
}
