// The youth details popup opened from the club players screen's youth view:
// its two pages, the arrows through the list, promoting a youth into the
// squad (refused while the squad is full), releasing one, and signing a
// youth without a club.
#include "ScreenInPlay.h"

#include "popups/CPopupYouthDetails.h"
#include "popups/GamePopups.h"
#include "screens/CClientClubPlayers.h"
#include "shell/CGamePopup.h"

#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXPopup.h"
#include "xframework/CXStatic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Screen = CClientClubPlayers;
using Popup = CPopupYouthDetails;

class YouthDetails : public ScreenInPlay {
protected:
    void SetUp() override
    {
        CreateGamePopups();
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_NE(m_pClub, nullptr);
        ASSERT_GE(m_pClub->m_lstYouths.GetCount(), 2);
    }
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        ScreenInPlay::TearDown();
    }
    // The youth view of the human's club, with the row of the youth chosen
    // double-clicked as a player does; the popup that opened.
    Popup* OpenOnRow(int nRow)
    {
        g_pNavigationBar->SetNextClient(&GetClubPlayersScreen(),
                                        Screen::MakeParameter(m_pClub->m_wClubId, Screen::MODE_YOUTH_OVERVIEW));
        m_game.Update();
        m_game.Update();
        auto* pScreen = dynamic_cast<Screen*>(g_pCurrentClient);
        if (!pScreen || !pScreen->GetList() || nRow >= pScreen->GetList()->GetCount())
            return nullptr;
        // The name cell of the row, in the list's own coordinates.
        CXListBox* pList = pScreen->GetList();
        pList->OnMouseMove(0, 40, nRow * 16 + 8);
        pList->OnLButtonDblClk(0, 40, nRow * 16 + 8);
        m_game.Update();
        return CXPopup::TopPopup() == &GetYouthDetailsPopup() ? &GetYouthDetailsPopup() : nullptr;
    }
    static std::string LabelText(Popup& popup, uint32_t dwID)
    {
        const auto* pLabel = dynamic_cast<const CXStatic*>(popup.FindControl(dwID));
        return pLabel ? pLabel->Text() : std::string();
    }
    // Presses a button of the popup and answers the question it asks.
    void PressAndAnswer(Popup& popup, uint32_t dwButton, int nQuestion, uint32_t dwAnswer)
    {
        popup.OnClicked(dwButton);
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_NE(pBox, nullptr);
        ASSERT_TRUE(pBox->IsOnStack());
        ASSERT_EQ(pBox->GetTextItem(), nQuestion);
        pBox->OnClicked(dwAnswer);
        m_game.Update();
    }
    uint32_t RowYouth(int nRow)
    {
        auto* pScreen = dynamic_cast<Screen*>(g_pCurrentClient);
        return pScreen ? static_cast<uint32_t>(pScreen->GetList()->GetItemData(nRow)) : 0;
    }
};

TEST_F(YouthDetails, TheYouthRowOpensHisDetailsAndSkillsAndTheArrowsStepThroughTheList)
{
    Popup* pPopup = OpenOnRow(0);
    ASSERT_NE(pPopup, nullptr);
    const CYouthDatabase* pYouth = pPopup->GetYouth();
    ASSERT_NE(pYouth, nullptr);
    EXPECT_EQ(pYouth->m_idPerson, RowYouth(0));
    EXPECT_EQ(pPopup->GetPage(), Popup::ID_PAGE_DETAILS);
    EXPECT_EQ(LabelText(*pPopup, Popup::ID_TITLE), pYouth->GetShortName());
    EXPECT_EQ(LabelText(*pPopup, Popup::ID_AGE), std::to_string(pYouth->GetAge()));
    EXPECT_EQ(LabelText(*pPopup, Popup::ID_RATING), std::to_string(pYouth->GetRatingForPosition(-1)));
    EXPECT_EQ(pPopup->List(Popup::ID_HISTORY)->GetCount(), pYouth->m_InjuryHistory.GetCount());
    EXPECT_GE(pPopup->List(Popup::ID_TRAINER_REPORT)->GetCount(), 1) << "a report, or the form's own word";
    // His own club's youth: promote and release, no signing.
    EXPECT_EQ(pPopup->GetActionButtons(), (std::vector<uint32_t>{Popup::ID_PROMOTE, Popup::ID_RELEASE}));
    Shoot("youth_details.png");

    pPopup->OnClicked(Popup::ID_PAGE_SKILLS);
    m_game.Update();
    EXPECT_EQ(pPopup->GetPage(), Popup::ID_PAGE_SKILLS);
    int anValues[Popup::kSkillLines];
    pPopup->GetSkillValues(anValues);
    // The bars show his own attributes: handling first, morale last.
    EXPECT_EQ(anValues[0], pYouth->m_awAttributes[0] / 100);
    EXPECT_EQ(anValues[9], pYouth->m_awAttributes[PLAYER_ATTRIBUTE_MORALE] / 100);
    const auto* pToggle = dynamic_cast<const CXButton*>(pPopup->FindControl(Popup::kToggleIDs[0]));
    ASSERT_NE(pToggle, nullptr);
    EXPECT_TRUE(pToggle->m_bVisible);
    Shoot("youth_skills.png");

    // The arrows move through the screen's list, and stop at its ends.
    pPopup->OnClicked(Popup::ID_NEXT);
    ASSERT_NE(pPopup->GetYouth(), nullptr);
    EXPECT_EQ(pPopup->GetYouth()->m_idPerson, RowYouth(1));
    EXPECT_EQ(pPopup->GetPage(), Popup::ID_PAGE_SKILLS);
    pPopup->OnClicked(Popup::ID_PREVIOUS);
    pPopup->OnClicked(Popup::ID_PREVIOUS);
    EXPECT_EQ(pPopup->GetYouth()->m_idPerson, RowYouth(0));
}

