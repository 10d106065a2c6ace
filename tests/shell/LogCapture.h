#pragma once
// Collects the log lines written while it lives.
#include "common/DebugLog.h"

#include <string>
#include <vector>

class LogCapture {
public:
    LogCapture()
    {
        SetDebugLogSink([this](int, const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { SetDebugLogSink(nullptr); }
    bool Contains(const std::string& text) const
    {
        for (const std::string& line : lines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }
    std::vector<std::string> lines;
};
