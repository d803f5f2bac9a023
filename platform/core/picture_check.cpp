#include "core/picture_check.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qmp::pictures {
namespace {

constexpr int64_t kMaxSide = 16384;
constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;

std::string number(uint64_t value) { return std::to_string(value); }

std::string cannotUse(const std::string& what) { return "a BMP the program cannot use: " + what; }
std::string cutShort(size_t size, const std::string& what) { return "cut short at byte " + number(size) + " (" + what + ")"; }

uint32_t u32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
    return v;
}
uint16_t u16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

std::string infoHeaderProblem(uint32_t size) {
    if (size == 40 || size == 52 || size == 56 || size == 108 || size == 124) return {};
    if (size == 12) return cannotUse("an OS/2 BMP (a 12-byte header)");
    if (size == 64) return cannotUse("an OS/2 2.x BMP (a 64-byte header)");
    return cannotUse("an info header of " + number(size) + " bytes, not one of 40, 52, 56, 108 or 124");
}

std::string encodingProblem(uint16_t bits, uint32_t compression) {
    if (bits != 1 && bits != 4 && bits != 8)
        return cannotUse(number(bits) + "-bit pixels; it reads 1-, 4- and 8-bit palettized pictures");
    switch (compression) {
    case 0: return {};
    case 1: return bits == 8 ? "" : cannotUse("RLE8 compression on " + number(bits) + "-bit pixels");
    case 2: return bits == 4 ? "" : cannotUse("RLE4 compression on " + number(bits) + "-bit pixels");
    case 3: return cannotUse("compressed with bit fields, which it does not read");
    case 4: return cannotUse("a JPEG inside, which it does not read");
    case 5: return cannotUse("a PNG inside, which it does not read");
    default: return cannotUse("compression method " + number(compression) + ", which it does not read");
    }
}

// Walks an RLE8 or RLE4 stream as the program decodes it, without the pixels.
std::string streamProblem(const std::string& b, size_t start, size_t end, int64_t width, int64_t height, int bits) {
    const std::string name = bits == 8 ? "its RLE8 data" : "its RLE4 data";
    int64_t x = 0;
    int64_t y = 0;
    auto past = [&](size_t at) {
        return cannotUse(name + (y >= height ? " runs past its last row" : " runs past the end of a row") + " at byte " +
                         number(at));
    };
    size_t at = start;
    while (end - at >= 2) {
        const size_t here = at;
        const uint8_t count = static_cast<uint8_t>(b[at]);
        const uint8_t value = static_cast<uint8_t>(b[at + 1]);
        at += 2;
        if (count > 0) {
            if (y >= height || count > width - x) return past(here);
            x += count;
            continue;
        }
        if (value == 1) return {};
        if (value == 0) {
            if (y >= height) return past(here);
            x = 0;
            ++y;
            continue;
        }
        if (value == 2) {
            if (end - at < 2) break;
            const uint8_t right = static_cast<uint8_t>(b[at]);
            const uint8_t up = static_cast<uint8_t>(b[at + 1]);
            if (right > width - x || up >= height - y) return cannotUse(name + " jumps out of the picture at byte " + number(here));
            x += right;
            y += up;
            at += 2;
            continue;
        }
        const size_t bytes = bits == 8 ? value : (value + 1u) / 2;
        if (end - at < ((bytes + 1) & ~size_t{1})) break;
        if (y >= height || value > width - x) return past(here);
        x += value;
        at += (bytes + 1) & ~size_t{1};
    }
    if (end == b.size()) return cutShort(b.size(), name + " has no end mark");
    return cannotUse(name + " ends at byte " + number(end) + ", before its end mark");
}

