#include "MetadataCopy/Destinations/ExrMetadataDestination.hpp"

#include "Exception/Exception.hpp"
#include "MetadataCopy/Destinations/DescriptorInputStream.hpp"
#include "MetadataCopy/Destinations/ExrChunkTable.hpp"
#include "MetadataCopy/Destinations/ExrHeaderBytes.hpp"
#include "MetadataCopy/Destinations/FileStatus.hpp"
#include "MetadataCopy/Destinations/LockedDestination.hpp"
#include "MetadataCopy/Destinations/PrefixRecordingStream.hpp"
#include "MetadataCopy/Destinations/ReplacementFileStream.hpp"
#include "MetadataCopy/DoubleRate.hpp"

#include <OpenEXR/ImfFloatAttribute.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfInputFile.h>
#include <OpenEXR/ImfMultiPartInputFile.h>
#include <OpenEXR/ImfOutputFile.h>
#include <OpenEXR/ImfStdIO.h>
#include <OpenEXR/ImfStringAttribute.h>
#include <OpenEXR/ImfTestFile.h>
#include <OpenEXR/ImfThreading.h>
#include <OpenEXR/ImfTimeCodeAttribute.h>

#include <boost/algorithm/string/predicate.hpp>
#include <boost/filesystem/path.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <locale>
#include <memory>
#include <optional>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace MetadataCopy {

namespace {

const char* const metadataAttributeName = "com.okalu.LensCorrection";

const char* const fileDoesNotExist = "File does not exist.";
const char* const timecodeDoesNotExist = "Timecode does not exist.";
const char* const temporaryFileNotCreated = "Temporary file could not be created.";
const char* const destinationChanged = "Destination file changed during the rewrite.";
const char* const notFinite = "Metadata contains a number that is not finite.";

// Runs one step of an operation and returns its result. An Exception raised
// in the step is already an answer of the destination (or of the timecode)
// and passes unchanged; any other failure, OpenEXR's or the standard
// library's, becomes the step's own message.
template <typename Step>
auto withFailureMessage(const char* message, Step&& step) -> decltype(step()) {
    try {
        return step();
    } catch (const Exception&) {
        throw;
    } catch (...) {
        throw Exception(message);
    }
}

// A NaN or an infinity would be written as "nan" or "inf", which no JSON
// reader accepts; the plug-ins would then lose the whole document.
void throwIfNotFinite(float value) {
    if (!std::isfinite(value)) {
        throw Exception(notFinite);
    }
}

// The length of the byte sequence at text[start], which begins with a byte
// of 80..FF: a whole UTF-8 character (valid), or else its maximal subpart,
// the longest start of a well-formed sequence there but at least one byte,
// which one replacement character stands for, as the Unicode Standard
// recommends and browsers decode. Overlong forms, surrogates and values above
// U+10FFFF are not well-formed.
std::size_t utf8SequenceLength(const std::string& text, std::size_t start, bool& valid) {
    const unsigned char lead = static_cast<unsigned char>(text[start]);
    std::size_t length = 0;
    // Some leads narrow the range of the second byte; every other
    // continuation byte lies in 80..BF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;  // no overlong forms
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        valid = false;
        return 1;
    }
    for (std::size_t offset = 1; offset < length; ++offset) {
        if (start + offset >= text.size()) {
            valid = false;
            return offset;
        }
        const unsigned char byte = static_cast<unsigned char>(text[start + offset]);
        if (byte < low || byte > high) {
            valid = false;
            return offset;
        }
        low = 0x80;
        high = 0xBF;
    }
    valid = true;
    return length;
}

// Escapes only what JSON requires, so that every document that needed no
// escaping is byte for byte what it always was; UTF-8 passes unchanged. The
// document must be UTF-8 for strict readers, so each byte sequence that is not
// (a Latin-1 "\xE9", a character cut short) becomes one \ufffd.
void writeJsonString(std::ostream& stream, const std::string& text) {
    stream << '"';
    for (std::size_t index = 0; index < text.size();) {
        const char character = text[index];
        const unsigned char byte = static_cast<unsigned char>(character);
        if (byte >= 0x80) {
            bool valid = false;
            const std::size_t length = utf8SequenceLength(text, index, valid);
            if (valid) {
                stream.write(text.data() + index, static_cast<std::streamsize>(length));
            } else {
                stream << "\\ufffd";
            }
            index += length;
            continue;
        }
        ++index;
        switch (character) {
        case '"':
            stream << "\\\"";
            break;
        case '\\':
            stream << "\\\\";
            break;
        case '\b':
            stream << "\\b";
            break;
        case '\f':
            stream << "\\f";
            break;
        case '\n':
            stream << "\\n";
            break;
        case '\r':
            stream << "\\r";
            break;
        case '\t':
            stream << "\\t";
            break;
        default:
            if (byte < 0x20) {
                char escaped[7];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned int>(byte));
                stream << escaped;
            } else {
                stream << character;
            }
        }
    }
    stream << '"';
}

