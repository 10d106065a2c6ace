#include "popups/CPopupYouthDetails.h"

#include "popups/OfferEdits.h"
#include "popups/PopupLook.h"
#include "popups/SkillHistory.h"
#include "shell/CGame.h"
#include "shell/PlayerRowIcons.h"
#include "shell/CGameClient.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CYouthDatabase.h"
#include "season/CSaveGame.h"
#include "season/CScoutManager.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

constexpr int kWidth = 536, kHeight = 442;
constexpr int kLeft = 212, kTop = 104;
constexpr int kTabStrip = 24;
constexpr int kTabWidth = 98, kTabHeight = 26;
constexpr int kButtonWidth = 84, kButtonHeight = 26;
constexpr COLORREF kTitleColour = 0xADFDFF;
constexpr COLORREF kRowColour = 0xFFFFFF;
constexpr uint32_t kPrintButton = CGamePopup::kPrintButtonID;
constexpr uint32_t kHelpButton = 1057;
constexpr int kDetailsLabels = 80;
constexpr int kSkillsLabels = 36;
constexpr int kCaptionTabs = 208;
constexpr int kNationalitySet = 92;
constexpr int kRoleSet = 118;
constexpr int kInjurySet = 115;
constexpr int kMessageSet = 95;
// The stored word that lets a human treat the youths without a club as his.
constexpr char kUnattachedWord[] = "Vexil";

// {left, right, margin, colour, alignment, offset, heading, sort, hot}
const LISTCOLUMN kHistoryColumns[] = {
    {0, 50, 4, 0, 2, 0, 507, LISTSORT_DATE, 0},
    {50, 100, 4, 0, 2, 0, 508, LISTSORT_DATE, 0},
    {100, 236, 4, 0, 0, 0, 509, LISTSORT_TEXT, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

using popup_look::SharedFace;

CXStatic* Label(CXClient& client, uint32_t dwID) { return dynamic_cast<CXStatic*>(client.FindControl(dwID)); }

}  // namespace

const uint32_t CPopupYouthDetails::kToggleIDs[kSkillLines] = {497, 498, 499, 500, 501, 502, 503, 504, 506, 514};

CPopupYouthDetails& GetYouthDetailsPopup()
{
    static CPopupYouthDetails s_Popup;
    return s_Popup;
}

bool ShowYouthDetails(uint32_t idYouth)
{
    CDatabaseHandler* pDatabase = offer_edits::Database();
    CYouthDatabase* pYouth = pDatabase && idYouth ? pDatabase->GetYouthFromID(idYouth) : nullptr;
    return pYouth && GetYouthDetailsPopup().Show(pYouth);
}

CPopupYouthDetails::CPopupYouthDetails()
{
    m_wScreenID = kScreenID;
    SetTabbedPopupRect(kLeft, kTop, kWidth, kHeight, kTabStrip);
}

CPopupYouthDetails::~CPopupYouthDetails() = default;

CDatabaseHandler* CPopupYouthDetails::Database() { return offer_edits::Database(); }

CSaveGame* CPopupYouthDetails::Human()
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

CClubDatabase* CPopupYouthDetails::HumanClub() { return offer_edits::HumanClub(); }

CYouthDatabase* CPopupYouthDetails::GetYouth() const
{
    // Held by id: a promoted youth's record is gone, and his id then names a
    // squad player.
    CDatabaseHandler* pDatabase = Database();
    return pDatabase && m_idYouth ? pDatabase->GetYouthFromID(m_idYouth) : nullptr;
}

bool CPopupYouthDetails::IsOwnYouth() const
{
    const CYouthDatabase* pYouth = GetYouth();
    return pYouth && pYouth->m_pClub && pYouth->m_pClub == HumanClub();
}

bool CPopupYouthDetails::TreatsUnattachedAsOwn() const
{
    const CClubDatabase* pClub = HumanClub();
    const CSaveGame* pHuman = Human();
    return pClub && pHuman && std::strcmp(pHuman->GetSurname(), kUnattachedWord) == 0;
}

CXGraph* CPopupYouthDetails::Graph() const
{
    return dynamic_cast<CXGraph*>(const_cast<CPopupYouthDetails*>(this)->FindControl(ID_GRAPH));
}

CXListBox* CPopupYouthDetails::List(uint32_t dwID) const
{
    return dynamic_cast<CXListBox*>(const_cast<CPopupYouthDetails*>(this)->FindControl(dwID));
}

bool CPopupYouthDetails::Show(CYouthDatabase* pYouth)
{
    if (!pYouth || IsOnStack())
        return false;
    m_idYouth = pYouth->m_idPerson;
    return Open();
}

void CPopupYouthDetails::ConstructScreen() { popup_look::DrawFrameBelowTabs(*this, kTabStrip); }

bool CPopupYouthDetails::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    AddControls();
    ShowAllControls(true);
    popup_look::LoadReports(m_PlayerReport, m_TrainerReport);
    const CYouthDatabase* pYouth = GetYouth();
    m_pClub = pYouth ? pYouth->m_pClub : nullptr;
    SelectPage(ID_PAGE_DETAILS);
    return true;
}

