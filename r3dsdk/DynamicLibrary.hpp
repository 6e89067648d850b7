// A thin wrapper of the platform's dynamic loading. It either owns the handle
// it opened, or adopts one opened elsewhere, which it then never closes.
#pragma once

#include <string>

namespace R3DSDK {

class DynamicLibrary {
public:
    DynamicLibrary();
    // Adopts `handle`: this wrapper will never close it.
    explicit DynamicLibrary(const void* handle);
    // Takes `other`'s handle as adopted, so only the wrapper it was copied from
    // closes it.
    DynamicLibrary(const DynamicLibrary& other);
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    // Does what unload does and drops the error text.
    ~DynamicLibrary();

    // Opens `path` with lazy binding and local symbols. Null, with the
    // platform's message in `error`, when it cannot be opened (and with a
    // message of its own for an empty path); nothing stays open then. The
    // caller owns and deletes the result.
    static DynamicLibrary* load(const std::string& path, std::string& error);
    // A new wrapper adopting `handle`; the caller owns and deletes it.
    static DynamicLibrary* load(const void* handle);

    // Closes an owned handle. When closing fails the handle is kept and the
    // platform's message goes to `error`; otherwise the handle becomes null.
    void unload(std::string& error);

    // The platform handle, null when nothing is loaded.
    const void* handle() const;

    // The entry point `name`, null when missing or when nothing is loaded.
    void* getSymbol(const std::string& name) const;
    // Writes the entry point `name` (or null) to `*out` and reports whether it
    // was found; a miss is logged as "[NOT FOUND ] name" when `logMissing`.
    bool getSymbol(bool logMissing, void** out, const char* name) const;
    // Looks up a list of pairs `void** destination, const char* name`, ended by
    // a null destination or a null name (callers end it with two nulls). Every
    // destination is written (null for a miss) and every miss is logged in list
    // order when `logMissing` is not 0. True when every name was found.
    bool getSymbols(int logMissing, ...) const;

private:
    bool adopted;
    void* libraryHandle;
};

} // namespace R3DSDK
