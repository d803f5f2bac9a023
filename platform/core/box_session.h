// A modal message box, the same on every host: an answer the script stored
// for it comes first; else the box is drawn over the dimmed picture (where the
// backend shows frames) and the modal loop runs until a key, a click, a
// scripted answer, the end of the run or the close button answers it.
#pragma once

#include <string>

namespace qmp::boxes {

// The answer of a box of `type` (MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO)
// with this text and caption.
int show(const std::u32string& text, const std::u32string& caption, unsigned type);

// `answer` when the box has a button for it, else its default answer (with a
// warning on stderr: a script answered a box it did not expect).
int fit(int answer, unsigned type);

}  // namespace qmp::boxes
