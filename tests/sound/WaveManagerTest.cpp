// Wave images are parsed in place: every chunk, format body and data body
// must lie inside the image and the RIFF size, and a broken file is refused
// without a read past its end (the sanitizer build sees any such read).
#include "WaveImage.h"

#include "sound/CWaveManager.h"
#include "shell/CFileManager.h"
#include "tools/gfxkit/BfsWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

namespace {

struct Parsed {
    bool ok = false;
    size_t formatAt = 0;
    size_t dataAt = 0;
    uint32_t length = 0;
};

// Parses a copy in a block of exactly its size.
Parsed Parse(const std::vector<uint8_t>& image)
{
    auto block = std::make_unique<uint8_t[]>(image.size() ? image.size() : 1);
    std::copy(image.begin(), image.end(), block.get());
    const uint8_t* pFormat = nullptr;
    const uint8_t* pData = nullptr;
    Parsed p;
    p.ok = CWaveManager::ParseWaveChunks(block.get(), image.size(), &pFormat, &pData, &p.length);
    if (p.ok) {
        p.formatAt = static_cast<size_t>(pFormat - block.get());
        p.dataAt = static_cast<size_t>(pData - block.get());
    }
    return p;
}

const std::vector<uint8_t> kSamples{1, 2, 3, 4, 5, 6, 7, 8};

TEST(WaveParser, FindsFormatAndDataInAnyOrderAndStepsOverPadBytes)
{
    Parsed p = Parse(WaveImage().Fmt(2, 22050, 16).Chunk("data", kSamples).Done());
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.formatAt, 20u);
    EXPECT_EQ(p.dataAt, 44u);
    EXPECT_EQ(p.length, 8u);

    p = Parse(WaveImage().Chunk("data", kSamples).Fmt(1, 11025, 8).Done());
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.dataAt, 20u);
    EXPECT_EQ(p.formatAt, 36u);

    // A 3-byte chunk is followed by one pad byte.
    p = Parse(WaveImage().Fmt(1, 22050, 16).Chunk("LIST", {9, 9, 9}).Chunk("data", kSamples).Done());
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.dataAt, 20u + 16 + 8 + 4 + 8);
}

TEST(WaveParser, RefusesBrokenImages)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
    };
    auto whole = [] { return WaveImage().Fmt(1, 22050, 16).Chunk("data", kSamples); };
    std::vector<uint8_t> cut = whole().Done();
    cut.resize(cut.size() - 3);
    const Case cases[] = {
        {"format of 12 bytes", WaveImage().Fmt(1, 22050, 16, 12).Chunk("data", kSamples).Done()},
        {"format of 14 bytes", WaveImage().Fmt(1, 22050, 16, 14).Chunk("data", kSamples).Done()},
        {"RIFF size past the file", whole().Done(1000)},
        {"data length past the file", WaveImage().Fmt(1, 22050, 16).Chunk("data", kSamples, 4000).Done()},
        {"data past the RIFF size", whole().Done(12 + 24 + 4)},
        {"format body past the end", WaveImage().Chunk("data", kSamples).Chunk("fmt ", {1, 0, 1, 0}, 16).Done()},
        {"cut file", cut},
        {"no data chunk", WaveImage().Fmt(1, 22050, 16).Chunk("LIST", {1, 2}).Done()},
        {"skipped chunk past the end", WaveImage().Fmt(1, 22050, 16).Chunk("LIST", {1, 2}, 0xFFFFFFF0u).Done()},
        {"not a wave", {'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"header only", WaveImage().Done()},
        {"empty", {}},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(Parse(c.image).ok) << c.what;
}

// Random damage to a good image: whatever the parser accepts lies inside it.
TEST(WaveParser, DamagedImagesNeverLeadOutside)
{
    const std::vector<uint8_t> good =
        WaveImage().Fmt(2, 22050, 16).Chunk("LIST", {1, 2, 3}).Chunk("data", kSamples).Done();
    std::mt19937 random(17);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> image = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const size_t at = random() % image.size();
            switch (random() % 3) {
            case 0: image[at] = static_cast<uint8_t>(random()); break;
            case 1: image.resize(at); break;
            default: image[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;
            }
            if (image.empty())
                break;
        }
        const Parsed p = Parse(image);
        if (!p.ok)
            continue;
        ++accepted;
        EXPECT_LE(p.formatAt + 16, image.size());
        EXPECT_LE(p.dataAt + p.length, image.size());
    }
    EXPECT_GT(accepted, 0);
}

class WaveManagerFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() / ("wave_manager_" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Write(const char* name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = (m_dir / name).string();
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
    std::filesystem::path m_dir;
};

TEST_F(WaveManagerFiles, LoadsFromDiskAndArchiveAndKeepsFailuresOut)
{
    const std::vector<uint8_t> mono = WaveImage().Fmt(1, 22050, 8).Chunk("data", kSamples).Done();
    const std::vector<uint8_t> stereo = WaveImage().Fmt(2, 44100, 16).Chunk("data", {1, 2, 3, 4}).Done();
    std::vector<uint8_t> broken = mono;
    broken.resize(broken.size() - 2);
    std::string error;
    const std::string archivePath = (m_dir / "Sounds.bfs").string();
    ASSERT_TRUE(tools::writeBfs({{"Stereo.wav", stereo}, {"Broken.wav", broken}}, archivePath, error)) << error;
    CFileManager archive;
    ASSERT_TRUE(archive.Open(archivePath.c_str()));

    CWaveManager waves(4);
    uint8_t channels = 0;
    uint32_t rate = 0;
    EXPECT_EQ(waves.Load(nullptr, Write("mono.wav", mono).c_str(), &channels, &rate), 0);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(rate, 22050u);
    EXPECT_EQ(waves.Load(&archive, "stereo.WAV", &channels, &rate), 1);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 44100u);
    EXPECT_EQ(waves.Load(&archive, "Broken.wav", nullptr, nullptr), WAVE_LOAD_FAILED);
    EXPECT_EQ(waves.Load(&archive, "Missing.wav", nullptr, nullptr), WAVE_LOAD_FAILED);
    EXPECT_EQ(waves.Load(nullptr, (m_dir / "missing.wav").string().c_str(), nullptr, nullptr), WAVE_LOAD_FAILED);
    EXPECT_EQ(waves.GetCount(), 2u);

    const WAVEENTRY* pEntry = waves.GetEntry(1);
    ASSERT_NE(pEntry, nullptr);
    EXPECT_EQ(pEntry->dwDataLength, 4u);
    EXPECT_EQ(pEntry->GetFormat().wBitsPerSample, 16);
    EXPECT_EQ(waves.GetEntry(2), nullptr);
    // Longest per format class: mono at another rate, more channels at 44100.
    EXPECT_EQ(waves.GetLongestIndex(1), 0);
    EXPECT_EQ(waves.GetLongestIndex(2), 1);
    EXPECT_EQ(waves.GetLongestIndex(0), WAVE_CLASS_NONE);

    waves.SetPriority(1, 5);
    waves.SetPriority(2, 9);  // beyond the count: ignored
    EXPECT_EQ(waves.GetEntry(1)->bPriority, 5);
    archive.Close();
}

}  // namespace
