#include "MetadataCopy/Destinations/FileAccess.hpp"

#include <cerrno>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif

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
namespace FileAccess {

namespace {

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
// Whether an error of a request for the original's ACL or attributes is the
// storage's answer for every file: the same request on the directory fails
// with it too, or is refused there (rclone mounts answer EIO for files and
// EOPNOTSUPP for directories). There, as cp does, the file is taken for one
// without them; a failure for the file alone (an I/O error of its own) is a
// failure. The directory, which may be open for searching only, is reached
// through its /proc entry.
bool failsForEveryFile(int directory, int error, const char* attribute) {
#ifdef __linux__
    if (directory < 0) {
        return false;
    }
    const std::string entry = "/proc/self/fd/" + std::to_string(directory);
    const ssize_t answer = attribute != nullptr ? ::getxattr(entry.c_str(), attribute, nullptr, 0)
                                                : ::listxattr(entry.c_str(), nullptr, 0);
    return answer < 0 && (errno == error || errno == ENOTSUP || errno == EOPNOTSUPP);
#else
    static_cast<void>(directory);
    static_cast<void>(error);
    static_cast<void>(attribute);
    return false;
#endif
}

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

} // namespace

// Gives the new file (created) the original's owner and group, then its
// permission bits where they differ (a file system without permission bits of
// its own, such as FAT through FUSE, shows one mode for every file and answers
// fchmod with ENOSYS), its ACLs and its extended attributes. An ACL or an
// attribute that the file system or the process's rights refuse is skipped;
// any other failure to set one fails.
bool copy(int descriptor, struct stat& created, const struct stat& original, int originalDescriptor,
          int directory) {
    if (originalDescriptor >= 0 && !copyOwner(descriptor, created, original)) {
        return false;
    }
    if ((created.st_mode & 07777) != (original.st_mode & 07777)) {
        if (::fchmod(descriptor, original.st_mode & 07777) != 0 ||
            ::fstat(descriptor, &created) != 0) {
            return false;
        }
#ifdef OKALU_HAVE_LIBACL
        // Storage that takes a chmod without applying it (bindfs
        // --chmod-ignore) may still apply the permission bits given as the
        // file's access ACL, which it passes on as an attribute. Whether they
        // show at last is for the caller to judge.
        if ((created.st_mode & 0777) != (original.st_mode & 0777)) {
            if (const acl_t bits = ::acl_from_mode(original.st_mode & 0777)) {
                ::acl_set_fd(descriptor, bits);
                ::acl_free(bits);
            }
            if (::fstat(descriptor, &created) != 0) {
                return false;
            }
        }
#endif
    }
    if (originalDescriptor < 0) {
        return true;
    }
#ifdef OKALU_HAVE_LIBACL
    // Only an ACL beyond the permission bits, which are set already, is
    // copied: where the new file's file system has no ACLs, libacl would
    // fall back to setting the permission bits again, which a file system
    // without them (FAT through FUSE) refuses without a report. A file system
    // without ACLs under the original has none to copy.
    int extended = ::acl_extended_fd(originalDescriptor);
    if (extended < 0 && errno != ENOTSUP && errno != EOPNOTSUPP && errno != ENOSYS) {
        if (!failsForEveryFile(directory, errno, "system.posix_acl_access")) {
            return false;
        }
        extended = 0;
    }
    CopyReports aclReports{{noteReport, nullptr, nullptr}};
    if (extended == 1 && !copiedAllButRefused(::perm_copy_fd(nullptr, originalDescriptor, nullptr,
                                                             descriptor, &aclReports.context),
                                              aclReports)) {
        return false;
    }
#endif
#ifdef OKALU_HAVE_LIBATTR
    // Listed first, so that storage that cannot list them for any file is
    // told from a failure of this file's.
    if (::flistxattr(originalDescriptor, nullptr, 0) < 0 && errno != ENOTSUP &&
        errno != EOPNOTSUPP && errno != ENOSYS && failsForEveryFile(directory, errno, nullptr)) {
        return true;
    }
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

} // namespace FileAccess
} // namespace MetadataCopy
