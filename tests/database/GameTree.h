#pragma once
// Test helpers: run a test inside a folder that holds a Data tree (the
// generated one, or a private copy that a test may damage), and collect the
// log lines written meanwhile.
#include "common/DebugLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>
#include <unistd.h>

class CurrentFolder {
public:
    explicit CurrentFolder(const std::filesystem::path& folder) : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

// A private copy of the generated Data tree in a temporary folder.
class GameTreeCopy {
public:
    GameTreeCopy()
    {
        char szTemplate[] = "/tmp/brellox_db_XXXXXX";
        m_root = mkdtemp(szTemplate);
        std::filesystem::copy(std::filesystem::path(BRELLOX_GAME_DIR) / "Data", m_root / "Data",
                              std::filesystem::copy_options::recursive);
    }
    ~GameTreeCopy() { std::filesystem::remove_all(m_root); }
    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path File(const std::string& relative) const { return m_root / relative; }
    void Write(const std::string& relative, const std::string& bytes) const
    {
        std::ofstream(File(relative), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string Read(const std::string& relative) const
    {
        std::ifstream in(File(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_root;
};

class LogCapture {
public:
    LogCapture()
    {
        SetDebugLogSink([this](int, const std::string& line) { m_lines.push_back(line); });
    }
    ~LogCapture() { SetDebugLogSink(nullptr); }
    bool Contains(const std::string& text) const
    {
        for (const std::string& line : m_lines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
};
