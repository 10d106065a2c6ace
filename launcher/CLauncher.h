#pragma once
// The launcher: refuses to start a second game (the running one is asked to
// come to the front), plays the intro movie when there is one, and starts the
// game program that lies beside it in the same folder. The game is started
// whether or not the movie played.
#include <string>

class CLauncher {
public:
    // gameProgram: the game's executable; the current folder is the game's
    // runtime folder.
    explicit CLauncher(std::string gameProgram) : m_GameProgram(std::move(gameProgram)) {}

    // 0 when the game runs already or was started; 1 when it could not be
    // started, with a line on standard error saying why.
    int Run();

    // Log lines go to LOGS\Framework.txt in the current folder (made when
    // missing), as "Debug : " and the text; a file that cannot be opened is
    // skipped.
    static void FrameworkLog(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));

    // The movie's path in the runtime folder.
    static constexpr const char* kMoviePath = "Movies\\intro.avi";
    // The movie is shown full screen in a frame of this size.
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

private:
    // Plays the movie to its end, to Escape or to the window's closing; false
    // when there is none or it cannot be played.
    bool PlayMovie();
    bool StartGame();

    std::string m_GameProgram;
};
