#include "shell/CScriptDriver.h"

#include "common/DebugLog.h"
#include "platform/Font.h"
#include "platform/PngWriter.h"
#include "platform/Window.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <strings.h>

namespace {

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;
constexpr int kDragSteps = 8;

// The key of a name; 0 for an unknown one.
int KeyFromName(const std::string& name)
{
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return std::toupper(static_cast<unsigned char>(name[0]));
    struct Named {
        const char* pszName;
        int nKey;
    };
    static const Named kNamed[] = {
        {"Return", plat::VK_RETURN}, {"Escape", plat::VK_ESCAPE}, {"Tab", plat::VK_TAB},
        {"Backspace", plat::VK_BACK}, {"Up", plat::VK_UP},        {"Down", plat::VK_DOWN},
        {"Left", plat::VK_LEFT},      {"Right", plat::VK_RIGHT},
    };
    for (const Named& named : kNamed)
        if (strcasecmp(name.c_str(), named.pszName) == 0)
            return named.nKey;
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        int nNumber = 0;
        for (size_t i = 1; i < name.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(name[i])) || nNumber > 12)
                return 0;
            nNumber = nNumber * 10 + (name[i] - '0');
        }
        if (nNumber >= 1 && nNumber <= 12)
            return static_cast<int>(plat::VK_F1) + nNumber - 1;
    }
    return 0;
}

bool ReadInts(std::istringstream& in, int* pValues, int nCount)
{
    for (int i = 0; i < nCount; ++i)
        if (!(in >> pValues[i]))
            return false;
    std::string rest;
    return !(in >> rest);
}

plat::LPARAM Point(int x, int y) { return plat::makeLParam(x, y); }

}  // namespace

bool CScriptDriver::Load(const std::string& path, std::string& rError)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        rError = path + ": cannot be read";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return Parse(text.str(), path, rError);
}

bool CScriptDriver::Parse(const std::string& text, const std::string& name, std::string& rError)
{
    m_Name = name;
    m_Commands.clear();
    m_nNext = 0;
    std::istringstream lines(text);
    std::string line;
    int nLine = 0;
    auto fail = [&](const std::string& why) {
        rError = name + " line " + std::to_string(nLine) + ": " + why;
        m_Commands.clear();
        return false;
    };
    while (std::getline(lines, line)) {
        ++nLine;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream in(line);
        std::string word;
        if (!(in >> word) || word[0] == '#')
            continue;
        Command command{Kind::Quit, {0, 0, 0, 0}, {}, nLine};
        int nPoints = 0;
        if (word == "wait") {
            command.kind = Kind::Wait;
            if (!ReadInts(in, command.args, 1) || command.args[0] < 0)
                return fail("wait takes a number of milliseconds");
        } else if (word == "click" || word == "rclick" || word == "dblclick") {
            command.kind = word == "click" ? Kind::Click : word == "rclick" ? Kind::RightClick : Kind::DoubleClick;
            if (!ReadInts(in, command.args, 2))
                return fail(word + " takes X and Y");
            nPoints = 1;
        } else if (word == "drag") {
            command.kind = Kind::Drag;
            if (!ReadInts(in, command.args, 4))
                return fail("drag takes X1 Y1 X2 Y2");
            nPoints = 2;
        } else if (word == "key") {
            command.kind = Kind::Key;
            std::string keyName, rest;
            if (!(in >> keyName) || (in >> rest) || (command.args[0] = KeyFromName(keyName)) == 0)
                return fail("key takes one key: a letter, a digit, Return, Escape, Tab, Backspace, F1-F12, "
                            "Up, Down, Left or Right");
        } else if (word == "type") {
            command.kind = Kind::Type;
            std::getline(in >> std::ws, command.text);
            command.text = plat::utf8ToAnsi(command.text.c_str());
            if (command.text.empty())
                return fail("type takes the text to type");
        } else if (word == "shot") {
            command.kind = Kind::Shot;
            std::getline(in >> std::ws, command.text);
            if (command.text.empty())
                return fail("shot takes the name of a PNG file");
        } else if (word == "quit") {
            std::string rest;
            if (in >> rest)
                return fail("quit takes nothing");
        } else {
            return fail("unknown command '" + word + "'");
        }
        for (int i = 0; i < nPoints; ++i) {
            const int x = command.args[2 * i], y = command.args[2 * i + 1];
            if (x < 0 || x >= kFrameWidth || y < 0 || y >= kFrameHeight)
                return fail("the point " + std::to_string(x) + "," + std::to_string(y) +
                            " lies outside the 800 x 600 frame");
        }
        m_Commands.push_back(std::move(command));
    }
    return true;
}

