#include "popups/CPopupTrainingCamp.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CSaveGame.h"
#include "season/CTrainingManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kCaptionItem = 91;
constexpr int kLabels = 13;
constexpr int kFirstChoiceSet = 46;
constexpr int kSecondChoiceSet = 47;
constexpr int kThirdChoiceSet = 48;
constexpr int kThirdChoices = 3;
constexpr int kWordsSet = 114;
constexpr int kNoDaysLeftWord = 90;
constexpr uint8_t kEventCampStart = 35;
constexpr uint8_t kEventCampEnd = 36;

// A booking's id: one past the highest of every human's camps, so that the
// country events of two camps never share one.
uint32_t NextCampID(const CDatabaseHandler& database)
{
    uint32_t dwNext = 1;
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot) {
        const CSaveGame* pHuman = database.GetHumanSlot(nSlot);
        LPXLISTNODE pPosition = nullptr;
        while (const TRAININGCAMP* pCamp = pHuman ? pHuman->GetTrainingManager().GetNextTrainingCamp(pPosition) : nullptr)
            dwNext = std::max(dwNext, pCamp->GetID() + 1);
    }
    return dwNext;
}

}  // namespace

CPopupTrainingCamp::CPopupTrainingCamp()
{
    m_wScreenID = kScreenID;
    SetPopupRect(360, 175, 240, 300);
}

std::vector<int> CPopupTrainingCamp::FirstChoicesFor(int nDays)
{
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(kRates.size()); ++i)
        if (nDays >= kRates[static_cast<size_t>(i)].nMinimumDays)
            rows.push_back(i);
    return rows;
}

int32_t CPopupTrainingCamp::Price(int nFirstChoice, int nSecondChoice, int nSquadSize, int nDays)
{
    const auto rate = [](int nRow) -> const RATE& {
        return kRates[static_cast<size_t>(std::clamp(nRow, 0, static_cast<int>(kRates.size()) - 1))];
    };
    const int64_t nPrice = static_cast<int64_t>(rate(nFirstChoice).nFirstRate + rate(nSecondChoice).nSecondRate) *
                           std::max(0, nSquadSize) * std::max(0, nDays);
    return static_cast<int32_t>(std::min<int64_t>(nPrice, INT32_MAX));
}

bool CPopupTrainingCamp::IsStartFree(const CDatabaseHandler& database, const CSaveGame& human, const CDate& start,
                                     int nDays)
{
    const CClubDatabase* pClub = human.GetClub();
    if (!pClub)
        return false;
    // The day the squad comes back counts too: it cannot travel on a match day.
    if (database.GetFixtureOpponent(pClub->m_wClubId, start, nDays, 1))
        return false;
    return !human.GetTrainingManager().FindClashingCamp(start, nDays, nullptr);
}

std::vector<CDate> CPopupTrainingCamp::StartDates(const CDatabaseHandler& database, const CSaveGame& human, int nDays,
                                                  bool* pbNoDaysLeft)
{
    std::vector<CDate> dates;
    const CDate first(database.GetGameDate().GetValue(), kNoticeDays);
    CDate seasonEnd;
    database.GetSeasonEndDate(seasonEnd);
    const int nCount = seasonEnd.DaysBetween(first) - nDays;
    if (pbNoDaysLeft)
        *pbNoDaysLeft = nCount < 1;
    for (int d = 0; d < nCount; ++d) {
        const CDate day(first.GetValue(), d);
        if (IsStartFree(database, human, day, nDays))
            dates.push_back(day);
    }
    return dates;
}

CSaveGame* CPopupTrainingCamp::Human() const { return popup_look::CurrentHuman(); }

const CClubDatabase* CPopupTrainingCamp::Club() const
{
    const CSaveGame* pHuman = Human();
    return pHuman ? pHuman->GetClub() : nullptr;
}

CXComboBox* CPopupTrainingCamp::Box(uint32_t dwID) const { return dynamic_cast<CXComboBox*>(FindControl(dwID)); }

int CPopupTrainingCamp::GetDays() const
{
    return static_cast<int>(popup_look::SelectedValue(Box(ID_LENGTH), static_cast<uint32_t>(kLengths[0])));
}

CDate CPopupTrainingCamp::GetStart() const { return CDate(popup_look::SelectedValue(Box(ID_START), 0)); }

