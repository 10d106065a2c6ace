#pragma once
// Services of the program shell that the database and season code call. The
// shell installs the parts that need its screens (progress display, table
// and description texts); until it does, progress goes nowhere and table
// sets and descriptions are empty.
#include <cstdint>
#include <functional>

// Progress of a long step (loading, saving, building a new game's world).
int ProgressCallback(double dPercentDone, int nStage, int nValue, int nFlag);
// The texts of one table-text set in the current language; null when the set
// is unknown. nCount (optional) receives the number of texts.
const char* const* GetTableTextSet(int nTable, int* pnCount = nullptr);
// One record of a positioned text description: a text drawn at (x, y), or an
// alignment command in x (9993 centre, 9997 right, 9999 left); x = -1 ends
// the run.
struct TEXTDESCRIPTIONRECORD {
    int16_t x;
    int16_t y;
    const char* pszText;
};
// The first record of a text description in the current language; null when
// the index has none.
const TEXTDESCRIPTIONRECORD* GetTextDescription(int nIndex);
// Starts a timing and answers the clock's time in milliseconds.
uint32_t StartTiming();
// Logs "<label>: <n> milliseconds" since StartTiming; answers 0.
int LogElapsedTime(const char* pszLabel);
// True when the current folder's drive has at least 100 MiB free.
bool CheckDiskSpace();

// Installed by the shell.
using ProgressHandler = std::function<void(double dPercentDone, int nStage, int nValue, int nFlag)>;
using TableTextHandler = std::function<const char* const*(int nTable, int* pnCount)>;
using TextDescriptionHandler = std::function<const TEXTDESCRIPTIONRECORD*(int nIndex)>;
void SetProgressHandler(ProgressHandler handler);
void SetTableTextHandler(TableTextHandler handler);
void SetTextDescriptionHandler(TextDescriptionHandler handler);
