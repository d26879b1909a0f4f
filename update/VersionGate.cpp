#include "update/VersionGate.h"

#include "platform/Failure.h"

#include <vector>

namespace flagwright {

namespace {
std::vector<std::string> SplitAtDots(const std::string& text)
{
    std::vector<std::string> parts;
    if (text.empty())
        return parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto dot = text.find('.', start);
        parts.push_back(text.substr(start, dot - start));
        if (dot == std::string::npos)
            return parts;
        start = dot + 1;
    }
}

// A decimal number with optional surrounding blanks and sign, as a 16-bit signed integer.
std::int16_t ToInteger(const std::string& part)
{
    const Failure typeMismatch(failure_code::TypeMismatch, "Type mismatch");
    std::size_t i = 0;
    while (i < part.size() && part[i] == ' ')
        ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == '+' || part[i] == '-'))
        negative = part[i++] == '-';
    const std::size_t firstDigit = i;
    std::int32_t magnitude = 0;
    bool overflow = false;
    for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (part[i] - '0');
        if (magnitude > 32768) {
            overflow = true;
            magnitude = 32768; // keep reading digits; the text may still not be a number
        }
    }
    if (i == firstDigit)
        throw typeMismatch;
    while (i < part.size() && part[i] == ' ')
        ++i;
    if (i != part.size())
        throw typeMismatch;
    const std::int32_t value = negative ? -magnitude : magnitude;
    if (overflow || value > 32767 || value < -32768)
        throw Failure(failure_code::Overflow, "Overflow");
    return static_cast<std::int16_t>(value);
}

const std::string& Part(const std::vector<std::string>& parts, std::size_t index)
{
    if (index >= parts.size())
        throw Failure(failure_code::SubscriptOutOfRange, "Subscript out of range");
    return parts[index];
}
} // namespace

VersionNumbers ReadVersion(const std::string& version)
{
    const std::vector<std::string> parts = SplitAtDots(version);
    VersionNumbers numbers{};
    numbers[0] = ToInteger(Part(parts, 0));
    numbers[1] = ToInteger(Part(parts, 1));
    if (parts.size() >= 3)
        numbers[2] = ToInteger(parts[2]);
    return numbers;
}

bool IsUpdatableVersion(const std::string& version)
{
    return ReadVersion(version) == UpdatableNumbers;
}

} // namespace flagwright
