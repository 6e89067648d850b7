// An OpenEXR output stream that passes everything on to another one and keeps
// a copy of what lands in the first bytes of the file, so that the header that
// OpenEXR wrote can be checked without reading the new file back.
#pragma once

#include <OpenEXR/ImfIO.h>

#include <cstdint>
#include <string>

namespace MetadataCopy {

class PrefixRecordingStream : public Imf::OStream {
public:
    /// Records what is written to offsets below prefixLength of the target,
    /// which must be at its start and stays the caller's.
    PrefixRecordingStream(Imf::OStream& target, std::uint64_t prefixLength);

    void write(const char c[], int n) override;
    uint64_t tellp() override { return target.tellp(); }
    void seekp(uint64_t pos) override;

    /// The bytes written from offset 0 on, up to the first offset not yet
    /// written or prefixLength.
    const std::string& prefix() const { return recorded; }

private:
    Imf::OStream& target;
    std::uint64_t prefixLength;
    std::uint64_t position = 0;
    std::string recorded;
};

} // namespace MetadataCopy
