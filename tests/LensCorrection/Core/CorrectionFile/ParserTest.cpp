#include "CorrectionFile/Parser.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using CorrectionFile::InvalidFormatException;

// clang-format off
const std::vector<std::string> validEntries = {
    "lensManufacturer:=OKALU", "lensTypeName:=Telvar 2.0/50", "lensSerialNumber:=TV-0042",
    "lensMinFocalLength:=70000", "lensMaxFocalLength:=65535", "cameraManufacturer:=RED",
    "cameraModel:=MONSTRO 8K VV", "sensorWidth:=40.96", "clipName:=A001",
    "videoFileName:=A001.R3D", "clipDurationFrames:=240", "clipWidth:=8192", "clipHeight:=4320",
    "tcFps:=23.976", "tcDrop:=1", "enableLensShadingCorrection:=0", "shadingGamma:=2.2",
    "enableLensDistortionCorrection:=1", "distortionZoom:=1.5"};
// clang-format on

// The entries above with the one for key replaced by line (dropped when empty).
std::string headerBlock(const std::string& key = "", const std::string& line = "") {
    std::string block = "HEADER_START\n";
    for (const std::string& entry : validEntries) {
        const bool replaced = !key.empty() && entry.compare(0, key.size() + 2, key + ":=") == 0;
        const std::string& written = replaced ? line : entry;
        block += written.empty() ? "" : written + "\n";
    }
    return block + "HEADER_END\n";
}

// Line 1 version, lines 2-22 header, line 23 column names, rows from line 24.
std::string version3Text(const std::string& rows, const std::string& header = headerBlock()) {
    return "# VANT Version 3\n" + header + "frame;heights;shading;distortion;a;b;c;d;e;timecode\n" +
           rows;
}

const std::string row3 =
    ";0,5,10,15,18,21.4,25;100,99,98,97,96,95,0;0,-1,-2,-3,-4,-5,-100;a;b;c;d;e;";
const std::string row2 = ";100,99,98,97,96,95;0,-1,-2,-3,-4,100;a;b;c;d;e;";

// Parses into a content that already holds data and returns the details of
// the failure (checking its message and that the content was not touched),
// or "parsed" when the text was accepted.
std::string parseFailure(const std::string& text) {
    CorrectionData::Content content;
    content.header.camera.model = "earlier";
    content.frames[7].timecode = "earlier";
    try {
        CorrectionFile::Parser().parse(text, content);
    } catch (const InvalidFormatException& exception) {
        EXPECT_STREQ(exception.what(),
                     "Correction file could not be parsed due to an invalid format.");
        EXPECT_EQ(content.header.camera.model, "earlier");
        EXPECT_EQ(content.frames.size(), 1u);
        EXPECT_EQ(content.frames.at(7).timecode, "earlier");
        const std::string description = exception.detailedDescription();
        return description.substr(description.find('\n') + 1);
    }
    return "parsed";
}

std::string lineFailure(unsigned int number, const std::string& content) {
    return "Line Number: " + std::to_string(number) + "\nLine Content: \"" + content + "\"\n";
}

