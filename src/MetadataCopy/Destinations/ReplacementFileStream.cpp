#include "MetadataCopy/Destinations/ReplacementFileStream.hpp"

#include "Exception/Exception.hpp"
#include "MetadataCopy/Destinations/FileStatus.hpp"
#include "MetadataCopy/Destinations/LockedDestination.hpp"

#include <OpenEXR/Iex.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#if defined(OKALU_HAVE_LIBACL) || defined(OKALU_HAVE_LIBATTR)
#include <attr/error_context.h>
#endif
#ifdef OKALU_HAVE_LIBACL
#include <acl/libacl.h>
#endif
#ifdef OKALU_HAVE_LIBATTR
#include <attr/libattr.h>
#endif
#ifdef __APPLE__
#include <copyfile.h>
#endif

namespace MetadataCopy {

namespace {

const char* const creationFailed = "Temporary file could not be created.";
const char* const renameFailed = "Temporary file could not be renamed.";
const char* const destinationChanged = "Destination file changed during the rewrite.";
const char* const beingWritten = "File is being written by another process.";

// Makes room at the temporary name. What stands there is either a leftover
// of a run that ended, removed without following it (a link, or a file that
// nobody locks), or still in use: another run's temporary file, which it
// locks from its creation until its rename or removal, or, after that run's
// exchange, the frame that it swaps back; the very file that this run locked
// as the destination (given its status) is such a frame, and is not opened
// here, since on NFS closing any descriptor of a file may drop the process's
// lock on it. What is in use stays and throws "File is being written by
// another process."; a directory is not ours to remove. A file that cannot be
// opened to try its lock is taken for a leftover, as is every file where the
// file system cannot lock.
void clearTemporaryName(int directory, const std::string& name, const struct stat* destination) {
    struct stat status;
    if (::fstatat(directory, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) {
            return;
        }
        throw Exception(creationFailed);
    }
    if (S_ISDIR(status.st_mode)) {
        throw Exception(creationFailed);
    }
    int descriptor = -1;
    if (S_ISREG(status.st_mode)) {
        if (destination != nullptr && FileStatus::isSameFile(status, *destination)) {
            throw Exception(beingWritten);
        }
        descriptor =
            ::openat(directory, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    }
    if (descriptor >= 0) {
        // Locked, the file must still be the one at the name: another run may
        // have swapped something there meanwhile.
        struct stat locked, named;
        const bool leftover =
            LockedDestination::lockWithoutWaiting(descriptor, directory, name) !=
                LockedDestination::LockResult::heldByAnother &&
            ::fstat(descriptor, &locked) == 0 &&
            ::fstatat(directory, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            FileStatus::isSameFile(locked, named) &&
            (destination == nullptr || !FileStatus::isSameFile(locked, *destination));
        // Removed while still locked, so that no run takes it up meanwhile.
        const bool removed = leftover && ::unlinkat(directory, name.c_str(), 0) == 0;
        ::close(descriptor);
        if (!leftover) {
            throw Exception(beingWritten);
        }
        if (!removed) {
            throw Exception(creationFailed);
        }
        return;
    }
    if (::unlinkat(directory, name.c_str(), 0) != 0) {
        throw Exception(creationFailed);
    }
}

// What a process or a file system answers when it does not allow a change of
// owner or group, as opposed to a failure of the change itself. File systems
// without owners (FUSE ones without chown) answer ENOSYS.
bool isRefusal(int error) {
    return error == EPERM || error == EACCES || error == EINVAL || error == EOPNOTSUPP ||
           error == ENOSYS;
}

// Gives the new file (created) the original's owner and group where they
// differ. A process that may not give files away may still set a group it
// belongs to, so a refused change of both is tried again for the group alone;
// refused too, the new file stays the process's, as any file it creates. False
// on any other failure: a frame whose owner or group was not kept for a reason
// such as an exceeded quota must not replace the original. A change of owner
// or group may clear set-user-ID and set-group-ID bits, so the status is read
// again after one.
bool copyOwner(int descriptor, struct stat& created, const struct stat& original) {
    if (created.st_uid == original.st_uid && created.st_gid == original.st_gid) {
        return true;
    }
    if (::fchown(descriptor, original.st_uid, original.st_gid) == 0) {
        return ::fstat(descriptor, &created) == 0;
    }
    if (!isRefusal(errno)) {
        return false;
    }
    if (created.st_gid == original.st_gid) {
        return true;
    }
    if (::fchown(descriptor, static_cast<uid_t>(-1), original.st_gid) == 0) {
        return ::fstat(descriptor, &created) == 0;
    }
    return isRefusal(errno);
}

#if defined(OKALU_HAVE_LIBACL) || defined(OKALU_HAVE_LIBATTR)
// What libacl and libattr report while they copy, each report right after the
// call that failed, with its errno. A file system without ACLs or extended
// attributes, or a kind of attribute that the process may not set, refuses;
// so does one without permission bits of its own, whose fchmod answers ENOSYS
// (libacl sets the permission bits again where it cannot set an ACL; they
// are the original's already). Anything else (no space, an exceeded quota, an
// I/O error) is a failure.
struct CopyReports {
    struct error_context context;
    bool reported = false;
    bool failed = false;
};

void noteReport(struct error_context* context, const char*, ...) {
    const int error = errno;
    CopyReports& reports = *reinterpret_cast<CopyReports*>(context);
    reports.reported = true;
    reports.failed |= error != ENOTSUP && error != EOPNOTSUPP && error != EPERM &&
                      error != EACCES && error != ENOSYS;
}

// Whether a copy that returned result lost nothing but what was refused; a
// failure that went unreported counts as a failure.
bool copiedAllButRefused(int result, const CopyReports& reports) {
    return !reports.failed && (result == 0 || reports.reported);
}
#endif

// Gives the new file (created) the original's owner and group, then its
// permission bits where they differ (a file system without permission bits of
// its own, such as FAT through FUSE, shows one mode for every file and answers
// fchmod with ENOSYS), its ACLs and its extended attributes. An ACL or an
// attribute that the file system or the process's rights refuse is skipped;
// any other failure to set one fails.
bool copyAccess(int descriptor, struct stat& created, const struct stat& original,
                int originalDescriptor) {
    if (originalDescriptor >= 0 && !copyOwner(descriptor, created, original)) {
        return false;
    }
    if ((created.st_mode & 07777) != (original.st_mode & 07777) &&
        ::fchmod(descriptor, original.st_mode & 07777) != 0) {
        return false;
    }
    if (originalDescriptor < 0) {
        return true;
    }
#ifdef OKALU_HAVE_LIBACL
    // Without ACLs on the original, or on a file system without them, this
    // sets the permission bits again.
    CopyReports aclReports{{noteReport, nullptr, nullptr}};
    if (!copiedAllButRefused(
            ::perm_copy_fd(nullptr, originalDescriptor, nullptr, descriptor, &aclReports.context),
            aclReports)) {
        return false;
    }
#endif
#ifdef OKALU_HAVE_LIBATTR
    CopyReports attributeReports{{noteReport, nullptr, nullptr}};
    if (!copiedAllButRefused(::attr_copy_fd(nullptr, originalDescriptor, nullptr, descriptor,
                                            nullptr, &attributeReports.context),
                             attributeReports)) {
        return false;
    }
#endif
#ifdef __APPLE__
    ::fcopyfile(originalDescriptor, descriptor, nullptr, COPYFILE_ACL | COPYFILE_XATTR);
#endif
    return true;
}

bool flushFileToDisk(int descriptor) {
#ifdef __APPLE__
    return ::fsync(descriptor) == 0;
#else
    return ::fdatasync(descriptor) == 0;
#endif
}

// Whether the directory was opened for reading, not for searching only (as
// one that the process may enter but not list is).
bool isOpenForReading(int directory) {
    const int flags = ::fcntl(directory, F_GETFL);
#if defined(O_PATH)
    return flags >= 0 && (flags & O_PATH) == 0;
#elif defined(O_SEARCH)
    return flags >= 0 && (flags & O_SEARCH) != O_SEARCH;
#else
    return flags >= 0;
#endif
}

enum class ExchangeResult { exchanged, notSupported, failed };

// Swaps the two names atomically, where the system and the file system can.
ExchangeResult exchange(int directory, const std::string& one, const std::string& other) {
#ifdef RENAME_EXCHANGE
    if (::renameat2(directory, one.c_str(), directory, other.c_str(), RENAME_EXCHANGE) == 0) {
        return ExchangeResult::exchanged;
    }
    // Older kernels and network file systems know no exchange.
    return errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ? ExchangeResult::notSupported
                                                                     : ExchangeResult::failed;
#else
    static_cast<void>(directory);
    static_cast<void>(one);
    static_cast<void>(other);
    return ExchangeResult::notSupported;
#endif
}

} // namespace

ReplacementFileStream::ReplacementFileStream(int directoryDescriptor, const std::string& fileName,
                                             int originalDescriptor)
    : Imf::OStream((fileName + ".tmp").c_str()), directory(directoryDescriptor),
      destinationFileName(fileName), temporaryFileName(fileName + ".tmp") {
    // The new file keeps the destination's permission bits; only when they
    // cannot be read does the usual default for a new file apply.
    struct stat destinationStatus;
    const bool modeKnown =
        originalDescriptor >= 0
            ? ::fstat(originalDescriptor, &destinationStatus) == 0
            : ::fstatat(directory, destinationFileName.c_str(), &destinationStatus, 0) == 0;
    clearTemporaryName(directory, temporaryFileName,
                       originalDescriptor >= 0 && modeKnown ? &destinationStatus : nullptr);
    // O_EXCL and O_NOFOLLOW: if anything reappeared at the name since it was
    // cleared, creation fails instead of writing through it.
    int descriptor = ::openat(directory, temporaryFileName.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              modeKnown ? S_IRUSR | S_IWUSR : 0666);
    if (descriptor < 0) {
        throw Exception(creationFailed);
    }
    // Locked before anything else is done with it, so that another run that
    // finds it takes it for work in progress, not for a leftover. A run that
    // took the lock first (in the moment since the creation) removes it.
    const LockedDestination::LockResult locked =
        LockedDestination::lockWithoutWaiting(descriptor, directory, temporaryFileName);
    if (::fstat(descriptor, &createdStatus) != 0) {
        ::close(descriptor);
        ::unlinkat(directory, temporaryFileName.c_str(), 0);
        throw Exception(creationFailed);
    }
    if (locked == LockedDestination::LockResult::heldByAnother) {
        ::close(descriptor);
        throw Exception(beingWritten);
    }
    ownsTemporaryFile = true;
    // fchmod, unlike the mode given to open, is not narrowed by the umask.
    if ((modeKnown &&
         !copyAccess(descriptor, createdStatus, destinationStatus, originalDescriptor)) ||
        (file = ::fdopen(descriptor, "wb")) == nullptr) {
        discard();
        ::close(descriptor);
        throw Exception(creationFailed);
    }
}

ReplacementFileStream::~ReplacementFileStream() {
    discard();
}

void ReplacementFileStream::write(const char c[], int n) {
    if (failed || flushed || file == nullptr) {
        failed = true;
        throw Iex::IoExc("Temporary file is not writable.");
    }
    if (n > 0 &&
        std::fwrite(c, 1, static_cast<std::size_t>(n), file) != static_cast<std::size_t>(n)) {
        failed = true;
        Iex::throwErrnoExc();
    }
}

uint64_t ReplacementFileStream::tellp() {
    const off_t position = file == nullptr ? -1 : ::ftello(file);
    if (position < 0) {
        failed = true;
        Iex::throwErrnoExc();
    }
    return static_cast<uint64_t>(position);
}

void ReplacementFileStream::seekp(uint64_t pos) {
    if (file == nullptr || ::fseeko(file, static_cast<off_t>(pos), SEEK_SET) != 0) {
        failed = true;
        Iex::throwErrnoExc();
    }
}

void ReplacementFileStream::flushToDisk() {
    if (flushed) {
        return;
    }
    const bool written =
        file != nullptr && std::fflush(file) == 0 && flushFileToDisk(::fileno(file));
    if (failed || !written) {
        throw Exception(discard() ? creationFailed : renameFailed);
    }
    flushed = true;
}

void ReplacementFileStream::commit(const struct stat* original, const std::string& path) {
    flushToDisk();
    if (!isOwnTemporaryFile()) {
        ownsTemporaryFile = false;
        throw Exception(renameFailed);
    }
    const ExchangeResult exchanged =
        original == nullptr ? ExchangeResult::notSupported
                            : exchange(directory, temporaryFileName, destinationFileName);
    if (exchanged == ExchangeResult::exchanged) {
        // The old file now stands at the temporary name, unless another file
        // had taken its place since the last check, or the old file was
        // changed or given another mode, owner or group: what stands there is
        // newer than this rewrite and goes back.
        struct stat displaced;
        if (::fstatat(directory, temporaryFileName.c_str(), &displaced, AT_SYMLINK_NOFOLLOW) != 0 ||
            !FileStatus::isSameFileAndContent(displaced, *original) ||
            !FileStatus::hasSameAccess(displaced, *original)) {
            if (exchange(directory, temporaryFileName, destinationFileName) ==
                ExchangeResult::exchanged) {
                discard();
            } else {
                // Both stay where they stand now, and the user learns where.
                ownsTemporaryFile = false;
                const std::string& shown = path.empty() ? destinationFileName : path;
                std::fprintf(stderr,
                             "okalu-tafe: %s now holds the rewrite of the earlier file; %s.tmp "
                             "holds the file that was found in its place.\n",
                             shown.c_str(), shown.c_str());
            }
            throw Exception(destinationChanged);
        }
        ::unlinkat(directory, temporaryFileName.c_str(), 0);
    } else if (exchanged == ExchangeResult::failed ||
               ::renameat(directory, temporaryFileName.c_str(), directory,
                          destinationFileName.c_str()) != 0) {
        discard();
        throw Exception(renameFailed);
    }
    ownsTemporaryFile = false;
    // Makes the new name survive a power loss; a failure changes nothing of
    // what is on disk now, so it is not reported. A directory that could only
    // be opened for searching cannot be flushed.
    if (isOpenForReading(directory)) {
        ::fsync(directory);
    }
    closeFile();
}

bool ReplacementFileStream::isOwnTemporaryFile() const {
    struct stat named;
    return ::fstatat(directory, temporaryFileName.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           FileStatus::isSameFile(named, createdStatus);
}

// Removes and closes the temporary file, in that order, so that its lock
// lasts as long as its name; false when its name no longer names the file
// this stream created, which is then left alone.
bool ReplacementFileStream::discard() noexcept {
    bool own = true;
    if (ownsTemporaryFile) {
        ownsTemporaryFile = false;
        own = isOwnTemporaryFile();
        if (own) {
            ::unlinkat(directory, temporaryFileName.c_str(), 0);
        }
    }
    closeFile();
    return own;
}

// Closing releases the lock. After a commit the data reached the disk
// (fdatasync) before the rename, so a failure of the close changes nothing on
// disk and is not reported.
void ReplacementFileStream::closeFile() noexcept {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
}

} // namespace MetadataCopy
