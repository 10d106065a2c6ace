#pragma once
// The condition tokens of the form scripts that the records themselves
// answer (the event tokens are the scripts' own). A report's entry shows
// only when the record it speaks of accepts its token.
#include <cstdint>

enum SCRIPT_TOKEN : uint16_t {
    // A player whose rating makes him stand out on the pitch.
    SCRIPT_TOKEN_PLAYER_CLASS = 400,
    // A player the others follow in training.
    SCRIPT_TOKEN_PLAYER_LEADER = 401,
    // Staff: content, discontent, among the best, still learning, a veteran, young.
    SCRIPT_TOKEN_STAFF_CONTENT = 407,
    SCRIPT_TOKEN_STAFF_DISCONTENT = 408,
    SCRIPT_TOKEN_STAFF_TOP = 409,
    SCRIPT_TOKEN_STAFF_LEARNING = 411,
    SCRIPT_TOKEN_STAFF_VETERAN = 412,
    SCRIPT_TOKEN_STAFF_YOUNG = 414,
    // The current human manager's two flags (439 and 440 the first set or
    // clear, 441 the second set).
    SCRIPT_TOKEN_MANAGER_FIRST = 439,
    SCRIPT_TOKEN_MANAGER_LAST = 441,
    // A club's season target band: token - 442.
    SCRIPT_TOKEN_TARGET_FIRST = 442,
    SCRIPT_TOKEN_TARGET_LAST = 447,
};

class CClubDatabase;
class CPlayerDatabase;
class CStaffDatabase;

// Whether the record accepts the token; a token it knows nothing of is
// refused.
bool ClubAcceptsScriptToken(const CClubDatabase& club, uint16_t wToken);
bool PlayerAcceptsScriptToken(const CPlayerDatabase& player, uint16_t wToken);
bool StaffAcceptsScriptToken(const CStaffDatabase& staff, uint16_t wToken);
