#include "MetadataCopy/Destinations/ExrMetadataDestination.hpp"

#include "Exception/Exception.hpp"
#include "Support/ExrFixtures.hpp"
#include "Support/SampleMetadata.hpp"
#include "Support/ScopedGlobals.hpp"
#include "Timecode/InvalidTimecodeException.hpp"

#include <OpenEXR/ImfDoubleAttribute.h>
#include <OpenEXR/ImfIntAttribute.h>
#include <OpenEXR/ImfStringAttribute.h>
#include <OpenEXR/ImfTimeCodeAttribute.h>

#include <boost/filesystem/operations.hpp>

#include <gtest/gtest.h>

#include <csignal>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ExrFixtures::ExrFileSpec;
using ExrFixtures::lensCorrectionAttributeName;
using MetadataCopy::ExrMetadataDestination;
using MetadataCopy::Metadata;
using ScopedGlobals::CreatorText;

const std::string workedExample =
    "{\"version\":\"1.0.0\",\"recordingFormat\":{\"imageRadius\":23.1532,\"clipResolution\":{"
    "\"width\":8192,\"height\":4320},\"camera\":{\"manufacturer\":\"RED\",\"model\":\"WEAPON 8K "
    "VV\"}},\"frameData\":{\"interpolationPoints\":{\"heights\":[0,5,10,15,18,21.4],\"shading\":["
    "1,0.98,0.95,0.9,0.85,0.8],\"radialDistortion\":[0,-0.1,-0.25,-0.5,-0.8,-1.23457]}},"
    "\"creator\":\"okalu-tafe v0.4.3\"}";

std::string failureOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const Exception& exception) {
        return exception.what();
    } catch (const std::exception& exception) {
        return std::string("foreign exception: ") + exception.what();
    }
    return "no failure";
}

class ExrMetadataDestinationTest : public ::testing::Test {
protected:
    std::string path(const std::string& name = "frame.exr") const { return directory.file(name); }

    bool exists(const std::string& filePath) const {
        boost::system::error_code error;
        return boost::filesystem::symlink_status(filePath, error).type() !=
               boost::filesystem::file_not_found;
    }

    // Writes the metadata and returns the document found in the file.
    std::string writtenDocument(const Metadata& metadata) {
        const std::string filePath = path("document.exr");
        ExrFixtures::writeScanLineExr(filePath);
        ExrMetadataDestination(filePath).writeMetadata(metadata);
        return ExrFixtures::readStringAttribute(filePath, lensCorrectionAttributeName)
            .value_or("<no attribute>");
    }

    ExrFixtures::TemporaryDirectory directory;
};

TEST_F(ExrMetadataDestinationTest, WritesTheDocumentCharacterForCharacter) {
    {
        CreatorText creator("okalu-tafe v0.4.3");
        const std::string document = writtenDocument(SampleMetadata::weaponFrame());
        EXPECT_EQ(document, workedExample);
        EXPECT_EQ(document.size(), 350u);
    }
    {
        // Nothing in the test program sets the creator text for good, so it
        // is still empty here, as before the tool sets it.
        Metadata empty;
        EXPECT_EQ(writtenDocument(empty),
                  "{\"version\":\"1.0.0\",\"recordingFormat\":{\"imageRadius\":0,"
                  "\"clipResolution\":{\"width\":0,\"height\":0},\"camera\":{\"manufacturer\":"
                  "\"\",\"model\":\"\"}},\"frameData\":{\"interpolationPoints\":{\"heights\":[],"
                  "\"shading\":[],\"radialDistortion\":[]}},\"creator\":\"\"}");
    }
}

