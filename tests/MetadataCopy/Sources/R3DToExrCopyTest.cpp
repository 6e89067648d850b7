// One whole copy in process from an R3D clip: a stand-in clip at 59.94 frames
// per second, EXR files of its footage, the source and destination creators
// and the copying director with the console delegate.
#include "MetadataCopy/CopyingDirector/IostreamMetadataCopyingDirectorDelegate.hpp"
#include "MetadataCopy/CopyingDirector/MetadataCopyingDirector.hpp"
#include "MetadataCopy/Destinations/MetadataDestination.hpp"
#include "MetadataCopy/Destinations/MetadataDestinationCreator.hpp"
#include "MetadataCopy/Sources/MetadataSourceCreator.hpp"

#include "Sources/R3DTestClips.hpp"
#include "Support/ExrFixtures.hpp"
#include "Support/ScopedGlobals.hpp"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace R3DTestClips;
using namespace MetadataCopy;

class R3DToExrCopyTest : public StartedSdkTest {};

using ScopedGlobals::ConsoleCapture;
using ScopedGlobals::CreatorText;

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::string document(const std::string& shading, const std::string& distortion) {
    return "{\"version\":\"1.0.0\",\"recordingFormat\":{\"imageRadius\":15.2804,"
           "\"clipResolution\":{\"width\":6144,\"height\":3240},"
           "\"camera\":{\"manufacturer\":\"RED\",\"model\":\"KOMODO 6K S35\"}},"
           "\"frameData\":{\"interpolationPoints\":{\"heights\":[0,5,10,15,18,21.4],"
           "\"shading\":[" +
           shading + "],\"radialDistortion\":[" + distortion +
           "]}},"
           "\"creator\":\"okalu-tafe v0.4.3\"}";
}

std::string sixTimes(const std::string& value) {
    return value + "," + value + "," + value + "," + value + "," + value + "," + value;
}

TEST_F(R3DToExrCopyTest, EveryImageReceivesTheLensDataOfItsField) {
    ExrFixtures::TemporaryDirectory directory;

    // The camera numbers both fields of a frame alike: "." marks the first,
    // ":" the second. Only frames whose lens data changes are kept.
    Clip clip;
    clip.framerate = "59.94";
    clip.frames = {
        {"01:00:00.00", shortPacket(10, -1)}, // field 0
        {"01:00:00:00", shortPacket(20, -2)}, // field 1
        {"01:00:00.01", shortPacket(20, -2)}, // field 2, unchanged
        {"01:00:00:01", shortPacket(30, -3)}, // field 3
        {"01:00:00.02", shortPacket(40, -4)}, // field 4
        {"01:00:00:02", ""},                  // field 5, no lens data
        {"01:00:00.03", shortPacket(40, -4)}, // field 6, unchanged
        {"01:00:00:03", shortPacket(10, -1)}, // field 7
    };
    const std::string clipPath = directory.file("A001_C001_0101AB_001.R3D");
    ExrFixtures::writeFileBytes(clipPath, clipText(clip));

    // An image of the clip's footage with stored frame f is field 2f + 1.
    const struct {
        const char* name;
        int frame;
        bool fromClip;
        const char* shading;
        const char* distortion;
    } images[] = {
        {"shot.000.exr", 0, true, "2", "-0.2"},
        {"shot.001.exr", 1, true, "3", "-0.3"},
        {"shot.002.exr", 2, true, "4", "-0.4"}, // field 5 has none: field 4's
        {"shot.003.exr", 3, true, "1", "-0.1"},
        {"shot.010.exr", 10, true, "1", "-0.1"}, // past the clip: the last
        {"other.exr", 0, false, "1", "-0.1"},    // not double rate: field 0
    };
    std::vector<std::string> destinationPaths;
    for (const auto& image : images) {
        ExrFixtures::ExrFileSpec spec;
        spec.timeCode = Imf::TimeCode(1, 0, 0, image.frame);
        if (image.fromClip) {
            spec.source = "A001_C001_0101AB_001.R3D";
            spec.fps = 59.94f;
        }
        destinationPaths.push_back(directory.file(image.name));
        ExrFixtures::writeScanLineExr(destinationPaths.back(), spec);
    }

    const CreatorText creator("okalu-tafe v0.4.3");
    std::ostringstream console;
    {
        const ConsoleCapture capture(console);
        MetadataCopyingDirector director(
            std::make_unique<IostreamMetadataCopyingDirectorDelegate>(Options{0, false}));
        director.copy(MetadataSourceCreator::create({clipPath}),
                      MetadataDestinationCreator::create(destinationPaths));
    }

    EXPECT_EQ(destinationPaths.size(), occurrences(console.str(), "OK: Successfully copied"))
        << console.str();
    for (std::size_t index = 0; index < destinationPaths.size(); ++index) {
        SCOPED_TRACE(images[index].name);
        EXPECT_EQ(std::optional<std::string>(document(sixTimes(images[index].shading),
                                                      sixTimes(images[index].distortion))),
                  ExrFixtures::readStringAttribute(destinationPaths[index],
                                                   ExrFixtures::lensCorrectionAttributeName));
    }
}

} // namespace
