#pragma once
// One loan offer for a player.
#include <cstdint>

#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;

// Status flag bits, in the 16-bit value at 24. Each answer flag says an
// answer was given; the answer itself (0 yes, else the refusals counted) is
// the matching answer value.
enum : uint16_t {
    LOANOFFER_SEEN = 0x01,
    LOANOFFER_ANSWERED = 0x02,          // the lending club has answered
    LOANOFFER_ACCEPTED = 0x04,          // the lending club lets him go
    LOANOFFER_PLAYER_ANSWERED = 0x08,   // the player has answered
    LOANOFFER_BIDDER_CONFIRMED = 0x10,
    LOANOFFER_SELLER_CONFIRMED = 0x20,
    LOANOFFER_RENEGOTIATED = 0x40,
};

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
    uint16_t GetFlags() const { return m_awHalves[1]; }
    void SetFlags(uint16_t w) { m_awHalves[1] = w; }
    // The lending club's answer (the byte at 32): 0 yes, else its refusals.
    uint8_t GetClubAnswer() const { return m_abyBytes[2]; }
    void SetClubAnswer(uint8_t by) { m_abyBytes[2] = by; }
    // The player's answer (the 32-bit value at 16): 0 yes, else his refusals.
    uint32_t GetPlayerAnswer() const { return m_adwWords[2]; }
    void SetPlayerAnswer(uint32_t dw) { m_adwWords[2] = dw; }
    // Club and player have both said yes: the loan waits only for
    // confirmation.
    bool IsAgreed() const
    {
        return (GetFlags() & LOANOFFER_ANSWERED) && (GetFlags() & LOANOFFER_ACCEPTED) &&
               (GetFlags() & LOANOFFER_PLAYER_ANSWERED) && GetClubAnswer() == 0 && GetPlayerAnswer() == 0;
    }
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