TEST_F(ExrMetadataDestinationTest, WritesNumbersInTheDefaultNotationWithSixDigits) {
    CreatorText creator("c");
    const struct {
        std::vector<float> heights;
        float radius;
        std::string expectedHeights;
        std::string expectedRadius;
    } cases[] = {
        {{7.5f}, 10.0f, "[7.5]", "10"},
        {{1234567.0f, 0.00001f}, 0.5f, "[1.23457e+06,1e-05]", "0.5"},
        {{-0.0f, 12.345678f}, 4294967296.0f, "[-0,12.3457]", "4.29497e+09"},
    };
    for (const auto& testCase : cases) {
        Metadata metadata;
        metadata.headerMetadata.recordingFormat.imageRadius = testCase.radius;
        metadata.headerMetadata.recordingFormat.clipResolution = {4294967295u, 1};
        metadata.frameMetadata.interpolationPoints.heights = testCase.heights;
        const std::string document = writtenDocument(metadata);
        EXPECT_NE(document.find("\"heights\":" + testCase.expectedHeights + ","), std::string::npos)
            << document;
        EXPECT_NE(document.find("\"imageRadius\":" + testCase.expectedRadius + ","),
                  std::string::npos)
            << document;
        EXPECT_NE(document.find("{\"width\":4294967295,\"height\":1}"), std::string::npos)
            << document;
    }
}

TEST_F(ExrMetadataDestinationTest, EscapesStringsOnlyWhereJsonRequiresIt) {
    const struct {
        std::string text;
        std::string written;
    } cases[] = {
        {"WEAPON 8K VV", "WEAPON 8K VV"},
        {"say \"cheese\"", "say \\\"cheese\\\""},
        {"C:\\lens", "C:\\\\lens"},
        {"a\tb\nc\rd\be\ff", "a\\tb\\nc\\rd\\be\\ff"},
        {std::string("\x01\x1f", 2) + std::string(1, '\0'), "\\u0001\\u001f\\u0000"},
        {"\xc3\x84rger / \x7f", "\xc3\x84rger / \x7f"},
    };
    for (const auto& testCase : cases) {
        CreatorText creator(testCase.text);
        Metadata metadata;
        metadata.headerMetadata.recordingFormat.camera = {testCase.text, testCase.text};
        const std::string quoted = "\"" + testCase.written + "\"";
        const std::string document = writtenDocument(metadata);
        EXPECT_NE(document.find("{\"manufacturer\":" + quoted + ",\"model\":" + quoted + "}}"),
                  std::string::npos)
            << document;
        const std::string ending = ",\"creator\":" + quoted + "}";
        ASSERT_GE(document.size(), ending.size());
        EXPECT_EQ(document.substr(document.size() - ending.size()), ending);
    }
}

// Each ill-formed UTF-8 sequence (its maximal subpart) becomes one
// replacement character; well-formed characters pass byte for byte.
TEST_F(ExrMetadataDestinationTest, ReplacesEachInvalidUtf8SequenceOnce) {
    const std::string r = "\\ufffd";
    const std::pair<std::string, std::string> cases[] = {
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"caf\xE9", "caf" + r},
        {"\xF0\x9F\x98", r},                                             // cut short by the end
        {"\xE2\x82\xE2\x82\xAC\xC3\"", r + "\xE2\x82\xAC" + r + "\\\""}, // and by others
        {"\xC0\xAF\xE0\x80\xAF", r + r + r + r + r},                     // overlong forms
        {"\xED\xA0\x80\xF4\x90\x80\x80", r + r + r + r + r + r + r},     // surrogate, > U+10FFFF
    };
    for (const auto& testCase : cases) {
        CreatorText creator(testCase.first);
        const std::string document = writtenDocument(Metadata());
        EXPECT_EQ(document.substr(document.rfind(":\"") + 1), "\"" + testCase.second + "\"}");
    }
}

TEST_F(ExrMetadataDestinationTest, RefusesNumbersThatAreNotFiniteAndLeavesTheFileAlone) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    std::vector<Metadata> cases(4, SampleMetadata::weaponFrame());
    cases[0].headerMetadata.recordingFormat.imageRadius = nan;
    cases[1].frameMetadata.interpolationPoints.heights.back() = infinity;
    cases[2].frameMetadata.interpolationPoints.shading.front() = nan;
    cases[3].frameMetadata.interpolationPoints.radialDistortion = {-infinity};

    const std::string filePath = path();
    ExrFixtures::writeScanLineExr(filePath);
    const std::string before = ExrFixtures::readFileBytes(filePath);
    for (const Metadata& metadata : cases) {
        EXPECT_EQ(failureOf([&] { ExrMetadataDestination(filePath).writeMetadata(metadata); }),
                  "Metadata contains a number that is not finite.");
        EXPECT_EQ(ExrFixtures::readFileBytes(filePath), before);
        EXPECT_FALSE(exists(filePath + ".tmp"));
    }
}

