// The record of what was written into a new file, kept while it is written so
// that the file can later be read back and found to hold exactly those bytes:
// their length and an XXH3 hash of them in order, which takes about the time
// that a copy kept in memory takes, its allocation counted, without the
// memory (a frame's size, again). A hash cannot follow bytes written over
// earlier ones (OpenEXR writes its table of chunk offsets last, over the zeros
// that it put there first), so the one region that covers every such
// overwrite is kept twice: as first written, which is what the hash took, and
// as it stands now, which is what the file must hold there.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace MetadataCopy {

class WrittenBytes {
public:
    /// Reads count bytes of the file at offset into target; false on failure.
    using EarlierBytes =
        std::function<bool(char* target, std::uint64_t count, std::uint64_t offset)>;

    WrittenBytes();
    ~WrittenBytes();

    WrittenBytes(const WrittenBytes&) = delete;
    WrittenBytes& operator=(const WrittenBytes&) = delete;

    /// Notes count bytes about to be written at offset. A write beyond the end
    /// leaves a hole, which reads as zeros. Bytes that the write replaces are
    /// read from the file once, through earlier, the first time that they are
    /// overwritten; false when that fails, and the record is then no longer
    /// of use.
    bool note(std::uint64_t offset, const char* bytes, std::uint64_t count,
              const EarlierBytes& earlier);

    /// The length of the file as written.
    std::uint64_t length() const { return size; }

    /// Whether the open file holds exactly the bytes noted, read back at
    /// explicit positions in blocks of readBackBlock.
    bool isHeldBy(int descriptor) const;

    static constexpr std::uint64_t readBackBlock = 128 << 10;

private:
    void hash(const char* bytes, std::uint64_t count);

    static constexpr std::uint64_t readAhead = 4 << 10;

    struct HashState;
    std::unique_ptr<HashState> state;
    std::uint64_t size = 0;
    bool usable = true;
    // The overwritten region: where it starts, its bytes as first written and
    // as they are now (of the same length).
    std::uint64_t regionStart = 0;
    std::string firstWritten;
    std::string current;
};

} // namespace MetadataCopy
