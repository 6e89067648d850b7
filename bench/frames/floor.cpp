// The floor of okalu-tafe's job without any EXR work: each file copied beside
// itself through a 1 MiB buffer, flushed to the disk with fdatasync and
// renamed over itself, one file after the other in one process.
//
//   okalu-bench-floor FILE...
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

bool replace(const std::string& path, std::vector<char>& buffer) {
    const std::string temporaryPath = path + ".floor";
    const int input = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (input < 0) {
        return false;
    }
    const int output =
        ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (output < 0) {
        ::close(input);
        return false;
    }
    bool good = true;
    for (;;) {
        const ssize_t count = ::read(input, buffer.data(), buffer.size());
        if (count == 0) {
            break;
        }
        if (count < 0 || ::write(output, buffer.data(), static_cast<std::size_t>(count)) != count) {
            good = false;
            break;
        }
    }
#ifdef __APPLE__
    good = good && ::fsync(output) == 0;
#else
    good = good && ::fdatasync(output) == 0;
#endif
    good = ::close(output) == 0 && good;
    ::close(input);
    return good && ::rename(temporaryPath.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char> buffer(1 << 20);
    for (int index = 1; index < argc; ++index) {
        if (!replace(argv[index], buffer)) {
            std::fprintf(stderr, "okalu-bench-floor: %s: %s\n", argv[index], std::strerror(errno));
            return 1;
        }
    }
    return 0;
}
