// okalu-tafe as its users meet it: the built program run as a child process in a directory of
// generated files, with its standard output compared byte for byte and its exit status checked.
#include "ToolProcess.hpp"

#include "R3DSDK.hpp"
#include "Support/ExrFixtures.hpp"

#include <OpenEXR/ImfIDManifestAttribute.h>
#include <OpenEXR/ImfTimeCode.h>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <signal.h>
#include <string>
#include <utility>
#include <vector>

namespace fs = boost::filesystem;

namespace {

const std::string helpText =
    "Usage:\n"
    "  okalu-tafe [OPTION]... -s SOURCE... -d DESTINATION...\n"
    "\n"
    "Options:\n"
    "  -h [ --help ]                      Display help text and exit.\n"
    "  --version                          Output version information and exit.\n"
    "  -s [ --source ] arg                Path to one or more files where the \n"
    "                                     metadata shall be copied from.\n"
    "  -d [ --destination ] arg           Path to one or more files where the \n"
    "                                     metadata shall be copied to.\n"
    "  --ask-before-overwriting-metadata  Prompt before overwriting existing \n"
    "                                     metadata.\n"
    "  --do-not-overwrite-metadata        Do not overwrite existing metadata.\n"
    "  --abort-on-first-error             Abort copying on the first error occured.\n"
    "\n"
    "Description:\n"
    "  A command-line tool used for timecode-based copying of OKALU Telvar Metadata\n"
    "  from a given container into the metadata section of the given image file(s).\n"
    "\n"
    "  After copying the metadata, the image files (e.g. of type exr) can then be\n"
    "  used directly by the OKALU Telvar Data Plug-ins to perform different kinds\n"
    "  of lens corrections just on the basis of the embedded metadata. An additional\n"
    "  metadata description file (e.g. of type vant) will no longer be needed and\n"
    "  this will simplify the workflow with the OKALU Telvar Data technology.\n"
    "\n"
    "Supported File Formats:\n"
    "  vant: Path to a single file of this format can be used as SOURCE.\n"
    "  r3d:  Path to a single file of this format can be used as SOURCE. If the\n"
    "        footage is split into multiple files, please select only one of them\n"
    "        because the other parts will be found and used automatically.\n"
    "  exr:  Path to one or more files of this format can be used as DESTINATION.\n"
    "\n"
    "Examples:\n"
    "  Copy from \"clip.vant\" to \"clip-0000.exr\".\n"
    "  $ okalu-tafe -s clip.vant -d clip-0000.exr\n"
    "\n"
    "  Copy from \"clip.vant\" to \"clip-0000.exr\", \"clip-0001.exr\" and \"clip-0002.exr\".\n"
    "  $ okalu-tafe -s clip.vant -d clip-0000.exr clip-0001.exr clip-0002.exr\n"
    "\n"
    "  Copy from \"clip.vnt\" to files which start with \"clip-\" and end with \".exr\".\n"
    "  $ okalu-tafe -s clip.vant -d clip-*.exr\n"
    "\n"
    "  Copy from \"clip-001.r3d\" and all the other r3d files contained in the same\n"
    "  directory which belong to the same footage to files which start with \"clip-\"\n"
    "  and end with \".exr\".\n"
    "  $ okalu-tafe -s clip-001.r3d -d clip-*.exr\n"
    "\n"
    "Copyright:\n"
    "  (C) 2023 OKALU. All rights reserved.\n";

const std::string conflictMessage = "Conflicting options \"--ask-before-overwriting-metadata\" "
                                    "and \"--do-not-overwrite-metadata\".\n";

// Rows at frames 100 and 200 at 25 frames per second: 01:00:00:00 up to 01:00:03:24 is row 100,
// from 01:00:04:00 on row 200, and nothing lies before 01:00:00:00.
const std::string vantText = "# VANT Version 3\n"
                             "HEADER_START\n"
                             "lensManufacturer:=OKALU\n"
                             "lensTypeName:=Telvar 32-80\n"
                             "lensSerialNumber:=TV-0001\n"
                             "lensMinFocalLength:=32\n"
                             "lensMaxFocalLength:=80\n"
                             "cameraManufacturer:=RED\n"
                             "cameraModel:=WEAPON 8K VV\n"
                             "sensorWidth:=24\n"
                             "clipName:=A001_C001\n"
                             "videoFileName:=A001_C001.mov\n"
                             "clipDurationFrames:=300\n"
                             "clipWidth:=1920\n"
                             "clipHeight:=1080\n"
                             "tcFps:=25\n"
                             "tcDrop:=0\n"
                             "enableLensShadingCorrection:=1\n"
                             "shadingGamma:=2.2\n"
                             "enableLensDistortionCorrection:=1\n"
                             "distortionZoom:=1\n"
                             "HEADER_END\n"
                             "frame;positions;shading;distortion;a;b;c;d;e;timecode\n"
                             "100;0,3.5,7,10.5,14,17.5,21.4;100,99.2,97.1,93.8,89,82.6,74.3;"
                             "0,-0.12,-0.35,-0.71,-1.2,-1.84,-2.6;0;0;0;0;0;01:00:00:00\n"
                             "200;0,3,6,9,12,15,18;100,99,98,97,96,95,94;"
                             "0,0.5,1,1.5,2,2.5,3;0;0;0;0;0;01:00:04:00\n";

// 1920 x 1080 pixels on a 24 mm wide sensor: a 13.5 mm high image, radius 13.7682 mm.
const std::string vantRow100 =
    "{\"version\":\"1.0.0\",\"recordingFormat\":{\"imageRadius\":13.7682,\"clipResolution\":{"
    "\"width\":1920,\"height\":1080},\"camera\":{\"manufacturer\":\"RED\",\"model\":\"WEAPON 8K "
    "VV\"}},\"frameData\":{\"interpolationPoints\":{\"heights\":[0,3.5,7,10.5,14,17.5,21.4],"
    "\"shading\":[100,99.2,97.1,93.8,89,82.6,74.3],\"radialDistortion\":[0,-0.12,-0.35,-0.71,-"
    "1.2,-1.84,-2.6]}},\"creator\":\"okalu-tafe v0.4.3\"}";
const std::string vantRow200 =
    "{\"version\":\"1.0.0\",\"recordingFormat\":{\"imageRadius\":13.7682,\"clipResolution\":{"
    "\"width\":1920,\"height\":1080},\"camera\":{\"manufacturer\":\"RED\",\"model\":\"WEAPON 8K "
    "VV\"}},\"frameData\":{\"interpolationPoints\":{\"heights\":[0,3,6,9,12,15,18],\"shading\":["
    "100,99,98,97,96,95,94],\"radialDistortion\":[0,0.5,1,1.5,2,2.5,3]}},\"creator\":\"okalu-"
    "tafe v0.4.3\"}";

// A long lens data packet as a camera stores it: 70 bytes as two hexadecimal digits each,
// separated by "/", the 42 payload bytes from byte 26 on. Values are in tenths.
std::string longPacket(const std::vector<int>& heights, const std::vector<int>& shading,
                       const std::vector<int>& distortion) {
    std::vector<unsigned> bytes = {0x5A};
    for (unsigned index = 1; index < 26; ++index) {
        bytes.push_back(index);
    }
    for (const int height : heights) {
        bytes.push_back(static_cast<unsigned>(height) / 64);
        bytes.push_back(static_cast<unsigned>(height) % 64);
    }
    for (const std::vector<int>* list : {&shading, &distortion}) {
        for (const int value : *list) {
            const unsigned word = static_cast<unsigned>(value) & 0xFFFFu;
            bytes.push_back(word >> 8);
            bytes.push_back(word & 0xFFu);
        }
    }
    bytes.push_back(0);
    bytes.push_back(0);
    std::string text;
    for (const unsigned byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += (text.empty() ? "" : "/") + std::string(digits);
    }
    return text;
}

const std::string packetA =
    longPacket({0, 35, 70, 105, 140, 175, 214}, {1000, 991, 968, 932, 885, 824, 749},
               {0, -1, -3, -7, -12, -18, -26});
const std::string packetB = longPacket(
    {0, 30, 60, 90, 120, 150, 180}, {1000, 995, 980, 956, 922, 879, 825}, {0, 1, 2, 4, 7, 11, 16});

// A clip in the stand-in's text format; the lens data changes at the fourth frame.
std::string clipText(const std::string& cameraModel) {
    std::string text = "OKALU-TAFE TEXT CLIP 1\n"
                       "image_width = 8192\n"
                       "image_height = 4320\n"
                       "camera_model = " +
                       cameraModel +
                       "\n"
                       "framerate = 24\n";
    for (int frame = 0; frame < 6; ++frame) {
        text += "frame 01:00:00:0" + std::to_string(frame) + " " + (frame < 3 ? packetA : packetB) +
                "\n";
    }
    return text;
}

// The recording format "WEAPON 8K VV" at 8192 x 4320 pixels has an image radius of 23.1532 mm.
const std::string clipPacketA =
    "{\"version\":\"1.0.0\",\"recordingFormat\":{\"imageRadius\":23.1532,\"clipResolution\":{"
    "\"width\":8192,\"height\":4320},\"camera\":{\"manufacturer\":\"RED\",\"model\":\"WEAPON 8K "
    "VV\"}},\"frameData\":{\"interpolationPoints\":{\"heights\":[0,3.5,7,10.5,14,17.5,21.4],"
    "\"shading\":[100,99.1,96.8,93.2,88.5,82.4,74.9],\"radialDistortion\":[0,-0.1,-0.3,-0.7,-1.2,"
    "-1.8,-2.6]}},\"creator\":\"okalu-tafe v0.4.3\"}";
const std::string clipPacketB =
    "{\"version\":\"1.0.0\",\"recordingFormat\":{\"imageRadius\":23.1532,\"clipResolution\":{"
    "\"width\":8192,\"height\":4320},\"camera\":{\"manufacturer\":\"RED\",\"model\":\"WEAPON 8K "
    "VV\"}},\"frameData\":{\"interpolationPoints\":{\"heights\":[0,3,6,9,12,15,18],\"shading\":["
    "100,99.5,98,95.6,92.2,87.9,82.5],\"radialDistortion\":[0,0.1,0.2,0.4,0.7,1.1,1.6]}},"
    "\"creator\":\"okalu-tafe v0.4.3\"}";

std::string progress(unsigned percent, const std::string& name) {
    return std::to_string(percent) + "% [Copying to \"" + name + "\" ...]";
}
std::string copied(const std::string& name) {
    return "\r  OK: Successfully copied to \"" + name + "\".\n";
}
std::string skipped(const std::string& name) {
    return "\r  OK: Metadata already exists in \"" + name + "\".\n";
}
std::string failed(const std::string& name, const std::string& message) {
    return "\r ERR: Failed to copy to \"" + name + "\". (" + message + ")\n";
}
std::string question(const std::string& name) {
    return "\rWould you like to overwrite existing metadata in \"" + name + "\" [y/n]? ";
}
std::string found(unsigned sources, unsigned destinations) {
    const auto line = [](unsigned count, const char* kind) {
        return std::to_string(count) + " " + kind + (count == 1 ? " file was" : " files were") +
               " found.\n";
    };
    return line(sources, "source") + line(destinations, "destination");
}

class ApplicationTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return directory.file(name); }

    void writeText(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    void writeExr(const std::string& name, std::optional<Imf::TimeCode> timeCode,
                  std::optional<std::string> lensCorrection = std::nullopt) const {
        ExrFixtures::ExrFileSpec spec;
        spec.timeCode = timeCode;
        spec.lensCorrection = lensCorrection;
        ExrFixtures::writeScanLineExr(path(name), spec);
    }

    std::optional<std::string> metadataOf(const std::string& name) const {
        return ExrFixtures::readStringAttribute(path(name),
                                                ExrFixtures::lensCorrectionAttributeName);
    }

    ToolInvocation invocation(std::vector<std::string> arguments,
                              const std::string& input = "") const {
        ToolInvocation result;
        result.arguments = std::move(arguments);
        result.workingDirectory = directory.path().string();
        result.decoderLibraryDirectory = STANDIN_DIRECTORY;
        result.input = input;
        return result;
    }

    // Every run is also checked for a quiet standard error: a failed assertion or a sanitizer's
    // report would show there.
    ToolResult run(std::vector<std::string> arguments, const std::string& input = "") const {
        const ToolResult result = runTool(invocation(std::move(arguments), input));
        EXPECT_EQ(result.errors, "");
        return result;
    }

    // Frames "frame-0000.exr" and on, all at the timecode of the VANT file's first row.
    std::vector<std::string> writeFrames(int count) const {
        std::vector<std::string> names;
        for (int index = 0; index < count; ++index) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%04d.exr", index);
            names.push_back(name);
            writeExr(name, Imf::TimeCode(1, 0, 0, 0));
        }
        return names;
    }

    // Names of the directory's entries that a rewrite may have left behind.
    std::vector<std::string> temporaryFiles() const {
        std::vector<std::string> names;
        for (fs::directory_iterator entry(directory.path()), end; entry != end; ++entry) {
            if (entry->path().extension() == ".tmp") {
                names.push_back(entry->path().filename().string());
            }
        }
        return names;
    }

    ExrFixtures::TemporaryDirectory directory;
};