void CPopupYouthDetails::AddControls()
{
    CXSurface* pTabFace = SharedFace("btnTog2.bmp");
    for (uint32_t dwID : {ID_PAGE_DETAILS, ID_PAGE_SKILLS})
        if (auto* pTab = static_cast<CXButton*>(AddControlXYWH(
                XCONTROL_BUTTON, dwID == ID_PAGE_DETAILS ? kWidth - 187 : kWidth - 100, 0, kTabWidth - 14,
                kTabHeight, dwID, nullptr))) {
            pTab->m_hFont = g_hSmallFont;
            pTab->SetTextID(pTabFace, 0);
        }
    CXSurface* pButtonFace = SharedFace("btnTog.bmp");
    const struct {
        uint32_t dwID;
        int x;
    } kActions[] = {{ID_SIGN, 8}, {ID_PROMOTE, 8}, {ID_RELEASE, 98}};
    for (const auto& action : kActions)
        if (auto* pButton = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, action.x, kHeight - 32,
                                                                  kButtonWidth, kButtonHeight, action.dwID, nullptr))) {
            pButton->m_hFont = g_hSmallFont;
            pButton->SetTextID(pButtonFace, 0);
        }
    AddConfirmButton(kOkButtonID, CancelX());
    if (CXStatic* pPosition = popup_look::AddDetailsTitle(*this, ID_TITLE, ID_POSITION, kWidth, kTitleColour))
        pPosition->m_crText = kTitleColour;
    AddCloseButton(true, true);
    popup_look::AddBrowseArrows(*this, ID_PREVIOUS, ID_NEXT, popup_look::LoadSmallFacesWithPrint(*this, m_pSmallFaces));
    // The graph inside its frame {10, 60, W - 10, 220}.
    AddControl(XCONTROL_GRAPH, 45, 70, kWidth - 45, 200, ID_GRAPH, nullptr);
    popup_look::AddDetailsList(*this, ID_HISTORY, 901, 885, 8, 294, 244, 374, kHistoryColumns, false, true);
    popup_look::AddDetailsList(*this, ID_PLAYER_REPORT, 902, 887, 276, 76, 512, 220, popup_look::TextColumn(236),
                               false, false);
    popup_look::AddDetailsList(*this, ID_TRAINER_REPORT, 903, 889, 276, 250, 512, 374, popup_look::TextColumn(236),
                               false, false);
    CXSurface* pToggleFace = SharedFace("btnRate.bmp");
    for (int i = 0; i < kSkillLines; ++i)
        if (auto* pToggle = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, i < 5 ? 224 : 484,
                                                                  250 + 25 * (i % 5) - 2, 44, 20, kToggleIDs[i],
                                                                  nullptr))) {
            pToggle->m_hFont = g_hSmallFont;
            pToggle->SetToggleTextID(pToggleFace, 20 * i, Graph(), i, 0);
            pToggle->SetChecked(1);
        }
    popup_look::AddPersonValues(*this, {ID_BIRTH, ID_AGE, ID_NATIONALITY, ID_ROLE, ID_MORALE, ID_RATING});
    popup_look::AddValueLabel(*this, ID_WAGE, 90, 226, 120);
}

void CPopupYouthDetails::OnDestroy()
{
    m_PlayerReport.Free();
    m_TrainerReport.Free();
    m_pBarMarker.reset();
    m_pSmallFaces.reset();
    m_pPositionIcon.reset();
    m_pRoleIcon.reset();
    CGamePopup::OnDestroy();
}

// ---- pages ----

