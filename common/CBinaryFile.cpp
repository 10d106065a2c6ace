#include "common/CBinaryFile.h"

#include <cstring>

CBinaryReader::CBinaryReader(FILE* pFile) : m_pFile(pFile)
{
    if (!m_pFile) {
        m_bFailed = true;
        return;
    }
    const long nHere = std::ftell(m_pFile);
    if (nHere < 0 || std::fseek(m_pFile, 0, SEEK_END) != 0) {
        m_bFailed = true;
        return;
    }
    const long nEnd = std::ftell(m_pFile);
    std::fseek(m_pFile, nHere, SEEK_SET);
    m_nRemaining = nEnd > nHere ? nEnd - nHere : 0;
}

CBinaryReader::CBinaryReader(const uint8_t* pData, size_t nBytes)
    : m_pData(pData), m_pCursor(pData), m_pEnd(pData ? pData + nBytes : pData), m_bMemory(true)
{
    if (!m_pData && nBytes != 0)
        m_bFailed = true;
}

bool CBinaryReader::ReadBytes(void* pDest, size_t nBytes)
{
    if (m_bFailed || static_cast<int64_t>(nBytes) > Remaining()) {
        m_bFailed = true;
        std::memset(pDest, 0, nBytes);
        return false;
    }
    if (m_bMemory) {
        if (nBytes)
            std::memcpy(pDest, m_pCursor, nBytes);
        m_pCursor += nBytes;
        return true;
    }
    if (nBytes && (!m_pFile || std::fread(pDest, 1, nBytes, m_pFile) != nBytes)) {
        m_bFailed = true;
        std::memset(pDest, 0, nBytes);
        return false;
    }
    m_nRemaining -= static_cast<int64_t>(nBytes);
    m_nConsumed += static_cast<int64_t>(nBytes);
    return true;
}

bool CBinaryReader::Skip(size_t nBytes)
{
    if (m_bFailed || static_cast<int64_t>(nBytes) > Remaining() ||
        (!m_bMemory && (!m_pFile || std::fseek(m_pFile, static_cast<long>(nBytes), SEEK_CUR) != 0))) {
        m_bFailed = true;
        return false;
    }
    if (m_bMemory) {
        m_pCursor += nBytes;
        return true;
    }
    m_nRemaining -= static_cast<int64_t>(nBytes);
    m_nConsumed += static_cast<int64_t>(nBytes);
    return true;
}

bool CBinaryReader::Peek(size_t nOffset, void* pDest, size_t nBytes)
{
    if (m_bFailed || static_cast<uint64_t>(Remaining()) < static_cast<uint64_t>(nOffset) + nBytes) {
        m_bFailed = true;
        return false;
    }
    if (m_bMemory) {
        std::memcpy(pDest, m_pCursor + nOffset, nBytes);
        return true;
    }
    const long nHere = std::ftell(m_pFile);
    const bool bRead = nHere >= 0 && std::fseek(m_pFile, static_cast<long>(nOffset), SEEK_CUR) == 0 &&
                       std::fread(pDest, 1, nBytes, m_pFile) == nBytes;
    if (nHere < 0 || std::fseek(m_pFile, nHere, SEEK_SET) != 0 || !bRead) {
        m_bFailed = true;
        return false;
    }
    return true;
}

bool CBinaryReader::ReadU8Slowly(uint8_t& v) { return ReadBytes(&v, 1); }

bool CBinaryReader::ReadU16Slowly(uint16_t& v)
{
    uint8_t b[2];
    const bool ok = ReadBytes(b, 2);
    v = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return ok;
}

bool CBinaryReader::ReadU32Slowly(uint32_t& v)
{
    uint8_t b[4];
    const bool ok = ReadBytes(b, 4);
    v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
        (static_cast<uint32_t>(b[3]) << 24);
    return ok;
}

bool CBinaryReader::ReadFloat(float& v)
{
    uint32_t u;
    const bool ok = ReadU32(u);
    std::memcpy(&v, &u, sizeof v);
    return ok;
}

bool CBinaryReader::CheckCount(uint64_t nCount, uint64_t nMinBytesEach)
{
    if (m_bFailed || nCount * nMinBytesEach > static_cast<uint64_t>(Remaining())) {
        m_bFailed = true;
        return false;
    }
    return true;
}

namespace {
constexpr size_t kStageBytes = 64 * 1024;
}

CBinaryWriter::CBinaryWriter(std::vector<uint8_t>& bytes, Staged) : m_pBytes(&bytes), m_stage(kStageBytes)
{
    m_pStageCursor = m_stage.data();
    m_pStageEnd = m_stage.data() + m_stage.size();
}

void CBinaryWriter::Flush()
{
    if (m_stage.empty() || m_pStageCursor == m_stage.data())
        return;
    m_pBytes->insert(m_pBytes->end(), m_stage.data(), m_pStageCursor);
    m_pStageCursor = m_stage.data();
}

bool CBinaryWriter::WriteBytes(const void* pSource, size_t nBytes)
{
    if (m_bFailed)
        return false;
    if (nBytes == 0)
        return true;
    if (m_pBytes) {
        const auto* pBytes = static_cast<const uint8_t*>(pSource);
        if (!m_stage.empty()) {
            if (static_cast<size_t>(m_pStageEnd - m_pStageCursor) < nBytes)
                Flush();
            if (nBytes <= m_stage.size()) {
                std::memcpy(m_pStageCursor, pBytes, nBytes);
                m_pStageCursor += nBytes;
                return true;
            }
        }
        m_pBytes->insert(m_pBytes->end(), pBytes, pBytes + nBytes);
        return true;
    }
    if (!m_pFile || (nBytes && std::fwrite(pSource, 1, nBytes, m_pFile) != nBytes)) {
        m_bFailed = true;
        return false;
    }
    return true;
}

bool CBinaryWriter::WriteFloat(float v)
{
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return WriteU32(u);
}

bool CBinaryWriter::WriteZeros(size_t nBytes)
{
    if (m_pBytes && !m_bFailed) {
        if (!m_stage.empty() && static_cast<size_t>(m_pStageEnd - m_pStageCursor) >= nBytes) {
            std::memset(m_pStageCursor, 0, nBytes);
            m_pStageCursor += nBytes;
            return true;
        }
        Flush();
        m_pBytes->resize(m_pBytes->size() + nBytes, 0);
        return true;
    }
    static const uint8_t kZeros[256] = {};
    while (nBytes > 0) {
        const size_t n = nBytes < sizeof kZeros ? nBytes : sizeof kZeros;
        if (!WriteBytes(kZeros, n))
            return false;
        nBytes -= n;
    }
    return true;
}
