#include "MetadataCopy/Destinations/ExrHeaderBytes.hpp"

#include <OpenEXR/Iex.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

namespace MetadataCopy {

namespace {

const unsigned char magicNumber[4] = {0x76, 0x2f, 0x31, 0x01};
// The flag in the version field of a file of several parts.
constexpr std::uint32_t multiPartFlag = 0x1000;
// OpenEXR reads names of up to 255 bytes whether or not the version field
// has the long-names flag (0x400), and writers that store longer names
// without it exist; the flag is set again when OpenEXR writes the header.
constexpr std::size_t maximumNameLength = 255;

// The types whose values OpenEXR reads in a fixed number of bytes, whatever
// size the file declares: any other size shifts everything after the value.
struct FixedSize {
    std::string_view typeName;
    std::uint32_t size;
};

const FixedSize fixedSizes[] = {
    {"box2f", 16},
    {"box2i", 16},
    {"chromaticities", 32},
    {"compression", 1},
    {"deepImageState", 1},
    {"double", 8},
    {"envmap", 1},
    {"float", 4},
    {"int", 4},
    {"keycode", 28},
    {"lineOrder", 1},
    {"m33d", 72},
    {"m33f", 36},
    {"m44d", 128},
    {"m44f", 64},
    {"rational", 8},
    {"tiledesc", 9},
    {"timecode", 8},
    {"v2d", 16},
    {"v2f", 8},
    {"v2i", 8},
    {"v3d", 24},
    {"v3f", 12},
    {"v3i", 12},
};

// The longest channel name that OpenEXR reads; a longer one makes it refuse
// the header.
constexpr std::size_t maximumChannelNameLength = 255;
// A channel's pixel type, linear flag, three reserved bytes and sampling.
constexpr std::size_t channelFieldsSize = 16;

// Whether OpenEXR reads the channel list otherwise than in its size: it reads
// entries (a name, its end and the channel's fields) up to an empty name,
// whatever size the file declares, so a list that ends before its size, or
// after it, leaves the rest of its bytes to the next attribute's name or takes
// that name's first bytes.
bool isChannelListMisread(const std::string& value) {
    std::size_t at = 0;
    for (;;) {
        if (at >= value.size()) {
            return true; // the next name, or the end, lies beyond the size
        }
        const std::size_t end = value.find('\0', at);
        const std::size_t nameLength = (end == std::string::npos ? value.size() : end) - at;
        if (nameLength > maximumChannelNameLength) {
            return false; // a name that OpenEXR refuses, and the header with it
        }
        if (end == std::string::npos) {
            return true; // the name runs on beyond the size
        }
        if (nameLength == 0) {
            return end + 1 != value.size();
        }
        at = end + 1 + channelFieldsSize;
    }
}

// Whether OpenEXR 3.1 would read the value in another number of bytes than
// the file gives it, taking bytes of the next attribute or leaving some of
// its own for the next name (so that "c" left over from a value and
// "om.okalu.LensCorrection" read as "com.okalu.LensCorrection"). A string, an
// opaque value (a type that OpenEXR does not know) and a string vector are
// read in exactly their size; a string vector or a preview image whose
// contents do not fill the size exactly is refused by OpenEXR itself.
bool isMisreadByOpenExr(const std::string& typeName, const std::string& value) {
    for (const FixedSize& entry : fixedSizes) {
        if (typeName == entry.typeName) {
            return value.size() != entry.size;
        }
    }
    if (typeName == "floatvector") {
        return value.size() % sizeof(float) != 0; // read as whole floats, the rest left
    }
    if (typeName == "chlist") {
        return isChannelListMisread(value);
    }
    if (typeName == "idmanifest") {
        // Read as an 8-byte length and then the size less 4 bytes, so 4 bytes
        // past its end; one of fewer than 4 bytes is refused by OpenEXR itself.
        return value.size() >= 4;
    }
    return false;
}

// What OpenEXR puts into a header that lacks a required attribute, as stored:
// increasing lines, a pixel aspect ratio and a screen window width of 1.0f,
// a screen window centred on (0, 0).
struct RequiredDefault {
    const char* name;
    const char* typeName;
    std::string value;
};

const RequiredDefault requiredDefaults[] = {
    {"lineOrder", "lineOrder", std::string(1, '\0')},
    {"pixelAspectRatio", "float", std::string("\x00\x00\x80\x3f", 4)},
    {"screenWindowCenter", "v2f", std::string(8, '\0')},
    {"screenWindowWidth", "float", std::string("\x00\x00\x80\x3f", 4)},
};

// Reads the stream in blocks, never beyond byteCount: a header of many
// attributes is read without a call to the stream for every byte.
class Reader {
public:
    Reader(Imf::IStream& stream, std::uint64_t byteCount) : stream(stream), byteCount(byteCount) {}

    void read(char* target, std::uint64_t count) {
        if (count > byteCount - position) {
            throw Iex::InputExc("EXR header runs past the end of the file.");
        }
        while (count > 0) {
            if (next == buffered.size()) {
                refill();
            }
            const std::size_t part =
                static_cast<std::size_t>(std::min<std::uint64_t>(count, buffered.size() - next));
            std::memcpy(target, buffered.data() + next, part);
            next += part;
            position += part;
            target += part;
            count -= part;
        }
    }

