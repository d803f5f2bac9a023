// F12 and Print Screen: the visible picture as a numbered PNG in the current
// folder (Quillmere-0001.png, Quillmere-0002.png, ...), never over an older one.
#pragma once

#include <filesystem>
#include <string>

#include "platform/control.h"

namespace qmp {

std::string screenshotName(int number);

// The first number from `from` on whose file does not exist in `folder`; 0
// when every number up to the limit is taken.
int freeScreenshotNumber(const std::filesystem::path& folder, int from);

class ScreenshotWriter {
public:
    explicit ScreenshotWriter(std::filesystem::path folder = ".") : folder_(std::move(folder)) {}

    // Saves the picture under the next free name; `path` gets the file's path, `error` the reason of a failure.
    bool save(const platform::RgbImage& picture, std::string* path, std::string* error);

private:
    std::filesystem::path folder_;
    int next_ = 1;
};

}  // namespace qmp
