#pragma once
// Little-endian field-by-field access to the game's binary files. Every read
// reports a short read; once a read has failed the reader stays failed, so a
// loader may read a whole record and test Failed() once at its end.
//
// Both work on an open stream or on memory: a reader over a byte span reads
// with the same checks, and a writer into a byte vector appends to it, so a
// file can be read in one piece and parsed, or built whole and written once.
#include <cstdint>
#include <cstdio>
#include <cstddef>
#include <vector>

class CBinaryReader {
public:
    // Reads from the current position of an open stream to its end.
    explicit CBinaryReader(FILE* pFile);
    // Reads nBytes of memory from pData, which must outlive the reader.
    CBinaryReader(const uint8_t* pData, size_t nBytes);
    explicit CBinaryReader(const std::vector<uint8_t>& bytes) : CBinaryReader(bytes.data(), bytes.size()) {}

    bool ReadU8(uint8_t& v)
    {
        const uint8_t* p = TakeFromMemory(1);
        if (!p)
            return ReadU8Slowly(v);
        v = p[0];
        return true;
    }
    bool ReadI8(int8_t& v)
    {
        uint8_t u;
        const bool ok = ReadU8(u);
        v = static_cast<int8_t>(u);
        return ok;
    }
    bool ReadU16(uint16_t& v)
    {
        const uint8_t* p = TakeFromMemory(2);
        if (!p)
            return ReadU16Slowly(v);
        v = static_cast<uint16_t>(p[0] | (p[1] << 8));
        return true;
    }
    bool ReadI16(int16_t& v)
    {
        uint16_t u;
        const bool ok = ReadU16(u);
        v = static_cast<int16_t>(u);
        return ok;
    }
    bool ReadU32(uint32_t& v)
    {
        const uint8_t* p = TakeFromMemory(4);
        if (!p)
            return ReadU32Slowly(v);
        v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
            (static_cast<uint32_t>(p[3]) << 24);
        return true;
    }
    bool ReadI32(int32_t& v)
    {
        uint32_t u;
        const bool ok = ReadU32(u);
        v = static_cast<int32_t>(u);
        return ok;
    }
    bool ReadFloat(float& v);
    bool ReadBytes(void* pDest, size_t nBytes);
    bool Skip(size_t nBytes);
    // Copies nBytes found nOffset bytes ahead without moving on; fails the
    // reader when they lie beyond the end.
    bool Peek(size_t nOffset, void* pDest, size_t nBytes);

    bool Failed() const { return m_bFailed; }
    // Marks the stream as failed, for a value that was read but is out of range.
    void Fail() { m_bFailed = true; }
    // Bytes between the current position and the end of the stream.
    int64_t Remaining() const { return m_bMemory ? m_pEnd - m_pCursor : m_nRemaining; }
    // Bytes read or skipped since the reader was made.
    int64_t Consumed() const { return m_bMemory ? m_pCursor - m_pData : m_nConsumed; }
    // True when nCount records of at least nMinBytesEach bytes can still follow;
    // otherwise the reader fails. Guards every count read from a file.
    bool CheckCount(uint64_t nCount, uint64_t nMinBytesEach);
    // The stream read, or null for a reader over memory.
    FILE* GetFile() const { return m_pFile; }

private:
    // The next nBytes of a reader over memory, moved past; null for a
    // stream, a failed reader or too few bytes (the slow reads then decide).
    const uint8_t* TakeFromMemory(size_t nBytes)
    {
        if (m_bFailed || static_cast<size_t>(m_pEnd - m_pCursor) < nBytes)
            return nullptr;
        const uint8_t* p = m_pCursor;
        m_pCursor += nBytes;
        return p;
    }
    bool ReadU8Slowly(uint8_t& v);
    bool ReadU16Slowly(uint16_t& v);
    bool ReadU32Slowly(uint32_t& v);

    FILE* m_pFile = nullptr;
    // Over memory: the span and the next byte (a stream leaves all three null).
    const uint8_t* m_pData = nullptr;
    const uint8_t* m_pCursor = nullptr;
    const uint8_t* m_pEnd = nullptr;
    // Over a stream.
    int64_t m_nRemaining = 0;
    int64_t m_nConsumed = 0;
    bool m_bMemory = false;
    bool m_bFailed = false;
};

class CBinaryWriter {
public:
    explicit CBinaryWriter(FILE* pFile) : m_pFile(pFile) {}
    // Appends to the vector, which must outlive the writer; every write is
    // in the vector at once.
    explicit CBinaryWriter(std::vector<uint8_t>& bytes) : m_pBytes(&bytes) {}
    // Appends to the vector through a block of the writer's own, for a
    // whole file built from many small fields: the vector holds what was
    // written only after Flush() or the writer's end.
    enum class Staged { Yes };
    CBinaryWriter(std::vector<uint8_t>& bytes, Staged);
    ~CBinaryWriter() { Flush(); }
    CBinaryWriter(const CBinaryWriter&) = delete;
    CBinaryWriter& operator=(const CBinaryWriter&) = delete;

    bool WriteU8(uint8_t v) { return WriteSmall<1>(v); }
    bool WriteI8(int8_t v) { return WriteU8(static_cast<uint8_t>(v)); }
    bool WriteU16(uint16_t v) { return WriteSmall<2>(v); }
    bool WriteI16(int16_t v) { return WriteU16(static_cast<uint16_t>(v)); }
    bool WriteU32(uint32_t v) { return WriteSmall<4>(v); }
    bool WriteI32(int32_t v) { return WriteU32(static_cast<uint32_t>(v)); }
    bool WriteFloat(float v);
    bool WriteBytes(const void* pSource, size_t nBytes);
    bool WriteZeros(size_t nBytes);

    // Moves the staged bytes into the vector (nothing to do otherwise).
    void Flush();

    bool Failed() const { return m_bFailed; }
    // The stream written, or null for a writer into memory.
    FILE* GetFile() const { return m_pFile; }

private:
    // The low N bytes of v, least significant first: into the staging
    // block while it has room or onto the end of an unstaged vector, else
    // through WriteBytes.
    // The staged case is written in place at every call (a file of many
    // small fields makes millions of them); the others go out of line.
    template <size_t N>
    [[gnu::always_inline]] bool WriteSmall(uint32_t v)
    {
        if (static_cast<size_t>(m_pStageEnd - m_pStageCursor) >= N) {
            for (size_t i = 0; i < N; ++i)
                m_pStageCursor[i] = static_cast<uint8_t>(v >> (8 * i));
            m_pStageCursor += N;
            return true;
        }
        return WriteSmallUnstaged<N>(v);
    }
    template <size_t N>
    [[gnu::noinline]] bool WriteSmallUnstaged(uint32_t v)
    {
        uint8_t aby[N];
        for (size_t i = 0; i < N; ++i)
            aby[i] = static_cast<uint8_t>(v >> (8 * i));
        // A writer straight into a vector (the match records are written
        // field by field) appends the few bytes where they go.
        if (m_pBytes && m_stage.empty() && !m_bFailed) {
            for (size_t i = 0; i < N; ++i)
                m_pBytes->push_back(aby[i]);
            return true;
        }
        return WriteBytes(aby, N);
    }

    FILE* m_pFile = nullptr;
    std::vector<uint8_t>* m_pBytes = nullptr;
    // The staging block of a staged writer (all null otherwise).
    std::vector<uint8_t> m_stage;
    uint8_t* m_pStageCursor = nullptr;
    uint8_t* m_pStageEnd = nullptr;
    bool m_bFailed = false;
};