struct CommandLineCase {
    const char* title;
    std::vector<std::string> arguments;
    std::string output;
    int exitStatus;
};

TEST_F(ApplicationTest, CommandLinesThatEndBeforeAnyCopy) {
    writeText("clip.vant", vantText);
    writeExr("a.exr", Imf::TimeCode(1, 0, 0, 0));
    const std::vector<CommandLineCase> cases = {
        {"help", {"--help"}, helpText, 0},
        {"short help", {"-h"}, helpText, 0},
        {"help before version", {"--version", "-h"}, helpText, 0},
        {"help excuses the conflict without paths",
         {"-h", "--ask-before-overwriting-metadata", "--do-not-overwrite-metadata"},
         helpText,
         0},
        {"version", {"--version"}, "0.4.3\n", 0},
        {"version without a destination", {"--version", "-s", "clip.vant"}, "0.4.3\n", 0},
        {"unknown option",
         {"-s", "clip.vant", "-d", "a.exr", "--force"},
         "unrecognised option '--force'\n",
         2},
        {"missing destination",
         {"-s", "clip.vant"},
         "the option '--destination' is required but missing\n",
         2},
        {"nothing at all", {}, "the option '--destination' is required but missing\n", 2},
        {"conflicting switches",
         {"-s", "clip.vant", "-d", "a.exr", "--ask-before-overwriting-metadata",
          "--do-not-overwrite-metadata"},
         conflictMessage,
         2},
        {"conflicting switches with help",
         {"-h", "-s", "clip.vant", "-d", "a.exr", "--ask-before-overwriting-metadata",
          "--do-not-overwrite-metadata"},
         conflictMessage,
         2},
        {"a switch twice",
         {"-s", "clip.vant", "-d", "a.exr", "--abort-on-first-error", "--abort-on-first-error"},
         "option '--abort-on-first-error' cannot be specified more than once\n",
         2},
        {"a source option without a path",
         {"-s", "-d", "a.exr"},
         "the required argument for option '--source' is missing\n",
         2},
        {"an argument of no option",
         {"-s", "clip.vant", "--abort-on-first-error", "a.exr", "-d", "a.exr"},
         "too many positional options have been specified on the command line\n",
         2},
    };
    for (const CommandLineCase& testCase : cases) {
        SCOPED_TRACE(testCase.title);
        const ToolResult result = run(testCase.arguments);
        EXPECT_EQ(result.output, testCase.output);
        EXPECT_EQ(result.exitStatus, testCase.exitStatus);
    }
    EXPECT_FALSE(metadataOf("a.exr"));
}

