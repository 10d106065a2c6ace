#include "editor/CEditorDlg.h"

#include "editor/EditorLook.h"
#include "editor/EditorTexts.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "database/CNameDictionary.h"
#include "database/CPlayerDatabase.h"
#include "shell/CGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/ClientText.h"
#include "xframework/DrawingFunctions.h"

#include "platform/Files.h"
#include "platform/Messages.h"

#include <algorithm>
#include <filesystem>
#include <cstdio>
#include <strings.h>

namespace {

enum : uint32_t {
    kCountry = 1105,
    kLongName = 1019,
    kShortName = 1028,
    kReputation = 1036,
    kRating = 1038,
    kClubs = 1001,
    kClubsBar = 1201,
    kFirstName = 1002,
    kLastName = 1005,
    kBirthDay = 1022,
    kBirthMonth = 1122,
    kBirthYear = 1123,
    kManagerReputation = 1037,
    kNationality = 1024,
    kPlayers = 1004,
    kPlayersBar = 1204,
    kCountryBar = 1211,
    kNationalityBar = 1214,
    kEditPlayer = EDITOR_BUTTON_EDIT_PLAYER,
    kSave = EDITOR_BUTTON_SAVE,
    kQuit = EDITOR_BUTTON_QUIT,
    kApply = EDITOR_BUTTON_APPLY,
    kAbout = EDITOR_BUTTON_ABOUT,
    // Spin buttons of the three figures.
    kSpinBase = 1300,
};

// The figures with spin buttons, whose ids follow kSpinBase two by two.
const uint32_t kSpunFigures[] = {kReputation, kRating, kManagerReputation};

// Questions the screen asks.
enum { kAskQuit = 1, kAskSave = 2 };

// The files a save writes, in the order they are asked for: the proposed
// name under the working folder, the picker's title and type, and the
// extension a name typed without one gets.
struct SAVEFILE {
    const char* pszProposed;
    int nTitle;
    int nFilter;
    const char* pszExtension;
};
const SAVEFILE kSaveFiles[3] = {
    {"Data\\Names\\FirstNames.dat", 163, 162, ".dat"},
    {"Data\\Names\\LastNames.dat", 164, 162, ".dat"},
    {nullptr, 165, 148, ".bin"},
};

// Birth dates a manager may have: 15 to 90 years old.
constexpr int kManagerOldest = 90;
constexpr int kManagerYoungest = 15;

const LISTCOLUMN kNameColumns[] = {
    {0, 236, 4, 0, 0, 0, 0, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

ControlCaptionLookup s_pfnGameCaptions = nullptr;

const char* Caption(uint32_t dwID)
{
    if (const char* pszCaption = EditorControlCaption(dwID))
        return pszCaption;
    return s_pfnGameCaptions ? s_pfnGameCaptions(dwID) : nullptr;
}

// The sorted list boxes order their rows without regard to case.
bool RowBefore(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; }

}  // namespace

CEditorDlg::CEditorDlg(const char* pszDatabase) : m_DatabasePath(pszDatabase) { SetClientRect(0, 0, 800, 600); }

CEditorDlg::~CEditorDlg() = default;

void CEditorDlg::BuildBackground()
{
    delete m_pBackground;
    m_pBackground = MakeEditorBackground(*this, kEditorBackground);
    if (!m_pBackground)
        return;
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hLargeBoldFont);
    DrawTextF(pDC, 20, 12, kEditorHeading, "%s", EditorText(120));
    DrawEditorGroup(pDC, 14, 56, 380, 520, EditorText(102));
    DrawEditorLabel(pDC, 28, 78, EditorText(167));
    DrawEditorLabel(pDC, 28, 110, EditorText(113));
    DrawEditorLabel(pDC, 28, 140, EditorText(114));
    DrawEditorLabel(pDC, 28, 170, EditorText(106));
    DrawEditorLabel(pDC, 28, 200, EditorText(171));
    DrawEditorLabel(pDC, 28, 232, EditorText(105));
    DrawEditorGroup(pDC, 396, 56, 786, 520, EditorText(103));
    DrawEditorGroup(pDC, 410, 80, 772, 270, EditorText(104));
    DrawEditorLabel(pDC, 424, 102, EditorText(105));
    DrawEditorLabel(pDC, 424, 160, EditorText(108));
    DrawEditorLabel(pDC, 424, 192, EditorText(106));
    DrawEditorLabel(pDC, 424, 224, EditorText(109));
    DrawEditorGroup(pDC, 410, 290, 772, 506, EditorText(107));
    if (!m_LoadMessage.empty()) {
        pDC->selectFont(g_hSmallBoldFont);
        DrawTextF(pDC, 20, 572, plat::RGB(250, 120, 90), "%s", m_LoadMessage.c_str());
    }
    m_pBackground->m_pSurface->releaseDC(pDC);
}

void CEditorDlg::AddControls()
{
    AddEditorCombo(*this, kCountry, kCountryBar, 130, 74, 220, 330);
    AddEditorEdit(*this, kLongName, 130, 106, 220, CLUB_NAME_BYTES - 1, false);
    AddEditorEdit(*this, kShortName, 130, 136, 220, CLUB_SHORT_NAME_BYTES - 1, false);
    AddEditorEdit(*this, kReputation, 130, 166, 44, 3, true);
    AddEditorEdit(*this, kRating, 130, 196, 44, 3, true);
    AddEditorList(*this, kClubs, kClubsBar, 130, 230, 220, 272, kNameColumns, m_pSelection.get());
    AddEditorEdit(*this, kFirstName, 530, 98, 150, static_cast<int>(CNameDictionary::kMaxNameLength), false);
    AddEditorEdit(*this, kLastName, 530, 124, 150, static_cast<int>(CNameDictionary::kMaxNameLength), false);
    AddEditorEdit(*this, kBirthDay, 530, 156, 26, 2, true);
    AddEditorEdit(*this, kBirthMonth, 560, 156, 26, 2, true);
    AddEditorEdit(*this, kBirthYear, 590, 156, 44, 4, true);
    AddEditorEdit(*this, kManagerReputation, 530, 188, 44, 3, true);
    AddEditorCombo(*this, kNationality, kNationalityBar, 530, 220, 220, 280);
    AddEditorList(*this, kPlayers, kPlayersBar, 424, 308, 220, 188, kNameColumns, m_pSelection.get());
    uint32_t dwSpin = kSpinBase;
    for (uint32_t dwID : kSpunFigures) {
        auto* pEdit = static_cast<CXEdit*>(FindControl(dwID));
        if (!pEdit)
            continue;
        pEdit->SetNumericRange(false, 0, dwID == kRating ? CEditorDocument::kMaxClubRating : 100);
        pEdit->AddSpinButtons(dwSpin, dwSpin + 1, 1);
        dwSpin += 2;
    }
    // The bottom row's captions are longer than the shared face.
    if (!m_pBottomFace)
        m_pBottomFace = MakeEditorButtonFace(94);
    const struct {
        uint32_t dwID;
        int x, y;
        CXSurface* pFace;
    } buttons[] = {{kEditPlayer, 672, 308, nullptr},
                   {kSave, 494, 532, m_pBottomFace.get()},
                   {kQuit, 592, 532, m_pBottomFace.get()},
                   {kApply, 690, 532, m_pBottomFace.get()}};
    for (const auto& button : buttons)
        AddEditorButton(*this, button.dwID, button.x, button.y, button.pFace);
    if (!m_pAboutFace)
        m_pAboutFace = MakeEditorButtonFace(226);
    AddEditorButton(*this, kAbout, 560, 12, m_pAboutFace.get());
}

bool CEditorDlg::OnInitDialog()
{
    if (g_pfnControlCaptionText != &Caption) {
        s_pfnGameCaptions = g_pfnControlCaptionText;
        g_pfnControlCaptionText = &Caption;
    }
    // The game's tips belong to its own controls of the same numbers: the
    // editor's fields have none.
    g_pfnControlToolTipText = nullptr;
    BuildBackground();
    if (!m_pSelection)
        m_pSelection = MakeEditorSelection(240);
    CXClient::OnInitDialog();
    // The game object built the database code; the document loads into it
    // once, with the progress box over the screen while it does.
    const bool bLoading = !m_pDocument;
    if (bLoading) {
        m_Progress.Begin(0, 14, 1, 161);
        m_Progress.Step(156);
        m_Progress.StepIt();
        auto* pGame = dynamic_cast<CGame*>(g_pGame);
        if (pGame && pGame->GetDatabase()) {
            m_pDocument = std::make_unique<CEditorDocument>(*pGame->GetDatabase());
            if (!m_pDocument->Load(m_DatabasePath, m_LoadMessage, &m_Progress))
                DebugLog(0, "[CEditorDlg::OnInitDialog] %s", m_LoadMessage.c_str());
            m_bQuitAfterNotice = !pGame->GetDatabase()->AreFixedTablesLoaded();
        } else {
            m_LoadMessage = EditorText(319);
            m_bQuitAfterNotice = true;
        }
        if (!m_LoadMessage.empty()) {
            BuildBackground();
            RestoreBackground(0, 0, Width(), Height());
        }
    }
    AddControls();
    ShowAllControls(true);
    EnableApply(false);
    if (bLoading) {
        // One step for each of the three figures' spin buttons just made.
        for (int i = 0; i < 3; ++i)
            m_Progress.StepIt();
        m_Progress.Step(160);
        m_Progress.StepIt();
        m_Progress.End();
    }
    FillCountryList();
    if (!m_LoadMessage.empty())
        Notify(149, m_LoadMessage);
    return true;
}

void CEditorDlg::OnDestroy()
{
    m_Countries.clear();
    m_Clubs.clear();
    m_Squad.clear();
    CXClient::OnDestroy();
}

void CEditorDlg::EnableApply(bool bEnable)
{
    if (auto* pButton = static_cast<CXButton*>(FindControl(kApply)))
        pButton->Enable(!bEnable);
}

void CEditorDlg::Notify(int nTitle, const std::string& text) { m_Notice.Ask(EditorText(nTitle), text, false, 0); }

void CEditorDlg::FillCountryList()
{
    auto* pCombo = static_cast<CXComboBox*>(FindControl(kCountry));
    if (!pCombo)
        return;
    m_bFilling = true;
    pCombo->ResetContent();
    m_Countries = m_pDocument && m_pDocument->IsLoaded() ? m_pDocument->GetCountries() : std::vector<CCountryDatabase*>();
    // A sorted drop-down: by name, each row holding its country's index.
    std::vector<int> order(m_Countries.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return RowBefore(m_Countries[static_cast<size_t>(a)]->GetName(), m_Countries[static_cast<size_t>(b)]->GetName());
    });
    pCombo->SetAutoRedraw(false);
    for (int nIndex : order) {
        pCombo->AddString(kEditorRowText, "%s", m_Countries[static_cast<size_t>(nIndex)]->GetName());
        pCombo->SetItemData(pCombo->GetCount() - 1, static_cast<uint32_t>(nIndex));
    }
    pCombo->SetAutoRedraw(true);
    CPlayerDlg::SelectQuietly(pCombo, 0);
    m_bFilling = false;
    OnCountrySelected();
}

