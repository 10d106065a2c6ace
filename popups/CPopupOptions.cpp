#include "popups/CPopupOptions.h"

#include "popups/CPopupGameSettings.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CTableText.h"
#include "shell/ScreenIDs.h"

#include "database/CDatabaseHandler.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXSlider.h"

#include <iterator>

namespace {

constexpr int kCaptionItem = 27;
constexpr int kDisplayLabels = 30;
constexpr int kSoundLabels = 31;
constexpr int kGameLabels = 32;
constexpr int kTacticsTable = 62;
constexpr int kHighlightsTable = 63;
constexpr int kMatchViewTable = 64;
constexpr int kMatchTypeTable = 67;
constexpr int kRatingsTable = 68;
constexpr int kProcessTable = 70;
constexpr int k3DTable = 71;
constexpr int kTooltipTable = 72;
constexpr int kVolumeMaximum = 127;
constexpr int kFlagRowHeight = 16;

// The controls of each page.
const uint32_t kGamePage[] = {CPopupGameSettings::ID_LENGTH, CPopupGameSettings::ID_SECOND_SETTING,
                              CPopupGameSettings::ID_THIRD_SETTING, CPopupGameSettings::ID_CURRENCY,
                              CPopupGameSettings::ID_DATE, CPopupGameSettings::ID_CONTRACTS,
                              CPopupOptions::ID_MATCH_TYPE, CPopupOptions::ID_RATINGS, CPopupOptions::ID_PROCESS_GAME,
                              CPopupOptions::ID_TOOLTIPS, CPopupOptions::ID_3D, CPopupOptions::ID_AUTO_HELP};
const uint32_t kSoundPage[] = {CPopupOptions::ID_MUSIC, CPopupOptions::ID_EFFECTS, CPopupOptions::ID_COMMENTARY,
                               CPopupOptions::ID_CROWD, CPopupOptions::ID_TEST_EFFECTS,
                               CPopupOptions::ID_TEST_COMMENTARY, CPopupOptions::ID_TEST_CROWD};
const uint32_t kDisplayPage[] = {CPopupOptions::ID_HIGHLIGHTS_LIST, CPopupOptions::ID_MATCH_VIEW_LIST,
                                 CPopupOptions::ID_TACTICS_LIST};
const uint32_t kAlwaysShown[] = {CPopupOptions::ID_GAME_PAGE, CPopupOptions::ID_SOUND_PAGE,
                                 CPopupOptions::ID_DISPLAY_PAGE, CGamePopup::kOkButtonID,
                                 CGamePopup::kCancelButtonID};
const int kSliderY[] = {60, 100, 140, 180};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

bool InMatch() { return g_pNavigationBar && (g_pNavigationBar->GetMode() == 3 || g_pNavigationBar->GetMode() == 4); }

CXAnimation* Sprite(const char* pszName)
{
    CGame* pGame = Game();
    return pGame ? pGame->GetSharedBitmaps().GetSprite(pszName) : nullptr;
}

}  // namespace

CPopupOptions::CPopupOptions()
{
    m_wScreenID = SCREEN_OPTIONS_POPUP;
    SetPopupRect(278, 150, 404, 350);
}

CXComboBox* CPopupOptions::Box(uint32_t dwID) { return dynamic_cast<CXComboBox*>(FindControl(dwID)); }
CXListBox* CPopupOptions::List(uint32_t dwID) { return dynamic_cast<CXListBox*>(FindControl(dwID)); }
CXSlider* CPopupOptions::Slider(uint32_t dwID) { return dynamic_cast<CXSlider*>(FindControl(dwID)); }

