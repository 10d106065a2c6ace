#pragma once
// The leading block that players and youth players share: who the person is,
// what he can do and where he belongs. A record, not a polymorphic object:
// the player and youth records begin with it and add their own fields.
#include "common/CDate.h"
#include "common/CXList.h"
#include "common/Identifiers.h"

#include <cstddef>
#include <cstdint>

class CBinaryReader;
class CBinaryWriter;
class CCountryDatabase;
class CDivisionDatabase;
class CClubDatabase;
class CDatabaseHandler;

enum PLAYER_ATTRIBUTE {
    PLAYER_ATTRIBUTE_HANDLING = 0,
    PLAYER_ATTRIBUTE_TACKLING,
    PLAYER_ATTRIBUTE_PASSING,
    PLAYER_ATTRIBUTE_DRIBBLING,
    PLAYER_ATTRIBUTE_HEADING,
    PLAYER_ATTRIBUTE_SHOOTING,
    PLAYER_ATTRIBUTE_STRENGTH,
    PLAYER_ATTRIBUTE_PACE,
    PLAYER_ATTRIBUTE_FITNESS,
    PLAYER_ATTRIBUTE_MORALE,
    PLAYER_ATTRIBUTE_AGILITY,
    PLAYER_ATTRIBUTE_AGGRESSION,
    PLAYER_ATTRIBUTE_CONFIDENCE,
    PLAYER_ATTRIBUTE_EMPATHY,
    PLAYER_ATTRIBUTE_GREED,
    PLAYER_ATTRIBUTE_INTELLIGENCE,
    PLAYER_ATTRIBUTE_WILLPOWER,
    PLAYER_ATTRIBUTE_INFLUENCE,
    PLAYER_ATTRIBUTE_INJURYPRONE,
    PLAYER_ATTRIBUTE_MARKING,
    PLAYER_ATTRIBUTE_POTENTIAL,
    PLAYER_ATTRIBUTE_REPUTATION,
    PLAYER_ATTRIBUTE_COUNT
};

// The first eight attributes are the playing skills that a role's rating weighs.
constexpr int PLAYER_SKILL_COUNT = 8;
// Attributes are held in hundredths.
constexpr int PLAYER_ATTRIBUTE_MAX = 10000;

enum PLAYER_POSITION {
    PLAYER_POSITION_GOALKEEPER = 0,
    PLAYER_POSITION_DEFENDER,
    PLAYER_POSITION_MIDFIELDER,
    PLAYER_POSITION_ATTACKER,
    PLAYER_POSITION_COUNT
};

// Roles 0 goalkeeper, 1-6 defence, 7-11 midfield, 12-15 attack.
enum PLAYER_ROLE {
    PLAYER_ROLE_GOALKEEPER = 0,
    PLAYER_ROLE_FIRST_DEFENDER = 1,
    PLAYER_ROLE_FIRST_MIDFIELDER = 7,
    PLAYER_ROLE_FIRST_ATTACKER = 12,
    PLAYER_ROLE_COUNT = 16
};

// Ages 14 to 46 have a place on the age curves.
constexpr int PERSON_AGE_CURVE_FIRST_AGE = 14;
constexpr int PERSON_AGE_CURVE_LENGTH = 33;

// Injury types are rows of a 26-row table.
constexpr int PERSON_INJURY_TYPES = 26;

// Largest person identifier a file may name: a sanity bound, so that a damaged
// identifier cannot make the identifier table grow without limit.
constexpr uint32_t PERSON_ID_LIMIT = 1000000;

struct INJURYENTRY {
    DATERECORD Date;
    uint32_t dwPersonId = 0;
    uint16_t wDays = 0;
    uint8_t byType = 0;
    uint8_t byZero = 0;
};

// Written by the club's disciplinary code; the year of the offence leads and
// the competition kind (0, 1 domestic, 2 European) stands at byte 10.
struct DISCIPLINARYENTRY {
    // Byte 8 holds the ban marks the entry adds to the suspension flags.
    static constexpr int MARKS = 8;
    uint8_t abyData[12] = {};
    CDate GetDate() const { return CDate(abyData[0] | abyData[1] << 8, abyData[2], abyData[3]); }
};

class CPersonDatabase {
public:
    CPersonDatabase();
    ~CPersonDatabase();
    CPersonDatabase(const CPersonDatabase&) = delete;
    CPersonDatabase& operator=(const CPersonDatabase&) = delete;

    // Reads the person block and its history entries. False (with a log line)
    // when the stream is short or a value is out of range; the lists then
    // hold what was read and the destructor frees it.
    bool Load(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision, CClubDatabase* pClub);
    bool Save(CBinaryWriter& writer) const;

    int GetAge() const;
    // "%c. %s" in the next of 15 rotating buffers; valid for 15 further calls.
    const char* GetShortName() const;
    const char* GetFirstName() const { return m_pszFirstName; }
    const char* GetLastName() const { return m_pszLastName; }
    // Points both names at dictionary text; an offset that does not start a
    // name of the dictionary gives an empty name.
    void SetNameOffsets(uint32_t dwFirstNameOffset, uint32_t dwLastNameOffset);

