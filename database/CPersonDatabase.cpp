#include "database/CPersonDatabase.h"

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/PersonOwners.h"
#include "platform/Files.h"
#include "platform/Random.h"

#include <cstdio>
#include <cstring>

const char CPersonDatabase::s_szEmptyName[1] = {'\0'};
CDatabaseHandler* CPersonDatabase::m_pDatabaseHandler = nullptr;

namespace {

// Age curves by role: goalkeepers peak latest, the first defensive role a
// little earlier, every other role earliest. Index k = age - 14.
const uint8_t kAgeCurves[3][PERSON_AGE_CURVE_LENGTH] = {
    {55, 56, 58, 61, 64, 69, 74, 79, 85, 89, 92, 95, 97, 98, 99, 99, 100,
     99, 99, 98, 97, 95, 92, 89, 85, 79, 74, 69, 64, 61, 58, 56, 55},
    {58, 61, 64, 69, 74, 79, 85, 89, 92, 95, 97, 98, 99, 99, 100, 99, 99,
     98, 97, 95, 92, 89, 85, 79, 74, 69, 64, 61, 58, 54, 53, 52, 51},
    {64, 69, 74, 79, 85, 89, 92, 95, 97, 98, 99, 99, 100, 99, 99, 98, 97,
     95, 92, 89, 85, 79, 74, 69, 64, 60, 58, 56, 55, 54, 53, 52, 51},
};

}  // namespace

// Rows 2-4, 6, 9-10 and 13 repeat the row above them. A keeper's Handling
// aims lower than a forward's Shooting, so that shots at a keeper of the same
// standing go in about as often as they do on real pitches.
#define TARGET_TAIL 0, 0, 100, 0, 0, 0, 0, 100, 0, 0, 0, 100, 100, 100
const uint8_t CPersonDatabase::s_abyRoleTargets[PLAYER_ROLE_COUNT][PLAYER_ATTRIBUTE_COUNT] = {
    {70, 30, 50, 25, 25, 25, 60, 40, TARGET_TAIL},
    {1, 100, 90, 40, 95, 40, 80, 40, TARGET_TAIL},
    {1, 100, 90, 40, 95, 40, 80, 40, TARGET_TAIL},
    {1, 100, 90, 40, 95, 40, 80, 40, TARGET_TAIL},
    {1, 100, 90, 40, 95, 40, 80, 40, TARGET_TAIL},
    {1, 100, 95, 90, 45, 30, 45, 85, TARGET_TAIL},
    {1, 100, 95, 90, 45, 30, 45, 85, TARGET_TAIL},
    {1, 100, 95, 50, 80, 30, 90, 50, TARGET_TAIL},
    {1, 60, 100, 95, 50, 100, 80, 65, TARGET_TAIL},
    {1, 60, 100, 95, 50, 100, 80, 65, TARGET_TAIL},
    {1, 60, 100, 95, 50, 100, 80, 65, TARGET_TAIL},
    {1, 65, 80, 90, 65, 100, 55, 80, TARGET_TAIL},
    {1, 45, 100, 100, 55, 100, 60, 100, TARGET_TAIL},
    {1, 45, 100, 100, 55, 100, 60, 100, TARGET_TAIL},
    {1, 45, 55, 55, 95, 100, 80, 90, TARGET_TAIL},
    {1, 45, 55, 55, 95, 100, 95, 90, TARGET_TAIL},
};
#undef TARGET_TAIL

namespace {

constexpr uint16_t kRoleMaskNotSet = 0xFFFF;
constexpr uint8_t kByteNotSet = 0xFF;
constexpr int kShortNameBuffers = 15;
constexpr int kShortNameLength = 40;

bool ReadInjuryEntry(CBinaryReader& reader, INJURYENTRY& entry)
{
    CPersonDatabase::ReadDate(reader, entry.Date);
    reader.ReadU32(entry.dwPersonId);
    reader.ReadU16(entry.wDays);
    reader.ReadU8(entry.byType);
    reader.ReadU8(entry.byZero);
    return !reader.Failed();
}

void WriteInjuryEntry(CBinaryWriter& writer, const INJURYENTRY& entry)
{
    CPersonDatabase::WriteDate(writer, entry.Date);
    writer.WriteU32(entry.dwPersonId);
    writer.WriteU16(entry.wDays);
    writer.WriteU8(entry.byType);
    writer.WriteU8(entry.byZero);
}

}  // namespace

CPersonDatabase::CPersonDatabase() : m_pszFirstName(s_szEmptyName), m_pszLastName(s_szEmptyName) {}

CPersonDatabase::~CPersonDatabase()
{
    FreeHistory();
}

void CPersonDatabase::FreeHistory()
{
    for (INJURYENTRY* pEntry : m_InjuryHistory.Items<INJURYENTRY>())
        delete pEntry;
    m_InjuryHistory.RemoveAll();
    for (DISCIPLINARYENTRY* pEntry : m_DisciplinaryHistory.Items<DISCIPLINARYENTRY>())
        delete pEntry;
    m_DisciplinaryHistory.RemoveAll();
}

bool CPersonDatabase::ReadDate(CBinaryReader& reader, DATERECORD& date)
{
    reader.ReadU16(date.wYear);
    reader.ReadU8(date.byMonth);
    reader.ReadU8(date.byDay);
    return !reader.Failed();
}

void CPersonDatabase::WriteDate(CBinaryWriter& writer, const DATERECORD& date)
{
    writer.WriteU16(date.wYear);
    writer.WriteU8(date.byMonth);
    writer.WriteU8(date.byDay);
}

