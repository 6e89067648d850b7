// Everything R3DSDK::Metadata reaches in the decoder library, in table order.
#pragma once

#include "DynamicApi.hpp"

#include <cstddef>

#define OKALU_METADATA_API_ENTRIES(ENTRY)                                                          \
    /* 0: Metadata(): given the object's address, its two words set; returns its handle. */        \
    ENTRY(R3D_BAB, void*(void* object))                                                            \
    /* 1: ~Metadata: releases the handle. */                                                       \
    ENTRY(R3D_BAA, void(void* metadata))                                                           \
    /* 2: MetadataCount. */                                                                        \
    ENTRY(R3D_BAC, std::size_t(void* metadata))                                                    \
    /* 3: MetadataExists. */                                                                       \
    ENTRY(R3D_BAD, bool(void* metadata, const char* key))                                          \
    /* 4: MetadataItemKey. */                                                                      \
    ENTRY(R3D_BAE, bool(void* metadata, std::size_t index, IStringTransfer* transfer))             \
    /* 5: MetadataItemAsInt(key). */                                                               \
    ENTRY(R3D_BAF, unsigned int(void* metadata, const char* key))                                  \
    /* 6: MetadataItemAsInt(index). */                                                             \
    ENTRY(R3D_BAG, unsigned int(void* metadata, std::size_t index))                                \
    /* 7: MetadataItemAsString(key). */                                                            \
    ENTRY(R3D_BAH, bool(void* metadata, const char* key, IStringTransfer* transfer))               \
    /* 8: MetadataItemAsString(index). */                                                          \
    ENTRY(R3D_BAI, bool(void* metadata, std::size_t index, IStringTransfer* transfer))             \
    /* 9: MetadataItemAsFloat(key). */                                                             \
    ENTRY(R3D_BAJ, float(void* metadata, const char* key))                                         \
    /* 10: MetadataItemAsFloat(index). */                                                          \
    ENTRY(R3D_BAK, float(void* metadata, std::size_t index))                                       \
    /* 11: MetadataItemType(key). */                                                               \
    ENTRY(R3D_BAL, int(void* metadata, const char* key))                                           \
    /* 12: MetadataItemType(index). */                                                             \
    ENTRY(R3D_BAM, int(void* metadata, std::size_t index))

namespace R3DSDK {

class IStringTransfer;

class MetadataApi : public DynamicApi {
public:
    OKALU_ENTRY_TABLE(MetadataApi, OKALU_METADATA_API_ENTRIES)
};

} // namespace R3DSDK
