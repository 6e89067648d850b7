// An OpenEXR output stream that writes the complete new version of a file
// beside it (the path with ".tmp" appended) and, on commit, renames it over
// the file. POSIX rename replaces atomically, and the new file's data reaches
// the disk before the rename, so at every moment the path holds either the
// old or the new complete file, whatever fails or crashes, power loss
// included.
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
    /// directory there is left alone. Given the open original file
    /// (originalDescriptor), the new file also takes its owner and group, its
    /// POSIX ACLs and its extended attributes, as far as the process and the
    /// file system allow; what they refuse is skipped. Throws Exception
    /// "Temporary file could not be created.".
    explicit ReplacementFileStream(const std::string& destinationPath, int originalDescriptor = -1);

    /// Removes the temporary file unless it was committed.
    ~ReplacementFileStream() override;

    ReplacementFileStream(const ReplacementFileStream&) = delete;
    ReplacementFileStream& operator=(const ReplacementFileStream&) = delete;

    void write(const char c[], int n) override;
    uint64_t tellp() override;
    void seekp(uint64_t pos) override;

    /// Writes what is buffered, has it reach the disk (fdatasync) and closes
    /// the temporary file; nothing is written after that. Throws Exception
    /// "Temporary file could not be created.", after removing the temporary
    /// file, when any write, the flush or the close failed (even a write that
    /// OpenEXR made in a destructor and could not report).
    void flushToDisk();

    /// Flushes the temporary file to the disk unless done already, renames it
    /// over the destination and flushes the directory, so that the new name
    /// survives a power loss too. Throws Exception, after removing the
    /// temporary file: the message of flushToDisk, or "Temporary file could
    /// not be renamed." when the rename failed.
    void commit();

    const std::string& temporaryPath() const { return temporaryFilePath; }

private:
    void discard() noexcept;

    std::string destinationFilePath;
    std::string temporaryFilePath;
    std::FILE* file = nullptr;
    bool failed = false;
    bool flushed = false;
    // Set from the exclusive creation until the rename or the removal.
    bool ownsTemporaryFile = false;
};

} // namespace MetadataCopy