void CPopupOptions::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    if (m_nPage == PAGE_GAME) {
        popup_look::DrawLabels(m_pBackground, kGameLabels);
        m_pBackground->FillGradient(280, 234, 20, 18, plat::RGB(12, 29, 48), plat::RGB(12, 29, 48));
        m_pBackground->DrawRectOutline(plat::Rect{280, 234, 300, 252});
        if (CXAnimation* pTick = Sprite("icnTick.bmp"); pTick && m_Copy.m_nAutoHelp)
            pTick->DrawFrame(m_pBackground, 284, 236, 0, true);
    } else if (m_nPage == PAGE_SOUND) {
        popup_look::DrawLabels(m_pBackground, kSoundLabels);
        // The track under each slider.
        for (int y : kSliderY)
            m_pBackground->DrawShadedBar(140, y + 5, 136, 6, plat::RGB(58, 111, 152));
    } else {
        popup_look::DrawLabels(m_pBackground, kDisplayLabels);
    }
}

bool CPopupOptions::OnInitDialog()
{
    m_nPage = PAGE_GAME;
    ConstructScreen();
    CGamePopup::OnInitDialog();
    using namespace popup_look;
    // Page 0: the game settings and the display options, shown only.
    CPopupGameSettings::AddGameSettingDropDowns(*this);
    CPopupGameSettings::AddDisplayDropDowns(*this);
    CXComboBox* pTooltips = AddDropDown(*this, ID_TOOLTIPS, 280, 64, 380, 128);
    for (int i = 1; i <= 3; ++i)
        AddRow(pTooltips, kTooltipTable, i, static_cast<uint32_t>(i));
    CXComboBox* pMatchType = AddDropDown(*this, ID_MATCH_TYPE, 280, 98, 380, 146);
    for (int i = 0; i < 3; ++i)
        AddRow(pMatchType, kMatchTypeTable, i, static_cast<uint32_t>(i));
    CXComboBox* pRatings = AddDropDown(*this, ID_RATINGS, 280, 132, 380, 180);
    for (int i = 0; i < 3; ++i)
        AddRow(pRatings, kRatingsTable, i, static_cast<uint32_t>(i));
    CXComboBox* p3D = AddDropDown(*this, ID_3D, 280, 166, 380, 214);
    for (int i = 0; i < 3; ++i)
        AddRow(p3D, k3DTable, i, static_cast<uint32_t>(i));
    CXComboBox* pProcess = AddDropDown(*this, ID_PROCESS_GAME, 280, 200, 380, 232);
    for (int i = 0; i < 2; ++i)
        AddRow(pProcess, kProcessTable, i, static_cast<uint32_t>(i));
    // A button without a face: the panel draws its box and tick.
    AddControlXYWH(XCONTROL_BUTTON, 280, 234, 20, 18, ID_AUTO_HELP, nullptr);
    // Page 1: the volumes.
    const uint32_t sliders[] = {ID_MUSIC, ID_EFFECTS, ID_COMMENTARY, ID_CROWD};
    for (size_t i = 0; i < std::size(sliders); ++i)
        if (auto* pSlider = static_cast<CXSlider*>(
                AddControlXYWH(XCONTROL_SLIDER, 140, kSliderY[i], 136, 16, sliders[i], nullptr))) {
            pSlider->SetUp(Sprite("sldTrain.bmp"));
            pSlider->SetRange(0, kVolumeMaximum);
        }
    CXSurface* pFace = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnYesNo.bmp") : nullptr;
    const uint32_t tests[] = {ID_TEST_EFFECTS, ID_TEST_COMMENTARY, ID_TEST_CROWD};
    for (size_t i = 0; i < std::size(tests); ++i)
        if (auto* pTest = static_cast<CXButton*>(
                AddControlXYWH(XCONTROL_BUTTON, 290, kSliderY[i + 1], 44, 20, tests[i], nullptr)))
            pTest->SetTextID(pFace, 0);
    // Page 2: the flags.
    const struct {
        uint32_t dwID;
        int nLeft, nTop, nRight, nBottom;
    } lists[] = {{ID_HIGHLIGHTS_LIST, 8, 90, 184, 234},
                 {ID_MATCH_VIEW_LIST, 218, 90, 394, 186},
                 {ID_TACTICS_LIST, 218, 226, 394, 306}};
    for (const auto& list : lists)
        if (auto* pList = static_cast<CXListBox*>(
                AddControl(XCONTROL_LISTBOX, list.nLeft, list.nTop, list.nRight, list.nBottom, list.dwID, nullptr))) {
            pList->SetUp(kFlagRowHeight, 4, g_hSmallFont, 0, true, nullptr, true, nullptr, false, 2, false, false,
                         true);
            pList->SetUpColumns(list.nLeft, list.nTop, list.nRight, list.nBottom,
                                TextColumn(list.nRight - list.nLeft), false, false, list.nBottom - list.nTop, false);
            pList->SetAutoRedraw(true);
        }
    for (uint32_t dwID : {ID_GAME_PAGE, ID_SOUND_PAGE, ID_DISPLAY_PAGE})
        AddButton(dwID);
    AddAnswerButtons(*this);

    CGame* pGame = Game();
    if (pGame)
        m_Copy = pGame->GetOptions().Values();
    const CDatabaseHandler* pDatabase = pGame ? pGame->GetDatabase() : nullptr;
    SelectValue(Box(CPopupGameSettings::ID_LENGTH), pDatabase ? pDatabase->GetGameSetting(0) : 0);
    SelectValue(Box(CPopupGameSettings::ID_SECOND_SETTING), pDatabase ? pDatabase->GetGameSetting(1) : 0);
    SelectValue(Box(CPopupGameSettings::ID_THIRD_SETTING), pDatabase ? pDatabase->GetGameSetting(2) : 0);
    SelectValue(Box(CPopupGameSettings::ID_CURRENCY), m_Copy.m_nCurrency);
    SelectValue(Box(CPopupGameSettings::ID_DATE), m_Copy.m_nDate);
    SelectValue(Box(CPopupGameSettings::ID_CONTRACTS), m_Copy.m_nContractsSalaries);
    SelectValue(Box(ID_TOOLTIPS), m_Copy.m_nToolTipsDelay);
    SelectValue(Box(ID_MATCH_TYPE), m_Copy.m_nMatchType);
    SelectValue(Box(ID_RATINGS), m_Copy.m_nRatings);
    SelectValue(Box(ID_3D), m_Copy.m_n3DSettings);
    SelectValue(Box(ID_PROCESS_GAME), m_Copy.m_nProcessGame);
    // These are chosen when a game is set up.
    for (uint32_t dwID : {CPopupGameSettings::ID_LENGTH, CPopupGameSettings::ID_SECOND_SETTING,
                          CPopupGameSettings::ID_THIRD_SETTING, CPopupGameSettings::ID_CURRENCY,
                          CPopupGameSettings::ID_DATE, CPopupGameSettings::ID_CONTRACTS})
        if (CXComboBox* pBox = Box(dwID)) {
            pBox->m_bNoDropDown = 1;
            if (pBox->ArrowButton())
                pBox->ArrowButton()->Enable(true);
        }
    // In a match the view cannot change its kind of device.
    if (CXComboBox* pBox = Box(ID_3D); pBox && InMatch()) {
        pBox->EnableRow(2, m_Copy.m_n3DSettings == 2);
        pBox->EnableRow(0, m_Copy.m_n3DSettings != 2);
        pBox->EnableRow(1, m_Copy.m_n3DSettings != 2);
    }
    FillFlagList(ID_HIGHLIGHTS_LIST, kHighlightsTable, m_Copy.m_MatchHighlightFlags, 9);
    FillFlagList(ID_MATCH_VIEW_LIST, kMatchViewTable, m_Copy.m_MatchDisplayFlags, 6);
    FillFlagList(ID_TACTICS_LIST, kTacticsTable, m_Copy.m_TacticsFlags, 5);
    Slider(ID_MUSIC)->SetPos(m_Copy.m_wMusicVolume);
    Slider(ID_EFFECTS)->SetPos(m_Copy.m_wSFXVolume);
    Slider(ID_COMMENTARY)->SetPos(m_Copy.m_wCommentaryVolume);
    Slider(ID_CROWD)->SetPos(m_Copy.m_wAmbientVolume);
    ShowPage(InMatch() ? PAGE_DISPLAY : PAGE_GAME);
    return true;
}

