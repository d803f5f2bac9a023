#include "core/script.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <deque>
#include <filesystem>

#include "core/exclusive.h"
#include "core/keyboard.h"
#include "core/reset.h"
#include "user/input.h"

namespace qmp::script {
namespace {

struct ScriptState {
    std::deque<ScriptEvent> events;  // earliest first
    std::deque<int> answers;
    std::vector<CaptureRecord> captures;
    std::string shotsDir;
    uint32_t idleLimit = 0;
    bool ended = false;
};

ScriptState& state() {
    static ScriptState s;
    return s;
}

const ResetHook resetScript([] { state() = ScriptState{}; });

// Signed distance on the wrapping clock: negative when a comes before b.
int32_t timeOrder(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b); }

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool allDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

bool parseTime(const std::string& word, uint32_t* ms) {
    if (!allDigits(word) || word.size() > 10) return false;
    unsigned long long value = std::stoull(word);
    if (value > 0xFFFFFFFFull) return false;
    *ms = static_cast<uint32_t>(value);
    return true;
}

// The line without its comment: '#' at the start or after a blank.
std::string withoutComment(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1]))))
            return line.substr(0, i);
    }
    return line;
}

std::string trim(const std::string& text) {
    size_t first = 0;
    while (first < text.size() && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    size_t last = text.size();
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

// Splits off the first word; `rest` keeps everything after it, trimmed.
std::string firstWord(const std::string& text, std::string* rest) {
    std::string t = trim(text);
    size_t end = 0;
    while (end < t.size() && !std::isspace(static_cast<unsigned char>(t[end]))) ++end;
    *rest = trim(t.substr(end));
    return t.substr(0, end);
}

int answerCode(const std::string& word) {
    std::string w = lower(word);
    if (w == "ok") return IDOK;
    if (w == "yes") return IDYES;
    if (w == "no") return IDNO;
    if (w == "cancel") return IDCANCEL;
    return 0;
}

// Parses one line (comment removed, not blank) into one or two events.
bool parseLine(const std::string& line, uint32_t origin, std::vector<ScriptEvent>* out, std::string* why) {
    std::string rest;
    std::string timeWord = firstWord(line, &rest);
    uint32_t time = 0;
    if (!parseTime(timeWord, &time)) {
        *why = "the time must be a number of milliseconds, not '" + timeWord + "'";
        return false;
    }
    std::string argument;
    std::string kindWord = firstWord(rest, &argument);
    if (kindWord.empty()) {
        *why = "an event must follow the time";
        return false;
    }
    std::string kind = lower(kindWord);
    ScriptEvent event;
    event.time = origin + time;

    auto noArgument = [&](EventKind k) {
        if (!argument.empty()) {
            *why = "unexpected '" + argument + "' after '" + kindWord + "'";
            return false;
        }
        event.kind = k;
        out->push_back(event);
        return true;
    };
    auto oneWord = [&](std::string* word) {
        std::string extra;
        *word = firstWord(argument, &extra);
        if (word->empty()) {
            *why = "'" + kindWord + "' needs " + (kind == "answer" ? "an answer" : "a key");
            return false;
        }
        if (!extra.empty()) {
            *why = "unexpected '" + extra + "' after '" + *word + "'";
            return false;
        }
        return true;
    };

    if (kind == "down" || kind == "up" || kind == "press") {
        std::string key;
        if (!oneWord(&key)) return false;
        int code = keyCode(key);
        if (code < 0) {
            *why = "unknown key '" + key + "'";
            return false;
        }
        event.value = code;
        event.kind = kind == "up" ? EventKind::KeyUp : EventKind::KeyDown;
        out->push_back(event);
        if (kind == "press") {
            event.kind = EventKind::KeyUp;
            out->push_back(event);
        }
        return true;
    }
    if (kind == "answer") {
        std::string word;
        if (!oneWord(&word)) return false;
        event.value = answerCode(word);
        if (event.value == 0) {
            *why = "the answer must be ok, yes, no or cancel, not '" + word + "'";
            return false;
        }
        event.kind = EventKind::Answer;
        out->push_back(event);
        return true;
    }
    if (kind == "capture") {
        if (argument.empty()) {
            *why = "'capture' needs a file name";
            return false;
        }
        event.kind = EventKind::Capture;
        event.text = argument;
        out->push_back(event);
        return true;
    }
    if (kind == "activate") return noArgument(EventKind::Activate);
    if (kind == "deactivate") return noArgument(EventKind::Deactivate);
    if (kind == "close") return noArgument(EventKind::Close);
    if (kind == "lose") return noArgument(EventKind::LoseSurfaces);
    if (kind == "end") return noArgument(EventKind::End);
    *why = "unknown event '" + kindWord + "'";
    return false;
}

}  // namespace

int keyCode(const std::string& name) {
    if (name.size() == 1) {
        unsigned char c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return c;  // VK codes of digits and letters
        return -1;
    }
    if (allDigits(name)) {
        if (name.size() > 3) return -1;
        int code = std::stoi(name);
        return code >= 1 && code <= 254 ? code : -1;
    }
    static const struct {
        const char* name;
        int code;
    } named[] = {
        {"left", VK_LEFT},       {"right", VK_RIGHT},  {"up", VK_UP},          {"down", VK_DOWN},
        {"shift", VK_SHIFT},     {"ctrl", VK_CONTROL}, {"control", VK_CONTROL}, {"alt", VK_MENU},
        {"esc", VK_ESCAPE},      {"escape", VK_ESCAPE}, {"space", VK_SPACE},   {"enter", VK_RETURN},
        {"return", VK_RETURN},   {"tab", VK_TAB},      {"backspace", VK_BACK},
    };
    std::string key = lower(name);
    for (const auto& entry : named)
        if (key == entry.name) return entry.code;
    if (key.size() >= 2 && key[0] == 'f' && allDigits(key.substr(1)) && key.size() <= 3) {
        int n = std::stoi(key.substr(1));
        if (n >= 1 && n <= 12) return VK_F1 + n - 1;
    }
    return -1;
}

bool parse(const std::string& text, uint32_t origin, std::vector<ScriptEvent>* events, std::string* error) {
    std::vector<ScriptEvent> parsed;
    size_t start = 0;
    int number = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        ++number;
        std::string line = withoutComment(text.substr(start, end - start));
        start = end + 1;
        if (trim(line).empty()) continue;
        std::string why;
        if (!parseLine(line, origin, &parsed, &why)) {
            if (error) *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    events->insert(events->end(), parsed.begin(), parsed.end());
    return true;
}

void schedule(const ScriptEvent& event) {
    std::deque<ScriptEvent>& events = state().events;
    // After every event at or before its time: equal times keep their order.
    size_t at = events.size();
    while (at > 0 && timeOrder(events[at - 1].time, event.time) > 0) --at;
    events.insert(events.begin() + static_cast<std::ptrdiff_t>(at), event);
}

size_t pending() { return state().events.size(); }

const ScriptEvent* next() { return state().events.empty() ? nullptr : &state().events.front(); }

ScriptEvent take() {
    ScriptEvent event = std::move(state().events.front());
    state().events.pop_front();
    return event;
}

bool isDue(const ScriptEvent& event, uint32_t now) { return timeOrder(event.time, now) <= 0; }

bool anyPending(const std::function<bool(const ScriptEvent&)>& matches) {
    for (const ScriptEvent& event : state().events)
        if (matches(event)) return true;
    return false;
}

void deliver(const ScriptEvent& event) {
    switch (event.kind) {
    case EventKind::KeyDown: keyboard::scriptKeyDown(event.value); break;
    case EventKind::KeyUp: keyboard::scriptKeyUp(event.value); break;
    case EventKind::Activate: input::activate(true); break;
    case EventKind::Deactivate:
        keyboard::stopRepeating();
        input::activate(false);
        break;
    case EventKind::Close: input::close(); break;
    case EventKind::Answer: storeAnswer(event.value); break;
    case EventKind::LoseSurfaces: exclusive::loseSurfaces(); break;
    case EventKind::Capture: {
        std::string error;
        if (!capture(event.text, &error))
            std::fprintf(stderr, "capture %s at %u ms failed: %s\n", event.text.c_str(),
                         static_cast<unsigned>(event.time), error.c_str());
        break;
    }
    case EventKind::End:
        markEnded();
        input::close();
        break;
    }
}

void storeAnswer(int answer) { state().answers.push_back(answer); }

std::optional<int> takeAnswer() {
    if (state().answers.empty()) return std::nullopt;
    int answer = state().answers.front();
    state().answers.pop_front();
    return answer;
}

bool ended() { return state().ended; }
void markEnded() { state().ended = true; }

void setShotsDir(const std::string& dir) { state().shotsDir = dir; }
const std::string& shotsDir() { return state().shotsDir; }

std::string capturePath(const std::string& name) {
    std::filesystem::path path(name);
    if (path.is_absolute() || state().shotsDir.empty()) return name;
    return (std::filesystem::path(state().shotsDir) / path).string();
}

bool capture(const std::string& name, std::string* error) {
    std::string path = capturePath(name);
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
    platform::RgbImage picture = platform::visiblePicture();
    if (!platform::savePng(picture, path, error)) return false;
    state().captures.push_back({platform::now(), path});
    return true;
}

const std::vector<CaptureRecord>& captures() { return state().captures; }

void setIdleLimit(uint32_t ms) { state().idleLimit = ms; }
uint32_t idleLimit() { return state().idleLimit; }

}  // namespace qmp::script

namespace platform {

void schedule(const ScriptEvent& event) { qmp::script::schedule(event); }

bool loadScript(const std::string& text, std::string* error, uint32_t origin) {
    std::vector<ScriptEvent> events;
    if (!qmp::script::parse(text, origin, &events, error)) return false;
    for (const ScriptEvent& event : events) qmp::script::schedule(event);
    return true;
}

size_t pendingEvents() { return qmp::script::pending(); }

}  // namespace platform
