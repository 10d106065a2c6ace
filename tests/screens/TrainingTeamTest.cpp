// The team training screen: the dates of the week's rows and where a fixture
// is played, dragging sessions into the week (reaching the training manager
// and the week's totals), choosing a listed plan, the assistant taking the
// week over, undo, and the club's own plan kept through save and load.
#include "ScreenInPlay.h"

#include "popups/CPopupSaveTactics.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"

#include "screens/CClientTrainingTeam.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "season/CTrainingManager.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXManager.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>

using Screen = CClientTrainingTeam;
using Week = std::array<uint8_t, TRAINING_WEEK_SLOTS>;

TEST(TrainingTeamRules, TheRowsRunMondayToSundayWithPastDaysAWeekOn)
{
    // 4 March 2001 is a Sunday, 8 March a Thursday.
    const struct {
        CDate today;
        CDate rows[TRAINING_DAYS];
    } cases[] = {
        {CDate(2001, 3, 4),
         {CDate(2001, 3, 5), CDate(2001, 3, 6), CDate(2001, 3, 7), CDate(2001, 3, 8), CDate(2001, 3, 9),
          CDate(2001, 3, 10), CDate(2001, 3, 11)}},
        {CDate(2001, 3, 8),
         {CDate(2001, 3, 12), CDate(2001, 3, 13), CDate(2001, 3, 14), CDate(2001, 3, 8), CDate(2001, 3, 9),
          CDate(2001, 3, 10), CDate(2001, 3, 11)}},
        // A Monday across the turn of a year.
        {CDate(2001, 12, 31),
         {CDate(2001, 12, 31), CDate(2002, 1, 1), CDate(2002, 1, 2), CDate(2002, 1, 3), CDate(2002, 1, 4),
          CDate(2002, 1, 5), CDate(2002, 1, 6)}},
    };
    for (const auto& c : cases)
        for (int nRow = 0; nRow < TRAINING_DAYS; ++nRow)
            EXPECT_EQ(Screen::RowDate(c.today, nRow), c.rows[nRow]) << c.today.GetDay() << "/" << c.today.GetMonth()
                                                                   << " row " << nRow;
}

TEST(TrainingTeamRules, AFixtureIsHomeAwayOrElsewhereByTheHomeSideAndTheGround)
{
    // Our club 5 plays at ground 50, the opponent 9 at ground 90.
    const struct {
        ID_CLUB idHome;
        ID_GROUND idGround;
        int nVenue;
    } cases[] = {{5, 50, Screen::VENUE_HOME},      {9, 90, Screen::VENUE_AWAY},      {5, 77, Screen::VENUE_ELSEWHERE},
                 {9, 77, Screen::VENUE_ELSEWHERE}, {5, 90, Screen::VENUE_ELSEWHERE}, {9, 50, Screen::VENUE_ELSEWHERE}};
    for (const auto& c : cases)
        EXPECT_EQ(Screen::FixtureVenue(5, c.idHome, c.idGround, 50, 90), c.nVenue)
            << "home " << c.idHome << " ground " << c.idGround;
}

