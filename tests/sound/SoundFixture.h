#pragma once
// A sound system on a recording output, with wave files written to a
// temporary folder.
#include "RecordingSoundOutput.h"
#include "WaveImage.h"

#include "sound/SoundSystem.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

class SoundFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("sound_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
        StartSoundSystem(&m_output);
    }
    void TearDown() override
    {
        StopSoundSystem();
        std::filesystem::remove_all(m_dir);
    }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = (m_dir / name).string();
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
    // A wave of the given format with `frames` frames of silence.
    std::string WriteWave(const std::string& name, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames)
    {
        const std::vector<uint8_t> data(static_cast<size_t>(frames) * channels * bits / 8, bits == 8 ? 128 : 0);
        return Write(name, WaveImage().Fmt(channels, rate, bits).Chunk("data", data).Done());
    }
    RecordingSoundOutput m_output;
    std::filesystem::path m_dir;
};
