#pragma once
// Helpers of the whole-database file tests: a root built in the generated
// data tree, and worlds moved between memory and the root as bytes.
#include "../database/GameTree.h"
#include "database/CDatabaseHandler.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace worldfile_test {

using Bytes = std::string;

inline Bytes ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes StartingDatabase()
{
    static const Bytes bytes = ReadBytes(std::filesystem::path(BRELLOX_GAME_DIR) / "Data" / "Data.bin");
    return bytes;
}

// Loads from the first nLength bytes (all by default).
inline bool LoadBytes(CDatabaseHandler& handler, const Bytes& bytes, size_t nLength = std::string::npos)
{
    const size_t n = nLength == std::string::npos ? bytes.size() : nLength;
    // A stream over the bytes themselves; an empty one still needs a buffer.
    static char chEmpty = 0;
    FILE* pFile = fmemopen(n ? const_cast<char*>(bytes.data()) : &chEmpty, n ? n : 1, "rb");
    if (!pFile)
        return false;
    if (n == 0)
        std::fgetc(pFile);
    const bool bLoaded = handler.Load(pFile);
    std::fclose(pFile);
    return bLoaded;
}

inline Bytes SaveBytes(CDatabaseHandler& handler, bool* pbSaved = nullptr)
{
    FILE* pFile = std::tmpfile();
    const bool bSaved = pFile && handler.Save(pFile);
    if (pbSaved)
        *pbSaved = bSaved;
    Bytes bytes;
    if (pFile) {
        std::rewind(pFile);
        int c;
        while ((c = std::fgetc(pFile)) != EOF)
            bytes.push_back(static_cast<char>(c));
        std::fclose(pFile);
    }
    return bytes;
}

inline void Put16(Bytes& b, size_t at, uint16_t v)
{
    b.at(at) = static_cast<char>(v & 0xFF);
    b.at(at + 1) = static_cast<char>(v >> 8);
}

inline void Put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.at(at + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline uint32_t Get32(const Bytes& b, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(b.at(at + i));
    return v;
}

// Every test builds its root in the generated tree, which it only reads.
class WorldFileTest : public ::testing::Test {
protected:
    WorldFileTest() : m_folder(BRELLOX_GAME_DIR), m_handler(std::make_unique<CDatabaseHandler>()) {}

    CurrentFolder m_folder;
    std::unique_ptr<CDatabaseHandler> m_handler;
};

// The root's world is gone: nothing of a refused file stays behind.
inline void ExpectEmptyWorld(const CDatabaseHandler& handler)
{
    EXPECT_FALSE(handler.IsDatabaseLoaded());
    EXPECT_EQ(handler.GetCountryCount(), 0);
    EXPECT_TRUE(handler.GetCountries().IsEmpty());
    EXPECT_EQ(handler.GetClubTotal(), 0);
    EXPECT_EQ(handler.GetDivisionTotal(), 0);
    EXPECT_EQ(handler.GetGroundCount(), 0);
    EXPECT_TRUE(handler.GetGrounds().IsEmpty());
    EXPECT_TRUE(handler.GetYouths().IsEmpty());
    EXPECT_TRUE(handler.GetCupFixtures().IsEmpty());
    EXPECT_TRUE(handler.GetStaffPool().IsEmpty());
    EXPECT_TRUE(handler.GetUnemployedManagers().IsEmpty());
    EXPECT_TRUE(handler.GetBuyOffers().IsEmpty());
    EXPECT_TRUE(handler.GetPendingTransfers().IsEmpty());
    EXPECT_EQ(handler.GetPlayerTableSize(), 0);
    EXPECT_EQ(handler.GetManagerTableSize(), 0);
    EXPECT_EQ(handler.GetStaffTableSize(), 0);
    EXPECT_EQ(handler.GetPlayersInTable(), 0);
    EXPECT_EQ(handler.GetFreeIdentifierCount(), 0);
}

}  // namespace worldfile_test
