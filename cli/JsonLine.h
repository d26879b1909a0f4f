#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace flagwright::cli {

// A JSON string (RFC 8259) of UTF-8 text, safe on any line and in any log: the quote, the
// backslash and every control character (C0, DEL, C1) escaped, U+2028 and U+2029 too; a byte
// that is not UTF-8 becomes U+FFFD, as JSON text is UTF-8.
std::string JsonString(std::string_view text);

// One JSON object, its members in the order they were added, written on one line.
class JsonObject {
public:
    JsonObject& Text(std::string_view key, std::string_view value);
    JsonObject& TextOrNull(std::string_view key, const std::optional<std::string>& value);
    JsonObject& Number(std::string_view key, std::int64_t value);
    JsonObject& Seconds(std::string_view key, double seconds); // to the millisecond
    JsonObject& Null(std::string_view key);
    JsonObject& Object(std::string_view key, const JsonObject& value);

    std::string Line() const { return "{" + members_ + "}"; }

private:
    JsonObject& Member(std::string_view key, const std::string& json);

    std::string members_;
};

} // namespace flagwright::cli
