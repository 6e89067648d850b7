// The one failure type of okalu-tafe and its lens-correction core: a one-line
// message for the user and, optionally, labelled detail lines for diagnosis.
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(const std::string& message);
    Exception(const std::string& message, const std::string& details);

    ~Exception() override;

    /// The one-line message; valid while the exception object lives.
    const char* what() const noexcept override;

    /// The message and a line end, followed by the details and a line end
    /// when there are details. Nothing is trimmed or escaped.
    std::string detailedDescription() const noexcept;

protected:
    std::string message;
    // Subclasses write their labelled lines here in their constructors.
    std::string details;
};
