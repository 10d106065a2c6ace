#pragma once
// One professional player: the person block followed by his value, contract,
// squad and transfer state, bans, cup-tied marks, career and per-competition
// match information. Registered by identifier in the database root.
#include "database/CPersonDatabase.h"
#include "database/RecordBytes.h"

// Player flags (the person block's flags).
constexpr uint32_t PLAYER_FLAG_NEEDS_WORK_PERMIT = 0x4;
constexpr uint32_t PLAYER_FLAG_WORK_PERMIT_SETTLED = 0x80;
constexpr uint32_t PLAYER_FLAG_RETIRING = 0x400;
constexpr uint32_t PLAYER_FLAG_NOT_FOR_SALE = 0x1000;
constexpr uint32_t PLAYER_FLAG_NEWLY_SIGNED = 0x8000;
constexpr uint32_t PLAYER_FLAG_INJURED = 0x10000;
constexpr uint32_t PLAYER_FLAG_CONTRACT_REQUEST = 0x20000;
constexpr uint32_t PLAYER_FLAG_WORK_PERMIT_GRANTED = 0x40000;
// Let go by a computer club with too many players in his group: he no longer
// counts in its squad while he waits on the list.
constexpr uint32_t PLAYER_FLAG_RELEASED = 0x80000;

// Suspension flags.
constexpr uint8_t PLAYER_SUSPENDED_DOMESTIC = 0x4;
constexpr uint8_t PLAYER_SUSPENDED_DOMESTIC_MARK = 0x10;
constexpr uint8_t PLAYER_SUSPENDED_EUROPEAN = 0x20;

// Transfer states that hold the asking price where it is.
constexpr uint8_t PLAYER_TRANSFER_LISTED = 1;
constexpr uint8_t PLAYER_TRANSFER_ON_LOAN = 3;
constexpr uint8_t PLAYER_TRANSFER_LEAVING = 4;

// Squad numbers run 1-44.
constexpr int PLAYER_SQUAD_NUMBER_LIMIT = 45;

enum MATCH_INFORMATION_FIELD {
    MATCH_INFORMATION_STARTS = 0,
    MATCH_INFORMATION_SUBSTITUTE = 1,
    MATCH_INFORMATION_GOALS = 4,
    MATCH_INFORMATION_MAN_OF_THE_MATCH = 9,
    MATCH_INFORMATION_BOOKINGS = 11,
    MATCH_INFORMATION_FIELD_COUNT = 12
};

// Competitions 0-3 are counted inside the career entry; others in a list.
constexpr int PLAYER_CAREER_COMPETITIONS = 4;

class CBinaryReader;
class CBinaryWriter;

struct MATCHINFORMATION {
    uint8_t byCompetition = 0;
    uint8_t abyFields[MATCH_INFORMATION_FIELD_COUNT] = {};
    uint8_t byZero = 0;
};

// One season of a career; 72 bytes on file, shared by players and youths.
struct PLAYERCAREERENTRY {
    static constexpr int kFileBytes = 72;

    uint8_t bySeason = 0;
    uint8_t byZero = 0;
    uint16_t wClubId = 0;
    MATCHINFORMATION aMatchInformation[PLAYER_CAREER_COMPETITIONS];
    uint8_t byMatchesAvailable = 0;
    uint32_t dwValue = 0;
    uint8_t byRating = 0;

    bool Read(CBinaryReader& reader);
    void Write(CBinaryWriter& writer) const;
    // Appends nCount entries read from the stream to a career list; false at
    // the first one that is cut short (those before it stay in the list).
    static bool ReadList(CBinaryReader& reader, int nCount, CXList& career);

    // Entries come from a pool of their own: a load or a season's turn makes
    // one for every player in turn, and they stay out of the general heap.
    static void* operator new(size_t nBytes);
    static void operator delete(void* pEntry, size_t nBytes);
};

