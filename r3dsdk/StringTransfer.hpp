// The client's string out-parameter, a local of the wrapper that needs a text.
#pragma once

#include "IStringTransfer.hpp"

#include <cstddef>

namespace R3DSDK {

class StringTransfer : public virtual IStringTransfer {
public:
    StringTransfer();
    explicit StringTransfer(const char* text);
    ~StringTransfer() override;

    StringTransfer(const StringTransfer&) = delete;
    StringTransfer& operator=(const StringTransfer&) = delete;

    // Reuses the buffer only when the text stored last was at least as long:
    // the recorded size is that of the last text, not the buffer's capacity.
    void Store(const char* text) override;
    // The stored text, or a static empty text while nothing was stored.
    const char* Retrieve() const override;

private:
    char* buffer;
    std::size_t size; // length plus one of the text stored last; 0 when none
};

} // namespace R3DSDK
