#include "core/gif_recorder.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/clock.h"
#include "core/reset.h"

namespace qmp::recorder {
namespace {

using Palette = std::array<GifColorType, 256>;

Palette gifPalette(const Picture& picture) {
    Palette colours{};
    for (int i = 0; i < 256; ++i)
        colours[i] = GifColorType{picture.palette[i].peRed, picture.palette[i].peGreen, picture.palette[i].peBlue};
    return colours;
}

bool samePalette(const Palette& a, const Palette& b) {
    for (int i = 0; i < 256; ++i)
        if (a[i].Red != b[i].Red || a[i].Green != b[i].Green || a[i].Blue != b[i].Blue) return false;
    return true;
}

struct ColourMap {
    explicit ColourMap(const Palette& colours) : map(GifMakeMapObject(256, colours.data())) {}
    ~ColourMap() { GifFreeMapObject(map); }
    ColourMap(const ColourMap&) = delete;
    ColourMap& operator=(const ColourMap&) = delete;
    ColorMapObject* map;
};

// Hundredths of a second on the clock, the GIF's unit of time.
uint32_t hundredths(uint32_t ms) { return ms / 10; }

// A frame waits until the next one shows how long it lasts.
struct HeldFrame {
    std::vector<uint8_t> indices;
    Palette colours{};
    uint32_t time = 0;
};

class Recording {
public:
    Recording(GifFileType* gif, std::string path, int every) : gif_(gif), path_(std::move(path)), every_(every) {}

    const std::string& path() const { return path_; }
    int frames() const { return frames_; }
    bool failed() const { return failed_; }

    void presented(const Picture& picture, uint32_t time) {
        if (failed_ || picture.width <= 0 || picture.height <= 0) return;
        if (presentations_++ % every_ != 0) return;
        if (width_ == 0) {
            begin(picture, time);
        } else if (picture.width != width_ || picture.height != height_) {
            fail("the picture changed size");
            return;
        } else {
            if (hundredths(time) == hundredths(held_.time)) {
                // Shorter than a GIF frame can last: the newer picture takes its place.
                takeInto(held_, picture, held_.time);
                return;
            }
            if (sameAsHeld(picture)) return;
            writeHeld(hundredths(time) - hundredths(held_.time));
            takeInto(held_, picture, time);
        }
    }

    // The last frame gets the time from its start to the end.
    bool finish(uint32_t time) {
        if (!failed_ && width_ > 0) writeHeld(std::max<uint32_t>(1, hundredths(time) - hundredths(held_.time)));
        int status = 0;
        if (EGifCloseFile(gif_, &status) != GIF_OK && !failed_) fail(GifErrorString(status));
        gif_ = nullptr;
        return !failed_;
    }

    const std::string& error() const { return error_; }

    ~Recording() {
        int ignored = 0;
        if (gif_ != nullptr) EGifCloseFile(gif_, &ignored);
    }

private:
    void fail(const std::string& why) {
        if (failed_) return;
        failed_ = true;
        error_ = why;
    }
    bool check(int result) {
        if (result != GIF_OK) fail(GifErrorString(gif_->Error));
        return !failed_;
    }

    static void takeInto(HeldFrame& frame, const Picture& picture, uint32_t time) {
        frame.indices = picture.indices;
        frame.colours = gifPalette(picture);
        frame.time = time;
    }

    bool sameAsHeld(const Picture& picture) const {
        return picture.indices == held_.indices && samePalette(gifPalette(picture), held_.colours);
    }

    // The screen descriptor with the first palette as the global colour map,
    // the program's name and the first frame's time as a comment, and the
    // loop for ever.
    void begin(const Picture& picture, uint32_t time) {
        width_ = picture.width;
        height_ = picture.height;
        takeInto(held_, picture, time);
        global_ = held_.colours;
        shown_.assign(size_t(width_) * size_t(height_) * 3, 0);
        ColourMap map(global_);
        if (!check(EGifPutScreenDesc(gif_, width_, height_, 8, 0, map.map))) return;
        const std::string comment = "Quillmere Demo, recorded from " + std::to_string(time) + " ms";
        if (!check(EGifPutComment(gif_, comment.c_str()))) return;
        static const unsigned char loopForEver[] = {1, 0, 0};
        if (!check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE)) ||
            !check(EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0")) || !check(EGifPutExtensionBlock(gif_, 3, loopForEver)) ||
            !check(EGifPutExtensionTrailer(gif_)))
            return;
    }

