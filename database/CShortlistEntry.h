#pragma once
// One player on a human manager's shortlist.
#include <cstdint>

#include "common/CDate.h"
#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;

class CShortlistEntry {
public:
    static constexpr int FILE_SIZE = 12;

    CShortlistEntry() = default;
    explicit CShortlistEntry(ID_PLAYER idPlayer) : m_dwPlayer(idPlayer) {}

    void Set(ID_PLAYER idPlayer, const CDate& date, uint8_t byFlag)
    {
        m_dwPlayer = idPlayer;
        m_Date = date;
        m_byFlag = byFlag;
    }
    void Get(ID_PLAYER& idPlayer, CDate& date, uint8_t& byFlag) const
    {
        idPlayer = m_dwPlayer;
        date = m_Date;
        byFlag = m_byFlag;
    }
    ID_PLAYER GetPlayerID() const { return m_dwPlayer; }

    // False (logged) for a short record, no player or an invalid date.
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

private:
    ID_PLAYER m_dwPlayer = 0;
    CDate m_Date;
    uint8_t m_byFlag = 0;
};