bool CPersonDatabase::IsValidDate(const DATERECORD& date)
{
    return date.byMonth >= 1 && date.byMonth <= 12 && date.byDay >= 1 && date.byDay <= 31;
}

const char* CPersonDatabase::GetDictionaryName(int nDictionary, uint32_t dwOffset)
{
    if (!m_pDatabaseHandler)
        return s_szEmptyName;
    const char* pszName = nDictionary == NAMEDICTIONARY_LAST ? m_pDatabaseHandler->GetLastNameFromOffset(dwOffset)
                                                             : m_pDatabaseHandler->GetFirstNameFromOffset(dwOffset);
    return pszName ? pszName : s_szEmptyName;
}

void CPersonDatabase::SetNameOffsets(uint32_t dwFirstNameOffset, uint32_t dwLastNameOffset)
{
    m_dwFirstNameOffset = dwFirstNameOffset;
    m_dwLastNameOffset = dwLastNameOffset;
    m_pszFirstName = GetDictionaryName(0, dwFirstNameOffset);
    m_pszLastName = GetDictionaryName(1, dwLastNameOffset);
}

bool CPersonDatabase::Load(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision,
                           CClubDatabase* pClub)
{
    uint32_t dwFirstNameOffset = 0, dwLastNameOffset = 0, dwPersonId = 0, dwFlags = 0, dwReserved = 0;
    int32_t nHistorySlot = 0;
    DATERECORD dateOfBirth;
    uint16_t wInjuries = 0, wDisciplinary = 0, wRoleMask = 0, wInjuryDays = 0, wClubId = 0;
    uint16_t awAttributes[PLAYER_ATTRIBUTE_COUNT] = {};
    uint8_t byNationality = 0, byPosition = 0, byRole = 0, byInjuryType = 0, byVariant = 0, byType = 0;
    uint8_t byStatus = 0, byValueBand = 0;

    reader.ReadU32(dwFirstNameOffset);
    reader.ReadU32(dwLastNameOffset);
    reader.ReadI32(nHistorySlot);
    ReadDate(reader, dateOfBirth);
    reader.ReadU32(dwPersonId);
    reader.ReadU32(dwFlags);
    reader.ReadU32(dwReserved);
    reader.ReadU16(wInjuries);
    reader.ReadU16(wDisciplinary);
    reader.ReadU16(wRoleMask);
    reader.ReadU16(wInjuryDays);
    for (uint16_t& w : awAttributes)
        reader.ReadU16(w);
    reader.ReadU16(wClubId);
    reader.ReadU8(byNationality);
    reader.ReadU8(byPosition);
    reader.ReadU8(byRole);
    reader.ReadU8(byInjuryType);
    reader.ReadU8(byVariant);
    reader.ReadU8(byType);
    reader.ReadU8(byStatus);
    reader.ReadU8(byValueBand);
    reader.Skip(2);
    if (reader.Failed()) {
        DebugLog(0, "[CPersonDatabase::Load] The person block is cut short");
        return false;
    }

    // Values that the file may leave unset are repaired; anything else out of
    // range means the record is damaged.
    if (byNationality == kByteNotSet)
        byNationality = GetCountryNationality(pCountry);
    if (byNationality > NATIONALITY_COUNT)
        byNationality = 0;
    if (byPosition == kByteNotSet)
        byPosition = 0;
    if (byRole == kByteNotSet)
        byRole = 0;
    bool bAttributesValid = true;
    for (uint16_t w : awAttributes)
        bAttributesValid = bAttributesValid && w <= PLAYER_ATTRIBUTE_MAX;
    const char* pszProblem = nullptr;
    if (dwPersonId == 0 || dwPersonId > PERSON_ID_LIMIT)
        pszProblem = "person id";
    else if (byPosition >= PLAYER_POSITION_COUNT)
        pszProblem = "position";
    else if (byRole >= PLAYER_ROLE_COUNT)
        pszProblem = "role";
    else if (!bAttributesValid)
        pszProblem = "attribute";
    else if (byInjuryType >= PERSON_INJURY_TYPES)
        pszProblem = "injury type";
    else if (byVariant > 5 || (byType != 0 && byType != 3 && byType != 4))
        pszProblem = "appearance";
    else if (!IsValidDate(dateOfBirth))
        pszProblem = "date of birth";
    else if (nHistorySlot < 0)
        pszProblem = "history slot";
    else if (wRoleMask != kRoleMaskNotSet && (wRoleMask & 0xFFFE) != wRoleMask)
        pszProblem = "role mask";
    if (pszProblem) {
        DebugLog(0, "[CPersonDatabase::Load] Person %u has an invalid %s", dwPersonId, pszProblem);
        reader.Fail();
        return false;
    }

    m_byRecordStatus = byStatus;
    m_wClubId = wClubId;
    m_dwFlags = dwFlags;
    m_idPerson = dwPersonId;
    m_byNationality = byNationality;
    m_nHistorySlot = nHistorySlot;
    if (m_pDatabaseHandler)
        m_pDatabaseHandler->RaiseHistorySlotCount(nHistorySlot);

    m_byPosition = byPosition;
    m_byRole = byRole;
    std::memcpy(m_awAttributes, awAttributes, sizeof(m_awAttributes));
    m_wRoleMask = wRoleMask;
    if (m_wRoleMask == kRoleMaskNotSet) {
        m_wRoleMask = 0;
        GenerateRoles(false);
    }

    m_wInjuryDays = wInjuryDays;
    m_byAppearanceVariant = byVariant;
    m_byAppearanceType = byType;
    m_byInjuryType = byInjuryType;
    m_dwReserved = dwReserved;
    m_DateOfBirth = dateOfBirth;
    m_byValueBand = byValueBand;
    SetNameOffsets(dwFirstNameOffset, dwLastNameOffset);
    if (*m_pszLastName == '\0' && dwLastNameOffset != 0)
        DebugLog(1, "[CPersonDatabase::Load] Person %u has name offsets outside the dictionaries", m_idPerson);

    m_pCountry = pCountry;
    m_pDivision = pDivision;
    m_pClub = pClub;

    if (!reader.CheckCount(static_cast<uint64_t>(wInjuries) + wDisciplinary, 12)) {
        DebugLog(0, "[CPersonDatabase::Load] Person %u has more history entries than the file holds", m_idPerson);
        return false;
    }
    for (int i = 0; i < wInjuries; ++i) {
        INJURYENTRY entry;
        if (!ReadInjuryEntry(reader, entry))
            return false;
        m_InjuryHistory.AddTail(new INJURYENTRY(entry));
    }
    for (int i = 0; i < wDisciplinary; ++i) {
        DISCIPLINARYENTRY entry;
        if (!reader.ReadBytes(entry.abyData, sizeof(entry.abyData)))
            return false;
        m_DisciplinaryHistory.AddTail(new DISCIPLINARYENTRY(entry));
    }
    return true;
}

