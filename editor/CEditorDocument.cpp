#include "editor/CEditorDocument.h"

#include "editor/CEditorProgress.h"
#include "editor/EditorTexts.h"
#include "editor/PersonNames.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"
#include "season/CSavedGameSet.h"

#include <algorithm>
#include <ctime>
#include <memory>

namespace {

// The text numbers of the steps a load and a save show.
enum {
    kStepLoading = 157,
    kStepFirstNames = 158,
    kStepLastNames = 159,
    kStepDone = 160,
    kStepWritingFirstNames = 163,
    kStepWritingLastNames = 164,
    kStepWritingDatabase = 165,
    kStepRelinkingFirstNames = 168,
    kStepRelinkingLastNames = 169,
};

void Step(CEditorProgress* pProgress, int nText)
{
    if (pProgress)
        pProgress->Step(nText);
}

}  // namespace

CEditorDocument::CEditorDocument(CDatabaseHandler& handler) : m_Handler(handler) {}

bool CEditorDocument::Load(const std::string& path, std::string& message, CEditorProgress* pProgress)
{
    m_bLoaded = false;
    m_FirstNames.Free();
    m_LastNames.Free();
    if (!m_Handler.AreFixedTablesLoaded()) {
        message = EditorText(313);
        return false;
    }
    if (!plat::fileExists(path)) {
        message = FormatEditorText(314, path);
        return false;
    }
    Step(pProgress, kStepLoading);
    if (!m_Handler.LoadFile(path)) {
        message = FormatEditorText(315, path);
        return false;
    }
    Step(pProgress, kStepLoading);
    // A world in play keeps people in its working files, out of reach of the
    // name tables; only a starting database is edited.
    if (CSavedGameSet::IsGameInPlay(m_Handler)) {
        m_Handler.UnloadWorld();
        message = FormatEditorText(316, path);
        return false;
    }
    const struct {
        CNameTable& table;
        int nDictionary;
        int nStep;
    } tables[] = {{m_FirstNames, NAMEDICTIONARY_FIRST, kStepFirstNames},
                  {m_LastNames, NAMEDICTIONARY_LAST, kStepLastNames}};
    for (const auto& table : tables) {
        Step(pProgress, table.nStep);
        if (!table.table.LoadFromDictionary(m_Handler.GetNameDictionary(table.nDictionary), pProgress)) {
            m_FirstNames.Free();
            m_LastNames.Free();
            m_Handler.UnloadWorld();
            message = EditorText(317);
            return false;
        }
        Step(pProgress, kStepLoading);
        table.table.RelinkRecords(m_Handler, pProgress);
    }
    m_bLoaded = true;
    return true;
}

std::vector<CCountryDatabase*> CEditorDocument::GetCountries() const
{
    std::vector<CCountryDatabase*> countries;
    for (CCountryDatabase* pCountry : m_Handler.GetCountries().Items<CCountryDatabase>())
        countries.push_back(pCountry);
    return countries;
}

