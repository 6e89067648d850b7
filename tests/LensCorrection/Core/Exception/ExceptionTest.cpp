#include "Exception/Exception.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A subclass that writes its details the way the core's exceptions do.
class DetailedException : public Exception {
public:
    explicit DetailedException(const std::string& detailText) : Exception("Something failed.") {
        details = detailText;
    }
};

TEST(ExceptionTest, DescriptionWithoutDetailsIsTheMessageAndOneLineEnd) {
    const Exception exception("Source could not be read.");
    EXPECT_STREQ(exception.what(), "Source could not be read.");
    EXPECT_EQ(exception.detailedDescription(), "Source could not be read.\n");
}

TEST(ExceptionTest, DescriptionAppendsDetailsAndKeepsTheirOwnLineEnds) {
    EXPECT_EQ(Exception("Message", "Reason: a\nLine Number: 3").detailedDescription(),
              "Message\nReason: a\nLine Number: 3\n");
    // A details text ending in a line end gets a second one: an empty last line.
    EXPECT_EQ(DetailedException("Reason: bad\n").detailedDescription(),
              "Something failed.\nReason: bad\n\n");
}

TEST(ExceptionTest, EmptyMessage) {
    const Exception exception("");
    EXPECT_STREQ(exception.what(), "");
    EXPECT_EQ(exception.detailedDescription(), "\n");
}

TEST(ExceptionTest, CaughtAsStdExceptionKeepsMessageAndCopiesKeepDetails) {
    try {
        throw DetailedException("File Path: \"/tmp/x\"");
    } catch (const std::exception& caught) {
        EXPECT_STREQ(caught.what(), "Something failed.");
        const auto& exception = dynamic_cast<const Exception&>(caught);
        const Exception copy = exception;
        EXPECT_EQ(copy.detailedDescription(), "Something failed.\nFile Path: \"/tmp/x\"\n");
    }
}

} // namespace
