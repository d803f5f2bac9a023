// The platform's own keys: what they do is the same on every host, and the
// program never sees them. Every such key is listed here, in one table.
//
//   F12, Print Screen   the visible picture as a numbered PNG (core/screenshot.h)
//   F10                 start or stop a GIF recording (core/gif_recorder.h), numbered
//                       Quillmere-0001.gif, ... beside the screenshots
//   Alt+Enter           between full screen and a window
//   Alt+F4              the window's close button
#pragma once

#include <string>

namespace qmp::platform_keys {

// "Quillmere-0001.gif": the name of F10's recording number `number`.
std::string recordingName(int number);

// Does what the key does and returns true when it is one of the platform's keys.
bool handle(int virtualKey, bool alt);

}  // namespace qmp::platform_keys
