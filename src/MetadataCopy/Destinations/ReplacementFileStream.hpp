// An OpenEXR output stream that writes the complete new version of a file
// beside it (its name with ".tmp" appended, in the same open directory) and,
// on commit, puts it in the file's place. Where the file system can, the new
// file is written without a name and gets the temporary name only once it is
// written and stored, so that no other program can write into it meanwhile
// and a run that ends while writing leaves nothing behind. A rename (or an exchange) replaces
// atomically, and the new file's data is stored before it (flushed to the
// disk, and a store that file systems make when a file is closed made and
// checked), so at every moment the name holds either the old or the new
// complete file, whatever fails or crashes, power loss included. The
// temporary file is locked (flock) from its creation until it is renamed or
// removed, so that after an exchange the file's name is still locked by this
// run, and another run leaves it alone. Before it takes the file's place, the
// temporary name must still hold the file created, and a file that had its
// name while it was written must hold exactly the bytes written (read back
// and compared with their hash, kept while writing): a program that wrote
// into it or put its own file there, as renderers that write "<name>.tmp"
// without a lock do, makes the commit fail. A crash between
// an exchange and the removal of the old file leaves the old file at the
// temporary name, which the next run removes.
#pragma once

#include <OpenEXR/ImfIO.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace MetadataCopy {

class WrittenBytes;

class ReplacementFileStream : public Imf::OStream {
public:
    /// Creates the temporary file, the name with ".tmp" appended, in the open
    /// directory, with the permission bits of the file of that name (as the
    /// umask allows, readable and writable by its owner), and locks it. An
    /// entry already at the temporary name (a leftover file that nobody locks
    /// or a symbolic link) is removed first and the new file is created
    /// exclusively, so writing never follows a link planted there; a
    /// directory there is left alone, and so is a file that another process
    /// locks, or the original itself, put there by another run's exchange.
    /// Once the data is written (flushToDisk), the new
    /// file takes the permission bits of the file of that name (changed only
    /// where they differ), and, given the open original file
    /// (originalDescriptor), its owner and group (changed only where they
    /// differ), its POSIX ACLs (where it has more than its permission bits)
    /// and its extended attributes, as far as the process and the file system
    /// allow; what they refuse is skipped (an owner refused alone still leaves
    /// the group), and so are ACLs and attributes that the storage cannot
    /// report for any file. Any other failure to set them (no space, an
    /// exceeded quota, an I/O error) fails, and so do permission bits that
    /// the file does not show once set. The directory, open for reading or for searching
    /// only, stays the caller's and must stay open until the stream is
    /// destroyed. Throws Exception "Temporary file could not be created.", or
    /// "File is being written by another process." when what stands at the
    /// temporary name is in use.
    /// Where the file system makes files without a name (O_TMPFILE, and a
    /// /proc through which to name them; not FUSE), the new file is one, and
    /// gets the temporary name, locked already, in the commit; elsewhere it
    /// has the name from the start, and the bytes written are recorded to be
    /// checked before the commit.
    ReplacementFileStream(int directoryDescriptor, const std::string& fileName,
                          int originalDescriptor = -1);

    /// Removes the temporary file unless it was committed.
    ~ReplacementFileStream() override;

    ReplacementFileStream(const ReplacementFileStream&) = delete;
    ReplacementFileStream& operator=(const ReplacementFileStream&) = delete;

    void write(const char c[], int n) override;
    uint64_t tellp() override;
    void seekp(uint64_t pos) override;

    /// Writes what is buffered, gives the file the original's mode, owner,
    /// group, ACLs and attributes (after the last write, which would clear
    /// set-user-ID and set-group-ID bits), has the data reach the disk
    /// (fdatasync) and closes a duplicate of the descriptor, which makes a
    /// file system that stores files when they are closed (FUSE, NFS) store
    /// it and report a failure; nothing is written after that. The file stays
    /// open, and locked, until the commit or the destruction. Throws Exception
    /// "Temporary file could not be created.", after removing the temporary
    /// file, when any of this failed (even a write that OpenEXR made in a
    /// destructor and could not report).
    void flushToDisk();

    /// Flushes the temporary file to the disk unless done already, gives it the
    /// temporary name where it has none yet, checks that the temporary name
    /// still holds it (with exactly the bytes written, where it had the name
    /// while it was written), puts
    /// it in the place of the file of the name and flushes the directory
    /// (unless it is open for searching only), so that the new name survives
    /// a power loss too. Given the status of the file that it replaces
    /// (original), it exchanges the two atomically where the system can, and
    /// puts everything back unless the file's name then holds the temporary
    /// file, unwritten since the check, and what it displaced is the original
    /// with its size, modification time, mode, owner and group; elsewhere it
    /// renames. A rename or an exchange that reports a failure is taken for
    /// done where the names show it done. Throws Exception: the message of
    /// flushToDisk; "File is being written by another process." when another
    /// program wrote into the temporary file or put a file at its name while
    /// it had none; "Destination file changed
    /// during the rewrite." when another file took the original's place or
    /// the original was changed so, or, without an exchange, when the file's
    /// name does not hold the temporary file after the rename; "Temporary file
    /// could not be renamed." when the rename failed or another file took the
    /// temporary file's name; the file's name then still holds the original
    /// file, put back where the storage moved it away, or a line on standard
    /// error says that it could not be. The temporary file is removed whenever it is
    /// still this stream's own and has not taken the file's place. Where what
    /// it displaced cannot be put back, both files stay where they stand and a
    /// line on standard error says what each name holds, as found after the
    /// attempt (the file's path as the user knows it; the name, where empty).
    void commit(const struct stat* original = nullptr, const std::string& path = std::string());

    /// The name of the temporary file in the directory.
    const std::string& temporaryName() const { return temporaryFileName; }

    /// The name of the temporary file of the file of that name.
    static std::string temporaryNameOf(const std::string& fileName) { return fileName + ".tmp"; }

private:
    // Opens the stdio file over the descriptor, with its buffer; false when
    // either fails (the file, if opened, is left to closeFile).
    bool openBufferedFile();
    bool holdsWhatWasWritten();
    void giveTemporaryName();
    bool isInPlaceAsChecked(bool& inPlace);
    void putInPlace(const struct stat* original, const std::string& path);
    void checkAfterExchange(const struct stat& original, const std::string& path);
    void putBackOriginal(const std::string& path);
    bool showsTheFramesPermissionBits() const;
    bool isOwnTemporaryFile() const;
    bool discard() noexcept;
    void removeIfStillOwn() noexcept;
    void closeFile() noexcept;

    int directory;
    std::string destinationFileName;
    std::string temporaryFileName;
    int descriptor = -1;
    std::FILE* file = nullptr;
    // The file's stdio buffer, which stdio uses until the file is closed.
    std::unique_ptr<char[]> writeBuffer;
    bool failed = false;
    bool flushed = false;
    // What the new file takes from the original once its data is written.
    int originalDescriptor = -1;
    bool modeKnown = false;
    struct stat destinationStatus {};
    // Whether the file was created without a name; the record of the bytes
    // written into a file that had one (none otherwise), and the position of
    // the next write.
    bool unnamed = false;
    std::unique_ptr<WrittenBytes> written;
    std::uint64_t position = 0;
    // The file's status once its bytes were read back and found right, or,
    // for a file written without a name, as it got the name.
    struct stat checkedStatus {};
    // Set from the exclusive creation until the rename or the removal; the
    // temporary name must still name the created file (device and inode)
    // before it is renamed or removed, or another process's file stands there.
    bool ownsTemporaryFile = false;
    struct stat createdStatus {};
};

} // namespace MetadataCopy
