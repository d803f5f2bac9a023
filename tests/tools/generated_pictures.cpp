#include "generated_pictures.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace tools_test {

namespace fs = std::filesystem;

std::string assetgenPath() { return std::string(QM_RUNTIME_DIR) + "/assetgen"; }

std::string makeTempDir() {
    std::string pattern = (fs::temp_directory_path() / "qm-assetgen-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

int runAssetgen(const std::string& arguments) {
    const std::string command = "'" + assetgenPath() + "' " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

bool parseBmp(const std::vector<uint8_t>& bytes, Bmp& out) {
    out.bytes = bytes;
    if (bytes.size() < 1078) {
        ADD_FAILURE() << "file of " << bytes.size() << " bytes is shorter than its headers";
        return false;
    }
    out.width = static_cast<int32_t>(out.u32(18));
    out.height = static_cast<int32_t>(out.u32(22));
    if (out.width <= 0 || out.height <= 0 || out.width > 8192 || out.height > 8192) {
        ADD_FAILURE() << "odd size " << out.width << " x " << out.height;
        return false;
    }
    const size_t stride = (static_cast<size_t>(out.width) + 3) / 4 * 4;
    if (bytes.size() < 1078 + stride * static_cast<size_t>(out.height)) {
        ADD_FAILURE() << "pixel rows end early";
        return false;
    }
    for (size_t i = 0; i < 256; ++i) out.palette[i] = {bytes[54 + 4 * i + 2], bytes[54 + 4 * i + 1], bytes[54 + 4 * i]};
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.pixels[static_cast<size_t>(y) * out.width + x] =
                bytes[1078 + static_cast<size_t>(out.height - 1 - y) * stride + static_cast<size_t>(x)];
    return true;
}

namespace {

bool loadFolder(const std::string& dir, Pictures& p) {
    return parseBmp(readBytes(dir + "/bckgnd.bmp"), p.background) && parseBmp(readBytes(dir + "/Sprites.bmp"), p.sprites) &&
           parseBmp(readBytes(dir + "/MsgWnd.bmp"), p.message);
}

// A folder named after the generator binary, so a rebuilt generator draws anew.
std::string sharedFolder() {
    struct stat st {};
    if (stat(assetgenPath().c_str(), &st) != 0) return {};
    return (fs::temp_directory_path() / ("qm-assetgen-" + std::to_string(st.st_mtim.tv_sec) + "-" +
                                         std::to_string(st.st_mtim.tv_nsec) + "-" + std::to_string(st.st_size)))
        .string();
}

}  // namespace

const Pictures& generatedPictures() {
    static Pictures pictures;
    static bool loaded = false;
    if (loaded) return pictures;
    const std::string shared = sharedFolder();
    if (shared.empty()) {
        ADD_FAILURE() << "no generator at " << assetgenPath();
        return pictures;
    }
    if (!fs::exists(shared + "/MsgWnd.bmp")) {
        const std::string fresh = makeTempDir();
        EXPECT_EQ(runAssetgen("'" + fresh + "'"), 0);
        std::error_code ignored;
        fs::rename(fresh, shared, ignored);  // another test process may have won the race
        if (ignored) fs::remove_all(fresh, ignored);
    }
    loaded = loadFolder(shared, pictures);
    return pictures;
}

}  // namespace tools_test
