#include "popups/CPopupPlayerDetails.h"

#include "popups/CPopupApproachClubBuy.h"
#include "popups/CPopupApproachClubLoan.h"
#include "popups/CPopupBosman.h"
#include "popups/CPopupDebugPlayer.h"
#include "popups/CPopupExtendLoan.h"
#include "popups/CPopupFreeTransfer.h"
#include "popups/CPopupInsurance.h"
#include "popups/CPopupNotForSale.h"
#include "popups/CPopupPlayerNegotiation.h"
#include "popups/CPopupSackPlayer.h"
#include "popups/CPopupSellPlayer.h"
#include "popups/OfferEdits.h"
#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CGameClient.h"
#include "shell/CTableText.h"

#include "common/DebugLog.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CEventsDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kWidth = 536, kHeight = 442;
constexpr int kLeft = 212, kTop = 104;
// The tabs stand in a keyed strip above the frame.
constexpr int kTabStrip = 24;
constexpr int kTabWidth = 84, kTabHeight = 26, kTabStep = 87;
constexpr int kButtonWidth = 84, kButtonHeight = 26, kButtonStep = 90, kButtonRowStep = 32, kButtonsPerRow = 5;
constexpr uint8_t kLoanReturnEvent = 26;
constexpr COLORREF kTitleColour = 0xADFDFF;
constexpr uint32_t kPrintButton = CGamePopup::kPrintButtonID;
constexpr uint32_t kHelpButton = 1057;