TEST(ParserTest, ReadsHeaderAndRowsOfAVersion3File) {
    std::string text =
        "free line\r\n" +
        version3Text("30" + row3 + "01.00.00.30;extra\r\n" + "\r\n" + "10" + row3 +
                         "01.00.00.10;extra;fields\n" + "\n" + "30" + row3 + "later\n",
                     headerBlock("tcDrop", "tcDrop:=1\nlensTypeName:=second\nx:=y"));
    CorrectionData::Content content;
    content.frames[99] = CorrectionData::Frame();
    CorrectionFile::Parser().parse(text, content);

    const CorrectionData::Header& header = content.header;
    EXPECT_EQ(header.lens.typeName, "Telvar 2.0/50"); // the first occurrence counts
    EXPECT_EQ(header.lens.minFocalLength, 4464);      // low 16 bits of 70000
    EXPECT_EQ(header.lens.maxFocalLength, 65535);
    EXPECT_EQ(header.camera.model, "MONSTRO 8K VV");
    EXPECT_FLOAT_EQ(header.sensor.width, 40.96f);
    EXPECT_EQ(header.clip.videoFileName, "A001.R3D");
    EXPECT_EQ(header.clip.width, 8192u);
    EXPECT_EQ(header.clip.height, 4320u);
    EXPECT_FLOAT_EQ(header.timecode.fps, 23.976f);
    EXPECT_TRUE(header.timecode.drop);
    EXPECT_TRUE(header.distortion.enable);
    EXPECT_FLOAT_EQ(header.distortion.zoom, 1.5f);

    // Ascending by number, the later of two equal numbers winning, the
    // earlier content's rows gone.
    ASSERT_EQ(content.frames.size(), 2u);
    const CorrectionData::Frame& first = content.frames.begin()->second;
    EXPECT_EQ(first.number, 10u);
    EXPECT_EQ(first.timecode, "01:00:00:10");
    EXPECT_EQ(first.interpolationPoints.imageRadiusPositions,
              (std::vector<float>{0, 5, 10, 15, 18, 21.4f, 25}));
    EXPECT_EQ(first.interpolationPoints.shadingValues,
              (std::vector<float>{100, 99, 98, 97, 96, 95, 0}));
    EXPECT_EQ(first.interpolationPoints.radialDistortionValues,
              (std::vector<float>{0, -1, -2, -3, -4, -5, -100}));
    EXPECT_EQ(content.frames.at(30).timecode, "later");
}

TEST(ParserTest, Version2RowsGetTheFixedImageHeights) {
    std::string text = headerBlock() + "# VANT Version 2\nframe;\n0" + row2 + "1.2.3.4\n";
    CorrectionData::Content content;
    CorrectionFile::Parser().parse(text, content);
    ASSERT_EQ(content.frames.size(), 1u);
    const auto& points = content.frames.at(0).interpolationPoints;
    EXPECT_EQ(points.imageRadiusPositions, (std::vector<float>{0, 5, 10, 15, 18, 21.4f}));
    EXPECT_EQ(content.frames.at(0).timecode, "1:2:3:4");

    // A body start as the last line leaves no rows.
    EXPECT_EQ(parseFailure(headerBlock() + "# VANT Version 2\nframe;"), "parsed");
}

TEST(ParserTest, HeaderFailuresNameTheFirstProblem) {
    const std::string missingStart = "Reason: Header start could not be found.\n";
    const std::string badFps =
        "Reason: Header entry with key \"tcFps\" does not have a valid value.\n";
    const std::string emptyVideoFile =
        "Reason: Header entry with key \"videoFileName\" does not have a value.\n";
    const struct {
        std::string text;
        std::string details;
    } cases[] = {
        {"", missingStart},
        {"HEADER_START \nHEADER_END\n", missingStart},
        {"header_start\nHEADER_END\n", missingStart},
        {"x\nHEADER_START\na:=b\nHEADER_END:=\n\n", "Reason: Header end could not be found.\n"},
        {"1\n2\n3\nHEADER_START\n\nsensorWidth:=1:=2\nHEADER_END\n",
         lineFailure(6, "sensorWidth:=1:=2")},
        {"HEADER_START\r\n  \r\nHEADER_END\n", lineFailure(2, "  ")},
        {version3Text("", headerBlock("sensorWidth", "sensorWidth :=36")),
         "Reason: Header entry with key \"sensorWidth\" was not found.\n\n"},
        {version3Text("", headerBlock("lensManufacturer", "x:=y")),
         "Reason: Header entry with key \"lensManufacturer\" was not found.\n\n"},
        {version3Text("", headerBlock("videoFileName", "videoFileName:=")), emptyVideoFile},
        {version3Text("", headerBlock("tcFps", "tcFps:=0")), badFps},
        {version3Text("", headerBlock("tcFps", "tcFps:=-25")), badFps},
        {version3Text("", headerBlock("tcFps", "tcFps:=25fps")), badFps},
        {version3Text("", headerBlock("tcFps", "tcFps:=nan")), badFps},
        {version3Text("", headerBlock("tcFps", "tcFps:=inf")), badFps},
        // A carriage return inside a key is dropped, so the key still matches.
        {version3Text("", headerBlock("tcFps", "tc\rFps:=25")), "parsed"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseFailure(c.text), c.details) << c.text;
    }

    // A missing key is reported before an empty video file name, and that
    // before a bad rate.
    std::string header = headerBlock("videoFileName", "videoFileName:=");
    EXPECT_EQ(parseFailure(
                  version3Text("", header.replace(header.find("tcFps:=23.976"), 13, "tcFps:=0"))),
              emptyVideoFile);
    header.erase(header.find("clipWidth:=8192\n"), 16);
    EXPECT_EQ(parseFailure(version3Text("", header)),
              "Reason: Header entry with key \"clipWidth\" was not found.\n\n");
}