TEST_F(ApplicationTest, NothingRunsWithoutTheDecoderLibrary) {
    if (fs::exists(fs::path(R3DSDK::InstallDirectory) / "REDR3D.dylib")) {
        GTEST_SKIP() << "a decoder library is installed on this machine";
    }
    writeText("clip.vant", vantText);
    writeExr("a.exr", Imf::TimeCode(1, 0, 0, 0));
    fs::create_directory(directory.path() / "empty");
    const std::vector<std::vector<std::string>> commandLines = {
        {"-h"}, {"--version"}, {"-s", "clip.vant", "-d", "a.exr"}, {"--force"}, {}};
    for (const std::string& decoderLibraryDirectory : {std::string(), path("empty")}) {
        for (const std::vector<std::string>& arguments : commandLines) {
            ToolInvocation call = invocation(arguments);
            call.decoderLibraryDirectory = decoderLibraryDirectory;
            const ToolResult result = runTool(call);
            EXPECT_EQ(result.output, "R3DSDK could not be initialized.\n");
            EXPECT_EQ(result.exitStatus, 1);
        }
    }
    EXPECT_FALSE(metadataOf("a.exr"));
}

TEST_F(ApplicationTest, AVantFileReachesEveryDestinationByTimecode) {
    writeText("clip.vant", vantText);
    writeExr("shot-1.exr", Imf::TimeCode(1, 0, 0, 0));
    writeExr("shot-2.exr", Imf::TimeCode(1, 0, 3, 24));
    writeExr("shot-3.exr", Imf::TimeCode(1, 0, 4, 0));
    writeExr("shot-4.exr", Imf::TimeCode(2, 0, 0, 0));

    // A file named twice is counted and worked on once.
    const ToolResult result = run({"-s", "clip.vant", "-d", "shot-*.exr", "./shot-1.exr"});
    EXPECT_EQ(result.output, found(1, 4) + progress(0, "shot-1.exr") + copied("shot-1.exr") +
                                 progress(25, "shot-2.exr") + copied("shot-2.exr") +
                                 progress(50, "shot-3.exr") + copied("shot-3.exr") +
                                 progress(75, "shot-4.exr") + copied("shot-4.exr") +
                                 "Completed!\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(metadataOf("shot-1.exr"), vantRow100);
    EXPECT_EQ(metadataOf("shot-2.exr"), vantRow100);
    EXPECT_EQ(metadataOf("shot-3.exr"), vantRow200);
    EXPECT_EQ(metadataOf("shot-4.exr"), vantRow200);
    EXPECT_TRUE(temporaryFiles().empty());
}

TEST_F(ApplicationTest, AFrameNamedMoreThanOnceIsRewrittenOnce) {
    writeText("clip.vant", vantText);
    writeText("notes.txt", "");
    fs::create_directory(path("sub"));
    struct Case {
        const char* title;
        std::vector<std::string> destinations;
        std::string output;
        // The names that must hold the metadata afterwards.
        std::vector<std::string> rewritten;
    };
    const std::string refused = "Destination cannot be created with unsupported type.\n";
    const Case cases[] = {
        {"one name spelt two ways",
         {"f.exr", "./f.exr", "sub/../f.exr"},
         found(1, 1) + progress(0, "f.exr") + copied("f.exr") + "Completed!\n",
         {"f.exr"}},
        // link.exr, matched by the first, is f.exr again.
        {"two overlapping patterns",
         {"*.exr", "f*.exr"},
         found(1, 2) + progress(0, "f.exr") + copied("f.exr") + progress(50, "g.exr") +
             copied("g.exr") + "Completed!\n",
         {"f.exr", "g.exr"}},
        {"a symbolic link to the frame",
         {"link.exr", "f.exr"},
         found(1, 1) + progress(0, "link.exr") + copied("link.exr") + "Completed!\n",
         {"f.exr"}},
        // Each name of a hard link is rewritten under its own name, as when named alone.
        {"a hard link under another name",
         {"g.exr", "f.exr", "./g.exr"},
         found(1, 2) + progress(0, "g.exr") + copied("g.exr") + progress(50, "f.exr") +
             copied("f.exr") + "Completed!\n",
         {"f.exr", "g.exr"}},
        // A list that is refused is counted as given.
        {"a refused list", {"f.exr", "./f.exr", "notes.txt"}, found(1, 3) + refused, {}},
    };
    const std::vector<std::string> traced =
        straceWrapper({"-f", "-e", "trace=rename,renameat,renameat2", "-o", path("renames.log")});
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.title);
        for (const char* name : {"f.exr", "g.exr", "link.exr"}) {
            fs::remove(path(name));
        }
        writeExr("f.exr", Imf::TimeCode(1, 0, 0, 0));
        fs::create_hard_link(path("f.exr"), path("g.exr"));
        fs::create_symlink("f.exr", path("link.exr"));
        std::vector<std::string> arguments = {"-s", "clip.vant", "-d"};
        arguments.insert(arguments.end(), testCase.destinations.begin(),
                         testCase.destinations.end());
        ToolInvocation tool = invocation(arguments);
        tool.wrapper = traced;
        const ToolResult result = runTool(tool);
        EXPECT_EQ(result.output, testCase.output);
        EXPECT_EQ(result.exitStatus, testCase.rewritten.empty() ? 1 : 0);
        for (const char* name : {"f.exr", "g.exr"}) {
            const bool wanted =
                std::count(testCase.rewritten.begin(), testCase.rewritten.end(), name) != 0;
            EXPECT_EQ(metadataOf(name).has_value(), wanted) << name;
        }
        EXPECT_TRUE(temporaryFiles().empty());
        if (!traced.empty()) {
            // One rename or exchange per rewrite, and none besides.
            std::ifstream log(path("renames.log"));
            std::size_t renames = 0;
            for (std::string line; std::getline(log, line);) {
                renames += line.find("rename") != std::string::npos ? 1 : 0;
            }
            EXPECT_EQ(renames, testCase.rewritten.size());
        }
    }
}