    // A name ends with a zero byte.
    std::string name() {
        std::string text;
        for (;;) {
            if (next == buffered.size()) {
                if (position == byteCount) {
                    throw Iex::InputExc("EXR header runs past the end of the file.");
                }
                refill();
            }
            const char* const start = buffered.data() + next;
            const std::size_t available = buffered.size() - next;
            const void* const end = std::memchr(start, '\0', available);
            const std::size_t length =
                end == nullptr ? available
                               : static_cast<std::size_t>(static_cast<const char*>(end) - start);
            if (text.size() + length > maximumNameLength) {
                throw Iex::InputExc("EXR header holds a name that is too long.");
            }
            text.append(start, length);
            next += length;
            position += length;
            if (end != nullptr) {
                ++next;
                ++position;
                return text;
            }
        }
    }

    std::uint32_t unsigned32() {
        unsigned char bytes[4];
        read(reinterpret_cast<char*>(bytes), 4);
        return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
               static_cast<std::uint32_t>(bytes[2]) << 16 |
               static_cast<std::uint32_t>(bytes[3]) << 24;
    }

    std::uint64_t offset() const { return position; }

private:
    // Called only with the buffer used up and bytes left before byteCount.
    void refill() {
        const std::size_t part =
            static_cast<std::size_t>(std::min<std::uint64_t>(blockSize, byteCount - position));
        buffered.resize(part);
        stream.read(&buffered[0], static_cast<int>(part));
        next = 0;
    }

    // Less than a buffered stream's buffer, so that the blocks come from it.
    static constexpr std::size_t blockSize = 4096;

    Imf::IStream& stream;
    std::uint64_t byteCount;
    // The offset of the next byte to give out, which buffered[next] holds
    // unless the buffer is used up.
    std::uint64_t position = 0;
    std::string buffered;
    std::size_t next = 0;
};

} // namespace

ExrHeaderBytes::ExrHeaderBytes(Imf::IStream& stream, std::uint64_t byteCount) {
    Reader reader(stream, byteCount);
    char magic[4];
    reader.read(magic, 4);
    if (std::memcmp(magic, magicNumber, 4) != 0) {
        throw Iex::InputExc("Not an EXR file.");
    }
    const std::uint32_t version = reader.unsigned32();
    const bool multiPart = (version & multiPartFlag) != 0;
    for (bool first = true;; first = false) {
        std::vector<Attribute> attributes;
        for (;;) {
            Attribute attribute;
            attribute.name = reader.name();
            if (attribute.name.empty()) {
                break;
            }
            attribute.typeName = reader.name();
            const std::uint32_t size = reader.unsigned32();
            if (size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
                throw Iex::InputExc("EXR header holds an attribute of negative size.");
            }
            // Checked before anything of that size is allocated.
            if (size > byteCount - reader.offset()) {
                throw Iex::InputExc("EXR header runs past the end of the file.");
            }
            attribute.value.resize(size);
            reader.read(&attribute.value[0], size);
            if (isMisreadByOpenExr(attribute.typeName, attribute.value)) {
                misSized = true;
            }
            attributes.push_back(std::move(attribute));
        }
        if (first) {
            list = std::move(attributes);
            headerEnd = reader.offset();
        } else if (attributes.empty()) {
            return; // the empty header that ends a multi-part file's headers
        }
        if (!multiPart) {
            return;
        }
    }
}

std::vector<const ExrHeaderBytes::Attribute*> ExrHeaderBytes::byName() const {
    std::vector<const Attribute*> index;
    index.reserve(list.size());
    for (const Attribute& attribute : list) {
        index.push_back(&attribute);
    }
    // Stable: of the attributes of one name, the first in the file comes first.
    std::stable_sort(index.begin(), index.end(), [](const Attribute* left, const Attribute* right) {
        return left->name < right->name;
    });
    return index;
}

namespace {

// The first attribute of the name in an index by name, or nullptr.
const ExrHeaderBytes::Attribute* findIn(const std::vector<const ExrHeaderBytes::Attribute*>& index,
                                        const std::string& name) {
    const auto found =
        std::lower_bound(index.begin(), index.end(), name,
                         [](const ExrHeaderBytes::Attribute* entry, const std::string& wanted) {
                             return entry->name < wanted;
                         });
    return found == index.end() || (*found)->name != name ? nullptr : *found;
}

} // namespace

bool ExrHeaderBytes::isCarriedOverBy(const ExrHeaderBytes& rewritten,
                                     const std::string& replacedName) const {
    // Each list is looked up through an index sorted by name, so that a
    // header of many attributes is compared in n log n.
    const std::vector<const Attribute*> originalIndex = byName();
    const std::vector<const Attribute*> rewrittenIndex = rewritten.byName();
    for (const Attribute& attribute : list) {
        if (attribute.name == replacedName) {
            continue;
        }
        // An attribute stored twice must come through with both values,
        // which one attribute cannot hold.
        const Attribute* kept = findIn(rewrittenIndex, attribute.name);
        if (kept == nullptr || kept->typeName != attribute.typeName ||
            kept->value != attribute.value) {
            return false;
        }
    }
    for (std::size_t index = 1; index < rewrittenIndex.size(); ++index) {
        if (rewrittenIndex[index - 1]->name == rewrittenIndex[index]->name) {
            return false; // written twice
        }
    }
    for (const Attribute& attribute : rewritten.list) {
        if (attribute.name == replacedName || findIn(originalIndex, attribute.name) != nullptr) {
            continue;
        }
        const auto isThisDefault = [&attribute](const RequiredDefault& entry) {
            return attribute.name == entry.name && attribute.typeName == entry.typeName &&
                   attribute.value == entry.value;
        };
        if (std::none_of(std::begin(requiredDefaults), std::end(requiredDefaults), isThisDefault)) {
            return false;
        }
    }
    return true;
}

} // namespace MetadataCopy
