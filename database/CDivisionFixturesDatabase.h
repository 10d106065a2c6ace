#pragma once
// One league fixture of a division: two clubs on a date at a ground, with its
// referee and, once played, its result.
#include <cstddef>
#include <cstdint>

#include "common/CDate.h"
#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;
class CRefereeDatabase;

class CDivisionFixturesDatabase {
public:
    static constexpr int FILE_SIZE = 28;
    static constexpr uint8_t GOALS_UNPLAYED = 255;

    CDivisionFixturesDatabase() = default;
    // The caller passes the home club's ground, where the fixture is played.
    CDivisionFixturesDatabase(uint32_t dwIdentifier, const CDate& date, ID_CLUB wHome, ID_CLUB wAway,
                              uint32_t dwReferee, uint8_t byRound, ID_GROUND wGround);

    // Fixtures come from a pool of their own, so that a season's fixtures,
    // made together, lie together however old the heap is.
    static void* operator new(size_t nBytes);
    static void operator delete(void* pFixture, size_t nBytes);

    // Reads one record; false (with a log line) for a short or damaged one.
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;
    // Registers the fixture with its referee, found by identifier.
    void SetupPointers();
    // The same with the referee already found (null logs and does nothing).
    void AttachToReferee(CRefereeDatabase* pReferee);

    bool IsClubInvolved(ID_CLUB wClub) const { return wClub != 0 && (wClub == m_wHomeClub || wClub == m_wAwayClub); }
    bool IsPlayed() const { return m_byHomeGoals != GOALS_UNPLAYED && m_byAwayGoals != GOALS_UNPLAYED; }

    const CDate& GetDate() const { return m_Date; }
    // Moves the fixture; its referee sees the new date.
    void SetDate(const CDate& date);
    ID_CLUB GetHomeClubID() const { return m_wHomeClub; }
    ID_CLUB GetAwayClubID() const { return m_wAwayClub; }
    ID_GROUND GetGroundID() const { return m_wGround; }
    void SetGroundID(ID_GROUND wGround) { m_wGround = wGround; }
    uint8_t GetHomeGoals() const { return m_byHomeGoals; }
    uint8_t GetAwayGoals() const { return m_byAwayGoals; }
    void SetGoals(uint8_t byHome, uint8_t byAway) { m_byHomeGoals = byHome; m_byAwayGoals = byAway; }
    uint32_t GetResultValue() const { return m_dwResult; }
    void SetResultValue(uint32_t dwValue) { m_dwResult = dwValue; }
    uint32_t GetReferee() const { return m_dwReferee; }
    uint16_t GetRefereeID() const { return static_cast<uint16_t>(m_dwReferee & 0xFFFF); }
    void SetReferee(uint32_t dwReferee) { m_dwReferee = dwReferee; }
    uint32_t GetFixtureID() const { return m_dwFixtureID; }
    uint8_t GetRound() const { return m_byRound; }
    uint8_t GetState() const { return m_byState; }
    void SetState(uint8_t byState) { m_byState = byState; }

private:
    CDate m_Date;
    ID_CLUB m_wHomeClub = 0;
    ID_CLUB m_wAwayClub = 0;
    ID_GROUND m_wGround = 0;
    uint8_t m_byHomeGoals = GOALS_UNPLAYED;
    uint8_t m_byAwayGoals = GOALS_UNPLAYED;
    uint32_t m_dwResult = 0;
    uint32_t m_dwReferee = 0;
    uint32_t m_dwFixtureID = 0;
    uint8_t m_byRound = 0;
    uint8_t m_byState = 0;
};