TEST_F(ApplicationTest, WildcardsExpandInByteOrderAndCaseSensitively) {
    writeText("clip.vant", vantText);
    for (const char* name : {"b.exr", "A.exr", "a.exr", "c.exr", "x*.exr", "xy.exr"}) {
        writeExr(name, Imf::TimeCode(1, 0, 0, 0));
    }
    // "?" is no wildcard, "*.EXR" matches nothing, a character class works, and a file whose
    // name holds "*" is taken as it stands.
    ToolResult result = run({"-s", "clip.vant", "-d", "?.exr", "*.EXR", "[aAb]*.exr", "x*.exr"});
    EXPECT_EQ(result.output, found(1, 4) + progress(0, "A.exr") + copied("A.exr") +
                                 progress(25, "a.exr") + copied("a.exr") + progress(50, "b.exr") +
                                 copied("b.exr") + progress(75, "x*.exr") + copied("x*.exr") +
                                 "Completed!\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_FALSE(metadataOf("c.exr"));
    EXPECT_FALSE(metadataOf("xy.exr"));

    // The message of an invalid pattern is the standard library's; a quantifier right after a
    // star repeats a repetition, which is refused as such.
    std::string regexMessage;
    try {
        std::regex("^clip(\\..*exr$");
    } catch (const std::regex_error& error) {
        regexMessage = error.what();
    }
    ASSERT_FALSE(regexMessage.empty());
    const std::string repeatMessage =
        std::regex_error(std::regex_constants::error_badrepeat).what();
    const std::pair<const char*, std::string> invalidPatterns[] = {
        {"clip(.*exr", regexMessage},
        {"shot*+v2*.exr", repeatMessage},
        {"*{2,}.exr", repeatMessage},
    };
    for (const auto& invalid : invalidPatterns) {
        result = run({"-s", "clip.vant", "-d", "a.exr", invalid.first});
        EXPECT_EQ(result.output, "1 source file was found.\n" + invalid.second + "\n");
        EXPECT_EQ(result.exitStatus, 2) << invalid.first;
    }
}

TEST_F(ApplicationTest, OverwritePoliciesDecideAboutExistingMetadata) {
    writeText("clip.vant", vantText);
    const auto prepare = [&] {
        writeExr("a.exr", Imf::TimeCode(1, 0, 0, 0), std::string("old a"));
        writeExr("b.exr", Imf::TimeCode(1, 0, 0, 0), std::string("old b"));
        writeExr("c.exr", Imf::TimeCode(1, 0, 0, 0));
    };
    const std::vector<std::string> files = {"-s", "clip.vant", "-d", "a.exr", "b.exr", "c.exr"};
    const auto with = [&](const std::vector<std::string>& switches) {
        std::vector<std::string> arguments = files;
        arguments.insert(arguments.end(), switches.begin(), switches.end());
        return arguments;
    };

    prepare();
    ToolResult result = run(files);
    EXPECT_EQ(result.output, found(1, 3) + progress(0, "a.exr") + copied("a.exr") +
                                 progress(33, "b.exr") + copied("b.exr") + progress(66, "c.exr") +
                                 copied("c.exr") + "Completed!\n");
    EXPECT_EQ(metadataOf("b.exr"), vantRow100);

    prepare();
    const std::string untouched = ExrFixtures::readFileBytes(path("a.exr"));
    result = run(with({"--do-not-overwrite-metadata"}));
    EXPECT_EQ(result.output, found(1, 3) + progress(0, "a.exr") + skipped("a.exr") +
                                 progress(33, "b.exr") + skipped("b.exr") + progress(66, "c.exr") +
                                 copied("c.exr") + "Completed!\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(ExrFixtures::readFileBytes(path("a.exr")), untouched);
    EXPECT_EQ(metadataOf("b.exr"), "old b");

    // "y" answers the first question; the line end is skipped, "n" answers the second.
    prepare();
    result = run(with({"--ask-before-overwriting-metadata"}), "y\nn\n");
    EXPECT_EQ(result.output, found(1, 3) + progress(0, "a.exr") + question("a.exr") +
                                 progress(0, "a.exr") + copied("a.exr") + progress(33, "b.exr") +
                                 question("b.exr") + skipped("b.exr") + progress(66, "c.exr") +
                                 copied("c.exr") + "Completed!\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(metadataOf("a.exr"), vantRow100);
    EXPECT_EQ(metadataOf("b.exr"), "old b");

    // With no answer at all every question is a no.
    prepare();
    result = run({"-s", "clip.vant", "-d", "a.exr", "b.exr", "--ask-before-overwriting-metadata"});
    EXPECT_EQ(result.output, found(1, 2) + progress(0, "a.exr") + question("a.exr") +
                                 skipped("a.exr") + progress(50, "b.exr") + question("b.exr") +
                                 skipped("b.exr") + "Nothing to do!\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(metadataOf("a.exr"), "old a");
}

TEST_F(ApplicationTest, AFailedDestinationFailsTheRun) {
    writeText("clip.vant", vantText);
    const auto prepare = [&] {
        writeExr("a.exr", std::nullopt);
        writeExr("b.exr", Imf::TimeCode(0, 59, 59, 24));
        writeExr("c.exr", Imf::TimeCode(1, 0, 0, 0));
    };
    const std::string noTimecode = failed("a.exr", "Timecode does not exist.");
    const std::string tooEarly = failed("b.exr", "No metadata available for timecode 00:59:59:24.");

    prepare();
    ToolResult result = run({"-s", "clip.vant", "-d", "a.exr", "b.exr", "c.exr"});
    EXPECT_EQ(result.output, found(1, 3) + progress(0, "a.exr") + noTimecode +
                                 progress(33, "b.exr") + tooEarly + progress(66, "c.exr") +
                                 copied("c.exr") + "Completed with 2 errors!\n");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(metadataOf("c.exr"), vantRow100);

    prepare();
    result = run({"-s", "clip.vant", "-d", "a.exr", "b.exr", "c.exr", "--abort-on-first-error"});
    EXPECT_EQ(result.output, found(1, 3) + progress(0, "a.exr") + noTimecode + "Aborted!\n");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_FALSE(metadataOf("c.exr"));

    prepare();
    result = run({"-s", "clip.vant", "-d", "b.exr"});
    EXPECT_EQ(result.output,
              found(1, 1) + progress(0, "b.exr") + tooEarly + "Nothing to do with 1 error!\n");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(temporaryFiles().empty());
}

TEST_F(ApplicationTest, RefusedSourcesAndDestinationsTouchNoFile) {
    writeText("clip.vant", vantText);
    writeText("other.vant", vantText);
    writeText("broken.vant", "# VANT Version 3\nHEADER_START\nHEADER_END\nframe;\n");
    writeText("notes.txt", "not an image");
    writeText("unknown.r3d", clipText("NO SUCH CAMERA"));
    std::string commaWidth = vantText;
    commaWidth.replace(commaWidth.find("sensorWidth:=24"), 15, "sensorWidth:=40,96");
    writeText("comma.vant", commaWidth);
    writeExr("a.exr", Imf::TimeCode(1, 0, 0, 0));
    const std::string before = ExrFixtures::readFileBytes(path("a.exr"));

    const std::vector<CommandLineCase> cases = {
        {"no source", {"-s", "missing.vant", "-d", "a.exr"}, "No source file found.\nFailed!\n", 1},
        // Without a source the destination arguments are not even expanded.
        {"no source and an invalid destination pattern",
         {"-s", "missing.vant", "-d", "clip(*.exr"},
         "No source file found.\nFailed!\n",
         1},
        {"no destination",
         {"-s", "clip.vant", "-d", "missing.exr", "*.EXR"},
         "1 source file was found.\nNo destination file found.\nFailed!\n",
         1},
        {"two VANT files",
         {"-s", "*.vant", "-d", "a.exr"},
         found(4, 1) + "Source cannot consist of multiple vant files.\n",
         1},
        {"mixed source types",
         {"-s", "clip.vant", "notes.txt", "-d", "a.exr"},
         found(2, 1) + "Sources cannot be of different types.\n",
         1},
        {"unsupported source",
         {"-s", "notes.txt", "-d", "a.exr"},
         found(1, 1) + "Source cannot be created with unsupported type.\n",
         1},
        {"unparsable source",
         {"-s", "broken.vant", "-d", "a.exr"},
         found(1, 1) + "Source could not be parsed.\n",
         1},
        {"a clip of an unknown camera",
         {"-s", "unknown.r3d", "-d", "a.exr"},
         found(1, 1) + "Recording format of source is unknown.\n",
         1},
        {"a VANT header whose sensor width does not convert",
         {"-s", "comma.vant", "-d", "a.exr"},
         found(1, 1) + "Recording format of source is unknown.\n",
         1},
        {"a destination of another type",
         {"-s", "clip.vant", "-d", "a.exr", "notes.txt"},
         found(1, 2) + "Destination cannot be created with unsupported type.\n",
         1},
        // The source is read before the destination list is looked at.
        {"a broken source and a destination of another type",
         {"-s", "broken.vant", "-d", "a.exr", "notes.txt"},
         found(1, 2) + "Source could not be parsed.\n",
         1},
    };
    for (const CommandLineCase& testCase : cases) {
        SCOPED_TRACE(testCase.title);
        const ToolResult result = run(testCase.arguments);
        EXPECT_EQ(result.output, testCase.output);
        EXPECT_EQ(result.exitStatus, testCase.exitStatus);
    }
    EXPECT_EQ(ExrFixtures::readFileBytes(path("a.exr")), before);
}

// Before the first frame is rewritten, and while the user is asked about a frame, nothing is
// half-done: an interrupt ends the run there and then, however long the step would still take,
// and nothing is rewritten after it.
TEST_F(ApplicationTest, AnInterruptBeforeTheFirstFrameOrAtAQuestionEndsTheRunAtOnce) {
    writeText("clip.vant", vantText);
    writeExr("a.exr", Imf::TimeCode(1, 0, 0, 0), std::string("old"));
    writeExr("b.exr", Imf::TimeCode(1, 0, 0, 0), std::string("old"));
    // Names on which the pattern below backtracks for hours.
    for (const char letter : {'m', 'n'}) {
        writeText(std::string(30, letter), "");
    }
    // A source that takes seconds to read: a million rows.
    {
        std::ofstream big(path("big.vant"), std::ios::binary);
        big << vantText.substr(0, vantText.find("100;"));
        for (int frame = 0; frame < 1000000; ++frame) {
            big << frame
                << ";0,3,6,9,12,15,18;100,99,98,97,96,95,94;0,0.5,1,1.5,2,2.5,3;0;0;0;0;0;"
                   "01:00:00:00\n";
        }
    }
    const std::string aborted = "Aborted by the user!\n";
    const struct {
        const char* title;
        int signalNumber;
        std::vector<std::string> arguments;
        std::string signalAfter;
        std::string output;
    } cases[] = {
        {"expanding a pattern that backtracks",
         SIGINT,
         {"-s", "clip.vant", "-d", "(*)+.exr"},
         "1 source file was found.\n",
         "1 source file was found.\n" + aborted},
        {"reading a large source",
         SIGTERM,
         {"-s", "big.vant", "-d", "a.exr", "b.exr"},
         found(1, 2),
         found(1, 2) + aborted},
        // The question has no line end: the message begins a line of its own.
        {"waiting at the question",
         SIGHUP,
         {"-s", "clip.vant", "-d", "a.exr", "b.exr", "--ask-before-overwriting-metadata"},
         question("a.exr"),
         found(1, 2) + progress(0, "a.exr") + question("a.exr") + "\n" + aborted},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.title);
        ToolInvocation call = invocation(testCase.arguments);
        call.keepInputOpen = true;
        ToolProcess process(call);
        // Printed before the step begins, and not left in a buffer.
        ASSERT_TRUE(process.waitForOutput(testCase.signalAfter, std::chrono::seconds(30)));
        const auto signalled = std::chrono::steady_clock::now();
        process.signal(testCase.signalNumber);
        const ToolResult result = process.finish(std::chrono::seconds(20));
        EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(1));

        EXPECT_EQ(result.output, testCase.output);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.errors, "");
        EXPECT_EQ(metadataOf("a.exr"), "old");
        EXPECT_EQ(metadataOf("b.exr"), "old");
        EXPECT_TRUE(temporaryFiles().empty());
    }
}

// A frame with an ID manifest is never rewritten (OpenEXR would misread the header), but whether
// it holds the metadata is known from the header as stored.
TEST_F(ApplicationTest, AFrameWithAnIdManifestIsKeptAskedAboutOrRefusedUntouched) {
    writeText("clip.vant", vantText);
    Imf::IDManifest manifest;
    Imf::IDManifest::ChannelGroupManifest& group = manifest.add("id");
    group.setComponent("object");
    group.insert(7, "crate");
    ExrFixtures::ExrFileSpec spec;
    spec.timeCode = Imf::TimeCode(1, 0, 0, 0);
    spec.extraAttributes = {{"idManifest", std::make_shared<Imf::IDManifestAttribute>(
                                               Imf::CompressedIDManifest(manifest))}};
    ExrFixtures::writeScanLineExr(path("plain.exr"), spec);
    spec.lensCorrection = "old";
    ExrFixtures::writeScanLineExr(path("held.exr"), spec);
    const std::string refused = "Temporary file could not be created.";
    const struct {
        const char* title;
        std::vector<std::string> arguments;
        std::string input;
        std::string output;
        int exitStatus;
    } cases[] = {
        {"kept",
         {"-s", "clip.vant", "-d", "held.exr", "--do-not-overwrite-metadata"},
         "",
         found(1, 1) + progress(0, "held.exr") + skipped("held.exr") + "Nothing to do!\n",
         0},
        {"asked, no",
         {"-s", "clip.vant", "-d", "held.exr", "--ask-before-overwriting-metadata"},
         "n\n",
         found(1, 1) + progress(0, "held.exr") + question("held.exr") + skipped("held.exr") +
             "Nothing to do!\n",
         0},
        {"asked, yes",
         {"-s", "clip.vant", "-d", "held.exr", "--ask-before-overwriting-metadata"},
         "y\n",
         found(1, 1) + progress(0, "held.exr") + question("held.exr") + progress(0, "held.exr") +
             failed("held.exr", refused) + "Nothing to do with 1 error!\n",
         1},
        {"without the metadata, kept",
         {"-s", "clip.vant", "-d", "plain.exr", "--do-not-overwrite-metadata"},
         "",
         found(1, 1) + progress(0, "plain.exr") + failed("plain.exr", refused) +
             "Nothing to do with 1 error!\n",
         1},
    };
    const std::string held = ExrFixtures::readFileBytes(path("held.exr"));
    const std::string plain = ExrFixtures::readFileBytes(path("plain.exr"));
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.title);
        const ToolResult result = run(testCase.arguments, testCase.input);
        EXPECT_EQ(result.output, testCase.output);
        EXPECT_EQ(result.exitStatus, testCase.exitStatus);
        EXPECT_EQ(ExrFixtures::readFileBytes(path("held.exr")), held);
        EXPECT_EQ(ExrFixtures::readFileBytes(path("plain.exr")), plain);
        EXPECT_TRUE(temporaryFiles().empty());
    }
}

