// The individual training screen: the balancing of the nine shares, the
// shares reaching the training record and the week's training, undo, the
// assistant taking over, and the skill graph drawn from the player history.
#include "ScreenInPlay.h"

#include "screens/CClientTrainingIndividual.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CTrainingManager.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXSlider.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <array>
#include <numeric>

using Screen = CClientTrainingIndividual;
using Shares = std::array<int, TRAINING_AREAS>;

namespace {

int Sum(const Shares& an) { return std::accumulate(an.begin(), an.end(), 0); }
int Sum(const INDIVIDUALTRAINING& entry) { return std::accumulate(std::begin(entry.abyAreas), std::end(entry.abyAreas), 0); }

}  // namespace

TEST(TrainingIndividualRules, BalancingSpreadsTheChangeOverTheTickedSharesAndNeverPassesTheWhole)
{
    const struct {
        Shares before;
        int nDragged;
        uint16_t wTicks;
        Shares after;
    } cases[] = {
        // One share up by 9 from a total of 100, all ticked: each of 2 or
        // more gives 9 / 9, and the dragged one keeps what is left.
        {{29, 10, 10, 10, 10, 10, 10, 10, 10}, 0, 0x1FF, {28, 9, 9, 9, 9, 9, 9, 9, 9}},
        // The other eight ticked but the dragged one: 9 / 8 = 1 each.
        {{29, 10, 10, 10, 10, 10, 10, 10, 10}, 0, 0x1FE, {28, 9, 9, 9, 9, 9, 9, 9, 9}},
        // Nothing ticked: nothing gives way and the dragged share is cut.
        {{50, 10, 10, 10, 10, 10, 10, 10, 10}, 0, 0, {20, 10, 10, 10, 10, 10, 10, 10, 10}},
        // Too little: the ticked shares rise by the difference over nine.
        {{0, 10, 10, 10, 10, 10, 10, 10, 10}, 0, 0x006, {0, 12, 12, 10, 10, 10, 10, 10, 10}},
        // Shares below 2 do not count when the step is worked out (7 over
        // two), but move with it and stop at 0.
        {{40, 1, 1, 1, 1, 1, 1, 1, 60}, 0, 0x1FF, {40, 0, 0, 0, 0, 0, 0, 0, 57}},
    };
    for (const auto& c : cases) {
        Shares an = c.before;
        Screen::BalanceShares(an, c.nDragged, c.wTicks);
        EXPECT_EQ(an, c.after) << "ticks " << c.wTicks;
        EXPECT_LE(Sum(an), 100);
    }
}

TEST(TrainingIndividualRules, TheNewestRecordedWeekIsThatOfTheLastMonday)
{
    // 1 January 1999 is a Friday and starts week 1; Monday 4 January records it.
    const struct {
        CDate day;
        int nWeek;
    } cases[] = {{CDate(1999, 1, 4), 1},  {CDate(1999, 1, 7), 1},  {CDate(1999, 1, 8), 1},
                 {CDate(1999, 1, 10), 1}, {CDate(1999, 1, 11), 2}, {CDate(2000, 1, 3), 53}};
    for (const auto& c : cases)
        EXPECT_EQ(Screen::LastRecordedWeek(c.day), c.nWeek) << c.day.GetDay() << "/" << c.day.GetMonth();
}

TEST(TrainingIndividualRules, HoursAndMinutesOfAShare)
{
    const struct {
        int nShare, nSessions, nHours, nMinutes;
    } cases[] = {{50, 6, 3, 0}, {25, 6, 1, 30}, {10, 3, 0, 18}, {100, 0, 0, 0}, {0, 6, 0, 0}};
    for (const auto& c : cases) {
        int nHours = -1;
        int nMinutes = -1;
        Screen::ShareToHours(c.nShare, c.nSessions, nHours, nMinutes);
        EXPECT_EQ(nHours, c.nHours) << c.nShare << "% of " << c.nSessions;
        EXPECT_EQ(nMinutes, c.nMinutes) << c.nShare << "% of " << c.nSessions;
    }
}

