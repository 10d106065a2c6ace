#include "popups/CPopupDebugPlayer.h"

#include "shell/CGame.h"
#include "shell/ScreenIDs.h"

#include "database/CPlayerDatabase.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

namespace {

constexpr int kCaptionItem = 46;
constexpr int kRowHeight = 16;
constexpr uint32_t kScrollUpID = 885;
constexpr uint32_t kScrollDownID = 886;
// Ages are counted on the generation curve from 14.
constexpr int kFirstCurveAge = 14;

const LISTCOLUMN kColumns[] = {
    {0, 80, 4, 0, 0, 0, 869, LISTSORT_NONE, 0},
    {80, 120, 0, 0, 6, 0, 870, LISTSORT_NONE, 0},
    {120, 160, 0, 0, 6, 0, 871, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

}  // namespace

static_assert(PLAYER_ATTRIBUTE_COUNT == 22, "one name an attribute");

const char* const CPopupDebugPlayer::kAttributeNames[PLAYER_ATTRIBUTE_COUNT] = {
    "Handling", "Tackling",     "Passing",   "Dribbling", "Heading",     "Shooting", "Strength", "Pace",
    "Fitness",  "Morale",       "Agility",   "Aggression", "Confidence", "Empathy",  "Greed",    "Intelligence",
    "Willpower", "Influence",   "Injuryprone", "Marking", "Potential",   "Reputation"};

CPopupDebugPlayer::CPopupDebugPlayer()
{
    m_wScreenID = SCREEN_DEBUG_PLAYER_POPUP;
    SetPopupRect(380, 95, 200, 460);
}

void CPopupDebugPlayer::ConstructScreen() { DrawCaptionFrame(kCaptionItem); }

bool CPopupDebugPlayer::OnInitDialog()
{
    ConstructScreen();
    DrawColourBoxPair(0x009D37);
    CGamePopup::OnInitDialog();
    AddConfirmButton(kOkButtonID, CancelX());
    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 120, ID_SCROLL_BAR, nullptr));
    if (pBar)
        pBar->Create(kScrollUpID, kScrollDownID, kRowHeight, false, 0);
    m_pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, 0, 60, Width(), 412, ID_LIST, nullptr));
    if (m_pList) {
        m_pList->SetUp(kRowHeight, 6, g_hSmallFont, 0, true, pBar, true, nullptr, true, 0, false, false, false);
        m_pList->SetUpColumns(0, 60, Width(), 412, kColumns, true, false, 412 - 60, false);
    }
    FillList();
    ShowAllControls(true);
    return true;
}

void CPopupDebugPlayer::FillList()
{
    if (!m_pList)
        return;
    m_pList->SetAutoRedraw(false);
    m_pList->ResetContent();
    const int nAgeIndex = m_pPlayer ? m_pPlayer->GetAge() - kFirstCurveAge : 0;
    for (int i = 0; m_pPlayer && i < PLAYER_ATTRIBUTE_COUNT; ++i)
        m_pList->AddString(0xFFFFFF, "%s\t%d\t%d", kAttributeNames[i], m_pPlayer->m_awAttributes[i] / 100,
                           m_pPlayer->GetAttributeForAge(i, nAgeIndex, 0));
    m_pList->SetAutoRedraw(true);
    m_pList->UpdateScrollBar();
    m_pList->Redraw();
}

void CPopupDebugPlayer::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kOkButtonID) {
        m_dwResultID = kOkButtonID;
        Close();
    }
}
