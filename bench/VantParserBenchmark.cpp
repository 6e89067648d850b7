// Parsing speed of a long version 3 lens-correction file: 100,000 rows must
// parse in well under a second on one core.

#include "CorrectionData/Content.hpp"
#include "CorrectionFile/Parser.hpp"

#include <benchmark/benchmark.h>

#include <iomanip>
#include <sstream>
#include <string>

namespace {

std::string version3Text(unsigned int rowCount) {
    std::ostringstream text;
    text << "# VANT Version 3\n"
            "HEADER_START\n"
            "lensManufacturer:=OKALU\n"
            "lensTypeName:=Telvar 2.0/50\n"
            "lensSerialNumber:=TV-000123\n"
            "lensMinFocalLength:=50\n"
            "lensMaxFocalLength:=50\n"
            "cameraManufacturer:=RED\n"
            "cameraModel:=MONSTRO 8K VV\n"
            "sensorWidth:=40.96\n"
            "clipName:=A001_C002\n"
            "videoFileName:=A001_C002.R3D\n"
            "clipDurationFrames:="
         << rowCount
         << "\n"
            "clipWidth:=8192\n"
            "clipHeight:=4320\n"
            "tcFps:=23.976\n"
            "tcDrop:=0\n"
            "enableLensShadingCorrection:=1\n"
            "shadingGamma:=2.2\n"
            "enableLensDistortionCorrection:=1\n"
            "distortionZoom:=1.0\n"
            "HEADER_END\n"
            "frame;heights;shading;distortion;focus;iris;zoom;temp;flags;timecode\n";
    for (unsigned int row = 0; row < rowCount; ++row) {
        const unsigned int seconds = row / 24;
        text << row << ";0.0,4.2,8.4,12.6,16.8,19.5,21.4;"
             << "100.0,99.12,97.5,94.03,90.8,87.25," << (80 + row % 10) << ".5;"
             << "0.0,-0.12,-0.48,-1.07,-1.9,-2.61,-" << row % 7 << ".33;"
             << "3.5;2.8;50;21;0;" << std::setfill('0') << std::setw(2) << seconds / 3600 << "."
             << std::setw(2) << seconds / 60 % 60 << "." << std::setw(2) << seconds % 60 << "."
             << std::setw(2) << row % 24 << "\r\n"
             << std::setfill(' ');
    }
    return text.str();
}

void BM_ParseVersion3File(benchmark::State& state) {
    const std::string text = version3Text(static_cast<unsigned int>(state.range(0)));
    const CorrectionFile::Parser parser;
    for (auto _ : state) {
        CorrectionData::Content content;
        parser.parse(text, content);
        benchmark::DoNotOptimize(content.frames.size());
        if (content.frames.size() != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("not every row was parsed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseVersion3File)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
