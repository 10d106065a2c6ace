#include "common/ShellServices.h"

#include "common/DebugLog.h"
#include "platform/Clock.h"
#include "platform/Files.h"

namespace {
ProgressHandler g_progress;
TableTextHandler g_tableText;
TextDescriptionHandler g_textDescription;
uint32_t g_dwTimingStart = 0;
constexpr int64_t kSaveSpaceNeeded = 104857600;
}  // namespace

void SetProgressHandler(ProgressHandler handler) { g_progress = std::move(handler); }
void SetTableTextHandler(TableTextHandler handler) { g_tableText = std::move(handler); }
void SetTextDescriptionHandler(TextDescriptionHandler handler) { g_textDescription = std::move(handler); }

int ProgressCallback(double dPercentDone, int nStage, int nValue, int nFlag)
{
    if (g_progress)
        g_progress(dPercentDone, nStage, nValue, nFlag);
    return 0;
}

const char* const* GetTableTextSet(int nTable, int* pnCount)
{
    if (pnCount)
        *pnCount = 0;
    return g_tableText ? g_tableText(nTable, pnCount) : nullptr;
}

const TEXTDESCRIPTIONRECORD* GetTextDescription(int nIndex)
{
    return g_textDescription ? g_textDescription(nIndex) : nullptr;
}

uint32_t StartTiming()
{
    g_dwTimingStart = plat::milliseconds();
    return g_dwTimingStart;
}

int LogElapsedTime(const char* pszLabel)
{
    DebugLog(5, "%s: %d milliseconds", pszLabel, static_cast<int>(plat::milliseconds() - g_dwTimingStart));
    return 0;
}

bool CheckDiskSpace() { return plat::freeDiskBytes(".") >= kSaveSpaceNeeded; }
