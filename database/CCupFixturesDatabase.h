#pragma once
// One cup or friendly fixture. Cup fixtures name their cup by cup number;
// two-leg ties know the fixture of their other leg.
#include <cstdint>

#include "common/CDate.h"
#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;
class CRefereeDatabase;
struct CUP;

class CCupFixturesDatabase {
public:
    static constexpr int FILE_SIZE = 32;
    static constexpr uint8_t GOALS_UNPLAYED = 255;
    static constexpr uint8_t KIND_FRIENDLY = 3;

    CCupFixturesDatabase() = default;

    // Reads one record; false (with a log line) for a short or damaged one,
    // among them a cup number that names no cup kind.
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;
    // Registers the fixture with its referee, found by identifier, under the
    // given assignment kind.
    void SetupPointers(uint32_t dwKind);
    void AttachToReferee(CRefereeDatabase* pReferee, uint32_t dwKind);

    bool IsClubInvolved(ID_CLUB wClub) const { return wClub != 0 && (wClub == m_wHomeClub || wClub == m_wAwayClub); }
    bool IsPlayed() const { return m_byHomeGoals != GOALS_UNPLAYED && m_byAwayGoals != GOALS_UNPLAYED; }
    bool IsFriendly() const { return m_byCup == CUP_NUMBER_NONE; }

    // Fills a new fixture; goals unplayed, no cup, no other leg.
    void Set(uint8_t byKind, const CDate& date, ID_CLUB wHome, ID_CLUB wAway, uint32_t dwFixtureID,
             uint32_t dwRoundValue, uint32_t dwClubPair, CUP_NUMBER byCup, ID_GROUND wGround);

    const CDate& GetDate() const { return m_Date; }
    // Moves the fixture; its referee sees the new date.
    void SetDate(const CDate& date);
    uint8_t GetKind() const { return m_byKind; }
    // A replay's kind is its tie's kind plus REPLAY_KIND_OFFSET.
    static constexpr uint8_t REPLAY_KIND_OFFSET = 100;
    uint8_t GetTieKind() const { return m_byKind % REPLAY_KIND_OFFSET; }
    bool IsReplay() const { return m_byKind > REPLAY_KIND_OFFSET; }
    // A club put in as a stand-in (the first club of a replay still to be
    // played) gives way to the club that won the replay.
    void ReplaceClub(ID_CLUB wOld, ID_CLUB wNew)
    {
        if (m_wHomeClub == wOld)
            m_wHomeClub = wNew;
        else if (m_wAwayClub == wOld)
            m_wAwayClub = wNew;
    }
    ID_CLUB GetHomeClubID() const { return m_wHomeClub; }
    ID_CLUB GetAwayClubID() const { return m_wAwayClub; }
    uint8_t GetHomeGoals() const { return m_byHomeGoals; }
    uint8_t GetAwayGoals() const { return m_byAwayGoals; }
    void SetGoals(uint8_t byHome, uint8_t byAway) { m_byHomeGoals = byHome; m_byAwayGoals = byAway; }
    uint32_t GetReferee() const { return m_dwReferee; }
    uint16_t GetRefereeID() const { return static_cast<uint16_t>(m_dwReferee & 0xFFFF); }
    void SetReferee(uint32_t dwReferee) { m_dwReferee = dwReferee; }
    uint32_t GetFixtureID() const { return m_dwFixtureID; }
    uint32_t GetRoundValue() const { return m_dwRoundValue; }
    void SetRoundValue(uint32_t dwValue) { m_dwRoundValue = dwValue; }
    uint32_t GetClubPair() const { return m_dwClubPair; }
    CUP_NUMBER GetCupNumber() const { return m_byCup; }
    ID_GROUND GetGroundID() const { return m_wGround; }
    void SetGroundID(ID_GROUND wGround) { m_wGround = wGround; }
    uint8_t GetLeg() const { return m_byLeg; }
    void SetLeg(uint8_t byLeg) { m_byLeg = byLeg; }
    CUP* GetCup() const { return m_pCup; }
    void SetCup(CUP* pCup) { m_pCup = pCup; }
    CCupFixturesDatabase* GetOtherLeg() const { return m_pOtherLeg; }
    void SetOtherLeg(CCupFixturesDatabase* pOther) { m_pOtherLeg = pOther; }

private:
    CDate m_Date;
    uint8_t m_byKind = 0;
    ID_CLUB m_wHomeClub = 0;
    ID_CLUB m_wAwayClub = 0;
    uint8_t m_byHomeGoals = GOALS_UNPLAYED;
    uint8_t m_byAwayGoals = GOALS_UNPLAYED;
    uint32_t m_dwReferee = 0;
    uint32_t m_dwFixtureID = 0;
    uint32_t m_dwRoundValue = 0;
    uint32_t m_dwClubPair = 0;
    CUP_NUMBER m_byCup = CUP_NUMBER_NONE;
    ID_GROUND m_wGround = 0;
    uint8_t m_byLeg = 0;
    // Not stored: resolved after loading.
    CUP* m_pCup = nullptr;
    CCupFixturesDatabase* m_pOtherLeg = nullptr;
};
