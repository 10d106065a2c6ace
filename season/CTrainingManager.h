#pragma once
// One human manager's training: the week plan of activity kinds (7 days of 6
// slots), the plan files it comes from, each player's individual split of
// effort over the nine training areas, the booked training camps, and the
// weekly figures that player development reads.
//
// Plan files are shared by every manager: the built-in plans of
// "Data\Training\%s.ptp" and the club plans of "Data\Saves\%s.ctp".
#include <cstdint>

#include "common/CDate.h"
#include "common/CXList.h"
#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;
class CClubDatabase;
class CPersonDatabase;
class CSaveGame;

constexpr int TRAINING_DAYS = 7;
constexpr int TRAINING_SLOTS_PER_DAY = 6;
constexpr int TRAINING_WEEK_SLOTS = TRAINING_DAYS * TRAINING_SLOTS_PER_DAY;
constexpr int TRAINING_ACTIVITY_KINDS = 12;
constexpr int TRAINING_TOTALS = 19;
constexpr int TRAINING_AREAS = 9;
constexpr int TRAINING_ENTRIES = 50;
constexpr int TRAINING_PLAN_TEXT = 40;
constexpr int TRAINING_CAMP_BYTES = 16;
constexpr uint8_t TRAINING_KIND_REST = 10;
constexpr uint8_t TRAINING_KIND_FREE = 11;
constexpr uint16_t TRAINING_PLAN_MAGIC = 0x0F0F;
constexpr uint16_t TRAINING_PLAN_VERSION = 0x0100;
constexpr int TRAINING_PLAN_FILE_BYTES = 4 + TRAINING_WEEK_SLOTS;
// The built-in plans, in the order of the plan list.
enum { TRAINING_PLAN_DEFENSIVE = 0, TRAINING_PLAN_NORMAL = 1, TRAINING_PLAN_OFFENSIVE = 2, TRAINING_PLAN_WEEKOFF = 3 };
// The totals a week's plan adds up, one per trained attribute (the playing
// skills in the order of the training areas, then the rest), and the team
// spirit the screens show.
enum {
    TRAINING_TOTAL_HANDLING,
    TRAINING_TOTAL_TACKLING,
    TRAINING_TOTAL_PASSING,
    TRAINING_TOTAL_DRIBBLING,
    TRAINING_TOTAL_HEADING,
    TRAINING_TOTAL_SHOOTING,
    TRAINING_TOTAL_PACE,
    TRAINING_TOTAL_STRENGTH,
    TRAINING_TOTAL_AGILITY,
    TRAINING_TOTAL_AGGRESSION,
    TRAINING_TOTAL_FITNESS,
    TRAINING_TOTAL_MORALE,
    TRAINING_TOTAL_WILLPOWER,
    TRAINING_TOTAL_CONFIDENCE,
    TRAINING_TOTAL_INTELLIGENCE,
    TRAINING_TOTAL_EMPATHY,
    TRAINING_TOTAL_MARKING,
    TRAINING_TOTAL_GREED,
    TRAINING_TOTAL_TEAM_SPIRIT,
};

struct TRAININGPLAN {
    char szName[TRAINING_PLAN_TEXT] = {};
    char szFile[TRAINING_PLAN_TEXT] = {};  // without extension
    uint8_t byBuiltIn = 0;
};

struct INDIVIDUALTRAINING {
    uint32_t dwPlayerId = 0;
    uint8_t abyAreas[TRAINING_AREAS] = {};  // per cent of effort
    uint8_t byUnused = 0;
    // Bit i set: area i takes part when the shares are balanced; a new
    // first-team entry has every bit set, a youth's none.
    uint16_t wTicks = 0;
};

struct TRAININGCAMP {
    uint8_t abyBooking[8] = {};  // the camp screen's: the booking's id, then its price
    CDate Start;
    uint8_t byKind = 0;
    uint8_t byFacility = 0;
    uint8_t byExtra = 0;
    uint8_t byLength = 0;  // days
    uint32_t GetID() const;
    uint32_t GetPrice() const;
    void SetBooking(uint32_t dwId, uint32_t dwPrice);
    bool Covers(const CDate& day) const;
};

struct TRAININGTOTAL {
    uint16_t wSum = 0;
    uint16_t wCount = 0;
};

// What the week's computation hands to player development.
struct TRAININGFACTORS {
    float fFactorA = 1.5f;  // the effort threshold
    float fFactorB = 6.0f;  // the effort cap
    float fCampBonusA = 0.0f;
    float fCampBonusB = 0.0f;
};

class CTrainingManager {
public:
    explicit CTrainingManager(CSaveGame* pOwner);
    ~CTrainingManager();
    CTrainingManager(const CTrainingManager&) = delete;
    CTrainingManager& operator=(const CTrainingManager&) = delete;

    // The run's plan list and factors, shared by every manager.
    static const CXList& GetPlans() { return s_lstPlans; }
    static int GetBuiltInPlanCount() { return s_nBuiltInPlans; }
    static const TRAININGFACTORS& GetFactors() { return s_Factors; }
    static const TRAININGTOTAL* GetBaselineTotals() { return s_aBaseline; }
    static int GetBaselineActivityCount() { return s_nBaselineActivities; }
    // Built-in plans from "Data\Training", then every "*.ctp" of "Data\Saves".
    static void ListPlans();
    static TRAININGPLAN* FindPlan(const char* pszFile);
    static TRAININGPLAN* GetOrAddPlan(const char* pszFile);
    static void RemovePlanRecord(TRAININGPLAN* pPlan);
    // The slot values a kind adds to a total.
    static int GetActivityValue(int nTotal, int nKind);
    // Reads a plan file's week; false (logged) for a missing, short or
    // unknown-version file, which leaves the week as it was.
    static bool ReadPlanFile(const char* pszPath, uint8_t* pabyWeek);
    // Writes a plan file safely; false when it cannot be written.
    static bool WritePlanFile(const char* pszPath, const uint8_t* pabyWeek);

