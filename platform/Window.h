#pragma once
// The program's one window and its message queue. Input and window events
// become the window messages of Messages.h: mouse positions in the frame's own
// coordinates, the second press of a double click as a double-click message in
// place of the button-down, a character message for each typed character and
// for Backspace, Tab, Return and Escape, the wheel as a signed delta of 120 per
// notch, F10 and Alt combinations as system keys, activation and deactivation.
// Full screen is the desktop's full screen with the frame scaled to fit and its
// aspect kept.
#include "platform/Messages.h"
#include "platform/Surface.h"

namespace plat {

class Window {
public:
    // Creates the window with a client area of the given size; null (and a
    // reason in lastError) when the video system or the window cannot be made.
    // Only one window exists at a time.
    static Window* create(const char* caption, int clientWidth, int clientHeight);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The frame size and full screen or windowed; the frame is what present
    // shows, scaled to the window with its aspect kept.
    bool setDisplayMode(int width, int height, bool fullScreen);
    // Shows a surface of the frame's size.
    bool present(const Surface& frame);
    void showCursor(bool show);
    void bringToFront();

    int frameWidth() const { return m_frameWidth; }
    int frameHeight() const { return m_frameHeight; }
    bool fullScreen() const { return m_fullScreen; }
    // The window has the input focus (it is the foreground window).
    bool isForeground() const { return m_foreground; }
    bool isMinimized() const;
    // The frame's rectangle in screen terms (0, 0, width, height): the game's
    // coordinates are the frame's.
    Rect clientRect() const { return {0, 0, m_frameWidth, m_frameHeight}; }
    // Where the frame is shown inside the window, in window coordinates.
    Rect shownRect() const;
    // Last mouse position in frame coordinates.
    Point cursorPosition() const;

    static Window* current();
    static const char* lastError();

private:
    Window() = default;
    void* m_window = nullptr;    // SDL_Window
    void* m_renderer = nullptr;  // SDL_Renderer
    void* m_texture = nullptr;   // SDL_Texture
    int m_textureFormat = 0;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    bool m_fullScreen = false;
    bool m_foreground = true;

    friend void translateEvent(const void* event);
    friend void showErrorBox(const char* title, const char* text);
};

// The message queue of the main thread.
// True when a message is waiting; it stays in the queue.
bool peekMessage();
// Takes the next message, waiting for one; false when it is WM_QUIT.
bool getMessage(Message& message);
// Sleeps until something arrives.
void waitMessage();
// Sleeps until something arrives or the time has passed.
void waitMessageFor(uint32_t milliseconds);
// Queues WM_QUIT with the exit code; main thread only.
void postQuitMessage(int exitCode);
// Queues a message from any thread (the sound thread posts WM_USER+1 and +2);
// false when the queue does not exist or is full.
bool postMessage(uint32_t message, WPARAM wParam, LPARAM lParam);
// Size of the desktop in pixels (the screen's width and height).
Size screenSize();
// Shows an error message in a box of its own and waits until it is closed;
// does nothing without a display (headless runs).
void showErrorBox(const char* title, const char* text);

}  // namespace plat

namespace plat {
// Wakes a waiting queue without a message (for the layer's own threads).
void wakeMessageQueue();
}  // namespace plat
