#include "cli/DisplayedText.h"

#include "platform/Text.h"

#include <cstdio>

namespace flagwright::cli {

namespace {
std::string Escaped(const char* format, unsigned int value)
{
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
} // namespace

std::string Displayed(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = Utf8SequenceLength(text, at);
        if (byte == '\t')
            shown += "\\t";
        else if (byte == '\n')
            shown += "\\n";
        else if (byte == '\r')
            shown += "\\r";
        else if (length == 0 || byte < 0x20 || byte == 0x7F)
            shown += Escaped("\\x%02X", byte);
        else if (byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0) // U+0080..9F
            shown += Escaped("\\u%04X", static_cast<unsigned char>(text[at + 1]));
        else
            shown.append(text, at, length);
        at += length == 0 ? 1 : length;
    }
    return shown;
}

} // namespace flagwright::cli
