// The base of the twelve entry-point tables. A table knows the names of its
// entries, fills them from one loaded library with a single lookup, and can be
// cleared again; its entries are null until it is filled. Every call of the
// client into the decoder library, apart from the identity, version,
// initialise and redirect entries, goes through a table.
#pragma once

#include "DynamicLibrary.hpp"

namespace R3DSDK {

class DynamicApi {
public:
    // An entry whose argument list no operation of the client relies on.
    using Entry = void (*)();

    DynamicApi();
    virtual ~DynamicApi();
    DynamicApi(const DynamicApi&) = delete;
    DynamicApi& operator=(const DynamicApi&) = delete;

    // The table's name for the log.
    virtual const char* Name() const = 0;
    // The option bit that enables the table; 0 for a table always loaded.
    virtual unsigned int Options() const;
    // True only while every entry holds an address from one library.
    virtual bool Loaded() const;
    // Writes every entry (null for a missing name, which is logged) and
    // reports whether all were found. A failed lookup leaves the table not
    // loaded, also when it was loaded before, since entries are now null.
    virtual bool LoadSymbols(const DynamicLibrary* library) = 0;
    // Nulls every entry and leaves the table not loaded.
    virtual void Reset() = 0;

protected:
    // Fills the entries with one lookup in `library`, missing names logged;
    // `pairs` are each entry's destination and name in lookup order. Without a
    // library every entry is nulled. Records and returns whether all were found.
    template <typename... Pairs> bool LookUp(const DynamicLibrary* library, Pairs... pairs) {
        if (library == nullptr) {
            Reset();
            return Conclude(false);
        }
        return Conclude(library->getSymbols(1, pairs..., nullptr, nullptr));
    }

    // Records the outcome of a lookup and returns it.
    bool Conclude(bool allFound);

    bool loaded;
};

// The form of an entry as a function pointer, given the function's type.
template <typename Function> using EntryForm = Function*;

} // namespace R3DSDK

// A core table is one list of its entries in lookup order: a macro that calls
// its argument ENTRY(name, function type) once per entry; an entry listed as
// void() is untyped, since no operation of the client calls it.
// OKALU_ENTRY_TABLE, in the class, makes the entries and the table's
// operations from that list alone, so no entry can be missing from the lookup
// or from Reset.
#define OKALU_ENTRY_TABLE(Table, ENTRIES)                                                          \
    static constexpr unsigned int EntryCount = 0 ENTRIES(OKALU_COUNT_ENTRY);                       \
    Table() {                                                                                      \
        Table::Reset();                                                                            \
    }                                                                                              \
    const char* Name() const override {                                                            \
        return #Table;                                                                             \
    }                                                                                              \
    bool LoadSymbols(const DynamicLibrary* library) override {                                     \
        return LookUp(library ENTRIES(OKALU_LOOK_UP_ENTRY));                                       \
    }                                                                                              \
    void Reset() override {                                                                        \
        ENTRIES(OKALU_RESET_ENTRY)                                                                 \
        loaded = false;                                                                            \
    }                                                                                              \
    ENTRIES(OKALU_DECLARE_ENTRY)

#define OKALU_COUNT_ENTRY(name, function) +1
#define OKALU_DECLARE_ENTRY(name, function) EntryForm<function> name;
// POSIX's own idiom for storing a looked-up address into a function pointer.
#define OKALU_LOOK_UP_ENTRY(name, function) , reinterpret_cast<void**>(&name), #name
#define OKALU_RESET_ENTRY(name, function) name = nullptr;