void CEditorDlg::OnCountrySelected()
{
    auto* pCombo = static_cast<CXComboBox*>(FindControl(kCountry));
    m_pCountry = nullptr;
    if (pCombo && pCombo->GetSelection() >= 0 && pCombo->GetSelection() < pCombo->GetCount())
        m_pCountry = m_Countries[static_cast<size_t>(pCombo->GetItemData(pCombo->GetSelection()))];
    FillClubList(-1);
}

void CEditorDlg::FillClubList(int nSelectClub)
{
    auto* pList = static_cast<CXListBox*>(FindControl(kClubs));
    if (!pList)
        return;
    m_bFilling = true;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    m_Clubs = m_pDocument ? m_pDocument->GetClubs(m_pCountry) : std::vector<CClubDatabase*>();
    std::vector<int> order(m_Clubs.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return RowBefore(m_Clubs[static_cast<size_t>(a)]->GetName(), m_Clubs[static_cast<size_t>(b)]->GetName());
    });
    int nSelectRow = 0;
    for (int nIndex : order) {
        if (nIndex == nSelectClub)
            nSelectRow = pList->GetCount();
        pList->AddString(kEditorRowText, "%s", m_Clubs[static_cast<size_t>(nIndex)]->GetName());
        pList->SetItemData(pList->GetCount() - 1, static_cast<uint32_t>(nIndex));
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    if (pList->GetCount() > 0) {
        pList->SetSelection(nSelectRow);
        pList->Scroll(LISTSCROLL_TO_ROW, std::max(0, nSelectRow - 4));
    }
    pList->Redraw();
    m_bFilling = false;
    OnClubSelected();
}

