#pragma once
// The crowd and stadium sounds of a 3-D match, sorted into 26 categories
// (chants, cheers, groans, whistles, ball noises, announcements ...). The
// list file names each category and its samples; every sample is a wave of
// the crowd archive, loaded into the crowd sound manager. The endless crowd
// background is the wave Loop1.wav of the same archive.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The crowd sound categories by number.
enum CROWDSOUND : uint8_t {
    CROWDSOUND_FOUL = 0,
    CROWDSOUND_DECISIONS,
    CROWDSOUND_BREAKDOWN,
    CROWDSOUND_CHANTS,
    CROWDSOUND_BALLNOISE,
    CROWDSOUND_CONSTANT,
    CROWDSOUND_GOAL,
    CROWDSOUND_CROWDHAPPY,
    CROWDSOUND_ANNOUNCEMENTS,
    CROWDSOUND_MISS,
    CROWDSOUND_CROWDANGRY,
    CROWDSOUND_CROWDNOISE,
    CROWDSOUND_DISALLOWED,
    CROWDSOUND_HALFTIME,
    CROWDSOUND_SUBSTITUTION,
    CROWDSOUND_GOODPLAY,
    CROWDSOUND_RANDOMEVENTS,
    CROWDSOUND_CROWDUNHAPPY,
    CROWDSOUND_SCORER,
    CROWDSOUND_START,
    CROWDSOUND_FINISH,
    CROWDSOUND_WHISTLELONG,
    CROWDSOUND_WHISTLEMEDIUM,
    CROWDSOUND_WHISTLESHORT,
    CROWDSOUND_SHOUTS,
    CROWDSOUND_BALLBOUNCE,
    CROWDSOUND_COUNT
};

class CFileManager;
class CSoundManager;

class CCrowdSounds {
public:
    static constexpr uint16_t kNoSample = 65000;
    static constexpr int kCategoryCount = CROWDSOUND_COUNT;
    // A sample name must leave room for ".wav" in the 50 characters of a name.
    static constexpr size_t kMaxSampleName = 45;

    CCrowdSounds();
    ~CCrowdSounds();
    CCrowdSounds(const CCrowdSounds&) = delete;
    CCrowdSounds& operator=(const CCrowdSounds&) = delete;

    // The category number of a name as the list file writes it (exact, letter
    // case included); kCategoryCount for any other.
    static int GetCategoryNumber(const char* pszName);

    // Reads the list file and loads every sample (and the crowd loop) from
    // the archive into the manager. False when the list or the archive cannot
    // be opened, a category name is unknown, a sample name cannot be read or
    // is too long, or a sample does not load; the samples loaded before stay
    // in the manager.
    bool Load(const char* pszListFile, const char* pszArchive, CSoundManager& manager);
    // A random sample of the category: its sound id, and its file name when
    // asked; kNoSample when the category has none.
    uint16_t GetRandomSample(int nCategory, const char** ppszName = nullptr) const;
    // How many samples the category holds.
    int GetSampleCount(int nCategory) const;
    // The crowd loop's sound id; kNoSample when it did not load.
    uint16_t GetLoopID() const { return m_wLoopID; }
    // Every sound of the manager at the ambient volume.
    static void ApplyVolume(CSoundManager* pManager, uint32_t dwVolume);
    // Frees the categories and closes the archive.
    void Free();

private:
    struct SAMPLE {
        uint16_t wSoundID = kNoSample;
        std::string Name;  // as loaded, "<name>.wav"
    };
    bool ReadCategories(FILE* pFile, int nCount, CSoundManager& manager);

    std::vector<std::unique_ptr<std::vector<SAMPLE>>> m_Categories;
    std::unique_ptr<CFileManager> m_pArchive;
    uint16_t m_wLoopID = kNoSample;
};
