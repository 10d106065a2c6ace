// The root's side of the clubs, divisions and youths: their class-wide root
// pointer and the league statistics that youth generation draws from.
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPersonDatabase.h"
#include "database/CYouthDatabase.h"

namespace {

constexpr int kStatisticLevels = 5;

// Byte offset of a statistics cell (sum, then count, each 32 bits) in the
// world block; -1 outside it.
int StatisticOffset(int nLevel, int nAttribute, int nGroup)
{
    if (nLevel < 0 || nLevel >= kStatisticLevels || nAttribute < 0 || nAttribute >= PLAYER_ATTRIBUTE_COUNT ||
        nGroup < 0 || nGroup >= YOUTH_ROLE_GROUPS)
        return -1;
    return ((nLevel * PLAYER_ATTRIBUTE_COUNT + nAttribute) * YOUTH_ROLE_GROUPS + nGroup) * 8;
}

static_assert(kStatisticLevels * PLAYER_ATTRIBUTE_COUNT * YOUTH_ROLE_GROUPS * 8 == WORLD_BLOCK_BYTES,
              "the league statistics fill the world block");

uint32_t GetU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void PutU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

CDatabaseHandler::CLUBSLINK::CLUBSLINK(CDatabaseHandler* pHandler)
{
    CClubDatabase::m_pDatabaseHandler = pHandler;
    CDivisionDatabase::m_pDatabaseHandler = pHandler;
}

CDatabaseHandler::CLUBSLINK::~CLUBSLINK()
{
    CClubDatabase::m_pDatabaseHandler = nullptr;
    CDivisionDatabase::m_pDatabaseHandler = nullptr;
}

bool CDatabaseHandler::GetLeagueStatistic(int nLevel, int nAttribute, int nGroup, uint32_t& dwSum,
                                          uint32_t& dwCount) const
{
    const int nOffset = StatisticOffset(nLevel, nAttribute, nGroup);
    if (nOffset < 0) {
        dwSum = dwCount = 0;
        return false;
    }
    dwSum = GetU32(m_WorldBlock + nOffset);
    dwCount = GetU32(m_WorldBlock + nOffset + 4);
    return true;
}

bool CDatabaseHandler::SetLeagueStatistic(int nLevel, int nAttribute, int nGroup, uint32_t dwSum, uint32_t dwCount)
{
    const int nOffset = StatisticOffset(nLevel, nAttribute, nGroup);
    if (nOffset < 0)
        return false;
    PutU32(m_WorldBlock + nOffset, dwSum);
    PutU32(m_WorldBlock + nOffset + 4, dwCount);
    return true;
}
