// The editor's document on the generated starting database: what a save
// writes after no edit, after one edit and after a new name, and what it
// refuses.
#include "EditorFolder.h"

#include "editor/CEditorDocument.h"
#include "editor/PersonNames.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace {

using editor_test::EditorFolder;
using editor_test::ReadBytes;
namespace fs = std::filesystem;

constexpr const char* kFirst = "Data\\Names\\FirstNames.dat";
constexpr const char* kLast = "Data\\Names\\LastNames.dat";
constexpr const char* kDatabase = "Data\\Data.bin";

class EditorDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pCurrent = std::make_unique<CurrentFolder>(m_Folder.Path());
        Open();
    }
    void TearDown() override
    {
        Close();
        m_pCurrent.reset();
    }
    // A fresh handler reads the dictionaries of the folder as they are now.
    void Open()
    {
        m_pHandler = std::make_unique<CDatabaseHandler>();
        ASSERT_TRUE(m_pHandler->AreFixedTablesLoaded());
        CDatabaseHandler::BuildAttendanceCurve();
        CPlayerDatabase::InitialisePlayerValueTables();
        m_pDocument = std::make_unique<CEditorDocument>(*m_pHandler);
        std::string message;
        ASSERT_TRUE(m_pDocument->Load(kDatabase, message)) << message;
    }
    void Close()
    {
        m_pDocument.reset();
        m_pHandler.reset();
    }
    void Reopen()
    {
        Close();
        Open();
    }
    bool Save(std::string& message) { return m_pDocument->Save(kFirst, kLast, kDatabase, message); }
    CClubDatabase* FirstClub() const
    {
        const auto countries = m_pDocument->GetCountries();
        return countries.empty() ? nullptr : m_pDocument->GetClubs(countries.front()).front();
    }
    // Every player's full name by identifier.
    std::map<ID_PLAYER, std::string> PlayerNames() const
    {
        std::map<ID_PLAYER, std::string> names;
        for (int i = 1; i <= m_pHandler->GetPlayerTableSize(); ++i)
            if (const CPlayerDatabase* pPlayer = m_pHandler->GetPlayerFromID(static_cast<ID_PLAYER>(i)))
                names[pPlayer->m_idPerson] = std::string(pPlayer->GetFirstName()) + " " + pPlayer->GetLastName();
        return names;
    }

    EditorFolder m_Folder;
    std::unique_ptr<CurrentFolder> m_pCurrent;
    std::unique_ptr<CDatabaseHandler> m_pHandler;
    std::unique_ptr<CEditorDocument> m_pDocument;
};

TEST_F(EditorDocumentTest, ASaveWithoutEditsWritesTheSameThreeFiles)
{
    std::string message;
    ASSERT_TRUE(Save(message)) << message;
    EXPECT_EQ(ReadBytes(m_Folder.Database()), ReadBytes(EditorFolder::Generated("Data/Data.bin")));
    EXPECT_EQ(ReadBytes(m_Folder.FirstNames()), ReadBytes(EditorFolder::Generated("Data/Names/FirstNames.dat")));
    EXPECT_EQ(ReadBytes(m_Folder.LastNames()), ReadBytes(EditorFolder::Generated("Data/Names/LastNames.dat")));
}

TEST_F(EditorDocumentTest, ARenamedClubChangesOnlyItsNameField)
{
    CClubDatabase* pClub = FirstClub();
    ASSERT_NE(pClub, nullptr);
    const ID_CLUB idClub = pClub->GetID();
    m_pDocument->ApplyClub(pClub, "Sporting Wendelmoor", pClub->GetShortName(), pClub->m_byReputation,
                           pClub->m_bySupportLevel);
    std::string message;
    ASSERT_TRUE(Save(message)) << message;

    const std::string before = ReadBytes(EditorFolder::Generated("Data/Data.bin"));
    const std::string after = ReadBytes(m_Folder.Database());
    ASSERT_EQ(before.size(), after.size());
    size_t nFirst = std::string::npos, nLast = 0;
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i]) {
            nFirst = std::min(nFirst, i);
            nLast = i;
        }
    // Every changed byte lies in the club's name field.
    const size_t nField = after.find("Sporting Wendelmoor");
    ASSERT_NE(nFirst, std::string::npos);
    ASSERT_NE(nField, std::string::npos);
    EXPECT_GE(nFirst, nField);
    EXPECT_LT(nLast, nField + CLUB_NAME_BYTES);
    EXPECT_EQ(ReadBytes(m_Folder.LastNames()), ReadBytes(EditorFolder::Generated("Data/Names/LastNames.dat")));

    Reopen();
    ASSERT_NE(m_pHandler->GetClubFromID(idClub), nullptr);
    EXPECT_STREQ(m_pHandler->GetClubFromID(idClub)->GetName(), "Sporting Wendelmoor");
}