void CPopupTrainingCamp::ConstructScreen()
{
    DrawCaptionFrame(kCaptionItem);
    popup_look::DrawLabels(m_pBackground, kLabels);
    popup_look::DrawClubColourBoxes(*this);
}

bool CPopupTrainingCamp::OnInitDialog()
{
    m_wScreenID = kScreenID;
    m_nBookedIndex = -1;
    m_bFilling = true;
    ConstructScreen();
    CGamePopup::OnInitDialog();
    popup_look::AddAnswerButtons(*this);
    AddCloseButton(true, false);
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 30, ID_START_BAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    using popup_look::AddDropDown;
    using popup_look::TextColumn;
    AddDropDown(*this, ID_LENGTH, 90, 40, 190, 104);
    AddDropDown(*this, ID_FIRST_CHOICE, 90, 74, 190, 122);
    AddDropDown(*this, ID_SECOND_CHOICE, 90, 108, 190, 156);
    AddDropDown(*this, ID_THIRD_CHOICE, 90, 142, 190, 174);
    AddDropDown(*this, ID_START, 90, 176, 190, 304, TextColumn(100), pBar);
    popup_look::AddValueLabel(*this, ID_END, 90, 210, 100);
    popup_look::AddValueLabel(*this, ID_PRICE, 90, 244, 100);
    ShowAllControls(true);
    // The scroll bar only serves the open date list.
    if (pBar)
        pBar->Show(false, false);

    FillLengths();
    FillFirstChoices();
    CXComboBox* pSecond = Box(ID_SECOND_CHOICE);
    for (int i = 0; i < static_cast<int>(kRates.size()); ++i)
        popup_look::AddRow(pSecond, kSecondChoiceSet, i, static_cast<uint32_t>(i));
    CXComboBox* pThird = Box(ID_THIRD_CHOICE);
    for (int i = 0; i < kThirdChoices; ++i)
        popup_look::AddRow(pThird, kThirdChoiceSet, i, static_cast<uint32_t>(i));
    for (CXComboBox* pBox : {pSecond, pThird})
        if (pBox && pBox->GetCount() > 0)
            pBox->SetCurSel(0);
    FillStartDates();
    m_bFilling = false;
    ShowEndDate();
    ShowPrice();
    return true;
}

void CPopupTrainingCamp::FillLengths()
{
    CXComboBox* pBox = Box(ID_LENGTH);
    if (!pBox)
        return;
    pBox->ResetContent();
    for (int nDays : kLengths) {
        char szText[16];
        std::snprintf(szText, sizeof szText, "%d", nDays);
        popup_look::AddTextRow(pBox, szText, static_cast<uint32_t>(nDays));
    }
    pBox->SetCurSel(0);
}

void CPopupTrainingCamp::FillFirstChoices()
{
    CXComboBox* pBox = Box(ID_FIRST_CHOICE);
    if (!pBox)
        return;
    // The kind chosen stays when the new length still allows it.
    const uint32_t dwKept = popup_look::SelectedValue(pBox, 0);
    pBox->ResetContent();
    for (int nRow : FirstChoicesFor(GetDays()))
        popup_look::AddRow(pBox, kFirstChoiceSet, nRow, static_cast<uint32_t>(nRow));
    if (!popup_look::SelectValue(pBox, dwKept) && pBox->GetCount() > 0)
        pBox->SetCurSel(0);
    pBox->Redraw();
}

void CPopupTrainingCamp::FillStartDates()
{
    CXComboBox* pBox = Box(ID_START);
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CSaveGame* pHuman = Human();
    if (!pBox)
        return;
    const uint32_t dwKept = popup_look::SelectedValue(pBox, 0);
    pBox->ResetContent();
    bool bNoDaysLeft = true;
    const std::vector<CDate> dates =
        pDatabase && pHuman && pHuman->GetClub() ? StartDates(*pDatabase, *pHuman, GetDays(), &bNoDaysLeft)
                                                 : std::vector<CDate>();
    for (const CDate& date : dates)
        popup_look::AddTextRow(pBox, FormatPackedDate(date.GetValue()), date.GetValue());
    if (bNoDaysLeft)
        popup_look::AddTextRow(pBox, GetTableTextOrEmpty(kWordsSet, kNoDaysLeftWord), 0);
    if (!popup_look::SelectValue(pBox, dwKept) && pBox->GetCount() > 0)
        pBox->SetCurSel(0);
    // Nothing to book without a free day.
    const bool bBookable = !dates.empty();
    pBox->m_bNoDropDown = bBookable ? 0 : 1;
    if (CXButton* pArrow = pBox->ArrowButton())
        pArrow->Enable(!bBookable);
    if (auto* pOk = dynamic_cast<CXButton*>(FindControl(kOkButtonID)))
        pOk->Enable(!bBookable);
    pBox->Redraw();
}

