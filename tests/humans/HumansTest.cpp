// The human manager's record: creation by the new-game popup, the season
// and club set-up, the .sav file beside the .bin, formations and set
// pieces, the money books and a week of the day loop with a human club.
#include "HumanWorld.h"
#include "database/CManagerDatabase.h"
#include "season/CScoutManager.h"
#include "season/CTrainingManager.h"

#include "database/CDivisionFixturesDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CNoticeList.h"
#include "season/CSavedGameSet.h"

#include <cstring>
#include <vector>

using namespace humans_test;

namespace {

// ---- the new-game popup ----

TEST(NewHuman, SplitsTheNameCreatesTheManagerAndRefusesBadInput)
{
    HumanFolder folder;
    auto handler = LoadStartingWorld();
    ASSERT_NE(handler, nullptr);

    CSaveGame* pAda = CSaveGame::CreateNewHuman(*handler, 0, "Ada Van Lovell", 12, 3);
    ASSERT_NE(pAda, nullptr);
    EXPECT_STREQ(pAda->GetFirstName(), "Ada");
    EXPECT_STREQ(pAda->GetSurname(), "Van Lovell");
    EXPECT_EQ(handler->GetHumanSlot(0), pAda);
    EXPECT_EQ(pAda->GetCountry(), handler->GetCountryFromID(3));
    const CManagerDatabase* pManager = handler->GetManagerFromID(pAda->GetManagerID());
    ASSERT_NE(pManager, nullptr);
    EXPECT_EQ(pManager->m_byAbility, 40);
    EXPECT_EQ(pManager->m_byRating, 40);
    EXPECT_EQ(pManager->m_byNationality, 12);
    EXPECT_STREQ(pManager->GetShortName(), "A. Van Lovell") << "the record's names are the human's";

    CSaveGame* pPlato = CSaveGame::CreateNewHuman(*handler, 2, "Plato", 1, 1);
    ASSERT_NE(pPlato, nullptr);
    EXPECT_STREQ(pPlato->GetFirstName(), "");
    EXPECT_STREQ(pPlato->GetSurname(), "Plato");
    EXPECT_EQ(pPlato->GetPlayerNumber(), 1);
    EXPECT_EQ(pAda->GetColourForClub(), 1834859u);
    EXPECT_EQ(pPlato->GetColourForClub(), 16753755u);

    EXPECT_EQ(CSaveGame::CreateNewHuman(*handler, 0, "Someone Else", 1, 1), nullptr) << "slot taken";
    EXPECT_EQ(CSaveGame::CreateNewHuman(*handler, 4, "Someone Else", 1, 1), nullptr) << "no fifth slot";
    EXPECT_EQ(CSaveGame::CreateNewHuman(*handler, 1, "", 1, 1), nullptr);
    EXPECT_EQ(CSaveGame::CreateNewHuman(*handler, 1, std::string(40, 'x').c_str(), 1, 1), nullptr);
    EXPECT_NE(CSaveGame::CreateNewHuman(*handler, 1, std::string(39, 'x').c_str(), 1, 1), nullptr);
    EXPECT_EQ(handler->GetHumanCount(), 3);
}

TEST(NewHuman, FileNamesFromTheUserRefusePathMarks)
{
    const std::string longName(40, 'n');
    const struct {
        const char* pszName;
        bool bValid;
    } cases[] = {
        {"Attack", true},     {"4-4-2 wide", true}, {"../Data", false},    {"a/b", false},
        {"a\\b", false},      {"C:x", false},       {".hidden", false},    {"", false},
        {longName.c_str(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CSaveGame::IsValidFileName(c.pszName), c.bValid) << c.pszName;
}

// ---- season and club ----

TEST_F(HumanWorld, SetsUpTheSeasonAndTheClub)
{
    EXPECT_EQ(m_pHuman->GetSeasonStart(), CDate(1999, 7, 10));
    EXPECT_EQ(m_pHuman->GetSeasonEnd(), CDate(2000, 5, 27));
    EXPECT_EQ(m_pHuman->GetWeeksInSeason(), 46u);
    EXPECT_EQ(m_pHuman->GetClub(), m_pClub);
    EXPECT_EQ(m_pClub->GetManager()->GetId(), m_pHuman->GetManagerID()) << "the human runs the club";
    EXPECT_EQ(H().GetSaveGameForClub(m_pClub), m_pHuman);
    EXPECT_EQ(m_pHuman->GetCountry(), m_pClub->m_pCountry);
    EXPECT_STREQ(m_pHuman->GetFormationName(), "4-4-2");
    EXPECT_EQ(m_pHuman->GetWorkingEntry(0).byOrder, 0) << "the shipped formation was applied";
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        ASSERT_NE(m_pHuman->GetSheetPlayer(i), nullptr) << "line-up place " << i + 1;
        EXPECT_EQ(m_pHuman->GetSheetPlayer(i)->m_pClub, m_pClub);
    }
    EXPECT_EQ(m_pHuman->GetSquadList().GetCount(), m_pClub->m_lstPlayers.GetCount());

    // The quick engine plays the sheet he named; a gap in the eleven leaves
    // the pick to the club.
    CPlayerDatabase* apSheet[SAVEGAME_LINEUP + 5] = {};
    ASSERT_TRUE(m_pHuman->GetMatchSheet(apSheet, 0, 5));
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        EXPECT_EQ(apSheet[i], m_pHuman->GetSheetPlayer(i));
    EXPECT_NE(apSheet[SAVEGAME_LINEUP + 4], nullptr) << "five substitutes from the sheet";
    CPlayerDatabase* pFirst = m_pHuman->GetSheetPlayer(0);
    m_pHuman->SetSheetPlayer(0, nullptr);
    EXPECT_FALSE(m_pHuman->GetMatchSheet(apSheet, 0, 5));
    m_pHuman->SetSheetPlayer(0, pFirst);
    RunDays(1);
    int32_t nOpponent = m_pHuman->GetNextFixture(nullptr, nullptr, nullptr, nullptr);
    EXPECT_GT(nOpponent, 0) << "the next-fixture cache names the first opponent";
}

TEST_F(HumanWorld, MatchOrdersKeepToTheirRangesAndAClubTakenOverStartsFromTheStandard)
{
    const struct {
        int nOrder, nValue, nStored;
    } values[] = {{0, -5, 0}, {1, 150, 100}, {2, 63, 63}, {7, 100, 100}};
    for (const auto& v : values) {
        m_pHuman->SetTeamOrderValue(v.nOrder, v.nValue);
        EXPECT_EQ(m_pHuman->GetTeamOrderValue(v.nOrder), v.nStored) << v.nOrder;
    }
    const struct {
        int nPlace, nOrder, nValue, nStored;
    } offsets[] = {{10, 0, 25, 20}, {10, 1, -30, -20}, {0, 7, -3, -3}, {5, 4, 20, 20}};
    for (const auto& o : offsets) {
        m_pHuman->SetTeamOrderAdjustment(o.nPlace, o.nOrder, o.nValue);
        EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(o.nPlace, o.nOrder), o.nStored) << o.nPlace << "/" << o.nOrder;
    }
    // Orders, places and options out of range change nothing and read as
    // the standard.
    m_pHuman->SetTeamOrderValue(8, 10);
    m_pHuman->SetTeamOrderAdjustment(11, 0, 5);
    m_pHuman->SetTeamOrderOption(2, true);
    m_pHuman->SetTeamOrderOption(1, true);
    EXPECT_EQ(m_pHuman->GetTeamOrderValue(8), 50);
    EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(11, 0), 0);
    EXPECT_FALSE(m_pHuman->GetTeamOrderOption(2));
    EXPECT_TRUE(m_pHuman->GetTeamOrderOption(1));

