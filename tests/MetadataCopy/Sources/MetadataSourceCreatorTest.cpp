#include "MetadataCopy/Sources/MetadataSourceCreator.hpp"

#include "Exception/Exception.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using MetadataCopy::MetadataSourceCreator;

std::string creationFailure(const std::vector<std::string>& filePaths) {
    try {
        MetadataSourceCreator::create(filePaths);
    } catch (const Exception& exception) {
        return exception.what();
    }
    return "(created)";
}

// None of these files exists: a refusal must come before any file is read,
// or the message would be the source's own "could not be read" or "loaded".
TEST(MetadataSourceCreator, RefusesPathListsThatDoNotMakeOneSource) {
    const std::string differentTypes = "Sources cannot be of different types.";
    const std::string multipleVant = "Source cannot consist of multiple vant files.";
    const std::string multipleR3D =
        "Source cannot consist of multiple R3D files. Please select only one if the footage is "
        "split into multiple parts and the other parts contained in the same directory will be "
        "used automatically.";
    const std::string unsupported = "Source cannot be created with unsupported type.";

    const struct {
        std::vector<std::string> filePaths;
        std::string message;
    } cases[] = {
        {{"/missing/a.vant", "/missing/b.r3d"}, differentTypes},
        {{"/missing/b.r3d", "/missing/a.vant"}, differentTypes},
        {{"/missing/x.txt", "/missing/y"}, differentTypes},
        {{"/missing/a.vant", "/missing/b.vant", "/missing/c.txt"}, differentTypes},
        {{"/missing/a.vant", "/missing/a.vant"}, multipleVant},
        {{"/missing/a.vant", "/missing/B.VANT"}, multipleVant},
        {{"/missing/A001.R3D", "/missing/A002.r3d"}, multipleR3D},
        {{"/missing/x.txt", "/missing/y.txt"}, unsupported},
        {{"/missing/clip"}, unsupported},
        {{"/missing/dir.vant/clip"}, unsupported},
        {{"/missing/clip.vant.txt"}, unsupported},
        {{"/missing/clip."}, unsupported},
    };
    for (const auto& testCase : cases) {
        std::string paths;
        for (const std::string& path : testCase.filePaths) {
            paths += path + " ";
        }
        SCOPED_TRACE(paths);
        EXPECT_EQ(testCase.message, creationFailure(testCase.filePaths));
    }
}

// The kind of source shows in the failure that reading a missing file gives.
TEST(MetadataSourceCreator, ChoosesTheSourceByExtensionInAnyCase) {
    for (const char* path :
         {"/missing/clip.vant", "/missing/clip.Vant", "/missing/take.01.VANT", "/missing/.vant"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ("Source could not be read.", creationFailure({path}));
    }
}

} // namespace
