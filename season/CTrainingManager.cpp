#include "season/CTrainingManager.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "common/ShellServices.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPersonDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"
#include "season/CSaveGame.h"

CXList CTrainingManager::s_lstPlans;
int CTrainingManager::s_nBuiltInPlans = 0;
int CTrainingManager::s_nInstances = 0;
bool CTrainingManager::s_bBaselineDone = false;
TRAININGTOTAL CTrainingManager::s_aBaseline[TRAINING_TOTALS];
int CTrainingManager::s_nBaselineActivities = 0;
TRAININGFACTORS CTrainingManager::s_Factors;

namespace {

const char* const kBuiltInPlans[] = {"Defensive", "Normal", "Offensive", "WeekOff"};
constexpr int kBuiltInCount = 4;
// Table texts of the built-in plans' display names, and the default name of
// a club's own plan.
constexpr int kPlanNamesSet = 17;
constexpr int kDefaultPlanNameSet = 114;
constexpr int kDefaultPlanNameItem = 24;
constexpr int kIndividualDefault = 11;
constexpr uint16_t kFirstTeamMark = 65535;
constexpr float kSeventh = 0.14285715f;

// What one slot of each activity kind (columns) adds to each total (rows).
constexpr int8_t kActivityTable[TRAINING_TOTALS][TRAINING_ACTIVITY_KINDS] = {
    {8, 8, 30, 8, 0, 0, 20, 0, 0, 0, 0, 0},       {8, 8, 0, 8, 0, 0, 20, 0, 0, 0, 0, 0},
    {8, 8, 0, 8, 0, 0, 0, 4, 0, 0, 0, 0},         {8, 8, 0, 8, 0, 18, 0, 4, 0, 0, 0, 0},
    {8, 8, 0, 8, 0, 18, 0, 20, 0, 0, 0, 0},       {8, 8, 30, 8, 0, 0, 0, 20, 0, 0, 0, 0},
    {0, 0, 0, 8, 20, 0, 0, 6, 14, 0, 0, 0},       {8, 8, 0, 8, 20, 0, 8, 4, 0, 0, 0, 0},
    {6, 6, 0, 8, 20, 18, 8, 6, 0, 0, 0, 0},       {6, 6, 0, 8, 20, 0, 8, 4, 0, 0, 0, 0},
    {8, 8, 8, 3, 20, 18, 8, 4, 14, 0, 0, 0},      {6, 6, 8, 3, 0, 0, 4, 4, 14, 24, 100, 0},
    {-4, -4, 0, -4, 0, 5, 0, 4, 0, 10, 0, 0},     {6, 6, 8, 2, 5, 5, 0, 4, 0, 0, 0, 0},
    {5, 5, 8, 2, 0, 18, 4, 4, 15, 22, 0, 0},      {5, 5, 8, 2, 0, 0, 4, 4, 15, 22, 0, 0},
    {5, 5, 0, 6, 0, 0, 4, 4, 14, 22, 0, 0},       {-4, -4, 0, 4, -5, 0, 4, 4, 0, 0, 0, 0},
    {5, 5, 0, 2, 0, 0, 8, 0, 14, 0, 0, 0},
};

struct CAMPKINDTERMS {
    float fFactorA;
    float fFactorB;
    int nBonusA;
};
constexpr CAMPKINDTERMS kCampKinds[] = {{1.5f, 6.0f, 0}, {1.5f, 6.5f, 4}, {1.0f, 7.0f, 8}, {1.0f, 7.0f, 10}};
// Facility: {bonus B term, bonus A term}.
constexpr int kCampFacilities[][2] = {{0, -4}, {2, 0}, {8, 4}};
constexpr int kCampExtras[] = {4, 0, 0};

// Individual splits by style (rows) and position (columns), over the nine
// areas: Handling, Tackling, Passing, Dribbling, Heading, Shooting, Pace,
// Strength, Fitness.
constexpr uint8_t kIndividualStyles[3][4][TRAINING_AREAS] = {
    {{40, 15, 15, 5, 0, 0, 5, 10, 10},
     {5, 40, 20, 10, 0, 0, 5, 10, 10},
     {0, 30, 25, 15, 0, 5, 5, 10, 10},
     {0, 5, 5, 15, 20, 20, 20, 5, 10}},
    {{30, 15, 15, 5, 5, 5, 5, 10, 10},
     {5, 30, 20, 10, 5, 5, 5, 10, 10},
     {0, 20, 20, 20, 5, 5, 10, 10, 10},
     {0, 5, 5, 15, 10, 30, 20, 5, 10}},
    {{30, 25, 10, 0, 5, 5, 5, 10, 10},
     {0, 35, 15, 10, 5, 10, 5, 10, 10},
     {0, 20, 20, 10, 5, 15, 10, 10, 10},
     {0, 0, 0, 15, 10, 35, 25, 5, 10}},
};

// How player development reads the week. The attributes it trains (in its
// own order) and, for each, the week total that steers it and the training
// area (or -1) whose individual share adds to it.
struct TRAINEDATTRIBUTE {
    int nTotal;
    int nArea;
};
constexpr TRAINEDATTRIBUTE kTrainedAttributes[] = {
    {TRAINING_TOTAL_HANDLING, 0},      {TRAINING_TOTAL_TACKLING, 1},  {TRAINING_TOTAL_DRIBBLING, 3},
    {TRAINING_TOTAL_HEADING, 4},       {TRAINING_TOTAL_SHOOTING, 5},  {TRAINING_TOTAL_PASSING, 2},
    {TRAINING_TOTAL_PACE, 6},          {TRAINING_TOTAL_STRENGTH, 7},  {TRAINING_TOTAL_FITNESS, 8},
    {TRAINING_TOTAL_AGILITY, -1},      {TRAINING_TOTAL_AGGRESSION, -1}, {TRAINING_TOTAL_MORALE, -1},
    {TRAINING_TOTAL_WILLPOWER, -1},    {TRAINING_TOTAL_CONFIDENCE, -1}, {TRAINING_TOTAL_INTELLIGENCE, -1},
    {TRAINING_TOTAL_EMPATHY, -1},      {TRAINING_TOTAL_MARKING, -1},  {TRAINING_TOTAL_GREED, -1},
};
constexpr int kTrainedCount = static_cast<int>(sizeof(kTrainedAttributes) / sizeof(kTrainedAttributes[0]));
// A full share of a training area is worth this much effort in a week as
// busy as the "Normal" plan; every area starts from the threshold, so that
// an area left out holds its level under a normal week.
constexpr float kAreaIntensity = 20.0f;
constexpr float kAreaBase = 1.5f;
// Attributes outside the areas take a steady effort that holds them.
constexpr float kOtherBase = 1.8f;
// Each slot value a week's plan puts into a total above or below the
// "Normal" plan's moves the effort this much.
constexpr float kPlanScale = 0.1f;

CDatabaseHandler* Root() { return CSaveGame::m_pDatabaseHandler; }

CDate GameDate()
{
    return Root() ? Root()->GetGameDate() : CDate();
}

std::string PlanPath(const TRAININGPLAN& plan)
{
    char szPath[128];
    std::snprintf(szPath, sizeof szPath, plan.byBuiltIn ? "Data\\Training\\%s.ptp" : "Data\\Saves\\%s.ctp",
                  plan.szFile);
    return szPath;
}

bool SameName(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a + 32) : *a;
        const char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b + 32) : *b;
        if (ca != cb)
            return false;
        if (!ca)
            return true;
    }
}

