// A FUSE file system over a directory that stores what is written to a file only when the file is
// closed, as mounts of cloud storage do (and NFS reports a failed write at close): writes are
// kept in memory, fsync answers 0 without storing anything, and each close (FUSE's flush) stores
// the file, or, while the file named by --fail-stores-while exists, fails with EIO and drops what
// was written. Renames, exchanges included, go to the directory below; there are no extended
// attributes. With --hide-open-files, the FUSE library moves a file that is open to a hidden name
// (".fuse_hidden...") before it renames another file over it or removes it, as sshfs and s3fs
// do, and names found stay known for a minute, as through their caches, so that a file removed
// below is still renamed from. With --attributes-fail, every request for an extended attribute
// (ACLs included) answers EIO, as rclone's mounts do.
//
//     store-on-close-fs DIRECTORY MOUNTPOINT [--fail-stores-while=FILE] [--hide-open-files]
//                       [--attributes-fail] [FUSE options]
//
// It runs in the foreground, single-threaded, until it is unmounted.
#define FUSE_USE_VERSION 31

#include <fuse.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

int backing = -1;
std::string failStoresWhile;
bool hideOpenFiles = false;

// What was written to an open file and not stored yet, by inode, shared by its openings.
struct Pending {
    std::string bytes;
    bool dirty = false;
    int openings = 0;
};
std::map<ino_t, Pending> pending;

std::string relative(const char* path) {
    return path[1] == '\0' ? std::string(".") : std::string(path + 1);
}

ino_t inodeOf(int descriptor) {
    struct stat status;
    return ::fstat(descriptor, &status) == 0 ? status.st_ino : 0;
}

int result(int value) {
    return value < 0 ? -errno : 0;
}

void* start(struct fuse_conn_info*, struct fuse_config* config) {
    config->use_ino = 1;
    config->hard_remove = hideOpenFiles ? 0 : 1;
    config->entry_timeout = hideOpenFiles ? 60 : 0;
    config->attr_timeout = 0;
    config->negative_timeout = 0;
    return nullptr;
}

int getAttributes(const char* path, struct stat* status, struct fuse_file_info* info) {
    const int answer =
        info != nullptr ? ::fstat(static_cast<int>(info->fh), status)
                        : ::fstatat(backing, relative(path).c_str(), status, AT_SYMLINK_NOFOLLOW);
    if (answer != 0) {
        return -errno;
    }
    const auto open = pending.find(status->st_ino);
    if (open != pending.end()) {
        status->st_size = static_cast<off_t>(open->second.bytes.size());
    }
    return 0;
}

// Opens the file below; a file opened for writing gets its pending copy, read from below.
int openBelow(const char* path, int flags, mode_t mode, struct fuse_file_info* info) {
    const int accessMode = flags & O_ACCMODE;
    const int descriptor = ::openat(backing, relative(path).c_str(),
                                    (flags & ~(O_ACCMODE | O_TRUNC | O_APPEND)) | O_RDWR, mode);
    if (descriptor < 0) {
        return -errno;
    }
    info->fh = static_cast<uint64_t>(descriptor);
    Pending& file = pending[inodeOf(descriptor)];
    if (file.openings++ == 0) {
        struct stat status;
        ::fstat(descriptor, &status);
        file.bytes.assign(static_cast<std::size_t>(status.st_size), '\0');
        if (::pread(descriptor, &file.bytes[0], file.bytes.size(), 0) < 0) {
            file.bytes.clear();
        }
        file.dirty = false;
    }
    if ((flags & O_TRUNC) != 0 && accessMode != O_RDONLY) {
        file.bytes.clear();
        file.dirty = true;
    }
    return 0;
}

int openFile(const char* path, struct fuse_file_info* info) {
    return openBelow(path, info->flags, 0, info);
}

int createFile(const char* path, mode_t mode, struct fuse_file_info* info) {
    return openBelow(path, info->flags | O_CREAT, mode, info);
}