void CPopupTrainingCamp::ShowEndDate()
{
    auto* pEnd = dynamic_cast<CXStatic*>(FindControl(ID_END));
    if (!pEnd)
        return;
    const CDate start = GetStart();
    if (start.GetValue() == 0)
        pEnd->SetText("%s", GetTableTextOrEmpty(kWordsSet, kNoDaysLeftWord));
    else
        pEnd->SetText("%s", FormatPackedDate(CDate(start.GetValue(), GetDays()).GetValue()));
}

void CPopupTrainingCamp::ShowPrice()
{
    const CClubDatabase* pClub = Club();
    const int nSquad = pClub ? pClub->m_lstPlayers.GetCount() : 0;
    const int32_t nPrice = Price(static_cast<int>(popup_look::SelectedValue(Box(ID_FIRST_CHOICE), 0)),
                                 static_cast<int>(popup_look::SelectedValue(Box(ID_SECOND_CHOICE), 0)), nSquad,
                                 GetDays());
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_PRICE)), nPrice, MONEY_AS_STORED);
}

void CPopupTrainingCamp::OnSelChange(uint32_t dwID)
{
    if (m_bFilling)
        return;
    m_bFilling = true;
    switch (dwID) {
    case ID_LENGTH:
        FillFirstChoices();
        FillStartDates();
        ShowEndDate();
        ShowPrice();
        break;
    case ID_FIRST_CHOICE:
    case ID_SECOND_CHOICE:
        ShowPrice();
        break;
    case ID_START:
        ShowEndDate();
        break;
    default:
        CGamePopup::OnSelChange(dwID);
        break;
    }
    m_bFilling = false;
}

bool CPopupTrainingCamp::Book()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    CSaveGame* pHuman = Human();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    CCountryDatabase* pCountry = pClub ? pClub->m_pCountry : nullptr;
    const CDate start = GetStart();
    const int nDays = GetDays();
    if (!pDatabase || !pCountry || start.GetValue() == 0)
        return false;
    // The list was made when the popup opened; the day may have gone since.
    if (start < CDate(pDatabase->GetGameDate().GetValue(), kNoticeDays) ||
        !IsStartFree(*pDatabase, *pHuman, start, nDays)) {
        ShowGameMessageBox(CGameMessageBox::MODE_OK, kMessageDateTaken);
        return false;
    }
    auto* pCamp = new TRAININGCAMP;
    const uint32_t dwID = NextCampID(*pDatabase);
    const int nFirst = static_cast<int>(popup_look::SelectedValue(Box(ID_FIRST_CHOICE), 0));
    const int nSecond = static_cast<int>(popup_look::SelectedValue(Box(ID_SECOND_CHOICE), 0));
    pCamp->SetBooking(dwID, static_cast<uint32_t>(Price(nFirst, nSecond, pClub->m_lstPlayers.GetCount(), nDays)));
    pCamp->Start = start;
    pCamp->byKind = static_cast<uint8_t>(nFirst);
    pCamp->byFacility = static_cast<uint8_t>(nSecond);
    pCamp->byExtra = static_cast<uint8_t>(popup_look::SelectedValue(Box(ID_THIRD_CHOICE), 0));
    pCamp->byLength = static_cast<uint8_t>(nDays);
    CTrainingManager& training = pHuman->GetTrainingManager();
    training.AddTrainingCamp(pCamp);
    m_nBookedIndex = training.GetCampCount() - 1;
    pCountry->AddEvent(kEventCampStart, start, dwID);
    pCountry->AddEvent(kEventCampEnd, CDate(start.GetValue(), nDays), dwID);
    DebugLog(1, "[CPopupTrainingCamp::Book] Camp %u of %d days from %s booked", dwID, nDays,
             FormatPackedDate(start.GetValue()));
    return true;
}

void CPopupTrainingCamp::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID == kCancelButtonID) {
        Close();
        return;
    }
    if (dwID != kOkButtonID || !IsOnStack())
        return;
    if (!Book()) {
        // Kept open on the refusal's message.
        m_dwResultID = 0;
        return;
    }
    m_dwResultID = kOkButtonID;
    Close();
}
