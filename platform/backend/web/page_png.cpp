// PNG files in a page: the browser's own encoder and decoder (a canvas) write
// and read them in the page's file system, where libpng is not at hand.
#include <emscripten.h>

#include <cstdlib>

#include "core/png.h"
#include "platform/control.h"

// 1 when written; 0 when the page's file system refused the path.
EM_JS(int, pageSavePng, (const uint8_t* rgb, int width, int height, const char* path),
      { return Module.quillmere.savePng(rgb, width, height, UTF8ToString(path)); });
// The pixels as RGB in memory from malloc (the size at `size`: width, height),
// or 0 when the file is missing or not a picture.
EM_ASYNC_JS(uint8_t*, pageLoadPng, (const char* path, int* size),
            { return await Module.quillmere.loadPng(UTF8ToString(path), size); });

namespace platform {

bool savePng(const RgbImage& image, const std::string& path, std::string* error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3u) {
        if (error) *error = "no picture to save";
        return false;
    }
    if (pageSavePng(image.rgb.data(), image.width, image.height, path.c_str()) == 0) {
        if (error) *error = path + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace platform

namespace qmp {

bool loadPng(const std::string& path, platform::RgbImage* image, std::string* error) {
    int size[2] = {0, 0};
    uint8_t* rgb = pageLoadPng(path.c_str(), size);
    if (rgb == nullptr) {
        if (error) *error = path + ": not a PNG picture the page can read";
        return false;
    }
    image->width = size[0];
    image->height = size[1];
    image->rgb.assign(rgb, rgb + static_cast<size_t>(size[0]) * static_cast<size_t>(size[1]) * 3u);
    std::free(rgb);
    return true;
}

}  // namespace qmp
