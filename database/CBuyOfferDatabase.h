#pragma once
// One transfer buy offer: its terms, the proposed contract and where the
// negotiation stands.
#include <cstdint>

#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;

// Status flag bits; bits 1-5 are the negotiation stages. Each answer flag
// says an answer was given; the answer itself (0 yes, else the refusals
// counted) is the matching answer value.
enum : uint16_t {
    BUYOFFER_SEEN = 0x01,
    BUYOFFER_ANSWERED = 0x02,              // the selling club has answered
    BUYOFFER_CONTRACT_PROPOSED = 0x04,     // a contract has been put to the player
    BUYOFFER_PLAYER_ANSWERED = 0x08,       // the player has answered that contract
    BUYOFFER_BIDDER_CONFIRMED = 0x10,
    BUYOFFER_SELLER_CONFIRMED = 0x20,
    BUYOFFER_CLUB_RENEGOTIATED = 0x40,     // the club's last word: no more talks
    BUYOFFER_PLAYER_RENEGOTIATED = 0x80,   // the player's last word
    BUYOFFER_PROPOSAL_KEPT = 0x100,
};

class CBuyOfferDatabase {
public:
    static constexpr int FILE_SIZE = 132;
    static constexpr int TERMS = 11;
    static constexpr int CONTRACT_WORDS = 13;
    // Contract words holding the start and end dates (packed dates).
    static constexpr int CONTRACT_START = 2;
    static constexpr int CONTRACT_END = 3;
    static constexpr uint8_t COUNTDOWN_AWAITING_ANSWER = 127;

    // Countdown 0, flags 0, contract dates 1 January 1970 and 1 January 1972.
    CBuyOfferDatabase();

    // False (logged) for a short record or one that names no player.
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

    uint32_t GetTerm(int n) const { return n >= 0 && n < TERMS ? m_adwTerms[n] : 0; }
    void SetTerm(int n, uint32_t dw) { if (n >= 0 && n < TERMS) m_adwTerms[n] = dw; }
    uint32_t GetContractWord(int n) const { return n >= 0 && n < CONTRACT_WORDS ? m_adwContract[n] : 0; }
    void SetContractWord(int n, uint32_t dw) { if (n >= 0 && n < CONTRACT_WORDS) m_adwContract[n] = dw; }
    uint32_t GetOfferID() const { return m_dwOfferID; }
    void SetOfferID(uint32_t dw) { m_dwOfferID = dw; }
    ID_PLAYER GetPlayerID() const { return m_dwPlayer; }
    void SetPlayerID(ID_PLAYER id) { m_dwPlayer = id; }
    uint32_t GetSecondParty() const { return m_dwSecondParty; }
    void SetSecondParty(uint32_t dw) { m_dwSecondParty = dw; }
    uint32_t GetValue100() const { return m_dwValue100; }
    void SetValue100(uint32_t dw) { m_dwValue100 = dw; }
    uint32_t GetValue108() const { return m_dwValue108; }
    // The bidder's own player offered in part exchange (0 none), kept in the
    // value at 108.
    ID_PLAYER GetExchangePlayerID() const { return m_dwValue108; }
    void SetValue108(uint32_t dw) { m_dwValue108 = dw; }
    uint32_t GetValue116() const { return m_dwValue116; }
    void SetValue116(uint32_t dw) { m_dwValue116 = dw; }
    ID_CLUB GetBiddingClubID() const { return m_wBiddingClub; }
    void SetBiddingClubID(ID_CLUB id) { m_wBiddingClub = id; }
    uint16_t GetValue122() const { return m_wValue122; }
    void SetValue122(uint16_t w) { m_wValue122 = w; }
    uint16_t GetDaysWaited() const { return m_wDaysWaited; }
    void SetDaysWaited(uint16_t w) { m_wDaysWaited = w; }
    uint16_t GetFlags() const { return m_wFlags; }
    void SetFlags(uint16_t w) { m_wFlags = w; }
    // The selling club's answer: the first value byte, 0 for yes, else its
    // refusals counted.
    uint8_t GetClubAnswer() const { return m_abyValues[0]; }
    void SetClubAnswer(uint8_t by) { m_abyValues[0] = by; }
    // The player's answer to the contract: 0 for yes, else his refusals
    // counted. Kept in the high byte of the 16-bit value at 122, the second
    // of the offer's two counters, so that it travels with the record.
    uint8_t GetPlayerAnswer() const { return static_cast<uint8_t>(m_wValue122 >> 8); }
    void SetPlayerAnswer(uint8_t by) { m_wValue122 = static_cast<uint16_t>((m_wValue122 & 0xFF) | (by << 8)); }
    // Both sides have said yes: the move waits only for confirmation.
    bool IsAgreed() const
    {
        return (m_wFlags & BUYOFFER_ANSWERED) && (m_wFlags & BUYOFFER_PLAYER_ANSWERED) && GetClubAnswer() == 0 &&
               GetPlayerAnswer() == 0;
    }
    uint8_t GetByte(int n) const { return n >= 0 && n < 3 ? m_abyValues[n] : 0; }
    void SetByte(int n, uint8_t by) { if (n >= 0 && n < 3) m_abyValues[n] = by; }
    uint8_t GetCountdown() const { return m_byCountdown; }
    void SetCountdown(uint8_t by) { m_byCountdown = by; }
    bool IsFinished() const { return m_byFinished != 0; }
    void SetFinished(bool b) { m_byFinished = b ? 1 : 0; }

private:
    uint32_t m_adwTerms[TERMS] = {};
    uint32_t m_adwContract[CONTRACT_WORDS] = {};
    uint32_t m_dwOfferID = 0;
    uint32_t m_dwValue100 = 0;
    ID_PLAYER m_dwPlayer = 0;
    uint32_t m_dwValue108 = 0;
    uint32_t m_dwSecondParty = 0;
    uint32_t m_dwValue116 = 0;
    ID_CLUB m_wBiddingClub = 0;
    uint16_t m_wValue122 = 0;
    uint16_t m_wDaysWaited = 0;
    uint16_t m_wFlags = 0;
    uint8_t m_abyValues[3] = {};
    uint8_t m_byCountdown = 0;
    uint8_t m_byFinished = 0;  // not stored
};
