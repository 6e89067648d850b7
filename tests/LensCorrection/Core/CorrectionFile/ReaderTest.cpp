#include "CorrectionFile/Reader.hpp"
#include "CorrectionFile/NotReadableException.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory =
            fs::temp_directory_path() /
            ("reader-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(directory);
    }
    void TearDown() override { fs::remove_all(directory); }

    std::string fileWith(const std::string& bytes) const {
        const fs::path path = directory / "lens.vant";
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    // The exception thrown for the path, checking that content is left alone.
    void expectNotReadable(const std::string& path) const {
        std::string content = "earlier text";
        try {
            CorrectionFile::Reader().readFile(path, content);
            FAIL() << "no exception for " << path;
        } catch (const CorrectionFile::NotReadableException& exception) {
            EXPECT_STREQ(exception.what(), "Correction file could not be read.");
            EXPECT_EQ(exception.filePath, path);
            EXPECT_EQ(exception.detailedDescription(),
                      "Correction file could not be read.\nFile Path: \"" + path + "\"\n");
        }
        EXPECT_EQ(content, "earlier text");
    }

    fs::path directory;
};

TEST_F(ReaderTest, DeliversEveryByteUnchangedAndReplacesEarlierContent) {
    using namespace std::string_literals;
    const std::string bytes = "HEADER_START\r\nkey:=v\xE4lue\r\n\0tail\r\n"s;
    std::string content = "a longer text that was there before this file was read";
    CorrectionFile::Reader().readFile(fileWith(bytes), content);
    EXPECT_EQ(content, bytes);

    CorrectionFile::Reader().readFile(fileWith(""), content);
    EXPECT_EQ(content, "");
}

TEST_F(ReaderTest, RefusesMissingFilesAndDirectories) {
    expectNotReadable((directory / "missing.vant").string());
    // A directory opens like a file on some systems but yields no byte.
    expectNotReadable(directory.string());
}

TEST_F(ReaderTest, RefusesAFileThatYieldsFewerBytesThanItsSize) {
    // Linux reports every sysfs attribute as 4096 bytes long but delivers only
    // its short text: padding the rest with NUL would hand on bytes never read.
    const std::string shortFile = "/sys/devices/system/cpu/online";
    if (!fs::exists(shortFile)) {
        GTEST_SKIP() << "no sysfs here";
    }
    expectNotReadable(shortFile);
}

} // namespace
