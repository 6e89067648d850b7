#include "KeyValueStore.hpp"

#include "Log.hpp"

#include <cstdint>

namespace R3DSDK {

KeyValueStore::KeyValueStore() = default;

KeyValueStore::~KeyValueStore() = default;

void KeyValueStore::AddPointer(unsigned long long key, const void* value) {
    AddUint64(key, static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(value)));
}

void KeyValueStore::AddUint64(unsigned long long key, unsigned long long value) {
    values[key] = value;
}

bool KeyValueStore::Exists(unsigned long long key) const {
    return values.count(key) != 0;
}

const void* KeyValueStore::GetPointer(unsigned long long key) const {
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(GetUint64(key)));
}

unsigned long long KeyValueStore::GetUint64(unsigned long long key) const {
    const auto found = values.find(key);
    return found != values.end() ? found->second : 0;
}

void KeyValueStore::Dump() const {
    for (const auto& entry : values) {
        LOG("\tkey = %llu, value = 0x%llX\n", entry.first, entry.second);
    }
}

void KeyValueStore::Reset() {
    values.clear();
}

} // namespace R3DSDK
