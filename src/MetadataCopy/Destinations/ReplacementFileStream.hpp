// An OpenEXR output stream that writes the complete new version of a file
// beside it (the path with ".tmp" appended) and, on commit, renames it over
// the file. POSIX rename replaces atomically, so at every moment the path
// holds either the old or the new complete file, whatever fails or crashes.
#pragma once

#include <OpenEXR/ImfIO.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace MetadataCopy {

class ReplacementFileStream : public Imf::OStream {
public:
    /// Creates the temporary file with the permission bits of the file at
    /// destinationPath. An entry already at the temporary path (a leftover
    /// file or a symbolic link) is removed first and the new file is created
    /// exclusively, so writing never follows a link planted there; a
    /// directory there is left alone. Throws Exception "Temporary file could
    /// not be created.".
    explicit ReplacementFileStream(const std::string& destinationPath);

    /// Removes the temporary file unless it was committed.
    ~ReplacementFileStream() override;

    ReplacementFileStream(const ReplacementFileStream&) = delete;
    ReplacementFileStream& operator=(const ReplacementFileStream&) = delete;

    void write(const char c[], int n) override;
    uint64_t tellp() override;
    void seekp(uint64_t pos) override;

    /// Closes the temporary file and renames it over the destination. Throws
    /// Exception, after removing the temporary file: "Temporary file could
    /// not be created." when any write or the close failed (even a write that
    /// OpenEXR made in a destructor and could not report), "Temporary file
    /// could not be renamed." when the rename failed.
    void commit();

    const std::string& temporaryPath() const { return temporaryFilePath; }

private:
    void discard() noexcept;

    std::string destinationFilePath;
    std::string temporaryFilePath;
    std::FILE* file = nullptr;
    bool failed = false;
    // Set from the exclusive creation until the rename or the removal.
    bool ownsTemporaryFile = false;
};

} // namespace MetadataCopy
