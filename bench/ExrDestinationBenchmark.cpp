// Rewriting an EXR file with the metadata attribute against copying it: the
// rewrite moves the stored pixel data without decoding it, so it should cost
// little more than one read and one write of the file.
#include "MetadataCopy/Destinations/ExrMetadataDestination.hpp"
#include "Support/SampleMetadata.hpp"

#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfRgbaFile.h>
#include <OpenEXR/ImfTimeCodeAttribute.h>

#include <benchmark/benchmark.h>
#include <boost/filesystem/operations.hpp>

#include <cstdio>
#include <vector>

namespace {

const int width = 4096;
const int height = 2160;

// One UHD-sized half RGBA PIZ frame, written once per process.
class Frame {
public:
    Frame()
        : directory(boost::filesystem::temp_directory_path() /
                    boost::filesystem::unique_path("okalu-tafe-bench-%%%%-%%%%")) {
        boost::filesystem::create_directories(directory);
        Imf::Header header(width, height);
        header.compression() = Imf::PIZ_COMPRESSION;
        header.insert("timeCode", Imf::TimeCodeAttribute(Imf::TimeCode(1, 2, 3, 4)));
        std::vector<Imf::Rgba> pixels(static_cast<std::size_t>(width) * height);
        unsigned int state = 12345;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                // A gradient with sensor-like noise, so that PIZ has real work.
                state = state * 1664525u + 1013904223u;
                const float noise = static_cast<float>(state >> 24) / 4096.0f;
                const float value = static_cast<float>(x + y) / (width + height) + noise;
                pixels[static_cast<std::size_t>(y) * width + x] =
                    Imf::Rgba(value, value * 0.8f, value * 0.6f, 1.0f);
            }
        }
        Imf::RgbaOutputFile file(path().c_str(), header, Imf::WRITE_RGBA);
        file.setFrameBuffer(pixels.data(), 1, width);
        file.writePixels(height);
    }
    ~Frame() {
        boost::system::error_code ignored;
        boost::filesystem::remove_all(directory, ignored);
    }

    std::string path() const { return (directory / "frame.exr").string(); }
    std::string copyPath() const { return (directory / "copy.exr").string(); }

private:
    boost::filesystem::path directory;
};

const Frame& frame() {
    static const Frame instance;
    return instance;
}

void BM_WriteMetadata(benchmark::State& state) {
    const MetadataCopy::ExrMetadataDestination destination(frame().path());
    const MetadataCopy::Metadata values = SampleMetadata::weaponFrame();
    for (auto _ : state) {
        destination.writeMetadata(values);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(boost::filesystem::file_size(frame().path())));
}
BENCHMARK(BM_WriteMetadata)->Unit(benchmark::kMillisecond);

// The yardstick: copying the file over an earlier copy, as cp does, in large
// blocks. Like the rewrite's rename over the old file, replacing a file's
// content makes the file system put the new data on disk soon; a copy to a
// fresh name that is deleted before it is written back never reaches the
// disk and would measure the page cache only.
void BM_CopyFile(benchmark::State& state) {
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        std::FILE* input = std::fopen(frame().path().c_str(), "rb");
        std::FILE* output = std::fopen(frame().copyPath().c_str(), "wb");
        if (input == nullptr || output == nullptr) {
            state.SkipWithError("cannot open the files");
            break;
        }
        std::size_t count = 0;
        while ((count = std::fread(buffer.data(), 1, buffer.size(), input)) > 0) {
            std::fwrite(buffer.data(), 1, count, output);
        }
        std::fclose(input);
        benchmark::DoNotOptimize(std::fclose(output));
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(boost::filesystem::file_size(frame().path())));
}
BENCHMARK(BM_CopyFile)->Unit(benchmark::kMillisecond);

} // namespace
