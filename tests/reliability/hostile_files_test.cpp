// Picture files a user replaced with something hostile: cut off at every header
// and row boundary, other bit depths, zero, negative, huge and overflowing
// sizes, sheets too small for their layout, and random bytes. The program runs
// headless on each, in a folder where one of its three pictures is the broken
// one, and must either run normally or stop its start-up with "Game initial
// Failed!" and the caption of the stage that owns the broken file. It must never
// crash, hang, leak or read outside a buffer (the asan build checks the last two).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "program_runs.h"
#include "support/bmp_file.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const char* const PICTURES[] = {"bckgnd.bmp", "Sprites.bmp", "MsgWnd.bmp"};

// What a broken file may lead to.
enum class Outcome {
    Runs,          // start-up succeeds and the script runs to its end
    LoadFails,     // "LoadImages()"
    DrawFails,     // "DrawImageToSurfaces()"
    FailsOrRuns,   // any of the three: random content
};

struct HostileCase {
    std::string name;    // for failure messages
    std::string file;    // which of the three pictures it replaces
    Bytes bytes;         // its content
    Outcome outcome;
    bool directory = false;  // a folder of that name instead of a file
};

// A short run that shows every picture: the sprites (standing, walking, the
// see-through centre animation), the message picture under the quit prompt,
// fireworks, and a new cave from the background sheet.
const char* const SHORT_SCRIPT =
    "30 press F3\n"
    "40 down Right\n90 up Right\n"
    "120 press Esc\n130 answer no\n"
    "160 press F4\n170 press Space\n"
    "200 press F5\n"
    "240 press F9\n300 press F9\n"
    "340 end\n";
constexpr uint32_t SHORT_SCRIPT_END = 340;

