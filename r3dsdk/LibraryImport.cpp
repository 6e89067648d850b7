#include "LibraryImport.hpp"

namespace R3DSDK {

LibraryImport::LibraryImport() = default;

LibraryImport::~LibraryImport() = default;

void LibraryImport::AddLibrary(const char* filename, unsigned int id, unsigned int options) {
    // A companion without a name is kept, so that loading it fails visibly
    // instead of the library running without it.
    entries.push_back(Entry{id, options, filename != nullptr ? filename : ""});
}

void LibraryImport::Reset() {
    entries.clear();
}

unsigned int LibraryImport::LibraryCount() const {
    return static_cast<unsigned int>(entries.size());
}

const char* LibraryImport::LibraryFilename(unsigned int index) const {
    return entries[index].filename.c_str();
}

unsigned int LibraryImport::LibraryId(unsigned int index) const {
    return entries[index].id;
}

unsigned int LibraryImport::LibraryOptions(unsigned int index) const {
    return entries[index].options;
}

} // namespace R3DSDK
