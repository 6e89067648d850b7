#include "Support/ExrFixtures.hpp"

#include "MetadataCopy/Destinations/ExrChunkTable.hpp"

#include <OpenEXR/ImfChannelList.h>
#include <OpenEXR/ImfDeepFrameBuffer.h>
#include <OpenEXR/ImfDeepScanLineOutputFile.h>
#include <OpenEXR/ImfFloatAttribute.h>
#include <OpenEXR/ImfFrameBuffer.h>
#include <OpenEXR/ImfIO.h>
#include <OpenEXR/ImfInputFile.h>
#include <OpenEXR/ImfMultiPartInputFile.h>
#include <OpenEXR/ImfMultiPartOutputFile.h>
#include <OpenEXR/ImfOutputFile.h>
#include <OpenEXR/ImfOutputPart.h>
#include <OpenEXR/ImfPartType.h>
#include <OpenEXR/ImfStringAttribute.h>
#include <OpenEXR/ImfTileDescription.h>
#include <OpenEXR/ImfTiledOutputFile.h>
#include <OpenEXR/ImfTimeCodeAttribute.h>
#include <OpenEXR/ImfVersion.h>

#include <Imath/half.h>

#include <boost/filesystem/operations.hpp>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace ExrFixtures {

const char* const lensCorrectionAttributeName = "com.okalu.LensCorrection";

namespace {

// Noise keeps the compressors honest: flat images compress to almost nothing
// and would hide a chunk that was dropped or reordered.
float sampleValue(int x, int y, int channel, unsigned int seed) {
    unsigned int h = static_cast<unsigned int>(x) * 73856093u ^
                     static_cast<unsigned int>(y) * 19349663u ^
                     static_cast<unsigned int>(channel) * 83492791u ^ seed * 2654435761u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    const float noise = static_cast<float>(h % 1000u) / 4000.0f;
    const float ramp = static_cast<float>(x + y) / static_cast<float>(64 + channel);
    return ramp + noise;
}

std::size_t pixelSize(Imf::PixelType type) {
    return type == Imf::HALF ? 2 : 4;
}

Imf::Header makeHeader(const ExrFileSpec& spec) {
    Imf::Header header(spec.width, spec.height);
    header.compression() = spec.compression;
    header.lineOrder() = spec.lineOrder;
    for (const std::string& channel : spec.channels) {
        header.channels().insert(channel, Imf::Channel(spec.pixelType));
    }
    if (spec.timeCode) {
        header.insert("timeCode", Imf::TimeCodeAttribute(*spec.timeCode));
    }
    if (spec.source) {
        header.insert("Source", Imf::StringAttribute(*spec.source));
    }
    if (spec.fps) {
        header.insert("FPS", Imf::FloatAttribute(*spec.fps));
    }
    if (spec.lensCorrection) {
        header.insert(lensCorrectionAttributeName, Imf::StringAttribute(*spec.lensCorrection));
    }
    for (const auto& [name, attribute] : spec.extraAttributes) {
        if (header.find(name) != header.end()) {
            header.erase(name);
        }
        header.insert(name, *attribute);
    }
    return header;
}

// Pixels of one image, one buffer per channel, in the spec's pixel type.
class PixelBuffers {
public:
    explicit PixelBuffers(const ExrFileSpec& spec) : spec(spec) {
        const std::size_t size = pixelSize(spec.pixelType);
        for (std::size_t c = 0; c < spec.channels.size(); ++c) {
            std::vector<char> buffer(static_cast<std::size_t>(spec.width) *
                                     static_cast<std::size_t>(spec.height) * size);
            for (int y = 0; y < spec.height; ++y) {
                for (int x = 0; x < spec.width; ++x) {
                    const float value = sampleValue(x, y, static_cast<int>(c), spec.seed);
                    char* target =
                        buffer.data() + (static_cast<std::size_t>(y) * spec.width + x) * size;
                    if (spec.pixelType == Imf::HALF) {
                        *reinterpret_cast<half*>(target) = half(value);
                    } else if (spec.pixelType == Imf::FLOAT) {
                        *reinterpret_cast<float*>(target) = value;
                    } else {
                        *reinterpret_cast<unsigned int*>(target) =
                            static_cast<unsigned int>(value * 1000.0f);
                    }
                }
            }
            buffers.push_back(std::move(buffer));
        }
    }

