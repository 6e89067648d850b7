// An EXR image file that receives the copied metadata as the string attribute
// "com.okalu.LensCorrection" of its header, holding a one-line JSON document.
// The file is never changed in place: it is written anew beside itself and
// then takes the old file's name in one rename.
#pragma once

#include "MetadataCopy/Destinations/MetadataDestination.hpp"

#include <string>
#include <sys/stat.h>

namespace MetadataCopy {

class ExrMetadataDestination : public MetadataDestination {
public:
    /// Keeps the path; opens and checks nothing. Each of the operations below
    /// opens the file anew without blocking and refuses anything but a
    /// regular file ("File does not exist.").
    explicit ExrMetadataDestination(const std::string& filePath);

    /// The last component of the path ("." for a path ending in "/").
    std::string fileName() const override;

    /// The header's "timeCode" with fps 0. For footage of R3D clips above 30
    /// and up to 60 frames per second (string "Source" ending in ".r3d" in any
    /// case, float "FPS" in (30, 60]) the frame is reported as 2 x frame + 1.
    /// Throws Exception: "Timecode does not exist." without a time code
    /// attribute, "File does not exist." when the file cannot be read, or the
    /// timecode's own exception.
    Timecode::Timecode timecode() const override;

    /// Whether the header holds "com.okalu.LensCorrection" as a string; an
    /// attribute of that name and another type does not count. A header that
    /// OpenEXR would misread (which the rewrite refuses) is answered from its
    /// attributes as stored. Throws Exception "File does not exist." when the
    /// file cannot be read.
    bool doesMetadataEntryExist() const override;

    /// Rewrites the file with the attribute set to the metadata's JSON
    /// document; the pixel data and every other attribute are carried over
    /// unchanged, still compressed. On any failure the file is exactly as
    /// before and no temporary file is left. The file rewritten must be the
    /// one that the existence test and the timecode read since the last
    /// rewrite read, unchanged: the metadata was chosen for it ("Destination
    /// file changed during the rewrite." otherwise). Throws Exception.
    void writeMetadata(const Metadata& metadata) const override;

private:
    // Notes the status of a file that a decision was read from.
    void rememberReadFile(const struct stat& status) const;

    std::string filePath;
    // The file that the existence test and the timecode read found at the
    // path, which the rewrite must find again under its lock; set by the
    // reads, used up by the next rewrite.
    mutable struct stat readStatus {};
    mutable bool fileRead = false;
    mutable bool readFilesDiffer = false;
};

} // namespace MetadataCopy
