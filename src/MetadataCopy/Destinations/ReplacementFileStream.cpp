#include "MetadataCopy/Destinations/ReplacementFileStream.hpp"

#include "Exception/Exception.hpp"
#include "MetadataCopy/Destinations/DescriptorInputStream.hpp"
#include "MetadataCopy/Destinations/FileAccess.hpp"
#include "MetadataCopy/Destinations/FileStatus.hpp"
#include "MetadataCopy/Destinations/LockedDestination.hpp"
#include "MetadataCopy/Destinations/OriginalRestorer.hpp"
#include "MetadataCopy/Destinations/WrittenBytes.hpp"

#include <OpenEXR/Iex.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

// Files without a name, named later through /proc: Linux's.
#if defined(__linux__) && defined(O_TMPFILE)
#define OKALU_UNNAMED_FILES 1
#endif

namespace MetadataCopy {

namespace {

const char* const creationFailed = "Temporary file could not be created.";
const char* const renameFailed = "Temporary file could not be renamed.";
const char* const destinationChanged = "Destination file changed during the rewrite.";
const char* const beingWritten = "File is being written by another process.";

constexpr std::size_t writeBufferSize = 64 << 10;

// Makes room at the temporary name. What stands there is either a leftover
// of a run that ended, removed without following it (a link, or a file that
// nobody locks), or still in use: another run's temporary file, which it
// locks from its creation until its rename or removal, or, after that run's
// exchange, the frame that it swaps back; the very file that this run locked
// as the destination (given its status) is such a frame (a second name of it
// that its own name still names is removed before), and is not opened here,
// since on NFS closing any descriptor of a file may drop the process's lock
// on it. What is in use stays and throws "File is being written by another
// process."; a directory is not ours to remove. A file that cannot be opened
// to try its lock is taken for a leftover, as is every file where the file
// system cannot lock.
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

// Closing a duplicate of the descriptor makes a file system that stores a
// file when it is closed (FUSE mounts of cloud storage, NFS) store it now,
// and report a failure to store it, while the descriptor itself, and with it
// the lock, stays open.
bool isStoredOnClose(int descriptor) {
    const int duplicate = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    return duplicate >= 0 && ::close(duplicate) == 0;
}

// The mode in which the temporary file is created, named or not: the
// frame's permission bits (as far as the umask lets them through, and with
// the owner's reading and writing that the run needs), so that storage that
// takes a chmod without applying it keeps them as near as it can; the set-ID
// bits come only after the data.
mode_t creationMode(bool modeKnown, const struct stat& destination) {
    return modeKnown ? (destination.st_mode & 0777) | S_IRUSR | S_IWUSR : 0666;
}

#ifdef OKALU_UNNAMED_FILES
// The path through which a file open at the descriptor can be given a name
// without privilege (linkat following the link).
std::string procPathOf(int descriptor) {
    return "/proc/self/fd/" + std::to_string(descriptor);
}
#endif

// Whether the file at the name, another inode than the open file, holds
// the same bytes: storage that numbers files by their path (rclone) gives a
// renamed file another inode number at its new name, while its open
// descriptor keeps the old one.
bool namesTheSameBytes(int directory, const std::string& name, int descriptor,
                       const struct stat& open, const struct stat& named) {
    if (!S_ISREG(named.st_mode) || named.st_dev != open.st_dev || named.st_size != open.st_size) {
        return false;
    }
    const int other = ::openat(directory, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (other < 0) {
        return false;
    }
    constexpr std::uint64_t block = 1 << 17;
    const std::unique_ptr<char[]> mine(new char[block]), theirs(new char[block]);
    const std::uint64_t size = static_cast<std::uint64_t>(open.st_size);
    bool same = true;
    for (std::uint64_t offset = 0; same && offset < size;) {
        const std::uint64_t count = std::min(block, size - offset);
        same = DescriptorInputStream::readAt(descriptor, mine.get(), count, offset) ==
                   static_cast<std::int64_t>(count) &&
               DescriptorInputStream::readAt(other, theirs.get(), count, offset) ==
                   static_cast<std::int64_t>(count) &&
               std::memcmp(mine.get(), theirs.get(), static_cast<std::size_t>(count)) == 0;
        offset += count;
    }
    ::close(other);
    return same;
}

// A new file without a name in the directory, open for reading and writing,
// where the file system makes one and it can be named later, its status read
// into created; -1 elsewhere.
// Nobody else can open such a file, so what it holds when it gets its name is
// what this process wrote. FUSE is left out even where it makes one: the
// program that serves it sees every byte and may store the file by itself,
// and some move its modification time on their own.
int openUnnamed(int directory, mode_t mode, struct stat& created) {
#ifdef OKALU_UNNAMED_FILES
    struct statfs fileSystem;
    if (::fstatfs(directory, &fileSystem) != 0 || fileSystem.f_type == FUSE_SUPER_MAGIC) {
        return -1;
    }
    const int descriptor = ::openat(directory, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (descriptor < 0) {
        return -1;
    }
    // Without /proc (a chroot or a container without it) it could not be
    // named.
    struct stat throughProc;
    if (::fstat(descriptor, &created) != 0 ||
        ::stat(procPathOf(descriptor).c_str(), &throughProc) != 0 ||
        !FileStatus::isSameFile(created, throughProc)) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
#else
    static_cast<void>(directory);
    static_cast<void>(mode);
    static_cast<void>(created);
    return -1;
#endif
}

} // namespace

ReplacementFileStream::ReplacementFileStream(int directoryDescriptor, const std::string& fileName,
                                             int originalDescriptor)
    : Imf::OStream(temporaryNameOf(fileName).c_str()), directory(directoryDescriptor),
      destinationFileName(fileName), temporaryFileName(temporaryNameOf(fileName)),
      originalDescriptor(originalDescriptor) {
    // The new file keeps the destination's permission bits; only when they
    // cannot be read does the usual default for a new file apply.
    modeKnown = originalDescriptor >= 0
                    ? ::fstat(originalDescriptor, &destinationStatus) == 0
                    : ::fstatat(directory, destinationFileName.c_str(), &destinationStatus, 0) == 0;
    clearTemporaryName(directory, temporaryFileName,
                       originalDescriptor >= 0 && modeKnown ? &destinationStatus : nullptr);
    const mode_t mode = creationMode(modeKnown, destinationStatus);
    descriptor = openUnnamed(directory, mode, createdStatus);
    if (descriptor >= 0) {
        // Locked now, so that it is locked from the moment it has a name.
        unnamed = true;
        LockedDestination::lockWithoutWaiting(descriptor, directory, temporaryFileName);
        if (!openBufferedFile()) {
            closeFile();
            throw Exception(creationFailed);
        }
        return;
    }
    written = std::make_unique<WrittenBytes>();
    // O_EXCL and O_NOFOLLOW: if anything reappeared at the name since it was
    // cleared, creation fails instead of writing through it. Open for
    // reading too, so that what was written can be read back through the
    // locked descriptor.
    descriptor = ::openat(directory, temporaryFileName.c_str(),
                          O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (descriptor < 0) {
        throw Exception(creationFailed);
    }
    // Locked before anything else is done with it, so that another run that
    // finds it takes it for work in progress, not for a leftover. A run that
    // took the lock first (in the moment since the creation) removes it.
    const LockedDestination::LockResult locked =
        LockedDestination::lockWithoutWaiting(descriptor, directory, temporaryFileName);
    if (::fstat(descriptor, &createdStatus) != 0) {
        closeFile();
        ::unlinkat(directory, temporaryFileName.c_str(), 0);
        throw Exception(creationFailed);
    }
    if (locked == LockedDestination::LockResult::heldByAnother) {
        closeFile();
        throw Exception(beingWritten);
    }
    ownsTemporaryFile = true;
    if (!openBufferedFile()) {
        discard();
        throw Exception(creationFailed);
    }
}

ReplacementFileStream::~ReplacementFileStream() {
    discard();
}

bool ReplacementFileStream::openBufferedFile() {
    if ((file = ::fdopen(descriptor, "wb")) == nullptr) {
        return false;
    }
    // stdio's own buffer is the file system's block (4 KiB), and a chunk
    // written past it goes out in a call of any length at any position. Whole
    // 64 KiB blocks at multiples of 64 KiB let the page cache hold the file in
    // large folios: writing, flushing, reading and removing a frame of 6.6 MB
    // then took about a sixth less system time on ext4 (Linux 6.18).
    writeBuffer.reset(new char[writeBufferSize]);
    return std::setvbuf(file, writeBuffer.get(), _IOFBF, writeBufferSize) == 0;
}

void ReplacementFileStream::write(const char c[], int n) {
    if (failed || flushed || file == nullptr) {
        failed = true;
        throw Iex::IoExc("Temporary file is not writable.");
    }
    if (n <= 0) {
        return;
    }
    // Noted before it is written: an overwrite takes the bytes that it
    // replaces from the file.
    if (written != nullptr &&
        !written->note(position, c, static_cast<std::uint64_t>(n),
                       [this](char* target, std::uint64_t count, std::uint64_t offset) {
                           return std::fflush(file) == 0 &&
                                  DescriptorInputStream::readAt(descriptor, target, count,
                                                                offset) ==
                                      static_cast<std::int64_t>(count);
                       })) {
        failed = true;
        Iex::throwErrnoExc();
    }
    position += static_cast<std::uint64_t>(n);
    if (std::fwrite(c, 1, static_cast<std::size_t>(n), file) != static_cast<std::size_t>(n)) {
        failed = true;
        Iex::throwErrnoExc();
    }
}

uint64_t ReplacementFileStream::tellp() {
    if (file == nullptr) {
        failed = true;
        throw Iex::IoExc("Temporary file is not writable.");
    }
    return position;
}

void ReplacementFileStream::seekp(uint64_t pos) {
    if (file == nullptr || ::fseeko(file, static_cast<off_t>(pos), SEEK_SET) != 0) {
        failed = true;
        Iex::throwErrnoExc();
    }
    position = pos;
}

void ReplacementFileStream::flushToDisk() {
    if (flushed) {
        return;
    }
    // The mode, owner and group are set after the last write of the data: a
    // write by a process without the capability to keep them clears the
    // set-user-ID and set-group-ID bits. fchmod, unlike the mode given to
    // open, is not narrowed by the umask.
    const bool stored =
        !failed && file != nullptr && std::fflush(file) == 0 &&
        (!modeKnown || (FileAccess::copy(descriptor, createdStatus, destinationStatus,
                                         originalDescriptor, directory) &&
                        showsTheFramesPermissionBits())) &&
        flushFileToDisk(descriptor) && isStoredOnClose(descriptor);
    if (!stored) {
        throw Exception(discard() ? creationFailed : renameFailed);
    }
    flushed = true;
}

// Whether the file shows the frame's permission bits once they were set:
// storage that takes a chmod without applying it (bindfs --chmod-ignore)
// answers it without an error. Set-ID bits are not compared, as the system
// clears set-group-ID by itself for a group that the process is not in.
bool ReplacementFileStream::showsTheFramesPermissionBits() const {
    struct stat status;
    return ::fstat(descriptor, &status) == 0 &&
           (status.st_mode & 0777) == (destinationStatus.st_mode & 0777);
}

// Whether the file holds exactly the bytes written, read back through the
// descriptor (from the page cache, mostly); if so, notes its status as read.
// A file written without a name has no record to be compared with.
bool ReplacementFileStream::holdsWhatWasWritten() {
    struct stat status;
    if (written == nullptr || ::fstat(descriptor, &status) != 0 || !written->isHeldBy(descriptor)) {
        return false;
    }
    checkedStatus = status;
    return true;
}

// Whether the file's name holds this file (its status read now, as a rename
// may give a file another inode number on some FUSE file systems; where only
// the name shows another one, by its bytes), and
// nothing wrote into it since its bytes were read back: its size and
// modification time are still those read then, or else, since some file
// systems move the modification time by themselves (FAT through FUSE stores
// it when the file is closed or renamed), its bytes are still right.
bool ReplacementFileStream::isInPlaceAsChecked(bool& inPlace) {
    struct stat now, named;
    inPlace = ::fstat(descriptor, &now) == 0 &&
              ::fstatat(directory, destinationFileName.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
              (FileStatus::isSameFile(named, now) ||
               namesTheSameBytes(directory, destinationFileName, descriptor, now, named));
    return inPlace &&
           (FileStatus::isSameFileAndContent(now, checkedStatus) || holdsWhatWasWritten());
}

void ReplacementFileStream::commit(const struct stat* original, const std::string& path) {
    flushToDisk();
    if (unnamed) {
        giveTemporaryName();
    }
    if (!isOwnTemporaryFile()) {
        ownsTemporaryFile = false;
        throw Exception(renameFailed);
    }
    if (written != nullptr && !holdsWhatWasWritten()) {
        // Another program writes that name, which it takes for its own; what
        // it wrote into this file is neither its file nor this rewrite.
        discard();
        throw Exception(beingWritten);
    }
    putInPlace(original, path);
    // Makes the new name survive a power loss; a failure changes nothing of
    // what is on disk now, so it is not reported. A directory that could only
    // be opened for searching cannot be flushed.
    if (isOpenForReading(directory)) {
        ::fsync(directory);
    }
    closeFile();
}

// Gives the file, written and stored without a name, the temporary name, as
// the file that it is once its bytes are checked: nobody else could write
// into it, and the checks of its status from here on see any later write. It
// is locked already, so another run that finds it there leaves it alone.
// Something that took the name meanwhile is another program's, and stays.
void ReplacementFileStream::giveTemporaryName() {
#ifdef OKALU_UNNAMED_FILES
    if (::fstat(descriptor, &checkedStatus) == 0 &&
        ::linkat(AT_FDCWD, procPathOf(descriptor).c_str(), directory, temporaryFileName.c_str(),
                 AT_SYMLINK_FOLLOW) == 0) {
        ownsTemporaryFile = true;
        return;
    }
    const bool taken = errno == EEXIST;
    closeFile();
    throw Exception(taken ? beingWritten : creationFailed);
#endif
}

void ReplacementFileStream::putInPlace(const struct stat* original, const std::string& path) {
    ExchangeResult exchanged = original == nullptr
                                   ? ExchangeResult::notSupported
                                   : exchange(directory, temporaryFileName, destinationFileName);
    // An exchange or a rename can be made and still report a failure (a
    // request sent again over a network): the names tell.
    const auto holdsTheTemporaryFile = [this] {
        struct stat named;
        return ::fstatat(directory, destinationFileName.c_str(), &named, AT_SYMLINK_NOFOLLOW) ==
                   0 &&
               FileStatus::isSameFile(named, createdStatus);
    };
    if (exchanged == ExchangeResult::failed && holdsTheTemporaryFile()) {
        exchanged = ExchangeResult::exchanged;
    }
    if (exchanged == ExchangeResult::exchanged) {
        checkAfterExchange(*original, path);
        ::unlinkat(directory, temporaryFileName.c_str(), 0);
        ownsTemporaryFile = false;
        return;
    }
    if (exchanged == ExchangeResult::failed ||
        (::renameat(directory, temporaryFileName.c_str(), directory, destinationFileName.c_str()) !=
             0 &&
         !holdsTheTemporaryFile())) {
        putBackOriginal(path);
        discard();
        throw Exception(renameFailed);
    }
    // Without an exchange nothing can be put back: a file that took the
    // temporary name since the check, or was written into since, is now at the
    // file's name, and the run can only fail.
    ownsTemporaryFile = false;
    bool inPlace = false;
    if (!isInPlaceAsChecked(inPlace)) {
        closeFile();
        throw Exception(destinationChanged);
    }
}

// After the exchange, the file's name must hold the temporary file, unwritten
// since its check, and the temporary name the original as it was locked. Else
// the exchange is undone, and where that fails too, both files stay where they
// stand and standard error says what each name holds.
void ReplacementFileStream::checkAfterExchange(const struct stat& original,
                                               const std::string& path) {
    bool ownInPlace = false;
    const bool unwritten = isInPlaceAsChecked(ownInPlace);
    struct stat displaced;
    const bool displacedRead =
        ::fstatat(directory, temporaryFileName.c_str(), &displaced, AT_SYMLINK_NOFOLLOW) == 0;
    // The original itself, or a file that took its place or changed it since
    // the last check: newer than this rewrite, it goes back.
    const bool originalDisplaced = displacedRead &&
                                   FileStatus::isSameFileAndContent(displaced, original) &&
                                   FileStatus::hasSameAccess(displaced, original);
    if (unwritten && originalDisplaced) {
        return;
    }
    const char* const message = !ownInPlace  ? renameFailed
                                : !unwritten ? beingWritten
                                             : destinationChanged;

    exchange(directory, temporaryFileName, destinationFileName);
    // Whatever the exchange answered, the names tell whether it was made.
    struct stat nameNow, temporaryNow;
    const bool nameNowRead =
        ::fstatat(directory, destinationFileName.c_str(), &nameNow, AT_SYMLINK_NOFOLLOW) == 0;
    const bool temporaryNowRead =
        ::fstatat(directory, temporaryFileName.c_str(), &temporaryNow, AT_SYMLINK_NOFOLLOW) == 0;
    if (displacedRead && nameNowRead && FileStatus::isSameFile(nameNow, displaced)) {
        // Put back; this rewrite, if it now stands at the temporary name, goes.
        discard();
        throw Exception(message);
    }
    ownsTemporaryFile = false;
    const std::string& shown = path.empty() ? destinationFileName : path;
    std::string holds;
    const auto add = [&holds](const std::string& clause) {
        holds += (holds.empty() ? "" : "; ") + clause;
    };
    bool rewriteInPlace = false;
    if (isInPlaceAsChecked(rewriteInPlace)) {
        add(shown + " now holds the rewrite of the earlier file");
    }
    if (temporaryNowRead && displacedRead && !originalDisplaced &&
        FileStatus::isSameFile(temporaryNow, displaced)) {
        add(shown + ".tmp holds the file that was found in its place");
    } else if (temporaryNowRead && FileStatus::isSameFileAndContent(temporaryNow, original)) {
        add(shown + ".tmp holds the earlier file");
    }
    if (!holds.empty()) {
        std::fprintf(stderr, "okalu-tafe: %s.\n", holds.c_str());
    }
    throw Exception(message);
}

// After a failed rename or exchange the file's name must still hold the
// original: where the storage moved it away (FUSE hides an open file before a
// rename over it, and leaves it hidden when the rename fails), it is put back;
// where it cannot be, standard error says so, with where a copy of it stands.
void ReplacementFileStream::putBackOriginal(const std::string& path) {
    if (originalDescriptor < 0) {
        return;
    }
    OriginalRestorer restorer(directory, destinationFileName, originalDescriptor);
    if (restorer.restore() != OriginalRestorer::Outcome::notPutBack) {
        return;
    }
    const std::string shown = path.empty() ? destinationFileName : path;
    if (restorer.keptAt().empty()) {
        std::fprintf(stderr,
                     "okalu-tafe: %s is missing and the earlier file could not be put back.\n",
                     shown.c_str());
    } else {
        const std::string::size_type slash = shown.rfind('/');
        const std::string kept =
            (slash == std::string::npos ? "" : shown.substr(0, slash + 1)) + restorer.keptAt();
        std::fprintf(stderr, "okalu-tafe: %s is missing; %s holds the earlier file.\n",
                     shown.c_str(), kept.c_str());
    }
}

bool ReplacementFileStream::isOwnTemporaryFile() const {
    struct stat named;
    return ::fstatat(directory, temporaryFileName.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           FileStatus::isSameFile(named, createdStatus);
}

// Removes and closes the temporary file, in that order, so that its lock
// lasts as long as its name; false when its name no longer names the file
// this stream created, which is then left alone. Where the name still names
// it once closed, it is removed again: a FUSE file system fails to remove an
// open file that it cannot hide (a large one on s3fs), and one that stores a
// file when it is closed may store it anew then (rclone without a cache).
bool ReplacementFileStream::discard() noexcept {
    bool own = true;
    bool removed = false;
    if (ownsTemporaryFile) {
        ownsTemporaryFile = false;
        own = isOwnTemporaryFile();
        removed = own;
        if (own) {
            ::unlinkat(directory, temporaryFileName.c_str(), 0);
        }
    }
    closeFile();
    if (removed && isOwnTemporaryFile()) {
        removeIfStillOwn();
    }
    return own;
}

// Removes the temporary file, closed already, where the name still names it
// and nobody locks it: without the lock, the number of the inode freed by the
// first removal may already be another run's new file's (a run that shares no
// lock on the frame), which locks it from its creation.
void ReplacementFileStream::removeIfStillOwn() noexcept {
    int named = ::openat(directory, temporaryFileName.c_str(),
                         O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (named < 0) {
        return;
    }
    struct stat status;
    if (LockedDestination::lockWithoutWaiting(named, directory, temporaryFileName) !=
            LockedDestination::LockResult::heldByAnother &&
        ::fstat(named, &status) == 0 && FileStatus::isSameFile(status, createdStatus) &&
        isOwnTemporaryFile()) {
        ::unlinkat(directory, temporaryFileName.c_str(), 0);
    }
    ::close(named);
}

// Closing releases the lock. After a commit the data was stored (fdatasync,
// and a closed duplicate) before the rename, so a failure of this close
// changes nothing on disk and is not reported.
void ReplacementFileStream::closeFile() noexcept {
    if (file != nullptr) {
        std::fclose(file);
    } else if (descriptor >= 0) {
        ::close(descriptor);
    }
    file = nullptr;
    descriptor = -1;
}

} // namespace MetadataCopy
