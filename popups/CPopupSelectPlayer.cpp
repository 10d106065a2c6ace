#include "popups/CPopupSelectPlayer.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CTableText.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "platform/DeviceContext.h"
#include "platform/Messages.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kCaptionItem = 43;
constexpr int kLabels = 47;
constexpr int kRowY[CPopupSelectPlayer::kPlayers] = {40, 74, 108, 142};
// The drop-down's rows are lower than the name field: set down to the
// field's foot, its text stands on the "Nation" label's line.
constexpr int kNationDrop = 2;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

std::string UpperCase(const char* pszText)
{
    std::string text = pszText ? pszText : "";
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

ID_COUNTRY FirstCountryID(const CDatabaseHandler& database)
{
    for (const CCountryDatabase* pCountry : database.GetCountries().Items<CCountryDatabase>())
        return pCountry->GetID();
    return 0;
}

}  // namespace

CPopupSelectPlayer::CPopupSelectPlayer()
{
    m_wScreenID = SCREEN_SELECT_PLAYER_POPUP;
    SetPopupRect(215, 215, 530, 220);
}

uint8_t CPopupSelectPlayer::DefaultNationality(const char* pszLanguage)
{
    static const std::pair<const char*, uint8_t> kLanguages[] = {
        {"ENGLISH", 1}, {"ITALIAN", 3}, {"FRENCH", 4}, {"GERMAN", 5}, {"SPANISH", 6}};
    const std::string language = UpperCase(pszLanguage);
    for (const auto& [pszName, byNation] : kLanguages)
        if (language == pszName)
            return byNation;
    return 1;
}

std::string CPopupSelectPlayer::TrimName(const char* pszText)
{
    std::string name = pszText ? pszText : "";
    const size_t nFirst = name.find_first_not_of(' ');
    if (nFirst == std::string::npos)
        return "";
    return name.substr(nFirst, name.find_last_not_of(' ') - nFirst + 1);
}

void CPopupSelectPlayer::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
    // A small frame left of each name, the place the player's turn shows.
    if (!m_pBackground->m_pSurface)
        return;
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    plat::Pen pen(plat::PS_SOLID, 1, popup_look::kLabelColour);
    pDC->selectPen(&pen);
    pDC->selectBrush(plat::Brush::hollow());
    for (int y : kRowY)
        pDC->rectangle(75, y + 5, 83, y + 13);
    m_pBackground->m_pSurface->releaseDC(pDC);
}

CXEdit* CPopupSelectPlayer::Edit(int nPlayer)
{
    return dynamic_cast<CXEdit*>(FindControl(ID_FIRST_NAME_EDIT + static_cast<uint32_t>(nPlayer)));
}

CXComboBox* CPopupSelectPlayer::Nationality(int nPlayer)
{
    return dynamic_cast<CXComboBox*>(FindControl(ID_FIRST_NATIONALITY + static_cast<uint32_t>(nPlayer)));
}

bool CPopupSelectPlayer::OnInitDialog()
{
    m_nCreated = 0;
    ConstructScreen();
    CGamePopup::OnInitDialog();
    if (CXButton* pSettings = AddButton(ID_SETTINGS))
        pSettings->m_hFont = g_hSmallBoldFont;
    popup_look::AddAnswerButtons(*this);

    CGame* pGame = Game();
    const uint8_t byDefault = DefaultNationality(pGame ? pGame->GetOptions().GetLanguage() : "");
    for (int i = 0; i < kPlayers; ++i) {
        const uint32_t dwID = ID_FIRST_NATIONALITY + static_cast<uint32_t>(i);
        CXComboBox* pBox = popup_look::AddDropDown(*this, dwID, 360, kRowY[i] + kNationDrop, 500, kRowY[i] + 224);
        popup_look::AddNationRows(pBox);
        popup_look::SelectValue(pBox, byDefault);
    }
    for (int i = 0; i < kPlayers; ++i) {
        auto* pEdit = static_cast<CXEdit*>(AddControlXYWH(XCONTROL_EDIT, 90, kRowY[i], 190, 18,
                                                          ID_FIRST_NAME_EDIT + static_cast<uint32_t>(i), nullptr));
        if (!pEdit)
            continue;
        pEdit->m_hFont = g_hNormalFont;
        pEdit->SetMaxLength(kMaxNameLength);
    }
    ShowAllControls(true);
    SetFocus(Edit(0));
    if (auto* pOk = dynamic_cast<CXButton*>(FindControl(kOkButtonID)))
        pOk->Enable(true);

    // Every attempt starts from the starting world, so that a cancelled one
    // leaves nothing behind.
    m_bWorldLoaded = pGame && pGame->LoadStartingWorld();
    if (g_pNavigationBar) {
        g_pNavigationBar->ShowMessage(m_bWorldLoaded || !pGame ? "" : pGame->GetFileError().c_str());
        g_pNavigationBar->SetBlock(1);
    }
    return true;
}