    // Every place, the last ones too, starts a club without offsets.
    m_pHuman->SetupClub(1, 1);
    for (int nOrder = 0; nOrder < SAVEGAME_TEAM_ORDERS; ++nOrder) {
        EXPECT_EQ(m_pHuman->GetTeamOrderValue(nOrder), 50) << nOrder;
        for (int nPlace = 0; nPlace < SAVEGAME_LINEUP; ++nPlace)
            EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(nPlace, nOrder), 0) << nPlace << "/" << nOrder;
    }
    EXPECT_FALSE(m_pHuman->GetTeamOrderOption(1));
}

TEST_F(HumanWorld, WithoutAClubKeepsNameAndTakesCountryOne)
{
    m_pHuman->LeaveClub();
    m_pHuman->SetupClub(1, 1);
    EXPECT_EQ(m_pHuman->GetClub(), nullptr);
    EXPECT_EQ(m_pHuman->GetManagerID(), 0);
    EXPECT_EQ(m_pHuman->GetCountry(), H().GetCountryFromID(1));
    EXPECT_STREQ(m_pHuman->GetSurname(), "Lovell");
    EXPECT_EQ(m_pHuman->GetSheetPlayer(0), nullptr);
}

// ---- the .sav file ----

struct SavedSet {
    std::string bin;
    std::string sav;
};

SavedSet SaveSet(CDatabaseHandler& handler, const fs::path& stem)
{
    FILE* pBin = std::fopen((stem.string() + ".bin").c_str(), "wb");
    EXPECT_TRUE(handler.Save(pBin));
    std::fclose(pBin);
    FILE* pSav = std::fopen((stem.string() + ".sav").c_str(), "wb");
    EXPECT_TRUE(handler.SaveHumans(pSav));
    std::fclose(pSav);
    return {ReadFile(stem.string() + ".bin"), ReadFile(stem.string() + ".sav")};
}

std::unique_ptr<CDatabaseHandler> LoadSet(const fs::path& stem, bool* pbHumans)
{
    auto handler = std::make_unique<CDatabaseHandler>();
    FILE* pBin = std::fopen((stem.string() + ".bin").c_str(), "rb");
    const bool bLoaded = pBin && handler->Load(pBin);
    if (pBin)
        std::fclose(pBin);
    if (!bLoaded)
        return nullptr;
    handler->SetupPointers();
    FILE* pSav = std::fopen((stem.string() + ".sav").c_str(), "rb");
    *pbHumans = pSav && handler->LoadHumans(pSav);
    if (pSav)
        std::fclose(pSav);
    return handler;
}