constexpr int PLAYER_CONTRACT_BONUSES = 7;
// Bonus bits of a contract's clause word; amount slot i belongs to bit 0x08 << i.
constexpr uint16_t PLAYER_BONUS_PER_GOAL = 0x20;
constexpr uint16_t PLAYER_BONUS_GOALS_TARGET = 0x40;
constexpr uint16_t PLAYER_BONUS_PER_CLEAN_SHEET = 0x80;
constexpr uint16_t PLAYER_BONUS_CLEAN_SHEETS_TARGET = 0x100;
constexpr uint16_t PLAYER_BONUS_APPEARANCES_TARGET = 0x200;
constexpr int PlayerBonusSlot(uint16_t wBit)
{
    int n = 0;
    while ((0x08u << n) < wBit)
        ++n;
    return n;
}
// The player's transfer block holds the terms of the move that brought him:
// three (amount, count) conditions, the instalment, a further amount, the
// instalments left, their number and a percentage, and the club he came from.
// Words 0-5 are the conditions as (amount, count) pairs; the counts word
// holds the instalments left, their number and the percentage, a byte each.
constexpr int PLAYER_TERMS_CONDITIONS = 3;
constexpr int PLAYER_TERMS_INSTALMENT = 6;
constexpr int PLAYER_TERMS_FURTHER = 7;
constexpr int PLAYER_TERMS_COUNTS = 8;
constexpr int PLAYER_TERMS_FORMER_CLUB = 9;

struct PLAYERCONTRACT {
    uint32_t dwSigningOnFee = 0;
    uint32_t dwYearlyWage = 0;
    uint32_t dwStartDate = 0;
    uint32_t dwEndDate = 0;
    uint32_t adwBonus[PLAYER_CONTRACT_BONUSES] = {};
    uint16_t wClauses = 0;
    uint8_t byClauseLevelA = 0;
    uint8_t byClauseLevelB = 0;
    uint8_t byGoalsTarget = 0;
    uint8_t byBonusTarget = 0;
    uint8_t byAppearancesTarget = 0;
    uint8_t byZero = 0;
};

constexpr int PLAYER_TRANSFER_BLOCK_WORDS = 11;
constexpr int PLAYER_VALUE_BANDS = 16;

// The owner-derived inputs of the value band. A part whose owner is missing
// takes its "none" value.
struct VALUEBANDFACTORS {
    int nDivisionLevel = 0;       // 1-4 for the top four levels, 0 none
    bool bHasClub = false;
    bool bDivisionCountsPlayingTime = false;
    bool bHasCountry = false;
    int nCountryLevel = 0;
    int nClubRating = 0;
};

// What a quick match adds to a player's match information.
struct PLAYERQUICKMATCH {
    bool bStarted = false;
    bool bCameOn = false;
    int nGoals = 0;
    int nBookings = 0;
    bool bSentOff = false;
    // He started and his side conceded nothing.
    bool bCleanSheet = false;
    int nRating = 0;
};

class CPlayerDatabase : public CPersonDatabase {
public:
    // Reads a player from the stream: the full record, or the 24-byte retired
    // form. A full record that reads completely is counted and registered;
    // one that does not is neither, and IsLoaded() is false.
    CPlayerDatabase(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision,
                    CClubDatabase* pClub, bool bShortForm);
    // Promotes a youth: a new squad player with the youth's identifier,
    // person block, wage and career, registered in the youth's place. The
    // caller then deletes the youth.
    explicit CPlayerDatabase(class CYouthDatabase* pYouth);
    ~CPlayerDatabase();

    // Players come from a pool of their own, so that the squads the weekly
    // steps walk lie in a compact stretch of memory.
    static void* operator new(size_t nBytes);
    static void operator delete(void* pPlayer, size_t nBytes);

    bool IsLoaded() const { return m_bLoaded; }
    bool Load(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision, CClubDatabase* pClub);
    bool Save(CBinaryWriter& writer) const;
    bool LoadShort(CBinaryReader& reader);
    bool SaveShort(CBinaryWriter& writer) const;
    bool IsRetired() const;