class TrainingIndividualScreen : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        ASSERT_NE(m_pClub, nullptr);
        // Four individual sessions in the week.
        uint8_t abyWeek[TRAINING_WEEK_SLOTS];
        std::copy_n(Training().GetWeekPlan(), TRAINING_WEEK_SLOTS, abyWeek);
        for (int i = 0; i < 4; ++i)
            abyWeek[i * TRAINING_SLOTS_PER_DAY] = TRAINING_KIND_FREE;
        Training().SetWeekPlan(abyWeek);
    }
    CTrainingManager& Training() { return m_pHuman->GetTrainingManager(); }
    Screen& TheScreen() { return GetTrainingIndividualScreen(); }
    // Drags a slider to a value as the mouse does: begin, move, end.
    void Drag(int nArea, int nValue)
    {
        const uint32_t dwID = Screen::ID_FIRST_SLIDER + static_cast<uint32_t>(nArea);
        TheScreen().OnBeginScroll(dwID);
        TheScreen().GetSlider(nArea)->SetPos(nValue);
        TheScreen().OnScroll(dwID);
        TheScreen().OnEndScroll(dwID);
    }
    Shares Current()
    {
        Shares an{};
        const INDIVIDUALTRAINING* pEntry = TheScreen().GetCurrentEntry();
        std::copy(std::begin(pEntry->abyAreas), std::end(pEntry->abyAreas), an.begin());
        return an;
    }
};

TEST_F(TrainingIndividualScreen, SharesReachTheTrainingRecordAndTheWeeksTraining)
{
    OpenScreen(SCREEN_TRAINING_INDIVIDUAL);
    ASSERT_EQ(TheScreen().GetSessions(), 4);
    const uint32_t idPlayer = TheScreen().GetCurrentPlayer();
    CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(idPlayer);
    ASSERT_NE(pPlayer, nullptr);
    ASSERT_NE(TheScreen().GetCurrentEntry(), nullptr);
    ASSERT_EQ(TheScreen().GetCurrentEntry()->dwPlayerId, idPlayer);
    float afBefore[18];
    ASSERT_TRUE(Training().GetPersonEfforts(*pPlayer, false, afBefore, 18));
    // Everything on shooting (effort slot 4): the rest is ticked and gives way.
    for (int nStep = 0; nStep < 12; ++nStep)
        Drag(5, 100);
    EXPECT_GT(Current()[5], 80);
    EXPECT_LE(Sum(Current()), 100);
    EXPECT_GE(Sum(Current()), 90);
    Shoot("training-individual.png");
    // Leaving the screen hands the shares to the manager.
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    const INDIVIDUALTRAINING* pEntry = Training().FindPlayerEntry(idPlayer);
    ASSERT_NE(pEntry, nullptr);
    EXPECT_GT(pEntry->abyAreas[5], 80);
    float afAfter[18];
    ASSERT_TRUE(Training().GetPersonEfforts(*pPlayer, false, afAfter, 18));
    EXPECT_GT(afAfter[4], afBefore[4]) << "more effort on shooting";
    EXPECT_LT(afAfter[0], afBefore[0]) << "less on handling";
    // A week of days trains with them: shooting, pushed hard, does not fall
    // behind handling, which got next to nothing.
    const int nShooting = pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_SHOOTING];
    const int nHandling = pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_HANDLING];
    for (int nDay = 0; nDay < 7; ++nDay) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
    }
    ASSERT_EQ(Database()->GetPlayerFromID(idPlayer), pPlayer);
    EXPECT_GT(pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_SHOOTING] - nShooting,
              pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] - nHandling);
    EXPECT_EQ(Training().FindPlayerEntry(idPlayer)->abyAreas[5], pEntry->abyAreas[5]);
}