    Imf::FrameBuffer frameBuffer() {
        Imf::FrameBuffer frameBuffer;
        const std::size_t size = pixelSize(spec.pixelType);
        for (std::size_t c = 0; c < spec.channels.size(); ++c) {
            frameBuffer.insert(spec.channels[c],
                               Imf::Slice(spec.pixelType, buffers[c].data(), size,
                                          size * static_cast<std::size_t>(spec.width)));
        }
        return frameBuffer;
    }

private:
    const ExrFileSpec& spec;
    std::vector<std::vector<char>> buffers;
};

// Collects what OpenEXR writes, to compare attribute values in their encoding.
class StringOStream : public Imf::OStream {
public:
    StringOStream() : Imf::OStream("memory") {}
    void write(const char c[], int n) override {
        const std::size_t end = position + static_cast<std::size_t>(n);
        if (data.size() < end) {
            data.resize(end);
        }
        data.replace(position, static_cast<std::size_t>(n), c, static_cast<std::size_t>(n));
        position = end;
    }
    uint64_t tellp() override { return position; }
    void seekp(uint64_t pos) override { position = static_cast<std::size_t>(pos); }

    std::string data;

private:
    std::size_t position = 0;
};

} // namespace

TemporaryDirectory::TemporaryDirectory()
    : directory(boost::filesystem::temp_directory_path() /
                boost::filesystem::unique_path("okalu-tafe-test-%%%%-%%%%-%%%%-%%%%")) {
    boost::filesystem::create_directories(directory);
}

TemporaryDirectory::~TemporaryDirectory() {
    boost::system::error_code ignored;
    boost::filesystem::remove_all(directory, ignored);
}

std::string TemporaryDirectory::file(const std::string& name) const {
    return (directory / name).string();
}

void writeScanLineExr(const std::string& path, const ExrFileSpec& spec) {
    PixelBuffers pixels(spec);
    Imf::OutputFile file(path.c_str(), makeHeader(spec));
    file.setFrameBuffer(pixels.frameBuffer());
    file.writePixels(spec.height);
}

void writeTiledExr(const std::string& path, const ExrFileSpec& spec) {
    PixelBuffers pixels(spec);
    Imf::Header header = makeHeader(spec);
    header.setTileDescription(Imf::TileDescription(16, 16, Imf::ONE_LEVEL));
    Imf::TiledOutputFile file(path.c_str(), header);
    file.setFrameBuffer(pixels.frameBuffer());
    file.writeTiles(0, file.numXTiles() - 1, 0, file.numYTiles() - 1);
}

void writeMultiPartExr(const std::string& path, const ExrFileSpec& spec, int partCount) {
    PixelBuffers pixels(spec);
    std::vector<Imf::Header> headers;
    for (int part = 0; part < partCount; ++part) {
        Imf::Header header = makeHeader(spec);
        header.setName("part" + std::to_string(part));
        header.setType(Imf::SCANLINEIMAGE);
        headers.push_back(header);
    }
    Imf::MultiPartOutputFile file(path.c_str(), headers.data(), partCount);
    for (int part = 0; part < partCount; ++part) {
        Imf::OutputPart output(file, part);
        output.setFrameBuffer(pixels.frameBuffer());
        output.writePixels(spec.height);
    }
}

