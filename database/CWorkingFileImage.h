#pragma once
// Working files of the running game held in memory until a saved game or a
// reader needs them on disk. The bytes written are those the file would hold
// had every change gone straight to it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/CXList.h"

// A file held whole: read once when first needed, changed in memory and
// written whole.
class CWorkingFileImage {
public:
    // A zero-filled image of nBytes under the name, written at the next flush,
    // with room for nRoom bytes: growth up to them copies nothing.
    void Reset(const std::string& name, size_t nBytes, size_t nRoom = 0);
    // Reads the file when no image is held. A file (or held image) that is
    // missing or shorter than nBytes gives a zero-filled image of nBytes
    // instead (false, so the caller can say so); a longer one is kept whole.
    bool Open(const std::string& name, size_t nBytes);
    bool IsOpen() const { return m_bOpen; }
    const std::string& GetName() const { return m_name; }
    uint8_t* GetData() { return m_bytes.data(); }
    const uint8_t* GetData() const { return m_bytes.data(); }
    size_t GetSize() const { return m_bytes.size(); }
    // The bytes themselves, for a change of size; the changer marks it.
    std::vector<uint8_t>& GetBytes() { return m_bytes; }
    // Marks the image as changed since the file was last written.
    void MarkChanged() { m_bChanged = true; }
    bool IsChanged() const { return m_bChanged; }
    // Writes the whole image when it changed; false when the file cannot be written.
    bool Flush();
    // Drops the image, changes and all: the next Open reads the file again.
    void Close();

private:
    std::string m_name;
    std::vector<uint8_t> m_bytes;
    bool m_bOpen = false;
    bool m_bChanged = false;
};

// Records waiting to be appended to a file: gathered in memory, appended in
// one write.
class CWorkingFileAppends {
public:
    // Where records are gathered (a CBinaryWriter appends to it).
    std::vector<uint8_t>& GetBytes() { return m_bytes; }
    size_t GetSize() const { return m_bytes.size(); }
    // The file is to exist after the next flush even when nothing was gathered.
    void Touch() { m_bTouched = true; }
    // Appends what was gathered; false, keeping it for the next flush, when
    // the file cannot be opened or written.
    bool Flush(const std::string& name);
    // Forgets what was gathered (the file itself is the caller's).
    void Discard();

private:
    std::vector<uint8_t> m_bytes;
    bool m_bTouched = false;
};

// Appends a counted block to the file in one write: the count, then every
// record of the list as its Save writes it (nRecordBytes each). False when
// the file cannot be opened or written.
template <class T>
bool AppendCountedRecords(const std::string& name, const CXList& records, size_t nRecordBytes)
{
    CWorkingFileAppends block;
    block.Touch();
    block.GetBytes().reserve(4 + static_cast<size_t>(records.GetCount()) * nRecordBytes);
    {
        CBinaryWriter writer(block.GetBytes());
        writer.WriteU32(static_cast<uint32_t>(records.GetCount()));
        for (const T* pEntry : records.Items<T>())
            pEntry->Save(writer);
    }
    return block.Flush(name);
}