TEST_F(TrainingIndividualScreen, UndoTakesBackDragsTicksAndPlayerChangesInReverse)
{
    OpenScreen(SCREEN_TRAINING_INDIVIDUAL);
    const Shares start = Current();
    const uint16_t wTicks = TheScreen().GetCurrentEntry()->wTicks;
    Drag(0, 40);
    const Shares first = Current();
    Drag(3, 50);
    const Shares second = Current();
    TheScreen().OnClicked(Screen::ID_FIRST_TICK + 2);
    EXPECT_NE(TheScreen().GetCurrentEntry()->wTicks, wTicks);
    Drag(6, 30);
    EXPECT_EQ(TheScreen().GetUndoCount(), 4);
    EXPECT_TRUE(TheScreen().FindControl(Screen::ID_UNDO)->m_bVisible);
    TheScreen().Undo();
    EXPECT_EQ(Current(), second);
    TheScreen().Undo();
    EXPECT_EQ(TheScreen().GetCurrentEntry()->wTicks, wTicks);
    TheScreen().Undo();
    EXPECT_EQ(Current(), first);
    TheScreen().Undo();
    EXPECT_EQ(Current(), start);
    EXPECT_EQ(TheScreen().GetUndoCount(), 0);
    EXPECT_FALSE(TheScreen().FindControl(Screen::ID_UNDO)->m_bVisible);
    EXPECT_FALSE(TheScreen().FindControl(Screen::ID_UNDO_ALL)->m_bVisible);

    // A player change and a slider drag for him, undone all at once.
    CXListBoxEx* pList = TheScreen().GetPlayerList();
    ASSERT_GE(pList->GetCount(), 2);
    const uint32_t idFirst = TheScreen().GetCurrentPlayer();
    pList->SetSelection(1);
    TheScreen().OnSelChange(Screen::ID_PLAYERS);
    ASSERT_NE(TheScreen().GetCurrentPlayer(), idFirst);
    const Shares second_player = Current();
    Drag(1, 70);
    EXPECT_NE(Current(), second_player);
    const uint32_t idSecond = TheScreen().GetCurrentPlayer();
    TheScreen().UndoAll();
    EXPECT_EQ(TheScreen().GetCurrentPlayer(), idFirst);
    EXPECT_EQ(Current(), start);
    // A change of view is undone too, back to the first team's list.
    ASSERT_GT(m_pClub->m_lstYouths.GetCount(), 0);
    TheScreen().ChooseView(Screen::VIEW_YOUTH);
    EXPECT_EQ(TheScreen().GetView(), Screen::VIEW_YOUTH);
    EXPECT_EQ(TheScreen().GetPlayerList()->GetCount(), m_pClub->m_lstYouths.GetCount());
    ASSERT_NE(Database()->GetYouthFromID(TheScreen().GetCurrentPlayer()), nullptr);
    EXPECT_EQ(TheScreen().GetCurrentEntry()->dwPlayerId, TheScreen().GetCurrentPlayer()) << "the youth's own entry";
    Shoot("training-individual-youth.png");
    TheScreen().Undo();
    EXPECT_EQ(TheScreen().GetView(), Screen::VIEW_FIRST_TEAM);
    EXPECT_EQ(TheScreen().GetPlayerList()->GetCount(), m_pClub->m_lstPlayers.GetCount());
    const INDIVIDUALTRAINING* pSecond = nullptr;
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    pSecond = Training().FindPlayerEntry(idSecond);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_TRUE(std::equal(second_player.begin(), second_player.end(), pSecond->abyAreas));
}

