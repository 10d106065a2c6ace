#pragma once
// One member of a club's staff or of the pool of unattached staff: a kind,
// qualifications, rating, morale, abilities and a wage. Registered by
// identifier in the database root's staff table.
#include "common/CDate.h"
#include "common/Identifiers.h"

#include <cstddef>
#include <cstdint>

class CBinaryReader;
class CBinaryWriter;
class CCountryDatabase;
class CDivisionDatabase;
class CClubDatabase;
class CDatabaseHandler;

constexpr int STAFF_KINDS = 6;
constexpr int STAFF_ABILITIES = 7;

// State flags.
constexpr uint8_t STAFF_FLAG_RETIRING = 1;
constexpr uint8_t STAFF_FLAG_COUNTED = 2;

// Morale reactions.
enum STAFF_REACTION {
    STAFF_REACTION_PLEASED = 0,
    STAFF_REACTION_WAGE_RISE = 6,
    STAFF_REACTION_WAGE_CUT = 7
};

class CStaffDatabase {
public:
    // Reads a staff member; one that reads completely is registered (state 2
    // with a club, else 4 and the free-staff list unless bKeepUnregistered).
    CStaffDatabase(CBinaryReader& reader, CClubDatabase* pClub, bool bKeepUnregistered);
    // A new member with the next identifier, in the staff pool.
    CStaffDatabase();
    ~CStaffDatabase() = default;
    CStaffDatabase(const CStaffDatabase&) = delete;
    CStaffDatabase& operator=(const CStaffDatabase&) = delete;

    // Staff come from a pool of their own: the weekly staff lookups of every
    // club then read one compact stretch of memory.
    static void* operator new(size_t nBytes);
    static void operator delete(void* pStaff, size_t nBytes);

    bool IsLoaded() const { return m_bLoaded; }
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

    // "%c. %s" in the next of 4 rotating buffers.
    const char* GetShortName() const;
    const char* GetLastName() const { return m_pszLastName; }
    void SetLastNameOffset(uint32_t dwOffset);
    int GetAge() const;
    // The names of the set qualification bits, ", " between them, written
    // into pszOut (at most nOutSize bytes with its end). Bit b is named by
    // apszNames[b + 1]; apszNames[0] names no qualification.
    void GetQualificationsText(const char* const* apszNames, int nNames, char* pszOut, size_t nOutSize) const;
    // The wage he would take; 0 when it is above the offer (-1 = his wage).
    int GetAcceptedWage(int nOffer) const;
    void ChangeWage(uint32_t dwNewWage);
    void ApplyReaction(int nCode);
    void CopyRating() { m_byPreviousRating = m_byRating; }
    void SetClub(CClubDatabase* pClub);
    // A member older than 65 retires unless his club is run by a human.
    // True when he retired: the record no longer exists.
    bool WeeklyAgeCheck();
    // Marks him retiring and moves him to the retired-staff file; the record
    // is destroyed when that succeeds (true).
    bool RetireStaff();
    bool TestTextCondition(int nCode) const;
    // Fills this record as a new member of the given kind, named from the
    // nationality pools.
    void GenerateRecord(int nKind);

    // The staff wage scale: entry i (1-100) is the attendance curve's entry
    // i - 1. Entry 0 (and below) reads as entry 1.
    static int GetWageScaleEntry(int nIndex);

    ID_STAFF GetId() const { return m_idStaff; }

    // The root, set while it exists.
    static CDatabaseHandler* m_pDatabaseHandler;

    uint16_t m_wStoredWord = 0;
    char m_szInitial[2] = {};
    const char* m_pszLastName;
    uint32_t m_dwLastNameOffset = 0;
    DATERECORD m_DateOfBirth;
    uint8_t m_byKind = 0;
    uint8_t m_byQualifications = 0;
    uint8_t m_byRating = 0;
    uint8_t m_byPreviousRating = 0;
    uint8_t m_byMorale = 0;
    uint32_t m_dwWage = 0;
    uint8_t m_abyAbilities[STAFF_ABILITIES] = {};
    uint8_t m_byNationality = 0;
    ID_CLUB m_wFormerClubId = 0;
    DATERECORD m_DateJoined;
    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    uint8_t m_byStateFlags = 0;
    CClubDatabase* m_pClub = nullptr;
    ID_STAFF m_idStaff = 0;

private:
    bool m_bLoaded = false;
};

// Staff of the pool are plain staff records; the pool code names them so.
using CStaffPoolDatabase = CStaffDatabase;
