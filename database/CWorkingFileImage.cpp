#include "database/CWorkingFileImage.h"

#include <cstdio>

#include "platform/Files.h"
#include "platform/SafeFile.h"

void CWorkingFileImage::Reset(const std::string& name, size_t nBytes, size_t nRoom)
{
    m_name = name;
    m_bytes.clear();
    m_bytes.reserve(nRoom);
    m_bytes.assign(nBytes, 0);
    m_bOpen = true;
    m_bChanged = true;
}

bool CWorkingFileImage::Open(const std::string& name, size_t nBytes)
{
    if (m_bOpen && m_name == name) {
        if (m_bytes.size() >= nBytes)
            return true;
    }
    else {
        m_name = name;
        m_bOpen = true;
        m_bChanged = false;
        if (plat::readWholeFile(name, m_bytes) && m_bytes.size() >= nBytes)
            return true;
    }
    m_bytes.assign(nBytes, 0);
    m_bChanged = true;
    return false;
}

bool CWorkingFileImage::Flush()
{
    if (!m_bOpen || !m_bChanged)
        return true;
    // Replaced only once the new file is whole.
    if (!plat::writeWholeFile(m_name, m_bytes.data(), m_bytes.size()))
        return false;
    m_bChanged = false;
    return true;
}

void CWorkingFileImage::Close()
{
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_bOpen = false;
    m_bChanged = false;
}

bool CWorkingFileAppends::Flush(const std::string& name)
{
    if (!m_bTouched && m_bytes.empty())
        return true;
    FILE* pFile = plat::openFile(name, "ab");
    if (!pFile)
        return false;
    // A file only touched is opened and closed: an empty vector has no data
    // to hand to the write.
    bool bWritten = m_bytes.empty() || std::fwrite(m_bytes.data(), 1, m_bytes.size(), pFile) == m_bytes.size();
    if (std::fclose(pFile) != 0)
        bWritten = false;
    if (bWritten)
        Discard();
    return bWritten;
}

void CWorkingFileAppends::Discard()
{
    m_bytes.clear();
    m_bTouched = false;
}
