#include "DynamicLibrary.hpp"

#include "Log.hpp"

#include <cstdarg>
#include <dlfcn.h>

namespace R3DSDK {

namespace {

std::string lastPlatformError() {
    const char* message = dlerror();
    return message != nullptr ? message : "unknown dynamic loading error";
}

} // namespace

DynamicLibrary::DynamicLibrary() : adopted(false), libraryHandle(nullptr) {}

DynamicLibrary::DynamicLibrary(const void* handle)
    : adopted(true), libraryHandle(const_cast<void*>(handle)) {}

DynamicLibrary::DynamicLibrary(const DynamicLibrary& other)
    : adopted(true), libraryHandle(other.libraryHandle) {}

DynamicLibrary::~DynamicLibrary() {
    std::string ignored;
    unload(ignored);
}

DynamicLibrary* DynamicLibrary::load(const std::string& path, std::string& error) {
    // The platform opens the program itself for an empty name, whose symbols
    // would then pass for the library's.
    if (path.empty()) {
        error = "empty library path";
        return nullptr;
    }
    DynamicLibrary* library = new DynamicLibrary();
    library->libraryHandle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (library->libraryHandle == nullptr) {
        error = lastPlatformError();
        delete library;
        return nullptr;
    }
    return library;
}

DynamicLibrary* DynamicLibrary::load(const void* handle) {
    return new DynamicLibrary(handle);
}

void DynamicLibrary::unload(std::string& error) {
    if (libraryHandle != nullptr && !adopted) {
        if (dlclose(libraryHandle) != 0) {
            error = lastPlatformError();
            return;
        }
    }
    libraryHandle = nullptr;
}

const void* DynamicLibrary::handle() const {
    return libraryHandle;
}

void* DynamicLibrary::getSymbol(const std::string& name) const {
    // Without a handle dlsym would search the whole process (a null handle is
    // the default scope on some platforms), which is never what is meant.
    return libraryHandle != nullptr ? dlsym(libraryHandle, name.c_str()) : nullptr;
}

bool DynamicLibrary::getSymbol(bool logMissing, void** out, const char* name) const {
    void* address =
        libraryHandle != nullptr && name != nullptr ? dlsym(libraryHandle, name) : nullptr;
    if (out != nullptr) {
        *out = address;
    }
    if (address == nullptr && logMissing) {
        LOG("[NOT FOUND ] %s\n", name != nullptr ? name : "");
    }
    return address != nullptr;
}

bool DynamicLibrary::getSymbols(int logMissing, ...) const {
    bool allFound = true;
    va_list pairs;
    va_start(pairs, logMissing);
    for (;;) {
        void** destination = va_arg(pairs, void**);
        if (destination == nullptr) {
            break;
        }
        const char* name = va_arg(pairs, const char*);
        if (name == nullptr) {
            break;
        }
        if (!getSymbol(logMissing != 0, destination, name)) {
            allFound = false;
        }
    }
    va_end(pairs);
    return allFound;
}

} // namespace R3DSDK