// What the program's loader refuses, in the order it finds it.
std::string structuralProblem(const std::string& b) {
    if (b.size() < kFileHeader + kInfoHeader) return cutShort(b.size(), "its headers end at byte 54");
    const uint32_t infoSize = u32(b, 14);
    if (std::string problem = infoHeaderProblem(infoSize); !problem.empty()) return problem;
    const int32_t width = static_cast<int32_t>(u32(b, 18));
    const int32_t rawHeight = static_cast<int32_t>(u32(b, 22));
    const uint16_t bits = u16(b, 28);
    const uint32_t compression = u32(b, 30);
    const uint32_t sizeImage = u32(b, 34);
    const uint32_t clrUsed = u32(b, 46);
    if (std::string problem = encodingProblem(bits, compression); !problem.empty()) return problem;
    if (rawHeight < 0 && compression != 0) return cannotUse("top-down rows with RLE compression");
    if (width < 0) return cannotUse("a negative width (" + std::to_string(width) + ")");
    const int64_t height = rawHeight < 0 ? -int64_t{rawHeight} : rawHeight;
    if (width > kMaxSide || height > kMaxSide)
        return cannotUse(number(width) + " x " + number(height) + " pixels; it reads at most 16384 on a side");
    const uint64_t tableSize = uint64_t{1} << bits;
    const uint64_t colours = clrUsed == 0 ? tableSize : clrUsed;
    if (colours > tableSize)
        return cannotUse("a colour table of " + number(colours) + " entries; a " + number(bits) + "-bit picture has at most " +
                         number(tableSize));

    const uint64_t headersEnd = kFileHeader + uint64_t{infoSize};
    const uint64_t tableEnd = headersEnd + 4 * colours;
    if (b.size() < headersEnd) return cutShort(b.size(), "its info header ends at byte " + number(headersEnd));
    if (b.size() < tableEnd) return cutShort(b.size(), "its colour table ends at byte " + number(tableEnd));
    const uint32_t offset = u32(b, 10);
    const uint64_t pixelStart = offset == 0 ? tableEnd : offset;
    if (pixelStart < tableEnd)
        return cannotUse("its pixel data offset " + number(offset) + " points into its headers (they end at byte " +
                         number(tableEnd) + ")");
    if (b.size() < pixelStart) return cutShort(b.size(), "its pixel data starts at byte " + number(pixelStart));
    if (compression == 0) {
        const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
        const uint64_t end = pixelStart + stride * uint64_t(height);
        if (b.size() < end) return cutShort(b.size(), "its pixel rows end at byte " + number(end));
        return {};
    }
    const uint64_t available = b.size() - pixelStart;
    const size_t end = static_cast<size_t>(pixelStart + (sizeImage == 0 || sizeImage > available ? available : sizeImage));
    return streamProblem(b, static_cast<size_t>(pixelStart), end, width, height, bits);
}

std::string otherFormat(const std::string& b) {
    if (b.compare(0, 4, "\x89PNG") == 0) return "PNG";
    if (b.compare(0, 4, "GIF8") == 0) return "GIF";
    if (b.compare(0, 3, "\xFF\xD8\xFF") == 0) return "JPEG";
    return {};
}

// A file of the same name in another case, for "not found".
std::string otherCase(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    const std::string wanted = lower(path.filename().string());
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (lower(name) == wanted) return name;
    }
    return {};
}

}  // namespace

std::string problemWithBytes(const std::string& bytes) {
    if (bytes.empty()) return "not a BMP (the file is empty)";
    const std::string problem = structuralProblem(bytes);
    // The program does not look at the signature; a file it refuses that lacks
    // one is most likely something else.
    if (problem.empty() || bytes.size() < 2 || bytes.compare(0, 2, "BM") == 0) return problem;
    const std::string kind = otherFormat(bytes);
    return "not a BMP (" + (kind.empty() ? std::string("it does not start with \"BM\"") : "a " + kind + " file") + ")";
}

std::string problemWith(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) return std::string("unreadable (") + std::strerror(errno) + ")";
        const std::string other = otherCase(path);
        return other.empty() ? "not found" : "not found (there is " + other + ": names are case-sensitive here)";
    }
    if (S_ISDIR(info.st_mode)) return "unreadable (it is a folder)";
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::string("unreadable (") + std::strerror(errno) + ")";
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return std::string("unreadable (") + std::strerror(errno) + ")";
    return problemWithBytes(bytes);
}

}  // namespace qmp::pictures