std::vector<CClubDatabase*> CEditorDocument::GetClubs(const CCountryDatabase* pCountry) const
{
    std::vector<CClubDatabase*> clubs;
    if (!pCountry)
        return clubs;
    for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
        if (pDivision->m_byKind == DIVISION_KIND_LEAGUE)
            for (CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
                clubs.push_back(pClub);
    return clubs;
}

std::vector<CPlayerDatabase*> CEditorDocument::GetSquad(const CClubDatabase* pClub) const
{
    std::vector<CPlayerDatabase*> squad;
    if (pClub)
        for (CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            squad.push_back(pPlayer);
    return squad;
}

bool CEditorDocument::ApplyClub(CClubDatabase* pClub, const std::string& longName, const std::string& shortName,
                                int nReputation, int nRating) const
{
    if (!pClub)
        return false;
    if (!IsBlankName(longName))
        pClub->SetName(longName.c_str());
    if (!IsBlankName(shortName))
        pClub->SetShortName(shortName.c_str());
    pClub->m_byReputation = static_cast<uint8_t>(std::clamp(nReputation, 0, 100));
    pClub->m_bySupportLevel = static_cast<uint8_t>(std::clamp(nRating, 0, kMaxClubRating));
    return !IsBlankName(longName) && !IsBlankName(shortName);
}

bool CEditorDocument::IsBlankName(const std::string& name)
{
    return name.find_first_not_of(' ') == std::string::npos;
}

bool CEditorDocument::SetNames(const char*& pszFirst, const char*& pszLast, const std::string& firstName,
                               const std::string& lastName)
{
    bool bOk = true;
    if (firstName != pszFirst)
        bOk = !IsBlankName(firstName) && m_FirstNames.FindOrInsert(firstName.c_str(), &pszFirst) && bOk;
    if (lastName != pszLast)
        bOk = !IsBlankName(lastName) && m_LastNames.FindOrInsert(lastName.c_str(), &pszLast) && bOk;
    return bOk;
}

bool CEditorDocument::ApplyManager(CManagerDatabase* pManager, const std::string& firstName,
                                   const std::string& lastName, const DATERECORD& birth, int nReputation,
                                   int nNationality)
{
    if (!pManager)
        return false;
    const bool bNames = SetNames(pManager->m_pszFirstName, pManager->m_pszLastName, firstName, lastName);
    // A manager saved without names gets offsets once he has them.
    if (*pManager->m_pszFirstName && pManager->m_dwFirstNameOffset == MANAGER_NO_NAME)
        pManager->m_dwFirstNameOffset = 0;
    if (*pManager->m_pszLastName && pManager->m_dwLastNameOffset == MANAGER_NO_NAME)
        pManager->m_dwLastNameOffset = 0;
    if (IsCalendarDate(birth))
        pManager->m_DateOfBirth = birth;
    pManager->m_byRating = static_cast<uint8_t>(std::clamp(nReputation, 0, 100));
    if (nNationality >= 1 && nNationality <= NATIONALITY_COUNT)
        pManager->m_byNationality = static_cast<uint8_t>(nNationality);
    return bNames;
}

bool CEditorDocument::ApplyPlayer(CPlayerDatabase* pPlayer, const std::string& firstName,
                                  const std::string& lastName, const DATERECORD& birth, int nNationality,
                                  int nPosition, int nRole, int nShirt)
{
    if (!pPlayer)
        return false;
    const bool bNames = SetNames(pPlayer->m_pszFirstName, pPlayer->m_pszLastName, firstName, lastName);
    if (IsCalendarDate(birth))
        pPlayer->m_DateOfBirth = birth;
    if (nNationality >= 1 && nNationality <= NATIONALITY_COUNT)
        pPlayer->m_byNationality = static_cast<uint8_t>(nNationality);
    if (nPosition >= 0 && nPosition < PLAYER_POSITION_COUNT)
        pPlayer->m_byPosition = static_cast<uint8_t>(nPosition);
    if (nRole >= 0 && nRole < PLAYER_ROLE_COUNT)
        pPlayer->m_byRole = static_cast<uint8_t>(nRole);
    if (nShirt >= 0 && nShirt <= 50)
        pPlayer->m_bySquadNumber = static_cast<uint8_t>(nShirt);
    return bNames;
}

CPlayerDatabase* CEditorDocument::SwapShirtNumber(CPlayerDatabase* pPlayer, const std::string& fullName,
                                                  int nNumber) const
{
    if (!pPlayer || !pPlayer->m_pClub || nNumber < 0 || nNumber > 50)
        return nullptr;
    for (CPlayerDatabase* pMate : GetSquad(pPlayer->m_pClub)) {
        if (pMate == pPlayer || pMate->m_bySquadNumber != nNumber)
            continue;
        // Mates are told apart by full name: a namesake is never swapped.
        if (std::string(pMate->m_pszFirstName) + " " + pMate->m_pszLastName == fullName)
            continue;
        pMate->m_bySquadNumber = pPlayer->m_bySquadNumber;
        pPlayer->m_bySquadNumber = static_cast<uint8_t>(nNumber);
        return pMate;
    }
    return nullptr;
}

bool CEditorDocument::IsCalendarDate(const DATERECORD& date)
{
    // The record's own check lets 30 February pass.
    return CPersonDatabase::IsValidDate(date) && date.byMonth >= 1 && date.byMonth <= 12 && date.byDay >= 1 &&
           date.byDay <= CDate(date.wYear, date.byMonth, 1).GetDaysInMonth();
}

bool CEditorDocument::IsBirthDateInRange(const DATERECORD& birth, const DATERECORD& today, int nYearsBack,
                                         int nYearsAhead)
{
    if (!IsCalendarDate(birth))
        return false;
    const auto key = [](int nYear, int nMonth, int nDay) { return nYear * 10000 + nMonth * 100 + nDay; };
    const int nBirth = key(birth.wYear, birth.byMonth, birth.byDay);
    return nBirth >= key(today.wYear - nYearsBack, today.byMonth, today.byDay) &&
           nBirth <= key(today.wYear + nYearsAhead, today.byMonth, today.byDay);
}

DATERECORD CEditorDocument::Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DATERECORD today;
    today.wYear = static_cast<uint16_t>(local.tm_year + 1900);
    today.byMonth = static_cast<uint8_t>(local.tm_mon + 1);
    today.byDay = static_cast<uint8_t>(local.tm_mday);
    return today;
}

DATERECORD CEditorDocument::GetToday() const
{
    if (!m_bLoaded)
        return Today();
    DATERECORD today;
    m_Handler.GetGameDate().GetYMD(today);
    return CPersonDatabase::IsValidDate(today) ? today : Today();
}

bool CEditorDocument::Save(const std::string& firstNamesPath, const std::string& lastNamesPath,
                           const std::string& databasePath, std::string& message, CEditorProgress* pProgress)
{
    if (!m_bLoaded) {
        message = EditorText(318);
        return false;
    }
    plat::SafeFile firstNames(firstNamesPath), lastNames(lastNamesPath), database(databasePath);
    const struct {
        plat::SafeFile& file;
        const std::string& path;
    } members[] = {{firstNames, firstNamesPath}, {lastNames, lastNamesPath}, {database, databasePath}};
    const struct {
        CNameTable& table;
        FILE* pFile;
        int nBuild, nWrite, nRelink;
    } dictionaries[] = {
        {m_FirstNames, firstNames.file(), kStepFirstNames, kStepWritingFirstNames, kStepRelinkingFirstNames},
        {m_LastNames, lastNames.file(), kStepLastNames, kStepWritingLastNames, kStepRelinkingLastNames},
    };
    bool abWritten[3] = {false, false, false};
    for (int i = 0; i < 2; ++i) {
        const auto& dictionary = dictionaries[i];
        if (!dictionary.pFile)
            continue;
        Step(pProgress, dictionary.nBuild);
        dictionary.table.ComputeNameOffsets(m_Handler, pProgress);
        Step(pProgress, dictionary.nWrite);
        abWritten[i] = dictionary.table.Write(dictionary.pFile);
        Step(pProgress, dictionary.nRelink);
        dictionary.table.RelinkRecords(m_Handler, pProgress);
    }
    if (database.file()) {
        Step(pProgress, kStepWritingDatabase);
        abWritten[2] = m_Handler.Save(database.file());
    }
    for (int i = 0; i < 3; ++i) {
        if (!abWritten[i]) {
            message = "'" + members[i].path + "'";
            DebugLog(0, "[CEditorDocument::Save] %s cannot be written; nothing is saved", members[i].path.c_str());
            return false;  // the SafeFiles abandon their temporaries
        }
    }
    for (const auto& member : members) {
        if (!member.file.commit()) {
            message = "'" + member.path + "'";
            return false;
        }
    }
    Step(pProgress, kStepDone);
    return true;
}
