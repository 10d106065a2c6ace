#pragma once
// A small world for the people tests: a temporary game folder with name
// dictionaries and pools, a database root built in it, and byte images of
// records laid out by their file offsets (independently of the record code).
#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/NationalityTable.h"
#include "platform/Random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace people_test {

using Bytes = std::vector<uint8_t>;

inline void Put8(Bytes& b, size_t at, uint32_t v) { b.at(at) = static_cast<uint8_t>(v); }
inline void Put16(Bytes& b, size_t at, uint32_t v)
{
    Put8(b, at, v & 0xFF);
    Put8(b, at + 1, (v >> 8) & 0xFF);
}
inline void Put32(Bytes& b, size_t at, uint32_t v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}
inline void PutDate(Bytes& b, size_t at, int y, int m, int d)
{
    Put16(b, at, static_cast<uint32_t>(y));
    Put8(b, at + 2, static_cast<uint32_t>(m));
    Put8(b, at + 3, static_cast<uint32_t>(d));
}

// The names every test world holds. Dictionaries are sorted; the last last
// name is longer than any short-name buffer.
inline const std::vector<std::string>& FirstNames()
{
    static const std::vector<std::string> names = {"Alvar", "Bodil", "Corin", "Dagny", "Edvin"};
    return names;
}
inline const std::vector<std::string>& LastNames()
{
    static const std::vector<std::string> names = {"Arnfeld", "Brask", "Colwen", "Dunmarrow",
                                                   "Zyxwoldenbrackmannsteinfeldhausenberg"};
    return names;
}
// Byte offset of a name in its dictionary's text block.
inline uint32_t OffsetOf(const std::vector<std::string>& names, size_t index)
{
    uint32_t offset = 0;
    for (size_t i = 0; i < index; ++i)
        offset += static_cast<uint32_t>(names[i].size() + 1);
    return offset;
}

inline void WriteNamesFile(const std::filesystem::path& path, const std::vector<std::string>& names)
{
    Bytes bytes(12, 0);
    Put32(bytes, 4, static_cast<uint32_t>(names.size()));
    for (const std::string& name : names) {
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back(0);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

inline Bytes ReadFileBytes(const char* path)
{
    Bytes bytes;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF)
        bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return bytes;
}

// What Save writes, as bytes.
template <typename T>
Bytes SaveToBytes(const T& record, bool (T::*save)(CBinaryWriter&) const)
{
    FILE* file = std::tmpfile();
    CBinaryWriter writer(file);
    EXPECT_TRUE((record.*save)(writer));
    std::rewind(file);
    Bytes bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF)
        bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return bytes;
}

// A stream over bytes for a record constructor; closes itself.
class ByteStream {
public:
    explicit ByteStream(const Bytes& bytes) : m_file(std::tmpfile())
    {
        if (!bytes.empty())
            std::fwrite(bytes.data(), 1, bytes.size(), m_file);
        std::rewind(m_file);
        m_reader = std::make_unique<CBinaryReader>(m_file);
    }
    ~ByteStream() { std::fclose(m_file); }
    CBinaryReader& reader() { return *m_reader; }

private:
    FILE* m_file;
    std::unique_ptr<CBinaryReader> m_reader;
};

