#include "cli/JsonLine.h"

#include "platform/Text.h"

#include <cstdio>

namespace flagwright::cli {

namespace {
std::string Unicode(unsigned int codePoint)
{
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04x", codePoint);
    return text;
}

bool IsLineOrParagraphSeparator(std::string_view sequence)
{
    return sequence == "\xE2\x80\xA8" || sequence == "\xE2\x80\xA9";
}
} // namespace

std::string JsonString(std::string_view text)
{
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = Utf8SequenceLength(text, at);
        const std::string_view sequence = text.substr(at, length);
        if (const char16_t surrogate = LoneSurrogateAt(text, at)) {
            json += Unicode(surrogate); // JSON can carry a lone surrogate exactly
            at += 3;
            continue;
        }
        if (length == 0)
            json += "\\ufffd";
        else if (byte == '"' || byte == '\\')
            json.append(1, '\\').append(1, static_cast<char>(byte));
        else if (byte == '\n')
            json += "\\n";
        else if (byte == '\r')
            json += "\\r";
        else if (byte == '\t')
            json += "\\t";
        else if (byte < 0x20 || byte == 0x7F)
            json += Unicode(byte);
        else if (byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0) // U+0080..9F
            json += Unicode(static_cast<unsigned char>(text[at + 1]));
        else if (IsLineOrParagraphSeparator(sequence))
            json += Unicode(sequence.back() == '\xA8' ? 0x2028 : 0x2029);
        else
            json += sequence;
        at += length == 0 ? 1 : length;
    }
    return json + '"';
}

JsonObject& JsonObject::Member(std::string_view key, const std::string& json)
{
    if (!members_.empty())
        members_ += ", ";
    members_.append(JsonString(key)).append(": ").append(json);
    return *this;
}

JsonObject& JsonObject::Text(std::string_view key, std::string_view value)
{
    return Member(key, JsonString(value));
}

JsonObject& JsonObject::TextOrNull(std::string_view key, const std::optional<std::string>& value)
{
    return value ? Text(key, *value) : Null(key);
}

JsonObject& JsonObject::Number(std::string_view key, std::int64_t value)
{
    return Member(key, std::to_string(value));
}

JsonObject& JsonObject::Seconds(std::string_view key, double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return Member(key, text);
}

JsonObject& JsonObject::Null(std::string_view key) { return Member(key, "null"); }

JsonObject& JsonObject::Object(std::string_view key, const JsonObject& value)
{
    return Member(key, value.Line());
}

} // namespace flagwright::cli
