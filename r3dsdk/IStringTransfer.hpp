// A string out-parameter handed to the decoder library: the library stores a
// text and the client copies it out. Called through its virtual table; the
// order of the operations (destructor first) is part of the contract.
#pragma once

namespace R3DSDK {

class IStringTransfer {
public:
    virtual ~IStringTransfer() {}
    // A null `text` is stored as an empty text.
    virtual void Store(const char* text) = 0;
    // Never null.
    virtual const char* Retrieve() const = 0;
};

} // namespace R3DSDK
