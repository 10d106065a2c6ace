#include "popups/CPopupStaffDetails.h"

#include "popups/CPopupStaffNegotiation.h"
#include "popups/PopupLook.h"
#include "popups/StaffRows.h"
#include "shell/CGame.h"
#include "shell/PlayerRowIcons.h"
#include "shell/CGameClient.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CStaffDatabase.h"
#include "season/CSaveGame.h"
#include "season/CScoutManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/CXSurface.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 420, kHeight = 400;
constexpr int kLeft = 270, kTop = 140;
constexpr COLORREF kTitleColour = 0xADFDFF;
constexpr COLORREF kReportColour = 0xFFFFFF;
constexpr int kLabels = 44;
constexpr int kNationalitySet = 92;
constexpr int kMessageSet = 95;
constexpr int kButtonWidth = 84, kButtonHeight = 26, kButtonStep = 90, kButtonRowStep = 32;
constexpr int kReportTop = 226, kReportBottom = 326;
// Sacking pays a month's wage as compensation.
constexpr int kSackCategory = 78;
constexpr uint32_t kMonthsInYear = 12;
constexpr int kScoutAlert = 1;

// The negotiation states that drive the buttons.
enum : uint8_t { TALKS_NEW = 0, TALKS_PENDING = 1, TALKS_ANSWERED = 3, TALKS_ENDED = 5 };

struct BUTTONPLACE {
    uint32_t dwID;
    int nColumn, nRow;
};
constexpr BUTTONPLACE kButtonPlaces[] = {
    {CPopupStaffDetails::ID_SACK, 0, 1},     {CPopupStaffDetails::ID_OFFER, 0, 2},
    {CPopupStaffDetails::ID_WITHDRAW, 1, 1}, {CPopupStaffDetails::ID_NEW_WAGE, 1, 2},
    {CPopupStaffDetails::ID_AGREE, 2, 1},
};

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

CSaveGame* Human()
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

CXStatic* Label(CXClient& client, uint32_t dwID) { return dynamic_cast<CXStatic*>(client.FindControl(dwID)); }

}  // namespace

CPopupStaffDetails& GetStaffDetailsPopup()
{
    static CPopupStaffDetails s_Popup;
    return s_Popup;
}

bool ShowStaffDetails(ID_STAFF idStaff, uint8_t byOption)
{
    CDatabaseHandler* pDatabase = Database();
    CStaffDatabase* pStaff = pDatabase && idStaff ? pDatabase->GetStaffFromID(idStaff) : nullptr;
    return pStaff && GetStaffDetailsPopup().Show(pStaff, byOption);
}

CPopupStaffDetails::CPopupStaffDetails()
{
    m_wScreenID = kScreenID;
    SetPopupRect(kLeft, kTop, kWidth, kHeight);
}

CPopupStaffDetails::~CPopupStaffDetails() = default;

CStaffDatabase* CPopupStaffDetails::GetStaff() const
{
    // A record can go while the popup is open (he retires): looked up by id.
    CDatabaseHandler* pDatabase = Database();
    return pDatabase && m_idStaff ? pDatabase->GetStaffFromID(m_idStaff) : nullptr;
}

CXListBox* CPopupStaffDetails::Report() const
{
    return dynamic_cast<CXListBox*>(const_cast<CPopupStaffDetails*>(this)->FindControl(ID_REPORT));
}

bool CPopupStaffDetails::Show(CStaffDatabase* pStaff, uint8_t byOption)
{
    if (!pStaff || IsOnStack())
        return false;
    m_idStaff = pStaff->GetId();
    m_byOption = byOption;
    return Open();
}

void CPopupStaffDetails::ConstructScreen() { DrawCaptionFrame(-1); }

bool CPopupStaffDetails::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    m_pNegotiation = std::make_unique<CPopupStaffNegotiation>();
    m_idAskedToSack = 0;
    AddControls();
    ShowAllControls(true);
    ShowStaff();
    return true;
}

void CPopupStaffDetails::OnDestroy()
{
    m_Report.Free();
    m_pSmallFaces.reset();
    CGamePopup::OnDestroy();
    m_pNegotiation.reset();
}

