#include "MetadataCopy/FileFinder.hpp"

#include <fstream>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

namespace fs = boost::filesystem;

namespace {

// Each test gets a fresh directory and runs inside it, so that relative arguments resolve there.
class FileFinderTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousDirectory = fs::current_path();
        directory = fs::temp_directory_path() / fs::unique_path("okalu-filefinder-%%%%-%%%%-%%%%");
        fs::create_directories(directory);
        fs::current_path(directory);
    }

    void TearDown() override {
        fs::current_path(previousDirectory);
        fs::remove_all(directory);
    }

    void createFiles(const std::vector<std::string>& names) const {
        for (const std::string& name : names) {
            std::ofstream(directory / name) << "x";
        }
    }

    std::vector<std::string> inDirectory(const std::vector<std::string>& names) const {
        std::vector<std::string> paths;
        for (const std::string& name : names) {
            paths.push_back((directory / name).string());
        }
        return paths;
    }

    fs::path previousDirectory;
    fs::path directory;
};

struct WildcardCase {
    const char* title;
    std::vector<std::string> files;
    std::string argument;
    std::vector<std::string> expected;
};

TEST_F(FileFinderTest, WildcardsMatchTheLastComponentCaseSensitivelyInByteOrder) {
    const std::vector<WildcardCase> cases = {
        {"upper case sorts first",
         {"b.exr", "A.exr", "a.exr", "c.txt"},
         "*.exr",
         {"A.exr", "a.exr", "b.exr"}},
        {"matching is case-sensitive", {"a.exr", "b.exr"}, "*.EXR", {}},
        {"a prefix sorts before longer names",
         {"clip-10.exr", "clip-1.exr", "clip-2.exr"},
         "clip-*.exr",
         {"clip-1.exr", "clip-10.exr", "clip-2.exr"}},
        {"a character class keeps its meaning",
         {"clip1_a.exr", "clip2.exr", "clip3.exr"},
         "clip[12]*.exr",
         {"clip1_a.exr", "clip2.exr"}},
        {"a dot is literal", {"aX.b.exr", "aX_b.exr"}, "a*.b.exr", {"aX.b.exr"}},
        {"the pattern covers the whole name",
         {"a.exr", "a.exr.bak", "xa.exr"},
         "a*.exr",
         {"a.exr"}},
        {"a question mark with a star is a quantifier",
         {"clip.exr", "cli.exr", "clipp.exr"},
         "clip?*.exr",
         {"cli.exr", "clip.exr", "clipp.exr"}},
        {"a file named with a star is taken as it stands",
         {"a*.exr", "ab.exr"},
         "a*.exr",
         {"a*.exr"}},
        {"a star inside a class is no wildcard",
         {"a*.x", "a..x", "ab.x", "a\n.x"},
         "a[*].x",
         {"a*.x", "a..x"}},
        {"nothing matches", {"a.txt"}, "*.exr", {}},
    };
    for (const WildcardCase& testCase : cases) {
        SCOPED_TRACE(testCase.title);
        for (fs::directory_iterator entry(directory), end; entry != end; ++entry) {
            fs::remove_all(entry->path());
        }
        createFiles(testCase.files);
        EXPECT_EQ(MetadataCopy::FileFinder::find({testCase.argument}),
                  inDirectory(testCase.expected));
        // An absolute argument gives the same result as the relative one.
        EXPECT_EQ(MetadataCopy::FileFinder::find({(directory / testCase.argument).string()}),
                  inDirectory(testCase.expected));
    }
}

TEST_F(FileFinderTest, ArgumentsThatNameNoFileYieldNothing) {
    createFiles({"clip1.exr", "a.exr"});
    fs::create_directory(directory / "shot.exr");
    fs::create_directory(directory / "shots1");
    createFiles({"shots1/a.exr"});

    for (const std::string argument : {"missing.exr", "shot.exr", "clip?.exr", "shots*/a.exr",
                                       "missing/*.exr", "a.exr/*.exr", ""}) {
        SCOPED_TRACE(argument);
        EXPECT_TRUE(MetadataCopy::FileFinder::find({argument}).empty());
    }
    // A wildcard does not descend into directories, and a directory is no match.
    EXPECT_EQ(MetadataCopy::FileFinder::find({"*"}), inDirectory({"a.exr", "clip1.exr"}));
}

