#pragma once
// Entries of the transfer-list market and the loan market of the handler.
#include <cstdint>

#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;

class CListMarketEntry {
public:
    static constexpr int FILE_SIZE = 12;

    CListMarketEntry() = default;
    CListMarketEntry(uint32_t dwAskingPrice, ID_PLAYER idPlayer, uint16_t wValue, uint8_t byKind)
        : m_dwAskingPrice(dwAskingPrice), m_dwPlayer(idPlayer), m_wValue(wValue), m_byKind(byKind)
    {
    }

    // False (logged) for a short record or one that names no player.
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

    uint32_t GetAskingPrice() const { return m_dwAskingPrice; }
    void SetAskingPrice(uint32_t dw) { m_dwAskingPrice = dw; }
    ID_PLAYER GetPlayerID() const { return m_dwPlayer; }
    uint16_t GetValue() const { return m_wValue; }
    void SetValue(uint16_t w) { m_wValue = w; }
    uint8_t GetKind() const { return m_byKind; }
    void SetKind(uint8_t by) { m_byKind = by; }

private:
    uint32_t m_dwAskingPrice = 0;
    ID_PLAYER m_dwPlayer = 0;
    uint16_t m_wValue = 0;
    uint8_t m_byKind = 0;
};

class CLoanMarketEntry {
public:
    static constexpr int FILE_SIZE = 8;

    CLoanMarketEntry() = default;
    CLoanMarketEntry(ID_PLAYER idPlayer, uint16_t wValue) : m_dwPlayer(idPlayer), m_wValue(wValue) {}

    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

    ID_PLAYER GetPlayerID() const { return m_dwPlayer; }
    uint16_t GetValue() const { return m_wValue; }
    void SetValue(uint16_t w) { m_wValue = w; }

private:
    ID_PLAYER m_dwPlayer = 0;
    uint16_t m_wValue = 0;
};
