#include "popups/CPopupGameSettings.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/ScreenIDs.h"

#include "database/CDatabaseHandler.h"
#include "xframework/CXComboBox.h"

#include <cstdio>

namespace {

constexpr int kCaptionItem = 50;
constexpr int kLabels = 20;
constexpr int kSecondSettingTable = 51;
constexpr int kThirdSettingTable = 131;
constexpr int kThirdSettingRows = 10;
constexpr int kCurrencyTable = 65;
constexpr int kDateTable = 66;
constexpr int kDateRows = 3;
constexpr int kContractsTable = 69;
constexpr int kContractsRows = 3;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

}  // namespace

CPopupGameSettings::CPopupGameSettings()
{
    m_wScreenID = SCREEN_GAME_SETTINGS_POPUP;
    SetPopupRect(372, 165, 216, 320);
}

void CPopupGameSettings::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
}

void CPopupGameSettings::AddGameSettingDropDowns(CXClient& popup)
{
    using namespace popup_look;
    if (CXComboBox* pLength = AddDropDown(popup, ID_LENGTH, 90, 64, 190, 144))
        for (uint8_t bySeasons : kLengths) {
            char szText[32];
            std::snprintf(szText, sizeof szText, GetTableText(114, 37) ? GetTableText(114, 37) : "%d", bySeasons);
            AddTextRow(pLength, szText, bySeasons);
        }
    CXComboBox* pSecond = AddDropDown(popup, ID_SECOND_SETTING, 90, 98, 190, 130);
    for (int i = 0; i < 2; ++i)
        AddRow(pSecond, kSecondSettingTable, i, static_cast<uint32_t>(i));
    CXComboBox* pThird = AddDropDown(popup, ID_THIRD_SETTING, 90, 132, 190, 228);
    for (int i = 0; i < kThirdSettingRows; ++i)
        AddRow(pThird, kThirdSettingTable, i, static_cast<uint32_t>(i));
}

void CPopupGameSettings::AddDisplayDropDowns(CXClient& popup)
{
    using namespace popup_look;
    CXComboBox* pCurrency = AddDropDown(popup, ID_CURRENCY, 90, 166, 190, 262);
    for (int i = 0; i < COptions::kCurrencyCount; ++i)
        AddRow(pCurrency, kCurrencyTable, i, static_cast<uint32_t>(i));
    CXComboBox* pDate = AddDropDown(popup, ID_DATE, 90, 200, 190, 248);
    for (int i = 0; i < kDateRows; ++i)
        AddRow(pDate, kDateTable, i, static_cast<uint32_t>(i));
    CXComboBox* pContracts = AddDropDown(popup, ID_CONTRACTS, 90, 234, 190, 282);
    for (int i = 0; i < kContractsRows; ++i)
        AddRow(pContracts, kContractsTable, i, static_cast<uint32_t>(i));
}

CXComboBox* CPopupGameSettings::Box(uint32_t dwID) { return dynamic_cast<CXComboBox*>(FindControl(dwID)); }

bool CPopupGameSettings::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    AddGameSettingDropDowns(*this);
    AddDisplayDropDowns(*this);
    popup_look::AddAnswerButtons(*this);
    if (CGame* pGame = Game()) {
        m_Options = pGame->GetOptions().Values();
        for (int i = 0; i < 3; ++i)
            m_abySettings[i] = pGame->GetDatabase() ? pGame->GetDatabase()->GetGameSetting(i) : 0;
    }
    using popup_look::SelectValue;
    SelectValue(Box(ID_LENGTH), m_abySettings[0]);
    SelectValue(Box(ID_SECOND_SETTING), m_abySettings[1]);
    SelectValue(Box(ID_THIRD_SETTING), m_abySettings[2]);
    SelectValue(Box(ID_CURRENCY), m_Options.m_nCurrency);
    SelectValue(Box(ID_DATE), m_Options.m_nDate);
    SelectValue(Box(ID_CONTRACTS), m_Options.m_nContractsSalaries);
    ShowAllControls(true);
    return true;
}

void CPopupGameSettings::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kCancelButtonID) {
        Close();
        return;
    }
    if (dwID != kOkButtonID || !IsOnStack())
        return;
    CGame* pGame = Game();
    using popup_look::SelectedValue;
    if (CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr) {
        pDatabase->SetGameSetting(0, static_cast<uint8_t>(SelectedValue(Box(ID_LENGTH), m_abySettings[0])));
        pDatabase->SetGameSetting(1, static_cast<uint8_t>(SelectedValue(Box(ID_SECOND_SETTING), m_abySettings[1])));
        pDatabase->SetGameSetting(2, static_cast<uint8_t>(SelectedValue(Box(ID_THIRD_SETTING), m_abySettings[2])));
    }
    m_Options.m_nCurrency = static_cast<uint8_t>(SelectedValue(Box(ID_CURRENCY), m_Options.m_nCurrency));
    m_Options.m_nDate = static_cast<uint8_t>(SelectedValue(Box(ID_DATE), m_Options.m_nDate));
    m_Options.m_nContractsSalaries =
        static_cast<uint8_t>(SelectedValue(Box(ID_CONTRACTS), m_Options.m_nContractsSalaries));
    if (pGame) {
        // Only the three display options come from this popup; the others
        // stay as they are live.
        OptionValues values = pGame->GetOptions().Values();
        values.m_nCurrency = m_Options.m_nCurrency;
        values.m_nDate = m_Options.m_nDate;
        values.m_nContractsSalaries = m_Options.m_nContractsSalaries;
        pGame->ApplyOptions(values);
    }
    m_dwResultID = kOkButtonID;
    Close();
}