// A scheduler stopping a job (SIGTERM) and a closed terminal (SIGHUP) stop a run as an
// interrupt does.
class StoppingSignalTest : public ApplicationTest, public ::testing::WithParamInterface<int> {};

TEST_P(StoppingSignalTest, StopsALongRunBetweenFiles) {
    writeText("clip.vant", vantText);
    const std::vector<std::string> names = writeFrames(300);
    ToolProcess process(invocation({"-s", "clip.vant", "-d", "frame-*.exr"}));
    ASSERT_TRUE(process.waitForOutput(copied(names[0])));
    process.signal(GetParam());
    const ToolResult result = process.finish();

    ASSERT_EQ(result.exitStatus, 1) << result.output;
    EXPECT_EQ(result.errors, "");
    const std::string ending = "Aborted by the user!\n";
    ASSERT_GE(result.output.size(), ending.size());
    EXPECT_EQ(result.output.substr(result.output.size() - ending.size()), ending);

    // The files before the stop are complete and written, the others untouched, none half-way.
    std::size_t copiedCount = 0;
    while (copiedCount < names.size() &&
           result.output.find(copied(names[copiedCount])) != std::string::npos) {
        ++copiedCount;
    }
    EXPECT_GE(copiedCount, 1u);
    EXPECT_LT(copiedCount, names.size());
    EXPECT_EQ(result.output.find("[Copying to \"" + names[copiedCount] + "\" ...]"),
              std::string::npos)
        << "a file was begun after the signal";
    for (std::size_t index = 0; index < names.size(); ++index) {
        SCOPED_TRACE(names[index]);
        const std::optional<std::string> metadata = metadataOf(names[index]);
        EXPECT_EQ(metadata.has_value(), index < copiedCount);
    }
    EXPECT_TRUE(temporaryFiles().empty());
}