    // Career and match information.
    void AddCareerEntry(CClubDatabase* pClub, bool bContinue);
    PLAYERCAREERENTRY* GetCurrentCareerEntry() const;
    MATCHINFORMATION* GetMatchInformation(int nCompetition) const;
    int GetMatchInformationField(int nCompetition, int nField) const;
    void IncrementMatchInformationField(int nCompetition, int nField, int nAmount);
    void RemoveAllMatchInformation();
    // Totals over competitions 0-3 of the current career entry; 0 without one.
    int GetSeasonTotal(int nField) const;
    // The same without the friendlies (competition 3): what a season's
    // records count.
    int GetSeasonCompetitiveTotal(int nField) const;
    int GetSeasonStarts() const { return GetSeasonTotal(MATCH_INFORMATION_STARTS); }
    int GetSeasonSubstituteAppearances() const { return GetSeasonTotal(MATCH_INFORMATION_SUBSTITUTE); }
    int GetSeasonField2Total() const { return GetSeasonTotal(2); }
    int GetSeasonField3Total() const { return GetSeasonTotal(3); }
    int GetSeasonField4Total() const { return GetSeasonTotal(4); }
    int GetSeasonField10Total() const { return GetSeasonTotal(10); }
    int GetSeasonBookings() const { return GetSeasonTotal(MATCH_INFORMATION_BOOKINGS); }
    int GetSeasonManOfTheMatchAwards() const { return GetSeasonTotal(MATCH_INFORMATION_MAN_OF_THE_MATCH); }
    int GetMatchesAvailable() const;
    void AddMatchAvailable();
    void CountMatchAvailable(int nKind);
    int GetStartPercentage() const;
    int GetPlayedPercentage() const;
    void RecordAppearance(int nSheetSlot, int nCompetition, bool bCameOn);
    bool IsInjured() const { return (m_dwFlags & PLAYER_FLAG_INJURED) != 0; }
    bool IsSuspended(int nKind) const;
    void ServeSuspension(int nKind);
    ID_CLUB GetPreviousClubId() const;

    // Market value (the rating for a role is the person's).
    static void InitialisePlayerValueTables();
    static float GetValueCurveEntry(int nBand, int nRating);
    static float GetBoostCurveEntry(int nIndex);
    static int GetPeakAge(int nRole);
    int GetPlayerValue(int nBand) const;
    int GetValueBand(bool bRaw);
    // The band that the parts give before it is stepped or clamped.
    int GetRawValueBand(const VALUEBANDFACTORS& factors) const;
    void GetValueBandFactors(VALUEBANDFACTORS& factors) const;
    void UpdateRatingAndValue(bool bFull);
    void WeeklyValueUpdate(bool bWeekly);
    int GetRoleSelectionScore(int nRole) const;
    int GetMatchSelectionScore(int nRole, int nKind, bool bAllowUnfit) const;
    // The same with his rating for the role already known.
    int GetMatchSelectionScore(int nRole, int nKind, bool bAllowUnfit, int nRating) const;
    // The same for a side's builder, which asks it of every player for every
    // role of the side: whether he is banned for the match is known already.
    int GetMatchSelectionScoreWithBan(int nRole, bool bAllowUnfit, int nRating, bool bSuspended) const
    {
        const bool bRole = nRole >= 0 && nRole < PLAYER_ROLE_COUNT;
        int nScore = nRating;
        if ((bRole ? GetPositionOfRole(nRole) : GetPositionFromRole(nRole)) == m_byPosition)
            nScore += 20;
        if (bSuspended) {
            if (!bAllowUnfit)
                return nScore - 1000;
            nScore -= 30;
        }
        if (IsInjured()) {
            if (!bAllowUnfit)
                return nScore - 1000;
            nScore -= 30;
        }
        if (bRole && (m_wRoleMask & (1u << nRole)))
            nScore += 40;
        if (nRole == m_byRole)
            nScore += 50;
        return nScore;
    }

    // Matches (CPlayerDatabaseMatch.cpp). The player's value for a match,
    // 0-100 around 50, from his morale, the match kind and the clubs.
    int GetMatchMorale(int nMatchKind, const CClubDatabase* pClub, const CClubDatabase* pOpponent) const;
    // The same from the factor of the match kind and clubs, worked out once
    // for a side whose players all belong to pOwn (his own club, or pClub
    // when he has none).
    static float GetMatchMoraleFactor(int nMatchKind, const CClubDatabase* pOwn, const CClubDatabase* pClub,
                                      const CClubDatabase* pOpponent);
    int GetMatchMorale(float fFactor) const;
    // Adds one quick match's counters to the competition's block.
    void UpdateAfterQuickMatch(int nCompetition, const PLAYERQUICKMATCH& match);
    // An injury drawn from a group 0-7 of the injury table; 1 when it ends
    // his career.
    int DoInjury(int nGroup, bool bInMatch);
    // One draw from an injury group 0-7 of the injury table: the injury's
    // type and its length in days.
    static int DrawInjury(int nGroup, bool bGoalkeeper, uint8_t& byType);
    // 1 may still play, 2 unavailable.
    static int GetInjuryStatus(int nType);

