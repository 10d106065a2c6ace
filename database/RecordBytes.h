#pragma once
// Little-endian fields inside the fixed-size byte records the world keeps in
// memory (the season archive and season records): read and written in place
// with the same byte order as the files they are saved to.
#include <cstdint>

inline uint16_t LoadRecordU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t LoadRecordU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t LoadRecordI32(const uint8_t* p)
{
    return static_cast<int32_t>(LoadRecordU32(p));
}

inline void StoreRecordU16(uint8_t* p, uint16_t w)
{
    p[0] = static_cast<uint8_t>(w & 0xFF);
    p[1] = static_cast<uint8_t>(w >> 8);
}

inline void StoreRecordU32(uint8_t* p, uint32_t dw)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(dw >> (8 * i));
}

inline void StoreRecordI32(uint8_t* p, int32_t n)
{
    StoreRecordU32(p, static_cast<uint32_t>(n));
}

// A person named in a record: two identifiers and a value, 12 bytes. A
// player's reference is {club, player, value}, a manager's {manager, club,
// value}; news items and the season archives carry them.
struct PERSONREFERENCE {
    uint32_t dwFirst = 0;
    uint32_t dwSecond = 0;
    int32_t nValue = 0;

    static constexpr int BYTES = 12;
    static PERSONREFERENCE Load(const uint8_t* p)
    {
        return PERSONREFERENCE{LoadRecordU32(p), LoadRecordU32(p + 4), LoadRecordI32(p + 8)};
    }
    void Store(uint8_t* p) const
    {
        StoreRecordU32(p, dwFirst);
        StoreRecordU32(p + 4, dwSecond);
        StoreRecordI32(p + 8, nValue);
    }
};

// A list of nPlaces references kept largest value first: the reference
// goes before the first smaller one and the last drops out. A value of 0
// or less, or one no larger than every place's, changes nothing.
inline bool InsertRecordReference(uint8_t* pList, int nPlaces, const PERSONREFERENCE& reference)
{
    if (reference.nValue <= 0)
        return false;
    int nPlace = 0;
    while (nPlace < nPlaces && LoadRecordI32(pList + nPlace * PERSONREFERENCE::BYTES + 8) >= reference.nValue)
        ++nPlace;
    if (nPlace == nPlaces)
        return false;
    for (int i = nPlaces - 1; i > nPlace; --i)
        PERSONREFERENCE::Load(pList + (i - 1) * PERSONREFERENCE::BYTES).Store(pList + i * PERSONREFERENCE::BYTES);
    reference.Store(pList + nPlace * PERSONREFERENCE::BYTES);
    return true;
}
