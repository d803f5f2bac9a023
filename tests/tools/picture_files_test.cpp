// The generator's files as files: the BMP flavour the demo reads, their sizes,
// one shared palette, the same bytes every run, and its command line.
#include <gtest/gtest.h>

#include <filesystem>

#include "generated_pictures.h"

using namespace tools_test;
namespace fs = std::filesystem;

namespace {

void expectDemoLayout(const Bmp& bmp, const char* name) {
    SCOPED_TRACE(name);
    const size_t stride = (static_cast<size_t>(bmp.width) + 3) / 4 * 4;
    EXPECT_EQ(bmp.u16(0), 0x4D42u);
    EXPECT_EQ(bmp.u32(2), bmp.bytes.size());
    EXPECT_EQ(bmp.u32(10), 1078u);
    EXPECT_EQ(bmp.u32(14), 40u);
    EXPECT_EQ(bmp.u16(26), 1u);
    EXPECT_EQ(bmp.u16(28), 8u);
    EXPECT_EQ(bmp.u32(30), 0u) << "compressed";
    EXPECT_EQ(bmp.u32(46), 256u) << "biClrUsed";
    EXPECT_EQ(bmp.bytes.size(), 1078 + stride * static_cast<size_t>(bmp.height)) << "rows not padded to 4 bytes";
}

}  // namespace

TEST(PictureFiles, HaveTheLayoutTheDemoReads) {
    const Pictures& p = generatedPictures();
    expectDemoLayout(p.background, "bckgnd.bmp");
    expectDemoLayout(p.sprites, "Sprites.bmp");
    expectDemoLayout(p.message, "MsgWnd.bmp");
}

TEST(PictureFiles, HaveTheSizesTheDemoCutsFrom) {
    const Pictures& p = generatedPictures();
    EXPECT_EQ(p.background.width, 624);
    EXPECT_EQ(p.background.height, 704);
    EXPECT_GE(p.sprites.width, 455);
    EXPECT_GE(p.sprites.height, 252);
    // The quit prompt's text is about 216 pixels wide: the panel must hold it.
    EXPECT_GT(p.message.width, 230);
    EXPECT_GE(p.message.height, 24);
    // Widths that need row padding exercise it: the sprite sheet's rows must
    // still line up (checked by the layout test through the file size).
}

TEST(PictureFiles, ShareOnePalette) {
    const Pictures& p = generatedPictures();
    EXPECT_EQ(p.background.palette, p.sprites.palette);
    EXPECT_EQ(p.background.palette, p.message.palette);
}

TEST(PictureFiles, AreTheSameBytesOnEveryRun) {
    const std::string first = makeTempDir(), second = makeTempDir();
    ASSERT_EQ(runAssetgen("'" + first + "'"), 0);
    ASSERT_EQ(runAssetgen("'" + second + "'"), 0);
    for (const char* name : {"bckgnd.bmp", "Sprites.bmp", "MsgWnd.bmp"}) {
        const auto a = readBytes(first + "/" + name), b = readBytes(second + "/" + name);
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == b) << name << " differs between two runs";
        // The copies the build placed beside the program came from the same generator.
        const auto built = readBytes(std::string(QM_RUNTIME_DIR) + "/" + name);
        if (!built.empty()) {
            EXPECT_TRUE(a == built) << name << " differs from the build's copy";
        }
    }
    fs::remove_all(first);
    fs::remove_all(second);
}

TEST(AssetgenCommandLine, RejectsMissingOrUnknownArguments) {
    EXPECT_EQ(runAssetgen(""), 2);
    EXPECT_EQ(runAssetgen("--frobnicate"), 2);
    EXPECT_EQ(runAssetgen("--icon"), 2);
}

TEST(AssetgenCommandLine, ReportsAFolderItCannotWriteInto) {
    EXPECT_EQ(runAssetgen("/nonexistent-folder/for-assetgen"), 1);
    EXPECT_EQ(runAssetgen("--icon /nonexistent-folder/q.ico"), 1);
    // A folder where one of the files cannot be created (a folder of that name).
    const std::string dir = makeTempDir();
    fs::create_directory(dir + "/Sprites.bmp");
    EXPECT_EQ(runAssetgen("'" + dir + "'"), 1);
    fs::remove_all(dir);
}

TEST(AssetgenCommandLine, ContactSheetIsAPngAndNeedsReadablePictures) {
    const std::string dir = makeTempDir();
    ASSERT_EQ(runAssetgen("--contact-sheet '" + dir + "/fresh.png'"), 0);
    const auto png = readBytes(dir + "/fresh.png");
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png[2], 'N');
    EXPECT_EQ(png[3], 'G');
    // From files on disk; an empty folder and a truncated file are reported.
    ASSERT_EQ(runAssetgen("'" + dir + "'"), 0);
    EXPECT_EQ(runAssetgen("--contact-sheet '" + dir + "/from-files.png' '" + dir + "'"), 0);
    EXPECT_EQ(runAssetgen("--contact-sheet '" + dir + "/none.png' /nonexistent-folder"), 1);
    fs::resize_file(dir + "/Sprites.bmp", 2000);
    EXPECT_EQ(runAssetgen("--contact-sheet '" + dir + "/short.png' '" + dir + "'"), 1);
    EXPECT_FALSE(fs::exists(dir + "/short.png"));
    fs::remove_all(dir);
}

TEST(AssetgenCommandLine, WritesAnIconWithBothSizes) {
    const std::string dir = makeTempDir();
    ASSERT_EQ(runAssetgen("--icon '" + dir + "/Quillmere.ico'"), 0);
    const auto ico = readBytes(dir + "/Quillmere.ico");
    ASSERT_GE(ico.size(), 6u + 2 * 16);
    auto u16 = [&](size_t at) { return static_cast<uint32_t>(ico[at] | (ico[at + 1] << 8)); };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    EXPECT_EQ(u16(0), 0u);
    EXPECT_EQ(u16(2), 1u);
    ASSERT_EQ(u16(4), 2u);
    const int sizes[2] = {32, 16};
    for (size_t e = 0; e < 2; ++e) {
        const size_t entry = 6 + 16 * e;
        const int size = sizes[e];
        EXPECT_EQ(ico[entry], size);
        EXPECT_EQ(ico[entry + 1], size);
        EXPECT_EQ(u16(entry + 6), 32u);
        const uint32_t bytes = u32(entry + 8), offset = u32(entry + 12);
        ASSERT_LE(static_cast<size_t>(offset) + bytes, ico.size());
        const uint32_t maskBytes = 4 * static_cast<uint32_t>(size);  // rows of 1 bit, padded to 4 bytes
        EXPECT_EQ(bytes, 40u + static_cast<uint32_t>(size * size * 4) + maskBytes);
        EXPECT_EQ(u32(offset + 8), static_cast<uint32_t>(2 * size)) << "height counts the mask";
        int opaque = 0;
        for (int i = 0; i < size * size; ++i) opaque += ico[offset + 40 + static_cast<size_t>(i) * 4 + 3] == 255;
        EXPECT_GT(opaque, size * size / 6) << "the icon shows something";
        EXPECT_LT(opaque, size * size) << "the icon has a transparent surround";
    }
    fs::remove_all(dir);
}
