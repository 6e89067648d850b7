// EXR files made on the spot for tests, and ways to look inside them: the
// header, one attribute, the decoded pixels and the stored (compressed)
// chunks, so that a test can tell whether a rewrite carried everything over.
#pragma once

#include <OpenEXR/ImfAttribute.h>
#include <OpenEXR/ImfCompression.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfLineOrder.h>
#include <OpenEXR/ImfPixelType.h>
#include <OpenEXR/ImfTimeCode.h>

#include <boost/filesystem/path.hpp>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ExrFixtures {

/// A fresh, uniquely named directory under the system's temporary directory,
/// removed with everything in it when the object dies.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const boost::filesystem::path& path() const { return directory; }
    /// The path of an entry of the directory, as text.
    std::string file(const std::string& name) const;

private:
    boost::filesystem::path directory;
};

/// What goes into a fixture file. The defaults give a small ZIP-compressed
/// RGBA half file with the timecode 01:02:03:04 and nothing else of note.
struct ExrFileSpec {
    int width = 64;
    int height = 48;
    Imf::Compression compression = Imf::ZIP_COMPRESSION;
    Imf::LineOrder lineOrder = Imf::INCREASING_Y;
    /// The type of every channel.
    Imf::PixelType pixelType = Imf::HALF;
    std::vector<std::string> channels{"R", "G", "B", "A"};
    /// "timeCode" as a time code attribute; absent when empty.
    std::optional<Imf::TimeCode> timeCode = Imf::TimeCode(1, 2, 3, 4);
    /// "Source" as a string attribute; absent when empty.
    std::optional<std::string> source;
    /// "FPS" as a float attribute; absent when empty.
    std::optional<float> fps;
    /// An existing "com.okalu.LensCorrection" string attribute; absent when empty.
    std::optional<std::string> lensCorrection;
    /// Further attributes, inserted last, so they may replace any of the above
    /// (for example the metadata attribute with another type).
    std::vector<std::pair<std::string, std::shared_ptr<Imf::Attribute>>> extraAttributes;
    /// Varies the pixel content between files.
    unsigned int seed = 1;
};

/// The name of the attribute that okalu-tafe writes.
extern const char* const lensCorrectionAttributeName;

/// Writes a single-part scan-line file. Throws what OpenEXR throws.
void writeScanLineExr(const std::string& path, const ExrFileSpec& spec = ExrFileSpec());

/// Writes a single-part tiled file (16 x 16 tiles, one level).
void writeTiledExr(const std::string& path, const ExrFileSpec& spec = ExrFileSpec());

/// Writes a multi-part file of scan-line parts, all made from the spec.
void writeMultiPartExr(const std::string& path, const ExrFileSpec& spec = ExrFileSpec(),
                       int partCount = 2);

/// Writes a single-part deep scan-line file with one sample per pixel
/// (float channels; ZIPS compression unless the spec's is NONE or RLE; the
/// spec's attributes as for the other kinds).
void writeDeepScanLineExr(const std::string& path, const ExrFileSpec& spec = ExrFileSpec());

/// The header of a single-part file (the first part of a multi-part one).
Imf::Header readHeader(const std::string& path);

/// The value of a string attribute, or nothing when the header has no string
/// attribute of that name.
std::optional<std::string> readStringAttribute(const std::string& path, const std::string& name);

/// Every attribute of the header except the named ones, by name, as its type
/// name followed by its value in the file's own encoding: equal maps mean
/// equal attributes.
std::map<std::string, std::string> attributesExcept(const std::string& path,
                                                    const std::set<std::string>& excluded);

/// All pixels of a scan-line file decoded in their stored types, channel by
/// channel in the header's channel order.
std::vector<char> decodedPixels(const std::string& path);

/// The stored, still compressed chunks of a scan-line file, in scan-line order.
std::vector<std::string> rawChunks(const std::string& path);

/// The whole content of a file; throws std::runtime_error when it cannot be read.
std::string readFileBytes(const std::string& path);

/// Replaces the content of a file; throws std::runtime_error on failure.
void writeFileBytes(const std::string& path, const std::string& bytes);

} // namespace ExrFixtures