    // ---- contracts (CPlayerDatabaseContract.cpp) ----
    // Draws a contract for the club and division (none: his own); a
    // backdated one starts 0-48 weeks before today on the same weekday.
    void GenerateContract(PLAYERCONTRACT& contract, CDivisionDatabase* pDivision, CClubDatabase* pClub,
                          bool bBackdated) const;
    // Unit 1 months, 2 years, anything else weeks; truncated.
    int GetContractTimeLeft(int nUnit) const;
    // The day number of the date GetContractTimeLeft counts from, and its
    // whole weeks (unit 0) from that day number taken once for a squad.
    static int GetContractToday();
    int GetContractWeeksLeft(int nToday) const { return (CDate(m_Contract.dwEndDate).GetDayNumber() - nToday) / 7; }
    int GetContractLength(int nUnit) const;
    // The yearly worth of a contract for a club.
    int32_t GetContractWorth(const PLAYERCONTRACT& contract, const CClubDatabase* pClub) const;
    // His monthly insurance premium of kind 0-3 (bits 0-3 of his clause
    // byte), 0 when he is not covered by it.
    int32_t GetMonthlyInsurance(int nKind) const;
    // What cover 0-3 costs a month, whether or not he has it.
    int32_t GetInsurancePremium(int nKind) const;
    // The yearly allowances of the contract's two clause levels.
    static int32_t GetContractAllowances(const PLAYERCONTRACT& contract);
    void DrawContractClauses();
    // The contract's 13 words as a buy offer carries them.
    static void PackContract(const PLAYERCONTRACT& contract, uint32_t adwWords[13]);
    static void UnpackContract(const uint32_t adwWords[13], PLAYERCONTRACT& contract);
    // Weekly at a human club: true when he asks for a new contract (news to
    // the club and flag 0x20000).
    bool CheckContractRequest();
    // 0-100 around 50, with the index of the strongest unhappiness part.
    int GetContractHappiness(int& nReason) const;
    // How an offer of a club (none: no club) appeals to him, 0-100 around
    // 50, with the index of the strongest part.
    int GetOfferAttraction(const PLAYERCONTRACT& offer, const CClubDatabase* pClub, int& nReason) const;
    // An appearance bonus to propose; false (0 and 0) when the draw fails.
    bool ProposeAppearanceBonus(const CClubDatabase* pClub, int& nTarget, int& nAmount) const;
    // Half a year after a signing at a human club: news 108 or 109 on what
    // was paid against his value.
    void ReviewSigning() const;
    // His answer to a contract offered by a human's club: true refuses.
    bool RefuseContractOffer(const CClubDatabase* pOfferClub, const PLAYERCONTRACT& offer) const;
    // 0-100 by his share of the matches he could have played; 50 before any.
    int GetPlayingTimeScore() const;
    // ---- end of contracts ----

    // The busy fields first, right after the person's (see there).
    uint32_t m_dwValue = 0;
    uint32_t m_dwAskingPrice = 0;
    uint8_t m_byRating = 0;
    uint8_t m_byTransferState = 0;
    uint8_t m_bySuspensionFlags = 0;
    uint8_t m_byDomesticBanMatches = 0;
    uint8_t m_byEuropeanBanMatches = 0;
    uint8_t m_byMatchByte = 0;
    uint8_t m_bySquadNumber = 0;
    uint8_t m_bySeasonCounter = 0;
    uint16_t m_wDaysListed = 0;
    ID_CLUB m_wLoanClubId = 0;
    PLAYERCONTRACT m_Contract;
    CXList m_MatchInformation;
    // Competitive goals and clean sheets since his club last paid his
    // per-goal and per-clean-sheet bonuses (stored bytes of the record).
    uint8_t m_byPeriodGoals = 0;
    uint8_t m_byRoleCopy = 0;
    uint8_t m_byPeriodCleanSheets = 0;
    uint8_t m_byContractClauses = 0;
    // Competitive clean sheets this season (the record's stored word).
    uint16_t m_wSeasonCleanSheets = 0;
    uint8_t m_abySpare[2] = {};
    uint32_t m_dwCupTiedMask = 0;
    uint32_t m_dwRuleCupTiedMask = 0;
    uint32_t m_dwSeasonPoints = 0;
    uint32_t m_dwSeasonPointsCounted = 0;
    uint32_t m_adwTransferBlock[PLAYER_TRANSFER_BLOCK_WORDS] = {};
    uint8_t m_byCareerCount = 0;
    uint8_t m_byRegistered = 0;
    CXList m_Career;

