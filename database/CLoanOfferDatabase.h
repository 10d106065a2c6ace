#pragma once
// One loan offer for a player.
#include <cstdint>

#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;

class CLoanOfferDatabase {
public:
    static constexpr int FILE_SIZE = 36;

    CLoanOfferDatabase() = default;

    // False (logged) for a short record or one that names no player.
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

    uint32_t GetOfferID() const { return m_dwOfferID; }
    void SetOfferID(uint32_t dw) { m_dwOfferID = dw; }
    ID_PLAYER GetPlayerID() const { return m_dwPlayer; }
    void SetPlayerID(ID_PLAYER id) { m_dwPlayer = id; }
    ID_CLUB GetClubID() const { return m_wClub; }
    void SetClubID(ID_CLUB id) { m_wClub = id; }
    uint8_t GetKind() const { return m_byKind; }
    void SetKind(uint8_t by) { m_byKind = by; }
    // The unnamed values in file order: words at 4, 12, 16; halves at 20, 24,
    // 26; bytes at 29, 30, 32.
    uint32_t GetWord(int n) const { return n >= 0 && n < 3 ? m_adwWords[n] : 0; }
    void SetWord(int n, uint32_t dw) { if (n >= 0 && n < 3) m_adwWords[n] = dw; }
    uint16_t GetHalf(int n) const { return n >= 0 && n < 3 ? m_awHalves[n] : 0; }
    void SetHalf(int n, uint16_t w) { if (n >= 0 && n < 3) m_awHalves[n] = w; }
    uint8_t GetByte(int n) const { return n >= 0 && n < 3 ? m_abyBytes[n] : 0; }
    void SetByte(int n, uint8_t by) { if (n >= 0 && n < 3) m_abyBytes[n] = by; }

private:
    uint32_t m_dwOfferID = 0;
    ID_PLAYER m_dwPlayer = 0;
    uint32_t m_adwWords[3] = {};
    uint16_t m_awHalves[3] = {};
    ID_CLUB m_wClub = 0;
    uint8_t m_byKind = 0;
    uint8_t m_abyBytes[3] = {};
};