Bytes readGood(const std::string& name) {
    std::ifstream file(std::string(QM_RUNTIME_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t get32(const Bytes& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}
void set32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
void set16(Bytes& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

// Header field offsets in the file.
constexpr size_t BF_TYPE = 0, BF_OFF_BITS = 10, BI_SIZE = 14, BI_WIDTH = 18, BI_HEIGHT = 22, BI_PLANES = 26,
                 BI_BIT_COUNT = 28, BI_COMPRESSION = 30, BI_CLR_USED = 46, ROWS = 1078;

// The good picture decoded, to crop and re-encode.
testbmp::Picture decode(const Bytes& bytes) {
    testbmp::Picture picture;
    picture.width = static_cast<int32_t>(get32(bytes, BI_WIDTH));
    picture.height = static_cast<int32_t>(get32(bytes, BI_HEIGHT));
    for (int i = 0; i < 256; ++i)
        picture.palette[i] = {bytes[54 + 4 * i + 2], bytes[54 + 4 * i + 1], bytes[54 + 4 * i]};
    size_t stride = (static_cast<size_t>(picture.width) + 3) & ~size_t{3};
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint8_t* row = bytes.data() + ROWS + (picture.height - 1 - y) * stride;
        std::copy(row, row + picture.width, picture.pixels.begin() + static_cast<size_t>(y) * picture.width);
    }
    return picture;
}

// The top-left w x h of a picture (w may exceed it: the new columns take index 0).
Bytes cropped(const Bytes& good, int32_t w, int32_t h) {
    testbmp::Picture from = decode(good);
    testbmp::Picture to = from;
    to.width = w;
    to.height = h;
    to.pixels.assign(static_cast<size_t>(w) * h, 0);
    for (int32_t y = 0; y < h && y < from.height; ++y)
        for (int32_t x = 0; x < w && x < from.width; ++x)
            to.pixels[static_cast<size_t>(y) * w + x] = from.pixels[static_cast<size_t>(y) * from.width + x];
    return testbmp::encode(to);
}

Bytes withField32(Bytes bytes, size_t at, uint32_t value) {
    set32(bytes, at, value);
    return bytes;
}
Bytes withField16(Bytes bytes, size_t at, uint16_t value) {
    set16(bytes, at, value);
    return bytes;
}
// Headers claiming a size, followed by `rowBytes` bytes of pixels (not enough for a big claim).
Bytes claimingSize(const Bytes& good, uint32_t width, uint32_t height, size_t rowBytes = 4096) {
    Bytes bytes(good.begin(), good.begin() + ROWS);
    set32(bytes, BI_WIDTH, width);
    set32(bytes, BI_HEIGHT, height);
    bytes.resize(ROWS + rowBytes, 0x11);
    return bytes;
}
Bytes prefix(const Bytes& good, size_t length) { return Bytes(good.begin(), good.begin() + length); }

// The folder of one run: the broken file and links to the two good ones.
bool prepareFolder(const fs::path& folder, const HostileCase& hostile) {
    std::error_code error;
    for (const char* name : PICTURES) {
        if (hostile.file == name) continue;
        fs::create_symlink(fs::path(QM_RUNTIME_DIR) / name, folder / name, error);
        if (error) return false;
    }
    if (hostile.directory) return fs::create_directory(folder / hostile.file, error);
    return testbmp::writeFile((folder / hostile.file).string(), hostile.bytes);
}

std::string judge(const HostileCase& hostile, const ProgramResult& result) {
    std::string problem = qmrel::runProblem(result);
    if (!problem.empty()) return problem;
    const ProgramReport& report = result.report;
    bool failed = qmrel::boxesWithText(report, qmrel::STARTUP_FAILED) > 0;
    auto failedWith = [&](const char* caption) { return qmrel::failedStartupProblem(report, caption); };
    auto ranToTheEnd = [&]() -> std::string {
        if (failed) return "start-up failed: " + report.boxes[0].caption;
        for (const platform::MessageBoxRecord& box : report.boxes)
            if (box.caption != "Keyboard") return "unexpected box \"" + box.text + "\" / \"" + box.caption + "\"";
        if (report.boxes.size() != 1) return "the quit prompt (over the message picture) did not show once";
        if (report.clock < SHORT_SCRIPT_END) return "ended early, at " + std::to_string(report.clock) + " ms";
        if (report.presents == 0) return "nothing was presented";
        return {};
    };
    switch (hostile.outcome) {
    case Outcome::Runs: return ranToTheEnd();
    case Outcome::LoadFails: return failedWith("LoadImages()");
    case Outcome::DrawFails: return failedWith("DrawImageToSurfaces()");
    case Outcome::FailsOrRuns:
        if (!failed) return ranToTheEnd();
        if (failedWith("LoadImages()").empty() || failedWith("DrawImageToSurfaces()").empty()) return {};
        return failedWith("LoadImages()");
    }
    return "unknown outcome";
}

// Runs every case, two programs at a time, and reports what went wrong.
void runCases(const std::vector<HostileCase>& cases) {
    ASSERT_FALSE(cases.empty());
    std::vector<std::string> problems = qmrel::runEach(cases.size(), [&](size_t i) -> std::string {
        const HostileCase& hostile = cases[i];
        TempFolder folder;
        if (!folder.valid() || !prepareFolder(folder.path(), hostile)) return hostile.name + ": cannot prepare its folder";
        ProgramRun run;
        run.script = SHORT_SCRIPT;
        run.workingDir = folder.path().string();
        run.timeoutMs = 120000;
        std::string problem = judge(hostile, runProgram(run));
        return problem.empty() ? problem : hostile.name + ": " + problem;
    });
    qmrel::note(std::to_string(cases.size()) + " hostile files tried");
    EXPECT_TRUE(problems.empty()) << qmrel::summarise(problems);
}

// The file cut off at every header boundary (and one byte either side), at
// every row boundary, and one byte short of whole. Every cut fails to load.
std::vector<HostileCase> truncations(const std::string& file) {
    Bytes good = readGood(file);
    std::vector<HostileCase> cases;
    if (good.size() <= ROWS) return cases;
    auto add = [&](size_t length) {
        cases.push_back({file + " cut at " + std::to_string(length), file, prefix(good, length), Outcome::LoadFails});
    };
    for (size_t boundary : {size_t{0}, size_t{14}, size_t{54}, ROWS}) {
        if (boundary > 0) add(boundary - 1);
        add(boundary);
        add(boundary + 1);
    }
    const size_t width = get32(good, BI_WIDTH);
    const size_t height = get32(good, BI_HEIGHT);
    const size_t stride = (width + 3) & ~size_t{3};
    for (size_t row = 1; row < height; ++row) add(ROWS + row * stride);
    add(good.size() - 1);
    return cases;
}

// Other bit depths, and the sizes a loader must refuse or survive.
std::vector<HostileCase> headerCases(const std::string& file) {
    Bytes good = readGood(file);
    std::vector<HostileCase> cases;
    auto add = [&](const std::string& what, Bytes bytes, Outcome outcome) {
        cases.push_back({file + " " + what, file, std::move(bytes), outcome});
    };
    for (uint16_t bits : {0, 1, 4, 7, 9, 16, 24, 32, 0xFFFF})
        add(std::to_string(bits) + "-bit", withField16(good, BI_BIT_COUNT, bits), Outcome::LoadFails);

    add("negative width", withField32(good, BI_WIDTH, static_cast<uint32_t>(-static_cast<int32_t>(get32(good, BI_WIDTH)))),
        Outcome::LoadFails);
    add("top-down rows (negative height)",
        withField32(good, BI_HEIGHT, static_cast<uint32_t>(-static_cast<int32_t>(get32(good, BI_HEIGHT)))), Outcome::LoadFails);
    add("width -1", withField32(good, BI_WIDTH, 0xFFFFFFFF), Outcome::LoadFails);
    add("width INT32_MIN", withField32(good, BI_WIDTH, 0x80000000), Outcome::LoadFails);

    // Huge, and sizes whose product overflows 32 bits (to 0, 4, or past INT32_MAX).
    const uint32_t huge[][2] = {{0x7FFFFFFF, 1},   {1, 0x7FFFFFFF},     {0x7FFFFFFF, 0x7FFFFFFF}, {65536, 65536},
                                {65537, 65535},    {46341, 46341},      {0x40000001, 4},          {4, 0x40000001},
                                {16385, 16},       {16, 16385},         {16384, 16384},           {0x10000, 1},
                                {100000, 100000},  {0x01000000, 0x100}};
    for (const auto& size : huge)
        add("claiming " + std::to_string(size[0]) + " x " + std::to_string(size[1]), claimingSize(good, size[0], size[1]),
            Outcome::LoadFails);

    add("empty file", Bytes{}, Outcome::LoadFails);
    cases.push_back({file + " is a folder", file, {}, Outcome::LoadFails, true});

    // Fields the loader does not consult: the program runs as with the good file.
    add("without the BM signature", withField16(good, BF_TYPE, 0x5A4D), Outcome::Runs);
    add("pixel offset 0", withField32(good, BF_OFF_BITS, 0), Outcome::Runs);
    add("pixel offset past the end", withField32(good, BF_OFF_BITS, 0xFFFFFFF0), Outcome::Runs);
    add("header size 12", withField32(good, BI_SIZE, 12), Outcome::Runs);
    add("header size 124", withField32(good, BI_SIZE, 124), Outcome::Runs);
    add("no planes", withField16(good, BI_PLANES, 0), Outcome::Runs);
    add("marked RLE8", withField32(good, BI_COMPRESSION, 1), Outcome::Runs);
    add("16 colours used", withField32(good, BI_CLR_USED, 16), Outcome::Runs);
    add("2^32-1 colours used", withField32(good, BI_CLR_USED, 0xFFFFFFFF), Outcome::Runs);
    Bytes trailing = good;
    trailing.resize(good.size() + (1 << 20), 0xA5);
    add("with a megabyte of trailing bytes", trailing, Outcome::Runs);
    return cases;
}

// Random content: pure noise of random length, and noise behind headers that
// claim a small 8-bit picture. Seeded, so every run tries the same files.
std::vector<HostileCase> randomCases(const std::string& file, uint32_t seed, int count) {
    Bytes good = readGood(file);
    std::mt19937 random(seed);
    std::vector<HostileCase> cases;
    for (int i = 0; i < count; ++i) {
        Bytes bytes(std::uniform_int_distribution<size_t>(0, 3 * ROWS)(random));
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
        bool headed = i % 2 == 1;
        if (headed) {
            // Small sizes, some of them wholly present.
            uint32_t w = std::uniform_int_distribution<uint32_t>(0, 600)(random);
            uint32_t h = std::uniform_int_distribution<uint32_t>(0, 600)(random);
            bytes = claimingSize(good, w, h, std::uniform_int_distribution<size_t>(0, ((w + 3) & ~3u) * h + 8)(random));
            for (size_t at = ROWS; at < bytes.size(); ++at) bytes[at] = static_cast<uint8_t>(random());
        }
        cases.push_back({file + (headed ? " random rows #" : " random bytes #") + std::to_string(i), file,
                         std::move(bytes), Outcome::FailsOrRuns});
    }
    return cases;
}

TEST(HostileFiles, BackgroundCutOffAnywhereFailsToLoad) { runCases(truncations("bckgnd.bmp")); }
TEST(HostileFiles, SpriteSheetCutOffAnywhereFailsToLoad) { runCases(truncations("Sprites.bmp")); }
TEST(HostileFiles, MessagePictureCutOffAnywhereFailsToLoad) { runCases(truncations("MsgWnd.bmp")); }

TEST(HostileFiles, PaddedRowsCutInsideTheirPaddingFailToLoad) {
    // The built pictures need no row padding; a sheet one column wider needs 3 bytes.
    Bytes padded = cropped(readGood("Sprites.bmp"), 457, 256);
    std::vector<HostileCase> cases{{"Sprites.bmp 457 wide, whole", "Sprites.bmp", padded, Outcome::Runs}};
    const size_t stride = 460;
    for (size_t row : {size_t{1}, size_t{128}, size_t{256}}) {
        for (size_t inPadding = 457; inPadding < stride; ++inPadding) {
            size_t length = ROWS + (row - 1) * stride + inPadding;
            cases.push_back({"Sprites.bmp 457 wide cut at " + std::to_string(length), "Sprites.bmp", prefix(padded, length),
                             Outcome::LoadFails});
        }
    }
    runCases(cases);
}

TEST(HostileFiles, BadHeadersAreRefusedAndUnconsultedFieldsIgnored) {
    std::vector<HostileCase> cases;
    for (const char* file : PICTURES) {
        std::vector<HostileCase> more = headerCases(file);
        cases.insert(cases.end(), more.begin(), more.end());
    }
    runCases(cases);
}

TEST(HostileFiles, EmptyPicturesLoadAndTheStageThatNeedsThemFails) {
    Bytes background = readGood("bckgnd.bmp");
    Bytes sprites = readGood("Sprites.bmp");
    Bytes message = readGood("MsgWnd.bmp");
    runCases({
        // No floor tile can be cut from an empty sheet.
        {"bckgnd.bmp 0 x 0", "bckgnd.bmp", claimingSize(background, 0, 0, 0), Outcome::DrawFails},
        {"bckgnd.bmp 624 x 0", "bckgnd.bmp", claimingSize(background, 624, 0, 0), Outcome::DrawFails},
        {"bckgnd.bmp 0 x 704", "bckgnd.bmp", claimingSize(background, 0, 704, 0), Outcome::DrawFails},
        // No strip can be cut from an empty sheet.
        {"Sprites.bmp 0 x 0", "Sprites.bmp", claimingSize(sprites, 0, 0, 0), Outcome::DrawFails},
        {"Sprites.bmp 0 x 256", "Sprites.bmp", claimingSize(sprites, 0, 256, 0), Outcome::DrawFails},
        // The message surface is made with the picture's size; none of size 0 can be.
        {"MsgWnd.bmp 0 x 0", "MsgWnd.bmp", claimingSize(message, 0, 0, 0), Outcome::DrawFails},
        {"MsgWnd.bmp 280 x 0", "MsgWnd.bmp", claimingSize(message, 280, 0, 0), Outcome::DrawFails},
    });
}

TEST(HostileFiles, SheetsTooSmallOrTooLargeForTheirLayout) {
    Bytes background = readGood("bckgnd.bmp");
    Bytes sprites = readGood("Sprites.bmp");
    Bytes message = readGood("MsgWnd.bmp");
    runCases({
        // The cave needs a floor tile of 20 units: a sheet of 324 at least.
        {"bckgnd.bmp 323 x 704", "bckgnd.bmp", cropped(background, 323, 704), Outcome::DrawFails},
        {"bckgnd.bmp 624 x 323", "bckgnd.bmp", cropped(background, 624, 323), Outcome::DrawFails},
        {"bckgnd.bmp 305 x 305", "bckgnd.bmp", cropped(background, 305, 305), Outcome::DrawFails},
        {"bckgnd.bmp 1 x 1", "bckgnd.bmp", cropped(background, 1, 1), Outcome::DrawFails},
        {"bckgnd.bmp 324 x 324", "bckgnd.bmp", cropped(background, 324, 324), Outcome::Runs},
        {"bckgnd.bmp 2000 x 330", "bckgnd.bmp", cropped(background, 2000, 330), Outcome::Runs},
        // Floor tiles larger than the world asked for: four cells each way, larger than the minimap assumes.
        {"bckgnd.bmp 330 x 4000", "bckgnd.bmp", cropped(background, 330, 4000), Outcome::Runs},
        {"bckgnd.bmp 3000 x 3000", "bckgnd.bmp", cropped(background, 3000, 3000), Outcome::Runs},
        // The strips need a sheet of 455 x 252; a strip whose frames leave the sheet is refused.
        {"Sprites.bmp 455 x 252", "Sprites.bmp", cropped(sprites, 455, 252), Outcome::Runs},
        {"Sprites.bmp 454 x 256", "Sprites.bmp", cropped(sprites, 454, 256), Outcome::DrawFails},
        {"Sprites.bmp 456 x 251", "Sprites.bmp", cropped(sprites, 456, 251), Outcome::DrawFails},
        {"Sprites.bmp 100 x 100", "Sprites.bmp", cropped(sprites, 100, 100), Outcome::DrawFails},
        {"Sprites.bmp 1 x 1", "Sprites.bmp", cropped(sprites, 1, 1), Outcome::DrawFails},
        {"Sprites.bmp 3000 x 2000", "Sprites.bmp", cropped(sprites, 3000, 2000), Outcome::Runs},
        // The quit prompt blends whatever size the message picture has.
        {"MsgWnd.bmp 1 x 1", "MsgWnd.bmp", cropped(message, 1, 1), Outcome::Runs},
        {"MsgWnd.bmp 3 x 2", "MsgWnd.bmp", cropped(message, 3, 2), Outcome::Runs},
        {"MsgWnd.bmp 700 x 500", "MsgWnd.bmp", cropped(message, 700, 500), Outcome::Runs},
        {"MsgWnd.bmp 2000 x 20", "MsgWnd.bmp", cropped(message, 2000, 20), Outcome::Runs},
        {"MsgWnd.bmp 1000 x 1000", "MsgWnd.bmp", cropped(message, 1000, 1000), Outcome::Runs},
    });
}

TEST(HostileFiles, RandomBytesNeverCrash) {
    std::vector<HostileCase> cases;
    uint32_t seed = 20240611;
    for (const char* file : PICTURES) {
        std::vector<HostileCase> more = randomCases(file, seed++, 24);
        cases.insert(cases.end(), more.begin(), more.end());
    }
    runCases(cases);
}

}  // namespace
