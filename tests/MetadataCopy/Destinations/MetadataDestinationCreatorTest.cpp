#include "MetadataCopy/Destinations/MetadataDestinationCreator.hpp"

#include "Exception/Exception.hpp"
#include "Support/ExrFixtures.hpp"

#include <boost/filesystem/operations.hpp>
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

TEST(MetadataDestinationCreatorTest, AFrameIsKeptAtItsFirstNamingOnly) {
    ExrFixtures::TemporaryDirectory directory;
    const auto at = [&](const std::string& name) { return directory.file(name); };
    for (const char* name : {"a.exr", "b.exr"}) {
        ExrFixtures::writeFileBytes(at(name), name);
    }
    boost::filesystem::create_directory(at("sub"));
    boost::filesystem::create_symlink("../a.exr", at("sub/link.exr"));
    boost::filesystem::create_hard_link(at("b.exr"), at("hard.exr"));

    // The file found once more through "./", a link in another directory and
    // another spelling is dropped; a hard link under another name is its own
    // frame, and a path that cannot be resolved is left for its turn to fail.
    const std::vector<std::string> paths = {at("./a.exr"),      at("b.exr"),    at("sub/link.exr"),
                                            at("sub/../a.exr"), at("gone.exr"), at("gone.exr"),
                                            at("hard.exr"),     at("./b.exr")};
    const std::vector<std::string> expected = {at("./a.exr"), at("b.exr"), at("gone.exr"),
                                               at("gone.exr"), at("hard.exr")};
    EXPECT_EQ(MetadataDestinationCreator::withoutRepeatedFrames(paths), expected);

    // A list that is refused stays as it is.
    const std::vector<std::string> refused = {at("a.exr"), at("a.exr"), at("notes.txt")};
    EXPECT_EQ(MetadataDestinationCreator::withoutRepeatedFrames(refused), refused);
}

} // namespace