bool CPersonDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwFirstNameOffset);
    writer.WriteU32(m_dwLastNameOffset);
    writer.WriteI32(m_nHistorySlot);
    WriteDate(writer, m_DateOfBirth);
    writer.WriteU32(m_idPerson);
    writer.WriteU32(m_dwFlags);
    writer.WriteU32(m_dwReserved);
    writer.WriteU16(static_cast<uint16_t>(m_InjuryHistory.GetCount()));
    writer.WriteU16(static_cast<uint16_t>(m_DisciplinaryHistory.GetCount()));
    writer.WriteU16(m_wRoleMask);
    writer.WriteU16(m_wInjuryDays);
    for (uint16_t w : m_awAttributes)
        writer.WriteU16(w);
    writer.WriteU16(m_wClubId);
    writer.WriteU8(m_byNationality);
    writer.WriteU8(m_byPosition);
    writer.WriteU8(m_byRole);
    writer.WriteU8(m_byInjuryType);
    writer.WriteU8(m_byAppearanceVariant);
    writer.WriteU8(m_byAppearanceType);
    writer.WriteU8(m_byRecordStatus);
    writer.WriteU8(m_byValueBand);
    writer.WriteZeros(2);
    for (const INJURYENTRY* pEntry : m_InjuryHistory.Items<INJURYENTRY>())
        WriteInjuryEntry(writer, *pEntry);
    for (const DISCIPLINARYENTRY* pEntry : m_DisciplinaryHistory.Items<DISCIPLINARYENTRY>())
        writer.WriteBytes(pEntry->abyData, sizeof(pEntry->abyData));
    return !writer.Failed();
}

int CPersonDatabase::GetAge() const
{
    if (!m_pDatabaseHandler)
        return 0;
    return m_pDatabaseHandler->GetGameDate().GetAge(m_DateOfBirth.wYear, m_DateOfBirth.byMonth, m_DateOfBirth.byDay);
}

const char* CPersonDatabase::GetShortName() const
{
    static char s_aszBuffers[kShortNameBuffers][kShortNameLength];
    static int s_nNext = 0;
    char* pszBuffer = s_aszBuffers[s_nNext];
    s_nNext = (s_nNext + 1) % kShortNameBuffers;
    if (*m_pszFirstName == '\0')
        std::snprintf(pszBuffer, kShortNameLength, "%s", m_pszLastName);
    else
        std::snprintf(pszBuffer, kShortNameLength, "%c. %s", *m_pszFirstName, m_pszLastName);
    return pszBuffer;
}

int CPersonDatabase::GetPositionFromRole(int nRole)
{
    if (nRole >= 0 && nRole < PLAYER_ROLE_COUNT)
        return GetPositionOfRole(nRole);
    DebugLog(0, "[CPlayerDatabase::GetPositionFromRole] Invalid Player Role!");
    return PLAYER_POSITION_ATTACKER;
}

void CPersonDatabase::PickRoles(int nFirstRole, int nGroupSize, int nCount, bool& bSetPrimary)
{
    // Never ask for more roles than the group still has free.
    int nFree = 0;
    for (int r = nFirstRole; r < nFirstRole + nGroupSize; ++r)
        nFree += (m_wRoleMask & (1u << r)) ? 0 : 1;
    if (nCount > nFree)
        nCount = nFree;
    bool bPrimaryThisPick = bSetPrimary && nCount > 0;
    int nFound = 0;
    while (nFound < nCount) {
        int nRole = nFirstRole + plat::rand() % nGroupSize;
        if (m_wRoleMask & (1u << nRole))
            continue;
        m_wRoleMask |= static_cast<uint16_t>(1u << nRole);
        if (bPrimaryThisPick && nFound == 0)
            m_byRole = static_cast<uint8_t>(nRole);
        ++nFound;
    }
    if (bPrimaryThisPick) {
        m_wRoleMask &= static_cast<uint16_t>(~(1u << m_byRole));
        bSetPrimary = false;
    }
}

