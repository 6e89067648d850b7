// The stand-in's clip and frame-metadata entries. Clips are the project's own
// text clips (ClipFormat.md): the entries on okalu-tafe's road open them, tell
// their status, answer their items and frame count, and fill frame metadata.
// Every other entry fails: a failure status, zero, or nothing stored.
#include "StandinConfig.hpp"
#include "TextClip.hpp"

#include "ClipApi.hpp"
#include "IStringTransfer.hpp"
#include "MetadataApi.hpp"

#include <cstddef>
#include <cstring>
#include <new>
#include <string>

using std::size_t;
using namespace R3DSDK;

namespace {

// What a frame-metadata handle holds: copies of one frame's items, so that it
// stays valid whatever happens to the clip.
struct FrameItems {
    std::string absoluteTimecode;
    std::string lensData;
};

const StandIn::TextClip* clipOf(void* handle) {
    return static_cast<const StandIn::TextClip*>(handle);
}

FrameItems* itemsOf(void* handle) {
    return static_cast<FrameItems*>(handle);
}

// An item that the clip does not have stores nothing, so the client reads an
// empty text.
bool storeText(IStringTransfer* transfer, const char* text) {
    if (transfer == nullptr || text == nullptr) {
        return false;
    }
    transfer->Store(text);
    return true;
}

} // namespace

