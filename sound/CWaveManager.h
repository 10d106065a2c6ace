#pragma once
// The store of the wave files one sound manager plays: each wave is read once
// (from a member of a BFS archive or from a loose file), its RIFF/WAVE layout
// is checked and parsed in place, and the entry keeps where the format and
// the sample data lie. Sounds refer to a wave by its entry index; 9999 marks
// a wave that failed to load.
#include "sound/CSoundList.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CFileManager;

constexpr uint16_t WAVE_LOAD_FAILED = 9999;
constexpr uint16_t WAVE_CLASS_NONE = 65000;

// The standard PCM wave format of a "fmt " chunk, read field by field.
struct WAVEFORMAT {
    uint16_t wFormatTag = 0;
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
};

struct WAVEENTRY {
    const uint8_t* pData = nullptr;
    uint32_t dwDataLength = 0;
    const uint8_t* pFormat = nullptr;
    uint8_t bPriority = 0;
    std::vector<uint8_t> Image;

    WAVEFORMAT GetFormat() const;
};

class CWaveManager : public CSoundList {
public:
    explicit CWaveManager(uint32_t dwCapacity);
    ~CWaveManager() override;

    // The new entry's index, or 9999. Without an archive the name is a path
    // on disk. The outs are the format's channel count and sample rate.
    uint16_t Load(CFileManager* pArchive, const char* pszName, uint8_t* pbChannels, uint32_t* pdwSampleRate);
    // An index at or beyond the count is ignored.
    void SetPriority(uint16_t wIndex, uint8_t bPriority);
    // Null for an index at or beyond the count.
    const WAVEENTRY* GetEntry(uint16_t wIndex) const;

    // The longest wave loaded so far in each format class (mono at 44100 Hz,
    // mono at another rate, more channels at 44100 Hz, more channels at
    // another rate): its index (65000 = none) and data length.
    uint16_t GetLongestIndex(int nClass) const { return m_LongestIndex[nClass]; }
    uint32_t GetLongestLength(int nClass) const { return m_LongestLength[nClass]; }

    // Finds the "fmt " body and the "data" body with its length in an image;
    // each wanted output may be null. The image ends at 8 + RIFF size; a RIFF
    // size past the real size, a format body shorter than 16 bytes, or a
    // format or data body or a chunk step past the end fails the parse.
    static bool ParseWaveChunks(const uint8_t* pImage, size_t nImageSize, const uint8_t** ppFormat,
                                const uint8_t** ppData, uint32_t* pdwDataLength);

private:
    uint16_t m_LongestIndex[4] = {WAVE_CLASS_NONE, WAVE_CLASS_NONE, WAVE_CLASS_NONE, WAVE_CLASS_NONE};
    uint32_t m_LongestLength[4] = {0, 0, 0, 0};
};
