#include "ClipFileInfo.hpp"

#include "Clip.hpp"

namespace R3DSDK {

namespace {

constexpr std::uint32_t PageSize = 4096;

std::uint32_t roundedUpToPage(std::uint32_t size) {
    const std::uint32_t remainder = size % PageSize;
    return remainder == 0 ? size : size + (PageSize - remainder);
}

} // namespace

ClipFileInfo::ClipFileInfo(const Clip& clip) : record(nullptr) {
    if (clip.Status() != 0) {
        return;
    }
    record = new Record{};
    record->clip = &clip;
    record->fileCount = clip.ClipFileCount();
    record->files = new FileCounts[record->fileCount]();
    record->pageAligned = clip.MetadataItemAsInt("camera_model_id") > 1;
    clip.GetHeaderSizes(record->headerSize, record->audioHeaderSize);
    // The count is asked again after each file, but never past the entries
    // that were made.
    for (std::size_t file = 0; file < clip.ClipFileCount() && file < record->fileCount; ++file) {
        clip.FilenameVideoAndAudioCount(file, record->files[file].videoCount,
                                        record->files[file].audioCount);
    }
}

ClipFileInfo::~ClipFileInfo() {
    if (record != nullptr) {
        delete[] record->files;
        delete record;
    }
}

std::size_t ClipFileInfo::R3DFileCount() const {
    return record == nullptr ? 0 : record->clip->ClipFileCount();
}

const ClipFileInfo::FileCounts* ClipFileInfo::FileInfo(std::size_t index) const {
    if (record == nullptr || index >= record->fileCount) {
        return nullptr;
    }
    return &record->files[index];
}

unsigned int ClipFileInfo::HeaderSize() const {
    return record == nullptr ? 0 : static_cast<std::uint32_t>(record->headerSize);
}

bool ClipFileInfo::VideoFrameInfo(std::size_t file, std::size_t track, std::size_t frame,
                                  VideoFrame* out) const {
    if (out == nullptr || record == nullptr) {
        return false;
    }
    unsigned long long offset = 0;
    unsigned long long size = 0;
    if (!record->clip->FileVideoOffsetAndSize(file, track, frame, offset, size)) {
        return false;
    }
    *out = VideoFrame{};
    const auto size32 = static_cast<std::uint32_t>(size);
    if (static_cast<std::int32_t>(size32) < 0) {
        return true;
    }
    out->offset = offset;
    out->size = record->pageAligned ? roundedUpToPage(size32) : size32;
    return true;
}

bool ClipFileInfo::AudioBlockInfo(std::size_t file, std::size_t block, AudioBlock* out) const {
    if (out == nullptr || record == nullptr) {
        return false;
    }
    unsigned long long offset = 0;
    unsigned long long size = 0;
    if (!record->clip->FileAudioOffsetAndSize(file, block, offset, size)) {
        return false;
    }
    // The block is read together with the audio header in front of it.
    const unsigned long long widenedOffset = offset - record->audioHeaderSize;
    const auto widenedSize = static_cast<std::uint32_t>(size + record->audioHeaderSize);
    *out = AudioBlock{};
    if (static_cast<std::int32_t>(widenedSize) < 0) {
        return true;
    }
    out->offset = widenedOffset;
    out->size = record->pageAligned ? roundedUpToPage(widenedSize) : widenedSize;
    const auto channels = static_cast<std::uint32_t>(record->clip->AudioChannelCount());
    // Four bytes per sample; a clip without channels has no samples, rather
    // than a division by zero.
    out->sampleCount = channels == 0 ? 0 : static_cast<std::uint32_t>(size) / 4 / channels;
    return true;
}

} // namespace R3DSDK
