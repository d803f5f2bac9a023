// Reading files through CreateFileA / ReadFile / CloseHandle, and lstrlenA.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "kernel/files.h"
#include "kernel/last_error.h"
#include "support/platform_test.h"

namespace {

class FileTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() /
                  ("qm-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        PlatformTest::TearDown();
    }

    std::string write(const std::string& name, const std::string& bytes) {
        std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    static HANDLE open(const std::string& path) {
        return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    }

    std::filesystem::path folder_;
};

}  // namespace

TEST_F(FileTest, ReadsAWholeFileAndThenNothingMore) {
    std::string bytes("BM\0\x01\xff payload", 12);
    HANDLE file = open(write("whole.bin", bytes));
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[12] = {};
    DWORD read = 99;
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 12u);
    EXPECT_EQ(std::string(buffer, read), bytes);
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr)) << "the end of a file is no error";
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(qmp::kernel::openFileCount(), 0);
}

TEST_F(FileTest, AReadPastTheEndReturnsTheBytesThereWere) {
    HANDLE file = open(write("short.bin", "0123456789"));
    char buffer[16] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file, buffer, 4, &read, nullptr));
    EXPECT_EQ(read, 4u);
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 6u);
    EXPECT_EQ(std::string(buffer, read), "456789");
    CloseHandle(file);
}

TEST_F(FileTest, AMissingFileGivesAnInvalidHandleAndFileNotFound) {
    SetLastError(0);
    EXPECT_EQ(open((folder_ / "nothing.bmp").string()), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(open((folder_ / "no-folder" / "x.bmp").string()), INVALID_HANDLE_VALUE);
    EXPECT_EQ(open(folder_.string()), INVALID_HANDLE_VALUE) << "a folder is not a file";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(qmp::kernel::openFileCount(), 0);
}

TEST_F(FileTest, OnlyReadingExistingFilesIsOffered) {
    std::string path = write("ro.bin", "x");
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
}

TEST_F(FileTest, WindowsSeparatorsWork) {
    std::filesystem::create_directories(folder_ / "sub");
    write("sub/file.bin", "abc");
    std::string windowsPath = folder_.string() + "\\sub\\file.bin";
    HANDLE file = open(windowsPath);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

TEST_F(FileTest, BadHandlesAreRefused) {
    char buffer[4];
    DWORD read = 5;
    EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, buffer, 4, &read, nullptr));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ReadFile(nullptr, buffer, 4, &read, nullptr));

    HANDLE file = open(write("twice.bin", "abc"));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file)) << "closed already";
    EXPECT_FALSE(ReadFile(file, buffer, 4, &read, nullptr)) << "a closed handle is gone";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(FileTest, ReadsNeedACountAndABuffer) {
    HANDLE file = open(write("args.bin", "abc"));
    char buffer[4];
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(file, buffer, 4, nullptr, nullptr));
    EXPECT_FALSE(ReadFile(file, nullptr, 4, &read, nullptr));
    EXPECT_TRUE(ReadFile(file, nullptr, 0, &read, nullptr)) << "reading nothing needs no buffer";
    CloseHandle(file);
}

TEST_F(FileTest, ResetClosesFilesLeftOpen) {
    open(write("left.bin", "abc"));
    EXPECT_EQ(qmp::kernel::openFileCount(), 1);
    platform::reset();
    EXPECT_EQ(qmp::kernel::openFileCount(), 0);
}

TEST(StringLength, CountsBytesAndTakesNull) {
    EXPECT_EQ(lstrlenA(nullptr), 0);
    EXPECT_EQ(lstrlenA(""), 0);
    EXPECT_EQ(lstrlenA("Fixedsys"), 8);
    EXPECT_EQ(lstrlenA("\xC1\xE4"), 2) << "one Big5 character, two bytes";
}
