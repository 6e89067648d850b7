#include "SafeStringCopy.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

struct CopyCase {
    const char* source;
    unsigned long count;
    const char* expected;
};

class SafeStringCopyTest : public testing::TestWithParam<CopyCase> {};

TEST_P(SafeStringCopyTest, CopiesAtMostCountCharactersAndANul) {
    const CopyCase& copyCase = GetParam();
    char destination[16];
    std::fill(std::begin(destination), std::end(destination), '#');
    R3DSDK::SafeStringCopy(destination, copyCase.count, copyCase.source);
    EXPECT_STREQ(destination, copyCase.expected);
    const std::size_t written = std::string(copyCase.expected).size() + 1;
    for (std::size_t i = written; i < sizeof(destination); ++i) {
        EXPECT_EQ(destination[i], '#') << "byte " << i << " written";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SafeStringCopyTest,
                         testing::Values(CopyCase{"abcdef", 3, "abc"},
                                         CopyCase{"abcdef", 6, "abcdef"},
                                         CopyCase{"abc", 10, "abc"}, CopyCase{"abc", 0, ""},
                                         CopyCase{"", 5, ""}));

TEST(SafeStringCopyNullTest, WritesNothingForANullSourceOrDestination) {
    char destination[4] = {'x', 'y', 'z', '\0'};
    R3DSDK::SafeStringCopy(destination, 3, nullptr);
    EXPECT_STREQ(destination, "xyz");
    R3DSDK::SafeStringCopy(nullptr, 3, "abc"); // must not crash
}

} // namespace
