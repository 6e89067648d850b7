// One whole copy in process: a VANT file, three EXR files written with
// OpenEXR, the copying director with the console delegate.
#include "MetadataCopy/CopyingDirector/IostreamMetadataCopyingDirectorDelegate.hpp"
#include "MetadataCopy/CopyingDirector/MetadataCopyingDirector.hpp"
#include "MetadataCopy/Destinations/ExrMetadataDestination.hpp"
#include "MetadataCopy/Sources/VantMetadataSource.hpp"

#include "Sources/VantTestFiles.hpp"
#include "Support/ExrFixtures.hpp"
#include "Support/ScopedGlobals.hpp"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace MetadataCopy;

namespace {

using ScopedGlobals::ConsoleCapture;
using ScopedGlobals::CreatorText;

std::string expectedDocument(const std::string& shading) {
    return "{\"version\":\"1.0.0\",\"recordingFormat\":{\"imageRadius\":13.7682,"
           "\"clipResolution\":{\"width\":1920,\"height\":1080},"
           "\"camera\":{\"manufacturer\":\"Maker\",\"model\":\"Model 7\"}},"
           "\"frameData\":{\"interpolationPoints\":{\"heights\":[0,5,10,15,18,21.4],"
           "\"shading\":[" +
           shading +
           "],\"radialDistortion\":[0,-1,-2,-3,-4,-5]}},"
           "\"creator\":\"okalu-tafe v0.4.3\"}";
}

TEST(VantToExrCopyTest, EveryFileReceivesTheRowInForceAtItsTimecode) {
    ExrFixtures::TemporaryDirectory directory;
    const std::string vantPath = directory.file("clip.vant");
    ExrFixtures::writeFileBytes(
        vantPath, VantTestFiles::vantText({VantTestFiles::row2(100, "10", "01:00:00:00"),
                                           VantTestFiles::row2(200, "20", "01:00:04:00")}));

    struct File {
        const char* name;
        Imf::TimeCode timeCode;
        const char* existingDocument;
        const char* shading;
    };
    const File files[] = {
        {"clip-0001.exr", Imf::TimeCode(1, 0, 0, 0), nullptr, "10,10,10,10,10,10"},
        // Existing metadata is replaced under the default policy.
        {"clip-0002.exr", Imf::TimeCode(1, 0, 3, 24), "{\"old\":1}", "10,10,10,10,10,10"},
        {"clip-0003.exr", Imf::TimeCode(1, 0, 4, 0), nullptr, "20,20,20,20,20,20"},
    };
    std::vector<std::shared_ptr<MetadataDestination>> destinations;
    std::vector<std::vector<char>> pixelsBefore;
    for (const File& file : files) {
        ExrFixtures::ExrFileSpec spec;
        spec.timeCode = file.timeCode;
        if (file.existingDocument != nullptr) {
            spec.lensCorrection = file.existingDocument;
        }
        spec.seed = static_cast<unsigned int>(destinations.size() + 1);
        const std::string path = directory.file(file.name);
        ExrFixtures::writeScanLineExr(path, spec);
        pixelsBefore.push_back(ExrFixtures::decodedPixels(path));
        destinations.push_back(std::make_shared<ExrMetadataDestination>(path));
    }

    const CreatorText creator("okalu-tafe v0.4.3");
    std::ostringstream console;
    {
        const ConsoleCapture capture(console);
        MetadataCopyingDirector director(
            std::make_unique<IostreamMetadataCopyingDirectorDelegate>(Options{0, false}));
        director.copy(std::make_shared<VantMetadataSource>(vantPath), destinations);
    }

    EXPECT_EQ(console.str(), "0% [Copying to \"clip-0001.exr\" ...]"
                             "\r  OK: Successfully copied to \"clip-0001.exr\".\n"
                             "33% [Copying to \"clip-0002.exr\" ...]"
                             "\r  OK: Successfully copied to \"clip-0002.exr\".\n"
                             "66% [Copying to \"clip-0003.exr\" ...]"
                             "\r  OK: Successfully copied to \"clip-0003.exr\".\n"
                             "Completed!\n");
    for (std::size_t i = 0; i < destinations.size(); ++i) {
        const std::string path = directory.file(files[i].name);
        SCOPED_TRACE(path);
        EXPECT_EQ(ExrFixtures::readStringAttribute(path, ExrFixtures::lensCorrectionAttributeName),
                  expectedDocument(files[i].shading));
        EXPECT_EQ(ExrFixtures::decodedPixels(path), pixelsBefore[i]);
    }
}

} // namespace