// The values in the default float notation (6 significant digits), separated
// by ",".
std::string join(const std::vector<float>& values) {
    if (values.empty()) {
        return std::string();
    }
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    for (const float value : values) {
        throwIfNotFinite(value);
        stream << value << ",";
    }
    std::string text = stream.str();
    text.pop_back();
    return text;
}

// The one-line document, version 1.0.0, that the lens maker's plug-ins read.
// Its layout is fixed: no white space between tokens, keys in this order.
std::string jsonString(const Metadata& metadata) {
    const RecordingFormat& recordingFormat = metadata.headerMetadata.recordingFormat;
    const auto& points = metadata.frameMetadata.interpolationPoints;
    throwIfNotFinite(recordingFormat.imageRadius);

    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << "{\"version\":\"1.0.0\",\"recordingFormat\":{\"imageRadius\":"
           << recordingFormat.imageRadius
           << ",\"clipResolution\":{\"width\":" << recordingFormat.clipResolution.width
           << ",\"height\":" << recordingFormat.clipResolution.height
           << "},\"camera\":{\"manufacturer\":";
    writeJsonString(stream, recordingFormat.camera.manufacturer);
    stream << ",\"model\":";
    writeJsonString(stream, recordingFormat.camera.model);
    stream << "}},\"frameData\":{\"interpolationPoints\":{\"heights\":[" << join(points.heights)
           << "],\"shading\":[" << join(points.shading) << "],\"radialDistortion\":["
           << join(points.radialDistortion) << "]}},\"creator\":";
    writeJsonString(stream, MetadataDestination::metadataCreator());
    stream << "}";
    return stream.str();
}

// Whether the image is footage of an R3D clip (string "Source" ending in
// ".r3d" in any case) at a double-rate frame rate (float "FPS").
bool isDoubleRateR3DFootage(const Imf::Header& header) {
    const auto* source = header.findTypedAttribute<Imf::StringAttribute>("Source");
    const auto* fps = header.findTypedAttribute<Imf::FloatAttribute>("FPS");
    if (source == nullptr || fps == nullptr) {
        return false;
    }
    const std::string& text = source->value();
    return text.size() >= 4 &&
           boost::algorithm::iequals(text.substr(text.size() - 4), ".r3d", std::locale()) &&
           DoubleRate::appliesTo(fps->value());
}

// The header of a single-part file or of the first part of a multi-part one.
// Reading it sets up no pixel reading, so that a deep file, which the
// scan-line reader would try to flatten, still shows its header.
Imf::Header readHeader(Imf::IStream& stream) {
    Imf::MultiPartInputFile file(stream, Imf::globalThreadCount());
    return file.header(0);
}

// The rewrite carries one scan-line part over whole. A tiled, deep or
// multi-part file would come out of it damaged or with parts missing, so it
// is refused before anything is written. Leaves the stream at its start.
bool isCopyableWhole(Imf::IStream& stream) {
    bool tiled = false;
    bool deep = false;
    bool multiPart = false;
    const bool exr = Imf::isOpenExrFile(stream, tiled, deep, multiPart);
    stream.seekg(0);
    if (!exr) {
        return true; // not EXR at all: opening it reports that
    }
    return !tiled && !deep && !multiPart;
}

// OpenEXR would read an attribute stored in more or fewer bytes than its type
// has, and everything after it, otherwise than the file holds them: the
// timecode or the metadata attribute could be lost or made up, and the rewrite
// could not carry the header over. The timecode and the rewrite refuse such a
// file before OpenEXR reads the header, with the answer that the rewrite gives.
void throwIfMisSized(const ExrHeaderBytes& header) {
    if (header.holdsMisSizedValue()) {
        throw Exception(temporaryFileNotCreated);
    }
}

