// Comparisons of file statuses, by which the rewrite tells whether the file
// that it read, locked and is about to replace is still the same file in the
// same state.
#pragma once

#include <sys/stat.h>

namespace MetadataCopy {
namespace FileStatus {

/// The same file: device and inode.
bool isSameFile(const struct stat& one, const struct stat& other);

/// The same file with the same size and modification time (to the
/// nanosecond). A rename moves a file's change time, so this is what can be
/// compared across one.
bool isSameFileAndContent(const struct stat& one, const struct stat& other);

/// The same file type, permission bits, owner and group.
bool hasSameAccess(const struct stat& one, const struct stat& other);

/// The same file in the same state: also the same change time, which moves
/// with every change of the file's data or its status (a chmod, an added
/// attribute), even where the modification time was put back.
bool isSameUnchangedFile(const struct stat& one, const struct stat& other);

} // namespace FileStatus
} // namespace MetadataCopy
