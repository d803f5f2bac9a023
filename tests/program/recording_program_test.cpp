// The GIF recording against the captures of the same run: each capture is the
// picture the recording shows at that moment (to the GIF's hundredth of a
// second), through fades, a new palette and fireworks, and the recording keeps
// one presentation in N when asked.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_run.h"

namespace {

// The recording as it plays: the picture after each frame, and when it starts.
struct Playback {
    int width = 0;
    int height = 0;
    std::vector<std::vector<uint8_t>> pictures;  // RGB
    std::vector<uint32_t> starts;                // hundredths of a second on the run's clock
};

// The recorder names the time of its first frame in a comment: "... recorded from N ms".
uint32_t originOf(const SavedImage& first) {
    for (int i = 0; i < first.ExtensionBlockCount; ++i) {
        const ExtensionBlock& block = first.ExtensionBlocks[i];
        if (block.Function != COMMENT_EXT_FUNC_CODE) continue;
        const std::string text(reinterpret_cast<const char*>(block.Bytes), static_cast<size_t>(block.ByteCount));
        const size_t at = text.find("recorded from ");
        if (at != std::string::npos) return static_cast<uint32_t>(std::stoul(text.substr(at + 14)));
    }
    return 0;
}

bool play(const std::string& path, Playback* out, std::string* error) {
    int status = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &status);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK || gif->ImageCount == 0) {
        *error = path + ": " + GifErrorString(gif ? gif->Error : status);
        if (gif) DGifCloseFile(gif, &status);
        return false;
    }
    out->width = gif->SWidth;
    out->height = gif->SHeight;
    std::vector<uint8_t> canvas(size_t(out->width) * size_t(out->height) * 3, 0);
    uint32_t start = originOf(gif->SavedImages[0]) / 10;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const int index = image.RasterBits[y * d.Width + x];
                if (index == control.TransparentColor) continue;
                uint8_t* pixel = &canvas[(size_t(d.Top + y) * size_t(out->width) + size_t(d.Left + x)) * 3];
                pixel[0] = map->Colors[index].Red;
                pixel[1] = map->Colors[index].Green;
                pixel[2] = map->Colors[index].Blue;
            }
        out->pictures.push_back(canvas);
        out->starts.push_back(start);
        start += static_cast<uint32_t>(control.DelayTime);
    }
    DGifCloseFile(gif, &status);
    return true;
}

int differences(const Picture& capture, const std::vector<uint8_t>& frame) {
    int different = 0;
    for (int y = 0; y < capture.height; ++y)
        for (int x = 0; x < capture.width; ++x) {
            const Rgb c = capture.at(x, y);
            const uint8_t* f = &frame[(size_t(y) * size_t(capture.width) + size_t(x)) * 3];
            different += c.r != f[0] || c.g != f[1] || c.b != f[2];
        }
    return different;
}

// The frames shown at `ms`: the last to start by then, or the one before it
// when that one starts in the same hundredth (a capture sees the picture of
// the moment before a presentation at the same millisecond).
std::vector<size_t> framesAt(const Playback& playback, uint32_t ms) {
    size_t last = 0;
    for (size_t i = 0; i < playback.starts.size(); ++i)
        if (playback.starts[i] <= ms / 10) last = i;
    std::vector<size_t> frames{last};
    if (last > 0 && playback.starts[last] == ms / 10) frames.push_back(last - 1);
    return frames;
}

const char* const SCRIPT =
    "1000 capture fading-in.png\n"
    "3400 capture faded-in.png\n"
    "3500 down Right\n3900 up Right\n3700 capture walking.png\n"
    "4000 press 1\n4300 capture new-palette.png\n"
    "4400 press F9\n4900 capture fireworks.png\n"
    "5000 press F8\n5300 capture fading-out.png\n"
    "5500 end\n";

ProgramResult recordedRun(const std::string& gif, int every) {
    ProgramRun run;
    run.script = SCRIPT;
    run.args = {"--record", gif, "--record-every", std::to_string(every)};
    return runProgram(run);
}

TEST(RecordingProgram, EveryCaptureIsTheRecordedPictureOfItsMoment) {
    TempFolder folder;
    const std::string gif = (folder.path() / "run.gif").string();
    ProgramResult result = recordedRun(gif, 1);
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    Playback playback;
    std::string error;
    ASSERT_TRUE(play(gif, &playback, &error)) << error;
    EXPECT_EQ(playback.width, 640);
    EXPECT_EQ(playback.height, 480);
    // A presentation about every 50 ms for 5.5 s; none is lost but those that change nothing.
    EXPECT_GT(playback.pictures.size(), 80u);
    EXPECT_LE(playback.pictures.size(), result.report.presents);
    ASSERT_EQ(result.report.captures.size(), 6u);
    for (const auto& capture : result.report.captures) {
        Picture shot = Picture::load(capture.path);
        ASSERT_TRUE(shot.valid()) << capture.path;
        int fewest = shot.width * shot.height;
        for (size_t frame : framesAt(playback, capture.time))
            fewest = std::min(fewest, differences(shot, playback.pictures[frame]));
        EXPECT_EQ(fewest, 0) << capture.path << " at " << capture.time << " ms";
    }
}

TEST(RecordingProgram, EveryOtherPresentationHalvesTheFramesAndKeepsTheTiming) {
    TempFolder folder;
    const std::string all = (folder.path() / "all.gif").string();
    const std::string half = (folder.path() / "half.gif").string();
    ASSERT_EQ(recordedRun(all, 1).exitCode, 0);
    ASSERT_EQ(recordedRun(half, 2).exitCode, 0);
    Playback every, other;
    std::string error;
    ASSERT_TRUE(play(all, &every, &error)) << error;
    ASSERT_TRUE(play(half, &other, &error)) << error;
    EXPECT_NEAR(double(other.pictures.size()), every.pictures.size() / 2.0, every.pictures.size() / 10.0);
    EXPECT_EQ(other.starts.front(), every.starts.front());
    EXPECT_LT(std::filesystem::file_size(half), std::filesystem::file_size(all));
}

}  // namespace
