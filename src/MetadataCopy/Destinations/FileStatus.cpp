#include "MetadataCopy/Destinations/FileStatus.hpp"

#include <ctime>

namespace MetadataCopy {
namespace FileStatus {

namespace {

bool sameTime(const struct timespec& one, const struct timespec& other) {
    return one.tv_sec == other.tv_sec && one.tv_nsec == other.tv_nsec;
}

#ifdef __APPLE__
const struct timespec& modificationTime(const struct stat& status) {
    return status.st_mtimespec;
}
const struct timespec& changeTime(const struct stat& status) {
    return status.st_ctimespec;
}
#else
const struct timespec& modificationTime(const struct stat& status) {
    return status.st_mtim;
}
const struct timespec& changeTime(const struct stat& status) {
    return status.st_ctim;
}
#endif

} // namespace

bool isSameFile(const struct stat& one, const struct stat& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

bool isSameFileAndContent(const struct stat& one, const struct stat& other) {
    return isSameFile(one, other) && one.st_size == other.st_size &&
           sameTime(modificationTime(one), modificationTime(other));
}

bool hasSameAccess(const struct stat& one, const struct stat& other) {
    return one.st_mode == other.st_mode && one.st_uid == other.st_uid && one.st_gid == other.st_gid;
}

bool isSameUnchangedFile(const struct stat& one, const struct stat& other) {
    return isSameFileAndContent(one, other) && sameTime(changeTime(one), changeTime(other));
}

} // namespace FileStatus
} // namespace MetadataCopy