void CPopupStaffDetails::AddControls()
{
    AddConfirmButton(kOkButtonID, CancelX());
    CXSurface* pButtonFace = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnTog.bmp") : nullptr;
    for (const BUTTONPLACE& place : kButtonPlaces)
        if (auto* pButton = static_cast<CXButton*>(
                AddControlXYWH(XCONTROL_BUTTON, 8 + kButtonStep * place.nColumn, kHeight - kButtonRowStep * place.nRow,
                               kButtonWidth, kButtonHeight, place.dwID, nullptr))) {
            pButton->m_hFont = g_hSmallFont;
            pButton->SetTextID(pButtonFace, 0);
        }
    m_pSmallFaces.reset(LoadMainArchiveBitmap("btnArrw.bmp", true));
    popup_look::AddBrowseArrows(*this, ID_PREVIOUS, ID_NEXT, m_pSmallFaces.get());
    if (auto* pTitle = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 46, 32, 154, 18, ID_TITLE, nullptr))) {
        pTitle->m_hFont = g_hMediumFont;
        pTitle->m_crText = kTitleColour;
        pTitle->m_bFrame = 0;
        pTitle->m_bClearBackground = 1;
    }
    if (CXStatic* pRole = popup_look::AddValueLabel(*this, ID_ROLE, 202, 32, kWidth - 8 - 202))
        pRole->m_byAlignment = 2;
    popup_look::AddValueLabel(*this, ID_BIRTH, 90, 60, 60);
    popup_look::AddValueLabel(*this, ID_AGE, 190, 60, 20);
    popup_look::AddValueLabel(*this, ID_NATIONALITY, 90, 94, 130);
    popup_look::AddValueLabel(*this, ID_RATING, 90, 128, 20);
    popup_look::AddValueLabel(*this, ID_PREVIOUS_RATING, 190, 128, 20);
    popup_look::AddValueLabel(*this, ID_WAGE, 90, 162, 90);
    popup_look::AddValueLabel(*this, ID_QUALIFICATIONS, 90, 196, kWidth - 8 - 90);
    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 220, 901, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, 8, kReportTop, kWidth - 24, kReportBottom, ID_REPORT, nullptr));
    if (pList) {
        pList->SetUp(16, 6, g_hSmallFont, 0, true, pBar, false, nullptr, false, 0, false, false, false);
        pList->SetUpColumns(8, kReportTop, kWidth - 24, kReportBottom, popup_look::TextColumn(kWidth - 32), false,
                            false, kReportBottom - kReportTop, false);
        pList->SetAutoRedraw(true);
    }
}

// ---- what he shows ----

void CPopupStaffDetails::ShowStaff()
{
    const CStaffDatabase* pStaff = GetStaff();
    if (!pStaff)
        return;
    ConstructScreen();
    const CSaveGame* pHuman = Human();
    popup_look::DrawClubColourBoxes(*this, pHuman ? pHuman->GetClub() : nullptr);
    m_pBackground->ShadeRect(8, 56, kWidth - 16, 162, 2);
    popup_look::DrawLabels(m_pBackground, kLabels);
    RestoreBackground(0, 0, Width(), Height());
    // Everything stands on the new background again; the actions his
    // situation offers are chosen below.
    ShowAllControls(true);
    if (CXStatic* p = Label(*this, ID_TITLE))
        p->SetText("%s", pStaff->GetShortName());
    if (CXStatic* p = Label(*this, ID_ROLE))
        p->SetText("%s", StaffPostName(pStaff->m_byKind));
    if (CXStatic* p = Label(*this, ID_BIRTH))
        p->SetText("%s", FormatDateRecord(pStaff->m_DateOfBirth));
    if (CXStatic* p = Label(*this, ID_AGE))
        p->SetText("%d", pStaff->GetAge());
    if (CXStatic* p = Label(*this, ID_NATIONALITY)) {
        p->SetText("%s", GetTableTextOrEmpty(kNationalitySet, pStaff->m_byNationality));
        p->SetAlignedImage(PlayerRowIcons::NationFlag(pStaff->m_byNationality), 2);
    }
    if (CXStatic* p = Label(*this, ID_RATING))
        p->SetText("%d", pStaff->m_byRating);
    if (CXStatic* p = Label(*this, ID_PREVIOUS_RATING))
        p->SetText("%d", pStaff->m_byPreviousRating);
    SetMoneyText(Label(*this, ID_WAGE), pStaff->m_dwWage, popup_look::WagePeriod());
    if (CXStatic* p = Label(*this, ID_QUALIFICATIONS))
        p->SetText("%s", StaffQualifications(*pStaff).c_str());
    FillReport(*pStaff);
    UpdateActionButtons();
}

