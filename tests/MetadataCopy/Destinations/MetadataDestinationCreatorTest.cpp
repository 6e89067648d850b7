#include "MetadataCopy/Destinations/MetadataDestinationCreator.hpp"

#include "Exception/Exception.hpp"
#include "Support/ExrFixtures.hpp"

#include <gtest/gtest.h>

namespace {

using MetadataCopy::MetadataDestinationCreator;

TEST(MetadataDestinationCreatorTest, AcceptsExrInAnyCaseInTheGivenOrderWithDuplicates) {
    const std::vector<std::string> paths = {"/shots/A.EXR", "/shots/b.Exr", "c.exr", "/shots/.exr",
                                            "/shots/A.EXR"};
    const auto destinations = MetadataDestinationCreator::create(paths);
    ASSERT_EQ(destinations.size(), paths.size());
    const char* names[] = {"A.EXR", "b.Exr", "c.exr", ".exr", "A.EXR"};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        ASSERT_NE(destinations[i], nullptr);
        EXPECT_EQ(destinations[i]->fileName(), names[i]);
    }
    EXPECT_NE(destinations[0], destinations[4]);
}

TEST(MetadataDestinationCreatorTest, OneOtherExtensionRefusesTheWholeListUntouched) {
    ExrFixtures::TemporaryDirectory directory;
    const std::string shot = directory.file("shot.exr");
    ExrFixtures::writeScanLineExr(shot);
    const std::string before = ExrFixtures::readFileBytes(shot);

    const std::vector<std::vector<std::string>> refused = {
        {shot, directory.file("shot.exr.bak")}, {shot, "/shots/frame"}, {"/shots/frame.exr.", shot},
        {"/shots/a.exr", "/shots/a.tif"},       {"/shots/.."},          {"/shots/a.exr/"},
    };
    for (const auto& paths : refused) {
        try {
            MetadataDestinationCreator::create(paths);
            ADD_FAILURE() << "accepted " << paths.back();
        } catch (const Exception& exception) {
            EXPECT_STREQ(exception.what(), "Destination cannot be created with unsupported type.");
        }
    }
    EXPECT_EQ(ExrFixtures::readFileBytes(shot), before);
    EXPECT_FALSE(ExrFixtures::readStringAttribute(shot, ExrFixtures::lensCorrectionAttributeName));
}

} // namespace
