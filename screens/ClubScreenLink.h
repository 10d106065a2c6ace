#pragma once
// The way from a club named in a list to its club screen: a league club's
// screen opens, any other club (a cup side, none) gets the message that its
// details cannot be shown.
class CClubDatabase;

void OpenClubScreenOrSay(const CClubDatabase* pClub);