void CPopupOptions::FillFlagList(uint32_t dwID, int nTable, const uint8_t* pFlags, int nCount)
{
    CXListBox* pList = List(dwID);
    if (!pList)
        return;
    pList->ResetContent();
    for (int i = 0; i < nCount; ++i) {
        const char* pszText = GetTableText(nTable, i);
        const int nRow = pList->AddString(0xFFFFFF, "%s", pszText ? pszText : "");
        if (pFlags[i])
            pList->AddGraphic(nRow, Sprite("icnTick.bmp"), pList->Width() - 20, true);
    }
}

void CPopupOptions::ToggleFlag(uint32_t dwID, uint8_t* pFlags, int nCount)
{
    CXListBox* pList = List(dwID);
    const int nRow = pList ? pList->GetSelection() : -1;
    if (nRow < 0 || nRow >= nCount)
        return;
    pFlags[nRow] = pFlags[nRow] ? 0 : 1;
    // Filled again, the list keeps no row chosen, so that a click below the
    // rows toggles nothing.
    const int nTable = dwID == ID_HIGHLIGHTS_LIST ? kHighlightsTable : dwID == ID_MATCH_VIEW_LIST ? kMatchViewTable
                                                                                                : kTacticsTable;
    FillFlagList(dwID, nTable, pFlags, nCount);
}

