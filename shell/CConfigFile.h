#pragma once
// A small text file of key=value lines, read into a list in file order and
// looked up with a default. Keys are case-sensitive; nothing is trimmed; the
// first '=' ends the key.
#include "common/CXList.h"

struct CONFIGENTRY {
    char* pszKey;
    char* pszValue;
};

class CConfigFile {
public:
    explicit CConfigFile(const char* pszFileName);
    ~CConfigFile();
    CConfigFile(const CConfigFile&) = delete;
    CConfigFile& operator=(const CConfigFile&) = delete;

    void AddEntry(const char* pszKey, const char* pszValue);
    CONFIGENTRY* Find(const char* pszKey) const;
    // The value of the first entry with the key, else the default. The text
    // lives as long as this object.
    const char* GetValue(const char* pszKey, const char* pszDefault) const;
    int GetCount() const { return m_List.GetCount(); }

private:
    CXList m_List;
};
