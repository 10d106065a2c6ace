#include "editor/CPlayerDlg.h"

#include "editor/CEditorDocument.h"
#include "editor/EditorLook.h"
#include "editor/EditorTexts.h"

#include "database/CNameDictionary.h"
#include "database/NationalityTable.h"
#include "database/CPlayerDatabase.h"
#include "shell/CTableText.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

#include <cstdio>
#include <iterator>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 470;

enum : uint32_t {
    kFirstName = 1003,
    kLastName = 1006,
    kBirthDay = 1023,
    kBirthMonth = 1123,
    kBirthYear = 1124,
    kNationality = 1026,
    kShirt = 1027,
    kPosition = 1110,
    kRole = 1112,
    kOk = EDITOR_BUTTON_PLAYER_OK,
    kCancel = EDITOR_BUTTON_PLAYER_CANCEL,
    kApply = EDITOR_BUTTON_APPLY,
    // The drop-downs' hidden scroll bars.
    kNationalityBar = 1221,
    kPositionBar = 1224,
    kRoleBar = 1227,
};

// What a record can hold: a database with a position or role past these
// ("any") is refused by the game, so none is offered.
const char* const kPositions[] = {"Goalkeeper", "Defender", "Midfielder", "Attacker"};
const char* const kRoles[] = {"GoalKeeper",         "Sweeper",          "Left Back",          "Centre Back",
                              "Right Back",         "Left Wing Back",   "Right Wing Back",    "Defensive Midfielder",
                              "Left Midfielder",    "Central Midfielder", "Right Midfielder", "Attacking Midfielder",
                              "Left Winger",        "Right Winger",     "Centre Forward",     "Striker"};
static_assert(std::size(kPositions) == PLAYER_POSITION_COUNT && std::size(kRoles) == PLAYER_ROLE_COUNT);

void FillCombo(CXComboBox* pCombo, const char* const* ppszNames, int nCount, int nRow)
{
    if (!pCombo)
        return;
    pCombo->SetAutoRedraw(false);
    pCombo->ResetContent();
    for (int i = 0; i < nCount; ++i)
        pCombo->AddString(kEditorRowText, "%s", ppszNames[i]);
    pCombo->SetAutoRedraw(true);
    CPlayerDlg::SelectQuietly(pCombo, nRow);
}

// Birth dates a player may have: 14 to 50 years old.
constexpr int kPlayerOldest = 50;
constexpr int kPlayerYoungest = 14;

}  // namespace

CPlayerDlg::CPlayerDlg()
{
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    m_rcTitle = {0, 0, kWidth, 26};
}

void CPlayerDlg::SelectQuietly(CXComboBox* pCombo, int nRow)
{
    if (!pCombo || nRow < 0 || nRow >= pCombo->GetCount())
        return;
    pCombo->SetSelection(nRow);
    pCombo->Scroll(LISTSCROLL_TO_ROW, nRow);
    pCombo->Redraw();
}

void CPlayerDlg::FillCountryCombo(CXComboBox* pCombo, int nRow)
{
    // The game's own country names where it has one.
    static std::string s_Names[NATIONALITY_COUNT];
    static const char* s_pNames[NATIONALITY_COUNT];
    for (int i = 0; i < NATIONALITY_COUNT; ++i) {
        const char* pszName = GetTableText(92, i + 1);
        if (pszName && *pszName) {
            s_Names[i] = pszName;
        } else {
            char szName[32];
            std::snprintf(szName, sizeof szName, "Nationalit\xe9 %d", i + 1);
            s_Names[i] = szName;
        }
        s_pNames[i] = s_Names[i].c_str();
    }
    FillCombo(pCombo, s_pNames, NATIONALITY_COUNT, nRow);
}

void CPlayerDlg::FillPositionCombo(CXComboBox* pCombo, int nRow) { FillCombo(pCombo, kPositions, PLAYER_POSITION_COUNT, nRow); }

void CPlayerDlg::FillRoleCombo(CXComboBox* pCombo, int nRow) { FillCombo(pCombo, kRoles, PLAYER_ROLE_COUNT, nRow); }

bool CPlayerDlg::Edit(CEditorDocument* pDocument, CPlayerDatabase* pPlayer)
{
    if (!pDocument || !pPlayer || IsOnStack())
        return false;
    m_pDocument = pDocument;
    m_pPlayer = pPlayer;
    m_bStored = false;
    SetClientRect((800 - kWidth) / 2, (600 - kHeight) / 2, kWidth, kHeight);
    return Open();
}

CXEdit* CPlayerDlg::Edit(uint32_t dwID) const { return static_cast<CXEdit*>(FindControl(dwID)); }
CXComboBox* CPlayerDlg::Combo(uint32_t dwID) const { return static_cast<CXComboBox*>(FindControl(dwID)); }