    // ---- week-to-week life (CPlayerDatabaseDevelopment.cpp,
    // CPlayerDatabaseInjuries.cpp) ----
    // The week's training rate, effort threshold and effort cap.
    static float s_fTrainingRate;
    static float s_fEffortThreshold;
    static float s_fEffortCap;
    // One skill's new value in hundredths, toward a target given whole.
    static int ApplyTrainingStep(int nCurrent, int nTarget, float fEffort, float fThreshold, float fCap);
    // One week of training; true when it injures him.
    bool DevelopPlayer(bool bMatchWeek, bool bComputerClub);
    void DevelopInjuredPlayer(bool bLive, int nAgeIndex);
    // A youth trains on his position's default plan, or a human club's own;
    // true when he is hurt.
    static bool DevelopYouth(CPersonDatabase& youth, bool bComputerClub = true);
    // A match's bookings and sending-off in competition 0-3; a ban the
    // rules impose is entered and starts the next day (event 29).
    void RecordCard(int nCompetition, int nBookings, bool bSentOff);
    // Events 27 recovery, 28 work permit review, 29 a ban starts.
    void OnEvent(int nEvent, const CDate& date);
    void ReviewWorkPermit();
    // Marks a player retiring once he is ten years past his role's peak.
    bool CheckRetirementAge();
    // Weekly: injury cover by contract clause, a new signing settles in, and
    // a contract that has run out puts him on the list for a free transfer.
    void WeeklyContractCheck();
    // Weekly, at a computer club: a player listed for 150 days goes from
    // half price to free, and from free to retirement, unless he rates well
    // above his club's squad, which then takes him back.
    void WeeklyListingUpdate(bool bWeekly);
    // The points gained since the last posting go to his club's period
    // counters and, when he beats an entry, to his division's eleven.
    void PostSeasonPoints();
    // Sets or clears the work-permit marks for his present club; a player
    // who needs one has his review scheduled a year ahead.
    void DoWorkPermitTest();
    // Weekly at a human club: a foreign player who has played enough since
    // the season began is granted his permit.
    void WeeklyWorkPermitCheck();
    // Cup-tied: played in the cup this season (by cup type and country,
    // none for the European cups), and, for a cup that applies the rule,
    // played in it for a club he has since left.
    bool IsCupTiedForCup(int nCupType, const CCountryDatabase* pCountry) const;
    bool IsCupTied(const struct CUP* pCup) const;
    // After he changes club: every cup he has played in this season ties him.
    void CarryCupTies() { m_dwRuleCupTiedMask |= m_dwCupTiedMask; }
    // Ends his loan at once, as its return day would.
    void DoImmediateReturnFromLoan();
    // Raises the season counter: one more award this season.
    void RecordSeasonEvent();
    // His club, or the club of his last career entry while he has none.
    CClubDatabase* GetCurrentClub() const;
    // The season's start: a new career entry at his club (none for a player
    // who is leaving), the season's counters cleared, and injury,
    // disciplinary and career entries older than the seasons the game keeps
    // freed (a European ban still running keeps its entry).
    void NewSeasonReset();
    // Offers his season to the season's award lists: the country's five top
    // scorers (5 x 12 bytes at pTopList), the division's top scorer and its
    // eleven of the season by season points, 1-4-4-2.
    void UpdateSeasonAwards(uint8_t* pTopList, struct DIVISIONARCHIVERECORD& archive) const;
    // News for a human who runs his club: 252 (kind 0) or 254 naming him.
    void AnnounceToClub(int nKind) const;
    // {club, player, value}: the given club, else his own, else none.
    PERSONREFERENCE FillReference(int32_t nValue, const CClubDatabase* pClub = nullptr) const;
    // ---- end of week-to-week life ----

private:
    void FreePlayerLists();
    bool m_bLoaded = false;
};
