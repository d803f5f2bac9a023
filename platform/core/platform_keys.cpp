#include "core/platform_keys.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/backend.h"
#include "core/data_folder.h"
#include "core/gif_recorder.h"
#include "core/overlay.h"
#include "core/presentation.h"
#include "core/reset.h"
#include "core/screenshot.h"
#include "user/input.h"

namespace qmp::platform_keys {
namespace {

// Screenshots and recordings go where the user started the program.
ScreenshotWriter& screenshots() {
    static ScreenshotWriter writer{data::startFolder()};
    return writer;
}

const ResetHook resetScreenshots([] { screenshots() = ScreenshotWriter{data::startFolder()}; });

void screenshot() {
    const platform::RgbImage picture = presentation::visibleRgb();
    std::string path;
    std::string error;
    if (picture.width <= 0)
        overlay::say("Screenshot not saved: there is no picture yet");
    else if (screenshots().save(picture, &path, &error)) {
        overlay::say("Screenshot saved: " + std::filesystem::path(path).lexically_normal().string());
        backend().screenshotSaved(path);
    } else {
        overlay::say("Screenshot not saved: " + error);
    }
    presentation::refreshOverlay();  // at once, also while the program shows nothing new
}

// F10: a recording into the next free Quillmere-NNNN.gif, or the end of the one running.
void toggleRecording() {
    std::string error;
    if (recorder::recording()) {
        const std::string path = recorder::path();
        int frames = 0;
        if (!recorder::stop(&error, &frames))
            std::fprintf(stderr, "Quillmere: recording not written: %s\n", error.c_str());
        else if (frames == 0)
            std::printf("Quillmere: recording %s: nothing was shown, no file\n", path.c_str());
        else
            std::printf("Quillmere: recording %s: %d frames\n", path.c_str(), frames);
    } else {
        const std::filesystem::path folder = data::startFolder();
        std::string path;
        for (int number = 1; number <= 9999 && path.empty(); ++number) {
            const std::filesystem::path candidate = folder / recordingName(number);
            std::error_code ignored;
            if (!std::filesystem::exists(candidate, ignored)) path = candidate.string();
        }
        if (path.empty())
            std::fprintf(stderr, "Quillmere: no recording: every name up to %s is taken\n", recordingName(9999).c_str());
        else if (recorder::start(path, 1, &error))
            std::printf("Quillmere: recording to %s (F10 stops it)\n", path.c_str());
        else
            std::fprintf(stderr, "Quillmere: no recording: %s\n", error.c_str());
    }
    std::fflush(stdout);
}

}  // namespace

std::string recordingName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "Quillmere-%04d.gif", number);
    return name;
}

bool handle(int virtualKey, bool alt) {
    switch (virtualKey) {
    case VK_F12:
    case VK_SNAPSHOT: screenshot(); return true;
    case VK_F10: toggleRecording(); return true;
    case VK_RETURN:
        if (!alt) return false;
        backend().toggleFullscreen();
        return true;
    case VK_F4:
        if (!alt) return false;
        input::close();
        return true;
    default: return false;
    }
}

}  // namespace qmp::platform_keys
