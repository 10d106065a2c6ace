#pragma once
// A whole number given on a developer tool's command line, refused unless
// the whole text is a number within [low, high].
#include <cstdlib>

namespace tools {

inline bool ParseNumberArgument(const char* text, int low, int high, int* pOut)
{
    char* pEnd = nullptr;
    const long value = std::strtol(text, &pEnd, 10);
    if (*text == '\0' || *pEnd != '\0' || value < low || value > high)
        return false;
    *pOut = static_cast<int>(value);
    return true;
}

}  // namespace tools