class TrainingTeamScreen : public ScreenInPlay {
protected:
    CTrainingManager& Training() { return m_pHuman->GetTrainingManager(); }
    Screen& TheScreen() { return GetTrainingTeamScreen(); }
    static int CellX(int nSlot) { return Screen::kCellLeft + Screen::kCellWidth * (nSlot % TRAINING_SLOTS_PER_DAY) + 30; }
    static int CellY(int nSlot) { return Screen::kCellTop + Screen::kDayStep * (nSlot / TRAINING_SLOTS_PER_DAY) + 30; }
    static int PaletteX(int nKind) { return Screen::kPaletteLeft + Screen::kPaletteStep * (nKind / 6) + 30; }
    static int PaletteY(int nKind) { return Screen::kPaletteTop + Screen::kDayStep * (nKind % 6) + 20; }
    // Presses, moves and lets go as the mouse does (client coordinates).
    // With a name, the frame before the release is shot, the pointer there.
    void Drag(int x, int y, int nToX, int nToY, const char* pszShot = nullptr)
    {
        TheScreen().OnLButtonDown(0, x, y);
        ASSERT_TRUE(TheScreen().IsDragging());
        TheScreen().OnMouseMove(0, nToX, nToY);
        m_game.Update();
        if (pszShot) {
            g_nMouseX = TheScreen().m_nLeft + nToX;
            g_nMouseY = TheScreen().m_nTop + nToY;
            Shoot(pszShot);
        }
        TheScreen().OnLButtonUp(0, nToX, nToY);
        EXPECT_FALSE(TheScreen().IsDragging());
    }
    void DragKind(int nKind, int nSlot) { Drag(PaletteX(nKind), PaletteY(nKind), CellX(nSlot), CellY(nSlot)); }
    Week Cells()
    {
        Week week{};
        for (int i = 0; i < TRAINING_WEEK_SLOTS; ++i)
            week[static_cast<size_t>(i)] = TheScreen().GetCellKind(i);
        return week;
    }
    Week ManagersWeek()
    {
        Week week{};
        std::copy_n(Training().GetWeekPlan(), TRAINING_WEEK_SLOTS, week.begin());
        return week;
    }
    static Week PlanFile(const char* pszName)
    {
        Week week{};
        week.fill(0xFF);
        const TRAININGPLAN* pPlan = CTrainingManager::FindPlan(pszName);
        EXPECT_NE(pPlan, nullptr) << pszName;
        if (!pPlan)
            return week;
        const std::string path = std::string(pPlan->byBuiltIn ? "Data\\Training\\" : "Data\\Saves\\") +
                                 pPlan->szFile + (pPlan->byBuiltIn ? ".ptp" : ".ctp");
        EXPECT_TRUE(CTrainingManager::ReadPlanFile(path.c_str(), week.data())) << path;
        return week;
    }
    int FirstSlotOf(uint8_t byKind)
    {
        const Week week = Cells();
        const auto it = std::find(week.begin(), week.end(), byKind);
        return it == week.end() ? -1 : static_cast<int>(it - week.begin());
    }
    const TRAININGPLAN* SelectedPlan()
    {
        const CXComboBox* pList = g_pTitlebar->GetSelector(Screen::kPlanSelector);
        const int nRow = pList ? pList->GetSelection() : -1;
        const auto& plans = TheScreen().GetListedPlans();
        return nRow >= 0 && nRow < static_cast<int>(plans.size()) ? plans[static_cast<size_t>(nRow)] : nullptr;
    }
    int RowOf(const char* pszFile)
    {
        const auto& plans = TheScreen().GetListedPlans();
        for (size_t i = 0; i < plans.size(); ++i)
            if (std::strcmp(plans[i]->szFile, pszFile) == 0)
                return static_cast<int>(i);
        return -1;
    }
};

TEST_F(TrainingTeamScreen, ADraggedSessionChangesTheWeekItsTotalsAndMakesTheClubsOwnPlan)
{
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    const CXControl* pPrint = g_pNavigationBar->FindControl(1058);
    ASSERT_NE(pPrint, nullptr);
    const bool bPrintShown = pPrint->m_bVisible != 0;
    OpenScreen(SCREEN_TRAINING_TEAM);
    EXPECT_FALSE(pPrint->m_bVisible) << "nothing to print here";
    EXPECT_EQ(Cells(), ManagersWeek());
    EXPECT_FALSE(TheScreen().IsModified());
    ASSERT_NE(SelectedPlan(), nullptr);
    EXPECT_EQ(SelectedPlan(), Training().GetCurrentPlan());
    Training().CalculateWeek(Database()->GetGameDate());
    const TRAININGTOTAL before = Training().GetWeekTotals()[TRAINING_TOTAL_SHOOTING];
    const int nPlanned = Training().GetPlannedActivityCount();
    const int nRest = FirstSlotOf(TRAINING_KIND_REST);
    ASSERT_GE(nRest, 0);
    const Week start = Cells();

    // A drop off the week, or on the palette, changes nothing.
    Drag(PaletteX(2), PaletteY(2), 10, 480);
    Drag(PaletteX(2), PaletteY(2), PaletteX(5), PaletteY(5));
    EXPECT_EQ(Cells(), start);
    EXPECT_EQ(TheScreen().GetUndoCount(), 0);
    EXPECT_FALSE(TheScreen().IsModified());

    DragKind(2, nRest);
    Week expected = start;
    expected[static_cast<size_t>(nRest)] = 2;
    EXPECT_EQ(Cells(), expected);
    EXPECT_TRUE(TheScreen().IsModified());
    EXPECT_EQ(TheScreen().GetUndoCount(), 1);
    EXPECT_TRUE(TheScreen().FindControl(Screen::ID_UNDO)->m_bVisible);
    EXPECT_EQ(SelectedPlan(), &Training().GetClubPlan()) << "the club's own plan is listed and chosen";
    // A session dragged from one slot to another copies it there.
    const int nOther = nRest == 0 ? 1 : 0;
    Drag(CellX(nRest), CellY(nRest), CellX(nOther) + 20, CellY(nOther) + 10, "training-team-drag.png");
    expected[static_cast<size_t>(nOther)] = 2;
    EXPECT_EQ(Cells(), expected);
    // Dropping the kind a slot holds still counts as a step.
    DragKind(2, nOther);
    EXPECT_EQ(TheScreen().GetUndoCount(), 3);
    Shoot("training-team-custom.png");

    OpenScreen(SCREEN_FOOTBALL_TODAY);
    EXPECT_EQ(pPrint->m_bVisible != 0, bPrintShown);
    EXPECT_EQ(ManagersWeek(), expected);
    EXPECT_EQ(Training().GetCurrentPlan(), &Training().GetClubPlan());
    EXPECT_EQ(Training().GetDaysSincePlanChange(), 0);
    Training().CalculateWeek(Database()->GetGameDate());
    const int nShooting = CTrainingManager::GetActivityValue(TRAINING_TOTAL_SHOOTING, 2);
    EXPECT_EQ(Training().GetWeekTotals()[TRAINING_TOTAL_SHOOTING].wSum,
              before.wSum + nShooting * 2 - CTrainingManager::GetActivityValue(TRAINING_TOTAL_SHOOTING, start[nOther]) -
                  CTrainingManager::GetActivityValue(TRAINING_TOTAL_SHOOTING, TRAINING_KIND_REST));
    EXPECT_EQ(Training().GetPlannedActivityCount(), nPlanned + 1 + (start[nOther] == TRAINING_KIND_REST ? 1 : 0));

    // Back on the screen the week and the club's plan are still there.
    OpenScreen(SCREEN_TRAINING_TEAM);
    EXPECT_EQ(Cells(), expected);
    EXPECT_EQ(SelectedPlan(), &Training().GetClubPlan());
}