TEST_F(YouthDetails, PromotingAYouthMovesHimIntoTheSquadOnlyWhileItHasRoom)
{
    Popup* pPopup = OpenOnRow(0);
    ASSERT_NE(pPopup, nullptr);
    const uint32_t idYouth = pPopup->GetYouth()->m_idPerson;
    const int nYouths = m_pClub->m_lstYouths.GetCount();
    const int nPlayers = m_pClub->m_lstPlayers.GetCount();

    // Cancel changes nothing.
    PressAndAnswer(*pPopup, Popup::ID_PROMOTE, Popup::MESSAGE_PROMOTE, CGamePopup::kCancelButtonID);
    EXPECT_TRUE(pPopup->IsOnStack());
    EXPECT_NE(Database()->GetYouthFromID(idYouth), nullptr);

    // A full squad: refused with a message, the youth stays a youth.
    const int nHeld = m_pClub->GetPlayersHeld();
    std::vector<CPlayerDatabase*> added;
    for (int n = nHeld; n < CLUB_SQUAD_LIMIT; ++n) {
        auto* pYouth = new CYouthDatabase(m_pClub, n % 4);
        m_pClub->AddYouthPlayer(pYouth);
        added.push_back(m_pClub->PromoteYouth(pYouth));
    }
    ASSERT_EQ(m_pClub->GetPlayersHeld(), CLUB_SQUAD_LIMIT);
    PressAndAnswer(*pPopup, Popup::ID_PROMOTE, Popup::MESSAGE_SQUAD_FULL, CGamePopup::kOkButtonID);
    EXPECT_TRUE(pPopup->IsOnStack());
    EXPECT_NE(Database()->GetYouthFromID(idYouth), nullptr);
    EXPECT_EQ(m_pClub->GetPlayersHeld(), CLUB_SQUAD_LIMIT);

    // With room again: he is a squad player of the club under his own id.
    for (CPlayerDatabase* pPlayer : added) {
        pPlayer->m_dwFlags |= PLAYER_FLAG_RETIRING;
        ASSERT_TRUE(Database()->RetirePlayer(pPlayer));
    }
    ASSERT_LT(m_pClub->GetPlayersHeld(), CLUB_SQUAD_LIMIT);
    PressAndAnswer(*pPopup, Popup::ID_PROMOTE, Popup::MESSAGE_PROMOTE, CGamePopup::kOkButtonID);
    EXPECT_FALSE(pPopup->IsOnStack());
    EXPECT_EQ(Database()->GetYouthFromID(idYouth), nullptr);
    const CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(idYouth);
    ASSERT_NE(pPlayer, nullptr);
    EXPECT_EQ(pPlayer->m_pClub, m_pClub);
    EXPECT_EQ(m_pClub->m_lstYouths.GetCount(), nYouths - 1);
    EXPECT_EQ(m_pClub->m_lstPlayers.GetCount(), nPlayers + 1);
    // The screen behind no longer lists him among the youths.
    auto* pScreen = dynamic_cast<Screen*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    EXPECT_LT(pScreen->GetList()->FindItemData(idYouth), 0);
}

