#pragma once
// The one diagnostic call of every program. Lines are formatted as
// "Debug : <text>" and go nowhere unless BRELLOX_LOG is set (then to standard
// error) or a sink is installed (tests use one to see what was logged).
// Logging never changes what the game does.
#include <functional>
#include <string>

#if defined(__GNUC__)
#define BRELLOX_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define BRELLOX_PRINTF(fmt, args)
#endif

void DebugLog(int nLevel, const char* pszFormat, ...) BRELLOX_PRINTF(2, 3);
namespace debuglog_detail {
// Whether lines go anywhere: 0 not yet known, 1 yes, -1 no. Kept up to date
// by SetDebugLogSink, so that the question is one load.
inline int g_nLogState = 0;
bool ResolveLogState();
}  // namespace debuglog_detail

// Whether a line would go anywhere: a caller that logs many times a day
// asks first and saves formatting its arguments for nothing.
inline bool IsDebugLogOn()
{
    const int nState = debuglog_detail::g_nLogState;
    return nState != 0 ? nState > 0 : debuglog_detail::ResolveLogState();
}

// Receives each line (without the "Debug : " prefix); an empty function removes the sink.
using DebugLogSink = std::function<void(int nLevel, const std::string& line)>;
void SetDebugLogSink(DebugLogSink sink);