TEST_F(TrainingIndividualScreen, TheAssistantReplacesEveryEntryAndClearsTheUndoList)
{
    OpenScreen(SCREEN_TRAINING_INDIVIDUAL);
    Drag(5, 90);
    ASSERT_EQ(TheScreen().GetUndoCount(), 1);
    EXPECT_EQ(m_pHuman->GetDelegation(SAVEGAME_DELEGATION_TRAINING), 0) << "a change by hand keeps the job";
    TheScreen().DelegateTraining(2);
    EXPECT_EQ(m_pHuman->GetDelegation(SAVEGAME_DELEGATION_TRAINING), 2);
    EXPECT_EQ(TheScreen().GetUndoCount(), 0);
    // Preference 2 is the balanced style: each player trains by his position.
    const INDIVIDUALTRAINING* pShown = TheScreen().GetCurrentEntry();
    INDIVIDUALTRAINING expected;
    CTrainingManager::SetDefaultIndividualTraining(expected, Database()->GetPlayerFromID(pShown->dwPlayerId)->m_byPosition);
    EXPECT_TRUE(std::equal(std::begin(expected.abyAreas), std::end(expected.abyAreas), pShown->abyAreas));
    // The assistant's plan may hold no individual sessions: the sliders
    // then stand at 0 and hide.
    ASSERT_EQ(TheScreen().GetSessions(), Training().GetKind11SlotCount());
    EXPECT_EQ(TheScreen().GetSlider(5)->GetValue(), TheScreen().GetSessions() > 0 ? expected.abyAreas[5] : 0);
    EXPECT_FALSE(TheScreen().FindControl(Screen::ID_DELEGATE)->m_bVisible);
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    for (const CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
        const INDIVIDUALTRAINING* pEntry = Training().FindPlayerEntry(pPlayer->m_idPerson);
        if (!pEntry)
            continue;
        CTrainingManager::SetDefaultIndividualTraining(expected, pPlayer->m_byPosition);
        EXPECT_TRUE(std::equal(std::begin(expected.abyAreas), std::end(expected.abyAreas), pEntry->abyAreas))
            << pPlayer->GetShortName();
        EXPECT_EQ(Sum(*pEntry), 100);
    }
}