// A full player record: person block (92 bytes) with one injury and one
// disciplinary entry, player block (144), two career entries, two match
// information blocks. Every field holds a value that survives a round trip.
inline Bytes MakePlayerImage(uint32_t id, int position = 3, int role = 14)
{
    Bytes b(92 + 24, 0);
    Put32(b, 0, OffsetOf(FirstNames(), 1));  // Bodil
    Put32(b, 4, OffsetOf(LastNames(), 2));   // Colwen
    Put32(b, 8, 7);                          // history slot
    PutDate(b, 12, 1978, 5, 17);
    Put32(b, 16, id);
    Put32(b, 20, 0x8004);       // flags
    Put32(b, 24, 0xA1B2C3D4);   // reserved dword
    Put16(b, 28, 1);            // injuries
    Put16(b, 30, 1);            // disciplinary entries
    Put16(b, 32, 0x3000);       // role mask: 12, 13
    Put16(b, 34, 21);           // injury days
    for (int i = 0; i < PLAYER_ATTRIBUTE_COUNT; ++i)
        Put16(b, 36 + 2 * i, 4000 + 100 * i);
    Put16(b, 80, 12);           // club id
    Put8(b, 82, 5);             // nationality
    Put8(b, 83, position);
    Put8(b, 84, role);
    Put8(b, 85, 3);             // injury type
    Put8(b, 86, 2);             // appearance variant
    Put8(b, 87, 0);             // appearance type
    Put8(b, 88, 1);             // record status
    Put8(b, 89, 9);             // value band
    // injury entry
    PutDate(b, 92, 2000, 11, 4);
    Put32(b, 96, id);
    Put16(b, 100, 21);
    Put8(b, 102, 3);
    // disciplinary entry
    Put16(b, 104, 2000);
    Put8(b, 114, 2);

    const size_t p = b.size();
    b.resize(p + 144, 0);
    for (int i = 0; i < 11; ++i)
        Put32(b, p + 4 * i, 0x01010101u * (i + 1));  // transfer block
    Put32(b, p + 44, 25000);                          // signing-on fee
    Put32(b, p + 48, 180000);                         // yearly wage
    Put32(b, p + 52, (2000u << 16) | (7 << 8) | 1);   // start
    Put32(b, p + 56, (2003u << 16) | (6 << 8) | 30);  // end
    for (int i = 0; i < 7; ++i)
        Put32(b, p + 60 + 4 * i, 1000u * (i + 1));
    Put16(b, p + 88, 0x0C5);
    Put8(b, p + 90, 3);
    Put8(b, p + 91, 4);
    Put8(b, p + 92, 30);
    Put8(b, p + 93, 22);
    Put8(b, p + 94, 25);
    Put32(b, p + 96, 1250000);  // value
    Put32(b, p + 100, 1500000); // asking price
    Put32(b, p + 104, 41);
    Put32(b, p + 108, 40);
    Put32(b, p + 112, 0x11);
    Put32(b, p + 116, 0x22);
    Put16(b, p + 120, 3);       // loan club
    Put16(b, p + 122, 17);      // days listed
    Put16(b, p + 124, 0xBEEF);  // stored word
    Put8(b, p + 126, 6);        // first stored byte
    Put8(b, p + 127, role);     // role copy
    Put8(b, p + 128, 2);        // domestic ban
    Put8(b, p + 129, 1);        // European ban
    Put8(b, p + 130, 0x24);     // suspension flags
    Put8(b, p + 131, 8);
    Put8(b, p + 132, 0x0F);     // clauses
    Put8(b, p + 133, 2);        // season counter
    Put8(b, p + 134, 71);       // rating
    Put8(b, p + 135, 9);        // match byte
    Put8(b, p + 136, 10);       // squad number
    Put8(b, p + 137, 1);        // transfer state
    Put8(b, p + 138, 2);        // career entries
    Put8(b, p + 139, 5);
    Put8(b, p + 140, 6);

    for (int e = 0; e < 2; ++e) {
        const size_t c = b.size();
        b.resize(c + 72, 0);
        Put8(b, c, 1 + e);            // season
        Put16(b, c + 2, 12 - e);      // club id
        for (int k = 0; k < 4; ++k) {
            Put8(b, c + 4 + 14 * k, k);
            for (int f = 0; f < 12; ++f)
                Put8(b, c + 5 + 14 * k + f, (e + 1) * (k + 1) + f);
        }
        Put8(b, c + 60, 20 + e);      // matches available
        Put32(b, c + 64, 900000 + e);
        Put8(b, c + 68, 60 + e);
    }
    b.push_back(2);  // match information blocks
    for (int m = 0; m < 2; ++m) {
        const size_t c = b.size();
        b.resize(c + 14, 0);
        Put8(b, c, 7 + m);
        for (int f = 0; f < 12; ++f)
            Put8(b, c + 1 + f, f + m);
    }
    return b;
}

