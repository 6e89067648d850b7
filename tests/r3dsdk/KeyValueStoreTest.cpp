#include "Support/LogCapture.hpp"

#include "KeyValueStore.hpp"

#include <cstdint>
#include <gtest/gtest.h>

using R3DSDK::IKeyValueStore;
using R3DSDK::KeyValueStore;
using R3DSDKTest::LogCapture;

namespace {

TEST(KeyValueStoreTest, AbsentKeyReadsAsZeroButOnlyExistsTellsItFromAStoredZero) {
    KeyValueStore store;
    EXPECT_FALSE(store.Exists(30));
    EXPECT_EQ(store.GetUint64(30), 0u);
    EXPECT_EQ(store.GetPointer(30), nullptr);

    store.AddUint64(30, 0);
    EXPECT_TRUE(store.Exists(30));
    EXPECT_EQ(store.GetUint64(30), 0u);
    EXPECT_FALSE(store.Exists(31));
}

TEST(KeyValueStoreTest, SecondValueReplacesTheFirstAndPointersShareTheKeySpace) {
    KeyValueStore store;
    // The library sees the store only through its interface.
    IKeyValueStore& shared = store;
    shared.AddUint64(1000, 1);
    shared.AddUint64(1000, 7);
    EXPECT_EQ(store.GetUint64(1000), 7u);

    static const char text[] = "20230817";
    shared.AddPointer(14, text);
    EXPECT_EQ(store.GetPointer(14), text);
    EXPECT_EQ(store.GetUint64(14), reinterpret_cast<std::uintptr_t>(text));
    store.AddUint64(14, 5);
    EXPECT_EQ(shared.GetPointer(14), reinterpret_cast<const void*>(5));

    store.Reset();
    EXPECT_FALSE(store.Exists(14));
    EXPECT_FALSE(store.Exists(1000));
}

TEST(KeyValueStoreTest, DumpListsEntriesInAscendingKeyOrderOnlyWhileLogging) {
    KeyValueStore dumped;
    {
        LogCapture capture;
        dumped.Dump();
        EXPECT_EQ(capture.finish(), "");
    }
    dumped.AddUint64(1001, 0);
    dumped.AddUint64(10, 8);
    dumped.AddUint64(30, 0xABCDEF);
    {
        LogCapture capture;
        dumped.Dump();
        EXPECT_EQ(capture.finish(), "\tkey = 10, value = 0x8\n"
                                    "\tkey = 30, value = 0xABCDEF\n"
                                    "\tkey = 1001, value = 0x0\n");
    }
    {
        LogCapture capture(0);
        dumped.Dump();
        EXPECT_EQ(capture.finish(), "");
    }
}

} // namespace
