#include "core/platform_keys.h"

#include <windows.h>

#include <filesystem>

#include "core/backend.h"
#include "core/overlay.h"
#include "core/presentation.h"
#include "core/reset.h"
#include "core/screenshot.h"
#include "user/input.h"

namespace qmp::platform_keys {
namespace {

ScreenshotWriter& screenshots() {
    static ScreenshotWriter writer;
    return writer;
}

const ResetHook resetScreenshots([] { screenshots() = ScreenshotWriter{}; });

void screenshot() {
    const platform::RgbImage picture = presentation::visibleRgb();
    std::string path;
    std::string error;
    if (picture.width <= 0)
        overlay::say("Screenshot not saved: there is no picture yet");
    else if (screenshots().save(picture, &path, &error))
        overlay::say("Screenshot saved: " + std::filesystem::path(path).lexically_normal().string());
    else
        overlay::say("Screenshot not saved: " + error);
    presentation::refreshOverlay();  // at once, also while the program shows nothing new
}

}  // namespace

bool handle(int virtualKey, bool alt) {
    switch (virtualKey) {
    case VK_F12:
    case VK_SNAPSHOT: screenshot(); return true;
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