void CPopupYouthDetails::SelectPage(uint32_t dwPage)
{
    if ((dwPage != ID_PAGE_DETAILS && dwPage != ID_PAGE_SKILLS) || !GetYouth())
        return;
    m_dwPage = dwPage;
    if (dwPage == ID_PAGE_DETAILS) {
        ShowDetailsPage();
    } else {
        SetUpGraph();
        ShowSkillsPage();
    }
}

void CPopupYouthDetails::BeginPage()
{
    ShowAllControls(false);
    ConstructScreen();
    popup_look::DrawClubColourBoxes(*this, m_pClub);
    for (uint32_t dwID : {ID_PAGE_DETAILS, ID_PAGE_SKILLS})
        if (auto* pTab = dynamic_cast<CXButton*>(FindControl(dwID)))
            pTab->SetPressed(dwID == m_dwPage ? 1 : 0);
}

void CPopupYouthDetails::EndPage(const uint32_t* pIDs, size_t nCount)
{
    RestoreBackground(0, 0, Width(), Height());
    const uint32_t common[] = {ID_PAGE_DETAILS, ID_PAGE_SKILLS, kOkButtonID, ID_NEXT,
                               ID_PREVIOUS,     ID_TITLE,       ID_POSITION, kHelpButton};
    for (uint32_t dwID : common)
        if (CXControl* pControl = FindControl(dwID))
            pControl->Show(true, true);
    for (size_t i = 0; i < nCount; ++i)
        if (CXControl* pControl = FindControl(pIDs[i]))
            pControl->Show(true, true);
    // Only the skills page prints.
    if (auto* pPrint = dynamic_cast<CXButton*>(FindControl(kPrintButton))) {
        pPrint->Enable(m_dwPage != ID_PAGE_SKILLS);
        pPrint->Show(m_dwPage == ID_PAGE_SKILLS, true);
    }
    DrawTitle();
    ShowActionButtons();
}

void CPopupYouthDetails::DrawTitle()
{
    const CYouthDatabase* pYouth = GetYouth();
    if (!pYouth)
        return;
    if (CXStatic* pTitle = Label(*this, ID_TITLE))
        pTitle->SetText("%s", pYouth->GetShortName());
    popup_look::ShowPosition(Label(*this, ID_POSITION), pYouth->m_byPosition, m_pPositionIcon);
}

void CPopupYouthDetails::ShowDetailsPage()
{
    const CYouthDatabase* pYouth = GetYouth();
    if (!pYouth)
        return;
    BeginPage();
    m_pBackground->ShadeRect(8, 77, 240, 180, 2);
    popup_look::DrawLabels(m_pBackground, kDetailsLabels);
    if (CXSurface* pTabs = SharedFace("btnPTab.bmp")) {
        // The injuries' tab stands above the list's heading row.
        const CXListBox* pHistory = List(ID_HISTORY);
        const int nHeader = pHistory ? pHistory->m_nHeaderHeight : 16;
        const CAPTIONTAB tabs[] = {{2, 0, 0, 8, 60, 240},
                                   {1, 1, ID_PLAYER_REPORT, 0, 0, 0},
                                   {1, 2, ID_TRAINER_REPORT, 0, 0, 0},
                                   {2, 3, 0, 8, 294 - nHeader - 17, 236},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionTabs, tabs);
    }
    const CYouthDatabase& youth = *pYouth;
    if (CXStatic* p = Label(*this, ID_BIRTH))
        p->SetText("%s", FormatDateRecord(youth.m_DateOfBirth));
    if (CXStatic* p = Label(*this, ID_AGE))
        p->SetText("%d", youth.GetAge());
    if (CXStatic* p = Label(*this, ID_NATIONALITY)) {
        p->SetText("%s", GetTableTextOrEmpty(kNationalitySet, youth.m_byNationality));
        p->SetAlignedImage(PlayerRowIcons::NationFlag(youth.m_byNationality), 2);
    }
    if (CXStatic* p = Label(*this, ID_ROLE)) {
        p->SetText("%s", GetTableTextOrEmpty(kRoleSet, youth.m_byRole));
        p->RemoveAllImages();
        CXSurface* pRoles = SharedFace("Role.bmp");
        if (pRoles && youth.m_byRole < PLAYER_ROLE_COUNT) {
            m_pRoleIcon = std::make_unique<CXAnimation>();
            m_pRoleIcon->Setup(pRoles, 26, 13, 26 * youth.m_byRole, 0, 1, 1);
            p->AddAlignedImage(m_pRoleIcon.get(), 2);
        }
    }
    if (CXStatic* p = Label(*this, ID_MORALE))
        p->SetText("%d", youth.m_awAttributes[PLAYER_ATTRIBUTE_MORALE] / 100);
    if (CXStatic* p = Label(*this, ID_RATING))
        p->SetText("%d", youth.GetRatingForPosition(-1));
    if (CXStatic* p = Label(*this, ID_WAGE))
        SetMoneyText(p, youth.m_dwValue, MONEY_AS_STORED);
    FillHistoryList();
    FillReports();
    const uint32_t page[] = {ID_HISTORY, ID_PLAYER_REPORT, ID_TRAINER_REPORT, ID_BIRTH, ID_AGE,
                             ID_NATIONALITY, ID_ROLE, ID_MORALE, ID_RATING, ID_WAGE};
    EndPage(page, std::size(page));
}

