// Where a clip's video frames and audio blocks lie in its files, for hosts
// that read the compressed data themselves. It asks the clip when it is made
// and keeps a pointer to it: the clip must outlive this object.
#pragma once

#include <cstddef>
#include <cstdint>

namespace R3DSDK {

class Clip;

class ClipFileInfo {
public:
    struct FileCounts {
        std::size_t videoCount;
        std::size_t audioCount;
    };

    struct VideoFrame {
        std::uint64_t offset;
        std::uint32_t size;
    };

    struct AudioBlock {
        std::uint64_t offset;
        std::uint32_t size;
        std::uint32_t sampleCount;
    };

    /// Empty (no files, header size 0, every query false) when the clip is
    /// not usable.
    explicit ClipFileInfo(const Clip& clip);
    ~ClipFileInfo();
    ClipFileInfo(const ClipFileInfo&) = delete;
    ClipFileInfo& operator=(const ClipFileInfo&) = delete;

    /// The number of files of the clip; 0 for an empty object.
    std::size_t R3DFileCount() const;
    /// The video and audio counts of file `index`; null for an empty object
    /// and for an index beyond the files counted when the object was made.
    const FileCounts* FileInfo(std::size_t index) const;
    unsigned int HeaderSize() const;
    /// The frame's offset and size, the size rounded up to whole 4096-byte
    /// pages for cameras that write page-aligned files. False when `out` is
    /// null, the object is empty or the library does not know the frame.
    bool VideoFrameInfo(std::size_t file, std::size_t track, std::size_t frame,
                        VideoFrame* out) const;
    /// The block's offset and size including the audio header, and its number
    /// of samples per channel (0 when the clip reports no audio channels).
    bool AudioBlockInfo(std::size_t file, std::size_t block, AudioBlock* out) const;

private:
    struct Record {
        bool pageAligned;
        const Clip* clip;
        FileCounts* files;
        std::size_t fileCount;
        std::size_t headerSize;
        std::size_t audioHeaderSize;
    };

    Record* record;
};

} // namespace R3DSDK
