#include "database/ScriptTokens.h"

#include "database/CClubDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"

namespace {

constexpr int kPlayerClassRating = 70;
constexpr int kLeaderInfluence = 7000;
constexpr int kLeaderMorale = 6000;
constexpr int kStaffContent = 70, kStaffDiscontent = 35;
constexpr int kStaffTop = 75, kStaffLearning = 40;
constexpr int kStaffVeteranAge = 50, kStaffYoungAge = 35;

}  // namespace

bool ClubAcceptsScriptToken(const CClubDatabase& club, uint16_t wToken)
{
    return wToken >= SCRIPT_TOKEN_TARGET_FIRST && wToken <= SCRIPT_TOKEN_TARGET_LAST &&
           club.m_byTargetKind == wToken - SCRIPT_TOKEN_TARGET_FIRST;
}

bool PlayerAcceptsScriptToken(const CPlayerDatabase& player, uint16_t wToken)
{
    switch (wToken) {
    case SCRIPT_TOKEN_PLAYER_CLASS:
        return player.m_byRating >= kPlayerClassRating;
    case SCRIPT_TOKEN_PLAYER_LEADER:
        return player.m_awAttributes[PLAYER_ATTRIBUTE_INFLUENCE] >= kLeaderInfluence &&
               player.m_awAttributes[PLAYER_ATTRIBUTE_MORALE] >= kLeaderMorale;
    default:
        return false;
    }
}

bool StaffAcceptsScriptToken(const CStaffDatabase& staff, uint16_t wToken)
{
    switch (wToken) {
    case SCRIPT_TOKEN_STAFF_CONTENT:
        return staff.m_byMorale >= kStaffContent;
    case SCRIPT_TOKEN_STAFF_DISCONTENT:
        return staff.m_byMorale < kStaffDiscontent;
    case SCRIPT_TOKEN_STAFF_TOP:
        return staff.m_byRating >= kStaffTop;
    case SCRIPT_TOKEN_STAFF_LEARNING:
        return staff.m_byRating < kStaffLearning;
    case SCRIPT_TOKEN_STAFF_VETERAN:
        return staff.GetAge() >= kStaffVeteranAge;
    case SCRIPT_TOKEN_STAFF_YOUNG:
        return staff.GetAge() < kStaffYoungAge;
    default:
        return false;
    }
}
