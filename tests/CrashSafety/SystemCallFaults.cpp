// Preloaded into okalu-tafe (LD_PRELOAD), makes flock, renameat and renameat2 fail the way storage
// over a network does, and the creation of a file without a name ("tmpfile": openat with
// O_TMPFILE) fail as there, as the variable OKALU_TEST_FAULTS says: a comma-separated list of
// CALL=ACTION/ACTION/..., the first action for the first call, the second for the second and so
// on; calls beyond the list are made as usual. An action is "ok" (the call is made), an error
// (ENOLCK, EINVAL, EOPNOTSUPP or EIO: the call fails with it without being made, as without a lock
// service), "done:ERROR" (the call is made and then reports the error, as a request sent again
// after its answer was lost) or "done:vanish" (a rename or exchange is made, then the name that it
// renamed from is removed, as by another program in the next instant). An action followed by
// ":always" holds for every later call too.
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Action {
    bool made = true;
    bool vanish = false;
    int error = 0;
};

Action actionNamed(std::string name) {
    Action action;
    if (name == "ok") {
        return action;
    }
    action.made = name.compare(0, 5, "done:") == 0;
    if (action.made) {
        name = name.substr(5);
    }
    action.vanish = name == "vanish";
    action.error = name == "ENOLCK"       ? ENOLCK
                   : name == "EINVAL"     ? EINVAL
                   : name == "EOPNOTSUPP" ? EOPNOTSUPP
                                          : EIO;
    return action;
}

// The actions for one call, read from the variable once.
class Faults {
public:
    explicit Faults(const char* call) {
        const char* const faults = std::getenv("OKALU_TEST_FAULTS");
        const std::string list = std::string(",") + (faults ? faults : "") + ",";
        const std::string key = std::string(",") + call + "=";
        const std::string::size_type start = list.find(key);
        if (start == std::string::npos) {
            return;
        }
        std::string actions = list.substr(start + key.size());
        actions = actions.substr(0, actions.find(','));
        for (std::string::size_type from = 0; from <= actions.size();) {
            const std::string::size_type end = std::min(actions.find('/', from), actions.size());
            std::string name = actions.substr(from, end - from);
            const std::string::size_type always = name.find(":always");
            if (always != std::string::npos) {
                name = name.substr(0, always);
                lastForEver = true;
            }
            sequence.push_back(actionNamed(name));
            from = end + 1;
        }
    }

    Action next() {
        if (calls < sequence.size()) {
            return sequence[calls++];
        }
        return lastForEver && !sequence.empty() ? sequence.back() : Action();
    }

private:
    std::vector<Action> sequence;
    bool lastForEver = false;
    std::size_t calls = 0;
};

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// What a call answers under the action, given what the call itself answered where it was made.
int answer(const Action& action, int result, int directory, const char* from) {
    if (action.error == 0 && !action.vanish) {
        return result;
    }
    if (action.vanish) {
        if (result == 0 && from != nullptr) {
            ::unlinkat(directory, from, 0);
        }
        return result;
    }
    if (action.made && result != 0) {
        return result;
    }
    errno = action.error;
    return -1;
}

int openWithFaults(const char* realName, int directory, const char* path, int flags,
                   std::va_list arguments) {
    // The mode is there where the call creates a file.
    mode_t mode = 0;
    bool creates = (flags & O_CREAT) != 0;
#ifdef O_TMPFILE
    const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
    creates = creates || unnamed;
#endif
    if (creates) {
        mode = static_cast<mode_t>(va_arg(arguments, int));
    }
#ifdef O_TMPFILE
    if (unnamed) {
        static Faults faults("tmpfile");
        const Action action = faults.next();
        if (!action.made) {
            errno = action.error;
            return -1;
        }
    }
#endif
    const auto real = next<int (*)(int, const char*, int, ...)>(realName);
    return real(directory, path, flags, mode);
}

} // namespace

extern "C" {

int openat(int directory, const char* path, int flags, ...) {
    std::va_list arguments;
    va_start(arguments, flags);
    const int result = openWithFaults("openat", directory, path, flags, arguments);
    va_end(arguments);
    return result;
}

int openat64(int directory, const char* path, int flags, ...) {
    std::va_list arguments;
    va_start(arguments, flags);
    const int result = openWithFaults("openat64", directory, path, flags, arguments);
    va_end(arguments);
    return result;
}

int flock(int descriptor, int operation) {
    static Faults faults("flock");
    static const auto real = next<int (*)(int, int)>("flock");
    const Action action = faults.next();
    return answer(action, action.made ? real(descriptor, operation) : -1, AT_FDCWD, nullptr);
}

int renameat(int fromDirectory, const char* from, int toDirectory, const char* to) {
    static Faults faults("renameat");
    static const auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
    const Action action = faults.next();
    return answer(action, action.made ? real(fromDirectory, from, toDirectory, to) : -1,
                  fromDirectory, from);
}

int renameat2(int fromDirectory, const char* from, int toDirectory, const char* to,
              unsigned int flags) {
    static Faults faults("renameat2");
    static const auto real =
        next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    const Action action = faults.next();
    return answer(action, action.made ? real(fromDirectory, from, toDirectory, to, flags) : -1,
                  fromDirectory, from);
}
}