TEST_F(EditorDocumentTest, ANewNameJoinsTheDictionaryAndEveryoneElseKeepsTheirNames)
{
    CPlayerDatabase* pPlayer = m_pDocument->GetSquad(FirstClub()).front();
    const ID_PLAYER idPlayer = pPlayer->m_idPerson;
    auto expected = PlayerNames();
    ASSERT_EQ(m_pDocument->GetLastNames().Find("Aabelmeer"), nullptr);
    const int nLastNames = m_pDocument->GetLastNames().GetCount();
    // A new last name sorts first, so every stored offset moves.
    ASSERT_TRUE(m_pDocument->ApplyPlayer(pPlayer, pPlayer->GetFirstName(), "Aabelmeer", pPlayer->m_DateOfBirth,
                                         pPlayer->m_byNationality, pPlayer->m_byPosition, pPlayer->m_byRole,
                                         pPlayer->m_bySquadNumber));
    expected[idPlayer] = std::string(pPlayer->GetFirstName()) + " Aabelmeer";
    std::string message;
    ASSERT_TRUE(Save(message)) << message;

    Reopen();
    EXPECT_EQ(m_pHandler->GetNameDictionary(NAMEDICTIONARY_LAST).GetCount(), nLastNames + 1);
    EXPECT_STREQ(m_pHandler->GetNameDictionary(NAMEDICTIONARY_LAST).GetName(0), "Aabelmeer");
    EXPECT_EQ(PlayerNames(), expected);
}