void CEditorDlg::OnClubSelected()
{
    auto* pList = static_cast<CXListBox*>(FindControl(kClubs));
    m_pClub = nullptr;
    m_pManager = nullptr;
    if (pList && pList->GetSelection() >= 0 && pList->GetSelection() < pList->GetCount())
        m_pClub = m_Clubs[static_cast<size_t>(pList->GetItemData(pList->GetSelection()))];
    m_pManager = m_pClub ? m_pClub->GetManager() : nullptr;
    ShowClub();
    ShowManager();
    FillPlayerList();
    OnPlayerSelected();
    EnableApply(false);
}

void CEditorDlg::ShowClub()
{
    m_bFilling = true;
    const struct {
        uint32_t dwID;
        const char* pszText;
    } texts[] = {{kLongName, m_pClub ? m_pClub->GetName() : ""}, {kShortName, m_pClub ? m_pClub->GetShortName() : ""}};
    for (const auto& text : texts)
        if (auto* pEdit = static_cast<CXEdit*>(FindControl(text.dwID)))
            pEdit->SetText("%s", text.pszText);
    if (auto* pEdit = static_cast<CXEdit*>(FindControl(kReputation)))
        pEdit->SetText("%d", m_pClub ? m_pClub->m_byReputation : 0);
    if (auto* pEdit = static_cast<CXEdit*>(FindControl(kRating)))
        pEdit->SetText("%d", m_pClub ? m_pClub->m_bySupportLevel : 0);
    m_bFilling = false;
}

