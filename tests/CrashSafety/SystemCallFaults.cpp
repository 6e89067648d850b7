// Preloaded into okalu-tafe (LD_PRELOAD), makes flock, renameat and renameat2 fail the way storage
// over a network does, as the variable OKALU_TEST_FAULTS says: a comma-separated list of
// CALL=ERROR, where the call fails with that error without being made (ENOLCK: no lock service),
// or CALL=done:ERROR, where it is made and then reports that error (a request that was sent again
// after its answer was lost), or CALL=done:vanish, where a rename or exchange is made and then
// the name it renamed from is removed, as by another program in the next instant. A call fails
// so only the first time, unless the error is followed by ":always".
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

struct Fault {
    bool given = false;
    bool made = false;
    bool vanish = false;
    bool always = false;
    int error = 0;
    bool used = false;
};

int errorNamed(const std::string& name) {
    if (name == "ENOLCK") {
        return ENOLCK;
    }
    if (name == "EINVAL") {
        return EINVAL;
    }
    if (name == "EIO") {
        return EIO;
    }
    return EIO;
}

// The fault for the call, if the variable names one that is still to come.
Fault* faultFor(const char* call, Fault& fault) {
    const char* const faults = std::getenv("OKALU_TEST_FAULTS");
    if (faults == nullptr || fault.used) {
        return nullptr;
    }
    if (!fault.given) {
        const std::string list = std::string(",") + faults + ",";
        const std::string key = std::string(",") + call + "=";
        const std::string::size_type start = list.find(key);
        if (start == std::string::npos) {
            fault.used = true;
            return nullptr;
        }
        std::string action = list.substr(start + key.size());
        action = action.substr(0, action.find(','));
        if (action.compare(0, 5, "done:") == 0) {
            fault.made = true;
            action = action.substr(5);
        }
        const std::string::size_type always = action.find(":always");
        if (always != std::string::npos) {
            fault.always = true;
            action = action.substr(0, always);
        }
        fault.vanish = action == "vanish";
        fault.error = errorNamed(action);
        fault.given = true;
    }
    fault.used = !fault.always;
    return &fault;
}

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// What a faulty call answers once it was made or not (result).
int answer(const Fault& fault, int result, int directory, const char* from) {
    if (fault.vanish) {
        if (result == 0 && from != nullptr) {
            ::unlinkat(directory, from, 0);
        }
        return result;
    }
    if (fault.made && result != 0) {
        return result;
    }
    errno = fault.error;
    return -1;
}

} // namespace

extern "C" {

int flock(int descriptor, int operation) {
    static Fault fault;
    static const auto real = next<int (*)(int, int)>("flock");
    const Fault* const faulty = faultFor("flock", fault);
    if (faulty == nullptr) {
        return real(descriptor, operation);
    }
    return answer(*faulty, faulty->made ? real(descriptor, operation) : -1, AT_FDCWD, nullptr);
}

int renameat(int fromDirectory, const char* from, int toDirectory, const char* to) {
    static Fault fault;
    static const auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
    const Fault* const faulty = faultFor("renameat", fault);
    if (faulty == nullptr) {
        return real(fromDirectory, from, toDirectory, to);
    }
    return answer(*faulty, faulty->made ? real(fromDirectory, from, toDirectory, to) : -1,
                  fromDirectory, from);
}

int renameat2(int fromDirectory, const char* from, int toDirectory, const char* to,
              unsigned int flags) {
    static Fault fault;
    static const auto real =
        next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    const Fault* const faulty = faultFor("renameat2", fault);
    if (faulty == nullptr) {
        return real(fromDirectory, from, toDirectory, to, flags);
    }
    return answer(*faulty, faulty->made ? real(fromDirectory, from, toDirectory, to, flags) : -1,
                  fromDirectory, from);
}
}
