#pragma once
// The 101 nationalities: where each draws its generated names from and how
// its people look. Several nationalities share one pair of name pools.
#include "database/CNameDictionary.h"

#include <cstdint>

constexpr int NATIONALITY_COUNT = 101;

struct NATIONALITYROW {
    char szFirstNamePool[80] = {};
    char szLastNamePool[80] = {};
    CNameDictionary FirstNames;  // the pool's names, in file order
    CNameDictionary LastNames;
    uint8_t byNationality = 0;   // 1-101
    uint8_t byAppearanceThreshold1 = 0;
    uint8_t byAppearanceThreshold2 = 0;
    uint8_t byFlag = 0;
};

// Pool file number of a nationality (1-101); 0 outside that range.
int GetNamePoolNumber(int nNationality);
// The pool numbers that have files of their own, in ascending order.
const int* GetNamePoolNumbers(int& nCount);
