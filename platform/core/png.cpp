// PNG files through libpng: platform/control.h's savePng writes the visible
// picture, loadPng reads a capture back.
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/png.h"

#include "platform/control.h"

namespace platform {

bool savePng(const RgbImage& image, const std::string& path, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3u)
        return fail("no picture to save");

    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return fail(path + ": " + std::strerror(errno));

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return fail("libpng could not start");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return fail(path + ": write failed");
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        png_write_row(png, image.rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width) * 3u);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) return fail(path + ": " + std::strerror(errno));
    return true;
}

}  // namespace platform

namespace qmp {

bool loadPng(const std::string& path, platform::RgbImage* image, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        if (error) *error = path + ": " + png.message;
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    platform::RgbImage result;
    result.width = static_cast<int>(png.width);
    result.height = static_cast<int>(png.height);
    result.rgb.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, result.rgb.data(), 0, nullptr)) {
        if (error) *error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    *image = std::move(result);
    return true;
}

}  // namespace qmp
