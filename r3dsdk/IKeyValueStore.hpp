// Settings and values that the client shares with every loaded decoder
// library. The library calls it through its virtual table, so the order of the
// operations below (destructor last) is part of the contract with the library.
#pragma once

namespace R3DSDK {

class IKeyValueStore {
public:
    virtual void AddPointer(unsigned long long key, const void* value) = 0;
    virtual void AddUint64(unsigned long long key, unsigned long long value) = 0;
    virtual bool Exists(unsigned long long key) const = 0;
    // 0 or null for an absent key; only Exists tells it from a stored 0.
    virtual const void* GetPointer(unsigned long long key) const = 0;
    virtual unsigned long long GetUint64(unsigned long long key) const = 0;
    virtual void Dump() const = 0;
    virtual ~IKeyValueStore() {}
};

} // namespace R3DSDK
