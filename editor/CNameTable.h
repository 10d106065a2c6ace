#pragma once
// One of the editor's two name tables: the names of a dictionary as separate
// copies in ascending byte order, which grows when a person is given a name
// the dictionary lacks. Records point at the table's copies while the editor
// runs; saving turns the table back into a dictionary file and gives every
// record the byte offset of its name in that file.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class CDatabaseHandler;
class CEditorProgress;
class CNameDictionary;

class CNameTable {
public:
    enum : int { KIND_LAST = 0, KIND_FIRST = 1 };

    explicit CNameTable(int nKind) : m_nKind(nKind) {}
    int GetKind() const { return m_nKind; }

    // Copies of the dictionary's names in its order; false (table empty) when
    // the dictionary is not in strictly ascending byte order. The passes
    // below and this one move the progress's name bar when one is given.
    bool LoadFromDictionary(const CNameDictionary& dictionary, CEditorProgress* pProgress = nullptr);
    void Free();

    int GetCount() const { return static_cast<int>(m_Names.size()); }
    // Bytes of all names with their terminators: the size of the saved block.
    uint32_t GetTotalSize() const { return m_nTotalSize; }
    const char* GetName(int nIndex) const;

    // The table's copy of the name, or null.
    const char* Find(const char* pszName) const;
    // The table's copy of the name, inserted in sorted place when new. False
    // for a name a dictionary cannot hold (empty or too long).
    bool FindOrInsert(const char* pszName, const char** ppName);

    // Points every person's name of this kind at the table's copy of it; a
    // name the table lacks is added, so that no record is left dangling.
    void RelinkRecords(CDatabaseHandler& handler, CEditorProgress* pProgress = nullptr);
    // Gives every person the offset of his name of this kind in the block the
    // table saves as.
    void ComputeNameOffsets(CDatabaseHandler& handler, CEditorProgress* pProgress = nullptr) const;
    // The offset of a name in that block; false when the table lacks it.
    bool GetOffset(const char* pszName, uint32_t& dwOffset) const;

    // Writes the table as a dictionary file into an open file.
    bool Write(FILE* pFile) const;

private:
    int IndexOf(const char* pszName, bool& bFound) const;

    int m_nKind;
    // Owned copies, so that a record's pointer survives insertions.
    std::vector<std::unique_ptr<std::string>> m_Names;
    uint32_t m_nTotalSize = 0;
};
