#include "Metadata.hpp"

#include "GlobalData.hpp"
#include "StringTransfer.hpp"

#include <cstddef>

namespace R3DSDK {

static_assert(sizeof(Metadata) == 16, "the library is told the object's size");

Metadata::Metadata() : structureVersion(1), structureSize(sizeof(Metadata)), handle(nullptr) {
    handle = g_metadata->R3D_BAB(this);
}

Metadata::~Metadata() {
    if (handle != nullptr) {
        g_metadata->R3D_BAA(handle);
        handle = nullptr;
    }
}

std::size_t Metadata::MetadataCount() const {
    return g_metadata->R3D_BAC(handle);
}

bool Metadata::MetadataExists(const char* key) const {
    return g_metadata->R3D_BAD(handle, key);
}

std::string Metadata::MetadataItemKey(std::size_t index) const {
    StringTransfer transfer;
    g_metadata->R3D_BAE(handle, index, &transfer);
    return transfer.Retrieve();
}

unsigned int Metadata::MetadataItemAsInt(const char* key) const {
    return g_metadata->R3D_BAF(handle, key);
}

unsigned int Metadata::MetadataItemAsInt(std::size_t index) const {
    return g_metadata->R3D_BAG(handle, index);
}

std::string Metadata::MetadataItemAsString(const char* key) const {
    StringTransfer transfer;
    g_metadata->R3D_BAH(handle, key, &transfer);
    return transfer.Retrieve();
}

std::string Metadata::MetadataItemAsString(std::size_t index) const {
    StringTransfer transfer;
    g_metadata->R3D_BAI(handle, index, &transfer);
    return transfer.Retrieve();
}

float Metadata::MetadataItemAsFloat(const char* key) const {
    return g_metadata->R3D_BAJ(handle, key);
}

float Metadata::MetadataItemAsFloat(std::size_t index) const {
    return g_metadata->R3D_BAK(handle, index);
}

int Metadata::MetadataItemType(const char* key) const {
    return g_metadata->R3D_BAL(handle, key);
}

int Metadata::MetadataItemType(std::size_t index) const {
    return g_metadata->R3D_BAM(handle, index);
}

} // namespace R3DSDK
