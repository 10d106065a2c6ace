#include "popups/CPopupScenario.h"

#include "popups/CPopupSelectPlayer.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 542, kHeight = 420;
constexpr int kLabels = 42;
constexpr int kTitleTable = 78, kDescriptionTable = 79, kIntroductionTable = 80, kAchievedTable = 83,
              kFailedTable = 85, kGoalTimeTable = 86, kGoalSetterTable = 87, kNationTable = 92;
constexpr int kMaxNameLength = 18;
constexpr int kPictureX = 8, kPictureY = 70;
// The scenario that starts in a world of its own.
constexpr int kSinkingShipScenario = 1;
constexpr const char* kSinkingShipWorld = "Data/ScenarioData/SinkingShip/SinkingShip.bin";
// The bankrupt club's description names the money it must raise.
constexpr int kBankruptScenario = 4;
constexpr int32_t kBankruptTarget = 15000000;
constexpr uint32_t kArrowRepeatDelay = 250;

// Objectives as the human's board judges them at a season's end: 0 a top-six
// place, 1 and 2 out of the relegation places, 3 the title, 4 out of the
// relegation places with 15,000,000 in the bank, 6 in the top division.
const SCENARIORECORD kScenarioTable[CPopupScenario::kScenarios] = {
    {"scnCare.bmp", 0, 0, 0, 6000000, 0, 1, 0},
    {"scnShip.bmp", 1, 0, 1, 4000000, 2, 15, 0},
    {"scnCris.bmp", 2, 1, 0, 1000000, 0, 1, 1},
    {"scnPClub.bmp", 3, 0, 2, 25000000, 1, 2, 0},
    {"scnBank.bmp", 4, 0, 4, 0, 0, 1, 0},
    {"scnDoub.bmp", 5, 0, 3, 30000000, 0, 1, 0},
    {"scnGiant.bmp", 6, 2, 6, 20000000, 1, 2, 2},
    {"scnKAVO.bmp", 7, 0, 0, 60000000, 1, 3, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CXStatic* Label(CXClient& popup, uint32_t dwID)
{
    return dynamic_cast<CXStatic*>(popup.FindControl(dwID));
}

}  // namespace

CPopupScenario::CPopupScenario()
{
    m_wScreenID = SCREEN_SCENARIO_POPUP;
    SetPopupRect(209, 115, kWidth, kHeight);
}

CPopupScenario::~CPopupScenario() = default;

const SCENARIORECORD* CPopupScenario::GetScenario(int nScenario)
{
    return nScenario >= 0 && nScenario < kScenarios ? &kScenarioTable[nScenario] : nullptr;
}

uint8_t CPopupScenario::GoalSeasons(const SCENARIORECORD& record)
{
    return record.byGoalKind == 1 ? std::max<uint8_t>(record.byGoalValue, 1) : 1;
}

bool CPopupScenario::Show(uint8_t byFixedScenario, uint8_t byTextKind)
{
    if (byFixedScenario != kChoosing && !GetScenario(byFixedScenario)) {
        DebugLog(1, "[CPopupScenario::Show] There is no scenario %d", byFixedScenario);
        return false;
    }
    m_byFixedScenario = byFixedScenario;
    m_byTextKind = byTextKind <= TEXT_ACHIEVED ? byTextKind : TEXT_INTRODUCTION;
    return Open();
}

void CPopupScenario::ConstructScreen()
{
    DrawCaptionFrame(-1);
    popup_look::DrawLabels(m_pBackground, kLabels);
}

CXEdit* CPopupScenario::NameEdit() { return dynamic_cast<CXEdit*>(FindControl(ID_NAME)); }

CXComboBox* CPopupScenario::NationalityBox() { return dynamic_cast<CXComboBox*>(FindControl(ID_NATIONALITY)); }

bool CPopupScenario::OnInitDialog()
{
    m_bCreated = false;
    m_pszRefusal = "";
    m_Archive.Close();
    m_Archive.Open("GFX\\Scenarios.BFS");
    ConstructScreen();
    CGamePopup::OnInitDialog();

    const bool bChoosing = IsChoosing();
    m_byScenario = bChoosing ? 0 : m_byFixedScenario;
    if (bChoosing) {
        m_pArrowFaces.reset(LoadMainArchiveBitmap("btnArrw.bmp", true));
        for (uint32_t dwID : {ID_PREVIOUS, ID_NEXT})
            if (auto* pArrow = static_cast<CXButton*>(
                    AddControlXYWH(XCONTROL_BUTTON, dwID == ID_PREVIOUS ? 8 : 26, 9, 16, 16, dwID, nullptr))) {
                pArrow->SetBitmap(m_pArrowFaces.get(), dwID == ID_PREVIOUS ? 0 : 32, 0, false, true);
                pArrow->m_dwRepeatDelay = kArrowRepeatDelay;
            }
    }
    if (auto* pTitle = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 88, 8, kWidth - 134, 18, ID_TITLE, nullptr))) {
        pTitle->m_hFont = g_hMediumFont;
        pTitle->m_crText = popup_look::kLabelColour;
        pTitle->m_byAlignment = 6;
        pTitle->m_bShadow = 1;
        pTitle->m_bFrame = 0;
        pTitle->m_bClearBackground = 1;
    }
    if (auto* pNumber = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 46, 8, 40, 18, ID_NUMBER, nullptr))) {
        pNumber->m_hFont = g_hSmallFont;
        pNumber->m_crText = popup_look::kLabelColour;
        pNumber->m_byAlignment = 6;
        pNumber->m_bFrame = 0;
        pNumber->m_bClearBackground = 1;
    }
    for (const auto& [dwID, y] : {std::pair{ID_GOAL_SETTER, 294}, std::pair{ID_MONEY, 328}, std::pair{ID_GOAL_TIME, 362}})
        popup_look::AddValueLabel(*this, dwID, 408, y, 126);
    popup_look::AddTextList(*this, ID_DESCRIPTION, 901, 885, 334, 70, 520, 282);
    popup_look::AddTextList(*this, ID_OUTCOME_TEXT, 902, 887, 8, 276, 320, 382);

    CGame* pGame = Game();
    CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    if (bChoosing) {
        if (auto* pEdit = static_cast<CXEdit*>(AddControlXYWH(XCONTROL_EDIT, 90, 40, 190, 18, ID_NAME, nullptr))) {
            pEdit->m_hFont = g_hNormalFont;
            pEdit->SetMaxLength(kMaxNameLength);
        }
        CXComboBox* pBox = popup_look::AddDropDown(*this, ID_NATIONALITY, 360, 40, 500, 264);
        popup_look::AddNationRows(pBox);
        popup_look::SelectValue(
            pBox, CPopupSelectPlayer::DefaultNationality(pGame ? pGame->GetOptions().GetLanguage() : ""));
        popup_look::AddAnswerButtons(*this);
    } else {
        // The running scenario's manager, shown and not changed.
        const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
        const CManagerDatabase* pManager = pHuman ? pDatabase->GetManagerFromID(pHuman->GetManagerID()) : nullptr;
        if (CXStatic* pName = popup_look::AddValueLabel(*this, ID_NAME, 90, 40, 190); pName && pManager)
            pName->SetText("%s %s", pManager->m_pszFirstName, pManager->m_pszLastName);
        if (CXStatic* pNation = popup_look::AddValueLabel(*this, ID_NATIONALITY, 360, 40, 140); pNation && pManager)
            pNation->SetText("%s", GetTableTextOrEmpty(kNationTable, pManager->m_byNationality));
        AddConfirmButton(kOkButtonID, CancelX());
    }
    DrawPage();
    ShowAllControls(true);
    if (bChoosing)
        SetFocus(NameEdit());
    return true;
}