void CPersonDatabase::GenerateRoles(bool bForcePrimary)
{
    int nAbility = m_awAttributes[PLAYER_ATTRIBUTE_REPUTATION] / 100;
    if (m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] / 100 > nAbility)
        nAbility = m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] / 100;
    const int nExtra = nAbility < 61 ? 0 : (nAbility < 81 ? 1 : 2);
    const int nMain = nAbility < 61 ? 1 : 2;

    if (m_byPosition > PLAYER_POSITION_ATTACKER)
        return;
    m_wRoleMask = 0;
    if (m_byPosition == PLAYER_POSITION_GOALKEEPER) {
        m_byRole = PLAYER_ROLE_GOALKEEPER;
        return;
    }
    bool bSetPrimary = bForcePrimary;
    switch (m_byPosition) {
    case PLAYER_POSITION_DEFENDER:
        PickRoles(PLAYER_ROLE_FIRST_DEFENDER, 6, nMain, bSetPrimary);
        PickRoles(PLAYER_ROLE_FIRST_MIDFIELDER, 5, nExtra, bSetPrimary);
        break;
    case PLAYER_POSITION_MIDFIELDER:
        PickRoles(PLAYER_ROLE_FIRST_MIDFIELDER, 5, nMain, bSetPrimary);
        if (nExtra > 0) {
            if (plat::rand() % 2 == 0)
                PickRoles(PLAYER_ROLE_FIRST_ATTACKER, 4, nExtra, bSetPrimary);
            else
                PickRoles(PLAYER_ROLE_FIRST_MIDFIELDER, 5, nExtra, bSetPrimary);
        }
        break;
    default:
        PickRoles(PLAYER_ROLE_FIRST_ATTACKER, 4, nMain, bSetPrimary);
        PickRoles(PLAYER_ROLE_FIRST_MIDFIELDER, 5, nExtra, bSetPrimary);
        break;
    }
}

namespace {

// Where a person stands on his role's age curve for a level: what the value
// of each of his attributes should be is read from it.
struct AgeCurvePoint {
    int nRole;
    int nCurveValue;
    int nLevel;
};

AgeCurvePoint CurvePoint(const CPersonDatabase& person, int nAgeIndex, int nLevel)
{
    if (nLevel == 0)
        nLevel = person.m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] / 100;
    // Ages outside 14..46 read the nearest end of the curve.
    nAgeIndex = std::clamp(nAgeIndex, 0, PERSON_AGE_CURVE_LENGTH - 1);
    const int nRole = person.m_byRole < PLAYER_ROLE_COUNT ? person.m_byRole : PLAYER_ROLE_COUNT - 1;
    const int nCurve = nRole == 0 ? 0 : (nRole == 1 ? 1 : 2);
    return {nRole, kAgeCurves[nCurve][nAgeIndex], nLevel};
}

int ValueOnCurve(const CPersonDatabase& person, const AgeCurvePoint& point, int nAttribute)
{
    if (person.m_byPosition != PLAYER_POSITION_GOALKEEPER && nAttribute == PLAYER_ATTRIBUTE_HANDLING)
        return person.m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] / 100;
    const int nTarget = CPersonDatabase::s_abyRoleTargets[point.nRole][nAttribute];
    if (nTarget == 0)
        return point.nCurveValue;
    return point.nCurveValue * nTarget * point.nLevel / 10000;
}

#if defined(__SSE2__)
// Each role's targets as single-precision lanes, padded to whole vectors
// with roles that set no target.
constexpr int kAttributeLanes = (PLAYER_ATTRIBUTE_COUNT + 3) / 4 * 4;
struct RoleTargetLanes {
    alignas(16) float afTargets[kAttributeLanes] = {};
};

const auto kRoleTargetLanes = [] {
    std::array<RoleTargetLanes, PLAYER_ROLE_COUNT> lanes{};
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole)
        for (int i = 0; i < PLAYER_ATTRIBUTE_COUNT; ++i)
            lanes[static_cast<size_t>(nRole)].afTargets[i] = CPersonDatabase::s_abyRoleTargets[nRole][i];
    return lanes;
}();
#endif

}  // namespace

int CPersonDatabase::GetAttributeForAge(int nAttribute, int nAgeIndex, int nLevel) const
{
    if (nAttribute < 0 || nAttribute >= PLAYER_ATTRIBUTE_COUNT)
        return 0;
    return ValueOnCurve(*this, CurvePoint(*this, nAgeIndex, nLevel), nAttribute);
}

#if defined(__SSE2__)
namespace {

// The values of four attributes from nFirst as GetAttributesForAge gives
// them, for a curve's value times the level of 0 .. 65535 (Handling's
// exception aside). Every product is then below 2^24, exact in single
// precision, and its quotient by 10000 (under 1,678) rounds to a value on the
// same side of every whole number as the exact one (which is a whole number
// or at least 1/10000 away from one): the whole part is the integer quotient.
inline __m128i ValueLanes(const float* pfTargets, int nFirst, __m128 curveLevel, __m128i curve)
{
    const __m128 targets = _mm_load_ps(pfTargets + nFirst);
    const __m128i quotients = _mm_cvttps_epi32(_mm_div_ps(_mm_mul_ps(targets, curveLevel), _mm_set1_ps(10000.0f)));
    const __m128i none = _mm_castps_si128(_mm_cmpeq_ps(targets, _mm_setzero_ps()));
    return _mm_or_si128(_mm_and_si128(none, curve), _mm_andnot_si128(none, quotients));
}

}  // namespace
#endif

