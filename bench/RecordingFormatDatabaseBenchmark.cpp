// Cost of the recording-format database for an R3D source: the first lookup
// builds the whole database from the compiled-in table, once per process, and
// must stay well under 20 ms.

#include "RecordingFormatDatabase/CsvStringBasedRecordingFormatDatabase.hpp"

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace {

using RecordingFormatDatabase::CsvStringBasedRecordingFormatDatabase;
using RecordingFormatDatabase::RecordingFormat;

void query(RecordingFormatDatabase::RecordingFormatDatabase& database) {
    std::map<std::string, RecordingFormat> formats;
    database.recordingFormats("RED", "KOMODO 6K S35", formats);
    benchmark::DoNotOptimize(formats);
}

// What a run really pays, measured once: this must be the first use of the
// shared instance in the process, so it is registered first.
void firstSharedInstanceAndQuery(benchmark::State& state) {
    for (auto _ : state) {
        query(*CsvStringBasedRecordingFormatDatabase::sharedInstance());
    }
}
BENCHMARK(firstSharedInstanceAndQuery)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same work repeated on fresh databases, for a steadier figure.
void buildDatabaseAndQuery(benchmark::State& state) {
    for (auto _ : state) {
        CsvStringBasedRecordingFormatDatabase database;
        query(database);
    }
}
BENCHMARK(buildDatabaseAndQuery)->Unit(benchmark::kMillisecond);

// A lookup once the database stands: a copy of up to 114 formats.
void queryBuiltDatabase(benchmark::State& state) {
    auto& database = *CsvStringBasedRecordingFormatDatabase::sharedInstance();
    for (auto _ : state) {
        std::map<std::string, RecordingFormat> formats;
        database.recordingFormats("red", "ranger helium 8k s35", formats);
        benchmark::DoNotOptimize(formats);
    }
}
BENCHMARK(queryBuiltDatabase)->Unit(benchmark::kMicrosecond);

} // namespace
