// The staff details popup over a game in play: opened from the staff market
// and the staff chart as a player opens it, what it shows of the staff
// member, the offer, withdrawal and agreement of a job offer, and sacking
// through the chart or without it, each only after yes.
#include "PopupInPlay.h"

#include "popups/CPopupStaffDetails.h"
#include "popups/CPopupStaffNegotiation.h"
#include "popups/PopupLook.h"
#include "popups/StaffRows.h"
#include "screens/CClientStaffMarket.h"
#include "screens/CClientStaffSelection.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CStaffDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXStatic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Details = CPopupStaffDetails;
using Buttons = std::vector<uint32_t>;

class StaffDetails : public PopupInPlay {
protected:
    Details& Popup() { return GetStaffDetailsPopup(); }
    std::string Text(uint32_t dwID)
    {
        auto* pLabel = dynamic_cast<CXStatic*>(Popup().FindControl(dwID));
        return pLabel ? pLabel->Text() : "(none)";
    }
    // The action buttons the popup shows.
    Buttons Shown()
    {
        Buttons shown;
        for (uint32_t dwID : {Details::ID_SACK, Details::ID_OFFER, Details::ID_WITHDRAW, Details::ID_NEW_WAGE,
                              Details::ID_AGREE})
            if (CXControl* pButton = Popup().FindControl(dwID); pButton && pButton->m_bVisible)
                shown.push_back(dwID);
        return shown;
    }
    // Presses an action button that is shown.
    void Press(uint32_t dwID)
    {
        CXControl* pButton = Popup().FindControl(dwID);
        ASSERT_TRUE(pButton && pButton->m_bVisible) << dwID;
        Popup().OnClicked(dwID);
    }
    // Answers the open message box; its text, or "(none)" without one.
    std::string Answer(uint32_t dwButton)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        if (!pBox || CXPopup::TopPopup() != pBox)
            return "(none)";
        const std::string text = pBox->GetTextItem() ? GetTableTextOrEmpty(95, pBox->GetTextItem()) : pBox->GetText();
        if (dwButton == 0) {
            // Escape.
            pBox->m_dwResultID = 0;
            pBox->Close();
        } else {
            pBox->OnClicked(dwButton);
        }
        m_game.Update();
        return text;
    }
};