void CPopupScenario::OnDestroy()
{
    m_Archive.Close();
    m_pArrowFaces.reset();
    CGamePopup::OnDestroy();
}

void CPopupScenario::DrawPage()
{
    const SCENARIORECORD* pRecord = GetScenario(m_byScenario);
    if (!pRecord)
        return;
    // The picture goes onto the background, over the last one.
    if (std::unique_ptr<CXSurface> pPicture{popup_look::LoadArchiveBitmap(m_Archive, pRecord->pszPicture, false)};
        pPicture && pPicture->m_pSurface && m_pBackground && m_pBackground->m_pSurface) {
        const plat::Rect rc{0, 0, pPicture->GetWidth(), pPicture->GetHeight()};
        m_pBackground->m_pSurface->bltFast(kPictureX, kPictureY, *pPicture->m_pSurface, &rc, plat::BLTFAST_WAIT);
        RestoreBackground(kPictureX, kPictureY, pPicture->GetWidth(), pPicture->GetHeight());
    }

    std::string description = GetTableTextOrEmpty(kDescriptionTable, pRecord->byTextItem);
    if (m_byScenario == kBankruptScenario)
        if (const size_t nAt = description.find("%s"); nAt != std::string::npos)
            description.replace(nAt, 2, FormatMoney(kBankruptTarget, 0, 0, MONEY_AS_STORED, 0, 1));
    popup_look::SetListText(dynamic_cast<CXListBox*>(FindControl(ID_DESCRIPTION)), description.c_str());
    const int nTextTable = m_byTextKind == TEXT_FAILED     ? kFailedTable
                           : m_byTextKind == TEXT_ACHIEVED ? kAchievedTable
                                                           : kIntroductionTable;
    popup_look::SetListText(dynamic_cast<CXListBox*>(FindControl(ID_OUTCOME_TEXT)),
                            GetTableTextOrEmpty(nTextTable, pRecord->byTextItem));

    // The shadowed title reaches a pixel past its label: the last one goes whole.
    RestoreBackground(88, 8, kWidth - 134 + 2, 18 + 2);
    if (CXStatic* pTitle = Label(*this, ID_TITLE))
        pTitle->SetText("%s", GetTableTextOrEmpty(kTitleTable, pRecord->byTextItem));
    if (CXStatic* pNumber = Label(*this, ID_NUMBER))
        pNumber->SetText("%d/%d", m_byScenario + 1, kScenarios);
    if (CXStatic* pSetter = Label(*this, ID_GOAL_SETTER))
        pSetter->SetText("%s", GetTableTextOrEmpty(kGoalSetterTable, pRecord->byGoalItem));
    if (CXStatic* pMoney = Label(*this, ID_MONEY))
        pMoney->SetText("%s", FormatMoney(pRecord->nMoney, 0, 0, MONEY_AS_STORED, 0, 1));
    if (CXStatic* pTime = Label(*this, ID_GOAL_TIME)) {
        const std::string format = GetTableTextOrEmpty(kGoalTimeTable, pRecord->byGoalKind);
        if (pRecord->byGoalKind == 1 && format.find("%d") != std::string::npos)
            pTime->SetText(format.c_str(), pRecord->byGoalValue);
        else
            pTime->SetText("%s", format.c_str());
    }
}