TEST_F(HumanWorld, SavedGameReadsBackByteIdenticalWithTheCurrentHumanPacked)
{
    RunDays(3);
    // A player of another club of the world goes on the shortlist.
    const CClubDatabase* pOther = H().GetClubFromID(2);
    ASSERT_TRUE(pOther && pOther->m_lstPlayers.GetHead());
    const ID_PLAYER idListed = static_cast<CPlayerDatabase*>(pOther->m_lstPlayers.GetHead()->pData)->m_idPerson;
    m_pHuman->AddToShortlist(H().GetPlayerFromID(idListed));
    m_pHuman->ApplyForJob(H().GetClubFromID(30));
    m_pHuman->AddFinanceTransaction(86, 0, 25000, 0, 1);
    // News, filed and incoming, a kept story and a notice travel in the body.
    CNewsItem* pFiled = m_pHuman->PostNews(250, m_pClub);
    pFiled->SetSlot(NEWS_SLOT_PERSON, idListed);
    m_pHuman->GetNews().FileNewsItem(7, pFiled, 2);
    m_pHuman->PostNews(265, pOther);
    CNewspaperStory* pKept = m_pHuman->GetScrapbook().AddPendingStory(3, 296);
    pKept->SetParameterSlot(0, pOther->GetID());
    m_pHuman->GetScrapbook().PublishStory(pKept, 5);
    m_pHuman->GetNotices().AddNotice(11);
    // Training and scouting: the club's own week with a camp, a scout out
    // watching and a report back.
    uint8_t abyWeek[TRAINING_WEEK_SLOTS];
    for (int i = 0; i < TRAINING_WEEK_SLOTS; ++i)
        abyWeek[i] = static_cast<uint8_t>(i % 11);
    m_pHuman->GetTrainingManager().SetWeekPlan(abyWeek);
    m_pHuman->GetTrainingManager().SetCurrentPlan(nullptr);
    auto* pCamp = new TRAININGCAMP;
    pCamp->abyBooking[0] = 0x42;
    pCamp->Start = CDate(1999, 9, 1);
    pCamp->byLength = 4;
    m_pHuman->GetTrainingManager().AddTrainingCamp(pCamp);
    auto staffAt = [this](int n) {
        return H().GetStaffFromID(
            static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(H().GetStaffPool().GetAt(n)->pData)));
    };
    auto* pReported = new CScoutPlayerQuery;
    pReported->SetScout(staffAt(0));
    pReported->AddPlayer(H().GetPlayerFromID(idListed), false);
    ASSERT_TRUE(m_pHuman->GetScoutManager().SendScout(pReported, 1));
    m_pHuman->GetScoutManager().CompleteScoutQuery(pReported);
    auto* pWatching = new CScoutPlayerQuery;
    pWatching->SetScout(staffAt(1));
    pWatching->AddPlayer(H().GetPlayerFromID(idListed), false);
    ASSERT_TRUE(m_pHuman->GetScoutManager().SendScout(pWatching, 30));
    const uint32_t dwWatching = pWatching->m_dwID;
    // Slots 0 and 2: the second human is current, and lands in slot 1.
    CSaveGame* pSecond = CSaveGame::CreateNewHuman(H(), 2, "Bo Tranter", 3, 2);
    ASSERT_NE(pSecond, nullptr);
    H().SetCurrentHumanIndex(2);

    const fs::path stem = fs::path("Data") / "Saves" / "Game";
    const SavedSet first = SaveSet(H(), stem);
    const ID_PLAYER idFirstPlace = m_pHuman->GetSheetPlayer(0)->m_idPerson;
    const std::string clubName = m_pClub->GetName();
    // The records reach their root through one link each: one world at a time.
    m_handler.reset();
    ASSERT_EQ(static_cast<uint8_t>(first.sav[0]), 2);
    EXPECT_EQ(static_cast<uint8_t>(first.sav[1]) | static_cast<uint8_t>(first.sav[2]) << 8, 48880);
    EXPECT_EQ(static_cast<uint8_t>(first.sav[3]), 224);
    EXPECT_EQ(first.sav.substr(5, 9), std::string("A. Lovell"));
    EXPECT_EQ(first.sav.substr(35, clubName.size()), clubName);

    bool bHumans = false;
    auto loaded = LoadSet(stem, &bHumans);
    ASSERT_NE(loaded, nullptr);
    ASSERT_TRUE(bHumans);
    EXPECT_EQ(loaded->GetHumanCount(), 2);
    ASSERT_NE(loaded->GetCurrentSaveGame(), nullptr) << "the current human names an occupied slot";
    EXPECT_STREQ(loaded->GetCurrentSaveGame()->GetSurname(), "Tranter");
    CSaveGame* pAda = loaded->GetHumanSlot(0);
    ASSERT_NE(pAda, nullptr);
    EXPECT_EQ(pAda->GetClub(), loaded->GetClubFromID(1));
    EXPECT_STREQ(loaded->GetManagerFromID(pAda->GetManagerID())->GetShortName(), "A. Lovell");
    EXPECT_EQ(pAda->GetSavings(), 25000);
    EXPECT_TRUE(pAda->IsShortlisted(idListed));
    EXPECT_EQ(pAda->GetSheetPlayer(0)->m_idPerson, idFirstPlace);
    ASSERT_EQ(pAda->GetNews().GetArchive().GetCount(), 1);
    EXPECT_EQ(static_cast<const CNewsItem*>(pAda->GetNews().GetArchive().GetHead()->pData)->GetExtra(), idListed);
    ASSERT_NE(pAda->GetNews().FindIncoming(265), nullptr);
    ASSERT_EQ(pAda->GetScrapbook().GetPrintedStories().GetCount(), 1);
    EXPECT_EQ(static_cast<const CNewspaperStory*>(pAda->GetScrapbook().GetPrintedStories().GetHead()->pData)
                  ->GetClubA(),
              loaded->GetClubFromID(2));
    EXPECT_NE(pAda->GetNotices().FindNotice(11), nullptr);
    EXPECT_NE(pAda->GetTrainingManager().GetTrainingCampFromID(0x42), nullptr);
    EXPECT_EQ(pAda->GetTrainingManager().GetWeekPlan()[5], 5);
    EXPECT_NE(pAda->GetScoutManager().FindReport(idListed), nullptr);
    EXPECT_NE(loaded->GetScoutQueryFromID(dwWatching), nullptr);

    const SavedSet second = SaveSet(*loaded, fs::path("Data") / "Saves" / "Again");
    EXPECT_EQ(second.bin, first.bin) << "the .bin is written again byte for byte";
    // The descriptors carry the local date of saving; the bodies must match.
    EXPECT_EQ(second.sav.size(), first.sav.size());
    EXPECT_EQ(second.sav.substr(1 + 2 * SAVEGAME_DESCRIPTOR_BYTES), first.sav.substr(1 + 2 * SAVEGAME_DESCRIPTOR_BYTES));
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(second.sav.substr(1 + i * 100, 84), first.sav.substr(1 + i * 100, 84));
}

