// Script text, the event queue's order, captures and the contact sheet.
#include <gmock/gmock.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "backend/headless/contact_sheet.h"
#include "core/screen.h"
#include "core/script.h"
#include "support/platform_test.h"

using platform::EventKind;
using platform::ScriptEvent;

namespace {

std::vector<ScriptEvent> parsed(const std::string& text, uint32_t origin = 0) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_TRUE(qmp::script::parse(text, origin, &events, &error)) << error;
    return events;
}

std::string parseError(const std::string& text) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_FALSE(qmp::script::parse(text, 0, &events, &error)) << text;
    EXPECT_TRUE(events.empty());
    return error;
}

// Takes every pending event, in delivery order, as "time kind value".
std::vector<std::string> queueOrder() {
    std::vector<std::string> order;
    while (qmp::script::next() != nullptr) {
        ScriptEvent event = qmp::script::take();
        order.push_back(std::to_string(event.time) + " " + std::to_string(static_cast<int>(event.kind)) + " " +
                        std::to_string(event.value));
    }
    return order;
}

platform::RgbImage solid(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    platform::RgbImage image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height; ++i) image.rgb.insert(image.rgb.end(), {r, g, b});
    return image;
}

}  // namespace

using ScriptTest = PlatformTest;

TEST_F(ScriptTest, EveryKindOfLineParses) {
    std::vector<ScriptEvent> events = parsed(
        "10 down Left\n20 up right\n30 press F5\n40 activate\n50 deactivate\n60 close\n"
        "70 answer Yes\n80 capture shots/first frame.png\n90 lose\n100 end\n",
        1000);
    ASSERT_EQ(events.size(), 11u);
    EXPECT_EQ(events[0].kind, EventKind::KeyDown);
    EXPECT_EQ(events[0].value, VK_LEFT);
    EXPECT_EQ(events[0].time, 1010u) << "times count from the origin";
    EXPECT_EQ(events[1].kind, EventKind::KeyUp);
    EXPECT_EQ(events[1].value, VK_RIGHT);
    EXPECT_EQ(events[2].kind, EventKind::KeyDown);
    EXPECT_EQ(events[3].kind, EventKind::KeyUp) << "press is down, then up";
    EXPECT_EQ(events[3].value, VK_F5);
    EXPECT_EQ(events[3].time, events[2].time);
    EXPECT_EQ(events[4].kind, EventKind::Activate);
    EXPECT_EQ(events[5].kind, EventKind::Deactivate);
    EXPECT_EQ(events[6].kind, EventKind::Close);
    EXPECT_EQ(events[7].kind, EventKind::Answer);
    EXPECT_EQ(events[7].value, IDYES);
    EXPECT_EQ(events[8].kind, EventKind::Capture);
    EXPECT_EQ(events[8].text, "shots/first frame.png") << "the name runs to the end of the line";
    EXPECT_EQ(events[9].kind, EventKind::LoseSurfaces);
    EXPECT_EQ(events[10].kind, EventKind::End);
}

TEST_F(ScriptTest, KeysAreNamedOrGivenByCode) {
    EXPECT_EQ(qmp::script::keyCode("Esc"), VK_ESCAPE);
    EXPECT_EQ(qmp::script::keyCode("escape"), VK_ESCAPE);
    EXPECT_EQ(qmp::script::keyCode("CTRL"), VK_CONTROL);
    EXPECT_EQ(qmp::script::keyCode("Shift"), VK_SHIFT);
    EXPECT_EQ(qmp::script::keyCode("Space"), VK_SPACE);
    EXPECT_EQ(qmp::script::keyCode("Enter"), VK_RETURN);
    EXPECT_EQ(qmp::script::keyCode("F1"), VK_F1);
    EXPECT_EQ(qmp::script::keyCode("f12"), VK_F12);
    EXPECT_EQ(qmp::script::keyCode("y"), 'Y');
    EXPECT_EQ(qmp::script::keyCode("1"), '1') << "one digit is the digit key";
    EXPECT_EQ(qmp::script::keyCode("27"), VK_ESCAPE) << "two or more digits are a code";
    EXPECT_EQ(qmp::script::keyCode("112"), VK_F1);
    for (const char* bad : {"F13", "F0", "Foo", "255", "0000", "1000", "", "-", "é"})
        EXPECT_EQ(qmp::script::keyCode(bad), -1) << bad;
}

