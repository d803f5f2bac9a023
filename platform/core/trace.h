// Call tracing shared by every platform call: the call log and fault injection
// of the control interface.
#pragma once

namespace qmp {

// True while the call log is on or a fault plan waits: only then does a call
// need to be looked at, so every other call pays one test of this flag.
extern bool tracingActive;

// The work of enterCall when tracing is active.
bool traceCall(const char* name, long* error);

// Called first by every traced platform call. Records the call when the call
// log is on and counts it against the fault plans. Returns true when this call
// must fail; `error` then holds the planned error (0 = the call's usual failure).
inline bool enterCall(const char* name, long* error) { return tracingActive && traceCall(name, error); }

// Convenience for COM methods: the planned HRESULT, or `usual` when none was given.
inline long plannedError(long planned, long usual) { return planned != 0 ? planned : usual; }

}  // namespace qmp

// Starts a traced call that returns an HRESULT: returns the injected failure.
#define QMP_TRACE_HRESULT(name, usual)                                  \
    do {                                                                \
        long qmpInjected_ = 0;                                          \
        if (::qmp::enterCall(name, &qmpInjected_))                      \
            return (HRESULT)::qmp::plannedError(qmpInjected_, (usual)); \
    } while (0)

// Starts a traced call whose failure is a fixed value (NULL, FALSE, 0, ...).
#define QMP_TRACE_VALUE(name, failure)                  \
    do {                                                \
        long qmpInjected_ = 0;                          \
        if (::qmp::enterCall(name, &qmpInjected_))      \
            return (failure);                           \
    } while (0)