TEST_F(StaffDetails, AFreeStaffMemberIsOfferedAJobWithdrawnAndAgreedTo)
{
    OpenScreen(SCREEN_STAFF_MARKET);
    auto* pMarket = dynamic_cast<CClientStaffMarket*>(g_pCurrentClient);
    ASSERT_NE(pMarket, nullptr);
    CXListBox* pList = pMarket->GetMarketList();
    ASSERT_GT(pList->GetCount(), 1);
    DoubleClickRow(pList, 1, 80);
    ASSERT_EQ(CXPopup::TopPopup(), &Popup());
    const CStaffDatabase* pStaff = Popup().GetStaff();
    ASSERT_NE(pStaff, nullptr);
    EXPECT_EQ(pStaff->GetId(), pList->GetItemData(1));
    ASSERT_EQ(pStaff->m_pClub, nullptr);
    Shoot("staff_details_free.png");

    // What it shows is his record.
    EXPECT_EQ(Text(Details::ID_TITLE), pStaff->GetShortName());
    EXPECT_EQ(Text(Details::ID_ROLE), StaffPostName(pStaff->m_byKind));
    EXPECT_EQ(Text(Details::ID_AGE), std::to_string(pStaff->GetAge()));
    EXPECT_EQ(Text(Details::ID_RATING), std::to_string(pStaff->m_byRating));
    EXPECT_EQ(Text(Details::ID_WAGE), FormatMoney(pStaff->m_dwWage, 0, 0, popup_look::WagePeriod(), 0, 1));
    EXPECT_EQ(Text(Details::ID_QUALIFICATIONS), StaffQualifications(*pStaff));
    ASSERT_NE(Popup().Report(), nullptr);
    ASSERT_GT(Popup().Report()->GetCount(), 0);
    char szReport[256] = {};
    Popup().Report()->GetString(0, szReport);
    EXPECT_NE(std::string(szReport).find(pStaff->GetShortName()), std::string::npos) << szReport;

    // Out of work and not asked yet: he can only be offered a job.
    EXPECT_EQ(Shown(), Buttons{Details::ID_OFFER});
    Press(Details::ID_OFFER);
    CPopupStaffNegotiation* pOffer = Popup().Negotiation();
    ASSERT_TRUE(pOffer && CXPopup::TopPopup() == pOffer);
    // Cancel sends nothing.
    pOffer->OnClicked(CGamePopup::kCancelButtonID);
    EXPECT_EQ(m_pHuman->FindStaffNegotiation(pStaff->GetId()), nullptr);
    EXPECT_EQ(Shown(), Buttons{Details::ID_OFFER});
    Press(Details::ID_OFFER);
    auto* pWage = dynamic_cast<CXEdit*>(pOffer->FindControl(CPopupStaffNegotiation::ID_WEEKLY_WAGE));
    ASSERT_NE(pWage, nullptr);
    pWage->SetText("%s", "900");
    pOffer->OnClicked(CGamePopup::kOkButtonID);
    ASSERT_EQ(CXPopup::TopPopup(), &Popup());
    STAFFNEGOTIATION* pTalks = m_pHuman->FindStaffNegotiation(pStaff->GetId());
    ASSERT_NE(pTalks, nullptr);
    EXPECT_EQ(pTalks->nOffer, 900 * 52);
    EXPECT_EQ(pTalks->byStatus, 0);
    EXPECT_EQ(Shown(), Buttons{Details::ID_WITHDRAW});

    // Withdrawing is asked first: no keeps the offer.
    Press(Details::ID_WITHDRAW);
    EXPECT_EQ(Answer(CGamePopup::kCancelButtonID), GetTableTextOrEmpty(95, Details::MESSAGE_WITHDRAW));
    EXPECT_EQ(m_pHuman->FindStaffNegotiation(pStaff->GetId()), pTalks);

    // Once he has accepted, the manager may agree; then the day's work
    // brings him to the club.
    pTalks->byStatus = 3;
    Popup().OnClicked(Details::ID_PREVIOUS);
    Popup().OnClicked(Details::ID_NEXT);
    ASSERT_EQ(Popup().GetStaff(), pStaff);
    EXPECT_EQ(Shown(), (Buttons{Details::ID_WITHDRAW, Details::ID_AGREE}));
    Press(Details::ID_AGREE);
    Answer(CGamePopup::kCancelButtonID);
    EXPECT_EQ(pTalks->byStatus, 3);
    Press(Details::ID_AGREE);
    Answer(CGamePopup::kOkButtonID);
    EXPECT_EQ(pTalks->byStatus, 4);
    EXPECT_TRUE(Shown().empty());
    Popup().OnClicked(CGamePopup::kOkButtonID);
    EXPECT_FALSE(Popup().IsOnStack());
    m_pHuman->UpdateStaffNegotiations();
    EXPECT_EQ(pStaff->m_pClub, m_pClub);
    EXPECT_EQ(pStaff->m_dwWage, 900u * 52);
}

TEST_F(StaffDetails, AnOfferIsWithdrawnAfterYesAndTheMarketShowsIt)
{
    OpenScreen(SCREEN_STAFF_MARKET);
    auto* pMarket = dynamic_cast<CClientStaffMarket*>(g_pCurrentClient);
    ASSERT_NE(pMarket, nullptr);
    const auto idStaff = static_cast<ID_STAFF>(pMarket->GetMarketList()->GetItemData(0));
    m_pHuman->AddStaffNegotiation(idStaff, 600 * 52);
    pMarket->FillNegotiations();
    DoubleClickRow(pMarket->GetNegotiationList(), 0, 80);
    ASSERT_EQ(CXPopup::TopPopup(), &Popup());
    ASSERT_EQ(Popup().GetStaff()->GetId(), idStaff);
    Press(Details::ID_WITHDRAW);
    Answer(CGamePopup::kOkButtonID);
    EXPECT_EQ(m_pHuman->FindStaffNegotiation(idStaff), nullptr);
    EXPECT_EQ(Shown(), Buttons{Details::ID_OFFER});
    Popup().OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(pMarket->GetNegotiationList()->GetCount(), 0);
}

