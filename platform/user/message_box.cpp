// USER32's MessageBoxA (windows.h): a modal box over the program's picture
// (core/box_session.h). Nothing else runs while it is open; every box shown is
// recorded. Also the boxes' buttons and answers of user/input.h.
#include <windows.h>

#include <vector>

#include "core/box_session.h"
#include "core/clock.h"
#include "core/screen.h"
#include "core/text.h"
#include "core/trace.h"
#include "kernel/last_error.h"
#include "user/input.h"
#include "user/user_state.h"

namespace qmp::input {
namespace {

constexpr unsigned kYesNoCancel = 3;  // MB_YESNOCANCEL
constexpr unsigned kDefaultButtonMask = 0x00000F00;  // MB_DEFBUTTON1..4

std::vector<int> buttons(unsigned type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK: return {IDOK};
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case kYesNoCancel: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    default: return {};
    }
}

}  // namespace

bool boxTypeSupported(unsigned type) { return !buttons(type).empty(); }

bool boxOffers(unsigned type, int answer) {
    for (int button : buttons(type))
        if (button == answer) return true;
    return false;
}

int boxDefaultAnswer(unsigned type) {
    if (boxOffers(type, IDCANCEL)) return IDCANCEL;
    if (boxOffers(type, IDNO)) return IDNO;
    return IDOK;
}

int boxKeyAnswer(unsigned type, int virtualKey) {
    std::vector<int> offered = buttons(type);
    if (offered.empty()) return 0;
    switch (virtualKey) {
    case VK_RETURN: {
        size_t index = (type & kDefaultButtonMask) >> 8;
        return offered[index < offered.size() ? index : 0];
    }
    case 'Y': return boxOffers(type, IDYES) ? IDYES : 0;
    case 'N': return boxOffers(type, IDNO) ? IDNO : 0;
    case VK_ESCAPE: return boxDefaultAnswer(type);
    default: return 0;
    }
}

}  // namespace qmp::input

namespace platform {
const std::vector<MessageBoxRecord>& messageBoxes() { return qmp::user::state().boxes; }
uint64_t messageBoxCount() { return qmp::user::state().boxCount; }
}  // namespace platform

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    QMP_TRACE_VALUE("MessageBoxA", 0);
    if (hWnd != nullptr && qmp::user::findWindow(hWnd) == nullptr) {
        qmp::kernel::setLastError(qmp::kernel::ERROR_INVALID_WINDOW_HANDLE_CODE);
        return 0;
    }
    if (!qmp::input::boxTypeSupported(uType)) {
        qmp::kernel::setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    platform::MessageBoxRecord record;
    record.time = qmp::clock::now();
    const std::u32string text = qmp::text::decodeAnsi(lpText != nullptr ? lpText : "");
    const std::u32string caption = qmp::text::decodeAnsi(lpCaption != nullptr ? lpCaption : "Error");  // Windows' default caption
    record.text = qmp::text::toUtf8(text);
    record.caption = qmp::text::toUtf8(caption);
    record.type = uType;

    qmp::screen::refresh();  // the box opens over what the program last drew
    int answer = qmp::boxes::show(text, caption, uType);
    if (!qmp::input::boxOffers(uType, answer)) answer = qmp::input::boxDefaultAnswer(uType);
    record.answer = answer;
    qmp::user::UserState& user = qmp::user::state();
    ++user.boxCount;
    if (user.boxes.size() < platform::kMessageBoxRecordLimit) user.boxes.push_back(std::move(record));
    return answer;
}
