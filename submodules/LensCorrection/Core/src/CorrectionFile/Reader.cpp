#include "CorrectionFile/Reader.hpp"

#include "CorrectionFile/NotReadableException.hpp"

#include <fstream>
#include <limits>

namespace CorrectionFile {

void Reader::readFile(const std::string& filePath, std::string& content) const {
    std::ifstream stream(filePath, std::ios::in | std::ios::binary | std::ios::ate);
    if (!stream.is_open()) {
        throw NotReadableException(filePath);
    }

    const std::streamoff end = stream.tellg();
    if (end < 0 || static_cast<unsigned long long>(end) > std::numeric_limits<std::size_t>::max()) {
        throw NotReadableException(filePath);
    }
    const auto size = static_cast<std::size_t>(end);

    stream.seekg(0);
    // A directory opens like a file and reports an enormous size, but yields
    // no byte: probe before allocating that size.
    if (!stream || (size > 0 && stream.peek() == std::ifstream::traits_type::eof())) {
        throw NotReadableException(filePath);
    }

    std::string text(size, '\0');
    if (size > 0) {
        stream.read(&text[0], static_cast<std::streamsize>(size));
        // Handing on NUL padding in place of bytes that never arrived would
        // make the parser judge text that is not in the file.
        if (static_cast<std::size_t>(stream.gcount()) != size) {
            throw NotReadableException(filePath);
        }
    }
    content.swap(text);
}

} // namespace CorrectionFile
