#include "core/screenshot.h"

#include <cstdio>

namespace qmp {
namespace {
constexpr int kLastNumber = 99999;
}

std::string screenshotName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "Quillmere-%04d.png", number);
    return name;
}

int freeScreenshotNumber(const std::filesystem::path& folder, int from) {
    std::error_code error;
    for (int number = std::max(from, 1); number <= kLastNumber; ++number) {
        if (!std::filesystem::exists(folder / screenshotName(number), error) && !error) return number;
    }
    return 0;
}

bool ScreenshotWriter::save(const platform::RgbImage& picture, std::string* path, std::string* error) {
    const int number = freeScreenshotNumber(folder_, next_);
    if (number == 0) {
        *error = "every screenshot name up to " + screenshotName(kLastNumber) + " is taken";
        return false;
    }
    *path = (folder_ / screenshotName(number)).string();
    if (!platform::savePng(picture, *path, error)) return false;
    next_ = number + 1;
    return true;
}

}  // namespace qmp