TEST_F(HumanWorld, ASavedSetCarriesTheHumanWithHisFinanceFiles)
{
    RunDays(40);  // a month closed: the finance book has a month on file
    const std::string books[] = {m_pHuman->GetHistoryFileName(), m_pHuman->GetProjectedFinanceFileName()};
    std::vector<std::string> before;
    for (const std::string& name : books) {
        before.push_back(ReadFile(name));
        EXPECT_FALSE(before.back().empty()) << name;
    }
    std::string error;
    ASSERT_TRUE(CSavedGameSet("Data/Saves/Set.bin").Save(H(), error)) << error;
    m_handler.reset();

    auto loaded = std::make_unique<CDatabaseHandler>();
    ASSERT_TRUE(CSavedGameSet("Data/Saves/Set.bin").Load(*loaded, error)) << error;
    ASSERT_EQ(loaded->GetHumanCount(), 1);
    EXPECT_EQ(loaded->GetHumanSlot(0)->GetClub(), loaded->GetClubFromID(1));
    for (size_t i = 0; i < std::size(books); ++i)
        EXPECT_TRUE(ReadFile(books[i]) == before[i]) << books[i] << " is unpacked as it was";
}

TEST_F(HumanWorld, ANoHumanSetIsOneByteAndADamagedSavIsRefused)
{
    const fs::path stem = fs::path("Data") / "Saves" / "Damaged";
    const SavedSet good = SaveSet(H(), stem);
    const std::string sav = good.sav;
    m_handler.reset();

    // Cut anywhere in the body, or a count larger than what follows.
    std::vector<std::string> damaged;
    for (size_t nCut : {size_t(0), size_t(1), size_t(50), size_t(101), size_t(140), size_t(5000), size_t(11600),
                        sav.size() - 200, sav.size() - 1})
        damaged.push_back(sav.substr(0, nCut));
    std::string count = sav;
    count[0] = 5;
    damaged.push_back(count);
    std::string list = sav;
    const size_t nReports = 1 + SAVEGAME_DESCRIPTOR_BYTES + 11514;
    list[nReports + 3] = 0x7F;
    damaged.push_back(list);

    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        WriteFile(stem.string() + ".sav", damaged[i]);
        bool bHumans = true;
        auto loaded = LoadSet(stem, &bHumans);
        ASSERT_NE(loaded, nullptr);
        EXPECT_FALSE(bHumans);
        EXPECT_EQ(loaded->GetHumanCount(), 0) << "no half-read human is left in a slot";
        EXPECT_EQ(loaded->GetCurrentSaveGame(), nullptr);
        if (i + 1 == damaged.size()) {
            FILE* pSav = std::fopen("Data/Saves/Empty.sav", "wb");
            EXPECT_TRUE(loaded->SaveHumans(pSav));
            std::fclose(pSav);
        }
    }
    EXPECT_EQ(ReadFile("Data/Saves/Empty.sav"), std::string(1, '\0'));
}

TEST(NoHumans, ASetWithoutHumansIsOneByte)
{
    HumanFolder folder;
    auto handler = LoadStartingWorld();
    ASSERT_NE(handler, nullptr);
    FILE* pSav = std::fopen("Data/Saves/Empty.sav", "wb");
    EXPECT_TRUE(handler->SaveHumans(pSav));
    std::fclose(pSav);
    EXPECT_EQ(ReadFile("Data/Saves/Empty.sav"), std::string(1, '\0'));
}

// ---- formations and set pieces ----

