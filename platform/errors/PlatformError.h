#pragma once
// An error raised by a platform operation: the number and description that the
// program shows when nothing handles it.
#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace orvanta {

class PlatformError : public std::exception {
public:
    PlatformError(std::uint32_t number, std::string description)
        : number_(number), description_(std::move(description)) {}

    const char* what() const noexcept override { return description_.c_str(); }

    std::uint32_t number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    std::uint32_t number_;
    std::string description_;
};

} // namespace orvanta