void CPopupYouthDetails::FillHistoryList()
{
    CXListBox* pList = List(ID_HISTORY);
    const CYouthDatabase* pYouth = GetYouth();
    if (!pList || !pYouth)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (const INJURYENTRY* pEntry : pYouth->m_InjuryHistory.Items<INJURYENTRY>()) {
        const CDate back(CDate::Pack(pEntry->Date.wYear, pEntry->Date.byMonth, pEntry->Date.byDay), pEntry->wDays);
        // Each formatter hands back a rotating buffer: copy the first date.
        char szStart[32];
        std::snprintf(szStart, sizeof szStart, "%s", FormatDateRecord(pEntry->Date));
        pList->AddString(kRowColour, "%s\t%s\t%s", szStart, FormatPackedDate(back.GetValue()),
                         GetTableTextOrEmpty(kInjurySet, pEntry->byType));
    }
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    pList->SetAutoRedraw(true);
    pList->UpdateScrollBar();
    pList->Redraw();
}

void CPopupYouthDetails::FillReports()
{
    CXListBox* pPlayerList = List(ID_PLAYER_REPORT);
    CXListBox* pTrainerList = List(ID_TRAINER_REPORT);
    const CYouthDatabase* pYouth = GetYouth();
    if (!pPlayerList || !pTrainerList || !pYouth)
        return;
    ITEMTEXTPARAMETERS params;
    params.idPlayer = pYouth->m_idPerson;
    params.pClubA = pYouth->m_pClub;
    const auto fill = [&](const CFormScript& script, CXListBox* pList) {
        pList->ResetContent();
        int nRows = 0;
        char szText[FORMSCRIPT_TEXT_BYTES];
        // Only a club's staff report on a youth.
        if (pYouth->m_pClub)
            for (int i = 0; i < script.GetEntryCount() && nRows < kMaxScriptedTexts; ++i)
                if (script.ExpandEntryIfAvailable(params, i, szText, sizeof szText,
                                                  static_cast<int>(pYouth->m_idPerson))) {
                    pList->AddWrappedString(szText, kRowColour, g_hSmallFont, 0);
                    ++nRows;
                }
        // Without anything to say, a word of the form, the same for the same youth.
        const int nCount = script.GetEntryCount();
        const int nEntry = nCount > 0 ? static_cast<int>(pYouth->m_idPerson % static_cast<uint32_t>(nCount)) : -1;
        const CFormScript::Entry* pEntry = nEntry >= 0 ? script.GetEntry(nEntry) : nullptr;
        if (nRows == 0 && pEntry && !pEntry->bodies.empty()) {
            script.GetEntryText(szText, sizeof szText, nEntry,
                                static_cast<int>(pYouth->m_idPerson % pEntry->bodies.size()), params);
            char szRow[FORMSCRIPT_TEXT_BYTES + 4];
            std::snprintf(szRow, sizeof szRow, "* %s", szText);
            pList->AddWrappedString(szRow, kRowColour, g_hSmallFont, 0);
        }
        pList->UpdateScrollBar();
        pList->Redraw();
    };
    fill(m_PlayerReport, pPlayerList);
    fill(m_TrainerReport, pTrainerList);
}

