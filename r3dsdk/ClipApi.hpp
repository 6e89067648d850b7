// Everything R3DSDK::Clip reaches in the decoder library. Entries are in table order; the
// clip wrappers refer to them by position.
#pragma once

#include "DynamicApi.hpp"

#include <cstddef>

#include "Enumerations.hpp"

#define OKALU_CLIP_API_ENTRIES(ENTRY)                                                              \
    /* 0: Clip(): given the object's address; returns the clip handle. */                          \
    ENTRY(R3D_AAB, void*(void* object))                                                            \
    /* 1: Clip(path): opens a clip; returns its handle. */                                         \
    ENTRY(R3D_AAC, void*(const char* path))                                                        \
    /* 2: ~Clip: releases the handle. */                                                           \
    ENTRY(R3D_AAA, void(void* clip))                                                               \
    /* 3: Status: 0 for a usable clip. */                                                          \
    ENTRY(R3D_AAD, int(void* clip))                                                                \
    /* 4: LoadFrom. */                                                                             \
    ENTRY(R3D_AAE, int(void* clip, const char* path))                                              \
    /* 5: Close. */                                                                                \
    ENTRY(R3D_AAF, void(void* clip))                                                               \
    /* 6: CloseFileHandles. */                                                                     \
    ENTRY(R3D_AAG, void(void* clip))                                                               \
    /* 7: RmdSidecarPresent. */                                                                    \
    ENTRY(R3D_ACK, bool(void* clip))                                                               \
    /* 8: GetRmdPath. */                                                                           \
    ENTRY(R3D_AAH, const char*(void* clip))                                                        \
    /* 9: no operation of the client calls it. */                                                  \
    ENTRY(R3D_AAI, void())                                                                         \
    /* 10: DecodeAudioBlock. */                                                                    \
    ENTRY(R3D_AAJ, int(void* clip, std::size_t block, void* output, std::size_t* bufferSize))      \
    /* 11: DecodeAudio. */                                                                         \
    ENTRY(R3D_AAK, int(void* clip, unsigned long long startSample, std::size_t* sampleCount,       \
                       void* output, std::size_t bufferSize))                                      \
    /* 12: VideoTrackCount. */                                                                     \
    ENTRY(R3D_AAL, std::size_t(void* clip))                                                        \
    /* 13: DecodeVideoFrame, VideoTrackDecodeFrame; `job` is the client's copy of the caller's. */ \
    ENTRY(R3D_AAM, int(void* clip, std::size_t track, std::size_t frame, VideoDecodeJob* job))     \
    /* 14: GetDefaultImageProcessingSettings. */                                                   \
    ENTRY(R3D_AAN, void(void* clip, ImageProcessingSettings& settings))                            \
    /* 15: GetClipImageProcessingSettings. */                                                      \
    ENTRY(R3D_AAO, int(void* clip, ImageProcessingSettings& settings))                             \
    /* 16: CreateOrUpdateRmd(ImageProcessingSettings). */                                          \
    ENTRY(R3D_AAP, int(void* clip, const ImageProcessingSettings& settings))                       \
    /* 17: GetRmdHdrProcessingSettings. */                                                         \
    ENTRY(R3D_AAQ, int(void* clip, HdrProcessingSettings& settings, std::size_t& track))           \
    /* 18: CreateOrUpdateRmd(HdrMode, HdrProcessingSettings, track). */                            \
    ENTRY(R3D_AAR,                                                                                 \
          int(void* clip, HdrMode mode, const HdrProcessingSettings& settings, std::size_t track)) \
    /* 19: GetWhitebalance. */                                                                     \
    ENTRY(R3D_AAS,                                                                                 \
          int(void* clip, ImageProcessingSettings& settings, std::size_t frame, float x, float y)) \
    /* 20: MinimumColorVersion. */                                                                 \
    ENTRY(R3D_AAT, int(void* clip))                                                                \
    /* 21: Uuid. */                                                                                \
    ENTRY(R3D_AAU, bool(void* clip, unsigned char* uuid))                                          \
    /* 22: Width. */                                                                               \
    ENTRY(R3D_AAV, std::size_t(void* clip))                                                        \
    /* 23: Height. */                                                                              \
    ENTRY(R3D_AAW, std::size_t(void* clip))                                                        \
    /* 24: VideoFrameCount. */                                                                     \
    ENTRY(R3D_AAX, std::size_t(void* clip))                                                        \
    /* 25: AudioChannelCount. */                                                                   \
    ENTRY(R3D_AAY, std::size_t(void* clip))                                                        \
    /* 26: AudioBlockCountAndSize. */                                                              \
    ENTRY(R3D_AAZ, std::size_t(void* clip, std::size_t* maximumSize))                              \
    /* 27: AudioSampleCount. */                                                                    \
    ENTRY(R3D_ABA, unsigned long long(void* clip))                                                 \
    /* 28: VideoAudioFramerate. */                                                                 \
    ENTRY(R3D_ABB, float(void* clip))                                                              \
    /* 29: TimecodeFramerate. */                                                                   \
    ENTRY(R3D_ABC, float(void* clip))                                                              \
    /* 30: Timecode. */                                                                            \
    ENTRY(R3D_ABD, const char*(void* clip, std::size_t frame))                                     \
    /* 31: AbsoluteTimecode. */                                                                    \
    ENTRY(R3D_ABE, const char*(void* clip, std::size_t frame))                                     \
    /* 32: EdgeTimecode. */                                                                        \
    ENTRY(R3D_ABF, const char*(void* clip, std::size_t frame))                                     \
    /* 33: GetFrameMetadata: fills the frame-metadata handle `metadata`. */                        \
    ENTRY(R3D_ABG, int(void* clip, void* metadata, std::size_t frame))                             \
    /* 34: MetadataCount. */                                                                       \
    ENTRY(R3D_ABH, std::size_t(void* clip))                                                        \
    /* 35: MetadataExists(key). */                                                                 \
    ENTRY(R3D_ABI, bool(void* clip, const char* key))                                              \
    /* 36: MetadataItemKey(index). */                                                              \
    ENTRY(R3D_ABJ, bool(void* clip, std::size_t index, IStringTransfer* transfer))                 \
    /* 37: MetadataItemAsInt(key). */                                                              \
    ENTRY(R3D_ABK, unsigned int(void* clip, const char* key))                                      \
    /* 38: MetadataItemAsInt(index). */                                                            \
    ENTRY(R3D_ABL, unsigned int(void* clip, std::size_t index))                                    \
    /* 39: MetadataItemAsString(key). */                                                           \
    ENTRY(R3D_ABM, bool(void* clip, const char* key, IStringTransfer* transfer))                   \
    /* 40: MetadataItemAsString(index). */                                                         \
    ENTRY(R3D_ABN, bool(void* clip, std::size_t index, IStringTransfer* transfer))                 \
    /* 41: MetadataItemAsFloat(key). */                                                            \
    ENTRY(R3D_ABO, float(void* clip, const char* key))                                             \
    /* 42: MetadataItemAsFloat(index). */                                                          \
    ENTRY(R3D_ABP, float(void* clip, std::size_t index))                                           \
    /* 43: MetadataItemType(key). */                                                               \
    ENTRY(R3D_ABQ, int(void* clip, const char* key))                                               \
    /* 44: MetadataItemType(index). */                                                             \
    ENTRY(R3D_ABR, int(void* clip, std::size_t index))                                             \
    /* 45: MarkerCount. */                                                                         \
    ENTRY(R3D_ABS, std::size_t(void* clip))                                                        \
    /* 46: GetMarker. */                                                                           \
    ENTRY(R3D_ABT, bool(void* clip, std::size_t index, Marker& marker))                            \
    /* 47: CreateTrimFrom: `clip` is the handle of the clip to trim. */                            \
    ENTRY(R3D_ABU, int(void* clip, const char* path, std::size_t startFrame, std::size_t endFrame, \
                       bool includeAudio, void* privateData,                                       \
                       bool (*callback)(CreateStatus status, void* privateData,                    \
                                        std::size_t frameDone, std::size_t frameCount)))           \
    /* 48: CreateSnapshotFrom: `clip` is the handle of the clip to take from. */                   \
    ENTRY(R3D_ABV, int(void* clip, const char* path, std::size_t frame))                           \
    /* 49: CreateOrUpdateRmd(text). */                                                             \
    ENTRY(R3D_ABW, int(void* clip, const char* rmd))                                               \
    /* 50: GetRmdXmp. */                                                                           \
    ENTRY(R3D_ABX, bool(void* clip, IStringTransfer* transfer))                                    \
    /* 51: GetCameraMatrices: the all-ones frame stands for the clip. */                           \
    ENTRY(R3D_ADB, int(void* clip, std::size_t frame, const ImageProcessingSettings& settings,     \
                       ColorMatrices& matrices))                                                   \
    /* 52: ClipFileCount. */                                                                       \
    ENTRY(R3D_ABY, std::size_t(void* clip))                                                        \
    /* 53: FilenameVideoAndAudioCount. */                                                          \
    ENTRY(R3D_ABZ,                                                                                 \
          bool(void* clip, std::size_t file, std::size_t& videoCount, std::size_t& audioCount))    \
    /* 54: FileVideoOffsetAndSize. */                                                              \
    ENTRY(R3D_ACA, bool(void* clip, std::size_t file, std::size_t track, std::size_t frame,        \
                        unsigned long long& offset, unsigned long long& size))                     \
    /* 55: FileAudioOffsetAndSize. */                                                              \
    ENTRY(R3D_ACC, bool(void* clip, std::size_t file, std::size_t block,                           \
                        unsigned long long& offset, unsigned long long& size))                     \
    /* 56: GetFrameMetadata with the previous frame's metadata handle. */                          \
    ENTRY(R3D_ACF,                                                                                 \
          int(void* clip, void* metadata, std::size_t frame, void* previous, bool* changed))       \
    /* 57: DefaultColorVersion. */                                                                 \
    ENTRY(R3D_ACG, int(void* clip))                                                                \
    /* 58: Camera3DLutPresent. */                                                                  \
    ENTRY(R3D_ACH, bool(void* clip))                                                               \
    /* 59: Load3DLut. */                                                                           \
    ENTRY(R3D_ACI, void*(void* clip, const char* path))                                            \
    /* 60: FileListCount. */                                                                       \
    ENTRY(R3D_ACL, std::size_t(void* clip))                                                        \
    /* 61: FileList. */                                                                            \
    ENTRY(R3D_ACM, int(void* clip, std::size_t index, IStringTransfer* transfer))                  \
    /* 62: GetHeaderSizes. */                                                                      \
    ENTRY(R3D_ACJ, bool(void* clip, std::size_t& headerSize, std::size_t& audioHeaderSize))        \
    /* 63: ExternalETMetadataPresent. */                                                           \
    ENTRY(R3D_ACN, bool(void* clip))                                                               \
    /* 64: ExternalETMetadataCount. */                                                             \
    ENTRY(R3D_ACO, std::size_t(void* clip))                                                        \
    /* 65: ExternalETMetadata. */                                                                  \
    ENTRY(R3D_ACP, const char*(void* clip, std::size_t index))                                     \
    /* 66: IMUSampleCount. */                                                                      \
    ENTRY(R3D_ACQ, std::size_t(void* clip))                                                        \
    /* 67: DecodeIMUSamples. */                                                                    \
    ENTRY(R3D_ACR, int(void* clip, IMUSample* samples, std::size_t start, std::size_t count))      \
    /* 68: CheckFrame. */                                                                          \
    ENTRY(R3D_ADC, int(void* clip, std::size_t frame))

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
    OKALU_ENTRY_TABLE(ClipApi, OKALU_CLIP_API_ENTRIES)
};

} // namespace R3DSDK
