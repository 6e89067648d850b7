// Turns the complete text of a VANT lens-correction file (versions 2 and 3)
// into a CorrectionData::Content: a header block of "key:=value" entries
// between "HEADER_START" and "HEADER_END", a "# VANT Version N" line, and
// ";"-separated rows after the line beginning with "frame;".
#pragma once

#include "CorrectionData/Content.hpp"
#include "CorrectionFile/InvalidFormatException.hpp"

#include <map>
#include <string>

namespace CorrectionFile {

class Parser {
public:
    /// Replaces content with the parsed text. Throws InvalidFormatException
    /// at the first problem, leaving content exactly as it was.
    void parse(const std::string& text, CorrectionData::Content& content) const;

    /// Reads the header block; every one of the 19 known keys is required,
    /// and the first occurrence of a key counts.
    void parseHeader(const std::string& text, CorrectionData::Header& header) const;

    /// Reads the version line and the rows; a later row with the same frame
    /// number replaces an earlier one.
    void parseBody(const std::string& text,
                   std::map<unsigned int, CorrectionData::Frame>& frames) const;
};

} // namespace CorrectionFile