// Names the instances of a test over stopping signals.
std::string signalName(const ::testing::TestParamInfo<int>& info) {
    return info.param == SIGINT    ? std::string("SIGINT")
           : info.param == SIGTERM ? std::string("SIGTERM")
                                   : std::string("SIGHUP");
}

INSTANTIATE_TEST_SUITE_P(Signals, StoppingSignalTest, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         signalName);

class IgnoredSignalTest : public ApplicationTest, public ::testing::WithParamInterface<int> {};

TEST_P(IgnoredSignalTest, ASignalIgnoredAtStartStaysIgnored) {
    // As nohup starts a run, so that it outlives its terminal, and as a shell starts a script's
    // background job, with interrupts ignored.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    ASSERT_EQ(::sigaction(GetParam(), &ignore, &previous), 0);
    writeText("clip.vant", vantText);
    const std::vector<std::string> names = writeFrames(100);
    ToolProcess process(invocation({"-s", "clip.vant", "-d", "frame-*.exr"}));
    ::sigaction(GetParam(), &previous, nullptr);
    ASSERT_TRUE(process.waitForOutput(copied(names[0])));
    process.signal(GetParam());
    const ToolResult result = process.finish();

    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(result.output.find(copied(names.back()) + "Completed!\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Signals, IgnoredSignalTest, ::testing::Values(SIGINT, SIGHUP), signalName);

TEST_F(ApplicationTest, StandardOutputThatCannotBeWrittenFailsTheRunAfterItsWork) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    const std::string failure = "okalu-tafe: standard output could not be written.\n";
    writeText("clip.vant", vantText);
    const std::vector<std::string> names = writeFrames(3);

    ToolInvocation copy = invocation({"-s", "clip.vant", "-d", "frame-*.exr"});
    copy.standardOutput = StandardOutput::fullDevice;
    const ToolResult copyResult = runTool(copy);
    EXPECT_EQ(copyResult.exitStatus, 1);
    EXPECT_EQ(copyResult.errors, failure);
    for (const std::string& name : names) {
        EXPECT_EQ(metadataOf(name), vantRow100) << name;
    }
    EXPECT_TRUE(temporaryFiles().empty());

    // A reader that went away: the run neither dies of the broken pipe nor stops early.
    for (const std::string& name : names) {
        writeExr(name, Imf::TimeCode(1, 0, 0, 0), std::string("old"));
    }
    ToolInvocation asking =
        invocation({"-s", "clip.vant", "-d", "frame-*.exr", "--ask-before-overwriting-metadata"});
    asking.keepInputOpen = true;
    ToolProcess process(asking);
    ASSERT_TRUE(process.waitForOutput(question(names[0])));
    process.closeOutput();
    process.sendInput("y y y\n");
    const ToolResult askingResult = process.finish();
    EXPECT_EQ(askingResult.exitStatus, 1);
    EXPECT_EQ(askingResult.terminatingSignal, 0);
    EXPECT_EQ(askingResult.errors, failure);
    for (const std::string& name : names) {
        EXPECT_EQ(metadataOf(name), vantRow100) << name;
    }
}

TEST_F(ApplicationTest, AClosedStandardOutputTakesNoFilesPlace) {
    writeText("clip.vant", vantText);
    const std::vector<std::string> names = writeFrames(3);
    ToolInvocation call = invocation({"-s", "clip.vant", "-d", "frame-*.exr"});
    call.standardOutput = StandardOutput::closed;
    const ToolResult result = runTool(call);

    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.errors, "");
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(metadataOf(name), vantRow100);
        EXPECT_EQ(ExrFixtures::readFileBytes(path(name)).find("Copying to"), std::string::npos);
    }
}

