#include "platform/Window.h"

#include "platform/Font.h"
#include "platform/InstanceLock.h"

#include <SDL.h>

#include <algorithm>
#include <deque>
#include <string>

namespace plat {

namespace {

Window* g_window = nullptr;
std::deque<Message> g_queue;
Uint32 g_postEvent = 0;  // SDL event type of posted messages
Uint32 g_wakeEvent = 0;  // SDL event type that only wakes the queue
std::string g_lastError;
bool g_closeQueued = false;
Point g_mouse;

bool ensureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        g_lastError = SDL_GetError();
        return false;
    }
    // Without a display the video system falls back to drawing nowhere; that
    // is only wanted when asked for by name (headless runs and tests).
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool displayless = driver && (SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0);
    if (displayless && (!asked || SDL_strcasecmp(asked, driver) != 0)) {
        g_lastError = "no display was found";
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    if (g_postEvent == 0) {
        const Uint32 first = SDL_RegisterEvents(2);
        if (first == static_cast<Uint32>(-1)) {
            g_lastError = "no user events";
            return false;
        }
        g_postEvent = first;
        g_wakeEvent = first + 1;
    }
    return true;
}

void push(uint32_t message, WPARAM wParam, LPARAM lParam) { g_queue.push_back({message, wParam, lParam}); }

uint32_t virtualKey(SDL_Keycode sym)
{
    if (sym >= SDLK_a && sym <= SDLK_z)
        return 'A' + static_cast<uint32_t>(sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9)
        return '0' + static_cast<uint32_t>(sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12)
        return VK_F1 + static_cast<uint32_t>(sym - SDLK_F1);
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9)
        return 0x61 + static_cast<uint32_t>(sym - SDLK_KP_1);
    switch (sym) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_END:
        return VK_END;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_PAUSE:
        return VK_PAUSE;
    case SDLK_KP_0:
        return 0x60;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    default:
        return 0;
    }
}

WPARAM buttonFlags(Uint32 state)
{
    WPARAM flags = 0;
    if (state & SDL_BUTTON_LMASK)
        flags |= MK_LBUTTON;
    if (state & SDL_BUTTON_RMASK)
        flags |= MK_RBUTTON;
    const SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT)
        flags |= MK_SHIFT;
    if (mod & KMOD_CTRL)
        flags |= MK_CONTROL;
    return flags;
}

// A window position in frame coordinates: the frame is shown scaled and
// centred; positions on the bars beside it are held to its edge.
Point framePoint(int x, int y)
{
    if (!g_window)
        return {x, y};
    const Rect shown = g_window->shownRect();
    const int w = g_window->frameWidth(), h = g_window->frameHeight();
    int fx = x, fy = y;
    if (shown.width() > 0 && shown.height() > 0) {
        fx = static_cast<int>(static_cast<int64_t>(x - shown.left) * w / shown.width());
        fy = static_cast<int>(static_cast<int64_t>(y - shown.top) * h / shown.height());
    }
    return {std::clamp(fx, 0, std::max(0, w - 1)), std::clamp(fy, 0, std::max(0, h - 1))};
}

}  // namespace