TEST_F(TrainingIndividualScreen, CopyingGivesTheTrainingToEveryListedPlayerOfThePositionOnly)
{
    OpenScreen(SCREEN_TRAINING_INDIVIDUAL);
    // The list starts sorted by position: its last row is a player of the
    // last position in the squad.
    CXListBoxEx* pList = TheScreen().GetPlayerList();
    pList->SetSelection(pList->GetCount() - 1);
    TheScreen().OnSelChange(Screen::ID_PLAYERS);
    const CPlayerDatabase* pShown = Database()->GetPlayerFromID(TheScreen().GetCurrentPlayer());
    ASSERT_NE(pShown, nullptr);
    Drag(2, 60);
    TheScreen().OnClicked(Screen::ID_FIRST_TICK + 4);
    const INDIVIDUALTRAINING source = *TheScreen().GetCurrentEntry();
    int nSamePosition = 0;
    for (const CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        nSamePosition += pPlayer != pShown && pPlayer->m_byPosition == pShown->m_byPosition &&
                         Training().FindPlayerEntry(pPlayer->m_idPerson);
    ASSERT_GT(nSamePosition, 0);
    EXPECT_EQ(TheScreen().CopyToPosition(), nSamePosition);
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    for (const CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
        const INDIVIDUALTRAINING* pEntry = Training().FindPlayerEntry(pPlayer->m_idPerson);
        if (!pEntry || pPlayer == pShown)
            continue;
        const bool bCopy = std::equal(std::begin(source.abyAreas), std::end(source.abyAreas), pEntry->abyAreas) &&
                           pEntry->wTicks == source.wTicks;
        EXPECT_EQ(bCopy, pPlayer->m_byPosition == pShown->m_byPosition) << pPlayer->GetShortName();
    }
}

// Each slider row names its skill, with a swatch of the skill's line colour
// in the graph before the name.
TEST_F(TrainingIndividualScreen, EverySliderRowNamesItsSkillInItsGraphColour)
{
    OpenScreen(SCREEN_TRAINING_INDIVIDUAL);
    const plat::Surface& surface = *TheScreen().m_pDrawingSurface->m_pSurface;
    const uint16_t wText = plat::colorToPixel(plat::RGB(242, 242, 234), surface.format());
    const COLORREF acrLines[TRAINING_AREAS] = {
        plat::RGB(255, 33, 33),  plat::RGB(255, 247, 33), plat::RGB(255, 66, 189),
        plat::RGB(115, 255, 33), plat::RGB(189, 57, 255), plat::RGB(173, 173, 181),
        plat::RGB(74, 41, 255),  plat::RGB(0, 173, 8),    plat::RGB(255, 140, 90)};
    for (int i = 0; i < TRAINING_AREAS; ++i) {
        const int y = Screen::kRowTop + Screen::kRowStep * i;
        EXPECT_EQ(surface.pixel(290, y + 8), plat::colorToPixel(acrLines[i], surface.format())) << i;
        int nText = 0;
        for (int yy = y; yy < y + 18; ++yy)
            for (int x = 298; x < 356; ++x)
                nText += surface.pixel(x, yy) == wText;
        EXPECT_GT(nText, 20) << "row " << i << " has no name";
    }
}

TEST_F(TrainingIndividualScreen, WithoutIndividualSessionsTheSlidersHide)
{
    uint8_t abyWeek[TRAINING_WEEK_SLOTS];
    std::fill(std::begin(abyWeek), std::end(abyWeek), TRAINING_KIND_REST);
    Training().SetWeekPlan(abyWeek);
    OpenScreen(SCREEN_TRAINING_INDIVIDUAL);
    EXPECT_EQ(TheScreen().GetSessions(), 0);
    for (int i = 0; i < TRAINING_AREAS; ++i) {
        EXPECT_FALSE(TheScreen().GetSlider(i)->m_bVisible);
        EXPECT_EQ(TheScreen().GetSlider(i)->GetValue(), 0);
        const auto* pHours =
            dynamic_cast<const CXStatic*>(TheScreen().FindControl(Screen::ID_FIRST_HOURS + static_cast<uint32_t>(i)));
        ASSERT_NE(pHours, nullptr);
        EXPECT_STREQ(pHours->Text(), "0 min");
    }
}

TEST_F(TrainingIndividualScreen, AGameLoadedFromTheScreenKeepsItsOwnTraining)
{
    ASSERT_TRUE(m_game.SaveGame("Individual")) << m_game.GetFileError();
    const INDIVIDUALTRAINING* pSaved = Training().GetFirstTeamEntries();
    const std::vector<INDIVIDUALTRAINING> saved(pSaved, pSaved + TRAINING_ENTRIES);
    OpenScreen(SCREEN_TRAINING_INDIVIDUAL);
    Drag(0, 90);
    // The load frees the human the screen shows; leaving the screen must not
    // write into the freed record or into the loaded one.
    ASSERT_TRUE(TheScreen().OnLoadSaveChosen(true, "Individual")) << m_game.GetFileError();
    m_game.Update();
    m_pHuman = Database()->GetCurrentSaveGame();
    ASSERT_NE(m_pHuman, nullptr);
    const INDIVIDUALTRAINING* pLoaded = Training().GetFirstTeamEntries();
    for (size_t i = 0; i < saved.size(); ++i)
        EXPECT_TRUE(std::equal(std::begin(pLoaded[i].abyAreas), std::end(pLoaded[i].abyAreas),
                               std::begin(saved[i].abyAreas)))
            << "entry " << i;
}

class TrainingIndividualHistory : public TrainingIndividualScreen {
protected:
    TrainingIndividualHistory() { m_nDays = 90; }
};

TEST_F(TrainingIndividualHistory, TheGraphShowsTheHistoryFilesWeeks)
{
    OpenScreen(SCREEN_TRAINING_INDIVIDUAL);
    const CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(TheScreen().GetCurrentPlayer());
    ASSERT_NE(pPlayer, nullptr);
    ASSERT_GE(pPlayer->GetHistoryHeaderOffset(), 0) << "the player has a history slot";
    const int nWeek = Screen::LastRecordedWeek(Database()->GetGameDate());
    uint8_t abyRecord[10] = {};
    ASSERT_TRUE(Database()->ReadPlayerHistory(pPlayer->GetHistoryRecordOffset(nWeek), abyRecord, sizeof abyRecord));
    const CXGraph* pGraph = TheScreen().GetGraph();
    ASSERT_NE(pGraph, nullptr);
    for (int i = 0; i < TRAINING_AREAS; ++i) {
        const auto& values = pGraph->GetSeries(i).values;
        ASSERT_GE(values.size(), 2u) << "three months of days give several weeks";
        EXPECT_LE(values.size(), 52u);
        EXPECT_EQ(values.back(), abyRecord[i]) << "line " << i;
    }
    EXPECT_GT(abyRecord[0] + abyRecord[5], 0) << "the record holds the player's skills";
    Shoot("training-individual-history.png");
}
