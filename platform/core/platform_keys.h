// The platform's own keys: what they do is the same on every host, and the
// program never sees them. Every such key is listed here, in one table.
//
//   F12, Print Screen   the visible picture as a numbered PNG (core/screenshot.h)
//   Alt+Enter           between full screen and a window
//   Alt+F4              the window's close button
#pragma once

namespace qmp::platform_keys {

// Does what the key does and returns true when it is one of the platform's keys.
bool handle(int virtualKey, bool alt);

}  // namespace qmp::platform_keys
