#include "MetadataCopy/Destinations/ReplacementFileStream.hpp"

#include "Exception/Exception.hpp"

#include <OpenEXR/Iex.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

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

} // namespace

ReplacementFileStream::ReplacementFileStream(const std::string& destinationPath)
    : Imf::OStream((destinationPath + ".tmp").c_str()), destinationFilePath(destinationPath),
      temporaryFilePath(destinationPath + ".tmp") {
    if (!clearTemporaryPath(temporaryFilePath)) {
        throw Exception(creationFailed);
    }
    // The new file keeps the destination's permission bits; only when they
    // cannot be read does the usual default for a new file apply.
    struct stat destinationStatus;
    const bool modeKnown = ::stat(destinationFilePath.c_str(), &destinationStatus) == 0;
    // O_EXCL and O_NOFOLLOW: if anything reappeared at the path since it was
    // cleared, creation fails instead of writing through it.
    const int descriptor =
        ::open(temporaryFilePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
               modeKnown ? S_IRUSR | S_IWUSR : 0666);
    if (descriptor < 0) {
        throw Exception(creationFailed);
    }
    // fchmod, unlike the mode given to open, is not narrowed by the umask.
    if ((modeKnown && ::fchmod(descriptor, destinationStatus.st_mode & 07777) != 0) ||
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

void ReplacementFileStream::commit() {
    if (file == nullptr) {
        throw Exception(creationFailed);
    }
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (failed || !closed) {
        discard();
        throw Exception(creationFailed);
    }
    if (std::rename(temporaryFilePath.c_str(), destinationFilePath.c_str()) != 0) {
        discard();
        throw Exception(renameFailed);
    }
    ownsTemporaryFile = false;
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