TEST_F(ExrMetadataDestinationTest, RewriteCarriesPixelsAndAttributesOverUnchanged) {
    CreatorText creator("okalu-tafe v0.4.3");
    const Imf::Compression compressions[] = {Imf::NO_COMPRESSION, Imf::ZIP_COMPRESSION,
                                             Imf::PIZ_COMPRESSION, Imf::DWAA_COMPRESSION};
    const Imf::PixelType pixelTypes[] = {Imf::HALF, Imf::FLOAT};
    unsigned int seed = 0;
    for (const Imf::Compression compression : compressions) {
        for (const Imf::PixelType pixelType : pixelTypes) {
            for (const bool alreadyPresent : {false, true}) {
                SCOPED_TRACE(testing::Message() << "compression " << compression << ", type "
                                                << pixelType << ", present " << alreadyPresent);
                ExrFileSpec spec;
                spec.width = 70;
                spec.height = 45; // not a whole number of chunks
                spec.compression = compression;
                spec.pixelType = pixelType;
                spec.seed = ++seed;
                spec.source = "A001_C002.R3D";
                spec.fps = 24.0f;
                spec.extraAttributes = {
                    {"owner", std::make_shared<Imf::StringAttribute>("someone")}};
                if (alreadyPresent) {
                    spec.lensCorrection = "{\"version\":\"0.9\"}";
                }
                const std::string filePath = path();
                ExrFixtures::writeScanLineExr(filePath, spec);
                const auto attributesBefore =
                    ExrFixtures::attributesExcept(filePath, {lensCorrectionAttributeName});
                const auto pixelsBefore = ExrFixtures::decodedPixels(filePath);
                const auto chunksBefore = ExrFixtures::rawChunks(filePath);

                const ExrMetadataDestination destination(filePath);
                EXPECT_EQ(destination.doesMetadataEntryExist(), alreadyPresent);
                destination.writeMetadata(SampleMetadata::weaponFrame());

                EXPECT_TRUE(destination.doesMetadataEntryExist());
                EXPECT_EQ(ExrFixtures::readStringAttribute(filePath, lensCorrectionAttributeName),
                          workedExample);
                EXPECT_EQ(ExrFixtures::attributesExcept(filePath, {lensCorrectionAttributeName}),
                          attributesBefore);
                EXPECT_EQ(ExrFixtures::rawChunks(filePath), chunksBefore);
                EXPECT_EQ(ExrFixtures::decodedPixels(filePath), pixelsBefore);
                EXPECT_FALSE(exists(filePath + ".tmp"));
            }
        }
    }
}

TEST_F(ExrMetadataDestinationTest, AttributeOfAnotherTypeIsNotOursAndIsNotReplaced) {
    ExrFileSpec spec;
    spec.extraAttributes = {{lensCorrectionAttributeName, std::make_shared<Imf::IntAttribute>(7)}};
    const std::string filePath = path();
    ExrFixtures::writeScanLineExr(filePath, spec);
    const std::string before = ExrFixtures::readFileBytes(filePath);

    const ExrMetadataDestination destination(filePath);
    EXPECT_FALSE(destination.doesMetadataEntryExist());
    EXPECT_EQ(failureOf([&] { destination.writeMetadata(SampleMetadata::weaponFrame()); }),
              "File does not exist.");
    EXPECT_EQ(ExrFixtures::readFileBytes(filePath), before);
    EXPECT_FALSE(exists(filePath + ".tmp"));
}

