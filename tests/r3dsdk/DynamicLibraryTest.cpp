#include "Support/LogCapture.hpp"
#include "Support/Standin.hpp"

#include "DynamicLibrary.hpp"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

using R3DSDK::DynamicLibrary;
using R3DSDKTest::isLoaded;
using R3DSDKTest::LogCapture;
using R3DSDKTest::standinPath;

namespace {

std::string writeTextFile(const std::string& name) {
    const std::string path = testing::TempDir() + name;
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::fputs("not a library\n", file);
    std::fclose(file);
    return path;
}

TEST(DynamicLibraryTest, LoadFailsWithAMessageForAMissingFileANonLibraryOrNoName) {
    const std::string textFile = writeTextFile("okalu-not-a-library.dylib");
    // An empty name must not open the program itself.
    for (const std::string& path : {standinPath("no-such-variant"), textFile, std::string()}) {
        std::string error;
        std::unique_ptr<DynamicLibrary> library(DynamicLibrary::load(path, error));
        EXPECT_EQ(library, nullptr) << path;
        EXPECT_FALSE(error.empty()) << path;
        EXPECT_TRUE(path.empty() || !isLoaded(path)) << path;
    }
    unlink(textFile.c_str());
}

TEST(DynamicLibraryTest, OnlyTheWrapperThatOpenedTheHandleClosesIt) {
    // A variant that no other test keeps loaded, so that closing is observable.
    const std::string path = standinPath("null-build-names");
    ASSERT_FALSE(isLoaded(path));
    std::string error;
    std::unique_ptr<DynamicLibrary> owner(DynamicLibrary::load(path, error));
    ASSERT_NE(owner, nullptr) << error;
    ASSERT_TRUE(isLoaded(path));

    {
        DynamicLibrary copy(*owner);
        EXPECT_EQ(copy.handle(), owner->handle());
        std::unique_ptr<DynamicLibrary> adopted(DynamicLibrary::load(owner->handle()));
        std::string adoptedError;
        adopted->unload(adoptedError);
        EXPECT_EQ(adopted->handle(), nullptr);
        EXPECT_TRUE(adoptedError.empty());
    }
    EXPECT_TRUE(isLoaded(path)) << "a copy or an adopting wrapper closed the handle";
    EXPECT_NE(owner->getSymbol("RED_LIB_ID"), nullptr);

    owner->unload(error);
    EXPECT_EQ(owner->handle(), nullptr);
    EXPECT_FALSE(isLoaded(path));
    owner->unload(error); // nothing left to close
    EXPECT_EQ(owner->handle(), nullptr);

    std::unique_ptr<DynamicLibrary> destroyed(DynamicLibrary::load(path, error));
    ASSERT_NE(destroyed, nullptr);
    destroyed.reset();
    EXPECT_FALSE(isLoaded(path));
}

TEST(DynamicLibraryTest, AWrapperWithoutHandleFindsNothing) {
    DynamicLibrary empty;
    EXPECT_EQ(empty.getSymbol("dlopen"), nullptr);
    void* found = &empty;
    EXPECT_FALSE(empty.getSymbol(false, &found, "malloc"));
    EXPECT_EQ(found, nullptr);
}

class DynamicLibrarySymbolsTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        library.reset(DynamicLibrary::load(standinPath("default"), error));
        ASSERT_NE(library, nullptr) << error;
    }
    std::unique_ptr<DynamicLibrary> library;
    void* const sentinel = this;
};

TEST_F(DynamicLibrarySymbolsTest, AMissNeitherStopsTheWalkNorGoesUnlogged) {
    void* missing = sentinel;
    void* found = nullptr;
    void* alsoMissing = sentinel;
    LogCapture capture;
    EXPECT_FALSE(library->getSymbols(1, &missing, "RED_NO_SUCH_ENTRY", &found, "RED_LIB_ID",
                                     &alsoMissing, "RED_ALSO_MISSING", nullptr, nullptr));
    EXPECT_EQ(capture.finish(), "[NOT FOUND ] RED_NO_SUCH_ENTRY\n[NOT FOUND ] RED_ALSO_MISSING\n");
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(alsoMissing, nullptr);
    EXPECT_EQ(found, library->getSymbol("RED_LIB_ID"));
    EXPECT_NE(found, nullptr);
}

TEST_F(DynamicLibrarySymbolsTest, LogsNothingWhenAskedNotTo) {
    void* missing = sentinel;
    LogCapture capture;
    EXPECT_FALSE(library->getSymbols(0, &missing, "RED_NO_SUCH_ENTRY", nullptr, nullptr));
    EXPECT_FALSE(library->getSymbol(false, &missing, "RED_NO_SUCH_ENTRY"));
    EXPECT_EQ(capture.finish(), "");
    EXPECT_EQ(missing, nullptr);
}

TEST_F(DynamicLibrarySymbolsTest, TheListEndsAtANullDestinationOrName) {
    LogCapture capture;
    EXPECT_TRUE(library->getSymbols(1, nullptr, nullptr));
    EXPECT_TRUE(library->getSymbols(1, nullptr, "RED_NO_SUCH_ENTRY"));

    void* found = nullptr;
    void* notLookedUp = sentinel;
    EXPECT_TRUE(library->getSymbols(1, &found, "RED_LIB_ID", &notLookedUp, nullptr));
    EXPECT_NE(found, nullptr);
    EXPECT_EQ(notLookedUp, sentinel);
    EXPECT_EQ(capture.finish(), "");
}

} // namespace
