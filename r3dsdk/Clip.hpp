// One R3D clip, opened through the decoder library. Every operation forwards
// to one entry of the library with the clip's handle and hands the library's
// answer back unchanged: whether a clip is usable is told only by Status().
#pragma once

#include "Enumerations.hpp"

#include <cstddef>
#include <string>

namespace R3DSDK {

class Metadata;
struct ColorMatrices;
struct HdrProcessingSettings;
struct IMUSample;
struct ImageProcessingSettings;
struct Marker;
struct VideoDecodeJob;

// Every operation requires a successful InitializeSdk and must not be used
// after FinalizeSdk: it calls the decoder library without further checks.
class Clip {
public:
    using TrimCallback = bool (*)(CreateStatus status, void* privateData, std::size_t frameDone,
                                  std::size_t frameCount);

    /// A clip without a file; the library is handed the object's address.
    Clip();
    /// Opens the clip at `path`. The object keeps whatever handle the library
    /// returns: ask Status() whether it is usable.
    explicit Clip(const char* path);
    /// Releases the handle once, when there is one.
    ~Clip();
    Clip(const Clip&) = delete;
    Clip& operator=(const Clip&) = delete;

    int LoadFrom(const char* path);
    /// Lets the library close the clip; the handle stays until destruction.
    void Close();
    void CloseFileHandles();
    /// 0 when the clip is usable.
    int Status() const;

    bool RmdSidecarPresent() const;
    const char* GetRmdPath() const;
    int DecodeAudioBlock(std::size_t block, void* output, std::size_t* bufferSize) const;
    int DecodeAudio(unsigned long long startSample, std::size_t* sampleCount, void* output,
                    std::size_t bufferSize) const;
    std::size_t VideoTrackCount() const;
    /// Decodes a frame of track 0. The library receives a copy of `job`, in
    /// which a set extension pointer is replaced by what the library needs
    /// from the object it points to; the caller's job is never changed.
    int DecodeVideoFrame(std::size_t frame, const VideoDecodeJob& job) const;
    int VideoTrackDecodeFrame(std::size_t track, std::size_t frame,
                              const VideoDecodeJob& job) const;
    void GetDefaultImageProcessingSettings(ImageProcessingSettings& settings) const;
    int GetClipImageProcessingSettings(ImageProcessingSettings& settings) const;
    int CreateOrUpdateRmd(const ImageProcessingSettings& settings) const;
    int GetRmdHdrProcessingSettings(HdrProcessingSettings& settings, std::size_t& track) const;
    int CreateOrUpdateRmd(HdrMode mode, const HdrProcessingSettings& settings,
                          std::size_t track) const;
    int GetWhitebalance(ImageProcessingSettings& settings, std::size_t frame, float x,
                        float y) const;
    int MinimumColorVersion() const;
    bool Uuid(unsigned char* uuid) const;
    std::size_t Width() const;
    std::size_t Height() const;
    /// The number of video frames; frames are numbered from 0.
    std::size_t VideoFrameCount() const;
    std::size_t AudioChannelCount() const;
    std::size_t AudioBlockCountAndSize(std::size_t* maximumSize) const;
    unsigned long long AudioSampleCount() const;
    float VideoAudioFramerate() const;
    float TimecodeFramerate() const;
    const char* Timecode(std::size_t frame) const;
    const char* AbsoluteTimecode(std::size_t frame) const;
    const char* EdgeTimecode(std::size_t frame) const;

    /// Fills `metadata` with the metadata of `frame`; the library's status.
    int GetFrameMetadata(Metadata& metadata, std::size_t frame) const;
    /// The same, letting the library compare with the metadata of a previous
    /// frame; without a usable `previous` it is the two-argument form.
    int GetFrameMetadata(Metadata& metadata, std::size_t frame, Metadata* previous,
                         bool* changed) const;

    std::size_t MetadataCount() const;
    bool MetadataExists(const char* key) const;
    std::string MetadataItemKey(std::size_t index) const;
    unsigned int MetadataItemAsInt(const char* key) const;
    unsigned int MetadataItemAsInt(std::size_t index) const;
    /// The clip item's text; empty when the library stores none.
    std::string MetadataItemAsString(const char* key) const;
    std::string MetadataItemAsString(std::size_t index) const;
    float MetadataItemAsFloat(const char* key) const;
    float MetadataItemAsFloat(std::size_t index) const;
    int MetadataItemType(const char* key) const;
    int MetadataItemType(std::size_t index) const;

    std::size_t MarkerCount() const;
    bool GetMarker(std::size_t index, Marker& marker) const;

    static int CreateTrimFrom(const Clip& source, const char* path, std::size_t startFrame,
                              std::size_t endFrame, bool includeAudio, void* privateData,
                              TrimCallback callback);
    static int CreateSnapshotFrom(const Clip& source, const char* path, std::size_t frame);

    int CreateOrUpdateRmd(std::string rmd) const;
    /// `out` takes the text only when the library answers true.
    bool GetRmdXmp(std::string& out) const;
    /// The matrices of the clip as a whole.
    int GetCameraMatrices(const ImageProcessingSettings& settings, ColorMatrices& matrices) const;
    int GetCameraMatrices(std::size_t frame, const ImageProcessingSettings& settings,
                          ColorMatrices& matrices) const;

    std::size_t ClipFileCount() const;
    bool FilenameVideoAndAudioCount(std::size_t file, std::size_t& videoCount,
                                    std::size_t& audioCount) const;
    bool FileVideoOffsetAndSize(std::size_t file, std::size_t track, std::size_t frame,
                                unsigned long long& offset, unsigned long long& size) const;
    /// Track 0.
    bool FileVideoOffsetAndSize(std::size_t file, std::size_t frame, unsigned long long& offset,
                                unsigned long long& size) const;
    bool FileAudioOffsetAndSize(std::size_t file, std::size_t block, unsigned long long& offset,
                                unsigned long long& size) const;
    int DefaultColorVersion() const;
    bool Camera3DLutPresent() const;
    void* Load3DLut(const char* path) const;
    std::size_t FileListCount() const;
    /// `out` always takes the text; the result is the library's status.
    int FileList(std::size_t index, std::string& out) const;
    bool GetHeaderSizes(std::size_t& headerSize, std::size_t& audioHeaderSize) const;
    bool ExternalETMetadataPresent() const;
    std::size_t ExternalETMetadataCount() const;
    const char* ExternalETMetadata(std::size_t index) const;
    std::size_t IMUSampleCount() const;
    int DecodeIMUSamples(IMUSample* samples, std::size_t start, std::size_t count);
    int CheckFrame(std::size_t frame) const;

private:
    void* handle;
};

} // namespace R3DSDK
