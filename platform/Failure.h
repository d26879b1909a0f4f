#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace flagwright {

// A runtime failure as a trap sees it: a signed 32-bit code and a description. A database
// failure also keeps the SQLSTATE and native error number it was decided from, for logs and
// test failures to name; the operator is shown the code and description only.
class Failure : public std::runtime_error {
public:
    Failure(std::int32_t code, std::string description, std::string sqlState = {}, int native = 0)
        : std::runtime_error(description), code_(code), description_(std::move(description)),
          sqlState_(std::move(sqlState)), native_(native)
    {}

    std::int32_t Number() const { return code_; }
    const std::string& Description() const { return description_; }
    const std::string& SqlState() const { return sqlState_; } // empty: not from a driver
    int Native() const { return native_; }

private:
    std::int32_t code_;
    std::string description_;
    std::string sqlState_;
    int native_;
};

namespace failure_code {
// The data layer's codes. Provider status codes are read as signed numbers (0x80040E4D is
// -2147217843); the layer's own errors (facility 0x800A) are carried as their low 16 bits.
inline constexpr std::int32_t AuthenticationFailed = static_cast<std::int32_t>(0x80040E4DU);
inline constexpr std::int32_t Unspecified = static_cast<std::int32_t>(0x80004005U);
inline constexpr std::int32_t NoSuchTable = static_cast<std::int32_t>(0x80040E37U);
inline constexpr std::int32_t StatementError = static_cast<std::int32_t>(0x80040E14U);
inline constexpr std::int32_t Timeout = static_cast<std::int32_t>(0x80040E31U);
inline constexpr std::int32_t ProviderFailed = 3000;
inline constexpr std::int32_t InvalidArguments = 3001;
inline constexpr std::int32_t NoCurrentRecord = 3021;
inline constexpr std::int32_t ItemNotFound = 3265;
inline constexpr std::int32_t ObjectClosed = 3704;
inline constexpr std::int32_t ObjectOpen = 3705;
inline constexpr std::int32_t ProviderNotFound = 3706;

// The program's own codes, from converting values and using references.
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t ObjectNotSet = 91;
inline constexpr std::int32_t InvalidUseOfNull = 94;
} // namespace failure_code

// The data layer's own failures, worded as the layer it replaces words them.
namespace layer_failure {
inline Failure InvalidArguments()
{
    return Failure(failure_code::InvalidArguments,
                   "Arguments are of the wrong type, are out of acceptable range, or are in "
                   "conflict with one another.");
}
inline Failure ObjectClosed()
{
    return Failure(failure_code::ObjectClosed,
                   "Operation is not allowed when the object is closed.");
}
inline Failure ObjectOpen()
{
    return Failure(failure_code::ObjectOpen, "Operation is not allowed when the object is open.");
}
inline Failure ProviderNotFound()
{
    return Failure(failure_code::ProviderNotFound,
                   "Provider cannot be found. It may not be properly installed.");
}
} // namespace layer_failure

} // namespace flagwright
