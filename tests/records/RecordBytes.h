#pragma once
// Test helpers: a record's bytes as its Save writes them, and a stream that
// holds given bytes for its Load.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/CBinaryFile.h"

inline std::vector<uint8_t> ReadAll(FILE* pFile)
{
    std::vector<uint8_t> bytes;
    std::rewind(pFile);
    int c;
    while ((c = std::fgetc(pFile)) != EOF)
        bytes.push_back(static_cast<uint8_t>(c));
    return bytes;
}

template <class T>
std::vector<uint8_t> SaveBytes(const T& record)
{
    FILE* pFile = std::tmpfile();
    CBinaryWriter writer(pFile);
    const bool bSaved = record.Save(writer);
    std::vector<uint8_t> bytes = ReadAll(pFile);
    std::fclose(pFile);
    if (!bSaved)
        bytes.clear();
    return bytes;
}

// An open stream positioned at the start of the bytes; the caller closes it.
inline FILE* OpenBytes(const std::vector<uint8_t>& bytes)
{
    FILE* pFile = std::tmpfile();
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), pFile);
    std::rewind(pFile);
    return pFile;
}

// Loads a record from the bytes with the given call; true when it loaded.
template <class T, class Loader>
bool LoadBytes(T& record, const std::vector<uint8_t>& bytes, Loader load)
{
    FILE* pFile = OpenBytes(bytes);
    CBinaryReader reader(pFile);
    const bool bLoaded = load(record, reader);
    std::fclose(pFile);
    return bLoaded;
}

inline void PutU32(std::vector<uint8_t>& bytes, size_t nOffset, uint32_t dw)
{
    for (int i = 0; i < 4; ++i)
        bytes[nOffset + static_cast<size_t>(i)] = static_cast<uint8_t>(dw >> (8 * i));
}
