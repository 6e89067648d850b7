#include "LibraryImport.hpp"

#include <gtest/gtest.h>

using R3DSDK::ILibraryImport;
using R3DSDK::LibraryImport;

namespace {

TEST(LibraryImportTest, KeepsEntriesInTheOrderAddedDuplicatesIncluded) {
    LibraryImport imports;
    ILibraryImport& list = imports;
    EXPECT_EQ(list.LibraryCount(), 0u);

    list.AddLibrary("REDCuda.dylib", 0x52334421, 1);
    list.AddLibrary("REDCL.dylib", 0x52334422, 2);
    list.AddLibrary("REDCuda.dylib", 0x52334421, 1);

    ASSERT_EQ(list.LibraryCount(), 3u);
    EXPECT_STREQ(list.LibraryFilename(0), "REDCuda.dylib");
    EXPECT_STREQ(list.LibraryFilename(1), "REDCL.dylib");
    EXPECT_STREQ(list.LibraryFilename(2), "REDCuda.dylib");
    EXPECT_EQ(list.LibraryId(1), 0x52334422u);
    EXPECT_EQ(list.LibraryOptions(1), 2u);
    EXPECT_EQ(list.LibraryOptions(2), 1u);

    list.Reset();
    EXPECT_EQ(list.LibraryCount(), 0u);
}

TEST(LibraryImportTest, KeepsACopyOfTheNameAndANullNameAsEmpty) {
    LibraryImport list;
    char name[] = "REDMetal.dylib";
    list.AddLibrary(name, 1, 8);
    name[0] = 'X';
    list.AddLibrary(nullptr, 2, 0);
    ASSERT_EQ(list.LibraryCount(), 2u);
    EXPECT_STREQ(list.LibraryFilename(0), "REDMetal.dylib");
    EXPECT_STREQ(list.LibraryFilename(1), "");
}

} // namespace
