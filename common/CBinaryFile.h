#pragma once
// Little-endian field-by-field access to the game's binary files. Every read
// reports a short read; once a read has failed the reader stays failed, so a
// loader may read a whole record and test Failed() once at its end.
#include <cstdint>
#include <cstdio>
#include <cstddef>

class CBinaryReader {
public:
    // Reads from the current position of an open stream to its end.
    explicit CBinaryReader(FILE* pFile);

    bool ReadU8(uint8_t& v);
    bool ReadI8(int8_t& v);
    bool ReadU16(uint16_t& v);
    bool ReadI16(int16_t& v);
    bool ReadU32(uint32_t& v);
    bool ReadI32(int32_t& v);
    bool ReadFloat(float& v);
    bool ReadBytes(void* pDest, size_t nBytes);
    bool Skip(size_t nBytes);

    bool Failed() const { return m_bFailed; }
    // Marks the stream as failed, for a value that was read but is out of range.
    void Fail() { m_bFailed = true; }
    // Bytes between the current position and the end of the stream.
    int64_t Remaining() const { return m_nRemaining; }
    // True when nCount records of at least nMinBytesEach bytes can still follow;
    // otherwise the reader fails. Guards every count read from a file.
    bool CheckCount(uint64_t nCount, uint64_t nMinBytesEach);
    FILE* GetFile() const { return m_pFile; }

private:
    FILE* m_pFile;
    int64_t m_nRemaining = 0;
    bool m_bFailed = false;
};

class CBinaryWriter {
public:
    explicit CBinaryWriter(FILE* pFile) : m_pFile(pFile) {}

    bool WriteU8(uint8_t v);
    bool WriteI8(int8_t v) { return WriteU8(static_cast<uint8_t>(v)); }
    bool WriteU16(uint16_t v);
    bool WriteI16(int16_t v) { return WriteU16(static_cast<uint16_t>(v)); }
    bool WriteU32(uint32_t v);
    bool WriteI32(int32_t v) { return WriteU32(static_cast<uint32_t>(v)); }
    bool WriteFloat(float v);
    bool WriteBytes(const void* pSource, size_t nBytes);
    bool WriteZeros(size_t nBytes);

    bool Failed() const { return m_bFailed; }
    FILE* GetFile() const { return m_pFile; }

private:
    FILE* m_pFile;
    bool m_bFailed = false;
};