void CPopupYouthDetails::SetUpGraph()
{
    CXGraph* pGraph = Graph();
    CDatabaseHandler* pDatabase = Database();
    const CYouthDatabase* pYouth = GetYouth();
    if (!pGraph || !pDatabase || !pYouth)
        return;
    // Another club's youth is known as far as the human's scout saw him,
    // else not at all.
    CDate lastSeen;
    CSaveGame* pHuman = Human();
    if (const SCOUTREPORT* pReport = pHuman ? pHuman->GetScoutManager().FindReport(pYouth->m_idPerson) : nullptr)
        lastSeen = pReport->Date;
    skill_history::FillGraph(*pGraph, *pDatabase, *pYouth, IsOwnYouth(), lastSeen, nullptr, "CPopupYouthDetails");
}

void CPopupYouthDetails::GetSkillValues(int anValues[kSkillLines]) const
{
    const CYouthDatabase* pYouth = GetYouth();
    const bool bOwn = IsOwnYouth();
    for (int i = 0; i < kSkillLines; ++i)
        anValues[i] = bOwn && pYouth ? pYouth->m_awAttributes[skill_history::kLineTable[i].nAttribute] / 100
                                     : skill_history::GetLastValue(Graph(), i);
}

void CPopupYouthDetails::ShowSkillsPage()
{
    const CYouthDatabase* pYouth = GetYouth();
    if (!pYouth)
        return;
    BeginPage();
    m_pBackground->ShadeRect(10, 60, kWidth - 20, 160, 2);
    popup_look::DrawLabels(m_pBackground, kSkillsLabels);
    m_pBarMarker.reset(LoadMainArchiveBitmap("BarMrkr.bmp", true));
    int anValues[kSkillLines];
    GetSkillValues(anValues);
    const CXGraph* pGraph = Graph();
    for (int i = 0; i < kSkillLines; ++i) {
        int nLowest = 0, nHighest = 0;
        skill_history::GetLineRange(pGraph, i, nLowest, nHighest);
        const skill_history::LINE& line = skill_history::kLineTable[i];
        skill_history::DrawSkillBar(m_pBackground, m_pBarMarker.get(), line.crColour, line.x, line.y, anValues[i],
                                    nLowest, nHighest);
    }
    m_pBarMarker.reset();
    CSaveGame* pHuman = Human();
    const bool bKnown = IsOwnYouth() || (pHuman && pHuman->GetScoutManager().FindReport(pYouth->m_idPerson));
    for (int i = 0; i < kSkillLines; ++i)
        if (auto* pToggle = dynamic_cast<CXButton*>(FindControl(kToggleIDs[i]))) {
            if (bKnown)
                pToggle->SetText("%d%%", anValues[i]);
            else
                pToggle->SetText("?%%");
        }
    uint32_t page[kSkillLines + 1];
    std::copy(std::begin(kToggleIDs), std::end(kToggleIDs), page);
    page[kSkillLines] = ID_GRAPH;
    EndPage(page, std::size(page));
    if (CXGraph* pShown = Graph()) {
        pShown->Show(true, false);
        pShown->Draw();
    }
}

// ---- actions ----

std::vector<uint32_t> CPopupYouthDetails::GetActionButtons() const
{
    std::vector<uint32_t> buttons;
    for (uint32_t dwID : {ID_SIGN, ID_PROMOTE, ID_RELEASE})
        if (const CXControl* pButton = const_cast<CPopupYouthDetails*>(this)->FindControl(dwID);
            pButton && pButton->m_bVisible)
            buttons.push_back(dwID);
    return buttons;
}

void CPopupYouthDetails::ShowActionButtons()
{
    for (uint32_t dwID : {ID_SIGN, ID_PROMOTE, ID_RELEASE})
        if (CXControl* pButton = FindControl(dwID))
            pButton->Show(false, true);
    const CYouthDatabase* pYouth = GetYouth();
    if (!pYouth || !HumanClub())
        return;
    if (IsOwnYouth())
        ShowOwnClubActions();
    else if (!pYouth->m_pClub)
        ShowUnattachedActions();
}

void CPopupYouthDetails::ShowOwnClubActions()
{
    for (uint32_t dwID : {ID_PROMOTE, ID_RELEASE})
        if (CXControl* pButton = FindControl(dwID))
            pButton->Show(true, true);
}

void CPopupYouthDetails::ShowUnattachedActions()
{
    if (TreatsUnattachedAsOwn()) {
        ShowOwnClubActions();
        return;
    }
    if (CXControl* pButton = FindControl(ID_SIGN))
        pButton->Show(true, true);
}