    void SetClubId(ID_CLUB id) { m_wClubId = id; }
    static int GetPositionFromRole(int nRole);
    // The same for a role known to be one (0 .. PLAYER_ROLE_COUNT - 1).
    static constexpr int GetPositionOfRole(int nRole)
    {
        return nRole < PLAYER_ROLE_FIRST_DEFENDER     ? PLAYER_POSITION_GOALKEEPER
               : nRole < PLAYER_ROLE_FIRST_MIDFIELDER ? PLAYER_POSITION_DEFENDER
               : nRole < PLAYER_ROLE_FIRST_ATTACKER   ? PLAYER_POSITION_MIDFIELDER
                                                      : PLAYER_POSITION_ATTACKER;
    }
    void GenerateRoles(bool bForcePrimary);
    // The value an attribute should have at age index k (age - 14) for a
    // level; level 0 takes the person's Potential.
    int GetAttributeForAge(int nAttribute, int nAgeIndex, int nLevel) const;
    // The same for every attribute at once, as they stand now.
    void GetAttributesForAge(int nAgeIndex, int nLevel, int anValues[PLAYER_ATTRIBUTE_COUNT]) const;
    // The same for the first nCount attributes, in hundredths (the scale the
    // attributes are held on) as single-precision values; room must be left
    // for nCount rounded up to a whole four.
    void GetAttributeHundredthsForAge(int nAgeIndex, int nLevel, int nCount, float* afValues) const;
    // Appearance type and variant from the nationality's thresholds.
    void DrawAppearance(int nNationality);
    // Rating 0-100 for a role (-1: the primary role) from the eight playing skills.
    int GetRatingForPosition(int nRole) const;
    // The same rating for every role whose bit is set in dwRoles (roles
    // 0 .. PLAYER_ROLE_COUNT - 1), the skills read once for all of them; the
    // other entries are left as they are.
    void GetRatingsForRoles(uint32_t dwRoles, int16_t anRatings[PLAYER_ROLE_COUNT]) const;
    // His rating for every role (0 .. PLAYER_ROLE_COUNT - 1), kept from the
    // last call while his eight playing skills are the same: a side's build
    // asks it of the whole squad before every match, and the skills move
    // only when he trains or is hurt.
    const int16_t* GetRoleRatings() const;

    // Offsets into the weekly history file; -1 without a history slot.
    int GetHistoryRecordOffset(int nWeek) const;
    int GetHistoryHeaderOffset() const;
    int GetSkillChangeBetweenWeeks(int nWeek1, int nWeek2) const;

    // The names a file offset gives; the shared empty name when the offset
    // does not start a name of that dictionary (0 first names, 1 last names).
    static const char* GetDictionaryName(int nDictionary, uint32_t dwOffset);
    static const char* GetEmptyName() { return s_szEmptyName; }
    // The root, set while it exists.
    static CDatabaseHandler* m_pDatabaseHandler;
    static bool ReadDate(CBinaryReader& reader, DATERECORD& date);
    static void WriteDate(CBinaryWriter& writer, const DATERECORD& date);
    static bool IsValidDate(const DATERECORD& date);

    // Target values by role for every attribute, 0-100.
    static const uint8_t s_abyRoleTargets[PLAYER_ROLE_COUNT][PLAYER_ATTRIBUTE_COUNT];
    // Weights of the eight playing skills by role; each row sums to 100.
    static const uint8_t s_abyRoleWeights[PLAYER_ROLE_COUNT][PLAYER_SKILL_COUNT];

    // The fields are laid out by use: those the weekly and daily walks read
    // (club, flags, roles, injury, skills) lie together at the end, where a
    // player's own busy fields follow them, so that a walk over the squads
    // reads a few cache lines of each record instead of all of them.
    const char* m_pszFirstName;
    const char* m_pszLastName;
    CXList m_DisciplinaryHistory;
    CXList m_InjuryHistory;
    uint32_t m_dwFirstNameOffset = 0;
    uint32_t m_dwLastNameOffset = 0;
    uint32_t m_dwReserved = 0;
    uint8_t m_byRecordStatus = 0;
    uint8_t m_byNationality = 0;
    uint8_t m_byAppearanceVariant = 0;
    uint8_t m_byAppearanceType = 0;
    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    CClubDatabase* m_pClub = nullptr;
    uint32_t m_dwFlags = 0;
    DATERECORD m_DateOfBirth;
    int32_t m_nHistorySlot = 0;
    ID_PLAYER m_idPerson = 0;
    ID_CLUB m_wClubId = 0;
    uint8_t m_byPosition = 0;
    uint8_t m_byRole = 0;
    uint16_t m_wRoleMask = 0;
    uint16_t m_wInjuryDays = 0;
    uint8_t m_byInjuryType = 0;
    uint8_t m_byValueBand = 0;
    uint16_t m_awAttributes[PLAYER_ATTRIBUTE_COUNT] = {};

protected:
    void FreeHistory();

private:
    void PickRoles(int nFirstRole, int nGroupSize, int nCount, bool& bSetPrimary);
    void RateEveryRole() const;

    // What GetRoleRatings last worked out, and the skills it worked them out
    // from: compared with the skills as they stand, never invalidated by
    // hand, so that nothing that sets a skill has to know of them.
    mutable bool m_bRolesRated = false;
    mutable uint16_t m_awRatedSkills[PLAYER_SKILL_COUNT] = {};
    mutable int16_t m_anRoleRatings[PLAYER_ROLE_COUNT] = {};
    // The values GetAttributeHundredthsForAge last worked out for the first
    // attributes (on the whole-number scale, Handling as a keeper's), and the
    // age, role and level they came from (none at first).
    static constexpr int kKeptAgeValues = 20;
    mutable uint32_t m_dwAgeValuesKey = 0xFFFFFFFF;
    mutable uint16_t m_awAgeValues[kKeptAgeValues] = {};

    static const char s_szEmptyName[1];
};
