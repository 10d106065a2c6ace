#pragma once
// The string block of a compiled text script: NUL-terminated strings behind a
// pad byte, addressed by byte offsets, where offset 0 means "no text". The
// block is checked once when read (it must end with a NUL), so every offset
// below its size then names a whole string.
#include "common/CBinaryFile.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

class CTextBlock {
public:
    // Reads nSize bytes; false when they are not there or do not end a string.
    bool Read(CBinaryReader& reader, uint32_t nSize);
    void Free() { m_Bytes.clear(); }
    bool IsValidOffset(uint32_t dwOffset) const { return dwOffset < m_Bytes.size(); }
    // The string at a checked offset; null for offset 0.
    const char* At(uint32_t dwOffset) const { return dwOffset ? m_Bytes.data() + dwOffset : nullptr; }

private:
    std::vector<char> m_Bytes;
};

// Opens a compiled text script (the path's %s is the language name), hands
// the stream to the reader and closes it. False (and a log line) when the
// file does not open or the reader refuses it.
bool ReadTextScript(const char* pszPathFormat, const char* pszLanguage, const char* pszWho,
                    const std::function<bool(FILE*)>& read);