TEST_F(ExrMetadataDestinationTest, TimecodeDoublesTheFrameOnlyForR3DFootageAbove30UpTo60) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        std::optional<std::string> source;
        std::optional<float> fps;
        std::shared_ptr<Imf::Attribute> otherFps;
        unsigned int expectedFrame;
    } cases[] = {
        {"A001_C002.R3D", 48.0f, nullptr, 21},
        {"/footage/a001_c002.r3d", 60.0f, nullptr, 21},
        {"x.R3d", 30.5f, nullptr, 21},
        {"A001_C002.R3D", 30.0f, nullptr, 10},
        {"A001_C002.R3D", 60.001f, nullptr, 10},
        {"A001_C002.R3D", nan, nullptr, 10},
        {"A001_C002.R3D", std::nullopt, nullptr, 10},
        {std::nullopt, 48.0f, nullptr, 10},
        {"A001_C002.R3D", std::nullopt, std::make_shared<Imf::DoubleAttribute>(48.0), 10},
        {"A001_C002.R3D ", 48.0f, nullptr, 10},
        {"A001_C002.mov", 48.0f, nullptr, 10},
        {"r3d", 48.0f, nullptr, 10},
        {".r3d", 48.0f, nullptr, 21},
    };
    for (const auto& testCase : cases) {
        ExrFileSpec spec;
        spec.timeCode = Imf::TimeCode(1, 2, 3, 10);
        spec.source = testCase.source;
        spec.fps = testCase.fps;
        if (testCase.otherFps) {
            spec.extraAttributes = {{"FPS", testCase.otherFps}};
        }
        const std::string filePath = path();
        ExrFixtures::writeScanLineExr(filePath, spec);

        const Timecode::Timecode timecode = ExrMetadataDestination(filePath).timecode();
        EXPECT_EQ(timecode.frames, testCase.expectedFrame)
            << testCase.source.value_or("-") << " at " << testCase.fps.value_or(-1);
        EXPECT_EQ(timecode.hours, 1u);
        EXPECT_EQ(timecode.minutes, 2u);
        EXPECT_EQ(timecode.seconds, 3u);
        EXPECT_EQ(timecode.fps, 0.0f);
    }
}

TEST_F(ExrMetadataDestinationTest, TimecodeFailsWithoutAUsableTimeCodeAttribute) {
    const std::string filePath = path();
    ExrFileSpec spec;
    spec.timeCode.reset();
    ExrFixtures::writeScanLineExr(filePath, spec);
    EXPECT_EQ(failureOf([&] { ExrMetadataDestination(filePath).timecode(); }),
              "Timecode does not exist.");

    spec.extraAttributes = {{"timeCode", std::make_shared<Imf::StringAttribute>("01:02:03:04")}};
    ExrFixtures::writeScanLineExr(filePath, spec);
    EXPECT_EQ(failureOf([&] { ExrMetadataDestination(filePath).timecode(); }),
              "Timecode does not exist.");

    // Minutes 61, stored as binary-coded decimal: the timecode's own
    // exception comes through unchanged.
    spec.extraAttributes.clear();
    spec.timeCode = Imf::TimeCode((6u << 20) | (1u << 16), 0);
    ExrFixtures::writeScanLineExr(filePath, spec);
    EXPECT_THROW(ExrMetadataDestination(filePath).timecode(), Timecode::InvalidTimecodeException);
}

TEST_F(ExrMetadataDestinationTest, UnreadableFilesFailEveryOperationAndStayAsTheyWere) {
    ExrFixtures::writeScanLineExr(path("intact.exr"));
    const std::string intact = ExrFixtures::readFileBytes(path("intact.exr"));
    ExrFixtures::writeFileBytes(path("empty.exr"), "");
    ExrFixtures::writeFileBytes(path("text.exr"), "# VANT Version 3\nnot an image\n");
    ExrFixtures::writeFileBytes(path("header-cut.exr"), intact.substr(0, 40));
    boost::filesystem::create_directory(path("directory.exr"));

    for (const char* name :
         {"missing.exr", "empty.exr", "text.exr", "header-cut.exr", "directory.exr"}) {
        SCOPED_TRACE(name);
        const std::string filePath = path(name);
        const bool present = exists(filePath);
        const std::string before = present && !boost::filesystem::is_directory(filePath)
                                       ? ExrFixtures::readFileBytes(filePath)
                                       : std::string();
        const ExrMetadataDestination destination(filePath);
        EXPECT_EQ(failureOf([&] { destination.doesMetadataEntryExist(); }), "File does not exist.");
        EXPECT_EQ(failureOf([&] { destination.timecode(); }), "File does not exist.");
        EXPECT_EQ(failureOf([&] { destination.writeMetadata(SampleMetadata::weaponFrame()); }),
                  "File does not exist.");
        EXPECT_EQ(exists(filePath), present);
        if (present && !boost::filesystem::is_directory(filePath)) {
            EXPECT_EQ(ExrFixtures::readFileBytes(filePath), before);
        }
        EXPECT_FALSE(exists(filePath + ".tmp"));
    }
}

