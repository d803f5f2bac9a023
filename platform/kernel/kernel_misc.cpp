// The rest of windows.h's KERNEL32 subset: the last-error code, lstrlenA and
// Sleep.
#include <windows.h>

#include <time.h>

#include <cerrno>
#include <cstring>

#include "core/clock.h"
#include "core/reset.h"
#include "core/trace.h"
#include "kernel/last_error.h"

namespace qmp::kernel {
namespace {
DWORD& lastErrorCode() {
    static DWORD code = ERROR_SUCCESS;
    return code;
}
const ResetHook resetLastError([] { lastErrorCode() = ERROR_SUCCESS; });
}  // namespace

void setLastError(DWORD code) { lastErrorCode() = code; }
DWORD lastError() { return lastErrorCode(); }

}  // namespace qmp::kernel

// Calls that cannot fail on Windows are traced for the call log only: a planned
// failure of them has no effect.
#define QMP_TRACE_ONLY(name)                  \
    do {                                      \
        long qmpIgnored_ = 0;                 \
        ::qmp::enterCall(name, &qmpIgnored_); \
    } while (0)

DWORD WINAPI GetLastError(void) {
    QMP_TRACE_ONLY("GetLastError");
    return qmp::kernel::lastError();
}

void WINAPI SetLastError(DWORD dwErrCode) {
    QMP_TRACE_ONLY("SetLastError");
    qmp::kernel::setLastError(dwErrCode);
}

int WINAPI lstrlenA(LPCSTR lpString) {
    QMP_TRACE_VALUE("lstrlenA", 0);
    if (lpString == nullptr) return 0;
    return static_cast<int>(std::strlen(lpString));
}

void WINAPI Sleep(DWORD dwMilliseconds) {
    QMP_TRACE_ONLY("Sleep");
    if (qmp::clock::isVirtual()) {
        qmp::clock::advance(dwMilliseconds);
        return;
    }
    if (dwMilliseconds == INFINITE) dwMilliseconds = 0x7FFFFFFF;  // "forever", within what nanosleep takes
    timespec wait{static_cast<time_t>(dwMilliseconds / 1000), static_cast<long>(dwMilliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}
