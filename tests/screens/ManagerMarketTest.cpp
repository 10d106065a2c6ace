// The managers' job market: the clubs searching for a manager and the
// human's own applications, each row naming its club; a club outside the
// leagues proper cannot be opened.
#include "ScreenInPlay.h"

#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "screens/CClientStaffManagerMarket.h"
#include "shell/CGamePopup.h"
#include "shell/ScreenIDs.h"
#include "xframework/CXListBox.h"

#include <set>
#include <string>

namespace {

using Screen = CClientStaffManagerMarket;

class ManagerMarket : public ScreenInPlay {
protected:
    // A club of another country's top division, and the number of clubs
    // searching when the test starts.
    CClubDatabase* OtherClub()
    {
        for (CCountryDatabase* pCountry : Database()->GetCountries().Items<CCountryDatabase>())
            if (pCountry != m_pClub->m_pCountry && !pCountry->GetDivisions().IsEmpty()) {
                auto* pDivision = static_cast<CDivisionDatabase*>(pCountry->GetDivisions().GetHead()->pData);
                if (!pDivision->m_lstClubsByTable.IsEmpty())
                    return static_cast<CClubDatabase*>(pDivision->m_lstClubsByTable.GetHead()->pData);
            }
        return nullptr;
    }
    static std::set<uint32_t> ClubsOf(const CXListBox& list)
    {
        std::set<uint32_t> clubs;
        for (int i = 0; i < list.GetCount(); ++i)
            clubs.insert(static_cast<uint32_t>(list.GetItemData(i)));
        return clubs;
    }
};

TEST_F(ManagerMarket, ListsTheOpenPostsAndTheHumansApplications)
{
    CClubDatabase* pSearching = OtherClub();
    ASSERT_NE(pSearching, nullptr);
    pSearching->m_pCountry->AddClubReview(pSearching);
    std::set<uint32_t> expected;
    for (const CCountryDatabase* pCountry : Database()->GetCountries().Items<CCountryDatabase>())
        for (const auto& vacancy : pCountry->GetManagerVacancies())
            if (vacancy.pClub->m_pDivision->m_byKind != DIVISION_KIND_BOTTOM_OTHER)
                expected.insert(vacancy.pClub->GetID());
    ASSERT_TRUE(expected.count(pSearching->GetID()));
    ASSERT_NE(m_pHuman->ApplyForJob(pSearching), nullptr);

    OpenScreen(SCREEN_STAFF_MANAGER_MARKET);
    Screen& screen = GetStaffManagerMarketScreen();
    EXPECT_EQ(ClubsOf(*screen.GetJobMarket()), expected);
    ASSERT_EQ(screen.GetApplications()->GetCount(), 1);
    const std::string row = screen.GetApplications()->GetRow(0)->szText;
    EXPECT_NE(row.find(pSearching->GetName()), std::string::npos) << row;
    EXPECT_NE(row.find(pSearching->m_pDivision->GetName()), std::string::npos) << row;
    Shoot("manager_market.png");

    // A club outside the leagues proper cannot be opened: the message says so.
    pSearching->m_pDivision->m_byKind = 3;
    screen.GetApplications()->SetSelection(0);
    screen.OnDoubleClicked(Screen::ID_APPLICATIONS);
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_TRUE(pBox && pBox->IsOnStack());
    EXPECT_EQ(pBox->GetTextItem(), Screen::kClubDetailsMessage);
    pBox->OnClicked(CGamePopup::kOkButtonID);
    pSearching->m_pDivision->m_byKind = DIVISION_KIND_LEAGUE;
}

}  // namespace
