// The mail archive over a running game: the letters the day filed, each
// shown in full and read on opening, deleted one by one or all at once after
// the question, and the way to what a letter is about.
#include "ScreenGame.h"

#include "database/CManagerDatabase.h"
#include "screens/CClientArchivesMail.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"
#include "shell/CGameDay.h"
#include "shell/CGamePopup.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"

namespace {

constexpr uint16_t kSquadTooThin = 131;   // the chairman's, leading to the transfer market
constexpr uint16_t kLeaguePayment = 242;  // the accountant's, leading nowhere

class MailArchive : public ScreenGame {
protected:
    CClientArchivesMail& Mail() { return GetArchivesMailScreen(); }

    void FileLetters()
    {
        Human().GetNews().RemoveAllNewsItems();
        Human().PostNews(kSquadTooThin, Human().GetClub());
        Human().PostNews(kLeaguePayment, Human().GetClub());
        ASSERT_EQ(CGameDay::ProcessDailyNews(*m_pWorld), 2);
    }
    void ShowMail()
    {
        g_pNavigationBar->OnClientChange(SCREEN_ARCHIVES_MAIL, true);
        m_game.Update();
        m_game.Update();
        ASSERT_EQ(g_pCurrentClient, &Mail());
    }
    bool Enabled(uint32_t dwID)
    {
        const auto* pButton = dynamic_cast<CXButton*>(Mail().FindControl(dwID));
        return pButton && !pButton->m_bDisabled;
    }
    std::vector<std::string> LetterRows()
    {
        std::vector<std::string> rows;
        const CXListBox& letter = *Mail().GetLetterText();
        for (int i = 0; i < letter.GetCount(); ++i) {
            char szRow[LISTBOX_ROW_TEXT_SIZE] = {};
            letter.GetString(i, szRow);
            rows.push_back(szRow);
        }
        return rows;
    }
    // Answers the open message box with OK.
    void AnswerOk(int nExpectedItem)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_TRUE(pBox && pBox->IsOnStack());
        EXPECT_EQ(pBox->GetTextItem(), nExpectedItem);
        pBox->OnClicked(884);
        m_game.Update();
    }
};

TEST_F(MailArchive, EachLetterIsListedShownInFullAndReadOnOpening)
{
    FileLetters();
    ShowMail();
    const CXListBox& letters = *Mail().GetLetterList();
    ASSERT_EQ(letters.GetCount(), 2);
    // The first letter is open: addressed to the manager, signed by the chairman.
    CNewsItem* pFirst = Mail().GetSelectedLetter();
    ASSERT_NE(pFirst, nullptr);
    EXPECT_TRUE(pFirst->IsRead());
    const std::vector<std::string> rows = LetterRows();
    ASSERT_GE(rows.size(), 5u);
    const CManagerDatabase* pManager = m_pWorld->GetManagerFromID(Human().GetManagerID());
    ASSERT_NE(pManager, nullptr);
    EXPECT_EQ(rows.front(), std::string(pManager->GetShortName()) + ",");
    EXPECT_EQ(rows.back(), GetTableText(39, 0));
    EXPECT_TRUE(Enabled(CClientArchivesMail::ID_GO_TO)) << "the chairman's letter leads to the transfer market";
    EXPECT_EQ(CClientArchivesMail::GetTargetScreen(15), 16);
    Shoot("mail-archive");

    // The accountant's letter names no member of the staff: the post signs it.
    Mail().GetLetterList()->SetSelection(1);
    Mail().OnSelChange(CClientArchivesMail::ID_LETTERS);
    EXPECT_EQ(LetterRows().back(), GetTableText(39, 3));
    EXPECT_FALSE(Enabled(CClientArchivesMail::ID_GO_TO)) << "a letter without a target leads nowhere";
    EXPECT_EQ(Human().GetNews().CountUnreadNewsItems(), 0);

    // Going to what the first letter is about.
    Mail().GetLetterList()->SetSelection(0);
    Mail().OnSelChange(CClientArchivesMail::ID_LETTERS);
    Mail().OnClicked(CClientArchivesMail::ID_GO_TO);
    m_game.Update();
    EXPECT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_TRANSFER_MARKET));
}

TEST_F(MailArchive, DeletingAsksFirstAndTheLastDeletionEmptiesTheScreen)
{
    FileLetters();
    ShowMail();
    CNewsItem* pFirst = Mail().GetSelectedLetter();
    Mail().OnClicked(CClientArchivesMail::ID_DELETE);
    AnswerOk(CClientArchivesMail::ASK_DELETE);
    EXPECT_EQ(Human().GetNews().GetArchive().GetCount(), 1);
    EXPECT_NE(Mail().GetSelectedLetter(), pFirst);
    ASSERT_EQ(Mail().GetLetterList()->GetCount(), 1);

    Mail().OnClicked(CClientArchivesMail::ID_DELETE_ALL);
    AnswerOk(CClientArchivesMail::ASK_DELETE_ALL);
    EXPECT_EQ(Human().GetNews().GetArchive().GetCount(), 0);
    EXPECT_EQ(Mail().GetLetterList()->GetCount(), 0);
    EXPECT_EQ(Mail().GetLetterText()->GetCount(), 0);
    for (uint32_t dwID : {CClientArchivesMail::ID_GO_TO, CClientArchivesMail::ID_DELETE,
                          CClientArchivesMail::ID_DELETE_ALL})
        EXPECT_FALSE(Enabled(dwID)) << dwID;
}

TEST(MailArchiveTargets, EachCodeLeadsToItsScreen)
{
    struct Case {
        int nCode, nScreen;
    };
    const Case cases[] = {{0, -1},  {1, 0},   {5, 6},   {6, 8},   {12, 14}, {14, 15}, {16, 16}, {18, 17},
                          {20, 19}, {21, 20}, {22, 21}, {25, 24}, {26, 18}, {27, 25}, {29, 26}, {30, 27},
                          {31, -1}, {33, 28}, {42, 37}, {45, 41}, {46, -1}, {48, -1}, {65, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(CClientArchivesMail::GetTargetScreen(c.nCode), c.nScreen) << c.nCode;
}

}  // namespace