TEST_F(TrainingTeamScreen, UndoTakesTheDropsBackInReverse)
{
    OpenScreen(SCREEN_TRAINING_TEAM);
    const Week start = Cells();
    // A slot given the kind it holds already: a step, and the plan the club's own.
    DragKind(start[7], 7);
    EXPECT_EQ(Cells(), start);
    EXPECT_EQ(TheScreen().GetUndoCount(), 1);
    EXPECT_TRUE(TheScreen().IsModified());
    DragKind(4, 0);
    const Week first = Cells();
    DragKind(9, 0);
    DragKind(11, 7);
    ASSERT_EQ(TheScreen().GetUndoCount(), 4);
    TheScreen().Undo();
    EXPECT_EQ(TheScreen().GetCellKind(7), start[7]);
    TheScreen().Undo();
    EXPECT_EQ(Cells(), first);
    TheScreen().UndoAll();
    EXPECT_EQ(Cells(), start);
    EXPECT_FALSE(TheScreen().FindControl(Screen::ID_UNDO)->m_bVisible);
    EXPECT_FALSE(TheScreen().FindControl(Screen::ID_UNDO_ALL)->m_bVisible);
}

TEST_F(TrainingTeamScreen, AChosenPlanReplacesTheWeekAndDiscardsTheChanges)
{
    OpenScreen(SCREEN_TRAINING_TEAM);
    const int nOffensive = RowOf("Offensive");
    ASSERT_GE(nOffensive, 0);
    DragKind(9, 0);
    DragKind(9, 41);
    ASSERT_TRUE(TheScreen().IsModified());
    TheScreen().ChoosePlan(nOffensive);
    EXPECT_EQ(Cells(), PlanFile("Offensive"));
    EXPECT_FALSE(TheScreen().IsModified());
    EXPECT_EQ(TheScreen().GetUndoCount(), 0);
    EXPECT_EQ(RowOf(Training().GetClubPlan().szFile), -1) << "the club's plan leaves the list";
    ASSERT_NE(SelectedPlan(), nullptr);
    EXPECT_STREQ(SelectedPlan()->szFile, "Offensive");
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    EXPECT_EQ(ManagersWeek(), PlanFile("Offensive"));
    ASSERT_NE(Training().GetCurrentPlan(), nullptr);
    EXPECT_STREQ(Training().GetCurrentPlan()->szFile, "Offensive");
}

