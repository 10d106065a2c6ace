#pragma once
// One youth player: the person block with a value, a rating, a yearly wage
// and a career. New players enter the game here: GenerateYouthRecord draws a
// 14- to 17-year-old shaped by his club and by the league statistics of the
// root. Youths share the root's player table, marked as youths.
#include "database/CPersonDatabase.h"
#include "database/CPlayerDatabase.h"

#include <cstddef>
#include <cstdint>

constexpr uint32_t YOUTH_FLAGS_NEW = 8;
// Role groups that the league statistics are kept by.
constexpr int YOUTH_ROLE_GROUPS = 8;

class CYouthDatabase : public CPersonDatabase {
public:
    // Reads a youth from the stream; one that reads completely is counted and
    // registered as a youth, IsLoaded() tells which.
    CYouthDatabase(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision,
                   CClubDatabase* pClub);
    // A new youth of the club (none: no club) for a position 0-3, generated
    // and registered under the next player identifier.
    CYouthDatabase(CClubDatabase* pClub, int nPosition);
    ~CYouthDatabase();

    // Youths come from a pool of their own, so that the youth squads the
    // weekly steps walk lie in a compact stretch of memory.
    static void* operator new(size_t nBytes);
    static void operator delete(void* pYouth, size_t nBytes);

    bool IsLoaded() const { return m_bLoaded; }
    bool Load(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision, CClubDatabase* pClub);
    bool Save(CBinaryWriter& writer) const;

    // Draws the youth afresh for a position; bNew for a record not yet registered.
    void GenerateYouthRecord(int nPosition, bool bNew);
    void UpdateValueAndWage();
    // The club's youth value gains his value; then his rating is renewed.
    void WeeklyUpdate();
    // An injury drawn from a group of the injury table; a computer club lets
    // a youth go whose injuries this season pass half its season (1 then).
    int DoYouthInjury(int nGroup);
    // Event 27: the injury is over.
    void OnEvent(int nEvent);
    // His potential has reached his club's squad average rating.
    bool IsReadyForFirstTeam() const;
    // Leaves the career entries to whoever took them over.
    void EmptyCareerWithoutFreeing();

    // The role group 0-7 of a role that the league statistics use; -1 for none.
    static int GetRoleGroup(int nRole);
    // The provisional potential for a draw r of rand() % 100: its range.
    static bool GetPotentialRange(int nDraw, int& nLow, int& nHigh);

    uint32_t m_dwValue = 0;
    uint8_t m_byRating = 0;
    uint32_t m_dwYearlyWage = 0;
    uint8_t m_byCareerCount = 0;
    CXList m_Career;  // PLAYERCAREERENTRY

private:
    void FreeCareer();
    bool m_bLoaded = false;
    bool m_bRegistered = false;
};
