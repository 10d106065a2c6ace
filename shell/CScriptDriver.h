#pragma once
// Plays a file of input commands as if a person used the game, one command a
// line: "wait MS", "click X Y", "rclick X Y", "dblclick X Y",
// "drag X1 Y1 X2 Y2", "key NAME" (a letter, a digit, Return, Escape, Tab,
// Backspace, F1-F12, Up, Down, Left, Right), "type TEXT", "shot FILE.png" (the
// frame as shown), "quit". Coordinates are in the 800 x 600 frame. Empty lines
// and lines starting with # are skipped. The input goes through the window's
// message queue, so it reaches the screens as the desktop's would.
#include "xframework/CXSurface.h"

#include "platform/Messages.h"

#include <cstdint>
#include <string>
#include <vector>

class CScriptDriver {
public:
    // Reads and checks the whole script; false with the first fault in
    // rError ("FILE line N: ...") when it cannot be played.
    bool Load(const std::string& path, std::string& rError);
    // Parses script text; the name only labels faults.
    bool Parse(const std::string& text, const std::string& name, std::string& rError);

    // Called after every frame with the frame as shown; plays the next
    // command when it is due. Each command waits for two frames after the
    // last input, so that what it sees (a shot) follows that input.
    void OnFrame(uint32_t dwNow, CXSurface* pShownFrame);
    bool Finished() const { return m_nNext >= m_Commands.size(); }

    enum class Kind { Wait, Click, RightClick, DoubleClick, Drag, Key, Type, Shot, Quit };
    struct Command {
        Kind kind;
        int args[4];
        std::string text;
        int line;
    };
    const std::vector<Command>& Commands() const { return m_Commands; }

    // Posts a message into the window's queue; tests replace it to see the
    // input the script makes.
    using Poster = bool (*)(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam);
    Poster m_pfnPost = nullptr;

private:
    void Post(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam);
    void PostClick(uint32_t downMessage, uint32_t upMessage, plat::WPARAM buttonFlag, int x, int y);
    void PostKey(int nKey);

    std::string m_Name;
    std::vector<Command> m_Commands;
    size_t m_nNext = 0;
    uint32_t m_dwDueTime = 0;
    int m_nFramesSinceInput = 2;
};