TEST_F(ScriptTest, CommentsBlankLinesAndWindowsLineEndsAreIgnored) {
    std::vector<ScriptEvent> events =
        parsed("# a tour\r\n\r\n   \n10 press A   # the A key\r\n20 capture odd#name.png\n#30 press B\n");
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].text, "odd#name.png") << "'#' starts a comment only after a blank";
}

TEST_F(ScriptTest, SyntaxErrorsNameTheLine) {
    EXPECT_EQ(parseError("10 press A\n\n10 jump\n"), "line 3: unknown event 'jump'");
    EXPECT_EQ(parseError("soon press A\n"), "line 1: the time must be a number of milliseconds, not 'soon'");
    EXPECT_THAT(parseError("-5 press A\n"), ::testing::StartsWith("line 1: the time"));
    EXPECT_THAT(parseError("4294967296 press A\n"), ::testing::StartsWith("line 1: the time"));
    EXPECT_EQ(parseError("10\n"), "line 1: an event must follow the time");
    EXPECT_EQ(parseError("10 down\n"), "line 1: 'down' needs a key");
    EXPECT_EQ(parseError("10 press Hyper\n"), "line 1: unknown key 'Hyper'");
    EXPECT_EQ(parseError("10 press A B\n"), "line 1: unexpected 'B' after 'A'");
    EXPECT_EQ(parseError("10 answer maybe\n"), "line 1: the answer must be ok, yes, no or cancel, not 'maybe'");
    EXPECT_EQ(parseError("10 capture\n"), "line 1: 'capture' needs a file name");
    EXPECT_EQ(parseError("10 end now\n"), "line 1: unexpected 'now' after 'end'");
}

TEST_F(ScriptTest, AScriptWithAnErrorSchedulesNothing) {
    std::string error;
    EXPECT_FALSE(platform::loadScript("10 press A\n20 press B\n30 press ?\n", &error));
    EXPECT_EQ(error, "line 3: unknown key '?'");
    EXPECT_EQ(platform::pendingEvents(), 0u);
    EXPECT_TRUE(platform::loadScript("", &error)) << "an empty script is a script";
}

TEST_F(ScriptTest, EventsRunInTimeOrderAndEqualTimesKeepTheirOrder) {
    ASSERT_TRUE(platform::loadScript("30 down C\n10 down A\n30 down D\n20 down B\n", nullptr));
    platform::schedule({30, EventKind::KeyDown, 'E', ""});
    platform::schedule({10, EventKind::KeyUp, 'A', ""});
    EXPECT_THAT(queueOrder(), ::testing::ElementsAre("10 0 65", "10 1 65", "20 0 66", "30 0 67", "30 0 68", "30 0 69"));
}

TEST_F(ScriptTest, OrderHoldsAcrossTheClockWrap) {
    platform::reset(0xFFFFFF00u);
    ASSERT_TRUE(platform::loadScript("512 down B\n16 down A\n", nullptr, platform::now()));
    EXPECT_THAT(queueOrder(), ::testing::ElementsAre("4294967056 0 65", "256 0 66"));
}