// {left, right, margin, colour, alignment, offset, heading, sort, hot}
// Dates, seasons and the "n (n)" counts get the room they need in the list
// font; the career columns stay centred in the popup.
const LISTCOLUMN kCareerColumns[] = {
    {0, 78, 4, 0, 0, 0, 690, LISTSORT_NUMBER, 0},    {78, 180, 4, 0, 0, 0, 938, LISTSORT_TEXT, 0},
    {180, 222, 0, 0, 6, 0, 970, LISTSORT_NUMBER, 0}, {222, 252, 0, 0, 6, 0, 715, LISTSORT_NUMBER, 0},
    {252, 282, 0, 0, 6, 0, 971, LISTSORT_NUMBER, 0}, {282, 312, 0, 0, 6, 0, 716, LISTSORT_NUMBER, 0},
    {312, 342, 0, 0, 6, 0, 717, LISTSORT_NUMBER, 0}, {342, 384, 0, 0, 6, 0, 693, LISTSORT_NUMBER, 0},
    {384, 414, 0, 0, 6, 0, 689, LISTSORT_NUMBER, 0}, {414, 444, 0, 0, 6, 0, 974, LISTSORT_NUMBER, 0},
    {444, 474, 0, 0, 6, 0, 977, LISTSORT_NUMBER, 0}, {474, 504, 0, 0, 6, 0, 718, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kInjuryColumns[] = {
    {0, 56, 4, 0, 2, 0, 708, LISTSORT_DATE, 0},   {56, 112, 4, 0, 2, 0, 709, LISTSORT_DATE, 0},
    {112, 236, 4, 0, 0, 0, 710, LISTSORT_TEXT, 0}, {236, 296, 4, 0, 0, 0, 712, LISTSORT_TEXT, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kSuspensionColumns[] = {
    {0, 56, 4, 0, 2, 0, 708, LISTSORT_DATE, 0},
    {56, 136, 4, 0, 0, 0, 710, LISTSORT_TEXT, 0},
    {136, 174, 4, 0, 2, 0, 711, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kOfferColumns[] = {
    {0, 56, 4, 0, 2, 0, 980, LISTSORT_DATE, 0},   {56, 180, 4, 0, 0, 0, 938, LISTSORT_TEXT, 0},
    {180, 234, 4, 0, 0, 0, 756, LISTSORT_TEXT, 0}, {234, 392, 4, 0, 0, 0, 755, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kTermsColumns[] = {
    {0, 140, 4, 0, 0, 0, 713, LISTSORT_NONE, 0},
    {140, 220, 10, 0, 2, 0, 969, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

const uint32_t kActionIDs[] = {727, 728, 729, 730, 731, 732, 733, 734, 735, 736, 737, 738,
                               739, 740, 741, 742, 743, 748, 749, 750, 751, 752, 753, 754};

using popup_look::SharedFace;

// The club he plays for: the borrowing club while he is out on loan.
const CClubDatabase* PlayingClub(const CPlayerDatabase& player, CDatabaseHandler* pDatabase)
{
    if (player.m_byTransferState == PLAYER_TRANSFER_ON_LOAN && player.m_wLoanClubId && pDatabase)
        if (const CClubDatabase* pBorrower = pDatabase->GetClubFromID(player.m_wLoanClubId))
            return pBorrower;
    return player.m_pClub;
}

// The country event that ends his loan, in his own or his club's country.
std::vector<CEventsDatabase*> LoanReturnEvents(const CPlayerDatabase& player)
{
    std::vector<CEventsDatabase*> events;
    for (CCountryDatabase* pCountry : {player.m_pCountry, player.m_pClub ? player.m_pClub->GetCountry() : nullptr}) {
        if (!pCountry || (!events.empty() && events.front()->GetCountry() == pCountry))
            continue;
        for (CEventsDatabase* pEvent : pCountry->GetEvents().Items<CEventsDatabase>())
            if (pEvent->GetType() == kLoanReturnEvent && pEvent->GetDataID() == player.m_idPerson)
                events.push_back(pEvent);
    }
    return events;
}

}  // namespace

const uint32_t CPopupPlayerDetails::kToggleIDs[kSkillLines] = {694, 695, 696, 697, 698, 699, 700, 701, 703, 722};

CPopupPlayerDetails& GetPlayerDetailsPopup()
{
    static CPopupPlayerDetails s_Popup;
    return s_Popup;
}

bool ShowPlayerDetails(uint32_t idPlayer, bool bBrowse)
{
    CDatabaseHandler* pDatabase = offer_edits::Database();
    CPlayerDatabase* pPlayer = pDatabase ? pDatabase->GetPlayerFromID(idPlayer) : nullptr;
    return pPlayer && GetPlayerDetailsPopup().Show(pPlayer, 0, bBrowse);
}

CPopupPlayerDetails::CPopupPlayerDetails()
{
    m_wScreenID = kScreenID;
    SetTabbedPopupRect(kLeft, kTop, kWidth, kHeight, kTabStrip);
}

CPopupPlayerDetails::~CPopupPlayerDetails() = default;

CDatabaseHandler* CPopupPlayerDetails::Database() { return offer_edits::Database(); }

CSaveGame* CPopupPlayerDetails::Human()
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

CClubDatabase* CPopupPlayerDetails::HumanClub()
{
    CSaveGame* pHuman = Human();
    return pHuman ? pHuman->GetClub() : nullptr;
}

bool CPopupPlayerDetails::IsOwnPlayer() const
{
    const CClubDatabase* pHumanClub = HumanClub();
    return m_pPlayer && pHumanClub && PlayingClub(*m_pPlayer, Database()) == pHumanClub;
}

void CPopupPlayerDetails::ResolvePlayer()
{
    CDatabaseHandler* pDatabase = Database();
    if (CPlayerDatabase* pPlayer = pDatabase && m_idPlayer ? pDatabase->GetPlayerFromID(m_idPlayer) : nullptr)
        m_pPlayer = pPlayer;
}

bool CPopupPlayerDetails::IsRetired() const { return m_pPlayer && m_pPlayer->IsRetired(); }

CXGraph* CPopupPlayerDetails::Graph() const
{
    return dynamic_cast<CXGraph*>(const_cast<CPopupPlayerDetails*>(this)->FindControl(ID_GRAPH));
}

CXListBox* CPopupPlayerDetails::List(uint32_t dwID) const
{
    return dynamic_cast<CXListBox*>(const_cast<CPopupPlayerDetails*>(this)->FindControl(dwID));
}

CXPopup* CPopupPlayerDetails::ChildPopup(uint32_t dwActionID) const
{
    switch (dwActionID) {
    case ID_APPROACH_BUY:
        return m_pApproachBuy.get();
    case ID_TALK:
    case ID_TALK_FREE:
        return m_pNegotiation.get();
    case ID_NOT_FOR_SALE:
        return m_pNotForSale.get();
    case ID_INSURANCE:
        return m_pInsurance.get();
    case ID_APPROACH_LOAN:
        return m_pApproachLoan.get();
    case ID_EXTEND_LOAN:
        return m_pExtendLoan.get();
    case ID_SELL:
        return m_pSellPlayer.get();
    case ID_FREE_TRANSFER:
        return m_pFreeTransfer.get();
    default:
        return nullptr;
    }
}

bool CPopupPlayerDetails::Show(CPlayerDatabase* pPlayer, int nStartPage, bool bBrowse)
{
    // An open popup keeps the player it shows.
    if (!pPlayer || IsOnStack())
        return false;
    m_pPlayer = pPlayer;
    m_idPlayer = pPlayer->m_idPerson;
    m_nStartPage = static_cast<uint8_t>(nStartPage);
    m_bBrowse = bBrowse;
    return Open();
}

void CPopupPlayerDetails::ConstructScreen() { popup_look::DrawFrameBelowTabs(*this, kTabStrip); }

bool CPopupPlayerDetails::OnInitDialog()
{
    ConstructScreen();
    CGamePopup::OnInitDialog();
    m_pNegotiation = std::make_unique<CPopupPlayerNegotiation>();
    m_pInsurance = std::make_unique<CPopupInsurance>();
    m_pApproachBuy = std::make_unique<CPopupApproachClubBuy>();
    m_pApproachLoan = std::make_unique<CPopupApproachClubLoan>();
    m_pBosman = std::make_unique<CPopupBosman>();
    m_pExtendLoan = std::make_unique<CPopupExtendLoan>();
    m_pFreeTransfer = std::make_unique<CPopupFreeTransfer>();
    m_pNotForSale = std::make_unique<CPopupNotForSale>();
    m_pSackPlayer = std::make_unique<CPopupSackPlayer>();
    m_pSellPlayer = std::make_unique<CPopupSellPlayer>();
    m_pDebugPlayer = std::make_unique<CPopupDebugPlayer>();
    m_nButtonRow = 1;
    m_nButtonColumn = 0;
    AddControls();
    ShowAllControls(true);
    popup_look::LoadReports(m_PlayerReport, m_TrainerReport);
    m_dwHistoryFilter = 7;
    m_pClub = m_pPlayer ? m_pPlayer->m_pClub : nullptr;
    SetPage(static_cast<uint32_t>(m_nStartPage));
    if (m_byStartupCommand)
        DoStartupCommand(m_byStartupCommand);
    return true;
}

void CPopupPlayerDetails::AddControls()
{
    CXSurface* pTabFace = SharedFace("btnTog2.bmp");
    for (int i = 0; i < PAGE_COUNT; ++i)
        if (auto* pTab = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, kWidth - PAGE_COUNT * kTabStep + i * kTabStep,
                                                               0, kTabWidth, kTabHeight, ID_TAB_GENERAL + i, nullptr))) {
            pTab->m_hFont = g_hSmallFont;
            pTab->SetTextID(pTabFace, 0);
        }
    CXSurface* pButtonFace = SharedFace("btnTog.bmp");
    for (uint32_t dwID : kActionIDs)
        if (auto* pButton = static_cast<CXButton*>(
                AddControlXYWH(XCONTROL_BUTTON, 8, kHeight - 32, kButtonWidth, kButtonHeight, dwID, nullptr))) {
            pButton->m_hFont = g_hSmallFont;
            pButton->SetTextID(pButtonFace, 0);
        }
    AddConfirmButton(kOkButtonID, CancelX());
    popup_look::AddDetailsTitle(*this, ID_TITLE, ID_POSITION, kWidth, kTitleColour);
    AddCloseButton(true, true);
    // The arrows and the print look come with the popup's own small faces.
    popup_look::AddBrowseArrows(*this, ID_PREVIOUS, ID_NEXT, popup_look::LoadSmallFacesWithPrint(*this, m_pSmallFaces));
    for (uint32_t dwID : {ID_PREVIOUS, ID_NEXT})
        if (auto* pArrow = dynamic_cast<CXButton*>(FindControl(dwID)); pArrow && !m_bBrowse)
            pArrow->Enable(true);
    // The skills graph inside its shaded area.
    AddControl(XCONTROL_GRAPH, 45, 70, kWidth - 45, 200, ID_GRAPH, nullptr);
    // The lists and their scroll bars (one pair of arrow ids a bar).
    popup_look::AddDetailsList(*this, ID_SCOUT_REPORT, 903, 889, 276, 76, 512, 220, popup_look::TextColumn(236),
                               false, false);
    popup_look::AddDetailsList(*this, ID_TRAINER_REPORT, 904, 891, 276, 240, 512, 368, popup_look::TextColumn(236),
                               false, false);
    popup_look::AddDetailsList(*this, ID_CAREER, 902, 887, 0, 90, kWidth, 202, kCareerColumns, true, false);
    popup_look::AddDetailsList(*this, ID_INJURIES, 901, 885, 8, 242, 304, 354, kInjuryColumns, false, true);
    popup_look::AddDetailsList(*this, ID_SUSPENSIONS, 908, 899, 334, 242, 508, 354, kSuspensionColumns, false, true);
    popup_look::AddDetailsList(*this, ID_OFFERS, 905, 893, 8, 136, 400, 232, kOfferColumns, false, true);
    popup_look::AddDetailsList(*this, ID_TERMS, 906, 895, 8, 252, 228, 364, kTermsColumns, false, false);
    popup_look::AddDetailsList(*this, ID_CONTRACT, 907, 897, 290, 252, 510, 364, kTermsColumns, false, false);
    if (CXListBox* pOffers = List(ID_OFFERS))
        pOffers->m_byStyle |= LISTSTYLE_NOTIFY_SELECTION;
    CXSurface* pToggleFace = SharedFace("btnRate.bmp");
    static const struct {
        int x, y;
    } kToggles[kSkillLines] = {{224, 250}, {224, 275}, {224, 300}, {224, 325}, {224, 350},
                               {484, 250}, {484, 275}, {484, 300}, {484, 325}, {484, 350}};
    for (int i = 0; i < kSkillLines; ++i)
        if (auto* pToggle = static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, kToggles[i].x, kToggles[i].y - 2,
                                                                  44, 20, kToggleIDs[i], nullptr))) {
            pToggle->m_hFont = g_hSmallFont;
            pToggle->SetToggleTextID(pToggleFace, 20 * i, Graph(), i, 0);
            pToggle->SetChecked(1);
        }
    popup_look::AddPersonValues(*this, {ID_BIRTH, ID_AGE, ID_NATIONALITY, ID_ROLE, ID_MORALE, ID_RATING});
    popup_look::AddValueLabel(*this, ID_VALUE, 90, 226, 120);
    popup_look::AddValueLabel(*this, ID_LISTING, 90, 260, 150);
    popup_look::AddValueLabel(*this, ID_INJURY, 90, 294, 150);
    popup_look::AddValueLabel(*this, ID_SUSPENSION, 90, 328, 150);
    popup_look::AddValueLabel(*this, ID_CONTRACT_VALUE, 90, 76, 90);
    popup_look::AddValueLabel(*this, ID_ASKING_PRICE, 190, 76, 90);
    popup_look::AddValueLabel(*this, ID_INSURANCE_KINDS, 330, 76, 110);
    popup_look::AddValueLabel(*this, ID_INSURANCE_PREMIUM, 442, 76, 80);
}

void CPopupPlayerDetails::OnDestroy()
{
    FreeOfferRows();
    m_PlayerReport.Free();
    m_TrainerReport.Free();
    m_pBarMarker.reset();
    m_pSmallFaces.reset();
    m_pPositionIcon.reset();
    m_pRoleIcon.reset();
    m_pOfferToConfirm = nullptr;
    m_pLoanOfferToConfirm = nullptr;
    CGamePopup::OnDestroy();
    m_pNegotiation.reset();
    m_pInsurance.reset();
    m_pApproachBuy.reset();
    m_pApproachLoan.reset();
    m_pBosman.reset();
    m_pExtendLoan.reset();
    m_pFreeTransfer.reset();
    m_pNotForSale.reset();
    m_pSackPlayer.reset();
    m_pSellPlayer.reset();
    m_pDebugPlayer.reset();
}

void CPopupPlayerDetails::DoStartupCommand(uint8_t byCommand)
{
    if (byCommand == 1 && m_pInsurance && m_pPlayer) {
        m_pInsurance->SetPlayer(m_pPlayer);
        m_pInsurance->Open();
    } else {
        DebugLog(0, "[CPopupPlayerDetails::DoStartupCommand] Unhandled Startup Command!");
    }
    m_byStartupCommand = 0;
}

// ---- pages ----

void CPopupPlayerDetails::SetPage(uint32_t dwPage)
{
    int nPage = -1;
    if (dwPage < PAGE_COUNT)
        nPage = static_cast<int>(dwPage);
    else if (dwPage >= ID_TAB_GENERAL && dwPage <= ID_TAB_CONTRACT)
        nPage = static_cast<int>(dwPage - ID_TAB_GENERAL);
    ResolvePlayer();
    if (nPage < 0 || !m_pPlayer)
        return;
    m_nPage = nPage;
    m_dwCurrentTabID = ID_TAB_GENERAL + static_cast<uint32_t>(nPage);
    if (IsRetired() || nPage == PAGE_GENERAL) {
        ShowGeneralPage();
        return;
    }
    switch (nPage) {
    case PAGE_SKILLS:
        SetUpGraph();
        ShowSkillsPage();
        break;
    case PAGE_HISTORY:
        ShowHistoryPage();
        break;
    default:
        ShowContractPage();
        break;
    }
}

void CPopupPlayerDetails::BeginPage(int nPage)
{
    ShowAllControls(false);
    ConstructScreen();
    offer_edits::DrawClubColours(m_pBackground, m_pPlayer);
    // The marked tab is the page's own.
    for (int i = 0; i < PAGE_COUNT; ++i)
        if (auto* pTab = dynamic_cast<CXButton*>(FindControl(ID_TAB_GENERAL + i)))
            pTab->SetPressed(i == nPage ? 1 : 0);
}

void CPopupPlayerDetails::EndPage(const uint32_t* pIDs, size_t nCount)
{
    RestoreBackground(0, 0, Width(), Height());
    for (int i = 0; i < PAGE_COUNT; ++i)
        if (CXControl* pTab = FindControl(ID_TAB_GENERAL + i))
            pTab->Show(true, true);
    const uint32_t common[] = {kOkButtonID, ID_NEXT, ID_PREVIOUS, ID_TITLE, ID_POSITION, kHelpButton, kPrintButton};
    for (uint32_t dwID : common)
        if (CXControl* pControl = FindControl(dwID))
            pControl->Show(true, true);
    for (size_t i = 0; i < nCount; ++i)
        if (CXControl* pControl = FindControl(pIDs[i]))
            pControl->Show(true, true);
    for (uint32_t dwID : {ID_PREVIOUS, ID_NEXT})
        if (auto* pArrow = dynamic_cast<CXButton*>(FindControl(dwID)))
            pArrow->Enable(!m_bBrowse);
    // Only the skills graph prints.
    if (auto* pPrint = dynamic_cast<CXButton*>(FindControl(kPrintButton)))
        pPrint->Enable(m_nPage != PAGE_SKILLS || IsRetired());
    DrawTitle();
    UpdateActionButtons();
}

void CPopupPlayerDetails::DrawTitle()
{
    if (!m_pPlayer)
        return;
    if (auto* pTitle = dynamic_cast<CXStatic*>(FindControl(ID_TITLE))) {
        if (m_pPlayer->m_bySquadNumber)
            pTitle->SetText("(%d) %s", m_pPlayer->m_bySquadNumber, m_pPlayer->GetShortName());
        else
            pTitle->SetText("%s", m_pPlayer->GetShortName());
    }
    popup_look::ShowPosition(dynamic_cast<CXStatic*>(FindControl(ID_POSITION)), m_pPlayer->m_byPosition,
                             m_pPositionIcon);
}

// ---- actions ----

std::vector<uint32_t> CPopupPlayerDetails::GetActionButtons() const
{
    std::vector<uint32_t> buttons;
    CDatabaseHandler* pDatabase = Database();
    CSaveGame* pHuman = Human();
    const CClubDatabase* pHumanClub = HumanClub();
    if (!pDatabase || !pHumanClub || !m_pPlayer || IsRetired())
        return buttons;
    // An agreed move waiting for its day leaves nothing to do.
    if (pDatabase->IsPendingTransfer(m_pPlayer->m_idPerson))
        return buttons;
    const ID_CLUB idHuman = pHumanClub->GetID();
    const CBuyOfferDatabase* pBuy = pDatabase->GetBuyOffer(m_pPlayer->m_idPerson, idHuman);
    const CLoanOfferDatabase* pLoan = pDatabase->GetLoanOffer(m_pPlayer->m_idPerson, idHuman);
    const uint8_t byState = m_pPlayer->m_byTransferState;
    const bool bNotForSale = (m_pPlayer->m_dwFlags & PLAYER_FLAG_NOT_FOR_SALE) != 0;
    if (IsOwnPlayer()) {
        const bool bMayRenegotiate =
            !pBuy || ((pBuy->GetFlags() & BUYOFFER_PLAYER_ANSWERED) && pBuy->GetPlayerAnswer() != 0);
        auto contractButtons = [&](uint32_t dwFirst) {
            buttons.push_back(dwFirst);
            if (bMayRenegotiate)
                buttons.push_back(ID_TALK);
            buttons.push_back(ID_INSURANCE);
            buttons.push_back(bNotForSale ? ID_FOR_SALE_AGAIN : ID_NOT_FOR_SALE);
        };
        switch (byState) {
        case 0:
            buttons = {ID_SELL, ID_OFFER_ON_LOAN};
            if (bMayRenegotiate)
                buttons.push_back(ID_TALK);
            buttons.push_back(ID_INSURANCE);
            buttons.push_back(bNotForSale ? ID_FOR_SALE_AGAIN : ID_NOT_FOR_SALE);
            buttons.push_back(ID_FREE_TRANSFER);
            break;
        case 1:
            contractButtons(ID_OFF_TRANSFER_LIST);
            break;
        case 2:
            contractButtons(ID_OFF_LOAN_LIST);
            break;
        case PLAYER_TRANSFER_ON_LOAN:
            buttons.push_back(pLoan ? ID_WITHDRAW_LOAN : ID_EXTEND_LOAN);
            break;
        case PLAYER_TRANSFER_LEAVING:
            if (bMayRenegotiate)
                buttons.push_back(ID_TALK_FREE);
            break;
        default:
            break;
        }
        return buttons;
    }
    // Out on loan from the human's club: he can only be called back.
    if (byState == PLAYER_TRANSFER_ON_LOAN && m_pPlayer->m_pClub == pHumanClub) {
        if (LoanOfferCanRecall())
            buttons.push_back(ID_RECALL);
        return buttons;
    }
    buttons.push_back(pHuman && pHuman->IsShortlisted(m_pPlayer->m_idPerson) ? ID_SHORTLIST_REMOVE
                                                                             : ID_SHORTLIST_ADD);
    if (byState == PLAYER_TRANSFER_LEAVING && !pBuy) {
        buttons.push_back(ID_TALK_FREE);
        return buttons;
    }
    if (!pBuy && !pLoan) {
        buttons.push_back(ID_APPROACH_BUY);
        buttons.push_back(ID_APPROACH_LOAN);
        return buttons;
    }
    if (!pBuy) {
        buttons.push_back(ID_WITHDRAW_LOAN);
        const uint16_t wFlags = pLoan->GetFlags();
        if (((wFlags & LOANOFFER_ANSWERED) && pLoan->GetClubAnswer() != 0) ||
            ((wFlags & LOANOFFER_PLAYER_ANSWERED) && pLoan->GetPlayerAnswer() != 0))
            buttons.push_back(ID_APPROACH_LOAN);
        return buttons;
    }
    buttons.push_back(ID_WITHDRAW_BUY);
    const uint16_t wFlags = pBuy->GetFlags();
    if (wFlags & BUYOFFER_ANSWERED) {
        if (pBuy->GetClubAnswer() != 0)
            buttons.push_back(ID_APPROACH_BUY);
        else if (!(wFlags & BUYOFFER_CONTRACT_PROPOSED) ||
                 ((wFlags & BUYOFFER_PLAYER_ANSWERED) && pBuy->GetPlayerAnswer() != 0))
            buttons.push_back(ID_TALK_FREE);
    }
    return buttons;
}

bool CPopupPlayerDetails::LoanOfferCanRecall() const
{
    CDatabaseHandler* pDatabase = Database();
    if (!m_pPlayer || !pDatabase)
        return false;
    for (const CEventsDatabase* pEvent : LoanReturnEvents(*m_pPlayer))
        if (pDatabase->GetGameDate() < pEvent->GetDate())
            return true;
    return false;
}

void CPopupPlayerDetails::PlaceButton(uint32_t dwID)
{
    auto* pButton = dynamic_cast<CXButton*>(FindControl(dwID));
    if (!pButton)
        return;
    pButton->Move(8 + kButtonStep * m_nButtonColumn, kHeight - kButtonRowStep * m_nButtonRow, kButtonWidth,
                  kButtonHeight, false);
    pButton->Show(true, true);
    if (++m_nButtonColumn >= kButtonsPerRow) {
        m_nButtonColumn = 0;
        ++m_nButtonRow;
    }
}

void CPopupPlayerDetails::UpdateActionButtons()
{
    for (uint32_t dwID : kActionIDs)
        if (CXControl* pButton = FindControl(dwID))
            pButton->Show(false, true);
    m_nButtonRow = 1;
    m_nButtonColumn = 0;
    for (uint32_t dwID : GetActionButtons())
        PlaceButton(dwID);
    if (m_nPage == PAGE_CONTRACT && !IsRetired()) {
        UpdateOfferAnswerButtons();
        UpdateConfirmButtons();
    }
}

void CPopupPlayerDetails::Browse(bool bNext)
{
    if (!m_bBrowse)
        return;
    CGameClient* pOwner = Owner();
    if (!pOwner)
        return;
    const uint32_t idPlayer = bNext ? pOwner->GetNextListPlayer() : pOwner->GetPreviousListPlayer();
    CDatabaseHandler* pDatabase = Database();
    CPlayerDatabase* pPlayer = idPlayer && pDatabase ? pDatabase->GetPlayerFromID(idPlayer) : nullptr;
    if (!pPlayer)
        return;
    m_pPlayer = pPlayer;
    m_idPlayer = pPlayer->m_idPerson;
    m_pClub = pPlayer->m_pClub;
    Redraw();
}

CGameClient* CPopupPlayerDetails::Owner() const
{
    // The owner is the screen below; a popup between them has no list.
    if (CXPopup::StackEntry(0) != this)
        return nullptr;
    return dynamic_cast<CGameClient*>(g_pCurrentClient);
}

void CPopupPlayerDetails::AfterChange()
{
    Redraw();
    // The screen's row of the player is drawn again.
    if (CGameClient* pOwner = Owner())
        pOwner->GetCurrentListPlayer();
}

void CPopupPlayerDetails::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID >= ID_TAB_GENERAL && dwID <= ID_TAB_CONTRACT) {
        SetPage(dwID);
        return;
    }
    ResolvePlayer();
    if (!m_pPlayer)
        return;
    CDatabaseHandler* pDatabase = Database();
    const CClubDatabase* pHumanClub = HumanClub();
    const ID_CLUB idHuman = pHumanClub ? pHumanClub->GetID() : 0;
    switch (dwID) {
    case kOkButtonID:
        m_dwResultID = kOkButtonID;
        Close();
        break;
    case ID_PREVIOUS:
    case ID_NEXT:
        Browse(dwID == ID_NEXT);
        break;
    case ID_APPROACH_BUY:
        m_pApproachBuy->Show(m_pPlayer);
        break;
    case ID_TALK:
    case ID_TALK_FREE:
        m_pNegotiation->Show(m_pPlayer);
        break;
    case ID_APPROACH_LOAN:
        m_pApproachLoan->Show(m_pPlayer);
        break;
    case ID_NOT_FOR_SALE:
        m_pNotForSale->SetPlayer(m_pPlayer);
        m_pNotForSale->Open();
        break;
    case ID_INSURANCE:
        m_pInsurance->SetPlayer(m_pPlayer);
        m_pInsurance->Open();
        break;
    case ID_EXTEND_LOAN:
        m_pExtendLoan->SetPlayer(m_pPlayer);
        m_pExtendLoan->Open();
        break;
    case ID_SELL:
        m_pSellPlayer->SetPlayer(m_pPlayer);
        m_pSellPlayer->Open();
        break;
    case ID_FREE_TRANSFER:
        m_pFreeTransfer->SetPlayer(m_pPlayer);
        m_pFreeTransfer->Open();
        break;
    case ID_FOR_SALE_AGAIN:
        m_pPlayer->m_dwFlags &= ~PLAYER_FLAG_NOT_FOR_SALE;
        Redraw();
        break;
    case ID_WITHDRAW_BUY:
        if (pDatabase)
            pDatabase->WithdrawBuyOffer(m_pPlayer->m_idPerson, idHuman, true);
        Redraw();
        break;
    case ID_WITHDRAW_LOAN:
        if (pDatabase)
            pDatabase->WithdrawLoanOffer(m_pPlayer->m_idPerson, idHuman, true);
        Redraw();
        break;
    case ID_SHORTLIST_ADD:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_ADD_TO_SHORTLIST);
        break;
    case ID_SHORTLIST_REMOVE:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_REMOVE_FROM_SHORTLIST);
        break;
    case ID_OFFER_ON_LOAN:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_OFFER_ON_LOAN);
        break;
    case ID_OFF_LOAN_LIST:
    case ID_OFF_TRANSFER_LIST:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_TAKE_OFF_LIST);
        break;
    case ID_CONFIRM_TRANSFER:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_CONFIRM_TRANSFER);
        break;
    case ID_CONFIRM_LOAN:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_CONFIRM_LOAN);
        break;
    case ID_RECALL:
        ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, MESSAGE_RECALL);
        break;
    case ID_ACCEPT_BUY:
    case ID_ACCEPT_LOAN:
    case ID_REJECT_BUY:
    case ID_REJECT_LOAN:
        AnswerOffer(dwID);
        break;
    default:
        break;
    }
}

