#pragma once
// The text descriptions of the current language: numbered runs of positioned
// texts and alignment commands that the description drawing paints. Loaded
// whole from "TextDescriptionScript\<language>\TextDescriptionScript.tdc";
// a damaged or cut file is refused as a whole, and every run is known to
// end inside the table before it is handed out.
#include "common/ShellServices.h"
#include "shell/CTextBlock.h"

#include <vector>

class CTextDescription {
public:
    // False (and a log line) when the file does not open or does not match its layout.
    bool Load(const char* pszLanguage);
    bool LoadFile(const char* pszPath);
    // Reads the script from an open stream's position to its end.
    bool LoadStream(FILE* pFile);
    void Free();
    bool IsLoaded() const { return m_bLoaded; }

    int GetCount() const { return static_cast<int>(m_Index.size()); }
    // The first record of a description's run (ended by x = -1); null for an
    // index outside the table or one without a description.
    const TEXTDESCRIPTIONRECORD* GetTextDescription(int nIndex) const;

    // Makes this table the one the game's global accessor reads.
    void Install();

private:
    static constexpr uint32_t kNone = 0xFFFFFFFF;
    bool Read(FILE* pFile);

    std::vector<TEXTDESCRIPTIONRECORD> m_Records;
    std::vector<uint32_t> m_Index;  // record number of each description, or kNone
    CTextBlock m_Strings;
    bool m_bLoaded = false;
};
