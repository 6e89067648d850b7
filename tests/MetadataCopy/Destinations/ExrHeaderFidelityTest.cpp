// Headers and chunk tables that OpenEXR would not carry over as the file holds
// them, made by editing the bytes of a fixture file: the rewrite refuses them
// and leaves the file exactly as it was, and rewrites the unusual files that it
// can carry over whole.
#include "MetadataCopy/Destinations/ExrMetadataDestination.hpp"

#include "Exception/Exception.hpp"
#include "Support/ExrFixtures.hpp"
#include "Support/SampleMetadata.hpp"

#include <OpenEXR/ImfBoxAttribute.h>
#include <OpenEXR/ImfChromaticitiesAttribute.h>
#include <OpenEXR/ImfDoubleAttribute.h>
#include <OpenEXR/ImfFloatAttribute.h>
#include <OpenEXR/ImfFloatVectorAttribute.h>
#include <OpenEXR/ImfIDManifestAttribute.h>
#include <OpenEXR/ImfKeyCodeAttribute.h>
#include <OpenEXR/ImfMatrixAttribute.h>
#include <OpenEXR/ImfPreviewImageAttribute.h>
#include <OpenEXR/ImfRationalAttribute.h>
#include <OpenEXR/ImfStringVectorAttribute.h>
#include <OpenEXR/ImfVecAttribute.h>

#include <boost/filesystem/operations.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <sys/resource.h>

namespace {

using ExrFixtures::ExrFileSpec;
using MetadataCopy::ExrMetadataDestination;

// An attribute as stored: name, type name, value bytes.
using Entry = std::array<std::string, 3>;

std::string bytesOf(std::uint64_t value, int count) {
    std::string bytes;
    for (int index = 0; index < count; ++index) {
        bytes.push_back(static_cast<char>(value >> (8 * index) & 0xff));
    }
    return bytes;
}

std::uint64_t valueOf(const std::string& bytes, std::size_t at, int count) {
    std::uint64_t value = 0;
    for (int index = count - 1; index >= 0; --index) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + index]);
    }
    return value;
}

// The fixture's default file: 64 x 48, ZIP, so three chunks of 16 lines.
constexpr std::size_t chunkCount = 3;

// A single-part file cut into its header's entries and what follows them
// (the offset table, then the chunks).
struct Layout {
    std::vector<Entry> entries;
    std::string rest;
    std::size_t headerSize = 0;

    explicit Layout(const std::string& bytes) {
        std::size_t at = 8;
        const auto text = [&] {
            const std::string value(bytes.c_str() + at);
            at += value.size() + 1;
            return value;
        };
        for (std::string name = text(); !name.empty(); name = text()) {
            const std::string type = text();
            entries.push_back({name, type, bytes.substr(at + 4, valueOf(bytes, at, 4))});
            at += 4 + entries.back()[2].size();
        }
        headerSize = at;
        rest = bytes.substr(at);
    }

    // The file again, the table's entries moved with the header's length.
    std::string bytes() const {
        std::string header("\x76\x2f\x31\x01\x02\0\0\0", 8);
        for (const Entry& entry : entries) {
            header += entry[0] + '\0' + entry[1] + '\0' + bytesOf(entry[2].size(), 4) + entry[2];
        }
        header += '\0';
        std::string table = rest;
        for (std::size_t index = 0; index < chunkCount; ++index) {
            const std::uint64_t offset = valueOf(table, index * 8, 8);
            table.replace(index * 8, 8, bytesOf(offset + header.size() - headerSize, 8));
        }
        return header + table;
    }

    std::vector<Entry>::iterator find(const std::string& name) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const Entry& entry) { return entry[0] == name; });
    }
};

// An ID manifest attribute as OpenEXR writes one: a single channel group.
std::shared_ptr<Imf::IDManifestAttribute> idManifest() {
    Imf::IDManifest manifest;
    Imf::IDManifest::ChannelGroupManifest& group = manifest.add("id");
    group.setComponent("object");
    group.insert(7, "crate");
    return std::make_shared<Imf::IDManifestAttribute>(Imf::CompressedIDManifest(manifest));
}

class ExrHeaderFidelityTest : public ::testing::Test {
public:
    std::string fixtureBytes(const ExrFileSpec& spec = ExrFileSpec()) {
        ExrFixtures::writeScanLineExr(path, spec);
        return ExrFixtures::readFileBytes(path);
    }