void translateEvent(const void* opaque)
{
    const SDL_Event& e = *static_cast<const SDL_Event*>(opaque);
    if (InstanceLock::takeFrontRequest() && g_window)
        g_window->bringToFront();
    if (e.type == g_postEvent && g_postEvent != 0) {
        push(static_cast<uint32_t>(e.user.code), reinterpret_cast<WPARAM>(e.user.data1),
             reinterpret_cast<LPARAM>(e.user.data2));
        return;
    }
    if (e.type == g_wakeEvent && g_wakeEvent != 0)
        return;
    switch (e.type) {
    case SDL_QUIT:
        if (!g_closeQueued) {
            g_closeQueued = true;
            push(WM_CLOSE, 0, 0);
        }
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (!g_closeQueued) {
                g_closeQueued = true;
                push(WM_CLOSE, 0, 0);
            }
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (g_window)
                g_window->m_foreground = true;
            push(WM_ACTIVATEAPP, 1, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (g_window)
                g_window->m_foreground = false;
            push(WM_ACTIVATEAPP, 0, 0);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            push(WM_ACTIVATEAPP, 0, 0);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            push(WM_ACTIVATEAPP, g_window && g_window->m_foreground ? 1 : 0, 0);
            break;
        case SDL_WINDOWEVENT_MOVED:
            push(WM_MOVE, 0, 0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            push(WM_SIZE, 0, 0);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            push(WM_PAINT, 0, 0);
            break;
        default:
            break;
        }
        break;
    case SDL_MOUSEMOTION: {
        g_mouse = framePoint(e.motion.x, e.motion.y);
        push(WM_MOUSEMOVE, buttonFlags(e.motion.state), makeLParam(g_mouse.x, g_mouse.y));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        g_mouse = framePoint(e.button.x, e.button.y);
        const bool down = e.type == SDL_MOUSEBUTTONDOWN;
        // The second press of a double click replaces its button-down.
        const bool doubleClick = down && e.button.clicks >= 2 && e.button.clicks % 2 == 0;
        uint32_t message;
        if (e.button.button == SDL_BUTTON_LEFT)
            message = down ? (doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
        else if (e.button.button == SDL_BUTTON_RIGHT)
            message = down ? (doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
        else
            break;
        push(message, buttonFlags(SDL_GetMouseState(nullptr, nullptr)), makeLParam(g_mouse.x, g_mouse.y));
        break;
    }
    case SDL_MOUSEWHEEL: {
        int notches = e.wheel.y;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (notches == 0)
            break;
        const int delta = std::clamp(notches * WHEEL_DELTA, -32768, 32767);
        const WPARAM wParam = (static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16) |
                              buttonFlags(SDL_GetMouseState(nullptr, nullptr));
        push(WM_MOUSEWHEEL, wParam, makeLParam(g_mouse.x, g_mouse.y));
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const uint32_t vk = virtualKey(e.key.keysym.sym);
        if (vk == 0)
            break;
        const bool down = e.type == SDL_KEYDOWN;
        const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
        // F10 and Alt combinations are system keys.
        const bool system = vk == VK_F10 || alt;
        LPARAM lParam = 1 | (static_cast<LPARAM>(e.key.keysym.scancode & 0xFF) << 16);
        if (alt)
            lParam |= LPARAM{1} << 29;
        if (down && e.key.repeat)
            lParam |= LPARAM{1} << 30;
        if (!down)
            lParam |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
        const uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
        push(message, vk, lParam);
        // These keys produce characters that text input does not report.
        if (down && !alt && (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE))
            push(WM_CHAR, vk, lParam);
        break;
    }
    case SDL_TEXTINPUT: {
        const std::string ansi = utf8ToAnsi(e.text.text);
        for (char c : ansi) {
            const auto code = static_cast<uint8_t>(c);
            if (code >= 32 && code != 127)
                push(WM_CHAR, code, 1);
        }
        break;
    }
    default:
        break;
    }
}

namespace {

void pump()
{
    SDL_Event e;
    while (SDL_PollEvent(&e))
        translateEvent(&e);
    if (InstanceLock::takeFrontRequest() && g_window)
        g_window->bringToFront();
}

}  // namespace

Window* Window::create(const char* caption, int clientWidth, int clientHeight)
{
    if (g_window) {
        g_lastError = "a window exists already";
        return nullptr;
    }
    if (!ensureVideo())
        return nullptr;
    SDL_Window* sdlWindow = SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth,
                                             clientHeight, SDL_WINDOW_SHOWN);
    if (!sdlWindow) {
        g_lastError = SDL_GetError();
        return nullptr;
    }
    SDL_Renderer* renderer = SDL_CreateRenderer(sdlWindow, -1, 0);
    if (!renderer)
        renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) {
        g_lastError = SDL_GetError();
        SDL_DestroyWindow(sdlWindow);
        return nullptr;
    }
    Window* window = new Window;
    window->m_window = sdlWindow;
    window->m_renderer = renderer;
    window->m_frameWidth = clientWidth;
    window->m_frameHeight = clientHeight;
    SDL_StartTextInput();
    g_window = window;
    g_closeQueued = false;
    // A new window of the program starts in the foreground.
    push(WM_ACTIVATEAPP, 1, 0);
    return window;
}

Window::~Window()
{
    if (m_texture)
        SDL_DestroyTexture(static_cast<SDL_Texture*>(m_texture));
    SDL_DestroyRenderer(static_cast<SDL_Renderer*>(m_renderer));
    SDL_DestroyWindow(static_cast<SDL_Window*>(m_window));
    if (g_window == this)
        g_window = nullptr;
    g_queue.clear();
    // The video system goes with the window, and with it what it holds
    // (the desktop bus connection among others).
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    SDL_Quit();
    g_postEvent = 0;
    g_wakeEvent = 0;
}

Window* Window::current() { return g_window; }

const char* Window::lastError() { return g_lastError.c_str(); }

bool Window::setDisplayMode(int width, int height, bool fullScreen)
{
    if (width <= 0 || height <= 0)
        return false;
    auto* window = static_cast<SDL_Window*>(m_window);
    if (fullScreen != m_fullScreen) {
        // The window is first made to cover the desktop itself, for desktops
        // without a window manager to carry out the full-screen request.
        SDL_DisplayMode desktop;
        if (fullScreen && SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window), &desktop) == 0) {
            SDL_SetWindowBordered(window, SDL_FALSE);
            SDL_SetWindowPosition(window, 0, 0);
            SDL_SetWindowSize(window, desktop.w, desktop.h);
        } else if (!fullScreen) {
            SDL_SetWindowBordered(window, SDL_TRUE);
        }
        if (SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
            g_lastError = SDL_GetError();
            return false;
        }
        m_fullScreen = fullScreen;
    }
    if (!fullScreen) {
        SDL_SetWindowSize(window, width, height);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    m_frameWidth = width;
    m_frameHeight = height;
    if (m_texture) {
        SDL_DestroyTexture(static_cast<SDL_Texture*>(m_texture));
        m_texture = nullptr;
    }
    return true;
}

