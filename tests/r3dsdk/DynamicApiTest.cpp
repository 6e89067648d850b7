#include "Support/LogCapture.hpp"
#include "Support/Standin.hpp"

#include "AsyncDecoderApi.hpp"
#include "ClipApi.hpp"
#include "DynamicLibrary.hpp"
#include "GlobalApi.hpp"
#include "GpuDecoderApi.hpp"
#include "MetadataApi.hpp"
#include "R3DDecoderAPI.hpp"
#include "R3DTrimApi.hpp"
#include "REDCLAPI.hpp"
#include "REDCudaAPI.hpp"
#include "REDMetalAPI.hpp"
#include "RedRocketApi.hpp"
#include "StreamApi.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using namespace R3DSDK;
using R3DSDKTest::LogCapture;
using R3DSDKTest::standinPath;

namespace {

std::unique_ptr<DynamicLibrary> loadVariant(const std::string& variant) {
    std::string error;
    std::unique_ptr<DynamicLibrary> library(DynamicLibrary::load(standinPath(variant), error));
    EXPECT_NE(library, nullptr) << error;
    return library;
}

struct TableCase {
    std::function<DynamicApi*()> make;
    const char* name;
    unsigned int options;
    unsigned int entryCount;
    const char* const* entryNames = nullptr; // the accelerator tables' exported names
};

// Every table in the order the loader fills them.
const TableCase tableCases[] = {
    {[] { return new GlobalApi(); }, "GlobalApi", 0, GlobalApi::EntryCount},
    {[] { return new ClipApi(); }, "ClipApi", 0, ClipApi::EntryCount},
    {[] { return new MetadataApi(); }, "MetadataApi", 0, MetadataApi::EntryCount},
    {[] { return new AsyncDecoderApi(); }, "AsyncDecoderApi", 0, AsyncDecoderApi::EntryCount},
    {[] { return new GpuDecoderApi(); }, "GpuDecoderApi", 0, GpuDecoderApi::EntryCount},
    {[] { return new RedRocketApi(); }, "RedRocketApi", 0, RedRocketApi::EntryCount},
    {[] { return new StreamApi(); }, "StreamApi", 0, StreamApi::EntryCount},
    {[] { return new R3DTrimApi(); }, "R3DTrimApi", 0, R3DTrimApi::EntryCount},
    {[] { return new REDCLAPI(); }, "REDCLAPI", 2, REDCLAPI::EntryCount, REDCLAPI::EntryNames},
    {[] { return new REDCudaAPI(); }, "REDCUDAAPI", 1, REDCudaAPI::EntryCount,
     REDCudaAPI::EntryNames},
    {[] { return new R3DDecoderAPI(); }, "R3DDECODERAPI", 4, R3DDecoderAPI::EntryCount,
     R3DDecoderAPI::EntryNames},
    {[] { return NewREDMetalAPI(); }, "REDMetalAPI", 8, REDMetalAPI::EntryCount,
     REDMetalAPI::EntryNames},
};

TEST(DynamicApiTest, TablesNameTheirOptionsAndEntries) {
    unsigned int coreEntries = 0;
    for (const TableCase& table : tableCases) {
        std::unique_ptr<DynamicApi> api(table.make());
        EXPECT_STREQ(api->Name(), table.name);
        EXPECT_EQ(api->Options(), table.options) << table.name;
        EXPECT_FALSE(api->Loaded()) << table.name;
        if (table.options == 0) {
            coreEntries += table.entryCount;
        }
    }
    EXPECT_EQ(coreEntries, 145u);
    EXPECT_EQ(REDCLAPI::EntryCount + REDCudaAPI::EntryCount + R3DDecoderAPI::EntryCount +
                  REDMetalAPI::EntryCount,
              48u);
}

TEST(DynamicApiTest, DefaultStandinSuppliesEveryCoreTableAndNoAcceleratorTable) {
    const auto library = loadVariant("default");
    ASSERT_NE(library, nullptr);
    for (const TableCase& table : tableCases) {
        std::unique_ptr<DynamicApi> api(table.make());
        LogCapture capture;
        const bool loaded = api->LoadSymbols(library.get());
        const std::string log = capture.finish();
        if (table.options == 0) {
            EXPECT_TRUE(loaded) << table.name << "\n" << log;
            EXPECT_TRUE(api->Loaded()) << table.name;
            EXPECT_EQ(log, "") << table.name;
        } else {
            EXPECT_FALSE(loaded) << table.name;
            EXPECT_FALSE(api->Loaded()) << table.name;
            // Every name is looked up, and missed, in the table's own order.
            std::string expected;
            for (unsigned int i = 0; i < table.entryCount; ++i) {
                expected += std::string("[NOT FOUND ] ") + table.entryNames[i] + "\n";
            }
            EXPECT_EQ(log, expected) << table.name;
        }
    }
}

TEST(DynamicApiTest, FilledEntriesAreTheLibrarysAddressesAndResetClearsThem) {
    const auto library = loadVariant("default");
    ASSERT_NE(library, nullptr);
    ClipApi clip;
    MetadataApi metadata;
    GlobalApi global;
    ASSERT_TRUE(clip.LoadSymbols(library.get()));
    ASSERT_TRUE(metadata.LoadSymbols(library.get()));
    ASSERT_TRUE(global.LoadSymbols(library.get()));
    EXPECT_EQ(reinterpret_cast<void*>(clip.R3D_AAC), library->getSymbol("R3D_AAC"));
    EXPECT_EQ(reinterpret_cast<void*>(clip.R3D_ADC), library->getSymbol("R3D_ADC"));
    EXPECT_EQ(reinterpret_cast<void*>(metadata.R3D_BAH), library->getSymbol("R3D_BAH"));
    EXPECT_EQ(reinterpret_cast<void*>(global.R3D_HAI), library->getSymbol("R3D_HAI"));
    EXPECT_NE(clip.R3D_AAC, nullptr);

    clip.Reset();
    metadata.Reset();
    EXPECT_EQ(clip.R3D_AAB, nullptr);
    EXPECT_EQ(clip.R3D_AAC, nullptr);
    EXPECT_EQ(clip.R3D_ADC, nullptr);
    EXPECT_EQ(metadata.R3D_BAB, nullptr);
    EXPECT_EQ(metadata.R3D_BAM, nullptr);
    EXPECT_FALSE(clip.Loaded()) << "a reset table has nothing callable";
}

TEST(DynamicApiTest, OneMissingEntryFailsTheTableEvenAfterAnEarlierLoad) {
    const auto complete = loadVariant("default");
    const auto lacking = loadVariant("no-clip-entry");
    ASSERT_NE(complete, nullptr);
    ASSERT_NE(lacking, nullptr);

    ClipApi neverLoaded;
    ClipApi loadedBefore;
    ASSERT_TRUE(loadedBefore.LoadSymbols(complete.get()));
    for (ClipApi* clip : {&neverLoaded, &loadedBefore}) {
        LogCapture capture;
        EXPECT_FALSE(clip->LoadSymbols(lacking.get()));
        EXPECT_EQ(capture.finish(), "[NOT FOUND ] R3D_ACK\n");
        EXPECT_FALSE(clip->Loaded());
        EXPECT_EQ(clip->R3D_ACK, nullptr);
        EXPECT_EQ(reinterpret_cast<void*>(clip->R3D_AAG), lacking->getSymbol("R3D_AAG"));
        EXPECT_EQ(reinterpret_cast<void*>(clip->R3D_AAH), lacking->getSymbol("R3D_AAH"));
        EXPECT_NE(clip->R3D_ADC, nullptr);
    }
    MetadataApi metadata;
    EXPECT_TRUE(metadata.LoadSymbols(lacking.get())) << "other tables are still complete";
}

TEST(DynamicApiTest, NoLibraryFillsNothing) {
    for (const TableCase& table : tableCases) {
        std::unique_ptr<DynamicApi> api(table.make());
        EXPECT_FALSE(api->LoadSymbols(nullptr)) << table.name;
        EXPECT_FALSE(api->Loaded()) << table.name;
    }
}

// Each entry holds the address of its own name in `library`, or null without one.
template <typename Table>
void expectEntriesFrom(const Table& table, const DynamicLibrary* library) {
    for (unsigned int i = 0; i < Table::EntryCount; ++i) {
        void* expected = library != nullptr ? library->getSymbol(Table::EntryNames[i]) : nullptr;
        EXPECT_EQ(reinterpret_cast<void*>(table.entries[i]), expected)
            << table.Name() << " entry " << i;
        EXPECT_TRUE(library == nullptr || expected != nullptr) << Table::EntryNames[i];
    }
}

TEST(DynamicApiTest, AcceleratorTablesFillFromALibraryThatExportsThem) {
    const auto library = loadVariant("accelerators");
    ASSERT_NE(library, nullptr);
    REDCLAPI openCl;
    REDCudaAPI cuda;
    R3DDecoderAPI decoder;
    REDMetalAPI* metal = NewREDMetalAPI();
    expectEntriesFrom(*metal, nullptr);

    EXPECT_TRUE(openCl.LoadSymbols(library.get()));
    EXPECT_TRUE(cuda.LoadSymbols(library.get()));
    EXPECT_TRUE(decoder.LoadSymbols(library.get()));
    EXPECT_TRUE(metal->LoadSymbols(library.get()));
    expectEntriesFrom(openCl, library.get());
    expectEntriesFrom(cuda, library.get());
    expectEntriesFrom(decoder, library.get());
    expectEntriesFrom(*metal, library.get());

    metal->Reset();
    expectEntriesFrom(*metal, nullptr);
    EXPECT_FALSE(metal->Loaded());
    DeleteREDMetalAPI(metal);
    DeleteREDMetalAPI(nullptr);
}

} // namespace
