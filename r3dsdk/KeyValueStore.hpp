// The client's key-value store. Pointers and numbers share one map and one key
// space: a pointer is kept as its address value.
#pragma once

#include "IKeyValueStore.hpp"

#include <map>

namespace R3DSDK {

class KeyValueStore : public virtual IKeyValueStore {
public:
    KeyValueStore();
    ~KeyValueStore() override;

    // Stores the address value through AddUint64 of the object's own table.
    void AddPointer(unsigned long long key, const void* value) override;
    // Inserts the pair, or replaces the value of a present key.
    void AddUint64(unsigned long long key, unsigned long long value) override;
    bool Exists(unsigned long long key) const override;
    const void* GetPointer(unsigned long long key) const override;
    unsigned long long GetUint64(unsigned long long key) const override;
    // One LOG line per entry, in ascending key order.
    void Dump() const override;

    // Removes every entry.
    void Reset();

private:
    std::map<unsigned long long, unsigned long long> values;
};

} // namespace R3DSDK