void CPopupPlayerDetails::OnEndMessageBoxPopup()
{
    CGamePopup::OnEndMessageBoxPopup();
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!pBox || pBox->m_dwResultID != kOkButtonID || !m_pPlayer)
        return;
    CDatabaseHandler* pDatabase = Database();
    CSaveGame* pHuman = Human();
    switch (pBox->GetTextItem()) {
    case MESSAGE_ADD_TO_SHORTLIST:
        if (pHuman)
            pHuman->AddToShortlist(m_pPlayer);
        break;
    case MESSAGE_REMOVE_FROM_SHORTLIST:
        if (pHuman)
            pHuman->RemoveFromShortlist(m_pPlayer);
        break;
    case MESSAGE_TAKE_OFF_LIST:
        if (!pDatabase)
            break;
        if (m_pPlayer->m_byTransferState == 1 || m_pPlayer->m_byTransferState == PLAYER_TRANSFER_LEAVING)
            pDatabase->RemovePlayerFromListMarket(m_pPlayer, 0, 2, 4);
        else if (m_pPlayer->m_byTransferState == 2)
            pDatabase->RemovePlayerFromLoanMarket(m_pPlayer, 0, 2, 5);
        break;
    case MESSAGE_OFFER_ON_LOAN:
        if (pDatabase)
            pDatabase->AddPlayerToLoanMarket(m_pPlayer, 65535);
        break;
    case MESSAGE_CONFIRM_TRANSFER:
        Confirm(false);
        break;
    case MESSAGE_CONFIRM_LOAN:
        Confirm(true);
        break;
    case MESSAGE_RECALL:
        Recall();
        break;
    default:
        return;
    }
    AfterChange();
}

