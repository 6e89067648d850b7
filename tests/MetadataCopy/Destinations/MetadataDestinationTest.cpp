#include "MetadataCopy/Destinations/MetadataDestination.hpp"

#include <gtest/gtest.h>

namespace {

using MetadataCopy::MetadataDestination;

TEST(MetadataDestinationTest, CreatorTextIsTheTextLastSet) {
    // Other tests of this program set the text too; leave it as found.
    const std::string before = MetadataDestination::metadataCreator();

    MetadataDestination::setMetadataCreator("first");
    MetadataDestination::setMetadataCreator("okalu-tafe v0.4.3");
    EXPECT_EQ(MetadataDestination::metadataCreator(), "okalu-tafe v0.4.3");

    MetadataDestination::setMetadataCreator("");
    EXPECT_EQ(MetadataDestination::metadataCreator(), "");

    MetadataDestination::setMetadataCreator(before);
}

} // namespace