void CPopupSelectPlayer::OnDestroy()
{
    if (m_GameSettings.IsOnStack())
        m_GameSettings.Close();
    CGamePopup::OnDestroy();
}

bool CPopupSelectPlayer::AnyName()
{
    for (int i = 0; i < kPlayers; ++i)
        if (CXEdit* pEdit = Edit(i); pEdit && !TrimName(pEdit->Text()).empty())
            return true;
    return false;
}

void CPopupSelectPlayer::OnEditChange(CXControl* /*pControl*/)
{
    if (auto* pOk = dynamic_cast<CXButton*>(FindControl(kOkButtonID)))
        pOk->Enable(!(AnyName() && m_bWorldLoaded));
}

void CPopupSelectPlayer::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t)
{
    // Tab runs round the four names.
    if (key == plat::VK_TAB) {
        for (int i = 0; i < kPlayers; ++i)
            if (m_pFocused && m_pFocused == Edit(i)) {
                SetFocus(Edit((i + 1) % kPlayers));
                return;
            }
        SetFocus(Edit(0));
        return;
    }
    CGamePopup::OnKeyDown(key, repeat, 0);
}

void CPopupSelectPlayer::OnEndPopup(CXPopup* /*pPopup*/) { KillToolTip(); }

void CPopupSelectPlayer::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == ID_SETTINGS) {
        m_GameSettings.Open();
        return;
    }
    if (dwID == kCancelButtonID) {
        Close();
        return;
    }
    const bool bEditReturn = dwID >= ID_FIRST_NAME_EDIT && dwID < ID_FIRST_NAME_EDIT + kPlayers;
    if (dwID == kOkButtonID || bEditReturn)
        Confirm();
}

void CPopupSelectPlayer::Confirm()
{
    CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    if (!IsOnStack() || !m_bWorldLoaded || !pDatabase || !AnyName())
        return;
    int nSlot = 0;
    for (int i = 0; i < kPlayers; ++i) {
        CXEdit* pEdit = Edit(i);
        const std::string name = TrimName(pEdit ? pEdit->Text() : "");
        if (name.empty())
            continue;
        const auto byNation = static_cast<uint8_t>(popup_look::SelectedValue(Nationality(i), 1));
        // A nation without a league of its own in the world is managed from
        // the first country until the manager has a club.
        const ID_COUNTRY idCountry = pDatabase->GetCountryFromID(byNation) ? byNation : ID_COUNTRY(0);
        CSaveGame* pHuman = CSaveGame::CreateNewHuman(*pDatabase, nSlot, name.c_str(), byNation,
                                                      idCountry ? idCountry : FirstCountryID(*pDatabase));
        if (!pHuman) {
            DebugLog(0, "[CPopupSelectPlayer] Manager %d (%s) could not be created", i + 1, name.c_str());
            continue;
        }
        ++nSlot;
    }
    m_nCreated = nSlot;
    if (nSlot == 0)
        return;
    pGame->GetScreenHistory().ClearScreenHistory();
    m_dwResultID = kOkButtonID;
    Close();
}
