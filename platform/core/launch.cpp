#include "core/launch.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

namespace qmp {
namespace {

bool parseNumber(const std::string& text, long long* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 0);
    if (end == nullptr || *end != '\0') return false;
    *value = v;
    return true;
}

bool allDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// A 32-bit error code: decimal, negative decimal, or 0x followed by hex digits.
bool parseErrorCode(const std::string& text, long* code) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const bool negative = !hex && !text.empty() && text[0] == '-';
    const std::string digits = hex ? text.substr(2) : negative ? text.substr(1) : text;
    if (hex ? digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos || digits.size() > 8
            : !allDigits(digits) || digits.size() > 10)
        return false;
    long long value = std::strtoll(digits.c_str(), nullptr, hex ? 16 : 10);
    if (negative) value = -value;
    if (value < INT32_MIN || value > 0xFFFFFFFFLL) return false;
    *code = static_cast<long>(static_cast<int32_t>(static_cast<uint32_t>(value)));
    return true;
}

bool parseFault(const std::string& plan, FaultOption* fault, std::string* error) {
    // NAME[:OCCURRENCE[:ERROR]]; a COM method's name holds "::" itself.
    size_t method = plan.find("::");
    size_t first = plan.find(':', method == std::string::npos ? 0 : method + 2);
    fault->name = plan.substr(0, first);
    if (fault->name.empty()) {
        *error = "--fail needs a call name";
        return false;
    }
    if (fault->name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_:") !=
            std::string::npos ||
        fault->name.back() == ':') {
        *error = "--fail call name is malformed: " + plan;
        return false;
    }
    if (first == std::string::npos) return true;
    std::string rest = plan.substr(first + 1);
    size_t second = rest.find(':');
    const std::string occurrence = rest.substr(0, second);
    if (!allDigits(occurrence) || occurrence.size() > 10 || std::stoll(occurrence) < 1 ||
        std::stoll(occurrence) > 1000000000) {
        *error = "--fail occurrence must be a positive number: " + plan;
        return false;
    }
    fault->occurrence = static_cast<int>(std::stoll(occurrence));
    if (second != std::string::npos && !parseErrorCode(rest.substr(second + 1), &fault->error)) {
        *error = "--fail error must be a 32-bit number: " + plan;
        return false;
    }
    return true;
}

bool displayPresent() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

bool parseLaunchOptions(const std::vector<std::string>& args, LaunchOptions* options, std::string* error) {
    LaunchOptions result;
    result.headless = !displayPresent();
    const char* forced = std::getenv("QUILLMERE_HEADLESS");
    bool headlessAsked = forced != nullptr && std::string(forced) == "1";  // or --headless below
    if (headlessAsked) result.headless = true;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= args.size()) {
                *error = arg + " needs a value";
                return false;
            }
            *out = args[++i];
            return true;
        };
        if (arg == "--headless") {
            result.headless = true;
            headlessAsked = true;
        } else if (arg == "--window") {
            result.windowed = true;
        } else if (arg == "--tour") {
            result.tour = true;
        } else if (arg == "--call-log") {
            result.callLog = true;
        } else if (arg == "--scale") {
            std::string mode;
            if (!value(&mode)) return false;
            std::optional<ScaleMode> named = scaleModeNamed(mode);
            if (!named) {
                *error = "--scale must be fit, integer or stretch, not '" + mode + "'";
                return false;
            }
            result.scale = *named;
        } else if (arg == "--show-fps") {
            result.showFps = true;
        } else if (arg == "--script") {
            if (!value(&result.scriptPath)) return false;
        } else if (arg == "--shots") {
            if (!value(&result.shotsDir)) return false;
        } else if (arg == "--report") {
            if (!value(&result.reportPath)) return false;
        } else if (arg == "--data") {
            if (!value(&result.dataDir)) return false;
        } else if (arg == "--record") {
            if (!value(&result.recordPath)) return false;
        } else if (arg == "--record-every") {
            std::string text;
            if (!value(&text)) return false;
            if (!allDigits(text) || text.size() > 3 || std::stoi(text) < 1) {
                *error = "--record-every must be a number from 1 to 999";
                return false;
            }
            result.recordEvery = std::stoi(text);
        } else if (arg == "--clock-start") {
            std::string text;
            long long start = 0;
            if (!value(&text)) return false;
            if (!parseNumber(text, &start) || start < 0 || start > 0xFFFFFFFFLL) {
                *error = "--clock-start must be a number from 0 to 4294967295";
                return false;
            }
            result.clockStart = static_cast<uint32_t>(start);
        } else if (arg == "--fail") {
            std::string plan;
            FaultOption fault;
            if (!value(&plan) || !parseFault(plan, &fault, error)) return false;
            result.faults.push_back(fault);
        } else if (arg == "--") {
            result.passThrough.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else {
            *error = "unknown option: " + arg;
            return false;
        }
    }
    // --window without a display still tries one, to say why there is none.
    if (result.windowed && !headlessAsked) result.headless = false;
    *options = result;
    return true;
}

const char* launchUsage() {
    return "Options (for the platform; the demo itself has no command line):\n"
           "  --help                this text, and exit\n"
           "  --version             the program's name and version, and exit\n"
           "  --headless            run without a window (virtual clock, scripted input)\n"
           "  --window              open a window instead of taking the whole screen\n"
           "  --tour                run the built-in tour (the default when headless without --script)\n"
           "  --scale fit|integer|stretch\n"
           "                        how the window fills the screen: the largest 4:3 picture with sharp\n"
           "                        pixels (fit, the default), whole multiples only, or all of it\n"
           "  --show-fps            show pictures a second and their CPU time in the window\n"
           "  --script FILE         deliver the timed events of FILE\n"
           "  --shots DIR           folder for captures named in the script or tour\n"
           "  --report FILE         write a report of the run (message boxes, captures, exit code)\n"
           "  --data DIR            read the picture files from DIR\n"
           "  --record FILE.gif     record the screen as an animated GIF (in a window F10 stops and starts it)\n"
           "  --record-every N      keep one presentation in N in the recording (default 1)\n"
           "  --call-log            include every platform call in the report\n"
           "  --fail NAME[:N[:ERR]] make the N-th call of NAME fail (with the 32-bit error ERR)\n"
           "  --clock-start MS      start the virtual clock at MS\n";
}

const LaunchOptions& launchOptions() {
    static const LaunchOptions options = [] {
        std::vector<std::string> args;
        std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
        std::string all((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
        size_t start = 0;
        bool first = true;
        while (start < all.size()) {
            size_t end = all.find('\0', start);
            if (end == std::string::npos) end = all.size();
            if (!first) args.push_back(all.substr(start, end - start));
            first = false;
            start = end + 1;
        }
        LaunchOptions parsed;
        std::string ignored;
        if (!parseLaunchOptions(args, &parsed, &ignored)) {
            // Not our command line (a test runner's, say): keep only the display rule.
            parseLaunchOptions({}, &parsed, &ignored);
        }
        return parsed;
    }();
    return options;
}

}  // namespace qmp
