#include "core/trace.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "core/clock.h"
#include "core/reset.h"
#include "platform/control.h"

namespace qmp {
namespace {

struct FaultPlan {
    int remaining;  // calls to let through before the failing one
    long error;
};

struct TraceState {
    bool logging = false;
    std::vector<platform::CallRecord> log;
    std::unordered_map<std::string, std::vector<FaultPlan>> plans;
    bool active() const { return logging || !plans.empty(); }
    // Calls made while globals are destroyed at exit, after this state, go untraced.
    ~TraceState() { tracingActive = false; }
};

TraceState& state() {
    static TraceState s;
    return s;
}

void noteActivity() { tracingActive = state().active(); }

const ResetHook resetTrace([] {
    state().logging = false;
    state().log.clear();
    state().plans.clear();
    noteActivity();
});

}  // namespace

bool tracingActive = false;

bool traceCall(const char* name, long* error) {
    TraceState& s = state();
    if (!s.active()) return false;
    if (s.logging) s.log.push_back({clock::now(), name});
    auto it = s.plans.find(name);
    if (it == s.plans.end()) return false;
    bool fail = false;
    std::vector<FaultPlan>& plans = it->second;
    for (size_t i = 0; i < plans.size();) {
        if (plans[i].remaining == 0) {
            fail = true;
            *error = plans[i].error;
            plans.erase(plans.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        --plans[i].remaining;
        ++i;
    }
    if (plans.empty()) s.plans.erase(it);
    noteActivity();
    return fail;
}

}  // namespace qmp

namespace platform {

void failCall(const std::string& name, int occurrence, long error) {
    if (occurrence < 1) return;
    qmp::state().plans[name].push_back({occurrence - 1, error});
    qmp::noteActivity();
}

void setCallLogging(bool enabled) {
    qmp::state().logging = enabled;
    qmp::noteActivity();
}
const std::vector<CallRecord>& callLog() { return qmp::state().log; }
void clearCallLog() { qmp::state().log.clear(); }

}  // namespace platform
