#pragma once
// The window messages the game dispatches, with the values and payloads its
// handlers expect: mouse positions packed into lParam (x low 16 bits, y high
// 16 bits, client coordinates), key codes in wParam with the repeat count in
// the low 16 bits of lParam, the wheel delta in the high 16 bits of wParam.
#include <cstdint>

namespace plat {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;

struct Message {
    uint32_t message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Message values.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_INITDIALOG = 0x0110;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_USER = 0x0400;

// System commands that the game refuses (screen saver, monitor power-off).
constexpr uint32_t SC_SCREENSAVE = 0xF140;
constexpr uint32_t SC_MONITORPOWER = 0xF170;

// Mouse button state flags carried in wParam of mouse messages.
constexpr uint32_t MK_LBUTTON = 0x0001;
constexpr uint32_t MK_RBUTTON = 0x0002;
constexpr uint32_t MK_SHIFT = 0x0004;
constexpr uint32_t MK_CONTROL = 0x0008;

// One notch of the mouse wheel.
constexpr int WHEEL_DELTA = 120;

// Virtual key codes.
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_MENU = 0x12;
constexpr uint32_t VK_PAUSE = 0x13;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_INSERT = 0x2D;
constexpr uint32_t VK_DELETE = 0x2E;
constexpr uint32_t VK_F1 = 0x70;
constexpr uint32_t VK_F10 = 0x79;
constexpr uint32_t VK_F12 = 0x7B;

constexpr uint16_t loWord(uint64_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
constexpr uint16_t hiWord(uint64_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }
constexpr LPARAM makeLParam(int lo, int hi)
{
    return static_cast<LPARAM>((static_cast<uint32_t>(hi & 0xFFFF) << 16) | static_cast<uint32_t>(lo & 0xFFFF));
}
// The wheel delta of a WM_MOUSEWHEEL as the signed value it is: a turn towards
// the user is negative (0xFF88 is -120, not 65416).
constexpr int wheelDelta(WPARAM wParam) { return static_cast<int16_t>(hiWord(wParam)); }

}  // namespace plat