TEST_F(HumanWorld, FormationsRoundTripAndBadFilesChangeNothing)
{
    ASSERT_TRUE(m_pHuman->SaveTactics("Mine"));
    const std::string mine = ReadFile("Data/Saves/Mine.ct");
    EXPECT_EQ(mine.size(), 4u + 66u + 11u * 488u);
    EXPECT_STREQ(m_pHuman->GetFormationName(), "Mine");

    ASSERT_TRUE(m_pHuman->LoadTactics("4-3-3", true));
    EXPECT_STREQ(m_pHuman->GetFormationName(), "4-3-3");
    const int nX433 = m_pHuman->GetWorkingEntry(10).wX;
    ASSERT_TRUE(m_pHuman->LoadTactics("Mine", false));
    ASSERT_TRUE(m_pHuman->SaveTactics("Again"));
    EXPECT_EQ(ReadFile("Data/Saves/Again.ct"), mine) << "a formation reads back as it was written";

    std::string badMagic = mine, badVersion = mine;
    badMagic[0] = 1;
    badVersion[2] = 1;
    WriteFile("Data/Saves/Magic.ct", badMagic);
    WriteFile("Data/Saves/Version.ct", badVersion);
    WriteFile("Data/Saves/Short.ct", mine.substr(0, 1000));
    ASSERT_TRUE(m_pHuman->LoadTactics("4-3-3", true));
    for (const char* pszName : {"Magic", "Version", "Short", "Missing"}) {
        EXPECT_FALSE(m_pHuman->LoadTactics(pszName, false)) << pszName;
        EXPECT_STREQ(m_pHuman->GetFormationName(), "4-3-3");
        EXPECT_EQ(m_pHuman->GetWorkingEntry(10).wX, nX433) << "a bad file leaves the formation";
    }

    EXPECT_FALSE(m_pHuman->SaveTactics("../Escape"));
    EXPECT_FALSE(fs::exists("Data/Escape.ct"));

    MATCHLAYOUTENTRY layout[SAVEGAME_LINEUP];
    EXPECT_TRUE(CSaveGame::LoadTactics("4-4-2", layout));
    FORMATIONDATA shipped;
    ASSERT_TRUE(CSaveGame::ReadFormationFile("Data\\Tactics\\4-4-2.pdt", shipped));
    EXPECT_EQ(layout[3].anFirst[7][0], shipped.aBlocks[3].anFirst[7][0] * 25);
    EXPECT_EQ(layout[3].wSlot, 255);
    EXPECT_FALSE(CSaveGame::LoadTactics("Missing", layout));
    EXPECT_EQ(layout[3].anFirst[7][0], 0) << "a missing formation gives an empty layout";
}

void Put32(std::string& bytes, size_t nAt, int32_t nValue)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(nAt + i) = static_cast<char>(static_cast<uint32_t>(nValue) >> (8 * i));
}

TEST_F(HumanWorld, FormationPositionsOffThePitchAreRefusedInFormationFilesAndTheSav)
{
    ASSERT_TRUE(m_pHuman->LoadTactics("4-3-3", true));
    ASSERT_TRUE(m_pHuman->SaveTactics("Mine"));
    const std::string mine = ReadFile("Data/Saves/Mine.ct");
    constexpr size_t kBlocks = 70, kBlock = 488;
    struct Case {
        const char* pszName;
        size_t nAt;
        int32_t nValue;
    };
    const Case cases[] = {
        {"Overflow", kBlocks, 0x7FFFFFFF},                             // x of the first zone
        {"BehindTheLine", kBlocks + 5 * kBlock + 240 + 3 * 8 + 4, -1},  // y of a second-kind zone
        {"PastTheTouchline", kBlocks + 2 * kBlock + 8 + 4, 301},
        {"HugeValue", kBlocks + 10 * kBlock + 480, 100000000},
    };
    for (const Case& c : cases) {
        std::string file = mine;
        Put32(file, c.nAt, c.nValue);
        WriteFile(std::string("Data/Saves/") + c.pszName + ".ct", file);
        EXPECT_FALSE(m_pHuman->LoadTactics(c.pszName, false)) << c.pszName;
        EXPECT_STREQ(m_pHuman->GetFormationName(), "Mine") << c.pszName;
    }
    // The edge of the pitch is on it.
    std::string edge = mine;
    Put32(edge, kBlocks, 400);
    Put32(edge, kBlocks + 4, 300);
    WriteFile("Data/Saves/Edge.ct", edge);
    EXPECT_TRUE(m_pHuman->LoadTactics("Edge", false));

    // The .sav carries the working blocks: one off the pitch refuses the humans.
    std::string block;
    const POSITIONBLOCK& working = m_pHuman->GetWorkingBlock(0);
    auto add = [&block](int32_t n) {
        block.resize(block.size() + 4);
        Put32(block, block.size() - 4, n);
    };
    for (const auto& an : working.anFirst)
        add(an[0]), add(an[1]);
    for (const auto& an : working.anSecond)
        add(an[0]), add(an[1]);
    add(working.nValue);
    add(working.nExtra);
    const fs::path stem = fs::path("Data") / "Saves" / "OffPitch";
    std::string sav = SaveSet(H(), stem).sav;
    const size_t nAt = sav.find(block);
    ASSERT_NE(nAt, std::string::npos);
    Put32(sav, nAt, 0x7FFFFFFF);
    WriteFile(stem.string() + ".sav", sav);
    m_handler.reset();
    bool bHumans = true;
    auto loaded = LoadSet(stem, &bHumans);
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(bHumans);
    EXPECT_EQ(loaded->GetHumanCount(), 0);
}

