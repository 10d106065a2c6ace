#pragma once
// Services of the program shell that the database and season code call. The
// shell installs the parts that need its screens (progress display, table
// texts); until it does, progress goes nowhere and table sets are empty.
#include <cstdint>
#include <functional>

// Progress of a long step (loading, saving, building a new game's world).
int ProgressCallback(double dPercentDone, int nStage, int nValue, int nFlag);
// The texts of one table-text set in the current language; null when the set
// is unknown. nCount (optional) receives the number of texts.
const char* const* GetTableTextSet(int nTable, int* pnCount = nullptr);
// Starts a timing and answers the clock's time in milliseconds.
uint32_t StartTiming();
// Logs "<label>: <n> milliseconds" since StartTiming; answers 0.
int LogElapsedTime(const char* pszLabel);
// True when the current folder's drive has at least 100 MiB free.
bool CheckDiskSpace();

// Installed by the shell.
using ProgressHandler = std::function<void(double dPercentDone, int nStage, int nValue, int nFlag)>;
using TableTextHandler = std::function<const char* const*(int nTable, int* pnCount)>;
void SetProgressHandler(ProgressHandler handler);
void SetTableTextHandler(TableTextHandler handler);