TEST_F(ScriptTest, ACaptureSavesTheVisiblePictureIntoTheShotsFolder) {
    std::filesystem::path shots = std::filesystem::temp_directory_path() / "qm-script-captures" / "nested";
    std::filesystem::remove_all(shots.parent_path());
    qmp::script::setShotsDir(shots.string());
    std::string error;
    EXPECT_FALSE(qmp::script::capture("nothing.png", &error)) << "no display mode, no picture";
    EXPECT_EQ(error, "no picture to save");

    qmp::screen::setSource([](qmp::Picture& picture) {
        picture.width = 3;
        picture.height = 2;
        picture.indices = {0, 1, 2, 2, 1, 0};
        picture.palette[1] = PALETTEENTRY{255, 0, 0, 0};
        picture.palette[2] = PALETTEENTRY{0, 0, 255, 0};
        return true;
    });
    qmp::screen::markStale();
    platform::setTime(777);
    ASSERT_TRUE(qmp::script::capture("frame.png", &error)) << error;
    qmp::screen::setSource(nullptr);
    ASSERT_EQ(qmp::script::captures().size(), 1u);
    EXPECT_EQ(qmp::script::captures()[0].time, 777u);

    platform::RgbImage saved;
    ASSERT_TRUE(qmp::loadPng((shots / "frame.png").string(), &saved, &error)) << error;
    EXPECT_EQ(saved.width, 3);
    EXPECT_EQ(saved.height, 2);
    EXPECT_EQ(std::vector<uint8_t>(saved.rgb.begin() + 3, saved.rgb.begin() + 9),
              (std::vector<uint8_t>{255, 0, 0, 0, 0, 255}));
    std::filesystem::remove_all(shots.parent_path());
}

TEST_F(ScriptTest, TheContactSheetHoldsHalfSizeThumbnailsInOrder) {
    std::vector<platform::RgbImage> pictures{solid(8, 6, 200, 0, 0), solid(8, 6, 0, 200, 0), solid(8, 6, 0, 0, 200)};
    platform::RgbImage sheet = qmp::makeContactSheet(pictures, 2);
    // Two columns and two rows of 4 x 3 thumbnails with 8-pixel margins.
    ASSERT_EQ(sheet.width, 8 + 2 * (4 + 8));
    ASSERT_EQ(sheet.height, 8 + 2 * (3 + 8));
    auto pixel = [&](int x, int y) {
        size_t at = (static_cast<size_t>(y) * static_cast<size_t>(sheet.width) + static_cast<size_t>(x)) * 3u;
        return std::vector<uint8_t>(sheet.rgb.begin() + static_cast<std::ptrdiff_t>(at),
                                    sheet.rgb.begin() + static_cast<std::ptrdiff_t>(at) + 3);
    };
    EXPECT_EQ(pixel(8, 8), (std::vector<uint8_t>{200, 0, 0}));
    EXPECT_EQ(pixel(8 + 12 + 3, 8 + 2), (std::vector<uint8_t>{0, 200, 0}));
    EXPECT_EQ(pixel(8, 8 + 11), (std::vector<uint8_t>{0, 0, 200}));
    EXPECT_EQ(pixel(8 + 12, 8 + 11), (std::vector<uint8_t>{32, 32, 32})) << "an empty cell";
    EXPECT_EQ(pixel(8 + 4, 8), (std::vector<uint8_t>{32, 32, 32})) << "the margin after a thumbnail";
}

TEST_F(ScriptTest, TheContactSheetAveragesPixelsAndSkipsBrokenPictures) {
    platform::RgbImage checker = solid(2, 2, 0, 0, 0);
    checker.rgb[0] = 255;  // one red pixel of four
    platform::RgbImage broken;
    broken.width = 10;
    broken.height = 10;  // but no pixels
    platform::RgbImage sheet = qmp::makeContactSheet({broken, checker});
    ASSERT_EQ(sheet.width, 8 + 1 + 8);
    size_t at = (8u * static_cast<size_t>(sheet.width) + 8u) * 3u;
    EXPECT_EQ(sheet.rgb[at], 64) << "(255 + 0 + 0 + 0 + 2) / 4";
    EXPECT_TRUE(qmp::makeContactSheet({}).rgb.empty());
}

TEST_F(ScriptTest, TheTourScriptParses) {
    std::ifstream file(std::string(QM_SOURCE_DIR) + "/tools/tour/tour.script");
    ASSERT_TRUE(file);
    std::stringstream text;
    text << file.rdbuf();
    std::vector<ScriptEvent> events = parsed(text.str());
    ASSERT_FALSE(events.empty());
    size_t captures = 0;
    for (const ScriptEvent& event : events) captures += event.kind == EventKind::Capture ? 1 : 0;
    EXPECT_GE(captures, 5u);
    EXPECT_EQ(events.back().kind, EventKind::Answer) << "it ends by answering the quit prompt";
}
