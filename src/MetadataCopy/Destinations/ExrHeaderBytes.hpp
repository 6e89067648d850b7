// The attribute list of an EXR file's header as the file holds it: each
// attribute's name, type name and value bytes, read from the bytes themselves
// (the magic number, the version, then name, type name, size and value, up to
// the empty name). OpenEXR reads some attributes otherwise than they are
// stored (an ID manifest, an unsorted channel list, a size that differs from
// the type's, a value from a newer writer) and writes back what it read, so
// the rewrite compares the header that it wrote with this one before the new
// file may replace the old. Reading the list also bounds every size by the
// file's length, before OpenEXR allocates anything for a declared size.
#pragma once

#include <OpenEXR/ImfIO.h>

#include <cstdint>
#include <string>
#include <vector>

namespace MetadataCopy {

class ExrHeaderBytes {
public:
    struct Attribute {
        std::string name;
        std::string typeName;
        std::string value;
    };

    /// Reads the header from the stream's start; the stream holds byteCount
    /// bytes. Every header of a multi-part file is walked, and the first one is
    /// kept. Throws Iex::InputExc when the bytes are not an EXR header that
    /// lies wholly inside the stream: a wrong magic number, a name of more
    /// than 255 bytes or without its end, a size below zero or beyond the end.
    ExrHeaderBytes(Imf::IStream& stream, std::uint64_t byteCount);

    /// The attributes of the (first) header in the order of the file.
    const std::vector<Attribute>& attributes() const { return list; }

    /// The offset just after the first header's terminating empty name: where
    /// a single-part file's chunk offset table starts.
    std::uint64_t end() const { return headerEnd; }

    /// Whether an attribute is stored in more or fewer bytes than OpenEXR
    /// reads for it, in any header walked: a type of fixed size (an int, a
    /// float, a timecode...) in another size, a float vector whose size is no
    /// multiple of 4, a channel list that does not end exactly at its size, an
    /// ID manifest. OpenEXR would take the wrong bytes for it and for what
    /// follows it, losing later attributes or reading ones the file does not
    /// hold.
    bool holdsMisSizedValue() const { return misSized; }

    /// Whether a rewritten header carries this one over: every attribute but
    /// the one named replacedName stands in it with the same type name and
    /// the same value bytes, and it adds nothing but that attribute and,
    /// where this header lacks them, the defaults that OpenEXR gives the
    /// required attributes "lineOrder", "pixelAspectRatio",
    /// "screenWindowCenter" and "screenWindowWidth". The order may differ.
    bool isCarriedOverBy(const ExrHeaderBytes& rewritten, const std::string& replacedName) const;

private:
    /// The attributes sorted by name, those of one name in the file's order.
    std::vector<const Attribute*> byName() const;

    std::vector<Attribute> list;
    std::uint64_t headerEnd = 0;
    bool misSized = false;
};

} // namespace MetadataCopy
