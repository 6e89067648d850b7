// The client's import list, a local of the SDK start-up.
#pragma once

#include "ILibraryImport.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace R3DSDK {

class LibraryImport : public virtual ILibraryImport {
public:
    LibraryImport();
    ~LibraryImport() override;

    // Duplicates stay in the list.
    void AddLibrary(const char* filename, unsigned int id, unsigned int options) override;
    void Reset() override;
    unsigned int LibraryCount() const override;
    // Valid until the list changes.
    const char* LibraryFilename(unsigned int index) const override;
    unsigned int LibraryId(unsigned int index) const override;
    unsigned int LibraryOptions(unsigned int index) const override;

private:
    struct Entry {
        std::uint32_t id;
        std::uint32_t options;
        std::string filename;
    };

    std::vector<Entry> entries;
};

} // namespace R3DSDK
