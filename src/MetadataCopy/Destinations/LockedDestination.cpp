#include "MetadataCopy/Destinations/LockedDestination.hpp"

#include "Exception/Exception.hpp"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

namespace MetadataCopy {

namespace {

const char* const fileDoesNotExist = "File does not exist.";
const char* const beingWritten = "File is being written by another process.";

// Tries to open and lock a file that keeps being replaced under its name
// between the opening and the locking.
constexpr int maximumAttempts = 8;

// The file that the path finally names, every symbolic link on the way
// resolved: the rewrite replaces that file, beside it, and leaves the links as
// they are. Throws "File does not exist." for a missing file or a dangling link.
std::string finalTarget(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (resolved == nullptr) {
        throw Exception(fileDoesNotExist);
    }
    return resolved.get();
}

bool sameFile(const struct stat& one, const struct stat& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

#ifdef __APPLE__
bool sameModificationTime(const struct stat& one, const struct stat& other) {
    return one.st_mtimespec.tv_sec == other.st_mtimespec.tv_sec &&
           one.st_mtimespec.tv_nsec == other.st_mtimespec.tv_nsec;
}
#else
bool sameModificationTime(const struct stat& one, const struct stat& other) {
    return one.st_mtim.tv_sec == other.st_mtim.tv_sec &&
           one.st_mtim.tv_nsec == other.st_mtim.tv_nsec;
}
#endif

enum class LockResult { locked, heldByAnother, notSupported };

// Takes the exclusive lock without waiting. NFS clients emulate flock with a
// byte-range lock, which needs a descriptor open for writing and refuses a
// read-only one with EBADF: only then is the file opened again for reading
// and writing (where the process may; else the run goes on without the lock),
// so that on local file systems the file is never opened for writing, which
// would wake every watcher of the file and break other hosts' leases on it.
LockResult lock(int& descriptor, const std::string& path) {
    bool reopened = false;
    for (;;) {
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            return LockResult::locked;
        }
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        if (error == EWOULDBLOCK) {
            return LockResult::heldByAnother;
        }
        if (error == EBADF && !reopened) {
            // The read-only descriptor is closed before the other is locked:
            // on NFS, closing any descriptor of a file may drop the process's
            // locks on it.
            const int writable = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
            struct stat opened, writableStatus;
            if (writable < 0 || ::fstat(descriptor, &opened) != 0 ||
                ::fstat(writable, &writableStatus) != 0 || !sameFile(opened, writableStatus)) {
                if (writable >= 0) {
                    ::close(writable);
                }
                return LockResult::notSupported;
            }
            ::close(descriptor);
            descriptor = writable;
            reopened = true;
            continue;
        }
        // ENOLCK, EOPNOTSUPP, EINVAL and the like: the file system cannot
        // lock; the check before the rename still guards the file.
        return LockResult::notSupported;
    }
}

} // namespace

LockedDestination::LockedDestination(const std::string& path) {
    for (int attempt = 0; attempt < maximumAttempts; ++attempt) {
        fileTargetPath = finalTarget(path);
        // O_NOFOLLOW: a link put in the target's place since it was resolved
        // makes the opening fail, and the next attempt follows it. O_NONBLOCK
        // only keeps a FIFO there from blocking the opening.
        fileDescriptor =
            ::open(fileTargetPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fileDescriptor < 0) {
            if (errno == ELOOP || errno == ENOENT) {
                continue;
            }
            throw Exception(fileDoesNotExist);
        }
        const int flags = ::fcntl(fileDescriptor, F_GETFL);
        if (::fstat(fileDescriptor, &openedStatus) != 0 || !S_ISREG(openedStatus.st_mode) ||
            flags < 0 || ::fcntl(fileDescriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            ::close(fileDescriptor);
            throw Exception(fileDoesNotExist);
        }
        const LockResult result = lock(fileDescriptor, fileTargetPath);
        if (result == LockResult::heldByAnother) {
            ::close(fileDescriptor);
            throw Exception(beingWritten);
        }
        // The file may have been replaced under its name between the opening
        // and the locking, typically by the run that held it until then.
        struct stat named;
        if (::lstat(fileTargetPath.c_str(), &named) == 0 && sameFile(named, openedStatus) &&
            ::fstat(fileDescriptor, &openedStatus) == 0) {
            return;
        }
        ::close(fileDescriptor);
        fileDescriptor = -1;
    }
    throw Exception(beingWritten);
}

LockedDestination::~LockedDestination() {
    ::close(fileDescriptor);
}

bool LockedDestination::isUnchanged() const {
    struct stat named;
    return ::lstat(fileTargetPath.c_str(), &named) == 0 && sameFile(named, openedStatus) &&
           named.st_size == openedStatus.st_size && sameModificationTime(named, openedStatus);
}

} // namespace MetadataCopy