void CopyText(char* pszOut, const char* pszIn)
{
    std::snprintf(pszOut, TRAINING_PLAN_TEXT, "%s", pszIn ? pszIn : "");
}

}  // namespace

namespace {

uint32_t BookingWord(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

uint32_t TRAININGCAMP::GetID() const
{
    return BookingWord(abyBooking);
}

uint32_t TRAININGCAMP::GetPrice() const
{
    return BookingWord(abyBooking + 4);
}

void TRAININGCAMP::SetBooking(uint32_t dwId, uint32_t dwPrice)
{
    for (int i = 0; i < 4; ++i) {
        abyBooking[i] = static_cast<uint8_t>(dwId >> (8 * i));
        abyBooking[4 + i] = static_cast<uint8_t>(dwPrice >> (8 * i));
    }
}

bool TRAININGCAMP::Covers(const CDate& day) const
{
    // A camp of n days covers n calendar days from its start, the same days
    // that a cup date clashes with.
    return !(day < Start) && day < CDate(Start.GetValue(), byLength);
}

// ---- the run's plan list ----

CTrainingManager::CTrainingManager(CSaveGame* pOwner) : m_pOwner(pOwner)
{
    if (s_nInstances++ == 0)
        ListPlans();
    if (!s_bBaselineDone) {
        s_bBaselineDone = true;
        uint8_t abyNormal[TRAINING_WEEK_SLOTS];
        std::fill(std::begin(abyNormal), std::end(abyNormal), TRAINING_KIND_REST);
        ReadPlanFile("Data\\Training\\Normal.ptp", abyNormal);
        SumWeek(abyNormal, s_aBaseline);
        s_nBaselineActivities = static_cast<int>(
            std::count_if(std::begin(abyNormal), std::end(abyNormal), [](uint8_t k) { return k != TRAINING_KIND_REST; }));
    }
    std::fill(std::begin(m_abyWeekPlan), std::end(m_abyWeekPlan), TRAINING_KIND_REST);
    std::fill(std::begin(m_abyClubWeek), std::end(m_abyClubWeek), TRAINING_KIND_REST);
    ResetWeekTotals();
}

CTrainingManager::~CTrainingManager()
{
    FreeCamps();
    if (--s_nInstances == 0) {
        FreePlans();
        s_bBaselineDone = false;
    }
}

void CTrainingManager::FreePlans()
{
    for (TRAININGPLAN* pPlan : s_lstPlans.Items<TRAININGPLAN>())
        delete pPlan;
    s_lstPlans.RemoveAll();
    s_nBuiltInPlans = 0;
}

void CTrainingManager::ListPlans()
{
    FreePlans();
    int nNames = 0;
    const char* const* ppszNames = GetTableTextSet(kPlanNamesSet, &nNames);
    for (int i = 0; i < kBuiltInCount; ++i) {
        auto* pPlan = new TRAININGPLAN;
        CopyText(pPlan->szName, ppszNames && i < nNames && ppszNames[i] ? ppszNames[i] : kBuiltInPlans[i]);
        CopyText(pPlan->szFile, kBuiltInPlans[i]);
        pPlan->byBuiltIn = 1;
        s_lstPlans.AddTail(pPlan);
    }
    s_nBuiltInPlans = kBuiltInCount;
    for (const std::string& file : plat::listFiles("Data\\Saves", "*.ctp")) {
        const std::string stem = file.substr(0, file.size() - 4);
        if (stem.empty() || stem.size() >= TRAINING_PLAN_TEXT)
            continue;
        auto* pPlan = new TRAININGPLAN;
        CopyText(pPlan->szName, stem.c_str());
        CopyText(pPlan->szFile, stem.c_str());
        s_lstPlans.AddTail(pPlan);
    }
}

TRAININGPLAN* CTrainingManager::FindPlan(const char* pszFile)
{
    if (!pszFile)
        return nullptr;
    return s_lstPlans.FindItem<TRAININGPLAN>([pszFile](const TRAININGPLAN* p) { return SameName(p->szFile, pszFile); });
}

TRAININGPLAN* CTrainingManager::GetOrAddPlan(const char* pszFile)
{
    if (TRAININGPLAN* pPlan = FindPlan(pszFile))
        return pPlan;
    auto* pPlan = new TRAININGPLAN;
    CopyText(pPlan->szName, pszFile);
    CopyText(pPlan->szFile, pszFile);
    s_lstPlans.AddTail(pPlan);
    return pPlan;
}

void CTrainingManager::RemovePlanRecord(TRAININGPLAN* pPlan)
{
    if (LPXLISTNODE pNode = s_lstPlans.Find(pPlan)) {
        s_lstPlans.Remove(pNode);
        delete pPlan;
    }
}

int CTrainingManager::GetActivityValue(int nTotal, int nKind)
{
    if (nTotal < 0 || nTotal >= TRAINING_TOTALS || nKind < 0 || nKind >= TRAINING_ACTIVITY_KINDS)
        return 0;
    return kActivityTable[nTotal][nKind];
}

bool CTrainingManager::ReadPlanFile(const char* pszPath, uint8_t* pabyWeek)
{
    std::vector<uint8_t> bytes;
    if (!plat::readWholeFile(pszPath, bytes))
        return false;
    CBinaryReader reader(bytes);
    uint16_t wMagic = 0, wVersion = 0;
    uint8_t abyWeek[TRAINING_WEEK_SLOTS];
    reader.ReadU16(wMagic);
    reader.ReadU16(wVersion);
    if (!reader.Failed() && wMagic != TRAINING_PLAN_MAGIC)
        DebugLog(1, "[CTrainingManager::LoadTrainingPlan] This is not a valid Training Plan Data file!");
    if (!reader.Failed() && wVersion != TRAINING_PLAN_VERSION) {
        DebugLog(1, "[CTrainingManager::LoadTrainingPlan] Unknown File Version!");
        return false;
    }
    if (!reader.ReadBytes(abyWeek, sizeof abyWeek)) {
        DebugLog(1, "[CTrainingManager::LoadTrainingPlan] %s is cut short", pszPath);
        return false;
    }
    // A kind outside the table would read past it: such a file is not a plan.
    for (uint8_t byKind : abyWeek)
        if (byKind >= TRAINING_ACTIVITY_KINDS) {
            DebugLog(1, "[CTrainingManager::LoadTrainingPlan] %s holds activity kind %u", pszPath, byKind);
            return false;
        }
    std::memcpy(pabyWeek, abyWeek, sizeof abyWeek);
    return true;
}

bool CTrainingManager::WritePlanFile(const char* pszPath, const uint8_t* pabyWeek)
{
    return plat::writeFileSafely(pszPath, [pabyWeek](FILE* pFile) {
        CBinaryWriter writer(pFile);
        writer.WriteU16(TRAINING_PLAN_MAGIC);
        writer.WriteU16(TRAINING_PLAN_VERSION);
        writer.WriteBytes(pabyWeek, TRAINING_WEEK_SLOTS);
        return !writer.Failed();
    });
}

// ---- one manager's plan ----

CClubDatabase* CTrainingManager::GetClub() const
{
    return m_pOwner ? m_pOwner->GetClub() : nullptr;
}

void CTrainingManager::ResetForNewGame()
{
    const char* const* ppszTexts = nullptr;
    int nTexts = 0;
    ppszTexts = GetTableTextSet(kDefaultPlanNameSet, &nTexts);
    const char* pszDefault =
        ppszTexts && kDefaultPlanNameItem < nTexts && ppszTexts[kDefaultPlanNameItem] ? ppszTexts[kDefaultPlanNameItem]
                                                                                     : "New Training Plan";
    m_ClubPlan = TRAININGPLAN();
    CopyText(m_ClubPlan.szName, pszDefault);
    CopyText(m_ClubPlan.szFile, pszDefault);
    m_ClubPlan.byBuiltIn = 0;
    m_pCurrentPlan = FindPlan(kBuiltInPlans[TRAINING_PLAN_NORMAL]);
    LoadTrainingPlan(m_pCurrentPlan);
    m_PlanDate = CDate(1995, 1, 1);
    m_byModified = 0;
    FreeCamps();
    InitialiseIndividualTraining();
    ResetWeekTotals();
}

void CTrainingManager::RemovePlan(const char* pszFile)
{
    TRAININGPLAN* pPlan = FindPlan(pszFile);
    if (!pPlan)
        return;
    if (pPlan == m_pCurrentPlan)
        SetCurrentPlan(nullptr);
    RemovePlanRecord(pPlan);
}

void CTrainingManager::SetCurrentPlan(TRAININGPLAN* pPlan)
{
    if (pPlan) {
        m_pCurrentPlan = pPlan;
        return;
    }
    m_byModified = 1;
    if (std::memcmp(m_abyClubWeek, m_abyWeekPlan, TRAINING_WEEK_SLOTS) != 0)
        std::memcpy(m_abyClubWeek, m_abyWeekPlan, TRAINING_WEEK_SLOTS);
    m_pCurrentPlan = &m_ClubPlan;
}

TRAININGPLAN* CTrainingManager::SaveTrainingPlan(const char* pszFile, TRAININGPLAN* pPlan)
{
    bool bAdded = false;
    if (!pPlan) {
        if (!pszFile || !CSaveGame::IsValidFileName(pszFile) || std::strlen(pszFile) >= TRAINING_PLAN_TEXT) {
            DebugLog(1, "[CTrainingManager::SaveTrainingPlan] \"%s\" is not a plan name", pszFile ? pszFile : "");
            return nullptr;
        }
        pPlan = FindPlan(pszFile);
        if (pPlan && pPlan->byBuiltIn) {
            DebugLog(1, "[CTrainingManager::SaveTrainingPlan] \"%s\" is a built-in plan", pszFile);
            return nullptr;
        }
        if (!pPlan) {
            pPlan = GetOrAddPlan(pszFile);
            bAdded = true;
        }
    }
    if (pPlan->byBuiltIn || !WritePlanFile(PlanPath(*pPlan).c_str(), m_abyWeekPlan)) {
        DebugLog(1, "[CTrainingManager::SaveTrainingPlan] %s could not be written", PlanPath(*pPlan).c_str());
        if (bAdded)
            RemovePlanRecord(pPlan);
        return nullptr;
    }
    m_byModified = 0;
    return pPlan;
}

void CTrainingManager::LoadTrainingPlan(TRAININGPLAN* pPlan)
{
    if (!pPlan)
        return;
    uint8_t abyWeek[TRAINING_WEEK_SLOTS];
    if (pPlan == &m_ClubPlan)
        std::memcpy(abyWeek, m_abyClubWeek, TRAINING_WEEK_SLOTS);
    else if (!ReadPlanFile(PlanPath(*pPlan).c_str(), abyWeek))
        return;
    // Another plan is a change of the week like one made by hand: it is
    // dated, so that the reminder to review the plan goes.
    SetWeekPlan(abyWeek);
}

void CTrainingManager::SetWeekPlan(const uint8_t* pabyWeek)
{
    if (!pabyWeek || std::memcmp(pabyWeek, m_abyWeekPlan, TRAINING_WEEK_SLOTS) == 0)
        return;
    for (int i = 0; i < TRAINING_WEEK_SLOTS; ++i)
        if (pabyWeek[i] >= TRAINING_ACTIVITY_KINDS)
            return;
    m_PlanDate = GameDate();
    std::memcpy(m_abyWeekPlan, pabyWeek, TRAINING_WEEK_SLOTS);
}

int CTrainingManager::GetDaysSincePlanChange() const
{
    return GameDate().DaysBetween(m_PlanDate);
}

void CTrainingManager::UpdateEmphasisFlags()
{
    auto count = [this](uint8_t byKind) { return std::count(std::begin(m_abyWeekPlan), std::end(m_abyWeekPlan), byKind); };
    m_byEmphasis = 0;
    if (count(0) >= 3)
        m_byEmphasis |= 1;
    if (count(2) >= 3)
        m_byEmphasis |= 2;
    if (count(1) >= 3)
        m_byEmphasis |= 4;
}

int CTrainingManager::GetKind11SlotCount() const
{
    return static_cast<int>(std::count(std::begin(m_abyWeekPlan), std::end(m_abyWeekPlan), TRAINING_KIND_FREE));
}

int CTrainingManager::GetPlannedActivityCount() const
{
    return TRAINING_WEEK_SLOTS -
           static_cast<int>(std::count(std::begin(m_abyWeekPlan), std::end(m_abyWeekPlan), TRAINING_KIND_REST));
}

// ---- camps ----

void CTrainingManager::FreeCamps()
{
    for (TRAININGCAMP* pCamp : m_lstCamps.Items<TRAININGCAMP>())
        delete pCamp;
    m_lstCamps.RemoveAll();
}

void CTrainingManager::AddTrainingCamp(TRAININGCAMP* pCamp)
{
    if (pCamp)
        m_lstCamps.AddTail(pCamp);
}

void CTrainingManager::RemoveTrainingCamp(int nIndex)
{
    if (LPXLISTNODE pNode = m_lstCamps.GetAt(nIndex)) {
        delete static_cast<TRAININGCAMP*>(pNode->pData);
        m_lstCamps.Remove(pNode);
    }
}

TRAININGCAMP* CTrainingManager::GetNextTrainingCamp(LPXLISTNODE& pPosition) const
{
    pPosition = pPosition ? pPosition->pNext : m_lstCamps.GetHead();
    return pPosition ? static_cast<TRAININGCAMP*>(pPosition->pData) : nullptr;
}

TRAININGCAMP* CTrainingManager::FindCamp(uint32_t dwCampId) const
{
    return m_lstCamps.FindItem<TRAININGCAMP>([dwCampId](const TRAININGCAMP* p) { return p->GetID() == dwCampId; });
}

bool CTrainingManager::FindClashingCamp(const CDate& start, int nDays, int* pnIndex) const
{
    int nIndex = 0;
    for (const TRAININGCAMP* pCamp : m_lstCamps.Items<TRAININGCAMP>()) {
        if (!(CDate(start.GetValue(), nDays) < pCamp->Start) && start < CDate(pCamp->Start.GetValue(), pCamp->byLength)) {
            if (pnIndex)
                *pnIndex = nIndex;
            return true;
        }
        ++nIndex;
    }
    return false;
}

// ---- individual training ----

void CTrainingManager::InitialiseIndividualTraining()
{
    std::fill(std::begin(m_aFirstTeam), std::end(m_aFirstTeam), INDIVIDUALTRAINING());
    std::fill(std::begin(m_aYouth), std::end(m_aYouth), INDIVIDUALTRAINING());
    const CClubDatabase* pClub = GetClub();
    if (!pClub)
        return;
    int n = 0;
    for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
        if (n == TRAINING_ENTRIES)
            break;
        INDIVIDUALTRAINING& entry = m_aFirstTeam[n++];
        entry.dwPlayerId = pPlayer->m_idPerson;
        std::fill(std::begin(entry.abyAreas), std::end(entry.abyAreas), kIndividualDefault);
        entry.wTicks = kFirstTeamMark;
    }
    n = 0;
    for (const CYouthDatabase* pYouth : pClub->m_lstYouths.Items<CYouthDatabase>()) {
        if (n == TRAINING_ENTRIES)
            break;
        INDIVIDUALTRAINING& entry = m_aYouth[n++];
        entry.dwPlayerId = pYouth->m_idPerson;
        std::fill(std::begin(entry.abyAreas), std::end(entry.abyAreas), kIndividualDefault);
    }
}

namespace {

void TakeFreeEntry(INDIVIDUALTRAINING* pEntries, int nUsable, uint32_t dwId, uint16_t wMark)
{
    nUsable = std::clamp(nUsable, 0, TRAINING_ENTRIES);
    for (int i = 0; i < nUsable; ++i)
        if (pEntries[i].dwPlayerId == 0) {
            pEntries[i].dwPlayerId = dwId;
            std::fill(std::begin(pEntries[i].abyAreas), std::end(pEntries[i].abyAreas), kIndividualDefault);
            pEntries[i].wTicks = wMark;
            return;
        }
}

template <typename Entry>
Entry* FindEntry(Entry* pEntries, uint32_t dwId)
{
    if (dwId == 0)
        return nullptr;
    for (int i = 0; i < TRAINING_ENTRIES; ++i)
        if (pEntries[i].dwPlayerId == dwId)
            return &pEntries[i];
    return nullptr;
}

}  // namespace

void CTrainingManager::AddPlayerEntry(ID_PLAYER idPlayer)
{
    const CClubDatabase* pClub = GetClub();
    if (pClub && !FindPlayerEntry(idPlayer))
        TakeFreeEntry(m_aFirstTeam, pClub->m_lstPlayers.GetCount(), idPlayer, kFirstTeamMark);
}

void CTrainingManager::AddYouthEntry(uint32_t dwYouthId)
{
    const CClubDatabase* pClub = GetClub();
    if (pClub && !FindYouthEntry(dwYouthId))
        TakeFreeEntry(m_aYouth, pClub->m_lstYouths.GetCount(), dwYouthId, 0);
}

void CTrainingManager::RemovePlayerEntry(ID_PLAYER idPlayer)
{
    if (INDIVIDUALTRAINING* pEntry = FindPlayerEntry(idPlayer))
        pEntry->dwPlayerId = 0;
}

void CTrainingManager::RemoveYouthEntry(uint32_t dwYouthId)
{
    if (INDIVIDUALTRAINING* pEntry = FindYouthEntry(dwYouthId))
        pEntry->dwPlayerId = 0;
}

INDIVIDUALTRAINING* CTrainingManager::FindPlayerEntry(uint32_t dwId) { return FindEntry(m_aFirstTeam, dwId); }
INDIVIDUALTRAINING* CTrainingManager::FindYouthEntry(uint32_t dwId) { return FindEntry(m_aYouth, dwId); }
const INDIVIDUALTRAINING* CTrainingManager::FindPlayerEntry(uint32_t dwId) const { return FindEntry(m_aFirstTeam, dwId); }
const INDIVIDUALTRAINING* CTrainingManager::FindYouthEntry(uint32_t dwId) const { return FindEntry(m_aYouth, dwId); }

void CTrainingManager::SetFirstTeamEntries(const INDIVIDUALTRAINING* pEntries)
{
    if (pEntries)
        std::copy(pEntries, pEntries + TRAINING_ENTRIES, m_aFirstTeam);
}

void CTrainingManager::SetYouthEntries(const INDIVIDUALTRAINING* pEntries)
{
    if (pEntries)
        std::copy(pEntries, pEntries + TRAINING_ENTRIES, m_aYouth);
}

void CTrainingManager::ResetIndividualTraining(int nStyle)
{
    if (nStyle < 0 || nStyle > 2)
        return;
    CDatabaseHandler* pRoot = Root();
    if (!pRoot)
        return;
    auto apply = [nStyle](INDIVIDUALTRAINING& entry, const CPersonDatabase* pPerson) {
        if (!pPerson)
            return;
        const int nPosition = std::min<int>(pPerson->m_byPosition, 3);
        std::copy(std::begin(kIndividualStyles[nStyle][nPosition]), std::end(kIndividualStyles[nStyle][nPosition]),
                  entry.abyAreas);
    };
    for (INDIVIDUALTRAINING& entry : m_aFirstTeam)
        if (entry.dwPlayerId)
            apply(entry, pRoot->GetPlayerFromID(entry.dwPlayerId));
    for (INDIVIDUALTRAINING& entry : m_aYouth)
        if (entry.dwPlayerId)
            apply(entry, pRoot->GetYouthFromID(entry.dwPlayerId));
}

float CTrainingManager::SetDefaultIndividualTraining(INDIVIDUALTRAINING& entry, int nPosition)
{
    nPosition = std::clamp(nPosition, 0, 3);
    std::copy(std::begin(kIndividualStyles[1][nPosition]), std::end(kIndividualStyles[1][nPosition]), entry.abyAreas);
    return 6.0f;
}

void CTrainingManager::DoDelegate()
{
    const uint8_t byDelegation = m_pOwner ? m_pOwner->GetDelegation(SAVEGAME_DELEGATION_TRAINING) : 0;
    int nPlan = 0;
    int nStyle = 0;
    switch (byDelegation) {
    case 1:
        nPlan = TRAINING_PLAN_OFFENSIVE;
        nStyle = 2;
        break;
    case 2:
        nPlan = TRAINING_PLAN_NORMAL;
        nStyle = 1;
        break;
    case 3:
        nPlan = TRAINING_PLAN_DEFENSIVE;
        nStyle = 0;
        break;
    default:
        DebugLog(1, "[CTrainingManager::DoDelegate] Unknown Delegation Style");
        return;
    }
    if (LPXLISTNODE pNode = s_lstPlans.GetAt(nPlan)) {
        SetCurrentPlan(static_cast<TRAININGPLAN*>(pNode->pData));
        LoadTrainingPlan(m_pCurrentPlan);
    }
    ResetIndividualTraining(nStyle);
}

// ---- the week ----

int CTrainingManager::GetWorkload() const
{
    const CClubDatabase* pClub = GetClub();
    if (!pClub)
        return 0;
    const int nPlayers = pClub->m_lstPlayers.GetCount() + pClub->m_lstYouths.GetCount();
    // Without coaches the whole load falls on no one: count one coach, so
    // that the load shows as heavy rather than dividing by nothing.
    const int nCoaches = std::max(pClub->GetStaffCount(0), 1);
    const double dShare = static_cast<double>(nPlayers / nCoaches);
    return static_cast<int>(GetPlannedActivityCount() * dShare / (nCoaches * 300.0) * 100.0);
}

int CTrainingManager::GetWorkloadBand(int nTarget) const
{
    const int d = GetWorkload() - nTarget;
    if (d > 200)
        return 0;
    if (d < 20)
        return 4;
    if (d > 120)
        return 1;
    return 2;
}

void CTrainingManager::SumWeek(const uint8_t* pabyWeek, TRAININGTOTAL* pTotals)
{
    for (int i = 0; i < TRAINING_TOTALS; ++i)
        pTotals[i] = TRAININGTOTAL();
    for (int nSlot = 0; nSlot < TRAINING_WEEK_SLOTS; ++nSlot)
        for (int i = 0; i < TRAINING_TOTALS; ++i) {
            pTotals[i].wSum = static_cast<uint16_t>(pTotals[i].wSum + GetActivityValue(i, pabyWeek[nSlot]));
            ++pTotals[i].wCount;
        }
}

void CTrainingManager::ResetWeekTotals()
{
    uint8_t abyRest[TRAINING_WEEK_SLOTS];
    std::fill(std::begin(abyRest), std::end(abyRest), TRAINING_KIND_REST);
    SumWeek(abyRest, m_aTotals);
}

void CTrainingManager::CalculateWeek(const CDate& start)
{
    float fA = 0.0f;
    float fB = 0.0f;
    int8_t nBonusA = 0;
    int8_t nBonusB = 0;
    for (int nDay = 0; nDay < TRAINING_DAYS; ++nDay) {
        const CDate day(start.GetValue(), nDay);
        const TRAININGCAMP* pCamp =
            m_lstCamps.FindItem<TRAININGCAMP>([&day](const TRAININGCAMP* p) { return p->Covers(day); });
        if (!pCamp) {
            fA += kCampKinds[0].fFactorA;
            fB += kCampKinds[0].fFactorB;
            continue;
        }
        const CAMPKINDTERMS& kind = kCampKinds[std::min<int>(pCamp->byKind, 3)];
        const int* pFacility = kCampFacilities[std::min<int>(pCamp->byFacility, 2)];
        const int nExtra = kCampExtras[std::min<int>(pCamp->byExtra, 2)];
        fA += kind.fFactorA;
        fB += kind.fFactorB;
        nBonusA = static_cast<int8_t>(nBonusA + kind.nBonusA + pFacility[1] + nExtra);
        nBonusB = static_cast<int8_t>(nBonusB + pFacility[0] + nExtra);
    }
    s_Factors.fFactorA = fA * kSeventh;
    s_Factors.fFactorB = fB * kSeventh;
    s_Factors.fCampBonusA = nBonusA ? nBonusA * kSeventh * 0.01f : 0.0f;
    s_Factors.fCampBonusB = nBonusB ? nBonusB * kSeventh * 0.01f : 0.0f;
    SumWeek(m_abyWeekPlan, m_aTotals);
}

bool CTrainingManager::GetPersonEfforts(const CPersonDatabase& person, bool bYouth, float* afEfforts,
                                        int nCount) const
{
    const INDIVIDUALTRAINING* pEntry = bYouth ? FindYouthEntry(person.m_idPerson) : FindPlayerEntry(person.m_idPerson);
    if (!pEntry || nCount != kTrainedCount)
        return false;
    // The busier the week against the "Normal" plan, the more each share of
    // the individual split is worth.
    const float fIntensity = s_nBaselineActivities > 0
                                 ? kAreaIntensity * GetPlannedActivityCount() / static_cast<float>(s_nBaselineActivities)
                                 : kAreaIntensity;
    for (int i = 0; i < kTrainedCount; ++i) {
        const TRAINEDATTRIBUTE& trained = kTrainedAttributes[i];
        const TRAININGTOTAL& week = m_aTotals[trained.nTotal];
        const TRAININGTOTAL& normal = s_aBaseline[trained.nTotal];
        const float fWeek = week.wCount ? static_cast<float>(week.wSum) / week.wCount : 0.0f;
        const float fNormal = normal.wCount ? static_cast<float>(normal.wSum) / normal.wCount : 0.0f;
        const float fPlan = (fWeek - fNormal) * kPlanScale;
        afEfforts[i] = trained.nArea >= 0
                           ? pEntry->abyAreas[trained.nArea] * 0.01f * fIntensity + kAreaBase + fPlan
                           : kOtherBase + fPlan;
    }
    return true;
}

// ---- the .sav body ----

bool CTrainingManager::Save(CBinaryWriter& writer) const
{
    char szCurrent[2 * TRAINING_PLAN_TEXT] = {};
    if (m_pCurrentPlan)
        std::snprintf(szCurrent, sizeof szCurrent, "%s", m_pCurrentPlan->szFile);
    writer.WriteBytes(szCurrent, sizeof szCurrent);
    writer.WriteBytes(m_abyWeekPlan, TRAINING_WEEK_SLOTS);
    auto writeEntries = [&writer](const INDIVIDUALTRAINING* pEntries) {
        for (int i = 0; i < TRAINING_ENTRIES; ++i) {
            writer.WriteU32(pEntries[i].dwPlayerId);
            writer.WriteBytes(pEntries[i].abyAreas, TRAINING_AREAS);
            writer.WriteU8(0);
            writer.WriteU16(pEntries[i].wTicks);
        }
    };
    writeEntries(m_aFirstTeam);
    writeEntries(m_aYouth);
    writer.WriteU8(m_byEmphasis);
    writer.WriteU32(m_PlanDate.GetValue());
    writer.WriteBytes(m_abyClubWeek, TRAINING_WEEK_SLOTS);
    writer.WriteBytes(m_ClubPlan.szName, TRAINING_PLAN_TEXT);
    writer.WriteBytes(m_ClubPlan.szFile, TRAINING_PLAN_TEXT);
    writer.WriteU8(m_ClubPlan.byBuiltIn);
    writer.WriteU8(m_byModified);
    writer.WriteU32(m_PlanDate.GetValue());
    writer.WriteU32(static_cast<uint32_t>(m_lstCamps.GetCount()));
    for (const TRAININGCAMP* pCamp : m_lstCamps.Items<TRAININGCAMP>()) {
        writer.WriteBytes(pCamp->abyBooking, sizeof pCamp->abyBooking);
        writer.WriteU32(pCamp->Start.GetValue());
        writer.WriteU8(pCamp->byKind);
        writer.WriteU8(pCamp->byFacility);
        writer.WriteU8(pCamp->byExtra);
        writer.WriteU8(pCamp->byLength);
    }
    return !writer.Failed();
}

namespace {

bool ReadPlanText(CBinaryReader& reader, char* pszText, size_t nBytes)
{
    if (!reader.ReadBytes(pszText, nBytes))
        return false;
    pszText[nBytes - 1] = '\0';
    return true;
}

bool ValidWeek(const uint8_t* pabyWeek)
{
    return std::all_of(pabyWeek, pabyWeek + TRAINING_WEEK_SLOTS, [](uint8_t k) { return k < TRAINING_ACTIVITY_KINDS; });
}

}  // namespace

bool CTrainingManager::Load(CBinaryReader& reader)
{
    char szCurrent[2 * TRAINING_PLAN_TEXT] = {};
    ReadPlanText(reader, szCurrent, sizeof szCurrent);
    reader.ReadBytes(m_abyWeekPlan, TRAINING_WEEK_SLOTS);
    auto readEntries = [&reader](INDIVIDUALTRAINING* pEntries) {
        for (int i = 0; i < TRAINING_ENTRIES; ++i) {
            reader.ReadU32(pEntries[i].dwPlayerId);
            reader.ReadBytes(pEntries[i].abyAreas, TRAINING_AREAS);
            reader.Skip(1);
            pEntries[i].byUnused = 0;
            reader.ReadU16(pEntries[i].wTicks);
        }
    };
    readEntries(m_aFirstTeam);
    readEntries(m_aYouth);
    reader.ReadU8(m_byEmphasis);
    uint32_t dwDate = 0;
    reader.ReadU32(dwDate);
    reader.ReadBytes(m_abyClubWeek, TRAINING_WEEK_SLOTS);
    ReadPlanText(reader, m_ClubPlan.szName, TRAINING_PLAN_TEXT);
    ReadPlanText(reader, m_ClubPlan.szFile, TRAINING_PLAN_TEXT);
    reader.ReadU8(m_ClubPlan.byBuiltIn);
    reader.ReadU8(m_byModified);
    reader.ReadU32(dwDate);
    m_PlanDate = CDate(dwDate);
    uint32_t dwCamps = 0;
    reader.ReadU32(dwCamps);
    if (reader.Failed() || !ValidWeek(m_abyWeekPlan) || !ValidWeek(m_abyClubWeek)) {
        DebugLog(0, "[CTrainingManager::Load] The training section is cut short or damaged");
        return false;
    }
    if (!reader.CheckCount(dwCamps, TRAINING_CAMP_BYTES)) {
        DebugLog(0, "[CTrainingManager::Load] %u training camps cannot follow", dwCamps);
        return false;
    }
    FreeCamps();
    for (uint32_t i = 0; i < dwCamps; ++i) {
        auto* pCamp = new TRAININGCAMP;
        m_lstCamps.AddTail(pCamp);
        reader.ReadBytes(pCamp->abyBooking, sizeof pCamp->abyBooking);
        reader.ReadU32(dwDate);
        pCamp->Start = CDate(dwDate);
        reader.ReadU8(pCamp->byKind);
        reader.ReadU8(pCamp->byFacility);
        reader.ReadU8(pCamp->byExtra);
        reader.ReadU8(pCamp->byLength);
    }
    if (reader.Failed())
        return false;
    // The club's own plan is this record's; any other is found in the run's
    // list, and "Normal" stands in for a plan whose file has gone.
    m_ClubPlan.byBuiltIn = 0;
    if (SameName(szCurrent, m_ClubPlan.szFile) && !FindPlan(szCurrent))
        m_pCurrentPlan = &m_ClubPlan;
    else if (!(m_pCurrentPlan = FindPlan(szCurrent)))
        m_pCurrentPlan = FindPlan(kBuiltInPlans[TRAINING_PLAN_NORMAL]);
    return true;
}