bool Window::present(const Surface& frame)
{
    auto* renderer = static_cast<SDL_Renderer*>(m_renderer);
    const int format = frame.format() == PixelFormat::Rgb555 ? SDL_PIXELFORMAT_RGB555 : SDL_PIXELFORMAT_RGB565;
    int tw = 0, th = 0;
    if (m_texture)
        SDL_QueryTexture(static_cast<SDL_Texture*>(m_texture), nullptr, nullptr, &tw, &th);
    if (!m_texture || m_textureFormat != format || tw != frame.width() || th != frame.height()) {
        if (m_texture)
            SDL_DestroyTexture(static_cast<SDL_Texture*>(m_texture));
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");
        m_texture = SDL_CreateTexture(renderer, static_cast<Uint32>(format), SDL_TEXTUREACCESS_STREAMING,
                                      frame.width(), frame.height());
        m_textureFormat = format;
        if (!m_texture) {
            g_lastError = SDL_GetError();
            return false;
        }
    }
    auto* texture = static_cast<SDL_Texture*>(m_texture);
    if (SDL_UpdateTexture(texture, nullptr, frame.bytes(), frame.pitch()) != 0) {
        g_lastError = SDL_GetError();
        return false;
    }
    // The frame scaled to fit the output with its aspect kept, centred.
    int ow = 0, oh = 0;
    if (SDL_GetRendererOutputSize(renderer, &ow, &oh) != 0 || ow <= 0 || oh <= 0) {
        ow = frame.width();
        oh = frame.height();
    }
    SDL_Rect target;
    if (static_cast<int64_t>(ow) * frame.height() <= static_cast<int64_t>(oh) * frame.width()) {
        target.w = ow;
        target.h = static_cast<int>(static_cast<int64_t>(ow) * frame.height() / frame.width());
    } else {
        target.h = oh;
        target.w = static_cast<int>(static_cast<int64_t>(oh) * frame.width() / frame.height());
    }
    target.x = (ow - target.w) / 2;
    target.y = (oh - target.h) / 2;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, &target);
    SDL_RenderPresent(renderer);
    return true;
}

