// Everything R3DSDK::Metadata reaches in the decoder library, in lookup order;
// the comment above an entry names the wrapper that calls it.
#pragma once

#include "DynamicApi.hpp"

#include <cstddef>

#define OKALU_METADATA_API_ENTRIES(ENTRY)                                                          \
    /* Metadata(): given the object's address, its two words set; returns its handle. */           \
    ENTRY(R3D_BAB, void*(void* object))                                                            \
    /* ~Metadata: releases the handle. */                                                          \
    ENTRY(R3D_BAA, void(void* metadata))                                                           \
    /* MetadataCount. */                                                                           \
    ENTRY(R3D_BAC, std::size_t(void* metadata))                                                    \
    /* MetadataExists. */                                                                          \
    ENTRY(R3D_BAD, bool(void* metadata, const char* key))                                          \
    /* MetadataItemKey. */                                                                         \
    ENTRY(R3D_BAE, bool(void* metadata, std::size_t index, IStringTransfer* transfer))             \
    /* MetadataItemAsInt(key). */                                                                  \
    ENTRY(R3D_BAF, unsigned int(void* metadata, const char* key))                                  \
    /* MetadataItemAsInt(index). */                                                                \
    ENTRY(R3D_BAG, unsigned int(void* metadata, std::size_t index))                                \
    /* MetadataItemAsString(key). */                                                               \
    ENTRY(R3D_BAH, bool(void* metadata, const char* key, IStringTransfer* transfer))               \
    /* MetadataItemAsString(index). */                                                             \
    ENTRY(R3D_BAI, bool(void* metadata, std::size_t index, IStringTransfer* transfer))             \
    /* MetadataItemAsFloat(key). */                                                                \
    ENTRY(R3D_BAJ, float(void* metadata, const char* key))                                         \
    /* MetadataItemAsFloat(index). */                                                              \
    ENTRY(R3D_BAK, float(void* metadata, std::size_t index))                                       \
    /* MetadataItemType(key). */                                                                   \
    ENTRY(R3D_BAL, int(void* metadata, const char* key))                                           \
    /* MetadataItemType(index). */                                                                 \
    ENTRY(R3D_BAM, int(void* metadata, std::size_t index))

namespace R3DSDK {

class IStringTransfer;

class MetadataApi : public DynamicApi {
public:
    OKALU_ENTRY_TABLE(MetadataApi, OKALU_METADATA_API_ENTRIES)
};

} // namespace R3DSDK
