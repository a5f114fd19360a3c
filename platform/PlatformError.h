#pragma once
// An error raised by a platform operation: the number and description that the
// program shows when nothing handles it.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace orvanta {

class PlatformError : public std::runtime_error {
public:
    PlatformError(std::uint32_t number, const std::string& description)
        : std::runtime_error(description), number_(number), description_(description) {}

    std::uint32_t number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    std::uint32_t number_;
    std::string description_;
};

} // namespace orvanta
