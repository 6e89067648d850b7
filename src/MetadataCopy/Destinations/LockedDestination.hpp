// A destination file held by one run for the time of its rewrite. A symbolic
// link is followed to the file that it finally names; that file is opened and
// locked with an exclusive advisory lock (flock), so that of any number of runs
// over the same file only one writes it at a time, and only that one touches
// the temporary file beside it. The lock is released when the object is
// destroyed, which must come after the rename.
#pragma once

#include <string>
#include <sys/stat.h>

namespace MetadataCopy {

class LockedDestination {
public:
    /// Resolves, opens and locks the file. Throws Exception: "File does not
    /// exist." when the path (or the last target of its links) names no
    /// regular file that can be opened, "File is being written by another
    /// process." when another process holds the lock. Where the file system
    /// cannot lock at all, the file is used without the lock.
    explicit LockedDestination(const std::string& path);

    /// Releases the lock.
    ~LockedDestination();

    LockedDestination(const LockedDestination&) = delete;
    LockedDestination& operator=(const LockedDestination&) = delete;

    /// The open file, positioned at its start.
    int descriptor() const { return fileDescriptor; }

    /// The path of the file itself: the given path, or the last target of
    /// its chain of symbolic links.
    const std::string& targetPath() const { return fileTargetPath; }

    /// Whether the target path still names the file that was opened and that
    /// file still has the device, inode, size and modification time it had
    /// when it was opened.
    bool isUnchanged() const;

private:
    std::string fileTargetPath;
    int fileDescriptor = -1;
    struct stat openedStatus {};
};

} // namespace MetadataCopy