// Reads the header of the file at the path, gives its status and returns what
// the function makes of the header, which is not copied (a header may hold
// many attributes). The opening does not block (a FIFO put at the name would
// wait for a writer for ever) and only a regular file is read: anything else
// is "File does not exist.". A header that OpenEXR would misread is not given
// to OpenEXR: useMisSized answers from the header as stored, or refuses it.
template <typename Use, typename UseMisSized>
auto readHeader(const std::string& filePath, struct stat& status, Use&& use,
                UseMisSized&& useMisSized) {
    const int descriptor = ::open(filePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        throw Exception(fileDoesNotExist);
    }
    const std::unique_ptr<const int, void (*)(const int*)> closer(
        &descriptor, [](const int* opened) { ::close(*opened); });
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        throw Exception(fileDoesNotExist);
    }
    DescriptorInputStream stream(descriptor, filePath);
    // Every size that the header declares must lie inside the file before
    // OpenEXR allocates anything for it; the walk's reads serve OpenEXR's
    // from the stream's buffer.
    const ExrHeaderBytes stored(stream, static_cast<std::uint64_t>(status.st_size));
    if (stored.holdsMisSizedValue()) {
        return useMisSized(stored);
    }
    stream.seekg(0);
    const Imf::MultiPartInputFile file(stream, Imf::globalThreadCount());
    return use(file.header(0));
}

// The most that OpenEXR's rewritten header can take beyond the original's:
// the new attribute (its name, "string", the size and the text) and the
// required attributes' defaults, which take 123 bytes.
std::uint64_t rewrittenHeaderBound(const ExrHeaderBytes& original, const std::string& document) {
    return original.end() + std::string(metadataAttributeName).size() + 1 + 7 + 4 +
           document.size() + 256;
}

} // namespace

ExrMetadataDestination::ExrMetadataDestination(const std::string& filePath) : filePath(filePath) {}

std::string ExrMetadataDestination::fileName() const {
    return boost::filesystem::path(filePath).filename().string();
}

Timecode::Timecode ExrMetadataDestination::timecode() const {
    return withFailureMessage(fileDoesNotExist, [this] {
        struct stat status;
        Imf::TimeCode stored;
        bool doubleRate = false;
        const bool found = readHeader(
            filePath, status,
            [&](const Imf::Header& header) {
                const auto* attribute =
                    header.findTypedAttribute<Imf::TimeCodeAttribute>("timeCode");
                if (attribute == nullptr) {
                    return false;
                }
                stored = attribute->value();
                doubleRate = isDoubleRateR3DFootage(header);
                return true;
            },
            [](const ExrHeaderBytes& bytes) -> bool {
                throwIfMisSized(bytes);
                return false;
            });
        rememberReadFile(status);
        if (!found) {
            throw Exception(timecodeDoesNotExist);
        }
        // An image holds the frame field alone, which stands for the second
        // of the two frames that share it at double rate.
        unsigned int frame = static_cast<unsigned int>(stored.frame());
        if (doubleRate) {
            frame = DoubleRate::frameNumber(frame, true);
        }

        std::ostringstream text;
        text.imbue(std::locale::classic());
        text << stored.hours() << ":" << stored.minutes() << ":" << stored.seconds() << ":"
             << frame;
        return Timecode::Timecode(text.str().c_str(), 0.0f);
    });
}

bool ExrMetadataDestination::doesMetadataEntryExist() const {
    return withFailureMessage(fileDoesNotExist, [this] {
        struct stat status;
        const bool exists = readHeader(
            filePath, status,
            [](const Imf::Header& header) {
                return header.findTypedAttribute<Imf::StringAttribute>(metadataAttributeName) !=
                       nullptr;
            },
            // Such a frame is never rewritten, but whether it holds the
            // attribute is known from the header as stored: it can be left
            // as it is where the metadata is kept. A frame that does not hold
            // it is refused by the timecode that is read next.
            [](const ExrHeaderBytes& bytes) {
                const auto& attributes = bytes.attributes();
                return std::any_of(attributes.begin(), attributes.end(),
                                   [](const ExrHeaderBytes::Attribute& attribute) {
                                       return attribute.name == metadataAttributeName &&
                                              attribute.typeName == "string";
                                   });
            });
        rememberReadFile(status);
        return exists;
    });
}

