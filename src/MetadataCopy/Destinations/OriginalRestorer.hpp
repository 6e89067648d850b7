// Puts a locked file back under its name after a rename over it failed. A
// FUSE file system (its library) renames a file that is open to a hidden name,
// ".fuse_hidden" and a number, before it renames another file over it, does
// not move it back when that rename fails, and removes the hidden file once
// the last descriptor of it is closed: a failed rename over a file held open
// for its lock would lose the file without this.
#pragma once

#include <string>
#include <sys/stat.h>

namespace MetadataCopy {

class OriginalRestorer {
public:
    /// The locked file, open (originalDescriptor, readable), under its name in
    /// the directory (open for reading, or for searching only).
    OriginalRestorer(int directory, const std::string& fileName, int originalDescriptor);

    enum class Outcome {
        /// The name still names the locked file, or names a file that
        /// another program put there, which stays.
        untouched,
        /// The name was free and now names the locked file's bytes again.
        putBack,
        /// The name stays free; keptAt() names a complete copy of the locked
        /// file where one could be kept.
        notPutBack
    };

    /// Looks at the name and, where nothing stands there, gives it the
    /// locked file again: the hidden file, where the storage left one that is
    /// the locked file, linked back (a FUSE file system removes the hidden
    /// name itself once the file is closed, and a rename back would have it
    /// remove the file's own name instead); else a copy of the locked file's
    /// bytes, with its owner, group, mode, ACLs, extended attributes and
    /// times, stored first and then renamed into the name without replacing
    /// anything that appeared there meanwhile.
    Outcome restore();

    /// The name in the directory of a complete copy of the locked file left
    /// where it could not be put back; empty where there is none.
    const std::string& keptAt() const { return keptName; }

private:
    std::string hiddenName(const struct stat& locked) const;
    bool copyInto(int copy, struct stat& created, const struct stat& locked);
    bool renameWithoutReplacing(const std::string& from);

    int directory;
    std::string fileName;
    int originalDescriptor;
    std::string keptName;
};

} // namespace MetadataCopy