void CEditorDlg::ShowManager()
{
    m_bFilling = true;
    const CManagerDatabase* p = m_pManager;
    static_cast<CXEdit*>(FindControl(kFirstName))->SetText("%s", p ? p->m_pszFirstName : "");
    static_cast<CXEdit*>(FindControl(kLastName))->SetText("%s", p ? p->m_pszLastName : "");
    static_cast<CXEdit*>(FindControl(kBirthDay))->SetText("%d", p ? p->m_DateOfBirth.byDay : 0);
    static_cast<CXEdit*>(FindControl(kBirthMonth))->SetText("%d", p ? p->m_DateOfBirth.byMonth : 0);
    static_cast<CXEdit*>(FindControl(kBirthYear))->SetText("%d", p ? p->m_DateOfBirth.wYear : 0);
    static_cast<CXEdit*>(FindControl(kManagerReputation))->SetText("%d", p ? p->m_byRating : 0);
    CPlayerDlg::FillCountryCombo(static_cast<CXComboBox*>(FindControl(kNationality)), p ? p->m_byNationality - 1 : 0);
    m_bFilling = false;
}

void CEditorDlg::FillPlayerList()
{
    auto* pList = static_cast<CXListBox*>(FindControl(kPlayers));
    if (!pList)
        return;
    m_bFilling = true;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    m_Squad = m_pDocument ? m_pDocument->GetSquad(m_pClub) : std::vector<CPlayerDatabase*>();
    std::vector<std::string> names(m_Squad.size());
    std::vector<int> order(m_Squad.size());
    for (size_t i = 0; i < m_Squad.size(); ++i) {
        names[i] = std::string(m_Squad[i]->m_pszFirstName) + " " + m_Squad[i]->m_pszLastName;
        order[i] = static_cast<int>(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return RowBefore(names[static_cast<size_t>(a)], names[static_cast<size_t>(b)]); });
    for (int nIndex : order) {
        pList->AddString(kEditorRowText, "%s", names[static_cast<size_t>(nIndex)].c_str());
        pList->SetItemData(pList->GetCount() - 1, static_cast<uint32_t>(nIndex));
    }
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    if (pList->GetCount() > 0)
        pList->SetSelection(0);
    pList->Scroll(LISTSCROLL_TO_ROW, 0);
    pList->Redraw();
    m_bFilling = false;
}