OKALU_FAILING_ENTRY(void*, R3D_AAB, (void*), nullptr)
OKALU_EXPORT void* R3D_AAC(const char* path) {
    // Whatever the file holds, the client gets a handle and learns from the
    // status whether the clip is usable.
    try {
        return new StandIn::TextClip(path);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
OKALU_EXPORT void R3D_AAA(void* clip) {
    delete clipOf(clip);
}
OKALU_EXPORT int R3D_AAD(void* clip) {
    return clip == nullptr ? StandIn::TextClip::StatusCannotOpen : clipOf(clip)->status();
}
OKALU_FAILING_ENTRY(int, R3D_AAE, (void*, const char*), StubFailure)
OKALU_EXPORT void R3D_AAF(void*) {}
OKALU_EXPORT void R3D_AAG(void*) {}
// R3D_ACK, which a variant may leave out, is in StandinLibrary.cpp.
OKALU_FAILING_ENTRY(const char*, R3D_AAH, (void*), nullptr)
OKALU_STUB_ENTRY(R3D_AAI)
OKALU_FAILING_ENTRY(int, R3D_AAJ, (void*, std::size_t, void*, std::size_t*), StubFailure)
OKALU_FAILING_ENTRY(int, R3D_AAK, (void*, unsigned long long, std::size_t*, void*, std::size_t),
                    StubFailure)
OKALU_FAILING_ENTRY(std::size_t, R3D_AAL, (void*), 0)
OKALU_FAILING_ENTRY(int, R3D_AAM, (void*, std::size_t, std::size_t, VideoDecodeJob*), StubFailure)
OKALU_EXPORT void R3D_AAN(void*, ImageProcessingSettings&) {}
OKALU_FAILING_ENTRY(int, R3D_AAO, (void*, ImageProcessingSettings&), StubFailure)
OKALU_FAILING_ENTRY(int, R3D_AAP, (void*, const ImageProcessingSettings&), StubFailure)
OKALU_FAILING_ENTRY(int, R3D_AAQ, (void*, HdrProcessingSettings&, std::size_t&), StubFailure)
OKALU_FAILING_ENTRY(int, R3D_AAR, (void*, HdrMode, const HdrProcessingSettings&, std::size_t),
                    StubFailure)
OKALU_FAILING_ENTRY(int, R3D_AAS, (void*, ImageProcessingSettings&, std::size_t, float, float),
                    StubFailure)
OKALU_FAILING_ENTRY(int, R3D_AAT, (void*), StubFailure)
OKALU_FAILING_ENTRY(bool, R3D_AAU, (void*, unsigned char*), false)
OKALU_FAILING_ENTRY(std::size_t, R3D_AAV, (void*), 0)
OKALU_FAILING_ENTRY(std::size_t, R3D_AAW, (void*), 0)
OKALU_EXPORT std::size_t R3D_AAX(void* clip) {
    return clip == nullptr ? 0 : clipOf(clip)->frameCount();
}
OKALU_FAILING_ENTRY(std::size_t, R3D_AAY, (void*), 0)
OKALU_FAILING_ENTRY(std::size_t, R3D_AAZ, (void*, std::size_t*), 0)
OKALU_FAILING_ENTRY(unsigned long long, R3D_ABA, (void*), 0)
OKALU_FAILING_ENTRY(float, R3D_ABB, (void*), 0.0f)
OKALU_FAILING_ENTRY(float, R3D_ABC, (void*), 0.0f)
OKALU_FAILING_ENTRY(const char*, R3D_ABD, (void*, std::size_t), nullptr)
OKALU_FAILING_ENTRY(const char*, R3D_ABE, (void*, std::size_t), nullptr)
OKALU_FAILING_ENTRY(const char*, R3D_ABF, (void*, std::size_t), nullptr)
OKALU_EXPORT int R3D_ABG(void* clip, void* metadata, std::size_t frame) {
    if (metadata == nullptr) {
        return StubFailure;
    }
    FrameItems& items = *itemsOf(metadata);
    const StandIn::TextClip::Frame* found = clip == nullptr ? nullptr : clipOf(clip)->frame(frame);
    if (found == nullptr) {
        // A frame that does not exist leaves no items of an earlier frame.
        items = FrameItems();
        return StubFailure;
    }
    items.absoluteTimecode = found->absoluteTimecode;
    items.lensData = found->lensData;
    return 0;
}
OKALU_FAILING_ENTRY(std::size_t, R3D_ABH, (void*), 0)
OKALU_FAILING_ENTRY(bool, R3D_ABI, (void*, const char*), false)
OKALU_FAILING_ENTRY(bool, R3D_ABJ, (void*, std::size_t, IStringTransfer*), false)
OKALU_EXPORT unsigned int R3D_ABK(void* clip, const char* key) {
    return clip == nullptr ? 0 : clipOf(clip)->itemAsInt(key);
}
OKALU_FAILING_ENTRY(unsigned int, R3D_ABL, (void*, std::size_t), 0)
OKALU_EXPORT bool R3D_ABM(void* clip, const char* key, IStringTransfer* transfer) {
    return clip != nullptr && storeText(transfer, clipOf(clip)->itemAsString(key));
}
OKALU_FAILING_ENTRY(bool, R3D_ABN, (void*, std::size_t, IStringTransfer*), false)
OKALU_EXPORT float R3D_ABO(void* clip, const char* key) {
    return clip == nullptr ? 0.0f : clipOf(clip)->itemAsFloat(key);
}
OKALU_FAILING_ENTRY(float, R3D_ABP, (void*, std::size_t), 0.0f)
OKALU_FAILING_ENTRY(int, R3D_ABQ, (void*, const char*), StubFailure)
OKALU_FAILING_ENTRY(int, R3D_ABR, (void*, std::size_t), StubFailure)
OKALU_FAILING_ENTRY(std::size_t, R3D_ABS, (void*), 0)
OKALU_FAILING_ENTRY(bool, R3D_ABT, (void*, std::size_t, Marker&), false)
OKALU_FAILING_ENTRY(int, R3D_ABU,
                    (void*, const char*, std::size_t, std::size_t, bool, void*,
                     bool (*)(CreateStatus, void*, std::size_t, std::size_t)),
                    StubFailure)
OKALU_FAILING_ENTRY(int, R3D_ABV, (void*, const char*, std::size_t), StubFailure)
OKALU_FAILING_ENTRY(int, R3D_ABW, (void*, const char*), StubFailure)
OKALU_FAILING_ENTRY(bool, R3D_ABX, (void*, IStringTransfer*), false)
OKALU_FAILING_ENTRY(int, R3D_ADB,
                    (void*, std::size_t, const ImageProcessingSettings&, ColorMatrices&),
                    StubFailure)
OKALU_FAILING_ENTRY(std::size_t, R3D_ABY, (void*), 0)
OKALU_FAILING_ENTRY(bool, R3D_ABZ, (void*, std::size_t, std::size_t&, std::size_t&), false)
OKALU_FAILING_ENTRY(bool, R3D_ACA,
                    (void*, std::size_t, std::size_t, std::size_t, unsigned long long&,
                     unsigned long long&),
                    false)
OKALU_FAILING_ENTRY(bool, R3D_ACC,
                    (void*, std::size_t, std::size_t, unsigned long long&, unsigned long long&),
                    false)
OKALU_FAILING_ENTRY(int, R3D_ACF, (void*, void*, std::size_t, void*, bool*), StubFailure)
OKALU_FAILING_ENTRY(int, R3D_ACG, (void*), StubFailure)
OKALU_FAILING_ENTRY(bool, R3D_ACH, (void*), false)
OKALU_FAILING_ENTRY(void*, R3D_ACI, (void*, const char*), nullptr)
OKALU_FAILING_ENTRY(std::size_t, R3D_ACL, (void*), 0)
OKALU_FAILING_ENTRY(int, R3D_ACM, (void*, std::size_t, IStringTransfer*), StubFailure)
OKALU_FAILING_ENTRY(bool, R3D_ACJ, (void*, std::size_t&, std::size_t&), false)
OKALU_FAILING_ENTRY(bool, R3D_ACN, (void*), false)
OKALU_FAILING_ENTRY(std::size_t, R3D_ACO, (void*), 0)
OKALU_FAILING_ENTRY(const char*, R3D_ACP, (void*, std::size_t), nullptr)
OKALU_FAILING_ENTRY(std::size_t, R3D_ACQ, (void*), 0)
OKALU_FAILING_ENTRY(int, R3D_ACR, (void*, IMUSample*, std::size_t, std::size_t), StubFailure)
OKALU_FAILING_ENTRY(int, R3D_ADC, (void*, std::size_t), StubFailure)

OKALU_EXPORT void* R3D_BAB(void*) {
    try {
        return new FrameItems();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
OKALU_EXPORT void R3D_BAA(void* metadata) {
    delete itemsOf(metadata);
}
OKALU_FAILING_ENTRY(std::size_t, R3D_BAC, (void*), 0)
OKALU_FAILING_ENTRY(bool, R3D_BAD, (void*, const char*), false)
OKALU_FAILING_ENTRY(bool, R3D_BAE, (void*, std::size_t, IStringTransfer*), false)
OKALU_FAILING_ENTRY(unsigned int, R3D_BAF, (void*, const char*), 0)
OKALU_FAILING_ENTRY(unsigned int, R3D_BAG, (void*, std::size_t), 0)
OKALU_EXPORT bool R3D_BAH(void* metadata, const char* key, IStringTransfer* transfer) {
    if (metadata == nullptr || key == nullptr) {
        return false;
    }
    const FrameItems& items = *itemsOf(metadata);
    const std::string* text = nullptr;
    if (std::strcmp(key, "lens_okalu_telvar_dynamic") == 0) {
        text = &items.lensData;
    } else if (std::strcmp(key, "frame_absolute_timecode") == 0) {
        text = &items.absoluteTimecode;
    }
    return text != nullptr && !text->empty() && storeText(transfer, text->c_str());
}
OKALU_FAILING_ENTRY(bool, R3D_BAI, (void*, std::size_t, IStringTransfer*), false)
OKALU_FAILING_ENTRY(float, R3D_BAJ, (void*, const char*), 0.0f)
OKALU_FAILING_ENTRY(float, R3D_BAK, (void*, std::size_t), 0.0f)
OKALU_FAILING_ENTRY(int, R3D_BAL, (void*, const char*), StubFailure)
OKALU_FAILING_ENTRY(int, R3D_BAM, (void*, std::size_t), StubFailure)

// Every entry above has the form the client's tables call it by.
OKALU_CLIP_API_ENTRIES(OKALU_CHECK_FORM)
OKALU_METADATA_API_ENTRIES(OKALU_CHECK_FORM)