    ExrFixtures::TemporaryDirectory directory;
    const std::string path = directory.file("frame.exr");
};

TEST_F(ExrHeaderFidelityTest, AFileIsRewrittenWithEveryAttributeAndChunkAsStoredOrLeftUntouched) {
    struct Case {
        const char* label;
        bool refused;
        std::function<std::string(ExrHeaderFidelityTest&)> bytes;
    };
    const Case cases[] = {
        {"an ID manifest followed by another attribute", true,
         [](ExrHeaderFidelityTest& test) {
             ExrFileSpec spec;
             spec.extraAttributes = {{"idManifest", idManifest()},
                                     {"isoSpeed", std::make_shared<Imf::FloatAttribute>(800.0f)}};
             return test.fixtureBytes(spec);
         }},
        {"a channel list not sorted by name", true,
         [](ExrHeaderFidelityTest& test) {
             Layout layout(test.fixtureBytes());
             std::string& list = (*layout.find("channels"))[2];
             // A, B, G, R, each a one-letter name, its end and 16 bytes: R, G, B, A.
             list = list.substr(54, 18) + list.substr(36, 18) + list.substr(18, 18) +
                    list.substr(0, 18) + '\0';
             return layout.bytes();
         }},
        {"a float stored in 8 bytes", true,
         [](ExrHeaderFidelityTest& test) {
             // OpenEXR reads 4 bytes of it (1.5f) and takes the rest as the
             // start of the next attribute's name.
             Layout layout(test.fixtureBytes());
             layout.entries.insert(layout.find("screenWindowWidth"),
                                   {"exposure", "float", "\x00\x00\xc0\x3f\x01\x01\x01\x01"});
             return layout.bytes();
         }},
        {"an attribute stored twice with two values", true,
         [](ExrHeaderFidelityTest& test) {
             Layout layout(test.fixtureBytes());
             layout.entries.push_back({"isoSpeed", "int", std::string("\x20\x03\0\0", 4)});
             layout.entries.insert(layout.entries.begin(),
                                   {"isoSpeed", "int", std::string("\x40\x06\0\0", 4)});
             return layout.bytes();
         }},
        {"a chunk patched by appending its new version", true,
         [](ExrHeaderFidelityTest& test) {
             std::string bytes = test.fixtureBytes();
             const std::size_t table = Layout(bytes).headerSize;
             const std::size_t old = valueOf(bytes, table + 8, 8);
             std::string chunk = bytes.substr(old, 8 + valueOf(bytes, old + 4, 4));
             chunk.back() = static_cast<char>(chunk.back() ^ 0x5a);
             bytes.replace(table + 8, 8, bytesOf(bytes.size(), 8));
             return bytes + chunk;
         }},
        {"a name of 39 bytes without the long-names flag", false,
         [](ExrHeaderFidelityTest& test) {
             Layout layout(test.fixtureBytes());
             layout.entries.insert(
                 layout.find("timeCode"),
                 {"renderer/sampler/pixel_samples_per_axis", "int", std::string("\x03\0\0\0", 4)});
             return layout.bytes();
         }},
        {"an attribute stored twice alike", false,
         [](ExrHeaderFidelityTest& test) {
             Layout layout(test.fixtureBytes());
             layout.entries.push_back(layout.entries.front());
             return layout.bytes();
         }},
        {"lines stored bottom-up", false,
         [](ExrHeaderFidelityTest& test) {
             ExrFileSpec spec;
             spec.lineOrder = Imf::DECREASING_Y;
             return test.fixtureBytes(spec);
         }},
        {"an offset table of zeros", false,
         [](ExrHeaderFidelityTest& test) {
             std::string bytes = test.fixtureBytes();
             bytes.replace(Layout(bytes).headerSize, chunkCount * 8, chunkCount * 8, '\0');
             return bytes;
         }},
        {"every common attribute type and a type of its own", false,
         [](ExrHeaderFidelityTest& test) {
             ExrFileSpec spec;
             const std::vector<Imf::PreviewRgba> preview(2, Imf::PreviewRgba(1, 2, 3, 4));
             spec.extraAttributes = {
                 {"b2i", std::make_shared<Imf::Box2iAttribute>(
                             Imath::Box2i(Imath::V2i(-7, 0), Imath::V2i(9, 11)))},
                 {"chromaticities",
                  std::make_shared<Imf::ChromaticitiesAttribute>(Imf::Chromaticities())},
                 {"d", std::make_shared<Imf::DoubleAttribute>(1.0 / 3.0)},
                 {"fv", std::make_shared<Imf::FloatVectorAttribute>(
                            std::vector<float>{0.5f, -2.0f, 1e-20f})},
                 {"keyCode", std::make_shared<Imf::KeyCodeAttribute>(
                                 Imf::KeyCode(12, 34, 56, 7890, 12, 4, 64))},
                 {"m44f", std::make_shared<Imf::M44fAttribute>(Imath::M44f(0.25f))},
                 {"preview", std::make_shared<Imf::PreviewImageAttribute>(
                                 Imf::PreviewImage(2, 1, preview.data()))},
                 {"rational", std::make_shared<Imf::RationalAttribute>(Imf::Rational(24000, 1001))},
                 {"sv", std::make_shared<Imf::StringVectorAttribute>(
                            std::vector<std::string>{"take", "", "2"})},
                 {"v3f", std::make_shared<Imf::V3fAttribute>(Imath::V3f(1, 2, 3))}};
             Layout layout(test.fixtureBytes(spec));
             layout.entries.push_back({"vendorData", "vendorBlob", std::string("\x01\0\xff", 3)});
             // Variable-size values at the edges of what OpenEXR reads as stored.
             layout.entries.push_back({"weights", "floatvector", ""});
             layout.entries.push_back({"note", "string", std::string("a\0b", 3)});
             layout.entries.push_back({"noLayers", "chlist", std::string(1, '\0')});
             layout.entries.push_back(
                 {"layers", "chlist",
                  std::string(255, 'n') + std::string("\0\1\0\0\0\0\0\0\0\1\0\0\0\1\0\0\0\0", 18)});
             return layout.bytes();
         }},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.label);
        const std::string bytes = testCase.bytes(*this);
        ExrFixtures::writeFileBytes(path, bytes);
        std::vector<std::string> chunks;
        if (!testCase.refused) {
            chunks = ExrFixtures::rawChunks(path);
        }
        std::string failure;
        try {
            ExrMetadataDestination(path).writeMetadata(SampleMetadata::weaponFrame());
        } catch (const std::exception& exception) {
            failure = exception.what();
        }
        EXPECT_EQ(std::distance(boost::filesystem::directory_iterator(directory.path()), {}), 1)
            << "a temporary file was left";
        if (testCase.refused) {
            EXPECT_EQ(failure, "Temporary file could not be created.");
            EXPECT_TRUE(ExrFixtures::readFileBytes(path) == bytes) << "the file was changed";
            continue;
        }
        ASSERT_EQ(failure, "");
        EXPECT_EQ(ExrFixtures::rawChunks(path), chunks);
        const Layout rewritten(ExrFixtures::readFileBytes(path));
        for (const Entry& entry : Layout(bytes).entries) {
            EXPECT_NE(std::find(rewritten.entries.begin(), rewritten.entries.end(), entry),
                      rewritten.entries.end())
                << entry[0] << " was not carried over";
        }
    }
}