void CPopupYouthDetails::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    SelectPage(dwID);
    const std::vector<uint32_t> shown = GetActionButtons();
    const bool bShown = std::find(shown.begin(), shown.end(), dwID) != shown.end();
    switch (dwID) {
    case ID_SIGN:
        if (bShown)
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_SIGN);
        break;
    case ID_PROMOTE:
        // A full squad is told at once rather than after the question.
        if (bShown)
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, SquadHasRoom() ? MESSAGE_PROMOTE : MESSAGE_SQUAD_FULL);
        break;
    case ID_RELEASE:
        if (bShown)
            ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_RELEASE);
        break;
    case ID_NEXT:
    case ID_PREVIOUS:
        Browse(dwID == ID_NEXT);
        break;
    case kOkButtonID:
        Close();
        break;
    default:
        break;
    }
}

void CPopupYouthDetails::Browse(bool bNext)
{
    // The owner is the screen below; a popup between them has no list.
    if (CXPopup::StackEntry(0) != this)
        return;
    auto* pOwner = dynamic_cast<CGameClient*>(g_pCurrentClient);
    CDatabaseHandler* pDatabase = Database();
    if (!pOwner || !pDatabase)
        return;
    const uint32_t idYouth = bNext ? pOwner->GetNextPlayer() : pOwner->GetPreviousPlayer();
    CYouthDatabase* pYouth = idYouth ? pDatabase->GetYouthFromID(idYouth) : nullptr;
    if (!pYouth || idYouth == m_idYouth)
        return;
    m_idYouth = idYouth;
    m_pClub = pYouth->m_pClub;
    SelectPage(m_dwPage);
}

bool CPopupYouthDetails::SquadHasRoom()
{
    const CClubDatabase* pHumanClub = HumanClub();
    return pHumanClub && pHumanClub->GetPlayersHeld() < CLUB_SQUAD_LIMIT;
}

void CPopupYouthDetails::Tell(int nMessage)
{
    // Told while the question's box is still closing: it opens again after.
    if (CGameMessageBox* pBox = GetGameMessageBox())
        pBox->ShowNotice(GetTableTextOrEmpty(kMessageSet, nMessage));
}

bool CPopupYouthDetails::Promote(CYouthDatabase& youth)
{
    CClubDatabase* pHumanClub = HumanClub();
    CDatabaseHandler* pDatabase = Database();
    if (!pHumanClub || !pDatabase)
        return false;
    if (!SquadHasRoom()) {
        Tell(MESSAGE_SQUAD_FULL);
        return false;
    }
    // A youth without a club joins the human's youths first.
    if (!youth.m_pClub && !pDatabase->HireYouth(&youth, pHumanClub)) {
        Tell(MESSAGE_NOT_SIGNED);
        return false;
    }
    if (youth.m_pClub != pHumanClub || !pHumanClub->PromoteYouth(&youth))
        return false;
    if (const CSaveGame* pHuman = Human(); pHuman && pHuman->GetAutomaticSquadNumbers())
        pHumanClub->GiveFreeSquadNumbers();
    pHumanClub->UpdateSquadAverages();
    return true;
}

void CPopupYouthDetails::OnEndMessageBoxPopup()
{
    CGamePopup::OnEndMessageBoxPopup();
    const CGameMessageBox* pBox = GetGameMessageBox();
    CYouthDatabase* pYouth = GetYouth();
    CDatabaseHandler* pDatabase = Database();
    if (!pBox || pBox->m_dwResultID != kOkButtonID || !pYouth || !pDatabase)
        return;
    switch (pBox->GetTextItem()) {
    case MESSAGE_RELEASE:
        // A youth without a club has no one to release him.
        if (pYouth->m_pClub && pYouth->m_pClub == HumanClub())
            pDatabase->ReleaseYouth(pYouth);
        Close();
        break;
    case MESSAGE_PROMOTE:
        if (Promote(*pYouth))
            Close();
        break;
    case MESSAGE_SIGN:
        if (pYouth->m_pClub || !HumanClub() || !pDatabase->HireYouth(pYouth, HumanClub())) {
            Tell(MESSAGE_NOT_SIGNED);
            break;
        }
        Close();
        break;
    default:
        break;
    }
}
