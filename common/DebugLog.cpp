#include "common/DebugLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
DebugLogSink& Sink()
{
    static DebugLogSink sink;
    return sink;
}
}  // namespace

namespace {
bool ToStderr()
{
    static const bool bToStderr = std::getenv("BRELLOX_LOG") != nullptr;
    return bToStderr;
}
}  // namespace

bool debuglog_detail::ResolveLogState()
{
    const bool bOn = ToStderr() || Sink();
    g_nLogState = bOn ? 1 : -1;
    return bOn;
}

void SetDebugLogSink(DebugLogSink sink)
{
    Sink() = std::move(sink);
    debuglog_detail::ResolveLogState();
}

void DebugLog(int nLevel, const char* pszFormat, ...)
{
    const bool bToStderr = ToStderr();
    if (!bToStderr && !Sink())
        return;
    char szText[1024];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szText, sizeof szText, pszFormat, args);
    va_end(args);
    if (bToStderr)
        std::fprintf(stderr, "Debug : %s\n", szText);
    if (Sink())
        Sink()(nLevel, szText);
}
