#pragma once
// What people records ask of the country, division and club they belong to,
// answered in one place. A null owner gets the "none" answer that each
// query names.
#include "common/Identifiers.h"

class CCountryDatabase;
class CDivisionDatabase;
class CClubDatabase;

// The nationality number of a country; 0 without one.
int GetCountryNationality(const CCountryDatabase* pCountry);
// The year the country's current season began; without a country, the
// season the game date lies in (seasons turn in July).
int GetCountrySeasonYear(const CCountryDatabase* pCountry);
// The calendar year of the country's date; without a country, the game date's.
int GetCountryCurrentYear(const CCountryDatabase* pCountry);
// The season year of the club's country, or of the first country without a club.
int GetClubSeasonYear(const CClubDatabase* pClub);
// 0 without a club.
ID_CLUB GetClubIdOf(const CClubDatabase* pClub);
CCountryDatabase* GetClubCountry(CClubDatabase* pClub);
CDivisionDatabase* GetClubDivision(CClubDatabase* pClub);
// True when one of the human managers runs the club.
bool IsClubHumanManaged(const CClubDatabase* pClub);
// The club's first rating byte (its level 0-100); -1 without a club.
int GetClubLevel(const CClubDatabase* pClub);
