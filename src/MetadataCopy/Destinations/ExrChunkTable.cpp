#include "MetadataCopy/Destinations/ExrChunkTable.hpp"

#include <OpenEXR/ImfCompression.h>
#include <OpenEXR/ImfLineOrder.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace MetadataCopy {

namespace {

bool readAt(int descriptor, unsigned char* target, std::uint64_t count, std::uint64_t offset) {
    std::uint64_t done = 0;
    while (done < count) {
        const ssize_t result =
            ::pread(descriptor, target + done, count - done, static_cast<off_t>(offset + done));
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            return false;
        }
        done += static_cast<std::uint64_t>(result);
    }
    return true;
}

std::uint64_t littleEndian(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int index = count - 1; index >= 0; --index) {
        value = value << 8 | bytes[index];
    }
    return value;
}

} // namespace

int ExrChunkTable::linesPerChunk(Imf::Compression compression) {
    switch (compression) {
    case Imf::NO_COMPRESSION:
    case Imf::RLE_COMPRESSION:
    case Imf::ZIPS_COMPRESSION:
        return 1;
    case Imf::ZIP_COMPRESSION:
    case Imf::PXR24_COMPRESSION:
        return 16;
    case Imf::PIZ_COMPRESSION:
    case Imf::B44_COMPRESSION:
    case Imf::B44A_COMPRESSION:
    case Imf::DWAA_COMPRESSION:
        return 32;
    case Imf::DWAB_COMPRESSION:
        return 256;
    default:
        return 0;
    }
}

ExrChunkTable::ExrChunkTable(int descriptor, std::uint64_t byteCount, std::uint64_t tableStart,
                             const Imf::Header& header) {
    consistent = check(descriptor, byteCount, tableStart, header);
}

bool ExrChunkTable::check(int descriptor, std::uint64_t byteCount, std::uint64_t tableStart,
                          const Imf::Header& header) {
    const int lines = linesPerChunk(header.compression());
    const Imath::Box2i& window = header.dataWindow();
    if (lines == 0 || window.max.y < window.min.y || tableStart > byteCount) {
        return false;
    }
    const std::uint64_t height = static_cast<std::uint64_t>(
        static_cast<std::int64_t>(window.max.y) - static_cast<std::int64_t>(window.min.y) + 1);
    const std::uint64_t chunkCount =
        (height + static_cast<std::uint64_t>(lines) - 1) / static_cast<std::uint64_t>(lines);
    // The table must lie in the file before anything of its size is allocated.
    if (chunkCount > (byteCount - tableStart) / 8) {
        return false;
    }
    const std::uint64_t tableEnd = tableStart + chunkCount * 8;
    std::vector<unsigned char> table(chunkCount * 8);
    if (!readAt(descriptor, table.data(), table.size(), tableStart)) {
        return false;
    }
    std::vector<std::uint64_t> entries(chunkCount);
    bool complete = true;
    for (std::uint64_t index = 0; index < chunkCount; ++index) {
        entries[index] = littleEndian(&table[index * 8], 8);
        complete = complete && entries[index] != 0 && entries[index] < byteCount;
    }

    const bool decreasing = header.lineOrder() == Imf::DECREASING_Y;
    // Where OpenEXR starts: the first chunk of the line order as the table
    // names it, or, where the table must be rebuilt, the table's end.
    std::uint64_t position = complete ? entries[decreasing ? chunkCount - 1 : 0] : tableEnd;
    for (std::uint64_t step = 0; step < chunkCount; ++step) {
        const std::uint64_t index = decreasing ? chunkCount - 1 - step : step;
        const std::uint64_t entry = entries[index];
        if (entry != 0 && entry < byteCount && entry != position) {
            return false;
        }
        unsigned char chunkHeader[8];
        if (position > byteCount - 8 || !readAt(descriptor, chunkHeader, 8, position)) {
            return false;
        }
        const std::uint64_t size = littleEndian(chunkHeader + 4, 4);
        if (size > 0x7fffffffu || size > byteCount - position - 8) {
            return false;
        }
        position += 8 + size;
    }
    chunksEnd = position;
    return true;
}

} // namespace MetadataCopy
