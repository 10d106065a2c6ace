// Name dictionaries, nationality name pools and generated names.
#include "database/CDatabaseHandler.h"

#include "common/DebugLog.h"
#include "platform/Random.h"

#include <cstdio>

namespace {

struct APPEARANCE {
    uint8_t byThreshold1;
    uint8_t byThreshold2;
    uint8_t byFlag;
};

// By nationality 1-101: appearance thresholds (percentages) and flag.
constexpr APPEARANCE kAppearance[NATIONALITY_COUNT] = {
    {80, 90, 1},  {100, 0, 1}, {70, 80, 1},  {70, 80, 1},  {80, 90, 1},  {70, 80, 1},   {80, 90, 1},
    {80, 90, 1},  {70, 80, 1}, {90, 100, 1}, {95, 100, 1}, {95, 100, 1}, {50, 100, 1},  {95, 100, 1},
    {95, 100, 1}, {10, 11, 1}, {100, 0, 0},  {100, 0, 0},  {100, 0, 1},  {100, 0, 1},   {50, 100, 0},
    {100, 0, 1},  {100, 0, 1}, {100, 0, 1},  {100, 0, 0},  {100, 0, 1},  {100, 0, 0},   {100, 0, 0},
    {100, 0, 1},  {100, 0, 0}, {100, 0, 1},  {100, 0, 1},  {90, 100, 0}, {100, 0, 1},   {20, 100, 1},
    {100, 0, 0},  {90, 100, 1}, {100, 0, 0}, {100, 0, 1},  {100, 0, 0},  {100, 0, 0},   {100, 0, 0},
    {95, 100, 1}, {100, 0, 1}, {100, 0, 0},  {100, 0, 0},  {10, 100, 0}, {100, 0, 0},   {10, 60, 0},
    {100, 0, 1},  {100, 0, 0}, {100, 0, 0},  {30, 70, 0},  {100, 0, 0},  {100, 0, 1},   {0, 60, 0},
    {0, 80, 0},   {0, 80, 0},  {0, 60, 0},   {0, 80, 0},   {0, 80, 0},   {60, 80, 0},   {30, 70, 0},
    {10, 70, 0},  {10, 70, 0}, {10, 70, 0},  {10, 20, 0},  {60, 80, 0},  {10, 80, 0},   {10, 80, 0},
    {10, 80, 0},  {10, 80, 0}, {10, 20, 0},  {100, 0, 0},  {10, 20, 0},  {10, 90, 0},   {10, 90, 0},
    {10, 90, 0},  {10, 90, 0}, {10, 90, 0},  {10, 90, 0},  {40, 41, 0},  {10, 80, 0},   {100, 0, 0},
    {5, 95, 0},   {5, 10, 0},  {5, 10, 0},   {5, 10, 0},   {5, 10, 0},   {5, 10, 0},    {5, 95, 0},
    {5, 10, 0},   {5, 95, 0},  {10, 90, 0},  {5, 10, 0},   {5, 10, 0},   {5, 10, 0},    {5, 10, 0},
    {5, 95, 0},   {5, 95, 0},  {5, 10, 0},
};

}  // namespace

bool CDatabaseHandler::LoadNameDictionaries()
{
    const bool bFirst = m_FirstNames.Load("Data\\Names\\FirstNames.dat", true);
    const bool bLast = m_LastNames.Load("Data\\Names\\LastNames.dat", true);
    return bFirst && bLast;
}

bool CDatabaseHandler::CreateNameGenerationTables()
{
    DeleteNameGenerationTables();
    NATIONALITYROW* pRows = new NATIONALITYROW[NATIONALITY_COUNT];
    long nAllocated = 0;
    for (int i = 0; i < NATIONALITY_COUNT; ++i) {
        NATIONALITYROW& row = pRows[i];
        const int nPool = GetNamePoolNumber(i + 1);
        std::snprintf(row.szFirstNamePool, sizeof row.szFirstNamePool, "Data\\Names\\%dFN.dat", nPool);
        std::snprintf(row.szLastNamePool, sizeof row.szLastNamePool, "Data\\Names\\%dLN.dat", nPool);
        row.byNationality = static_cast<uint8_t>(i + 1);
        row.byAppearanceThreshold1 = kAppearance[i].byThreshold1;
        row.byAppearanceThreshold2 = kAppearance[i].byThreshold2;
        row.byFlag = kAppearance[i].byFlag;
        // Each row keeps its own copy even when it shares a pool file.
        if (!row.FirstNames.Load(row.szFirstNamePool, false) || !row.LastNames.Load(row.szLastNamePool, false)) {
            DebugLog(0, "[CDatabaseHandler::CreateNameGenerationTables] Name pool %d of nationality %d is unusable",
                     nPool, i + 1);
            delete[] pRows;
            return false;
        }
        nAllocated += static_cast<long>(row.FirstNames.GetTextSize() + row.LastNames.GetTextSize()) +
                      static_cast<long>(sizeof(char*)) * (row.FirstNames.GetCount() + row.LastNames.GetCount());
    }
    m_pNationalityRows = pRows;
    DebugLog(5, "[CDatabaseHandler::CreateNameGenerationTables] Allocated %ld bytes of memory", nAllocated);
    return true;
}

