// A long, seeded stream of random key events from the demo's key table: every
// key it reacts to, held ones (arrows, Shift, Ctrl) held for a while and
// sometimes repeating, Esc's quit prompt answered no. The same stream drives the
// in-process long run directly and the whole program through a script.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace qmrel {

struct KeyEvent {
    uint32_t time = 0;
    enum Kind { Down, Up, AnswerNo } kind = Down;
    int key = 0;  // virtual-key code
};

struct KeyInfo {
    int key;
    const char* scriptName;
    bool held;
};

inline const std::vector<KeyInfo>& keyTable() {
    static const std::vector<KeyInfo> keys = {
        {VK_SHIFT, "Shift", true}, {VK_CONTROL, "Ctrl", true}, {VK_ESCAPE, "Esc", false},
        {VK_SPACE, "Space", false}, {VK_LEFT, "Left", true},   {VK_RIGHT, "Right", true},
        {VK_UP, "Up", true},        {VK_DOWN, "Down", true},    {'1', "1", false},
        {'2', "2", false},          {VK_F1, "F1", false},       {VK_F2, "F2", false},
        {VK_F3, "F3", false},       {VK_F4, "F4", false},       {VK_F5, "F5", false},
        {VK_F6, "F6", false},       {VK_F7, "F7", false},       {VK_F8, "F8", false},
        {VK_F9, "F9", false},
    };
    return keys;
}

inline const char* scriptNameOf(int key) {
    for (const KeyInfo& info : keyTable())
        if (info.key == key) return info.scriptName;
    return "?";
}

// Key events from `start` to `end` ms, sorted by time (ties keep their order).
// On average one new key every `meanGapMs`; held keys stay down 10 ms to 2 s and
// repeat now and then; the prompt gets its no 50 ms after Esc, and no new key
// comes before that.
inline std::vector<KeyEvent> randomKeyEvents(uint32_t seed, uint32_t start, uint32_t end, uint32_t meanGapMs = 150) {
    std::mt19937 random(seed);
    std::vector<KeyEvent> events;
    std::uniform_int_distribution<size_t> pickKey(0, keyTable().size() - 1);
    std::uniform_int_distribution<uint32_t> gap(1, 2 * meanGapMs);
    std::uniform_int_distribution<uint32_t> holdFor(10, 2000);
    std::uniform_int_distribution<int> repeats(0, 4);
    for (uint32_t t = start + gap(random); t + 2100 < end; t += gap(random)) {
        const KeyInfo& info = keyTable()[pickKey(random)];
        events.push_back({t, KeyEvent::Down, info.key});
        if (info.key == VK_ESCAPE) {
            events.push_back({t, KeyEvent::Up, info.key});
            events.push_back({t + 50, KeyEvent::AnswerNo, 0});
            t += 60;  // a second Esc while the prompt is open would answer it instead
        } else if (info.held) {
            uint32_t release = t + holdFor(random);
            int count = repeats(random);
            for (int i = 1; i <= count; ++i) events.push_back({t + (release - t) * i / (count + 1), KeyEvent::Down, info.key});
            events.push_back({release, KeyEvent::Up, info.key});
        } else {
            events.push_back({t, KeyEvent::Up, info.key});
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const KeyEvent& a, const KeyEvent& b) { return a.time < b.time; });
    return events;
}

// The events as script lines.
inline std::string scriptOf(const std::vector<KeyEvent>& events) {
    std::string script;
    script.reserve(events.size() * 16);
    for (const KeyEvent& event : events) {
        script += std::to_string(event.time);
        switch (event.kind) {
        case KeyEvent::Down: script += std::string(" down ") + scriptNameOf(event.key); break;
        case KeyEvent::Up: script += std::string(" up ") + scriptNameOf(event.key); break;
        case KeyEvent::AnswerNo: script += " answer no"; break;
        }
        script += '\n';
    }
    return script;
}

// Virtual milliseconds of a long run: QM_LONGRUN_MINUTES (fractions allowed),
// else `fallbackMinutes`.
inline uint32_t longRunMs(double fallbackMinutes) {
    const char* text = std::getenv("QM_LONGRUN_MINUTES");
    double minutes = text != nullptr && *text != '\0' ? std::strtod(text, nullptr) : fallbackMinutes;
    if (!(minutes > 0 && minutes <= 24 * 60)) minutes = fallbackMinutes;
    return static_cast<uint32_t>(minutes * 60000) / 10 * 10;
}

inline uint32_t longRunSeed() {
    const char* text = std::getenv("QM_LONGRUN_SEED");
    return text != nullptr && *text != '\0' ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : 1234567u;
}

}  // namespace qmrel
