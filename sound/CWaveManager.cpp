#include "sound/CWaveManager.h"

#include "shell/CFileManager.h"

#include "common/DebugLog.h"
#include "platform/Files.h"

#include <cstring>
#include <memory>

namespace {

// Larger wave files are refused rather than read whole into memory.
constexpr long kMaxWaveBytes = 64L * 1024 * 1024;
constexpr uint32_t kMinFormatBytes = 16;

uint16_t ReadLE16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadLE32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool ReadArchiveMember(CFileManager* pArchive, const char* pszName, std::vector<uint8_t>& image)
{
    long nSize = 0;
    bool bFound = false;
    FILE* pFile = pArchive->Get(pszName, &nSize, &bFound);
    if (!bFound || !pFile || nSize <= 0 || nSize > kMaxWaveBytes)
        return false;
    image.resize(static_cast<size_t>(nSize));
    return std::fread(image.data(), 1, image.size(), pFile) == image.size();
}

bool ReadLooseFile(const char* pszName, std::vector<uint8_t>& image)
{
    const int64_t nSize = plat::fileSize(pszName);
    if (nSize <= 0 || nSize > kMaxWaveBytes)
        return false;
    return plat::readWholeFile(pszName, image);
}

int FormatClass(const WAVEFORMAT& format)
{
    const bool bMono = format.nChannels <= 1;
    const bool b44k = format.nSamplesPerSec == 44100;
    return bMono ? (b44k ? 0 : 1) : (b44k ? 2 : 3);
}

}  // namespace

WAVEFORMAT WAVEENTRY::GetFormat() const
{
    WAVEFORMAT format;
    if (!pFormat)
        return format;
    format.wFormatTag = ReadLE16(pFormat);
    format.nChannels = ReadLE16(pFormat + 2);
    format.nSamplesPerSec = ReadLE32(pFormat + 4);
    format.nAvgBytesPerSec = ReadLE32(pFormat + 8);
    format.nBlockAlign = ReadLE16(pFormat + 12);
    format.wBitsPerSample = ReadLE16(pFormat + 14);
    return format;
}

CWaveManager::CWaveManager(uint32_t dwCapacity) : CSoundList(dwCapacity) {}

CWaveManager::~CWaveManager()
{
    for (uint32_t i = 0; i < m_dwCount; ++i)
        delete static_cast<WAVEENTRY*>(m_Items.GetAt(static_cast<int>(i)));
    m_dwCount = 0;
}

bool CWaveManager::ParseWaveChunks(const uint8_t* pImage, size_t nImageSize, const uint8_t** ppFormat,
                                   const uint8_t** ppData, uint32_t* pdwDataLength)
{
    if (ppFormat)
        *ppFormat = nullptr;
    if (ppData)
        *ppData = nullptr;
    if (pdwDataLength)
        *pdwDataLength = 0;
    if (!pImage || nImageSize < 12 || std::memcmp(pImage, "RIFF", 4) != 0 || std::memcmp(pImage + 8, "WAVE", 4) != 0)
        return false;
    // The image ends at the RIFF size; a size past the bytes there are is a
    // cut or damaged file.
    const uint64_t qwRiffEnd = 8ull + ReadLE32(pImage + 4);
    if (qwRiffEnd > nImageSize)
        return false;
    const size_t nEnd = static_cast<size_t>(qwRiffEnd);
    bool bFormatFound = false;
    bool bDataFound = false;
    size_t nPos = 12;
    while (nPos < nEnd) {
        // A chunk header must lie whole inside the image.
        if (nEnd - nPos < 8)
            return false;
        const uint8_t* pChunk = pImage + nPos;
        const uint32_t dwLength = ReadLE32(pChunk + 4);
        const size_t nBody = nPos + 8;
        const size_t nAvailable = nEnd - nBody;
        if (std::memcmp(pChunk, "fmt ", 4) == 0 && ppFormat && !bFormatFound) {
            if (dwLength < kMinFormatBytes || dwLength > nAvailable)
                return false;
            *ppFormat = pImage + nBody;
            bFormatFound = true;
            if (bDataFound || (!ppData && !pdwDataLength))
                return true;
        } else if (std::memcmp(pChunk, "data", 4) == 0 && (ppData || pdwDataLength) && !bDataFound) {
            if (dwLength > nAvailable)
                return false;
            if (ppData)
                *ppData = pImage + nBody;
            if (pdwDataLength)
                *pdwDataLength = dwLength;
            bDataFound = true;
            if (bFormatFound || !ppFormat)
                return true;
        }
        const uint64_t qwNext = static_cast<uint64_t>(nBody) + dwLength + (dwLength & 1u);
        if (qwNext >= nEnd)
            return false;
        nPos = static_cast<size_t>(qwNext);
    }
    return false;
}

uint16_t CWaveManager::Load(CFileManager* pArchive, const char* pszName, uint8_t* pbChannels,
                            uint32_t* pdwSampleRate)
{
    // Indexes are 16-bit and 9999 is the failure mark: the store stays below it.
    const uint32_t dwIndex = m_dwCount;
    auto pEntry = std::make_unique<WAVEENTRY>();
    bool bRead = false;
    if (pszName && dwIndex < WAVE_LOAD_FAILED)
        bRead = pArchive ? ReadArchiveMember(pArchive, pszName, pEntry->Image) : ReadLooseFile(pszName, pEntry->Image);
    if (!bRead || !ParseWaveChunks(pEntry->Image.data(), pEntry->Image.size(), &pEntry->pFormat, &pEntry->pData,
                                   &pEntry->dwDataLength)) {
        DebugLog(0, "Unable to load file %s", pszName ? pszName : "(null)");
        return WAVE_LOAD_FAILED;
    }
    const WAVEFORMAT format = pEntry->GetFormat();
    if (pbChannels)
        *pbChannels = static_cast<uint8_t>(format.nChannels & 0xFF);
    if (pdwSampleRate)
        *pdwSampleRate = format.nSamplesPerSec;
    const uint32_t dwLength = pEntry->dwDataLength;
    Append(pEntry.release());
    const int nClass = FormatClass(format);
    if (dwLength > m_LongestLength[nClass]) {
        m_LongestLength[nClass] = dwLength;
        m_LongestIndex[nClass] = static_cast<uint16_t>(dwIndex);
    }
    return static_cast<uint16_t>(dwIndex);
}

void CWaveManager::SetPriority(uint16_t wIndex, uint8_t bPriority)
{
    if (wIndex >= m_dwCount)
        return;
    static_cast<WAVEENTRY*>(m_Items.GetAt(wIndex))->bPriority = bPriority;
}

const WAVEENTRY* CWaveManager::GetEntry(uint16_t wIndex) const
{
    return wIndex < m_dwCount ? static_cast<const WAVEENTRY*>(m_Items.GetAt(wIndex)) : nullptr;
}
