#pragma once
// What the popups that put offers to players and clubs share: number and
// money edits with their spin buttons, the colours of the player's club, and
// the human's database and club.
#include "xframework/CXSurface.h"

#include <cstdint>

class CClubDatabase;
class CDatabaseHandler;
class CGamePopup;
class CPlayerDatabase;
class CXEdit;

namespace offer_edits {

// The colour of the rows of their lists and drop-downs.
constexpr COLORREF kValueColour = 0x00FFFFFF;

// A number edit of nChars characters with the range it is clamped to and
// spin buttons dwUpID and dwUpID + 1 stepping by nStep (money too: it is
// shown through SetMoney and read through ReadMoney).
CXEdit* AddSpinEdit(CGamePopup& popup, uint32_t dwID, int x, int y, int nWidth, int nMinimum, int nMaximum,
                    int nChars, int nStep, uint32_t dwUpID);

// Tab goes from each control of the list to the next that exists, and from
// the last back to the first.
void ChainTabs(CGamePopup& popup, const uint32_t* pdwIDs, int nCount);

// Whole numbers; an edit that is missing reads 0.
void SetNumber(CXEdit* pEdit, int64_t nValue);
int ReadNumber(const CXEdit* pEdit);
// Money: shown in the Currency option's money, read back in the stored unit.
void SetMoney(CXEdit* pEdit, int64_t nAmount);
int32_t ReadMoney(const CXEdit* pEdit);
// Sets a text without telling the owner, so that linked edits do not feed
// each other.
void SetQuietly(CXEdit* pEdit, void (*pfnSet)(CXEdit*, int64_t), int64_t nValue);

// The two colour boxes of the player's club (green and white without one).
void DrawClubColours(CXSurface* pBackground, const CPlayerDatabase* pPlayer);

// The game's database, the human's club and its id (null and 0 without).
CDatabaseHandler* Database();
CClubDatabase* HumanClub();

}  // namespace offer_edits
