#include "platform/TextForms.h"

#include "platform/Text.h"

#include <cstdio>

namespace flagwright {

namespace {
std::string Escape(const char* format, unsigned int value)
{
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Escaped(std::string_view text, bool json)
{
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        std::size_t length = Utf8SequenceLength(text, at);
        const std::string_view sequence = text.substr(at, length);
        if (const char16_t surrogate = json ? LoneSurrogateAt(text, at) : 0) {
            out += Escape("\\u%04x", surrogate);
            length = 3;
        } else if (byte == '\t' || byte == '\n' || byte == '\r') {
            out.append(1, '\\').append(1, byte == '\t' ? 't' : byte == '\n' ? 'n' : 'r');
        } else if (length == 0) {
            out += json ? "\\ufffd" : Escape("\\x%02X", byte);
        } else if (byte < 0x20 || byte == 0x7F) {
            out += Escape(json ? "\\u%04x" : "\\x%02X", byte);
        } else if (byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0) { // C1
            out += Escape(json ? "\\u%04x" : "\\u%04X", static_cast<unsigned char>(text[at + 1]));
        } else if (json && (byte == '"' || byte == '\\')) {
            out.append(1, '\\').append(1, static_cast<char>(byte));
        } else if (json && (sequence == "\xE2\x80\xA8" || sequence == "\xE2\x80\xA9")) {
            out += Escape("\\u%04x", sequence.back() == '\xA8' ? 0x2028 : 0x2029);
        } else {
            out += sequence;
        }
        at += length == 0 ? 1 : length;
    }
    return out;
}
} // namespace

std::string Displayed(std::string_view text) { return Escaped(text, false); }

std::string JsonString(std::string_view text) { return '"' + Escaped(text, true) + '"'; }

} // namespace flagwright