void writeDeepScanLineExr(const std::string& path, const ExrFileSpec& spec) {
    ExrFileSpec floatSpec = spec;
    floatSpec.pixelType = Imf::FLOAT;
    Imf::Header header = makeHeader(floatSpec);
    const bool deepCompression =
        spec.compression == Imf::NO_COMPRESSION || spec.compression == Imf::RLE_COMPRESSION;
    header.compression() = deepCompression ? spec.compression : Imf::ZIPS_COMPRESSION;
    header.setType(Imf::DEEPSCANLINE);

    const std::size_t pixelCount =
        static_cast<std::size_t>(spec.width) * static_cast<std::size_t>(spec.height);
    std::vector<unsigned int> sampleCounts(pixelCount, 1);
    std::vector<std::vector<float>> values(spec.channels.size(), std::vector<float>(pixelCount));
    std::vector<std::vector<float*>> pointers(spec.channels.size(),
                                              std::vector<float*>(pixelCount));
    Imf::DeepFrameBuffer frameBuffer;
    frameBuffer.insertSampleCountSlice(
        Imf::Slice(Imf::UINT, reinterpret_cast<char*>(sampleCounts.data()), sizeof(unsigned int),
                   sizeof(unsigned int) * static_cast<std::size_t>(spec.width)));
    for (std::size_t c = 0; c < spec.channels.size(); ++c) {
        for (std::size_t i = 0; i < pixelCount; ++i) {
            values[c][i] =
                sampleValue(static_cast<int>(i % spec.width), static_cast<int>(i / spec.width),
                            static_cast<int>(c), spec.seed);
            pointers[c][i] = &values[c][i];
        }
        frameBuffer.insert(
            spec.channels[c],
            Imf::DeepSlice(Imf::FLOAT, reinterpret_cast<char*>(pointers[c].data()), sizeof(float*),
                           sizeof(float*) * static_cast<std::size_t>(spec.width), sizeof(float)));
    }
    Imf::DeepScanLineOutputFile file(path.c_str(), header);
    file.setFrameBuffer(frameBuffer);
    file.writePixels(spec.height);
}

Imf::Header readHeader(const std::string& path) {
    Imf::MultiPartInputFile file(path.c_str());
    return file.header(0);
}

std::optional<std::string> readStringAttribute(const std::string& path, const std::string& name) {
    const Imf::Header header = readHeader(path);
    const auto* attribute = header.findTypedAttribute<Imf::StringAttribute>(name);
    if (attribute == nullptr) {
        return std::nullopt;
    }
    return attribute->value();
}

std::map<std::string, std::string> attributesExcept(const std::string& path,
                                                    const std::set<std::string>& excluded) {
    const Imf::Header header = readHeader(path);
    std::map<std::string, std::string> attributes;
    for (auto it = header.begin(); it != header.end(); ++it) {
        if (excluded.count(it.name()) != 0) {
            continue;
        }
        StringOStream stream;
        it.attribute().writeValueTo(stream, Imf::EXR_VERSION);
        attributes[it.name()] = std::string(it.attribute().typeName()) + ":" + stream.data;
    }
    return attributes;
}

std::vector<char> decodedPixels(const std::string& path) {
    Imf::InputFile file(path.c_str());
    const Imath::Box2i dataWindow = file.header().dataWindow();
    const std::size_t width = static_cast<std::size_t>(dataWindow.max.x - dataWindow.min.x + 1);
    const std::size_t height = static_cast<std::size_t>(dataWindow.max.y - dataWindow.min.y + 1);

    std::size_t total = 0;
    for (auto it = file.header().channels().begin(); it != file.header().channels().end(); ++it) {
        total += pixelSize(it.channel().type) * width * height;
    }
    std::vector<char> pixels(total);

    Imf::FrameBuffer frameBuffer;
    std::size_t offset = 0;
    for (auto it = file.header().channels().begin(); it != file.header().channels().end(); ++it) {
        const std::size_t size = pixelSize(it.channel().type);
        frameBuffer.insert(it.name(), Imf::Slice::Make(it.channel().type, pixels.data() + offset,
                                                       dataWindow, size, size * width));
        offset += size * width * height;
    }
    file.setFrameBuffer(frameBuffer);
    file.readPixels(dataWindow.min.y, dataWindow.max.y);
    return pixels;
}

std::vector<std::string> rawChunks(const std::string& path) {
    Imf::InputFile file(path.c_str());
    const Imath::Box2i dataWindow = file.header().dataWindow();
    const int step = MetadataCopy::ExrChunkTable::linesPerChunk(file.header().compression());
    if (step == 0) {
        throw std::invalid_argument("unknown compression");
    }
    std::vector<std::string> chunks;
    for (int y = dataWindow.min.y; y <= dataWindow.max.y; y += step) {
        const char* data = nullptr;
        int size = 0;
        file.rawPixelData(y, data, size);
        chunks.emplace_back(data, static_cast<std::size_t>(size));
    }
    return chunks;
}

std::string readFileBytes(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        throw std::runtime_error("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.close();
    if (!stream) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace ExrFixtures