void CEditorDlg::OnPlayerSelected()
{
    auto* pList = static_cast<CXListBox*>(FindControl(kPlayers));
    m_pPlayer = nullptr;
    m_nPlayerRow = pList ? pList->GetSelection() : -1;
    if (pList && m_nPlayerRow >= 0 && m_nPlayerRow < pList->GetCount())
        m_pPlayer = m_Squad[static_cast<size_t>(pList->GetItemData(m_nPlayerRow))];
}

void CEditorDlg::OnEditPlayer()
{
    if (m_pPlayer && m_pDocument)
        m_PlayerDlg.Edit(m_pDocument.get(), m_pPlayer);
}

void CEditorDlg::ApplyChanges()
{
    if (!m_pClub || !m_pDocument)
        return;
    auto text = [&](uint32_t dwID) { return std::string(static_cast<CXEdit*>(FindControl(dwID))->Text()); };
    auto number = [&](uint32_t dwID) { return static_cast<CXEdit*>(FindControl(dwID))->ReadNumber(); };
    bool bNames =
        m_pDocument->ApplyClub(m_pClub, text(kLongName), text(kShortName), number(kReputation), number(kRating));
    bool bDate = true;
    if (m_pManager) {
        DATERECORD birth;
        birth.byDay = static_cast<uint8_t>(number(kBirthDay));
        birth.byMonth = static_cast<uint8_t>(number(kBirthMonth));
        birth.wYear = static_cast<uint16_t>(number(kBirthYear));
        bDate = CEditorDocument::IsCalendarDate(birth);
        const int nNationality = static_cast<CXComboBox*>(FindControl(kNationality))->GetSelection() + 1;
        bNames = m_pDocument->ApplyManager(m_pManager, text(kFirstName), text(kLastName), birth,
                                           number(kManagerReputation), nNationality) &&
                 bNames;
    }
    bool bBlank = false;
    for (uint32_t dwID : {kLongName, kShortName, kFirstName, kLastName})
        bBlank = bBlank || CEditorDocument::IsBlankName(text(dwID));
    // The renamed club keeps its place in the sorted list by its new name.
    const auto it = std::find(m_Clubs.begin(), m_Clubs.end(), m_pClub);
    FillClubList(it == m_Clubs.end() ? -1 : static_cast<int>(it - m_Clubs.begin()));
    // The list filled again shows the manager as stored: a date that is no
    // calendar day is back to his own.
    if (!bNames)
        Notify(149, EditorText(bBlank ? 320 : 155));
    else if (!bDate)
        Notify(149, EditorText(150));
}

void CEditorDlg::OnApply()
{
    EnableApply(false);
    ApplyChanges();
}