void CPopupStaffDetails::FillReport(const CStaffDatabase& staff)
{
    CXListBox* pList = Report();
    if (!pList)
        return;
    pList->ResetContent();
    const char* pszLanguage = "English";
    if (const auto* pGame = dynamic_cast<const CGame*>(g_pGame))
        pszLanguage = pGame->GetOptions().GetLanguage();
    // His own club's trainer talks of a colleague; anyone else is heard as
    // at an interview.
    m_Report.Free();
    m_Report.Load(pszLanguage, staff.m_pClub ? "ReportStaff.fmc" : "ReportStaffInterview.fmc", true);
    ITEMTEXTPARAMETERS params;
    params.idStaff = staff.GetId();
    params.pClubA = staff.m_pClub;
    int nRows = 0;
    char szText[FORMSCRIPT_TEXT_BYTES];
    for (int i = 0; i < m_Report.GetEntryCount() && nRows < kMaxScriptedTexts; ++i)
        if (m_Report.ExpandEntryIfAvailable(params, i, szText, sizeof szText, static_cast<int>(staff.GetId()))) {
            pList->AddWrappedString(szText, kReportColour, g_hSmallFont, 0);
            ++nRows;
        }
    // Without anything else to say, one of the script's last words, the same
    // for the same man. The trainer's words on players would name nobody.
    const int nLast = m_Report.GetEntryCount() - 1;
    const CFormScript::Entry* pEntry = m_Report.GetEntry(nLast);
    if (nRows == 0 && pEntry && !pEntry->bodies.empty()) {
        m_Report.GetEntryText(szText, sizeof szText, nLast, static_cast<int>(staff.GetId() % pEntry->bodies.size()),
                              params);
        char szRow[FORMSCRIPT_TEXT_BYTES + 4];
        std::snprintf(szRow, sizeof szRow, "* %s", szText);
        pList->AddWrappedString(szRow, kReportColour, g_hSmallFont, 0);
    }
    pList->UpdateScrollBar();
    pList->Redraw();
}

std::vector<uint32_t> CPopupStaffDetails::GetActionButtons() const
{
    const CSaveGame* pHuman = Human();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    const CStaffDatabase* pStaff = GetStaff();
    if (!pClub || !pStaff)
        return {};
    if (pStaff->m_pClub == pClub)
        return {ID_SACK, ID_NEW_WAGE};
    const STAFFNEGOTIATION* pTalks = pHuman->FindStaffNegotiation(pStaff->GetId());
    if (!pTalks)
        return {ID_OFFER};
    switch (pTalks->byStatus) {
    case TALKS_NEW:
    case TALKS_PENDING:
        return {ID_WITHDRAW};
    case TALKS_ANSWERED:
        return {ID_WITHDRAW, ID_AGREE};
    case TALKS_ENDED:
        return {ID_OFFER};
    default:
        return {};
    }
}

void CPopupStaffDetails::UpdateActionButtons()
{
    for (const BUTTONPLACE& place : kButtonPlaces)
        if (CXControl* pButton = FindControl(place.dwID)) {
            pButton->Show(false, false);
            RestoreBackground(pButton->m_nLeft, pButton->m_nTop, pButton->Width(), pButton->Height());
        }
    for (uint32_t dwID : GetActionButtons())
        if (CXControl* pButton = FindControl(dwID))
            pButton->Show(true, true);
}

// ---- the screen behind ----

CGameClient* CPopupStaffDetails::Owner() const
{
    // The screen below; a popup between them has no list of staff.
    if (CXPopup::StackEntry(0) != this)
        return nullptr;
    return dynamic_cast<CGameClient*>(g_pCurrentClient);
}

bool CPopupStaffDetails::OwnerSacks() const
{
    CGameClient* pOwner = Owner();
    return pOwner && m_idStaff && pOwner->GetCurrentStaffSackCost() >= 0 && pOwner->GetCurrentStaff() == m_idStaff;
}

int32_t CPopupStaffDetails::SackCost() const
{
    if (OwnerSacks())
        return Owner()->GetCurrentStaffSackCost();
    const CStaffDatabase* pStaff = GetStaff();
    return pStaff ? static_cast<int32_t>(pStaff->m_dwWage / kMonthsInYear) : 0;
}

void CPopupStaffDetails::Browse(bool bNext)
{
    CGameClient* pOwner = Owner();
    CDatabaseHandler* pDatabase = Database();
    if (!pOwner || !pDatabase)
        return;
    const uint32_t idStaff = bNext ? pOwner->GetNextStaff() : pOwner->GetPreviousStaff();
    if (!idStaff || !pDatabase->GetStaffFromID(static_cast<ID_STAFF>(idStaff)))
        return;
    m_idStaff = static_cast<ID_STAFF>(idStaff);
    ShowStaff();
}