void CPersonDatabase::GetAttributesForAge(int nAgeIndex, int nLevel, int anValues[PLAYER_ATTRIBUTE_COUNT]) const
{
    // The role's row and the curve's value are read once, Handling's
    // exception is settled after.
    const AgeCurvePoint point = CurvePoint(*this, nAgeIndex, nLevel);
    const uint8_t* pbyTargets = s_abyRoleTargets[point.nRole];
    const int nCurveLevel = point.nCurveValue * point.nLevel;
#if defined(__SSE2__)
    if (nCurveLevel >= 0 && nCurveLevel <= 65535) {
        const float* pfTargets = kRoleTargetLanes[static_cast<size_t>(point.nRole)].afTargets;
        const __m128 level = _mm_set1_ps(static_cast<float>(nCurveLevel));
        const __m128i curve = _mm_set1_epi32(point.nCurveValue);
        alignas(16) int32_t anLanes[kAttributeLanes];
        for (int i = 0; i < kAttributeLanes; i += 4)
            _mm_store_si128(reinterpret_cast<__m128i*>(anLanes + i), ValueLanes(pfTargets, i, level, curve));
        std::copy_n(anLanes, PLAYER_ATTRIBUTE_COUNT, anValues);
        if (m_byPosition != PLAYER_POSITION_GOALKEEPER)
            anValues[PLAYER_ATTRIBUTE_HANDLING] = m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] / 100;
        return;
    }
#endif
    const auto fill = [&](auto divide) {
        for (int nAttribute = 0; nAttribute < PLAYER_ATTRIBUTE_COUNT; ++nAttribute) {
            const int nTarget = pbyTargets[nAttribute];
            anValues[nAttribute] = nTarget == 0 ? point.nCurveValue : divide(nCurveLevel * nTarget);
        }
    };
    // A level of 0 or more (every one but a caller's odd request) gives no
    // negative product, which divides cheaper unsigned.
    if (nCurveLevel >= 0)
        fill([](int n) { return static_cast<int>(static_cast<unsigned>(n) / 10000u); });
    else
        fill([](int n) { return n / 10000; });
    if (m_byPosition != PLAYER_POSITION_GOALKEEPER)
        anValues[PLAYER_ATTRIBUTE_HANDLING] = m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] / 100;
}

void CPersonDatabase::GetAttributeHundredthsForAge(int nAgeIndex, int nLevel, int nCount, float* afValues) const
{
    nCount = std::clamp<int>(nCount, 0, PLAYER_ATTRIBUTE_COUNT);
#if defined(__SSE2__)
    // Every week's training asks this of every person, for the same point of
    // the same curve all year: the values of the first attributes are kept
    // with the point they came from (Handling's exception is settled after).
    if (nLevel == 0)
        nLevel = m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] / 100;
    // (A level of at most 655, all a potential gives, keeps the curve's value
    // times the level within 65535.)
    constexpr int kKeptLevels = 65535 / 100;
    if (nCount <= kKeptAgeValues && nLevel >= 0 && nLevel <= kKeptLevels) {
        const uint32_t dwAge = static_cast<uint32_t>(std::clamp(nAgeIndex, 0, PERSON_AGE_CURVE_LENGTH - 1));
        const uint32_t dwRole = m_byRole < PLAYER_ROLE_COUNT ? m_byRole : PLAYER_ROLE_COUNT - 1;
        const uint32_t dwKey = dwAge | dwRole << 8 | static_cast<uint32_t>(nLevel) << 16;
        if (dwKey != m_dwAgeValuesKey) {
            const AgeCurvePoint point = CurvePoint(*this, nAgeIndex, nLevel);
            const int nCurveLevel = point.nCurveValue * point.nLevel;
            const float* pfTargets = kRoleTargetLanes[static_cast<size_t>(point.nRole)].afTargets;
            const __m128 level = _mm_set1_ps(static_cast<float>(nCurveLevel));
            const __m128i curve = _mm_set1_epi32(point.nCurveValue);
            static_assert(kKeptAgeValues == 20, "two groups of eight and one of four");
            // Every value is under 1,678: 16 bits hold it.
            const auto pack = [&](int nFirst) {
                return _mm_packs_epi32(ValueLanes(pfTargets, nFirst, level, curve),
                                       ValueLanes(pfTargets, nFirst + 4, level, curve));
            };
            _mm_storeu_si128(reinterpret_cast<__m128i*>(m_awAgeValues), pack(0));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(m_awAgeValues + 8), pack(8));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(m_awAgeValues + 16), pack(16));
            m_dwAgeValuesKey = dwKey;
        }
        const __m128 hundred = _mm_set1_ps(100.0f);
        for (int i = 0; i < nCount; i += 4) {
            const __m128i values = _mm_unpacklo_epi16(
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(m_awAgeValues + i)), _mm_setzero_si128());
            _mm_storeu_ps(afValues + i, _mm_mul_ps(_mm_cvtepi32_ps(values), hundred));
        }
        if (m_byPosition != PLAYER_POSITION_GOALKEEPER && nCount > 0)
            afValues[PLAYER_ATTRIBUTE_HANDLING] =
                static_cast<float>(m_awAttributes[PLAYER_ATTRIBUTE_HANDLING] / 100) * 100.0f;
        return;
    }
#endif
    int anValues[PLAYER_ATTRIBUTE_COUNT];
    GetAttributesForAge(nAgeIndex, nLevel, anValues);
    for (int i = 0; i < nCount; ++i)
        afValues[i] = static_cast<float>(anValues[i]) * 100.0f;
}

void CPersonDatabase::DrawAppearance(int nNationality)
{
    if (m_pDatabaseHandler)
        m_pDatabaseHandler->DrawAppearance(nNationality, m_byAppearanceType, m_byAppearanceVariant);
}

int CPersonDatabase::GetHistoryRecordOffset(int nWeek) const
{
    if (m_nHistorySlot == 0)
        return -1;
    const int nSlots = m_pDatabaseHandler ? m_pDatabaseHandler->GetHistorySlotCount() : 0;
    return (((nWeek % 52) + 1) * 10 - 8) * nSlots + m_nHistorySlot * 10 - 10;
}

int CPersonDatabase::GetHistoryHeaderOffset() const
{
    if (m_nHistorySlot == 0)
        return -1;
    return m_nHistorySlot * 2 - 2;
}

