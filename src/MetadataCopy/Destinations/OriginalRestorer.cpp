#include "MetadataCopy/Destinations/OriginalRestorer.hpp"

#include "MetadataCopy/Destinations/DescriptorInputStream.hpp"
#include "MetadataCopy/Destinations/FileAccess.hpp"
#include "MetadataCopy/Destinations/FileStatus.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace MetadataCopy {

namespace {

const char hiddenPrefix[] = ".fuse_hidden";

// What a file system answers to a rename flag or a hard link that it does
// not know, as opposed to a failure of the request itself.
bool isUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP ||
           error == EPERM;
}

} // namespace

OriginalRestorer::OriginalRestorer(int directory, const std::string& fileName,
                                   int originalDescriptor)
    : directory(directory), fileName(fileName), originalDescriptor(originalDescriptor) {}

OriginalRestorer::Outcome OriginalRestorer::restore() {
    struct stat named;
    if (::fstatat(directory, fileName.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 ||
        errno != ENOENT) {
        return Outcome::untouched;
    }
    struct stat locked;
    if (originalDescriptor < 0 || ::fstat(originalDescriptor, &locked) != 0) {
        return Outcome::notPutBack;
    }
    // A second name needs no copy, and keeps the file's inode, so that
    // nothing of it is lost.
    const std::string hidden = hiddenName(locked);
    if (!hidden.empty() &&
        ::linkat(directory, hidden.c_str(), directory, fileName.c_str(), 0) == 0) {
        // The FUSE library hides an open file again where its hidden name is
        // removed; elsewhere this removes a second name that nobody needs.
        ::unlinkat(directory, hidden.c_str(), 0);
        return Outcome::putBack;
    }
    // Beside the name, so that the rename stays within the directory.
    const std::string copyName = fileName + ".earlier-" + std::to_string(::getpid());
    const int copy =
        ::openat(directory, copyName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                 (locked.st_mode & 0777) | S_IRUSR | S_IWUSR);
    if (copy < 0) {
        return Outcome::notPutBack;
    }
    struct stat created;
    const bool copied = ::fstat(copy, &created) == 0 && copyInto(copy, created, locked);
    // Closed before the rename, which stores the copy where the storage only
    // stores a file when it is closed, and keeps the FUSE library from hiding
    // it as an open file.
    const bool stored = ::close(copy) == 0 && copied;
    if (stored && renameWithoutReplacing(copyName)) {
        return Outcome::putBack;
    }
    if (stored) {
        keptName = copyName;
    } else {
        ::unlinkat(directory, copyName.c_str(), 0);
    }
    return Outcome::notPutBack;
}

// The hidden name in the directory that names the locked file, if any: a
// FUSE file system gives an open file one when another file is renamed over
// it.
std::string OriginalRestorer::hiddenName(const struct stat& locked) const {
    const int listed = ::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) {
        return std::string();
    }
    DIR* const entries = ::fdopendir(listed);
    if (entries == nullptr) {
        ::close(listed);
        return std::string();
    }
    std::string found;
    while (const struct dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        struct stat status;
        if (name.compare(0, sizeof hiddenPrefix - 1, hiddenPrefix) == 0 &&
            ::fstatat(directory, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            FileStatus::isSameFile(status, locked)) {
            found = name;
            break;
        }
    }
    ::closedir(entries);
    return found;
}

// Writes the locked file's bytes into the copy and gives it the file's
// access and times; stored to the disk. False on any failure.
bool OriginalRestorer::copyInto(int copy, struct stat& created, const struct stat& locked) {
    constexpr std::uint64_t block = 1 << 20;
    const std::unique_ptr<char[]> bytes(new char[block]);
    const std::uint64_t size = static_cast<std::uint64_t>(locked.st_size);
    for (std::uint64_t offset = 0; offset < size;) {
        const std::uint64_t count = std::min(block, size - offset);
        if (DescriptorInputStream::readAt(originalDescriptor, bytes.get(), count, offset) !=
            static_cast<std::int64_t>(count)) {
            return false;
        }
        for (std::uint64_t written = 0; written < count;) {
            const ssize_t result =
                ::pwrite(copy, bytes.get() + written, static_cast<std::size_t>(count - written),
                         static_cast<off_t>(offset + written));
            if (result <= 0) {
                return false;
            }
            written += static_cast<std::uint64_t>(result);
        }
        offset += count;
    }
#ifdef __APPLE__
    const struct timespec times[2] = {locked.st_atimespec, locked.st_mtimespec};
#else
    const struct timespec times[2] = {locked.st_atim, locked.st_mtim};
#endif
    return FileAccess::copy(copy, created, locked, originalDescriptor, directory) &&
           ::futimens(copy, times) == 0 && ::fsync(copy) == 0;
}

// Renames the copy into the free name, never over a file that appeared
// there meanwhile: an exclusive rename, or a hard link where the file system
// knows none, or, where it has no hard links either (FAT through FUSE), a
// rename once the name is found free.
bool OriginalRestorer::renameWithoutReplacing(const std::string& from) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(directory, from.c_str(), directory, fileName.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (!isUnsupported(errno)) {
        return false;
    }
#endif
    if (::linkat(directory, from.c_str(), directory, fileName.c_str(), 0) == 0) {
        ::unlinkat(directory, from.c_str(), 0);
        return true;
    }
    struct stat named;
    return isUnsupported(errno) &&
           ::fstatat(directory, fileName.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 &&
           errno == ENOENT && ::renameat(directory, from.c_str(), directory, fileName.c_str()) == 0;
}

} // namespace MetadataCopy
