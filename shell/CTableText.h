#pragma once
// The table texts of the current language: 231 numbered sets of numbered
// strings (country names, message-box texts, progress messages, cup rounds
// and the rest). Loaded whole from the language's
// "TableTextScript\<language>\TableTextScript.ttc"; a damaged or cut file is
// refused as a whole, and every look-up outside the tables answers null.
#include "shell/CTextBlock.h"

#include <vector>

class CTableText {
public:
    static constexpr int kSetCount = 231;

    // False (and a log line) when the file does not open or does not match its layout.
    bool Load(const char* pszLanguage);
    bool LoadFile(const char* pszPath);
    // Reads the script from an open stream's position to its end.
    bool LoadStream(FILE* pFile);
    void Free();
    bool IsLoaded() const { return !m_Sets.empty(); }

    // The items of a set, followed by a null; null outside 0..230. A missing
    // item inside a set is a null pointer too, so pnCount gives the length.
    const char* const* GetTableTextSet(int nSet, int* pnCount = nullptr) const;
    // Null for an item outside the set or without text.
    const char* GetTableText(int nSet, int nItem) const;

    // Makes this table the one the game's global accessors read (until it is
    // freed or another one is installed).
    void Install();

private:
    bool Read(FILE* pFile);

    std::vector<std::vector<const char*>> m_Sets;
    CTextBlock m_Strings;
};

// The global accessors over the installed table.
const char* GetTableText(int nSet, int nItem);
// The same, with "" for an item the table lacks.
const char* GetTableTextOrEmpty(int nSet, int nItem);
// The name given to a new training plan.
const char* GetDefaultPlanName();