void ExrMetadataDestination::rememberReadFile(const struct stat& status) const {
    if (fileRead && !FileStatus::isSameUnchangedFile(readStatus, status)) {
        readFilesDiffer = true;
    }
    readStatus = status;
    fileRead = true;
}

void ExrMetadataDestination::writeMetadata(const Metadata& metadata) const {
    // The existence test and the timecode were read before the lock: the
    // metadata was chosen for the file they read, which must be the file
    // that is locked, unchanged. The reads are used up by this rewrite.
    const bool decidedOnOneFile = !readFilesDiffer;
    const struct stat decidedStatus = readStatus;
    const bool decided = fileRead;
    fileRead = false;
    readFilesDiffer = false;
    if (!decidedOnOneFile) {
        throw Exception(destinationChanged);
    }
    // Held from before the temporary file is touched until after the rename;
    // what is rewritten is the locked file itself, read through the locked
    // descriptor, beside which the temporary file is made (a link's target),
    // in the directory that the lock opened.
    LockedDestination destination(filePath, decided ? &decidedStatus : nullptr);
    DescriptorInputStream stream(destination.descriptor(), destination.targetPath());
    const std::uint64_t fileSize = static_cast<std::uint64_t>(destination.lockedStatus().st_size);
    std::optional<ExrHeaderBytes> original;
    std::unique_ptr<Imf::InputFile> input;
    Imf::Header header;
    std::string document;
    const bool copyableWhole = withFailureMessage(fileDoesNotExist, [&] {
        original.emplace(stream, fileSize);
        throwIfMisSized(*original);
        stream.seekg(0);
        const bool whole = isCopyableWhole(stream);
        // A file that cannot be carried over whole still has its header and
        // the document checked first, so that it gets the same answer to
        // those faults as any other file.
        if (whole) {
            input = std::make_unique<Imf::InputFile>(stream, Imf::globalThreadCount());
            header = input->header();
        } else {
            header = readHeader(stream);
        }
        // Fails when the header holds the name with another type: replacing
        // it would silently change the type of someone else's attribute.
        document = jsonString(metadata);
        header.insert(metadataAttributeName, Imf::StringAttribute(document));
        return whole;
    });
    if (!copyableWhole) {
        throw Exception(temporaryFileNotCreated);
    }
    // OpenEXR copies the chunks where it finds them one after another; each
    // must be the one that the file's table names, as for any other reader.
    const ExrChunkTable chunks(destination.descriptor(), fileSize, original->end(),
                               input->header());
    if (!chunks.namesTheChunksRead()) {
        throw Exception(temporaryFileNotCreated);
    }

    // A second name of the frame at its temporary name (a hard link made by
    // hand) is only that: it goes, and the frame is rewritten.
    destination.removeSecondName(ReplacementFileStream::temporaryNameOf(destination.fileName()));
    ReplacementFileStream output(destination.directoryDescriptor(), destination.fileName(),
                                 destination.descriptor());
    PrefixRecordingStream recording(output, rewrittenHeaderBound(*original, document));
    withFailureMessage(temporaryFileNotCreated, [&] {
        // Copies the stored chunks as they are: the pixels are never decoded,
        // so lossy compression loses nothing more and a rewrite costs about
        // one read and one write of the file.
        Imf::OutputFile file(recording, header, Imf::globalThreadCount());
        file.copyPixels(*input);
    });
    // The header that OpenEXR wrote must hold every attribute of the file's
    // own, byte for byte, and the copy must have ended where the chunks do.
    withFailureMessage(temporaryFileNotCreated, [&] {
        Imf::StdISStream written;
        written.str(recording.prefix());
        const ExrHeaderBytes rewritten(written, recording.prefix().size());
        if (!original->isCarriedOverBy(rewritten, metadataAttributeName) ||
            stream.tellg() != chunks.endOfChunks()) {
            throw Exception(temporaryFileNotCreated);
        }
    });
    input.reset();
    output.flushToDisk();
    // A file put in the destination's place or changed in it since it was
    // read is newer than this rewrite of the old one: it stays, and the
    // temporary file goes with the stream. The commit checks once more, after
    // an atomic exchange where there is one, for a change made after this.
    if (!destination.isUnchanged()) {
        throw Exception(destinationChanged);
    }
    output.commit(&destination.lockedStatus(), destination.targetPath());
}

} // namespace MetadataCopy
