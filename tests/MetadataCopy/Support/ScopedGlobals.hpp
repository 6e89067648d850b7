// Process-wide state that a test changes for its own duration and puts back
// afterwards, so that tests do not depend on the order they run in.
#pragma once

#include "MetadataCopy/Destinations/MetadataDestination.hpp"

#include <iostream>
#include <streambuf>
#include <string>

namespace ScopedGlobals {

/// Sets the creator text that every written document names.
class CreatorText {
public:
    explicit CreatorText(const std::string& text)
        : previous(MetadataCopy::MetadataDestination::metadataCreator()) {
        MetadataCopy::MetadataDestination::setMetadataCreator(text);
    }
    ~CreatorText() { MetadataCopy::MetadataDestination::setMetadataCreator(previous); }
    CreatorText(const CreatorText&) = delete;
    CreatorText& operator=(const CreatorText&) = delete;

private:
    std::string previous;
};

/// Sends what is written to std::cout into the given stream instead.
class ConsoleCapture {
public:
    explicit ConsoleCapture(std::ostream& into) : previous(std::cout.rdbuf(into.rdbuf())) {}
    ~ConsoleCapture() { std::cout.rdbuf(previous); }
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

private:
    std::streambuf* previous;
};

} // namespace ScopedGlobals
