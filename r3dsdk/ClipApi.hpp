// Everything R3DSDK::Clip reaches in the decoder library, in lookup order. The
// clip wrappers call each entry by its name; the comment above an entry names
// the wrappers that call it.
#pragma once

#include "DynamicApi.hpp"

#include <cstddef>

#include "Enumerations.hpp"

#define OKALU_CLIP_API_ENTRIES(ENTRY)                                                              \
    /* Clip(): given the object's address; returns the clip handle. */                             \
    ENTRY(R3D_AAB, void*(void* object))                                                            \
    /* Clip(path): opens a clip; returns its handle. */                                            \
    ENTRY(R3D_AAC, void*(const char* path))                                                        \
    /* ~Clip: releases the handle. */                                                              \
    ENTRY(R3D_AAA, void(void* clip))                                                               \
    /* Status: 0 for a usable clip. */                                                             \
    ENTRY(R3D_AAD, int(void* clip))                                                                \
    /* LoadFrom. */                                                                                \
    ENTRY(R3D_AAE, int(void* clip, const char* path))                                              \
    /* Close. */                                                                                   \
    ENTRY(R3D_AAF, void(void* clip))                                                               \
    /* CloseFileHandles. */                                                                        \
    ENTRY(R3D_AAG, void(void* clip))                                                               \
    /* RmdSidecarPresent. */                                                                       \
    ENTRY(R3D_ACK, bool(void* clip))                                                               \
    /* GetRmdPath. */                                                                              \
    ENTRY(R3D_AAH, const char*(void* clip))                                                        \
    /* No operation of the client calls it. */                                                     \
    ENTRY(R3D_AAI, void())                                                                         \
    /* DecodeAudioBlock. */                                                                        \
    ENTRY(R3D_AAJ, int(void* clip, std::size_t block, void* output, std::size_t* bufferSize))      \
    /* DecodeAudio. */                                                                             \
    ENTRY(R3D_AAK, int(void* clip, unsigned long long startSample, std::size_t* sampleCount,       \
                       void* output, std::size_t bufferSize))                                      \
    /* VideoTrackCount. */                                                                         \
    ENTRY(R3D_AAL, std::size_t(void* clip))                                                        \
    /* DecodeVideoFrame, VideoTrackDecodeFrame; `job` is the client's copy of the caller's. */     \
    ENTRY(R3D_AAM, int(void* clip, std::size_t track, std::size_t frame, VideoDecodeJob* job))     \
    /* GetDefaultImageProcessingSettings. */                                                       \
    ENTRY(R3D_AAN, void(void* clip, ImageProcessingSettings& settings))                            \
    /* GetClipImageProcessingSettings. */                                                          \
    ENTRY(R3D_AAO, int(void* clip, ImageProcessingSettings& settings))                             \
    /* CreateOrUpdateRmd(ImageProcessingSettings). */                                              \
    ENTRY(R3D_AAP, int(void* clip, const ImageProcessingSettings& settings))                       \
    /* GetRmdHdrProcessingSettings. */                                                             \
    ENTRY(R3D_AAQ, int(void* clip, HdrProcessingSettings& settings, std::size_t& track))           \
    /* CreateOrUpdateRmd(HdrMode, HdrProcessingSettings, track). */                                \
    ENTRY(R3D_AAR,                                                                                 \
          int(void* clip, HdrMode mode, const HdrProcessingSettings& settings, std::size_t track)) \
    /* GetWhitebalance. */                                                                         \
    ENTRY(R3D_AAS,                                                                                 \
          int(void* clip, ImageProcessingSettings& settings, std::size_t frame, float x, float y)) \
    /* MinimumColorVersion. */                                                                     \
    ENTRY(R3D_AAT, int(void* clip))                                                                \
    /* Uuid. */                                                                                    \
    ENTRY(R3D_AAU, bool(void* clip, unsigned char* uuid))                                          \
    /* Width. */                                                                                   \
    ENTRY(R3D_AAV, std::size_t(void* clip))                                                        \
    /* Height. */                                                                                  \
    ENTRY(R3D_AAW, std::size_t(void* clip))                                                        \
    /* VideoFrameCount. */                                                                         \
    ENTRY(R3D_AAX, std::size_t(void* clip))                                                        \
    /* AudioChannelCount. */                                                                       \
    ENTRY(R3D_AAY, std::size_t(void* clip))                                                        \
    /* AudioBlockCountAndSize. */                                                                  \
    ENTRY(R3D_AAZ, std::size_t(void* clip, std::size_t* maximumSize))                              \
    /* AudioSampleCount. */                                                                        \
    ENTRY(R3D_ABA, unsigned long long(void* clip))                                                 \
    /* VideoAudioFramerate. */                                                                     \
    ENTRY(R3D_ABB, float(void* clip))                                                              \
    /* TimecodeFramerate. */                                                                       \
    ENTRY(R3D_ABC, float(void* clip))                                                              \
    /* Timecode. */                                                                                \
    ENTRY(R3D_ABD, const char*(void* clip, std::size_t frame))                                     \
    /* AbsoluteTimecode. */                                                                        \
    ENTRY(R3D_ABE, const char*(void* clip, std::size_t frame))                                     \
    /* EdgeTimecode. */                                                                            \
    ENTRY(R3D_ABF, const char*(void* clip, std::size_t frame))                                     \
    /* GetFrameMetadata: fills the frame-metadata handle `metadata`. */                            \
    ENTRY(R3D_ABG, int(void* clip, void* metadata, std::size_t frame))                             \
    /* MetadataCount. */                                                                           \
    ENTRY(R3D_ABH, std::size_t(void* clip))                                                        \
    /* MetadataExists(key). */                                                                     \
    ENTRY(R3D_ABI, bool(void* clip, const char* key))                                              \
    /* MetadataItemKey(index). */                                                                  \
    ENTRY(R3D_ABJ, bool(void* clip, std::size_t index, IStringTransfer* transfer))                 \
    /* MetadataItemAsInt(key). */                                                                  \
    ENTRY(R3D_ABK, unsigned int(void* clip, const char* key))                                      \
    /* MetadataItemAsInt(index). */                                                                \
    ENTRY(R3D_ABL, unsigned int(void* clip, std::size_t index))                                    \
    /* MetadataItemAsString(key). */                                                               \
    ENTRY(R3D_ABM, bool(void* clip, const char* key, IStringTransfer* transfer))                   \
    /* MetadataItemAsString(index). */                                                             \
    ENTRY(R3D_ABN, bool(void* clip, std::size_t index, IStringTransfer* transfer))                 \
    /* MetadataItemAsFloat(key). */                                                                \
    ENTRY(R3D_ABO, float(void* clip, const char* key))                                             \
    /* MetadataItemAsFloat(index). */                                                              \
    ENTRY(R3D_ABP, float(void* clip, std::size_t index))                                           \
    /* MetadataItemType(key). */                                                                   \
    ENTRY(R3D_ABQ, int(void* clip, const char* key))                                               \
    /* MetadataItemType(index). */                                                                 \
    ENTRY(R3D_ABR, int(void* clip, std::size_t index))                                             \
    /* MarkerCount. */                                                                             \
    ENTRY(R3D_ABS, std::size_t(void* clip))                                                        \
    /* GetMarker. */                                                                               \
    ENTRY(R3D_ABT, bool(void* clip, std::size_t index, Marker& marker))                            \
    /* CreateTrimFrom: `clip` is the handle of the clip to trim. */                                \
    ENTRY(R3D_ABU, int(void* clip, const char* path, std::size_t startFrame, std::size_t endFrame, \
                       bool includeAudio, void* privateData,                                       \
                       bool (*callback)(CreateStatus status, void* privateData,                    \
                                        std::size_t frameDone, std::size_t frameCount)))           \
    /* CreateSnapshotFrom: `clip` is the handle of the clip to take from. */                       \
    ENTRY(R3D_ABV, int(void* clip, const char* path, std::size_t frame))                           \
    /* CreateOrUpdateRmd(text). */                                                                 \
    ENTRY(R3D_ABW, int(void* clip, const char* rmd))                                               \
    /* GetRmdXmp. */                                                                               \
    ENTRY(R3D_ABX, bool(void* clip, IStringTransfer* transfer))                                    \
    /* GetCameraMatrices: the all-ones frame stands for the clip. */                               \
    ENTRY(R3D_ADB, int(void* clip, std::size_t frame, const ImageProcessingSettings& settings,     \
                       ColorMatrices& matrices))                                                   \
    /* ClipFileCount. */                                                                           \
    ENTRY(R3D_ABY, std::size_t(void* clip))                                                        \
    /* FilenameVideoAndAudioCount. */                                                              \
    ENTRY(R3D_ABZ,                                                                                 \
          bool(void* clip, std::size_t file, std::size_t& videoCount, std::size_t& audioCount))    \
    /* FileVideoOffsetAndSize. */                                                                  \
    ENTRY(R3D_ACA, bool(void* clip, std::size_t file, std::size_t track, std::size_t frame,        \
                        unsigned long long& offset, unsigned long long& size))                     \
    /* FileAudioOffsetAndSize. */                                                                  \
    ENTRY(R3D_ACC, bool(void* clip, std::size_t file, std::size_t block,                           \
                        unsigned long long& offset, unsigned long long& size))                     \
    /* GetFrameMetadata with the previous frame's metadata handle. */                              \
    ENTRY(R3D_ACF,                                                                                 \
          int(void* clip, void* metadata, std::size_t frame, void* previous, bool* changed))       \
    /* DefaultColorVersion. */                                                                     \
    ENTRY(R3D_ACG, int(void* clip))                                                                \
    /* Camera3DLutPresent. */                                                                      \
    ENTRY(R3D_ACH, bool(void* clip))                                                               \
    /* Load3DLut. */                                                                               \
    ENTRY(R3D_ACI, void*(void* clip, const char* path))                                            \
    /* FileListCount. */                                                                           \
    ENTRY(R3D_ACL, std::size_t(void* clip))                                                        \
    /* FileList. */                                                                                \
    ENTRY(R3D_ACM, int(void* clip, std::size_t index, IStringTransfer* transfer))                  \
    /* GetHeaderSizes. */                                                                          \
    ENTRY(R3D_ACJ, bool(void* clip, std::size_t& headerSize, std::size_t& audioHeaderSize))        \
    /* ExternalETMetadataPresent. */                                                               \
    ENTRY(R3D_ACN, bool(void* clip))                                                               \
    /* ExternalETMetadataCount. */                                                                 \
    ENTRY(R3D_ACO, std::size_t(void* clip))                                                        \
    /* ExternalETMetadata. */                                                                      \
    ENTRY(R3D_ACP, const char*(void* clip, std::size_t index))                                     \
    /* IMUSampleCount. */                                                                          \
    ENTRY(R3D_ACQ, std::size_t(void* clip))                                                        \
    /* DecodeIMUSamples. */                                                                        \
    ENTRY(R3D_ACR, int(void* clip, IMUSample* samples, std::size_t start, std::size_t count))      \
    /* CheckFrame. */                                                                              \
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
