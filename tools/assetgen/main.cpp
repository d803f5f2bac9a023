// assetgen <folder>                          draws bckgnd.bmp, Sprites.bmp and MsgWnd.bmp into the folder
// assetgen --icon <file.ico>                 writes the program icon
// assetgen --icon-png <file.png> <size>      writes the icon for desktops
// assetgen --contact-sheet <out.png> [<dir>] one PNG showing the pictures (read from <dir>, or drawn afresh)
// assetgen --palette-report                  prints how well the palette mixes
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "contact_sheet.h"
#include "palette.h"
#include "pictures.h"

using namespace assetgen;

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: assetgen <folder>\n"
                 "       assetgen --icon <file.ico>\n"
                 "       assetgen --icon-png <file.png> <size>\n"
                 "       assetgen --contact-sheet <out.png> [<folder>]\n"
                 "       assetgen --palette-report\n");
    return 2;
}

PictureSet drawAll() {
    PictureSet set;
    set.background = drawBackgroundSheet();
    set.sprites = drawSpriteSheet();
    set.message = drawMessagePicture();
    set.colours = palette().colours;
    return set;
}

int writePictures(const std::string& dir) {
    // Say so before spending the time to draw.
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) {
        std::fprintf(stderr, "assetgen: %s is not a folder\n", dir.c_str());
        return 1;
    }
    const PictureSet set = drawAll();
    const struct {
        const char* name;
        const IndexedImage* image;
    } files[] = {{"bckgnd.bmp", &set.background}, {"Sprites.bmp", &set.sprites}, {"MsgWnd.bmp", &set.message}};
    for (const auto& f : files) {
        const std::string path = dir + "/" + f.name;
        if (!writeFileBytes(path, encodeBmp(*f.image, set.colours))) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

int contactSheet(const std::string& out, const char* dir) {
    PictureSet set;
    if (dir) {
        const std::string base = std::string(dir) + "/";
        std::string error;
        ColourTable spritesColours{}, messageColours{};
        if (!readBmp(base + "bckgnd.bmp", set.background, set.colours, error) ||
            !readBmp(base + "Sprites.bmp", set.sprites, spritesColours, error) ||
            !readBmp(base + "MsgWnd.bmp", set.message, messageColours, error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
    } else {
        set = drawAll();
    }
    if (!writeContactSheet(out, set)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

int paletteReport() {
    const BlendStats s = blendStats(palette().colours);
    std::printf("blend distance over all 65536 pairs: mean %.2f, worst %d\n", s.meanDistance, s.worstDistance);
    std::printf("without the transparent key: mean %.2f, worst %d; pairs mixing to the key: %d\n",
                s.meanDistanceWithoutKey, s.worstDistanceWithoutKey, s.pairsLandingOnKey);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 2 && std::strcmp(argv[1], "--palette-report") == 0) return paletteReport();
        if (argc == 3 && std::strcmp(argv[1], "--icon") == 0) {
            if (writeIcon(argv[2])) return 0;
            std::fprintf(stderr, "assetgen: cannot write %s\n", argv[2]);
            return 1;
        }
        if (argc == 4 && std::strcmp(argv[1], "--icon-png") == 0) {
            const int size = std::atoi(argv[3]);
            if (size >= 16 && size <= 256 && writeIconPng(argv[2], size)) return 0;
            std::fprintf(stderr, "assetgen: cannot write %s at size %s\n", argv[2], argv[3]);
            return 1;
        }
        if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--contact-sheet") == 0)
            return contactSheet(argv[2], argc == 4 ? argv[3] : nullptr);
        if (argc == 2 && argv[1][0] != '-') return writePictures(argv[1]);
        return usage();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
}
