#include "MetadataCopy/Destinations/LockedDestination.hpp"

#include "Exception/Exception.hpp"
#include "MetadataCopy/Destinations/FileStatus.hpp"

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
const char* const destinationChanged = "Destination file changed during the rewrite.";

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

// A directory that the process may enter but not list (a drop folder of mode
// 0300) is opened for searching only, which serves every call relative to it;
// it cannot be flushed that way.
int openForSearching(const std::string& path) {
#if defined(O_PATH)
    return ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
#elif defined(O_SEARCH)
    return ::open(path.c_str(), O_SEARCH | O_DIRECTORY | O_CLOEXEC);
#else
    static_cast<void>(path);
    return -1;
#endif
}

} // namespace

// Takes the exclusive lock without waiting. NFS clients emulate flock with a
// byte-range lock, which needs a descriptor open for writing and refuses a
// read-only one with EBADF: only then is the file opened again for reading
// and writing (where the process may; else the run goes on without the lock),
// so that on local file systems the file is never opened for writing, which
// would wake every watcher of the file and break other hosts' leases on it.
LockedDestination::LockResult LockedDestination::lockWithoutWaiting(int& descriptor, int directory,
                                                                    const std::string& name) {
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
            const int writable =
                ::openat(directory, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            struct stat opened, writableStatus;
            if (writable < 0 || ::fstat(descriptor, &opened) != 0 ||
                ::fstat(writable, &writableStatus) != 0 ||
                !FileStatus::isSameFile(opened, writableStatus)) {
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
        // lock; the checks before the rename still guard the file.
        return LockResult::notSupported;
    }
}

LockedDestination::LockedDestination(const std::string& path, const struct stat* expected) {
    try {
        openAndLock(path, expected);
    } catch (...) {
        release();
        throw;
    }
}

LockedDestination::~LockedDestination() {
    release();
}

void LockedDestination::openAndLock(const std::string& path, const struct stat* expected) {
    fileTargetPath = finalTarget(path);
    // An absolute path: there is a "/" at least at its start.
    const std::string::size_type slash = fileTargetPath.rfind('/');
    name = fileTargetPath.substr(slash + 1);
    const std::string directoryPath = slash == 0 ? "/" : fileTargetPath.substr(0, slash);
    directory = ::open(directoryPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0 && errno == EACCES) {
        directory = openForSearching(directoryPath);
    }
    if (directory < 0 || name.empty()) {
        throw Exception(fileDoesNotExist);
    }

    for (int attempt = 0; attempt < maximumAttempts; ++attempt) {
        // O_NOFOLLOW: a link put in the file's place since it was resolved
        // is not followed, the path is not walked again. O_NONBLOCK keeps a
        // FIFO there from blocking the opening.
        fileDescriptor =
            ::openat(directory, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fileDescriptor < 0) {
            throw Exception(errno == ELOOP ? destinationChanged : fileDoesNotExist);
        }
        const int flags = ::fcntl(fileDescriptor, F_GETFL);
        if (::fstat(fileDescriptor, &openedStatus) != 0 || !S_ISREG(openedStatus.st_mode) ||
            flags < 0 || ::fcntl(fileDescriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            throw Exception(fileDoesNotExist);
        }
        if (lockWithoutWaiting(fileDescriptor, directory, name) == LockResult::heldByAnother) {
            throw Exception(beingWritten);
        }
        // The file may have been replaced under its name between the opening
        // and the locking, typically by the run that held it until then.
        struct stat named;
        if (::fstatat(directory, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            FileStatus::isSameFile(named, openedStatus) &&
            ::fstat(fileDescriptor, &openedStatus) == 0) {
            // What was decided about the file was decided about the one read
            // before the lock; any other file, or that one changed since,
            // stays as it is.
            if (expected != nullptr && !FileStatus::isSameUnchangedFile(*expected, openedStatus)) {
                throw Exception(destinationChanged);
            }
            return;
        }
        ::close(fileDescriptor);
        fileDescriptor = -1;
    }
    throw Exception(beingWritten);
}

void LockedDestination::release() noexcept {
    if (fileDescriptor >= 0) {
        ::close(fileDescriptor);
        fileDescriptor = -1;
    }
    if (directory >= 0) {
        ::close(directory);
        directory = -1;
    }
}

void LockedDestination::removeSecondName(const std::string& otherName) {
    struct stat other, named, now;
    if (openedStatus.st_nlink < 2 ||
        ::fstatat(directory, otherName.c_str(), &other, AT_SYMLINK_NOFOLLOW) != 0 ||
        !FileStatus::isSameFile(other, openedStatus) ||
        ::fstatat(directory, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !FileStatus::isSameFile(named, openedStatus)) {
        return;
    }
    if (::unlinkat(directory, otherName.c_str(), 0) != 0) {
        throw Exception("Temporary file could not be created.");
    }
    if (::fstat(fileDescriptor, &now) != 0 ||
        !FileStatus::isSameFileAndContent(now, openedStatus) ||
        !FileStatus::hasSameAccess(now, openedStatus)) {
        throw Exception(destinationChanged);
    }
    openedStatus = now;
}

bool LockedDestination::isUnchanged() const {
    struct stat named;
    return ::fstatat(directory, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           FileStatus::isSameUnchangedFile(named, openedStatus);
}

} // namespace MetadataCopy