TEST_F(FileFinderTest, AQuestionMarkIsNoWildcard) {
    createFiles({"clip1.exr", "clip?.exr"});
    EXPECT_EQ(MetadataCopy::FileFinder::find({"clip?.exr"}), inDirectory({"clip?.exr"}));
}

TEST_F(FileFinderTest, ArgumentsAreExpandedInOrderWithoutMerging) {
    createFiles({"a.exr", "b.exr"});
    EXPECT_EQ(MetadataCopy::FileFinder::find({"b.exr", "*.exr", "missing.exr", "b.exr"}),
              inDirectory({"b.exr", "a.exr", "b.exr", "b.exr"}));
}

TEST_F(FileFinderTest, RelativePathsAreJoinedToTheCurrentDirectoryWithoutResolving) {
    fs::create_directory(directory / "sub");
    createFiles({"a.exr", "sub/b.exr"});
    EXPECT_EQ(MetadataCopy::FileFinder::find({"./a.exr", "sub/../a.exr", "sub/*.exr"}),
              inDirectory({"./a.exr", "sub/../a.exr", "sub/b.exr"}));
}

TEST_F(FileFinderTest, AbsolutePathsDoNotNeedTheCurrentDirectory) {
    createFiles({"a.exr"});
    fs::create_directory(directory / "gone");
    fs::current_path(directory / "gone");
    fs::remove(directory / "gone");
    EXPECT_EQ(MetadataCopy::FileFinder::find(
                  {(directory / "a.exr").string(), "a.exr", (directory / "*.exr").string()}),
              inDirectory({"a.exr", "a.exr"}));
}

TEST_F(FileFinderTest, SymbolicLinksCountOnlyWhenTheyLeadToARegularFile) {
    createFiles({"target.exr"});
    fs::create_symlink(directory / "target.exr", directory / "link.exr");
    fs::create_symlink(directory / "gone.exr", directory / "dangling.exr");
    fs::create_directory(directory / "folder");
    fs::create_directory_symlink(directory / "folder", directory / "folder.exr");

    EXPECT_EQ(MetadataCopy::FileFinder::find({"link.exr"}), inDirectory({"link.exr"}));
    EXPECT_TRUE(MetadataCopy::FileFinder::find({"dangling.exr"}).empty());
    EXPECT_EQ(MetadataCopy::FileFinder::find({"*.exr"}), inDirectory({"link.exr", "target.exr"}));
}

TEST_F(FileFinderTest, AnInvalidPatternThrowsAndDiscardsEverythingFound) {
    createFiles({"a.exr", "clip(1.exr"});
    EXPECT_THROW(MetadataCopy::FileFinder::find({"a.exr", "clip(*.exr"}), std::regex_error);
    EXPECT_THROW(MetadataCopy::FileFinder::find({"[*.exr"}), std::regex_error);
    // The same characters without a star are never compiled.
    EXPECT_TRUE(MetadataCopy::FileFinder::find({"clip(.exr"}).empty());
}

TEST_F(FileFinderTest, AnUnreadableDirectoryYieldsNothing) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not restrict the superuser";
    }
    fs::create_directory(directory / "locked");
    createFiles({"locked/a.exr", "b.exr"});
    fs::permissions(directory / "locked", fs::no_perms);
    const std::vector<std::string> found =
        MetadataCopy::FileFinder::find({"locked/*.exr", "*.exr"});
    fs::permissions(directory / "locked", fs::owner_all);
    EXPECT_EQ(found, inDirectory({"b.exr"}));
}

} // namespace
