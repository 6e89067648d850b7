// An OpenEXR output stream that writes the complete new version of a file
// beside it (its name with ".tmp" appended, in the same open directory) and,
// on commit, puts it in the file's place. A rename (or an exchange) replaces
// atomically, and the new file's data reaches the disk before it, so at every
// moment the name holds either the old or the new complete file, whatever
// fails or crashes, power loss included. The temporary file is locked (flock)
// from its creation until it is renamed or removed, so that after an exchange
// the file's name is still locked by this run, and another run leaves it
// alone. A crash between an exchange and the removal of the old file leaves
// the old file at the temporary name, which the next run removes.
#pragma once

#include <OpenEXR/ImfIO.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace MetadataCopy {

class ReplacementFileStream : public Imf::OStream {
public:
    /// Creates the temporary file, the name with ".tmp" appended, in the open
    /// directory, with the permission bits of the file of that name (changed
    /// only where they differ), and locks it. An entry already at the
    /// temporary name (a leftover file that nobody locks or a symbolic link)
    /// is removed first and the new file is created exclusively, so writing
    /// never follows a link planted there; a directory there is left alone,
    /// and so is a file that another process locks, or the original itself,
    /// put there by another run's exchange. Given
    /// the open original file (originalDescriptor), the new file also takes
    /// its owner and group (changed only where they differ), its POSIX ACLs and
    /// its extended attributes, as far as the process and the file system
    /// allow; what they refuse is skipped (an owner refused alone still leaves
    /// the group). Any other failure to set them (no space, an exceeded quota,
    /// an I/O error) fails. The directory, open for reading or for searching
    /// only, stays the caller's and must stay open until the stream is
    /// destroyed. Throws Exception "Temporary file could not be created.", or
    /// "File is being written by another process." when what stands at the
    /// temporary name is in use.
    ReplacementFileStream(int directoryDescriptor, const std::string& fileName,
                          int originalDescriptor = -1);

    /// Removes the temporary file unless it was committed.
    ~ReplacementFileStream() override;

    ReplacementFileStream(const ReplacementFileStream&) = delete;
    ReplacementFileStream& operator=(const ReplacementFileStream&) = delete;

    void write(const char c[], int n) override;
    uint64_t tellp() override;
    void seekp(uint64_t pos) override;

    /// Writes what is buffered and has it reach the disk (fdatasync); nothing
    /// is written after that. The file stays open, and locked, until the
    /// commit or the destruction. Throws Exception "Temporary file could not
    /// be created.", after removing the temporary file, when any write or the
    /// flush failed (even a write that OpenEXR made in a destructor and could
    /// not report).
    void flushToDisk();

    /// Flushes the temporary file to the disk unless done already, puts it in
    /// the place of the file of the name and flushes the directory (unless it
    /// is open for searching only), so that the new name survives a power loss
    /// too. Given the status of the file that it replaces (original), it
    /// exchanges the two atomically where the system can, and puts everything
    /// back unless what it displaced is that file with its size, modification
    /// time, mode, owner and group; elsewhere it renames. Throws Exception:
    /// the message of flushToDisk; "Destination file changed during the
    /// rewrite." when another file took the original's place or the original
    /// was changed so; "Temporary file could not be renamed." when the rename
    /// failed. The temporary file is removed whenever it is still this
    /// stream's own. Where what it displaced cannot be put back, both files
    /// stay where they stand and a line on standard error names them by path
    /// (the file's path as the user knows it; the name, where empty).
    void commit(const struct stat* original = nullptr, const std::string& path = std::string());

    /// The name of the temporary file in the directory.
    const std::string& temporaryName() const { return temporaryFileName; }

private:
    bool isOwnTemporaryFile() const;
    bool discard() noexcept;
    void closeFile() noexcept;

    int directory;
    std::string destinationFileName;
    std::string temporaryFileName;
    std::FILE* file = nullptr;
    bool failed = false;
    bool flushed = false;
    // Set from the exclusive creation until the rename or the removal; the
    // temporary name must still name the created file (device and inode)
    // before it is renamed or removed, or another process's file stands there.
    bool ownsTemporaryFile = false;
    struct stat createdStatus {};
};

} // namespace MetadataCopy
