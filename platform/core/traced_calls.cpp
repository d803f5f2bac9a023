#include "core/traced_calls.h"

#include <cctype>
#include <cstddef>

namespace qmp {

extern const char* const tracedCallNames[];
extern const size_t tracedCallCount;

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

bool isTracedCall(const std::string& name) {
    for (size_t i = 0; i < tracedCallCount; ++i)
        if (name == tracedCallNames[i]) return true;
    return false;
}

std::vector<std::string> tracedCallsLike(const std::string& name) {
    std::vector<std::string> like;
    const std::string wanted = lower(name);
    for (size_t i = 0; i < tracedCallCount && !wanted.empty(); ++i)
        if (lower(tracedCallNames[i]).find(wanted) != std::string::npos) like.emplace_back(tracedCallNames[i]);
    return like;
}

}  // namespace qmp