void CPopupOptions::UpdateTestButtons()
{
    const struct {
        uint32_t dwID;
        uint16_t wVolume;
    } tests[] = {{ID_TEST_EFFECTS, m_Copy.m_wSFXVolume},
                 {ID_TEST_COMMENTARY, m_Copy.m_wCommentaryVolume},
                 {ID_TEST_CROWD, m_Copy.m_wAmbientVolume}};
    for (const auto& test : tests)
        if (auto* pButton = dynamic_cast<CXButton*>(FindControl(test.dwID)))
            pButton->Enable(test.wVolume == 0);
}

void CPopupOptions::ShowPage(int nPage)
{
    m_nPage = nPage;
    ShowAllControls(false);
    ConstructScreen();
    RestoreBackground(0, 0, Width(), Height());
    const uint32_t* pFirst = nPage == PAGE_GAME ? kGamePage : nPage == PAGE_SOUND ? kSoundPage : kDisplayPage;
    const size_t nCount = nPage == PAGE_GAME ? std::size(kGamePage)
                          : nPage == PAGE_SOUND ? std::size(kSoundPage)
                                                : std::size(kDisplayPage);
    for (size_t i = 0; i < nCount; ++i)
        if (CXControl* pControl = FindControl(pFirst[i]))
            pControl->Show(true, true);
    for (uint32_t dwID : kAlwaysShown)
        if (CXControl* pControl = FindControl(dwID))
            pControl->Show(true, true);
    if (nPage == PAGE_SOUND) {
        // The music belongs to the match while one is on.
        if (CXControl* pMusic = FindControl(ID_MUSIC); pMusic && InMatch())
            pMusic->Show(false, true);
        UpdateTestButtons();
    }
    for (uint32_t dwID : {ID_GAME_PAGE, ID_SOUND_PAGE, ID_DISPLAY_PAGE})
        if (auto* pTab = dynamic_cast<CXButton*>(FindControl(dwID)))
            pTab->Enable(dwID == ID_GAME_PAGE + static_cast<uint32_t>(nPage));
}

void CPopupOptions::OnSelChange(uint32_t dwID)
{
    CGamePopup::OnSelChange(dwID);
    auto value = [this, dwID](uint8_t byOld) {
        return static_cast<uint8_t>(popup_look::SelectedValue(Box(dwID), byOld));
    };
    switch (dwID) {
    case ID_MATCH_TYPE:
        m_Copy.m_nMatchType = value(m_Copy.m_nMatchType);
        break;
    case ID_RATINGS:
        m_Copy.m_nRatings = value(m_Copy.m_nRatings);
        break;
    case ID_PROCESS_GAME:
        m_Copy.m_nProcessGame = value(m_Copy.m_nProcessGame);
        break;
    case ID_TOOLTIPS:
        m_Copy.m_nToolTipsDelay = value(m_Copy.m_nToolTipsDelay);
        break;
    case ID_3D:
        m_Copy.m_n3DSettings = value(m_Copy.m_n3DSettings);
        break;
    default:
        break;
    }
}

