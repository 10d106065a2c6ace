#pragma once
// What the editor edits, apart from its screens: the starting database loaded
// into the game's own database code, the two name tables its people's names
// point into, the changes the dialogs apply, and saving the database with
// both dictionaries as one set whose offsets match.
#include "editor/CNameTable.h"

#include "common/CDate.h"

#include <string>
#include <vector>

class CDatabaseHandler;
class CEditorProgress;
class CCountryDatabase;
class CClubDatabase;
class CManagerDatabase;
class CPlayerDatabase;

class CEditorDocument {
public:
    explicit CEditorDocument(CDatabaseHandler& handler);

    // Reads the starting database and fills the name tables. A missing,
    // damaged or already played world is refused: false, nothing loaded and
    // message says why. The progress, when given, follows each step.
    bool Load(const std::string& path, std::string& message, CEditorProgress* pProgress = nullptr);
    bool IsLoaded() const { return m_bLoaded; }
    CDatabaseHandler& GetHandler() { return m_Handler; }
    CNameTable& GetFirstNames() { return m_FirstNames; }
    CNameTable& GetLastNames() { return m_LastNames; }

    std::vector<CCountryDatabase*> GetCountries() const;
    // The clubs of the country's league divisions, in division order.
    std::vector<CClubDatabase*> GetClubs(const CCountryDatabase* pCountry) const;
    std::vector<CPlayerDatabase*> GetSquad(const CClubDatabase* pClub) const;

    // The club's rating is its support level, which a database holds from 0
    // to 99 only (the game refuses a club above it).
    static constexpr int kMaxClubRating = 99;
    // Long and short name are cut to the record's fields; the reputation is
    // clamped to 0-100, the rating to 0-kMaxClubRating. False when a name is
    // blank: that name stays as it was, the rest is stored.
    bool ApplyClub(CClubDatabase* pClub, const std::string& longName, const std::string& shortName, int nReputation,
                   int nRating) const;
    // The names go through the tables; false when a name cannot be held
    // (blank or too long), and that name stays as it was. The other fields
    // are stored either way, the birth date only when it is a calendar day.
    bool ApplyManager(CManagerDatabase* pManager, const std::string& firstName, const std::string& lastName,
                      const DATERECORD& birth, int nReputation, int nNationality);
    bool ApplyPlayer(CPlayerDatabase* pPlayer, const std::string& firstName, const std::string& lastName,
                     const DATERECORD& birth, int nNationality, int nPosition, int nRole, int nShirt);
    // When a squad mate of another full name wears the number, he takes the
    // player's number and the player takes this one at once; that mate, or
    // null when nobody wore it.
    CPlayerDatabase* SwapShirtNumber(CPlayerDatabase* pPlayer, const std::string& fullName, int nNumber) const;

    // A day the calendar has.
    static bool IsCalendarDate(const DATERECORD& date);
    // A birth date from today - nYearsBack to today + nYearsAhead (same day
    // and month at both ends).
    // Nothing but spaces: no name a person or a club can go by.
    static bool IsBlankName(const std::string& name);
    static bool IsBirthDateInRange(const DATERECORD& birth, const DATERECORD& today, int nYearsBack, int nYearsAhead);
    static DATERECORD Today();
    // The world's own date when it has one (birth dates are judged against
    // the season the world starts in), else the computer's.
    DATERECORD GetToday() const;

    // Writes the first names, the last names and the database to temporary
    // names beside the three paths and puts them in place only when all
    // three are whole, so that a database never lands without the
    // dictionaries its offsets point into. False with message naming the file.
    // The progress, when given, follows each step.
    bool Save(const std::string& firstNamesPath, const std::string& lastNamesPath, const std::string& databasePath,
              std::string& message, CEditorProgress* pProgress = nullptr);

private:
    bool SetNames(const char*& pszFirst, const char*& pszLast, const std::string& firstName,
                  const std::string& lastName);

    CDatabaseHandler& m_Handler;
    CNameTable m_FirstNames{CNameTable::KIND_FIRST};
    CNameTable m_LastNames{CNameTable::KIND_LAST};
    bool m_bLoaded = false;
};
