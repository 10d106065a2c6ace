#pragma once
// The control texts of the current language: for each of the 1175 control
// ids a caption (a TAB splits it into two lines) and a tooltip, either of
// which may be missing. Loaded whole from the language's
// "ControlsScripts\<language>\ControlScript.csc"; a damaged or cut file is
// refused as a whole.
#include "shell/CTextBlock.h"

#include <cstdint>
#include <vector>

struct CONTROLTEXT {
    const char* pszText;
    const char* pszTooltip;
};

class CControlText {
public:
    static constexpr int kEntryCount = 1175;

    // False (and a log line) when the file does not open or does not match its layout.
    bool Load(const char* pszLanguage);
    bool LoadFile(const char* pszPath);
    // Reads the script from an open stream's position to its end.
    bool LoadStream(FILE* pFile);
    void Free();
    bool IsLoaded() const { return !m_Entries.empty(); }

    // Both texts of a control id; null outside the table or before a load.
    const CONTROLTEXT* GetControlText(int nId) const;
    // The caption or tooltip of a control id; null when it has none.
    const char* GetText(int nId) const;
    const char* GetTooltip(int nId) const;

private:
    bool Read(FILE* pFile);

    std::vector<CONTROLTEXT> m_Entries;
    CTextBlock m_Strings;
};