int CPersonDatabase::GetSkillChangeBetweenWeeks(int nWeek1, int nWeek2) const
{
    if (m_nHistorySlot == 0 || !m_pDatabaseHandler)
        return 0;
    int anSums[2] = {0, 0};
    const int anWeeks[2] = {nWeek1, nWeek2 - 1};
    for (int i = 0; i < 2; ++i) {
        uint8_t abyRecord[10];
        const int nOffset = GetHistoryRecordOffset(anWeeks[i]);
        if (nOffset < 0 || !m_pDatabaseHandler->ReadPlayerHistory(nOffset, abyRecord, sizeof(abyRecord)))
            return 0;
        for (uint8_t bySkill : abyRecord)
            anSums[i] += bySkill;
    }
    return anSums[1] - anSums[0];
}

const uint8_t CPersonDatabase::s_abyRoleWeights[PLAYER_ROLE_COUNT][PLAYER_SKILL_COUNT] = {
    {60, 5, 9, 3, 3, 3, 10, 7},
    {0, 37, 4, 4, 21, 4, 21, 9},
    {0, 37, 21, 4, 21, 4, 9, 4},
    {0, 37, 9, 4, 21, 4, 21, 4},
    {0, 37, 21, 4, 21, 4, 9, 4},
    {0, 21, 21, 21, 6, 4, 6, 21},
    {0, 21, 21, 21, 6, 4, 6, 21},
    {0, 22, 22, 10, 15, 8, 15, 8},
    {0, 6, 21, 21, 8, 21, 10, 13},
    {0, 6, 21, 21, 8, 21, 10, 13},
    {0, 6, 21, 21, 8, 21, 10, 13},
    {0, 4, 18, 22, 12, 22, 6, 16},
    {0, 4, 21, 21, 6, 21, 6, 21},
    {0, 4, 21, 21, 6, 21, 6, 21},
    {0, 4, 6, 6, 23, 23, 23, 15},
    {0, 4, 6, 6, 21, 27, 15, 21},
};

namespace {

// What a role's rating reads, worked out once: the skills it weighs (a skill
// of weight 0 adds nothing) with their weights and targets, and the full
// marks of the skills it sets no target (any value reaches it). A skill a
// counts w * min(a / t, 100); a / t for every 16-bit a and every target t of
// 1-255 is (a * ceil(2^32 / t)) >> 32, exactly over that whole range: the
// side building asks for millions of ratings a season, and this multiplies
// where it would divide and branch.
struct RoleRating {
    struct Term {
        uint64_t qwReciprocal;
        int nSkill;
        int nWeight;
    };
    int nFixed = 0;
    int nTerms = 0;
    Term aTerms[PLAYER_SKILL_COUNT] = {};
};

std::array<RoleRating, PLAYER_ROLE_COUNT> MakeRoleRatings()
{
    std::array<RoleRating, PLAYER_ROLE_COUNT> ratings{};
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole) {
        RoleRating& rating = ratings[nRole];
        for (int i = 0; i < PLAYER_SKILL_COUNT; ++i) {
            const uint64_t t = CPersonDatabase::s_abyRoleTargets[nRole][i];
            const int w = CPersonDatabase::s_abyRoleWeights[nRole][i];
            if (w == 0)
                continue;
            if (t == 0)
                rating.nFixed += w * 100;
            else
                rating.aTerms[rating.nTerms++] = {((uint64_t{1} << 32) + t - 1) / t, i, w};
        }
    }
    return ratings;
}

const std::array<RoleRating, PLAYER_ROLE_COUNT> kRoleRatings = MakeRoleRatings();

#if defined(__SSE2__)
// The same rating with the eight skills side by side. a / t in single
// precision lands on the same side of every whole number up to 101 as the
// exact quotient (a whole number is at least 1/255 away from any a / t that
// is not one, far beyond the rounding there), so its whole part capped at 100
// is the quotient above. A skill without a term divides by 1 and weighs 0.
static_assert(PLAYER_SKILL_COUNT == 8, "two vectors of four skills");
struct RoleRatingLanes {
    alignas(16) float afTargets[PLAYER_SKILL_COUNT];
    alignas(16) int16_t anWeights[PLAYER_SKILL_COUNT];
    int nFixed;
};

std::array<RoleRatingLanes, PLAYER_ROLE_COUNT> MakeRoleRatingLanes()
{
    std::array<RoleRatingLanes, PLAYER_ROLE_COUNT> lanes{};
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole) {
        RoleRatingLanes& lane = lanes[static_cast<size_t>(nRole)];
        std::fill(std::begin(lane.afTargets), std::end(lane.afTargets), 1.0f);
        const RoleRating& rating = kRoleRatings[static_cast<size_t>(nRole)];
        lane.nFixed = rating.nFixed;
        for (int i = 0; i < rating.nTerms; ++i) {
            const RoleRating::Term& term = rating.aTerms[i];
            lane.afTargets[term.nSkill] = CPersonDatabase::s_abyRoleTargets[nRole][term.nSkill];
            lane.anWeights[term.nSkill] = static_cast<int16_t>(term.nWeight);
        }
    }
    return lanes;
}

const std::array<RoleRatingLanes, PLAYER_ROLE_COUNT> kRoleRatingLanes = MakeRoleRatingLanes();
#endif

}  // namespace

