#pragma once
// Byte images of clubs and divisions laid out by their file offsets,
// independently of the record code, on top of the people test world.
#include "../people/PeopleTestSupport.h"
#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CYouthDatabase.h"

#include <cstring>
#include <string>

namespace clubs_test {

using namespace people_test;

inline void PutName(Bytes& b, size_t at, const std::string& name)
{
    for (size_t i = 0; i < name.size(); ++i)
        b.at(at + i) = static_cast<uint8_t>(name[i]);
}

// A youth: the person block of a player image with its two history entries,
// then the youth block and one career entry.
inline Bytes MakeYouthImage(uint32_t id)
{
    Bytes b = MakePlayerImage(id, 2, 8);
    b.resize(92 + 24);
    const size_t y = b.size();
    b.resize(y + 12, 0);
    Put32(b, y, 41000);     // value
    Put32(b, y + 4, 7800);  // yearly wage
    Put8(b, y + 8, 33);     // rating
    Put8(b, y + 9, 1);      // career entries
    const size_t c = b.size();
    b.resize(c + 72, 0);
    Put8(b, c, 2);
    Put16(b, c + 2, 21);
    Put8(b, c + 60, 4);
    Put32(b, c + 64, 41000);
    Put8(b, c + 68, 33);
    return b;
}

constexpr uint16_t kClubId = 21;
constexpr uint16_t kStaffId = 31;
constexpr uint16_t kManagerId = 9;
constexpr uint32_t kPlayerIds[2] = {101, 102};
constexpr uint32_t kYouthId = 103;
constexpr uint32_t kLoanInId = 555;

// A club with two staff, two players, a youth, a loan-in, a manager, and one
// record of every list. Every field of the fixed record holds a value.
inline Bytes MakeClubImage()
{
    Bytes b(CLUB_RECORD_BYTES, 0);
    for (size_t i = 0; i < 14; ++i)
        Put8(b, i, i < 4 ? 0xFF : i);  // cup status
    for (size_t i = 14; i < 548; ++i)
        Put8(b, i, (i * 7) & 0xFF);  // runs, statistics, results, fees, records, attendances
    for (size_t i = 548; i < 557; ++i)
        Put8(b, i, i & 0x3F);  // best runs
    Put16(b, 558, kManagerId);
    for (size_t i = 560; i < 576; i += 4)
        Put32(b, i, 100000 + i);
    // The squad and youth values are the sums of what follows.
    Put32(b, 560, 2 * 1250000);
    Put32(b, 564, 41000);
    for (size_t i = 580; i < 664; i += 4)
        Put32(b, i, 0x01000000u + i);  // loan .. finance accumulators
    Put32(b, 664 + 4 * 10, kStaffId);  // first place of kind 2
    Put32(b, 756, 2);                  // staff records
    Put32(b, 760, 2);                  // players
    Put32(b, 764, 1);                  // youths
    Put32(b, 768, 1);                  // loan-ins
    Put32(b, 772, 1);                  // future payments
    Put32(b, 776, 1);                  // receipts
    Put32(b, 780, 1);                  // pending payments
    for (size_t i = 784; i < 804; i += 4)
        Put32(b, i, 7 * i);
    Put16(b, 804, 1);       // scout queries
    Put16(b, 806, 0x0411);  // cup-entry flags
    Put16(b, 808, 0xABCD);
    Put16(b, 810, kClubId);
    Put16(b, 812, 4);  // home ground
    Put16(b, 814, 12);
    Put16(b, 816, 13);
    Put16(b, 818, 14);
    Put16(b, 820, 15);
    PutName(b, 822, "Harrowgate Wanderers");
    PutName(b, 853, "Harrowgate");
    Put8(b, 875, 61);
    Put8(b, 876, 72);
    for (size_t i = 877; i < 895; ++i)
        Put8(b, i, i - 870);  // rows and positions
    for (size_t i = 895; i < 914; ++i)
        Put8(b, i, i - 890);  // map, formation, attributes
    Put8(b, 901, 3);         // formation
    Put8(b, 914, 2);
    Put8(b, 915, 6);
    Put8(b, 916, 1);
    Put8(b, 917, 55);  // financial stability
    Put8(b, 919, 64);  // reputation
    Put8(b, 920, 40);
    Put8(b, 921, 50);
    for (size_t i = 923; i < 930; ++i)
        Put8(b, i, i - 900);
    Put8(b, 927, 58);  // support level
    Put8(b, 930, CLUB_GROUND_SHARED);
    Put8(b, 931, 5);
    Put8(b, 932, 6);
    Put8(b, 933, 2);
    Put8(b, 934, 0xFF);
    Put8(b, 935, 1);  // transfer targets

    auto append = [&b](const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); };
    append(MakeStaffImage(kStaffId, 2));
    append(MakeStaffImage(kStaffId + 1, 4));
    append(MakePlayerImage(kPlayerIds[0], 0, 0));
    append(MakePlayerImage(kPlayerIds[1], 3, 14));
    append(MakeYouthImage(kYouthId));
    Bytes loanIn(4, 0);
    Put32(loanIn, 0, kLoanInId);
    append(loanIn);
    Bytes manager = MakeManagerImage(kManagerId);
    Put16(manager, 48 + 26 + 14, kClubId);  // his last career entry is with this club
    append(manager);
    Bytes lists(16 + 16 + 12 + 8 + 16, 0);
    for (size_t i = 0; i < lists.size(); ++i)
        lists[i] = static_cast<uint8_t>(0x40 + i);
    Put32(lists, 32, kPlayerIds[1]);  // pending payment's player
    Put32(lists, 44, kStaffId);       // scout query's staff
    append(lists);
    return b;
}

// Loads a club from bytes; null (and the club freed) when refused.
inline std::unique_ptr<CClubDatabase> LoadClub(const Bytes& bytes)
{
    ByteStream stream(bytes);
    auto club = std::make_unique<CClubDatabase>();
    if (!club->Load(stream.reader(), nullptr, nullptr))
        return nullptr;
    return club;
}

}  // namespace clubs_test
