// A human's training: plans shape his players, camps change the week's
// figures, and the training section of the .sav body.
#include "HumanWorld.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CTrainingManager.h"

#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

using namespace humans_test;

namespace {

std::vector<uint8_t> SaveTraining(const CTrainingManager& training)
{
    std::vector<uint8_t> bytes;
    CBinaryWriter writer(bytes);
    EXPECT_TRUE(training.Save(writer));
    return bytes;
}

TRAININGCAMP* MakeCamp(uint32_t dwId, const CDate& start, int nLength, int nKind, int nFacility, int nExtra)
{
    auto* pCamp = new TRAININGCAMP;
    for (int b = 0; b < 4; ++b)
        pCamp->abyBooking[b] = static_cast<uint8_t>(dwId >> (8 * b));
    pCamp->Start = start;
    pCamp->byLength = static_cast<uint8_t>(nLength);
    pCamp->byKind = static_cast<uint8_t>(nKind);
    pCamp->byFacility = static_cast<uint8_t>(nFacility);
    pCamp->byExtra = static_cast<uint8_t>(nExtra);
    return pCamp;
}

}  // namespace

TEST_F(HumanWorld, TheBuiltInPlansAreListedAndLoadedFromTheDataKit)
{
    ASSERT_GE(CTrainingManager::GetBuiltInPlanCount(), 4);
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    ASSERT_NE(training.GetCurrentPlan(), nullptr);
    EXPECT_STREQ(training.GetCurrentPlan()->szFile, "Normal") << "a new game trains on the normal plan";
    EXPECT_GT(training.GetPlannedActivityCount(), 0);
    EXPECT_EQ(CTrainingManager::FindPlan("weekoff"), CTrainingManager::FindPlan("WeekOff")) << "names ignore case";

    ASSERT_NE(training.GetPlanDate(), H().GetGameDate());
    training.LoadTrainingPlan(CTrainingManager::FindPlan("WeekOff"));
    EXPECT_EQ(training.GetPlannedActivityCount(), 0);
    EXPECT_EQ(training.GetPlanDate(), H().GetGameDate()) << "another plan is a change of the week";
    training.CalculateWeek(H().GetGameDate());
    EXPECT_EQ(training.GetWeekTotals()[TRAINING_TOTAL_MORALE].wSum, 4200) << "a week of rest is all rest";
    EXPECT_EQ(training.GetWeekTotals()[TRAINING_TOTAL_SHOOTING].wSum, 0);

    // A damaged plan file leaves the week as it was; a club plan is saved
    // and found again by the next listing.
    uint8_t abyWeek[TRAINING_WEEK_SLOTS];
    std::memset(abyWeek, 4, sizeof abyWeek);
    training.SetWeekPlan(abyWeek);
    EXPECT_EQ(training.GetPlanDate(), H().GetGameDate()) << "a changed week is dated today";
    WriteFile("Data/Saves/Broken.ctp", std::string("\x0f\x0f\x00\x02", 4) + std::string(42, '\1'));
    LogCapture log;
    CTrainingManager::ListPlans();
    training.LoadTrainingPlan(CTrainingManager::FindPlan("Broken"));
    EXPECT_TRUE(log.Contains("Unknown File Version!"));
    EXPECT_EQ(training.GetWeekPlan()[0], 4);
    ASSERT_NE(training.SaveTrainingPlan("Hard Week", nullptr), nullptr);
    CTrainingManager::ListPlans();
    const TRAININGPLAN* pSaved = CTrainingManager::FindPlan("hard week");
    ASSERT_NE(pSaved, nullptr);
    EXPECT_EQ(pSaved->byBuiltIn, 0);
    uint8_t abyRead[TRAINING_WEEK_SLOTS] = {};
    ASSERT_TRUE(CTrainingManager::ReadPlanFile("Data\\Saves\\Hard Week.ctp", abyRead));
    EXPECT_EQ(0, std::memcmp(abyRead, abyWeek, sizeof abyWeek));
    EXPECT_EQ(training.SaveTrainingPlan("../escape", nullptr), nullptr) << "a plan name is a plain file name";
    // A built-in plan is not overwritten, and a plan that cannot be written
    // is not listed as saved.
    const int nPlans = CTrainingManager::GetPlans().GetCount();
    EXPECT_EQ(training.SaveTrainingPlan("normal", nullptr), nullptr);
    ASSERT_TRUE(CTrainingManager::ReadPlanFile("Data\\Training\\Normal.ptp", abyRead));
    EXPECT_NE(0, std::memcmp(abyRead, abyWeek, sizeof abyWeek));
    std::filesystem::remove_all("Data/Saves");
    EXPECT_EQ(training.SaveTrainingPlan("Lost Week", nullptr), nullptr);
    EXPECT_EQ(CTrainingManager::FindPlan("Lost Week"), nullptr);
    EXPECT_EQ(CTrainingManager::GetPlans().GetCount(), nPlans);
}