TEST(ParserTest, OptionalValuesThatDoNotConvertOrAreNegativeSizesBecomeZeroOrFalse) {
    const struct {
        const char* line;
        float sensorWidth;
        unsigned int clipWidth;
        bool drop;
    } cases[] = {
        {"sensorWidth:=36mm", 0.0f, 8192, true}, {"clipWidth:=", 40.96f, 0, true},
        {"tcDrop:=true", 40.96f, 8192, false},   {"tcDrop:=yes", 40.96f, 8192, false},
        {"tcDrop:=", 40.96f, 8192, false},       {"clipWidth:=-8192", 40.96f, 0, true},
        {"clipWidth:=-1", 40.96f, 0, true},
    };
    for (const auto& c : cases) {
        const std::string line = c.line;
        CorrectionData::Content content;
        CorrectionFile::Parser().parse(
            version3Text("", headerBlock(line.substr(0, line.find(":=")), line)), content);
        EXPECT_FLOAT_EQ(content.header.sensor.width, c.sensorWidth) << line;
        EXPECT_EQ(content.header.clip.width, c.clipWidth) << line;
        EXPECT_EQ(content.header.timecode.drop, c.drop) << line;
    }
}

TEST(ParserTest, BodyFailuresNameTheFirstProblem) {
    const std::string header = headerBlock();
    const struct {
        std::string text;
        std::string details;
    } cases[] = {
        {header + "# VANT Version\nframe;\n", "Reason: Version could not be found.\n"},
        {header + "# VANT Version 4\nframe;\n", "Reason: Version is not supported.\n"},
        {header + "# VANT Version 2.0\nframe;\n", "Reason: Version is not supported.\n"},
        {header + "# VANT Version 2 \nframe;\n", "Reason: Version is not supported.\n"},
        {"# VANT Version 1\n" + header + "# VANT Version 2\nframe;\n",
         "Reason: Version is not supported.\n"},
        {header + "# VANT Version 3\nFrame;\n", "Reason: Body start could not be found.\n"},
        // Only rows may follow the body start.
        {version3Text("0" + row3 + "t\r\n   \r\n"), lineFailure(25, "   ")},
        {"# VANT Version 3\nframe;\n" + header, lineFailure(3, "HEADER_START")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseFailure(c.text), c.details) << c.text;
    }
}

TEST(ParserTest, InvalidRowsFailWithTheirLineNumberAndContent) {
    // Each case replaces one field of a valid row; field 10 is appended.
    const std::vector<std::string> valid = {
        "0", "0,1,2,3,4,5,6", "0,1,2,3,4,5,6", "0,1,2,3,4,5,6", "a", "b", "c", "d", "e", "t"};
    const struct {
        std::size_t field;
        const char* text;
        bool accepted;
    } cases[] = {// clang-format off
        {0, "-1", false}, {0, "1.5", false}, {0, " 1", false}, {0, "", false},
        {0, "2147483648", false}, {0, "2147483647", true},
        {1, "0,1,2,3,4,5", false}, {2, "0,1,2,3,4,5", false}, {3, "0,1,2,3,4,5,6,7", false},
        {1, "0,1,2,3,4,5,100.5", false}, {2, "-0.5,1,2,3,4,5,6", false},
        {3, "-100.5,1,2,3,4,5,6", false}, {2, "nan,1,2,3,4,5,6", false},
        {3, "-inf,1,2,3,4,5,6", false}, {1, "0,,2,3,4,5,6", false}, {2, "1e3,1,2,3,4,5,6", false},
        {3, " 6,1,2,3,4,5,6", false}, {3, "--6,1,2,3,4,5,6", false},
        {1, "100,0,1e1,.5,5.,+1,-0", true}, {3, "-100,1,2,3,4,5,100", true},
        {10, "more;fields", true}};
    // clang-format on
    for (const auto& c : cases) {
        std::vector<std::string> fields = valid;
        fields.resize(std::max(fields.size(), c.field + 1));
        fields[c.field] = c.text;
        std::string row = fields[0];
        for (std::size_t field = 1; field < fields.size(); ++field) {
            row += ";" + fields[field];
        }
        const std::string text = "# VANT Version 3\n" + headerBlock() + "frame;\n\n" + row + "\r\n";
        EXPECT_EQ(parseFailure(text), c.accepted ? "parsed" : lineFailure(25, row)) << row;
    }

    // Too few fields, and list lengths that belong to the other version.
    const std::string version2 = "# VANT Version 2\n" + headerBlock() + "frame;\n\n";
    for (const std::string row :
         {"0;1,2,3,4,5,6;0,1,2,3,4,5;a;b;c;d;e", "0;1,2,3,4,5;0,1,2,3,4,5;a;b;c;d;e;t",
          "0;1,2,3,4,5,6;0,1,2,3,4,5,6;a;b;c;d;e;t"}) {
        EXPECT_EQ(parseFailure(version2 + row), lineFailure(25, row)) << row;
    }
    const std::string shortRow = "0;0,1,2,3,4,5,6;0,1,2,3,4,5,6;0,1,2,3,4,5,6;a;b;c;d;e";
    EXPECT_EQ(parseFailure(version3Text("\n" + shortRow)), lineFailure(25, shortRow));
}

