#include "backend/web/keymap.h"

#include <windows.h>

#include <array>
#include <utility>

namespace qmp::web {
namespace {

constexpr std::array<std::pair<std::string_view, int>, 16> kNamedKeys{{
    {"ArrowLeft", VK_LEFT},     {"ArrowRight", VK_RIGHT},     {"ArrowUp", VK_UP},     {"ArrowDown", VK_DOWN},
    {"ShiftLeft", VK_SHIFT},    {"ShiftRight", VK_SHIFT},     {"ControlLeft", VK_CONTROL},
    {"ControlRight", VK_CONTROL}, {"AltLeft", VK_MENU},       {"AltRight", VK_MENU},  {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},        {"Enter", VK_RETURN},         {"NumpadEnter", VK_RETURN}, {"Tab", VK_TAB},
    {"Backspace", VK_BACK},
}};

// "F1" .. "F24", "Digit0" .. "Digit9", "KeyA" .. "KeyZ": the number or letter after the prefix.
int suffixAfter(std::string_view code, std::string_view prefix) {
    if (code.size() <= prefix.size() || code.substr(0, prefix.size()) != prefix) return -1;
    int value = 0;
    for (char c : code.substr(prefix.size())) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

int virtualKeyOf(std::string_view code, std::string_view key) {
    for (const auto& [name, virtualKey] : kNamedKeys)
        if (code == name) return virtualKey;
    if (code == "PrintScreen") return VK_SNAPSHOT;
    if (const int f = suffixAfter(code, "F"); f >= 1 && f <= 12) return VK_F1 + (f - 1);
    if (const int digit = suffixAfter(code, "Digit"); digit >= 0 && digit <= 9) return '0' + digit;
    if (code.size() == 4 && code.substr(0, 3) == "Key" && code[3] >= 'A' && code[3] <= 'Z') {
        // The letter the layout puts there (Y and Z swap places in some), else the place's own.
        if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') return 'A' + (key[0] - 'a');
        if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') return key[0];
        return code[3];
    }
    return 0;
}

bool leaveToBrowser(int virtualKey, bool ctrlOrMeta) {
    const bool letterOrDigit = (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
    return ctrlOrMeta && (letterOrDigit || virtualKey == VK_TAB);
}

}  // namespace qmp::web
