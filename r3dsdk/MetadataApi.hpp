// Everything R3DSDK::Metadata reaches in the decoder library, in table order.
// Filled from one loaded library by LoadSymbols; every entry is null until then.
#pragma once

#include "DynamicApi.hpp"

#include <cstddef>

namespace R3DSDK {

class IStringTransfer;

class MetadataApi : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = 13;

    MetadataApi();
    ~MetadataApi() override;

    const char* Name() const override;
    bool LoadSymbols(const DynamicLibrary* library) override;
    void Reset() override;

    // 0: Metadata(): given the object's address, its two words set; returns the frame-metadata
    // handle.
    void* (*R3D_BAB)(void* object);
    // 1: ~Metadata: releases the handle.
    void (*R3D_BAA)(void* metadata);
    // 2: MetadataCount.
    std::size_t (*R3D_BAC)(void* metadata);
    // 3: MetadataExists.
    bool (*R3D_BAD)(void* metadata, const char* key);
    // 4: MetadataItemKey.
    bool (*R3D_BAE)(void* metadata, std::size_t index, IStringTransfer* transfer);
    // 5: MetadataItemAsInt(key).
    unsigned int (*R3D_BAF)(void* metadata, const char* key);
    // 6: MetadataItemAsInt(index).
    unsigned int (*R3D_BAG)(void* metadata, std::size_t index);
    // 7: MetadataItemAsString(key).
    bool (*R3D_BAH)(void* metadata, const char* key, IStringTransfer* transfer);
    // 8: MetadataItemAsString(index).
    bool (*R3D_BAI)(void* metadata, std::size_t index, IStringTransfer* transfer);
    // 9: MetadataItemAsFloat(key).
    float (*R3D_BAJ)(void* metadata, const char* key);
    // 10: MetadataItemAsFloat(index).
    float (*R3D_BAK)(void* metadata, std::size_t index);
    // 11: MetadataItemType(key).
    int (*R3D_BAL)(void* metadata, const char* key);
    // 12: MetadataItemType(index).
    int (*R3D_BAM)(void* metadata, std::size_t index);
};

} // namespace R3DSDK
