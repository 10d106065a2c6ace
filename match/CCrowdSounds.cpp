#include "match/CCrowdSounds.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Files.h"
#include "platform/Random.h"
#include "shell/CFileManager.h"
#include "sound/CSoundManager.h"
#include "sound/CWaveManager.h"

namespace {

const char* const kCategoryNames[CCrowdSounds::kCategoryCount] = {
    "FOUL",        "DECISIONS",     "BREAKDOWN",    "CHANTS",      "BALLNOISE",     "CONSTANT",   "GOAL",
    "CROWDHAPPY",  "ANNOUNCEMENTS", "MISS",         "CROWDANGRY",  "CROWDNOISE",    "DISALLOWED", "HALFTIME",
    "SUBSTITUTION", "GOODPLAY",     "RANDOMEVENTS", "CROWDUNHAPPY", "SCORER",       "START",      "FINISH",
    "WHISTLELONG", "WHISTLEMEDIUM", "WHISTLESHORT", "SHOUTS",      "BALLBOUNCE"};

// A 2-D sound from the manager's archive whose wave really loaded.
bool AddLoadedSound(CSoundManager& manager, const char* pszName, uint16_t& wID)
{
    if (!manager.AddSound(pszName, wID, SOUND_TYPE_2D))
        return false;
    const CSound* pSound = manager.GetSound(wID);
    return pSound && pSound->GetWaveIndex() != WAVE_LOAD_FAILED;
}

}  // namespace

CCrowdSounds::CCrowdSounds() = default;

CCrowdSounds::~CCrowdSounds()
{
    Free();
}

int CCrowdSounds::GetCategoryNumber(const char* pszName)
{
    for (int i = 0; i < kCategoryCount; ++i)
        if (std::strcmp(pszName, kCategoryNames[i]) == 0)
            return i;
    return kCategoryCount;
}

bool CCrowdSounds::Load(const char* pszListFile, const char* pszArchive, CSoundManager& manager)
{
    Free();
    FILE* pFile = plat::openFile(pszListFile, "r");
    if (!pFile)
        return false;
    m_pArchive = std::make_unique<CFileManager>();
    if (!m_pArchive->Open(pszArchive)) {
        std::fclose(pFile);
        m_pArchive.reset();
        return false;
    }
    manager.SetArchive(m_pArchive.get());
    uint16_t wLoop = kNoSample;
    if (AddLoadedSound(manager, "Loop1.wav", wLoop))
        m_wLoopID = wLoop;

    // The number of categories: a line of at most three characters.
    char szLine[8] = {};
    int nCount = 0;
    if (std::fgets(szLine, 3 + 1, pFile))
        nCount = std::atoi(szLine);
    m_Categories.resize(kCategoryCount);
    const bool bRead = ReadCategories(pFile, nCount, manager);
    std::fclose(pFile);
    return bRead;
}

bool CCrowdSounds::ReadCategories(FILE* pFile, int nCount, CSoundManager& manager)
{
    for (int c = 0; c < nCount; ++c) {
        char szName[64] = {};
        if (std::fscanf(pFile, "%63s", szName) != 1)
            return false;
        const int nCategory = GetCategoryNumber(szName);
        if (nCategory == kCategoryCount)
            return false;
        // The count stands behind the name on its line: at most two digits
        // behind the blank.
        char szCount[8] = {};
        if (!std::fgets(szCount, 3 + 1, pFile))
            return false;
        const int nSamples = std::atoi(szCount);
        auto pRecord = std::make_unique<std::vector<SAMPLE>>();
        for (int s = 0; s < nSamples; ++s) {
            char szSample[64] = {};
            if (std::fscanf(pFile, "%63s", szSample) != 1 || std::strlen(szSample) > kMaxSampleName)
                return false;
            SAMPLE sample;
            sample.Name = std::string(szSample) + ".wav";
            if (!AddLoadedSound(manager, sample.Name.c_str(), sample.wSoundID))
                return false;
            pRecord->push_back(std::move(sample));
        }
        m_Categories[size_t(nCategory)] = std::move(pRecord);
    }
    return true;
}

uint16_t CCrowdSounds::GetRandomSample(int nCategory, const char** ppszName) const
{
    const int n = GetSampleCount(nCategory);
    if (n == 0)
        return kNoSample;
    const SAMPLE& sample = (*m_Categories[size_t(nCategory)])[size_t((plat::rand() & 255) % n)];
    if (ppszName)
        *ppszName = sample.Name.c_str();
    return sample.wSoundID;
}

int CCrowdSounds::GetSampleCount(int nCategory) const
{
    if (nCategory < 0 || size_t(nCategory) >= m_Categories.size() || !m_Categories[size_t(nCategory)])
        return 0;
    return int(m_Categories[size_t(nCategory)]->size());
}

void CCrowdSounds::ApplyVolume(CSoundManager* pManager, uint32_t dwVolume)
{
    if (pManager)
        pManager->SetAllVolumes(dwVolume);
}

void CCrowdSounds::Free()
{
    m_Categories.clear();
    if (m_pArchive)
        m_pArchive->Close();
    m_pArchive.reset();
    m_wLoopID = kNoSample;
}
