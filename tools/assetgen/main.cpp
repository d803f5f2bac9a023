// Scaffolding until the real art exists: flat pictures of the right sizes in
// the format the demo reads.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width;
    int height;
    std::vector<uint8_t> pixels;  // top-down
};

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

bool writeBmp(const std::string& path, const Picture& picture, const uint8_t (*palette)[3]) {
    int stride = (picture.width + 3) & ~3;
    uint32_t imageSize = static_cast<uint32_t>(stride * picture.height);
    std::vector<uint8_t> out;
    put16(out, 0x4D42);
    put32(out, 1078 + imageSize);
    put32(out, 0);
    put32(out, 1078);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(picture.width));
    put32(out, static_cast<uint32_t>(picture.height));
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);
    put32(out, imageSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 256);
    put32(out, 256);
    for (int i = 0; i < 256; ++i) {
        out.push_back(palette[i][2]);
        out.push_back(palette[i][1]);
        out.push_back(palette[i][0]);
        out.push_back(0);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < stride; ++x) out.push_back(x < picture.width ? picture.pixels[y * picture.width + x] : 0);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : ".";
    uint8_t palette[256][3] = {};
    for (int i = 1; i < 256; ++i) palette[i][0] = palette[i][1] = palette[i][2] = static_cast<uint8_t>(i);
    palette[253][0] = 255; palette[253][1] = 0; palette[253][2] = 255;
    Picture background{624, 704, std::vector<uint8_t>(624 * 704, 120)};
    Picture sprites{456, 253, std::vector<uint8_t>(456 * 253, 200)};
    Picture message{240, 80, std::vector<uint8_t>(240 * 80, 220)};
    bool ok = writeBmp(dir + "/bckgnd.bmp", background, palette) && writeBmp(dir + "/Sprites.bmp", sprites, palette) &&
              writeBmp(dir + "/MsgWnd.bmp", message, palette);
    if (!ok) std::fprintf(stderr, "assetgen: cannot write the pictures into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
