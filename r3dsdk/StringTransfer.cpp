#include "StringTransfer.hpp"

#include <cstring>

namespace R3DSDK {

StringTransfer::StringTransfer() : buffer(nullptr), size(0) {}

StringTransfer::StringTransfer(const char* text) : StringTransfer() {
    Store(text);
}

StringTransfer::~StringTransfer() {
    delete[] buffer;
}

void StringTransfer::Store(const char* text) {
    // A library that hands over no text must not bring the client down.
    if (text == nullptr) {
        text = "";
    }
    const std::size_t needed = std::strlen(text) + 1;
    if (buffer == nullptr || size < needed) {
        // The text may lie in the old buffer (the library may hand back what
        // it retrieved), so the old buffer is freed only after the copy.
        char* const replacement = new char[needed];
        std::memcpy(replacement, text, needed);
        delete[] buffer;
        buffer = replacement;
    } else {
        std::memmove(buffer, text, needed);
    }
    size = needed;
}

const char* StringTransfer::Retrieve() const {
    static const char empty[] = "";
    return buffer != nullptr && size != 0 ? buffer : empty;
}

} // namespace R3DSDK