// A manager record (48 bytes) with two career entries.
inline Bytes MakeManagerImage(uint16_t id)
{
    Bytes b(48, 0);
    Put16(b, 0, id);
    Put32(b, 4, OffsetOf(FirstNames(), 3));  // Dagny
    Put32(b, 8, OffsetOf(LastNames(), 0));   // Arnfeld
    Put32(b, 12, 111);
    Put32(b, 16, 222);
    Put32(b, 20, 9000);
    PutDate(b, 24, 2000, 7, 1);
    PutDate(b, 28, 2003, 6, 30);
    Put8(b, 32, 10);
    Put8(b, 33, 20);
    Put8(b, 34, 30);
    PutDate(b, 36, 1955, 3, 9);
    Put8(b, 40, 7);
    Put8(b, 41, 1);
    Put8(b, 42, 77);
    Put8(b, 43, 66);
    Put8(b, 44, 3);
    Put8(b, 45, 2);
    Put8(b, 46, 1);
    Put8(b, 47, 2);
    for (int e = 0; e < 2; ++e) {
        const size_t c = b.size();
        b.resize(c + 26, 0xFF);
        Put16(b, c + 14, 4 + e);
        for (int i = 16; i < 25; ++i)
            Put8(b, c + i, i + e);
        Put8(b, c + 25, 0);
    }
    return b;
}

// A staff record (40 bytes).
inline Bytes MakeStaffImage(uint16_t id, int kind = 2)
{
    Bytes b(40, 0);
    Put32(b, 0, OffsetOf(LastNames(), 3));  // Dunmarrow
    PutDate(b, 4, 2001, 2, 3);
    PutDate(b, 8, 1962, 12, 24);
    Put32(b, 12, 1400);
    Put16(b, 16, id);
    Put16(b, 18, 0x5A5A);
    Put16(b, 20, 9);
    Put8(b, 22, 'K');
    Put8(b, 25, kind);
    Put8(b, 26, 0x5);
    Put8(b, 27, 64);
    Put8(b, 28, 60);
    Put8(b, 29, 55);
    for (int i = 0; i < 7; ++i)
        Put8(b, 30 + i, 40 + i);
    Put8(b, 37, 12);
    return b;
}

// A temporary game folder with the names files, the current folder while
// the test runs, and a root built in it.
class PeopleWorld : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = std::filesystem::current_path();
        m_folder = std::filesystem::temp_directory_path() /
                   ("brellox_people_" + std::to_string(::getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder / "Data" / "Names");
        const std::filesystem::path names = m_folder / "Data" / "Names";
        WriteNamesFile(names / "FirstNames.dat", FirstNames());
        WriteNamesFile(names / "LastNames.dat", LastNames());
        int count = 0;
        const int* pools = GetNamePoolNumbers(count);
        for (int i = 0; i < count; ++i) {
            WriteNamesFile(names / (std::to_string(pools[i]) + "FN.dat"), {"Edvin", "Alvar", "Corin"});
            WriteNamesFile(names / (std::to_string(pools[i]) + "LN.dat"), {"Brask", "Dunmarrow", "Arnfeld"});
        }
        std::filesystem::current_path(m_folder);
        SetDebugLogSink([this](int, const std::string& line) { m_log.push_back(line); });
        m_handler = std::make_unique<CDatabaseHandler>();
        m_handler->SetGameDate(CDate(2001, 8, 1));
        CDatabaseHandler::BuildAttendanceCurve();
        CPlayerDatabase::InitialisePlayerValueTables();
        plat::srand(1234);
    }

    void TearDown() override
    {
        m_handler->FreeRetiredCaches();
        m_handler.reset();
        SetDebugLogSink({});
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_folder);
    }

    bool Logged(const std::string& text) const
    {
        for (const std::string& line : m_log)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    std::unique_ptr<CDatabaseHandler> m_handler;
    std::vector<std::string> m_log;
    std::filesystem::path m_folder;
    std::filesystem::path m_previous;
};

}  // namespace people_test