// The same squad trains a season twice from the same start, once on each
// plan: the attacking plan leaves better shooting, the defensive one better
// tackling.
TEST_F(HumanWorld, TwoPlansOnTwinSquadsMoveDevelopmentTheirOwnWay)
{
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    ASSERT_GT(m_pClub->GetStaffCount(0), 0) << "the club has coaches";
    std::vector<CPlayerDatabase*> players;
    for (CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        players.push_back(p);
    ASSERT_GE(players.size(), 15u);
    std::map<CPlayerDatabase*, std::vector<uint16_t>> start;
    for (CPlayerDatabase* p : players)
        start[p].assign(std::begin(p->m_awAttributes), std::end(p->m_awAttributes));
    std::vector<uint8_t> morale;
    for (int i = 0; i < m_pClub->GetStaffCount(0); ++i)
        morale.push_back(H().GetStaffFromID(m_pClub->m_awStaffSlots[0][i])->m_byMorale);
    const CDate firstDay = H().GetGameDate();

    auto season = [&](const char* pszPlan) {
        for (CPlayerDatabase* p : players)
            std::copy(start[p].begin(), start[p].end(), p->m_awAttributes);
        for (int i = 0; i < m_pClub->GetStaffCount(0); ++i)
            H().GetStaffFromID(m_pClub->m_awStaffSlots[0][i])->m_byMorale = morale[static_cast<size_t>(i)];
        H().SetGameDate(firstDay);
        plat::srand(77);
        training.SetCurrentPlan(CTrainingManager::FindPlan(pszPlan));
        training.LoadTrainingPlan(const_cast<TRAININGPLAN*>(training.GetCurrentPlan()));
        for (int nWeek = 0; nWeek < 40; ++nWeek) {
            H().SetGameDate(CDate(H().GetGameDate().GetValue(), 7));
            m_pClub->DoWeeklyTraining(training);
            for (CPlayerDatabase* p : players)
                p->DevelopPlayer(false, false);
        }
        // The squad's shooting and tackling after the season.
        std::pair<long, long> sums{0, 0};
        for (CPlayerDatabase* p : players) {
            sums.first += p->m_awAttributes[PLAYER_ATTRIBUTE_SHOOTING];
            sums.second += p->m_awAttributes[PLAYER_ATTRIBUTE_TACKLING];
        }
        return sums;
    };
    const auto attacking = season("Offensive");
    const auto defending = season("Defensive");
    EXPECT_GT(attacking.first, defending.first);
    EXPECT_GT(defending.second, attacking.second);
    // A season of weeks off lets the playing skills slip against work.
    const auto resting = season("WeekOff");
    EXPECT_LT(resting.first, defending.first);
    EXPECT_LT(resting.second, attacking.second);
}

TEST_F(HumanWorld, ACampCoversItsDaysAndSetsTheWeeksFactors)
{
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    const CDate start(1999, 8, 2);
    training.AddTrainingCamp(MakeCamp(0x51, start, 7, 2, 2, 0));
    training.AddTrainingCamp(MakeCamp(0x52, CDate(1999, 9, 6), 3, 0, 0, 1));
    EXPECT_EQ(training.FindCamp(0x52)->Start, CDate(1999, 9, 6));
    EXPECT_EQ(training.FindCamp(0x53), nullptr);
    EXPECT_EQ(H().GetTrainingCampFromID(0x51), training.FindCamp(0x51)) << "the root finds a human's booking";

    // The camp's seven days clash with a cup date; the day after does not.
    int nIndex = -1;
    struct Case {
        CDate day;
        bool bClash;
        int nIndex;
    };
    for (const Case& c : {Case{CDate(1999, 8, 1), false, -1}, Case{start, true, 0}, Case{CDate(1999, 8, 8), true, 0},
                          Case{CDate(1999, 8, 9), false, -1}, Case{CDate(1999, 9, 8), true, 1}}) {
        nIndex = -1;
        EXPECT_EQ(training.FindClashingCamp(c.day, 0, &nIndex), c.bClash) << c.day.GetDay() << "/" << c.day.GetMonth();
        EXPECT_EQ(nIndex, c.nIndex);
    }

    // A week in the camp: kind 2 trains harder (threshold 1.0, cap 7.0) and
    // the best facility with the first extra earns both bonuses each day.
    training.CalculateWeek(start);
    EXPECT_FLOAT_EQ(CTrainingManager::GetFactors().fFactorA, 7 * 1.0f * 0.14285715f);
    EXPECT_FLOAT_EQ(CTrainingManager::GetFactors().fFactorB, 7 * 7.0f * 0.14285715f);
    EXPECT_FLOAT_EQ(CTrainingManager::GetFactors().fCampBonusA, 7 * (8 + 4 + 4) * 0.14285715f * 0.01f);
    EXPECT_FLOAT_EQ(CTrainingManager::GetFactors().fCampBonusB, 7 * (8 + 4) * 0.14285715f * 0.01f);
    // Two days of a week in it.
    training.CalculateWeek(CDate(1999, 7, 28));
    EXPECT_FLOAT_EQ(CTrainingManager::GetFactors().fFactorA, (5 * 1.5f + 2 * 1.0f) * 0.14285715f);
    // No camp: the plain week.
    training.CalculateWeek(CDate(1999, 10, 4));
    EXPECT_FLOAT_EQ(CTrainingManager::GetFactors().fFactorA, 1.5f);
    EXPECT_FLOAT_EQ(CTrainingManager::GetFactors().fFactorB, 6.0f);
    EXPECT_FLOAT_EQ(CTrainingManager::GetFactors().fCampBonusA, 0.0f);

    // The weekly step takes the camp week into player development.
    H().SetGameDate(CDate(1999, 8, 9));
    m_pClub->DoWeeklyTraining(training);
    EXPECT_FLOAT_EQ(CPlayerDatabase::s_fEffortThreshold, 7 * 1.0f * 0.14285715f);
    EXPECT_GT(CPlayerDatabase::s_fTrainingRate, 0.3f);

    training.RemoveTrainingCamp(0);
    EXPECT_EQ(training.FindCamp(0x51), nullptr);
    EXPECT_EQ(training.GetCampCount(), 1);
}

TEST_F(HumanWorld, DelegationPicksThePlanAndTheIndividualSplits)
{
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    const CPlayerDatabase* pFirst = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
    const INDIVIDUALTRAINING* pEntry = training.FindPlayerEntry(pFirst->m_idPerson);
    ASSERT_NE(pEntry, nullptr) << "every squad player has his split";
    EXPECT_EQ(pEntry->abyAreas[0], 11);
    EXPECT_EQ(pEntry->wTicks, 65535);

    struct Case {
        uint8_t byDelegation;
        const char* pszPlan;
    };
    for (const Case& c : {Case{1, "Offensive"}, Case{2, "Normal"}, Case{3, "Defensive"}}) {
        m_pHuman->SetDelegation(SAVEGAME_DELEGATION_TRAINING, c.byDelegation);
        m_pClub->DoWeeklyTraining(training);
        EXPECT_STREQ(training.GetCurrentPlan()->szFile, c.pszPlan);
        int nSum = 0;
        for (uint8_t by : pEntry->abyAreas)
            nSum += by;
        EXPECT_EQ(nSum, 100) << "a style row shares out the whole effort";
    }
    LogCapture log;
    m_pHuman->SetDelegation(SAVEGAME_DELEGATION_TRAINING, 7);
    training.DoDelegate();
    EXPECT_TRUE(log.Contains("[CTrainingManager::DoDelegate] Unknown Delegation Style"));
}

TEST_F(HumanWorld, TheTrainingSectionRoundTripsAndRefusesDamage)
{
    CTrainingManager& training = m_pHuman->GetTrainingManager();
    training.AddTrainingCamp(MakeCamp(0x77, CDate(1999, 8, 2), 5, 1, 1, 2));
    uint8_t abyWeek[TRAINING_WEEK_SLOTS];
    for (int i = 0; i < TRAINING_WEEK_SLOTS; ++i)
        abyWeek[i] = static_cast<uint8_t>(i % TRAINING_ACTIVITY_KINDS);
    H().SetGameDate(CDate(1999, 7, 20));
    training.SetWeekPlan(abyWeek);
    training.SetCurrentPlan(nullptr);
    training.UpdateEmphasisFlags();
    const std::vector<uint8_t> bytes = SaveTraining(training);
    EXPECT_EQ(bytes.size(), 80u + 42 + 1600 + 1 + 4 + 42 + 81 + 1 + 4 + 4 + 16u);

    CSaveGame other;
    CBinaryReader reader(bytes);
    ASSERT_TRUE(other.GetTrainingManager().Load(reader));
    EXPECT_EQ(SaveTraining(other.GetTrainingManager()), bytes);
    EXPECT_EQ(other.GetTrainingManager().GetCurrentPlan(), &other.GetTrainingManager().GetClubPlan())
        << "the club's own plan stays current though no file holds it";
    EXPECT_EQ(other.GetTrainingManager().GetPlanDate(), CDate(1999, 7, 20));

    // A named plan that has gone falls back to "Normal".
    std::vector<uint8_t> gone = bytes;
    std::memcpy(gone.data(), "NoSuchPlan", 11);
    CBinaryReader goneReader(gone);
    ASSERT_TRUE(other.GetTrainingManager().Load(goneReader));
    EXPECT_STREQ(other.GetTrainingManager().GetCurrentPlan()->szFile, "Normal");

    struct Damage {
        const char* pszWhat;
        size_t nOffset;
        uint8_t byValue;
        size_t nCut;
    };
    const size_t nCampCount = bytes.size() - 16 - 4;
    for (const Damage& d : {Damage{"an activity kind off the table", 80, 12, 0},
                            Damage{"a camp count beyond the bytes", nCampCount + 1, 1, 0},
                            Damage{"a section cut short", 0, 0, 9}}) {
        std::vector<uint8_t> damaged(bytes.begin(), bytes.end() - static_cast<long>(d.nCut));
        if (d.nCut == 0)
            damaged[d.nOffset] = d.byValue;
        CBinaryReader damagedReader(damaged);
        EXPECT_FALSE(other.GetTrainingManager().Load(damagedReader)) << d.pszWhat;
    }
}

// A Monday when the coaches have nothing to do: the training week writes
// the idle letter about the first coach and the staff review writes one
// about each unhappy idle coach; each coach hears it once.
TEST_F(HumanWorld, AnIdleCoachGetsOneLetterOnAMonday)
{
    // A handful of players for the coaches and a week of rest.
    while (m_pClub->m_lstYouths.GetCount() > 0) {
        auto* pYouth = static_cast<CYouthDatabase*>(m_pClub->m_lstYouths.GetHead()->pData);
        ASSERT_TRUE(m_pClub->RemoveYouth(pYouth));
        delete pYouth;
    }
    while (m_pClub->m_lstPlayers.GetCount() > 6)
        ASSERT_TRUE(
            m_pClub->RemovePlayer(static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetTail()->pData), false));
    m_pHuman->GetTrainingManager().LoadTrainingPlan(CTrainingManager::FindPlan("WeekOff"));
    const CStaffDatabase* pFirst = m_pClub->GetFirstStaffOfKind(0);
    ASSERT_NE(pFirst, nullptr);
    std::vector<CStaffDatabase*> coaches;
    for (int nPlace = 0; nPlace < m_pClub->GetStaffCount(0); ++nPlace)
        if (CStaffDatabase* pCoach = H().GetStaffFromID(m_pClub->m_awStaffSlots[0][nPlace])) {
            pCoach->m_byMorale = 5;
            coaches.push_back(pCoach);
        }
    ASSERT_EQ(m_pClub->GetStaffWorkloadStatus(0, m_pClub->GetStaffCount(0)), 2) << "the coaches are underused";

    H().SetGameDate(CDate(1999, 8, 9));
    m_pClub->ClubPeriodicStep(true);
    for (const CStaffDatabase* pCoach : coaches) {
        int nLetters = 0;
        for (const CNewsItem* pItem : m_pHuman->GetNews().GetIncoming().Items<CNewsItem>())
            nLetters += pItem->GetType() == 6 && pItem->GetSlot(NEWS_SLOT_STAFF) == pCoach->GetId();
        EXPECT_EQ(nLetters, 1) << "coach " << pCoach->GetId() << (pCoach == pFirst ? " (the first)" : "");
    }
}