bool CPlayerDlg::OnInitDialog()
{
    static const int kRatingTexts[PLAYER_ATTRIBUTE_COUNT] = {121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131,
                                                             132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 106};
    delete m_pBackground;
    m_pBackground = MakeEditorBackground(*this, kEditorBackground);
    if (m_pBackground) {
        plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
        DrawRectOutline(pDC, 0, 0, Width(), Height(), kEditorFrame, 1);
        DrawFilledRect(pDC, 1, 1, Width() - 1, 26, kEditorPanel);
        pDC->setBkMode(plat::TRANSPARENT);
        pDC->selectFont(g_hSmallBoldFont);
        DrawTextF(pDC, 10, 6, kEditorHeading, "%s", EditorText(119));
        DrawEditorGroup(pDC, 12, 40, 524, 458, EditorText(107));
        DrawEditorLabel(pDC, 26, 58, EditorText(105));
        DrawEditorLabel(pDC, 290, 58, EditorText(108));
        DrawEditorLabel(pDC, 26, 88, EditorText(109));
        DrawEditorLabel(pDC, 290, 88, EditorText(112));
        DrawEditorLabel(pDC, 26, 118, EditorText(174));
        DrawEditorLabel(pDC, 290, 118, EditorText(173));
        DrawEditorGroup(pDC, 24, 150, 512, 446, EditorText(118));
        // The ratings are shown, not edited: whole numbers of their hundredths.
        for (int i = 0; i < PLAYER_ATTRIBUTE_COUNT; ++i) {
            const int x = 36 + (i / 8) * 160, y = 166 + (i % 8) * 33;
            DrawEditorLabel(pDC, x, y, EditorText(kRatingTexts[i]));
            pDC->selectFont(g_hSmallBoldFont);
            DrawTextF(pDC, x + 110, y, kEditorHeading, "%d", m_pPlayer ? m_pPlayer->m_awAttributes[i] / 100 : 0);
        }
        m_pBackground->m_pSurface->releaseDC(pDC);
    }
    CXPopup::OnInitDialog();

    const struct {
        uint32_t dwID;
        int x, y, nWidth, nMaxLength;
        bool bNumeric;
    } edits[] = {
        {kFirstName, 100, 56, 86, static_cast<int>(CNameDictionary::kMaxNameLength), false},
        {kLastName, 190, 56, 90, static_cast<int>(CNameDictionary::kMaxNameLength), false},
        {kBirthDay, 400, 56, 26, 2, true},
        {kBirthMonth, 430, 56, 26, 2, true},
        {kBirthYear, 460, 56, 44, 4, true},
        {kShirt, 400, 86, 36, 2, true},
    };
    for (const auto& field : edits)
        AddEditorEdit(*this, field.dwID, field.x, field.y, field.nWidth, field.nMaxLength, field.bNumeric);
    // The role box is as wide as its longest role.
    const struct {
        uint32_t dwID, dwBarID;
        int x, y, nWidth, nDrop;
    } combos[] = {{kNationality, kNationalityBar, 100, 86, 160, 300},
                  {kPosition, kPositionBar, 100, 116, 160, 100},
                  {kRole, kRoleBar, 360, 116, 146, 290}};
    for (const auto& field : combos)
        AddEditorCombo(*this, field.dwID, field.dwBarID, field.x, field.y, field.nWidth, field.nDrop);
    for (const auto& button : {std::pair{kOk, 40}, std::pair{kCancel, 74}, std::pair{kApply, 108}})
        AddEditorButton(*this, button.first, 540, button.second);
    ShowAllControls(true);
    ShowPlayer();
    return true;
}

void CPlayerDlg::OnDestroy()
{
    CXPopup::OnDestroy();
}

void CPlayerDlg::ShowPlayer()
{
    if (!m_pPlayer)
        return;
    m_bShowing = true;
    Edit(kFirstName)->SetText("%s", m_pPlayer->m_pszFirstName);
    Edit(kLastName)->SetText("%s", m_pPlayer->m_pszLastName);
    Edit(kBirthDay)->SetText("%d", m_pPlayer->m_DateOfBirth.byDay);
    Edit(kBirthMonth)->SetText("%d", m_pPlayer->m_DateOfBirth.byMonth);
    Edit(kBirthYear)->SetText("%d", m_pPlayer->m_DateOfBirth.wYear);
    Edit(kShirt)->SetText("%d", m_pPlayer->m_bySquadNumber);
    FillCountryCombo(Combo(kNationality), m_pPlayer->m_byNationality - 1);
    FillPositionCombo(Combo(kPosition), m_pPlayer->m_byPosition);
    FillRoleCombo(Combo(kRole), m_pPlayer->m_byRole);
    m_bShowing = false;
    EnableStore(false);
}

void CPlayerDlg::EnableStore(bool bEnable)
{
    for (uint32_t dwID : {static_cast<uint32_t>(kOk), static_cast<uint32_t>(kApply)})
        if (auto* pButton = static_cast<CXButton*>(FindControl(dwID)))
            pButton->Enable(!bEnable);
}

std::string CPlayerDlg::DialogFullName() const
{
    return std::string(Edit(kFirstName)->Text()) + " " + Edit(kLastName)->Text();
}