TEST_F(HumanWorld, FormationEntriesAreWrittenByPositionOrderThenSlot)
{
    FORMATIONDATA data;
    const uint8_t abyOrders[SAVEGAME_LINEUP] = {0, 9, 2, 2, 1, 9, 0, 5, 5, 5, 3};
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        data.aEntries[i].byOrder = abyOrders[i];
        data.aEntries[i].wX = static_cast<uint16_t>(i);
        data.aBlocks[i].nValue = i;
    }
    ASSERT_TRUE(CSaveGame::WriteFormationFile("Data\\Saves\\Order.ct", data));
    FORMATIONDATA read;
    ASSERT_TRUE(CSaveGame::ReadFormationFile("Data\\Saves\\Order.ct", read));
    const int anSlots[SAVEGAME_LINEUP] = {0, 6, 4, 2, 3, 10, 7, 8, 9, 1, 5};
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        EXPECT_EQ(read.aEntries[i].wX, anSlots[i]) << i;
        EXPECT_EQ(read.aBlocks[i].nValue, anSlots[i]) << "blocks follow their entries";
    }
}

TEST_F(HumanWorld, SetPiecesRoundTripCountAndRefuseTooManyTargets)
{
    SETPIECEROUTINE& withPoints = m_pHuman->FreeKickRoutine(4, 0);
    withPoints.bHasPoints = true;
    withPoints.awPoints[2][0] = 180;
    withPoints.awPoints[2][1] = 54;
    withPoints.byTaker = 3;
    SETPIECEROUTINE& withTargets = m_pHuman->FreeKickRoutine(4, 2);
    withTargets.byTargetCount = 2;
    withTargets.awTargetX[0] = 65535;
    withTargets.awTargetY[0] = 77;
    withTargets.awTargetX[1] = 300;
    withTargets.awTargetY[1] = 10;
    m_pHuman->CornerRoutine(1, 0, 1).byTargetCount = 1;
    EXPECT_EQ(m_pHuman->GetFreeKickRoutineCount(4), 2) << "points alone or targets alone count as set";
    EXPECT_EQ(m_pHuman->GetFreeKickRoutineCount(5), 0);

    ASSERT_TRUE(m_pHuman->SaveFreeKicks("Set"));
    ASSERT_TRUE(m_pHuman->SaveCorners("Set"));
    const std::string frk = ReadFile("Data/Saves/Set.frk");
    EXPECT_EQ(frk.size(), 4u + 87u * 36u + 44u);
    EXPECT_EQ(ReadFile("Data/Saves/Set.crn").size(), 4u + 12u * 36u);

    ASSERT_TRUE(m_pHuman->LoadFreeKicks("none", true));
    EXPECT_EQ(m_pHuman->GetFreeKickRoutineCount(4), 0);
    ASSERT_TRUE(m_pHuman->LoadFreeKicks("Set", false));
    ASSERT_TRUE(m_pHuman->LoadCorners("Set", false));
    EXPECT_EQ(m_pHuman->GetFreeKickRoutineCount(4), 2);
    EXPECT_EQ(m_pHuman->GetCornerRoutineCount(1, 0), 1);

    MATCHSETPIECE routine;
    ASSERT_TRUE(m_pHuman->GetFreeKickRoutine(routine, 4, 0));
    EXPECT_EQ(routine.byHasPoints, 1);
    EXPECT_EQ(routine.anPoints[2][0], (180 - 100) * 25);
    EXPECT_EQ(routine.anPoints[2][1], (54 - 4) * 25);
    EXPECT_EQ(routine.byTaker, 3);
    ASSERT_TRUE(m_pHuman->GetFreeKickRoutine(routine, 4, 2));
    EXPECT_EQ(routine.awTargetX[0], 65535);
    EXPECT_EQ(routine.awTargetY[0], 77) << "a target at x 65535 keeps its y";
    EXPECT_EQ(routine.awTargetX[1], 300 * 25 - 2500);
    EXPECT_EQ(routine.awTargetY[1], 10 * 25 - 100);

    // A target count above seven would index past the targets.
    std::string bad = frk;
    // Zone 4's first routine carries 11 points (44 bytes) before its third.
    bad[4 + 36 * 14 + 44 + 33] = 8;
    WriteFile("Data/Saves/Bad.frk", bad);
    EXPECT_FALSE(m_pHuman->LoadFreeKicks("Bad", false));
    EXPECT_EQ(m_pHuman->GetFreeKickRoutineCount(4), 2) << "a refused file leaves the routines";
    WriteFile("Data/Saves/Cut.frk", frk.substr(0, 500));
    EXPECT_FALSE(m_pHuman->LoadFreeKicks("Cut", false));
    EXPECT_FALSE(m_pHuman->SaveFreeKicks("a\\b"));
}

// ---- money ----