// ---- actions ----

void CPopupStaffDetails::AskToSack()
{
    const CStaffDatabase* pStaff = GetStaff();
    CGameMessageBox* pBox = GetGameMessageBox();
    if (!pStaff || !pBox)
        return;
    const std::string cost = FormatMoney(SackCost(), 0, 0, MONEY_AS_STORED, 0, 1);
    char szText[256];
    std::snprintf(szText, sizeof szText, GetTableTextOrEmpty(kMessageSet, MESSAGE_SACK), pStaff->GetShortName(),
                  cost.c_str());
    pBox->SetText(szText);
    m_idAskedToSack = pStaff->GetId();
    if (!ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, 0))
        m_idAskedToSack = 0;
}

void CPopupStaffDetails::Sack()
{
    CStaffDatabase* pStaff = GetStaff();
    CSaveGame* pHuman = Human();
    CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    CDatabaseHandler* pDatabase = Database();
    // Only one of the human's own staff can be sacked, and only the one asked about.
    if (!pStaff || !pClub || !pDatabase || pStaff->m_pClub != pClub || pStaff->GetId() != m_idAskedToSack)
        return;
    if (OwnerSacks()) {
        CGameClient* pOwner = Owner();
        if (pOwner->SackCurrentStaff()) {
            // The screen's list goes on with its next member.
            const auto idNext = static_cast<ID_STAFF>(pOwner->GetCurrentStaff());
            if (idNext && pDatabase->GetStaffFromID(idNext)) {
                m_idStaff = idNext;
                ShowStaff();
                return;
            }
        }
        m_dwResultID = kOkButtonID;
        Close();
        return;
    }
    const ID_STAFF idStaff = pStaff->GetId();
    pClub->AddFinanceTransaction(kSackCategory, 0, SackCost(), idStaff);
    // A scout gives up his scouting slot, and his reports are nobody's.
    if (SCOUTSLOT* pSlot = pHuman->GetScoutManager().FindScoutSlot(idStaff))
        pSlot->wStaffId = 0;
    if (pHuman->GetScoutReportStaff() == idStaff) {
        pHuman->SetScoutReport(0, 0);
        pHuman->SetNavigationAlert(kScoutAlert, 0);
        if (g_pNavigationBar)
            g_pNavigationBar->UpdateStatusLights();
    }
    pDatabase->SackStaff(idStaff);
    m_dwResultID = kOkButtonID;
    Close();
}

void CPopupStaffDetails::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    CStaffDatabase* pStaff = GetStaff();
    switch (dwID) {
    case kOkButtonID:
        m_dwResultID = kOkButtonID;
        Close();
        break;
    case ID_PREVIOUS:
    case ID_NEXT:
        Browse(dwID == ID_NEXT);
        break;
    case ID_SACK:
        AskToSack();
        break;
    case ID_OFFER:
    case ID_NEW_WAGE:
        if (pStaff && m_pNegotiation) {
            m_pNegotiation->SetStaff(pStaff);
            m_pNegotiation->Open();
        }
        break;
    case ID_WITHDRAW:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_WITHDRAW);
        break;
    case ID_AGREE:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_AGREE);
        break;
    default:
        break;
    }
}

void CPopupStaffDetails::OnEndMessageBoxPopup()
{
    CGamePopup::OnEndMessageBoxPopup();
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox)
        return;
    const bool bYes = pBox->m_dwResultID == kOkButtonID;
    CSaveGame* pHuman = Human();
    const CStaffDatabase* pStaff = GetStaff();
    STAFFNEGOTIATION* pTalks = pHuman && pStaff ? pHuman->FindStaffNegotiation(pStaff->GetId()) : nullptr;
    switch (pBox->GetTextItem()) {
    case 0:
        if (m_idAskedToSack && bYes)
            Sack();
        m_idAskedToSack = 0;
        return;
    case MESSAGE_WITHDRAW:
        if (bYes && pTalks)
            pHuman->RemoveStaffNegotiation(pTalks);
        break;
    case MESSAGE_AGREE:
        // Only an answer he gave can be agreed to.
        if (bYes && pTalks && pTalks->byStatus == TALKS_ANSWERED)
            pTalks->byStatus = 4;
        break;
    default:
        return;
    }
    UpdateActionButtons();
}

void CPopupStaffDetails::OnEndPopup(CXPopup* pPopup)
{
    CGamePopup::OnEndPopup(pPopup);
    // A new wage or an offer changes what he shows and what can be done.
    if (pPopup == m_pNegotiation.get())
        ShowStaff();
}