void CPlayerDlg::StorePlayer()
{
    DATERECORD birth;
    birth.byDay = static_cast<uint8_t>(Edit(kBirthDay)->ReadNumber());
    birth.byMonth = static_cast<uint8_t>(Edit(kBirthMonth)->ReadNumber());
    birth.wYear = static_cast<uint16_t>(Edit(kBirthYear)->ReadNumber());
    const bool bDate = CEditorDocument::IsCalendarDate(birth);
    const bool bNames = m_pDocument->ApplyPlayer(m_pPlayer, Edit(kFirstName)->Text(), Edit(kLastName)->Text(), birth,
                                                 Combo(kNationality)->GetSelection() + 1,
                                                 Combo(kPosition)->GetSelection(), Combo(kRole)->GetSelection(),
                                                 Edit(kShirt)->ReadNumber());
    m_bStored = true;
    if (!bNames) {
        const bool bBlank = CEditorDocument::IsBlankName(Edit(kFirstName)->Text()) ||
                            CEditorDocument::IsBlankName(Edit(kLastName)->Text());
        m_Notice.Ask(EditorText(149), EditorText(bBlank ? 320 : 155), false, 0);
        ShowPlayer();
    } else if (!bDate) {
        // The record kept its date; the fields show it again.
        m_Notice.Ask(EditorText(149), EditorText(151), false, 0);
        ShowPlayer();
    }
}

void CPlayerDlg::CheckBirthDate()
{
    DATERECORD birth;
    birth.byDay = static_cast<uint8_t>(Edit(kBirthDay)->ReadNumber());
    birth.byMonth = static_cast<uint8_t>(Edit(kBirthMonth)->ReadNumber());
    birth.wYear = static_cast<uint16_t>(Edit(kBirthYear)->ReadNumber());
    // A day its month lacks may be a date half typed (the 31st before its
    // month): it is judged when the player is stored.
    if (!CEditorDocument::IsCalendarDate(birth))
        return;
    if (CEditorDocument::IsBirthDateInRange(birth, m_pDocument->GetToday(), kPlayerOldest, -kPlayerYoungest)) {
        EnableStore(true);
        return;
    }
    m_Notice.Ask(EditorText(149), EditorText(151), false, 0);
    m_bShowing = true;
    Edit(kBirthDay)->SetText("%d", m_pPlayer->m_DateOfBirth.byDay);
    Edit(kBirthMonth)->SetText("%d", m_pPlayer->m_DateOfBirth.byMonth);
    Edit(kBirthYear)->SetText("%d", m_pPlayer->m_DateOfBirth.wYear);
    m_bShowing = false;
}

void CPlayerDlg::CheckShirtNumber()
{
    const int nNumber = Edit(kShirt)->ReadNumber();
    const int nOld = m_pPlayer->m_bySquadNumber;
    CPlayerDatabase* pMate = m_pDocument->SwapShirtNumber(m_pPlayer, DialogFullName(), nNumber);
    if (!pMate)
        return;
    char szText[512];
    const std::string mate = std::string(pMate->m_pszFirstName) + " " + pMate->m_pszLastName;
    std::snprintf(szText, sizeof szText, EditorText(152), nNumber, mate.c_str(), nOld, DialogFullName().c_str());
    m_Notice.Ask(EditorText(149), szText, false, 0);
}

void CPlayerDlg::OnEditChange(CXControl*)
{
    if (!m_bShowing)
        EnableStore(true);
}

void CPlayerDlg::OnSelChange(uint32_t)
{
    if (!m_bShowing)
        EnableStore(true);
}

void CPlayerDlg::OnEditEnd(uint32_t dwID)
{
    if (m_bShowing || !m_pPlayer)
        return;
    if (dwID == kShirt) {
        const char* pszText = Edit(kShirt)->Text();
        const int nValue = Edit(kShirt)->ReadNumber();
        if (!*pszText || nValue < 0 || nValue > 50) {
            char szText[256];
            std::snprintf(szText, sizeof szText, EditorText(175), 0, 50, 0);
            m_Notice.Ask(EditorText(149), szText, false, 0);
            m_bShowing = true;
            Edit(kShirt)->SetText("%d", 0);
            m_bShowing = false;
        }
        CheckShirtNumber();
    } else if (dwID == kBirthDay || dwID == kBirthMonth || dwID == kBirthYear) {
        CheckBirthDate();
    }
}

void CPlayerDlg::OnClicked(uint32_t dwID)
{
    CXPopup::OnClicked(dwID);
    switch (dwID) {
    case kOk:
        EnableStore(false);
        StorePlayer();
        Close();
        break;
    case kApply:
        EnableStore(false);
        StorePlayer();
        break;
    case kCancel:
        EnableStore(false);
        Close();
        break;
    default:
        break;
    }
}

void CPlayerDlg::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags)
{
    if (key == plat::VK_ESCAPE)
        Close();
    else
        CXPopup::OnKeyDown(key, repeat, flags);
}