    void ResetForNewGame();
    void RemovePlan(const char* pszFile);
    // None makes the club's own plan current and marks the plan modified.
    void SetCurrentPlan(TRAININGPLAN* pPlan);
    // Writes the week as a club plan (the named one, or pPlan): null when the
    // name is no plain file name or a built-in plan's, or the file cannot be
    // written, which leaves the plan list as it was.
    TRAININGPLAN* SaveTrainingPlan(const char* pszFile, TRAININGPLAN* pPlan);
    void LoadTrainingPlan(TRAININGPLAN* pPlan);
    void SetWeekPlan(const uint8_t* pabyWeek);
    const uint8_t* GetWeekPlan() const { return m_abyWeekPlan; }
    int GetDaysSincePlanChange() const;
    void UpdateEmphasisFlags();
    uint8_t GetEmphasisFlags() const { return m_byEmphasis; }
    int GetKind11SlotCount() const;
    int GetPlannedActivityCount() const;
    const TRAININGPLAN* GetCurrentPlan() const { return m_pCurrentPlan; }
    const TRAININGPLAN& GetClubPlan() const { return m_ClubPlan; }
    bool IsModified() const { return m_byModified != 0; }
    const CDate& GetPlanDate() const { return m_PlanDate; }

    // ---- camps ----
    // Takes ownership.
    void AddTrainingCamp(TRAININGCAMP* pCamp);
    void RemoveTrainingCamp(int nIndex);
    // The camp after pPosition (the first for null); pPosition moves on.
    TRAININGCAMP* GetNextTrainingCamp(LPXLISTNODE& pPosition) const;
    TRAININGCAMP* FindCamp(uint32_t dwCampId) const;
    // The first camp that overlaps the days from start on; pnIndex its place.
    bool FindClashingCamp(const CDate& start, int nDays, int* pnIndex) const;
    int GetCampCount() const { return m_lstCamps.GetCount(); }

    // ---- individual training ----
    void InitialiseIndividualTraining();
    void AddPlayerEntry(ID_PLAYER idPlayer);
    void AddYouthEntry(uint32_t dwYouthId);
    void RemovePlayerEntry(ID_PLAYER idPlayer);
    void RemoveYouthEntry(uint32_t dwYouthId);
    INDIVIDUALTRAINING* FindPlayerEntry(uint32_t dwId);
    INDIVIDUALTRAINING* FindYouthEntry(uint32_t dwId);
    const INDIVIDUALTRAINING* FindPlayerEntry(uint32_t dwId) const;
    const INDIVIDUALTRAINING* FindYouthEntry(uint32_t dwId) const;
    void ResetIndividualTraining(int nStyle);
    static float SetDefaultIndividualTraining(INDIVIDUALTRAINING& entry, int nPosition);
    void DoDelegate();
    // The entry arrays, TRAINING_ENTRIES each, as the training screen copies
    // them in and back.
    const INDIVIDUALTRAINING* GetFirstTeamEntries() const { return m_aFirstTeam; }
    const INDIVIDUALTRAINING* GetYouthEntries() const { return m_aYouth; }
    void SetFirstTeamEntries(const INDIVIDUALTRAINING* pEntries);
    void SetYouthEntries(const INDIVIDUALTRAINING* pEntries);

    // ---- the week ----
    int GetWorkload() const;
    int GetWorkloadBand(int nTarget) const;
    // The week's totals and, from the camps of the seven days from start,
    // the run's training factors.
    void CalculateWeek(const CDate& start);
    void ResetWeekTotals();
    const TRAININGTOTAL* GetWeekTotals() const { return m_aTotals; }
    // The effort this week's training puts into each trained attribute of
    // one player (kTrained order of player development) in afEfforts; false
    // when the person has no entry here.
    bool GetPersonEfforts(const CPersonDatabase& person, bool bYouth, float* afEfforts, int nCount) const;

    // ---- the .sav body ----
    bool Save(CBinaryWriter& writer) const;
    // False (logged) for a cut-short section or a camp count larger than
    // what follows.
    bool Load(CBinaryReader& reader);
    // A booking by the first dword of its camp record.
    TRAININGCAMP* GetTrainingCampFromID(uint32_t dwId) const { return FindCamp(dwId); }

private:
    CClubDatabase* GetClub() const;
    void FreeCamps();
    static void SumWeek(const uint8_t* pabyWeek, TRAININGTOTAL* pTotals);
    static void FreePlans();

    static CXList s_lstPlans;  // TRAININGPLAN
    static int s_nBuiltInPlans;
    static int s_nInstances;
    static bool s_bBaselineDone;
    static TRAININGTOTAL s_aBaseline[TRAINING_TOTALS];
    static int s_nBaselineActivities;
    static TRAININGFACTORS s_Factors;

    INDIVIDUALTRAINING m_aFirstTeam[TRAINING_ENTRIES];
    INDIVIDUALTRAINING m_aYouth[TRAINING_ENTRIES];
    uint8_t m_abyWeekPlan[TRAINING_WEEK_SLOTS] = {};
    uint8_t m_abyClubWeek[TRAINING_WEEK_SLOTS] = {};
    TRAININGTOTAL m_aTotals[TRAINING_TOTALS];
    uint8_t m_byEmphasis = 0;
    uint8_t m_byModified = 0;
    TRAININGPLAN* m_pCurrentPlan = nullptr;
    TRAININGPLAN m_ClubPlan;
    CDate m_PlanDate;
    CXList m_lstCamps;  // TRAININGCAMP
    CSaveGame* m_pOwner = nullptr;
};
