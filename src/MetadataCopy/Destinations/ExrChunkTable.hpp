// The chunk offset table of a single-part scan-line EXR file, checked against
// the chunks that OpenEXR copies. OpenEXR reads a file's chunks one after
// another: it seeks to the first chunk of the file's line order and takes each
// further one where the one before it ended, and where the table holds an
// empty entry it rebuilds the whole table the same way from the table's end.
// A file in which a chunk was patched (a new version appended and the table
// pointed at it, the old one left in place) would come out with the old chunk,
// while readers that follow the table, as the format requires, see the new
// one. Only each chunk's 8-byte header (its first line and its size) is read.
#pragma once

#include <OpenEXR/ImfCompression.h>
#include <OpenEXR/ImfHeader.h>

#include <cstdint>

namespace MetadataCopy {

class ExrChunkTable {
public:
    /// Reads the table, which starts at tableStart in the file open at
    /// descriptor (byteCount bytes long), for the file's header, and follows
    /// the chunks from the first as OpenEXR reads them. Throws nothing.
    ExrChunkTable(int descriptor, std::uint64_t byteCount, std::uint64_t tableStart,
                  const Imf::Header& header);

    /// Whether every chunk that OpenEXR reads lies inside the file and is
    /// the one that the table names for its place. An entry that is empty
    /// (0) or points past the file names nothing, so a table that lost its
    /// entries still passes when the chunks follow one another.
    bool namesTheChunksRead() const { return consistent; }

    /// The end of the last chunk read, where OpenEXR's reading stops.
    std::uint64_t endOfChunks() const { return chunksEnd; }

    /// The scan lines in one chunk for each compression, as the file format
    /// fixes them; 0 for a compression that OpenEXR does not know.
    static int linesPerChunk(Imf::Compression compression);

private:
    bool check(int descriptor, std::uint64_t byteCount, std::uint64_t tableStart,
               const Imf::Header& header);

    bool consistent = false;
    std::uint64_t chunksEnd = 0;
};

} // namespace MetadataCopy