int readFile(const char*, char* buffer, size_t size, off_t offset, struct fuse_file_info* info) {
    const Pending& file = pending[inodeOf(static_cast<int>(info->fh))];
    if (static_cast<std::size_t>(offset) >= file.bytes.size()) {
        return 0;
    }
    const std::size_t count = std::min(size, file.bytes.size() - static_cast<std::size_t>(offset));
    std::memcpy(buffer, file.bytes.data() + offset, count);
    return static_cast<int>(count);
}

int writeFile(const char*, const char* buffer, size_t size, off_t offset,
              struct fuse_file_info* info) {
    Pending& file = pending[inodeOf(static_cast<int>(info->fh))];
    const std::size_t end = static_cast<std::size_t>(offset) + size;
    if (file.bytes.size() < end) {
        file.bytes.resize(end, '\0');
    }
    std::memcpy(&file.bytes[static_cast<std::size_t>(offset)], buffer, size);
    file.dirty = true;
    return static_cast<int>(size);
}

// Every close of a descriptor: the store.
int flushFile(const char*, struct fuse_file_info* info) {
    const int descriptor = static_cast<int>(info->fh);
    Pending& file = pending[inodeOf(descriptor)];
    if (!file.dirty) {
        return 0;
    }
    file.dirty = false;
    if (!failStoresWhile.empty() && ::access(failStoresWhile.c_str(), F_OK) == 0) {
        struct stat status;
        ::fstat(descriptor, &status);
        file.bytes.assign(static_cast<std::size_t>(status.st_size), '\0');
        if (::pread(descriptor, &file.bytes[0], file.bytes.size(), 0) < 0) {
            file.bytes.clear();
        }
        return -EIO;
    }
    if (::ftruncate(descriptor, 0) != 0 ||
        ::pwrite(descriptor, file.bytes.data(), file.bytes.size(), 0) !=
            static_cast<ssize_t>(file.bytes.size())) {
        return -EIO;
    }
    return 0;
}

int synchronize(const char*, int, struct fuse_file_info*) {
    return 0; // accepted, nothing stored
}

int releaseFile(const char*, struct fuse_file_info* info) {
    const int descriptor = static_cast<int>(info->fh);
    const ino_t inode = inodeOf(descriptor);
    if (--pending[inode].openings <= 0) {
        pending.erase(inode);
    }
    ::close(descriptor);
    return 0;
}

int truncateFile(const char* path, off_t size, struct fuse_file_info* info) {
    struct stat status;
    if (getAttributes(path, &status, info) != 0) {
        return -errno;
    }
    const auto open = pending.find(status.st_ino);
    if (open != pending.end()) {
        open->second.bytes.resize(static_cast<std::size_t>(size), '\0');
        open->second.dirty = true;
        return 0;
    }
    const int descriptor = ::openat(backing, relative(path).c_str(), O_WRONLY);
    if (descriptor < 0) {
        return -errno;
    }
    const int answer = result(::ftruncate(descriptor, size));
    ::close(descriptor);
    return answer;
}

int renameEntry(const char* from, const char* to, unsigned int flags) {
    return result(
        ::renameat2(backing, relative(from).c_str(), backing, relative(to).c_str(), flags));
}

int removeEntry(const char* path) {
    return result(::unlinkat(backing, relative(path).c_str(), 0));
}

int makeDirectory(const char* path, mode_t mode) {
    return result(::mkdirat(backing, relative(path).c_str(), mode));
}

int removeDirectory(const char* path) {
    return result(::unlinkat(backing, relative(path).c_str(), AT_REMOVEDIR));
}

int linkEntry(const char* from, const char* to) {
    return result(::linkat(backing, relative(from).c_str(), backing, relative(to).c_str(), 0));
}

int symbolicLink(const char* target, const char* path) {
    return result(::symlinkat(target, backing, relative(path).c_str()));
}