// Whatever a damaged file holds, the parser answers with a parse failure or
// a result; never with another exception or a crash.
TEST(ParserTest, DamagedTextsOnlyEverFailAsInvalidFormat) {
    const std::string original =
        version3Text("0" + row3 + "00:00:00:00\n" + "1" + row3 + "00:00:00:01\n");
    // Huge numbers, numbers just outside a range, separators.
    const std::vector<std::string> pieces = {"99999999999999999999999999999999999999999;,:=\n",
                                             "150",
                                             "-",
                                             "5e3",
                                             "nan",
                                             ",",
                                             ";",
                                             "\n"};
    std::mt19937 random(12345);
    for (int attempt = 0; attempt < 3000; ++attempt) {
        std::string text = original;
        for (int damage = 0; damage < 3; ++damage) {
            const std::size_t position = random() % (text.size() + 1);
            const unsigned int kind = random() % 4;
            if (kind == 0) {
                text.erase(position, random() % 40);
            } else {
                text.insert(position, kind == 1   ? std::string(1, static_cast<char>(random()))
                                      : kind == 2 ? pieces[random() % pieces.size()]
                                                  : '\0' + std::string(random() % 5000, ';'));
            }
        }
        CorrectionData::Content content;
        try {
            CorrectionFile::Parser().parse(text, content);
        } catch (const InvalidFormatException&) {
            continue;
        } catch (const std::exception& exception) {
            ADD_FAILURE() << "unexpected " << exception.what() << " for " << text;
            continue;
        }
        // What is accepted holds what the rest of the system relies on.
        EXPECT_GT(content.header.timecode.fps, 0.0f);
        EXPECT_TRUE(std::isfinite(content.header.timecode.fps));
        EXPECT_FALSE(content.header.clip.videoFileName.empty());
        for (const auto& [number, frame] : content.frames) {
            const auto& points = frame.interpolationPoints;
            EXPECT_EQ(number, frame.number);
            EXPECT_LE(number, 2147483647u);
            // 6 entries when the damage turned the file into a version 2 one.
            const std::size_t length = points.shadingValues.size();
            ASSERT_TRUE(length == 6 || length == 7) << text;
            ASSERT_EQ(points.imageRadiusPositions.size(), length) << text;
            ASSERT_EQ(points.radialDistortionValues.size(), length) << text;
            for (std::size_t index = 0; index < length; ++index) {
                EXPECT_TRUE(points.imageRadiusPositions[index] >= 0.0f &&
                            points.imageRadiusPositions[index] <= 100.0f);
                EXPECT_TRUE(points.shadingValues[index] >= 0.0f &&
                            points.shadingValues[index] <= 100.0f);
                EXPECT_LE(std::fabs(points.radialDistortionValues[index]), 100.0f);
            }
            EXPECT_EQ(frame.timecode.find('.'), std::string::npos);
        }
    }
}

} // namespace
