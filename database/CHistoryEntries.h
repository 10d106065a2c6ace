#pragma once
// The transfer and loan history entries that a division keeps and writes to
// its history files.
#include <cstdint>

#include "common/CDate.h"

class CBinaryReader;
class CBinaryWriter;

struct TRANSFERHISTORYVALUES {
    uint32_t dwValue0 = 0;
    uint32_t dwValue1 = 0;
    uint16_t wValue0 = 0;
    uint16_t wValue1 = 0;
    CDate date;
    uint8_t byValue = 0;
};

class CTransferHistoryEntry {
public:
    static constexpr int FILE_SIZE = 20;

    void Set(const TRANSFERHISTORYVALUES& values) { m_Values = values; }
    const TRANSFERHISTORYVALUES& Get() const { return m_Values; }

    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

private:
    TRANSFERHISTORYVALUES m_Values;
};

struct LOANHISTORYVALUES {
    uint32_t dwValue = 0;
    uint16_t awValues[4] = {};
    uint8_t abyValues[2] = {};
};

class CLoanHistoryEntry {
public:
    static constexpr int FILE_SIZE = 16;

    void Set(const LOANHISTORYVALUES& values) { m_Values = values; }
    const LOANHISTORYVALUES& Get() const { return m_Values; }

    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

private:
    LOANHISTORYVALUES m_Values;
};
