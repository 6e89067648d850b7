#include "Exception/Exception.hpp"

#include <sstream>

Exception::Exception(const std::string& message) : message(message) {}

Exception::Exception(const std::string& message, const std::string& details)
    : message(message), details(details) {}

Exception::~Exception() = default;

const char* Exception::what() const noexcept {
    return message.c_str();
}

std::string Exception::detailedDescription() const noexcept {
    std::stringstream stream;
    stream << message << std::endl;
    if (!details.empty()) {
        stream << details << std::endl;
    }
    return stream.str();
}
