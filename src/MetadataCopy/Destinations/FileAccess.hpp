// Copying a file's access (owner and group, permission bits, ACLs and
// extended attributes) to the new file that takes its place, keeping what the
// storage and the process's rights allow and failing on anything else.
#pragma once

#include <sys/stat.h>

namespace MetadataCopy {
namespace FileAccess {

/// Gives the new file (descriptor, whose status `created` is kept up to date)
/// the original's owner and group, then its permission bits where they
/// differ, its ACLs and its extended attributes. Without a descriptor of the
/// original (negative) only the permission bits are given. An ACL, an
/// attribute or an owner that the file system or the process's rights refuse
/// is skipped; false on any other failure, and the new file must then not
/// replace the original. Where reading the original's ACL or its extended
/// attributes fails, and the same request on the directory of both files
/// (directory, open for reading or for searching only) fails too, the storage
/// answers it for no file, and the original is taken for one without them.
bool copy(int descriptor, struct stat& created, const struct stat& original, int originalDescriptor,
          int directory = -1);

} // namespace FileAccess
} // namespace MetadataCopy