int CPersonDatabase::GetRatingForPosition(int nRole) const
{
    if (nRole == -1)
        nRole = m_byRole;
    if (nRole < 0 || nRole >= PLAYER_ROLE_COUNT)
        return 0;
#if defined(__SSE2__)
    // The skills are the record's first eight attributes.
    const RoleRatingLanes& lanes = kRoleRatingLanes[static_cast<size_t>(nRole)];
    const __m128i skills = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_awAttributes));
    const __m128 full = _mm_set1_ps(100.0f);
    const __m128 low = _mm_min_ps(
        _mm_div_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(skills, _mm_setzero_si128())), _mm_load_ps(lanes.afTargets)),
        full);
    const __m128 high = _mm_min_ps(_mm_div_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(skills, _mm_setzero_si128())),
                                              _mm_load_ps(lanes.afTargets + 4)),
                                   full);
    const __m128i shares = _mm_packs_epi32(_mm_cvttps_epi32(low), _mm_cvttps_epi32(high));
    __m128i sums = _mm_madd_epi16(shares, _mm_load_si128(reinterpret_cast<const __m128i*>(lanes.anWeights)));
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(2, 3, 0, 1)));
    return (lanes.nFixed + _mm_cvtsi128_si32(sums)) / 100;
#else
    const RoleRating& rating = kRoleRatings[static_cast<size_t>(nRole)];
    int nSum = rating.nFixed;
    for (int i = 0; i < rating.nTerms; ++i) {
        const RoleRating::Term& term = rating.aTerms[i];
        const uint64_t a = m_awAttributes[term.nSkill];
        nSum += term.nWeight * static_cast<int>(std::min<uint64_t>((a * term.qwReciprocal) >> 32, 100));
    }
    return nSum / 100;
#endif
}

void CPersonDatabase::GetRatingsForRoles(uint32_t dwRoles, int16_t anRatings[PLAYER_ROLE_COUNT]) const
{
    dwRoles &= (1u << PLAYER_ROLE_COUNT) - 1;
#if defined(__SSE2__)
    // The arithmetic of GetRatingForPosition, with the skills turned into
    // lanes once.
    const __m128i skills = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_awAttributes));
    const __m128 lowSkills = _mm_cvtepi32_ps(_mm_unpacklo_epi16(skills, _mm_setzero_si128()));
    const __m128 highSkills = _mm_cvtepi32_ps(_mm_unpackhi_epi16(skills, _mm_setzero_si128()));
    const __m128 full = _mm_set1_ps(100.0f);
    while (dwRoles) {
        const int nRole = __builtin_ctz(dwRoles);
        dwRoles &= dwRoles - 1;
        const RoleRatingLanes& lanes = kRoleRatingLanes[static_cast<size_t>(nRole)];
        const __m128 low = _mm_min_ps(_mm_div_ps(lowSkills, _mm_load_ps(lanes.afTargets)), full);
        const __m128 high = _mm_min_ps(_mm_div_ps(highSkills, _mm_load_ps(lanes.afTargets + 4)), full);
        const __m128i shares = _mm_packs_epi32(_mm_cvttps_epi32(low), _mm_cvttps_epi32(high));
        __m128i sums = _mm_madd_epi16(shares, _mm_load_si128(reinterpret_cast<const __m128i*>(lanes.anWeights)));
        sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
        sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(2, 3, 0, 1)));
        anRatings[nRole] = static_cast<int16_t>((lanes.nFixed + _mm_cvtsi128_si32(sums)) / 100);
    }
#else
    while (dwRoles) {
        const int nRole = __builtin_ctz(dwRoles);
        dwRoles &= dwRoles - 1;
        anRatings[nRole] = static_cast<int16_t>(GetRatingForPosition(nRole));
    }
#endif
}

#if defined(__SSE2__)
namespace {

// The same ratings for all sixteen roles at once, turned the other way: for
// each skill its targets and weights side by side by role, so that a skill's
// shares of every role come from four divisions. Each share w * min(a / t,
// 100) and each sum (the weights of a role add up to 100) stays within 16
// bits, exactly as GetRatingsForRoles works them out.
struct EveryRoleLanes {
    struct Skill {
        alignas(16) float afTargets[PLAYER_ROLE_COUNT];
        alignas(16) int16_t anWeights[PLAYER_ROLE_COUNT];
    };
    Skill aSkills[PLAYER_SKILL_COUNT];
    alignas(16) int16_t anFixed[PLAYER_ROLE_COUNT];
};
static_assert(PLAYER_ROLE_COUNT == 16, "two vectors of eight roles");

const EveryRoleLanes kEveryRoleLanes = [] {
    EveryRoleLanes lanes{};
    for (int nRole = 0; nRole < PLAYER_ROLE_COUNT; ++nRole) {
        const RoleRatingLanes& role = kRoleRatingLanes[static_cast<size_t>(nRole)];
        for (int i = 0; i < PLAYER_SKILL_COUNT; ++i) {
            lanes.aSkills[i].afTargets[nRole] = role.afTargets[i];
            lanes.aSkills[i].anWeights[nRole] = role.anWeights[i];
        }
        lanes.anFixed[nRole] = static_cast<int16_t>(role.nFixed);
    }
    return lanes;
}();

// n / 100 for every n of 0 .. 10000 as (n * 5243) >> 19: the high half of a
// 16-bit product, shifted by 3.
constexpr bool HundredthsByProduct()
{
    for (uint32_t n = 0; n <= 10000; ++n)
        if (((n * 5243u) >> 16 >> 3) != n / 100)
            return false;
    return true;
}
static_assert(HundredthsByProduct());

}  // namespace
#endif