void CEditorDlg::CheckManagerBirthDate()
{
    if (!m_pManager || !m_pDocument)
        return;
    auto number = [&](uint32_t dwID) { return static_cast<CXEdit*>(FindControl(dwID))->ReadNumber(); };
    DATERECORD birth;
    birth.byDay = static_cast<uint8_t>(number(kBirthDay));
    birth.byMonth = static_cast<uint8_t>(number(kBirthMonth));
    birth.wYear = static_cast<uint16_t>(number(kBirthYear));
    // A day its month lacks may be a date half typed (the 31st before its
    // month): it is judged when the manager is stored.
    if (!CEditorDocument::IsCalendarDate(birth))
        return;
    if (CEditorDocument::IsBirthDateInRange(birth, m_pDocument->GetToday(), kManagerOldest, -kManagerYoungest)) {
        EnableApply(true);
        return;
    }
    Notify(149, EditorText(150));
    m_bFilling = true;
    static_cast<CXEdit*>(FindControl(kBirthDay))->SetText("%d", m_pManager->m_DateOfBirth.byDay);
    static_cast<CXEdit*>(FindControl(kBirthMonth))->SetText("%d", m_pManager->m_DateOfBirth.byMonth);
    static_cast<CXEdit*>(FindControl(kBirthYear))->SetText("%d", m_pManager->m_DateOfBirth.wYear);
    m_bFilling = false;
}

void CEditorDlg::CheckRange(uint32_t dwEditID, int nMinimum, int nMaximum)
{
    auto* pEdit = static_cast<CXEdit*>(FindControl(dwEditID));
    if (!pEdit)
        return;
    const int nValue = pEdit->ReadNumber();
    if (*pEdit->Text() && nValue >= nMinimum && nValue <= nMaximum)
        return;
    char szText[256];
    std::snprintf(szText, sizeof szText, EditorText(175), nMinimum, nMaximum, nMinimum);
    Notify(149, szText);
    m_bFilling = true;
    pEdit->SetText("%d", nMinimum);
    m_bFilling = false;
}

void CEditorDlg::OnSave()
{
    if (!m_pDocument || !m_pDocument->IsLoaded()) {
        Notify(144, m_LoadMessage.empty() ? std::string(EditorText(318)) : m_LoadMessage);
        return;
    }
    m_Question.Ask(EditorText(144), EditorText(146), true, kAskSave);
}

void CEditorDlg::OnQuit() { m_Question.Ask(EditorText(143), EditorText(145), true, kAskQuit); }

void CEditorDlg::OnEndPopup(CXPopup* pPopup)
{
    if (pPopup == &m_Notice && m_bQuitAfterNotice) {
        plat::postQuitMessage(0);
        return;
    }
    for (int nFile = 0; nFile < 3; ++nFile) {
        if (pPopup != &m_FilePickers[nFile])
            continue;
        // A cancel in any picker ends the save with nothing written.
        if (!m_FilePickers[nFile].WasChosen())
            return;
        m_ChosenPaths[nFile] = m_FilePickers[nFile].GetPath();
        if (nFile < 2)
            AskSaveFile(nFile + 1);
        else
            SaveChosenFiles();
        return;
    }
    if (pPopup == &m_PlayerDlg) {
        // The names and numbers may have changed: the squad is shown again.
        if (m_PlayerDlg.WasStored())
            FillPlayerList();
        OnPlayerSelected();
        return;
    }
    if (pPopup != &m_Question || m_Question.GetAnswer() != CEditorMessageBox::ANSWER_YES)
        return;
    if (m_Question.GetTag() == kAskQuit) {
        EnableApply(false);
        plat::postQuitMessage(0);
    } else if (m_Question.GetTag() == kAskSave) {
        // The shown club and manager are stored before anything is asked.
        EnableApply(false);
        ApplyChanges();
        AskSaveFile(0);
    }
}