void CDatabaseHandler::DeleteNameGenerationTables()
{
    delete[] m_pNationalityRows;
    m_pNationalityRows = nullptr;
    m_pManagerNameRow = m_pStaffNameRow = nullptr;
}

bool CDatabaseHandler::FindName(int nDictionary, const char* pszName, uint32_t& dwOffset, const char** ppName) const
{
    return GetNameDictionary(nDictionary).FindName(pszName, dwOffset, ppName);
}

const NATIONALITYROW* CDatabaseHandler::GetNationalityRow(int nNationality) const
{
    if (!m_pNationalityRows || nNationality < 1 || nNationality > NATIONALITY_COUNT)
        return nullptr;
    return &m_pNationalityRows[nNationality - 1];
}

const NATIONALITYROW* CDatabaseHandler::PickNationality(ID_COUNTRY idCountry) const
{
    if (!m_pNationalityRows)
        return nullptr;
    if (idCountry != 0 && plat::rand() % 100 < 98) {
        if (const NATIONALITYROW* pRow = GetNationalityRow(idCountry))
            return pRow;
    }
    return &m_pNationalityRows[plat::rand() % NATIONALITY_COUNT];
}

const char* CDatabaseHandler::DrawFirstName(const NATIONALITYROW& row) const
{
    // Loaded pools hold at least one name, so the draw never divides by zero.
    const int nCount = row.FirstNames.GetCount();
    return nCount > 0 ? row.FirstNames.GetName(plat::rand() % nCount) : nullptr;
}

const char* CDatabaseHandler::DrawLastName(const NATIONALITYROW& row) const
{
    const int nCount = row.LastNames.GetCount();
    return nCount > 0 ? row.LastNames.GetName(plat::rand() % nCount) : nullptr;
}

bool CDatabaseHandler::GenerateName(const NATIONALITYROW& row, uint32_t& dwFirstOffset, uint32_t& dwLastOffset) const
{
    const char* pszFirst = DrawFirstName(row);
    const char* pszLast = DrawLastName(row);
    if (!pszFirst || !pszLast) {
        DebugLog(0, "[CDatabaseHandler::GenerateName] Nationality %d has no names", row.byNationality);
        return false;
    }
    uint32_t dwFirst = 0;
    uint32_t dwLast = 0;
    if (!m_FirstNames.FindName(pszFirst, dwFirst)) {
        DebugLog(0, "[CDatabaseHandler::GenerateName] First Name %s not found!", pszFirst);
        return false;
    }
    if (!m_LastNames.FindName(pszLast, dwLast)) {
        DebugLog(0, "[CDatabaseHandler::GenerateName] Last Name %s not found!", pszLast);
        return false;
    }
    dwFirstOffset = dwFirst;
    dwLastOffset = dwLast;
    return true;
}

void CDatabaseHandler::DrawAppearance(int nNationality, uint8_t& byType, uint8_t& byVariant) const
{
    if (nNationality < 1 || nNationality > NATIONALITY_COUNT) {
        DebugLog(1, "[CDatabaseHandler::DrawAppearance] Unknown nationality %d", nNationality);
        byType = 0;
        byVariant = 0;
        return;
    }
    const APPEARANCE& appearance = kAppearance[nNationality - 1];
    const int r = plat::rand() % 100 + 1;
    if (r <= appearance.byThreshold1) {
        byType = 0;
        byVariant = static_cast<uint8_t>(plat::rand() % 6);
    } else {
        byType = r > appearance.byThreshold2 ? 4 : 3;
        byVariant = 3;
    }
}