void CScriptDriver::Post(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    Poster pfnPost = m_pfnPost ? m_pfnPost : &plat::postMessage;
    if (!pfnPost(message, wParam, lParam))
        DebugLog(0, "[CScriptDriver] The input could not be queued");
    m_nFramesSinceInput = 0;
}

void CScriptDriver::PostClick(uint32_t downMessage, uint32_t upMessage, plat::WPARAM buttonFlag, int x, int y)
{
    Post(plat::WM_MOUSEMOVE, 0, Point(x, y));
    Post(downMessage, buttonFlag, Point(x, y));
    Post(upMessage, 0, Point(x, y));
}

void CScriptDriver::PostKey(int nKey)
{
    const auto key = static_cast<plat::WPARAM>(nKey);
    const plat::LPARAM lDown = 1;
    const plat::LPARAM lUp = 1 | (plat::LPARAM{1} << 30) | (plat::LPARAM{1} << 31);
    // F10 is a system key, as the desktop sends it.
    const bool bSystem = key == plat::VK_F10;
    Post(bSystem ? plat::WM_SYSKEYDOWN : plat::WM_KEYDOWN, key, lDown);
    if (nKey >= 'A' && nKey <= 'Z')
        Post(plat::WM_CHAR, static_cast<plat::WPARAM>(nKey - 'A' + 'a'), lDown);
    else if ((nKey >= '0' && nKey <= '9') || key == plat::VK_RETURN || key == plat::VK_ESCAPE ||
             key == plat::VK_TAB || key == plat::VK_BACK)
        Post(plat::WM_CHAR, key, lDown);
    Post(bSystem ? plat::WM_SYSKEYUP : plat::WM_KEYUP, key, lUp);
}

void CScriptDriver::OnFrame(uint32_t dwNow, CXSurface* pShownFrame)
{
    if (m_nFramesSinceInput < 2)
        ++m_nFramesSinceInput;
    if (Finished() || static_cast<int32_t>(dwNow - m_dwDueTime) < 0 || m_nFramesSinceInput < 2)
        return;
    const Command& command = m_Commands[m_nNext++];
    const int* a = command.args;
    switch (command.kind) {
    case Kind::Wait:
        m_dwDueTime = dwNow + static_cast<uint32_t>(a[0]);
        break;
    case Kind::Click:
        PostClick(plat::WM_LBUTTONDOWN, plat::WM_LBUTTONUP, plat::MK_LBUTTON, a[0], a[1]);
        break;
    case Kind::RightClick:
        PostClick(plat::WM_RBUTTONDOWN, plat::WM_RBUTTONUP, plat::MK_RBUTTON, a[0], a[1]);
        break;
    case Kind::DoubleClick:
        // The second press arrives as the double click in place of its button-down.
        PostClick(plat::WM_LBUTTONDOWN, plat::WM_LBUTTONUP, plat::MK_LBUTTON, a[0], a[1]);
        Post(plat::WM_LBUTTONDBLCLK, plat::MK_LBUTTON, Point(a[0], a[1]));
        Post(plat::WM_LBUTTONUP, 0, Point(a[0], a[1]));
        break;
    case Kind::Drag:
        Post(plat::WM_MOUSEMOVE, 0, Point(a[0], a[1]));
        Post(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, Point(a[0], a[1]));
        for (int i = 1; i <= kDragSteps; ++i)
            Post(plat::WM_MOUSEMOVE, plat::MK_LBUTTON,
                 Point(a[0] + (a[2] - a[0]) * i / kDragSteps, a[1] + (a[3] - a[1]) * i / kDragSteps));
        Post(plat::WM_LBUTTONUP, 0, Point(a[2], a[3]));
        break;
    case Kind::Key:
        PostKey(a[0]);
        break;
    case Kind::Type:
        for (char c : command.text)
            Post(plat::WM_CHAR, static_cast<uint8_t>(c), 1);
        break;
    case Kind::Shot:
        if (!pShownFrame || !pShownFrame->m_pSurface || !plat::writePng(*pShownFrame->m_pSurface, command.text))
            std::fprintf(stderr, "Brellox: %s line %d: the frame could not be written to %s\n", m_Name.c_str(),
                         command.line, command.text.c_str());
        break;
    case Kind::Quit:
        plat::postQuitMessage(0);
        break;
    }
}
