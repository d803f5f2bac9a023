// The multimedia timer of mmsystem.h: timeGetTime reads the platform clock
// (virtual when headless). The resolution requests are kept only to answer them
// as Windows does.
#include <windows.h>
#include <mmsystem.h>

#include <map>

#include "core/clock.h"
#include "core/reset.h"
#include "core/trace.h"

namespace {

// Periods asked for with timeBeginPeriod and not yet ended, with their counts.
std::map<UINT, int>& activePeriods() {
    static std::map<UINT, int> periods;
    return periods;
}
const qmp::ResetHook resetPeriods([] { activePeriods().clear(); });

constexpr UINT kShortestPeriod = 1;
constexpr UINT kLongestPeriod = 1000000;

}  // namespace

DWORD WINAPI timeGetTime(void) {
    long ignored = 0;
    qmp::enterCall("timeGetTime", &ignored);  // cannot fail; traced for the call log
    return qmp::clock::now();
}

MMRESULT WINAPI timeBeginPeriod(UINT uPeriod) {
    QMP_TRACE_VALUE("timeBeginPeriod", TIMERR_NOCANDO);
    if (uPeriod < kShortestPeriod || uPeriod > kLongestPeriod) return TIMERR_NOCANDO;
    ++activePeriods()[uPeriod];
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT uPeriod) {
    QMP_TRACE_VALUE("timeEndPeriod", TIMERR_NOCANDO);
    auto it = activePeriods().find(uPeriod);
    if (it == activePeriods().end()) return TIMERR_NOCANDO;  // no matching timeBeginPeriod
    if (--it->second == 0) activePeriods().erase(it);
    return TIMERR_NOERROR;
}
