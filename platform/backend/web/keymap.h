// The page's keys in Windows' terms.
#pragma once

#include <string_view>

namespace qmp::web {

// The virtual-key code of a browser KeyboardEvent from its `code` (the key's
// place on the keyboard) and `key` (what the layout makes of it); 0 for a key
// the platform does not report. Letters follow the layout, as on Windows.
int virtualKeyOf(std::string_view code, std::string_view key);

// Whether the browser keeps the key from the page (a shortcut such as Ctrl+R
// or Ctrl+T stays the browser's; every other key the demo reads goes to it alone).
bool leaveToBrowser(int virtualKey, bool ctrlOrMeta);

}  // namespace qmp::web