void CPopupPlayerDetails::Recall()
{
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase || !m_pPlayer)
        return;
    // The loan ends today: its return event moves to this day.
    for (CEventsDatabase* pEvent : LoanReturnEvents(*m_pPlayer)) {
        pEvent->SetDate(pDatabase->GetGameDate());
        if (CCountryDatabase* pCountry = pEvent->GetCountry())
            pCountry->SortEvents();
    }
}

void CPopupPlayerDetails::OnEndPopup(CXPopup* pPopup)
{
    KillToolTip();
    CGamePopup::OnEndPopup(pPopup);
    if (!pPopup || pPopup->m_dwResultID != kOkButtonID)
        return;
    if (pPopup == m_pInsurance.get()) {
        if (m_nPage == PAGE_CONTRACT)
            UpdateInsurance();
        return;
    }
    const CXPopup* pRedrawing[] = {m_pApproachBuy.get(), m_pApproachLoan.get(), m_pNegotiation.get(),
                                   m_pBosman.get(),      m_pNotForSale.get(),   m_pSellPlayer.get(),
                                   m_pFreeTransfer.get(), m_pExtendLoan.get()};
    if (std::find(std::begin(pRedrawing), std::end(pRedrawing), pPopup) != std::end(pRedrawing))
        AfterChange();
}

void CPopupPlayerDetails::OnPrint()
{
    if (m_nPage == PAGE_SKILLS && !IsRetired())
        PrintControl(ID_GRAPH);
}

void CPopupPlayerDetails::OnSelChange(uint32_t dwID)
{
    if (dwID != ID_OFFERS || m_nPage != PAGE_CONTRACT)
        return;
    FillTermsAndContractLists();
    UpdateActionButtons();
}
