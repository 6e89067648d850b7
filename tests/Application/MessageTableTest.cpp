// The README's table of messages against the program: every text that okalu-tafe prints itself
// has its row there, every row's text is still in the sources, and the built program, run as a
// child process on the bundled samples and files made on the spot, prints each of them. A text
// added to the sources without a row fails here: the sources are read for every literal that
// reads like a message.
#include "ToolProcess.hpp"

#include "R3DSDK.hpp"
#include "Support/ExrFixtures.hpp"

#include <OpenEXR/ImfTimeCode.h>

#include <boost/filesystem.hpp>
#include <gtest/gtest.h>

#include <cctype>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <sys/file.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace fs = boost::filesystem;

namespace {

// Every message of the tool as the README's table shows it, with what stands in the sources for
// it: the literals of which the program puts it together (empty for a library's own text).
struct Message {
    std::string readme;
    std::vector<std::string> code;
};

const std::string conflict = "Conflicting options \"--ask-before-overwriting-metadata\" and "
                             "\"--do-not-overwrite-metadata\".";
const std::string multipleR3D =
    "Source cannot consist of multiple R3D files. Please select only one if the footage is split "
    "into multiple parts and the other parts contained in the same directory will be used "
    "automatically.";
const std::string swappedBack = "okalu-tafe: <path> now holds the rewrite of the earlier file; "
                                "<path>.tmp holds the file that was found in its place.";
// The clause printed, in place of the second one above, where the exchange was made but the
// earlier file stands at the temporary name as it was locked.
const std::string earlierFileKept =
    "okalu-tafe: <path> now holds the rewrite of the earlier file; <path>.tmp holds the earlier "
    "file.";

// Where a failed rename left the frame's name free and it could not be put back.
const std::string copyKept =
    "okalu-tafe: <path> is missing; <path>.earlier-<process id> holds the earlier file.";
const std::string notPutBack =
    "okalu-tafe: <path> is missing and the earlier file could not be put back.";

const std::vector<Message> messages = {
    {"1 source file was found.", {" file", " was", " found."}},
    {"N source files were found.", {"s were"}},
    {"1 destination file was found.", {}},
    {"N destination files were found.", {}},
    {"No source file found.", {"No ", " file found.\\nFailed!\\n"}},
    {"No destination file found.", {}},
    {"Failed!", {}},
    {"N% [Copying to \"<name>\" ...]", {"% [Copying to \\\"", "\\\" ...]"}},
    {"OK: Successfully copied to \"<name>\".", {"\\r  OK: Successfully copied to \\\""}},
    {"OK: Metadata already exists in \"<name>\".", {"\\r  OK: Metadata already exists in \\\""}},
    {"Would you like to overwrite existing metadata in \"<name>\" [y/n]? ",
     {"\\rWould you like to overwrite existing metadata in \\\"", "\\\" [y/n]? "}},
    {"ERR: Failed to copy to \"<name>\". (<message>)", {"\\r ERR: Failed to copy to \\\""}},
    {"Completed!", {"Completed"}},
    {"Completed with 1 error!", {" with ", " error"}},
    {"Completed with N errors!", {}},
    {"Nothing to do!", {"Nothing to do"}},
    {"Nothing to do with 1 error!", {}},
    {"Nothing to do with N errors!", {}},
    {"Aborted by the user!", {"Aborted by the user!\\n"}},
    {"Aborted!", {"Aborted!\\n"}},
    {conflict, {}},
    {"unrecognised option '--bogus'", {}},
    {"option '--a' is ambiguous and matches '--abort-on-first-error', and "
     "'--ask-before-overwriting-metadata'",
     {}},
    {"option '--help' does not take any arguments", {}},
    {"option '--abort-on-first-error' cannot be specified more than once", {}},
    {"the option '--destination' is required but missing", {}},
    {"the required argument for option '--source' is missing", {}},
    {"the argument for option '--source' should follow immediately after the equal sign", {}},
    {"too many positional options have been specified on the command line", {}},
    {"Mismatched '(' and ')' in regular expression", {}},
    {"Unexpected character within '[...]' in regular expression", {}},
    {"Invalid range in '{}' in regular expression", {}},
    {"Invalid '?', '*', or '+' in regular expression", {}},
    {"Invalid range in bracket expression.", {}},
    {"Back-reference index exceeds current sub-expression count.", {}},
    {"R3DSDK could not be initialized.", {"R3DSDK could not be initialized."}},
    {"Source cannot consist of multiple vant files.",
     {"Source cannot consist of multiple vant files."}},
    {multipleR3D, {multipleR3D}},
    {"Sources cannot be of different types.", {"Sources cannot be of different types."}},
    {"Source cannot be created with unsupported type.",
     {"Source cannot be created with unsupported type."}},
    {"Source could not be read.", {"Source could not be read."}},
    {"Source could not be parsed.", {"Source could not be parsed."}},
    {"Recording format of source is unknown.", {"Recording format of source is unknown."}},
    {"Source could not be loaded.", {"Source could not be loaded."}},
    {"Source does not contain any Telvar metadata.",
     {"Source does not contain any Telvar metadata."}},
    {"Source does not contain valid Telvar metadata.",
     {"Source does not contain valid Telvar metadata."}},
    {"Timecode object could not be constructed due to invalid format.",
     {"Timecode object could not be constructed due to invalid format."}},
    {"Destination cannot be created with unsupported type.",
     {"Destination cannot be created with unsupported type."}},
    {"File does not exist.", {"File does not exist."}},
    {"Timecode does not exist.", {"Timecode does not exist."}},
    {"No metadata available for timecode HH:MM:SS:FF.", {"No metadata available for timecode "}},
    {"Temporary file could not be created.", {"Temporary file could not be created."}},
    {"Temporary file could not be renamed.", {"Temporary file could not be renamed."}},
    {"Destination file changed during the rewrite.",
     {"Destination file changed during the rewrite."}},
    {"File is being written by another process.", {"File is being written by another process."}},
    {"Metadata contains a number that is not finite.",
     {"Metadata contains a number that is not finite."}},
    {"okalu-tafe: standard output could not be written.",
     {"okalu-tafe: standard output could not be written.\\n"}},
    {"okalu-tafe: the standard streams could not be opened.",
     {"okalu-tafe: the standard streams could not be opened.\\n"}},
    {swappedBack,
     {"okalu-tafe: %s.\\n", " now holds the rewrite of the earlier file",
      ".tmp holds the file that was found in its place"}},
    {earlierFileKept, {".tmp holds the earlier file"}},
    {copyKept, {"okalu-tafe: %s is missing; %s holds the earlier file.\\n"}},
    {notPutBack, {"okalu-tafe: %s is missing and the earlier file could not be put back.\\n"}},
    {"<file>:<line>: Assertion `<condition>' failed.", {"Assertion `"}},
};

// The messages that no run here reaches, and why.
const std::set<std::string> notRunHere = {
    // Every source that the tool reads refuses such a value before; the destination's own tests
    // give it one.
    "Metadata contains a number that is not finite.",
    // Certain only where strace holds the exchange while other programs swap files: the
    // rewrite-safety tests make it happen.
    swappedBack,
    earlierFileKept,
    // Only where storage hides the frame, the rename fails, and the put back fails too.
    copyKept,
    notPutBack,
    // A fault of the program.
    "<file>:<line>: Assertion `<condition>' failed.",
};

// Literals of the sources that read like messages but are never printed as such: the texts of
// exceptions that the rewrite replaces by its own message, the creator written into every
// document and an assertion's detail.
const std::set<std::string> notMessages = {
    "Unexpected end of file.",
    "EXR header runs past the end of the file.",
    "EXR header holds a name that is too long.",
    "EXR header holds an attribute of negative size.",
    "Not an EXR file.",
    "Temporary file is not writable.",
    "okalu-tafe v0.4.3",
    "Unknown overwrite policy",
};

std::string fileText(const fs::path& path) {
    std::ifstream stream(path.string(), std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

// The text of the sources below a directory (C++ files), one after the other.
std::string sourcesText(const fs::path& root) {
    std::string text;
    for (fs::recursive_directory_iterator entry(root), end; entry != end; ++entry) {
        const std::string extension = entry->path().extension().string();
        if (extension == ".cpp" || extension == ".hpp") {
            text += fileText(entry->path());
        }
    }
    return text;
}

// The string literals of C++ text, comments and compile-time checks left out, adjacent literals
// joined, as they stand between the quotes (escapes not resolved).
std::vector<std::string> stringLiterals(std::string text) {
    for (std::size_t check = text.find("static_assert("); check != std::string::npos;
         check = text.find("static_assert(", check)) {
        const std::size_t end = text.find(");", check);
        text.erase(check, end == std::string::npos ? std::string::npos : end + 2 - check);
    }
    std::vector<std::string> literals;
    bool joining = false;
    for (std::size_t index = 0; index < text.size();) {
        const char character = text[index];
        if (text.compare(index, 2, "//") == 0) {
            index = text.find('\n', index);
            index = index == std::string::npos ? text.size() : index;
        } else if (text.compare(index, 2, "/*") == 0) {
            index = text.find("*/", index + 2);
            index = index == std::string::npos ? text.size() : index + 2;
        } else if (character == '"' || character == '\'') {
            std::string literal;
            std::size_t end = index + 1;
            while (end < text.size() && text[end] != character) {
                if (text[end] == '\\' && end + 1 < text.size()) {
                    literal += text[end++];
                }
                literal += text[end++];
            }
            if (character == '"') {
                if (joining) {
                    literals.back() += literal;
                } else {
                    literals.push_back(literal);
                }
                joining = true;
            }
            index = end + 1;
        } else {
            if (!std::isspace(static_cast<unsigned char>(character))) {
                joining = false;
            }
            ++index;
        }
    }
    return literals;
}

// The parts of a literal that a reader sees: split at escaped line ends and carriage returns and
// at printf conversions, escaped quotes resolved, blanks trimmed; only parts with a word.
std::vector<std::string> readableParts(const std::string& literal) {
    std::vector<std::string> parts(1);
    for (std::size_t index = 0; index < literal.size(); ++index) {
        if (literal[index] == '\\' && index + 1 < literal.size()) {
            const char escaped = literal[++index];
            if (escaped == 'n' || escaped == 'r') {
                parts.emplace_back();
            } else {
                parts.back() += escaped;
            }
        } else if (literal[index] == '%' && index + 1 < literal.size() &&
                   std::isalpha(static_cast<unsigned char>(literal[index + 1]))) {
            parts.emplace_back();
            ++index;
        } else {
            parts.back() += literal[index];
        }
    }
    std::vector<std::string> readable;
    for (std::string& part : parts) {
        const std::size_t first = part.find_first_not_of(' ');
        const std::size_t last = part.find_last_not_of(' ');
        part = first == std::string::npos ? std::string() : part.substr(first, last - first + 1);
        bool word = false;
        for (std::size_t index = 1; index < part.size() && !word; ++index) {
            word = std::isalpha(static_cast<unsigned char>(part[index - 1])) &&
                   std::isalpha(static_cast<unsigned char>(part[index]));
        }
        if (word) {
            readable.push_back(part);
        }
    }
    return readable;
}

// The text with every run of white space made one blank.
std::string collapsed(const std::string& text) {
    std::string result;
    for (const char character : text) {
        const bool blank = std::isspace(static_cast<unsigned char>(character)) != 0;
        if (!blank || result.empty() || result.back() != ' ') {
            result += blank ? ' ' : character;
        }
    }
    return result;
}

// Whether a literal reads like a message: words with a blank between them, or a sentence's end.
bool readsLikeAMessage(const std::string& literal) {
    const std::vector<std::string> parts = readableParts(literal);
    for (const std::string& part : parts) {
        if (part.find(' ') != std::string::npos || part.back() == '.' || part.back() == '!') {
            return true;
        }
    }
    return false;
}

// The README's section on messages, up to the next section.
std::string messagesSection() {
    const std::string readme = fileText(fs::path(SOURCE_DIRECTORY) / "README.md");
    const std::size_t start = readme.find("\n## Messages\n");
    if (start == std::string::npos) {
        return std::string();
    }
    return readme.substr(start, readme.find("\n## ", start + 1) - start);
}

std::string failed(const std::string& name, const std::string& message) {
    return "\r ERR: Failed to copy to \"" + name + "\". (" + message + ")\n";
}

// Public, so that the table's functions reach it.
class MessageTableTest : public ::testing::Test {
public:
    std::string path(const std::string& name) const { return directory->file(name); }

    void writeText(const std::string& name, const std::string& text) const {
        ExrFixtures::writeFileBytes(path(name), text);
    }

    // The bundled sample with one change: the first occurrence of a text replaced.
    void writeChangedSample(const std::string& sample, const std::string& name,
                            const std::string& from, const std::string& to) const {
        std::string text = ExrFixtures::readFileBytes(path(sample));
        ASSERT_NE(text.find(from), std::string::npos) << from;
        text.replace(text.find(from), from.size(), to);
        writeText(name, text);
    }

    void writeExr(const std::string& name, std::optional<Imf::TimeCode> timeCode,
                  std::optional<std::string> lensCorrection = std::nullopt) const {
        ExrFixtures::ExrFileSpec spec;
        spec.timeCode = timeCode;
        spec.lensCorrection = lensCorrection;
        ExrFixtures::writeScanLineExr(path(name), spec);
    }

    ToolInvocation invocation(std::vector<std::string> arguments) const {
        ToolInvocation result;
        result.arguments = std::move(arguments);
        result.workingDirectory = directory->path().string();
        result.decoderLibraryDirectory = STANDIN_DIRECTORY;
        return result;
    }

    // A fresh directory holding the bundled samples.
    void renewDirectory() {
        directory = std::make_unique<ExrFixtures::TemporaryDirectory>();
        for (fs::directory_iterator entry(SAMPLES_DIRECTORY), end; entry != end; ++entry) {
            fs::copy_file(entry->path(), directory->path() / entry->path().filename());
        }
    }

    std::unique_ptr<ExrFixtures::TemporaryDirectory> directory;
};

// A run of the tool into a message: the files it needs, how it runs and what it must print.
struct MessageRun {
    /// The message of the table that the run reaches.
    std::string message;
    std::function<void(MessageTableTest&)> prepare;
    std::vector<std::string> arguments;
    /// Texts that standard output (or standard error) must hold.
    std::vector<std::string> printed;
    int exitStatus;
    bool onStandardError = false;
    /// Runs the tool differently (a signal, a lock, a wrapper); runs it to its end when empty.
    std::function<ToolResult(MessageTableTest&, ToolInvocation&)> run = nullptr;
};

// Runs the tool to its end; one still running after a minute is killed, so that a run that
// hangs fails its row instead of the whole test.
ToolResult finished(const ToolInvocation& call) {
    ToolProcess process(call);
    return process.finish(std::chrono::seconds(60));
}

const auto lockedFrame = [](MessageTableTest& test, ToolInvocation& call) {
    const int descriptor = ::open(test.path("clip-0000.exr").c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_EQ(::flock(descriptor, LOCK_EX), 0);
    const ToolResult result = finished(call);
    ::close(descriptor);
    return result;
};

const auto interrupted = [](MessageTableTest&, ToolInvocation& call) {
    call.keepInputOpen = true;
    ToolProcess process(call);
    EXPECT_TRUE(process.waitForOutput("[y/n]? "));
    process.signal(SIGINT);
    process.sendInput("n\n");
    return process.finish(std::chrono::seconds(60));
};

// Held by strace as it takes the lock, while a copy of the frame takes its place.
const auto replacedBeforeTheLock = [](MessageTableTest& test, ToolInvocation& call) {
    call.wrapper = straceWrapper({"-e", "trace=flock", "-e", "inject=flock:delay_enter=2s"});
    if (call.wrapper.empty()) {
        return ToolResult{};
    }
    ToolProcess process(call);
    EXPECT_TRUE(process.waitForSystemCall({SYS_flock}));
    fs::copy_file(test.path("clip-0000.exr"), test.path("render.exr"));
    fs::rename(test.path("render.exr"), test.path("clip-0000.exr"));
    return process.finish(std::chrono::seconds(60));
};

const auto traced = [](std::vector<std::string> options) {
    return [options](MessageTableTest&, ToolInvocation& call) {
        call.wrapper = straceWrapper(options);
        return call.wrapper.empty() ? ToolResult{} : finished(call);
    };
};

const auto withoutDecoderLibrary = [](MessageTableTest&, ToolInvocation& call) {
    call.decoderLibraryDirectory.clear();
    return finished(call);
};

const auto toFullDevice = [](MessageTableTest&, ToolInvocation& call) {
    call.standardOutput = StandardOutput::fullDevice;
    return finished(call);
};

// Standard input and output closed, in a mount namespace whose /dev is empty, so that the null
// device cannot take their place; nothing is run where the namespace cannot be made (not root,
// or a container that forbids it).
const auto withoutStandardStreams = [](MessageTableTest&, ToolInvocation& call) {
    static const bool usable = std::system("unshare -m true >/dev/null 2>&1") == 0;
    if (!usable) {
        return ToolResult{};
    }
    call.wrapper = {"unshare", "-m", "sh", "-c", "mount -t tmpfs none /dev && exec \"$@\" <&- >&-",
                    "sh"};
    return finished(call);
};

const auto nothing = [](MessageTableTest&) {};
const auto frameWithoutTimecode = [](MessageTableTest& test) {
    test.writeExr("a.exr", std::nullopt);
    test.writeExr("b.exr", std::nullopt);
};

const auto framesWithMetadata = [](MessageTableTest& test) {
    test.writeExr("a.exr", Imf::TimeCode(1, 0, 0, 0), std::string("old"));
    test.writeExr("b.exr", Imf::TimeCode(1, 0, 0, 0), std::string("old"));
};

const std::string vant = "clip.vant";
const std::string copied = "\r  OK: Successfully copied to \"clip-0000.exr\".\n";

// The counts, the progress and result lines and the ends of a run.
std::vector<MessageRun> consoleRuns() {
    return {
        {"1 source file was found.",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr", "clip-0006.exr"},
         {"1 source file was found.\n2 destination files were found.\n"},
         0},
        {"N source files were found.",
         nothing,
         {"-s", vant, vant, "-d", "clip-0000.exr"},
         {"2 source files were found.\n1 destination file was found.\n"},
         1},
        {"1 destination file was found.",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr"},
         {"1 destination file was found.\n"},
         0},
        {"N destination files were found.",
         nothing,
         {"-s", vant, "-d", "clip-*.exr"},
         {"6 destination files were found.\n"},
         0},
        {"No source file found.",
         nothing,
         {"-s", "samples/clip.vant", "-d", "clip-0000.exr"},
         {"No source file found.\nFailed!\n"},
         1},
        {"No destination file found.",
         [](MessageTableTest& test) { fs::create_directory(test.path("shots")); },
         {"-s", vant, "-d", "shots/*/clip-0000.exr", "*.EXR"},
         {"1 source file was found.\nNo destination file found.\nFailed!\n"},
         1},
        {"Failed!", nothing, {"-s", "missing.vant", "-d", "clip-0000.exr"}, {"Failed!\n"}, 1},
        {"N% [Copying to \"<name>\" ...]",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr", "clip-0006.exr"},
         {"0% [Copying to \"clip-0000.exr\" ...]", "50% [Copying to \"clip-0006.exr\" ...]"},
         0},
        {"OK: Successfully copied to \"<name>\".",
         nothing,
         {"-s", vant, "-d", "./clip-0000.exr"},
         {copied},
         0},
        {"OK: Metadata already exists in \"<name>\".",
         framesWithMetadata,
         {"-s", vant, "-d", "a.exr", "--do-not-overwrite-metadata"},
         {"\r  OK: Metadata already exists in \"a.exr\".\n"},
         0},
        {"Would you like to overwrite existing metadata in \"<name>\" [y/n]? ",
         framesWithMetadata,
         {"-s", vant, "-d", "a.exr", "--ask-before-overwriting-metadata"},
         {"\rWould you like to overwrite existing metadata in \"a.exr\" [y/n]? \r  OK: Metadata "
          "already exists in \"a.exr\".\n"},
         0},
        {"ERR: Failed to copy to \"<name>\". (<message>)",
         frameWithoutTimecode,
         {"-s", vant, "-d", "a.exr", "clip-0000.exr"},
         {failed("a.exr", "Timecode does not exist.")},
         1},
        {"Completed!", nothing, {"-s", vant, "-d", "clip-0000.exr"}, {copied + "Completed!\n"}, 0},
        {"Completed with 1 error!",
         frameWithoutTimecode,
         {"-s", vant, "-d", "a.exr", "clip-0000.exr"},
         {copied + "Completed with 1 error!\n"},
         1},
        {"Completed with N errors!",
         frameWithoutTimecode,
         {"-s", vant, "-d", "a.exr", "b.exr", "clip-0000.exr"},
         {copied + "Completed with 2 errors!\n"},
         1},
        {"Nothing to do!",
         framesWithMetadata,
         {"-s", vant, "-d", "a.exr", "b.exr", "--do-not-overwrite-metadata"},
         {"\r  OK: Metadata already exists in \"b.exr\".\nNothing to do!\n"},
         0},
        {"Nothing to do with 1 error!",
         frameWithoutTimecode,
         {"-s", vant, "-d", "a.exr"},
         {failed("a.exr", "Timecode does not exist.") + "Nothing to do with 1 error!\n"},
         1},
        {"Nothing to do with N errors!",
         frameWithoutTimecode,
         {"-s", vant, "-d", "a.exr", "b.exr"},
         {failed("b.exr", "Timecode does not exist.") + "Nothing to do with 2 errors!\n"},
         1},
        {"Aborted by the user!",
         framesWithMetadata,
         {"-s", vant, "-d", "a.exr", "b.exr", "--ask-before-overwriting-metadata"},
         {"\rWould you like to overwrite existing metadata in \"a.exr\" [y/n]? \nAborted by the "
          "user!\n"},
         1,
         false,
         interrupted},
        {"Aborted!",
         frameWithoutTimecode,
         {"-s", vant, "-d", "a.exr", "clip-0000.exr", "--abort-on-first-error"},
         {failed("a.exr", "Timecode does not exist.") + "Aborted!\n"},
         1},
    };
}

// Command lines that are refused, in the option and pattern libraries' words too.
std::vector<MessageRun> commandLineRuns() {
    return {
        {conflict,
         nothing,
         {"-s", vant, "-d", "a.exr", "--do-not-overwrite-metadata",
          "--ask-before-overwriting-metadata"},
         {conflict + "\n"},
         2},
        {"unrecognised option '--bogus'",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr", "--bogus"},
         {"unrecognised option '--bogus'\n"},
         2},
        {"option '--a' is ambiguous and matches '--abort-on-first-error', and "
         "'--ask-before-overwriting-metadata'",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr", "--a"},
         {"option '--a' is ambiguous and matches '--abort-on-first-error', and "
          "'--ask-before-overwriting-metadata'\n"},
         2},
        {"option '--help' does not take any arguments",
         nothing,
         {"--help=3"},
         {"option '--help' does not take any arguments\n"},
         2},
        {"option '--abort-on-first-error' cannot be specified more than once",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr", "--abort-on-first-error", "--abort-on-first-error"},
         {"option '--abort-on-first-error' cannot be specified more than once\n"},
         2},
        {"the option '--destination' is required but missing",
         nothing,
         {"-s", vant},
         {"the option '--destination' is required but missing\n"},
         2},
        {"the required argument for option '--source' is missing",
         nothing,
         {"-s", "-d", "clip-0000.exr"},
         {"the required argument for option '--source' is missing\n"},
         2},
        {"the argument for option '--source' should follow immediately after the equal sign",
         nothing,
         {"--source=", "-d", "clip-0000.exr"},
         {"the argument for option '--source' should follow immediately after the equal sign\n"},
         2},
        {"too many positional options have been specified on the command line",
         nothing,
         {"-s", vant, "--abort-on-first-error", "clip-0006.exr", "-d", "clip-0000.exr"},
         {"too many positional options have been specified on the command line\n"},
         2},
        {"Mismatched '(' and ')' in regular expression",
         nothing,
         {"-s", vant, "-d", "clip(*.exr"},
         {"Mismatched '(' and ')' in regular expression\n"},
         2},
        {"Unexpected character within '[...]' in regular expression",
         nothing,
         {"-s", vant, "-d", "clip[*.exr"},
         {"Unexpected character within '[...]' in regular expression\n"},
         2},
        {"Invalid range in '{}' in regular expression",
         nothing,
         {"-s", vant, "-d", "clip{*.exr"},
         {"Invalid range in '{}' in regular expression\n"},
         2},
        {"Invalid '?', '*', or '+' in regular expression",
         nothing,
         {"-s", vant, "-d", "clip*+.exr"},
         {"Invalid '?', '*', or '+' in regular expression\n"},
         2},
        {"Invalid range in bracket expression.",
         nothing,
         {"-s", vant, "-d", "clip[z-a]*.exr"},
         {"Invalid range in bracket expression.\n"},
         2},
        {"Back-reference index exceeds current sub-expression count.",
         nothing,
         {"-s", vant, "-d", "\\1*.exr"},
         {"Back-reference index exceeds current sub-expression count.\n"},
         2},
    };
}

// Sources that are refused before any frame is touched.
std::vector<MessageRun> sourceRuns() {
    return {
        {"R3DSDK could not be initialized.",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr"},
         {"R3DSDK could not be initialized.\n"},
         1,
         false,
         withoutDecoderLibrary},
        {"Source cannot consist of multiple vant files.",
         [](MessageTableTest& test) { test.writeChangedSample("clip.vant", "b.vant", "", ""); },
         {"-s", "*.vant", "-d", "clip-0000.exr"},
         {"Source cannot consist of multiple vant files.\n"},
         1},
        {multipleR3D,
         [](MessageTableTest& test) {
             test.writeChangedSample("A001_C001.r3d", "A001_C002.r3d", "", "");
         },
         {"-s", "A001_C00*.r3d", "-d", "clip-0000.exr"},
         {multipleR3D + "\n"},
         1},
        {"Sources cannot be of different types.",
         nothing,
         {"-s", vant, "A001_C001.r3d", "-d", "clip-0000.exr"},
         {"Sources cannot be of different types.\n"},
         1},
        {"Source cannot be created with unsupported type.",
         nothing,
         {"-s", "README.md", "-d", "clip-0000.exr"},
         {"Source cannot be created with unsupported type.\n"},
         1},
        {"Source could not be read.",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr"},
         {"Source could not be read.\n"},
         1,
         false,
         traced({"-P", "clip.vant", "-e", "trace=openat", "-e", "inject=openat:error=EACCES"})},
        {"Source could not be parsed.",
         [](MessageTableTest& test) {
             test.writeChangedSample("clip.vant", "marked.vant", "", "\xEF\xBB\xBF");
         },
         {"-s", "marked.vant", "-d", "clip-0000.exr"},
         {"Source could not be parsed.\n"},
         1},
        {"Recording format of source is unknown.",
         [](MessageTableTest& test) {
             test.writeChangedSample("clip.vant", "comma.vant", "sensorWidth:=", "sensorWidth:=4,");
         },
         {"-s", "comma.vant", "-d", "clip-0000.exr"},
         {"Recording format of source is unknown.\n"},
         1},
        {"Source could not be loaded.",
         [](MessageTableTest& test) { test.writeText("movie.r3d", "not a clip\n"); },
         {"-s", "movie.r3d", "-d", "clip-0000.exr"},
         {"Source could not be loaded.\n"},
         1},
        {"Source does not contain any Telvar metadata.",
         [](MessageTableTest& test) {
             test.writeText("bare.r3d", "OKALU-TAFE TEXT CLIP 1\nimage_width = 8192\nimage_height "
                                        "= 4320\ncamera_model = WEAPON 8K VV\nframerate = 24\n"
                                        "frame 01:00:00:00\n");
         },
         {"-s", "bare.r3d", "-d", "clip-0000.exr"},
         {"Source does not contain any Telvar metadata.\n"},
         1},
        {"Source does not contain valid Telvar metadata.",
         [](MessageTableTest& test) {
             // Byte 30, in the long packet's payload, is no hexadecimal number.
             const std::string text = ExrFixtures::readFileBytes(test.path("A001_C001.r3d"));
             const std::size_t packet = text.find(" 5A/");
             ASSERT_NE(packet, std::string::npos);
             std::string changed = text;
             changed.replace(packet + 1 + 30 * 3, 2, "GG");
             test.writeText("damaged.r3d", changed);
         },
         {"-s", "damaged.r3d", "-d", "clip-0000.exr"},
         {"Source does not contain valid Telvar metadata.\n"},
         1},
        {"Timecode object could not be constructed due to invalid format.",
         [](MessageTableTest& test) {
             // Only a clip in which no frame carries a valid timecode is refused.
             std::string text = ExrFixtures::readFileBytes(test.path("A001_C001.r3d"));
             for (std::size_t at = text.find("frame 01:"); at != std::string::npos;
                  at = text.find("frame 01:", at)) {
                 text.replace(at, std::string("frame 01:00:00:00").size(), "frame -");
             }
             test.writeText("untimed.r3d", text);
         },
         {"-s", "untimed.r3d", "-d", "clip-0000.exr"},
         {"Timecode object could not be constructed due to invalid format.\n"},
         1},
        {"Destination cannot be created with unsupported type.",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr", "README.md"},
         {"Destination cannot be created with unsupported type.\n"},
         1},
    };
}

// Frames that fail.
std::vector<MessageRun> frameRuns() {
    return {
        {"File does not exist.",
         [](MessageTableTest& test) { test.writeText("notes.exr", "not an image\n"); },
         {"-s", vant, "-d", "notes.exr"},
         {failed("notes.exr", "File does not exist.")},
         1},
        {"Timecode does not exist.",
         frameWithoutTimecode,
         {"-s", vant, "-d", "a.exr"},
         {failed("a.exr", "Timecode does not exist.")},
         1},
        {"No metadata available for timecode HH:MM:SS:FF.",
         [](MessageTableTest& test) { test.writeExr("early.exr", Imf::TimeCode(0, 59, 59, 0)); },
         {"-s", vant, "-d", "early.exr"},
         {failed("early.exr", "No metadata available for timecode 00:59:59:00.")},
         1},
        {"Temporary file could not be created.",
         [](MessageTableTest& test) {
             ExrFixtures::ExrFileSpec spec;
             spec.timeCode = Imf::TimeCode(1, 0, 0, 0);
             ExrFixtures::writeTiledExr(test.path("tiled.exr"), spec);
         },
         {"-s", vant, "-d", "tiled.exr"},
         {failed("tiled.exr", "Temporary file could not be created.")},
         1},
        {"Temporary file could not be renamed.",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr"},
         {failed("clip-0000.exr", "Temporary file could not be renamed.")},
         1,
         false,
         traced({"-e", "trace=rename,renameat,renameat2", "-e",
                 "inject=rename,renameat,renameat2:error=EIO"})},
        {"Destination file changed during the rewrite.",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr"},
         {failed("clip-0000.exr", "Destination file changed during the rewrite.")},
         1,
         false,
         replacedBeforeTheLock},
        {"File is being written by another process.",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr"},
         {failed("clip-0000.exr", "File is being written by another process.")},
         1,
         false,
         lockedFrame},
    };
}

// What goes to standard error.
std::vector<MessageRun> standardErrorRuns() {
    return {
        {"okalu-tafe: standard output could not be written.",
         nothing,
         {"-s", vant, "-d", "clip-0000.exr"},
         {"okalu-tafe: standard output could not be written.\n"},
         1,
         true,
         toFullDevice},
        {"okalu-tafe: the standard streams could not be opened.",
         nothing,
         {"--version"},
         {"okalu-tafe: the standard streams could not be opened.\n"},
         1,
         true,
         withoutStandardStreams},
    };
}

} // namespace

TEST_F(MessageTableTest, EveryMessageHasItsRowAndStandsInTheSources) {
    const std::string section = messagesSection();
    ASSERT_FALSE(section.empty()) << "README.md has no section \"## Messages\"";
    const std::vector<std::string> literals =
        stringLiterals(sourcesText(fs::path(SOURCE_DIRECTORY) / "src") +
                       sourcesText(fs::path(SOURCE_DIRECTORY) / "submodules"));
    for (const Message& message : messages) {
        SCOPED_TRACE(message.readme);
        EXPECT_NE(section.find("`" + message.readme), std::string::npos) << "no row in README.md";
        for (const std::string& code : message.code) {
            bool found = false;
            for (std::size_t index = 0; index < literals.size() && !found; ++index) {
                found = literals[index].find(code) != std::string::npos;
            }
            EXPECT_TRUE(found) << "no literal of the sources holds: " << code;
        }
    }
}

TEST_F(MessageTableTest, EveryMessageOfTheSourcesIsInTheTable) {
    // The help text is its own documentation.
    renewDirectory();
    const ToolResult help = runTool(invocation({"--help"}));
    ASSERT_EQ(help.exitStatus, 0);
    const std::string helpText = collapsed(help.output);
    const std::string sources = sourcesText(fs::path(SOURCE_DIRECTORY) / "src");
    for (const std::string& literal : stringLiterals(sources)) {
        if (!readsLikeAMessage(literal)) {
            continue;
        }
        for (const std::string& part : readableParts(literal)) {
            bool listed =
                notMessages.count(part) > 0 || helpText.find(collapsed(part)) != std::string::npos;
            for (std::size_t index = 0; index < messages.size() && !listed; ++index) {
                listed = messages[index].readme.find(part) != std::string::npos;
            }
            EXPECT_TRUE(listed) << "\"" << part << "\" (of \"" << literal
                                << "\") is printed but has no row in the README's messages";
        }
    }
}

TEST_F(MessageTableTest, TheToolPrintsEveryMessageOfTheTable) {
    std::vector<MessageRun> runs;
    for (const auto group :
         {consoleRuns, commandLineRuns, sourceRuns, frameRuns, standardErrorRuns}) {
        const std::vector<MessageRun> more = group();
        runs.insert(runs.end(), more.begin(), more.end());
    }

    std::set<std::string> reached;
    for (const MessageRun& messageRun : runs) {
        SCOPED_TRACE(messageRun.message);
        renewDirectory();
        messageRun.prepare(*this);
        ToolInvocation call = invocation(messageRun.arguments);
        const bool installedLibrary =
            fs::exists(fs::path(R3DSDK::InstallDirectory) / "REDR3D.dylib");
        if (messageRun.message == "R3DSDK could not be initialized." && installedLibrary) {
            std::cout << "[ SKIPPED  ] a decoder library is installed: " << messageRun.message
                      << "\n";
            reached.insert(messageRun.message);
            continue;
        }
        const ToolResult result = messageRun.run ? messageRun.run(*this, call) : finished(call);
        if (call.wrapper.empty() && messageRun.run && result.exitStatus == -1 &&
            result.terminatingSignal == 0) {
            // strace or a mount namespace is not to be had here: nothing was run.
            std::cout << "[ SKIPPED  ] strace or unshare cannot run here: " << messageRun.message
                      << "\n";
            reached.insert(messageRun.message);
            continue;
        }
        const std::string& stream = messageRun.onStandardError ? result.errors : result.output;
        for (const std::string& text : messageRun.printed) {
            EXPECT_NE(stream.find(text), std::string::npos)
                << "expected: " << text << "\nprinted: " << result.output << result.errors;
        }
        EXPECT_EQ(result.exitStatus, messageRun.exitStatus) << result.output << result.errors;
        reached.insert(messageRun.message);
    }
    for (const Message& message : messages) {
        EXPECT_TRUE(reached.count(message.readme) > 0 || notRunHere.count(message.readme) > 0)
            << "no run reaches: " << message.readme;
    }
}