void Window::showCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

void Window::bringToFront()
{
    auto* window = static_cast<SDL_Window*>(m_window);
    if (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED)
        SDL_RestoreWindow(window);
    SDL_RaiseWindow(window);
}

bool Window::isMinimized() const
{
    return (SDL_GetWindowFlags(static_cast<SDL_Window*>(m_window)) & SDL_WINDOW_MINIMIZED) != 0;
}

Point Window::cursorPosition() const { return g_mouse; }

Rect Window::shownRect() const
{
    int ww = 0, wh = 0;
    SDL_GetWindowSize(static_cast<SDL_Window*>(m_window), &ww, &wh);
    if (ww <= 0 || wh <= 0 || m_frameWidth <= 0 || m_frameHeight <= 0)
        return {0, 0, m_frameWidth, m_frameHeight};
    int w, h;
    if (static_cast<int64_t>(ww) * m_frameHeight <= static_cast<int64_t>(wh) * m_frameWidth) {
        w = ww;
        h = static_cast<int>(static_cast<int64_t>(ww) * m_frameHeight / m_frameWidth);
    } else {
        h = wh;
        w = static_cast<int>(static_cast<int64_t>(wh) * m_frameWidth / m_frameHeight);
    }
    const int x = (ww - w) / 2, y = (wh - h) / 2;
    return {x, y, x + w, y + h};
}

bool peekMessage()
{
    if (g_queue.empty())
        pump();
    return !g_queue.empty();
}

bool getMessage(Message& message)
{
    while (g_queue.empty()) {
        if (!SDL_WasInit(SDL_INIT_EVENTS)) {
            message = {WM_QUIT, 0, 0};
            return false;
        }
        SDL_Event e;
        if (SDL_WaitEvent(&e))
            translateEvent(&e);
    }
    message = g_queue.front();
    g_queue.pop_front();
    return message.message != WM_QUIT;
}

void waitMessage()
{
    if (!g_queue.empty() || !SDL_WasInit(SDL_INIT_EVENTS))
        return;
    SDL_Event e;
    if (SDL_WaitEvent(&e))
        translateEvent(&e);
    pump();
}

void waitMessageFor(uint32_t milliseconds)
{
    if (!g_queue.empty() || !SDL_WasInit(SDL_INIT_EVENTS))
        return;
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, static_cast<int>(std::min<uint32_t>(milliseconds, 0x7FFFFFFF))))
        translateEvent(&e);
    pump();
}

void postQuitMessage(int exitCode) { push(WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

bool postMessage(uint32_t message, WPARAM wParam, LPARAM lParam)
{
    if (g_postEvent == 0 || !SDL_WasInit(SDL_INIT_EVENTS))
        return false;
    SDL_Event e{};
    e.type = g_postEvent;
    e.user.code = static_cast<Sint32>(message);
    e.user.data1 = reinterpret_cast<void*>(wParam);
    e.user.data2 = reinterpret_cast<void*>(lParam);
    return SDL_PushEvent(&e) == 1;
}

void wakeMessageQueue()
{
    if (g_wakeEvent == 0 || !SDL_WasInit(SDL_INIT_EVENTS))
        return;
    SDL_Event e{};
    e.type = g_wakeEvent;
    SDL_PushEvent(&e);
}

void showErrorBox(const char* title, const char* text)
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && SDL_strcmp(driver, "dummy") == 0)
        return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text,
                             g_window ? static_cast<SDL_Window*>(g_window->m_window) : nullptr);
}

Size screenSize()
{
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0)
        return {mode.w, mode.h};
    return {g_window ? g_window->frameWidth() : 0, g_window ? g_window->frameHeight() : 0};
}

}  // namespace plat