TEST_F(StaffDetails, TheChartSacksItsChosenMemberAfterYesAndGoesOnWithTheNext)
{
    OpenScreen(SCREEN_STAFF_SELECTION);
    auto* pChart = dynamic_cast<CClientStaffSelection*>(g_pCurrentClient);
    ASSERT_NE(pChart, nullptr);
    CXListBoxEx* pAll = pChart->GetList(CClientStaffSelection::ID_ALL_STAFF);
    ASSERT_GT(pAll->GetCount(), 1);
    DoubleClickRow(pAll, 0, 80);
    ASSERT_EQ(CXPopup::TopPopup(), &Popup());
    CStaffDatabase* pStaff = Popup().GetStaff();
    ASSERT_EQ(pStaff, pChart->GetSelectedStaff());
    EXPECT_EQ(Shown(), (Buttons{Details::ID_SACK, Details::ID_NEW_WAGE}));
    Shoot("staff_details_own.png");

    // The chart pays a sixth of his yearly wage; the question names it.
    pStaff->m_dwWage = 6007;
    const int32_t nCost = 6007 / 6;
    EXPECT_EQ(Popup().SackCost(), nCost);
    const int32_t nBooked = m_pHuman->GetMonthEntry(78).nExpense;
    const ID_STAFF idStaff = pStaff->GetId();
    Press(Details::ID_SACK);
    const std::string question = Answer(CGamePopup::kCancelButtonID);
    EXPECT_NE(question.find(FormatMoney(nCost, 0, 0, MONEY_AS_STORED, 0, 1)), std::string::npos) << question;
    EXPECT_TRUE(m_pClub->HasStaff(idStaff));
    EXPECT_EQ(m_pHuman->GetMonthEntry(78).nExpense, nBooked);

    Press(Details::ID_SACK);
    Answer(CGamePopup::kOkButtonID);
    EXPECT_FALSE(m_pClub->HasStaff(idStaff));
    EXPECT_EQ(pStaff->m_pClub, nullptr);
    EXPECT_EQ(m_pHuman->GetMonthEntry(78).nExpense, nBooked + nCost);
    // The popup stays on the chart's next member.
    ASSERT_TRUE(Popup().IsOnStack());
    ASSERT_NE(Popup().GetStaff(), nullptr);
    EXPECT_EQ(Popup().GetStaff(), pChart->GetSelectedStaff());
    EXPECT_EQ(Text(Details::ID_TITLE), Popup().GetStaff()->GetShortName());

    // The last one sacked closes it.
    for (int nLeft = pAll->GetCount(); nLeft > 1; --nLeft) {
        ASSERT_NE(pChart->GetSelectedStaff(), nullptr);
        pChart->SackSelectedStaff();
    }
    ASSERT_EQ(pAll->GetCount(), 1);
    Popup().OnClicked(Details::ID_NEXT);
    ASSERT_EQ(Popup().GetStaff(), pChart->GetSelectedStaff());
    ASSERT_NE(Popup().GetStaff(), nullptr);
    Press(Details::ID_SACK);
    Answer(CGamePopup::kOkButtonID);
    EXPECT_FALSE(Popup().IsOnStack());
    EXPECT_TRUE(m_pClub->m_lstStaff.IsEmpty());
}

TEST_F(StaffDetails, WithoutTheChartBehindASackingPaysAMonthsWage)
{
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(m_pClub->m_lstStaff.GetHead()->pData));
    CStaffDatabase* pStaff = Database()->GetStaffFromID(idStaff);
    ASSERT_NE(pStaff, nullptr);
    pStaff->m_dwWage = 12011;
    ASSERT_TRUE(ShowStaffDetails(idStaff));
    const int32_t nBooked = m_pHuman->GetMonthEntry(78).nExpense;
    Press(Details::ID_SACK);
    Answer(0);
    EXPECT_TRUE(m_pClub->HasStaff(idStaff)) << "Escape changes nothing";
    Press(Details::ID_SACK);
    Answer(CGamePopup::kOkButtonID);
    EXPECT_FALSE(Popup().IsOnStack());
    EXPECT_FALSE(m_pClub->HasStaff(idStaff));
    EXPECT_EQ(m_pHuman->GetMonthEntry(78).nExpense, nBooked + 12011 / 12);
    EXPECT_NE(Database()->GetStaffPool().Find(reinterpret_cast<void*>(static_cast<uintptr_t>(idStaff))), nullptr);
}

}  // namespace
