// A destination file held by one run for the time of its rewrite. A symbolic
// link is followed, once, to the file that it finally names; that file's
// directory is opened once, and every later step of the rewrite (opening and
// locking the file, the temporary file beside it, the check, the rename and
// the directory's flush) works relative to that directory, so that nothing
// renamed or swapped on the way to it can redirect the rewrite. A directory
// that may be searched but not read is opened for searching only, and is then
// not flushed. The file is
// locked with an exclusive advisory lock (flock), so that of any number of
// runs over the same file only one writes it at a time, and only that one
// touches the temporary file beside it. The lock is released when the object
// is destroyed, which must come after the rename.
#pragma once

#include <string>
#include <sys/stat.h>

namespace MetadataCopy {

class LockedDestination {
public:
    /// Resolves the path, opens its directory, then opens and locks the file.
    /// Given the status of the file from which the decisions about this
    /// rewrite were read (expected), the locked file must be that same file,
    /// unchanged. Throws Exception: "File does not exist." when the path (or
    /// the last target of its links) names no regular file that can be
    /// opened, "File is being written by another process." when another
    /// process holds the lock, "Destination file changed during the rewrite."
    /// when the locked file is not the expected one or a link has taken the
    /// file's place. Where the file system cannot lock at all, the file is
    /// used without the lock.
    explicit LockedDestination(const std::string& path, const struct stat* expected = nullptr);

    /// Releases the lock and closes the directory.
    ~LockedDestination();

    LockedDestination(const LockedDestination&) = delete;
    LockedDestination& operator=(const LockedDestination&) = delete;

    enum class LockResult { locked, heldByAnother, notSupported };

    /// Takes an exclusive advisory lock (flock) on the open file, the one of
    /// that name in the directory, without waiting; it lasts until the last
    /// descriptor of that opening is closed. Where the file system emulates
    /// the lock with a byte-range lock (NFS) and refuses it on a descriptor
    /// that is not open for writing, the file is opened again for reading
    /// and writing and the descriptor replaced by that one (the first is
    /// closed); where it cannot lock at all (ENOLCK and the like, or no
    /// writable opening), notSupported.
    static LockResult lockWithoutWaiting(int& descriptor, int directory, const std::string& name);

    /// The open file, positioned at its start.
    int descriptor() const { return fileDescriptor; }

    /// The open directory of the file, open for reading, or for searching
    /// only where it may not be read.
    int directoryDescriptor() const { return directory; }

    /// The file's name in that directory.
    const std::string& fileName() const { return name; }

    /// The path of the file itself: the given path, or the last target of
    /// its chain of symbolic links. It only names the file in messages.
    const std::string& targetPath() const { return fileTargetPath; }

    /// The locked file's status, as it was once locked.
    const struct stat& lockedStatus() const { return openedStatus; }

    /// Removes the other name in the file's directory where it is a second
    /// name (a hard link) of the locked file and the file's own name still
    /// names that file; the locked status is then read again, since the
    /// removal moves the file's change time. Throws Exception "Temporary file
    /// could not be created." when the removal fails, "Destination file
    /// changed during the rewrite." when the file changed meanwhile.
    void removeSecondName(const std::string& otherName);

    /// Whether the file's name in its directory still names the locked file,
    /// with the device, inode, size, modification time and change time it
    /// had when it was locked: a chmod, an added attribute or an edit in
    /// place whose modification time was put back all move the change time.
    bool isUnchanged() const;

private:
    void openAndLock(const std::string& path, const struct stat* expected);
    void release() noexcept;

    std::string fileTargetPath;
    std::string name;
    int directory = -1;
    int fileDescriptor = -1;
    struct stat openedStatus {};
};

} // namespace MetadataCopy
