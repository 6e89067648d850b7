// Loads a whole lens-correction file into memory, byte for byte, so that the
// parser works on text rather than on a stream.
#pragma once

#include <string>

namespace CorrectionFile {

class Reader {
public:
    /// Replaces content with every byte of the file (carriage returns, NUL
    /// and non-ASCII bytes included). Throws NotReadableException, leaving
    /// content untouched, when the file cannot be opened or not every byte
    /// found at opening can be read (a directory, a file cut short meanwhile).
    void readFile(const std::string& filePath, std::string& content) const;
};

} // namespace CorrectionFile
