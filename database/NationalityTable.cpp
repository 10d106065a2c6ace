#include "database/NationalityTable.h"

namespace {

constexpr int kOwnPools[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 19,
                             20, 22, 23, 26, 29, 31, 32, 34, 35, 37, 39, 40, 43, 44, 50, 55};

// Nationalities without pools of their own borrow a neighbour's.
int SharedPool(int nNationality)
{
    switch (nNationality) {
    case 17: case 27: case 48: return 16;
    case 21: return 13;
    case 24: case 30: case 38: case 41: case 42: return 40;
    case 25: return 2;
    case 28: case 36: return 22;
    case 33: return 8;
    case 45: case 54: return 44;
    case 46: return 6;
    case 52: return 3;
    default: return 1;  // 18, 47, 49, 51, 53 and 56-101
    }
}

}  // namespace

int GetNamePoolNumber(int nNationality)
{
    if (nNationality < 1 || nNationality > NATIONALITY_COUNT)
        return 0;
    for (int nPool : kOwnPools)
        if (nPool == nNationality)
            return nPool;
    return SharedPool(nNationality);
}

const int* GetNamePoolNumbers(int& nCount)
{
    nCount = static_cast<int>(sizeof kOwnPools / sizeof kOwnPools[0]);
    return kOwnPools;
}
