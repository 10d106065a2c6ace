#pragma once
// One manager, computer-run or a human's: names, ratings, contract, season
// counters and a career of one entry per season and club. Registered by
// identifier in the database root's manager table.
#include "common/CDate.h"
#include "common/Identifiers.h"
#include "database/RecordBytes.h"

#include <cstdint>
#include <vector>

class CBinaryReader;
class CBinaryWriter;
class CCountryDatabase;
class CDivisionDatabase;
class CClubDatabase;
class CDatabaseHandler;

// State flags.
constexpr uint8_t MANAGER_FLAG_GENERATED = 1;
constexpr uint8_t MANAGER_FLAG_RETIRED = 2;

// A name offset with every bit set names nobody.
constexpr uint32_t MANAGER_NO_NAME = 0xFFFFFFFF;

constexpr int MANAGER_CUP_SLOTS = 7;

struct MANAGERCAREERENTRY {
    uint8_t abyCupSlots[MANAGER_CUP_SLOTS][2] = {{0xFF, 0xFF}, {0xFF, 0xFF}, {0xFF, 0xFF}, {0xFF, 0xFF},
                                                 {0xFF, 0xFF}, {0xFF, 0xFF}, {0xFF, 0xFF}};
    uint16_t wClubId = 0;
    uint8_t bySeason = 0;
    uint8_t byMatches = 0;
    uint8_t byWon = 0;
    uint8_t byDrawn = 0;
    uint8_t byLost = 0;
    uint8_t byGoalsFor = 0;
    uint8_t byGoalsAgainst = 0;
    uint8_t byPoints = 0;
    uint8_t byLeaguePosition = 0;
    uint8_t byZero = 0;
};

struct MANAGERCONTRACT {
    uint32_t dwWage = 0;  // per month
    DATERECORD StartDate;
    DATERECORD EndDate;
    uint8_t abyBonus[3] = {};
    uint8_t byZero = 0;
};

// What the contract draw needs of the club's division.
struct MANAGERCONTRACTTERMS {
    bool bHasDivision = false;
    int nDivisionLevel = 0;
    int nSeasonStartYear = 0;
    int nStartMonth = 7;
    int nStartSaturday = 1;
    int nEndMonth = 6;
    int nEndSaturday = 1;
};

class CManagerDatabase {
public:
    // Reads a manager; one that reads completely is registered (state 2 with
    // a club, else 4 unless bKeepUnregistered). IsLoaded() tells which.
    CManagerDatabase(CBinaryReader& reader, CClubDatabase* pClub, bool bKeepUnregistered);
    // A new manager with the next identifier, in the unemployed pool.
    CManagerDatabase();
    ~CManagerDatabase();
    CManagerDatabase(const CManagerDatabase&) = delete;
    CManagerDatabase& operator=(const CManagerDatabase&) = delete;

    bool IsLoaded() const { return m_bLoaded; }
    bool Load(CBinaryReader& reader, CClubDatabase* pClub);
    bool Save(CBinaryWriter& writer) const;

    const char* GetShortName() const;
    const char* GetFirstName() const { return m_pszFirstName; }
    const char* GetLastName() const { return m_pszLastName; }
    void SetNameOffsets(uint32_t dwFirstNameOffset, uint32_t dwLastNameOffset);
    int GetAge() const;
    int GetContractWeeksLeft() const;
    int GetCompensation() const;
    bool IsNewInJob() const;

    void AddCareerEntry(int nSeason, ID_CLUB idClub);
    // nIndex -1 asks for the last entry; null when there is none. An entry
    // stays where it is only until the next one is added.
    MANAGERCAREERENTRY* GetCareerEntry(int nIndex);
    const MANAGERCAREERENTRY* GetCareerEntry(int nIndex) const;
    bool HasManagedClub(ID_CLUB idClub) const;
    void SetCupSlot(int nSlot, uint8_t byFirst, uint8_t bySecond);
    // One league match of his club into the last career entry, with the
    // club's league position after it.
    void RecordLeagueResult(int nGoalsFor, int nGoalsAgainst, int nLeaguePosition);
    void UpdateLeaguePosition(int nLeaguePosition);
    void MarkRetired() { m_byStateFlags |= MANAGER_FLAG_RETIRED; }

    void GenerateRecord();
    // Names of a nationality: mostly his club's country's.
    void ReGenerateNationality();
    // He joins the club; a made-up man taking his first job is given a name
    // of its country.
    void TakeClub(CClubDatabase* pClub);
    // Draws the contract that the division's terms give for this rating.
    void GenerateManagerContract(const MANAGERCONTRACTTERMS& terms);
    // The terms of a job at the club: its division's level, this season.
    static MANAGERCONTRACTTERMS GetContractTermsForClub(const CClubDatabase* pClub);
    // A human's manager at the club he has just taken: rated as the club,
    // his ability near that, the club in his career and a contract drawn
    // on the club's terms.
    void SetupForClub();
    // News 251 naming him for the human who runs his club.
    void AnnounceToOwnManager() const;
    // {manager, club, value}: the given club, else his own, else none.
    PERSONREFERENCE FillReference(int32_t nValue, const CClubDatabase* pClub = nullptr) const;

    ID_MANAGER GetId() const { return m_idManager; }

    // The root, set while it exists.
    static CDatabaseHandler* m_pDatabaseHandler;

    uint32_t m_dwFirstNameOffset = MANAGER_NO_NAME;
    uint32_t m_dwLastNameOffset = MANAGER_NO_NAME;
    const char* m_pszFirstName;
    const char* m_pszLastName;
    uint8_t m_byNationality = 0;
    uint8_t m_bySeasonCounter = 0;
    uint8_t m_byAbility = 0;
    uint8_t m_byRating = 0;
    uint8_t m_bySmallValue1 = 0;
    uint8_t m_bySmallValue2 = 0;
    DATERECORD m_DateOfBirth;
    uint8_t m_byStateFlags = 0;
    MANAGERCONTRACT m_Contract;
    uint32_t m_dwSeasonValueA = 0;
    uint32_t m_dwSeasonValueB = 0;
    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    CClubDatabase* m_pClub = nullptr;
    ID_MANAGER m_idManager = 0;
    // Held by value: every league result of the season goes to the last
    // entry, which then lies one step from the manager, not two (node and
    // entry) in memory allocated seasons apart.
    std::vector<MANAGERCAREERENTRY> m_Career;

private:
    void FreeCareer();
    // A random first and last name of a nationality's pools.
    void DrawNames(int nRow, const char* pszCaller);
    bool m_bLoaded = false;
};