    // Writes the held frame: the rectangle whose colours differ from what the
    // GIF shows so far, unchanged pixels in it transparent when an index is free.
    void writeHeld(uint32_t delay) {
        const std::vector<uint8_t>& indices = held_.indices;
        const Palette& colours = held_.colours;
        std::vector<uint8_t> changed(indices.size(), 0);
        int left = width_, top = height_, right = -1, bottom = -1;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const size_t at = size_t(y) * size_t(width_) + size_t(x);
                const GifColorType& c = colours[indices[at]];
                const uint8_t* old = &shown_[at * 3];
                if (frames_ > 0 && old[0] == c.Red && old[1] == c.Green && old[2] == c.Blue) continue;
                changed[at] = 1;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (right < 0) left = top = right = bottom = 0;  // nothing changed: one pixel keeps the timing
        const int w = right - left + 1;
        const int h = bottom - top + 1;

        std::array<bool, 256> used{};
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) {
                const size_t at = size_t(y) * size_t(width_) + size_t(x);
                if (changed[at]) used[indices[at]] = true;
            }
        int transparent = NO_TRANSPARENT_COLOR;
        for (int i = 0; i < 256 && frames_ > 0; ++i)
            if (!used[i]) {
                transparent = i;
                break;
            }

        GraphicsControlBlock control{DISPOSE_DO_NOT, false, static_cast<int>(delay), transparent};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        if (!check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension))) return;
        const bool ownColours = !samePalette(colours, global_);
        ColourMap local(colours);
        // giflib keeps a copy of the last frame's own colours and drops it
        // without freeing when the next frame has none: free it first.
        if (!ownColours && gif_->Image.ColorMap != nullptr) {
            GifFreeMapObject(gif_->Image.ColorMap);
            gif_->Image.ColorMap = nullptr;
        }
        if (!check(EGifPutImageDesc(gif_, left, top, w, h, false, ownColours ? local.map : nullptr))) return;
        std::vector<GifPixelType> line(static_cast<size_t>(w));
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                const size_t at = size_t(y) * size_t(width_) + size_t(x);
                const bool keep = !changed[at] && transparent != NO_TRANSPARENT_COLOR;
                line[size_t(x - left)] = static_cast<GifPixelType>(keep ? transparent : indices[at]);
                if (changed[at]) {
                    const GifColorType& c = colours[indices[at]];
                    shown_[at * 3] = c.Red;
                    shown_[at * 3 + 1] = c.Green;
                    shown_[at * 3 + 2] = c.Blue;
                }
            }
            if (!check(EGifPutLine(gif_, line.data(), w))) return;
        }
        ++frames_;
    }

    GifFileType* gif_;
    std::string path_;
    int every_;
    int width_ = 0;
    int height_ = 0;
    uint64_t presentations_ = 0;
    int frames_ = 0;
    HeldFrame held_;
    Palette global_{};
    std::vector<uint8_t> shown_;  // what the GIF shows after its frames so far, RGB
    bool failed_ = false;
    std::string error_;
};

struct RecorderState {
    std::unique_ptr<Recording> recording;
};

RecorderState& state() {
    static RecorderState s;
    return s;
}

const ResetHook resetRecorder([] {
    if (state().recording) {
        std::string ignored;
        stop(&ignored);
    }
});

}  // namespace

bool start(const std::string& path, int every, std::string* error) {
    if (state().recording) {
        *error = "a recording is already running (" + state().recording->path() + ")";
        return false;
    }
    // Opened here rather than by giflib, which would make the file readable by its owner only.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    int status = 0;
    GifFileType* gif = EGifOpenFileHandle(fd, &status);
    if (gif == nullptr) {
        ::close(fd);
        *error = path + ": " + GifErrorString(status);
        return false;
    }
    EGifSetGifVersion(gif, true);  // GIF89a: frame timing, transparency, comments
    state().recording = std::make_unique<Recording>(gif, path, every < 1 ? 1 : every);
    return true;
}

bool recording() { return state().recording != nullptr; }

const std::string& path() {
    static const std::string none;
    return state().recording ? state().recording->path() : none;
}

bool stop(std::string* error, int* frames) {
    std::unique_ptr<Recording> recording = std::move(state().recording);
    if (frames != nullptr) *frames = 0;
    if (!recording) return true;
    const bool written = recording->finish(clock::now());
    if (frames != nullptr) *frames = recording->frames();
    if (!written) *error = recording->path() + ": " + recording->error();
    // A file that could not be finished, or that holds no frame, is no GIF.
    if (!written || recording->frames() == 0) std::remove(recording->path().c_str());
    return written;
}

void presented(const Picture& picture, uint32_t timeMs) {
    if (state().recording) state().recording->presented(picture, timeMs);
}

}  // namespace qmp::recorder