TEST_F(EditorDocumentTest, AFileThatCannotBeWrittenLeavesAllThreeAsTheyWere)
{
    m_pDocument->ApplyClub(FirstClub(), "Renamed", "Renamed", 50, 50);
    std::string message;
    EXPECT_FALSE(m_pDocument->Save(kFirst, "NoSuchFolder\\LastNames.dat", kDatabase, message));
    EXPECT_NE(message.find("NoSuchFolder"), std::string::npos) << message;
    EXPECT_EQ(ReadBytes(m_Folder.Database()), ReadBytes(EditorFolder::Generated("Data/Data.bin")));
    EXPECT_EQ(ReadBytes(m_Folder.FirstNames()), ReadBytes(EditorFolder::Generated("Data/Names/FirstNames.dat")));
    for (const auto& entry : fs::directory_iterator(m_Folder.Path() / "Data"))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(EditorDocumentTest, AShirtNumberIsSwappedWithTheMateWhoWoreItButNeverWithANamesake)
{
    auto squad = m_pDocument->GetSquad(FirstClub());
    ASSERT_GE(squad.size(), 2u);
    CPlayerDatabase* pPlayer = squad[0];
    CPlayerDatabase* pMate = squad[1];
    for (size_t i = 0; i < squad.size(); ++i)
        squad[i]->m_bySquadNumber = static_cast<uint8_t>(10 + i);
    pPlayer->m_bySquadNumber = 7;
    pMate->m_bySquadNumber = 9;
    const std::string mateName = std::string(pMate->GetFirstName()) + " " + pMate->GetLastName();
    EXPECT_EQ(m_pDocument->SwapShirtNumber(pPlayer, mateName, 9), nullptr);
    EXPECT_EQ(pPlayer->m_bySquadNumber, 7);

    const std::string ownName = std::string(pPlayer->GetFirstName()) + " " + pPlayer->GetLastName();
    if (ownName != mateName) {
        EXPECT_EQ(m_pDocument->SwapShirtNumber(pPlayer, ownName, 9), pMate);
        EXPECT_EQ(pPlayer->m_bySquadNumber, 9);
        EXPECT_EQ(pMate->m_bySquadNumber, 7);
    }
}

TEST_F(EditorDocumentTest, TheHighestFiguresAreHeldWhereTheDatabaseCanKeepThem)
{
    CClubDatabase* pClub = FirstClub();
    ASSERT_NE(pClub, nullptr);
    const ID_CLUB idClub = pClub->GetID();
    m_pDocument->ApplyClub(pClub, pClub->GetName(), pClub->GetShortName(), 250, 100);
    EXPECT_EQ(pClub->m_byReputation, 100);
    EXPECT_EQ(pClub->m_bySupportLevel, CEditorDocument::kMaxClubRating);
    std::string message;
    ASSERT_TRUE(Save(message)) << message;
    // The saved world is read back whole, club included.
    Reopen();
    ASSERT_NE(m_pHandler->GetClubFromID(idClub), nullptr);
    EXPECT_EQ(m_pHandler->GetClubFromID(idClub)->m_bySupportLevel, CEditorDocument::kMaxClubRating);
}

TEST_F(EditorDocumentTest, ABlankNameIsRefusedAndTheOldOneKeptWhileTheOtherFieldsAreStored)
{
    CClubDatabase* pClub = FirstClub();
    ASSERT_NE(pClub, nullptr);
    const std::string longName = pClub->GetName(), shortName = pClub->GetShortName();
    EXPECT_FALSE(m_pDocument->ApplyClub(pClub, "", "Wendelmoor", 61, 62));
    EXPECT_EQ(pClub->GetName(), longName);
    EXPECT_STREQ(pClub->GetShortName(), "Wendelmoor");
    EXPECT_EQ(pClub->m_byReputation, 61);
    EXPECT_FALSE(m_pDocument->ApplyClub(pClub, "Sporting Wendelmoor", "   ", 63, 64));
    EXPECT_STREQ(pClub->GetName(), "Sporting Wendelmoor");
    EXPECT_STREQ(pClub->GetShortName(), "Wendelmoor");
    EXPECT_EQ(pClub->m_bySupportLevel, 64);

    CPlayerDatabase* pPlayer = m_pDocument->GetSquad(pClub).front();
    const std::string firstName = pPlayer->GetFirstName();
    const int nTableSize = m_pDocument->GetFirstNames().GetCount();
    for (const char* pszBlank : {"", "  "}) {
        EXPECT_FALSE(m_pDocument->ApplyPlayer(pPlayer, pszBlank, "Aabelmeer", pPlayer->m_DateOfBirth,
                                              pPlayer->m_byNationality, pPlayer->m_byPosition, pPlayer->m_byRole, 33))
            << '"' << pszBlank << '"';
        EXPECT_EQ(pPlayer->GetFirstName(), firstName);
        EXPECT_STREQ(pPlayer->GetLastName(), "Aabelmeer");
        EXPECT_EQ(pPlayer->m_bySquadNumber, 33);
    }
    EXPECT_EQ(m_pDocument->GetFirstNames().GetCount(), nTableSize);
    // Saved and read again, the kept names are whole.
    std::string message;
    ASSERT_TRUE(Save(message)) << message;
    const ID_PLAYER idPlayer = pPlayer->m_idPerson;
    const ID_CLUB idClub = pClub->GetID();
    Reopen();
    EXPECT_EQ(m_pHandler->GetPlayerFromID(idPlayer)->GetFirstName(), firstName);
    EXPECT_STREQ(m_pHandler->GetClubFromID(idClub)->GetShortName(), "Wendelmoor");
}

TEST(EditorDocument, AMissingOrDamagedDatabaseIsRefusedWithAMessage)
{
    EditorFolder folder;
    CurrentFolder current(folder.Path());
    const std::string whole = ReadBytes(folder.Database());
    std::ofstream(folder.Path() / "Data" / "short.bin", std::ios::binary) << whole.substr(0, whole.size() / 2);
    std::string garbage = whole;
    for (size_t i = 7040; i < garbage.size(); i += 97)
        garbage[i] = static_cast<char>(0xFF);
    std::ofstream(folder.Path() / "Data" / "garbled.bin", std::ios::binary) << garbage;

    for (const char* pszPath : {"Data\\none.bin", "Data\\short.bin", "Data\\garbled.bin"}) {
        CDatabaseHandler handler;
        CEditorDocument document(handler);
        std::string message;
        EXPECT_FALSE(document.Load(pszPath, message)) << pszPath;
        EXPECT_NE(message.find(pszPath), std::string::npos) << message;
        EXPECT_FALSE(handler.IsDatabaseLoaded());
        EXPECT_FALSE(document.Save(kFirst, kLast, kDatabase, message));
    }
}

TEST(EditorDocument, BirthDatesAreCheckedAgainstTheirPeriod)
{
    const DATERECORD today{2001, 7, 1};
    const struct {
        DATERECORD birth;
        bool bAccepted;
    } cases[] = {
        {{1986, 7, 1}, true},   // 15 to the day
        {{1986, 7, 2}, false},  // a day short of 15
        {{1911, 7, 1}, true},   // 90 to the day
        {{1911, 6, 30}, false}, // older than 90
        {{2092, 7, 1}, false},  // in the future
        {{1960, 2, 30}, false}, // no such day
    };
    for (const auto& test : cases)
        EXPECT_EQ(CEditorDocument::IsBirthDateInRange(test.birth, today, 90, -15), test.bAccepted)
            << test.birth.wYear << "-" << int(test.birth.byMonth) << "-" << int(test.birth.byDay);
}

}  // namespace
