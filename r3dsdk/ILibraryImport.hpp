// A list that a decoder library fills with further libraries that must be
// loaded beside it. Called through its virtual table; the order of the
// operations (destructor first) is part of the contract with the library.
#pragma once

namespace R3DSDK {

class ILibraryImport {
public:
    virtual ~ILibraryImport() {}
    // `filename` is relative to the asking library's directory; null is kept as "".
    virtual void AddLibrary(const char* filename, unsigned int id, unsigned int options) = 0;
    virtual void Reset() = 0;
    virtual unsigned int LibraryCount() const = 0;
    // The index is not checked: callers keep it below LibraryCount().
    virtual const char* LibraryFilename(unsigned int index) const = 0;
    virtual unsigned int LibraryId(unsigned int index) const = 0;
    virtual unsigned int LibraryOptions(unsigned int index) const = 0;
};

} // namespace R3DSDK