TEST_F(ExrMetadataDestinationTest, FilesThatCannotBeCarriedOverWholeAreRefusedUntouched) {
    ExrFileSpec spec;
    spec.height = 40;
    ExrFixtures::writeTiledExr(path("tiled.exr"), spec);
    ExrFixtures::writeMultiPartExr(path("multipart.exr"), spec);
    ExrFixtures::writeDeepScanLineExr(path("deep.exr"), spec);
    // Header intact, pixel data cut off: only reading the chunks fails.
    ExrFixtures::writeScanLineExr(path("whole.exr"), spec);
    const std::string whole = ExrFixtures::readFileBytes(path("whole.exr"));
    ExrFixtures::writeFileBytes(path("truncated.exr"), whole.substr(0, whole.size() * 2 / 3));

    for (const char* name : {"tiled.exr", "multipart.exr", "deep.exr", "truncated.exr"}) {
        SCOPED_TRACE(name);
        const std::string filePath = path(name);
        const std::string before = ExrFixtures::readFileBytes(filePath);
        EXPECT_EQ(failureOf([&] {
                      ExrMetadataDestination(filePath).writeMetadata(SampleMetadata::weaponFrame());
                  }),
                  "Temporary file could not be created.");
        EXPECT_EQ(ExrFixtures::readFileBytes(filePath), before);
        EXPECT_FALSE(exists(filePath + ".tmp"));
    }
    // Reading the header needs no rewrite, so these files still answer.
    for (const char* name : {"tiled.exr", "multipart.exr", "deep.exr", "truncated.exr"}) {
        const ExrMetadataDestination destination(path(name));
        EXPECT_EQ(destination.timecode().string(false), "01:02:03:04") << name;
        EXPECT_FALSE(destination.doesMetadataEntryExist()) << name;
    }

    // The header and the document are judged before the file's layout, so
    // such a file gets the same answer to their faults as any other.
    const Metadata example = SampleMetadata::weaponFrame();
    Metadata notFinite = example;
    notFinite.headerMetadata.recordingFormat.imageRadius = std::numeric_limits<float>::infinity();
    spec.extraAttributes = {{lensCorrectionAttributeName, std::make_shared<Imf::IntAttribute>(7)}};
    ExrFixtures::writeTiledExr(path("tiled-int.exr"), spec);
    ExrFixtures::writeMultiPartExr(path("multipart-int.exr"), spec);
    ExrFixtures::writeDeepScanLineExr(path("deep-int.exr"), spec);
    const struct {
        const char* name;
        const Metadata& metadata;
        const char* failure;
    } precedence[] = {
        {"tiled.exr", notFinite, "Metadata contains a number that is not finite."},
        {"deep.exr", notFinite, "Metadata contains a number that is not finite."},
        {"tiled-int.exr", example, "File does not exist."},
        {"multipart-int.exr", example, "File does not exist."},
        {"deep-int.exr", example, "File does not exist."},
    };
    for (const auto& testCase : precedence) {
        SCOPED_TRACE(testCase.name);
        const std::string filePath = path(testCase.name);
        const std::string before = ExrFixtures::readFileBytes(filePath);
        EXPECT_EQ(
            failureOf([&] { ExrMetadataDestination(filePath).writeMetadata(testCase.metadata); }),
            testCase.failure);
        EXPECT_EQ(ExrFixtures::readFileBytes(filePath), before);
        EXPECT_FALSE(exists(filePath + ".tmp"));
    }
}

