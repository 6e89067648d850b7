#include "MetadataCopy/Destinations/ExrHeaderBytes.hpp"

#include <OpenEXR/Iex.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace MetadataCopy {

namespace {

const unsigned char magicNumber[4] = {0x76, 0x2f, 0x31, 0x01};
// Flags in the version field: names of up to 255 bytes, and several parts.
constexpr std::uint32_t longNamesFlag = 0x400;
constexpr std::uint32_t multiPartFlag = 0x1000;

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

class Reader {
public:
    Reader(Imf::IStream& stream, std::uint64_t byteCount) : stream(stream), byteCount(byteCount) {}

    void read(char* target, std::uint64_t count) {
        if (count > byteCount - position) {
            throw Iex::InputExc("EXR header runs past the end of the file.");
        }
        while (count > 0) {
            const int part =
                static_cast<int>(std::min<std::uint64_t>(count, std::numeric_limits<int>::max()));
            stream.read(target, part);
            target += part;
            count -= static_cast<std::uint64_t>(part);
            position += static_cast<std::uint64_t>(part);
        }
    }

    // A name ends with a zero byte; OpenEXR allows 31 bytes before it, or 255
    // with the long-names flag.
    std::string name(std::size_t maximumLength) {
        std::string text;
        for (;;) {
            char character;
            read(&character, 1);
            if (character == '\0') {
                return text;
            }
            if (text.size() == maximumLength) {
                throw Iex::InputExc("EXR header holds a name that is too long.");
            }
            text.push_back(character);
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
    Imf::IStream& stream;
    std::uint64_t byteCount;
    std::uint64_t position = 0;
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
    const std::size_t maximumNameLength = (version & longNamesFlag) != 0 ? 255 : 31;
    const bool multiPart = (version & multiPartFlag) != 0;
    for (bool first = true;; first = false) {
        std::vector<Attribute> attributes;
        for (;;) {
            Attribute attribute;
            attribute.name = reader.name(maximumNameLength);
            if (attribute.name.empty()) {
                break;
            }
            attribute.typeName = reader.name(maximumNameLength);
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

const ExrHeaderBytes::Attribute* ExrHeaderBytes::find(const std::string& name) const {
    const auto found = std::find_if(list.begin(), list.end(),
                                    [&name](const Attribute& entry) { return entry.name == name; });
    return found == list.end() ? nullptr : &*found;
}

bool ExrHeaderBytes::isCarriedOverBy(const ExrHeaderBytes& rewritten,
                                     const std::string& replacedName) const {
    for (const Attribute& attribute : list) {
        if (attribute.name == replacedName) {
            continue;
        }
        // An attribute stored twice must come through with both values,
        // which one attribute cannot hold.
        const Attribute* kept = rewritten.find(attribute.name);
        if (kept == nullptr || kept->typeName != attribute.typeName ||
            kept->value != attribute.value) {
            return false;
        }
    }
    for (const Attribute& attribute : rewritten.list) {
        if (rewritten.find(attribute.name) != &attribute) {
            return false; // written twice
        }
        if (attribute.name == replacedName || find(attribute.name) != nullptr) {
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
