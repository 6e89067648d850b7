#include "MetadataCopy/Destinations/DescriptorInputStream.hpp"

#include <OpenEXR/Iex.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace MetadataCopy {

namespace {

// Small reads (the header, the offset table, each chunk's own header) are
// served from the buffer; larger ones, the compressed pixel chunks, go
// straight to their place, so that the pixel data is copied no more often
// than by the system call that reads it.
constexpr uint64_t bufferSize = 16 << 10;

} // namespace

int64_t DescriptorInputStream::readAt(int descriptor, char* target, uint64_t count,
                                      uint64_t offset) {
    uint64_t done = 0;
    while (done < count) {
        const ssize_t result =
            ::pread(descriptor, target + done, count - done, static_cast<off_t>(offset + done));
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result < 0) {
            return -1;
        }
        if (result == 0) {
            break;
        }
        done += static_cast<uint64_t>(result);
    }
    return static_cast<int64_t>(done);
}

DescriptorInputStream::DescriptorInputStream(int descriptor, const std::string& filePath)
    : Imf::IStream(filePath.c_str()), descriptor(descriptor), buffer(new char[bufferSize]) {
    struct stat status;
    if (::fstat(descriptor, &status) == 0) {
        fileSize = static_cast<uint64_t>(status.st_size);
    }
}

bool DescriptorInputStream::fill(uint64_t from) {
    const int64_t count = readAt(descriptor, buffer.get(), bufferSize, from);
    if (count < 0) {
        return false;
    }
    bufferStart = from;
    bufferLength = static_cast<uint64_t>(count);
    return true;
}

bool DescriptorInputStream::read(char c[], int n) {
    uint64_t wanted = n > 0 ? static_cast<uint64_t>(n) : 0;
    while (wanted > 0) {
        if (position >= bufferStart && position < bufferStart + bufferLength) {
            const uint64_t available = bufferStart + bufferLength - position;
            const uint64_t count = available < wanted ? available : wanted;
            std::memcpy(c, buffer.get() + (position - bufferStart), count);
            c += count;
            position += count;
            wanted -= count;
            continue;
        }
        const int64_t count = wanted >= bufferSize ? readAt(descriptor, c, wanted, position)
                              : fill(position)     ? static_cast<int64_t>(bufferLength)
                                                   : -1;
        if (count < 0) {
            Iex::throwErrnoExc();
        }
        if (wanted >= bufferSize) {
            if (static_cast<uint64_t>(count) < wanted) {
                throw Iex::InputExc("Unexpected end of file.");
            }
            position += wanted;
            wanted = 0;
        } else if (count == 0) {
            throw Iex::InputExc("Unexpected end of file.");
        }
    }
    return position < fileSize;
}

} // namespace MetadataCopy
