#include "StringTransfer.hpp"

#include <gtest/gtest.h>
#include <string>

using R3DSDK::IStringTransfer;
using R3DSDK::StringTransfer;

namespace {

TEST(StringTransferTest, FreshTransferRetrievesTheStaticEmptyText) {
    StringTransfer fresh;
    ASSERT_NE(fresh.Retrieve(), nullptr);
    EXPECT_STREQ(fresh.Retrieve(), "");

    StringTransfer empty;
    empty.Store("");
    EXPECT_STREQ(empty.Retrieve(), "");
    // An empty text stored is held in the transfer's own buffer.
    EXPECT_NE(empty.Retrieve(), fresh.Retrieve());
}

TEST(StringTransferTest, StoresThroughTheInterfaceAndKeepsTheLastText) {
    StringTransfer transfer("constructed");
    EXPECT_STREQ(transfer.Retrieve(), "constructed");

    IStringTransfer& shared = transfer;
    shared.Store("00:00:01:12");
    EXPECT_STREQ(shared.Retrieve(), "00:00:01:12");

    const char* longBuffer = transfer.Retrieve();
    transfer.Store("ab");
    EXPECT_EQ(transfer.Retrieve(), longBuffer) << "a shorter text reuses the buffer";
    EXPECT_STREQ(transfer.Retrieve(), "ab");

    // Longer than the text stored last, though the buffer would hold it.
    transfer.Store("abcd");
    EXPECT_STREQ(transfer.Retrieve(), "abcd");
    const std::string longText(1000, 'x');
    transfer.Store(longText.c_str());
    EXPECT_EQ(transfer.Retrieve(), longText);
}

TEST(StringTransferTest, StoringItsOwnTextOrNullIsSafe) {
    StringTransfer transfer("RED KOMODO 6K");
    transfer.Store(transfer.Retrieve());
    EXPECT_STREQ(transfer.Retrieve(), "RED KOMODO 6K");
    transfer.Store(transfer.Retrieve() + 4);
    EXPECT_STREQ(transfer.Retrieve(), "KOMODO 6K");
    // The buffer still holds the rest of the longer text after the short one's
    // NUL; storing that rest needs a new buffer, and must copy before freeing.
    transfer.Store("6K");
    transfer.Store(transfer.Retrieve() + 3);
    EXPECT_STREQ(transfer.Retrieve(), "ODO 6K");

    transfer.Store(nullptr);
    EXPECT_STREQ(transfer.Retrieve(), "");
}

} // namespace