void CEditorDlg::AskSaveFile(int nFile)
{
    const SAVEFILE& file = kSaveFiles[nFile];
    const std::string proposed = file.pszProposed ? file.pszProposed : m_DatabasePath;
    const std::string initial = (std::filesystem::current_path() / plat::resolvePath(proposed)).string();
    const std::vector<std::string> taken(m_ChosenPaths, m_ChosenPaths + nFile);
    if (!m_FilePickers[nFile].Ask(file.nTitle, file.nFilter, initial, file.pszExtension, taken))
        DebugLog(0, "[CEditorDlg::AskSaveFile] the picker for file %d cannot open; nothing is saved", nFile);
}

void CEditorDlg::SaveChosenFiles()
{
    m_Progress.Begin(0, 8, 1, 166);
    std::string failed;
    const bool bSaved = m_pDocument->Save(m_ChosenPaths[0], m_ChosenPaths[1], m_ChosenPaths[2], failed, &m_Progress);
    m_Progress.End();
    if (bSaved)
        Notify(144, EditorText(160));
    else
        Notify(144, std::string(EditorText(147)) + " " + failed);
}

void CEditorDlg::OnClicked(uint32_t dwID)
{
    CXClient::OnClicked(dwID);
    if (dwID >= kSpinBase && dwID < kSpinBase + 6) {
        // The spin steps past the figure's ends; the figure stops at them.
        if (auto* pEdit = static_cast<CXEdit*>(FindControl(kSpunFigures[(dwID - kSpinBase) / 2]))) {
            const int nValue = pEdit->ReadNumber();
            if (nValue < pEdit->m_nMinimum || nValue > pEdit->m_nMaximum) {
                m_bFilling = true;
                pEdit->SetText("%d", std::clamp(nValue, pEdit->m_nMinimum, pEdit->m_nMaximum));
                m_bFilling = false;
            }
        }
        EnableApply(true);
        return;
    }
    switch (dwID) {
    case kEditPlayer:
        OnEditPlayer();
        break;
    case kApply:
        OnApply();
        break;
    case kSave:
        OnSave();
        break;
    case kQuit:
        OnQuit();
        break;
    case kAbout:
        m_About.Show();
        break;
    default:
        break;
    }
}

void CEditorDlg::OnSelChange(uint32_t dwID)
{
    if (m_bFilling)
        return;
    if (dwID == kCountry)
        OnCountrySelected();
    else if (dwID == kClubs)
        OnClubSelected();
    else if (dwID == kPlayers)
        OnPlayerSelected();
    else if (dwID == kNationality)
        EnableApply(true);
}

void CEditorDlg::OnDoubleClicked(uint32_t dwID)
{
    if (dwID != kPlayers)
        return;
    OnPlayerSelected();
    OnEditPlayer();
}

void CEditorDlg::OnEditChange(CXControl* pControl)
{
    if (m_bFilling || !pControl)
        return;
    switch (pControl->m_dwID) {
    case kLongName:
    case kShortName:
    case kFirstName:
    case kLastName:
    case kReputation:
    case kRating:
    case kManagerReputation:
    case kBirthDay:
    case kBirthMonth:
    case kBirthYear:
        EnableApply(true);
        break;
    default:
        break;
    }
}

void CEditorDlg::OnEditEnd(uint32_t dwID)
{
    if (m_bFilling)
        return;
    if (dwID == kReputation || dwID == kManagerReputation)
        CheckRange(dwID, 0, 100);
    else if (dwID == kRating)
        CheckRange(dwID, 0, CEditorDocument::kMaxClubRating);
    else if (dwID == kBirthDay || dwID == kBirthMonth || dwID == kBirthYear)
        CheckManagerBirthDate();
}

void CEditorDlg::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags)
{
    // Escape asks as the quit button does.
    if (key == plat::VK_ESCAPE)
        OnQuit();
    else
        CXClient::OnKeyDown(key, repeat, flags);
}
