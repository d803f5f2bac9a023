// F12's numbered screenshots.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "backend/headless/contact_sheet.h"
#include "core/screenshot.h"
#include "support/program_run.h"

using qmp::freeScreenshotNumber;
using qmp::screenshotName;
using qmp::ScreenshotWriter;

namespace {

platform::RgbImage picture() {
    platform::RgbImage image;
    image.width = 4;
    image.height = 3;
    image.rgb.assign(4 * 3 * 3, 77);
    return image;
}

void touch(const std::filesystem::path& path) { std::ofstream(path) << "taken"; }

}  // namespace

TEST(SdlScreenshot, NamesAreNumberedFromOne) {
    EXPECT_EQ(screenshotName(1), "Quillmere-0001.png");
    EXPECT_EQ(screenshotName(42), "Quillmere-0042.png");
    EXPECT_EQ(screenshotName(12345), "Quillmere-12345.png");
}

TEST(SdlScreenshot, SavedPicturesTakeTheNextFreeNamesAndLeaveOldFilesAlone) {
    TempFolder folder;
    ASSERT_TRUE(folder.valid());
    touch(folder.path() / "Quillmere-0001.png");
    touch(folder.path() / "Quillmere-0003.png");
    EXPECT_EQ(freeScreenshotNumber(folder.path(), 1), 2);
    EXPECT_EQ(freeScreenshotNumber(folder.path(), 3), 4);

    ScreenshotWriter writer(folder.path());
    std::string path;
    std::string error;
    ASSERT_TRUE(writer.save(picture(), &path, &error)) << error;
    EXPECT_EQ(std::filesystem::path(path).filename(), "Quillmere-0002.png");
    ASSERT_TRUE(writer.save(picture(), &path, &error)) << error;
    EXPECT_EQ(std::filesystem::path(path).filename(), "Quillmere-0004.png") << "0003 was there before";

    std::ifstream old(folder.path() / "Quillmere-0001.png");
    std::string content;
    old >> content;
    EXPECT_EQ(content, "taken");

    platform::RgbImage loaded;
    ASSERT_TRUE(qmp::loadPng(path, &loaded, &error)) << error;
    EXPECT_EQ(loaded.width, 4);
    EXPECT_EQ(loaded.rgb, picture().rgb);
}

TEST(SdlScreenshot, AFolderThatCannotBeWrittenGivesAReason) {
    TempFolder folder;
    ASSERT_TRUE(folder.valid());
    ScreenshotWriter writer(folder.path() / "missing" / "deeper");
    std::string path;
    std::string error;
    EXPECT_FALSE(writer.save(picture(), &path, &error));
    EXPECT_NE(error.find("Quillmere-0001.png"), std::string::npos) << error;

    platform::RgbImage empty;
    ScreenshotWriter here(folder.path());
    EXPECT_FALSE(here.save(empty, &path, &error));
    EXPECT_FALSE(error.empty());
}
