// Damaged files given to the EXR destination: cut short, with single bits
// flipped, or made of random bytes. Whatever the damage, each operation either
// fails with one of the destination's own messages and leaves the file exactly
// as it was, with no temporary file beside it, or (for damage that leaves a
// valid file, such as a flipped bit inside compressed pixel data) succeeds and
// carries every stored chunk over unchanged.
#include "MetadataCopy/Destinations/ExrMetadataDestination.hpp"

#include "Exception/Exception.hpp"
#include "Support/ExrFixtures.hpp"
#include "Support/SampleMetadata.hpp"

#include <boost/filesystem/operations.hpp>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using MetadataCopy::ExrMetadataDestination;

const std::set<std::string> destinationMessages = {
    "File does not exist.",
    "Timecode does not exist.",
    "Temporary file could not be created.",
    "Existing file could not be removed.",
    "Temporary file could not be renamed.",
    "Timecode object could not be constructed due to invalid format."};

struct Outcome {
    bool writeFailed = false;
};

class DamagedExrFileTest : public ::testing::Test {
protected:
    // Two undamaged originals of different make: the fixture default (ZIP, a
    // timecode) and a PIZ file that already holds the metadata attribute.
    void SetUp() override {
        ExrFixtures::writeScanLineExr(directory.file("zip.exr"));
        ExrFixtures::ExrFileSpec piz;
        piz.width = 96;
        piz.height = 40;
        piz.compression = Imf::PIZ_COMPRESSION;
        piz.lensCorrection = "{\"version\":\"1.0.0\"}";
        piz.seed = 7;
        ExrFixtures::writeScanLineExr(directory.file("piz.exr"), piz);
        originals = {ExrFixtures::readFileBytes(directory.file("zip.exr")),
                     ExrFixtures::readFileBytes(directory.file("piz.exr"))};

        const std::string reference = directory.file("reference.exr");
        ExrFixtures::writeScanLineExr(reference);
        ExrMetadataDestination(reference).writeMetadata(SampleMetadata::weaponFrame());
        expectedDocument =
            ExrFixtures::readStringAttribute(reference, ExrFixtures::lensCorrectionAttributeName)
                .value();

        boost::filesystem::create_directory(damagedDirectory());
    }

    boost::filesystem::path damagedDirectory() const { return directory.path() / "damaged"; }

    std::vector<std::string> entriesOfDamagedDirectory() const {
        std::vector<std::string> names;
        for (const auto& entry : boost::filesystem::directory_iterator(damagedDirectory())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    // Runs what the copying director runs on one destination, in its order,
    // on a file holding the given bytes.
    Outcome feed(const std::string& bytes, const std::string& label) {
        SCOPED_TRACE(label);
        const std::string path = (damagedDirectory() / "frame.exr").string();
        ExrFixtures::writeFileBytes(path, bytes);
        std::optional<std::vector<std::string>> chunksBefore;
        try {
            chunksBefore = ExrFixtures::rawChunks(path);
        } catch (const std::exception&) {
            // unreadable chunks: writing must then fail
        }

        const ExrMetadataDestination destination(path);
        const std::vector<std::function<void()>> readingOperations = {
            [&] { destination.doesMetadataEntryExist(); }, [&] { destination.timecode(); }};
        for (const auto& operation : readingOperations) {
            runExpectingOwnMessage(operation);
            EXPECT_EQ(ExrFixtures::readFileBytes(path), bytes);
        }

        Outcome outcome;
        outcome.writeFailed = runExpectingOwnMessage(
            [&] { destination.writeMetadata(SampleMetadata::weaponFrame()); });
        EXPECT_EQ(entriesOfDamagedDirectory(), std::vector<std::string>{"frame.exr"});
        if (outcome.writeFailed) {
            EXPECT_EQ(ExrFixtures::readFileBytes(path), bytes);
        } else {
            EXPECT_TRUE(chunksBefore.has_value()) << "a file with unreadable chunks was written";
            EXPECT_EQ(
                ExrFixtures::readStringAttribute(path, ExrFixtures::lensCorrectionAttributeName),
                expectedDocument);
            if (chunksBefore) {
                EXPECT_EQ(ExrFixtures::rawChunks(path), *chunksBefore);
            }
        }
        return outcome;
    }

    // True when the operation failed; a failure must be one of the
    // destination's messages, never a foreign exception.
    static bool runExpectingOwnMessage(const std::function<void()>& operation) {
        try {
            operation();
        } catch (const Exception& exception) {
            EXPECT_EQ(destinationMessages.count(exception.what()), 1u)
                << "unexpected message: " << exception.what();
            return true;
        } catch (const std::exception& exception) {
            ADD_FAILURE() << "foreign exception: " << exception.what();
            return true;
        }
        return false;
    }

    ExrFixtures::TemporaryDirectory directory;
    std::vector<std::string> originals;
    std::string expectedDocument;
    std::mt19937 random{20240611u};
};

TEST_F(DamagedExrFileTest, EveryTruncatedFileIsRefusedAndKept) {
    for (const std::string& original : originals) {
        // Every length inside the magic number and the header, then spread
        // over the offset table and the chunks, and the last bytes.
        std::set<std::size_t> lengths;
        for (std::size_t length = 0; length < 64; ++length) {
            lengths.insert(length);
        }
        for (std::size_t length = 64; length < original.size(); length += original.size() / 50) {
            lengths.insert(length);
        }
        lengths.insert(original.size() - 2);
        lengths.insert(original.size() - 1);
        for (const std::size_t length : lengths) {
            const Outcome outcome =
                feed(original.substr(0, length), "cut to " + std::to_string(length) + " bytes");
            EXPECT_TRUE(outcome.writeFailed) << "a file cut to " << length << " bytes was written";
        }
    }
}

TEST_F(DamagedExrFileTest, FlippedBitsAreRefusedOrCarriedOverUnchanged) {
    for (const std::string& original : originals) {
        int refused = 0;
        for (int flip = 0; flip < 300; ++flip) {
            // Half of the flips land in the first 512 bytes, where the header
            // and the offset table lie; the rest anywhere in the file.
            const std::size_t span =
                flip % 2 == 0 ? std::min<std::size_t>(512, original.size()) : original.size();
            const std::size_t position =
                std::uniform_int_distribution<std::size_t>(0, span - 1)(random);
            const int bit = std::uniform_int_distribution<int>(0, 7)(random);
            std::string damaged = original;
            damaged[position] = static_cast<char>(damaged[position] ^ (1 << bit));
            const Outcome outcome = feed(damaged, "bit " + std::to_string(bit) + " of byte " +
                                                      std::to_string(position) + " flipped");
            refused += outcome.writeFailed ? 1 : 0;
        }
        // Flips in the magic number, the version field and the attribute
        // names alone make many files unreadable.
        EXPECT_GT(refused, 20);
    }
}

TEST_F(DamagedExrFileTest, RandomBytesAreRefused) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> length(0, 4096);
    // Random files, and random files that begin like a single-part scan-line
    // EXR file (magic number and version 2), so that OpenEXR reads on into
    // the garbage.
    const std::string exrStart("\x76\x2f\x31\x01\x02\x00\x00\x00", 8);
    for (int file = 0; file < 100; ++file) {
        std::string bytes = file % 2 == 0 ? std::string() : exrStart;
        const std::size_t size = length(random);
        for (std::size_t index = 0; index < size; ++index) {
            bytes.push_back(static_cast<char>(byte(random)));
        }
        const Outcome outcome = feed(bytes, "random file " + std::to_string(file));
        EXPECT_TRUE(outcome.writeFailed) << "random file " << file << " was written";
    }
}

} // namespace
