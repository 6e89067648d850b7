#include "Clip.hpp"

#include "GlobalData.hpp"
#include "Metadata.hpp"
#include "StringTransfer.hpp"
#include "VideoDecodeJob.hpp"

#include <cstring>
#include <limits>

namespace R3DSDK {

namespace {

// The frame number by which the library is asked about the clip as a whole.
constexpr std::size_t WholeClip = std::numeric_limits<std::size_t>::max();

// The library expects, in the job's last field, the second pointer-sized word
// of the object that the caller put there, not the object's address.
VideoDecodeJob libraryJob(const VideoDecodeJob& job) {
    VideoDecodeJob copy = job;
    if (copy.Extension != nullptr) {
        const void* word = nullptr;
        std::memcpy(&word, static_cast<const unsigned char*>(job.Extension) + sizeof(void*),
                    sizeof word);
        copy.Extension = word;
    }
    return copy;
}

} // namespace

Clip::Clip() : handle(nullptr) {
    handle = g_clip->R3D_AAB(this);
}

Clip::Clip(const char* path) : handle(g_clip->R3D_AAC(path)) {}

Clip::~Clip() {
    if (handle != nullptr) {
        g_clip->R3D_AAA(handle);
        handle = nullptr;
    }
}

int Clip::LoadFrom(const char* path) {
    return g_clip->R3D_AAE(handle, path);
}

void Clip::Close() {
    g_clip->R3D_AAF(handle);
}

void Clip::CloseFileHandles() {
    g_clip->R3D_AAG(handle);
}

int Clip::Status() const {
    return g_clip->R3D_AAD(handle);
}

bool Clip::RmdSidecarPresent() const {
    return g_clip->R3D_ACK(handle);
}

const char* Clip::GetRmdPath() const {
    return g_clip->R3D_AAH(handle);
}

int Clip::DecodeAudioBlock(std::size_t block, void* output, std::size_t* bufferSize) const {
    return g_clip->R3D_AAJ(handle, block, output, bufferSize);
}

int Clip::DecodeAudio(unsigned long long startSample, std::size_t* sampleCount, void* output,
                      std::size_t bufferSize) const {
    return g_clip->R3D_AAK(handle, startSample, sampleCount, output, bufferSize);
}

std::size_t Clip::VideoTrackCount() const {
    return g_clip->R3D_AAL(handle);
}

int Clip::DecodeVideoFrame(std::size_t frame, const VideoDecodeJob& job) const {
    return VideoTrackDecodeFrame(0, frame, job);
}

int Clip::VideoTrackDecodeFrame(std::size_t track, std::size_t frame,
                                const VideoDecodeJob& job) const {
    VideoDecodeJob copy = libraryJob(job);
    return g_clip->R3D_AAM(handle, track, frame, &copy);
}

void Clip::GetDefaultImageProcessingSettings(ImageProcessingSettings& settings) const {
    g_clip->R3D_AAN(handle, settings);
}

int Clip::GetClipImageProcessingSettings(ImageProcessingSettings& settings) const {
    return g_clip->R3D_AAO(handle, settings);
}

int Clip::CreateOrUpdateRmd(const ImageProcessingSettings& settings) const {
    return g_clip->R3D_AAP(handle, settings);
}

int Clip::GetRmdHdrProcessingSettings(HdrProcessingSettings& settings, std::size_t& track) const {
    return g_clip->R3D_AAQ(handle, settings, track);
}

int Clip::CreateOrUpdateRmd(HdrMode mode, const HdrProcessingSettings& settings,
                            std::size_t track) const {
    return g_clip->R3D_AAR(handle, mode, settings, track);
}

int Clip::GetWhitebalance(ImageProcessingSettings& settings, std::size_t frame, float x,
                          float y) const {
    return g_clip->R3D_AAS(handle, settings, frame, x, y);
}

int Clip::MinimumColorVersion() const {
    return g_clip->R3D_AAT(handle);
}

bool Clip::Uuid(unsigned char* uuid) const {
    return g_clip->R3D_AAU(handle, uuid);
}

std::size_t Clip::Width() const {
    return g_clip->R3D_AAV(handle);
}

std::size_t Clip::Height() const {
    return g_clip->R3D_AAW(handle);
}

std::size_t Clip::VideoFrameCount() const {
    return g_clip->R3D_AAX(handle);
}

std::size_t Clip::AudioChannelCount() const {
    return g_clip->R3D_AAY(handle);
}

std::size_t Clip::AudioBlockCountAndSize(std::size_t* maximumSize) const {
    return g_clip->R3D_AAZ(handle, maximumSize);
}

unsigned long long Clip::AudioSampleCount() const {
    return g_clip->R3D_ABA(handle);
}

float Clip::VideoAudioFramerate() const {
    return g_clip->R3D_ABB(handle);
}

float Clip::TimecodeFramerate() const {
    return g_clip->R3D_ABC(handle);
}

const char* Clip::Timecode(std::size_t frame) const {
    return g_clip->R3D_ABD(handle, frame);
}

const char* Clip::AbsoluteTimecode(std::size_t frame) const {
    return g_clip->R3D_ABE(handle, frame);
}

const char* Clip::EdgeTimecode(std::size_t frame) const {
    return g_clip->R3D_ABF(handle, frame);
}

int Clip::GetFrameMetadata(Metadata& metadata, std::size_t frame) const {
    return g_clip->R3D_ABG(handle, metadata.handle, frame);
}

int Clip::GetFrameMetadata(Metadata& metadata, std::size_t frame, Metadata* previous,
                           bool* changed) const {
    if (previous == nullptr || previous->handle == nullptr) {
        return GetFrameMetadata(metadata, frame);
    }
    return g_clip->R3D_ACF(handle, metadata.handle, frame, previous->handle, changed);
}

std::size_t Clip::MetadataCount() const {
    return g_clip->R3D_ABH(handle);
}

bool Clip::MetadataExists(const char* key) const {
    return g_clip->R3D_ABI(handle, key);
}

std::string Clip::MetadataItemKey(std::size_t index) const {
    StringTransfer transfer;
    g_clip->R3D_ABJ(handle, index, &transfer);
    return transfer.Retrieve();
}

unsigned int Clip::MetadataItemAsInt(const char* key) const {
    return g_clip->R3D_ABK(handle, key);
}

unsigned int Clip::MetadataItemAsInt(std::size_t index) const {
    return g_clip->R3D_ABL(handle, index);
}

std::string Clip::MetadataItemAsString(const char* key) const {
    StringTransfer transfer;
    g_clip->R3D_ABM(handle, key, &transfer);
    return transfer.Retrieve();
}

std::string Clip::MetadataItemAsString(std::size_t index) const {
    StringTransfer transfer;
    g_clip->R3D_ABN(handle, index, &transfer);
    return transfer.Retrieve();
}

float Clip::MetadataItemAsFloat(const char* key) const {
    return g_clip->R3D_ABO(handle, key);
}

float Clip::MetadataItemAsFloat(std::size_t index) const {
    return g_clip->R3D_ABP(handle, index);
}

int Clip::MetadataItemType(const char* key) const {
    return g_clip->R3D_ABQ(handle, key);
}

int Clip::MetadataItemType(std::size_t index) const {
    return g_clip->R3D_ABR(handle, index);
}

std::size_t Clip::MarkerCount() const {
    return g_clip->R3D_ABS(handle);
}

bool Clip::GetMarker(std::size_t index, Marker& marker) const {
    return g_clip->R3D_ABT(handle, index, marker);
}

int Clip::CreateTrimFrom(const Clip& source, const char* path, std::size_t startFrame,
                         std::size_t endFrame, bool includeAudio, void* privateData,
                         TrimCallback callback) {
    return g_clip->R3D_ABU(source.handle, path, startFrame, endFrame, includeAudio, privateData,
                           callback);
}

int Clip::CreateSnapshotFrom(const Clip& source, const char* path, std::size_t frame) {
    return g_clip->R3D_ABV(source.handle, path, frame);
}

int Clip::CreateOrUpdateRmd(std::string rmd) const {
    return g_clip->R3D_ABW(handle, rmd.c_str());
}

bool Clip::GetRmdXmp(std::string& out) const {
    StringTransfer transfer;
    const bool found = g_clip->R3D_ABX(handle, &transfer);
    if (found) {
        out = transfer.Retrieve();
    }
    return found;
}

int Clip::GetCameraMatrices(const ImageProcessingSettings& settings,
                            ColorMatrices& matrices) const {
    return GetCameraMatrices(WholeClip, settings, matrices);
}

int Clip::GetCameraMatrices(std::size_t frame, const ImageProcessingSettings& settings,
                            ColorMatrices& matrices) const {
    return g_clip->R3D_ADB(handle, frame, settings, matrices);
}

std::size_t Clip::ClipFileCount() const {
    return g_clip->R3D_ABY(handle);
}

bool Clip::FilenameVideoAndAudioCount(std::size_t file, std::size_t& videoCount,
                                      std::size_t& audioCount) const {
    return g_clip->R3D_ABZ(handle, file, videoCount, audioCount);
}

bool Clip::FileVideoOffsetAndSize(std::size_t file, std::size_t track, std::size_t frame,
                                  unsigned long long& offset, unsigned long long& size) const {
    return g_clip->R3D_ACA(handle, file, track, frame, offset, size);
}

bool Clip::FileVideoOffsetAndSize(std::size_t file, std::size_t frame, unsigned long long& offset,
                                  unsigned long long& size) const {
    return FileVideoOffsetAndSize(file, 0, frame, offset, size);
}

bool Clip::FileAudioOffsetAndSize(std::size_t file, std::size_t block, unsigned long long& offset,
                                  unsigned long long& size) const {
    return g_clip->R3D_ACC(handle, file, block, offset, size);
}

int Clip::DefaultColorVersion() const {
    return g_clip->R3D_ACG(handle);
}

bool Clip::Camera3DLutPresent() const {
    return g_clip->R3D_ACH(handle);
}

void* Clip::Load3DLut(const char* path) const {
    return g_clip->R3D_ACI(handle, path);
}

std::size_t Clip::FileListCount() const {
    return g_clip->R3D_ACL(handle);
}

int Clip::FileList(std::size_t index, std::string& out) const {
    StringTransfer transfer;
    const int status = g_clip->R3D_ACM(handle, index, &transfer);
    out = transfer.Retrieve();
    return status;
}

bool Clip::GetHeaderSizes(std::size_t& headerSize, std::size_t& audioHeaderSize) const {
    return g_clip->R3D_ACJ(handle, headerSize, audioHeaderSize);
}

bool Clip::ExternalETMetadataPresent() const {
    return g_clip->R3D_ACN(handle);
}

std::size_t Clip::ExternalETMetadataCount() const {
    return g_clip->R3D_ACO(handle);
}

const char* Clip::ExternalETMetadata(std::size_t index) const {
    return g_clip->R3D_ACP(handle, index);
}

std::size_t Clip::IMUSampleCount() const {
    return g_clip->R3D_ACQ(handle);
}

int Clip::DecodeIMUSamples(IMUSample* samples, std::size_t start, std::size_t count) {
    return g_clip->R3D_ACR(handle, samples, start, count);
}

int Clip::CheckFrame(std::size_t frame) const {
    return g_clip->R3D_ADC(handle, frame);
}

} // namespace R3DSDK