TEST_F(ApplicationTest, AStandInClipReachesEveryDestinationByTimecode) {
    writeText("A001_C001.r3d", clipText("WEAPON 8K VV"));
    // Before the first frame, on a frame of each packet, and past the end of the clip.
    writeExr("A001_C001-1.exr", Imf::TimeCode(0, 59, 59, 23));
    writeExr("A001_C001-2.exr", Imf::TimeCode(1, 0, 0, 2));
    writeExr("A001_C001-3.exr", Imf::TimeCode(1, 0, 0, 4));
    writeExr("A001_C001-4.exr", Imf::TimeCode(1, 0, 10, 0));

    const ToolResult result = run({"-s", "A001_C001.r3d", "-d", "A001_C001-*.exr"});
    EXPECT_EQ(result.output, found(1, 4) + progress(0, "A001_C001-1.exr") +
                                 copied("A001_C001-1.exr") + progress(25, "A001_C001-2.exr") +
                                 copied("A001_C001-2.exr") + progress(50, "A001_C001-3.exr") +
                                 copied("A001_C001-3.exr") + progress(75, "A001_C001-4.exr") +
                                 copied("A001_C001-4.exr") + "Completed!\n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(metadataOf("A001_C001-1.exr"), clipPacketA);
    EXPECT_EQ(metadataOf("A001_C001-2.exr"), clipPacketA);
    EXPECT_EQ(metadataOf("A001_C001-3.exr"), clipPacketB);
    EXPECT_EQ(metadataOf("A001_C001-4.exr"), clipPacketB);
    EXPECT_TRUE(temporaryFiles().empty());
}

TEST_F(ApplicationTest, TheBundledSamplesRunThroughBothRoads) {
    for (fs::directory_iterator entry(SAMPLES_DIRECTORY), end; entry != end; ++entry) {
        fs::copy_file(entry->path(), directory.path() / entry->path().filename());
    }
    const std::vector<std::vector<std::string>> commandLines = {
        {"-s", "clip.vant", "-d", "clip-*.exr"}, {"-s", "A001_C001.r3d", "-d", "A001_C001-*.exr"}};
    for (const std::vector<std::string>& arguments : commandLines) {
        SCOPED_TRACE(arguments[1]);
        const ToolResult result = run(arguments);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.output.substr(0, found(1, 6).size()), found(1, 6));
        EXPECT_EQ(result.output.find("ERR:"), std::string::npos);
    }
    for (fs::directory_iterator entry(directory.path()), end; entry != end; ++entry) {
        if (entry->path().extension() == ".exr") {
            SCOPED_TRACE(entry->path().string());
            EXPECT_TRUE(metadataOf(entry->path().filename().string()));
        }
    }
}

} // namespace
