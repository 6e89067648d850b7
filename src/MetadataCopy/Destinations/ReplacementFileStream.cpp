#include "MetadataCopy/Destinations/ReplacementFileStream.hpp"

#include "Exception/Exception.hpp"

#include <OpenEXR/Iex.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

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

// Removes what stands at the temporary path without following it; a
// directory is not ours to remove.
bool clearTemporaryPath(const std::string& path) {
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0) {
        return errno == ENOENT;
    }
    if (S_ISDIR(status.st_mode)) {
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

// Gives the new file the original's owner and group, then its permission bits
// (a change of owner may clear set-user-ID and set-group-ID bits), its ACLs and
// its extended attributes. Only the permission bits must be set: an owner
// that the process may not give away, an ACL or an attribute that the file
// system or the process's rights refuse are skipped.
bool copyAccess(int descriptor, const struct stat& original, int originalDescriptor) {
    if (originalDescriptor >= 0) {
        // Refused where the process may not give files away: the new file
        // then stays the process's, as any file it creates.
        static_cast<void>(::fchown(descriptor, original.st_uid, original.st_gid));
    }
    if (::fchmod(descriptor, original.st_mode & 07777) != 0) {
        return false;
    }
    if (originalDescriptor < 0) {
        return true;
    }
#ifdef OKALU_HAVE_LIBACL
    ::perm_copy_fd(nullptr, originalDescriptor, nullptr, descriptor, nullptr);
#endif
#ifdef OKALU_HAVE_LIBATTR
    ::attr_copy_fd(nullptr, originalDescriptor, nullptr, descriptor, nullptr, nullptr);
#endif
#ifdef __APPLE__
    ::fcopyfile(originalDescriptor, descriptor, nullptr, COPYFILE_ACL | COPYFILE_XATTR);
#endif
    return true;
}

// Makes a rename in the directory of path survive a power loss; a failure
// changes nothing of what is on disk now, so it is not reported.
void flushDirectoryOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "."
                                  : slash == 0               ? "/"
                                                             : path.substr(0, slash);
    const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

bool flushFileToDisk(int descriptor) {
#ifdef __APPLE__
    return ::fsync(descriptor) == 0;
#else
    return ::fdatasync(descriptor) == 0;
#endif
}

} // namespace

ReplacementFileStream::ReplacementFileStream(const std::string& destinationPath,
                                             int originalDescriptor)
    : Imf::OStream((destinationPath + ".tmp").c_str()), destinationFilePath(destinationPath),
      temporaryFilePath(destinationPath + ".tmp") {
    if (!clearTemporaryPath(temporaryFilePath)) {
        throw Exception(creationFailed);
    }
    // The new file keeps the destination's permission bits; only when they
    // cannot be read does the usual default for a new file apply.
    struct stat destinationStatus;
    const bool modeKnown = originalDescriptor >= 0
                               ? ::fstat(originalDescriptor, &destinationStatus) == 0
                               : ::stat(destinationFilePath.c_str(), &destinationStatus) == 0;
    // O_EXCL and O_NOFOLLOW: if anything reappeared at the path since it was
    // cleared, creation fails instead of writing through it.
    const int descriptor =
        ::open(temporaryFilePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
               modeKnown ? S_IRUSR | S_IWUSR : 0666);
    if (descriptor < 0) {
        throw Exception(creationFailed);
    }
    // fchmod, unlike the mode given to open, is not narrowed by the umask.
    if ((modeKnown && !copyAccess(descriptor, destinationStatus, originalDescriptor)) ||
        (file = ::fdopen(descriptor, "wb")) == nullptr) {
        ::close(descriptor);
        ::unlink(temporaryFilePath.c_str());
        throw Exception(creationFailed);
    }
    ownsTemporaryFile = true;
}

ReplacementFileStream::~ReplacementFileStream() {
    discard();
}

void ReplacementFileStream::write(const char c[], int n) {
    if (failed || file == nullptr) {
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
    if (file == nullptr) {
        discard();
        throw Exception(creationFailed);
    }
    const bool written = std::fflush(file) == 0 && flushFileToDisk(::fileno(file));
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (failed || !written || !closed) {
        discard();
        throw Exception(creationFailed);
    }
    flushed = true;
}

void ReplacementFileStream::commit() {
    flushToDisk();
    if (std::rename(temporaryFilePath.c_str(), destinationFilePath.c_str()) != 0) {
        discard();
        throw Exception(renameFailed);
    }
    ownsTemporaryFile = false;
    flushDirectoryOf(destinationFilePath);
}

void ReplacementFileStream::discard() noexcept {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
    if (ownsTemporaryFile) {
        ::unlink(temporaryFilePath.c_str());
        ownsTemporaryFile = false;
    }
}

} // namespace MetadataCopy