TEST_F(TrainingTeamScreen, ASavedPlanIsWrittenListedAndCurrent)
{
    OpenScreen(SCREEN_TRAINING_TEAM);
    DragKind(6, 5);
    DragKind(6, 11);
    const Week custom = Cells();
    const size_t nListed = TheScreen().GetListedPlans().size();
    // Refused: no plain file name, a built-in plan's name, a plan that
    // cannot be written (the game folder here has no saves folder yet).
    for (const char* pszName : {"../Away", "", "normal", "Back Four"}) {
        EXPECT_FALSE(TheScreen().SavePlanAs(pszName)) << pszName;
        EXPECT_TRUE(TheScreen().IsModified());
        EXPECT_EQ(TheScreen().GetListedPlans().size(), nListed);
        EXPECT_EQ(SelectedPlan(), &Training().GetClubPlan());
    }
    EXPECT_EQ(Cells(), custom);

    std::filesystem::create_directories("Data/Saves");
    ASSERT_TRUE(TheScreen().SavePlanAs("Back Four"));
    EXPECT_EQ(PlanFile("Back Four"), custom);
    EXPECT_FALSE(TheScreen().IsModified());
    EXPECT_EQ(TheScreen().GetUndoCount(), 0);
    ASSERT_NE(SelectedPlan(), nullptr);
    EXPECT_STREQ(SelectedPlan()->szFile, "Back Four");
    EXPECT_EQ(RowOf(Training().GetClubPlan().szFile), -1) << "the saved plan takes the club plan's row";
    // Another plan and back: the saved one loads from its file.
    TheScreen().ChoosePlan(RowOf("WeekOff"));
    TheScreen().ChoosePlan(RowOf("Back Four"));
    EXPECT_EQ(Cells(), custom);
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    EXPECT_STREQ(Training().GetCurrentPlan()->szFile, "Back Four");
}

TEST_F(TrainingTeamScreen, TheSaveButtonNamesThePlanInThePopupWhichAlsoDeletesIt)
{
    std::filesystem::create_directories("Data/Saves");
    OpenScreen(SCREEN_TRAINING_TEAM);
    DragKind(6, 5);
    const Week custom = Cells();
    TheScreen().OnClicked(Screen::ID_SAVE);
    CPopupSaveTactics* pPopup = TheScreen().GetSavePlanPopup();
    ASSERT_TRUE(pPopup && pPopup->IsOnStack());
    EXPECT_EQ(pPopup->GetKind(), SAVEDIALOG_TRAINING_PLAN);
    auto* pName = dynamic_cast<CXEdit*>(pPopup->FindControl(CPopupSaveTactics::ID_NAME));
    ASSERT_NE(pName, nullptr);
    for (const char* p = "Sprints"; *p; ++p)
        pName->OnChar(static_cast<unsigned char>(*p), 1, 0);
    pPopup->OnClicked(CGamePopup::kOkButtonID);
    m_game.Update();
    EXPECT_FALSE(pPopup->IsOnStack());
    EXPECT_EQ(PlanFile("Sprints"), custom);
    ASSERT_NE(SelectedPlan(), nullptr);
    EXPECT_STREQ(SelectedPlan()->szFile, "Sprints");

    // Deleted in the popup: the file and the plan go, the club's own week stays.
    TheScreen().OnClicked(Screen::ID_SAVE);
    ASSERT_TRUE(pPopup->IsOnStack());
    ASSERT_EQ(pPopup->GetList()->GetCount(), 1);
    pPopup->OnClicked(CPopupSaveTactics::ID_DELETE);
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_TRUE(pBox && pBox->IsOnStack());
    pBox->OnClicked(CGamePopup::kOkButtonID);
    pPopup->OnClicked(CGamePopup::kCancelButtonID);
    m_game.Update();
    EXPECT_FALSE(std::filesystem::exists("Data/Saves/Sprints.ctp"));
    EXPECT_EQ(RowOf("Sprints"), -1);
    EXPECT_EQ(SelectedPlan(), &Training().GetClubPlan());
    EXPECT_EQ(Cells(), custom);
}

TEST_F(TrainingTeamScreen, TheAssistantTakesTheWeekOverUntilTheManagerChangesIt)
{
    OpenScreen(SCREEN_TRAINING_TEAM);
    EXPECT_EQ(TheScreen().FindControl(Screen::ID_DELEGATE)->m_bVisible != 0, m_pClub->m_awStaffSlots[0][0] != 0)
        << "the button stands only with an assistant";
    DragKind(9, 0);
    // Preference 3 is the defensive week.
    TheScreen().DelegateTraining(3);
    EXPECT_EQ(m_pHuman->GetDelegation(SAVEGAME_DELEGATION_TRAINING), 3);
    EXPECT_EQ(Cells(), PlanFile("Defensive"));
    EXPECT_FALSE(TheScreen().IsModified());
    EXPECT_EQ(TheScreen().GetUndoCount(), 0);
    EXPECT_FALSE(TheScreen().FindControl(Screen::ID_DELEGATE)->m_bVisible);
    ASSERT_NE(SelectedPlan(), nullptr);
    EXPECT_STREQ(SelectedPlan()->szFile, "Defensive");
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    EXPECT_EQ(ManagersWeek(), PlanFile("Defensive"));
    EXPECT_EQ(m_pHuman->GetDelegation(SAVEGAME_DELEGATION_TRAINING), 3) << "leaving keeps the assistant on";
    // A change by hand takes the job back.
    OpenScreen(SCREEN_TRAINING_TEAM);
    DragKind(9, 0);
    EXPECT_EQ(m_pHuman->GetDelegation(SAVEGAME_DELEGATION_TRAINING), 0);
}