TEST_F(HumanWorld, TransactionsMoveTheRightBalances)
{
    const int32_t nBank = m_pClub->m_nBankBalance;
    m_pHuman->AddFinanceTransaction(9, 0, 1000, 0, 0);
    EXPECT_EQ(m_pClub->m_nBankBalance, nBank) << "balance byte 2 books without moving the bank";
    EXPECT_EQ(m_pHuman->GetMonthEntry(9).nExpense, 1000);
    EXPECT_EQ(m_pHuman->GetSeasonEntry(9).nExpense, 1000);
    m_pHuman->AddFinanceTransaction(5, 3000, 500, 2, 0);
    EXPECT_EQ(m_pClub->m_nBankBalance, nBank + 2500);

    m_pHuman->AddFinanceTransaction(86, 0, 4000, 0, 0);
    EXPECT_EQ(m_pHuman->GetSavings(), 4000) << "a deposit";
    m_pHuman->AddFinanceTransaction(86, 1500, 700, 0, 0);
    EXPECT_EQ(m_pHuman->GetSavings(), 2500) << "income and expense together withdraw the income only";
    m_pHuman->AddFinanceTransaction(85, 30, 0, 0, 0);
    EXPECT_EQ(m_pHuman->GetSavings(), 2530);
    const auto* pLast = static_cast<const BALANCERECORD*>(m_pHuman->GetBalanceRecords().GetTail()->pData);
    EXPECT_EQ(pLast->wKind, 3);
    EXPECT_EQ(pLast->nBalanceAfter, 2530);
}

TEST_F(HumanWorld, MonthlyFileKeepsTheLastTwelveMonths)
{
    for (int nMonth = 0; nMonth < 13; ++nMonth) {
        m_pHuman->AddFinanceTransaction(1, 100 + nMonth, 0, 1, 0);
        m_pHuman->CloseFinanceMonth();
        EXPECT_TRUE(m_pHuman->GetTransactions().IsEmpty());
    }
    EXPECT_EQ(m_pHuman->CountFinanceMonths(), 12);
    const std::string fty = ReadFile("Temp0.fty");
    ASSERT_EQ(fty.size(), 12u * (4 + 1724 + 16));
    // The first record left is the second month's: its one transaction.
    int32_t nIncome = 0;
    std::memcpy(&nIncome, fty.data() + 4 + 1724, 4);
    EXPECT_EQ(nIncome, 101);

    m_pHuman->NewSeason();
    EXPECT_EQ(ReadFile("Temp0.fhs"), fty) << "the season's months go to the history file";
}

// ---- the day loop ----

// The computer's squad, staff and money upkeep stays away from a human's club
// over a season, while a computer club in the same state is put right.
TEST_F(HumanWorld, TheComputerLeavesAHumansSquadAndStaffAlone)
{
    CClubDatabase* pComputer = H().GetClubFromID(2);
    ASSERT_NE(pComputer, nullptr);
    ASSERT_EQ(H().GetSaveGameForClub(pComputer), nullptr);
    // Both clubs: ten goalkeepers (eight is the most a squad keeps) and two
    // staff of kind 2 more than they need.
    for (CClubDatabase* pClub : {m_pClub, pComputer}) {
        while (pClub->CountSquadOfGroup(0) < 10) {
            auto* pYouth = new CYouthDatabase(pClub, 0);
            pClub->AddYouthPlayer(pYouth);
            ASSERT_NE(pClub->PromoteYouth(pYouth), nullptr);
        }
        for (int i = 0; i < 2; ++i) {
            ID_STAFF idHire = 0;
            for (const void* pValue : H().GetStaffPool().Items<void>()) {
                const auto id = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
                if (H().GetStaffFromID(id)->m_byKind == 2)
                    idHire = id;
            }
            ASSERT_NE(idHire, 0);
            ASSERT_EQ(H().HireStaff(idHire, pClub), 0);
        }
        ASSERT_GT(pClub->CountStaffOfType(2), pClub->GetStaffNeeded(2));
    }
    // Both deep in debt: far below the lowest balance a computer club keeps.
    // The human draws no wage here, so that the season's costs keep his club
    // short of the debt at which his board would sack him.
    constexpr int32_t kDebt = -20000000;
    for (CClubDatabase* pClub : {m_pClub, pComputer})
        pClub->m_nBankBalance = kDebt;
    H().GetManagerFromID(m_pHuman->GetManagerID())->m_Contract.dwWage = 0;
    // The human has no staff of kind 3 at all.
    while (m_pClub->m_awStaffSlots[3][0] != 0)
        H().SackStaff(m_pClub->m_awStaffSlots[3][0]);
    std::vector<const void*> staff;
    for (const void* pValue : m_pClub->m_lstStaff.Items<void>())
        staff.push_back(pValue);

    auto expectLeftAlone = [&] {
        ASSERT_EQ(H().GetSaveGameForClub(m_pClub), m_pHuman) << "the human kept his job";
        for (const CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
            EXPECT_FALSE(p->m_dwFlags & PLAYER_FLAG_RELEASED) << p->GetShortName();
            EXPECT_NE(p->m_byTransferState, PLAYER_TRANSFER_LISTED) << p->GetShortName();
        }
        std::vector<const void*> now;
        for (const void* pValue : m_pClub->m_lstStaff.Items<void>())
            now.push_back(pValue);
        EXPECT_EQ(now, staff) << "nobody hired or sacked";
    };

    // Past the first month's staffing and the first quarter's squad upkeep.
    while (H().GetGameDate() < CDate(1999, 9, 2) && !HasFatalFailure())
        RunDays(1);
    expectLeftAlone();
    EXPECT_LE(pComputer->CountSquadOfGroup(0), 8) << "the computer's club released its surplus";
    EXPECT_LT(m_pClub->m_nBankBalance, kDebt / 2) << "the human's debts are his own";
    EXPECT_EQ(pComputer->CountStaffOfType(2), pComputer->GetStaffNeeded(2));
    // The human is told what he lacks.
    const CNewsItem* pLacking = m_pHuman->GetNews().FindIncoming(170);
    ASSERT_NE(pLacking, nullptr);
    EXPECT_EQ(pLacking->GetSlot(NEWS_SLOT_CLUB_A), m_pClub->GetID());

    // And so to the season's end.
    while (H().GetGameDate() < CDate(2000, 7, 4) && !HasFatalFailure())
        RunDays(1);
    expectLeftAlone();
}

