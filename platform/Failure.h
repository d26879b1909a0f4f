#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace flagwright {

// A runtime failure as the update run's trap sees it: a signed 32-bit code and a description.
// Database failures carry the provider-style status code (0x80040E4D is -2147217843); the
// program's own failures carry small numbers.
class Failure : public std::runtime_error {
public:
    Failure(std::int32_t code, std::string description)
        : std::runtime_error(description), code_(code), description_(std::move(description))
    {}

    std::int32_t Number() const { return code_; }
    const std::string& Description() const { return description_; }

private:
    std::int32_t code_;
    std::string description_;
};

// Status codes read as signed 32-bit numbers.
namespace failure_code {
inline constexpr std::int32_t AuthenticationFailed = static_cast<std::int32_t>(0x80040E4DU);
inline constexpr std::int32_t Unspecified = static_cast<std::int32_t>(0x80004005U);
inline constexpr std::int32_t NoSuchTable = static_cast<std::int32_t>(0x80040E37U);
inline constexpr std::int32_t StatementError = static_cast<std::int32_t>(0x80040E14U);
inline constexpr std::int32_t Timeout = static_cast<std::int32_t>(0x80040E31U);
inline constexpr std::int32_t ObjectClosed = 3704;
inline constexpr std::int32_t ObjectOpen = 3705;
inline constexpr std::int32_t InvalidArguments = 3001;
inline constexpr std::int32_t ItemNotFound = 3265;
inline constexpr std::int32_t ObjectNotSet = 91;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t InvalidUseOfNull = 94;
} // namespace failure_code

} // namespace flagwright
