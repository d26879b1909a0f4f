#include "SkipReason.h"

#include <cstdio>

namespace flagwright::cli {

namespace {
// The text with every control character's bytes as \xNN, so that a server's word can neither
// break the line that scripts read nor steer a terminal.
std::string ControlsEscaped(const std::string& text)
{
    std::string escaped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0U;
        // C0 and DEL are one byte; C1 (U+0080 to U+009F) is C2 80 to C2 9F in UTF-8.
        const std::size_t length = byte < 0x20 || byte == 0x7F
                                       ? 1
                                       : (byte == 0xC2 && next >= 0x80 && next <= 0x9F ? 2 : 0);
        if (length == 0) {
            escaped += text[i];
            continue;
        }
        for (std::size_t k = i; k < i + length; ++k) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(text[k]));
            escaped += hex;
        }
        i += length - 1;
    }
    return escaped;
}
} // namespace

std::optional<std::string> SkipReason(const DatabaseAvailability& availability)
{
    switch (availability.state) {
    case DatabaseAvailability::State::NoAccess:
        return "no access for this login";
    case DatabaseAvailability::State::NotOnline:
        return "not online (" + ControlsEscaped(availability.status) + ")";
    case DatabaseAvailability::State::MayOpen:
        break;
    }
    return std::nullopt;
}

} // namespace flagwright::cli
