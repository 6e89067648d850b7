// The floor of okalu-tafe's job: what a rewrite must do at the least, with the
// same durability, and no EXR work. Each file is read and written beside
// itself through one 64 KiB buffer, the new file flushed to the disk with
// fdatasync, exchanged with the file (renameat2 RENAME_EXCHANGE, or renamed
// over it where the file system has no exchange), the old file removed and
// the directory flushed with fsync, one file after the other in one process.
//
//   okalu-bench-floor FILE...
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#ifdef __linux__
#include <sys/syscall.h>
#endif

namespace {

// Opens the directory that holds the path, for the flush.
int openDirectoryOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    const std::string directory =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    return ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Swaps the two names; false with errno EINVAL or ENOSYS where the file system
// or the kernel has no exchange.
bool exchange(const std::string& first, const std::string& second) {
#if defined(__linux__) && defined(SYS_renameat2)
    constexpr unsigned int renameExchange = 1u << 1; // RENAME_EXCHANGE
    return ::syscall(SYS_renameat2, AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(),
                     renameExchange) == 0;
#else
    static_cast<void>(first);
    static_cast<void>(second);
    errno = ENOSYS;
    return false;
#endif
}

bool copyThroughBuffer(int input, int output, std::vector<char>& buffer) {
    for (;;) {
        const ssize_t count = ::read(input, buffer.data(), buffer.size());
        if (count == 0) {
            return true;
        }
        if (count < 0 || ::write(output, buffer.data(), static_cast<std::size_t>(count)) != count) {
            return false;
        }
    }
}

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
    bool good = copyThroughBuffer(input, output, buffer);
#ifdef __APPLE__
    good = good && ::fsync(output) == 0;
#else
    good = good && ::fdatasync(output) == 0;
#endif
    good = ::close(output) == 0 && good;
    ::close(input);
    if (!good) {
        return false;
    }
    if (exchange(temporaryPath, path)) {
        // The old file now stands at the temporary name.
        if (::unlink(temporaryPath.c_str()) != 0) {
            return false;
        }
    } else if ((errno != EINVAL && errno != ENOSYS) ||
               ::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        return false;
    }
    const int directory = openDirectoryOf(path);
    if (directory < 0) {
        return false;
    }
    good = ::fsync(directory) == 0;
    ::close(directory);
    return good;
}

} // namespace

int main(int argc, char** argv) {
    // Larger writes cost Linux 6.x with ext4 more system time per byte, at
    // times up to three times as much (from 1 MiB on always, from 256 KiB on
    // depending on the state of memory), and a floor that the tool beats
    // would be no floor.
    std::vector<char> buffer(64 << 10);
    for (int index = 1; index < argc; ++index) {
        if (!replace(argv[index], buffer)) {
            std::fprintf(stderr, "okalu-bench-floor: %s: %s\n", argv[index], std::strerror(errno));
            return 1;
        }
    }
    return 0;
}