TEST_F(HumanWorld, AHumanClubPlaysAWeekOfTheDayLoop)
{
    EXPECT_EQ(fs::file_size("Temp0.pfn"), 6u * 888u) << "the projection is written at the start";
    const CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    ASSERT_NE(pDivision, nullptr);
    CDate firstMatch;
    ASSERT_TRUE(H().GetNextMatchDate(m_pClub, H().GetGameDate(), firstMatch));
    // Run to a week past the club's first match.
    int nDays = 0;
    while (H().GetGameDate() < CDate(firstMatch.GetValue(), 7) && nDays < 80) {
        RunDays(1);
        ++nDays;
    }
    int nPlayed = 0;
    for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->IsClubInvolved(m_pClub->GetID()) && p->IsPlayed())
            ++nPlayed;
    EXPECT_GE(nPlayed, 1) << "the human's club played through the quick engine";
    EXPECT_EQ(H().GetSaveGameForClub(m_pClub), m_pHuman) << "the human kept his job";
    EXPECT_GE(m_pHuman->CountFinanceMonths(), 1) << "the first of the month closed the books";
    EXPECT_EQ(m_pHuman->GetNavigationAlert(4), 1) << "the monthly review ran";
    uint32_t dwNext = 0;
    if (m_pHuman->GetNextFixture(nullptr, nullptr, &dwNext, nullptr) >= 0) {
        EXPECT_GE(CDate(dwNext), H().GetGameDate()) << "the next-fixture cache moves on";
    }
}

TEST_F(HumanWorld, TheShootOutOrderNamesThePenaltyTakerAndSurvivesASave)
{
    auto order = [this] {
        std::vector<int> places(SAVEGAME_LINEUP);
        uint8_t aby[SAVEGAME_LINEUP];
        m_pHuman->GetPenaltyOrder(aby);
        for (int i = 0; i < SAVEGAME_LINEUP; ++i)
            places[static_cast<size_t>(i)] = aby[i];
        return places;
    };
    // Without an order the named taker kicks first, the others by place.
    m_pHuman->SetSetPiecePlayer(SAVEGAME_PENALTY_TAKER, m_pHuman->GetSheetPlayer(4));
    EXPECT_EQ(order(), (std::vector<int>{4, 0, 1, 2, 3, 5, 6, 7, 8, 9, 10}));

    // Lists that are not the eleven places once each are refused whole.
    const uint8_t abyRepeated[SAVEGAME_LINEUP] = {9, 9, 1, 2, 3, 4, 5, 6, 7, 8, 10};
    const uint8_t abyOutOfRange[SAVEGAME_LINEUP] = {11, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_FALSE(m_pHuman->SetPenaltyOrder(abyRepeated));
    EXPECT_FALSE(m_pHuman->SetPenaltyOrder(abyOutOfRange));
    EXPECT_EQ(order(), (std::vector<int>{4, 0, 1, 2, 3, 5, 6, 7, 8, 9, 10}));

    const uint8_t abyKept[SAVEGAME_LINEUP] = {9, 10, 6, 2, 3, 4, 5, 1, 7, 8, 0};
    ASSERT_TRUE(m_pHuman->SetPenaltyOrder(abyKept));
    EXPECT_EQ(m_pHuman->GetSetPiecePlayer(SAVEGAME_PENALTY_TAKER), m_pHuman->GetSheetPlayer(9));
    const std::vector<int> kept(std::begin(abyKept), std::end(abyKept));
    EXPECT_EQ(order(), kept);
    // A taker named later on the team sheet goes first; the rest keep their turn.
    m_pHuman->SetSetPiecePlayer(SAVEGAME_PENALTY_TAKER, m_pHuman->GetSheetPlayer(6));
    EXPECT_EQ(order(), (std::vector<int>{6, 9, 10, 2, 3, 4, 5, 1, 7, 8, 0}));
    m_pHuman->SetSetPiecePlayer(SAVEGAME_PENALTY_TAKER, m_pHuman->GetSheetPlayer(9));

    std::string error;
    ASSERT_TRUE(CSavedGameSet("Data/Saves/Set.bin").Save(H(), error)) << error;
    m_handler.reset();
    m_handler = std::make_unique<CDatabaseHandler>();
    ASSERT_TRUE(CSavedGameSet("Data/Saves/Set.bin").Load(*m_handler, error)) << error;
    m_pHuman = m_handler->GetHumanSlot(0);
    ASSERT_NE(m_pHuman, nullptr);
    EXPECT_EQ(order(), kept);
}

}  // namespace
