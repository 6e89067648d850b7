// Everything R3DSDK::Clip reaches in the decoder library. Entries are in table order; the
// clip wrappers refer to them by position.
// Filled from one loaded library by LoadSymbols; every entry is null until then.
#pragma once

#include "DynamicApi.hpp"

#include <cstddef>

#include "Enumerations.hpp"

namespace R3DSDK {

class IStringTransfer;
struct ColorMatrices;
struct HdrProcessingSettings;
struct IMUSample;
struct ImageProcessingSettings;
struct Marker;
struct VideoDecodeJob;

class ClipApi : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 69;

    ClipApi();
    ~ClipApi() override;

    const char* Name() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    // 0: Clip(): given the object's address; returns the clip handle.
    void* (*R3D_AAB)(void* object);
    // 1: Clip(path): opens a clip; returns its handle.
    void* (*R3D_AAC)(const char* path);
    // 2: ~Clip: releases the handle.
    void (*R3D_AAA)(void* clip);
    // 3: Status: 0 for a usable clip.
    int (*R3D_AAD)(void* clip);
    // 4: LoadFrom.
    int (*R3D_AAE)(void* clip, const char* path);
    // 5: Close.
    void (*R3D_AAF)(void* clip);
    // 6: CloseFileHandles.
    void (*R3D_AAG)(void* clip);
    // 7: RmdSidecarPresent.
    bool (*R3D_ACK)(void* clip);
    // 8: GetRmdPath.
    const char* (*R3D_AAH)(void* clip);
    // 9: no operation of the client calls it.
    Entry R3D_AAI;
    // 10: DecodeAudioBlock.
    int (*R3D_AAJ)(void* clip, std::size_t block, void* output, std::size_t* bufferSize);
    // 11: DecodeAudio.
    int (*R3D_AAK)(void* clip, unsigned long long startSample, std::size_t* sampleCount,
                   void* output, std::size_t bufferSize);
    // 12: VideoTrackCount.
    std::size_t (*R3D_AAL)(void* clip);
    // 13: DecodeVideoFrame, VideoTrackDecodeFrame: `job` is the client's copy of the caller's job.
    int (*R3D_AAM)(void* clip, std::size_t track, std::size_t frame, VideoDecodeJob* job);
    // 14: GetDefaultImageProcessingSettings.
    void (*R3D_AAN)(void* clip, ImageProcessingSettings& settings);
    // 15: GetClipImageProcessingSettings.
    int (*R3D_AAO)(void* clip, ImageProcessingSettings& settings);
    // 16: CreateOrUpdateRmd(ImageProcessingSettings).
    int (*R3D_AAP)(void* clip, const ImageProcessingSettings& settings);
    // 17: GetRmdHdrProcessingSettings.
    int (*R3D_AAQ)(void* clip, HdrProcessingSettings& settings, std::size_t& track);
    // 18: CreateOrUpdateRmd(HdrMode, HdrProcessingSettings, track).
    int (*R3D_AAR)(void* clip, HdrMode mode, const HdrProcessingSettings& settings,
                   std::size_t track);
    // 19: GetWhitebalance.
    int (*R3D_AAS)(void* clip, ImageProcessingSettings& settings, std::size_t frame, float x,
                   float y);
    // 20: MinimumColorVersion.
    int (*R3D_AAT)(void* clip);
    // 21: Uuid.
    bool (*R3D_AAU)(void* clip, unsigned char* uuid);
    // 22: Width.
    std::size_t (*R3D_AAV)(void* clip);
    // 23: Height.
    std::size_t (*R3D_AAW)(void* clip);
    // 24: VideoFrameCount.
    std::size_t (*R3D_AAX)(void* clip);
    // 25: AudioChannelCount.
    std::size_t (*R3D_AAY)(void* clip);
    // 26: AudioBlockCountAndSize.
    std::size_t (*R3D_AAZ)(void* clip, std::size_t* maximumSize);
    // 27: AudioSampleCount.
    unsigned long long (*R3D_ABA)(void* clip);
    // 28: VideoAudioFramerate.
    float (*R3D_ABB)(void* clip);
    // 29: TimecodeFramerate.
    float (*R3D_ABC)(void* clip);
    // 30: Timecode.
    const char* (*R3D_ABD)(void* clip, std::size_t frame);
    // 31: AbsoluteTimecode.
    const char* (*R3D_ABE)(void* clip, std::size_t frame);
    // 32: EdgeTimecode.
    const char* (*R3D_ABF)(void* clip, std::size_t frame);
    // 33: GetFrameMetadata: fills the frame-metadata handle `metadata`.
    int (*R3D_ABG)(void* clip, void* metadata, std::size_t frame);
    // 34: MetadataCount.
    std::size_t (*R3D_ABH)(void* clip);
    // 35: MetadataExists(key).
    bool (*R3D_ABI)(void* clip, const char* key);
    // 36: MetadataItemKey(index).
    bool (*R3D_ABJ)(void* clip, std::size_t index, IStringTransfer* transfer);
    // 37: MetadataItemAsInt(key).
    unsigned int (*R3D_ABK)(void* clip, const char* key);
    // 38: MetadataItemAsInt(index).
    unsigned int (*R3D_ABL)(void* clip, std::size_t index);
    // 39: MetadataItemAsString(key).
    bool (*R3D_ABM)(void* clip, const char* key, IStringTransfer* transfer);
    // 40: MetadataItemAsString(index).
    bool (*R3D_ABN)(void* clip, std::size_t index, IStringTransfer* transfer);
    // 41: MetadataItemAsFloat(key).
    float (*R3D_ABO)(void* clip, const char* key);
    // 42: MetadataItemAsFloat(index).
    float (*R3D_ABP)(void* clip, std::size_t index);
    // 43: MetadataItemType(key).
    int (*R3D_ABQ)(void* clip, const char* key);
    // 44: MetadataItemType(index).
    int (*R3D_ABR)(void* clip, std::size_t index);
    // 45: MarkerCount.
    std::size_t (*R3D_ABS)(void* clip);
    // 46: GetMarker.
    bool (*R3D_ABT)(void* clip, std::size_t index, Marker& marker);
    // 47: CreateTrimFrom: `clip` is the handle of the clip to trim.
    int (*R3D_ABU)(void* clip, const char* path, std::size_t startFrame, std::size_t endFrame,
                   bool includeAudio, void* privateData,
                   bool (*callback)(CreateStatus status, void* privateData, std::size_t frameDone,
                                    std::size_t frameCount));
    // 48: CreateSnapshotFrom: `clip` is the handle of the clip to take from.
    int (*R3D_ABV)(void* clip, const char* path, std::size_t frame);
    // 49: CreateOrUpdateRmd(text).
    int (*R3D_ABW)(void* clip, const char* rmd);
    // 50: GetRmdXmp.
    bool (*R3D_ABX)(void* clip, IStringTransfer* transfer);
    // 51: GetCameraMatrices: the all-ones frame stands for the clip.
    int (*R3D_ADB)(void* clip, std::size_t frame, const ImageProcessingSettings& settings,
                   ColorMatrices& matrices);
    // 52: ClipFileCount.
    std::size_t (*R3D_ABY)(void* clip);
    // 53: FilenameVideoAndAudioCount.
    bool (*R3D_ABZ)(void* clip, std::size_t file, std::size_t& videoCount, std::size_t& audioCount);
    // 54: FileVideoOffsetAndSize.
    bool (*R3D_ACA)(void* clip, std::size_t file, std::size_t track, std::size_t frame,
                    unsigned long long& offset, unsigned long long& size);
    // 55: FileAudioOffsetAndSize.
    bool (*R3D_ACC)(void* clip, std::size_t file, std::size_t block, unsigned long long& offset,
                    unsigned long long& size);
    // 56: GetFrameMetadata with the previous frame's metadata handle.
    int (*R3D_ACF)(void* clip, void* metadata, std::size_t frame, void* previous, bool* changed);
    // 57: DefaultColorVersion.
    int (*R3D_ACG)(void* clip);
    // 58: Camera3DLutPresent.
    bool (*R3D_ACH)(void* clip);
    // 59: Load3DLut.
    void* (*R3D_ACI)(void* clip, const char* path);
    // 60: FileListCount.
    std::size_t (*R3D_ACL)(void* clip);
    // 61: FileList.
    int (*R3D_ACM)(void* clip, std::size_t index, IStringTransfer* transfer);
    // 62: GetHeaderSizes.
    bool (*R3D_ACJ)(void* clip, std::size_t& headerSize, std::size_t& audioHeaderSize);
    // 63: ExternalETMetadataPresent.
    bool (*R3D_ACN)(void* clip);
    // 64: ExternalETMetadataCount.
    std::size_t (*R3D_ACO)(void* clip);
    // 65: ExternalETMetadata.
    const char* (*R3D_ACP)(void* clip, std::size_t index);
    // 66: IMUSampleCount.
    std::size_t (*R3D_ACQ)(void* clip);
    // 67: DecodeIMUSamples.
    int (*R3D_ACR)(void* clip, IMUSample* samples, std::size_t start, std::size_t count);
    // 68: CheckFrame.
    int (*R3D_ADC)(void* clip, std::size_t frame);
};

} // namespace R3DSDK