void CPopupOptions::OnEndScroll(uint32_t dwID)
{
    CXSlider* pSlider = Slider(dwID);
    CGame* pGame = Game();
    if (!pSlider)
        return;
    const auto wVolume = static_cast<uint16_t>(pSlider->GetValue());
    // Heard at once; cancel puts the kept volumes back.
    switch (dwID) {
    case ID_MUSIC:
        m_Copy.m_wMusicVolume = wVolume;
        if (pGame)
            pGame->SetVolume(wVolume, 1);
        break;
    case ID_EFFECTS:
        m_Copy.m_wSFXVolume = wVolume;
        if (pGame)
            pGame->SetVolume(wVolume, 0);
        break;
    case ID_COMMENTARY:
        m_Copy.m_wCommentaryVolume = wVolume;
        if (pGame)
            pGame->SetVolume(wVolume, 3);
        break;
    case ID_CROWD:
        m_Copy.m_wAmbientVolume = wVolume;
        if (pGame)
            pGame->SetVolume(wVolume, 2);
        break;
    default:
        return;
    }
    UpdateTestButtons();
}

void CPopupOptions::RestoreVolumes()
{
    CGame* pGame = Game();
    if (!pGame)
        return;
    const OptionValues& live = pGame->GetOptions().Values();
    pGame->SetVolume(live.m_wMusicVolume, 1);
    pGame->SetVolume(live.m_wSFXVolume, 0);
    pGame->SetVolume(live.m_wAmbientVolume, 2);
    pGame->SetVolume(live.m_wCommentaryVolume, 3);
}

void CPopupOptions::OnDestroy()
{
    RestoreVolumes();
    CGamePopup::OnDestroy();
}

void CPopupOptions::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    CGame* pGame = Game();
    switch (dwID) {
    case ID_GAME_PAGE:
    case ID_SOUND_PAGE:
    case ID_DISPLAY_PAGE:
        ShowPage(static_cast<int>(dwID - ID_GAME_PAGE));
        break;
    case ID_HIGHLIGHTS_LIST:
        ToggleFlag(dwID, m_Copy.m_MatchHighlightFlags, 9);
        break;
    case ID_MATCH_VIEW_LIST:
        ToggleFlag(dwID, m_Copy.m_MatchDisplayFlags, 6);
        break;
    case ID_TACTICS_LIST:
        ToggleFlag(dwID, m_Copy.m_TacticsFlags, 5);
        break;
    case ID_AUTO_HELP:
        m_Copy.m_nAutoHelp = m_Copy.m_nAutoHelp ? 0 : 1;
        ShowPage(m_nPage);
        break;
    case ID_TEST_EFFECTS:
    case ID_TEST_COMMENTARY:
    case ID_TEST_CROWD:
        if (pGame) {
            const uint32_t dwChannel = dwID == ID_TEST_EFFECTS ? 0 : dwID == ID_TEST_COMMENTARY ? 3 : 2;
            const uint16_t wVolume = dwID == ID_TEST_EFFECTS      ? m_Copy.m_wSFXVolume
                                     : dwID == ID_TEST_COMMENTARY ? m_Copy.m_wCommentaryVolume
                                                                  : m_Copy.m_wAmbientVolume;
            pGame->SetVolume(wVolume, dwChannel);
            const UISOUNDIDS& ids = pGame->GetSoundIds();
            pGame->GameSoundPlay(dwChannel == 0 ? ids.wButton : dwChannel == 3 ? ids.wCommentary : ids.wDisappointment);
        }
        break;
    case kCancelButtonID:
        Close();
        break;
    case kOkButtonID:
        if (!IsOnStack())
            break;
        if (pGame)
            pGame->ApplyOptions(m_Copy);
        m_dwResultID = kOkButtonID;
        Close();
        break;
    default:
        break;
    }
}