TEST_F(TrainingTeamScreen, TheClubsOwnPlanSurvivesSaveAndLoad)
{
    OpenScreen(SCREEN_TRAINING_TEAM);
    DragKind(7, 3);
    DragKind(11, 20);
    const Week custom = Cells();
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    ASSERT_TRUE(m_game.SaveGame("Training")) << m_game.GetFileError();
    OpenScreen(SCREEN_TRAINING_TEAM);
    TheScreen().ChoosePlan(RowOf("WeekOff"));
    ASSERT_NE(Cells(), custom);
    // Loaded from this screen: the week it shows goes with the game it
    // belonged to, not into the loaded one.
    ASSERT_TRUE(TheScreen().OnLoadSaveChosen(true, "Training")) << m_game.GetFileError();
    m_game.Update();
    ASSERT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_FOOTBALL_TODAY));
    m_pHuman = Database()->GetCurrentSaveGame();
    EXPECT_EQ(ManagersWeek(), custom);
    EXPECT_EQ(Training().GetCurrentPlan(), &Training().GetClubPlan());
    OpenScreen(SCREEN_TRAINING_TEAM);
    EXPECT_EQ(Cells(), custom);
    EXPECT_EQ(SelectedPlan(), &Training().GetClubPlan());
}

// A few days before the club's first match of the season.
class TrainingTeamBeforeAMatch : public TrainingTeamScreen {
protected:
    TrainingTeamBeforeAMatch() { m_nDays = 33; }
};

TEST_F(TrainingTeamBeforeAMatch, TheWeeksFixturesAndCampsStandOnTheirDays)
{
    // The club's league matches by date, and a camp booked for the day after
    // the first one ahead.
    const CDate today = Database()->GetGameDate();
    auto leagueMatchOn = [this](const CDate& date) -> const CDivisionFixturesDatabase* {
        for (const CDivisionFixturesDatabase* p : m_pClub->m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (p->GetDate() == date &&
                (p->GetHomeClubID() == m_pClub->m_wClubId || p->GetAwayClubID() == m_pClub->m_wClubId))
                return p;
        return nullptr;
    };
    CDate firstMatch;
    for (int nDay = 0; nDay < TRAINING_DAYS && !firstMatch.GetValue(); ++nDay)
        if (leagueMatchOn(CDate(today.GetValue(), nDay)))
            firstMatch = CDate(today.GetValue(), nDay);
    ASSERT_NE(firstMatch.GetValue(), 0u) << "a league match falls in the week shown";
    auto* pCamp = new TRAININGCAMP;
    pCamp->Start = CDate(firstMatch.GetValue(), 1);
    pCamp->byLength = 1;
    Training().AddTrainingCamp(pCamp);
    OpenScreen(SCREEN_TRAINING_TEAM);
    int nMatches = 0;
    for (int nDay = 0; nDay < TRAINING_DAYS; ++nDay) {
        const Screen::DAYROW& row = TheScreen().GetDayRow(nDay);
        EXPECT_EQ(row.bCamp, row.date == pCamp->Start) << "row " << nDay;
        const CDivisionFixturesDatabase* pMatch = leagueMatchOn(row.date);
        if (!pMatch)
            continue;
        ++nMatches;
        const bool bHome = pMatch->GetHomeClubID() == m_pClub->m_wClubId;
        ASSERT_NE(row.pOpponent, nullptr) << "row " << nDay;
        EXPECT_EQ(row.pOpponent->m_wClubId, bHome ? pMatch->GetAwayClubID() : pMatch->GetHomeClubID());
        EXPECT_EQ(row.nVenue, bHome ? Screen::VENUE_HOME : Screen::VENUE_AWAY);
    }
    EXPECT_GE(nMatches, 1);
    Shoot("training-team.png");
}