TEST_F(YouthDetails, ReleasingAYouthSendsHimToThePoolAndAPoolYouthCanBeSigned)
{
    Popup* pPopup = OpenOnRow(0);
    ASSERT_NE(pPopup, nullptr);
    CYouthDatabase* pYouth = pPopup->GetYouth();
    const uint32_t idYouth = pYouth->m_idPerson;
    const int nYouths = m_pClub->m_lstYouths.GetCount();
    PressAndAnswer(*pPopup, Popup::ID_RELEASE, Popup::MESSAGE_RELEASE, CGamePopup::kOkButtonID);
    EXPECT_FALSE(pPopup->IsOnStack());
    EXPECT_EQ(m_pClub->m_lstYouths.GetCount(), nYouths - 1);
    // Off the club; in the pool unless a full pool let him leave the game.
    if (CYouthDatabase* pReleased = Database()->GetYouthFromID(idYouth)) {
        EXPECT_EQ(pReleased->m_pClub, nullptr);
    }

    // A youth without a club offers signing alone, which makes him the human's.
    CYouthDatabase* pPoolYouth = Database()->GetFirstPoolYouth();
    ASSERT_NE(pPoolYouth, nullptr);
    ASSERT_TRUE(GetYouthDetailsPopup().Show(pPoolYouth));
    m_game.Update();
    EXPECT_EQ(pPopup->GetActionButtons(), (std::vector<uint32_t>{Popup::ID_SIGN}));
    pPopup->OnClicked(Popup::ID_PAGE_SKILLS);
    const auto* pToggle = dynamic_cast<const CXButton*>(pPopup->FindControl(Popup::kToggleIDs[0]));
    ASSERT_NE(pToggle, nullptr);
    EXPECT_EQ(std::string(pToggle->Caption()), "?%") << "a youth nobody scouted is not known";
    PressAndAnswer(*pPopup, Popup::ID_SIGN, Popup::MESSAGE_SIGN, CGamePopup::kOkButtonID);
    EXPECT_FALSE(pPopup->IsOnStack());
    EXPECT_EQ(pPoolYouth->m_pClub, m_pClub);
    EXPECT_NE(m_pClub->m_lstYouths.Find(pPoolYouth), nullptr);
}

TEST_F(YouthDetails, TheActionsFollowWhoseYouthHeIs)
{
    CYouthDatabase* pPoolYouth = Database()->GetFirstPoolYouth();
    ASSERT_NE(pPoolYouth, nullptr);
    CYouthDatabase* pOtherYouth = nullptr;
    for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        if (pClub != m_pClub && !pClub->m_lstYouths.IsEmpty())
            pOtherYouth = static_cast<CYouthDatabase*>(pClub->m_lstYouths.GetHead()->pData);
    ASSERT_NE(pOtherYouth, nullptr);
    const std::string surname = m_pHuman->GetSurname();
    const struct {
        CYouthDatabase* pYouth;
        const char* pszSurname;
        std::vector<uint32_t> buttons;
    } kCases[] = {
        {pPoolYouth, surname.c_str(), {Popup::ID_SIGN}},
        // The stored word lets the human treat a youth without a club as his.
        {pPoolYouth, "Vexil", {Popup::ID_PROMOTE, Popup::ID_RELEASE}},
        {pPoolYouth, "vexil", {Popup::ID_SIGN}},
        {pOtherYouth, surname.c_str(), {}},
    };
    for (const auto& c : kCases) {
        m_pHuman->SetNames(m_pHuman->GetFirstName(), c.pszSurname);
        ASSERT_TRUE(GetYouthDetailsPopup().Show(c.pYouth));
        m_game.Update();
        EXPECT_EQ(GetYouthDetailsPopup().GetActionButtons(), c.buttons) << c.pszSurname;
        GetYouthDetailsPopup().Close();
    }

    // Promoting a youth without a club takes him into the human's squad.
    m_pHuman->SetNames(m_pHuman->GetFirstName(), "Vexil");
    const uint32_t idYouth = pPoolYouth->m_idPerson;
    ASSERT_TRUE(GetYouthDetailsPopup().Show(pPoolYouth));
    m_game.Update();
    PressAndAnswer(GetYouthDetailsPopup(), Popup::ID_PROMOTE, Popup::MESSAGE_PROMOTE, CGamePopup::kOkButtonID);
    EXPECT_FALSE(GetYouthDetailsPopup().IsOnStack());
    const CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(idYouth);
    ASSERT_NE(pPlayer, nullptr);
    EXPECT_EQ(pPlayer->m_pClub, m_pClub);
}

}  // namespace