// The existence test answers such a header from its attributes as stored, so
// that a frame holding the metadata can be left as it is; the timecode and the
// rewrite refuse it.
TEST_F(ExrHeaderFidelityTest, AHeaderThatOpenExrWouldMisreadIsNeverGivenToIt) {
    struct Case {
        const char* label;
        const char* message;
        std::function<std::string(ExrHeaderFidelityTest&)> bytes;
        bool holdsMetadata = false;
    };
    const auto inserted = [](const std::vector<Entry>& entries) {
        return [=](ExrHeaderFidelityTest& test) {
            Layout layout(test.fixtureBytes());
            layout.entries.insert(layout.find("timeCode"), entries.begin(), entries.end());
            return layout.bytes();
        };
    };
    const auto misSized = [&](const char* type, const std::string& value) {
        return inserted({{"exposure", type, value}});
    };
    // Stored after a value that OpenEXR reads one byte short, whose last byte
    // is "c": OpenEXR would read the metadata attribute's name and find the
    // metadata that the file does not hold.
    const auto beforeMetadataShiftedByOne = [&](const char* type, const std::string& value) {
        return inserted(
            {{"extra", type, value + 'c'}, {"om.okalu.LensCorrection", "string", "{}"}});
    };
    const std::string channel = std::string("Z\0\1\0\0\0\0\0\0\0\1\0\0\0\1\0\0\0", 18);
    const Case cases[] = {
        {"a size beyond the file", "File does not exist.",
         [](ExrHeaderFidelityTest&) {
             std::string bytes("\x76\x2f\x31\x01\x02\0\0\0", 8);
             bytes += std::string("huge\0string\0", 12) + bytesOf(2000000000, 4);
             bytes.resize(1024, 'x');
             return bytes;
         }},
        // OpenEXR would read 4 bytes of it and lose the timecode after it.
        {"a float stored in 8 bytes before the timecode", "Temporary file could not be created.",
         misSized("float", std::string("\x00\x00\xc0\x3f\x01\x01\x01\x01", 8))},
        {"a v2f stored in 5 bytes", "Temporary file could not be created.",
         misSized("v2f", std::string(5, '\0'))},
        {"a timecode stored in 12 bytes", "Temporary file could not be created.",
         misSized("timecode", std::string(12, '\0'))},
        {"a floatvector of 5 bytes before the metadata name",
         "Temporary file could not be created.",
         beforeMetadataShiftedByOne("floatvector", std::string("\0\0\xc0\x3f", 4))},
        {"a floatvector of 7 bytes before the timecode", "Temporary file could not be created.",
         misSized("floatvector", std::string(7, '\0'))},
        {"a channel list that ends before its size", "Temporary file could not be created.",
         beforeMetadataShiftedByOne("chlist", channel + '\0')},
        {"a channel list of no bytes", "Temporary file could not be created.",
         misSized("chlist", "")},
        {"a channel list whose last channel runs past its size",
         "Temporary file could not be created.", misSized("chlist", channel.substr(0, 10))},
        // OpenEXR reads 4 bytes beyond it: the name after it loses "xxxx".
        {"an ID manifest", "Temporary file could not be created.",
         inserted({{"manifest", "idmanifest", std::string(8, '\0')},
                   {"xxxxcom.okalu.LensCorrection", "string", "{}"}})},
        {"an ID manifest and the metadata, written by OpenEXR",
         "Temporary file could not be created.",
         [](ExrHeaderFidelityTest& test) {
             ExrFileSpec spec;
             spec.lensCorrection = "{}";
             spec.extraAttributes = {{"idManifest", idManifest()}};
             return test.fixtureBytes(spec);
         },
         true},
        // OpenEXR refuses these itself, as before.
        {"a string vector whose string runs past its size", "File does not exist.",
         misSized("stringvector", std::string("\x09\0\0\0take", 8))},
        {"a preview image larger than its size", "File does not exist.",
         misSized("preview", std::string("\x02\0\0\0\x02\0\0\0", 8) + std::string(12, '\x7f'))},
        {"a channel name of 256 bytes", "File does not exist.",
         misSized("chlist", std::string(256, 'n') + channel.substr(1) + '\0')},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.label);
        const std::string bytes = testCase.bytes(*this);
        ExrFixtures::writeFileBytes(path, bytes);
        const ExrMetadataDestination destination(path);
        const bool readable = std::string(testCase.message) != "File does not exist.";
        std::vector<std::function<void()>> operations = {
            [&] { destination.timecode(); },
            [&] { destination.writeMetadata(SampleMetadata::weaponFrame()); }};
        if (!readable) {
            operations.push_back([&] { destination.doesMetadataEntryExist(); });
        }
        struct rusage before, after;
        getrusage(RUSAGE_SELF, &before);
        if (readable) {
            EXPECT_EQ(destination.doesMetadataEntryExist(), testCase.holdsMetadata);
        }
        for (const auto& operation : operations) {
            try {
                operation();
                ADD_FAILURE() << "the file was read";
            } catch (const Exception& exception) {
                EXPECT_STREQ(exception.what(), testCase.message);
            }
        }
        getrusage(RUSAGE_SELF, &after);
        EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256 * 1024) << "kilobytes taken";
        EXPECT_TRUE(ExrFixtures::readFileBytes(path) == bytes) << "the file was changed";
        EXPECT_EQ(std::distance(boost::filesystem::directory_iterator(directory.path()), {}), 1)
            << "a temporary file was left";
    }
}

} // namespace
