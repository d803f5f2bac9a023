// Recording in a web page: giflib is not at hand there, so F10 says that a
// recording cannot be made instead of starting one.
#include "core/gif_recorder.h"

namespace qmp::recorder {

bool start(const std::string&, int, std::string* error) {
    if (error != nullptr) *error = "recordings are made by the Linux and Windows programs, not in a web page";
    return false;
}

bool recording() { return false; }

const std::string& path() {
    static const std::string none;
    return none;
}

bool stop(std::string*, int* frames) {
    if (frames != nullptr) *frames = 0;
    return true;
}

void presented(const Picture&, uint32_t) {}

}  // namespace qmp::recorder
