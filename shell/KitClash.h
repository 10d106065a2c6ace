#pragma once
// Whether two sides' kits clash, so that the away side changes into its
// away kit: the colour test that calls two kit colours close, and the rule
// over both sides' shirts, second colours and patterns.
#include "xframework/CXSurface.h"

#include <cstdint>

class CClubDatabase;

// One kit as the rule sees it; pattern 0 and 1 are plain.
struct KITCOLOURS {
    COLORREF crShirt = 0;
    COLORREF crSecond = 0;
    uint8_t byPattern = 0;
};

// Each colour is classed by its largest channel (blue, green, red; a tie
// goes to the later one) or as grey when all three are equal. Two greys are
// close within 200 levels; a grey and a colour when the colour's channels
// lie within 50 of each other; one class when that channel differs by less
// than 100 (the distance); otherwise when the three channel differences add
// up to less than 190 (the distance). Greys have distance 0.
bool AreKitColoursClose(COLORREF crFirst, COLORREF crSecond, int* pnDistance = nullptr);

// True when the away side must wear its away kit against the home kit.
bool ShouldWearAwayKit(const KITCOLOURS& home, const KITCOLOURS& awayHome, const KITCOLOURS& awayAway);
// The same for two clubs, their kits taken from their records' kit colours
// (plain: the records keep no pattern).
bool ShouldWearAwayKit(const CClubDatabase* pHome, const CClubDatabase* pAway);
