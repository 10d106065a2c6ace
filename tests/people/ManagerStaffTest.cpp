#include "PeopleTestSupport.h"

namespace people_test {
namespace {

class ManagerRecordTest : public PeopleWorld {};
class StaffRecordTest : public PeopleWorld {};

TEST_F(ManagerRecordTest, RecordReadsAndWritesTheSameBytesAndJoinsThePool)
{
    const Bytes image = MakeManagerImage(6);
    ByteStream stream(image);
    CManagerDatabase manager(stream.reader(), nullptr, false);
    ASSERT_TRUE(manager.IsLoaded());
    EXPECT_EQ(manager.GetId(), 6);
    EXPECT_STREQ(manager.GetShortName(), "D. Arnfeld");
    EXPECT_EQ(manager.m_Contract.dwWage, 9000u);
    EXPECT_EQ(manager.m_Contract.abyBonus[2], 30);
    EXPECT_EQ(manager.m_byRating, 77);
    EXPECT_EQ(manager.m_byAbility, 66);
    EXPECT_EQ(manager.m_Career.size(), 2u);
    EXPECT_EQ(manager.GetCareerEntry(-1)->wClubId, 5);
    EXPECT_EQ(manager.GetCareerEntry(0)->abyCupSlots[6][1], 0xFF);
    EXPECT_TRUE(manager.HasManagedClub(4));
    EXPECT_FALSE(manager.HasManagedClub(9));
    EXPECT_EQ(m_handler->GetManagerState(6), MANAGERSTATE_POOL);
    EXPECT_EQ(m_handler->GetManagerFromID(6), &manager);
    EXPECT_EQ(m_handler->GetPoolManagerCount(), 1);
    EXPECT_EQ(SaveToBytes(manager, &CManagerDatabase::Save), image);
    EXPECT_EQ(SaveToBytes(manager, &CManagerDatabase::Save), image);

    ByteStream again(image);
    CManagerDatabase kept(again.reader(), nullptr, true);
    ASSERT_TRUE(kept.IsLoaded());
    EXPECT_EQ(m_handler->GetManagerFromID(6), &manager);  // not entered
}

TEST_F(ManagerRecordTest, ShortOrDamagedRecordsAreRefusedAndNotEntered)
{
    const Bytes image = MakeManagerImage(7);
    for (size_t cut = 0; cut < image.size(); ++cut) {
        ByteStream stream(Bytes(image.begin(), image.begin() + static_cast<long>(cut)));
        CManagerDatabase manager(stream.reader(), nullptr, false);
        EXPECT_FALSE(manager.IsLoaded()) << "cut at " << cut;
        EXPECT_EQ(m_handler->GetManagerInformation(7), nullptr) << "cut at " << cut;
    }
    const struct {
        size_t offset;
        uint32_t value;
    } damage[] = {{0, 0}, {42, 101}, {43, 200}, {47, 3}};
    for (const auto& d : damage) {
        Bytes bad = image;
        if (d.offset == 0)
            Put16(bad, 0, d.value);
        else
            Put8(bad, d.offset, d.value);
        ByteStream stream(bad);
        CManagerDatabase manager(stream.reader(), nullptr, false);
        EXPECT_FALSE(manager.IsLoaded()) << d.offset;
    }
    EXPECT_EQ(m_handler->GetManagerTableSize() > 7 ? m_handler->GetManagerInformation(7) : nullptr, nullptr);
    EXPECT_EQ(m_handler->GetNextManagerID(), 1);
}

TEST_F(ManagerRecordTest, BirthDatesAndNamesAreRepairedOnLoad)
{
    struct Case {
        int year, month, day;
        bool kept;
    };
    const Case cases[] = {{1960, 2, 30, true}, {1925, 5, 5, false}, {2040, 1, 1, false},
                          {1960, 13, 1, false}, {1960, 1, 0, false}, {1931, 12, 31, true}};
    for (const Case& c : cases) {
        Bytes image = MakeManagerImage(8);
        PutDate(image, 36, c.year, c.month, c.day);
        ByteStream stream(image);
        CManagerDatabase manager(stream.reader(), nullptr, true);
        ASSERT_TRUE(manager.IsLoaded());
        const DATERECORD& dob = manager.m_DateOfBirth;
        if (c.kept) {
            EXPECT_EQ(dob.wYear, c.year);
            EXPECT_EQ(dob.byDay, c.day);
        } else {
            EXPECT_EQ(dob.wYear, 1970) << c.year;
            EXPECT_EQ(dob.byMonth, 1);
            EXPECT_EQ(dob.byDay, 1);
        }
    }
    EXPECT_TRUE(Logged("[CManagerDatabase::Load] Manager Dagny Arnfeld has invalid DOB"));

    // "No name" is an offset with every bit set: an empty name, never text + -1.
    Bytes image = MakeManagerImage(9);
    Put32(image, 4, MANAGER_NO_NAME);
    Put32(image, 8, MANAGER_NO_NAME);
    Put8(image, 40, 150);
    ByteStream stream(image);
    CManagerDatabase nobody(stream.reader(), nullptr, true);
    ASSERT_TRUE(nobody.IsLoaded());
    EXPECT_STREQ(nobody.GetFirstName(), "");
    EXPECT_STREQ(nobody.GetLastName(), "");
    EXPECT_STREQ(nobody.GetShortName(), "");
    EXPECT_EQ(nobody.m_byNationality, 0);
    image[8] = 2;  // a last-name offset inside "Arnfeld"
    ByteStream inside(image);
    CManagerDatabase damaged(inside.reader(), nullptr, true);
    EXPECT_STREQ(damaged.GetLastName(), "");

    nobody.SetNameOffsets(MANAGER_NO_NAME, OffsetOf(LastNames(), 1));
    EXPECT_STREQ(nobody.GetShortName(), "Brask");
    nobody.SetNameOffsets(0, OffsetOf(LastNames(), 4));
    const char* first = nobody.GetShortName();
    EXPECT_EQ(std::strlen(first), 39u);
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(nobody.GetShortName(), first);
    EXPECT_EQ(nobody.GetShortName(), first);  // four buffers
}

TEST_F(ManagerRecordTest, NewManagerTakesTheNextIdentifier)
{
    CManagerDatabase first;
    CManagerDatabase second;
    EXPECT_EQ(first.GetId(), 1);
    EXPECT_EQ(second.GetId(), 2);
    EXPECT_EQ(m_handler->GetManagerState(2), MANAGERSTATE_POOL);
    EXPECT_EQ(first.m_DateOfBirth.wYear, 1970);
    EXPECT_EQ(first.m_Contract.EndDate.wYear, 1972);
    EXPECT_EQ(first.m_dwFirstNameOffset, MANAGER_NO_NAME);
}

TEST_F(ManagerRecordTest, GenerationIsReproducibleAndKeepsItsRanges)
{
    CManagerDatabase a;
    CManagerDatabase b;
    plat::srand(77);
    a.GenerateRecord();
    plat::srand(77);
    b.GenerateRecord();
    const Bytes bytesA = SaveToBytes(a, &CManagerDatabase::Save);
    const Bytes bytesB = SaveToBytes(b, &CManagerDatabase::Save);
    EXPECT_EQ(Bytes(bytesA.begin() + 2, bytesA.end()), Bytes(bytesB.begin() + 2, bytesB.end()));

    for (unsigned seed = 1; seed <= 300; ++seed) {
        plat::srand(seed);
        a.GenerateRecord();
        EXPECT_GE(a.GetAge(), 25);
        EXPECT_LE(a.GetAge(), 65);
        EXPECT_GE(a.m_byRating, 40);
        EXPECT_LE(a.m_byRating, 89);
        EXPECT_EQ(a.m_byAbility, a.m_byRating);
        EXPECT_GE(a.m_byNationality, 1);
        EXPECT_LE(a.m_byNationality, 101);
        EXPECT_EQ(a.m_byStateFlags, MANAGER_FLAG_GENERATED);
        EXPECT_LE(a.m_bySmallValue1, 4);
        EXPECT_LE(a.m_bySmallValue2, 3);
        EXPECT_NE(std::string(a.GetFirstName()), "");
        EXPECT_NE(std::string(a.GetLastName()), "");
    }
}

TEST_F(ManagerRecordTest, ContractRowsByRating)
{
    MANAGERCONTRACTTERMS terms;
    terms.bHasDivision = true;
    terms.nDivisionLevel = 1;
    terms.nSeasonStartYear = 2001;
    terms.nStartMonth = 7;
    terms.nStartSaturday = 2;
    terms.nEndMonth = 5;
    terms.nEndSaturday = 3;
    CManagerDatabase manager;
    for (unsigned seed = 1; seed <= 50; ++seed) {
        plat::srand(seed);
        manager.m_byRating = 90;
        manager.GenerateManagerContract(terms);
        const MANAGERCONTRACT& c = manager.m_Contract;
        EXPECT_GE(c.dwWage, 1200u * 1000);
        EXPECT_LT(c.dwWage, 1500u * 1000);
        EXPECT_EQ(c.dwWage % 1000, 0u);
        // Drawn when rand() % 101 is below 100: nearly always.
        EXPECT_TRUE(c.abyBonus[0] == 0 || (c.abyBonus[0] >= 10 && c.abyBonus[0] < 25));
        EXPECT_GE(c.abyBonus[2], 25);
        EXPECT_LT(c.abyBonus[2], 50);
        EXPECT_GE(c.EndDate.wYear, 2002);
        EXPECT_LE(c.EndDate.wYear, 2004);
        const CDate start(c.StartDate.wYear, c.StartDate.byMonth, c.StartDate.byDay);
        const CDate end(c.EndDate.wYear, c.EndDate.byMonth, c.EndDate.byDay);
        EXPECT_EQ(start, CDate(2001, 7, 14));  // the second Saturday of July 2001
        EXPECT_EQ(end.GetDayOfWeek(), 6);
        EXPECT_EQ(end.GetMonth(), 5);
        EXPECT_GE(end.GetDay(), 15);
        EXPECT_LE(end.GetDay(), 21);

        manager.m_byRating = 20;
        terms.nDivisionLevel = 9;  // levels below the fourth pay 2
        manager.GenerateManagerContract(terms);
        EXPECT_EQ(manager.m_Contract.EndDate.wYear, 2002);  // exactly one year
        EXPECT_GE(manager.m_Contract.dwWage, 200u * 20);
        EXPECT_LT(manager.m_Contract.dwWage, 500u * 20);
        terms.nDivisionLevel = 1;
    }
    // A rating of 100 lies in no row: the contract is left as it was.
    manager.m_byRating = 100;
    const MANAGERCONTRACT before = manager.m_Contract;
    manager.GenerateManagerContract(terms);
    EXPECT_EQ(manager.m_Contract.dwWage, before.dwWage);
    EXPECT_EQ(manager.m_Contract.EndDate.wYear, before.EndDate.wYear);
}

TEST_F(ManagerRecordTest, CompensationAndContractWeeks)
{
    CManagerDatabase manager;
    manager.m_byRating = 95;
    manager.m_Contract.dwWage = 10000;
    CDate(2001, 8, 1 + 0).GetYMD(manager.m_Contract.StartDate);
    CDate end(2001, 8, 1);
    end.AddDays(52 * 7);
    end.GetYMD(manager.m_Contract.EndDate);
    EXPECT_EQ(manager.GetContractWeeksLeft(), 52);
    EXPECT_TRUE(manager.IsNewInJob());
    int paid = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        plat::srand(seed);
        const int compensation = manager.GetCompensation();
        if (compensation == 0)
            continue;
        ++paid;
        // Thirteen months left at a twelfth of the yearly wage, 90-100 % of it.
        EXPECT_GE(compensation, 13 * 10000 / 12 * 90 / 100);
        EXPECT_LT(compensation, 13 * 10000 / 12 + 1);
    }
    EXPECT_GT(paid, 0);
    EXPECT_LT(paid, 400);
}

TEST_F(StaffRecordTest, RecordReadsAndWritesTheSameBytesAndJoinsThePool)
{
    const Bytes image = MakeStaffImage(4);
    ByteStream stream(image);
    // A member of the pool belongs to the root, which frees him.
    CStaffDatabase& staff = *new CStaffDatabase(stream.reader(), nullptr, false);
    ASSERT_TRUE(staff.IsLoaded());
    EXPECT_EQ(staff.GetId(), 4);
    EXPECT_STREQ(staff.GetShortName(), "K. Dunmarrow");
    EXPECT_EQ(staff.m_dwWage, 1400u);
    EXPECT_EQ(staff.m_wStoredWord, 0x5A5A);
    EXPECT_EQ(staff.m_wFormerClubId, 9);
    EXPECT_EQ(staff.m_abyAbilities[6], 46);
    EXPECT_EQ(staff.m_byNationality, 12);
    EXPECT_EQ(staff.m_byStateFlags, 0);
    EXPECT_EQ(m_handler->GetStaffFromID(4), &staff);
    EXPECT_EQ(m_handler->GetStaffPoolCount(), 1);
    EXPECT_EQ(SaveToBytes(staff, &CStaffDatabase::Save), image);

    for (size_t cut = 0; cut < image.size(); ++cut) {
        ByteStream cutStream(Bytes(image.begin(), image.begin() + static_cast<long>(cut)));
        CStaffDatabase cutStaff(cutStream.reader(), nullptr, false);
        EXPECT_FALSE(cutStaff.IsLoaded());
    }
    const struct {
        size_t offset;
        uint32_t value;
    } damage[] = {{16, 0}, {25, 6}, {27, 101}, {29, 250}, {33, 101}, {37, 102}};
    for (const auto& d : damage) {
        Bytes bad = image;
        if (d.offset == 16)
            Put16(bad, 16, d.value);
        else
            Put8(bad, d.offset, d.value);
        ByteStream badStream(bad);
        CStaffDatabase badStaff(badStream.reader(), nullptr, false);
        EXPECT_FALSE(badStaff.IsLoaded()) << d.offset;
    }
    EXPECT_EQ(m_handler->GetStaffPoolCount(), 1);
    EXPECT_EQ(m_handler->GetStaffFromID(4), &staff);
}

TEST_F(StaffRecordTest, ShortNameIsBoundedAndFallsBackOnTheLastName)
{
    Bytes image = MakeStaffImage(5);
    Put32(image, 0, OffsetOf(LastNames(), 4));
    ByteStream stream(image);
    CStaffDatabase staff(stream.reader(), nullptr, true);
    const char* name = staff.GetShortName();
    EXPECT_EQ(std::strlen(name), 39u);
    EXPECT_EQ(std::string(name, 3), "K. ");
    staff.m_szInitial[0] = '\0';
    staff.SetLastNameOffset(OffsetOf(LastNames(), 1));
    EXPECT_STREQ(staff.GetShortName(), "Brask");
    staff.SetLastNameOffset(3);  // inside a name
    EXPECT_STREQ(staff.GetShortName(), "");
}

TEST_F(StaffRecordTest, WageChangesMoveMorale)
{
    struct Case {
        uint32_t oldWage, newWage;
        int morale;
    };
    const Case cases[] = {
        {1000, 1200, 55}, {1000, 1050, 50}, {1000, 900, 45}, {1000, 1000, 50},
        {1000, 1101, 55}, {1000, 949, 45},  {0, 500, 55},    {500, 0, 45},
    };
    for (const Case& c : cases) {
        ByteStream stream(MakeStaffImage(6));
        CStaffDatabase staff(stream.reader(), nullptr, true);
        staff.m_byMorale = 50;
        staff.m_dwWage = c.oldWage;
        staff.ChangeWage(c.newWage);
        EXPECT_EQ(staff.m_byMorale, c.morale) << c.oldWage << " -> " << c.newWage;
        EXPECT_EQ(staff.m_dwWage, c.newWage);
    }

    ByteStream stream(MakeStaffImage(6));
    CStaffDatabase staff(stream.reader(), nullptr, true);
    staff.m_byMorale = 98;
    staff.ApplyReaction(6);
    EXPECT_EQ(staff.m_byMorale, 100);
    staff.m_byMorale = 3;
    staff.ApplyReaction(7);
    EXPECT_EQ(staff.m_byMorale, 0);
    staff.ApplyReaction(2);
    EXPECT_EQ(staff.m_byMorale, 0);
    staff.ApplyReaction(5);
    EXPECT_EQ(staff.m_byMorale, 1);
}

TEST_F(StaffRecordTest, WageScaleAndAcceptedWage)
{
    EXPECT_EQ(CStaffDatabase::GetWageScaleEntry(100), 50000);
    EXPECT_NEAR(CStaffDatabase::GetWageScaleEntry(30), 10000, 1);  // the float curve, truncated
    EXPECT_EQ(CStaffDatabase::GetWageScaleEntry(0), CStaffDatabase::GetWageScaleEntry(1));
    EXPECT_EQ(CStaffDatabase::GetWageScaleEntry(1), static_cast<int>(CDatabaseHandler::GetAttendanceCurveEntry(0)));

    ByteStream stream(MakeStaffImage(7));
    CStaffDatabase staff(stream.reader(), nullptr, true);
    staff.m_byRating = 60;
    staff.m_byMorale = 60;  // index (80 x 5 - 60) / 6 = 56
    const int wanted = CStaffDatabase::GetWageScaleEntry(56);
    EXPECT_EQ(staff.GetAcceptedWage(wanted), wanted);
    EXPECT_EQ(staff.GetAcceptedWage(wanted + 1000), wanted);
    EXPECT_EQ(staff.GetAcceptedWage(wanted - 1), 0);
    staff.m_dwWage = static_cast<uint32_t>(wanted);
    EXPECT_EQ(staff.GetAcceptedWage(-1), wanted);
    staff.m_byRating = 0;
    staff.m_byMorale = 100;  // index 0, outside the curve
    EXPECT_EQ(staff.GetAcceptedWage(100000), CStaffDatabase::GetWageScaleEntry(1));
}

TEST_F(StaffRecordTest, QualificationsTextIsBoundedToTheCallersBuffer)
{
    const char* const names[] = {"None", "Alpha", "Beta", "Gamma"};
    ByteStream stream(MakeStaffImage(8));
    CStaffDatabase staff(stream.reader(), nullptr, true);
    char text[64];
    staff.m_byQualifications = 0x5;
    staff.GetQualificationsText(names, 4, text, sizeof text);
    EXPECT_STREQ(text, "Alpha, Gamma");
    staff.m_byQualifications = 0;
    staff.GetQualificationsText(names, 4, text, sizeof text);
    EXPECT_STREQ(text, "None");
    staff.m_byQualifications = 0x7;
    char small[9];
    staff.GetQualificationsText(names, 4, small, sizeof small);
    EXPECT_STREQ(small, "Alpha");  // "Alpha, B" would cut a name
    staff.m_byQualifications = 0x80;  // a bit the table does not name
    staff.GetQualificationsText(names, 4, text, sizeof text);
    EXPECT_STREQ(text, "");
}

TEST_F(StaffRecordTest, GenerationIsReproducibleAndKeepsItsRanges)
{
    CStaffDatabase& a = *new CStaffDatabase;  // pool members: the root frees them
    CStaffDatabase& b = *new CStaffDatabase;
    EXPECT_EQ(m_handler->GetStaffFromID(b.GetId()), &b);
    plat::srand(99);
    a.GenerateRecord(3);
    plat::srand(99);
    b.GenerateRecord(3);
    Bytes bytesA = SaveToBytes(a, &CStaffDatabase::Save);
    Bytes bytesB = SaveToBytes(b, &CStaffDatabase::Save);
    Put16(bytesA, 16, 0);
    Put16(bytesB, 16, 0);
    EXPECT_EQ(bytesA, bytesB);

    int twoQualifications = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        plat::srand(seed);
        const int kind = static_cast<int>(seed % STAFF_KINDS);
        a.GenerateRecord(kind);
        EXPECT_EQ(a.m_byKind, kind);
        EXPECT_GE(a.GetAge(), 30);
        EXPECT_LE(a.GetAge(), 41);
        EXPECT_GE(a.m_byMorale, 50);
        EXPECT_LE(a.m_byMorale, 69);
        EXPECT_LE(a.m_byRating, 100);
        EXPECT_EQ(a.m_byPreviousRating, a.m_byRating);
        EXPECT_EQ(a.m_dwWage, static_cast<uint32_t>(CStaffDatabase::GetWageScaleEntry(a.m_byRating)));
        EXPECT_NE(a.m_szInitial[0], '\0');
        EXPECT_NE(std::string(a.GetLastName()), "");
        EXPECT_GE(a.m_byNationality, 1);
        EXPECT_LE(a.m_byNationality, 9);  // no country: one of the first nine rows
        for (int i = 1; i < STAFF_ABILITIES; ++i) {
            EXPECT_GE(a.m_abyAbilities[i], 30);
            EXPECT_LE(a.m_abyAbilities[i], 100);
        }
        const int kindOptions[STAFF_KINDS] = {8, 2, 4, 3, 2, 2};
        EXPECT_LT(a.m_byQualifications, 1 << kindOptions[kind]);
        if (kind == 1 && __builtin_popcount(a.m_byQualifications) == 2) {
            EXPECT_EQ(a.m_byQualifications, 3);
            ++twoQualifications;
        }
    }
    EXPECT_GT(twoQualifications, 0);
}

TEST_F(StaffRecordTest, TextConditions)
{
    ByteStream stream(MakeStaffImage(9, 3));
    CStaffDatabase staff(stream.reader(), nullptr, true);
    staff.m_byMorale = 85;
    staff.m_byRating = 40;
    staff.m_abyAbilities[1] = 90;
    staff.m_abyAbilities[6] = 20;
    EXPECT_TRUE(staff.TestTextCondition(407));
    EXPECT_FALSE(staff.TestTextCondition(408));
    EXPECT_TRUE(staff.TestTextCondition(411));
    // Born 24 December 1962: 38 on the game date.
    EXPECT_FALSE(staff.TestTextCondition(412));
    EXPECT_TRUE(staff.TestTextCondition(413));
    EXPECT_TRUE(staff.TestTextCondition(415));
    EXPECT_TRUE(staff.TestTextCondition(432));
    EXPECT_FALSE(staff.TestTextCondition(431));
    EXPECT_TRUE(staff.TestTextCondition(434));
    EXPECT_FALSE(staff.TestTextCondition(433));
    EXPECT_TRUE(staff.TestTextCondition(438));
    EXPECT_FALSE(staff.TestTextCondition(439));
}

}  // namespace
}  // namespace people_test
