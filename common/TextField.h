#pragma once
// Fixed-size text fields of the file records: the text, cut to leave room for
// its terminator, then zeros to the end of the field, so that saving the same
// name twice always gives the same bytes.
#include <cstddef>
#include <cstring>

inline void CopyTextField(char* pField, size_t nField, const char* pszText)
{
    if (nField == 0)
        return;
    std::memset(pField, 0, nField);
    if (pszText)
        std::memcpy(pField, pszText, strnlen(pszText, nField - 1));
}