#if defined(__x86_64__) && defined(__GNUC__)
#define BRELLOX_WIDE_ROLE_RATINGS 1
namespace {

// The same sixteen ratings eight roles to a register on a processor with the
// wider registers. A pack of two registers of four-role halves gives the
// halves in the order first-low, second-low, first-high, second-high, so the
// targets are laid out roles 0-3 and 8-11, then 4-7 and 12-15, and the
// packed shares come out in role order, weighed as the narrow steps weigh
// them: the same divisions, minimums, truncations and 16-bit sums lane by lane.
struct EveryRoleWideTargets {
    alignas(32) float afTargets[PLAYER_SKILL_COUNT][PLAYER_ROLE_COUNT];
};

const EveryRoleWideTargets kEveryRoleWideTargets = [] {
    EveryRoleWideTargets targets{};
    static constexpr int kRoleOfLane[PLAYER_ROLE_COUNT] = {0, 1, 2, 3, 8, 9, 10, 11, 4, 5, 6, 7, 12, 13, 14, 15};
    for (int i = 0; i < PLAYER_SKILL_COUNT; ++i)
        for (int nLane = 0; nLane < PLAYER_ROLE_COUNT; ++nLane)
            targets.afTargets[i][nLane] = kEveryRoleLanes.aSkills[i].afTargets[kRoleOfLane[nLane]];
    return targets;
}();

[[gnu::target("avx2")]] void RateEveryRoleWide(const uint16_t* pwSkills, int16_t* pnRatings)
{
    const __m256 full = _mm256_set1_ps(100.0f);
    const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pwSkills));
    const __m256 skills = _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(words));
    alignas(32) float afSkills[PLAYER_SKILL_COUNT];
    _mm256_store_ps(afSkills, skills);
    __m256i sums = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kEveryRoleLanes.anFixed));
    for (int i = 0; i < PLAYER_SKILL_COUNT; ++i) {
        const __m256 a = _mm256_set1_ps(afSkills[i]);
        const float* pfTargets = kEveryRoleWideTargets.afTargets[i];
        const __m256i first = _mm256_cvttps_epi32(_mm256_min_ps(_mm256_div_ps(a, _mm256_load_ps(pfTargets)), full));
        const __m256i second =
            _mm256_cvttps_epi32(_mm256_min_ps(_mm256_div_ps(a, _mm256_load_ps(pfTargets + 8)), full));
        const __m256i weights =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kEveryRoleLanes.aSkills[i].anWeights));
        sums = _mm256_add_epi16(sums, _mm256_mullo_epi16(_mm256_packs_epi32(first, second), weights));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pnRatings),
                        _mm256_srli_epi16(_mm256_mulhi_epu16(sums, _mm256_set1_epi16(5243)), 3));
}

}  // namespace
#endif

void CPersonDatabase::RateEveryRole() const
{
    std::copy_n(m_awAttributes, PLAYER_SKILL_COUNT, m_awRatedSkills);
#if defined(BRELLOX_WIDE_ROLE_RATINGS)
    // Every squad is rated before each of its matches, most players anew
    // after a week's training.
    static const bool s_bWide = __builtin_cpu_supports("avx2");
    if (s_bWide) {
        RateEveryRoleWide(m_awAttributes, m_anRoleRatings);
        m_bRolesRated = true;
        return;
    }
#endif
#if defined(__SSE2__)
    alignas(16) float afSkills[PLAYER_SKILL_COUNT];
    const __m128i skills = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_awAttributes));
    _mm_store_ps(afSkills, _mm_cvtepi32_ps(_mm_unpacklo_epi16(skills, _mm_setzero_si128())));
    _mm_store_ps(afSkills + 4, _mm_cvtepi32_ps(_mm_unpackhi_epi16(skills, _mm_setzero_si128())));
    const __m128 full = _mm_set1_ps(100.0f);
    __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(kEveryRoleLanes.anFixed));
    __m128i high = _mm_load_si128(reinterpret_cast<const __m128i*>(kEveryRoleLanes.anFixed + 8));
    for (int i = 0; i < PLAYER_SKILL_COUNT; ++i) {
        const EveryRoleLanes::Skill& lanes = kEveryRoleLanes.aSkills[i];
        const __m128 a = _mm_set1_ps(afSkills[i]);
        const auto shares = [&](int nFirst) {
            return _mm_cvttps_epi32(_mm_min_ps(_mm_div_ps(a, _mm_load_ps(lanes.afTargets + nFirst)), full));
        };
        const __m128i* pWeights = reinterpret_cast<const __m128i*>(lanes.anWeights);
        low = _mm_add_epi16(low, _mm_mullo_epi16(_mm_packs_epi32(shares(0), shares(4)), _mm_load_si128(pWeights)));
        high =
            _mm_add_epi16(high, _mm_mullo_epi16(_mm_packs_epi32(shares(8), shares(12)), _mm_load_si128(pWeights + 1)));
    }
    const __m128i hundredth = _mm_set1_epi16(5243);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(m_anRoleRatings), _mm_srli_epi16(_mm_mulhi_epu16(low, hundredth), 3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(m_anRoleRatings + 8),
                     _mm_srli_epi16(_mm_mulhi_epu16(high, hundredth), 3));
#else
    GetRatingsForRoles((1u << PLAYER_ROLE_COUNT) - 1, m_anRoleRatings);
#endif
    m_bRolesRated = true;
}

const int16_t* CPersonDatabase::GetRoleRatings() const
{
#if defined(__SSE2__)
    const __m128i skills = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_awAttributes));
    const __m128i rated = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m_awRatedSkills));
    const bool bSame = _mm_movemask_epi8(_mm_cmpeq_epi16(skills, rated)) == 0xFFFF;
#else
    const bool bSame = std::equal(m_awRatedSkills, m_awRatedSkills + PLAYER_SKILL_COUNT, m_awAttributes);
#endif
    if (!bSame || !m_bRolesRated)
        RateEveryRole();
    return m_anRoleRatings;
}
