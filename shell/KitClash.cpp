#include "shell/KitClash.h"

#include "database/CClubDatabase.h"
#include "shell/CGameTitlebar.h"

#include <cstdlib>

namespace {

constexpr int kGrey = 3;
constexpr int kGreyLevels = 201;
constexpr int kGreySpread = 50;
constexpr int kSameClassDistance = 100;
constexpr int kOtherClassDistance = 190;

struct Channels {
    int an[3];  // blue, green, red
};

Channels Split(COLORREF cr) { return {{plat::GetBValue(cr), plat::GetGValue(cr), plat::GetRValue(cr)}}; }

int ColourClass(const Channels& c)
{
    if (c.an[0] == c.an[1] && c.an[1] == c.an[2])
        return kGrey;
    int nClass = 0;
    for (int i = 1; i < 3; ++i)
        if (c.an[i] >= c.an[nClass])
            nClass = i;
    return nClass;
}

bool IsPlain(uint8_t byPattern) { return byPattern <= 1; }

KITCOLOURS ClubKit(const CClubDatabase* pClub, int nFirstByte)
{
    return {CGameTitlebar::GetKitColour(pClub->m_abyAttributes[nFirstByte]),
            CGameTitlebar::GetKitColour(pClub->m_abyAttributes[nFirstByte + 1]), 0};
}

}  // namespace

bool AreKitColoursClose(COLORREF crFirst, COLORREF crSecond, int* pnDistance)
{
    const Channels a = Split(crFirst);
    const Channels b = Split(crSecond);
    const int nClassA = ColourClass(a);
    const int nClassB = ColourClass(b);
    int nDistance = 0;
    bool bClose = false;
    if (nClassA == kGrey && nClassB == kGrey) {
        bClose = std::abs(a.an[0] - b.an[0]) < kGreyLevels;
    } else if (nClassA == kGrey || nClassB == kGrey) {
        const Channels& c = nClassA == kGrey ? b : a;
        bClose = std::abs(c.an[0] - c.an[1]) <= kGreySpread && std::abs(c.an[1] - c.an[2]) <= kGreySpread &&
                 std::abs(c.an[0] - c.an[2]) <= kGreySpread;
    } else if (nClassA == nClassB) {
        nDistance = std::abs(a.an[nClassA] - b.an[nClassA]);
        bClose = nDistance < kSameClassDistance;
    } else {
        for (int i = 0; i < 3; ++i)
            nDistance += std::abs(a.an[i] - b.an[i]);
        bClose = nDistance < kOtherClassDistance;
    }
    if (pnDistance)
        *pnDistance = nDistance;
    return bClose;
}

bool ShouldWearAwayKit(const KITCOLOURS& home, const KITCOLOURS& awayHome, const KITCOLOURS& awayAway)
{
    if (home.crShirt == awayHome.crShirt && home.byPattern == awayHome.byPattern)
        return true;
    bool bChange = false;
    bool bComparedDistances = false;
    if (AreKitColoursClose(home.crShirt, awayHome.crShirt)) {
        if (!AreKitColoursClose(home.crShirt, awayAway.crShirt)) {
            bChange = true;
        } else {
            bComparedDistances = true;
            int nAwayShirtDistance = 0;
            int nFirstShirtDistance = 0;
            AreKitColoursClose(awayAway.crShirt, home.crShirt, &nAwayShirtDistance);
            AreKitColoursClose(awayHome.crShirt, home.crShirt, &nFirstShirtDistance);
            bChange = nAwayShirtDistance > nFirstShirtDistance;
        }
    }
    if (IsPlain(awayHome.byPattern) && IsPlain(home.byPattern))
        return bChange;
    bool bClose = false;
    if (IsPlain(awayHome.byPattern))
        bClose = AreKitColoursClose(home.crSecond, bComparedDistances ? awayAway.crShirt : awayHome.crShirt);
    else
        bClose = AreKitColoursClose(home.crShirt, awayHome.crSecond);
    if (!bClose)
        return false;
    return !AreKitColoursClose(home.crShirt, awayAway.crShirt);
}

bool ShouldWearAwayKit(const CClubDatabase* pHome, const CClubDatabase* pAway)
{
    if (!pHome || !pAway)
        return false;
    return ShouldWearAwayKit(ClubKit(pHome, 0), ClubKit(pAway, 0), ClubKit(pAway, 2));
}