TEST_F(ExrMetadataDestinationTest, WhateverStandsAtTheTemporaryPathIsReplacedNotFollowed) {
    const std::string filePath = path();
    const std::string temporaryPath = filePath + ".tmp";
    const std::string victim = path("victim.exr");
    ExrFixtures::writeFileBytes(victim, "precious");

    ExrFixtures::writeScanLineExr(filePath);
    ExrFixtures::writeFileBytes(temporaryPath, "left over from an earlier run");
    ExrMetadataDestination(filePath).writeMetadata(SampleMetadata::weaponFrame());
    EXPECT_FALSE(exists(temporaryPath));
    EXPECT_TRUE(ExrMetadataDestination(filePath).doesMetadataEntryExist());

    ExrFixtures::writeScanLineExr(filePath);
    boost::filesystem::create_symlink(victim, temporaryPath);
    ExrMetadataDestination(filePath).writeMetadata(SampleMetadata::weaponFrame());
    EXPECT_FALSE(exists(temporaryPath));
    EXPECT_EQ(ExrFixtures::readFileBytes(victim), "precious");
    EXPECT_TRUE(ExrMetadataDestination(filePath).doesMetadataEntryExist());

    // A directory is not ours to remove.
    ExrFixtures::writeScanLineExr(filePath);
    const std::string before = ExrFixtures::readFileBytes(filePath);
    boost::filesystem::create_directory(temporaryPath);
    EXPECT_EQ(failureOf([&] {
                  ExrMetadataDestination(filePath).writeMetadata(SampleMetadata::weaponFrame());
              }),
              "Temporary file could not be created.");
    EXPECT_TRUE(boost::filesystem::is_directory(temporaryPath));
    EXPECT_EQ(ExrFixtures::readFileBytes(filePath), before);
}

TEST_F(ExrMetadataDestinationTest, RewrittenFileKeepsThePermissionBits) {
    const std::string filePath = path();
    for (const mode_t mode : {0640, 0604, 0444}) {
        ExrFixtures::writeScanLineExr(filePath);
        ASSERT_EQ(::chmod(filePath.c_str(), mode), 0);
        ExrMetadataDestination(filePath).writeMetadata(SampleMetadata::weaponFrame());
        struct stat status;
        ASSERT_EQ(::stat(filePath.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, mode);
        EXPECT_TRUE(ExrMetadataDestination(filePath).doesMetadataEntryExist());
        ::chmod(filePath.c_str(), 0644);
    }
}

// Lets a test make every write beyond a size fail, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limit = previous;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit previous;
    void (*previousHandler)(int);
};

TEST_F(ExrMetadataDestinationTest, AFailedWriteLeavesTheFileAndNoTemporaryFile) {
    ExrFileSpec spec;
    spec.width = 512;
    spec.height = 512;
    spec.compression = Imf::NO_COMPRESSION;
    const std::string filePath = path();
    ExrFixtures::writeScanLineExr(filePath, spec);
    const std::string before = ExrFixtures::readFileBytes(filePath);

    for (const rlim_t limit : {rlim_t(0), rlim_t(100), rlim_t(before.size() / 2)}) {
        SCOPED_TRACE(limit);
        std::string failure;
        {
            FileSizeLimit full(limit);
            failure = failureOf([&] {
                ExrMetadataDestination(filePath).writeMetadata(SampleMetadata::weaponFrame());
            });
        }
        EXPECT_EQ(failure, "Temporary file could not be created.");
        EXPECT_EQ(ExrFixtures::readFileBytes(filePath), before);
        EXPECT_FALSE(exists(filePath + ".tmp"));
    }
}

TEST_F(ExrMetadataDestinationTest, FileNameIsTheLastPathComponent) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"/shots/A001/frame.0001.exr", "frame.0001.exr"},
        {"frame.exr", "frame.exr"},
        {"/shots/A001/", "."},
        {"", ""},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(ExrMetadataDestination(testCase.path).fileName(), testCase.name) << testCase.path;
    }
}

} // namespace