int readLink(const char* path, char* buffer, size_t size) {
    const ssize_t count = ::readlinkat(backing, relative(path).c_str(), buffer, size - 1);
    if (count < 0) {
        return -errno;
    }
    buffer[count] = '\0';
    return 0;
}

int changeMode(const char* path, mode_t mode, struct fuse_file_info* info) {
    return result(info != nullptr ? ::fchmod(static_cast<int>(info->fh), mode)
                                  : ::fchmodat(backing, relative(path).c_str(), mode, 0));
}

int changeOwner(const char* path, uid_t user, gid_t group, struct fuse_file_info* info) {
    return result(info != nullptr ? ::fchown(static_cast<int>(info->fh), user, group)
                                  : ::fchownat(backing, relative(path).c_str(), user, group,
                                               AT_SYMLINK_NOFOLLOW));
}

int setTimes(const char* path, const struct timespec times[2], struct fuse_file_info* info) {
    return result(info != nullptr
                      ? ::futimens(static_cast<int>(info->fh), times)
                      : ::utimensat(backing, relative(path).c_str(), times, AT_SYMLINK_NOFOLLOW));
}

int readDirectory(const char* path, void* buffer, fuse_fill_dir_t fill, off_t,
                  struct fuse_file_info*, enum fuse_readdir_flags) {
    const int descriptor = ::openat(backing, relative(path).c_str(), O_RDONLY | O_DIRECTORY);
    DIR* directory = descriptor < 0 ? nullptr : ::fdopendir(descriptor);
    if (directory == nullptr) {
        return -errno;
    }
    while (const struct dirent* entry = ::readdir(directory)) {
        fill(buffer, entry->d_name, nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    }
    ::closedir(directory);
    return 0;
}

int failAttribute(const char*, const char*, char*, size_t) {
    return -EIO;
}

int failAttributeList(const char*, char*, size_t) {
    return -EIO;
}

int fileSystemStatus(const char*, struct statvfs* status) {
    return result(::fstatvfs(backing, status));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s DIRECTORY MOUNTPOINT [--fail-stores-while=FILE] "
                     "[--hide-open-files] [--attributes-fail] [FUSE options]\n",
                     argv[0]);
        return 2;
    }
    backing = ::open(argv[1], O_RDONLY | O_DIRECTORY);
    if (backing < 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<char*> arguments{argv[0], argv[2], const_cast<char*>("-f"),
                                 const_cast<char*>("-s")};
    bool attributesFail = false;
    for (int index = 3; index < argc; ++index) {
        if (std::strncmp(argv[index], "--fail-stores-while=", 20) == 0) {
            failStoresWhile = argv[index] + 20;
        } else if (std::strcmp(argv[index], "--hide-open-files") == 0) {
            hideOpenFiles = true;
        } else if (std::strcmp(argv[index], "--attributes-fail") == 0) {
            attributesFail = true;
        } else {
            arguments.push_back(argv[index]);
        }
    }
    struct fuse_operations operations {};
    operations.init = start;
    operations.getattr = getAttributes;
    operations.open = openFile;
    operations.create = createFile;
    operations.read = readFile;
    operations.write = writeFile;
    operations.flush = flushFile;
    operations.fsync = synchronize;
    operations.release = releaseFile;
    operations.truncate = truncateFile;
    operations.rename = renameEntry;
    operations.unlink = removeEntry;
    operations.mkdir = makeDirectory;
    operations.rmdir = removeDirectory;
    operations.link = linkEntry;
    operations.symlink = symbolicLink;
    operations.readlink = readLink;
    operations.chmod = changeMode;
    operations.chown = changeOwner;
    operations.utimens = setTimes;
    operations.readdir = readDirectory;
    operations.statfs = fileSystemStatus;
    if (attributesFail) {
        operations.getxattr = failAttribute;
        operations.listxattr = failAttributeList;
    }
    return fuse_main(static_cast<int>(arguments.size()), arguments.data(), &operations, nullptr);
}
