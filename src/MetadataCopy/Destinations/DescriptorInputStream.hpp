// An OpenEXR input stream over a file that is already open, read at explicit
// positions (pread): the rewrite reads exactly the file that it has locked,
// without seeks and with small reads served from a buffer.
#pragma once

#include <OpenEXR/ImfIO.h>

#include <cstdint>
#include <memory>
#include <string>

namespace MetadataCopy {

class DescriptorInputStream : public Imf::IStream {
public:
    /// Reads the open file from its start; the descriptor stays the caller's.
    /// filePath only names the file in OpenEXR's messages. Throws nothing.
    DescriptorInputStream(int descriptor, const std::string& filePath);

    DescriptorInputStream(const DescriptorInputStream&) = delete;
    DescriptorInputStream& operator=(const DescriptorInputStream&) = delete;

    /// Throws Iex::InputExc when fewer than n bytes are left, or the error of
    /// a failed read; false once the last byte of the file was read.
    bool read(char c[], int n) override;
    uint64_t tellg() override { return position; }
    void seekg(uint64_t pos) override { position = pos; }

    /// Reads count bytes at offset of the open file unless it ends first,
    /// retrying interrupted reads; returns the number read, or -1 on an error.
    static int64_t readAt(int descriptor, char* target, uint64_t count, uint64_t offset);

private:
    // Fills the buffer from the given position; false on a read error.
    bool fill(uint64_t from);

    int descriptor;
    uint64_t fileSize = 0;
    uint64_t position = 0;
    std::unique_ptr<char[]> buffer;
    uint64_t bufferStart = 0;
    uint64_t bufferLength = 0;
};

} // namespace MetadataCopy