void CPopupScenario::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    switch (dwID) {
    case ID_PREVIOUS:
        if (IsChoosing() && m_byScenario > 0) {
            --m_byScenario;
            DrawPage();
        }
        break;
    case ID_NEXT:
        if (IsChoosing() && m_byScenario < kScenarios - 1) {
            ++m_byScenario;
            DrawPage();
        }
        break;
    case ID_NAME:
    case kOkButtonID:
        if (IsChoosing()) {
            Confirm();
            return;
        }
        if (dwID != kOkButtonID)
            break;
        m_dwResultID = kOkButtonID;
        Close();
        break;
    case kCancelButtonID:
        Close();
        break;
    default:
        break;
    }
}

void CPopupScenario::Confirm()
{
    // Only a manager made here confirms the popup.
    m_dwResultID = 0;
    m_bCreated = false;
    CXEdit* pEdit = NameEdit();
    const std::string name = CPopupSelectPlayer::TrimName(pEdit ? pEdit->Text() : "");
    if (name.empty() || !IsOnStack())
        return;
    CGame* pGame = Game();
    // The sinking ship starts in a world of its own, half a season on; every
    // other scenario from the starting world, which the game's own set-up
    // then shapes.
    const bool bOwnWorld = m_byScenario == kSinkingShipScenario;
    if (!pGame || !(bOwnWorld ? pGame->LoadScenarioWorld(kSinkingShipWorld) : pGame->LoadStartingWorld())) {
        m_pszRefusal = bOwnWorld ? "the scenario's world could not be loaded" : "the starting world could not be loaded";
        DebugLog(0, "[CPopupScenario] %s", m_pszRefusal);
        return;
    }
    CDatabaseHandler* pDatabase = pGame->GetDatabase();
    const auto byNation = static_cast<uint8_t>(popup_look::SelectedValue(NationalityBox(), 1));
    // A nation without a league of its own plays in the first country.
    ID_COUNTRY idCountry = pDatabase->GetCountryFromID(byNation) ? byNation : ID_COUNTRY(0);
    if (!idCountry)
        for (const CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>()) {
            idCountry = pCountry->GetID();
            break;
        }
    CSaveGame* pHuman = CSaveGame::CreateNewHuman(*pDatabase, 0, name.c_str(), byNation, idCountry);
    if (!pHuman) {
        m_pszRefusal = "the manager could not be created";
        DebugLog(0, "[CPopupScenario] %s (%s)", m_pszRefusal, name.c_str());
        return;
    }
    pHuman->SetScenario(m_byScenario, GoalSeasons(kScenarioTable[m_byScenario]));
    m_bCreated = true;
    pGame->GetScreenHistory().ClearScreenHistory();
    m_dwResultID = kOkButtonID;
    Close();
}
