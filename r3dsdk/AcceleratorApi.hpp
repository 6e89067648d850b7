// The common form of the four accelerator tables: a fixed number of untyped
// entries, loaded only when the SDK is started with the table's option bit.
// The client never calls these entries itself; their names are the library's
// exports, which each table's header lists in a macro that calls its argument
// ENTRY(name) once per entry, and which the table keeps in its static array
// `EntryNames`.
#pragma once

#include "DynamicApi.hpp"

#include <cstddef>
#include <utility>

namespace R3DSDK {

template <typename Table, unsigned int Count, unsigned int OptionBit>
class AcceleratorApi : public DynamicApi {
public:
    static constexpr unsigned int EntryCount = Count;

    unsigned int Options() const override { return OptionBit; }

    bool LoadSymbols(const DynamicLibrary* library) override {
        return lookUp(library, std::make_index_sequence<2 * Count>());
    }

    // Nulls every entry, the last ones too, so that nothing stays callable.
    void Reset() override {
        for (Entry& entry : entries) {
            entry = nullptr;
        }
        loaded = false;
    }

    Entry entries[Count];

protected:
    AcceleratorApi() { AcceleratorApi::Reset(); }
    ~AcceleratorApi() override { AcceleratorApi::Reset(); }

private:
    // The lookup's arguments in turn: each entry's destination, then its name.
    template <std::size_t Argument> auto lookUpArgument() {
        if constexpr (Argument % 2 == 0) {
            // POSIX's own idiom for storing a looked-up address into a function pointer.
            return reinterpret_cast<void**>(&entries[Argument / 2]);
        } else {
            return Table::EntryNames[Argument / 2];
        }
    }

    template <std::size_t... Arguments>
    bool lookUp(const DynamicLibrary* library, std::index_sequence<Arguments...>) {
        return LookUp(library, lookUpArgument<Arguments>()...);
    }
};

} // namespace R3DSDK

#define OKALU_ACCELERATOR_ENTRY_NAME(name) #name,
